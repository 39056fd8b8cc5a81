// The list control's input: the message map, hit testing, selection by mouse and keys,
// label editing, header divider drags, scrolling by bars and wheel, and the notifications.
#include "SECListCtrl.h"

#include <stdlib.h>
#include <string.h>

IMPLEMENT_DYNAMIC(SECListCtrl, SECListBaseC)

BEGIN_MESSAGE_MAP(SECListCtrl, SECListBaseC)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_SYSCOLORCHANGE()
  ON_WM_SIZE()
  ON_WM_GETDLGCODE()
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_WM_ENABLE()
  ON_WM_CANCELMODE()
  ON_WM_SETCURSOR()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_RBUTTONDOWN()
  ON_WM_RBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_WM_MOUSEWHEEL()
  ON_WM_HSCROLL()
  ON_WM_VSCROLL()
  ON_WM_TIMER()
  ON_WM_KEYDOWN()
  ON_WM_SYSKEYDOWN()
  ON_EN_KILLFOCUS(1, OnEditKillFocus)
  ON_EN_UPDATE(1, OnEditUpdate)
END_MESSAGE_MAP()

namespace {
const UINT kEditTimer = 1;
const int kWheelNotch = 120;
const int kLineScroll = 15;
}  // namespace

SECListCtrl::SECListCtrl() {}
SECListCtrl::~SECListCtrl()
{
  // While this class is whole, so that destroying the window runs its own clean-up.
  if (m_hWnd != NULL)
    DestroyWindow();
}

// ---------------------------------------------------------------------------------------------
// Notifications

void SECListBaseC::SendNotify(NMHDR* pHdr, int nCode, LRESULT* pResult)
{
  *pResult = 0;
  CWnd* pTarget = GetNotifyTarget();
  pHdr->hwndFrom = m_hWnd;
  pHdr->idFrom = m_hWnd != NULL ? (UINT_PTR)::GetDlgCtrlID(m_hWnd) : 0;
  pHdr->code = (UINT)nCode;
  if (pTarget == NULL || pTarget->GetSafeHwnd() == NULL)
    return;
  *pResult = ::SendMessageA(pTarget->m_hWnd, WM_NOTIFY, pHdr->idFrom, (LPARAM)pHdr);
}

LRESULT SECListBaseC::NotifyParent(int nCode)
{
  NMHDR hdr;
  memset(&hdr, 0, sizeof hdr);
  LRESULT lResult;
  SendNotify(&hdr, nCode, &lResult);
  m_lLastNotifyResult = lResult;
  return lResult;
}

LRESULT SECListBaseC::NotifyBeginLabelEdit(int nItem, int nSubItem)
{
  NMLVDISPINFOA di;
  memset(&di, 0, sizeof di);
  di.item.mask = LVIF_TEXT;
  di.item.iItem = nItem;
  di.item.iSubItem = nSubItem;
  SECListItem* pItem = GetItemAt(nItem);
  di.item.lParam = pItem != NULL ? pItem->m_lParam : 0;
  LRESULT lResult;
  SendNotify(&di.hdr, LVN_BEGINLABELEDITA, &lResult);
  return lResult;
}

LRESULT SECListBaseC::NotifyDeleteItem(int nItem)
{
  NMLISTVIEW nm;
  memset(&nm, 0, sizeof nm);
  nm.iItem = nItem;
  nm.iSubItem = 0;
  SECListItem* pItem = GetItemAt(nItem);
  nm.lParam = pItem != NULL ? pItem->m_lParam : 0;
  LRESULT lResult;
  SendNotify(&nm.hdr, LVN_DELETEITEM, &lResult);
  return lResult;
}

BOOL SECListBaseC::NotifyEndLabelEdit(int nItem, int nSubItem, CString* pText, BOOL bCommit)
{
  NMLVDISPINFOA di;
  memset(&di, 0, sizeof di);
  di.item.mask = LVIF_TEXT;
  di.item.iItem = nItem;
  di.item.iSubItem = nSubItem;
  SECListItem* pItem = GetItemAt(nItem);
  di.item.lParam = pItem != NULL ? pItem->m_lParam : 0;
  char buffer[SECLIST_TEXT_MAX];
  buffer[0] = 0;
  if (bCommit && pText != NULL) {
    size_t n = (size_t)pText->GetLength();
    if (n > sizeof buffer - 1)
      n = sizeof buffer - 1;
    memcpy(buffer, (LPCSTR)*pText, n);
    buffer[n] = 0;
    di.item.pszText = buffer;
    di.item.cchTextMax = SECLIST_TEXT_MAX;
  }
  LRESULT lResult;
  SendNotify(&di.hdr, LVN_ENDLABELEDITA, &lResult);
  if (!bCommit || lResult == 0)
    return FALSE;
  buffer[sizeof buffer - 1] = 0;
  if (pText != NULL)
    *pText = buffer;
  return TRUE;
}

LRESULT SECListBaseC::NotifyGetDispInfo(LVITEMA* pItem)
{
  NMLVDISPINFOA di;
  memset(&di, 0, sizeof di);
  di.item = *pItem;
  LRESULT lResult;
  SendNotify(&di.hdr, LVN_GETDISPINFOA, &lResult);
  *pItem = di.item;
  return lResult;
}

