#include "base/ini_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "base/safe_file.h"
#include "base/text.h"

namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
    return s;
}

std::string unquote(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return std::string(v.substr(1, v.size() - 2));
    return std::string(v);
}

// The byte of a code point in the Windows-1252 ANSI code page; a code point
// without one becomes '?', as the system's default character.
char ansi_of(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    static const char16_t k80[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    for (int i = 0; i < 32; ++i)
        if (k80[i] != 0 && k80[i] == c) return static_cast<char>(0x80 + i);
    return '?';
}

std::string utf16_to_ansi(std::string_view b, bool big_endian) {
    std::string out;
    out.reserve(b.size() / 2);
    for (size_t i = 0; i + 1 < b.size(); i += 2) {
        const auto lo = static_cast<unsigned char>(b[i + (big_endian ? 1 : 0)]);
        const auto hi = static_cast<unsigned char>(b[i + (big_endian ? 0 : 1)]);
        const char32_t u = static_cast<char32_t>(lo | hi << 8);
        if (u >= 0xD800 && u < 0xDC00 && i + 3 < b.size()) {
            i += 2;  // a surrogate pair is one character outside the ANSI set
            out += '?';
            continue;
        }
        out += ansi_of(u);
    }
    return out;
}

std::string utf8_to_ansi(std::string_view b) {
    std::string out;
    out.reserve(b.size());
    for (size_t i = 0; i < b.size();) {
        const auto c = static_cast<unsigned char>(b[i]);
        const int more = c < 0x80 ? 0 : c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
        char32_t u = more == 3 ? c & 0x07 : more == 2 ? c & 0x0F : more == 1 ? c & 0x1F : c;
        size_t n = 1;
        for (int k = 0;
             k < more && i + n < b.size() && (static_cast<unsigned char>(b[i + n]) & 0xC0) == 0x80;
             ++k, ++n)
            u = u << 6 | (static_cast<unsigned char>(b[i + n]) & 0x3F);
        out += (more < 0 || static_cast<int>(n) != more + 1) ? '?' : ansi_of(u);
        i += n;
    }
    return out;
}

}  // namespace

std::string IniFile::decode(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return utf8_to_ansi(bytes.substr(3));
    if (bytes.substr(0, 2) == "\xFF\xFE") return utf16_to_ansi(bytes.substr(2), false);
    if (bytes.substr(0, 2) == "\xFE\xFF") return utf16_to_ansi(bytes.substr(2), true);
    return std::string(bytes);
}

IniFile IniFile::load(const std::string& path, Found* found) {
    Found dummy;
    Found& f = found ? *found : dummy;
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        f = errno == ENOENT ? Found::missing : Found::unreadable;
        return IniFile();
    }
    std::string bytes;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, file)) > 0) bytes.append(buf, n);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    std::string text = decode(bytes);
    if (failed || text.find('\0') != std::string::npos) {
        f = Found::unreadable;
        return IniFile();
    }
    f = Found::read;
    return parse(text);
}

IniFile IniFile::parse(std::string_view text) {
    IniFile ini;
    ini.sections_.push_back(Section{});
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty()) continue;
        if (line.front() == '[') {
            size_t close = line.rfind(']');
            if (close != std::string_view::npos) {
                ini.sections_.push_back(Section{std::string(trim(line.substr(1, close - 1))), {}});
                continue;
            }
        }
        Entry e;
        size_t eq = line.find('=');
        if (eq == std::string_view::npos) {
            e.key = std::string(line);
        } else {
            e.key = std::string(trim(line.substr(0, eq)));
            e.value = std::string(trim(line.substr(eq + 1)));
            e.has_value = true;
        }
        ini.sections_.back().entries.push_back(std::move(e));
    }
    return ini;
}

IniFile::Section* IniFile::find_section(std::string_view name) {
    return const_cast<Section*>(static_cast<const IniFile*>(this)->find_section(name));
}

const IniFile::Section* IniFile::find_section(std::string_view name) const {
    // Keys above the first header form the section without a name.
    name = trim(name);
    for (const Section& s : sections_)
        if (equals_nocase(s.name, name)) return &s;
    return nullptr;
}

bool IniFile::has_key(std::string_view section, std::string_view key) const {
    const Section* s = find_section(section);
    if (!s) return false;
    key = trim(key);
    for (const Entry& e : s->entries)
        if (equals_nocase(e.key, key)) return true;
    return false;
}

std::string IniFile::read(std::string_view section, std::string_view key,
                          std::string_view def) const {
    if (const Section* s = find_section(section)) {
        key = trim(key);
        for (const Entry& e : s->entries) {
            if (!equals_nocase(e.key, key)) continue;
            if (e.has_value) return unquote(e.value);
            break;
        }
    }
    // The system trims the default's trailing blanks as well.
    while (!def.empty() && is_blank(def.back())) def.remove_suffix(1);
    return std::string(def);
}

int IniFile::read_int(std::string_view section, std::string_view key, int def) const {
    std::string v = read(section, key);
    if (v.empty()) return def;
    return static_cast<int>(std::strtol(v.c_str(), nullptr, 10));
}

std::vector<std::string> IniFile::keys(std::string_view section) const {
    std::vector<std::string> out;
    if (const Section* s = find_section(section))
        for (const Entry& e : s->entries) out.push_back(e.key);
    return out;
}

std::vector<std::string> IniFile::sections() const {
    std::vector<std::string> out;
    for (const Section& s : sections_)
        if (!s.name.empty()) out.push_back(s.name);
    return out;
}

void IniFile::write(std::string_view section, std::string_view key, std::string_view value) {
    section = trim(section);
    key = trim(key);
    value = trim(value);
    if (sections_.empty()) sections_.push_back(Section{});
    Section* s = find_section(section);
    if (!s) {
        sections_.push_back(Section{std::string(section), {}});
        s = &sections_.back();
    }
    for (Entry& e : s->entries) {
        if (equals_nocase(e.key, key)) {
            e.value = std::string(value);
            e.has_value = true;
            return;
        }
    }
    s->entries.push_back(Entry{std::string(key), std::string(value), true});
}

void IniFile::erase_key(std::string_view section, std::string_view key) {
    Section* s = find_section(section);
    if (!s) return;
    key = trim(key);
    for (auto it = s->entries.begin(); it != s->entries.end(); ++it) {
        if (equals_nocase(it->key, key)) {
            s->entries.erase(it);
            return;
        }
    }
}

void IniFile::erase_section(std::string_view section) {
    section = trim(section);
    for (auto it = sections_.begin(); it != sections_.end(); ++it) {
        if (equals_nocase(it->name, section)) {
            if (it == sections_.begin())
                it->entries.clear();  // the headerless part stays first
            else
                sections_.erase(it);
            return;
        }
    }
}

std::string IniFile::text() const {
    std::string out;
    for (const Section& s : sections_) {
        if (&s != &sections_.front()) {
            if (!out.empty()) out += "\r\n";
            out += "[" + s.name + "]\r\n";
        }
        for (const Entry& e : s.entries) {
            out += e.key;
            if (e.has_value) out += "=" + e.value;
            out += "\r\n";
        }
    }
    return out;
}

bool IniFile::save(const std::string& path) const {
    return write_file_replacing(path, text());
}
