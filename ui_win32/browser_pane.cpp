#include "ui_win32/browser_pane.h"

#include "ui_win32/browser_page.h"
#include "ui_win32/win32_text.h"

#include <exdisp.h>
#include <exdispid.h>
#include <mshtmdid.h>
#include <mshtmhst.h>
#include <mshtml.h>
#include <ocidl.h>
#include <ole2.h>

#include <algorithm>
#include <climits>
#include <cstring>
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

template <typename T>
void ReleaseAndClear(T*& object)
{
    if (object)
        object->Release();
    object = nullptr;
}

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

bool SameObject(IUnknown* a, IUnknown* b)
{
    if (!a || !b)
        return false;
    IUnknown* ua = nullptr;
    IUnknown* ub = nullptr;
    const bool same = SUCCEEDED(a->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&ua))) &&
                      SUCCEEDED(b->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&ub))) && ua == ub;
    ReleaseAndClear(ua);
    ReleaseAndClear(ub);
    return same;
}

// The engine's document object (mshtml's HTMLDocument); MinGW's import
// libraries do not carry its identifier.
constexpr CLSID kHtmlDocument = {0x25336920, 0x03F9, 0x11CF, {0x8F, 0xD0, 0x00, 0xAA, 0x00, 0x68, 0x6F, 0x13}};

// Whether the engine behind the control is there at all: the control's
// own object exists without it (Wine's does), but shows nothing.
bool HasHtmlEngine()
{
    IUnknown* document = nullptr;
    const HRESULT hr = ::CoCreateInstance(kHtmlDocument, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                          reinterpret_cast<void**>(&document));
    ReleaseAndClear(document);
    return SUCCEEDED(hr);
}

} // namespace

