// The automation and interface hooks of command targets and the control-container hooks of
// windows. Without the OLE layer an object has no interfaces, no dispatch map and no
// event sinks; the OLE layer gives these their real behaviour.
#include "afxwin.h"

LPDISPATCH CCmdTarget::GetIDispatch(BOOL) { return NULL; }
CCmdTarget* PASCAL CCmdTarget::FromIDispatch(LPDISPATCH) { return NULL; }
void CCmdTarget::EnableAutomation() {}
void CCmdTarget::EnableConnections() {}
BOOL CCmdTarget::IsResultExpected() { return m_bResultExpected; }
DWORD CCmdTarget::InternalQueryInterface(const void*, LPVOID* ppvObj)
{
  if (ppvObj)
    *ppvObj = NULL;
  return (DWORD)E_NOINTERFACE;
}
DWORD CCmdTarget::InternalAddRef() { return (DWORD)InterlockedIncrement((LONG*)&m_dwRef); }
DWORD CCmdTarget::InternalRelease()
{
  LONG n = InterlockedDecrement((LONG*)&m_dwRef);
  if (n == 0)
    OnFinalRelease();
  return (DWORD)n;
}
DWORD CCmdTarget::ExternalQueryInterface(const void* iid, LPVOID* ppvObj)
{
  return InternalQueryInterface(iid, ppvObj);
}
DWORD CCmdTarget::ExternalAddRef() { return InternalAddRef(); }
DWORD CCmdTarget::ExternalRelease() { return InternalRelease(); }
LPUNKNOWN CCmdTarget::GetControllingUnknown() { return m_pOuterUnknown; }
LPUNKNOWN CCmdTarget::GetInterface(const void*) { return NULL; }
LPUNKNOWN CCmdTarget::QueryAggregates(const void*) { return NULL; }
void CCmdTarget::OnFinalRelease() { delete this; }
BOOL CCmdTarget::IsInvokeAllowed(DISPID) { return TRUE; }
BOOL CCmdTarget::GetDispatchIID(IID*) { return FALSE; }
UINT CCmdTarget::GetTypeInfoCount() { return 0; }
HRESULT CCmdTarget::GetTypeInfoOfGuid(LCID, const GUID&, LPTYPEINFO* ppTypeInfo)
{
  if (ppTypeInfo)
    *ppTypeInfo = NULL;
  return E_NOTIMPL;
}
BOOL CCmdTarget::OnEvent(UINT, AFX_EVENT*, AFX_CMDHANDLERINFO*) { return FALSE; }
LPUNKNOWN CCmdTarget::GetInterfaceHook(const void*) { return NULL; }
BOOL CCmdTarget::OnCreateAggregates() { return TRUE; }

const AFX_INTERFACEMAP* CCmdTarget::GetInterfaceMap() const { return NULL; }
const AFX_DISPMAP* CCmdTarget::GetDispatchMap() const { return NULL; }
const AFX_CONNECTIONMAP* CCmdTarget::GetConnectionMap() const { return NULL; }
const AFX_EVENTSINKMAP* CCmdTarget::GetEventSinkMap() const { return NULL; }
const AFX_INTERFACEMAP* PASCAL CCmdTarget::GetThisInterfaceMap() { return NULL; }
const AFX_DISPMAP* PASCAL CCmdTarget::GetThisDispatchMap() { return NULL; }
const AFX_CONNECTIONMAP* PASCAL CCmdTarget::GetThisConnectionMap() { return NULL; }
const AFX_EVENTSINKMAP* PASCAL CCmdTarget::GetThisEventSinkMap() { return NULL; }

// A window that hosts an OLE control: destroying it goes through the control's site.
BOOL AFXAPI AfxOleSiteDestroyWindow(CWnd* pWnd) { return ::DestroyWindow(pWnd->m_hWnd); }
// Called when a window that hosts or is an OLE control receives WM_NCDESTROY.
void AFXAPI AfxOleWndNcDestroy(CWnd*) {}
