#include "effects/ave_script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class AveFolder : public testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("vl_ave_test_" +
                std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        folder_ = dir_.string() + "/";
    }
    void TearDown() override { fs::remove_all(dir_); }
    void write(const std::string& name, const std::string& bytes) {
        std::ofstream(folder_ + name, std::ios::binary) << bytes;
    }
    std::string read(const std::string& name) {
        std::ifstream in(folder_ + name, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    fs::path dir_;
    std::string folder_;
};

}  // namespace

TEST(AveFormat, InitPrefixIsExactAndLowerCase) {
    ScriptLines init, frame;
    parse_ave("init;a = 1;\r\nInit;b = 2;\r\ninit;\r\nCLEAR();\r\n init;c = 3;\r\ninit;x\n", init,
              frame);
    EXPECT_EQ(init, (ScriptLines{"a = 1;", "", "x"}));
    EXPECT_EQ(frame, (ScriptLines{"Init;b = 2;", "CLEAR();", " init;c = 3;"}));
    parse_ave("", init, frame);
    EXPECT_TRUE(init.empty());
    EXPECT_TRUE(frame.empty());
    parse_ave("one\r\n\r\ntwo", init, frame);
    EXPECT_EQ(frame, (ScriptLines{"one", "", "two"}));
}

TEST_F(AveFolder, SavingRegroupsInitLinesFirst) {
    write("mixed.ave", "f1\r\ninit;i1\r\nf2\r\ninit;i2\r\n");
    ScriptLines init{"stale"}, frame{"stale"};
    ASSERT_TRUE(load_ave(folder_ + "mixed.ave", init, frame));
    ASSERT_TRUE(save_ave(folder_ + "out.ave", init, frame));
    EXPECT_EQ(read("out.ave"), "init;i1\r\ninit;i2\r\nf1\r\nf2\r\n");

    write("frames.ave", "RENDER();\r\nCLEAR();\r\n");
    ASSERT_TRUE(load_ave(folder_ + "frames.ave", init, frame));
    ASSERT_TRUE(save_ave(folder_ + "frames2.ave", init, frame));
    EXPECT_EQ(read("frames2.ave"), "RENDER();\r\nCLEAR();\r\n");

    EXPECT_FALSE(load_ave(folder_ + "missing.ave", init, frame));
    EXPECT_TRUE(init.empty() && frame.empty());
    std::string error;
    EXPECT_FALSE(save_ave(folder_ + "no/such/dir/x.ave", init, frame, &error));
    EXPECT_FALSE(error.empty());
}

TEST_F(AveFolder, ListsOnlyAveFiles) {
    write("b.ave", "");
    write("A.AVE", "");
    write("c.txt", "");
    write("d.ave.bak", "");
    fs::create_directories(dir_ / "sub.ave");
    auto names = list_ave_files(folder_);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"A.AVE", "b.ave"}));
    EXPECT_TRUE(list_ave_files(folder_ + "missing/").empty());
    EXPECT_EQ(ave_save_path("C:\\vl\\ave\\", "Tunnel"), "C:\\vl\\ave\\Tunnel.ave");
}

TEST(AveVariables, NamesIgnoreCaseAndSetsMoveToTheEnd) {
    AveVariables v;
    EXPECT_EQ(v.get("x"), "");
    v.set("X", "1");
    v.set("y", "2");
    v.set("x", "3");
    EXPECT_EQ(v.get("X"), "3");
    ASSERT_EQ(v.entries().size(), 2u);
    EXPECT_EQ(v.entries().front().first, "y");
    EXPECT_EQ(v.entries().back().first, "x");
}

TEST(AveVariables, TheTableIsBoundedAndAFullTableStopsTheScript) {
    AveScripts big, many;
    big.frame_lines = {"s = 'x' * 1000000; i = 0;", "WHILE 1 BEGIN v[i] = s; i = i + 1; END"};
    EXPECT_FALSE(big.run_frame());
    size_t bytes = 0;
    for (const auto& e : big.variables.entries()) bytes += e.first.size() + e.second.size();
    EXPECT_LE(bytes, AveVariables::kMaxBytes);
    big.frame_lines = {"s = 'short'"};
    EXPECT_TRUE(big.run_frame()) << "replacing an entry still works";
    many.frame_lines = {"i = 0; WHILE 1 BEGIN n[i] = i; i = i + 1; END"};
    many.parser.MaxRunTime = std::chrono::hours(1);  // only the full table may stop it
    EXPECT_FALSE(many.run_frame());
    EXPECT_EQ(many.variables.entries().size(), AveVariables::kMaxEntries);
}

TEST(AveCallRules, ArgumentsAreSplitAndConverted) {
    AveCall c = parse_ave_call("rotate(12.5,1)");
    EXPECT_EQ(c.name, "ROTATE");
    EXPECT_DOUBLE_EQ(c.x1, 12.5);
    EXPECT_DOUBLE_EQ(c.x2, 1);
    c = parse_ave_call("Zoom_In(3)");
    EXPECT_EQ(c.name, "ZOOM_IN");
    EXPECT_DOUBLE_EQ(c.x1, 3);
    EXPECT_DOUBLE_EQ(c.x2, 0);
    c = parse_ave_call("SHIFT(1,2,3)");
    EXPECT_DOUBLE_EQ(c.x1, 1);
    EXPECT_DOUBLE_EQ(c.x2, 0) << "a third argument spoils the second";
    c = parse_ave_call("MOSAIC(abc,)");
    EXPECT_DOUBLE_EQ(c.x1, 0);
    EXPECT_DOUBLE_EQ(c.x2, 0);
    c = parse_ave_call("CLEAR()");
    EXPECT_EQ(c.name, "CLEAR");
    c = parse_ave_call("SHIFT(-1.9,1e2)");
    EXPECT_DOUBLE_EQ(c.x1, -1.9);
    EXPECT_DOUBLE_EQ(c.x2, 100);
}

TEST_F(AveFolder, ScriptsShareVariablesAndSurviveFailures) {
    AveScripts ave;
    std::vector<std::string> seen;
    ave.on_command = [&](const AveCall& c) { seen.push_back(c.name); };
    write("count.ave", "init;step = 2;\r\nx = x + 1;\r\nRENDER();\r\n");
    ASSERT_TRUE(ave.select(folder_, "count.ave"));
    EXPECT_EQ(ave.variables.get("step"), "2");
    EXPECT_TRUE(seen.empty()) << "selecting runs only the initialisation";
    ASSERT_TRUE(ave.run_frame());
    EXPECT_EQ(ave.variables.get("x"), "1") << "the empty value joined with 1";
    ave.run_frame();
    ave.run_frame();
    EXPECT_EQ(ave.variables.get("x"), "3");
    EXPECT_EQ(seen.size(), 3u);

    EXPECT_FALSE(ave.select(folder_, "missing.ave"));
    EXPECT_EQ(ave.frame_lines.size(), 2u) << "a missing file changes nothing";

    ave.frame_lines = {"y = 1 / 0;", "RENDER();"};
    EXPECT_FALSE(ave.run_frame());
    ave.parser.MaxRunTime = std::chrono::milliseconds(30);
    ave.frame_lines = {"WHILE 1 { z = z + 1; }"};
    EXPECT_FALSE(ave.run_frame()) << "an endless loop is cut off";
    ave.frame_lines = {"RENDER();"};
    EXPECT_TRUE(ave.run_frame());
    EXPECT_EQ(ave.variables.get("x"), "3") << "variables outlive failed runs";
}
