#include "ui_wx/web_view.h"

#include "ui/web_view.h"
#include "ui_wx/wx_text.h"

#include <string>

#include <wx/webview.h>

namespace ui_wx {

wxWebView* MakeWebView(wxWindow& parent, int id, const wxRect& rect)
{
    if (!wxWebView::IsBackendAvailable(wxWebViewBackendDefault))
        return nullptr;
    wxWebView* view = wxWebView::New(&parent, id, "about:blank", rect.GetPosition(), rect.GetSize());
    if (!view)
        return nullptr;
    view->EnableContextMenu(false);
    view->EnableAccessToDevTools(false);
    return view;
}

void ShowAddress(wxWebView& view, std::string_view url, const ui::WebViewClient& client)
{
    const auto name = ui::EmbeddedName(url);
    if (!name) {
        view.LoadURL(ToWx(url));
        return;
    }
    const auto page = client.FindEmbedded(*name);
    if (!page)
        return;
    const std::string_view html(reinterpret_cast<const char*>(page->bytes.data()), page->bytes.size());
    // The page's own address stays its base, so the view reports it back.
    view.SetPage(ToWx(ui::InlineEmbeddedImages(html, client)), ToWx(url));
}

} // namespace ui_wx
