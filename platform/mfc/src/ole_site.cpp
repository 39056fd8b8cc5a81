// The control container: a site per hosted control (client site, in-place site, control
// site, ambient properties and the event sink), the container of a window's controls, and
// the CWnd members that create and call controls.
#include "afxole.h"
#include "afxpriv.h"
#include "ole_impl.h"
#include <commctrl.h>
#include <map>
#include <vector>

class COleControlContainer;

class COleControlSite : public IOleClientSite,
                        public IOleInPlaceSite,
                        public IOleControlSite,
                        public IDispatch {
public:
    explicit COleControlSite(COleControlContainer* pCtrlCont);
    virtual ~COleControlSite();

    BOOL CreateControl(CWnd* pWndCtrl, REFCLSID clsid, LPCTSTR lpszWindowName, DWORD dwStyle,
                       const RECT& rect, UINT nID);
    // Closes the control and takes the site out of its container.
    void DestroyControl();
    void DetachWrapper();
    LPDISPATCH Dispatch() const { return m_pDispatch; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_refs); }
    STDMETHODIMP_(ULONG) Release() override
    {
        LONG n = InterlockedDecrement(&m_refs);
        if (n == 0)
            delete this;
        return n;
    }
    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** pp) override
    {
        if (pp)
            *pp = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetContainer(IOleContainer** pp) override
    {
        if (pp)
            *pp = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }
    // IOleWindow / IOleInPlaceSite
    STDMETHODIMP GetWindow(HWND* phwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override
    {
        m_bInPlaceActive = TRUE;
        return S_OK;
    }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc,
                                  LPRECT lprcPosRect, LPRECT lprcClipRect,
                                  LPOLEINPLACEFRAMEINFO lpFrameInfo) override;
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override
    {
        m_bInPlaceActive = FALSE;
        return S_OK;
    }
    STDMETHODIMP DiscardUndoState() override { return S_OK; }
    STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
    STDMETHODIMP OnPosRectChange(LPCRECT lprcPosRect) override;
    // IOleControlSite
    STDMETHODIMP OnControlInfoChanged() override { return S_OK; }
    STDMETHODIMP LockInPlaceActive(BOOL) override { return S_OK; }
    STDMETHODIMP GetExtendedControl(IDispatch** pp) override
    {
        if (pp)
            *pp = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP TransformCoords(POINTL* pPtlHimetric, POINTF* pPtfContainer,
                                 DWORD dwFlags) override;
    STDMETHODIMP TranslateAccelerator(MSG*, DWORD) override { return S_FALSE; }
    STDMETHODIMP OnFocus(BOOL) override { return S_OK; }
    STDMETHODIMP ShowPropertyFrame() override { return E_NOTIMPL; }
    // IDispatch: the ambient properties
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override
    {
        if (pctinfo)
            *pctinfo = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** pp) override
    {
        if (pp)
            *pp = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return E_NOTIMPL;
    }
    STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD wFlags, DISPPARAMS*, VARIANT* pResult,
                        EXCEPINFO*, UINT*) override;

    // The event sink: the control's outgoing interface, delivered to the container window's
    // event-sink maps.
    class XEventSink : public IDispatch {
    public:
        COleControlSite* m_pSite = nullptr;
        STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
        STDMETHODIMP_(ULONG) AddRef() override { return m_pSite->AddRef(); }
        STDMETHODIMP_(ULONG) Release() override { return m_pSite->Release(); }
        STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override
        {
            if (pctinfo)
                *pctinfo = 0;
            return S_OK;
        }
        STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** pp) override
        {
            if (pp)
                *pp = nullptr;
            return E_NOTIMPL;
        }
        STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
        {
            return E_NOTIMPL;
        }
        STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* pParams, VARIANT*,
                            EXCEPINFO* pExcepInfo, UINT* puArgErr) override;
    } m_xEventSink;

    LONG m_refs;
    COleControlContainer* m_pCtrlCont;
    CWnd* m_pWndCtrl; // the wrapper the container code calls through, if any
    HWND m_hWnd; // the control's window
    UINT m_nID;
    CLSID m_clsid;
    CRect m_rect;
    DWORD m_dwMiscStatus;
    DWORD m_dwEventCookie;
    IID m_iidEvents;
    IConnectionPoint* m_pEventCP;
    LPOLEOBJECT m_pObject;
    LPOLEINPLACEOBJECT m_pInPlaceObject;
    LPDISPATCH m_pDispatch;
    BOOL m_bInPlaceActive;

private:
    void ConnectSink();
    void DisconnectSink();
};

// The controls of one container window.
class COleControlContainer {
public:
    COleControlContainer(HWND hWnd) : m_hWnd(hWnd) {}
    HWND m_hWnd;
    std::vector<COleControlSite*> m_sites;
    COleControlSite* FindSite(HWND hWnd)
    {
        for (COleControlSite* s : m_sites)
            if (s->m_hWnd == hWnd)
                return s;
        return nullptr;
    }
    CWnd* Window() const { return CWnd::FromHandlePermanent(m_hWnd); }
    void CloseAll()
    {
        std::vector<COleControlSite*> sites = m_sites;
        for (COleControlSite* s : sites)
            s->DestroyControl();
    }
};

