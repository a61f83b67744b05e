#pragma once

#include <string_view>

class wxRect;
class wxWebView;
class wxWindow;

namespace ui {
class WebViewClient;
}

namespace ui_wx {

// A browser view (WebKitGTK) on `parent`, set up as a plain pane: no context
// menu, no developer tools, no script bridge to the program. Null when no
// browser engine is available or the view cannot be made.
wxWebView* MakeWebView(wxWindow& parent, int id, const wxRect& rect);

// Starts showing an address: an embedded page is built in memory from the
// client's files, with its images inlined; any other address is loaded.
void ShowAddress(wxWebView& view, std::string_view url, const ui::WebViewClient& client);

} // namespace ui_wx
