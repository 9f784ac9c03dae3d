#include "widgets/shell_tree.h"

#include <cstring>

namespace widgets {

bool ShellTree::create(HINSTANCE instance, HWND parent) {
    const win::WindowClass wc{kClassName, 0, nullptr, nullptr};
    if (!create_window(instance, wc, 0, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 10, 10,
                       parent))
        return false;
    tree_ = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES |
                                TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                            0, 0, 10, 10, hwnd_, nullptr, instance, nullptr);
    if (!tree_) return false;
    SendMessageA(tree_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    SendMessageA(tree_, TVM_SETIMAGELIST, TVSIL_NORMAL,
                 reinterpret_cast<LPARAM>(system_small_icons()));
    drop_.attach(tree_);
    const win::Pidl desktop = desktop_pidl();
    const HTREEITEM root = add(TVI_ROOT, describe(desktop.get()));
    SendMessageA(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
    return true;
}

HTREEITEM ShellTree::add(HTREEITEM parent, ShellItem item) {
    auto owned = std::make_unique<ShellItem>(std::move(item));
    if (owned->icon < 0) owned->icon = icon_of(owned->pidl.get());
    TVINSERTSTRUCTA ins{};
    ins.hParent = parent;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_CHILDREN | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    ins.item.pszText = const_cast<char*>(owned->name.c_str());
    // Every folder gets a button; opening one without subfolders removes it.
    ins.item.cChildren = 1;
    ins.item.iImage = ins.item.iSelectedImage = owned->icon;
    ins.item.lParam = reinterpret_cast<LPARAM>(owned.get());
    const auto h = reinterpret_cast<HTREEITEM>(
        SendMessageA(tree_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
    if (h) items_.emplace(owned.get(), std::move(owned));
    return h;
}

ShellItem* ShellTree::item_of(HTREEITEM h) const {
    if (!h) return nullptr;
    TVITEMA it{};
    it.mask = TVIF_PARAM;
    it.hItem = h;
    if (!SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it))) return nullptr;
    return reinterpret_cast<ShellItem*>(it.lParam);
}

HTREEITEM ShellTree::next(HTREEITEM h, UINT which) const {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree_, TVM_GETNEXTITEM, which, reinterpret_cast<LPARAM>(h)));
}

// The subfolders of an item, read when it is first opened.
void ShellTree::expand(HTREEITEM h) {
    const ShellItem* item = item_of(h);
    if (!item || next(h, TVGN_CHILD)) return;
    const std::vector<ShellItem> children = list_children(item->pidl.get(), false);
    for (const ShellItem& c : children) add(h, c);
    if (children.empty()) {
        TVITEMA it{};
        it.mask = TVIF_CHILDREN;
        it.hItem = h;
        SendMessageA(tree_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&it));
    }
}

void ShellTree::select(PCIDLIST_ABSOLUTE folder) {
    HTREEITEM h = next(nullptr, TVGN_ROOT);
    while (h && folder) {
        const ShellItem* item = item_of(h);
        if (!item || ILIsEqual(item->pidl.get(), folder)) break;
        expand(h);
        HTREEITEM c = next(h, TVGN_CHILD);
        for (; c; c = next(c, TVGN_NEXT)) {
            const ShellItem* ci = item_of(c);
            if (ci &&
                (ILIsEqual(ci->pidl.get(), folder) || ILIsParent(ci->pidl.get(), folder, FALSE)))
                break;
        }
        if (!c) break;
        SendMessageA(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(h));
        h = c;
    }
    if (!h) return;
    selecting_ = true;
    SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(h));
    SendMessageA(tree_, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(h));
    // A deep folder in a narrow tree: the names' beginnings stay in view.
    SendMessageA(tree_, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
    selecting_ = false;
}

const ShellItem* ShellTree::selected() const {
    return item_of(next(nullptr, TVGN_CARET));
}

void ShellTree::refresh_selected() {
    const HTREEITEM h = next(nullptr, TVGN_CARET);
    if (!h) return;
    const bool open =
        (SendMessageA(tree_, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(h), TVIS_EXPANDED) &
         TVIS_EXPANDED) != 0;
    SendMessageA(tree_, WM_SETREDRAW, FALSE, 0);
    while (HTREEITEM c = next(h, TVGN_CHILD))
        SendMessageA(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(c));
    TVITEMA it{};
    it.mask = TVIF_CHILDREN;
    it.hItem = h;
    it.cChildren = 1;
    SendMessageA(tree_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&it));
    if (open) {
        expand(h);
        SendMessageA(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(h));
    }
    SendMessageA(tree_, WM_SETREDRAW, TRUE, 0);
}

HTREEITEM ShellTree::item_at(POINT screen) const {
    TVHITTESTINFO hit{};
    hit.pt = screen;
    ScreenToClient(tree_, &hit.pt);
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

void ShellTree::context_menu(LPARAM lp) {
    POINT p = win::point_of(lp);
    HTREEITEM h = nullptr;
    if (p.x == -1 && p.y == -1) {  // from the keyboard: the selected folder
        h = next(nullptr, TVGN_CARET);
        RECT r{};
        std::memcpy(&r, &h, sizeof h);  // the item goes in, its rectangle comes out
        if (!h || !SendMessageA(tree_, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r))) return;
        p = POINT{r.left, r.bottom};
        ClientToScreen(tree_, &p);
    } else {
        h = item_at(p);
    }
    if (const ShellItem* item = item_of(h)) show_context_menu(hwnd_, item->pidl.get(), p);
}

LRESULT ShellTree::on_notify(NMHDR* n) {
    if (n->hwndFrom != tree_) return 0;
    auto* tv = reinterpret_cast<NMTREEVIEWA*>(n);
    switch (n->code) {
        case TVN_ITEMEXPANDINGA:
        case TVN_ITEMEXPANDINGW:
            expand(tv->itemNew.hItem);
            return 0;
        case TVN_SELCHANGEDA:
        case TVN_SELCHANGEDW:
            if (const ShellItem* item = item_of(tv->itemNew.hItem);
                item && !selecting_ && on_select)
                on_select(*item);
            return 0;
        case TVN_DELETEITEMA:
        case TVN_DELETEITEMW:
            items_.erase(reinterpret_cast<const ShellItem*>(tv->itemOld.lParam));
            return 0;
        case TVN_BEGINDRAGA:
        case TVN_BEGINDRAGW:
            if (const ShellItem* item = item_of(tv->itemNew.hItem)) drag_items({item->pidl.get()});
            return 0;
        case TVN_KEYDOWN:
            if (on_key) on_key(reinterpret_cast<NMTVKEYDOWN*>(n)->wVKey);
            return 0;
        default:
            return 0;
    }
}

LRESULT ShellTree::handle_message(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_SIZE:
            MoveWindow(tree_, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
            // A folder selected while the tree was hidden or small comes into view.
            SendMessageA(tree_, TVM_ENSUREVISIBLE, 0,
                         reinterpret_cast<LPARAM>(next(nullptr, TVGN_CARET)));
            return 0;
        case WM_SETFOCUS:
            SetFocus(tree_);
            return 0;
        case WM_NOTIFY:
            return on_notify(reinterpret_cast<NMHDR*>(lp));
        case WM_CONTEXTMENU:
            context_menu(lp);
            return 0;
        default:
            return default_message(msg, wp, lp);
    }
}

}  // namespace widgets
