// The explorer page of the playlist window: the shell folder tree browsrtree
// beside the shell file list browserlist (folders and playable files with
// Format, Size and Artist - Title), a splitter between them, and the page's
// keys. File information is read in short slices on a timer, so a big folder
// fills in row by row while the window stays responsive.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "playlist/explorer_ops.h"
#include "widgets/shell_list.h"
#include "widgets/shell_tree.h"
#include "win/window.h"

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
    // Shows a folder in the list and selects it in the tree; a path that does
    // not exist shows its nearest existing parent.
    void set_folder(const std::string& folder);
    // The folder in view, ending in "\"; "" for a folder outside the file system.
    const std::string& folder() const { return browserlist_.folder_path(); }

  private:
    LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp) override;
    void layout();
    void show(PCIDLIST_ABSOLUTE folder);
    void browserlistFillComplete();
    void info_slice();
    void browserlistDblClickOpen(int row);
    bool browserlistKeyDown(WORD key, bool alt);
    void browsrtreeKeyDown(WORD key);

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
    widgets::ShellTree browsrtree_;
    widgets::ShellList browserlist_;
    int tree_width_ = 83;
    bool splitting_ = false;
    std::vector<bool> info_done_;  // per row of the list
    size_t next_info_ = 0;
};
