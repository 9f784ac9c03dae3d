// The explorer page: Alt+I on a listed file, which the list receives as a
// system key, reaches the file information opener (in the test process);
// Insert on a folder of the tree opens the folder chooser on it, and the
// chooser refuses a folder that does not exist (in a running player).
#include <gtest/gtest.h>

#include "playlist/explorer_page.h"
#include "win_process.h"

namespace {

// The system control inside one of the page's shell widgets.
HWND inner(HWND page, const char* widget, const char* control) {
    return FindWindowExA(FindWindowExA(page, nullptr, widget, nullptr), nullptr, control, nullptr);
}

// Asked from the window itself: GetWindowTextA reads no control of another process.
std::string window_text(HWND w) {
    char buf[MAX_PATH] = {};
    SendMessageA(w, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
    return buf;
}

TEST(ExplorerPage, AltIOnAFileOpensItsInformation) {
    const std::string folder = make_temp_folder("explorer_alt_i");
    write_text(folder + "a.wav", "RIFF");
    write_text(folder + "b.txt", "text");
    std::string opened;
    ExplorerActions a;
    a.IsSupported = [](const std::string& p) {
        return p.size() > 4 && p.substr(p.size() - 4) == ".wav";
    };
    a.QuickInfo = [](const std::string&, FileInfoRec&) {};
    a.file_info = [&](const std::string& p) { opened = p; };
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ExplorerPage page;
    ASSERT_TRUE(page.create(GetModuleHandleA(nullptr), parent, a));
    page.set_folder(folder);
    HWND list = inner(page.handle(), "VlShellList", WC_LISTVIEWA);
    ASSERT_NE(list, nullptr);
    // Only the playable file is listed.
    ASSERT_TRUE(wait_until([&] { return ListView_GetItemCount(list) >= 1; }, 10000));
    EXPECT_EQ(ListView_GetItemCount(list), 1);
    ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageA(list, WM_SYSKEYDOWN, 'I', 1 << 29);  // with Alt
    EXPECT_EQ(lstrcmpiA(opened.c_str(), (folder + "a.wav").c_str()), 0) << opened;
    opened.clear();
    SendMessageA(list, WM_SYSKEYDOWN, 'I', 0);  // a system key without Alt (F10 held)
    EXPECT_EQ(opened, "");
    DestroyWindow(parent);
    remove_tree(folder);
}

TEST(ExplorerPage, InsertOnATreeFolderOpensTheChooserWhichRefusesAMissingFolder) {
    ProgramFolder f("explorer_insert");
    const std::string music = f.root + "music\\";
    CreateDirectoryA(music.c_str(), nullptr);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Dunmoor\\VELTRona\\Folders", 0, nullptr,
                              0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    for (const char* name : {"Dialog_OS", "Explorer"})
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(music.c_str()),
                       static_cast<DWORD>(music.size() + 1));
    RegCloseKey(key);

    Player p(f, "");
    ASSERT_NE(p.main_window(), nullptr);
    HWND list = nullptr;
    ASSERT_TRUE(
        wait_until([&] { return (list = p.window_of_class("Tsuperplaylist")) != nullptr; }, 5000));
    // The page is made when the EXPLORER button first shows it.
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 24));
    PostMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(40, 24));
    HWND tree = nullptr;
    ASSERT_TRUE(wait_until(
        [&] {
            tree = inner(FindWindowExA(list, nullptr, "VlExplorerPage", nullptr), "VlShellTree",
                         WC_TREEVIEWA);
            return tree != nullptr;
        },
        5000));
    // The tree opens along the saved folder.
    ASSERT_TRUE(wait_until([&] { return TreeView_GetSelection(tree) != nullptr; }, 10000));
    SendMessageA(tree, WM_KEYDOWN, VK_INSERT, 0);
    HWND chooser = nullptr;
    ASSERT_TRUE(wait_until(
        [&] {
            chooser = p.window_of_class("Tselect_dir");
            return chooser && IsWindowVisible(chooser);
        },
        5000));
    HWND box = FindWindowExA(chooser, nullptr, "COMBOBOX", nullptr);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(lstrcmpiA(window_text(box).c_str(), music.c_str()), 0) << window_text(box);

    const std::string gone = f.root + "gone\\";
    SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(gone.c_str()));
    PostMessageA(chooser, WM_COMMAND, IDOK, 0);  // the answer is a modal box
    std::string text;
    HWND error = p.wait_error_box(text, 10000);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(text, "Directory doesn't exist");
    PostMessageA(error, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(p.close(), 0);
}

}  // namespace
