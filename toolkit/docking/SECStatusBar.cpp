// The toolkit's status bar over the common status control.
#include "SECStatusBar.h"
#include <algorithm>
#include "SECSysData.h"
#include <commctrl.h>

IMPLEMENT_DYNCREATE(SECStatusBar, SECControlBar)

BEGIN_MESSAGE_MAP(SECStatusBar, SECControlBar)
  ON_WM_SIZE()
  ON_WM_PAINT()
  ON_WM_NCCALCSIZE()
  ON_WM_NCPAINT()
  ON_WM_WINDOWPOSCHANGING()
  ON_MESSAGE(WM_NCHITTEST, OnNcHitTest)
  ON_MESSAGE(WM_SETTEXT, OnSetText)
  ON_MESSAGE(WM_GETTEXT, OnGetText)
  ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
  ON_MESSAGE(SB_SETMINHEIGHT, OnSetMinHeight)
END_MESSAGE_MAP()

SECStatusBar::SECStatusBar() : m_nMinHeight(0)
{
  m_cyTopBorder = 2;
  if (secData.m_bWin4) {
    m_cxLeftBorder = m_cxRightBorder = m_cyBottomBorder = 0;
  } else {
    m_cxLeftBorder = m_cxRightBorder = 2;
    m_cyBottomBorder = 1;
  }
}

SECStatusBar::~SECStatusBar()
{
  if (m_hWnd != NULL && ::IsWindow(m_hWnd))
    DestroyWindow();
}

BOOL SECStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
  return CreateEx(pParentWnd, 0, dwStyle, nID);
}

BOOL SECStatusBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID)
{
  m_dwStyle = dwStyle & CBRS_ALL;
  DWORD dwWndStyle = (dwStyle & ~CBRS_ALL) | CCS_NODIVIDER | CCS_NOPARENTALIGN | CCS_NORESIZE |
                     CCS_NOMOVEY | dwCtrlStyle;
  if (pParentWnd != NULL && (pParentWnd->GetStyle() & WS_THICKFRAME))
    dwWndStyle |= SBARS_SIZEGRIP;
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&icc);
  return CWnd::Create(STATUSCLASSNAMEA, NULL, dwWndStyle, CRect(0, 0, 0, 0), pParentWnd, nID);
}

BOOL SECStatusBar::PreCreateWindow(CREATESTRUCT& cs)
{
  // A plain bottom bar on the newer look has no borders of its own.
  if (secData.m_bWin4 && (m_dwStyle & (CBRS_ALIGN_ANY | CBRS_BORDER_ANY)) == CBRS_BOTTOM)
    m_dwStyle &= ~(CBRS_BORDER_ANY | CBRS_BORDER_3D);
  cs.style = (cs.style & ~CBRS_ALL) | (m_dwStyle & CBRS_ALL);
  return SECControlBar::PreCreateWindow(cs);
}

BOOL SECStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
  m_panes.clear();
  if (nIDCount < 0)
    return FALSE;
  m_panes.resize((size_t)nIDCount, Pane{0, 0, 0, 0, CString()});
  BOOL bResult = TRUE;
  if (lpIDArray != NULL) {
    HFONT hFont = (HFONT)SendMessage(WM_GETFONT);
    HDC hdc = ::GetDC(NULL);
    HGDIOBJ hOld = hFont != NULL ? ::SelectObject(hdc, hFont) : NULL;
    for (int i = 0; i < nIDCount; i++) {
      Pane& pane = m_panes[i];
      pane.nFlags |= SBPF_UPDATE;
      pane.nID = lpIDArray[i];
      if (pane.nID != 0) {
        CString strText;
        if (!strText.LoadString(pane.nID))
          strText = "  ";  // no string: a blank pane, not a failure
        SIZE size = {0, 0};
        ::GetTextExtentPoint32A(hdc, strText, strText.GetLength(), &size);
        pane.cxText = size.cx;
        if (!SetPaneText(i, strText, FALSE)) {
          bResult = FALSE;
          break;
        }
      } else {
        pane.cxText = ::GetSystemMetrics(SM_CXSCREEN) / 4;
        if (i == 0)
          pane.nStyle |= SBPS_NOBORDERS | SBPS_STRETCH;
      }
    }
    if (hOld != NULL)
      ::SelectObject(hdc, hOld);
    ::ReleaseDC(NULL, hdc);
  }
  UpdateAllPanes(TRUE, TRUE);
  return bResult;
}

