// Frame windows: loading from resources, the view and document they show, command routing,
// layout of bars and the client pane, menus, accelerators, titles, the status message and
// the close sequence.
#include "afxwin.h"
#include "afxext.h"
#include "afxpriv.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_CLOSE()
  ON_WM_INITMENUPOPUP()
  ON_WM_MENUSELECT()
  ON_MESSAGE(WM_POPMESSAGESTRING, OnPopMessageString)
  ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUIMsg)
  ON_MESSAGE(WM_RECALCPARENT, OnRecalcParent)
  ON_MESSAGE(WM_QUERYCENTERWND, OnQueryCenterWnd)
  ON_WM_ENTERIDLE()
  ON_WM_SETFOCUS()
  ON_WM_SIZE()
  ON_WM_ERASEBKGND()
  ON_WM_ACTIVATE()
  ON_WM_NCACTIVATE()
  ON_WM_ENABLE()
  ON_WM_QUERYENDSESSION()
  ON_WM_ENDSESSION()
  ON_WM_DROPFILES()
  ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
  ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
  ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
  ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
  ON_UPDATE_COMMAND_UI(ID_VIEW_REBAR, OnUpdateControlBarMenu)
  ON_COMMAND_EX(ID_VIEW_REBAR, OnBarCheck)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, OnUpdateKeyIndicator)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_NUM, OnUpdateKeyIndicator)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_SCRL, OnUpdateKeyIndicator)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_KANA, OnUpdateKeyIndicator)
  ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, OnToolTipText)
  ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFF, OnToolTipText)
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd()
    : m_bAutoMenuEnable(TRUE), m_pFloatingFrameClass(RUNTIME_CLASS(CMiniDockFrameWnd)), m_nIdleFlags(0), m_nIDHelp(0),
      m_hMenuDefault(NULL), m_hAccelTable(NULL), m_dwPromptContext(0), m_bHelpMode(FALSE),
      m_pNextFrameWnd(NULL), m_rectBorder(0, 0, 0, 0), m_pNotifyHook(NULL), m_pViewActive(NULL),
      m_nShowDelay(-1), m_cModalStack(0), m_phWndDisable(NULL), m_hMenuAlt(NULL),
      m_nIDTracking(0), m_nIDLastMessage(0), m_bInRecalcLayout(FALSE), m_pDockBarClass(NULL),
      m_nWindow(-1)
{
  AFX_THREAD_STATE* ts = AfxGetThreadState();
  m_pNextFrameWnd = ts->m_pFirstFrame;
  ts->m_pFirstFrame = this;
}

CFrameWnd::~CFrameWnd()
{
  AFX_THREAD_STATE* ts = AfxGetThreadState();
  for (CFrameWnd** pp = &ts->m_pFirstFrame; *pp != NULL; pp = &(*pp)->m_pNextFrameWnd) {
    if (*pp == this) {
      *pp = m_pNextFrameWnd;
      break;
    }
  }
  delete[] m_phWndDisable;
}

CFrameWnd* PASCAL CFrameWnd::GetFirstFrameWnd() { return AfxGetThreadState()->m_pFirstFrame; }

BOOL CFrameWnd::IsFrameWnd() const { return TRUE; }

// Frames are made with new (by templates or the program) and die with their window.
void CFrameWnd::PostNcDestroy() { delete this; }

// ---------------------------------------------------------------------------------------------
// Creation

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
  if (cs.lpszClass == NULL) {
    AfxDeferRegisterClass(AFX_WNDFRAMEORVIEW_REG);
    cs.lpszClass = AFX_WNDFRAMEORVIEW;
  }
  if (cs.style & FWS_ADDTOTITLE)
    cs.style |= FWS_PREFIXTITLE;
  cs.dwExStyle |= WS_EX_CLIENTEDGE;
  return TRUE;
}

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                       const RECT& rect, CWnd* pParentWnd, LPCTSTR lpszMenuName,
                       DWORD dwExStyle, CCreateContext* pContext)
{
  HMENU hMenu = NULL;
  if (lpszMenuName != NULL) {
    hMenu = ::LoadMenuA(AfxGetResourceHandle(), lpszMenuName);
    if (hMenu == NULL) {
      PostNcDestroy();
      return FALSE;
    }
  }
  m_strTitle = lpszWindowName != NULL ? lpszWindowName : "";
  int x = rect.left, y = rect.top, cx, cy;
  if (::EqualRect(&rect, &rectDefault)) {
    cx = cy = CW_USEDEFAULT;
  } else {
    cx = rect.right - rect.left;
    cy = rect.bottom - rect.top;
  }
  if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, cx, cy,
                pParentWnd->GetSafeHwnd(), hMenu, (LPVOID)pContext)) {
    // The window (and with it this object) is gone; only the menu is left to free.
    if (hMenu != NULL)
      ::DestroyMenu(hMenu);
    return FALSE;
  }
  return TRUE;
}

