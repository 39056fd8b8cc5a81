// The toolkit's dock bar: rows laid out by shares, splitters, expansion and place-holders.
#include "SECDockBar.h"
#include "SECDockBars_res.h"
#include "SECControlBar.h"
#include "SECCustomToolBar.h"
#include "SECDockLayout.h"
#include "SECSysData.h"
#include <afxpriv.h>
#include <algorithm>
#include <climits>

IMPLEMENT_DYNCREATE(SECDockBar, CDockBar)

BEGIN_MESSAGE_MAP(SECDockBar, CDockBar)
  ON_WM_DESTROY()
  ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_SETCURSOR()
END_MESSAGE_MAP()

BOOL SECDockBar::s_bRedrawSwitch = TRUE;

namespace {
inline bool IsPlaceHolder(void* p) { return p != NULL && (UINT_PTR)p < 0x10000; }
inline SECControlBar* AsSEC(CControlBar* pBar)
{
  return pBar != NULL ? DYNAMIC_DOWNCAST(SECControlBar, (CObject*)pBar) : NULL;
}
inline bool IsWidthDriven(CControlBar* pBar)
{
  SECControlBar* p = AsSEC(pBar);
  return p == NULL || (p->m_dwExStyle & CBRS_EX_UNIDIRECTIONAL) != 0;
}
}  // namespace

SECDockBar::SECDockBar(BOOL bFloating, int nKind)
    : CDockBar(bFloating), m_nKind(nKind), m_fMinShare(0.05f), m_bLayoutPending(FALSE),
      m_pChangedBar(NULL)
{
}

SECDockBar::~SECDockBar() {}

CFrameWnd* SECDockBar::DockSite() const
{
  return m_pDockSite != NULL ? m_pDockSite : const_cast<SECDockBar*>(this)->GetParentFrame();
}

// ---------------------------------------------------------------------------------------------
// Rows

int SECDockBar::RowStart(int nIndex) const
{
  while (nIndex > 1 && m_arrBars[nIndex - 1] != NULL)
    nIndex--;
  return nIndex;
}

int SECDockBar::RowEnd(int nIndex) const
{
  int nSize = (int)m_arrBars.GetSize();
  while (nIndex < nSize && m_arrBars[nIndex] != NULL)
    nIndex++;
  return nIndex;
}

CControlBar* SECDockBar::GetFirstDockedBar() const
{
  return m_arrBars.GetSize() >= 2 ? GetDockedControlBar(1) : NULL;
}

void SECDockBar::GetRowBars(CPtrArray& arr, CControlBar* pBar)
{
  arr.RemoveAll();
  int nPos = FindBar(pBar);
  if (nPos <= 0)
    return;
  for (int i = RowStart(nPos), nEnd = RowEnd(nPos); i < nEnd; i++)
    if (GetDockedControlBar(i) != NULL)
      arr.Add(GetDockedControlBar(i));
}

DWORD SECDockBar::BarMode(CControlBar* pBar) const
{
  if (m_bFloating && (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC))
    return LM_HORZ | LM_MRUWIDTH | LM_LENGTHY;
  if (IsHorz())
    return LM_HORZ | LM_HORZDOCK | LM_LENGTHY;
  return LM_VERTDOCK;
}

BOOL SECDockBar::FindBarRow(CControlBar* pBar, int& nRow, int& nCol, int& nThick)
{
  int nPos = FindBar(pBar);
  if (nPos <= 0 || !pBar->IsVisible())
    return FALSE;
  nRow = 0;
  for (int i = 1; i < nPos; i++)
    if (m_arrBars[i] == NULL)
      nRow++;
  nCol = 0;
  nThick = 0;
  for (int i = RowStart(nPos), nEnd = RowEnd(nPos); i < nEnd; i++) {
    CControlBar* p = GetDockedControlBar(i);
    if (p == NULL)
      continue;
    if (i < nPos)
      nCol++;
    DWORD dwMode = BarMode(p);
    CSize size = p->CalcDynamicLayout(-1, dwMode);
    int n = (dwMode & LM_HORZ) ? size.cy : size.cx;
    if (n > nThick)
      nThick = n;
  }
  return TRUE;
}

BOOL SECDockBar::IsAloneInRow(CControlBar* pBar)
{
  int nPos = FindBar(pBar);
  if (nPos <= 0)
    return TRUE;
  for (int i = RowStart(nPos), nEnd = RowEnd(nPos); i < nEnd; i++) {
    CControlBar* p = GetDockedControlBar(i);
    if (p != NULL && p != pBar && p->IsVisible())
      return FALSE;
  }
  return TRUE;
}

BOOL SECDockBar::IsBarExpanded(CControlBar* pBar)
{
  int nPos = FindBar(pBar);
  if (nPos <= 0)
    return FALSE;
  CControlBar* pBig = NULL;
  int nBig = 0;
  for (int i = RowStart(nPos), nEnd = RowEnd(nPos); i < nEnd; i++) {
    SECControlBar* p = AsSEC(GetDockedControlBar(i));
    if (p != NULL && p->IsVisible() && p->m_fPctWidth > m_fMinShare + 1e-6f) {
      nBig++;
      pBig = p;
    }
  }
  return nBig <= 1 && pBig == pBar;
}

void SECDockBar::UpdateMinShare()
{
  CRect rect;
  GetClientRect(&rect);
  m_fMinShare = SECDockLayout::MinShare(IsHorz() ? rect.Width() : rect.Height());
}

void SECDockBar::NormalizeRowShares(int nFirst)
{
  std::vector<SECControlBar*> bars;
  std::vector<float> shares;
  int nKeep = -1;
  for (int i = nFirst, nEnd = RowEnd(nFirst); i < nEnd; i++) {
    SECControlBar* p = AsSEC(GetDockedControlBar(i));
    if (p != NULL && p->IsVisible()) {
      if (p == m_pChangedBar)
        nKeep = (int)bars.size();
      bars.push_back(p);
      shares.push_back(p->m_fPctWidth);
    }
  }
  SECDockLayout::NormalizeShares(shares, m_fMinShare, nKeep);
  for (size_t i = 0; i < bars.size(); i++)
    bars[i]->m_fPctWidth = shares[i];
  // No share may stay below the minimum: what raising one costs is carried to the next;
  // a carry left after a second pass goes to the changed bar, else to the row's first.
  float fCarry = 0.0f;
  for (int nPass = 0; nPass < 2; nPass++)
    for (SECControlBar* p : bars)
      ClampShare(fCarry, p);
  if (fCarry != 0.0f && !bars.empty())
    (nKeep >= 0 ? bars[nKeep] : bars[0])->m_fPctWidth += fCarry;
}

