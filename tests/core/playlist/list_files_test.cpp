#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "fakes.h"
#include "playlist/list_files.h"

namespace {

std::string read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_bytes(const std::string& path, const std::string& data) {
    std::ofstream(path, std::ios::binary) << data;
}

ListRecord sample(const std::string& path) {
    ListRecord r;
    r.path = path;
    r.artist = "Artist";
    r.title = "Title";
    r.album = "Album";
    r.year = "1999";
    r.format = "MPEG 1 Layer 3";
    r.comment = "c";
    r.genre = "Rock";
    r.track = 7;
    r.duration = 187;
    r.play_till = 187;
    r.volume = 100;
    r.fade_in = -2;
    r.fx_marker = 1;
    return r;
}

}  // namespace

TEST(ListRecordBytes, GoldenRecordLayout) {
    const RecordBytes b = vl2::pack(sample("C:\\a.mp3"));
    std::string expected(552, '\0');
    auto text = [&](size_t at, const std::string& s) {
        expected[at] = char(s.size());
        expected.replace(at + 1, s.size(), s);
    };
    text(0, "C:\\a.mp3");
    text(256, "Artist");
    text(307, "Title");
    text(358, "Album");
    text(409, "1999");
    text(414, "MPEG 1 Layer 3");
    text(445, "c");
    text(496, "Rock");
    expected[520] = 7;
    expected[524] = char(187);
    expected[532] = char(187);
    expected[536] = 100;
    expected.replace(540, 4, std::string("\xFE\xFF\xFF\xFF", 4));
    expected[548] = 1;
    EXPECT_EQ(std::string(b.begin(), b.end()), expected);
    EXPECT_EQ(vl2::unpack(b.data()), sample("C:\\a.mp3"));
}

TEST(ListRecordBytes, TextsAreCutAtCapacityAndOverlongLengthBytesReadCut) {
    ListRecord r = sample(std::string(300, 'p'));
    r.title = std::string(60, 't');
    r.year = "19999";
    RecordBytes b = vl2::pack(r);
    EXPECT_EQ(b[0], 255);
    EXPECT_EQ(b[307], 50);
    EXPECT_EQ(b[358], 5);  // album untouched by the cut title
    ListRecord back = vl2::unpack(b.data());
    EXPECT_EQ(back.path, std::string(255, 'p'));
    EXPECT_EQ(back.title, std::string(50, 't'));
    EXPECT_EQ(back.year, "1999");

    // A length byte above the capacity never reads into the next field.
    b[409] = 200;
    b[410] = 'x';
    EXPECT_EQ(vl2::unpack(b.data()).year.size(), 4u);
    EXPECT_EQ(vl2::unpack(b.data()).format, "MPEG 1 Layer 3");
}

TEST(RecordFile, CountsAppendsReadsAndWritesByPosition) {
    TempDir d;
    const std::string f = d.file("l.vl2");
    write_bytes(f, "");
    EXPECT_EQ(RecordCount(f), 0);
    write_bytes(f, std::string(1104, '\0'));
    EXPECT_EQ(RecordCount(f), 2);
    write_bytes(f, std::string(1104 + 100, '\0'));  // a partial tail is not a record
    EXPECT_EQ(RecordCount(f), 2);
    EXPECT_EQ(AppendRecord(f, sample("x")), 3);
    EXPECT_EQ(read_bytes(f).size(), 3 * 552u);

    ListRecord r;
    ReadRecord(3, f, r);
    EXPECT_EQ(r, sample("x"));
    WriteRecord(1, f, sample("first"));
    ReadRecord(1, f, r);
    EXPECT_EQ(r.path, "first");
    EXPECT_THROW(ReadRecord(4, f, r), ListFileError);
    EXPECT_THROW(ReadRecord(0, f, r), ListFileError);
    EXPECT_THROW(WriteRecord(9, f, r), ListFileError);

    const std::string fresh = d.file("new.vl2");
    EXPECT_EQ(AppendRecord(fresh, sample("a")), 1);
    EXPECT_EQ(AppendRecord(fresh, sample("b")), 2);
}

