// Helpers for the plugin host tests: files in a temporary folder and the
// media made by make_media.sh.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vl::test {

std::string media(const std::string& name);
std::vector<uint8_t> read_file(const std::string& path);
// Writes bytes to a fresh file in the test's temporary folder.
std::string temp_file(const std::string& name, const std::vector<uint8_t>& bytes);
// Read-only by its permission bits (the read-only attribute on Windows).
void set_read_only(const std::string& path, bool on);
void append(std::vector<uint8_t>& v, const std::string& s);
size_t find_bytes(const std::vector<uint8_t>& v, const std::string& s, size_t from = 0);

}  // namespace vl::test
