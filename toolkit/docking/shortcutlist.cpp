// The shortcut list and the list bar that holds it.
#include "shortcutlist.h"

#include <objbase.h>

#include <algorithm>

namespace {

CLIPFORMAT RegisterListFormat() { return (CLIPFORMAT)::RegisterClipboardFormatA("SEC_CF_LISTCTRL"); }

CLIPFORMAT s_cfList = RegisterListFormat();
GUID s_processId;
BOOL s_bHaveProcessId = FALSE;
// The drag a list of this process is running: a drop must carry exactly this block.
SECShortcutDragBlock s_currentDrag;
BOOL s_bDragging = FALSE;

int ScrollWidth() { return ::GetSystemMetrics(SM_CXVSCROLL); }
int ScrollArrowHeight() { return ::GetSystemMetrics(SM_CYVSCROLL); }

struct MarkerTools {
  CPen pen;
  CBrush brush;
  MarkerTools()
  {
    pen.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    brush.CreateSolidBrush(RGB(0, 0, 0));
  }
};

MarkerTools& Marker()
{
  static MarkerTools tools;  // made when the first marker is drawn, gone at exit
  return tools;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Scroll buttons

void SECShortcutListCtrl::ScrollButton::Draw(CDC* pDC)
{
  UINT state = m_nDirection == 1 ? DFCS_SCROLLUP : DFCS_SCROLLDOWN;
  if (m_nState & stPressed)
    state |= DFCS_PUSHED;
  CRect rc = m_rect;
  pDC->DrawFrameControl(&rc, DFC_SCROLL, state);
}

// ---------------------------------------------------------------------------------------------
// Shared data

CLIPFORMAT SECShortcutListCtrl::GetClipboardFormat() { return s_cfList; }

const BYTE* SECShortcutListCtrl::GetProcessId()
{
  return s_bHaveProcessId ? reinterpret_cast<const BYTE*>(&s_processId) : NULL;
}

const SECShortcutDragBlock* SECShortcutListCtrl::GetCurrentDrag()
{
  return s_bDragging ? &s_currentDrag : NULL;
}

BOOL SECShortcutListCtrl::ReadDragBlock(COleDataObject* pData, SECShortcutDragBlock* pBlock)
{
  if (s_cfList == 0 || pData == NULL || !pData->IsDataAvailable(s_cfList))
    return FALSE;
  HGLOBAL h = pData->GetGlobalData(s_cfList);
  if (h == NULL)
    return FALSE;
  BOOL bOk = FALSE;
  // A short block (another program's data under our format name) is never read past its end.
  if (::GlobalSize(h) >= sizeof(SECShortcutDragBlock)) {
    const void* p = ::GlobalLock(h);
    if (p != NULL) {
      memcpy(pBlock, p, sizeof *pBlock);
      ::GlobalUnlock(h);
      // The record carries a pointer into the source list: only the drag this process is
      // running, byte for byte, is trusted.
      bOk = s_bDragging && memcmp(pBlock, &s_currentDrag, sizeof *pBlock) == 0;
    }
  }
  ::GlobalFree(h);
  return bOk;
}

// ---------------------------------------------------------------------------------------------
// Construction

IMPLEMENT_DYNCREATE(SECShortcutListCtrl, SECListCtrl)

BEGIN_MESSAGE_MAP(SECShortcutListCtrl, SECListCtrl)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_MOUSEMOVE()
  ON_WM_TIMER()
  ON_WM_KILLFOCUS()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_MBUTTONDOWN()
  ON_WM_MOUSEWHEEL()
  ON_WM_CONTEXTMENU()
  ON_COMMAND(ID_SCL_LARGEICON, OnLargeIcon)
  ON_COMMAND(ID_SCL_SMALLICON, OnSmallIcon)
END_MESSAGE_MAP()

SECShortcutListCtrl::SECShortcutListCtrl()
    : m_nHotItem(-1),
      m_nHotTimer(0),
      m_nLastWheelDelta(0),
      m_pDropTarget(NULL),
      m_pUpButton(NULL),
      m_pDownButton(NULL),
      m_ptPress(-1, -1)
{
}

SECShortcutListCtrl::~SECShortcutListCtrl()
{
  delete m_pDropTarget;
  delete m_pUpButton;
  delete m_pDownButton;
}

SECShortcutListCtrl::ListDropTarget* SECShortcutListCtrl::NewDropTarget() { return new ListDropTarget; }
SECShortcutListCtrl::ScrollButton* SECShortcutListCtrl::NewScrollUpButton() { return new ScrollButton(1); }
SECShortcutListCtrl::ScrollButton* SECShortcutListCtrl::NewScrollDownButton() { return new ScrollButton(0); }

int SECShortcutListCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
  if (SECListCtrl::OnCreate(lpCreateStruct) == -1)
    return -1;
  m_pDropTarget = NewDropTarget();
  m_pUpButton = NewScrollUpButton();
  m_pDownButton = NewScrollDownButton();
  COLORREF clrBk = ::GetSysColor(COLOR_INACTIVECAPTION);
  SetBkColor(clrBk);
  SetTextBkColor(clrBk);
  SetSelTextBkColor(clrBk);
  SetTextColor(RGB(255, 255, 255));
  SetSelTextColor(RGB(255, 255, 255));
  if (s_cfList != 0) {
    m_pDropTarget->m_pList = this;
    m_pDropTarget->Register(this);
    if (!s_bHaveProcessId && SUCCEEDED(::CoCreateGuid(&s_processId)))
      s_bHaveProcessId = TRUE;
  }
  ModifyListStyles(0, SECLIST_SHAREIMAGELISTS | SECLIST_NOSCROLL, 0, SECLIST_EX_FILLLABELCOLUMN,
                   FALSE);
  return 0;
}

void SECShortcutListCtrl::OnDestroy()
{
  if (m_nHotTimer != 0) {
    KillTimer(m_nHotTimer);
    m_nHotTimer = 0;
  }
  if (m_pDropTarget != NULL) {
    m_pDropTarget->m_pList = NULL;
    m_pDropTarget->Revoke();
  }
  SECListCtrl::OnDestroy();
}

// ---------------------------------------------------------------------------------------------
// Geometry

int SECShortcutListCtrl::RecalcLayout()
{
  int n = SECListBaseC::RecalcLayout();
  PositionButtons();
  return n;
}

void SECShortcutListCtrl::PositionButtons()
{
  if (m_pUpButton == NULL || m_pDownButton == NULL || m_hWnd == NULL)
    return;
  RECT r = {0, 0, 0, 0};
  GetListRect(&r);
  int w = ScrollWidth(), h = ScrollArrowHeight();
  m_pUpButton->SetRect(CRect(r.right - w - 5, r.top + 5, r.right - 5, r.top + 5 + h));
  m_pDownButton->SetRect(CRect(r.right - w - 5, r.bottom - h - 5, r.right - 5, r.bottom - 5));
}

BOOL SECShortcutListCtrl::GetItemBoxes(int nItem, RECT* pRow, RECT* pIcon, RECT* pLabel)
{
  if (m_hWnd == NULL || nItem < m_nTopIndex || nItem >= GetItemCount())
    return FALSE;
  RECT list;
  GetListRect(&list);
  int y = list.top;
  for (int i = m_nTopIndex; i < nItem; i++) {
    y += RowHeight(i);
    if (y >= list.bottom)
      return FALSE;
  }
  SECListItem* pItem = GetItemAt(nItem);
  RECT row = {list.left - m_nHorzOffset, y + GetRowGap(), list.right, y + RowHeight(nItem)};
  int centre = (row.left + row.right) / 2;
  RECT icon = {centre - 16, row.top + pItem->m_rcIcon.top,
               centre - 16 + (pItem->m_rcIcon.right - pItem->m_rcIcon.left),
               row.top + pItem->m_rcIcon.bottom};
  int cxLabel = pItem->m_rcText.right - pItem->m_rcText.left;
  RECT label = {centre - cxLabel / 2, row.top + pItem->m_rcText.top,
                centre - cxLabel / 2 + cxLabel, row.top + pItem->m_rcText.bottom};
  if (pRow)
    *pRow = row;
  if (pIcon)
    *pIcon = icon;
  if (pLabel)
    *pLabel = label;
  return TRUE;
}

int SECShortcutListCtrl::HitTest(int x, int y, UINT* pFlags, int* pCol)
{
  PositionButtons();
  POINT pt = {x, y};
  UINT flags = 0;
  if (pCol != NULL)
    *pCol = -1;
  if (m_pUpButton != NULL && m_pUpButton->GetRect().PtInRect(pt)) {
    if (pFlags)
      *pFlags = 0;
    return SCL_HT_SCROLLUP;
  }
  if (m_pDownButton != NULL && m_pDownButton->GetRect().PtInRect(pt)) {
    if (pFlags)
      *pFlags = 0;
    return SCL_HT_SCROLLDOWN;
  }
  if (View() == 1)
    return SECListBaseC::HitTest(x, y, pFlags, pCol);
  RECT client = {0, 0, 0, 0};
  GetListClientRect(&client);
  if (x >= client.right)
    flags = SECLIST_HT_TORIGHT;
  else if (x < client.left)
    flags = SECLIST_HT_TOLEFT;
  else if (y >= client.bottom)
    flags = SECLIST_HT_BELOW;
  else if (y < client.top)
    flags = SECLIST_HT_ABOVE;
  if (flags != 0) {
    if (pFlags)
      *pFlags = flags;
    return -1;
  }
  RECT list;
  GetListRect(&list);
  int nItem = -1;
  for (int i = m_nTopIndex; i < GetItemCount(); i++) {
    RECT row, icon, label;
    if (!GetItemBoxes(i, &row, &icon, &label) || row.top >= list.bottom)
      break;
    if (!::PtInRect(&row, pt))
      continue;
    nItem = i;
    if (::PtInRect(&label, pt))
      flags = SECLIST_HT_ONLABEL;
    else if (::PtInRect(&icon, pt))
      flags = SECLIST_HT_ONICON;
    else if (x < label.left)
      flags = SECLIST_HT_LEFTOFLABEL;
    else if (x >= label.right)
      flags = SECLIST_HT_RIGHTOFLABEL;
    break;
  }
  if (flags == 0)
    flags = SECLIST_HT_NOWHERE;
  if (pFlags)
    *pFlags = flags;
  return nItem;
}

BOOL SECShortcutListCtrl::FindDropGap(CPoint point, RECT* pMarker, int* pCode, int* pAbove)
{
  if (m_hWnd == NULL)
    return FALSE;
  RECT list;
  GetListRect(&list);
  int nCount = GetItemCount();
  int nAbove = -1;
  if (nCount > 0) {
    nAbove = nCount - 1;  // below every row
    int y = list.top;
    for (int i = m_nTopIndex; i < nCount; i++) {
      if (y >= list.bottom) {
        nAbove = i - 1;
        break;
      }
      if (point.y < y + RowHeight(i)) {
        // In this row's gap or the row itself: the gap above it.
        nAbove = i - 1;
        break;
      }
      y += RowHeight(i);
    }
  }
  // The gap follows the row of the item above, or lies at the inner top.
  int top = list.top;
  RECT row;
  if (nAbove >= m_nTopIndex && GetItemBoxes(nAbove, &row, NULL, NULL))
    top = row.bottom;
  ::SetRect(pMarker, list.left - m_nHorzOffset, top, list.right, top + GetRowGap());
  if (nCount == 0 || nAbove < 0)
    *pCode = -1;
  else if (nAbove == nCount - 1)
    *pCode = -2;
  else
    *pCode = nAbove + 1;
  *pAbove = nAbove;
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Items and notifications

void SECShortcutListCtrl::InvalidateItemRow(int nItem, BOOL bErase, BOOL bToEnd)
{
  RedrawItems(nItem, FALSE, bErase, bToEnd, FALSE);
}

UINT SECShortcutListCtrl::GetItemHotState(int nItem)
{
  if (GetItemAt(nItem) == NULL)
    return 0;
  return GetItemState(nItem, SCLIS_HOTMASK) & SCLIS_HOTMASK;
}

void SECShortcutListCtrl::SetItemHotState(int nItem, UINT nState)
{
  if (GetItemAt(nItem) == NULL)
    return;
  nState &= SCLIS_HOTMASK;
  if (GetItemHotState(nItem) == nState)
    return;
  SetItemState(nItem, nState, SCLIS_HOTMASK);
  if (m_hWnd != NULL)
    Invalidate();
}

void SECShortcutListCtrl::ClearAllHotStates()
{
  for (int i = 0; i < GetItemCount(); i++)
    if (GetItemHotState(i) != 0)
      SetItemState(i, 0, SCLIS_HOTMASK);
  if (m_hWnd != NULL)
    Invalidate();
}

LRESULT SECShortcutListCtrl::NotifyItem(int nCode, const LVITEMA* pItem)
{
  SECShortcutListNotify nm;
  memset(&nm, 0, sizeof nm);
  nm.iItem = pItem != NULL ? pItem->iItem : -1;
  LRESULT lResult;
  SendNotify(&nm.hdr, nCode, &lResult);
  m_lLastNotifyResult = lResult;
  return lResult;
}

BOOL SECShortcutListCtrl::DeleteItem(SECListItem* pItem)
{
  m_nHotItem = -1;
  return SECListBaseC::DeleteItem(pItem);
}

BOOL SECShortcutListCtrl::DeleteItems(int nFirst, int nCount)
{
  m_nHotItem = -1;
  return SECListBaseC::DeleteItems(nFirst, nCount);
}

BOOL SECShortcutListCtrl::DeleteAllItems()
{
  m_nHotItem = -1;
  return SECListBaseC::DeleteAllItems();
}

void SECShortcutListCtrl::ScrollLineDown()
{
  CScrollBar* pBar = GetScrollBarCtrl(SB_VERT);
  SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), (LPARAM)pBar->GetSafeHwnd());
  Invalidate();
}