LRESULT SECListBaseC::NotifyInsertItem(int nItem)
{
  NMLISTVIEW nm;
  memset(&nm, 0, sizeof nm);
  nm.iItem = nItem;
  LRESULT lResult;
  SendNotify(&nm.hdr, LVN_INSERTITEM, &lResult);
  return lResult;
}

LRESULT SECListBaseC::NotifyKeyDown(UINT nVKey)
{
  NMLVKEYDOWN nm;
  memset(&nm, 0, sizeof nm);
  nm.wVKey = (WORD)nVKey;
  nm.flags = 0;
  LRESULT lResult;
  SendNotify(&nm.hdr, LVN_KEYDOWN, &lResult);
  return lResult;
}

// ---------------------------------------------------------------------------------------------
// Hit testing and selection

int SECListBaseC::HitTest(int x, int y, UINT* pFlags, int* pCol)
{
  UINT flags = 0;
  int nCol = -1;
  int nItem = -1;
  RECT client = {0, 0, 0, 0};
  if (m_hWnd != NULL)
    ::GetClientRect(m_hWnd, &client);
  if (y < client.top)
    flags |= SECLIST_HT_ABOVE;
  if (y >= client.bottom)
    flags |= SECLIST_HT_BELOW;
  if (x < client.left)
    flags |= SECLIST_HT_TOLEFT;
  if (x >= client.right)
    flags |= SECLIST_HT_TORIGHT;
  if (flags != 0) {
    if (pFlags != NULL)
      *pFlags = flags;
    if (pCol != NULL)
      *pCol = -1;
    return -1;
  }
  RECT list;
  GetListRect(&list);
  int nCols = GetColumnCount();
  if (nCols == 1) {
    nCol = 0;
  } else if (nCols >= 2) {
    int right = list.left - m_nHorzOffset;
    if (x >= right) {
      for (int i = 0; i < nCols; i++) {
        right += GetColumnAt(i)->cx;
        if (right > x) {
          nCol = i;
          break;
        }
      }
    }
  }
  if (y < list.top) {
    // The header band.
    if (IsReportWithHeader()) {
      int left = list.left - m_nHorzOffset;
      for (int i = 0; i < nCols; i++) {
        int right = left + GetColumnAt(i)->cx;
        if (abs(x - right) <= 4) {
          flags |= SECLIST_HT_ONDIVIDER;
          nCol = i;
          break;
        }
        if (x >= left && x < right) {
          flags |= SECLIST_HT_ONHEADER;
          nCol = i;
          break;
        }
        left = right;
      }
    }
  } else if (y < list.bottom && x < list.right) {
    RowWalk w;
    BeginRowWalk(w);
    while (w.nItem < GetItemCount()) {
      int n = w.nItem;
      RECT row;
      NextRowRect(w, &row);
      if (row.top >= list.bottom)
        break;
      POINT pt = {x, y};
      if (!::PtInRect(&row, pt))
        continue;
      nItem = n;
      flags |= SECLIST_HT_ONROW;
      if (View() == LVS_ICON)
        nCol = nCols > 0 ? 0 : -1;
      SECListColumn* pCol = GetColumnAt(nCol);
      if (pCol == NULL || pCol->iSubItem == 0) {
        SECListItem* pItem = GetItemAt(n);
        int left = View() == LVS_ICON || pCol == NULL ? row.left : list.left + GetColumnLeft(nCol);
        RECT label = pItem->m_rcText, icon = pItem->m_rcIcon, state = pItem->m_rcStateIcon;
        ::OffsetRect(&label, left, row.top);
        ::OffsetRect(&icon, left, row.top);
        ::OffsetRect(&state, left, row.top);
        RECT labelRow = {label.left, row.top, label.right, row.bottom};
        if (View() == LVS_ICON)
          labelRow = label;
        if (::PtInRect(&labelRow, pt))
          flags |= SECLIST_HT_ONLABEL;
        else if (::PtInRect(&icon, pt))
          flags |= SECLIST_HT_ONICON;
        else if (::PtInRect(&state, pt))
          flags |= SECLIST_HT_ONSTATEICON;
        else if (x < label.left)
          flags |= SECLIST_HT_LEFTOFLABEL;
        else
          flags |= SECLIST_HT_RIGHTOFLABEL;
      }
      break;
    }
  }
  if (flags == 0)
    flags = SECLIST_HT_NOWHERE;
  if (pFlags != NULL)
    *pFlags = flags;
  if (pCol != NULL)
    *pCol = nCol;
  return nItem;
}

void SECListBaseC::GetClickAction(POINT* pt, int nItem, UINT nHitFlags, BOOL* pArmDrag,
                                  BOOL* pSelect)
{
  *pArmDrag = FALSE;
  *pSelect = FALSE;
  BOOL bFullRow = HasListStyleEx(SECLIST_EX_FULLROWSELECT);
  if (nHitFlags & (SECLIST_HT_ONICON | SECLIST_HT_ONLABEL)) {
    *pArmDrag = *pSelect = TRUE;
  } else if ((nHitFlags & SECLIST_HT_ONROW) && !(nHitFlags & SECLIST_HT_ONSTATEICON) && bFullRow) {
    *pSelect = TRUE;
  } else if ((nHitFlags & SECLIST_HT_LEFTOFLABEL) && !bFullRow) {
    RECT icon;
    if (GetLabelCellRect(nItem, &icon, 1) && pt->x >= icon.right)
      *pArmDrag = *pSelect = TRUE;
  }
}

