// The extended system command's filters.
#include "SECSysCommandEx.h"

#include <algorithm>

#include "SECControlBar.h"
#include "SECDockableFrame.h"
#include "SECMultiDocTemplate.h"

namespace nsSysCommandEx {

namespace {

BOOL HasWindow(CWnd* pWnd) { return pWnd != NULL && ::IsWindow(pWnd->m_hWnd); }

CFrameWnd* FrameOf(HWND hWnd)
{
  CWnd* pWnd = hWnd != NULL && ::IsWindow(hWnd) ? CWnd::FromHandlePermanent(hWnd) : NULL;
  return pWnd != NULL ? DYNAMIC_DOWNCAST(CFrameWnd, pWnd) : NULL;
}

UINT DockBarOfState(int nState)
{
  switch (nState) {
    case stateDockedLeft:
      return AFX_IDW_DOCKBAR_LEFT;
    case stateDockedTop:
      return AFX_IDW_DOCKBAR_TOP;
    case stateDockedRight:
      return AFX_IDW_DOCKBAR_RIGHT;
    case stateDockedBottom:
      return AFX_IDW_DOCKBAR_BOTTOM;
  }
  return 0;
}

DWORD AlignmentOfDockBar(UINT nID)
{
  switch (nID) {
    case AFX_IDW_DOCKBAR_TOP:
      return CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
    case AFX_IDW_DOCKBAR_LEFT:
      return CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT;
    case AFX_IDW_DOCKBAR_RIGHT:
      return CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT;
    case AFX_IDW_DOCKBAR_BOTTOM:
      return CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;
  }
  return 0;
}

// Moves and sizes a window as the record's flags say (no z-order change, no activation).
void PlaceByRecord(CWnd* pWnd, const ScxCommandInfo* pInfo)
{
  if (!HasWindow(pWnd) || !(pInfo->dwFlags & (flagPosition | flagSize)))
    return;
  UINT nFlags = SWP_NOZORDER | SWP_NOACTIVATE;
  if (!(pInfo->dwFlags & flagPosition))
    nFlags |= SWP_NOMOVE;
  if (!(pInfo->dwFlags & flagSize))
    nFlags |= SWP_NOSIZE;
  pWnd->SetWindowPos(NULL, pInfo->x, pInfo->y, pInfo->cx, pInfo->cy, nFlags);
}

// The maximized SECMDIChildWnd of an MDI frame whose own tree has the filter enabled.
SECMDIChildWnd* MaximizedChildWithFilter(CWnd* pFrame, int nFilterID)
{
  CMDIFrameWnd* pMDI = pFrame != NULL ? DYNAMIC_DOWNCAST(CMDIFrameWnd, pFrame) : NULL;
  if (!HasWindow(pMDI))
    return NULL;
  BOOL bMaximized = FALSE;
  CMDIChildWnd* pChild = pMDI->MDIGetActive(&bMaximized);
  SECMDIChildWnd* pSEC = pChild != NULL && bMaximized ? DYNAMIC_DOWNCAST(SECMDIChildWnd, pChild) : NULL;
  if (pSEC == NULL)
    return NULL;
  SECMsgFilter* pFilter = pSEC->GetMsgFilter()->FindFilter(nFilterID, NULL, -1);
  return pFilter != NULL && pFilter->m_bEnabled ? pSEC : NULL;
}

}  // namespace

LRESULT SendCommand(HWND hWnd, UINT nCommand, ScxCommandInfo& info)
{
  return ::SendMessageA(hWnd, SECGetSysCommandExMessage(), nCommand, (LPARAM)&info);
}

// ---------------------------------------------------------------------------------------------
// ScxMsgFilter

IMPLEMENT_DYNCREATE(ScxMsgFilter, SECMsgFilter)

BOOL ScxMsgFilter::RunsOnCopy(UINT nCommand) { return nCommand == cmdExecute || nCommand == cmdTrackMenu; }

DWORD ScxMsgFilter::OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
  if (message != SECGetSysCommandExMessage())
    return 0;
  LRESULT lLocal = 0;
  if (pResult == NULL)
    pResult = &lLocal;
  const UINT nCommand = (UINT)(wParam & 0xFFF0);
  if (!m_bIsCopy && RunsOnCopy(nCommand)) {
    // The command may destroy the frame and this tree with it: a heap copy carries it out, and
    // nothing of this filter is touched afterwards.
    ScxMsgFilter* pCopy = (ScxMsgFilter*)Clone();
    pCopy->m_bIsCopy = TRUE;
    DWORD dwResult = pCopy->OnFilterMessage(message, wParam, lParam, pResult);
    delete pCopy;
    return (dwResult & fltHandled) ? (dwResult | fltStop) : dwResult;
  }
  ScxCommandInfo* pInfo = (ScxCommandInfo*)lParam;
  if (pInfo == NULL || FrameOf(pInfo->hWnd) == NULL && CWnd::FromHandlePermanent(pInfo->hWnd) == NULL)
    return 0;
  HWND hRepaint = NULL;
  if (pInfo->dwFlags & flagPosition) {
    hRepaint = pInfo->hWnd;
    CWnd* pWnd = CWnd::FromHandlePermanent(hRepaint);
    if (pWnd != NULL && pWnd->IsKindOf(RUNTIME_CLASS(CMDIChildWnd)) && pWnd->IsZoomed()) {
      CFrameWnd* pParent = pWnd->GetParentFrame();
      hRepaint = pParent != NULL ? pParent->m_hWnd : NULL;
    }
  }
  DWORD dwResult = 0;
  switch (nCommand) {
    case cmdExecute:
      dwResult = OnExecute(pInfo, pResult);
      break;
    case cmdQueryMenu:
      dwResult = OnQueryMenu(pInfo, pResult);
      break;
    case cmdTrackMenu:
      dwResult = OnTrackMenu(pInfo, pResult);
      break;
  }
  if (hRepaint != NULL && ::IsWindow(hRepaint))
    ::SendMessageA(hRepaint, WM_NCPAINT, 0, 0);
  return dwResult;
}

