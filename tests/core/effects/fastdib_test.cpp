#include "effects/FastDIB.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Distinct colour per pixel, so a misplaced pixel shows.
FColor pattern(int row, int col) {
    return FColor{static_cast<uint8_t>(row * 16 + col), static_cast<uint8_t>(200 - row),
                  static_cast<uint8_t>(col * 7 + 1)};
}

void fill_pattern(TFastDIB& d) {
    for (int r = 0; r < d.AbsHeight; ++r)
        for (int c = 0; c < d.Width; ++c) d.SetPixel(r, c, pattern(r, c));
}

std::vector<uint8_t> bmp_header(uint32_t offset, int w, int h, int bpp, uint32_t compression,
                                uint32_t colors) {
    std::vector<uint8_t> b(54, 0);
    auto p32 = [&](size_t at, uint32_t v) { std::memcpy(&b[at], &v, 4); };
    b[0] = 'B';
    b[1] = 'M';
    p32(10, offset);
    p32(14, 40);
    p32(18, static_cast<uint32_t>(w));
    p32(22, static_cast<uint32_t>(h));
    b[26] = 1;
    b[28] = static_cast<uint8_t>(bpp);
    p32(30, compression);
    p32(46, colors);
    return b;
}

// An 8- or 4-bpp file with a grey ramp palette and the given RLE stream.
std::vector<uint8_t> rle_file(int w, int h, bool four, const std::vector<uint8_t>& stream) {
    const uint32_t colors = four ? 16 : 256;
    auto b = bmp_header(54 + colors * 4, w, h, four ? 4 : 8, four ? 2 : 1, colors);
    for (uint32_t k = 0; k < colors; ++k) {
        const uint8_t v = static_cast<uint8_t>(k);
        b.insert(b.end(), {v, v, v, 0});
    }
    b.insert(b.end(), stream.begin(), stream.end());
    uint32_t size = static_cast<uint32_t>(b.size());
    std::memcpy(&b[2], &size, 4);
    return b;
}

int index_at(const TFastDIB& d, int row, int col) {
    return d.GetPixel(row, col).b;
}

}  // namespace

TEST(FastDIB, RowGeometryForEveryDepth) {
    TFastDIB d;
    ASSERT_TRUE(d.SetSize(10, 7, 24));
    EXPECT_EQ(d.BytesPerLine, 32);
    EXPECT_EQ(d.Gap, 2);
    EXPECT_EQ(d.Size, 32 * 7);
    EXPECT_EQ(d.Scanlines[6], d.Bits + 6 * 32);

    struct Case {
        int w, bpp, line, gap;
    } cases[] = {{10, 1, 4, 2}, {3, 4, 4, 2}, {5, 8, 8, 3}, {3, 16, 8, 2}, {7, 32, 28, 0}};
    for (const Case& c : cases) {
        ASSERT_TRUE(d.SetSize(c.w, -3, c.bpp)) << c.bpp;
        EXPECT_EQ(d.BytesPerLine, c.line) << c.bpp;
        EXPECT_EQ(d.Gap, c.gap) << c.bpp;
        EXPECT_EQ(d.AbsHeight, 3);
        EXPECT_EQ(d.Height, -3);
    }
    EXPECT_FALSE(d.SetSize(4, 4, 12));
    EXPECT_TRUE(d.Empty());
    EXPECT_FALSE(d.SetSize(0, 4, 24));
    EXPECT_FALSE(d.SetSize(100000, 100000, 32)) << "beyond the size limit";
    EXPECT_TRUE(d.Empty());
}

TEST(FastDIB, SetSizeKeepsPixelsOnlyWhenNothingChanges) {
    TFastDIB d;
    ASSERT_TRUE(d.SetSize(4, 4, 24));
    d.Clear(0x123456);
    ASSERT_TRUE(d.SetSize(4, 4, 24));
    EXPECT_EQ(d.GetPixel(3, 3), (FColor{0x56, 0x34, 0x12}));
    ASSERT_TRUE(d.SetSize(5, 4, 24));
    EXPECT_EQ(d.GetPixel(3, 3), (FColor{0, 0, 0}));
}

