#include "ui/link_look.h"

#include "ui/dialog_template.h"

namespace ui {

COLORREF LinkTextColour(const LinkColours& colours, bool hover, bool followed)
{
    if (hover)
        return colours.hover;
    return followed ? colours.followed : colours.normal;
}

Rect FitRectToText(const Rect& control, const Size& text, std::uint32_t style)
{
    Rect r = control;
    if (style & kCenterVertically) {
        const int shrink = (r.Height() - text.cy) / 2;
        r.top += shrink;
        r.bottom -= shrink;
    } else {
        r.bottom = r.top + text.cy;
    }
    if (style & kAlignCenter) {
        const int shrink = (r.Width() - text.cx) / 2;
        r.left += shrink;
        r.right -= shrink;
    } else if (style & kAlignRight) {
        r.left = r.right - text.cx;
    } else {
        r.right = r.left + text.cx;
    }
    return r;
}

} // namespace ui
