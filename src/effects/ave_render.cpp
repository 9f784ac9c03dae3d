#include "effects/ave_render.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

const std::array<uint32_t, 18> kEffectColours = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080, 0xC0C0C0,
    0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xC0C0C0, 0x808080, 0xFFFFFF};

bool prepare_effect_surface(TFastDIB& surface, int width, int height) {
    surface.Destroy();
    if (!surface.SetSize(width, height, 24)) return false;
    surface.FillColors(0, 255, static_cast<int>(kEffectColours.size()), kEffectColours.data());
    return true;
}

namespace {

const char* const kNames[AveRenderer::COMMAND_COUNT] = {
    "RENDER",     "SCOPE_DOTS", "SCOPE_LINE", "SCOPE_SOLID", "BLUR_SOFT", "BLUR_EDGES",
    "BLUR_SPLIT", "ZOOM_IN",    "ZOOM_OUT",   "ROTATE",      "CLEAR",     "SHARP",
    "EMBOSS",     "MOSAIC",     "SHIFT",      "BLEED_EDGES"};

// Integer part of an argument, kept in a range where no arithmetic overflows.
int int_part(double x) {
    if (!std::isfinite(x)) return 0;
    return static_cast<int>(std::clamp(std::trunc(x), -16777216.0, 16777216.0));
}

uint8_t clamp_byte(int v) {
    return static_cast<uint8_t>(std::clamp(v, 0, 255));
}

}  // namespace

int AveRenderer::command_index(std::string_view name) {
    for (int k = 0; k < COMMAND_COUNT; ++k)
        if (name == kNames[k]) return k;
    return -1;
}

void AveRenderer::set_geometry() {
    const int h = surface ? surface->AbsHeight : 0;
    baseline_1 = (2 * h) / 3;
    baseline_2 = h / 3;
    scale = baseline_1 > 0 ? 65536 / baseline_1 : 65536;
}

bool AveRenderer::execute(const AveCall& call) {
    const int k = command_index(call.name);
    return k >= 0 && execute(k, call.x1, call.x2);
}

bool AveRenderer::execute(int command, double x1, double x2) {
    if (!surface || surface->Empty() || surface->Bpp != 24) return false;
    if (command < 0 || command >= COMMAND_COUNT) return false;
    try {
        run(command, x1, x2);
        return true;
    } catch (...) {
        return false;
    }
}

void AveRenderer::draw_frame(VisualType type, ScopeKind kind, AveScripts& scripts) {
    if (type == VisualType::Internal) {
        execute(kind == ScopeKind::Dots    ? SCOPE_DOTS
                : kind == ScopeKind::Lines ? SCOPE_LINE
                                           : SCOPE_SOLID);
        execute(RENDER);
        execute(CLEAR);
    } else if (type == VisualType::Ave) {
        scripts.run_frame();
    }
}

void AveRenderer::attach(AveScripts& scripts) {
    scripts.on_command = [this](const AveCall& c) { execute(c); };
}

void AveRenderer::run(int command, double x1, double x2) {
    const int n = int_part(x1), m = int_part(x2);
    switch (command) {
        case RENDER:
            if (on_render) on_render(*surface);
            break;
        case SCOPE_DOTS:
            scope_dots();
            break;
        case SCOPE_LINE:
            scope_line();
            break;
        case SCOPE_SOLID:
            scope_solid();
            break;
        case BLUR_SOFT:
            blur_soft();
            break;
        case BLUR_EDGES:
            corners<-3, 5, false>(n);
            break;
        case BLUR_SPLIT:
            corners<0, 1, true>(n);
            break;
        case ZOOM_IN:
            zoom(n, true);
            break;
        case ZOOM_OUT:
            zoom(n, false);
            break;
        case ROTATE:
            rotate(x1, m);
            break;
        case CLEAR:
            surface->Clear(kEffectColours[0]);
            break;
        case SHARP:
            sharp();
            break;
        case EMBOSS:
            emboss();
            break;
        case MOSAIC:
            mosaic(n, m);
            break;
        case SHIFT:
            shift(n, m);
            break;
        case BLEED_EDGES:
            corners<-4, 4, false>(n);
            break;
    }
}

// ---- scope ----

int AveRenderer::sample_offset(int k) const {
    if (!samples || k < 0 || k >= 2 * kFrames || scale == 0) return 0;
    return samples[k] / scale;
}

int AveRenderer::sample_row(int k) const {
    return ((k & 1) ? baseline_2 : baseline_1) - sample_offset(k);
}

