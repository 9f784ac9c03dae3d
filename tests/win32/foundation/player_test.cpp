#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "win_process.h"

namespace {

bool has_line(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Sets an environment variable for the players started while it lives.
struct Env {
    const char* name;
    Env(const char* n, const char* value) : name(n) { SetEnvironmentVariableA(n, value); }
    ~Env() { SetEnvironmentVariableA(name, nullptr); }
};

bool settings_saved() {
    DWORD v = 0, size = sizeof v;
    return RegGetValueA(HKEY_CURRENT_USER, "Software\\Dunmoor\\VELTRona\\System", "volume",
                        RRF_RT_REG_DWORD, nullptr, &v, &size) == ERROR_SUCCESS;
}

// Plugins that misbehave beyond a faulting call: the player ends with its
// settings saved and its working folder removed, and says which plugin it was
// unless the user was closing it anyway.
TEST(Player, PluginsThatFaultOffTheGuardOrHangEndThePlayerCleanly) {
    const struct {
        const char* misbehave;
        const char* message;  // in the box, or nullptr for none
        bool rebind;          // a second plugin for the file: the first is released
        bool close;           // the user closes the player
    } cases[] = {
        {"thread", "failed on a thread of its own", false, false},
        {"hang", "stopped answering", true, false},  // in initialisation code 3
        {"hang", nullptr, false, true},              // in MODE_STOP at exit
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.misbehave) + (c.close ? " at exit" : ""));
        reset_settings();
        ProgramFolder f(c.misbehave);
        f.add_plugin("vl_test", "vl_fa.dll");
        if (c.rebind) f.add_plugin("vl_test", "vl_fb.dll");
        Env env("VL_TEST_MISBEHAVE", c.misbehave);
        Player p(f, f.root + "x.mp3");
        ASSERT_NE(p.main_window(), nullptr);
        if (c.close) {
            ASSERT_TRUE(wait_until(
                [&] { return has_line(f.journal_lines(), "vl_fa.dll setmode 1 0"); }, 10000));
            HWND w = p.main_window();
            const DWORD start = GetTickCount();
            PostMessageA(w, WM_CLOSE, 0, 0);
            EXPECT_TRUE(wait_until([&] { return !p.running(); }, 20000));
            std::printf("exit with a hanging stop took %lu ms\n", GetTickCount() - start);
        } else {
            std::string text;
            HWND box = p.wait_error_box(text, 30000);
            ASSERT_NE(box, nullptr);
            EXPECT_NE(text.find(c.message), std::string::npos) << text;
            EXPECT_NE(text.find("vl_f"), std::string::npos) << text;
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            EXPECT_TRUE(wait_until([&] { return !p.running(); }, 20000));
        }
        EXPECT_TRUE(settings_saved());
        EXPECT_TRUE(working_folders(f).empty());
    }
}

TEST(Player, TwoPluginsForOneExtensionBindInTurn) {
    ProgramFolder f("bind");
    f.add_plugin("vl_test", "vl_testa.dll");
    f.add_plugin("vl_test", "vl_testb.dll");
    write_text(f.root + "x.mp3", "not really audio");
    Player p(f, f.root + "x.mp3");
    ASSERT_TRUE(p.started());
    const std::string open_line = "open " + f.root + "x.mp3";
    ASSERT_TRUE(wait_until([&] { return has_line(f.journal_lines(), "vl_testb.dll " + open_line); },
                           10000));
    ASSERT_EQ(p.close(), 0);

    // Discovery order is the file system's: find where the two bindings start.
    std::vector<std::string> lines = f.journal_lines();
    std::vector<std::string> bind;
    for (const std::string& l : lines)
        if (l.find(" info") == std::string::npos && l.find("getmode") == std::string::npos &&
            l.find("fileinfo") == std::string::npos && l.find("setmode") == std::string::npos)
            bind.push_back(l);
    const std::vector<std::string> want = {
        "vl_testa.dll initializate 0 hwnd", "vl_testa.dll initializate 2 0",
        "vl_testa.dll " + open_line,        "vl_testa.dll initializate 3 0",
        "vl_testa.dll initializate 1 0",    "vl_testb.dll initializate 0 hwnd",
        "vl_testb.dll initializate 2 0",    "vl_testb.dll " + open_line};
    EXPECT_EQ(bind, want);
    // Playback goes to the second plugin only.
    EXPECT_TRUE(has_line(lines, "vl_testb.dll setmode 1 0"));
    EXPECT_FALSE(has_line(lines, "vl_testa.dll setmode 1 0"));
}

TEST(Player, RelativeArgumentIsResolvedAgainstTheStartFolder) {
    ProgramFolder f("relative");
    f.add_plugin("vl_test", "vl_test.dll");
    CreateDirectoryA((f.root + "music").c_str(), nullptr);
    CreateDirectoryA((f.root + "codecs\\song.mp3").c_str(),
                     nullptr);  // a trap in the codecs folder
    write_text(f.root + "music\\song.mp3", "x");
    Player p(f, "song.mp3", f.root + "music");
    ASSERT_TRUE(wait_until(
        [&] {
            return has_line(f.journal_lines(), "vl_test.dll open " + f.root + "music\\song.mp3");
        },
        10000));
    EXPECT_EQ(p.close(), 0);
}

TEST(Player, IgnoredPluginKindsShowNoMessage) {
    ProgramFolder f("kinds");
    f.add_plugin("vl_test_kind2", "vl_kind2.dll");
    f.add_plugin("vl_test_sub1", "vl_sub1.dll");
    Player p(f, f.root + "x.mp3");
    ASSERT_NE(p.main_window(), nullptr);
    std::string text;
    EXPECT_EQ(p.wait_error_box(text, 1500), nullptr) << text;
    EXPECT_EQ(p.close(), 0);
    for (const std::string& l : f.journal_lines()) EXPECT_EQ(l.substr(l.find(' ') + 1), "info");
}

