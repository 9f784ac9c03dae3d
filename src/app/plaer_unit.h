// The main window TQELAmp_Player: start-up, first activation and shutdown.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/player_core.h"
#include "plugins/plug_eng.h"
#include "plugins/plugin_module_win32.h"

class TQELAmp_Player : private ActivationHost {
public:
    static constexpr const char* kClassName = "TQELAmp_Player";

    // arg: the first command-line argument, resolved against the start folder.
    TQELAmp_Player(HINSTANCE instance, std::string arg);
    ~TQELAmp_Player() override;

    bool create();
    HWND handle() const { return hwnd_; }
    void set_playlist_window(HWND w) { playlist_ = w; }
    void show();

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp);

    void FormCreate();
    void FormShow();
    void FormActivate();
    void closeplayer();
    void FormDestroy();
    void FormPaint();
    void show_menu(POINT at);
    void rebuild_studio_menu();

    // ActivationHost
    bool file_exists(const std::string& path) override;
    void play_media(const std::string& path) override;
    void play_vl2_list(const std::string& path) override;
    void play_m3u_list(const std::string& path) override;
    void load_default_playlist(const std::string& path) override;
    void new_list() override;
    void console_changed() override;
    void show_playlist(bool visible) override;

    HINSTANCE instance_;
    std::string arg_;
    HWND hwnd_ = nullptr;
    HWND playlist_ = nullptr;
    HDC dc_ = nullptr;
    HMENU studio_menu_ = nullptr;
    bool shown_ = false;
    bool closed_ = false;
    PlayerCore core_;
    Win32ModuleLoader loader_;
    Win32MessageBoxes boxes_;
    std::unique_ptr<TQEL_plugin> plugins_;
    std::string skin_name_;
    bool list_show_ = false;
    std::string current_file_;
    FileInfoRec file_info_;
};
