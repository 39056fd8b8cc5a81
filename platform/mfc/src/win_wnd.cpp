// Window objects: handle maps, creation and subclassing, the window procedure, message
// dispatch through the maps, reflection of notifications to the controls that sent them.
#include "afxwin.h"
#include "afxpriv.h"

#define GET_X_LPARAM(lp) ((int)(short)LOWORD(lp))
#define GET_Y_LPARAM(lp) ((int)(short)HIWORD(lp))
#include <set>
#include <string>
#include <unordered_map>

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

// Stand-ins for the z-order positions SetWindowPos takes.
const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

// ---------------------------------------------------------------------------------------------
// Thread state

// Kept in a Win32 TLS slot: compiler thread-local storage is not dependable in Winelib code.
static DWORD ThreadStateSlot()
{
  static const DWORD s_slot = ::TlsAlloc();
  return s_slot;
}

AFX_THREAD_STATE* AFXAPI AfxGetThreadState()
{
  DWORD s_slot = ThreadStateSlot();
  AFX_THREAD_STATE* state = (AFX_THREAD_STATE*)::TlsGetValue(s_slot);
  if (state == NULL) {
    state = new AFX_THREAD_STATE;
    memset((void*)state, 0, sizeof(AFX_THREAD_STATE));
    ::TlsSetValue(s_slot, state);
  }
  return state;
}

// ---------------------------------------------------------------------------------------------
// Handle maps. Permanent objects are shared by the module's threads (a window made on one
// thread can be looked up from another); temporary objects belong to the thread that asked.

namespace {
struct PermanentMap {
  CRITICAL_SECTION cs;
  std::unordered_map<HWND, CWnd*> map;
  PermanentMap() { InitializeCriticalSection(&cs); }
};
PermanentMap& Permanent()
{
  static PermanentMap* p = new PermanentMap;
  return *p;
}
typedef std::unordered_map<HWND, CWnd*> TempWndMap;
TempWndMap& TempMap()
{
  AFX_THREAD_STATE* ts = AfxGetThreadState();
  if (ts->m_pTempWndMap == NULL)
    ts->m_pTempWndMap = new TempWndMap;
  return *(TempWndMap*)ts->m_pTempWndMap;
}
void SetPermanent(HWND hWnd, CWnd* pWnd)
{
  PermanentMap& pm = Permanent();
  EnterCriticalSection(&pm.cs);
  pm.map[hWnd] = pWnd;
  LeaveCriticalSection(&pm.cs);
}
void RemovePermanent(HWND hWnd, CWnd* pWnd)
{
  PermanentMap& pm = Permanent();
  EnterCriticalSection(&pm.cs);
  auto it = pm.map.find(hWnd);
  if (it != pm.map.end() && it->second == pWnd)
    pm.map.erase(it);
  LeaveCriticalSection(&pm.cs);
}
}  // namespace

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd)
{
  if (hWnd == NULL)
    return NULL;
  PermanentMap& pm = Permanent();
  EnterCriticalSection(&pm.cs);
  auto it = pm.map.find(hWnd);
  CWnd* p = it == pm.map.end() ? NULL : it->second;
  LeaveCriticalSection(&pm.cs);
  return p;
}

CWnd* PASCAL CWnd::FromHandle(HWND hWnd)
{
  if (hWnd == NULL)
    return NULL;
  CWnd* p = FromHandlePermanent(hWnd);
  if (p != NULL)
    return p;
  auto& temp = TempMap();
  auto it = temp.find(hWnd);
  if (it != temp.end()) {
    // An object whose window was destroyed through it may meet a new window of that handle.
    it->second->m_hWnd = hWnd;
    return it->second;
  }
  p = new CWnd;
  p->m_hWnd = hWnd;
  temp[hWnd] = p;
  return p;
}

void PASCAL CWnd::DeleteTempMap()
{
  auto& temp = TempMap();
  for (auto& kv : temp) {
    kv.second->m_hWnd = NULL;  // the window is not ours: never destroy it
    delete kv.second;
  }
  temp.clear();
}

// Frees the state of a thread that is ending (its temporary objects are gone already).
void AFXAPI AfxTermThreadState()
{
  AFX_THREAD_STATE* state = (AFX_THREAD_STATE*)::TlsGetValue(ThreadStateSlot());
  if (state == NULL)
    return;
  delete (TempWndMap*)state->m_pTempWndMap;
  delete state;
  ::TlsSetValue(ThreadStateSlot(), NULL);
}

void AFXAPI AfxLockTempMaps() { ++AfxGetThreadState()->m_nTempMapLock; }

BOOL AFXAPI AfxUnlockTempMaps(BOOL bDeleteTemps)
{
  AFX_THREAD_STATE* ts = AfxGetThreadState();
  if (ts->m_nTempMapLock > 0)
    --ts->m_nTempMapLock;
  if (ts->m_nTempMapLock != 0)
    return FALSE;
  if (bDeleteTemps) {
    CWnd::DeleteTempMap();
    CGdiObject::DeleteTempMap();
    CDC::DeleteTempMap();
    CMenu::DeleteTempMap();
  }
  return TRUE;
}

