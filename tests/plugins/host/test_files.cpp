#include "test_files.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace vl::test {

std::string media(const std::string& name) {
    return std::string(VL_PLUGIN_MEDIA) + "/" + name;
}

std::vector<uint8_t> read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string temp_file(const std::string& name, const std::vector<uint8_t>& bytes) {
    static const std::string dir = [] {
        std::string d = std::string(VL_PLUGIN_MEDIA) + "_work";
        std::filesystem::create_directories(d);
        return d;
    }();
    std::string path = dir + "/" + name;
    if (std::filesystem::exists(path)) set_read_only(path, false);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return path;
}

void set_read_only(const std::string& path, bool on) {
    using std::filesystem::perms;
    const perms read = perms::owner_read | perms::group_read | perms::others_read;
    std::filesystem::permissions(path, on ? read : read | perms::owner_write);
}

void append(std::vector<uint8_t>& v, const std::string& s) {
    v.insert(v.end(), s.begin(), s.end());
}

size_t find_bytes(const std::vector<uint8_t>& v, const std::string& s, size_t from) {
    if (from >= v.size()) return std::string::npos;
    auto it =
        std::search(v.begin() + static_cast<std::ptrdiff_t>(from), v.end(), s.begin(), s.end());
    return it == v.end() ? std::string::npos : static_cast<size_t>(it - v.begin());
}

}  // namespace vl::test
