#include "settings/now_playing_win32.h"

#include <windows.h>

#include "base/safe_file.h"
#include "win/files.h"
#include "win/handles.h"

std::string Win32NowPlayingOutput::to_oem(const std::string& ansi) {
    return oem_text(ansi);
}

bool Win32NowPlayingOutput::write_file(const std::string& path, const std::string& bytes) {
    if (write_file_replacing(path, bytes, false)) return true;
    // A reader holding the file open blocks the replacement: rewrite it in place.
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const win::KernelHandle file(h);
    // WriteFile hands the bytes to the system at once: no buffer of ours to
    // flush, and readers need no sync to the disk.
    DWORD written = 0;
    return bytes.empty() || (WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                       &written, nullptr) &&
                             written == bytes.size());
}