void SECShortcutListCtrl::ScrollLineUp()
{
  CScrollBar* pBar = GetScrollBarCtrl(SB_VERT);
  SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEUP, 0), (LPARAM)pBar->GetSafeHwnd());
  Invalidate();
}

void SECShortcutListCtrl::SetMode(int nMode)
{
  ModifyListStyle(SECLIST_VIEWMASK, (DWORD)nMode, TRUE);
}

void SECShortcutListCtrl::OnLargeIcon() { SetMode(0); }
void SECShortcutListCtrl::OnSmallIcon() { SetMode(1); }
void SECShortcutListCtrl::OnPrepareContextMenu(CMenu*) {}

// ---------------------------------------------------------------------------------------------
// Painting

void SECShortcutListCtrl::Paint(CDC* pDC)
{
  SECListBaseC::Paint(pDC);
  SCROLLINFO si;
  memset(&si, 0, sizeof si);
  si.cbSize = sizeof si;
  si.fMask = SIF_PAGE | SIF_POS;
  si.nPos = m_nTopIndex;
  DrawScrollButtons(pDC, &si);
}

void SECShortcutListCtrl::DrawScrollButtons(CDC* pDC, SCROLLINFO* pInfo)
{
  int nCount = GetItemCount();
  if (nCount == 0 || m_pUpButton == NULL || m_pDownButton == NULL)
    return;
  PositionButtons();
  if (pInfo->nPos != 0 && pDC->RectVisible(m_pUpButton->GetRect()))
    m_pUpButton->Draw(pDC);
  int nLast = GetLastFullyVisible();
  if (nLast < 0)
    nLast = 0;
  if (nLast != nCount - 1 && pDC->RectVisible(m_pDownButton->GetRect()))
    m_pDownButton->Draw(pDC);
}

