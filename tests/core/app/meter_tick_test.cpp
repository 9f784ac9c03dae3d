#include "app/meter_tick.h"

#include <gtest/gtest.h>

#include "app/main_commands.h"
#include "app/meter_display.h"
#include "app/tray.h"

namespace {

TEST(MeterTick, EachReportedStateHasItsStep) {
    const struct {
        int32_t state;
        MeterStep step;
    } cases[] = {{0, MeterStep::EndOfTrack}, {3, MeterStep::EndOfTrack}, {4, MeterStep::Show},
                 {5, MeterStep::Wait},       {-1, MeterStep::NoAnswer},  {7, MeterStep::Wait}};
    for (const auto& c : cases) EXPECT_EQ(meter_step(c.state), c.step) << c.state;
}

TEST(MeterTick, TextsChangeOnlyWhenTheyDiffer) {
    std::vector<std::string> console = {"> status"};
    std::string time;
    EXPECT_TRUE(update_meter_texts(console, time, "00:00:01", "A - B", "128kbps"));
    ASSERT_EQ(console.size(), 3u);
    EXPECT_EQ(console[0], "> status");
    EXPECT_EQ(console[1], "> A - B");
    EXPECT_EQ(time, "00:00:01");
    EXPECT_EQ(update_meter_texts(console, time, "00:00:01", "A - B", "128kbps"), 0u);
    // Each change names what it covers, so that only that is painted again.
    EXPECT_EQ(update_meter_texts(console, time, "00:00:01", "A - B", "64kbps"), kLinesChanged);
    EXPECT_EQ(update_meter_texts(console, time, "00:00:02", "A - B", "64kbps"), kTimeChanged);
}

TEST(MeterTick, PanelScrollMovesOncePerTickNotPerPaint) {
    PanelScroll s;
    s.tick({0, 200, 300}, 133);
    const int first = s.x(2);
    EXPECT_EQ(s.x(0), 0);
    EXPECT_EQ(s.x(2), first);  // reading again does not move it
    for (int i = 0; i < 20; ++i) s.tick({0, 200, 300}, 133);
    EXPECT_LT(s.x(2), first);
    // One wide line moves 0.3 pixel a tick: a whole pixel on every third or fourth.
    PanelScroll one;
    int moved = 0;
    for (int i = 0; i < 30; ++i) moved += one.tick({0, 300}, 133) ? 1 : 0;
    EXPECT_GE(moved, 8);
    EXPECT_LE(moved, 10);
    EXPECT_LE(s.x(2), s.x(1));  // the second wide line is a step further
}

TEST(MainCommands, OnlyPreviousAndNextLookAtWhichButtonWasReleased) {
    EXPECT_EQ(face_command(FaceButton::Previous, true), Command::ListMenu);
    EXPECT_EQ(face_command(FaceButton::Next, true), Command::ListMenu);
    for (int b = 0; b < kFaceButtons; ++b) {
        const auto id = static_cast<FaceButton>(b);
        EXPECT_NE(face_command(id, false), Command::None) << b;
        if (id != FaceButton::Previous && id != FaceButton::Next) {
            EXPECT_EQ(face_command(id, true), face_command(id, false)) << b;
        }
    }
}

}  // namespace

namespace {

TEST(Tray, OnlyReleasesOfTheTransportIconsAct) {
    constexpr unsigned kLeftUp = 0x0202, kRightUp = 0x0205, kMove = 0x0200, kLeftDown = 0x0201;
    const struct {
        unsigned message, event;
        Command command;
    } cases[] = {{1793, kLeftUp, Command::Play},      {1791, kLeftUp, Command::Previous},
                 {1798, kLeftUp, Command::Next},      {1791, kRightUp, Command::ListMenu},
                 {1798, kRightUp, Command::ListMenu}, {1793, kRightUp, Command::None},
                 {1790, kLeftUp, Command::None},      {1792, kLeftUp, Command::None},
                 {1797, kLeftUp, Command::None},      {1793, kMove, Command::None},
                 {1793, kLeftDown, Command::None}};
    for (const auto& c : cases)
        EXPECT_EQ(tray_command(c.message, c.event), c.command) << c.message << " " << c.event;
}

}  // namespace