void SECDockBar::ClampShare(float& fCarry, SECControlBar* pBar)
{
  float f = pBar->m_fPctWidth + fCarry;
  if (f < m_fMinShare) {
    fCarry = f - m_fMinShare;
    f = m_fMinShare;
  } else {
    fCarry = 0.0f;
  }
  pBar->m_fPctWidth = f;
}

DWORD SECDockBar::ThicknessMode(CControlBar* pBar, BOOL& bCy) const
{
  if (m_bFloating && (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC)) {
    bCy = TRUE;
    return LM_HORZ | LM_MRUWIDTH | LM_LENGTHY;
  }
  bCy = IsHorz();
  return bCy ? LM_HORZ | LM_HORZDOCK | LM_LENGTHY : LM_VERTDOCK;
}

int SECDockBar::RowThickness(int nFirst)
{
  int nThick = 0;
  for (int i = nFirst, nEnd = RowEnd(nFirst); i < nEnd; i++) {
    CControlBar* p = GetDockedControlBar(i);
    if (p == NULL)
      continue;
    BOOL bCy;
    DWORD dwMode = ThicknessMode(p, bCy);
    CSize size = p->CalcDynamicLayout(-1, dwMode);
    nThick = std::max(nThick, (int)(bCy ? size.cy : size.cx));
  }
  return nThick;
}

void SECDockBar::SetRowThickness(int nFirst, int nThick)
{
  for (int i = nFirst, nEnd = RowEnd(nFirst); i < nEnd; i++) {
    CControlBar* p = GetDockedControlBar(i);
    if (p == NULL)
      continue;
    BOOL bCy;
    DWORD dwMode = ThicknessMode(p, bCy);
    p->CalcDynamicLayout(nThick, dwMode | LM_COMMIT);
  }
}

void SECDockBar::ShrinkRow(int nFirst, int nDelta)
{
  int nNew = RowThickness(nFirst) - nDelta;
  SetRowThickness(nFirst, nNew < 1 ? 1 : nNew);
}

int SECDockBar::ResizeBarByDelta(CControlBar* pBar, int nDelta, int nBase)
{
  SECControlBar* pSEC = AsSEC(pBar);
  if (pSEC == NULL || nBase <= 0)
    return nDelta;
  const BOOL bHorz = IsHorz();
  const DWORD dwMode = bHorz ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK | LM_LENGTHY;
  CSize size = pBar->CalcDynamicLayout(-1, dwMode);
  int nOld = bHorz ? size.cx : size.cy;
  int nNew = std::max(nOld + nDelta, SECDockLayout::kMinBarLength);
  float fShare = (float)nNew / (float)nBase;
  if (fShare < m_fMinShare) {
    fShare = m_fMinShare;
    nNew = std::max(nNew, (int)(fShare * (float)nBase));
  }
  pSEC->m_fPctWidth = fShare;
  pSEC->CalcDynamicLayout(nNew, dwMode | LM_COMMIT);
  MarkForRedraw(pSEC);
  return nDelta - (nNew - nOld);
}

void SECDockBar::MarkRowToolBarsForRedraw(CControlBar* pBar)
{
  CPtrArray row;
  GetRowBars(row, pBar);
  for (INT_PTR i = 0; i < row.GetSize(); i++) {
    CControlBar* p = (CControlBar*)row[i];
    if (p != NULL && p->IsKindOf(RUNTIME_CLASS(SECCustomToolBar)))
      MarkForRedraw(p);
  }
}

void SECDockBar::RedrawChangedBars()
{
  if (m_arrRedraw.GetSize() > 0 && m_hWnd != NULL)
    RedrawWindow(NULL, NULL, RDW_FRAME | RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
}

void SECDockBar::AddSplitter(BOOL bInRow, BOOL bVertical, const CRect& rect, int nIndex)
{
  m_arrSplitters.push_back(Splitter{bVertical, bInRow, rect, nIndex});
}

void SECDockBar::AddClientEdge(BOOL bVertical, const CRect& rect)
{
  m_arrClientEdges.push_back(ClientEdge{bVertical, rect});
}

LRESULT SECDockBar::OnSizeParent(WPARAM wParam, LPARAM lParam)
{
  // While the switch is on, moves go without redrawing only when a layout is pending (the
  // redraw list then repaints them); a plain frame resize redraws as it goes.
  const BOOL bOld = s_bRedrawSwitch;
  if (s_bRedrawSwitch)
    s_bRedrawSwitch = m_bLayoutPending;
  LRESULT lResult = CDockBar::OnSizeParent(wParam, lParam);
  s_bRedrawSwitch = bOld;
  return lResult;
}

void SECDockBar::ExpandBar(CControlBar* pBar, int nMode)
{
  int nPos = FindBar(pBar);
  if (nPos <= 0)
    return;
  int nFirst = RowStart(nPos);
  for (int i = nFirst, nEnd = RowEnd(nPos); i < nEnd; i++) {
    SECControlBar* p = AsSEC(GetDockedControlBar(i));
    if (p != NULL)
      p->m_fPctWidth = nMode == 1 ? (p == pBar ? 1.0f : 0.0f) : 0.1f;
  }
  // Contracting shares the row equally: no share is kept.
  m_pChangedBar = nMode == 1 ? AsSEC(pBar) : NULL;
  NormalizeRowShares(nFirst);
  MarkFrom(nFirst);
  if (DockSite() != NULL)
    DockSite()->DelayRecalcLayout();
}

void SECDockBar::MarkForRedraw(CControlBar* pBar)
{
  if (pBar == NULL)
    return;
  for (INT_PTR i = 0; i < m_arrRedraw.GetSize(); i++)
    if (m_arrRedraw[i] == pBar)
      return;
  m_arrRedraw.Add(pBar);
}

// The bars whose place shifts when the entry at nIndex changes.
void SECDockBar::MarkFrom(int nIndex)
{
  BOOL bAfter = (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT)) != 0;
  int nSize = (int)m_arrBars.GetSize();
  for (int i = bAfter ? nIndex : 1; i < (bAfter ? nSize : nIndex + 1); i++)
    MarkForRedraw(GetDockedControlBar(i));
}

