// The settings dialog of a running player: pages by menu command and by
// tree node, a language file, values kept across a restart, bad input.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "base/commands.h"
#include "win_process.h"

namespace {

constexpr const char* kPages[] = {"sys_pan",  "plug_pan", "file_pan", "lang_pan",     "otf_pan",
                                  "stud_pan", "dis_pan",  "ave_pan",  "playskin_pan", "plexp_pan"};

void copy_folder(const std::string& from, const std::string& to) {
    CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((from + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = fd.cFileName;
        if (name == "." || name == "..") continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            copy_folder(from + "\\" + name, to + "\\" + name);
        else
            CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
}

// A program folder with the shipped skins, effects, languages and help.
struct DialogFolder : ProgramFolder {
    DialogFolder() : ProgramFolder("settings") {
        const std::string program = wine_path(VL_PROGRAM_DIR_UNIX);
        for (const char* sub : {"skins", "ave", "langs", "system"})
            copy_folder(program + "\\" + sub, root + sub);
        add_plugin("vl_test", "vl_test.dll");
    }
};

std::string text_of(HWND h) {
    char buf[512] = {};
    SendMessageTimeoutA(h, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_BLOCK, 5000,
                        nullptr);
    return buf;
}

HWND panel(HWND dialog, const char* name) {
    return FindWindowExA(dialog, nullptr, "TinitialPanel", name);
}

// The one page panel shown, or "".
std::string shown_page(HWND dialog) {
    std::string shown;
    for (const char* p : kPages)
        if (IsWindowVisible(panel(dialog, p))) shown += p;
    return shown;
}

HWND child(HWND parent, const char* cls, const char* text, int skip = 0) {
    HWND h = nullptr;
    do h = FindWindowExA(parent, h, cls, text);
    while (h && skip-- > 0);
    return h;
}

// Reads a tree node's text from the player's process.
std::string node_text(DWORD pid, HWND tree, HTREEITEM item) {
    HANDLE proc =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!proc) return "<no process>";
    char* remote = static_cast<char*>(
        VirtualAllocEx(proc, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = remote + sizeof tv;
    tv.cchTextMax = 256;
    WriteProcessMemory(proc, remote, &tv, sizeof tv, nullptr);
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote));
    char text[257] = {};
    ReadProcessMemory(proc, remote + sizeof tv, text, 256, nullptr);
    VirtualFreeEx(proc, remote, 0, MEM_RELEASE);
    CloseHandle(proc);
    return text;
}

// The skin list's index of a skin: the page lists the folders in the file
// system's order.
int skin_index(const std::string& skins, const std::string& name) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((skins + "*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return -1;
    int i = 0, found = -1;
    do {
        const std::string n = fd.cFileName;
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || n == "." || n == "..") continue;
        if (n == name) found = i;
        ++i;
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return found;
}

// A pixel of the main window's face, read from the screen.
COLORREF face_pixel(HWND main, int x, int y) {
    RECT r;
    GetWindowRect(main, &r);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, r.left + x, r.top + y);
    ReleaseDC(nullptr, screen);
    return c;
}

std::vector<HTREEITEM> nodes(HWND tree) {
    std::vector<HTREEITEM> out;
    for (auto n = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)); n;
         n = reinterpret_cast<HTREEITEM>(
             SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, reinterpret_cast<LPARAM>(n))))
        out.push_back(n);
    return out;
}

// Saves the dialog as a BMP when VL_SHOTS is set, for looking at the pages.
void shot(HWND w, const std::string& name) {
    const std::string folder = env_value("VL_SHOTS");
    if (folder.empty()) return;
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(300);  // screenshots only: let the other process paint
    RECT r;
    GetWindowRect(w, &r);
    const int cx = r.right - r.left, cy = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), cx, cy, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, cx, cy, screen, r.left, r.top, SRCCOPY);
    const DWORD row = static_cast<DWORD>((cx * 3 + 3) & ~3), size = row * static_cast<DWORD>(cy);
    BITMAPFILEHEADER fh{0x4D42, static_cast<DWORD>(sizeof fh + sizeof bi.bmiHeader + size), 0, 0,
                        static_cast<DWORD>(sizeof fh + sizeof bi.bmiHeader)};
    std::string data(reinterpret_cast<const char*>(&fh), sizeof fh);
    data.append(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof bi.bmiHeader);
    data.append(static_cast<const char*>(bits), size);
    write_text(folder + "\\" + name + ".bmp", data);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
}

