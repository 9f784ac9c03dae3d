#include "playlist/explorer_page.h"

#include <commctrl.h>

#include <algorithm>

#include "base/paths.h"
#include "base/text.h"
#include "playlist/dialog_controls.h"
#include "win/files.h"

namespace {

constexpr UINT_PTR kInfoTimer = 1;
constexpr int kSplitter = 4;
constexpr WORD kInsert = 45, kF3 = 114, kF4 = 115, kF7 = 118, kKeyI = 73;

bool key_down(int vk) {
    return (GetKeyState(vk) & 0x8000) != 0;
}

}  // namespace

bool ExplorerPage::create(HINSTANCE instance, HWND parent, ExplorerActions actions) {
    actions_ = std::move(actions);
    const win::WindowClass wc{kClassName, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr};
    if (!create_window(instance, wc, 0, "", WS_CHILD | WS_CLIPCHILDREN, 0, 0, 100, 100, parent))
        return false;
    tree_ = dialog_controls::add(
        hwnd_, WC_TREEVIEWA, "",
        TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_TABSTOP, 1, 0, 0,
        10, 10, WS_EX_CLIENTEDGE);
    list_ = dialog_controls::add(
        hwnd_, WC_LISTVIEWA, "",
        LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_EDITLABELS | WS_TABSTOP, 2, 0, 0, 10,
        10, WS_EX_CLIENTEDGE);
    SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    SetWindowSubclass(list_, list_sys_keys, 0, reinterpret_cast<DWORD_PTR>(this));
    const struct {
        const char* title;
        int width;
    } columns[] = {{"Name", 150}, {"Format", 70}, {"Size", 80}, {"Artist - Title", 200}};
    for (int c = 0; c < 4; ++c) {
        LVCOLUMNA col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
        col.fmt = c == 2 ? LVCFMT_RIGHT : LVCFMT_LEFT;
        col.pszText = const_cast<char*>(columns[c].title);
        col.cx = columns[c].width;
        col.iSubItem = c;
        SendMessageA(list_, LVM_INSERTCOLUMNA, static_cast<WPARAM>(c),
                     reinterpret_cast<LPARAM>(&col));
    }
    fill_roots();
    SetTimer(hwnd_, kInfoTimer, 30, nullptr);
    return true;
}

void ExplorerPage::layout() {
    RECT r;
    GetClientRect(hwnd_, &r);
    tree_width_ = std::clamp(tree_width_, 20, std::max(20, int(r.right) - 40));
    MoveWindow(tree_, 0, 0, tree_width_, r.bottom, TRUE);
    MoveWindow(list_, tree_width_ + kSplitter, 0, r.right - tree_width_ - kSplitter, r.bottom,
               TRUE);
}

// Drives, each with a button until it is opened.
void ExplorerPage::fill_roots() {
    char drives[512] = {};
    GetLogicalDriveStringsA(sizeof drives - 1, drives);
    for (const char* d = drives; *d; d += lstrlenA(d) + 1) {
        TVINSERTSTRUCTA ins{};
        ins.hParent = TVI_ROOT;
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT | TVIF_CHILDREN;
        ins.item.pszText = const_cast<char*>(d);
        ins.item.cChildren = 1;
        SendMessageA(tree_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins));
    }
}

std::string ExplorerPage::path_of(HTREEITEM item) const {
    std::string path;
    while (item) {
        char text[MAX_PATH] = {};
        TVITEMA it{};
        it.mask = TVIF_TEXT;
        it.hItem = item;
        it.pszText = text;
        it.cchTextMax = sizeof text;
        SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
        path = with_backslash(text) + path;
        item = reinterpret_cast<HTREEITEM>(
            SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(item)));
    }
    return path;
}

