#pragma once

#include <chrono>
#include <functional>
#include <string_view>

class wxRect;
class wxWebView;
class wxWindow;

namespace ui {
class WebViewClient;
}

namespace ui_wx {

// The client a view reports to; null once its owner can no longer hear.
using WebClientFinder = std::function<ui::WebViewClient*()>;

// A browser view (WebKitGTK) on `parent`, set up as a plain pane. Null when
// no browser engine is available or the view cannot be made.
//
// - No context menu, no developer tools, no script bridge to the program.
// - Website data (cache, cookies, local storage) lives in memory only:
//   nothing is written to the user's folders.
// - Pages navigate only to addresses ui::IsNavigationAllowed admits; other
//   navigations (a redirect to file: or to another program's scheme) are
//   refused.
// - A page's request for a new window (a link or form with a target,
//   window.open) is handed to the client's NewWindowRequested when a user's
//   gesture caused it, after the engine's signal has returned; the engine
//   never builds a window.
// - DocumentComplete reports each finished load (a failed one included)
//   except loads that were cancelled by a newer one or by stopping.
wxWebView* MakeWebView(wxWindow& parent, int id, const wxRect& rect, WebClientFinder client);

// Whether a browser view can be made at all (WebKitGTK is there).
bool IsBrowserEngineAvailable();

// Stops a view made by MakeWebView for good: its load ends and it reports
// nothing more, so it can be destroyed once the event under way has
// returned.
void RetireWebView(wxWebView& view);

// A light view (no browser engine) for the embedded pages: HTML without
// scripts or style sheets, its images drawn from the embedded files (SVG
// pictures rendered to bitmaps). A click on a link hands its address to the
// client's NewWindowRequested; the view itself never leaves its page.
wxWindow* MakeEmbeddedPageView(wxWindow& parent, int id, const wxRect& rect, WebClientFinder client);
bool IsEmbeddedPageView(const wxWindow& window);
// Shows the embedded page an address made with ui::EmbeddedUrl names.
void ShowEmbeddedPage(wxWindow& view, std::string_view url);

// Starts showing an address in a view made by MakeWebView: an embedded page
// is built in memory from the client's files, with its images inlined; any
// other address is loaded, and when it is still loading after
// `answerWithin` (above zero) the load is stopped and reported complete
// with an empty title.
void ShowAddress(wxWebView& view, std::string_view url, std::chrono::milliseconds answerWithin);

} // namespace ui_wx
