#include "plugin_runtime.h"

#include <algorithm>
#include <array>
#include <climits>

#include "byte_source.h"
#include "file_ops.h"

namespace vl {

namespace {

int32_t clamp32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

PluginRuntime::PluginRuntime(PluginFormat format, SinkFactory sinks, bool threaded)
    : format_(std::move(format)), engine_(std::move(sinks), threaded) {}

void PluginRuntime::info(DecoderInfo* info) const {
    if (!info) return;
    info->kind = 1;
    info->subkind = 0;
    info->extensions = format_.extensions;
    info->filter_description = format_.filter_description;
    info->display_name = format_.display_name;
}

void PluginRuntime::initializate(int32_t code, int32_t) {
    // Before a new file, and when another plugin takes over, the output must be
    // silent and the file let go.
    if (code == INIT_OPEN || code == INIT_STOP) engine_.stop();
    if (code == INIT_RELEASE) {
        engine_.load(nullptr);
        path_.clear();
        info_kept_ = false;
    }
}

void PluginRuntime::open(const char* path) {
    engine_.load(nullptr);
    path_ = path ? path : "";
    info_kept_ = false;
    if (!path_.empty() && format_.open_source) engine_.load(format_.open_source(path_));
}

int32_t PluginRuntime::setmode(int32_t code, int32_t param) {
    switch (code) {
        case MODE_PLAY:
            return engine_.play() ? 1 : 0;
        case MODE_STOP:
            engine_.stop();
            return 1;
        case MODE_PAUSE:
            engine_.pause();
            return 1;
        case MODE_RESUME:
            engine_.resume();
            return 1;
        case MODE_FORWARD:
            engine_.skip(std::max(param, 0));
            return 1;
        case MODE_REWIND:
            engine_.skip(-static_cast<int64_t>(std::max(param, 0)));
            return 1;
        case MODE_SEEK:
            engine_.seek(param);
            return 1;
        case MODE_VOLUME:
            engine_.set_volume(param);
            return 1;
        case MODE_OPTIONS:
            if (message_box)
                message_box(format_.display_name,
                            std::string(format_.display_name) + "\r\n\r\n" + format_.formats_text);
            return 1;
        default:
            return 0;
    }
}

int32_t PluginRuntime::getmode(int32_t code) {
    switch (code) {
        case QUERY_LENGTH:
            return clamp32(engine_.length());
        case QUERY_POSITION:
            return clamp32(engine_.position());
        case QUERY_STATE:
            return engine_.state();
        default:
            return 0;
    }
}

bool PluginRuntime::describe(const std::string& path, FileInfo* info) {
    if (!info) return false;
    info_kept_ = false;  // its texts are about to go
    texts_.clear();
    FileInfo f = blank_info(texts_);
    bool ok = !path.empty() && format_.describe && format_.describe(path, f, texts_);
    *info = f;
    return ok;
}

bool PluginRuntime::fileinfo(FileInfo* info) {
    if (!info) return false;
    const std::string stamp = path_.empty() ? std::string() : file_stamp(path_);
    if (info_kept_ && !stamp.empty() && stamp == info_stamp_) {
        *info = info_;
        return info_ok_;
    }
    info_ok_ = describe(path_, info);
    info_ = *info;
    info_stamp_ = stamp;
    info_kept_ = true;
    return info_ok_;
}

void PluginRuntime::quickinfo(const char* path, FileInfo* info) {
    describe(path ? path : "", info);
}

bool PluginRuntime::setinfo(const FileInfo& info) {
    info_kept_ = false;
    if (path_.empty() || !format_.write_tags) return false;
    // The player holds the file open: let go of it, rewrite, then pick up
    // again where it was.
    const int state = engine_.state();
    const int64_t position = engine_.position();
    engine_.load(nullptr);
    bool ok = format_.write_tags(path_, tags_from_info(info));
    if (format_.open_source) engine_.load(format_.open_source(path_));
    if (state == STATE_PLAYING || state == STATE_PAUSED) {
        if (engine_.play()) {
            engine_.seek(position);
            if (state == STATE_PAUSED) engine_.pause();
        }
    }
    return ok;
}

bool PluginRuntime::setinfoto(const char* path, const FileInfo& info) {
    if (!path || !*path) return false;
    if (path_ == path) return setinfo(info);
    return format_.write_tags && format_.write_tags(path, tags_from_info(info));
}

void PluginRuntime::channel(int32_t count, int16_t* samples, uint8_t* flag_a, uint8_t* flag_b,
                            uint8_t* flag_c, uint8_t* new_data) {
    bool fresh = engine_.channel(samples, std::clamp(count, 0, 1 << 16));
    if (flag_a) *flag_a = 0;
    if (flag_b) *flag_b = 0;
    if (flag_c) *flag_c = 0;
    if (new_data) *new_data = fresh ? 1 : 0;
}

bool PluginRuntime::writewave(const char* path, const char* wav_path) {
    if (!path || !wav_path || !*path || !*wav_path || !format_.open_source) return false;
    auto source = format_.open_source(path);
    return source && write_wave_file(*source, wav_path);
}

PluginFormat sniffing_format(PluginFormat own, PluginFormat other) {
    struct Pair {
        PluginFormat own, other;
        std::array<const PluginFormat*, 2> order(const std::string& path) const {
            auto marked = [&](const PluginFormat& f) {
                return f.has_signature && f.has_signature(path);
            };
            if (marked(other) && !marked(own)) return {&other, &own};
            return {&own, &other};
        }
    };
    auto pair = std::make_shared<Pair>(Pair{own, std::move(other)});
    PluginFormat f = std::move(own);
    f.open_source = [pair](const std::string& path) -> std::unique_ptr<AudioSource> {
        for (const PluginFormat* p : pair->order(path))
            if (p->open_source)
                if (auto source = p->open_source(path)) return source;
        return nullptr;
    };
    f.describe = [pair](const std::string& path, FileInfo& info, InfoTexts& texts) {
        const FileInfo blank = info;
        for (const PluginFormat* p : pair->order(path)) {
            info = blank;
            if (p->describe && p->describe(path, info, texts)) return true;
        }
        info = blank;
        return false;
    };
    f.write_tags = [pair](const std::string& path, const TagSet& tags) {
        InfoTexts texts;
        for (const PluginFormat* p : pair->order(path)) {
            FileInfo info = blank_info(texts);
            if (p->describe && p->describe(path, info, texts))
                return p->write_tags && p->write_tags(path, tags);
        }
        return false;
    };
    f.has_signature = nullptr;
    return f;
}

bool write_wave_file(AudioSource& source, const std::string& wav_path) {
    const int rate = source.sample_rate();
    if (rate <= 0) return false;
    source.seek(0);
    FileWriter out;
    if (!out.create(wav_path)) return false;
    std::vector<uint8_t> header;
    auto put_id = [&](const char* id) { header.insert(header.end(), id, id + 4); };
    put_id("RIFF");
    put_le32(header, 0);
    put_id("WAVE");
    put_id("fmt ");
    put_le32(header, 16);
    put_le16(header, 1);
    put_le16(header, 2);
    put_le32(header, static_cast<uint32_t>(rate));
    put_le32(header, static_cast<uint32_t>(rate) * 4);
    put_le16(header, 4);
    put_le16(header, 16);
    put_id("data");
    put_le32(header, 0);
    out.write(header);
    std::vector<int16_t> buf(4096 * 2);
    uint64_t bytes = 0;
    std::vector<uint8_t> le(buf.size() * 2);
    while (size_t n = source.read(buf.data(), 4096)) {
        for (size_t i = 0; i < 2 * n; ++i) {
            le[2 * i] = static_cast<uint8_t>(buf[i]);
            le[2 * i + 1] = static_cast<uint8_t>(static_cast<uint16_t>(buf[i]) >> 8);
        }
        out.write(le.data(), 4 * n);
        bytes += 4 * n;
        if (bytes > 0xFFFFFF00u) return false;
    }
    bool ok = out.finish();
    if (!ok) return false;
    // Sizes are patched in place.
    std::FILE* f = std::fopen(wav_path.c_str(), "r+b");
    if (!f) return false;
    std::vector<uint8_t> riff, data;
    put_le32(riff, static_cast<uint32_t>(bytes + 36));
    put_le32(data, static_cast<uint32_t>(bytes));
    ok = std::fseek(f, 4, SEEK_SET) == 0 && std::fwrite(riff.data(), 1, 4, f) == 4 &&
         std::fseek(f, 40, SEEK_SET) == 0 && std::fwrite(data.data(), 1, 4, f) == 4;
    ok = std::fclose(f) == 0 && ok;
    return ok;
}

}  // namespace vl
