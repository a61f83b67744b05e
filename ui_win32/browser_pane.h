#pragma once

#include "ui/web_view.h"
#include "ui_win32/win32_api.h"

#include <chrono>
#include <memory>
#include <string_view>

namespace ui_win32 {

class PaneSite;

// The pane's browser: the system's web browser control, hosted by an
// OleSite (ole_site.h) inside a static control that stays its container (the
// control keeps its identifier, place and visibility; the browser follows
// its size). What is here is the pane's: which addresses the control may go
// to, what goes to the user's browser, and what the client hears.
//
// On Windows 10 and 11 that control is the engine of Internet Explorer 11
// (mshtml), which stays part of the system after the browser itself was
// retired. Wine has a control of its own that draws through Gecko, a
// separate download that Debian's Wine does not carry, and the tests run
// Wine with its HTML engine switched off: there is no engine here, Create
// answers null, and the static stays a blank placeholder.
//
// Reports go to the client on the user-interface thread, as the
// ui::WindowImpl contract for web views says: a finished web page with the
// title the control gives it; a failed, refused or unanswered web address
// with an empty title. Embedded pages report nothing. A link on an embedded
// page, and a page's new window that the user's click asked for, go to the
// client's NewWindowRequested once the control's event has returned.
class BrowserPane {
public:
    // Null when the control or its engine cannot be had; the static is then
    // left as it was.
    static std::unique_ptr<BrowserPane> Create(HWND container, ui::WebViewClient& client);
    // Hosts the control without asking for its engine: a control without
    // one (Wine's) fails every load, and the pane then goes back to the
    // placeholder by itself. Null when the control cannot be had.
    static std::unique_ptr<BrowserPane> Host(HWND container, ui::WebViewClient& client);
    ~BrowserPane();
    BrowserPane(const BrowserPane&) = delete;
    BrowserPane& operator=(const BrowserPane&) = delete;

    // Starts showing an address (an embedded page's or a web one); returns
    // at once. A web address still loading after `answerWithin` (above zero)
    // is stopped and reported as failed.
    void Navigate(std::string_view url, std::chrono::milliseconds answerWithin);

private:
    explicit BrowserPane(HWND container);
    static LRESULT CALLBACK ContainerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR data);

    HWND m_container;
    PaneSite* m_site = nullptr; // one reference, released on destruction
};

} // namespace ui_win32
