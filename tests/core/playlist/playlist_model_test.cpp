#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "fakes.h"
#include "playlist/list_files.h"
#include "playlist/playlist_model.h"

namespace {

class PlaylistTest : public ::testing::Test {
  protected:
    PlaylistTest() : model(host, playback) {
        model.working_folder = dir.folder();
        model.current_file = dir.file("untitled0.vl2");
        CreateEmptyList(model.current_file);
    }

    // An existing file with tags.
    void media(const std::string& path, const std::string& artist = "",
               const std::string& title = "", const std::string& year = "", int32_t duration = 60) {
        host.files.insert(path);
        FileInfoRec f;
        f.artist = artist;
        f.title = title;
        f.year = year;
        f.duration = duration;
        f.track = 3;
        f.format = "WAV";
        host.infos[path] = f;
    }

    std::vector<std::string> column(int sub) const {
        std::vector<std::string> out;
        for (const ListRow& r : model.rows()) out.push_back(r.sub[size_t(sub)]);
        return out;
    }
    std::vector<std::string> captions() const {
        std::vector<std::string> out;
        for (const ListRow& r : model.rows()) out.push_back(r.caption);
        return out;
    }

    TempDir dir;
    FakeHost host;
    FakePlayback playback;
    PlaylistModel model;
};

}  // namespace

TEST(RowText, Pictures) {
    EXPECT_EQ(row_text::caption(1), "001");
    EXPECT_EQ(row_text::caption(1000), "1000");
    EXPECT_EQ(row_text::track(3), "03");
    EXPECT_EQ(row_text::track(-1), "-01");
    EXPECT_EQ(row_text::duration(187), "3:07");
    EXPECT_EQ(row_text::duration(3729), "1:02:09");
    EXPECT_EQ(row_text::duration(0), "0:00");
    EXPECT_EQ(row_text::from_record(std::string(50, 'a'), std::string(50, 'b')).size(), 103u);
    EXPECT_EQ(row_text::from_record("A", ""), "A - ");
    EXPECT_EQ(row_text::tray_caption("-x-"), "~x-");
}

TEST_F(PlaylistTest, AddingFilesWithAndWithoutTags) {
    media("C:\\m\\both.mp3", "Art", "Song", "1999", 187);
    media("C:\\m\\bare.mp3");
    media("C:\\m\\artistonly.mp3", "Art");
    model.AddToSongList("C:\\m\\both.mp3");
    model.AddToSongList("C:\\m\\bare.mp3");
    model.AddToSongList("C:\\m\\artistonly.mp3");
    model.AddToSongList("C:\\m\\notes.txt");  // unsupported: nothing at all
    EXPECT_EQ(column(0), (std::vector<std::string>{"Art - Song", "bare.mp3", "artistonly.mp3"}));
    EXPECT_EQ(model.rows()[0].sub, (std::vector<std::string>{"Art - Song", "3:07", "03", "", "1999",
                                                             "WAV", "C:\\m\\both.mp3", "1"}));
    EXPECT_EQ(captions(), (std::vector<std::string>{"001", "002", "003"}));
    EXPECT_EQ(RecordCount(model.current_file), 3);

    // The stored records give the texts the reloaded list shows.
    const auto recs = ReadAllRecords(model.current_file);
    EXPECT_EQ(recs[1].artist, "bare.mp3");
    EXPECT_EQ(recs[1].title, "");
    EXPECT_EQ(recs[0].volume, 100);
    EXPECT_EQ(recs[0].play_till, 187);
    EXPECT_EQ(recs[0].fx_marker, 1);
    model.LoadListFile(model.current_file, nullptr, true, 0);
    EXPECT_EQ(column(0), (std::vector<std::string>{"Art - Song", "bare.mp3 - ", "Art - "}));
}

TEST_F(PlaylistTest, MissingFileGoesToTheTrashOnly) {
    model.AddToSongList("C:\\gone.mp3");
    EXPECT_EQ(model.count(), 0);
    ListRecord r;
    ReadRecord(1, model.current_file, r);
    EXPECT_EQ(r.deleted, 1);
    EXPECT_EQ(r.artist, "Unknown artist");
    EXPECT_EQ(r.title, "Untitled");
    EXPECT_EQ(r.volume, 100);
    model.toggle_list_trash();
    EXPECT_EQ(column(6), std::vector<std::string>{"C:\\gone.mp3"});
}