LPCTSTR CFrameWnd::GetIconWndClass(DWORD dwDefaultStyle, UINT nIDResource)
{
  HINSTANCE hInst = AfxGetResourceHandle();
  if (::FindResourceA(hInst, MAKEINTRESOURCEA(nIDResource), (LPCSTR)RT_GROUP_ICON) == NULL)
    return NULL;
  HICON hIcon = ::LoadIconA(hInst, MAKEINTRESOURCEA(nIDResource));
  if (hIcon == NULL)
    return NULL;
  CREATESTRUCTA cs;
  memset(&cs, 0, sizeof(cs));
  cs.style = dwDefaultStyle;
  PreCreateWindow(cs);
  WNDCLASSA wc;
  if (cs.lpszClass == NULL || !::GetClassInfoA(AfxGetInstanceHandle(), cs.lpszClass, &wc))
    return NULL;
  return AfxRegisterWndClass(wc.style, wc.hCursor, wc.hbrBackground, hIcon);
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                          CCreateContext* pContext)
{
  m_nIDHelp = nIDResource;
  CString strFullString;
  if (strFullString.LoadString(nIDResource))
    AfxExtractSubString(m_strTitle, strFullString, 0);
  LPCTSTR lpszClass = GetIconWndClass(dwDefaultStyle, nIDResource);
  CString title = m_strTitle;
  // A frame without a menu resource of its id has no menu.
  HINSTANCE hInst = AfxGetResourceHandle();
  LPCTSTR lpszMenu = ::FindResourceA(hInst, MAKEINTRESOURCEA(nIDResource), (LPCSTR)RT_MENU)
                         ? MAKEINTRESOURCEA(nIDResource)
                         : NULL;
  if (!Create(lpszClass, title, dwDefaultStyle, rectDefault, pParentWnd, lpszMenu, 0L, pContext))
    return FALSE;  // the object has been deleted with its window
  m_hMenuDefault = ::GetMenu(m_hWnd);
  if (m_hAccelTable == NULL)
    m_hAccelTable = ::LoadAcceleratorsA(hInst, MAKEINTRESOURCEA(nIDResource));
  if (pContext == NULL)
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
  return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs)
{
  return OnCreateHelper(lpcs, (CCreateContext*)lpcs->lpCreateParams);
}

int CFrameWnd::OnCreateHelper(LPCREATESTRUCT lpcs, CCreateContext* pContext)
{
  if (CWnd::OnCreate(lpcs) == -1)
    return -1;
  if (!OnCreateClient(lpcs, pContext))
    return -1;
  PostMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
  RecalcLayout();
  return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext)
{
  if (pContext != NULL && pContext->m_pNewViewClass != NULL) {
    if (CreateView(pContext, AFX_IDW_PANE_FIRST) == NULL)
      return FALSE;
  }
  return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID)
{
  CWnd* pView = (CWnd*)pContext->m_pNewViewClass->CreateObject();
  if (pView == NULL)
    return NULL;
  if (!pView->Create(NULL, NULL, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), this, nID, pContext))
    return NULL;  // a view that failed has deleted itself
  // One sunken edge is enough: the view's.
  if (pView->GetExStyle() & WS_EX_CLIENTEDGE)
    ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
  return pView;
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible)
{
  CView* pView = NULL;
  if (GetActiveView() == NULL) {
    CWnd* pWnd = GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
    if (pWnd != NULL && pWnd->IsKindOf(RUNTIME_CLASS(CView))) {
      pView = (CView*)pWnd;
      SetActiveView(pView, FALSE);
    }
  }
  if (bMakeVisible) {
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    if (pView != NULL)
      pView->OnActivateFrame(WA_INACTIVE, this);
    // The main window's first showing uses the show state the program was started with.
    int nCmdShow = -1;
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL && pApp->m_pMainWnd == this) {
      nCmdShow = pApp->m_nCmdShow;
      pApp->m_nCmdShow = -1;
    }
    ActivateFrame(nCmdShow);
    if (pView != NULL)
      pView->OnActivateView(TRUE, pView, pView);
  }
  if (pDoc != NULL)
    pDoc->UpdateFrameCounts();
  OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
  if (nCmdShow == -1) {
    if (!IsWindowVisible())
      nCmdShow = SW_SHOWNORMAL;
    else if (IsIconic())
      nCmdShow = SW_RESTORE;
  }
  BringToTop(nCmdShow);
  if (nCmdShow != -1) {
    ShowWindow(nCmdShow);
    BringToTop(nCmdShow);
  }
}

