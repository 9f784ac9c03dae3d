#include <gtest/gtest.h>

#include "plugins/plug_eng.h"
#include "plugins/plugin_guard.h"
#include "plugins/plugin_module_win32.h"
#include "plugins/vl_decoder.h"
#include "win_process.h"

namespace {

class RecordingBoxes : public MessageBoxes {
  public:
    std::vector<std::string> texts;
    void error(const std::string& t) override { texts.push_back(t); }
};

int overflow(int depth) {
    volatile char frame[4096];
    frame[depth % sizeof frame] = static_cast<char>(depth);
    if (depth < 0) return 0;
    return overflow(depth + 1) + frame[0];
}

TEST(PluginGuard, ContainsFaultsRaisedInTheHost) {
    // A stack overflow, twice: the first must leave the stack able to catch the next.
    for (int i = 0; i < 2; ++i) EXPECT_FALSE(guarded([] { overflow(0); })) << i;
    volatile int zero = 0;
    EXPECT_FALSE(guarded([&] {
        volatile int* p = nullptr;
        *p = 1;
    }));
    EXPECT_FALSE(guarded([&] {
        volatile int x = 10 / zero;
        (void)x;
    }));
    EXPECT_FALSE(guarded([] { throw 42; }));
    int ran = 0;
    EXPECT_TRUE(guarded([&] { ran = 1; }));
    EXPECT_EQ(ran, 1);
}

// Each kind of fault ends only its call; the plugin is then switched off for
// the run and named once.
TEST(PluginGuard, AFaultingCallIsContainedAndItsPluginSwitchedOff) {
    ProgramFolder f("guard");
    f.add_plugin("vl_test_fault", "vl_fault.dll");
    SetEnvironmentVariableA("VL_TEST_JOURNAL", f.journal.c_str());
    const struct {
        const char* what;
        bool (*faults)(TDecoder_plugin&);  // true when the call gave its fault value
    } cases[] = {
        {"access violation", [](TDecoder_plugin& d) { return d.SetMode(MODE_PAUSE, 0) == 0; }},
        {"division by zero", [](TDecoder_plugin& d) { return d.SetMode(MODE_RESUME, 0) == 0; }},
        {"C++ exception", [](TDecoder_plugin& d) { return d.ShowOptions() == 0; }},
        {"access violation in a query",
         [](TDecoder_plugin& d) { return d.QueryMode(QUERY_LENGTH, -1) == -1; }},
        {"stack overflow", [](TDecoder_plugin& d) { return d.SetMode(MODE_SEEK, 0) == 0; }},
    };
    _putenv("VL_TEST_MISBEHAVE=overflow");
    for (const auto& c : cases) {
        Win32ModuleLoader loader;
        RecordingBoxes boxes;
        TQEL_plugin reg(loader, boxes);
        reg.SetPluginFolder(f.root + "plugins\\");
        reg.SetCodecsFolder(f.root + "codecs\\");
        reg.ScanPlugins();
        ASSERT_EQ(reg.Decoders.Count(), 1);
        TDecoder_plugin& dec = reg.Decoders;
        dec.OpenForPlayback(f.root + "a.mp3");
        ASSERT_TRUE(dec.IsBound()) << c.what;
        EXPECT_EQ(dec.Play(), 1) << c.what;
        EXPECT_TRUE(c.faults(dec)) << c.what;
        EXPECT_FALSE(dec.IsBound()) << c.what;
        EXPECT_EQ(dec.QueryMode(QUERY_STATE, -1), -1) << c.what;
        dec.OpenForPlayback(f.root + "a.mp3");
        EXPECT_FALSE(dec.IsBound()) << c.what;
        ASSERT_EQ(boxes.texts.size(), 1u) << c.what;
        EXPECT_NE(boxes.texts[0].find("vl_fault.dll"), std::string::npos) << c.what;
    }
    _putenv("VL_TEST_MISBEHAVE=");
    SetEnvironmentVariableA("VL_TEST_JOURNAL", nullptr);
}

TEST(PluginGuard, RealPluginThroughTheRegistry) {
    ProgramFolder f("registry");
    f.add_plugin("vl_test", "vl_test.dll");
    f.add_plugin("vl_test_noinfo", "vl_noinfo.dll");
    write_text(f.root + "plugins\\plugins.ini",
               "[Media]\r\nvl_test.dll=*.tst;\r\nvl_noinfo.dll=*.mp3;\r\n");
    write_text(f.root + "a.tst", "x");
    Win32ModuleLoader loader;
    RecordingBoxes boxes;
    TQEL_plugin reg(loader, boxes);
    reg.SetPluginFolder(f.root + "plugins\\");
    reg.SetCodecsFolder(f.root + "codecs\\");
    reg.ScanPlugins();
    ASSERT_EQ(reg.Decoders.Count(), 2);
    EXPECT_EQ(reg.Decoders.DisplayNames[0], "Test decoder");
    TDecoder_plugin& dec = reg.Decoders;

    FileInfoRec info;
    dec.QuickInfo(f.root + "a.tst", info);
    EXPECT_EQ(info.sample_rate, 44100);
    EXPECT_EQ(info.title, "Test title");
    EXPECT_FALSE(dec.IsBound());

    dec.OpenForPlayback(f.root + "a.tst");
    EXPECT_EQ(dec.Play(), 1);
    EXPECT_EQ(dec.GetLength(), 5000 * 44.1);
    FileInfoRec played;
    dec.GetFileInfo(played);
    EXPECT_EQ(played.channel_mode, "Stereo");
    int16_t samples[2 * VL_CHANNEL_FRAMES] = {};
    uint8_t a = 0, b = 0, c = 0, fresh = 0;
    dec.GetChannelData(VL_CHANNEL_FRAMES, samples, &a, &b, &c, &fresh);
    EXPECT_EQ(fresh, 1);

    // The plugin that answers false to fileinfo leaves the record alone.
    dec.OpenForPlayback(f.root + "b.mp3");
    FileInfoRec kept;
    kept.title = "kept";
    dec.GetFileInfo(kept);
    EXPECT_EQ(kept.title, "kept");
    EXPECT_TRUE(boxes.texts.empty());
}

}  // namespace
