#include "widgets/tab_set.h"

#include <commctrl.h>

#include "win/handles.h"

namespace widgets {

bool TabSet::create(HINSTANCE instance, HWND parent) {
    const win::WindowClass wc{kClassName, CS_HREDRAW | CS_VREDRAW, nullptr, nullptr};
    return create_window(instance, wc, 0, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 100,
                         kHeight, parent);
}

void TabSet::set_tabs(const std::vector<std::string>& names, int selected) {
    names_ = names;
    selected_ = selected;
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void TabSet::set_colours(const TabColours& c) {
    colours_ = c;
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void TabSet::pick(int k) {
    if (k < 0 || k >= static_cast<int>(names_.size())) return;
    selected_ = k;
    InvalidateRect(hwnd_, nullptr, FALSE);
    if (on_change) on_change(k);
}

// Tabs hang from the top edge, as under a list: the selected one is a little taller.
void TabSet::layout(HDC dc) {
    rects_.clear();
    int x = 2;
    for (const std::string& n : names_) {
        SIZE s{};
        GetTextExtentPoint32A(dc, n.c_str(), static_cast<int>(n.size()), &s);
        rects_.push_back(RECT{x, 0, x + s.cx + 14, kHeight - 3});
        x += s.cx + 16;
    }
}

void TabSet::paint(HDC dc) {
    RECT client;
    GetClientRect(hwnd_, &client);
    // Drawn off screen in one go so switching tabs does not flicker.
    win::MemoryDC mem(CreateCompatibleDC(dc));
    win::Bitmap bmp(CreateCompatibleBitmap(dc, client.right, client.bottom));
    win::Selected keep_bmp(mem.get(), bmp.get());
    win::Selected keep_font(mem.get(), GetStockObject(DEFAULT_GUI_FONT));
    win::fill_rect(mem.get(), client, colours_.back);
    layout(mem.get());
    SetBkMode(mem.get(), TRANSPARENT);
    SetTextColor(mem.get(), colours_.font);
    for (size_t i = 0; i < rects_.size(); ++i) {
        RECT r = rects_[i];
        const bool sel = static_cast<int>(i) == selected_;
        if (sel) r.bottom += 2;
        win::fill_rect(mem.get(), r, sel ? colours_.selected : colours_.unselected);
        FrameRect(mem.get(), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        DrawTextA(mem.get(), names_[i].c_str(), static_cast<int>(names_[i].size()), &r,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    BitBlt(dc, 0, 0, client.right, client.bottom, mem.get(), 0, 0, SRCCOPY);
}

LRESULT TabSet::handle_message(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT: {
            win::PaintDC dc(hwnd_);
            paint(dc);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDOWN: {
            const POINT p = win::point_of(lp);
            for (size_t i = 0; i < rects_.size(); ++i)
                if (PtInRect(&rects_[i], p)) pick(static_cast<int>(i));
            return 0;
        }
        case TCM_GETITEMCOUNT:
            return static_cast<LRESULT>(names_.size());
        case TCM_GETCURSEL:
            return selected_;
        case TCM_SETCURFOCUS:
            pick(static_cast<int>(wp));
            return 0;
        default:
            return default_message(msg, wp, lp);
    }
}

}  // namespace widgets
