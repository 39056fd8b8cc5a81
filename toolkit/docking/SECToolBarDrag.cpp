// Rearranging toolbar buttons by dragging them: the customise selection, the drag and the drop.
#include "SECCustomToolBar.h"
#include "SECFrameWnd.h"
#include "SECSysData.h"
#include "SECToolBarManager.h"
#include "SECToolBars_res.h"
#include <afxpriv.h>

void SECCustomToolBar::SetConfigMode(BOOL bConfig)
{
  if (m_bConfig == bConfig)
    return;
  ClearSelection(FALSE);
  m_bConfig = bConfig;
  if (m_hWnd != NULL)
    Invalidate();
}

void SECCustomToolBar::SelectButton(int nIndex, BOOL bRedraw)
{
  SECToolBarManager* pMgr = GetManager();
  if (pMgr != NULL && pMgr->m_pSelectedBar == this && m_nSelected == nIndex)
    return;
  if (pMgr != NULL && pMgr->m_pSelectedBar != NULL)
    pMgr->m_pSelectedBar->ClearSelection(bRedraw);
  if (pMgr != NULL)
    pMgr->m_pSelectedBar = this;
  m_nSelected = nIndex;
  SECStdBtn* pBtn = GetButton(nIndex);
  if (pBtn != NULL) {
    pBtn->m_nStyle |= SEC_TBBS_SELECTED;
    if (bRedraw && m_hWnd != NULL) {
      pBtn->Invalidate();
      UpdateWindow();
    }
  }
  NotifyBarChange(SEC_BARNOTIFY_SELECTION);
}

void SECCustomToolBar::SelectButtonObject(SECStdBtn* pBtn, BOOL bRedraw)
{
  int n = IndexOfButton(pBtn);
  if (n >= 0)
    SelectButton(n, bRedraw);
  else
    ClearSelection(bRedraw);
}

void SECCustomToolBar::ClearSelection(BOOL bRedraw)
{
  SECToolBarManager* pMgr = GetManager();
  if (pMgr == NULL || pMgr->m_pSelectedBar != this)
    return;
  SECStdBtn* pBtn = GetButton(m_nSelected);
  pMgr->m_pSelectedBar = NULL;
  m_nSelected = -1;
  if (pBtn != NULL) {
    pBtn->m_nStyle &= ~SEC_TBBS_SELECTED;
    if (bRedraw && m_hWnd != NULL) {
      pBtn->Invalidate();
      UpdateWindow();
    }
  }
  NotifyBarChange(SEC_BARNOTIFY_SELECTION);
}

BOOL SECCustomToolBar::DragButton(int nIndex, int x, int y)
{
  SECStdBtn* pBtn = GetButton(nIndex);
  if (pBtn == NULL)
    return TRUE;
  return SECDragButton(GetManager(), pBtn, nIndex, x, y, this, this, IsCopyDrag());
}

namespace {
SECCustomToolBar* ToolBarUnder(CPoint pt)
{
  CWnd* pWnd = CWnd::WindowFromPoint(pt);
  if (pWnd == NULL)
    return NULL;
  SECCustomToolBar* pBar = DYNAMIC_DOWNCAST(SECCustomToolBar, pWnd);
  if (pBar != NULL)
    return pBar;
  if (pWnd->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd))) {
    CWnd* pDock = pWnd->GetWindow(GW_CHILD);
    if (pDock != NULL && pDock->IsKindOf(RUNTIME_CLASS(CDockBar)))
      return DYNAMIC_DOWNCAST(SECCustomToolBar, pDock->GetWindow(GW_CHILD));
  }
  return NULL;
}

// A new floating toolbar holding the dropped command, its first button at the drop point.
void NewToolBarFromDrop(SECToolBarManager* pMgr, UINT nID, CPoint pt, BOOL bSelect)
{
  if (pMgr == NULL)
    return;
  SECCustomToolBar* pBar = pMgr->CreateNewToolBar(NULL);
  if (pBar == NULL)
    return;
  pBar->InsertButton(0, nID, FALSE, TRUE);
  if (bSelect)
    pBar->SelectButton(0, FALSE);
  CRect rc(pt, CSize(0, 0));
  ::AdjustWindowRectEx(&rc, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, FALSE,
                       WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE);
  CPoint ptFloat(rc.left - (pBar->m_cxLeftBorder + secData.m_cxBorder),
                 rc.top - (pBar->m_cyTopBorder + secData.m_cyBorder));
  CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, pBar->GetParent());
  if (pFrame == NULL)
    return;
  SECFrameWnd* pSEC = DYNAMIC_DOWNCAST(SECFrameWnd, pFrame);
  if (pSEC != NULL)
    pSEC->FloatControlBar(pBar, ptFloat, CBRS_ALIGN_TOP);
  else
    pFrame->FloatControlBar(pBar, ptFloat, CBRS_ALIGN_TOP);
}
}  // namespace

