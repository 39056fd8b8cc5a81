// The list's two helper windows: the in-place label editor and the tip that shows a label
// its cell cuts off. Both reach the list only through its client interface.
#include "SECListCtrl.h"

// ---------------------------------------------------------------------------------------------
// Label editor

IMPLEMENT_DYNAMIC(SECListEdit, CEdit)

BEGIN_MESSAGE_MAP(SECListEdit, CEdit)
  ON_WM_GETDLGCODE()
  ON_WM_KEYDOWN()
END_MESSAGE_MAP()

SECListEdit::SECListEdit(SECListClient* pClient) : m_pClient(pClient) {}

SECListEdit::~SECListEdit()
{
  if (m_hWnd != NULL)
    DestroyWindow();
}

UINT SECListEdit::OnGetDlgCode() { return DLGC_WANTALLKEYS; }

void SECListEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
  if (m_pClient != NULL) {
    if (nChar == VK_RETURN && !m_pClient->IsLabelWrap()) {
      m_pClient->EndLabelEdit(TRUE);
      return;
    }
    if (nChar == VK_ESCAPE) {
      m_pClient->EndLabelEdit(FALSE);
      return;
    }
  }
  CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
}

// ---------------------------------------------------------------------------------------------
// Clipped-label tip

BEGIN_MESSAGE_MAP(SECListTip, CWnd)
  ON_WM_PAINT()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

SECListTip::SECListTip(SECListClient* pClient)
    : m_nItem(-1), m_nSubItem(-1), m_pClient(pClient), m_bCaptured(FALSE)
{
  ::SetRectEmpty(&m_rcCell);
}

SECListTip::~SECListTip()
{
  if (m_hWnd != NULL)
    DestroyWindow();
}

BOOL SECListTip::ShowTip(UINT nHitFlags, int nItem, int nCol, int, int)
{
  if (m_pClient == NULL)
    return FALSE;
  HWND hList = m_pClient->GetListHwnd();
  if (m_hWnd == NULL) {
    LPCTSTR lpszClass = AfxRegisterWndClass(CS_SAVEBITS | CS_OWNDC | CS_HREDRAW | CS_VREDRAW,
                                            ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW));
    if (!CreateEx(0, lpszClass, NULL, WS_POPUP | WS_BORDER, 0, 0, 0, 0, hList, NULL))
      return FALSE;
  }
  int nSubItem = nCol >= 0 ? m_pClient->GetColumnSubItem(nCol) : -1;
  BOOL bOnCell = (nHitFlags & SECLIST_HT_ONLABEL) ||
                 ((nHitFlags & SECLIST_HT_ONROW) && nSubItem > 0);
  if (!bOnCell || nItem < 0 || nCol < 0 || ::GetActiveWindow() == NULL) {
    HideTip();
    return FALSE;
  }
  RECT cell, label, list;
  if (!m_pClient->GetCellRect(nItem, nCol, &cell, 0) ||
      !m_pClient->GetCellRect(nItem, nCol, &label, 2))
    return FALSE;
  RECT cellShown = cell;
  cell.right -= 5;
  ::SetRectEmpty(&list);
  m_pClient->GetListRect(&list);
  int limit = cell.right < list.right ? cell.right : list.right;
  if (label.right <= limit && label.left >= list.left) {
    HideTip();
    return FALSE;
  }
  if (m_nItem == nItem && m_nSubItem == nSubItem)
    return TRUE;
  HideTip();
  label.left -= 2;
  label.right += 2;
  label.bottom += 2;
  CString strText = m_pClient->GetItemText(nItem, nSubItem);
  if (strText.IsEmpty())
    return FALSE;
  m_nItem = nItem;
  m_nSubItem = nSubItem;
  m_rcCell = cellShown;
  m_strText = strText;
  m_pClient->ClientToScreen(&label);
  int cxScreen = ::GetSystemMetrics(SM_CXSCREEN);
  if (label.right > cxScreen)
    ::OffsetRect(&label, cxScreen - label.right, 0);
  if (label.left < 0)
    ::OffsetRect(&label, -label.left, 0);
  SetWindowPos(NULL, label.left - 1, label.top, label.right - label.left + 3,
               cellShown.bottom - cellShown.top, SWP_NOACTIVATE | SWP_NOZORDER);
  ShowWindow(SW_SHOWNOACTIVATE);
  m_pClient->CaptureMouse(TRUE);
  m_bCaptured = TRUE;
  RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
  return TRUE;
}

void SECListTip::HideTip()
{
  HWND hList = m_pClient != NULL ? m_pClient->GetListHwnd() : NULL;
  if (m_hWnd != NULL && ::IsWindowVisible(m_hWnd)) {
    ShowWindow(SW_HIDE);
    if (hList != NULL)
      ::RedrawWindow(hList, &m_rcCell, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
  }
  m_nItem = -1;
  m_nSubItem = -1;
  ::SetRectEmpty(&m_rcCell);
  if (m_bCaptured && hList != NULL && ::GetCapture() == hList)
    ::ReleaseCapture();
  m_bCaptured = FALSE;
}

void SECListTip::RefreshTip()
{
  if (m_hWnd != NULL && ::IsWindowVisible(m_hWnd))
    RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
}

void SECListTip::PaintTip(CDC* pDC)
{
  if (m_nItem < 0 || m_pClient == NULL)
    return;
  BOOL bSelected = m_pClient->IsItemSelected(m_nItem);
  COLORREF rgbText = bSelected ? m_pClient->GetSelTextColor() : m_pClient->GetTipTextColor();
  COLORREF rgbBk = bSelected ? m_pClient->GetSelTextBkColor() : m_pClient->GetTipBkColor();
  RECT rc;
  GetClientRect(&rc);
  pDC->FillSolidRect(&rc, rgbBk);
  CFont* pOldFont = pDC->SelectObject(m_pClient->GetLabelFont());
  COLORREF rgbOld = pDC->SetTextColor(rgbText);
  int nOldMode = pDC->SetBkMode(TRANSPARENT);
  rc.left += 2;
  pDC->DrawText(m_strText, &rc, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | DT_NOPREFIX);
  pDC->SetBkMode(nOldMode);
  pDC->SetTextColor(rgbOld);
  pDC->SelectObject(pOldFont);
}

void SECListTip::OnPaint()
{
  CPaintDC dc(this);
  PaintTip(&dc);
}

void SECListTip::OnDestroy()
{
  CWnd::OnDestroy();
  m_nItem = -1;
  HWND hList = m_pClient != NULL ? m_pClient->GetListHwnd() : NULL;
  if (hList != NULL && ::GetCapture() == hList)
    ::ReleaseCapture();
  m_bCaptured = FALSE;
}
