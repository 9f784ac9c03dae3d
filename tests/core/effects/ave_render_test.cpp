#include "effects/ave_render.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// 6 x 4 bottom-up surface; each channel a different ramp, values worked out by hand below.
FColor v(int c, int r) {
    return FColor{uint8_t(40 * c + 10 * r), uint8_t(200 - 30 * c), uint8_t(50 * r + c)};
}

struct Fixture {
    TFastDIB dib;
    AveRenderer fx;
    Fixture(int w = 6, int h = 4) {
        EXPECT_TRUE(prepare_effect_surface(dib, w, h));
        for (int r = 0; r < dib.AbsHeight; ++r)
            for (int c = 0; c < dib.Width; ++c) dib.SetPixel(r, c, v(c, r));
        fx.surface = &dib;
        fx.set_geometry();
    }
    uint8_t B(int c, int r) const { return dib.GetPixel(r, c).b; }
    uint8_t G(int c, int r) const { return dib.GetPixel(r, c).g; }
    bool unchanged() const {
        for (int r = 0; r < dib.AbsHeight; ++r)
            for (int c = 0; c < dib.Width; ++c)
                if (!(dib.GetPixel(r, c) == v(c, r))) return false;
        return true;
    }
    bool run(int cmd, double x1 = 0, double x2 = 0) { return fx.execute(cmd, x1, x2); }
};

using R = AveRenderer;

}  // namespace

TEST(AveRender, IdentityCases) {
    struct Case {
        int cmd;
        double x1, x2;
    } cases[] = {{R::SHIFT, 6, 4},      {R::SHIFT, -12, 8},     {R::SHIFT, 0, 0},
                 {R::BLUR_EDGES, 0, 0}, {R::BLEED_EDGES, 0, 0}, {R::MOSAIC, 1, 1},
                 {R::MOSAIC, 0, 5},     {R::MOSAIC, -1, -1},    {R::ROTATE, 0, 0},
                 {R::ROTATE, 360, 1},   {R::ZOOM_IN, 0, 0},     {R::ZOOM_OUT, 0, 0},
                 {R::RENDER, 0, 0},     {R::BLUR_SPLIT, 0, 0}};
    for (const Case& c : cases) {
        Fixture f;
        EXPECT_TRUE(f.run(c.cmd, c.x1, c.x2));
        EXPECT_TRUE(f.unchanged()) << "command " << c.cmd << "(" << c.x1 << "," << c.x2 << ")";
    }
}

TEST(AveRender, HorizontalFiltersInProcessingOrder) {
    Fixture soft;
    soft.run(R::BLUR_SOFT);
    const int soft_b[6] = {20, 50, 85, 122, 161, 180};
    for (int c = 0; c < 6; ++c) EXPECT_EQ(soft.B(c, 0), soft_b[c]) << c;

    Fixture sharp;
    sharp.run(R::SHARP);
    const int sharp_b[6] = {0, 40, 80, 120, 160, 220};
    const int sharp_g[6] = {215, 162, 144, 108, 81, 34};
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(sharp.B(c, 0), sharp_b[c]) << c;
        EXPECT_EQ(sharp.G(c, 0), sharp_g[c]) << c;
    }

    Fixture emboss;
    emboss.run(R::EMBOSS);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 5; ++c) {
            EXPECT_EQ(emboss.B(c, r), 147);
            EXPECT_EQ(emboss.G(c, r), 112);
        }
        EXPECT_EQ(emboss.dib.GetPixel(r, 5), (FColor{127, 127, 127})) << "rightmost column grey";
    }
}

