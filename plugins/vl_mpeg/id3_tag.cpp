#include "id3_tag.h"

#include <algorithm>
#include <cstring>

#include "ansi_text.h"
#include "byte_source.h"

namespace vl {

namespace {

uint32_t syncsafe(const uint8_t* p) {
    return (static_cast<uint32_t>(p[0] & 0x7F) << 21) | ((p[1] & 0x7F) << 14) |
           ((p[2] & 0x7F) << 7) | (p[3] & 0x7F);
}

std::vector<uint8_t> remove_unsync(const uint8_t* p, size_t n) {
    std::vector<uint8_t> out;
    out.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        out.push_back(p[i]);
        if (p[i] == 0xFF && i + 1 < n && p[i + 1] == 0x00) ++i;
    }
    return out;
}

void put_code_point(std::u16string& out, uint32_t cp) {
    // An overlong UTF-8 NUL would cut the text short as a C string.
    if (cp == 0 || cp > 0x10FFFF) {
        out.push_back(u'?');
    } else if (cp > 0xFFFF) {
        out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(cp));
    }
}

// Decodes an ID3 text of the given encoding up to its terminator; *used gets
// the bytes consumed, terminator included. Unicode texts are converted to the
// ANSI code page; ISO-8859-1 texts are taken byte for byte, as many taggers
// write the local code page there.
std::string decode_text(int encoding, const uint8_t* p, size_t n, size_t* used = nullptr) {
    std::string out;
    std::u16string wide;
    size_t i = 0;
    if (encoding == 1 || encoding == 2) {
        bool big = encoding == 2;
        if (n >= 2 && ((p[0] == 0xFF && p[1] == 0xFE) || (p[0] == 0xFE && p[1] == 0xFF))) {
            big = p[0] == 0xFE;
            i = 2;
        }
        for (; i + 1 < n; i += 2) {
            const auto u =
                static_cast<char16_t>(big ? (p[i] << 8) | p[i + 1] : p[i] | (p[i + 1] << 8));
            if (u == 0) {
                i += 2;
                break;
            }
            wide.push_back(u);
        }
        if (i > n) i = n;
        out = ansi_from_utf16(wide);
    } else if (encoding == 3) {
        while (i < n && p[i] != 0) {
            uint8_t c = p[i];
            int extra = c < 0x80         ? 0
                        : (c >> 5) == 6  ? 1
                        : (c >> 4) == 14 ? 2
                        : (c >> 3) == 30 ? 3
                                         : -1;
            if (extra < 0 || i + extra >= n + (extra == 0 ? 1 : 0)) {
                put_code_point(wide, '?');
                ++i;
                continue;
            }
            uint32_t cp = extra == 0 ? c : c & (0x3F >> extra);
            for (int k = 1; k <= extra; ++k) cp = (cp << 6) | (p[i + k] & 0x3F);
            put_code_point(wide, cp);
            i += static_cast<size_t>(extra) + 1;
        }
        if (i < n) ++i;
        out = ansi_from_utf16(wide);
    } else {
        while (i < n && p[i] != 0) out.push_back(static_cast<char>(p[i++]));
        if (i < n) ++i;
    }
    // A converted NUL would cut the text short as a C string.
    std::replace(out.begin(), out.end(), '\0', '?');
    if (used) *used = i;
    return out;
}

bool plain_ascii(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return (c & 0x80) == 0; });
}

// An encoding byte and the text: ISO-8859-1 for plain ASCII, else UTF-16
// with a byte order mark, so that what was typed in any code page survives.
// terminated: ends with the encoding's NUL (a COMM description).
void put_encoded(std::vector<uint8_t>& out, const std::string& s, bool unicode, bool terminated) {
    if (!unicode) {
        out.insert(out.end(), s.begin(), s.end());
        if (terminated) out.push_back(0);
        return;
    }
    out.insert(out.end(), {0xFF, 0xFE});
    for (char16_t c : utf16_from_ansi(s)) put_le16(out, c);
    if (terminated) out.insert(out.end(), {0, 0});
}

struct FrameMap {
    const char* v22;
    const char* v23;
    std::string TagSet::*text;
};
constexpr FrameMap kTextFrames[] = {
    {"TT2", "TIT2", &TagSet::title}, {"TP1", "TPE1", &TagSet::artist},
    {"TAL", "TALB", &TagSet::album}, {"TYE", "TYER", &TagSet::year},
    {"TCO", "TCON", &TagSet::genre},
};

