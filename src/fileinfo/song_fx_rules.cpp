#include "fileinfo/song_fx_rules.h"

#include <algorithm>
#include <charconv>

#include "base/text.h"

namespace song_fx {

namespace {

std::string genre_of(const std::vector<std::string>& genres, const std::string& text) {
    const int i = genre_index(genres, text);
    return i < 0 ? std::string() : genres[static_cast<size_t>(i)];
}

const std::string& value_at(const std::vector<GridRow>& rows, size_t i) {
    static const std::string empty;
    return i < rows.size() ? rows[i].value : empty;
}

}  // namespace

std::string flag_text(int32_t value) {
    std::string text = std::to_string(value);
    yes_no_text(value, text);
    return text;
}

InfoGrids fill_grids(const std::string& path, const FileInfoRec& f) {
    InfoGrids g;
    g.main = {{"File", path},
              {"Format", f.format},
              {"File size, bytes", number_text(f.file_size)},
              {"Duration, seconds", number_text(f.duration)},
              {"Samplerate, Hz", number_text(f.sample_rate)},
              {"Bitrate, kbit/s", number_text(f.bitrate)},
              {"Frames", number_text(f.frames)},
              {"Frame size, bytes", number_text(f.frame_size)},
              {"Bits/sample", number_text(f.bits_per_sample)},
              {"Channels", number_text(f.channels)},
              {"Channel mode", f.channel_mode},
              {"Extended channel mode", f.ext_channel_mode}};
    g.mpeg = {{"Copyright", flag_text(f.copyright_flag)},
              {"Original", flag_text(f.original_flag)},
              {"CRC", flag_text(f.crc)},
              {"Private", flag_text(f.private_bit)},
              {"Emphasis", f.emphasis},
              {"Padding", flag_text(f.padding_flag)},
              {"Padding size", number_text(f.padding_size)}};
    g.tag = {{"Title", f.title},     {"Artist", f.artist},
             {"Album", f.album},     {"Track", std::to_string(f.track)},
             {"Comment", f.comment}, {"Year", f.year},
             {"Genre", f.genre}};
    return g;
}

std::vector<std::string> parse_genres(const std::string& text) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < text.size() && out.size() < kGenreLines) {
        size_t end = text.find_first_of("\r\n", i);
        if (end == std::string::npos) end = text.size();
        out.push_back(text.substr(i, std::min(end - i, kGenreLineLimit)));
        i = end;
        if (i < text.size() && text[i] == '\r') ++i;
        if (i < text.size() && text[i] == '\n') ++i;
    }
    return out;
}

int genre_index(const std::vector<std::string>& genres, const std::string& genre) {
    for (size_t i = 0; i < genres.size(); ++i)
        if (equals_nocase(genres[i], genre)) return static_cast<int>(i);
    return -1;
}

bool parse_track(const std::string& text, int32_t& out) {
    size_t i = text.find_first_not_of(' ');
    if (i == std::string::npos) return false;
    if (text[i] == '+' && i + 1 < text.size() && text[i + 1] != '-')
        ++i;  // from_chars takes '-' only
    const char* end = text.data() + text.size();
    int32_t v = 0;
    auto [stop, ec] = std::from_chars(text.data() + i, end, v);
    if (ec != std::errc() || stop != end) return false;
    out = v;
    return true;
}

EntryEdit edit_from_record(const ListRecord& r, const std::vector<std::string>& genres) {
    EntryEdit e;
    e.path = r.path;
    e.format = r.format;
    e.artist = r.artist;
    e.title = r.title;
    e.album = r.album;
    e.year = r.year;
    e.track = r.track;
    e.comment = r.comment;
    e.genre = genre_of(genres, r.genre);
    e.deleted = r.deleted == 1;
    e.volume = std::clamp(r.volume, 0, kVolumeMax);
    e.fade_in = std::clamp(r.fade_in, 0, kFadeMax);
    e.fade_out = std::clamp(r.fade_out, 0, kFadeMax);
    return e;
}

void edit_from_grids(const InfoGrids& g, const std::vector<std::string>& genres, EntryEdit& e) {
    e.path = value_at(g.main, row::kFile);
    e.format = value_at(g.main, row::kFormat);
    e.artist = value_at(g.tag, row::kArtist);
    e.title = value_at(g.tag, row::kTitle);
    e.album = value_at(g.tag, row::kAlbum);
    e.year = value_at(g.tag, row::kYear);
    parse_track(value_at(g.tag, row::kTrack), e.track);
    e.comment = value_at(g.tag, row::kComment);
    e.genre = genre_of(genres, value_at(g.tag, row::kGenre));
}

void apply_edit(const EntryEdit& e, ListRecord& r) {
    r.path = vl2::cut(e.path, vl2::kPath);
    r.artist = vl2::cut(e.artist, vl2::kArtist);
    r.title = vl2::cut(e.title, vl2::kTitle);
    r.album = vl2::cut(e.album, vl2::kAlbum);
    r.year = vl2::cut(e.year, vl2::kYear);
    r.format = vl2::cut(e.format, vl2::kFormat);
    r.track = e.track;
    r.comment = vl2::cut(e.comment, vl2::kComment);
    r.volume = e.volume;
    r.fade_in = e.fade_in;
    r.fade_out = e.fade_out;
    r.genre = vl2::cut(e.genre, vl2::kGenre);
}

void update_row(ListRow& row, const ListRecord& r) {
    row.sub.resize(std::max<size_t>(row.sub.size(), row_text::kSubItems));
    row.sub[row_text::kDisplay] = row_text::from_record(r.artist, r.title);
    row.sub[row_text::kDuration] = row_text::duration(r.duration);
    row.sub[row_text::kTrack] = row_text::track(r.track);
    row.sub[row_text::kAlbum] = r.album;
    row.sub[row_text::kYear] = r.year;
    row.sub[row_text::kFormat] = r.format;
    row.sub[row_text::kPath] = r.path;
}

FileInfoRec tag_info(const EntryEdit& e) {
    FileInfoRec f;
    f.title = e.title;
    f.artist = e.artist;
    f.album = e.album;
    f.track = e.track;
    f.comment = e.comment;
    f.year = e.year;
    f.genre = e.genre;
    return f;
}

bool read_entry(const std::string& file, int record, ListRecord& r) {
    if (record < 1 || record > RecordCount(file)) return false;
    try {
        ListRecord got;
        ReadRecord(record, file, got);
        r = got;
        return true;
    } catch (const ListFileError&) {
        return false;
    }
}

bool write_entry(const std::string& file, int record, const ListRecord& r) {
    if (record < 1 || record > RecordCount(file)) return false;
    try {
        WriteRecord(record, file, r);
        return true;
    } catch (const ListFileError&) {
        return false;
    }
}

}  // namespace song_fx