void CFrameWnd::BringToTop(int nCmdShow)
{
  if (nCmdShow != SW_HIDE && nCmdShow != SW_MINIMIZE && nCmdShow != SW_SHOWMINNOACTIVE &&
      nCmdShow != SW_SHOWNA && nCmdShow != SW_SHOWNOACTIVATE) {
    CWnd* pLastPopup = GetLastActivePopup();
    if (pLastPopup != NULL && pLastPopup->m_hWnd != m_hWnd && ::IsWindow(pLastPopup->m_hWnd))
      pLastPopup->BringWindowToTop();
    else
      BringWindowToTop();
  }
}

// ---------------------------------------------------------------------------------------------
// Active view and document

CView* CFrameWnd::GetActiveView() const { return m_pViewActive; }

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify)
{
  CView* pViewOld = m_pViewActive;
  if (pViewNew == pViewOld)
    return;
  m_pViewActive = NULL;  // no view is active while they are told
  if (bNotify && pViewOld != NULL)
    pViewOld->OnActivateView(FALSE, pViewNew, pViewOld);
  m_pViewActive = pViewNew;
  if (bNotify && pViewNew != NULL)
    pViewNew->OnActivateView(TRUE, pViewNew, pViewOld);
}

CFrameWnd* CFrameWnd::GetActiveFrame() { return this; }

CDocument* CFrameWnd::GetActiveDocument()
{
  CView* pView = GetActiveView();
  return pView != NULL ? pView->GetDocument() : NULL;
}

// ---------------------------------------------------------------------------------------------
// Command routing: the active view (and through it the document and its template), then
// the frame itself, then the application.

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
  AFX_THREAD_STATE* ts = AfxGetThreadState();
  CFrameWnd* pOldFrame = ts->m_pRoutingFrame;
  ts->m_pRoutingFrame = this;
  BOOL bHandled = FALSE;
  CView* pView = GetActiveView();
  if (pView != NULL && pView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
    bHandled = TRUE;
  else if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
    bHandled = TRUE;
  else {
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
      bHandled = TRUE;
  }
  ts->m_pRoutingFrame = pOldFrame;
  return bHandled;
}

BOOL CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
  // A menu command ends the status line's menu help.
  if (lParam == 0 && m_nIDTracking != 0) {
    m_nIDTracking = AFX_IDS_IDLEMESSAGE;
  }
  return CWnd::OnCommand(wParam, lParam);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
  if (pMsg->message == WM_LBUTTONDOWN || pMsg->message == WM_NCLBUTTONDOWN)
    AfxCancelModes(pMsg->hwnd);
  if (CWnd::PreTranslateMessage(pMsg))
    return TRUE;
  if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
    HACCEL hAccel = GetDefaultAccelerator();
    return hAccel != NULL && ::TranslateAcceleratorA(m_hWnd, hAccel, pMsg);
  }
  return FALSE;
}

HACCEL CFrameWnd::GetDefaultAccelerator()
{
  HACCEL hAccelTable = m_hAccelTable;
  CDocument* pDoc = GetActiveDocument();
  if (pDoc != NULL) {
    HACCEL hAccelDoc = pDoc->GetDefaultAccelerator();
    if (hAccelDoc != NULL)
      hAccelTable = hAccelDoc;
  }
  return hAccelTable;
}

// ---------------------------------------------------------------------------------------------
// Layout

void CFrameWnd::RecalcLayout(BOOL bNotify)
{
  if (m_bInRecalcLayout)
    return;
  m_bInRecalcLayout = TRUE;
  if (m_nIdleFlags & idleNotify)
    bNotify = TRUE;
  m_nIdleFlags &= ~(idleLayout | idleNotify);
  if (GetStyle() & FWS_SNAPTOBARS) {
    // A frame that fits its bars (a floating bar's frame): ask the bars for the size they
    // want, lay them out in it and size the window around them.
    CRect rect(0, 0, 32767, 32767);
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &rect, &rect, FALSE);
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder, &rect, TRUE);
    CalcWindowRect(&rect);
    SetWindowPos(NULL, 0, 0, rect.Width(), rect.Height(),
                 SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOZORDER);
  } else {
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder);
  }
  m_bInRecalcLayout = FALSE;
}

void CFrameWnd::DelayRecalcLayout(BOOL bNotify)
{
  m_nIdleFlags |= idleLayout | (bNotify ? idleNotify : 0);
}

LRESULT CFrameWnd::OnRecalcParent(WPARAM, LPARAM)
{
  RecalcLayout();
  return 0;
}

