#include "mpeg_frame.h"

#include <algorithm>
#include <cstring>

namespace vl {

namespace {

constexpr int kBitrates[5][15] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},  // V1 L1
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},     // V1 L2
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},      // V1 L3
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},     // V2 L1
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},          // V2 L2, L3
};
constexpr int kRates[3][3] = {{44100, 48000, 32000}, {22050, 24000, 16000}, {11025, 12000, 8000}};

// Reads a file through a window that is reloaded as the scan moves on.
class Window {
  public:
    explicit Window(ByteSource& src) : src_(src) {}
    // Pointer to n bytes at pos, or nullptr past the end.
    const uint8_t* at(int64_t pos, size_t n) {
        if (pos < start_ || pos + static_cast<int64_t>(n) > start_ + static_cast<int64_t>(len_)) {
            buf_.resize(std::max<size_t>(kSize, n));
            start_ = pos;
            len_ = src_.read_at(pos, buf_.data(), buf_.size());
            if (len_ < n) return nullptr;
        }
        return buf_.data() + (pos - start_);
    }

  private:
    static constexpr size_t kSize = 1 << 16;
    ByteSource& src_;
    std::vector<uint8_t> buf_;
    int64_t start_ = 0;
    size_t len_ = 0;
};

bool header_at(Window& w, int64_t pos, MpegHeader& h) {
    const uint8_t* p = w.at(pos, 4);
    return p && parse_mpeg_header(p, h);
}

// A frame is trusted when the next one follows where it says (or the audio
// ends there).
bool confirmed_at(Window& w, int64_t pos, int64_t end, const MpegHeader* like, MpegHeader& h) {
    if (!header_at(w, pos, h) || h.layer != 3) return false;
    if (like && !h.compatible(*like)) return false;
    int64_t next = pos + h.frame_size;
    if (next > end) return false;
    if (next == end) return true;
    MpegHeader n;
    return header_at(w, next, n) && n.compatible(h);
}

}  // namespace

bool parse_mpeg_header(const uint8_t* p, MpegHeader& h) {
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return false;
    const int ver_bits = (p[1] >> 3) & 3;
    const int layer_bits = (p[1] >> 1) & 3;
    const int br_index = p[2] >> 4;
    const int rate_index = (p[2] >> 2) & 3;
    if (ver_bits == 1 || layer_bits == 0 || br_index == 0 || br_index == 15 || rate_index == 3 ||
        (p[3] & 3) == 2)
        return false;
    h.version = ver_bits == 3 ? 10 : ver_bits == 2 ? 20 : 25;
    h.layer = 4 - layer_bits;
    h.crc = (p[1] & 1) == 0;
    const bool v1 = h.version == 10;
    const int table = v1 ? h.layer - 1 : (h.layer == 1 ? 3 : 4);
    h.bitrate = kBitrates[table][br_index];
    h.rate = kRates[v1 ? 0 : h.version == 20 ? 1 : 2][rate_index];
    h.padding = (p[2] >> 1) & 1;
    h.private_bit = p[2] & 1;
    h.mode = p[3] >> 6;
    h.mode_ext = (p[3] >> 4) & 3;
    h.copyright = (p[3] >> 3) & 1;
    h.original = (p[3] >> 2) & 1;
    h.emphasis = p[3] & 3;
    const int bps = h.bitrate * 1000;
    if (h.layer == 1) {
        h.samples = 384;
        h.frame_size = (12 * bps / h.rate + (h.padding ? 1 : 0)) * 4;
    } else {
        h.samples = (h.layer == 3 && !v1) ? 576 : 1152;
        const int coef = (h.layer == 3 && !v1) ? 72 : 144;
        h.frame_size = coef * bps / h.rate + (h.padding ? 1 : 0);
    }
    return h.frame_size >= 4;
}

