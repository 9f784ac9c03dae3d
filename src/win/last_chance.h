// The last line of defence against plugins: faults no guard contained (on a
// thread a plugin started itself) and calls that never return.
//
// A fault on another thread is handed to the main window as a message while
// the faulting thread waits; the window closes the player in order. When the
// window does not take it over within a few seconds (its own thread is stuck),
// or the fault is on the main thread, the emergency routine runs where it is
// and the process ends. A watched call that outlives its limit runs the
// emergency routine from a pool thread and ends the process too.
#pragma once

#include <windows.h>

namespace last_chance {

enum class Reason { Fault, Hang };

// Saves what the user would lose and tells the user; called at most once,
// from any thread. module: the file name of the module at fault, or "".
using Emergency = void (*)(Reason reason, const char* module);

// Installs the process's unhandled-exception filter.
void install(HWND window, UINT message, Emergency emergency);
// The window calls this when it handles the message; module: the fault's module.
const char* taken();

// Watches the calling thread while it is inside one call into module.
class Watch {
  public:
    explicit Watch(const char* module);
    ~Watch();
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;

  private:
    HANDLE timer_ = nullptr;
};

// How long a watched call may take; shorter while the player closes.
void set_watch_limit(DWORD ms);

// The file name (no folder) of the module holding the address, or "".
void module_name_at(const void* address, char* out, size_t size);

}  // namespace last_chance
