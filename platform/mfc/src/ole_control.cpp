// COleControl: an ActiveX control on a CWnd. The COM side (IOleObject, IOleInPlaceObject,
// IOleControl, connection points, class information, persistence) lives in nested objects
// that share the control's reference count; IDispatch comes from the dispatch maps.
#include "afxctl.h"
#include "ole_impl.h"
#include <algorithm>

#define COM_UNKNOWN_PART                                                                    \
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override                           \
    {                                                                                       \
        return (HRESULT)m_p->ExternalQueryInterface(&riid, ppv);                            \
    }                                                                                       \
    STDMETHODIMP_(ULONG) AddRef() override { return m_p->ExternalAddRef(); }                \
    STDMETHODIMP_(ULONG) Release() override { return m_p->ExternalRelease(); }

//////////////////////////////////////////////////////////////////////////////////////////
// Property exchange

BOOL CPropExchange::ExchangeVersion(DWORD& dwVersionLoaded, DWORD dwVersionDefault, BOOL)
{
    dwVersionLoaded = dwVersionDefault;
    m_dwVersion = dwVersionDefault;
    return TRUE;
}

namespace {

// Loading without stored state: every value takes its default.
class CResetPropExchange : public CPropExchange {
public:
    CResetPropExchange() { m_bLoading = TRUE; }
    BOOL ExchangeProp(LPCTSTR, VARTYPE vt, void* pv, const void* pvDefault) override
    {
        if (!pvDefault)
            return TRUE;
        switch (vt) {
        case VT_I2: *(short*)pv = *(const short*)pvDefault; break;
        case VT_I4: *(LONG*)pv = *(const LONG*)pvDefault; break;
        case VT_BOOL: *(BOOL*)pv = *(const BOOL*)pvDefault; break;
        case VT_R4: *(float*)pv = *(const float*)pvDefault; break;
        case VT_R8: *(double*)pv = *(const double*)pvDefault; break;
        case VT_BSTR: *(CString*)pv = *(const CString*)pvDefault; break;
        default: return FALSE;
        }
        return TRUE;
    }
};

// The values in the order exchanged, in a stream: the version stamp (4 bytes), then each
// value in its own width (a string as a 4-byte length and its bytes). A stream that ends
// early leaves the remaining values at their defaults.
class CStreamPropExchange : public CResetPropExchange {
public:
    CStreamPropExchange(IStream* stream, BOOL bLoading) : m_stream(stream), m_ok(TRUE)
    {
        m_bLoading = bLoading;
    }
    bool Read(void* p, ULONG n)
    {
        ULONG got = 0;
        if (!m_ok || FAILED(m_stream->Read(p, n, &got)) || got != n)
            m_ok = FALSE;
        return m_ok;
    }
    bool Write(const void* p, ULONG n)
    {
        ULONG put = 0;
        if (!m_ok || FAILED(m_stream->Write(p, n, &put)) || put != n)
            m_ok = FALSE;
        return m_ok;
    }
    BOOL ExchangeVersion(DWORD& loaded, DWORD dflt, BOOL bConvert) override
    {
        if (m_bLoading) {
            DWORD v = 0;
            loaded = Read(&v, sizeof v) ? v : dflt;
        } else {
            loaded = dflt;
            Write(&dflt, sizeof dflt);
        }
        m_dwVersion = bConvert ? dflt : loaded;
        return m_ok;
    }
    BOOL ExchangeProp(LPCTSTR name, VARTYPE vt, void* pv, const void* pvDefault) override
    {
        ULONG size = 0;
        switch (vt) {
        case VT_I2: size = 2; break;
        case VT_I4: case VT_BOOL: size = 4; break;
        case VT_R4: size = 4; break;
        case VT_R8: size = 8; break;
        case VT_BSTR: {
            CString& s = *(CString*)pv;
            if (m_bLoading) {
                DWORD len = 0;
                ULARGE_INTEGER pos = {}, end = {};
                LARGE_INTEGER zero = {};
                // The length is bounded by what the stream really holds.
                if (Read(&len, 4) && SUCCEEDED(m_stream->Seek(zero, STREAM_SEEK_CUR, &pos)) &&
                    SUCCEEDED(m_stream->Seek(zero, STREAM_SEEK_END, &end))) {
                    LARGE_INTEGER back;
                    back.QuadPart = (LONGLONG)pos.QuadPart;
                    m_stream->Seek(back, STREAM_SEEK_SET, nullptr);
                    if (len > end.QuadPart - pos.QuadPart)
                        m_ok = FALSE;
                    else if (Read(s.GetBufferSetLength((int)len), len))
                        s.ReleaseBuffer((int)len);
                }
                if (!m_ok)
                    CResetPropExchange::ExchangeProp(name, vt, pv, pvDefault);
            } else {
                DWORD len = (DWORD)s.GetLength();
                Write(&len, 4);
                Write((LPCTSTR)s, len);
            }
            return m_ok;
        }
        default: return FALSE;
        }
        if (m_bLoading) {
            if (!Read(pv, size))
                CResetPropExchange::ExchangeProp(name, vt, pv, pvDefault);
        } else {
            Write(pv, size);
        }
        return m_ok;
    }
    IStream* m_stream;
    BOOL m_ok;
};

} // namespace

#define PX_BODY(vt, value, pdflt) return pPX->ExchangeProp(pszPropName, vt, &value, pdflt);
BOOL AFXAPI PX_Short(CPropExchange* pPX, LPCTSTR pszPropName, short& v) { PX_BODY(VT_I2, v, nullptr) }
BOOL AFXAPI PX_Short(CPropExchange* pPX, LPCTSTR pszPropName, short& v, short d) { PX_BODY(VT_I2, v, &d) }
BOOL AFXAPI PX_Long(CPropExchange* pPX, LPCTSTR pszPropName, LONG& v) { PX_BODY(VT_I4, v, nullptr) }
BOOL AFXAPI PX_Long(CPropExchange* pPX, LPCTSTR pszPropName, LONG& v, LONG d) { PX_BODY(VT_I4, v, &d) }
BOOL AFXAPI PX_Bool(CPropExchange* pPX, LPCTSTR pszPropName, BOOL& v) { PX_BODY(VT_BOOL, v, nullptr) }
BOOL AFXAPI PX_Bool(CPropExchange* pPX, LPCTSTR pszPropName, BOOL& v, BOOL d) { PX_BODY(VT_BOOL, v, &d) }
BOOL AFXAPI PX_Float(CPropExchange* pPX, LPCTSTR pszPropName, float& v) { PX_BODY(VT_R4, v, nullptr) }
BOOL AFXAPI PX_Float(CPropExchange* pPX, LPCTSTR pszPropName, float& v, float d) { PX_BODY(VT_R4, v, &d) }
BOOL AFXAPI PX_Double(CPropExchange* pPX, LPCTSTR pszPropName, double& v) { PX_BODY(VT_R8, v, nullptr) }
BOOL AFXAPI PX_Double(CPropExchange* pPX, LPCTSTR pszPropName, double& v, double d) { PX_BODY(VT_R8, v, &d) }
BOOL AFXAPI PX_String(CPropExchange* pPX, LPCTSTR pszPropName, CString& v) { PX_BODY(VT_BSTR, v, nullptr) }
BOOL AFXAPI PX_String(CPropExchange* pPX, LPCTSTR pszPropName, CString& v, const CString& d) { PX_BODY(VT_BSTR, v, &d) }
BOOL AFXAPI PX_Color(CPropExchange* pPX, LPCTSTR pszPropName, OLE_COLOR& v) { PX_BODY(VT_I4, v, nullptr) }
BOOL AFXAPI PX_Color(CPropExchange* pPX, LPCTSTR pszPropName, OLE_COLOR& v, OLE_COLOR d) { PX_BODY(VT_I4, v, &d) }

