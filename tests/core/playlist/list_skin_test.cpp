#include "playlist/list_skin.h"

#include <gtest/gtest.h>

#include "base/ini_file.h"

namespace {

TEST(ListSkin, StretchedTilesFollowTheSizeAndFixedOnesStay) {
    const ListSkinLayout small = ListSkinLayout::for_size(275, 300);
    const ListSkinLayout wide = ListSkinLayout::for_size(600, 300);
    EXPECT_EQ(wide.title_active.dest, (SkinRect{0, 0, 600, 15}));
    EXPECT_EQ(wide.title_active.source, (SkinRect{1, 1, 276, 16}));
    EXPECT_EQ(wide.panel.dest.width(), 580);
    EXPECT_EQ(wide.strip.dest.width(), 580);
    EXPECT_EQ(wide.right.dest, (SkinRect{590, 15, 600, 290}));
    EXPECT_EQ(wide.bottom.dest, (SkinRect{0, 290, 600, 300}));
    for (int i = 0; i < kToolButtons; ++i) {
        EXPECT_EQ(wide.tools[i].dest, small.tools[i].dest);
        EXPECT_EQ(wide.tools[i].dest.width(), 39);
    }
    EXPECT_EQ(wide.tool(ToolButton::Sort).dest, (SkinRect{138, 36, 177, 48}));
    EXPECT_EQ(wide.tool(ToolButton::Sort).over, (SkinPoint{121, 160}));
    EXPECT_EQ(wide.tool(ToolButton::Delete).normal, (SkinPoint{161, 145}));
    EXPECT_EQ(wide.playlist_button, small.playlist_button);
}

TEST(ListSkin, PointsHitTheFrameInOrder) {
    const ListSkinLayout l = ListSkinLayout::for_size(320, 400);
    EXPECT_EQ(hit_frame(l, 10, 5).part, FrameHit::Close);  // inside the title bar too
    EXPECT_EQ(hit_frame(l, 100, 5).part, FrameHit::Title);
    EXPECT_EQ(hit_frame(l, 20, 20).part, FrameHit::ExplorerButton);
    EXPECT_EQ(hit_frame(l, 166, 30).part, FrameHit::PlaylistButton);
    EXPECT_EQ(hit_frame(l, 167, 30).part, FrameHit::None);  // right edges are exclusive
    const FrameHitResult add = hit_frame(l, 58, 40);
    EXPECT_EQ(add.part, FrameHit::Tool);
    EXPECT_EQ(add.tool, ToolButton::Add);
    EXPECT_EQ(hit_frame(l, 315, 200).part, FrameHit::RightBorder);
    // The bottom-right corner belongs to the bottom border.
    EXPECT_EQ(hit_frame(l, 315, 395).part, FrameHit::BottomBorder);
    EXPECT_EQ(hit_frame(l, 150, 200).part, FrameHit::None);
}

TEST(ListSkin, ColoursFromTheListSectionWithDefaults) {
    const ListColors none = read_list_colors(IniFile::parse("[Face]\nList_color=5\n"));
    EXPECT_EQ(none.List_color, 0u);
    EXPECT_EQ(none.List_font, 16711680u);
    EXPECT_EQ(none.Menu_color, 12632256u);
    EXPECT_EQ(none.Tabs_color, 8421504u);
    EXPECT_EQ(none.Tabs_sel, 65280u);
    EXPECT_EQ(none.Tabs_unsel, 32768u);
    const ListColors some =
        read_list_colors(IniFile::parse("[List]\nList_color=255\nList_font=blue\nTabs_font=12x\n"));
    EXPECT_EQ(some.List_color, 255u);
    EXPECT_EQ(some.List_font, 16711680u);  // not a number
    EXPECT_EQ(some.Tabs_font, 0u);
}

TEST(ListSkin, TheListPageLeavesTheFrameFree) {
    EXPECT_EQ(list_page_rect(320, 400, 0), (SkinRect{10, 52, 310, 390}));
    EXPECT_EQ(list_page_rect(320, 400, 20).bottom, 370);
}

}  // namespace
