#include "app/face_layout.h"

#include <gtest/gtest.h>

#include "effects/FastDIB.h"
#include "base/ini_file.h"

namespace {

// A 24-bit mask: white everywhere except the listed pixels' rows and columns.
void paint(TFastDIB& m, int x, int y, bool black) {
    const uint8_t v = black ? 0 : 255;
    m.SetPixel(m.PictureRow(y), x, FColor{v, v, v});
}

TEST(FaceMask, RunsOfNonWhitePixelsWithoutTheRightmostColumn) {
    TFastDIB m;
    ASSERT_TRUE(m.SetSize(6, 3, 24));
    m.Clear(0xFFFFFF);
    EXPECT_TRUE(mask_runs(m).empty());  // pure white: an empty shape

    // Row 0: a run of two and a run reaching the right edge; row 2: one pixel.
    paint(m, 1, 0, true);
    paint(m, 2, 0, true);
    paint(m, 4, 0, true);
    paint(m, 5, 0, true);
    paint(m, 3, 2, true);
    const std::vector<SkinRect> runs = mask_runs(m);
    const std::vector<SkinRect> want = {{1, 0, 3, 1}, {4, 0, 5, 1}, {3, 2, 4, 3}};
    EXPECT_EQ(runs, want);

    m.Clear(0x000000);  // no white at all: the full window but its last column
    EXPECT_EQ(mask_runs(m), (std::vector<SkinRect>{{0, 0, 5, 1}, {0, 1, 5, 2}, {0, 2, 5, 3}}));
    m.Clear(0xFEFFFF);  // almost white still belongs
    EXPECT_EQ(mask_runs(m).size(), 3u);
}

TEST(FaceLayout, BothFacesHaveTheirSizesButtonsAndSources) {
    const FaceLayout& big = FaceLayout::big_face();
    const FaceLayout& small = FaceLayout::small_face();
    EXPECT_EQ(big.width, 358);
    EXPECT_EQ(small.height, 81);
    EXPECT_EQ(big.buttons.size(), 18u);
    EXPECT_EQ(small.buttons.size(), 13u);  // no big-face buttons
    EXPECT_EQ(small.button(FaceButton::Playlist), nullptr);
    EXPECT_EQ(big.button(FaceButton::Open)->images[2], (SkinPoint{2, 210}));
    EXPECT_EQ(small.button(FaceButton::Open)->images[0], (SkinPoint{106, 110}));
    EXPECT_EQ(small.button(FaceButton::Pause)->images[1], (SkinPoint{61, 172}));
    EXPECT_EQ(big.button(FaceButton::Close)->images[1], (SkinPoint{91, 281}));
    EXPECT_EQ(small.button(FaceButton::FaceSize)->images[2], (SkinPoint{174, 267}));
    EXPECT_EQ(small.button(FaceButton::StayOnTop)->images[3], (SkinPoint{160, 274}));
    // Every image has the destination's size inside face.bmp's 515 x 400.
    for (const FaceLayout* f : {&big, &small})
        for (const FaceButtonTile& b : f->buttons)
            for (const SkinPoint& p : b.images) {
                EXPECT_LE(p.x + b.dest.width(), 515);
                EXPECT_LE(p.y + b.dest.height(), 400);
            }
    EXPECT_EQ(big_face::volume_level(0), (SkinPoint{506, 80}));
    EXPECT_EQ(big_face::volume_level(10), (SkinPoint{82, 245}));
}

TEST(FaceLayout, ButtonsAndDisplaysKeepTheFaceStillElsewhereItDrags) {
    const FaceLayout& big = FaceLayout::big_face();
    EXPECT_EQ(big.button_at(70, 200)->id, FaceButton::Play);
    EXPECT_TRUE(big.drags_window(30, 30));     // caption bar
    EXPECT_FALSE(big.drags_window(31, 10));    // its Close button
    EXPECT_FALSE(big.drags_window(70, 200));   // Play
    EXPECT_FALSE(big.drags_window(200, 100));  // scope
    EXPECT_FALSE(big.drags_window(350, 100));  // volume bar
    EXPECT_TRUE(big.drags_window(5, 230));     // empty face
    const FaceLayout& small = FaceLayout::small_face();
    EXPECT_TRUE(small.drags_window(350 % 218, 70));
    EXPECT_FALSE(small.drags_window(40, 30));  // Play
    EXPECT_FALSE(small.drags_window(199, 6));  // Close
}

TEST(FaceLayout, HoverTextsOfTheBigFace) {
    const FaceLayout& big = FaceLayout::big_face();
    EXPECT_EQ(hover_text(big, 70, 215, 80), "Pause/Unpause");
    EXPECT_EQ(hover_text(big, 100, 210, 80), "Next/Playlist menu");
    EXPECT_EQ(hover_text(big, 30, 110, 80), "Studios");
    EXPECT_EQ(hover_text(big, 352, 100, 80), "Volume 80%");
    EXPECT_EQ(hover_text(big, 352, 100, 130), "Volume 100%");
    EXPECT_EQ(hover_text(big, 200, 228, 80), "Timebar");
    EXPECT_EQ(hover_text(big, 5, 230, 80), "");                       // empty face
    EXPECT_EQ(hover_text(big, 31, 10, 80), "");                       // title buttons have none
    EXPECT_EQ(hover_text(FaceLayout::small_face(), 40, 30, 80), "");  // no texts in the small face
}

TEST(FaceBars, VolumeAndTimeKnobArithmetic) {
    const SkinRect bar = big_face::kVolumeBar;  // 55 pixels tall, bottom 134
    EXPECT_EQ(volume_at(bar, 134), 0);
    EXPECT_EQ(volume_at(bar, 79), 99);   // 55 / (55 * 0.01) falls just short of 100
    EXPECT_EQ(volume_at(bar, 100), 61);  // 34 / 0.55, truncated
    EXPECT_EQ(volume_at(bar, 78), -1);
    EXPECT_EQ(volume_at(bar, 135), -1);
    EXPECT_EQ(volume_knob_top(bar, 8, false, 0, 0), 126);  // kept inside the bar
    EXPECT_EQ(volume_knob_top(bar, 8, false, 0, 100), 79);
    EXPECT_EQ(volume_knob_top(bar, 8, true, 90, 0), 90);
    const SkinRect time = big_face::kTimeBar;  // 223 wide
    EXPECT_EQ(time_knob_left(time, 14, false, 0, 0, 0), -1);
    EXPECT_EQ(time_knob_left(time, 14, false, 0, 30000, 60000), 119 + 104);
    EXPECT_EQ(time_knob_left(time, 14, true, 200, 0, 0), 200);
}

TEST(FaceColors, DecimalOrDollarHexWithDefaults) {
    const FaceColors none = read_face_colors(IniFile::parse("[List]\nInfo_font=1\n"));
    EXPECT_EQ(none.Info_font, 15510551u);
    EXPECT_EQ(none.R_scope, 16744448u);
    EXPECT_EQ(none.L_scope, 4639799u);
    const FaceColors set =
        read_face_colors(IniFile::parse("[Face]\nInfo_font=$ECAC17\nR_scope=255\nL_scope=$xyz\n"));
    EXPECT_EQ(set.Info_font, 0xECAC17u);
    EXPECT_EQ(set.R_scope, 255u);
    EXPECT_EQ(set.L_scope, 4639799u);  // not a number
    uint32_t v = 7;
    EXPECT_FALSE(parse_skin_color("-5", v));
    EXPECT_FALSE(parse_skin_color("$", v));
    EXPECT_FALSE(parse_skin_color("12 ", v));
    EXPECT_EQ(v, 7u);
}

}  // namespace