BOOL CWnd::Attach(HWND hWndNew)
{
  if (hWndNew == NULL || m_hWnd != NULL || FromHandlePermanent(hWndNew) != NULL)
    return FALSE;
  // A temporary object for the same window goes: the permanent one replaces it.
  auto& temp = TempMap();
  auto it = temp.find(hWndNew);
  if (it != temp.end()) {
    it->second->m_hWnd = NULL;
    delete it->second;
    temp.erase(it);
  }
  m_hWnd = hWndNew;
  SetPermanent(hWndNew, this);
  AfxOleAttachControlSite(this);  // a hosted OLE control's wrapper reaches its site
  return TRUE;
}

HWND CWnd::Detach()
{
  HWND hWnd = m_hWnd;
  if (hWnd != NULL)
    RemovePermanent(hWnd, this);
  m_hWnd = NULL;
  return hWnd;
}

// ---------------------------------------------------------------------------------------------
// Construction and destruction

CWnd::CWnd()
    : m_hWnd(NULL), m_hWndOwner(NULL), m_nFlags(0), m_pfnSuper(NULL), m_nModalResult(-1),
      m_pCtrlSite(NULL),
      m_pCtrlCont(NULL)
{
}

CWnd::CWnd(HWND hWnd)
    : m_hWnd(hWnd), m_hWndOwner(NULL), m_nFlags(0), m_pfnSuper(NULL), m_nModalResult(-1),
      m_pCtrlSite(NULL), m_pCtrlCont(NULL)
{
}

CWnd::~CWnd()
{
  if (m_hWnd != NULL && this != &wndTop && this != &wndBottom && this != &wndTopMost &&
      this != &wndNoTopMost) {
    if (FromHandlePermanent(m_hWnd) == this)
      DestroyWindow();  // the object goes, so its window goes with it
    else
      m_hWnd = NULL;
  }
}

void CWnd::PostNcDestroy() {}

void CWnd::OnFinalRelease()
{
  if (m_hWnd != NULL)
    DestroyWindow();
  else
    PostNcDestroy();
}

BOOL CWnd::DestroyWindow()
{
  if (m_hWnd == NULL)
    return FALSE;
  HWND hWndOrig = m_hWnd;
  BOOL bPermanent = FromHandlePermanent(hWndOrig) == this;
  BOOL bResult = m_pCtrlSite != NULL ? AfxOleSiteDestroyWindow(this) : ::DestroyWindow(hWndOrig);
  // A permanent object has been detached by WM_NCDESTROY and may be deleted by now.
  if (!bPermanent)
    Detach();
  return bResult;
}

// ---------------------------------------------------------------------------------------------
// Window classes

namespace {
struct ClassRegistry {
  CRITICAL_SECTION cs;
  std::set<std::string> names;
  LONG registered = 0;
  ClassRegistry() { InitializeCriticalSection(&cs); }
};
ClassRegistry& Classes()
{
  static ClassRegistry* p = new ClassRegistry;
  return *p;
}
}  // namespace

BOOL AFXAPI AfxRegisterClass(WNDCLASSA* lpWndClass)
{
  WNDCLASSA wc;
  if (::GetClassInfoA(lpWndClass->hInstance, lpWndClass->lpszClassName, &wc))
    return TRUE;
  return ::RegisterClassA(lpWndClass) != 0;
}

LPCTSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground,
                                   HICON hIcon)
{
  HINSTANCE hInst = AfxGetInstanceHandle();
  char name[128];
  if (hCursor == NULL && hbrBackground == NULL && hIcon == NULL)
    snprintf(name, sizeof(name), "Afx:%p:%x", (void*)hInst, nClassStyle);
  else
    snprintf(name, sizeof(name), "Afx:%p:%x:%p:%p:%p", (void*)hInst, nClassStyle,
             (void*)hCursor, (void*)hbrBackground, (void*)hIcon);
  ClassRegistry& reg = Classes();
  EnterCriticalSection(&reg.cs);
  auto it = reg.names.insert(name).first;
  LPCTSTR result = it->c_str();
  LeaveCriticalSection(&reg.cs);

  WNDCLASSA wc;
  memset(&wc, 0, sizeof(wc));
  wc.style = nClassStyle;
  wc.lpfnWndProc = ::DefWindowProcA;
  wc.hInstance = hInst;
  wc.hIcon = hIcon;
  wc.hCursor = hCursor;
  wc.hbrBackground = hbrBackground;
  wc.lpszClassName = result;
  if (!AfxRegisterClass(&wc))
    AfxThrowResourceException();
  return result;
}

