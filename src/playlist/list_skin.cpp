#include "playlist/list_skin.h"

#include "base/ini_file.h"

ListSkinLayout ListSkinLayout::for_size(int w, int h) {
    ListSkinLayout l;
    l.title_active = {{1, 1, 276, 16}, {0, 0, w, 15}};
    l.title_inactive = {{1, 17, 276, 32}, {0, 0, w, 15}};
    l.panel = {{12, 33, 267, 52}, {10, 15, w - 10, 34}};
    l.strip = {{12, 54, 267, 72}, {10, 34, w - 10, 52}};
    l.left = {{1, 33, 11, 87}, {0, 15, 10, h - 10}};
    l.right = {{268, 33, 278, 87}, {w - 10, 15, w, h - 10}};
    l.bottom = {{1, 88, 276, 98}, {0, h - 10, w, h}};
    for (int i = 0; i < kToolButtons; ++i) {
        const int x = 18 + 40 * i;
        l.tools[i] = {{x, 36, x + 39, 48}, {1 + 40 * i, 145}, {1 + 40 * i, 160}};
    }
    return l;
}

FrameHitResult hit_frame(const ListSkinLayout& l, int x, int y) {
    if (l.close.contains(x, y)) return {FrameHit::Close};
    if (l.explorer_button.contains(x, y)) return {FrameHit::ExplorerButton};
    if (l.playlist_button.contains(x, y)) return {FrameHit::PlaylistButton};
    for (int i = 0; i < kToolButtons; ++i)
        if (l.tools[i].dest.contains(x, y)) return {FrameHit::Tool, static_cast<ToolButton>(i)};
    if (l.title_active.dest.contains(x, y)) return {FrameHit::Title};
    if (l.bottom.dest.contains(x, y)) return {FrameHit::BottomBorder};
    if (l.right.dest.contains(x, y)) return {FrameHit::RightBorder};
    return {};
}

namespace {

void read_color(const IniFile& ini, const char* key, uint32_t& v) {
    uint32_t c = 0;
    if (parse_skin_color(ini.read("List", key, ""), c)) v = c;
}

}  // namespace

ListColors read_list_colors(const IniFile& ini) {
    ListColors c;
    read_color(ini, "List_color", c.List_color);
    read_color(ini, "List_font", c.List_font);
    read_color(ini, "Menu_color", c.Menu_color);
    read_color(ini, "Menu_font", c.Menu_font);
    read_color(ini, "Tabs_color", c.Tabs_color);
    read_color(ini, "Tabs_sel", c.Tabs_sel);
    read_color(ini, "Tabs_unsel", c.Tabs_unsel);
    read_color(ini, "Tabs_font", c.Tabs_font);
    return c;
}

SkinRect list_page_rect(int w, int h, int tab_height) {
    return {10, 52, 10 + w - 20, h - 10 - tab_height};
}

MenuColours menu_colours(const ListColors& c) {
    MenuColours m;
    m.back = c.Menu_color;
    m.text = c.Menu_font;
    m.select_back = c.Tabs_unsel;
    m.select_text = c.Tabs_font;
    m.title_back = c.Tabs_color;
    m.title_text = c.Tabs_sel;
    m.disabled = mix_colours(c.Menu_color, c.Menu_font);
    return m;
}
