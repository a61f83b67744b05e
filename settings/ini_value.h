#pragma once
// The rules that let any name and value the file can hold be written and read
// back unchanged: what may be stored on one INI line, and the quoting that
// keeps leading and trailing blanks.

#include <string>
#include <string_view>

namespace settings {

bool IsStorableSectionName(std::string_view section);
bool IsStorableKeyName(std::string_view key);
bool IsStorableValue(std::string_view value);

// A value with blanks at either end, or one that is itself wrapped in double
// quotes, is stored inside an extra pair of double quotes.
std::string EncodeStoredValue(std::string_view value);

// Undoes EncodeStoredValue; also stops at a NUL byte, as a C string would.
std::string DecodeStoredValue(std::string_view stored);

} // namespace settings
