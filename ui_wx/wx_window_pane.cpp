// The pane of a wx dialog window: a web control's page view, made in the
// place of its placeholder when the first address is shown after the
// window's first paint, and the pages shown in it.
#include "ui/web_view.h"
#include "ui_wx/web_view.h"
#include "ui_wx/wx_window.h"

#include <algorithm>
#include <utility>

#include <wx/weakref.h>

namespace ui_wx {

// The page view is made when the first address is shown, after the first paint.
bool WxWindow::CreateWebView(int id, ui::WebViewClient& client)
{
    ControlState* s = Find(id);
    if (!s || s->webClient)
        return false;
    s->webClient = &client;
    m_frame->Bind(wxEVT_PAINT, [this](wxPaintEvent& event) {
        event.Skip();
        if (std::exchange(m_painted, true))
            return;
        m_frame->CallAfter([this] { ShowPendingAddress(); });
    });
    return true;
}

void WxWindow::Navigate(int id, std::string_view url, std::chrono::milliseconds answerWithin)
{
    ControlState* s = Find(id);
    if (!s || !s->webClient)
        return;
    if (!m_painted) {
        m_pendingAddress = PendingAddress{id, std::string(url), answerWithin};
        return;
    }
    ShowInPane(*s, url, answerWithin);
}

void WxWindow::ShowPendingAddress()
{
    if (!m_pendingAddress)
        return;
    const PendingAddress pending = *std::exchange(m_pendingAddress, std::nullopt);
    if (ControlState* s = Find(pending.id); s && s->webClient)
        ShowInPane(*s, pending.url, pending.answerWithin);
}

void WxWindow::ShowInPane(ControlState& s, std::string_view url, std::chrono::milliseconds answerWithin)
{
    if (!IsPageView(*s.window))
        ReplacePaneView(s, *MakePageView(*m_frame, s.window->GetId(), s.window->GetRect(), PaneClient(s)));
    if (ui::EmbeddedName(url))
        ShowEmbeddedPage(*s.window, url);
    else
        ShowWebPage(*s.window, url, answerWithin);
}

WebClientFinder WxWindow::PaneClient(const ControlState& s)
{
    return [this, client = s.webClient]() { return m_dialog ? client : nullptr; };
}

void WxWindow::ReplacePaneView(ControlState& s, wxWindow& view)
{
    wxWindow* current = s.window;
    view.Show(current->IsShown());
    std::replace(m_created.begin(), m_created.end(), current, &view);
    s.window = &view;
    // The window it replaces goes once the event under way has returned.
    current->Hide();
    m_frame->CallAfter([old = wxWeakRef<wxWindow>(current)] {
        if (old)
            old->Destroy();
    });
}

} // namespace ui_wx
