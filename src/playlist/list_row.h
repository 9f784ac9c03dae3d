// One row of the playlist view and the texts it is made of.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Sub-items: 0 display text, 1 duration, 2 track, 3 album, 4 year,
// 5 format, 6 path, 7 record number.
struct ListRow {
    std::string caption;
    std::vector<std::string> sub;

    bool operator==(const ListRow&) const = default;
};

namespace row_text {
inline constexpr int kDisplay = 0;
inline constexpr int kDuration = 1;
inline constexpr int kTrack = 2;
inline constexpr int kAlbum = 3;
inline constexpr int kYear = 4;
inline constexpr int kFormat = 5;
inline constexpr int kPath = 6;
inline constexpr int kRecord = 7;
inline constexpr int kSubItems = 8;

// 1-based view position, at least three digits.
std::string caption(int position);
// At least two digits; a negative number keeps its sign before the digits.
std::string track(int32_t track);
// m:ss below an hour, h:mm:ss from an hour on; negative counts as 0.
std::string duration(int32_t seconds);
// artist + " - " (at most 53 characters), then the title (at most 103 in all).
std::string from_record(const std::string& artist, const std::string& title);
// A tray menu caption: a leading "-" shows as "~".
std::string tray_caption(const std::string& display);
}  // namespace row_text
