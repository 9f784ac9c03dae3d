// Random-access input for the format parsers: a file or a memory block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace vl {

class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // Reads up to n bytes at offset; returns how many were read (short at the end).
    virtual size_t read_at(int64_t offset, void* buf, size_t n) = 0;
    virtual int64_t size() const = 0;
};

class MemorySource : public ByteSource {
  public:
    MemorySource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    size_t read_at(int64_t offset, void* buf, size_t n) override;
    int64_t size() const override { return static_cast<int64_t>(size_); }

  private:
    const uint8_t* data_;
    size_t size_;
};

// A file opened for reading; paths are ANSI text on Windows.
class FileSource : public ByteSource {
  public:
    FileSource() = default;
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    bool open(const std::string& path);
    bool is_open() const { return file_ != nullptr; }
    void close();
    size_t read_at(int64_t offset, void* buf, size_t n) override;
    int64_t size() const override { return size_; }

  private:
    std::FILE* file_ = nullptr;
    int64_t size_ = 0;
};

// Sequential writer used when a file is rebuilt; remembers the first failure.
class FileWriter {
  public:
    ~FileWriter();
    bool create(const std::string& path);
    void write(const void* data, size_t n);
    void write(const std::vector<uint8_t>& v) { write(v.data(), v.size()); }
    // Copies n bytes from src at offset; false when the source runs short.
    bool copy_from(ByteSource& src, int64_t offset, int64_t n);
    bool ok() const { return file_ != nullptr && ok_; }
    // Flushes and closes; true when every write succeeded.
    bool finish();

  private:
    std::FILE* file_ = nullptr;
    bool ok_ = true;
};

inline uint16_t le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline uint32_t le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline uint32_t be32(const uint8_t* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | static_cast<uint32_t>(p[3]);
}
inline void put_le16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(static_cast<uint8_t>(x));
    v.push_back(static_cast<uint8_t>(x >> 8));
}
inline void put_le32(std::vector<uint8_t>& v, uint32_t x) {
    put_le16(v, x & 0xFFFF);
    put_le16(v, x >> 16);
}
inline void put_be32(std::vector<uint8_t>& v, uint32_t x) {
    for (int s = 24; s >= 0; s -= 8) v.push_back(static_cast<uint8_t>(x >> s));
}

}  // namespace vl
