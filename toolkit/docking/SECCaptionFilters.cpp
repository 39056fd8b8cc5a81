// Caption button filters.
#include "SECCaptionFilters.h"

IMPLEMENT_DYNCREATE(SECNcMsgFilter, SECMsgFilter)
IMPLEMENT_DYNCREATE(SECCaptionMsgFilter, SECNcMsgFilter)
IMPLEMENT_DYNCREATE(SECCaptionControlMsgFilter, SECCaptionMsgFilter)
IMPLEMENT_DYNCREATE(SECCaptionControlListMsgFilter, SECCaptionMsgFilter)
IMPLEMENT_DYNCREATE(SECCapConLstMDIMaxChildMsgFilter, SECCaptionControlListMsgFilter)

namespace {
// The system command of each caption type's click.
const UINT kSysCommands[5] = {SC_CLOSE, SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE, SC_CONTEXTHELP};
enum { typeClose = 0, typeMinimize = 1, typeMaximize = 2, typeRestore = 3, typeHelp = 4 };

BOOL HasWindow(CWnd* pWnd) { return pWnd != NULL && ::IsWindow(pWnd->m_hWnd); }
}  // namespace

// ---------------------------------------------------------------------------------------------
// Caption geometry

CRect SECCaptionMsgFilter::GetCaptionRect()
{
  CWnd* pFrame = GetFrame();
  if (!HasWindow(pFrame))
    return CRect(0, 0, 0, 0);
  const DWORD dwStyle = pFrame->GetStyle();
  const DWORD dwExStyle = pFrame->GetExStyle();
  CSize border(0, 0);
  if ((dwStyle & WS_THICKFRAME) && !pFrame->IsIconic())
    border = CSize(::GetSystemMetrics(SM_CXFRAME), ::GetSystemMetrics(SM_CYFRAME));
  else if (dwStyle & WS_DLGFRAME)
    border = CSize(::GetSystemMetrics(SM_CXDLGFRAME), ::GetSystemMetrics(SM_CYDLGFRAME));
  else if (dwStyle & (WS_THICKFRAME | WS_BORDER))
    border = CSize(::GetSystemMetrics(SM_CXBORDER), ::GetSystemMetrics(SM_CYBORDER));
  CRect rectWindow;
  pFrame->GetWindowRect(&rectWindow);
  int cx = rectWindow.Width() - 2 * border.cx;
  int cy = 0;
  if ((dwStyle & WS_CAPTION) == WS_CAPTION)
    cy = ::GetSystemMetrics((dwExStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION) -
         ::GetSystemMetrics(SM_CYBORDER);
  return CRect(border.cx, border.cy, border.cx + cx, border.cy + cy);
}

CSize SECCaptionMsgFilter::GetMetricSize(int nMetricX, int nMetricY)
{
  return CSize(::GetSystemMetrics(nMetricX) - 2, ::GetSystemMetrics(nMetricY) - 4);
}

CSize SECCaptionMsgFilter::GetButtonSize()
{
  CWnd* pFrame = GetFrame();
  if (HasWindow(pFrame) && (pFrame->GetExStyle() & WS_EX_TOOLWINDOW))
    return GetMetricSize(SM_CXSMSIZE, SM_CYSMSIZE);
  return GetMetricSize(SM_CXSIZE, SM_CYSIZE);
}

CPoint SECCaptionMsgFilter::GetFirstButtonPos(const CRect& rectCaption, const CSize& sizeButton)
{
  return CPoint(rectCaption.right - sizeButton.cx - 2, rectCaption.top + 2);
}

// ---------------------------------------------------------------------------------------------
// A button

SECCaptionControlMsgFilter::SECCaptionControlMsgFilter(CWnd* pFrame, int nID, UINT nState,
                                                       UINT nType)
    : SECCaptionMsgFilter(pFrame, nID), m_rect(0, 0, 0, 0), m_nType(nType), m_nState(nState),
      m_bTracking(FALSE), m_nHoldDelay(-1), m_pHoldTimer(NULL)
{
  if (HasCaptionType())
    m_nState |= (UINT)nID;
}

SECCaptionControlMsgFilter::SECCaptionControlMsgFilter(const SECCaptionControlMsgFilter& src)
    : SECCaptionMsgFilter(src), m_rect(src.m_rect), m_nType(src.m_nType),
      m_nState(src.m_nState & ~DFCS_PUSHED), m_bTracking(FALSE), m_nHoldDelay(src.m_nHoldDelay),
      m_pHoldTimer(NULL)
{
}

SECCaptionControlMsgFilter::~SECCaptionControlMsgFilter() { KillHoldTimer(); }

BOOL SECCaptionControlMsgFilter::IsButtonVisible(BOOL* pbDisabled)
{
  BOOL bDisabledDummy;
  BOOL& bDisabled = pbDisabled != NULL ? *pbDisabled : bDisabledDummy;
  bDisabled = FALSE;
  CWnd* pFrame = GetFrame();
  if (!HasCaptionType() || !HasWindow(pFrame))
    return FALSE;
  const DWORD dwStyle = pFrame->GetStyle();
  const DWORD dwExStyle = pFrame->GetExStyle();
  if (!(dwStyle & WS_SYSMENU))
    return FALSE;
  if (m_nID == typeClose) {
    HMENU hSysMenu = ::GetSystemMenu(pFrame->m_hWnd, FALSE);
    UINT nMenuState = hSysMenu != NULL ? ::GetMenuState(hSysMenu, SC_CLOSE, MF_BYCOMMAND) : 0;
    bDisabled = nMenuState != (UINT)-1 && (nMenuState & (MF_GRAYED | MF_DISABLED)) != 0;
    return TRUE;
  }
  if (dwExStyle & WS_EX_TOOLWINDOW)
    return FALSE;
  const BOOL bMin = (dwStyle & WS_MINIMIZEBOX) != 0;
  const BOOL bMax = (dwStyle & WS_MAXIMIZEBOX) != 0;
  if (m_nID != typeHelp && !bMin && !bMax)
    return FALSE;
  const BOOL bZoomed = pFrame->IsZoomed();
  const BOOL bIconic = pFrame->IsIconic();
  switch (m_nID) {
  case typeMaximize:
    bDisabled = !bMax;
    return !bZoomed;
  case typeRestore:
    bDisabled = bZoomed ? !bMax : !bMin;
    return bZoomed || bIconic;
  case typeMinimize:
    bDisabled = !bMin;
    return !bIconic;
  default:  // help
    return !bMin && !bMax && (dwExStyle & WS_EX_CONTEXTHELP) != 0;
  }
}

void SECCaptionControlMsgFilter::Draw()
{
  CWnd* pFrame = GetFrame();
  if (!HasCaptionType() || !HasWindow(pFrame) || m_rect.IsRectEmpty())
    return;
  CWindowDC dc(pFrame);
  CRect rect = m_rect;
  ::DrawFrameControl(dc.GetSafeHdc(), &rect, m_nType, m_nState);
}

BOOL SECCaptionControlMsgFilter::HitTest(CPoint ptScreen)
{
  CWnd* pFrame = GetFrame();
  if (!HasWindow(pFrame))
    return FALSE;
  CRect rectWindow;
  pFrame->GetWindowRect(&rectWindow);
  CPoint pt(ptScreen.x - rectWindow.left, ptScreen.y - rectWindow.top);
  return m_rect.PtInRect(pt);
}

DWORD SECCaptionControlMsgFilter::OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                                  LRESULT* pResult)
{
  switch (message) {
  case WM_SETTEXT:
  case WM_SETCURSOR:
  case WM_NCPAINT:
  case WM_NCACTIVATE:
    Draw();
    return fltHandled;
  case WM_NCLBUTTONDOWN:
  case WM_NCRBUTTONDOWN: {
    CPoint pt((short)LOWORD(lParam), (short)HIWORD(lParam));
    if (wParam != HTCAPTION || !HitTest(pt))
      break;
    if (!(m_nState & DFCS_INACTIVE)) {
      if (message == WM_NCLBUTTONDOWN)
        OnButtonDown(pt.x, pt.y);
      else
        PostCommand(modeRightButton, pt.x, pt.y);
    }
    return 7;
  }
  case WM_MOUSEMOVE:
  case WM_LBUTTONUP: {
    if (!m_bTracking || !HasWindow(GetFrame()))
      break;
    CPoint pt((short)LOWORD(lParam), (short)HIWORD(lParam));
    GetFrame()->ClientToScreen(&pt);
    if (message == WM_LBUTTONUP)
      OnButtonUp(pt.x, pt.y);
    else
      OnTrackMove(pt.x, pt.y);
    return 7;
  }
  default:
    break;
  }
  return FilterChildren(message, wParam, lParam, pResult);
}