class SettingsDialog : public ::testing::Test {
  protected:
    DialogFolder folder;

    // Runs a command of the main window and waits for the visible dialog.
    HWND open(Player& p, Command page) {
        HWND main = p.main_window();
        if (!main) return nullptr;
        PostMessageA(main, WM_COMMAND, id_of(page), 0);
        HWND dialog = nullptr;
        wait_until(
            [&] {
                dialog = p.window_of_class("Tinitial");
                return dialog && IsWindowVisible(dialog);
            },
            15000);
        return dialog;
    }
};

TEST_F(SettingsDialog, MenuCommandsOpenTheirPagesAndEveryNodeShowsItsPage) {
    Player p(folder, "");
    const struct {
        Command c;
        const char* page;
    } commands[] = {
        {Command::SettingsDisplay, "dis_pan"},        {Command::SettingsSystem, "sys_pan"},
        {Command::SettingsPlugins, "plug_pan"},       {Command::SettingsFileTypes, "file_pan"},
        {Command::SettingsLanguage, "lang_pan"},      {Command::SettingsOutputFiles, "otf_pan"},
        {Command::SettingsStudios, "stud_pan"},       {Command::SettingsAve, "ave_pan"},
        {Command::SettingsPlayerSkin, "playskin_pan"}};
    HWND dialog = nullptr;
    for (const auto& c : commands) {
        dialog = open(p, c.c);
        ASSERT_TRUE(dialog);
        EXPECT_TRUE(wait_until([&] { return shown_page(dialog) == c.page; }, 5000)) << c.page;
    }
    RECT client;
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, 427);
    EXPECT_EQ(client.bottom, 334);

    HWND tree = FindWindowExA(dialog, nullptr, WC_TREEVIEWA, nullptr);
    const std::vector<HTREEITEM> all = nodes(tree);
    ASSERT_EQ(all.size(), 11u);  // fully expanded
    const char* expected[11] = {"sys_pan", "plug_pan",     "file_pan", "lang_pan",
                                "otf_pan", "stud_pan",     "stud_pan", "dis_pan",
                                "ave_pan", "playskin_pan", "plexp_pan"};
    for (size_t i = 0; i < all.size(); ++i) {
        SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(all[i]));
        EXPECT_EQ(shown_page(dialog), expected[i]) << "node " << i;  // "Interface" keeps the page
        if (i != 6) shot(dialog, std::string("page_") + expected[i]);
    }
    EXPECT_EQ(text_of(child(panel(dialog, "plexp_pan"), "Static", nullptr)),
              "PlayList && Explorer");
    EXPECT_EQ(p.close(), 0);
}

