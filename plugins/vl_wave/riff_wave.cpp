#include "riff_wave.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace vl {

namespace {

constexpr size_t kMaxTagText = 65536;

struct InfoField {
    const char* id;
    std::string TagSet::*text;
};
constexpr InfoField kInfoFields[] = {
    {"INAM", &TagSet::title},   {"IART", &TagSet::artist}, {"IPRD", &TagSet::album},
    {"ICMT", &TagSet::comment}, {"ICRD", &TagSet::year},   {"IGNR", &TagSet::genre},
};

bool valid_format(WaveFormat& f, std::string& error) {
    using Kind = WaveFormat::Kind;
    if (f.channels < 1 || f.channels > 8) return error = "unsupported channel count", false;
    if (f.rate < 1 || f.rate > 768000) return error = "unsupported sample rate", false;
    bool valid_bits = f.kind == Kind::Pcm
                          ? f.bits == 8 || f.bits == 16 || f.bits == 24 || f.bits == 32
                      : f.kind == Kind::Float ? f.bits == 32 || f.bits == 64
                                              : f.bits == 8;
    if (!valid_bits) return error = "unsupported sample size", false;
    if (f.valid_bits <= 0 || f.valid_bits > f.bits) f.valid_bits = f.bits;
    f.block_align = f.channels * f.bits / 8;
    return true;
}

bool parse_fmt(const uint8_t* p, size_t n, WaveFormat& f, std::string& error) {
    if (n < 16) return error = "short fmt chunk", false;
    f.tag = le16(p);
    f.channels = le16(p + 2);
    f.rate = static_cast<int>(std::min<uint32_t>(le32(p + 4), 0x7FFFFFFF));
    f.bits = le16(p + 14);
    f.valid_bits = f.bits;
    uint16_t sub = f.tag;
    if (f.tag == 0xFFFE) {
        if (n < 40 || le16(p + 16) < 22) return error = "short extensible format", false;
        f.valid_bits = le16(p + 18);
        f.channel_mask = le32(p + 20);
        static const uint8_t kTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                          0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
        if (std::memcmp(p + 26, kTail, sizeof kTail) != 0)
            return error = "unknown extensible subformat", false;
        sub = le16(p + 24);
    }
    switch (sub) {
        case 1:
            f.kind = WaveFormat::Kind::Pcm;
            break;
        case 3:
            f.kind = WaveFormat::Kind::Float;
            break;
        case 6:
            f.kind = WaveFormat::Kind::ALaw;
            break;
        case 7:
            f.kind = WaveFormat::Kind::MuLaw;
            break;
        default:
            return error = "not PCM, float or G.711", false;
    }
    return valid_format(f, error);
}

void parse_info(ByteSource& src, int64_t pos, int64_t end, TagSet& tags) {
    while (pos + 8 <= end) {
        uint8_t h[8];
        if (src.read_at(pos, h, 8) != 8) return;
        int64_t size = le32(h + 4);
        int64_t body = pos + 8;
        int64_t n = std::min<int64_t>({size, end - body, static_cast<int64_t>(kMaxTagText)});
        std::string text(static_cast<size_t>(std::max<int64_t>(n, 0)), '\0');
        text.resize(src.read_at(body, text.data(), text.size()));
        text = trim_right(text.substr(0, text.find('\0')));
        std::string id(reinterpret_cast<char*>(h), 4);
        for (const auto& f : kInfoFields)
            if (id == f.id) tags.*f.text = text;
        if (id == "ITRK") tags.track = std::max(0, std::atoi(text.c_str()));
        pos = body + size + (size & 1);
    }
}

}  // namespace

