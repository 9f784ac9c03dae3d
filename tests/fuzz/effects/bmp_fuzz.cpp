// Any bytes as a BMP file: the loader must stay inside the data and the surface.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "effects/FastDIB.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Headers claiming more than 4 MB only exercise the size limit (unit-tested)
    // and cost the fuzzer most of its time in zeroing memory.
    if (size >= 30) {
        const int64_t w = static_cast<int32_t>(data[18] | data[19] << 8 | data[20] << 16 |
                                               unsigned(data[21]) << 24);
        const int64_t h = static_cast<int32_t>(data[22] | data[23] << 8 | data[24] << 16 |
                                               unsigned(data[25]) << 24);
        if (std::abs(double(w)) * std::abs(double(h)) * 4 > (4 << 20)) return 0;
    }
    TFastDIB d;
    if (d.LoadFromMemory(data, size)) {
        // Touch every pixel through the read path, then write the surface back.
        unsigned sum = 0;
        for (int r = 0; r < d.AbsHeight && r < 64; ++r)
            for (int c = 0; c < d.Width && c < 64; ++c) sum += d.GetPixel(r, c).g;
        const auto bytes = d.SaveToMemory();
        TFastDIB e;
        if (!e.LoadFromMemory(bytes.data(), bytes.size()) || e.Size != d.Size) __builtin_trap();
        (void)sum;
    }
    return 0;
}
