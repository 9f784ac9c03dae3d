// The explorer page of the playlist window: the folder tree browsrtree beside
// the file list browserlist (folders and playable files with Format, Size and
// Artist - Title), a splitter between them, and the page's keys. File
// information is read in short slices on a timer, so a big folder fills in
// row by row while the window stays responsive.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "playlist/explorer_ops.h"
#include "win/handles.h"
#include "win/window.h"

struct CloseChangeNotification {
    void operator()(HANDLE h) const { FindCloseChangeNotification(h); }
};

struct ExplorerActions {
    std::function<bool(const std::string&)> IsSupported;
    std::function<void(const std::string&, FileInfoRec&)> QuickInfo;
    std::function<void(const std::string&)> play;        // double click, Enter
    std::function<void(const std::string&)> add_file;    // Insert on a file
    std::function<void(const std::string&)> add_folder;  // Insert on a folder
    std::function<void(const std::string&)> file_info;   // Alt+I
    std::function<NameRules()> name_rules;
};

class ExplorerPage : public win::Window, private ExplorerHost {
  public:
    static constexpr const char* kClassName = "VlExplorerPage";

    bool create(HINSTANCE instance, HWND parent, ExplorerActions actions);
    // Shows a folder (ending in "\") in the list and selects it in the tree.
    void set_folder(const std::string& folder);
    const std::string& folder() const { return folder_; }

  private:
    struct Row {
        std::string name;
        bool is_dir = false;
        bool info_done = false;
        std::string format, size, artist_title;
    };

    LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp) override;
    LRESULT on_notify(NMHDR* n);
    void layout();
    void fill_roots();
    void expand(HTREEITEM item);
    std::string path_of(HTREEITEM item) const;
    void list_folder();
    void info_slice();
    void watch();
    int selected_row() const;
    std::string row_path(int row) const;
    void list_key(WORD key);
    // Alt+I reaches the list as a system key, which it does not report.
    static LRESULT CALLBACK list_sys_keys(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                          DWORD_PTR page);
    void new_folder();
    void end_rename(int row, const char* text);

    // ExplorerHost
    bool exists(const std::string& path) override;
    bool IsSupported(const std::string& path) override;
    void QuickInfo(const std::string& path, FileInfoRec& info) override;
    std::vector<DirEntry> list_dir(const std::string& pattern) override;
    Answer ask(const std::string& text, bool with_abort) override;
    void warn(const std::string& text) override;
    bool move_file(const std::string& from, const std::string& to) override;
    bool make_folder(const std::string& path) override;

    ExplorerActions actions_;
    HWND tree_ = nullptr;
    HWND list_ = nullptr;
    int tree_width_ = 83;
    bool splitting_ = false;
    std::string folder_;
    std::vector<Row> rows_;
    size_t next_info_ = 0;
    win::Unique<HANDLE, CloseChangeNotification> change_;  // the folder in view
};
