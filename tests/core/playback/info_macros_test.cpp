#include "app/info_macros.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "playlist/list_files.h"

namespace {

TEST(TimeTexts, LongAndShortForms) {
    EXPECT_EQ(timestr(0), "00:00:00");
    EXPECT_EQ(timestr(3723000), "01:02:03");
    EXPECT_EQ(timestr(999), "00:00:00");
    EXPECT_EQ(timestr(360000000), "100:00:00");  // hours above 99 keep their digits
    EXPECT_EQ(shorttimestr(0), "0:00");
    EXPECT_EQ(shorttimestr(187), "3:07");
    EXPECT_EQ(shorttimestr(3599), "59:59");
    EXPECT_EQ(shorttimestr(3600), "1:00:00");
    EXPECT_EQ(shorttimestr(3729), "1:02:09");
}

TrackValues loaded() {
    TrackValues v;
    v.info = TrackValues::Info::Ok;
    v.file_info.bitrate = 128;
    v.file_info.sample_rate = 44100;
    v.file_info.channels = 2;
    v.path = "C:\\Music\\a.mp3";
    return v;
}

TEST(ExpandInfo, FallbacksFirstCodeOnlyAndChainedValues) {
    TrackValues v = loaded();
    EXPECT_EQ(expand_track_info("%AR - %TL", v), "Unknown artist - Untitled");
    v.artist = "Band";
    EXPECT_EQ(expand_track_info("%AR/%AR", v), "Band/%AR");
    EXPECT_EQ(expand_track_info("%BRkbps  %SRHz", v), "128kbps  44100Hz");
    EXPECT_EQ(expand_track_info("%FL", v), "a.mp3");
    EXPECT_EQ(expand_track_info("no codes", v), "no codes");
    // An inserted value holding a later code is expanded; an earlier one is not.
    v.title = "%FL and %AR";
    EXPECT_EQ(expand_track_info("%TL", v), "a.mp3 and %AR");
    EXPECT_EQ(expand_track_info("%AL|%YR|", v), "||");
}

TEST(ExpandInfo, ChannelsTimesAndMissingInformation) {
    TrackValues v = loaded();
    EXPECT_EQ(expand_track_info("%CH", v), "Stereo");
    v.file_info.channels = 1;
    EXPECT_EQ(expand_track_info("%CH", v), "Mono");
    v.file_info.channels = 6;
    EXPECT_EQ(expand_track_info("[%CH]", v), "[]");
    v.position_ms = 187999;
    v.length_ms = -3729000;  // shown by magnitude
    EXPECT_EQ(expand_track_info("%CT/%DR", v), "3:07/1:02:09");
    v.info = TrackValues::Info::NoPlugin;
    EXPECT_EQ(expand_track_info("%AR", v), "Ready to load file...");
    v.info = TrackValues::Info::NotLoaded;
    EXPECT_EQ(expand_track_info("plain", v), "File not loaded...");
}

struct ListFile {
    std::string path =
        (std::filesystem::temp_directory_path() /
         ("vl_macros_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
          ".vl2"))
            .string();
    ListFile() {
        std::remove(path.c_str());
        CreateEmptyList(path);
    }
    ~ListFile() { std::remove(path.c_str()); }
};

TEST(ExpandListInfo, EntryByRecordNumberWithListTotals) {
    ListFile f;
    ListRecord a;
    a.path = "C:\\m\\one.mp3";
    a.artist = "A1";
    a.title = "T1";
    a.track = 3;
    a.duration = 100;
    ListRecord b = a;
    b.path = "D:\\two.wav";
    b.artist = "A2";
    b.duration = 3629;
    ASSERT_EQ(AppendRecord(f.path, a), 1);
    ASSERT_EQ(AppendRecord(f.path, b), 2);
    int pumped = 0;
    // View order is reversed: entry 0 shows record 2.
    EXPECT_EQ(expandlistinfo(0, "Mix", "%LN:%AR %FL %FP %DR #%TR %SC %ST", f.path, {2, 1},
                             [&] { ++pumped; }),
              "Mix:A2 two.wav D:\\two.wav 1:00:29 #3 2 01:02:09");
    EXPECT_EQ(pumped, 1);
    EXPECT_EQ(expandlistinfo(1, "", "%AR%AR", f.path, {2, 1}), "A1%AR");
}

TEST(ExpandListInfo, UnreadableListsAndBadEntriesGiveTheErrorText) {
    ListFile f;
    EXPECT_EQ(expandlistinfo(0, "L", "%AR", f.path, {1}), "??? Error!!!");  // empty list
    EXPECT_EQ(expandlistinfo(0, "L", "%AR", "/no/such/list.vl2", {1}), "??? Error!!!");
    ListRecord a;
    AppendRecord(f.path, a);
    EXPECT_EQ(expandlistinfo(3, "L", "%SC", f.path, {1}), "??? Error!!!");
    EXPECT_EQ(expandlistinfo(0, "L", "%SC", f.path, {7}), "??? Error!!!");  // no record 7
    EXPECT_EQ(expandlistinfo(0, "L", "%SC", f.path, {1}), "1");
}

// The export's expander reads the list once and must give expandlistinfo's
// texts for every entry, in range or not.
TEST(ListInfoExpander, SameTextsAsExpandListInfo) {
    ListFile f;
    for (int i = 0; i < 3; ++i) {
        ListRecord r;
        r.path = "C:\\m\\" + std::to_string(i) + ".mp3";
        r.artist = "A" + std::to_string(i);
        r.duration = 1000 * i + 7;
        AppendRecord(f.path, r);
    }
    const std::string tpl = "%LN %AR %FL %DR %SC %ST %AR";
    const std::vector<std::vector<int32_t>> views = {{3, 1, 2}, {2},    {},
                                                     {1, 9},    {0, 1}, {1, 2, 3, 1}};
    for (const std::string& file : {f.path, std::string("/no/such/list.vl2")})
        for (const auto& view : views) {
            const ListInfoExpander e(file, view, "Mix");
            for (int k = -1; k <= int(view.size()); ++k)
                EXPECT_EQ(e.expand(k, tpl), expandlistinfo(k, "Mix", tpl, file, view)) << k;
        }
}

}  // namespace
