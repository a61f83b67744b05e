// The link control, the error box of a failed opening and the About box,
// on the headless back end (text is measured 6 x 13 pixels a character).
#include "ui/dialog_template.h"
#include "ui/link_look.h"
#include "ui/open_address.h"
#include "ui_headless/headless_backend.h"
#include "web/about_dlg.h"

#include <gtest/gtest.h>

namespace {

using ui::Rect;
using ui::Size;

TEST(FitRectToText, KeepsTheEdgeOrCentreTheStyleNames)
{
    const Rect r{10, 20, 110, 40}; // 100 x 20
    const Size text{41, 13};
    EXPECT_EQ(ui::FitRectToText(r, text, 0), (Rect{10, 20, 51, 33}));
    EXPECT_EQ(ui::FitRectToText(r, text, ui::kAlignCenter), (Rect{39, 20, 81, 33})); // (100-41)/2 = 29 each side
    EXPECT_EQ(ui::FitRectToText(r, text, ui::kAlignRight), (Rect{69, 20, 110, 33}));
    EXPECT_EQ(ui::FitRectToText(r, text, ui::kCenterVertically), (Rect{10, 23, 51, 37})); // (20-13)/2 = 3
    EXPECT_EQ(ui::FitRectToText(r, text, ui::kAlignCenter | ui::kAlignRight), (Rect{39, 20, 81, 33}));
}

TEST(FitRectToText, ATextLargerThanTheControlMakesItGrow)
{
    const Rect r{10, 20, 30, 30}; // 20 x 10
    const Size text{25, 13};
    EXPECT_EQ(ui::FitRectToText(r, text, 0), (Rect{10, 20, 35, 33}));
    // Differences of -5 and -3 halve toward zero: 2 and 1 on each side.
    EXPECT_EQ(ui::FitRectToText(r, text, ui::kAlignCenter | ui::kCenterVertically), (Rect{8, 19, 32, 31}));
    EXPECT_EQ(ui::FitRectToText(r, text, ui::kAlignRight), (Rect{5, 20, 30, 33}));
}

class AboutBoxTest : public ::testing::Test {
protected:
    ui::headless::HeadlessWindow& Show(CAboutDlg& about)
    {
        about.DoModal();
        return m_ui.WindowOf(about);
    }
    ui::COLORREF Colour(ui::headless::HeadlessWindow& w) { return w.Link(web::IDC_WEB_LINK)->colour; }

    ui::headless::HeadlessBackend m_ui;
};

TEST_F(AboutBoxTest, TheLinkShowsTheAddressWithoutSchemeAndFitsItsText)
{
    CAboutDlg about;
    auto& w = Show(about);
    EXPECT_EQ(m_ui.ModalRuns().back(), "About Vantrel");
    EXPECT_EQ(w.Text(web::IDC_WEB_LINK), "www.vantrel.org/");
    const auto look = w.Link(web::IDC_WEB_LINK);
    ASSERT_TRUE(look);
    EXPECT_EQ(look->toolTip, "https://www.vantrel.org/");
    EXPECT_TRUE(look->underlined);
    EXPECT_TRUE(look->handCursor);
    EXPECT_EQ(look->colour, ui::Rgb(0, 0, 238));
    // At the template's left and top (40, 40 dialog units = 60, 65 pixels).
    EXPECT_EQ(w.GetRect(web::IDC_WEB_LINK), ui::RectFromSize(60, 65, 16 * 6, 13));
    EXPECT_EQ(w.GetFocus(), ui::IDOK);
    w.PressEscape();
    EXPECT_TRUE(w.Ended());
}

TEST_F(AboutBoxTest, TheColourFollowsHoverAndASuccessfulOpening)
{
    CAboutDlg about;
    auto& w = Show(about);
    w.HoverLink(web::IDC_WEB_LINK, true);
    EXPECT_EQ(Colour(w), m_ui.HighlightColour());
    w.HoverLink(web::IDC_WEB_LINK, false);
    EXPECT_EQ(Colour(w), ui::Rgb(0, 0, 238));

    w.ClickLink(web::IDC_WEB_LINK);
    EXPECT_EQ(m_ui.OpenedAddresses(), std::vector<std::string>{"https://www.vantrel.org/"});
    EXPECT_EQ(Colour(w), m_ui.HighlightColour()); // the mouse is still on it
    w.HoverLink(web::IDC_WEB_LINK, false);
    EXPECT_EQ(Colour(w), ui::Rgb(85, 26, 139));
    EXPECT_TRUE(m_ui.Boxes().empty());
    EXPECT_EQ(m_ui.Beeps(), 0);
}

TEST_F(AboutBoxTest, AFailedOpeningBeepsReportsTheCodeAndClearsTheFollowedState)
{
    CAboutDlg about;
    auto& w = Show(about);
    about.m_wndLink.MarkFollowed(true);
    m_ui.SetOpenAddressResult(ui::kOpenNoHandler);
    int beepsBeforeBox = -1;
    // The user moves the mouse off the link to press the box's OK; the box
    // holds the mouse, so the link hears nothing of it.
    m_ui.SetBoxResponder([&](const auto&) {
        beepsBeforeBox = m_ui.Beeps();
        w.MoveMouseUnseen(web::IDC_WEB_LINK, false);
    });
    w.ClickLink(web::IDC_WEB_LINK);
    ASSERT_EQ(m_ui.Boxes().size(), 1u);
    EXPECT_EQ(m_ui.Boxes()[0].text,
              "Unable to open hyperlink:\n\nThere is no application associated\nwith the given filename extension.");
    EXPECT_EQ(beepsBeforeBox, 1);
    EXPECT_FALSE(about.m_wndLink.IsFollowed());
    EXPECT_EQ(Colour(w), ui::Rgb(0, 0, 238));
    // Back on the link, the next failure's box closes with the mouse still there.
    m_ui.SetBoxResponder([](const auto&) {});
    w.ClickLink(web::IDC_WEB_LINK);
    EXPECT_EQ(Colour(w), m_ui.HighlightColour());
    w.HoverLink(web::IDC_WEB_LINK, false);
    EXPECT_EQ(Colour(w), ui::Rgb(0, 0, 238));

    m_ui.SetOpenAddressResult(ui::kOpenSucceeded);
    w.ClickLink(web::IDC_WEB_LINK);
    EXPECT_TRUE(about.m_wndLink.IsFollowed());
}

} // namespace