WaveFile parse_wave(ByteSource& src) {
    WaveFile w;
    w.file_size = src.size();
    uint8_t h[12];
    if (src.read_at(0, h, 12) != 12 || std::memcmp(h, "RIFF", 4) != 0 ||
        std::memcmp(h + 8, "WAVE", 4) != 0) {
        w.error = "not a RIFF WAVE file";
        return w;
    }
    bool have_fmt = false, have_data = false;
    int64_t pos = 12;
    while (pos + 8 <= w.file_size) {
        uint8_t c[8];
        if (src.read_at(pos, c, 8) != 8) break;
        RiffChunk chunk;
        chunk.id.assign(reinterpret_cast<char*>(c), 4);
        chunk.offset = pos;
        chunk.size = le32(c + 4);
        const int64_t body = pos + 8;
        const int64_t avail = w.file_size - body;
        bool overruns = chunk.size > avail;
        if (chunk.id == "data") {
            if (!have_data) {
                w.data_offset = body;
                w.data_size = std::min(chunk.size, avail);
                w.data_size_clamped = overruns;
                have_data = true;
            }
            if (overruns) chunk.size = avail;
        } else if (overruns) {
            break;  // a damaged chunk: nothing after it can be trusted
        } else if (chunk.id == "fmt " && !have_fmt) {
            uint8_t f[40] = {};
            size_t n = src.read_at(body, f, static_cast<size_t>(std::min<int64_t>(chunk.size, 40)));
            have_fmt = parse_fmt(f, n, w.fmt, w.error);
            if (!have_fmt) return w;
        } else if (chunk.id == "LIST" && chunk.size >= 4) {
            uint8_t type[4];
            if (src.read_at(body, type, 4) == 4 && std::memcmp(type, "INFO", 4) == 0) {
                chunk.is_info = true;
                w.has_info = true;
                parse_info(src, body + 4, body + chunk.size, w.tags);
            }
        }
        w.chunks.push_back(chunk);
        if (overruns) break;
        pos = body + chunk.size + (chunk.size & 1);
    }
    if (!have_fmt) {
        w.error = "no fmt chunk";
        return w;
    }
    if (!have_data) {
        w.error = "no data chunk";
        return w;
    }
    // A partial frame at the end is not played.
    w.data_size -= w.data_size % w.fmt.block_align;
    w.ok = true;
    return w;
}

std::vector<uint8_t> build_info_list(const TagSet& tags) {
    std::vector<uint8_t> body;
    auto put = [&](const char* id, const std::string& text) {
        if (text.empty()) return;
        std::string t = text.substr(0, kMaxTagText - 1);
        body.insert(body.end(), id, id + 4);
        put_le32(body, static_cast<uint32_t>(t.size() + 1));
        body.insert(body.end(), t.begin(), t.end());
        body.push_back(0);
        if ((t.size() + 1) & 1) body.push_back(0);
    };
    for (const auto& f : kInfoFields) put(f.id, tags.*f.text);
    if (tags.track > 0) put("ITRK", std::to_string(tags.track));
    if (body.empty()) return {};
    std::vector<uint8_t> list = {'L', 'I', 'S', 'T'};
    put_le32(list, static_cast<uint32_t>(body.size() + 4));
    list.insert(list.end(), {'I', 'N', 'F', 'O'});
    list.insert(list.end(), body.begin(), body.end());
    return list;
}

bool write_wave_with_tags(ByteSource& src, const WaveFile& wave, const TagSet& tags,
                          FileWriter& out) {
    if (!wave.ok) return false;
    const std::vector<uint8_t> info = build_info_list(tags);
    uint64_t total = 4;  // "WAVE"
    for (const auto& c : wave.chunks)
        if (!c.is_info) total += 8 + static_cast<uint64_t>(c.size) + (c.size & 1);
    total += info.size();
    if (total > 0xFFFFFFF0u) return false;
    std::vector<uint8_t> head = {'R', 'I', 'F', 'F'};
    put_le32(head, static_cast<uint32_t>(total));
    head.insert(head.end(), {'W', 'A', 'V', 'E'});
    out.write(head);
    for (const auto& c : wave.chunks) {
        if (c.is_info) continue;
        std::vector<uint8_t> h(c.id.begin(), c.id.end());
        put_le32(h, static_cast<uint32_t>(c.size));
        out.write(h);
        if (!out.copy_from(src, c.offset + 8, c.size)) return false;
        if (c.size & 1) out.write("\0", 1);
    }
    out.write(info);
    return out.ok();
}

