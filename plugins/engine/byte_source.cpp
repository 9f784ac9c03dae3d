#include "byte_source.h"

#include <algorithm>
#include <cstring>

namespace vl {

namespace {

int seek64(std::FILE* f, int64_t offset) {
#ifdef _WIN32
    return _fseeki64(f, offset, SEEK_SET);
#else
    return fseeko(f, static_cast<off_t>(offset), SEEK_SET);
#endif
}

int64_t tell64(std::FILE* f) {
#ifdef _WIN32
    return _ftelli64(f);
#else
    return static_cast<int64_t>(ftello(f));
#endif
}

}  // namespace

size_t MemorySource::read_at(int64_t offset, void* buf, size_t n) {
    if (offset < 0 || static_cast<uint64_t>(offset) >= size_) return 0;
    size_t avail = size_ - static_cast<size_t>(offset);
    size_t k = std::min(n, avail);
    std::memcpy(buf, data_ + offset, k);
    return k;
}

FileSource::~FileSource() {
    close();
}

bool FileSource::open(const std::string& path) {
    close();
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) return false;
    if (seek64(file_, 0) != 0 || std::fseek(file_, 0, SEEK_END) != 0) {
        close();
        return false;
    }
    size_ = tell64(file_);
    if (size_ < 0) size_ = 0;
    return true;
}

void FileSource::close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    size_ = 0;
}

size_t FileSource::read_at(int64_t offset, void* buf, size_t n) {
    if (!file_ || offset < 0 || offset >= size_) return 0;
    if (seek64(file_, offset) != 0) return 0;
    return std::fread(buf, 1, n, file_);
}

FileWriter::~FileWriter() {
    if (file_) std::fclose(file_);
}

bool FileWriter::create(const std::string& path) {
    file_ = std::fopen(path.c_str(), "wb");
    ok_ = file_ != nullptr;
    return ok_;
}

void FileWriter::write(const void* data, size_t n) {
    if (!ok() || n == 0) return;
    if (std::fwrite(data, 1, n, file_) != n) ok_ = false;
}

bool FileWriter::copy_from(ByteSource& src, int64_t offset, int64_t n) {
    std::vector<uint8_t> buf(1 << 16);
    while (n > 0 && ok()) {
        size_t want = static_cast<size_t>(std::min<int64_t>(n, static_cast<int64_t>(buf.size())));
        size_t got = src.read_at(offset, buf.data(), want);
        write(buf.data(), got);
        if (got != want) return false;
        offset += static_cast<int64_t>(got);
        n -= static_cast<int64_t>(got);
    }
    return ok();
}

bool FileWriter::finish() {
    if (!file_) return false;
    bool good = ok_ && std::fflush(file_) == 0;
    good = (std::fclose(file_) == 0) && good;
    file_ = nullptr;
    return good;
}

}  // namespace vl