DWORD ScxMsgFilter::OnQueryMenu(ScxCommandInfo* pInfo, LRESULT* pResult)
{
  pInfo->hMenu = GetMenu(pInfo);
  *pResult = pInfo->hMenu != NULL ? 1 : 0;
  return 15;
}

HMENU ScxMsgFilter::GetMenu(ScxCommandInfo* pInfo)
{
  SECMultiDocTemplate* pTemplate =
      (SECMultiDocTemplate*)FindDocTemplate(pInfo, RUNTIME_CLASS(SECMultiDocTemplate));
  CFrameWnd* pFrame = FrameOf(pInfo->hWnd);
  if (pTemplate == NULL || pFrame == NULL)
    return NULL;
  return BuildMenu(pFrame, GetCurrentState(pFrame, pTemplate));
}

CDocTemplate* ScxMsgFilter::FindDocTemplate(ScxCommandInfo* pInfo, CRuntimeClass* pClass)
{
  CFrameWnd* pFrame = FrameOf(pInfo->hWnd);
  CView* pView = pFrame != NULL ? pFrame->GetActiveView() : NULL;
  CDocument* pDoc = pView != NULL ? pView->GetDocument() : NULL;
  CWinApp* pApp = AfxGetApp();
  if (pDoc == NULL || pApp == NULL)
    return NULL;
  POSITION posTemplate = pApp->GetFirstDocTemplatePosition();
  while (posTemplate != NULL) {
    CDocTemplate* pTemplate = pApp->GetNextDocTemplate(posTemplate);
    POSITION posDoc = pTemplate->GetFirstDocPosition();
    while (posDoc != NULL) {
      if (pTemplate->GetNextDoc(posDoc) == pDoc &&
          (pClass == NULL || pTemplate->IsKindOf(pClass)))
        return pTemplate;
    }
  }
  return NULL;
}

