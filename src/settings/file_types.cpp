#include "settings/file_types.h"

#include <algorithm>
#include <set>

#include "base/text.h"

namespace {

void erase_first(std::string& s, char c) {
    const auto at = s.find(c);
    if (at != std::string::npos) s.erase(at, 1);
}

// The open command and the icon location always name the shipped file name;
// only the folder comes from the running program.
std::string open_command(const std::string& folder) {
    return "\"" + folder + "VELTRONA.EXE\" \"%1\"";
}

std::string icon_location(const std::string& folder, int number) {
    return folder + "veltrona.exe," + std::to_string(std::max(number, 0));
}

bool write_class(FileTypeKeys& keys, const std::string& cls, const std::string& desc,
                 const std::string& folder, int icon) {
    return keys.set(cls, "", desc) &&
           keys.set(cls + "\\shell\\open\\command", "", open_command(folder)) &&
           keys.set(cls + "\\DefaultIcon", "", icon_location(folder, icon));
}

void read_class(KeyStore& store, FileTypeKeys& keys, const std::string& cls, int icon_count,
                std::string& desc, int& icon) {
    if (store.key_exists(cls)) desc = keys.default_of(cls);
    const std::string icon_key = cls + "\\DefaultIcon";
    if (!store.key_exists(icon_key)) return;
    const auto n = icon_number(keys.default_of(icon_key));
    if (n && *n >= 0 && *n < icon_count) icon = *n;
}

}  // namespace

std::vector<std::string> file_type_patterns(const std::vector<std::string>& declared) {
    std::string text;
    for (size_t i = 0; i < declared.size(); ++i) {
        if (i) text += "\r\n";
        text += declared[i];
    }
    std::vector<std::string> out;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(';', start);
        if (end == std::string::npos) end = text.size();
        std::string piece = text.substr(start, end - start);
        erase_first(piece, ' ');
        erase_first(piece, '\r');
        erase_first(piece, '\n');
        if (!piece.empty()) out.push_back(std::move(piece));
        start = end + 1;
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

std::string pattern_extension(const std::string& pattern) {
    if (pattern.size() < 3 || pattern[1] != '.') return {};
    if (pattern.find('\\') != std::string::npos) return {};
    return pattern.substr(1);
}

std::optional<int> icon_number(const std::string& default_icon) {
    const auto comma = default_icon.find(',');
    if (comma == std::string::npos) return std::nullopt;
    const std::string rest = default_icon.substr(comma + 1);
    size_t i = (!rest.empty() && rest[0] == '-') ? 1 : 0;
    if (i == rest.size() || rest.size() - i > 9) return std::nullopt;
    for (size_t k = i; k < rest.size(); ++k)
        if (rest[k] < '0' || rest[k] > '9') return std::nullopt;
    return std::stoi(rest);
}

std::string FileTypeKeys::string_of(const std::string& key, const std::string& name) {
    uint32_t d = 0;
    std::string text;
    return store_.read(key, name, d, text) == KeyStore::Kind::String ? text : std::string();
}

std::string FileTypeKeys::default_of(const std::string& key) {
    return string_of(key, "");
}

bool FileTypeKeys::set(const std::string& key, const std::string& name, const std::string& value) {
    if (store_.write_string(key, name, value)) return true;
    error_ = "Failed to set data for '" + (name.empty() ? key : key + "\\" + name) + "'";
    return false;
}

bool FileTypeKeys::readfilekey(const std::string& ext, const std::string& cls) {
    return store_.key_exists(ext) && default_of(ext) == cls;
}

bool FileTypeKeys::writefilekey(const std::string& ext, const std::string& cls) {
    const std::string before = default_of(ext);
    return set(ext, "", cls) && set(ext, "Content Type", "music/" + ext) &&
           (before == cls || set(ext, "Last", before));
}

bool FileTypeKeys::delfilekey(const std::string& ext, const std::string& cls) {
    if (!readfilekey(ext, cls)) return true;
    const std::string last = string_of(ext, "Last");
    if (!last.empty() && last != cls) return set(ext, "", last);
    if (store_.delete_key(ext)) return true;
    error_ = "Failed to delete key '" + ext + "'";
    return false;
}

void read_file_types(KeyStore& store, const std::vector<std::string>& declared, int icon_count,
                     FileTypesForm& form) {
    FileTypeKeys keys(store);
    form.items = file_type_patterns(declared);
    form.checked.assign(form.items.size(), false);
    for (size_t i = 0; i < form.items.size(); ++i) {
        const std::string ext = pattern_extension(form.items[i]);
        form.checked[i] = !ext.empty() && keys.readfilekey(ext, kMediaClass);
    }
    read_class(store, keys, kMediaClass, icon_count, form.f_desc, form.file_icon);
    read_class(store, keys, kListClass, icon_count, form.l_desc, form.list_icon);
    form.m3u = keys.readfilekey(".M3U", kListClass);
}

bool apply_file_types(KeyStore& store, const std::string& exe_folder, const FileTypesForm& form,
                      std::string& error) {
    FileTypeKeys keys(store);
    // Keys ignore case: an unchecked "*.MP3" must not release the key that a
    // checked "*.mp3" just took.
    std::set<std::string> taken;
    for (size_t i = 0; i < form.items.size(); ++i)
        if (i < form.checked.size() && form.checked[i])
            taken.insert(upper_text(pattern_extension(form.items[i])));
    bool ok = write_class(keys, kMediaClass, form.f_desc, exe_folder, form.file_icon);
    for (size_t i = 0; ok && i < form.items.size(); ++i) {
        const std::string ext = pattern_extension(form.items[i]);
        if (ext.empty()) continue;
        const bool on = i < form.checked.size() && form.checked[i];
        if (on)
            ok = keys.writefilekey(ext, kMediaClass);
        else if (!taken.count(upper_text(ext)))
            ok = keys.delfilekey(ext, kMediaClass);
    }
    ok = ok && write_class(keys, kListClass, form.l_desc, exe_folder, form.list_icon) &&
         keys.writefilekey(".VL2", kListClass) &&
         (form.m3u ? keys.writefilekey(".M3U", kListClass) : keys.delfilekey(".M3U", kListClass));
    if (!ok) error = keys.error();
    return ok;
}
