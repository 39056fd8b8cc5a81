// Command targets: message-map lookup, command dispatch and command user-interface state.
#include "afxwin.h"
#include "afxpriv.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

CCmdTarget::CCmdTarget()
    : m_dwRef(1), m_pOuterUnknown(NULL), m_xInnerUnknown(0), m_bResultExpected(TRUE)
{
  m_xDispatch.m_vtbl = 0;
}

CCmdTarget::~CCmdTarget() {}

const AFX_MSGMAP* PASCAL CCmdTarget::GetThisMessageMap()
{
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, (AFX_PMSG)0}};
  static const AFX_MSGMAP map = {NULL, &entries[0]};
  return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

// Registered messages are stored with 0xC000 as their message and the address of the
// variable that holds the registered id as their signature.
static bool EntryMatches(const AFX_MSGMAP_ENTRY* e, UINT nMsg, UINT nCode, UINT nID)
{
  if (e->nMessage == 0xC000 && nMsg >= 0xC000 && nMsg <= 0xFFFF) {
    const UINT* pRegistered = (const UINT*)e->nSig;
    return pRegistered != NULL && *pRegistered == nMsg;
  }
  return e->nMessage == nMsg && e->nCode == nCode && nID >= e->nID && nID <= e->nLastID;
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT nMsg, UINT nCode, UINT nID) const
{
  for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != NULL;
       pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : NULL) {
    for (const AFX_MSGMAP_ENTRY* e = pMap->lpEntries; e->nSig != AfxSig_end; ++e)
      if (EntryMatches(e, nMsg, nCode, nID))
        return e;
  }
  return NULL;
}

