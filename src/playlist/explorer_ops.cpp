#include "playlist/explorer_ops.h"

#include "base/paths.h"
#include "base/text.h"

std::string size_picture(int64_t bytes) {
    if (bytes == 0) return {};
    const bool negative = bytes < 0;
    std::string digits = std::to_string(negative ? -bytes : bytes);
    std::string out;
    // Digits beyond the picture's twelve stay in front of its first group.
    const size_t head = digits.size() > 12 ? digits.size() - 9 : (digits.size() + 2) % 3 + 1;
    out = digits.substr(0, head);
    for (size_t i = head; i < digits.size(); i += 3) out += " " + digits.substr(i, 3);
    return negative ? "-" + out : out;
}

std::string tag_file_name(ExplorerHost& host, const std::string& path, const NameRules& rules) {
    FileInfoRec f;
    host.QuickInfo(path, f);
    // The file's own name is free for it: a file already named after its tags keeps it.
    auto taken = [&](const std::string& p) { return !equals_nocase(p, path) && host.exists(p); };
    return unique_file_name(path, f.artist + " - " + f.title, taken, rules.extra_chars,
                            rules.replacement);
}

namespace {

// False when the user chose Abort.
bool rename_one(ExplorerHost& host, const std::string& path, const NameRules& rules,
                bool with_abort) {
    const std::string target = tag_file_name(host, path, rules);
    if (equals_nocase(target, path)) return true;
    const Answer a = host.ask(
        "Rename file " + file_name_of(path) + "\n to " + file_name_of(target) + " ?", with_abort);
    if (a == Answer::Abort) return false;
    if (a == Answer::Yes && !host.move_file(path, target))
        host.warn("Can't rename file " + path + " !");
    return true;
}

}  // namespace

void rename_file_by_tag(ExplorerHost& host, const std::string& path, const NameRules& rules) {
    rename_one(host, path, rules, false);
}

void RenameFolderFiles(ExplorerHost& host, const std::string& folder, const NameRules& rules) {
    const std::string d = with_backslash(folder);
    for (const DirEntry& e : host.list_dir(d + "*.*")) {
        if (host.terminating()) return;
        if (e.is_dir) continue;
        if (host.IsSupported(d + e.name) && !rename_one(host, d + e.name, rules, true)) break;
        host.process_messages();
    }
    for (const DirEntry& e : host.list_dir(d + "*.*")) {
        if (host.terminating()) return;
        if (e.is_dir && !e.name.empty() && e.name[0] != '.')
            RenameFolderFiles(host, d + e.name, rules);
    }
}

void make_artist_folder(ExplorerHost& host, const std::string& path, const NameRules& rules) {
    FileInfoRec f;
    host.QuickInfo(path, f);
    const std::string name = clean_file_name(f.artist, rules.extra_chars, rules.replacement);
    const std::string g = folder_of(path) + name;
    if (host.exists(g)) {
        host.warn("Folder " + g + " is already exists!");
        return;
    }
    if (host.ask("Create folder " + name + " ?", false) == Answer::Yes && !host.make_folder(g))
        host.warn("Can't create folder " + g + " !");
}
