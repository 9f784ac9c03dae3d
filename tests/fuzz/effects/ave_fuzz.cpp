// Any bytes as an AVE file: both scripts run against a small effect surface.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "effects/ave_render.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static TFastDIB surface;
    static int16_t samples[2 * AveRenderer::kFrames];
    if (surface.Empty()) {
        prepare_effect_surface(surface, 24, 16);
        for (int k = 0; k < 2 * AveRenderer::kFrames; ++k)
            samples[k] = static_cast<int16_t>((k * 7919) & 0xFFFF);
    }
    AveRenderer fx;
    fx.surface = &surface;
    fx.set_geometry();
    fx.samples = samples;
    AveScripts ave;
    ave.parser.MaxRunTime = std::chrono::milliseconds(5);
    fx.attach(ave);
    parse_ave(std::string_view(reinterpret_cast<const char*>(data), size), ave.init_lines,
              ave.frame_lines);
    ave.run_init();
    ave.run_frame();
    ave.run_frame();
    return 0;
}
