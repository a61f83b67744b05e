#include "ui_wx/web_view.h"

#include "ui/web_view.h"
#include "ui_wx/wx_text.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <utility>

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>
#include <wx/bmpbndl.h>
#include <wx/fs_mem.h>
#include <wx/gtk/webview_webkit.h>
#include <wx/html/htmlwin.h>
#include <wx/image.h>
#include <wx/timer.h>
#include <wx/weakref.h>
#include <wx/webview.h>

namespace ui_wx {

namespace {

// A one-shot timer that runs an action.
class ActionTimer final : public wxTimer {
public:
    std::function<void()> action;

private:
    void Notify() override
    {
        if (action)
            action();
    }
};

// What the program keeps for one view; owned by the view (its client
// object), so it goes with it.
struct PaneState final : wxClientData {
    explicit PaneState(WebClientFinder finder) : client(std::move(finder)) {}

    WebClientFinder client;
    ActionTimer answerTimer;      // runs while a web address awaits its answer
    std::string awaited;          // that address, until its load ends
    bool started = false;         // the view's blank start page has finished loading
    bool loadWhenStarted = false; // the awaited address was given before that
    std::string failed;           // the address of a load the engine reported failing
    bool skipNextEnd = false;     // another load failed or was cancelled; its end follows
    unsigned generation = 0;      // counts loads ended and begun, so late answers are known
};

PaneState* StateOf(wxWebView& view)
{
    return static_cast<PaneState*>(view.GetClientObject());
}

void Report(PaneState& state, const std::string& url, const std::string& title)
{
    if (ui::WebViewClient* client = state.client())
        client->DocumentComplete(url, title);
}

// --- The engine's signals -----------------------------------------------------------
// Connected with the wx view as their data, as wx connects its own, so wx
// disconnects them with its own when the view goes.

// Hands a page's request for a new window to the client once the engine's
// signal has returned: the client may start a program or show a box, which
// must not happen inside the engine. A request no user's gesture caused (a
// pop-up a page opens by itself) is dropped.
void HandOver(wxWebViewWebKit& view, WebKitNavigationAction* action)
{
    if (!action || !webkit_navigation_action_is_user_gesture(action))
        return;
    WebKitURIRequest* request = webkit_navigation_action_get_request(action);
    const gchar* uri = request ? webkit_uri_request_get_uri(request) : nullptr;
    if (!uri)
        return;
    view.CallAfter([&view, address = std::string(uri)] {
        if (PaneState* state = StateOf(view))
            if (ui::WebViewClient* client = state->client())
                client->NewWindowRequested(address);
    });
}

// window.open() and the like ask for a new view here. wx 3.2 answers with
// the same view, which the engine does not accept (it aborts the program);
// no view at all makes window.open() return null to the page.
GtkWidget* OnCreate(WebKitWebView*, WebKitNavigationAction* action, gpointer view)
{
    HandOver(*static_cast<wxWebViewWebKit*>(view), action);
    return nullptr;
}

// Every navigation a page or the program starts, every new-window request
// from a link or form with a target, and every response.
gboolean OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type, gpointer view)
{
    switch (type) {
    case WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION: {
        WebKitNavigationAction* action =
            webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
        WebKitURIRequest* request = action ? webkit_navigation_action_get_request(action) : nullptr;
        const gchar* uri = request ? webkit_uri_request_get_uri(request) : nullptr;
        if (uri && ui::IsNavigationAllowed(uri))
            return FALSE; // the engine's default: go there
        break;
    }
    case WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION:
        HandOver(*static_cast<wxWebViewWebKit*>(view),
                 webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision)));
        break;
    case WEBKIT_POLICY_DECISION_TYPE_RESPONSE:
        // What the view cannot show the engine would download into the
        // user's folders: refused.
        if (webkit_response_policy_decision_is_mime_type_supported(WEBKIT_RESPONSE_POLICY_DECISION(decision)))
            return FALSE;
        break;
    default:
        return FALSE;
    }
    webkit_policy_decision_ignore(decision);
    return TRUE;
}

// Replaces wx's handler of an engine signal by ours.
void TakeOverSignal(wxWebViewWebKit& view, WebKitWebView* native, const char* signal, GCallback handler)
{
    const guint id = g_signal_lookup(signal, WEBKIT_TYPE_WEB_VIEW);
    g_signal_handlers_disconnect_matched(native, static_cast<GSignalMatchType>(G_SIGNAL_MATCH_ID | G_SIGNAL_MATCH_DATA),
                                         id, 0, nullptr, nullptr, &view);
    g_signal_connect(native, signal, handler, &view);
}