LRESULT CFrameWnd::OnQueryCenterWnd(WPARAM, LPARAM)
{
  // Dialogs owned by a hidden or minimised frame centre on the screen instead.
  if (!IsWindowVisible() || IsIconic())
    return (LRESULT)::GetDesktopWindow();
  return 0;
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy)
{
  CWnd::OnSize(nType, cx, cy);
  if (nType != SIZE_MINIMIZED)
    RecalcLayout();
}

BOOL CFrameWnd::OnEraseBkgnd(CDC* pDC)
{
  if (m_pViewActive != NULL)
    return TRUE;  // the view covers the client area
  return CWnd::OnEraseBkgnd(pDC);
}

void CFrameWnd::NegotiateBorderSpace(UINT, LPRECT) {}
void CFrameWnd::OnSetPreviewMode(BOOL, void*) {}

// The bars' window ids double as their View-menu commands; a floating bar is found too.
BOOL CFrameWnd::OnBarCheck(UINT nID)
{
  CControlBar* pBar = GetControlBar(nID);
  if (pBar == NULL)
    return FALSE;
  ShowControlBar(pBar, (pBar->GetStyle() & WS_VISIBLE) == 0, FALSE);
  return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI)
{
  CControlBar* pBar = GetControlBar(pCmdUI->m_nID);
  if (pBar == NULL) {
    pCmdUI->ContinueRouting();
    return;
  }
  pCmdUI->SetCheck((pBar->GetStyle() & WS_VISIBLE) != 0);
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* pCmdUI)
{
  int nVK;
  switch (pCmdUI->m_nID) {
  case ID_INDICATOR_CAPS: nVK = VK_CAPITAL; break;
  case ID_INDICATOR_NUM: nVK = VK_NUMLOCK; break;
  case ID_INDICATOR_SCRL: nVK = VK_SCROLL; break;
  case ID_INDICATOR_KANA: nVK = VK_KANA; break;
  default: pCmdUI->ContinueRouting(); return;
  }
  pCmdUI->Enable(::GetKeyState(nVK) & 1);
}

void CFrameWnd::AddControlBar(CControlBar* pBar) { m_listControlBars.AddTail(pBar); }

void CFrameWnd::RemoveControlBar(CControlBar* pBar)
{
  POSITION pos = m_listControlBars.Find(pBar);
  if (pos != NULL)
    m_listControlBars.RemoveAt(pos);
}

// ---------------------------------------------------------------------------------------------
// Idle-time updates, menus and titles

LRESULT CFrameWnd::OnIdleUpdateCmdUIMsg(WPARAM, LPARAM)
{
  OnIdleUpdateCmdUI();
  return 0;
}

void CFrameWnd::OnIdleUpdateCmdUI()
{
  if (m_nIdleFlags & idleMenu) {
    m_nIdleFlags &= ~idleMenu;
    OnUpdateFrameMenu(m_hMenuAlt);
  }
  if (m_nIdleFlags & idleTitle)
    OnUpdateFrameTitle(TRUE);
  if (m_nIdleFlags & idleLayout) {
    RecalcLayout(m_nIdleFlags & idleNotify);
    UpdateWindow();
  }
  if (m_nShowDelay != -1) {
    int nShow = m_nShowDelay;
    m_nShowDelay = -1;
    ShowWindow(nShow);
  }
  if (m_nIDTracking != m_nIDLastMessage)
    SetMessageText(m_nIDTracking);
  m_nIdleFlags = 0;
}

void CFrameWnd::DelayUpdateFrameMenu(HMENU hMenuAlt)
{
  m_hMenuAlt = hMenuAlt;
  m_nIdleFlags |= idleMenu;
}

void CFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt)
{
  if (hMenuAlt == NULL) {
    CDocument* pDoc = GetActiveDocument();
    if (pDoc != NULL)
      hMenuAlt = pDoc->GetDefaultMenu();
    if (hMenuAlt == NULL)
      hMenuAlt = m_hMenuDefault;
  }
  if (::GetMenu(m_hWnd) != hMenuAlt)
    ::SetMenu(m_hWnd, hMenuAlt);
}

