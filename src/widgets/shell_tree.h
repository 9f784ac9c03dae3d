// The shell folder tree: the desktop with the folders of the shell namespace
// below it (My Computer, drives, file-system folders), each opened when the
// user first expands it, with the shell's icons and context menus.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

#include "widgets/folder_drop.h"
#include "widgets/shell_items.h"
#include "win/com_ptr.h"
#include "win/window.h"

namespace widgets {

class ShellTree : public win::Window {
  public:
    static constexpr const char* kClassName = "VlShellTree";

    bool create(HINSTANCE instance, HWND parent);
    // Opens the tree along the folder's item list and selects the deepest
    // folder of it that the tree holds.
    void select(PCIDLIST_ABSOLUTE folder);
    // The selected folder, or null.
    const ShellItem* selected() const;
    // Reads the children of the selected folder again (folders made or gone).
    void refresh_selected();
    HWND tree() const { return tree_; }

    std::function<void(const ShellItem&)> on_select;
    std::function<void(WORD key)> on_key;

  private:
    LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp) override;
    LRESULT on_notify(NMHDR* n);
    HTREEITEM add(HTREEITEM parent, ShellItem item);
    void expand(HTREEITEM item);
    ShellItem* item_of(HTREEITEM h) const;
    HTREEITEM next(HTREEITEM h, UINT which) const;
    void context_menu(LPARAM lp);
    HTREEITEM item_at(POINT screen) const;

    win::OleScope ole_;
    HWND tree_ = nullptr;
    // The tree items' data, by the pointer each item carries.
    std::unordered_map<const ShellItem*, std::unique_ptr<ShellItem>> items_;
    bool selecting_ = false;
    FolderDropTarget drop_{[this](POINT p) {
        const ShellItem* item = item_of(item_at(p));
        return item ? item->path : std::string();
    }};
};

}  // namespace widgets
