// RIFF WAVE parsing, sample conversion and the tag rewrite of what was read.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "riff_wave.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vl::MemorySource src(data, size);
    vl::WaveFile w = vl::parse_wave(src);
    if (!w.ok) return 0;
    if (w.data_offset < 0 || w.data_offset + w.data_size > static_cast<int64_t>(size))
        __builtin_trap();
    const size_t frames = static_cast<size_t>(std::min<int64_t>(w.frames(), 256));
    std::vector<int16_t> out(2 * frames);
    vl::convert_to_stereo16(data + w.data_offset, frames, w.fmt, out.data());
    std::vector<uint8_t> list = vl::build_info_list(w.tags);
    if (list.size() % 2) __builtin_trap();  // chunks stay word-aligned
    // The rewrite walks the same chunks; its output is thrown away.
    vl::FileWriter sink;
    if (sink.create("/dev/null")) vl::write_wave_with_tags(src, w, w.tags, sink);
    return 0;
}
