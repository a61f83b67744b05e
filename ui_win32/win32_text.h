#pragma once

#include <string>
#include <string_view>

namespace ui_win32 {

// The framework speaks UTF-8, the system UTF-16. Bytes that are not UTF-8
// become U+FFFD, so every text converts and nothing is dropped silently.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

} // namespace ui_win32