BOOL SECDragButton(SECToolBarManager* pMgr, SECStdBtn* pBtn, int nIndex, int x, int y,
                   SECCustomToolBar* pSource, CWnd* pTrackWnd, BOOL bCopy)
{
  if (!pBtn->CanDrag())
    return TRUE;
  if (pSource != NULL)
    pSource->SelectButtonObject(pBtn, TRUE);
  else if (pMgr != NULL && pMgr->m_pSelectedBar != NULL)
    pMgr->m_pSelectedBar->ClearSelection(TRUE);
  SECToolBarRectTracker tracker;
  tracker.m_rect = pBtn->GetRect();
  HCURSOR hOldCursor = NULL;
  if (bCopy) {
    HCURSOR hCopy = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_SEC_COPYBUTTON));
    if (hCopy != NULL)
      hOldCursor = ::SetCursor(hCopy);
  }
  BOOL bTracked = tracker.TrackFrom(pTrackWnd, CPoint(x, y));
  if (hOldCursor != NULL)
    ::SetCursor(hOldCursor);
  if (!bTracked)
    return TRUE;
  CRect rc = tracker.m_rect;
  rc.NormalizeRect();
  pTrackWnd->ClientToScreen(&rc);
  UINT nID = pBtn->m_nID;
  SECCustomToolBar* pTarget = pMgr != NULL ? pMgr->ToolBarFromRect(rc) : NULL;
  const CPoint corners[4] = {rc.TopLeft(), CPoint(rc.right, rc.top), CPoint(rc.left, rc.bottom),
                             rc.BottomRight()};
  for (int i = 0; pTarget == NULL && i < 4; i++)
    pTarget = ToolBarUnder(corners[i]);
  if (pTarget != NULL) {
    if (pSource != NULL && (pSource->m_dwFlags & 1) && pTarget != pSource)
      return TRUE;
    if (pTarget->AcceptsDrops()) {
      CRect rcClient = rc;
      pTarget->ScreenToClient(&rcClient);
      return pTarget->DropButton(rcClient, pBtn, bCopy, FALSE);
    }
    if (bCopy)
      return TRUE;
  } else {
    if (pMgr != NULL) {
      CRect rcDlg;
      pMgr->GetCustomizeDlgRect(rcDlg);
      CRect rcAnd;
      if (!rcDlg.IsRectEmpty() && rcAnd.IntersectRect(&rc, &rcDlg))
        return TRUE;
    }
    if (bCopy) {
      NewToolBarFromDrop(pMgr, nID, rc.TopLeft(),
                         !(SECCustomToolBar::s_bAltDrag && pSource != NULL));
      return TRUE;
    }
  }
  // a move to no toolbar: the button leaves its toolbar
  if (pSource == NULL)
    return TRUE;
  pSource->ClearSelection(FALSE);
  return pSource->RemoveButton(nIndex, FALSE);
}

