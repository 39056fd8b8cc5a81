// CCmdTarget as a COM object: reference counting, interface maps, IDispatch over the
// dispatch maps, and delivery of contained controls' events to event-sink maps.
#include "afxdisp.h"
#include "ole_impl.h"
#include <cstddef>

//////////////////////////////////////////////////////////////////////////////////////////
// The roots of the maps: empty, with no base.

const AFX_DISPMAP* PASCAL CCmdTarget::GetThisDispatchMap()
{
    static const AFX_DISPMAP_ENTRY entries[] = {
        {NULL, DISPID_UNKNOWN, NULL, VT_EMPTY, NULL, NULL, afxDispCustom}};
    static const AFX_DISPMAP map = {NULL, entries};
    return &map;
}

const AFX_EVENTSINKMAP* PASCAL CCmdTarget::GetThisEventSinkMap()
{
    static const AFX_EVENTSINKMAP_ENTRY entries[] = {{0, 0, DISPID_UNKNOWN, NULL, NULL, FALSE}};
    static const AFX_EVENTSINKMAP map = {NULL, entries};
    return &map;
}

const AFX_INTERFACEMAP* PASCAL CCmdTarget::GetThisInterfaceMap()
{
    static const AFX_INTERFACEMAP_ENTRY entries[] = {{NULL, (size_t)-1}};
    static const AFX_INTERFACEMAP map = {NULL, entries};
    return &map;
}

const AFX_CONNECTIONMAP* PASCAL CCmdTarget::GetThisConnectionMap()
{
    static const AFX_CONNECTIONMAP_ENTRY entries[] = {{NULL}};
    static const AFX_CONNECTIONMAP map = {NULL, entries};
    return &map;
}

const AFX_DISPMAP* CCmdTarget::GetDispatchMap() const { return GetThisDispatchMap(); }
const AFX_EVENTSINKMAP* CCmdTarget::GetEventSinkMap() const { return GetThisEventSinkMap(); }
const AFX_INTERFACEMAP* CCmdTarget::GetInterfaceMap() const { return GetThisInterfaceMap(); }
const AFX_CONNECTIONMAP* CCmdTarget::GetConnectionMap() const
{
    return GetThisConnectionMap();
}

//////////////////////////////////////////////////////////////////////////////////////////
// IDispatch: m_xDispatch holds the vtable of this class, so &m_xDispatch is the IDispatch.

namespace {

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
inline CCmdTarget* TargetOf(void* pDispatch)
{
    return reinterpret_cast<CCmdTarget*>(static_cast<BYTE*>(pDispatch) -
                                         offsetof(CCmdTarget, m_xDispatch));
}
#pragma GCC diagnostic pop

class CmdTargetDispatch : public IDispatch {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        return (HRESULT)TargetOf(this)->ExternalQueryInterface(&riid, ppv);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return TargetOf(this)->ExternalAddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return TargetOf(this)->ExternalRelease(); }
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override
    {
        if (!pctinfo)
            return E_POINTER;
        *pctinfo = TargetOf(this)->GetTypeInfoCount();
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override
    {
        if (!ppTInfo)
            return E_POINTER;
        *ppTInfo = nullptr;
        CCmdTarget* pThis = TargetOf(this);
        IID iid;
        if (iTInfo != 0 || !pThis->GetDispatchIID(&iid))
            return DISP_E_BADINDEX;
        return pThis->GetTypeInfoOfGuid(lcid, iid, ppTInfo);
    }
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT cNames, LCID,
                               DISPID* rgDispId) override
    {
        if (!IsEqualIID(riid, IID_NULL))
            return DISP_E_UNKNOWNINTERFACE;
        return AfxDispatchGetIDsOfNames(TargetOf(this), names, cNames, rgDispId);
    }
    STDMETHODIMP Invoke(DISPID dispid, REFIID riid, LCID, WORD wFlags, DISPPARAMS* pParams,
                        VARIANT* pResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override
    {
        if (!IsEqualIID(riid, IID_NULL))
            return DISP_E_UNKNOWNINTERFACE;
        CCmdTarget* pThis = TargetOf(this);
        if (!pThis->IsInvokeAllowed(dispid))
            return E_UNEXPECTED;
        // The object must survive a call that releases the caller's last other reference.
        pThis->InternalAddRef();
        HRESULT hr = AfxDispatchInvoke(pThis, dispid, wFlags, pParams, pResult, pExcepInfo,
                                       puArgErr);
        pThis->InternalRelease();
        return hr;
    }
};

DWORD_PTR DispatchVtable()
{
    static CmdTargetDispatch prototype;
    DWORD_PTR vtbl;
    memcpy(&vtbl, static_cast<void*>(&prototype), sizeof vtbl);
    return vtbl;
}

} // namespace

void CCmdTarget::EnableAutomation() { m_xDispatch.m_vtbl = DispatchVtable(); }

void CCmdTarget::EnableConnections() {}

BOOL CCmdTarget::IsResultExpected() { return m_bResultExpected; }

LPDISPATCH CCmdTarget::GetIDispatch(BOOL bAddRef)
{
    if (!m_xDispatch.m_vtbl)
        return nullptr;
    LPDISPATCH p = reinterpret_cast<LPDISPATCH>(&m_xDispatch);
    if (bAddRef)
        p->AddRef();
    return p;
}

CCmdTarget* PASCAL CCmdTarget::FromIDispatch(LPDISPATCH lpDispatch)
{
    if (!lpDispatch || *reinterpret_cast<DWORD_PTR*>(lpDispatch) != DispatchVtable())
        return nullptr;
    return TargetOf(lpDispatch);
}

