#include <gtest/gtest.h>

#include <set>

#include "base/paths.h"
#include "base/text.h"

namespace {

TEST(PathRules, FolderNameAndExtension) {
    EXPECT_EQ(folder_of("C:\\Music\\a.mp3"), "C:\\Music\\");
    EXPECT_EQ(folder_of("C:\\Music\\"), "C:\\Music\\");
    EXPECT_EQ(folder_of("C:a.mp3"), "C:\\");
    EXPECT_EQ(file_name_of("C:\\Music\\a.b.mp3"), "a.b.mp3");
    EXPECT_EQ(file_ext_of("C:\\Music\\a.b.mp3"), ".mp3");
    EXPECT_EQ(file_ext_of("C:\\Mu.sic\\noext"), "");
    EXPECT_EQ(file_ext_of("trailing."), ".");
}

TEST(PathRules, WorkingFolderUsesUnpaddedNumbers) {
    EXPECT_EQ(working_folder_name("C:\\Temp", 9, 5, 3), "C:\\Temp\\_vl_tmp_9_5_3_\\");
    EXPECT_EQ(working_folder_name("C:\\Temp\\", 23, 59, 10), "C:\\Temp\\_vl_tmp_23_59_10_\\");
}

TEST(PathRules, CleanFileNameReplacesReservedAndUserCharacters) {
    EXPECT_EQ(clean_file_name("a*b|c/d\\e<f>g?h:i\"j"), "a_b_c_d_e_f_g_h_i_j");
    EXPECT_EQ(clean_file_name("Don't stop, now.mp3"), "Don_t_stop__now_mp3");
    EXPECT_EQ(clean_file_name("a-b c", "-", "+"), "a+b c");
    // An empty replacement text still gives a usable name.
    EXPECT_EQ(clean_file_name("a?b", "", ""), "a_b");
}

TEST(PathRules, UniqueFileNameCountsFromZero) {
    std::set<std::string> existing = {"D:\\M\\New_name.mp3", "D:\\M\\New_name_0.mp3"};
    auto exists = [&](const std::string& p) { return existing.count(p) > 0; };
    EXPECT_EQ(unique_file_name("D:\\M\\old.mp3", "New name", exists), "D:\\M\\New_name_1.mp3");
    EXPECT_EQ(unique_file_name("D:\\M\\old.mp3", "Other", exists), "D:\\M\\Other.mp3");
    EXPECT_EQ(unique_file_name("D:\\M\\old", "x", exists), "D:\\M\\x");
}

TEST(PathRules, YesNoAndNumberTexts) {
    std::string t = "keep";
    yes_no_text(2, t);
    EXPECT_EQ(t, "keep");
    yes_no_text(-1, t);
    EXPECT_EQ(t, "Not supported");
    yes_no_text(0, t);
    EXPECT_EQ(t, "No");
    yes_no_text(1, t);
    EXPECT_EQ(t, "Yes");
    EXPECT_EQ(number_text(-5), "Not supported");
    EXPECT_EQ(number_text(0), "0");
    EXPECT_EQ(number_text(44100), "44100");
}

TEST(PathRules, ResolveAgainstStartFolder) {
    EXPECT_EQ(resolve_path("C:\\Users\\me", "song.mp3"), "C:\\Users\\me\\song.mp3");
    EXPECT_EQ(resolve_path("C:\\Users\\me\\", "..\\x\\.\\song.mp3"), "C:\\Users\\x\\song.mp3");
    EXPECT_EQ(resolve_path("C:\\Users\\me", "\\Music\\a.mp3"), "C:\\Music\\a.mp3");
    EXPECT_EQ(resolve_path("C:\\Users\\me", "D:\\a.mp3"), "D:\\a.mp3");
    EXPECT_EQ(resolve_path("C:\\Users\\me", "\\\\srv\\share\\a.mp3"), "\\\\srv\\share\\a.mp3");
    EXPECT_EQ(resolve_path("\\\\srv\\share\\dir", "a.mp3"), "\\\\srv\\share\\dir\\a.mp3");
    EXPECT_EQ(resolve_path("\\\\srv\\share\\dir", "\\b\\a.mp3"), "\\\\srv\\share\\b\\a.mp3");
    EXPECT_EQ(resolve_path("C:\\", "..\\..\\a.mp3"), "C:\\a.mp3");
    EXPECT_EQ(resolve_path("C:\\x", ""), "");
}

}  // namespace
