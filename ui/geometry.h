#pragma once

namespace ui {

// A rectangle by its edges, like the platform's RECT: right and bottom are
// one past the last pixel (or dialog unit).
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// A width and a height, like the platform's SIZE.
struct Size {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

inline Rect RectFromSize(int x, int y, int width, int height)
{
    return Rect{x, y, x + width, y + height};
}

// Win32's fixed dialog base units at 96 DPI for an 8-point "MS Sans Serif"
// dialog: 6 x 13 pixels per 4 x 8 dialog units. Both back ends use them, so
// every control lands where the template puts it, in the same proportions.
inline int DialogUnitsToPixelsX(int dlu)
{
    return dlu * 6 / 4;
}
inline int DialogUnitsToPixelsY(int dlu)
{
    return dlu * 13 / 8;
}

inline Rect DialogUnitsToPixels(const Rect& r)
{
    return Rect{DialogUnitsToPixelsX(r.left), DialogUnitsToPixelsY(r.top), DialogUnitsToPixelsX(r.right),
                DialogUnitsToPixelsY(r.bottom)};
}

} // namespace ui
