#include "playlist/explorer_page.h"

#include <algorithm>

#include "base/paths.h"
#include "base/text.h"
#include "win/files.h"

namespace {

constexpr UINT_PTR kInfoTimer = 1;
constexpr int kSplitter = 4;
constexpr WORD kInsert = 45, kF3 = 114, kF4 = 115, kF7 = 118, kKeyI = 73;

bool shift_alone() {
    return (GetKeyState(VK_SHIFT) & 0x8000) && !(GetKeyState(VK_CONTROL) & 0x8000) &&
           !(GetKeyState(VK_MENU) & 0x8000);
}

}  // namespace

bool ExplorerPage::create(HINSTANCE instance, HWND parent, ExplorerActions actions) {
    actions_ = std::move(actions);
    const win::WindowClass wc{kClassName, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr};
    if (!create_window(instance, wc, 0, "", WS_CHILD | WS_CLIPCHILDREN, 0, 0, 100, 100, parent))
        return false;
    if (!browsrtree_.create(instance, hwnd_) ||
        !browserlist_.create(instance, hwnd_,
                             {{"Format", 70, false}, {"Size", 80, true}, {"Artist - Title", 200}}))
        return false;
    browsrtree_.on_select = [this](const widgets::ShellItem& f) {
        browserlist_.show(f.pidl.get());
    };
    browsrtree_.on_key = [this](WORD key) { browsrtreeKeyDown(key); };
    // Only folders and playable files are listed.
    browserlist_.accept = [this](const widgets::ShellItem& item) {
        return item.folder || IsSupported(item.path);
    };
    browserlist_.on_filled = [this] { browserlistFillComplete(); };
    browserlist_.on_changed = [this] {
        const widgets::ShellItem* f = browsrtree_.selected();
        if (f && ILIsEqual(f->pidl.get(), browserlist_.folder())) browsrtree_.refresh_selected();
    };
    browserlist_.on_open = [this](int row) { browserlistDblClickOpen(row); };
    browserlist_.on_key = [this](WORD key, bool alt) { return browserlistKeyDown(key, alt); };
    browserlist_.warn = [this](const std::string& text) { warn(text); };
    SetTimer(hwnd_, kInfoTimer, 30, nullptr);
    return true;
}

void ExplorerPage::layout() {
    RECT r;
    GetClientRect(hwnd_, &r);
    tree_width_ = std::clamp(tree_width_, 20, std::max(20, int(r.right) - 40));
    MoveWindow(browsrtree_.handle(), 0, 0, tree_width_, r.bottom, TRUE);
    MoveWindow(browserlist_.handle(), tree_width_ + kSplitter, 0, r.right - tree_width_ - kSplitter,
               r.bottom, TRUE);
    // Moved bits are not those of the controls inside: everything is drawn again.
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void ExplorerPage::set_folder(const std::string& folder) {
    std::string path = with_backslash(folder);
    win::Pidl pidl = widgets::pidl_of(path);
    while (!pidl && path.size() > 3) {
        path = folder_of(path.substr(0, path.size() - 1));
        pidl = widgets::pidl_of(path);
    }
    show(pidl.get());
}

void ExplorerPage::show(PCIDLIST_ABSOLUTE folder) {
    browsrtree_.select(folder);
    browserlist_.show(folder);
}

// The rows' information is read later, a slice at a time.
void ExplorerPage::browserlistFillComplete() {
    const auto& items = browserlist_.items();
    info_done_.assign(items.size(), false);
    next_info_ = 0;
    for (size_t i = 0; i < items.size(); ++i)
        info_done_[i] = items[i].folder || items[i].path.empty();
}

// About 20 ms of quick info per tick; rows fill in as it arrives.
void ExplorerPage::info_slice() {
    const auto& items = browserlist_.items();
    const DWORD start = GetTickCount();
    while (next_info_ < info_done_.size() && next_info_ < items.size() &&
           GetTickCount() - start < 20) {
        const size_t i = next_info_++;
        if (info_done_[i]) continue;
        info_done_[i] = true;
        const std::string& path = items[i].path;
        WIN32_FILE_ATTRIBUTE_DATA a{};
        // A path that matches nothing counts as size -1 and is still asked.
        if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &a) && !a.nFileSizeHigh &&
            !a.nFileSizeLow)
            continue;
        FileInfoRec f;
        try {
            QuickInfo(path, f);
        } catch (...) {
            continue;
        }
        browserlist_.set_cell(static_cast<int>(i), 1, f.format);
        browserlist_.set_cell(static_cast<int>(i), 2, size_picture(f.file_size));
        browserlist_.set_cell(static_cast<int>(i), 3, f.artist + " - " + f.title);
    }
}

void ExplorerPage::browserlistDblClickOpen(int row) {
    const widgets::ShellItem& item = browserlist_.items()[size_t(row)];
    if (item.folder) {
        const win::Pidl folder = item.pidl;  // the listing is about to change
        show(folder.get());
    } else if (actions_.play && !item.path.empty()) {
        actions_.play(item.path);
    }
}

bool ExplorerPage::browserlistKeyDown(WORD key, bool alt) {
    if (shift_alone()) return false;
    const int row = browserlist_.selected();
    const std::string path = row >= 0 ? browserlist_.items()[size_t(row)].path : std::string();
    const bool dir = row >= 0 && browserlist_.items()[size_t(row)].folder;
    if (alt) {
        if (key != kKeyI) return false;
        if (!path.empty() && actions_.file_info) actions_.file_info(path);
        return true;
    }
    if (key == kF7) {
        browserlist_.new_folder();
        return true;
    }
    if (path.empty()) return false;
    const NameRules rules = actions_.name_rules ? actions_.name_rules() : NameRules{};
    if (key == kInsert) {
        if (dir && actions_.add_folder) actions_.add_folder(path);
        if (!dir && actions_.add_file) actions_.add_file(path);
    } else if (key == kF3) {
        if (!dir) {
            rename_file_by_tag(*this, path, rules);
        } else if (ask("Rename files in folder " + file_name_of(path.substr(0, path.size() - 1)) +
                           " ?",
                       false) == Answer::Yes) {
            RenameFolderFiles(*this, path, rules);
        }
        browserlist_.refresh();
    } else if (key == kF4 && !dir) {
        make_artist_folder(*this, path, rules);
        browserlist_.refresh();
        browserlist_.on_changed();
    }
    return true;
}

void ExplorerPage::browsrtreeKeyDown(WORD key) {
    const widgets::ShellItem* f = browsrtree_.selected();
    if (key == kInsert && !shift_alone() && f && !f->path.empty() && actions_.add_folder)
        actions_.add_folder(f->path);
}

LRESULT ExplorerPage::handle_message(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_SIZE:
            layout();
            return 0;
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
    return !path.empty() && actions_.IsSupported && actions_.IsSupported(path);
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
