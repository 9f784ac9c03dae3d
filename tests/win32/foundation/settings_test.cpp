// The settings store in the real registry, on its own and through a run of
// the player.
#include <gtest/gtest.h>

#include "settings/registry_store_win32.h"
#include "settings/save_load_sett.h"
#include "win_process.h"

namespace {

constexpr const char* kRoot = "Software\\Dunmoor\\VELTRona\\";

bool reg_dword(const std::string& section, const char* name, DWORD& out) {
    DWORD size = sizeof out, type = 0;
    return RegGetValueA(HKEY_CURRENT_USER, (kRoot + section).c_str(), name, RRF_RT_ANY, &type, &out,
                        &size) == ERROR_SUCCESS &&
           type == REG_DWORD;
}

std::string reg_text(const std::string& section, const char* name) {
    char buf[512] = {};
    DWORD size = sizeof buf, type = 0;
    if (RegGetValueA(HKEY_CURRENT_USER, (kRoot + section).c_str(), name, RRF_RT_ANY, &type, buf,
                     &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return "<none>";
    return buf;
}

void set_dword(const std::string& section, const char* name, DWORD v) {
    HKEY k;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (kRoot + section).c_str(), 0, nullptr, 0,
                              KEY_WRITE, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(k, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
    RegCloseKey(k);
}

TEST(RegistrySettings, TypesRoundTripAndAForeignTypeFailsTheSection) {
    reset_settings();
    RegistryKeyStore store;
    PlayerSettings s;
    s.FaceX = 123;
    s.Dialog_OS = "D:\\Music\\";
    s.win.np_create = true;
    save_settings(store, s);
    DWORD d = 0;
    ASSERT_TRUE(reg_dword("DeskTop", "FaceX", d));
    EXPECT_EQ(d, 123u);
    ASSERT_TRUE(reg_dword("Outfiles\\win", "np_create", d));
    EXPECT_EQ(d, 1u);
    EXPECT_EQ(reg_text("Folders", "Dialog_OS"), "D:\\Music\\");

    set_dword("Folders", "Dialog_OS", 5);
    PlayerSettings back;
    load_settings(store, back, {1024, 740}, 275);
    EXPECT_EQ(back.FaceX, 123);
    EXPECT_TRUE(back.win.np_create);
    EXPECT_EQ(back.Dialog_OS, "C:\\");
    EXPECT_EQ(back.Explorer, "C:\\");
    reset_settings();
}

TEST(RegistrySettings, APlayerRunWritesBothFamiliesAndReadsThemBack) {
    {
        ProgramFolder f("settings_first");
        Player p(f, "");
        HWND w = p.main_window();
        ASSERT_NE(w, nullptr);
        // Placed while it is created; shown once it is complete.
        ASSERT_TRUE(wait_until([&] { return IsWindowVisible(w) != FALSE; }, 10000));
        RECT r;
        GetWindowRect(w, &r);
        EXPECT_EQ(r.left, 200);  // first run
        EXPECT_EQ(r.top, 200);
        ASSERT_EQ(p.close(), 0);
    }
    DWORD d = 0;
    ASSERT_TRUE(reg_dword("System", "volume", d));
    EXPECT_EQ(d, 100u);
    ASSERT_TRUE(reg_dword("DeskTop", "FaceX", d));
    EXPECT_EQ(d, 200u);
    ASSERT_TRUE(reg_dword("Scope", "scope_L", d));
    EXPECT_EQ(d, 65280u);
    EXPECT_EQ(reg_text("Display", "info3_str"), "%BRkbps  %SRHz");
    EXPECT_EQ(reg_text("Outfiles\\dos", "np_stopped"), "%AR - %TL /stoppped");

    // The next run starts where the last one left its window.
    ProgramFolder f("settings_again");  // (resets the key: write it after)
    set_dword("DeskTop", "FaceX", 321);
    set_dword("DeskTop", "FaceY", 123);
    set_dword("DeskTop", "ListX", 500);
    set_dword("DeskTop", "ListY", 200);
    set_dword("DeskTop", "ListW", 320);
    set_dword("DeskTop", "ListH", 380);
    set_dword("DeskTop", "Max", 1);
    set_dword("DeskTop", "List_show", 1);
    set_dword("DeskTop", "Always_on_top", 0);
    for (const char* tray :
         {"show_tray_prev", "show_tray_rew", "show_tray_play", "show_tray_pause", "show_tray_stop",
          "show_tray_open", "show_tray_forw", "show_tray_next"})
        set_dword("System", tray, 0);
    set_dword("System", "volume", 59);
    Player p(f, "");
    HWND w = p.main_window();
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(wait_until([&] { return IsWindowVisible(w) != FALSE; }, 10000));
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 321);
    EXPECT_EQ(r.top, 123);
    // Up raises the stored volume by one step.
    SendMessageA(w, WM_KEYDOWN, VK_UP, 0);
    ASSERT_EQ(p.close(), 0);
    ASSERT_TRUE(reg_dword("System", "volume", d));
    EXPECT_EQ(d, 60u);
    ASSERT_TRUE(reg_dword("DeskTop", "FaceX", d));
    EXPECT_EQ(d, 321u);
    reset_settings();
}

}  // namespace
