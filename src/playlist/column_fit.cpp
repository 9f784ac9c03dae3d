#include "playlist/column_fit.h"

#include <string_view>
#include <unordered_set>

const std::string& row_cell(const ListRow& row, int column) {
    static const std::string empty;
    if (column == 0) return row.caption;
    const size_t i = static_cast<size_t>(column - 1);
    return i < row.sub.size() ? row.sub[i] : empty;
}

std::vector<int> widest_row_candidates(const std::vector<ListRow>& rows, int column,
                                       const std::array<int, 256>& advance, int margin) {
    std::vector<int> widths(rows.size(), 0);
    int widest = 0;
    for (size_t r = 0; r < rows.size(); ++r) {
        int w = 0;
        for (const char c : row_cell(rows[r], column)) w += advance[static_cast<unsigned char>(c)];
        widths[r] = w;
        if (w > widest) widest = w;
    }
    std::vector<int> out;
    std::unordered_set<std::string_view> seen;
    for (size_t r = 0; r < rows.size(); ++r) {
        const std::string& text = row_cell(rows[r], column);
        if (text.empty() || widths[r] < widest - margin) continue;
        if (seen.insert(text).second) out.push_back(static_cast<int>(r));
    }
    return out;
}
