#pragma once

#include <string>
#include <string_view>

namespace ui_wx {

// A caption as the user reads it: "&&" is a literal ampersand, a single
// "&" only marks the mnemonic letter and disappears.
std::string WithoutMnemonic(std::string_view caption);

// The name a screen reader announces for the control a label stands before:
// the label's text without its mnemonic marker and without a trailing colon
// ("Baud &Rate:" names the list "Baud Rate").
std::string AccessibleNameFromLabel(std::string_view caption);

} // namespace ui_wx