void SECCaptionControlMsgFilter::OnButtonDown(int x, int y)
{
  BeginTracking(TRUE, TRUE);
  if (m_nHoldDelay != 0)
    StartHoldTimer(x, y);
  else
    OnButtonHeld(x, y);
}

void SECCaptionControlMsgFilter::BeginTracking(BOOL bPushed, BOOL bRedraw)
{
  m_bTracking = TRUE;
  if (bPushed)
    m_nState |= DFCS_PUSHED;
  if (HasWindow(GetFrame()))
    GetFrame()->SetCapture();
  if (bRedraw)
    Draw();
}

void SECCaptionControlMsgFilter::EndTracking(BOOL bClearPushed, BOOL bRedraw)
{
  m_bTracking = FALSE;
  KillHoldTimer();
  if (bClearPushed)
    m_nState &= ~DFCS_PUSHED;
  if (HasWindow(GetFrame()) && ::GetCapture() == GetFrame()->m_hWnd)
    ::ReleaseCapture();
  if (bRedraw)
    Draw();
}

void SECCaptionControlMsgFilter::OnButtonHeld(int x, int y)
{
  EndTracking(TRUE, FALSE);
  PostCommand(modeHeld, x, y);
}

void SECCaptionControlMsgFilter::OnTrackMove(int x, int y)
{
  const BOOL bOver = HitTest(CPoint(x, y));
  const BOOL bPushed = (m_nState & DFCS_PUSHED) != 0;
  if (bOver == bPushed)
    return;
  if (bOver) {
    StartHoldTimer(x, y);
    m_nState |= DFCS_PUSHED;
  } else {
    KillHoldTimer();
    m_nState &= ~DFCS_PUSHED;
  }
  Draw();
}

