// The main window's skinned face: loading the skin, the window shape, the
// composed back buffer and the mouse on buttons and bars.
#include "app/plaer_unit.h"

#include "app/meter_display.h"
#include "playlist/list_skin.h"
#include "playlist/splaylist.h"
#include "base/ini_file.h"
#include "base/program_files.h"
#include "win/region.h"

namespace {

constexpr int kImageNormal = 0, kImageHover = 1, kImagePressed = 2;

bool is_title(FaceButton id) {
    return id >= FaceButton::MainMenu;
}

}  // namespace

bool TQELAmp_Player::loadskin(const std::string& name, bool big) {
    skin_name_ = name;
    const std::string folder = core_.folders.skin(name);
    TFastDIB mask;
    if (!mask.LoadFromFile(folder +
                           (big ? program_files::kSkinBigMask : program_files::kSkinSmallMask)))
        return false;  // the window keeps its shape and face
    if (GetFileAttributesA((folder + program_files::kSkinFace).c_str()) != INVALID_FILE_ATTRIBUTES)
        face_.LoadFromFile(folder + program_files::kSkinFace);
    if (face_.Empty()) return false;

    layout_ = big ? &FaceLayout::big_face() : &FaceLayout::small_face();
    settings_.Max = big;
    const IniFile colors = IniFile::load(folder + program_files::kSkinColors);
    face_colors_ = read_face_colors(colors);
    menu_colours_ = menu_colours(read_list_colors(colors));
    back_.SetSize(layout_->width, layout_->height, 24);
    scope_surface();
    SetWindowPos(hwnd_, nullptr, 0, 0, layout_->width, layout_->height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (win::Region shape = win::region_from_rects(mask_runs(mask)))
        win::set_window_region(hwnd_, std::move(shape), true);
    compose_face();
    return true;
}

void TQELAmp_Player::compose_face() {
    const FaceLayout& f = *layout_;
    CopyRect(back_, 0, 0, f.width, f.height, face_, f.background.left, f.background.top);
    const SkinPoint cap = window_active_ ? f.caption_active : f.caption_inactive;
    CopyRect(back_, f.caption_bar.left, f.caption_bar.top, f.caption_bar.width(),
             f.caption_bar.height(), face_, cap.x, cap.y);
    for (const FaceButtonTile& b : f.buttons) {
        int image = kImageNormal;
        if (is_title(b.id) && !window_active_) image = 1;
        if (b.id == FaceButton::StayOnTop)
            image = (window_active_ ? 0 : 2) + (settings_.Always_on_top ? 1 : 0);
        put_button(b, image);
    }
    state_shown_ = channels_shown_ = time_knob_ = SkinPoint{-1, -1};
    if (f.big) {
        draw_volume(playback_->knob_volume() / 10, playback_->knob_volume());
        draw_time_knob(playback_->knob_position());
    }
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void TQELAmp_Player::put_button(const FaceButtonTile& b, int image) {
    const SkinPoint src = b.images[static_cast<size_t>(image)];
    CopyRect(back_, b.dest.left, b.dest.top, b.dest.width(), b.dest.height(), face_, src.x, src.y);
    invalidate(b.dest);
}

void TQELAmp_Player::invalidate(const SkinRect& r) {
    RECT rc{r.left, r.top, r.right, r.bottom};
    InvalidateRect(hwnd_, &rc, FALSE);
}

// The back buffer, then the time digits and the information panel.
void TQELAmp_Player::paint_face(HDC dc) {
    back_.Draw(dc, 0, 0);
    paint_scope(dc);
    if (!layout_->big || displays_blank_) return;
    using namespace big_face;
    for (const LedGlyph& g :
         drawleds_glyphs(time_text_, layout_->digit_strip.x, kDigitStripWidth, kTimeDisplay.left))
        face_.DrawRect(dc, g.dest_x, kTimeDisplay.top, led_glyph_width(kDigitStripWidth),
                       kTimeDisplay.height(), g.source_x, layout_->digit_strip.y);
    win::Selected font(dc, info_font_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, face_colors_.Info_font);
    // Wide lines stand where the last meter tick moved them; the rest, and
    // every line while the meter is stopped, at the panel's left edge.
    win::ClipRect clip(dc,
                       RECT{kInfoPanel.left, kInfoPanel.top, kInfoPanel.right, kInfoPanel.bottom});
    for (size_t i = 0; i < core_.console.size() && i < 3; ++i) {
        const std::string& text = core_.console[i];
        const int x = meter_on_ ? panel_scroll_.x(i) : 0;
        TextOutA(dc, kInfoPanel.left + x, kInfoPanel.top + 13 * static_cast<int>(i), text.c_str(),
                 static_cast<int>(text.size()));
    }
}

// Either button: the button under the point is drawn pressed until the release.
void TQELAmp_Player::face_button_press(int x, int y) {
    hint_timer(false);
    SetCapture(hwnd_);
    pressed_ = layout_->button_at(x, y);
    if (pressed_) put_button(*pressed_, pressed_->id == FaceButton::StayOnTop ? 4 : kImagePressed);
}

void TQELAmp_Player::face_mouse_down(int x, int y) {
    face_button_press(x, y);
    if (!layout_->big) return;
    if (big_face::kVolumeBar.contains(x, y)) {
        volume_drag_ = true;
        playback_->volume_drag_begin();
        face_mouse_move(x, y, true);
    } else if (big_face::kTimeBar.contains(x, y)) {
        playback_->seek_begin(x);
    }
}

void TQELAmp_Player::face_mouse_move(int x, int y, bool left_down) {
    // While the meter is stopped, a move over the face shows the console again.
    if (!meter_on_ && displays_blank_ && layout_->big) {
        displays_blank_ = false;
        invalidate(big_face::kInfoPanel);
    }
    if (left_down && volume_drag_) {
        const int v = volume_at(big_face::kVolumeBar, y);
        if (v >= 0) playback_->setvolume(v);
    }
    if (left_down && playback_->seeking() && big_face::kTimeBar.contains(x, y)) {
        using namespace big_face;
        const int dir = playback_->seek_drag(x, kTimeBar.left, kTimeBar.width(), kKnobTimeW);
        if (dir != 0) {
            const SkinPoint src = dir > 0 ? kStateForward : kStateBack;
            CopyRect(back_, kState.left, kState.top, kState.width(), kState.height(), face_, src.x,
                     src.y);
            invalidate(kState);
            state_shown_ = src;
        }
    }
    hover(x, y);
    const FaceButtonTile* over = layout_->button_at(x, y);
    if (over && is_title(over->id)) over = nullptr;  // title buttons have no hover image
    if (over == hover_ || pressed_) return;
    if (hover_) put_button(*hover_, kImageNormal);
    hover_ = over;
    if (hover_) put_button(*hover_, kImageHover);
}

// The big face names what is under the pointer in the status line; elsewhere
// it shows information line 1.
void TQELAmp_Player::hover(int x, int y) {
    if (!layout_->big || volume_drag_ || playback_->seeking()) return;
    const std::string text = hover_text(*layout_, x, y, playback_->volume);
    if (!text.empty()) {
        console_set_first("> " + text);
    } else {
        console_set_first("> " + playback_->expandinfo(playback_->info_template[0]));
        hint_timer(false);
    }
    hint_timer(true);
}

void TQELAmp_Player::face_mouse_up(int x, int y, bool right) {
    hint_timer(false);
    if (GetCapture() == hwnd_) ReleaseCapture();
    pressed_ = nullptr;
    if (volume_drag_) {
        volume_drag_ = false;
        playback_->volume_drag_end();
    }
    if (playback_->seeking()) playback_->seek_end();
    const FaceButtonTile* hit = layout_->button_at(x, y);
    POINT at{x, y};
    ClientToScreen(hwnd_, &at);
    const FaceLayout* before = layout_;
    if (hit) run_command(face_command(hit->id, right), at);
    if (layout_ == before && IsWindow(hwnd_)) compose_face();
}

namespace {

BOOL CALLBACK place_on_top(HWND w, LPARAM order) {
    SetWindowPos(w, reinterpret_cast<HWND>(order), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return TRUE;
}

}  // namespace

// Every window of the player follows the stay-on-top flag. The main window
// goes up last and comes down first, so that the windows it owns stay above it.
void TQELAmp_Player::setontop() {
    const LPARAM order =
        reinterpret_cast<LPARAM>(settings_.Always_on_top ? HWND_TOPMOST : HWND_NOTOPMOST);
    if (!settings_.Always_on_top) place_on_top(hwnd_, order);
    EnumThreadWindows(GetCurrentThreadId(), place_on_top, order);
    if (settings_.Always_on_top) place_on_top(hwnd_, order);
}

void TQELAmp_Player::show_indicators(int state) {
    if (!layout_ || !layout_->big) return;
    using namespace big_face;
    // An indicator already showing its image is left alone.
    auto put = [&](const SkinRect& dest, SkinPoint src, SkinPoint* shown = nullptr) {
        if (shown) {
            if (*shown == src) return;
            *shown = src;
        }
        CopyRect(back_, dest.left, dest.top, dest.width(), dest.height(), face_, src.x, src.y);
        invalidate(dest);
    };
    if (state == 4) {
        if (!playback_->seeking()) put(kState, kStatePlaying, &state_shown_);
        put(kChannels, playback_->file_info().channels == 1 ? kOneChannel : kOtherChannel,
            &channels_shown_);
    } else if (state == 5) {
        put(kState, kStatePaused, &state_shown_);
    } else if (state == 0 || state == 3) {
        put(kState, kStateBackground, &state_shown_);
        put(kChannels, kChannelsBackground, &channels_shown_);
        put(kTimeDisplay, kTimeDisplayBackground);
        put(kInfoPanel, kInfoPanelBackground);
        put(layout_->scope_area, layout_->scope_background);
    }
}