TEST_F(PlaylistTest, NoRowWhenTheRecordCannotBeStored) {
    media("C:\\a.mp3");
    model.current_file = dir.file("no/such/list.vl2");
    model.AddToSongList("C:\\a.mp3");
    EXPECT_EQ(model.count(), 0);
}

TEST_F(PlaylistTest, FoldersOnceAndRecursively) {
    media("D:\\m\\a.mp3");
    media("D:\\m\\b.wav");
    media("D:\\m\\sub\\c.mp3");
    host.dirs["D:\\m\\*.*"] = {
        {".", true}, {"a.mp3", false}, {"b.wav", false}, {"sub", true}, {"x.txt", false}};
    host.dirs["D:\\m\\sub\\*.*"] = {{"c.mp3", false}, {".hidden", true}};
    model.ButtonadddirClick("D:\\m", "*.*");
    model.ButtonadddirClick("D:\\m\\", "*.*");
    EXPECT_EQ(column(6), (std::vector<std::string>{"D:\\m\\a.mp3", "D:\\m\\b.wav"}));
    model.AddFolderRecursive("D:\\m", "*.*");
    EXPECT_EQ(column(6),
              (std::vector<std::string>{"D:\\m\\a.mp3", "D:\\m\\b.wav", "D:\\m\\sub\\c.mp3"}));
    EXPECT_TRUE(model.fileinList("D:\\m\\sub\\c.mp3"));
    EXPECT_FALSE(model.fileinList("d:\\m\\sub\\c.mp3"));
    model.AddToSongList("D:\\m\\a.mp3");  // "&File" adds duplicates
    EXPECT_EQ(model.count(), 4);
}

// A host whose first message pump sees the program end; it counts every
// question about files asked after that.
struct EndingHost : FakeHost {
    bool ended = false;
    int asked_after_end = 0;
    void process_messages() override { ended = true; }
    bool terminating() override { return ended; }
    bool file_exists(const std::string& p) override {
        asked_after_end += ended;
        return FakeHost::file_exists(p);
    }
    bool IsSupported(const std::string& p) override {
        asked_after_end += ended;
        return FakeHost::IsSupported(p);
    }
};

TEST(PlaylistLoops, LongLoopsStopRightAfterAPumpThatSawTheEnd) {
    TempDir dir;
    ListRecord r;
    r.path = "D:\\m\\a.mp3";
    for (int i = 0; i < 3; ++i) AppendRecord(dir.file("list.vl2"), r);
    const std::vector<DirEntry> three = {{"a.mp3", false}, {"b.mp3", false}, {"c.mp3", false}};
    const std::function<void(PlaylistModel&)> loops[] = {
        [](PlaylistModel& m) { m.ButtonadddirClick("D:\\m", "*.*"); },
        [](PlaylistModel& m) { m.AddFolderRecursive("D:\\m", "*.*"); },
        [&](PlaylistModel& m) { m.LoadListFile(dir.file("list.vl2"), nullptr, true, 0); },
        [](PlaylistModel& m) {
            std::istringstream in("D:\\m\\a.mp3\rD:\\m\\b.mp3\rD:\\m\\c.mp3\r\n");
            m.ImportM3UText("D:\\m\\list.m3u", in);
        },
    };
    int n = 0;
    for (const auto& loop : loops) {
        EndingHost host;
        host.dirs["D:\\m\\*.*"] = three;
        for (const DirEntry& e : three) host.files.insert("D:\\m\\" + e.name);
        FakePlayback playback;
        PlaylistModel model(host, playback);
        model.working_folder = dir.folder();
        model.current_file = dir.file("work" + std::to_string(n) + ".vl2");
        CreateEmptyList(model.current_file);
        loop(model);
        EXPECT_TRUE(host.ended) << n;
        EXPECT_EQ(host.asked_after_end, 0) << n++;
    }
}

TEST_F(PlaylistTest, PlaysThroughAndStopsAtTheEnd) {
    for (const char* p : {"C:\\1.mp3", "C:\\2.mp3", "C:\\3.mp3"}) {
        media(p);
        model.AddToSongList(p);
    }
    model.current = 0;
    model.playfromlist();
    EXPECT_TRUE(model.timer_enabled());
    EXPECT_TRUE(playback.started);
    playback.states = {4, 4};  // still playing: no advance
    model.playlisttimerTimer();
    EXPECT_EQ(model.current, 0);
    playback.states = {4, 3};  // ended
    model.playlisttimerTimer();
    playback.states = {0};  // stopped
    model.playlisttimerTimer();
    EXPECT_EQ(model.current, 2);
    EXPECT_EQ(model.selected(), 2);
    playback.states = {0};
    model.playlisttimerTimer();  // end of list: no wrap
    EXPECT_EQ(model.current, 2);
    EXPECT_FALSE(model.timer_enabled());
    EXPECT_EQ(playback.journal,
              (std::vector<std::string>{"load C:\\1.mp3", "play", "load C:\\2.mp3", "play",
                                        "load C:\\3.mp3", "play"}));
    EXPECT_EQ(model.history.size(), 3u);
}

