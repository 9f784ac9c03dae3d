#include "widgets/menu_model.h"

#include <algorithm>

MenuItem& MenuModel::add(unsigned id, std::string caption) {
    MenuItem item;
    item.id = id;
    item.caption = std::move(caption);
    items.push_back(std::move(item));
    return items.back();
}

void MenuModel::separator() {
    MenuItem item;
    item.separator = true;
    items.push_back(std::move(item));
}

MenuModel& MenuModel::add_submenu(std::string caption, std::string sub_title) {
    MenuItem& item = add(0, std::move(caption));
    item.submenu = std::make_shared<MenuModel>();
    item.submenu->title = std::move(sub_title);
    return *item.submenu;
}

void MenuModel::check_radio(unsigned first, unsigned last, unsigned checked) {
    for (MenuItem& item : items)
        if (item.id >= first && item.id <= last) {
            item.radio = true;
            item.checked = item.id == checked;
        }
}

int MenuModel::visible_count() const {
    return static_cast<int>(
        std::count_if(items.begin(), items.end(), [](const MenuItem& i) { return !i.hidden; }));
}

uint32_t mix_colours(uint32_t a, uint32_t b) {
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8)
        out |= ((((a >> shift) & 0xFF) + ((b >> shift) & 0xFF)) / 2) << shift;
    return out;
}

MenuAnimation menu_animation(int menu_popup) {
    switch (menu_popup) {
        case 0:
            return MenuAnimation::FadeIn;
        case 1:
            return MenuAnimation::VerticalSlide;
        case 2:
            return MenuAnimation::HorizontalSlide;
        case 4:
            return MenuAnimation::None;
        default:
            return MenuAnimation::System;
    }
}

char mnemonic_of(const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i)
        if (caption[i] == '&') {
            if (caption[i + 1] == '&') {
                ++i;
                continue;
            }
            const char c = caption[i + 1];
            return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        }
    return 0;
}

int next_selectable(const MenuModel& menu, int from, int step) {
    const int n = static_cast<int>(menu.items.size());
    if (n == 0) return -1;
    int i = from < 0 ? (step > 0 ? -1 : n) : from;
    for (int tries = 0; tries < n; ++tries) {
        i = ((i + step) % n + n) % n;
        if (menu.items[static_cast<size_t>(i)].selectable()) return i;
    }
    return -1;
}

std::vector<int> mnemonic_items(const MenuModel& menu, char key) {
    if (key >= 'a' && key <= 'z') key = static_cast<char>(key - 'a' + 'A');
    std::vector<int> found;
    for (size_t i = 0; i < menu.items.size(); ++i)
        if (menu.items[i].selectable() && key != 0 && mnemonic_of(menu.items[i].caption) == key)
            found.push_back(static_cast<int>(i));
    return found;
}

MenuLayout layout_menu(const MenuModel& menu,
                       const std::function<int(const std::string&)>& text_width,
                       const MenuMetrics& m) {
    MenuLayout l;
    int text_w = 0;
    for (const MenuItem& item : menu.items)
        if (!item.hidden && !item.separator) text_w = std::max(text_w, text_width(item.caption));
    int width = m.check_width + m.text_padding + text_w + m.text_padding + m.arrow_width;
    if (!menu.title.empty()) width = std::max(width, m.text_padding * 2 + text_width(menu.title));
    l.width = std::max(width, m.min_width);
    int y = 0;
    if (!menu.title.empty()) {
        l.title = SkinRect{0, 0, l.width, m.title_height};
        y = m.title_height;
    }
    for (const MenuItem& item : menu.items) {
        if (item.hidden) {
            l.rows.emplace_back();
            continue;
        }
        const int h = item.separator ? m.separator_height : m.item_height;
        l.rows.push_back(SkinRect{0, y, l.width, y + h});
        y += h;
    }
    l.height = std::max(y, 1);
    return l;
}

int item_at(const MenuLayout& layout, int x, int y) {
    for (size_t i = 0; i < layout.rows.size(); ++i)
        if (layout.rows[i].contains(x, y)) return static_cast<int>(i);
    return -1;
}

namespace {

int keep_in(int pos, int size, int low, int high) {
    return std::max(low, std::min(pos, high - size));
}

}  // namespace

SkinPoint place_menu(SkinPoint at, int w, int h, const SkinRect& work) {
    int x = at.x + w > work.right ? at.x - w : at.x;
    int y = at.y + h > work.bottom ? at.y - h : at.y;
    return SkinPoint{keep_in(x, w, work.left, work.right), keep_in(y, h, work.top, work.bottom)};
}

SkinPoint place_submenu(const SkinRect& parent, const SkinRect& item, int w, int h,
                        const SkinRect& work) {
    int x = parent.right + w > work.right ? parent.left - w : parent.right;
    return SkinPoint{keep_in(x, w, work.left, work.right),
                     keep_in(item.top, h, work.top, work.bottom)};
}

MenuFrame animation_frame(MenuAnimation a, int step, int steps, int w, int h) {
    MenuFrame f{255, w, h};
    if (steps <= 0 || step >= steps) return f;
    step = std::max(step, 0);
    switch (a) {
        case MenuAnimation::FadeIn:
            f.alpha = static_cast<uint8_t>(255 * (step + 1) / (steps + 1));
            break;
        case MenuAnimation::VerticalSlide:
            f.height = std::max(1, h * (step + 1) / (steps + 1));
            break;
        case MenuAnimation::HorizontalSlide:
            f.width = std::max(1, w * (step + 1) / (steps + 1));
            break;
        default:
            break;
    }
    return f;
}
