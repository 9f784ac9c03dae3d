#include "plugins/plugin_module_win32.h"

#include <optional>

#include "plugins/plugin_guard.h"
#include "plugins/vl_decoder.h"
#include "win/files.h"
#include "win/last_chance.h"

namespace {

std::string text_of(const char* s) {
    return s ? std::string(s) : std::string();
}

FileInfoRec copy_info(const FileInfo& f) {
    FileInfoRec r;
    r.file_size = f.file_size;
    r.duration = f.duration;
    r.sample_rate = f.sample_rate;
    r.bitrate = f.bitrate;
    r.frames = f.frames;
    r.frame_size = f.frame_size;
    r.bits_per_sample = f.bits_per_sample;
    r.channels = f.channels;
    r.channel_mode = text_of(f.channel_mode);
    r.ext_channel_mode = text_of(f.ext_channel_mode);
    r.format = text_of(f.format);
    r.copyright_flag = f.copyright_flag;
    r.original_flag = f.original_flag;
    r.crc = f.crc;
    r.private_bit = f.private_bit;
    r.emphasis = text_of(f.emphasis);
    r.padding_flag = f.padding_flag;
    r.padding_size = f.padding_size;
    r.title = text_of(f.title);
    r.artist = text_of(f.artist);
    r.album = text_of(f.album);
    r.track = f.track;
    r.comment = text_of(f.comment);
    r.year = text_of(f.year);
    r.genre = text_of(f.genre);
    return r;
}

// The host fills only the seven tag fields; the strings point into tags.
FileInfo tag_record(const FileInfoRec& tags) {
    FileInfo f{};
    f.title = tags.title.c_str();
    f.artist = tags.artist.c_str();
    f.album = tags.album.c_str();
    f.track = tags.track;
    f.comment = tags.comment.c_str();
    f.year = tags.year.c_str();
    f.genre = tags.genre.c_str();
    return f;
}

class Win32PluginModule : public PluginModule {
  public:
    Win32PluginModule(HMODULE h, bool probe, std::string name)
        : h_(h), probe_(probe), name_(std::move(name)) {}
    ~Win32PluginModule() override {
        if (probe_) guarded([&] { FreeLibrary(h_); });
    }

    bool has_export(const char* name) override { return proc(name) != nullptr; }
    bool faulted() const override { return faulted_; }

    bool info(DecoderInfoRec& out) override {
        auto fn = proc<vl_decoder_info_fn>("_vl_decoder_info");
        if (!fn) return false;
        return call([&] {
            DecoderInfo d{};
            fn(&d);
            out.kind = d.kind;
            out.subkind = d.subkind;
            out.extensions = text_of(d.extensions);
            out.filter_description = text_of(d.filter_description);
            out.display_name = text_of(d.display_name);
        });
    }

    bool initializate(int32_t code, int32_t param) override {
        auto fn = proc<vl_decoder_initializate_fn>("_vl_decoder_initializate");
        if (!fn) return false;
        if (code != INIT_STOP && code != INIT_RELEASE) return call([&] { fn(code, param); });
        last_chance::Watch watch(name_.c_str());
        return call([&] { fn(code, param); });
    }

    bool open(const std::string& path) override {
        auto fn = proc<vl_decoder_open_fn>("_vl_decoder_open");
        return fn && call([&] { fn(path.c_str()); });
    }

    bool setmode(int32_t code, int32_t param, int32_t& result) override {
        auto fn = proc<vl_decoder_setmode_fn>("_vl_decoder_setmode");
        int32_t r = 0;
        if (!fn) return false;
        // Stopping is what closing waits for: a plugin that never returns is watched.
        std::optional<last_chance::Watch> watch;
        if (code == MODE_STOP) watch.emplace(name_.c_str());
        if (!call([&] { r = fn(code, param); })) return false;
        result = r;
        return true;
    }

    bool getmode(int32_t code, int32_t& result) override {
        auto fn = proc<vl_decoder_getmode_fn>("_vl_decoder_getmode");
        int32_t r = 0;
        if (!fn || !call([&] { r = fn(code); })) return false;
        result = r;
        return true;
    }

    bool fileinfo(FileInfoRec& out, bool& answered) override {
        auto fn = proc<vl_decoder_fileinfo_fn>("_vl_decoder_fileinfo");
        if (!fn) return false;
        return call([&] {
            FileInfo f{};
            answered = (fn(&f) & 0xFF) != 0;
            if (answered) out = copy_info(f);
        });
    }

    bool setinfo(const FileInfoRec& tags, bool& result) override {
        auto fn = proc<vl_decoder_setinfo_fn>("_vl_decoder_setinfo");
        if (!fn) return false;
        FileInfo f = tag_record(tags);
        return call([&] { result = (fn(f) & 0xFF) != 0; });
    }

    bool channel(int32_t count, int16_t* samples, uint8_t* flag_a, uint8_t* flag_b, uint8_t* flag_c,
                 uint8_t* new_data) override {
        auto fn = proc<vl_decoder_channel_fn>("_vl_decoder_channel");
        return fn && call([&] { fn(count, samples, flag_a, flag_b, flag_c, new_data); });
    }

    bool quickinfo(const std::string& path, FileInfoRec& out) override {
        auto fn = proc<vl_decoder_quickinfo_fn>("_vl_decoder_quickinfo");
        if (!fn) return false;
        return call([&] {
            FileInfo f{};
            fn(path.c_str(), &f);
            out = copy_info(f);
        });
    }

    bool setinfoto(const std::string& path, const FileInfoRec& tags, bool& result) override {
        auto fn = proc<vl_decoder_setinfoto_fn>("_vl_decoder_setinfoto");
        if (!fn) return false;
        FileInfo f = tag_record(tags);
        return call([&] { result = (fn(path.c_str(), f) & 0xFF) != 0; });
    }

  private:
    // A broken module is never entered again.
    template <class F>
    bool call(F&& f) {
        if (faulted_) return false;
        if (!guarded(std::forward<F>(f))) faulted_ = true;
        return !faulted_;
    }

    template <class Fn = void*>
    Fn proc(const char* name) {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(h_, name)));
    }

    HMODULE h_;
    bool probe_;
    std::string name_;
    bool faulted_ = false;
};

}  // namespace

std::unique_ptr<PluginModule> Win32ModuleLoader::load(const std::string& full_path, bool probe) {
    HMODULE h = nullptr;
    // DllMain runs inside LoadLibrary: a fault there is contained as well.
    if (!guarded([&] { h = LoadLibraryA(full_path.c_str()); }) || !h) return nullptr;
    const size_t slash = full_path.find_last_of("\\/");
    return std::make_unique<Win32PluginModule>(
        h, probe, slash == std::string::npos ? full_path : full_path.substr(slash + 1));
}

void Win32ModuleLoader::set_current_directory(const std::string& folder) {
    SetCurrentDirectoryA(folder.c_str());
}

std::vector<std::string> Win32ModuleLoader::find_files(const std::string& folder,
                                                       const std::string& mask) {
    return find_file_names(folder + mask);
}

bool Win32ModuleLoader::file_exists(const std::string& path) {
    return FileExists(path);
}

int32_t Win32ModuleLoader::app_window() {
    return static_cast<int32_t>(reinterpret_cast<intptr_t>(app_window_));
}

void Win32MessageBoxes::error(const std::string& text) {
    MessageBoxA(nullptr, text.c_str(), "Error", MB_OK | MB_ICONERROR | MB_TASKMODAL);
}
