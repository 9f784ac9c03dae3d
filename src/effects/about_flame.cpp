#include "effects/about_flame.h"

#include <unordered_map>

namespace about {

namespace {

constexpr uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) {
    return r | (g << 8) | (b << 16);
}

constexpr uint32_t kBlack = rgb(0, 0, 0), kGrey = rgb(128, 128, 128), kGreen = rgb(0, 255, 0),
                   kBlue = rgb(0, 0, 255), kRed = rgb(255, 0, 0), kNavy = rgb(0, 0, 128);

constexpr uint32_t kTahomaBlue = rgb(4, 183, 251), kGold = rgb(204, 182, 21),
                   kTeal = rgb(51, 202, 183), kNames = rgb(204, 157, 79),
                   kAddresses = rgb(21, 188, 223), kFooter = rgb(218, 96, 37);

}  // namespace

const TextFont kFonts[kFontCount] = {
    {"Tahoma", 18, 10, 400, false}, {"Tahoma", 18, 8, 400, false}, {"MS Serif", 18, 10, 400, false},
    {"Arial", 15, 5, 10, true},     {"Arial", 15, 5, 10, false},
};

const TextLine kTexts[] = {
    {0, kTahomaBlue, 10, 70, "Veltrona is player of new generation."},
    {0, kTahomaBlue, 100, 88, "Version 0.73beta"},
    {1, kGold, 30, 110, "Veltrona is attempt to change situation"},
    {1, kGold, 30, 128, "in the world of computer music & audio."},
    {1, kGold, 40, 146, "VL must replace multimedia players"},
    {1, kGold, 110, 164, "of every kind, old and new."},
    {1, kGold, 30, 182, "At first it's created as author's creative"},
    {1, kGold, 60, 200, "activity, not for making money."},
    {2, kTeal, 105, 250, "(c) 2026 Dunmoor workshop"},
    {2, kTeal, 120, 268, "www.veltrona.example"},
    {3, kNames, 7, 298, "Thanx to:"},
    {3, kNames, 7, 313, "everyone who tested the betas,"},
    {3, kAddresses, 240, 313, "beta.veltrona.example"},
    {3, kNames, 7, 328, "the painters of our skins,"},
    {3, kAddresses, 240, 328, "skins.veltrona.example"},
    {3, kNames, 7, 343, "the authors of decoder plugins"},
    {3, kAddresses, 240, 343, "plugins.veltrona.example"},
    {3, kNames, 7, 358, "and all who reported a bug."},
    {3, kAddresses, 240, 358, "bugs.veltrona.example"},
    {4, kFooter, 60, 375, "...No users were harmed during the player creation..."},
};
const int kTextCount = static_cast<int>(sizeof(kTexts) / sizeof(kTexts[0]));

void fill_flame_palette(TFastDIB& flame) {
    const uint32_t low[] = {kBlack, kGrey, kGreen, kBlue, kGreen, kRed, kBlue};
    const uint32_t mid[] = {kBlue, kNavy};
    const uint32_t high[] = {kNavy, kBlack, kNavy, kBlack};
    flame.FillColors(0, 120, 7, low);
    flame.FillColors(120, 136, 2, mid);
    flame.FillColors(136, 255, 4, high);
}

void flame_step(uint8_t* bits, int row_bytes, int rows, uint32_t counter) {
    if (!bits || rows < 4 || row_bytes < 1) return;
    const size_t w = static_cast<size_t>(row_bytes);
    const size_t n = w * static_cast<size_t>(rows);
    // Every read lies ahead of the write, so each value comes from the last frame.
    auto put = [&](size_t k, unsigned sum) {
        unsigned v = sum / 4;
        if (v > 0 && counter % 16 > 10) --v;
        bits[k] = static_cast<uint8_t>(v);
        counter += counter - counter / 2;
    };
    auto at = [&](size_t i) -> unsigned { return i < n ? bits[i] : 0u; };
    const size_t last_full = n - 4 * w;
    for (size_t k = 0; k < last_full; ++k)
        put(k, bits[k + 2 * w - 1] + bits[k + 2 * w] + bits[k + 2 * w + 1] + bits[k + 4 * w]);
    put(last_full, at(last_full + 2 * w - 1) + at(last_full + 2 * w) + at(last_full + 2 * w + 1) +
                       at(last_full + 4 * w));
    // Two rows from the top only three neighbours remain; the top two rows stay.
    for (size_t k = last_full + 1; k + 2 * w < n; ++k)
        put(k, at(k + 2 * w - 1) + at(k + 2 * w) + at(k + 2 * w + 1));
}

FlameLogo make_flame_logo(const TFastDIB& logo, const DibQuad* palette) {
    FlameLogo out;
    if (logo.Empty() || logo.Width <= 0 || logo.AbsHeight <= 0) return out;
    out.width = logo.Width;
    out.height = logo.AbsHeight;
    out.index.assign(static_cast<size_t>(out.width) * out.height, 0);
    out.opaque.assign(out.index.size(), 0);
    const FColor key = logo.GetPixel(logo.PictureRow(0), 0);
    std::unordered_map<uint32_t, uint8_t> nearest;
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            const FColor c = logo.GetPixel(logo.PictureRow(y), x);
            if (c == key) continue;
            const uint32_t packed = c.r | (c.g << 8) | (c.b << 16);
            auto found = nearest.find(packed);
            if (found == nearest.end()) {
                int best = 0;
                long best_d = -1;
                for (int i = 0; i < 256; ++i) {
                    const long dr = c.r - palette[i].r, dg = c.g - palette[i].g,
                               db = c.b - palette[i].b;
                    const long d = dr * dr + dg * dg + db * db;
                    if (best_d < 0 || d < best_d) {
                        best_d = d;
                        best = i;
                    }
                }
                found = nearest.emplace(packed, static_cast<uint8_t>(best)).first;
            }
            const size_t at = static_cast<size_t>(y) * out.width + x;
            out.index[at] = found->second;
            out.opaque[at] = 1;
        }
    }
    return out;
}

void feed_logo(TFastDIB& flame, const FlameLogo& logo, int x, int y) {
    if (flame.Empty() || flame.Bpp != 8) return;
    for (int ly = 0; ly < logo.height; ++ly) {
        const int py = y + ly;
        if (py < 0 || py >= flame.AbsHeight) continue;
        uint8_t* row = flame.Scanlines[flame.PictureRow(py)];
        const size_t from = static_cast<size_t>(ly) * logo.width;
        for (int lx = 0; lx < logo.width; ++lx) {
            const int px = x + lx;
            if (px < 0 || px >= flame.Width || !logo.opaque[from + lx]) continue;
            row[px] = logo.index[from + lx];
        }
    }
}

}  // namespace about