// --- Website data -------------------------------------------------------------------

using ObjectConstructor = GObject* (*)(GType, guint, GObjectConstructParam*);
ObjectConstructor contextConstructor = nullptr;

GObject* ConstructInMemoryContext(GType type, guint count, GObjectConstructParam* params)
{
    for (guint i = 0; i < count; ++i)
        if (std::strcmp(params[i].pspec->name, "website-data-manager") == 0 && !g_value_get_object(params[i].value))
            g_value_take_object(params[i].value, webkit_website_data_manager_new_ephemeral());
    return contextConstructor(type, count, params);
}

// wx makes its views in the engine's default context, whose cache, cookies
// and local storage would live under the user's home. That context is made
// when first asked for; from then on every context made without a data
// manager of its own gets one that keeps everything in memory.
void KeepWebsiteDataInMemory()
{
    if (contextConstructor)
        return;
    auto* klass = G_OBJECT_CLASS(g_type_class_ref(WEBKIT_TYPE_WEB_CONTEXT)); // kept for good
    contextConstructor = klass->constructor;
    klass->constructor = ConstructInMemoryContext;
}

// The engine's page process has ended (some pages make it crash, a
// redirect to a local file for one): the view shows nothing any more. That
// is reported as a failed load of the address it was on, once the signal
// has returned; the next load starts a new page process.
void OnPageProcessEnded(WebKitWebView* native, WebKitWebProcessTerminationReason, gpointer data)
{
    auto& view = *static_cast<wxWebViewWebKit*>(data);
    const gchar* uri = webkit_web_view_get_uri(native);
    view.CallAfter([&view, current = std::string(uri ? uri : "")] {
        PaneState* state = StateOf(view);
        if (!state)
            return;
        ++state->generation;
        state->answerTimer.Stop();
        const std::string awaited = std::exchange(state->awaited, {});
        Report(*state, awaited.empty() ? current : awaited, "");
    });
}

// --- Loads --------------------------------------------------------------------------

// A question to the page about its title, and whom the answer is for.
struct TitleQuestion {
    wxWeakRef<wxWebView> view;
    unsigned generation;
    std::string url;
};

void OnTitleAnswer(GObject* source, GAsyncResult* result, gpointer data)
{
    const std::unique_ptr<TitleQuestion> question(static_cast<TitleQuestion*>(data));
    GError* error = nullptr;
    std::string title;
    if (JSCValue* value = webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, &error)) {
        if (jsc_value_is_string(value)) {
            gchar* text = jsc_value_to_string(value);
            title = text;
            g_free(text);
        }
        g_object_unref(value);
    }
    if (error)
        g_error_free(error);
    wxWebView* view = question->view.get();
    PaneState* state = view ? StateOf(*view) : nullptr;
    if (state && state->generation == question->generation)
        Report(*state, question->url, title);
}

// The engine reports a page's title only after the page has finished
// loading, so at that moment the view's title is still empty. The page is
// asked instead, in a script world of the program's own, where the page's
// scripts cannot change what document.title answers.
void AskTitle(wxWebView& view, const PaneState& state, const std::string& url)
{
    auto* native = static_cast<WebKitWebView*>(view.GetNativeBackend());
    auto* question = new TitleQuestion{wxWeakRef<wxWebView>(&view), state.generation, url};
    webkit_web_view_evaluate_javascript(native, "document.title", -1, "vantrel", nullptr, nullptr, OnTitleAnswer,
                                        question);
}

