// The plugin registry: discovers decoder plugins, maps files to them by
// extension, binds the one that plays, and builds the media filter list.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "plugins/plugin_module.h"
#include "plugins/studio.h"

// Pattern rules, pure functions of the plugin table's texts.
namespace plugin_rules {
// Extension of the file name with its dot, then ";", upper-cased; ";" without extension.
std::string extension_key(const std::string& path);
bool claims(const std::string& active_patterns, const std::string& key);
// The declared list as kept: at most 255 characters, ";" appended below that.
std::string declared_patterns(const std::string& extensions);
}  // namespace plugin_rules

class TDecoder_plugin {
  public:
    TDecoder_plugin(ModuleLoader& loader, MessageBoxes& boxes) : loader_(loader), boxes_(boxes) {}

    std::vector<std::string> FileNames;
    std::vector<std::string> DisplayNames;
    std::vector<std::string> DeclaredPatterns;
    std::vector<std::string> FilterDescriptions;
    std::vector<std::string> ActivePatterns;
    std::string PluginFolder;
    std::string CodecsFolder;
    std::string FilterString;

    int Count() const { return static_cast<int>(FileNames.size()); }

    void ScanPlugins();
    void BuildFilterString();
    // Row indexes whose active patterns claim the file, in table order;
    // plugins broken in this run claim nothing.
    std::vector<int> ClaimingRows(const std::string& path) const;
    // File names of the plugins that faulted in this run.
    const std::set<std::string>& Broken() const { return broken_; }
    // A plugin that failed outside any call: never called again, not even
    // to stop it, and unbound if it is the bound one.
    void Abandon(const std::string& file_name);

    // Playback binding.
    void OpenForPlayback(const std::string& path);
    bool IsBound() const { return bound_ != nullptr; }
    // The bound row (its file name), or "" when nothing is bound.
    const std::string& BoundFileName() const { return bound_name_; }
    int32_t Play();
    int32_t Stop();
    int32_t ShowOptions();
    int32_t SetVolume(int32_t percent);
    // Any _vl_decoder_setmode command; 0 when unbound or the call faults.
    int32_t SetMode(int32_t code, int32_t param);
    int32_t GetState() { return QueryMode(4, 0); }
    int32_t GetLength() { return QueryMode(1, 0); }
    int32_t GetPosition() { return QueryMode(2, 0); }
    // _vl_decoder_getmode, yielding fault_value when unbound or the call faults.
    int32_t QueryMode(int32_t code, int32_t fault_value);
    // False when no plugin is bound or the call faulted.
    bool TrySetMode(int32_t code, int32_t param, int32_t& result);
    bool TryQueryMode(int32_t code, int32_t& result);
    bool TryFileInfo(FileInfoRec& info, bool& answered);
    void GetFileInfo(FileInfoRec& info);
    bool SetFileInfo(const FileInfoRec& tags);
    void GetChannelData(int32_t count, int16_t* samples, uint8_t* flag_a, uint8_t* flag_b,
                        uint8_t* flag_c, uint8_t* new_data);

    // Quick-info binding: any file, without disturbing playback.
    void QuickInfo(const std::string& path, FileInfoRec& info);
    bool SetFileInfoTo(const std::string& path, const FileInfoRec& tags);
    bool IsSupported(const std::string& path) const;

  private:
    std::unique_ptr<PluginModule> load_row(int row, bool probe, const char* fail_text);
    bool check_exports(PluginModule& module, const char* const* names, size_t count);
    template <class Call>
    void for_claiming_quick(const std::string& path, Call call);
    // After a call: a module that faulted is unbound and never used again.
    void check_fault(PluginModule& module, const std::string& name);
    void check_bound();

    ModuleLoader& loader_;
    MessageBoxes& boxes_;
    // Playback modules stay loaded: a later open only rebinds.
    std::vector<std::unique_ptr<PluginModule>> loaded_;
    PluginModule* bound_ = nullptr;
    std::string bound_name_;
    std::set<std::string> broken_;
};

class TQEL_plugin {
  public:
    TQEL_plugin(ModuleLoader& loader, MessageBoxes& boxes) : Decoders(loader, boxes) {}

    TDecoder_plugin Decoders;
    TStudio Studios;
    std::string PluginFolder;
    std::string CodecsFolder;

    void SetPluginFolder(const std::string& folder);
    void SetCodecsFolder(const std::string& folder);
    void ScanPlugins() { Decoders.ScanPlugins(); }
};