// The control's site and the receiver of its events, in one COM object: the
// control asks its site for the window, the frame and the host's wishes,
// and calls DWebBrowserEvents2 through IDispatch. Reference-counted; the
// pane holds one reference, the control others while it lives.
class BrowserSite final : public IOleClientSite,
                          public IOleInPlaceSite,
                          public IOleInPlaceFrame,
                          public IDocHostUIHandler,
                          public IDispatch {
public:
    BrowserSite(HWND container, ui::WebViewClient& client) : m_container(container), m_client(&client) {}

    bool Start();
    void Close();
    void Fit();
    void Navigate(std::string_view url, std::chrono::milliseconds answerWithin);
    void OnAnswerTimeout();
    void HandOutside();
    bool IsClosed() const { return m_closed; }

    // --- IUnknown ------------------------------------------------------------------
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IOleClientSite)
            *out = static_cast<IOleClientSite*>(this);
        else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
            *out = static_cast<IOleInPlaceSite*>(this);
        else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
            *out = static_cast<IOleInPlaceFrame*>(this);
        else if (iid == IID_IDocHostUIHandler)
            *out = static_cast<IDocHostUIHandler*>(this);
        else if (iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2)
            *out = static_cast<IDispatch*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = ::InterlockedDecrement(&m_refs);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    // --- IOleClientSite --------------------------------------------------------------
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** out) override
    {
        if (out)
            *out = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** out) override
    {
        if (out)
            *out = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(WINBOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // --- IOleWindow (the site's and the frame's) ------------------------------------
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override
    {
        if (!out)
            return E_POINTER;
        *out = m_container;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(WINBOOL) override { return E_NOTIMPL; }

    // --- IOleInPlaceSite ---------------------------------------------------------------
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                               LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info) override
    {
        if (!frame || !document || !position || !clip || !info)
            return E_POINTER;
        *frame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        *document = nullptr;
        ::GetClientRect(m_container, position);
        *clip = *position;
        info->fMDIApp = FALSE;
        info->hwndFrame = ::GetAncestor(m_container, GA_ROOT);
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(WINBOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT rect) override
    {
        if (m_inPlace && rect)
            m_inPlace->SetObjectRects(rect, rect);
        return S_OK;
    }

    // --- IOleInPlaceFrame: no tool space, menus or status line -------------------------
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS widths) override
    {
        return widths ? INPLACE_E_NOTOOLSPACE : S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(WINBOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

    // --- IDocHostUIHandler: a plain pane -------------------------------------------------
    HRESULT STDMETHODCALLTYPE ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override
    {
        return S_OK; // shown by the host, that is: no menu
    }
    HRESULT STDMETHODCALLTYPE GetHostInfo(DOCHOSTUIINFO* info) override
    {
        if (!info || info->cbSize < sizeof(DOCHOSTUIINFO))
            return E_INVALIDARG;
        info->dwFlags = DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_NO3DOUTERBORDER | DOCHOSTUIFLAG_THEME |
                        DOCHOSTUIFLAG_DPI_AWARE | DOCHOSTUIFLAG_DISABLE_HELP_MENU;
        info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                                     IOleInPlaceUIWindow*) override
    {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE HideUI() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE UpdateUI() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(WINBOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(WINBOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, WINBOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, const GUID*, DWORD) override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE GetOptionKeyPath(LPOLESTR* key, DWORD) override
    {
        if (key)
            *key = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetDropTarget(IDropTarget*, IDropTarget** out) override
    {
        if (out)
            *out = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetExternal(IDispatch** out) override
    {
        if (out)
            *out = nullptr; // no bridge from page scripts to the program
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE TranslateUrl(DWORD, LPWSTR, LPWSTR* out) override
    {
        if (out)
            *out = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE FilterDataObject(IDataObject*, IDataObject** out) override
    {
        if (out)
            *out = nullptr;
        return S_FALSE;
    }

    // --- IDispatch: the host's wishes and the control's events ---------------------------
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (count)
            *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** out) override
    {
        if (out)
            *out = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                                     UINT*) override;

private:
    ~BrowserSite() = default;

    bool Go(const std::string& url);
    void LoadPendingPage();
    void Report(const std::string& url, const std::string& title);
    void Retire();
    bool IsTopLevel(IDispatch* window) const { return SameObject(window, m_browser); }
    std::string LocationName() const;

    void OnBeforeNavigate(DISPPARAMS* params);
    void OnDocumentComplete(DISPPARAMS* params);
    void OnNavigateError(DISPPARAMS* params);
    void OnNewWindow(DISPPARAMS* params);
    void OnFileDownload(DISPPARAMS* params);

    LONG m_refs = 1;
    HWND m_container;
    ui::WebViewClient* m_client; // null once closed
    IOleObject* m_object = nullptr;
    IOleInPlaceObject* m_inPlace = nullptr;
    IWebBrowser2* m_browser = nullptr;
    IConnectionPoint* m_events = nullptr;
    DWORD m_cookie = 0;
    bool m_closed = false;

    std::string m_awaited;     // the web address whose answer the client waits for
    std::string m_pendingPage; // an embedded page to load once the blank page stands
    std::string m_ownTarget;   // the address the program itself sent the control to
    bool m_inNavigate = false; // inside the program\'s own Navigate2 call
    bool m_showingEmbedded = false;
    std::vector<std::string> m_outside; // addresses waiting to go to the user's browser
};

bool BrowserSite::Start()
{
    if (FAILED(::CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                  reinterpret_cast<void**>(&m_object))))
        return false;
    if (FAILED(m_object->SetClientSite(static_cast<IOleClientSite*>(this))))
        return false;
    m_object->SetHostNames(L"Vantrel", nullptr);
    RECT area{};
    ::GetClientRect(m_container, &area);
    if (FAILED(m_object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(this), 0, m_container,
                                &area)))
        return false;
    if (FAILED(m_object->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&m_browser))) ||
        FAILED(m_object->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&m_inPlace))))
        return false;
    // No script error boxes, no dropped files opened in the pane.
    m_browser->put_Silent(VARIANT_TRUE);
    m_browser->put_RegisterAsDropTarget(VARIANT_FALSE);
    IConnectionPointContainer* points = nullptr;
    if (SUCCEEDED(m_object->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&points)))) {
        if (SUCCEEDED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, &m_events)) &&
            FAILED(m_events->Advise(static_cast<IDispatch*>(this), &m_cookie)))
            ReleaseAndClear(m_events);
        ReleaseAndClear(points);
    }
    // Without its events the pane could not tell a page from a failure.
    return m_events != nullptr;
}

