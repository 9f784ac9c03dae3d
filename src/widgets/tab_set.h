// The tab set: a row of named tabs painted in the skin's tab colours; a click
// selects a tab and tells the owner. Answers TCM_GETITEMCOUNT, TCM_GETCURSEL
// and TCM_SETCURFOCUS (select as a click does) like the system's tab control.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "win/window.h"

namespace widgets {

struct TabColours {
    COLORREF back = RGB(128, 128, 128);
    COLORREF selected = RGB(0, 0, 0xA0);
    COLORREF unselected = RGB(128, 128, 128);
    COLORREF font = RGB(192, 192, 192);
};

class TabSet : public win::Window {
  public:
    static constexpr const char* kClassName = "VlTabSet";
    static constexpr int kHeight = 20;

    bool create(HINSTANCE instance, HWND parent);
    void set_tabs(const std::vector<std::string>& names, int selected);
    void set_colours(const TabColours& c);
    // The user picked tab k (not called for set_tabs).
    std::function<void(int)> on_change;

  private:
    LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp) override;
    void paint(HDC dc);
    void layout(HDC dc);
    void pick(int k);

    std::vector<std::string> names_;
    std::vector<RECT> rects_;
    int selected_ = -1;
    TabColours colours_;
};

}  // namespace widgets