int SECStatusBar::CommandToIndex(UINT nIDFind) const
{
  for (size_t i = 0; i < m_panes.size(); i++)
    if (m_panes[i].nID == nIDFind)
      return (int)i;
  return -1;
}

UINT SECStatusBar::GetItemID(int nIndex) const { return Valid(nIndex) ? m_panes[nIndex].nID : 0; }

UINT SECStatusBar::GetPaneStyle(int nIndex) const
{
  return Valid(nIndex) ? m_panes[nIndex].nStyle : 0;
}

void SECStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const
{
  nID = GetItemID(nIndex);
  nStyle = GetPaneStyle(nIndex);
  cxWidth = Valid(nIndex) ? m_panes[nIndex].cxText : 0;
}

void SECStatusBar::GetPaneText(int nIndex, CString& rString) const
{
  rString = Valid(nIndex) ? m_panes[nIndex].strText : CString();
}

CString SECStatusBar::GetPaneText(int nIndex) const
{
  CString str;
  GetPaneText(nIndex, str);
  return str;
}

void SECStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
  if (!Valid(nIndex) ||
      !::SendMessageA(m_hWnd, SB_GETRECT, (WPARAM)nIndex, (LPARAM)lpRect))
    ::SetRectEmpty(lpRect);
}

void SECStatusBar::SetPaneStyle(int nIndex, UINT nStyle)
{
  if (!Valid(nIndex) || m_panes[nIndex].nStyle == nStyle)
    return;
  Pane& pane = m_panes[nIndex];
  if ((pane.nStyle ^ nStyle) & SBPS_STRETCH) {
    pane.nStyle = nStyle;
    UpdateAllPanes(TRUE, FALSE);
  }
  pane.nFlags |= SBPF_UPDATE;
  pane.nStyle = nStyle;
  CString strText = pane.strText;
  SetPaneText(nIndex, strText, TRUE);
}

void SECStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth)
{
  if (!Valid(nIndex))
    return;
  Pane& pane = m_panes[nIndex];
  pane.nID = nID;
  BOOL bRects = FALSE;
  if (pane.nStyle != nStyle) {
    if ((pane.nStyle ^ nStyle) & SBPS_STRETCH) {
      bRects = TRUE;
    } else {
      pane.nFlags |= SBPF_UPDATE;
      pane.nStyle = nStyle;
      CString strText = pane.strText;
      SetPaneText(nIndex, strText, TRUE);
    }
    pane.nStyle = nStyle;
  }
  if (pane.cxText != cxWidth) {
    pane.cxText = cxWidth;
    bRects = TRUE;
  }
  if (bRects)
    UpdateAllPanes(TRUE, FALSE);
}

BOOL SECStatusBar::SetPaneWidth(int nIndex, int cxWidth)
{
  if (!Valid(nIndex))
    return FALSE;
  m_panes[nIndex].cxText = cxWidth;
  UpdateAllPanes(TRUE, FALSE);
  return TRUE;
}

BOOL SECStatusBar::SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate)
{
  if (!Valid(nIndex))
    return FALSE;
  Pane& pane = m_panes[nIndex];
  const char* pszNew = lpszNewText != NULL ? lpszNewText : "";
  if (!(pane.nFlags & SBPF_UPDATE) && pane.strText == pszNew)
    return TRUE;
  pane.strText = pszNew;
  if (bUpdate) {
    pane.nFlags &= ~SBPF_UPDATE;
    if (m_hWnd != NULL)
      ::SendMessageA(m_hWnd, SB_SETTEXTA, (WPARAM)(nIndex | (pane.nStyle & 0xFF00)),
                     (pane.nStyle & SBPS_DISABLED) ? 0 : (LPARAM)(LPCSTR)pane.strText);
  } else {
    pane.nFlags |= SBPF_UPDATE;
  }
  return TRUE;
}

