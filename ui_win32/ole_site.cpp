#include "ui_win32/ole_site.h"

#include "ui_win32/win32_text.h"

#include <mshtmdid.h>

#include <cstring>

namespace ui_win32 {

namespace {

// The engine's document object (mshtml's HTMLDocument); MinGW's import
// libraries do not carry its identifier.
constexpr CLSID kHtmlDocument = {0x25336920, 0x03F9, 0x11CF, {0x8F, 0xD0, 0x00, 0xAA, 0x00, 0x68, 0x6F, 0x13}};

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

} // namespace

bool HasHtmlEngine()
{
    IUnknown* document = nullptr;
    const HRESULT hr = ::CoCreateInstance(kHtmlDocument, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                          reinterpret_cast<void**>(&document));
    ReleaseAndClear(document);
    return SUCCEEDED(hr);
}

// --- The control --------------------------------------------------------------------

bool OleSite::OpenControl()
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
    // Without its events nobody could tell a page from a failure.
    return m_events != nullptr;
}

void OleSite::CloseControl()
{
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

void OleSite::Fit()
{
    RECT area{};
    if (m_inPlace && ::GetClientRect(m_container, &area))
        m_inPlace->SetObjectRects(&area, &area);
}

bool OleSite::NavigateControl(std::string_view url)
{
    VARIANT address;
    ::VariantInit(&address);
    address.vt = VT_BSTR;
    address.bstrVal = ::SysAllocString(Widen(url).c_str());
    VARIANT none;
    ::VariantInit(&none);
    const HRESULT hr = m_browser->Navigate2(&address, &none, &none, &none, &none);
    ::VariantClear(&address);
    return SUCCEEDED(hr);
}

void OleSite::StopControl()
{
    m_browser->Stop();
}

bool OleSite::LoadDocument(std::string_view html)
{
    IDispatch* document = nullptr;
    IPersistStreamInit* persist = nullptr;
    IStream* stream = nullptr;
    bool loaded = false;
    if (SUCCEEDED(m_browser->get_Document(&document)) && document &&
        SUCCEEDED(document->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist)))) {
        if (HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, html.size())) {
            if (void* bytes = ::GlobalLock(memory)) {
                std::memcpy(bytes, html.data(), html.size());
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
    return loaded;
}

std::string OleSite::LocationName() const
{
    BSTR name = nullptr;
    std::string text;
    if (m_browser && SUCCEEDED(m_browser->get_LocationName(&name)) && name)
        text = Narrow(std::wstring_view(name, ::SysStringLen(name)));
    ::SysFreeString(name);
    return text;
}

bool OleSite::IsControl(IUnknown* object) const
{
    return SameObject(object, m_browser);
}

// --- IUnknown ---------------------------------------------------------------------

HRESULT OleSite::QueryInterface(REFIID iid, void** out)
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

ULONG OleSite::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_refs));
}

ULONG OleSite::Release()
{
    const LONG left = ::InterlockedDecrement(&m_refs);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

// --- IOleClientSite -----------------------------------------------------------------

HRESULT OleSite::GetMoniker(DWORD, DWORD, IMoniker** out)
{
    if (out)
        *out = nullptr;
    return E_NOTIMPL;
}

HRESULT OleSite::GetContainer(IOleContainer** out)
{
    if (out)
        *out = nullptr;
    return E_NOINTERFACE;
}

// --- IOleWindow ---------------------------------------------------------------------

HRESULT OleSite::GetWindow(HWND* out)
{
    if (!out)
        return E_POINTER;
    *out = m_container;
    return S_OK;
}

// --- IOleInPlaceSite ----------------------------------------------------------------

HRESULT OleSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                  LPRECT clip, LPOLEINPLACEFRAMEINFO info)
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

HRESULT OleSite::OnPosRectChange(LPCRECT rect)
{
    if (m_inPlace && rect)
        m_inPlace->SetObjectRects(rect, rect);
    return S_OK;
}

// --- IDocHostUIHandler --------------------------------------------------------------

HRESULT OleSite::GetHostInfo(DOCHOSTUIINFO* info)
{
    if (!info || info->cbSize < sizeof(DOCHOSTUIINFO))
        return E_INVALIDARG;
    info->dwFlags = DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_NO3DOUTERBORDER | DOCHOSTUIFLAG_THEME |
                    DOCHOSTUIFLAG_DPI_AWARE | DOCHOSTUIFLAG_DISABLE_HELP_MENU;
    info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
}

HRESULT OleSite::GetOptionKeyPath(LPOLESTR* key, DWORD)
{
    if (key)
        *key = nullptr;
    return E_NOTIMPL;
}

HRESULT OleSite::GetDropTarget(IDropTarget*, IDropTarget** out)
{
    if (out)
        *out = nullptr;
    return E_NOTIMPL;
}

HRESULT OleSite::GetExternal(IDispatch** out)
{
    if (out)
        *out = nullptr; // no bridge from page scripts to the program
    return S_FALSE;
}

HRESULT OleSite::TranslateUrl(DWORD, LPWSTR, LPWSTR* out)
{
    if (out)
        *out = nullptr;
    return S_FALSE;
}

HRESULT OleSite::FilterDataObject(IDataObject*, IDataObject** out)
{
    if (out)
        *out = nullptr;
    return S_FALSE;
}

// --- IDispatch ----------------------------------------------------------------------

HRESULT OleSite::GetTypeInfoCount(UINT* count)
{
    if (count)
        *count = 0;
    return S_OK;
}

HRESULT OleSite::GetTypeInfo(UINT, LCID, ITypeInfo** out)
{
    if (out)
        *out = nullptr;
    return E_NOTIMPL;
}

HRESULT OleSite::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*, UINT*)
{
    if (id == DISPID_AMBIENT_DLCONTROL) {
        // Pictures, but no applets or ActiveX controls, and no boxes.
        if (!result)
            return E_POINTER;
        ::VariantInit(result);
        result->vt = VT_I4;
        result->lVal = DLCTL_DLIMAGES | DLCTL_VIDEOS | DLCTL_BGSOUNDS | DLCTL_NO_JAVA | DLCTL_NO_DLACTIVEXCTLS |
                       DLCTL_NO_RUNACTIVEXCTLS | DLCTL_SILENT;
        return S_OK;
    }
    return OnControlEvent(id, params) ? S_OK : DISP_E_MEMBERNOTFOUND;
}

} // namespace ui_win32
