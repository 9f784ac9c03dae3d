// Any bytes as a VL2 list file: records read back the way they were
// written, the list and the trash fill the view, the view plays and sorts,
// and saving writes exactly the records shown.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "fuzz_host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (size_t at = 0; at + kRecordSize <= size; at += kRecordSize) {
        const ListRecord r = vl2::unpack(data + at);
        if (!(vl2::unpack(vl2::pack(r).data()) == r)) __builtin_trap();
    }
    static const FuzzTempFile source_file("source.vl2");
    const std::string& source = source_file.path;
    static const FuzzTempFile saved_file("saved.vl2");
    const std::string& saved = saved_file.path;
    {
        std::FILE* f = std::fopen(source.c_str(), "wb");
        if (!f) return 0;
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    FuzzHost host;
    FuzzPlayback playback;
    PlaylistModel model(host, playback);
    model.current_file = source;
    model.LoadListFile(source, nullptr, true, 1);  // the trash
    model.LoadListFile(source, nullptr, true, 0);  // marks missing files, shows the list
    if (model.WriteListFile(source, saved, true) &&
        RecordCount(saved) != static_cast<int>(model.count()))
        __builtin_trap();
    walk_rows(model);
    model.select(0, true);
    model.ListView_classicKeyDown(PlaylistModel::kKeyDelete, false);
    ToggleAllDeleted(source);
    return 0;
}
