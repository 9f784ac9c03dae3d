// The notification-area icons and the popup menus of a running player.
#include <gtest/gtest.h>

#include "base/commands.h"
#include "win_process.h"
// after <windows.h>
#include <shellapi.h>

namespace {

int plays(const ProgramFolder& f) {
    int n = 0;
    for (const std::string& l : f.journal_lines()) n += l == "vl_test.dll setmode 1 0";
    return n;
}

bool modify_tip(HWND owner, UINT id) {
    NOTIFYICONDATAA nid{};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = owner;
    nid.uID = id;
    nid.uFlags = NIF_TIP;
    lstrcpynA(nid.szTip, "test", 64);
    return Shell_NotifyIconA(NIM_MODIFY, &nid) != FALSE;
}

TEST(Tray, IconsFollowTheSettingsAndTheirClicksAct) {
    ProgramFolder f("tray");
    f.add_plugin("vl_test", "vl_test.dll");
    write_text(f.root + "x.mp3", "test audio");
    HKEY k;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Dunmoor\\VELTRona\\System", 0, nullptr,
                              0, KEY_WRITE, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    // The section is read whole: every value of it, only Play shown.
    for (const char* name :
         {"show_tray_prev", "show_tray_rew", "show_tray_play", "show_tray_pause", "show_tray_stop",
          "show_tray_open", "show_tray_forw", "show_tray_next", "volume"}) {
        const DWORD v = std::string(name) == "show_tray_play" ? 1
                        : std::string(name) == "volume"       ? 100
                                                              : 0;
        RegSetValueExA(k, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
    }
    RegCloseKey(k);
    SetEnvironmentVariableA("VL_TEST_LENGTH_MS", "60000");
    Player p(f, f.root + "x.mp3");
    SetEnvironmentVariableA("VL_TEST_LENGTH_MS", nullptr);
    HWND w = p.main_window();
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(wait_until([&] { return plays(f) == 1; }, 10000));

    // The application icon and Play are there; Previous was not asked for.
    EXPECT_TRUE(modify_tip(w, 100));
    EXPECT_TRUE(modify_tip(w, 103));
    EXPECT_FALSE(modify_tip(w, 101));

    // Handled inside SendMessage: what it does has happened when it returns.
    SendMessageA(w, 1793, 103, WM_MOUSEMOVE);
    SendMessageA(w, 1793, 103, WM_LBUTTONDOWN);
    SendMessageA(w, 1792, 102, WM_LBUTTONUP);  // Rewind has no action
    EXPECT_EQ(plays(f), 1);
    SendMessageA(w, 1793, 103, WM_LBUTTONUP);  // Play restarts the file
    EXPECT_EQ(plays(f), 2);

    // Next's right button opens the playlist menu; Escape closes it.
    PostMessageA(w, 1798, 108, WM_RBUTTONUP);
    HWND menu = nullptr;
    ASSERT_TRUE(
        wait_until([&] { return (menu = p.window_of_class("VlPopupMenu")) != nullptr; }, 10000));
    char title[64] = {};
    GetWindowTextA(menu, title, sizeof title);
    EXPECT_STREQ(title, "Veltrona - PlayList");
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(wait_until([&] { return p.window_of_class("VlPopupMenu") == nullptr; }, 10000));
    EXPECT_EQ(p.close(), 0);
}

}  // namespace

namespace {

size_t position_queries(const ProgramFolder& f) {
    size_t n = 0;
    for (const std::string& l : f.journal_lines()) n += l == "vl_test.dll getmode 2";
    return n;
}

// A menu takes keys without taking activation: the meter goes on meanwhile,
// and the chosen item's command runs.
TEST(Menus, KeysChooseAnItemWhileTheMeterRuns) {
    ProgramFolder f("menus");
    f.add_plugin("vl_test", "vl_test.dll");
    write_text(f.root + "x.mp3", "test audio");
    SetEnvironmentVariableA("VL_TEST_LENGTH_MS", "60000");
    Player p(f, f.root + "x.mp3");
    SetEnvironmentVariableA("VL_TEST_LENGTH_MS", nullptr);
    HWND w = p.main_window();
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(wait_until([&] { return plays(f) == 1; }, 10000));
    SetForegroundWindow(w);
    ASSERT_TRUE(wait_until([&] { return GetForegroundWindow() == w; }, 5000));
    HWND list = p.window_of_class("Tsuperplaylist");
    ASSERT_NE(list, nullptr);
    // A first run shows the playlist once the player is active.
    ASSERT_TRUE(wait_until([&] { return IsWindowVisible(list) != FALSE; }, 10000));

    PostMessageA(w, WM_COMMAND, id_of(Command::MainMenu), 0);
    HWND menu = nullptr;
    ASSERT_TRUE(
        wait_until([&] { return (menu = p.window_of_class("VlPopupMenu")) != nullptr; }, 10000));
    EXPECT_EQ(GetForegroundWindow(), w);
    const size_t before = position_queries(f);
    EXPECT_TRUE(wait_until([&] { return position_queries(f) >= before + 10; }, 10000));
    // "Options", "Decoder options", "Skins", then "PlayList" past the separator:
    // it hides the shown playlist.
    for (int i = 0; i < 4; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(wait_until([&] { return p.window_of_class("VlPopupMenu") == nullptr; }, 10000));
    EXPECT_TRUE(wait_until([&] { return IsWindowVisible(list) == FALSE; }, 10000));
    EXPECT_EQ(p.close(), 0);
}

}  // namespace