//////////////////////////////////////////////////////////////////////////////////////////
// Nested COM objects

class COleControl::XOleObject : public IOleObject {
public:
    explicit XOleObject(COleControl* p) : m_p(p), m_pAdviseHolder(nullptr) {}
    virtual ~XOleObject()
    {
        if (m_pAdviseHolder)
            m_pAdviseHolder->Release();
    }
    COleControl* m_p;
    IOleAdviseHolder* m_pAdviseHolder;
    COM_UNKNOWN_PART

    STDMETHODIMP SetClientSite(IOleClientSite* pSite) override
    {
        if (m_p->m_pSimpleFrameSite) {
            m_p->m_pSimpleFrameSite->Release();
            m_p->m_pSimpleFrameSite = nullptr;
        }
        if (m_p->m_pControlSite) {
            m_p->m_pControlSite->Release();
            m_p->m_pControlSite = nullptr;
        }
        if (m_p->m_pAmbientDispatch) {
            m_p->m_pAmbientDispatch->Release();
            m_p->m_pAmbientDispatch = nullptr;
        }
        if (m_p->m_pClientSite)
            m_p->m_pClientSite->Release();
        m_p->m_pClientSite = pSite;
        if (pSite) {
            pSite->AddRef();
            pSite->QueryInterface(IID_IOleControlSite, (void**)&m_p->m_pControlSite);
            pSite->QueryInterface(IID_IDispatch, (void**)&m_p->m_pAmbientDispatch);
            if (m_p->m_bSimpleFrame &&
                FAILED(pSite->QueryInterface(IID_ISimpleFrameSite, (void**)&m_p->m_pSimpleFrameSite)))
                m_p->m_pSimpleFrameSite = nullptr;
        }
        m_p->OnSetClientSite();
        return S_OK;
    }
    STDMETHODIMP GetClientSite(IOleClientSite** ppSite) override
    {
        if (!ppSite)
            return E_POINTER;
        *ppSite = m_p->m_pClientSite;
        if (*ppSite)
            (*ppSite)->AddRef();
        return S_OK;
    }
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD) override
    {
        m_p->DoInPlaceDeactivate();
        return S_OK;
    }
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG iVerb, LPMSG lpmsg, IOleClientSite* pActiveSite, LONG,
                        HWND hwndParent, LPCRECT lprcPosRect) override
    {
        if (pActiveSite && !m_p->m_pClientSite)
            SetClientSite(pActiveSite);
        try {
            if (!m_p->OnDoVerb(iVerb, lpmsg, hwndParent, lprcPosRect))
                return iVerb < 0 ? E_FAIL : OLEOBJ_S_INVALIDVERB;
        } catch (CException* e) {
            e->Delete();
            return E_FAIL;
        }
        return S_OK;
    }
    STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return OLE_S_USEREG; }
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID* pClsid) override
    {
        if (!pClsid)
            return E_POINTER;
        return m_p->GetClassID(pClsid);
    }
    STDMETHODIMP GetUserType(DWORD dwFormOfType, LPOLESTR* pszUserType) override
    {
        CLSID clsid;
        m_p->GetClassID(&clsid);
        return OleRegGetUserType(clsid, dwFormOfType, pszUserType);
    }
    STDMETHODIMP SetExtent(DWORD dwDrawAspect, SIZEL* psizel) override
    {
        if (dwDrawAspect != DVASPECT_CONTENT)
            return DV_E_DVASPECT;
        if (!psizel)
            return E_POINTER;
        if (!m_p->OnSetExtent(psizel))
            return E_FAIL;
        m_p->m_cxExtent = CSize(psizel->cx, psizel->cy);
        return S_OK;
    }
    STDMETHODIMP GetExtent(DWORD dwDrawAspect, SIZEL* psizel) override
    {
        if (dwDrawAspect != DVASPECT_CONTENT)
            return DV_E_DVASPECT;
        if (!psizel)
            return E_POINTER;
        psizel->cx = m_p->m_cxExtent.cx;
        psizel->cy = m_p->m_cxExtent.cy;
        return S_OK;
    }
    STDMETHODIMP Advise(IAdviseSink* pSink, DWORD* pdwConnection) override
    {
        if (!m_pAdviseHolder && FAILED(CreateOleAdviseHolder(&m_pAdviseHolder)))
            return E_OUTOFMEMORY;
        return m_pAdviseHolder->Advise(pSink, pdwConnection);
    }
    STDMETHODIMP Unadvise(DWORD dwConnection) override
    {
        return m_pAdviseHolder ? m_pAdviseHolder->Unadvise(dwConnection) : OLE_E_NOCONNECTION;
    }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA** ppEnum) override
    {
        return m_pAdviseHolder ? m_pAdviseHolder->EnumAdvise(ppEnum) : E_FAIL;
    }
    STDMETHODIMP GetMiscStatus(DWORD dwAspect, DWORD* pdwStatus) override
    {
        CLSID clsid;
        m_p->GetClassID(&clsid);
        return OleRegGetMiscStatus(clsid, dwAspect, pdwStatus);
    }
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }
};

