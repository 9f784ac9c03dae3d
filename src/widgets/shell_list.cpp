#include "widgets/shell_list.h"

#include <algorithm>
#include <utility>

#include "base/paths.h"
#include "base/text.h"

namespace widgets {

namespace {

constexpr UINT_PTR kWatchTimer = 1;
constexpr UINT kWatchMs = 250;

// A system key's flags: Alt held (bit 29) and neither Ctrl nor Shift.
bool alt_alone(LPARAM lp) {
    return (lp & (1 << 29)) && !(GetKeyState(VK_CONTROL) & 0x8000) &&
           !(GetKeyState(VK_SHIFT) & 0x8000);
}

}  // namespace

bool ShellList::create(HINSTANCE instance, HWND parent, const std::vector<Column>& extra_columns) {
    const win::WindowClass wc{kClassName, 0, nullptr, nullptr};
    if (!create_window(instance, wc, 0, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 10, 10,
                       parent))
        return false;
    // The image list is the system's: the list must not destroy it.
    list_ = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL |
                                LVS_SHOWSELALWAYS | LVS_EDITLABELS | LVS_SHAREIMAGELISTS,
                            0, 0, 10, 10, hwnd_, nullptr, instance, nullptr);
    if (!list_) return false;
    SendMessageA(list_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    SendMessageA(list_, LVM_SETIMAGELIST, LVSIL_SMALL,
                 reinterpret_cast<LPARAM>(system_small_icons()));
    SetWindowSubclass(list_, list_proc, 0, reinterpret_cast<DWORD_PTR>(this));
    drop_.attach(list_);
    std::vector<Column> columns{{"Name", 150, false}};
    columns.insert(columns.end(), extra_columns.begin(), extra_columns.end());
    for (size_t c = 0; c < columns.size(); ++c) {
        LVCOLUMNA col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
        col.fmt = columns[c].right ? LVCFMT_RIGHT : LVCFMT_LEFT;
        col.pszText = const_cast<char*>(columns[c].title.c_str());
        col.cx = columns[c].width;
        col.iSubItem = static_cast<int>(c);
        SendMessageA(list_, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&col));
    }
    SetTimer(hwnd_, kWatchTimer, kWatchMs, nullptr);
    return true;
}

void ShellList::show(PCIDLIST_ABSOLUTE folder) {
    folder_ = folder ? win::Pidl(ILClone(folder)) : desktop_pidl();
    folder_path_ = path_of(folder_.get());
    if (!folder_path_.empty()) folder_path_ = with_backslash(folder_path_);
    fill();
}

void ShellList::refresh() {
    const int row = selected();
    const std::string name = row >= 0 ? items_[size_t(row)].name : std::string();
    fill();
    for (size_t i = 0; i < items_.size(); ++i)
        if (!name.empty() && items_[i].name == name) {
            ListView_SetItemState(list_, static_cast<int>(i), LVIS_SELECTED | LVIS_FOCUSED,
                                  LVIS_SELECTED | LVIS_FOCUSED);
            ListView_EnsureVisible(list_, static_cast<int>(i), FALSE);
        }
}

void ShellList::fill() {
    items_.clear();
    for (ShellItem& item : list_children(folder_.get(), true))
        if (!accept || accept(item)) items_.push_back(std::move(item));
    SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
    for (size_t i = 0; i < items_.size(); ++i) {
        LVITEMA it{};
        it.mask = LVIF_TEXT | LVIF_IMAGE;
        it.iItem = static_cast<int>(i);
        it.iImage = I_IMAGECALLBACK;  // asked for the rows in view only
        it.pszText = const_cast<char*>(items_[i].name.c_str());
        SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&it));
    }
    SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
    watch();
    if (on_filled) on_filled();
}

void ShellList::watch() {
    change_.reset();
    if (folder_path_.empty()) return;
    const HANDLE h = FindFirstChangeNotificationA(
        folder_path_.c_str(), FALSE,
        FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_SIZE);
    if (h != INVALID_HANDLE_VALUE) change_.reset(h);
}

void ShellList::poll_changes() {
    if (!change_ || WaitForSingleObject(change_.get(), 0) != WAIT_OBJECT_0) return;
    // A folder that vanished keeps its last listing and is no longer watched.
    if (GetFileAttributesA(folder_path_.c_str()) == INVALID_FILE_ATTRIBUTES)
        change_.reset();
    else
        refresh();
    if (on_changed) on_changed();
}

int ShellList::selected() const {
    const int i = static_cast<int>(
        SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return i >= 0 && i < static_cast<int>(items_.size()) ? i : -1;
}

void ShellList::set_cell(int row, int column, const std::string& text) {
    LVITEMA it{};
    it.iSubItem = column;
    it.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list_, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&it));
}

void ShellList::new_folder() {
    if (folder_path_.empty()) return;
    const std::string path = unique_file_name(
        folder_path_ + "x", "New Folder",
        [](const std::string& p) {
            return GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES;
        },
        "", "_");
    if (!CreateDirectoryA(path.c_str(), nullptr)) {
        if (warn) warn("Can't create folder " + path + " !");
        return;
    }
    fill();
    if (on_changed) on_changed();
    const std::string made = with_backslash(path);
    for (size_t i = 0; i < items_.size(); ++i)
        if (equals_nocase(items_[i].path, made)) {
            SetFocus(list_);
            ListView_SetItemState(list_, static_cast<int>(i), LVIS_SELECTED | LVIS_FOCUSED,
                                  LVIS_SELECTED | LVIS_FOCUSED);
            SendMessageA(list_, LVM_EDITLABELA, i, 0);
        }
}

