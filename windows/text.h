#pragma once
// UTF-8, as the program holds text, and UTF-16, as Windows takes it.

#include <string>

namespace win32_com {

std::wstring Wide(const std::string& text);
std::string Utf8(const std::wstring& text);

} // namespace win32_com
