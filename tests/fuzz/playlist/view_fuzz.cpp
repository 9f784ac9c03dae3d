// Any bytes as a view snapshot: the rows read survive a save unchanged, and
// the view they fill plays, sorts and edits without leaving its rows.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<ListRow> rows;
    ParseViewSnapshot(std::string_view(reinterpret_cast<const char*>(data), size), rows);
    bool cut = false;
    std::vector<ListRow> again;
    ParseViewSnapshot(EncodeViewSnapshot(rows, cut), again);
    if (cut || again.size() != rows.size()) __builtin_trap();
    for (size_t i = 0; i < rows.size(); ++i)
        if (again[i].caption != rows[i].caption || again[i].sub != rows[i].sub) __builtin_trap();
    FuzzHost host;
    FuzzPlayback playback;
    PlaylistModel model(host, playback);
    model.replace_rows(std::move(rows));
    walk_rows(model);
    model.edit_record_rows(1, [](ListRow& r) { r.sub.clear(); });
    walk_rows(model);
    return 0;
}
