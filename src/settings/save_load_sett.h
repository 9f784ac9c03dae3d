// The player's persistent settings: what the main window owns and what the
// settings dialog holds, with their defaults, read once at start-up and
// written once at shutdown.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/key_store.h"

inline constexpr const char* kSettingsRoot = "Software\\Dunmoor\\VELTRona\\";

struct NowPlayingFileSettings {
    std::string np_file;
    bool np_create = false;
    bool np_dynamic_write = false;
    std::string np_playing = "%AR - %TL";
    std::string np_paused = "%AR - %TL / paused";
    std::string np_stopped = "%AR - %TL /stoppped";
    std::string np_closed = "VELTRona disabled";
};

// Tray buttons in creation order.
enum TrayButton { TrayPrev, TrayRew, TrayPlay, TrayPause, TrayStop, TrayOpen, TrayForw, TrayNext };

struct PlayerSettings {
    // "DeskTop"
    int32_t FaceX = 200, FaceY = 200;
    int32_t ListX = 0, ListY = 200, ListW = 320, ListH = 380;
    bool Max = true;
    bool List_show = true;
    bool Always_on_top = false;
    // "System", main-window group
    std::array<bool, 8> show_tray{};
    int32_t volume = 100;
    // "Folders"
    std::string Dialog_OS, Explorer;
    // "Outfiles\dos", "Outfiles\win"
    NowPlayingFileSettings dos, win;
};

struct DialogSettings {
    // "System", dialog group
    int32_t menu_popup = 3;
    int32_t refresh_time = 5;
    int32_t sleep_time = 15;
    // "Scope"
    int32_t scope_type = 1;
    int32_t scope_int_type = 1;
    bool scope_col_skin = true;
    bool scope_col_dynch = false;
    uint32_t scope_R = 255;
    uint32_t scope_L = 65280;
    int ave_index = 0;  // into the effect list; its name is stored as `ave`
    // "Display"
    int32_t time_format = 0;
    std::string info1_str = "%FL";
    std::string info2_str = "%AR - %TL";
    std::string info3_str = "%BRkbps  %SRHz";
    bool small_clock = true;
    // "Playlist": columns 2..7
    bool Col_time = true, Col_track = false, Col_album = false, Col_year = false,
         Col_format = false, Col_filename = false;
    // "Explorer": characters the explorer's renames replace besides the
    // reserved ones, and the replacement (its first character). Not stored.
    std::string clean_chars = "., '";
    std::string clean_replacement = "_";
};

struct ScreenArea {
    int32_t width = 0, height = 0;  // the client area of a full-screen window
};

// Reads "DeskTop", "Outfiles\dos", "Outfiles\win", "System" and "Folders",
// then fits the positions to the screen. The caller creates the tray buttons.
void load_settings(KeyStore& store, PlayerSettings& s, ScreenArea screen, int32_t main_width);
void fit_to_screen(PlayerSettings& s, ScreenArea screen, int32_t main_width);
void save_settings(KeyStore& store, const PlayerSettings& s);

// `effects`: the file names of the "ave" folder, in list order.
void load_dialog_settings(KeyStore& store, DialogSettings& d,
                          const std::vector<std::string>& effects);
void save_dialog_settings(KeyStore& store, const DialogSettings& d,
                          const std::vector<std::string>& effects);

// Windows colour (red in the low byte) to blue, green, red bytes and back.
std::array<uint8_t, 3> color_to_bgr(uint32_t color);
uint32_t bgr_to_color(const std::array<uint8_t, 3>& bgr);
