// The list control's data: items, sub-items, columns, states, selection, styles, image
// lists and creation. Layout and painting are in SECListPaint.cpp, input in SECListInput.cpp.
#include "SECListCtrl.h"

#include <afxpriv.h>
#include <string.h>

namespace {

char* DupText(LPCSTR psz)
{
  if (psz == NULL)
    return NULL;
  size_t n = strlen(psz);
  char* p = new char[n + 1];
  memcpy(p, psz, n + 1);
  return p;
}

void FreeText(char*& psz)
{
  if (psz != NULL && psz != LPSTR_TEXTCALLBACKA)
    delete[] psz;
  psz = NULL;
}

// Copies at most nMax bytes including the terminating zero; nothing for no buffer.
void CopyTextTo(LPSTR pszDest, int nMax, LPCSTR pszSrc)
{
  if (pszDest == NULL || pszDest == LPSTR_TEXTCALLBACKA || nMax < 1)
    return;
  if (pszSrc == NULL || pszSrc == LPSTR_TEXTCALLBACKA) {
    pszDest[0] = 0;
    return;
  }
  size_t n = strlen(pszSrc);
  if (n > (size_t)(nMax - 1))
    n = nMax - 1;
  memmove(pszDest, pszSrc, n);
  pszDest[n] = 0;
}

const UINT kListStates = LVIS_SELECTED | LVIS_FOCUSED | LVIS_DROPHILITED;

}  // namespace

// ---------------------------------------------------------------------------------------------
// Items, sub-items, paint context

SECListSubItem::SECListSubItem() : m_pszText(LPSTR_TEXTCALLBACKA) { ::SetRectEmpty(&m_rcText); }

SECListSubItem::~SECListSubItem() { FreeText(m_pszText); }

SECListItem::SECListItem()
    : m_pszText(NULL), m_state(0), m_iImage(0), m_lParam(0), m_cy(-1), m_userState(0)
{
  ::SetRectEmpty(&m_rcText);
  ::SetRectEmpty(&m_rcIcon);
  ::SetRectEmpty(&m_rcStateIcon);
}

SECListItem::~SECListItem()
{
  for (INT_PTR i = 0; i < m_arrSubItems.GetSize(); i++)
    delete (SECListSubItem*)m_arrSubItems[i];
  m_arrSubItems.RemoveAll();
  FreeText(m_pszText);
}

int SECListItem::AddSubItem() { return (int)m_arrSubItems.Add(new SECListSubItem); }

void SECListItem::InsertSubItem(int nPos)
{
  if (nPos < 0)
    nPos = 0;
  if (nPos > GetSubItemCount())
    nPos = GetSubItemCount();
  m_arrSubItems.InsertAt(nPos, new SECListSubItem);
}

void SECListItem::DeleteSubItem(int nSubItem)
{
  if (nSubItem < 1 || nSubItem > GetSubItemCount())
    return;
  delete (SECListSubItem*)m_arrSubItems[nSubItem - 1];
  m_arrSubItems.RemoveAt(nSubItem - 1);
}

SECListSubItem* SECListItem::GetSubItem(int nSubItem) const
{
  if (nSubItem < 1 || nSubItem > GetSubItemCount())
    return NULL;
  return (SECListSubItem*)m_arrSubItems[nSubItem - 1];
}

SECListPaintContext::SECListPaintContext(CDC* pDC)
{
  memset(&lvi, 0, sizeof lvi);
  memset(dwReserved, 0, sizeof dwReserved);
  pdc = pDC;
  ::SetRectEmpty(&rect);
  iCol = 0;
  iView = 0;
  dwReserved2 = 0;
  pFont = NULL;
  pItem = NULL;
  pSubItem = NULL;
  pCol = NULL;
  rgbText = rgbLabelFill = rgbCellBk = rgbLabelBk = 0;
}

SECListPaintContext::~SECListPaintContext() {}

// ---------------------------------------------------------------------------------------------
// Construction

IMPLEMENT_DYNAMIC(SECListBaseC, CWnd)

COLORREF SECListBaseC::s_rgbMenu;
COLORREF SECListBaseC::s_rgbMenuText;
COLORREF SECListBaseC::s_rgbBtnFace;
int SECListBaseC::s_cxVScroll;
int SECListBaseC::s_cyHScroll;

void SECListBaseC::ReadSysValues()
{
  s_rgbMenu = ::GetSysColor(COLOR_MENU);
  s_rgbMenuText = ::GetSysColor(COLOR_MENUTEXT);
  s_rgbBtnFace = ::GetSysColor(COLOR_BTNFACE);
  s_cxVScroll = ::GetSystemMetrics(SM_CXVSCROLL);
  s_cyHScroll = ::GetSystemMetrics(SM_CYHSCROLL);
}

SECListBaseC::SECListBaseC()
    : m_nWheelDelta(0), m_nTopIndex(0), m_nHeaderHeight(18), m_nPendingEdit(-1),
      m_nCurColumn(0), m_nEditItem(-1), m_nSubItemCount(0), m_nFocusItem(-1), m_nDropItem(-1),
      m_nAnchor(-1), m_lLastNotifyResult(0), m_nCallbackMask(0), m_nUserCallbackMask(0),
      m_nEditTimer(0), m_dwListStyle(0), m_dwListStyleEx(0), m_dwScrollBars(0),
      m_bOnDivider(FALSE), m_bSelVetoed(FALSE), m_bEndingEdit(FALSE), m_bAutoUpdate(FALSE),
      m_bDragging(FALSE), m_bDragArmed(FALSE), m_bFollowSysColors(FALSE), m_hDividerCursor(NULL),
      m_pLabelFont(NULL), m_pHeaderFont(NULL), m_pImageList(NULL), m_pSmallImageList(NULL),
      m_pStateImageList(NULL), m_nHorzOffset(0), m_nVertOffset(0), m_xDown(0), m_yDown(0),
      m_pNotifyWnd(NULL)
{
  static bool s_read = false;
  if (!s_read) {
    ReadSysValues();
    s_read = true;
  }
  m_bFollowSysColors = TRUE;
  LoadColors();
  m_bFollowSysColors = FALSE;
  m_pszTextBuf = new char[SECLIST_TEXT_MAX];
  m_pszTextBuf[0] = 0;
  m_pTip = new SECListTip(this);
  m_pEdit = new SECListEdit(this);
}

SECListBaseC::~SECListBaseC()
{
  if (m_pEdit->m_hWnd != NULL)
    m_pEdit->DestroyWindow();
  delete m_pTip;
  delete m_pEdit;
  for (INT_PTR i = 0; i < m_arrItems.GetSize(); i++)
    delete (SECListItem*)m_arrItems[i];
  for (INT_PTR i = 0; i < m_arrColumns.GetSize(); i++)
    delete (SECListColumn*)m_arrColumns[i];
  if (!HasListStyle(SECLIST_SHAREIMAGELISTS)) {
    delete m_pImageList;
    delete m_pSmallImageList;
    delete m_pStateImageList;
  }
  delete[] m_pszTextBuf;
}

void SECListBaseC::LoadColors()
{
  if (!m_bFollowSysColors)
    return;
  m_rgbText = ::GetSysColor(COLOR_WINDOWTEXT);
  m_rgbTextBk = ::GetSysColor(COLOR_WINDOW);
  m_rgbSelText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
  m_rgbSelTextBk = ::GetSysColor(COLOR_HIGHLIGHT);
  m_rgbDisabledText = ::GetSysColor(COLOR_GRAYTEXT);
  m_rgbLabelBk = ::GetSysColor(COLOR_WINDOW);
  m_rgbSelLabelBk = ::GetSysColor(COLOR_WINDOW);
  m_rgbTipBk = ::GetSysColor(COLOR_INFOBK);
  m_rgbTipText = ::GetSysColor(COLOR_INFOTEXT);
  m_rgbBk = ::GetSysColor(COLOR_WINDOW);
}