void SECCaptionControlMsgFilter::OnButtonUp(int x, int y)
{
  EndTracking(TRUE, TRUE);
  if (HitTest(CPoint(x, y)))
    PostCommand(modeClick, x, y);
}

void SECCaptionControlMsgFilter::PostCommand(int nMode, int x, int y)
{
  HWND hWnd = NULL;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  if (GetCommand(nMode, x, y, hWnd, message, wParam, lParam))
    ::PostMessageA(hWnd, message, wParam, lParam);
}

BOOL SECCaptionControlMsgFilter::GetCommand(int nMode, int x, int y, HWND& hWnd, UINT& message,
                                            WPARAM& wParam, LPARAM& lParam)
{
  if (nMode != modeClick || !HasCaptionType() || !HasWindow(GetFrame()))
    return FALSE;
  hWnd = GetFrame()->m_hWnd;
  message = WM_SYSCOMMAND;
  wParam = kSysCommands[m_nID];
  lParam = MAKELONG((WORD)x, (WORD)y);
  return TRUE;
}

void SECCaptionControlMsgFilter::KillHoldTimer()
{
  SECCaptionControlMsgFilterTimer* pTimer = m_pHoldTimer;
  m_pHoldTimer = NULL;
  if (pTimer != NULL) {
    pTimer->m_pOwner = NULL;
    pTimer->DestroyWindow();  // deletes itself
  }
}