BOOL SECListBaseC::SelectByInput(int nItem, UINT, UINT nKeyFlags, BOOL bByMouse)
{
  if (GetItemAt(nItem) == NULL)
    return FALSE;
  BOOL bShift = (nKeyFlags & MK_SHIFT) != 0, bCtrl = (nKeyFlags & MK_CONTROL) != 0;
  int nOldFocus = m_nFocusItem;
  auto ask = [&]() {
    m_bSelVetoed = OnItemChanging(nItem, m_nFocusItem, bByMouse);
    return m_bSelVetoed == FALSE;
  };
  if (!IsMultiSelect() || (!bShift && !bCtrl)) {
    BOOL bSelected = IsItemSelected(nItem);
    if (nItem == m_nFocusItem && bSelected)
      return TRUE;
    if ((nKeyFlags & MK_RBUTTON) && bSelected) {
      m_pTip->HideTip();
      int nAnchor = m_nAnchor;
      MoveFocus(nItem);
      m_nAnchor = nAnchor;
    } else {
      if (!ask())
        return FALSE;
      m_pTip->HideTip();
      DeselectAllExcept(nItem);
      SetFocusItem(nItem, TRUE);
    }
  } else {
    if (m_bSelVetoed)
      return TRUE;
    if (bCtrl) {
      m_pTip->HideTip();
      if (!bByMouse) {
        MoveFocus(nItem);
        return TRUE;
      }
      if (!ask())
        return FALSE;
      SetFocusItem(nItem, !IsItemSelected(nItem));
    } else {
      if (m_nAnchor < 0 || nItem == m_nFocusItem)
        return TRUE;
      if (!ask())
        return FALSE;
      m_pTip->HideTip();
      int nAnchor = m_nAnchor;
      DeselectAllExcept(-1);
      SelectRange(nAnchor, nItem, TRUE);
      SetFocusItem(nItem, TRUE);
      m_nAnchor = nAnchor;
      InvalidateItemRange(nAnchor, nItem);
    }
  }
  OnItemChanged(nItem, nOldFocus, bByMouse);
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Label editing

SECListEdit* SECListBaseC::GetEditControl() const { return m_pEdit; }

BOOL SECListBaseC::CancelEditTimer()
{
  if (m_nEditTimer == 0)
    return FALSE;
  if (m_hWnd != NULL)
    KillTimer(kEditTimer);
  m_nEditTimer = 0;
  return TRUE;
}

CWnd* SECListBaseC::EditLabel(int nItem, int nCol)
{
  if (m_pEdit->m_hWnd != NULL || m_hWnd == NULL || GetItemAt(nItem) == NULL)
    return NULL;
  m_pTip->HideTip();
  EndLabelEdit(TRUE);
  if (GetColumnCount() > 0 && GetColumnAt(nCol) == NULL)
    return NULL;
  m_nCurColumn = nCol;
  RECT rc;
  if (!GetCellRect(nItem, nCol, &rc, 2))
    return NULL;
  m_nEditItem = nItem;
  m_nPendingEdit = -1;
  // Nothing the editor reports while it is being set up is typing.
  m_bEndingEdit = TRUE;
  RECT list;
  GetListRect(&list);
  rc.left = rc.left - 4 < 0 ? 0 : rc.left - 4;
  rc.top -= 1;
  rc.bottom += 1;
  rc.right = rc.right + 10 > list.right ? list.right : rc.right + 10;
  DWORD dwStyle = WS_CHILD | WS_BORDER | ES_MULTILINE |
                  (HasListStyle(SECLIST_NOLABELWRAP) ? ES_AUTOHSCROLL | ES_WANTRETURN : ES_AUTOVSCROLL);
  if (!m_pEdit->Create(dwStyle, rc, this, 1)) {
    m_nEditItem = -1;
    m_bEndingEdit = FALSE;
    return NULL;
  }
  int nSub = GetColumnSubItem(nCol);
  if (nSub < 0)
    nSub = 0;
  m_pEdit->SetTabStops();
  // The end notification carries the text in a buffer of the list's text size.
  m_pEdit->LimitText(SECLIST_TEXT_MAX - 1);
  CString strText = GetItemText(nItem, nSub);
  m_pEdit->SetFont(GetLabelFont(), FALSE);
  m_pEdit->SetWindowText(strText);
  m_pEdit->SetSel(0, -1);
  if (NotifyBeginLabelEdit(nItem, nSub) == 1) {
    m_pEdit->DestroyWindow();
    m_nEditItem = -1;
    m_bEndingEdit = FALSE;
    return NULL;
  }
  m_pEdit->ShowWindow(SW_SHOW);
  m_pEdit->SetFocus();
  m_strPreEdit = strText;
  RedrawItems(nItem, FALSE, FALSE, FALSE, FALSE);
  m_bEndingEdit = FALSE;
  return m_pEdit;
}

BOOL SECListBaseC::EndLabelEdit(BOOL bCommit)
{
  if (m_pEdit->m_hWnd == NULL || m_bEndingEdit)
    return FALSE;
  m_bEndingEdit = TRUE;
  CString strText;
  m_pEdit->GetWindowText(strText);
  int nItem = m_nEditItem;
  int nSub = GetColumnSubItem(m_nCurColumn);
  if (nSub < 0)
    nSub = 0;
  m_nEditItem = -1;
  if (::GetFocus() == m_pEdit->m_hWnd)
    ::SetFocus(m_hWnd);
  m_pEdit->DestroyWindow();
  BOOL bAccepted = NotifyEndLabelEdit(nItem, nSub, &strText, bCommit);
  if (GetItemAt(nItem) != NULL)
    SetItemText(nItem, nSub, bAccepted ? (LPCSTR)strText : (LPCSTR)m_strPreEdit);
  RecalcLayout();
  if (m_hWnd != NULL)
    Invalidate();
  return TRUE;
}

void SECListBaseC::OnEditUpdateText()
{
  if (m_pEdit->m_hWnd == NULL || m_bEndingEdit || GetItemAt(m_nEditItem) == NULL)
    return;
  int nItem = m_nEditItem;
  int nSub = GetColumnSubItem(m_nCurColumn);
  if (nSub < 0)
    nSub = 0;
  SECListItem* pItem = GetItemAt(nItem);
  auto labelHeight = [&]() {
    if (nSub == 0)
      return pItem->m_rcText.bottom - pItem->m_rcText.top;
    SECListSubItem* pSub = pItem->GetSubItem(nSub);
    return pSub != NULL ? pSub->m_rcText.bottom - pSub->m_rcText.top : 0;
  };
  int cyBefore = labelHeight();
  CString strText;
  m_pEdit->GetWindowText(strText);
  SetItemText(nItem, nSub, strText);
  MeasureItemAt(nItem);
  if (labelHeight() != cyBefore) {
    RecalcLayout();
    RedrawItems(nItem, FALSE, TRUE, TRUE, FALSE);
  }
  RECT rc;
  if (!GetCellRect(nItem, m_nCurColumn, &rc, 2))
    return;
  RECT limit;
  GetListRect(&limit);
  if (GetColumnCount() >= 2)
    limit.right = limit.left + GetColumnRight(m_nCurColumn);
  rc.left = rc.left - 4 < 0 ? 0 : rc.left - 4;
  rc.top -= 1;
  rc.bottom += 1;
  rc.right = rc.right + 18 > limit.right ? limit.right : rc.right + 18;
  m_pEdit->SetWindowPos(NULL, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---------------------------------------------------------------------------------------------
// Divider drags

int SECListBaseC::TrackColumnDivider(int x, int, int nCol)
{
  if (::GetCapture() != NULL || GetColumnAt(nCol) == NULL)
    return 0;
  ::SetCapture(m_hWnd);
  ::UpdateWindow(m_hWnd);
  RECT client, list;
  ::GetClientRect(m_hWnd, &client);
  GetListRect(&list);
  int xLeft = list.left + GetColumnLeft(nCol);
  int xMin = xLeft + 10;
  int xLine = list.left + GetColumnRight(nCol);
  // Widths follow the divider itself, not the pixel of it that was pressed (up to 4 away).
  x = xLine;
  int xEnd = x;
  CClientDC dc(this);
  SIZE size = {1, 1};
  RECT fixed = {xLeft, client.top, xLeft + 2, list.bottom};
  if (nCol > 0)
    dc.DrawDragRect(&fixed, size, NULL, size);
  RECT line = {xLine, client.top, xLine + 2, list.bottom};
  dc.DrawDragRect(&line, size, NULL, size);
  BOOL bDone = FALSE;
  while (!bDone) {
    if (::GetCapture() != m_hWnd) {
      xEnd = xLine;  // capture lost: the line's last position
      break;
    }
    MSG msg;
    if (!::GetMessageA(&msg, NULL, 0, 0)) {
      // The program is ending: leave the width as it was and let the loop above see it.
      ::PostQuitMessage((int)msg.wParam);
      xEnd = x;
      break;
    }
    switch (msg.message) {
      case WM_MOUSEMOVE: {
        int xNew = (short)LOWORD(msg.lParam);
        if (xNew < xMin)
          xNew = xMin;
        RECT next = {xNew, client.top, xNew + 2, list.bottom};
        dc.DrawDragRect(&next, size, &line, size);
        line = next;
        xLine = xNew;
        break;
      }
      case WM_LBUTTONUP:
        xEnd = (short)LOWORD(msg.lParam);
        bDone = TRUE;
        break;
      case WM_RBUTTONDOWN:
        xEnd = x;
        bDone = TRUE;
        break;
      case WM_KEYDOWN:
        if (msg.wParam == VK_ESCAPE) {
          xEnd = x;
          bDone = TRUE;
          break;
        }
        ::DispatchMessageA(&msg);
        break;
      default:
        ::DispatchMessageA(&msg);
        break;
    }
  }
  RECT none = {0, 0, 0, 0};
  SIZE zero = {0, 0};
  dc.DrawDragRect(&none, zero, &line, size);
  if (nCol > 0)
    dc.DrawDragRect(&none, zero, &fixed, size);
  if (::GetCapture() == m_hWnd)
    ::ReleaseCapture();
  if (xEnd == x)
    return 0;
  if (xEnd < xMin)
    xEnd = xMin;
  return xEnd - x;
}

// ---------------------------------------------------------------------------------------------
// Keys

namespace {
UINT KeyFlags(BOOL bShift, BOOL bCtrl) { return (bShift ? MK_SHIFT : 0) | (bCtrl ? MK_CONTROL : 0); }
}  // namespace

void SECListBaseC::OnKeyUp(int nItem, int, BOOL bShift, BOOL bCtrl, UINT, UINT)
{
  if (nItem <= 0)
    return;
  SelectByInput(nItem - 1, 0x46, KeyFlags(bShift, bCtrl), FALSE);
  OnAfterSelectByInput(nItem - 1, FALSE);
  EnsureVisible(nItem - 1);
}

void SECListBaseC::OnKeyDown(int nItem, int, BOOL bShift, BOOL bCtrl, UINT, UINT)
{
  if (nItem >= GetItemCount() - 1)
    return;
  SelectByInput(nItem + 1, 0x46, KeyFlags(bShift, bCtrl), FALSE);
  OnAfterSelectByInput(nItem + 1, FALSE);
  EnsureVisible(nItem + 1);
}

void SECListBaseC::OnKeyF2(int nItem, int, BOOL, BOOL, UINT, UINT)
{
  if (HasListStyle(SECLIST_EDITLABELS) && nItem >= 0)
    EditLabel(nItem, m_nCurColumn);
}

void SECListBaseC::OnKeyReturn(int, int, BOOL, BOOL, UINT, UINT) { NotifyParent(NM_RETURN); }

void SECListBaseC::OnKeyHome(int, int, BOOL bShift, BOOL bCtrl, UINT, UINT)
{
  if (GetItemCount() == 0)
    return;
  if (m_dwScrollBars & WS_VSCROLL) {
    SendMessage(WM_VSCROLL, SB_TOP, 0);
    Invalidate();
  }
  SelectByInput(0, 0x46, KeyFlags(bShift, bCtrl), FALSE);
  OnAfterSelectByInput(0, FALSE);
  Invalidate();
}

void SECListBaseC::OnKeyEnd(int, int, BOOL bShift, BOOL bCtrl, UINT, UINT)
{
  if (GetItemCount() == 0)
    return;
  if (m_dwScrollBars & WS_VSCROLL) {
    SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
    Invalidate();
  }
  int nLast = GetItemCount() - 1;
  SelectByInput(nLast, 0x46, KeyFlags(bShift, bCtrl), FALSE);
  OnAfterSelectByInput(nLast, FALSE);
  Invalidate();
}

void SECListBaseC::OnKeyLeft(int, int, BOOL, BOOL, UINT, UINT) {}
void SECListBaseC::OnKeyBack(int, int, BOOL, BOOL, UINT, UINT) {}
void SECListBaseC::OnKeyRight(int, int, BOOL, BOOL, UINT, UINT) {}
void SECListBaseC::OnKeyMultiply(int, int, BOOL, BOOL, UINT, UINT) {}

void SECListBaseC::OnKeyPageUp(int nItem, int nSub, BOOL bShift, BOOL bCtrl, UINT nRep, UINT nFlags)
{
  if (!(m_dwScrollBars & WS_VSCROLL)) {
    OnKeyHome(nItem, nSub, bShift, bCtrl, nRep, nFlags);
    return;
  }
  if (GetItemCount() == 0)
    return;
  if (nItem == m_nTopIndex)
    SendMessage(WM_VSCROLL, SB_PAGEUP, 0);
  SelectByInput(m_nTopIndex, 0x46, KeyFlags(bShift, bCtrl), FALSE);
  OnAfterSelectByInput(m_nTopIndex, FALSE);
}

void SECListBaseC::OnKeyPageDown(int nItem, int nSub, BOOL bShift, BOOL bCtrl, UINT nRep,
                                 UINT nFlags)
{
  if (!(m_dwScrollBars & WS_VSCROLL)) {
    OnKeyEnd(nItem, nSub, bShift, bCtrl, nRep, nFlags);
    return;
  }
  if (GetItemCount() == 0)
    return;
  if (nItem == GetLastFullyVisible())
    SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
  int nTarget = GetLastFullyVisible();
  SelectByInput(nTarget, 0x46, KeyFlags(bShift, bCtrl), FALSE);
  OnAfterSelectByInput(nTarget, FALSE);
}

// ---------------------------------------------------------------------------------------------
// Message handlers

int SECListCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
  if (CWnd::OnCreate(lpCreateStruct) == -1)
    return -1;
  m_hDividerCursor = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_SECLIST_DIVIDER));
  if ((lpCreateStruct->style & SECLIST_VIEWMASK) != LVS_REPORT && View() != LVS_REPORT) {
    m_dwListStyle |= SECLIST_NOCOLUMNHEADER;
    InsertColumn(0, CString(), 0, 20, 0, FALSE);
  }
  return 0;
}