// The subfolders of an item, read when it is first opened.
void ExplorerPage::expand(HTREEITEM item) {
    if (SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item))) return;
    std::vector<std::string> names;
    for (const FoundFile& f : find_files(path_of(item) + "*.*"))
        if (f.directory() && !f.name.empty() && f.name[0] != '.') names.push_back(f.name);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return lstrcmpiA(a.c_str(), b.c_str()) < 0;
    });
    for (const std::string& n : names) {
        TVINSERTSTRUCTA ins{};
        ins.hParent = item;
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT | TVIF_CHILDREN;
        ins.item.pszText = const_cast<char*>(n.c_str());
        ins.item.cChildren = 1;
        SendMessageA(tree_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins));
    }
    if (names.empty()) {
        TVITEMA it{};
        it.mask = TVIF_CHILDREN;
        it.hItem = item;
        SendMessageA(tree_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&it));
    }
}

void ExplorerPage::set_folder(const std::string& folder) {
    // Opens the tree along the path, as far as it exists.
    HTREEITEM item = nullptr;
    std::string done;
    size_t at = 0;
    const std::string path = with_backslash(folder);
    while (at < path.size()) {
        const size_t end = path.find('\\', at);
        const std::string part = path.substr(at, end - at + 1);
        at = end + 1;
        if (item) expand(item);
        HTREEITEM child = reinterpret_cast<HTREEITEM>(SendMessageA(
            tree_, TVM_GETNEXTITEM, item ? TVGN_CHILD : TVGN_ROOT, reinterpret_cast<LPARAM>(item)));
        for (; child; child = reinterpret_cast<HTREEITEM>(SendMessageA(
                          tree_, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child))))
            if (equals_nocase(path_of(child), done + part)) break;
        if (!child) break;
        item = child;
        done += part;
    }
    if (item) {
        SendMessageA(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
        SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    }
    folder_ = done.empty() ? path : done;
    list_folder();
}

// Folders and playable files; their information comes later, slice by slice.
void ExplorerPage::list_folder() {
    rows_.clear();
    next_info_ = 0;
    std::vector<Row> files;
    for (const FoundFile& f : find_files(folder_ + "*.*")) {
        if (f.name == "." || f.name == ".." || f.volume_label()) continue;
        Row r;
        r.name = f.name;
        r.is_dir = f.directory();
        if (!r.is_dir && !IsSupported(folder_ + f.name)) continue;
        r.info_done = r.is_dir || f.size == 0;
        (r.is_dir ? rows_ : files).push_back(std::move(r));
    }
    rows_.insert(rows_.end(), files.begin(), files.end());
    SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
    for (size_t i = 0; i < rows_.size(); ++i) {
        const std::string shown = rows_[i].is_dir ? "[" + rows_[i].name + "]" : rows_[i].name;
        LVITEMA it{};
        it.mask = LVIF_TEXT;
        it.iItem = static_cast<int>(i);
        it.pszText = const_cast<char*>(shown.c_str());
        SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&it));
    }
    SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    watch();
}

