#include "playlist/list_row.h"

#include <cstdio>
#include <cstdlib>

namespace {

std::string padded(long long value, int digits) {
    std::string s = std::to_string(value < 0 ? -value : value);
    if (static_cast<int>(s.size()) < digits) s.insert(0, size_t(digits) - s.size(), '0');
    return value < 0 ? "-" + s : s;
}

}  // namespace

namespace row_text {

std::string caption(int position) {
    return padded(position, 3);
}

std::string track(int32_t track) {
    return padded(track, 2);
}

std::string duration(int32_t seconds) {
    const long long s = seconds < 0 ? 0 : seconds;
    if (s < 3600) return std::to_string(s / 60) + ":" + padded(s % 60, 2);
    const long long h = s / 3600;
    const long long m = s / 60 - 60 * h;
    return std::to_string(h) + ":" + padded(m, 2) + ":" + padded(s - 3600 * h - 60 * m, 2);
}

std::string from_record(const std::string& artist, const std::string& title) {
    std::string s = (artist + " - ").substr(0, 53);
    return (s + title).substr(0, 103);
}

std::string tray_caption(const std::string& display) {
    if (!display.empty() && display[0] == '-') return "~" + display.substr(1);
    return display;
}

}  // namespace row_text