void BrowserSite::Close()
{
    if (m_closed)
        return;
    m_closed = true;
    m_client = nullptr;
    m_outside.clear();
    ::KillTimer(m_container, kAnswerTimer);
    if (m_events) {
        m_events->Unadvise(m_cookie);
        ReleaseAndClear(m_events);
    }
    if (m_browser) {
        m_browser->Stop();
        ReleaseAndClear(m_browser);
    }
    if (m_inPlace) {
        m_inPlace->InPlaceDeactivate();
        ReleaseAndClear(m_inPlace);
    }
    if (m_object) {
        m_object->Close(OLECLOSE_NOSAVE);
        m_object->SetClientSite(nullptr);
        ReleaseAndClear(m_object);
    }
}

void BrowserSite::Fit()
{
    RECT area{};
    if (m_inPlace && ::GetClientRect(m_container, &area))
        m_inPlace->SetObjectRects(&area, &area);
}

void BrowserSite::Navigate(std::string_view url, std::chrono::milliseconds answerWithin)
{
    if (m_closed)
        return;
    ::KillTimer(m_container, kAnswerTimer);
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
        ::SetTimer(m_container, kAnswerTimer, static_cast<UINT>(std::min<long long>(answerWithin.count(), INT_MAX)),
                   nullptr);
}

bool BrowserSite::Go(const std::string& url)
{
    m_ownTarget = url;
    VARIANT address;
    ::VariantInit(&address);
    address.vt = VT_BSTR;
    address.bstrVal = ::SysAllocString(Widen(url).c_str());
    VARIANT none;
    ::VariantInit(&none);
    // The control asks about its top-level navigations before Navigate2
    // returns; the address it names may be written otherwise than given.
    m_inNavigate = true;
    const HRESULT hr = m_browser->Navigate2(&address, &none, &none, &none, &none);
    m_inNavigate = false;
    ::VariantClear(&address);
    return SUCCEEDED(hr);
}

void BrowserSite::LoadPendingPage()
{
    const std::string page = std::exchange(m_pendingPage, {});
    IDispatch* document = nullptr;
    IPersistStreamInit* persist = nullptr;
    IStream* stream = nullptr;
    bool loaded = false;
    if (SUCCEEDED(m_browser->get_Document(&document)) && document &&
        SUCCEEDED(document->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist)))) {
        if (HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, page.size())) {
            if (void* bytes = ::GlobalLock(memory)) {
                std::memcpy(bytes, page.data(), page.size());
                ::GlobalUnlock(memory);
            }
            if (SUCCEEDED(::CreateStreamOnHGlobal(memory, TRUE, &stream)))
                loaded = SUCCEEDED(persist->InitNew()) && SUCCEEDED(persist->Load(stream));
            else
                ::GlobalFree(memory);
        }
    }
    ReleaseAndClear(stream);
    ReleaseAndClear(persist);
    ReleaseAndClear(document);
    m_showingEmbedded = loaded;
    if (!loaded)
        Retire();
}

void BrowserSite::Report(const std::string& url, const std::string& title)
{
    if (m_client)
        m_client->DocumentComplete(url, title);
}

void BrowserSite::Retire()
{
    ::PostMessageW(m_container, kRetireMessage, 0, 0);
}

std::string BrowserSite::LocationName() const
{
    BSTR name = nullptr;
    std::string text;
    if (m_browser && SUCCEEDED(m_browser->get_LocationName(&name)) && name)
        text = Narrow(std::wstring_view(name, ::SysStringLen(name)));
    ::SysFreeString(name);
    return text;
}

