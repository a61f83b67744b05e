#pragma once

#include "ui_wx/web_view.h"

#include <chrono>
#include <string_view>

class wxRect;
class wxWindow;

namespace ui_wx {

// What the browser engine module (vantrel_web_engine.so) offers the
// program: its views, made and driven as web_view.h describes for
// MakeWebView, RetireWebView and ShowAddress. The program loads the module
// only when a remote page is to be shown, so the engine's libraries cost
// nothing until then. Module and program come from the same build.
struct WebEngine {
    // A browser view, or null when the engine cannot make one.
    wxWindow* (*makeView)(wxWindow& parent, int id, const wxRect& rect, WebClientFinder client);
    // Whether the window is a view that makeView made.
    bool (*isView)(const wxWindow& window);
    void (*retireView)(wxWindow& view);
    // Starts loading a web address in the view.
    void (*showAddress)(wxWindow& view, std::string_view url, std::chrono::milliseconds answerWithin);
};

// The module's file name and the one function it exports, which answers
// its table (never null).
inline constexpr const char* kWebEngineModule = "vantrel_web_engine.so";
inline constexpr const char* kWebEngineEntry = "vantrel_web_engine";
using WebEngineEntry = const WebEngine* (*)();

} // namespace ui_wx
