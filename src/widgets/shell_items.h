// The shell namespace as the shell tree and the shell list see it: the items
// of a folder (Desktop, My Computer, drives, file-system folders and files),
// paths turned into item lists and back, the shell's context menu of an item
// and dragging items to other windows.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "win/com_ptr.h"

namespace widgets {

struct ShellItem {
    win::Pidl pidl;    // absolute
    std::string name;  // as the shell shows it inside its folder
    std::string path;  // file-system path, folders ending in "\"; "" for virtual items
    bool folder = false;
    bool has_subfolders = false;
    int icon = -1;  // in the system's small image list; -1 until asked (icon_of)
};

// The folder of an absolute item list (the desktop for the empty list).
win::ComPtr<IShellFolder> bind_folder(PCIDLIST_ABSOLUTE folder);
// The desktop's own item list.
win::Pidl desktop_pidl();
// The file-system path of an item; folders end in "\"; "" for virtual items.
std::string path_of(PCIDLIST_ABSOLUTE pidl);
// The item of a path, or an empty list when the shell does not know it.
win::Pidl pidl_of(const std::string& path);
// An item as the shell describes it.
ShellItem describe(PCIDLIST_ABSOLUTE pidl);

// Folders (and files when asked) of a folder, hidden ones too; only what
// the file system holds or leads to. Folders first, then by name.
std::vector<ShellItem> list_children(PCIDLIST_ABSOLUTE folder, bool with_files);

// An item's icon in the system's small image list. Slow: ask only for the
// items in view.
int icon_of(PCIDLIST_ABSOLUTE pidl);
// The system's image list of small icons (owned by the system).
HIMAGELIST system_small_icons();

// The shell's menu for one item at a screen point; runs the chosen command.
void show_context_menu(HWND owner, PCIDLIST_ABSOLUTE item, POINT screen);

// Drags items of one folder with the shell's data object (files for other
// programs and for the shell's folders); returns when the drop is over.
void drag_items(const std::vector<PCIDLIST_ABSOLUTE>& items);

}  // namespace widgets