class COleControl::XInPlaceObject : public IOleInPlaceObject {
public:
    explicit XInPlaceObject(COleControl* p) : m_p(p) {}
    virtual ~XInPlaceObject() {}
    COleControl* m_p;
    COM_UNKNOWN_PART
    STDMETHODIMP GetWindow(HWND* phwnd) override
    {
        if (!phwnd)
            return E_POINTER;
        *phwnd = m_p->m_hWnd;
        return m_p->m_hWnd ? S_OK : E_FAIL;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP InPlaceDeactivate() override
    {
        m_p->DoInPlaceDeactivate();
        return S_OK;
    }
    STDMETHODIMP UIDeactivate() override
    {
        if (m_p->m_bUIActive) {
            m_p->m_bUIActive = FALSE;
            if (m_p->m_pInPlaceSite)
                m_p->m_pInPlaceSite->OnUIDeactivate(FALSE);
        }
        return S_OK;
    }
    STDMETHODIMP SetObjectRects(LPCRECT lprcPosRect, LPCRECT lprcClipRect) override
    {
        if (!lprcPosRect)
            return E_POINTER;
        try {
            return m_p->OnSetObjectRects(lprcPosRect, lprcClipRect ? lprcClipRect : lprcPosRect)
                       ? S_OK
                       : E_FAIL;
        } catch (CException* e) {
            e->Delete();
            return E_FAIL;
        }
    }
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
};

class COleControl::XOleControl : public IOleControl {
public:
    explicit XOleControl(COleControl* p) : m_p(p) {}
    virtual ~XOleControl() {}
    COleControl* m_p;
    COM_UNKNOWN_PART
    STDMETHODIMP GetControlInfo(CONTROLINFO* pCI) override
    {
        if (!pCI)
            return E_POINTER;
        m_p->OnGetControlInfo(pCI);
        return S_OK;
    }
    STDMETHODIMP OnMnemonic(MSG* pMsg) override
    {
        m_p->OnMnemonic(pMsg);
        return S_OK;
    }
    STDMETHODIMP OnAmbientPropertyChange(DISPID dispid) override
    {
        m_p->OnAmbientPropertyChange(dispid);
        return S_OK;
    }
    STDMETHODIMP FreezeEvents(BOOL bFreeze) override
    {
        m_p->m_sFreezeEvents += bFreeze ? 1 : -1;
        if (m_p->m_sFreezeEvents < 0)
            m_p->m_sFreezeEvents = 0;
        m_p->OnFreezeEvents(bFreeze);
        return S_OK;
    }
};

// The outgoing event interface: the container's sinks.
class COleControl::XEventConnPt : public IConnectionPoint {
public:
    explicit XEventConnPt(COleControl* p) : m_p(p) {}
    virtual ~XEventConnPt() {}
    COleControl* m_p;
    COM_UNKNOWN_PART
    STDMETHODIMP GetConnectionInterface(IID* pIID) override
    {
        if (!pIID)
            return E_POINTER;
        *pIID = m_p->m_piidEvents ? *m_p->m_piidEvents : IID_IDispatch;
        return S_OK;
    }
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** ppCPC) override;
    STDMETHODIMP Advise(IUnknown* pUnkSink, DWORD* pdwCookie) override
    {
        if (!pUnkSink || !pdwCookie)
            return E_POINTER;
        *pdwCookie = 0;
        LPDISPATCH pDisp = nullptr;
        if (!m_p->m_piidEvents ||
            FAILED(pUnkSink->QueryInterface(*m_p->m_piidEvents, (void**)&pDisp)))
            if (FAILED(pUnkSink->QueryInterface(IID_IDispatch, (void**)&pDisp)))
                return CONNECT_E_CANNOTCONNECT;
        *pdwCookie = ++m_p->m_nNextCookie;
        m_p->m_eventSinks.push_back({*pdwCookie, pDisp});
        m_p->OnEventAdvise(TRUE);
        return S_OK;
    }
    STDMETHODIMP Unadvise(DWORD dwCookie) override
    {
        auto& sinks = m_p->m_eventSinks;
        for (auto it = sinks.begin(); it != sinks.end(); ++it)
            if (it->cookie == dwCookie) {
                LPDISPATCH p = it->pDispatch;
                sinks.erase(it);
                p->Release();
                m_p->OnEventAdvise(FALSE);
                return S_OK;
            }
        return CONNECT_E_NOCONNECTION;
    }
    STDMETHODIMP EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }
};

class COleControl::XPropConnPt : public IConnectionPoint {
public:
    explicit XPropConnPt(COleControl* p) : m_p(p) {}
    virtual ~XPropConnPt() {}
    COleControl* m_p;
    COM_UNKNOWN_PART
    STDMETHODIMP GetConnectionInterface(IID* pIID) override
    {
        if (!pIID)
            return E_POINTER;
        *pIID = IID_IPropertyNotifySink;
        return S_OK;
    }
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** ppCPC) override;
    STDMETHODIMP Advise(IUnknown* pUnkSink, DWORD* pdwCookie) override
    {
        if (!pUnkSink || !pdwCookie)
            return E_POINTER;
        IPropertyNotifySink* p = nullptr;
        if (FAILED(pUnkSink->QueryInterface(IID_IPropertyNotifySink, (void**)&p)))
            return CONNECT_E_CANNOTCONNECT;
        *pdwCookie = ++m_p->m_nNextCookie;
        m_p->m_propSinks.push_back({*pdwCookie, p});
        return S_OK;
    }
    STDMETHODIMP Unadvise(DWORD dwCookie) override
    {
        auto& sinks = m_p->m_propSinks;
        for (auto it = sinks.begin(); it != sinks.end(); ++it)
            if (it->first == dwCookie) {
                IPropertyNotifySink* p = it->second;
                sinks.erase(it);
                p->Release();
                return S_OK;
            }
        return CONNECT_E_NOCONNECTION;
    }
    STDMETHODIMP EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }
};

class COleControl::XConnPtContainer : public IConnectionPointContainer {
public:
    explicit XConnPtContainer(COleControl* p) : m_p(p) {}
    virtual ~XConnPtContainer() {}
    COleControl* m_p;
    COM_UNKNOWN_PART
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override
    {
        if (!ppCP)
            return E_POINTER;
        *ppCP = nullptr;
        if ((m_p->m_piidEvents && IsEqualIID(riid, *m_p->m_piidEvents)) ||
            IsEqualIID(riid, IID_IDispatch))
            *ppCP = m_p->m_pxEventConnPt;
        else if (IsEqualIID(riid, IID_IPropertyNotifySink))
            *ppCP = m_p->m_pxPropConnPt;
        else
            return CONNECT_E_NOCONNECTION;
        (*ppCP)->AddRef();
        return S_OK;
    }
};

STDMETHODIMP COleControl::XEventConnPt::GetConnectionPointContainer(
    IConnectionPointContainer** ppCPC)
{
    if (!ppCPC)
        return E_POINTER;
    *ppCPC = m_p->m_pxConnPtContainer;
    (*ppCPC)->AddRef();
    return S_OK;
}

STDMETHODIMP COleControl::XPropConnPt::GetConnectionPointContainer(
    IConnectionPointContainer** ppCPC)
{
    if (!ppCPC)
        return E_POINTER;
    *ppCPC = m_p->m_pxConnPtContainer;
    (*ppCPC)->AddRef();
    return S_OK;
}

class COleControl::XProvideClassInfo : public IProvideClassInfo2 {
public:
    explicit XProvideClassInfo(COleControl* p) : m_p(p) {}
    virtual ~XProvideClassInfo() {}
    COleControl* m_p;
    COM_UNKNOWN_PART
    STDMETHODIMP GetClassInfo(ITypeInfo** ppTI) override
    {
        if (!ppTI)
            return E_POINTER;
        *ppTI = nullptr;
        CLSID clsid;
        m_p->GetClassID(&clsid);
        return m_p->GetTypeInfoOfGuid(0, clsid, ppTI);
    }
    STDMETHODIMP GetGUID(DWORD dwGuidKind, GUID* pGUID) override
    {
        if (!pGUID)
            return E_POINTER;
        if (dwGuidKind != GUIDKIND_DEFAULT_SOURCE_DISP_IID || !m_p->m_piidEvents) {
            *pGUID = GUID_NULL;
            return E_INVALIDARG;
        }
        *pGUID = *m_p->m_piidEvents;
        return S_OK;
    }
};

