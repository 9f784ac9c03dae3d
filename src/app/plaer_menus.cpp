// The main window's popup menus (main, options, playlist, studio and video
// menus on the skinned menu widget) and the action of every command.
#include <algorithm>

#include "app/about_unit.h"
#include "app/plaer_unit.h"
#include "playlist/splaylist.h"
#include "settings/init_form.h"
#include "win/files.h"

namespace {

MenuItem& add(MenuModel& menu, Command id, const char* caption = nullptr) {
    return menu.add(id_of(id), caption ? caption : command_caption(id));
}

}  // namespace

const TQELAmp_Player::Action TQELAmp_Player::kActions[] = {
    {Command::Exit, [](TQELAmp_Player& p, POINT) { PostMessageA(p.hwnd_, WM_CLOSE, 0, 0); }},
    {Command::Open, [](TQELAmp_Player& p, POINT) { p.playback_->open_butClick(); }},
    {Command::Play, [](TQELAmp_Player& p, POINT) { p.playback_->playfile(); }},
    {Command::Pause, [](TQELAmp_Player& p, POINT) { p.playback_->pause_butClick(); }},
    {Command::Stop, [](TQELAmp_Player& p, POINT) { p.playback_->stop_butClick(); }},
    {Command::Rewind, [](TQELAmp_Player& p, POINT) { p.playback_->rewind_release(); }},
    {Command::Forward, [](TQELAmp_Player& p, POINT) { p.playback_->forward_release(); }},
    {Command::DecoderOptions, [](TQELAmp_Player& p, POINT) { p.plugins_->Decoders.ShowOptions(); }},
    {Command::Previous, [](TQELAmp_Player& p, POINT) { p.list_->model().backplay(); }},
    {Command::Next, [](TQELAmp_Player& p, POINT) { p.list_->model().nextplay(); }},
    {Command::Playlist, [](TQELAmp_Player& p, POINT) { p.toggle_playlist(false); }},
    {Command::Explorer, [](TQELAmp_Player& p, POINT) { p.toggle_playlist(true); }},
    {Command::About,
     [](TQELAmp_Player& p, POINT) {
         show_about(p.instance_, p.hwnd_, p.core_.folders.program, p.settings_.Always_on_top);
     }},
    {Command::VolumeUp, [](TQELAmp_Player& p, POINT) { p.playback_->volume_up(); }},
    {Command::VolumeDown, [](TQELAmp_Player& p, POINT) { p.playback_->volume_down(); }},
    {Command::MainMenu, [](TQELAmp_Player& p, POINT at) { p.show_menu(at, Command::MainMenu); }},
    {Command::OptionsMenu,
     [](TQELAmp_Player& p, POINT at) { p.show_menu(at, Command::OptionsMenu); }},
    {Command::StudioMenu, [](TQELAmp_Player& p, POINT at) { p.show_menu(at, Command::StudioMenu); }},
    {Command::VideoMenu, [](TQELAmp_Player& p, POINT at) { p.show_menu(at, Command::VideoMenu); }},
    {Command::ListMenu, [](TQELAmp_Player& p, POINT at) { p.show_menu(at, Command::ListMenu); }},
    {Command::FileInfo,
     [](TQELAmp_Player& p, POINT) {
         p.song_fx_->open_loaded_file(p.playback_->current_file(),
                                      p.playback_->started_from_playlist);
     }},
    {Command::Settings, [](TQELAmp_Player& p, POINT) { p.show_settings(0); }},
    {Command::SettingsSystem, [](TQELAmp_Player& p, POINT) { p.show_settings(100); }},
    {Command::SettingsPlugins, [](TQELAmp_Player& p, POINT) { p.show_settings(102); }},
    {Command::SettingsFileTypes, [](TQELAmp_Player& p, POINT) { p.show_settings(103); }},
    {Command::SettingsLanguage, [](TQELAmp_Player& p, POINT) { p.show_settings(104); }},
    {Command::SettingsOutputFiles, [](TQELAmp_Player& p, POINT) { p.show_settings(106); }},
    {Command::SettingsStudios, [](TQELAmp_Player& p, POINT) { p.show_settings(107); }},
    {Command::SettingsDisplay, [](TQELAmp_Player& p, POINT) { p.show_settings(206); }},
    {Command::SettingsAve, [](TQELAmp_Player& p, POINT) { p.show_settings(207); }},
    {Command::SettingsPlayerSkin, [](TQELAmp_Player& p, POINT) { p.show_settings(205); }},
    {Command::Minimise, [](TQELAmp_Player& p, POINT) { ShowWindow(p.hwnd_, SW_MINIMIZE); }},
    {Command::FaceSize,
     [](TQELAmp_Player& p, POINT) {
         if (p.layout_) p.loadskin(p.skin_name_, !p.layout_->big);
     }},
    {Command::StayOnTop,
     [](TQELAmp_Player& p, POINT) {
         p.settings_.Always_on_top = !p.settings_.Always_on_top;
         p.setontop();
     }},
};

