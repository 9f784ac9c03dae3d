#include "playlist/chostpl_unit.h"

#include "playlist/dialog_controls.h"
#include "win/files.h"

namespace {

enum : int { kList = 100, kName, kOk = IDOK, kCancel = IDCANCEL };

}  // namespace

bool Tqel_lsttpl::create(HINSTANCE instance, const std::string& program_folder, Export on_ok) {
    program_folder_ = program_folder;
    on_ok_ = std::move(on_ok);
    const win::WindowClass wc{kClassName, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr};
    if (!create_window(instance, wc, WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW,
                       "Choose list tampelate", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 246, 262,
                       nullptr))
        return false;
    using dialog_controls::add;
    add(hwnd_, "STATIC", "Choose Tampelate", 0, -1, 10, 8, 220, 16);
    list_ = add(hwnd_, "LISTBOX", "", WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY, kList, 10, 26, 220, 120,
                WS_EX_CLIENTEDGE);
    add(hwnd_, "STATIC", "List name", 0, -1, 10, 152, 220, 16);
    lstnm_ = add(hwnd_, "EDIT", "My Playlist", ES_AUTOHSCROLL | WS_TABSTOP, kName, 10, 170, 220, 22,
                 WS_EX_CLIENTEDGE);
    add(hwnd_, "BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, kOk, 70, 202, 75, 24);
    add(hwnd_, "BUTTON", "Cancel", WS_TABSTOP, kCancel, 155, 202, 75, 24);
    return true;
}

void Tqel_lsttpl::FormShow(HWND owner) {
    dialog_controls::show_centred(hwnd_, owner);
}

// Every showing lists the templates afresh.
void Tqel_lsttpl::fill() {
    SendMessageA(list_, LB_RESETCONTENT, 0, 0);
    for (const std::string& name : find_file_names(program_folder_ + "tpl\\*.tpl"))
        SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
}

void Tqel_lsttpl::okClick() {
    const LRESULT sel = SendMessageA(list_, LB_GETCURSEL, 0, 0);
    if (sel == LB_ERR) {
        MessageBoxA(hwnd_, "U must choose tampelate!", "Error",
                    MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
        return;
    }
    char name[MAX_PATH] = {};
    if (SendMessageA(list_, LB_GETTEXTLEN, static_cast<WPARAM>(sel), 0) < MAX_PATH)
        SendMessageA(list_, LB_GETTEXT, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(name));
    ShowWindow(hwnd_, SW_HIDE);
    if (on_ok_) on_ok_(program_folder_ + "tpl\\" + name, dialog_controls::text_of(lstnm_));
}

LRESULT Tqel_lsttpl::handle_message(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            if (LOWORD(wp) == kOk) okClick();
            if (LOWORD(wp) == kCancel) ShowWindow(hwnd_, SW_HIDE);
            if (LOWORD(wp) == kList && HIWORD(wp) == LBN_DBLCLK) okClick();
            return 0;
        case WM_SHOWWINDOW:
            if (wp) fill();
            return default_message(msg, wp, lp);
        case WM_CLOSE:
            ShowWindow(hwnd_, SW_HIDE);
            return 0;
        default:
            return default_message(msg, wp, lp);
    }
}
