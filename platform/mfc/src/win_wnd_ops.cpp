// Window operations: tree walks, layout of bars, centring, scrolling helpers, modal loops,
// command-UI updates of child controls and tool tips.
#include "afxwin.h"
#include "afxpriv.h"

#define GET_X_LPARAM(lp) ((int)(short)LOWORD(lp))
#define GET_Y_LPARAM(lp) ((int)(short)HIWORD(lp))

void CWnd::GetWindowText(CString& rString) const
{
  int nLen = ::GetWindowTextLengthA(m_hWnd);
  ::GetWindowTextA(m_hWnd, rString.GetBufferSetLength(nLen), nLen + 1);
  rString.ReleaseBuffer();
}

int CWnd::GetDlgItemText(int nID, CString& rString) const
{
  rString = "";
  HWND hWnd = ::GetDlgItem(m_hWnd, nID);
  if (hWnd != NULL) {
    int nLen = ::GetWindowTextLengthA(hWnd);
    ::GetWindowTextA(hWnd, rString.GetBufferSetLength(nLen), nLen + 1);
    rString.ReleaseBuffer();
  }
  return rString.GetLength();
}

static BOOL ModifyStyleWord(HWND hWnd, int nStyleOffset, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
  DWORD dwStyle = (DWORD)::GetWindowLongA(hWnd, nStyleOffset);
  DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
  if (dwStyle == dwNewStyle)
    return FALSE;
  ::SetWindowLongA(hWnd, nStyleOffset, (LONG)dwNewStyle);
  if (nFlags != 0)
    ::SetWindowPos(hWnd, NULL, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
  return TRUE;
}

BOOL PASCAL CWnd::ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
  return ModifyStyleWord(hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}
BOOL PASCAL CWnd::ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
  return ModifyStyleWord(hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}
BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
  return ModifyStyleWord(m_hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}
BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
  return ModifyStyleWord(m_hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}

CWnd* CWnd::GetOwner() const
{
  return m_hWndOwner != NULL ? FromHandle(m_hWndOwner) : GetParent();
}

void CWnd::SetOwner(CWnd* pOwnerWnd)
{
  m_hWndOwner = pOwnerWnd != NULL ? pOwnerWnd->m_hWnd : NULL;
}

void CWnd::ClientToScreen(LPRECT lpRect) const
{
  ::ClientToScreen(m_hWnd, (LPPOINT)lpRect);
  ::ClientToScreen(m_hWnd, ((LPPOINT)lpRect) + 1);
  if (GetExStyle() & WS_EX_LAYOUTRTL)
    std::swap(lpRect->left, lpRect->right);
}

void CWnd::ScreenToClient(LPRECT lpRect) const
{
  ::ScreenToClient(m_hWnd, (LPPOINT)lpRect);
  ::ScreenToClient(m_hWnd, ((LPPOINT)lpRect) + 1);
  if (GetExStyle() & WS_EX_LAYOUTRTL)
    std::swap(lpRect->left, lpRect->right);
}

HWND AFXAPI AfxGetParentOwner(HWND hWnd)
{
  if (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD)
    return ::GetParent(hWnd);
  return ::GetWindow(hWnd, GW_OWNER);
}

BOOL AFXAPI AfxIsDescendant(HWND hWndParent, HWND hWndChild)
{
  while (hWndChild != NULL) {
    if (hWndChild == hWndParent)
      return TRUE;
    hWndChild = AfxGetParentOwner(hWndChild);
  }
  return FALSE;
}

CWnd* CWnd::GetParentOwner() const
{
  return FromHandle(AfxGetParentOwner(m_hWnd));
}

CWnd* CWnd::GetTopLevelParent() const
{
  if (GetSafeHwnd() == NULL)
    return NULL;
  HWND hWndParent = m_hWnd;
  HWND hWndT;
  while ((hWndT = AfxGetParentOwner(hWndParent)) != NULL)
    hWndParent = hWndT;
  return FromHandle(hWndParent);
}

CWnd* CWnd::GetTopLevelOwner() const
{
  if (GetSafeHwnd() == NULL)
    return NULL;
  HWND hWndOwner = m_hWnd;
  HWND hWndT;
  while ((hWndT = ::GetWindow(hWndOwner, GW_OWNER)) != NULL)
    hWndOwner = hWndT;
  return FromHandle(hWndOwner);
}

CFrameWnd* CWnd::GetParentFrame() const
{
  if (GetSafeHwnd() == NULL)
    return NULL;
  CWnd* pParentWnd = GetParent();
  while (pParentWnd != NULL) {
    if (pParentWnd->IsFrameWnd())
      return (CFrameWnd*)pParentWnd;
    pParentWnd = pParentWnd->GetParent();
  }
  return NULL;
}

CFrameWnd* CWnd::GetTopLevelFrame() const
{
  if (GetSafeHwnd() == NULL)
    return NULL;
  CWnd* pFrameWnd = (CWnd*)this;
  if (!IsFrameWnd())
    pFrameWnd = GetParentFrame();
  if (pFrameWnd != NULL) {
    CWnd* pTemp;
    while ((pTemp = pFrameWnd->GetParentFrame()) != NULL)
      pFrameWnd = pTemp;
  }
  return (CFrameWnd*)pFrameWnd;
}

// Direct children first, then each child's descendants, by handle: no objects are made for
// the windows passed over.
static HWND FindDescendant(HWND hWnd, int nID, BOOL bOnlyPerm)
{
  HWND hWndChild = ::GetDlgItem(hWnd, nID);
  if (hWndChild != NULL && ::GetParent(hWndChild) == hWnd &&
      (!bOnlyPerm || CWnd::FromHandlePermanent(hWndChild) != NULL))
    return hWndChild;
  for (hWndChild = ::GetTopWindow(hWnd); hWndChild != NULL;
       hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
    HWND hFound = FindDescendant(hWndChild, nID, bOnlyPerm);
    if (hFound != NULL)
      return hFound;
  }
  return NULL;
}

CWnd* CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const
{
  HWND hFound = FindDescendant(m_hWnd, nID, bOnlyPerm);
  if (hFound == NULL)
    return NULL;
  return bOnlyPerm ? FromHandlePermanent(hFound) : FromHandle(hFound);
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                                    BOOL bOnlyPerm)
{
  for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild != NULL;
       hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
    if (bOnlyPerm) {
      CWnd* pWnd = FromHandlePermanent(hWndChild);
      if (pWnd != NULL)
        AfxCallWndProc(pWnd, pWnd->m_hWnd, message, wParam, lParam);
    } else {
      ::SendMessageA(hWndChild, message, wParam, lParam);
    }
    if (bDeep && ::GetTopWindow(hWndChild) != NULL) {
      CWnd wndChild;
      wndChild.m_hWnd = hWndChild;  // a plain handle walk: no object is created or attached
      wndChild.SendMessageToDescendants(message, wParam, lParam, bDeep, bOnlyPerm);
      wndChild.m_hWnd = NULL;
    }
  }
}

