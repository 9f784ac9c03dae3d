// The playlist window Tsuperplaylist: the entries in a report list backed by
// the playlist model, its menus and the end-of-track timer.
#pragma once

#include <windows.h>

#include <string>

#include "effects/FastDIB.h"
#include "base/commands.h"
#include "widgets/popup_menu.h"
#include "widgets/tab_set.h"
#include "win/window.h"
#include "playlist/chostpl_unit.h"
#include "playlist/explorer_page.h"
#include "playlist/file_info_opener.h"
#include "playlist/list_manager.h"
#include "playlist/list_skin.h"
#include "playlist/list_template.h"
#include "playlist/playlist_model.h"
#include "playlist/sdir_Unit.h"

class TQEL_plugin;
struct DialogSettings;
struct PlayerSettings;

// Makes the line expander of a template export for the list in view: its
// working list file, the record number of each row and the list name.
using ListExpanderFactory = std::function<ListLineExpander(
    const std::string& working_file, std::vector<int32_t> records, const std::string& list_name)>;

class Tsuperplaylist : public win::Window,
                       private PlaylistHost,
                       private PlaylistView,
                       private ListManagerUi {
  public:
    static constexpr const char* kClassName = "Tsuperplaylist";

    // last_folder: the open dialogs' shared folder (Dialog_OS).
    Tsuperplaylist(HINSTANCE instance, TQEL_plugin& plugins, PlaylistPlayback& playback,
                   std::string& last_folder);
    ~Tsuperplaylist() override;

    // program_folder ends with "\"; the skin is read from its skins\ folder.
    bool create(HWND owner, const PlayerSettings& geometry, const std::string& program_folder);
    PlaylistModel& model() { return model_; }
    ListManager& lists() { return lists_; }
    // Template exports expand their lines through this.
    void set_list_expander(ListExpanderFactory f) { expander_ = std::move(f); }
    // The explorer page's folder, as the settings keep it.
    std::string explorer_folder() const {
        return explorer_.handle() ? explorer_.folder() : explorer_start_;
    }
    // A list file under a new tab (filter 1 VL2, 2 M3U), played from its first entry.
    void play_list(const std::string& path, int filter);
    // Columns 2..7 shown or hidden by the settings.
    void apply_columns(const DialogSettings& d);
    void set_visible(bool on);
    bool visible() const { return visible_; }

    // The menus' animation and the program's idle work while one is open.
    void set_menu_options(MenuAnimation animation, std::function<int()> idle);

    // The settings dialog's model: the explorer's renames follow its
    // clean-name characters.
    void set_dialog_settings(const DialogSettings* d) { dialog_ = d; }

    // The file information window that Alt+I opens.
    void set_file_info(FileInfoOpener* opener) { file_info_ = opener; }
    FileInfoOpener* file_info() const { return file_info_; }

    void ButtonAdd_OnClick();
    void loadlistskin(const std::string& skin_name);
    void fbr_butClick();
    void make_explorer();
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
    void finish_drag(POINT screen_pt);
    void sync_selection_to_view();
    void export_list(const std::string& template_path, const std::string& list_name);
    void add_chosen_folder(const std::string& folder, const std::string& filter, bool subfolders);

    // ListManagerUi
    bool choose_list_file(const ListFileDialog& d, const std::string& folder, std::string& path,
                          int& filter) override;
    bool ask(const std::string& text) override;
    void show_template_chooser() override;
    void tabs_changed() override;
    void place_explorer();
    // Columns 2..7: shown ones fit their contents, hidden ones are 0 wide.
    void fit_columns();
    int widest_row(int column);

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
    void open_file_info(const std::string& path) override;

    HINSTANCE instance_;
    TQEL_plugin& plugins_;
    std::string& last_folder_;
    PlaylistModel model_;
    ListManager lists_;
    ListExpanderFactory expander_;
    PlaylistPlayback& playback_;
    ExplorerPage explorer_;
    std::string explorer_start_;  // shown when the page is first shown
    Tqel_lsttpl chostpl_;
    Tselect_dir select_dir_;
    widgets::TabSet tabs_;
    HWND list_ = nullptr;
    bool visible_ = false;
    bool dragging_ = false;
    bool syncing_ = false;
    bool quitting_ = false;
    int update_depth_ = 0;
    bool column_shown_[6] = {true, false, false, false, false, false};
    bool fit_posted_ = false;
    static constexpr int kMeasureAll = -2;  // from widest_row: no shortcut
    DWORD last_pump_ = 0;

    std::string program_folder_;
    std::string list_skin_ = "Default";  // read again at each showing
    TFastDIB skin_;
    ListSkinLayout layout_ = ListSkinLayout::for_size(275, 300);
    ListColors colors_;
    bool active_ = false;
    int page_ = 0;  // 0 playlist, 1 explorer
    int hover_tool_ = -1;
    bool close_pressed_ = false;
    FrameHit sizing_ = FrameHit::None;  // the border a press began on, until release
    widgets::MenuOptions menu_options_;
    FileInfoOpener* file_info_ = nullptr;
    const DialogSettings* dialog_ = nullptr;
};
