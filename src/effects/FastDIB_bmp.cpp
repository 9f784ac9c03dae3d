// BMP files: the loader (core 12-byte and 40/52/56/108/124-byte information
// headers, colour tables, bit masks, RLE8 and RLE4, bottom-up and top-down)
// and a small writer. Every read is bounded by the data actually present and
// every write by the surface, whatever the headers claim.
#include "effects/FastDIB.h"

#include <cstring>
#include <fstream>
#include <iterator>

#include "base/safe_file.h"

namespace {

uint16_t u16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t u32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void rle_put(TFastDIB& dib, bool four, int x, int y, uint8_t v) {
    if (x < 0 || y < 0 || x >= dib.Width || y >= dib.AbsHeight) return;
    uint8_t* row = dib.Scanlines[y];
    if (!four) {
        row[x] = v;
    } else if (x & 1) {
        row[x >> 1] = static_cast<uint8_t>((row[x >> 1] & 0xF0) | (v & 15));
    } else {
        row[x >> 1] = static_cast<uint8_t>((row[x >> 1] & 0x0F) | (v << 4));
    }
}

// Run-length data into memory rows in file order; runs past a row's end or
// past the last row are dropped.
void decode_rle(TFastDIB& dib, bool four, const uint8_t* d, size_t end) {
    size_t i = 0;
    int x = 0, y = 0;
    while (i + 1 < end && y < dib.AbsHeight) {
        const uint8_t n = d[i], v = d[i + 1];
        i += 2;
        if (n > 0) {
            for (int k = 0; k < n && x < dib.Width; ++k, ++x)
                rle_put(dib, four, x, y, four ? ((k & 1) ? v & 15 : v >> 4) : v);
            continue;
        }
        if (v == 0) {
            x = 0;
            ++y;
        } else if (v == 1) {
            return;
        } else if (v == 2) {
            if (i + 1 >= end) return;
            x += d[i];
            y += d[i + 1];
            i += 2;
        } else {
            const size_t bytes = four ? (v + 1u) / 2 : v;
            for (int k = 0; k < v; ++k, ++x) {
                const size_t at = i + (four ? k / 2 : k);
                if (at >= end) return;
                rle_put(dib, four, x, y, four ? ((k & 1) ? d[at] & 15 : d[at] >> 4) : d[at]);
            }
            i += bytes + (bytes & 1);
        }
    }
}

}  // namespace

bool TFastDIB::LoadFromFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    return LoadFromMemory(data.data(), data.size());
}

bool TFastDIB::LoadFromMemory(const uint8_t* d, size_t size) {
    if (!d || size < 26 || d[0] != 'B' || d[1] != 'M') {
        Destroy();
        return false;
    }
    const uint32_t offset = u32(d + 10);
    const uint32_t hsize = u32(d + 14);
    int width = 0, height = 0, bpp = 0;
    uint32_t compression = 0, used_colors = 0;
    uint32_t masks[3] = {};
    size_t table_at = 0, entry_size = 4;
    if (hsize == 12) {
        width = u16(d + 18);
        height = u16(d + 20);
        bpp = u16(d + 24);
        table_at = 26;
        entry_size = 3;
    } else if (hsize >= 40 && size >= 54) {
        width = static_cast<int32_t>(u32(d + 18));
        height = static_cast<int32_t>(u32(d + 22));
        bpp = u16(d + 28);
        compression = u32(d + 30);
        used_colors = u32(d + 46);
        table_at = 14 + static_cast<size_t>(hsize);
        if (compression == 3 || compression == 6) {
            // Masks live inside the larger headers, after the 40-byte one.
            const size_t at = hsize >= 52 ? 54 : table_at;
            if (at + 12 <= size)
                for (int k = 0; k < 3; ++k) masks[k] = u32(d + at + 4 * k);
            if (hsize < 52) table_at += compression == 6 ? 16 : 12;
        }
    } else {
        Destroy();
        return false;
    }

    bool ok;
    const bool rle = compression == 1 || compression == 2;
    if (compression == 1 && bpp != 8)
        ok = false;
    else if (compression == 2 && bpp != 4)
        ok = false;
    else if (compression == 3 || compression == 6) {
        if (bpp != 16 && bpp != 32)
            ok = false;
        else if (masks[0] && masks[1] && masks[2])
            ok = SetSizeMasks(width, height, bpp, masks[0], masks[1], masks[2]);
        else
            ok = make(width, height, bpp, 0, nullptr);
    } else if (compression == 0 || rle) {
        ok = make(width, height, bpp, 0, nullptr);
    } else {
        ok = false;  // JPEG, PNG and other embedded formats
    }
    if (!ok) {
        Destroy();
        return false;
    }

    if (bpp <= 8) {
        uint32_t count = 1u << bpp;
        if (used_colors > 0 && used_colors < count) count = used_colors;
        for (uint32_t k = 0; k < count && table_at + (k + 1) * entry_size <= size; ++k) {
            const uint8_t* e = d + table_at + k * entry_size;
            Info.colors[k] = DibQuad{e[0], e[1], e[2], 0};
        }
        if (store_) store_->colors_changed(Info);
    }

    if (offset >= size) return true;
    const uint8_t* pixels = d + offset;
    const size_t available = size - offset;
    if (rle) {
        decode_rle(*this, compression == 2, pixels, available);
    } else {
        std::memcpy(Bits, pixels, std::min(static_cast<size_t>(Size), available));
    }
    return true;
}

