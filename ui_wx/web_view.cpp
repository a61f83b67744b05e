#include "ui_wx/web_view.h"

#include "ui/web_view.h"
#include "ui_wx/web_engine.h"
#include "ui_wx/wx_text.h"

#include <cstdlib>
#include <regex>
#include <set>
#include <string>
#include <utility>

#include <gtk/gtk.h>
#include <wx/bmpbndl.h>
#include <wx/dynlib.h>
#include <wx/filename.h>
#include <wx/fs_mem.h>
#include <wx/html/htmlwin.h>
#include <wx/image.h>
#include <wx/stdpaths.h>

namespace ui_wx {

namespace {

// --- The browser engine's module ----------------------------------------------------

// The engine's table from its module: beside the program (the build tree,
// or a copy of the program with its module), else in the installed
// program's library folder. Null when neither loads. The module stays
// loaded for good: the engine's libraries cannot be unloaded safely.
const WebEngine* LoadWebEngine()
{
    const wxFileName program(wxStandardPaths::Get().GetExecutablePath());
    const wxString places[] = {program.GetPath(), program.GetPath() + "/" + VANTREL_WEB_ENGINE_DIR_FROM_PROGRAM};
    for (const wxString& folder : places) {
        const wxString path = folder + "/" + kWebEngineModule;
        if (!wxFileName::FileExists(path))
            continue;
        // A module that does not load is reported on stderr, with the reason.
        wxDynamicLibrary module(path, wxDL_NOW);
        if (!module.IsLoaded())
            continue;
        const auto entry = module.HasSymbol(kWebEngineEntry)
                               ? reinterpret_cast<WebEngineEntry>(module.GetSymbol(kWebEngineEntry))
                               : nullptr;
        module.Detach();
        if (entry)
            return entry();
    }
    return nullptr;
}

// The engine's table once its module is loaded (null before, and when it
// cannot be), and whether loading it was tried.
const WebEngine* loadedEngine = nullptr;
bool engineTried = false;

// --- The embedded pages' light view -------------------------------------------------

class EmbeddedPageView final : public wxHtmlWindow {
public:
    EmbeddedPageView(wxWindow& parent, int id, const wxRect& rect, WebClientFinder finder)
        : wxHtmlWindow(&parent, id, rect.GetPosition(), rect.GetSize(), wxHW_SCROLLBAR_AUTO | wxBORDER_NONE),
          client(std::move(finder))
    {
        SetStandardFonts(8); // the size the pages are drawn for (11 px)
    }

    WebClientFinder client;

private:
    // The client may start a program or show a box: only after the click
    // has been handled.
    void OnLinkClicked(const wxHtmlLinkInfo& link) override
    {
        CallAfter([this, address = FromWx(link.GetHref())] {
            if (ui::WebViewClient* owner = client())
                owner->NewWindowRequested(address);
        });
    }