namespace {

std::map<HWND, COleControlContainer*>& Containers()
{
    static std::map<HWND, COleControlContainer*>* p = new std::map<HWND, COleControlContainer*>;
    return *p;
}

// The site of a control window, wherever it was created.
COleControlSite* FindSiteOfWindow(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    auto it = Containers().find(::GetParent(hWnd));
    return it == Containers().end() ? nullptr : it->second->FindSite(hWnd);
}

const UINT_PTR kSubclassId = 0x4f4c4543; // container windows carry one subclass of ours

// Notifications a control sends its parent go back to the control as OCM_ messages (the
// container answers the ambient MessageReflect with TRUE); and the controls are closed
// while their container window is being destroyed, before Windows destroys the children.
LRESULT CALLBACK ContainerProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR data)
{
    COleControlContainer* cont = reinterpret_cast<COleControlContainer*>(data);
    HWND from = nullptr;
    switch (msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        from = reinterpret_cast<HWND>(lParam);
        break;
    case WM_NOTIFY:
        from = lParam ? reinterpret_cast<NMHDR*>(lParam)->hwndFrom : nullptr;
        break;
    case WM_DRAWITEM:
        from = lParam ? reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem : nullptr;
        break;
    case WM_DELETEITEM:
        from = lParam ? reinterpret_cast<DELETEITEMSTRUCT*>(lParam)->hwndItem : nullptr;
        break;
    case WM_COMPAREITEM:
        from = lParam ? reinterpret_cast<COMPAREITEMSTRUCT*>(lParam)->hwndItem : nullptr;
        break;
    case WM_DESTROY:
        cont->CloseAll();
        break;
    case WM_NCDESTROY: {
        LRESULT r = DefSubclassProc(hWnd, msg, wParam, lParam);
        RemoveWindowSubclass(hWnd, ContainerProc, kSubclassId);
        if (CWnd* w = CWnd::FromHandlePermanent(hWnd))
            if (w->m_pCtrlCont == cont)
                w->m_pCtrlCont = nullptr;
        cont->CloseAll();
        Containers().erase(hWnd);
        delete cont;
        return r;
    }
    }
    if (from && cont->FindSite(from))
        return ::SendMessageA(from, OCM__BASE + msg, wParam, lParam);
    return DefSubclassProc(hWnd, msg, wParam, lParam);
}

COleControlContainer* ContainerFor(HWND hWnd)
{
    auto it = Containers().find(hWnd);
    if (it != Containers().end())
        return it->second;
    COleControlContainer* cont = new COleControlContainer(hWnd);
    if (!SetWindowSubclass(hWnd, ContainerProc, kSubclassId, reinterpret_cast<DWORD_PTR>(cont))) {
        delete cont;
        return nullptr;
    }
    Containers()[hWnd] = cont;
    if (CWnd* w = CWnd::FromHandlePermanent(hWnd))
        w->m_pCtrlCont = reinterpret_cast<::COleControlContainer*>(cont);
    return cont;
}

} // namespace

//////////////////////////////////////////////////////////////////////////////////////////
// COleControlSite

COleControlSite::COleControlSite(COleControlContainer* pCtrlCont)
    : m_refs(1), m_pCtrlCont(pCtrlCont), m_pWndCtrl(nullptr), m_hWnd(nullptr), m_nID(0),
      m_clsid(CLSID_NULL), m_rect(0, 0, 0, 0), m_dwMiscStatus(0), m_dwEventCookie(0),
      m_iidEvents(IID_NULL), m_pEventCP(nullptr), m_pObject(nullptr), m_pInPlaceObject(nullptr),
      m_pDispatch(nullptr), m_bInPlaceActive(FALSE)
{
    m_xEventSink.m_pSite = this;
}

COleControlSite::~COleControlSite()
{
    if (m_pEventCP)
        m_pEventCP->Release();
    if (m_pDispatch)
        m_pDispatch->Release();
    if (m_pInPlaceObject)
        m_pInPlaceObject->Release();
    if (m_pObject)
        m_pObject->Release();
}

STDMETHODIMP COleControlSite::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleClientSite))
        *ppv = static_cast<IOleClientSite*>(this);
    else if (IsEqualIID(riid, IID_IOleInPlaceSite) || IsEqualIID(riid, IID_IOleWindow))
        *ppv = static_cast<IOleInPlaceSite*>(this);
    else if (IsEqualIID(riid, IID_IOleControlSite))
        *ppv = static_cast<IOleControlSite*>(this);
    else if (IsEqualIID(riid, IID_IDispatch))
        *ppv = static_cast<IDispatch*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP COleControlSite::GetWindow(HWND* phwnd)
{
    if (!phwnd)
        return E_POINTER;
    *phwnd = m_pCtrlCont ? m_pCtrlCont->m_hWnd : nullptr;
    return *phwnd ? S_OK : E_FAIL;
}

