// Fitting a list column to its widest text without measuring every row: a
// table of character advances ranks the rows, and only the rows within a
// margin of the widest, each text once, are left to be measured exactly.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "playlist/list_row.h"

// What a list view shows in a column: the caption (0) or a sub-item.
const std::string& row_cell(const ListRow& row, int column);

// Rows whose text in the column, as the sum of its characters' advances,
// comes within margin of the widest; of equal texts only the first. Empty
// when no row has text there.
std::vector<int> widest_row_candidates(const std::vector<ListRow>& rows, int column,
                                       const std::array<int, 256>& advance, int margin);