void SECStatusBar::UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText)
{
  if (m_hWnd == NULL)
    return;
  if (bUpdateRects && !m_panes.empty()) {
    CRect rect;
    GetWindowRect(&rect);
    rect.OffsetRect(-rect.left, -rect.top);
    CalcInsideRectEx(rect, TRUE, FALSE);
    int rgBorders[3] = {0, 0, 0};
    SendMessage(SB_GETBORDERS, 0, (LPARAM)rgBorders);
    CWnd* pParent = GetParent();
    if ((GetStyle() & SBARS_SIZEGRIP) && pParent != NULL && !pParent->IsZoomed())
      rect.right -= rgBorders[0] + 2 * ::GetSystemMetrics(SM_CXBORDER) +
                    ::GetSystemMetrics(SM_CXVSCROLL);
    int nGap = rgBorders[2];
    int cxExtra = rect.Width() + nGap;
    int nStretch = 0;
    for (const Pane& pane : m_panes) {
      cxExtra -= pane.cxText + 6 + nGap;
      if (pane.nStyle & SBPS_STRETCH)
        nStretch++;
    }
    std::vector<int> edges(m_panes.size());
    int nRight = rgBorders[0];
    for (size_t i = 0; i < m_panes.size(); i++) {
      nRight += m_panes[i].cxText + 6;
      if ((m_panes[i].nStyle & SBPS_STRETCH) && cxExtra > 0 && nStretch > 0) {
        int nAdd = cxExtra / nStretch;
        nRight += nAdd;
        cxExtra -= nAdd;
      }
      if (m_panes[i].nStyle & SBPS_STRETCH)
        nStretch--;
      edges[i] = nRight;
      nRight += nGap;
    }
    SendMessage(SB_SETPARTS, (WPARAM)edges.size(), (LPARAM)edges.data());
  }
  if (bUpdateText) {
    for (size_t i = 0; i < m_panes.size(); i++)
      if (m_panes[i].nFlags & SBPF_UPDATE) {
        CString strText = m_panes[i].strText;
        SetPaneText((int)i, strText, TRUE);
      }
  }
}

CSize SECStatusBar::CalcFixedLayout(BOOL, BOOL bHorz)
{
  if (!bHorz)
    return CSize(0, 0);
  TEXTMETRICA tm = {};
  HDC hdc = ::GetDC(NULL);
  HFONT hFont = m_hWnd != NULL ? (HFONT)SendMessage(WM_GETFONT) : NULL;
  HGDIOBJ hOld = hFont != NULL ? ::SelectObject(hdc, hFont) : NULL;
  ::GetTextMetricsA(hdc, &tm);
  if (hOld != NULL)
    ::SelectObject(hdc, hOld);
  ::ReleaseDC(NULL, hdc);
  int rgBorders[3] = {0, 0, 0};
  if (m_hWnd != NULL)
    SendMessage(SB_GETBORDERS, 0, (LPARAM)rgBorders);
  CRect rectInside(0, 0, 0, 0);
  CalcInsideRectEx(rectInside, TRUE, FALSE);
  int cy = tm.tmHeight - tm.tmInternalLeading - 1 +
           2 * (::GetSystemMetrics(SM_CYBORDER) + rgBorders[1]) - rectInside.Height();
  if (cy < m_nMinHeight)
    cy = m_nMinHeight;
  return CSize(32767, cy);
}

void SECStatusCmdUI::Enable(BOOL bOn)
{
  m_bEnableChanged = TRUE;
  SECStatusBar* pBar = (SECStatusBar*)m_pOther;
  UINT nStyle = pBar->GetPaneStyle((int)m_nIndex) & ~SBPS_DISABLED;
  pBar->SetPaneStyle((int)m_nIndex, bOn ? nStyle : nStyle | SBPS_DISABLED);
}

void SECStatusCmdUI::SetCheck(int nCheck)
{
  SECStatusBar* pBar = (SECStatusBar*)m_pOther;
  UINT nStyle = pBar->GetPaneStyle((int)m_nIndex) & ~SBPS_POPOUT;
  pBar->SetPaneStyle((int)m_nIndex, nCheck != 0 ? nStyle | SBPS_POPOUT : nStyle);
}

