// The main window's popup menus: the main menu, the options, studio, video
// and playlist menus, as plain system menus, and their commands.
#include "app/plaer_unit.h"

#include <algorithm>

#include "app/win_files.h"
#include "playlist/splaylist.h"
#include "plugins/vl_decoder.h"

namespace {

constexpr UINT kMenuExit = 1000;
constexpr UINT kMenuOpen = 1001;
constexpr UINT kMenuPlay = 1002;
constexpr UINT kMenuPause = 1003;
constexpr UINT kMenuStop = 1004;
constexpr UINT kMenuRewind = 1005;
constexpr UINT kMenuForward = 1006;
constexpr UINT kMenuDecoderOptions = 1007;
constexpr UINT kMenuPrevious = 1008;
constexpr UINT kMenuNext = 1009;
constexpr UINT kMenuPlaylist = 1010;
constexpr UINT kMenuVideoNone = 1100;  // then Dots, Lines and Solid scope
constexpr UINT kMenuVideoSolid = 1103;
constexpr UINT kMenuStudioFirst = 2000;
constexpr UINT kMenuEffectFirst = 3000;     // + the effect's index
constexpr UINT kMenuListEntryFirst = 4000;  // + the entry's tag
constexpr UINT kMenuLast = 4999;

void add(HMENU menu, UINT id, const char* text, UINT flags = 0) {
    AppendMenuA(menu, MF_STRING | flags, id, text);
}

void add_popup(HMENU menu, HMENU sub, const char* text) {
    const UINT grey = GetMenuItemCount(sub) > 0 ? 0 : MF_GRAYED;
    AppendMenuA(menu, MF_POPUP | grey, reinterpret_cast<UINT_PTR>(sub), text);
}

}  // namespace

void TQELAmp_Player::rebuild_studio_menu() {
    if (studio_menu_) DestroyMenu(studio_menu_);
    studio_menu_ = CreatePopupMenu();
    const TStudio& studios = plugins_->Studios;
    for (int i = 0; i < studios.StudioCount(); ++i)
        if (!AppendMenuA(studio_menu_, MF_STRING, kMenuStudioFirst + static_cast<UINT>(i),
                         studios.Names[static_cast<size_t>(i)].c_str()))
            break;
}

// The playlist's first ten entries in view.
HMENU TQELAmp_Player::list_menu() const {
    HMENU menu = CreatePopupMenu();
    if (list_)
        for (const auto& [tag, caption] : list_->model().tray_items())
            add(menu, kMenuListEntryFirst + static_cast<UINT>(tag), caption.c_str());
    return menu;
}

// "None", the three internal scopes, then one radio item per effect file;
// the current visual is checked.
HMENU TQELAmp_Player::video_menu() const {
    HMENU menu = CreatePopupMenu();
    add(menu, kMenuVideoNone, "None");
    add(menu, kMenuVideoNone + 1, "Dots scope");
    add(menu, kMenuVideoNone + 2, "Lines scope");
    add(menu, kMenuVideoNone + 3, "Solid scope");
    const std::vector<std::string> effects = effect_names();
    if (!effects.empty()) AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    for (size_t i = 0; i < effects.size() && i < kMenuListEntryFirst - kMenuEffectFirst; ++i)
        add(menu, kMenuEffectFirst + static_cast<UINT>(i), effects[i].c_str());
    UINT checked = kMenuVideoNone;
    if (dialog_.scope_type == 1)
        checked = kMenuVideoNone + 1 + static_cast<UINT>(std::clamp(dialog_.scope_int_type, 0, 2));
    else if (dialog_.scope_type == 2 && !effects.empty())
        checked = kMenuEffectFirst + static_cast<UINT>(dialog_.ave_index);
    const UINT last = effects.empty() ? kMenuVideoSolid
                                      : kMenuEffectFirst + static_cast<UINT>(effects.size() - 1);
    CheckMenuRadioItem(menu, kMenuVideoNone, last, checked, MF_BYCOMMAND);
    return menu;
}

