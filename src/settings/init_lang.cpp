// Language files on the settings dialog: the list of languages and the
// re-captioning of its tree and controls by name.
#include "settings/init_form.h"
#include "settings/vl_lang_func.h"
#include "win/files.h"

void Tinitial::fill_languages() {
    const LanguageList list = language_list(find_file_names(folder_ + "langs\\*.lng"));
    lang_files_ = list.files;
    SendMessageA(langbox, LB_RESETCONTENT, 0, 0);
    for (const std::string& e : list.entries)
        SendMessageA(langbox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.c_str()));
}

void Tinitial::lang_pan_appbuttonClick() {
    const LRESULT i = SendMessageA(langbox, LB_GETCURSEL, 0, 0);
    if (i < 0 || static_cast<size_t>(i) >= lang_files_.size()) return;
    lang_file_ = folder_ + "langs\\" + lang_files_[static_cast<size_t>(i)];
    loadlang();
}

void Tinitial::loadlang() {
    loadtreenodes("setttree", 11);
    for (const LanguageCaption& c : language_captions()) {
        switch (c.kind) {
            case CaptionKind::Label:
                loadlabelcaps(c.control);
                break;
            case CaptionKind::Label3d:
                load3dlabelcaps(c.control);
                break;
            case CaptionKind::Button:
                loadbtncaps(c.control);
                break;
            case CaptionKind::Check:
                loadchkcaps(c.control);
                break;
            case CaptionKind::Radio:
                loadradiobtncaps(c.control);
                break;
        }
    }
}

// Each routine reads the current file afresh; a missing file changes nothing.
bool Tinitial::read_caption(const std::string& name, std::string& text) const {
    if (lang_file_.empty() || !FileExists(lang_file_)) return false;
    text = LanguageFile(IniFile::load(lang_file_)).caption(name);
    return true;
}

void Tinitial::set_caption(const std::string& name, const std::string& text) {
    if (HWND c = control(name)) {
        SetWindowTextA(c, text.c_str());
        InvalidateRect(c, nullptr, TRUE);
    }
}

void Tinitial::loadlabelcaps(const std::string& name) {
    std::string text;
    if (read_caption(name, text)) set_caption(name, text);
}

void Tinitial::load3dlabelcaps(const std::string& name) {
    loadlabelcaps(name);
}

void Tinitial::loadbtncaps(const std::string& name) {
    loadlabelcaps(name);
}

void Tinitial::loadchkcaps(const std::string& name) {
    loadlabelcaps(name);
}

void Tinitial::loadradiobtncaps(const std::string& name) {
    loadlabelcaps(name);
}

void Tinitial::loadtreenodes(const std::string& tree, int count) {
    if (lang_file_.empty() || !FileExists(lang_file_)) return;
    HWND t = control(tree);
    if (t != setttree_) return;
    const LanguageFile file(IniFile::load(lang_file_));
    for (int n = 0; n < count && n < static_cast<int>(nodes_.size()); ++n) {
        std::string text = file.node(tree, n);
        TVITEMA item{};
        item.mask = TVIF_TEXT;
        item.hItem = nodes_[static_cast<size_t>(n)];
        item.pszText = text.data();
        SendMessageA(t, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
}
