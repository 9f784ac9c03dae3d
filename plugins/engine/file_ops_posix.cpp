#include <sys/stat.h>

#include <cstdio>

#include "file_ops.h"

namespace vl {

bool file_is_writable(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    // The mode bits, not access(): a read-only file stays read-only for root too.
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

std::string file_stamp(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return {};
    const long long parts[] = {
        static_cast<long long>(st.st_ino), static_cast<long long>(st.st_size),
        static_cast<long long>(st.st_mtim.tv_sec), static_cast<long long>(st.st_mtim.tv_nsec)};
    return std::string(reinterpret_cast<const char*>(parts), sizeof parts);
}

}  // namespace vl
