// The file information window as the playlist window opens it (the window
// itself lives in a layer above the playlist).
#pragma once

#include <string>

class FileInfoOpener {
  public:
    virtual ~FileInfoOpener() = default;
    // Alt+I on a row of the list in view: the entry's record number in the
    // list's working file; OK writes that record.
    virtual void open_list_entry(const std::string& path, int record) = 0;
    // Alt+I on a file of the explorer page: the tag only; OK, volume and fades
    // are disabled, "Save to File" writes and leaves the window open.
    virtual void open_explorer_file(const std::string& path) = 0;
};
