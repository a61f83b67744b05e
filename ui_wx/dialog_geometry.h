#pragma once

#include "ui/geometry.h"

namespace ui_wx {

// GTK's controls need more height than Win32's, and its fonts are wider, so
// the template's pixels (Win32's fixed dialog base units) are all multiplied
// by one factor. The value keeps the main window, title bar and a desktop
// panel inside a 1366 x 768 screen while every control keeps room for its
// compact GTK height. Device scaling (HiDPI) comes on top of this.
inline constexpr double kLayoutScale = 0.94;

// A length in template pixels after the global scale.
int ScaledPixels(int templatePixels, double scale = kLayoutScale);

// A control's rectangle in dialog units to window pixels before HiDPI
// scaling. The edges are scaled, not the sizes, so controls that touch in
// the template still touch.
ui::Rect TemplateRectToPixels(const ui::Rect& dialogUnits, double scale = kLayoutScale);

// The client area of a dialog of the given size in dialog units.
ui::Rect TemplateClientRect(int widthUnits, int heightUnits, double scale = kLayoutScale);

} // namespace ui_wx