BOOL AFXAPI AfxDeferRegisterClass(LONG fToRegister)
{
  ClassRegistry& reg = Classes();
  LONG done = reg.registered;
  fToRegister &= ~done;
  if (fToRegister == 0)
    return TRUE;

  HINSTANCE hInst = AfxGetInstanceHandle();
  WNDCLASSA wc;
  memset(&wc, 0, sizeof(wc));
  wc.lpfnWndProc = ::DefWindowProcA;
  wc.hInstance = hInst;
  wc.hCursor = ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
  BOOL ok = TRUE;
  LONG now = 0;
  if (fToRegister & AFX_WND_REG) {
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpszClassName = AFX_WND;
    if (AfxRegisterClass(&wc))
      now |= AFX_WND_REG;
    else
      ok = FALSE;
  }
  if (fToRegister & AFX_WNDOLECONTROL_REG) {
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpszClassName = AFX_WNDOLECONTROL;
    if (AfxRegisterClass(&wc))
      now |= AFX_WNDOLECONTROL_REG;
    else
      ok = FALSE;
  }
  if (fToRegister & AFX_WNDCONTROLBAR_REG) {
    wc.style = 0;
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = AFX_WNDCONTROLBAR;
    if (AfxRegisterClass(&wc))
      now |= AFX_WNDCONTROLBAR_REG;
    else
      ok = FALSE;
    wc.hbrBackground = NULL;
  }
  if (fToRegister & AFX_WNDMDIFRAME_REG) {
    wc.style = CS_DBLCLKS;
    wc.hIcon = ::LoadIconA(NULL, (LPCSTR)IDI_APPLICATION);
    wc.lpszClassName = AFX_WNDMDIFRAME;
    if (AfxRegisterClass(&wc))
      now |= AFX_WNDMDIFRAME_REG;
    else
      ok = FALSE;
  }
  if (fToRegister & AFX_WNDFRAMEORVIEW_REG) {
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.hIcon = ::LoadIconA(NULL, (LPCSTR)IDI_APPLICATION);
    wc.lpszClassName = AFX_WNDFRAMEORVIEW;
    if (AfxRegisterClass(&wc))
      now |= AFX_WNDFRAMEORVIEW_REG;
    else
      ok = FALSE;
  }
  if (fToRegister & AFX_WNDCOMMCTLS_REG) {
    INITCOMMONCONTROLSEX init = {sizeof(init), ICC_WIN95_CLASSES | ICC_DATE_CLASSES |
                                                   ICC_USEREX_CLASSES | ICC_COOL_CLASSES};
    ::InitCommonControlsEx(&init);
    now |= AFX_WNDCOMMCTLS_REG;
  }
  EnterCriticalSection(&reg.cs);
  reg.registered |= now;
  LeaveCriticalSection(&reg.cs);
  return ok;
}

// ---------------------------------------------------------------------------------------------
// Creation hook: attaches the window object before the window's first message.

static LRESULT CALLBACK CbtFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
  AFX_THREAD_STATE* ts = AfxGetThreadState();
  if (code == HCBT_CREATEWND && ts->m_pWndInit != NULL) {
    HWND hWnd = (HWND)wParam;
    CWnd* pWndInit = ts->m_pWndInit;
    ts->m_pWndInit = NULL;
    pWndInit->Attach(hWnd);
    pWndInit->PreSubclassWindow();
    WNDPROC pfnOld =
        (WNDPROC)::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)AfxGetAfxWndProc());
    if (pfnOld != AfxGetAfxWndProc())
      pWndInit->m_pfnSuper = pfnOld;
  }
  return ::CallNextHookEx(ts->m_hHookOldCbtFilter, code, wParam, lParam);
}

void AFXAPI AfxHookWindowCreate(CWnd* pWnd)
{
  AFX_THREAD_STATE* ts = AfxGetThreadState();
  if (ts->m_pWndInit == pWnd)
    return;
  if (ts->m_hHookOldCbtFilter == NULL) {
    ts->m_hHookOldCbtFilter = ::SetWindowsHookExA(WH_CBT, CbtFilterHook, NULL,
                                                  ::GetCurrentThreadId());
    if (ts->m_hHookOldCbtFilter == NULL)
      AfxThrowMemoryException();
  }
  ts->m_pWndInit = pWnd;
}

BOOL AFXAPI AfxUnhookWindowCreate()
{
  AFX_THREAD_STATE* ts = AfxGetThreadState();
  if (ts->m_hHookOldCbtFilter != NULL) {
    ::UnhookWindowsHookEx(ts->m_hHookOldCbtFilter);
    ts->m_hHookOldCbtFilter = NULL;
  }
  if (ts->m_pWndInit != NULL) {
    ts->m_pWndInit = NULL;
    return FALSE;  // the window was never created
  }
  return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                    DWORD dwStyle, int x, int y, int nWidth, int nHeight, HWND hWndParent,
                    HMENU nIDorHMenu, LPVOID lpParam)
{
  CREATESTRUCTA cs;
  cs.dwExStyle = dwExStyle;
  cs.lpszClass = lpszClassName;
  cs.lpszName = lpszWindowName;
  cs.style = dwStyle;
  cs.x = x;
  cs.y = y;
  cs.cx = nWidth;
  cs.cy = nHeight;
  cs.hwndParent = hWndParent;
  cs.hMenu = nIDorHMenu;
  cs.hInstance = AfxGetInstanceHandle();
  cs.lpCreateParams = lpParam;

  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  AfxHookWindowCreate(this);
  HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y,
                                cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance,
                                cs.lpCreateParams);
  if (!AfxUnhookWindowCreate())
    PostNcDestroy();  // creation failed before the window existed
  return hWnd != NULL;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                    DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                    LPVOID lpParam)
{
  return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top, pParentWnd->GetSafeHwnd(),
                  (HMENU)(UINT_PTR)nID, lpParam);
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                  const RECT& rect, CWnd* pParentWnd, UINT nID, CCreateContext* pContext)
{
  return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top, pParentWnd->GetSafeHwnd(),
                  (HMENU)(UINT_PTR)nID, (LPVOID)pContext);
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs)
{
  if (cs.lpszClass == NULL) {
    AfxDeferRegisterClass(AFX_WND_REG);
    cs.lpszClass = AFX_WND;
  }
  return TRUE;
}

