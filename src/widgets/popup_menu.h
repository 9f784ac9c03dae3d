// The skinned popup menu: a title band, a drop shadow, separators, submenus,
// radio and check marks, hidden and disabled items and an opening animation.
// It is a window of its own that never takes activation, so the window that
// opened it stays active; while it is open its loop keeps the program's idle
// work running.
#pragma once

#include <windows.h>

#include <functional>

#include "widgets/menu_model.h"

namespace widgets {

struct MenuOptions {
    MenuColours colours;
    MenuAnimation animation = MenuAnimation::System;
    // The program's idle work while the menu waits for input: returns the
    // milliseconds until it wants to run again, or -1 to wait for a message.
    std::function<int()> idle;
};

// Shows the menu at a screen point for owner until an item is chosen or the
// menu is dismissed (Escape, a click elsewhere, the owner going away).
// Returns the chosen item, or nullptr. A menu asked for while another is
// open is not shown.
const MenuItem* track_menu(HWND owner, POINT at, const MenuModel& menu, const MenuOptions& options);

// True while a menu is open (for tests and for windows that must not start
// another modal loop meanwhile).
bool menu_is_open();

}  // namespace widgets