void SECListCtrl::OnDestroy()
{
  if (!HasListStyle(SECLIST_SHAREIMAGELISTS)) {
    delete m_pImageList;
    delete m_pSmallImageList;
    delete m_pStateImageList;
  }
  m_pImageList = m_pSmallImageList = m_pStateImageList = NULL;
  if (m_pEdit->m_hWnd != NULL)
    m_pEdit->DestroyWindow();
  if (m_pTip->m_hWnd != NULL)
    m_pTip->DestroyWindow();
  DeleteAllItems();
  DeleteAllColumns();
  CWnd::OnDestroy();
}

void SECListCtrl::OnPaint()
{
  CPaintDC dc(this);
  Paint(&dc);
}

BOOL SECListCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

void SECListCtrl::OnSysColorChange()
{
  CWnd::OnSysColorChange();
  if (m_bFollowSysColors) {
    LoadColors();
    ReadSysValues();
    Invalidate();
  }
}

void SECListCtrl::OnSize(UINT nType, int cx, int cy)
{
  PositionScrollBars();
  if (GetColumnCount() > 0) {
    FitLabelColumnIfNeeded();
    RecalcLayout();
  }
  CWnd::OnSize(nType, cx, cy);
}

UINT SECListCtrl::OnGetDlgCode()
{
  return DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_WANTCHARS;
}