void CWnd::PreSubclassWindow() {}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
  if (!Attach(hWnd))
    return FALSE;
  PreSubclassWindow();
  WNDPROC pfnOld = (WNDPROC)::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)AfxGetAfxWndProc());
  if (pfnOld != AfxGetAfxWndProc())
    m_pfnSuper = pfnOld;
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
  HWND hWndControl = ::GetDlgItem(pParent->GetSafeHwnd(), nID);
  if (hWndControl == NULL)
    return FALSE;
  return SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow()
{
  if (m_pfnSuper != NULL) {
    ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
    m_pfnSuper = NULL;
  }
  return Detach();
}

void CWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType)
{
  DWORD dwExStyle = GetExStyle();
  if (nAdjustType == 0)
    dwExStyle &= ~WS_EX_CLIENTEDGE;
  ::AdjustWindowRectEx(lpClientRect, GetStyle(), FALSE, dwExStyle);
}

// ---------------------------------------------------------------------------------------------
// The window procedure

WNDPROC AFXAPI AfxGetAfxWndProc() { return &AfxWndProc; }

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message == WM_QUERYAFXWNDPROC)
    return 1;
  CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
  if (pWnd == NULL)
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
  return AfxCallWndProc(pWnd, hWnd, message, wParam, lParam);
}

LRESULT AFXAPI AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
  AFX_THREAD_STATE* ts = AfxGetThreadState();
  MSG oldState = ts->m_lastSentMsg;
  ts->m_lastSentMsg.hwnd = hWnd;
  ts->m_lastSentMsg.message = nMsg;
  ts->m_lastSentMsg.wParam = wParam;
  ts->m_lastSentMsg.lParam = lParam;

  LRESULT lResult = 0;
  try {
    lResult = pWnd->WindowProc(nMsg, wParam, lParam);
  } catch (CException* e) {
    CWinThread* pThread = AfxGetThread();
    lResult = pThread != NULL ? pThread->ProcessWndProcException(e, &ts->m_lastSentMsg) : 0;
    e->Delete();
  } catch (...) {
    // Nothing may unwind into the system's message dispatch, which cannot pass it on.
    if (nMsg == WM_CREATE) {
      lResult = -1;  // the window is not created
    } else if (nMsg == WM_PAINT) {
      ::ValidateRect(hWnd, NULL);
    } else {
      AfxMessageBox(AFX_IDP_INTERNAL_FAILURE, MB_ICONSTOP);
    }
  }
  // A window whose handler replaced the final clean-up still leaves the map.
  if (nMsg == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == pWnd) {
    if (pWnd->m_pfnSuper != NULL &&
        (WNDPROC)::GetWindowLongPtrA(hWnd, GWLP_WNDPROC) == AfxGetAfxWndProc())
      ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)pWnd->m_pfnSuper);
    pWnd->Detach();
  }
  ts->m_lastSentMsg = oldState;
  return lResult;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
  LRESULT lResult = 0;
  if (!OnWndMsg(message, wParam, lParam, &lResult))
    lResult = DefWindowProc(message, wParam, lParam);
  return lResult;
}

LRESULT CWnd::DefWindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
  if (m_pfnSuper != NULL)
    return ::CallWindowProcA(m_pfnSuper, m_hWnd, nMsg, wParam, lParam);
  return ::DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
}

