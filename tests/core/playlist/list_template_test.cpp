#include <gtest/gtest.h>

#include <fstream>

#include "fakes.h"
#include "playlist/list_template.h"

namespace {

// Entry k of a list of n: "e<k>:<line>", or the expander's error text.
ListLineExpander entries_of(int n) {
    return [n](int k, const std::string& line) {
        return k < n ? "e" + std::to_string(k) + ":" + line : std::string("??? Error!!!");
    };
}

TEST(ListTemplate, ExpandsLinesAndBlocks) {
    const struct {
        const char* tpl;
        int entries;
        const char* ext;
        const char* out;
    } cases[] = {
        {"htm\r\nhead\r\n<{\r\na\r\nb\r\n}>\r\nfoot\r\n", 3, "htm",
         "e0:head\r\ne0:a\r\ne0:b\r\ne1:a\r\ne1:b\r\ne2:a\r\ne2:b\r\ne0:foot\r\n"},
        {"htm\nhead\n<{\nrow\n}>\nfoot", 0, "htm", "??? Error!!!\r\n??? Error!!!\r\n"},
        // Only the first line: one empty line is still read and written.
        {"txt\r\n", 2, "txt", "e0:\r\n"},
        {"txt", 2, "txt", "e0:\r\n"},
        // A block left open by the end of the file is written; a stray "}>" is dropped.
        {"m3u\r}>\r<{\r<{\rx", 2, "m3u", "e0:x\r\ne1:x\r\n"},
    };
    for (const auto& c : cases) {
        std::string ext;
        EXPECT_EQ(expand_template_text(c.tpl, c.entries, entries_of(c.entries), ext), c.out)
            << c.tpl;
        EXPECT_EQ(ext, c.ext);
    }
}

TEST(ListTemplate, WritesTargetWithExtensionOrNothing) {
    TempDir dir;
    const std::string tpl = dir.file("list.tpl");
    std::ofstream(tpl, std::ios::binary) << "htm\r\n%LN\r\n";
    const std::string out = ExportWithTemplate(tpl, dir.file("my list"), 1, entries_of(1));
    EXPECT_EQ(out, dir.file("my list") + ".htm");
    std::ifstream in(out, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "e0:%LN\r\n");
    // A template that cannot be read and a folder that does not exist write nothing.
    EXPECT_EQ(ExportWithTemplate(dir.file("none.tpl"), dir.file("x"), 1, entries_of(1)), "");
    EXPECT_FALSE(std::filesystem::exists(dir.file("x.htm")));
    EXPECT_EQ(ExportWithTemplate(tpl, dir.file("gone/x"), 1, entries_of(1)), "");
    EXPECT_EQ(export_target("C:\\a b  "), "C:\\a b");
}

}  // namespace