HMENU ScxMsgFilter::BuildMenu(CFrameWnd*, int nState)
{
  auto text = [](UINT nID) {
    CString s;
    s.LoadString(nID);
    return s;
  };
  auto check = [](BOOL b) { return b ? MF_CHECKED : MF_UNCHECKED; };
  const int nClass = GetStateClass(nState);
  HMENU hMenu = ::CreatePopupMenu();
  ::AppendMenuA(hMenu, MF_STRING | check(nClass == stateDocked), stateDocked, text(IDS_SCX_DOCKED));
  ::AppendMenuA(hMenu, MF_STRING | check(nClass == stateFloating), stateFloating, text(IDS_SCX_FLOATING));
  ::AppendMenuA(hMenu, MF_STRING | check(nClass == stateMDIChild), stateMDIChild, text(IDS_SCX_MDICHILD));
  ::AppendMenuA(hMenu, MF_SEPARATOR, 0, NULL);
  HMENU hDocked = ::CreatePopupMenu();
  const struct {
    int nState;
    UINT nText;
  } sides[] = {{stateDockedTop, IDS_SCX_TOP}, {stateDockedLeft, IDS_SCX_LEFT},
               {stateDockedBottom, IDS_SCX_BOTTOM}, {stateDockedRight, IDS_SCX_RIGHT}};
  for (const auto& s : sides)
    ::AppendMenuA(hDocked, MF_STRING | check(nState == s.nState), s.nState, text(s.nText));
  ::AppendMenuA(hMenu, MF_POPUP, (UINT_PTR)hDocked, text(IDS_SCX_DOCKEDTO));
  HMENU hChild = ::CreatePopupMenu();
  const struct {
    int nState;
    UINT nText;
  } shows[] = {{stateMinimized, IDS_SCX_MINIMIZED}, {stateMaximized, IDS_SCX_MAXIMIZED},
               {stateRestored, IDS_SCX_RESTORED}};
  for (const auto& s : shows)
    ::AppendMenuA(hChild, MF_STRING | check(nState == s.nState), s.nState, text(s.nText));
  ::AppendMenuA(hMenu, MF_POPUP, (UINT_PTR)hChild, text(IDS_SCX_MDICHILDAS));
  return hMenu;
}

DWORD ScxMsgFilter::OnTrackMenu(ScxCommandInfo* pInfo, LRESULT* pResult)
{
  HMENU hMenu = QueryMenu(pInfo);
  if (hMenu != NULL) {
    int nState = TrackMenu(hMenu, pInfo);
    ExecuteCommand(nState, pInfo);
    ::DestroyMenu(hMenu);
  }
  *pResult = 0;
  return 15;
}

HMENU ScxMsgFilter::QueryMenu(ScxCommandInfo* pInfo)
{
  if (pInfo->hMenu != NULL)
    return pInfo->hMenu;
  ScxCommandInfo query = *pInfo;
  query.dwFlags &= ~flagPosition;
  return SendCommand(pInfo->hWnd, cmdQueryMenu, query) ? query.hMenu : NULL;
}

int ScxMsgFilter::TrackMenu(HMENU hMenu, ScxCommandInfo* pInfo)
{
  CPoint pt(pInfo->x, pInfo->y);
  if (pt.x < 0 && ::IsWindow(pInfo->hWnd)) {
    CRect rc;
    ::GetClientRect(pInfo->hWnd, &rc);
    pt = rc.CenterPoint();
    ::ClientToScreen(pInfo->hWnd, &pt);
  }
  return (int)::TrackPopupMenu(hMenu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, pt.x, pt.y, 0,
                               pInfo->hWnd, NULL);
}

BOOL ScxMsgFilter::ExecuteCommand(int nState, ScxCommandInfo* pInfo)
{
  if (nState == stateNone)
    return FALSE;
  ScxCommandInfo execute = *pInfo;
  execute.dwFlags &= ~flagPosition;
  execute.nTargetState = nState;
  SendCommand(pInfo->hWnd, cmdExecute, execute);
  return TRUE;
}

int ScxMsgFilter::GetStateClass(int nState)
{
  if (nState >= stateMDIChild && nState <= stateRestored)
    return stateMDIChild;
  if (nState >= stateDocked && nState <= stateDockedBottom)
    return stateDocked;
  return nState == stateFloating ? stateFloating : stateNone;
}

int ScxMsgFilter::GetDefaultTarget(int nCurrent)
{
  return GetStateClass(nCurrent) == stateMDIChild ? stateDocked : stateMDIChild;
}