STDMETHODIMP COleControlSite::GetWindowContext(IOleInPlaceFrame** ppFrame,
                                               IOleInPlaceUIWindow** ppDoc, LPRECT lprcPosRect,
                                               LPRECT lprcClipRect,
                                               LPOLEINPLACEFRAMEINFO lpFrameInfo)
{
    // No frame-level user interface (menus, tool bars) is negotiated with controls.
    if (ppFrame)
        *ppFrame = nullptr;
    if (ppDoc)
        *ppDoc = nullptr;
    if (lprcPosRect)
        *lprcPosRect = m_rect;
    if (lprcClipRect)
        *lprcClipRect = m_rect;
    if (lpFrameInfo) {
        lpFrameInfo->fMDIApp = FALSE;
        lpFrameInfo->hwndFrame = m_pCtrlCont ? ::GetAncestor(m_pCtrlCont->m_hWnd, GA_ROOT) : nullptr;
        lpFrameInfo->haccel = nullptr;
        lpFrameInfo->cAccelEntries = 0;
    }
    return S_OK;
}

STDMETHODIMP COleControlSite::OnPosRectChange(LPCRECT lprcPosRect)
{
    if (!lprcPosRect)
        return E_POINTER;
    // The container agrees to the size the control asks for.
    m_rect = *lprcPosRect;
    if (m_pInPlaceObject)
        m_pInPlaceObject->SetObjectRects(&m_rect, &m_rect);
    return S_OK;
}

STDMETHODIMP COleControlSite::TransformCoords(POINTL* pHimetric, POINTF* pContainer,
                                              DWORD dwFlags)
{
    if (!pHimetric || !pContainer)
        return E_POINTER;
    HDC dc = ::GetDC(nullptr);
    int dpiX = GetDeviceCaps(dc, LOGPIXELSX), dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    ::ReleaseDC(nullptr, dc);
    if (dwFlags & XFORMCOORDS_HIMETRICTOCONTAINER) {
        pContainer->x = (float)MulDiv(pHimetric->x, dpiX, 2540);
        pContainer->y = (float)MulDiv(pHimetric->y, dpiY, 2540);
    } else if (dwFlags & XFORMCOORDS_CONTAINERTOHIMETRIC) {
        pHimetric->x = MulDiv((int)pContainer->x, 2540, dpiX);
        pHimetric->y = MulDiv((int)pContainer->y, 2540, dpiY);
    } else {
        return E_INVALIDARG;
    }
    return S_OK;
}

