// Every file the program opens by name ships in the program folder and in the
// staged release, every skin is complete, and every listed folder holds files.
#include <gtest/gtest.h>

#include <string>

#include "base/program_files.h"
#include "win/files.h"
#include "win_process.h"

TEST(ProgramFolder, HoldsEveryFileTheProgramOpensByName) {
    for (const char* unix_dir : {VL_PROGRAM_DIR_UNIX, VL_STAGE_DIR_UNIX}) {
        const std::string dir = wine_path(unix_dir) + "\\";
        if (!exists(dir + "veltrona.exe")) {
            ASSERT_NE(std::string(unix_dir), VL_PROGRAM_DIR_UNIX);
            continue;  // not staged in this build
        }
        SCOPED_TRACE(dir);
        for (const char* name : program_files::kShipped) EXPECT_TRUE(exists(dir + name)) << name;
        for (const char* folder : program_files::kListedFolders)
            EXPECT_FALSE(find_file_names(dir + folder + "*.*").empty()) << folder;
        const std::vector<FoundFile> skins = find_files(dir + "skins\\*");
        int complete = 0;
        for (const FoundFile& skin : skins) {
            if (!skin.directory() || skin.name[0] == '.') continue;
            for (const char* name : program_files::kSkinFiles)
                EXPECT_TRUE(exists(dir + "skins\\" + skin.name + "\\" + name)) << skin.name << name;
            ++complete;
        }
        EXPECT_GE(complete, 1);
    }
}
