#include "effects/about_flame.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>

namespace {

// The flame rule computed from a copy of the previous frame, position by
// position; the program works in place and must agree with it.
std::vector<uint8_t> step_from_copy(const std::vector<uint8_t>& prev, size_t w, uint32_t a) {
    const size_t n = prev.size();
    std::vector<uint8_t> out = prev;
    if (n / w < 4) return out;
    auto at = [&](size_t i) -> unsigned { return i < n ? prev[i] : 0u; };
    for (size_t k = 0; k < n - 2 * w; ++k) {
        unsigned sum = at(k + 2 * w - 1) + at(k + 2 * w) + at(k + 2 * w + 1);
        if (k <= n - 4 * w) sum += at(k + 4 * w);
        unsigned v = sum / 4;
        if (v > 0 && a % 16 > 10) v -= 1;
        out[k] = static_cast<uint8_t>(v);
        a = static_cast<uint32_t>(a + (a - a / 2));
    }
    return out;
}

TEST(AboutFlame, StepOnFourRowsByHand) {
    // Rows (memory order): two empty rows, then 40 80 120 160, then 200 x 4.
    const std::vector<uint8_t> start = {0,  0,  0,   0,   0,   0,   0,   0,
                                        40, 80, 120, 160, 200, 200, 200, 200};
    struct Case {
        uint32_t counter;
        std::vector<uint8_t> want;
    };
    // Counter 0 never lowers; from 1 it runs 1 2 3 5 8 12 18 27: positions 5 and 7 drop by one.
    const Case cases[] = {
        {0, {30, 60, 90, 120, 140, 150, 150, 100, 40, 80, 120, 160, 200, 200, 200, 200}},
        {1, {30, 60, 90, 120, 140, 149, 150, 99, 40, 80, 120, 160, 200, 200, 200, 200}},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> b = start;
        about::flame_step(b.data(), 4, 4, c.counter);
        EXPECT_EQ(b, c.want) << "counter " << c.counter;
    }
}

TEST(AboutFlame, StepInPlaceAgreesWithCopy) {
    struct Case {
        int row_bytes, rows;
        uint32_t counter;
    };
    // The full picture with every start value wraps the 32-bit counter many times.
    const Case cases[] = {{400, 400, 0}, {400, 400, 7}, {400, 400, 9}, {8, 4, 3},
                          {12, 5, 5},    {4, 3, 9},     {400, 2, 1}};
    std::mt19937 rng(42);
    for (const Case& c : cases) {
        std::vector<uint8_t> b(static_cast<size_t>(c.row_bytes) * c.rows);
        for (uint8_t& v : b) v = static_cast<uint8_t>(rng());
        const std::vector<uint8_t> want = step_from_copy(b, c.row_bytes, c.counter);
        about::flame_step(b.data(), c.row_bytes, c.rows, c.counter);
        EXPECT_EQ(b, want) << c.row_bytes << " x " << c.rows << " from " << c.counter;
    }
}

TEST(AboutFlame, PaletteAtRangeBoundaries) {
    TFastDIB flame;
    ASSERT_TRUE(flame.SetSize(4, 4, 8));
    about::fill_flame_palette(flame);
    struct Case {
        int entry;
        uint8_t r, g, b;
    };
    const Case cases[] = {
        {0, 0, 0, 0},     {20, 128, 128, 128}, {100, 255, 0, 0}, {120, 0, 0, 255},
        {128, 0, 0, 191}, {136, 0, 0, 128},    {255, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const DibQuad& q = flame.Info.colors[c.entry];
        EXPECT_EQ((std::array<int, 3>{q.r, q.g, q.b}), (std::array<int, 3>{c.r, c.g, c.b}))
            << "entry " << c.entry;
    }
}

TEST(AboutFlame, LogoKeepsItsKeyColourOutAndClips) {
    TFastDIB flame;
    ASSERT_TRUE(flame.SetSize(6, 5, 8));
    about::fill_flame_palette(flame);

    // 3 x 2 logo: magenta key in the corner, red, grey; a magenta hole below.
    TFastDIB logo;
    ASSERT_TRUE(logo.SetSize(3, 2, 24));
    const FColor key{255, 0, 255}, red{0, 0, 255}, grey{128, 128, 128};
    const FColor picture[2][3] = {{key, red, grey}, {red, key, red}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) logo.SetPixel(logo.PictureRow(y), x, picture[y][x]);
    const about::FlameLogo fl = about::make_flame_logo(logo, flame.Info.colors);

    struct Case {
        int x, y;
        std::vector<std::vector<int>> want;  // picture lines of the flame buffer
    };
    const Case cases[] = {
        {1,
         1,
         {{7, 7, 7, 7, 7, 7},
          {7, 7, 100, 20, 7, 7},
          {7, 100, 7, 100, 7, 7},
          {7, 7, 7, 7, 7, 7},
          {7, 7, 7, 7, 7, 7}}},
        {4,
         4,
         {{7, 7, 7, 7, 7, 7},
          {7, 7, 7, 7, 7, 7},
          {7, 7, 7, 7, 7, 7},
          {7, 7, 7, 7, 7, 7},
          {7, 7, 7, 7, 7, 100}}},
        {-1,
         -1,
         {{7, 100, 7, 7, 7, 7},
          {7, 7, 7, 7, 7, 7},
          {7, 7, 7, 7, 7, 7},
          {7, 7, 7, 7, 7, 7},
          {7, 7, 7, 7, 7, 7}}},
    };
    for (const Case& c : cases) {
        std::memset(flame.Bits, 7, flame.Size);
        about::feed_logo(flame, fl, c.x, c.y);
        std::vector<std::vector<int>> got;
        for (int y = 0; y < 5; ++y) {
            got.emplace_back();
            for (int x = 0; x < 6; ++x)
                got.back().push_back(flame.Scanlines[flame.PictureRow(y)][x]);
        }
        EXPECT_EQ(got, c.want) << "at " << c.x << "," << c.y;
    }
}

}  // namespace
