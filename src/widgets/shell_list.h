// The shell file list: the subfolders and files of one folder of the shell
// namespace in a report list with the shell's icons, the columns its owner
// adds after "Name", the shell's context menu, dragging items out, folder
// names edited in place, and a new listing whenever the folder changes on
// disk.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "widgets/folder_drop.h"
#include "widgets/shell_items.h"
#include "win/com_ptr.h"
#include "win/handles.h"
#include "win/window.h"

namespace widgets {

class ShellList : public win::Window {
  public:
    static constexpr const char* kClassName = "VlShellList";
    struct Column {
        std::string title;
        int width = 80;
        bool right = false;  // right-aligned
    };

    bool create(HINSTANCE instance, HWND parent, const std::vector<Column>& extra_columns);
    // Lists the folder; an empty item list lists the desktop.
    void show(PCIDLIST_ABSOLUTE folder);
    // Lists the folder in view again, keeping the selected name.
    void refresh();
    PCIDLIST_ABSOLUTE folder() const { return folder_.get(); }
    // The folder's file-system path ending in "\", or "" for a virtual folder.
    const std::string& folder_path() const { return folder_path_; }
    const std::vector<ShellItem>& items() const { return items_; }
    int selected() const;
    // Column 1 is the first extra column.
    void set_cell(int row, int column, const std::string& text);
    // A new folder in the folder in view, its name opened for editing.
    void new_folder();
    HWND list() const { return list_; }

    // Keeps an item in the listing (all are kept without it).
    std::function<bool(const ShellItem&)> accept;
    // A listing is complete.
    std::function<void()> on_filled;
    // The folder changed on disk (or by the list's own commands) and was listed again.
    std::function<void()> on_changed;
    // Double click or Enter on a row.
    std::function<void(int row)> on_open;
    // A key on the list; alt: it came as a system key with Alt alone held.
    // True when the key was used (a used system key goes no further).
    std::function<bool(WORD key, bool alt)> on_key;
    std::function<void(const std::string& text)> warn;

  private:
    LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp) override;
    LRESULT on_notify(NMHDR* n);
    void fill();
    void watch();
    void poll_changes();
    void context_menu(LPARAM lp);
    void end_rename(int row, const char* text);
    std::string drop_folder_at(POINT screen) const;
    static LRESULT CALLBACK list_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                      DWORD_PTR self);

    win::OleScope ole_;
    HWND list_ = nullptr;
    win::Pidl folder_;
    std::string folder_path_;
    std::vector<ShellItem> items_;
    win::ChangeNotification change_;  // the folder in view
    bool eat_syschar_ = false;
    FolderDropTarget drop_{[this](POINT p) { return drop_folder_at(p); }};
};

}  // namespace widgets