STDMETHODIMP COleControlSite::Invoke(DISPID dispid, REFIID, LCID, WORD wFlags, DISPPARAMS*,
                                     VARIANT* pResult, EXCEPINFO*, UINT*)
{
    if (!(wFlags & DISPATCH_PROPERTYGET))
        return DISP_E_MEMBERNOTFOUND;
    if (!pResult)
        return E_POINTER;
    VariantInit(pResult);
    HWND cont = m_pCtrlCont ? m_pCtrlCont->m_hWnd : nullptr;
    char cls[16] = {};
    if (cont)
        GetClassNameA(cont, cls, sizeof cls);
    bool dialog = lstrcmpA(cls, "#32770") == 0;
    switch (dispid) {
    case DISPID_AMBIENT_BACKCOLOR:
        V_VT(pResult) = VT_I4;
        V_I4(pResult) = (LONG)GetSysColor(dialog ? COLOR_BTNFACE : COLOR_WINDOW);
        return S_OK;
    case DISPID_AMBIENT_FORECOLOR:
        V_VT(pResult) = VT_I4;
        V_I4(pResult) = (LONG)GetSysColor(dialog ? COLOR_BTNTEXT : COLOR_WINDOWTEXT);
        return S_OK;
    case DISPID_AMBIENT_USERMODE:
    case DISPID_AMBIENT_MESSAGEREFLECT:
    case DISPID_AMBIENT_AUTOCLIP:
    case DISPID_AMBIENT_SUPPORTSMNEMONICS:
        V_VT(pResult) = VT_BOOL;
        V_BOOL(pResult) = VARIANT_TRUE;
        return S_OK;
    case DISPID_AMBIENT_UIDEAD:
    case DISPID_AMBIENT_SHOWGRABHANDLES:
    case DISPID_AMBIENT_SHOWHATCHING:
        V_VT(pResult) = VT_BOOL;
        V_BOOL(pResult) = VARIANT_FALSE;
        return S_OK;
    case DISPID_AMBIENT_DISPLAYNAME:
        V_VT(pResult) = VT_BSTR;
        V_BSTR(pResult) = SysAllocString(L"");
        return S_OK;
    case DISPID_AMBIENT_LOCALEID:
        V_VT(pResult) = VT_I4;
        V_I4(pResult) = (LONG)GetUserDefaultLCID();
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

STDMETHODIMP COleControlSite::XEventSink::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
        IsEqualIID(riid, m_pSite->m_iidEvents)) {
        *ppv = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP COleControlSite::XEventSink::Invoke(DISPID dispid, REFIID, LCID, WORD,
                                                 DISPPARAMS* pParams, VARIANT*,
                                                 EXCEPINFO* pExcepInfo, UINT* puArgErr)
{
    // Events arrive on the container's thread, synchronously, possibly while the container
    // is itself inside a call to the control: nothing here may assume otherwise.
    COleControlSite* site = m_pSite;
    CWnd* parent = site->m_pCtrlCont ? site->m_pCtrlCont->Window() : nullptr;
    if (!parent)
        return S_OK;
    site->AddRef();
    AFX_EVENT event(AFX_EVENT::event, dispid, pParams, pExcepInfo, puArgErr);
    HRESULT hr = S_OK;
    try {
        parent->OnEvent(site->m_nID, &event, nullptr);
    } catch (CException* e) {
        // No C++ exception crosses back into the control; the user hears of it as of one
        // out of a message handler.
        if (CWinThread* thread = AfxGetThread()) {
            MSG msg = {parent->m_hWnd, WM_NULL, 0, 0};
            thread->ProcessWndProcException(e, &msg);
        }
        e->Delete();
        hr = DISP_E_EXCEPTION;
    }
    site->Release();
    return hr;
}

void COleControlSite::ConnectSink()
{
    // The control names its default outgoing interface through its class information.
    IProvideClassInfo2* pci2 = nullptr;
    if (SUCCEEDED(m_pObject->QueryInterface(IID_IProvideClassInfo2, (void**)&pci2))) {
        pci2->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &m_iidEvents);
        pci2->Release();
    }
    if (IsEqualIID(m_iidEvents, IID_NULL)) {
        IProvideClassInfo* pci = nullptr;
        ITypeInfo* ti = nullptr;
        TYPEATTR* attr = nullptr;
        if (SUCCEEDED(m_pObject->QueryInterface(IID_IProvideClassInfo, (void**)&pci)) &&
            SUCCEEDED(pci->GetClassInfo(&ti)) && SUCCEEDED(ti->GetTypeAttr(&attr))) {
            for (UINT i = 0; i < attr->cImplTypes; ++i) {
                INT flags = 0;
                HREFTYPE ref;
                ITypeInfo* impl = nullptr;
                TYPEATTR* implAttr = nullptr;
                if (SUCCEEDED(ti->GetImplTypeFlags(i, &flags)) &&
                    (flags & IMPLTYPEFLAG_FDEFAULT) && (flags & IMPLTYPEFLAG_FSOURCE) &&
                    SUCCEEDED(ti->GetRefTypeOfImplType(i, &ref)) &&
                    SUCCEEDED(ti->GetRefTypeInfo(ref, &impl)) &&
                    SUCCEEDED(impl->GetTypeAttr(&implAttr))) {
                    m_iidEvents = implAttr->guid;
                    impl->ReleaseTypeAttr(implAttr);
                }
                if (impl)
                    impl->Release();
            }
            ti->ReleaseTypeAttr(attr);
        }
        if (ti)
            ti->Release();
        if (pci)
            pci->Release();
    }
    if (IsEqualIID(m_iidEvents, IID_NULL))
        return;
    IConnectionPointContainer* cpc = nullptr;
    if (FAILED(m_pObject->QueryInterface(IID_IConnectionPointContainer, (void**)&cpc)))
        return;
    if (SUCCEEDED(cpc->FindConnectionPoint(m_iidEvents, &m_pEventCP)) &&
        FAILED(m_pEventCP->Advise(&m_xEventSink, &m_dwEventCookie))) {
        m_pEventCP->Release();
        m_pEventCP = nullptr;
    }
    cpc->Release();
}

void COleControlSite::DisconnectSink()
{
    if (m_pEventCP) {
        m_pEventCP->Unadvise(m_dwEventCookie);
        m_pEventCP->Release();
        m_pEventCP = nullptr;
    }
}

BOOL COleControlSite::CreateControl(CWnd* pWndCtrl, REFCLSID clsid, LPCTSTR lpszWindowName,
                                    DWORD dwStyle, const RECT& rect, UINT nID)
{
    m_clsid = clsid;
    m_nID = nID;
    m_rect = rect;
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                                  IID_IOleObject, (void**)&m_pObject);
    if (FAILED(hr)) {
        m_pObject = nullptr;
        return FALSE;
    }
    m_pObject->GetMiscStatus(DVASPECT_CONTENT, &m_dwMiscStatus);
    if (m_dwMiscStatus & OLEMISC_SETCLIENTSITEFIRST)
        m_pObject->SetClientSite(this);
    // No persistence: every control starts from its defaults.
    IPersistStreamInit* psi = nullptr;
    if (SUCCEEDED(m_pObject->QueryInterface(IID_IPersistStreamInit, (void**)&psi))) {
        hr = psi->InitNew();
        psi->Release();
    }
    if (FAILED(hr))
        goto fail;
    if (!(m_dwMiscStatus & OLEMISC_SETCLIENTSITEFIRST))
        m_pObject->SetClientSite(this);
    m_pObject->QueryInterface(IID_IDispatch, (void**)&m_pDispatch);
    {
        HDC dc = ::GetDC(nullptr);
        int dpiX = GetDeviceCaps(dc, LOGPIXELSX), dpiY = GetDeviceCaps(dc, LOGPIXELSY);
        ::ReleaseDC(nullptr, dc);
        SIZEL size = {MulDiv(m_rect.Width(), 2540, dpiX), MulDiv(m_rect.Height(), 2540, dpiY)};
        m_pObject->SetExtent(DVASPECT_CONTENT, &size);
    }
    ConnectSink();
    hr = m_pObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, m_pCtrlCont->m_hWnd,
                           &m_rect);
    if (FAILED(hr))
        goto fail;
    if (FAILED(m_pObject->QueryInterface(IID_IOleInPlaceObject, (void**)&m_pInPlaceObject)) ||
        FAILED(m_pInPlaceObject->GetWindow(&m_hWnd)) || !m_hWnd)
        goto fail;
    ::SetWindowLongPtrA(m_hWnd, GWLP_ID, (LONG_PTR)nID);
    {
        // The styles the container asked for that concern the container: visibility,
        // enabled state and the dialog navigation bits.
        LONG style = ::GetWindowLongA(m_hWnd, GWL_STYLE);
        style = (style & ~(WS_TABSTOP | WS_GROUP)) | (dwStyle & (WS_TABSTOP | WS_GROUP));
        ::SetWindowLongA(m_hWnd, GWL_STYLE, style);
        if (lpszWindowName && *lpszWindowName)
            ::SetWindowTextA(m_hWnd, lpszWindowName);
        ::EnableWindow(m_hWnd, !(dwStyle & WS_DISABLED));
        ::ShowWindow(m_hWnd, (dwStyle & WS_VISIBLE) ? SW_SHOWNA : SW_HIDE);
    }
    if (pWndCtrl) {
        // A control served from the container's own module has its window object here
        // already: the wrapper then reaches the control through its site alone.
        if (!CWnd::FromHandlePermanent(m_hWnd) && !pWndCtrl->Attach(m_hWnd))
            goto fail;
        pWndCtrl->m_pCtrlSite = this;
        m_pWndCtrl = pWndCtrl;
    }
    return TRUE;

