#include "win/last_chance.h"

#include <cstring>

namespace last_chance {
namespace {

HWND g_window = nullptr;
UINT g_message = 0;
Emergency g_emergency = nullptr;
DWORD g_main_thread = 0;
HANDLE g_taken = nullptr;  // set when the window has taken a handed-over fault
volatile LONG g_entered = 0;
volatile LONG g_limit_ms = 10000;
volatile LONG g_armed = 0;
char g_module[MAX_PATH] = {};
char g_watched[MAX_PATH] = {};

[[noreturn]] void park() {
    for (;;) Sleep(INFINITE);
}

[[noreturn]] void end_process(Reason reason, const char* module) {
    if (g_emergency) g_emergency(reason, module);
    TerminateProcess(GetCurrentProcess(), reason == Reason::Hang ? 4 : 3);
    park();
}

LONG WINAPI filter(EXCEPTION_POINTERS* ep) {
    // One fault is handled; a later one on another thread waits for the end.
    if (InterlockedExchange(&g_entered, 1) != 0) park();
    module_name_at(ep->ExceptionRecord->ExceptionAddress, g_module, sizeof g_module);
    if (GetCurrentThreadId() != g_main_thread && g_window && IsWindow(g_window) &&
        PostMessageA(g_window, g_message, 0, 0) &&
        WaitForSingleObject(g_taken, 3000) == WAIT_OBJECT_0)
        park();  // the main thread closes the player; this thread never runs again
    end_process(Reason::Fault, g_module);
}

VOID CALLBACK watch_expired(PVOID, BOOLEAN) {
    if (!g_armed) return;  // the call returned just now
    if (InterlockedExchange(&g_entered, 1) != 0) park();
    end_process(Reason::Hang, g_watched);
}

}  // namespace

void install(HWND window, UINT message, Emergency emergency) {
    g_window = window;
    g_message = message;
    g_emergency = emergency;
    g_main_thread = GetCurrentThreadId();
    if (!g_taken) g_taken = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    SetUnhandledExceptionFilter(filter);
}

const char* taken() {
    if (g_taken) SetEvent(g_taken);
    return g_module;
}

void set_watch_limit(DWORD ms) {
    InterlockedExchange(&g_limit_ms, static_cast<LONG>(ms));
}

Watch::Watch(const char* module) {
    if (!g_emergency) return;
    lstrcpynA(g_watched, module, sizeof g_watched);
    InterlockedExchange(&g_armed, 1);
    if (!CreateTimerQueueTimer(&timer_, nullptr, watch_expired, nullptr,
                               static_cast<DWORD>(g_limit_ms), 0, WT_EXECUTEONLYONCE))
        timer_ = nullptr;
}

Watch::~Watch() {
    InterlockedExchange(&g_armed, 0);
    // Waits for a callback already running; that one ends the process.
    if (timer_) DeleteTimerQueueTimer(nullptr, timer_, INVALID_HANDLE_VALUE);
}

void module_name_at(const void* address, char* out, size_t size) {
    if (!size) return;
    out[0] = 0;
    HMODULE m = nullptr;
    char path[MAX_PATH] = {};
    if (!GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            static_cast<LPCSTR>(address), &m) ||
        !GetModuleFileNameA(m, path, MAX_PATH))
        return;
    const char* name = std::strrchr(path, '\\');
    lstrcpynA(out, name ? name + 1 : path, static_cast<int>(size));
}

}  // namespace last_chance