TEST_F(PlaylistTest, NextOnOneRowStopsAndMissingFileHaltsAdvance) {
    media("C:\\only.mp3");
    model.AddToSongList("C:\\only.mp3");
    model.ListView_classicDblClick();  // nothing selected
    EXPECT_TRUE(playback.journal.empty());
    model.select(0, true);
    model.ListView_classicKeyDown(PlaylistModel::kKeyEnter, false);
    model.nextplay();
    EXPECT_EQ(playback.journal.back(), "stop");
    EXPECT_FALSE(model.timer_enabled());

    host.files.erase("C:\\only.mp3");
    playback.journal.clear();
    model.playfromlist();
    EXPECT_TRUE(playback.journal.empty());
    EXPECT_FALSE(model.timer_enabled());
    EXPECT_FALSE(playback.started);
}

TEST_F(PlaylistTest, BackplayOnTheFirstEntryPlaysItAgain) {
    for (const char* p : {"C:\\1.mp3", "C:\\2.mp3"}) {
        media(p);
        model.AddToSongList(p);
    }
    model.backplay();  // no selection: nothing
    EXPECT_TRUE(playback.journal.empty());
    model.listmenuclick(0);
    model.backplay();  // first entry, history of one: nothing
    EXPECT_EQ(playback.journal.size(), 2u);
    model.nextplay();
    model.backplay();
    EXPECT_EQ(model.current, 0);
    EXPECT_EQ(playback.journal.back(), "play");
    EXPECT_EQ(playback.journal[playback.journal.size() - 2], "load C:\\1.mp3");
    model.backplay();  // first entry again, history long enough
    EXPECT_EQ(playback.journal[playback.journal.size() - 2], "load C:\\1.mp3");
    EXPECT_EQ(model.current, 0);
}

TEST_F(PlaylistTest, SortingComparesTextAndRenumbers) {
    media("C:\\c.mp3", "C", "x", "2001");
    media("C:\\a.mp3", "A", "y", "");
    media("C:\\b.mp3", "B", "z", "1999");
    for (const char* p : {"C:\\c.mp3", "C:\\a.mp3", "C:\\b.mp3"}) model.AddToSongList(p);
    model.select(0, true);
    model.srt_menu_nameClick(3);  // Year
    EXPECT_EQ(column(4), (std::vector<std::string>{"", "1999", "2001"}));
    EXPECT_EQ(captions(), (std::vector<std::string>{"001", "002", "003"}));
    EXPECT_EQ(column(7), (std::vector<std::string>{"2", "3", "1"}));
    EXPECT_EQ(model.selected(), 2);  // the selection follows its row
    model.srt_menu_nameClick(0);     // Name
    EXPECT_EQ(column(0), (std::vector<std::string>{"A - y", "B - z", "C - x"}));
}

TEST(WordSort, FollowsTheListViewOrder) {
    EXPECT_LT(word_sort_compare("apple", "Banana"), 0);
    EXPECT_LT(word_sort_compare("a", "A"), 0);
    EXPECT_LT(word_sort_compare("9", "a"), 0);
    EXPECT_LT(word_sort_compare("", "1999"), 0);
    EXPECT_LT(word_sort_compare("coop", "co-op"), 0);
    EXPECT_LT(word_sort_compare("co-op", "cop"), 0);
    EXPECT_EQ(word_sort_compare("same", "same"), 0);
}