void SECShortcutListCtrl::DrawItemIcon(SECListPaintContext* pContext)
{
  BOOL bLarge = View() == 0;
  CImageList* pList = bLarge ? m_pImageList : m_pSmallImageList;
  if (pList == NULL || pList->m_hImageList == NULL || pContext->lvi.iImage < 0)
    return;
  const RECT& row = pContext->rect;
  const RECT& box = pContext->pItem->m_rcIcon;
  int x;
  if (bLarge) {
    IMAGEINFO info;
    memset(&info, 0, sizeof info);
    ImageList_GetImageInfo(pList->m_hImageList, pContext->lvi.iImage, &info);
    x = (row.right - row.left) / 2 - (info.rcImage.right - info.rcImage.left) / 2;
  } else {
    x = row.left + box.left;
  }
  int y = row.top + box.top;
  pList->Draw(pContext->pdc, pContext->lvi.iImage, CPoint(x, y), ILD_NORMAL);
  int cx = box.right - box.left, cy = box.bottom - box.top;
  UINT state = GetItemHotState(pContext->lvi.iItem);
  COLORREF clrLight = ::GetSysColor(COLOR_BTNHIGHLIGHT), clrBlack = RGB(0, 0, 0);
  COLORREF clrTopLeft = m_rgbBk, clrBottomRight = m_rgbBk;
  if (state & SCLIS_HOT) {
    clrTopLeft = clrLight;
    clrBottomRight = clrBlack;
  } else if (state & SCLIS_PRESSED) {
    clrTopLeft = clrBlack;
    clrBottomRight = clrLight;
  }
  pContext->pdc->Draw3dRect(x - 1, y - 1, cx + 3, cy + 3, clrTopLeft, clrBottomRight);
}