TEST(FastDIB, ClearWritesLowestByteFirstAndLeavesTheGap) {
    TFastDIB d;
    ASSERT_TRUE(d.SetSize(10, 3, 24));
    d.Clear(0x112233);
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(d.Scanlines[r][27], 0x33);
        EXPECT_EQ(d.Scanlines[r][28], 0x22);
        EXPECT_EQ(d.Scanlines[r][29], 0x11);
        EXPECT_EQ(d.Scanlines[r][30], 0);
        EXPECT_EQ(d.Scanlines[r][31], 0);
    }
    ASSERT_TRUE(d.SetSize(5, 2, 4));
    d.Clear(0xA);
    EXPECT_EQ(d.Scanlines[1][0], 0xAA);
    EXPECT_EQ(d.Scanlines[1][2], 0xAA);
    EXPECT_EQ(d.Scanlines[1][3], 0) << "gap byte";
    ASSERT_TRUE(d.SetSize(3, 2, 16));
    d.Clear(0x7C00);
    EXPECT_EQ(d.GetPixel(1, 2), (FColor{0, 0, 255}));
    EXPECT_EQ(d.Scanlines[1][6], 0);
    ASSERT_TRUE(d.SetSize(9, 1, 1));
    d.Clear(1);
    EXPECT_EQ(d.Scanlines[0][0], 0xFF);
    EXPECT_EQ(d.Scanlines[0][1], 0xFF);
    EXPECT_EQ(d.Scanlines[0][2], 0);
}

TEST(FastDIB, FillColorsInterpolatesBetweenStops) {
    TFastDIB d;
    const uint32_t stops[3] = {0x000000, 0x0000FF, 0xFFFFFF};  // red lowest
    d.FillColors(0, 255, 3, stops);
    EXPECT_EQ(d.Info.colors[0].r, 0);
    EXPECT_EQ(d.Info.colors[255].r, 255);
    EXPECT_EQ(d.Info.colors[255].b, 255);
    // Halfway to the middle stop: half red, no blue.
    EXPECT_NEAR(d.Info.colors[64].r, 128, 2);
    EXPECT_EQ(d.Info.colors[64].b, 0);
    EXPECT_EQ(d.Info.colors[128].r, 255) << "the middle stop itself";
    EXPECT_EQ(d.Info.colors[128].b, 0);
    EXPECT_NEAR(d.Info.colors[192].b, 128, 2);
    d.FillColors(7, 7, 3, stops);  // a single entry takes the last stop
    EXPECT_EQ(d.Info.colors[7].g, 255);
}

TEST(FastDIB, BottomUpRowZeroIsThePictureBottom) {
    TFastDIB up, down;
    ASSERT_TRUE(up.SetSize(3, 4, 24));
    ASSERT_TRUE(down.SetSize(3, -4, 24));
    fill_pattern(up);
    CopyRect(down, 0, 0, 3, 4, up, 0, 0);
    // Memory row 0 of the bottom-up surface is picture line 3.
    EXPECT_EQ(down.GetPixel(3, 1), up.GetPixel(0, 1));
    EXPECT_EQ(down.GetPixel(0, 2), up.GetPixel(3, 2));
    EXPECT_EQ(up.PictureRow(0), 3);
    EXPECT_EQ(down.PictureRow(0), 0);
}

TEST(FastDIB, CopyRectClipsAndConvertsDepth) {
    TFastDIB src, dst;
    ASSERT_TRUE(src.SetSize(4, -4, 8));
    for (int k = 0; k < 256; ++k) src.Info.colors[k] = DibQuad{uint8_t(k), 0, uint8_t(255 - k), 0};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) src.Scanlines[r][c] = static_cast<uint8_t>(r * 4 + c);
    ASSERT_TRUE(dst.SetSize(3, -3, 24));
    dst.Clear(0x010101);
    CopyRect(dst, 1, 1, 10, 10, src, -1, 0);  // source column -1 is clipped away
    EXPECT_EQ(dst.GetPixel(0, 0), (FColor{1, 1, 1}));
    EXPECT_EQ(dst.GetPixel(1, 1), (FColor{1, 1, 1})) << "clipped source column";
    EXPECT_EQ(dst.GetPixel(1, 2), (FColor{0, 0, 255}));
    EXPECT_EQ(dst.GetPixel(2, 2), (FColor{4, 0, 251}));
}

