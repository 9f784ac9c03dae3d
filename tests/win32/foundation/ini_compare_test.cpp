// IniFile against the system's private-profile routines, on files that
// exercise their corner cases.
#include <gtest/gtest.h>

#include "base/ini_file.h"
#include "win_process.h"

namespace {

using namespace std::string_literals;

struct Case {
    const char* name;
    std::string text;
};

const Case kFiles[] = {
    {"case", "[Media]\r\nVL_Wave.DLL=*.wav;\r\n[media]\r\nvl_mpeg.dll=*.mp3;\r\n"},
    {"blanks",
     "  [Main]  \r\n   Name0   =   Editor   \r\n\tExe0\t=\tC:\\e.exe\t\r\n[ Spaced ]\r\nk = v\r\n"},
    {"duplicates", "[A]\r\nk=1\r\nk=2\r\n[B]\r\nk=b\r\n[A]\r\nk=3\r\nonly=second\r\n"},
    {"no_final_newline", "[S]\r\nfirst=1\r\nlast=end"},
    {"key_before_section", "early=1\r\nk=top\r\n[S]\r\nk=in\r\n"},
    {"equals", "[S]\r\nurl=a=b=c\r\n=novalue\r\nempty=\r\nbare\r\n"},
    {"quotes", "[S]\r\nq=\"quoted\"\r\ns='single'\r\nh=\"half\r\nm=\"a\" b\"\r\ni=a\"b\"\r\n"},
    {"unix_lines", "[S]\nk=unix\n[T]\nk=t\n"},
    {"comments", "; comment\r\n[S]\r\n;k=commented\r\nk=real\r\n#hash=h\r\n"},
    {"odd_headers", "[S\r\nk=open\r\n[S]x]\r\nk=close\r\n[]\r\nk=empty\r\n"},
    {"utf8_bom", "\xEF\xBB\xBF[S]\r\nk=caf\xC3\xA9\r\nq=\"x\"\r\n"},
    {"utf16_bom", "\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\xE9\0\r\0\n\0"s},
};

const char* const kSections[] = {"Media", "media", "MEDIA",  "Main",     "A", "B",   "S",
                                 "s",     "T",     "Spaced", " Spaced ", "",  "S]x", "S]x]"};
const char* const kKeys[] = {"vl_wave.dll", "VL_MPEG.DLL", "Name0", "name0", " Exe0 ", "k", "K",
                             "only",        "first",       "last",  "early", "url",    "",  "empty",
                             "bare",        "q",           "s",     "h",     "m",      "i", ";k",
                             "#hash",       "; comment",   "x"};

std::string system_read(const std::string& file, const char* section, const char* key) {
    char buf[512];
    DWORD n = GetPrivateProfileStringA(section, key, "<def>", buf, sizeof buf, file.c_str());
    return std::string(buf, n);
}

TEST(IniCompare, ReadsMatchTheSystem) {
    const std::string dir = make_temp_folder("ini_read");
    for (const Case& c : kFiles) {
        const std::string path = dir + c.name + ".ini";
        write_text(path, c.text);
        IniFile ini = IniFile::load(path);
        for (const char* s : kSections)
            for (const char* k : kKeys)
                EXPECT_EQ(ini.read(s, k, "<def>"), system_read(path, s, k))
                    << c.name << " [" << s << "] " << k;
    }
    remove_tree(dir);
}

TEST(IniCompare, WritesReadBackAsTheSystemsDo) {
    const std::string dir = make_temp_folder("ini_write");
    struct Write {
        const char* section;
        const char* key;
        const char* value;
    };
    const Write writes[] = {{"A", "k", "new"},     {"a", "K", "again"},
                            {"A", "added", "x=y"}, {"Fresh", "n", " padded "},
                            {"B", "k", ""},        {"S", "last", "changed"}};
    for (const Case& c : kFiles) {
        const std::string sys = dir + c.name + "_sys.ini", ours = dir + c.name + "_ours.ini";
        write_text(sys, c.text);
        IniFile ini = IniFile::parse(IniFile::decode(c.text));
        for (const Write& w : writes) {
            WritePrivateProfileStringA(w.section, w.key, w.value, sys.c_str());
            ini.write(w.section, w.key, w.value);
        }
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, sys.c_str());  // flush the cache
        ASSERT_TRUE(ini.save(ours));
        IniFile sys_as_ini = IniFile::load(sys);
        for (const char* s : {"A", "B", "S", "Fresh", "Media", "Main"})
            for (const char* k : {"k", "added", "n", "last", "first", "only", "vl_wave.dll"}) {
                EXPECT_EQ(system_read(ours, s, k), system_read(sys, s, k))
                    << c.name << " [" << s << "] " << k;
                EXPECT_EQ(sys_as_ini.read(s, k, "<def>"), system_read(sys, s, k))
                    << c.name << " [" << s << "] " << k;
            }
    }
    remove_tree(dir);
}

}  // namespace
