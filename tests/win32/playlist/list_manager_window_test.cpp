// The list manager's tabs inside a running player: each list keeps its rows
// however often the user switches between them; the folder chooser adds to
// the list in view.
#include <gtest/gtest.h>

#include "base/commands.h"
#include "playlist/list_files.h"
#include "win_process.h"
// after <windows.h>
#include <commctrl.h>

namespace {

int rows(HWND list_window) {
    HWND lv = FindWindowExA(list_window, nullptr, WC_LISTVIEWA, nullptr);
    return lv ? static_cast<int>(SendMessageA(lv, LVM_GETITEMCOUNT, 0, 0)) : -1;
}

TEST(ListManagerWindow, TwoListsSurviveTenSwitches) {
    ProgramFolder f("tabs");
    CopyFileA((wine_path(VL_PROGRAM_DIR_UNIX) + "\\plugins\\vl_wave.dll").c_str(),
              (f.root + "plugins\\vl_wave.dll").c_str(), FALSE);
    write_wav(f.root + "a.wav", 300);
    write_wav(f.root + "b.wav", 300);
    CreateDirectoryA((f.root + "more").c_str(), nullptr);
    write_wav(f.root + "more\\c.wav", 300);
    const std::string vl2 = f.root + "two.vl2";
    ASSERT_TRUE(CreateEmptyList(vl2));
    for (const char* name : {"a.wav", "b.wav"}) {
        ListRecord r;
        r.path = f.root + name;
        r.volume = 100;
        ASSERT_GT(AppendRecord(vl2, r), 0);
    }
    Player p(f, vl2);
    ASSERT_NE(p.main_window(), nullptr);
    HWND list = nullptr;
    ASSERT_TRUE(
        wait_until([&] { return (list = p.window_of_class("Tsuperplaylist")) != nullptr; }, 5000));
    ASSERT_TRUE(wait_until([&] { return rows(list) == 2; }, 5000));
    HWND tabs = FindWindowExA(list, nullptr, "VlTabSet", nullptr);
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 1);

    SendMessageA(list, WM_COMMAND, id_of(Command::ListNew), 0);
    EXPECT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(rows(list), 0);
    // "&Directory": the folder chooser, filled and confirmed as a user would.
    SendMessageA(list, WM_COMMAND, id_of(Command::AddDir), 0);
    HWND chooser = nullptr;
    ASSERT_TRUE(wait_until(
        [&] {
            chooser = p.window_of_class("Tselect_dir");
            return chooser && IsWindowVisible(chooser);
        },
        5000));
    HWND box = FindWindowExA(chooser, nullptr, "COMBOBOX", nullptr);
    ASSERT_NE(box, nullptr);
    SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>((f.root + "more\\").c_str()));
    SendMessageA(chooser, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(wait_until([&] { return rows(list) == 1; }, 5000));

    for (int i = 0; i < 10; ++i) {
        SendMessageA(tabs, TCM_SETCURFOCUS, 0, 0);
        ASSERT_EQ(rows(list), 2) << i;
        SendMessageA(tabs, TCM_SETCURFOCUS, 1, 0);
        ASSERT_EQ(rows(list), 1) << i;
    }
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(p.close(), 0);
    EXPECT_EQ(RecordCount(vl2), 2);  // the user's list is not written
}

}  // namespace
