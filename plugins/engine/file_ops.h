// File operations the tag writers need, one implementation per platform.
#pragma once

#include <functional>
#include <string>

namespace vl {

// False when the file is missing or marked read-only.
bool file_is_writable(const std::string& path);
// Size and last write time of a file, empty when it is missing: equal stamps
// mean the file was not rewritten in between.
std::string file_stamp(const std::string& path);

// Rebuilds a file without risking it, through the program's one safe
// replacement: build() writes the new content to a temporary file beside the
// original, which then replaces it. Any failure (or a missing or read-only
// original) leaves the original byte for byte as it was and answers false.
bool replace_file_safely(const std::string& path,
                         const std::function<bool(const std::string& temp_path)>& build);

}  // namespace vl