BOOL SECCustomToolBar::DropButton(CRect rect, SECStdBtn* pBtn, BOOL bCopy, BOOL bNoRedraw)
{
  CRect rcIn;
  GetClientRect(&rcIn);
  CRect rcBorder(0, 0, 0, 0);
  CalcInsideRectEx(rcBorder, !(m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) || IsFloating());
  rcIn.left += rcBorder.left;
  rcIn.top += rcBorder.top;
  rcIn.right += rcBorder.right;
  rcIn.bottom += rcBorder.bottom;
  UINT nID = pBtn->m_nID;
  BOOL bResult = TRUE;
  SECToolBarManager* pMgr = GetManager();
  SECCustomToolBar* pSelBar = pMgr != NULL ? pMgr->m_pSelectedBar : NULL;
  // a move takes the dragged button from where it was
  auto removeSource = [&]() {
    if (bCopy || pSelBar == NULL)
      return;
    if (pSelBar == this) {
      RemoveButton(m_nSelected, TRUE);
    } else {
      int n = pSelBar->m_nSelected;
      pSelBar->ClearSelection(FALSE);
      bResult = pSelBar->RemoveButton(n, FALSE);
    }
  };
  int nIndex = -1;
  BOOL bRowDrop = FALSE;
  if (GetBtnCount() == 0) {
    removeSource();
    nIndex = 0;
  } else if (pSelBar == this && !bCopy && GetBtnCount() == 1) {
    return TRUE;
  } else if (rect.bottom < rcIn.top) {
    removeSource();
    InsertButton(0, 0, TRUE, TRUE);
    nIndex = 0;
  } else if (rect.top > rcIn.bottom) {
    removeSource();
    InsertButton(GetBtnCount(), 0, TRUE, TRUE);
    nIndex = GetBtnCount();
  } else {
    bRowDrop = TRUE;
    // the drop row
    int n = GetBtnCount();
    int nRowFirst = 0, nRowLast = n - 1;
    int yAcc = rcIn.top, yMid = (rect.top + rect.bottom) / 2;
    for (int i = 0, nFirst = 0; i < n; i++) {
      SECStdBtn* p = GetButton(i);
      if (!(p->m_nStyle & SEC_TBBS_WRAPPED) && i + 1 < n)
        continue;
      yAcc += p->m_cy + ((p->m_nStyle & SEC_TBBS_SEPARATOR) ? m_nSepWidth * 2 / 3 : 0);
      nRowFirst = nFirst;
      nRowLast = i;
      if (yAcc >= yMid)
        break;
      nFirst = i + 1;
    }
    while (nRowLast > nRowFirst && (GetButton(nRowLast)->m_nStyle & SEC_TBBS_SEPARATOR))
      nRowLast--;
    // nudging the selected button sideways
    if (pSelBar == this && m_nSelected >= nRowFirst && m_nSelected <= nRowLast) {
      SECStdBtn* pSel = GetButton(m_nSelected);
      CRect S = pSel->GetRect(), D = rect;
      auto isSep = [this](int i) {
        SECStdBtn* p = GetButton(i);
        return p != NULL && (p->m_nStyle & SEC_TBBS_SEPARATOR);
      };
      int nSel = m_nSelected;
      if (D.left < S.left && S.left <= D.right) {
        if (S.left - D.left < 2)
          return TRUE;
        if (!bCopy) {
          if (isSep(nSel - 1))
            RemoveButton(nSel - 1, TRUE);
          else if (nSel + 1 < GetBtnCount() && !isSep(nSel + 1))
            InsertButton(nSel + 1, 0, TRUE, TRUE);
          if (!bNoRedraw)
            RecalcAndPaint();
          return TRUE;
        }
      } else if (D.left >= S.left && D.left <= S.right && S.right < D.right) {
        if (D.left - S.left < 2)
          return TRUE;
        if (!bCopy) {
          if (nSel == 0 || isSep(nSel - 1)) {
            if (isSep(nSel + 1))
              RemoveButton(nSel + 1, TRUE);
          } else {
            InsertButton(nSel, 0, TRUE, TRUE);
          }
          if (!bNoRedraw)
            RecalcAndPaint();
          return TRUE;
        }
      }
    }
    // the insertion index
    if (rect.left < rcIn.left) {
      nIndex = nRowFirst;
    } else {
      nIndex = nRowLast + 1;
      int xAcc = rcIn.left;
      for (int i = nRowFirst; i <= nRowLast; i++) {
        SECStdBtn* p = GetButton(i);
        if (p->m_nStyle & SEC_TBBS_HIDDEN)
          continue;
        xAcc += p->m_cx;
        if (xAcc > rect.left) {
          nIndex = i + 1;
          break;
        }
      }
    }
    if (!bCopy && pSelBar == this) {
      if (nIndex == m_nSelected)
        return TRUE;
      int nSel = m_nSelected;
      RemoveButton(nSel, TRUE);
      if (nIndex > nSel)
        nIndex--;
    } else if (!bCopy && pSelBar != NULL) {
      int n2 = pSelBar->m_nSelected;
      pSelBar->ClearSelection(FALSE);
      bResult = pSelBar->RemoveButton(n2, FALSE);
    }
  }
  if (bRowDrop) {
    SECStdBtn* p = GetButton(nIndex);
    if (p != NULL && (p->m_nStyle & SEC_TBBS_SEPARATOR) && !(p->m_nStyle & SEC_TBBS_WRAPPED) &&
        p->m_x >= rect.left + 2 && p->m_x + p->m_cx <= rect.right)
      RemoveButton(nIndex, TRUE);
  }
  InsertButton(nIndex, nID, FALSE, bNoRedraw);
  if (!s_bAltDrag)
    SelectButton(nIndex, TRUE);
  if (!bNoRedraw)
    RecalcAndPaint();
  return bResult;
}

void SECCustomToolBar::RecalcAndPaint()
{
  if (m_hWnd == NULL)
    return;
  CFrameWnd* pFrame = GetParentFrame();
  if (pFrame != NULL)
    pFrame->RecalcLayout();
  Invalidate();
}
