#include "plugins/plug_eng.h"

#include <iterator>

#include "base/paths.h"
#include "base/text.h"
#include "base/ini_file.h"

namespace plugin_rules {

std::string extension_key(const std::string& path) {
    return upper_text(file_ext_of(path)) + ";";
}

bool claims(const std::string& active_patterns, const std::string& key) {
    return upper_text(active_patterns).find(key) != std::string::npos;
}

std::string declared_patterns(const std::string& extensions) {
    std::string s = extensions.substr(0, 255);
    if (s.size() < 255) s += ";";
    return s;
}

}  // namespace plugin_rules

namespace {
constexpr int32_t kInitAttach = 0, kInitRelease = 1, kInitOpen = 2, kInitStop = 3;
constexpr int32_t kModePlay = 1, kModeStop = 2, kModeVolume = 8, kModeOptions = 9;
}  // namespace

void TQEL_plugin::SetPluginFolder(const std::string& folder) {
    PluginFolder = folder;
    Decoders.PluginFolder = folder;
    Studios.StudioFolder = folder;
}

void TQEL_plugin::SetCodecsFolder(const std::string& folder) {
    CodecsFolder = folder;
    Decoders.CodecsFolder = folder;
}

void TDecoder_plugin::ScanPlugins() {
    for (const std::string& name : loader_.find_files(PluginFolder, "vl_*.dll")) {
        loader_.set_current_directory(CodecsFolder);
        const std::string path = PluginFolder + name;
        std::unique_ptr<PluginModule> m = loader_.load(path, true);
        if (!m) {
            boxes_.error("Error initialisation plugin " + path);
            continue;
        }
        if (!m->has_export(vl_export::kInfo)) {
            boxes_.error(std::string("Error initialisation plugin! :-(\r\nInvalid function - ") +
                         vl_export::kInfo);
            continue;
        }
        DecoderInfoRec info;
        if (!m->info(info) || info.subkind != 0 || info.kind != 1) continue;
        FileNames.push_back(name);
        ActivePatterns.push_back("  ");
        DeclaredPatterns.push_back(plugin_rules::declared_patterns(info.extensions));
        DisplayNames.push_back(info.display_name);
        FilterDescriptions.push_back(info.filter_description);
    }

    const std::string ini_path = PluginFolder + "plugins.ini";
    IniFile::Found found = IniFile::Found::missing;
    IniFile ini;
    if (loader_.file_exists(ini_path)) ini = IniFile::load(ini_path, &found);
    if (found == IniFile::Found::read) {
        for (int i = 0; i < Count(); ++i) ActivePatterns[i] = ini.read("Media", FileNames[i]);
    } else {
        ActivePatterns = DeclaredPatterns;  // an unreadable file counts as absent
    }
    BuildFilterString();
}

void TDecoder_plugin::BuildFilterString() {
    std::string all, pairs;
    for (int i = Count() - 1; i >= 0; --i) {
        all += ActivePatterns[i] + ";";
        if (!pairs.empty()) pairs += '\0';
        pairs += FilterDescriptions[i] + '\0' + ActivePatterns[i];
    }
    FilterString = std::string("All supported types") + '\0' + all + '\0' + pairs + '\0';
}

std::vector<int> TDecoder_plugin::ClaimingRows(const std::string& path) const {
    std::vector<int> rows;
    const std::string key = plugin_rules::extension_key(path);
    for (int i = 0; i < Count(); ++i)
        if (plugin_rules::claims(ActivePatterns[i], key) && !broken_.count(FileNames[i]))
            rows.push_back(i);
    return rows;
}

void TDecoder_plugin::check_fault(PluginModule& module, const std::string& name) {
    if (!module.faulted() || !broken_.insert(name).second) return;
    boxes_.error("The plugin " + name +
                 " failed and is not used again until the player is restarted.");
}

void TDecoder_plugin::Abandon(const std::string& file_name) {
    for (const std::string& name : FileNames)
        if (equals_nocase(name, file_name)) broken_.insert(name);
    if (bound_ && equals_nocase(bound_name_, file_name)) {
        bound_ = nullptr;
        bound_name_.clear();
    }
}

void TDecoder_plugin::check_bound() {
    if (!bound_ || !bound_->faulted()) return;
    PluginModule& module = *bound_;
    const std::string name = bound_name_;
    bound_ = nullptr;  // unbound before the message box pumps messages
    bound_name_.clear();
    check_fault(module, name);
}

bool TDecoder_plugin::check_exports(PluginModule& module, const char* const* names, size_t count) {
    bool all = true;
    for (size_t i = 0; i < count; ++i) {
        if (module.has_export(names[i])) continue;
        boxes_.error(std::string("Error initialisation plugin! :-(\r\nInvalid function - ") +
                     names[i]);
        all = false;
    }
    return all;
}

