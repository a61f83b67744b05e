#include "ui_wx/web_view.h"

#include "ui/light_page.h"
#include "ui/web_address.h"
#include "ui/web_view.h"
#include "ui/picture_budget.h"
#include "ui/picture_header.h"
#include "ui_wx/page_fetch.h"
#include "ui_wx/picture_decode.h"
#include "ui_wx/prepared_page.h"
#include "ui_wx/wx_text.h"

#include <cstdlib>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtk/gtk.h>
#include <wx/bmpbndl.h>
#include <wx/fs_mem.h>
#include <wx/html/htmlwin.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/strconv.h>

namespace ui_wx {

namespace {

// --- Pictures -----------------------------------------------------------------------

// The picture formats the view reads: those of the embedded pages and of
// pages on the web.
void AddPictureReaders()
{
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
    if (!wxImage::FindHandler(wxBITMAP_TYPE_JPEG))
        wxImage::AddHandler(new wxJPEGHandler);
    if (!wxImage::FindHandler(wxBITMAP_TYPE_GIF))
        wxImage::AddHandler(new wxGIFHandler);
}

// Puts an embedded page's picture into wx's memory file system under
// `name`; an SVG one is rendered at the size its <img> tag asks for.
void StoreEmbeddedPicture(const std::string& name, std::string_view tag, std::string_view bytes,
                          std::string_view mimeType)
{
    if (!mimeType.starts_with("image/svg+xml")) {
        wxMemoryFSHandler::AddFileWithMimeType(ToWx(name), bytes.data(), bytes.size(), ToWx(mimeType));
        return;
    }
    constexpr std::uint64_t kLargest = std::uint64_t{4096} * 4096; // the program's own pictures
    const ui::PixelSize size =
        ui::SvgRenderSize(ui::TagAttribute(tag, "width"), ui::TagAttribute(tag, "height"), kLargest);
    const auto header = ui::ReadPictureHeader(bytes);
    if (const auto picture = header ? DecodePicture(bytes, *header, kLargest, size) : std::nullopt) {
        wxMemoryFSHandler::AddFileWithMimeType(ToWx(name), picture->png.data(), picture->png.size(), "image/png");
    } else {
        // wx's own SVG reader draws the shapes but not the text.
        const wxSize wanted(size.width, size.height);
        const wxBitmapBundle drawn =
            wxBitmapBundle::FromSVG(reinterpret_cast<const wxByte*>(bytes.data()), bytes.size(), wanted);
        wxMemoryFSHandler::AddFile(ToWx(name), drawn.GetBitmap(wanted).ConvertToImage(), wxBITMAP_TYPE_PNG);
    }
}

// The memory address of an embedded page's picture, stored on first use;
// empty when the tag names no embedded file. Embedded pictures stay stored:
// the pages come back after every failed web page.
std::string EmbeddedPicture(std::string_view tag, const ui::WebViewClient& files)
{
    static std::set<std::string> stored; // the memory file system outlives every view
    const std::string source = ui::TagAttribute(tag, "src");
    const auto file = files.FindEmbedded(source);
    if (!file)
        return {};
    const std::string name = "vantrel-page/" + source;
    if (stored.insert(name).second)
        StoreEmbeddedPicture(name, tag,
                             std::string_view(reinterpret_cast<const char*>(file->bytes.data()), file->bytes.size()),
                             file->mimeType);
    return "memory:" + name;
}

// --- The view -----------------------------------------------------------------------

class PageView final : public wxHtmlWindow {
public:
    PageView(wxWindow& parent, int id, const wxRect& rect, WebClientFinder finder)
        : wxHtmlWindow(&parent, id, rect.GetPosition(), rect.GetSize(), wxHW_SCROLLBAR_AUTO | wxBORDER_NONE),
          m_client(std::move(finder))
    {
        SetStandardFonts(8); // the size the pages are drawn for (11 px)
    }

    ~PageView() override
    {
        m_fetch.reset(); // its thread ends before the window it reports to
    }

    ui::WebViewClient* Client() const { return m_client(); }

    void ShowEmbedded(std::string_view url, std::string_view html)
    {
        Forget();
        const ui::WebViewClient* client = Client();
        if (!client)
            return;
        Present(
            ToWx(ui::PageForLightView(html, [client](std::string_view tag) { return EmbeddedPicture(tag, *client); })),
            std::string(url));
    }