int ScxMsgFilter::GetCurrentState(CFrameWnd* pFrame, SECMultiDocTemplate* pTemplate)
{
  if (!HasWindow(pFrame))
    return stateNone;
  if (pFrame->IsKindOf(RUNTIME_CLASS(CMDIChildWnd)))
    return pFrame->IsZoomed() ? stateMaximized : pFrame->IsIconic() ? stateMinimized : stateRestored;
  if (pFrame->IsKindOf(RUNTIME_CLASS(SECDockableFrame)) && pTemplate != NULL) {
    switch (pTemplate->GetDockedSide(pFrame)) {
      case SECMultiDocTemplate::sideTop:
        return stateDockedTop;
      case SECMultiDocTemplate::sideLeft:
        return stateDockedLeft;
      case SECMultiDocTemplate::sideBottom:
        return stateDockedBottom;
      case SECMultiDocTemplate::sideRight:
        return stateDockedRight;
      case SECMultiDocTemplate::sideFloating:
        return stateFloating;
    }
  }
  return stateNone;
}

DWORD ScxMsgFilter::OnExecute(ScxCommandInfo* pInfo, LRESULT* pResult)
{
  SECMultiDocTemplate* pTemplate =
      (SECMultiDocTemplate*)FindDocTemplate(pInfo, RUNTIME_CLASS(SECMultiDocTemplate));
  CFrameWnd* pFrame = FrameOf(pInfo->hWnd);
  if (pTemplate == NULL || pFrame == NULL)
    return 0;
  int nCurrent = GetCurrentState(pFrame, pTemplate);
  int nTarget = pInfo->nTargetState == -1 ? GetDefaultTarget(nCurrent) : (int)pInfo->nTargetState;
  CFrameWnd* pResultFrame = NULL;
  switch (GetStateClass(nTarget)) {
    case stateMDIChild:
      pResultFrame = MakeMDIChild(pFrame, nCurrent, nTarget, pTemplate, pInfo);
      break;
    case stateDocked:
      pResultFrame = MakeDocked(pFrame, nCurrent, nTarget, pTemplate, pInfo);
      break;
    case stateFloating:
      pResultFrame = MakeFloating(pFrame, nCurrent, nTarget, pTemplate, pInfo);
      break;
    default:
      return 0;
  }
  *pResult = pResultFrame != NULL ? 1 : 0;
  return 15;
}

CFrameWnd* ScxMsgFilter::ToggleDocking(CFrameWnd* pFrame, SECMultiDocTemplate* pTemplate)
{
  return pTemplate->SwitchFrame(pFrame);
}

CFrameWnd* ScxMsgFilter::DockFrame(CFrameWnd* pFrame, UINT nDockBarID, const SECDockPosition* pPos,
                                   const SECDockSize* pSize, SECMultiDocTemplate* pTemplate)
{
  return pTemplate->DockMDIChild(pFrame, nDockBarID, pPos, pSize);
}

CFrameWnd* ScxMsgFilter::MakeMDIChild(CFrameWnd* pFrame, int nCurrent, int nTarget,
                                      SECMultiDocTemplate* pTemplate, ScxCommandInfo* pInfo)
{
  CView* pView = pFrame->GetActiveView();
  if (pView == NULL)
    return NULL;
  const int nClass = GetStateClass(nCurrent);
  CWnd* pMain = AfxGetMainWnd();
  const BOOL bLock = nClass != stateMDIChild && HasWindow(pMain);
  if (bLock)
    pMain->LockWindowUpdate();
  CFrameWnd* pResult = NULL;
  if (nTarget == stateNone) {
    if (nClass == stateMDIChild)
      pResult = pFrame;
    else if (nClass == stateDocked || nClass == stateFloating)
      pResult = ToggleDocking(pFrame, pTemplate);
  } else {
    CFrameWnd* pNew = MakeMDIChild(pFrame, nCurrent, stateNone, pTemplate, pInfo);
    CMDIChildWnd* pChild = pNew != NULL ? DYNAMIC_DOWNCAST(CMDIChildWnd, pNew) : NULL;
    if (pChild != NULL && GetStateClass(GetCurrentState(pChild, pTemplate)) == stateMDIChild) {
      if (GetCurrentState(pChild, pTemplate) != nTarget) {
        if (nTarget == stateMinimized)
          pChild->ShowWindow(SW_MINIMIZE);
        else if (nTarget == stateMaximized)
          pChild->MDIMaximize();
        else {
          pChild->MDIRestore();
          if (pChild->IsZoomed())  // a minimized child that was maximized comes back maximized
            pChild->MDIRestore();
        }
      }
      if (nTarget != stateMaximized)
        PlaceByRecord(pChild, pInfo);
      if (pChild->IsZoomed()) {
        CMDIFrameWnd* pMDI = pChild->GetMDIFrame();
        if (pMDI != NULL && pMDI->m_hWndMDIClient != NULL) {
          CRect rc;
          ::GetClientRect(pMDI->m_hWndMDIClient, &rc);
          ::PostMessageA(pMDI->m_hWndMDIClient, WM_SIZE, 0, 0);
          ::PostMessageA(pMDI->m_hWndMDIClient, WM_SIZE, 0, MAKELPARAM(rc.Width(), rc.Height()));
        }
      }
      pResult = pChild;
    }
  }
  if (bLock)
    pMain->UnlockWindowUpdate();
  return pResult != NULL ? pView->GetParentFrame() : NULL;
}

