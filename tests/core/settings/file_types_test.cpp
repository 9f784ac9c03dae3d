#include "settings/file_types.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

TEST(FileTypePatterns, CutTrimSortAndDedupe) {
    struct Case {
        Strings declared, items;
    };
    const std::vector<Case> cases = {
        {{"*.mp3;*.mp2;", "*.wav;*.mp3;"}, {"*.mp2", "*.mp3", "*.wav"}},
        {{"*.MP3;", "*.mp3;"}, {"*.MP3", "*.mp3"}},
        {{"  *.ogg;", " *.aac; *.flac"}, {" *.ogg", "*.aac", "*.flac"}},  // one blank goes
        {{"", "*.a;;", ""}, {"*.a"}},
        {{}, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(file_type_patterns(c.declared), c.items);
}

std::string value(KeyStore& store, const std::string& key, const std::string& name) {
    uint32_t d = 0;
    std::string t;
    return store.read(key, name, d, t) == KeyStore::Kind::String ? t : "<none>";
}

// Refuses writes and deletes of one key, as a registry without access would.
struct RefusingStore : MemoryKeyStore {
    std::string refused;
    bool write_string(const std::string& s, const std::string& n, const std::string& v) override {
        return s != refused && MemoryKeyStore::write_string(s, n, v);
    }
    bool delete_key(const std::string& s) override {
        return s != refused && MemoryKeyStore::delete_key(s);
    }
};

FileTypesForm form_of(const Strings& items, const std::vector<bool>& checked, bool m3u = false) {
    FileTypesForm f;
    f.items = items;
    f.checked = checked;
    f.m3u = m3u;
    return f;
}

TEST(FileTypes, ApplyTakesOverKeepsLastAndGivesBack) {
    struct Step {
        std::vector<bool> checked;
        // default, "Last", "Content Type" of the extension key afterwards
        std::string def, last, content;
    };
    struct Case {
        const char* name;
        std::string ext, owner;  // owner "" : no key before
        Strings items;
        std::vector<Step> steps;
    };
    const std::string ct = "music/.ab";
    const std::vector<Case> cases = {
        {"owned by X",
         ".ab",
         "X",
         {"*.ab"},
         {{{true}, kMediaClass, "X", ct}, {{true}, kMediaClass, "X", ct}, {{false}, "X", "X", ct}}},
        {"no key before",
         ".ab",
         "",
         {"*.ab"},
         {{{true}, kMediaClass, "", ct}, {{false}, "<none>", "<none>", "<none>"}}},
        {"unchecked foreign", ".ab", "X", {"*.ab"}, {{{false}, "X", "<none>", "<none>"}}},
        {"two cases, one checked",
         ".ab",
         "",
         {"*.AB", "*.ab"},
         {{{false, true}, kMediaClass, "", ct}, {{true, false}, kMediaClass, "", "music/.AB"}}},
    };
    for (const auto& c : cases) {
        MemoryKeyStore store;
        if (!c.owner.empty()) store.write_string(c.ext, "", c.owner);
        for (const auto& step : c.steps) {
            std::string error;
            ASSERT_TRUE(apply_file_types(store, "C:\\P\\", form_of(c.items, step.checked), error));
            EXPECT_EQ(value(store, c.ext, ""), step.def) << c.name;
            EXPECT_EQ(value(store, c.ext, "Last"), step.last) << c.name;
            EXPECT_EQ(value(store, c.ext, "Content Type"), step.content) << c.name;
            EXPECT_EQ(value(store, ".VL2", ""), kListClass) << c.name;
        }
    }
}

TEST(FileTypes, ShowReadsWhatApplyWrote) {
    MemoryKeyStore store;
    FileTypesForm written = form_of({"*.a", "*.b", "*.c"}, {true, false, true}, true);
    written.f_desc = "Media";
    written.l_desc = "Lists";
    written.file_icon = 2;
    written.list_icon = 4;
    std::string error;
    ASSERT_TRUE(apply_file_types(store, "C:\\P\\", written, error));
    EXPECT_EQ(value(store, kMediaClass + std::string("\\shell\\open\\command"), ""),
              "\"C:\\P\\VELTRONA.EXE\" \"%1\"");
    EXPECT_EQ(value(store, kListClass + std::string("\\DefaultIcon"), ""), "C:\\P\\veltrona.exe,4");

    FileTypesForm shown;
    read_file_types(store, {"*.c;*.b;", "*.a;"}, 9, shown);
    EXPECT_EQ(shown.items, written.items);
    EXPECT_EQ(shown.checked, written.checked);
    EXPECT_EQ(shown.f_desc, "Media");
    EXPECT_EQ(shown.l_desc, "Lists");
    EXPECT_EQ(shown.file_icon, 2);
    EXPECT_EQ(shown.list_icon, 4);
    EXPECT_TRUE(shown.m3u);

    // Icon values without a usable number keep the pickers' selection.
    for (const char* icon : {"C:\\P\\veltrona.exe", "x,", "x,1a", "x,-3", "x,9"}) {
        store.write_string(kMediaClass + std::string("\\DefaultIcon"), "", icon);
        shown.file_icon = 5;
        read_file_types(store, {}, 9, shown);
        EXPECT_EQ(shown.file_icon, 5) << icon;
    }
}

TEST(FileTypes, RefusedWriteStopsApplyAndKeepsWhatWasWritten) {
    RefusingStore store;
    store.refused = ".b";
    std::string error;
    EXPECT_FALSE(apply_file_types(store, "C:\\P\\",
                                  form_of({"*.a", "*.b", "*.c"}, {true, true, true}), error));
    EXPECT_EQ(error, "Failed to set data for '.b'");
    EXPECT_EQ(value(store, ".a", ""), kMediaClass);
    EXPECT_FALSE(store.key_exists(".c"));
    EXPECT_FALSE(store.key_exists(kListClass));
    EXPECT_FALSE(store.key_exists(".VL2"));

    // Releasing a key that cannot be deleted reports it as well.
    store.refused.clear();
    ASSERT_TRUE(apply_file_types(store, "C:\\P\\", form_of({"*.b"}, {true}), error));
    store.refused = ".b";
    EXPECT_FALSE(apply_file_types(store, "C:\\P\\", form_of({"*.b"}, {false}), error));
    EXPECT_EQ(error, "Failed to delete key '.b'");
    EXPECT_EQ(value(store, ".b", ""), kMediaClass);
}

}  // namespace
