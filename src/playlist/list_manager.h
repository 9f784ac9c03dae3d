// The list manager: one tab per open list, each with its working list file
// (working folder + tab name), its view snapshot (that + "_#") and its origin
// path; the list menu's New, Load, Save, Save as and Close and the add menu's
// List. The window shows the tabs and the dialogs; the rules live here.
#pragma once

#include <string>
#include <vector>

#include "playlist/playlist_model.h"

struct ListTab {
    std::string name;    // file name of the working list file
    std::string origin;  // the file the list came from, or its working list file
    bool vl2 = true;     // false: the origin is an M3U list, which Save must not overwrite
};

struct ListFileDialog {
    bool save = false;
    const char* title;
    // Description and pattern pairs, each ended by a zero character.
    std::string filter;
};
// "&Load" and "Add" -> "&List".
ListFileDialog open_list_dialog();
// "Save &as".
ListFileDialog save_list_dialog();

class ListManagerUi {
  public:
    virtual ~ListManagerUi() = default;
    // The system's file dialog started in folder; the chosen path and the
    // 1-based filter selected on confirming. False: no choice.
    virtual bool choose_list_file(const ListFileDialog& d, const std::string& folder,
                                  std::string& path, int& filter) = 0;
    // A warning with Yes and No; true for Yes.
    virtual bool ask(const std::string& text) = 0;
    virtual bool file_exists(const std::string& path) = 0;
    virtual void show_template_chooser() = 0;
    virtual void tabs_changed() {}
};

class ListManager {
  public:
    ListManager(PlaylistModel& model, ListManagerUi& ui, std::string& last_folder);

    const std::vector<ListTab>& tabs() const { return tabs_; }
    int current() const { return current_; }
    // Set by "Save &as" with "Custom format"; the template chooser writes there.
    const std::string& export_target() const { return export_target_; }
    std::string snapshot_of(int tab) const;

    void list_managerChange(int k);
    void lst_men_newClick();
    void load();
    // A list under a new tab: filter 1 a VL2 file, 2 an M3U list. False when
    // a VL2 file could not be read; its tab is then closed again.
    bool open_list(const std::string& path, int filter);
    void save();
    void save_as();
    void close();
    void add_list();
    // Adding to a list needs one: without any tab a new list is made.
    void ensure_list();

  private:
    bool save_as_vl2(const std::string& path);
    bool write_list(const std::string& dest, bool delete_first);
    std::string unique_tab_name(const std::string& name) const;
    void add_tab(ListTab tab);
    void show_tab(int k);

    PlaylistModel& model_;
    ListManagerUi& ui_;
    std::string& last_folder_;
    std::vector<ListTab> tabs_;
    int current_ = -1;
    std::string export_target_;
};