//////////////////////////////////////////////////////////////////////////////////////////
// Reference counting and QueryInterface

DWORD CCmdTarget::InternalAddRef() { return (DWORD)__sync_add_and_fetch(&m_dwRef, 1); }

DWORD CCmdTarget::InternalRelease()
{
    long n = __sync_sub_and_fetch(&m_dwRef, 1);
    if (n == 0)
        OnFinalRelease();
    return (DWORD)n;
}

void CCmdTarget::OnFinalRelease() { delete this; }

LPUNKNOWN CCmdTarget::GetInterfaceHook(const void*) { return nullptr; }

BOOL CCmdTarget::OnCreateAggregates() { return TRUE; }

BOOL CCmdTarget::IsInvokeAllowed(DISPID) { return TRUE; }

BOOL CCmdTarget::GetDispatchIID(IID*) { return FALSE; }

UINT CCmdTarget::GetTypeInfoCount() { return 0; }

HRESULT CCmdTarget::GetTypeInfoOfGuid(LCID, const GUID&, LPTYPEINFO* ppTypeInfo)
{
    if (ppTypeInfo)
        *ppTypeInfo = nullptr;
    return TYPE_E_CANTLOADLIBRARY;
}

LPUNKNOWN CCmdTarget::GetInterface(const void* iid)
{
    const IID& riid = *static_cast<const IID*>(iid);
    if (LPUNKNOWN hooked = GetInterfaceHook(iid))
        return hooked;
    // Interfaces of the interface maps, most derived first.
    LPUNKNOWN first = nullptr;
    for (const AFX_INTERFACEMAP* pMap = AfxOleMapAccess::Interface(this); pMap;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_INTERFACEMAP_ENTRY* e = pMap->pEntry; e && e->piid; ++e) {
            LPUNKNOWN p = reinterpret_cast<LPUNKNOWN>(reinterpret_cast<BYTE*>(this) + e->nOffset);
            if (!first)
                first = p;
            if (IsEqualIID(*e->piid, riid))
                return p;
        }
    }
    // The IDispatch of an automation object, also under its own dispatch interface id.
    if (m_xDispatch.m_vtbl) {
        IID dispIID;
        if (IsEqualIID(riid, IID_IDispatch) ||
            (GetDispatchIID(&dispIID) && IsEqualIID(riid, dispIID)))
            return reinterpret_cast<LPUNKNOWN>(&m_xDispatch);
    }
    if (IsEqualIID(riid, IID_IUnknown))
        return first ? first
                     : (m_xDispatch.m_vtbl ? reinterpret_cast<LPUNKNOWN>(&m_xDispatch) : nullptr);
    return nullptr;
}

LPUNKNOWN CCmdTarget::QueryAggregates(const void* iid)
{
    for (const AFX_INTERFACEMAP* pMap = AfxOleMapAccess::Interface(this); pMap;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        const AFX_INTERFACEMAP_ENTRY* e = pMap->pEntry;
        while (e && e->piid)
            ++e;
        // Aggregates follow the end marker's position as entries with no interface id.
        for (; e && e->nOffset != (size_t)-1; ++e) {
            LPUNKNOWN inner =
                *reinterpret_cast<LPUNKNOWN*>(reinterpret_cast<BYTE*>(this) + e->nOffset);
            LPUNKNOWN result = nullptr;
            if (inner && SUCCEEDED(inner->QueryInterface(*static_cast<const IID*>(iid),
                                                         (void**)&result)))
                return result;
        }
    }
    return nullptr;
}

DWORD CCmdTarget::InternalQueryInterface(const void* iid, LPVOID* ppvObj)
{
    if (!ppvObj)
        return (DWORD)E_POINTER;
    LPUNKNOWN p = GetInterface(iid);
    if (p) {
        *ppvObj = p;
        InternalAddRef();
        return S_OK;
    }
    if ((p = QueryAggregates(iid)) != nullptr) {
        *ppvObj = p; // the aggregate added its reference
        return S_OK;
    }
    *ppvObj = nullptr;
    return (DWORD)E_NOINTERFACE;
}

DWORD CCmdTarget::ExternalAddRef()
{
    return m_pOuterUnknown ? m_pOuterUnknown->AddRef() : InternalAddRef();
}

DWORD CCmdTarget::ExternalRelease()
{
    return m_pOuterUnknown ? m_pOuterUnknown->Release() : InternalRelease();
}

DWORD CCmdTarget::ExternalQueryInterface(const void* iid, LPVOID* ppvObj)
{
    if (m_pOuterUnknown)
        return (DWORD)m_pOuterUnknown->QueryInterface(*static_cast<const IID*>(iid), ppvObj);
    return InternalQueryInterface(iid, ppvObj);
}

LPUNKNOWN CCmdTarget::GetControllingUnknown()
{
    if (m_pOuterUnknown)
        return m_pOuterUnknown;
    return GetInterface(&IID_IUnknown);
}

//////////////////////////////////////////////////////////////////////////////////////////
// Events of contained controls reach the event-sink maps.

BOOL CCmdTarget::OnEvent(UINT idCtrl, AFX_EVENT* pEvent, AFX_CMDHANDLERINFO*)
{
    if (!pEvent || pEvent->m_eventKind != AFX_EVENT::event)
        return FALSE;
    return AfxDispatchEventToSink(this, idCtrl, pEvent->m_dispid, pEvent->m_pDispParams);
}
