// The list control's layout: measuring rows of differing heights, row arithmetic, the child
// scroll bars, scrolling, and painting through an off-screen surface.
#include "SECListCtrl.h"

#include <string.h>

namespace {

// Pens and brush of the list's lines and header, made once per program run.
CPen* g_pRowPen = NULL;
CPen* g_pColumnPen = NULL;
CBrush* g_pHeaderBrush = NULL;

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

UINT AlignFlags(int fmt)
{
  switch (fmt & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT: return DT_RIGHT;
    case LVCFMT_CENTER: return DT_CENTER;
  }
  return DT_LEFT;
}

// With labels on one line only the text up to the first line break counts.
int FirstLineLength(LPCSTR psz)
{
  int n = 0;
  while (psz[n] != 0 && psz[n] != '\r' && psz[n] != '\n')
    n++;
  return n;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Areas and rows

BOOL SECListBaseC::IsReportWithHeader() const
{
  return View() == LVS_REPORT && IsHeaderVisible();
}

void SECListBaseC::GetListRect(RECT* pRect) const
{
  if (m_hWnd == NULL || pRect == NULL)
    return;
  ::GetClientRect(m_hWnd, pRect);
  if (IsReportWithHeader())
    pRect->top += m_nHeaderHeight;
  if (m_dwScrollBars & WS_VSCROLL)
    pRect->right -= s_cxVScroll - 1;
  if (m_dwScrollBars & WS_HSCROLL)
    pRect->bottom -= s_cyHScroll - 1;
  if (pRect->right < pRect->left)
    pRect->right = pRect->left;
  if (pRect->bottom < pRect->top)
    pRect->bottom = pRect->top;
}

void SECListBaseC::GetListClientRect(RECT* pRect) const
{
  if (m_hWnd != NULL && pRect != NULL)
    ::GetClientRect(m_hWnd, pRect);
}

int SECListBaseC::ListHeight() const
{
  RECT r = {0, 0, 0, 0};
  GetListRect(&r);
  return Height(r);
}

int SECListBaseC::ListWidth() const
{
  RECT r = {0, 0, 0, 0};
  GetListRect(&r);
  return Width(r);
}

int SECListBaseC::GetRowGap() const { return 0; }

int SECListBaseC::RowHeight(int nItem)
{
  SECListItem* pItem = GetItemAt(nItem);
  if (pItem == NULL)
    return 0;
  if (pItem->m_cy < 0)
    MeasureItemAt(nItem);
  return GetRowGap() + (pItem->m_cy > 0 ? pItem->m_cy : 0);
}

void SECListBaseC::BeginRowWalk(RowWalk& w)
{
  w.nItem = m_nTopIndex;
  ::SetRectEmpty(&w.list);
  GetListRect(&w.list);
  w.xLine = w.list.left;
  w.x = w.list.left - m_nHorzOffset;
  w.y = w.list.top;
  w.lineBottom = w.list.top;
  if (View() == LVS_ICON) {
    w.cxCell = GetColumnCount() > 0 ? GetColumnAt(0)->cx : Width(w.list);
  } else {
    int cx = 0;
    for (int i = 0; i < GetColumnCount(); i++)
      cx += GetColumnAt(i)->cx;
    w.cxCell = cx > Width(w.list) ? cx : Width(w.list);
  }
  if (w.cxCell < 1)
    w.cxCell = 1;
}

void SECListBaseC::NextRowRect(RowWalk& w, RECT* pRect)
{
  int cy = RowHeight(w.nItem);
  int gap = GetRowGap();
  if (View() == LVS_ICON) {
    // Cells flow along a line and wrap when the next would pass the right edge; a new line
    // starts below the tallest cell of the one before.
    if (w.nItem > m_nTopIndex && w.x + w.cxCell > w.list.right) {
      w.x = w.xLine;
      w.y = w.lineBottom;
    }
    ::SetRect(pRect, w.x, w.y + gap, w.x + w.cxCell, w.y + cy);
    if (pRect->bottom > w.lineBottom)
      w.lineBottom = pRect->bottom;
    w.x += w.cxCell;
  } else {
    ::SetRect(pRect, w.x, w.y + gap, w.x + w.cxCell, w.y + cy);
    w.y = pRect->bottom;
    w.lineBottom = w.y;
  }
  w.nItem++;
}

BOOL SECListBaseC::GetRowRect(int nItem, RECT* pRect)
{
  if (m_hWnd == NULL || nItem < m_nTopIndex || GetItemAt(nItem) == NULL)
    return FALSE;
  RowWalk w;
  BeginRowWalk(w);
  while (w.nItem <= nItem) {
    if (w.lineBottom > w.list.bottom && w.nItem < nItem && View() != LVS_ICON)
      return FALSE;
    if (View() == LVS_ICON && w.y > w.list.bottom)
      return FALSE;
    NextRowRect(w, pRect);
  }
  return TRUE;
}

BOOL SECListBaseC::GetCellRect(int nItem, int nCol, RECT* pRect, int nCode)
{
  if (pRect == NULL || nItem < m_nTopIndex)
    return FALSE;
  SECListItem* pItem = GetItemAt(nItem);
  if (pItem == NULL || (GetColumnCount() > 0 && GetColumnAt(nCol) == NULL))
    return FALSE;
  if (m_hWnd == NULL)
    return FALSE;
  // The row's vertical extent: rows stacked from the top index (icon cells flow).
  RowWalk w;
  BeginRowWalk(w);
  RECT row = {0, 0, 0, 0};
  while (w.nItem <= nItem)
    NextRowRect(w, &row);
  RECT cell = row;
  if (View() != LVS_ICON) {
    cell.left = w.list.left + GetColumnLeft(nCol);
    cell.right = cell.left + GetColumnWidth(nCol);
    if (GetColumnCount() < 2)
      cell.right = w.list.right;
  }
  SECListColumn* pCol = GetColumnAt(nCol);
  BOOL bLabelColumn = pCol == NULL || pCol->iSubItem == 0;
  switch (nCode) {
    case 0:
      *pRect = cell;
      return TRUE;
    case 1:
      if (!bLabelColumn)
        return FALSE;
      *pRect = pItem->m_rcIcon;
      ::OffsetRect(pRect, cell.left, cell.top);
      return TRUE;
    case 2:
      if (bLabelColumn) {
        *pRect = pItem->m_rcText;
        ::OffsetRect(pRect, cell.left, cell.top);
        if (View() != LVS_ICON) {
          pRect->top = cell.top;
          pRect->bottom = cell.bottom;
        }
      } else {
        SECListSubItem* pSub = pItem->GetSubItem(pCol->iSubItem);
        if (pSub == NULL)
          return FALSE;
        *pRect = pSub->m_rcText;
        ::OffsetRect(pRect, cell.left, cell.top);
        if (pCol->fmt == 3) {
          int cx = Width(*pRect);
          pRect->left = cell.left + (Width(cell) - cx) / 2;
          pRect->right = pRect->left + cx;
        }
        pRect->top = cell.top;
        pRect->bottom = cell.bottom;
      }
      return TRUE;
  }
  return FALSE;
}

int SECListBaseC::GetTopIndex() const { return m_nTopIndex; }

int SECListBaseC::GetCountPerPage()
{
  int h = ListHeight(), y = 0, n = 0, i;
  for (i = m_nTopIndex; i < GetItemCount(); i++) {
    y += RowHeight(i);
    if (y > h)
      break;
    n++;
  }
  if (i >= GetItemCount()) {
    for (int j = m_nTopIndex - 1; j >= 0; j--) {
      y += RowHeight(j);
      if (y > h)
        break;
      n++;
    }
  }
  return n;
}

int SECListBaseC::GetCountPerPageAbove()
{
  int h = ListHeight(), y = 0, n = 0;
  for (int i = m_nTopIndex - 1; i >= 0; i--) {
    y += RowHeight(i);
    if (y > h)
      break;
    n++;
  }
  return n;
}

int SECListBaseC::GetLastPageTop()
{
  int nCount = GetItemCount();
  if (nCount == 0)
    return 0;
  int h = ListHeight(), y = 0;
  for (int i = nCount - 1; i >= 0; i--) {
    y += RowHeight(i);
    if (y > h)
      return i + 1;
  }
  return 0;
}

int SECListBaseC::GetLastFullyVisible(int)
{
  int nCount = GetItemCount();
  if (nCount == 0)
    return -1;
  int h = ListHeight(), y = 0;
  for (int i = m_nTopIndex; i < nCount; i++) {
    y += RowHeight(i);
    if (y > h)
      return i - 1 >= m_nTopIndex ? i - 1 : m_nTopIndex;
  }
  return nCount - 1;
}

int SECListBaseC::GetFirstRowBelow()
{
  int h = ListHeight(), y = 0;
  for (int i = m_nTopIndex; i < GetItemCount(); i++) {
    if (y >= h)
      return i;
    y += RowHeight(i);
  }
  return GetItemCount();
}

int SECListBaseC::GetPageUpTop()
{
  int h = ListHeight(), y = 0;
  for (int i = m_nTopIndex; i >= 0; i--) {
    y += RowHeight(i);
    if (y >= h)
      return i;
  }
  return 0;
}

int SECListBaseC::ItemIndexAtY(POINT* pt)
{
  if (pt == NULL)
    return 0;
  int n = 0, y = 0;
  while (n < GetItemCount()) {
    y += RowHeight(n);
    if (y >= pt->y)
      break;
    n++;
  }
  return n;
}

int SECListBaseC::ItemIndexAtY2(POINT* pt) { return ItemIndexAtY(pt); }
int SECListBaseC::ItemIndexAtY3(POINT* pt) { return ItemIndexAtY(pt); }

BOOL SECListBaseC::SetItemHeight(int nItem, int cy)
{
  SECListItem* pItem = GetItemAt(nItem);
  if (pItem == NULL)
    return FALSE;
  pItem->m_cy = cy;
  return TRUE;
}

int SECListBaseC::HeightBetween(int nFrom, int nTo, BOOL bInclusive)
{
  int lo = nFrom < nTo ? nFrom : nTo, hi = nFrom < nTo ? nTo : nFrom;
  if (lo < 0)
    lo = 0;
  int nEnd = bInclusive ? hi + 1 : hi;
  if (nEnd > GetItemCount())
    nEnd = GetItemCount();
  int cy = 0;
  for (int i = lo; i < nEnd; i++)
    cy += RowHeight(i);
  return nTo < nFrom ? -cy : cy;
}

int SECListBaseC::ItemsInHeight(int cy, int nStart, BOOL bDown)
{
  if (nStart < 0 || nStart >= GetItemCount())
    return 0;
  int n = 0, y = 0;
  for (int i = nStart; i >= 0 && i < GetItemCount() && y < cy; i += bDown ? 1 : -1) {
    y += RowHeight(i);
    n++;
  }
  return n;
}

int SECListBaseC::RecalcLayout()
{
  for (int i = 0; i < GetItemCount(); i++)
    GetItemAt(i)->m_cy = -1;
  return RecalcScrollBars();
}

BOOL SECListBaseC::ResetItemHeight(int nItem)
{
  SECListItem* pItem = GetItemAt(nItem);
  if (pItem == NULL)
    return FALSE;
  pItem->m_cy = -1;
  RedrawItems(nItem, FALSE, TRUE, FALSE, FALSE);
  return TRUE;
}

int SECListBaseC::GetContentWidth(BOOL bMeasure)
{
  if (GetColumnCount() >= 2) {
    int cx = 0;
    for (int i = 0; i < GetColumnCount(); i++)
      cx += GetColumnAt(i)->cx;
    return cx;
  }
  int cx = 0, h = ListHeight(), y = 0;
  BOOL bWrap = IsLabelWrap();
  for (int i = m_nTopIndex; i < GetItemCount(); i++) {
    SECListItem* pItem = GetItemAt(i);
    if (pItem->m_cy < 0 && !bMeasure)
      continue;
    y += RowHeight(i);
    if (bWrap && y > h)
      break;
    if (pItem->m_rcText.right + 5 > cx)
      cx = pItem->m_rcText.right + 5;
  }
  if (View() == LVS_REPORT && cx < ListWidth())
    cx = ListWidth();
  return cx;
}

int SECListBaseC::GetScrollItemCount() const { return GetItemCount(); }

int SECListBaseC::FitLabelColumn()
{
  int nLabel = -1;
  for (int i = 0; i < GetColumnCount(); i++)
    if (GetColumnAt(i)->iSubItem == 0)
      nLabel = i;
  if (nLabel < 0)
    return 0;
  int cx = ListWidth();
  for (int i = 0; i < GetColumnCount(); i++)
    if (i != nLabel)
      cx -= GetColumnAt(i)->cx;
  if (cx < 0)
    cx = 0;
  GetColumnAt(nLabel)->cx = cx;
  return cx;
}

BOOL SECListBaseC::FitLabelColumnIfNeeded()
{
  if (GetColumnCount() == 1 || HasListStyleEx(SECLIST_EX_FILLLABELCOLUMN)) {
    FitLabelColumn();
    return TRUE;
  }
  return FALSE;
}

// ---------------------------------------------------------------------------------------------
// Scroll bars

BOOL SECListBaseC::CreateScrollBar(int nType, UINT nID)
{
  CScrollBar& bar = nType == 0 ? m_sbHorz : m_sbVert;
  if (bar.m_hWnd != NULL)
    return TRUE;
  RECT rc = {0, 0, 1, 1};
  return bar.Create((nType == 0 ? SBS_HORZ : SBS_VERT) | WS_CHILD | WS_VISIBLE, rc, this, nID);
}

void SECListBaseC::ShowScrollBarEx(int nType, BOOL bShow, SCROLLINFO* pInfo)
{
  if (HasListStyle(SECLIST_NOSCROLL))
    bShow = FALSE;
  if (nType == 3) {
    ShowScrollBarEx(0, bShow, NULL);
    ShowScrollBarEx(1, bShow, NULL);
    return;
  }
  if (m_hWnd == NULL || (nType != 0 && nType != 1))
    return;
  CScrollBar& bar = nType == 0 ? m_sbHorz : m_sbVert;
  if (bar.m_hWnd == NULL) {
    if (!CreateScrollBar(nType, nType == 0 ? SECLIST_ID_HSCROLL : SECLIST_ID_VSCROLL))
      AfxThrowResourceException();
    if (!bShow)
      bar.ShowWindow(SW_HIDE);
  }
  if (pInfo != NULL)
    bar.SetScrollInfo(pInfo, FALSE);
  DWORD bit = nType == 0 ? WS_HSCROLL : WS_VSCROLL;
  BOOL bWas = (m_dwScrollBars & bit) != 0;
  if (bShow)
    m_dwScrollBars |= bit;
  else
    m_dwScrollBars &= ~bit;
  if (bWas != (bShow != FALSE)) {
    bar.ShowWindow(bShow ? SW_SHOW : SW_HIDE);
    bar.Invalidate();
    bar.UpdateWindow();
  }
}

void SECListBaseC::PositionScrollBars()
{
  if (m_hWnd == NULL)
    return;
  RECT list, client;
  GetListRect(&list);
  ::GetClientRect(m_hWnd, &client);
  int nBars = (m_sbHorz.m_hWnd != NULL) + (m_sbVert.m_hWnd != NULL);
  if (nBars == 0)
    return;
  HDWP hdwp = ::BeginDeferWindowPos(nBars);
  if (m_sbHorz.m_hWnd != NULL && hdwp != NULL)
    hdwp = ::DeferWindowPos(hdwp, m_sbHorz.m_hWnd, NULL, list.left, list.bottom,
                            Width(list) + 1, s_cyHScroll, SWP_NOZORDER | SWP_NOACTIVATE);
  if (m_sbVert.m_hWnd != NULL && hdwp != NULL) {
    int cy = Height(list) + 1 + (IsReportWithHeader() ? m_nHeaderHeight : 0);
    hdwp = ::DeferWindowPos(hdwp, m_sbVert.m_hWnd, NULL, list.right, client.top, s_cxVScroll, cy,
                            SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (hdwp != NULL)
    ::EndDeferWindowPos(hdwp);
  if (m_sbHorz.m_hWnd != NULL)
    m_sbHorz.Invalidate();
  if (m_sbVert.m_hWnd != NULL)
    m_sbVert.Invalidate();
}

void SECListBaseC::SetVertBarPos(int nPos)
{
  if (m_sbVert.m_hWnd != NULL)
    m_sbVert.SetScrollPos(nPos, TRUE);
}

int SECListBaseC::RecalcScrollBars()
{
  if (m_hWnd == NULL)
    return 0;
  UpdateVScroll(GetScrollItemCount());
  if (IsLabelWrap())
    for (int i = 0; i < GetItemCount(); i++)
      GetItemAt(i)->m_cy = -1;
  UpdateHScroll(GetContentWidth(TRUE));
  UpdateVScroll(GetScrollItemCount());
  PositionScrollBars();
  return 0;
}

void SECListBaseC::UpdateVScroll(int nCount)
{
  if (m_hWnd == NULL)
    return;
  int cxBefore = ListWidth();
  int nFit = GetCountPerPage();
  if (nFit < nCount) {
    int nLastTop = GetLastPageTop();
    if (nLastTop >= nCount)
      nLastTop = nCount - 1;
    if (m_nTopIndex > nLastTop)
      m_nTopIndex = nLastTop;
    nFit = GetCountPerPage();
    SCROLLINFO si;
    memset(&si, 0, sizeof si);
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = nCount - 1;
    si.nPage = nFit > 0 ? nFit : 1;
    si.nPos = m_nTopIndex;
    ShowScrollBarEx(1, TRUE, &si);
  } else {
    m_nTopIndex = 0;
    ShowScrollBarEx(1, FALSE, NULL);
  }
  if (ListWidth() != cxBefore && FitLabelColumnIfNeeded())
    Invalidate();
}

void SECListBaseC::UpdateHScroll(int cxContent)
{
  if (m_hWnd == NULL)
    return;
  int cxList = ListWidth();
  if (cxList >= cxContent) {
    m_nHorzOffset = 0;
    ShowScrollBarEx(0, FALSE, NULL);
    return;
  }
  if (m_nHorzOffset > cxContent - cxList)
    m_nHorzOffset = cxContent - cxList;
  SCROLLINFO si;
  memset(&si, 0, sizeof si);
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = cxContent;
  si.nPage = cxList;
  si.nPos = m_nHorzOffset;
  ShowScrollBarEx(0, TRUE, &si);
}

// ---------------------------------------------------------------------------------------------
// Scrolling

int SECListBaseC::ScrollHorz(int dx)
{
  int nMax = GetContentWidth(TRUE) - ListWidth();
  int nOffset = m_nHorzOffset - dx;
  if (nOffset > nMax)
    nOffset = nMax;
  if (nOffset < 0)
    nOffset = 0;
  m_nHorzOffset = nOffset;
  if (m_sbHorz.m_hWnd != NULL)
    m_sbHorz.SetScrollPos(m_nHorzOffset, TRUE);
  if (m_hWnd != NULL)
    Invalidate(FALSE);
  return m_nHorzOffset;
}

int SECListBaseC::ScrollVert(int dy, BOOL bFromBottom)
{
  if (bFromBottom) {
    // Bring the row dy below the last fully visible one into view at the bottom: scroll by
    // as many rows from the top as that height takes, whatever the row heights.
    int nLast = GetLastFullyVisible();
    int cy = HeightBetween(nLast + 1, nLast + dy, TRUE);
    int n = ItemsInHeight(cy, m_nTopIndex, TRUE);
    return ScrollVert(n, FALSE);
  }
  int nTop = m_nTopIndex + dy;
  if (nTop > GetItemCount() - 1)
    nTop = GetItemCount() - 1;
  if (nTop < 0)
    nTop = 0;
  if (nTop != m_nTopIndex) {
    m_nTopIndex = nTop;
    SetVertBarPos(m_nTopIndex);
    if (m_hWnd != NULL)
      Invalidate(TRUE);
  }
  return m_nTopIndex;
}

int SECListBaseC::SetTopIndex(int nItem)
{
  ScrollVert(nItem - m_nTopIndex, FALSE);
  RecalcScrollBars();
  return m_nTopIndex;
}

BOOL SECListBaseC::EnsureVisible(int nItem, BOOL)
{
  if (GetItemAt(nItem) == NULL)
    return FALSE;
  int nLast = GetLastFullyVisible();
  if (nItem > nLast)
    ScrollVert(nItem - nLast, TRUE);
  else if (nItem < m_nTopIndex)
    ScrollVert(nItem - m_nTopIndex, FALSE);
  return TRUE;
}

BOOL SECListBaseC::EnsureRangeVisible(int nFirst, int nLast, BOOL)
{
  if (nFirst < 0 || nLast >= GetItemCount() || nLast < nFirst)
    return FALSE;
  ScrollVert(nFirst - m_nTopIndex, FALSE);
  int h = ListHeight();
  int cy = HeightBetween(nFirst, nLast, TRUE);
  int nTop = m_nTopIndex;
  while (cy < h && nTop > 0) {
    int cyRow = RowHeight(nTop - 1);
    if (cy + cyRow > h)
      break;
    cy += cyRow;
    nTop--;
  }
  ScrollVert(nTop - m_nTopIndex, FALSE);
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Redrawing

BOOL SECListBaseC::RedrawItems(int nItem, BOOL bLabelOnly, BOOL bErase, BOOL bToEnd,
                               BOOL bUpdateNow)
{
  if (m_hWnd == NULL || nItem < m_nTopIndex)
    return FALSE;
  RECT rc;
  if (!GetRowRect(nItem, &rc))
    return FALSE;
  RECT list;
  GetListRect(&list);
  int cx = GetContentWidth(FALSE);
  if (cx < Width(list))
    cx = Width(list);
  if (View() != LVS_ICON)
    rc.right = rc.left + cx;
  if (bToEnd) {
    if (!bErase) {
      RECT below = {rc.left, rc.bottom, rc.right, list.bottom};
      if (below.bottom > below.top) {
        CClientDC dc(this);
        dc.FillSolidRect(&below, GetBkColor());
      }
    }
    rc.bottom = list.bottom;
    if (View() == LVS_ICON) {
      rc.left = list.left;
      rc.right = list.right;
    }
  }
  if (bLabelOnly && !HasListStyleEx(SECLIST_EX_FULLROWSELECT)) {
    RECT label;
    if (GetLabelCellRect(nItem, &label, 2)) {
      rc.left = label.left - 3;
      rc.right = label.right + 3;
    }
  }
  if (bUpdateNow)
    ::RedrawWindow(m_hWnd, &rc, NULL,
                   RDW_INVALIDATE | RDW_UPDATENOW | (bErase ? RDW_ERASE : 0));
  else
    ::InvalidateRect(m_hWnd, &rc, bErase);
  return TRUE;
}

BOOL SECListBaseC::InvalidateItemRange(int nFirst, int nLast)
{
  if (m_hWnd == NULL)
    return FALSE;
  int lo = nFirst < nLast ? nFirst : nLast, hi = nFirst < nLast ? nLast : nFirst;
  if (lo < m_nTopIndex)
    lo = m_nTopIndex;
  RECT a, b;
  if (lo > hi || !GetRowRect(lo, &a))
    return FALSE;
  if (!GetRowRect(hi, &b)) {
    RECT list;
    GetListRect(&list);
    b = list;
  }
  RECT list;
  GetListRect(&list);
  RECT rc = {list.left, a.top, list.right, b.bottom};
  ::InvalidateRect(m_hWnd, &rc, TRUE);
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Measuring

CDC* SECListBaseC::GetMeasureDC(BOOL* pOwned)
{
  // Text measures the same on a memory DC compatible with the screen as on the window's DC,
  // and one kept by the list saves a round trip to the system for every row measured.
  if (m_measureDC.m_hDC == NULL && !m_measureDC.CreateCompatibleDC(NULL)) {
    if (pOwned != NULL)
      *pOwned = TRUE;
    return new CClientDC(this);
  }
  if (pOwned != NULL)
    *pOwned = FALSE;
  return &m_measureDC;
}

SECListPaintContext* SECListBaseC::CreatePaintContext(CDC* pDC)
{
  SECListPaintContext* pContext = new SECListPaintContext(pDC);
  pContext->iView = View();
  pContext->lvi.pszText = m_pszTextBuf;
  pContext->lvi.cchTextMax = SECLIST_TEXT_MAX;
  return pContext;
}

int SECListBaseC::MeasureItemAt(int nItem, SECListPaintContext* pContext)
{
  SECListItem* pItem = GetItemAt(nItem);
  if (pItem == NULL)
    return 0;
  if (pContext != NULL) {
    pContext->lvi.iItem = nItem;
    pContext->pItem = pItem;
    return MeasureItem(pContext);
  }
  BOOL bOwned = FALSE;
  CDC* pDC = GetMeasureDC(&bOwned);
  SECListPaintContext* pOwn = CreatePaintContext(pDC);
  pOwn->lvi.iItem = nItem;
  pOwn->pItem = pItem;
  int cy = MeasureItem(pOwn);
  delete pOwn;
  if (bOwned)
    delete pDC;
  return cy;
}

int SECListBaseC::MeasureItem(SECListPaintContext* pContext)
{
  SECListItem* pItem = pContext->pItem;
  pItem->m_cy = 0;
  int nCols = GetColumnCount();
  for (int i = 0; i < (nCols > 0 ? nCols : 1); i++) {
    pContext->iCol = i;
    pContext->pCol = GetColumnAt(i);
    int nSub = pContext->pCol != NULL ? pContext->pCol->iSubItem : 0;
    pContext->lvi.iSubItem = nSub;
    pContext->pSubItem = nSub > 0 ? pItem->GetSubItem(nSub) : NULL;
    if (nSub > 0 && pContext->pSubItem == NULL)
      continue;
    if (!PrepareItem(pContext))
      continue;
    int cy = MeasureCell(pContext);
    if (cy > pItem->m_cy)
      pItem->m_cy = cy;
  }
  return pItem->m_cy;
}

int SECListBaseC::MeasureCell(SECListPaintContext* pContext)
{
  SECListItem* pItem = pContext->pItem;
  int nView = pContext->iView;
  BOOL bLabelColumn = pContext->pCol == NULL || pContext->pCol->iSubItem == 0;
  RECT icon = {0, 0, 0, 0}, text;
  if (bLabelColumn) {
    MeasureIcon(pContext, &icon);
    pItem->m_rcIcon = icon;
  }
  MeasureText(pContext, &icon, &text);
  if (bLabelColumn)
    pItem->m_rcText = text;
  else if (pContext->pSubItem != NULL)
    pContext->pSubItem->m_rcText = text;
  if (nView == LVS_ICON)
    return bLabelColumn ? Height(text) + Height(icon) + 5 : 0;
  if (nView == LVS_REPORT)
    return text.bottom > icon.bottom ? text.bottom : icon.bottom;
  return 0;
}

void SECListBaseC::MeasureIcon(SECListPaintContext* pContext, RECT* pRect)
{
  ::SetRectEmpty(pRect);
  CImageList* pList = pContext->iView == LVS_ICON ? m_pImageList : m_pSmallImageList;
  if (pList == NULL || pList->m_hImageList == NULL)
    return;
  int cx = 0, cy = 0;
  ImageList_GetIconSize(pList->m_hImageList, &cx, &cy);
  ::SetRect(pRect, 2, 2, cx + 2, cy + 2);
  if (pContext->iView == LVS_ICON) {
    // Centred over the label in its cell.
    int cxCell = GetColumnCount() > 0 ? GetColumnAt(0)->cx : ListWidth();
    ::OffsetRect(pRect, (cxCell - cx) / 2 - 2, 0);
  }
}

void SECListBaseC::MeasureText(SECListPaintContext* pContext, const RECT* pIcon, RECT* pRect)
{
  LPCSTR psz = pContext->lvi.pszText;
  if (psz == NULL || psz == LPSTR_TEXTCALLBACKA)
    psz = "";
  BOOL bLabelColumn = pContext->pCol == NULL || pContext->pCol->iSubItem == 0;
  BOOL bIcon = bLabelColumn && !::IsRectEmpty(pIcon);
  int cxColumn = pContext->pCol != NULL ? pContext->pCol->cx : ListWidth();
  int x = 5, y = 2;
  if (bIcon) {
    if (pContext->iView == LVS_ICON) {
      x = 8;
      y = pIcon->bottom + 2;
    } else {
      x = pIcon->right + 5;
    }
  }
  // The text wraps in the width it is later drawn in: from x to 5 pixels short of the cell.
  int cxAvail = cxColumn - x - (pContext->iView == LVS_ICON && bIcon ? 8 : 5);
  if (cxAvail < 1)
    cxAvail = 1;
  UINT fmt = DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;
  if (pContext->pCol != NULL)
    fmt |= AlignFlags(pContext->pCol->fmt) & (DT_RIGHT | DT_CENTER);
  int nLen = (int)strlen(psz);
  if (HasListStyle(SECLIST_NOLABELWRAP)) {
    nLen = FirstLineLength(psz);
    fmt |= DT_SINGLELINE;
  }
  RECT rc = {0, 0, cxAvail, 0};
  HDC hdc = pContext->pdc->m_hAttribDC != NULL ? pContext->pdc->m_hAttribDC : pContext->pdc->m_hDC;
  CFont* pFont = pContext->pFont != NULL ? pContext->pFont : GetLabelFont();
  HGDIOBJ hOld = ::SelectObject(hdc, pFont->m_hObject);
  if (nLen == 0) {
    TEXTMETRICA tm;
    ::GetTextMetricsA(hdc, &tm);
    rc.right = 0;
    rc.bottom = tm.tmHeight;
  } else {
    ::DrawTextA(hdc, psz, nLen, &rc, fmt);
  }
  ::SelectObject(hdc, hOld);
  if (bIcon && pContext->iView != LVS_ICON)
    y = (Height(*pIcon) - Height(rc)) / 2 + pIcon->top;
  if (y < 0)
    y = 0;
  ::SetRect(pRect, x, y, x + Width(rc), y + Height(rc));
}

// ---------------------------------------------------------------------------------------------
// Preparing cells

BOOL SECListBaseC::PrepareItem(SECListPaintContext* pContext)
{
  LVITEMA& lvi = pContext->lvi;
  lvi.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
  lvi.mask = LVIF_TEXT | LVIF_STATE | LVIF_IMAGE;
  lvi.pszText = m_pszTextBuf;
  lvi.cchTextMax = SECLIST_TEXT_MAX;
  m_pszTextBuf[0] = 0;
  pContext->iView = View();
  if (!GetItem(&lvi, FALSE, TRUE))
    return FALSE;
  if (lvi.mask & LVIF_DI_SETITEM) {
    LVITEMA answer = lvi;
    SetItem(&answer, TRUE);
  }
  if (lvi.pszText == LPSTR_TEXTCALLBACKA)
    lvi.pszText = NULL;
  PrepareBkColor(pContext);
  PrepareLabelBkColor(pContext);
  PrepareTextColors(pContext);
  PrepareFont(pContext);
  return TRUE;
}

void SECListBaseC::PrepareBkColor(SECListPaintContext* pContext)
{
  pContext->rgbCellBk = GetBkColor();
}

void SECListBaseC::PrepareLabelBkColor(SECListPaintContext* pContext)
{
  BOOL bEnabled = m_hWnd == NULL || ::IsWindowEnabled(m_hWnd);
  if (!bEnabled)
    pContext->rgbLabelBk = GetBkColor();
  else if ((pContext->lvi.state & LVIS_SELECTED) && m_hWnd != NULL && ::GetFocus() == m_hWnd)
    pContext->rgbLabelBk = GetSelLabelBkColor();
  else
    pContext->rgbLabelBk = GetLabelBkColor();
}

void SECListBaseC::PrepareTextColors(SECListPaintContext* pContext)
{
  BOOL bEnabled = m_hWnd == NULL || ::IsWindowEnabled(m_hWnd);
  BOOL bSelected = (pContext->lvi.state & LVIS_SELECTED) != 0;
  // Asking for the focus is a trip to the system: only selected cells need it.
  BOOL bFocus = bSelected && m_hWnd != NULL && ::GetFocus() == m_hWnd;
  BOOL bEditing = m_pEdit->m_hWnd != NULL;
  BOOL bSubCell = pContext->pCol != NULL && pContext->pCol->iSubItem != 0;
  if (!bEnabled) {
    pContext->rgbText = GetDisabledTextColor();
    pContext->rgbLabelFill = s_rgbMenu;
  } else if ((!bFocus && !HasListStyle(SECLIST_SHOWSELALWAYS)) || !bSelected ||
             (bSubCell && !HasListStyleEx(SECLIST_EX_FULLROWSELECT))) {
    pContext->rgbText = GetTextColor();
    pContext->rgbLabelFill = GetTextBkColor();
  } else if (bFocus || bEditing) {
    pContext->rgbText = GetSelTextColor();
    pContext->rgbLabelFill = GetSelTextBkColor();
  } else {
    pContext->rgbText = s_rgbMenuText;
    pContext->rgbLabelFill = s_rgbMenu;
  }
  if (!bSubCell && pContext->lvi.iItem == m_nDropItem) {
    COLORREF t = pContext->rgbText;
    pContext->rgbText = pContext->rgbLabelFill;
    pContext->rgbLabelFill = t;
  }
}

void SECListBaseC::PrepareFont(SECListPaintContext* pContext) { pContext->pFont = GetLabelFont(); }

void SECListBaseC::GetRowLinePen(CPen** ppPen)
{
  if (g_pRowPen == NULL)
    g_pRowPen = new CPen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
  *ppPen = g_pRowPen;
}

void SECListBaseC::GetColumnLinePen(CPen** ppPen)
{
  if (g_pColumnPen == NULL)
    g_pColumnPen = new CPen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
  *ppPen = g_pColumnPen;
}

// ---------------------------------------------------------------------------------------------
// Painting

CDC* SECListBaseC::CreateMemoryDC(CDC* pDC, const RECT* pRect)
{
  if (m_bDragging)
    return pDC;
  try {
    return new SECOffscreenDC(pDC, *pRect);
  } catch (CException* e) {
    e->Delete();
    return pDC;
  }
}

void SECListBaseC::Paint(CDC* pDC)
{
  if (pDC == NULL || pDC->m_hDC == NULL)
    return;
  if (pDC->IsPrinting()) {
    SECListPaintContext* pContext = CreatePaintContext(pDC);
    if (IsReportWithHeader())
      PaintHeader(pContext);
    PaintItems(pContext);
    delete pContext;
    return;
  }
  RECT client, list;
  ::GetClientRect(m_hWnd, &client);
  GetListRect(&list);
  RECT draw = list;
  if (!(m_dwScrollBars & WS_VSCROLL))
    draw.right = client.right;
  if (!(m_dwScrollBars & WS_HSCROLL))
    draw.bottom = client.bottom;
  draw.top = client.top;
  RECT clip;
  if (pDC->GetClipBox(&clip) == NULLREGION)
    return;
  CDC* pMem = CreateMemoryDC(pDC, &draw);
  int nSaved = pMem->SaveDC();
  pMem->FillSolidRect(&draw, GetBkColor());
  SECListPaintContext* pContext = CreatePaintContext(pMem);
  if (IsReportWithHeader())
    PaintHeader(pContext);
  pMem->IntersectClipRect(&list);
  pMem->IntersectClipRect(&clip);
  PaintItems(pContext);
  delete pContext;
  pMem->RestoreDC(nSaved);
  if (pMem != pDC)
    delete pMem;
  if ((m_dwScrollBars & WS_VSCROLL) && (m_dwScrollBars & WS_HSCROLL)) {
    RECT corner = {list.right, list.bottom, client.right, client.bottom};
    pDC->FillSolidRect(&corner, s_rgbBtnFace);
  }
}

void SECListBaseC::PaintHeader(SECListPaintContext* pContext)
{
  CDC* pDC = pContext->pdc;
  RECT client;
  ::GetClientRect(m_hWnd, &client);
  int cxContent = GetContentWidth(FALSE);
  int right = cxContent > Width(client) + 1 ? cxContent : Width(client) + 1;
  RECT band = {-m_nHorzOffset, client.top, right, client.top + m_nHeaderHeight};
  if (g_pHeaderBrush == NULL)
    g_pHeaderBrush = new CBrush(s_rgbBtnFace);
  pDC->FillRect(&band, g_pHeaderBrush);
  CFont* pFont = GetHeaderFont();
  CFont* pOldFont = pDC->SelectObject(pFont);
  int nOldMode = pDC->SetBkMode(TRANSPARENT);
  COLORREF rgbOld = pDC->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
  int x = -m_nHorzOffset;
  for (int i = 0; i < GetColumnCount(); i++) {
    SECListColumn* pCol = GetColumnAt(i);
    RECT rc = {x, band.top, x + pCol->cx, band.bottom};
    pDC->DrawFrameControl(&rc, DFC_BUTTON, DFCS_BUTTONPUSH);
    RECT text = {rc.left + 5, rc.top, rc.right - 6, rc.bottom};
    if (text.right > text.left)
      pDC->DrawText(pCol->strTitle, &text,
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS |
                        AlignFlags(pCol->fmt));
    x = rc.right;
  }
  RECT rest = {x, band.top, client.right + 2, band.bottom};
  if (rest.right > rest.left)
    pDC->DrawFrameControl(&rest, DFC_BUTTON, DFCS_BUTTONPUSH);
  pDC->SetTextColor(rgbOld);
  pDC->SetBkMode(nOldMode);
  pDC->SelectObject(pOldFont);
}

void SECListBaseC::PaintItems(SECListPaintContext* pContext)
{
  CDC* pDC = pContext->pdc;
  BOOL bPrinting = pDC->IsPrinting();
  int nLast = bPrinting ? GetLastFullyVisible() + 1 : GetItemCount();
  if (nLast > GetItemCount())
    nLast = GetItemCount();
  RowWalk w;
  BeginRowWalk(w);
  while (w.nItem < nLast) {
    int nItem = w.nItem;
    RECT row;
    NextRowRect(w, &row);
    if (View() == LVS_ICON && row.top >= w.list.bottom)
      break;
    if (bPrinting || pDC->RectVisible(&row)) {
      pContext->rect = row;
      pContext->lvi.iItem = nItem;
      pContext->pItem = GetItemAt(nItem);
      PaintItem(pContext);
    }
    if (View() != LVS_ICON && row.bottom > w.list.bottom)
      break;
  }
  if (!bPrinting)
    SetVertBarPos(m_nTopIndex);
}

void SECListBaseC::PaintItem(SECListPaintContext* pContext)
{
  int nItem = pContext->lvi.iItem;
  SECListItem* pItem = pContext->pItem;
  if (NeedsDispInfo(nItem))
    MeasureItemAt(nItem, pContext);
  RECT row = pContext->rect;
  CDC* pDC = pContext->pdc;
  int nCols = GetColumnCount();
  int x = row.left;
  for (int i = 0; i < (nCols > 0 ? nCols : 1); i++) {
    SECListColumn* pCol = GetColumnAt(i);
    int cx = pCol != NULL ? pCol->cx : Width(row);
    if (View() == LVS_ICON)
      cx = Width(row);
    else if (nCols <= 1 && cx < pItem->m_rcText.right)
      cx = pItem->m_rcText.right;
    RECT cell = {x, row.top, x + cx, row.bottom};
    x += cx;
    if (!pDC->IsPrinting() && !pDC->RectVisible(&cell))
      continue;
    int nSub = pCol != NULL ? pCol->iSubItem : 0;
    pContext->iCol = i;
    pContext->pCol = pCol;
    pContext->lvi.iSubItem = nSub;
    pContext->pSubItem = nSub > 0 ? pItem->GetSubItem(nSub) : NULL;
    pContext->rect = cell;
    if (nSub > 0 && pContext->pSubItem == NULL)
      continue;
    if (!PrepareItem(pContext))
      continue;
    PaintCell(pContext);
  }
  pContext->rect = row;
  if (View() == LVS_REPORT) {
    BOOL bFocus = m_hWnd != NULL && ::GetFocus() == m_hWnd;
    if (nItem == m_nFocusItem && HasListStyleEx(SECLIST_EX_FULLROWSELECT) && bFocus &&
        nCols >= 2) {
      RECT label;
      if (GetLabelCellRect(nItem, &label, 2)) {
        RECT focus = {label.left - 3, row.top, row.right, row.bottom};
        pDC->DrawFocusRect(&focus);
      }
    }
    if (HasListStyleEx(SECLIST_EX_COLUMNLINES))
      DrawColumnLines(pContext);
    if (HasListStyleEx(SECLIST_EX_ROWLINES))
      DrawRowLine(pContext);
  }
}

void SECListBaseC::PaintCell(SECListPaintContext* pContext)
{
  pContext->pdc->FillSolidRect(&pContext->rect, pContext->rgbCellBk);
  if (pContext->lvi.pszText == NULL)
    return;
  if (pContext->pCol == NULL || pContext->pCol->iSubItem == 0)
    DrawItemIcon(pContext);
  DrawItemText(pContext);
}

void SECListBaseC::DrawItemIcon(SECListPaintContext* pContext)
{
  CImageList* pList = pContext->iView == LVS_ICON ? m_pImageList : m_pSmallImageList;
  if (pList == NULL || pList->m_hImageList == NULL || pContext->lvi.iImage < 0)
    return;
  const RECT& icon = pContext->pItem->m_rcIcon;
  POINT pt = {pContext->rect.left + icon.left, pContext->rect.top + icon.top};
  pList->Draw(pContext->pdc, pContext->lvi.iImage, pt, ILD_NORMAL);
}

void SECListBaseC::DrawItemText(SECListPaintContext* pContext)
{
  int nItem = pContext->lvi.iItem;
  if (nItem == m_nEditItem && pContext->iCol == m_nCurColumn && m_pEdit->m_hWnd != NULL)
    return;
  CDC* pDC = pContext->pdc;
  const RECT& cell = pContext->rect;
  SECListItem* pItem = pContext->pItem;
  BOOL bLabelColumn = pContext->pCol == NULL || pContext->pCol->iSubItem == 0;
  BOOL bFullRow = HasListStyleEx(SECLIST_EX_FULLROWSELECT);
  RECT label = bLabelColumn ? pItem->m_rcText
                            : (pContext->pSubItem != NULL ? pContext->pSubItem->m_rcText : cell);
  ::OffsetRect(&label, cell.left, cell.top);
  BOOL bIcon = bLabelColumn && !::IsRectEmpty(&pItem->m_rcIcon);
  // The text runs to 5 pixels short of the cell (a measured width can fall a pixel short of
  // the ink); beside an icon it is as wide as the label.
  RECT text = label;
  if (!bIcon || pContext->iView != LVS_REPORT)
    text.right = cell.right - 5;
  if (text.right > cell.right - 5)
    text.right = cell.right - 5;
  RECT fill;
  if (bIcon && pContext->iView == LVS_ICON) {
    fill = label;
    ::InflateRect(&fill, 2, 0);
  } else if (bIcon) {
    RECT icon = pItem->m_rcIcon;
    ::OffsetRect(&icon, cell.left, cell.top);
    fill.left = icon.right + 2;
    fill.right = text.right + 2;
    fill.top = icon.top < label.top ? icon.top : label.top;
    fill.bottom = icon.bottom > label.bottom ? icon.bottom : label.bottom;
  } else {
    fill.left = cell.left;
    fill.right = label.right + 3;
    fill.top = cell.top;
    fill.bottom = cell.bottom;
  }
  if (fill.right > cell.right)
    fill.right = cell.right;
  if (bFullRow)
    fill.right = cell.right;
  if (bLabelColumn || bFullRow) {
    if (!bLabelColumn)
      fill = cell;
    pDC->FillSolidRect(&fill, pContext->rgbLabelFill);
  }
  LPCSTR psz = pContext->lvi.pszText;
  int nLen = (int)strlen(psz);
  UINT fmt = DT_WORDBREAK | DT_VCENTER | DT_EXPANDTABS | DT_NOPREFIX;
  if (pContext->pCol != NULL)
    fmt |= AlignFlags(pContext->pCol->fmt);
  if (HasListStyle(SECLIST_NOLABELWRAP)) {
    // Breaking words would cut the line at a word instead of ending it with an ellipsis.
    nLen = FirstLineLength(psz);
    fmt = (fmt & ~DT_WORDBREAK) | DT_SINGLELINE | DT_END_ELLIPSIS;
  }
  if (nLen == 0 || text.right <= text.left)
    return;
  CFont* pOldFont = pDC->SelectObject(pContext->pFont != NULL ? pContext->pFont : GetLabelFont());
  int nOldMode = pDC->SetBkMode(TRANSPARENT);
  COLORREF rgbOldText = pDC->SetTextColor(pContext->rgbText);
  COLORREF rgbOldBk = pDC->SetBkColor(pContext->rgbLabelBk);
  pDC->DrawText(psz, nLen, &text, fmt);
  pDC->SetBkColor(rgbOldBk);
  pDC->SetTextColor(rgbOldText);
  pDC->SetBkMode(nOldMode);
  pDC->SelectObject(pOldFont);
}

void SECListBaseC::DrawRowLine(SECListPaintContext* pContext)
{
  CPen* pPen;
  GetRowLinePen(&pPen);
  CDC* pDC = pContext->pdc;
  CPen* pOld = pDC->SelectObject(pPen);
  const RECT& row = pContext->rect;
  pDC->MoveTo(row.left, row.bottom - 1);
  pDC->LineTo(row.right, row.bottom - 1);
  pDC->SelectObject(pOld);
}

void SECListBaseC::DrawColumnLines(SECListPaintContext* pContext)
{
  CPen* pPen;
  GetColumnLinePen(&pPen);
  CDC* pDC = pContext->pdc;
  CPen* pOld = pDC->SelectObject(pPen);
  const RECT& row = pContext->rect;
  int x = row.left;
  int nCols = GetColumnCount();
  for (int i = 0; i < nCols; i++) {
    x += GetColumnAt(i)->cx;
    if (i == nCols - 1 && HasListStyleEx(SECLIST_EX_FILLLABELCOLUMN))
      break;
    pDC->MoveTo(x - 1, row.top);
    pDC->LineTo(x - 1, row.bottom);
  }
  if (pContext->lvi.iItem == GetItemCount() - 1) {
    pDC->MoveTo(row.left, row.bottom - 1);
    pDC->LineTo(row.right, row.bottom - 1);
  }
  pDC->SelectObject(pOld);
}
