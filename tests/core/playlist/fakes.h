// Fake files, plugins and playback for the playlist model.
#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/paths.h"
#include "base/text.h"
#include "playlist/playlist_model.h"

class FakeHost : public PlaylistHost {
  public:
    std::set<std::string> files;
    std::string patterns = "*.MP3;*.WAV;";
    std::map<std::string, FileInfoRec> infos;
    std::map<std::string, std::vector<DirEntry>> dirs;  // by pattern
    std::vector<std::string> boxes;

    bool file_exists(const std::string& p) override { return files.count(p) > 0; }
    bool IsSupported(const std::string& p) override {
        return !p.empty() &&
               upper_text(patterns).find(upper_text(file_ext_of(p)) + ";") != std::string::npos &&
               !file_ext_of(p).empty();
    }
    void QuickInfo(const std::string& p, FileInfoRec& info) override {
        auto it = infos.find(p);
        if (it != infos.end()) info = it->second;
    }
    std::string active_patterns() override { return patterns; }
    std::vector<DirEntry> list_dir(const std::string& pattern) override { return dirs[pattern]; }
    void error_box(const std::string& text) override { boxes.push_back(text); }
};

class FakePlayback : public PlaylistPlayback {
  public:
    std::vector<std::string> journal;
    std::vector<int32_t> states;  // answers to decoder_state, then 4
    bool started = false;

    void loadfile(const std::string& p) override { journal.push_back("load " + p); }
    void playfile() override { journal.push_back("play"); }
    int32_t decoder_state() override {
        if (states.empty()) return 4;
        int32_t s = states.front();
        states.erase(states.begin());
        return s;
    }
    void stop_decoder() override { journal.push_back("stop"); }
    void set_started_from_playlist(bool on) override { started = on; }
};

// A fresh folder under the system temporary folder, removed afterwards.
class TempDir {
  public:
    TempDir() {
        path_ = std::filesystem::temp_directory_path() /
                ("vl_pl_" + std::to_string(reinterpret_cast<uintptr_t>(this)) + "_" +
                 std::to_string(counter_++));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    std::string folder() const { return path_.string() + "/"; }

  private:
    static inline int counter_ = 0;
    std::filesystem::path path_;
};