// ---------------------------------------------------------------------------------------------
// The client interface

HWND SECListBaseC::GetListHwnd() const { return m_hWnd; }
BOOL SECListBaseC::IsLabelWrap() const { return (m_dwListStyle & SECLIST_NOLABELWRAP) == 0; }

int SECListBaseC::GetColumnSubItem(int nCol) const
{
  SECListColumn* pCol = GetColumnAt(nCol);
  return pCol != NULL ? pCol->iSubItem : -1;
}

BOOL SECListBaseC::GetScrollOffsets(int* pOffsets) const
{
  if (pOffsets == NULL)
    return FALSE;
  pOffsets[0] = m_nHorzOffset;
  pOffsets[1] = m_nVertOffset;
  return TRUE;
}

CString SECListBaseC::GetItemText(int nItem, int nSubItem)
{
  if (GetItemText(nItem, nSubItem, m_pszTextBuf, SECLIST_TEXT_MAX) <= 0 &&
      GetItemAt(nItem) == NULL)
    return CString();
  return CString(m_pszTextBuf);
}

void SECListBaseC::ClientToScreen(RECT* pRect) const
{
  if (pRect != NULL && m_hWnd != NULL)
    ::MapWindowPoints(m_hWnd, NULL, (POINT*)pRect, 2);
}

CWnd* SECListBaseC::CaptureMouse(BOOL bCapture)
{
  if (!bCapture)
    return NULL;
  return CWnd::FromHandle(::SetCapture(m_hWnd));
}