LRESULT CWnd::Default()
{
  const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
  return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

const MSG* PASCAL CWnd::GetCurrentMessage()
{
  AFX_THREAD_STATE* ts = AfxGetThreadState();
  ts->m_lastSentMsg.time = ::GetMessageTime();
  DWORD pos = ::GetMessagePos();
  ts->m_lastSentMsg.pt.x = (short)LOWORD(pos);
  ts->m_lastSentMsg.pt.y = (short)HIWORD(pos);
  return &ts->m_lastSentMsg;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
  LRESULT lResult = 0;
  if (message == WM_COMMAND) {
    if (!OnCommand(wParam, lParam))
      return FALSE;
    lResult = 1;
  } else if (message == WM_NOTIFY) {
    NMHDR* pNMHDR = (NMHDR*)lParam;
    if (pNMHDR == NULL || pNMHDR->hwndFrom == NULL || !OnNotify(wParam, lParam, &lResult))
      return FALSE;
  } else if (message == WM_SETCURSOR && HandleSetCursor(lParam)) {
    lResult = TRUE;
  } else {
    UINT nLookup = message;
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
      nLookup = WM_CTLCOLOR;
    const AFX_MSGMAP_ENTRY* e = FindMessageEntry(nLookup, 0, 0);
    if (e == NULL)
      return FALSE;
    lResult = DispatchMapEntry(e, message, wParam, lParam);
  }
  if (pResult != NULL)
    *pResult = lResult;
  return TRUE;
}

// A click on a window that a modal dialog or popup has disabled brings that popup forward.
BOOL CWnd::HandleSetCursor(LPARAM lParam)
{
  UINT nMsg = HIWORD(lParam);
  if ((short)LOWORD(lParam) != HTERROR ||
      (nMsg != WM_LBUTTONDOWN && nMsg != WM_MBUTTONDOWN && nMsg != WM_RBUTTONDOWN))
    return FALSE;
  CWnd* pTop = GetTopLevelParent();
  HWND hLastActive = pTop != NULL ? ::GetLastActivePopup(pTop->m_hWnd) : NULL;
  if (hLastActive != NULL && hLastActive != ::GetForegroundWindow() &&
      ::IsWindowEnabled(hLastActive)) {
    ::SetForegroundWindow(hLastActive);
    return TRUE;
  }
  return FALSE;
}

LRESULT CWnd::DispatchMapEntry(const AFX_MSGMAP_ENTRY* e, UINT message, WPARAM wParam,
                               LPARAM lParam)
{
#define PMF(ret, args) (this->*reinterpret_cast<ret(CWnd::*) args>(e->pfn))
  CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  UINT_PTR nSig = e->nMessage == 0xC000 ? (UINT_PTR)AfxSig_lwl : e->nSig;
  LRESULT lResult = 0;
  switch (nSig) {
  case AfxSig_bD:
    lResult = PMF(BOOL, (CDC*))(CDC::FromHandle((HDC)wParam));
    break;
  case AfxSig_bb:
    lResult = PMF(BOOL, (BOOL))((BOOL)wParam);
    break;
  case AfxSig_bWww:
    lResult = PMF(BOOL, (CWnd*, UINT, UINT))(CWnd::FromHandle((HWND)wParam), LOWORD(lParam),
                                             HIWORD(lParam));
    break;
  case AfxSig_hDWw:
    lResult = (LRESULT)PMF(HBRUSH, (CDC*, CWnd*, UINT))(
        CDC::FromHandle((HDC)wParam), CWnd::FromHandle((HWND)lParam),
        message - WM_CTLCOLORMSGBOX);
    break;
  case AfxSig_hDw: {
    AFX_CTLCOLOR* pCtl = (AFX_CTLCOLOR*)lParam;
    lResult = (LRESULT)PMF(HBRUSH, (CDC*, UINT))(CDC::FromHandle(pCtl->hDC), pCtl->nCtlType);
    break;
  }
  case AfxSig_iwWw:
    lResult = PMF(int, (UINT, CWnd*, UINT))(LOWORD(wParam), CWnd::FromHandle((HWND)lParam),
                                            HIWORD(wParam));
    break;
  case AfxSig_iww:
    lResult = PMF(int, (UINT, UINT))(LOWORD(wParam), HIWORD(wParam));
    break;
  case AfxSig_iWww:
  case AfxSig_iWwp:
    lResult = PMF(int, (CWnd*, UINT, UINT))(CWnd::FromHandle((HWND)wParam), LOWORD(lParam),
                                            HIWORD(lParam));
    break;
  case AfxSig_is:
    lResult = PMF(int, (void*))((void*)lParam);
    break;
  case AfxSig_lwl:
    lResult = PMF(LRESULT, (WPARAM, LPARAM))(wParam, lParam);
    break;
  case AfxSig_lwwM:
  case AfxSig_lwMM:
    lResult = PMF(LRESULT, (UINT, UINT, CMenu*))(LOWORD(wParam), HIWORD(wParam),
                                                 CMenu::FromHandle((HMENU)lParam));
    break;
  case AfxSig_vv:
    PMF(void, ())();
    break;
  case AfxSig_vw:
    PMF(void, (UINT_PTR))(wParam);
    break;
  case AfxSig_vww:
    PMF(void, (UINT, UINT))((UINT)wParam, (UINT)lParam);
    break;
  case AfxSig_vvii:
    PMF(void, (int, int))((short)LOWORD(lParam), (short)HIWORD(lParam));
    break;
  case AfxSig_vwww:
    PMF(void, (UINT, UINT, UINT))((UINT)wParam, LOWORD(lParam), HIWORD(lParam));
    break;
  case AfxSig_vwii:
    PMF(void, (UINT, int, int))((UINT)wParam, LOWORD(lParam), HIWORD(lParam));
    break;
  case AfxSig_vwl:
    PMF(void, (UINT, LPARAM))((UINT)wParam, lParam);
    break;
  case AfxSig_vbWW:
    PMF(void, (BOOL, CWnd*, CWnd*))(m_hWnd == (HWND)lParam, CWnd::FromHandle((HWND)lParam),
                                    CWnd::FromHandle((HWND)wParam));
    break;
  case AfxSig_vD:
    PMF(void, (CDC*))(CDC::FromHandle((HDC)wParam));
    break;
  case AfxSig_vM:
    PMF(void, (CMenu*))(CMenu::FromHandle((HMENU)wParam));
    break;
  case AfxSig_vMwb:
    PMF(void, (CMenu*, UINT, BOOL))(CMenu::FromHandle((HMENU)wParam), LOWORD(lParam),
                                    HIWORD(lParam));
    break;
  case AfxSig_vW:
    PMF(void, (CWnd*))(CWnd::FromHandle((HWND)wParam));
    break;
  case AfxSig_vW2:
    PMF(void, (CWnd*))(CWnd::FromHandle((HWND)lParam));
    break;
  case AfxSig_vWww:
    PMF(void, (CWnd*, UINT, UINT))(CWnd::FromHandle((HWND)wParam), LOWORD(lParam),
                                   HIWORD(lParam));
    break;
  case AfxSig_vWp:
    PMF(void, (CWnd*, CPoint))(CWnd::FromHandle((HWND)wParam), pt);
    break;
  case AfxSig_vWh:
    PMF(void, (CWnd*, HANDLE))(CWnd::FromHandle((HWND)wParam), (HANDLE)lParam);
    break;
  case AfxSig_vwW:
    PMF(void, (UINT, CWnd*))((UINT)wParam, CWnd::FromHandle((HWND)lParam));
    break;
  case AfxSig_vwWb:
    PMF(void, (UINT, CWnd*, BOOL))(LOWORD(wParam), CWnd::FromHandle((HWND)lParam),
                                   HIWORD(wParam));
    break;
  case AfxSig_vwwW:
    PMF(void, (UINT, UINT, CWnd*))(LOWORD(wParam), HIWORD(wParam),
                                   CWnd::FromHandle((HWND)lParam));
    break;
  case AfxSig_vwwx:
    PMF(void, (UINT, UINT))(LOWORD(wParam), HIWORD(wParam));
    break;
  case AfxSig_vs:
    PMF(void, (void*))((void*)lParam);
    break;
  case AfxSig_vOWNER:
    PMF(void, (int, void*))((int)wParam, (void*)lParam);
    lResult = TRUE;
    break;
  case AfxSig_iis:
    lResult = PMF(int, (int, void*))((int)wParam, (void*)lParam);
    break;
  case AfxSig_wp:
    lResult = PMF(UINT, (CPoint))(pt);
    break;
  case AfxSig_uhlp:
    lResult = PMF(LRESULT, (CPoint))(pt);
    break;
  case AfxSig_wv:
    lResult = PMF(UINT, ())();
    break;
  case AfxSig_vPOS:
  case AfxSig_vMINMAX:
  case AfxSig_vpv:
    PMF(void, (void*))((void*)lParam);
    break;
  case AfxSig_vCALC:
    PMF(void, (BOOL, void*))((BOOL)wParam, (void*)lParam);
    break;
  case AfxSig_bHELPINFO:
  case AfxSig_bpv:
    lResult = PMF(BOOL, (void*))((void*)lParam);
    break;
  case AfxSig_vwSIZING:
  case AfxSig_vwMOVING:
    PMF(void, (UINT, LPRECT))((UINT)wParam, (LPRECT)lParam);
    lResult = TRUE;
    break;
  case AfxSig_vwp:
    PMF(void, (UINT, CPoint))((UINT)wParam, pt);
    break;
  case AfxSig_vb:
    PMF(void, (BOOL))((BOOL)wParam);
    break;
  case AfxSig_vbw:
    PMF(void, (BOOL, UINT))((BOOL)wParam, (UINT)lParam);
    break;
  case AfxSig_bv:
    lResult = PMF(BOOL, ())();
    break;
  case AfxSig_hv:
    lResult = (LRESULT)PMF(HANDLE, ())();
    break;
  case AfxSig_vhh:
    PMF(void, (HANDLE, HANDLE))((HANDLE)wParam, (HANDLE)lParam);
    break;
  case AfxSig_vh:
    PMF(void, (HANDLE))((HANDLE)wParam);
    break;
  case AfxSig_viSS:
    PMF(void, (int, void*))((int)wParam, (void*)lParam);
    break;
  case AfxSig_bWCDS:
    lResult = PMF(BOOL, (CWnd*, COPYDATASTRUCT*))(CWnd::FromHandle((HWND)wParam),
                                                  (COPYDATASTRUCT*)lParam);
    break;
  case AfxSig_bwsp:
    lResult = PMF(BOOL, (UINT, short, CPoint))(LOWORD(wParam), (short)HIWORD(wParam), pt);
    break;
  case AfxSig_vwwM:
    PMF(void, (UINT, UINT, HMENU))(LOWORD(wParam), HIWORD(wParam), (HMENU)lParam);
    break;
  case AfxSig_bwwp:
    lResult = PMF(BOOL, (UINT, DWORD_PTR))((UINT)wParam, (DWORD_PTR)lParam);
    break;
  case AfxSig_bw:
    lResult = PMF(BOOL, (UINT))((UINT)wParam);
    break;
  case AfxSig_bh:
    lResult = PMF(BOOL, (HANDLE))((HANDLE)wParam);
    break;
  case AfxSig_iw:
    lResult = PMF(int, (UINT))((UINT)wParam);
    break;
  case AfxSig_ww:
    lResult = PMF(UINT, (UINT))((UINT)wParam);
    break;
  case AfxSig_vbh:
    PMF(void, (BOOL, HANDLE))((BOOL)wParam, (HANDLE)lParam);
    break;
  case AfxSig_vwh:
    PMF(void, (UINT, HANDLE))((UINT)wParam, (HANDLE)lParam);
    break;
  case AfxSig_vwpb:
    PMF(void, (UINT, CPoint, BOOL))((UINT)wParam, pt, TRUE);
    break;
  case AfxSig_vws:
    PMF(void, (UINT, LPCTSTR))((UINT)wParam, (LPCTSTR)lParam);
    break;
  case AfxSig_vcs:
    PMF(void, (LPCTSTR))((LPCTSTR)lParam);
    break;
  case AfxSig_bwl:
    lResult = PMF(BOOL, (UINT, LPARAM))((UINT)wParam, lParam);
    break;
  default:
    lResult = DefWindowProc(message, wParam, lParam);
    break;
  }
#undef PMF
  return lResult;
}

// ---------------------------------------------------------------------------------------------
// Commands, notifications and reflection

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
  UINT nID = LOWORD(wParam);
  HWND hWndCtrl = (HWND)lParam;
  int nCode = HIWORD(wParam);
  AFX_THREAD_STATE* ts = AfxGetThreadState();
  if (hWndCtrl == NULL) {
    if (nID == 0)
      return FALSE;
    // A menu item or accelerator whose command has been disabled meanwhile does nothing.
    CTestCmdUI state;
    state.m_nID = nID;
    OnCmdMsg(nID, (int)CN_UPDATE_COMMAND_UI, &state, NULL);
    if (!state.m_bEnabled)
      return TRUE;
    nCode = CN_COMMAND;
  } else {
    if (ReflectLastMsg(hWndCtrl))
      return TRUE;  // the control handled its own notification
    if (ts->m_hLockoutNotifyWindow == m_hWnd)
      return TRUE;
  }
  return OnCmdMsg(nID, nCode, NULL, NULL);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
  NMHDR* pNMHDR = (NMHDR*)lParam;
  HWND hWndCtrl = pNMHDR->hwndFrom;
  UINT nID = (UINT)::GetDlgCtrlID(hWndCtrl);
  int nCode = pNMHDR->code;
  if (ReflectLastMsg(hWndCtrl, pResult))
    return TRUE;
  if (AfxGetThreadState()->m_hLockoutNotifyWindow == m_hWnd)
    return TRUE;
  AFX_NOTIFY notify;
  notify.pResult = pResult;
  notify.pNMHDR = pNMHDR;
  return OnCmdMsg(nID, MAKELONG(nCode, WM_NOTIFY), &notify, NULL);
}

