#include "ui_win32/browser_pane.h"

#include "ui_win32/browser_page.h"
#include "ui_win32/ole_site.h"
#include "ui_win32/win32_text.h"

#include <exdispid.h>

#include <algorithm>
#include <climits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ui_win32 {

namespace {

// The container's own messages: the pane's work that must wait until the
// control's event under way has returned.
constexpr UINT kHandOutsideMessage = WM_APP + 0x2B1; // addresses for the user's browser
constexpr UINT kRetireMessage = WM_APP + 0x2B2;      // the control cannot show pages: back to the placeholder
constexpr UINT_PTR kAnswerTimer = 0x2B1;
constexpr UINT_PTR kContainerSubclass = 2;

// NewWindow3's flag for a window the user's click asked for (a pop-up a
// page opens by itself lacks it).
constexpr DWORD kUserInitiated = 0x2;

// The event's arguments in the order the event declares them (DISPPARAMS
// holds them last first); null when the count is not the declared one.
VARIANT* Argument(const DISPPARAMS* params, UINT position, UINT declared)
{
    if (!params || params->cArgs != declared || position >= declared)
        return nullptr;
    return &params->rgvarg[declared - 1 - position];
}

std::string TextOf(const VARIANT* v)
{
    if (v && v->vt == (VT_BYREF | VT_VARIANT) && v->pvarVal)
        v = v->pvarVal;
    if (!v || v->vt != VT_BSTR || !v->bstrVal)
        return {};
    return Narrow(std::wstring_view(v->bstrVal, ::SysStringLen(v->bstrVal)));
}

IDispatch* DispatchOf(const VARIANT* v)
{
    return v && v->vt == VT_DISPATCH ? v->pdispVal : nullptr;
}

void Cancel(VARIANT* v)
{
    if (v && v->vt == (VT_BYREF | VT_BOOL) && v->pboolVal)
        *v->pboolVal = VARIANT_TRUE;
}

} // namespace

// The pane's site: the control hosted by OleSite, and the pane's rules over
// its events: which navigations go ahead, which addresses go to the user's
// browser, when a page counts as shown or failed, and how an embedded page
// gets into the control.
class PaneSite final : public OleSite {
public:
    PaneSite(HWND container, ui::WebViewClient& client) : OleSite(container), m_client(&client) {}

    // Ends the pane's work and closes the control; the client hears nothing
    // more. Once is enough: later calls do nothing.
    void Close();
    void Navigate(std::string_view url, std::chrono::milliseconds answerWithin);
    void OnAnswerTimeout();
    void HandOutside();

private:
    ~PaneSite() override = default;

    bool OnControlEvent(DISPID id, DISPPARAMS* params) override;

    bool Go(const std::string& url);
    void LoadPendingPage();
    void Report(const std::string& url, const std::string& title);
    void Retire();
    bool IsTopLevel(IDispatch* window) const { return IsControl(window); }

    void OnBeforeNavigate(DISPPARAMS* params);
    void OnDocumentComplete(DISPPARAMS* params);
    void OnNavigateError(DISPPARAMS* params);
    void OnNewWindow(DISPPARAMS* params);
    void OnFileDownload(DISPPARAMS* params);

    ui::WebViewClient* m_client; // null once closed
    bool m_closed = false;

    std::string m_awaited;     // the web address whose answer the client waits for
    std::string m_pendingPage; // an embedded page to load once the blank page stands
    std::string m_ownTarget;   // the address the program itself sent the control to
    bool m_inNavigate = false; // inside the program's own navigation call
    bool m_showingEmbedded = false;
    std::vector<std::string> m_outside; // addresses waiting to go to the user's browser
};

void PaneSite::Close()
{
    if (m_closed)
        return;
    m_closed = true;
    m_client = nullptr;
    m_outside.clear();
    ::KillTimer(Container(), kAnswerTimer);
    CloseControl();
}

