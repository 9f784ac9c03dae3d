// The main window's side of the settings dialog: what the dialog's pages ask
// of the player, and opening the dialog on a page.
#include <algorithm>

#include "app/plaer_unit.h"
#include "base/ini_file.h"
#include "base/program_files.h"
#include "playlist/splaylist.h"
#include "plugins/edstudio_unit.h"
#include "settings/init_form.h"
#include "win/files.h"

bool TQELAmp_Player::create_settings() {
    ed_studio_ = std::make_unique<Ted_studio>(plugins_->Studios);
    SettingsHost& host = *this;
    initial_ = std::make_unique<Tinitial>(instance_, host, dialog_, store_, core_.folders.program);
    if (!initial_->create(hwnd_)) return false;
    info_templates_changed();
    return true;
}

void TQELAmp_Player::show_settings(int page) {
    if (initial_) initial_->show_page(page);
}

std::string TQELAmp_Player::dialog_folder() {
    return playback_->last_folder;
}

void TQELAmp_Player::set_dialog_folder(const std::string& folder) {
    playback_->last_folder = folder;
}

// `Button1Click`: each button's icon (re)created or removed, in order.
void TQELAmp_Player::apply_trays() {
    for (size_t i = 0; i < settings_.show_tray.size(); ++i) {
        const size_t index = i + 1;
        if (settings_.show_tray[i]) {
            if (!tray_shown_[index]) add_tray(index);
        } else if (tray_shown_[index]) {
            remove_tray(index);
        }
    }
}

void TQELAmp_Player::menu_animation_changed() {
    if (list_)
        list_->set_menu_options(menu_animation(dialog_.menu_popup), [this] { return idle(); });
}

void TQELAmp_Player::columns_changed() {
    if (list_) list_->apply_columns(dialog_);
}

void TQELAmp_Player::info_templates_changed() {
    PlaybackControl& pc = *playback_;
    pc.info_template[0] = dialog_.info1_str;
    pc.info_template[1] = dialog_.info2_str;
    pc.info_template[2] = dialog_.info3_str;
}

void TQELAmp_Player::scope_changed() {
    reset_scope_colours();
    if (dialog_.scope_type == 0 && layout_) {
        scope_shown_ = false;
        invalidate(layout_->scope_area);
    }
}

void TQELAmp_Player::use_playlist_volume(bool on) {
    playback_->use_playlist_volume = on;
}

std::vector<std::string> TQELAmp_Player::plugin_file_names() {
    return plugins_->Decoders.FileNames;
}

std::vector<std::string> TQELAmp_Player::plugin_display_names() {
    return plugins_->Decoders.DisplayNames;
}

std::vector<std::string> TQELAmp_Player::declared_patterns() {
    return plugins_->Decoders.DeclaredPatterns;
}

std::vector<std::string> TQELAmp_Player::active_patterns() {
    return plugins_->Decoders.ActivePatterns;
}

// The working copy becomes the active patterns and goes to "plugins.ini",
// section "Media", one key per plugin file.
void TQELAmp_Player::set_active_patterns(const std::vector<std::string>& active) {
    TDecoder_plugin& d = plugins_->Decoders;
    const std::string path = plugins_->PluginFolder + "plugins.ini";
    IniFile ini = IniFile::load(path);
    for (size_t i = 0; i < d.FileNames.size() && i < active.size(); ++i) {
        d.ActivePatterns[i] = active[i];
        ini.write("Media", d.FileNames[i], active[i]);
    }
    ini.save(path);
}

namespace {

std::string joined(const ScriptLines& lines) {
    std::string out;
    for (const std::string& l : lines) out += l + "\r\n";
    return out;
}

ScriptLines split_lines(const std::string& text) {
    ScriptLines out;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out.push_back(line);
        start = end + 1;
    }
    return out;
}

}  // namespace

bool TQELAmp_Player::select_effect(const std::string& name, std::string& init, std::string& frame) {
    if (!select_effect(name)) return false;
    init = joined(ave_.init_lines);
    frame = joined(ave_.frame_lines);
    return true;
}

bool TQELAmp_Player::save_effect(const std::string& path, const std::string& init,
                                 const std::string& frame) {
    return save_ave(path, split_lines(init), split_lines(frame));
}

std::vector<std::string> TQELAmp_Player::studio_names() {
    return plugins_->Studios.Names;
}

bool TQELAmp_Player::edit_studio(int index) {
    if (!ed_studio_ || !ed_studio_->show_modal(initial_ ? initial_->handle() : hwnd_, index))
        return false;
    rebuild_studio_menu();
    return true;
}

void TQELAmp_Player::delete_studio(int index) {
    TStudio& studios = plugins_->Studios;
    if (index < 0 || index >= studios.StudioCount()) return;
    studio_menu_ = MenuModel();
    studios.DeleteStudio(index);
    studios.SaveStudios();
    rebuild_studio_menu();
}

// A skin is applied only when its face and both masks load, so a broken
// folder leaves the running skin as it was.
bool TQELAmp_Player::apply_skin(const std::string& name) {
    const std::string folder = core_.folders.skin(name);
    for (const char* file :
         {program_files::kSkinFace, program_files::kSkinBigMask, program_files::kSkinSmallMask}) {
        TFastDIB probe;
        if (!probe.LoadFromFile(folder + file) || probe.Empty()) return false;
    }
    const bool big = layout_ ? layout_->big : settings_.Max;
    if (!loadskin(name, big)) return false;
    if (list_) list_->loadlistskin(name);
    InvalidateRect(hwnd_, nullptr, FALSE);
    return true;
}
