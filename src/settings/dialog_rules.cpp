#include "settings/dialog_rules.h"

const SettingsNode kSettingsTree[kSettingsNodes] = {
    {"System", 100, -1},
    {"Plugins", 102, 0},
    {"File Types", 103, 0},
    {"Language", 104, 0},
    {"Output Text Files", 106, 0},
    {"Studios", 107, 0},
    {"Interface", kInterfacePage, -1},
    {"Display", 206, 6},
    {"Advanced Video Effects (AVE)", 207, 7},
    {"Player Skin", 205, 6},
    {"PlayList & Explorer", 208, 6},
};

std::vector<std::string> split_patterns(std::string_view declared) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= declared.size()) {
        size_t end = declared.find(';', start);
        if (end == std::string_view::npos) end = declared.size();
        std::string piece(declared.substr(start, end - start));
        if (const size_t blank = piece.find(' '); blank != std::string::npos) piece.erase(blank, 1);
        if (!piece.empty()) out.push_back(std::move(piece));
        start = end + 1;
    }
    return out;
}

std::string active_patterns_of(const std::vector<std::string>& patterns,
                               const std::vector<bool>& checked) {
    std::string out;
    for (size_t i = 0; i < patterns.size() && i < checked.size(); ++i)
        if (checked[i]) out += "  " + patterns[i] + ";";
    return out;
}

bool pattern_active(std::string_view active, std::string_view pattern) {
    return active.find(std::string(pattern) + ";") != std::string_view::npos;
}

ScopeEnables scope_enables(int scope_type, bool skin_colours) {
    const bool colours = scope_type == 1 || scope_type == 2;
    return ScopeEnables{scope_type == 1, colours, colours && !skin_colours};
}

std::string refresh_label(int ms) {
    return std::to_string(ms) + " msec";
}