void ExplorerPage::watch() {
    const HANDLE h = FindFirstChangeNotificationA(
        folder_.c_str(), FALSE,
        FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_SIZE);
    change_.reset(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

// About 20 ms of quick info per tick; rows fill in as it arrives.
void ExplorerPage::info_slice() {
    if (change_ && WaitForSingleObject(change_.get(), 0) == WAIT_OBJECT_0) {
        // Listed again when the disk changes; a folder that vanished is left.
        if (GetFileAttributesA(folder_.c_str()) == INVALID_FILE_ATTRIBUTES)
            change_.reset();
        else
            list_folder();
        return;
    }
    const DWORD start = GetTickCount();
    while (next_info_ < rows_.size() && GetTickCount() - start < 20) {
        const size_t i = next_info_++;
        Row& r = rows_[i];
        if (r.info_done) continue;
        r.info_done = true;
        FileInfoRec f;
        try {
            QuickInfo(folder_ + r.name, f);
        } catch (...) {
            continue;
        }
        const std::string texts[3] = {f.format, size_picture(f.file_size),
                                      f.artist + " - " + f.title};
        for (int c = 0; c < 3; ++c) {
            LVITEMA it{};
            it.iSubItem = c + 1;
            it.pszText = const_cast<char*>(texts[c].c_str());
            SendMessageA(list_, LVM_SETITEMTEXTA, i, reinterpret_cast<LPARAM>(&it));
        }
    }
}

int ExplorerPage::selected_row() const {
    const int i = static_cast<int>(
        SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return i >= 0 && i < static_cast<int>(rows_.size()) ? i : -1;
}

std::string ExplorerPage::row_path(int row) const {
    return folder_ + rows_[static_cast<size_t>(row)].name;
}

LRESULT CALLBACK ExplorerPage::list_sys_keys(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                             DWORD_PTR page) {
    if (msg == WM_SYSKEYDOWN && wp == kKeyI) {
        // Bit 29: the key came with Alt held.
        auto* p = reinterpret_cast<ExplorerPage*>(page);
        const int row = p->selected_row();
        if ((lp & (1 << 29)) && row >= 0 && p->actions_.file_info)
            p->actions_.file_info(p->row_path(row));
        return 0;
    }
    // The menu key would look for a mnemonic and beep.
    if (msg == WM_SYSCHAR && (wp == 'i' || wp == 'I')) return 0;
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(w, list_sys_keys, 0);
    return DefSubclassProc(w, msg, wp, lp);
}

void ExplorerPage::list_key(WORD key) {
    const bool shift_only = key_down(VK_SHIFT) && !key_down(VK_CONTROL) && !key_down(VK_MENU);
    const bool alt_only = key_down(VK_MENU) && !key_down(VK_CONTROL) && !key_down(VK_SHIFT);
    if (shift_only) return;
    const int row = selected_row();
    if (key == kF7) {
        new_folder();
        return;
    }
    if (row < 0) return;
    const std::string path = row_path(row);
    const bool dir = rows_[static_cast<size_t>(row)].is_dir;
    const NameRules rules = actions_.name_rules ? actions_.name_rules() : NameRules{};
    if (key == kInsert) {
        if (dir && actions_.add_folder) actions_.add_folder(with_backslash(path));
        if (!dir && actions_.add_file) actions_.add_file(path);
    } else if (key == kF3) {
        if (!dir) {
            rename_file_by_tag(*this, path, rules);
        } else if (ask("Rename files in folder " + rows_[size_t(row)].name + " ?", false) ==
                   Answer::Yes) {
            RenameFolderFiles(*this, path, rules);
        }
        list_folder();
    } else if (key == kF4 && !dir) {
        make_artist_folder(*this, path, rules);
        list_folder();
    } else if (key == kKeyI && alt_only && actions_.file_info) {
        actions_.file_info(path);
    } else if (key == VK_RETURN && !dir && actions_.play) {
        actions_.play(path);
    }
}

// F7: a new folder in the folder in view, its name open for editing.
void ExplorerPage::new_folder() {
    const std::string path = unique_file_name(
        folder_ + "x", "New Folder", [this](const std::string& p) { return exists(p); }, "", "_");
    if (!CreateDirectoryA(path.c_str(), nullptr)) {
        warn("Can't create folder " + path + " !");
        return;
    }
    list_folder();
    const std::string name = file_name_of(path);
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].name == name) {
            SetFocus(list_);
            SendMessageA(list_, LVM_EDITLABELA, i, 0);
        }
}

void ExplorerPage::end_rename(int row, const char* text) {
    if (!text || row < 0 || row >= static_cast<int>(rows_.size())) return;
    std::string name = text;
    // Folders are shown in brackets; the edit starts with them.
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']')
        name = name.substr(1, name.size() - 2);
    if (name.empty() || equals_nocase(name, rows_[size_t(row)].name) ||
        name.find_first_of("\\/:*?\"<>|") != std::string::npos)
        return;
    const std::string to = folder_ + name;
    if (exists(to) || !MoveFileA(row_path(row).c_str(), to.c_str())) {
        warn("Can't rename file " + row_path(row) + " !");
        return;
    }
    list_folder();
}

