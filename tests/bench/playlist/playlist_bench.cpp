// Loading a VL2 list of 100 000 records into the playlist model.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "playlist/list_files.h"
#include "playlist/playlist_model.h"

namespace {

class AllThere : public PlaylistHost, public PlaylistPlayback {
  public:
    bool file_exists(const std::string&) override { return true; }
    bool IsSupported(const std::string&) override { return true; }
    void QuickInfo(const std::string&, FileInfoRec&) override {}
    std::string active_patterns() override { return "*.MP3;"; }
    std::vector<DirEntry> list_dir(const std::string&) override { return {}; }
    void error_box(const std::string&) override {}
    void loadfile(const std::string&) override {}
    void playfile() override {}
    int32_t decoder_state() override { return 0; }
    void stop_decoder() override {}
    void set_started_from_playlist(bool) override {}
};

std::string make_list(int records) {
    const std::string path =
        (std::filesystem::temp_directory_path() / "vl_bench_100k.vl2").string();
    std::string data;
    for (int i = 0; i < records; ++i) {
        ListRecord r;
        r.path = "C:\\Music\\Artist " + std::to_string(i % 500) + "\\track " + std::to_string(i) +
                 ".mp3";
        r.artist = "Artist " + std::to_string(i % 500);
        r.title = "Title number " + std::to_string(i);
        r.album = "Album";
        r.year = "1999";
        r.format = "MPEG 1 Layer 3";
        r.duration = 180 + i % 100;
        r.volume = 100;
        const RecordBytes b = vl2::pack(r);
        data.append(reinterpret_cast<const char*>(b.data()), b.size());
    }
    ReplaceFileSafely(path, data);
    return path;
}

void BM_LoadListFile100k(benchmark::State& state) {
    const std::string path = make_list(100000);
    AllThere host;
    PlaylistModel model(host, host);
    for (auto _ : state) {
        model.LoadListFile(path, nullptr, true, 0);
        benchmark::DoNotOptimize(model.count());
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadListFile100k)->Unit(benchmark::kMillisecond);

}  // namespace
