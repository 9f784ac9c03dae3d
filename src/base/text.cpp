#include "base/text.h"

namespace {

char upper_char(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

std::string upper_text(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = upper_char(c);
    return out;
}

bool equals_nocase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (upper_char(a[i]) != upper_char(b[i])) return false;
    return true;
}

void yes_no_text(int value, std::string& target) {
    switch (value) {
        case -1:
            target = "Not supported";
            break;
        case 0:
            target = "No";
            break;
        case 1:
            target = "Yes";
            break;
        default:
            break;
    }
}

std::string number_text(long long value) {
    return value < 0 ? "Not supported" : std::to_string(value);
}
