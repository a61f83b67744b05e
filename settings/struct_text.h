#pragma once
// Decoding of the struct-value text form (FormatStruct in profile.h encodes).

#include <cstddef>
#include <string_view>

namespace settings {

// Fills data (size bytes) and returns true only when text is exactly
// 2 * size + 2 hex digits whose last byte is the checksum of the others.
// data is untouched on failure.
bool ParseStructText(std::string_view text, void* data, std::size_t size);

} // namespace settings
