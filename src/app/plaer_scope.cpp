// The main window's scope: the effect surface in the scope area, the samples
// of each tick, the internal scope and the AVE scripts that draw on it.
#include "app/plaer_unit.h"

#include "app/meter_display.h"

// Re-created with the scope area's size whenever a face is applied.
void TQELAmp_Player::scope_surface() {
    const SkinRect& area = layout_->scope_area;
    prepare_effect_surface(scope_, area.width(), area.height());
    renderer_.surface = &scope_;
    renderer_.set_geometry();
    renderer_.on_render = [this](const TFastDIB& surface) {
        if (!layout_) return;
        const SkinRect& a = layout_->scope_area;
        surface.Draw(own_dc_->get(), a.left, a.top);
        scope_shown_ = true;
    };
    renderer_.attach(ave_);
    scope_shown_ = false;
}

// Step four of a playing tick: this block's samples and, when they are new,
// one frame of the chosen visual.
void TQELAmp_Player::scope_tick() {
    uint8_t flag_a = 0, flag_b = 0, flag_c = 0, new_data = 0;
    plugins_->Decoders.GetChannelData(AveRenderer::kFrames, samples_.data(), &flag_a, &flag_b,
                                      &flag_c, &new_data);
    if (dialog_.scope_type <= 0 || scope_.Empty()) return;
    renderer_.set_geometry();
    if (dialog_.scope_col_dynch) {
        scope_colour_1_ = next_scope_colour(scope_colour_1_, scope_base_1());
        scope_colour_2_ = next_scope_colour(scope_colour_2_, scope_base_2());
    } else {
        reset_scope_colours();
    }
    renderer_.colour_1 = scope_colour_1_;
    renderer_.colour_2 = scope_colour_2_;
    renderer_.samples = samples_.data();
    if (!new_data) return;
    const VisualType type = dialog_.scope_type == 2 ? VisualType::Ave : VisualType::Internal;
    const ScopeKind kind = dialog_.scope_int_type == 0   ? ScopeKind::Dots
                           : dialog_.scope_int_type == 2 ? ScopeKind::Solid
                                                         : ScopeKind::Lines;
    renderer_.draw_frame(type, kind, ave_);
}

// Colour 1 draws the even samples, colour 2 the odd ones: from the skin or
// from the dialog's scope page.
uint32_t TQELAmp_Player::scope_base_1() const {
    return dialog_.scope_col_skin ? face_colors_.R_scope : dialog_.scope_R;
}

uint32_t TQELAmp_Player::scope_base_2() const {
    return dialog_.scope_col_skin ? face_colors_.L_scope : dialog_.scope_L;
}

void TQELAmp_Player::reset_scope_colours() {
    scope_colour_1_ = scope_base_1();
    scope_colour_2_ = scope_base_2();
}

// Loads the named effect into the scripts and runs its initialisation; an
// unknown name changes nothing.
bool TQELAmp_Player::select_effect(const std::string& name) {
    const std::vector<std::string> names = effect_names();
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == name) {
            if (!ave_.select(core_.folders.program + "ave\\", name)) return false;
            dialog_.ave_index = static_cast<int>(i);
            return true;
        }
    return false;
}

std::string TQELAmp_Player::effect_name() const {
    const std::vector<std::string> names = effect_names();
    const int i = dialog_.ave_index;
    return i >= 0 && static_cast<size_t>(i) < names.size() ? names[static_cast<size_t>(i)]
                                                           : std::string();
}

// FormPaint's part: the last frame, unless the displays were blanked.
void TQELAmp_Player::paint_scope(HDC dc) {
    if (scope_shown_ && !scope_.Empty()) {
        const SkinRect& a = layout_->scope_area;
        scope_.Draw(dc, a.left, a.top);
    }
}