TEST(Player, MissingWritewaveIsReportedAndThePluginStillPlays) {
    ProgramFolder f("nowave");
    f.add_plugin("vl_test_nowave", "vl_nowave.dll");
    Player p(f, f.root + "x.mp3");
    std::string text;
    HWND box = p.wait_error_box(text, 10000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(text, "Error initialisation plugin! :-(\r\nInvalid function - _vl_decoder_writewave");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(wait_until([&] { return has_line(f.journal_lines(), "vl_nowave.dll setmode 1 0"); },
                           10000));
    EXPECT_TRUE(has_line(f.journal_lines(), "vl_nowave.dll open " + f.root + "x.mp3"));
    EXPECT_EQ(p.close(), 0);
}

TEST(Player, BadDllsAreReportedAndTheRestWorks) {
    ProgramFolder f("baddll");
    write_text(f.root + "plugins\\vl_text.dll", "this is not a DLL");
    const std::string i686 = wine_path(VL_WIN32_PLUGIN_UNIX);
    const bool have_i686 = exists(i686);
    if (have_i686) CopyFileA(i686.c_str(), (f.root + "plugins\\vl_x86.dll").c_str(), FALSE);
    f.add_plugin("vl_test", "vl_test.dll");
    Player p(f, f.root + "x.mp3");
    const size_t expected_boxes = have_i686 ? 2 : 1;
    std::vector<std::string> texts;
    for (size_t i = 0; i < expected_boxes; ++i) {
        std::string text;
        HWND box = p.wait_error_box(text, 10000);
        ASSERT_NE(box, nullptr);
        texts.push_back(text);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        wait_until([&] { return !IsWindow(box); }, 5000);
    }
    EXPECT_TRUE(std::count(texts.begin(), texts.end(),
                           "Error initialisation plugin " + f.root + "plugins\\vl_text.dll") == 1);
    if (have_i686) {
        EXPECT_TRUE(std::count(texts.begin(), texts.end(),
                               "Error initialisation plugin " + f.root + "plugins\\vl_x86.dll") ==
                    1);
    }
    ASSERT_TRUE(
        wait_until([&] { return has_line(f.journal_lines(), "vl_test.dll setmode 1 0"); }, 10000));
    EXPECT_EQ(p.close(), 0);
}

TEST(Player, RunsWithoutPluginsAndCodecsFolders) {
    ProgramFolder f("empty");
    RemoveDirectoryA((f.root + "plugins").c_str());
    RemoveDirectoryA((f.root + "codecs").c_str());
    Player p(f, f.root + "missing.mp3");
    ASSERT_NE(p.main_window(), nullptr);
    std::string text;
    EXPECT_EQ(p.wait_error_box(text, 1000), nullptr) << text;
    EXPECT_EQ(p.close(), 0);
}

TEST(Player, WorkingFolderLivesFromTheFirstListUntilExit) {
    ProgramFolder f("workdir");
    Player p(f, "");
    ASSERT_NE(p.main_window(), nullptr);
    std::vector<std::string> dirs;
    ASSERT_TRUE(wait_until([&] { return !(dirs = working_folders(f)).empty(); }, 10000));
    ASSERT_EQ(dirs.size(), 1u);
    // _vl_tmp_H_M_S_ with unpadded numbers.
    int h = -1, m = -1, s = -1;
    char tail = 0;
    ASSERT_EQ(sscanf(dirs[0].c_str(), "_vl_tmp_%d_%d_%d%c", &h, &m, &s, &tail), 4);
    EXPECT_EQ(tail, '_');
    EXPECT_EQ(dirs[0], "_vl_tmp_" + std::to_string(h) + "_" + std::to_string(m) + "_" +
                           std::to_string(s) + "_");
    EXPECT_TRUE(exists(f.temp + dirs[0] + "\\untitled0.vl2"));
    EXPECT_EQ(p.close(), 0);
    EXPECT_TRUE(working_folders(f).empty());
}

TEST(Player, ASecondActivationDoesNotReopen) {
    ProgramFolder f("activate");
    f.add_plugin("vl_test", "vl_test.dll");
    Player p(f, f.root + "x.mp3");
    HWND w = p.main_window();
    ASSERT_NE(w, nullptr);
    const std::string open_line = "vl_test.dll open " + f.root + "x.mp3";
    ASSERT_TRUE(wait_until([&] { return has_line(f.journal_lines(), open_line); }, 10000));
    for (int i = 0; i < 3; ++i) {
        SendMessageA(w, WM_ACTIVATE, WA_INACTIVE, 0);
        SendMessageA(w, WM_ACTIVATE, WA_ACTIVE, 0);
    }
    EXPECT_EQ(p.close(), 0);
    auto lines = f.journal_lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), open_line), 1);
}

TEST(Player, StudiosSurviveARun) {
    ProgramFolder f("studios");
    write_text(f.root + "plugins\\studio.ini",
               "[Main]\r\nName0=Editor\r\nExe0=C:\\e.exe\r\nParams0=-a\r\nName2=Gone\r\n");
    Player p(f, "");
    ASSERT_NE(p.main_window(), nullptr);
    EXPECT_EQ(p.close(), 0);
    EXPECT_EQ(read_text(f.root + "plugins\\studio.ini"),
              "[Main]\r\nName0=Editor\r\nExe0=C:\\e.exe\r\nParams0=-a\r\n");
}

}  // namespace
