// A popup menu that owns its handle and its own submenus; a borrowed
// submenu (one that outlives the popup) is detached before destruction.
#pragma once

#include <windows.h>

#include <vector>

namespace win {

class PopupMenu {
  public:
    PopupMenu() : menu_(CreatePopupMenu()) {}
    PopupMenu(PopupMenu&& other) noexcept;
    PopupMenu& operator=(PopupMenu&& other) noexcept;
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;
    ~PopupMenu();

    HMENU get() const { return menu_; }
    int count() const { return menu_ ? GetMenuItemCount(menu_) : 0; }

    bool add(UINT id, const char* text, UINT flags = 0);
    void separator();
    // The submenu becomes part of this one (greyed when it is empty).
    void add_popup(PopupMenu sub, const char* text);
    // The submenu stays its owner's; it is detached again when this one goes.
    void add_borrowed(HMENU sub, const char* text);
    void check_radio(UINT first, UINT last, UINT checked);
    // Shows the menu at a screen point for owner, which receives WM_COMMAND.
    void track(HWND owner, POINT at, UINT flags) const;

  private:
    void destroy();
    HMENU menu_ = nullptr;
    std::vector<HMENU> borrowed_;
};

}  // namespace win
