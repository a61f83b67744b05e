// The pane's browser control: which pages it is given and where links go,
// and, with a control whose engine is missing (Wine's here), that a web
// address is reported failed and the pane falls back to its placeholder.
#include "ui_win32/browser_page.h"
#include "ui_win32/browser_pane.h"

#include <chrono>
#include <string>
#include <vector>

#include <ole2.h>

#include <gtest/gtest.h>

namespace {

using ui_win32::DecideNavigation;
using ui_win32::PaneNavigation;

constexpr unsigned char kPicture[] = {'<', 's', 'v', 'g', '/', '>'};
constexpr std::string_view kPage = "<html><HEAD><title>advert</title></head><body><img src=\"p.svg\"></body></html>";

class Client final : public ui::WebViewClient {
public:
    std::optional<ui::EmbeddedResource> FindEmbedded(std::string_view name) const override
    {
        if (name == "p.svg")
            return ui::EmbeddedResource{"image/svg+xml", kPicture};
        if (name == "PAGE.HTML")
            return ui::EmbeddedResource{"text/html",
                                        {reinterpret_cast<const unsigned char*>(kPage.data()), kPage.size()}};
        return std::nullopt;
    }
    void DocumentComplete(std::string_view url, std::string_view title) override
    {
        completed.emplace_back(std::string(url) + "|" + std::string(title));
    }
    void NewWindowRequested(std::string_view url) override { outside.emplace_back(url); }

    std::vector<std::string> completed;
    std::vector<std::string> outside;
};

TEST(BrowserPage, AsksForTheNewestModeInsideTheHeadAndInlinesPictures)
{
    const Client client;
    const std::string page = ui_win32::PageForBrowserControl(kPage, client);
    EXPECT_EQ(page.find("<html><HEAD><meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge\"><title>"), 0u) << page;
    EXPECT_NE(page.find("src=\"data:image/svg+xml;base64,PHN2Zy8+\""), std::string::npos) << page;
    // No head (or only a <header>): the request goes first.
    EXPECT_EQ(ui_win32::PageForBrowserControl("<header>x</header>", client).find("<meta"), 0u);
}

TEST(BrowserPage, LinksOnEmbeddedPagesGoOutsideAndPagesReachOnlyTheWeb)
{
    // The program's own loads: its blank page, web pages; never a file.
    EXPECT_EQ(DecideNavigation("about:blank", true, true), PaneNavigation::Go);
    EXPECT_EQ(DecideNavigation("https://www.vantrel.org/adv/advert.html", true, true), PaneNavigation::Go);
    EXPECT_EQ(DecideNavigation("file:///c:/windows/win.ini", false, true), PaneNavigation::Refuse);
    // A click on the embedded page opens the user's browser; a web page may
    // go on to another inside the pane (which then falls back).
    EXPECT_EQ(DecideNavigation("HTTPS://www.vantrel.org/", true, false), PaneNavigation::OpenOutside);
    EXPECT_EQ(DecideNavigation("http://example.org/", false, false), PaneNavigation::Go);
    for (const char* elsewhere : {"file:///c:/", "about:blank", "javascript:alert(1)", "mailto:a@b", "ms-settings:"})
        EXPECT_EQ(DecideNavigation(elsewhere, true, false), PaneNavigation::Refuse) << elsewhere;
}

// Serves the thread's messages until `done` holds or the time is up.
template <typename Done>
bool PumpUntil(Done done, std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(10);
    }
    return true;
}

TEST(BrowserPane, WithoutAnEngineAFailedWebPageIsReportedAndThePlaceholderComesBack)
{
    // With an engine there is nothing to fall back from; and Wine's engine,
    // without its Gecko download, would stop the test with an installer box.
    if (HMODULE engine = ::LoadLibraryW(L"mshtml.dll")) {
        ::FreeLibrary(engine);
        GTEST_SKIP() << "this test needs the control without its engine";
    }
    ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
    HWND top = ::CreateWindowExW(0, L"STATIC", L"pane", WS_OVERLAPPEDWINDOW, 0, 0, 400, 200, nullptr, nullptr, nullptr,
                                 nullptr);
    HWND placeholder =
        ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 10, 300, 100, top, nullptr, nullptr, nullptr);
    ASSERT_TRUE(top && placeholder);
    {
        Client client;
        auto pane = ui_win32::BrowserPane::Host(placeholder, client);
        if (!pane) {
            ::DestroyWindow(top);
            ::OleUninitialize();
            GTEST_SKIP() << "no browser control here";
        }
        EXPECT_NE(::GetWindow(placeholder, GW_CHILD), nullptr) << "the control's window stands in the pane";

        // Nothing listens on the discard port of the loopback: the load fails.
        const std::string address = "http://127.0.0.1:9/adv/advert.html";
        pane->Navigate(address, std::chrono::seconds(20));
        ASSERT_TRUE(PumpUntil([&] { return !client.completed.empty(); }, std::chrono::seconds(30)));
        EXPECT_EQ(client.completed, std::vector<std::string>{address + "|"});

        // The embedded page cannot be shown either: the control goes.
        pane->Navigate(ui::EmbeddedUrl("PAGE.HTML"), {});
        EXPECT_TRUE(PumpUntil([&] { return ::GetWindow(placeholder, GW_CHILD) == nullptr; }, std::chrono::seconds(30)));
        EXPECT_EQ(client.completed.size(), 1u);
        EXPECT_TRUE(client.outside.empty());
    }
    ::DestroyWindow(top);
    ::OleUninitialize();
}

} // namespace
