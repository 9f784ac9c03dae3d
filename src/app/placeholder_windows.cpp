#include "app/placeholder_windows.h"

HWND create_placeholder_window(HINSTANCE instance, const char* class_name, const char* caption) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = class_name;
    RegisterClassA(&wc);
    return CreateWindowExA(WS_EX_TOOLWINDOW, class_name, caption, WS_POPUP, 0, 0, 100, 100, nullptr,
                           nullptr, instance, nullptr);
}