fail:
    DisconnectSink();
    if (m_pObject) {
        m_pObject->Close(OLECLOSE_NOSAVE);
        m_pObject->SetClientSite(nullptr);
    }
    m_hWnd = nullptr;
    return FALSE;
}

void COleControlSite::DetachWrapper()
{
    CWnd* w = m_pWndCtrl;
    if (!w)
        return;
    m_pWndCtrl = nullptr;
    w->m_pCtrlSite = nullptr;
    // A wrapper that subclassed the window sees its WM_NCDESTROY and lets go there; a
    // wrapper that only holds the handle lets go now.
    if (w->m_hWnd == m_hWnd &&
        (WNDPROC)::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC) != AfxGetAfxWndProc())
        w->Detach();
}

void COleControlSite::DestroyControl()
{
    AddRef();
    DetachWrapper();
    DisconnectSink();
    if (m_pObject) {
        m_pObject->Close(OLECLOSE_NOSAVE);
        m_pObject->SetClientSite(nullptr);
    }
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
    if (m_pCtrlCont) {
        auto& sites = m_pCtrlCont->m_sites;
        for (auto it = sites.begin(); it != sites.end(); ++it)
            if (*it == this) {
                sites.erase(it);
                Release(); // the container's reference
                break;
            }
        m_pCtrlCont = nullptr;
    }
    Release();
}

//////////////////////////////////////////////////////////////////////////////////////////
// Hooks the window classes call

BOOL AFXAPI AfxOleSiteDestroyWindow(CWnd* pWnd)
{
    COleControlSite* site = pWnd->m_pCtrlSite;
    if (!site)
        return ::DestroyWindow(pWnd->m_hWnd);
    site->DestroyControl();
    return TRUE;
}

void AFXAPI AfxOleWndNcDestroy(CWnd* pWnd)
{
    if (COleControlSite* site = pWnd->m_pCtrlSite) {
        site->m_pWndCtrl = nullptr;
        pWnd->m_pCtrlSite = nullptr;
    }
}

// Moving a control goes through its site: the control is told its new rectangle and may
// answer with another size of its own.
static void MoveThroughSite(COleControlSite* site, const CRect& rc)
{
    site->m_rect = rc;
    if (site->m_pInPlaceObject)
        site->m_pInPlaceObject->SetObjectRects(&site->m_rect, &site->m_rect);
    else if (site->m_hWnd)
        ::MoveWindow(site->m_hWnd, rc.left, rc.top, rc.Width(), rc.Height(), TRUE);
    // A control that changes its size while being placed may have asked for rectangles in
    // between: the site keeps where the control really ended up.
    if (site->m_hWnd && ::IsWindow(site->m_hWnd)) {
        CRect real;
        ::GetWindowRect(site->m_hWnd, &real);
        ::MapWindowPoints(nullptr, ::GetParent(site->m_hWnd), (POINT*)&real, 2);
        site->m_rect = real;
    }
}