class COleControl::XPersistStreamInit : public IPersistStreamInit {
public:
    explicit XPersistStreamInit(COleControl* p) : m_p(p) {}
    virtual ~XPersistStreamInit() {}
    COleControl* m_p;
    COM_UNKNOWN_PART
    STDMETHODIMP GetClassID(CLSID* pClassID) override
    {
        if (!pClassID)
            return E_POINTER;
        return m_p->GetClassID(pClassID);
    }
    STDMETHODIMP IsDirty() override { return m_p->m_bModified ? S_OK : S_FALSE; }
    STDMETHODIMP Load(LPSTREAM pStm) override
    {
        if (!pStm)
            return E_POINTER;
        try {
            CStreamPropExchange px(pStm, TRUE);
            m_p->DoPropExchange(&px);
        } catch (CException* e) {
            e->Delete();
            return E_FAIL;
        }
        m_p->m_bInitialized = TRUE;
        m_p->m_bModified = FALSE;
        return S_OK;
    }
    STDMETHODIMP Save(LPSTREAM pStm, BOOL fClearDirty) override
    {
        if (!pStm)
            return E_POINTER;
        try {
            CStreamPropExchange px(pStm, FALSE);
            m_p->DoPropExchange(&px);
            if (!px.m_ok)
                return STG_E_CANTSAVE;
        } catch (CException* e) {
            e->Delete();
            return E_FAIL;
        }
        if (fClearDirty)
            m_p->m_bModified = FALSE;
        return S_OK;
    }
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP InitNew() override
    {
        try {
            m_p->OnResetState();
        } catch (CException* e) {
            e->Delete();
            return E_FAIL;
        }
        m_p->m_bInitialized = TRUE;
        m_p->m_bModified = FALSE;
        return S_OK;
    }
};

class COleControl::XInPlaceActiveObject : public IOleInPlaceActiveObject {
public:
    explicit XInPlaceActiveObject(COleControl* p) : m_p(p) {}
    virtual ~XInPlaceActiveObject() {}
    COleControl* m_p;
    COM_UNKNOWN_PART
    STDMETHODIMP GetWindow(HWND* phwnd) override
    {
        if (!phwnd)
            return E_POINTER;
        *phwnd = m_p->m_hWnd;
        return m_p->m_hWnd ? S_OK : E_FAIL;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    // The control's own PreTranslateMessage sees its keys first.
    STDMETHODIMP TranslateAccelerator(LPMSG lpmsg) override
    {
        if (!lpmsg || !m_p->m_hWnd)
            return S_FALSE;
        try {
            return m_p->PreTranslateMessage(lpmsg) ? S_OK : S_FALSE;
        } catch (CException* e) {
            e->Delete();
            return S_FALSE;
        }
    }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
};

class COleControl::XSpecifyPropertyPages : public ISpecifyPropertyPages {
public:
    explicit XSpecifyPropertyPages(COleControl* p) : m_p(p) {}
    virtual ~XSpecifyPropertyPages() {}
    COleControl* m_p;
    COM_UNKNOWN_PART
    STDMETHODIMP GetPages(CAUUID* pPages) override
    {
        if (!pPages)
            return E_POINTER;
        ULONG n = 0;
        LPCLSID ids = m_p->GetPropPageIDs(n);
        pPages->cElems = 0;
        pPages->pElems = nullptr;
        if (!n || !ids)
            return S_OK;
        pPages->pElems = (GUID*)CoTaskMemAlloc(sizeof(GUID) * n);
        if (!pPages->pElems)
            return E_OUTOFMEMORY;
        memcpy(pPages->pElems, ids, sizeof(GUID) * n);
        pPages->cElems = n;
        return S_OK;
    }
};

//////////////////////////////////////////////////////////////////////////////////////////
// COleControl

IMPLEMENT_DYNAMIC(COleControl, CWnd)

BEGIN_MESSAGE_MAP(COleControl, CWnd)
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_RBUTTONDBLCLK()
    ON_WM_MBUTTONDOWN()
    ON_WM_MBUTTONUP()
    ON_WM_MBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
    ON_WM_CHAR()
    ON_WM_SYSKEYDOWN()
    ON_WM_SYSKEYUP()
    ON_WM_CANCELMODE()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

const AFX_EVENTMAP* PASCAL COleControl::GetThisEventMap()
{
    static const AFX_EVENTMAP_ENTRY entries[] = {{NULL, DISPID_UNKNOWN, NULL, 0}};
    static const AFX_EVENTMAP map = {NULL, entries};
    return &map;
}

const AFX_EVENTMAP* COleControl::GetEventMap() const { return GetThisEventMap(); }

COleControl::COleControl()
    : m_bInPlaceActive(FALSE), m_bUIActive(FALSE), m_bModified(FALSE), m_bInitialized(FALSE),
      m_pClientSite(nullptr), m_pInPlaceSite(nullptr), m_pControlSite(nullptr),
      m_pAmbientDispatch(nullptr), m_bSimpleFrame(FALSE), m_pSimpleFrameSite(nullptr),
      m_rcPos(0, 0, 0, 0), m_cxExtent(2540, 2540),
      m_piidPrimary(nullptr), m_piidEvents(nullptr), m_clrBackColor(0x80000000 | COLOR_WINDOW),
      m_clrForeColor(0x80000000 | COLOR_WINDOWTEXT), m_sFreezeEvents(0), m_iButtonState(0),
      m_iDblClkState(0), m_dwStockEventMask(0), m_bStockEventMaskValid(FALSE),
      m_hWndReflector(nullptr), m_nNextCookie(0)
{
    m_pxOleObject = new XOleObject(this);
    m_pxInPlaceObject = new XInPlaceObject(this);
    m_pxOleControl = new XOleControl(this);
    m_pxConnPtContainer = new XConnPtContainer(this);
    m_pxEventConnPt = new XEventConnPt(this);
    m_pxPropConnPt = new XPropConnPt(this);
    m_pxProvideClassInfo = new XProvideClassInfo(this);
    m_pxPersistStreamInit = new XPersistStreamInit(this);
    m_pxPersistPropertyBag = nullptr;
    m_pxSpecifyPropertyPages = new XSpecifyPropertyPages(this);
    m_pxViewObject = nullptr;
    m_pxInPlaceActiveObject = new XInPlaceActiveObject(this);
    EnableAutomation();
    AfxOleLockApp();
}

COleControl::~COleControl()
{
    for (auto& s : m_eventSinks)
        s.pDispatch->Release();
    m_eventSinks.clear();
    for (auto& s : m_propSinks)
        s.second->Release();
    m_propSinks.clear();
    if (m_pInPlaceSite)
        m_pInPlaceSite->Release();
    if (m_pControlSite)
        m_pControlSite->Release();
    if (m_pAmbientDispatch)
        m_pAmbientDispatch->Release();
    if (m_pSimpleFrameSite)
        m_pSimpleFrameSite->Release();
    if (m_pClientSite)
        m_pClientSite->Release();
    delete m_pxOleObject;
    delete m_pxInPlaceObject;
    delete m_pxOleControl;
    delete m_pxConnPtContainer;
    delete m_pxEventConnPt;
    delete m_pxPropConnPt;
    delete m_pxProvideClassInfo;
    delete m_pxPersistStreamInit;
    delete m_pxSpecifyPropertyPages;
    delete m_pxInPlaceActiveObject;
    AfxOleUnlockApp();
}

void COleControl::InitializeIIDs(const IID* piidPrimary, const IID* piidEvents)
{
    m_piidPrimary = piidPrimary;
    m_piidEvents = piidEvents;
}

void COleControl::SetInitialSize(int cx, int cy)
{
    // Pixels to HIMETRIC at the screen's resolution.
    HDC dc = ::GetDC(nullptr);
    int dpiX = GetDeviceCaps(dc, LOGPIXELSX), dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    ::ReleaseDC(nullptr, dc);
    m_cxExtent = CSize(MulDiv(cx, 2540, dpiX ? dpiX : 96), MulDiv(cy, 2540, dpiY ? dpiY : 96));
}

LPUNKNOWN COleControl::GetInterfaceHook(const void* piid)
{
    const IID& iid = *static_cast<const IID*>(piid);
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleObject))
        return m_pxOleObject;
    if (IsEqualIID(iid, IID_IOleInPlaceObject) || IsEqualIID(iid, IID_IOleWindow))
        return m_pxInPlaceObject;
    if (IsEqualIID(iid, IID_IOleControl))
        return m_pxOleControl;
    if (IsEqualIID(iid, IID_IOleInPlaceActiveObject))
        return m_pxInPlaceActiveObject;
    if (IsEqualIID(iid, IID_IConnectionPointContainer))
        return m_pxConnPtContainer;
    if (IsEqualIID(iid, IID_IProvideClassInfo) || IsEqualIID(iid, IID_IProvideClassInfo2))
        return m_pxProvideClassInfo;
    if (IsEqualIID(iid, IID_IPersistStreamInit) || IsEqualIID(iid, IID_IPersist))
        return m_pxPersistStreamInit;
    if (IsEqualIID(iid, IID_ISpecifyPropertyPages))
        return m_pxSpecifyPropertyPages;
    if (IsEqualIID(iid, IID_IDispatch) || (m_piidPrimary && IsEqualIID(iid, *m_piidPrimary)))
        return reinterpret_cast<LPUNKNOWN>(GetIDispatch(FALSE));
    return nullptr;
}

