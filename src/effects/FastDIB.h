// TFastDIB: an off-screen device-independent bitmap whose pixel memory is
// addressed directly through a row table. The pixel side is portable; in the
// Win32 shell the memory is a DIB section with its own memory drawing
// context, so the same surface can also be drawn on and blitted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#ifdef _WIN32
struct HDC__;
struct HBITMAP__;
struct HFONT__;
// The member TextOut must keep its name in every file: include this header
// after <windows.h>, and call the system's function as TextOutA.
#ifdef TextOut
#undef TextOut
#endif
#endif

// BITMAPINFOHEADER, byte for byte.
struct DibHeader {
    uint32_t biSize = 40;
    int32_t biWidth = 0;
    int32_t biHeight = 0;
    uint16_t biPlanes = 1;
    uint16_t biBitCount = 0;
    uint32_t biCompression = 0;
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};
static_assert(sizeof(DibHeader) == 40);

// Colour-table entry: blue, green, red, reserved.
struct DibQuad {
    uint8_t b = 0, g = 0, r = 0, reserved = 0;
};

// BITMAPINFO with a full colour table. With compression 3 the first three
// table entries hold the red, green and blue masks, as the system expects.
struct DibInfo {
    DibHeader header;
    DibQuad colors[256];
};

struct FColor {
    uint8_t b = 0, g = 0, r = 0;
    bool operator==(const FColor&) const = default;
};

// Where a surface's pixels live: plain memory by default, a DIB section in
// the Win32 shell (which installs its factory when it is linked in).
class DibStore {
  public:
    virtual ~DibStore() = default;
    virtual uint8_t* bits() = 0;
    virtual void colors_changed(const DibInfo&) {}
};
using DibStoreFactory = std::unique_ptr<DibStore> (*)(const DibInfo& info, size_t size);
void set_dib_store_factory(DibStoreFactory factory);

enum class BmpHeaderKind { Core12, Info40, V4_108, V5_124 };

class TFastDIB {
  public:
    // Largest pixel memory a surface accepts; larger requests leave it empty.
    static constexpr size_t kMaxSize = 64u << 20;

    TFastDIB() = default;
    ~TFastDIB();
    TFastDIB(const TFastDIB&) = delete;
    TFastDIB& operator=(const TFastDIB&) = delete;

    int Width = 0;
    int Height = 0;  // negative: top-down
    int AbsHeight = 0;
    int Bpp = 0;
    int BytesPerLine = 0;
    int Gap = 0;
    int Size = 0;
    uint8_t* Bits = nullptr;
    std::vector<uint8_t*> Scanlines;
    DibInfo Info;
    uint32_t RMask = 0, GMask = 0, BMask = 0;
    int RShr = 0, GShr = 0, BShr = 0;  // shift of each mask's lowest bit
    int RBits = 0, GBits = 0, BBits = 0;

    // False when the format is unsupported or too large; the surface is then empty.
    // bpp 0 means the screen's depth (24 away from a screen).
    bool SetSize(int width, int height, int bpp);
    // 16 or 32 bpp with explicit masks (compression 3).
    bool SetSizeMasks(int width, int height, int bpp, uint32_t r, uint32_t g, uint32_t b);
    bool LoadFromFile(const std::string& path);
    bool LoadFromMemory(const uint8_t* data, size_t size);
    void Destroy();

    void Clear(uint32_t color);
    // Colours are packed with red in the lowest byte.
    void FillColors(int first, int last, int stop_count, const uint32_t* stops);
    FColor GetPixel(int row, int column) const;
    void SetPixel(int row, int column, FColor c);  // 24 and 32 bpp only

    // Memory row of picture line y (0 = top line, as drawing contexts count).
    int PictureRow(int y) const { return Height > 0 ? AbsHeight - 1 - y : y; }
    bool Empty() const { return Bits == nullptr; }

    // The BMP writer: 40-byte header by default, pixel data as held.
    std::vector<uint8_t> SaveToMemory(BmpHeaderKind kind = BmpHeaderKind::Info40) const;
    bool SaveToFile(const std::string& path, BmpHeaderKind kind = BmpHeaderKind::Info40) const;

#ifdef _WIN32
    HDC__* DC() const;
    HBITMAP__* Handle() const;
    HFONT__* Font() const;
    int Draw(HDC__* target, int x, int y) const;
    int DrawRect(HDC__* target, int x, int y, int w, int h, int sx, int sy) const;
    int StretchRect(HDC__* target, int x, int y, int w, int h, int sx, int sy, int sw,
                    int sh) const;
    int TransDraw(HDC__* target, int x, int y, uint32_t key_color) const;
    void SetFont(const std::string& face, int width, bool italic, bool underline, bool strike_out,
                 int weight, int height);
    void SetTextColor(uint32_t color);
    void SetBkColor(uint32_t color);
    void SetTransparent(bool transparent);
    int TextOut(int x, int y, const std::string& text);
#endif

  private:
    bool make(int width, int height, int bpp, uint32_t compression, const uint32_t* masks);
    void set_masks(uint32_t r, uint32_t g, uint32_t b);
    std::unique_ptr<DibStore> store_;
};

// Plain copy of a rectangle between surfaces of the same depth (8 bpp or more),
// or from any depth onto a 24-bpp surface. Coordinates are picture
// coordinates (line 0 at the top) on both sides; the rectangle is clipped.
void CopyRect(TFastDIB& dst, int x, int y, int w, int h, const TFastDIB& src, int sx, int sy);

// Stretched copy between surfaces of the same byte-aligned depth, in picture
// coordinates. A negative width or height mirrors. Where the source shrinks,
// the pixels that fall on one target pixel are combined by a bitwise AND (the
// default stretch mode of a drawing context); source points outside the
// surface take the nearest edge pixel. dst and src may be the same surface.
void StretchCopy(TFastDIB& dst, int x, int y, int w, int h, const TFastDIB& src, int sx, int sy,
                 int sw, int sh);