BOOL SECListBaseC::IsItemSelected(int nItem)
{
  if (nItem == -1)
    return FALSE;
  return (GetItemState(nItem, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

COLORREF SECListBaseC::GetSelTextColor() const { return m_rgbSelText; }
COLORREF SECListBaseC::GetSelTextBkColor() const { return m_rgbSelTextBk; }
COLORREF SECListBaseC::GetTipTextColor() const { return m_rgbTipText; }
COLORREF SECListBaseC::GetTipBkColor() const { return m_rgbTipBk; }

CFont* SECListBaseC::GetLabelFont() const
{
  return m_pLabelFont != NULL ? m_pLabelFont
                              : CFont::FromHandle((HFONT)::GetStockObject(DEFAULT_GUI_FONT));
}

// ---------------------------------------------------------------------------------------------
// Creation

BOOL SECListBaseC::Create(LPCTSTR, LPCTSTR, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                          UINT nID, CCreateContext* pContext)
{
  return CreateList(dwStyle, 0, rect, pParentWnd, nID, pContext);
}

CScrollBar* SECListBaseC::GetScrollBarCtrl(int nBar) const
{
  const CScrollBar* pBar = nBar == SB_HORZ ? &m_sbHorz : nBar == SB_VERT ? &m_sbVert : NULL;
  if (pBar == NULL || pBar->m_hWnd == NULL)
    return NULL;
  return const_cast<CScrollBar*>(pBar);
}

BOOL SECListBaseC::CreateList(DWORD dwStyle, DWORD dwExStyle, const RECT& rect, CWnd* pParentWnd,
                              UINT nID, LPVOID lpParam)
{
  return CreateListWindow(dwExStyle, NULL, NULL, dwStyle, rect.left, rect.top,
                          rect.right - rect.left, rect.bottom - rect.top,
                          pParentWnd->GetSafeHwnd(), nID, lpParam);
}

BOOL SECListBaseC::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                          LPVOID lpParam)
{
  return CreateList(dwStyle, 0, rect, pParentWnd, nID, lpParam);
}

BOOL SECListBaseC::CreateListWindow(DWORD dwExStyle, LPCTSTR lpszClassName,
                                    LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y, int cx,
                                    int cy, HWND hWndParent, UINT nID, LPVOID lpParam)
{
  CREATESTRUCTA cs;
  cs.dwExStyle = dwExStyle;
  cs.lpszClass = lpszClassName;
  cs.lpszName = lpszWindowName;
  cs.style = dwStyle;
  cs.x = x;
  cs.y = y;
  cs.cx = cx;
  cs.cy = cy;
  cs.hwndParent = hWndParent;
  cs.hMenu = (HMENU)(UINT_PTR)nID;
  cs.hInstance = AfxGetInstanceHandle();
  cs.lpCreateParams = lpParam;
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  AdoptCreateStyles(&cs);
  AfxHookWindowCreate(this);
  HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y,
                                cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance,
                                cs.lpCreateParams);
  if (!AfxUnhookWindowCreate())
    PostNcDestroy();
  return hWnd != NULL;
}

BOOL SECListBaseC::ReplaceDialogItem(UINT nID, CWnd* pDialog)
{
  if (pDialog == NULL || pDialog->m_hWnd == NULL)
    return FALSE;
  HWND hItem = ::GetDlgItem(pDialog->m_hWnd, nID);
  if (hItem == NULL)
    return FALSE;
  DWORD dwStyle = (DWORD)::GetWindowLongA(hItem, GWL_STYLE);
  DWORD dwExStyle = (DWORD)::GetWindowLongA(hItem, GWL_EXSTYLE);
  RECT rc;
  ::GetWindowRect(hItem, &rc);
  ::MapWindowPoints(NULL, pDialog->m_hWnd, (POINT*)&rc, 2);
  HWND hAfter = ::GetWindow(hItem, GW_HWNDPREV);
  ::DestroyWindow(hItem);
  if (!CreateList(dwStyle | WS_BORDER, dwExStyle, rc, pDialog, nID))
    return FALSE;
  // Keep the item's place in the tab order.
  ::SetWindowPos(m_hWnd, hAfter != NULL ? hAfter : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return TRUE;
}

void SECListBaseC::AdoptCreateStyles(CREATESTRUCT* pcs)
{
  SetListStyle(m_dwListStyle | (pcs->style & 0x0000F3FF), FALSE);
  pcs->style &= ~0x0000F3FFu;
  SetListStyleEx(m_dwListStyleEx | (pcs->dwExStyle & 0x0FF00000), FALSE);
  pcs->dwExStyle &= ~0x0FF00000u;
}

void AFXAPI DDX_SECListCtrl(CDataExchange* pDX, int nIDC, SECListBaseC& rList)
{
  if (rList.m_hWnd == NULL && !rList.ReplaceDialogItem(nIDC, pDX->m_pDlgWnd))
    pDX->Fail();
}

// ---------------------------------------------------------------------------------------------
// Colours and fonts

COLORREF SECListBaseC::GetBkColor() const
{
  if (m_hWnd != NULL && !::IsWindowEnabled(m_hWnd))
    return s_rgbMenu;
  return m_rgbBk;
}
COLORREF SECListBaseC::GetTextColor() const { return m_rgbText; }
COLORREF SECListBaseC::GetTextBkColor() const { return m_rgbTextBk; }
COLORREF SECListBaseC::GetDisabledTextColor() const { return m_rgbDisabledText; }
COLORREF SECListBaseC::GetLabelBkColor() const { return m_rgbLabelBk; }
COLORREF SECListBaseC::GetSelLabelBkColor() const { return m_rgbSelLabelBk; }

CFont* SECListBaseC::GetHeaderFont() const
{
  return m_pHeaderFont != NULL ? m_pHeaderFont
                               : CFont::FromHandle((HFONT)::GetStockObject(DEFAULT_GUI_FONT));
}

CWnd* SECListBaseC::GetNotifyWnd() const { return m_pNotifyWnd; }

BOOL SECListBaseC::SetBkColor(COLORREF rgb)
{
  m_rgbBk = rgb;
  return SetTextBkColor(rgb);
}
BOOL SECListBaseC::SetTextColor(COLORREF rgb) { m_rgbText = rgb; return TRUE; }
BOOL SECListBaseC::SetTextBkColor(COLORREF rgb) { m_rgbTextBk = rgb; return TRUE; }
BOOL SECListBaseC::SetSelTextColor(COLORREF rgb) { m_rgbSelText = rgb; return TRUE; }
BOOL SECListBaseC::SetSelTextBkColor(COLORREF rgb) { m_rgbSelTextBk = rgb; return TRUE; }
BOOL SECListBaseC::SetDisabledTextColor(COLORREF rgb) { m_rgbDisabledText = rgb; return TRUE; }
BOOL SECListBaseC::SetLabelBkColor(COLORREF rgb) { m_rgbLabelBk = rgb; return TRUE; }
BOOL SECListBaseC::SetSelLabelBkColor(COLORREF rgb) { m_rgbSelLabelBk = rgb; return TRUE; }
BOOL SECListBaseC::SetTipBkColor(COLORREF rgb) { m_rgbTipBk = rgb; return TRUE; }
BOOL SECListBaseC::SetTipTextColor(COLORREF rgb) { m_rgbTipText = rgb; return TRUE; }
BOOL SECListBaseC::SetLabelFont(CFont* pFont) { m_pLabelFont = pFont; return TRUE; }
BOOL SECListBaseC::SetHeaderFont(CFont* pFont) { m_pHeaderFont = pFont; return TRUE; }
BOOL SECListBaseC::SetNotifyWnd(CWnd* pWnd) { m_pNotifyWnd = pWnd; return TRUE; }
BOOL SECListBaseC::SetFollowSysColors(BOOL bFollow) { m_bFollowSysColors = bFollow; return TRUE; }
BOOL SECListBaseC::GetFollowSysColors() const { return m_bFollowSysColors; }

// ---------------------------------------------------------------------------------------------
// Columns

SECListColumn* SECListBaseC::GetColumnAt(int nCol) const
{
  if (nCol < 0 || nCol >= m_arrColumns.GetSize())
    return NULL;
  return (SECListColumn*)m_arrColumns[nCol];
}

int SECListBaseC::GetColumnCount() const { return (int)m_arrColumns.GetSize(); }

int SECListBaseC::LabelColumnIndex() const
{
  for (int i = 0; i < GetColumnCount(); i++)
    if (GetColumnAt(i)->iSubItem == 0)
      return i;
  return -1;
}

void SECListBaseC::EndEditAndHideTip()
{
  EndLabelEdit(TRUE);
  m_pTip->HideTip();
}

BOOL SECListBaseC::DeleteColumnByTitle(const CString& strTitle)
{
  int nCol;
  if (!FindColumn(strTitle, &nCol, NULL))
    return FALSE;
  return DeleteColumn(nCol);
}

BOOL SECListBaseC::DeleteColumn(int nCol)
{
  SECListColumn* pCol = GetColumnAt(nCol);
  if (pCol == NULL)
    return FALSE;
  EndEditAndHideTip();
  int n = pCol->iSubItem;
  // The label column shows the item's own text: there is no sub-item to remove for it.
  if (n > 0) {
    for (int i = 0; i < GetItemCount(); i++)
      GetItemAt(i)->DeleteSubItem(n);
  }
  if (!HasListStyleEx(SECLIST_EX_KEEPDELETEDWIDTH) && n != 0) {
    int nLabel = LabelColumnIndex();
    if (nLabel >= 0)
      GetColumnAt(nLabel)->cx += pCol->cx;
  }
  if (n > 0)
    m_nSubItemCount--;
  delete pCol;
  m_arrColumns.RemoveAt(nCol);
  if (n > 0) {
    for (int i = 0; i < GetColumnCount(); i++)
      if (GetColumnAt(i)->iSubItem > n)
        GetColumnAt(i)->iSubItem--;
  }
  return TRUE;
}

BOOL SECListBaseC::DeleteAllColumns()
{
  for (INT_PTR i = 0; i < m_arrColumns.GetSize(); i++)
    delete (SECListColumn*)m_arrColumns[i];
  m_arrColumns.RemoveAll();
  RecalcScrollBars();
  return TRUE;
}

BOOL SECListBaseC::AppendColumn(const LVCOLUMNA* pColumn)
{
  return InsertColumn(GetColumnCount(), pColumn, TRUE);
}

BOOL SECListBaseC::AppendColumn(const CString& strTitle, int fmt, int cx, int iSubItem)
{
  return InsertColumn(GetColumnCount(), strTitle, fmt, cx, iSubItem, TRUE);
}

BOOL SECListBaseC::AppendColumnRecord(SECListColumn* pColumn)
{
  return InsertColumnRecord(GetColumnCount(), pColumn, TRUE);
}

BOOL SECListBaseC::InsertColumn(int nCol, const LVCOLUMNA* pColumn, BOOL bRedraw)
{
  if (pColumn == NULL)
    return FALSE;
  CString strTitle;
  if ((pColumn->mask & LVCF_TEXT) && pColumn->pszText != NULL &&
      pColumn->pszText != LPSTR_TEXTCALLBACKA)
    strTitle = pColumn->pszText;
  int fmt = (pColumn->mask & LVCF_FMT) ? (pColumn->fmt & LVCFMT_JUSTIFYMASK) : 0;
  int cx = (pColumn->mask & LVCF_WIDTH) ? pColumn->cx : -1;
  int iSubItem = (pColumn->mask & LVCF_SUBITEM) ? pColumn->iSubItem : -1;
  return InsertColumn(nCol, strTitle, fmt, cx, iSubItem, bRedraw);
}

BOOL SECListBaseC::InsertColumn(int nCol, const CString& strTitle, int fmt, int cx, int iSubItem,
                                BOOL bRedraw)
{
  SECListColumn* pCol = new SECListColumn;
  pCol->strTitle = strTitle;
  pCol->fmt = fmt;
  pCol->cx = cx;
  pCol->iSubItem = iSubItem;
  return InsertColumnRecord(nCol, pCol, bRedraw);
}

BOOL SECListBaseC::InsertColumnRecord(int nCol, SECListColumn* pCol, BOOL bRedraw)
{
  if (pCol == NULL)
    return FALSE;
  if (nCol < 0 || nCol > GetColumnCount()) {
    delete pCol;
    return FALSE;
  }
  EndEditAndHideTip();
  if (nCol == 0) {
    pCol->fmt = 0;
    pCol->iSubItem = 0;
  }
  m_arrColumns.InsertAt(nCol, pCol);
  if (pCol->iSubItem == -1 || pCol->iSubItem > m_nSubItemCount) {
    // A new sub-item: every item gets one more cell. A column inserted in front of others
    // takes the sub-item number of its place, so the columns to its right keep their texts.
    int nNumber = m_nSubItemCount + 1;
    int nPos = m_nSubItemCount;  // array position of the new cell
    for (int i = nCol + 1; i < GetColumnCount(); i++) {
      SECListColumn* pRight = GetColumnAt(i);
      if (pRight->iSubItem > 0 && pRight->iSubItem < nNumber) {
        nNumber = pRight->iSubItem;
        nPos = nNumber - 1;
      }
    }
    for (int i = 0; i < GetColumnCount(); i++) {
      SECListColumn* pOther = GetColumnAt(i);
      if (pOther != pCol && pOther->iSubItem >= nNumber)
        pOther->iSubItem++;
    }
    for (int i = 0; i < GetItemCount(); i++) {
      SECListItem* pItem = GetItemAt(i);
      while (pItem->GetSubItemCount() < m_nSubItemCount)
        pItem->AddSubItem();
      pItem->InsertSubItem(nPos);
    }
    pCol->iSubItem = nNumber;
    m_nSubItemCount++;
  }
  if (pCol->cx == -1)
    pCol->cx = 10;
  if (bRedraw && m_bAutoUpdate && m_hWnd != NULL) {
    if (HasListStyleEx(SECLIST_EX_FILLLABELCOLUMN))
      FitLabelColumn();
    RecalcLayout();
    Invalidate();
  }
  return TRUE;
}

BOOL SECListBaseC::GetColumn(int nCol, LVCOLUMNA* pColumn)
{
  SECListColumn* pCol = GetColumnAt(nCol);
  if (pCol == NULL || pColumn == NULL)
    return FALSE;
  if (pColumn->mask & LVCF_TEXT)
    CopyTextTo(pColumn->pszText, pColumn->cchTextMax, pCol->strTitle);
  if (pColumn->mask & LVCF_FMT)
    pColumn->fmt = pCol->fmt;
  if (pColumn->mask & LVCF_SUBITEM)
    pColumn->iSubItem = pCol->iSubItem;
  if (pColumn->mask & LVCF_WIDTH)
    pColumn->cx = pCol->cx;
  return TRUE;
}

BOOL SECListBaseC::SetColumn(int nCol, const LVCOLUMNA* pColumn, BOOL bRedraw)
{
  SECListColumn* pCol = GetColumnAt(nCol);
  if (pCol == NULL || pColumn == NULL)
    return FALSE;
  EndEditAndHideTip();
  if ((pColumn->mask & LVCF_TEXT) && pColumn->pszText != NULL &&
      pColumn->pszText != LPSTR_TEXTCALLBACKA)
    pCol->strTitle = pColumn->pszText;
  if (pColumn->mask & LVCF_FMT)
    pCol->fmt = pColumn->fmt & LVCFMT_JUSTIFYMASK;
  if ((pColumn->mask & LVCF_SUBITEM) && pColumn->iSubItem >= 0 &&
      pColumn->iSubItem <= m_nSubItemCount)
    pCol->iSubItem = pColumn->iSubItem;
  if (pColumn->mask & LVCF_WIDTH)
    pCol->cx = pColumn->cx;
  if (bRedraw && m_hWnd != NULL) {
    RecalcLayout();
    if (HasListStyleEx(SECLIST_EX_FILLLABELCOLUMN))
      FitLabelColumn();
    Invalidate();
  }
  return TRUE;
}

int SECListBaseC::GetColumnLeft(int nCol)
{
  int x = -m_nHorzOffset;
  for (int i = 0; i < nCol && i < GetColumnCount(); i++)
    x += GetColumnAt(i)->cx;
  return x;
}

int SECListBaseC::GetColumnRight(int nCol) { return GetColumnLeft(nCol) + GetColumnWidth(nCol); }

SECListColumn* SECListBaseC::SetColumnWidth(int nCol, int cx)
{
  SECListColumn* pCol = GetColumnAt(nCol);
  if (pCol != NULL)
    pCol->cx = cx;
  return pCol;
}

int SECListBaseC::GetColumnWidth(int nCol)
{
  if (GetColumnCount() == 0)
    return ListWidth();
  SECListColumn* pCol = GetColumnAt(nCol);
  return pCol != NULL ? pCol->cx : 0;
}

BOOL SECListBaseC::SetColumnFormat(int nCol, int fmt)
{
  SECListColumn* pCol = GetColumnAt(nCol);
  if (pCol == NULL)
    return FALSE;
  pCol->fmt = fmt;
  return TRUE;
}

int SECListBaseC::GetColumnFormat(int nCol)
{
  SECListColumn* pCol = GetColumnAt(nCol);
  return pCol != NULL ? pCol->fmt : 0;
}

BOOL SECListBaseC::SetColumnTitle(int nCol, const CString& strTitle)
{
  SECListColumn* pCol = GetColumnAt(nCol);
  if (pCol == NULL)
    return FALSE;
  pCol->strTitle = strTitle;
  return TRUE;
}

CString SECListBaseC::GetColumnTitle(int nCol)
{
  SECListColumn* pCol = GetColumnAt(nCol);
  return pCol != NULL ? pCol->strTitle : CString();
}

BOOL SECListBaseC::HasColumn(const CString& strTitle) { return FindColumn(strTitle, NULL, NULL); }

BOOL SECListBaseC::FindColumn(const CString& strTitle, int* pCol, int* pSubItem)
{
  for (int i = 0; i < GetColumnCount(); i++) {
    SECListColumn* pColumn = GetColumnAt(i);
    if (_mbscmp((const unsigned char*)(LPCSTR)pColumn->strTitle,
                (const unsigned char*)(LPCSTR)strTitle) == 0) {
      if (pCol != NULL)
        *pCol = i;
      if (pSubItem != NULL)
        *pSubItem = pColumn->iSubItem;
      return TRUE;
    }
  }
  return FALSE;
}

// ---------------------------------------------------------------------------------------------
// Items

SECListItem* SECListBaseC::GetItemAt(int nItem) const
{
  if (nItem < 0 || nItem >= m_arrItems.GetSize())
    return NULL;
  return (SECListItem*)m_arrItems[nItem];
}

LPARAM SECListBaseC::GetItemDataOf(SECListItem* pItem) const
{
  return pItem != NULL ? pItem->m_lParam : 0;
}

int SECListBaseC::GetItemCount() const { return (int)m_arrItems.GetSize(); }
int SECListBaseC::GetSubItemCount() const { return m_nSubItemCount; }

BOOL SECListBaseC::ValidSubItem(const SECListItem* pItem, int nSubItem) const
{
  return nSubItem >= 0 && nSubItem <= pItem->GetSubItemCount();
}

char** SECListBaseC::TextSlot(SECListItem* pItem, int nSubItem) const
{
  if (nSubItem == 0)
    return &pItem->m_pszText;
  SECListSubItem* pSub = pItem->GetSubItem(nSubItem);
  return pSub != NULL ? &pSub->m_pszText : NULL;
}

// Selection array: ascending, no duplicates. Finding yields the first entry not smaller.
BOOL SECListBaseC::SelFind(int nItem, int* pPos) const
{
  int n = (int)m_arrSel.GetSize();
  const DWORD* p = m_arrSel.GetData();
  int lo = 0;
  if (n <= 6) {
    while (lo < n && (int)p[lo] < nItem)
      lo++;
  } else {
    int hi = n;
    while (lo < hi) {
      int mid = (lo + hi) / 2;
      if ((int)p[mid] < nItem)
        lo = mid + 1;
      else
        hi = mid;
    }
  }
  if (pPos != NULL)
    *pPos = lo;
  return lo < n && (int)p[lo] == nItem;
}

BOOL SECListBaseC::SelAdd(int nItem)
{
  int n = (int)m_arrSel.GetSize();
  if (n == 0 || (int)m_arrSel[n - 1] < nItem) {
    m_arrSel.Add((DWORD)nItem);
    return TRUE;
  }
  int nPos;
  if (SelFind(nItem, &nPos))
    return FALSE;
  m_arrSel.InsertAt(nPos, (DWORD)nItem);
  return TRUE;
}

BOOL SECListBaseC::SelRemove(int nItem)
{
  int nPos;
  if (!SelFind(nItem, &nPos))
    return FALSE;
  m_arrSel.RemoveAt(nPos);
  return TRUE;
}

BOOL SECListBaseC::SetItem(const LVITEMA* pLVItem, BOOL bRedraw)
{
  if (pLVItem == NULL)
    return FALSE;
  SECListItem* pItem = GetItemAt(pLVItem->iItem);
  if (pItem == NULL)
    return FALSE;
  UINT mask = pLVItem->mask;
  if ((mask & LVIF_TEXT) && !ValidSubItem(pItem, pLVItem->iSubItem))
    return FALSE;
  UINT callbackFields = 0;
  BOOL bChanged = FALSE, bDropChanged = FALSE;

  if (mask & LVIF_TEXT) {
    char** ppText = TextSlot(pItem, pLVItem->iSubItem);
    if (pLVItem->pszText == LPSTR_TEXTCALLBACKA) {
      FreeText(*ppText);
      *ppText = LPSTR_TEXTCALLBACKA;
      callbackFields |= LVIF_TEXT;
    } else if (*ppText == LPSTR_TEXTCALLBACKA && pLVItem->iSubItem == 0 &&
               !(mask & LVIF_DI_SETITEM)) {
      // The item's own text stays with the parent that asked for it. Sub-items start as
      // callbacks only until the caller gives them a text.
      callbackFields |= LVIF_TEXT;
    } else {
      char* pNew = DupText(pLVItem->pszText);
      FreeText(*ppText);
      *ppText = pNew;
    }
  }
  if (mask & LVIF_IMAGE) {
    if (pItem->m_iImage == -1 && !(mask & LVIF_DI_SETITEM)) {
      callbackFields |= LVIF_IMAGE;
    } else if (pItem->m_iImage != pLVItem->iImage) {
      pItem->m_iImage = pLVItem->iImage;
      bChanged = TRUE;
    }
  }
  if (mask & LVIF_STATE) {
    int nItem = pLVItem->iItem;
    UINT stateMask = pLVItem->stateMask;
    UINT state = pLVItem->state;
    if (stateMask & LVIS_SELECTED) {
      if (state & LVIS_SELECTED)
        bChanged |= SelAdd(nItem);
      else
        bChanged |= SelRemove(nItem);
    }
    if (stateMask & LVIS_FOCUSED) {
      if (state & LVIS_FOCUSED) {
        if (m_nFocusItem != nItem) {
          m_nFocusItem = nItem;
          bChanged = TRUE;
        }
      } else if (m_nFocusItem == nItem) {
        m_nFocusItem = -1;
        bChanged = TRUE;
      }
    }
    if (stateMask & LVIS_DROPHILITED) {
      if (state & LVIS_DROPHILITED) {
        if (m_nDropItem != nItem) {
          m_nDropItem = nItem;
          bChanged = bDropChanged = TRUE;
        }
      } else if (m_nDropItem == nItem) {
        m_nDropItem = -1;
        bChanged = bDropChanged = TRUE;
      }
    }
    UINT other = stateMask & ~kListStates;
    UINT newState = (pItem->m_state & ~other) | (state & other);
    if (newState != pItem->m_state) {
      pItem->m_state = newState;
      bChanged = TRUE;
    }
  }
  if (mask & LVIF_PARAM)
    pItem->m_lParam = pLVItem->lParam;

  if (callbackFields != 0) {
    LVITEMA copy = *pLVItem;
    copy.mask = callbackFields;
    OnSetDispInfo(&copy);
  }
  if (mask & (LVIF_TEXT | LVIF_STATE)) {
    if (mask & LVIF_TEXT)
      MeasureItemAt(pLVItem->iItem);
    if (bRedraw && bChanged && pLVItem->iItem != m_nEditItem)
      RedrawItems(pLVItem->iItem, FALSE, FALSE, FALSE, bDropChanged);
  }
  return TRUE;
}

BOOL SECListBaseC::SetItem(int nItem, int nSubItem, UINT nMask, LPCTSTR lpszText, int nImage,
                           UINT nState, UINT nStateMask, LPARAM lParam)
{
  LVITEMA lvi;
  memset(&lvi, 0, sizeof lvi);
  lvi.mask = nMask;
  lvi.iItem = nItem;
  lvi.iSubItem = nSubItem;
  lvi.pszText = (LPSTR)lpszText;
  lvi.iImage = nImage;
  lvi.state = nState;
  lvi.stateMask = nStateMask;
  lvi.lParam = lParam;
  return SetItem(&lvi, TRUE);
}

BOOL SECListBaseC::SetItemUserState(const LVITEMA* pLVItem, SECListUserState* pState)
{
  if (pLVItem == NULL || pState == NULL)
    return FALSE;
  int nItem = pLVItem->iItem;
  SECListItem* pItem = GetItemAt(nItem);
  if (pItem == NULL)
    return FALSE;
  if (pState->mask & 1) {
    UINT newState = (pItem->m_userState & ~pState->stateMask) | (pState->state & pState->stateMask);
    if (newState != pItem->m_userState) {
      pItem->m_userState = newState;
      RedrawItems(nItem, !HasListStyleEx(SECLIST_EX_FULLROWSELECT), FALSE, FALSE, FALSE);
    }
  }
  MeasureItemAt(nItem);
  if (nItem != m_nEditItem)
    RedrawItems(nItem, FALSE, FALSE, FALSE, FALSE);
  return TRUE;
}

BOOL SECListBaseC::GetItem(LVITEMA* pLVItem, BOOL bCopyText, BOOL bNotify)
{
  if (pLVItem == NULL)
    return FALSE;
  SECListItem* pItem = GetItemAt(pLVItem->iItem);
  if (pItem == NULL)
    return FALSE;
  UINT mask = pLVItem->mask;
  if ((mask & LVIF_TEXT) && !ValidSubItem(pItem, pLVItem->iSubItem))
    return FALSE;
  UINT recorded = 0;
  LPSTR pszCallerBuf = pLVItem->pszText;
  int cchCaller = pLVItem->cchTextMax;

  if (mask & LVIF_TEXT) {
    char* pszStored = *TextSlot(pItem, pLVItem->iSubItem);
    if (pszStored == LPSTR_TEXTCALLBACKA) {
      recorded |= LVIF_TEXT;
      if (!bNotify)
        pLVItem->pszText = LPSTR_TEXTCALLBACKA;
      else if (bCopyText)
        CopyTextTo(pszCallerBuf, cchCaller, "");
    } else if (bCopyText) {
      CopyTextTo(pszCallerBuf, cchCaller, pszStored);
    } else {
      pLVItem->pszText = pszStored;
    }
  }
  if (mask & LVIF_IMAGE) {
    pLVItem->iImage = pItem->m_iImage;
    if (pItem->m_iImage == -1)
      recorded |= LVIF_IMAGE;
  }
  if (mask & LVIF_STATE) {
    if (m_nCallbackMask != 0) {
      recorded |= LVIF_STATE;
    } else {
      UINT sm = pLVItem->stateMask;
      UINT state = pItem->m_state & sm & ~kListStates;
      if ((sm & LVIS_SELECTED) && SelFind(pLVItem->iItem, NULL))
        state |= LVIS_SELECTED;
      if ((sm & LVIS_FOCUSED) && m_nFocusItem == pLVItem->iItem)
        state |= LVIS_FOCUSED;
      if ((sm & LVIS_DROPHILITED) && m_nDropItem == pLVItem->iItem)
        state |= LVIS_DROPHILITED;
      pLVItem->state = state;
    }
  }
  if ((mask & LVIF_PARAM) || recorded != 0)
    pLVItem->lParam = pItem->m_lParam;
  if (bNotify && recorded != 0) {
    pLVItem->mask = recorded;
    NotifyGetDispInfo(pLVItem);
    // A parent that answered with a text of its own: copy it where the caller asked.
    if (bCopyText && (recorded & LVIF_TEXT) && pLVItem->pszText != pszCallerBuf) {
      LPCSTR pszAnswer = pLVItem->pszText;
      pLVItem->pszText = pszCallerBuf;
      CopyTextTo(pszCallerBuf, cchCaller, pszAnswer);
    }
  }
  return TRUE;
}

BOOL SECListBaseC::GetItemUserState(const LVITEMA* pLVItem, SECListUserState* pState,
                                    BOOL bNotify)
{
  if (pLVItem == NULL || pState == NULL)
    return FALSE;
  SECListItem* pItem = GetItemAt(pLVItem->iItem);
  if (pItem == NULL)
    return FALSE;
  pState->iItem = pLVItem->iItem;
  if ((pState->mask & 1) && m_nUserCallbackMask == 0)
    pState->state = pItem->m_userState & pState->stateMask;
  else if (m_nUserCallbackMask != 0 && bNotify) {
    pState->mask = 1;
    OnGetUserDispInfo(pState);
  }
  return TRUE;
}

BOOL SECListBaseC::SetItemText(int nItem, int nSubItem, LPCTSTR lpszText)
{
  LVITEMA lvi;
  memset(&lvi, 0, sizeof lvi);
  lvi.mask = LVIF_TEXT;
  lvi.iItem = nItem;
  lvi.iSubItem = nSubItem;
  lvi.pszText = (LPSTR)lpszText;
  return SetItem(&lvi, TRUE);
}

int SECListBaseC::GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen)
{
  if (lpszText == NULL || nLen < 1)
    return 0;
  lpszText[0] = 0;
  LVITEMA lvi;
  memset(&lvi, 0, sizeof lvi);
  lvi.mask = LVIF_TEXT;
  lvi.iItem = nItem;
  lvi.iSubItem = nSubItem;
  lvi.pszText = lpszText;
  lvi.cchTextMax = nLen;
  if (!GetItem(&lvi, TRUE, TRUE))
    return 0;
  return (int)strlen(lpszText);
}

BOOL SECListBaseC::DeleteItem(SECListItem* pItem)
{
  for (int i = 0; i < GetItemCount(); i++)
    if (GetItemAt(i) == pItem)
      return DeleteItems(i, 1);
  return FALSE;
}

BOOL SECListBaseC::DeleteItems(int nFirst, int nCount)
{
  if (GetItemAt(nFirst) == NULL || nCount < 1)
    return FALSE;
  if (nCount > GetItemCount() - nFirst)
    nCount = GetItemCount() - nFirst;
  // An edit in progress would otherwise end on whatever item slides into its index.
  EndLabelEdit(TRUE);
  RedrawItems(nFirst > 0 ? nFirst - 1 : 0, FALSE, TRUE, TRUE, FALSE);
  NotifyDeleteItem(nFirst);
  for (int i = 0; i < nCount; i++)
    delete (SECListItem*)m_arrItems[nFirst + i];
  m_arrItems.RemoveAt(nFirst, nCount);
  int nEnd = nFirst + nCount;
  if (m_nTopIndex > GetItemCount())
    m_nTopIndex = GetItemCount();
  if (m_nTopIndex >= GetItemCount())
    m_nTopIndex = GetItemCount() > 0 ? GetItemCount() - 1 : 0;
  auto shift = [&](int& n) {
    if (n >= nEnd)
      n -= nCount;
    else if (n >= nFirst)
      n = nFirst - 1;
  };
  shift(m_nFocusItem);
  shift(m_nDropItem);
  shift(m_nAnchor);
  if (m_nPendingEdit >= nFirst)
    m_nPendingEdit = -1;
  for (INT_PTR i = m_arrSel.GetSize() - 1; i >= 0; i--) {
    int n = (int)m_arrSel[i];
    if (n >= nEnd)
      m_arrSel[i] = (DWORD)(n - nCount);
    else if (n >= nFirst)
      m_arrSel.RemoveAt(i);
  }
  if (m_arrSel.GetSize() == 0 && m_nFocusItem >= 0)
    SetFocusItem(m_nFocusItem, TRUE);
  RecalcScrollBars();
  return TRUE;
}

BOOL SECListBaseC::DeleteAllItems()
{
  CancelEditTimer();
  EndLabelEdit(TRUE);
  for (INT_PTR i = 0; i < m_arrItems.GetSize(); i++)
    delete (SECListItem*)m_arrItems[i];
  m_arrItems.RemoveAll();
  m_arrSel.RemoveAll();
  m_nTopIndex = 0;
  m_nFocusItem = -1;
  m_nDropItem = -1;
  m_nAnchor = -1;
  m_nPendingEdit = -1;
  RecalcScrollBars();
  if (m_hWnd != NULL)
    Invalidate();
  return TRUE;
}

UINT SECListBaseC::GetSelectedCount() const { return (UINT)m_arrSel.GetSize(); }

BOOL SECListBaseC::GetLabelCellRect(int nItem, RECT* pRect, int nCode)
{
  int nCol = LabelColumnIndex();
  if (nCol < 0)
    return FALSE;
  return GetCellRect(nItem, nCol, pRect, nCode);
}

int SECListBaseC::InsertItemRecord(int nIndex, SECListItem* pItem)
{
  if (pItem == NULL || nIndex < 0 || nIndex > GetItemCount())
    return -1;
  EndLabelEdit(TRUE);
  m_arrItems.InsertAt(nIndex, pItem);
  if (m_nFocusItem >= nIndex)
    m_nFocusItem++;
  if (m_nDropItem >= nIndex)
    m_nDropItem++;
  if (m_nAnchor >= nIndex)
    m_nAnchor++;
  if (m_nPendingEdit >= nIndex)
    m_nPendingEdit = -1;
  for (INT_PTR i = 0; i < m_arrSel.GetSize(); i++)
    if ((int)m_arrSel[i] >= nIndex)
      m_arrSel[i]++;
  if (m_nFocusItem < 0)
    SetFocusItem(0, TRUE);
  while (pItem->GetSubItemCount() < m_nSubItemCount)
    pItem->AddSubItem();
  return nIndex;
}

int SECListBaseC::InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, UINT nState,
                             UINT nStateMask, int nImage, LPARAM lParam)
{
  LVITEMA lvi;
  memset(&lvi, 0, sizeof lvi);
  lvi.mask = nMask;
  lvi.iItem = nItem;
  lvi.iSubItem = 0;
  lvi.pszText = (LPSTR)lpszItem;
  lvi.state = nState;
  lvi.stateMask = nStateMask;
  lvi.iImage = nImage;
  lvi.lParam = lParam;
  return InsertItem(&lvi);
}

