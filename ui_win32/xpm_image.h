#pragma once

#include "ui_win32/win32_api.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace ui_win32 {

// An XPM picture read into pixels: 0xAARRGGBB, top row first; transparent
// pixels ("None") have alpha 0.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;
};
std::optional<Pixels> ReadXpm(std::span<const char* const> xpm);

// A bitmap for a button's face: transparent pixels take `background`
// (a COLORREF), as the system's 3-D colours replace a resource bitmap's
// grey. Null when the rows cannot be read.
HBITMAP MakeFaceBitmap(std::span<const char* const> xpm, COLORREF background);

// An icon with its transparency. Null when the rows cannot be read.
HICON MakeIcon(std::span<const char* const> xpm);

} // namespace ui_win32