CFrameWnd* ScxMsgFilter::MakeDocked(CFrameWnd* pFrame, int nCurrent, int nTarget,
                                    SECMultiDocTemplate* pTemplate, ScxCommandInfo* pInfo)
{
  if (pFrame->GetActiveView() == NULL)
    return NULL;
  const int nClass = GetStateClass(nCurrent);
  if ((nTarget == stateNone || nTarget == stateDocked) && !(pInfo->dwFlags & (flagPosition | flagSize))) {
    if (nClass == stateMDIChild)
      return ToggleDocking(pFrame, pTemplate);
    if (nClass == stateFloating)
      FloatBar(pFrame, pTemplate, pInfo);  // docks the floating bar again
    return NULL;
  }
  UINT nDockBarID = DockBarOfState(nTarget);
  const SECDockPosition* pPos = (pInfo->dwFlags & flagPosition) ? pInfo->pDockPos : NULL;
  const SECDockSize* pSize = (pInfo->dwFlags & flagSize) ? pInfo->pDockSize : NULL;
  if (nClass == stateMDIChild)
    return DockFrame(pFrame, nDockBarID, pPos, pSize, pTemplate);
  SECMDIFrameWnd* pMain = DYNAMIC_DOWNCAST(SECMDIFrameWnd, AfxGetMainWnd());
  CWnd* pParent = pFrame->GetParent();
  CControlBar* pBar = pParent != NULL ? DYNAMIC_DOWNCAST(CControlBar, pParent) : NULL;
  if ((nClass == stateDocked || nClass == stateFloating) && pMain != NULL && pBar != NULL) {
    if (nDockBarID != 0)
      pBar->SetBarStyle((pBar->GetBarStyle() & ~(CBRS_ALIGN_ANY | CBRS_BORDER_ANY)) |
                        AlignmentOfDockBar(nDockBarID));
    SECDockPosition pos = nDockBarID == AFX_IDW_DOCKBAR_TOP || nDockBarID == AFX_IDW_DOCKBAR_LEFT
                              ? SECDockPosition{1, 0, 3}
                              : SECDockPosition{0, 0, 4};
    SECDockSize size = {1.0f, 150};
    pMain->DockControlBarEx(pBar, pPos != NULL ? *pPos : pos, nDockBarID, pSize != NULL ? *pSize : size);
    pMain->RecalcLayout();
  }
  return NULL;
}

CFrameWnd* ScxMsgFilter::MakeFloating(CFrameWnd* pFrame, int nCurrent, int nTarget,
                                      SECMultiDocTemplate* pTemplate, ScxCommandInfo* pInfo)
{
  if (GetStateClass(nTarget) != stateFloating && nTarget != stateNone)
    return NULL;
  CView* pView = pFrame->GetActiveView();
  if (pView == NULL)
    return NULL;
  switch (GetStateClass(nCurrent)) {
    case stateMDIChild: {
      if (pFrame->IsIconic())
        pFrame->ShowWindow(SW_RESTORE);
      CRect rc;
      pFrame->GetWindowRect(&rc);
      CFrameWnd* pDocked = MakeDocked(pFrame, nCurrent, stateNone, pTemplate, pInfo);
      if (pDocked == NULL || GetStateClass(GetCurrentState(pDocked, pTemplate)) != stateDocked)
        return NULL;
      // Floated where the child was, as large as it was, unless the record says otherwise.
      ScxCommandInfo info = *pInfo;
      if (!(info.dwFlags & flagPosition)) {
        info.x = rc.left;
        info.y = rc.top;
        info.dwFlags |= flagPosition;
      }
      if (!(info.dwFlags & flagSize)) {
        info.cx = rc.Width();
        info.cy = rc.Height();
        info.dwFlags |= flagSize;
      }
      return MakeFloating(pDocked, GetCurrentState(pDocked, pTemplate), nTarget, pTemplate, &info);
    }
    case stateDocked:
      FloatBar(pFrame, pTemplate, pInfo);
      break;
    case stateFloating: {
      CWnd* pBar = pFrame->GetParent();
      PlaceByRecord(pBar != NULL ? pBar->GetParentFrame() : NULL, pInfo);
      break;
    }
    default:
      return NULL;
  }
  return pView->GetParentFrame();
}

