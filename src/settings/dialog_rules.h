// Rules of the settings dialog that need no window: the tree's page numbers,
// the plugin pattern lists and which scope controls are enabled.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The settings tree in display order: text, page number, parent node (-1 for
// a root).
struct SettingsNode {
    const char* text;
    int page;
    int parent;
};
inline constexpr int kSettingsNodes = 11;
extern const SettingsNode kSettingsTree[kSettingsNodes];
inline constexpr int kInterfacePage = 200;  // a node with no page of its own

// One plugin's patterns: split at ";", one blank removed from each piece,
// empty pieces dropped.
std::vector<std::string> split_patterns(std::string_view declared);
// `ext_listClick`: two blanks, the pattern and ";" for each checked pattern.
std::string active_patterns_of(const std::vector<std::string>& patterns,
                               const std::vector<bool>& checked);
bool pattern_active(std::string_view active, std::string_view pattern);

struct ScopeEnables {
    bool int_type;        // `osc_inttype`
    bool colours;         // `osc_col_skin`, `osc_col_change`
    bool colour_buttons;  // `osc_col_L`, `osc_col_R`
};
// osc_type 0 "None", 1 "Internal", 2 "AVE"; the buttons also need the skin
// colours off.
ScopeEnables scope_enables(int scope_type, bool skin_colours);

// `ref_labl`: the interval and " msec".
std::string refresh_label(int ms);