void SECCaptionControlMsgFilter::StartHoldTimer(int x, int y)
{
  KillHoldTimer();
  if (m_nHoldDelay < 1 || !HasWindow(GetFrame()))
    return;
  m_pHoldTimer = SECCaptionControlMsgFilterTimer::Make(this, m_nHoldDelay, x, y, GetFrame());
}

// ---------------------------------------------------------------------------------------------
// The hold timer window

BEGIN_MESSAGE_MAP(SECCaptionControlMsgFilterTimer, CWnd)
  ON_WM_CREATE()
  ON_WM_TIMER()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

SECCaptionControlMsgFilterTimer::SECCaptionControlMsgFilterTimer(SECCaptionControlMsgFilter* pOwner,
                                                                 int nDelay, int x, int y)
    : m_pOwner(pOwner), m_nDelay(nDelay), m_bTimerSet(FALSE), m_bFired(FALSE), m_x(x), m_y(y),
      m_bSelfDelete(FALSE)
{
}

SECCaptionControlMsgFilterTimer* SECCaptionControlMsgFilterTimer::Make(
    SECCaptionControlMsgFilter* pOwner, int nDelay, int x, int y, CWnd* pFrame)
{
  auto* pTimer = new SECCaptionControlMsgFilterTimer(pOwner, nDelay, x, y);
  if (!pTimer->CreateEx(0, AfxRegisterWndClass(0), NULL, WS_CHILD, CRect(0, 0, 0, 0), pFrame, 0)) {
    delete pTimer;  // a window refused in WM_CREATE left its object to us
    return NULL;
  }
  pTimer->m_bSelfDelete = TRUE;
  return pTimer;
}

int SECCaptionControlMsgFilterTimer::OnCreate(LPCREATESTRUCT lpcs)
{
  if (CWnd::OnCreate(lpcs) == -1)
    return -1;
  m_bTimerSet = SetTimer(1, (UINT)m_nDelay, NULL) != 0;
  return m_bTimerSet ? 0 : -1;
}

void SECCaptionControlMsgFilterTimer::OnTimer(UINT_PTR nIDEvent)
{
  if (nIDEvent != 1 || m_bFired)
    return;
  m_bFired = TRUE;
  SECCaptionControlMsgFilter* pOwner = m_pOwner;
  if (pOwner != NULL && pOwner->m_bTracking)
    pOwner->OnButtonHeld(m_x, m_y);  // ends the tracking and destroys this window: nothing after
}

void SECCaptionControlMsgFilterTimer::OnDestroy()
{
  if (m_bTimerSet)
    KillTimer(1);
  m_bTimerSet = FALSE;
  // Gone with its frame: the button must not destroy it again.
  if (m_pOwner != NULL && m_pOwner->m_pHoldTimer == this)
    m_pOwner->m_pHoldTimer = NULL;
  m_pOwner = NULL;
  CWnd::OnDestroy();
}

// ---------------------------------------------------------------------------------------------
// The row of buttons

SECCaptionControlListMsgFilter::SECCaptionControlListMsgFilter(CWnd* pFrame, int nID)
    : SECCaptionMsgFilter(pFrame, nID)
{
  AddStandardButtons();
  ApplyDescriptorsAll(m_buttons, TRUE);
}

SECCaptionControlListMsgFilter::SECCaptionControlListMsgFilter(
    const SECCaptionControlListMsgFilter& src)
    : SECCaptionMsgFilter(src)
{
  AddStandardButtons();  // the buttons themselves came with the copied children
}

void SECCaptionControlListMsgFilter::AddStandardButtons()
{
  for (int nType : {typeClose, typeMaximize, typeRestore, typeMinimize, typeHelp})
    m_buttons.Add(nType, -1, RUNTIME_CLASS(SECCaptionControlMsgFilter), 0);
}