// Folder names are edited in place; files are renamed by their owner's rules.
void ShellList::end_rename(int row, const char* text) {
    if (!text || row < 0 || row >= static_cast<int>(items_.size())) return;
    const ShellItem& item = items_[size_t(row)];
    const std::string from = item.path.substr(0, item.path.size() - 1);
    const std::string name = text;
    if (name.empty() || equals_nocase(name, file_name_of(from))) return;
    const std::string to = folder_path_ + name;
    if (name.find_first_of("\\/:*?\"<>|") != std::string::npos ||
        GetFileAttributesA(to.c_str()) != INVALID_FILE_ATTRIBUTES ||
        !MoveFileA(from.c_str(), to.c_str())) {
        if (warn) warn("Can't rename file " + from + " !");
        return;
    }
    refresh();
    if (on_changed) on_changed();
}

// A folder row, or the folder in view around the rows.
std::string ShellList::drop_folder_at(POINT screen) const {
    LVHITTESTINFO hit{};
    hit.pt = screen;
    ScreenToClient(list_, &hit.pt);
    const int row =
        static_cast<int>(SendMessageA(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (row >= 0 && row < static_cast<int>(items_.size()) && items_[size_t(row)].folder)
        return items_[size_t(row)].path;
    return folder_path_;
}

void ShellList::context_menu(LPARAM lp) {
    POINT p = win::point_of(lp);
    int row = -1;
    if (p.x == -1 && p.y == -1) {  // from the keyboard: the selected row
        row = selected();
        RECT r{};
        r.left = LVIR_LABEL;
        if (row < 0 || !SendMessageA(list_, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r)))
            return;
        p = POINT{r.left, r.bottom};
        ClientToScreen(list_, &p);
    } else {
        LVHITTESTINFO hit{};
        hit.pt = p;
        ScreenToClient(list_, &hit.pt);
        row = static_cast<int>(SendMessageA(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    }
    if (row >= 0 && row < static_cast<int>(items_.size()))
        show_context_menu(hwnd_, items_[size_t(row)].pidl.get(), p);
}

LRESULT CALLBACK ShellList::list_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                      DWORD_PTR self) {
    // The list reports no key pressed with Alt: it comes as a system key.
    auto* list = reinterpret_cast<ShellList*>(self);
    if (msg == WM_SYSKEYDOWN && list->on_key &&
        list->on_key(static_cast<WORD>(wp), alt_alone(lp))) {
        list->eat_syschar_ = true;
        return 0;
    }
    // The used key's character would look for a menu mnemonic and beep.
    if (msg == WM_SYSCHAR && std::exchange(list->eat_syschar_, false)) return 0;
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(w, list_proc, 0);
    return DefSubclassProc(w, msg, wp, lp);
}

LRESULT ShellList::on_notify(NMHDR* n) {
    if (n->hwndFrom != list_) return 0;
    switch (n->code) {
        case LVN_KEYDOWN: {
            const WORD key = reinterpret_cast<NMLVKEYDOWN*>(n)->wVKey;
            if (key == VK_RETURN && selected() >= 0 && on_open)
                on_open(selected());
            else if (on_key)
                on_key(key, false);
            return 0;
        }
        case LVN_GETDISPINFOA:
        case LVN_GETDISPINFOW: {
            // Both structures begin alike up to the image index.
            LVITEMA& it = reinterpret_cast<NMLVDISPINFOA*>(n)->item;
            if ((it.mask & LVIF_IMAGE) && it.iItem >= 0 &&
                it.iItem < static_cast<int>(items_.size())) {
                ShellItem& item = items_[size_t(it.iItem)];
                if (item.icon < 0) item.icon = std::max(icon_of(item.pidl.get()), 0);
                it.iImage = item.icon;
            }
            return 0;
        }
        case NM_DBLCLK:
            if (selected() >= 0 && on_open) on_open(selected());
            return 0;
        case LVN_BEGINDRAG:
            if (selected() >= 0) drag_items({items_[size_t(selected())].pidl.get()});
            return 0;
        case LVN_BEGINLABELEDITA:
        case LVN_BEGINLABELEDITW: {
            const int row = reinterpret_cast<NMLVDISPINFOA*>(n)->item.iItem;
            return row < 0 || row >= static_cast<int>(items_.size()) ||
                   !items_[size_t(row)].folder || items_[size_t(row)].path.empty();
        }
        case LVN_ENDLABELEDITA: {
            auto* d = reinterpret_cast<NMLVDISPINFOA*>(n);
            end_rename(d->item.iItem, d->item.pszText);
            return FALSE;
        }
        default:
            return 0;
    }
}

LRESULT ShellList::handle_message(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_SIZE:
            MoveWindow(list_, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
            return 0;
        case WM_SETFOCUS:
            SetFocus(list_);
            return 0;
        case WM_NOTIFY:
            return on_notify(reinterpret_cast<NMHDR*>(lp));
        case WM_CONTEXTMENU:
            context_menu(lp);
            return 0;
        case WM_TIMER:
            if (wp == kWatchTimer) poll_changes();
            return 0;
        default:
            return default_message(msg, wp, lp);
    }
}

}  // namespace widgets
