#include <gtest/gtest.h>

#include <string>

#include "base/ini_file.h"

namespace {

TEST(IniFile, KeysAndSectionsIgnoreCaseAndBlanks) {
    IniFile ini = IniFile::parse("[Media]\r\n  VL_Wave.dll  =   *.wav;  \r\n");
    EXPECT_EQ(ini.read("media", "vl_wave.DLL"), "*.wav;");
    EXPECT_EQ(ini.read(" Media ", " vl_wave.dll "), "*.wav;");
}

TEST(IniFile, FirstSectionAndFirstKeyWin) {
    IniFile ini = IniFile::parse("[A]\nk=1\nk=2\n[B]\nx=b\n[A]\nk=3\nj=4\n");
    EXPECT_EQ(ini.read("A", "k"), "1");
    EXPECT_EQ(ini.read("A", "j", "none"), "none");
    EXPECT_FALSE(ini.has_key("A", "j"));
}

TEST(IniFile, ValuesKeepInnerEqualsAndLoseOnePairOfQuotes) {
    IniFile ini = IniFile::parse(
        "[S]\na=x=y=z\nb=\"quoted value\"\nc='single'\nd=\"half\ne=\n"
        "nokey\n");
    EXPECT_EQ(ini.read("S", "a"), "x=y=z");
    EXPECT_EQ(ini.read("S", "b"), "quoted value");
    EXPECT_EQ(ini.read("S", "c"), "single");
    EXPECT_EQ(ini.read("S", "d"), "\"half");
    EXPECT_EQ(ini.read("S", "e", "def"), "");
    EXPECT_EQ(ini.read("S", "nokey", "def"), "def");
}

TEST(IniFile, KeysBeforeAnySectionFormTheUnnamedSectionAndNoFinalLineEndIsFine) {
    IniFile ini = IniFile::parse("early=1\n[S\nk=open\n[ S ]\nlast=end\n[]\nk=later");
    EXPECT_EQ(ini.read("S", "early", "-"), "-");
    EXPECT_EQ(ini.read("", "early"), "1");
    EXPECT_EQ(ini.read("", "k"), "open");  // "[S" is no header; the first "" wins
    EXPECT_EQ(ini.read("s", "last"), "end");
    EXPECT_EQ(ini.sections(), std::vector<std::string>{"S"});
    // Erasing the unnamed part keeps the next header in the text.
    ini.erase_section("");
    EXPECT_EQ(IniFile::parse(ini.text()).read("S", "last"), "end");
}

TEST(IniFile, ByteOrderMarksSelectTheEncodingAndTextComesOutInAnsi) {
    using namespace std::string_literals;
    const struct {
        std::string bytes, ansi;
    } cases[] = {
        {"[S]\r\nk=caf\xE9"s, "[S]\r\nk=caf\xE9"s},  // no mark: bytes as they are
        {"\xEF\xBB\xBF[S]\r\nk=caf\xC3\xA9 \xE2\x82\xAC \xD0\x96 \xC3"s,
         "[S]\r\nk=caf\xE9 \x80 ? ?"s},
        {"\xFF\xFE[\0S\0]\0=\0\xE9\0\xAC\x20\x16\x04\x3D\xD8\x00\xDE"s, "[S]=\xE9\x80??"s},
        {"\xFE\xFF\0[\0S\0]\0\xE9"s, "[S]\xE9"s},
    };
    for (const auto& c : cases) EXPECT_EQ(IniFile::decode(c.bytes), c.ansi) << c.ansi;
}

TEST(IniFile, WritingReplacesAppendsAndCreates) {
    IniFile ini = IniFile::parse("[A]\nk=1\n[B]\nx=2\n");
    ini.write("a", "K", "one");
    ini.write("A", "new", "  n  ");
    ini.write("C", "z", "3");
    EXPECT_EQ(ini.text(), "[A]\r\nk=one\r\nnew=n\r\n\r\n[B]\r\nx=2\r\n\r\n[C]\r\nz=3\r\n");
    ini.erase_key("A", "k");
    ini.erase_section("b");
    EXPECT_EQ(ini.text(), "[A]\r\nnew=n\r\n\r\n[C]\r\nz=3\r\n");
    EXPECT_EQ(IniFile::parse(ini.text()).read("C", "z"), "3");
}

TEST(IniFile, ReadIntAndMissingFile) {
    IniFile ini = IniFile::parse("[S]\nn= 42 \nbad=x1\n");
    EXPECT_EQ(ini.read_int("S", "n", 7), 42);
    EXPECT_EQ(ini.read_int("S", "missing", 7), 7);
    EXPECT_EQ(ini.read_int("S", "bad", 7), 0);
    EXPECT_TRUE(IniFile::load("/nonexistent/dir/x.ini").sections().empty());
}

}  // namespace
