// The file information window Tsong_fx_win ("Composition info"): what the
// plugin reports about a file in three grids, and an editor for its tag and
// for the playlist entry it came from.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "fileinfo/song_fx_rules.h"
#include "playlist/file_info_opener.h"
#include "win/window.h"

class TQEL_plugin;
class PlaylistModel;

// What the window needs of the player.
class SongFxHost {
  public:
    virtual ~SongFxHost() = default;
    // The file loaded in the player; "" when none.
    virtual std::string loaded_file() = 0;
    // The working list file and record of the entry being played, when it
    // was started from the playlist.
    virtual bool playing_entry(std::string& working_file, int& record) = 0;
    // The player's current title, artist, album and year become these.
    virtual void retag_player(const std::string& title, const std::string& artist,
                              const std::string& album, const std::string& year) = 0;
};

// Control ids of the editor tab, for tests that drive the window.
namespace song_fx_ids {
inline constexpr int kFile = 201, kFormat = 202, kArtist = 203, kTitle = 204, kAlbum = 205,
                     kYear = 206, kTrack = 207, kGenre = 208, kComment = 209, kVolume = 210,
                     kFadeIn = 211, kFadeOut = 212, kDeleted = 213, kTabs = 100;
// Buttons: OK is IDOK, Cancel IDCANCEL.
inline constexpr int kSelectFile = 101, kSaveToFile = 102, kUpdateFromTag = 103;
}  // namespace song_fx_ids

class Tsong_fx_win : public win::Window, public FileInfoOpener {
  public:
    static constexpr const char* kClassName = "Tsong_fx_win";
    static constexpr int kClientWidth = 336;
    static constexpr int kClientHeight = 382;

    Tsong_fx_win(HINSTANCE instance, TQEL_plugin& plugins, PlaylistModel& playlist,
                 SongFxHost& player);
    // Created hidden; the genre list comes from plugin_folder + "genre.txt".
    bool create(HWND owner, const std::string& plugin_folder);

    // The face's button and the main menu's "File Info": the loaded file,
    // with its playlist entry when it was started from the playlist.
    void open_loaded_file(const std::string& path, bool from_playlist);
    // FileInfoOpener
    void open_list_entry(const std::string& path, int record) override;
    void open_explorer_file(const std::string& path) override;

    // Fills the grids for the file (kept as they are when it does not exist)
    // and shows the window in front.
    void FillGrids(const std::string& path);

  private:
    enum Page { kMainPage, kMpegPage, kTagPage, kEditorPage, kPages };
    struct Editor {
        HWND deleted, vol, fadein, fadein_ud, fadeout, fadeout_ud, filed, format, arted, tited,
            albed, yered, trked, gnred, cmt, btn_ok;
        std::vector<HWND> page;  // every control of the editor tab
    };

    LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp) override;
    void FormCreate();
    void FormShow();
    void show_page(int page);
    void put_grids();
    void sn_fx_btn_rfrClick();
    void sn_fx_btn_opfClick();
    void sn_fx_btn_okClick();
    void sn_fx_btn_sv2fClick();
    void sn_fx_btn_clClick();

    // The editor tab (song_fx_editor.cpp).
    // top: the y where the tabs' display area begins.
    void create_editor(int top);
    void add_hint(HWND control, const char* text);
    void set_editor(const song_fx::EntryEdit& e);
    song_fx::EntryEdit editor() const;

    HINSTANCE instance_;
    TQEL_plugin& plugins_;
    PlaylistModel& playlist_;
    SongFxHost& player_;
    std::vector<std::string> genres_;
    song_fx::InfoGrids grids_;

    // Set by the opener.
    bool edit_entry_ = false;
    bool current_file_ = false;
    int entry_index_ = 0;
    // The entry FormShow filled the editor from; OK writes there.
    bool editing_ = false;  // edit_entry_ at FormShow
    bool entry_read_ = false;
    bool entry_playing_ = false;
    std::string entry_file_;
    int entry_record_ = 0;
    int32_t shown_track_ = 0;  // the track box keeps it when its text is no number
    bool deleted_shown_ = false;

    bool opened_before_ = false;
    HWND tabs_ = nullptr;
    HWND tips_ = nullptr;
    HWND grid_[3] = {};
    Editor ed_{};
};
