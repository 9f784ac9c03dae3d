// Start-up rules of the player that need no window: the folder values, the
// command line, the first activation and the console.
#pragma once

#include <string>
#include <vector>

struct FolderValues {
    std::string program;           // folder of the executable, ending in "\"
    std::string plugins;           // program + "plugins\"
    std::string langs;             // program + "langs\"
    std::string codecs;            // program + "codecs\"
    std::string effects_mask;      // program + "ave\*.ave"
    std::string default_playlist;  // program + "veltrona.vl2"
    std::string working;           // temp + "_vl_tmp_H_M_S_\"

    static FolderValues compute(const std::string& exe_path, const std::string& temp_folder,
                                int hour, int minute, int second);
    std::string skin(const std::string& skin_name) const {
        return program + "skins\\" + skin_name + "\\";
    }
};

enum class ArgumentKind { None, Media, Vl2List, M3uList };
// By the upper-cased extension: ".VL2", ".M3U", anything else is media.
ArgumentKind classify_argument(const std::string& arg);

// What the first activation asks of the windows around it.
class ActivationHost {
  public:
    virtual ~ActivationHost() = default;
    virtual bool file_exists(const std::string& path) = 0;
    // Announce, open and play a media file (loadfile, playfile).
    virtual void play_media(const std::string& path) = 0;
    // Load a list as the current list, select entry 0 and play from the list.
    virtual void play_vl2_list(const std::string& path) = 0;
    virtual void play_m3u_list(const std::string& path) = 0;
    // Add the tab "veltrona.vl2" with the file as its origin and load it.
    virtual void load_default_playlist(const std::string& path) = 0;
    // The playlist's "&New".
    virtual void new_list() = 0;
    virtual void console_changed() = 0;
    // Show or hide the playlist window, then switch it to its explorer page.
    virtual void show_playlist(bool visible) = 0;
};

class PlayerCore {
  public:
    static constexpr const char* kVersionCaption = "VELTRona v.0.73";
    static constexpr const char* kWeb = "https://veltrona.dunmoor.net";
    static constexpr const char* kEmail = "veltrona@dunmoor.net";

    FolderValues folders;
    std::vector<std::string> console;
    bool first_activation = true;
    bool started_from_playlist = false;

    // FormActivate: acts only on the first call. arg is the first
    // command-line argument, already resolved against the start folder.
    void activate(const std::string& arg, bool list_show, ActivationHost& host);
    void write_banner();
};
