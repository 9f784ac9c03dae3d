// File-type associations under the classes root: the media class, the
// playlist class and the extension keys that point at them, each extension
// remembering in "Last" the class it had before the player took it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/key_store.h"

inline constexpr char kMediaClass[] = "VELTRona_file";
inline constexpr char kListClass[] = "VELTRona_list";
inline constexpr char kDefaultMediaDesc[] = "VELTRona media file";
inline constexpr char kDefaultListDesc[] = "VELTRona PlayList";

// The check list's patterns from the plugins' declared pattern strings (one
// string per plugin): cut at ";", one blank, carriage return and line feed
// removed from each piece, sorted case-sensitively without duplicates.
std::vector<std::string> file_type_patterns(const std::vector<std::string>& declared);

// The extension key of a pattern: its text without the first character. Empty
// when that is no key of its own (no leading dot, nothing after it, or a
// backslash that would reach into another key), so such an item is never
// read or written.
std::string pattern_extension(const std::string& pattern);

// The icon number of a DefaultIcon value ("path,N"), when there is one.
std::optional<int> icon_number(const std::string& default_icon);

// The three operations on one extension key E and a class C. A failed write
// or delete returns false and leaves its message in error().
class FileTypeKeys {
  public:
    explicit FileTypeKeys(KeyStore& store) : store_(store) {}
    // E exists and its default value is exactly C.
    bool readfilekey(const std::string& ext, const std::string& cls);
    // E points at C; "Last" keeps the class E had before, unless that was C.
    bool writefilekey(const std::string& ext, const std::string& cls);
    // When E points at C: back to the class in "Last", or E deleted.
    bool delfilekey(const std::string& ext, const std::string& cls);

    // The key's default value, empty when the key or the value is absent.
    std::string default_of(const std::string& key);
    bool set(const std::string& key, const std::string& name, const std::string& value);
    const std::string& error() const { return error_; }

  private:
    std::string string_of(const std::string& key, const std::string& name);
    KeyStore& store_;
    std::string error_;
};

// What the page shows and "Apply" writes.
struct FileTypesForm {
    std::vector<std::string> items;  // patterns, in list order
    std::vector<bool> checked;       // one per item
    std::string f_desc = kDefaultMediaDesc;
    std::string l_desc = kDefaultListDesc;
    int file_icon = 0;  // index into the pickers' icons
    int list_icon = 0;
    bool m3u = false;
};

// Rebuilds the list and reads the current associations into the form. Icon
// numbers outside 0..icon_count-1 keep the pickers' selection.
void read_file_types(KeyStore& store, const std::vector<std::string>& declared, int icon_count,
                     FileTypesForm& form);

// Writes the classes and extensions in order; stops at the first failed
// write (its message in error), keeping what was written before.
bool apply_file_types(KeyStore& store, const std::string& exe_folder, const FileTypesForm& form,
                      std::string& error);
