// Playlist list files and working list files.
#pragma once

#include <functional>
#include <string>

// The first working folder + "untitled" + N + ".vl2" (N = 0, 1, ...) that does not exist.
std::string NewListName(const std::string& working_folder,
                        const std::function<bool(const std::string&)>& exists);
// Creates the working folder when missing, then the file as an empty record file.
bool CreateEmptyList(const std::string& path);