// The window that owns a dialog or message box: the given parent (or the frame routing the
// current command, or the main window), never a child window. With pWndTop the top of its
// owner chain is also disabled for the time of the dialog; the caller enables it again.
CWnd* PASCAL CWnd::GetSafeOwner(CWnd* pParent, HWND* pWndTop)
{
  HWND hParent = pParent->GetSafeHwnd();
  HWND hWnd = hParent;
  if (hWnd == NULL) {
    CFrameWnd* pFrame = AfxGetThreadState()->m_pRoutingFrame;
    hWnd = pFrame != NULL ? pFrame->GetSafeHwnd() : AfxGetMainWnd()->GetSafeHwnd();
  }
  while (hWnd != NULL && (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD))
    hWnd = ::GetParent(hWnd);
  HWND hWndTop = hWnd;
  for (HWND hWndTemp = hWnd; hWndTemp != NULL; hWndTemp = ::GetParent(hWndTemp))
    hWndTop = hWndTemp;
  if (hParent == NULL && hWnd != NULL)
    hWnd = ::GetLastActivePopup(hWnd);
  if (pWndTop != NULL) {
    if (hWndTop != NULL && ::IsWindowEnabled(hWndTop) && hWndTop != hWnd) {
      *pWndTop = hWndTop;
      ::EnableWindow(hWndTop, FALSE);
    } else {
      *pWndTop = NULL;
    }
  }
  return FromHandle(hWnd);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
  DWORD dwStyle = GetStyle();
  HWND hWndCenter = pAlternateOwner->GetSafeHwnd();
  if (pAlternateOwner == NULL) {
    if (dwStyle & WS_CHILD)
      hWndCenter = ::GetParent(m_hWnd);
    else
      hWndCenter = ::GetWindow(m_hWnd, GW_OWNER);
    if (hWndCenter != NULL) {
      // Let the owner name a better window to centre on (a frame's active view).
      HWND hWndTemp = (HWND)::SendMessageA(hWndCenter, WM_QUERYCENTERWND, 0, 0);
      if (hWndTemp != NULL)
        hWndCenter = hWndTemp;
    }
  }
  CRect rcDlg;
  GetWindowRect(&rcDlg);
  CRect rcArea, rcCenter;
  HWND hWndParent;
  if (!(dwStyle & WS_CHILD)) {
    // Top-level: centre on the owner when it is visible and not minimised, else the work area.
    if (hWndCenter != NULL) {
      DWORD dwAlt = (DWORD)::GetWindowLongA(hWndCenter, GWL_STYLE);
      if (!(dwAlt & WS_VISIBLE) || (dwAlt & WS_MINIMIZE))
        hWndCenter = NULL;
    }
    HMONITOR hMon = ::MonitorFromWindow(hWndCenter ? hWndCenter : m_hWnd, MONITOR_DEFAULTTONEAREST);
    MONITORINFO mi;
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoA(hMon, &mi);
    rcArea = mi.rcWork;
    if (hWndCenter == NULL)
      rcCenter = rcArea;
    else
      ::GetWindowRect(hWndCenter, &rcCenter);
  } else {
    hWndParent = ::GetParent(m_hWnd);
    ::GetClientRect(hWndParent, &rcArea);
    ::GetClientRect(hWndCenter, &rcCenter);
    ::MapWindowPoints(hWndCenter, hWndParent, (POINT*)&rcCenter, 2);
  }
  int xLeft = (rcCenter.left + rcCenter.right) / 2 - rcDlg.Width() / 2;
  int yTop = (rcCenter.top + rcCenter.bottom) / 2 - rcDlg.Height() / 2;
  // Keep the window inside the area.
  if (xLeft + rcDlg.Width() > rcArea.right)
    xLeft = rcArea.right - rcDlg.Width();
  if (xLeft < rcArea.left)
    xLeft = rcArea.left;
  if (yTop + rcDlg.Height() > rcArea.bottom)
    yTop = rcArea.bottom - rcDlg.Height();
  if (yTop < rcArea.top)
    yTop = rcArea.top;
  SetWindowPos(NULL, xLeft, yTop, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int CWnd::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton)
{
  for (int nID = nIDFirstButton; nID <= nIDLastButton; nID++)
    if (IsDlgButtonChecked(nID))
      return nID;
  return 0;
}

// ---------------------------------------------------------------------------------------------
// Scrolling

CScrollBar* CWnd::GetScrollBarCtrl(int) const { return NULL; }

void CWnd::EnableScrollBarCtrl(int nBar, BOOL bEnable)
{
  if (nBar == SB_BOTH) {
    EnableScrollBarCtrl(SB_HORZ, bEnable);
    EnableScrollBarCtrl(SB_VERT, bEnable);
    return;
  }
  CScrollBar* pScrollBar = GetScrollBarCtrl(nBar);
  if (pScrollBar != NULL)
    ::EnableWindow(((CWnd*)pScrollBar)->m_hWnd, bEnable);
  else
    ShowScrollBar(nBar, bEnable);
}

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask)
{
  lpScrollInfo->cbSize = sizeof(*lpScrollInfo);
  lpScrollInfo->fMask = nMask;
  CScrollBar* pScrollBar = GetScrollBarCtrl(nBar);
  if (pScrollBar != NULL)
    return ::GetScrollInfo(((CWnd*)pScrollBar)->m_hWnd, SB_CTL, lpScrollInfo);
  return ::GetScrollInfo(m_hWnd, nBar, lpScrollInfo);
}

BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw)
{
  lpScrollInfo->cbSize = sizeof(*lpScrollInfo);
  CScrollBar* pScrollBar = GetScrollBarCtrl(nBar);
  if (pScrollBar != NULL)
    ::SetScrollInfo(((CWnd*)pScrollBar)->m_hWnd, SB_CTL, lpScrollInfo, bRedraw);
  else
    ::SetScrollInfo(m_hWnd, nBar, lpScrollInfo, bRedraw);
  return TRUE;
}

int CWnd::GetScrollLimit(int nBar)
{
  SCROLLINFO info;
  if (!GetScrollInfo(nBar, &info, SIF_RANGE | SIF_PAGE))
    return 0;
  int nMax = info.nMax;
  if (info.nPage > 0)
    nMax -= (int)info.nPage - 1;
  return nMax < info.nMin ? info.nMin : nMax;
}

int CWnd::ScrollWindowEx(int dx, int dy, LPCRECT lpRectScroll, LPCRECT lpRectClip,
                         CRgn* prgnUpdate, LPRECT lpRectUpdate, UINT flags)
{
  return ::ScrollWindowEx(m_hWnd, dx, dy, lpRectScroll, lpRectClip,
                          (HRGN)prgnUpdate->GetSafeHandle(), lpRectUpdate, flags);
}