TEST(AveRender, CornerFilters) {
    Fixture edges;
    edges.run(R::BLUR_EDGES, 1);
    EXPECT_EQ(edges.B(0, 0), 40);
    EXPECT_EQ(edges.B(1, 0), 64);
    EXPECT_EQ(edges.B(2, 0), 97) << "reads its left corner's new value";

    Fixture bleed;
    bleed.run(R::BLEED_EDGES, 1);
    EXPECT_EQ(bleed.B(0, 0), 50);
    EXPECT_EQ(bleed.B(1, 0), 75);
    EXPECT_EQ(bleed.G(0, 0), 170);

    Fixture split;
    split.run(R::BLUR_SPLIT, 1);
    EXPECT_EQ(split.B(0, 0), 25);

    Fixture clamp;  // values above 255 and below 0 are clamped
    clamp.dib.Clear(0);
    clamp.dib.SetPixel(0, 0, {255, 255, 255});
    clamp.run(R::BLEED_EDGES, 1);
    EXPECT_EQ(clamp.B(0, 0), 0) << "(2 * 255 - 4 * 255) / 4 is clamped to 0";
}

// The corner filters as written per pixel, in place, in memory order.
void corners_per_pixel(TFastDIB& d, int n, int weight, int divisor, bool split) {
    const int w = d.Width, h = d.AbsHeight;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) {
                const uint8_t* top = d.Scanlines[std::clamp(y - n, 0, h - 1)];
                const uint8_t* bottom = d.Scanlines[std::clamp(y + n, 0, h - 1)];
                const int l = std::clamp(x - n, 0, w - 1) * 3 + c;
                const int r = std::clamp(x + n, 0, w - 1) * 3 + c;
                const int sum = top[l] + top[r] + bottom[l] + bottom[r];
                uint8_t& v = d.Scanlines[y][x * 3 + c];
                v = split ? uint8_t(sum >> 2)
                          : uint8_t(std::clamp((2 * sum + weight * v) / divisor, 0, 255));
            }
}

TEST(AveRender, CornerFiltersMatchTheirPerPixelRule) {
    struct Filter {
        int cmd, weight, divisor;
        bool split;
    } filters[] = {
        {R::BLUR_EDGES, -3, 5, false}, {R::BLEED_EDGES, -4, 4, false}, {R::BLUR_SPLIT, 0, 1, true}};
    for (const Filter& f : filters)
        for (int n : {-7, -2, 1, 3, 40}) {
            Fixture fast(37, 23), slow(37, 23);
            uint32_t seed = 12345;
            for (int i = 0; i < fast.dib.Size; ++i) {
                seed = seed * 1103515245 + 12345;
                fast.dib.Bits[i] = slow.dib.Bits[i] = uint8_t(seed >> 16);
            }
            fast.run(f.cmd, n);
            corners_per_pixel(slow.dib, n, f.weight, f.divisor, f.split);
            EXPECT_EQ(std::memcmp(fast.dib.Bits, slow.dib.Bits, fast.dib.Size), 0)
                << "command " << f.cmd << " n " << n;
        }
}

// ROTATE, BLUR_SOFT and SHARP as their rules state them, pixel by pixel, in place.
void rotate_per_pixel(TFastDIB& d, double degrees, bool smooth) {
    const double t = degrees * 3.14159265358979323846 / 180;
    const int64_t s = std::llrint(std::sin(t) * 65536), c = std::llrint(std::cos(t) * 65536);
    const int w = d.Width, h = d.AbsHeight, cx = w / 2, cy = h / 2;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int64_t fx = (int64_t{cx} << 16) + (x - cx) * c - (y - cy) * s;
            const int64_t fy = (int64_t{cy} << 16) + (x - cx) * s + (y - cy) * c;
            if (fx < 0 || fy < 0 || (fx >> 16) >= w || (fy >> 16) >= h) continue;
            const int x0 = int(fx >> 16), y0 = int(fy >> 16);
            const int x1 = std::min(x0 + 1, w - 1), y1 = std::min(y0 + 1, h - 1);
            const int64_t wx = (fx >> 8) & 255, wy = (fy >> 8) & 255;
            for (int k = 0; k < 3; ++k) {
                auto at = [&](int xx, int yy) { return int64_t{d.Scanlines[yy][xx * 3 + k]}; };
                d.Scanlines[y][x * 3 + k] =
                    smooth ? uint8_t((at(x0, y0) * (256 - wx) * (256 - wy) +
                                      at(x1, y0) * wx * (256 - wy) + at(x0, y1) * (256 - wx) * wy +
                                      at(x1, y1) * wx * wy) >>
                                     16)
                           : uint8_t(at(x0, y0));
            }
        }
}

