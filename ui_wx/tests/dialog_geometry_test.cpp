#include "ui_wx/dialog_geometry.h"

#include "res/main_dialog.h"

#include <gtest/gtest.h>

namespace {

TEST(DialogGeometry, ScalesEdgesSoTouchingControlsStillTouch)
{
    const ui::Rect a = ui_wx::TemplateRectToPixels(ui::RectFromSize(13, 395, 52, 11), 0.94);
    const ui::Rect b = ui_wx::TemplateRectToPixels(ui::RectFromSize(65, 395, 52, 11), 0.94);
    EXPECT_EQ(a.right, b.left);
    const ui::Rect unscaled = ui_wx::TemplateRectToPixels(ui::RectFromSize(134, 6, 437, 230), 1.0);
    EXPECT_EQ(unscaled, ui::DialogUnitsToPixels(ui::RectFromSize(134, 6, 437, 230)));
}

TEST(DialogGeometry, MainWindowFitsSmallScreenWithTitleBarAndPanel)
{
    const ui::DialogTemplate& t = res::MainDialogTemplate();
    const ui::Rect client = ui_wx::TemplateClientRect(t.width, t.height);
    constexpr int kTitleBar = 37;
    constexpr int kPanel = 32;
    EXPECT_LE(client.Width(), 1366);
    EXPECT_LE(client.Height() + kTitleBar + kPanel, 768);
}

TEST(DialogGeometry, EveryControlInsideTheClientArea)
{
    const ui::DialogTemplate& t = res::MainDialogTemplate();
    const ui::Rect client = ui_wx::TemplateClientRect(t.width, t.height);
    for (const ui::ControlTemplate& c : t.controls) {
        const ui::Rect r = ui_wx::TemplateRectToPixels(c.rect);
        if (c.kind == ui::ControlKind::DropDownList)
            continue; // its template height is the open list's
        EXPECT_GE(r.left, 0) << c.caption;
        EXPECT_GE(r.top, 0) << c.caption;
        EXPECT_LE(r.right, client.right) << c.caption;
        EXPECT_LE(r.bottom, client.bottom) << c.caption;
    }
}

} // namespace
