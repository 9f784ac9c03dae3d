// The Win32 side of the plugin seams: DLL loading, guarded calls, message boxes.
#pragma once

#include <windows.h>

#include "plugins/plugin_module.h"

class Win32ModuleLoader : public ModuleLoader {
  public:
    explicit Win32ModuleLoader(HWND app_window = nullptr) : app_window_(app_window) {}
    void set_app_window(HWND w) { app_window_ = w; }

    std::unique_ptr<PluginModule> load(const std::string& full_path, bool probe) override;
    void set_current_directory(const std::string& folder) override;
    std::vector<std::string> find_files(const std::string& folder,
                                        const std::string& mask) override;
    bool file_exists(const std::string& path) override;
    int32_t app_window() override;

  private:
    HWND app_window_;
};

class Win32MessageBoxes : public MessageBoxes {
  public:
    void error(const std::string& text) override;
};
