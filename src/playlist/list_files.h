// Playlist list files (VL2: a bare sequence of 552-byte records), working
// list files and view snapshot files.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/safe_file.h"
#include "playlist/list_row.h"

inline constexpr size_t kRecordSize = 552;
using RecordBytes = std::array<uint8_t, kRecordSize>;

// One playlist entry as stored. Texts are ANSI; they are cut to their
// capacity when written.
struct ListRecord {
    std::string path;     // 255
    std::string artist;   // 50
    std::string title;    // 50
    std::string album;    // 50
    std::string year;     // 4
    std::string format;   // 30
    std::string comment;  // 50
    std::string genre;    // 20
    int32_t track = 0;
    int32_t duration = 0;  // seconds
    int32_t play_from = 0;
    int32_t play_till = 0;
    int32_t volume = 0;
    int32_t fade_in = 0;
    int32_t fade_out = 0;
    uint8_t fx_marker = 0;
    uint8_t deleted = 0;

    bool operator==(const ListRecord&) const = default;
};

// Offsets and capacities of the text fields; each is a length byte followed
// by the capacity in characters.
namespace vl2 {
struct TextField {
    size_t offset;
    size_t capacity;
};
inline constexpr TextField kPath{0, 255};
inline constexpr TextField kArtist{256, 50};
inline constexpr TextField kTitle{307, 50};
inline constexpr TextField kAlbum{358, 50};
inline constexpr TextField kYear{409, 4};
inline constexpr TextField kFormat{414, 30};
inline constexpr TextField kComment{445, 50};
inline constexpr TextField kGenre{496, 20};
inline constexpr size_t kTrack = 520;
inline constexpr size_t kDuration = 524;
inline constexpr size_t kPlayFrom = 528;
inline constexpr size_t kPlayTill = 532;
inline constexpr size_t kVolume = 536;
inline constexpr size_t kFadeIn = 540;
inline constexpr size_t kFadeOut = 544;
inline constexpr size_t kFxMarker = 548;
inline constexpr size_t kDeleted = 549;
static_assert(kGenre.offset + 1 + kGenre.capacity == 517, "genre ends before the padding");
static_assert(kDeleted + 3 == kRecordSize, "two padding bytes end the record");

// Not-significant bytes are written as zeros.
RecordBytes pack(const ListRecord& r);
// A length byte above the capacity reads as the full capacity.
ListRecord unpack(const uint8_t* bytes);
// The text a field holds, cut to its capacity.
std::string cut(const std::string& text, const TextField& f);
}  // namespace vl2

// Raised by record operations when the file opened but the access failed
// (position outside the file, short read or write).
class ListFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Record operations. A file that cannot be opened makes them do nothing.
// Positions are 1-based.
int AppendRecord(const std::string& file, const ListRecord& r);  // new count, 0 on failure
void ReadRecord(int position, const std::string& file, ListRecord& r);
void WriteRecord(int position, const std::string& file, const ListRecord& r);
void ToggleDeleted(int position, const std::string& file);
void ToggleAllDeleted(const std::string& file);
int RecordCount(const std::string& file);  // complete records; 0 on failure
// Every complete record of a file; empty when it cannot be opened.
std::vector<ListRecord> ReadAllRecords(const std::string& file);

// The first working folder + "untitled" + N + ".vl2" (N = 0, 1, ...) that does not exist.
std::string NewListName(const std::string& working_folder,
                        const std::function<bool(const std::string&)>& exists);
// Creates the working folder when missing, then the file as an empty record file.
bool CreateEmptyList(const std::string& path);

// Copies a file byte for byte, replacing the target, and gives the copy the
// source's modification time. False when either side fails. The copy goes in
// blocks of 1 MB; between them `between` runs (the caller answers its
// messages there), and false from it abandons the copy. The target is a
// working copy, so it is not waited onto the disk.
bool CopyListFile(const std::string& from, const std::string& to,
                  const std::function<bool()>& between = {});

// View snapshots: the rows exactly as shown. At most 65535 rows and texts of
// at most 65535 bytes fit; SaveViewSnapshot returns false when it had to cut.
bool SaveViewSnapshot(const std::vector<ListRow>& rows, const std::string& file);
// False when the file does not exist; a damaged tail ends the rows read.
bool LoadViewSnapshot(std::vector<ListRow>& rows, const std::string& file);
// The bytes of a snapshot file; cut is set when rows or texts did not fit.
std::string EncodeViewSnapshot(const std::vector<ListRow>& rows, bool& cut);
// The rows of a snapshot file's bytes; a damaged tail ends the rows read.
void ParseViewSnapshot(std::string_view data, std::vector<ListRow>& rows);