void SECListCtrl::OnSetFocus(CWnd* pOldWnd)
{
  CWnd::OnSetFocus(pOldWnd);
  if (HasListStyle(SECLIST_SINGLESEL) && m_nFocusItem >= 0)
    RedrawItems(m_nFocusItem, TRUE, FALSE, FALSE, FALSE);
  else
    Invalidate();
  NotifyParent(NM_SETFOCUS);
}

void SECListCtrl::OnKillFocus(CWnd* pNewWnd)
{
  if (pNewWnd != NULL && m_pEdit->m_hWnd != NULL && pNewWnd->m_hWnd == m_pEdit->m_hWnd)
    return;
  CWnd::OnKillFocus(pNewWnd);
  EndLabelEdit(TRUE);
  if (HasListStyle(SECLIST_SINGLESEL) && m_nFocusItem >= 0)
    RedrawItems(m_nFocusItem, FALSE, FALSE, FALSE, FALSE);
  else
    Invalidate();
  NotifyParent(NM_KILLFOCUS);
}

void SECListCtrl::OnEnable(BOOL bEnable)
{
  if (!bEnable)
    m_pTip->HideTip();
  Invalidate();
  CWnd::OnEnable(bEnable);
}

void SECListCtrl::OnCancelMode() { m_pTip->HideTip(); }

