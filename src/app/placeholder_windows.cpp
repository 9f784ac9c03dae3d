#include "app/placeholder_windows.h"

#include "win/window.h"

HWND create_placeholder_window(HINSTANCE instance, const char* class_name, const char* caption) {
    const win::WindowClass wc{class_name, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr};
    if (!win::register_plain_class(instance, wc)) return nullptr;
    return CreateWindowExA(WS_EX_TOOLWINDOW, class_name, caption, WS_POPUP, 0, 0, 100, 100, nullptr,
                           nullptr, instance, nullptr);
}
