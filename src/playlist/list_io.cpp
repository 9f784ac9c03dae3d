// Filling the view from list files and writing it back.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "base/paths.h"
#include "base/text.h"
#include "playlist/playlist_model.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

int PlaylistModel::LoadListFile(const std::string& source, const std::string* target, bool clear,
                                uint8_t wanted) {
    view_->begin_update();
    if (clear) {
        rows_.clear();
        paths_.clear();
        selected_ = -1;
    }
    int shown = 0;
    std::unique_ptr<std::FILE, FileCloser> f(source.empty() ? nullptr
                                                            : std::fopen(source.c_str(), "r+b"));
    // A read-only list is still read; its missing files just stay unmarked.
    if (!f && !source.empty()) f.reset(std::fopen(source.c_str(), "rb"));
    if (f) {
        // Read in blocks of records; the missing-file marks of a block go back
        // in one write before the next block is read.
        constexpr size_t kBlock = 256;
        std::vector<uint8_t> block(kBlock * kRecordSize);
        long block_at = 0;
        int p = 0;
        bool stop = false;
        while (!stop) {
            const size_t got = std::fread(block.data(), kRecordSize, kBlock, f.get());
            size_t first_marked = got, last_marked = 0;
            for (size_t i = 0; i < got; ++i) {
                host_.process_messages();
                if (host_.terminating()) {
                    stop = true;
                    break;
                }
                ++p;
                uint8_t* bytes = block.data() + i * kRecordSize;
                try {
                    ListRecord r = vl2::unpack(bytes);
                    if (r.deleted != 1 && !host_.file_exists(r.path)) {
                        r.deleted = 1;
                        bytes[vl2::kDeleted] = 1;
                        first_marked = std::min(first_marked, i);
                        last_marked = i;
                    }
                    if (r.deleted == wanted && host_.IsSupported(r.path)) {
                        ++shown;
                        const int n = target ? AppendRecord(*target, r) : p;
                        ListRow row;
                        row.caption = row_text::caption(count() + 1);
                        row.sub = {row_text::from_record(r.artist, r.title),
                                   row_text::duration(r.duration),
                                   row_text::track(r.track),
                                   r.album,
                                   r.year,
                                   r.format,
                                   r.path,
                                   std::to_string(n)};
                        append_row(std::move(row));
                    }
                } catch (...) {
                }
            }
            block_at += long(got * kRecordSize);
            if (first_marked < got) {
                // Rewritten in place from the first marked record to the last,
                // then reading goes on after the block.
                const long at = block_at - long((got - first_marked) * kRecordSize);
                if (std::fseek(f.get(), at, SEEK_SET) == 0)
                    std::fwrite(block.data() + first_marked * kRecordSize, kRecordSize,
                                last_marked - first_marked + 1, f.get());
                if (std::fseek(f.get(), block_at, SEEK_SET) != 0) stop = true;
            }
            if (got < kBlock) stop = true;
        }
    }
    f.reset();
    view_->rows_changed();
    view_->end_update();
    view_->tray_changed();
    return shown;
}

bool PlaylistModel::OpenListFile(const std::string& path, const std::string& name) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(working_folder), ec);
    const std::string copy = working_folder + (name.empty() ? file_name_of(path) : name);
    const bool copied = CopyListFile(path, copy, [this] {
        host_.process_messages();
        return !host_.terminating();
    });
    if (!copied) {
        if (host_.terminating()) return false;
        // Say so, then give the user an empty list to go on with.
        host_.error_box("Cannot open file \"" + path + "\".");
        clear_rows();
        new_list();
        return false;
    }
    current_file = copy;
    LoadListFile(copy, nullptr, true, 0);
    return true;
}

bool PlaylistModel::WriteListFile(const std::string& source, const std::string& dest,
                                  bool delete_first) {
    std::string data;
    if (!delete_first) {
        // Appending to an existing list: keep its whole records.
        std::ifstream old(dest, std::ios::binary);
        if (old) {
            data.assign(std::istreambuf_iterator<char>(old), std::istreambuf_iterator<char>());
            data.resize(data.size() / kRecordSize * kRecordSize);
        }
    }
    const std::vector<ListRecord> records = ReadAllRecords(source);
    for (int i = 0; i < count(); ++i) {
        const int n = record_of(i);
        // A row that addresses no record aborts the save; the old file stays.
        if (n < 1 || n > static_cast<int>(records.size())) return false;
        const ListRecord& r = records[size_t(n - 1)];
        if (r.deleted == 0) {
            const RecordBytes b = vl2::pack(r);
            data.append(reinterpret_cast<const char*>(b.data()), b.size());
        }
        host_.process_messages();
    }
    return write_file_replacing(dest, data);
}

