#include "playlist/list_files.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "base/paths.h"

namespace fs = std::filesystem;

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File open_file(const std::string& path, const char* mode) {
    if (path.empty()) return nullptr;
    return File(std::fopen(path.c_str(), mode));
}

long file_size(std::FILE* f) {
    if (std::fseek(f, 0, SEEK_END) != 0) throw ListFileError("seek failed");
    long size = std::ftell(f);
    if (size < 0) throw ListFileError("size unknown");
    return size;
}

int record_count(std::FILE* f) {
    return static_cast<int>(file_size(f) / long(kRecordSize));
}

void seek_record(std::FILE* f, int position) {
    if (std::fseek(f, long(position - 1) * long(kRecordSize), SEEK_SET) != 0)
        throw ListFileError("seek failed");
}

void read_at(std::FILE* f, int position, RecordBytes& bytes) {
    if (position < 1 || position > record_count(f)) throw ListFileError("no record there");
    seek_record(f, position);
    if (std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size())
        throw ListFileError("short read");
}

// One past the last record is allowed: that appends.
void write_at(std::FILE* f, int position, const RecordBytes& bytes) {
    if (position < 1 || position > record_count(f) + 1) throw ListFileError("no record there");
    seek_record(f, position);
    if (std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fflush(f) != 0)
        throw ListFileError("short write");
}

void put_text(RecordBytes& b, const vl2::TextField& f, const std::string& text) {
    const size_t n = std::min(text.size(), f.capacity);
    b[f.offset] = static_cast<uint8_t>(n);
    std::memcpy(b.data() + f.offset + 1, text.data(), n);
}

std::string get_text(const uint8_t* b, const vl2::TextField& f) {
    const size_t n = std::min<size_t>(b[f.offset], f.capacity);
    return std::string(reinterpret_cast<const char*>(b + f.offset + 1), n);
}

void put_int(RecordBytes& b, size_t at, int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(u >> (8 * i));
}

int32_t get_int(const uint8_t* b, size_t at) {
    uint32_t u = 0;
    for (int i = 0; i < 4; ++i) u |= uint32_t(b[at + i]) << (8 * i);
    return static_cast<int32_t>(u);
}

uint8_t flipped(uint8_t deleted) {
    return deleted == 0 ? 1 : 0;
}

void put_u16(std::string& out, size_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void put_snapshot_text(std::string& out, const std::string& text, bool& cut) {
    size_t n = text.size();
    if (n > 0xFFFF) {
        n = 0xFFFF;
        cut = true;
    }
    put_u16(out, n);
    out.append(text, 0, n);
}

std::string read_whole(const std::string& path, bool& ok) {
    ok = false;
    File f = open_file(path, "rb");
    if (!f) return {};
    std::string data;
    char buf[65536];
    size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, f.get())) > 0) data.append(buf, got);
    ok = !std::ferror(f.get());
    return data;
}

}  // namespace

namespace vl2 {

RecordBytes pack(const ListRecord& r) {
    RecordBytes b{};
    put_text(b, kPath, r.path);
    put_text(b, kArtist, r.artist);
    put_text(b, kTitle, r.title);
    put_text(b, kAlbum, r.album);
    put_text(b, kYear, r.year);
    put_text(b, kFormat, r.format);
    put_text(b, kComment, r.comment);
    put_text(b, kGenre, r.genre);
    put_int(b, kTrack, r.track);
    put_int(b, kDuration, r.duration);
    put_int(b, kPlayFrom, r.play_from);
    put_int(b, kPlayTill, r.play_till);
    put_int(b, kVolume, r.volume);
    put_int(b, kFadeIn, r.fade_in);
    put_int(b, kFadeOut, r.fade_out);
    b[kFxMarker] = r.fx_marker;
    b[kDeleted] = r.deleted;
    return b;
}

ListRecord unpack(const uint8_t* b) {
    ListRecord r;
    r.path = get_text(b, kPath);
    r.artist = get_text(b, kArtist);
    r.title = get_text(b, kTitle);
    r.album = get_text(b, kAlbum);
    r.year = get_text(b, kYear);
    r.format = get_text(b, kFormat);
    r.comment = get_text(b, kComment);
    r.genre = get_text(b, kGenre);
    r.track = get_int(b, kTrack);
    r.duration = get_int(b, kDuration);
    r.play_from = get_int(b, kPlayFrom);
    r.play_till = get_int(b, kPlayTill);
    r.volume = get_int(b, kVolume);
    r.fade_in = get_int(b, kFadeIn);
    r.fade_out = get_int(b, kFadeOut);
    r.fx_marker = b[kFxMarker];
    r.deleted = b[kDeleted];
    return r;
}

std::string cut(const std::string& text, const TextField& f) {
    return text.substr(0, f.capacity);
}

}  // namespace vl2

int AppendRecord(const std::string& file, const ListRecord& r) {
    File f = open_file(file, "r+b");
    if (!f) f = open_file(file, "w+b");
    if (!f) return 0;
    const int position = record_count(f.get()) + 1;
    write_at(f.get(), position, vl2::pack(r));
    return position;
}

void ReadRecord(int position, const std::string& file, ListRecord& r) {
    File f = open_file(file, "rb");
    if (!f) return;
    RecordBytes bytes;
    read_at(f.get(), position, bytes);
    r = vl2::unpack(bytes.data());
}

