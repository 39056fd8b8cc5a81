// The toolkit bar's dock context.
#include "SECDockContext.h"
#include "SECControlBar.h"
#include "SECDockBar.h"
#include "SECFrameWnd.h"

void SECDockContext::ToggleDocking()
{
  SECFrameWnd* pFrame = DYNAMIC_DOWNCAST(SECFrameWnd, m_pBar->m_pDockSite);
  SECControlBar* pSEC = DYNAMIC_DOWNCAST(SECControlBar, m_pBar);
  if (pFrame == NULL || pSEC == NULL) {
    CDockContext::ToggleDocking();
    return;
  }
  m_pDockSite = pFrame;
  if (m_pBar->IsFloating()) {
    if (!(m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY))
      return;  // docking is switched off
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
        return;
    }
    pSEC->m_fPctWidth = pSEC->m_fSavedPctWidth;
    CRect rect = m_rectMRUDockPos;
    pDockBar->ClientToScreen(&rect);
    pFrame->ReDockControlBar(m_pBar, pDockBar, bHolder || m_uMRUDockID == 0 ? NULL : &rect);
    m_bPrevFloating = TRUE;
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
  pFrame->FloatControlBar(m_pBar, ptFloat, dwStyle & CBRS_ALIGN_ANY);
  m_bPrevFloating = FALSE;
}
