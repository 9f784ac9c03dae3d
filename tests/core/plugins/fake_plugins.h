// In-memory plugins for registry tests: each fake DLL records its calls in a
// shared journal, like the test plugin DLL does under Wine.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "plugins/plugin_module.h"

struct FakeDll {
    DecoderInfoRec info{1, 0, "*.mp3", "MP3 files", "Fake"};
    std::set<std::string> missing;   // exports it lacks
    std::set<std::string> faulting;  // exports whose call faults
    bool loadable = true;
    int32_t play_result = 1;
    bool fileinfo_answer = true;
    FileInfoRec fileinfo;
    int32_t state = 0;
};

class FakeLoader : public ModuleLoader, public MessageBoxes {
  public:
    std::map<std::string, FakeDll> dlls;  // by file name, listed in this order
    std::vector<std::string> order;       // file-system order of find_files
    std::set<std::string> files;          // other existing files (full paths)
    std::vector<std::string> journal;
    std::vector<std::string> boxes;
    std::string current_dir;
    int loads = 0;

    FakeDll& add(const std::string& name) {
        order.push_back(name);
        return dlls[name];
    }

    std::unique_ptr<PluginModule> load(const std::string& full_path, bool probe) override;
    void set_current_directory(const std::string& folder) override {
        current_dir = folder;
        journal.push_back("cd " + folder);
    }
    std::vector<std::string> find_files(const std::string&, const std::string&) override {
        return order;
    }
    bool file_exists(const std::string& path) override { return files.count(path) > 0; }
    int32_t app_window() override { return 77; }
    void error(const std::string& text) override { boxes.push_back(text); }
};
