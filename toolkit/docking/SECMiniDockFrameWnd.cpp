// The toolkit's floating frame.
#include "SECMiniDockFrameWnd.h"

IMPLEMENT_DYNCREATE(SECMiniDockFrameWnd, CMiniDockFrameWnd)

BEGIN_MESSAGE_MAP(SECMiniDockFrameWnd, CMiniDockFrameWnd)
  ON_WM_CLOSE()
  ON_WM_NCLBUTTONDOWN()
  ON_WM_NCLBUTTONDBLCLK()
  ON_WM_PARENTNOTIFY()
END_MESSAGE_MAP()

SECMiniDockFrameWnd::SECMiniDockFrameWnd() : m_wndSECDockBar(TRUE, 0)
{
  m_wndSECDockBar.m_bAutoDelete = FALSE;  // part of this object
}

SECMiniDockFrameWnd::~SECMiniDockFrameWnd() {}

void SECMiniDockFrameWnd::RecalcLayoutAt(int x, int y, BOOL)
{
  if (m_bInRecalcLayout)
    return;
  m_nIdleFlags &= ~(idleLayout | idleNotify);
  m_bInRecalcLayout = TRUE;
  if (GetStyle() & FWS_SNAPTOBARS) {
    CRect rect(0, 0, 32767, 32767);
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &rect, &rect, FALSE);
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder, &rect, TRUE);
    CalcWindowRect(&rect);
    SetWindowPos(NULL, x, y, rect.Width(), rect.Height(), SWP_NOACTIVATE | SWP_NOZORDER);
  } else {
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder);
  }
  if (m_wndSECDockBar.m_hWnd != NULL) {
    char szTitle[261] = "";
    m_wndSECDockBar.GetWindowText(szTitle, (int)sizeof szTitle);
    SetWindowText(szTitle);
  }
  m_bInRecalcLayout = FALSE;
}

CDockContext* SECMiniDockFrameWnd::FirstBarContext()
{
  if (m_wndSECDockBar.m_dwStyle & CBRS_FLOAT_MULTI)
    return NULL;  // several bars: the frame moves as a whole
  CControlBar* pBar = m_wndSECDockBar.GetFirstDockedBar();
  for (int i = 1; pBar == NULL && i < m_wndSECDockBar.m_arrBars.GetSize(); i++)
    pBar = m_wndSECDockBar.GetDockedControlBar(i);
  return pBar != NULL ? pBar->m_pDockContext : NULL;
}

void SECMiniDockFrameWnd::BringToTop()
{
  SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

// Hiding hides the bars; the frame hides with its last visible bar.
void SECMiniDockFrameWnd::OnClose() { m_wndSECDockBar.ShowAll(FALSE); }

void SECMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
  BringToTop();
  CDockContext* pContext = FirstBarContext();
  if (pContext != NULL && nHitTest == HTCAPTION) {
    ActivateTopParent();
    pContext->StartDrag(point);  // may destroy this frame: nothing after it
    return;
  }
  if (pContext != NULL && nHitTest >= HTLEFT && nHitTest <= HTBOTTOMRIGHT) {
    ActivateTopParent();
    pContext->StartResize((int)nHitTest, point);
    return;
  }
  CMiniFrameWnd::OnNcLButtonDown(nHitTest, point);
}

void SECMiniDockFrameWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint point)
{
  CDockContext* pContext = FirstBarContext();
  if (nHitTest == HTCAPTION && pContext != NULL) {
    ActivateTopParent();
    pContext->ToggleDocking();  // may destroy this frame: nothing after it
    return;
  }
  CMiniFrameWnd::OnNcLButtonDblClk(nHitTest, point);
}

void SECMiniDockFrameWnd::OnParentNotify(UINT message, LPARAM lParam)
{
  UINT nEvent = LOWORD(message);
  if (nEvent == WM_LBUTTONDOWN || nEvent == WM_RBUTTONDOWN)
    BringToTop();
  CMiniDockFrameWnd::OnParentNotify(message, lParam);
}
