// The main window's two faces: every rectangle of face.bmp and of the window,
// the window shape from a mask, and the arithmetic of the bars.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/skin_geometry.h"

class IniFile;
class TFastDIB;

enum class FaceButton {
    Open,
    Previous,
    Rewind,
    Stop,
    Play,
    Pause,
    Forward,
    Next,  // transport
    Playlist,
    Studios,
    VideoEffects,
    Options,
    FileInfo,  // big face only
    MainMenu,
    Minimise,
    FaceSize,
    Close,  // title buttons
    StayOnTop,
};
inline constexpr int kFaceButtons = 18;

// Image order: transport and big-face buttons normal, hover, pressed; title
// buttons active, inactive, pressed; the stay-on-top toggle active off,
// active on, inactive off, inactive on, pressed.
struct FaceButtonTile {
    FaceButton id = FaceButton::Open;
    SkinRect dest;
    std::array<SkinPoint, 5> images{};
};

struct FaceLayout {
    bool big = true;
    int width = 0, height = 0;
    SkinRect background;  // source
    SkinRect caption_bar;
    SkinPoint caption_active, caption_inactive;
    SkinRect scope_area;
    SkinPoint scope_background;
    SkinPoint digit_strip;
    std::vector<FaceButtonTile> buttons;  // those of this face

    static const FaceLayout& big_face();
    static const FaceLayout& small_face();
    const FaceButtonTile* button(FaceButton id) const;
    // The button under a point, or nullptr.
    const FaceButtonTile* button_at(int x, int y) const;
    // Left button held at a point that moves the window (caption bar or empty face).
    bool drags_window(int x, int y) const;
};

// Big-face displays.
namespace big_face {
inline constexpr SkinRect kVolumeBar{349, 79, 357, 134};
inline constexpr SkinPoint kVolumeLevel0{506, 80};
inline constexpr SkinPoint kVolumeKnob{91, 245}, kVolumeKnobPressed{100, 245};
inline constexpr SkinRect kTimeBar{119, 224, 342, 232};
inline constexpr SkinPoint kTimeBarBackground{276, 225};
inline constexpr SkinPoint kTimeKnob{118, 245}, kTimeKnobPressed{133, 245};
inline constexpr int kKnobVolumeW = 8, kKnobVolumeH = 8, kKnobTimeW = 14, kKnobTimeH = 8;
inline constexpr SkinRect kTimeDisplay{129, 180, 210, 195};
inline constexpr int kDigitStripWidth = 108;  // twelve glyphs
inline constexpr SkinPoint kTimeDisplayBackground{286, 181};
inline constexpr SkinRect kChannels{135, 201, 176, 218};
inline constexpr SkinPoint kChannelsBackground{292, 202}, kOneChannel{43, 63}, kOtherChannel{1, 63};
inline constexpr SkinRect kState{185, 202, 207, 218};
inline constexpr SkinPoint kStateBackground{110, 45}, kStatePlaying{133, 45}, kStatePaused{110, 63},
    kStateBack{87, 63}, kStateForward{133, 63};
inline constexpr SkinRect kInfoPanel{213, 180, 346, 216};
inline constexpr SkinPoint kInfoPanelBackground{370, 181};
// Source of the volume bar image for level 0..10.
SkinPoint volume_level(int level);
}  // namespace big_face

// The big face's hover text at a point, without the "> " prefix; empty where
// no element has one. Buttons first, in transport order, then the bars.
std::string hover_text(const FaceLayout& face, int x, int y, int volume);

// Runs of pixels that are not pure white, row by row; the rightmost column
// never belongs. Their union is the window's shape.
std::vector<SkinRect> mask_runs(const TFastDIB& mask);

// Volume from the pointer on the vertical bar; -1 outside 0..100.
int volume_at(const SkinRect& bar, int y);
// Top of the volume knob: at the pointer while dragging, else from the volume.
int volume_knob_top(const SkinRect& bar, int knob_h, bool dragging, int pointer_y, int volume);
// Left of the time knob, or -1 when there is no length to place it by.
int time_knob_left(const SkinRect& bar, int knob_w, bool dragging, int pointer_x, int position_ms,
                   int length_ms);

// Section "Face" of colors.ini; missing or malformed values keep the defaults.
struct FaceColors {
    uint32_t Info_font = 15510551;
    uint32_t R_scope = 16744448;
    uint32_t L_scope = 4639799;
};
FaceColors read_face_colors(const IniFile& colors);
