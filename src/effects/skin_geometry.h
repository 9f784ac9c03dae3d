// Rectangles and points of skin layouts: (left, top, right, bottom) in
// pixels, right and bottom exclusive.
#pragma once

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
