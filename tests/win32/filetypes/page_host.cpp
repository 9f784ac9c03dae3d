#include "page_host.h"

#include "win/handles.h"

bool PageHost::open(SettingsPage& page, const char* title, int x, int y, bool quit_on_close) {
    page_ = &page;
    title_ = title;
    quit_on_close_ = quit_on_close;
    RECT r{0, 0, 279, 319};
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    AdjustWindowRectEx(&r, style, FALSE, 0);
    const win::WindowClass wc{"VlPageHost", 0, GetSysColorBrush(COLOR_BTNFACE), nullptr};
    if (!create_window(GetModuleHandleA(nullptr), wc, 0, "Page", style, x, y, r.right - r.left,
                       r.bottom - r.top, nullptr))
        return false;
    page.create(hwnd_);
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
    return true;
}

LRESULT PageHost::handle_message(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (page_ && page_->on_message(msg, wp, lp, result)) return result;
    switch (msg) {
        case WM_PAINT: {
            win::PaintDC dc(hwnd_);
            RECT bar{0, 0, 279, 20};
            win::fill_rect(dc, bar, RGB(40, 60, 200));
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, RGB(255, 255, 255));
            win::Selected font(dc, GetStockObject(DEFAULT_GUI_FONT));
            RECT text = bar;
            text.left += 6;
            DrawTextA(dc, title_, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
            return 0;
        }
        case WM_DESTROY:
            if (quit_on_close_) PostQuitMessage(0);
            return 0;
        default:
            return default_message(msg, wp, lp);
    }
}