int SECListBaseC::InsertItem(int nItem, LPCTSTR lpszItem, int nImage)
{
  return InsertItem(LVIF_TEXT | LVIF_IMAGE, nItem, lpszItem, 0, 0, nImage, 0);
}

int SECListBaseC::InsertItem(int nItem, LPCTSTR lpszItem)
{
  return InsertItem(LVIF_TEXT, nItem, lpszItem, 0, 0, 0, 0);
}

int SECListBaseC::InsertItem(const LVITEMA* pLVItem)
{
  if (pLVItem == NULL || pLVItem->iItem < 0 || pLVItem->iItem > GetItemCount() ||
      pLVItem->iSubItem != 0)
    return -1;
  int nIndex = pLVItem->iItem;
  SECListItem* pItem = CreateItem();
  if (InsertItemRecord(nIndex, pItem) < 0) {
    delete pItem;
    return -1;
  }
  SetItem(pLVItem, m_bAutoUpdate);
  if (m_bAutoUpdate)
    RecalcScrollBars();
  return nIndex;
}

int SECListBaseC::InsertItemAfter(SECListItem* pRef, LVITEMA* pLVItem)
{
  if (pLVItem == NULL)
    return -1;
  if (pRef == NULL) {
    pLVItem->iItem = 0;
  } else {
    for (int i = 0; i < GetItemCount(); i++)
      if (GetItemAt(i) == pRef) {
        pLVItem->iItem = i + 1;
        break;
      }
  }
  return InsertItem(pLVItem);
}

