// The frame bar and the dockable frame.
#include "SECDockableFrame.h"
#include "SECCaptionFilters.h"
#include "SECMDIFrameWnd.h"
#include "SECSysCommandEx.h"

using namespace nsSysCommandEx;
#include "SECSysData.h"
#include <afxpriv.h>

// ---------------------------------------------------------------------------------------------
// SECFrameBar

IMPLEMENT_DYNCREATE(SECFrameBar, SECControlBar)

CFrameWnd* SECFrameBar::GetChildFrame() const
{
  for (HWND h = ::GetWindow(m_hWnd, GW_CHILD); h != NULL; h = ::GetWindow(h, GW_HWNDNEXT)) {
    CWnd* pWnd = CWnd::FromHandlePermanent(h);
    if (pWnd != NULL && pWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
      return (CFrameWnd*)pWnd;
  }
  return NULL;
}

// ---------------------------------------------------------------------------------------------
// SECDockableFrame

IMPLEMENT_DYNCREATE(SECDockableFrame, SECFrameWnd)

BEGIN_MESSAGE_MAP(SECDockableFrame, SECFrameWnd)
  ON_WM_NCLBUTTONDOWN()
  ON_WM_NCLBUTTONDBLCLK()
  ON_WM_NCRBUTTONDOWN()
  ON_WM_NCRBUTTONUP()
  ON_WM_NCRBUTTONDBLCLK()
  ON_WM_NCACTIVATE()
  ON_WM_NCPAINT()
  ON_MESSAGE(WM_SETTEXT, OnSetText)
  ON_WM_LBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_WM_ACTIVATE()
  ON_WM_MOUSEACTIVATE()
  ON_WM_PARENTNOTIFY()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

SECDockableFrame::SECDockableFrame() : m_hMenuShared(NULL), m_pMsgFilter(NULL)
{
  m_pMsgFilter = new SECMsgFilter(this, -1);
  m_filterTable.Add(SEC_FILTER_SYSCOMMANDEX, -1, RUNTIME_CLASS(ScxMsgFilter), 0);
  m_filterTable.Add(SEC_FILTER_CAPTIONLIST, -1, RUNTIME_CLASS(SECCaptionControlListMsgFilter),
                    SECMsgFilter::fltNeverDisable);
  m_filterTable.Add(SEC_FILTER_STATEBUTTON, SEC_FILTER_CAPTIONLIST,
                    RUNTIME_CLASS(ScxButtonMsgFilter), 0);
  m_filterTable.Add(SEC_FILTER_CAPTIONRDBLCLK, -1,
                    RUNTIME_CLASS(ScxCaptionNCRDBLClkFilter), 0);
  m_filterTable.Add(SEC_FILTER_CONTEXTMENU, -1, RUNTIME_CLASS(ScxContextMenuFilter), 0);
}

SECDockableFrame::~SECDockableFrame() { delete m_pMsgFilter; }

CControlBar* SECDockableFrame::GetParentBar() const
{
  CWnd* pParent = m_hWnd != NULL ? GetParent() : NULL;
  return pParent != NULL ? DYNAMIC_DOWNCAST(CControlBar, pParent) : NULL;
}

BOOL SECDockableFrame::IsFloating()
{
  CControlBar* pBar = GetParentBar();
  return pBar != NULL && pBar->IsFloating();
}

void SECDockableFrame::SetCaptionControls(DWORD dwFlags)
{
  // In table order: 0x101, 0x100, 0x102, 0x103, 0x106.
  BOOL values[5];
  SECCaptionFilterValues(dwFlags, values);
  SECApplyFilterTable(m_pMsgFilter, m_filterTable, values);
}

BOOL SECDockableFrame::PreCreateWindow(CREATESTRUCT& cs)
{
  if (!SECFrameWnd::PreCreateWindow(cs))
    return FALSE;
  if (secData.m_bWin4)
    cs.dwExStyle |= WS_EX_TOOLWINDOW;
  cs.style &= ~FWS_PREFIXTITLE;
  return TRUE;
}

BOOL SECDockableFrame::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                                 CCreateContext* pContext)
{
  CMultiDocTemplate* pTemplate =
      pContext != NULL && pContext->m_pNewDocTemplate != NULL
          ? DYNAMIC_DOWNCAST(CMultiDocTemplate, pContext->m_pNewDocTemplate)
          : NULL;
  if (pTemplate != NULL) {
    m_hMenuShared = pTemplate->m_hMenuShared;
    m_hAccelTable = pTemplate->m_hAccelTable;
  }
  return SECFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext);
}

