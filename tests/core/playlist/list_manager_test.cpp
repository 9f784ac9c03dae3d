#include <gtest/gtest.h>

#include <deque>
#include <fstream>

#include "fakes.h"
#include "playlist/list_manager.h"

namespace {

class FakeListUi : public ListManagerUi {
  public:
    struct Choice {
        std::string path;
        int filter;
    };
    std::deque<Choice> choices;  // answers to the file dialogs, in order
    std::vector<std::string> dialog_folders, questions;
    bool answer = true;
    int templates_shown = 0;

    bool choose_list_file(const ListFileDialog&, const std::string& folder, std::string& path,
                          int& filter) override {
        dialog_folders.push_back(folder);
        if (choices.empty()) return false;
        path = choices.front().path;
        filter = choices.front().filter;
        choices.pop_front();
        return true;
    }
    bool ask(const std::string& text) override {
        questions.push_back(text);
        return answer;
    }
    bool file_exists(const std::string& p) override { return std::filesystem::exists(p); }
    void show_template_chooser() override { ++templates_shown; }
};

class ListManagerTest : public ::testing::Test {
  protected:
    ListManagerTest() : model(host, playback), lists(model, ui, last_folder) {
        model.working_folder = work.folder();
    }

    void known(const std::string& p, const std::string& artist) {
        host.files.insert(p);
        FileInfoRec f;
        f.artist = artist;
        f.title = "t";
        host.infos[p] = f;
    }
    void add(const std::string& name, const std::string& artist) {
        known(media.file(name), artist);
        model.AddToSongList(media.file(name));
    }
    std::vector<std::string> paths_in(const std::string& file) const {
        std::vector<std::string> out;
        for (const ListRecord& r : ReadAllRecords(file)) out.push_back(file_name_of(r.path));
        return out;
    }
    std::vector<std::string> shown() const {
        std::vector<std::string> out;
        for (const ListRow& r : model.rows()) out.push_back(r.sub[0]);
        return out;
    }
    std::vector<std::string> tab_names() const {
        std::vector<std::string> out;
        for (const ListTab& t : lists.tabs()) out.push_back(t.name);
        return out;
    }

    TempDir work, media;
    FakeHost host;
    FakePlayback playback;
    FakeListUi ui;
    std::string last_folder = "C:\\start\\";
    PlaylistModel model;
    ListManager lists;
};

TEST_F(ListManagerTest, SaveOfNewListRewritesItsWorkingFileInViewOrder) {
    lists.lst_men_newClick();
    add("b.mp3", "B");
    add("a.mp3", "A");
    model.srt_menu_nameClick(0);
    lists.save();
    EXPECT_EQ(ui.questions,
              std::vector<std::string>{"FileList untitled0.vl2 is already exists!\nOverwrite?"});
    EXPECT_EQ(tab_names(), std::vector<std::string>{"untitled0.vl2"});
    EXPECT_EQ(paths_in(model.current_file), (std::vector<std::string>{"a.mp3", "b.mp3"}));
    // The rows address the rewritten records.
    EXPECT_EQ(model.rows()[1].sub[row_text::kRecord], "2");
}

TEST_F(ListManagerTest, SwitchingTabsKeepsEachListsRows) {
    lists.lst_men_newClick();
    add("a.mp3", "A");
    add("b.mp3", "B");
    lists.lst_men_newClick();
    add("c.mp3", "C");
    const std::vector<std::string> first{"A - t", "B - t"};
    for (int i = 0; i < 3; ++i) {
        lists.list_managerChange(0);
        EXPECT_EQ(shown(), first);
        lists.list_managerChange(1);
        EXPECT_EQ(shown(), std::vector<std::string>{"C - t"});
        EXPECT_EQ(file_name_of(model.current_file), "untitled1.vl2");
    }
}

TEST_F(ListManagerTest, ClosingTheLastTabLeavesNoTabAndAnEmptyView) {
    lists.lst_men_newClick();
    add("a.mp3", "A");
    lists.lst_men_newClick();
    lists.close();
    EXPECT_EQ(shown(), std::vector<std::string>{"A - t"});
    lists.close();
    EXPECT_TRUE(lists.tabs().empty());
    EXPECT_EQ(lists.current(), -1);
    EXPECT_TRUE(model.rows().empty());
    lists.save();  // nothing to save, nothing asked
    EXPECT_TRUE(ui.questions.empty());
}

TEST_F(ListManagerTest, ListsWithOneFileNameGetTheirOwnWorkingFiles) {
    lists.lst_men_newClick();
    add("a.mp3", "A");
    model.WriteListFile(model.current_file, media.file("same.vl2"), true);
    ASSERT_TRUE(lists.open_list(media.file("same.vl2"), 1));
    ASSERT_TRUE(lists.open_list(media.file("same.vl2"), 1));
    EXPECT_EQ(tab_names(), (std::vector<std::string>{"untitled0.vl2", "same.vl2", "same_0.vl2"}));
    EXPECT_EQ(shown(), std::vector<std::string>{"A - t"});
    // A file that cannot be read leaves no tab behind.
    EXPECT_FALSE(lists.open_list(media.file("none.vl2"), 1));
    EXPECT_EQ(lists.tabs().size(), 3u);
}

TEST_F(ListManagerTest, SaveOfAnM3uListAsksForAVl2NameAndKeepsTheM3u) {
    const std::string m3u = media.file("mix.m3u");
    known(m3u_entry_path(m3u, "a.mp3"), "A");
    std::ofstream(m3u) << "a.mp3\n";
    lists.open_list(m3u, 2);
    ASSERT_EQ(shown(), std::vector<std::string>{"A - t"});
    ui.choices.push_back({media.file("mix.vl2"), 1});
    lists.save();
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_EQ(paths_in(media.file("mix.vl2")), std::vector<std::string>{"a.mp3"});
    std::ifstream in(m3u);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "a.mp3\n");
    // From now on Save writes the VL2 file, after its question.
    lists.save();
    EXPECT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(lists.tabs()[0].origin, media.file("mix.vl2"));
}

TEST_F(ListManagerTest, SaveAsAsksBeforeRewritingAndDialogsRememberTheFolder) {
    lists.lst_men_newClick();
    add("a.mp3", "A");
    const std::string target = media.file("old.vl2");
    std::ofstream(target) << "keep";
    ui.answer = false;
    ui.choices.push_back({target, 1});
    lists.save_as();
    EXPECT_EQ(ui.questions,
              std::vector<std::string>{"File old.vl2 is already exists\nRewrite file?"});
    EXPECT_EQ(std::filesystem::file_size(target), 4u);
    ui.choices.push_back({media.file("out "), 2});
    lists.save_as();
    EXPECT_EQ(ui.templates_shown, 1);
    EXPECT_EQ(lists.export_target(), media.file("out"));
    EXPECT_EQ(ui.dialog_folders, (std::vector<std::string>{"C:\\start\\", folder_of(target)}));
}

TEST_F(ListManagerTest, AddListAppendsToTheListInView) {
    lists.lst_men_newClick();
    add("a.mp3", "A");
    model.WriteListFile(model.current_file, media.file("one.vl2"), true);
    ui.choices.push_back({media.file("one.vl2"), 1});
    lists.add_list();
    EXPECT_EQ(shown(), (std::vector<std::string>{"A - t", "A - t"}));
    EXPECT_EQ(RecordCount(model.current_file), 2);
}

}  // namespace
