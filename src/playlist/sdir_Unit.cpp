#include "playlist/sdir_Unit.h"

#include <commctrl.h>
#include <shlobj.h>

#include "base/paths.h"
#include "playlist/dialog_controls.h"
#include "win/files.h"

namespace {

enum : int { kFolder = 100, kBrowse, kSubfolders, kFilter, kOk = IDOK, kCancel = IDCANCEL };

}  // namespace

bool Tselect_dir::create(HINSTANCE instance, Add on_ok) {
    on_ok_ = std::move(on_ok);
    const win::WindowClass wc{kClassName, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr};
    if (!create_window(instance, wc, WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW, "Select folder",
                       WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 330, 196, nullptr))
        return false;
    using dialog_controls::add;
    add(hwnd_, "STATIC", "Selected folder", 0, -1, 10, 8, 200, 16);
    dir_dired_ =
        add(hwnd_, "COMBOBOX", "", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP,
            kFolder, 10, 26, 270, 160);
    HWND browse = add(hwnd_, "BUTTON", "...", WS_TABSTOP, kBrowse, 286, 25, 26, 23);
    inc_cb_ = add(hwnd_, "BUTTON", "Include subfolders", BS_AUTOCHECKBOX | WS_TABSTOP, kSubfolders,
                  10, 56, 200, 20);
    add(hwnd_, "STATIC", "File filter", 0, -1, 10, 82, 200, 16);
    dir_filter_ = add(hwnd_, "EDIT", "*.*", ES_AUTOHSCROLL | WS_TABSTOP, kFilter, 10, 100, 120, 22,
                      WS_EX_CLIENTEDGE);
    add(hwnd_, "BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, kOk, 156, 134, 75, 24);
    add(hwnd_, "BUTTON", "Cancel", WS_TABSTOP, kCancel, 237, 134, 75, 24);
    // The browse button's hint.
    tip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0,
                           0, 0, hwnd_, nullptr, instance, nullptr);
    if (tip_) {
        TTTOOLINFOA ti{};
        ti.cbSize = TTTOOLINFOA_V1_SIZE;
        ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        ti.hwnd = hwnd_;
        ti.uId = reinterpret_cast<UINT_PTR>(browse);
        ti.lpszText = const_cast<char*>("Open folder");
        SendMessageA(tip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    }
    return true;
}

void Tselect_dir::FormShow(HWND owner, const std::string& folder) {
    if (!folder.empty()) SetWindowTextA(dir_dired_, folder.c_str());
    dialog_controls::show_centred(hwnd_, owner);
}

void Tselect_dir::BrowseForFolder() {
    PIDLIST_ABSOLUTE root = nullptr;
    const HRESULT hr = SHGetSpecialFolderLocation(hwnd_, CSIDL_DESKTOP, &root);
    if (FAILED(hr)) {
        const std::string text = "Error#" + std::to_string(static_cast<long>(hr));
        MessageBoxA(hwnd_, text.c_str(), "SHGetSpecialFolderLocation ", MB_OK);
        MessageBoxA(nullptr, text.c_str(), "SHGetSpecialFolderLocation ", MB_OK);
        return;
    }
    char name[MAX_PATH] = {};
    BROWSEINFOA bi{};
    bi.hwndOwner = hwnd_;
    bi.pidlRoot = root;
    bi.pszDisplayName = name;
    bi.lpszTitle = "Select directory";
    bi.ulFlags = BIF_RETURNONLYFSDIRS;
    if (PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&bi)) {
        char path[MAX_PATH] = {};
        if (SHGetPathFromIDListA(chosen, path) && path[0])
            SetWindowTextA(dir_dired_, with_backslash(path).c_str());
        CoTaskMemFree(chosen);
    }
    CoTaskMemFree(root);
}

void Tselect_dir::okClick() {
    const std::string folder = dialog_controls::text_of(dir_dired_);
    // The drop-down collects the folders confirmed in this run, once each.
    if (!folder.empty() && SendMessageA(dir_dired_, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(folder.c_str())) == CB_ERR)
        SendMessageA(dir_dired_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(folder.c_str()));
    ShowWindow(hwnd_, SW_HIDE);
    if (folder.empty() || !DirectoryExists(folder)) {
        MessageBoxA(nullptr, "Directory doesn't exist", "Error",
                    MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
        return;
    }
    if (on_ok_)
        on_ok_(folder, dialog_controls::text_of(dir_filter_),
               SendMessageA(inc_cb_, BM_GETCHECK, 0, 0) == BST_CHECKED);
}

LRESULT Tselect_dir::handle_message(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            if (LOWORD(wp) == kOk) okClick();
            if (LOWORD(wp) == kCancel) ShowWindow(hwnd_, SW_HIDE);
            if (LOWORD(wp) == kBrowse) BrowseForFolder();
            return 0;
        case WM_CLOSE:
            ShowWindow(hwnd_, SW_HIDE);
            return 0;
        default:
            return default_message(msg, wp, lp);
    }
}
