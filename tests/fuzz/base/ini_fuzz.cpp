// Any bytes as an INI file, as load reads them (byte-order marks, UTF-16):
// the text written back reads as the same file, and edits keep it so.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/ini_file.h"

namespace {

void same_or_trap(const IniFile& a, const IniFile& b) {
    if (a.text() != b.text() || a.sections() != b.sections()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text =
        IniFile::decode(std::string_view(reinterpret_cast<const char*>(data), size));
    if (text.find('\0') != std::string::npos) return 0;  // load refuses such files
    IniFile ini = IniFile::parse(text);
    same_or_trap(ini, IniFile::parse(ini.text()));
    // Every key of every section reads; the first section is edited.
    std::vector<std::string> sections = ini.sections();
    sections.insert(sections.begin(), std::string());
    for (const std::string& s : sections)
        for (const std::string& k : ini.keys(s)) {
            ini.read(s, k, " default ");
            ini.read_int(s, k, -1);
            ini.has_key(s, k);
        }
    const std::string first = sections.size() > 1 ? sections[1] : "Section";
    ini.write(first, "Key", "\"quoted value\"");
    ini.write(" " + first + " ", " Other ", " spaced ");
    if (ini.read(first, "key") != "quoted value" || ini.read(first, "OTHER") != "spaced")
        __builtin_trap();
    same_or_trap(ini, IniFile::parse(ini.text()));
    ini.erase_key(first, "Key");
    ini.erase_section(sections.back());
    same_or_trap(ini, IniFile::parse(ini.text()));
    return 0;
}