void PaneSite::Navigate(std::string_view url, std::chrono::milliseconds answerWithin)
{
    if (m_closed)
        return;
    ::KillTimer(Container(), kAnswerTimer);
    if (const auto name = ui::EmbeddedName(url)) {
        const auto page = m_client->FindEmbedded(*name);
        if (!page)
            return;
        const std::string_view html(reinterpret_cast<const char*>(page->bytes.data()), page->bytes.size());
        m_pendingPage = PageForBrowserControl(html, *m_client);
        m_awaited.clear();
        // The page goes into a blank document once that stands.
        if (!Go("about:blank"))
            Retire();
        return;
    }
    m_pendingPage.clear();
    m_awaited = url;
    if (!Go(m_awaited)) {
        Report(std::exchange(m_awaited, {}), "");
        return;
    }
    if (answerWithin.count() > 0)
        ::SetTimer(Container(), kAnswerTimer, static_cast<UINT>(std::min<long long>(answerWithin.count(), INT_MAX)),
                   nullptr);
}

bool PaneSite::Go(const std::string& url)
{
    m_ownTarget = url;
    // The control asks about its top-level navigations before
    // NavigateControl returns, naming the address maybe otherwise than
    // given: whatever it asks about meanwhile is the program's own.
    m_inNavigate = true;
    const bool started = NavigateControl(url);
    m_inNavigate = false;
    return started;
}

void PaneSite::LoadPendingPage()
{
    m_showingEmbedded = LoadDocument(std::exchange(m_pendingPage, {}));
    if (!m_showingEmbedded)
        Retire();
}

void PaneSite::Report(const std::string& url, const std::string& title)
{
    if (m_client)
        m_client->DocumentComplete(url, title);
}

void PaneSite::Retire()
{
    ::PostMessageW(Container(), kRetireMessage, 0, 0);
}

void PaneSite::OnAnswerTimeout()
{
    ::KillTimer(Container(), kAnswerTimer);
    if (m_closed || m_awaited.empty())
        return;
    StopControl();
    Report(std::exchange(m_awaited, {}), "");
}

void PaneSite::HandOutside()
{
    const std::vector<std::string> addresses = std::exchange(m_outside, {});
    for (const std::string& url : addresses)
        if (m_client)
            m_client->NewWindowRequested(url);
}

bool PaneSite::OnControlEvent(DISPID id, DISPPARAMS* params)
{
    switch (id) {
    case DISPID_BEFORENAVIGATE2:
        OnBeforeNavigate(params);
        return true;
    case DISPID_DOCUMENTCOMPLETE:
        OnDocumentComplete(params);
        return true;
    case DISPID_NAVIGATEERROR:
        OnNavigateError(params);
        return true;
    case DISPID_NEWWINDOW3:
        OnNewWindow(params);
        return true;
    case DISPID_FILEDOWNLOAD:
        OnFileDownload(params);
        return true;
    default:
        return false;
    }
}

// BeforeNavigate2(pDisp, URL, Flags, TargetFrameName, PostData, Headers, Cancel)
void PaneSite::OnBeforeNavigate(DISPPARAMS* params)
{
    if (m_closed)
        return;
    const std::string url = TextOf(Argument(params, 1, 7));
    const bool own = m_inNavigate || (!m_ownTarget.empty() && url == m_ownTarget);
    if (own)
        m_ownTarget.clear();
    switch (DecideNavigation(url, m_showingEmbedded, own)) {
    case PaneNavigation::Go:
        if (ui::IsWebAddress(url))
            m_showingEmbedded = false;
        return;
    case PaneNavigation::OpenOutside:
        m_outside.push_back(url);
        ::PostMessageW(Container(), kHandOutsideMessage, 0, 0);
        break;
    case PaneNavigation::Refuse:
        break;
    }
    Cancel(Argument(params, 6, 7));
}

// DocumentComplete(pDisp, URL): frames report too; only the page counts.
void PaneSite::OnDocumentComplete(DISPPARAMS* params)
{
    if (m_closed || !IsTopLevel(DispatchOf(Argument(params, 0, 2))))
        return;
    const std::string url = TextOf(Argument(params, 1, 2));
    if (!m_pendingPage.empty()) {
        // An embedded page was asked for after whatever finished here.
        if (url == "about:blank")
            LoadPendingPage();
        return;
    }
    if (!ui::IsWebAddress(url))
        return; // the blank page, the embedded page itself
    ::KillTimer(Container(), kAnswerTimer);
    m_awaited.clear();
    Report(url, LocationName());
}