void SECShortcutListCtrl::DrawItemText(SECListPaintContext* pContext)
{
  CDC* pDC = pContext->pdc;
  const RECT& row = pContext->rect;
  SECListItem* pItem = pContext->pItem;
  BOOL bLarge = View() == 0;
  BOOL bFirstColumn = pContext->pCol == NULL || pContext->pCol->iSubItem == 0;
  RECT text = {row.left + 5, row.top, row.right - 5, row.bottom};
  if (!::IsRectEmpty(&pItem->m_rcIcon) && bFirstColumn) {
    if (bLarge) {
      text.top = row.top + pItem->m_rcText.top;
    } else {
      text.left = row.left + pItem->m_rcIcon.right + 4;
      text.top = row.top + 3;
      text.right = text.left + (pItem->m_rcText.right - pItem->m_rcText.left);
    }
  }
  UINT format = DT_WORDBREAK | DT_VCENTER | DT_NOPREFIX;
  if (bLarge) {
    format |= DT_CENTER;
  } else {
    SECListColumn* pCol = GetColumnAt(0);
    int fmt = pCol != NULL ? pCol->fmt : 0;
    format |= fmt == 1 ? DT_RIGHT : fmt == 2 ? DT_CENTER : DT_LEFT;
  }
  CString strText = pContext->lvi.pszText != NULL && pContext->lvi.pszText != LPSTR_TEXTCALLBACKA
                        ? CString(pContext->lvi.pszText)
                        : GetItemText(pContext->lvi.iItem, 0);
  if (HasListStyle(SECLIST_NOLABELWRAP)) {
    int nBreak = strText.Find('\n');
    if (nBreak >= 0)
      strText = strText.Left(nBreak + 1);
    format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_END_ELLIPSIS;
  }
  CFont* pOld = pContext->pFont != NULL ? pDC->SelectObject(pContext->pFont) : NULL;
  COLORREF clrOldText = pDC->SetTextColor(pContext->rgbText);
  COLORREF clrOldBk = pDC->SetBkColor(pContext->rgbLabelBk);
  int nOldMode = pDC->SetBkMode(TRANSPARENT);
  pDC->DrawText(strText, &text, format);
  pDC->SetBkMode(nOldMode);
  pDC->SetBkColor(clrOldBk);
  pDC->SetTextColor(clrOldText);
  if (pOld != NULL)
    pDC->SelectObject(pOld);
}