void ScxMsgFilter::FloatBar(CFrameWnd* pFrame, SECMultiDocTemplate*, ScxCommandInfo* pInfo)
{
  CWnd* pParent = pFrame->GetParent();
  SECControlBar* pBar = pParent != NULL ? DYNAMIC_DOWNCAST(SECControlBar, pParent) : NULL;
  if (pBar == NULL || pBar->m_pDockContext == NULL)
    return;
  CDockContext* pContext = pBar->m_pDockContext;
  const CPoint ptOld = pContext->m_ptMRUFloatPos;
  if (pInfo->dwFlags & flagPosition)
    pContext->m_ptMRUFloatPos = CPoint(pInfo->x, pInfo->y);
  if (pInfo->dwFlags & flagSize)
    pBar->m_szFloat = CSize(pInfo->cx, pInfo->cy);
  pContext->ToggleDocking();
  if (pInfo->dwFlags & flagPosition)
    pContext->m_ptMRUFloatPos = ptOld;
}

// ---------------------------------------------------------------------------------------------
// The window-state buttons

IMPLEMENT_DYNCREATE(ScxButtonMsgFilter, SECCaptionControlMsgFilter)

ScxButtonMsgFilter::ScxButtonMsgFilter(CWnd* pFrame, int nID)
    : SECCaptionControlMsgFilter(pFrame, nID, 0, DFC_CAPTION)
{
  m_nHoldDelay = holdDelay;
}

BOOL ScxButtonMsgFilter::IsButtonVisible(BOOL* pbDisabled)
{
  if (pbDisabled != NULL)
    *pbDisabled = FALSE;
  return TRUE;
}

DWORD ScxButtonMsgFilter::OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                          LRESULT* pResult)
{
  DWORD dwResult = SECCaptionControlMsgFilter::OnFilterMessage(message, wParam, lParam, pResult);
  // The command may have destroyed the frame with this filter: only locals from here on.
  if ((dwResult & fltHandled) &&
      (message == WM_NCLBUTTONDOWN || message == WM_NCRBUTTONDOWN || message == WM_LBUTTONUP))
    dwResult |= fltStop;
  return dwResult;
}

CWnd* ScxButtonMsgFilter::GetTargetFrame() { return GetFrame(); }

BOOL ScxButtonMsgFilter::GetCommandInfo(int nMode, int x, int y, ScxCommandInfo& info, UINT& nCommand)
{
  CWnd* pFrame = GetFrame();
  CWnd* pTarget = GetTargetFrame();
  if (!HasWindow(pFrame) || !HasWindow(pTarget))
    return FALSE;
  memset(&info, 0, sizeof info);
  info.hWnd = pTarget->m_hWnd;
  CRect rectWindow;
  pFrame->GetWindowRect(&rectWindow);
  CRect rectButton = m_rect;
  rectButton.OffsetRect(rectWindow.TopLeft());
  info.rectButton = rectButton;
  if (nMode == modeClick) {
    nCommand = cmdExecute;
    info.nTargetState = -1;
    info.x = x;
    info.y = y;
  } else {
    nCommand = cmdTrackMenu;
    info.nTargetState = -1;
    info.x = rectButton.left;
    info.y = rectButton.bottom;
    if (nMode == modeHeld)
      info.dwFlags |= flagPosition;
  }
  return TRUE;
}

void ScxButtonMsgFilter::PostCommand(int nMode, int x, int y)
{
  ScxCommandInfo info;
  UINT nCommand = 0;
  if (GetCommandInfo(nMode, x, y, info, nCommand))
    SendCommand(info.hWnd, nCommand, info);  // sent: the record lives on this stack
}