void CWnd::InvalidateRgn(CRgn* pRgn, BOOL bErase)
{
  ::InvalidateRgn(m_hWnd, (HRGN)pRgn->GetSafeHandle(), bErase);
}

void CWnd::ValidateRgn(CRgn* pRgn) { ::ValidateRgn(m_hWnd, (HRGN)pRgn->GetSafeHandle()); }

int CWnd::GetUpdateRgn(CRgn* pRgn, BOOL bErase)
{
  return ::GetUpdateRgn(m_hWnd, (HRGN)pRgn->GetSafeHandle(), bErase);
}

BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, CRgn* prgnUpdate, UINT flags)
{
  return ::RedrawWindow(m_hWnd, lpRectUpdate, (HRGN)prgnUpdate->GetSafeHandle(), flags);
}

// ---------------------------------------------------------------------------------------------
// Layout of bars

void AFXAPI AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect)
{
  HWND hWndParent = ::GetParent(hWnd);
  if (lpLayout != NULL && lpLayout->hDWP == NULL)
    return;  // only a query
  // Moving a window to where it already is would only cause flicker.
  CRect rectOld;
  ::GetWindowRect(hWnd, &rectOld);
  ::ScreenToClient(hWndParent, &rectOld.TopLeft());
  ::ScreenToClient(hWndParent, &rectOld.BottomRight());
  if (::EqualRect(&rectOld, lpRect))
    return;
  if (lpLayout != NULL)
    lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, hWnd, NULL, lpRect->left, lpRect->top,
                                      lpRect->right - lpRect->left,
                                      lpRect->bottom - lpRect->top,
                                      SWP_NOACTIVATE | SWP_NOZORDER);
  else
    ::SetWindowPos(hWnd, NULL, lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                   lpRect->bottom - lpRect->top, SWP_NOACTIVATE | SWP_NOZORDER);
}