void BrowserSite::OnAnswerTimeout()
{
    ::KillTimer(m_container, kAnswerTimer);
    if (m_closed || m_awaited.empty())
        return;
    m_browser->Stop();
    Report(std::exchange(m_awaited, {}), "");
}

void BrowserSite::HandOutside()
{
    const std::vector<std::string> addresses = std::exchange(m_outside, {});
    for (const std::string& url : addresses)
        if (m_client)
            m_client->NewWindowRequested(url);
}

HRESULT BrowserSite::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*, UINT*)
{
    switch (id) {
    case DISPID_AMBIENT_DLCONTROL:
        // Pictures, but no applets or ActiveX controls, and no boxes.
        if (!result)
            return E_POINTER;
        ::VariantInit(result);
        result->vt = VT_I4;
        result->lVal = DLCTL_DLIMAGES | DLCTL_VIDEOS | DLCTL_BGSOUNDS | DLCTL_NO_JAVA | DLCTL_NO_DLACTIVEXCTLS |
                       DLCTL_NO_RUNACTIVEXCTLS | DLCTL_SILENT;
        return S_OK;
    case DISPID_BEFORENAVIGATE2:
        OnBeforeNavigate(params);
        return S_OK;
    case DISPID_DOCUMENTCOMPLETE:
        OnDocumentComplete(params);
        return S_OK;
    case DISPID_NAVIGATEERROR:
        OnNavigateError(params);
        return S_OK;
    case DISPID_NEWWINDOW3:
        OnNewWindow(params);
        return S_OK;
    case DISPID_FILEDOWNLOAD:
        OnFileDownload(params);
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

// BeforeNavigate2(pDisp, URL, Flags, TargetFrameName, PostData, Headers, Cancel)
void BrowserSite::OnBeforeNavigate(DISPPARAMS* params)
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
        ::PostMessageW(m_container, kHandOutsideMessage, 0, 0);
        break;
    case PaneNavigation::Refuse:
        break;
    }
    Cancel(Argument(params, 6, 7));
}

// DocumentComplete(pDisp, URL): frames report too; only the page counts.
void BrowserSite::OnDocumentComplete(DISPPARAMS* params)
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
    ::KillTimer(m_container, kAnswerTimer);
    m_awaited.clear();
    Report(url, LocationName());
}

// NavigateError(pDisp, URL, Frame, StatusCode, Cancel): the page's own load
// failed. The control's error page is not shown; the client hears of the
// failure at once.
void BrowserSite::OnNavigateError(DISPPARAMS* params)
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
    ::KillTimer(m_container, kAnswerTimer);
    const std::string failed = m_awaited.empty() ? url : std::exchange(m_awaited, {});
    Report(failed, "");
}

// NewWindow3(ppDisp, Cancel, dwFlags, bstrUrlContext, bstrUrl): the pane
// never opens a window; a web address the user's click asked for goes to
// the user's browser.
void BrowserSite::OnNewWindow(DISPPARAMS* params)
{
    Cancel(Argument(params, 1, 5));
    const VARIANT* flags = Argument(params, 2, 5);
    const bool user =
        flags && (flags->vt == VT_I4 || flags->vt == VT_UI4) && (static_cast<DWORD>(flags->lVal) & kUserInitiated) != 0;
    const std::string url = TextOf(Argument(params, 4, 5));
    if (m_closed || !user || !ui::IsWebAddress(url))
        return;
    m_outside.push_back(url);
    ::PostMessageW(m_container, kHandOutsideMessage, 0, 0);
}

// FileDownload(ActiveDocument, Cancel): what the pane cannot show is not
// saved to the user's folders either.
void BrowserSite::OnFileDownload(DISPPARAMS* params)
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
    pane->m_site = new BrowserSite(container, client);
    if (!pane->m_site->Start())
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
    BrowserSite& site = *reinterpret_cast<BrowserPane*>(data)->m_site;
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