void ScxButtonMsgFilter::Draw()
{
  CWnd* pFrame = GetFrame();
  if (!HasWindow(pFrame) || m_rect.IsRectEmpty())
    return;
  CWindowDC dc(pFrame);
  const BOOL bPushed = (m_nState & DFCS_PUSHED) != 0;
  CRect rc = m_rect;
  COLORREF hi = ::GetSysColor(COLOR_3DHIGHLIGHT), dk = ::GetSysColor(COLOR_3DDKSHADOW);
  dc.Draw3dRect(&rc, bPushed ? dk : hi, bPushed ? hi : dk);
  rc.DeflateRect(1, 1);
  dc.Draw3dRect(&rc, ::GetSysColor(bPushed ? COLOR_3DSHADOW : COLOR_3DLIGHT),
                ::GetSysColor(bPushed ? COLOR_3DFACE : COLOR_3DSHADOW));
  rc.DeflateRect(1, 1);
  dc.FillSolidRect(&rc, ::GetSysColor(COLOR_3DFACE));
  // The stroke: 9 x 9 in a 98 x 96 grid of the button, at least 2 wide and 1 high.
  const int cxButton = m_rect.Width(), cyButton = m_rect.Height();
  const int cxStroke = std::max(2, cxButton * 9 / 98), cyStroke = std::max(1, cyButton * 9 / 96);
  int g = cyButton * 60 / 100;
  if ((g - cyStroke) % 2 == 0)
    ++g;
  const int n = (g - cyStroke + 1) / 2;
  const int cxGlyph = cxStroke + 2 * n - 2;
  const BOOL bDockable = pFrame->IsKindOf(RUNTIME_CLASS(SECDockableFrame));
  int left = m_rect.left + (cxButton - cxGlyph) / 2, top = m_rect.top + (cyButton - g) / 2;
  if (cyStroke == 1) {
    --left;
    --top;
  }
  if (bPushed) {
    ++left;
    ++top;
  }
  if (bDockable)
    ++top;
  // A hollow diamond: arms from the top apex down and from the bottom apex up.
  const COLORREF clr = ::GetSysColor(COLOR_BTNTEXT);
  const int xApex = left + n - 1;
  const int yBottom = top + g - cyStroke + (bDockable ? 0 : 1);
  dc.FillSolidRect(xApex, top, cxStroke + 1, cyStroke, clr);
  dc.FillSolidRect(xApex, yBottom, cxStroke + 1, cyStroke, clr);
  for (int i = 1; i < n; i++) {
    dc.FillSolidRect(xApex - i, top + i, cxStroke, cyStroke, clr);
    dc.FillSolidRect(xApex + i + 1, top + i, cxStroke, cyStroke, clr);
    dc.FillSolidRect(xApex - i, yBottom - i, cxStroke, cyStroke, clr);
    dc.FillSolidRect(xApex + i + 1, yBottom - i, cxStroke, cyStroke, clr);
  }
  if (!bDockable && n > 1) {
    dc.FillSolidRect(xApex - n + 1, yBottom - n, cxStroke - 1, cyStroke, clr);
    dc.FillSolidRect(xApex + n + 1, yBottom - n, cxStroke - 1, cyStroke, clr);
  }
}

IMPLEMENT_DYNCREATE(ScxButtonMDIChildMsgFilter, ScxButtonMsgFilter)

BOOL ScxButtonMDIChildMsgFilter::IsButtonVisible(BOOL* pbDisabled)
{
  if (pbDisabled != NULL)
    *pbDisabled = FALSE;
  CWnd* pFrame = GetFrame();
  return HasWindow(pFrame) && !pFrame->IsZoomed();
}

DWORD ScxButtonMDIChildMsgFilter::OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                                  LRESULT* pResult)
{
  CWnd* pFrame = GetFrame();
  if (HasWindow(pFrame) && pFrame->IsZoomed())
    return 0;
  return ScxButtonMsgFilter::OnFilterMessage(message, wParam, lParam, pResult);
}

IMPLEMENT_DYNCREATE(ScxButtonMDIMaxChildMsgFilter, ScxButtonMsgFilter)

