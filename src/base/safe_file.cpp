#include "base/safe_file.h"

#include <cstdio>
#include <filesystem>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

bool flush_to_disk(std::FILE* f) {
    if (std::fflush(f) != 0) return false;
#ifdef _WIN32
    return _commit(_fileno(f)) == 0;
#else
    return fsync(fileno(f)) == 0;
#endif
}

}  // namespace

std::string replacement_path_for(const std::string& path) {
    return path + ".~new";
}

bool replace_file_with(const std::string& path,
                       const std::function<bool(const std::string& temp_path)>& build) {
    if (path.empty()) return false;
    const std::string temp = replacement_path_for(path);
    bool ok = false;
    try {
        ok = build(temp);
    } catch (...) {
        ok = false;
    }
    std::error_code ec;
    if (ok) std::filesystem::rename(std::filesystem::path(temp), std::filesystem::path(path), ec);
    if (!ok || ec) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

bool write_file_replacing(const std::string& path, std::string_view data, bool flush) {
    return replace_file_with(path, [&](const std::string& temp) {
        std::FILE* f = std::fopen(temp.c_str(), "wb");
        if (!f) return false;
        const bool written = std::fwrite(data.data(), 1, data.size(), f) == data.size() &&
                             (!flush || flush_to_disk(f));
        return std::fclose(f) == 0 && written;
    });
}