BOOL COleControl::GetDispatchIID(IID* pIID)
{
    if (!m_piidPrimary)
        return FALSE;
    *pIID = *m_piidPrimary;
    return TRUE;
}

HRESULT COleControl::GetTypeLib(LCID, LPTYPELIB* ppTypeLib)
{
    if (ppTypeLib)
        *ppTypeLib = nullptr;
    return TYPE_E_CANTLOADLIBRARY;
}

UINT COleControl::GetTypeInfoCount() { return m_piidPrimary ? 1 : 0; }

HRESULT COleControl::GetTypeInfoOfGuid(LCID lcid, const GUID& guid, LPTYPEINFO* ppTypeInfo)
{
    if (!ppTypeInfo)
        return E_POINTER;
    *ppTypeInfo = nullptr;
    LPTYPELIB lib = nullptr;
    HRESULT hr = GetTypeLib(lcid, &lib);
    if (FAILED(hr))
        return hr;
    hr = lib->GetTypeInfoOfGuid(guid, ppTypeInfo);
    lib->Release();
    return hr;
}

LPCLSID COleControl::GetPropPageIDs(ULONG& cPropPages)
{
    cPropPages = 0;
    return nullptr;
}

void COleControl::OnFinalRelease()
{
    DoInPlaceDeactivate();
    if (m_hWnd)
        DestroyWindow();
    delete this;
}

// The control object lives as long as its COM references, not as long as its window.
void COleControl::PostNcDestroy() {}

void COleControl::EnableSimpleFrame() { m_bSimpleFrame = TRUE; }

LRESULT COleControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_pSimpleFrameSite)
        return CWnd::WindowProc(message, wParam, lParam);
    // The site is held for the whole message: the control may let go of its site, or be
    // destroyed, while it handles it.
    ISimpleFrameSite* site = m_pSimpleFrameSite;
    site->AddRef();
    HWND hWnd = m_hWnd;
    LRESULT result = 0;
    DWORD cookie = 0;
    // S_FALSE: the site handled the message itself and gave its result.
    if (site->PreMessageFilter(hWnd, message, wParam, lParam, &result, &cookie) != S_FALSE) {
        result = CWnd::WindowProc(message, wParam, lParam);
        site->PostMessageFilter(hWnd, message, wParam, lParam, &result, cookie);
    }
    site->Release();
    return result;
}

//////////////////////////////////////////////////////////////////////////////////////////
// Activation

BOOL COleControl::OnDoVerb(LONG iVerb, LPMSG lpMsg, HWND hWndParent, LPCRECT lpRect)
{
    switch (iVerb) {
    case OLEIVERB_PRIMARY:
        return OnEdit(lpMsg, hWndParent, lpRect);
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:
        return SUCCEEDED(DoInPlaceActivate(iVerb));
    case OLEIVERB_HIDE:
        if (m_hWnd)
            ShowWindow(SW_HIDE);
        return TRUE;
    case OLEIVERB_PROPERTIES:
        return OnProperties(lpMsg, hWndParent, lpRect);
    default:
        return FALSE;
    }
}

BOOL COleControl::OnEdit(LPMSG, HWND, LPCRECT)
{
    return SUCCEEDED(DoInPlaceActivate(OLEIVERB_UIACTIVATE));
}

HRESULT COleControl::DoInPlaceActivate(LONG iVerb)
{
    if (!m_pClientSite)
        return E_UNEXPECTED;
    if (!m_bInPlaceActive) {
        IOleInPlaceSite* site = nullptr;
        if (FAILED(m_pClientSite->QueryInterface(IID_IOleInPlaceSite, (void**)&site)))
            return E_NOINTERFACE;
        if (site->CanInPlaceActivate() != S_OK) {
            site->Release();
            return E_FAIL;
        }
        site->OnInPlaceActivate();
        HWND parent = nullptr;
        site->GetWindow(&parent);
        IOleInPlaceFrame* frame = nullptr;
        IOleInPlaceUIWindow* doc = nullptr;
        RECT pos = {}, clip = {};
        OLEINPLACEFRAMEINFO info = {sizeof info};
        site->GetWindowContext(&frame, &doc, &pos, &clip, &info);
        if (frame)
            frame->Release();
        if (doc)
            doc->Release();
        m_pInPlaceSite = site;
        m_bInPlaceActive = TRUE;
        if (!m_hWnd) {
            if (!CreateControlWindow(parent, CRect(pos), CRect(clip))) {
                m_bInPlaceActive = FALSE;
                m_pInPlaceSite = nullptr;
                site->OnInPlaceDeactivate();
                site->Release();
                return E_FAIL;
            }
        } else {
            ::SetParent(m_hWnd, parent);
            OnSetObjectRects(&pos, &clip);
        }
    }
    if (m_hWnd && !IsWindowVisible())
        ShowWindow(SW_SHOWNA);
    if (iVerb == OLEIVERB_UIACTIVATE && !m_bUIActive && m_pInPlaceSite) {
        m_bUIActive = TRUE;
        m_pInPlaceSite->OnUIActivate();
        SetFocus();
    }
    return S_OK;
}

void COleControl::DoInPlaceDeactivate()
{
    if (!m_bInPlaceActive)
        return;
    IOleInPlaceSite* site = m_pInPlaceSite;
    if (m_bUIActive) {
        m_bUIActive = FALSE;
        if (site)
            site->OnUIDeactivate(FALSE);
    }
    m_bInPlaceActive = FALSE;
    if (m_hWnd)
        DestroyWindow();
    m_pInPlaceSite = nullptr;
    if (site) {
        site->OnInPlaceDeactivate();
        site->Release();
    }
}

static const char kControlClass[] = AFX_WNDOLECONTROL;

BOOL COleControl::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass) {
        // A class of our own for plain controls: double clicks reach the control, and the
        // window procedure is the framework's once the window exists.
        WNDCLASSA wc = {};
        if (!GetClassInfoA(nullptr, kControlClass, &wc)) {
            wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS;
            wc.lpfnWndProc = ::DefWindowProcA;
            wc.hInstance = AfxOleModuleHandle();
            wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
            wc.lpszClassName = kControlClass;
            RegisterClassA(&wc);
        }
        cs.lpszClass = kControlClass;
    }
    return TRUE;
}

