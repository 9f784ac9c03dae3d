#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <set>

#include "base/paths.h"
#include "playlist/explorer_ops.h"

namespace {

class FakeDisk : public ExplorerHost {
  public:
    std::set<std::string> paths;
    std::map<std::string, FileInfoRec> tags;
    std::map<std::string, std::vector<DirEntry>> dirs;
    std::deque<Answer> answers;  // then Yes
    std::vector<std::string> said;
    bool moves_fail = false;

    bool exists(const std::string& p) override { return paths.count(p) > 0; }
    bool IsSupported(const std::string& p) override { return file_ext_of(p) == ".mp3"; }
    void QuickInfo(const std::string& p, FileInfoRec& f) override { f = tags[p]; }
    std::vector<DirEntry> list_dir(const std::string& pattern) override { return dirs[pattern]; }
    Answer ask(const std::string& text, bool with_abort) override {
        said.push_back((with_abort ? "?3 " : "?2 ") + text);
        if (answers.empty()) return Answer::Yes;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    void warn(const std::string& text) override { said.push_back("! " + text); }
    bool move_file(const std::string& from, const std::string& to) override {
        said.push_back("mv " + from + " " + to);
        return !moves_fail;
    }
    bool make_folder(const std::string& p) override {
        said.push_back("md " + p);
        return !moves_fail;
    }

    void file(const std::string& p, const std::string& artist, const std::string& title) {
        paths.insert(p);
        tags[p].artist = artist;
        tags[p].title = title;
    }
};

TEST(ExplorerOps, SizePicture) {
    const std::pair<int64_t, const char*> cases[] = {{0, ""},
                                                     {7, "7"},
                                                     {999, "999"},
                                                     {1000, "1 000"},
                                                     {4194304, "4 194 304"},
                                                     {1234567890123, "1234 567 890 123"},
                                                     {-1, "-1"}};
    for (const auto& [n, text] : cases) EXPECT_EQ(size_picture(n), text) << n;
}

TEST(ExplorerOps, RenameCleansTheTagsAndAvoidsTakenNames) {
    FakeDisk d;
    d.file("C:\\m\\x.mp3", "AC/DC: Live", "T");
    d.paths.insert("C:\\m\\AC_DC_ Live - T.mp3");
    const NameRules rules{"", "_"};
    rename_file_by_tag(d, "C:\\m\\x.mp3", rules);
    EXPECT_EQ(d.said, (std::vector<std::string>{"?2 Rename file x.mp3\n to AC_DC_ Live - T_0.mp3 ?",
                                                "mv C:\\m\\x.mp3 C:\\m\\AC_DC_ Live - T_0.mp3"}));
    // No renames nothing; a failed rename is reported.
    d.said.clear();
    d.answers = {Answer::No};
    rename_file_by_tag(d, "C:\\m\\x.mp3", rules);
    EXPECT_EQ(d.said.size(), 1u);
    d.moves_fail = true;
    rename_file_by_tag(d, "C:\\m\\x.mp3", rules);
    EXPECT_EQ(d.said.back(), "! Can't rename file C:\\m\\x.mp3 !");
    // A file already named after its tags is left alone, without a question.
    d.said.clear();
    d.file("C:\\m\\A - B.mp3", "A", "B");
    rename_file_by_tag(d, "C:\\m\\A - B.mp3", rules);
    EXPECT_TRUE(d.said.empty());
}

TEST(ExplorerOps, AbortEndsAFolderButItsSubfoldersFollow) {
    FakeDisk d;
    d.dirs["C:\\m\\*.*"] = {
        {"a.mp3", false}, {"b.mp3", false}, {"c.txt", false}, {".", true}, {"sub", true}};
    d.dirs["C:\\m\\sub\\*.*"] = {{"s.mp3", false}};
    for (const char* p : {"C:\\m\\a.mp3", "C:\\m\\b.mp3", "C:\\m\\sub\\s.mp3"})
        d.file(p, "Ar", file_name_of(p));
    d.answers = {Answer::Abort};
    RenameFolderFiles(d, "C:\\m", NameRules{});
    EXPECT_EQ(d.said,
              (std::vector<std::string>{"?3 Rename file a.mp3\n to Ar_-_a_mp3.mp3 ?",
                                        "?3 Rename file s.mp3\n to Ar_-_s_mp3.mp3 ?",
                                        "mv C:\\m\\sub\\s.mp3 C:\\m\\sub\\Ar_-_s_mp3.mp3"}));
}

TEST(ExplorerOps, ArtistFolder) {
    FakeDisk d;
    d.file("C:\\m\\x.mp3", "Bad:Name", "T");
    d.file("C:\\m\\none.mp3", "", "T");
    d.paths.insert("C:\\m\\");
    make_artist_folder(d, "C:\\m\\x.mp3", NameRules{});
    make_artist_folder(d, "C:\\m\\none.mp3", NameRules{});
    d.moves_fail = true;
    make_artist_folder(d, "C:\\m\\x.mp3", NameRules{});
    EXPECT_EQ(d.said, (std::vector<std::string>{"?2 Create folder Bad_Name ?", "md C:\\m\\Bad_Name",
                                                "! Folder C:\\m\\ is already exists!",
                                                "?2 Create folder Bad_Name ?", "md C:\\m\\Bad_Name",
                                                "! Can't create folder C:\\m\\Bad_Name !"}));
}

}  // namespace
