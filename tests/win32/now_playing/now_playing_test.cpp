// The now-playing files of a running player, as another program reads them.
#include <gtest/gtest.h>

#include <string>

#include "base/commands.h"
#include "win_process.h"

namespace {

constexpr const char* kRoot = "Software\\Dunmoor\\VELTRona\\";

struct NpConfig {
    std::string file;
    bool create = true;
    bool dynamic = false;
    std::string playing = "%AR - %TL", paused = "%AR / paused", stopped = "%AR / stopped",
                closed = "closed";
};

void configure(const char* section, const NpConfig& c) {
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(kRoot) + section).c_str(), 0, nullptr,
                              0, KEY_WRITE, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    auto text = [&](const char* name, const std::string& v) {
        RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(v.c_str()),
                       static_cast<DWORD>(v.size() + 1));
    };
    auto flag = [&](const char* name, bool v) {
        const DWORD d = v;
        RegSetValueExA(k, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&d), sizeof d);
    };
    text("np_file", c.file);
    flag("np_create", c.create);
    flag("np_dynamic_write", c.dynamic);
    text("np_playing", c.playing);
    text("np_paused", c.paused);
    text("np_stopped", c.stopped);
    text("np_closed", c.closed);
    RegCloseKey(k);
}

void command(HWND w, Command c) {
    SendMessageA(w, WM_COMMAND, id_of(c), 0);  // returns once the handler has run
}

size_t state_queries(const ProgramFolder& f) {
    size_t n = 0;
    for (const std::string& l : f.journal_lines()) n += l == "vl_test.dll getmode 4";
    return n;
}

ULONGLONG write_time(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA a{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &a);
    return (ULONGLONG{a.ftLastWriteTime.dwHighDateTime} << 32) | a.ftLastWriteTime.dwLowDateTime;
}

class NowPlayingFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        // The code pages the byte checks are written for.
        ASSERT_EQ(GetACP(), 1251u);
        ASSERT_EQ(GetOEMCP(), 866u);
    }
    void TearDown() override { SetEnvironmentVariableA("VL_TEST_ARTIST", nullptr); }
};

// "\xDF\xE6" is Cyrillic capital Ya and small zhe in 1251; 866 has them at 9F and A6.
const std::string kAnsiArtist = "\xDF\xE6 band";
const std::string kOemArtist = "\x9F\xA6 band";

TEST_F(NowPlayingFiles, EachCommandWritesItsTemplateInTheFilesCodePageDosFirst) {
    ProgramFolder f("np_events");
    f.add_plugin("vl_test", "vl_test.dll");
    write_text(f.root + "x.mp3", "test audio");
    const std::string dos = f.root + "np_dos.txt", win = f.root + "np_win.txt";
    configure("Outfiles\\dos", {dos});
    configure("Outfiles\\win", {win});
    SetEnvironmentVariableA("VL_TEST_ARTIST", kAnsiArtist.c_str());
    SetEnvironmentVariableA("VL_TEST_LENGTH_MS", "60000");
    Player p(f, f.root + "x.mp3");
    SetEnvironmentVariableA("VL_TEST_LENGTH_MS", nullptr);
    HWND w = p.main_window();
    ASSERT_NE(w, nullptr);

    const std::string title = " - Test title";
    ASSERT_TRUE(wait_until([&] { return read_text(win) == kAnsiArtist + title; }, 10000));
    EXPECT_EQ(read_text(dos), kOemArtist + title);
    EXPECT_LE(write_time(dos), write_time(win));

    command(w, Command::Pause);
    EXPECT_EQ(read_text(dos), kOemArtist + " / paused");
    EXPECT_EQ(read_text(win), kAnsiArtist + " / paused");
    command(w, Command::Pause);
    EXPECT_EQ(read_text(dos), kOemArtist + title);
    EXPECT_EQ(read_text(win), kAnsiArtist + title);

    // Another program holds the dos file open without sharing: that write is
    // skipped, the win file is still written, and the next event catches up.
    HANDLE held = CreateFileA(dos.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    command(w, Command::Stop);
    EXPECT_EQ(read_text(win), kAnsiArtist + " / stopped");
    char buf[64] = {};
    DWORD got = 0;
    ReadFile(held, buf, sizeof buf, &got, nullptr);
    CloseHandle(held);
    EXPECT_EQ(std::string(buf, got), kOemArtist + title);
    command(w, Command::Stop);
    EXPECT_EQ(read_text(dos), kOemArtist + " / stopped");

    EXPECT_EQ(p.close(), 0);
    EXPECT_EQ(read_text(dos), "closed");
    EXPECT_EQ(read_text(win), "closed");
}

TEST_F(NowPlayingFiles, DynamicWritingFollowsTheClockAndRestsWhilePaused) {
    ProgramFolder f("np_dynamic");
    f.add_plugin("vl_test", "vl_test.dll");
    write_text(f.root + "x.mp3", "test audio");
    // The dos file's folder is made only while playing: the ticks before it
    // are skipped, the next one writes.
    const std::string dos = f.root + "later\\np_dos.txt", win = f.root + "np_win.txt";
    NpConfig c{win, true, true, "%CT", "paused"};
    configure("Outfiles\\win", c);
    c.file = dos;
    configure("Outfiles\\dos", c);
    SetEnvironmentVariableA("VL_TEST_LENGTH_MS", "60000");
    Player p(f, f.root + "x.mp3");
    SetEnvironmentVariableA("VL_TEST_LENGTH_MS", nullptr);
    HWND w = p.main_window();
    ASSERT_NE(w, nullptr);

    ASSERT_TRUE(wait_until([&] { return read_text(win) == "0:01"; }, 15000));
    ASSERT_TRUE(wait_until([&] { return read_text(win) == "0:02"; }, 15000));
    EXPECT_FALSE(exists(dos));
    CreateDirectoryA((f.root + "later").c_str(), nullptr);
    ASSERT_TRUE(wait_until([&] { return read_text(dos).rfind("0:0", 0) == 0; }, 5000));

    command(w, Command::Pause);
    EXPECT_EQ(read_text(win), "paused");
    // Many ticks later the paused text is still there.
    const size_t ticks = state_queries(f);
    ASSERT_TRUE(wait_until(
        [&] { return read_text(win) != "paused" || state_queries(f) >= ticks + 50; }, 20000));
    EXPECT_EQ(read_text(win), "paused");
    EXPECT_EQ(read_text(dos), "paused");
    command(w, Command::Pause);
    EXPECT_EQ(read_text(win).rfind("0:0", 0), 0u);
    EXPECT_EQ(p.close(), 0);
}

TEST_F(NowPlayingFiles, ShutdownWithoutFileInformationWritesTheExpandersText) {
    ProgramFolder f("np_closed");
    f.add_plugin("vl_test_noinfo", "vl_test.dll");
    write_text(f.root + "x.mp3", "test audio");
    const std::string win = f.root + "np_win.txt";
    configure("Outfiles\\dos", {f.root + "missing\\np_dos.txt"});  // a folder that is not there
    configure("Outfiles\\win", {win});
    Player p(f, f.root + "x.mp3");
    ASSERT_NE(p.main_window(), nullptr);
    ASSERT_TRUE(wait_until([&] { return exists(win); }, 10000));
    EXPECT_EQ(p.close(), 0);
    EXPECT_EQ(read_text(win), "File not loaded...");
    EXPECT_FALSE(exists(f.root + "missing"));
}

}  // namespace
