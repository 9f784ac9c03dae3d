#include <windows.h>

#include "file_ops.h"

namespace vl {

bool file_is_writable(const std::string& path) {
    DWORD attr = GetFileAttributesA(path.c_str());
    if (attr == INVALID_FILE_ATTRIBUTES) return false;
    return (attr & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) == 0;
}

std::string file_stamp(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA d;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d)) return {};
    const DWORD parts[] = {d.nFileSizeHigh, d.nFileSizeLow, d.ftLastWriteTime.dwHighDateTime,
                           d.ftLastWriteTime.dwLowDateTime};
    return std::string(reinterpret_cast<const char*>(parts), sizeof parts);
}

}  // namespace vl