POINT* SECShortcutListCtrl::GetLeftMarkerPoints(const RECT& rc, int nCode)
{
  int m = (rc.top + rc.bottom) / 2, x = rc.left;
  POINT* p = new POINT[3];
  p[0] = {x, nCode == -1 || nCode == -2 ? m : m + 4};
  p[1] = {x + 8, m};
  p[2] = {x, nCode == -1 ? m + 8 : nCode == -2 ? m - 8 : m - 4};
  return p;
}

POINT* SECShortcutListCtrl::GetRightMarkerPoints(const RECT& rc, int nCode)
{
  POINT* p = GetLeftMarkerPoints(rc, nCode);
  for (int i = 0; i < 3; i++)
    p[i].x = rc.right - (p[i].x - rc.left);
  return p;
}

void SECShortcutListCtrl::DrawDropMarker(CDC* pDC, const RECT& rc, int nCode)
{
  MarkerTools& tools = Marker();
  CPen* pOldPen = pDC->SelectObject(&tools.pen);
  CBrush* pOldBrush = pDC->SelectObject(&tools.brush);
  int m = (rc.top + rc.bottom) / 2;
  pDC->MoveTo(0, m);
  pDC->LineTo(rc.right, m);
  POINT* pLeft = GetLeftMarkerPoints(rc, nCode);
  pDC->Polygon(pLeft, 3);
  delete[] pLeft;
  POINT* pRight = GetRightMarkerPoints(rc, nCode);
  pDC->Polygon(pRight, 3);
  delete[] pRight;
  pDC->SelectObject(pOldBrush);
  pDC->SelectObject(pOldPen);
}

// ---------------------------------------------------------------------------------------------
// Mouse

void SECShortcutListCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
  UINT flags = 0;
  int nItem = HitTest(point.x, point.y, &flags, NULL);
  BOOL bOnItem = nItem >= 0 && (flags & (SECLIST_HT_ONICON | SECLIST_HT_ONLABEL)) != 0;
  if (!bOnItem)
    ClearAllHotStates();
  if (nItem < 0) {
    // A scroll button or empty space.
    if (m_nHotItem >= 0)
      SetItemHotState(m_nHotItem, 0);
    m_nHotItem = -1;
    return;
  }
  if (!(nFlags & MK_LBUTTON) || !bOnItem) {
    SetItemHotState(nItem, bOnItem ? SCLIS_HOT : 0);
    if (m_nHotItem != nItem && m_nHotItem >= 0)
      SetItemHotState(m_nHotItem, 0);
    m_nHotItem = nItem;
    if (m_nHotTimer != 0)
      KillTimer(m_nHotTimer);
    m_nHotTimer = SetTimer(HOT_TIMER, HOT_DELAY, NULL);
    return;
  }
  CRect slop(m_ptPress.x - DRAG_SLOP, m_ptPress.y - DRAG_SLOP, m_ptPress.x + DRAG_SLOP,
             m_ptPress.y + DRAG_SLOP);
  if (m_ptPress.x != -1 && !slop.PtInRect(point))
    DragItem(nItem);
}

void SECShortcutListCtrl::OnTimer(UINT_PTR nIDEvent)
{
  if (nIDEvent != HOT_TIMER) {
    SECListCtrl::OnTimer(nIDEvent);
    return;
  }
  KillTimer(HOT_TIMER);
  m_nHotTimer = 0;
  DWORD pos = ::GetMessagePos();
  CPoint pt((short)LOWORD(pos), (short)HIWORD(pos));
  ScreenToClient(&pt);
  CRect client;
  GetClientRect(&client);
  if (client.PtInRect(pt))
    return;
  if (m_nHotItem >= 0)
    SetItemState(m_nHotItem, 0, SCLIS_HOTMASK);
  Invalidate();
}

