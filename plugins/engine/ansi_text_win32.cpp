#include <windows.h>

#include <climits>

#include "ansi_text.h"

namespace vl {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::string ansi_from_utf16(const std::u16string& text) {
    if (text.empty() || text.size() > INT_MAX / 4) return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int n = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(CP_ACP, 0, wide, n, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::string(text.size(), '?');
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, n, out.data(), size, nullptr, nullptr);
    return out;
}

std::u16string utf16_from_ansi(const std::string& text) {
    if (text.empty() || text.size() > INT_MAX / 2) return {};
    const int n = static_cast<int>(text.size());
    const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), n, nullptr, 0);
    if (size <= 0) return {};
    std::u16string out(static_cast<size_t>(size), u'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), n, reinterpret_cast<wchar_t*>(out.data()), size);
    return out;
}

}  // namespace vl
