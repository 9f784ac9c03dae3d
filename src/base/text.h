// Text helpers shared by every subsystem: ANSI case folding and the value
// texts of information grids.
#pragma once

#include <string>
#include <string_view>

std::string upper_text(std::string_view s);
bool equals_nocase(std::string_view a, std::string_view b);

// -1 "Not supported", 0 "No", 1 "Yes"; other values leave target unchanged.
void yes_no_text(int value, std::string& target);
// Negative: "Not supported"; otherwise the decimal digits.
std::string number_text(long long value);