int SECListBaseC::InsertItemBefore(SECListItem* pRef, LVITEMA* pLVItem)
{
  if (pLVItem == NULL)
    return -1;
  if (pRef == NULL) {
    pLVItem->iItem = 0;
  } else {
    for (int i = 0; i < GetItemCount(); i++)
      if (GetItemAt(i) == pRef) {
        pLVItem->iItem = i;
        break;
      }
  }
  return InsertItem(pLVItem);
}

// ---------------------------------------------------------------------------------------------
// Focus and selection

BOOL SECListBaseC::SetFocusItem(int nItem, BOOL bSelect)
{
  if (HasListStyle(SECLIST_SINGLESEL))
    DeselectAllExcept(nItem);
  if (m_nFocusItem != nItem && m_nFocusItem >= 0)
    SetItemState(m_nFocusItem, 0, LVIS_FOCUSED);
  if (nItem >= 0)
    SetItemState(nItem, LVIS_FOCUSED | (bSelect ? LVIS_SELECTED : 0), LVIS_FOCUSED | LVIS_SELECTED);
  m_nAnchor = m_nFocusItem;
  return TRUE;
}

BOOL SECListBaseC::MoveFocus(int nItem)
{
  if (m_nFocusItem != nItem && m_nFocusItem >= 0)
    SetItemState(m_nFocusItem, 0, LVIS_FOCUSED);
  if (nItem >= 0)
    SetItemState(nItem, LVIS_FOCUSED, LVIS_FOCUSED);
  m_nAnchor = m_nFocusItem;
  return TRUE;
}

