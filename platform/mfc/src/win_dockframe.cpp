// Docking in frames: the four side dock bars, docking, floating and showing bars, the
// floating mini frames, and the frame's dock state in the profile.
#include "afxext.h"

namespace {
// The frame's dock bars in the order they take their place: top and bottom span the whole
// width, left and right what is left between them.
struct DockBarSide {
  UINT nID;
  DWORD dwStyle;
};
const DockBarSide kDockBars[4] = {
    {AFX_IDW_DOCKBAR_TOP, CBRS_TOP},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_BOTTOM},
    {AFX_IDW_DOCKBAR_LEFT, CBRS_LEFT},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_RIGHT},
};
}  // namespace

// ---------------------------------------------------------------------------------------------
// CFrameWnd's docking members

void CFrameWnd::EnableDocking(DWORD dwDockStyle)
{
  if (m_pFloatingFrameClass == NULL)
    m_pFloatingFrameClass = RUNTIME_CLASS(CMiniDockFrameWnd);
  for (const DockBarSide& side : kDockBars) {
    if (!(side.dwStyle & dwDockStyle & CBRS_ALIGN_ANY) || GetControlBar(side.nID) != NULL)
      continue;
    CDockBar* pDock = NULL;
    if (m_pDockBarClass != NULL)
      pDock = DYNAMIC_DOWNCAST(CDockBar, m_pDockBarClass->CreateObject());
    if (pDock == NULL)
      pDock = new CDockBar;
    if (!pDock->Create(this, WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CHILD | WS_VISIBLE |
                                 side.dwStyle,
                       side.nID)) {
      delete pDock;
      AfxThrowResourceException();
    }
  }
}

CControlBar* CFrameWnd::GetControlBar(UINT nID)
{
  if (nID == 0)
    return NULL;
  POSITION pos = m_listControlBars.GetHeadPosition();
  while (pos != NULL) {
    CControlBar* pBar = (CControlBar*)m_listControlBars.GetNext(pos);
    if (pBar->m_hWnd != NULL && (UINT)pBar->GetDlgCtrlID() == nID)
      return pBar;
  }
  return NULL;
}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect)
{
  CDockBar* pDockBar = NULL;
  if (nDockBarID != 0) {
    pDockBar = DYNAMIC_DOWNCAST(CDockBar, GetControlBar(nDockBarID));
    if (pDockBar == NULL)
      return;  // no such side
  }
  DockControlBar(pBar, pDockBar, lpRect);
}

void CFrameWnd::DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect)
{
  if (pBar == NULL)
    return;
  if (pDockBar == NULL) {
    // The first side, in the table's order, that the bar may dock on and the frame has.
    for (const DockBarSide& side : kDockBars) {
      if (pBar->m_dwDockStyle & side.dwStyle & CBRS_ALIGN_ANY) {
        pDockBar = DYNAMIC_DOWNCAST(CDockBar, GetControlBar(side.nID));
        if (pDockBar != NULL)
          break;
      }
    }
  }
  if (pDockBar == NULL)
    return;  // nowhere to dock: it stays where it is
  pDockBar->DockControlBar(pBar, lpRect);
}

CMiniDockFrameWnd* CFrameWnd::CreateFloatingFrame(DWORD dwStyle)
{
  CRuntimeClass* pClass =
      m_pFloatingFrameClass != NULL ? m_pFloatingFrameClass : RUNTIME_CLASS(CMiniDockFrameWnd);
  CMiniDockFrameWnd* pFrame = DYNAMIC_DOWNCAST(CMiniDockFrameWnd, pClass->CreateObject());
  if (pFrame == NULL)
    AfxThrowMemoryException();
  if (!pFrame->Create(this, dwStyle))
    AfxThrowResourceException();  // a frame that failed has deleted itself
  return pFrame;
}

