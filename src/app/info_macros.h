// Information templates ("%AR - %TL") and the two time texts.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "base/file_info.h"
#include "playlist/list_files.h"

inline constexpr const char* kPlayerSignature = "VELTRona v.0.73beta by Dunmoor";
inline constexpr const char* kUnknownArtist = "Unknown artist";
inline constexpr const char* kUntitled = "Untitled";
inline constexpr const char* kReadyToLoad = "Ready to load file...";
inline constexpr const char* kFileNotLoaded = "File not loaded...";
inline constexpr const char* kListInfoError = "??? Error!!!";

// hh:mm:ss, each part with at least two digits.
std::string timestr(int64_t ms);
// m:ss below an hour, h:mm:ss from an hour on.
std::string shorttimestr(int64_t seconds);

// Replaces the first occurrence of each code, in table order, in the text as
// changed so far; a value may itself hold a later code.
std::string apply_macros(std::string text,
                         const std::vector<std::pair<const char*, std::string>>& table);

// What the loaded track offers to a template.
struct TrackValues {
    enum class Info { NoPlugin, NotLoaded, Ok };
    Info info = Info::NoPlugin;
    FileInfoRec file_info;  // fetched afresh for each expansion
    std::string title, artist, album, year;
    std::string path;
    int32_t position_ms = 0;
    int32_t length_ms = 0;
};

std::string expand_track_info(const std::string& tpl, const TrackValues& v);

// One entry of a list: `working_file` holds its records, `record_numbers`
// the record number of each entry in view order (their count is the list's).
// `pump` lets the user interface breathe during long exports.
std::string expandlistinfo(int entry, const std::string& list_name, const std::string& tpl,
                           const std::string& working_file,
                           const std::vector<int32_t>& record_numbers,
                           const std::function<void()>& pump = {});

// expandlistinfo for many lines of one list: the records are read once, so a
// whole export is linear in the entries; the texts are the same.
class ListInfoExpander {
  public:
    ListInfoExpander(const std::string& working_file, std::vector<int32_t> record_numbers,
                     std::string list_name);
    std::string expand(int entry, const std::string& tpl) const;

  private:
    std::vector<int32_t> numbers_;
    std::string list_name_;
    std::vector<ListRecord> records_;
    bool complete_ = false;  // the file holds at least as many records as the list has entries
    std::string count_text_, total_text_;
};
