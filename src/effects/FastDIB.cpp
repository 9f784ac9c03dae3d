#include "effects/FastDIB.h"

#include <algorithm>
#include <cstring>

namespace {

class HeapStore : public DibStore {
  public:
    explicit HeapStore(size_t size) : bytes_(size, 0) {}
    uint8_t* bits() override { return bytes_.data(); }

  private:
    std::vector<uint8_t> bytes_;
};

std::unique_ptr<DibStore> heap_store(const DibInfo&, size_t size) {
    return std::make_unique<HeapStore>(size);
}

DibStoreFactory g_factory = heap_store;

void mask_shape(uint32_t mask, int& shift, int& bits) {
    shift = 0;
    bits = 0;
    if (mask == 0) return;
    while (!(mask & 1u)) {
        mask >>= 1;
        ++shift;
    }
    while (mask & 1u) {
        mask >>= 1;
        ++bits;
    }
}

// A channel of `bits` bits scaled to 8 bits.
uint8_t expand_channel(uint32_t v, int bits) {
    if (bits <= 0) return 0;
    if (bits >= 8) return static_cast<uint8_t>(v >> (bits - 8));
    uint32_t out = 0;
    int filled = 0;
    while (filled < 8) {
        out = (out << bits) | v;
        filled += bits;
    }
    return static_cast<uint8_t>(out >> (filled - 8));
}

}  // namespace

void set_dib_store_factory(DibStoreFactory factory) {
    g_factory = factory ? factory : heap_store;
}

TFastDIB::~TFastDIB() {
    Destroy();
}

void TFastDIB::Destroy() {
    Scanlines.clear();
    Bits = nullptr;
    store_.reset();
    Width = Height = AbsHeight = Bpp = BytesPerLine = Gap = Size = 0;
}

void TFastDIB::set_masks(uint32_t r, uint32_t g, uint32_t b) {
    RMask = r;
    GMask = g;
    BMask = b;
    mask_shape(r, RShr, RBits);
    mask_shape(g, GShr, GBits);
    mask_shape(b, BShr, BBits);
}

bool TFastDIB::SetSize(int width, int height, int bpp) {
    if (bpp == 0) bpp = 24;
    if (width == Width && height == Height && bpp == Bpp && Bits && Info.header.biCompression == 0)
        return true;
    return make(width, height, bpp, 0, nullptr);
}

bool TFastDIB::SetSizeMasks(int width, int height, int bpp, uint32_t r, uint32_t g, uint32_t b) {
    const uint32_t masks[3] = {r, g, b};
    return make(width, height, bpp, 3, masks);
}

bool TFastDIB::make(int width, int height, int bpp, uint32_t compression, const uint32_t* masks) {
    DibQuad colors[256];
    std::memcpy(colors, Info.colors, sizeof colors);
    Destroy();
    const bool depth_ok = bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
    if (!depth_ok || width <= 0 || height == 0 || height == INT32_MIN) return false;
    if (compression == 3 && bpp != 16 && bpp != 32) return false;
    const int64_t abs_height = height < 0 ? -static_cast<int64_t>(height) : height;
    const int64_t line = ((static_cast<int64_t>(width) * bpp + 31) / 32) * 4;
    const int64_t used = (static_cast<int64_t>(width) * bpp + 7) / 8;
    if (line > static_cast<int64_t>(kMaxSize) / abs_height) return false;  // no overflow

    Info.header = DibHeader{};
    Info.header.biWidth = width;
    Info.header.biHeight = height;
    Info.header.biBitCount = static_cast<uint16_t>(bpp);
    Info.header.biCompression = compression;
    std::memcpy(Info.colors, colors, sizeof colors);
    if (compression == 3) {
        set_masks(masks[0], masks[1], masks[2]);
    } else if (bpp == 16) {
        set_masks(0x7C00, 0x03E0, 0x001F);
    } else if (bpp == 32) {
        set_masks(0xFF0000, 0x00FF00, 0x0000FF);
    } else {
        set_masks(0, 0, 0);
    }
    if (compression == 3) {
        const uint32_t m[3] = {RMask, GMask, BMask};
        for (int k = 0; k < 3; ++k)
            Info.colors[k] = DibQuad{uint8_t(m[k]), uint8_t(m[k] >> 8), uint8_t(m[k] >> 16),
                                     uint8_t(m[k] >> 24)};
    }

    const size_t size = static_cast<size_t>(line * abs_height);
    auto store = g_factory(Info, size);
    if (!store || !store->bits()) return false;
    store_ = std::move(store);
    Width = width;
    Height = height;
    AbsHeight = static_cast<int>(abs_height);
    Bpp = bpp;
    BytesPerLine = static_cast<int>(line);
    Gap = static_cast<int>(line - used);
    Size = static_cast<int>(size);
    Info.header.biSizeImage = static_cast<uint32_t>(size);
    Bits = store_->bits();
    Scanlines.resize(AbsHeight);
    for (int i = 0; i < AbsHeight; ++i) Scanlines[i] = Bits + static_cast<size_t>(i) * line;
    return true;
}