void SECDockBar::OnBarVisibilityChanged(CControlBar* pBar)
{
  int nPos = FindBar(pBar);
  if (nPos > 0 && IsAloneInRow(pBar))
    MarkFrom(nPos);
  MarkForRedraw(pBar);
  m_pChangedBar = AsSEC(pBar);
}

// ---------------------------------------------------------------------------------------------
// Docking

int SECDockBar::InsertAt(int nIndex, CControlBar* pBar)
{
  m_arrBars.InsertAt(nIndex, pBar);
  SECControlBar* pSEC = AsSEC(pBar);
  if (pSEC != NULL && (pSEC->m_dwExStyle & CBRS_EX_OWNROW)) {
    if (m_arrBars[nIndex - 1] != NULL) {
      m_arrBars.InsertAt(nIndex, (void*)NULL);
      nIndex++;
    }
    if (nIndex + 1 < m_arrBars.GetSize() && m_arrBars[nIndex + 1] != NULL)
      m_arrBars.InsertAt(nIndex + 1, (void*)NULL);
  } else {
    // Beside a bar that wants its row alone: a row break between them.
    SECControlBar* pPrev = AsSEC(GetDockedControlBar(nIndex - 1));
    SECControlBar* pNext = AsSEC(GetDockedControlBar(nIndex + 1));
    if (pNext != NULL && (pNext->m_dwExStyle & CBRS_EX_OWNROW))
      m_arrBars.InsertAt(nIndex + 1, (void*)NULL);
    if (pPrev != NULL && (pPrev->m_dwExStyle & CBRS_EX_OWNROW)) {
      m_arrBars.InsertAt(nIndex, (void*)NULL);
      nIndex++;
    }
  }
  if (m_arrBars[m_arrBars.GetSize() - 1] != NULL)
    m_arrBars.Add(NULL);
  return nIndex;
}

int SECDockBar::InsertAtRowCol(CControlBar* pBar, const Position& pos)
{
  if (m_arrBars.GetSize() <= 1) {
    m_arrBars.SetSize(1);
    m_arrBars.Add(NULL);
    return InsertAt(1, pBar);
  }
  std::vector<int> rowStarts;
  int nSize = (int)m_arrBars.GetSize();
  for (int i = 1; i < nSize; i = RowEnd(i) + 1)
    rowStarts.push_back(i);
  int nRows = (int)rowStarts.size();
  int nRow = (pos.nFlags & 1) ? nRows - 1 - pos.nRow : pos.nRow;
  if (nRow < 0) {
    for (int i = 0; i < -nRow - 1; i++)
      m_arrBars.InsertAt(1, (void*)NULL);
    m_arrBars.InsertAt(1, (void*)NULL);
    return InsertAt(1, pBar);
  }
  if (nRow >= nRows) {
    int nAt = (int)m_arrBars.GetSize();
    m_arrBars.Add(NULL);
    return InsertAt(nAt, pBar);
  }
  int nStart = rowStarts[nRow], nEnd = RowEnd(nStart);
  std::vector<int> visible;
  for (int i = nStart; i < nEnd; i++) {
    CControlBar* p = GetDockedControlBar(i);
    if (p != NULL && p != pBar && p->IsVisible())
      visible.push_back(i);
  }
  if ((pos.nFlags & 4) || visible.empty()) {
    if (pos.nFlags & 4)
      m_arrBars.InsertAt(nStart, (void*)NULL);
    return InsertAt(nStart, pBar);
  }
  int nCol = (pos.nFlags & 2) ? (int)visible.size() - pos.nCol : pos.nCol;
  if (nCol <= 0)
    return InsertAt(nStart, pBar);
  if (nCol > (int)visible.size())
    nCol = (int)visible.size();
  return InsertAt(visible[nCol - 1] + 1, pBar);
}

void SECDockBar::DockControlBarAtPos(CControlBar* pBar, const Position& pos)
{
  CDockBar* pOldDockBar = pBar->m_pDockBar;
  if (pOldDockBar == this) {
    int nOld = FindBar(pBar);
    if (nOld > 0)
      m_arrBars.RemoveAt(nOld);
    RemoveEmptyRows();
  }
  AttachBar(pBar);
  int nIndex = InsertAtRowCol(pBar, pos);
  MarkForRedraw(pBar);
  MarkForRedraw(GetDockedControlBar(nIndex + 1));
  pBar->m_pDockBar = this;
  if (pOldDockBar != NULL && pOldDockBar != this)
    pOldDockBar->RemoveControlBar(pBar, -1, 0);
  RemovePlaceHolder(pBar);
  if (DockSite() != NULL)
    DockSite()->DelayRecalcLayout();
}

void SECDockBar::DockControlBarAt(CControlBar* pBar, int nCol, int nRow)
{
  DockControlBarAtPos(pBar, Position{nRow, nCol, 0});
}

void SECDockBar::InsertBarAt(CControlBar* pBar, int nCol, int nRow)
{
  InsertAtRowCol(pBar, Position{nRow, nCol, 0});
}

void SECDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect)
{
  CRect rectBar;
  pBar->GetWindowRect(&rectBar);
  if (pBar->m_pDockBar == this) {
    if (lpRect == NULL || rectBar == *lpRect)
      return;  // already there
    if (!IsWidthDriven(pBar) || AsSEC(pBar) == NULL) {
      // Dropped on or next to its own entry: it stays.
      CRect rect(*lpRect);
      ScreenToClient(&rect);
      int nNow = FindBar(pBar), nWould = GetInsertIndex(rect);
      if (nNow > 0 && nWould >= nNow - 1 && nWould <= nNow + 1)
        return;
    }
  }
  CDockBar* pOldDockBar = pBar->m_pDockBar;
  if (pOldDockBar != NULL && pOldDockBar->m_hWnd != NULL) {
    CRect rectOld(rectBar);
    pOldDockBar->ScreenToClient(&rectOld);
    pOldDockBar->InvalidateRect(&rectOld);
  }
  if (pOldDockBar == this) {
    int nOld = FindBar(pBar);
    if (nOld > 0)
      m_arrBars.RemoveAt(nOld);
    RemoveEmptyRows();
  }
  // Into this window first: the floating frame it leaves may go with its last bar.
  AttachBar(pBar);
  CPoint ptPos(-secData.m_cxBorder, -secData.m_cyBorder);  // just off the corner
  RemovePlaceHolder(pBar);
  if (lpRect != NULL) {
    CRect rect(*lpRect);
    ScreenToClient(&rect);
    InsertAtPoint(pBar, rect, rect.CenterPoint());
    ptPos = rect.TopLeft();
  } else {
    if (m_arrBars.GetSize() == 0 || m_arrBars[m_arrBars.GetSize() - 1] != NULL)
      m_arrBars.Add(NULL);
    m_arrBars.Add(pBar);
    m_arrBars.Add(NULL);
  }
  // The next layout sizes it.
  pBar->SetWindowPos(NULL, ptPos.x, ptPos.y, 0, 0, SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
  pBar->m_pDockBar = this;
  if (pOldDockBar != NULL && pOldDockBar != this)
    pOldDockBar->RemoveControlBar(pBar, -1, m_bFloating && !pOldDockBar->m_bFloating);
  m_pChangedBar = AsSEC(pBar);
  if (DockSite() != NULL)
    DockSite()->DelayRecalcLayout();
}

void SECDockBar::ReDockControlBar(CControlBar* pBar, LPCRECT lpRect)
{
  CRect rectBar;
  pBar->GetWindowRect(&rectBar);
  if (pBar->m_pDockBar == this && (lpRect == NULL || rectBar == *lpRect))
    return;
  CDockBar* pOldDockBar = pBar->m_pDockBar;
  if (pOldDockBar == this) {
    int nOld = FindBar(pBar);
    if (nOld > 0)
      m_arrBars.RemoveAt(nOld);
    RemoveEmptyRows();
  }
  AttachBar(pBar);
  int nHolder = FindBar((CControlBar*)(UINT_PTR)(pBar->GetDlgCtrlID() & 0xFFFF));
  CRect rect(-secData.m_cxBorder, -secData.m_cyBorder, -secData.m_cxBorder,
             -secData.m_cyBorder);
  BOOL bSize = FALSE;
  if (lpRect != NULL) {
    rect = *lpRect;
    ScreenToClient(&rect);
    rect.right++;  // one pixel wider
    bSize = TRUE;
  }
  if (nHolder > 0) {
    m_arrBars[nHolder] = pBar;
    RemovePlaceHolder(pBar);  // any second one
  } else if (lpRect != NULL) {
    InsertAtPoint(pBar, rect, rect.CenterPoint());
  } else {
    if (m_arrBars.GetSize() == 0 || m_arrBars[m_arrBars.GetSize() - 1] != NULL)
      m_arrBars.Add(NULL);
    m_arrBars.Add(pBar);
    m_arrBars.Add(NULL);
  }
  UINT nFlags = SWP_NOZORDER | SWP_NOACTIVATE | (bSize ? 0 : SWP_NOSIZE);
  if (pBar->IsVisible())
    nFlags |= SWP_SHOWWINDOW;
  pBar->SetWindowPos(NULL, rect.left, rect.top, rect.Width(), rect.Height(), nFlags);
  if (pBar->IsVisible())
    pBar->DelayShow(TRUE);
  pBar->m_pDockBar = this;
  if (pOldDockBar != NULL && pOldDockBar != this)
    pOldDockBar->RemoveControlBar(pBar, -1, m_bFloating && !pOldDockBar->m_bFloating);
  m_pChangedBar = AsSEC(pBar);
  if (DockSite() != NULL)
    DockSite()->DelayRecalcLayout();
}

int SECDockBar::InsertAsFirstRow(CControlBar* pBar)
{
  if (m_arrBars.GetSize() == 0)
    m_arrBars.Add(NULL);
  m_arrBars.InsertAt(1, (void*)NULL);
  m_arrBars.InsertAt(1, pBar);
  return 1;
}

int SECDockBar::InsertAtPoint(CControlBar* pBar, const CRect& rect, CPoint ptMid)
{
  const BOOL bHorz = IsHorz();
  const int nMid = bHorz ? ptMid.y : ptMid.x;
  const int nLead = bHorz ? rect.left : rect.top;
  int nLastDocked = 0;
  for (int i = 1; i < (int)m_arrBars.GetSize(); i++) {
    CControlBar* p = GetDockedControlBar(i);
    if (p == NULL || p == pBar || !p->IsVisible())
      continue;
    nLastDocked = i;
    CRect rb;
    p->GetWindowRect(&rb);
    ScreenToClient(&rb);
    if ((bHorz ? rb.bottom : rb.right) < nMid)
      continue;  // a row before the centre
    if (nMid < (bHorz ? rb.top : rb.left))
      return InsertAsFirstRow(pBar);
    if (nLead < (bHorz ? rb.left : rb.top))
      return InsertAt(i, pBar);
    BOOL bLastOfRow = TRUE;
    for (int j = i + 1; j < (int)m_arrBars.GetSize() && m_arrBars[j] != NULL; j++) {
      CControlBar* q = GetDockedControlBar(j);
      if (q != NULL && q != pBar && q->IsVisible())
        bLastOfRow = FALSE;
    }
    if (bLastOfRow)
      return InsertAt(i + 1, pBar);
  }
  // Past every bar: a new last row after the last docked bar.
  int nCut = nLastDocked > 0 ? RowEnd(nLastDocked) + 1 : 1;
  if (nCut < (int)m_arrBars.GetSize())
    m_arrBars.SetSize(nCut);
  if (m_arrBars.GetSize() == 0)
    m_arrBars.Add(NULL);
  if (m_arrBars[m_arrBars.GetSize() - 1] != NULL)
    m_arrBars.Add(NULL);
  int nIndex = (int)m_arrBars.Add(pBar);
  m_arrBars.Add(NULL);
  m_bLayoutPending = TRUE;
  return nIndex;
}

int SECDockBar::GetInsertIndex(const CRect& rect)
{
  const BOOL bHorz = IsHorz();
  const CPoint ptMid = rect.CenterPoint();
  const int nAcross = bHorz ? ptMid.y : ptMid.x;
  const int nLead = bHorz ? rect.left : rect.top;
  CRect rectInside(0, 0, 0, 0);
  CalcInsideRect(rectInside, bHorz);
  int nRowStart = bHorz ? rectInside.top : rectInside.left;
  int nSize = (int)m_arrBars.GetSize();
  for (int nPos = 1; nPos < nSize;) {
    int nEnd = RowEnd(nPos);
    int nThick = 0;
    for (int i = nPos; i < nEnd; i++) {
      CControlBar* p = GetDockedControlBar(i);
      if (p == NULL || !p->IsVisible())
        continue;
      CRect rb;
      p->GetWindowRect(&rb);
      nThick = std::max(nThick, (int)(bHorz ? rb.Height() : rb.Width()) - secData.m_cxBorder);
    }
    if (nThick > 0) {
      if (nAcross < nRowStart + nThick) {
        int nAfter = nPos - 1;
        for (int i = nPos; i < nEnd; i++) {
          CControlBar* p = GetDockedControlBar(i);
          if (p == NULL || !p->IsVisible())
            continue;
          CRect rb;
          p->GetWindowRect(&rb);
          ScreenToClient(&rb);
          if ((bHorz ? rb.left : rb.top) < nLead)
            nAfter = i;
        }
        return nAfter + 1;
      }
      nRowStart += nThick;
    }
    nPos = nEnd + 1;
  }
  return nSize;
}

// ---------------------------------------------------------------------------------------------
// Drag feedback

void SECDockBar::CalcDragRect(CControlBar* pBar, CRect& rect, CPoint pt, int& nLastRow,
                              CRect& rectLast, CPoint& ptLast)
{
  SECControlBar* pSEC = AsSEC(pBar);
  if (pSEC == NULL || (pSEC->m_dwExStyle & CBRS_EX_UNIDIRECTIONAL))
    return;  // toolbars show their own outline
  const BOOL bHorz = IsHorz();
  CRect rectDock;
  GetWindowRect(&rectDock);
  const CPoint mid = rect.CenterPoint();
  const int nMidAcross = bHorz ? mid.y : mid.x;
  // The row under the centre: its extent across, and the shares of the other bars in it.
  int nRow = -1, nAcross0 = 0, nAcross1 = 0;
  float fShares = 0.0f;
  BOOL bOthers = FALSE;
  for (int nPos = 1, r = 0; nPos < m_arrBars.GetSize(); r++) {
    int nEnd = RowEnd(nPos);
    int a0 = INT_MAX, a1 = INT_MIN;
    float f = 0.0f;
    for (int i = nPos; i < nEnd; i++) {
      CControlBar* p = GetDockedControlBar(i);
      if (p == NULL || p == pBar || !p->IsVisible())
        continue;
      CRect rectBar;
      p->GetWindowRect(&rectBar);
      a0 = std::min(a0, bHorz ? (int)rectBar.top : (int)rectBar.left);
      a1 = std::max(a1, bHorz ? (int)rectBar.bottom : (int)rectBar.right);
      SECControlBar* q = AsSEC(p);
      if (q != NULL)
        f += q->m_fPctWidth;
    }
    if (a0 < a1 && nMidAcross >= a0 && nMidAcross < a1) {
      nRow = r;
      nAcross0 = a0;
      nAcross1 = a1;
      fShares = f;
      bOthers = TRUE;
      break;
    }
    nPos = nEnd + 1;
  }
  if (bOthers && nRow == nLastRow && !rectLast.IsRectEmpty()) {
    rect = rectLast;
    rect.OffsetRect(pt - ptLast);
  } else if (!bOthers) {
    if (bHorz) {
      rect.left = rectDock.left;
      rect.right = rectDock.right;
    } else {
      rect.top = rectDock.top;
      rect.bottom = rectDock.bottom;
    }
  } else {
    const float fShare = pSEC->m_fPctWidth > 0.0f ? pSEC->m_fPctWidth : m_fMinShare;
    const int nLength = (int)(fShare / (fShares + fShare) * (bHorz ? rectDock.Width() : rectDock.Height()));
    const int nThick = nAcross1 - nAcross0;
    const int cx = bHorz ? nLength : nThick;
    const int cy = bHorz ? nThick : nLength;
    // The mouse keeps its relative place in the outline.
    const double fx = rect.Width() > 0 ? (double)(pt.x - rect.left) / rect.Width() : 0.5;
    const double fy = rect.Height() > 0 ? (double)(pt.y - rect.top) / rect.Height() : 0.5;
    const int left = pt.x - (int)(fx * cx);
    const int top = pt.y - (int)(fy * cy);
    rect.SetRect(left, top, left + cx, top + cy);
  }
  nLastRow = bOthers ? nRow : -1;
  rectLast = rect;
  ptLast = pt;
}

// ---------------------------------------------------------------------------------------------
// Layout

CSize SECDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
  if (m_bFloating)
    return CDockBar::CalcFixedLayout(bStretch, bHorz);
  using namespace SECDockLayout;
  CRect rectInside(0, 0, 0, 0);
  CalcInsideRect(rectInside, bHorz);
  int nInsetsAlong = bHorz ? -rectInside.Width() : -rectInside.Height();
  int nInsetsAcross = bHorz ? -rectInside.Height() : -rectInside.Width();
  int nLength;
  if (!m_rectLayout.IsRectEmpty()) {
    nLength = bHorz ? m_rectLayout.Width() : m_rectLayout.Height();
  } else {
    CRect rectParent(0, 0, 0, 0);
    if (GetParent() != NULL)
      GetParent()->GetClientRect(&rectParent);
    nLength = bHorz ? rectParent.Width() : rectParent.Height();
  }
  nLength -= nInsetsAlong;
  m_fMinShare = MinShare(nLength);
  const int nAlong0 = bHorz ? rectInside.left : rectInside.top;
  // Which side of a row faces the frame's client area.
  const BOOL bClientAfter = (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT)) != 0;

  AFX_SIZEPARENTPARAMS layout;
  memset(&layout, 0, sizeof(layout));
  layout.hDWP = m_bLayoutQuery ? NULL : ::BeginDeferWindowPos((int)m_arrBars.GetSize());
  if (!m_bLayoutQuery) {
    m_arrSplitters.clear();
    m_arrClientEdges.clear();
  }
  auto place = [&](CControlBar* pBar, const CRect& rect) {
    if (m_bLayoutQuery)
      return;
    CRect rectOld;
    pBar->GetWindowRect(&rectOld);
    ScreenToClient(&rectOld);
    if (rectOld != rect) {
      AfxRepositionWindow(&layout, pBar->m_hWnd, &rect);
      MarkForRedraw(pBar);
    }
    if (pBar->m_pDockContext != NULL) {
      pBar->m_pDockContext->m_uMRUDockID = (UINT)GetDlgCtrlID();
      pBar->m_pDockContext->m_rectMRUDockPos = rect;
    }
  };
  auto mkRect = [bHorz](int nAlong, int nAcross, int nLen, int nThick) {
    return bHorz ? CRect(nAlong, nAcross, nAlong + nLen, nAcross + nThick)
                 : CRect(nAcross, nAlong, nAcross + nThick, nAlong + nLen);
  };

  int nAcross = bHorz ? rectInside.top : rectInside.left;
  int nMaxAlong = 0;
  int nDocked = 0;
  for (int nPos = 1; nPos < (int)m_arrBars.GetSize();) {
    int nEnd = RowEnd(nPos);
    std::vector<CControlBar*> bars;
    std::vector<int> indices;
    BOOL bProportional = FALSE;
    for (int i = nPos; i < nEnd; i++) {
      CControlBar* pBar = GetDockedControlBar(i);
      if (pBar == NULL)
        continue;
      nDocked++;
      if (!(pBar->RecalcDelayShow(&layout) & WS_VISIBLE))
        continue;
      bars.push_back(pBar);
      indices.push_back(i);
      if (!IsWidthDriven(pBar))
        bProportional = TRUE;
    }
    if (bars.empty()) {
      nPos = nEnd + 1;
      continue;
    }
    const DWORD dwMode = bHorz ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK | LM_LENGTHY;
    const DWORD dwThickMode = bHorz ? LM_HORZ | LM_HORZDOCK | LM_LENGTHY : LM_VERTDOCK;
    if (!bProportional) {
      // Width-driven bars only: each at its own place, as toolbars are.
      int nBorder = secData.m_cxBorder;
      int nAlong = nAlong0 - nBorder, nThick = 0;
      for (CControlBar* pBar : bars) {
        SECControlBar* pSEC = AsSEC(pBar);
        if (pSEC != NULL)
          pSEC->m_dwExStyle |= CBRS_EX_DRAWBORDERS;
        CSize size = pBar->CalcDynamicLayout(-1, dwMode);
        int nLen = bHorz ? size.cx : size.cy, nBarThick = bHorz ? size.cy : size.cx;
        CRect rectBar;
        pBar->GetWindowRect(&rectBar);
        ScreenToClient(&rectBar);
        int nStart = nAlong, nCur = bHorz ? rectBar.left : rectBar.top;
        if (nCur > nStart)
          nStart = nCur;
        if (nStart + nLen > nLength + nAlong0)
          nStart = nLength + nAlong0 - nLen + nBorder;
        if (nStart < nAlong)
          nStart = nAlong;
        if (pSEC != NULL && (pSEC->m_dwExStyle & CBRS_EX_OWNROW) && !bHorz)
          nLen = nLength;
        place(pBar, mkRect(nStart, nAcross, nLen, nBarThick));
        nAlong = nStart + nLen - nBorder;
        if (nBarThick > nThick)
          nThick = nBarThick;
      }
      if (nAlong - nAlong0 > nMaxAlong)
        nMaxAlong = nAlong - nAlong0;
      nAcross += nThick;
      nPos = nEnd + 1;
      continue;
    }

    // A shared row: lengths by shares, all bars as thick as the thickest.
    NormalizeRowShares(nPos);
    int n = (int)bars.size();
    int nThick = 0;
    for (CControlBar* pBar : bars) {
      CSize size = pBar->CalcDynamicLayout(-1, dwThickMode);
      int t = bHorz ? size.cy : size.cx;
      if (t > nThick)
        nThick = t;
    }
    int nBase = nLength - kSplitter * (n - 1);
    std::vector<int> lengths(n);
    for (int k = 0; k < n; k++) {
      CControlBar* pBar = bars[k];
      SECControlBar* pSEC = AsSEC(pBar);
      if (pSEC != NULL)
        pSEC->m_dwExStyle &= ~CBRS_EX_DRAWBORDERS;
      CSize size = pSEC != NULL && !m_bLayoutQuery
                       ? pBar->CalcDynamicLayout(nBase > 0 ? nBase : 0, dwMode | LM_STRETCH | LM_COMMIT)
                       : pBar->CalcDynamicLayout(-1, dwMode);
      if (pSEC != NULL && m_bLayoutQuery)
        size = bHorz ? CSize((int)((float)(nBase > 0 ? nBase : 0) * pSEC->m_fPctWidth), size.cy)
                     : CSize(size.cx, (int)((float)(nBase > 0 ? nBase : 0) * pSEC->m_fPctWidth));
      if (!m_bLayoutQuery)
        pBar->CalcDynamicLayout(nThick, dwThickMode | LM_COMMIT);
      lengths[k] = bHorz ? size.cx : size.cy;
    }
    // The last bar ends at the dock bar's end unless it sizes itself.
    int nSum = 0;
    for (int k = 0; k < n - 1; k++)
      nSum += lengths[k] + kSplitter;
    if (!IsWidthDriven(bars[n - 1]) && nLength - nSum >= 0) {
      lengths[n - 1] = nLength - nSum;
      if (!m_bLayoutQuery)
        bars[n - 1]->CalcDynamicLayout(lengths[n - 1], dwMode | LM_COMMIT);
    }
    // Separators: the client edge away from the view, the row splitter facing it.
    const int nEdge = 2;
    int nRowStart = nAcross + (bClientAfter ? nEdge : kSplitter);
    if (!m_bLayoutQuery) {
      int nFarAcross = bClientAfter ? nAcross : nRowStart + nThick;
      int nNearAcross = bClientAfter ? nRowStart + nThick : nAcross;
      AddClientEdge(!bHorz, mkRect(nAlong0, nFarAcross, nLength, nEdge));
      AddSplitter(FALSE, !bHorz, mkRect(nAlong0, nNearAcross, nLength, kSplitter), nPos);
    }
    int nAlong = nAlong0;
    for (int k = 0; k < n; k++) {
      place(bars[k], mkRect(nAlong, nRowStart, lengths[k], nThick));
      nAlong += lengths[k];
      if (k + 1 < n) {
        if (!m_bLayoutQuery)
          AddSplitter(TRUE, bHorz, mkRect(nAlong, nRowStart, kSplitter, nThick), indices[k]);
        nAlong += kSplitter;
      }
    }
    if (nAlong - nAlong0 > nMaxAlong)
      nMaxAlong = nAlong - nAlong0;
    nAcross = nRowStart + nThick + (bClientAfter ? kSplitter : nEdge);
    nPos = nEnd + 1;
  }
  if (layout.hDWP != NULL)
    ::EndDeferWindowPos(layout.hDWP);
  if (!m_bLayoutQuery)
    m_pChangedBar = NULL;
  int nRows = nAcross - (bHorz ? rectInside.top : rectInside.left);
  int nAlongTotal = bStretch ? 32767 : (nMaxAlong > 0 ? nMaxAlong + nInsetsAlong : 0);
  int nAcrossTotal = nRows > 0 && nDocked > 0 ? nRows + nInsetsAcross : 0;
  return bHorz ? CSize(nAlongTotal, nAcrossTotal) : CSize(nAcrossTotal, nAlongTotal);
}

