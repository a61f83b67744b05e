#include "web/html_ctrl.h"

#include "res/bitmaps.h"
#include "res/embedded_files.h"
#include "res/resource_ids.h"
#include "ui/bitmap.h"
#include "ui/dialog.h"
#include "ui/web_view.h"
#include "ui_headless/headless_backend.h"

#include <array>
#include <chrono>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using ui::headless::HeadlessBackend;
using ui::headless::HeadlessWindow;

constexpr int kPane = 1022;
constexpr const char* kRemote = "https://www.vantrel.org/adv/advert.html";

const std::array<ui::ControlTemplate, 2> kControls = {{
    {kPane, ui::ControlKind::StaticText, "Static", ui::RectFromSize(134, 343, 437, 105), ui::kGroup},
    {res::IDC_HELP, ui::ControlKind::BitmapButton, "Help", ui::RectFromSize(7, 432, 19, 16), ui::kTabStop},
}};
const ui::DialogTemplate kTemplate = {1, "Pane", 578, 455, true, kControls};

// A window holding only the pane, created and sent to the web at start-up.
class PaneDialog : public ui::MappedDialog<PaneDialog> {
public:
    PaneDialog() : MappedDialog(kTemplate) {}
    static const ui::MessageMap<PaneDialog>& GetMessageMap()
    {
        static const ui::MessageMap<PaneDialog> map{};
        return map;
    }
    bool OnInitDialog() override
    {
        MappedDialog::OnInitDialog();
        created = pane.CreateFromStatic(kPane, *this);
        if (created)
            pane.Navigate2(kRemote);
        pane.SetNewWindowHandler([this](std::string_view url) { opened.emplace_back(url); });
        return true;
    }

    CHTMLCtrl pane;
    bool created = false;
    std::vector<std::string> opened;
};

class HtmlPane : public ::testing::Test {
protected:
    HeadlessWindow& Start()
    {
        dialog.DoModal();
        return backend.WindowOf(dialog);
    }
    HeadlessBackend backend;
    PaneDialog dialog;
};

const std::string kEmbeddedAdvert = ui::EmbeddedUrl("ADVERT.HTML");

TEST_F(HtmlPane, FailedLoadEndsOnTheEmbeddedAdvert)
{
    HeadlessWindow& w = Start();
    ASSERT_TRUE(dialog.created);
    EXPECT_TRUE(w.IsWebView(kPane));
    EXPECT_EQ(w.Navigations(kPane), std::vector<std::string>{kRemote});
    EXPECT_EQ(w.AnswerWait(kPane), std::chrono::seconds(10)); // no answer by then counts as a failure

    w.FinishLoad(kPane, "Problem loading page"); // the engine's error page
    EXPECT_EQ(w.Navigations(kPane), (std::vector<std::string>{kRemote, kEmbeddedAdvert}));
    w.FinishLoad(kPane, "advert"); // the embedded page itself ends the cycle
    EXPECT_EQ(w.Navigations(kPane).size(), 2u);
}

TEST_F(HtmlPane, RemoteAdvertStaysWhateverItsCaseAnotherPageGoes)
{
    HeadlessWindow& w = Start();
    w.FinishLoad(kPane, "ADVERT");
    EXPECT_EQ(w.Navigations(kPane).size(), 1u);
    w.FinishLoad(kPane, "adverts");
    EXPECT_EQ(w.Navigations(kPane).back(), kEmbeddedAdvert);
}

TEST_F(HtmlPane, OnlyWebPagesDecideNotTheBlankStartNorTheEmbeddedPage)
{
    HeadlessWindow& w = Start();
    dialog.pane.Navigate2("about:blank");
    w.FinishLoad(kPane, ""); // the view's blank start page, before any request left
    dialog.pane.Navigate2(kRemote);
    w.FinishLoad(kPane, "Advert");
    EXPECT_EQ(w.Navigations(kPane).back(), kRemote);

    w.FinishLoad(kPane, "");
    EXPECT_EQ(w.AnswerWait(kPane), std::chrono::milliseconds::zero()); // the embedded page is not timed
    w.FinishLoad(kPane, ""); // the embedded page did not come out as the advert
    EXPECT_EQ(w.Navigations(kPane).size(), 4u);
}

TEST_F(HtmlPane, NewWindowGoesToTheOwnerNotThePaneAndOnlyForWebAddresses)
{
    HeadlessWindow& w = Start();
    w.RequestNewWindow(kPane, "file:///etc/passwd");
    w.RequestNewWindow(kPane, "smb://server/share");
    w.RequestNewWindow(kPane, "https://www.vantrel.org/upload.html");
    EXPECT_EQ(dialog.opened, std::vector<std::string>{"https://www.vantrel.org/upload.html"});
    EXPECT_EQ(w.Navigations(kPane).size(), 1u);
}

TEST_F(HtmlPane, WithoutABrowserAPlainStaticStandsInAndNothingNavigates)
{
    backend.SetWebViewsAvailable(false);
    HeadlessWindow& w = Start();
    EXPECT_FALSE(dialog.created);
    EXPECT_FALSE(w.IsWebView(kPane));
    EXPECT_EQ(w.Text(kPane), "");
    dialog.pane.LoadFromResource("ADVERT.HTML");
    EXPECT_TRUE(w.Navigations(kPane).empty());
}

TEST(EmbeddedPages, TitlesAndImagesAreInsideTheProgram)
{
    const std::string_view advert = res::EmbeddedText("ADVERT.HTML");
    const std::string_view help = res::EmbeddedText("VANTREL.HTML");
    EXPECT_NE(advert.find("<title>advert</title>"), std::string_view::npos);
    EXPECT_NE(advert.find("width=\"776\""), std::string_view::npos);
    EXPECT_NE(help.find("<title>Vantrel HELP</title>"), std::string_view::npos);

    // Every image a page names is embedded and gets inlined.
    struct Files : ui::WebViewClient {
        std::optional<ui::EmbeddedResource> FindEmbedded(std::string_view name) const override
        {
            const auto f = res::FindEmbeddedFile(name);
            return f ? std::optional<ui::EmbeddedResource>({f->mimeType, f->bytes}) : std::nullopt;
        }
        void DocumentComplete(std::string_view, std::string_view) override {}
        void NewWindowRequested(std::string_view) override {}
    } files;
    for (std::string_view page : {advert, help}) {
        const std::string inlined = ui::InlineEmbeddedImages(page, files);
        EXPECT_EQ(inlined.find("src=\"vantrel"), std::string::npos);
        EXPECT_EQ(inlined.find("src=\"advert"), std::string::npos);
        EXPECT_NE(inlined.find("src=\"data:image/svg+xml;base64,"), std::string::npos);
    }
}

TEST(HelpBitmap, EighteenSquareOnATwentyFiveButton)
{
    const auto bitmap = res::LoadBitmap(res::IDB_HELP);
    ASSERT_EQ(ui::XpmSize(bitmap), (ui::Size{18, 18}));
    const ui::Rect button = ui::RectFromSize(10, 702, 28, 26);
    EXPECT_EQ(ui::ButtonRectAroundBitmap(button, {18, 18}, 7), ui::RectFromSize(10, 703, 25, 25));
}

} // namespace
