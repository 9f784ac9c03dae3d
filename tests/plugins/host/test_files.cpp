#include "test_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
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
        std::string d = "/tmp/vl_plugin_tests_" + std::to_string(getpid());
        mkdir(d.c_str(), 0755);
        return d;
    }();
    std::string path = dir + "/" + name;
    chmod(path.c_str(), 0644);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return path;
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