BOOL SECListCtrl::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
  if (nHitTest == HTCLIENT && m_hDividerCursor != NULL) {
    POINT pt;
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_hWnd, &pt);
    UINT flags;
    HitTest(pt.x, pt.y, &flags, NULL);
    if (flags & SECLIST_HT_ONDIVIDER) {
      ::SetCursor(m_hDividerCursor);
      return TRUE;
    }
  }
  return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

void SECListCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
  SetFocus();
  UINT hit;
  int nCol;
  int nItem = HitTest(point.x, point.y, &hit, &nCol);
  m_bDragArmed = FALSE;
  m_nCurColumn = nCol >= 0 ? nCol : 0;
  if (hit & SECLIST_HT_ONDIVIDER) {
    if (nCol >= 0 && nCol < GetColumnCount() - 1) {
      int dx = TrackColumnDivider(point.x, point.y, nCol);
      if (dx != 0) {
        GetColumnAt(nCol)->cx += dx;
        if (HasListStyleEx(SECLIST_EX_FILLLABELCOLUMN)) {
          GetColumnAt(nCol + 1)->cx -= dx;
          int cxTotal = 0;
          for (int i = 0; i < GetColumnCount(); i++) {
            if (GetColumnAt(i)->cx < 5)
              GetColumnAt(i)->cx = 5;
            cxTotal += GetColumnAt(i)->cx;
          }
          if (cxTotal > ListWidth()) {
            SECListColumn* pFirst = GetColumnAt(0);
            pFirst->cx -= cxTotal - ListWidth();
            if (pFirst->cx < 5)
              pFirst->cx = 5;
          }
        }
        RecalcLayout();
        Invalidate();
      }
    }
  } else {
    BOOL bArm, bSelect;
    POINT pt = {point.x, point.y};
    GetClickAction(&pt, nItem, hit, &bArm, &bSelect);
    m_bDragArmed = bArm;
    if (bSelect) {
      SelectByInput(nItem, hit, nFlags, TRUE);
      OnAfterSelectByInput(nItem, TRUE);
    }
  }
  m_xDown = point.x;
  m_yDown = point.y;
  m_pTip->RefreshTip();
  m_bDragging = FALSE;
  Default();
}

