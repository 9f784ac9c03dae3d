// The pages of the settings dialog: their controls and handlers.
#include "settings/init_form.h"
// after <windows.h>
#include <commdlg.h>

#include <algorithm>

#include "base/paths.h"
#include "base/program_files.h"
#include "settings/dialog_rules.h"
#include "settings/vl_help.h"
#include "win/files.h"
#include "win/input_box.h"

namespace {

std::string text_of(HWND h) {
    std::string s(static_cast<size_t>(GetWindowTextLengthA(h)) + 1, '\0');
    s.resize(static_cast<size_t>(GetWindowTextA(h, s.data(), static_cast<int>(s.size()))));
    return s;
}

bool checked(HWND h) {
    return SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void set_check(HWND h, bool on) {
    SendMessageA(h, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

// Memo text with the system's line ends.
std::string memo_text(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\n' && (i == 0 || s[i - 1] != '\r')) out += '\r';
        out += s[i];
    }
    return out;
}

}  // namespace

void Tinitial::create_system_page(HWND p) {
    RadioGroup1 =
        radio_group(p, "RadioGroup1", "Minimize mode",
                    {"Button on taskbar", "Icon in tray", "Button && icon"}, 6, 24, 132, 66);
    EnableWindow(RadioGroup1.box, FALSE);
    for (HWND b : RadioGroup1.buttons) EnableWindow(b, FALSE);
    RadioGroup1.set(0);

    label(p, "sys_pan_refr_lbl", "Refresh time", 8, 94, 80);
    ref_labl = label(p, "ref_labl", "", 90, 94, 48);
    refr_track = add(p, TRACKBAR_CLASSA, "refr_track", "", TBS_HORZ | TBS_NOTICKS, 4, 108, 136, 22);
    SendMessageA(refr_track, TBM_SETRANGE, FALSE, MAKELPARAM(1, 50));
    hint(refr_track, "Time of refresh screen.\r\nSet minimum for faster refresh.");
    label(p, "sys_pan_slp_lbl", "Sleep time", 8, 134, 80);
    slp_labl = label(p, "slp_labl", "", 90, 134, 48);
    slp_track = add(p, TRACKBAR_CLASSA, "slp_track", "", TBS_HORZ | TBS_NOTICKS, 4, 148, 136, 22);
    SendMessageA(slp_track, TBM_SETRANGE, FALSE, MAKELPARAM(1, 50));
    hint(slp_track,
         "Time for CPU sleeping. Set more for less CPU usage,\r\nbut more sleep time gives slow "
         "video effects");

    sys_gr_menu =
        radio_group(p, "sys_gr_menu", "Menu animation",
                    {"Flash effect", "Top 2 bottom", "Left 2 right", "Windows settings", "None"}, 6,
                    176, 132, 100);

    add(p, "BUTTON", "sys_pan_tray_grp", "Tray controls", BS_GROUPBOX, 144, 24, 130, 150);
    static const char* const kTray[8] = {"Previous button", "Rewind button", "Playback button",
                                         "Pause button",    "Stop button",   "Open button",
                                         "Forward button",  "Next button"};
    static const char* const kTrayNames[8] = {"tr_prev_cb",  "tr_rew_cb",  "tr_play_cb",
                                              "tr_pause_cb", "tr_stop_cb", "tr_open_cb",
                                              "tr_forw_cb",  "tr_next_cb"};
    for (size_t i = 0; i < 8; ++i)
        tray_cbs_[i] = check(p, kTrayNames[i], kTray[i], 152, 40 + static_cast<int>(i) * 16, 116);
    add(p, "BUTTON", "sys_pan_pl_grp", "PlayList", BS_GROUPBOX, 144, 178, 130, 40);
    sys_pl_vol = check(p, "sys_pl_vol", "Use playlist volume", 152, 194, 116);
    SpeedButton7 = button(p, "SpeedButton7", "Apply", 196, 290, 75);
}

void Tinitial::create_plugins_page(HWND p) {
    plugin_tree =
        add(p, WC_TREEVIEWA, "plugin_tree", "",
            WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, 4, 24,
            120, 262);
    plug_name =
        add(p, "STATIC", "plug_name", "", SS_CENTER | SS_SUNKEN | SS_NOPREFIX, 128, 24, 147, 18);
    ext_list = add(p, WC_LISTVIEWA, "ext_list", "",
                   WS_BORDER | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL, 128, 46, 147, 240);
    ListView_SetExtendedListViewStyle(ext_list, LVS_EX_CHECKBOXES);
    LVCOLUMNA col{};
    col.mask = LVCF_WIDTH;
    col.cx = 120;
    SendMessageA(ext_list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&col));
    SpeedButton4 = button(p, "SpeedButton4", "Apply", 200, 292, 75);
}

void Tinitial::create_language_page(HWND p) {
    label(p, "lang_pan_avlang_lbl", "Available languages", 8, 28, 200);
    langbox = add(p, "LISTBOX", "langbox", "", WS_VSCROLL | LBS_NOTIFY, 8, 44, 263, 240,
                  WS_EX_CLIENTEDGE);
    SpeedButton10 = button(p, "SpeedButton10", "Apply", 196, 292, 75);
}

Tinitial::NowPlayingTab Tinitial::create_np_tab(HWND p, const char* prefix) {
    NowPlayingTab t{};
    t.prefix = prefix;
    const std::string x = prefix;
    t.create_cb = check(p, (x + "_np_create_cb").c_str(), "Now playing file", 12, 52, 120);
    hint(t.create_cb,
         "Write text file with Artist, Title etc. of playing song.\r\nIt's usefull for e-mail, "
         "FTN networks etc.");
    t.dynamic_cb = check(p, (x + "_np_dynamic_write_cb").c_str(), "Dynamic writing", 140, 52, 120);
    hint(t.dynamic_cb, "Refresh NP file every time always when song are playing");
    t.file_ed = edit(p, (x + "_np_file_ed").c_str(), "", 12, 76, 226);
    t.save_btn = button(p, ("np_" + x + "_file_save_btn").c_str(), "...", 242, 76, 24, 20);
    hint(t.save_btn, "Set file to write Now Playing");
    static const char* const kLabels[4] = {"Playing", "Paused", "Stopped", "Closed"};
    static const char* const kNames[4] = {"playing", "paused", "stopped", "closed"};
    std::vector<HWND> labels;
    for (size_t i = 0; i < 4; ++i) {
        const int y = 110 + static_cast<int>(i) * 30;
        labels.push_back(
            label(p, (x + "_np_" + kNames[i] + "_lbl").c_str(), kLabels[i], 12, y + 3, 50));
        t.templates[i] = edit(p, (x + "_np_" + kNames[i] + "_ed").c_str(), "", 64, y, 202);
    }
    t.apply_btn =
        button(p, x == "win" ? "win_np_apply_btn" : "SpeedButton8", "Apply", 190, 284, 75);
    t.help_btn = button(p, (x + "_np_help_btn").c_str(), "Help", 12, 284, 75);
    t.all = {t.create_cb, t.dynamic_cb, t.file_ed, t.save_btn, t.apply_btn, t.help_btn};
    t.all.insert(t.all.end(), t.templates.begin(), t.templates.end());
    t.all.insert(t.all.end(), labels.begin(), labels.end());
    return t;
}

void Tinitial::create_output_page(HWND p) {
    otf_tabs_ = add(p, WC_TABCONTROLA, "otf_pan_tabs", "", WS_CLIPSIBLINGS, 4, 24, 271, 291);
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>("windows cp-1251");
    SendMessageA(otf_tabs_, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    item.pszText = const_cast<char*>("OEM DOS");
    SendMessageA(otf_tabs_, TCM_INSERTITEMA, 1, reinterpret_cast<LPARAM>(&item));
    win_tab_ = create_np_tab(p, "win");
    dos_tab_ = create_np_tab(p, "dos");
    for (HWND h : win_tab_.all) SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    for (HWND h : dos_tab_.all) SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    np_tab_change();
}

void Tinitial::np_tab_change() {
    const bool dos = SendMessageA(otf_tabs_, TCM_GETCURSEL, 0, 0) == 1;
    for (HWND h : win_tab_.all) ShowWindow(h, dos ? SW_HIDE : SW_SHOW);
    for (HWND h : dos_tab_.all) ShowWindow(h, dos ? SW_SHOW : SW_HIDE);
}

void Tinitial::create_studios_page(HWND p) {
    stud_pan_box = add(p, "LISTBOX", "stud_pan_box", "", WS_VSCROLL | LBS_NOTIFY, 8, 28, 263, 254,
                       WS_EX_CLIENTEDGE);
    SpeedButton1 = button(p, "SpeedButton1", "Add", 8, 290, 80);
    hint(SpeedButton1, "Add link to Executable file");
    SpeedButton3 = button(p, "SpeedButton3", "Edit", 99, 290, 80);
    hint(SpeedButton3, "Edit link to Executable file");
    SpeedButton2 = button(p, "SpeedButton2", "Delete", 191, 290, 80);
    hint(SpeedButton2, "Delete link to Executable file");
}

void Tinitial::create_display_page(HWND p) {
    add(p, "BUTTON", "dis_pan_osc_grp", "Oscilloscope", BS_GROUPBOX, 4, 22, 271, 128);
    osc_type = radio_group(p, "osc_type", "Type", {"None", "Internal", "AVE"}, 10, 36, 90, 66);
    osc_inttype = radio_group(p, "osc_inttype", "Internal scope type", {"Dots", "Lines", "Solid"},
                              106, 36, 163, 66);
    osc_col_skin = check(p, "osc_col_skin", "Use skin colors", 12, 106, 120);
    osc_col_change = check(p, "osc_col_change", "Dynamic changing colors", 12, 126, 136);
    label(p, "dis_pan_left_lbl", "Left channel", 150, 108, 84);
    osc_col_L = add(p, "BUTTON", "osc_col_L", "", BS_OWNERDRAW, 236, 106, 32, 17);
    label(p, "dis_pan_right_lbl", "Right channel", 150, 128, 84);
    osc_col_R = add(p, "BUTTON", "osc_col_R", "", BS_OWNERDRAW, 236, 126, 32, 17);

    timefmt = radio_group(p, "timefmt", "Time format", {"H:M:S", "Seconds", "Milliseconds"}, 4, 152,
                          132, 66);
    RadioGroup3 =
        radio_group(p, "RadioGroup3", "Time direction", {"Forward", "Back"}, 142, 152, 133, 50);
    EnableWindow(RadioGroup3.box, FALSE);
    for (HWND b : RadioGroup3.buttons) EnableWindow(b, FALSE);
    RadioGroup3.set(0);
    disp_sm_clock = check(p, "disp_sm_clock", "Show clock in small mode", 146, 204, 128);
    EnableWindow(disp_sm_clock, FALSE);

    add(p, "BUTTON", "dis_pan_info_grp", "Info strings", BS_GROUPBOX, 4, 222, 271, 94);
    for (size_t i = 0; i < 3; ++i)
        inf_str_[i] = edit(p, ("inf_str" + std::to_string(i + 1)).c_str(), "", 10,
                           238 + static_cast<int>(i) * 25, 230);
    SpeedButton12 = button(p, "SpeedButton12", "?", 246, 238, 22, 20);
}

void Tinitial::create_ave_page(HWND p) {
    ave_name = add(p, WC_COMBOBOXA, "ave_name", "", WS_VSCROLL | CBS_DROPDOWNLIST, 4, 24, 221, 200);
    hint(ave_name, "AVE list");
    SpeedButton11 = button(p, "SpeedButton11", "Save", 228, 24, 34, 21);
    hint(SpeedButton11, "Save AVE");
    SpeedButton6 = button(p, "SpeedButton6", "?", 264, 24, 12, 21);
    hint(SpeedButton6, "AVE Help");
    label(p, "ave_pan_init_lbl", "Initialisation", 4, 50, 120);
    const DWORD memo =
        WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN;
    ave_init_memo = add(p, "EDIT", "ave_init_memo", "", memo, 4, 64, 271, 86, WS_EX_CLIENTEDGE);
    hint(ave_init_memo, "Initialisation of AVE. \r\nPut init code here.");
    label(p, "ave_pan_frame_lbl", "Frame", 4, 154, 120);
    ave_script_memo =
        add(p, "EDIT", "ave_script_memo", "", memo, 4, 168, 271, 147, WS_EX_CLIENTEDGE);
    SendMessageA(ave_script_memo, WM_SETFONT, reinterpret_cast<WPARAM>(bold_font_.get()), FALSE);
    hint(ave_script_memo, "Frame code of AVE");
}

void Tinitial::create_skin_page(HWND p) {
    label(p, "playskin_pan_avskin_lbl", "Available skins", 8, 26, 200);
    skin_listbox = add(p, "LISTBOX", "skin_listbox", "", WS_VSCROLL | LBS_NOTIFY, 8, 42, 263, 108,
                       WS_EX_CLIENTEDGE);
    label(p, "playskin_pan_skinprev_lbl", "Skin preview", 8, 154, 200);
    Image1 = add(p, "STATIC", "Image1", "", SS_OWNERDRAW, 1, 170, 277, 118);
    SpeedButton9 = button(p, "SpeedButton9", "Apply", 196, 292, 75);
}

void Tinitial::create_playlist_page(HWND p) {
    add(p, "BUTTON", "plexp_pan_pl_grp", "PlayList", BS_GROUPBOX, 4, 24, 271, 74);
    static const char* const kCaptions[6] = {"Show Time", "Show Track",  "Show Album",
                                             "Show Year", "Show Format", "Show Filename"};
    static const char* const kNames[6] = {"plexp_pan_pl_time",   "plexp_pan_pl_track",
                                          "plexp_pan_pl_album",  "plexp_pan_pl_year",
                                          "plexp_pan_pl_format", "plexp_pan_pl_filename"};
    for (int i = 0; i < 6; ++i)
        columns_[static_cast<size_t>(i)] =
            check(p, kNames[i], kCaptions[i], 14 + (i / 3) * 130, 40 + (i % 3) * 18, 120);

    add(p, "BUTTON", "plexp_pan_exp_grp", "Explorer  - underconstruction", BS_GROUPBOX, 4, 102, 271,
        150);
    label(p, "plexp_pan_f3_lbl", "Rename by F3 files to", 12, 122, 120);
    EnableWindow(edit(p, "plexp_pan_exp_f3", "", 136, 119, 132), FALSE);
    label(p, "plexp_pan_f4_lbl", "Create folders by F4", 12, 148, 120);
    EnableWindow(edit(p, "plexp_pan_exp_f4", "", 136, 145, 132), FALSE);
    label(p, "plexp_pan_chs_lbl", "Change synbols", 12, 178, 120);
    HWND fixed = edit(p, "FlatEdit1", "*|/\\<>?:\"", 12, 194, 80);
    SendMessageA(fixed, EM_SETREADONLY, TRUE, 0);
    label(p, "plexp_pan_and_lbl", "and", 98, 197, 24);
    edit(p, "plexp_pan_exp_mds", "., '", 124, 194, 60);
    label(p, "plexp_pan_on_lbl", "on symbol", 12, 224, 60);
    edit(p, "plexp_pan_exp_ns", "_", 76, 221, 30);
    EnableWindow(button(p, "SpeedButton13", "Apply", 196, 221, 72), FALSE);
}

// Puts every value of the model into its control, with the effects the
// user's choice would have.
void Tinitial::model_to_controls() {
    loading_ = true;
    const DialogSettings& m = model_;
    sys_gr_menu.set(m.menu_popup);
    SendMessageA(refr_track, TBM_SETPOS, TRUE, std::clamp(m.refresh_time, 1, 50));
    SendMessageA(slp_track, TBM_SETPOS, TRUE, std::clamp(m.sleep_time, 1, 50));
    SetWindowTextA(ref_labl, refresh_label(m.refresh_time).c_str());
    SetWindowTextA(slp_labl, std::to_string(m.sleep_time).c_str());
    osc_type.set(m.scope_type);
    osc_inttype.set(m.scope_int_type);
    set_check(osc_col_skin, m.scope_col_skin);
    set_check(osc_col_change, m.scope_col_dynch);
    InvalidateRect(osc_col_L, nullptr, FALSE);
    InvalidateRect(osc_col_R, nullptr, FALSE);
    if (m.ave_index >= 0 && static_cast<size_t>(m.ave_index) < effects_.size())
        SendMessageA(ave_name, CB_SETCURSEL, static_cast<WPARAM>(m.ave_index), 0);
    timefmt.set(m.time_format);
    const std::string* info[3] = {&m.info1_str, &m.info2_str, &m.info3_str};
    for (size_t i = 0; i < 3; ++i)
        if (text_of(inf_str_[i]) != *info[i]) SetWindowTextA(inf_str_[i], info[i]->c_str());
    set_check(disp_sm_clock, m.small_clock);
    const bool cols[6] = {m.Col_time, m.Col_track,  m.Col_album,
                          m.Col_year, m.Col_format, m.Col_filename};
    for (size_t i = 0; i < 6; ++i) set_check(columns_[i], cols[i]);
    SetWindowTextA(control("plexp_pan_exp_mds"), m.clean_chars.c_str());
    SetWindowTextA(control("plexp_pan_exp_ns"), m.clean_replacement.c_str());
    apply_scope_enables();
    loading_ = false;
    host_.menu_animation_changed();
    host_.columns_changed();
}

void Tinitial::apply_scope_enables() {
    const ScopeEnables e = scope_enables(model_.scope_type, model_.scope_col_skin);
    EnableWindow(osc_inttype.box, e.int_type);
    for (HWND b : osc_inttype.buttons) EnableWindow(b, e.int_type);
    EnableWindow(osc_col_skin, e.colours);
    EnableWindow(osc_col_change, e.colours);
    EnableWindow(osc_col_L, e.colour_buttons);
    EnableWindow(osc_col_R, e.colour_buttons);
}

void Tinitial::on_scroll(HWND control) {
    const int pos = static_cast<int>(SendMessageA(control, TBM_GETPOS, 0, 0));
    if (control == refr_track) {
        model_.refresh_time = pos;
        SetWindowTextA(ref_labl, refresh_label(pos).c_str());
    } else if (control == slp_track) {
        model_.sleep_time = pos;
        SetWindowTextA(slp_labl, std::to_string(pos).c_str());
    }
}

bool Tinitial::on_command(HWND c, int code) {
    if (!c) return false;
    if (code == BN_CLICKED) {
        if (c == SpeedButton7)
            Button1Click();
        else if (sys_gr_menu.find(c) >= 0)
            sys_gr_menuClick();
        else if (c == sys_pl_vol)
            host_.use_playlist_volume(checked(sys_pl_vol));
        else if (c == SpeedButton4)
            plug_pan_appbtnClick();
        else if (c == SpeedButton10)
            lang_pan_appbuttonClick();
        else if (c == win_tab_.create_cb)
            np_create_click(win_tab_);
        else if (c == dos_tab_.create_cb)
            np_create_click(dos_tab_);
        else if (c == win_tab_.save_btn)
            np_save_click(win_tab_);
        else if (c == dos_tab_.save_btn)
            np_save_click(dos_tab_);
        else if (c == win_tab_.apply_btn)
            np_apply(win_tab_, host_.player_settings().win);
        else if (c == dos_tab_.apply_btn)
            np_apply(dos_tab_, host_.player_settings().dos);
        else if (c == win_tab_.help_btn || c == dos_tab_.help_btn || c == SpeedButton12)
            open_help(program_files::kHelpMacros);
        else if (c == SpeedButton1) {
            if (host_.edit_studio(-1)) fill_studios();
        } else if (c == SpeedButton3) {
            const LRESULT i = SendMessageA(stud_pan_box, LB_GETCURSEL, 0, 0);
            if (i >= 0 && host_.edit_studio(static_cast<int>(i))) fill_studios();
        } else if (c == SpeedButton2) {
            const LRESULT i = SendMessageA(stud_pan_box, LB_GETCURSEL, 0, 0);
            if (i >= 0) {
                host_.delete_studio(static_cast<int>(i));
                fill_studios();
            }
        } else if (osc_type.find(c) >= 0) {
            model_.scope_type = osc_type.index();
            apply_scope_enables();
            host_.scope_changed();
        } else if (osc_inttype.find(c) >= 0) {
            model_.scope_int_type = osc_inttype.index();
        } else if (c == osc_col_skin) {
            osc_col_skinClick();
        } else if (c == osc_col_change) {
            model_.scope_col_dynch = checked(osc_col_change);
        } else if (c == osc_col_L || c == osc_col_R) {
            osc_col_click(c == osc_col_L);
        } else if (timefmt.find(c) >= 0) {
            model_.time_format = timefmt.index();
        } else if (c == SpeedButton11) {
            SpeedButton11Click();
        } else if (c == SpeedButton6) {
            open_help(program_files::kHelpAve);
        } else if (c == SpeedButton9) {
            playskin_pan_appbtnClick();
        } else if (std::find(columns_.begin(), columns_.end(), c) != columns_.end()) {
            plexp_pan_pl_timeClick(c);
        } else {
            return false;
        }
        return true;
    }
    if (code == EN_CHANGE) {
        std::string* info[3] = {&model_.info1_str, &model_.info2_str, &model_.info3_str};
        for (size_t i = 0; i < 3; ++i)
            if (c == inf_str_[i]) {
                *info[i] = text_of(c);
                host_.info_templates_changed();
                return true;
            }
        if (c == control("plexp_pan_exp_mds")) {
            model_.clean_chars = text_of(c);
            return true;
        }
        if (c == control("plexp_pan_exp_ns")) {
            model_.clean_replacement = text_of(c);
            return true;
        }
        return false;
    }
    if (code == CBN_SELCHANGE && c == ave_name) {
        ave_nameChange();
        return true;
    }
    if (code == LBN_SELCHANGE && c == skin_listbox) {
        skin_listboxClick();
        return true;
    }
    return false;
}

// System "Apply": the tray flags, then each icon created or removed.
void Tinitial::Button1Click() {
    PlayerSettings& s = host_.player_settings();
    for (size_t i = 0; i < tray_cbs_.size(); ++i) s.show_tray[i] = checked(tray_cbs_[i]);
    host_.apply_trays();
}

void Tinitial::sys_gr_menuClick() {
    model_.menu_popup = sys_gr_menu.index();
    host_.menu_animation_changed();
}

void Tinitial::build_plugin_tree() {
    TreeView_DeleteAllItems(plugin_tree);
    TVINSERTSTRUCTA ins{};
    ins.hParent = TVI_ROOT;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_PARAM;
    ins.item.pszText = const_cast<char*>("Decoders");
    ins.item.lParam = 0;
    const auto root = reinterpret_cast<HTREEITEM>(
        SendMessageA(plugin_tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
    const std::vector<std::string> names = host_.plugin_file_names();
    for (size_t i = 0; i < names.size() && i < 100; ++i) {
        ins.hParent = root;
        ins.item.pszText = const_cast<char*>(names[i].c_str());
        ins.item.lParam = static_cast<LPARAM>(2000 + i);
        SendMessageA(plugin_tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins));
    }
    TreeView_Expand(plugin_tree, root, TVE_EXPAND);
    active_copy_ = host_.active_patterns();
}

void Tinitial::plugin_treeChange() {
    filling_ext_ = true;
    ListView_DeleteAllItems(ext_list);
    ext_patterns_.clear();
    SetWindowTextA(plug_name, "");
    current_plugin_ = -1;
    TVITEMA item{};
    item.mask = TVIF_PARAM;
    item.hItem = TreeView_GetSelection(plugin_tree);
    if (item.hItem && SendMessageA(plugin_tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) &&
        item.lParam >= 2000 && item.lParam <= 2099) {
        const size_t i = static_cast<size_t>(item.lParam - 2000);
        const std::vector<std::string> display = host_.plugin_display_names();
        const std::vector<std::string> declared = host_.declared_patterns();
        if (i < declared.size()) {
            current_plugin_ = static_cast<int>(i);
            SetWindowTextA(plug_name, i < display.size() ? display[i].c_str() : "");
            ext_patterns_ = split_patterns(declared[i]);
            const std::string active = i < active_copy_.size() ? active_copy_[i] : "";
            for (size_t n = 0; n < ext_patterns_.size(); ++n) {
                LVITEMA lv{};
                lv.mask = LVIF_TEXT;
                lv.iItem = static_cast<int>(n);
                lv.pszText = const_cast<char*>(ext_patterns_[n].c_str());
                SendMessageA(ext_list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&lv));
                ListView_SetCheckState(ext_list, static_cast<int>(n),
                                       pattern_active(active, ext_patterns_[n]));
            }
        }
    }
    filling_ext_ = false;
}

void Tinitial::ext_listClick() {
    if (current_plugin_ < 0) return;
    std::vector<bool> on;
    for (size_t n = 0; n < ext_patterns_.size(); ++n)
        on.push_back(ListView_GetCheckState(ext_list, static_cast<int>(n)) != 0);
    if (active_copy_.size() <= static_cast<size_t>(current_plugin_))
        active_copy_.resize(static_cast<size_t>(current_plugin_) + 1);
    active_copy_[static_cast<size_t>(current_plugin_)] = active_patterns_of(ext_patterns_, on);
}

void Tinitial::plug_pan_appbtnClick() {
    if (MessageBoxA(hwnd_, "Do u really wanna change file types for all decoders ?", "Confirm",
                    MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    host_.set_active_patterns(active_copy_);
}

void Tinitial::fill_np_tab(const NowPlayingTab& t, const NowPlayingFileSettings& s) {
    set_check(t.create_cb, s.np_create);
    set_check(t.dynamic_cb, s.np_dynamic_write);
    SetWindowTextA(t.file_ed, s.np_file.c_str());
    const std::string* tpl[4] = {&s.np_playing, &s.np_paused, &s.np_stopped, &s.np_closed};
    for (size_t i = 0; i < 4; ++i) SetWindowTextA(t.templates[i], tpl[i]->c_str());
    np_create_click(t);
}

void Tinitial::np_create_click(const NowPlayingTab& t) {
    const BOOL on = checked(t.create_cb);
    EnableWindow(t.file_ed, on);
    for (HWND e : t.templates) EnableWindow(e, on);
}

void Tinitial::np_apply(const NowPlayingTab& t, NowPlayingFileSettings& s) {
    s.np_create = checked(t.create_cb);
    s.np_dynamic_write = checked(t.dynamic_cb);
    s.np_file = text_of(t.file_ed);
    std::string* tpl[4] = {&s.np_playing, &s.np_paused, &s.np_stopped, &s.np_closed};
    for (size_t i = 0; i < 4; ++i) *tpl[i] = text_of(t.templates[i]);
}

void Tinitial::np_save_click(const NowPlayingTab& t) {
    char path[MAX_PATH] = "";
    const std::string folder = host_.dialog_folder();
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = hwnd_;
    ofn.lpstrFilter = "TEXT Files\0*.txt\0";
    ofn.lpstrFile = path;
    ofn.nMaxFile = sizeof path;
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrTitle = "Save NP to...";
    ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    if (!GetSaveFileNameA(&ofn)) return;
    host_.set_dialog_folder(folder_of(path));
    SetWindowTextA(t.file_ed, path);
}

void Tinitial::fill_studios() {
    SendMessageA(stud_pan_box, LB_RESETCONTENT, 0, 0);
    for (const std::string& n : host_.studio_names())
        SendMessageA(stud_pan_box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(n.c_str()));
}

void Tinitial::draw_colour_button(const DRAWITEMSTRUCT& d) {
    const uint32_t colour = d.hwndItem == osc_col_L ? model_.scope_L : model_.scope_R;
    RECT r = d.rcItem;
    DrawEdge(d.hDC, &r, (d.itemState & ODS_SELECTED) ? EDGE_SUNKEN : EDGE_RAISED,
             BF_RECT | BF_ADJUST);
    win::Brush b(CreateSolidBrush((d.itemState & ODS_DISABLED) ? GetSysColor(COLOR_BTNFACE)
                                                               : static_cast<COLORREF>(colour)));
    InflateRect(&r, -2, -2);
    FillRect(d.hDC, &r, b.get());
}

void Tinitial::osc_col_click(bool left) {
    static COLORREF custom[16] = {};
    uint32_t& colour = left ? model_.scope_L : model_.scope_R;
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = hwnd_;
    cc.rgbResult = colour;
    cc.lpCustColors = custom;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorA(&cc)) return;
    colour = cc.rgbResult & 0xFFFFFFu;
    InvalidateRect(left ? osc_col_L : osc_col_R, nullptr, FALSE);
    host_.scope_changed();
}

void Tinitial::osc_col_skinClick() {
    model_.scope_col_skin = checked(osc_col_skin);
    apply_scope_enables();
    host_.scope_changed();
}

// The effect list from "ave\*.ave"; the effect menu is built from the same
// folder each time it opens.
void Tinitial::fill_effects() {
    effects_ = find_file_names(folder_ + "ave\\*.ave");
    fill_effect_box();
}

void Tinitial::fill_effect_box() {
    SendMessageA(ave_name, CB_RESETCONTENT, 0, 0);
    for (const std::string& e : effects_)
        SendMessageA(ave_name, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.c_str()));
}

void Tinitial::ave_nameChange() {
    const LRESULT i = SendMessageA(ave_name, CB_GETCURSEL, 0, 0);
    if (i < 0 || static_cast<size_t>(i) >= effects_.size()) return;
    if (!host_.select_effect(effects_[static_cast<size_t>(i)], ave_init_text_, ave_frame_text_))
        return;
    model_.ave_index = static_cast<int>(i);
    fill_effect_memos();
}

void Tinitial::fill_effect_memos() {
    SetWindowTextA(ave_init_memo, memo_text(ave_init_text_).c_str());
    SetWindowTextA(ave_script_memo, memo_text(ave_frame_text_).c_str());
}

void Tinitial::SpeedButton11Click() {
    std::string name;
    if (!win::input_box(hwnd_, "AVE name", "Enter AVE name", name)) return;
    const std::string path = folder_ + "ave\\" + name + ".ave";
    if (!FileExists(path) || MessageBoxA(hwnd_, "This AVE is already exists. Overwrite?", "Warning",
                                         MB_YESNO | MB_ICONWARNING) == IDYES)
        host_.save_effect(path, text_of(ave_init_memo), text_of(ave_script_memo));
    const std::string current =
        model_.ave_index >= 0 && static_cast<size_t>(model_.ave_index) < effects_.size()
            ? effects_[static_cast<size_t>(model_.ave_index)]
            : std::string();
    fill_effects();
    for (size_t i = 0; i < effects_.size(); ++i)
        if (effects_[i] == current) {
            model_.ave_index = static_cast<int>(i);
            SendMessageA(ave_name, CB_SETCURSEL, i, 0);
        }
}

void Tinitial::open_help(const char* file) {
    show_help(instance_, hwnd_, folder_ + file, host_.always_on_top());
}

// Skins are the folders of "skins\" that hold a face; an entry is a folder name.
void Tinitial::fill_skins() {
    SendMessageA(skin_listbox, LB_RESETCONTENT, 0, 0);
    for (const FoundFile& f : find_files(folder_ + "skins\\*"))
        if (f.directory() && f.name != "." && f.name != "..")
            SendMessageA(skin_listbox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f.name.c_str()));
    const LRESULT running = SendMessageA(skin_listbox, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>("Default"));
    if (running >= 0) {
        SendMessageA(skin_listbox, LB_SETCURSEL, static_cast<WPARAM>(running), 0);
        skin_listboxClick();
    }
}

void Tinitial::skin_listboxClick() {
    const LRESULT i = SendMessageA(skin_listbox, LB_GETCURSEL, 0, 0);
    if (i < 0) return;
    char name[MAX_PATH] = "";
    if (SendMessageA(skin_listbox, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0) >= MAX_PATH) return;
    SendMessageA(skin_listbox, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(name));
    const std::string file = folder_ + "skins\\" + name + "\\face.bmp";
    preview_.reset(static_cast<HBITMAP>(LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0,
                                                   LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    InvalidateRect(Image1, nullptr, TRUE);
}

// The face's band from (0, 33) to (277, 151).
void Tinitial::draw_preview(const DRAWITEMSTRUCT& d) {
    FillRect(d.hDC, &d.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    if (!preview_) return;
    win::MemoryDC mem(CreateCompatibleDC(d.hDC));
    win::Selected sel(mem.get(), preview_.get());
    BitBlt(d.hDC, 0, 0, 277, 118, mem.get(), 0, 33, SRCCOPY);
}

void Tinitial::playskin_pan_appbtnClick() {
    const LRESULT i = SendMessageA(skin_listbox, LB_GETCURSEL, 0, 0);
    if (i < 0) return;
    char name[MAX_PATH] = "";
    if (SendMessageA(skin_listbox, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0) >= MAX_PATH) return;
    SendMessageA(skin_listbox, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(name));
    if (!host_.apply_skin(name))
        MessageBoxA(hwnd_, (std::string("The skin \"") + name + "\" cannot be loaded.").c_str(),
                    "Error", MB_OK | MB_ICONERROR);
}

void Tinitial::plexp_pan_pl_timeClick(HWND box) {
    bool* cols[6] = {&model_.Col_time, &model_.Col_track,  &model_.Col_album,
                     &model_.Col_year, &model_.Col_format, &model_.Col_filename};
    for (size_t i = 0; i < 6; ++i)
        if (columns_[i] == box) *cols[i] = checked(box);
    host_.columns_changed();
}
