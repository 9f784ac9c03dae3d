// Program entry: creates the windows in their fixed order and runs the message loop.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

#include "base/paths.h"
#include "app/plaer_unit.h"
#include "win/files.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // A bad plugin DLL must not stop the program with a system dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    InitCommonControls();

    // Plugin loading makes the codecs folder current, so a relative path on
    // the command line is resolved against the start folder first.
    std::string arg = __argc > 1 ? resolve_path(current_folder(), __argv[1]) : std::string();

    TQELAmp_Player player(instance, arg);
    if (!player.create()) return 1;
    if (!player.create_playlist()) return 1;
    if (!player.create_settings()) return 1;
    if (!player.create_file_info()) return 1;
    player.show();

    // The meter timer runs from idle processing: tick when due, then sleep.
    MSG msg;
    for (;;) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        const int sleep_ms = player.idle();
        if (sleep_ms < 0)
            WaitMessage();
        else
            Sleep(static_cast<DWORD>(sleep_ms));
    }
}