// `loadstudio_menu` for every studio.
void TQELAmp_Player::rebuild_studio_menu() {
    studio_menu_ = MenuModel();
    studio_menu_.title = "Studios";
    const TStudio& studios = plugins_->Studios;
    const unsigned room = index_in(Command::StudioLast, Command::StudioFirst) + 1;
    for (int i = 0; i < studios.StudioCount() && static_cast<unsigned>(i) < room; ++i)
        studio_menu_.add(id_of(nth_command(Command::StudioFirst, static_cast<unsigned>(i))),
                         studios.Names[static_cast<size_t>(i)]);
}

MenuModel TQELAmp_Player::main_menu() const {
    MenuModel m;
    m.title = "Veltrona v.0.73";
    add(m, Command::Settings);
    add(m, Command::DecoderOptions);
    MenuModel& skins = m.add_submenu("Skins");
    MenuModel& def = skins.add_submenu("Default");
    def.add(0, "::::Sub Menu Items").enabled = false;
    def.add(0, "Default skin");
    def.separator();
    m.separator();
    add(m, Command::Playlist);
    add(m, Command::Explorer);
    add(m, Command::FileInfo);
    m.separator();
    add(m, Command::About);
    m.separator();
    add(m, Command::Exit);
    // The options menu's pages, kept but not shown.
    const struct {
        Command id;
        const char* caption;
    } hidden[] = {{Command::SettingsSystem, "System"},
                  {Command::SettingsPlugins, "Plugins"},
                  {Command::SettingsFileTypes, "File types"},
                  {Command::SettingsLanguage, "Languages"},
                  {Command::SettingsOutputFiles, "Output text files"},
                  {Command::SettingsStudios, "Studios"},
                  {Command::SettingsDisplay, "Display"},
                  {Command::SettingsAve, "AVE"},
                  {Command::SettingsPlayerSkin, "Player skin"}};
    for (const auto& h : hidden) add(m, h.id, h.caption).hidden = true;
    return m;
}

MenuModel TQELAmp_Player::options_menu() const {
    MenuModel m;
    m.title = "Options";
    for (Command c :
         {Command::SettingsSystem, Command::SettingsPlugins, Command::SettingsFileTypes,
          Command::SettingsLanguage, Command::SettingsOutputFiles, Command::SettingsStudios,
          Command::SettingsDisplay, Command::SettingsAve, Command::SettingsPlayerSkin})
        add(m, c);
    m.separator();
    add(m, Command::DecoderOptions, "Decoder Options");
    return m;
}

// `loadlistmenu` for the playlist's entries in view: the first ten show.
MenuModel TQELAmp_Player::list_menu() const {
    MenuModel m;
    m.title = "Veltrona - PlayList";
    if (list_)
        for (const auto& [tag, caption] : list_->model().tray_items())
            m.add(id_of(nth_command(Command::ListEntryFirst, static_cast<unsigned>(tag))), caption)
                .tag = tag;
    return m;
}