BOOL CWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
  return CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL PASCAL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult)
{
  CWnd* pWnd = FromHandlePermanent(hWndChild);
  if (pWnd == NULL)
    return FALSE;
  return pWnd->SendChildNotifyLastMsg(pResult);
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult)
{
  const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
  return OnChildNotify(msg.message, msg.wParam, msg.lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
  if (m_pCtrlSite != NULL) {
    // An OLE control gets the notification as its OCM_ message.
    LRESULT lResult = SendMessage(OCM__BASE + uMsg, wParam, lParam);
    if (uMsg >= WM_CTLCOLORMSGBOX && uMsg <= WM_CTLCOLORSTATIC && lResult == 0)
      return FALSE;
    if (pResult != NULL)
      *pResult = lResult;
    return TRUE;
  }
  return ReflectChildNotify(uMsg, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
  switch (uMsg) {
  case WM_HSCROLL:
  case WM_VSCROLL:
  case WM_PARENTNOTIFY:
  case WM_DRAWITEM:
  case WM_MEASUREITEM:
  case WM_DELETEITEM:
  case WM_VKEYTOITEM:
  case WM_CHARTOITEM:
  case WM_COMPAREITEM:
    return CWnd::OnWndMsg(WM_REFLECT_BASE + uMsg, wParam, lParam, pResult);
  case WM_COMMAND: {
    int nCode = HIWORD(wParam);
    if (CCmdTarget::OnCmdMsg(0, MAKELONG(nCode, WM_REFLECT_BASE + WM_COMMAND), NULL, NULL)) {
      if (pResult != NULL)
        *pResult = 1;
      return TRUE;
    }
    break;
  }
  case WM_NOTIFY: {
    NMHDR* pNMHDR = (NMHDR*)lParam;
    AFX_NOTIFY notify;
    LRESULT lDummy = 0;
    notify.pResult = pResult != NULL ? pResult : &lDummy;
    notify.pNMHDR = pNMHDR;
    return CCmdTarget::OnCmdMsg(0, MAKELONG(pNMHDR->code, WM_REFLECT_BASE + WM_NOTIFY),
                                &notify, NULL);
  }
  default:
    if (uMsg >= WM_CTLCOLORMSGBOX && uMsg <= WM_CTLCOLORSTATIC) {
      AFX_CTLCOLOR ctl;
      ctl.hDC = (HDC)wParam;
      ctl.hWnd = (HWND)lParam;
      ctl.nCtlType = uMsg - WM_CTLCOLORMSGBOX;
      LRESULT lResult = 0;
      BOOL bHandled = CWnd::OnWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, 0, (LPARAM)&ctl, &lResult);
      // A reflected handler that answers no brush leaves the colour to the parent.
      if (bHandled && lResult != 0) {
        if (pResult != NULL)
          *pResult = lResult;
        return TRUE;
      }
      return FALSE;
    }
    break;
  }
  return FALSE;
}

// ---------------------------------------------------------------------------------------------
// Pre-translation of messages

BOOL CWnd::PreTranslateMessage(MSG* pMsg)
{
  if (m_nFlags & WF_TOOLTIPS)
    FilterToolTipMessage(pMsg);
  return FALSE;
}

BOOL PASCAL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
  for (HWND hWnd = pMsg->hwnd; hWnd != NULL; hWnd = ::GetParent(hWnd)) {
    if (AfxOleTranslateControlMessage(hWnd, pMsg))
      return TRUE;
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (pWnd != NULL && pWnd->PreTranslateMessage(pMsg))
      return TRUE;
    if (hWnd == hWndStop)
      break;
  }
  return FALSE;
}

