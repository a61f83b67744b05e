#pragma once

#include "ui/colour.h"
#include "ui/geometry.h"

#include <cstdint>

namespace ui {

// The text colours of a web link.
struct LinkColours {
    COLORREF normal;   // not opened yet
    COLORREF followed; // opened successfully
    COLORREF hover;    // the mouse is over it
};

inline constexpr COLORREF kLinkNormalColour = Rgb(0, 0, 238);
inline constexpr COLORREF kLinkFollowedColour = Rgb(85, 26, 139);

// The colour a link is drawn in: the hover colour while the mouse is over
// it, otherwise the followed colour once it has been opened, else the
// normal one.
COLORREF LinkTextColour(const LinkColours& colours, bool hover, bool followed);

// The rectangle of a static text control made exactly as large as its text.
// It keeps its vertical centre with kCenterVertically, else its top edge;
// its horizontal centre with kAlignCenter, else its right edge with
// kAlignRight, else its left edge. Centring splits the difference evenly
// (integer division toward zero), so an odd difference leaves the control
// one pixel larger than the text; a text larger than the control makes it
// grow the same way.
Rect FitRectToText(const Rect& control, const Size& text, std::uint32_t style);

} // namespace ui
