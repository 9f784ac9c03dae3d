// Files, plugins and playback for the playlist fuzz targets: deterministic,
// so a saved input replays the same way. A path exists when its length is
// odd; MP3 and WAV files are supported.
#pragma once

#include <cstdio>
#include <string>
#include <unistd.h>

#include "base/paths.h"
#include "base/text.h"
#include "playlist/playlist_model.h"

class FuzzHost : public PlaylistHost {
  public:
    bool file_exists(const std::string& p) override { return p.size() % 2 == 1; }
    bool IsSupported(const std::string& p) override {
        const std::string ext = upper_text(file_ext_of(p));
        return ext == ".MP3" || ext == ".WAV";
    }
    void QuickInfo(const std::string& p, FileInfoRec& info) override {
        // Long tag texts and any durations reach the record cuts.
        info.artist = p;
        info.album = p + p;
        info.year = p;
        info.duration = static_cast<int32_t>(p.size() * 2654435761u);
        info.track = -static_cast<int32_t>(p.size());
    }
    std::string active_patterns() override { return "*.MP3;*.WAV;"; }
    std::vector<DirEntry> list_dir(const std::string&) override { return {}; }
    void error_box(const std::string&) override {}
};

class FuzzPlayback : public PlaylistPlayback {
  public:
    void loadfile(const std::string&) override {}
    void playfile() override {}
    int32_t decoder_state() override { return 0; }
    void stop_decoder() override {}
    void set_started_from_playlist(bool) override {}
};

// A file of this process under the temporary folder, removed at exit.
struct FuzzTempFile {
    explicit FuzzTempFile(const char* name)
        : path("/tmp/vl_fuzz_" + std::to_string(getpid()) + "_" + name) {}
    ~FuzzTempFile() { std::remove(path.c_str()); }
    const std::string path;
};

// Plays and edits through the rows as a user would: every row is played,
// entered, asked for file information and sorted by each column.
inline void walk_rows(PlaylistModel& model) {
    for (int row = 0; row < model.count() && row < 64; ++row) {
        model.select(row, true);
        model.ListView_classicKeyDown(PlaylistModel::kKeyEnter, false);
        model.ListView_classicKeyDown(PlaylistModel::kKeyI, true);
        model.nextplay();
        model.backplay();
    }
    for (int tag = 0; tag < 6; ++tag) model.srt_menu_nameClick(tag);
    model.tray_items();
}
