// Playback control: the player's commands to the current decoder plugin and
// the millisecond clock that measures position and length.
#pragma once

#include <cstdint>
#include <string>

#include "app/info_macros.h"
#include "base/file_info.h"
#include "playlist/playlist_model.h"
#include "settings/now_playing.h"

class TDecoder_plugin;

// The playback side of the plugin registry. Every call is guarded: false
// means no plugin is bound or the call faulted.
class PlaybackBinding {
  public:
    virtual ~PlaybackBinding() = default;
    virtual void open(const std::string& path) = 0;
    virtual bool setmode(int32_t code, int32_t param, int32_t& result) = 0;
    virtual bool getmode(int32_t code, int32_t& result) = 0;
    // NoPlugin also when the call faulted; NotLoaded when the plugin said no.
    virtual TrackValues::Info fileinfo(FileInfoRec& out) = 0;
};

// The registry's binding, as the player uses it.
class RegistryBinding : public PlaybackBinding {
  public:
    explicit RegistryBinding(TDecoder_plugin& decoders) : decoders_(decoders) {}
    void open(const std::string& path) override;
    bool setmode(int32_t code, int32_t param, int32_t& result) override;
    bool getmode(int32_t code, int32_t& result) override;
    TrackValues::Info fileinfo(FileInfoRec& out) override;

  private:
    TDecoder_plugin& decoders_;
};

class TickSource {
  public:
    virtual ~TickSource() = default;
    virtual uint32_t now() = 0;  // milliseconds, wrapping
};

// The main window as playback control sees it.
class PlaybackView {
  public:
    virtual ~PlaybackView() = default;
    virtual void console_clear() = 0;
    virtual void console_add(const std::string& line) = 0;
    // Adds a line first when the console is empty.
    virtual void console_set_first(const std::string& line) = 0;
    virtual std::string console_first() = 0;
    // Draws the console at once, before a step that may take a while.
    virtual void console_show() = 0;
    virtual void meter_timer(bool on) = 0;
    virtual void playlist_timer_off() = 0;
    virtual void set_caption(const std::string& caption) = 0;
    // Volume bar image for level 0..10 and the knob at `knob` 0..100.
    virtual void draw_volume(int level, int knob) = 0;
    virtual void draw_time_knob(int32_t position_ms) = 0;
    // After a successful start: knob drag reset, AVE init script, hint
    // timer, scope colour cycle.
    virtual void playback_started() = 0;
    virtual void now_playing(NowPlaying what) = 0;
    // The system's open dialog; false when nothing was chosen.
    virtual bool choose_file(const std::string& title, const std::string& filter,
                             const std::string& pattern, const std::string& folder,
                             std::string& chosen) = 0;
    // The playlist entry being started; false when it cannot be read.
    virtual bool playlist_entry(PlaylistEntry& entry) = 0;
};

struct PlayClock {
    uint32_t start_tick = 0;
    double units_per_ms = 0;
    int32_t position_ms = 0;
    int32_t offset_ms = 0;
    int32_t length_ms = 0;
};

// What one meter tick found.
struct TickResult {
    int32_t state = -1;
    bool clock_moved = false;  // position and length were measured
};

class PlaybackControl {
  public:
    PlaybackControl(PlaybackBinding& plugin, PlaybackView& view, TickSource& ticks)
        : plugin_(plugin), view_(view), ticks_(ticks) {}

    // Options and values kept by the settings store.
    bool use_playlist_volume = false;
    std::string info_template[3] = {"%FL", "%AR - %TL", "%BRkbps  %SRHz"};
    std::string last_folder;  // Dialog_OS
    std::string filter;       // the registry's FilterString
    int volume = 100;         // the volume variable
    bool started_from_playlist = false;

    void loadfile(const std::string& path);
    void playfile();
    void open_butClick();
    void stop_butClick();
    void pause_butClick();
    void rewind_release();
    void forward_release();
    void setvolume(int v);
    // Start-up: the volume variable and the knob take the stored volume,
    // clamped to 0..100; nothing is drawn or sent.
    void restore_volume(int v);
    void setposition(int32_t ms);
    // The meter's knob update: the knob follows the clock unless the time bar
    // is being dragged.
    void follow_clock();
    // The volume bar's drag: the status line is remembered at the press and
    // given back, with the knob drawn normal, at the release.
    void volume_drag_begin();
    void volume_drag_end();
    void volume_up();
    void volume_down();

    // The time bar's seek drag; x and the bar in pixels, press_x where it began.
    // A press released without a drag seeks nowhere.
    void seek_begin(int press_x);
    // Returns +1 when x moved right of the last drag x, -1 when left, 0 else.
    int seek_drag(int x, int bar_left, int bar_width, int knob_width);
    void seek_end();
    bool seeking() const { return seeking_; }

    // One meter-timer tick: state, clock, fades.
    TickResult tick();
    // Shutdown: stops a playing plugin.
    void shutdown();

    // The loaded file's tag or entry was edited: the player's texts become
    // these, and the information lines and the caption show them.
    void retag(const std::string& title, const std::string& artist, const std::string& album,
               const std::string& year);

    std::string expandinfo(const std::string& tpl);
    // While on, expansions share one fetch of the file information: plugins
    // describe the file anew on every fetch. Off forgets the fetch.
    void share_file_info(bool on);
    std::string caption() const;

    int32_t state() const { return state_; }
    const PlayClock& clock() const { return clock_; }
    int knob_volume() const { return knob_volume_; }
    int32_t knob_position() const { return knob_position_; }
    const std::string& current_file() const { return current_file_; }
    const FileInfoRec& file_info() const { return file_info_; }
    const std::string& title() const { return title_; }
    const std::string& artist() const { return artist_; }
    const std::string& album() const { return album_; }
    const std::string& year() const { return year_; }
    const PlaylistEntry& playing_entry() const { return entry_; }
    int32_t seek_target_ms() const { return seek_target_ms_; }

  private:
    int32_t query(int32_t code, bool& ok);
    void command(int32_t code, int32_t param);
    void restart_clock(int32_t offset_ms);
    bool fades_active() const;

    PlaybackBinding& plugin_;
    PlaybackView& view_;
    TickSource& ticks_;

    int32_t state_ = -1;
    PlayClock clock_;
    int32_t seek_target_ms_ = 0;
    int32_t seek_target_units_ = 0;
    bool seek_dragged_ = false;  // this press has set a target
    int last_drag_x_ = -1;
    bool seeking_ = false;
    std::string saved_first_line_;
    std::string current_file_;
    FileInfoRec file_info_;
    std::string title_, artist_, album_, year_;
    PlaylistEntry entry_;
    bool entry_valid_ = false;
    double fade_in_step_ = 0;
    double fade_out_step_ = 0;
    int knob_volume_ = 0;
    int32_t knob_position_ = 0;
    uint32_t paused_at_ = 0;
    bool paused_ = false;
    uint32_t repositioned_at_ = 0;
    bool repositioned_ = false;
    bool share_info_ = false;
    bool shared_fetched_ = false;
    TrackValues::Info shared_result_ = TrackValues::Info::NoPlugin;
    FileInfoRec shared_info_;
};

// Expansions made while it lives share one fetch of the file information.
class SharedFileInfo {
  public:
    explicit SharedFileInfo(PlaybackControl& pc) : pc_(pc) { pc_.share_file_info(true); }
    ~SharedFileInfo() { pc_.share_file_info(false); }
    SharedFileInfo(const SharedFileInfo&) = delete;
    SharedFileInfo& operator=(const SharedFileInfo&) = delete;

  private:
    PlaybackControl& pc_;
};