TEST_F(SettingsDialog, LanguageFileReCaptionsTheTreeAndTitles) {
    write_text(folder.root + "langs\\Only.lng", "[Captions]\r\nsys_pan_cap=Nur System\r\n");
    Player p(folder, "");
    HWND dialog = open(p, Command::SettingsLanguage);
    ASSERT_TRUE(dialog);
    HWND lang = panel(dialog, "lang_pan");
    HWND box = child(lang, "ListBox", nullptr);
    HWND apply = child(lang, "Button", "Apply");
    HWND tree = FindWindowExA(dialog, nullptr, WC_TREEVIEWA, nullptr);
    ASSERT_EQ(SendMessageA(box, LB_GETCOUNT, 0, 0), 3);  // Deutsch, Only, Russian

    // Nothing selected: Apply does nothing.
    SendMessageA(lang, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(apply));
    EXPECT_EQ(node_text(p.process_id(), tree, nodes(tree)[0]), "System");

    SendMessageA(box, LB_SETCURSEL, 0, 0);
    SendMessageA(lang, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(apply));
    std::vector<HTREEITEM> all = nodes(tree);
    ASSERT_EQ(all.size(), 11u);
    EXPECT_EQ(node_text(p.process_id(), tree, all[3]), "Sprache");
    EXPECT_EQ(node_text(p.process_id(), tree, all[10]), "Liste & Explorer");
    EXPECT_EQ(text_of(child(panel(dialog, "sys_pan"), "Static", nullptr)), "Systemeinstellungen");
    EXPECT_EQ(text_of(child(lang, "Static", nullptr, 1)),
              "Verf\xfc"
              "gbare Sprachen");
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(all[0]));
    EXPECT_EQ(shown_page(dialog), "sys_pan");  // same pages under new texts
    shot(dialog, "tree_deutsch");
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(all[3]));

    // Only sys_pan_cap: every node and every other caption empty.
    SendMessageA(box, LB_SETCURSEL, 1, 0);
    SendMessageA(lang, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(apply));
    for (HTREEITEM n : nodes(tree)) EXPECT_EQ(node_text(p.process_id(), tree, n), "");
    EXPECT_EQ(text_of(child(panel(dialog, "sys_pan"), "Static", nullptr)), "Nur System");
    EXPECT_EQ(text_of(child(lang, "Static", nullptr)), "");

    // A file deleted after the list was filled: nothing changes.
    DeleteFileA((folder.root + "langs\\Russian.lng").c_str());
    SendMessageA(box, LB_SETCURSEL, 2, 0);
    SendMessageA(lang, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(apply));
    EXPECT_EQ(text_of(child(panel(dialog, "sys_pan"), "Static", nullptr)), "Nur System");
    EXPECT_EQ(p.close(), 0);
}

