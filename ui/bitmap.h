#pragma once

#include "ui/geometry.h"

#include <optional>
#include <span>

namespace ui {

// The width and height an XPM image declares in its header row; nothing
// when the rows do not begin with a readable header.
std::optional<Size> XpmSize(std::span<const char* const> xpm);

// Where a button goes to fit an image with `frame` pixels around it in
// each direction: it keeps its left and bottom edges and becomes
// image + frame wide and high.
Rect ButtonRectAroundBitmap(const Rect& button, Size bitmap, int frame);

} // namespace ui