VbrHeader parse_vbr_header(const uint8_t* f, size_t size, const MpegHeader& h) {
    VbrHeader v;
    const size_t side =
        h.version == 10 ? (h.channels() == 1 ? 17 : 32) : (h.channels() == 1 ? 9 : 17);
    // LAME puts the header right after the side information even when the
    // frame carries a CRC; others leave room for the CRC first.
    auto xing_at = [&](size_t at) {
        return at + 8 <= size &&
               (std::memcmp(f + at, "Xing", 4) == 0 || std::memcmp(f + at, "Info", 4) == 0);
    };
    size_t pos = 4 + side;
    if (h.crc && !xing_at(pos)) pos += 2;
    if (xing_at(pos)) {
        v.kind = f[pos] == 'X' ? VbrHeader::Kind::Xing : VbrHeader::Kind::Info;
        const uint32_t flags = be32(f + pos + 4);
        size_t q = pos + 8;
        if ((flags & 1) && q + 4 <= size) v.frames = be32(f + q), q += 4;
        if ((flags & 2) && q + 4 <= size) v.bytes = be32(f + q), q += 4;
        if ((flags & 4) && q + 100 <= size) {
            std::memcpy(v.toc, f + q, 100);
            v.has_toc = true;
            q += 100;
        }
        if ((flags & 8) && q + 4 <= size) q += 4;
        // The LAME extension: encoder delay and padding, 12 bits each.
        if (q + 24 <= size &&
            (std::memcmp(f + q, "LAME", 4) == 0 || std::memcmp(f + q, "Lavc", 4) == 0 ||
             std::memcmp(f + q, "Lavf", 4) == 0)) {
            const uint8_t* d = f + q + 21;
            v.encoder_delay = (d[0] << 4) | (d[1] >> 4);
            v.encoder_padding = ((d[1] & 0x0F) << 8) | d[2];
        }
        return v;
    }
    if (36 + 26 <= size && std::memcmp(f + 36, "VBRI", 4) == 0) {
        v.kind = VbrHeader::Kind::Vbri;
        v.encoder_delay = (f[42] << 8) | f[43];
        v.bytes = be32(f + 46);
        v.frames = be32(f + 50);
    }
    return v;
}

int64_t id3v2_tag_size(const uint8_t* p, size_t n) {
    if (n < 10 || std::memcmp(p, "ID3", 3) != 0 || p[3] == 0xFF || p[4] == 0xFF) return 0;
    if ((p[6] | p[7] | p[8] | p[9]) & 0x80) return 0;
    int64_t size = (p[6] << 21) | (p[7] << 14) | (p[8] << 7) | p[9];
    return 10 + size + ((p[3] >= 4 && (p[5] & 0x10)) ? 10 : 0);
}

MpegStream scan_mpeg(ByteSource& src, bool full) {
    MpegStream s;
    s.file_size = src.size();
    Window w(src);
    // Leading tags, possibly more than one.
    int64_t pos = 0;
    while (const uint8_t* p = w.at(pos, 10)) {
        int64_t size = id3v2_tag_size(p, 10);
        if (size == 0) break;
        pos += size;
    }
    s.tag_end = std::min(pos, s.file_size);
    s.audio_end = s.file_size;
    if (s.file_size >= 128 + s.tag_end) {
        const uint8_t* t = w.at(s.file_size - 128, 3);
        if (t && std::memcmp(t, "TAG", 3) == 0) s.audio_end = s.file_size - 128;
    }
    // The first trusted frame, searched over at most 1 MB of junk.
    const int64_t search_end = std::min(s.audio_end, s.tag_end + (1 << 20));
    MpegHeader h;
    for (pos = s.tag_end; pos + 4 <= search_end; ++pos) {
        if (confirmed_at(w, pos, s.audio_end, nullptr, h)) break;
    }
    if (pos + 4 > search_end) {
        s.error = "no MPEG audio frames";
        return s;
    }
    s.first_frame = pos;
    s.first = h;
    if (const uint8_t* f = w.at(pos, static_cast<size_t>(h.frame_size)))
        s.vbr = parse_vbr_header(f, static_cast<size_t>(h.frame_size), h);
    s.ok = true;
    if (!full) return s;

    if (s.vbr.kind != VbrHeader::Kind::None) pos += h.frame_size;
    bool lost = false;
    while (pos + 4 <= s.audio_end) {
        MpegHeader f;
        if (header_at(w, pos, f) && f.compatible(s.first) && pos + f.frame_size <= s.audio_end &&
            (!lost || confirmed_at(w, pos, s.audio_end, &s.first, f))) {
            s.frames.push_back(pos);
            s.frame_bytes += f.frame_size;
            if (f.bitrate != s.first.bitrate) s.variable_bitrate = true;
            pos += f.frame_size;
            lost = false;
            continue;
        }
        if (!lost) ++s.garbage_runs;
        lost = true;
        ++pos;
    }
    return s;
}

}  // namespace vl
