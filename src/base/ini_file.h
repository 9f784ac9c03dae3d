// INI files with the semantics of the system's private-profile routines:
// sections and keys match without regard to case and to surrounding blanks,
// the first matching section and the first matching key win, values lose
// surrounding blanks and one pair of enclosing quotes. Like the system, a
// file with a UTF-8 or UTF-16 byte-order mark is read in the ANSI code page.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class IniFile {
  public:
    IniFile() = default;
    enum class Found { missing, read, unreadable };
    // A missing or unreadable file gives an empty INI. Unreadable: the file
    // exists but cannot be opened, or holds NUL bytes in no encoding we know.
    static IniFile load(const std::string& path, Found* found = nullptr);
    static IniFile parse(std::string_view text);
    // File bytes to ANSI text: a byte-order mark selects UTF-8, UTF-16 LE or BE.
    static std::string decode(std::string_view bytes);

    bool has_key(std::string_view section, std::string_view key) const;
    std::string read(std::string_view section, std::string_view key,
                     std::string_view def = {}) const;
    int read_int(std::string_view section, std::string_view key, int def) const;
    // Key names of the first matching section, in file order.
    std::vector<std::string> keys(std::string_view section) const;
    std::vector<std::string> sections() const;

    void write(std::string_view section, std::string_view key, std::string_view value);
    void erase_key(std::string_view section, std::string_view key);
    void erase_section(std::string_view section);

    std::string text() const;
    bool save(const std::string& path) const;

  private:
    struct Entry {
        std::string key;
        std::string value;
        bool has_value = false;  // a line without "=" names a key with no value
    };
    struct Section {
        std::string name;  // empty: lines before the first section header
        std::vector<Entry> entries;
    };
    Section* find_section(std::string_view name);
    const Section* find_section(std::string_view name) const;
    std::vector<Section> sections_;
};
