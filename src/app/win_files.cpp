#include "app/win_files.h"

#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include "app/path_rules.h"

bool DirectoryExists(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

long long file_size(const std::string& path) {
    char full[MAX_PATH];
    if (!GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr)) return -1;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(full, &fd);
    if (h == INVALID_HANDLE_VALUE) return -1;
    FindClose(h);
    return (static_cast<long long>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
}

std::string oem_text(const std::string& text) {
    std::string out(text.size(), '\0');
    if (!text.empty()) CharToOemBuffA(text.data(), out.data(), static_cast<DWORD>(text.size()));
    return out;
}

void delete_working_folder(const std::string& folder) {
    const std::string dir = with_backslash(folder);
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "*.*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            // 0x8 is the volume-label attribute.
            if (!(fd.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | 0x8)))
                DeleteFileA((dir + fd.cFileName).c_str());
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(dir.c_str());
}

std::string temp_folder() {
    char buf[MAX_PATH + 1];
    DWORD n = GetTempPathA(sizeof buf, buf);
    return with_backslash(std::string(buf, n < sizeof buf ? n : 0));
}

std::string current_folder() {
    char buf[MAX_PATH + 1];
    DWORD n = GetCurrentDirectoryA(sizeof buf, buf);
    return std::string(buf, n < sizeof buf ? n : 0);
}

std::string module_path() {
    char buf[MAX_PATH + 1];
    DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
    return std::string(buf, n);
}

void shell_open_program(const std::string& file, const std::string& params,
                        const std::string& folder) {
    ShellExecuteA(nullptr, nullptr, file.c_str(), params.c_str(),
                  folder.empty() ? nullptr : folder.c_str(), SW_SHOWNORMAL);
}

bool choose_open_file(HWND owner, const std::string& title, const std::string& filter,
                      const std::string& pattern, const std::string& folder, std::string& chosen) {
    char name[256] = {};
    lstrcpynA(name, pattern.c_str(), sizeof name);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    ofn.lpstrFile = name;
    ofn.nMaxFile = sizeof name;
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrTitle = title.c_str();
    if (!GetOpenFileNameA(&ofn) || name[0] == 0) return false;
    chosen = name;
    return true;
}