void SECStatusCmdUI::SetText(LPCTSTR lpszText)
{
  ((SECStatusBar*)m_pOther)->SetPaneText((int)m_nIndex, lpszText, TRUE);
}

void SECStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
  SECStatusCmdUI state;
  state.m_pOther = this;
  state.m_nIndexMax = (UINT)m_panes.size();
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
    state.m_nID = m_panes[state.m_nIndex].nID;
    if (CWnd::OnCmdMsg(state.m_nID, CN_UPDATE_COMMAND_UI, &state, NULL))
      continue;
    state.DoUpdate(pTarget, FALSE);
  }
  UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

BOOL SECStatusBar::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
  if (message == WM_DRAWITEM) {
    DrawItem((LPDRAWITEMSTRUCT)lParam);
    if (pResult != NULL)
      *pResult = TRUE;
    return TRUE;
  }
  return SECControlBar::OnChildNotify(message, wParam, lParam, pResult);
}

void SECStatusBar::OnSize(UINT nType, int cx, int cy)
{
  SECControlBar::OnSize(nType, cx, cy);
  UpdateAllPanes(TRUE, FALSE);
}

void SECStatusBar::OnPaint()
{
  UpdateAllPanes(FALSE, TRUE);
  Default();
}

void SECStatusBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp)
{
  // The borders lie outside the client area: the inside rectangle of an empty one, its top
  // inset 2 less.
  CRect rect(0, 0, 0, 0);
  CalcInsideRectEx(rect, TRUE, FALSE);
  RECT& rc = lpncsp->rgrc[0];
  rc.left += rect.left;
  rc.top += std::max<LONG>(rect.top - 2, 0);
  rc.right += rect.right;
  rc.bottom += rect.bottom;
  if (rc.right < rc.left)
    rc.right = rc.left;
  if (rc.bottom < rc.top)
    rc.bottom = rc.top;
}

void SECStatusBar::OnNcPaint() { SECControlBar::OnNcPaint(); }

void SECStatusBar::OnWindowPosChanging(WINDOWPOS* lpWndPos)
{
  // Without the border bits the base does not invalidate the borders.
  DWORD dwStyle = m_dwStyle;
  m_dwStyle &= ~CBRS_BORDER_ANY;
  SECControlBar::OnWindowPosChanging(lpWndPos);
  m_dwStyle = dwStyle;
}

void SECStatusBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle)
{
  SECControlBar::OnBarStyleChange(dwOldStyle, dwNewStyle);
  if (m_hWnd != NULL && ((dwOldStyle ^ dwNewStyle) & CBRS_BORDER_ANY))
    SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

LRESULT SECStatusBar::OnNcHitTest(WPARAM, LPARAM)
{
  LRESULT lResult = Default();
  return lResult == HTBOTTOMRIGHT ? HTBOTTOMRIGHT : HTCLIENT;
}

LRESULT SECStatusBar::OnSetText(WPARAM, LPARAM lParam)
{
  int nIndex = CommandToIndex(0);
  if (nIndex < 0)
    return -1;
  return SetPaneText(nIndex, (LPCTSTR)lParam, TRUE) ? 0 : -1;
}

LRESULT SECStatusBar::OnGetText(WPARAM wParam, LPARAM lParam)
{
  int nMax = (int)wParam;
  if (nMax == 0 || lParam == 0)
    return 0;
  int nIndex = CommandToIndex(0);
  int nLen = 0;
  if (nIndex >= 0) {
    const CString& str = m_panes[nIndex].strText;
    nLen = str.GetLength() < nMax - 1 ? str.GetLength() : nMax - 1;
    memcpy((char*)lParam, (LPCSTR)str, (size_t)nLen);
  }
  ((char*)lParam)[nLen] = '\0';
  return nLen + 1;
}

LRESULT SECStatusBar::OnGetTextLength(WPARAM, LPARAM)
{
  int nIndex = CommandToIndex(0);
  return nIndex >= 0 ? m_panes[nIndex].strText.GetLength() : 0;
}

LRESULT SECStatusBar::OnSetMinHeight(WPARAM wParam, LPARAM)
{
  LRESULT lResult = Default();
  m_nMinHeight = (int)wParam;
  return lResult;
}
