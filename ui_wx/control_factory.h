#pragma once

#include "ui/dialog_template.h"
#include "ui/geometry.h"

class wxWindow;

namespace ui_wx {

// Creates the wx control for one template entry on `parent`, at `pixels`
// (client pixels, already scaled). Drop-down lists take their natural
// height at the rectangle's top: a template gives them the height of the
// open list, which GTK opens by itself.
wxWindow* CreateControl(wxWindow& parent, const ui::ControlTemplate& control, const ui::Rect& pixels);

// The caption shown on an image button until it has its picture.
inline constexpr const char* kImageButtonStandIn = "?";

} // namespace ui_wx
