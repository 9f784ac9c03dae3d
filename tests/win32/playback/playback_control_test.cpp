// The main window's playback commands reach the plugin with distances in the
// plugin's own units, measured from its position against the player's clock.
#include <gtest/gtest.h>

#include <cstdlib>

#include "base/commands.h"
#include "win_process.h"

namespace {

void command(HWND w, Command c) {
    SendMessageA(w, WM_COMMAND, id_of(c), 0);
}

// The parameter of the last "setmode <code>" line, or -1.
long last_setmode(const ProgramFolder& f, int code) {
    const std::string prefix = "vl_test.dll setmode " + std::to_string(code) + " ";
    long value = -1;
    for (const std::string& l : f.journal_lines())
        if (l.rfind(prefix, 0) == 0) value = std::strtol(l.c_str() + prefix.size(), nullptr, 10);
    return value;
}

size_t position_queries(const ProgramFolder& f) {
    size_t n = 0;
    for (const std::string& l : f.journal_lines()) n += l == "vl_test.dll getmode 2";
    return n;
}

TEST(PlaybackControl, CommandsReachThePluginInItsUnits) {
    ProgramFolder f("controls");
    f.add_plugin("vl_test", "vl_test.dll");
    write_text(f.root + "x.mp3", "test audio");
    SetEnvironmentVariableA("VL_TEST_LENGTH_MS", "60000");
    Player p(f, f.root + "x.mp3");
    SetEnvironmentVariableA("VL_TEST_LENGTH_MS", nullptr);
    HWND w = p.main_window();
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(wait_until([&] { return last_setmode(f, 1) == 0; }, 10000));  // MODE_PLAY
    // The meter measures the plugin's rate over its ticks; each tick sleeps at
    // least 15 ms, so 80 of them span more than a second however busy the machine.
    ASSERT_TRUE(wait_until([&] { return position_queries(f) >= 80; }, 30000));

    // 10 s at the test plugin's 44.1 units per millisecond.
    command(w, Command::Forward);
    ASSERT_TRUE(wait_until([&] { return last_setmode(f, 5) > 0; }, 3000));
    EXPECT_NEAR(last_setmode(f, 5), 441000, 441000 * 0.02);
    const size_t after_forward = position_queries(f);
    ASSERT_TRUE(wait_until([&] { return position_queries(f) >= after_forward + 20; }, 10000));
    command(w, Command::Rewind);  // now beyond 10 s
    ASSERT_TRUE(wait_until([&] { return last_setmode(f, 6) > 0; }, 3000));
    EXPECT_NEAR(last_setmode(f, 6), 441000, 441000 * 0.02);

    command(w, Command::Pause);
    EXPECT_TRUE(wait_until([&] { return last_setmode(f, 3) == 0; }, 3000));
    command(w, Command::Pause);
    EXPECT_TRUE(wait_until([&] { return last_setmode(f, 4) == 0; }, 3000));
    // Playing set the knob to the stored volume, 100: Up does nothing, Down lowers it.
    SendMessageA(w, WM_KEYDOWN, VK_UP, 0);
    SendMessageA(w, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_TRUE(wait_until([&] { return last_setmode(f, 8) == 99; }, 3000));
    command(w, Command::Stop);
    EXPECT_TRUE(wait_until([&] { return last_setmode(f, 2) == 0; }, 3000));
    // Play again after Stop restarts the same file.
    command(w, Command::Play);
    auto plays = [&] {
        int n = 0;
        for (const std::string& l : f.journal_lines()) n += l == "vl_test.dll setmode 1 0";
        return n;
    };
    EXPECT_TRUE(wait_until([&] { return plays() == 2; }, 3000));
    EXPECT_EQ(p.close(), 0);
}

}  // namespace
