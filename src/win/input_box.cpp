#include "win/input_box.h"

namespace win {

DialogTemplate::DialogTemplate(const char* caption, DWORD style, short w, short h) {
    data_.resize(sizeof(DLGTEMPLATE) / sizeof(WORD));
    auto* t = reinterpret_cast<DLGTEMPLATE*>(data_.data());
    t->style = style | DS_SETFONT | DS_MODALFRAME | DS_CENTER;
    t->cx = w;
    t->cy = h;
    word(0);  // no menu
    word(0);  // the standard class
    text(caption);
    word(8);
    text("MS Shell Dlg");
}

void DialogTemplate::text(const char* s) {
    wchar_t wide[512];
    const int n = MultiByteToWideChar(CP_ACP, 0, s, -1, wide, 512);
    for (int i = 0; i < n - 1; ++i) word(static_cast<WORD>(wide[i]));
    word(0);
}

void DialogTemplate::align() {
    if (data_.size() % 2) word(0);
}

void DialogTemplate::item(WORD id, WORD cls, const char* caption, DWORD style, short x, short y,
                          short w, short h) {
    align();
    const size_t at = data_.size();
    data_.resize(at + sizeof(DLGITEMTEMPLATE) / sizeof(WORD));
    auto* it = reinterpret_cast<DLGITEMTEMPLATE*>(data_.data() + at);
    it->style = style | WS_CHILD | WS_VISIBLE;
    it->x = x;
    it->y = y;
    it->cx = w;
    it->cy = h;
    it->id = id;
    word(0xFFFF);
    word(cls);
    text(caption);
    word(0);  // no creation data
    reinterpret_cast<DLGTEMPLATE*>(data_.data())->cdit++;
}

const DLGTEMPLATE* DialogTemplate::get() {
    return reinterpret_cast<const DLGTEMPLATE*>(data_.data());
}

namespace {

constexpr WORD kEdit = 100;

INT_PTR CALLBACK input_proc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_INITDIALOG:
            SetWindowLongPtrA(dlg, DWLP_USER, lp);
            SetDlgItemTextA(dlg, kEdit, reinterpret_cast<std::string*>(lp)->c_str());
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wp) == IDOK) {
                auto* value = reinterpret_cast<std::string*>(GetWindowLongPtrA(dlg, DWLP_USER));
                char buf[1024];
                GetDlgItemTextA(dlg, kEdit, buf, sizeof buf);
                *value = buf;
                EndDialog(dlg, IDOK);
                return TRUE;
            }
            if (LOWORD(wp) == IDCANCEL) {
                EndDialog(dlg, IDCANCEL);
                return TRUE;
            }
            break;
        default:
            break;
    }
    return FALSE;
}

}  // namespace

bool input_box(HWND owner, const char* caption, const char* prompt, std::string& value) {
    DialogTemplate t(caption, WS_POPUP | WS_CAPTION | WS_SYSMENU, 180, 62);
    t.item(0xFFFF, 0x0082, prompt, SS_LEFT, 6, 6, 168, 9);
    t.item(kEdit, 0x0081, "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 6, 18, 168, 12);
    t.item(IDOK, 0x0080, "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 68, 40, 50, 14);
    t.item(IDCANCEL, 0x0080, "Cancel", WS_TABSTOP | BS_PUSHBUTTON, 124, 40, 50, 14);
    std::string result = value;
    if (DialogBoxIndirectParamA(GetModuleHandleA(nullptr), t.get(), owner, input_proc,
                                reinterpret_cast<LPARAM>(&result)) != IDOK)
        return false;
    value = result;
    return true;
}

}  // namespace win