void TQELAmp_Player::show_menu(POINT at, FaceMenu which) {
    HMENU menu = nullptr;
    bool owns_studios = false;
    switch (which) {
        case FaceMenu::Options:
            menu = CreatePopupMenu();
            add(menu, kMenuDecoderOptions, "Decoder Options");
            break;
        case FaceMenu::Studios:
            menu = studio_menu_;
            owns_studios = true;
            if (GetMenuItemCount(menu) == 0) {
                menu = CreatePopupMenu();
                add(menu, 0, "No studios", MF_GRAYED);
                owns_studios = false;
            }
            break;
        case FaceMenu::Video:
            menu = video_menu();
            break;
        case FaceMenu::List:
            menu = list_menu();
            if (GetMenuItemCount(menu) == 0) add(menu, 0, "The playlist is empty", MF_GRAYED);
            break;
        case FaceMenu::Main:
            menu = CreatePopupMenu();
            add(menu, kMenuOpen, "Open file...");
            add(menu, kMenuPlay, "Play");
            add(menu, kMenuPause, "Pause");
            add(menu, kMenuStop, "Stop");
            add(menu, kMenuRewind, "Rewind 10 s");
            add(menu, kMenuForward, "Forward 10 s");
            add(menu, kMenuPrevious, "Previous");
            add(menu, kMenuNext, "Next");
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            add_popup(menu, list_menu(), "List entries");
            add(menu, kMenuPlaylist, "PlayList", list_ && list_->visible() ? MF_CHECKED : 0);
            add_popup(menu, video_menu(), "Video Effects");
            add_popup(menu, studio_menu_, "Studios");
            add(menu, kMenuDecoderOptions, "Decoder options");
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            add(menu, kMenuExit, "Exit");
            break;
    }
    SetForegroundWindow(hwnd_);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd_, nullptr);
    PostMessageA(hwnd_, WM_NULL, 0, 0);
    if (owns_studios) return;  // the studio menu outlives every popup
    if (which == FaceMenu::Main) {
        // Detach the studio submenu before the rest is destroyed.
        for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i)
            if (GetSubMenu(menu, i) == studio_menu_)
                RemoveMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);
    }
    DestroyMenu(menu);
}

bool TQELAmp_Player::menu_command(UINT id) {
    if (id < kMenuExit || id > kMenuLast) return false;
    PlaybackControl& pc = *playback_;
    switch (id) {
        case kMenuExit:
            SendMessageA(hwnd_, WM_CLOSE, 0, 0);
            return true;
        case kMenuOpen:
            pc.open_butClick();
            return true;
        case kMenuPlay:
            pc.playfile();
            return true;
        case kMenuPause:
            pc.pause_butClick();
            return true;
        case kMenuStop:
            pc.stop_butClick();
            return true;
        case kMenuRewind:
            pc.rewind_release();
            return true;
        case kMenuForward:
            pc.forward_release();
            return true;
        case kMenuPrevious:
            list_->model().backplay();
            return true;
        case kMenuNext:
            list_->model().nextplay();
            return true;
        case kMenuPlaylist:
            list_->set_visible(!list_->visible());
            return true;
        case kMenuDecoderOptions:
            plugins_->Decoders.ShowOptions();
            return true;
        default:
            break;
    }
    if (id >= kMenuVideoNone && id <= kMenuVideoSolid) {
        dialog_.scope_type = id == kMenuVideoNone ? 0 : 1;
        if (id != kMenuVideoNone)
            dialog_.scope_int_type = static_cast<int32_t>(id - kMenuVideoNone - 1);
        if (id == kMenuVideoNone && layout_) {
            scope_shown_ = false;  // the face's own scope background again
            invalidate(layout_->scope_area);
        }
        return true;
    }
    if (id >= kMenuEffectFirst && id < kMenuListEntryFirst) {
        const std::vector<std::string> effects = effect_names();
        const size_t i = id - kMenuEffectFirst;
        if (i < effects.size() && select_effect(effects[i])) dialog_.scope_type = 2;
        return true;
    }
    if (id >= kMenuListEntryFirst) {
        list_->model().listmenuclick(static_cast<int>(id - kMenuListEntryFirst));
        return true;
    }
    if (id >= kMenuStudioFirst && studio_menu_) {
        char caption[256] = {};
        GetMenuStringA(studio_menu_, id, caption, sizeof caption, MF_BYCOMMAND);
        TStudio& studios = plugins_->Studios;
        studios.LaunchStudio(studios.IndexOfName(caption), shell_open_program);
    }
    return true;
}
