// The about box's picture rules: the flame palette, one flame step over an
// 8-bit buffer, the logo fed into the flames, the texts and the window's place.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "effects/FastDIB.h"

namespace about {

constexpr int kSize = 400;       // the picture is kSize x kSize pixels
constexpr int kLogoWidth = 214;  // the logo's column is centred for this width
constexpr int kLogoTop = 20;
constexpr int kTimerMs = 50;
constexpr int kPauseMs = 40;

// Fills entries 0..255 of the surface's colour table with the flame palette.
void fill_flame_palette(TFastDIB& flame);

// One frame of the flames over `rows` rows of `row_bytes` bytes, in place.
// `counter` is the lowering counter's start value (0..9 in the program).
void flame_step(uint8_t* bits, int row_bytes, int rows, uint32_t counter);

// The logo as flame-palette indices; pixels of the logo's top-left colour are
// left out. Empty when the logo is.
struct FlameLogo {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> index;   // top line first
    std::vector<uint8_t> opaque;  // 1 where the logo is drawn
};
FlameLogo make_flame_logo(const TFastDIB& logo, const DibQuad* palette);

// Draws the logo into an 8-bit surface with its top-left corner at picture
// point (x, y), clipped to the surface.
void feed_logo(TFastDIB& flame, const FlameLogo& logo, int x, int y);

// Where the logo goes on a flame buffer of the given width.
inline int logo_left(int buffer_width) {
    return (buffer_width - kLogoWidth) / 2;
}

// The fonts and texts drawn over the flames, each twice: a black shadow at
// (x + 3, y + 2), then the colour at (x, y). Colours have red in the lowest byte.
struct TextFont {
    const char* face;
    int height, width, weight;
    bool italic;
};
struct TextLine {
    int font;  // index into kFonts
    uint32_t colour;
    int x, y;
    const char* text;
};
constexpr int kFontCount = 5;
extern const TextFont kFonts[kFontCount];
extern const TextLine kTexts[];
extern const int kTextCount;
constexpr int kShadowDx = 3;
constexpr int kShadowDy = 2;
// The rule between the notice and the acknowledgements, both ends included.
constexpr int kRuleY = 290, kRuleLeft = 10, kRuleRight = 390;
constexpr uint32_t kRuleColour = 22 | (201 << 8) | (156 << 16);

// Top-left corner of the window so that its 400 x 400 client area is centred
// on the full screen, from the system's frame and caption sizes.
struct Origin {
    int left, top;
};
inline Origin window_origin(int screen_w, int screen_h, int frame_w, int frame_h, int caption_h) {
    return {(screen_w - 2 * frame_w - kSize) / 2,
            (screen_h - (2 * frame_h + caption_h + kSize)) / 2};
}

}  // namespace about
