#include "playlist/text_compare.h"

#include <algorithm>
#include <vector>

namespace {

bool ignored(unsigned char c) {
    return c == '-' || c == '\'';
}

// Primary weight: symbols, digits, letters (case folded), then the upper half.
int primary(unsigned char c) {
    if (c >= '0' && c <= '9') return 0x100 + c;
    if (c >= 'a' && c <= 'z') return 0x200 + (c - 'a' + 'A');
    if (c >= 'A' && c <= 'Z') return 0x200 + c;
    if (c >= 0x80) return 0x300 + c;
    return c;
}

int sign(int v) {
    return (v > 0) - (v < 0);
}

}  // namespace

int word_sort_compare(const std::string& a, const std::string& b) {
    std::vector<unsigned char> pa, pb;
    for (unsigned char c : a)
        if (!ignored(c)) pa.push_back(c);
    for (unsigned char c : b)
        if (!ignored(c)) pb.push_back(c);

    const size_t n = std::min(pa.size(), pb.size());
    for (size_t i = 0; i < n; ++i)
        if (primary(pa[i]) != primary(pb[i])) return sign(primary(pa[i]) - primary(pb[i]));
    if (pa.size() != pb.size()) return pa.size() < pb.size() ? -1 : 1;

    // Same letters: lower case sorts before upper case at the first difference.
    for (size_t i = 0; i < n; ++i)
        if (pa[i] != pb[i]) return pa[i] > pb[i] ? -1 : 1;

    const size_t ia = a.size() - pa.size(), ib = b.size() - pb.size();
    if (ia != ib) return ia < ib ? -1 : 1;
    return sign(a.compare(b));
}
