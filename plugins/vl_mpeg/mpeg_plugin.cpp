#include "mpeg_plugin.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "file_ops.h"

namespace vl {

namespace {

constexpr int64_t kMaxTagBytes = 16 << 20;

const char* mode_text(int mode) {
    static const char* names[] = {"Stereo", "Joint stereo", "Dual channel", "Mono"};
    return names[mode & 3];
}

std::string ext_mode_text(const MpegHeader& h) {
    if (h.mode != 1) return "None";
    if (h.layer == 3) {
        static const char* names[] = {"Off", "Intensity stereo", "MS stereo",
                                      "Intensity and MS stereo"};
        return names[h.mode_ext];
    }
    static const char* bands[] = {"Bands 4-31", "Bands 8-31", "Bands 12-31", "Bands 16-31"};
    return bands[h.mode_ext];
}

const char* emphasis_text(int e) {
    static const char* names[] = {"None", "50/15 ms", "Reserved", "CCITT J.17"};
    return names[e & 3];
}

std::string version_text(int v) {
    return v == 10 ? "MPEG-1" : v == 20 ? "MPEG-2" : "MPEG-2.5";
}

}  // namespace

MpegTags read_mpeg_tags(ByteSource& src) {
    MpegTags t;
    uint8_t head[10];
    if (src.read_at(0, head, 10) == 10) t.v2_size = id3v2_tag_size(head, 10);
    if (t.v2_size > 0) {
        std::vector<uint8_t> tag(
            static_cast<size_t>(std::min({t.v2_size, kMaxTagBytes, src.size()})));
        tag.resize(src.read_at(0, tag.data(), tag.size()));
        t.v2 = parse_id3v2(tag.data(), tag.size());
    }
    if (src.size() >= 128) {
        uint8_t v1[128];
        if (src.read_at(src.size() - 128, v1, 128) == 128) t.has_v1 = parse_id3v1(v1, 128, t.v1);
    }
    return t;
}

int64_t mpeg_total_samples(const MpegStream& s, int64_t frame_count) {
    int64_t total = frame_count * s.first.samples;
    if (s.vbr.encoder_delay > 0 && s.vbr.encoder_padding >= 0 &&
        s.vbr.kind != VbrHeader::Kind::Vbri) {
        int64_t trimmed = total - s.vbr.encoder_delay - s.vbr.encoder_padding;
        if (trimmed > 0) total = trimmed;
    }
    return total;
}

bool describe_mpeg(const std::string& path, FileInfo& info, InfoTexts& texts) {
    FileSource file;
    if (!file.open(path)) return false;
    info.file_size = static_cast<int32_t>(std::min<int64_t>(file.size(), 0x7FFFFFFF));
    MpegTags tags = read_mpeg_tags(file);
    texts.put_tags(info, tags.merged());
    MpegStream s = scan_mpeg(file, false);
    if (!s.ok) return tags.v2.present || tags.has_v1;
    const MpegHeader& h = s.first;
    // Length from the VBR header when there is one; otherwise the frames are
    // counted.
    int64_t frames = s.vbr.frames;
    int64_t bytes = s.vbr.bytes;
    if (frames <= 0) {
        s = scan_mpeg(file, true);
        frames = static_cast<int64_t>(s.frames.size());
        bytes = s.frame_bytes;
    } else if (bytes <= 0) {
        bytes = s.audio_end - s.first_frame;
    }
    const int64_t samples = mpeg_total_samples(s, frames);
    const double seconds = static_cast<double>(samples) / h.rate;
    info.duration = static_cast<int32_t>(samples / h.rate);
    info.sample_rate = h.rate;
    info.bitrate = seconds > 0 ? static_cast<int32_t>(bytes * 8 / seconds / 1000 + 0.5) : h.bitrate;
    info.frames = static_cast<int32_t>(std::min<int64_t>(frames, 0x7FFFFFFF));
    info.frame_size = frames > 0 ? static_cast<int32_t>(bytes / frames) : h.frame_size;
    if (s.vbr.kind == VbrHeader::Kind::Info ||
        (s.vbr.kind == VbrHeader::Kind::None && !s.variable_bitrate)) {
        // Constant bit rate: the header's values are exact.
        info.bitrate = h.bitrate;
        info.frame_size = h.frame_size - (h.padding ? 1 : 0);
    }
    info.channels = h.channels();
    info.channel_mode = texts.keep(mode_text(h.mode));
    info.ext_channel_mode = texts.keep(ext_mode_text(h));
    info.format = texts.keep(version_text(h.version) + " Layer " +
                             (h.layer == 3   ? "III"
                              : h.layer == 2 ? "II"
                                             : "I"));
    info.copyright_flag = h.copyright;
    info.original_flag = h.original;
    info.crc = h.crc;
    info.private_bit = h.private_bit;
    info.emphasis = texts.keep(emphasis_text(h.emphasis));
    info.padding_flag = h.padding;
    info.padding_size = h.layer == 1 ? 4 : 1;
    return true;
}

bool write_mpeg_with_tags(ByteSource& src, const TagSet& tags, FileWriter& out) {
    MpegTags old = read_mpeg_tags(src);
    // A leading tag that claims more than the file holds hides where the
    // audio starts: refuse rather than guess.
    if (old.v2_size > src.size()) return false;
    int64_t start = 0;
    uint8_t head[10];
    while (src.read_at(start, head, 10) == 10) {
        int64_t n = id3v2_tag_size(head, 10);
        if (n == 0 || start + n > src.size()) break;
        start += n;
    }
    const int64_t end = src.size() - (old.has_v1 ? 128 : 0);
    if (end < start) return false;
    out.write(build_id3v2_3(tags, old.v2.other_frames));
    if (!out.copy_from(src, start, end - start)) return false;
    out.write(build_id3v1(tags));
    return out.ok();
}

bool write_mpeg_tags(const std::string& path, const TagSet& tags) {
    FileSource src;
    if (!src.open(path)) return false;
    if (!scan_mpeg(src, false).ok) return false;  // not audio we understand
    return replace_file_safely(path, [&](const std::string& temp) {
        FileWriter out;
        if (!out.create(temp)) return false;
        bool written = write_mpeg_with_tags(src, tags, out);
        bool closed = out.finish();
        src.close();
        return written && closed;
    });
}

bool has_mpeg_signature(const std::string& path) {
    FileSource file;
    uint8_t h[4];
    MpegHeader header;
    return file.open(path) && file.read_at(0, h, 4) == 4 &&
           (std::memcmp(h, "ID3", 3) == 0 || parse_mpeg_header(h, header));
}

PluginFormat mpeg_plugin_format(SourceOpener opener) {
    PluginFormat format;
    format.extensions = "*.mp3;";
    format.filter_description = "MPEG audio Layer III (*.mp3)";
    format.display_name = "VELTRona MPEG audio decoder";
    format.formats_text =
        "MPEG-1, MPEG-2 and MPEG-2.5 audio Layer III, decoded by the system's ACM codec.\r\n"
        "Tags: ID3v2.2, 2.3, 2.4 and ID3v1 read; ID3v2.3 and ID3v1 written.\r\n"
        "A WAVE file named .mp3 plays as WAVE.";
    format.open_source = std::move(opener);
    format.describe = describe_mpeg;
    format.write_tags = write_mpeg_tags;
    format.has_signature = has_mpeg_signature;
    return format;
}

}  // namespace vl