void blur_soft_per_pixel(TFastDIB& d) {
    const int n = d.Width * 3;
    for (uint8_t* p : d.Scanlines)
        for (int i = 0; i < n; ++i)
            p[i] = uint8_t(i < 3        ? (p[i] + p[i + 3]) >> 1
                           : i >= n - 3 ? (p[i] + p[i - 3]) >> 1
                                        : (p[i - 3] + p[i + 3]) >> 1);
}

void sharp_per_pixel(TFastDIB& d) {
    const int n = d.Width * 3;
    for (uint8_t* p : d.Scanlines)
        for (int i = 0; i < n; ++i) {
            const int t = i < 3        ? 3 * p[i] - p[i + 3]
                          : i >= n - 3 ? 3 * p[i] - p[i - 3]
                                       : 4 * p[i] - p[i - 3] - p[i + 3];
            p[i] = uint8_t(std::clamp(t / 2, 0, 255));
        }
}

TEST(AveRender, RowFiltersAndRotateMatchTheirPerPixelRules) {
    for (auto [w, h] : {std::pair{37, 23}, {2, 9}, {64, 1}}) {
        auto noisy = [&](Fixture& f) {
            uint32_t seed = 777;
            for (int i = 0; i < f.dib.Size; ++i)
                f.dib.Bits[i] = uint8_t((seed = seed * 69069 + 1) >> 24);
        };
        for (double deg : {7.0, -33.3, 90.0, 181.0, 300.5})
            for (bool smooth : {false, true}) {
                Fixture fast(w, h), slow(w, h);
                noisy(fast);
                noisy(slow);
                fast.run(R::ROTATE, deg, smooth);
                rotate_per_pixel(slow.dib, deg, smooth);
                EXPECT_EQ(std::memcmp(fast.dib.Bits, slow.dib.Bits, fast.dib.Size), 0)
                    << w << "x" << h << " ROTATE(" << deg << ", " << smooth << ")";
            }
        for (auto [cmd, rule] :
             {std::pair{R::BLUR_SOFT, &blur_soft_per_pixel}, {R::SHARP, &sharp_per_pixel}}) {
            Fixture fast(w, h), slow(w, h);
            noisy(fast);
            noisy(slow);
            fast.run(cmd);
            rule(slow.dib);
            EXPECT_EQ(std::memcmp(fast.dib.Bits, slow.dib.Bits, fast.dib.Size), 0)
                << w << " command " << cmd;
        }
    }
}

TEST(AveRender, MosaicBlocks) {
    Fixture two;
    two.run(R::MOSAIC, 2, 2);
    EXPECT_EQ(two.dib.GetPixel(0, 0), v(1, 1));
    EXPECT_EQ(two.dib.GetPixel(1, 1), v(1, 1));
    EXPECT_EQ(two.dib.GetPixel(2, 5), v(5, 3));

    Fixture cut;  // blocks 4 x 3, cut short at the right and top
    cut.run(R::MOSAIC, -4, 3);
    EXPECT_EQ(cut.dib.GetPixel(0, 0), v(2, 2));
    EXPECT_EQ(cut.dib.GetPixel(2, 3), v(2, 2));
    EXPECT_EQ(cut.dib.GetPixel(0, 4), v(5, 2));
    EXPECT_EQ(cut.dib.GetPixel(3, 1), v(2, 3));
    EXPECT_EQ(cut.dib.GetPixel(3, 5), v(5, 3));
}

