// The main window's popup menus (the main menu, the options, studio, video
// and playlist menus, as plain system menus) and the action of every command.
#include <algorithm>

#include "app/plaer_unit.h"
#include "playlist/splaylist.h"
#include "win/files.h"

namespace {

void add(win::PopupMenu& menu, Command id, UINT flags = 0, const char* caption = nullptr) {
    menu.add(id_of(id), caption ? caption : command_caption(id), flags);
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
    {Command::Playlist,
     [](TQELAmp_Player& p, POINT) { p.list_->set_visible(!p.list_->visible()); }},
    {Command::VolumeUp, [](TQELAmp_Player& p, POINT) { p.playback_->volume_up(); }},
    {Command::VolumeDown, [](TQELAmp_Player& p, POINT) { p.playback_->volume_down(); }},
    {Command::MainMenu, [](TQELAmp_Player& p, POINT at) { p.show_menu(at, Command::MainMenu); }},
    {Command::OptionsMenu,
     [](TQELAmp_Player& p, POINT at) { p.show_menu(at, Command::OptionsMenu); }},
    {Command::StudioMenu, [](TQELAmp_Player& p, POINT at) { p.show_menu(at, Command::StudioMenu); }},
    {Command::VideoMenu, [](TQELAmp_Player& p, POINT at) { p.show_menu(at, Command::VideoMenu); }},
    {Command::ListMenu, [](TQELAmp_Player& p, POINT at) { p.show_menu(at, Command::ListMenu); }},
    {Command::FileInfo, [](TQELAmp_Player&, POINT) {}},  // the file information window comes later
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

void TQELAmp_Player::rebuild_studio_menu() {
    studio_menu_ = win::PopupMenu();
    const TStudio& studios = plugins_->Studios;
    for (int i = 0; i < studios.StudioCount(); ++i)
        if (!studio_menu_.add(id_of(nth_command(Command::StudioFirst, static_cast<unsigned>(i))),
                              studios.Names[static_cast<size_t>(i)].c_str()))
            break;
}

// The playlist's first ten entries in view.
win::PopupMenu TQELAmp_Player::list_menu() const {
    win::PopupMenu menu;
    if (list_)
        for (const auto& [tag, caption] : list_->model().tray_items())
            menu.add(id_of(nth_command(Command::ListEntryFirst, static_cast<unsigned>(tag))),
                     caption.c_str());
    return menu;
}

// "None", the three internal scopes, then one radio item per effect file;
// the current visual is checked.
win::PopupMenu TQELAmp_Player::video_menu() const {
    win::PopupMenu menu;
    for (Command c :
         {Command::VideoNone, Command::VideoDots, Command::VideoLines, Command::VideoSolid})
        add(menu, c);
    const std::vector<std::string> effects = effect_names();
    if (!effects.empty()) menu.separator();
    const size_t room = index_in(Command::EffectLast, Command::EffectFirst) + 1;
    for (size_t i = 0; i < effects.size() && i < room; ++i)
        menu.add(id_of(nth_command(Command::EffectFirst, static_cast<unsigned>(i))),
                 effects[i].c_str());
    Command checked = Command::VideoNone;
    if (dialog_.scope_type == 1)
        checked = nth_command(Command::VideoDots,
                              static_cast<unsigned>(std::clamp(dialog_.scope_int_type, 0, 2)));
    else if (dialog_.scope_type == 2 && !effects.empty())
        checked = nth_command(Command::EffectFirst, static_cast<unsigned>(dialog_.ave_index));
    const Command last = effects.empty() ? Command::VideoSolid
                                         : nth_command(Command::EffectFirst,
                                                       static_cast<unsigned>(effects.size() - 1));
    menu.check_radio(id_of(Command::VideoNone), id_of(last), id_of(checked));
    return menu;
}

void TQELAmp_Player::show_menu(POINT at, Command which) {
    win::PopupMenu owned;
    const win::PopupMenu* menu = &owned;
    switch (which) {
        case Command::OptionsMenu:
            add(owned, Command::DecoderOptions, 0, "Decoder Options");
            break;
        case Command::StudioMenu:
            if (studio_menu_.count() > 0)
                menu = &studio_menu_;  // it outlives every popup
            else
                owned.add(0, "No studios", MF_GRAYED);
            break;
        case Command::VideoMenu:
            owned = video_menu();
            break;
        case Command::ListMenu:
            owned = list_menu();
            if (owned.count() == 0) owned.add(0, "The playlist is empty", MF_GRAYED);
            break;
        default:
            for (Command c : {Command::Open, Command::Play, Command::Pause, Command::Stop,
                              Command::Rewind, Command::Forward, Command::Previous, Command::Next})
                add(owned, c);
            owned.separator();
            owned.add_popup(list_menu(), command_caption(Command::ListMenu));
            add(owned, Command::Playlist, list_ && list_->visible() ? MF_CHECKED : 0);
            owned.add_popup(video_menu(), command_caption(Command::VideoMenu));
            owned.add_borrowed(studio_menu_.get(), command_caption(Command::StudioMenu));
            add(owned, Command::DecoderOptions);
            owned.separator();
            add(owned, Command::Exit);
            break;
    }
    menu->track(hwnd_, at, TPM_RIGHTBUTTON);
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
    } else if (kEffectCommands.contains(id)) {
        const std::vector<std::string> effects = effect_names();
        const size_t i = index_in(id, Command::EffectFirst);
        if (i < effects.size() && select_effect(effects[i])) dialog_.scope_type = 2;
    } else if (kListEntryCommands.contains(id)) {
        list_->model().listmenuclick(static_cast<int>(index_in(id, Command::ListEntryFirst)));
    } else if (kStudioCommands.contains(id) && studio_menu_.get()) {
        char caption[256] = {};
        GetMenuStringA(studio_menu_.get(), id_of(id), caption, sizeof caption, MF_BYCOMMAND);
        TStudio& studios = plugins_->Studios;
        studios.LaunchStudio(studios.IndexOfName(caption), shell_open_program);
    }
    return true;
}