TEST(FastDIB, StretchEnlargesNearestAndShrinksByAnd) {
    TFastDIB a, b;
    ASSERT_TRUE(a.SetSize(2, -2, 24));
    a.SetPixel(0, 0, {0xF0, 0x0F, 0xFF});
    a.SetPixel(0, 1, {0x3C, 0xFF, 0x0F});
    a.SetPixel(1, 0, {1, 2, 3});
    a.SetPixel(1, 1, {4, 5, 6});
    ASSERT_TRUE(b.SetSize(4, -4, 24));
    StretchCopy(b, 0, 0, 4, 4, a, 0, 0, 2, 2);
    EXPECT_EQ(b.GetPixel(0, 1), a.GetPixel(0, 0));
    EXPECT_EQ(b.GetPixel(3, 3), a.GetPixel(1, 1));
    EXPECT_EQ(b.GetPixel(1, 2), a.GetPixel(0, 1));

    TFastDIB c;
    ASSERT_TRUE(c.SetSize(1, -1, 24));
    StretchCopy(c, 0, 0, 1, 1, a, 0, 0, 2, 1);  // two pixels fall on one
    EXPECT_EQ(c.GetPixel(0, 0), (FColor{0x30, 0x0F, 0x0F}));

    StretchCopy(b, 4, 0, -4, 4, b, 0, 0, 4, 4);  // mirrored in place
    EXPECT_EQ(b.GetPixel(0, 0), a.GetPixel(0, 1));
    EXPECT_EQ(b.GetPixel(0, 3), a.GetPixel(0, 0));
}

TEST(FastDIB, BmpRoundTripsEveryDepthAndHeader) {
    struct Case {
        int bpp;
        bool masks565;
        BmpHeaderKind kind;
        int height;
    } cases[] = {
        {1, false, BmpHeaderKind::Info40, 5},  {4, false, BmpHeaderKind::Core12, 5},
        {8, false, BmpHeaderKind::V5_124, -5}, {16, false, BmpHeaderKind::Info40, 5},
        {16, true, BmpHeaderKind::Info40, 5},  {16, true, BmpHeaderKind::V4_108, -5},
        {24, false, BmpHeaderKind::Core12, 5}, {24, false, BmpHeaderKind::V5_124, -5},
        {32, false, BmpHeaderKind::Info40, 5}, {32, true, BmpHeaderKind::V5_124, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "bpp " << c.bpp << " kind " << int(c.kind));
        TFastDIB d;
        if (c.masks565)
            ASSERT_TRUE(c.bpp == 16 ? d.SetSizeMasks(7, c.height, 16, 0xF800, 0x07E0, 0x001F)
                                    : d.SetSizeMasks(7, c.height, 32, 0xFF, 0xFF00, 0xFF0000));
        else
            ASSERT_TRUE(d.SetSize(7, c.height, c.bpp));
        for (int k = 0; k < 256; ++k)
            d.Info.colors[k] = DibQuad{uint8_t(k * 3), uint8_t(k), uint8_t(255 - k), 0};
        for (int i = 0; i < d.Size; ++i) d.Bits[i] = static_cast<uint8_t>(i * 37 + 11);
        const auto bytes = d.SaveToMemory(c.kind);
        TFastDIB e;
        ASSERT_TRUE(e.LoadFromMemory(bytes.data(), bytes.size()));
        EXPECT_EQ(e.Width, 7);
        EXPECT_EQ(e.Height, c.kind == BmpHeaderKind::Core12 ? 5 : c.height);
        EXPECT_EQ(e.Bpp, c.bpp);
        ASSERT_EQ(e.Size, d.Size);
        EXPECT_EQ(0, std::memcmp(e.Bits, d.Bits, d.Size));
        for (int r = 0; r < 5; ++r)
            for (int col = 0; col < 7; ++col)
                ASSERT_EQ(e.GetPixel(r, col), d.GetPixel(r, col)) << r << "," << col;
    }
}

TEST(FastDIB, CoreHeaderPaletteIsConverted) {
    TFastDIB d;
    ASSERT_TRUE(d.SetSize(2, 2, 8));
    d.Info.colors[9] = DibQuad{10, 20, 30, 0};
    d.Scanlines[1][1] = 9;
    const auto bytes = d.SaveToMemory(BmpHeaderKind::Core12);
    EXPECT_EQ(bytes.size(), 14u + 12 + 256 * 3 + 8);
    TFastDIB e;
    ASSERT_TRUE(e.LoadFromMemory(bytes.data(), bytes.size()));
    EXPECT_EQ(e.Info.header.biSize, 40u);
    EXPECT_EQ(e.Info.colors[9].g, 20);
    EXPECT_EQ(e.GetPixel(1, 1), (FColor{10, 20, 30}));
}

