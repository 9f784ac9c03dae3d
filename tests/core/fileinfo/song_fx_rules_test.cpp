#include "fileinfo/song_fx_rules.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace song_fx;

TEST(SongFxGrids, ValuesShowNotSupportedNoYesAndTrackAsNumber) {
    FileInfoRec f;
    f.file_size = -1;
    f.duration = 0;
    f.copyright_flag = -1;
    f.original_flag = 0;
    f.crc = 1;
    f.private_bit = 2;
    f.track = -3;
    f.genre = "Rock";
    const InfoGrids g = fill_grids("C:\\a.mp3", f);
    ASSERT_EQ(g.main.size(), 12u);
    ASSERT_EQ(g.mpeg.size(), 7u);
    ASSERT_EQ(g.tag.size(), 7u);
    EXPECT_EQ(g.main[0].value, "C:\\a.mp3");
    EXPECT_EQ(g.main[2].value, "Not supported");
    EXPECT_EQ(g.main[3].value, "0");
    EXPECT_EQ(g.mpeg[0].value, "Not supported");
    EXPECT_EQ(g.mpeg[1].value, "No");
    EXPECT_EQ(g.mpeg[2].value, "Yes");
    EXPECT_EQ(g.mpeg[3].value, "2");
    EXPECT_EQ(g.tag[row::kTrack].value, "-3");
    EXPECT_EQ(g.tag[row::kGenre].name, "Genre");
}

TEST(SongFxGenres, LinesInFileOrderWithAnyLineEndAndLongLinesCut) {
    const std::string long_line(100000, 'x');
    const std::vector<std::string> g = parse_genres("Rock\r\nPop\nJazz\r" + long_line);
    ASSERT_EQ(g.size(), 4u);
    EXPECT_EQ(g[2], "Jazz");
    EXPECT_EQ(g[3].size(), kGenreLineLimit);
    EXPECT_TRUE(parse_genres("").empty());
    EXPECT_EQ(parse_genres("A\r\n").size(), 1u);
    EXPECT_EQ(genre_index(g, "pop"), 1);
    EXPECT_EQ(genre_index(g, "Po"), -1);
}

TEST(SongFxEditor, TrackCellThatIsNoNumberKeepsTheTrackAndCopiesTheRest) {
    const struct {
        const char* cell;
        int32_t want;
    } cases[] = {{"12", 12}, {" -4", -4},        {"+7", 7}, {"", 9},
                 {"3a", 9},  {"99999999999", 9}, {"+-2", 9}};
    const std::vector<std::string> genres = {"Blues", "Rock"};
    for (const auto& c : cases) {
        InfoGrids g = fill_grids("C:\\b.mp3", FileInfoRec{});
        g.tag[row::kTrack].value = c.cell;
        g.tag[row::kArtist].value = "Band";
        g.tag[row::kGenre].value = "rock";
        EntryEdit e;
        e.track = 9;
        edit_from_grids(g, genres, e);
        EXPECT_EQ(e.track, c.want) << c.cell;
        EXPECT_EQ(e.artist, "Band");
        EXPECT_EQ(e.path, "C:\\b.mp3");
        EXPECT_EQ(e.genre, "Rock");  // the list's own spelling
    }
}

TEST(SongFxEditor, OkCutsTextsToTheirWidthsAndKeepsTheOtherFields) {
    ListRecord r;
    r.duration = 125;
    r.play_till = 125;
    r.fx_marker = 1;
    r.deleted = 1;
    EntryEdit e;
    e.path = "C:\\m.mp3";
    e.artist = std::string(60, 'a');
    e.year = "20245";
    e.genre = "Unknown genre name longer than twenty";
    e.track = 3;
    e.volume = 40;
    apply_edit(e, r);
    EXPECT_EQ(r.artist, std::string(50, 'a'));
    EXPECT_EQ(r.year, "2024");
    EXPECT_EQ(r.genre.size(), 20u);
    EXPECT_EQ(r.volume, 40);
    EXPECT_EQ(r.play_till, 125);
    EXPECT_EQ(r.deleted, 1);

    ListRow row{"004", {"old", "", "", "", "", "", "", "17"}};
    update_row(row, r);
    EXPECT_EQ(row.caption, "004");
    EXPECT_EQ(row.sub[row_text::kDisplay], std::string(50, 'a') + " - ");
    EXPECT_EQ(row.sub[row_text::kDuration], "2:05");
    EXPECT_EQ(row.sub[row_text::kTrack], "03");
    EXPECT_EQ(row.sub[row_text::kRecord], "17");
}

TEST(SongFxEditor, AGenreNotInTheListLeavesNoSelection) {
    ListRecord r;
    r.genre = "Polka Metal";
    r.volume = 300;
    EXPECT_EQ(edit_from_record(r, {"Rock"}).genre, "");
    EXPECT_EQ(edit_from_record(r, {"Rock"}).volume, kVolumeMax);
    EXPECT_EQ(tag_info(edit_from_record(r, {"Rock"})).genre, "");
}

TEST(SongFxEntry, WritesInPlaceAndNeverPastTheEndOfAShortenedList) {
    const std::string file =
        (std::filesystem::temp_directory_path() / "song_fx_entry_test.vl2").string();
    std::filesystem::remove(file);
    ListRecord a, b;
    a.title = "A";
    b.title = "B";
    ASSERT_EQ(AppendRecord(file, a), 1);
    ASSERT_EQ(AppendRecord(file, b), 2);
    ListRecord r;
    ASSERT_TRUE(read_entry(file, 2, r));
    r.title = "B2";
    ASSERT_TRUE(write_entry(file, 2, r));
    EXPECT_EQ(ReadAllRecords(file)[1].title, "B2");
    EXPECT_FALSE(read_entry(file, 3, r));
    EXPECT_FALSE(write_entry(file, 3, r));
    EXPECT_FALSE(write_entry(file, 0, r));
    EXPECT_EQ(RecordCount(file), 2);
    EXPECT_FALSE(read_entry(file + ".missing", 1, r));
    std::filesystem::remove(file);
}

}  // namespace