void CWnd::RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlags,
                          LPRECT lpRectParam, LPCRECT lpRectClient, BOOL bStretch)
{
  AFX_SIZEPARENTPARAMS layout;
  HWND hWndLeftOver = NULL;
  layout.bStretch = bStretch;
  layout.sizeTotal.cx = layout.sizeTotal.cy = 0;
  if (lpRectClient != NULL)
    layout.rect = *lpRectClient;
  else
    GetClientRect(&layout.rect);

  if (nFlags != reposQuery)
    layout.hDWP = ::BeginDeferWindowPos(8);
  else
    layout.hDWP = NULL;

  for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild != NULL;
       hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
    UINT nIDC = (UINT)::GetDlgCtrlID(hWndChild);
    CWnd* pWnd = FromHandlePermanent(hWndChild);
    if (nIDC == nIDLeftOver)
      hWndLeftOver = hWndChild;
    else if (nIDC >= nIDFirst && nIDC <= nIDLast && pWnd != NULL)
      ::SendMessageA(hWndChild, WM_SIZEPARENT, 0, (LPARAM)&layout);
  }

  if (nFlags == reposQuery) {
    // Report the size the bars want and the client rectangle left.
    if (lpRectParam != NULL) {
      if (bStretch) {
        ::CopyRect(lpRectParam, &layout.rect);
      } else {
        lpRectParam->left = lpRectParam->top = 0;
        lpRectParam->right = layout.sizeTotal.cx;
        lpRectParam->bottom = layout.sizeTotal.cy;
      }
    }
    return;
  }

  // The left-over pane fills what the bars did not take (less reposExtra's border).
  if (nIDLeftOver != 0 && hWndLeftOver != NULL) {
    CWnd* pLeftOver = FromHandle(hWndLeftOver);
    if (nFlags == reposExtra && lpRectParam != NULL) {
      layout.rect.left += lpRectParam->left;
      layout.rect.top += lpRectParam->top;
      layout.rect.right -= lpRectParam->right;
      layout.rect.bottom -= lpRectParam->bottom;
    }
    pLeftOver->CalcWindowRect(&layout.rect);
    AfxRepositionWindow(&layout, hWndLeftOver, &layout.rect);
  }
  if (layout.hDWP == NULL || !::EndDeferWindowPos(layout.hDWP))
    return;
}

// ---------------------------------------------------------------------------------------------
// Modal loops

BOOL CWnd::IsFrameWnd() const { return FALSE; }
BOOL CWnd::CheckAutoCenter() { return TRUE; }
void CWnd::DoDataExchange(CDataExchange*) {}
void CWnd::WinHelp(DWORD_PTR dwData, UINT nCmd)
{
  CWinApp* pApp = AfxGetApp();
  if (pApp != NULL)
    pApp->WinHelp(dwData, nCmd);
}

BOOL CWnd::ContinueModal() { return (m_nFlags & WF_CONTINUEMODAL) != 0; }

void CWnd::EndModalLoop(int nResult)
{
  m_nModalResult = nResult;
  if (m_nFlags & WF_CONTINUEMODAL) {
    m_nFlags &= ~WF_CONTINUEMODAL;
    ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
  }
}

int CWnd::RunModalLoop(DWORD dwFlags)
{
  BOOL bIdle = TRUE;
  LONG lIdleCount = 0;
  BOOL bShowIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
  HWND hWndParent = ::GetParent(m_hWnd);
  m_nFlags |= (WF_MODALLOOP | WF_CONTINUEMODAL);
  m_nModalResult = -1;
  CWinThread* pThread = AfxGetThread();
  MSG msg;
  HWND hWnd = m_hWnd;

  for (;;) {
    // Idle: show the window, let the owner do its idle work, until a message arrives.
    while (bIdle && !::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE)) {
      if (bShowIdle) {
        ShowWindow(SW_SHOWNORMAL);
        UpdateWindow();
        bShowIdle = FALSE;
      }
      if (!(dwFlags & MLF_NOIDLEMSG) && hWndParent != NULL && lIdleCount == 0)
        ::SendMessageA(hWndParent, WM_ENTERIDLE, MSGF_DIALOGBOX, (LPARAM)m_hWnd);
      if ((dwFlags & MLF_NOKICKIDLE) ||
          !::SendMessageA(m_hWnd, WM_KICKIDLE, MSGF_DIALOGBOX, lIdleCount++))
        bIdle = FALSE;
    }
    do {
      BOOL bGot = pThread != NULL ? pThread->PumpMessage() : AfxPumpMessage();
      if (!bGot) {
        // WM_QUIT: leave the loop and let the outer loop see it again.
        ::PostQuitMessage(pThread != NULL ? (int)pThread->m_msgCur.wParam : 0);
        if (::IsWindow(hWnd))
          m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
        return -1;
      }
      if (!::IsWindow(hWnd) || !ContinueModal())
        goto ExitModal;
      if (bShowIdle && (msg.message == 0x118 || msg.message == WM_SYSKEYDOWN)) {  // 0x118: caret blink timer
        ShowWindow(SW_SHOWNORMAL);
        UpdateWindow();
        bShowIdle = FALSE;
      }
      MSG* pCur = pThread != NULL ? &pThread->m_msgCur : &AfxGetThreadState()->m_msgCur;
      if (pThread != NULL ? pThread->IsIdleMessage(pCur) : TRUE) {
        bIdle = TRUE;
        lIdleCount = 0;
      }
    } while (::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE));
  }
