#include "ui_wx/dialog_geometry.h"

#include <cmath>

namespace ui_wx {

int ScaledPixels(int templatePixels, double scale)
{
    return static_cast<int>(std::lround(templatePixels * scale));
}

ui::Rect TemplateRectToPixels(const ui::Rect& dialogUnits, double scale)
{
    const ui::Rect px = ui::DialogUnitsToPixels(dialogUnits);
    return ui::Rect{ScaledPixels(px.left, scale), ScaledPixels(px.top, scale), ScaledPixels(px.right, scale),
                    ScaledPixels(px.bottom, scale)};
}

ui::Rect TemplateClientRect(int widthUnits, int heightUnits, double scale)
{
    return TemplateRectToPixels(ui::Rect{0, 0, widthUnits, heightUnits}, scale);
}

} // namespace ui_wx
