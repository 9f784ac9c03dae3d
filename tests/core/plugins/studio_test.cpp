#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "plugins/studio.h"

namespace {

class Studios : public ::testing::Test {
  protected:
    std::string dir = ::testing::TempDir() + "studios_test/";
    TStudio studios;

    void SetUp() override {
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
        studios.StudioFolder = dir;
        std::remove(studios.ini_path().c_str());
    }
    void write_ini(const std::string& text) { std::ofstream(studios.ini_path()) << text; }
    std::string read_ini() {
        std::ifstream in(studios.ini_path(), std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
};

TEST_F(Studios, LoadingStopsAtTheFirstGap) {
    write_ini(
        "[Main]\nName0=Edit\nExe0=C:\\e.exe\nParams0=-x\nName1=Tag\nExe1=C:\\t.exe\n"
        "Name3=Lost\nExe3=C:\\l.exe\n");
    studios.LoadStudios();
    EXPECT_EQ(studios.Names, (std::vector<std::string>{"Edit", "Tag"}));
    EXPECT_EQ(studios.Params, (std::vector<std::string>{"-x", ""}));
}

TEST_F(Studios, AnEmptyNameDropsItAndLaterEntriesAtTheNextSave) {
    write_ini("[Main]\nName0=A\nExe0=a.exe\nName1=\nExe1=b.exe\nName2=C\nExe2=c.exe\n");
    studios.LoadStudios();
    ASSERT_EQ(studios.StudioCount(), 1);
    studios.SaveStudios();
    TStudio again;
    again.StudioFolder = dir;
    again.LoadStudios();
    EXPECT_EQ(again.Names, std::vector<std::string>{"A"});
    EXPECT_EQ(read_ini().find("b.exe"), std::string::npos);
}

TEST_F(Studios, NoFileGivesAnEmptyList) {
    studios.LoadStudios();
    EXPECT_EQ(studios.StudioCount(), 0);
}

TEST_F(Studios, AddEditDeleteAndSaveRoundTrip) {
    studios.AddStudio("One", "C:\\Tools\\one.exe", "/a \"b c\"");
    studios.AddStudio("Two", "C:\\Tools\\two.exe", "");
    studios.AddStudio("Three", "three.exe", "-q");
    studios.EditStudio(1, "Deux", "D:\\deux.exe", "--x=1");
    studios.DeleteStudio(0);
    studios.DeleteStudio(7);  // out of range: nothing happens
    studios.SaveStudios();
    EXPECT_EQ(read_ini(),
              "[Main]\r\nName0=Deux\r\nExe0=D:\\deux.exe\r\nParams0=--x=1\r\n"
              "Name1=Three\r\nExe1=three.exe\r\nParams1=-q\r\n");
    TStudio again;
    again.StudioFolder = dir;
    again.LoadStudios();
    EXPECT_EQ(again.Names, (std::vector<std::string>{"Deux", "Three"}));
    EXPECT_EQ(again.Params, (std::vector<std::string>{"--x=1", "-q"}));
}

TEST_F(Studios, LaunchPassesParametersExactlyAndTheFolder) {
    studios.AddStudio("Ed", "C:\\Apps\\Ed\\ed.exe", "%1 \"quoted\"");
    studios.AddStudio("Ed", "C:\\Other\\ed2.exe", "");
    studios.AddStudio("Bare", "notepad.exe", "x");
    std::vector<std::string> got;
    auto launch = [&](const std::string& f, const std::string& p, const std::string& d) {
        got = {f, p, d};
    };
    // Both items named "Ed" start the first one.
    studios.LaunchStudio(studios.IndexOfName("Ed"), launch);
    EXPECT_EQ(got, (std::vector<std::string>{"ed.exe", "%1 \"quoted\"", "C:\\Apps\\Ed\\"}));
    studios.LaunchStudio(studios.IndexOfName("Bare"), launch);
    EXPECT_EQ(got, (std::vector<std::string>{"notepad.exe", "x", ""}));
    got.clear();
    studios.LaunchStudio(studios.IndexOfName("Nope"), launch);
    EXPECT_TRUE(got.empty());
}

}  // namespace
