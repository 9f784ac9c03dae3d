// Draws the about box's logo, system\about.bmp: the player's name in block
// capitals, coloured from the flame palette so that every pixel maps onto a
// palette entry exactly, on a magenta ground that the box leaves out.
#include <cstdio>
#include <string>

#include "effects/FastDIB.h"
#include "effects/about_flame.h"

namespace {

constexpr int kWidth = about::kLogoWidth;
constexpr int kHeight = 44;
constexpr int kScale = 4;
constexpr int kGlyphW = 5, kGlyphH = 7;

struct Glyph {
    char c;
    const char* rows[kGlyphH];
};

const Glyph kGlyphs[] = {
    {'V', {"X...X", "X...X", "X...X", "X...X", "X...X", ".X.X.", "..X.."}},
    {'E', {"XXXXX", "X....", "X....", "XXXX.", "X....", "X....", "XXXXX"}},
    {'L', {"X....", "X....", "X....", "X....", "X....", "X....", "XXXXX"}},
    {'T', {"XXXXX", "..X..", "..X..", "..X..", "..X..", "..X..", "..X.."}},
    {'R', {"XXXX.", "X...X", "X...X", "XXXX.", "X.X..", "X..X.", "X...X"}},
    {'O', {".XXX.", "X...X", "X...X", "X...X", "X...X", "X...X", ".XXX."}},
    {'N', {"X...X", "XX..X", "X.X.X", "X..XX", "X...X", "X...X", "X...X"}},
    {'A', {".XXX.", "X...X", "X...X", "XXXXX", "X...X", "X...X", "X...X"}},
};

const Glyph* glyph_of(char c) {
    for (const Glyph& g : kGlyphs)
        if (g.c == c) return &g;
    return nullptr;
}

class Logo {
  public:
    Logo() {
        flame_.SetSize(4, 4, 8);
        about::fill_flame_palette(flame_);
        dib_.SetSize(kWidth, kHeight, 24);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) put(x, y, FColor{255, 0, 255});
    }
    void put(int x, int y, FColor c) {
        if (x >= 0 && y >= 0 && x < kWidth && y < kHeight) dib_.SetPixel(dib_.PictureRow(y), x, c);
    }
    FColor entry(int i) const {
        const DibQuad& q = flame_.Info.colors[i];
        return FColor{q.b, q.g, q.r};
    }
    // One scaled glyph; `colour(row)` picks the palette entry per pixel row.
    template <class Colour>
    void glyph(const Glyph& g, int left, int top, Colour colour) {
        for (int gy = 0; gy < kGlyphH; ++gy)
            for (int gx = 0; gx < kGlyphW; ++gx) {
                if (g.rows[gy][gx] != 'X') continue;
                for (int sy = 0; sy < kScale; ++sy)
                    for (int sx = 0; sx < kScale; ++sx) {
                        const int y = top + gy * kScale + sy;
                        put(left + gx * kScale + sx, y, entry(colour(y)));
                    }
            }
    }
    bool save(const std::string& path) const { return dib_.SaveToFile(path); }

  private:
    TFastDIB flame_;
    TFastDIB dib_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: aboutgen <about.bmp>\n");
        return 2;
    }
    const std::string name = "VELTRONA";
    const int advance = kGlyphW * kScale + 6;
    const int text_w = static_cast<int>(name.size()) * advance - 6;
    const int left = (kWidth - text_w) / 2;
    const int top = 5;
    const int text_h = kGlyphH * kScale;

    Logo logo;
    // A green shadow below and right, then the letters from red at the top to blue.
    for (size_t i = 0; i < name.size(); ++i)
        if (const Glyph* g = glyph_of(name[i]))
            logo.glyph(*g, left + static_cast<int>(i) * advance + 2, top + 2,
                       [](int) { return 80; });
    for (size_t i = 0; i < name.size(); ++i)
        if (const Glyph* g = glyph_of(name[i]))
            logo.glyph(*g, left + static_cast<int>(i) * advance, top,
                       [&](int y) { return 100 + (y - top) * 20 / (text_h - 1); });
    // An underline running through the palette's first range.
    const int line_y = top + text_h + 5;
    for (int x = left; x < left + text_w; ++x)
        for (int y = line_y; y < line_y + 2; ++y)
            logo.put(x, y, logo.entry(20 + (x - left) * 100 / (text_w - 1)));

    if (!logo.save(argv[1])) {
        std::fprintf(stderr, "aboutgen: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
