// What the help window makes of a help file's bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace help {

// Larger files are shown up to this many bytes.
constexpr size_t kMaxBytes = 256u << 10;

enum class Format { Rtf, Text };

// Rich text when the bytes begin as a rich-text document does; anything else
// is shown as plain text.
Format format_of(std::string_view head);

// Lines wrap at the window's edge unless a line of the file is longer than
// this: the rich-text box would take very long to wrap it.
constexpr size_t kLongestWrappedLine = 4000;
bool wraps(std::string_view text);

// The error box's text for a file that cannot be read.
std::string open_error(const std::string& path, const std::string& reason);

}  // namespace help