ExitModal:
  int nResult = -1;
  if (::IsWindow(hWnd)) {
    m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
    nResult = m_nModalResult;
  }
  return nResult;
}

void AFXAPI AfxCancelModes(HWND hWndRcvr)
{
  // A combo box with an open list keeps the mouse; close the list before a click elsewhere.
  HWND hWndCancel = ::GetFocus();
  if (hWndCancel == NULL || hWndCancel == hWndRcvr)
    return;
  char szClass[16];
  if (::GetClassNameA(hWndCancel, szClass, sizeof(szClass)) &&
      lstrcmpiA(szClass, "ComboBox") != 0 && lstrcmpiA(szClass, "Edit") == 0) {
    hWndCancel = ::GetParent(hWndCancel);
    if (hWndCancel == hWndRcvr || !::GetClassNameA(hWndCancel, szClass, sizeof(szClass)))
      return;
  }
  if (lstrcmpiA(szClass, "ComboBox") == 0)
    ::SendMessageA(hWndCancel, CB_SHOWDROPDOWN, FALSE, 0);
}

BOOL AFXAPI AfxIsFrameWnd(HWND hWnd)
{
  CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
  return pWnd != NULL && pWnd->IsFrameWnd();
}

int CWnd::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType)
{
  if (lpszCaption == NULL)
    lpszCaption = AfxGetAppName();
  return ::MessageBoxA(GetSafeHwnd(), lpszText, lpszCaption, nType);
}

// ---------------------------------------------------------------------------------------------
// Command-UI state of child controls (dialog bars, form views)

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
  CCmdUI state;
  CWnd wndTemp;  // a stand-in for children that have no object
  for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild != NULL;
       hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
    state.m_nID = (UINT)::GetDlgCtrlID(hWndChild);
    CWnd* pChild = FromHandlePermanent(hWndChild);
    if (pChild != NULL) {
      state.m_pOther = pChild;
      // A control that handles its own update request (a reflected one) goes first.
      if (pChild->OnCmdMsg(0, MAKELONG((WORD)(int)CN_UPDATE_COMMAND_UI, WM_COMMAND + WM_REFLECT_BASE),
                           &state, NULL))
        continue;
      if (pChild->OnCmdMsg(state.m_nID, (int)CN_UPDATE_COMMAND_UI, &state, NULL))
        continue;
    } else {
      wndTemp.m_hWnd = hWndChild;
      state.m_pOther = &wndTemp;
    }
    // Disable plain buttons without handlers only; other controls keep their state.
    BOOL bAutoDisable = bDisableIfNoHndler;
    if (bAutoDisable) {
      UINT nCode = (UINT)::SendMessageA(hWndChild, WM_GETDLGCODE, 0, 0);
      if (nCode & DLGC_BUTTON) {
        DWORD dwStyle = (DWORD)::GetWindowLongA(hWndChild, GWL_STYLE) & 0x0F;
        if (dwStyle != BS_PUSHBUTTON && dwStyle != BS_DEFPUSHBUTTON && dwStyle != BS_USERBUTTON &&
            dwStyle != BS_OWNERDRAW)
          bAutoDisable = FALSE;
      } else {
        bAutoDisable = FALSE;
      }
    }
    state.DoUpdate(pTarget, bAutoDisable);
  }
  wndTemp.m_hWnd = NULL;
}

// ---------------------------------------------------------------------------------------------
// Tool tips: one tool-tip control per thread, fed by the windows that enabled tool tips.

