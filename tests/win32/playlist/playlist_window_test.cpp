// Lists given on the command line play from their first entry and advance at
// the end of each track; the window's menus act on the rows.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "base/commands.h"
#include "playlist/list_files.h"
#include "win_process.h"
// after <windows.h>
#include <commctrl.h>

namespace {

struct ListFolder : ProgramFolder {
    explicit ListFolder(const std::string& tag) : ProgramFolder(tag) {
        CopyFileA((wine_path(VL_PROGRAM_DIR_UNIX) + "\\plugins\\vl_wave.dll").c_str(),
                  (root + "plugins\\vl_wave.dll").c_str(), FALSE);
        write_wav(root + "a.wav", 1200);
        write_wav(root + "b.wav", 1200);
    }
};

int rows(HWND list_window) {
    HWND lv = FindWindowExA(list_window, nullptr, WC_LISTVIEWA, nullptr);
    return lv ? static_cast<int>(SendMessageA(lv, LVM_GETITEMCOUNT, 0, 0)) : -1;
}

std::string caption(HWND w) {
    char t[256] = {};
    GetWindowTextA(w, t, sizeof t);
    return t;
}

TEST(PlaylistWindow, AnM3uPlaysFromItsFirstEntryAndAdvancesAtTheEnd) {
    ListFolder f("m3u");
    write_text(f.root + "list.m3u",
               "#EXTM3U\r\n#EXTINF:1,Band-One\r\na.wav\r\n#EXTINF:1,Band-Two\r\nb.wav\r\n");
    Player p(f, f.root + "list.m3u");
    HWND main = p.main_window();
    ASSERT_NE(main, nullptr);
    HWND list = nullptr;
    ASSERT_TRUE(
        wait_until([&] { return (list = p.window_of_class("Tsuperplaylist")) != nullptr; }, 5000));
    EXPECT_TRUE(wait_until([&] { return rows(list) == 2; }, 5000));
    EXPECT_TRUE(wait_until([&] { return caption(main) == "VELTRona - Band - One"; }, 5000));
    // About 1.2 s of audio, then the end-of-track timer's next tick.
    EXPECT_TRUE(wait_until([&] { return caption(main) == "VELTRona - Band - Two"; }, 6000));
    EXPECT_EQ(p.close(), 0);
}

TEST(PlaylistWindow, MenusRemoveRowsAndTheTrashBringsTheFileBack) {
    ListFolder f("menus");
    // A list file made as the player makes them.
    const std::string vl2 = f.root + "mine.vl2";
    ASSERT_TRUE(CreateEmptyList(vl2));
    ListRecord r;
    r.path = f.root + "a.wav";
    r.artist = "Rec";
    r.title = "A";
    r.volume = 100;
    ASSERT_EQ(AppendRecord(vl2, r), 1);
    r.path = f.root + "b.wav";
    r.title = "B";
    ASSERT_EQ(AppendRecord(vl2, r), 2);

    Player p(f, vl2);
    HWND main = p.main_window();
    ASSERT_NE(main, nullptr);
    HWND list = nullptr;
    ASSERT_TRUE(
        wait_until([&] { return (list = p.window_of_class("Tsuperplaylist")) != nullptr; }, 5000));
    ASSERT_TRUE(wait_until([&] { return rows(list) == 2; }, 5000));
    EXPECT_TRUE(wait_until([&] { return caption(main) == "VELTRona - Rec - A"; }, 5000));

    SendMessageA(list, WM_COMMAND, id_of(Command::DeleteSelected),
                 0);  // Delete > Selected: the playing row
    EXPECT_EQ(rows(list), 1);
    SendMessageA(list, WM_COMMAND, id_of(Command::ListTrash),
                 0);  // List/Trash bar: the trash is empty
    EXPECT_EQ(rows(list), 0);
    SendMessageA(list, WM_COMMAND, id_of(Command::ListTrash),
                 0);  // back: refilled from the list file
    EXPECT_EQ(rows(list), 2);
    SendMessageA(list, WM_COMMAND, id_of(Command::DeleteAll),
                 0);  // Delete > All: every record to the trash
    EXPECT_EQ(rows(list), 0);
    SendMessageA(list, WM_COMMAND, id_of(Command::ListTrash), 0);
    EXPECT_EQ(rows(list), 2);
    EXPECT_EQ(p.close(), 0);
    // The user's own list file is never touched.
    EXPECT_EQ(RecordCount(vl2), 2);
}

int column_width(HWND list_window, int column) {
    HWND lv = FindWindowExA(list_window, nullptr, WC_LISTVIEWA, nullptr);
    return static_cast<int>(SendMessageA(lv, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
}

// The width a list view of this system needs for the text.
int text_width(const char* text) {
    HWND lv = CreateWindowExA(0, WC_LISTVIEWA, "", LVS_REPORT, 0, 0, 100, 100, nullptr, nullptr,
                              nullptr, nullptr);
    const int w =
        static_cast<int>(SendMessageA(lv, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text)));
    DestroyWindow(lv);
    return w;
}

TEST(PlaylistWindow, DurationsFitAndTheWindowFollowsTheFaceAndItsBorder) {
    ListFolder f("columns");
    const std::string vl2 = f.root + "mine.vl2";
    ASSERT_TRUE(CreateEmptyList(vl2));
    ListRecord r;
    r.path = f.root + "a.wav";
    r.duration = 3605;  // 1:00:05
    r.volume = 100;
    ASSERT_EQ(AppendRecord(vl2, r), 1);
    Player p(f, vl2);
    HWND main = p.main_window();
    ASSERT_NE(main, nullptr);
    HWND list = nullptr;
    ASSERT_TRUE(
        wait_until([&] { return (list = p.window_of_class("Tsuperplaylist")) != nullptr; }, 5000));
    ASSERT_TRUE(wait_until([&] { return rows(list) == 1 && IsWindowVisible(list); }, 5000));
    const int needed = text_width("1:00:05");
    EXPECT_TRUE(wait_until([&] { return column_width(list, 2) >= needed; }, 5000));

    // Shown again from the face, the list fits its columns once more.
    PostMessageA(list, WM_CLOSE, 0, 0);
    ASSERT_TRUE(wait_until([&] { return !IsWindowVisible(list); }, 5000));
    SendMessageA(FindWindowExA(list, nullptr, WC_LISTVIEWA, nullptr), LVM_SETCOLUMNWIDTH, 2, 0);
    PostMessageA(main, WM_COMMAND, id_of(Command::Playlist), 0);
    EXPECT_TRUE(wait_until([&] { return IsWindowVisible(list); }, 5000));
    EXPECT_TRUE(wait_until([&] { return column_width(list, 2) >= needed; }, 5000));

    // It goes with the minimised face and comes back with it.
    PostMessageA(main, WM_COMMAND, id_of(Command::Minimise), 0);
    EXPECT_TRUE(wait_until([&] { return !IsWindowVisible(list); }, 5000));
    PostMessageA(main, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(wait_until([&] { return IsWindowVisible(list) && !IsIconic(main); }, 5000));

    // A drag from the right border resizes however far the pointer runs ahead.
    RECT before;
    GetWindowRect(list, &before);
    const int w = before.right - before.left;
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(w - 5, 100));
    SendMessageA(list, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(w + 200, 100));
    SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(w + 200, 100));
    RECT after;
    GetWindowRect(list, &after);
    EXPECT_EQ(after.right - after.left, w + 205);
    EXPECT_EQ(p.close(), 0);
}

// Every column fits its widest text exactly as the list view's own measuring
// of every row fits it.
TEST(PlaylistWindow, FittedColumnsMatchMeasuringEveryRow) {
    ListFolder f("fit");
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Dunmoor\\VELTRona\\Playlist", 0,
                              nullptr, 0, KEY_WRITE, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    const DWORD on = 1;
    for (const char* name :
         {"Col_time", "Col_track", "Col_album", "Col_year", "Col_format", "Col_filename"})
        RegSetValueExA(k, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on), sizeof on);
    RegCloseKey(k);
    const std::string vl2 = f.root + "mine.vl2";
    ASSERT_TRUE(CreateEmptyList(vl2));
    // Narrow letters in many, wide ones in few: the widest text is not the longest.
    const struct {
        const char *file, *album, *year, *format;
        int32_t duration, track;
    } entries[] = {{"a.wav", "WWWW", "1999", "PCM", 5, 7},
                   {"b.wav", "iiiiiiiiiiii", "2001", "MPEG 1 Layer 3", 3605, 12},
                   {"iiiiiiiiiiiiiiiiiiiiiiiiiiii.wav", "Mm", "", "iiiiiiiiiiiiiiiiiiii", 61, 3},
                   {"WWWWWWWWWW.wav", "", "0", "x", 600, 100}};
    for (const auto& e : entries) {
        ListRecord r;
        r.path = f.root + e.file;
        write_wav(r.path, 100);
        r.album = e.album;
        r.year = e.year;
        r.format = e.format;
        r.duration = e.duration;
        r.track = e.track;
        r.volume = 100;
        ASSERT_GT(AppendRecord(vl2, r), 0);
    }
    Player p(f, vl2);
    ASSERT_NE(p.main_window(), nullptr);
    HWND list = nullptr;
    ASSERT_TRUE(
        wait_until([&] { return (list = p.window_of_class("Tsuperplaylist")) != nullptr; }, 5000));
    ASSERT_TRUE(wait_until([&] { return rows(list) == 4 && IsWindowVisible(list); }, 5000));
    HWND lv = FindWindowExA(list, nullptr, WC_LISTVIEWA, nullptr);
    for (int c = 2; c <= 7; ++c) {
        ASSERT_TRUE(wait_until([&] { return column_width(list, c) > 0; }, 5000)) << c;
        const int fitted = column_width(list, c);
        SendMessageA(lv, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(c), LVSCW_AUTOSIZE);
        EXPECT_EQ(fitted, column_width(list, c)) << c;
    }
    EXPECT_EQ(p.close(), 0);
}

