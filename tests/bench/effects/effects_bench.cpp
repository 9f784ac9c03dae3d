// Each drawing command on the big face's scope surface (242 x 159, 24 bpp),
// a ten-command frame script, and the BMP loader.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "effects/ave_render.h"

namespace {

struct Scene {
    TFastDIB surface;
    AveRenderer fx;
    int16_t samples[2 * AveRenderer::kFrames];
    Scene() {
        prepare_effect_surface(surface, 242, 159);
        for (int k = 0; k < 2 * AveRenderer::kFrames; ++k)
            samples[k] = static_cast<int16_t>(20000 * std::sin(k * 0.05));
        for (int i = 0; i < surface.Size; ++i) surface.Bits[i] = static_cast<uint8_t>(i * 13);
        fx.surface = &surface;
        fx.set_geometry();
        fx.samples = samples;
        fx.colour_1 = 0x40C0FF;
        fx.colour_2 = 0xFF8040;
        fx.on_render = [](const TFastDIB& d) { benchmark::DoNotOptimize(d.Bits[0]); };
    }
};

void command(benchmark::State& state, int cmd, double x1, double x2) {
    Scene s;
    for (auto _ : state) s.fx.execute(cmd, x1, x2);
}

using R = AveRenderer;
BENCHMARK_CAPTURE(command, RENDER, R::RENDER, 0, 0);
BENCHMARK_CAPTURE(command, SCOPE_DOTS, R::SCOPE_DOTS, 0, 0);
BENCHMARK_CAPTURE(command, SCOPE_LINE, R::SCOPE_LINE, 0, 0);
BENCHMARK_CAPTURE(command, SCOPE_SOLID, R::SCOPE_SOLID, 0, 0);
BENCHMARK_CAPTURE(command, BLUR_SOFT, R::BLUR_SOFT, 0, 0);
BENCHMARK_CAPTURE(command, BLUR_EDGES_2, R::BLUR_EDGES, 2, 0);
BENCHMARK_CAPTURE(command, BLUR_SPLIT_1, R::BLUR_SPLIT, 1, 0);
BENCHMARK_CAPTURE(command, ZOOM_IN_16, R::ZOOM_IN, 16, 0);
BENCHMARK_CAPTURE(command, ZOOM_OUT_16, R::ZOOM_OUT, 16, 0);
BENCHMARK_CAPTURE(command, ROTATE_7, R::ROTATE, 7, 0);
BENCHMARK_CAPTURE(command, ROTATE_7_smooth, R::ROTATE, 7, 1);
BENCHMARK_CAPTURE(command, CLEAR, R::CLEAR, 0, 0);
BENCHMARK_CAPTURE(command, SHARP, R::SHARP, 0, 0);
BENCHMARK_CAPTURE(command, EMBOSS, R::EMBOSS, 0, 0);
BENCHMARK_CAPTURE(command, MOSAIC_4_4, R::MOSAIC, 4, 4);
BENCHMARK_CAPTURE(command, SHIFT_3_2, R::SHIFT, 3, 2);
BENCHMARK_CAPTURE(command, BLEED_EDGES_1, R::BLEED_EDGES, 1, 0);

// Two floors for the commands above, on the same surface. A pass in which each
// byte depends on its new left neighbour (the rule of BLUR_SOFT and SHARP);
// and a pass that moves every pixel from a precomputed source (the least
// ROTATE, ZOOM_IN and ZOOM_OUT can do).
void floor_serial_pass(benchmark::State& state) {
    Scene s;
    const int bytes = s.surface.Width * 3;
    for (auto _ : state)
        for (uint8_t* p : s.surface.Scanlines)
            for (int i = 3; i < bytes; ++i) p[i] = static_cast<uint8_t>(p[i] + (p[i - 3] >> 1));
}
BENCHMARK(floor_serial_pass);

void floor_pixel_gather(benchmark::State& state) {
    Scene s;
    const int w = s.surface.Width, h = s.surface.AbsHeight;
    std::vector<int> from(static_cast<size_t>(w) * h);
    // Each pixel from the one below it: the most favourable order.
    for (size_t i = 0; i < from.size(); ++i) {
        const int k = static_cast<int>((i + static_cast<size_t>(w)) % from.size());
        from[i] = k / w * s.surface.BytesPerLine + k % w * 3;
    }
    for (auto _ : state) {
        const int* f = from.data();
        for (uint8_t* row : s.surface.Scanlines)
            for (int x = 0; x < w; ++x, ++f) {
                const uint8_t* q = s.surface.Bits + *f;
                const uint8_t b0 = q[0], b1 = q[1], b2 = q[2];
                row[x * 3] = b0;
                row[x * 3 + 1] = b1;
                row[x * 3 + 2] = b2;
            }
    }
}
BENCHMARK(floor_pixel_gather);

// A frame script of ten commands with a little arithmetic, as an AVE runs it each tick.
void frame_script(benchmark::State& state) {
    Scene s;
    AveScripts ave;
    s.fx.attach(ave);
    ave.init_lines = {"a = 0;"};
    ave.frame_lines = {"a = a + 3;",    "IF a = 360 THEN a = 0;", "BLUR_SPLIT(1);", "ZOOM_OUT(16);",
                       "ROTATE(a, 0);", "SCOPE_LINE();",          "SCOPE_DOTS();",  "BLUR_SOFT();",
                       "SHIFT(1, 0);",  "MOSAIC(1, 1);",          "SHARP();",       "RENDER();"};
    ave.run_init();
    for (auto _ : state) ave.run_frame();
}
BENCHMARK(frame_script);

void parser_only(benchmark::State& state) {
    AveScripts ave;
    ave.frame_lines = {"i = 0; s = 0;", "WHILE i < 9 BEGIN s = s + i * 2.5; i = i + 1; END"};
    for (auto _ : state) ave.run_frame();
}
BENCHMARK(parser_only);

void load_bmp_24(benchmark::State& state) {
    Scene s;
    const auto bytes = s.surface.SaveToMemory();
    TFastDIB d;
    for (auto _ : state) d.LoadFromMemory(bytes.data(), bytes.size());
}
BENCHMARK(load_bmp_24);

}  // namespace