void AveRenderer::put(int column, int row, uint32_t colour) {
    if (column < 0 || column >= surface->Width || row < 0 || row >= surface->AbsHeight) return;
    uint8_t* p = surface->Scanlines[row] + column * 3;
    p[0] = static_cast<uint8_t>(colour >> 16);
    p[1] = static_cast<uint8_t>(colour >> 8);
    p[2] = static_cast<uint8_t>(colour);
}

void AveRenderer::fill_column(int column, int from_row, int to_row, uint32_t colour) {
    if (from_row > to_row) std::swap(from_row, to_row);
    from_row = std::max(from_row, 0);
    to_row = std::min(to_row, surface->AbsHeight - 1);
    for (int r = from_row; r <= to_row; ++r) put(column, r, colour);
}

void AveRenderer::scope_dots() {
    const int count = std::min(2 * surface->Width, 2 * kFrames);
    for (int k = 0; k < count; ++k) put(k / 2, sample_row(k), (k & 1) ? colour_2 : colour_1);
}

void AveRenderer::scope_line() {
    const int width = surface->Width;
    const int last = std::min(2 * width - 2, 2 * kFrames - 1);
    for (int k = 0; k <= last; ++k) {
        const int column = k / 2;
        const int r = sample_row(k);
        const int base = (k & 1) ? baseline_2 : baseline_1;
        const uint32_t colour = (k & 1) ? colour_2 : colour_1;
        put(column, r, colour);
        if (k > 0) {
            const int prev = base - sample_offset(k - 2);
            if (prev >= r) fill_column(column - 1, r, prev, colour);
        }
        if (k < width - 1) {
            const int next = base - sample_offset(k + 2);
            if (next >= r) fill_column(column + 1, r, next, colour);
        }
    }
}

void AveRenderer::scope_solid() {
    const int count = std::min(2 * surface->Width, 2 * kFrames);
    for (int k = 0; k < count; ++k)
        fill_column(k / 2, (k & 1) ? baseline_2 : baseline_1, sample_row(k),
                    (k & 1) ? colour_2 : colour_1);
}

// ---- filters ----

void AveRenderer::blur_soft() {
    const int w = surface->Width;
    if (w < 2) return;
    const int bytes = w * 3;
    for (uint8_t* p : surface->Scanlines) {
        for (int i = 0; i < 3; ++i) p[i] = static_cast<uint8_t>((p[i] + p[i + 3]) >> 1);
        // The left neighbour, already blurred. Halving twice in a row is one
        // division by 4 of (l + a + 2b), so four pixels follow from l at once
        // and the chain from pixel to pixel is a quarter as long.
        int l0 = p[0], l1 = p[1], l2 = p[2];
        int i = 3;
        for (; i + 12 < bytes; i += 12) {
            const auto four = [&](int& l, int c) {
                const int s1 = l + p[c + 3], s2 = s1 + 2 * p[c + 6], s3 = s2 + 4 * p[c + 9];
                p[c] = static_cast<uint8_t>(s1 >> 1);
                p[c + 3] = static_cast<uint8_t>(s2 >> 2);
                p[c + 6] = static_cast<uint8_t>(s3 >> 3);
                l = p[c + 9] = static_cast<uint8_t>((s3 + 8 * p[c + 12]) >> 4);
            };
            four(l0, i);
            four(l1, i + 1);
            four(l2, i + 2);
        }
        for (; i < bytes - 3; i += 3) {
            l0 = p[i] = static_cast<uint8_t>((l0 + p[i + 3]) >> 1);
            l1 = p[i + 1] = static_cast<uint8_t>((l1 + p[i + 4]) >> 1);
            l2 = p[i + 2] = static_cast<uint8_t>((l2 + p[i + 5]) >> 1);
        }
        for (int i = bytes - 3; i < bytes; ++i) p[i] = static_cast<uint8_t>((p[i] + p[i - 3]) >> 1);
    }
}