void TDecoder_plugin::OpenForPlayback(const std::string& path) {
    if (path.empty()) return;
    for (int row : ClaimingRows(path)) {
        loader_.set_current_directory(CodecsFolder);
        if (bound_) {
            bound_->initializate(kInitStop, 0);
            bound_->initializate(kInitRelease, 0);
            check_bound();
        }
        std::unique_ptr<PluginModule> m = loader_.load(PluginFolder + FileNames[row], false);
        if (!m) {
            boxes_.error("Error initialisation audioplugin! :-(");
            continue;
        }
        check_exports(*m, vl_export::kPlayback, std::size(vl_export::kPlayback));
        bound_ = m.get();
        bound_name_ = FileNames[row];
        loaded_.push_back(std::move(m));
        // A fault in one of these abandons the rest of this row's binding.
        if (bound_->has_export(vl_export::kPlayback[0])) {
            if (!bound_->initializate(kInitAttach, loader_.app_window()) ||
                !bound_->initializate(kInitOpen, 0)) {
                check_bound();
                continue;
            }
        }
        if (bound_->has_export(vl_export::kPlayback[1])) bound_->open(path);
        check_bound();
    }
}

int32_t TDecoder_plugin::SetMode(int32_t code, int32_t param) {
    int32_t result = 0;
    if (bound_ && !bound_->setmode(code, param, result)) result = 0;
    check_bound();
    return result;
}

int32_t TDecoder_plugin::Play() {
    return SetMode(kModePlay, 0);
}
int32_t TDecoder_plugin::Stop() {
    return SetMode(kModeStop, 0);
}
int32_t TDecoder_plugin::ShowOptions() {
    return SetMode(kModeOptions, 0);
}
int32_t TDecoder_plugin::SetVolume(int32_t percent) {
    return SetMode(kModeVolume, percent < 0 ? 0 : percent > 100 ? 100 : percent);
}

int32_t TDecoder_plugin::QueryMode(int32_t code, int32_t fault_value) {
    int32_t result = fault_value;
    const bool ok = bound_ && bound_->getmode(code, result);
    check_bound();
    return ok ? result : fault_value;
}

bool TDecoder_plugin::TrySetMode(int32_t code, int32_t param, int32_t& result) {
    const bool ok = bound_ && bound_->setmode(code, param, result);
    check_bound();
    return ok;
}

bool TDecoder_plugin::TryQueryMode(int32_t code, int32_t& result) {
    const bool ok = bound_ && bound_->getmode(code, result);
    check_bound();
    return ok;
}

bool TDecoder_plugin::TryFileInfo(FileInfoRec& info, bool& answered) {
    answered = false;
    if (!bound_) return false;
    FileInfoRec got;
    const bool ok = bound_->fileinfo(got, answered);
    check_bound();
    if (!ok) return false;
    if (answered) info = got;
    return true;
}

void TDecoder_plugin::GetFileInfo(FileInfoRec& info) {
    if (!bound_) return;
    FileInfoRec got;
    bool answered = false;
    if (bound_->fileinfo(got, answered) && answered) info = got;
    check_bound();
}

bool TDecoder_plugin::SetFileInfo(const FileInfoRec& tags) {
    bool result = false;
    const bool ok = bound_ && bound_->setinfo(tags, result);
    check_bound();
    return ok && result;
}

void TDecoder_plugin::GetChannelData(int32_t count, int16_t* samples, uint8_t* flag_a,
                                     uint8_t* flag_b, uint8_t* flag_c, uint8_t* new_data) {
    if (bound_ && !bound_->channel(count, samples, flag_a, flag_b, flag_c, new_data) && new_data)
        *new_data = 0;
    check_bound();
}

template <class Call>
void TDecoder_plugin::for_claiming_quick(const std::string& path, Call call) {
    if (!loader_.file_exists(path) || file_ext_of(path).empty()) return;
    for (int row : ClaimingRows(path)) {
        loader_.set_current_directory(CodecsFolder);
        const std::string dll = PluginFolder + FileNames[row];
        std::unique_ptr<PluginModule> m = loader_.load(dll, false);
        if (!m) {
            boxes_.error("Error initialisation plugin " + dll);
            continue;
        }
        check_exports(*m, vl_export::kQuickInfo, std::size(vl_export::kQuickInfo));
        call(*m);
        check_fault(*m, FileNames[row]);
    }
}

void TDecoder_plugin::QuickInfo(const std::string& path, FileInfoRec& info) {
    if (!loader_.file_exists(path)) return;
    info = FileInfoRec{};
    for_claiming_quick(path, [&](PluginModule& m) {
        if (m.has_export(vl_export::kQuickInfo[0])) m.quickinfo(path, info);
    });
}

bool TDecoder_plugin::SetFileInfoTo(const std::string& path, const FileInfoRec& tags) {
    bool result = false;
    for_claiming_quick(path, [&](PluginModule& m) {
        bool answer = false;
        if (m.has_export(vl_export::kQuickInfo[1]) && m.setinfoto(path, tags, answer))
            result = answer;
        else
            result = false;
    });
    return result;
}

bool TDecoder_plugin::IsSupported(const std::string& path) const {
    if (file_ext_of(path).empty()) return false;
    std::string joined;
    for (const std::string& d : DeclaredPatterns) joined += d + "\r\n";
    return upper_text(joined).find(plugin_rules::extension_key(path)) != std::string::npos;
}