BOOL SECListBaseC::DeselectAllExcept(int nItem)
{
  for (INT_PTR i = m_arrSel.GetSize() - 1; i >= 0; i--) {
    if (i >= m_arrSel.GetSize())
      continue;
    int n = (int)m_arrSel[i];
    if (n != nItem)
      SetItemState(n, 0, LVIS_SELECTED);
  }
  return TRUE;
}

BOOL SECListBaseC::SelectRange(int nFirst, int nLast, BOOL bSelect)
{
  if (nFirst > nLast) {
    int t = nFirst;
    nFirst = nLast;
    nLast = t;
  }
  for (int i = nFirst; i <= nLast; i++)
    SelectItem(i, bSelect);
  return TRUE;
}

int SECListBaseC::GetFocusItem() const { return m_nFocusItem; }

SIZE* SECListBaseC::GetContentSize(SIZE* pSize, int)
{
  if (pSize == NULL)
    return NULL;
  pSize->cx = GetContentWidth(TRUE);
  pSize->cy = GetScrollItemCount();
  return pSize;
}

BOOL SECListBaseC::SetItemState(int nItem, UINT nState, UINT nMask)
{
  LVITEMA lvi;
  memset(&lvi, 0, sizeof lvi);
  lvi.mask = LVIF_STATE;
  lvi.iItem = nItem;
  lvi.state = nState;
  lvi.stateMask = nMask;
  return SetItem(&lvi, TRUE);
}

