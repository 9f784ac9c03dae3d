#include "widgets/shell_items.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>

#include "base/paths.h"
#include "win/handles.h"

namespace widgets {

namespace {

constexpr SFGAOF kWanted =
    SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR | SFGAO_STREAM;

bool is_empty(PCIDLIST_ABSOLUTE pidl) {
    return !pidl || pidl->mkid.cb == 0;
}

std::string display_name(IShellFolder* folder, PCUITEMID_CHILD child,
                         SHGDNF flags = SHGDN_INFOLDER) {
    STRRET s{};
    char buf[MAX_PATH] = {};
    if (FAILED(folder->GetDisplayNameOf(child, flags, &s)) ||
        FAILED(StrRetToBufA(&s, child, buf, sizeof buf)))
        return {};
    return buf;
}

// Archives may call themselves folders; they open as files here.
bool folder_attributes(SFGAOF a) {
    return (a & SFGAO_FOLDER) && !(a & SFGAO_STREAM);
}

// folder_path: the parent's file-system path ending in "\\", or "" to ask each item.
ShellItem make_item(IShellFolder* parent, PCIDLIST_ABSOLUTE folder, const std::string& folder_path,
                    PCUITEMID_CHILD child, SFGAOF attributes) {
    ShellItem item;
    item.pidl = win::Pidl(ILCombine(folder, child));
    item.folder = folder_attributes(attributes);
    item.has_subfolders = (attributes & SFGAO_HASSUBFOLDER) != 0;
    if (attributes & SFGAO_FILESYSTEM) {
        // The parsing name is cheap; a path asked from the item list is slow.
        const std::string name =
            folder_path.empty() ? std::string()
                                : display_name(parent, child, SHGDN_INFOLDER | SHGDN_FORPARSING);
        item.path = !name.empty() && name.find_first_of("\\:") == std::string::npos
                        ? folder_path + name
                        : path_of(item.pidl.get());
    }
    // A file's own name, which renames show, is also quicker to have than the shell's.
    if (!item.folder && !item.path.empty())
        item.name = file_name_of(item.path);
    else
        item.name = display_name(parent, child);
    if (item.folder && !item.path.empty() && item.path.back() != '\\') item.path += '\\';
    return item;
}

class DropSource final : public IDropSource {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IDropSource) {
            *out = static_cast<IDropSource*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // Lives on the stack for the one drag.
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
        if (escape) return DRAGDROP_S_CANCEL;
        return keys & (MK_LBUTTON | MK_RBUTTON) ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

}  // namespace

win::ComPtr<IShellFolder> bind_folder(PCIDLIST_ABSOLUTE folder) {
    win::ComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.put()))) return {};
    if (is_empty(folder)) return desktop;
    win::ComPtr<IShellFolder> f;
    if (FAILED(desktop->BindToObject(folder, nullptr, IID_IShellFolder, f.put_void()))) return {};
    return f;
}

win::Pidl desktop_pidl() {
    win::Pidl p;
    SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, p.put());
    return p;
}

std::string path_of(PCIDLIST_ABSOLUTE pidl) {
    char buf[MAX_PATH] = {};
    if (!pidl || !SHGetPathFromIDListA(pidl, buf)) return {};
    return buf;
}

win::Pidl pidl_of(const std::string& path) {
    win::Pidl p;
    win::ComPtr<IShellFolder> desktop;
    if (path.empty() || FAILED(SHGetDesktopFolder(desktop.put()))) return p;
    std::wstring wide(path.size() + 1, L'\0');
    const int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(),
                                      static_cast<int>(wide.size()));
    if (n <= 0) return p;
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, p.put(), nullptr)))
        return win::Pidl();
    return p;
}

ShellItem describe(PCIDLIST_ABSOLUTE pidl) {
    if (is_empty(pidl)) {
        ShellItem item;
        item.pidl = desktop_pidl();
        win::ComPtr<IShellFolder> desktop = bind_folder(nullptr);
        STRRET s{};
        char buf[MAX_PATH] = "Desktop";
        if (desktop && SUCCEEDED(desktop->GetDisplayNameOf(item.pidl.get(), SHGDN_NORMAL, &s)))
            StrRetToBufA(&s, item.pidl.get(), buf, sizeof buf);
        item.name = buf;
        item.folder = item.has_subfolders = true;
        item.icon = icon_of(item.pidl.get());
        return item;
    }
    win::ComPtr<IShellFolder> parent;
    PCUITEMID_CHILD child = nullptr;
    if (FAILED(SHBindToParent(pidl, IID_IShellFolder, parent.put_void(), &child))) return {};
    SFGAOF a = kWanted;
    if (FAILED(parent->GetAttributesOf(1, &child, &a))) a = 0;
    win::Pidl folder(ILClone(pidl));
    ILRemoveLastID(folder.get());
    return make_item(parent.get(), folder.get(), std::string(), child, a);
}

