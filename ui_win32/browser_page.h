#pragma once

#include "ui/web_view.h"

#include <string>
#include <string_view>

namespace ui_win32 {

// What the system's browser control is given for an embedded page: the page
// with its pictures inlined as data: addresses (the control reads it from
// memory, with no address of its own to find files beside it), asking for
// the engine's newest document mode. Without that request the control
// draws in the mode of a browser from 2006, which shows no SVG picture.
std::string PageForBrowserControl(std::string_view html, const ui::WebViewClient& files);

// What the pane does with a navigation the control is about to make.
enum class PaneNavigation {
    Go,          // the control goes there
    OpenOutside, // not in the pane: the address goes to the user's browser
    Refuse,      // nowhere
};

// `showingEmbedded`: the pane holds an embedded page (a link on it opens in
// the user's browser, as the light view on Linux does); `programsOwn`: the
// program itself asked for this address. Pages never reach local files or
// other programs' schemes; only web addresses are ever handed outside.
PaneNavigation DecideNavigation(std::string_view url, bool showingEmbedded, bool programsOwn);

} // namespace ui_win32
