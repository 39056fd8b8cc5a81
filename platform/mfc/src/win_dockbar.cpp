// Dock bars: the rows of docked bars along a side of a frame or inside a floating frame,
// with place-holders for bars that left, and the positional layout of the rows.
#include "afxext.h"

IMPLEMENT_DYNAMIC(CDockBar, CControlBar)

BEGIN_MESSAGE_MAP(CDockBar, CControlBar)
  ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

namespace {
// A place-holder is a bar's id kept in the array where the bar was.
inline bool IsPlaceHolder(void* p) { return p != NULL && (UINT_PTR)p < 0x10000; }
inline void* PlaceHolderOf(CControlBar* pBar) { return (void*)(UINT_PTR)(pBar->GetDlgCtrlID() & 0xFFFF); }
}  // namespace

CDockBar::CDockBar(BOOL bFloating)
    : m_bFloating(bFloating), m_bLayoutQuery(FALSE), m_rectLayout(0, 0, 0, 0)
{
  m_arrBars.Add(NULL);
  m_bAutoDelete = TRUE;  // the frame makes its side dock bars with new
  m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0;
  m_cxDefaultGap = 0;
}

CDockBar::~CDockBar()
{
  // The bars still listed stay with their own objects; they only lose this dock bar.
  for (INT_PTR i = 0; i < m_arrBars.GetSize(); i++) {
    CControlBar* pBar = GetDockedControlBar((int)i);
    if (pBar != NULL && pBar->m_pDockBar == this)
      pBar->m_pDockBar = NULL;
  }
}

BOOL CDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
  CRect rect(0, 0, 0, 0);
  return CWnd::Create(NULL, NULL, dwStyle, rect, pParentWnd, nID);
}

// ---------------------------------------------------------------------------------------------
// The array

CControlBar* CDockBar::GetDockedControlBar(int nPos) const
{
  if (nPos < 0 || nPos >= m_arrBars.GetSize())
    return NULL;
  void* p = m_arrBars[nPos];
  if (p == NULL || IsPlaceHolder(p))
    return NULL;
  return (CControlBar*)p;
}

int CDockBar::GetDockedCount() const
{
  int nCount = 0;
  for (INT_PTR i = 0; i < m_arrBars.GetSize(); i++)
    if (GetDockedControlBar((int)i) != NULL)
      nCount++;
  return nCount;
}

int CDockBar::GetDockedVisibleCount() const
{
  int nCount = 0;
  for (INT_PTR i = 0; i < m_arrBars.GetSize(); i++) {
    CControlBar* pBar = GetDockedControlBar((int)i);
    if (pBar != NULL && pBar->IsVisible())
      nCount++;
  }
  return nCount;
}

int CDockBar::FindBar(CControlBar* pBar, int nPosExclude)
{
  if (pBar == NULL)
    return -1;
  for (INT_PTR i = 0; i < m_arrBars.GetSize(); i++)
    if (i != nPosExclude && m_arrBars[i] == pBar)
      return (int)i;
  return -1;
}

// Rows left without entries are dropped; the array keeps its leading NULL and ends with one.
void CDockBar::RemoveEmptyRows()
{
  for (INT_PTR i = m_arrBars.GetSize() - 1; i >= 1; i--)
    if (m_arrBars[i] == NULL && m_arrBars[i - 1] == NULL)
      m_arrBars.RemoveAt(i);
  if (m_arrBars.GetSize() == 0 || m_arrBars[0] != NULL)
    m_arrBars.InsertAt(0, (void*)NULL);
  if (m_arrBars[m_arrBars.GetSize() - 1] != NULL)
    m_arrBars.Add(NULL);
}

void CDockBar::RemovePlaceHolder(CControlBar* pBar)
{
  int nPos;
  while ((nPos = FindBar((CControlBar*)PlaceHolderOf(pBar))) > 0)
    m_arrBars.RemoveAt(nPos);
  RemoveEmptyRows();
}

