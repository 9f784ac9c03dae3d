#include "win/menu.h"

#include <utility>

namespace win {

namespace {

// Removes sub wherever it hangs in menu's tree, without destroying it.
void detach(HMENU menu, HMENU sub) {
    for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) {
        HMENU item = GetSubMenu(menu, i);
        if (item == sub)
            RemoveMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);
        else if (item)
            detach(item, sub);
    }
}

}  // namespace

PopupMenu::PopupMenu(PopupMenu&& other) noexcept
    : menu_(std::exchange(other.menu_, nullptr)), borrowed_(std::move(other.borrowed_)) {}

PopupMenu& PopupMenu::operator=(PopupMenu&& other) noexcept {
    if (this != &other) {
        destroy();
        menu_ = std::exchange(other.menu_, nullptr);
        borrowed_ = std::move(other.borrowed_);
    }
    return *this;
}

PopupMenu::~PopupMenu() {
    destroy();
}

void PopupMenu::destroy() {
    if (!menu_) return;
    for (HMENU sub : borrowed_) detach(menu_, sub);
    borrowed_.clear();
    DestroyMenu(menu_);  // and the submenus it owns
    menu_ = nullptr;
}

bool PopupMenu::add(UINT id, const char* text, UINT flags) {
    return AppendMenuA(menu_, MF_STRING | flags, id, text) != FALSE;
}

void PopupMenu::separator() {
    AppendMenuA(menu_, MF_SEPARATOR, 0, nullptr);
}

void PopupMenu::add_popup(PopupMenu sub, const char* text) {
    const UINT grey = sub.count() > 0 ? 0 : MF_GRAYED;
    HMENU handle = sub.menu_;
    if (AppendMenuA(menu_, MF_POPUP | grey, reinterpret_cast<UINT_PTR>(handle), text)) {
        sub.menu_ = nullptr;  // destroyed with this menu
        borrowed_.insert(borrowed_.end(), sub.borrowed_.begin(), sub.borrowed_.end());
        sub.borrowed_.clear();
    }
}

void PopupMenu::add_borrowed(HMENU sub, const char* text) {
    const UINT grey = sub && GetMenuItemCount(sub) > 0 ? 0 : MF_GRAYED;
    if (AppendMenuA(menu_, MF_POPUP | grey, reinterpret_cast<UINT_PTR>(sub), text))
        borrowed_.push_back(sub);
}

void PopupMenu::check_radio(UINT first, UINT last, UINT checked) {
    CheckMenuRadioItem(menu_, first, last, checked, MF_BYCOMMAND);
}

void PopupMenu::track(HWND owner, POINT at, UINT flags) const {
    // The owner comes to the front so that a click elsewhere closes the menu.
    SetForegroundWindow(owner);
    TrackPopupMenu(menu_, flags, at.x, at.y, 0, owner, nullptr);
    PostMessageA(owner, WM_NULL, 0, 0);
}

}  // namespace win