BOOL COleControl::IsSubclassedControl() { return FALSE; }

BOOL COleControl::CreateControlWindow(HWND hWndParent, const CRect& rcPos, const CRect&)
{
    m_rcPos = rcPos;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (!CreateEx(0, NULL, "", style, rcPos.left, rcPos.top, rcPos.Width(), rcPos.Height(),
                  hWndParent, NULL))
        return FALSE;
    return TRUE;
}

void COleControl::RecreateControlWindow()
{
    if (!m_bInPlaceActive || !m_hWnd)
        return;
    HWND parent = ::GetParent(m_hWnd);
    CRect pos = m_rcPos;
    DestroyWindow();
    CreateControlWindow(parent, pos, pos);
}

BOOL COleControl::OnSetObjectRects(LPCRECT lpRectPos, LPCRECT)
{
    m_rcPos = *lpRectPos;
    if (m_hWnd)
        SetWindowPos(NULL, lpRectPos->left, lpRectPos->top, lpRectPos->right - lpRectPos->left,
                     lpRectPos->bottom - lpRectPos->top, SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

BOOL COleControl::OnSetExtent(LPSIZEL) { return TRUE; }

BOOL COleControl::SetControlSize(int cx, int cy)
{
    HDC dc = ::GetDC(nullptr);
    int dpiX = GetDeviceCaps(dc, LOGPIXELSX), dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    ::ReleaseDC(nullptr, dc);
    m_cxExtent = CSize(MulDiv(cx, 2540, dpiX ? dpiX : 96), MulDiv(cy, 2540, dpiY ? dpiY : 96));
    if (m_bInPlaceActive && m_pInPlaceSite) {
        // The container decides: it answers with new object rectangles.
        CRect rc(m_rcPos.left, m_rcPos.top, m_rcPos.left + cx, m_rcPos.top + cy);
        if (rc != m_rcPos)
            m_pInPlaceSite->OnPosRectChange(&rc);
    }
    return TRUE;
}

void COleControl::GetControlSize(int* pcx, int* pcy)
{
    if (m_bInPlaceActive) {
        *pcx = m_rcPos.Width();
        *pcy = m_rcPos.Height();
        return;
    }
    HDC dc = ::GetDC(nullptr);
    int dpiX = GetDeviceCaps(dc, LOGPIXELSX), dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    ::ReleaseDC(nullptr, dc);
    *pcx = MulDiv(m_cxExtent.cx, dpiX ? dpiX : 96, 2540);
    *pcy = MulDiv(m_cxExtent.cy, dpiY ? dpiY : 96, 2540);
}

BOOL COleControl::GetRectInContainer(LPRECT lpRect)
{
    if (!m_bInPlaceActive)
        return FALSE;
    *lpRect = m_rcPos;
    return TRUE;
}

void COleControl::InvalidateControl(LPCRECT lpRect, BOOL bErase)
{
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, lpRect, bErase);
    else if (m_pxOleObject->m_pAdviseHolder)
        m_pxOleObject->m_pAdviseHolder->SendOnSave();
}

DWORD COleControl::GetControlFlags() { return clipPaintDC; }

void COleControl::OnDraw(CDC*, const CRect&, const CRect&) {}

//////////////////////////////////////////////////////////////////////////////////////////
// Persistence

void COleControl::DoPropExchange(CPropExchange*) {}

void COleControl::OnResetState()
{
    CResetPropExchange px;
    DoPropExchange(&px);
    InvalidateControl();
}

BOOL COleControl::ExchangeVersion(CPropExchange* pPX, DWORD dwVersionDefault, BOOL bConvert)
{
    DWORD loaded = 0;
    return pPX->ExchangeVersion(loaded, dwVersionDefault, bConvert);
}

void COleControl::SetModifiedFlag(BOOL bModified) { m_bModified = bModified; }
BOOL COleControl::IsModified() { return m_bModified; }

//////////////////////////////////////////////////////////////////////////////////////////
// Ambient properties

BOOL COleControl::GetAmbientProperty(DISPID dispid, VARTYPE vtProp, void* pvProp)
{
    if (!m_pAmbientDispatch)
        return FALSE;
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    VARIANT v;
    VariantInit(&v);
    if (FAILED(m_pAmbientDispatch->Invoke(dispid, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &v,
                                          nullptr, nullptr)))
        return FALSE;
    VARIANT c;
    VariantInit(&c);
    HRESULT hr = VariantChangeType(&c, &v, 0, vtProp);
    VariantClear(&v);
    if (FAILED(hr))
        return FALSE;
    switch (vtProp) {
    case VT_I2: *(short*)pvProp = V_I2(&c); break;
    case VT_I4: *(LONG*)pvProp = V_I4(&c); break;
    case VT_BOOL: *(BOOL*)pvProp = V_BOOL(&c) != 0; break;
    case VT_BSTR: *(CString*)pvProp = AfxDisp::BstrToAnsi(V_BSTR(&c)); break;
    case VT_R4: *(float*)pvProp = V_R4(&c); break;
    case VT_R8: *(double*)pvProp = V_R8(&c); break;
    default: VariantClear(&c); return FALSE;
    }
    VariantClear(&c);
    return TRUE;
}

OLE_COLOR COleControl::AmbientBackColor()
{
    LONG c;
    return GetAmbientProperty(DISPID_AMBIENT_BACKCOLOR, VT_I4, &c) ? (OLE_COLOR)c
                                                                    : GetSysColor(COLOR_WINDOW);
}

OLE_COLOR COleControl::AmbientForeColor()
{
    LONG c;
    return GetAmbientProperty(DISPID_AMBIENT_FORECOLOR, VT_I4, &c)
               ? (OLE_COLOR)c
               : GetSysColor(COLOR_WINDOWTEXT);
}

CString COleControl::AmbientDisplayName()
{
    CString s;
    GetAmbientProperty(DISPID_AMBIENT_DISPLAYNAME, VT_BSTR, &s);
    return s;
}

BOOL COleControl::AmbientUserMode()
{
    BOOL b;
    return GetAmbientProperty(DISPID_AMBIENT_USERMODE, VT_BOOL, &b) ? b : TRUE;
}

BOOL COleControl::AmbientUIDead()
{
    BOOL b;
    return GetAmbientProperty(DISPID_AMBIENT_UIDEAD, VT_BOOL, &b) ? b : FALSE;
}

BOOL COleControl::AmbientShowHatching()
{
    BOOL b;
    return GetAmbientProperty(DISPID_AMBIENT_SHOWHATCHING, VT_BOOL, &b) ? b : TRUE;
}

BOOL COleControl::AmbientShowGrabHandles()
{
    BOOL b;
    return GetAmbientProperty(DISPID_AMBIENT_SHOWGRABHANDLES, VT_BOOL, &b) ? b : TRUE;
}

void COleControl::OnAmbientPropertyChange(DISPID) {}
void COleControl::OnSetClientSite() {}

void COleControl::OnGetControlInfo(LPCONTROLINFO pCI)
{
    pCI->cb = sizeof *pCI;
    pCI->hAccel = nullptr;
    pCI->cAccel = 0;
    pCI->dwFlags = 0;
}

void COleControl::OnMnemonic(LPMSG) {}

//////////////////////////////////////////////////////////////////////////////////////////
// Events

void AFX_CDECL COleControl::FireEvent(DISPID dispid, BYTE* pbParams, ...)
{
    va_list args;
    va_start(args, pbParams);
    FireEventV(dispid, pbParams, args);
    va_end(args);
}

void COleControl::FireEventV(DISPID dispid, BYTE* pbParams, va_list argList)
{
    if (m_sFreezeEvents > 0 || m_eventSinks.empty())
        return;
    std::vector<VARIANT> args;
    std::vector<bool> owned;
    if (FAILED(AfxDisp::BuildArgs(pbParams, argList, args, owned)))
        return;
    DISPPARAMS dp = {args.empty() ? nullptr : args.data(), nullptr, (UINT)args.size(), 0};
    // A handler may connect or disconnect sinks, or release the control: work on a copy
    // and keep the control alive until every sink has been called.
    std::vector<LPDISPATCH> sinks;
    for (auto& s : m_eventSinks) {
        s.pDispatch->AddRef();
        sinks.push_back(s.pDispatch);
    }
    InternalAddRef();
    for (LPDISPATCH sink : sinks) {
        sink->Invoke(dispid, IID_NULL, 0, DISPATCH_METHOD, &dp, nullptr, nullptr, nullptr);
        sink->Release();
    }
    AfxDisp::FreeArgs(args, owned);
    InternalRelease();
}

BOOL COleControl::IsStockEventEnabled(DWORD dwStockEvent)
{
    if (!m_bStockEventMaskValid) {
        m_dwStockEventMask = 0;
        for (const AFX_EVENTMAP* map = GetEventMap(); map;
             map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr)
            for (const AFX_EVENTMAP_ENTRY* e = map->lpEntries; e && e->lpszName; ++e)
                m_dwStockEventMask |= e->dwStockEvent;
        m_bStockEventMaskValid = TRUE;
    }
    return (m_dwStockEventMask & dwStockEvent) != 0;
}

void COleControl::FireClick() { FireEvent(DISPID_CLICK, EVENT_PARAM(VTS_NONE)); }
void COleControl::FireDblClick() { FireEvent(DISPID_DBLCLICK, EVENT_PARAM(VTS_NONE)); }

void COleControl::FireKeyDown(USHORT* pnChar, short nShiftState)
{
    FireEvent(DISPID_KEYDOWN, EVENT_PARAM(VTS_PI2 VTS_I2), pnChar, (int)nShiftState);
}

void COleControl::FireKeyUp(USHORT* pnChar, short nShiftState)
{
    FireEvent(DISPID_KEYUP, EVENT_PARAM(VTS_PI2 VTS_I2), pnChar, (int)nShiftState);
}

void COleControl::FireKeyPress(USHORT* pnChar)
{
    FireEvent(DISPID_KEYPRESS, EVENT_PARAM(VTS_PI2), pnChar);
}

void COleControl::FireMouseDown(short nButton, short nShiftState, OLE_XPOS_PIXELS x,
                                OLE_YPOS_PIXELS y)
{
    FireEvent(DISPID_MOUSEDOWN, EVENT_PARAM(VTS_I2 VTS_I2 VTS_XPOS_PIXELS VTS_YPOS_PIXELS),
              (int)nButton, (int)nShiftState, (int)x, (int)y);
}

void COleControl::FireMouseUp(short nButton, short nShiftState, OLE_XPOS_PIXELS x,
                              OLE_YPOS_PIXELS y)
{
    FireEvent(DISPID_MOUSEUP, EVENT_PARAM(VTS_I2 VTS_I2 VTS_XPOS_PIXELS VTS_YPOS_PIXELS),
              (int)nButton, (int)nShiftState, (int)x, (int)y);
}

void COleControl::FireMouseMove(short nButton, short nShiftState, OLE_XPOS_PIXELS x,
                                OLE_YPOS_PIXELS y)
{
    FireEvent(DISPID_MOUSEMOVE, EVENT_PARAM(VTS_I2 VTS_I2 VTS_XPOS_PIXELS VTS_YPOS_PIXELS),
              (int)nButton, (int)nShiftState, (int)x, (int)y);
}

void COleControl::FireError(SCODE scode, LPCTSTR lpszDescription, UINT nHelpID)
{
    BSTR description = AfxDisp::AnsiToBstr(lpszDescription);
    VARIANT_BOOL vbCancel = VARIANT_FALSE;
    CString source = AfxGetAppName() ? AfxGetAppName() : "";
    FireEvent(DISPID_ERROREVENT,
              EVENT_PARAM(VTS_I2 VTS_PBSTR VTS_SCODE VTS_BSTR VTS_BSTR VTS_I4 VTS_PBOOL),
              (int)(SHORT)SCODE_CODE(scode), &description, scode, (LPCTSTR)source, "",
              (int)nHelpID, &vbCancel);
    SysFreeString(description);
}

void COleControl::OnClick(USHORT iButton)
{
    if (iButton == LEFT_BUTTON && IsStockEventEnabled(STOCKEVENT_CLICK))
        FireClick();
}

void COleControl::OnFreezeEvents(BOOL) {}
void COleControl::OnEventAdvise(BOOL) {}

short AFXAPI _AfxShiftState()
{
    short s = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        s |= SHIFT_MASK;
    if (GetKeyState(VK_CONTROL) < 0)
        s |= CTRL_MASK;
    if (GetKeyState(VK_MENU) < 0)
        s |= ALT_MASK;
    return s;
}

void COleControl::ButtonDown(USHORT iButton, UINT, CPoint point)
{
    if (m_iButtonState == 0 && m_hWnd)
        SetCapture();
    m_iButtonState |= iButton;
    if (IsStockEventEnabled(STOCKEVENT_MOUSEDOWN))
        FireMouseDown((short)iButton, _AfxShiftState(), point.x, point.y);
    m_iDblClkState &= ~iButton;
}

void COleControl::ButtonUp(USHORT iButton, UINT, CPoint point)
{
    if (!(m_iButtonState & iButton))
        return;
    m_iButtonState &= ~iButton;
    if (m_iButtonState == 0 && ::GetCapture() == m_hWnd)
        ReleaseCapture();
    if (IsStockEventEnabled(STOCKEVENT_MOUSEUP))
        FireMouseUp((short)iButton, _AfxShiftState(), point.x, point.y);
    if (!(m_iDblClkState & iButton)) {
        CRect rc;
        GetClientRect(&rc);
        if (rc.PtInRect(point))
            OnClick(iButton);
    }
    m_iDblClkState &= ~iButton;
}

void COleControl::ButtonDblClk(USHORT iButton, UINT nFlags, CPoint point)
{
    ButtonDown(iButton, nFlags, point);
    if (iButton == LEFT_BUTTON && IsStockEventEnabled(STOCKEVENT_DBLCLICK))
        FireDblClick();
    m_iDblClkState |= iButton;
}

void COleControl::KeyDown(USHORT* pnChar)
{
    if (IsStockEventEnabled(STOCKEVENT_KEYDOWN))
        FireKeyDown(pnChar, _AfxShiftState());
}

void COleControl::KeyUp(USHORT* pnChar)
{
    if (IsStockEventEnabled(STOCKEVENT_KEYUP))
        FireKeyUp(pnChar, _AfxShiftState());
}

void COleControl::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    CDC dc;
    dc.Attach(hdc);
    CRect rc;
    GetClientRect(&rc);
    CRect invalid(ps.rcPaint);
    try {
        OnDraw(&dc, rc, invalid);
    } catch (...) {
        dc.Detach();
        ::EndPaint(m_hWnd, &ps);
        throw;
    }
    dc.Detach();
    ::EndPaint(m_hWnd, &ps);
}

