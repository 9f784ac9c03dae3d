// The notification-area icons of the main window and what their mouse events do.
#pragma once

#include <array>

#include "base/commands.h"

struct TrayIconSpec {
    unsigned id;       // the icon's identifier, also its icon resource
    unsigned message;  // the callback message sent to the main window
    const char* tip;
};

// 100: the application; 101..108: Previous, Rewind, Play, Pause, Stop, Open,
// Forward, Next, in the order of the show_tray_* settings.
inline constexpr std::array<TrayIconSpec, 9> kTrayIcons = {{{100, 1790, "Veltrona"},
                                                            {101, 1791, "Previous"},
                                                            {102, 1792, "Rewind"},
                                                            {103, 1793, "Playback"},
                                                            {104, 1794, "Pause"},
                                                            {105, 1795, "Stop"},
                                                            {106, 1796, "Open"},
                                                            {107, 1797, "Forward"},
                                                            {108, 1798, "Next"}}};

inline bool is_tray_message(unsigned msg) {
    return msg >= kTrayIcons.front().message && msg <= kTrayIcons.back().message;
}

// The command of a mouse event (its window message number) on a tray icon;
// None for the icons and events that have no action.
Command tray_command(unsigned message, unsigned mouse_event);
