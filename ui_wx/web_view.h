#pragma once

#include <chrono>
#include <functional>
#include <string_view>

class wxRect;
class wxWindow;

namespace ui {
class WebViewClient;
}

namespace ui_wx {

// The client a view reports to; null once its owner can no longer hear.
using WebClientFinder = std::function<ui::WebViewClient*()>;

// The pane's view: wx's light HTML view, for the embedded pages and pages
// from the web alike. It runs no scripts and reads no style sheets, and no
// browser engine stands behind it, so a pane costs a few megabytes whatever
// it shows. It reads only what the program hands it (pictures from memory),
// never a file or the network by itself.
//
// A click on a link to a place in the page ("#name") scrolls there; a click
// on any other link hands the link's address, made whole against the page's
// own, to the client's NewWindowRequested once the click has been handled.
// The view itself never leaves its page.
wxWindow* MakePageView(wxWindow& parent, int id, const wxRect& rect, WebClientFinder client);
bool IsPageView(const wxWindow& window);

// Shows the embedded page an address made with ui::EmbeddedUrl names, its
// SVG pictures rendered to bitmaps at the size their tags ask for.
void ShowEmbeddedPage(wxWindow& view, std::string_view url);

// Fetches a web page and its pictures (page_fetch.h) and shows it, then
// reports DocumentComplete with the page's address and title. A page that
// cannot be fetched within `answerWithin` (above zero; else 30 s) is
// reported with an empty title, and the view keeps what it showed. Another
// page shown in the view meanwhile ends the fetch.
void ShowWebPage(wxWindow& view, std::string_view url, std::chrono::milliseconds answerWithin);

} // namespace ui_wx