void CFrameWnd::OnInitMenuPopup(CMenu* pMenu, UINT, BOOL bSysMenu)
{
  if (bSysMenu || pMenu == NULL)
    return;
  HMENU hMenu = pMenu->m_hMenu;
  CCmdUI state;
  state.m_pMenu = pMenu;
  state.m_nIndexMax = (UINT)::GetMenuItemCount(hMenu);
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
    state.m_nID = ::GetMenuItemID(hMenu, (int)state.m_nIndex);
    if (state.m_nID == 0)
      continue;  // separator
    if (state.m_nID == (UINT)-1) {
      // A popup: its first item's handler speaks for it.
      HMENU hSub = ::GetSubMenu(hMenu, (int)state.m_nIndex);
      state.m_pSubMenu = hSub != NULL ? CMenu::FromHandle(hSub) : NULL;
      if (hSub == NULL || (state.m_nID = ::GetMenuItemID(hSub, 0)) == 0 ||
          state.m_nID == (UINT)-1)
        continue;
      state.DoUpdate(this, FALSE);
    } else {
      state.m_pSubMenu = NULL;
      state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
    }
    // Handlers may have added or removed items.
    UINT nCount = (UINT)::GetMenuItemCount(hMenu);
    if (nCount < state.m_nIndexMax) {
      state.m_nIndex -= (state.m_nIndexMax - nCount);
      while (state.m_nIndex < nCount &&
             (UINT)::GetMenuItemID(hMenu, (int)state.m_nIndex) == state.m_nID)
        state.m_nIndex++;
    }
    state.m_nIndexMax = nCount;
  }
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
  if ((GetStyle() & FWS_ADDTOTITLE) == 0)
    return;
  CDocument* pDocument = GetActiveDocument();
  if (bAddToTitle && pDocument != NULL)
    UpdateFrameTitleForDocument(pDocument->GetTitle());
  else
    UpdateFrameTitleForDocument(NULL);
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCTSTR lpszDocName)
{
  CString text;
  CString docPart;
  if (lpszDocName != NULL && *lpszDocName != 0) {
    docPart = lpszDocName;
    if (m_nWindow > 0) {
      CString n;
      n.Format(":%d", m_nWindow);
      docPart += n;
    }
  }
  if (GetStyle() & FWS_PREFIXTITLE) {
    if (!docPart.IsEmpty())
      text = docPart + " - ";
    text += m_strTitle;
  } else {
    text = m_strTitle;
    if (!docPart.IsEmpty())
      text += " - " + docPart;
  }
  CString old;
  GetWindowText(old);
  if (old != text)
    SetWindowText(text);
}

// ---------------------------------------------------------------------------------------------
// Status line messages

CWnd* CFrameWnd::GetMessageBar() { return GetDescendantWindow(AFX_IDW_STATUS_BAR, TRUE); }

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const
{
  // The prompt is the text before the first newline of the command's string.
  rMessage = AfxLoadFrameworkString(nID);
  int nNewline = rMessage.Find('\n');
  if (nNewline >= 0)
    rMessage = rMessage.Left(nNewline);
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam)
{
  UINT nIDLast = m_nIDLastMessage;
  m_nFlags &= ~WF_NOPOPMSG;
  CWnd* pMessageBar = GetMessageBar();
  if (pMessageBar != NULL) {
    CString strMessage;
    LPCTSTR lpsz = NULL;
    if (lParam != 0) {
      lpsz = (LPCTSTR)lParam;
    } else if (wParam != 0) {
      GetMessageString((UINT)wParam, strMessage);
      lpsz = strMessage;
    }
    pMessageBar->SetWindowText(lpsz != NULL ? lpsz : "");
  }
  m_nIDLastMessage = (UINT)wParam;
  m_nIDTracking = (UINT)wParam;
  OnSetMessageStringHook();
  return nIDLast;
}

LRESULT CFrameWnd::OnPopMessageString(WPARAM wParam, LPARAM lParam)
{
  if (m_nFlags & WF_NOPOPMSG)
    return 0;
  return SendMessage(WM_SETMESSAGESTRING, wParam, lParam);
}

void CFrameWnd::SetMessageText(LPCTSTR lpszText)
{
  SendMessage(WM_SETMESSAGESTRING, 0, (LPARAM)lpszText);
}

void CFrameWnd::SetMessageText(UINT nID) { SendMessage(WM_SETMESSAGESTRING, (WPARAM)nID); }

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU)
{
  if (nFlags == 0xFFFF) {
    // The menu closed: back to the idle prompt.
    m_nIDTracking = AFX_IDS_IDLEMESSAGE;
    SendMessage(WM_SETMESSAGESTRING, (WPARAM)m_nIDTracking);
    return;
  }
  if (nItemID == 0 || (nFlags & (MF_SEPARATOR | MF_POPUP)))
    m_nIDTracking = 0;
  else if (nItemID >= 0xF000 && nItemID < 0xF1F0)
    m_nIDTracking = AFX_IDS_SCFIRST + ((nItemID - 0xF000) >> 4);
  else if (nItemID >= AFX_IDM_FIRST_MDICHILD)
    m_nIDTracking = AFX_IDS_MDICHILD;
  else
    m_nIDTracking = nItemID;
  if (m_nIDTracking != m_nIDLastMessage)
    SendMessage(WM_SETMESSAGESTRING, (WPARAM)m_nIDTracking);
}