void SECShortcutListCtrl::OnKillFocus(CWnd* pNewWnd)
{
  SECListCtrl::OnKillFocus(pNewWnd);
  if (GetItemAt(m_nHotItem) != NULL) {
    SetItemState(m_nHotItem, 0, SCLIS_HOTMASK);
    Invalidate();
  }
}

void SECShortcutListCtrl::OnLButtonDown(UINT, CPoint point)
{
  m_ptPress = point;
  UINT flags = 0;
  int nItem = HitTest(point.x, point.y, &flags, NULL);
  if (nItem == SCL_HT_SCROLLUP || nItem == SCL_HT_SCROLLDOWN) {
    ScrollButton* pButton = nItem == SCL_HT_SCROLLUP ? m_pUpButton : m_pDownButton;
    pButton->ChangeState(ScrollButton::stPressed, 0);
    InvalidateRect(pButton->GetRect(), FALSE);
    if (nItem == SCL_HT_SCROLLUP)
      ScrollLineUp();
    else
      ScrollLineDown();
    return;
  }
  if (nItem < 0)
    return;
  UINT state = GetItemHotState(nItem) & ~SCLIS_HOT;
  if (flags & (SECLIST_HT_ONICON | SECLIST_HT_ONLABEL))
    state |= SCLIS_PRESSED;
  SetItemHotState(nItem, state);
}

void SECShortcutListCtrl::OnLButtonUp(UINT, CPoint point)
{
  m_ptPress = CPoint(-1, -1);
  UINT flags = 0;
  int nItem = HitTest(point.x, point.y, &flags, NULL);
  if (nItem == SCL_HT_SCROLLUP || nItem == SCL_HT_SCROLLDOWN) {
    ScrollButton* pButton = nItem == SCL_HT_SCROLLUP ? m_pUpButton : m_pDownButton;
    pButton->ChangeState(0, ScrollButton::stPressed);
    InvalidateRect(pButton->GetRect(), FALSE);
    return;
  }
  if (nItem < 0)
    return;
  BOOL bOnItem = (flags & (SECLIST_HT_ONICON | SECLIST_HT_ONLABEL)) != 0;
  SetItemHotState(nItem, bOnItem ? SCLIS_HOT : 0);
  // The notification window may delete the list: nothing of it is touched afterwards.
  HWND hWnd = m_hWnd;
  NotifyItem(NM_CLICK, NULL);
  if (bOnItem && ::IsWindow(hWnd)) {
    LVITEMA lvi;
    memset(&lvi, 0, sizeof lvi);
    lvi.iItem = nItem;
    NotifyItem(SCLN_ITEMCLICKED, &lvi);
  }
}

void SECShortcutListCtrl::OnLButtonDblClk(UINT nFlags, CPoint point)
{
  if (nFlags & MK_LBUTTON)
    OnLButtonDown(nFlags, point);
}

void SECShortcutListCtrl::OnMButtonDown(UINT, CPoint) { SetFocus(); }

BOOL SECShortcutListCtrl::OnMouseWheel(UINT, short zDelta, CPoint pt)
{
  CRect rc;
  GetWindowRect(&rc);
  if (!rc.PtInRect(pt))
    return TRUE;
  m_nLastWheelDelta = zDelta;
  if (zDelta < 0)
    ScrollLineDown();
  else
    ScrollLineUp();
  return TRUE;
}

void SECShortcutListCtrl::OnContextMenu(CWnd*, CPoint point)
{
  CMenu menu;
  if (!menu.LoadMenu(IDR_SCL_CONTEXTMENU))
    return;
  CMenu* pPopup = menu.GetSubMenu(0);
  if (pPopup == NULL)
    return;
  if (View() == 0)
    pPopup->CheckMenuItem(ID_SCL_LARGEICON, MF_BYCOMMAND | MF_CHECKED);
  else if (View() == 1)
    pPopup->CheckMenuItem(ID_SCL_SMALLICON, MF_BYCOMMAND | MF_CHECKED);
  OnPrepareContextMenu(pPopup);
  pPopup->TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, this);
}

// ---------------------------------------------------------------------------------------------
// Drag and drop

