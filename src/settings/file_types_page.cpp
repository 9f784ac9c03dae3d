#include "settings/file_types_page.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <uxtheme.h>

#include "settings/registry_store_win32.h"

namespace {

enum : int {
    kListId = 1301,
    kSelectAllId,
    kSelectNoneId,
    kTabsId,
    kFileDescId,
    kFileIconsId,
    kListDescId,
    kM3uId,
    kListIconsId,
    kApplyId,
};

// Page layout in the panel's client coordinates, below the dialog's title bar.
constexpr int kTop = 24;
constexpr int kListHeight = 100;
constexpr int kTabsTop = 156, kTabsHeight = 134;
// The icon pickers: 210 by 58 at left 12, 7 pixels below their labels; one
// row of 40-pixel cells above the horizontal scroll bar.
constexpr int kPickerW = 210, kPickerH = 58, kPickerGap = 7, kCell = 40;
constexpr int kLabelH = 13;

constexpr char kErrorCaption[] = "VELTRona";

// The icon of a picker's cell, centred.
void paint_cell(const DRAWITEMSTRUCT& d, HICON icon) {
    const bool selected = (d.itemState & ODS_SELECTED) != 0;
    FillRect(d.hDC, &d.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (icon) {
        const int x = (d.rcItem.left + d.rcItem.right - 32) / 2;
        const int y = (d.rcItem.top + d.rcItem.bottom - 32) / 2;
        DrawIconEx(d.hDC, x, y, icon, 32, 32, 0, nullptr, DI_NORMAL);
    }
    if (d.itemState & ODS_FOCUS) DrawFocusRect(d.hDC, &d.rcItem);
}

std::string text_of(HWND h) {
    const int n = GetWindowTextLengthA(h);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    GetWindowTextA(h, s.data(), n + 1);
    s.resize(static_cast<size_t>(n));
    return s;
}

int selection_of(HWND picker) {
    const LRESULT i = SendMessageA(picker, LB_GETCURSEL, 0, 0);
    return i == LB_ERR ? 0 : static_cast<int>(i);
}

}  // namespace

FileTypesPage::FileTypesPage(std::string exe_folder,
                             std::function<std::vector<std::string>()> declared_patterns,
                             std::unique_ptr<KeyStore> store)
    : exe_folder_(std::move(exe_folder)),
      declared_patterns_(std::move(declared_patterns)),
      store_(store ? std::move(store) : std::make_unique<RegistryKeyStore>(HKEY_CLASSES_ROOT, "")) {
}

HWND FileTypesPage::add(const char* name, const char* cls, const char* text, DWORD style, int x,
                        int y, int w, int h, int id, DWORD ex_style) {
    const HWND h_ctl = CreateWindowExA(ex_style, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w,
                                       h, panel_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                       GetModuleHandleA(nullptr), nullptr);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(panel_, WM_GETFONT, 0, 0));
    if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageA(h_ctl, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (name) named_.emplace_back(name, h_ctl);
    return h_ctl;
}

void FileTypesPage::create(HWND panel) {
    panel_ = panel;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    RECT client{};
    GetClientRect(panel, &client);
    const int width = client.right - 12;

    list_ = add("CheckListBox2", WC_LISTVIEWA, "", LVS_LIST | LVS_SHOWSELALWAYS | WS_TABSTOP, 6,
                kTop, width, kListHeight, kListId, WS_EX_CLIENTEDGE);
    SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);

    const int row = kTop + kListHeight + 5;
    add("file_pan_sel_all", "BUTTON", "Select all", BS_PUSHBUTTON | WS_TABSTOP, 6, row, 80, 22,
        kSelectAllId);
    add("file_pan_sel_non", "BUTTON", "Select none", BS_PUSHBUTTON | WS_TABSTOP, 92, row, 80, 22,
        kSelectNoneId);

