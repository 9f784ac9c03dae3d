#include "settings/save_load_sett.h"

#include <gtest/gtest.h>

namespace {

using Kind = KeyStore::Kind;
constexpr ScreenArea kScreen{1024, 740};

MemoryKeyStore::Value dword(uint32_t v) {
    return {Kind::Dword, v, {}};
}
MemoryKeyStore::Value text(const std::string& t) {
    return {Kind::String, 0, t};
}

TEST(Settings, FirstRunTakesEveryDefault) {
    MemoryKeyStore store;
    PlayerSettings s;
    load_settings(store, s, kScreen, 275);
    EXPECT_EQ(s.FaceX, 200);
    EXPECT_EQ(s.FaceY, 200);
    EXPECT_EQ(s.ListX, 475);
    EXPECT_EQ(s.ListY, 200);
    EXPECT_EQ(s.ListW, 320);
    EXPECT_EQ(s.ListH, 380);
    EXPECT_TRUE(s.Max);
    EXPECT_TRUE(s.List_show);
    EXPECT_FALSE(s.Always_on_top);
    for (bool t : s.show_tray) EXPECT_FALSE(t);
    EXPECT_EQ(s.volume, 100);
    EXPECT_EQ(s.Dialog_OS, "");
    EXPECT_EQ(s.Explorer, "");
    EXPECT_FALSE(s.dos.np_create);
    EXPECT_EQ(s.win.np_stopped, "%AR - %TL /stoppped");
    EXPECT_EQ(s.win.np_closed, "VELTRona disabled");

    DialogSettings d;
    load_dialog_settings(store, d, {"a.ave", "b.ave"});
    EXPECT_EQ(d.scope_type, 1);
    EXPECT_EQ(d.scope_L, 65280u);
    EXPECT_EQ(d.ave_index, 0);
    EXPECT_EQ(d.info3_str, "%BRkbps  %SRHz");
    EXPECT_EQ(d.menu_popup, 3);
    EXPECT_EQ(d.sleep_time, 15);
    EXPECT_TRUE(d.Col_time);
    EXPECT_FALSE(d.Col_filename);
}

TEST(Settings, SavedValuesComeBackInBothFamilies) {
    MemoryKeyStore store;
    PlayerSettings s;
    s.FaceX = 10;
    s.FaceY = 20;
    s.ListX = 300;
    s.ListY = 40;
    s.ListW = 500;
    s.ListH = 600;
    s.Max = false;
    s.List_show = false;
    s.Always_on_top = true;
    s.show_tray[TrayPlay] = true;
    s.volume = 42;
    s.Dialog_OS = "D:\\Music\\";
    s.dos.np_create = true;
    s.dos.np_file = "C:\\np.txt";
    s.win.np_playing = "";
    save_settings(store, s);
    EXPECT_EQ(store.find("DeskTop", "Always_on_top")->kind, Kind::Dword);
    EXPECT_EQ(store.find("Outfiles\\dos", "np_file")->kind, Kind::String);
    PlayerSettings back;
    load_settings(store, back, kScreen, 275);
    EXPECT_EQ(back.FaceX, 10);
    EXPECT_EQ(back.ListH, 600);
    EXPECT_FALSE(back.Max);
    EXPECT_FALSE(back.List_show);
    EXPECT_TRUE(back.Always_on_top);
    EXPECT_TRUE(back.show_tray[TrayPlay]);
    EXPECT_FALSE(back.show_tray[TrayNext]);
    EXPECT_EQ(back.volume, 42);
    EXPECT_EQ(back.Dialog_OS, "D:\\Music\\");
    EXPECT_EQ(back.dos.np_file, "C:\\np.txt");
    EXPECT_TRUE(back.dos.np_create);
    EXPECT_EQ(back.win.np_playing, "");  // an empty template stays empty

    DialogSettings d;
    d.scope_type = 2;
    d.scope_R = 0x123456;
    d.ave_index = 1;
    d.time_format = 2;
    d.info1_str = "%PL";
    d.small_clock = false;
    d.Col_year = true;
    d.refresh_time = 9;
    save_dialog_settings(store, d, {"a.ave", "Tunnel.ave"});
    EXPECT_EQ(store.find("Scope", "ave")->text, "Tunnel.ave");
    DialogSettings dback;
    load_dialog_settings(store, dback, {"x.ave", "a.ave", "TUNNEL.AVE"});
    EXPECT_EQ(dback.scope_type, 2);
    EXPECT_EQ(dback.scope_R, 0x123456u);
    EXPECT_EQ(dback.ave_index, 2);  // found again without regard to case
    EXPECT_EQ(dback.time_format, 2);
    EXPECT_EQ(dback.info1_str, "%PL");
    EXPECT_FALSE(dback.small_clock);
    EXPECT_TRUE(dback.Col_year);
    EXPECT_EQ(dback.refresh_time, 9);
}

TEST(Settings, AFailedSectionAppliesItsOwnDefaults) {
    MemoryKeyStore store;
    PlayerSettings s;
    s.Max = false;
    s.List_show = false;
    s.Always_on_top = true;
    s.FaceX = 300;
    save_settings(store, s);
    store.erase("DeskTop", "Always_on_top");
    store.put("Folders", "Dialog_OS", dword(7));
    store.put("System", "volume", text("loud"));
    store.erase("Outfiles\\win", "np_dynamic_write");
    store.erase("Outfiles\\dos", "np_closed");  // a missing string is no failure
    PlayerSettings back;
    load_settings(store, back, kScreen, 275);
    EXPECT_EQ(back.FaceX, 300);  // read before the failure
    EXPECT_TRUE(back.Max);
    EXPECT_TRUE(back.List_show);
    EXPECT_FALSE(back.Always_on_top);
    EXPECT_EQ(back.Dialog_OS, "C:\\");
    EXPECT_EQ(back.Explorer, "C:\\");
    EXPECT_EQ(back.volume, 100);
    EXPECT_EQ(back.win.np_closed, "VELTRona disabled");
    EXPECT_EQ(back.dos.np_closed, "");

    DialogSettings d;
    d.scope_type = 0;
    d.scope_R = 1;
    d.info2_str = "two";
    d.time_format = 1;
    save_dialog_settings(store, d, {"a.ave", "b.ave"});
    store.put("Scope", "ave", text("b.ave"));
    store.erase("Scope", "scope_L");
    store.erase("Display", "info2_str");
    DialogSettings dback;
    dback.scope_type = 2;
    load_dialog_settings(store, dback, {"a.ave", "b.ave"});
    EXPECT_EQ(dback.scope_type, 1);  // all six back to their defaults
    EXPECT_EQ(dback.scope_R, 255u);
    EXPECT_EQ(dback.ave_index, 1);  // still read
    EXPECT_EQ(dback.time_format, 1);
    EXPECT_EQ(dback.info2_str, "");

    store.put("Scope", "ave", text("gone.ave"));
    load_dialog_settings(store, dback, {"a.ave", "b.ave"});
    EXPECT_EQ(dback.ave_index, 0);
}

TEST(Settings, TimerValuesAreClampedToTheSliders) {
    const struct {
        uint32_t stored;
        int32_t read;
    } cases[] = {{0, 1}, {0xFFFFFFFF, 1}, {0x80000000, 1}, {1, 1}, {50, 50}, {51, 50}, {60000, 50}};
    for (const auto& c : cases) {
        MemoryKeyStore store;
        save_dialog_settings(store, DialogSettings{}, {});
        store.put("System", "refresh_time", dword(c.stored));
        store.put("System", "sleep_time", dword(c.stored));
        DialogSettings d;
        load_dialog_settings(store, d, {});
        EXPECT_EQ(d.refresh_time, c.read) << c.stored;
        EXPECT_EQ(d.sleep_time, c.read) << c.stored;
    }
}

TEST(Settings, PositionsFitStrictlyInsideTheScreen) {
    PlayerSettings s;
    s.FaceX = 1024;  // equal to the width
    s.FaceY = 0;     // the top edge is never kept
    s.ListX = 1023;
    s.ListY = 739;
    s.ListW = 30;
    s.ListH = 100;
    fit_to_screen(s, kScreen, 275);
    EXPECT_EQ(s.FaceX, 200);
    EXPECT_EQ(s.FaceY, 200);
    EXPECT_EQ(s.ListX, 1023);
    EXPECT_EQ(s.ListY, 739);
    EXPECT_EQ(s.ListW, 320);
    EXPECT_EQ(s.ListH, 380);
    s.ListW = 31;
    s.ListH = 101;
    s.ListX = -5;
    fit_to_screen(s, kScreen, 400);
    EXPECT_EQ(s.ListW, 31);
    EXPECT_EQ(s.ListH, 101);
    EXPECT_EQ(s.ListX, 600);
}

TEST(Settings, ScopeColoursSwapToSurfaceOrder) {
    const std::array<uint8_t, 3> red = color_to_bgr(255);
    EXPECT_EQ(red, (std::array<uint8_t, 3>{0, 0, 255}));
    EXPECT_EQ(bgr_to_color(color_to_bgr(0x00A1B2C3)), 0x00A1B2C3u);
}

TEST(Settings, AFailedWriteLosesNothingElse) {
    MemoryKeyStore store;
    store.fail_writes = true;
    save_settings(store, PlayerSettings{});
    EXPECT_FALSE(store.has_section("DeskTop"));
    store.fail_writes = false;
    PlayerSettings s;
    s.volume = 5;
    save_settings(store, s);
    PlayerSettings back;
    load_settings(store, back, kScreen, 275);
    EXPECT_EQ(back.volume, 5);
}

}  // namespace
