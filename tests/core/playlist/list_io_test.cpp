#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "fakes.h"
#include "playlist/list_files.h"
#include "playlist/playlist_model.h"

namespace {

class ListIoTest : public ::testing::Test {
  protected:
    ListIoTest() : model(host, playback) {
        model.working_folder = dir.folder() + "work/";
        model.current_file = dir.file("untitled0.vl2");
        CreateEmptyList(model.current_file);
    }

    void media(const std::string& path, const std::string& artist = "",
               const std::string& title = "") {
        host.files.insert(path);
        FileInfoRec f;
        f.artist = artist;
        f.title = title;
        f.duration = 100;
        host.infos[path] = f;
    }

    ListRecord record(const std::string& path, const std::string& artist) {
        ListRecord r;
        r.path = path;
        r.artist = artist;
        r.title = "T";
        r.duration = 61;
        r.volume = 100;
        return r;
    }

    std::vector<std::string> column(int sub) const {
        std::vector<std::string> out;
        for (const ListRow& r : model.rows()) out.push_back(r.sub[size_t(sub)]);
        return out;
    }

    void import(const std::string& list_path, const std::string& text) {
        std::istringstream in(text);
        model.ImportM3UText(list_path, in);
    }

    TempDir dir;
    FakeHost host;
    FakePlayback playback;
    PlaylistModel model;
};

}  // namespace

TEST_F(ListIoTest, OpenedListMarksVanishedFilesInTheWorkingCopyOnly) {
    const std::string mine = dir.file("mine.vl2");
    media("C:\\here.mp3");
    AppendRecord(mine, record("C:\\here.mp3", "A"));
    AppendRecord(mine, record("C:\\gone.mp3", "B"));
    ASSERT_TRUE(model.OpenListFile(mine));
    EXPECT_EQ(model.current_file, model.working_folder + "mine.vl2");
    EXPECT_EQ(column(6), std::vector<std::string>{"C:\\here.mp3"});
    EXPECT_EQ(model.rows()[0].sub[0], "A - T");
    EXPECT_EQ(model.rows()[0].sub[1], "1:01");
    EXPECT_EQ(ReadAllRecords(model.current_file)[1].deleted, 1);
    EXPECT_EQ(ReadAllRecords(mine)[1].deleted, 0);
    model.toggle_list_trash();
    EXPECT_EQ(column(6), std::vector<std::string>{"C:\\gone.mp3"});
    EXPECT_EQ(column(7), std::vector<std::string>{"2"});
}

TEST_F(ListIoTest, AListThatCannotBeOpenedIsReportedAndANewListTakesItsPlace) {
    const std::string mine = dir.file("mine.vl2");
    media("C:\\here.mp3");
    AppendRecord(mine, record("C:\\here.mp3", "A"));
    ASSERT_TRUE(model.OpenListFile(mine));
    EXPECT_FALSE(model.OpenListFile(dir.file("locked.vl2")));
    EXPECT_EQ(host.boxes,
              std::vector<std::string>{"Cannot open file \"" + dir.file("locked.vl2") + "\"."});
    EXPECT_EQ(model.count(), 0);
    EXPECT_EQ(model.current_file, model.working_folder + "untitled0.vl2");
    EXPECT_EQ(RecordCount(model.current_file), 0);
    model.AddToSongList("C:\\here.mp3");
    EXPECT_EQ(model.count(), 1);
}