    tabs_ = add("file_pan_tabs", WC_TABCONTROLA, "", WS_CLIPSIBLINGS | WS_TABSTOP, 6, kTabsTop,
                width, kTabsHeight, kTabsId);
    const char* tab_texts[] = {"Audio/Video files", "PlayLists"};
    for (int i = 0; i < 2; ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(tab_texts[i]);
        SendMessageA(tabs_, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    RECT sheet{0, 0, width, kTabsHeight};
    SendMessageA(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&sheet));
    const int sx = 6 + sheet.left, sy = kTabsTop + sheet.top;

    // Each sheet: description label and edit, icon label, icon picker.
    const auto sheet_controls =
        [&](int n, const char* desc_lbl, const char* desc_caption, const char* desc_name,
            const char* design, int desc_id, const char* icon_lbl, const char* icon_caption,
            const char* picker_name, int picker_id, HWND& desc, HWND& picker) {
            auto& s = sheets_[n];
            s.push_back(
                add(desc_lbl, "STATIC", desc_caption, SS_LEFT, sx + 12, sy + 8, 100, kLabelH, -1));
            desc = add(desc_name, "EDIT", design, ES_AUTOHSCROLL | WS_TABSTOP, sx + 112, sy + 4,
                       130, 21, desc_id, WS_EX_CLIENTEDGE);
            s.push_back(desc);
            const int label_y = sy + 34;
            s.push_back(
                add(icon_lbl, "STATIC", icon_caption, SS_LEFT, sx + 12, label_y, 100, kLabelH, -1));
            picker = add(picker_name, "LISTBOX", "",
                         WS_BORDER | WS_HSCROLL | WS_TABSTOP | LBS_MULTICOLUMN |
                             LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY,
                         sx + 12, label_y + kLabelH + kPickerGap, kPickerW, kPickerH, picker_id);
            SendMessageA(picker, LB_SETCOLUMNWIDTH, kCell, 0);
            SendMessageA(picker, LB_SETITEMHEIGHT, 0, kCell);
            s.push_back(picker);
        };
    sheet_controls(0, "file_pan_filedesc_lbl", "File description", "f_desc", kDefaultMediaDesc,
                   kFileDescId, "file_pan_ficon_lbl", "File icon", "FlatImagesScroll1",
                   kFileIconsId, f_desc_, file_icons_);
    sheet_controls(1, "file_pan_ldesc_lbl", "PlayList description", "l_desc", kDefaultListDesc,
                   kListDescId, "file_pan_licon_lbl", "PlayList icon", "FlatImagesScroll2",
                   kListIconsId, l_desc_, list_icons_);
    m3u_ = add("m3u_reg_cb", "BUTTON", "M3U", BS_AUTOCHECKBOX | WS_TABSTOP, sx + 12 + kPickerW + 6,
               sy + 34, 40, 18, kM3uId);
    sheets_[1].push_back(m3u_);
    // Classic drawing: the sheet's body then has the labels' colour.
    SetWindowTheme(tabs_, L" ", L" ");
    // The sheets' controls lie on the tab control and must stay above it.
    SetWindowPos(tabs_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    show_sheet(0);

    const HWND apply = add("SpeedButton5", "BUTTON", "Apply", BS_PUSHBUTTON | WS_TABSTOP,
                           client.right - 86, kTabsTop + kTabsHeight + 4, 80, 22, kApplyId);
    named_.emplace_back("Button2", apply);
}

void FileTypesPage::show_sheet(int index) {
    SendMessageA(tabs_, TCM_SETCURSEL, index, 0);
    for (int n = 0; n < 2; ++n)
        for (HWND h : sheets_[n]) ShowWindow(h, n == index ? SW_SHOW : SW_HIDE);
}

// Icon 0, 1, 2, ... of veltrona.exe in the program's folder, in the order the
// shell numbers them, which is the number written to DefaultIcon.
void FileTypesPage::load_icons() {
    icons_.clear();
    const std::string path = exe_folder_ + "veltrona.exe";
    const HINSTANCE self = GetModuleHandleA(nullptr);
    for (UINT i = 0; i < 1000; ++i) {
        HICON icon = ExtractIconA(self, path.c_str(), i);
        if (!icon || icon == reinterpret_cast<HICON>(1)) break;
        icons_.emplace_back(icon);
    }
}

void FileTypesPage::fill_picker(HWND picker) {
    const int keep = static_cast<int>(SendMessageA(picker, LB_GETCURSEL, 0, 0));
    SendMessageA(picker, LB_RESETCONTENT, 0, 0);
    for (size_t i = 0; i < icons_.size(); ++i)
        SendMessageA(picker, LB_ADDSTRING, 0, static_cast<LPARAM>(i));
    const int count = static_cast<int>(icons_.size());
    if (count) SendMessageA(picker, LB_SETCURSEL, keep >= 0 && keep < count ? keep : 0, 0);
}

FileTypesForm FileTypesPage::form_from_controls() const {
    FileTypesForm f;
    f.items = items_;
    for (size_t i = 0; i < items_.size(); ++i)
        f.checked.push_back(ListView_GetCheckState(list_, static_cast<int>(i)) == 1);
    f.f_desc = text_of(f_desc_);
    f.l_desc = text_of(l_desc_);
    f.file_icon = selection_of(file_icons_);
    f.list_icon = selection_of(list_icons_);
    f.m3u = SendMessageA(m3u_, BM_GETCHECK, 0, 0) == BST_CHECKED;
    return f;
}

void FileTypesPage::show_form(const FileTypesForm& f) {
    items_ = f.items;
    SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
    for (size_t i = 0; i < items_.size(); ++i) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<char*>(items_[i].c_str());
        SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        ListView_SetCheckState(list_, static_cast<int>(i), f.checked[i]);
    }
    // Four columns across the list. Wine's list view measures its items at
    // its first paint, replacing a width set before.
    UpdateWindow(list_);
    RECT inner{};
    GetClientRect(list_, &inner);
    SendMessageA(list_, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(inner.right / 4, 0));
    SetWindowTextA(f_desc_, f.f_desc.c_str());
    SetWindowTextA(l_desc_, f.l_desc.c_str());
    if (!icons_.empty()) {
        SendMessageA(file_icons_, LB_SETCURSEL, f.file_icon, 0);
        SendMessageA(list_icons_, LB_SETCURSEL, f.list_icon, 0);
    }
    SendMessageA(m3u_, BM_SETCHECK, f.m3u ? BST_CHECKED : BST_UNCHECKED, 0);
}

void FileTypesPage::on_show() {
    load_icons();
    fill_picker(file_icons_);
    fill_picker(list_icons_);
    FileTypesForm f = form_from_controls();
    read_file_types(*store_, declared_patterns_ ? declared_patterns_() : std::vector<std::string>{},
                    static_cast<int>(icons_.size()), f);
    show_form(f);
}

void FileTypesPage::check_all(bool on) {
    for (size_t i = 0; i < items_.size(); ++i)
        ListView_SetCheckState(list_, static_cast<int>(i), on);
}

bool FileTypesPage::Button2Click() {
    std::string error;
    const bool ok = apply_file_types(*store_, exe_folder_, form_from_controls(), error);
    if (!ok)
        MessageBoxA(GetAncestor(panel_, GA_ROOT), error.c_str(), kErrorCaption,
                    MB_OK | MB_ICONERROR);
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    return ok;
}

void FileTypesPage::draw_icon(const DRAWITEMSTRUCT& d) const {
    const size_t i = static_cast<size_t>(d.itemData);
    paint_cell(d,
               d.itemID != static_cast<UINT>(-1) && i < icons_.size() ? icons_[i].get() : nullptr);
}

bool FileTypesPage::on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
        case WM_COMMAND:
            if (HIWORD(wp) != BN_CLICKED) return false;
            switch (LOWORD(wp)) {
                case kSelectAllId:
                    check_all(true);
                    break;
                case kSelectNoneId:
                    check_all(false);
                    break;
                case kApplyId:
                    Button2Click();
                    break;
                default:
                    return false;
            }
            result = 0;
            return true;
        case WM_NOTIFY: {
            const auto* n = reinterpret_cast<const NMHDR*>(lp);
            if (n->hwndFrom != tabs_ || n->code != TCN_SELCHANGE) return false;
            show_sheet(static_cast<int>(SendMessageA(tabs_, TCM_GETCURSEL, 0, 0)));
            result = 0;
            return true;
        }
        case WM_MEASUREITEM: {
            auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
            if (m->CtlType != ODT_LISTBOX || (m->CtlID != kFileIconsId && m->CtlID != kListIconsId))
                return false;
            m->itemHeight = kCell;
            result = TRUE;
            return true;
        }
        case WM_DRAWITEM: {
            const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
            if (d->hwndItem != file_icons_ && d->hwndItem != list_icons_) return false;
            draw_icon(*d);
            result = TRUE;
            return true;
        }
        default:
            return false;
    }
}

HWND FileTypesPage::control(const std::string& name) const {
    for (const auto& [n, h] : named_)
        if (n == name) return h;
    return nullptr;
}
