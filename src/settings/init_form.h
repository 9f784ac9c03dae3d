// The settings dialog Tinitial: a tree of pages on the left, one page panel
// at a time on the right. Its controls edit the dialog group of settings
// (the model) directly, so the rest of the player reads their current values
// there; the model is loaded when the dialog is created and saved when it is
// destroyed.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/key_store.h"
#include "settings/settings_host.h"
#include "settings/settings_page.h"
#include "win/handles.h"
#include "win/window.h"

class Tinitial : public win::Window {
  public:
    static constexpr const char* kClassName = "Tinitial";
    static constexpr int kClientWidth = 427;
    static constexpr int kClientHeight = 334;

    Tinitial(HINSTANCE instance, SettingsHost& host, DialogSettings& model, KeyStore& store,
             std::string program_folder);
    ~Tinitial() override;

    // Creates the hidden dialog and runs FormCreate.
    bool create(HWND owner);
    // Brings the page of the number to the front (0: keep the page) and shows
    // the dialog; FormShow runs when it was hidden.
    void show_page(int page);
    // The model was changed elsewhere (the effect menu): the controls follow.
    void model_changed();
    // A control of the dialog or of a page by its name, or nullptr.
    HWND control(const std::string& name) const;
    int current_page() const { return page_; }
    // Writes the dialog's settings now, as destroying the dialog does.
    void save_settings() { FormDestroy(); }

  protected:
    LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    struct Panel {
        int page;
        const char* name;
        const char* title;
        HWND hwnd = nullptr;
    };
    struct RadioGroup {
        HWND box = nullptr;
        std::vector<HWND> buttons;
        int index() const;
        void set(int i) const;
        int find(HWND h) const;
    };
    struct NowPlayingTab {
        const char* prefix;  // "win" or "dos"
        HWND create_cb, dynamic_cb, file_ed, save_btn, apply_btn, help_btn;
        std::array<HWND, 4> templates;  // playing, paused, stopped, closed
        std::vector<HWND> all;
    };

    static LRESULT CALLBACK panel_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT panel_message(HWND panel, UINT msg, WPARAM wp, LPARAM lp);

    void FormCreate();
    void make_pages();
    void FormShow();
    void FormDestroy();

    // Controls (init_form.cpp).
    HWND add(HWND parent, const char* cls, const char* name, const char* text, DWORD style, int x,
             int y, int w, int h, DWORD ex_style = 0);
    HWND label(HWND parent, const char* name, const char* text, int x, int y, int w, int h = 14);
    HWND button(HWND parent, const char* name, const char* text, int x, int y, int w, int h = 22);
    HWND check(HWND parent, const char* name, const char* text, int x, int y, int w);
    HWND edit(HWND parent, const char* name, const char* text, int x, int y, int w, int h = 20);
    RadioGroup radio_group(HWND parent, const char* name, const char* title,
                           const std::vector<const char*>& items, int x, int y, int w, int h);
    void hint(HWND control, const char* text);
    void build_tree();
    void draw_title(const DRAWITEMSTRUCT& d);
    void draw_colour_button(const DRAWITEMSTRUCT& d);
    void draw_preview(const DRAWITEMSTRUCT& d);
    void setttreeChange();
    Panel* panel_of_page(int page);

    // Pages (init_pages.cpp).
    void create_system_page(HWND p);
    void create_plugins_page(HWND p);
    void create_language_page(HWND p);
    void create_output_page(HWND p);
    NowPlayingTab create_np_tab(HWND p, const char* prefix);
    void create_studios_page(HWND p);
    void create_display_page(HWND p);
    void create_ave_page(HWND p);
    void create_skin_page(HWND p);
    void create_playlist_page(HWND p);
    bool on_command(HWND control, int code);
    void on_scroll(HWND control);
    void model_to_controls();
    void apply_scope_enables();
    void Button1Click();
    void sys_gr_menuClick();
    void build_plugin_tree();
    void plugin_treeChange();
    void ext_listClick();
    void plug_pan_appbtnClick();
    void fill_np_tab(const NowPlayingTab& t, const NowPlayingFileSettings& s);
    void np_create_click(const NowPlayingTab& t);
    void np_apply(const NowPlayingTab& t, NowPlayingFileSettings& s);
    void np_save_click(const NowPlayingTab& t);
    void np_tab_change();
    void fill_studios();
    void osc_col_click(bool left);
    void osc_col_skinClick();
    void fill_effects();
    void fill_effect_box();
    void fill_effect_memos();
    void ave_nameChange();
    void SpeedButton11Click();
    void open_help(const char* file);
    void fill_skins();
    void skin_listboxClick();
    void playskin_pan_appbtnClick();
    void plexp_pan_pl_timeClick(HWND box);

