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

std::string utf16le(std::string_view ascii) {
    std::string out;
    for (char c : ascii) out += {c, '\0'};
    return out;
}

TEST_F(Studios, EncodedFilesLoadAndAFileThatCannotBeReadSurvivesASave) {
    const std::string text = "[Main]\r\nName0=Edit\r\nExe0=e.exe\r\n";
    struct Case {
        const char* what;
        std::string bytes;
        bool loads;
    };
    const Case cases[] = {{"utf-8 bom", "\xEF\xBB\xBF" + text, true},
                          {"utf-16 le bom", "\xFF\xFE" + utf16le(text), true},
                          {"utf-16 without bom", utf16le(text), false}};
    for (const Case& c : cases) {
        std::ofstream(studios.ini_path(), std::ios::binary) << c.bytes;
        TStudio s;
        s.StudioFolder = dir;
        s.LoadStudios();
        EXPECT_EQ(s.StudioCount(), c.loads ? 1 : 0) << c.what;
        s.SaveStudios();
        if (c.loads)
            EXPECT_EQ(read_ini().find("\r\nExe0=e.exe\r\n"), 18u) << c.what;
        else
            EXPECT_EQ(read_ini(), c.bytes) << c.what;
    }
    // A file that cannot be opened at all (here a folder in its place) stays too.
    std::remove(studios.ini_path().c_str());
    std::filesystem::create_directory(studios.ini_path());
    studios.LoadStudios();
    studios.AddStudio("New", "n.exe", "");
    studios.SaveStudios();
    EXPECT_TRUE(std::filesystem::is_directory(studios.ini_path()));
    std::filesystem::remove(studios.ini_path());
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

TEST(StudioInput, EmptyNameOrMissingProgramIsRefused) {
    EXPECT_FALSE(studio_input_error("", "c:\\a.exe", true).empty());
    EXPECT_FALSE(studio_input_error("   ", "c:\\a.exe", true).empty());
    EXPECT_FALSE(studio_input_error("Ed", "", false).empty());
    EXPECT_NE(studio_input_error("Ed", "c:\\gone.exe", false).find("gone.exe"), std::string::npos);
    EXPECT_TRUE(studio_input_error("Ed", "c:\\a.exe", true).empty());
}
