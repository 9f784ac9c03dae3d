#include "widgets/menu_model.h"

#include <gtest/gtest.h>

namespace {

MenuModel sample() {
    MenuModel m;
    m.title = "Title";
    m.add(1, "&Open");                  // 0
    m.separator();                      // 1
    m.add(2, "&Play").enabled = false;  // 2
    m.add(3, "P&ause");                 // 3
    m.add(4, "&Pin").hidden = true;     // 4
    m.add(5, "Fish && &Chips");         // 5
    return m;
}

TEST(MenuModel, KeysSkipWhatCannotBeChosenAndWrapAround) {
    const MenuModel m = sample();
    EXPECT_EQ(next_selectable(m, -1, 1), 0);
    EXPECT_EQ(next_selectable(m, 0, 1), 3);  // past the separator and the disabled item
    EXPECT_EQ(next_selectable(m, 3, 1), 5);  // past the hidden one
    EXPECT_EQ(next_selectable(m, 5, 1), 0);
    EXPECT_EQ(next_selectable(m, -1, -1), 5);
    EXPECT_EQ(next_selectable(MenuModel{}, -1, 1), -1);
    EXPECT_EQ(mnemonic_of("Fish && &Chips"), 'C');
    EXPECT_EQ(mnemonic_of("No && mnemonic"), 0);
    EXPECT_EQ(mnemonic_items(m, 'a'), std::vector<int>{3});
    EXPECT_EQ(mnemonic_items(m, 'p'), std::vector<int>{});  // disabled and hidden
    EXPECT_EQ(mnemonic_items(m, 'c'), std::vector<int>{5});
}

TEST(MenuModel, HiddenItemsTakeNoRowAndRowsFollowTheTitle) {
    const MenuModel m = sample();
    const MenuMetrics metrics;
    const MenuLayout l = layout_menu(m, [](const std::string& s) { return int(s.size()) * 7; });
    ASSERT_EQ(l.rows.size(), m.items.size());
    EXPECT_EQ(l.rows[0].top, metrics.title_height);
    EXPECT_EQ(l.rows[4].height(), 0);
    EXPECT_EQ(l.rows[5].top, l.rows[3].bottom);
    EXPECT_EQ(item_at(l, 5, l.rows[3].top + 1), 3);
    EXPECT_EQ(item_at(l, 5, 1), -1);  // the title band
    EXPECT_GE(l.width, metrics.check_width + 14 * 7);
}

TEST(MenuModel, MenusStayOnTheWorkArea) {
    const SkinRect work{0, 0, 800, 600};
    const struct {
        SkinPoint at;
        SkinPoint expected;
    } cases[] = {
        {{100, 100}, {100, 100}},                        // room to the right and below
        {{790, 100}, {690, 100}},                        // turned to the left
        {{100, 590}, {100, 390}},                        // opened upwards
        {{50, 150}, {50, 150}},   {{-20, -20}, {0, 0}},  // kept on the area
    };
    for (const auto& c : cases) EXPECT_EQ(place_menu(c.at, 100, 200, work), c.expected);
    // A submenu opens beside its parent, on the left when the right has no room.
    EXPECT_EQ(place_submenu({600, 0, 700, 300}, {600, 40, 700, 58}, 100, 50, work).x, 700);
    EXPECT_EQ(place_submenu({700, 0, 790, 300}, {700, 40, 790, 58}, 100, 50, work).x, 600);
}

TEST(MenuModel, AnimationsEndOnTheWholeMenu) {
    for (MenuAnimation a : {MenuAnimation::FadeIn, MenuAnimation::VerticalSlide,
                            MenuAnimation::HorizontalSlide, MenuAnimation::None}) {
        MenuFrame last{0, 0, 0};
        for (int step = 0; step <= 6; ++step) {
            const MenuFrame f = animation_frame(a, step, 6, 120, 90);
            EXPECT_GE(f.alpha, last.alpha);
            EXPECT_GE(f.width, last.width);
            EXPECT_GE(f.height, last.height);
            EXPECT_GT(f.width * f.height, 0);
            last = f;
        }
        EXPECT_EQ(last.alpha, 255);
        EXPECT_EQ(last.width, 120);
        EXPECT_EQ(last.height, 90);
    }
    EXPECT_EQ(menu_animation(0), MenuAnimation::FadeIn);
    EXPECT_EQ(menu_animation(4), MenuAnimation::None);
    EXPECT_EQ(menu_animation(-7), MenuAnimation::System);
}

}  // namespace
