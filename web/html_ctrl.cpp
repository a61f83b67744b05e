#include "web/html_ctrl.h"

#include "res/embedded_files.h"
#include "ui/dialog.h"
#include "ui/web_view.h"
#include "ui/window_impl.h"
#include "web/advert.h"

bool CHTMLCtrl::CreateFromStatic(int id, ui::Dialog& parent)
{
    ui::WindowImpl* window = parent.Window();
    if (!window)
        return false;
    Bind(parent, id);
    m_browser = window->CreateWebView(id, *this);
    if (!m_browser)
        SetWindowText(""); // the placeholder stands in, blank
    return m_browser;
}

void CHTMLCtrl::Navigate2(std::string_view url)
{
    if (m_browser && Window())
        Window()->Navigate(Id(), url, ui::IsWebAddress(url) ? m_answerWait : std::chrono::milliseconds::zero());
}

void CHTMLCtrl::LoadFromResource(std::string_view name)
{
    Navigate2(ui::EmbeddedUrl(name));
}

void CHTMLCtrl::OnDocumentComplete(std::string_view url, std::string_view title)
{
    // Only web pages decide. The view's blank start page finishes with an
    // empty title before the remote page has even been asked for, and the
    // embedded page, should it ever fail to load, would only fail again.
    if (!ui::IsWebAddress(url) || !web::NeedsEmbeddedAdvert(title))
        return;
    LoadFromResource(web::kAdvertPage);
}

std::optional<ui::EmbeddedResource> CHTMLCtrl::FindEmbedded(std::string_view name) const
{
    const auto file = res::FindEmbeddedFile(name);
    if (!file)
        return std::nullopt;
    return ui::EmbeddedResource{file->mimeType, file->bytes};
}

void CHTMLCtrl::DocumentComplete(std::string_view url, std::string_view title)
{
    OnDocumentComplete(url, title);
}

void CHTMLCtrl::NewWindowRequested(std::string_view url)
{
    // A remote page may send the user's browser to another web page, never
    // make the program open a local file or hand an address to some other
    // scheme's handler.
    if (m_newWindow && ui::IsWebAddress(url))
        m_newWindow(url);
}