void SECDockableFrame::OnUpdateFrameTitle(BOOL bAddToTitle)
{
  SECMDIFrameWnd* pMDI = GetToolkitMDIFrame();
  if (pMDI != NULL)
    pMDI->OnUpdateFrameTitle(TRUE);
  if (!bAddToTitle || !(GetStyle() & FWS_ADDTOTITLE))
    return;
  CDocument* pDoc = GetActiveDocument();
  if (pDoc == NULL)
    return;
  CString strTitle = pDoc->GetTitle();
  if (m_nWindow > 0) {
    CString strNumber;
    strNumber.Format(":%d", m_nWindow);
    strTitle += strNumber;
  }
  CString strOld;
  GetWindowText(strOld);
  if (strOld != strTitle)
    SetWindowText(strTitle);
}

SECMDIFrameWnd* SECDockableFrame::GetToolkitMDIFrame() const
{
  CFrameWnd* pParent = m_hWnd != NULL ? GetParentFrame() : NULL;
  if (pParent != NULL && pParent->IsKindOf(RUNTIME_CLASS(SECMDIFrameWnd)))
    return (SECMDIFrameWnd*)pParent;
  return DYNAMIC_DOWNCAST(SECMDIFrameWnd, AfxGetMainWnd());
}

void SECDockableFrame::OnUpdateMDIMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenu)
{
  // The menu follows activation only inside the toolkit's MDI frame (its MDI client takes
  // WM_MDISETMENU); a frame outside one keeps its menu.
  SECMDIFrameWnd* pMDI = GetToolkitMDIFrame();
  if (pMDI == NULL || pMDI->m_hWndMDIClient == NULL)
    return;
  if (hMenu == NULL && bActivate) {
    CDocument* pDoc = GetActiveDocument();
    if (pDoc != NULL)
      hMenu = pDoc->GetDefaultMenu();
  }
  if (hMenu == NULL)
    hMenu = m_hMenuShared;
  HWND hClient = pMDI->m_hWndMDIClient;
  if (hMenu != NULL && bActivate)
    ::SendMessageA(hClient, WM_MDISETMENU, (WPARAM)hMenu, (LPARAM)pMDI->GetWindowMenuPopup(hMenu));
  else if (hMenu != NULL && !bActivate && pActivateWnd == NULL)
    ::SendMessageA(hClient, WM_MDISETMENU, (WPARAM)pMDI->m_hMenuDefault,
                   (LPARAM)pMDI->GetWindowMenuPopup(pMDI->m_hMenuDefault));
  else
    ::SendMessageA(hClient, WM_MDIREFRESHMENU, 0, 0);
}

BOOL SECDockableFrame::DestroyWindow()
{
  CControlBar* pBar = GetParentBar();
  if (m_hWnd != NULL && pBar != NULL)
    return pBar->DestroyWindow();  // the frame goes with its bar
  return CFrameWnd::DestroyWindow();
}

LRESULT SECDockableFrame::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
  LRESULT lResult = 0;
  if (SECFilterSysCommandEx(m_pMsgFilter, message, wParam, lParam, &lResult))
    return lResult;
  return SECFrameWnd::DefWindowProc(message, wParam, lParam);
}

BOOL SECDockableFrame::FilterCurrent()
{
  return (m_pMsgFilter->FilterCurrentMessage() & SECMsgFilter::fltHandled) != 0;
}

void SECDockableFrame::FilterAfterDefault() { m_pMsgFilter->FilterCurrentMessage(); }

