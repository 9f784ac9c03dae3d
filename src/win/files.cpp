#include "win/files.h"

#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include "base/paths.h"

bool DirectoryExists(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

// FindFirstFileA/FindNextFileA with FindClose at the end of the scope.
class FileSearch {
  public:
    explicit FileSearch(const std::string& pattern) : h_(FindFirstFileA(pattern.c_str(), &data_)) {}
    FileSearch(const FileSearch&) = delete;
    FileSearch& operator=(const FileSearch&) = delete;
    ~FileSearch() {
        if (h_ != INVALID_HANDLE_VALUE) FindClose(h_);
    }
    // The current entry, or false when there is none (left).
    bool found() const { return h_ != INVALID_HANDLE_VALUE && !done_; }
    FoundFile entry() const {
        return FoundFile{data_.cFileName, data_.dwFileAttributes,
                         (static_cast<long long>(data_.nFileSizeHigh) << 32) | data_.nFileSizeLow};
    }
    void next() { done_ = !FindNextFileA(h_, &data_); }

  private:
    WIN32_FIND_DATAA data_{};
    HANDLE h_;
    bool done_ = false;
};

}  // namespace

std::vector<FoundFile> find_files(const std::string& pattern) {
    std::vector<FoundFile> out;
    for (FileSearch s(pattern); s.found(); s.next()) out.push_back(s.entry());
    return out;
}

std::vector<std::string> find_file_names(const std::string& pattern) {
    std::vector<std::string> names;
    for (FileSearch s(pattern); s.found(); s.next())
        if (!s.entry().directory()) names.push_back(s.entry().name);
    return names;
}

long long file_size(const std::string& path) {
    char full[MAX_PATH];
    if (!GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr)) return -1;
    FileSearch s(full);
    return s.found() ? s.entry().size : -1;
}

std::string oem_text(const std::string& text) {
    std::string out(text.size(), '\0');
    if (!text.empty()) CharToOemBuffA(text.data(), out.data(), static_cast<DWORD>(text.size()));
    return out;
}

void delete_working_folder(const std::string& folder) {
    const std::string dir = with_backslash(folder);
    for (const FoundFile& f : find_files(dir + "*.*"))
        if (!f.directory() && !f.volume_label()) DeleteFileA((dir + f.name).c_str());
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
