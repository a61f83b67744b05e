#pragma once

#include <string>
#include <string_view>

#include <wx/string.h>

namespace ui_wx {

// The framework's UTF-8 texts to wx strings and back. Bytes that are not
// valid UTF-8 become U+FFFD, one character each, so nothing is lost silently
// and one position stays one character.
wxString ToWx(std::string_view utf8);
std::string FromWx(const wxString& text);

} // namespace ui_wx
