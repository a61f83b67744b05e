#pragma once

#include <string>
#include <string_view>

namespace ui {

// UTF-8 to code points; a byte that is not valid UTF-8 becomes U+FFFD, so
// every input decodes and nothing is dropped silently.
std::u32string DecodeUtf8(std::string_view text);
std::string EncodeUtf8(std::u32string_view text);
void AppendUtf8(std::string& out, char32_t c);

} // namespace ui
