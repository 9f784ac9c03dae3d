#include "playlist/list_files.h"

#include <filesystem>
#include <fstream>

#include "app/path_rules.h"

std::string NewListName(const std::string& working_folder,
                        const std::function<bool(const std::string&)>& exists) {
    for (long n = 0;; ++n) {
        std::string p = working_folder + "untitled" + std::to_string(n) + ".vl2";
        if (!exists(p)) return p;
    }
}

bool CreateEmptyList(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(folder_of(path)), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    return static_cast<bool>(out);
}
