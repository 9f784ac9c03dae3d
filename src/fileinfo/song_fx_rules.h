// Rules of the file information window without a window: the rows of the
// three grids, the genre list, the editor's values and how they go into a
// playlist record and its row.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/file_info.h"
#include "playlist/list_files.h"
#include "playlist/list_row.h"

namespace song_fx {

// One grid line below the (empty) header row: name and value.
struct GridRow {
    std::string name;
    std::string value;
};

// Rows 1.. of "Main properties", "MPEG properties" and "Info (ID3 tag)".
struct InfoGrids {
    std::vector<GridRow> main;
    std::vector<GridRow> mpeg;
    std::vector<GridRow> tag;
};

// Row indexes (0-based below the header) the editor copies from.
namespace row {
inline constexpr size_t kFile = 0, kFormat = 1;  // main
inline constexpr size_t kTitle = 0, kArtist = 1, kAlbum = 2, kTrack = 3, kComment = 4, kYear = 5,
                        kGenre = 6;  // tag
}  // namespace row

InfoGrids fill_grids(const std::string& path, const FileInfoRec& f);
// -1 "Not supported", 0 "No", 1 "Yes"; any other value its decimal digits.
std::string flag_text(int32_t value);

// genre.txt: one name per line (CR LF, LF or CR), in file order; a last line
// without a line end counts. Lines longer than kGenreLineLimit are cut, and
// reading stops after kGenreLines lines.
inline constexpr size_t kGenreLineLimit = 255;
inline constexpr size_t kGenreLines = 4096;
std::vector<std::string> parse_genres(const std::string& text);
// The first line equal to genre without regard to case, or -1.
int genre_index(const std::vector<std::string>& genres, const std::string& genre);

// What the editor tab holds.
struct EntryEdit {
    std::string path, format, artist, title, album, year, comment;
    std::string genre;  // the selected list entry; "" without a selection
    int32_t track = 0;
    int32_t volume = 100;
    int32_t fade_in = 0;
    int32_t fade_out = 0;
    bool deleted = false;
};

inline constexpr int32_t kVolumeMax = 100;
inline constexpr int32_t kFadeMax = 180;

// The editor filled from a stored entry; volume and fades kept in the ranges
// of their controls.
EntryEdit edit_from_record(const ListRecord& r, const std::vector<std::string>& genres);
// "Update from Info TAG". A track cell that is not a decimal number leaves
// the track as it was; the other fields are copied all the same.
void edit_from_grids(const InfoGrids& g, const std::vector<std::string>& genres, EntryEdit& e);
// A whole decimal int32 with an optional sign and leading blanks.
bool parse_track(const std::string& text, int32_t& out);

// "OK" step 2: the editor's fields into the record, texts cut to their
// widths; the other fields stay.
void apply_edit(const EntryEdit& e, ListRecord& r);
// "OK" step 3: the row's texts from the record; caption and record number stay.
void update_row(ListRow& row, const ListRecord& r);
// "Save to File": the seven tag fields; the others stay zero and empty.
FileInfoRec tag_info(const EntryEdit& e);

// "OK" steps 1 and 5: the entry is read and written only inside the file, so
// a list that shrank meanwhile is never extended or damaged. False when the
// file cannot be opened or has no such record.
bool read_entry(const std::string& file, int record, ListRecord& r);
bool write_entry(const std::string& file, int record, const ListRecord& r);

}  // namespace song_fx
