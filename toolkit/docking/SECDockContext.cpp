// The toolkit bar's dock context.
#include "SECDockContext.h"
#include "SECControlBar.h"
#include "SECDockBar.h"
#include "SECDockBars_res.h"
#include "SECFrameWnd.h"
#include "SECMDIFrameWnd.h"
#include "SECSysData.h"
#include <afxpriv.h>
#include <cstdlib>

namespace {
// A floating bar docks only once the mouse has moved further than this from where the drag
// began, so that a click on its caption cannot dock it.
const int kDockSlop = 4;

SECControlBar* AsSEC(CControlBar* pBar)
{
  return pBar != NULL ? DYNAMIC_DOWNCAST(SECControlBar, (CObject*)pBar) : NULL;
}
}  // namespace

SECDockContext::SECDockContext(CControlBar* pBar)
    : CDockContext(pBar), m_rectLastFeedback(0, 0, 0, 0), m_ptDragStart(0, 0),
      m_ptLastFeedback(0, 0), m_nLastRow(-1), m_bPrevFloating(FALSE),
      m_sizeMinFloat(::GetSystemMetrics(SM_CXMENUSIZE) +
                         2 * (::GetSystemMetrics(SM_CXFRAME) + ::GetSystemMetrics(SM_CXBORDER)),
                     ::GetSystemMetrics(SM_CYSMCAPTION) +
                         2 * (::GetSystemMetrics(SM_CYFRAME) + ::GetSystemMetrics(SM_CYBORDER))),
      m_sizeMaxFloat(::GetSystemMetrics(SM_CXFULLSCREEN), ::GetSystemMetrics(SM_CYFULLSCREEN))
{
}

void SECDockContext::SendPrompt(UINT nID)
{
  CWnd* pMain = AfxGetMainWnd();
  if (pMain != NULL && pMain->m_hWnd != NULL)
    pMain->SendMessage(WM_SETMESSAGESTRING, nID);
}

// ---------------------------------------------------------------------------------------------
// Dragging

void SECDockContext::StartDrag(CPoint pt)
{
  m_ptDragStart = pt;
  m_nLastRow = -1;
  m_rectLastFeedback.SetRectEmpty();
  SendPrompt(IDS_SEC_DRAG_PROMPT);
  CDockContext::StartDrag(pt);
}

void SECDockContext::CancelLoop()
{
  CDockContext::CancelLoop();
  SendPrompt(AFX_IDS_IDLEMESSAGE);
}

DWORD SECDockContext::CanDock()
{
  if (m_pDockSite == NULL)
    return 0;
  if (m_bDragging && m_pBar->IsFloating() &&
      std::abs(m_ptLast.x - m_ptDragStart.x) + std::abs(m_ptLast.y - m_ptDragStart.y) <= kDockSlop)
    return 0;
  DWORD dwDock = DockSide();
  if (dwDock == 0)
    m_nLastRow = -1;  // the outline floats: the next row is a new one
  return dwDock;
}

DWORD SECDockContext::DockSide()
{
  // A side bar is a candidate only with the mouse over it.
  auto vertical = [this](const CRect& rect, DWORD dwStyle) -> DWORD {
    CDockBar* pDockBar = NULL;
    DWORD dw = m_pDockSite->CanDock(rect, dwStyle, &pDockBar);
    if (dw == 0 || pDockBar == NULL)
      return dw;
    CRect rectDock;
    pDockBar->GetWindowRect(&rectDock);
    return rectDock.PtInRect(m_ptLast) ? dw : 0;
  };
  const DWORD dwHorzStyle = m_dwDockStyle & ~CBRS_ORIENT_VERT;
  const DWORD dwVertStyle = m_dwDockStyle & ~CBRS_ORIENT_HORZ;
  BOOL bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
  if (m_bFlip)
    bHorz = !bHorz;
  DWORD dwDock = 0;
  if (bHorz && (m_dwDockStyle & CBRS_ORIENT_HORZ))
    dwDock = m_pDockSite->CanDock(m_rectDragHorz, dwHorzStyle);
  else if (m_dwDockStyle & CBRS_ORIENT_VERT)
    dwDock = vertical(m_rectDragVert, dwVertStyle);
  if (!m_bFlip) {
    // Either orientation, when both rectangles agree on the side.
    if (dwDock == 0 && (m_dwDockStyle & CBRS_ORIENT_HORZ)) {
      DWORD dwVert = m_pDockSite->CanDock(m_rectDragVert, dwHorzStyle);
      DWORD dwHorz = m_pDockSite->CanDock(m_rectDragHorz, dwHorzStyle);
      dwDock = dwVert == dwHorz ? dwHorz : 0;
    }
    if (dwDock == 0 && (m_dwDockStyle & CBRS_ORIENT_VERT)) {
      DWORD dwVert = vertical(m_rectDragVert, dwVertStyle);
      DWORD dwHorz = vertical(m_rectDragHorz, dwVertStyle);
      dwDock = dwVert == dwHorz ? dwVert : 0;
    }
  }
  return dwDock;
}

