// The example plugin in C works in the player: it reports the end when its
// length is up, a list of two tones plays through, and the open dialog offers
// the plugin's file type.
#include <gtest/gtest.h>

#include <algorithm>

#include "plugins/plug_eng.h"
#include "plugins/plugin_module_win32.h"
#include "plugins/vl_decoder.h"
#include "win_process.h"
// after <windows.h>
#include <mmsystem.h>

namespace {

std::string caption(HWND w) {
    char t[256] = {};
    GetWindowTextA(w, t, sizeof t);
    return t;
}

struct DialogSearch {
    DWORD pid;
    const char* title;
    HWND found;
};

BOOL CALLBACK find_dialog_window(HWND w, LPARAM lp) {
    auto* s = reinterpret_cast<DialogSearch*>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    char cls[64] = {}, text[256] = {};
    GetClassNameA(w, cls, sizeof cls);
    GetWindowTextA(w, text, sizeof text);
    if (owner == s->pid && lstrcmpA(cls, "#32770") == 0 && lstrcmpA(text, s->title) == 0) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

HWND find_dialog(DWORD pid, const char* title) {
    DialogSearch s{pid, title, nullptr};
    EnumWindows(find_dialog_window, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

std::vector<std::string> combo_items(HWND combo) {
    std::vector<std::string> items;
    const LRESULT n = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
        // The dialog is a Unicode window; its texts cross processes intact as such.
        wchar_t wide[256] = {};
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide));
        char text[256] = {};
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        items.push_back(text);
    }
    return items;
}

class NoBoxes : public MessageBoxes {
  public:
    std::vector<std::string> texts;
    void error(const std::string& t) override { texts.push_back(t); }
};

// Bound through the player's plugin registry, measured with the plugin's own clock.
TEST(TonePlugin, ReportsTheEndWhenItsLengthIsUp) {
    ProgramFolder f("tone_end");
    ASSERT_TRUE(CopyFileA(wine_path(VL_TONE_PLUGIN_UNIX).c_str(),
                          (f.root + "plugins\\vl_tone.dll").c_str(), FALSE));
    write_text(f.root + "a.tone", "440 1200");
    Win32ModuleLoader loader;
    NoBoxes boxes;
    TQEL_plugin reg(loader, boxes);
    reg.SetPluginFolder(f.root + "plugins\\");
    reg.SetCodecsFolder(f.root + "codecs\\");
    reg.ScanPlugins();
    ASSERT_EQ(reg.Decoders.Count(), 1);
    TDecoder_plugin& dec = reg.Decoders;
    dec.OpenForPlayback(f.root + "a.tone");
    const DWORD start = timeGetTime();
    ASSERT_EQ(dec.Play(), 1);
    EXPECT_EQ(dec.GetLength(), 1200);
    EXPECT_EQ(dec.GetState(), STATE_PLAYING);
    ASSERT_TRUE(wait_until([&] { return dec.GetState() == STATE_ENDED; }, 10000));
    const DWORD elapsed = timeGetTime() - start;
    EXPECT_GE(elapsed, 1200u);
    EXPECT_LE(elapsed, 1200u + 3000u);
    EXPECT_TRUE(boxes.texts.empty());
}

TEST(TonePlugin, PlaysThroughAListAndIsOfferedInTheOpenDialog) {
    ProgramFolder f("tone");
    ASSERT_TRUE(CopyFileA(wine_path(VL_TONE_PLUGIN_UNIX).c_str(),
                          (f.root + "plugins\\vl_tone.dll").c_str(), FALSE));
    write_text(f.root + "a.tone", "440 1500");
    write_text(f.root + "b.tone", "880 60000");
    write_text(f.root + "two.m3u",
               "#EXTM3U\r\n#EXTINF:1,Tone-A\r\na.tone\r\n#EXTINF:60,Tone-B\r\nb.tone\r\n");
    Player p(f, f.root + "two.m3u");
    HWND main = p.main_window();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(wait_until([&] { return caption(main) == "VELTRona - Tone - A"; }, 10000));
    const DWORD started = GetTickCount();
    // The list moves on once the plugin reports the end; the playlist timer
    // looks once a second.
    ASSERT_TRUE(wait_until([&] { return caption(main) == "VELTRona - Tone - B"; }, 15000));
    EXPECT_GE(GetTickCount() - started, 1000u);

    PostMessageA(main, WM_COMMAND, 1001, 0);  // Open file...
    HWND dialog = nullptr;
    ASSERT_TRUE(wait_until(
        [&] { return (dialog = find_dialog(p.process_id(), "Open file media")) != nullptr; },
        10000));
    const std::vector<std::string> filters = combo_items(GetDlgItem(dialog, 0x470));
    EXPECT_NE(std::find(filters.begin(), filters.end(), "Tone files (*.tone)"), filters.end())
        << ::testing::PrintToString(filters);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(wait_until([&] { return !IsWindow(dialog); }, 5000));
    EXPECT_EQ(p.close(), 0);
}

}  // namespace