void SECDockBar::DoPaint(CDC* pDC)
{
  HDC hdc = pDC->GetSafeHdc();
  auto fill = [hdc](const CRect& r, COLORREF clr) {
    ::SetBkColor(hdc, clr);
    ::ExtTextOutA(hdc, 0, 0, ETO_OPAQUE, &r, NULL, 0, NULL);
  };
  for (const ClientEdge& e : m_arrClientEdges) {
    CRect r1(e.rect), r2(e.rect);
    if (e.bVertical) {
      r1.right = r1.left + 1;
      r2.left = r1.right;
    } else {
      r1.bottom = r1.top + 1;
      r2.top = r1.bottom;
    }
    fill(r1, secData.m_clrBtnShadow);
    fill(r2, secData.m_clrBtnHilite);
  }
  for (const Splitter& s : m_arrSplitters) {
    fill(s.rect, secData.m_clrBtnFace);
    CRect r(s.rect);
    if (s.bVertical) {
      fill(CRect(r.left, r.top, r.left + 1, r.bottom), secData.m_clrBtnHilite);
      fill(CRect(r.right - 2, r.top, r.right - 1, r.bottom), secData.m_clrBtnShadow);
      fill(CRect(r.right - 1, r.top, r.right, r.bottom), secData.m_clrWindowFrame);
    } else {
      fill(CRect(r.left, r.top, r.right, r.top + 1), secData.m_clrBtnHilite);
      fill(CRect(r.left, r.bottom - 2, r.right, r.bottom - 1), secData.m_clrBtnShadow);
      fill(CRect(r.left, r.bottom - 1, r.right, r.bottom), secData.m_clrWindowFrame);
    }
  }
  for (INT_PTR i = 0; i < m_arrRedraw.GetSize(); i++) {
    CControlBar* pBar = (CControlBar*)m_arrRedraw[i];
    if (FindBar(pBar) > 0 && pBar->m_hWnd != NULL)
      pBar->RedrawWindow(NULL, NULL, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE);
  }
  m_arrRedraw.RemoveAll();
  m_bLayoutPending = FALSE;
}