BOOL SECShortcutListCtrl::PrepareDragData(COleDataSource* pSource, LVITEMA* pItem)
{
  pItem->mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
  GetItem(pItem, FALSE, FALSE);
  SetItemHotState(pItem->iItem, 0);
  Invalidate();
  HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(SECShortcutDragBlock));
  if (h == NULL)
    return FALSE;
  SECShortcutDragBlock* pBlock = (SECShortcutDragBlock*)::GlobalLock(h);
  if (s_bHaveProcessId)
    memcpy(pBlock->id, &s_processId, sizeof pBlock->id);
  pBlock->item = *pItem;
  s_currentDrag = *pBlock;
  ::GlobalUnlock(h);
  pSource->CacheGlobalData(s_cfList, h);
  return TRUE;
}

DROPEFFECT SECShortcutListCtrl::DragItem(int nItem, COleDropSource* pDropSource)
{
  SECListItem* pSource = GetItemAt(nItem);
  if (pSource == NULL || s_cfList == 0 || s_bDragging)
    return DROPEFFECT_NONE;
  m_ptPress = CPoint(-1, -1);
  COleDataSource source;
  LVITEMA lvi;
  memset(&lvi, 0, sizeof lvi);
  lvi.iItem = nItem;
  if (!PrepareDragData(&source, &lvi))
    return DROPEFFECT_NONE;
  s_bDragging = TRUE;
  HWND hWnd = m_hWnd;
  DROPEFFECT effect = source.DoDragDrop(DROPEFFECT_MOVE, NULL, pDropSource);
  s_bDragging = FALSE;
  memset(&s_currentDrag, 0, sizeof s_currentDrag);
  if (effect == DROPEFFECT_MOVE && ::IsWindow(hWnd)) {
    m_nHotItem = -1;
    // Found by its object: the drop may have put the copy before it in this same list.
    for (int i = 0; i < GetItemCount(); i++)
      if (GetItemAt(i) == pSource) {
        DeleteItem(pSource);
        break;
      }
    RecalcLayout();
    Invalidate();
  }
  return effect;
}

BOOL SECShortcutListCtrl::ListDropTarget::IsOwnProcess() const
{
  const BYTE* pId = GetProcessId();
  return pId != NULL && memcmp(m_id, pId, sizeof m_id) == 0;
}

void SECShortcutListCtrl::ListDropTarget::EraseMarker()
{
  if (m_pList == NULL || m_rectMarker.IsRectEmpty())
    return;
  CClientDC dc(m_pList);
  dc.FillSolidRect(&m_rectMarker, m_pList->GetBkColor());
  m_rectMarker.SetRectEmpty();
}

DROPEFFECT SECShortcutListCtrl::ListDropTarget::OnDragEnter(CWnd*, COleDataObject* pData, DWORD,
                                                           CPoint)
{
  memset(m_id, 0, sizeof m_id);
  SECShortcutDragBlock block;
  if (!ReadDragBlock(pData, &block))
    return DROPEFFECT_NONE;
  memcpy(m_id, block.id, sizeof m_id);
  return IsOwnProcess() ? DROPEFFECT_MOVE : DROPEFFECT_NONE;
}

DROPEFFECT SECShortcutListCtrl::ListDropTarget::OnDragOver(CWnd*, COleDataObject* pData, DWORD,
                                                          CPoint point)
{
  if (m_pList == NULL || !IsOwnProcess())
    return DROPEFFECT_NONE;
  UINT flags = 0;
  int nItem = m_pList->HitTest(point.x, point.y, &flags, NULL);
  EraseMarker();
  if (nItem != -1 || !pData->IsDataAvailable(GetClipboardFormat()))
    return DROPEFFECT_NONE;
  RECT marker;
  int nCode, nAbove;
  if (!m_pList->FindDropGap(point, &marker, &nCode, &nAbove))
    return DROPEFFECT_NONE;
  CClientDC dc(m_pList);
  m_pList->DrawDropMarker(&dc, marker, nCode);
  m_rectMarker = marker;
  return DROPEFFECT_MOVE;
}

BOOL SECShortcutListCtrl::ListDropTarget::OnDrop(CWnd*, COleDataObject* pData, DROPEFFECT,
                                                 CPoint point)
{
  if (m_pList == NULL)
    return FALSE;
  EraseMarker();
  UINT flags = 0;
  int nItem = m_pList->HitTest(point.x, point.y, &flags, NULL);
  SECShortcutDragBlock block;
  if (nItem != -1 || flags != SECLIST_HT_NOWHERE || !ReadDragBlock(pData, &block))
    return FALSE;
  CWaitCursor wait;
  RECT marker;
  int nCode, nAbove;
  m_pList->FindDropGap(point, &marker, &nCode, &nAbove);
  CImageList* pImages = m_pList->GetImageList(m_pList->View() == 0 ? LVSIL_NORMAL : LVSIL_SMALL);
  int nImages = pImages != NULL && pImages->m_hImageList != NULL ? pImages->GetImageCount() : 0;
  if (block.item.iImage < 0 || block.item.iImage >= nImages)
    block.item.iImage = 0;
  block.item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
  m_pList->InsertItemAfter(m_pList->GetItemAt(nAbove), &block.item);
  m_pList->RecalcLayout();
  m_pList->Invalidate();
  memset(m_id, 0, sizeof m_id);
  m_pList->NotifyItem(SCLN_ITEMDROPPED, NULL);
  return TRUE;
}

