#include <gtest/gtest.h>

#include <set>

#include "app/player_core.h"

namespace {

class RecordingHost : public ActivationHost {
  public:
    std::set<std::string> files;
    std::vector<std::string> calls;
    bool file_exists(const std::string& p) override { return files.count(p) > 0; }
    void play_media(const std::string& p) override { calls.push_back("media " + p); }
    void play_vl2_list(const std::string& p) override { calls.push_back("vl2 " + p); }
    void play_m3u_list(const std::string& p) override { calls.push_back("m3u " + p); }
    void load_default_playlist(const std::string& p) override { calls.push_back("default " + p); }
    void new_list() override { calls.push_back("new"); }
    void console_changed() override { calls.push_back("console"); }
    void show_playlist(bool v) override { calls.push_back(v ? "show" : "hide"); }
};

class Activation : public ::testing::Test {
  protected:
    PlayerCore core;
    RecordingHost host;
    void SetUp() override {
        core.folders = FolderValues::compute("C:\\VL\\veltrona.exe", "C:\\Temp", 9, 5, 3);
    }
};

TEST_F(Activation, FolderValues) {
    const FolderValues& f = core.folders;
    EXPECT_EQ(f.program, "C:\\VL\\");
    EXPECT_EQ(f.plugins, "C:\\VL\\plugins\\");
    EXPECT_EQ(f.langs, "C:\\VL\\langs\\");
    EXPECT_EQ(f.codecs, "C:\\VL\\codecs\\");
    EXPECT_EQ(f.effects_mask, "C:\\VL\\ave\\*.ave");
    EXPECT_EQ(f.default_playlist, "C:\\VL\\veltrona.vl2");
    EXPECT_EQ(f.working, "C:\\Temp\\_vl_tmp_9_5_3_\\");
    EXPECT_EQ(f.skin("Default"), "C:\\VL\\skins\\Default\\");
}

TEST_F(Activation, ExistingPlaylistOnTheCommandLineReplacesTheDefault) {
    host.files = {"C:\\b.VL2", "C:\\c.m3u", "C:\\VL\\veltrona.vl2"};
    core.activate("C:\\b.VL2", true, host);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"vl2 C:\\b.VL2", "console", "show"}));

    PlayerCore other;
    other.folders = core.folders;
    RecordingHost h2;
    h2.files = host.files;
    other.activate("C:\\c.m3u", false, h2);
    EXPECT_EQ(h2.calls, (std::vector<std::string>{"m3u C:\\c.m3u", "console", "hide"}));
}

TEST_F(Activation, AnActivationDuringTheFirstOneDoesNothing) {
    // A message box shown while the file opens pumps messages and activates again.
    struct Reentering : RecordingHost {
        PlayerCore* core = nullptr;
        void play_media(const std::string& p) override {
            RecordingHost::play_media(p);
            core->activate(p, true, *this);
        }
    } reentering;
    reentering.core = &core;
    core.activate("C:\\a.mp3", true, reentering);
    EXPECT_EQ(reentering.calls,
              (std::vector<std::string>{"media C:\\a.mp3", "new", "console", "show"}));
}

TEST_F(Activation, MissingPlaylistFallsBackToTheDefaultList) {
    host.files = {"C:\\VL\\veltrona.vl2"};
    core.activate("C:\\gone.vl2", false, host);
    EXPECT_EQ(host.calls,
              (std::vector<std::string>{"default C:\\VL\\veltrona.vl2", "console", "hide"}));
}

TEST_F(Activation, MediaFileIsPlayedAndTheDefaultListStillLoads) {
    core.started_from_playlist = true;
    core.activate("C:\\song.xyz", false, host);
    EXPECT_FALSE(core.started_from_playlist);
    EXPECT_EQ(host.calls,
              (std::vector<std::string>{"media C:\\song.xyz", "new", "console", "hide"}));
}

TEST_F(Activation, NoArgumentAndNoDefaultListCreatesANewList) {
    core.activate("", false, host);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"new", "console", "hide"}));
    EXPECT_EQ(core.console,
              (std::vector<std::string>{"> VELTRona v.0.73beta by Dunmoor",
                                        std::string("> Web: ") + PlayerCore::kWeb,
                                        std::string("> E-mail: ") + PlayerCore::kEmail}));
}

TEST_F(Activation, OnlyTheFirstActivationActs) {
    core.activate("C:\\song.mp3", false, host);
    const size_t after_first = host.calls.size();
    core.console = {"> something else"};
    core.activate("C:\\song.mp3", false, host);
    EXPECT_EQ(host.calls.size(), after_first);
    EXPECT_EQ(core.console, std::vector<std::string>{"> something else"});
}

TEST(ClassifyArgument, ByExtensionInAnyCase) {
    EXPECT_EQ(classify_argument(""), ArgumentKind::None);
    EXPECT_EQ(classify_argument("a.vl2"), ArgumentKind::Vl2List);
    EXPECT_EQ(classify_argument("a.Vl2"), ArgumentKind::Vl2List);
    EXPECT_EQ(classify_argument("a.M3u"), ArgumentKind::M3uList);
    EXPECT_EQ(classify_argument("a.m3u8"), ArgumentKind::Media);
    EXPECT_EQ(classify_argument("C:\\x.vl2\\noext"), ArgumentKind::Media);
}

}  // namespace
