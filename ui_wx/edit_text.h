#pragma once

#include <string>
#include <string_view>

namespace ui_wx {

// A multi-line box's text as the framework reads it: line breaks are
// "\r\n". The box keeps "\r\n" as one line break itself (Enter types it),
// but text pasted from other programs brings bare "\n", which is widened
// here. A bare "\r" stays what it is, one character.
std::string WithCrLfLineBreaks(std::string_view text);

} // namespace ui_wx