    void Fetch(std::string_view url, std::chrono::milliseconds within)
    {
        Forget();
        m_awaited = url;
        const auto deadline = std::chrono::steady_clock::now() + within;
        m_fetch = std::make_unique<PageFetch>(
            m_awaited, within, [this, generation = m_generation, deadline](std::optional<FetchedPage> fetched) {
                // On the fetch's thread: the page is made ready there, then
                // goes over to the window's.
                auto page = std::make_shared<std::optional<PreparedPage>>();
                if (fetched)
                    *page = PreparePage(*fetched, "vantrel-web/" + std::to_string(generation) + "/", deadline);
                CallAfter([this, generation, page] {
                    if (generation == m_generation)
                        Arrived(std::move(*page));
                });
            });
    }

private:
    // Ends what an earlier page asked for: its fetch, and any answer on its way.
    void Forget()
    {
        ++m_generation;
        m_fetch.reset();
        m_awaited.clear();
    }

    void Arrived(std::optional<PreparedPage> page)
    {
        const std::string requested = std::exchange(m_awaited, {});
        m_fetch.reset(); // its thread has answered and is ending
        if (!page) {
            Report(requested, "");
            return;
        }
        for (PreparedPicture& picture : page->pictures) {
            wxMemoryFSHandler::AddFileWithMimeType(ToWx(picture.name), picture.png.data(), picture.png.size(),
                                                   "image/png");
            std::string().swap(picture.png); // the file system holds its own copy
        }
        Present(page->html, page->address);
        // The view holds its pictures drawn now; their files can go.
        for (const PreparedPicture& picture : page->pictures)
            wxMemoryFSHandler::RemoveFile(ToWx(picture.name));
        Report(page->address, FromWx(GetOpenedPageTitle()));
    }

    void Present(const wxString& html, std::string address)
    {
        m_address = std::move(address);
        AddPictureReaders();
        {
            const wxLogNull quiet; // a picture the view cannot read is left out, without a box
            SetPage(html);
        }
        // Assistive tools see the page as the document it is, under its title.
        if (AtkObject* accessible = gtk_widget_get_accessible(GetHandle())) {
            atk_object_set_role(accessible, ATK_ROLE_DOCUMENT_WEB);
            atk_object_set_name(accessible, GetOpenedPageTitle().utf8_str());
        }
    }

    void Report(const std::string& url, const std::string& title)
    {
        if (ui::WebViewClient* client = Client())
            client->DocumentComplete(url, title);
    }

    // A link to a place in the page scrolls there. Any other goes to the
    // client, which may start a program or show a box: only after the click
    // has been handled.
    void OnLinkClicked(const wxHtmlLinkInfo& link) override
    {
        if (link.GetHref().StartsWith("#")) {
            ScrollToAnchor(link.GetHref().Mid(1));
            return;
        }
        CallAfter([this, address = ui::ResolveAddress(m_address, FromWx(link.GetHref()))] {
            if (ui::WebViewClient* client = Client())
                client->NewWindowRequested(address);
        });
    }

    // Only the pictures the program put in memory load; nothing else is read.
    wxHtmlOpeningStatus OnOpeningURL(wxHtmlURLType, const wxString& url, wxString*) const override
    {
        return url.StartsWith("memory:") ? wxHTML_OPEN : wxHTML_BLOCK;
    }

    WebClientFinder m_client;
    std::string m_address;     // the page shown, which its links are read against
    std::string m_awaited;     // the web address being fetched
    unsigned m_generation = 0; // counts pages asked for, so a late answer is known
    std::unique_ptr<PageFetch> m_fetch;
};

} // namespace

wxWindow* MakePageView(wxWindow& parent, int id, const wxRect& rect, WebClientFinder client)
{
    if (!wxFileSystem::HasHandlerForPath("memory:x"))
        wxFileSystem::AddHandler(new wxMemoryFSHandler);
    return new PageView(parent, id, rect, std::move(client));
}

bool IsPageView(const wxWindow& window)
{
    return dynamic_cast<const PageView*>(&window) != nullptr;
}

void ShowEmbeddedPage(wxWindow& window, std::string_view url)
{
    auto* view = dynamic_cast<PageView*>(&window);
    ui::WebViewClient* client = view ? view->Client() : nullptr;
    const auto name = ui::EmbeddedName(url);
    const auto page = client && name ? client->FindEmbedded(*name) : std::nullopt;
    if (page)
        view->ShowEmbedded(url,
                           std::string_view(reinterpret_cast<const char*>(page->bytes.data()), page->bytes.size()));
}

void ShowWebPage(wxWindow& window, std::string_view url, std::chrono::milliseconds answerWithin)
{
    if (auto* view = dynamic_cast<PageView*>(&window))
        view->Fetch(url, answerWithin);
}

} // namespace ui_wx
