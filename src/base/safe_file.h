// Every write of a file the user keeps goes through here. The new content is
// written to a file beside the target, flushed to disk, and then replaces the
// target in one rename: a save cut short leaves the old file or the new one,
// never a mix, and a failure leaves the old file as it was.
#pragma once

#include <functional>
#include <string>
#include <string_view>

// The temporary file beside path that a save writes first.
std::string replacement_path_for(const std::string& path);

// Replaces path with data; false (and path untouched) when anything failed.
// flush: wait until the new content is on the disk before it replaces the old
// (off for files rewritten every few seconds for other programs to read).
bool write_file_replacing(const std::string& path, std::string_view data, bool flush = true);

// For writers that build the new content in a file themselves: build() writes
// the file it is given; true from it lets that file replace path.
bool replace_file_with(const std::string& path,
                       const std::function<bool(const std::string& temp_path)>& build);
