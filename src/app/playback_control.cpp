#include "app/playback_control.h"

#include <algorithm>
#include <cmath>

#include "base/paths.h"
#include "plugins/plug_eng.h"
#include "plugins/vl_decoder.h"

namespace {

// Halves go to the even neighbour.
int32_t round_even(double v) {
    return static_cast<int32_t>(std::nearbyint(v));
}

// After a user position change a plugin may need a moment to get there; its
// first answers would make the measured ratio jump.
constexpr uint32_t kSettleMs = 1000;
constexpr double kRatioTolerance = 0.05;

}  // namespace

void RegistryBinding::open(const std::string& path) {
    decoders_.OpenForPlayback(path);
}

bool RegistryBinding::setmode(int32_t code, int32_t param, int32_t& result) {
    return decoders_.TrySetMode(code, param, result);
}

bool RegistryBinding::getmode(int32_t code, int32_t& result) {
    return decoders_.TryQueryMode(code, result);
}

TrackValues::Info RegistryBinding::fileinfo(FileInfoRec& out) {
    bool answered = false;
    if (!decoders_.TryFileInfo(out, answered)) return TrackValues::Info::NoPlugin;
    return answered ? TrackValues::Info::Ok : TrackValues::Info::NotLoaded;
}

int32_t PlaybackControl::query(int32_t code, bool& ok) {
    int32_t r = 0;
    ok = plugin_.getmode(code, r);
    return ok ? r : 0;
}

void PlaybackControl::command(int32_t code, int32_t param) {
    int32_t ignored = 0;
    plugin_.setmode(code, param, ignored);
}

void PlaybackControl::restart_clock(int32_t offset_ms) {
    clock_.start_tick = ticks_.now();
    clock_.offset_ms = offset_ms;
    repositioned_at_ = clock_.start_tick;
    repositioned_ = true;
    if (paused_) paused_at_ = clock_.start_tick;
}

void PlaybackControl::loadfile(const std::string& path) {
    if (path.empty()) return;
    view_.console_clear();
    view_.console_add("> Loading file:");
    view_.console_add("> " + file_name_of(path));
    view_.console_add("> Please wait...");
    view_.console_show();
    view_.meter_timer(false);
    plugin_.open(path);
    current_file_ = path;
}

void PlaybackControl::playfile() {
    clock_ = PlayClock{};
    clock_.start_tick = ticks_.now();
    seek_target_ms_ = 0;
    seek_target_units_ = 0;
    paused_ = false;
    repositioned_ = false;
    // A file from outside the playlist keeps the volume it had: the option
    // only concerns playlist entries.
    const int own_volume = volume;
    if (use_playlist_volume) setvolume(0);

    int32_t played = 0;
    if (!plugin_.setmode(MODE_PLAY, 0, played)) {
        // Nothing open, or the plugin failed: the rest of the steps end here.
        view_.meter_timer(false);
        return;
    }
    const bool started = (played & 0xFF) != 0;
    view_.meter_timer(started);

    FileInfoRec fi;
    if (plugin_.fileinfo(fi) == TrackValues::Info::Ok) file_info_ = fi;

    entry_valid_ = false;
    PlaylistEntry e;
    if (started_from_playlist && view_.playlist_entry(e)) {
        title_ = e.title;
        artist_ = e.artist;
        album_ = e.album;
        year_ = e.year;
        entry_ = e;
        entry_valid_ = true;
        volume = e.volume;
    } else {
        title_ = file_info_.title;
        artist_ = file_info_.artist;
        album_ = file_info_.album;
        year_ = file_info_.year;
        volume = own_volume;
    }

    view_.console_clear();
    for (const std::string& tpl : info_template) view_.console_add("> " + expandinfo(tpl));
    view_.set_caption(caption());

    fade_in_step_ = fade_out_step_ = 0;
    if (entry_valid_ && use_playlist_volume) {
        if (e.fade_in > 0) fade_in_step_ = static_cast<double>(e.volume) / e.fade_in;
        if (e.fade_out > 0) fade_out_step_ = static_cast<double>(e.volume) / e.fade_out;
        setvolume(e.fade_in == 0 ? e.volume : 0);
    } else {
        setvolume(volume);
    }
    view_.playback_started();
    view_.now_playing(NowPlaying::Started);
}

