#include "wave_plugin.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "file_ops.h"
#include "riff_wave.h"

namespace vl {

namespace {

class WaveSource : public AudioSource {
  public:
    bool open(const std::string& path) {
        if (!file_.open(path)) return false;
        wave_ = parse_wave(file_);
        return wave_.ok;
    }
    int sample_rate() const override { return wave_.fmt.rate; }
    int64_t length() const override { return wave_.frames(); }
    int64_t seek(int64_t frame) override {
        next_ = std::clamp<int64_t>(frame, 0, length());
        return next_;
    }
    size_t read(int16_t* stereo, size_t max_frames) override {
        const int64_t left = length() - next_;
        size_t n = static_cast<size_t>(std::min<int64_t>(left, static_cast<int64_t>(max_frames)));
        if (n == 0) return 0;
        const size_t align = static_cast<size_t>(wave_.fmt.block_align);
        raw_.resize(n * align);
        size_t got = file_.read_at(wave_.data_offset + next_ * wave_.fmt.block_align, raw_.data(),
                                   raw_.size());
        n = got / align;  // a file that shrank under us ends here
        convert_to_stereo16(raw_.data(), n, wave_.fmt, stereo);
        next_ += static_cast<int64_t>(n);
        return n;
    }

  private:
    FileSource file_;
    WaveFile wave_;
    int64_t next_ = 0;
    std::vector<uint8_t> raw_;
};

}  // namespace

std::unique_ptr<AudioSource> open_wave_source(const std::string& path) {
    auto source = std::make_unique<WaveSource>();
    if (!source->open(path)) return nullptr;
    return source;
}

bool describe_wave(const std::string& path, FileInfo& info, InfoTexts& texts) {
    FileSource file;
    if (!file.open(path)) return false;
    info.file_size = static_cast<int32_t>(std::min<int64_t>(file.size(), 0x7FFFFFFF));
    WaveFile w = parse_wave(file);
    if (!w.ok) return false;
    const WaveFormat& f = w.fmt;
    info.duration = static_cast<int32_t>(w.frames() / f.rate);
    info.sample_rate = f.rate;
    info.bitrate = static_cast<int32_t>(static_cast<int64_t>(f.rate) * f.bits * f.channels / 1000);
    info.frames = static_cast<int32_t>(std::min<int64_t>(w.frames(), 0x7FFFFFFF));
    info.frame_size = f.block_align;
    info.bits_per_sample = f.valid_bits;
    info.channels = f.channels;
    info.channel_mode = texts.keep(f.channels == 1   ? "Mono"
                                   : f.channels == 2 ? "Stereo"
                                                     : std::to_string(f.channels) + " channels");
    info.format = texts.keep(describe_wave_format(f));
    texts.put_tags(info, w.tags);
    return true;
}

bool write_wave_tags(const std::string& path, const TagSet& tags) {
    FileSource src;
    if (!src.open(path)) return false;
    WaveFile wave = parse_wave(src);
    if (!wave.ok) return false;
    bool ok = replace_file_safely(path, [&](const std::string& temp) {
        FileWriter out;
        if (!out.create(temp)) return false;
        bool written = write_wave_with_tags(src, wave, tags, out);
        bool closed = out.finish();
        src.close();  // the original is replaced next
        return written && closed;
    });
    return ok;
}

bool has_wave_signature(const std::string& path) {
    FileSource file;
    uint8_t h[12];
    return file.open(path) && file.read_at(0, h, 12) == 12 && std::memcmp(h, "RIFF", 4) == 0 &&
           std::memcmp(h + 8, "WAVE", 4) == 0;
}

PluginFormat wave_plugin_format() {
    PluginFormat format;
    format.extensions = "*.wav;*.wave;";
    format.filter_description = "WAVE audio (*.wav)";
    format.display_name = "VELTRona WAVE decoder";
    format.formats_text =
        "RIFF WAVE: PCM 8, 16, 24 and 32 bit, IEEE float 32 and 64 bit, mu-law and A-law, "
        "WAVE_FORMAT_EXTENSIBLE, 1 to 8 channels.\r\nTags: LIST/INFO.\r\n"
        "An MP3 file named .wav plays as MP3.";
    format.open_source = open_wave_source;
    format.describe = describe_wave;
    format.write_tags = write_wave_tags;
    format.has_signature = has_wave_signature;
    return format;
}

}  // namespace vl
