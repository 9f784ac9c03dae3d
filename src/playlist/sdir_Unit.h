// The folder chooser Tselect_dir: a folder (typed, picked from this run's
// folders or browsed for), with or without its subfolders, and a file filter.
// It is modeless: the other windows go on working while it is open.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "win/window.h"

class Tselect_dir : public win::Window {
  public:
    static constexpr const char* kClassName = "Tselect_dir";
    using Add =
        std::function<void(const std::string& folder, const std::string& filter, bool subfolders)>;

    bool create(HINSTANCE instance, Add on_ok);
    // folder: put into the folder box first when not empty.
    void FormShow(HWND owner, const std::string& folder = {});

  private:
    LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp) override;
    void okClick();
    void BrowseForFolder();

    Add on_ok_;
    HWND dir_dired_ = nullptr;
    HWND inc_cb_ = nullptr;
    HWND dir_filter_ = nullptr;
    HWND tip_ = nullptr;
};