void SECShortcutListCtrl::ListDropTarget::OnDragLeave(CWnd*) { EraseMarker(); }

// ---------------------------------------------------------------------------------------------
// List bar

IMPLEMENT_DYNCREATE(SECListBar, SECBar)

void SECListBar::SetWnd(CWnd* pWnd) { SECBar::SetWnd(pWnd); }

void SECListBar::OnRemove()
{
  if (m_hWndClient != NULL && ::IsWindow(m_hWndClient))
    ::DestroyWindow(m_hWndClient);
}

SECShortcutListCtrl* SECListBar::GetListCtrl() const
{
  CWnd* pWnd = CWnd::FromHandlePermanent(m_hWndClient);
  return pWnd != NULL && pWnd->IsKindOf(RUNTIME_CLASS(SECShortcutListCtrl))
             ? static_cast<SECShortcutListCtrl*>(pWnd)
             : NULL;
}

#define SECLISTBAR_FORWARD(call, fail) \
  SECShortcutListCtrl* pList = GetListCtrl(); \
  return pList != NULL ? pList->call : fail

BOOL SECListBar::SetNotifyWnd(CWnd* pWnd) { SECLISTBAR_FORWARD(SetNotifyWnd(pWnd), FALSE); }
CImageList* SECListBar::GetImageList(int nType) const { SECLISTBAR_FORWARD(GetImageList(nType), NULL); }
CImageList* SECListBar::SetImageList(CImageList* pImageList, int nType)
{
  SECLISTBAR_FORWARD(SetImageList(pImageList, nType), NULL);
}
int SECListBar::GetItemCount() const { SECLISTBAR_FORWARD(GetItemCount(), 0); }
BOOL SECListBar::GetItem(LVITEMA* pItem) const { SECLISTBAR_FORWARD(GetItem(pItem), FALSE); }
BOOL SECListBar::SetItem(const LVITEMA* pItem) { SECLISTBAR_FORWARD(SetItem(pItem), FALSE); }
CString SECListBar::GetItemText(int nItem, int nSubItem) const
{
  SECLISTBAR_FORWARD(SECListBaseC::GetItemText(nItem, nSubItem), CString());
}
int SECListBar::GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const
{
  SECLISTBAR_FORWARD(GetItemText(nItem, nSubItem, lpszText, nLen), 0);
}
BOOL SECListBar::SetItemText(int nItem, LPCTSTR lpszText, int nSubItem)
{
  SECLISTBAR_FORWARD(SetItemText(nItem, nSubItem, lpszText), FALSE);
}
BOOL SECListBar::SetItemData(int nItem, DWORD_PTR dwData) { SECLISTBAR_FORWARD(SetItemData(nItem, (LPARAM)dwData), FALSE); }
DWORD_PTR SECListBar::GetItemData(int nItem) const { SECLISTBAR_FORWARD(GetItemData(nItem), 0); }
int SECListBar::AddItem(LPCTSTR lpszText, int nImage)
{
  SECLISTBAR_FORWARD(InsertItem(pList->GetItemCount(), lpszText, nImage), -1);
}
int SECListBar::InsertItem(const LVITEMA* pItem) { SECLISTBAR_FORWARD(InsertItem(pItem), -1); }
int SECListBar::InsertItem(int nItem, LPCTSTR lpszText, int nImage)
{
  SECLISTBAR_FORWARD(InsertItem(nItem, lpszText, nImage), -1);
}
BOOL SECListBar::DeleteItem(int nItem) { SECLISTBAR_FORWARD(DeleteItems(nItem, 1), FALSE); }
BOOL SECListBar::DeleteAllItems() { SECLISTBAR_FORWARD(DeleteAllItems(), FALSE); }
int SECListBar::HitTest(CPoint pt, UINT* pFlags) const { SECLISTBAR_FORWARD(HitTest(pt.x, pt.y, pFlags, NULL), -1); }
int SECListBar::HitTest(LVHITTESTINFO* pInfo) const
{
  SECShortcutListCtrl* pList = GetListCtrl();
  if (pList == NULL || pInfo == NULL)
    return -1;
  pInfo->iItem = pList->HitTest(pInfo->pt.x, pInfo->pt.y, &pInfo->flags, NULL);
  return pInfo->iItem;
}