// ---------------------------------------------------------------------------------------------
// The message map of every window: the messages whose default handling reflects them to the
// control that sent them, and the final clean-up.

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
  ON_WM_DRAWITEM()
  ON_WM_MEASUREITEM()
  ON_WM_DELETEITEM()
  ON_WM_COMPAREITEM()
  ON_WM_CTLCOLOR()
  ON_WM_HSCROLL()
  ON_WM_VSCROLL()
  ON_WM_CHARTOITEM()
  ON_WM_VKEYTOITEM()
  ON_WM_PARENTNOTIFY()
  ON_WM_NCDESTROY()
END_MESSAGE_MAP()

void CWnd::OnNcDestroy()
{
  CWinThread* pThread = AfxGetThread();
  if (pThread != NULL) {
    if (pThread->m_pMainWnd == this) {
      // The main window ends the thread's message loop.
      ::PostQuitMessage(0);
      pThread->m_pMainWnd = NULL;
    }
    if (pThread->m_pActiveWnd == this)
      pThread->m_pActiveWnd = NULL;
  }
  if (m_pCtrlSite != NULL || m_pCtrlCont != NULL)
    AfxOleWndNcDestroy(this);
  if (m_nFlags & WF_TOOLTIPS) {
    AFX_THREAD_STATE* ts = AfxGetThreadState();
    if (ts->m_pLastHit == this) {
      ts->m_pLastHit = NULL;
      ts->m_nLastHit = -1;
    }
    if (ts->m_hWndToolTip != NULL) {
      TOOLINFOA ti;
      memset(&ti, 0, sizeof(ti));
      ti.cbSize = sizeof(ti);
      ti.hwnd = m_hWnd;
      ::SendMessageA(ts->m_hWndToolTip, TTM_DELTOOLA, 0, (LPARAM)&ti);
    }
  }
  WNDPROC pfnWndProc = (WNDPROC)::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC);
  Default();
  if ((WNDPROC)::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC) == pfnWndProc && m_pfnSuper != NULL)
    ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
  Detach();
  PostNcDestroy();
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDIS)
{
  if (lpDIS->CtlType == ODT_MENU) {
    CMenu* pMenu = CMenu::FromHandlePermanent((HMENU)lpDIS->hwndItem);
    if (pMenu != NULL) {
      pMenu->DrawItem(lpDIS);
      return;
    }
  } else if (ReflectLastMsg(lpDIS->hwndItem)) {
    return;
  }
  Default();
}

