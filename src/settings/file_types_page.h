// The "File types" page of the settings dialog: which extensions start the
// player, the two classes' descriptions and icons, and "Apply".
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/key_store.h"
#include "settings/file_types.h"
#include "settings/settings_page.h"
#include "win/handles.h"

class FileTypesPage : public SettingsPage {
  public:
    // exe_folder ends with a backslash; declared_patterns gives one string per
    // plugin. Without a store the page works on HKEY_CLASSES_ROOT.
    FileTypesPage(std::string exe_folder,
                  std::function<std::vector<std::string>()> declared_patterns,
                  std::unique_ptr<KeyStore> store = nullptr);

    void create(HWND panel) override;
    void on_show() override;
    bool on_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    HWND control(const std::string& name) const override;

    // "Apply": writes the associations; a failed write is shown in the error
    // box and stops it. The shell hears of the change either way.
    bool Button2Click();

  private:
    HWND add(const char* name, const char* cls, const char* text, DWORD style, int x, int y, int w,
             int h, int id, DWORD ex_style = 0);
    void load_icons();
    void fill_picker(HWND picker);
    FileTypesForm form_from_controls() const;
    void show_form(const FileTypesForm& form);
    void show_sheet(int index);
    void check_all(bool on);
    void draw_icon(const DRAWITEMSTRUCT& d) const;

    std::string exe_folder_;
    std::function<std::vector<std::string>()> declared_patterns_;
    std::unique_ptr<KeyStore> store_;
    HWND panel_ = nullptr;
    HWND list_ = nullptr, tabs_ = nullptr, f_desc_ = nullptr, l_desc_ = nullptr;
    HWND file_icons_ = nullptr, list_icons_ = nullptr, m3u_ = nullptr;
    std::vector<HWND> sheets_[2];
    std::vector<std::pair<std::string, HWND>> named_;
    std::vector<std::string> items_;
    std::vector<win::Icon> icons_;
};