// How a load ends, in the engine's reports: a failed one as an error, then
// as finished (with the last page's address, or the blank start page's when
// nothing was shown yet), and then perhaps the engine's error page as a load
// of its own; a load cancelled by a newer one or by stopping, or an error
// page that does not get shown, as an error, then finished, which says
// nothing about any page. Only the awaited address's failure is reported as
// such; the end after any other error is passed over. (An address the
// engine reports otherwise than it was given fails by its time limit.)
void BindLoadEvents(wxWebView& view, PaneState& state)
{
    view.Bind(wxEVT_WEBVIEW_ERROR, [&state](wxWebViewEvent& event) {
        const std::string url = FromWx(event.GetURL());
        if (!state.awaited.empty() && url == state.awaited)
            state.failed = url;
        else
            state.skipNextEnd = true;
    });
    view.Bind(wxEVT_WEBVIEW_LOADED, [&view, &state](wxWebViewEvent& event) {
        if (!state.started) {
            // The blank start page: only now may the program's first
            // address load, or the two loads' reports would mix.
            state.started = true;
            state.skipNextEnd = false;
            state.failed.clear();
            if (std::exchange(state.loadWhenStarted, false))
                view.LoadURL(ToWx(state.awaited));
            return;
        }
        if (std::exchange(state.skipNextEnd, false))
            return;
        ++state.generation;
        state.answerTimer.Stop();
        std::string url = FromWx(event.GetURL());
        const bool failed = !state.failed.empty() || (!state.awaited.empty() && url == "about:blank");
        if (failed)
            url = state.failed.empty() ? state.awaited : state.failed;
        state.failed.clear();
        state.awaited.clear();
        if (failed)
            Report(state, url, "");
        else
            AskTitle(view, state, url);
    });
    state.answerTimer.action = [&view, &state] {
        const std::string awaited = std::exchange(state.awaited, {});
        state.loadWhenStarted = false;
        view.Stop();
        Report(state, awaited, "");
    };
}

// The engine as light as a pane needs: no compositing (its web process
// would hold far more memory for it) and the smallest cache, for one page
// at a time. A compositing choice made in the environment stays.
void KeepEngineLight()
{
    g_setenv("WEBKIT_DISABLE_COMPOSITING_MODE", "1", FALSE);
    webkit_web_context_set_cache_model(webkit_web_context_get_default(), WEBKIT_CACHE_MODEL_DOCUMENT_VIEWER);
}

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

bool IsBrowserEngineAvailable()
{
    return wxWebView::IsBackendAvailable(wxWebViewBackendDefault);
}

void RetireWebView(wxWebView& view)
{
    if (PaneState* state = StateOf(view)) {
        state->client = [] { return static_cast<ui::WebViewClient*>(nullptr); };
        ++state->generation;
        state->answerTimer.Stop();
        state->awaited.clear();
        state->loadWhenStarted = false;
    }
    view.Stop();
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

wxWebView* MakeWebView(wxWindow& parent, int id, const wxRect& rect, WebClientFinder client)
{
    if (!IsBrowserEngineAvailable())
        return nullptr;
    KeepWebsiteDataInMemory();
    KeepEngineLight();
    wxWebView* view = wxWebView::New(&parent, id, "about:blank", rect.GetPosition(), rect.GetSize());
    if (!view)
        return nullptr;
    auto* webkit = dynamic_cast<wxWebViewWebKit*>(view);
    auto* native = webkit ? static_cast<WebKitWebView*>(webkit->GetNativeBackend()) : nullptr;
    if (!native) {
        view->Destroy();
        return nullptr;
    }
    view->EnableContextMenu(false);
    view->EnableAccessToDevTools(false);
    WebKitSettings* settings = webkit_web_view_get_settings(native);
    webkit_settings_set_javascript_can_open_windows_automatically(settings, FALSE);
    webkit_settings_set_hardware_acceleration_policy(settings, WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
    TakeOverSignal(*webkit, native, "create", G_CALLBACK(OnCreate));
    TakeOverSignal(*webkit, native, "decide-policy", G_CALLBACK(OnDecidePolicy));
    g_signal_connect(native, "web-process-terminated", G_CALLBACK(OnPageProcessEnded), webkit);

    auto* state = new PaneState(std::move(client));
    view->SetClientObject(state); // the view owns it from here
    BindLoadEvents(*view, *state);
    return view;
}

void ShowAddress(wxWebView& view, std::string_view url, std::chrono::milliseconds answerWithin)
{
    PaneState* state = StateOf(view);
    if (!state)
        return;
    ++state->generation;
    state->answerTimer.Stop();
    state->loadWhenStarted = false;
    const auto name = ui::EmbeddedName(url);
    if (!name) {
        state->awaited = url;
        if (state->started)
            view.LoadURL(ToWx(url));
        else
            state->loadWhenStarted = true;
        if (answerWithin.count() > 0)
            state->answerTimer.StartOnce(static_cast<int>(std::min<long long>(answerWithin.count(), INT_MAX)));
        return;
    }
    state->awaited.clear();
    ui::WebViewClient* client = state->client();
    const auto page = client ? client->FindEmbedded(*name) : std::nullopt;
    if (!page)
        return;
    const std::string_view html(reinterpret_cast<const char*>(page->bytes.data()), page->bytes.size());
    // The page's own address stays its base, so the view reports it back.
    view.SetPage(ToWx(ui::InlineEmbeddedImages(html, *client)), ToWx(url));
}

} // namespace ui_wx
