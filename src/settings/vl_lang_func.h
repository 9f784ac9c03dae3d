// Language files: INI files in "langs\" whose "Captions" section re-captions
// the settings dialog's controls by name and whose "Settings_wind" section
// re-captions the settings tree's nodes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/ini_file.h"

enum class CaptionKind { Label, Label3d, Button, Check, Radio };

struct LanguageCaption {
    const char* control;
    CaptionKind kind;
};
// The controls `loadlang` re-captions, in order.
const std::vector<LanguageCaption>& language_captions();

// Longest caption taken from a file; longer values are cut.
inline constexpr size_t kMaxCaption = 255;

class LanguageFile {
  public:
    explicit LanguageFile(IniFile ini) : ini_(std::move(ini)) {}
    // A missing key gives an empty caption.
    std::string caption(std::string_view control) const;
    // `tree` + "_item" + n in "Settings_wind".
    std::string node(std::string_view tree, int n) const;

  private:
    IniFile ini_;
};

// `langbox`: one entry per "*.lng" file name, its extension dropped, sorted
// without regard to case; the file of entry i is files[i].
struct LanguageList {
    std::vector<std::string> entries;
    std::vector<std::string> files;
};
LanguageList language_list(std::vector<std::string> file_names);
