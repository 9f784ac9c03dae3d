// Files the program opens by name beside itself, relative to its folder, and
// the files every skin folder holds. The release tests check that each ships.
#pragma once

namespace program_files {

constexpr const char* kAboutPicture = "system\\about.bmp";
constexpr const char* kHelpMacros = "system\\macros.rtf";
constexpr const char* kHelpAve = "system\\ave.rtf";
constexpr const char* kHelpPlaylist = "system\\playlist.rtf";
constexpr const char* kGenres = "plugins\\genre.txt";

constexpr const char* kShipped[] = {kAboutPicture, kHelpMacros, kHelpAve, kHelpPlaylist, kGenres};

// Inside skins\<name>\.
constexpr const char* kSkinFace = "face.bmp";
constexpr const char* kSkinBigMask = "face_big_mask.bmp";
constexpr const char* kSkinSmallMask = "face_small_mask.bmp";
constexpr const char* kSkinColors = "colors.ini";
constexpr const char* kSkinList = "def_list.bmp";

constexpr const char* kSkinFiles[] = {kSkinFace, kSkinBigMask, kSkinSmallMask, kSkinColors,
                                      kSkinList};

// Folders whose files the program lists; each ships at least one file.
constexpr const char* kListedFolders[] = {"ave\\", "tpl\\", "langs\\"};

}  // namespace program_files
