#include "app/playback_control.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "plugins/vl_decoder.h"

namespace {

// A plugin that plays a track of `length_units` at `units_per_ms`, following
// the fake clock, and records the commands it receives.
struct FakePlugin : PlaybackBinding {
    uint32_t* now = nullptr;
    bool bound = false;
    int32_t state = STATE_STOPPED;
    int32_t play_answer = 1;
    double units_per_ms = 44.1;
    int32_t length_units = 44100 * 60;
    uint32_t started_at = 0;
    int32_t base_units = 0;
    FileInfoRec info;
    bool info_answer = true;
    std::vector<std::pair<int32_t, int32_t>> commands;
    std::vector<std::string> opened;

    int32_t position() const {
        if (state != STATE_PLAYING) return base_units;
        return base_units + static_cast<int32_t>((*now - started_at) * units_per_ms);
    }
    void open(const std::string& path) override {
        opened.push_back(path);
        bound = true;
    }
    bool setmode(int32_t code, int32_t param, int32_t& result) override {
        if (!bound) return false;
        commands.emplace_back(code, param);
        result = 1;
        if (code == MODE_PLAY) {
            result = play_answer;
            if (play_answer & 0xFF) state = STATE_PLAYING, started_at = *now, base_units = 0;
        } else if (code == MODE_PAUSE) {
            base_units = position();
            state = STATE_PAUSED;
        } else if (code == MODE_RESUME) {
            started_at = *now;
            state = STATE_PLAYING;
        } else if (code == MODE_STOP) {
            state = STATE_STOPPED;
        }
        return true;
    }
    bool getmode(int32_t code, int32_t& result) override {
        if (!bound) return false;
        result = code == QUERY_STATE ? state : code == QUERY_LENGTH ? length_units : position();
        return true;
    }
    int fetches = 0;
    TrackValues::Info fileinfo(FileInfoRec& out) override {
        ++fetches;
        if (!bound) return TrackValues::Info::NoPlugin;
        if (!info_answer) return TrackValues::Info::NotLoaded;
        out = info;
        return TrackValues::Info::Ok;
    }
    std::vector<int32_t> volumes() const {
        std::vector<int32_t> v;
        for (auto [code, param] : commands)
            if (code == MODE_VOLUME) v.push_back(param);
        return v;
    }
};

struct FakeView : PlaybackView {
    std::vector<std::string> console;
    std::string caption;
    bool meter = false;
    int playlist_timer_offs = 0;
    std::vector<NowPlaying> now_playing_writes;
    std::vector<int> volume_levels;
    bool has_entry = false;
    PlaylistEntry entry;
    std::string chosen;
    std::string dialog_title, dialog_folder;

    void console_clear() override { console.clear(); }
    void console_add(const std::string& l) override { console.push_back(l); }
    void console_set_first(const std::string& l) override {
        if (console.empty()) console.emplace_back();
        console[0] = l;
    }
    std::string console_first() override { return console.empty() ? "" : console[0]; }
    std::function<void()> on_console_show;
    void console_show() override {
        if (on_console_show) on_console_show();
    }
    void meter_timer(bool on) override { meter = on; }
    void playlist_timer_off() override { ++playlist_timer_offs; }
    void set_caption(const std::string& c) override { caption = c; }
    void draw_volume(int level, int) override { volume_levels.push_back(level); }
    void draw_time_knob(int32_t) override {}
    void playback_started() override {}
    void now_playing(NowPlaying w) override { now_playing_writes.push_back(w); }
    bool choose_file(const std::string& title, const std::string&, const std::string&,
                     const std::string& folder, std::string& out) override {
        dialog_title = title;
        dialog_folder = folder;
        out = chosen;
        return !chosen.empty();
    }
    bool playlist_entry(PlaylistEntry& e) override {
        e = entry;
        return has_entry;
    }
};

struct FakeTicks : TickSource {
    uint32_t t = 5000;
    uint32_t now() override { return t; }
};

struct Player : ::testing::Test {
    FakeTicks ticks;
    FakePlugin plugin;
    FakeView view;
    PlaybackControl pc{plugin, view, ticks};
    Player() { plugin.now = &ticks.t; }

