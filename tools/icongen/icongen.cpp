// Draws the application icon into the .ico file given on the command line:
// a small player face in the Default skin's colours (dark body, blue title
// band, a screen with a green scope trace), in several sizes, each a 32-bit
// image with alpha and its AND mask. With a folder as second argument it also
// draws the eight transport button icons of the notification area there.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Rgba {
    double r, g, b, a;
};

struct Rgb {
    double r, g, b;
};

const Rgb kBodyTop{66, 78, 100}, kBodyBottom{30, 35, 45}, kLight{92, 108, 136}, kShadow{12, 14, 20};
const Rgb kBandTop{78, 104, 150}, kBandBottom{44, 60, 92};
const Rgb kDeep{20, 24, 32}, kAccent{96, 230, 120}, kGrid{36, 52, 48};

Rgb mix(Rgb a, Rgb b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// Signed distance to a rounded rectangle, in the same units as the point.
double rounded_rect(double x, double y, double l, double t, double r, double b, double radius) {
    const double cx = (l + r) / 2, cy = (t + b) / 2;
    const double hx = (r - l) / 2 - radius, hy = (b - t) / 2 - radius;
    const double dx = std::max(std::fabs(x - cx) - hx, 0.0);
    const double dy = std::max(std::fabs(y - cy) - hy, 0.0);
    const double inside = std::min(std::max(std::fabs(x - cx) - hx, std::fabs(y - cy) - hy), 0.0);
    return std::sqrt(dx * dx + dy * dy) + inside - radius;
}

// The icon at one sub-sample; x and y in icon units (0..1), px one pixel in those units.
Rgba sample(double x, double y, double px) {
    const double edge = std::max(px, 0.045);
    const double body = rounded_rect(x, y, 0.03, 0.03, 0.97, 0.97, 0.18);
    if (body > 0) return {0, 0, 0, 0};
    Rgb c = mix(kBodyTop, kBodyBottom, (y - 0.03) / 0.94);
    if (body > -edge) c = (x + y < 1.0) ? kLight : kShadow;

    // Title band with a row of grip dots.
    const double band = rounded_rect(x, y, 0.1, 0.1, 0.9, 0.3, 0.05);
    if (band <= 0) {
        c = mix(kBandTop, kBandBottom, (y - 0.1) / 0.2);
        if (px < 0.05 && std::fmod(x * 12, 1.0) < 0.35 && std::fabs(y - 0.2) < 0.02 && x > 0.32 &&
            x < 0.82)
            c = kLight;
    }

    // Screen with a faint grid and the scope trace.
    const double l = 0.13, t = 0.38, r = 0.87, b = 0.86;
    if (x >= l && x < r && y >= t && y < b) {
        c = kDeep;
        if (x < l + px || y < t + px) c = kShadow;
        if (x >= r - px || y >= b - px) c = kLight;
        const double mid = (t + b) / 2;
        if (px < 0.05 && std::fabs(y - mid) < px / 2) c = kGrid;
        const double k = 2 * 3.14159265358979 * 1.5 / (r - l);
        const double amp = (b - t) * 0.32 * (1 - 0.35 * (x - l) / (r - l));
        const double wave = mid - amp * std::sin(k * (x - l));
        const double slope = amp * k * std::cos(k * (x - l));
        const double dist = std::fabs(y - wave) / std::sqrt(1 + slope * slope);
        const double width = std::max(px * 1.1, 0.06);
        if (dist < width / 2 && x > l + px && x < r - px) c = kAccent;
    }
    return {c.r, c.g, c.b, 1};
}

// The transport glyphs, in icon units.
enum class Glyph { Prev, Rew, Play, Pause, Stop, Open, Forw, Next };

bool in_triangle(double x, double y, double ax, double ay, double bx, double by, double cx,
                 double cy) {
    const double d1 = (x - bx) * (ay - by) - (ax - bx) * (y - by);
    const double d2 = (x - cx) * (by - cy) - (bx - cx) * (y - cy);
    const double d3 = (x - ax) * (cy - ay) - (cx - ax) * (y - ay);
    return !(((d1 < 0) || (d2 < 0) || (d3 < 0)) && ((d1 > 0) || (d2 > 0) || (d3 > 0)));
}

bool in_box(double x, double y, double l, double t, double r, double b) {
    return x >= l && x < r && y >= t && y < b;
}

bool glyph_hit(Glyph g, double x, double y) {
    // The left-pointing glyphs are the right-pointing ones mirrored.
    if (g == Glyph::Prev || g == Glyph::Rew) {
        x = 1 - x;
        g = g == Glyph::Prev ? Glyph::Next : Glyph::Forw;
    }
    switch (g) {
        case Glyph::Play:
            return in_triangle(x, y, 0.36, 0.26, 0.36, 0.74, 0.74, 0.5);
        case Glyph::Pause:
            return in_box(x, y, 0.3, 0.28, 0.44, 0.72) || in_box(x, y, 0.56, 0.28, 0.7, 0.72);
        case Glyph::Stop:
            return in_box(x, y, 0.31, 0.31, 0.69, 0.69);
        case Glyph::Open:
            return in_triangle(x, y, 0.26, 0.54, 0.74, 0.54, 0.5, 0.26) ||
                   in_box(x, y, 0.26, 0.62, 0.74, 0.72);
        case Glyph::Forw:
            return in_triangle(x, y, 0.22, 0.3, 0.22, 0.7, 0.5, 0.5) ||
                   in_triangle(x, y, 0.5, 0.3, 0.5, 0.7, 0.78, 0.5);
        case Glyph::Next:
            return in_triangle(x, y, 0.28, 0.3, 0.28, 0.7, 0.6, 0.5) ||
                   in_box(x, y, 0.62, 0.3, 0.72, 0.7);
        default:
            return false;
    }
}

// A transport button: the face's raised dark button with a green glyph.
Rgba button_sample(Glyph g, double x, double y, double px) {
    const double edge = std::max(px, 0.045);
    const double body = rounded_rect(x, y, 0.04, 0.04, 0.96, 0.96, 0.16);
    if (body > 0) return {0, 0, 0, 0};
    Rgb c = mix(kBodyTop, kBodyBottom, (y - 0.04) / 0.92);
    if (body > -edge) c = (x + y < 1.0) ? kLight : kShadow;
    if (glyph_hit(g, x, y)) c = kAccent;
    return {c.r, c.g, c.b, 1};
}

// One image: BGRA rows bottom-up, each pixel the mean of 4x4 sub-samples.
template <class Sample>
std::vector<uint8_t> draw(int size, Sample sample) {
    std::vector<uint8_t> bgra(static_cast<size_t>(size) * size * 4);
    const int n = 4;
    const double px = 1.0 / size;
    for (int py = 0; py < size; ++py)
        for (int pxl = 0; pxl < size; ++pxl) {
            Rgba sum{0, 0, 0, 0};
            for (int sy = 0; sy < n; ++sy)
                for (int sx = 0; sx < n; ++sx) {
                    const Rgba s =
                        sample((pxl + (sx + 0.5) / n) * px, (py + (sy + 0.5) / n) * px, px);
                    sum = {sum.r + s.r * s.a, sum.g + s.g * s.a, sum.b + s.b * s.a, sum.a + s.a};
                }
            uint8_t* p = &bgra[(static_cast<size_t>(size - 1 - py) * size + pxl) * 4];
            const double a = sum.a / (n * n);
            if (a > 0) {
                p[0] = static_cast<uint8_t>(std::lround(sum.b / sum.a));
                p[1] = static_cast<uint8_t>(std::lround(sum.g / sum.a));
                p[2] = static_cast<uint8_t>(std::lround(sum.r / sum.a));
            }
            p[3] = static_cast<uint8_t>(std::lround(a * 255));
        }
    return bgra;
}

void put16(std::string& out, uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void put32(std::string& out, uint32_t v) {
    put16(out, static_cast<uint16_t>(v & 0xFFFF));
    put16(out, static_cast<uint16_t>(v >> 16));
}

// A DIB image as an icon holds it: header with doubled height, pixels, AND mask.
template <class Sample>
std::string icon_image(int size, Sample sample) {
    const std::vector<uint8_t> bgra = draw(size, sample);
    const uint32_t mask_stride = ((static_cast<uint32_t>(size) + 31) / 32) * 4;
    std::string out;
    put32(out, 40);
    put32(out, static_cast<uint32_t>(size));
    put32(out, static_cast<uint32_t>(size * 2));
    put16(out, 1);
    put16(out, 32);
    put32(out, 0);
    put32(out, static_cast<uint32_t>(bgra.size() + mask_stride * size));
    for (int i = 0; i < 4; ++i) put32(out, 0);
    out.append(reinterpret_cast<const char*>(bgra.data()), bgra.size());
    for (int y = 0; y < size; ++y) {
        std::string row(mask_stride, '\0');
        for (int x = 0; x < size; ++x)
            if (bgra[(static_cast<size_t>(y) * size + x) * 4 + 3] < 128)
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        out += row;
    }
    return out;
}

// An .ico file with one image per size.
template <class Sample>
bool write_icon(const std::string& path, const std::vector<int>& sizes, Sample sample) {
    const uint16_t count = static_cast<uint16_t>(sizes.size());
    std::vector<std::string> images;
    for (int s : sizes) images.push_back(icon_image(s, sample));
    std::string out;
    put16(out, 0);
    put16(out, 1);  // icon
    put16(out, count);
    uint32_t offset = 6 + 16 * count;
    for (uint16_t i = 0; i < count; ++i) {
        out += static_cast<char>(sizes[i] == 256 ? 0 : sizes[i]);
        out += static_cast<char>(sizes[i] == 256 ? 0 : sizes[i]);
        out += '\0';  // no palette
        out += '\0';
        put16(out, 1);
        put16(out, 32);
        put32(out, static_cast<uint32_t>(images[i].size()));
        put32(out, offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (const std::string& img : images) out += img;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << out;
    if (file) return true;
    std::fprintf(stderr, "icongen: cannot write %s\n", path.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: icongen <file.ico> [<folder for the button icons>]\n");
        return 2;
    }
    if (!write_icon(argv[1], {16, 20, 24, 32, 40, 48, 64, 256}, sample)) return 1;
    if (argc == 3) {
        const struct {
            Glyph glyph;
            const char* name;
        } buttons[] = {{Glyph::Prev, "tray_prev.ico"}, {Glyph::Rew, "tray_rew.ico"},
                       {Glyph::Play, "tray_play.ico"}, {Glyph::Pause, "tray_pause.ico"},
                       {Glyph::Stop, "tray_stop.ico"}, {Glyph::Open, "tray_open.ico"},
                       {Glyph::Forw, "tray_forw.ico"}, {Glyph::Next, "tray_next.ico"}};
        for (const auto& b : buttons) {
            const Glyph g = b.glyph;
            if (!write_icon(
                    std::string(argv[2]) + "/" + b.name, {16, 32},
                    [g](double x, double y, double px) { return button_sample(g, x, y, px); }))
                return 1;
        }
    }
    return 0;
}
