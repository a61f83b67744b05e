#include "ui/bitmap.h"

#include <cstdio>

namespace ui {

std::optional<Size> XpmSize(std::span<const char* const> xpm)
{
    if (xpm.empty() || !xpm[0])
        return std::nullopt;
    int width = 0;
    int height = 0;
    if (std::sscanf(xpm[0], "%d %d", &width, &height) != 2 || width <= 0 || height <= 0)
        return std::nullopt;
    return Size{width, height};
}

Rect ButtonRectAroundBitmap(const Rect& button, Size bitmap, int frame)
{
    const int width = bitmap.cx + frame;
    const int height = bitmap.cy + frame;
    return RectFromSize(button.left, button.bottom - height, width, height);
}

} // namespace ui