TEST_F(SettingsDialog, ChangesSurviveARestart) {
    {
        Player p(folder, "");
        HWND dialog = open(p, Command::SettingsSystem);
        ASSERT_TRUE(dialog);
        HWND sys = panel(dialog, "sys_pan");
        HWND refr = child(sys, TRACKBAR_CLASSA, nullptr);
        SendMessageA(refr, TBM_SETPOS, TRUE, 50);
        SendMessageA(sys, WM_HSCROLL, SB_THUMBPOSITION, reinterpret_cast<LPARAM>(refr));
        EXPECT_EQ(text_of(child(sys, "Static", "50 msec")), "50 msec");
        HWND dis = panel(dialog, "dis_pan");
        SendMessageA(child(dis, "Button", "None"), BM_CLICK, 0, 0);
        EXPECT_FALSE(IsWindowEnabled(child(dis, "Button", "Dots")));
        EXPECT_FALSE(IsWindowEnabled(child(dis, "Button", "Use skin colors")));
        SendMessageA(child(dis, "Button", "AVE"), BM_CLICK, 0, 0);
        EXPECT_FALSE(IsWindowEnabled(child(dis, "Button", "Dots")));
        EXPECT_TRUE(IsWindowEnabled(child(dis, "Button", "Use skin colors")));
        SendMessageA(child(dis, "Button", "Seconds"), BM_CLICK, 0, 0);
        SendMessageA(child(panel(dialog, "plexp_pan"), "Button", "Show Album"), BM_CLICK, 0, 0);
        PostMessageA(dialog, WM_CLOSE, 0, 0);
        EXPECT_TRUE(wait_until([&] { return !IsWindowVisible(dialog); }, 5000));
        EXPECT_EQ(p.close(), 0);
    }
    Player p(folder, "");
    HWND dialog = open(p, Command::Settings);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(shown_page(dialog), "sys_pan");
    HWND sys = panel(dialog, "sys_pan");
    EXPECT_EQ(SendMessageA(child(sys, TRACKBAR_CLASSA, nullptr), TBM_GETPOS, 0, 0), 50);
    HWND dis = panel(dialog, "dis_pan");
    EXPECT_EQ(SendMessageA(child(dis, "Button", "AVE"), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(child(dis, "Button", "Seconds"), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(
        SendMessageA(child(panel(dialog, "plexp_pan"), "Button", "Show Album"), BM_GETCHECK, 0, 0),
        BST_CHECKED);
    EXPECT_EQ(p.close(), 0);
}

TEST_F(SettingsDialog, SecondSkinAndBackABrokenSkinFolderChangesNothing) {
    CreateDirectoryA((folder.root + "skins\\Broken").c_str(), nullptr);
    write_text(folder.root + "skins\\Broken\\colors.ini", "[Face\r\nR_scope=zz\r\n");
    Player p(folder, "");
    HWND main = p.main_window();
    HWND dialog = open(p, Command::SettingsPlayerSkin);
    ASSERT_TRUE(dialog);
    HWND skin = panel(dialog, "playskin_pan");
    HWND box = child(skin, "ListBox", nullptr);
    HWND apply = child(skin, "Button", "Apply");
    const auto choose = [&](const char* name) {
        SendMessageA(box, LB_SETCURSEL,
                     static_cast<WPARAM>(skin_index(folder.root + "skins\\", name)), 0);
        PostMessageA(skin, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(apply));
    };
    const COLORREF before = face_pixel(main, 30, 120);
    choose("Copper");
    EXPECT_TRUE(wait_until([&] { return face_pixel(main, 30, 120) != before; }, 5000));
    const COLORREF copper = face_pixel(main, 30, 120);
    shot(main, "face_copper");
    choose("Broken");
    std::string text;
    HWND box_error = p.wait_error_box(text, 5000);
    ASSERT_TRUE(box_error);
    EXPECT_NE(text.find("Broken"), std::string::npos);
    PostMessageA(box_error, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(face_pixel(main, 30, 120), copper);
    choose("Default");
    EXPECT_TRUE(wait_until([&] { return face_pixel(main, 30, 120) == before; }, 5000));
    EXPECT_EQ(p.close(), 0);
}

TEST_F(SettingsDialog, StudioEditorRefusesAnEmptyNameAndKeepsTheList) {
    Player p(folder, "");
    HWND dialog = open(p, Command::SettingsStudios);
    ASSERT_TRUE(dialog);
    HWND stud = panel(dialog, "stud_pan");
    PostMessageA(stud, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(child(stud, "Button", "Add")));
    HWND editor = nullptr;
    ASSERT_TRUE(
        wait_until([&] { return (editor = FindWindowA("#32770", "Add/Edit Studio")); }, 10000));
    PostMessageA(editor, WM_COMMAND, IDOK, 0);
    HWND warning = nullptr;
    EXPECT_TRUE(wait_until(
        [&] {
            warning = FindWindowExA(nullptr, nullptr, "#32770", "Add/Edit Studio");
            return warning && warning != editor;
        },
        10000));
    char msg[256] = {};
    GetDlgItemTextA(warning, 0xFFFF, msg, sizeof msg);
    EXPECT_STREQ(msg, "Enter the studio name.");
    PostMessageA(warning, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(wait_until([&] { return IsWindowEnabled(editor); }, 5000));
    SetDlgItemTextA(editor, 101, "Notepad");
    SetDlgItemTextA(editor, 102, (folder.root + "veltrona.exe").c_str());
    PostMessageA(editor, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(wait_until(
        [&] { return SendMessageA(child(stud, "ListBox", nullptr), LB_GETCOUNT, 0, 0) == 1; },
        10000));
    EXPECT_EQ(p.close(), 0);
    EXPECT_NE(read_text(folder.root + "plugins\\studio.ini").find("Name0=Notepad"),
              std::string::npos);
}

}  // namespace