CMDIChildWnd* ScxButtonMDIMaxChildMsgFilter::GetMaximizedChild()
{
  CWnd* pFrame = GetFrame();
  CMDIFrameWnd* pMDI = pFrame != NULL ? DYNAMIC_DOWNCAST(CMDIFrameWnd, pFrame) : NULL;
  if (!HasWindow(pMDI))
    return NULL;
  BOOL bMaximized = FALSE;
  CMDIChildWnd* pChild = pMDI->MDIGetActive(&bMaximized);
  return bMaximized ? pChild : NULL;
}

BOOL ScxButtonMDIMaxChildMsgFilter::IsButtonVisible(BOOL* pbDisabled)
{
  if (pbDisabled != NULL)
    *pbDisabled = FALSE;
  return GetMaximizedChild() != NULL;
}

CWnd* ScxButtonMDIMaxChildMsgFilter::GetTargetFrame() { return GetMaximizedChild(); }

DWORD ScxButtonMDIMaxChildMsgFilter::OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                                     LRESULT* pResult)
{
  if (MaximizedChildWithFilter(GetFrame(), SEC_FILTER_STATEBUTTON) == NULL)
    return 0;
  if ((message == WM_NCLBUTTONDOWN || message == WM_NCRBUTTONDOWN) && wParam == HTMENU) {
    CPoint pt((short)LOWORD(lParam), (short)HIWORD(lParam));
    if (!HitTest(pt))
      return 0;
    if (!(m_nState & DFCS_INACTIVE)) {
      if (message == WM_NCLBUTTONDOWN)
        OnButtonDown(pt.x, pt.y);
      else
        PostCommand(modeRightButton, pt.x, pt.y);
    }
    return 7 | fltStop;
  }
  return ScxButtonMsgFilter::OnFilterMessage(message, wParam, lParam, pResult);
}

// ---------------------------------------------------------------------------------------------
// Right double-click and context menu

IMPLEMENT_DYNCREATE(ScxCaptionNCRDBLClkFilter, SECCaptionMsgFilter)

DWORD ScxCaptionNCRDBLClkFilter::OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                                 LRESULT* pResult)
{
  CWnd* pFrame = GetFrame();
  if (message == WM_NCRBUTTONDBLCLK && wParam == HTCAPTION && HasWindow(pFrame)) {
    ScxCommandInfo info;
    memset(&info, 0, sizeof info);
    info.hWnd = pFrame->m_hWnd;
    info.nTargetState = -1;
    SendCommand(info.hWnd, cmdExecute, info);
    return 15;
  }
  return FilterChildren(message, wParam, lParam, pResult);
}

IMPLEMENT_DYNCREATE(ScxNCRDBLClkMDIMaxChildMsgFilter, SECNcMsgFilter)

DWORD ScxNCRDBLClkMDIMaxChildMsgFilter::OnFilterMessage(UINT message, WPARAM wParam,
                                                        LPARAM lParam, LRESULT* pResult)
{
  if (message != WM_NCRBUTTONDBLCLK)
    return 0;
  SECMDIChildWnd* pChild = MaximizedChildWithFilter(GetFrame(), SEC_FILTER_CAPTIONRDBLCLK);
  if (pChild == NULL)
    return 0;
  if (wParam == HTMENU) {
    ScxCommandInfo info;
    memset(&info, 0, sizeof info);
    info.hWnd = pChild->m_hWnd;
    info.nTargetState = -1;
    SendCommand(info.hWnd, cmdExecute, info);
    return 15;
  }
  return FilterChildren(message, wParam, lParam, pResult);
}

IMPLEMENT_DYNCREATE(ScxContextMenuFilter, SECMsgFilter)

DWORD ScxContextMenuFilter::OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                            LRESULT* pResult)
{
  CWnd* pFrame = GetFrame();
  if (message == WM_NCRBUTTONUP && wParam == HTCAPTION && HasWindow(pFrame)) {
    ScxCommandInfo info;
    memset(&info, 0, sizeof info);
    info.hWnd = pFrame->m_hWnd;
    info.x = (short)LOWORD(lParam);
    info.y = (short)HIWORD(lParam);
    info.nTargetState = -1;
    SendCommand(info.hWnd, cmdTrackMenu, info);
    return 15;
  }
  return FilterChildren(message, wParam, lParam, pResult);
}

}  // namespace nsSysCommandEx
