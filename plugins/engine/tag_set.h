// The seven tag fields exchanged through FileInfo, and the text storage that
// keeps a plugin's FileInfo strings alive until its next call.
#pragma once

#include <deque>
#include <string>

#include "plugins/vl_decoder.h"

namespace vl {

struct TagSet {
    std::string title, artist, album, comment, year, genre;
    int track = 0;
    bool empty() const;
    bool operator==(const TagSet&) const = default;
};

// Null strings read as empty; negative tracks as 0.
TagSet tags_from_info(const FileInfo& info);

class InfoTexts {
  public:
    void clear() { texts_.clear(); }
    const char* keep(std::string text);
    void put_tags(FileInfo& info, const TagSet& tags);

  private:
    std::deque<std::string> texts_;  // deque: earlier pointers stay valid
};

// A FileInfo with every number "not supported" and every string empty.
FileInfo blank_info(InfoTexts& texts);

// Cuts trailing blanks and NULs (fixed-width tag fields are padded with them).
std::string trim_right(std::string s);

}  // namespace vl