void TFastDIB::Clear(uint32_t color) {
    if (!Bits) return;
    if (Bpp == 24) {
        uint8_t* row = Scanlines[0];
        for (int x = 0; x < Width; ++x) {
            row[x * 3] = static_cast<uint8_t>(color);
            row[x * 3 + 1] = static_cast<uint8_t>(color >> 8);
            row[x * 3 + 2] = static_cast<uint8_t>(color >> 16);
        }
        for (int y = 1; y < AbsHeight; ++y) std::memcpy(Scanlines[y], row, Width * 3);
        return;
    }
    // One whole pattern unit: a byte for the narrow depths, else one pixel.
    uint8_t unit[4] = {};
    int unit_size = 1;
    switch (Bpp) {
        case 1:
            unit[0] = (color & 1) ? 0xFF : 0;
            break;
        case 4:
            unit[0] = static_cast<uint8_t>((color & 15) * 0x11);
            break;
        case 8:
            unit[0] = static_cast<uint8_t>(color);
            break;
        default:
            unit_size = Bpp / 8;
            for (int i = 0; i < unit_size; ++i) unit[i] = static_cast<uint8_t>(color >> (8 * i));
    }
    const int used = BytesPerLine - Gap;
    for (int y = 0; y < AbsHeight; ++y)
        for (int i = 0; i < used; ++i) Scanlines[y][i] = unit[i % unit_size];
}

void TFastDIB::FillColors(int first, int last, int stop_count, const uint32_t* stops) {
    if (stop_count < 1 || !stops) return;
    first = std::clamp(first, 0, 255);
    last = std::clamp(last, 0, 255);
    auto put = [&](int index, uint32_t c) {
        Info.colors[index].r = static_cast<uint8_t>(c);
        Info.colors[index].g = static_cast<uint8_t>(c >> 8);
        Info.colors[index].b = static_cast<uint8_t>(c >> 16);
        Info.colors[index].reserved = 0;
    };
    const int n = last - first;
    if (n > 0) {
        const int64_t step = (static_cast<int64_t>(stop_count - 1) * 65536) / n;
        int64_t pos = 0;
        for (int i = first; i < last; ++i, pos += step) {
            const int64_t s = pos >> 16;
            const int64_t frac = pos & 0xFFFF;
            if (s >= stop_count - 1) {
                put(i, stops[stop_count - 1]);
            } else if (frac * 2 < step) {
                put(i, stops[s]);
            } else if ((65536 - frac) * 2 < step) {
                put(i, stops[s + 1]);
            } else {
                const uint32_t a = stops[s], b = stops[s + 1];
                uint32_t mixed = 0;
                for (int shift = 0; shift < 24; shift += 8) {
                    const int64_t ca = (a >> shift) & 255, cb = (b >> shift) & 255;
                    mixed |= static_cast<uint32_t>((ca * (65536 - frac) + cb * frac) >> 16)
                             << shift;
                }
                put(i, mixed);
            }
        }
    }
    if (last >= first) put(last, stops[stop_count - 1]);
    if (store_) store_->colors_changed(Info);
}