void SECDockContext::AdjustDockFeedback(CRect& rect)
{
  CDockBar* pDockBar = GetDockBar(m_dwOverDockStyle);
  SECDockBar* pSECDock = pDockBar != NULL ? DYNAMIC_DOWNCAST(SECDockBar, pDockBar) : NULL;
  if (pSECDock != NULL)
    pSECDock->CalcDragRect(m_pBar, rect, m_ptLast, m_nLastRow, m_rectLastFeedback,
                           m_ptLastFeedback);
  if (secData.m_bWin4)
    rect.DeflateRect(1, 1);
}

// The toolkit's two frames dock, re-dock and float bars their own way; the MDI frame also
// takes a bar out of the main window first, and moves one floating there within it.
namespace {
struct ToolkitSite {
  SECFrameWnd* pSDI;
  SECMDIFrameWnd* pMDI;
  explicit ToolkitSite(CFrameWnd* pFrame)
      : pSDI(DYNAMIC_DOWNCAST(SECFrameWnd, pFrame)), pMDI(DYNAMIC_DOWNCAST(SECMDIFrameWnd, pFrame))
  {
  }
  CFrameWnd* Frame() const { return pSDI != NULL ? (CFrameWnd*)pSDI : (CFrameWnd*)pMDI; }
  void Dock(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) const
  {
    if (pMDI != NULL)
      pMDI->DockControlBar(pBar, pDockBar, lpRect);
    else
      pSDI->DockControlBar(pBar, pDockBar, lpRect);
  }
  void ReDock(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) const
  {
    if (pMDI != NULL)
      pMDI->ReDockControlBar(pBar, pDockBar, lpRect);
    else
      pSDI->ReDockControlBar(pBar, pDockBar, lpRect);
  }
  void Float(CControlBar* pBar, CPoint point, DWORD dwStyle) const
  {
    if (pMDI != NULL)
      pMDI->FloatControlBar(pBar, point, dwStyle);
    else
      pSDI->FloatControlBar(pBar, point, dwStyle);
  }
};
}  // namespace

void SECDockContext::EndDrag()
{
  ToolkitSite site(m_pDockSite);
  if (m_dwOverDockStyle == 0 && site.pMDI != NULL) {
    CancelLoop();
    m_bDragging = FALSE;
    RememberFloatPlace();
    site.Float(m_pBar, m_ptMRUFloatPos, m_dwMRUFloatStyle);
    return;
  }
  CFrameWnd* pFrame = site.Frame();
  if (m_dwOverDockStyle == 0 || pFrame == NULL) {
    CDockContext::EndDrag();  // floats the platform's way
    return;
  }
  CancelLoop();
  m_bDragging = FALSE;
  CDockBar* pDockBar = GetDockBar(m_dwOverDockStyle);
  if (pDockBar == NULL)
    return;
  CRect rect = (m_dwOverDockStyle & CBRS_ORIENT_VERT) ? m_rectDragVert : m_rectDragHorz;
  UINT uID = (UINT)pDockBar->GetDlgCtrlID();
  if (uID >= AFX_IDW_DOCKBAR_TOP && uID <= AFX_IDW_DOCKBAR_BOTTOM) {
    m_uMRUDockID = uID;
    m_rectMRUDockPos = rect;
    pDockBar->ScreenToClient(&m_rectMRUDockPos);
  }
  SECDockBar* pSECDock = DYNAMIC_DOWNCAST(SECDockBar, pDockBar);
  if (pSECDock != NULL && m_pBar->IsFloating())
    pSECDock->m_pChangedBar = AsSEC(m_pBar);
  site.Dock(m_pBar, pDockBar, &rect);
  pFrame->RecalcLayout(TRUE);
}

// ---------------------------------------------------------------------------------------------
// Resizing a floating bar

BOOL SECDockContext::IsFreeSizing() const
{
  SECControlBar* pSEC = AsSEC(m_pBar);
  return pSEC != NULL && !(pSEC->m_dwExStyle & CBRS_EX_UNIDIRECTIONAL);
}

