// The main window's notification-area icons: added from the settings at
// start-up, again when the task bar is recreated, removed at shutdown; their
// mouse events run commands.
#include "app/plaer_unit.h"
#include "app/tray.h"
// after <windows.h>
#include <shellapi.h>

namespace {

// The record as the system's first version knows it: 88 bytes in the ANSI
// layout, with a tooltip of at most 64 bytes.
NOTIFYICONDATAA tray_record(HWND owner, const TrayIconSpec& spec) {
    NOTIFYICONDATAA nid{};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = owner;
    nid.uID = spec.id;
    return nid;
}

}  // namespace

// `add_tray_main` (index 0) and `add_tray_prev` .. `add_tray_next` (1..8).
void TQELAmp_Player::add_tray(size_t index) {
    const TrayIconSpec& spec = kTrayIcons[index];
    if (!tray_icons_[index])
        tray_icons_[index].reset(static_cast<HICON>(
            LoadImageA(instance_, MAKEINTRESOURCEA(index == 0 ? 1 : spec.id), IMAGE_ICON,
                       GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
    NOTIFYICONDATAA nid = tray_record(hwnd_, spec);
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = spec.message;
    nid.hIcon = tray_icons_[index].get();
    lstrcpynA(nid.szTip, spec.tip, 64);
    tray_shown_[index] = Shell_NotifyIconA(NIM_ADD, &nid) != FALSE;  // an existing one fails
}

void TQELAmp_Player::remove_trays() {
    for (size_t i = 0; i < kTrayIcons.size(); ++i) {
        NOTIFYICONDATAA nid = tray_record(hwnd_, kTrayIcons[i]);
        Shell_NotifyIconA(NIM_DELETE, &nid);
        tray_shown_[i] = false;
    }
}

void TQELAmp_Player::remove_tray(size_t index) {
    NOTIFYICONDATAA nid = tray_record(hwnd_, kTrayIcons[index]);
    Shell_NotifyIconA(NIM_DELETE, &nid);
    tray_shown_[index] = false;
}

// Icon 100 always, the button icons as the settings say.
void TQELAmp_Player::add_trays() {
    add_tray(0);
    for (size_t i = 0; i < settings_.show_tray.size(); ++i)
        if (settings_.show_tray[i]) add_tray(i + 1);
}

void TQELAmp_Player::tray_message(UINT msg, LPARAM lp) {
    const Command c = tray_command(msg, static_cast<unsigned>(LOWORD(lp)));
    if (c == Command::None) return;
    POINT at;
    GetCursorPos(&at);
    run_command(c, at);
}