    void start(const std::string& path = "C:\\m\\song.mp3") {
        pc.loadfile(path);
        pc.playfile();
    }
    void run_ms(uint32_t ms) {
        for (uint32_t i = 0; i < ms / 20; ++i) {
            ticks.t += 20;
            pc.tick();
        }
    }
};

TEST_F(Player, LoadAnnouncesAndPlayStartsTheMeterAndNamesTheTrack) {
    pc.loadfile("");
    EXPECT_TRUE(plugin.opened.empty());
    // The three lines are on screen while the plugin opens the file.
    std::vector<std::string> shown;
    view.on_console_show = [&] {
        if (plugin.opened.empty()) shown = view.console;
    };
    pc.loadfile("C:\\m\\song.mp3");
    EXPECT_EQ(shown,
              (std::vector<std::string>{"> Loading file:", "> song.mp3", "> Please wait..."}));
    EXPECT_EQ(view.console, shown);
    EXPECT_EQ(plugin.opened, std::vector<std::string>{"C:\\m\\song.mp3"});
    plugin.info.bitrate = 128;
    plugin.info.sample_rate = 44100;
    pc.playfile();
    EXPECT_TRUE(view.meter);
    EXPECT_EQ(view.caption, "VELTRona - Unknown artist - Untitled");
    EXPECT_EQ(view.console,
              (std::vector<std::string>{"> Volume 100%", "> Unknown artist - Untitled",
                                        "> 128kbps  44100Hz"}));
    EXPECT_EQ(view.now_playing_writes, std::vector<NowPlaying>{NowPlaying::Started});

    plugin.info.artist = "Band";
    plugin.info.title = "Song";
    start();
    EXPECT_EQ(view.caption, "VELTRona - Band - Song");
}

TEST_F(Player, PlayWithNothingOpenChangesNothing) {
    view.caption = "VELTRona v.0.73";
    view.console = {"> banner"};
    pc.playfile();
    EXPECT_FALSE(view.meter);
    EXPECT_EQ(view.caption, "VELTRona v.0.73");
    EXPECT_EQ(view.console, std::vector<std::string>{"> banner"});
    EXPECT_TRUE(view.now_playing_writes.empty());
}

TEST_F(Player, APlayAnswerWithoutItsLowByteLeavesTheMeterOff) {
    plugin.play_answer = 256;
    start();
    EXPECT_FALSE(view.meter);
}

TEST_F(Player, ClockMeasuresPositionAndLengthFromThePluginsUnits) {
    start();
    run_ms(2000);
    EXPECT_EQ(pc.state(), STATE_PLAYING);
    EXPECT_EQ(pc.clock().position_ms, 2000);
    EXPECT_NEAR(pc.clock().units_per_ms, 44.1, 1e-9);
    EXPECT_EQ(pc.clock().length_ms, 60000);
}

TEST_F(Player, AFirstTickAtZeroOrAPluginAtZeroKeepsTheLengthSane) {
    start();
    pc.tick();  // position 0 ms: no ratio can be measured
    EXPECT_EQ(pc.clock().length_ms, 0);
    plugin.units_per_ms = 0;  // the plugin has not moved yet
    run_ms(100);
    EXPECT_EQ(pc.clock().units_per_ms, 0);
    EXPECT_EQ(pc.clock().length_ms, 0);
}

TEST_F(Player, RewindNeedsMoreThanTenSeconds) {
    start();
    run_ms(10000);
    ASSERT_EQ(pc.clock().position_ms, 10000);
    plugin.commands.clear();
    pc.rewind_release();
    EXPECT_TRUE(plugin.commands.empty());
    ticks.t += 1;
    pc.tick();
    ASSERT_EQ(pc.clock().position_ms, 10001);
    pc.rewind_release();
    ASSERT_EQ(plugin.commands.size(), 1u);
    EXPECT_EQ(plugin.commands[0], std::make_pair(MODE_REWIND, 441000));
    plugin.base_units = 44;  // where the plugin went
    plugin.started_at = ticks.t;
    pc.tick();
    EXPECT_EQ(pc.clock().position_ms, 1);
}

TEST_F(Player, ForwardNeedsTenSecondsLeft) {
    start();
    run_ms(49980);
    plugin.commands.clear();
    pc.forward_release();  // 49980 < 50000: allowed
    EXPECT_EQ(plugin.commands.size(), 1u);
    pc.tick();
    EXPECT_EQ(pc.clock().position_ms, 59980);
    plugin.commands.clear();
    pc.forward_release();
    EXPECT_TRUE(plugin.commands.empty());
}

TEST_F(Player, PauseAndResumeFollowTheStateAndLeaveThePausedTimeOut) {
    start();
    run_ms(1000);
    pc.pause_butClick();
    EXPECT_EQ(plugin.state, STATE_PAUSED);
    ticks.t += 5000;
    pc.tick();
    pc.pause_butClick();
    EXPECT_EQ(plugin.state, STATE_PLAYING);
    pc.tick();
    EXPECT_EQ(pc.clock().position_ms, 1000);
    EXPECT_EQ(
        view.now_playing_writes,
        (std::vector<NowPlaying>{NowPlaying::Started, NowPlaying::Paused, NowPlaying::Resumed}));

    plugin.state = STATE_ENDED;
    plugin.commands.clear();
    pc.pause_butClick();
    EXPECT_TRUE(plugin.commands.empty());
    EXPECT_EQ(view.now_playing_writes.size(), 3u);
}

TEST_F(Player, ExpansionsInsideOneTickShareOneFetchOfTheFileInformation) {
    start();
    const int before = plugin.fetches;
    plugin.info.bitrate = 128;
    {
        const SharedFileInfo tick(pc);
        EXPECT_EQ(pc.expandinfo("%BR"), "128");
        plugin.info.bitrate = 320;
        EXPECT_EQ(pc.expandinfo("%BRkbps"), "128kbps");
    }
    EXPECT_EQ(plugin.fetches, before + 1);
    EXPECT_EQ(pc.expandinfo("%BR"), "320");
}

TEST_F(Player, StopCachesTheEndedStateAndAFailingQueryCountsAsMinusOne) {
    start();
    pc.stop_butClick();
    EXPECT_EQ(pc.state(), STATE_ENDED);
    EXPECT_FALSE(view.meter);
    EXPECT_EQ(view.playlist_timer_offs, 1);
    EXPECT_EQ(view.now_playing_writes.back(), NowPlaying::Stopped);
    plugin.bound = false;
    EXPECT_EQ(pc.tick().state, -1);
}

TEST_F(Player, ArrowKeysStopAtTheLimitsAndStartFromKnobZero) {
    EXPECT_EQ(pc.knob_volume(), 0);
    pc.volume_down();
    EXPECT_TRUE(view.volume_levels.empty());
    pc.volume_up();
    EXPECT_EQ(pc.volume, 1);
    pc.setvolume(100);
    EXPECT_EQ(view.console.front(), "> Volume 100%");
    const size_t draws = view.volume_levels.size();
    pc.volume_up();
    EXPECT_EQ(view.volume_levels.size(), draws);
    EXPECT_EQ(view.volume_levels.back(), 10);
}

TEST_F(Player, ArrowKeysStepFromTheStoredVolume) {
    const struct {
        int stored, knob, after_up, after_down;
    } cases[] = {
        {59, 59, 60, 58}, {0, 0, 1, 0}, {100, 100, 100, 99}, {250, 100, 100, 99}, {-3, 0, 1, 0}};
    for (const auto& c : cases) {
        PlaybackControl up{plugin, view, ticks}, down{plugin, view, ticks};
        up.restore_volume(c.stored);
        down.restore_volume(c.stored);
        EXPECT_EQ(up.knob_volume(), c.knob) << c.stored;
        up.volume_up();
        down.volume_down();
        EXPECT_EQ(up.volume, c.after_up) << c.stored;
        EXPECT_EQ(down.volume, c.after_down) << c.stored;
    }
}

TEST_F(Player, PlaylistEntryFadesInOverFiveSeconds) {
    pc.use_playlist_volume = true;
    pc.started_from_playlist = true;
    view.has_entry = true;
    view.entry.volume = 80;
    view.entry.fade_in = 5;
    view.entry.title = "Entry";
    start();
    EXPECT_EQ(plugin.volumes().back(), 0);
    EXPECT_EQ(view.caption, "VELTRona - Unknown artist - Entry");
    std::vector<int32_t> seen;
    for (int ms = 20; ms <= 5200; ms += 20) {
        ticks.t += 20;
        plugin.commands.clear();
        pc.tick();
        const std::vector<int32_t> v = plugin.volumes();
        if (ms < 5000) {
            ASSERT_EQ(v.size(), 1u) << ms;
            // nearest integer to 16 * position * 0.001, halves to even
            EXPECT_EQ(v[0], static_cast<int32_t>(std::nearbyint(16.0 * ms * 0.001))) << ms;
            seen.push_back(v[0]);
        } else {
            EXPECT_TRUE(v.empty()) << ms;
        }
    }
    EXPECT_EQ(seen.back(), 80);  // reached shortly before 5 s
}

TEST_F(Player, FadeOutNearTheEndAndNoFadeForAFileFromTheOpenDialog) {
    pc.use_playlist_volume = true;
    pc.started_from_playlist = true;
    view.has_entry = true;
    view.entry.volume = 60;
    view.entry.fade_out = 3;
    start();
    run_ms(58000);  // 2 s left of 60
    EXPECT_EQ(plugin.volumes().back(), 40);

    view.chosen = "D:\\other\\x.wav";
    pc.last_folder = "D:\\last\\";
    pc.open_butClick();
    EXPECT_EQ(view.dialog_title, "Open file media");
    EXPECT_EQ(view.dialog_folder, "D:\\last\\");
    EXPECT_EQ(pc.last_folder, "D:\\other\\");
    EXPECT_FALSE(pc.started_from_playlist);
    // The file keeps the volume it had rather than the entry's silence.
    EXPECT_EQ(plugin.volumes().back(), 40);
    plugin.commands.clear();
    run_ms(59000);
    EXPECT_TRUE(plugin.volumes().empty());
}

TEST_F(Player, SeekDragShowsTheTargetAndReleaseMovesThere) {
    start();
    run_ms(1000);
    view.console_set_first("> first");
    pc.seek_begin(100);
    // Bar 10..210 with a 20-pixel knob: 180 pixels span the track.
    EXPECT_EQ(pc.seek_drag(100, 10, 200, 20), 0);
    EXPECT_EQ(pc.seek_target_ms(), 30000);
    EXPECT_EQ(view.console.front(), "> Seek to 00:00:30");
    EXPECT_EQ(pc.seek_drag(70, 10, 200, 20), -1);
    EXPECT_EQ(pc.seek_drag(80, 10, 200, 20), 1);
    pc.seek_end();
    EXPECT_EQ(plugin.commands.back().first, MODE_SEEK);
    EXPECT_EQ(plugin.commands.back().second, 1029000);  // 70 / (180 / 2646000)
    EXPECT_EQ(view.console.front(), "> first");
}

TEST_F(Player, TheKnobStaysAtTheDragWhileTicksRunAndAClickWithoutDragSeeksNowhere) {
    start();
    run_ms(1000);
    pc.seek_begin(100);
    pc.seek_drag(100, 10, 200, 20);
    run_ms(2000);
    pc.follow_clock();
    EXPECT_EQ(pc.knob_position(), 30000);
    pc.seek_end();
    run_ms(1000);
    pc.follow_clock();
    EXPECT_NEAR(pc.knob_position(), 31000, 40);

    start("C:\\m\\next.mp3");
    run_ms(1000);
    plugin.commands.clear();
    pc.seek_begin(150);
    pc.seek_end();
    EXPECT_TRUE(plugin.commands.empty());
}

TEST_F(Player, ReleasingTheVolumeBarGivesTheStatusLineBack) {
    view.console_set_first("> Alpha - Song");
    pc.volume_drag_begin();
    pc.setvolume(40);
    EXPECT_EQ(view.console.front(), "> Volume 40%");
    pc.volume_drag_end();
    EXPECT_EQ(view.console.front(), "> Alpha - Song");
    EXPECT_EQ(view.volume_levels.back(), 4);
}

TEST_F(Player, ExpandInfoBeforeAnyFileAndWithoutInformation) {
    EXPECT_EQ(pc.expandinfo("%AR"), "Ready to load file...");
    pc.loadfile("C:\\a.mp3");
    plugin.info_answer = false;
    EXPECT_EQ(pc.expandinfo("%AR"), "File not loaded...");
}

}  // namespace
