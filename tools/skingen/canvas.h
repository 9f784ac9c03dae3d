// A 24-bit drawing surface for the skin generator with the few shapes the
// skin is made of.
#pragma once

#include <cstring>
#include <string>

#include "effects/FastDIB.h"

struct Rgb {
    int r, g, b;
};

inline Rgb mix(Rgb a, Rgb b, double t) {
    return {static_cast<int>(a.r + (b.r - a.r) * t), static_cast<int>(a.g + (b.g - a.g) * t),
            static_cast<int>(a.b + (b.b - a.b) * t)};
}

// The look of a second skin drawn from the same shapes: every colour passes
// through skin_tone, and bevels are two pixels deep.
inline Rgb (*skin_tone)(Rgb) = nullptr;
inline bool deep_bevels = false;

class Canvas {
  public:
    Canvas(int w, int h) { dib_.SetSize(w, h, 24); }
    void pixel(int x, int y, Rgb c) {
        if (x < 0 || y < 0 || x >= dib_.Width || y >= dib_.AbsHeight) return;
        if (skin_tone) c = skin_tone(c);
        dib_.SetPixel(dib_.PictureRow(y), x,
                      FColor{static_cast<uint8_t>(c.b), static_cast<uint8_t>(c.g),
                             static_cast<uint8_t>(c.r)});
    }
    void fill(int l, int t, int r, int b, Rgb c) {
        for (int y = t; y < b; ++y)
            for (int x = l; x < r; ++x) pixel(x, y, c);
    }
    // Top to bottom gradient.
    void vgradient(int l, int t, int r, int b, Rgb from, Rgb to) {
        for (int y = t; y < b; ++y) {
            const double k = b - t > 1 ? static_cast<double>(y - t) / (b - t - 1) : 0;
            fill(l, y, r, y + 1, mix(from, to, k));
        }
    }
    void bevel(int l, int t, int r, int b, Rgb light, Rgb dark) {
        fill(l, t, r, t + 1, light);
        fill(l, t, l + 1, b, light);
        fill(l, b - 1, r, b, dark);
        fill(r - 1, t, r, b, dark);
        if (deep_bevels && r - l > 4 && b - t > 4) {
            fill(l + 1, t + 1, r - 1, t + 2, light);
            fill(l + 1, t + 1, l + 2, b - 1, light);
            fill(l + 1, b - 2, r - 1, b - 1, dark);
            fill(r - 2, t + 1, r - 1, b - 1, dark);
        }
    }
    // Capitals from a 3x5 pixel font, centred in the box.
    void label(int l, int t, int r, int b, const char* text, Rgb c) {
        const int w = static_cast<int>(std::strlen(text)) * 4 - 1;
        int x = l + (r - l - w) / 2;
        const int y = t + (b - t - 5) / 2;
        for (const char* p = text; *p; ++p, x += 4) glyph(x, y, *p, c);
    }
    bool save(const std::string& path) const { return dib_.SaveToFile(path); }
    // A filled triangle pointing right (dir 1) or left (dir -1), h rows tall.
    void triangle(int x, int y, int h, int dir, Rgb c) {
        for (int row = 0; row < h; ++row) {
            const int len = (row < h / 2 ? row : h - 1 - row) + 1;
            for (int i = 0; i < len; ++i) pixel(dir > 0 ? x + i : x - i, y + row, c);
        }
    }

  private:
    void glyph(int x, int y, char ch, Rgb c) {
        static const struct {
            char ch;
            const char* rows[5];
        } font[] = {
            {'A', {"010", "101", "111", "101", "101"}}, {'C', {"011", "100", "100", "100", "011"}},
            {'D', {"110", "101", "101", "101", "110"}}, {'E', {"111", "100", "110", "100", "111"}},
            {'I', {"111", "010", "010", "010", "111"}}, {'L', {"100", "100", "100", "100", "111"}},
            {'O', {"010", "101", "101", "101", "010"}}, {'P', {"110", "101", "110", "100", "100"}},
            {'R', {"110", "101", "110", "101", "101"}}, {'S', {"011", "100", "010", "001", "110"}},
            {'T', {"111", "010", "010", "010", "010"}}, {'X', {"101", "101", "010", "101", "101"}},
            {'Y', {"101", "101", "010", "010", "010"}}, {'U', {"101", "101", "101", "101", "111"}},
            {'V', {"101", "101", "101", "101", "010"}}, {'F', {"111", "100", "110", "100", "100"}},
            {'N', {"101", "111", "111", "101", "101"}}, {'M', {"101", "111", "111", "101", "101"}},
        };
        for (const auto& g : font)
            if (g.ch == ch)
                for (int row = 0; row < 5; ++row)
                    for (int col = 0; col < 3; ++col)
                        if (g.rows[row][col] == '1') pixel(x + col, y + row, c);
    }
    TFastDIB dib_;
};
