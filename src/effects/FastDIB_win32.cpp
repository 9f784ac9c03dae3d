// The Win32 side of TFastDIB: pixel memory in a DIB section selected into a
// memory drawing context of its own, and the drawing calls on that context.
#include "effects/FastDIB.h"

#include <windows.h>
#undef TextOut

#include "win/handles.h"

namespace {

class DibSection : public DibStore {
  public:
    DibSection(const DibInfo& info) {
        dc_.reset(CreateCompatibleDC(win::WindowDC(nullptr)));
        if (!dc_) return;
        bitmap_.reset(CreateDIBSection(dc_.get(), reinterpret_cast<const BITMAPINFO*>(&info),
                                       DIB_RGB_COLORS, &bits_, nullptr, 0));
        if (bitmap_) old_bitmap_ = SelectObject(dc_.get(), bitmap_.get());
        default_font_ = GetCurrentObject(dc_.get(), OBJ_FONT);
    }
    ~DibSection() override {
        // The context gives its objects back before they are deleted.
        if (dc_) {
            if (old_bitmap_) SelectObject(dc_.get(), old_bitmap_);
            SelectObject(dc_.get(), default_font_);
        }
    }
    uint8_t* bits() override { return bitmap_ ? static_cast<uint8_t*>(bits_) : nullptr; }
    void colors_changed(const DibInfo& info) override {
        if (dc_ && info.header.biBitCount <= 8)
            SetDIBColorTable(dc_.get(), 0, 256, reinterpret_cast<const RGBQUAD*>(info.colors));
    }
    void set_font(HFONT font) {
        SelectObject(dc_.get(), font);
        font_.reset(font);
    }

    // Declared before the context, so that the context goes first.
    win::Bitmap bitmap_;
    win::Font font_;
    win::MemoryDC dc_;
    HGDIOBJ old_bitmap_ = nullptr;
    HGDIOBJ default_font_ = nullptr;
    void* bits_ = nullptr;
};

std::unique_ptr<DibStore> make_section(const DibInfo& info, size_t) {
    return std::make_unique<DibSection>(info);
}

// Linking this file makes every surface a DIB section.
const bool g_installed = (set_dib_store_factory(make_section), true);

using TransparentBltFn = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);

// msimg32.dll is taken at run time and released at exit.
class Msimg32 {
  public:
    Msimg32() : module_(LoadLibraryA("msimg32.dll")) {
        if (module_)
            fn_ = reinterpret_cast<TransparentBltFn>(
                reinterpret_cast<void*>(GetProcAddress(module_.get(), "TransparentBlt")));
    }
    TransparentBltFn fn_ = nullptr;

  private:
    win::Module module_;
};

TransparentBltFn transparent_blt() {
    static Msimg32 lib;
    return lib.fn_;
}

}  // namespace

static DibSection* section_of(const std::unique_ptr<DibStore>& store) {
    return dynamic_cast<DibSection*>(store.get());
}

HDC TFastDIB::DC() const {
    (void)g_installed;
    DibSection* s = section_of(store_);
    return s ? s->dc_.get() : nullptr;
}

HBITMAP TFastDIB::Handle() const {
    DibSection* s = section_of(store_);
    return s ? s->bitmap_.get() : nullptr;
}

HFONT TFastDIB::Font() const {
    DibSection* s = section_of(store_);
    return s ? s->font_.get() : nullptr;
}

int TFastDIB::Draw(HDC target, int x, int y) const {
    return BitBlt(target, x, y, Width, AbsHeight, DC(), 0, 0, SRCCOPY);
}

int TFastDIB::DrawRect(HDC target, int x, int y, int w, int h, int sx, int sy) const {
    return BitBlt(target, x, y, w, h, DC(), sx, sy, SRCCOPY);
}

int TFastDIB::StretchRect(HDC target, int x, int y, int w, int h, int sx, int sy, int sw,
                          int sh) const {
    return StretchBlt(target, x, y, w, h, DC(), sx, sy, sw, sh, SRCCOPY);
}

int TFastDIB::TransDraw(HDC target, int x, int y, uint32_t key_color) const {
    TransparentBltFn fn = transparent_blt();
    if (!fn || !DC()) return 0;
    return fn(target, x, y, Width, AbsHeight, DC(), 0, 0, Width, AbsHeight, key_color);
}

void TFastDIB::SetFont(const std::string& face, int width, bool italic, bool underline,
                       bool strike_out, int weight, int height) {
    DibSection* s = section_of(store_);
    if (!s || !s->dc_) return;
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    lf.lfUnderline = underline;
    lf.lfStrikeOut = strike_out;
    lstrcpynA(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    if (HFONT font = CreateFontIndirectA(&lf)) s->set_font(font);
}

void TFastDIB::SetTextColor(uint32_t color) {
    if (HDC dc = DC()) ::SetTextColor(dc, color);
}

void TFastDIB::SetBkColor(uint32_t color) {
    if (HDC dc = DC()) ::SetBkColor(dc, color);
}

void TFastDIB::SetTransparent(bool transparent) {
    if (HDC dc = DC()) SetBkMode(dc, transparent ? TRANSPARENT : OPAQUE);
}

int TFastDIB::TextOut(int x, int y, const std::string& text) {
    HDC dc = DC();
    if (!dc) return 0;
    return TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}
