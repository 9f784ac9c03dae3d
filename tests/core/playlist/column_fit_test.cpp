#include "playlist/column_fit.h"

#include <gtest/gtest.h>

namespace {

ListRow row(const std::string& album) {
    ListRow r;
    r.caption = "1";
    r.sub = {"A - T", "1:00", "01", album, "", "", "C:\\a.mp3", "1"};
    return r;
}

TEST(ColumnFit, OnlyRowsNearTheWidestAreLeftEachTextOnce) {
    std::array<int, 256> advance{};
    advance.fill(5);
    advance['i'] = 2;
    advance['W'] = 10;
    const std::vector<ListRow> rows = {row("iiiiiiiiii"), row("WWW"),  row("WW"),
                                       row("WWW"),        row("abcd"), row("")};
    // Column 4 is the album: "iiiiiiiiii" 20, "WWW" 30, "WW" 20, "abcd" 20.
    EXPECT_EQ(widest_row_candidates(rows, 4, advance, 0), (std::vector<int>{1}));
    EXPECT_EQ(widest_row_candidates(rows, 4, advance, 10), (std::vector<int>{0, 1, 2, 4}));
    EXPECT_TRUE(widest_row_candidates(rows, 5, advance, 10).empty());  // no year anywhere
    EXPECT_EQ(row_cell(rows[0], 0), "1");
    EXPECT_EQ(row_cell(rows[0], 9), "");
}

}  // namespace
