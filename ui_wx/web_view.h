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

// A browser view (WebKitGTK) on `parent`, set up as a plain pane. The
// engine lives in a module of its own beside the program (or in the
// installed program's library folder), loaded on the first call and kept
// from then on. Null when the module is missing or fails to load, or the
// view cannot be made.
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
wxWindow* MakeWebView(wxWindow& parent, int id, const wxRect& rect, WebClientFinder client);

// Whether a window is a browser view made by MakeWebView.
bool IsWebView(const wxWindow& window);

// Stops a view made by MakeWebView for good: its load ends and it reports
// nothing more, so it can be destroyed once the event under way has
// returned.
void RetireWebView(wxWindow& view);

// A light view (no browser engine) for the embedded pages: HTML without
// scripts or style sheets, its images drawn from the embedded files (SVG
// pictures rendered to bitmaps). A click on a link hands its address to the
// client's NewWindowRequested; the view itself never leaves its page.
wxWindow* MakeEmbeddedPageView(wxWindow& parent, int id, const wxRect& rect, WebClientFinder client);
bool IsEmbeddedPageView(const wxWindow& window);
// Shows the embedded page an address made with ui::EmbeddedUrl names.
void ShowEmbeddedPage(wxWindow& view, std::string_view url);

// Starts loading a web address in a view made by MakeWebView; when it is
// still loading after `answerWithin` (above zero) the load is stopped and
// reported complete with an empty title.
void ShowAddress(wxWindow& view, std::string_view url, std::chrono::milliseconds answerWithin);

} // namespace ui_wx
