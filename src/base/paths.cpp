#include "base/paths.h"

#include <vector>

namespace {

bool is_delim(char c) {
    return c == '\\' || c == '/' || c == ':';
}
bool is_slash(char c) {
    return c == '\\' || c == '/';
}

}  // namespace

std::string with_backslash(std::string_view folder) {
    std::string out(folder);
    if (out.empty() || out.back() != '\\') out += '\\';
    return out;
}

std::string folder_of(std::string_view path) {
    size_t i = path.size();
    while (i > 0 && !is_delim(path[i - 1])) --i;
    return with_backslash(path.substr(0, i));
}

std::string file_name_of(std::string_view path) {
    size_t i = path.size();
    while (i > 0 && !is_delim(path[i - 1])) --i;
    return std::string(path.substr(i));
}

std::string file_ext_of(std::string_view path) {
    for (size_t i = path.size(); i > 0; --i) {
        char c = path[i - 1];
        if (c == '.') return std::string(path.substr(i - 1));
        if (is_delim(c)) break;
    }
    return {};
}

std::string working_folder_name(std::string_view temp_folder, int hour, int minute, int second) {
    return with_backslash(with_backslash(temp_folder) + "_vl_tmp_" + std::to_string(hour) + "_" +
                          std::to_string(minute) + "_" + std::to_string(second) + "_");
}

std::string clean_file_name(std::string_view name, std::string_view extra_chars,
                            std::string_view replacement) {
    static constexpr std::string_view reserved = "*|/\\<>?:\"";
    const char with = replacement.empty() ? '_' : replacement.front();
    std::string out(name);
    for (char& c : out)
        if (reserved.find(c) != std::string_view::npos ||
            extra_chars.find(c) != std::string_view::npos)
            c = with;
    return out;
}

std::string unique_file_name(std::string_view old_path, std::string_view new_base,
                             const std::function<bool(const std::string&)>& exists,
                             std::string_view extra_chars, std::string_view replacement) {
    const std::string folder = folder_of(old_path);
    const std::string ext = file_ext_of(file_name_of(old_path));
    const std::string base = clean_file_name(new_base, extra_chars, replacement);
    std::string candidate = folder + base + ext;
    for (long n = 0; exists(candidate); ++n)
        candidate = folder + base + "_" + std::to_string(n) + ext;
    return candidate;
}

std::string resolve_path(std::string_view start_folder, std::string_view path) {
    if (path.empty()) return {};
    const bool has_drive = path.size() >= 2 && path[1] == ':';
    if ((has_drive && path.size() >= 3 && is_slash(path[2])) ||
        (path.size() >= 2 && is_slash(path[0]) && is_slash(path[1])))
        return std::string(path);             // C:\x or \\server\share\x
    if (has_drive) return std::string(path);  // drive-relative C:x: the system resolves it

    std::string base = with_backslash(start_folder);
    std::string joined;
    if (is_slash(path[0])) {
        // Rooted: the start folder's drive (or UNC share) and the path.
        size_t root = 2;
        if (base.size() >= 2 && is_slash(base[0]) && is_slash(base[1])) {
            int slashes = 0;
            root = 2;
            while (root < base.size() && !(is_slash(base[root]) && ++slashes == 2)) ++root;
        }
        joined = base.substr(0, root) + std::string(path);
    } else {
        joined = base + std::string(path);
    }

    // Fold "." and ".." after the root.
    size_t root_len = 0;
    if (joined.size() >= 2 && joined[1] == ':') {
        root_len = 2;
    } else if (joined.size() >= 2 && is_slash(joined[0]) && is_slash(joined[1])) {
        int slashes = 0;
        root_len = 2;
        while (root_len < joined.size() && !(is_slash(joined[root_len]) && ++slashes == 2))
            ++root_len;
    }
    std::vector<std::string> parts;
    std::string part;
    auto flush = [&] {
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        part.clear();
    };
    for (size_t i = root_len; i < joined.size(); ++i) {
        if (is_slash(joined[i]))
            flush();
        else
            part += joined[i];
    }
    flush();
    std::string out = joined.substr(0, root_len);
    for (const std::string& p : parts) out += "\\" + p;
    if (out.size() == root_len) out += "\\";
    return out;
}
