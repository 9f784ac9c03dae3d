// The explorer page's file operations without a window: renaming files after
// their tags (one file or a folder tree), making the artist's folder, and the
// size text of the file list.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/file_info.h"
#include "playlist/playlist_model.h"

enum class Answer { Yes, No, Abort };

// The file system, the plugins and the questions as the explorer sees them.
class ExplorerHost {
  public:
    virtual ~ExplorerHost() = default;
    virtual bool exists(const std::string& path) = 0;  // a file or a folder
    virtual bool IsSupported(const std::string& path) = 0;
    virtual void QuickInfo(const std::string& path, FileInfoRec& info) = 0;
    virtual std::vector<DirEntry> list_dir(const std::string& pattern) = 0;
    // A warning with Yes and No, or Yes, No and Abort.
    virtual Answer ask(const std::string& text, bool with_abort) = 0;
    virtual void warn(const std::string& text) = 0;  // a warning with OK
    virtual bool move_file(const std::string& from, const std::string& to) = 0;
    virtual bool make_folder(const std::string& path) = 0;
    virtual void process_messages() {}
    virtual bool terminating() { return false; }
};

// The settings' clean-name characters and replacement.
struct NameRules {
    std::string extra_chars = "., '";
    std::string replacement = "_";
};

// "### ### ### ###": groups of three digits separated by blanks; 0 gives "".
std::string size_picture(int64_t bytes);

// The path a file gets from its tags: artist - title, cleaned, its own
// extension, "_N" while the name is taken by another file.
std::string tag_file_name(ExplorerHost& host, const std::string& path, const NameRules& rules);
// F3 on a file.
void rename_file_by_tag(ExplorerHost& host, const std::string& path, const NameRules& rules);
// F3 on a folder, after its question: every playable file, then the subfolders.
void RenameFolderFiles(ExplorerHost& host, const std::string& folder, const NameRules& rules);
// F4 on a file: a folder named after its artist beside it.
void make_artist_folder(ExplorerHost& host, const std::string& path, const NameRules& rules);