void SECDockBar::OnDestroy()
{
  m_arrSplitters.clear();
  m_arrClientEdges.clear();
  CDockBar::OnDestroy();
}

// ---------------------------------------------------------------------------------------------
// Splitters

namespace {
const int kRowKeep = 19;      // a row and the view keep this much beside a row splitter
const int kInRowKeep = 24;    // each bar of a row keeps this much beside an in-row splitter
}  // namespace

const SECDockBar::Splitter* SECDockBar::SplitterAt(CPoint pt) const
{
  for (size_t i = m_arrSplitters.size(); i-- > 0;)
    if (m_arrSplitters[i].rect.PtInRect(pt))
      return &m_arrSplitters[i];
  return NULL;
}

void SECDockBar::GetSplitterLimits(const Splitter& splitter, int& nMin, int& nMax)
{
  CRect rectClient;
  GetClientRect(&rectClient);
  if (splitter.bInRow) {
    int nStart = RowStart(splitter.nIndex), nEnd = RowEnd(splitter.nIndex);
    int nBefore = 0, nAfter = 0;
    for (int i = nStart; i < nEnd; i++)
      if (GetDockedControlBar(i) != NULL)
        (i <= splitter.nIndex ? nBefore : nAfter)++;
    BOOL bHorz = IsHorz();
    nMin = (bHorz ? rectClient.left : rectClient.top) + kInRowKeep * nBefore;
    nMax = (bHorz ? rectClient.right : rectClient.bottom) - kInRowKeep * nAfter;
    return;
  }
  int nRow, nCol, nThick = 0;
  CControlBar* pFirst = NULL;
  for (int i = splitter.nIndex, nEnd = RowEnd(splitter.nIndex); i < nEnd && pFirst == NULL; i++)
    pFirst = GetDockedControlBar(i);
  if (pFirst != NULL)
    FindBarRow(pFirst, nRow, nCol, nThick);
  // The frame's client area the bars leave free, in this dock bar's coordinates.
  CRect rectFree(0, 0, 0, 0);
  CFrameWnd* pFrame = DockSite();
  if (pFrame != NULL) {
    CRect rectFrame;
    pFrame->GetClientRect(&rectFrame);
    pFrame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &rectFree, &rectFrame);
    ::MapWindowPoints(pFrame->m_hWnd, m_hWnd, (LPPOINT)&rectFree, 2);
  }
  // The view shrinks by what the row grows: it keeps 19 pixels, and so does the row.
  const CRect& r = splitter.rect;
  const int w = SECDockLayout::kSplitter;
  if (m_dwStyle & CBRS_ALIGN_TOP) {
    nMin = r.top - nThick + kRowKeep;
    nMax = std::max<int>(r.top + rectFree.Height() - kRowKeep + w, r.bottom);
  } else if (m_dwStyle & CBRS_ALIGN_BOTTOM) {
    nMin = std::min<int>(r.top - (rectFree.Height() - kRowKeep), r.top);
    nMax = r.top + nThick - kRowKeep + w;
  } else if (m_dwStyle & CBRS_ALIGN_LEFT) {
    nMin = r.left - nThick + kRowKeep;
    nMax = std::max<int>(r.left + rectFree.Width() - kRowKeep + w, r.right);
  } else {
    nMin = std::min<int>(r.left - (rectFree.Width() - kRowKeep), r.left);
    nMax = r.left + nThick - kRowKeep + w;
  }
}