void COleControl::OnLButtonDown(UINT nFlags, CPoint point)
{
    ButtonDown(LEFT_BUTTON, nFlags, point);
    Default();
}
void COleControl::OnLButtonUp(UINT nFlags, CPoint point)
{
    ButtonUp(LEFT_BUTTON, nFlags, point);
    Default();
}
void COleControl::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    ButtonDblClk(LEFT_BUTTON, nFlags, point);
    Default();
}
void COleControl::OnRButtonDown(UINT nFlags, CPoint point)
{
    ButtonDown(RIGHT_BUTTON, nFlags, point);
    Default();
}
void COleControl::OnRButtonUp(UINT nFlags, CPoint point)
{
    ButtonUp(RIGHT_BUTTON, nFlags, point);
    Default();
}
void COleControl::OnRButtonDblClk(UINT nFlags, CPoint point)
{
    ButtonDblClk(RIGHT_BUTTON, nFlags, point);
    Default();
}
void COleControl::OnMButtonDown(UINT nFlags, CPoint point)
{
    ButtonDown(MIDDLE_BUTTON, nFlags, point);
    Default();
}
void COleControl::OnMButtonUp(UINT nFlags, CPoint point)
{
    ButtonUp(MIDDLE_BUTTON, nFlags, point);
    Default();
}
void COleControl::OnMButtonDblClk(UINT nFlags, CPoint point)
{
    ButtonDblClk(MIDDLE_BUTTON, nFlags, point);
    Default();
}

