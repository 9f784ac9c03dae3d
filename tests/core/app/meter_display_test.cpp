#include "app/meter_display.h"

#include <gtest/gtest.h>

namespace {

TEST(MeterDisplay, TimeTextsInTheThreeFormats) {
    EXPECT_EQ(time_display_text(0, 3723456), "01:02:03");
    EXPECT_EQ(time_display_text(0, -3723456), "01:02:03");
    EXPECT_EQ(time_display_text(2, 1234), "00001234");
    EXPECT_EQ(time_display_text(1, 1234), "00000001");
    EXPECT_EQ(time_display_text(1, 2500), "00000002");  // halves to even
    EXPECT_EQ(time_display_text(1, 3500), "00000004");
    EXPECT_EQ(time_display_text(2, 123456789), "123456789");
}

TEST(MeterDisplay, LedGlyphsComeFromTwelveEqualCells) {
    // A 108-pixel strip: 9-pixel glyphs; the display starts at 129.
    const std::vector<LedGlyph> g = drawleds_glyphs("1:-9", 1, 108, 129);
    ASSERT_EQ(g.size(), 4u);
    EXPECT_EQ(g[0].source_x, 1 + 9);
    EXPECT_EQ(g[0].dest_x, 129 + 9 + 1);
    EXPECT_EQ(g[1].source_x, 1 + 90);
    EXPECT_EQ(g[2].source_x, 1 + 99);
    EXPECT_EQ(g[3].source_x, 1 + 81);
    EXPECT_EQ(g[3].dest_x, 139 + 27);
    // Anything else keeps its place empty.
    EXPECT_EQ(drawleds_glyphs("x5", 0, 120, 0)[0].dest_x, 10 + 1 + 10);
}

TEST(MeterDisplay, WideLinesScrollAndStartOver) {
    EXPECT_FALSE(line_is_wide(44, 133));
    EXPECT_TRUE(line_is_wide(45, 133));
    PanelScroll s;
    EXPECT_EQ(s.next(200, 133), 0);  // -0.3 truncates to 0
    int x = 0;
    for (int i = 0; i < 10; ++i) x = s.next(200, 133);
    EXPECT_EQ(x, -3);
    // Once the text has left on the left it comes in again from the right.
    for (int i = 0; i < 700; ++i) x = s.next(200, 133);
    EXPECT_GT(x, -200);
    EXPECT_LE(x, 133);
}

TEST(MeterDisplay, DynamicColoursRaiseRedFirstAndReturnAfter101Steps) {
    uint32_t c = 0x0000FF;
    c = next_scope_colour(c, 0x0000FF);
    EXPECT_EQ(c, 0x000109u);
    c = next_scope_colour(c, 0x0000FF);
    EXPECT_EQ(c, 0x000113u);
    c = 0x0000FF;
    int steps = 0;
    do {
        c = next_scope_colour(c, 0x0000FF);
        ++steps;
    } while (c != 0x0000FF);
    EXPECT_EQ(steps, 101);
}

}  // namespace
