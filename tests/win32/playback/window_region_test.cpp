// The face's window shape: one region from the mask's runs covers exactly
// the pixels that the runs joined one by one cover.
#include <gtest/gtest.h>

#include <random>

#include "app/face_layout.h"
#include "effects/FastDIB.h"
#include "win/region.h"

namespace {

TEST(WindowRegion, OneCallGivesTheShapeOfTheRunsJoinedOneByOne) {
    const FColor white{255, 255, 255}, black{0, 0, 0};
    std::mt19937 random(7);
    const struct {
        const char* what;
        int width, height;
        int inside_percent;  // chance of a pixel inside the shape
    } masks[] = {{"noisy", 358, 234, 50},
                 {"sparse", 300, 120, 3},
                 {"solid", 64, 32, 100},
                 {"empty", 64, 32, 0}};
    for (const auto& m : masks) {
        TFastDIB mask;
        ASSERT_TRUE(mask.SetSize(m.width, m.height, 24));
        for (int row = 0; row < m.height; ++row)
            for (int x = 0; x < m.width; ++x)
                mask.SetPixel(row, x,
                              static_cast<int>(random() % 100) < m.inside_percent ? black : white);
        const std::vector<SkinRect> runs = mask_runs(mask);
        win::Region joined(CreateRectRgn(0, 0, 0, 0));
        for (const SkinRect& r : runs) {
            win::Region run(CreateRectRgn(r.left, r.top, r.right, r.bottom));
            CombineRgn(joined.get(), joined.get(), run.get(), RGN_OR);
        }
        const win::Region once = win::region_from_rects(runs);
        ASSERT_TRUE(once) << m.what;
        EXPECT_TRUE(EqualRgn(once.get(), joined.get())) << m.what;
        int differing = 0;
        for (int y = -1; y <= m.height; ++y)
            for (int x = -1; x <= m.width; ++x)
                differing += !PtInRegion(once.get(), x, y) != !PtInRegion(joined.get(), x, y);
        EXPECT_EQ(differing, 0) << m.what;
    }
}

}  // namespace