void SECDockBar::ApplySplitterDelta(const Splitter& splitter, int nDelta)
{
  m_bLayoutPending = TRUE;
  BOOL bHorz = IsHorz();
  int nStart = RowStart(splitter.nIndex), nEnd = RowEnd(splitter.nIndex);
  std::vector<CControlBar*> bars;
  int nBefore = -1;
  for (int i = nStart; i < nEnd; i++) {
    CControlBar* p = GetDockedControlBar(i);
    if (p == NULL || !p->IsVisible())
      continue;
    if (i <= splitter.nIndex)
      nBefore = (int)bars.size();
    bars.push_back(p);
  }
  if (bars.empty())
    return;
  MarkRowToolBarsForRedraw(bars[0]);
  if (!splitter.bInRow) {
    // Towards the view thickens the row.
    ShrinkRow(nStart, (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT)) ? -nDelta : nDelta);
    for (CControlBar* p : bars)
      MarkForRedraw(p);
  } else {
    CRect rectClient;
    GetClientRect(&rectClient);
    int n = (int)bars.size();
    int nBase = (bHorz ? rectClient.Width() : rectClient.Height()) - SECDockLayout::kSplitter * (n - 1);
    // A row too short for its splitters has nothing to share out.
    if (nBase <= 0 || nBefore < 0 || nBefore + 1 >= n)
      return;
    DWORD dwMode = bHorz ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK | LM_LENGTHY;
    std::vector<int> lengths;
    for (CControlBar* p : bars) {
      CSize size = p->CalcDynamicLayout(-1, dwMode);
      lengths.push_back(bHorz ? size.cx : size.cy);
    }
    SECDockLayout::MoveInRowSplitter(lengths, nBefore, nDelta, SECDockLayout::kMinBarLength);
    for (int k = 0; k < n; k++) {
      CSize size = bars[k]->CalcDynamicLayout(-1, dwMode);
      ResizeBarByDelta(bars[k], lengths[k] - (bHorz ? size.cx : size.cy), nBase);
    }
  }
  if (DockSite() != NULL)
    DockSite()->DelayRecalcLayout();
}