void CDockBar::ShowAll(BOOL bShow)
{
  for (INT_PTR i = 0; i < m_arrBars.GetSize(); i++) {
    CControlBar* pBar = GetDockedControlBar((int)i);
    if (pBar != NULL && pBar->m_pDockSite != NULL && pBar->IsVisible() != bShow)
      pBar->m_pDockSite->ShowControlBar(pBar, bShow, FALSE);
  }
}

// ---------------------------------------------------------------------------------------------
// Docking and removing bars

void CDockBar::AttachBar(CControlBar* pBar)
{
  if (m_bFloating && (pBar->m_dwDockStyle & CBRS_FLOAT_MULTI))
    m_dwStyle |= CBRS_FLOAT_MULTI;
  m_dwStyle &= ~(CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC);
  m_dwStyle |= pBar->m_dwStyle & (CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC);
  if (!(m_dwStyle & CBRS_FLOAT_MULTI)) {
    // The floating frame of a single bar shows the bar's title.
    CString strTitle;
    pBar->GetWindowText(strTitle);
    SetWindowText(strTitle);
  }
  DWORD dwStyle = pBar->GetBarStyle() & ~(CBRS_ALIGN_ANY | CBRS_BORDER_ANY | CBRS_FLOATING);
  dwStyle |= (m_dwStyle & CBRS_ALIGN_ANY) | CBRS_BORDER_ANY;
  if (m_bFloating)
    dwStyle |= CBRS_FLOATING;
  pBar->SetBarStyle(dwStyle);
  if (::GetParent(pBar->m_hWnd) != m_hWnd)
    pBar->SetParent(this);
}

int CDockBar::Insert(CControlBar* pBarIns, CRect rect, CPoint ptMid)
{
  BOOL bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
  int nAcross = bHorz ? ptMid.y : ptMid.x;
  int nLead = bHorz ? rect.left : rect.top;
  CRect rectInside(0, 0, 0, 0);
  CalcInsideRect(rectInside, bHorz);
  int nRowStart = bHorz ? rectInside.top : rectInside.left;
  int nSize = (int)m_arrBars.GetSize();
  for (int nPos = 1; nPos < nSize;) {
    int nEnd = nPos;
    while (nEnd < nSize && m_arrBars[nEnd] != NULL)
      nEnd++;
    // The row's thickness is that of its thickest visible bar.
    int nThick = 0;
    for (int i = nPos; i < nEnd; i++) {
      CControlBar* pBar = GetDockedControlBar(i);
      if (pBar == NULL || pBar == pBarIns || !pBar->IsVisible())
        continue;
      CRect rectBar;
      pBar->GetWindowRect(&rectBar);
      int n = bHorz ? rectBar.Height() : rectBar.Width();
      if (n > nThick)
        nThick = n;
    }
    if (nThick > 0) {
      if (nAcross < nRowStart) {
        // Before the first row that shows: a new row of its own.
        m_arrBars.InsertAt(nPos, (void*)NULL);
        m_arrBars.InsertAt(nPos, pBarIns);
        return nPos;
      }
      if (nAcross < nRowStart + nThick) {
        // In this row, after the last bar that starts before it.
        int nInsAfter = nPos - 1;
        for (int i = nPos; i < nEnd; i++) {
          CControlBar* pBar = GetDockedControlBar(i);
          if (pBar == NULL || pBar == pBarIns || !pBar->IsVisible())
            continue;
          CRect rectBar;
          pBar->GetWindowRect(&rectBar);
          ScreenToClient(&rectBar);
          if ((bHorz ? rectBar.left : rectBar.top) < nLead)
            nInsAfter = i;
        }
        m_arrBars.InsertAt(nInsAfter + 1, pBarIns);
        return nInsAfter + 1;
      }
      nRowStart += nThick;
    }
    nPos = nEnd + 1;
  }
  // Past the last row: a new last row.
  m_arrBars.Add(pBarIns);
  m_arrBars.Add(NULL);
  return (int)m_arrBars.GetSize() - 2;
}

void CDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect)
{
  CRect rectBar;
  pBar->GetWindowRect(&rectBar);
  if (pBar->m_pDockBar == this && (lpRect == NULL || rectBar == *lpRect))
    return;  // already there
  CDockBar* pOldDockBar = pBar->m_pDockBar;
  if (pOldDockBar == this) {
    int nOld = FindBar(pBar);
    if (nOld > 0)
      m_arrBars.RemoveAt(nOld);
    RemoveEmptyRows();
  }
  // Into this window first: the floating frame it leaves may go with its last bar.
  AttachBar(pBar);

  CPoint ptPos(0, 0);
  if (lpRect != NULL) {
    CRect rect(*lpRect);
    ScreenToClient(&rect);
    RemovePlaceHolder(pBar);
    Insert(pBar, rect, rect.CenterPoint());
    ptPos = rect.TopLeft();
  } else {
    int nHolder = FindBar((CControlBar*)PlaceHolderOf(pBar));
    if (nHolder > 0) {
      m_arrBars[nHolder] = pBar;
      RemovePlaceHolder(pBar);  // any second one
    } else {
      m_arrBars.Add(pBar);
      m_arrBars.Add(NULL);
    }
  }
  // The next layout gives it its size and row; until then it waits at its drop point.
  pBar->SetWindowPos(NULL, ptPos.x, ptPos.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  pBar->m_pDockBar = this;
  if (pOldDockBar != NULL && pOldDockBar != this) {
    // A bar that floats away leaves its place-holder on its side.
    pOldDockBar->RemoveControlBar(pBar, -1, m_bFloating && !pOldDockBar->m_bFloating);
  }
  if (!m_bFloating && m_pDockSite != NULL)
    m_pDockSite->DelayRecalcLayout();
}

BOOL CDockBar::RemoveControlBar(CControlBar* pBar, int nPosExclude, int nAddPlaceHolder)
{
  int nPos = FindBar(pBar, nPosExclude);
  if (nPos <= 0)
    return FALSE;
  if (nAddPlaceHolder && pBar->m_hWnd != NULL &&
      FindBar((CControlBar*)PlaceHolderOf(pBar)) <= 0)
    m_arrBars[nPos] = PlaceHolderOf(pBar);
  else
    m_arrBars.RemoveAt(nPos);
  RemoveEmptyRows();
  if (pBar->m_pDockBar == this)
    pBar->m_pDockBar = NULL;

  if (m_bFloating) {
    CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, GetParent());
    if (pFrame == NULL)
      return FALSE;
    if (GetDockedCount() == 0) {
      // The frame (and with it this dock bar) goes: touch nothing afterwards.
      pFrame->DestroyWindow();
      return TRUE;
    }
    if (GetDockedVisibleCount() == 0)
      pFrame->ShowWindow(SW_HIDE);
    else
      pFrame->DelayRecalcLayout();
  } else if (m_pDockSite != NULL) {
    m_pDockSite->DelayRecalcLayout();
  }
  return FALSE;
}

// ---------------------------------------------------------------------------------------------
// Layout

LRESULT CDockBar::OnSizeParent(WPARAM wParam, LPARAM lParam)
{
  AFX_SIZEPARENTPARAMS* lpLayout = (AFX_SIZEPARENTPARAMS*)lParam;
  m_bLayoutQuery = lpLayout->hDWP == NULL;
  m_rectLayout = lpLayout->rect;
  LRESULT lResult = CControlBar::OnSizeParent(wParam, lParam);
  m_bLayoutQuery = FALSE;
  return lResult;
}