void PlaybackControl::retag(const std::string& title, const std::string& artist,
                            const std::string& album, const std::string& year) {
    title_ = title;
    artist_ = artist;
    album_ = album;
    year_ = year;
    if (current_file_.empty()) return;
    view_.console_clear();
    for (const std::string& tpl : info_template) view_.console_add("> " + expandinfo(tpl));
    view_.set_caption(caption());
}

std::string PlaybackControl::caption() const {
    return std::string("VELTRona - ") + (artist_.empty() ? kUnknownArtist : artist_) + " - " +
           (title_.empty() ? kUntitled : title_);
}

void PlaybackControl::open_butClick() {
    std::string chosen;
    if (!view_.choose_file("Open file media", filter, "*.*", last_folder, chosen)) return;
    loadfile(chosen);
    view_.playlist_timer_off();
    started_from_playlist = false;
    last_folder = folder_of(chosen);
    playfile();
}

void PlaybackControl::stop_butClick() {
    command(MODE_STOP, 0);
    view_.meter_timer(false);
    view_.playlist_timer_off();
    state_ = STATE_ENDED;
    paused_ = false;
    view_.now_playing(NowPlaying::Stopped);
}

void PlaybackControl::pause_butClick() {
    bool ok = false;
    const int32_t s = query(QUERY_STATE, ok);
    if (!ok) return;
    if (s == STATE_PLAYING) {
        command(MODE_PAUSE, 0);
        paused_at_ = ticks_.now();
        paused_ = true;
        view_.now_playing(NowPlaying::Paused);
    } else if (s == STATE_PAUSED) {
        command(MODE_RESUME, 0);
        // The paused time is not playing time.
        if (paused_) clock_.start_tick += ticks_.now() - paused_at_;
        paused_ = false;
        view_.now_playing(NowPlaying::Resumed);
    }
}

void PlaybackControl::rewind_release() {
    if (clock_.position_ms <= 10000) return;
    command(MODE_REWIND, round_even(clock_.units_per_ms * 10000));
    restart_clock(clock_.position_ms - 10000);
}

void PlaybackControl::forward_release() {
    if (clock_.position_ms >= clock_.length_ms - 10000) return;
    command(MODE_FORWARD, round_even(clock_.units_per_ms * 10000));
    restart_clock(clock_.position_ms + 10000);
}

void PlaybackControl::setvolume(int v) {
    if (v < 0) v = 0;
    if (v > 100) v = 100;
    knob_volume_ = v;
    view_.draw_volume(v / 10, v);
    command(MODE_VOLUME, v);
    volume = v;
    view_.console_set_first("> Volume " + std::to_string(v) + "%");
}

void PlaybackControl::restore_volume(int v) {
    volume = knob_volume_ = std::clamp(v, 0, 100);
}

void PlaybackControl::volume_drag_begin() {
    saved_first_line_ = view_.console_first();
}

void PlaybackControl::volume_drag_end() {
    view_.draw_volume(knob_volume_ / 10, knob_volume_);
    view_.console_set_first(saved_first_line_);
}

void PlaybackControl::volume_up() {
    if (knob_volume_ < 100) setvolume(knob_volume_ + 1);
}

void PlaybackControl::volume_down() {
    if (knob_volume_ > 0) setvolume(knob_volume_ - 1);
}

void PlaybackControl::setposition(int32_t ms) {
    knob_position_ = ms;
    view_.draw_time_knob(ms);
}

void PlaybackControl::follow_clock() {
    if (!seeking_) setposition(clock_.position_ms);
}

void PlaybackControl::seek_begin(int press_x) {
    seeking_ = true;
    seek_dragged_ = false;
    last_drag_x_ = press_x;
    saved_first_line_ = view_.console_first();
    view_.draw_time_knob(knob_position_);  // pressed
}