    // Language files (init_lang.cpp).
    void fill_languages();
    void lang_pan_appbuttonClick();
    void loadlang();
    void loadlabelcaps(const std::string& name);
    void load3dlabelcaps(const std::string& name);
    void loadbtncaps(const std::string& name);
    void loadchkcaps(const std::string& name);
    void loadradiobtncaps(const std::string& name);
    void loadtreenodes(const std::string& tree, int count);
    bool read_caption(const std::string& name, std::string& text) const;
    void set_caption(const std::string& name, const std::string& text);

    HINSTANCE instance_;
    SettingsHost& host_;
    DialogSettings& model_;
    KeyStore& store_;
    std::string folder_;  // the program folder, ending in "\"
    HFONT font_ = nullptr;
    win::Font bold_font_;
    HWND tips_ = nullptr;
    std::map<std::string, HWND> controls_;
    std::vector<Panel> panels_;
    int page_ = 0;
    bool loading_ = false;  // model_to_controls: notifications change nothing

    HWND setttree_ = nullptr;
    std::array<HTREEITEM, 11> nodes_{};
    // File types: its controls and rules are the page's own.
    std::unique_ptr<SettingsPage> file_page_;

    // System
    HWND refr_track = nullptr, slp_track = nullptr, ref_labl = nullptr, slp_labl = nullptr;
    RadioGroup RadioGroup1, sys_gr_menu;
    std::array<HWND, 8> tray_cbs_{};
    HWND sys_pl_vol = nullptr, SpeedButton7 = nullptr;
    // Plugins
    HWND plugin_tree = nullptr, plug_name = nullptr, ext_list = nullptr, SpeedButton4 = nullptr;
    std::vector<std::string> active_copy_;
    std::vector<std::string> ext_patterns_;
    int current_plugin_ = -1;
    bool filling_ext_ = false;
    // Language
    HWND langbox = nullptr, SpeedButton10 = nullptr;
    std::vector<std::string> lang_files_;
    std::string lang_file_;  // the current language file, empty: none
    // Output text files
    HWND otf_tabs_ = nullptr;
    NowPlayingTab win_tab_{}, dos_tab_{};
    // Studios
    HWND stud_pan_box = nullptr, SpeedButton1 = nullptr, SpeedButton3 = nullptr,
         SpeedButton2 = nullptr;
    // Display
    RadioGroup osc_type, osc_inttype, timefmt, RadioGroup3;
    HWND osc_col_skin = nullptr, osc_col_change = nullptr, osc_col_L = nullptr, osc_col_R = nullptr,
         disp_sm_clock = nullptr, SpeedButton12 = nullptr;
    std::array<HWND, 3> inf_str_{};
    // AVE
    HWND ave_name = nullptr, ave_init_memo = nullptr, ave_script_memo = nullptr,
         SpeedButton11 = nullptr, SpeedButton6 = nullptr;
    std::vector<std::string> effects_;
    // The selected effect's scripts as the start loaded them, for its page.
    std::string ave_init_text_, ave_frame_text_;
    // Player skin
    HWND skin_listbox = nullptr, Image1 = nullptr, SpeedButton9 = nullptr;
    win::Bitmap preview_;
    // PlayList & Explorer
    std::array<HWND, 6> columns_{};
};