// Longer than a read block: each vanished file is marked in its own record,
// wherever it falls, and no other byte of the list changes.
TEST_F(ListIoTest, VanishedFilesAreMarkedAcrossReadBlocks) {
    const std::string f = dir.file("long.vl2");
    auto gone = [](int i) { return i == 0 || i % 97 == 3 || i >= 598; };
    constexpr int kRecords = 600;
    std::vector<ListRecord> written;
    for (int i = 0; i < kRecords; ++i) {
        const std::string path = "C:\\m\\" + std::to_string(i) + ".mp3";
        if (!gone(i)) media(path);
        written.push_back(record(path, "A" + std::to_string(i)));
        AppendRecord(f, written.back());
    }
    int present = 0;
    for (int i = 0; i < kRecords; ++i) present += gone(i) ? 0 : 1;
    EXPECT_EQ(model.LoadListFile(f, nullptr, true, 0), present);
    const std::vector<ListRecord> after = ReadAllRecords(f);
    ASSERT_EQ(after.size(), written.size());
    for (int i = 0; i < kRecords; ++i) {
        ListRecord expected = written[size_t(i)];
        expected.deleted = gone(i) ? 1 : 0;
        EXPECT_EQ(vl2::pack(after[size_t(i)]), vl2::pack(expected)) << i;
    }
}

TEST_F(ListIoTest, DamagedListsLoadTheirCompleteRecords) {
    const std::string f = dir.file("odd.vl2");
    media("C:\\a.mp3");
    AppendRecord(f, record("C:\\a.mp3", "A"));
    {
        std::ofstream out(f, std::ios::binary | std::ios::app);
        out << std::string(300, '\xFF');
    }
    EXPECT_EQ(model.LoadListFile(f, nullptr, true, 0), 1);
    EXPECT_EQ(model.LoadListFile(dir.file("none.vl2"), nullptr, true, 0), 0);
    EXPECT_EQ(model.count(), 0);
}

TEST_F(ListIoTest, AddListAppendsToTheTargetWithFreshNumbers) {
    const std::string other = dir.file("other.vl2");
    media("C:\\a.mp3");
    media("C:\\b.mp3");
    AppendRecord(other, record("C:\\a.mp3", "A"));
    AppendRecord(other, record("C:\\b.mp3", "B"));
    AppendRecord(model.current_file, record("C:\\x.mp3", "X"));
    model.LoadListFile(other, &model.current_file, false, 0);
    EXPECT_EQ(column(7), (std::vector<std::string>{"2", "3"}));
    EXPECT_EQ(RecordCount(model.current_file), 3);
}

