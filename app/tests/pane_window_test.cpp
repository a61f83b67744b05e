#include "app/tests/window_fixture.h"

#include "res/bitmaps.h"
#include "res/strings.h"
#include "ui/open_address.h"
#include "ui/web_view.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

using namespace res;

namespace {

// The right-hand column's rectangles, top to bottom.
struct Column {
    ui::Rect rx, tx, pane;
    bool operator==(const Column&) const = default;
};

Column ColumnOf(ui::headless::HeadlessWindow& w)
{
    return {w.GetRect(IDC_RX), w.GetRect(IDC_TX), w.GetRect(IDC_ADVERT)};
}

void ExpectSettled(ui::headless::HeadlessWindow& w)
{
    const ui::Rect client = w.GetClientRect();
    const Column c = ColumnOf(w);
    EXPECT_EQ(c.pane.right, client.right - 10);
    EXPECT_EQ(c.pane.bottom, client.bottom - 10);
    EXPECT_GE(c.tx.top - c.rx.bottom, 9);
}

} // namespace

TEST_F(WindowTest, ThePaneGoesToTheAdvertAddressAndFallsBackToTheEmbeddedPage)
{
    Start();
    auto& w = Win();
    ASSERT_TRUE(w.IsWebView(IDC_ADVERT));
    EXPECT_EQ(w.Navigations(IDC_ADVERT), std::vector<std::string>{std::string(kAdvertUrl)});
    w.FinishLoad(IDC_ADVERT, ""); // no network: the engine's error page
    EXPECT_EQ(w.Navigations(IDC_ADVERT).back(), ui::EmbeddedUrl("ADVERT.HTML"));
    EXPECT_TRUE(m_ui.Boxes().empty());

    // A link that asks for a new window goes to the user's browser.
    w.RequestNewWindow(IDC_ADVERT, "https://www.vantrel.org/xmodem.html");
    EXPECT_EQ(m_ui.OpenedAddresses(), std::vector<std::string>{"https://www.vantrel.org/xmodem.html"});
    EXPECT_EQ(w.Navigations(IDC_ADVERT).size(), 2u);
}

TEST_F(WindowTest, AnEmptyAdvertSettingShowsTheEmbeddedPageAtOnce)
{
    WriteIni("[ADVERT]\nurl=\n");
    Start();
    EXPECT_EQ(Win().Navigations(IDC_ADVERT), std::vector<std::string>{ui::EmbeddedUrl("ADVERT.HTML")});
}

TEST_F(WindowTest, HelpButtonAndF1OpenTheWrittenHelpPageAndFailuresStayQuiet)
{
    const char* oldRuntime = std::getenv("XDG_RUNTIME_DIR");
    const std::string saved = oldRuntime ? oldRuntime : "";
    ::setenv("XDG_RUNTIME_DIR", m_dir.c_str(), 1);
    Start();
    Win().Click(IDC_HELP);
    Win().Focus(IDC_TX);
    Win().PressF1();
    m_ui.SetOpenAddressResult(ui::kOpenNoHandler);
    Win().PressF1();
    oldRuntime ? ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1) : ::unsetenv("XDG_RUNTIME_DIR");

    const std::string page = m_dir + "/vantrel/help/VANTREL.HTML";
    EXPECT_EQ(m_ui.OpenedAddresses(), std::vector<std::string>(3, "file://" + page));
    std::ifstream in(page);
    const std::string html(std::istreambuf_iterator<char>(in), {});
    EXPECT_NE(html.find("<title>Vantrel HELP</title>"), std::string::npos);
    EXPECT_TRUE(m_ui.Boxes().empty());
}

TEST_F(WindowTest, HideTogglesThePaneButABadCycleKeepsItAsItWas)
{
    Start();
    auto& w = Win();
    w.Click(IDC_HIDE);
    EXPECT_FALSE(w.IsVisible(IDC_ADVERT));
    w.Click(IDC_HIDE);
    EXPECT_TRUE(w.IsVisible(IDC_ADVERT));

    w.Type(IDC_TX_CYCLE, "fast");
    w.Click(IDC_HIDE);
    ASSERT_EQ(m_ui.Boxes().size(), 1u);
    EXPECT_EQ(m_ui.Boxes()[0].text, "Please enter a positive integer.");
    EXPECT_TRUE(w.IsVisible(IDC_ADVERT));
}

TEST_F(WindowTest, TheHelpButtonShowsItsBitmapOnATwentyFiveSquareKeepingItsBottomLeft)
{
    Start();
    auto& w = Win();
    const ui::Rect button = w.GetRect(IDC_HELP);
    EXPECT_EQ(w.Bitmap(IDC_HELP).data(), res::LoadBitmap(IDB_HELP).data());
    EXPECT_EQ(button.Width(), 25);
    EXPECT_EQ(button.Height(), 25);
    // The template's corner: left 7, bottom 448 in dialog units.
    const ui::Rect hide = w.GetRect(IDC_HIDE);
    EXPECT_EQ(button.bottom, hide.bottom);
}

TEST_F(WindowTest, LayoutSurvivesShrinkingMinimisingAndHiding)
{
    Start();
    auto& w = Win();
    const ui::Rect client = w.GetClientRect();
    w.Resize(client.right, client.bottom);
    const Column settled = ColumnOf(w);
    const ui::Rect open = w.GetRect(IDC_OPEN), help = w.GetRect(IDC_HELP);

    // Far smaller than the column needs: the panes' left edges and the
    // receive box's top hold, everything else follows the rule.
    w.Resize(settled.pane.left + 20, settled.rx.top + 40);
    ExpectSettled(w);
    const Column small = ColumnOf(w);
    EXPECT_EQ(small.pane.Height(), settled.pane.Height());
    EXPECT_EQ(small.tx.Height(), settled.tx.Height());
    EXPECT_EQ(small.rx.top, settled.rx.top);
    EXPECT_LT(small.rx.Height(), 0);
    EXPECT_EQ(small.rx.left, settled.rx.left);
    EXPECT_EQ(small.pane.Width(), 10);

    // Minimised (no client area), then restored.
    w.Resize(0, 0);
    w.Resize(client.right, client.bottom);
    EXPECT_EQ(ColumnOf(w), settled);

    // A hidden pane is still placed, and nothing takes its place.
    w.Click(IDC_HIDE);
    w.Resize(client.right + 100, client.bottom + 50);
    ExpectSettled(w);
    EXPECT_EQ(ColumnOf(w).rx.bottom, settled.rx.bottom + 50);
    EXPECT_FALSE(w.IsVisible(IDC_ADVERT));
    EXPECT_EQ(w.GetRect(IDC_OPEN), open);
    EXPECT_EQ(w.GetRect(IDC_HELP), help);
}