TEST_F(PlaylistTest, MovingKeepsRecordNumbersAndDeleteAddressesThem) {
    for (const char* p : {"C:\\1.mp3", "C:\\2.mp3", "C:\\3.mp3"}) {
        media(p);
        model.AddToSongList(p);
    }
    model.select(0, true);
    model.move_selected(2);  // before the third row
    EXPECT_EQ(column(7), (std::vector<std::string>{"2", "1", "3"}));
    EXPECT_EQ(model.selected(), 1);
    model.move_selected(-1);  // to the end
    EXPECT_EQ(column(7), (std::vector<std::string>{"2", "3", "1"}));
    EXPECT_EQ(captions(), (std::vector<std::string>{"001", "002", "003"}));
    model.select(2, true);
    model.ListView_classicKeyDown(PlaylistModel::kKeyDelete, false);
    EXPECT_EQ(ReadAllRecords(model.current_file)[0].deleted, 1);
    EXPECT_EQ(column(6), (std::vector<std::string>{"C:\\2.mp3", "C:\\3.mp3"}));
    // In trash mode Delete restores; the view then shows the remaining trash.
    model.toggle_list_trash();
    ASSERT_EQ(model.count(), 1);
    model.select(0, true);
    model.ListView_classicKeyDown(PlaylistModel::kKeyDelete, false);
    EXPECT_EQ(model.count(), 0);
    model.toggle_list_trash();
    EXPECT_EQ(model.count(), 3);
}

TEST_F(PlaylistTest, DeleteMenuSelectedAndAll) {
    for (const char* p : {"C:\\1.mp3", "C:\\2.mp3"}) {
        media(p);
        model.AddToSongList(p);
    }
    model.AddToSongList("C:\\trashed.mp3");
    model.select(0, true);
    model.delete_selected();
    EXPECT_EQ(captions(), std::vector<std::string>{"001"});
    EXPECT_EQ(column(6), std::vector<std::string>{"C:\\2.mp3"});
    model.delete_all();
    EXPECT_EQ(model.count(), 0);
    EXPECT_TRUE(model.tray_items().empty());
    host.files.insert("C:\\trashed.mp3");  // it has come back meanwhile
    model.LoadListFile(model.current_file, nullptr, true, 0);
    EXPECT_EQ(column(6), std::vector<std::string>{"C:\\trashed.mp3"});
}

TEST_F(PlaylistTest, SelectMenuWithSingleSelection) {
    for (const char* p : {"C:\\1.mp3", "C:\\2.mp3", "C:\\3.mp3"}) {
        media(p);
        model.AddToSongList(p);
    }
    model.select_all();
    EXPECT_EQ(model.selected(), 2);
    model.select_none();
    EXPECT_EQ(model.selected(), -1);
    model.select(0, true);
    model.select_invert();
    EXPECT_EQ(model.selected(), 2);
}

TEST_F(PlaylistTest, TrayShowsTenItemsAndRow1000HasItsCaption) {
    std::vector<ListRow> rows;
    for (int i = 1; i <= 1000; ++i)
        rows.push_back(
            {row_text::caption(i), {i == 1 ? "-dash" : "t", "", "", "", "", "", "p", "1"}});
    model.replace_rows(rows);
    EXPECT_EQ(model.rows()[999].caption, "1000");
    const auto items = model.tray_items();
    ASSERT_EQ(items.size(), 10u);
    EXPECT_EQ(items[0].second, "~dash");
    EXPECT_EQ(items[9].first, 9);
}

TEST_F(PlaylistTest, AltIOpensFileInformationWithTheRecordNumber) {
    struct View : PlaylistView {
        std::string opened;
        void open_file_info(const std::string& p) override { opened = p; }
    } view;
    model.set_view(&view);
    media("C:\\1.mp3");
    model.AddToSongList("C:\\1.mp3");
    model.select(0, true);
    model.ListView_classicKeyDown(PlaylistModel::kKeyI, false);
    EXPECT_EQ(view.opened, "");
    model.ListView_classicKeyDown(PlaylistModel::kKeyI, true);
    EXPECT_EQ(view.opened, "C:\\1.mp3");
    EXPECT_EQ(model.context.record, 1);
    model.set_view(nullptr);
}

TEST_F(PlaylistTest, AnEditedRecordRewritesItsRowWhereverItWasMoved) {
    for (const char* p : {"C:\\1.mp3", "C:\\2.mp3"}) {
        media(p);
        model.AddToSongList(p);
    }
    model.select(0, true);
    model.move_selected(-1);  // record 1 is now the second row
    model.edit_record_rows(1, [](ListRow& r) {
        r.caption = "999";
        r.sub[row_text::kPath] = "C:\\new.mp3";
        r.sub[row_text::kRecord] = "5";
    });
    EXPECT_EQ(captions(), (std::vector<std::string>{"001", "002"}));
    EXPECT_EQ(column(6), (std::vector<std::string>{"C:\\2.mp3", "C:\\new.mp3"}));
    EXPECT_EQ(column(7), (std::vector<std::string>{"2", "1"}));
    EXPECT_TRUE(model.fileinList("C:\\new.mp3"));
    EXPECT_FALSE(model.fileinList("C:\\1.mp3"));
}