// Rows one after another across the side; in a row each bar at its own position along the
// side when that is further than the bar before it ends, pulled back when it would run
// past the end. The result is the length and the sum of the rows' thicknesses.
CSize CDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
  CRect rectInside(0, 0, 0, 0);
  CalcInsideRect(rectInside, bHorz);
  int nInsetsAlong = bHorz ? -rectInside.Width() : -rectInside.Height();
  int nInsetsAcross = bHorz ? -rectInside.Height() : -rectInside.Width();

  int nLength;
  if (!m_rectLayout.IsRectEmpty()) {
    nLength = bHorz ? m_rectLayout.Width() : m_rectLayout.Height();
  } else {
    CRect rectParent(0, 0, 0, 0);
    CWnd* pParent = GetParent();
    if (pParent != NULL)
      pParent->GetClientRect(&rectParent);
    nLength = bHorz ? rectParent.Width() : rectParent.Height();
  }
  int nEndAlong = nLength - nInsetsAlong + (bHorz ? rectInside.left : rectInside.top);

  AFX_SIZEPARENTPARAMS layout;
  memset(&layout, 0, sizeof(layout));
  layout.hDWP = m_bLayoutQuery ? NULL : ::BeginDeferWindowPos((int)m_arrBars.GetSize());

  int nAcross = bHorz ? rectInside.top : rectInside.left;
  int nMaxAlong = 0;
  int nSize = (int)m_arrBars.GetSize();
  for (int nPos = 1; nPos < nSize;) {
    int nEnd = nPos;
    while (nEnd < nSize && m_arrBars[nEnd] != NULL)
      nEnd++;
    int nAlong = bHorz ? rectInside.left : rectInside.top;
    int nThick = 0;
    for (int i = nPos; i < nEnd; i++) {
      CControlBar* pBar = GetDockedControlBar(i);
      if (pBar == NULL)
        continue;
      if (!(pBar->RecalcDelayShow(&layout) & WS_VISIBLE))
        continue;
      DWORD dwMode;
      if (m_bFloating && (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC))
        dwMode = LM_HORZ | LM_MRUWIDTH;
      else if (m_bFloating)
        dwMode = bHorz ? LM_HORZ : 0;
      else
        dwMode = bHorz ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK;
      CSize sizeBar = pBar->CalcDynamicLayout(-1, dwMode);
      int nBarAlong = bHorz ? sizeBar.cx : sizeBar.cy;
      int nBarAcross = bHorz ? sizeBar.cy : sizeBar.cx;
      int nStart = nAlong;
      if (!m_bFloating) {
        // A docked bar keeps its place along the side, inside the side's length.
        CRect rectBar;
        pBar->GetWindowRect(&rectBar);
        ScreenToClient(&rectBar);
        int nCur = bHorz ? rectBar.left : rectBar.top;
        if (nCur > nStart)
          nStart = nCur;
        if (nStart + nBarAlong > nEndAlong)
          nStart = nEndAlong - nBarAlong;
        if (nStart < nAlong)
          nStart = nAlong;
      }
      CRect rect = bHorz ? CRect(nStart, nAcross, nStart + nBarAlong, nAcross + nBarAcross)
                         : CRect(nAcross, nStart, nAcross + nBarAcross, nStart + nBarAlong);
      if (!m_bLayoutQuery) {
        AfxRepositionWindow(&layout, pBar->m_hWnd, &rect);
        if (!m_bFloating && pBar->m_pDockContext != NULL) {
          pBar->m_pDockContext->m_uMRUDockID = (UINT)GetDlgCtrlID();
          pBar->m_pDockContext->m_rectMRUDockPos = rect;
        }
      }
      nAlong = nStart + nBarAlong;
      if (nBarAcross > nThick)
        nThick = nBarAcross;
    }
    int nRowLength = nAlong - (bHorz ? rectInside.left : rectInside.top);
    if (nRowLength > nMaxAlong)
      nMaxAlong = nRowLength;
    nAcross += nThick;
    nPos = nEnd + 1;
  }
  if (layout.hDWP != NULL)
    ::EndDeferWindowPos(layout.hDWP);

  int nRows = nAcross - (bHorz ? rectInside.top : rectInside.left);
  CSize size;
  int nAlongTotal = bStretch ? 32767 : (nMaxAlong > 0 ? nMaxAlong + nInsetsAlong : 0);
  int nAcrossTotal = nRows > 0 ? nRows + nInsetsAcross : 0;
  if (bHorz) {
    size.cx = nAlongTotal;
    size.cy = nAcrossTotal;
  } else {
    size.cx = nAcrossTotal;
    size.cy = nAlongTotal;
  }
  return size;
}

void CDockBar::DoPaint(CDC* pDC) { CControlBar::DoPaint(pDC); }

// The docked bars get the idle message themselves, as descendants of the frame.
void CDockBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {}
