// Draws the Default skin, or with "copper" the Copper skin, into the folder
// given on the command line: the faces and their masks, the playlist frame
// and colors.ini.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "canvas.h"
#include "face_image.h"

namespace {

const Rgb kBody{38, 44, 56}, kDeep{20, 24, 32}, kLight{92, 108, 136}, kShadow{12, 14, 20};
const Rgb kBandTop{78, 104, 150}, kBandBottom{44, 60, 92};
const Rgb kIdleTop{84, 88, 96}, kIdleBottom{52, 55, 62};
const Rgb kText{230, 236, 245}, kAccent{96, 230, 120};

void close_button(Canvas& c, int x, int y, Rgb face, Rgb mark, bool pressed) {
    c.fill(x, y, x + 12, y + 11, face);
    if (pressed)
        c.bevel(x, y, x + 12, y + 11, kShadow, kLight);
    else
        c.bevel(x, y, x + 12, y + 11, kLight, kShadow);
    const int o = pressed ? 1 : 0;
    for (int i = 0; i < 5; ++i) {
        c.pixel(x + 3 + i + o, y + 3 + i + o, mark);
        c.pixel(x + 7 - i + o, y + 3 + i + o, mark);
    }
}

void button(Canvas& c, int x, int y, int w, int h, const char* text, bool pressed, bool over) {
    const Rgb top = pressed ? Rgb{30, 36, 48} : over ? Rgb{88, 110, 150} : Rgb{66, 78, 100};
    const Rgb bottom = pressed ? Rgb{44, 52, 68} : over ? Rgb{56, 72, 104} : Rgb{44, 52, 68};
    c.vgradient(x, y, x + w, y + h, top, bottom);
    if (pressed)
        c.bevel(x, y, x + w, y + h, kShadow, kLight);
    else
        c.bevel(x, y, x + w, y + h, kLight, kShadow);
    const int o = pressed ? 1 : 0;
    c.label(x + o, y + o, x + w + o, y + h + o, text, pressed ? kAccent : over ? kAccent : kText);
}

void draw_def_list(Canvas& c) {
    c.fill(0, 0, 280, 176, kBody);
    // Title bars: active and inactive, with a grip in the middle.
    c.vgradient(1, 1, 276, 16, kBandTop, kBandBottom);
    c.vgradient(1, 17, 276, 32, kIdleTop, kIdleBottom);
    for (int x = 30; x < 250; x += 3) {
        c.pixel(x, 7, kLight);
        c.pixel(x, 10, kLight);
        c.pixel(x, 23, Rgb{110, 114, 122});
        c.pixel(x, 26, Rgb{110, 114, 122});
    }
    // Page-button panel and tool-button strip.
    c.vgradient(12, 33, 267, 52, Rgb{46, 54, 70}, kBody);
    c.fill(12, 51, 267, 52, kShadow);
    c.vgradient(12, 54, 267, 72, kBody, Rgb{30, 35, 45});
    // Borders: left, right and bottom with an inner edge.
    c.vgradient(1, 33, 11, 87, kBody, kBody);
    c.fill(1, 33, 2, 87, kLight);
    c.fill(9, 33, 10, 87, kShadow);
    c.fill(268, 33, 278, 87, kBody);
    c.fill(268, 33, 269, 87, kLight);
    c.fill(277, 33, 278, 87, kShadow);
    c.fill(1, 88, 276, 98, kBody);
    c.fill(1, 88, 276, 89, kLight);
    c.fill(1, 97, 276, 98, kShadow);
    for (int x = 262; x < 274; x += 3) c.pixel(x, 93, kLight);  // resize grip
    // Close button: active, pressed, inactive.
    close_button(c, 1, 99, Rgb{150, 60, 60}, kText, false);
    close_button(c, 14, 99, Rgb{110, 40, 40}, kText, true);
    close_button(c, 27, 99, kIdleBottom, Rgb{150, 150, 156}, false);
    // Page buttons: raised, then pressed.
    button(c, 1, 114, 78, 14, "EXPLORER", false, false);
    button(c, 1, 129, 78, 14, "EXPLORER", true, false);
    button(c, 80, 114, 78, 14, "PLAYLIST", false, false);
    button(c, 80, 129, 78, 14, "PLAYLIST", true, false);
    // Tool buttons: normal row, then pointer-over row.
    const char* const tools[5] = {"LIST", "ADD", "SEL", "SORT", "DEL"};
    for (int i = 0; i < 5; ++i) {
        button(c, 1 + 40 * i, 145, 39, 12, tools[i], false, false);
        button(c, 1 + 40 * i, 160, 39, 12, tools[i], false, true);
    }
}

// "Copper": the blue-grey body turns warm brown, the green accents amber.
Rgb copper(Rgb c) {
    const auto clamp = [](int v) { return v < 0 ? 0 : v > 255 ? 255 : v; };
    return {clamp(c.b * 5 / 4 + c.g / 8), clamp((c.g * 3 + c.r) / 4), clamp(c.r * 3 / 5)};
}

// A colour as colors.ini holds it: red in the lowest byte.
long color(Rgb c) {
    if (skin_tone) c = skin_tone(c);
    return c.r | c.g << 8 | static_cast<long>(c.b) << 16;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && !(argc == 3 && std::strcmp(argv[2], "copper") == 0)) {
        std::fprintf(stderr, "usage: skingen <skin folder> [copper]\n");
        return 2;
    }
    if (argc == 3) {
        skin_tone = copper;
        deep_bevels = true;
    }
    const std::string dir = std::string(argv[1]) + "/";
    Canvas list(280, 176);
    draw_def_list(list);
    if (!list.save(dir + "def_list.bmp")) {
        std::fprintf(stderr, "skingen: cannot write %sdef_list.bmp\n", dir.c_str());
        return 1;
    }
    Canvas face(kFaceImageWidth, kFaceImageHeight);
    draw_face_image(face);
    Canvas big_mask(358, 234), small_mask(218, 81);
    draw_face_mask(big_mask, 358, 234);
    draw_face_mask(small_mask, 218, 81);
    if (!face.save(dir + "face.bmp") || !big_mask.save(dir + "face_big_mask.bmp") ||
        !small_mask.save(dir + "face_small_mask.bmp")) {
        std::fprintf(stderr, "skingen: cannot write the face images into %s\n", dir.c_str());
        return 1;
    }
    std::ofstream ini(dir + "colors.ini", std::ios::binary | std::ios::trunc);
    ini << "[Face]\r\n"
        << "Info_font=" << color(Rgb{150, 230, 160}) << "\r\n"
        << "R_scope=" << color(Rgb{255, 160, 60}) << "\r\n"
        << "L_scope=" << color(Rgb{96, 230, 120}) << "\r\n"
        << "\r\n[List]\r\n"
        << "List_color=" << color(kDeep) << "\r\n"
        << "List_font=" << color(Rgb{150, 230, 160}) << "\r\n"
        << "Menu_color=" << color(Rgb{48, 56, 72}) << "\r\n"
        << "Menu_font=" << color(kText) << "\r\n"
        << "Tabs_color=" << color(kBody) << "\r\n"
        << "Tabs_sel=" << color(kAccent) << "\r\n"
        << "Tabs_unsel=" << color(Rgb{64, 84, 120}) << "\r\n"
        << "Tabs_font=" << color(kText) << "\r\n";
    return ini ? 0 : 1;
}
