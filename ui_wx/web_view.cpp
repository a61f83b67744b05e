#include "ui_wx/web_view.h"

#include "ui/light_page.h"
#include "ui/web_view.h"
#include "ui_wx/page_fetch.h"
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

// An SVG picture as PNG bytes at the given size, drawn by the system's
// picture loader (librsvg, which draws the picture's text too); empty when
// it cannot draw it.
std::string SvgAsPng(const void* bytes, std::size_t length, int width, int height)
{
    GInputStream* stream = g_memory_input_stream_new_from_data(bytes, static_cast<gssize>(length), nullptr);
    GdkPixbuf* picture = gdk_pixbuf_new_from_stream_at_scale(stream, width, height, FALSE, nullptr, nullptr);
    g_object_unref(stream);
    if (picture == nullptr)
        return {};
    gchar* png = nullptr;
    gsize pngLength = 0;
    std::string out;
    if (gdk_pixbuf_save_to_buffer(picture, &png, &pngLength, "png", nullptr, nullptr))
        out.assign(png, pngLength);
    g_free(png);
    g_object_unref(picture);
    return out;
}

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

// Puts a picture into wx's memory file system under `name`; an SVG one is
// rendered at the size its <img> tag asks for.
void StorePicture(const std::string& name, std::string_view tag, const void* bytes, std::size_t length,
                  std::string_view mimeType)
{
    if (!mimeType.starts_with("image/svg+xml")) {
        wxMemoryFSHandler::AddFileWithMimeType(ToWx(name), bytes, length, ToWx(mimeType));
        return;
    }
    const int width = std::atoi(ui::TagAttribute(tag, "width").c_str());
    const int height = std::atoi(ui::TagAttribute(tag, "height").c_str());
    const wxSize size(width > 0 && width <= 4096 ? width : 64, height > 0 && height <= 4096 ? height : 64);
    if (const std::string png = SvgAsPng(bytes, length, size.x, size.y); !png.empty()) {
        wxMemoryFSHandler::AddFileWithMimeType(ToWx(name), png.data(), png.size(), "image/png");
    } else {
        // wx's own SVG reader draws the shapes but not the text.
        const wxBitmapBundle picture = wxBitmapBundle::FromSVG(static_cast<const wxByte*>(bytes), length, size);
        wxMemoryFSHandler::AddFile(ToWx(name), picture.GetBitmap(size).ConvertToImage(), wxBITMAP_TYPE_PNG);
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
        StorePicture(name, tag, file->bytes.data(), file->bytes.size(), file->mimeType);
    return "memory:" + name;
}

// A web page's bytes as text, in the character set it names (UTF-8 when it
// names none); bytes that do not read so are taken as Latin-1, so no page
// comes out empty.
wxString Decoded(const std::string& bytes, const std::string& charset)
{
    const wxLogNull quiet; // an unknown character set is no news for the user
    wxString text;
    if (charset.empty() || charset == "utf-8" || charset == "utf8")
        text = wxString::FromUTF8(bytes.data(), bytes.size());
    else if (const wxCSConv conversion(ToWx(charset)); conversion.IsOk())
        text = wxString(bytes.data(), conversion, bytes.size());
    if (text.empty() && !bytes.empty())
        text = wxString(bytes.data(), wxConvISO8859_1, bytes.size());
    return text;
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
        m_fetch = std::make_unique<PageFetch>(
            m_awaited, within, [this, generation = m_generation](std::optional<FetchedPage> page) {
                // On the fetch's thread: the page goes over to the window's.
                CallAfter([this, generation, page = std::make_shared<std::optional<FetchedPage>>(std::move(page))] {
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

    void Arrived(std::optional<FetchedPage> fetched)
    {
        const std::string requested = std::exchange(m_awaited, {});
        m_fetch.reset(); // its thread has answered and is ending
        if (!fetched) {
            Report(requested, "");
            return;
        }
        const FetchedPage& page = *fetched;
        std::vector<std::string> stored;
        const std::string html =
            ui::PageForLightView(page.page.bytes, [&](std::string_view tag) { return WebPicture(tag, page, stored); });
        Present(Decoded(html, ui::PageCharset(page.page.contentType, page.page.bytes)), page.page.address);
        // The view holds its pictures drawn now; their files can go.
        for (const std::string& name : stored)
            wxMemoryFSHandler::RemoveFile(ToWx(name));
        Report(page.page.address, FromWx(GetOpenedPageTitle()));
    }

    // The memory address of a web page's picture, stored on first use (its
    // name goes into `stored`); empty when the picture did not come.
    std::string WebPicture(std::string_view tag, const FetchedPage& page, std::vector<std::string>& stored) const
    {
        const std::string address = ui::PictureAddress(page.page.address, ui::TagAttribute(tag, "src"));
        for (std::size_t i = 0; i < page.pictures.size(); ++i) {
            const FetchedFile& picture = page.pictures[i];
            if (picture.address != address)
                continue;
            const std::string name = "vantrel-web/" + std::to_string(m_generation) + "/" + std::to_string(i);
            if (std::ranges::find(stored, name) == stored.end()) {
                StorePicture(name, tag, picture.bytes.data(), picture.bytes.size(), picture.contentType);
                stored.push_back(name);
            }
            return "memory:" + name;
        }
        return {};
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