// v2.3/v2.4 frames that carry one of the seven fields and are not kept as
// other frames when the tag is rewritten.
bool replaced_frame(const std::string& id) {
    for (const auto& m : kTextFrames)
        if (id == m.v23) return true;
    return id == "TRCK" || id == "COMM" || id == "TDRC";
}

}  // namespace

Id3v2Tag parse_id3v2(const uint8_t* data, size_t size) {
    Id3v2Tag tag;
    if (size < 10 || std::memcmp(data, "ID3", 3) != 0) return tag;
    const int version = data[3];
    if (version < 2 || version > 4) return tag;
    const uint8_t flags = data[5];
    size_t body_size = std::min<size_t>(syncsafe(data + 6), size - 10);
    std::vector<uint8_t> body(data + 10, data + 10 + body_size);
    if (version < 4 && (flags & 0x80)) body = remove_unsync(body.data(), body.size());
    if (version == 2 && (flags & 0x40)) return tag;  // v2.2 compression: unknown scheme
    tag.present = true;
    tag.version = version;
    size_t pos = 0;
    if (version >= 3 && (flags & 0x40) && body.size() >= 4) {
        size_t ext = version == 3 ? be32(body.data()) + 4 : syncsafe(body.data());
        pos = std::min(ext, body.size());
    }
    bool have_comment = false;
    const size_t head = version == 2 ? 6 : 10;
    while (pos + head <= body.size()) {
        const uint8_t* f = body.data() + pos;
        if (f[0] == 0) break;  // padding
        std::string id(reinterpret_cast<const char*>(f), version == 2 ? 3 : 4);
        size_t fsize = version == 2   ? (f[3] << 16) | (f[4] << 8) | f[5]
                       : version == 3 ? be32(f + 4)
                                      : syncsafe(f + 4);
        if (fsize > body.size() - pos - head) break;
        const uint8_t fmt_flags = version == 2 ? 0 : f[9];
        std::vector<uint8_t> content(f + head, f + head + fsize);
        const size_t frame_end = pos + head + fsize;
        bool usable = true;
        if (version == 3) {
            if (fmt_flags & 0xC0) usable = false;  // compressed or encrypted
            if (usable && (fmt_flags & 0x20) && !content.empty()) content.erase(content.begin());
        } else if (version == 4) {
            if (fmt_flags & 0x0C) usable = false;
            size_t skip = ((fmt_flags & 0x40) ? 1 : 0) + ((fmt_flags & 0x01) ? 4 : 0);
            if (usable && skip <= content.size())
                content.erase(content.begin(), content.begin() + skip);
            if (usable && ((fmt_flags & 0x02) || (flags & 0x80)))
                content = remove_unsync(content.data(), content.size());
        }
        pos = frame_end;
        // Frames we do not read are kept (v2.3 and plain v2.4 frames only).
        if (version >= 3 && !replaced_frame(id)) {
            if (version == 3 || (f[8] == 0 && f[9] == 0)) {
                tag.other_frames.insert(tag.other_frames.end(), f, f + 4);
                put_be32(tag.other_frames, static_cast<uint32_t>(fsize));
                tag.other_frames.insert(tag.other_frames.end(), f + 8, f + 10 + fsize);
            }
            continue;
        }
        if (!usable || content.empty()) continue;
        const int enc = content[0];
        const uint8_t* text = content.data() + 1;
        const size_t text_len = content.size() - 1;
        auto note = [&](const char* field) { tag.fields.push_back(field); };
        for (const auto& m : kTextFrames) {
            if (id == (version == 2 ? m.v22 : m.v23)) {
                std::string value = decode_text(enc, text, text_len);
                tag.tags.*m.text = m.text == &TagSet::genre ? genre_from_id3(value) : value;
                note(m.v23);
            }
        }
        if (id == "TDRC" && tag.tags.year.empty()) {
            tag.tags.year = decode_text(enc, text, text_len).substr(0, 4);
            note("TYER");
        }
        if (id == (version == 2 ? "TRK" : "TRCK")) {
            tag.tags.track = std::max(0, std::atoi(decode_text(enc, text, text_len).c_str()));
            note("TRCK");
        }
        if (id == (version == 2 ? "COM" : "COMM") && text_len >= 3) {
            size_t used = 0;
            std::string description = decode_text(enc, text + 3, text_len - 3, &used);
            std::string value = decode_text(enc, text + 3 + used, text_len - 3 - used);
            // The comment without a description wins over described ones.
            if (!have_comment || description.empty()) {
                if (!have_comment) note("COMM");
                tag.tags.comment = value;
                have_comment = description.empty();
            }
        }
    }
    return tag;
}