bool PlaylistModel::SaveViewSnapshot(const std::string& file) const {
    return ::SaveViewSnapshot(rows_, file);
}

bool PlaylistModel::LoadViewSnapshot(const std::string& file) {
    std::vector<ListRow> rows;
    if (!::LoadViewSnapshot(rows, file)) return false;
    replace_rows(std::move(rows));
    return true;
}

// ---- M3U ----

std::string trim_text(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return s.substr(b, e - b);
}

ExtInf parse_extinf(const std::string& line) {
    ExtInf info;
    info.text = trim_text(line.size() > 8 ? line.substr(8) : std::string());
    info.have_info = !info.text.empty();
    const size_t comma = info.text.find(',');
    if (comma == std::string::npos) return info;
    const std::string number = trim_text(info.text.substr(0, comma));
    const char* b = number.data();
    const char* e = b + number.size();
    if (b != e && *b == '+') ++b;
    int32_t seconds = 0;
    auto [end, ec] = std::from_chars(b, e, seconds);
    if (b != e && ec == std::errc() && end == e) {
        info.seconds = seconds;
        info.text = info.text.substr(comma + 1);
    }
    return info;
}

std::string m3u_entry_path(const std::string& list_path, const std::string& entry) {
    const bool drive =
        entry.size() >= 2 && entry[1] == ':' &&
        ((entry[0] >= 'A' && entry[0] <= 'Z') || (entry[0] >= 'a' && entry[0] <= 'z'));
    const bool unc = entry.size() >= 2 && entry[0] == '\\' && entry[1] == '\\';
    if (drive || unc || entry.empty()) return entry;
    return resolve_path(folder_of(list_path), entry);
}

bool m3u_claimed(const std::string& patterns, const std::string& entry) {
    const std::string key = upper_text(file_ext_of(entry)) + ";";
    return upper_text(patterns).find(key) != std::string::npos;
}

bool PlaylistModel::ImportM3U(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (path.empty() || !in) {
        host_.error_box("Can't open the chosen Playlistfile...");
        return false;
    }
    ImportM3UText(path, in);
    return true;
}

void PlaylistModel::ImportM3UText(const std::string& list_path, std::istream& in) {
    view_->begin_update();
    const std::string patterns = host_.active_patterns();
    int state = 0;
    ExtInf info;
    auto handle = [&](const std::string& raw) {
        if (host_.terminating()) return;
        const std::string l = trim_text(raw);
        const std::string u = upper_text(l);
        if (u == "#EXTM3U") {
            state = 2;
        } else if (u.rfind("#EXTINF:", 0) == 0 && state == 2) {
            info = parse_extinf(l);
        } else if (m3u_claimed(patterns, l)) {
            const std::string p = m3u_entry_path(list_path, l);
            if (info.have_info)
                AddToSongList2(p, info.text, info.seconds);
            else
                AddToSongList(p);
            info.have_info = false;
        }
        host_.process_messages();
    };
    std::string chunk;
    while (!host_.terminating() && std::getline(in, chunk)) {
        if (!chunk.empty() && chunk.back() == '\r') chunk.pop_back();
        // A lone carriage return also ends a line.
        size_t start = 0;
        for (size_t cr; (cr = chunk.find('\r', start)) != std::string::npos; start = cr + 1)
            handle(chunk.substr(start, cr - start));
        handle(chunk.substr(start));
    }
    view_->end_update();
}

void PlaylistModel::play_list_file(const std::string& path) {
    if (!OpenListFile(path)) return;
    current = 0;
    playfromlist();
}

void PlaylistModel::play_m3u_file(const std::string& path) {
    new_list();
    if (!ImportM3U(path)) return;
    current = 0;
    playfromlist();
}

void PlaylistModel::new_list() {
    const std::string path =
        NewListName(working_folder, [this](const std::string& p) { return host_.file_exists(p); });
    CreateEmptyList(path);
    current_file = path;
}

bool PlaylistModel::playing_entry(PlaylistEntry& e) const {
    const int record = record_of(current);
    if (record <= 0) return false;
    ListRecord r;
    try {
        ReadRecord(record, current_file, r);
    } catch (const ListFileError&) {
        return false;
    }
    e.title = r.title;
    e.artist = r.artist;
    e.album = r.album;
    e.year = r.year;
    e.volume = r.volume;
    e.fade_in = r.fade_in;
    e.fade_out = r.fade_out;
    e.working_file = current_file;
    e.record = record;
    return true;
}
