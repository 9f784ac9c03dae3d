// The text order of the list view's sort. Windows compares with lstrcmpA;
// the host order below follows its word-sort rules closely enough for the
// tests: symbols before digits before letters, letters without regard to
// case first, then lower case before upper case; hyphens and apostrophes
// only break ties.
#pragma once

#include <string>

using TextCompare = int (*)(const std::string& a, const std::string& b);

int word_sort_compare(const std::string& a, const std::string& b);