void COleControl::OnMouseMove(UINT, CPoint point)
{
    if (IsStockEventEnabled(STOCKEVENT_MOUSEMOVE))
        FireMouseMove((short)m_iButtonState, _AfxShiftState(), point.x, point.y);
    Default();
}

// A key handler may swallow the key by setting it to 0.
void COleControl::OnKeyDown(UINT nChar, UINT, UINT)
{
    USHORT c = (USHORT)nChar;
    KeyDown(&c);
    if (c)
        Default();
}
void COleControl::OnKeyUp(UINT nChar, UINT, UINT)
{
    USHORT c = (USHORT)nChar;
    KeyUp(&c);
    if (c)
        Default();
}
void COleControl::OnSysKeyDown(UINT nChar, UINT, UINT)
{
    USHORT c = (USHORT)nChar;
    KeyDown(&c);
    if (c)
        Default();
}
void COleControl::OnSysKeyUp(UINT nChar, UINT, UINT)
{
    USHORT c = (USHORT)nChar;
    KeyUp(&c);
    if (c)
        Default();
}
void COleControl::OnChar(UINT nChar, UINT, UINT)
{
    USHORT c = (USHORT)nChar;
    if (IsStockEventEnabled(STOCKEVENT_KEYPRESS))
        FireKeyPress(&c);
    if (c)
        Default();
}

void COleControl::OnCancelMode()
{
    m_iButtonState = 0;
    m_iDblClkState = 0;
    if (::GetCapture() == m_hWnd)
        ReleaseCapture();
    Default();
}

void COleControl::OnSetFocus(CWnd*)
{
    if (m_pControlSite)
        m_pControlSite->OnFocus(TRUE);
    Default();
}

void COleControl::OnKillFocus(CWnd*)
{
    if (m_pControlSite)
        m_pControlSite->OnFocus(FALSE);
    Default();
}

//////////////////////////////////////////////////////////////////////////////////////////
// Errors and stock members

void COleControl::ThrowError(SCODE sc, UINT nDescriptionID, UINT nHelpID)
{
    CString text;
    text.LoadString(nDescriptionID);
    ThrowError(sc, text, nHelpID == (UINT)-1 ? nDescriptionID : nHelpID);
}

void COleControl::ThrowError(SCODE sc, LPCTSTR pszDescription, UINT nHelpID)
{
    COleDispatchException* e = new COleDispatchException(pszDescription, nHelpID, 0);
    e->m_scError = sc;
    throw e;
}

void COleControl::GetNotSupported() { ThrowError(CTL_E_GETNOTSUPPORTED); }
void COleControl::SetNotSupported() { ThrowError(CTL_E_SETNOTSUPPORTED); }

static void NotifyChanged(COleControl* ctl, DISPID dispid)
{
    for (auto& s : ctl->m_propSinks)
        s.second->OnChanged(dispid);
}

OLE_COLOR COleControl::GetBackColor() { return m_clrBackColor; }
void COleControl::SetBackColor(OLE_COLOR c)
{
    m_clrBackColor = c;
    SetModifiedFlag();
    OnBackColorChanged();
    NotifyChanged(this, DISPID_BACKCOLOR);
}
OLE_COLOR COleControl::GetForeColor() { return m_clrForeColor; }
void COleControl::SetForeColor(OLE_COLOR c)
{
    m_clrForeColor = c;
    SetModifiedFlag();
    OnForeColorChanged();
    NotifyChanged(this, DISPID_FORECOLOR);
}
BOOL COleControl::GetEnabled() { return m_hWnd ? IsWindowEnabled() : TRUE; }
void COleControl::SetEnabled(BOOL bEnabled)
{
    if (m_hWnd)
        EnableWindow(bEnabled != 0);
    SetModifiedFlag();
    OnEnabledChanged();
    NotifyChanged(this, DISPID_ENABLED);
}
// A window handle is a 32-bit value in the type library (OLE_HANDLE); Win32 handles fit.
OLE_HANDLE COleControl::GetHwnd() { return (OLE_HANDLE)(UINT_PTR)m_hWnd; }
void COleControl::Refresh()
{
    InvalidateControl();
    if (m_hWnd)
        UpdateWindow();
}
void COleControl::DoClick() { OnClick(LEFT_BUTTON); }
void COleControl::OnBackColorChanged() { InvalidateControl(); }
void COleControl::OnForeColorChanged() { InvalidateControl(); }
void COleControl::OnEnabledChanged() { InvalidateControl(); }

COLORREF COleControl::TranslateColor(OLE_COLOR clrColor, HPALETTE hpal)
{
    COLORREF c = 0;
    if (FAILED(OleTranslateColor(clrColor, hpal, &c)))
        return 0;
    return c;
}

//////////////////////////////////////////////////////////////////////////////////////////
// Property frame

BOOL COleControl::OnProperties(LPMSG, HWND hWndParent, LPCRECT)
{
    ULONG n = 0;
    LPCLSID pages = GetPropPageIDs(n);
    if (!n)
        return FALSE;
    CLSID clsid;
    GetClassID(&clsid);
    LPOLESTR name = nullptr;
    OleRegGetUserType(clsid, USERCLASSTYPE_SHORT, &name);
    LPUNKNOWN unk = m_pxOleObject;
    HRESULT hr = OleCreatePropertyFrame(hWndParent, 0, 0, name, 1, &unk, n, pages,
                                        GetUserDefaultLCID(), 0, nullptr);
    CoTaskMemFree(name);
    return SUCCEEDED(hr);
}