void SECListCtrl::OnLButtonUp(UINT, CPoint point)
{
  m_bDragArmed = FALSE;
  if (m_bDragging) {
    m_bDragging = FALSE;
    return;
  }
  UINT hit;
  int nCol;
  int nItem = HitTest(point.x, point.y, &hit, &nCol);
  BOOL bFullRow = HasListStyleEx(SECLIST_EX_FULLROWSELECT);
  BOOL bActivates = (hit & (SECLIST_HT_ONICON | SECLIST_HT_ONLABEL)) ||
                    ((hit & SECLIST_HT_ONROW) && bFullRow);
  if (!bActivates && (hit & SECLIST_HT_LEFTOFLABEL)) {
    RECT icon;
    bActivates = GetLabelCellRect(nItem, &icon, 1) && point.x >= icon.right;
  }
  if (nItem >= 0 && bActivates && nItem == m_nPendingEdit) {
    CancelEditTimer();
    m_nEditTimer = SetTimer(kEditTimer, 500);
  }
  BOOL bOnLabel = (hit & SECLIST_HT_ONLABEL) || (bFullRow && (hit & SECLIST_HT_ONROW) && nCol > 0);
  m_nPendingEdit = (nItem >= 0 && HasListStyle(SECLIST_EDITLABELS) && IsItemSelected(nItem) &&
                    bOnLabel)
                       ? nItem
                       : -1;
  Default();
  NotifyParent(NM_CLICK);
}

void SECListCtrl::OnLButtonDblClk(UINT, CPoint)
{
  m_nPendingEdit = -1;
  CancelEditTimer();
  Default();
  NotifyParent(NM_DBLCLK);
}

void SECListCtrl::OnRButtonDown(UINT nFlags, CPoint point)
{
  SetFocus();
  UINT hit;
  int nCol;
  int nItem = HitTest(point.x, point.y, &hit, &nCol);
  m_bDragArmed = FALSE;
  if (!(hit & SECLIST_HT_ONDIVIDER)) {
    BOOL bArm, bSelect;
    POINT pt = {point.x, point.y};
    GetClickAction(&pt, nItem, hit, &bArm, &bSelect);
    m_bDragArmed = bArm;
    if (bSelect) {
      SelectByInput(nItem, hit, nFlags | MK_RBUTTON, TRUE);
      OnAfterSelectByInput(nItem, TRUE);
    }
  }
  m_xDown = point.x;
  m_yDown = point.y;
  m_pTip->RefreshTip();
  m_bDragging = FALSE;
  Default();
}

void SECListCtrl::OnRButtonUp(UINT, CPoint)
{
  m_bDragArmed = FALSE;
  if (m_bDragging) {
    m_bDragging = FALSE;
    return;
  }
  m_pTip->RefreshTip();
  Default();
  NotifyParent(NM_RCLICK);
}

void SECListCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
  if (m_bDragging)
    return;
  UINT hit;
  int nCol;
  int nItem = HitTest(point.x, point.y, &hit, &nCol);
  m_bOnDivider = (hit & SECLIST_HT_ONDIVIDER) != 0;
  if (m_nFocusItem >= 0 && m_bDragArmed && (nFlags & (MK_LBUTTON | MK_RBUTTON))) {
    if (abs(point.x - m_xDown) >= 4 || abs(point.y - m_yDown) >= 4) {
      m_bDragArmed = FALSE;
      m_bDragging = TRUE;
      if (nFlags & MK_LBUTTON)
        OnBeginDrag(m_nFocusItem, m_xDown, m_yDown);
      else
        OnBeginRightDrag(m_nFocusItem, m_xDown, m_yDown);
    }
  }
  if (HasListStyleEx(SECLIST_EX_CLIPPEDTIPS) && HasListStyle(SECLIST_NOLABELWRAP)) {
    if (m_bDragging || (nItem >= 0 && nItem == m_nEditItem))
      m_pTip->HideTip();
    else
      m_pTip->ShowTip(hit, nItem, nCol, point.x, point.y);
  }
  Default();
}

BOOL SECListCtrl::OnMouseWheel(UINT, short zDelta, CPoint)
{
  m_nWheelDelta += zDelta;
  int nNotches = m_nWheelDelta / kWheelNotch;
  if (nNotches == 0)
    return TRUE;
  m_pTip->HideTip();
  if (m_dwScrollBars & WS_VSCROLL) {
    if (nNotches > 0) {
      if (m_nTopIndex > 0)
        ScrollVert(-nNotches);
    } else if (GetLastFullyVisible() < GetItemCount() - 1) {
      ScrollVert(-nNotches);
    }
  } else if (m_dwScrollBars & WS_HSCROLL) {
    ScrollHorz(nNotches * kLineScroll);
  }
  m_nWheelDelta = 0;
  return TRUE;
}

void SECListCtrl::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
  EndLabelEdit(TRUE);
  m_pTip->HideTip();
  int nTrack = (int)nPos;
  if (pScrollBar != NULL && pScrollBar->m_hWnd != NULL) {
    SCROLLINFO si;
    if (pScrollBar->GetScrollInfo(&si, SIF_TRACKPOS))
      nTrack = si.nTrackPos;
  }
  switch (nSBCode) {
    case SB_LINELEFT: ScrollHorz(kLineScroll); break;
    case SB_LINERIGHT: ScrollHorz(-kLineScroll); break;
    case SB_PAGELEFT: ScrollHorz(ListWidth()); break;
    case SB_PAGERIGHT: ScrollHorz(-ListWidth()); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: ScrollHorz(m_nHorzOffset - nTrack); break;
    case SB_LEFT: ScrollHorz(m_nHorzOffset); break;
    case SB_RIGHT: ScrollHorz(m_nHorzOffset - GetContentWidth(TRUE)); break;
  }
}