TEST(AveRender, ShiftWraps) {
    Fixture right;
    right.run(R::SHIFT, -1, 0);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 6; ++c) EXPECT_EQ(right.dib.GetPixel(r, c), v((c + 5) % 6, r));
    Fixture both;
    both.run(R::SHIFT, 1, 1);
    EXPECT_EQ(both.dib.GetPixel(0, 0), v(1, 1));
    EXPECT_EQ(both.dib.GetPixel(3, 5), v(0, 0));
    Fixture down;
    down.run(R::SHIFT, 0, -1);
    EXPECT_EQ(down.dib.GetPixel(0, 2), v(2, 3));
    EXPECT_EQ(down.dib.GetPixel(1, 2), v(2, 0));
    EXPECT_EQ(down.dib.Scanlines[1][18], 0) << "row gap bytes move with their rows";
}

TEST(AveRender, RotateInFixedPointAndInPlace) {
    Fixture half;
    half.run(R::ROTATE, 180, 0);
    EXPECT_EQ(half.dib.GetPixel(1, 1), v(5, 3));
    EXPECT_EQ(half.dib.GetPixel(3, 5), v(5, 3)) << "its source was already rewritten";
    EXPECT_EQ(half.dib.GetPixel(0, 0), v(0, 0)) << "source outside: unchanged";

    Fixture quarter;
    quarter.run(R::ROTATE, 90, 0);
    EXPECT_EQ(quarter.dib.GetPixel(0, 1), v(5, 0));
    EXPECT_EQ(quarter.dib.GetPixel(0, 0), v(0, 0));

    Fixture smooth;
    smooth.run(R::ROTATE, 45, 1);
    EXPECT_EQ(smooth.dib.GetPixel(2, 3), v(3, 2)) << "the centre maps onto itself";
    EXPECT_EQ(smooth.B(4, 2), 175) << "bilinear between (3,2), (4,2), (3,3), (4,3)";
}

TEST(AveRender, ZoomStretchesThroughTheCentre) {
    Fixture in;
    in.run(R::ZOOM_IN, 3);
    EXPECT_EQ(in.dib.GetPixel(3, 0), v(2, 2));
    EXPECT_EQ(in.dib.GetPixel(0, 5), v(3, 1));

    Fixture out;
    out.run(R::ZOOM_OUT, 3);
    EXPECT_EQ(out.B(2, 2), 4) << "six source pixels combined by AND";
    EXPECT_EQ(out.dib.GetPixel(0, 0), v(0, 0)) << "the border keeps its content";
    EXPECT_EQ(out.dib.GetPixel(3, 5), v(5, 3));

    for (double n : {1.0, -1.0, -2.0, 2.0, 1e9, -1e300}) {
        Fixture odd;
        EXPECT_TRUE(odd.run(R::ZOOM_IN, n));
        EXPECT_TRUE(odd.run(R::ZOOM_OUT, n));
    }
}

TEST(AveRender, ScopeKinds) {
    int16_t samples[2 * AveRenderer::kFrames] = {};
    // Height 9: baselines 6 and 3, scale 10922.
    samples[2] = 21844;   // k 2: offset 2, row 4
    samples[4] = -21844;  // k 4: offset -2, row 8
    samples[6] = -32768;  // k 6: offset -3, row 9 = the height: not drawn
    const uint32_t red = 0x0000FF, blue = 0xFF0000;
    const FColor c1{0, 0, 255}, c2{255, 0, 0}, black{};

    Fixture line(3, 9);
    line.dib.Clear(0);
    line.fx.samples = samples;
    line.fx.colour_1 = red;
    line.fx.colour_2 = blue;
    EXPECT_EQ(line.fx.scale, 10922);
    line.run(R::SCOPE_LINE);
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 3; ++c) {
            FColor want = black;
            if ((c == 0 && r >= 4 && r <= 6) || (c == 1 && r == 4) || (c == 2 && r == 8)) want = c1;
            if (r == 3 && c < 2) want = c2;
            EXPECT_EQ(line.dib.GetPixel(r, c), want) << c << "," << r;
        }

    Fixture dots(4, 9);
    dots.dib.Clear(0);
    dots.fx.samples = samples;
    dots.fx.colour_1 = red;
    dots.fx.colour_2 = blue;
    dots.run(R::SCOPE_DOTS);
    EXPECT_EQ(dots.dib.GetPixel(6, 0), c1);
    EXPECT_EQ(dots.dib.GetPixel(4, 1), c1);
    EXPECT_EQ(dots.dib.GetPixel(8, 2), c1);
    EXPECT_EQ(dots.dib.GetPixel(3, 3), c2);
    for (int r = 0; r < 9; ++r) EXPECT_NE(dots.dib.GetPixel(r, 3), c1) << "off-surface sample";

    Fixture solid(3, 9);
    solid.dib.Clear(0);
    solid.fx.samples = samples;
    solid.fx.colour_1 = red;
    solid.fx.colour_2 = blue;
    solid.run(R::SCOPE_SOLID);
    for (int r = 4; r <= 6; ++r) EXPECT_EQ(solid.dib.GetPixel(r, 1), c1);
    EXPECT_EQ(solid.dib.GetPixel(7, 2), c1);
    EXPECT_EQ(solid.dib.GetPixel(6, 2), c1);
    EXPECT_EQ(solid.dib.GetPixel(5, 2), black);
    EXPECT_EQ(solid.dib.GetPixel(3, 2), c2);
    EXPECT_EQ(solid.dib.GetPixel(3, 1), c2);
}