int PlaybackControl::seek_drag(int x, int bar_left, int bar_width, int knob_width) {
    if (!seeking_) return 0;
    const double span = bar_width - knob_width;
    bool ok = false;
    const int32_t units = query(QUERY_LENGTH, ok);
    if (span > 0) {
        const double dx = x - bar_left;
        if (units > 0) seek_target_units_ = static_cast<int32_t>(dx / (span / units));
        if (clock_.length_ms > 0)
            seek_target_ms_ = static_cast<int32_t>(dx / (span / clock_.length_ms));
    }
    seek_dragged_ = true;
    setposition(seek_target_ms_);
    view_.console_set_first("> Seek to " +
                            timestr(std::abs(static_cast<int64_t>(seek_target_ms_))));
    const int dir = x > last_drag_x_ ? 1 : x < last_drag_x_ ? -1 : 0;
    last_drag_x_ = x;
    return dir;
}

void PlaybackControl::seek_end() {
    if (!seeking_) return;
    seeking_ = false;
    if (seek_dragged_) {
        restart_clock(seek_target_ms_);
        command(MODE_SEEK, seek_target_units_);
    }
    view_.draw_time_knob(knob_position_);  // normal again
    view_.console_set_first(saved_first_line_);
}

bool PlaybackControl::fades_active() const {
    return started_from_playlist && entry_valid_ && use_playlist_volume;
}

TickResult PlaybackControl::tick() {
    TickResult r;
    bool ok = false;
    const int32_t s = query(QUERY_STATE, ok);
    state_ = ok ? s : -1;
    r.state = state_;
    if (state_ != STATE_PLAYING) return r;

    PlayClock& c = clock_;
    const uint32_t now = ticks_.now();
    c.position_ms = static_cast<int32_t>(now - c.start_tick) + c.offset_ms;
    const int32_t units = query(QUERY_POSITION, ok);
    if (ok && c.position_ms > 0 && units > 0) {
        const double ratio = static_cast<double>(units) / c.position_ms;
        const bool settling = repositioned_ && now - repositioned_at_ < kSettleMs;
        if (repositioned_ && !settling) repositioned_ = false;
        // A ratio far off the last one right after a seek is the plugin catching up.
        if (!(settling && c.units_per_ms > 0 &&
              std::fabs(ratio - c.units_per_ms) > kRatioTolerance * c.units_per_ms))
            c.units_per_ms = ratio;
    }
    const int32_t length_units = query(QUERY_LENGTH, ok);
    if (ok && c.units_per_ms > 0) {
        const double len = length_units / c.units_per_ms;
        if (len >= 0 && len < 2147483647.0) c.length_ms = static_cast<int32_t>(len);
    }
    r.clock_moved = true;

    if (fades_active()) {
        const int32_t pos = c.position_ms, len = c.length_ms;
        if (entry_.fade_in > 0 && pos < entry_.fade_in * 1000 && pos > 0)
            setvolume(round_even(fade_in_step_ * pos * 0.001));
        if (entry_.fade_out > 0 && len - pos < entry_.fade_out * 1000 && pos < len)
            setvolume(round_even(fade_out_step_ * (len - pos) * 0.001));
    }
    return r;
}

void PlaybackControl::shutdown() {
    bool ok = false;
    const int32_t s = query(QUERY_STATE, ok);
    if (ok && s == STATE_PLAYING) command(MODE_STOP, 0);
    view_.meter_timer(false);
}

void PlaybackControl::share_file_info(bool on) {
    share_info_ = on;
    shared_fetched_ = false;
}

std::string PlaybackControl::expandinfo(const std::string& tpl) {
    TrackValues v;
    if (share_info_ && shared_fetched_) {
        v.info = shared_result_;
        v.file_info = shared_info_;
    } else {
        v.info = plugin_.fileinfo(v.file_info);
        if (share_info_) {
            shared_fetched_ = true;
            shared_result_ = v.info;
            shared_info_ = v.file_info;
        }
    }
    v.title = title_;
    v.artist = artist_;
    v.album = album_;
    v.year = year_;
    v.path = current_file_;
    v.position_ms = clock_.position_ms;
    v.length_ms = clock_.length_ms;
    return expand_track_info(tpl, v);
}