void SECDockContext::Stretch(CPoint pt)
{
  if (!IsFreeSizing()) {
    CDockContext::Stretch(pt);  // one axis at a time, as a toolbar
    return;
  }
  const int h = m_nHitTest;
  const BOOL bLeft = h == HTLEFT || h == HTTOPLEFT || h == HTBOTTOMLEFT;
  const BOOL bRight = h == HTRIGHT || h == HTTOPRIGHT || h == HTBOTTOMRIGHT;
  const BOOL bTop = h == HTTOP || h == HTTOPLEFT || h == HTTOPRIGHT;
  const BOOL bBottom = h == HTBOTTOM || h == HTBOTTOMLEFT || h == HTBOTTOMRIGHT;
  // The vertical frame rectangle holds the frame's borders round the bar.
  const CSize sizeBorders(m_rectFrameDragVert.right - m_rectFrameDragVert.left,
                          m_rectFrameDragVert.bottom - m_rectFrameDragVert.top);
  CRect rect = m_rectDragHorz;
  CSize size = rect.Size();
  // An axis that would leave the floating limits stays, with the mouse position it had.
  if (bLeft || bRight) {
    int cx = bLeft ? size.cx - (pt.x - m_ptLast.x) : size.cx + (pt.x - m_ptLast.x);
    if (cx + sizeBorders.cx >= m_sizeMinFloat.cx && cx + sizeBorders.cx <= m_sizeMaxFloat.cx) {
      size.cx = cx;
      m_ptLast.x = pt.x;
    }
  }
  if (bTop || bBottom) {
    int cy = bTop ? size.cy - (pt.y - m_ptLast.y) : size.cy + (pt.y - m_ptLast.y);
    if (cy + sizeBorders.cy >= m_sizeMinFloat.cy && cy + sizeBorders.cy <= m_sizeMaxFloat.cy) {
      size.cy = cy;
      m_ptLast.y = pt.y;
    }
  }
  m_pBar->CalcDynamicLayout(size.cx, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
  m_pBar->CalcDynamicLayout(size.cy, LM_HORZ | LM_LENGTHY | LM_COMMIT);
  size = m_pBar->CalcDynamicLayout(-1, LM_HORZ);
  if (bLeft)
    rect.left = rect.right - size.cx;
  else
    rect.right = rect.left + size.cx;
  if (bTop)
    rect.top = rect.bottom - size.cy;
  else
    rect.bottom = rect.top + size.cy;
  m_rectDragHorz = m_rectDragVert = rect;
  m_rectFrameDragHorz.SetRect(rect.left + m_rectFrameDragVert.left,
                              rect.top + m_rectFrameDragVert.top,
                              rect.right + m_rectFrameDragVert.right,
                              rect.bottom + m_rectFrameDragVert.bottom);
  DrawFocusRect();
}

void SECDockContext::EndResize()
{
  CancelLoop();
  m_pBar->CalcDynamicLayout(m_rectDragHorz.Width(), LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
  if (IsFreeSizing())
    m_pBar->CalcDynamicLayout(m_rectDragHorz.Height(), LM_HORZ | LM_LENGTHY | LM_COMMIT);
  m_pDockSite->FloatControlBar(m_pBar, m_rectFrameDragHorz.TopLeft(),
                               CBRS_ALIGN_TOP | (m_dwDockStyle & CBRS_FLOAT_MULTI) |
                                   CBRS_SIZE_DYNAMIC);
}

// ---------------------------------------------------------------------------------------------
// Double-click

void SECDockContext::ToggleDocking()
{
  ToolkitSite site(m_pBar->m_pDockSite);
  CFrameWnd* pFrame = site.Frame();
  SECControlBar* pSEC = DYNAMIC_DOWNCAST(SECControlBar, m_pBar);
  if (pFrame == NULL || pSEC == NULL) {
    CDockContext::ToggleDocking();
    return;
  }
  m_pDockSite = pFrame;
  if (m_pBar->IsFloating()) {
    if (!(m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY))
      return;  // docking is switched off
    CRect rect;
    BOOL bUseRect = FALSE;
    CDockBar* pDockBar = MRUDockBar(pFrame, rect, bUseRect);
    if (pDockBar == NULL)
      return;
    pSEC->m_fPctWidth = pSEC->m_fSavedPctWidth;
    site.ReDock(m_pBar, pDockBar, bUseRect ? &rect : NULL);
    pFrame->RecalcLayout();
    return;
  }
  CPoint ptFloat = m_ptMRUFloatPos;
  if (ptFloat.x < 0 || ptFloat.y < 0 || (ptFloat.x == 0 && ptFloat.y == 0)) {
    ptFloat = m_rectMRUDockPos.TopLeft();
    if (m_pBar->GetParent() != NULL)
      m_pBar->GetParent()->ClientToScreen(&ptFloat);
  }
  pSEC->m_fSavedPctWidth = pSEC->m_fPctWidth;
  DWORD dwStyle = m_dwMRUFloatStyle != 0 ? m_dwMRUFloatStyle
                                         : ((m_pBar->m_dwStyle & CBRS_ORIENT_HORZ) ? CBRS_ALIGN_TOP
                                                                                   : CBRS_ALIGN_LEFT);
  // The last floating style whole: a bar that floated sharing its frame does so again.
  site.Float(m_pBar, ptFloat, dwStyle & (CBRS_ALIGN_ANY | CBRS_FLOAT_MULTI));
}

CDockBar* SECDockContext::MRUDockBar(CFrameWnd* pFrame, CRect& rect, BOOL& bUseRect)
{
  CDockBar* pDockBar = NULL;
  if (m_uMRUDockID != 0)
    pDockBar = DYNAMIC_DOWNCAST(CDockBar, pFrame->GetControlBar(m_uMRUDockID));
  BOOL bHolder = pDockBar != NULL &&
                 pDockBar->FindBar((CControlBar*)(UINT_PTR)(m_pBar->GetDlgCtrlID() & 0xFFFF)) > 0;
  if (pDockBar == NULL) {
    // Without a last dock bar only a side its alignment names; none: it stays floating.
    DWORD dwAlign = m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY;
    for (UINT nID : {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT,
                     AFX_IDW_DOCKBAR_RIGHT}) {
      CDockBar* p = DYNAMIC_DOWNCAST(CDockBar, pFrame->GetControlBar(nID));
      if (p != NULL && (p->m_dwStyle & dwAlign)) {
        pDockBar = p;
        break;
      }
    }
    if (pDockBar == NULL)
      return NULL;
  }
  rect = m_rectMRUDockPos;
  pDockBar->ClientToScreen(&rect);
  // A bar with a top border is one pixel wider docked than its rectangle says.
  if (m_pBar->m_dwStyle & CBRS_BORDER_TOP)
    rect.right++;
  bUseRect = !bHolder && m_uMRUDockID != 0;
  return pDockBar;
}

void SECDockContext::ToggleFloatInMainWindow()
{
  SECMDIFrameWnd* pMDI = DYNAMIC_DOWNCAST(SECMDIFrameWnd, m_pBar->m_pDockSite);
  if (pMDI == NULL)
    return;  // only a toolkit MDI frame has a main window to float in
  m_pDockSite = pMDI;
  SECControlBar* pSEC = DYNAMIC_DOWNCAST(SECControlBar, m_pBar);
  pMDI->m_nBusy = TRUE;
  DWORD dwStyle = m_dwMRUFloatStyle != 0 ? m_dwMRUFloatStyle & (CBRS_ALIGN_ANY | CBRS_FLOAT_MULTI)
                                         : CBRS_ALIGN_TOP;
  if (!SECMDIFrameWnd::IsFloatingInMDIChild(m_pBar)) {
    if (pSEC != NULL)
      pSEC->m_fSavedPctWidth = pSEC->m_fPctWidth;
    m_bPrevFloating = m_pBar->IsFloating();
    pMDI->FloatControlBarInMDIChild(m_pBar, m_ptMRUFloatPos, dwStyle);
  } else if (m_bPrevFloating) {
    pMDI->ReFloatControlBar(m_pBar, m_ptMRUFloatPos, dwStyle);
    if (pSEC != NULL)
      pSEC->m_fPctWidth = pSEC->m_fSavedPctWidth;
  } else if (m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY) {
    CRect rect;
    BOOL bUseRect = FALSE;
    CDockBar* pDockBar = MRUDockBar(pMDI, rect, bUseRect);
    if (pSEC != NULL)
      pSEC->m_fPctWidth = pSEC->m_fSavedPctWidth;
    pMDI->ReDockControlBar(m_pBar, pDockBar, bUseRect ? &rect : NULL);
    pMDI->RecalcLayout();
  }
  pMDI->m_nBusy = FALSE;
}