void AveRenderer::sharp() {
    const int w = surface->Width;
    if (w < 2) return;
    const int bytes = w * 3;
    // (4v - left - right) / 2 truncates towards zero: below zero it clamps to
    // 0. The left neighbour is the chain from pixel to pixel, so it goes in
    // last, as one subtraction and one table read (no branch to mispredict).
    static const auto kSharpened = [] {
        std::array<uint8_t, 2 * 255 + 4 * 255 + 1> t{};
        for (int k = 0; k < static_cast<int>(t.size()); ++k)
            t[k] = static_cast<uint8_t>(std::min(std::max(k - 2 * 255, 0) / 2, 255));
        return t;
    }();
    const uint8_t* sharpened = kSharpened.data() + 2 * 255;  // index 4v - right - left
    for (uint8_t* p : surface->Scanlines) {
        for (int i = 0; i < 3; ++i) p[i] = clamp_byte((3 * p[i] - p[i + 3]) / 2);
        // The left neighbour is already sharpened: keep it in registers.
        int l0 = p[0], l1 = p[1], l2 = p[2];
        for (int i = 3; i < bytes - 3; i += 3) {
            const int t0 = 4 * p[i] - p[i + 3], t1 = 4 * p[i + 1] - p[i + 4],
                      t2 = 4 * p[i + 2] - p[i + 5];
            l0 = p[i] = sharpened[t0 - l0];
            l1 = p[i + 1] = sharpened[t1 - l1];
            l2 = p[i + 2] = sharpened[t2 - l2];
        }
        for (int i = bytes - 3; i < bytes; ++i) p[i] = clamp_byte((3 * p[i] - p[i - 3]) / 2);
    }
}

void AveRenderer::emboss() {
    const int bytes = surface->Width * 3;
    for (uint8_t* p : surface->Scanlines) {
        for (int i = 0; i < bytes - 3; ++i)
            p[i] = static_cast<uint8_t>((p[i + 3] + 255 - p[i]) >> 1);
        for (int i = std::max(bytes - 3, 0); i < bytes; ++i) p[i] = 127;
    }
}

// Reciprocal of a small divisor in 16-bit fixed point, exact for the
// quotients the corner filters form: (2 * 4 * 255) / d for every d they use.
constexpr uint32_t reciprocal16(int divisor) {
    return (65536u + static_cast<uint32_t>(divisor) - 1) / static_cast<uint32_t>(divisor);
}
constexpr bool reciprocal_exact(int divisor) {
    for (uint32_t t = 0; t <= 2040; ++t)
        if ((t * reciprocal16(divisor)) >> 16 != t / static_cast<uint32_t>(divisor)) return false;
    return true;
}

// Every intermediate value fits 16 bits, so the compiler vectorises eight
// bytes per lane group; the division is a multiplication by the reciprocal.
template <int Weight, int Divisor, bool Split>
uint8_t corner_value(int sum, uint8_t v) {
    if constexpr (Split) {
        (void)v;
        return static_cast<uint8_t>(sum >> 2);
    } else {
        static_assert(reciprocal_exact(Divisor));
        // Below zero the quotient clamps to 0 either way: divide the
        // non-negative part.
        const int16_t t = static_cast<int16_t>(2 * sum + Weight * v);
        const int16_t limit = 255 * Divisor;
        const uint16_t u = static_cast<uint16_t>(t < 0 ? 0 : t > limit ? limit : t);
        return static_cast<uint8_t>((static_cast<uint32_t>(u) * reciprocal16(Divisor)) >> 16);
    }
}

// One row's bytes [from, to) whose four corners lie inside rows other than
// this one and `reach` bytes to either side: no read sees this row's new values.
template <int Weight, int Divisor, bool Split>
void corner_span(uint8_t* __restrict row, const uint8_t* __restrict top,
                 const uint8_t* __restrict bottom, int from, int to, int reach) {
    for (int i = from; i < to; ++i) {
        const uint16_t sum = static_cast<uint16_t>(top[i - reach] + top[i + reach] +
                                                   bottom[i - reach] + bottom[i + reach]);
        row[i] = corner_value<Weight, Divisor, Split>(sum, row[i]);
    }
}

// The four corners are symmetric, so the sign of n does not matter.
template <int Weight, int Divisor, bool Split>
void AveRenderer::corners(int n) {
    const int w = surface->Width, h = surface->AbsHeight;
    const int a = n < 0 ? -std::max(n, -(1 << 24)) : std::min(n, 1 << 24);
    std::vector<int> left(w), right(w);
    for (int x = 0; x < w; ++x) {
        left[x] = std::clamp(x - a, 0, w - 1) * 3;
        right[x] = std::clamp(x + a, 0, w - 1) * 3;
    }
    // Columns whose corners need no clamping.
    const int inner_from = std::min(a, w), inner_to = std::max(w - a, inner_from);
    for (int y = 0; y < h; ++y) {
        // In place: corners already processed are read with their new values.
        const uint8_t* top = surface->Scanlines[std::clamp(y - a, 0, h - 1)];
        const uint8_t* bottom = surface->Scanlines[std::clamp(y + a, 0, h - 1)];
        uint8_t* row = surface->Scanlines[y];
        auto pixels = [&](int from, int to) {
            for (int x = from; x < to; ++x)
                for (int c = 0; c < 3; ++c) {
                    const int sum = top[left[x] + c] + top[right[x] + c] + bottom[left[x] + c] +
                                    bottom[right[x] + c];
                    row[x * 3 + c] = corner_value<Weight, Divisor, Split>(sum, row[x * 3 + c]);
                }
        };
        if (top == row || bottom == row) {
            pixels(0, w);
            continue;
        }
        pixels(0, inner_from);
        corner_span<Weight, Divisor, Split>(row, top, bottom, inner_from * 3, inner_to * 3, a * 3);
        pixels(inner_to, w);
    }
}