TEST(AveRender, FramesScriptsAndGuards) {
    Fixture f(4, 9);
    AveScripts scripts;
    f.fx.attach(scripts);
    int16_t samples[2 * AveRenderer::kFrames] = {};
    f.fx.samples = samples;
    f.fx.colour_1 = 0x00FF00;
    std::vector<std::vector<uint8_t>> shown;
    f.fx.on_render = [&](const TFastDIB& d) { shown.emplace_back(d.Bits, d.Bits + d.Size); };

    f.fx.draw_frame(VisualType::Internal, ScopeKind::Dots, scripts);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0][6 * f.dib.BytesPerLine + 1], 255) << "the dot was on screen";
    for (int i = 0; i < f.dib.Size; ++i) ASSERT_EQ(f.dib.Bits[i], 0) << "then cleared";

    f.dib.Clear(0x123456);
    scripts.frame_lines = {"RENDER();"};
    f.fx.draw_frame(VisualType::Ave, ScopeKind::Dots, scripts);
    f.fx.draw_frame(VisualType::None, ScopeKind::Dots, scripts);
    f.fx.draw_frame(VisualType::Ave, ScopeKind::Dots, scripts);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[1], shown[2]);
    EXPECT_EQ(shown[1][0], 0x56);

    // A failing command cancels only itself; bad names and arguments do nothing.
    scripts.frame_lines = {"ZOOM_IN(0); zoom_out(); NOSUCH(1); MOSAIC('a', 2); CLEAR(1,2,3);"};
    EXPECT_TRUE(scripts.run_frame());
    for (int i = 0; i < f.dib.Size; ++i) ASSERT_EQ(f.dib.Bits[i], 0);

    TFastDIB eight;
    ASSERT_TRUE(eight.SetSize(4, 4, 8));
    f.fx.surface = &eight;
    EXPECT_FALSE(f.fx.execute(R::CLEAR));
    f.fx.surface = nullptr;
    EXPECT_FALSE(f.fx.execute(R::BLUR_SOFT));
    EXPECT_EQ(AveRenderer::command_index("BLEED_EDGES"), R::BLEED_EDGES);
    EXPECT_EQ(AveRenderer::command_index("render"), -1);
}

TEST(AveRender, EffectSurfacePalette) {
    TFastDIB d;
    ASSERT_TRUE(prepare_effect_surface(d, 242, 159));
    EXPECT_EQ(d.Bpp, 24);
    EXPECT_EQ(d.Height, 159);
    EXPECT_EQ(d.Info.colors[0].r, 0);
    EXPECT_EQ(d.Info.colors[255].r, 255);
    EXPECT_EQ(d.Info.colors[255].b, 255);
}