UINT SECListBaseC::GetItemState(int nItem, UINT nMask)
{
  LVITEMA lvi;
  memset(&lvi, 0, sizeof lvi);
  lvi.mask = LVIF_STATE;
  lvi.iItem = nItem;
  lvi.stateMask = nMask;
  if (!GetItem(&lvi, FALSE, FALSE))
    return 0;
  return lvi.state;
}

BOOL SECListBaseC::SetItemData(int nItem, LPARAM lParam)
{
  LVITEMA lvi;
  memset(&lvi, 0, sizeof lvi);
  lvi.mask = LVIF_PARAM;
  lvi.iItem = nItem;
  lvi.lParam = lParam;
  return SetItem(&lvi, TRUE);
}

LPARAM SECListBaseC::GetItemData(int nItem)
{
  LVITEMA lvi;
  memset(&lvi, 0, sizeof lvi);
  lvi.mask = LVIF_PARAM;
  lvi.iItem = nItem;
  if (!GetItem(&lvi, FALSE, FALSE))
    return 0;
  return lvi.lParam;
}

BOOL SECListBaseC::SelectItem(int nItem, BOOL bSelect)
{
  if (GetItemAt(nItem) == NULL)
    return FALSE;
  if (HasListStyle(SECLIST_SINGLESEL))
    DeselectAllExcept(nItem);
  return SetItemState(nItem, bSelect ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

UINT SECListBaseC::GetCallbackMask() const { return m_nCallbackMask; }
BOOL SECListBaseC::SetCallbackMask(UINT nMask) { m_nCallbackMask = nMask; return TRUE; }
UINT SECListBaseC::GetUserCallbackMask() const { return m_nUserCallbackMask; }
BOOL SECListBaseC::SetUserCallbackMask(UINT nMask) { m_nUserCallbackMask = nMask; return TRUE; }

BOOL SECListBaseC::NeedsDispInfo(int nItem)
{
  SECListItem* pItem = GetItemAt(nItem);
  if (pItem == NULL)
    return FALSE;
  if (pItem->m_pszText == LPSTR_TEXTCALLBACKA || pItem->m_iImage == -1 ||
      m_nCallbackMask != 0 || m_nUserCallbackMask != 0)
    return TRUE;
  for (int i = 0; i < GetColumnCount(); i++) {
    SECListSubItem* pSub = pItem->GetSubItem(GetColumnAt(i)->iSubItem);
    if (pSub != NULL && pSub->m_pszText == LPSTR_TEXTCALLBACKA)
      return TRUE;
  }
  return FALSE;
}

int SECListBaseC::GetNextItem(int nItem, int nFlags)
{
  UINT stateMask = nFlags & 0x000F;
  BOOL bBack = (nFlags & (LVNI_ABOVE | LVNI_TOLEFT)) != 0;
  int nCount = GetItemCount();
  if (stateMask != 0) {
    if (bBack) {
      for (int i = (nItem > nCount ? nCount : nItem) - 1; i >= 0; i--)
        if (GetItemState(i, stateMask) & stateMask)
          return i;
    } else {
      for (int i = nItem < 0 ? 0 : nItem + 1; i < nCount; i++)
        if (GetItemState(i, stateMask) & stateMask)
          return i;
    }
    return -1;
  }
  int n = bBack ? nItem - 1 : nItem + 1;
  return n >= 0 && n < nCount ? n : -1;
}

BOOL SECListBaseC::SetDropHighlight(int nItem)
{
  if (m_nDropItem >= 0)
    SetItemState(m_nDropItem, 0, LVIS_DROPHILITED);
  if (nItem >= 0)
    SetItemState(nItem, LVIS_DROPHILITED, LVIS_DROPHILITED);
  return TRUE;
}

int SECListBaseC::GetDropHighlight() const { return m_nDropItem; }

// ---------------------------------------------------------------------------------------------
// Image lists

CImageList* SECListBaseC::GetImageList(int nType) const
{
  switch (nType) {
    case LVSIL_NORMAL: return m_pImageList;
    case LVSIL_SMALL: return m_pSmallImageList;
    case LVSIL_STATE: return m_pStateImageList;
  }
  return NULL;
}

CImageList* SECListBaseC::SetImageList(CImageList* pImageList, int nType)
{
  CImageList** ppSlot = nType == LVSIL_NORMAL  ? &m_pImageList
                        : nType == LVSIL_SMALL ? &m_pSmallImageList
                        : nType == LVSIL_STATE ? &m_pStateImageList
                                               : NULL;
  if (ppSlot == NULL)
    return NULL;
  CImageList* pOld = *ppSlot;
  if (HasListStyle(SECLIST_SHAREIMAGELISTS)) {
    *ppSlot = pImageList;
    return pOld;
  }
  CImageList* pCopy = NULL;
  if (pImageList != NULL && !CopyImageList(pImageList, &pCopy))
    return NULL;  // the old list stays
  *ppSlot = pCopy;
  return pOld;
}

BOOL SECListBaseC::CopyImageList(CImageList* pSource, CImageList** ppCopy)
{
  if (pSource == NULL || ppCopy == NULL)
    return FALSE;
  *ppCopy = NULL;
  CImageList* pCopy = new CImageList;
  BOOL bOk = FALSE;
  try {
    CMemFile file;
    {
      CArchive ar(&file, CArchive::store, 4096);
      bOk = pSource->Write(&ar);
      ar.Close();
    }
    if (bOk) {
      file.SeekToBegin();
      CArchive ar(&file, CArchive::load, 4096);
      bOk = pCopy->Read(&ar);
      ar.Close();
    }
  } catch (CException* e) {
    e->Delete();
    bOk = FALSE;
  }
  if (!bOk) {
    delete pCopy;
    return FALSE;
  }
  *ppCopy = pCopy;
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Styles

BOOL SECListBaseC::HasListStyle(DWORD dwBits) const { return (m_dwListStyle & dwBits) == dwBits; }
BOOL SECListBaseC::HasListStyleEx(DWORD dwBits) const
{
  return (m_dwListStyleEx & dwBits) == dwBits;
}

BOOL SECListBaseC::GetListStyles(DWORD* pStyle, DWORD* pStyleEx) const
{
  if (pStyle != NULL)
    *pStyle = m_dwListStyle;
  if (pStyleEx != NULL)
    *pStyleEx = m_dwListStyleEx;
  return TRUE;
}

BOOL SECListBaseC::SetListStyles(DWORD dwStyle, DWORD dwStyleEx, BOOL bRedraw)
{
  SetListStyle(dwStyle, FALSE);
  return SetListStyleEx(dwStyleEx, bRedraw);
}

DWORD SECListBaseC::GetListStyle() const { return m_dwListStyle; }
DWORD SECListBaseC::GetListStyleEx() const { return m_dwListStyleEx; }

BOOL SECListBaseC::SetListStyle(DWORD dwStyle, BOOL bRedraw)
{
  m_dwListStyle = dwStyle;
  EndLabelEdit(TRUE);
  CancelEditTimer();
  m_pTip->HideTip();
  if (bRedraw && m_hWnd != NULL) {
    RecalcLayout();
    Invalidate();
  }
  return TRUE;
}

BOOL SECListBaseC::SetListStyleEx(DWORD dwStyleEx, BOOL bRedraw)
{
  EndEditAndHideTip();
  BOOL bFill = (dwStyleEx & SECLIST_EX_FILLLABELCOLUMN) && !(m_dwListStyleEx & SECLIST_EX_FILLLABELCOLUMN);
  if (bFill && m_hWnd != NULL)
    FitLabelColumn();
  m_dwListStyleEx = dwStyleEx;
  if (bRedraw && m_hWnd != NULL) {
    RecalcLayout();
    Invalidate();
  }
  return TRUE;
}

BOOL SECListBaseC::ModifyListStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw)
{
  return SetListStyle(dwAdd | (m_dwListStyle & ~dwRemove), bRedraw);
}

BOOL SECListBaseC::ModifyListStyleEx(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw)
{
  return SetListStyleEx(dwAdd | (m_dwListStyleEx & ~dwRemove), bRedraw);
}

BOOL SECListBaseC::ModifyListStyles(DWORD dwRemove, DWORD dwAdd, DWORD dwRemoveEx, DWORD dwAddEx,
                                    BOOL bRedraw)
{
  ModifyListStyle(dwRemove, dwAdd, FALSE);
  return ModifyListStyleEx(dwRemoveEx, dwAddEx, bRedraw);
}

BOOL SECListBaseC::EnableLabelWrap(BOOL bEnable)
{
  return bEnable ? ModifyListStyle(SECLIST_NOLABELWRAP, 0) : ModifyListStyle(0, SECLIST_NOLABELWRAP);
}

BOOL SECListBaseC::EnableClippedLabelTips(BOOL bEnable)
{
  return bEnable ? ModifyListStyleEx(0, SECLIST_EX_CLIPPEDTIPS)
                 : ModifyListStyleEx(SECLIST_EX_CLIPPEDTIPS, 0);
}

BOOL SECListBaseC::EnableMultiSelect(BOOL bEnable)
{
  if (!bEnable && GetSelectedCount() > 1)
    DeselectAllExcept(-1);
  return bEnable ? ModifyListStyle(SECLIST_SINGLESEL, 0) : ModifyListStyle(0, SECLIST_SINGLESEL);
}

BOOL SECListBaseC::AreClippedLabelTipsEnabled() const
{
  return HasListStyleEx(SECLIST_EX_CLIPPEDTIPS);
}

BOOL SECListBaseC::IsHeaderVisible() const { return (m_dwListStyle & SECLIST_NOCOLUMNHEADER) == 0; }

BOOL SECListBaseC::ShowHeader(BOOL bShow)
{
  return bShow ? ModifyListStyle(SECLIST_NOCOLUMNHEADER, 0)
               : ModifyListStyle(0, SECLIST_NOCOLUMNHEADER);
}

BOOL SECListBaseC::IsMultiSelect() const { return (m_dwListStyle & SECLIST_SINGLESEL) == 0; }
BOOL SECListBaseC::SetAutoUpdate(BOOL bAuto) { m_bAutoUpdate = bAuto; return TRUE; }
BOOL SECListBaseC::GetAutoUpdate() const { return m_bAutoUpdate; }

// ---------------------------------------------------------------------------------------------
// Item creation

BOOL SECListBaseC::AddSubItems(SECListItem* pItem)
{
  if (pItem == NULL)
    return FALSE;
  for (int i = 0; i < m_nSubItemCount; i++)
    pItem->AddSubItem();
  return TRUE;
}

BOOL SECListBaseC::RemoveAllSubItems(SECListItem* pItem)
{
  if (pItem == NULL)
    return FALSE;
  while (pItem->GetSubItemCount() > 0)
    pItem->DeleteSubItem(pItem->GetSubItemCount());
  return TRUE;
}

int SECListBaseC::InitNewItem(SECListItem* pItem)
{
  AddSubItems(pItem);
  return 0;
}

SECListItem* SECListBaseC::CreateItem()
{
  SECListItem* pItem = new SECListItem;
  InitNewItem(pItem);
  return pItem;
}

// ---------------------------------------------------------------------------------------------
// Hooks that do nothing in the base

void SECListBaseC::OnBeginDrag(int, int, int) {}
void SECListBaseC::OnBeginRightDrag(int, int, int) {}
void SECListBaseC::OnItemChanged(int, int, BOOL) {}
BOOL SECListBaseC::OnItemChanging(int, int, BOOL) { return FALSE; }
void SECListBaseC::OnSetDispInfo(LVITEMA*) {}
void SECListBaseC::OnGetUserDispInfo(SECListUserState*) {}
void SECListBaseC::OnReserved(DWORD_PTR) {}
void SECListBaseC::OnAfterSelectByInput(int, BOOL) {}

CWnd* SECListBaseC::GetNotifyTarget() const
{
  if (m_pNotifyWnd != NULL)
    return m_pNotifyWnd;
  return m_hWnd != NULL ? GetParent() : NULL;
}
