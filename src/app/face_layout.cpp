#include "app/face_layout.h"

#include <algorithm>

#include "effects/FastDIB.h"
#include "base/ini_file.h"

namespace {

using B = FaceButton;

// The same three images in both faces.
FaceButtonTile tile(B id, SkinRect dest, SkinPoint normal, SkinPoint hover, SkinPoint pressed) {
    return {id, dest, {normal, hover, pressed, SkinPoint{}, SkinPoint{}}};
}

std::vector<FaceButtonTile> transport(bool big) {
    return {
        big ? tile(B::Open, {9, 193, 34, 210}, {2, 101}, {2, 156}, {2, 210})
            : tile(B::Open, {72, 59, 107, 75}, {106, 110}, {106, 165}, {106, 219}),
        tile(B::Previous, big ? SkinRect{44, 202, 66, 217} : SkinRect{9, 36, 31, 51}, {37, 110},
             {37, 165}, {37, 219}),
        tile(B::Rewind, big ? SkinRect{44, 185, 67, 201} : SkinRect{9, 19, 32, 35}, {37, 93},
             {37, 148}, {37, 202}),
        tile(B::Stop, big ? SkinRect{68, 175, 85, 189} : SkinRect{33, 9, 50, 23}, {61, 83},
             {61, 138}, {61, 192}),
        tile(B::Play, big ? SkinRect{68, 191, 85, 207} : SkinRect{33, 25, 50, 41}, {61, 99},
             {61, 154}, {61, 208}),
        tile(B::Pause, big ? SkinRect{68, 209, 85, 225} : SkinRect{33, 43, 50, 59}, {61, 117},
             {61, 172}, {61, 226}),
        tile(B::Forward, big ? SkinRect{87, 185, 108, 200} : SkinRect{52, 19, 73, 34}, {80, 93},
             {80, 148}, {80, 202}),
        tile(B::Next, big ? SkinRect{87, 202, 108, 217} : SkinRect{52, 36, 73, 51}, {80, 110},
             {80, 165}, {80, 219}),
    };
}

// Title buttons: images at x in rows 260 (active), 281 or 274 (inactive), 270 or 267 (pressed).
FaceButtonTile title(B id, SkinRect dest, int x, bool big) {
    return {id, dest, {SkinPoint{x, 260}, {x, big ? 281 : 274}, {x, big ? 270 : 267}, {}, {}}};
}

FaceLayout make_big() {
    FaceLayout f;
    f.big = true;
    f.width = 358;
    f.height = 234;
    f.background = {157, 1, 515, 235};
    f.caption_bar = {19, 3, 91, 45};
    f.caption_active = {1, 1};
    f.caption_inactive = {75, 1};
    f.scope_area = {105, 9, 347, 168};
    f.scope_background = {262, 10};
    f.digit_strip = {1, 45};
    f.buttons = transport(true);
    const struct {
        B id;
        SkinRect dest;
        int row;
    } extra[] = {{B::Playlist, {0, 138, 70, 151}, 374},
                 {B::Studios, {13, 104, 83, 117}, 346},
                 {B::VideoEffects, {21, 53, 91, 66}, 304},
                 {B::Options, {20, 70, 90, 83}, 318},
                 {B::FileInfo, {17, 87, 87, 100}, 332}};
    for (const auto& e : extra)
        f.buttons.push_back(tile(e.id, e.dest, {2, e.row}, {74, e.row}, {146, e.row}));
    f.buttons.push_back(title(B::MainMenu, {71, 6, 79, 15}, 127, true));
    f.buttons.push_back(title(B::Minimise, {49, 6, 57, 15}, 109, true));
    f.buttons.push_back(title(B::FaceSize, {38, 6, 46, 15}, 100, true));
    f.buttons.push_back(title(B::Close, {27, 6, 35, 15}, 91, true));
    f.buttons.push_back({B::StayOnTop,
                         {60, 6, 68, 15},
                         {SkinPoint{118, 260}, {137, 260}, {118, 281}, {137, 281}, {118, 270}}});
    return f;
}

FaceLayout make_small() {
    FaceLayout f;
    f.big = false;
    f.width = 218;
    f.height = 81;
    f.background = {219, 236, 437, 317};
    f.caption_bar = {83, 0, 207, 10};
    f.caption_active = {218, 330};
    f.caption_inactive = {218, 319};
    f.scope_area = {86, 15, 213, 51};
    f.scope_background = {305, 251};
    f.digit_strip = {218, 341};
    f.buttons = transport(false);
    f.buttons.push_back(title(B::MainMenu, {90, 3, 96, 9}, 146, false));
    f.buttons.push_back(title(B::Minimise, {180, 3, 186, 9}, 167, false));
    f.buttons.push_back(title(B::FaceSize, {188, 3, 194, 9}, 174, false));
    f.buttons.push_back(title(B::Close, {196, 3, 202, 9}, 181, false));
    f.buttons.push_back({B::StayOnTop,
                         {172, 3, 178, 9},
                         {SkinPoint{153, 260}, {160, 260}, {153, 274}, {160, 274}, {153, 267}}});
    return f;
}

}  // namespace

