// Controls of the playlist's small dialogs, in the dialog font.
#pragma once

#include <windows.h>

#include <string>

namespace dialog_controls {

inline HWND add(HWND parent, const char* cls, const char* text, DWORD style, int id, int x, int y,
                int w, int h, DWORD ex_style = 0) {
    HWND c = CreateWindowExA(ex_style, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)),
                             nullptr);
    SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    return c;
}

inline std::string text_of(HWND control) {
    char buf[MAX_PATH * 2] = {};
    GetWindowTextA(control, buf, sizeof buf);
    return buf;
}

// Placed over the owner's centre and shown without taking the other windows' input.
inline void show_centred(HWND dialog, HWND owner) {
    RECT d, o;
    GetWindowRect(dialog, &d);
    if (!owner || !GetWindowRect(owner, &o)) SystemParametersInfoA(SPI_GETWORKAREA, 0, &o, 0);
    const int w = d.right - d.left, h = d.bottom - d.top;
    SetWindowPos(dialog, HWND_TOP, (o.left + o.right - w) / 2, (o.top + o.bottom - h) / 2, 0, 0,
                 SWP_NOSIZE);
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
}

}  // namespace dialog_controls