void AveRenderer::zoom(int n, bool in) {
    if (n == 0) return;  // would divide by zero: only this command is cancelled
    const int w = surface->Width, h = surface->AbsHeight;
    const int dx = w / n, dy = h / n;
    if (in)
        StretchCopy(*surface, 0, 0, w, h, *surface, dx, dy, w - 2 * dx, h - 2 * dy);
    else
        StretchCopy(*surface, dx, dy, w - 2 * dx, h - 2 * dy, *surface, 0, 0, w, h);
}

namespace {

int64_t floor_div(int64_t a, int64_t d) {  // d > 0
    return a / d - (a % d != 0 && a < 0);
}

// The columns x of [0, w) whose coordinate f0 + x * step lies in [0, limit):
// an interval, empty when first > last.
struct Span {
    int64_t first, last;
    Span operator&(const Span& o) const {
        return {std::max(first, o.first), std::min(last, o.last)};
    }
};

Span columns_inside(int64_t f0, int64_t step, int64_t limit, int w) {
    Span r{0, w - 1};
    if (step > 0) {
        r.first = std::max<int64_t>(r.first, -floor_div(f0, step));
        r.last = std::min<int64_t>(r.last, floor_div(limit - 1 - f0, step));
    } else if (step < 0) {
        r.first = std::max<int64_t>(r.first, -floor_div(limit - 1 - f0, -step));
        r.last = std::min<int64_t>(r.last, floor_div(f0, -step));
    } else if (f0 < 0 || f0 >= limit) {
        r.last = -1;
    }
    return r;
}

// Bilinear with 8-bit weights from the pixel at p and its neighbours `right`
// and `down` bytes away (0 at the surface's edge), formed once per pixel.
inline void bilinear(uint8_t* d, const uint8_t* p, int64_t right, int64_t down, int64_t fx,
                     int64_t fy) {
    const int wx = static_cast<int>((fx >> 8) & 255), wy = static_cast<int>((fy >> 8) & 255);
    const int w11 = wx * wy, w10 = wx * 256 - w11, w01 = wy * 256 - w11;
    const int w00 = 65536 - w10 - w01 - w11;
    const uint8_t* q = p + down;
    for (int k = 0; k < 3; ++k)
        d[k] = static_cast<uint8_t>(
            (p[k] * w00 + p[k + right] * w10 + q[k] * w01 + q[k + right] * w11) >> 16);
}

}  // namespace

