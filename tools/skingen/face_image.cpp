#include "face_image.h"

#include "app/face_layout.h"

namespace {

const Rgb kBody{38, 44, 56}, kPanel{16, 20, 28}, kLight{92, 108, 136}, kShadow{12, 14, 20};
const Rgb kBandTop{78, 104, 150}, kBandBottom{44, 60, 92};
const Rgb kIdleTop{84, 88, 96}, kIdleBottom{52, 55, 62};
const Rgb kText{230, 236, 245}, kAccent{96, 230, 120}, kLed{120, 240, 150};

// A face background: body with a sunken display well at the scope.
void background(Canvas& c, SkinRect src, SkinRect scope) {
    c.vgradient(src.left, src.top, src.right, src.bottom, Rgb{50, 58, 74}, kBody);
    c.bevel(src.left, src.top, src.right, src.bottom, kLight, kShadow);
    c.fill(src.left + scope.left, src.top + scope.top, src.left + scope.right,
           src.top + scope.bottom, kPanel);
    c.bevel(src.left + scope.left - 1, src.top + scope.top - 1, src.left + scope.right + 1,
            src.top + scope.bottom + 1, kShadow, kLight);
}

void caption(Canvas& c, SkinPoint at, SkinRect bar, bool active) {
    c.vgradient(at.x, at.y, at.x + bar.width(), at.y + bar.height(), active ? kBandTop : kIdleTop,
                active ? kBandBottom : kIdleBottom);
    if (bar.height() > 20)
        c.label(at.x, at.y + 18, at.x + bar.width(), at.y + bar.height(), "VELTRONA",
                active ? kText : Rgb{150, 150, 156});
}

// The glyph of a transport button, centred.
void glyph(Canvas& c, FaceButton id, int x, int y, int w, int h, Rgb ink) {
    const int cx = x + w / 2, cy = y + h / 2;
    switch (id) {
        case FaceButton::Play:
            c.triangle(cx - 2, cy - 4, 9, 1, ink);
            break;
        case FaceButton::Pause:
            c.fill(cx - 3, cy - 3, cx - 1, cy + 4, ink);
            c.fill(cx + 1, cy - 3, cx + 3, cy + 4, ink);
            break;
        case FaceButton::Stop:
            c.fill(cx - 3, cy - 3, cx + 3, cy + 3, ink);
            break;
        case FaceButton::Rewind:
            c.triangle(cx - 1, cy - 3, 7, -1, ink);
            c.triangle(cx + 4, cy - 3, 7, -1, ink);
            break;
        case FaceButton::Forward:
            c.triangle(cx - 4, cy - 3, 7, 1, ink);
            c.triangle(cx + 1, cy - 3, 7, 1, ink);
            break;
        case FaceButton::Previous:
            c.fill(cx - 5, cy - 3, cx - 3, cy + 4, ink);
            c.triangle(cx + 2, cy - 3, 7, -1, ink);
            break;
        case FaceButton::Next:
            c.triangle(cx - 3, cy - 3, 7, 1, ink);
            c.fill(cx + 3, cy - 3, cx + 5, cy + 4, ink);
            break;
        case FaceButton::Open:
            for (int i = 0; i < 4; ++i) c.fill(cx - i, cy - 4 + i, cx + i + 1, cy - 3 + i, ink);
            c.fill(cx - 4, cy + 2, cx + 5, cy + 4, ink);
            break;
        default:
            break;
    }
}

const char* label_of(FaceButton id) {
    switch (id) {
        case FaceButton::Playlist:
            return "PLAYLIST";
        case FaceButton::Studios:
            return "STUDIOS";
        case FaceButton::VideoEffects:
            return "VIDEO FX";
        case FaceButton::Options:
            return "OPTIONS";
        case FaceButton::FileInfo:
            return "FILE INFO";
        default:
            return nullptr;
    }
}

// state: 0 normal or active, 1 hover or inactive, 2 pressed.
void button_image(Canvas& c, const FaceButtonTile& b, int image, bool title) {
    const SkinPoint at = b.images[static_cast<size_t>(image)];
    const int w = b.dest.width(), h = b.dest.height();
    const bool pressed =
        title ? image == 2 || (b.id == FaceButton::StayOnTop && image == 4) : image == 2;
    const bool hover = !title && image == 1;
    const bool inactive =
        title && (b.id == FaceButton::StayOnTop ? image == 2 || image == 3 : image == 1);
    Rgb top = hover ? Rgb{88, 110, 150} : Rgb{66, 78, 100};
    Rgb bottom = hover ? Rgb{56, 72, 104} : Rgb{44, 52, 68};
    if (pressed) top = Rgb{30, 36, 48}, bottom = Rgb{44, 52, 68};
    if (inactive) top = kIdleTop, bottom = kIdleBottom;
    c.vgradient(at.x, at.y, at.x + w, at.y + h, top, bottom);
    if (pressed)
        c.bevel(at.x, at.y, at.x + w, at.y + h, kShadow, kLight);
    else
        c.bevel(at.x, at.y, at.x + w, at.y + h, kLight, kShadow);
    const Rgb ink = inactive ? Rgb{150, 150, 156} : hover || pressed ? kAccent : kText;
    const int o = pressed ? 1 : 0;
    if (const char* text = label_of(b.id)) {
        c.label(at.x + o, at.y + o, at.x + w + o, at.y + h + o, text, ink);
        return;
    }
    const int cx = at.x + w / 2 + o, cy = at.y + h / 2 + o;
    switch (b.id) {
        case FaceButton::Close:
            for (int i = -2; i <= 2; ++i) {
                c.pixel(cx + i, cy + i, ink);
                c.pixel(cx - i, cy + i, ink);
            }
            break;
        case FaceButton::Minimise:
            c.fill(cx - 2, cy + 1, cx + 3, cy + 2, ink);
            break;
        case FaceButton::FaceSize:
            c.bevel(cx - 2, cy - 2, cx + 3, cy + 3, ink, ink);
            break;
        case FaceButton::MainMenu:
            for (int i = -1; i <= 1; ++i) c.fill(cx - 2, cy + 2 * i, cx + 3, cy + 2 * i + 1, ink);
            break;
        case FaceButton::StayOnTop:
            // On: a filled dot; off: a ring.
            c.fill(cx - 1, cy - 1, cx + 2, cy + 2, (image == 1 || image == 3) ? kAccent : bottom);
            c.bevel(cx - 2, cy - 2, cx + 3, cy + 3, ink, ink);
            break;
        default:
            glyph(c, b.id, at.x + o, at.y + o, w, h, ink);
            break;
    }
}

// Seven-segment digits 0..9, ":" and "-" in 12 cells.
void digit_strip(Canvas& c, int x, int y, int w, int h, Rgb on) {
    static const char* const segments[12] = {"abcdef", "bc",  "abdeg",   "abcdg",  "bcfg", "acdfg",
                                             "acdefg", "abc", "abcdefg", "abcdfg", ":",    "g"};
    c.fill(x, y, x + w, y + h, kPanel);
    const int cw = w / 12;
    for (int i = 0; i < 12; ++i) {
        const int l = x + i * cw + 1, r = x + (i + 1) * cw - 2, t = y + 2, b = y + h - 2,
                  m = (t + b) / 2;
        for (const char* s = segments[i]; *s; ++s) {
            switch (*s) {
                case 'a':
                    c.fill(l + 1, t, r, t + 1, on);
                    break;
                case 'b':
                    c.fill(r, t + 1, r + 1, m, on);
                    break;
                case 'c':
                    c.fill(r, m + 1, r + 1, b, on);
                    break;
                case 'd':
                    c.fill(l + 1, b, r, b + 1, on);
                    break;
                case 'e':
                    c.fill(l, m + 1, l + 1, b, on);
                    break;
                case 'f':
                    c.fill(l, t + 1, l + 1, m, on);
                    break;
                case 'g':
                    c.fill(l + 1, m, r, m + 1, on);
                    break;
                case ':':
                    c.fill((l + r) / 2, t + 3, (l + r) / 2 + 1, t + 4, on);
                    c.fill((l + r) / 2, b - 3, (l + r) / 2 + 1, b - 2, on);
                    break;
            }
        }
    }
}

void well(Canvas& c, SkinPoint at, int w, int h) {
    c.fill(at.x, at.y, at.x + w, at.y + h, kPanel);
    c.bevel(at.x, at.y, at.x + w, at.y + h, kShadow, kLight);
}

}  // namespace

