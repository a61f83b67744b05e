// The browser engine module: WebKitGTK under wx's web view, loaded by the
// program only when a remote page is to be shown (web_engine.h).
#include "ui_wx/web_engine.h"

#include "ui/web_view.h"
#include "ui_wx/temporary_variable.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include <EGL/egl.h>
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>
#include <wx/gtk/webview_webkit.h>
#include <wx/timer.h>
#include <wx/weakref.h>
#include <wx/webview.h>

namespace ui_wx {

namespace {

// Addresses and titles cross between the engine and the program as UTF-8.
wxString Wx(std::string_view utf8)
{
    return wxString::FromUTF8(utf8.data(), utf8.size());
}

std::string Utf8(const wxString& text)
{
    return text.utf8_string();
}

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
        const std::string url = Utf8(event.GetURL());
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
                view.LoadURL(Wx(state.awaited));
            return;
        }
        if (std::exchange(state.skipNextEnd, false))
            return;
        ++state.generation;
        state.answerTimer.Stop();
        std::string url = Utf8(event.GetURL());
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

// The engine as light as a pane needs: the smallest cache, for one page at
// a time (compositing is turned off as the view is made, MakeView).
void KeepEngineLight()
{
    webkit_web_context_set_cache_model(webkit_web_context_get_default(), WEBKIT_CACHE_MODEL_DOCUMENT_VIEWER);
}

// The engine opens a GL display in the program's own process too, though
// with compositing off nothing there draws with GL; with no graphics card
// that loads the software renderer and its compiler (some 20 MB of memory
// the program would keep for good). The GL dispatcher picks its drivers once,
// at its first call, from a list the environment may name: asked once here
// with an empty list, it finds none, and the engine goes on without GL in
// this process. The page process, started later, does not inherit the empty
// list, and finds its driver as ever. A list the user named stays.
void KeepGlOutOfProgram()
{
    static bool done = false;
    if (std::exchange(done, true))
        return;
    const TemporaryVariable noDrivers("__EGL_VENDOR_LIBRARY_FILENAMES", "");
    if (noDrivers)
        eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
}

wxWebView* AsWebView(wxWindow& window)
{
    return dynamic_cast<wxWebView*>(&window);
}

bool IsView(const wxWindow& window)
{
    return dynamic_cast<const wxWebView*>(&window) != nullptr;
}

void RetireView(wxWindow& window)
{
    wxWebView* view = AsWebView(window);
    if (!view)
        return;
    if (PaneState* state = StateOf(*view)) {
        state->client = [] { return static_cast<ui::WebViewClient*>(nullptr); };
        ++state->generation;
        state->answerTimer.Stop();
        state->awaited.clear();
        state->loadWhenStarted = false;
    }
    view->Stop();
}

wxWindow* MakeView(wxWindow& parent, int id, const wxRect& rect, WebClientFinder client)
{
    if (!wxWebView::IsBackendAvailable(wxWebViewBackendDefault))
        return nullptr;
    KeepGlOutOfProgram();
    KeepWebsiteDataInMemory();
    KeepEngineLight();
    wxWebView* view = nullptr;
    {
        // No compositing (its page process would hold far more memory for
        // it) in the processes the view's first load starts; a choice made
        // in the environment stays.
        const TemporaryVariable noCompositing("WEBKIT_DISABLE_COMPOSITING_MODE", "1");
        view = wxWebView::New(&parent, id, "about:blank", rect.GetPosition(), rect.GetSize());
    }
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

void ShowAddress(wxWindow& window, std::string_view url, std::chrono::milliseconds answerWithin)
{
    wxWebView* view = AsWebView(window);
    PaneState* state = view ? StateOf(*view) : nullptr;
    if (!state)
        return;
    ++state->generation;
    state->answerTimer.Stop();
    state->loadWhenStarted = false;
    state->awaited = url;
    if (state->started)
        view->LoadURL(Wx(url));
    else
        state->loadWhenStarted = true;
    if (answerWithin.count() > 0)
        state->answerTimer.StartOnce(static_cast<int>(std::min<long long>(answerWithin.count(), INT_MAX)));
}

constexpr WebEngine kEngine{MakeView, IsView, RetireView, ShowAddress};

} // namespace

} // namespace ui_wx

extern "C" __attribute__((visibility("default"))) const ui_wx::WebEngine* vantrel_web_engine()
{
    return &ui_wx::kEngine;
}
