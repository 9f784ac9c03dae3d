// The playlist frame drawn from def_list.bmp: where each tile goes for a
// window size, which part of the frame a point hits, and the colours of
// section "List" in colors.ini.
#pragma once

#include <cstdint>
#include <string>

#include "base/skin_geometry.h"
#include "widgets/menu_model.h"

class IniFile;

// A stretched tile: source rectangle onto destination rectangle.
struct StretchTile {
    SkinRect source, dest;
};

enum class ToolButton { List, Add, Select, Sort, Delete };
inline constexpr int kToolButtons = 5;

struct ToolTile {
    SkinRect dest;
    SkinPoint normal, over;
};

struct ListSkinLayout {
    StretchTile title_active, title_inactive, panel, strip, left, right, bottom;
    SkinRect close{8, 2, 20, 13};
    SkinPoint close_active{1, 99}, close_inactive{27, 99}, close_pressed{14, 99};
    SkinRect explorer_button{8, 17, 86, 31};
    SkinPoint explorer_pressed{1, 129}, explorer_raised{1, 114};
    SkinRect playlist_button{89, 17, 167, 31};
    SkinPoint playlist_pressed{80, 129}, playlist_raised{80, 114};
    ToolTile tools[kToolButtons];

    // Everything that follows the window's width and height.
    static ListSkinLayout for_size(int w, int h);
    const ToolTile& tool(ToolButton b) const { return tools[static_cast<int>(b)]; }
};

// What the pointer is over, tested in this order.
enum class FrameHit {
    None,
    Close,
    ExplorerButton,
    PlaylistButton,
    Tool,
    Title,
    RightBorder,
    BottomBorder
};

struct FrameHitResult {
    FrameHit part = FrameHit::None;
    ToolButton tool = ToolButton::List;
};

FrameHitResult hit_frame(const ListSkinLayout& l, int x, int y);

// Colours with red in the lowest byte.
struct ListColors {
    uint32_t List_color = 0;
    uint32_t List_font = 16711680;
    uint32_t Menu_color = 12632256;
    uint32_t Menu_font = 0;
    uint32_t Tabs_color = 8421504;
    uint32_t Tabs_sel = 65280;
    uint32_t Tabs_unsel = 32768;
    uint32_t Tabs_font = 0;
};

// Missing values and values that are not numbers keep their defaults.
ListColors read_list_colors(const IniFile& colors);
// The popup menus of both windows take the playlist skin's menu and tab colours.
MenuColours menu_colours(const ListColors& c);

// The pages' controls: the list view on the playlist page (no tab row yet).
SkinRect list_page_rect(int w, int h, int tab_height);
