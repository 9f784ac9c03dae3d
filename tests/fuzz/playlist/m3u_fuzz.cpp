// Any bytes as an M3U or EXTM3U list imported into a fresh working list;
// every row shown has its record in that list.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <sstream>

#include "fuzz_host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const FuzzTempFile list_file("import.vl2");
    const std::string& list = list_file.path;
    if (std::FILE* f = std::fopen(list.c_str(), "wb"))
        std::fclose(f);
    else
        return 0;
    FuzzHost host;
    FuzzPlayback playback;
    PlaylistModel model(host, playback);
    model.current_file = list;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    model.ImportM3UText("C:\\Music\\Lists\\list.m3u", in);
    const int records = RecordCount(list);
    for (int row = 0; row < model.count(); ++row) {
        const int n = model.record_of(row);
        if (n < 1 || n > records) __builtin_trap();
    }
    walk_rows(model);
    return 0;
}
