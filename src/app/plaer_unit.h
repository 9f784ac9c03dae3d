// The main window TQELAmp_Player: start-up, first activation and shutdown.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/face_layout.h"
#include "app/main_commands.h"
#include "app/meter_display.h"
#include "app/playback_control.h"
#include "app/player_core.h"
#include "fileinfo/song_fx_win_unit.h"
#include "plugins/plug_eng.h"
#include "playlist/playlist_model.h"
#include "plugins/plugin_module_win32.h"
#include "settings/now_playing_win32.h"
#include "settings/registry_store_win32.h"
#include "settings/save_load_sett.h"
#include "settings/settings_host.h"
#include "widgets/popup_menu.h"
#include "win/handles.h"
#include "win/last_chance.h"
#include "win/window.h"
// after <windows.h>
#include "effects/FastDIB.h"
#include "effects/ave_render.h"

class Tsuperplaylist;
class Tinitial;
class Ted_studio;

class TQELAmp_Player : public win::Window,
                       private ActivationHost,
                       private PlaybackView,
                       private TickSource,
                       private PlaylistPlayback,
                       private SongFxHost,
                       private SettingsHost {
  public:
    static constexpr const char* kClassName = "TQELAmp_Player";

    // arg: the first command-line argument, resolved against the start folder.
    TQELAmp_Player(HINSTANCE instance, std::string arg);
    ~TQELAmp_Player() override;

    bool create();
    // Creates the playlist window, owned by this one.
    bool create_playlist();
    // Creates the file information window, hidden; after the playlist.
    bool create_file_info();
    // Creates the settings dialog, which loads the dialog group of settings.
    bool create_settings();
    void show();
    // Idle processing of the message loop: runs the meter timer when due.
    // Returns the milliseconds to sleep, or -1 when the timer is off.
    int idle();

  private:
    LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp) override;

    void FormCreate();
    void FormShow();
    void FormActivate();
    void closeplayer();
    // What every way of ending writes: settings, studios, the closed texts.
    void save_user_state();
    // A plugin's own thread faulted: it is never called again, and the player closes.
    void plugin_thread_fault(const std::string& module);
    static void emergency(last_chance::Reason reason, const char* module);
    std::string plugin_name(const char* module) const;
    void FormDestroy();
    void FormPaint();
    // The popup menus and the commands (plaer_menus.cpp).
    void show_menu(POINT at, Command which = Command::MainMenu);
    void rebuild_studio_menu();
    MenuModel main_menu() const;
    MenuModel options_menu() const;
    MenuModel list_menu() const;
    MenuModel video_menu() const;
    // Shows a menu and runs the chosen item's command.
    void popup(const MenuModel& menu, POINT at, MenuAnimation animation);
    void toggle_playlist(bool explorer);
    // Runs a command of the main window; at: where a menu it opens appears.
    // False for ids outside the window's range.
    bool run_command(Command id, POINT at);
    struct Action {
        Command id;
        void (*run)(TQELAmp_Player& player, POINT at);
    };
    static const Action kActions[];

    // ActivationHost
    bool file_exists(const std::string& path) override;
    void play_media(const std::string& path) override;
    void play_vl2_list(const std::string& path) override;
    void play_m3u_list(const std::string& path) override;
    void load_default_playlist(const std::string& path) override;
    void new_list() override;
    void console_changed() override;
    void show_playlist(bool visible) override;

    // PlaybackView
    void console_clear() override;
    void console_add(const std::string& line) override;
    void console_set_first(const std::string& line) override;
    std::string console_first() override;
    void console_show() override { UpdateWindow(hwnd_); }
    void meter_timer(bool on) override;
    void playlist_timer_off() override;
    void set_caption(const std::string& caption) override;
    void draw_volume(int level, int knob) override;
    void draw_time_knob(int32_t position_ms) override;
    void playback_started() override;
    void now_playing(NowPlaying what) override;
    bool choose_file(const std::string& title, const std::string& filter,
                     const std::string& pattern, const std::string& folder,
                     std::string& chosen) override;
    bool playlist_entry(PlaylistEntry& entry) override;
    // TickSource
    uint32_t now() override { return GetTickCount(); }
    // PlaylistPlayback
    void loadfile(const std::string& path) override { playback_->loadfile(path); }
    void playfile() override { playback_->playfile(); }
    int32_t decoder_state() override;
    void stop_decoder() override;
    void set_started_from_playlist(bool on) override { playback_->started_from_playlist = on; }

    // SongFxHost
    std::string loaded_file() override { return playback_->current_file(); }
    bool playing_entry(std::string& working_file, int& record) override;
    void retag_player(const std::string& title, const std::string& artist, const std::string& album,
                      const std::string& year) override;
    // SettingsHost (plaer_settings.cpp)
    PlayerSettings& player_settings() override { return settings_; }
    std::string dialog_folder() override;
    void set_dialog_folder(const std::string& folder) override;
    void apply_trays() override;
    void menu_animation_changed() override;
    void columns_changed() override;
    void info_templates_changed() override;
    void scope_changed() override;
    void use_playlist_volume(bool on) override;
    std::vector<std::string> plugin_file_names() override;
    std::vector<std::string> plugin_display_names() override;
    std::vector<std::string> declared_patterns() override;
    std::vector<std::string> active_patterns() override;
    void set_active_patterns(const std::vector<std::string>& active) override;
    bool select_effect(const std::string& name, std::string& init, std::string& frame) override;
    bool save_effect(const std::string& path, const std::string& init,
                     const std::string& frame) override;
    std::vector<std::string> studio_names() override;
    bool edit_studio(int index) override;
    void delete_studio(int index) override;
    bool apply_skin(const std::string& name) override;
    bool always_on_top() override { return settings_.Always_on_top; }
    // Opens the settings dialog on a page (0: the page in front).
    void show_settings(int page);

    void DXmetertimerTimer();
    // The notification-area icons (plaer_tray.cpp).
    void add_tray(size_t index);
    void add_trays();
    void remove_trays();
    void remove_tray(size_t index);
    void tray_message(UINT msg, LPARAM lp);
    void blank_displays();
    // Pixel widths of the panel's wide lines (0 for the others) in its font.
    std::vector<int> wide_line_widths();
    // Marks for painting what a tick's changed texts cover.
    void meter_texts_changed(unsigned changed, const std::string& time_before);

    // The skinned face (plaer_skin.cpp).
    bool loadskin(const std::string& name, bool big);
    void compose_face();
    void put_button(const FaceButtonTile& b, int image);
    void paint_face(HDC dc);
    void face_button_press(int x, int y);
    void face_mouse_down(int x, int y);
    void face_mouse_move(int x, int y, bool left_down);
    void face_mouse_up(int x, int y, bool right);
    void invalidate(const SkinRect& r);
    void setontop();
    // The status line's hover text and the hint timer that restores it.
    void hover(int x, int y);
    void hint_timer(bool on);
    void hint_timerTimer();
    // State and channel indicators for a tick's state; backgrounds on 0 or 3.
    void show_indicators(int state);
    // The scope (plaer_scope.cpp).
    void scope_surface();
    void scope_tick();
    uint32_t scope_base_1() const;
    uint32_t scope_base_2() const;
    void reset_scope_colours();
    bool select_effect(const std::string& name);
    std::string effect_name() const;
    void paint_scope(HDC dc);
    void load_player_settings();
    void save_player_settings();
    std::vector<std::string> effect_names() const;

    HINSTANCE instance_;
    std::string arg_;
    HWND playlist_ = nullptr;
    std::unique_ptr<win::WindowDC> own_dc_;  // the class's own context, for the scope
    MenuModel studio_menu_;
    std::array<win::Icon, 9> tray_icons_;
    std::array<bool, 9> tray_shown_{};
    UINT taskbar_created_ = 0;
    MenuColours menu_colours_;
    bool shown_ = false;
    bool closed_ = false;
    PlayerCore core_;
    Win32ModuleLoader loader_;
    Win32MessageBoxes boxes_;
    std::unique_ptr<TQEL_plugin> plugins_;
    std::string skin_name_;
    bool list_show_ = false;
    RegistryKeyStore store_;
    PlayerSettings settings_;
    DialogSettings dialog_;  // the settings dialog's model: its controls edit it
    std::unique_ptr<Tinitial> initial_;
    std::unique_ptr<Ted_studio> ed_studio_;
    std::unique_ptr<RegistryBinding> binding_;
    std::unique_ptr<PlaybackControl> playback_;
    Win32NowPlayingOutput np_output_;
    std::unique_ptr<NowPlayingFiles> np_files_;
    std::unique_ptr<Tsuperplaylist> list_;
    std::unique_ptr<Tsong_fx_win> song_fx_;
    bool meter_on_ = false;
    DWORD last_tick_ = 0;
    std::string time_text_;

    TFastDIB face_;                       // face.bmp
    TFastDIB back_;                       // the composed face
    const FaceLayout* layout_ = nullptr;  // null until a skin is applied
    FaceColors face_colors_;
    const FaceButtonTile* pressed_ = nullptr;
    const FaceButtonTile* hover_ = nullptr;
    bool volume_drag_ = false;
    bool window_active_ = true;
    bool app_active_ = true;
    bool hint_on_ = false;         // another application in front pauses the meter
    bool displays_blank_ = false;  // time and information blanked at the end of a track
    win::Font info_font_;
    PanelScroll panel_scroll_;
    // Information lines measured for scrolling, with their pixel widths.
    std::array<std::string, 3> measured_lines_;
    std::array<int, 3> measured_widths_{};
    // The indicator images in the back buffer: a tick puts only a new one.
    SkinPoint state_shown_{-1, -1}, channels_shown_{-1, -1};
    // Where the time knob stands in the back buffer (x) and its image.
    SkinPoint time_knob_{-1, -1}, time_knob_image_{-1, -1};

    TFastDIB scope_;  // the effect surface, the scope area's size
    AveRenderer renderer_;
    AveScripts ave_;
    std::array<int16_t, 2 * AveRenderer::kFrames> samples_{};
    uint32_t scope_colour_1_ = 0, scope_colour_2_ = 0;
    bool scope_shown_ = false;  // a frame is on the window and repaints keep it
};
