#include "settings/now_playing.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using Write = std::pair<std::string, std::string>;  // path, bytes

// Records every write; "OEM" upper-cases, so the two files differ visibly.
struct FakeOutput : NowPlayingOutput {
    std::vector<Write> writes;
    std::set<std::string> failing;  // paths whose writes fail
    std::string to_oem(const std::string& ansi) override {
        std::string out = ansi;
        for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return out;
    }
    bool write_file(const std::string& path, const std::string& bytes) override {
        if (failing.count(path)) return false;
        writes.emplace_back(path, bytes);
        return true;
    }
};

NowPlayingFileSettings file(const std::string& path, bool create, bool dynamic) {
    NowPlayingFileSettings f;
    f.np_file = path;
    f.np_create = create;
    f.np_dynamic_write = dynamic;
    f.np_playing = "playing";
    f.np_paused = "paused";
    f.np_stopped = "stopped";
    f.np_closed = "closed";
    return f;
}

struct Files : ::testing::Test {
    NowPlayingFileSettings dos, win;
    FakeOutput out;
    std::string elapsed = "0:01";  // what a time macro would give
    NowPlayingFiles np{dos, win, out, [this](const std::string& t) { return t + " " + elapsed; }};
};

TEST_F(Files, EachEventWritesItsTemplateToEachEnabledFileDosFirst) {
    using E = NowPlaying;
    struct Case {
        const char* name;
        NowPlayingFileSettings dos, win;
        std::vector<E> events;
        std::vector<Write> writes;
    };
    const std::vector<E> playthrough = {E::Started,     E::PlayingTick, E::Paused, E::Resumed,
                                        E::PlayingTick, E::Stopped,     E::Closed};
    const std::vector<Case> cases = {
        {"both static",
         file("d", true, false),
         file("w", true, false),
         playthrough,
         {{"d", "PLAYING 0:01"},
          {"w", "playing 0:01"},
          {"d", "PAUSED 0:01"},
          {"w", "paused 0:01"},
          {"d", "PLAYING 0:01"},
          {"w", "playing 0:01"},
          {"d", "STOPPED 0:01"},
          {"w", "stopped 0:01"},
          {"d", "CLOSED 0:01"},
          {"w", "closed 0:01"}}},
        // The dynamic file skips the start and plays on ticks.
        {"dos dynamic",
         file("d", true, true),
         file("w", true, false),
         playthrough,
         {{"w", "playing 0:01"},
          {"d", "PLAYING 0:01"},
          {"d", "PAUSED 0:01"},
          {"w", "paused 0:01"},
          {"d", "PLAYING 0:01"},
          {"w", "playing 0:01"},
          {"d", "STOPPED 0:01"},
          {"w", "stopped 0:01"},
          {"d", "CLOSED 0:01"},
          {"w", "closed 0:01"}}},
        {"dos off",
         file("d", false, true),
         file("w", true, false),
         {E::Started, E::Closed},
         {{"w", "playing 0:01"}, {"w", "closed 0:01"}}},
        {"empty path", file("", true, false), file("", true, true), playthrough, {}},
        // One file for both: each text reaches it, OEM first.
        {"one path",
         file("x", true, false),
         file("X", true, false),
         {E::Paused},
         {{"x", "PAUSED 0:01"}, {"X", "paused 0:01"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dos = c.dos;
        win = c.win;
        out.writes.clear();
        NowPlayingFiles fresh{dos, win, out,
                              [this](const std::string& t) { return t + " " + elapsed; }};
        for (E e : c.events) fresh.on(e);
        EXPECT_EQ(out.writes, c.writes);
    }
}

TEST_F(Files, UnchangedBytesAreSkippedAndAFailedWriteIsRetriedAtTheNextEvent) {
    dos = file("d", true, true);
    win = file("w", true, true);
    np.on(NowPlaying::PlayingTick);
    np.on(NowPlaying::PlayingTick);  // same texts: the files already hold them
    EXPECT_EQ(out.writes.size(), 2u);
    elapsed = "0:02";
    out.failing = {"d"};  // held open by a reader, say
    np.on(NowPlaying::PlayingTick);
    EXPECT_EQ(out.writes.back(), (Write{"w", "playing 0:02"}));
    out.failing.clear();
    np.on(NowPlaying::PlayingTick);
    EXPECT_EQ(out.writes, (std::vector<Write>{{"d", "PLAYING 0:01"},
                                              {"w", "playing 0:01"},
                                              {"w", "playing 0:02"},
                                              {"d", "PLAYING 0:02"}}));
    // A path applied from the settings is written at once.
    win.np_file = "w2";
    np.on(NowPlaying::PlayingTick);
    EXPECT_EQ(out.writes.back(), (Write{"w2", "playing 0:02"}));
}

}  // namespace
