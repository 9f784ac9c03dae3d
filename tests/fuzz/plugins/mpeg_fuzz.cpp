// MPEG frame headers, the Xing/Info/VBRI header, the frame scan and the tag
// rewrite.
#include <cstddef>
#include <cstdint>

#include "mpeg_frame.h"
#include "mpeg_plugin.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vl::MpegHeader h;
    if (size >= 4 && vl::parse_mpeg_header(data, h)) {
        if (h.frame_size < 4 || h.samples <= 0) __builtin_trap();
        vl::parse_vbr_header(data, size, h);
    }
    vl::MemorySource src(data, size);
    vl::MpegStream s = vl::scan_mpeg(src, true);
    for (int64_t off : s.frames)
        if (off < s.tag_end || off + 4 > s.audio_end) __builtin_trap();
    if (s.ok) vl::mpeg_total_samples(s, static_cast<int64_t>(s.frames.size()));
    vl::TagSet tags = vl::read_mpeg_tags(src).merged();
    vl::FileWriter out;  // the rewrite's output is thrown away
    if (out.create("/dev/null")) vl::write_mpeg_with_tags(src, tags, out);
    return 0;
}
