// File-system and shell helpers of the Win32 side.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct HWND__;

// One entry of a folder listing.
struct FoundFile {
    std::string name;  // no path
    uint32_t attributes = 0;
    long long size = 0;
    bool directory() const { return (attributes & 0x10) != 0; }
    bool volume_label() const { return (attributes & 0x8) != 0; }
};
// Every entry matching the pattern ("C:\x\*.ave"), in the file system's order.
std::vector<FoundFile> find_files(const std::string& pattern);
// Names of the files (not folders) matching the pattern.
std::vector<std::string> find_file_names(const std::string& pattern);

bool DirectoryExists(const std::string& path);
bool FileExists(const std::string& path);
// Size in bytes of the first entry matching the expanded path, or -1.
long long file_size(const std::string& path);
// The text converted from the Windows to the OEM character set, same length.
std::string oem_text(const std::string& text);
// Deletes the folder's files (not subfolders, not volume labels), then the
// folder itself; every failure is ignored.
void delete_working_folder(const std::string& folder);
std::string temp_folder();
std::string current_folder();
std::string module_path();
// The system's open-file dialog owned by owner; false when nothing was chosen.
// pattern: the file name the dialog starts with; empty filter or folder: none.
bool choose_open_file(HWND__* owner, const std::string& title, const std::string& filter,
                      const std::string& pattern, const std::string& folder, std::string& chosen);
// Opens a program through the shell: no verb, no owner, shown normally.
void shell_open_program(const std::string& file, const std::string& params,
                        const std::string& folder);
