// The host stands in for Windows with code page 1252, the ANSI code page of
// western systems.
#include "ansi_text.h"

namespace vl {

namespace {

// 0x80..0x9F of code page 1252; 0 where the code page has no character of
// its own: like the system, it maps those five bytes to the C1 controls of
// the same number and back, so every byte survives a round trip.
constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

std::string ansi_from_utf16(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) {
        char b = '?';
        if (c <= 0xFF && (c < 0x80 || c >= 0xA0 || kHigh[c - 0x80] == 0)) b = static_cast<char>(c);
        for (int i = 0; i < 32; ++i)
            if (kHigh[i] != 0 && kHigh[i] == c) b = static_cast<char>(0x80 + i);
        out.push_back(b);
    }
    return out;
}

std::u16string utf16_from_ansi(const std::string& text) {
    std::u16string out;
    for (char ch : text) {
        const auto b = static_cast<unsigned char>(ch);
        out.push_back(b >= 0x80 && b < 0xA0 && kHigh[b - 0x80] ? kHigh[b - 0x80] : b);
    }
    return out;
}

}  // namespace vl