std::vector<uint8_t> TFastDIB::SaveToMemory(BmpHeaderKind kind) const {
    std::vector<uint8_t> out;
    if (!Bits) return out;
    const bool core = kind == BmpHeaderKind::Core12;
    const uint32_t hsize = core                            ? 12
                           : kind == BmpHeaderKind::Info40 ? 40
                           : kind == BmpHeaderKind::V4_108 ? 108
                                                           : 124;
    const uint32_t compression = Info.header.biCompression == 3 ? 3 : 0;
    const uint32_t entries = Bpp <= 8 ? 1u << Bpp : 0;
    const uint32_t table = entries * (core ? 3 : 4) + (compression == 3 && hsize == 40 ? 12 : 0);
    const uint32_t offset = 14 + hsize + table;
    out.reserve(offset + Size);
    out.push_back('B');
    out.push_back('M');
    put32(out, offset + Size);
    put32(out, 0);
    put32(out, offset);
    put32(out, hsize);
    if (core) {
        put16(out, Width);
        put16(out, AbsHeight);
        put16(out, 1);
        put16(out, Bpp);
    } else {
        put32(out, Width);
        put32(out, static_cast<uint32_t>(Height));
        put16(out, 1);
        put16(out, Bpp);
        put32(out, compression);
        put32(out, Size);
        put32(out, 2835);
        put32(out, 2835);
        put32(out, entries);
        put32(out, 0);
        if (hsize > 40) {
            put32(out, compression == 3 ? RMask : 0);
            put32(out, compression == 3 ? GMask : 0);
            put32(out, compression == 3 ? BMask : 0);
            put32(out, 0);                        // alpha mask
            put32(out, 0x73524742);               // 'sRGB'
            out.resize(out.size() + 36 + 12, 0);  // end points and gamma, unused with sRGB
            if (hsize == 124) {
                put32(out, 4);  // LCS_GM_IMAGES
                put32(out, 0);
                put32(out, 0);
                put32(out, 0);
            }
        } else if (compression == 3) {
            put32(out, RMask);
            put32(out, GMask);
            put32(out, BMask);
        }
    }
    for (uint32_t k = 0; k < entries; ++k) {
        out.push_back(Info.colors[k].b);
        out.push_back(Info.colors[k].g);
        out.push_back(Info.colors[k].r);
        if (!core) out.push_back(0);
    }
    out.insert(out.end(), Bits, Bits + Size);
    return out;
}

bool TFastDIB::SaveToFile(const std::string& path, BmpHeaderKind kind) const {
    const std::vector<uint8_t> bytes = SaveToMemory(kind);
    if (bytes.empty()) return false;
    return write_file_replacing(
        path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}