    // Only the pictures the program put in memory load; nothing else is read.
    wxHtmlOpeningStatus OnOpeningURL(wxHtmlURLType, const wxString& url, wxString*) const override
    {
        return url.StartsWith("memory:") ? wxHTML_OPEN : wxHTML_BLOCK;
    }
};

std::string AttributeOf(const std::string& tag, const char* name)
{
    const std::regex pattern(std::string("\\b") + name + "\\s*=\\s*\"([^\"]*)\"", std::regex::icase);
    std::smatch match;
    return std::regex_search(tag, match, pattern) ? match[1].str() : std::string();
}

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

// Puts an embedded picture into wx's memory file system as "NAME" (an SVG
// rendered at the size the tag asks for, as "NAME.png") and answers the
// address the page should use; empty when there is no such picture.
std::string PictureInMemory(const std::string& tag, const ui::WebViewClient& files)
{
    static std::set<std::string> stored; // the memory file system outlives every view
    const std::string name = AttributeOf(tag, "src");
    const auto file = files.FindEmbedded(name);
    if (!file)
        return {};
    const bool svg = file->mimeType == "image/svg+xml";
    const std::string stored_name = "vantrel-page/" + name + (svg ? ".png" : "");
    if (stored.insert(stored_name).second) {
        if (svg) {
            const int width = std::atoi(AttributeOf(tag, "width").c_str());
            const int height = std::atoi(AttributeOf(tag, "height").c_str());
            const wxSize size(width > 0 ? width : 64, height > 0 ? height : 64);
            if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
                wxImage::AddHandler(new wxPNGHandler);
            if (const std::string png = SvgAsPng(file->bytes.data(), file->bytes.size(), size.x, size.y);
                !png.empty()) {
                wxMemoryFSHandler::AddFileWithMimeType(ToWx(stored_name), png.data(), png.size(), "image/png");
            } else {
                // wx's own SVG reader draws the shapes but not the text.
                const wxBitmapBundle picture = wxBitmapBundle::FromSVG(file->bytes.data(), file->bytes.size(), size);
                wxMemoryFSHandler::AddFile(ToWx(stored_name), picture.GetBitmap(size).ConvertToImage(),
                                           wxBITMAP_TYPE_PNG);
            }
        } else {
            wxMemoryFSHandler::AddFileWithMimeType(ToWx(stored_name), file->bytes.data(), file->bytes.size(),
                                                   ToWx(file->mimeType));
        }
    }
    return "memory:" + stored_name;
}

// The page as the light view takes it: without its style sheet (the view
// would show its text), each embedded picture from memory.
std::string PageForLightView(std::string html, const ui::WebViewClient& files)
{
    html = std::regex_replace(html, std::regex("<style[^>]*>[\\s\\S]*?</style>", std::regex::icase), "");
    const std::regex image("<img\\b[^>]*>", std::regex::icase);
    std::string out;
    auto from = html.cbegin();
    for (std::sregex_iterator it(html.begin(), html.end(), image), end; it != end; ++it) {
        std::string tag = it->str();
        if (const std::string address = PictureInMemory(tag, files); !address.empty())
            tag = std::regex_replace(tag, std::regex("\\bsrc\\s*=\\s*\"[^\"]*\"", std::regex::icase),
                                     "src=\"" + address + "\"");
        out.append(from, (*it)[0].first);
        out += tag;
        from = (*it)[0].second;
    }
    out.append(from, html.cend());
    return out;
}

} // namespace

wxWindow* MakeWebView(wxWindow& parent, int id, const wxRect& rect, WebClientFinder client)
{
    if (!std::exchange(engineTried, true))
        loadedEngine = LoadWebEngine();
    return loadedEngine ? loadedEngine->makeView(parent, id, rect, std::move(client)) : nullptr;
}

bool IsWebView(const wxWindow& window)
{
    return loadedEngine && loadedEngine->isView(window);
}

void RetireWebView(wxWindow& view)
{
    if (loadedEngine)
        loadedEngine->retireView(view);
}

void ShowAddress(wxWindow& view, std::string_view url, std::chrono::milliseconds answerWithin)
{
    if (loadedEngine)
        loadedEngine->showAddress(view, url, answerWithin);
}

wxWindow* MakeEmbeddedPageView(wxWindow& parent, int id, const wxRect& rect, WebClientFinder client)
{
    if (!wxFileSystem::HasHandlerForPath("memory:x"))
        wxFileSystem::AddHandler(new wxMemoryFSHandler);
    return new EmbeddedPageView(parent, id, rect, std::move(client));
}

bool IsEmbeddedPageView(const wxWindow& window)
{
    return dynamic_cast<const EmbeddedPageView*>(&window) != nullptr;
}

void ShowEmbeddedPage(wxWindow& window, std::string_view url)
{
    auto* view = dynamic_cast<EmbeddedPageView*>(&window);
    const auto name = ui::EmbeddedName(url);
    ui::WebViewClient* client = view ? view->client() : nullptr;
    const auto page = client && name ? client->FindEmbedded(*name) : std::nullopt;
    if (!page)
        return;
    const std::string html(reinterpret_cast<const char*>(page->bytes.data()), page->bytes.size());
    view->SetPage(ToWx(PageForLightView(html, *client)));
    // Assistive tools see the page as the document it is, under its title.
    if (AtkObject* accessible = gtk_widget_get_accessible(view->GetHandle())) {
        atk_object_set_role(accessible, ATK_ROLE_DOCUMENT_WEB);
        atk_object_set_name(accessible, view->GetOpenedPageTitle().utf8_str());
    }
}

} // namespace ui_wx