DWORD SECCaptionControlListMsgFilter::OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                                      LRESULT* pResult)
{
  LayoutButtons();
  return FilterChildren(message, wParam, lParam, pResult);
}

void SECCaptionControlListMsgFilter::LayoutButtons()
{
  CWnd* pFrame = GetFrame();
  if (!m_bEnabled || !HasWindow(pFrame))
    return;
  const CSize size = GetButtonSize();
  const CRect rectCaption = GetCaptionRect();
  const CPoint pt = GetFirstButtonPos(rectCaption, size);
  int x = pt.x;
  const BOOL bIconic = pFrame->IsIconic();
  for (SECMsgFilter* pChild : m_children) {
    SECCaptionControlMsgFilter* pButton =
        pChild != NULL ? DYNAMIC_DOWNCAST(SECCaptionControlMsgFilter, pChild) : NULL;
    if (pButton == NULL)
      continue;
    BOOL bDisabled = FALSE;
    if (!pButton->IsButtonVisible(&bDisabled)) {
      pButton->m_rect.SetRectEmpty();
      continue;
    }
    pButton->m_rect.SetRect(x, pt.y, x + size.cx, pt.y + size.cy);
    // A button made from a descriptor got its id after construction: its drawing type follows.
    pButton->m_nState = (pButton->m_nState & ~(0xFFu | DFCS_INACTIVE)) | (UINT)pButton->m_nID;
    if (bDisabled)
      pButton->m_nState |= DFCS_INACTIVE;
    x -= size.cx;
    if (pButton->m_nID == typeClose || pButton->m_nID == typeMinimize ||
        (pButton->m_nID == typeRestore && bIconic))
      x -= 2;
  }
}

CSize SECCapConLstMDIMaxChildMsgFilter::GetButtonSize()
{
  return GetMetricSize(SM_CXMENUSIZE, SM_CYMENUSIZE);
}

CPoint SECCapConLstMDIMaxChildMsgFilter::GetFirstButtonPos(const CRect& rectCaption,
                                                           const CSize& sizeButton)
{
  CPoint pt = SECCaptionControlListMsgFilter::GetFirstButtonPos(rectCaption, sizeButton);
  pt.y += ::GetSystemMetrics(SM_CYCAPTION);
  return pt;
}

// ---------------------------------------------------------------------------------------------
// Filter tables of the toolkit's frames

void SECApplyFilterTable(SECMsgFilter* pRoot, const SECMsgFilter::DescriptorTable& table,
                         const BOOL* pValues)
{
  pRoot->ApplyDescriptors(table, pValues);
  // The standard buttons only keep the places of those the system draws.
  SECCaptionControlListMsgFilter* pList = DYNAMIC_DOWNCAST(
      SECCaptionControlListMsgFilter, pRoot->FindFilter(SEC_FILTER_CAPTIONLIST, NULL, -1));
  if (pList != NULL)
    pList->ApplyDescriptorsAll(pList->m_buttons, FALSE);
}

void SECCaptionFilterValues(DWORD dwFlags, BOOL values[5])
{
  const BOOL bOn = (dwFlags & 1) != 0;
  values[0] = bOn;
  values[1] = values[2] = bOn && !(dwFlags & 2);
  values[3] = bOn && !(dwFlags & 4);
  values[4] = bOn && !(dwFlags & 8);
}

UINT SECGetSysCommandExMessage()
{
  static const UINT s_nMessage = ::RegisterWindowMessageA("Ravelle::WM_SYSCOMMANDEX");
  return s_nMessage;
}

BOOL SECFilterSysCommandEx(SECMsgFilter* pRoot, UINT message, WPARAM wParam, LPARAM lParam,
                           LRESULT* pResult)
{
  if (message == 0 || message != SECGetSysCommandExMessage())
    return FALSE;
  *pResult = 0;
  if (::InSendMessageEx(NULL) == ISMEX_NOSEND && pRoot != NULL)
    pRoot->FilterMessage(message, wParam, lParam, pResult);
  return TRUE;
}
