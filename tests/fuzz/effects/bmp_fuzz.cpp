// Any bytes as a BMP file: the loader must stay inside the data and the surface.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "effects/FastDIB.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Headers claiming more than 4 MB only exercise the size limit (unit-tested)
    // and cost the fuzzer most of its time in zeroing memory. The 12-byte core
    // header holds 16-bit sizes, the others 32-bit ones.
    auto le = [&](size_t at, int bytes) {
        uint32_t v = 0;
        for (int k = 0; k < bytes; ++k) v |= uint32_t(at + k < size ? data[at + k] : 0) << (8 * k);
        return v;
    };
    const bool core = le(14, 4) == 12;
    const int64_t w = core ? int64_t(le(18, 2)) : int64_t(int32_t(le(18, 4)));
    const int64_t h = core ? int64_t(le(20, 2)) : int64_t(int32_t(le(22, 4)));
    if (std::abs(double(w)) * std::abs(double(h)) * 4 > (4 << 20)) return 0;
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
