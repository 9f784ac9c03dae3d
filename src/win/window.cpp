#include "win/window.h"

namespace win {

namespace {

bool register_class(HINSTANCE instance, const WindowClass& wc, WNDPROC proc) {
    WNDCLASSA c{};
    if (GetClassInfoA(instance, wc.name, &c)) return true;
    c.style = wc.style;
    c.lpfnWndProc = proc;
    c.hInstance = instance;
    c.hCursor = LoadCursor(nullptr, IDC_ARROW);
    c.hIcon = wc.icon;
    c.hbrBackground = wc.background;
    c.lpszClassName = wc.name;
    return RegisterClassA(&c) != 0;
}

}  // namespace

bool register_plain_class(HINSTANCE instance, const WindowClass& wc) {
    return register_class(instance, wc, DefWindowProcA);
}

Window::~Window() {
    if (hwnd_) {
        // The object is going: its messages must not reach it any more.
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool Window::create_window(HINSTANCE instance, const WindowClass& wc, DWORD ex_style,
                           const char* caption, DWORD style, int x, int y, int width, int height,
                           HWND owner) {
    if (!register_class(instance, wc, thunk)) return false;
    CreateWindowExA(ex_style, wc.name, caption, style, x, y, width, height, owner, nullptr,
                    instance, this);
    return hwnd_ != nullptr;
}

LRESULT CALLBACK Window::thunk(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
    const LRESULT result = self->handle_message(msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

}  // namespace win
