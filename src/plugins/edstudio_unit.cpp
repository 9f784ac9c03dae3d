#include "plugins/edstudio_unit.h"
// after <windows.h>
#include <commctrl.h>

#include "base/paths.h"
#include "win/files.h"
#include "win/input_box.h"

namespace {

enum : WORD { kName = 101, kExe, kParams, kBrowse };

std::string item_text(HWND dlg, int id) {
    HWND h = GetDlgItem(dlg, id);
    std::string s(static_cast<size_t>(GetWindowTextLengthA(h)) + 1, '\0');
    s.resize(static_cast<size_t>(GetWindowTextA(h, s.data(), static_cast<int>(s.size()))));
    return s;
}

}  // namespace

bool Ted_studio::show_modal(HWND owner, int index) {
    if (index >= studios_.StudioCount()) return false;
    index_ = index;
    win::DialogTemplate t("Add/Edit Studio", WS_POPUP | WS_CAPTION | WS_SYSMENU, 220, 110);
    t.item(0xFFFF, 0x0082, "Studio name", SS_LEFT, 6, 6, 200, 9);
    t.item(kName, 0x0081, "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 6, 16, 208, 12);
    t.item(0xFFFF, 0x0082, "Studio EXE", SS_LEFT, 6, 32, 200, 9);
    t.item(kExe, 0x0081, "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 6, 42, 190, 12);
    t.item(kBrowse, 0x0080, "...", WS_TABSTOP | BS_PUSHBUTTON, 198, 42, 16, 12);
    t.item(0xFFFF, 0x0082, "Startup params", SS_LEFT, 6, 58, 200, 9);
    t.item(kParams, 0x0081, "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 6, 68, 208, 12);
    t.item(IDOK, 0x0080, "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 108, 90, 50, 14);
    t.item(IDCANCEL, 0x0080, "Cancel", WS_TABSTOP | BS_PUSHBUTTON, 164, 90, 50, 14);
    return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), t.get(), owner, dialog_proc,
                                   reinterpret_cast<LPARAM>(this)) == IDOK;
}

INT_PTR CALLBACK Ted_studio::dialog_proc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) SetWindowLongPtrA(dlg, DWLP_USER, lp);
    auto* self = reinterpret_cast<Ted_studio*>(GetWindowLongPtrA(dlg, DWLP_USER));
    return self ? self->message(dlg, msg, wp) : FALSE;
}

INT_PTR Ted_studio::message(HWND dlg, UINT msg, WPARAM wp) {
    switch (msg) {
        case WM_INITDIALOG: {
            if (index_ >= 0) {
                const size_t i = static_cast<size_t>(index_);
                SetDlgItemTextA(dlg, kName, studios_.Names[i].c_str());
                SetDlgItemTextA(dlg, kExe, studios_.Programs[i].c_str());
                SetDlgItemTextA(dlg, kParams, studios_.Params[i].c_str());
            }
            HWND tips =
                CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                0, 0, 0, 0, dlg, nullptr, nullptr, nullptr);
            TOOLINFOA ti{};
            ti.cbSize = sizeof ti;
            ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            ti.hwnd = dlg;
            ti.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dlg, kBrowse));
            ti.lpszText = const_cast<char*>("Open Executable file");
            if (tips) SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
            return TRUE;
        }
        case WM_COMMAND:
            switch (LOWORD(wp)) {
                case kBrowse:
                    browse(dlg);
                    return TRUE;
                case IDOK:
                    if (ok(dlg)) EndDialog(dlg, IDOK);
                    return TRUE;
                case IDCANCEL:
                    EndDialog(dlg, IDCANCEL);
                    return TRUE;
                default:
                    break;
            }
            break;
        default:
            break;
    }
    return FALSE;
}

void Ted_studio::browse(HWND dlg) {
    static const char kFilter[] = "Programs\0*.exe\0*.bat\0*.com\0";
    const std::string current = item_text(dlg, kExe);
    std::string chosen;
    if (choose_open_file(dlg, "Open Program", std::string(kFilter, sizeof kFilter - 1), "",
                         current.empty() ? std::string() : folder_of(current), chosen))
        SetDlgItemTextA(dlg, kExe, chosen.c_str());
}

bool Ted_studio::ok(HWND dlg) {
    const std::string name = item_text(dlg, kName);
    const std::string program = item_text(dlg, kExe);
    const std::string params = item_text(dlg, kParams);
    const std::string error = studio_input_error(name, program, FileExists(program));
    if (!error.empty()) {
        MessageBoxA(dlg, error.c_str(), "Add/Edit Studio", MB_OK | MB_ICONWARNING);
        return false;
    }
    if (index_ < 0)
        studios_.AddStudio(name, program, params);
    else
        studios_.EditStudio(index_, name, program, params);
    return true;
}
