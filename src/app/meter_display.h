// What the meter timer shows: the time text in its three formats, the glyphs
// of the digit strip, wide information lines and the scope colour cycle.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// 0 "H:M:S", 1 seconds, 2 milliseconds; the last two with at least 8 digits.
std::string time_display_text(int time_format, int32_t position_ms);

// One character of the time display: its glyph's left edge in the strip and
// its place on the window.
struct LedGlyph {
    int source_x = 0;
    int dest_x = 0;
};
// Glyphs "0".."9", ":" and "-" share the strip's width equally; the first
// character sits one glyph and one pixel right of the display's left edge.
// Other characters are skipped (their place stays).
std::vector<LedGlyph> drawleds_glyphs(const std::string& text, int strip_left, int strip_width,
                                      int display_left);
inline int led_glyph_width(int strip_width) {
    return strip_width / 12;
}

// A line is wide when its characters at 10 div 3 pixels each fill the panel.
inline bool line_is_wide(size_t chars, int panel_width) {
    return static_cast<long long>(chars) * (10 / 3) >= panel_width;
}

// Scrolling of wide lines: 0.3 pixel to the left per wide line drawn, starting
// at the panel's left edge and starting over from its right edge once the
// text has left the panel.
class PanelScroll {
  public:
    // x at which to draw a wide line of the given pixel width.
    int next(int text_width, int panel_width);
    // One meter tick: each wide line (its pixel width in widths, 0 for a
    // line that is not wide) takes the next x; the others stand at 0. True
    // when a line now stands elsewhere than after the last tick.
    bool tick(const std::vector<int>& widths, int panel_width);
    // Where line i stands since the last tick.
    int x(size_t line) const { return line < xs_.size() ? xs_[line] : 0; }
    void reset() {
        offset_ = 0;
        xs_.clear();
    }

  private:
    double offset_ = 0;
    std::vector<int> xs_;
};

// The dynamic scope colour: +10 on the packed value each tick, back to the
// base once more than 1000 above it.
uint32_t next_scope_colour(uint32_t current, uint32_t base);