TEST(RecordFile, UnopenableFileDoesNothing) {
    TempDir d;
    const std::string missing = d.file("no/such/dir/l.vl2");
    ListRecord r = sample("keep");
    EXPECT_EQ(AppendRecord(missing, r), 0);
    EXPECT_EQ(RecordCount(missing), 0);
    ReadRecord(1, missing, r);
    EXPECT_EQ(r.path, "keep");
    ToggleDeleted(1, missing);
    ToggleAllDeleted(missing);
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST(RecordFile, ToggleDeletedFlipsOneOrAll) {
    TempDir d;
    const std::string f = d.file("l.vl2");
    ListRecord gone = sample("b");
    gone.deleted = 1;
    AppendRecord(f, sample("a"));
    AppendRecord(f, gone);
    AppendRecord(f, sample("c"));
    ToggleDeleted(2, f);
    ListRecord r;
    ReadRecord(2, f, r);
    EXPECT_EQ(r.deleted, 0);
    ToggleDeleted(1, f);
    ToggleAllDeleted(f);
    std::vector<int> flags;
    for (const ListRecord& x : ReadAllRecords(f)) flags.push_back(x.deleted);
    EXPECT_EQ(flags, (std::vector<int>{0, 1, 1}));
    EXPECT_EQ(ReadAllRecords(f)[0].path, "a");
}

TEST(ListNames, NewListNameAndCreateEmptyList) {
    TempDir d;
    std::set<std::string> taken = {d.folder() + "untitled0.vl2", d.folder() + "untitled1.vl2"};
    EXPECT_EQ(NewListName(d.folder(), [&](const std::string& p) { return taken.count(p) > 0; }),
              d.folder() + "untitled2.vl2");
    const std::string p = d.folder() + "work/untitled0.vl2";
    write_bytes(d.file("x"), "");
    ASSERT_TRUE(CreateEmptyList(p));
    EXPECT_EQ(RecordCount(p), 0);
    EXPECT_TRUE(std::filesystem::exists(p));
}

TEST(ListFilesCopy, CopyKeepsBytesAndModificationTime) {
    TempDir d;
    const std::string from = d.file("mine.vl2"), to = d.file("copy.vl2");
    write_bytes(from, std::string(552, 'a'));
    const auto when = std::filesystem::file_time_type::clock::now() - std::chrono::hours(48);
    std::filesystem::last_write_time(from, when);
    write_bytes(to, "old content that is longer than nothing");
    ASSERT_TRUE(CopyListFile(from, to));
    EXPECT_EQ(read_bytes(to), std::string(552, 'a'));
    EXPECT_EQ(std::filesystem::last_write_time(to), std::filesystem::last_write_time(from));
    EXPECT_FALSE(CopyListFile(d.file("missing.vl2"), to));

    // A big list goes in blocks with a pause between them; a pause that says
    // stop leaves the old target.
    std::string big(5 * 552 * 1000, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = char(i * 7 / 552);
    write_bytes(from, big);
    int pauses = 0;
    ASSERT_TRUE(CopyListFile(from, to, [&] { return ++pauses > 0; }));
    EXPECT_EQ(read_bytes(to), big);
    EXPECT_EQ(pauses, 2);
    EXPECT_FALSE(CopyListFile(d.file("mine.vl2"), d.file("other.vl2"), [] { return false; }));
    EXPECT_FALSE(std::filesystem::exists(d.file("other.vl2")));
    EXPECT_EQ(read_bytes(to), big);
}

TEST(ListFilesCopy, FailedReplaceKeepsTheOldFile) {
    TempDir d;
    const std::string f = d.file("list.vl2");
    write_bytes(f, "precious");
    ASSERT_TRUE(write_file_replacing(f, "new"));
    EXPECT_EQ(read_bytes(f), "new");
    // The temporary file cannot be created: nothing changes.
    std::filesystem::create_directory(f + ".~new");
    EXPECT_FALSE(write_file_replacing(f, ""));
    EXPECT_EQ(read_bytes(f), "new");
}

#ifndef _WIN32
// A save killed at any moment leaves the old list or the new one, whole.
TEST(ListFilesCopy, ASaveKilledMidwayLeavesTheOldOrTheNewFile) {
    TempDir d;
    const std::string f = d.file("list.vl2");
    const std::string a(2 << 20, 'a'), b(3 << 20, 'b');
    ASSERT_TRUE(write_file_replacing(f, a));
    for (int round = 0; round < 12; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            for (;;) {
                write_file_replacing(f, b);
                write_file_replacing(f, a);
            }
        usleep(2000 + 3000 * round);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        const std::string got = read_bytes(f);
        ASSERT_TRUE(got == a || got == b) << "round " << round << ": " << got.size() << " bytes";
    }
}
#endif

TEST(Snapshot, RoundTripByteLayoutAndDamage) {
    TempDir d;
    const std::string f = d.file("untitled0.vl2_#");
    std::vector<ListRow> rows = {{"001", {"A - B", "3:07", "01", "", "", "", "C:\\a.mp3", "1"}},
                                 {"002", {"x"}}};
    ASSERT_TRUE(SaveViewSnapshot(rows, f));
    const std::string bytes = read_bytes(f);
    EXPECT_EQ(bytes.substr(0, 9), std::string("\x02\x00\x08\x00\x03\x00"
                                              "001",
                                              9));
    std::vector<ListRow> back;
    ASSERT_TRUE(LoadViewSnapshot(back, f));
    EXPECT_EQ(back, rows);

    // A cut file yields the complete rows before the damage.
    write_bytes(f, bytes.substr(0, bytes.size() - 2));
    ASSERT_TRUE(LoadViewSnapshot(back, f));
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0], rows[0]);

    // Texts end at their first zero byte.
    write_bytes(f, std::string("\x01\x00\x01\x00\x03\x00"
                               "0\0x"
                               "\x02\x00"
                               "ab",
                               13));
    ASSERT_TRUE(LoadViewSnapshot(back, f));
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].caption, "0");
    EXPECT_EQ(back[0].sub, std::vector<std::string>{"ab"});

    back = rows;
    EXPECT_FALSE(LoadViewSnapshot(back, d.file("none")));
    EXPECT_EQ(back, rows);
}
