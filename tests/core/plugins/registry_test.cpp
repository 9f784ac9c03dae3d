#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "fake_plugins.h"
#include "plugins/plug_eng.h"

namespace {

class Registry : public ::testing::Test {
  protected:
    FakeLoader fake;
    TQEL_plugin reg{fake, fake};

    void scan() {
        reg.SetPluginFolder("C:\\VL\\plugins\\");
        reg.SetCodecsFolder("C:\\VL\\codecs\\");
        reg.ScanPlugins();
        fake.journal.clear();
    }
    std::vector<std::string> calls_without_cd() const {
        std::vector<std::string> out;
        for (const auto& j : fake.journal)
            if (j.rfind("cd ", 0) != 0) out.push_back(j);
        return out;
    }
};

TEST_F(Registry, LaterPluginWinsAndEarlierIsReleasedFirst) {
    fake.add("vl_a.dll");
    fake.add("vl_b.dll");
    scan();
    reg.Decoders.OpenForPlayback("C:\\m\\x.mp3");
    const std::vector<std::string> want = {"cd C:\\VL\\codecs\\",
                                           "load vl_a.dll",
                                           "vl_a.dll initializate 0 77",
                                           "vl_a.dll initializate 2 0",
                                           "vl_a.dll open C:\\m\\x.mp3",
                                           "cd C:\\VL\\codecs\\",
                                           "vl_a.dll initializate 3 0",
                                           "vl_a.dll initializate 1 0",
                                           "load vl_b.dll",
                                           "vl_b.dll initializate 0 77",
                                           "vl_b.dll initializate 2 0",
                                           "vl_b.dll open C:\\m\\x.mp3"};
    EXPECT_EQ(fake.journal, want);
    EXPECT_EQ(reg.Decoders.BoundFileName(), "vl_b.dll");
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(Registry, DiscoveryKeepsOnlyKindOneSubkindZeroWithoutMessages) {
    fake.add("vl_good.dll");
    fake.add("vl_kind2.dll").info.kind = 2;
    fake.add("vl_sub1.dll").info.subkind = 1;
    scan();
    EXPECT_EQ(reg.Decoders.FileNames, std::vector<std::string>{"vl_good.dll"});
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(Registry, DiscoveryReportsUnloadableDllsAndMissingInfo) {
    fake.add("vl_bad.dll").loadable = false;
    fake.add("vl_noinfo.dll").missing.insert("_vl_decoder_info");
    fake.add("vl_ok.dll");
    scan();
    EXPECT_EQ(reg.Decoders.FileNames, std::vector<std::string>{"vl_ok.dll"});
    ASSERT_EQ(fake.boxes.size(), 2u);
    EXPECT_EQ(fake.boxes[0], "Error initialisation plugin C:\\VL\\plugins\\vl_bad.dll");
    EXPECT_EQ(fake.boxes[1],
              "Error initialisation plugin! :-(\r\nInvalid function - _vl_decoder_info");
}

TEST_F(Registry, FaultInInfoSkipsThePlugin) {
    fake.add("vl_crash.dll").faulting.insert("_vl_decoder_info");
    fake.add("vl_ok.dll");
    scan();
    EXPECT_EQ(reg.Decoders.FileNames, std::vector<std::string>{"vl_ok.dll"});
}

TEST_F(Registry, ExtensionMatchingRules) {
    using plugin_rules::claims;
    using plugin_rules::extension_key;
    EXPECT_EQ(extension_key("C:\\a\\song.Mp3"), ".MP3;");
    EXPECT_EQ(extension_key("C:\\a.b\\noext"), ";");
    EXPECT_FALSE(claims("*.mp3;", extension_key("x.mp")));  // a prefix does not claim
    EXPECT_TRUE(claims("*.x.mp3;", extension_key("y.mp3")));
    EXPECT_TRUE(claims("*.MP3;", extension_key("y.mp3")));
    EXPECT_TRUE(claims("*.mp3;", extension_key("Y.MP3")));
    EXPECT_FALSE(claims("*.wav;*.mp3", extension_key("a.mp3")));  // no trailing ";"
    EXPECT_TRUE(claims("*.wav;*.mp3", extension_key("a.wav")));
    EXPECT_TRUE(claims("*.wav;", extension_key("noext")));
    EXPECT_FALSE(claims("", extension_key("noext")));
}

TEST_F(Registry, DeclaredPatternsAreCutAt255) {
    EXPECT_EQ(plugin_rules::declared_patterns("*.mp3"), "*.mp3;");
    std::string long_list(300, 'x');
    EXPECT_EQ(plugin_rules::declared_patterns(long_list), std::string(255, 'x'));
    EXPECT_EQ(plugin_rules::declared_patterns(std::string(254, 'y')), std::string(254, 'y') + ";");
}

TEST_F(Registry, FilterStringBytes) {
    auto& a = fake.add("vl_a.dll");
    a.info.extensions = "*.wav";
    a.info.filter_description = "Wave";
    auto& b = fake.add("vl_b.dll");
    b.info.extensions = "*.mp3;*.mp2";
    b.info.filter_description = "MPEG";
    scan();
    const std::string want = std::string("All supported types") + '\0' + "*.mp3;*.mp2;;*.wav;;" +
                             '\0' + "MPEG" + '\0' + "*.mp3;*.mp2;" + '\0' + "Wave" + '\0' +
                             "*.wav;" + '\0';
    EXPECT_EQ(reg.Decoders.FilterString, want);
}

TEST_F(Registry, EmptyFolderGivesEmptyFilterAndOpensNothing) {
    scan();
    EXPECT_EQ(reg.Decoders.FilterString, std::string("All supported types") + '\0' + '\0' + '\0');
    reg.Decoders.OpenForPlayback("a.mp3");
    EXPECT_EQ(reg.Decoders.Stop(), 0);
    EXPECT_EQ(reg.Decoders.GetState(), 0);
    EXPECT_TRUE(calls_without_cd().empty());
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(Registry, PluginsIniSetsActivePatterns) {
    const std::string dir = ::testing::TempDir();
    {
        std::ofstream ini(dir + "plugins.ini");
        ini << "[Media]\nVL_A.DLL=  *.wav;\n";
    }
    fake.add("vl_a.dll").info.extensions = "*.wav;*.aif";
    fake.add("vl_new.dll").info.extensions = "*.ogg";
    fake.files.insert(dir + "plugins.ini");
    reg.SetPluginFolder(dir);
    reg.ScanPlugins();
    EXPECT_EQ(reg.Decoders.ActivePatterns, (std::vector<std::string>{"*.wav;", ""}));
    // The new plugin plays nothing but its files are still accepted by the playlist.
    EXPECT_TRUE(reg.Decoders.ClaimingRows("x.ogg").empty());
    EXPECT_TRUE(reg.Decoders.IsSupported("x.OGG"));
    EXPECT_TRUE(reg.Decoders.IsSupported("x.aif"));
    EXPECT_FALSE(reg.Decoders.IsSupported("x.mp3"));
    EXPECT_FALSE(reg.Decoders.IsSupported("noext"));
    std::remove((dir + "plugins.ini").c_str());
}

TEST_F(Registry, PluginsIniInUtf16IsReadAndOneThatCannotBeReadCountsAsAbsent) {
    using namespace std::string_literals;
    const std::string dir = ::testing::TempDir(), path = dir + "plugins.ini";
    const std::string utf16 =
        "[\0M\0e\0d\0i\0a\0]\0\n\0v\0l\0_\0a\0.\0d\0l\0l\0=\0*\0.\0w\0a\0v\0"s;
    const struct {
        std::string bytes;
        const char* active;
    } cases[] = {{"\xFF\xFE"s + utf16, "*.wav"}, {utf16, "*.wav;*.aif;"}};
    fake.add("vl_a.dll").info.extensions = "*.wav;*.aif";
    fake.files.insert(path);
    for (const auto& c : cases) {
        std::ofstream(path, std::ios::binary) << c.bytes;
        TQEL_plugin fresh{fake, fake};
        fresh.SetPluginFolder(dir);
        fresh.ScanPlugins();
        EXPECT_EQ(fresh.Decoders.ActivePatterns, std::vector<std::string>{c.active});
    }
    std::remove(path.c_str());
}

TEST_F(Registry, MissingExportIsReportedOnEveryOpenAndTheRestStillWorks) {
    fake.add("vl_a.dll").missing.insert("_vl_decoder_writewave");
    scan();
    reg.Decoders.OpenForPlayback("x.mp3");
    reg.Decoders.OpenForPlayback("y.mp3");
    const std::string msg =
        "Error initialisation plugin! :-(\r\nInvalid function - _vl_decoder_writewave";
    EXPECT_EQ(fake.boxes, (std::vector<std::string>{msg, msg}));
    EXPECT_EQ(reg.Decoders.Play(), 1);
}

TEST_F(Registry, MissingOpenIsNeverCalled) {
    fake.add("vl_a.dll").missing = {"_vl_decoder_open", "_vl_decoder_setmode"};
    scan();
    reg.Decoders.OpenForPlayback("x.mp3");
    EXPECT_EQ(fake.boxes.size(), 2u);
    EXPECT_EQ(fake.boxes[0].substr(fake.boxes[0].rfind("- ") + 2), "_vl_decoder_open");
    EXPECT_EQ(std::count(fake.journal.begin(), fake.journal.end(), "vl_a.dll open x.mp3"), 0);
}

TEST_F(Registry, UnloadablePlaybackDllReportsAudioplugin) {
    fake.add("vl_a.dll");
    scan();
    fake.dlls["vl_a.dll"].loadable = false;
    reg.Decoders.OpenForPlayback("x.mp3");
    EXPECT_EQ(fake.boxes, std::vector<std::string>{"Error initialisation audioplugin! :-("});
    EXPECT_FALSE(reg.Decoders.IsBound());
}

TEST_F(Registry, AFaultingPluginIsNamedOnceAndNeverCalledAgainInThisRun) {
    fake.add("vl_a.dll").state = 4;
    fake.add("vl_b.dll").info.extensions = "*.ogg";
    scan();
    fake.files = {"C:\\x.mp3", "C:\\y.ogg"};
    reg.Decoders.OpenForPlayback("C:\\x.mp3");
    fake.dlls["vl_a.dll"].faulting = {"_vl_decoder_getmode"};
    EXPECT_EQ(reg.Decoders.QueryMode(4, -1), -1);
    EXPECT_FALSE(reg.Decoders.IsBound());
    fake.dlls["vl_a.dll"].faulting.clear();
    fake.journal.clear();
    EXPECT_EQ(reg.Decoders.QueryMode(4, -1), -1);
    EXPECT_EQ(reg.Decoders.Play(), 0);
    reg.Decoders.OpenForPlayback("C:\\x.mp3");
    FileInfoRec info;
    reg.Decoders.QuickInfo("C:\\x.mp3", info);
    EXPECT_EQ(calls_without_cd(), std::vector<std::string>{});
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_NE(fake.boxes[0].find("vl_a.dll"), std::string::npos);

    // A fault in quick information breaks the plugin the same way.
    fake.boxes.clear();
    fake.dlls["vl_b.dll"].faulting = {"_vl_decoder_quickinfo"};
    reg.Decoders.QuickInfo("C:\\y.ogg", info);
    reg.Decoders.QuickInfo("C:\\y.ogg", info);
    EXPECT_EQ(fake.boxes.size(), 1u);
}

TEST_F(Registry, PlayResultIsPassedUnchanged) {
    fake.add("vl_a.dll").play_result = 256;
    scan();
    reg.Decoders.OpenForPlayback("x.mp3");
    EXPECT_EQ(reg.Decoders.Play(), 256);
}

TEST_F(Registry, FileInfoIsTakenOnlyWhenThePluginAnswersTrue) {
    auto& dll = fake.add("vl_a.dll");
    dll.fileinfo.title = "new";
    dll.fileinfo_answer = false;
    scan();
    reg.Decoders.OpenForPlayback("x.mp3");
    FileInfoRec info;
    info.title = "old";
    reg.Decoders.GetFileInfo(info);
    EXPECT_EQ(info.title, "old");
    fake.dlls["vl_a.dll"].fileinfo_answer = true;
    reg.Decoders.GetFileInfo(info);
    EXPECT_EQ(info.title, "new");
}

TEST_F(Registry, QuickInfoNeedsAnExistingFileWithAClaimingPlugin) {
    auto& dll = fake.add("vl_a.dll");
    dll.fileinfo.title = "quick";
    scan();
    FileInfoRec info;
    info.title = "untouched";
    reg.Decoders.QuickInfo("C:\\missing.mp3", info);
    EXPECT_EQ(info.title, "untouched");
    fake.files = {"C:\\x.mp3", "C:\\x.ogg"};
    reg.Decoders.QuickInfo("C:\\x.ogg", info);
    EXPECT_EQ(info, FileInfoRec{});
    reg.Decoders.QuickInfo("C:\\x.mp3", info);
    EXPECT_EQ(info.title, "quick");
    FileInfoRec tags;
    tags.title = "T";
    EXPECT_TRUE(reg.Decoders.SetFileInfoTo("C:\\x.mp3", tags));
    EXPECT_FALSE(reg.Decoders.SetFileInfoTo("C:\\x.ogg", tags));
    EXPECT_FALSE(reg.Decoders.SetFileInfoTo("C:\\gone.mp3", tags));
    // Quick info never disturbs the playback binding.
    EXPECT_FALSE(reg.Decoders.IsBound());
}

TEST_F(Registry, QuickInfoReportsMissingExports) {
    fake.add("vl_a.dll").missing = {"_vl_decoder_setinfoto"};
    scan();
    fake.files = {"C:\\x.mp3"};
    FileInfoRec tags;
    EXPECT_FALSE(reg.Decoders.SetFileInfoTo("C:\\x.mp3", tags));
    EXPECT_EQ(fake.boxes,
              std::vector<std::string>{
                  "Error initialisation plugin! :-(\r\nInvalid function - _vl_decoder_setinfoto"});
}

}  // namespace
