// Rectangles and points of skin layouts: (left, top, right, bottom) in
// pixels, right and bottom exclusive.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>

struct SkinRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const SkinRect&) const = default;
};

struct SkinPoint {
    int x = 0, y = 0;
    bool operator==(const SkinPoint&) const = default;
};

// A colour value of a skin's colors.ini: decimal, or hexadecimal after "$";
// red in the lowest byte. False for anything else.
inline bool parse_skin_color(const std::string& text, uint32_t& out) {
    const bool hex = !text.empty() && text[0] == '$';
    const char* begin = text.c_str() + (hex ? 1 : 0);
    if (*begin == 0 || *begin == '-' || *begin == '+' || *begin == ' ') return false;
    char* end = nullptr;
    const unsigned long long v = std::strtoull(begin, &end, hex ? 16 : 10);
    if (*end != 0 || v > 0xFFFFFFFFull) return false;
    out = static_cast<uint32_t>(v);
    return true;
}
