// The playlist window Tsuperplaylist: the entries in a report list backed by
// the playlist model, its menus and the end-of-track timer.
#pragma once

#include <windows.h>

#include <string>

#include "playlist/playlist_model.h"

class TQEL_plugin;
struct DialogSettings;
struct PlayerSettings;

class Tsuperplaylist : private PlaylistHost, private PlaylistView {
  public:
    static constexpr const char* kClassName = "Tsuperplaylist";

    // last_folder: the open dialogs' shared folder (Dialog_OS).
    Tsuperplaylist(HINSTANCE instance, TQEL_plugin& plugins, PlaylistPlayback& playback,
                   std::string& last_folder);
    ~Tsuperplaylist() override;

    bool create(HWND owner, const PlayerSettings& geometry);
    HWND handle() const { return hwnd_; }
    PlaylistModel& model() { return model_; }
    // Columns 2..7 shown or hidden by the settings.
    void apply_columns(const DialogSettings& d);
    void set_visible(bool on);
    bool visible() const { return visible_; }

    void ButtonAdd_OnClick();

  private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp);
    void FormCreate();
    void FormResize();
    LRESULT on_notify(NMHDR* n);
    void show_menu(POINT at);
    void add_folder(bool recursive);
    void finish_drag(POINT screen_pt);
    void sync_selection_to_view();

    // PlaylistHost
    bool file_exists(const std::string& path) override;
    bool IsSupported(const std::string& path) override;
    void QuickInfo(const std::string& path, FileInfoRec& info) override;
    std::string active_patterns() override;
    std::vector<DirEntry> list_dir(const std::string& pattern) override;
    void error_box(const std::string& text) override;
    void process_messages() override;
    bool terminating() override { return quitting_; }

    // PlaylistView
    void begin_update() override;
    void end_update() override;
    void rows_changed() override;
    void selection_changed(int row) override;
    void ensure_visible(int row) override;
    void timer_changed(bool enabled) override;

    HINSTANCE instance_;
    TQEL_plugin& plugins_;
    std::string& last_folder_;
    PlaylistModel model_;
    HWND hwnd_ = nullptr;
    HWND list_ = nullptr;
    bool visible_ = false;
    bool dragging_ = false;
    bool syncing_ = false;
    bool quitting_ = false;
    int update_depth_ = 0;
};