void CFrameWnd::OnEnterIdle(UINT nWhy, CWnd* pWho)
{
  CWnd::OnEnterIdle(nWhy, pWho);
  if (nWhy != MSGF_MENU || m_nIDTracking == m_nIDLastMessage)
    return;
  SetMessageText(m_nIDTracking);
}

// The tip of a tool is the text after the newline of its command's string.
BOOL CFrameWnd::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult)
{
  TOOLTIPTEXTA* pTTTA = (TOOLTIPTEXTA*)pNMHDR;
  TOOLTIPTEXTW* pTTTW = (TOOLTIPTEXTW*)pNMHDR;
  UINT_PTR nID = pNMHDR->idFrom;
  UINT uFlags = pNMHDR->code == TTN_NEEDTEXTA ? pTTTA->uFlags : pTTTW->uFlags;
  if (uFlags & TTF_IDISHWND)
    nID = (UINT_PTR)::GetDlgCtrlID((HWND)nID);
  CString strTipText;
  if (nID != 0) {
    CString strFull;
    if (strFull.LoadString((UINT)nID))
      AfxExtractSubString(strTipText, strFull, 1, '\n');
  }
  if (pNMHDR->code == TTN_NEEDTEXTA)
    lstrcpynA(pTTTA->szText, strTipText, _countof(pTTTA->szText));
  else
    ::MultiByteToWideChar(CP_ACP, 0, strTipText, -1, pTTTW->szText, _countof(pTTTW->szText));
  if (pResult != NULL)
    *pResult = 0;
  ::SetWindowPos(pNMHDR->hwndFrom, HWND_TOP, 0, 0, 0, 0,
                 SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE | SWP_NOOWNERZORDER);
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Activation and focus

void CFrameWnd::OnSetFocus(CWnd* pOldWnd)
{
  if (m_pViewActive != NULL && m_pViewActive->m_hWnd != NULL)
    m_pViewActive->SetFocus();
  else
    CWnd::OnSetFocus(pOldWnd);
}

void CFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
  CWnd::OnActivate(nState, pWndOther, bMinimized);
  KeepTopLevelActive(nState, pWndOther);

  CView* pActiveView = GetActiveView();
  if (pActiveView == NULL) {
    CFrameWnd* pActiveFrame = GetActiveFrame();
    if (pActiveFrame != NULL && pActiveFrame != this)
      pActiveView = pActiveFrame->GetActiveView();
  }
  if (pActiveView != NULL) {
    if (nState != WA_INACTIVE && !bMinimized)
      pActiveView->OnActivateView(TRUE, pActiveView, pActiveView);
    pActiveView->OnActivateFrame(nState, this);
  }
}

void CFrameWnd::KeepTopLevelActive(UINT nState, CWnd* pWndOther)
{
  // The top-level frame looks active while the active window is itself or one of its
  // floating windows that wants it so (a floating bar answers FS_SYNCACTIVE).
  CFrameWnd* pTopLevel = (GetStyle() & WS_CHILD) ? this : GetTopLevelFrame();
  if (pTopLevel == NULL)
    pTopLevel = this;
  CWnd* pActive = nState == WA_INACTIVE ? pWndOther : this;
  BOOL bStayActive = FALSE;
  if (pActive != NULL && pActive->m_hWnd != NULL) {
    if (pActive->m_hWnd == pTopLevel->m_hWnd)
      bStayActive = TRUE;
    else if (AfxIsDescendant(pTopLevel->m_hWnd, pActive->m_hWnd))
      bStayActive = ::SendMessageA(pActive->m_hWnd, WM_FLOATSTATUS, FS_SYNCACTIVE, 0) != 0;
  }
  pTopLevel->m_nFlags &= ~WF_STAYACTIVE;
  if (bStayActive)
    pTopLevel->m_nFlags |= WF_STAYACTIVE;
  NotifyFloatingWindows(bStayActive ? FS_ACTIVATE : FS_DEACTIVATE);
}

BOOL CFrameWnd::OnNcActivate(BOOL bActive)
{
  // A frame that must look active (a bar of it is being used) keeps its active caption.
  if (m_nFlags & WF_STAYACTIVE)
    bActive = TRUE;
  if (!IsWindowEnabled())
    bActive = FALSE;
  return (BOOL)DefWindowProc(WM_NCACTIVATE, bActive, 0);
}