void CWnd::OnMeasureItem(int, LPMEASUREITEMSTRUCT lpMIS)
{
  if (lpMIS->CtlType == ODT_MENU) {
    // The menu is not named in the message: look for the item in the menus of this window.
    CMenu* pMenu = NULL;
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    (void)msg;
    HMENU hMenu = ::GetMenu(m_hWnd);
    if (hMenu != NULL)
      pMenu = CMenu::FromHandlePermanent(hMenu);
    if (pMenu != NULL) {
      pMenu->MeasureItem(lpMIS);
      return;
    }
  } else {
    CWnd* pChild = GetDescendantWindow(lpMIS->CtlID, TRUE);
    if (pChild != NULL && pChild->SendChildNotifyLastMsg(NULL))
      return;
  }
  Default();
}

void CWnd::OnDeleteItem(int, LPDELETEITEMSTRUCT lpDIS)
{
  if (ReflectLastMsg(lpDIS->hwndItem))
    return;
  Default();
}

int CWnd::OnCompareItem(int, LPCOMPAREITEMSTRUCT lpCIS)
{
  LRESULT lResult;
  if (ReflectLastMsg(lpCIS->hwndItem, &lResult))
    return (int)lResult;
  return (int)Default();
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT)
{
  LRESULT lResult;
  if (pWnd != NULL && ReflectLastMsg(pWnd->m_hWnd, &lResult))
    return (HBRUSH)lResult;
  return (HBRUSH)Default();
}

void CWnd::OnHScroll(UINT, UINT, CScrollBar* pScrollBar)
{
  if (pScrollBar != NULL && ReflectLastMsg(((CWnd*)pScrollBar)->m_hWnd))
    return;
  Default();
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar* pScrollBar)
{
  if (pScrollBar != NULL && ReflectLastMsg(((CWnd*)pScrollBar)->m_hWnd))
    return;
  Default();
}

int CWnd::OnCharToItem(UINT, CListBox* pListBox, UINT)
{
  LRESULT lResult;
  if (pListBox != NULL && ReflectLastMsg(((CWnd*)pListBox)->m_hWnd, &lResult))
    return (int)lResult;
  return (int)Default();
}

int CWnd::OnVKeyToItem(UINT, CListBox* pListBox, UINT)
{
  LRESULT lResult;
  if (pListBox != NULL && ReflectLastMsg(((CWnd*)pListBox)->m_hWnd, &lResult))
    return (int)lResult;
  return (int)Default();
}

void CWnd::OnParentNotify(UINT message, LPARAM lParam)
{
  if ((LOWORD(message) == WM_CREATE || LOWORD(message) == WM_DESTROY)) {
    if (ReflectLastMsg((HWND)lParam))
      return;
  }
  Default();
}
