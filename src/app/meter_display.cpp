#include "app/meter_display.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "app/info_macros.h"

namespace {

std::string eight_digits(long long v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%08lld", v);
    return buf;
}

}  // namespace

std::string time_display_text(int time_format, int32_t position_ms) {
    const long long ms = std::llabs(static_cast<long long>(position_ms));
    if (time_format == 1) return eight_digits(std::llround(std::nearbyint(ms * 0.001)));
    if (time_format == 2) return eight_digits(ms);
    return timestr(ms);
}

std::vector<LedGlyph> drawleds_glyphs(const std::string& text, int strip_left, int strip_width,
                                      int display_left) {
    const int w = led_glyph_width(strip_width);
    std::vector<LedGlyph> out;
    int x = display_left + w + 1;
    for (char c : text) {
        int index = -1;
        if (c >= '0' && c <= '9') index = c - '0';
        if (c == ':') index = 10;
        if (c == '-') index = 11;
        if (index >= 0) out.push_back({strip_left + index * w, x});
        x += w;
    }
    return out;
}

int PanelScroll::next(int text_width, int panel_width) {
    offset_ -= 0.3;
    if (offset_ < -text_width) offset_ = panel_width;
    return static_cast<int>(offset_);
}

bool PanelScroll::tick(const std::vector<int>& widths, int panel_width) {
    std::vector<int> xs(widths.size(), 0);
    for (size_t i = 0; i < widths.size(); ++i)
        if (widths[i] > 0) xs[i] = next(widths[i], panel_width);
    const bool moved = xs != xs_;
    xs_ = std::move(xs);
    return moved;
}

uint32_t next_scope_colour(uint32_t current, uint32_t base) {
    current += 10;
    return base + 1000 < current ? base : current;
}
