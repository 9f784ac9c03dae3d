// Exporting lists of 10 000 and 100 000 entries through an HTML template with
// a header, a two-line block and a footer; the per-line expander that re-reads
// the whole list is measured at 1 000 entries for comparison.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "app/info_macros.h"
#include "playlist/list_files.h"
#include "playlist/list_template.h"

namespace {

const std::string kTemplate =
    "htm\r\n<html><body><h1>%LN</h1><p>%SC tracks, %ST</p><ol>\r\n<{\r\n"
    "<li>%AR - %TL (%DR)\r\n<br>%FP</li>\r\n}>\r\n</ol></body></html>\r\n";

std::string temp(const std::string& name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

struct Fixture {
    std::string list = temp("vl_export_bench.vl2");
    std::string tpl = temp("vl_export_bench.tpl");
    std::vector<int32_t> view;

    explicit Fixture(int entries) {
        std::string data;
        for (int i = 0; i < entries; ++i) {
            ListRecord r;
            r.path = "C:\\Music\\Artist " + std::to_string(i % 500) + "\\track " +
                     std::to_string(i) + ".mp3";
            r.artist = "Artist " + std::to_string(i % 500);
            r.title = "Title number " + std::to_string(i);
            r.duration = 180 + i % 100;
            const RecordBytes b = vl2::pack(r);
            data.append(reinterpret_cast<const char*>(b.data()), b.size());
            view.push_back(entries - i);  // view order reversed
        }
        write_file_replacing(list, data);
        std::ofstream(tpl, std::ios::binary) << kTemplate;
    }
    ~Fixture() {
        std::filesystem::remove(list);
        std::filesystem::remove(tpl);
        std::filesystem::remove(temp("vl_export_out.htm"));
    }
};

void BM_ExportWithTemplate(benchmark::State& state) {
    Fixture f(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const ListInfoExpander e(f.list, f.view, "Mix");
        const std::string out =
            ExportWithTemplate(f.tpl, temp("vl_export_out"), static_cast<int>(f.view.size()),
                               [&e](int k, const std::string& line) { return e.expand(k, line); });
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ExportWithTemplate)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ExportRereadingPerLine(benchmark::State& state) {
    Fixture f(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const std::string out =
            ExportWithTemplate(f.tpl, temp("vl_export_out"), static_cast<int>(f.view.size()),
                               [&f](int k, const std::string& line) {
                                   return expandlistinfo(k, "Mix", line, f.list, f.view);
                               });
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_ExportRereadingPerLine)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