BOOL AFXAPI AfxOleSiteMoveWindow(CWnd* pWnd, int x, int y, int cx, int cy, BOOL bRepaint)
{
    COleControlSite* site = pWnd->m_pCtrlSite;
    if (!site)
        return ::MoveWindow(pWnd->m_hWnd, x, y, cx, cy, bRepaint);
    MoveThroughSite(site, CRect(x, y, x + cx, y + cy));
    return TRUE;
}

BOOL AFXAPI AfxOleSiteSetWindowPos(CWnd* pWnd, HWND hWndInsertAfter, int x, int y, int cx,
                                   int cy, UINT nFlags)
{
    COleControlSite* site = pWnd->m_pCtrlSite;
    if (!site)
        return ::SetWindowPos(pWnd->m_hWnd, hWndInsertAfter, x, y, cx, cy, nFlags);
    if ((nFlags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) {
        CRect rc = site->m_rect;
        if (!(nFlags & SWP_NOMOVE))
            rc.OffsetRect(x - rc.left, y - rc.top);
        if (!(nFlags & SWP_NOSIZE)) {
            rc.right = rc.left + cx;
            rc.bottom = rc.top + cy;
        }
        MoveThroughSite(site, rc);
    }
    // Order, activation and showing stay with the window.
    return ::SetWindowPos(pWnd->m_hWnd, hWndInsertAfter, 0, 0, 0, 0,
                          nFlags | SWP_NOMOVE | SWP_NOSIZE);
}

// Keys for a contained control are offered to it before they are dispatched (a control may
// keep a key from going further).
BOOL AFXAPI AfxOleTranslateControlMessage(HWND hWnd, MSG* pMsg)
{
    if (!pMsg || pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST)
        return FALSE;
    COleControlSite* site = FindSiteOfWindow(hWnd);
    if (!site || !site->m_pObject)
        return FALSE;
    IOleInPlaceActiveObject* active = nullptr;
    if (FAILED(site->m_pObject->QueryInterface(IID_IOleInPlaceActiveObject, (void**)&active)))
        return FALSE;
    HRESULT hr = active->TranslateAccelerator(pMsg);
    active->Release();
    return hr == S_OK;
}

//////////////////////////////////////////////////////////////////////////////////////////
// CWnd: creating and calling controls

static COleControlSite* NewSite(HWND hWndParent)
{
    COleControlContainer* cont = ContainerFor(hWndParent);
    if (!cont)
        return nullptr;
    COleControlSite* site = new COleControlSite(cont);
    cont->m_sites.push_back(site);
    return site;
}

static void DropSite(COleControlSite* site)
{
    site->DestroyControl();
}

BOOL CWnd::CreateControl(REFCLSID clsid, LPCTSTR pszWindowName, DWORD dwStyle, const RECT& rect,
                         CWnd* pParentWnd, UINT nID, CFile*, BOOL, BSTR)
{
    if (!pParentWnd || !pParentWnd->GetSafeHwnd() || m_hWnd)
        return FALSE;
    COleControlSite* site = NewSite(pParentWnd->GetSafeHwnd());
    if (!site)
        return FALSE;
    if (!site->CreateControl(this, clsid, pszWindowName, dwStyle, rect, nID)) {
        DropSite(site);
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::CreateControl(LPCTSTR pszClass, LPCTSTR pszWindowName, DWORD dwStyle,
                         const RECT& rect, CWnd* pParentWnd, UINT nID, CFile* pPersist,
                         BOOL bStorage, BSTR bstrLicKey)
{
    CLSID clsid;
    BSTR name = AfxDisp::AnsiToBstr(pszClass);
    HRESULT hr = (pszClass && pszClass[0] == '{') ? CLSIDFromString(name, &clsid)
                                                  : CLSIDFromProgID(name, &clsid);
    SysFreeString(name);
    if (FAILED(hr))
        return FALSE;
    return CreateControl(clsid, pszWindowName, dwStyle, rect, pParentWnd, nID, pPersist,
                         bStorage, bstrLicKey);
}

BOOL CWnd::CreateControl(REFCLSID clsid, LPCTSTR pszWindowName, DWORD dwStyle, const POINT* ppt,
                         const SIZE* psize, CWnd* pParentWnd, UINT nID, CFile* pPersist,
                         BOOL bStorage, BSTR bstrLicKey)
{
    CRect rc(0, 0, 0, 0);
    if (ppt)
        rc.OffsetRect(ppt->x, ppt->y);
    if (psize) {
        rc.right = rc.left + psize->cx;
        rc.bottom = rc.top + psize->cy;
    }
    return CreateControl(clsid, pszWindowName, dwStyle, rc, pParentWnd, nID, pPersist, bStorage,
                         bstrLicKey);
}

// The site of a window made from a dialog template is found from its handle; a permanent
// wrapper (one that subclassed the control's window) is bound to it on first use, so that
// moving and destroying it go through the site as well.
static COleControlSite* SiteOf(const CWnd* pWnd)
{
    if (pWnd->m_pCtrlSite)
        return pWnd->m_pCtrlSite;
    COleControlSite* site = FindSiteOfWindow(pWnd->m_hWnd);
    if (site && !site->m_pWndCtrl && CWnd::FromHandlePermanent(pWnd->m_hWnd) == pWnd) {
        CWnd* w = const_cast<CWnd*>(pWnd);
        w->m_pCtrlSite = site;
        site->m_pWndCtrl = w;
    }
    return site;
}

void AFXAPI AfxOleAttachControlSite(CWnd* pWnd)
{
    if (pWnd && !pWnd->m_pCtrlSite)
        SiteOf(pWnd);
}

LPUNKNOWN CWnd::GetControlUnknown()
{
    COleControlSite* site = SiteOf(this);
    return site ? static_cast<LPUNKNOWN>(site->m_pObject) : nullptr;
}

void AFX_CDECL CWnd::InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                                  const BYTE* pbParamInfo, ...)
{
    COleControlSite* site = SiteOf(this);
    va_list args;
    va_start(args, pbParamInfo);
    try {
        AfxDispatchInvokeHelperV(site ? site->Dispatch() : nullptr, dwDispID, wFlags, vtRet,
                                 pvRet, pbParamInfo, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
}

void AFX_CDECL CWnd::SetProperty(DISPID dwDispID, VARTYPE vtProp, ...)
{
    COleControlSite* site = SiteOf(this);
    BYTE info[2] = {(BYTE)vtProp, 0};
    WORD flags = vtProp == VT_DISPATCH ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
    va_list args;
    va_start(args, vtProp);
    try {
        AfxDispatchInvokeHelperV(site ? site->Dispatch() : nullptr, dwDispID, flags, VT_EMPTY,
                                 nullptr, info, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
}

void CWnd::GetProperty(DISPID dwDispID, VARTYPE vtProp, void* pvProp) const
{
    const_cast<CWnd*>(this)->InvokeHelper(dwDispID, DISPATCH_PROPERTYGET, vtProp, pvProp,
                                          nullptr);
}

//////////////////////////////////////////////////////////////////////////////////////////
// Controls in dialog templates. A template names a control by its class id as the item's
// window class ("{...}"). When the container is enabled, such class names found in the
// module's dialog resources are registered as placeholder classes: when the dialog manager
// creates the item, the placeholder creates the real control in its place at once (with the
// item's id, rectangle, style and position in the tab order), before the dialog
// initialises, and then goes away.

static const UINT kDestroyMsg = WM_APP + 0x3ff0;

static LRESULT CALLBACK PlaceholderProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

static bool IsPlaceholder(HWND hWnd)
{
    return (WNDPROC)::GetWindowLongPtrA(hWnd, GWLP_WNDPROC) == PlaceholderProc;
}

// Creates the control an item names; the placeholder steps aside (no id, hidden) and is
// destroyed once the dialog's creation is over. While the placeholder is being created its
// style lacks WS_VISIBLE (the window manager shows it afterwards): the item's own style
// comes as createStyle then.
static void ReplacePlaceholder(HWND ph, LPCSTR text, DWORD createStyle = 0)
{
    HWND dlg = ::GetParent(ph);
    UINT id = (UINT)::GetDlgCtrlID(ph);
    if (!dlg || !id)
        return;
    char cls[64] = {};
    ::GetClassNameA(ph, cls, sizeof cls);
    DWORD style = (DWORD)::GetWindowLongA(ph, GWL_STYLE) | (createStyle & WS_VISIBLE);
    RECT rc;
    ::GetWindowRect(ph, &rc);
    ::MapWindowPoints(nullptr, dlg, (POINT*)&rc, 2);
    ::SetWindowLongPtrA(ph, GWLP_ID, 0);
    ::SetWindowLongA(ph, GWL_STYLE, (LONG)(style & ~(WS_VISIBLE | WS_TABSTOP | WS_GROUP)));
    ::PostMessageA(ph, kDestroyMsg, 0, 0);
    CLSID clsid;
    BSTR name = AfxDisp::AnsiToBstr(cls);
    HRESULT hr = CLSIDFromString(name, &clsid);
    SysFreeString(name);
    if (FAILED(hr))
        return;
    COleControlSite* site = NewSite(dlg);
    if (!site)
        return;
    if (!site->CreateControl(nullptr, clsid, text, style, rc, id)) {
        DropSite(site);
        return;
    }
    ::SetWindowPos(site->m_hWnd, ph, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

static LRESULT CALLBACK PlaceholderProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CREATE) {
        const CREATESTRUCTA* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        ReplacePlaceholder(hWnd, cs && !IS_INTRESOURCE(cs->lpszName) ? cs->lpszName : "",
                           cs ? (DWORD)cs->style : 0);
        return 0;
    }
    if (msg == kDestroyMsg) {
        ::DestroyWindow(hWnd);
        return 0;
    }
    return ::DefWindowProcA(hWnd, msg, wParam, lParam);
}

static BOOL CALLBACK RegisterDialogClasses(HMODULE module, LPCSTR, LPSTR name, LONG_PTR)
{
    HRSRC res = FindResourceA(module, name, (LPCSTR)RT_DIALOG);
    HGLOBAL mem = res ? LoadResource(module, res) : nullptr;
    const BYTE* p = mem ? (const BYTE*)LockResource(mem) : nullptr;
    if (!p)
        return TRUE;
    std::vector<CString> classes;
    AfxOleDialogControlClasses(p, SizeofResource(module, res), classes);
    for (const CString& cls : classes) {
        WNDCLASSA wc = {};
        if (GetClassInfoA(nullptr, cls, &wc))
            continue;
        wc.style = CS_GLOBALCLASS;
        wc.lpfnWndProc = PlaceholderProc;
        wc.hInstance = AfxOleModuleHandle();
        wc.lpszClassName = cls;
        RegisterClassA(&wc);
    }
    return TRUE;
}

void AFXAPI AfxOleRegisterDialogControls(HMODULE hModule)
{
    EnumResourceNamesA(hModule, (LPCSTR)RT_DIALOG, RegisterDialogClasses, 0);
}

BOOL AFXAPI AfxOleCreateDialogControls(HWND hDlg)
{
    // Placeholders whose control is made have no id left; an item that still has one was
    // made before the container was enabled.
    std::vector<HWND> placeholders;
    for (HWND child = ::GetWindow(hDlg, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (IsPlaceholder(child) && ::GetDlgCtrlID(child) != 0)
            placeholders.push_back(child);
    for (HWND ph : placeholders) {
        char text[256] = {};
        ::GetWindowTextA(ph, text, sizeof text);
        ReplacePlaceholder(ph, text);
    }
    return TRUE;
}

// DLGINIT data: records of (WORD control id, WORD message, DWORD length, bytes), ended by a
// zero id. List and combo box strings are added; OLE control state is not kept (controls
// start from their defaults).
static BOOL ExecuteDlgInitData(HWND hDlg, const BYTE* p, size_t size)
{
    const WORD kWin16LbAddString = 0x0401, kWin16CbAddString = 0x0403;
    size_t pos = 0;
    while (pos + 2 <= size) {
        WORD id = *(const WORD*)(p + pos);
        if (id == 0)
            return TRUE;
        if (pos + 8 > size)
            return FALSE;
        WORD msg = *(const WORD*)(p + pos + 2);
        DWORD len = *(const DWORD*)(p + pos + 4);
        pos += 8;
        if (len > size - pos)
            return FALSE;
        UINT real = msg == kWin16LbAddString ? LB_ADDSTRING
                  : msg == kWin16CbAddString ? CB_ADDSTRING : msg;
        if ((real == LB_ADDSTRING || real == CB_ADDSTRING) && len > 0) {
            CString text((LPCSTR)(p + pos), (int)strnlen((LPCSTR)(p + pos), len));
            if (::SendDlgItemMessageA(hDlg, id, real, 0, (LPARAM)(LPCSTR)text) < 0)
                return FALSE;
        }
        pos += len;
    }
    return TRUE;
}

BOOL CWnd::ExecuteDlgInit(LPCTSTR lpszResourceName)
{
    AfxOleCreateDialogControls(m_hWnd);
    if (!lpszResourceName)
        return TRUE;
    // Resource compilers store the type as the number 240; a named type is taken as well.
    auto find = [lpszResourceName](HINSTANCE in) {
        HRSRC r = FindResourceA(in, lpszResourceName, MAKEINTRESOURCEA(240));
        return r ? r : FindResourceA(in, lpszResourceName, "DLGINIT");
    };
    HINSTANCE inst = AfxGetResourceHandle();
    HRSRC res = find(inst);
    if (!res) {
        inst = AfxOleModuleHandle();
        res = find(inst);
    }
    if (!res)
        return TRUE;
    HGLOBAL mem = LoadResource(inst, res);
    const BYTE* p = mem ? (const BYTE*)LockResource(mem) : nullptr;
    return p ? ExecuteDlgInitData(m_hWnd, p, SizeofResource(inst, res)) : FALSE;
}

BOOL CWnd::ExecuteDlgInit(LPVOID lpResource)
{
    AfxOleCreateDialogControls(m_hWnd);
    if (!lpResource)
        return TRUE;
    // A caller's own block: walked until its end marker.
    return ExecuteDlgInitData(m_hWnd, (const BYTE*)lpResource, (size_t)-1 / 2);
}