void AveRenderer::rotate(double degrees, int smooth) {
    if (!std::isfinite(degrees)) return;
    const double theta = degrees * std::numbers::pi / 180;
    const int64_t s = static_cast<int64_t>(std::nearbyint(std::sin(theta) * 65536));
    const int64_t c = static_cast<int64_t>(std::nearbyint(std::cos(theta) * 65536));
    const int w = surface->Width, h = surface->AbsHeight;
    const int64_t cx = w / 2, cy = h / 2;
    const int64_t stride = surface->BytesPerLine;
    uint8_t* const bits = surface->Bits;
    // One source pixel, near the right or bottom edge: bilinear with the far
    // neighbours stopping at the edge; without smoothing the pixel the point
    // falls in.
    auto sample = [&](uint8_t* d, int64_t fx, int64_t fy) {
        const int64_t x0 = fx >> 16, y0 = fy >> 16;
        const uint8_t* p00 = bits + y0 * stride + x0 * 3;
        if (smooth != 1) {
            d[0] = p00[0];
            d[1] = p00[1];
            d[2] = p00[2];
            return;
        }
        const int64_t right = (std::min<int64_t>(x0 + 1, w - 1) - x0) * 3;
        const int64_t down = (std::min<int64_t>(y0 + 1, h - 1) - y0) * stride;
        bilinear(d, p00, right, down, fx, fy);
    };
    for (int y = 0; y < h; ++y) {
        uint8_t* row = surface->Scanlines[y];
        // Column x reads the source point (fx0 + x * c, fy0 + x * s). The
        // columns whose point lies on the surface form one span, worked out
        // per row, so the loops below test nothing per pixel.
        const int64_t fx0 = (cx << 16) - cx * c - (y - cy) * s;
        const int64_t fy0 = (cy << 16) - cx * s + (y - cy) * c;
        const Span on = columns_inside(fx0, c, int64_t{w} << 16, w) &
                        columns_inside(fy0, s, int64_t{h} << 16, w);
        if (on.first > on.last) continue;
        // Smooth pixels away from the right and bottom edges need no clamping.
        Span inner = on;
        if (smooth == 1) {
            inner = inner & columns_inside(fx0, c, int64_t{w - 1} << 16, w) &
                    columns_inside(fy0, s, int64_t{h - 1} << 16, w);
            if (inner.first > inner.last) inner = {on.last + 1, on.last};
        }
        for (int64_t x = on.first; x < inner.first; ++x)
            sample(row + x * 3, fx0 + x * c, fy0 + x * s);
        int64_t fx = fx0 + inner.first * c, fy = fy0 + inner.first * s;
        uint8_t* d = row + inner.first * 3;
        if (smooth != 1) {
            for (int64_t x = inner.first; x <= inner.last; ++x, fx += c, fy += s, d += 3) {
                // Read before writing: the source may be this very pixel.
                const uint8_t* p = bits + (fy >> 16) * stride + (fx >> 16) * 3;
                const uint8_t b0 = p[0], b1 = p[1], b2 = p[2];
                d[0] = b0;
                d[1] = b1;
                d[2] = b2;
            }
        } else {
            for (int64_t x = inner.first; x <= inner.last; ++x, fx += c, fy += s, d += 3)
                bilinear(d, bits + (fy >> 16) * stride + (fx >> 16) * 3, 3, stride, fx, fy);
        }
        for (int64_t x = std::max(inner.last + 1, on.first); x <= on.last; ++x)
            sample(row + x * 3, fx0 + x * c, fy0 + x * s);
    }
}

void AveRenderer::mosaic(int n, int m) {
    if (n == 0 || m == 0) return;
    const int w = surface->Width, h = surface->AbsHeight;
    const int bw = std::abs(n), bh = std::abs(m);
    if (bw == 1 && bh == 1) return;  // every block is its own sample
    // The sample point is the block's centre, kept inside the block.
    const int ox = std::min((bw + 1) / 2, bw - 1), oy = std::min((bh + 1) / 2, bh - 1);
    std::vector<uint8_t> line(static_cast<size_t>(w) * 3);
    for (int by = 0; by < h; by += bh) {
        const uint8_t* sample = surface->Scanlines[std::min(by + oy, h - 1)];
        for (int bx = 0; bx < w; bx += bw) {
            const uint8_t* colour = sample + std::min(bx + ox, w - 1) * 3;
            for (int x = bx; x < std::min(bx + bw, w); ++x)
                std::memcpy(&line[static_cast<size_t>(x) * 3], colour, 3);
        }
        for (int y = by; y < std::min(by + bh, h); ++y)
            std::memcpy(surface->Scanlines[y], line.data(), line.size());
    }
}

void AveRenderer::shift(int n, int m) {
    const int w = surface->Width, h = surface->AbsHeight;
    auto amount = [](int v, int size) {
        const int i = v > 0 ? v % size : size - (-v % size);
        return i % size;
    };
    if (m != 0) {
        // Row k receives old row k + i: a left rotation of the row blocks.
        const int i = amount(m, h);
        const size_t line = static_cast<size_t>(surface->BytesPerLine);
        std::rotate(surface->Bits, surface->Bits + i * line, surface->Bits + h * line);
    }
    // A whole number of widths leaves the rows as they are (and an empty head
    // has no buffer to copy to).
    const int j = n != 0 ? amount(n, w) : 0;
    if (j != 0) {
        // Each row turns left by j pixels: save its head, move the rest down.
        std::vector<uint8_t> head(static_cast<size_t>(j) * 3);
        for (uint8_t* row : surface->Scanlines) {
            std::memcpy(head.data(), row, head.size());
            std::memmove(row, row + head.size(), static_cast<size_t>(w - j) * 3);
            std::memcpy(row + static_cast<size_t>(w - j) * 3, head.data(), head.size());
        }
    }
}