// `loadvideomenus`: "None", the three internal scopes, then one radio item
// per effect file; the current visual is checked.
MenuModel TQELAmp_Player::video_menu() const {
    MenuModel m;
    m.title = "Video Effects";
    for (Command c :
         {Command::VideoNone, Command::VideoDots, Command::VideoLines, Command::VideoSolid})
        add(m, c);
    const std::vector<std::string> effects = effect_names();
    if (!effects.empty()) m.separator();
    const size_t room = index_in(Command::EffectLast, Command::EffectFirst) + 1;
    for (size_t i = 0; i < effects.size() && i < room; ++i)
        m.add(id_of(nth_command(Command::EffectFirst, static_cast<unsigned>(i))), effects[i]);
    Command checked = Command::VideoNone;
    if (dialog_.scope_type == 1)
        checked = nth_command(Command::VideoDots,
                              static_cast<unsigned>(std::clamp(dialog_.scope_int_type, 0, 2)));
    else if (dialog_.scope_type == 2 && !effects.empty())
        checked = nth_command(Command::EffectFirst, static_cast<unsigned>(dialog_.ave_index));
    m.check_radio(id_of(Command::VideoNone), id_of(Command::EffectLast), id_of(checked));
    return m;
}

void TQELAmp_Player::show_menu(POINT at, Command which) {
    const MenuAnimation chosen = menu_animation(dialog_.menu_popup);
    switch (which) {
        case Command::OptionsMenu:
            popup(options_menu(), at, chosen);
            break;
        case Command::StudioMenu:
            popup(studio_menu_, at, chosen);
            break;
        case Command::VideoMenu:
            popup(video_menu(), at, MenuAnimation::System);  // keeps its own animation
            break;
        case Command::ListMenu: {
            MenuModel m = list_menu();
            if (m.items.empty()) m.add(0, "The playlist is empty").enabled = false;
            popup(m, at, chosen);
            break;
        }
        default:
            popup(main_menu(), at, chosen);
            break;
    }
}

void TQELAmp_Player::popup(const MenuModel& menu, POINT at, MenuAnimation animation) {
    widgets::MenuOptions options;
    options.colours = menu_colours_;
    options.animation = animation;
    options.idle = [this] { return idle(); };
    if (const MenuItem* item = widgets::track_menu(hwnd_, at, menu, options))
        run_command(static_cast<Command>(item->id), at);
}

// `playlist_butClick` and `Explorer1Click`: a hidden window comes back on the
// chosen page, a shown one goes.
void TQELAmp_Player::toggle_playlist(bool explorer) {
    if (!list_) return;
    if (list_->visible()) {
        list_->set_visible(false);
        return;
    }
    list_->set_visible(true);
    if (explorer)
        list_->fbr_butClick();
    else
        list_->list_butClick();
}

bool TQELAmp_Player::run_command(Command id, POINT at) {
    if (!kMainWindowCommands.contains(id)) return false;
    for (const Action& a : kActions)
        if (a.id == id) {
            a.run(*this, at);
            return true;
        }
    if (id >= Command::VideoNone && id <= Command::VideoSolid) {
        dialog_.scope_type = id == Command::VideoNone ? 0 : 1;
        if (id != Command::VideoNone)
            dialog_.scope_int_type = static_cast<int32_t>(index_in(id, Command::VideoDots));
        if (id == Command::VideoNone && layout_) {
            scope_shown_ = false;  // the face's own scope background again
            invalidate(layout_->scope_area);
        }
        if (initial_) initial_->model_changed();  // the Display and AVE pages follow
    } else if (kEffectCommands.contains(id)) {
        const std::vector<std::string> effects = effect_names();
        const size_t i = index_in(id, Command::EffectFirst);
        if (i < effects.size() && select_effect(effects[i])) dialog_.scope_type = 2;
        if (initial_) initial_->model_changed();
    } else if (kListEntryCommands.contains(id)) {
        list_->model().listmenuclick(static_cast<int>(index_in(id, Command::ListEntryFirst)));
    } else if (kStudioCommands.contains(id)) {
        // `studiomenuclick`: the item's caption names the studio.
        for (const MenuItem& item : studio_menu_.items)
            if (item.id == id_of(id)) {
                TStudio& studios = plugins_->Studios;
                studios.LaunchStudio(studios.IndexOfName(item.caption), shell_open_program);
            }
    }
    return true;
}