void CFrameWnd::OnEnable(BOOL bEnable)
{
  if (bEnable && (m_nFlags & WF_STAYDISABLED)) {
    EnableWindow(FALSE);
    ::SetFocus(NULL);
    return;
  }
  CWnd::OnEnable(bEnable);
  if (GetParent() != NULL)
    return;  // only top-level, unowned frames
  // A frame disabled by a modal dialog disables its floating windows with it.
  if (!bEnable && !InModalState()) {
    m_nFlags |= WF_MODALDISABLE;
    BeginModalState();
  } else if (bEnable && (m_nFlags & WF_MODALDISABLE)) {
    m_nFlags &= ~WF_MODALDISABLE;
    EndModalState();
    if (::GetActiveWindow() == m_hWnd)
      SendMessage(WM_ACTIVATE, WA_ACTIVE);
  }
  if (bEnable && (m_nFlags & WF_STAYACTIVE))
    SendMessage(WM_NCACTIVATE, TRUE);
  NotifyFloatingWindows(bEnable ? FS_ENABLE : FS_DISABLE);
}

void CFrameWnd::NotifyFloatingWindows(DWORD dwFlags)
{
  CFrameWnd* pParent = (GetStyle() & WS_CHILD) ? this : GetTopLevelFrame();
  if (pParent == NULL)
    pParent = this;
  if (dwFlags & (FS_DEACTIVATE | FS_ACTIVATE)) {
    BOOL bActivate = !(dwFlags & FS_DEACTIVATE);
    if (bActivate && pParent->IsWindowEnabled() && pParent != this) {
      m_nFlags |= WF_KEEPMINIACTIVE;
      pParent->SendMessage(WM_NCACTIVATE, TRUE);
      m_nFlags &= ~WF_KEEPMINIACTIVE;
    } else {
      pParent->SendMessage(WM_NCACTIVATE, bActivate);
    }
  }
  // Every top-level window owned (directly or not) by the frame.
  for (HWND hWnd = ::GetWindow(::GetDesktopWindow(), GW_CHILD); hWnd != NULL;
       hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
    if (hWnd != pParent->m_hWnd && AfxIsDescendant(pParent->m_hWnd, hWnd))
      ::SendMessageA(hWnd, WM_FLOATSTATUS, dwFlags, 0);
  }
}

// ---------------------------------------------------------------------------------------------
// Closing

void CFrameWnd::OnClose()
{
  CDocument* pDocument = GetActiveDocument();
  if (pDocument != NULL && !pDocument->CanCloseFrame(this))
    return;  // the document keeps the frame open
  CWinApp* pApp = AfxGetApp();
  if (pApp != NULL && pApp->m_pMainWnd == this) {
    if (pDocument == NULL && !pApp->SaveAllModified())
      return;
    pApp->HideApplication();
    pApp->CloseAllDocuments(FALSE);
    // Closing the documents may have destroyed this frame, the main window, already.
    if (pApp->m_pMainWnd == NULL) {
      ::PostQuitMessage(0);
      return;
    }
  }
  // The last frame of a document closes the document, which destroys the frame.
  if (pDocument != NULL && pDocument->m_bAutoDelete) {
    BOOL bOtherFrame = FALSE;
    POSITION pos = pDocument->GetFirstViewPosition();
    while (pos != NULL) {
      CView* pView = pDocument->GetNextView(pos);
      if (pView->GetParentFrame() != this) {
        bOtherFrame = TRUE;
        break;
      }
    }
    if (!bOtherFrame) {
      pDocument->OnCloseDocument();
      return;
    }
    pDocument->PreCloseFrame(this);
  }
  DestroyWindow();
}

void CFrameWnd::OnDestroy()
{
  // Leave the frame's own menu on it, so that it is destroyed with the window, and give any
  // other menu (a document's) back to its owner.
  if (m_hMenuDefault != NULL && ::GetMenu(m_hWnd) != m_hMenuDefault)
    ::SetMenu(m_hWnd, m_hMenuDefault);
  CWnd::OnDestroy();
}

BOOL CFrameWnd::OnQueryEndSession()
{
  CWinApp* pApp = AfxGetApp();
  if (pApp != NULL && pApp->m_pMainWnd == this)
    return pApp->SaveAllModified();
  return TRUE;
}

void CFrameWnd::OnEndSession(BOOL bEnding)
{
  if (!bEnding)
    return;
  CWinApp* pApp = AfxGetApp();
  if (pApp != NULL && pApp->m_pMainWnd == this)
    pApp->CloseAllDocuments(TRUE);
}

void CFrameWnd::OnDropFiles(HDROP hDropInfo)
{
  SetActiveWindow();
  UINT nFiles = ::DragQueryFileA(hDropInfo, (UINT)-1, NULL, 0);
  CWinApp* pApp = AfxGetApp();
  for (UINT iFile = 0; iFile < nFiles; iFile++) {
    char szFileName[MAX_PATH];
    ::DragQueryFileA(hDropInfo, iFile, szFileName, MAX_PATH);
    if (pApp != NULL)
      pApp->OpenDocumentFile(szFileName);
  }
  ::DragFinish(hDropInfo);
}

// ---------------------------------------------------------------------------------------------
// Modal state: while a modeless window works modally, the frame and its popups are disabled.

