// Text between UTF-16 and the system's ANSI code page, in which the plugin
// interface exchanges its strings.
#pragma once

#include <string>

namespace vl {

// Characters the code page lacks become a near one where the system knows
// one ("best fit"), else '?'.
std::string ansi_from_utf16(const std::u16string& text);
std::u16string utf16_from_ansi(const std::string& text);

}  // namespace vl
