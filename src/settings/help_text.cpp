#include "settings/help_text.h"

namespace help {

Format format_of(std::string_view head) {
    return head.substr(0, 5) == "{\\rtf" ? Format::Rtf : Format::Text;
}

bool wraps(std::string_view text) {
    size_t run = 0;
    for (char c : text) {
        run = (c == '\r' || c == '\n') ? 0 : run + 1;
        if (run > kLongestWrappedLine) return false;
    }
    return true;
}

std::string open_error(const std::string& path, const std::string& reason) {
    std::string text = "Cannot open file \"" + path + "\".";
    if (!reason.empty()) text += " " + reason;
    return text;
}

}  // namespace help