// NavigateError(pDisp, URL, Frame, StatusCode, Cancel): the page's own load
// failed. The control's error page is not shown; the client hears of the
// failure at once.
void PaneSite::OnNavigateError(DISPPARAMS* params)
{
    if (m_closed || !IsTopLevel(DispatchOf(Argument(params, 0, 5))))
        return;
    Cancel(Argument(params, 4, 5));
    if (!m_pendingPage.empty()) {
        // Not even a blank page: the control has no engine to show pages.
        m_pendingPage.clear();
        Retire();
        return;
    }
    const std::string url = TextOf(Argument(params, 1, 5));
    ::KillTimer(Container(), kAnswerTimer);
    const std::string failed = m_awaited.empty() ? url : std::exchange(m_awaited, {});
    Report(failed, "");
}

// NewWindow3(ppDisp, Cancel, dwFlags, bstrUrlContext, bstrUrl): the pane
// never opens a window; a web address the user's click asked for goes to
// the user's browser.
void PaneSite::OnNewWindow(DISPPARAMS* params)
{
    Cancel(Argument(params, 1, 5));
    const VARIANT* flags = Argument(params, 2, 5);
    const bool user =
        flags && (flags->vt == VT_I4 || flags->vt == VT_UI4) && (static_cast<DWORD>(flags->lVal) & kUserInitiated) != 0;
    const std::string url = TextOf(Argument(params, 4, 5));
    if (m_closed || !user || !ui::IsWebAddress(url))
        return;
    m_outside.push_back(url);
    ::PostMessageW(Container(), kHandOutsideMessage, 0, 0);
}

// FileDownload(ActiveDocument, Cancel): what the pane cannot show is not
// saved to the user's folders either.
void PaneSite::OnFileDownload(DISPPARAMS* params)
{
    const VARIANT* document = Argument(params, 0, 2);
    if (!document || document->vt != VT_BOOL || document->boolVal == VARIANT_FALSE)
        Cancel(Argument(params, 1, 2));
}

// --- The pane ------------------------------------------------------------------------

std::unique_ptr<BrowserPane> BrowserPane::Create(HWND container, ui::WebViewClient& client)
{
    return HasHtmlEngine() ? Host(container, client) : nullptr;
}

std::unique_ptr<BrowserPane> BrowserPane::Host(HWND container, ui::WebViewClient& client)
{
    if (!container)
        return nullptr;
    std::unique_ptr<BrowserPane> pane(new BrowserPane(container));
    pane->m_site = new PaneSite(container, client);
    if (!pane->m_site->OpenControl())
        return nullptr; // the destructor closes what was started
    // The static draws nothing over the browser from now on.
    ::SetWindowLongW(container, GWL_STYLE, ::GetWindowLongW(container, GWL_STYLE) | WS_CLIPCHILDREN);
    ::SetWindowSubclass(container, &BrowserPane::ContainerProc, kContainerSubclass,
                        reinterpret_cast<DWORD_PTR>(pane.get()));
    return pane;
}

BrowserPane::BrowserPane(HWND container) : m_container(container)
{
}

BrowserPane::~BrowserPane()
{
    ::RemoveWindowSubclass(m_container, &BrowserPane::ContainerProc, kContainerSubclass);
    if (m_site) {
        m_site->Close();
        m_site->Release();
    }
}

void BrowserPane::Navigate(std::string_view url, std::chrono::milliseconds answerWithin)
{
    m_site->Navigate(url, answerWithin);
}

LRESULT CALLBACK BrowserPane::ContainerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR data)
{
    PaneSite& site = *reinterpret_cast<BrowserPane*>(data)->m_site;
    switch (message) {
    case WM_SIZE:
        site.Fit();
        break;
    case WM_TIMER:
        if (wParam == kAnswerTimer) {
            site.OnAnswerTimeout();
            return 0;
        }
        break;
    case kHandOutsideMessage:
        site.HandOutside();
        return 0;
    case kRetireMessage:
        // The control cannot show the program's pages: it goes, and the
        // static stands again as the blank placeholder.
        site.Close();
        ::SetWindowTextW(hwnd, L"");
        ::InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_DESTROY:
        site.Close(); // while the browser's windows still stand
        break;
    default:
        break;
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace ui_win32