FColor TFastDIB::GetPixel(int row, int column) const {
    if (!Bits || row < 0 || row >= AbsHeight || column < 0 || column >= Width) return {};
    const uint8_t* p = Scanlines[row];
    auto from_table = [&](int index) {
        const DibQuad& q = Info.colors[index & 255];
        return FColor{q.b, q.g, q.r};
    };
    auto from_masks = [&](uint32_t v) {
        return FColor{expand_channel((v & BMask) >> BShr, BBits),
                      expand_channel((v & GMask) >> GShr, GBits),
                      expand_channel((v & RMask) >> RShr, RBits)};
    };
    switch (Bpp) {
        case 1:
            return from_table((p[column >> 3] >> (7 - (column & 7))) & 1);
        case 4:
            return from_table((column & 1) ? p[column >> 1] & 15 : p[column >> 1] >> 4);
        case 8:
            return from_table(p[column]);
        case 16:
            return from_masks(p[column * 2] | (p[column * 2 + 1] << 8));
        case 24:
            return FColor{p[column * 3], p[column * 3 + 1], p[column * 3 + 2]};
        default: {
            uint32_t v;
            std::memcpy(&v, p + column * 4, 4);
            return from_masks(v);
        }
    }
}

void TFastDIB::SetPixel(int row, int column, FColor c) {
    if (!Bits || row < 0 || row >= AbsHeight || column < 0 || column >= Width) return;
    if (Bpp != 24 && Bpp != 32) return;
    uint8_t* p = Scanlines[row] + column * (Bpp / 8);
    p[0] = c.b;
    p[1] = c.g;
    p[2] = c.r;
}

void CopyRect(TFastDIB& dst, int x, int y, int w, int h, const TFastDIB& src, int sx, int sy) {
    if (dst.Empty() || src.Empty()) return;
    // Clip against both surfaces.
    if (x < 0) {
        w += x;
        sx -= x;
        x = 0;
    }
    if (y < 0) {
        h += y;
        sy -= y;
        y = 0;
    }
    if (sx < 0) {
        w += sx;
        x -= sx;
        sx = 0;
    }
    if (sy < 0) {
        h += sy;
        y -= sy;
        sy = 0;
    }
    w = std::min({w, dst.Width - x, src.Width - sx});
    h = std::min({h, dst.AbsHeight - y, src.AbsHeight - sy});
    if (w <= 0 || h <= 0) return;
    const bool same = dst.Bpp == src.Bpp && dst.Bpp >= 8;
    if (!same && dst.Bpp != 24) return;
    const int px = dst.Bpp / 8;
    for (int j = 0; j < h; ++j) {
        uint8_t* d = dst.Scanlines[dst.PictureRow(y + j)] + x * px;
        const int srow = src.PictureRow(sy + j);
        if (same) {
            std::memmove(d, src.Scanlines[srow] + sx * px, static_cast<size_t>(w) * px);
        } else {
            for (int i = 0; i < w; ++i) {
                const FColor c = src.GetPixel(srow, sx + i);
                d[i * 3] = c.b;
                d[i * 3 + 1] = c.g;
                d[i * 3 + 2] = c.r;
            }
        }
    }
}

