// Path helpers shared by every subsystem. Paths are Windows paths
// in the ANSI code page; "\" ends every folder value.
#pragma once

#include <functional>
#include <string>
#include <string_view>

std::string with_backslash(std::string_view folder);
// Folder part of a path (up to the last "\", "/" or ":"), ending in "\".
std::string folder_of(std::string_view path);
std::string file_name_of(std::string_view path);
// Extension of the file name with its dot ("" when there is none).
std::string file_ext_of(std::string_view path);

// "_vl_tmp_" + H + "_" + M + "_" + S + "_" under the temporary folder, numbers unpadded.
std::string working_folder_name(std::string_view temp_folder, int hour, int minute, int second);

// Replaces the nine reserved characters and the user's extra characters by
// the first character of the replacement text ("_" when that is empty).
std::string clean_file_name(std::string_view name, std::string_view extra_chars = "., '",
                            std::string_view replacement = "_");

// Folder of old_path + cleaned new_base + old extension, with "_0", "_1", ...
// inserted before the extension while such a file exists.
std::string unique_file_name(std::string_view old_path, std::string_view new_base,
                             const std::function<bool(const std::string&)>& exists,
                             std::string_view extra_chars = "., '",
                             std::string_view replacement = "_");

// A path given relative to start_folder made absolute: "a.mp3" and "..\a.mp3"
// against the folder, "\a.mp3" against its drive; full paths unchanged.
std::string resolve_path(std::string_view start_folder, std::string_view path);