LRESULT ExplorerPage::on_notify(NMHDR* n) {
    if (n->hwndFrom == tree_) {
        if (n->code == TVN_ITEMEXPANDINGA || n->code == TVN_ITEMEXPANDINGW) {
            expand(reinterpret_cast<NMTREEVIEWA*>(n)->itemNew.hItem);
        } else if (n->code == TVN_SELCHANGEDA || n->code == TVN_SELCHANGEDW) {
            folder_ = path_of(reinterpret_cast<NMTREEVIEWA*>(n)->itemNew.hItem);
            list_folder();
        } else if (n->code == TVN_KEYDOWN && reinterpret_cast<NMTVKEYDOWN*>(n)->wVKey == kInsert &&
                   !(key_down(VK_SHIFT) && !key_down(VK_CONTROL) && !key_down(VK_MENU))) {
            if (actions_.add_folder) actions_.add_folder(folder_);
        }
        return 0;
    }
    if (n->hwndFrom != list_) return 0;
    switch (n->code) {
        case LVN_KEYDOWN:
            list_key(reinterpret_cast<NMLVKEYDOWN*>(n)->wVKey);
            return 0;
        case NM_DBLCLK: {
            const int row = selected_row();
            if (row < 0) return 0;
            if (rows_[size_t(row)].is_dir)
                set_folder(row_path(row));
            else if (actions_.play)
                actions_.play(row_path(row));
            return 0;
        }
        case LVN_BEGINLABELEDITA:
            return selected_row() < 0 || !rows_[size_t(selected_row())].is_dir;
        case LVN_ENDLABELEDITA: {
            auto* d = reinterpret_cast<NMLVDISPINFOA*>(n);
            end_rename(d->item.iItem, d->item.pszText);
            return FALSE;
        }
        default:
            return 0;
    }
}

LRESULT ExplorerPage::handle_message(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_SIZE:
            layout();
            return 0;
        case WM_NOTIFY:
            return on_notify(reinterpret_cast<NMHDR*>(lp));
        case WM_TIMER:
            if (wp == kInfoTimer && IsWindowVisible(hwnd_)) info_slice();
            return 0;
        case WM_LBUTTONDOWN:  // only the gap between tree and list reaches here
            splitting_ = true;
            SetCapture(hwnd_);
            return 0;
        case WM_MOUSEMOVE:
            SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
            if (splitting_) {
                tree_width_ = win::point_of(lp).x;
                layout();
            }
            return 0;
        case WM_LBUTTONUP:
            splitting_ = false;
            ReleaseCapture();
            return 0;
        default:
            return default_message(msg, wp, lp);
    }
}

bool ExplorerPage::exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool ExplorerPage::IsSupported(const std::string& path) {
    return actions_.IsSupported && actions_.IsSupported(path);
}

void ExplorerPage::QuickInfo(const std::string& path, FileInfoRec& info) {
    if (actions_.QuickInfo) actions_.QuickInfo(path, info);
}

std::vector<DirEntry> ExplorerPage::list_dir(const std::string& pattern) {
    std::vector<DirEntry> out;
    for (const FoundFile& f : find_files(pattern)) out.push_back(DirEntry{f.name, f.directory()});
    return out;
}

Answer ExplorerPage::ask(const std::string& text, bool with_abort) {
    // The system's box has no Abort beside Yes and No: its Cancel stands for it.
    const int r = MessageBoxA(hwnd_, text.c_str(), "Warning",
                              (with_abort ? MB_YESNOCANCEL : MB_YESNO) | MB_ICONWARNING);
    return r == IDYES ? Answer::Yes : r == IDCANCEL && with_abort ? Answer::Abort : Answer::No;
}

void ExplorerPage::warn(const std::string& text) {
    MessageBoxA(hwnd_, text.c_str(), "Warning", MB_OK | MB_ICONWARNING);
}

bool ExplorerPage::move_file(const std::string& from, const std::string& to) {
    return MoveFileA(from.c_str(), to.c_str()) != 0;
}

bool ExplorerPage::make_folder(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) != 0;
}
