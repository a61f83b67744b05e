#pragma once

#include "ui_win32/win32_api.h"

#include <exdisp.h>
#include <mshtmhst.h>
#include <ocidl.h>
#include <ole2.h>

#include <string>
#include <string_view>

namespace ui_win32 {

// Lets a COM object go and forgets it; nothing where there is none.
template <typename T>
void ReleaseAndClear(T*& object)
{
    if (object)
        object->Release();
    object = nullptr;
}

// Whether the engine behind the system's browser control is there at all:
// the control's own object exists without it (Wine's does), but shows
// nothing.
bool HasHtmlEngine();

// The site that hosts the system's browser control inside a window of the
// program (its container), in plain COM: the control asks its site for the
// window, the frame and the host's wishes, and calls DWebBrowserEvents2
// through IDispatch. The host's wishes are fixed here and are those of a
// plain pane: no borders, context menu, tool space or menus, no bridge from
// page scripts to the program, pictures but no applets or ActiveX controls,
// no script error boxes and no dropped files. Which pages the control goes
// to is not the site's business: it hands the control's events to
// OnControlEvent, and whoever derives from it decides.
//
// Reference-counted: it starts with one reference, its owner's, and the
// control holds others while it lives; the last Release deletes it.
class OleSite : public IOleClientSite,
                public IOleInPlaceSite,
                public IOleInPlaceFrame,
                public IDocHostUIHandler,
                public IDispatch {
public:
    OleSite(const OleSite&) = delete;
    OleSite& operator=(const OleSite&) = delete;

    // Makes the control, gives it this site, activates it in place in the
    // container and listens to its events. False when any of that fails;
    // CloseControl then lets go of what was made.
    bool OpenControl();
    // Fits the control to the container's client area.
    void Fit();

    // --- IUnknown ------------------------------------------------------------------
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // --- IOleClientSite --------------------------------------------------------------
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** out) override;
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** out) override;
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(WINBOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // --- IOleWindow (the site's and the frame's) ------------------------------------
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(WINBOOL) override { return E_NOTIMPL; }

    // --- IOleInPlaceSite ---------------------------------------------------------------
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                               LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(WINBOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT rect) override;

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
    HRESULT STDMETHODCALLTYPE GetHostInfo(DOCHOSTUIINFO* info) override;
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
    HRESULT STDMETHODCALLTYPE GetOptionKeyPath(LPOLESTR* key, DWORD) override;
    HRESULT STDMETHODCALLTYPE GetDropTarget(IDropTarget*, IDropTarget** out) override;
    HRESULT STDMETHODCALLTYPE GetExternal(IDispatch** out) override;
    HRESULT STDMETHODCALLTYPE TranslateUrl(DWORD, LPWSTR, LPWSTR* out) override;
    HRESULT STDMETHODCALLTYPE FilterDataObject(IDataObject*, IDataObject** out) override;

    // --- IDispatch: the host's wishes and the control's events ---------------------------
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** out) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    // Answers the ambient properties the site knows itself and hands every
    // other call to OnControlEvent.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                                     UINT*) final;

protected:
    explicit OleSite(HWND container) : m_container(container) {}
    virtual ~OleSite() = default;

    // One of the control's events (DISPID_BEFORENAVIGATE2, ...); false
    // for one the deriving class does not handle.
    virtual bool OnControlEvent(DISPID id, DISPPARAMS* params) = 0;

    // Stops listening, stops the control, deactivates it and lets it go.
    // Nothing when there is no control (any more).
    void CloseControl();

    // --- With the control open --------------------------------------------------------
    // Starts the control's navigation to an address; false when the control
    // refuses it. The control announces its top-level navigations through
    // OnControlEvent before this returns, the address maybe written
    // otherwise than given.
    bool NavigateControl(std::string_view url);
    void StopControl();
    // Puts a page into the control's current document from memory; false
    // when the document cannot take it.
    bool LoadDocument(std::string_view html);
    // The title of the page the control shows; empty without one.
    std::string LocationName() const;
    // Whether an event's object is the control itself, not a frame of its
    // page.
    bool IsControl(IUnknown* object) const;

    HWND Container() const { return m_container; }

private:
    LONG m_refs = 1;
    HWND m_container;
    IOleObject* m_object = nullptr;
    IOleInPlaceObject* m_inPlace = nullptr;
    IWebBrowser2* m_browser = nullptr;
    IConnectionPoint* m_events = nullptr;
    DWORD m_cookie = 0;
};

} // namespace ui_win32