const FaceLayout& FaceLayout::big_face() {
    static const FaceLayout f = make_big();
    return f;
}

const FaceLayout& FaceLayout::small_face() {
    static const FaceLayout f = make_small();
    return f;
}

const FaceButtonTile* FaceLayout::button(FaceButton id) const {
    for (const FaceButtonTile& b : buttons)
        if (b.id == id) return &b;
    return nullptr;
}

const FaceButtonTile* FaceLayout::button_at(int x, int y) const {
    for (const FaceButtonTile& b : buttons)
        if (b.dest.contains(x, y)) return &b;
    return nullptr;
}

bool FaceLayout::drags_window(int x, int y) const {
    // Buttons take their clicks, title buttons on the caption bar included.
    for (const FaceButtonTile& b : buttons)
        if (b.dest.contains(x, y)) return false;
    if (caption_bar.contains(x, y)) return true;
    if (scope_area.contains(x, y)) return false;
    if (big) {
        using namespace big_face;
        for (const SkinRect& r :
             {kVolumeBar, kTimeBar, kTimeDisplay, kChannels, kState, kInfoPanel})
            if (r.contains(x, y)) return false;
    }
    return true;
}

SkinPoint big_face::volume_level(int level) {
    if (level <= 0) return kVolumeLevel0;
    level = std::min(level, 10);
    return {1 + 9 * (level - 1), 245};
}

std::vector<SkinRect> mask_runs(const TFastDIB& mask) {
    std::vector<SkinRect> runs;
    if (mask.Empty()) return runs;
    const int w = mask.Width, h = mask.AbsHeight;
    for (int y = 0; y < h; ++y) {
        const int row = mask.PictureRow(y);
        int start = -1;
        for (int x = 0; x < w - 1; ++x) {
            const FColor c = mask.GetPixel(row, x);
            const bool inside = !(c.r == 255 && c.g == 255 && c.b == 255);
            if (inside && start < 0) start = x;
            if (!inside && start >= 0) {
                runs.push_back({start, y, x, y + 1});
                start = -1;
            }
        }
        if (start >= 0) runs.push_back({start, y, w - 1, y + 1});
    }
    return runs;
}

int volume_at(const SkinRect& bar, int y) {
    const int v = static_cast<int>((bar.bottom - y) / (bar.height() * 0.01));
    return v >= 0 && v <= 100 ? v : -1;
}

int volume_knob_top(const SkinRect& bar, int knob_h, bool dragging, int pointer_y, int volume) {
    const int h = dragging ? pointer_y : bar.bottom - bar.height() * volume / 100;
    return std::min(h, bar.bottom - knob_h);
}

int time_knob_left(const SkinRect& bar, int knob_w, bool dragging, int pointer_x, int position_ms,
                   int length_ms) {
    if (dragging) return pointer_x;
    if (length_ms == 0) return -1;
    return bar.left +
           static_cast<int>(static_cast<long long>(bar.width() - knob_w) * position_ms / length_ms);
}

FaceColors read_face_colors(const IniFile& ini) {
    FaceColors c;
    uint32_t v = 0;
    if (parse_skin_color(ini.read("Face", "Info_font", ""), v)) c.Info_font = v;
    if (parse_skin_color(ini.read("Face", "R_scope", ""), v)) c.R_scope = v;
    if (parse_skin_color(ini.read("Face", "L_scope", ""), v)) c.L_scope = v;
    return c;
}

std::string hover_text(const FaceLayout& face, int x, int y, int volume) {
    if (!face.big) return {};
    static const char* const kTexts[] = {"Load file",     "Previous/Playlist menu",
                                         "Rewind",        "Stop",
                                         "Play",          "Pause/Unpause",
                                         "Forward",       "Next/Playlist menu",
                                         "PlayList",      "Studios",
                                         "Video effects", "Options",
                                         "File Info"};
    for (int id = 0; id <= static_cast<int>(FaceButton::FileInfo); ++id)
        for (const FaceButtonTile& b : face.buttons)
            if (static_cast<int>(b.id) == id && b.dest.contains(x, y)) return kTexts[id];
    if (big_face::kVolumeBar.contains(x, y))
        return "Volume " + std::to_string(std::min(volume, 100)) + "%";
    if (big_face::kTimeBar.contains(x, y)) return "Timebar";
    return {};
}
