#include "settings/vl_lang_func.h"

#include <algorithm>

#include "base/text.h"

const std::vector<LanguageCaption>& language_captions() {
    static const std::vector<LanguageCaption> table = {
        {"file_pan_filedesc_lbl", CaptionKind::Label},
        {"file_pan_ficon_lbl", CaptionKind::Label},
        {"plug_pan_cap", CaptionKind::Label3d},
        {"playskin_pan_cap", CaptionKind::Label3d},
        {"playskin_pan_avskin_lbl", CaptionKind::Label},
        {"playskin_pan_skinprev_lbl", CaptionKind::Label},
        {"lang_pan_cap", CaptionKind::Label3d},
        {"lang_pan_avlang_lbl", CaptionKind::Label},
        {"sys_pan_cap", CaptionKind::Label3d},
        {"file_pan_cap", CaptionKind::Label3d},
        // The other page titles, so that a language reaches every page.
        {"otf_pan_cap", CaptionKind::Label3d},
        {"stud_pan_cap", CaptionKind::Label3d},
        {"dis_pan_cap", CaptionKind::Label3d},
        {"ave_pan_cap", CaptionKind::Label3d},
        {"plexp_pan_cap", CaptionKind::Label3d},
    };
    return table;
}

namespace {

std::string cut(std::string s) {
    if (s.size() > kMaxCaption) s.resize(kMaxCaption);
    return s;
}

}  // namespace

std::string LanguageFile::caption(std::string_view control) const {
    return cut(ini_.read("Captions", control));
}

std::string LanguageFile::node(std::string_view tree, int n) const {
    return cut(ini_.read("Settings_wind", std::string(tree) + "_item" + std::to_string(n)));
}

LanguageList language_list(std::vector<std::string> file_names) {
    std::erase_if(file_names, [](const std::string& f) {
        return f.size() <= 4 || upper_text(f.substr(f.size() - 4)) != ".LNG";
    });
    std::sort(file_names.begin(), file_names.end(), [](const std::string& a, const std::string& b) {
        return upper_text(a) < upper_text(b);
    });
    LanguageList out;
    for (const std::string& f : file_names) {
        out.entries.push_back(f.substr(0, f.size() - 4));
        out.files.push_back(f);
    }
    return out;
}
