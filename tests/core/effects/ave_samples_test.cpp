// The AVE files shipped in data/ave run cleanly on the big scope surface and
// leave a picture. With VL_AVE_DUMP set to a folder, each final frame is
// written there as a BMP to look at.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "effects/ave_render.h"

namespace fs = std::filesystem;

namespace {

fs::path samples_folder() {
    return fs::path(__FILE__).parent_path() / "../../../data/ave";
}

void sound_block(int16_t* s, int tick) {
    for (int f = 0; f < AveRenderer::kFrames; ++f) {
        const double t = (f + tick * 37) / 576.0;
        s[2 * f] = static_cast<int16_t>(20000 * std::sin(2 * 3.14159 * 3 * t));
        s[2 * f + 1] = static_cast<int16_t>(15000 * std::sin(2 * 3.14159 * 7 * t + tick * 0.3));
    }
}

}  // namespace

TEST(AveSamples, EverySampleRunsAndDraws) {
    std::error_code ec;
    if (!fs::is_directory(samples_folder(), ec)) GTEST_SKIP() << "sources not reachable";
    const std::string folder = samples_folder().string() + "/";
    const auto names = list_ave_files(folder);
    EXPECT_GE(names.size(), 6u);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        TFastDIB surface;
        ASSERT_TRUE(prepare_effect_surface(surface, 242, 159));
        AveRenderer fx;
        fx.surface = &surface;
        fx.set_geometry();
        fx.colour_1 = 0x40C0FF;
        fx.colour_2 = 0xFF8040;
        int16_t block[2 * AveRenderer::kFrames];
        fx.samples = block;
        int rendered = 0;
        fx.on_render = [&](const TFastDIB&) { ++rendered; };
        AveScripts scripts;
        fx.attach(scripts);
        ASSERT_TRUE(scripts.select(folder, name));
        ASSERT_FALSE(scripts.frame_lines.empty());
        for (int tick = 0; tick < 40; ++tick) {
            sound_block(block, tick);
            ASSERT_TRUE(scripts.run_frame()) << "tick " << tick;
        }
        EXPECT_EQ(rendered, 40);
        int lit = 0;
        for (int i = 0; i < surface.Size; ++i) lit += surface.Bits[i] > 0;
        EXPECT_GT(lit, 500) << "a visible picture";
        if (const char* dump = std::getenv("VL_AVE_DUMP"))
            surface.SaveToFile(std::string(dump) + "/" + name + ".bmp");
    }
}
