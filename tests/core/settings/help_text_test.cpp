#include "settings/help_text.h"

#include <gtest/gtest.h>

namespace {

TEST(HelpText, RichTextOnlyWhenTheFileStartsAsOne) {
    struct Case {
        std::string head;
        help::Format want;
    };
    const Case cases[] = {
        {"{\\rtf1\\ansi\\plain text}", help::Format::Rtf},
        {"{\\rtf", help::Format::Rtf},
        {"{\\rt", help::Format::Text},
        {" {\\rtf1", help::Format::Text},
        {"{\\RTF1", help::Format::Text},
        {"plain words", help::Format::Text},
        {"", help::Format::Text},
        {std::string("\0{\\rtf1", 7), help::Format::Text},
    };
    for (const Case& c : cases) EXPECT_EQ(help::format_of(c.head), c.want) << c.head;
}

TEST(HelpText, LongLinesTurnWrappingOff) {
    struct Case {
        std::string text;
        bool wraps;
    };
    const std::string line(help::kLongestWrappedLine, 'x');
    const Case cases[] = {
        {"", true},
        {line, true},
        {line + "x", false},
        {line + "\n" + line + "\r\n" + line, true},
        {"a\n" + line + " b", false},
    };
    for (const Case& c : cases) EXPECT_EQ(help::wraps(c.text), c.wraps) << c.text.size();
}

}  // namespace