INT_PTR CWnd::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
  HWND hWndChild = NULL;
  for (HWND h = ::GetTopWindow(m_hWnd); h != NULL; h = ::GetWindow(h, GW_HWNDNEXT)) {
    if (!::IsWindowVisible(h))
      continue;
    RECT rc;
    ::GetWindowRect(h, &rc);
    ::MapWindowPoints(NULL, m_hWnd, (POINT*)&rc, 2);
    if (::PtInRect(&rc, point)) {
      hWndChild = h;
      break;
    }
  }
  if (hWndChild == NULL)
    return -1;
  INT_PTR nHit = ::GetDlgCtrlID(hWndChild);
  if (pTI != NULL) {
    pTI->hwnd = m_hWnd;
    pTI->uId = (UINT_PTR)hWndChild;
    pTI->uFlags |= TTF_IDISHWND;
    pTI->lpszText = LPSTR_TEXTCALLBACKA;
    pTI->uFlags |= TTF_CENTERTIP;
  }
  return nHit;
}

BOOL CWnd::EnableToolTips(BOOL bEnable)
{
  BOOL bOld = (m_nFlags & WF_TOOLTIPS) != 0;
  if (bEnable) {
    m_nFlags |= WF_TOOLTIPS;
    AFX_THREAD_STATE* ts = AfxGetThreadState();
    if (ts->m_hWndToolTip == NULL) {
      AfxDeferRegisterClass(AFX_WNDCOMMCTLS_REG);
      ts->m_hWndToolTip = ::CreateWindowExA(0, TOOLTIPS_CLASSA, NULL, TTS_ALWAYSTIP, 0, 0, 0, 0,
                                            NULL, NULL, AfxGetInstanceHandle(), NULL);
      ts->m_nLastHit = -1;
    }
  } else {
    CancelToolTips();
    m_nFlags &= ~WF_TOOLTIPS;
  }
  return bOld;
}

void PASCAL CWnd::CancelToolTips(BOOL)
{
  AFX_THREAD_STATE* ts = AfxGetThreadState();
  if (ts->m_hWndToolTip != NULL)
    ::SendMessageA(ts->m_hWndToolTip, TTM_ACTIVATE, FALSE, 0);
}

void CWnd::FilterToolTipMessage(MSG* pMsg)
{
  UINT message = pMsg->message;
  if ((message != WM_MOUSEMOVE && message != WM_NCMOUSEMOVE && message != WM_LBUTTONUP &&
       message != WM_RBUTTONUP && message != WM_MBUTTONUP) ||
      (::GetKeyState(VK_LBUTTON) & 0x8000) || (::GetKeyState(VK_RBUTTON) & 0x8000))
    return;
  AFX_THREAD_STATE* ts = AfxGetThreadState();
  HWND hWndTip = ts->m_hWndToolTip;
  if (hWndTip == NULL)
    return;
  CPoint point = pMsg->pt;
  ::ScreenToClient(m_hWnd, &point);
  TOOLINFOA ti;
  memset(&ti, 0, sizeof(ti));
  ti.cbSize = sizeof(ti);
  INT_PTR nHit = OnToolHitTest(point, &ti);
  if (nHit != ts->m_nLastHit || ts->m_pLastHit != this) {
    // Leave the old tool and register the new one.
    if (ts->m_lastInfo.cbSize != 0)
      ::SendMessageA(hWndTip, TTM_DELTOOLA, 0, (LPARAM)&ts->m_lastInfo);
    memset(&ts->m_lastInfo, 0, sizeof(ts->m_lastInfo));
    if (nHit != -1) {
      if (!(ti.uFlags & TTF_IDISHWND))
        ::GetClientRect(m_hWnd, &ti.rect);
      ti.uFlags |= TTF_TRANSPARENT;
      ::SendMessageA(hWndTip, TTM_ADDTOOLA, 0, (LPARAM)&ti);
      ts->m_lastInfo = ti;
      ::SendMessageA(hWndTip, TTM_ACTIVATE, TRUE, 0);
    }
    ts->m_nLastHit = nHit;
    ts->m_pLastHit = this;
  }
  MSG relay = *pMsg;
  ::SendMessageA(hWndTip, TTM_RELAYEVENT, 0, (LPARAM)&relay);
}