int16_t mulaw_to_linear(uint8_t code) {
    const int u = ~code & 0xFF;
    const int magnitude = ((((u & 0x0F) << 3) + 0x84) << ((u >> 4) & 7)) - 0x84;
    return static_cast<int16_t>((u & 0x80) ? -magnitude : magnitude);
}

int16_t alaw_to_linear(uint8_t code) {
    const int a = code ^ 0x55;
    const int exponent = (a >> 4) & 7;
    const int mantissa = a & 0x0F;
    const int magnitude =
        exponent == 0 ? (mantissa << 4) + 8 : ((mantissa << 4) + 0x108) << (exponent - 1);
    return static_cast<int16_t>((a & 0x80) ? magnitude : -magnitude);
}

void convert_to_stereo16(const uint8_t* in, size_t frames, const WaveFormat& f, int16_t* out) {
    static const auto g711 = [] {
        std::array<std::array<int16_t, 256>, 2> t{};
        for (int i = 0; i < 256; ++i) {
            t[0][i] = mulaw_to_linear(static_cast<uint8_t>(i));
            t[1][i] = alaw_to_linear(static_cast<uint8_t>(i));
        }
        return t;
    }();
    const int bytes = f.bits / 8;
    auto sample = [&](const uint8_t* p) -> int32_t {
        if (f.kind == WaveFormat::Kind::MuLaw) return g711[0][p[0]];
        if (f.kind == WaveFormat::Kind::ALaw) return g711[1][p[0]];
        if (f.kind == WaveFormat::Kind::Float) {
            double v;
            if (f.bits == 32) {
                float x;
                std::memcpy(&x, p, 4);
                v = x;
            } else {
                std::memcpy(&v, p, 8);
            }
            if (!(v == v)) v = 0;  // NaN
            v = std::clamp(v, -1.0, 1.0);
            return static_cast<int32_t>(std::lround(v * 32767.0));
        }
        switch (f.bits) {
            case 8:
                return (static_cast<int32_t>(p[0]) - 128) * 256;
            case 16:
                return static_cast<int16_t>(le16(p));
            case 24:
                return static_cast<int16_t>(le16(p + 1));
            default:
                return static_cast<int16_t>(le16(p + 2));
        }
    };
    for (size_t i = 0; i < frames; ++i) {
        const uint8_t* frame = in + i * static_cast<size_t>(f.block_align);
        int32_t left = sample(frame), right = left;
        if (f.channels >= 2) {
            right = sample(frame + bytes);
            if (f.channels > 2) {
                // Further channels go to both sides; the sum is scaled back.
                int64_t l = left * 2, r = right * 2;
                for (int c = 2; c < f.channels; ++c) {
                    int32_t s = sample(frame + c * bytes);
                    l += s;
                    r += s;
                }
                const int64_t weight = 2 + (f.channels - 2);
                left = static_cast<int32_t>(l / weight);
                right = static_cast<int32_t>(r / weight);
            }
        }
        out[2 * i] = static_cast<int16_t>(std::clamp(left, -32768, 32767));
        out[2 * i + 1] = static_cast<int16_t>(std::clamp(right, -32768, 32767));
    }
}

std::string describe_wave_format(const WaveFormat& f) {
    using Kind = WaveFormat::Kind;
    std::string s = f.kind == Kind::Float   ? "WAV float "
                    : f.kind == Kind::MuLaw ? "WAV mu-law "
                    : f.kind == Kind::ALaw  ? "WAV A-law "
                                            : "WAV PCM ";
    s += std::to_string(f.valid_bits) + " bit";
    if (f.tag == 0xFFFE) s += " (extensible)";
    return s;
}

}  // namespace vl
