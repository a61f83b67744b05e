#pragma once

#include <string>
#include <string_view>

class wxWindow;

namespace ui_wx {

// Makes a label name the control after it, the way GTK ties labelled
// widgets together: the label's mnemonic (Alt+letter) moves the focus to
// the control, and assistive technologies (AT-SPI) announce the control by
// the label's text.
void TieLabelToControl(wxWindow& label, wxWindow& control, std::string_view caption);

// Gives a control the name assistive technologies announce for it.
void SetAccessibleName(wxWindow& control, std::string_view name);

// The name assistive technologies see for a control.
std::string AccessibleName(wxWindow& control);

} // namespace ui_wx
