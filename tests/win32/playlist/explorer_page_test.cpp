// The explorer page in the test process: Alt+I on a listed file, which the
// list receives as a system key, reaches the file information opener.
#include <gtest/gtest.h>

#include "playlist/explorer_page.h"
#include "win_process.h"

TEST(ExplorerPage, AltIOnAFileOpensItsInformation) {
    const std::string folder = make_temp_folder("explorer_alt_i");
    write_text(folder + "a.wav", "RIFF");
    std::string opened;
    ExplorerActions a;
    a.IsSupported = [](const std::string& p) { return p.size() > 4; };
    a.QuickInfo = [](const std::string&, FileInfoRec&) {};
    a.file_info = [&](const std::string& p) { opened = p; };
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ExplorerPage page;
    ASSERT_TRUE(page.create(GetModuleHandleA(nullptr), parent, a));
    page.set_folder(folder);
    HWND list = FindWindowExA(page.handle(), nullptr, WC_LISTVIEWA, nullptr);
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(wait_until([&] { return ListView_GetItemCount(list) >= 1; }, 10000));
    ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageA(list, WM_SYSKEYDOWN, 'I', 1 << 29);  // with Alt
    EXPECT_EQ(opened, folder + "a.wav");
    opened.clear();
    SendMessageA(list, WM_SYSKEYDOWN, 'I', 0);  // a system key without Alt (F10 held)
    EXPECT_EQ(opened, "");
    DestroyWindow(parent);
    remove_tree(folder);
}