void WriteRecord(int position, const std::string& file, const ListRecord& r) {
    File f = open_file(file, "r+b");
    if (!f) return;
    write_at(f.get(), position, vl2::pack(r));
}

void ToggleDeleted(int position, const std::string& file) {
    File f = open_file(file, "r+b");
    if (!f) return;
    RecordBytes bytes;
    read_at(f.get(), position, bytes);
    bytes[vl2::kDeleted] = flipped(bytes[vl2::kDeleted]);
    write_at(f.get(), position, bytes);
}

void ToggleAllDeleted(const std::string& file) {
    File f = open_file(file, "r+b");
    if (!f) return;
    const int count = record_count(f.get());
    RecordBytes bytes;
    for (int p = 1; p <= count; ++p) {
        read_at(f.get(), p, bytes);
        bytes[vl2::kDeleted] = flipped(bytes[vl2::kDeleted]);
        write_at(f.get(), p, bytes);
    }
}

int RecordCount(const std::string& file) {
    File f = open_file(file, "rb");
    if (!f) return 0;
    return record_count(f.get());
}

std::vector<ListRecord> ReadAllRecords(const std::string& file) {
    bool ok = false;
    const std::string data = read_whole(file, ok);
    std::vector<ListRecord> out;
    const size_t count = data.size() / kRecordSize;
    out.reserve(count);
    for (size_t i = 0; i < count; ++i)
        out.push_back(vl2::unpack(reinterpret_cast<const uint8_t*>(data.data()) + i * kRecordSize));
    return out;
}

std::string NewListName(const std::string& working_folder,
                        const std::function<bool(const std::string&)>& exists) {
    for (long n = 0;; ++n) {
        std::string p = working_folder + "untitled" + std::to_string(n) + ".vl2";
        if (!exists(p)) return p;
    }
}

bool CreateEmptyList(const std::string& path) {
    std::error_code ec;
    fs::create_directories(fs::path(folder_of(path)), ec);
    File f = open_file(path, "wb");
    return f != nullptr;
}

bool CopyListFile(const std::string& from, const std::string& to,
                  const std::function<bool()>& between) {
    File in = open_file(from, "rb");
    if (!in) return false;
    const bool copied = replace_file_with(to, [&](const std::string& temp) {
        File out = open_file(temp, "wb");
        if (!out) return false;
        std::vector<char> block(size_t{1} << 20);
        for (;;) {
            const size_t got = std::fread(block.data(), 1, block.size(), in.get());
            if (got > 0 && std::fwrite(block.data(), 1, got, out.get()) != got) return false;
            if (got < block.size()) break;
            if (between && !between()) return false;
        }
        return !std::ferror(in.get()) && std::fclose(out.release()) == 0;
    });
    if (!copied) return false;
    std::error_code ec;
    const auto when = fs::last_write_time(fs::path(from), ec);
    if (!ec) fs::last_write_time(fs::path(to), when, ec);
    return true;
}

std::string EncodeViewSnapshot(const std::vector<ListRow>& rows, bool& cut) {
    cut = rows.size() > 0xFFFF;
    const size_t count = std::min<size_t>(rows.size(), 0xFFFF);
    std::string out;
    put_u16(out, count);
    for (size_t i = 0; i < count; ++i) {
        const ListRow& row = rows[i];
        size_t subs = row.sub.size();
        if (subs > 0xFFFF) {
            subs = 0xFFFF;
            cut = true;
        }
        put_u16(out, subs);
        put_snapshot_text(out, row.caption, cut);
        for (size_t s = 0; s < subs; ++s) put_snapshot_text(out, row.sub[s], cut);
    }
    return out;
}

void ParseViewSnapshot(std::string_view data, std::vector<ListRow>& rows) {
    size_t at = 0;
    auto u16 = [&](size_t& v) {
        if (data.size() - at < 2) return false;
        v = size_t(uint8_t(data[at])) | size_t(uint8_t(data[at + 1])) << 8;
        at += 2;
        return true;
    };
    auto text = [&](std::string& t) {
        size_t n = 0;
        if (!u16(n) || data.size() - at < n) return false;
        t.assign(data.substr(at, n));
        at += n;
        const size_t zero = t.find('\0');
        if (zero != std::string::npos) t.resize(zero);
        return true;
    };
    rows.clear();
    size_t count = 0;
    if (!u16(count)) return;
    for (size_t i = 0; i < count; ++i) {
        ListRow row;
        size_t subs = 0;
        if (!u16(subs) || !text(row.caption)) break;
        row.sub.resize(subs);
        bool whole = true;
        for (size_t s = 0; s < subs && whole; ++s) whole = text(row.sub[s]);
        if (!whole) break;
        rows.push_back(std::move(row));
    }
}

bool SaveViewSnapshot(const std::vector<ListRow>& rows, const std::string& file) {
    bool cut = false;
    const std::string out = EncodeViewSnapshot(rows, cut);
    return write_file_replacing(file, out, false) && !cut;
}

bool LoadViewSnapshot(std::vector<ListRow>& rows, const std::string& file) {
    bool ok = false;
    const std::string data = read_whole(file, ok);
    if (!ok) return false;
    ParseViewSnapshot(data, rows);
    return true;
}