std::vector<ShellItem> list_children(PCIDLIST_ABSOLUTE folder, bool with_files) {
    std::vector<ShellItem> items;
    win::ComPtr<IShellFolder> f = bind_folder(folder);
    if (!f) return items;
    win::ComPtr<IEnumIDList> e;
    const SHCONTF flags =
        SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN | (with_files ? SHCONTF_NONFOLDERS : 0);
    if (f->EnumObjects(nullptr, flags, e.put()) != S_OK || !e) return items;
    // The desktop merges folders of its own: its items are asked one by one.
    std::string base = is_empty(folder) ? std::string() : path_of(folder);
    if (!base.empty()) base = with_backslash(base);
    for (;;) {
        win::Pidl child;
        ULONG fetched = 0;
        if (e->Next(1, child.put(), &fetched) != S_OK || fetched != 1) break;
        SFGAOF a = kWanted;
        PCUITEMID_CHILD c = child.get();
        if (FAILED(f->GetAttributesOf(1, &c, &a))) continue;
        // Only what holds files or leads to them: no control panel, printers, bin.
        if (folder_attributes(a) ? !(a & (SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR))
                                 : !with_files || !(a & SFGAO_FILESYSTEM))
            continue;
        items.push_back(make_item(f.get(), folder, base, c, a));
    }
    std::stable_sort(items.begin(), items.end(), [](const ShellItem& x, const ShellItem& y) {
        if (x.folder != y.folder) return x.folder;
        return lstrcmpiA(x.name.c_str(), y.name.c_str()) < 0;
    });
    return items;
}

int icon_of(PCIDLIST_ABSOLUTE pidl) {
    SHFILEINFOA info{};
    if (!SHGetFileInfoA(reinterpret_cast<LPCSTR>(pidl), 0, &info, sizeof info,
                        SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON))
        return -1;
    return info.iIcon;
}

HIMAGELIST system_small_icons() {
    SHFILEINFOA info{};
    return reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
}

void show_context_menu(HWND owner, PCIDLIST_ABSOLUTE item, POINT screen) {
    win::ComPtr<IShellFolder> parent;
    PCUITEMID_CHILD child = nullptr;
    if (is_empty(item) || FAILED(SHBindToParent(item, IID_IShellFolder, parent.put_void(), &child)))
        return;
    win::ComPtr<IContextMenu> menu;
    if (FAILED(parent->GetUIObjectOf(owner, 1, &child, IID_IContextMenu, nullptr, menu.put_void())))
        return;
    win::Unique<HMENU, win::DestroyMenuHandle> popup(CreatePopupMenu());
    constexpr UINT kFirst = 1;
    if (!popup || FAILED(menu->QueryContextMenu(popup.get(), 0, kFirst, 0x7FFF, CMF_NORMAL)))
        return;
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(
        popup.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr));
    if (chosen < kFirst) return;
    CMINVOKECOMMANDINFO info{};
    info.cbSize = sizeof info;
    info.hwnd = owner;
    info.lpVerb = MAKEINTRESOURCEA(chosen - kFirst);
    info.nShow = SW_SHOWNORMAL;
    menu->InvokeCommand(&info);
}

void drag_items(const std::vector<PCIDLIST_ABSOLUTE>& items) {
    if (items.empty() || is_empty(items.front())) return;
    win::ComPtr<IShellFolder> parent;
    PCUITEMID_CHILD first = nullptr;
    if (FAILED(SHBindToParent(items.front(), IID_IShellFolder, parent.put_void(), &first))) return;
    std::vector<PCUITEMID_CHILD> children;
    for (PCIDLIST_ABSOLUTE p : items) children.push_back(ILFindLastID(p));
    win::ComPtr<IDataObject> data;
    if (FAILED(parent->GetUIObjectOf(nullptr, static_cast<UINT>(children.size()), children.data(),
                                     IID_IDataObject, nullptr, data.put_void())))
        return;
    DropSource source;
    DWORD effect = 0;
    DoDragDrop(data.get(), &source, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, &effect);
}

}  // namespace widgets