void draw_face_image(Canvas& c) {
    c.fill(0, 0, kFaceImageWidth, kFaceImageHeight, kBody);
    for (const FaceLayout* f : {&FaceLayout::big_face(), &FaceLayout::small_face()}) {
        background(c, f->background, f->scope_area);
        caption(c, f->caption_active, f->caption_bar, true);
        caption(c, f->caption_inactive, f->caption_bar, false);
        for (const FaceButtonTile& b : f->buttons) {
            const bool title = b.id >= FaceButton::MainMenu;
            const int images = b.id == FaceButton::StayOnTop ? 5 : 3;
            for (int i = 0; i < images; ++i) button_image(c, b, i, title);
        }
        well(c, f->scope_background, f->scope_area.width(), f->scope_area.height());
        digit_strip(c, f->digit_strip.x, f->digit_strip.y, 108, 16, kLed);
    }
    using namespace big_face;
    // Time, channel, state and information displays: sunken wells.
    well(c, kTimeDisplayBackground, kTimeDisplay.width(), kTimeDisplay.height());
    well(c, kChannelsBackground, kChannels.width(), kChannels.height());
    well(c, kStateBackground, kState.width(), kState.height());
    well(c, kInfoPanelBackground, kInfoPanel.width(), kInfoPanel.height());
    c.fill(kTimeBarBackground.x, kTimeBarBackground.y, kTimeBarBackground.x + kTimeBar.width(),
           kTimeBarBackground.y + kTimeBar.height(), kPanel);
    c.fill(kTimeBarBackground.x, kTimeBarBackground.y + 3, kTimeBarBackground.x + kTimeBar.width(),
           kTimeBarBackground.y + 5, Rgb{64, 84, 120});
    // Channel images: one channel, two channels.
    well(c, kOneChannel, kChannels.width(), kChannels.height());
    c.label(kOneChannel.x, kOneChannel.y, kOneChannel.x + kChannels.width(),
            kOneChannel.y + kChannels.height(), "MONO", kAccent);
    well(c, kOtherChannel, kChannels.width(), kChannels.height());
    c.label(kOtherChannel.x, kOtherChannel.y, kOtherChannel.x + kChannels.width(),
            kOtherChannel.y + kChannels.height(), "STEREO", kAccent);
    // State images.
    for (SkinPoint p : {kStatePlaying, kStatePaused, kStateBack, kStateForward})
        well(c, p, kState.width(), kState.height());
    glyph(c, FaceButton::Play, kStatePlaying.x, kStatePlaying.y, kState.width(), kState.height(),
          kAccent);
    glyph(c, FaceButton::Pause, kStatePaused.x, kStatePaused.y, kState.width(), kState.height(),
          kAccent);
    glyph(c, FaceButton::Rewind, kStateBack.x, kStateBack.y, kState.width(), kState.height(),
          kAccent);
    glyph(c, FaceButton::Forward, kStateForward.x, kStateForward.y, kState.width(), kState.height(),
          kAccent);
    // Volume levels 0..10 and the knobs.
    for (int level = 0; level <= 10; ++level) {
        const SkinPoint p = volume_level(level);
        const int w = kVolumeBar.width(), h = kVolumeBar.height();
        c.fill(p.x, p.y, p.x + w, p.y + h, kPanel);
        const int lit = h * level / 10;
        c.vgradient(p.x + 2, p.y + h - lit, p.x + w - 2, p.y + h, kAccent, Rgb{40, 120, 60});
    }
    for (SkinPoint p : {kVolumeKnob, kVolumeKnobPressed}) {
        c.fill(p.x, p.y, p.x + kKnobVolumeW, p.y + kKnobVolumeH,
               p == kVolumeKnob ? kText : kAccent);
        c.bevel(p.x, p.y, p.x + kKnobVolumeW, p.y + kKnobVolumeH, kText, kShadow);
    }
    for (SkinPoint p : {kTimeKnob, kTimeKnobPressed}) {
        c.fill(p.x, p.y, p.x + kKnobTimeW, p.y + kKnobTimeH, p == kTimeKnob ? kText : kAccent);
        c.bevel(p.x, p.y, p.x + kKnobTimeW, p.y + kKnobTimeH, kText, kShadow);
    }
}

void draw_face_mask(Canvas& c, int width, int height) {
    const Rgb white{255, 255, 255}, black{0, 0, 0};
    c.fill(0, 0, width, height, black);
    // Rounded corners of radius 4.
    static const int cut[4] = {4, 2, 1, 1};
    for (int y = 0; y < 4; ++y)
        for (int i = 0; i < cut[y]; ++i) {
            c.pixel(i, y, white);
            c.pixel(width - 1 - i, y, white);
            c.pixel(i, height - 1 - y, white);
            c.pixel(width - 1 - i, height - 1 - y, white);
        }
}