void SECListCtrl::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
  EndLabelEdit(TRUE);
  m_pTip->HideTip();
  int nTrack = (int)nPos;
  if (pScrollBar != NULL && pScrollBar->m_hWnd != NULL) {
    SCROLLINFO si;
    if (pScrollBar->GetScrollInfo(&si, SIF_TRACKPOS))
      nTrack = si.nTrackPos;
  }
  switch (nSBCode) {
    case SB_LINEUP:
      if (m_nTopIndex > 0)
        ScrollVert(-1);
      break;
    case SB_LINEDOWN:
      if (GetLastFullyVisible() < GetItemCount() - 1)
        ScrollVert(1);
      break;
    case SB_PAGEUP: {
      int n = GetCountPerPageAbove();
      ScrollVert(-(n > 0 ? n : 1));
      break;
    }
    case SB_PAGEDOWN: {
      int n = GetCountPerPage();
      int nTop = m_nTopIndex + (n > 0 ? n : 1);
      int nLastTop = GetLastPageTop();
      if (nTop > nLastTop)
        nTop = nLastTop;
      if (nTop > m_nTopIndex)
        ScrollVert(nTop - m_nTopIndex);
      break;
    }
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: ScrollVert(nTrack - m_nTopIndex); break;
    case SB_TOP: ScrollVert(-m_nTopIndex); break;
    case SB_BOTTOM: {
      int nLastTop = GetLastPageTop();
      if (nLastTop > m_nTopIndex)
        ScrollVert(nLastTop - m_nTopIndex);
      break;
    }
  }
}

void SECListCtrl::OnTimer(UINT_PTR nIDEvent)
{
  if (nIDEvent == kEditTimer && m_nEditTimer != 0) {
    CancelEditTimer();
    if (m_nPendingEdit >= 0 && m_nPendingEdit == m_nFocusItem)
      EditLabel(m_nFocusItem, m_nCurColumn);
  }
  Default();
}

void SECListCtrl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
  NotifyKeyDown(nChar);
  BOOL bShift = ::GetKeyState(VK_SHIFT) < 0;
  BOOL bCtrl = ::GetKeyState(VK_CONTROL) < 0;
  int nItem = m_nFocusItem;
  int nSub = GetColumnSubItem(m_nCurColumn);
  if (nSub < 0)
    nSub = 0;
  switch (nChar) {
    case VK_UP: OnKeyUp(nItem, nSub, bShift, bCtrl, nRepCnt, nFlags); break;
    case VK_DOWN: OnKeyDown(nItem, nSub, bShift, bCtrl, nRepCnt, nFlags); break;
    case VK_HOME: OnKeyHome(nItem, nSub, bShift, bCtrl, nRepCnt, nFlags); break;
    case VK_END: OnKeyEnd(nItem, nSub, bShift, bCtrl, nRepCnt, nFlags); break;
    case VK_PRIOR: OnKeyPageUp(nItem, nSub, bShift, bCtrl, nRepCnt, nFlags); break;
    case VK_NEXT: OnKeyPageDown(nItem, nSub, bShift, bCtrl, nRepCnt, nFlags); break;
    case VK_F2: OnKeyF2(nItem, nSub, bShift, bCtrl, nRepCnt, nFlags); break;
    case VK_RETURN: OnKeyReturn(nItem, nSub, bShift, bCtrl, nRepCnt, nFlags); break;
    case VK_SPACE:
      if (nItem >= 0)
        SetFocusItem(nItem, !IsItemSelected(nItem));
      break;
    case VK_TAB:
      if (GetParent() != NULL)
        GetParent()->PostMessage(WM_NEXTDLGCTL, bShift, 0);
      break;
    case VK_ESCAPE:
      if (GetParent() != NULL)
        GetParent()->PostMessage(WM_COMMAND, IDCANCEL, 0);
      break;
    case VK_LEFT:
    case VK_SUBTRACT:
    case VK_OEM_MINUS: OnKeyLeft(nItem, nSub, bShift, bCtrl, nRepCnt, nFlags); break;
    case VK_BACK: OnKeyBack(nItem, nSub, bShift, bCtrl, nRepCnt, nFlags); break;
    case VK_RIGHT:
    case VK_ADD:
    case VK_OEM_PLUS: OnKeyRight(nItem, nSub, bShift, bCtrl, nRepCnt, nFlags); break;
    case VK_MULTIPLY: OnKeyMultiply(nItem, nSub, bShift, bCtrl, nRepCnt, nFlags); break;
  }
  Default();
}

void SECListCtrl::OnSysKeyDown(UINT nChar, UINT, UINT)
{
  NotifyKeyDown(nChar);
  Default();
}

void SECListCtrl::OnEditKillFocus() { EndLabelEdit(TRUE); }

void SECListCtrl::OnEditUpdate() { OnEditUpdateText(); }