void CFrameWnd::BeginModalState()
{
  if (m_cModalStack++ > 0)
    return;
  // Disable every enabled top-level window of this thread owned by this frame, and the frame.
  CPtrArray windows;
  HWND hWnd = ::GetWindow(::GetDesktopWindow(), GW_CHILD);
  DWORD dwThread = ::GetCurrentThreadId();
  for (; hWnd != NULL; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
    if (hWnd != m_hWnd && ::IsWindowEnabled(hWnd) &&
        ::GetWindowThreadProcessId(hWnd, NULL) == dwThread &&
        ::GetWindow(hWnd, GW_OWNER) == m_hWnd)
      windows.Add(hWnd);
  }
  if (::IsWindowEnabled(m_hWnd))
    windows.Add(m_hWnd);
  delete[] m_phWndDisable;
  m_phWndDisable = new HWND[windows.GetSize() + 1];
  INT_PTR i = 0;
  for (; i < windows.GetSize(); i++) {
    m_phWndDisable[i] = (HWND)windows[i];
    ::EnableWindow(m_phWndDisable[i], FALSE);
  }
  m_phWndDisable[i] = NULL;
}

void CFrameWnd::EndModalState()
{
  if (m_cModalStack == 0 || --m_cModalStack > 0 || m_phWndDisable == NULL)
    return;
  for (HWND* ph = m_phWndDisable; *ph != NULL; ph++)
    if (::IsWindow(*ph))
      ::EnableWindow(*ph, TRUE);
  delete[] m_phWndDisable;
  m_phWndDisable = NULL;
}

void CFrameWnd::ShowOwnedWindows(BOOL bShow) { ::ShowOwnedPopups(m_hWnd, bShow); }

// ---------------------------------------------------------------------------------------------
// CMiniFrameWnd: a small-captioned floating frame.

IMPLEMENT_DYNCREATE(CMiniFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMiniFrameWnd, CFrameWnd)
  ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
  ON_WM_NCHITTEST()
END_MESSAGE_MAP()

LRESULT CMiniFrameWnd::OnFloatStatus(WPARAM wParam, LPARAM)
{
  BOOL bSync = (GetStyle() & MFS_SYNCACTIVE) != 0;
  LRESULT lResult = (bSync && (wParam & FS_SYNCACTIVE)) ? 1 : 0;
  if (wParam & (FS_SHOW | FS_HIDE))
    SetWindowPos(NULL, 0, 0, 0, 0,
                 ((wParam & FS_SHOW) ? SWP_SHOWWINDOW : SWP_HIDEWINDOW) | SWP_NOZORDER |
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (wParam & (FS_ENABLE | FS_DISABLE))
    EnableWindow((wParam & FS_ENABLE) != 0);
  if (bSync && (wParam & (FS_ACTIVATE | FS_DEACTIVATE))) {
    m_bActive = (wParam & FS_ACTIVATE) != 0;
    DefWindowProc(WM_NCACTIVATE, m_bActive, 0);
  }
  return lResult;
}

CMiniFrameWnd::CMiniFrameWnd() : m_bSysTracking(FALSE), m_bInSys(FALSE), m_bActive(FALSE) {}
CMiniFrameWnd::~CMiniFrameWnd() {}

// The MFS_ bits stay in the window's style (its low word, which the system leaves to the
// class) where the docking code reads them; the thick-frame ones also get the system's
// sizing border, a caption makes a tool window, and a mini frame has no sunken client edge.
BOOL CMiniFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
  if (cs.style & (MFS_4THICKFRAME | MFS_THICKFRAME))
    cs.style |= WS_THICKFRAME;
  if (cs.style & WS_CAPTION)
    cs.dwExStyle |= WS_EX_TOOLWINDOW;
  if (cs.lpszClass == NULL)
    cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW));
  CFrameWnd::PreCreateWindow(cs);
  cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
  return TRUE;
}

BOOL CMiniFrameWnd::Create(LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle,
                           const RECT& rect, CWnd* pParentWnd, UINT nID)
{
  return CreateEx(0, lpClassName, lpWindowName, dwStyle, rect, pParentWnd, nID);
}

BOOL CMiniFrameWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpClassName, LPCTSTR lpWindowName,
                             DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
  m_strCaption = lpWindowName != NULL ? lpWindowName : "";
  m_strTitle = m_strCaption;
  return CWnd::CreateEx(dwExStyle, lpClassName, lpWindowName, dwStyle, rect.left, rect.top,
                        rect.right - rect.left, rect.bottom - rect.top,
                        pParentWnd->GetSafeHwnd(),
                        (dwStyle & WS_CHILD) ? (HMENU)(UINT_PTR)nID : NULL);
}