bool parse_id3v1(const uint8_t* d, size_t size, TagSet& tags) {
    if (size < 128 || std::memcmp(d, "TAG", 3) != 0) return false;
    auto field = [&](size_t off, size_t len) {
        std::string s(reinterpret_cast<const char*>(d + off), len);
        return trim_right(s.substr(0, s.find('\0')));
    };
    tags.title = field(3, 30);
    tags.artist = field(33, 30);
    tags.album = field(63, 30);
    tags.year = field(93, 4);
    if (d[125] == 0 && d[126] != 0) {  // v1.1
        tags.comment = field(97, 28);
        tags.track = d[126];
    } else {
        tags.comment = field(97, 30);
        tags.track = 0;
    }
    const auto& names = genre_names();
    tags.genre = d[127] < names.size() ? names[d[127]] : std::string();
    return true;
}

TagSet merge_tags(const Id3v2Tag& v2, bool has_v1, const TagSet& v1) {
    if (!v2.present) return has_v1 ? v1 : TagSet{};
    TagSet t = v2.tags;
    if (!has_v1) return t;
    auto held = [&](const char* id) {
        return std::find(v2.fields.begin(), v2.fields.end(), id) != v2.fields.end();
    };
    if (!held("TIT2")) t.title = v1.title;
    if (!held("TPE1")) t.artist = v1.artist;
    if (!held("TALB")) t.album = v1.album;
    if (!held("TYER")) t.year = v1.year;
    if (!held("TCON")) t.genre = v1.genre;
    if (!held("COMM")) t.comment = v1.comment;
    if (!held("TRCK")) t.track = v1.track;
    return t;
}

std::vector<uint8_t> build_id3v2_3(const TagSet& tags, const std::vector<uint8_t>& other_frames) {
    std::vector<uint8_t> frames;
    auto frame = [&](const char* id, const std::vector<uint8_t>& content) {
        frames.insert(frames.end(), id, id + 4);
        put_be32(frames, static_cast<uint32_t>(content.size()));
        frames.push_back(0);
        frames.push_back(0);
        frames.insert(frames.end(), content.begin(), content.end());
    };
    auto text = [&](const char* id, const std::string& value) {
        if (value.empty()) return;
        const bool unicode = !plain_ascii(value);
        std::vector<uint8_t> c = {static_cast<uint8_t>(unicode ? 1 : 0)};
        put_encoded(c, value, unicode, false);
        frame(id, c);
    };
    text("TIT2", tags.title);
    text("TPE1", tags.artist);
    text("TALB", tags.album);
    if (tags.track > 0) text("TRCK", std::to_string(tags.track));
    text("TYER", tags.year);
    text("TCON", tags.genre);
    if (!tags.comment.empty()) {
        const bool unicode = !plain_ascii(tags.comment);
        std::vector<uint8_t> c = {static_cast<uint8_t>(unicode ? 1 : 0), 'e', 'n', 'g'};
        put_encoded(c, "", unicode, true);
        put_encoded(c, tags.comment, unicode, false);
        frame("COMM", c);
    }
    frames.insert(frames.end(), other_frames.begin(), other_frames.end());
    frames.resize(frames.size() + 256, 0);  // padding for later edits in place
    // Written without unsynchronisation, which v2.3 leaves optional.
    const uint32_t n = static_cast<uint32_t>(frames.size());
    std::vector<uint8_t> tag(10 + frames.size());
    const uint8_t header[10] = {'I',
                                'D',
                                '3',
                                3,
                                0,
                                0,
                                static_cast<uint8_t>((n >> 21) & 0x7F),
                                static_cast<uint8_t>((n >> 14) & 0x7F),
                                static_cast<uint8_t>((n >> 7) & 0x7F),
                                static_cast<uint8_t>(n & 0x7F)};
    std::memcpy(tag.data(), header, sizeof header);
    std::memcpy(tag.data() + 10, frames.data(), frames.size());
    return tag;
}

std::vector<uint8_t> build_id3v1(const TagSet& tags) {
    std::vector<uint8_t> t(128, 0);
    std::memcpy(t.data(), "TAG", 3);
    auto put = [&](size_t off, size_t len, const std::string& s) {
        std::memcpy(t.data() + off, s.data(), std::min(len, s.size()));
    };
    put(3, 30, tags.title);
    put(33, 30, tags.artist);
    put(63, 30, tags.album);
    put(93, 4, tags.year);
    put(97, 28, tags.comment);
    t[126] = static_cast<uint8_t>(std::clamp(tags.track, 0, 255));
    int g = genre_index(tags.genre);
    t[127] = static_cast<uint8_t>(g < 0 ? 255 : g);
    return t;
}

}  // namespace vl
