// The playlist window Tsuperplaylist: the entries in a report list backed by
// the playlist model, its menus and the end-of-track timer.
#pragma once

#include <windows.h>

#include <string>

#include "effects/FastDIB.h"
#include "base/commands.h"
#include "widgets/popup_menu.h"
#include "win/window.h"
#include "playlist/list_skin.h"
#include "playlist/playlist_model.h"

class TQEL_plugin;
struct DialogSettings;
struct PlayerSettings;

class Tsuperplaylist : public win::Window, private PlaylistHost, private PlaylistView {
  public:
    static constexpr const char* kClassName = "Tsuperplaylist";

    // last_folder: the open dialogs' shared folder (Dialog_OS).
    Tsuperplaylist(HINSTANCE instance, TQEL_plugin& plugins, PlaylistPlayback& playback,
                   std::string& last_folder);
    ~Tsuperplaylist() override;

    // program_folder ends with "\"; the skin is read from its skins\ folder.
    bool create(HWND owner, const PlayerSettings& geometry, const std::string& program_folder);
    PlaylistModel& model() { return model_; }
    // Columns 2..7 shown or hidden by the settings.
    void apply_columns(const DialogSettings& d);
    void set_visible(bool on);
    bool visible() const { return visible_; }

    // The menus' animation and the program's idle work while one is open.
    void set_menu_options(MenuAnimation animation, std::function<int()> idle);

    void ButtonAdd_OnClick();
    void loadlistskin(const std::string& skin_name);
    void fbr_butClick();
    void list_butClick();

  private:
    LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp) override;
    void run_command(Command id);
    void FormCreate();
    void FormResize();
    LRESULT on_notify(NMHDR* n);
    MenuModel build_menu(ToolButton which) const;
    void popup(const MenuModel& menu, POINT at);
    void show_menu(POINT at);
    void open_tool_menu(ToolButton which);
    void FormPaint();
    void paint_frame(HDC dc);
    void paint_title(HDC dc);
    void repaint_title();
    void paint_tool(HDC dc, int i, bool over);
    void Draw_List_Control(HDC dc, SkinPoint source, const SkinRect& dest);
    void Stretch_Draw_List_Control(HDC dc, const StretchTile& tile);
    void FormMouseDown(int x, int y);
    void FormMouseMove(int x, int y, bool left_down);
    void FormMouseUp(int x, int y);
    void add_folder(bool recursive);
    void finish_drag(POINT screen_pt);
    void sync_selection_to_view();
    // Columns 2..7: shown ones fit their contents, hidden ones are 0 wide.
    void fit_columns();
    void update_tab();

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
    HWND list_ = nullptr;
    HWND tabs_ = nullptr;  // one tab: the list in view
    std::string tab_name_;
    bool visible_ = false;
    bool dragging_ = false;
    bool syncing_ = false;
    bool quitting_ = false;
    int update_depth_ = 0;
    bool column_shown_[6] = {true, false, false, false, false, false};
    bool fit_posted_ = false;
    DWORD last_pump_ = 0;

    std::string program_folder_;
    TFastDIB skin_;
    ListSkinLayout layout_ = ListSkinLayout::for_size(275, 300);
    ListColors colors_;
    bool active_ = false;
    int page_ = 0;  // 0 playlist, 1 explorer
    int hover_tool_ = -1;
    bool close_pressed_ = false;
    FrameHit sizing_ = FrameHit::None;  // the border a press began on, until release
    widgets::MenuOptions menu_options_;
};
