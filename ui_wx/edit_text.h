#pragma once

#include <string>
#include <string_view>

namespace ui_wx {

// The limit an edit control keeps for a requested limit: zero or less asks
// for the largest the platform allows, as Win32's EM_LIMITTEXT does.
inline constexpr int kLargestTextLimit = 0x7FFFFFFE;
// An edit control's limit before anyone sets one.
inline constexpr int kDefaultTextLimit = 0x7FFFFFFE;
int EffectiveTextLimit(int requested);

// A multi-line box's text as the framework reads it: line breaks are
// "\r\n". The box keeps "\r\n" as one line break itself (Enter types it),
// but text pasted from other programs brings bare "\n", which is widened
// here. A bare "\r" stays what it is, one character.
std::string WithCrLfLineBreaks(std::string_view text);

} // namespace ui_wx
