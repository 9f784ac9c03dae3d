// The base of every window class of the program: registers the window class
// once, routes the window's messages to handle_message and forgets the
// handle when the system destroys the window.
#pragma once

#include <windows.h>

namespace win {

struct WindowClass {
    const char* name = nullptr;
    UINT style = 0;
    HBRUSH background = nullptr;  // nullptr: the window paints everything
    HICON icon = nullptr;
};

// Registers a class whose messages go to DefWindowProcA (windows without a
// class of their own); true also when it was registered before.
bool register_plain_class(HINSTANCE instance, const WindowClass& wc);

class Window {
  public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND handle() const { return hwnd_; }

  protected:
    // Registers the class on first use and creates the window; WM_NCCREATE and
    // everything after it already reach handle_message.
    bool create_window(HINSTANCE instance, const WindowClass& wc, DWORD ex_style,
                       const char* caption, DWORD style, int x, int y, int width, int height,
                       HWND owner);
    virtual LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp) = 0;
    LRESULT default_message(UINT msg, WPARAM wp, LPARAM lp) {
        return DefWindowProcA(hwnd_, msg, wp, lp);
    }

    HWND hwnd_ = nullptr;

  private:
    static LRESULT CALLBACK thunk(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
};

// Coordinates packed into a mouse message's LPARAM, signed.
inline POINT point_of(LPARAM lp) {
    return POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
}

}  // namespace win
