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

}  // namespace vl