TEST_F(ListIoTest, WriteAfterSortStoresViewOrder) {
    for (auto [p, a] : {std::pair{"C:\\c.mp3", "C"}, {"C:\\a.mp3", "A"}, {"C:\\b.mp3", "B"}}) {
        media(p, a, "t");
        model.AddToSongList(p);
    }
    model.AddToSongList("C:\\trashed.mp3");
    model.srt_menu_nameClick(0);
    const std::string saved = dir.file("saved.vl2");
    ASSERT_TRUE(model.WriteListFile(model.current_file, saved, true));
    ASSERT_EQ(RecordCount(saved), 3);

    model.current_file = saved;
    model.LoadListFile(saved, nullptr, true, 0);
    EXPECT_EQ(column(0), (std::vector<std::string>{"A - t", "B - t", "C - t"}));
    EXPECT_EQ(column(7), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(model.rows()[2].caption, "003");
}

TEST_F(ListIoTest, FailedSaveNeverTruncatesTheUsersList) {
    media("C:\\a.mp3");
    model.AddToSongList("C:\\a.mp3");
    const std::string mine = dir.file("mine.vl2");
    AppendRecord(mine, record("C:\\keep.mp3", "K"));
    // A row that addresses no record aborts the save.
    std::vector<ListRow> rows = model.rows();
    rows[0].sub[7] = "99";
    model.replace_rows(rows);
    EXPECT_FALSE(model.WriteListFile(model.current_file, mine, true));
    ASSERT_EQ(RecordCount(mine), 1);
    EXPECT_EQ(ReadAllRecords(mine)[0].path, "C:\\keep.mp3");
    // Without the delete-first flag the rows are appended.
    rows[0].sub[7] = "1";
    model.replace_rows(rows);
    ASSERT_TRUE(model.WriteListFile(model.current_file, mine, false));
    EXPECT_EQ(RecordCount(mine), 2);
}

TEST_F(ListIoTest, SnapshotRestoresTheRowsOfATab) {
    media("C:\\a.mp3", "A", "t");
    model.AddToSongList("C:\\a.mp3");
    const std::string snap = model.current_file + "_#";
    ASSERT_TRUE(model.SaveViewSnapshot(snap));
    const auto rows = model.rows();
    model.clear_rows();
    ASSERT_TRUE(model.LoadViewSnapshot(snap));
    EXPECT_EQ(model.rows(), rows);
    EXPECT_TRUE(model.fileinList("C:\\a.mp3"));
    EXPECT_FALSE(model.LoadViewSnapshot(snap + "x"));
    EXPECT_EQ(model.rows(), rows);
}

TEST_F(ListIoTest, SnapshotRowsWithoutSubItemsStillPlay) {
    model.replace_rows({{"001", {}}, {"002", {"x", "1:00"}}});
    for (const ListRow& r : model.rows()) EXPECT_EQ(r.sub.size(), size_t(row_text::kSubItems));
    model.select(1, true);
    model.ListView_classicKeyDown(PlaylistModel::kKeyEnter, false);
    model.ListView_classicKeyDown(PlaylistModel::kKeyI, true);
    EXPECT_TRUE(playback.journal.empty());
}

TEST(M3uRules, ExtinfParsing) {
    ExtInf i = parse_extinf("#EXTINF:187,Artist - Title");
    EXPECT_TRUE(i.have_info);
    EXPECT_EQ(i.seconds, 187);
    EXPECT_EQ(i.text, "Artist - Title");
    i = parse_extinf("#EXTINF:abc,Artist - Title");
    EXPECT_EQ(i.seconds, 0);
    EXPECT_EQ(i.text, "abc,Artist - Title");
    i = parse_extinf("#EXTINF: -1 , x");
    EXPECT_EQ(i.seconds, -1);
    EXPECT_EQ(i.text, " x");
    i = parse_extinf("#EXTINF:");
    EXPECT_FALSE(i.have_info);
    i = parse_extinf("#EXTINF:99999999999,x");
    EXPECT_EQ(i.seconds, 0);
}

TEST(M3uRules, EntriesWithoutDriveResolveAgainstTheListFolder) {
    EXPECT_EQ(m3u_entry_path("D:\\Lists\\x.m3u", "a.mp3"), "D:\\Lists\\a.mp3");
    EXPECT_EQ(m3u_entry_path("D:\\Lists\\x.m3u", "..\\Music\\a.mp3"), "D:\\Music\\a.mp3");
    EXPECT_EQ(m3u_entry_path("D:\\Lists\\x.m3u", "\\Music\\a.mp3"), "D:\\Music\\a.mp3");
    EXPECT_EQ(m3u_entry_path("D:\\Lists\\x.m3u", "E:\\a.mp3"), "E:\\a.mp3");
    EXPECT_EQ(m3u_entry_path("D:\\Lists\\x.m3u", "\\\\srv\\share\\a.mp3"), "\\\\srv\\share\\a.mp3");
    EXPECT_EQ(m3u_entry_path("\\\\srv\\share\\l\\x.m3u", "\\a.mp3"), "\\\\srv\\share\\a.mp3");
}

TEST(M3uRules, PatternsMatchWithoutRegardToCase) {
    EXPECT_TRUE(m3u_claimed("*.mp3;", "a.MP3"));
    EXPECT_TRUE(m3u_claimed("*.MP3;\r\n*.wav;", "a.wav"));
    EXPECT_FALSE(m3u_claimed("*.mp3;", "a.mp"));
    EXPECT_TRUE(m3u_claimed("*.mp3;", ""));
}

TEST_F(ListIoTest, ExtendedImport) {
    host.patterns = "*.mp3;";  // as a plugin declares it, in lower case
    media("D:\\L\\a.mp3", "Tag", "Tag");
    media("D:\\L\\b.mp3");
    media("D:\\L\\c.mp3", "Plug", "In");
    import("D:\\L\\x.m3u",
           "#EXTM3U\r\n#EXTINF:187,Art - Song\r\na.mp3\r\n"
           "#EXTINF:abc,Who - What\r\n\\L\\b.mp3\r\n"
           "#EXTINF:5,Lost - One\r\nmissing.mp3\r\n"
           "#EXTINF:9,ignored\r\nnotes.txt\r\nc.mp3\r\n");
    // The unsupported notes.txt leaves the last "#EXTINF:" text for c.mp3.
    EXPECT_EQ(column(0), (std::vector<std::string>{"Art - Song", "abc,Who - What", "ignored"}));
    EXPECT_EQ(column(1), (std::vector<std::string>{"3:07", "0:00", "0:09"}));
    EXPECT_EQ(column(6),
              (std::vector<std::string>{"D:\\L\\a.mp3", "D:\\L\\b.mp3", "D:\\L\\c.mp3"}));
    const auto recs = ReadAllRecords(model.current_file);
    ASSERT_EQ(recs.size(), 4u);
    EXPECT_EQ(recs[0].artist, "Art ");
    EXPECT_EQ(recs[0].title, " Song");
    EXPECT_EQ(recs[2].path, "D:\\L\\missing.mp3");
    EXPECT_EQ(recs[2].artist, "");
    EXPECT_EQ(recs[2].title, "");
    EXPECT_EQ(recs[2].deleted, 1);
}

TEST_F(ListIoTest, ExtinfWithoutHeaderIsIgnoredAndGarbageIsHarmless) {
    media("C:\\a.mp3", "Plug", "In");
    import("C:\\x.m3u", "#EXTINF:10,Not - Used\nC:\\a.mp3\n");
    EXPECT_EQ(column(0), std::vector<std::string>{"Plug - In"});
    std::string garbage;
    for (int i = 0; i < 5000; ++i) garbage += char(i * 37 % 256);
    garbage += "\n" + std::string(100000, 'x') + ".mp3\n" + std::string(400, 'y') + ".mp3";
    import("C:\\x.m3u", garbage);
    EXPECT_EQ(model.count(), 1);
    for (const ListRecord& r : ReadAllRecords(model.current_file)) EXPECT_LE(r.path.size(), 255u);
}

TEST_F(ListIoTest, UnopenableM3uShowsTheError) {
    EXPECT_FALSE(model.ImportM3U(dir.file("none.m3u")));
    EXPECT_EQ(host.boxes, std::vector<std::string>{"Can't open the chosen Playlistfile..."});
    const std::string f = dir.file("real.m3u");
    std::ofstream(f) << "C:\\a.mp3\n";
    media("C:\\a.mp3");
    EXPECT_TRUE(model.ImportM3U(f));
    EXPECT_EQ(model.count(), 1);
}

namespace {

TEST_F(ListIoTest, AListFilePlaysFromItsFirstEntryWithTheRecordsValues) {
    const std::string list = dir.file("two.vl2");
    ASSERT_TRUE(CreateEmptyList(list));
    for (const char* name : {"a.mp3", "b.mp3"}) {
        host.files.insert(dir.file(name));
        ListRecord r = record(dir.file(name), "Artist");
        r.volume = 70;
        r.fade_in = 3;
        ASSERT_GT(AppendRecord(list, r), 0);
    }
    model.play_list_file(list);
    ASSERT_GE(playback.journal.size(), 2u);
    EXPECT_EQ(playback.journal[0], "load " + dir.file("a.mp3"));
    PlaylistEntry e;
    ASSERT_TRUE(model.playing_entry(e));
    EXPECT_EQ(e.artist, "Artist");
    EXPECT_EQ(e.volume, 70);
    EXPECT_EQ(e.fade_in, 3);
    EXPECT_EQ(e.working_file, model.current_file);
    // A record cut off the working file gives no entry rather than stale values.
    std::filesystem::resize_file(model.current_file, 0);
    EXPECT_FALSE(model.playing_entry(e));
}

}  // namespace