TEST(FastDIB, LoadsRle8AndRle4) {
    // Rows of 6: a run, an absolute run with padding, a delta, end of line, end of bitmap.
    const std::vector<uint8_t> rle8 = {3, 7, 0, 3, 1, 2, 5, 0,  // 7 7 7 1 2 5 (+pad)
                                       0, 0,                    // end of line
                                       0, 2, 2, 1,              // delta right 2, up 1
                                       2, 9,                    // row 2: cols 2,3 = 9
                                       0, 1};
    auto f8 = rle_file(6, 3, false, rle8);
    TFastDIB d;
    ASSERT_TRUE(d.LoadFromMemory(f8.data(), f8.size()));
    EXPECT_EQ(d.Bpp, 8);
    EXPECT_EQ(d.Info.header.biCompression, 0u);
    const int row0[6] = {7, 7, 7, 1, 2, 5};
    for (int c = 0; c < 6; ++c) EXPECT_EQ(index_at(d, 0, c), row0[c]);
    EXPECT_EQ(index_at(d, 1, 0), 0);
    EXPECT_EQ(index_at(d, 2, 1), 0);
    EXPECT_EQ(index_at(d, 2, 2), 9);
    EXPECT_EQ(index_at(d, 2, 3), 9);

    const std::vector<uint8_t> rle4 = {5, 0x12,              // 1 2 1 2 1
                                       0, 3,    0xAB, 0xC0,  // absolute A B C
                                       0, 0,    0,    1};
    auto f4 = rle_file(8, 2, true, rle4);
    ASSERT_TRUE(d.LoadFromMemory(f4.data(), f4.size()));
    const int row4[8] = {1, 2, 1, 2, 1, 10, 11, 12};
    for (int c = 0; c < 8; ++c) EXPECT_EQ(index_at(d, 0, c), row4[c]) << c;
}

TEST(FastDIB, LyingFilesNeverWriteOutsideTheSurface) {
    // Runs longer than the row, deltas past the image, absolute runs past the data.
    const std::vector<uint8_t> wild = {255, 1, 0, 2, 200, 200, 255, 2, 0,   0, 0,
                                       0,   0, 0, 0, 0,   0,   0,   0, 250, 3};
    auto f = rle_file(4, 2, false, wild);
    TFastDIB d;
    ASSERT_TRUE(d.LoadFromMemory(f.data(), f.size()));
    EXPECT_EQ(index_at(d, 0, 3), 1);
    auto f4 = rle_file(3, 1, true, wild);
    ASSERT_TRUE(d.LoadFromMemory(f4.data(), f4.size()));

    // Pixel data shorter than the header says: the rest stays zero.
    auto shortfile = bmp_header(54, 4, 4, 24, 0, 0);
    shortfile.insert(shortfile.end(), 20, 0xEE);
    ASSERT_TRUE(d.LoadFromMemory(shortfile.data(), shortfile.size()));
    EXPECT_EQ(d.Scanlines[1][7], 0xEE);
    EXPECT_EQ(d.Scanlines[1][8], 0);

    auto offset_past_end = bmp_header(5000, 4, 4, 24, 0, 0);
    EXPECT_TRUE(d.LoadFromMemory(offset_past_end.data(), offset_past_end.size()));

    auto huge = bmp_header(54, 1 << 30, 1 << 20, 24, 0, 0);
    EXPECT_FALSE(d.LoadFromMemory(huge.data(), huge.size()));
    EXPECT_TRUE(d.Empty());
    // Found by fuzzing: a size whose byte count overflows 64 bits.
    auto overflow = bmp_header(66, 0x77770005, 0x77777777, 32, 3, 0);
    overflow.insert(overflow.end(), {0x13, 0x0B, 0, 0, 0x13, 0x77, 0x77, 0x77, 0x77, 0x77, 0, 0});
    EXPECT_FALSE(d.LoadFromMemory(overflow.data(), overflow.size()));
    auto bad_rle_depth = bmp_header(54, 4, 4, 24, 1, 0);
    EXPECT_FALSE(d.LoadFromMemory(bad_rle_depth.data(), bad_rle_depth.size()));
    auto png = bmp_header(54, 4, 4, 24, 5, 0);
    EXPECT_FALSE(d.LoadFromMemory(png.data(), png.size()));
    auto truncated = bmp_header(54, 4, 4, 24, 0, 0);
    EXPECT_FALSE(d.LoadFromMemory(truncated.data(), 30));
    const uint8_t text[] = "hello, this is not a bitmap at all.......";
    EXPECT_FALSE(d.LoadFromMemory(text, sizeof text));
    EXPECT_FALSE(d.LoadFromFile("/nonexistent/face.bmp"));
}
