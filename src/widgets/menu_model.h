// The content and the rules of the skinned popup menus, without a window:
// items, keyboard navigation, mnemonics, the layout of the rows, placement
// near the screen's edges and the opening animation's frames.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/skin_geometry.h"

struct MenuModel;

struct MenuItem {
    std::string caption;  // "&" marks the mnemonic, "&&" is a plain "&"
    unsigned id = 0;      // the command sent to the owner; 0 for none
    int tag = 0;
    bool separator = false;
    bool hidden = false;
    bool enabled = true;
    bool radio = false;
    bool checked = false;
    std::shared_ptr<MenuModel> submenu;

    // Can take the highlight: shown, enabled, not a separator.
    bool selectable() const { return !separator && !hidden && enabled; }
};

struct MenuModel {
    std::string title;  // shown in the title band; none when empty
    std::vector<MenuItem> items;

    MenuItem& add(unsigned id, std::string caption);
    void separator();
    // A new item that opens a submenu; the submenu is returned.
    MenuModel& add_submenu(std::string caption, std::string title = {});
    // Marks the radio items with ids first..last and checks the one with id checked.
    void check_radio(unsigned first, unsigned last, unsigned checked);
    int visible_count() const;
};

// Colours packed with red in the lowest byte.
struct MenuColours {
    uint32_t back = 0x483830;
    uint32_t text = 0xF5ECE6;
    uint32_t select_back = 0x785440;
    uint32_t select_text = 0xFFFFFF;
    uint32_t title_back = 0x382C26;
    uint32_t title_text = 0x78E660;
    uint32_t disabled = 0x968880;
};
// Halfway between two colours, channel by channel.
uint32_t mix_colours(uint32_t a, uint32_t b);

enum class MenuAnimation { FadeIn, VerticalSlide, HorizontalSlide, System, None };
// The setting's index 0..4 ("Flash effect", "Top 2 bottom", "Left 2 right",
// "Windows settings", "None"); anything else is the system's own.
MenuAnimation menu_animation(int menu_popup);

// The mnemonic letter of a caption, upper-cased; 0 when it has none.
char mnemonic_of(const std::string& caption);
// The next selectable item from `from` in direction step (+1 or -1),
// wrapping around; from -1 starts at either end. -1 when none is selectable.
int next_selectable(const MenuModel& menu, int from, int step);
// The selectable items whose mnemonic is key (any case), in order.
std::vector<int> mnemonic_items(const MenuModel& menu, char key);

struct MenuMetrics {
    int title_height = 18;
    int item_height = 18;
    int separator_height = 7;
    int check_width = 18;  // the column for the check mark
    int arrow_width = 16;  // the column for a submenu's arrow
    int text_padding = 6;
    int min_width = 80;
    int shadow = 4;  // below and right of the body
};

struct MenuLayout {
    int width = 0;  // the body, without the shadow
    int height = 0;
    SkinRect title;              // empty when there is no title
    std::vector<SkinRect> rows;  // one per item; empty for hidden items
};
// text_width: pixel width of a caption as it will be drawn.
MenuLayout layout_menu(const MenuModel& menu,
                       const std::function<int(const std::string&)>& text_width,
                       const MenuMetrics& m = {});
// The item under a point of the body, or -1.
int item_at(const MenuLayout& layout, int x, int y);

// Where a menu of size w x h opens for a point: right and down from it,
// turned to the other side where it would leave the work area, and kept in it.
SkinPoint place_menu(SkinPoint at, int w, int h, const SkinRect& work);
// Where a submenu opens beside its item (screen rectangle): to the right of
// the parent, or to its left when there is no room, top aligned with the item.
SkinPoint place_submenu(const SkinRect& parent, const SkinRect& item, int w, int h,
                        const SkinRect& work);

// One frame of the opening animation: the opacity and the part of the menu
// that is uncovered, for step 0..steps (steps: the last, complete frame).
struct MenuFrame {
    uint8_t alpha = 255;
    int width = 0;
    int height = 0;
};
MenuFrame animation_frame(MenuAnimation a, int step, int steps, int w, int h);