int SECDockBar::TrackSplitter(const Splitter& splitter, CPoint ptStart)
{
  if (::GetCapture() != NULL)
    return 0;
  int nMin, nMax;
  GetSplitterLimits(splitter, nMin, nMax);
  const BOOL bAlongX = splitter.bVertical;
  const int nOrigin = bAlongX ? splitter.rect.left : splitter.rect.top;
  const int nGrab = (bAlongX ? ptStart.x : ptStart.y) - nOrigin;
  int nPos = nOrigin;
  SetCapture();
  BOOL bDone = FALSE, bAccepted = FALSE;
  while (!bDone) {
    MSG msg;
    if (!::GetMessageA(&msg, NULL, 0, 0)) {
      ::PostQuitMessage((int)msg.wParam);
      break;
    }
    if (::GetCapture() != m_hWnd)
      break;
    switch (msg.message) {
      case WM_MOUSEMOVE:
      case WM_LBUTTONUP: {
        CPoint pt((short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam));
        if (msg.hwnd != m_hWnd)
          ::MapWindowPoints(msg.hwnd, m_hWnd, &pt, 1);
        nPos = (bAlongX ? pt.x : pt.y) - nGrab;
        if (nPos > nMax - SECDockLayout::kSplitter)
          nPos = nMax - SECDockLayout::kSplitter;
        if (nPos < nMin)
          nPos = nMin;
        if (msg.message == WM_LBUTTONUP) {
          bAccepted = TRUE;
          bDone = TRUE;
        }
        break;
      }
      case WM_KEYDOWN:
        if (msg.wParam == VK_ESCAPE)
          bDone = TRUE;
        break;
      case WM_RBUTTONDOWN:
        bDone = TRUE;
        break;
      default:
        ::DispatchMessageA(&msg);
        break;
    }
  }
  if (::GetCapture() == m_hWnd)
    ::ReleaseCapture();
  return bAccepted ? nPos - nOrigin : 0;
}

void SECDockBar::OnLButtonDown(UINT nFlags, CPoint point)
{
  const Splitter* pSplitter = SplitterAt(point);
  if (pSplitter == NULL) {
    CDockBar::OnLButtonDown(nFlags, point);
    return;
  }
  Splitter splitter = *pSplitter;  // layouts during tracking rebuild the list
  int nDelta = TrackSplitter(splitter, point);
  if (nDelta != 0)
    ApplySplitterDelta(splitter, nDelta);
}

void SECDockBar::OnMouseMove(UINT nFlags, CPoint point)
{
  const Splitter* pSplitter = SplitterAt(point);
  if (pSplitter == NULL) {
    ::SetCursor(::LoadCursor(NULL, IDC_ARROW));
  } else {
    HINSTANCE hInst = AfxGetResourceHandle();
    HCURSOR hCursor = ::LoadCursor(hInst, MAKEINTRESOURCE(pSplitter->bVertical ? IDC_SEC_SPLIT_SIDE : IDC_SEC_SPLIT_ROWS));
    ::SetCursor(hCursor != NULL ? hCursor
                                : ::LoadCursor(NULL, pSplitter->bVertical ? IDC_SIZEWE : IDC_SIZENS));
  }
  CDockBar::OnMouseMove(nFlags, point);
}

BOOL SECDockBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
  if (pWnd == this && nHitTest == HTCLIENT)
    return TRUE;  // set on mouse moves
  return CDockBar::OnSetCursor(pWnd, nHitTest, message);
}