std::vector<std::string> opened(const ProgramFolder& f) {
    std::vector<std::string> out;
    for (const std::string& l : f.journal_lines())
        if (l.rfind("vl_test.dll open ", 0) == 0) out.push_back(l.substr(17));
    return out;
}

// True once the plugin's journal has not grown for quiet_ms: the meter and
// the list's one-second timer have both stopped asking the plugin.
bool journal_settles(const ProgramFolder& f, DWORD quiet_ms, DWORD timeout_ms) {
    size_t lines = f.journal_lines().size();
    DWORD since = GetTickCount();
    return wait_until(
        [&] {
            const size_t now = f.journal_lines().size();
            if (now != lines) {
                lines = now;
                since = GetTickCount();
            }
            return GetTickCount() - since >= quiet_ms;
        },
        timeout_ms);
}

TEST(PlaylistWindow, AListPlaysThroughByItselfAndStopsAtTheEnd) {
    ProgramFolder f("through");
    f.add_plugin("vl_test", "vl_test.dll");
    const std::string vl2 = f.root + "three.vl2";
    ASSERT_TRUE(CreateEmptyList(vl2));
    for (const char* name : {"one.tst", "two.tst", "three.tst"}) {
        write_text(f.root + name, "test audio");
        ListRecord r;
        r.path = f.root + name;
        r.volume = 100;
        ASSERT_GT(AppendRecord(vl2, r), 0);
    }
    SetEnvironmentVariableA("VL_TEST_LENGTH_MS", "700");
    Player p(f, vl2);
    SetEnvironmentVariableA("VL_TEST_LENGTH_MS", nullptr);
    HWND main = p.main_window();
    ASSERT_NE(main, nullptr);
    const std::vector<std::string> all = {f.root + "one.tst", f.root + "two.tst",
                                          f.root + "three.tst"};
    EXPECT_TRUE(wait_until([&] { return opened(f) == all; }, 10000));
    // The last track ends and the list's timer stops without starting it again.
    EXPECT_TRUE(journal_settles(f, 2500, 30000));
    EXPECT_EQ(opened(f), all);

    // Widening stretches the frame; the list keeps 10 pixels to each side.
    HWND list = p.window_of_class("Tsuperplaylist");
    ASSERT_NE(list, nullptr);
    SetWindowPos(list, nullptr, 0, 0, 600, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    HWND lv = FindWindowExA(list, nullptr, WC_LISTVIEWA, nullptr);
    RECT r;
    GetWindowRect(lv, &r);
    EXPECT_EQ(r.right - r.left, 580);
    EXPECT_EQ(p.close(), 0);
}

}  // namespace
