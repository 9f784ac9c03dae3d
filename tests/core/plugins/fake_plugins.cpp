#include "fake_plugins.h"

#include "base/paths.h"

namespace {

class FakeModule : public PluginModule {
  public:
    FakeModule(FakeLoader& l, std::string name) : l_(l), name_(std::move(name)) {}
    FakeDll& dll() { return l_.dlls[name_]; }

    bool has_export(const char* n) override { return !dll().missing.count(n); }
    bool faulted() const override { return faulted_; }
    bool call(const std::string& fn, const std::string& args) {
        if (dll().missing.count("_vl_decoder_" + fn)) return false;
        l_.journal.push_back(name_ + " " + fn + (args.empty() ? "" : " " + args));
        if (dll().faulting.count("_vl_decoder_" + fn)) faulted_ = true;
        return !dll().faulting.count("_vl_decoder_" + fn);
    }
    bool info(DecoderInfoRec& out) override {
        if (!call("info", "")) return false;
        out = dll().info;
        return true;
    }
    bool initializate(int32_t code, int32_t param) override {
        return call("initializate", std::to_string(code) + " " + std::to_string(param));
    }
    bool open(const std::string& path) override { return call("open", path); }
    bool setmode(int32_t code, int32_t param, int32_t& result) override {
        if (!call("setmode", std::to_string(code) + " " + std::to_string(param))) return false;
        result = code == 1 ? dll().play_result : 1;
        return true;
    }
    bool getmode(int32_t code, int32_t& result) override {
        if (!call("getmode", std::to_string(code))) return false;
        result = code == 4 ? dll().state : 1000;
        return true;
    }
    bool fileinfo(FileInfoRec& out, bool& answered) override {
        if (!call("fileinfo", "")) return false;
        answered = dll().fileinfo_answer;
        if (answered) out = dll().fileinfo;
        return true;
    }
    bool setinfo(const FileInfoRec& tags, bool& result) override {
        result = call("setinfo", tags.title);
        return result;
    }
    bool channel(int32_t, int16_t*, uint8_t*, uint8_t*, uint8_t*, uint8_t* new_data) override {
        if (!call("channel", "")) return false;
        *new_data = 1;
        return true;
    }
    bool quickinfo(const std::string& path, FileInfoRec& out) override {
        if (!call("quickinfo", path)) return false;
        out = dll().fileinfo;
        return true;
    }
    bool setinfoto(const std::string& path, const FileInfoRec& tags, bool& result) override {
        if (!call("setinfoto", path + " " + tags.title)) return false;
        result = true;
        return true;
    }

  private:
    FakeLoader& l_;
    std::string name_;
    bool faulted_ = false;
};

}  // namespace

std::unique_ptr<PluginModule> FakeLoader::load(const std::string& full_path, bool probe) {
    const std::string name = file_name_of(full_path);
    journal.push_back("load " + name + (probe ? " probe" : ""));
    ++loads;
    auto it = dlls.find(name);
    if (it == dlls.end() || !it->second.loadable) return nullptr;
    return std::make_unique<FakeModule>(*this, name);
}