void SECDockableFrame::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
  MakeActiveDockedChild();
  if (FilterCurrent())
    return;
  CControlBar* pBar = GetParentBar();
  if (pBar != NULL && IsFloating()) {
    CWnd* pMini = pBar->GetParentFrame();
    if (nHitTest != HTCLOSE && pMini != NULL) {
      pMini->SendMessage(WM_NCLBUTTONDOWN, nHitTest, MAKELPARAM(point.x, point.y));
      return;
    }
  } else if (pBar != NULL && pBar->m_pDockContext != NULL &&
             (nHitTest == HTCAPTION || (nHitTest >= HTLEFT && nHitTest <= HTBORDER))) {
    pBar->m_pDockContext->StartDrag(point);  // may float or re-dock the bar: nothing after
    return;
  }
  SECFrameWnd::OnNcLButtonDown(nHitTest, point);
}

void SECDockableFrame::OnNcLButtonDblClk(UINT nHitTest, CPoint point)
{
  CControlBar* pBar = GetParentBar();
  if (nHitTest == HTCAPTION && pBar != NULL) {
    if (IsFloating()) {
      CWnd* pMini = pBar->GetParentFrame();
      if (pMini != NULL)
        pMini->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(point.x, point.y));
    } else {
      CPoint pt = point;
      pBar->ScreenToClient(&pt);
      pBar->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(pt.x, pt.y));
    }
    return;  // the frame may have moved to another bar or frame: nothing after
  }
  SECFrameWnd::OnNcLButtonDblClk(nHitTest, point);
}

void SECDockableFrame::OnNcRButtonDown(UINT nHitTest, CPoint point)
{
  if (!FilterCurrent())
    SECFrameWnd::OnNcRButtonDown(nHitTest, point);
}

void SECDockableFrame::OnNcRButtonUp(UINT nHitTest, CPoint point)
{
  if (!FilterCurrent())
    SECFrameWnd::OnNcRButtonUp(nHitTest, point);
}

void SECDockableFrame::OnNcRButtonDblClk(UINT nHitTest, CPoint point)
{
  if (!FilterCurrent())
    SECFrameWnd::OnNcRButtonDblClk(nHitTest, point);
}

void SECDockableFrame::OnLButtonUp(UINT nFlags, CPoint point)
{
  if (!FilterCurrent())
    SECFrameWnd::OnLButtonUp(nFlags, point);
}

void SECDockableFrame::OnMouseMove(UINT nFlags, CPoint point)
{
  if (!FilterCurrent())
    SECFrameWnd::OnMouseMove(nFlags, point);
}

BOOL SECDockableFrame::OnNcActivate(BOOL bActive)
{
  BOOL bResult = SECFrameWnd::OnNcActivate(bActive);
  FilterAfterDefault();
  return bResult;
}

void SECDockableFrame::OnNcPaint()
{
  SECFrameWnd::OnNcPaint();
  FilterAfterDefault();
}

LRESULT SECDockableFrame::OnSetText(WPARAM, LPARAM)
{
  LRESULT lResult = Default();
  FilterAfterDefault();
  return lResult;
}

// Activation (WM_ACTIVATE, WM_MOUSEACTIVATE, a child's press) makes the frame its MDI frame's
// active dockable frame, and WM_DESTROY clears that; outside one the frame activates as any
// frame does.
void SECDockableFrame::MakeActiveDockedChild()
{
  SECMDIFrameWnd* pMDI = GetToolkitMDIFrame();
  if (pMDI != NULL && pMDI->GetDockedActiveChild() != this)
    pMDI->ActivateDockedChild(this);
}

void SECDockableFrame::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
  SECFrameWnd::OnActivate(nState, pWndOther, bMinimized);
  if (nState != WA_INACTIVE)
    MakeActiveDockedChild();
}

int SECDockableFrame::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
  int nResult = SECFrameWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
  MakeActiveDockedChild();
  return nResult;
}

void SECDockableFrame::OnParentNotify(UINT message, LPARAM lParam)
{
  SECFrameWnd::OnParentNotify(message, lParam);
  if (LOWORD(message) == WM_LBUTTONDOWN || LOWORD(message) == WM_RBUTTONDOWN ||
      LOWORD(message) == WM_MBUTTONDOWN)
    MakeActiveDockedChild();
}

void SECDockableFrame::OnDestroy()
{
  SECMDIFrameWnd* pMDI = GetToolkitMDIFrame();
  if (pMDI != NULL && pMDI->GetDockedActiveChild() == this)
    pMDI->DeactivateDockedChild(FALSE);
  SECFrameWnd::OnDestroy();
}
