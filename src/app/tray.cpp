#include "app/tray.h"

Command tray_command(unsigned message, unsigned mouse_event) {
    constexpr unsigned kLeftUp = 0x0202, kRightUp = 0x0205;
    if (mouse_event == kRightUp)
        return message == 1791 || message == 1798 ? Command::ListMenu : Command::None;
    if (mouse_event != kLeftUp) return Command::None;
    switch (message) {
        case 1791:
            return Command::Previous;
        case 1793:
            return Command::Play;
        case 1794:
            return Command::Pause;
        case 1795:
            return Command::Stop;
        case 1796:
            return Command::Open;
        case 1798:
            return Command::Next;
        default:
            return Command::None;
    }
}
