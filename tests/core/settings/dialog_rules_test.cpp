#include <gtest/gtest.h>

#include "settings/dialog_rules.h"
#include "settings/vl_lang_func.h"

namespace {

TEST(DialogRules, PatternsSplitWithOneBlankRemoved) {
    EXPECT_EQ(split_patterns("  *.wav; *.mp3;;*.ogg"),
              (std::vector<std::string>{" *.wav", "*.mp3", "*.ogg"}));
    EXPECT_TRUE(split_patterns("").empty());
}

TEST(DialogRules, TwoCheckedPatternsGiveTwoBlanksBeforeEach) {
    const std::vector<std::string> p = {"*.a", "*.x", "*.b"};
    EXPECT_EQ(active_patterns_of(p, {true, false, true}), "  *.a;  *.b;");
    EXPECT_TRUE(pattern_active("  *.a;  *.b;", "*.b"));
    EXPECT_FALSE(pattern_active("  *.ab;", "*.a"));
}

TEST(DialogRules, ScopeTypeEnablesControls) {
    struct Case {
        int type;
        bool skin;
        ScopeEnables want;
    } cases[] = {
        {0, false, {false, false, false}}, {1, false, {true, true, true}},
        {1, true, {true, true, false}},    {2, false, {false, true, true}},
        {2, true, {false, true, false}},
    };
    for (const Case& c : cases) {
        const ScopeEnables e = scope_enables(c.type, c.skin);
        EXPECT_EQ(e.int_type, c.want.int_type) << c.type << c.skin;
        EXPECT_EQ(e.colours, c.want.colours) << c.type << c.skin;
        EXPECT_EQ(e.colour_buttons, c.want.colour_buttons) << c.type << c.skin;
    }
}

TEST(DialogRules, TreeNumbersAndParents) {
    EXPECT_EQ(kSettingsTree[8].page, 207);
    EXPECT_EQ(kSettingsTree[8].parent, 7);  // AVE under Display
    EXPECT_EQ(kSettingsTree[9].page, 205);
    EXPECT_EQ(kSettingsTree[6].page, kInterfacePage);
}

TEST(LanguageFile, MalformedLinesIgnoredMissingKeysEmptyLongCut) {
    const std::string text =
        "garbage line\r\n[Captions\r\n[Captions]\r\n=no key\r\n"
        "sys_pan_cap=Systemeinstellungen\r\nunknown_ctl=x\r\nfile_pan_cap=" +
        std::string(1000, 'y') + "\r\n[Settings_wind]\r\nSETTTREE_ITEM3=Sprache\r\n";
    const LanguageFile f(IniFile::parse(text));
    EXPECT_EQ(f.caption("sys_pan_cap"), "Systemeinstellungen");
    EXPECT_EQ(f.caption("plug_pan_cap"), "");
    EXPECT_EQ(f.caption("file_pan_cap").size(), kMaxCaption);
    EXPECT_EQ(f.node("setttree", 3), "Sprache");
    EXPECT_EQ(f.node("setttree", 0), "");
}

TEST(LanguageFile, ListShowsLngFilesByNameSorted) {
    const LanguageList l = language_list({"russian.lng", "Deutsch.LNG", "readme.txt", ".lng"});
    EXPECT_EQ(l.entries, (std::vector<std::string>{"Deutsch", "russian"}));
    EXPECT_EQ(l.files, (std::vector<std::string>{"Deutsch.LNG", "russian.lng"}));
}

}  // namespace