// Calls a command or notification handler with the arguments its signature names.
static BOOL DispatchCmdMsg(CCmdTarget* pTarget, UINT nID, int nCode, AFX_PMSG pfn,
                           void* pExtra, UINT_PTR nSig, AFX_CMDHANDLERINFO* pHandlerInfo)
{
  if (pHandlerInfo != NULL) {
    pHandlerInfo->pTarget = pTarget;
    pHandlerInfo->pmf = pfn;
    return TRUE;
  }
  BOOL bResult = TRUE;
  switch (nSig) {
  case AfxSigCmd_v:
    (pTarget->*pfn)();
    break;
  case AfxSigCmd_b:
    bResult = (pTarget->*reinterpret_cast<BOOL (CCmdTarget::*)()>(pfn))();
    break;
  case AfxSigCmd_RANGE:
    (pTarget->*reinterpret_cast<void (CCmdTarget::*)(UINT)>(pfn))(nID);
    break;
  case AfxSigCmd_EX:
    bResult = (pTarget->*reinterpret_cast<BOOL (CCmdTarget::*)(UINT)>(pfn))(nID);
    break;
  case AfxSigNotify_v: {
    AFX_NOTIFY* pNotify = (AFX_NOTIFY*)pExtra;
    (pTarget->*reinterpret_cast<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(pfn))(
        pNotify->pNMHDR, pNotify->pResult);
    break;
  }
  case AfxSigNotify_b: {
    AFX_NOTIFY* pNotify = (AFX_NOTIFY*)pExtra;
    bResult = (pTarget->*reinterpret_cast<BOOL (CCmdTarget::*)(NMHDR*, LRESULT*)>(pfn))(
        pNotify->pNMHDR, pNotify->pResult);
    break;
  }
  case AfxSigNotify_RANGE: {
    AFX_NOTIFY* pNotify = (AFX_NOTIFY*)pExtra;
    (pTarget->*reinterpret_cast<void (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(pfn))(
        nID, pNotify->pNMHDR, pNotify->pResult);
    break;
  }
  case AfxSigNotify_EX: {
    AFX_NOTIFY* pNotify = (AFX_NOTIFY*)pExtra;
    bResult = (pTarget->*reinterpret_cast<BOOL (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(pfn))(
        nID, pNotify->pNMHDR, pNotify->pResult);
    break;
  }
  case AfxSigCmdUI: {
    CCmdUI* pCmdUI = (CCmdUI*)pExtra;
    (pTarget->*reinterpret_cast<void (CCmdTarget::*)(CCmdUI*)>(pfn))(pCmdUI);
    bResult = !pCmdUI->m_bContinueRouting;
    pCmdUI->m_bContinueRouting = FALSE;
    break;
  }
  case AfxSigCmdUI_RANGE: {
    CCmdUI* pCmdUI = (CCmdUI*)pExtra;
    (pTarget->*reinterpret_cast<void (CCmdTarget::*)(CCmdUI*, UINT)>(pfn))(pCmdUI, nID);
    bResult = !pCmdUI->m_bContinueRouting;
    pCmdUI->m_bContinueRouting = FALSE;
    break;
  }
  default:
    // A window-message signature in a command entry: a wrong map; not handled.
    bResult = FALSE;
    break;
  }
  (void)nCode;
  return bResult;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
  if ((UINT)nCode == CN_EVENT)
    return OnEvent(nID, (AFX_EVENT*)pExtra, pHandlerInfo);

  // The message number travels in the high word of the code (WM_NOTIFY, reflected
  // messages); zero means WM_COMMAND. The update request is all ones and stays whole.
  UINT nMsg = 0;
  UINT code = (UINT)nCode;
  if (code != CN_UPDATE_COMMAND_UI) {
    nMsg = HIWORD(code);
    code = LOWORD(code);
  }
  if (nMsg == 0)
    nMsg = WM_COMMAND;

  const AFX_MSGMAP_ENTRY* e = FindMessageEntry(nMsg, code, nID);
  if (e == NULL)
    return FALSE;
  return DispatchCmdMsg(this, nID, nCode, e->pfn, pExtra, e->nSig, pHandlerInfo);
}

// Wait cursor: counted, so nested waits keep the hourglass until the outermost ends.
void CCmdTarget::BeginWaitCursor() { AfxGetApp() ? AfxGetApp()->DoWaitCursor(1) : (void)::SetCursor(::LoadCursorA(NULL, (LPCSTR)IDC_WAIT)); }
void CCmdTarget::EndWaitCursor() { if (AfxGetApp()) AfxGetApp()->DoWaitCursor(-1); else ::SetCursor(::LoadCursorA(NULL, (LPCSTR)IDC_ARROW)); }
void CCmdTarget::RestoreWaitCursor() { if (AfxGetApp()) AfxGetApp()->DoWaitCursor(0); }

// ---------------------------------------------------------------------------------------------
// CCmdUI

CCmdUI::CCmdUI()
    : m_nID(0), m_nIndex(0), m_pMenu(NULL), m_pSubMenu(NULL), m_pOther(NULL),
      m_bEnableChanged(FALSE), m_bContinueRouting(FALSE), m_nIndexMax(0), m_pParentMenu(NULL)
{
}

static HMENU MenuOf(CMenu* pMenu) { return pMenu ? pMenu->m_hMenu : NULL; }

void CCmdUI::Enable(BOOL bOn)
{
  if (m_pMenu != NULL) {
    if (m_pSubMenu != NULL)
      return;  // a popup's own state follows its items
    ::EnableMenuItem(MenuOf(m_pMenu), m_nIndex,
                     MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
  } else if (m_pOther != NULL && m_pOther->m_hWnd != NULL) {
    // Moving the focus off a control that is being disabled keeps the keyboard usable.
    if (!bOn && ::GetFocus() == m_pOther->m_hWnd) {
      HWND hParent = ::GetParent(m_pOther->m_hWnd);
      if (hParent != NULL)
        ::SendMessageA(hParent, WM_NEXTDLGCTL, 0, FALSE);
    }
    ::EnableWindow(m_pOther->m_hWnd, bOn);
  }
  m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck)
{
  if (m_pMenu != NULL) {
    if (m_pSubMenu != NULL)
      return;
    ::CheckMenuItem(MenuOf(m_pMenu), m_nIndex,
                    MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
  } else if (m_pOther != NULL && m_pOther->m_hWnd != NULL) {
    if (::SendMessageA(m_pOther->m_hWnd, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)
      ::SendMessageA(m_pOther->m_hWnd, BM_SETCHECK, nCheck, 0);
  }
}

void CCmdUI::SetRadio(BOOL bOn)
{
  SetCheck(bOn ? 1 : 0);
  if (m_pMenu != NULL && m_pSubMenu == NULL && bOn) {
    // Show the item with the radio mark instead of the tick.
    MENUITEMINFOA info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    if (::GetMenuItemInfoA(MenuOf(m_pMenu), m_nIndex, TRUE, &info)) {
      info.fType |= MFT_RADIOCHECK;
      ::SetMenuItemInfoA(MenuOf(m_pMenu), m_nIndex, TRUE, &info);
    }
  }
}

void CCmdUI::SetText(LPCTSTR lpszText)
{
  if (lpszText == NULL)
    lpszText = "";
  if (m_pMenu != NULL) {
    if (m_pSubMenu != NULL)
      return;
    HMENU hMenu = MenuOf(m_pMenu);
    UINT nState = ::GetMenuState(hMenu, m_nIndex, MF_BYPOSITION) &
                  (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_MENUBARBREAK | MF_MENUBREAK |
                   MF_HILITE);
    ::ModifyMenuA(hMenu, m_nIndex, MF_BYPOSITION | MF_STRING | nState, m_nID, lpszText);
  } else if (m_pOther != NULL && m_pOther->m_hWnd != NULL) {
    char buf[512];
    ::GetWindowTextA(m_pOther->m_hWnd, buf, sizeof(buf));
    if (strcmp(buf, lpszText) != 0)
      ::SetWindowTextA(m_pOther->m_hWnd, lpszText);
  }
}

void CCmdUI::ContinueRouting() { m_bContinueRouting = TRUE; }

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
  if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF)
    return TRUE;  // separators and popups are not commands
  m_bEnableChanged = FALSE;
  BOOL bResult = pTarget->OnCmdMsg(m_nID, (int)CN_UPDATE_COMMAND_UI, this, NULL);
  if (bDisableIfNoHndler && !m_bEnableChanged) {
    AFX_CMDHANDLERINFO info;
    info.pTarget = NULL;
    BOOL bHandler = pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info);
    Enable(bHandler);
  }
  return bResult;
}

CTestCmdUI::CTestCmdUI() : m_bEnabled(TRUE) {}
void CTestCmdUI::Enable(BOOL bOn)
{
  m_bEnabled = bOn;
  m_bEnableChanged = TRUE;
}
void CTestCmdUI::SetCheck(int) {}
void CTestCmdUI::SetRadio(BOOL) {}
void CTestCmdUI::SetText(LPCTSTR) {}
