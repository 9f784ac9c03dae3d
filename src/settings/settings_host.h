// What the settings dialog needs from the rest of the player: the plugin
// registry, the studio list, the effects, the skins, the tray and the menus.
// The main window implements it; the dialog sits below those subsystems.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "settings/save_load_sett.h"

class SettingsHost {
  public:
    virtual ~SettingsHost() = default;

    // The player's own settings: tray flags, now-playing files, folders.
    virtual PlayerSettings& player_settings() = 0;
    // Initial folder of the file dialogs (`Dialog_OS`), and its update.
    virtual std::string dialog_folder() = 0;
    virtual void set_dialog_folder(const std::string& folder) = 0;
    // Creates or removes the tray icons from the tray flags.
    virtual void apply_trays() = 0;

    // The model changed: menus, columns, templates or scope colours follow.
    virtual void menu_animation_changed() = 0;
    virtual void columns_changed() = 0;
    virtual void info_templates_changed() = 0;
    // The scope's type or colours changed.
    virtual void scope_changed() = 0;
    // `sys_pl_vol`, not stored.
    virtual void use_playlist_volume(bool on) = 0;

    // Plugins, in registry order.
    virtual std::vector<std::string> plugin_file_names() = 0;
    virtual std::vector<std::string> plugin_display_names() = 0;
    virtual std::vector<std::string> declared_patterns() = 0;
    virtual std::vector<std::string> active_patterns() = 0;
    // Replaces the active patterns and writes "plugins.ini".
    virtual void set_active_patterns(const std::vector<std::string>& active) = 0;

    // Loads the effect into the player, runs its initialisation and returns
    // its two parts; false when the file does not exist.
    virtual bool select_effect(const std::string& name, std::string& init, std::string& frame) = 0;
    // Writes an effect file from the two memos' texts; false on failure.
    virtual bool save_effect(const std::string& path, const std::string& init,
                             const std::string& frame) = 0;

    // The studio names; the editor on entry `index` (-1: a new entry),
    // modal; true when the list changed. Deleting saves "studio.ini".
    virtual std::vector<std::string> studio_names() = 0;
    virtual bool edit_studio(int index) = 0;
    virtual void delete_studio(int index) = 0;

    // Applies a skin folder in the current face size; false when it is
    // unusable (the running skin stays).
    virtual bool apply_skin(const std::string& name) = 0;
    virtual bool always_on_top() = 0;
};
