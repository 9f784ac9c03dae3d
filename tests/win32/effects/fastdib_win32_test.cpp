// <windows.h> first: FastDIB.h then frees the name TextOut for its member.
#include <windows.h>

#include <gtest/gtest.h>

#include "effects/FastDIB.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

int dark_pixels(const TFastDIB& d, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const FColor c = d.GetPixel(d.PictureRow(y), x);
            if (c.b < 128 && c.g < 128 && c.r < 128) ++n;
        }
    return n;
}

}  // namespace

TEST(FastDIBWin32, SurfacesAreDibSectionsWithTheirOwnContext) {
    TFastDIB d;
    ASSERT_TRUE(d.SetSize(10, 5, 24));
    EXPECT_NE(d.DC(), nullptr);
    ASSERT_NE(d.Handle(), nullptr);
    DIBSECTION ds{};
    ASSERT_EQ(GetObjectA(d.Handle(), sizeof ds, &ds), int(sizeof ds));
    EXPECT_EQ(ds.dsBm.bmBits, d.Bits);
    EXPECT_EQ(ds.dsBm.bmWidthBytes, d.BytesPerLine);
    // Pixels written through the row table are what the context draws.
    d.Clear(0x0000FF);  // blue byte first
    EXPECT_EQ(::GetPixel(d.DC(), 3, 2), RGB(0, 0, 255));
}

TEST(FastDIBWin32, BottomUpRowZeroIsDrawnAtTheBottom) {
    TFastDIB src, dst;
    ASSERT_TRUE(src.SetSize(3, 3, 24));
    ASSERT_TRUE(dst.SetSize(5, -5, 24));
    src.Clear(kWhite);
    for (int c = 0; c < 3; ++c) src.SetPixel(0, c, {0, 0, 255});
    dst.Clear(0);
    src.Draw(dst.DC(), 1, 1);
    GdiFlush();
    EXPECT_EQ(dst.GetPixel(3, 2), (FColor{0, 0, 255})) << "memory row 0 lands on picture line 2";
    EXPECT_EQ(dst.GetPixel(1, 2), (FColor{255, 255, 255}));
    EXPECT_EQ(dst.GetPixel(0, 0), (FColor{0, 0, 0}));

    dst.Clear(0);
    src.DrawRect(dst.DC(), 0, 0, 2, 1, 1, 2);  // the bottom line only
    GdiFlush();
    EXPECT_EQ(dst.GetPixel(0, 0), (FColor{0, 0, 255}));
    EXPECT_EQ(dst.GetPixel(1, 0), (FColor{0, 0, 0}));

    dst.Clear(0);
    src.StretchRect(dst.DC(), 0, 0, 4, 4, 1, 1, 2, 2);
    GdiFlush();
    EXPECT_EQ(dst.GetPixel(3, 3), (FColor{0, 0, 255}));
    EXPECT_EQ(dst.GetPixel(1, 0), (FColor{255, 255, 255}));
}

TEST(FastDIBWin32, TransDrawLeavesTheKeyColourOut) {
    TFastDIB src, dst;
    ASSERT_TRUE(src.SetSize(4, 4, 24));
    ASSERT_TRUE(dst.SetSize(4, 4, 24));
    const uint32_t magenta = RGB(255, 0, 255);
    src.Clear(0xFF00FF);
    src.SetPixel(1, 1, {10, 20, 30});
    src.SetPixel(2, 3, {40, 50, 60});
    dst.Clear(0x00FF00);
    EXPECT_NE(src.TransDraw(dst.DC(), 0, 0, magenta), 0);
    GdiFlush();
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            const FColor got = dst.GetPixel(r, c);
            if (r == 1 && c == 1)
                EXPECT_EQ(got, (FColor{10, 20, 30}));
            else if (r == 2 && c == 3)
                EXPECT_EQ(got, (FColor{40, 50, 60}));
            else
                EXPECT_EQ(got, (FColor{0, 255, 0})) << r << "," << c;
        }
}

TEST(FastDIBWin32, TextOutWithTheInformationFont) {
    TFastDIB d;
    ASSERT_TRUE(d.SetSize(120, 40, 24));
    d.Clear(kWhite);
    d.SetFont("MS Serif", 4, false, false, false, 400, 12);
    ASSERT_NE(d.Font(), nullptr);
    char face[LF_FACESIZE] = {};
    LOGFONTA lf{};
    GetObjectA(d.Font(), sizeof lf, &lf);
    EXPECT_STREQ(lf.lfFaceName, "MS Serif");
    EXPECT_EQ(lf.lfHeight, 12);
    GetTextFaceA(d.DC(), sizeof face, face);
    d.SetTextColor(0);
    d.SetTransparent(true);
    EXPECT_NE(d.TextOut(10, 13, "HHHH 0:42"), 0);
    GdiFlush();
    // Ink inside the line's box, none above or below it or left of it.
    EXPECT_GT(dark_pixels(d, 10, 13, 70, 25), 20) << "face " << face;
    EXPECT_EQ(dark_pixels(d, 0, 0, 120, 13), 0);
    EXPECT_EQ(dark_pixels(d, 0, 26, 120, 40), 0);
    EXPECT_EQ(dark_pixels(d, 0, 0, 10, 40), 0);

    // Opaque background paints the text cell.
    d.Clear(kWhite);
    d.SetTransparent(false);
    d.SetBkColor(RGB(0, 0, 128));
    d.SetTextColor(kWhite);
    d.TextOut(0, 0, "x");
    GdiFlush();
    EXPECT_EQ(d.GetPixel(d.PictureRow(0), 0), (FColor{128, 0, 0}));

    // A resize releases the font with the old context.
    ASSERT_TRUE(d.SetSize(60, 20, 24));
    EXPECT_EQ(d.Font(), nullptr);
}

TEST(FastDIBWin32, ColourTableReachesTheContext) {
    TFastDIB pal, out;
    ASSERT_TRUE(pal.SetSize(2, 1, 8));
    const uint32_t stops[2] = {0x000000, 0x0000FF};  // black to red
    pal.FillColors(0, 255, 2, stops);
    pal.Scanlines[0][0] = 255;
    pal.Scanlines[0][1] = 0;
    ASSERT_TRUE(out.SetSize(2, 1, 24));
    pal.Draw(out.DC(), 0, 0);
    GdiFlush();
    EXPECT_EQ(out.GetPixel(0, 0), (FColor{0, 0, 255}));
    EXPECT_EQ(out.GetPixel(0, 1), (FColor{0, 0, 0}));

    // A loaded 8-bpp file brings its own table.
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string path = std::string(temp) + "vl_fx_pal.bmp";
    pal.Info.colors[255] = DibQuad{0, 255, 0, 0};
    ASSERT_TRUE(pal.SaveToFile(path));
    TFastDIB loaded;
    ASSERT_TRUE(loaded.LoadFromFile(path));
    DeleteFileA(path.c_str());
    loaded.Draw(out.DC(), 0, 0);
    GdiFlush();
    EXPECT_EQ(out.GetPixel(0, 0), (FColor{0, 255, 0}));
}
