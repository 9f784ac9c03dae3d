#include "base/commands.h"

#include <gtest/gtest.h>

namespace {

// The caption lookup relies on id order; a window ignores ids outside its
// range, so a command in no range, or in two, would be lost or run twice.
TEST(Commands, TableIsOrderedAndEveryIdBelongsToOneWindow) {
    ASSERT_LT(id_of(kMainWindowCommands.last), id_of(kPlaylistCommands.first));
    unsigned count = 0;
    const CommandInfo* table = command_table(count);
    ASSERT_GT(count, 0u);
    for (unsigned i = 0; i < count; ++i) {
        SCOPED_TRACE(id_of(table[i].id));
        if (i > 0) {
            EXPECT_LT(id_of(table[i - 1].id), id_of(table[i].id));
        }
        EXPECT_NE(kMainWindowCommands.contains(table[i].id),
                  kPlaylistCommands.contains(table[i].id));
        EXPECT_EQ(command_caption(table[i].id), table[i].caption);
    }
    // The numbered ranges stay clear of every fixed command.
    for (const CommandRange& r : {kStudioCommands, kEffectCommands, kListEntryCommands})
        for (unsigned i = 0; i < count; ++i) {
            EXPECT_FALSE(r.contains(table[i].id));
        }
    EXPECT_STREQ(command_caption(Command::StudioFirst), "");
}

}  // namespace
