// The playlist model: loading a VL2 list of 100 000 records, sorting them by
// name, and importing a 10 000-entry extended M3U.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>

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
    write_file_replacing(path, data);
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

void BM_SortByName100k(benchmark::State& state) {
    const std::string path = make_list(100000);
    AllThere host;
    PlaylistModel model(host, host);
    model.LoadListFile(path, nullptr, true, 0);
    int tag = 0;
    for (auto _ : state) {
        model.srt_menu_nameClick(tag);  // name, then track: never an already sorted view
        tag = 1 - tag;
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_SortByName100k)->Unit(benchmark::kMillisecond);

void BM_ImportM3U10k(benchmark::State& state) {
    std::string text = "#EXTM3U\r\n";
    for (int i = 0; i < 10000; ++i)
        text += "#EXTINF:" + std::to_string(180 + i % 100) + ",Artist " + std::to_string(i % 50) +
                " - Title " + std::to_string(i) + "\r\nC:\\Music\\track " + std::to_string(i) +
                ".mp3\r\n";
    AllThere host;
    const std::string folder = (std::filesystem::temp_directory_path() / "").string();
    for (auto _ : state) {
        state.PauseTiming();
        PlaylistModel model(host, host);  // every entry is new to it
        // An empty list of our own: with every file "there", new_list()
        // would never find a free name.
        model.current_file = folder + "vl_bench_import.vl2";
        std::ofstream(model.current_file, std::ios::binary | std::ios::trunc);
        std::istringstream in(text);
        state.ResumeTiming();
        model.ImportM3UText("C:\\Music\\list.m3u", in);
        benchmark::DoNotOptimize(model.count());
        state.PauseTiming();
        std::filesystem::remove(model.current_file);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ImportM3U10k)->Unit(benchmark::kMillisecond);

}  // namespace
