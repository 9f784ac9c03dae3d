// The playlist's rows and rules, without a window: adding files, playing
// one entry after another, sorting, moving, trash and the list files that
// fill the view. The window (Tsuperplaylist) shows rows() and forwards its
// events here.
#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "playlist/list_files.h"
#include "playlist/list_row.h"
#include "playlist/text_compare.h"
#include "base/file_info.h"

struct DirEntry {
    std::string name;
    bool is_dir = false;
};

// Files, plugins and the message loop as the playlist sees them.
class PlaylistHost {
  public:
    virtual ~PlaylistHost() = default;
    virtual bool file_exists(const std::string& path) = 0;
    virtual bool IsSupported(const std::string& path) = 0;
    virtual void QuickInfo(const std::string& path, FileInfoRec& info) = 0;
    // Every plugin's active patterns joined with line breaks.
    virtual std::string active_patterns() = 0;
    // Entries matching a folder + mask pattern, in the file system's order.
    virtual std::vector<DirEntry> list_dir(const std::string& pattern) = 0;
    virtual void error_box(const std::string& text) = 0;
    virtual void process_messages() {}
    virtual bool terminating() { return false; }
};

// What a playlist entry brings to playback.
struct PlaylistEntry {
    std::string title, artist, album, year;
    int32_t volume = 0;
    int32_t fade_in = 0;   // seconds
    int32_t fade_out = 0;  // seconds
    std::string working_file;
    int32_t record = 0;
};

// What the playlist needs of playback control.
class PlaylistPlayback {
  public:
    virtual ~PlaylistPlayback() = default;
    virtual void loadfile(const std::string& path) = 0;
    virtual void playfile() = 0;
    virtual int32_t decoder_state() = 0;  // QUERY_STATE
    virtual void stop_decoder() = 0;      // MODE_STOP, 0
    virtual void set_started_from_playlist(bool on) = 0;
};

// Told what to redraw; every call is optional.
class PlaylistView {
  public:
    virtual ~PlaylistView() = default;
    virtual void begin_update() {}
    virtual void end_update() {}
    virtual void rows_changed() {}
    virtual void selection_changed(int /*row*/) {}
    virtual void ensure_visible(int /*row*/) {}
    virtual void timer_changed(bool /*enabled*/) {}
    virtual void tray_changed() {}
    virtual void open_file_info(const std::string& /*path*/) {}
};

// Handed to the file information window.
struct SelectionContext {
    int source = 0;  // 0 playlist page, 1 explorer page
    int loaded_file = 0;
    int record = 0;
};

class PlaylistModel {
  public:
    static constexpr int kTrayVisible = 10;
    static constexpr int kKeyEnter = 13;
    static constexpr int kKeyDelete = 46;
    static constexpr int kKeyI = 73;

    PlaylistModel(PlaylistHost& host, PlaylistPlayback& playback,
                  TextCompare compare = word_sort_compare);
    void set_view(PlaylistView* view) { view_ = view ? view : &no_view_; }

    std::string working_folder;  // ends in "\"
    std::string current_file;    // working list file of the list in view
    uint8_t mode = 1;            // 1 list, 0 trash
    int current = 0;             // entry being played from the list (view position)
    std::vector<std::string> history;
    SelectionContext context;

    const std::vector<ListRow>& rows() const { return rows_; }
    int count() const { return static_cast<int>(rows_.size()); }
    int selected() const { return selected_; }
    bool is_selected(int row) const { return row >= 0 && row == selected_; }
    // Single selection: selecting a row unselects the one before.
    void select(int row, bool on);
    bool timer_enabled() const { return timer_; }
    void disable_timer() { set_timer(false); }

    // Adding entries.
    void AddToSongList(const std::string& path);
    void AddToSongList2(const std::string& path, const std::string& text, int32_t seconds);
    bool fileinList(const std::string& path) const { return paths_.count(path) > 0; }
    void ButtonadddirClick(const std::string& folder, const std::string& mask);
    void AddFolderRecursive(const std::string& folder, const std::string& mask);

    // Playing.
    // A list file becomes the list in view and plays from its first entry.
    void play_list_file(const std::string& path);
    // An M3U list imported into a new list, then played from its first entry.
    void play_m3u_file(const std::string& path);
    // "&New": an empty working list in the working folder is the list in view.
    void new_list();
    // The record of the entry being started, as playback takes it; false
    // when the row has no record or the working file cannot be read.
    bool playing_entry(PlaylistEntry& entry) const;
    void playfromlist();
    void nextplay();
    void backplay();
    void playlisttimerTimer();
    void ListView_classicDblClick();
    void listmenuclick(int tag);

    // Editing the view.
    void ListView_classicKeyDown(int key, bool alt_only);
    void srt_menu_nameClick(int tag);
    // Drops the selected row before row target (or at the end when there is none).
    void move_selected(int target);
    void toggle_list_trash();
    void select_all();
    void select_none();
    void select_invert();
    void delete_selected();
    void delete_all();

    // Rows and the tray list menu.
    void clear_rows();
    void append_row(ListRow row);
    void replace_rows(std::vector<ListRow> rows);
    void renumber();
    // Rows showing record n of the list in view get new texts from edit; the
    // caption and the record number stay.
    void edit_record_rows(int record, const std::function<void(ListRow&)>& edit);
    // The visible tray list menu items: (tag, caption), the first ten rows.
    std::vector<std::pair<int, std::string>> tray_items() const;
    // Column c: 0 the caption, otherwise sub-item c - 1.
    int CompareEntries(const ListRow& a, const ListRow& b, int column) const;
    // Record number of a row, or 0 when sub-item 7 is not a number.
    int record_of(int row) const;

    // List files that fill the view.
    int LoadListFile(const std::string& source, const std::string* target, bool clear,
                     uint8_t wanted);
    // name: the working list file's name when it differs from the file's own.
    bool OpenListFile(const std::string& path, const std::string& name = {});
    // Writes the rows in view whose records are not deleted. The old
    // destination stays intact when the write fails.
    bool WriteListFile(const std::string& source, const std::string& dest, bool delete_first);
    bool ImportM3U(const std::string& path);
    void ImportM3UText(const std::string& list_path, std::istream& in);
    bool SaveViewSnapshot(const std::string& file) const;
    bool LoadViewSnapshot(const std::string& file);

  private:
    void set_timer(bool on);
    void remove_row(int row);
    void refill_current();
    ListRecord missing_record(const std::string& path) const;
    // Stores the record of an existing file and appends its row.
    void add_file(const std::string& path, const std::string& artist, const std::string& title,
                  const FileInfoRec& f, const std::string& display, int32_t seconds);

    PlaylistHost& host_;
    PlaylistPlayback& playback_;
    TextCompare compare_;
    PlaylistView no_view_;
    PlaylistView* view_ = &no_view_;
    std::vector<ListRow> rows_;
    std::unordered_map<std::string, int> paths_;
    int selected_ = -1;
    bool timer_ = false;
};

// "#EXTINF:" text after the colon: seconds and display text.
struct ExtInf {
    bool have_info = false;
    int32_t seconds = 0;
    std::string text;
};
ExtInf parse_extinf(const std::string& line);
// Blanks and control characters removed from both ends.
std::string trim_text(const std::string& s);
// An M3U entry made absolute: a path without a drive part is resolved against
// the list file's folder (a rooted one against its drive).
std::string m3u_entry_path(const std::string& list_path, const std::string& entry);
// Whether the patterns claim the entry's extension key, without regard to case.
bool m3u_claimed(const std::string& patterns, const std::string& entry);