void CFrameWnd::FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle)
{
  if (pBar == NULL)
    return;
  CDockBar* pOld = pBar->m_pDockBar;
  if (pOld != NULL && pOld->m_bFloating && pOld->GetDockedCount() == 1 &&
      (dwStyle & pOld->m_dwStyle & CBRS_ALIGN_ANY) != 0) {
    // Already alone in a frame of that orientation: only the frame moves.
    CFrameWnd* pDockFrame = DYNAMIC_DOWNCAST(CFrameWnd, pOld->GetParent());
    if (pDockFrame != NULL) {
      pDockFrame->SetWindowPos(NULL, point.x, point.y, 0, 0,
                               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      pDockFrame->RecalcLayout(TRUE);
      pDockFrame->UpdateWindow();
      return;
    }
  }
  if (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) {
    // A bar that sizes itself floats lying down, whatever side it came from.
    dwStyle |= CBRS_SIZE_DYNAMIC;
    if (dwStyle & CBRS_ORIENT_VERT) {
      dwStyle &= ~CBRS_ALIGN_ANY;
      dwStyle |= CBRS_ALIGN_TOP;
    }
  }
  CMiniDockFrameWnd* pDockFrame = CreateFloatingFrame(dwStyle);
  pDockFrame->SetWindowPos(NULL, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (pDockFrame->m_hWndOwner == NULL)
    pDockFrame->m_hWndOwner = pBar->m_hWnd;
  pDockFrame->GetDockBar()->DockControlBar(pBar);
  pDockFrame->RecalcLayout(TRUE);
  if (pBar->GetStyle() & WS_VISIBLE) {
    pDockFrame->ShowWindow(SW_SHOWNA);
    pDockFrame->UpdateWindow();
  }
  DelayRecalcLayout();
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay)
{
  if (pBar == NULL)
    return;
  CFrameWnd* pParentFrame = pBar->GetDockingFrame();
  if (pParentFrame == NULL)
    pParentFrame = this;
  if (bDelay) {
    pBar->DelayShow(bShow);
    pParentFrame->DelayRecalcLayout();
  } else {
    pBar->SetWindowPos(NULL, 0, 0, 0, 0,
                       SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE |
                           (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    pBar->DelayShow(bShow);  // nothing is pending any more
    if (bShow || !pBar->IsFloating())
      pParentFrame->RecalcLayout(FALSE);
  }
  if (!pBar->IsFloating() || pParentFrame == this)
    return;
  // The floating frame follows its bars: hidden with the last, shown with the first.
  int nVisible = pBar->m_pDockBar != NULL ? pBar->m_pDockBar->GetDockedVisibleCount() : (bShow ? 1 : 0);
  if (nVisible == 1 && bShow) {
    pParentFrame->m_nShowDelay = -1;
    if (bDelay) {
      pParentFrame->m_nShowDelay = SW_SHOWNA;
      pParentFrame->RecalcLayout(FALSE);
    } else {
      pParentFrame->ShowWindow(SW_SHOWNA);
    }
  } else if (nVisible == 0) {
    pParentFrame->m_nShowDelay = -1;
    if (bDelay)
      pParentFrame->m_nShowDelay = SW_HIDE;
    else
      pParentFrame->ShowWindow(SW_HIDE);
  } else if (!bDelay) {
    pParentFrame->RecalcLayout(FALSE);
  }
}

// The side whose dock bar a screen rectangle touches (an empty dock bar counts as one pixel
// thick along its edge of the client area).
DWORD CFrameWnd::CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar)
{
  for (const DockBarSide& side : kDockBars) {
    DWORD dwAlign = side.dwStyle & CBRS_ALIGN_ANY;
    if (!(dwAlign & dwDockStyle))
      continue;
    CDockBar* pDockBar = DYNAMIC_DOWNCAST(CDockBar, GetControlBar(side.nID));
    if (pDockBar == NULL || !(pDockBar->GetStyle() & WS_VISIBLE))
      continue;
    CRect rectBar;
    pDockBar->GetWindowRect(&rectBar);
    if (rectBar.Width() == 0)
      rectBar.right++;
    if (rectBar.Height() == 0)
      rectBar.bottom++;
    CRect rectHit;
    if (rectHit.IntersectRect(&rectBar, &rect)) {
      if (ppDockBar != NULL)
        *ppDockBar = pDockBar;
      return dwAlign;
    }
  }
  return 0;
}

// ---------------------------------------------------------------------------------------------
// Dock state

void CFrameWnd::GetDockState(CDockState& state) const
{
  state.Clear();
  POSITION pos = m_listControlBars.GetHeadPosition();
  while (pos != NULL) {
    CControlBar* pBar = (CControlBar*)m_listControlBars.GetNext(pos);
    if (pBar->m_hWnd == NULL)
      continue;
    CControlBarInfo* pInfo = new CControlBarInfo;
    pBar->GetBarInfo(pInfo);
    state.m_arrBarInfo.Add(pInfo);
  }
}

void CFrameWnd::SetDockState(const CDockState& state)
{
  // Floating dock bars get new frames; the other records name bars of this frame. Records
  // of bars that no longer exist are left out.
  INT_PTR nCount = state.m_arrBarInfo.GetSize();
  for (INT_PTR i = 0; i < nCount; i++) {
    CControlBarInfo* pInfo = (CControlBarInfo*)state.m_arrBarInfo[i];
    pInfo->m_pBar = NULL;
    if (pInfo->m_bFloating && pInfo->m_bDockBar) {
      CMiniDockFrameWnd* pDockFrame =
          CreateFloatingFrame(pInfo->m_bHorz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT);
      pInfo->m_pBar = pDockFrame->GetDockBar();
      pDockFrame->GetDockBar()->m_pDockBar = NULL;
    } else {
      pInfo->m_pBar = GetControlBar(pInfo->m_nBarID);
    }
  }
  // The dock bars take their bars first, so that the bars' positions are in their new
  // dock bars.
  for (int nPass = 0; nPass < 2; nPass++) {
    for (INT_PTR i = 0; i < nCount; i++) {
      CControlBarInfo* pInfo = (CControlBarInfo*)state.m_arrBarInfo[i];
      if (pInfo->m_pBar != NULL && (pInfo->m_pBar->IsDockBar() ? 0 : 1) == nPass)
        pInfo->m_pBar->SetBarInfo(pInfo, this);
    }
  }
  // The floating frames go where their bars were and show when a bar of theirs does.
  for (INT_PTR i = 0; i < nCount; i++) {
    CControlBarInfo* pInfo = (CControlBarInfo*)state.m_arrBarInfo[i];
    if (pInfo->m_pBar == NULL || !pInfo->m_bFloating || !pInfo->m_bDockBar)
      continue;
    CDockBar* pDockBar = (CDockBar*)pInfo->m_pBar;
    CFrameWnd* pDockFrame = DYNAMIC_DOWNCAST(CFrameWnd, pDockBar->GetParent());
    if (pDockFrame == NULL)
      continue;
    if (pDockBar->GetDockedCount() == 0) {
      pDockFrame->DestroyWindow();  // none of its bars exists any more
      pInfo->m_pBar = NULL;
      continue;
    }
    CRect rect(pInfo->m_pointPos, CSize(10, 10));
    pDockFrame->CalcWindowRect(&rect);
    pDockFrame->SetWindowPos(NULL, rect.left, rect.top, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    pDockFrame->RecalcLayout(TRUE);
    if (pDockBar->GetDockedVisibleCount() > 0) {
      pDockFrame->ShowWindow(SW_SHOWNA);
      pDockFrame->UpdateWindow();
    }
  }
  RecalcLayout(TRUE);
}

void CFrameWnd::LoadBarState(LPCTSTR lpszProfileName)
{
  CDockState state;
  state.LoadState(lpszProfileName);
  SetDockState(state);
}

void CFrameWnd::SaveBarState(LPCTSTR lpszProfileName) const
{
  CDockState state;
  GetDockState(state);
  state.SaveState(lpszProfileName);
}

// ---------------------------------------------------------------------------------------------
// CMiniFrameWnd: borders and sizing areas

void PASCAL CMiniFrameWnd::CalcBorders(LPRECT lpClientRect, DWORD dwStyle, DWORD dwExStyle)
{
  // As the mini frame makes its window: a thick frame for any MFS_ sizing style, a tool
  // window's caption.
  DWORD dwWndStyle = dwStyle & 0xFFFF0000;
  if (dwStyle & (MFS_4THICKFRAME | MFS_THICKFRAME))
    dwWndStyle |= WS_THICKFRAME;
  if (dwWndStyle & WS_CAPTION)
    dwExStyle |= WS_EX_TOOLWINDOW;
  ::AdjustWindowRectEx(lpClientRect, dwWndStyle, FALSE, dwExStyle & ~WS_EX_CLIENTEDGE);
}

LRESULT CMiniFrameWnd::OnNcHitTest(CPoint point)
{
  LRESULT nHit = DefWindowProc(WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
  if (nHit < HTLEFT || nHit > HTBOTTOMRIGHT)
    return nHit;
  DWORD dwStyle = GetStyle();
  if (dwStyle & MFS_MOVEFRAME)
    return HTCAPTION;  // the borders move the frame
  if (dwStyle & MFS_THICKFRAME)
    return nHit;  // edges and corners
  if (dwStyle & MFS_4THICKFRAME) {
    // Edges only: a corner sizes along the edge above or below it.
    switch (nHit) {
    case HTTOPLEFT:
    case HTTOPRIGHT:
      return HTTOP;
    case HTBOTTOMLEFT:
    case HTBOTTOMRIGHT:
      return HTBOTTOM;
    }
    return nHit;
  }
  return HTBORDER;
}

// ---------------------------------------------------------------------------------------------
// CMiniDockFrameWnd

IMPLEMENT_DYNCREATE(CMiniDockFrameWnd, CMiniFrameWnd)

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CMiniFrameWnd)
  ON_WM_CLOSE()
  ON_WM_NCLBUTTONDOWN()
  ON_WM_NCLBUTTONDBLCLK()
  ON_WM_GETMINMAXINFO()
END_MESSAGE_MAP()

CMiniDockFrameWnd::CMiniDockFrameWnd() : m_wndDockBar(TRUE)
{
  m_wndDockBar.m_bAutoDelete = FALSE;  // part of this object
}

CMiniDockFrameWnd::~CMiniDockFrameWnd() {}

BOOL CMiniDockFrameWnd::Create(CWnd* pParent, DWORD dwBarStyle)
{
  // Nothing is laid out before the dock bar is in.
  m_bInRecalcLayout = TRUE;
  DWORD dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | MFS_BLOCKSYSMENU | MFS_SYNCACTIVE |
                  MFS_4THICKFRAME | FWS_SNAPTOBARS;
  if (!(dwBarStyle & CBRS_SIZE_DYNAMIC))
    dwStyle |= MFS_MOVEFRAME;
  CRect rect(0, 0, 0, 0);
  // What the dock bar does not cover shows the face colour.
  LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW),
                                          (HBRUSH)(COLOR_BTNFACE + 1));
  if (!CMiniFrameWnd::CreateEx(0, lpszClass, "", dwStyle, rect, pParent))
    return FALSE;  // the object has gone with its window
  m_bInRecalcLayout = FALSE;

  // Its system menu only moves and hides.
  HMENU hSysMenu = ::GetSystemMenu(m_hWnd, FALSE);
  if (hSysMenu != NULL) {
    ::DeleteMenu(hSysMenu, SC_SIZE, MF_BYCOMMAND);
    ::DeleteMenu(hSysMenu, SC_MINIMIZE, MF_BYCOMMAND);
    ::DeleteMenu(hSysMenu, SC_MAXIMIZE, MF_BYCOMMAND);
    ::DeleteMenu(hSysMenu, SC_RESTORE, MF_BYCOMMAND);
    CString strHide = AfxLoadFrameworkString(AFX_IDS_HIDE);
    if (!strHide.IsEmpty()) {
      ::DeleteMenu(hSysMenu, SC_CLOSE, MF_BYCOMMAND);
      ::AppendMenuA(hSysMenu, MF_STRING, SC_CLOSE, strHide);
    }
  }

  // The dock bar is made in the docking frame, so that it is one of that frame's bars.
  DWORD dwDockStyle = (dwBarStyle & CBRS_ORIENT_VERT) ? CBRS_ALIGN_LEFT : CBRS_ALIGN_TOP;
  dwDockStyle |= dwBarStyle & CBRS_FLOAT_MULTI;
  if (!GetDockBar()->Create(pParent, WS_CHILD | WS_VISIBLE | dwDockStyle, AFX_IDW_DOCKBAR_FLOAT)) {
    DestroyWindow();  // deletes this object
    return FALSE;
  }
  GetDockBar()->SetParent(this);
  return TRUE;
}

void CMiniDockFrameWnd::RecalcLayout(BOOL bNotify)
{
  if (m_bInRecalcLayout)
    return;
  CMiniFrameWnd::RecalcLayout(bNotify);
  if (GetDockBar()->m_hWnd != NULL) {
    CString strTitle;
    GetDockBar()->GetWindowText(strTitle);
    CString strOld;
    GetWindowText(strOld);
    if (strOld != strTitle)
      SetWindowText(strTitle);
  }
}

CDockContext* CMiniDockFrameWnd::GetFirstBarContext()
{
  for (INT_PTR i = 0; i < GetDockBar()->m_arrBars.GetSize(); i++) {
    CControlBar* pBar = GetDockBar()->GetDockedControlBar((int)i);
    if (pBar != NULL)
      return pBar->m_pDockContext;
  }
  return NULL;
}

// Closing a floating frame hides its bars; the frame follows them.
void CMiniDockFrameWnd::OnClose() { GetDockBar()->ShowAll(FALSE); }

void CMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
  CDockContext* pContext = GetFirstBarContext();
  if (pContext != NULL && !(GetDockBar()->m_dwStyle & CBRS_FLOAT_MULTI)) {
    if (nHitTest == HTCAPTION) {
      ActivateTopParent();
      pContext->StartDrag(point);  // may destroy this frame: nothing after it
      return;
    }
    if (nHitTest >= HTLEFT && nHitTest <= HTBOTTOMRIGHT) {
      ActivateTopParent();
      pContext->StartResize((int)nHitTest, point);
      return;
    }
  }
  CMiniFrameWnd::OnNcLButtonDown(nHitTest, point);
}

void CMiniDockFrameWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint point)
{
  CDockContext* pContext = GetFirstBarContext();
  if (nHitTest == HTCAPTION && pContext != NULL && !(GetDockBar()->m_dwStyle & CBRS_FLOAT_MULTI)) {
    ActivateTopParent();
    pContext->ToggleDocking();  // may destroy this frame: nothing after it
    return;
  }
  CMiniFrameWnd::OnNcLButtonDblClk(nHitTest, point);
}

// The frame fits its bars, however small: no larger minimum than its own borders.
void CMiniDockFrameWnd::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
  CMiniFrameWnd::OnGetMinMaxInfo(lpMMI);
  CRect rect(0, 0, 0, 0);
  CalcBorders(&rect, GetStyle(), GetExStyle());
  lpMMI->ptMinTrackSize.x = rect.Width();
  lpMMI->ptMinTrackSize.y = rect.Height();
}