namespace {

// For each target index, the first source index and how many source indices
// fall on it (1 when enlarging). Mirrored when the signs differ.
struct AxisMap {
    std::vector<int> start, count;
};

AxisMap map_axis(int d_len, int s_from, int s_len) {
    AxisMap m;
    const int dn = d_len < 0 ? -d_len : d_len;
    const int sn = s_len < 0 ? -s_len : s_len;
    const bool mirror = (d_len < 0) != (s_len < 0);
    // A negative source length counts from its far edge.
    const int s_base = s_len < 0 ? s_from + s_len : s_from;
    m.start.resize(dn);
    m.count.resize(dn);
    for (int d = 0; d < dn; ++d) {
        const int dd = mirror ? dn - 1 - d : d;
        const int64_t a = static_cast<int64_t>(dd) * sn / dn;
        int64_t b = static_cast<int64_t>(dd + 1) * sn / dn;
        if (b <= a) b = a + 1;
        m.start[d] = static_cast<int>(a);
        m.count[d] = static_cast<int>(b - a);
    }
    for (int d = 0; d < dn; ++d) m.start[d] += s_base;
    return m;
}

// One target line from one source line: each target column takes its first
// source column and ANDs the others in; `and_all` ANDs every one into the line
// as it stands. Three-byte pixels move as four bytes, the fourth landing on
// the next pixel before it is written (both buffers have a spare byte).
template <int PX>
void combine_columns(uint8_t* line, const uint8_t* srow, const int* col_first, const int* cols,
                     int i_from, int i_to, bool and_all) {
    constexpr int kMove = PX == 3 ? 4 : PX;
    for (int i = i_from; i < i_to; ++i) {
        uint8_t* acc = line + static_cast<size_t>(i) * PX;
        int c = col_first[i];
        if (!and_all) std::memcpy(acc, srow + cols[c++], kMove);
        for (; c < col_first[i + 1]; ++c) {
            const uint8_t* s = srow + cols[c];
            for (int k = 0; k < PX; ++k) acc[k] &= s[k];
        }
    }
}

}  // namespace

void StretchCopy(TFastDIB& dst, int x, int y, int w, int h, const TFastDIB& src, int sx, int sy,
                 int sw, int sh) {
    if (dst.Empty() || src.Empty() || dst.Bpp != src.Bpp || dst.Bpp < 8) return;
    if (w == 0 || h == 0 || sw == 0 || sh == 0) return;
    // A negative target extent mirrors and starts from its far edge.
    const int x0 = w < 0 ? x + w : x;
    const int y0 = h < 0 ? y + h : y;
    const AxisMap mx = map_axis(w, sx, sw);
    const AxisMap my = map_axis(h, sy, sh);
    const int px = dst.Bpp / 8;
    // Source and target may be one surface: read from a snapshot of the
    // source, with a spare byte for the four-byte moves.
    std::vector<uint8_t> snapshot(static_cast<size_t>(src.Size) + 1);
    std::memcpy(snapshot.data(), src.Bits, static_cast<size_t>(src.Size));
    const int wn = static_cast<int>(mx.start.size());
    const int hn = static_cast<int>(my.start.size());
    // Clamped byte offsets of every source column each target column combines.
    std::vector<int> col_first(wn + 1);
    std::vector<int> cols;
    for (int i = 0; i < wn; ++i) {
        col_first[i] = static_cast<int>(cols.size());
        for (int a = 0; a < mx.count[i]; ++a)
            cols.push_back(std::clamp(mx.start[i] + a, 0, src.Width - 1) * px);
    }
    col_first[wn] = static_cast<int>(cols.size());
    const int i_from = std::max(0, -x0), i_to = std::min(wn, dst.Width - x0);
    std::vector<uint8_t> line(static_cast<size_t>(wn) * px + 1);
    auto* combine = px == 1   ? combine_columns<1>
                    : px == 2 ? combine_columns<2>
                    : px == 3 ? combine_columns<3>
                              : combine_columns<4>;
    int line_source = -1;  // the single source line `line` holds, if any
    for (int j = 0; j < hn; ++j) {
        const int ty = y0 + j;
        if (ty < 0 || ty >= dst.AbsHeight || i_from >= i_to) continue;
        for (int b = 0; b < my.count[j]; ++b) {
            const int sline = std::clamp(my.start[j] + b, 0, src.AbsHeight - 1);
            // Enlarging repeats a source line: its target line is built already.
            if (my.count[j] == 1 && sline == line_source) break;
            const uint8_t* srow =
                snapshot.data() + static_cast<size_t>(src.PictureRow(sline)) * src.BytesPerLine;
            combine(line.data(), srow, col_first.data(), cols.data(), i_from, i_to, b > 0);
            line_source = my.count[j] == 1 ? sline : -1;
        }
        std::memcpy(dst.Scanlines[dst.PictureRow(ty)] + (x0 + i_from) * px,
                    &line[static_cast<size_t>(i_from) * px],
                    static_cast<size_t>(i_to - i_from) * px);
    }
}
