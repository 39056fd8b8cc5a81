// Multiple-document frames: the MDI frame with its client window and the MDI child frames.
#include "afxwin.h"
#include "afxpriv.h"
#include "afxtempl.h"

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
  ON_WM_SIZE()
  ON_WM_DESTROY()
  ON_UPDATE_COMMAND_UI(ID_WINDOW_ARRANGE, OnUpdateMDIWindowCmd)
  ON_UPDATE_COMMAND_UI(ID_WINDOW_CASCADE, OnUpdateMDIWindowCmd)
  ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_HORZ, OnUpdateMDIWindowCmd)
  ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_VERT, OnUpdateMDIWindowCmd)
  ON_UPDATE_COMMAND_UI(ID_WINDOW_NEW, OnUpdateMDIWindowCmd)
  ON_COMMAND_EX(ID_WINDOW_ARRANGE, OnMDIWindowCmd)
  ON_COMMAND_EX(ID_WINDOW_CASCADE, OnMDIWindowCmd)
  ON_COMMAND_EX(ID_WINDOW_TILE_HORZ, OnMDIWindowCmd)
  ON_COMMAND_EX(ID_WINDOW_TILE_VERT, OnMDIWindowCmd)
  ON_COMMAND(ID_WINDOW_NEW, OnWindowNew)
END_MESSAGE_MAP()

CMDIFrameWnd::CMDIFrameWnd() : m_hWndMDIClient(NULL) {}

BOOL CMDIFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                             CCreateContext* pContext)
{
  return CFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext);
}

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext*)
{
  HMENU hMenu = ::GetMenu(m_hWnd);
  HMENU hWindowMenu = hMenu != NULL ? GetWindowMenuPopup(hMenu) : NULL;
  return CreateClient(lpcs, hWindowMenu != NULL ? CMenu::FromHandle(hWindowMenu) : NULL);
}

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCT, CMenu* pWindowMenu)
{
  CLIENTCREATESTRUCT ccs;
  ccs.hWindowMenu = pWindowMenu->GetSafeHmenu();
  ccs.idFirstChild = AFX_IDM_FIRST_MDICHILD;
  DWORD dwStyle = WS_VISIBLE | WS_CHILD | WS_BORDER | WS_CLIPCHILDREN | WS_HSCROLL | WS_VSCROLL |
                  MDIS_ALLCHILDSTYLES;
  DWORD dwExStyle = 0;
  // The client gets the sunken edge; the frame then needs none.
  if (GetExStyle() & WS_EX_CLIENTEDGE) {
    dwStyle &= ~WS_BORDER;
    ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
    dwExStyle |= WS_EX_CLIENTEDGE;
  }
  m_hWndMDIClient = ::CreateWindowExA(dwExStyle, "MDICLIENT", NULL, dwStyle, 0, 0, 0, 0, m_hWnd,
                                      (HMENU)(UINT_PTR)AFX_IDW_PANE_FIRST, AfxGetInstanceHandle(),
                                      (LPVOID)&ccs);
  if (m_hWndMDIClient == NULL)
    return FALSE;
  ::BringWindowToTop(m_hWndMDIClient);
  return TRUE;
}

HMENU CMDIFrameWnd::GetWindowMenuPopup(HMENU hMenuBar)
{
  if (hMenuBar == NULL)
    return NULL;
  // The Window menu is the popup that carries the window commands.
  int iItem = ::GetMenuItemCount(hMenuBar);
  while (iItem--) {
    HMENU hMenuPop = ::GetSubMenu(hMenuBar, iItem);
    if (hMenuPop != NULL) {
      int iItemMax = ::GetMenuItemCount(hMenuPop);
      for (int iItemPop = 0; iItemPop < iItemMax; iItemPop++) {
        UINT nID = ::GetMenuItemID(hMenuPop, iItemPop);
        if (nID >= AFX_IDM_WINDOW_FIRST && nID <= AFX_IDM_WINDOW_LAST)
          return hMenuPop;
      }
    }
  }
  return NULL;
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
  return ::DefFrameProcA(m_hWnd, m_hWndMDIClient, nMsg, wParam, lParam);
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const
{
  if (m_hWndMDIClient == NULL) {
    if (pbMaximized != NULL)
      *pbMaximized = FALSE;
    return NULL;
  }
  HWND hWnd = (HWND)::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, (LPARAM)pbMaximized);
  CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
  if (pWnd == NULL || !pWnd->IsKindOf(RUNTIME_CLASS(CMDIChildWnd)))
    return NULL;
  return (CMDIChildWnd*)pWnd;
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame()
{
  CMDIChildWnd* pActiveChild = MDIGetActive();
  if (pActiveChild == NULL)
    return this;
  return pActiveChild;
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
  // The active child (with its view and document) is asked first.
  CMDIChildWnd* pActiveChild = MDIGetActive();
  if (pActiveChild != NULL && pActiveChild->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
    return TRUE;
  return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMDIFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
  UINT nID = LOWORD(wParam);
  // Items of the Window menu's child list activate a child: the client does that.
  if (lParam == 0 && nID >= AFX_IDM_FIRST_MDICHILD) {
    DefWindowProc(WM_COMMAND, wParam, lParam);
    return TRUE;
  }
  return CFrameWnd::OnCommand(wParam, lParam);
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* pMsg)
{
  if (pMsg->message == WM_LBUTTONDOWN || pMsg->message == WM_NCLBUTTONDOWN)
    AfxCancelModes(pMsg->hwnd);
  if (CWnd::PreTranslateMessage(pMsg))
    return TRUE;
  CMDIChildWnd* pActiveChild = MDIGetActive();
  if (pActiveChild != NULL && pActiveChild->PreTranslateMessage(pMsg))
    return TRUE;
  if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
    if (m_hAccelTable != NULL && ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg))
      return TRUE;
    if ((pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN) &&
        m_hWndMDIClient != NULL && ::TranslateMDISysAccel(m_hWndMDIClient, pMsg))
      return TRUE;
  }
  return FALSE;
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
  if ((GetStyle() & FWS_ADDTOTITLE) == 0)
    return;
  CMDIChildWnd* pActiveChild = MDIGetActive();
  CDocument* pDocument = pActiveChild != NULL ? pActiveChild->GetActiveDocument() : NULL;
  // A maximised child shows its title in the frame's caption already.
  if (bAddToTitle && pActiveChild != NULL && (pActiveChild->GetStyle() & WS_MAXIMIZE) == 0 &&
      pDocument != NULL)
    UpdateFrameTitleForDocument(pDocument->GetTitle());
  else
    UpdateFrameTitleForDocument(NULL);
}

void CMDIFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt)
{
  CMDIChildWnd* pActiveWnd = MDIGetActive();
  if (pActiveWnd != NULL) {
    pActiveWnd->OnUpdateFrameMenu(TRUE, pActiveWnd, hMenuAlt);
  } else if (m_hWndMDIClient != NULL) {
    if (hMenuAlt == NULL)
      hMenuAlt = m_hMenuDefault;
    ::SendMessageA(m_hWndMDIClient, WM_MDISETMENU, (WPARAM)hMenuAlt, (LPARAM)GetWindowMenuPopup(hMenuAlt));
    DrawMenuBar();
  }
}

void CMDIFrameWnd::DelayUpdateFrameMenu(HMENU hMenuAlt)
{
  OnUpdateFrameMenu(hMenuAlt);
  m_nIdleFlags |= idleMenu;
}

void CMDIFrameWnd::RecalcLayout(BOOL bNotify) { CFrameWnd::RecalcLayout(bNotify); }

void CMDIFrameWnd::OnSize(UINT nType, int, int)
{
  // The client is placed by the layout, not by the default frame handling.
  if (nType != SIZE_MINIMIZED)
    RecalcLayout();
}

void CMDIFrameWnd::OnDestroy()
{
  // A window gets WM_DESTROY before its children, so the MDI client would get it before the
  // MDI children still open. The system's client frees its bookkeeping then, and the default
  // child procedure reads it again at each child's WM_DESTROY: freed memory, an access
  // violation when the heap has reused it. The children go first, while the client is whole;
  // the active one last, so that activation does not pass from child to child.
  if (m_hWndMDIClient != NULL && ::IsWindow(m_hWndMDIClient)) {
    HWND hWndActive = (HWND)::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0);
    CArray<HWND, HWND> children;
    for (HWND hWnd = ::GetWindow(m_hWndMDIClient, GW_CHILD); hWnd != NULL;
         hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
      if (hWnd != hWndActive && (::GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_MDICHILD))
        children.Add(hWnd);
    }
    if (hWndActive != NULL)
      children.Add(hWndActive);
    // A child's own destruction may take others with it: each is checked before it goes.
    for (INT_PTR i = 0; i < children.GetSize(); i++) {
      if (::IsWindow(children[i]) && ::GetParent(children[i]) == m_hWndMDIClient)
        ::SendMessageA(m_hWndMDIClient, WM_MDIDESTROY, (WPARAM)children[i], 0);
    }
  }
  CFrameWnd::OnDestroy();
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate)
{
  ::SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)pWndActivate->GetSafeHwnd(), 0);
}
void CMDIFrameWnd::MDIIconArrange() { ::SendMessageA(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0); }
void CMDIFrameWnd::MDIMaximize(CWnd* pWnd)
{
  ::SendMessageA(m_hWndMDIClient, WM_MDIMAXIMIZE, (WPARAM)pWnd->GetSafeHwnd(), 0);
}
void CMDIFrameWnd::MDINext() { ::SendMessageA(m_hWndMDIClient, WM_MDINEXT, 0, 0); }
void CMDIFrameWnd::MDIRestore(CWnd* pWnd)
{
  ::SendMessageA(m_hWndMDIClient, WM_MDIRESTORE, (WPARAM)pWnd->GetSafeHwnd(), 0);
}
CMenu* CMDIFrameWnd::MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu)
{
  return CMenu::FromHandle((HMENU)::SendMessageA(m_hWndMDIClient, WM_MDISETMENU,
                                                 (WPARAM)pFrameMenu->GetSafeHmenu(),
                                                 (LPARAM)pWindowMenu->GetSafeHmenu()));
}
void CMDIFrameWnd::MDITile() { ::SendMessageA(m_hWndMDIClient, WM_MDITILE, 0, 0); }
void CMDIFrameWnd::MDICascade() { ::SendMessageA(m_hWndMDIClient, WM_MDICASCADE, 0, 0); }
void CMDIFrameWnd::MDITile(int nType) { ::SendMessageA(m_hWndMDIClient, WM_MDITILE, nType, 0); }
void CMDIFrameWnd::MDICascade(int nType) { ::SendMessageA(m_hWndMDIClient, WM_MDICASCADE, nType, 0); }

void CMDIFrameWnd::OnUpdateMDIWindowCmd(CCmdUI* pCmdUI) { pCmdUI->Enable(MDIGetActive() != NULL); }

BOOL CMDIFrameWnd::OnMDIWindowCmd(UINT nID)
{
  switch (nID) {
  case ID_WINDOW_ARRANGE: MDIIconArrange(); break;
  case ID_WINDOW_CASCADE: MDICascade(); break;
  case ID_WINDOW_TILE_HORZ: MDITile(MDITILE_HORIZONTAL); break;
  case ID_WINDOW_TILE_VERT: MDITile(MDITILE_VERTICAL); break;
  default: return FALSE;
  }
  return TRUE;
}

void CMDIFrameWnd::OnWindowNew()
{
  CMDIChildWnd* pActiveChild = MDIGetActive();
  CDocument* pDocument = pActiveChild != NULL ? pActiveChild->GetActiveDocument() : NULL;
  if (pDocument == NULL || pDocument->GetDocTemplate() == NULL)
    return;
  CDocTemplate* pTemplate = pDocument->GetDocTemplate();
  CFrameWnd* pFrame = pTemplate->CreateNewFrame(pDocument, pActiveChild);
  if (pFrame == NULL)
    return;
  pTemplate->InitialUpdateFrame(pFrame, pDocument);
}

// ---------------------------------------------------------------------------------------------
// CMDIChildWnd

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
  ON_WM_CREATE()
  ON_WM_MDIACTIVATE()
END_MESSAGE_MAP()

CMDIChildWnd::CMDIChildWnd() : m_hMenuShared(NULL), m_bPseudoInactive(FALSE) {}

BOOL CMDIChildWnd::PreCreateWindow(CREATESTRUCT& cs)
{
  cs.style |= WS_CHILD;
  return CFrameWnd::PreCreateWindow(cs);
}

BOOL CMDIChildWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                          const RECT& rect, CMDIFrameWnd* pParentWnd, CCreateContext* pContext)
{
  if (pParentWnd == NULL) {
    CWinThread* pThread = AfxGetThread();
    CWnd* pMainWnd = pThread != NULL ? pThread->m_pMainWnd : NULL;
    if (pMainWnd == NULL || !pMainWnd->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd))) {
      PostNcDestroy();
      return FALSE;
    }
    pParentWnd = (CMDIFrameWnd*)pMainWnd;
  }
  pParentWnd->RecalcLayout();

  CREATESTRUCTA cs;
  cs.dwExStyle = 0;
  cs.lpszClass = lpszClassName;
  cs.lpszName = lpszWindowName;
  cs.style = dwStyle;
  if (::EqualRect(&rect, &rectDefault)) {
    cs.x = cs.y = cs.cx = cs.cy = CW_USEDEFAULT;
  } else {
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
  }
  cs.hwndParent = pParentWnd->m_hWnd;
  cs.hMenu = NULL;
  cs.hInstance = AfxGetInstanceHandle();
  cs.lpCreateParams = (LPVOID)pContext;
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  m_strTitle = cs.lpszName != NULL ? cs.lpszName : "";

  MDICREATESTRUCTA mcs;
  mcs.szClass = cs.lpszClass;
  mcs.szTitle = cs.lpszName;
  mcs.hOwner = cs.hInstance;
  mcs.x = cs.x;
  mcs.y = cs.y;
  mcs.cx = cs.cx;
  mcs.cy = cs.cy;
  mcs.style = cs.style & ~(WS_MAXIMIZE | WS_VISIBLE);  // shown below, once complete
  mcs.lParam = (LPARAM)cs.lpCreateParams;

  AfxHookWindowCreate(this);
  HWND hWnd = (HWND)::SendMessageA(pParentWnd->m_hWndMDIClient, WM_MDICREATE, 0, (LPARAM)&mcs);
  if (!AfxUnhookWindowCreate())
    PostNcDestroy();
  if (hWnd == NULL)
    return FALSE;

  if (cs.style & WS_VISIBLE) {
    ::BringWindowToTop(hWnd);
    if (cs.style & WS_MINIMIZE)
      ShowWindow(SW_SHOWMINIMIZED);
    else if (cs.style & WS_MAXIMIZE)
      ShowWindow(SW_SHOWMAXIMIZED);
    else
      ShowWindow(SW_SHOWNORMAL);
    pParentWnd->MDIActivate(this);
    ::SendMessageA(pParentWnd->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
  }
  return TRUE;
}

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                             CCreateContext* pContext)
{
  m_nIDHelp = nIDResource;
  CString strFullString, strTitle;
  if (strFullString.LoadString(nIDResource))
    AfxExtractSubString(strTitle, strFullString, 0);
  // The children of a multi-document template share its menu and accelerators.
  if (pContext != NULL && pContext->m_pNewDocTemplate != NULL &&
      pContext->m_pNewDocTemplate->IsKindOf(RUNTIME_CLASS(CMultiDocTemplate))) {
    CMultiDocTemplate* pTemplate = (CMultiDocTemplate*)pContext->m_pNewDocTemplate;
    m_hMenuShared = pTemplate->m_hMenuShared;
    m_hAccelTable = pTemplate->m_hAccelTable;
  }
  LPCTSTR lpszClass = GetIconWndClass(dwDefaultStyle, nIDResource);
  return Create(lpszClass, strTitle, dwDefaultStyle, rectDefault, (CMDIFrameWnd*)pParentWnd,
                pContext);
}

int CMDIChildWnd::OnCreate(LPCREATESTRUCT lpcs)
{
  // Through WM_MDICREATE the creation context arrives inside the MDI create record.
  MDICREATESTRUCTA* lpmcs = (MDICREATESTRUCTA*)lpcs->lpCreateParams;
  CCreateContext* pContext = lpmcs != NULL ? (CCreateContext*)lpmcs->lParam : NULL;
  return OnCreateHelper(lpcs, pContext);
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame()
{
  HWND hWndMDIClient = ::GetParent(m_hWnd);
  CWnd* pWnd = CWnd::FromHandlePermanent(::GetParent(hWndMDIClient));
  if (pWnd == NULL || !pWnd->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
    return NULL;
  return (CMDIFrameWnd*)pWnd;
}

LRESULT CMDIChildWnd::DefWindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
  return ::DefMDIChildProcA(m_hWnd, nMsg, wParam, lParam);
}

BOOL CMDIChildWnd::DestroyWindow()
{
  if (m_hWnd == NULL)
    return FALSE;
  // The frame's title must not flash the closing child's name.
  CMDIFrameWnd* pFrameWnd = GetMDIFrame();
  HWND hWndFrame = pFrameWnd != NULL ? pFrameWnd->m_hWnd : NULL;
  DWORD dwStyle = 0;
  if (hWndFrame != NULL) {
    dwStyle = (DWORD)::GetWindowLongA(hWndFrame, GWL_STYLE);
    ::SetWindowLongA(hWndFrame, GWL_STYLE, (LONG)(dwStyle & ~FWS_ADDTOTITLE));
  }
  MDIDestroy();
  if (hWndFrame != NULL && ::IsWindow(hWndFrame)) {
    ::SetWindowLongA(hWndFrame, GWL_STYLE, (LONG)dwStyle);
    pFrameWnd->OnUpdateFrameTitle(TRUE);
  }
  return TRUE;
}

void CMDIChildWnd::MDIDestroy() { ::SendMessageA(::GetParent(m_hWnd), WM_MDIDESTROY, (WPARAM)m_hWnd, 0); }
void CMDIChildWnd::MDIActivate() { ::SendMessageA(::GetParent(m_hWnd), WM_MDIACTIVATE, (WPARAM)m_hWnd, 0); }
void CMDIChildWnd::MDIMaximize() { ::SendMessageA(::GetParent(m_hWnd), WM_MDIMAXIMIZE, (WPARAM)m_hWnd, 0); }
void CMDIChildWnd::MDIRestore() { ::SendMessageA(::GetParent(m_hWnd), WM_MDIRESTORE, (WPARAM)m_hWnd, 0); }

BOOL CMDIChildWnd::PreTranslateMessage(MSG* pMsg)
{
  if (CWnd::PreTranslateMessage(pMsg))
    return TRUE;
  // Accelerators of a child are translated for its MDI frame: children have no menus.
  if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
    HACCEL hAccel = GetDefaultAccelerator();
    CMDIFrameWnd* pFrame = GetMDIFrame();
    return hAccel != NULL && pFrame != NULL &&
           ::TranslateAcceleratorA(pFrame->m_hWnd, hAccel, pMsg);
  }
  return FALSE;
}

void CMDIChildWnd::ActivateFrame(int nCmdShow)
{
  BOOL bVisibleThen = (GetStyle() & WS_VISIBLE) != 0;
  CMDIFrameWnd* pFrameWnd = GetMDIFrame();
  if (nCmdShow == -1 && pFrameWnd != NULL) {
    BOOL bMaximized = FALSE;
    pFrameWnd->MDIGetActive(&bMaximized);
    DWORD dwStyle = GetStyle();
    if (bMaximized || (dwStyle & WS_MAXIMIZE))
      nCmdShow = SW_SHOWMAXIMIZED;
    else if (dwStyle & WS_MINIMIZE)
      nCmdShow = SW_SHOWMINIMIZED;
  }
  CFrameWnd::ActivateFrame(nCmdShow);
  if (pFrameWnd != NULL) {
    if (!bVisibleThen || pFrameWnd->MDIGetActive() != this)
      pFrameWnd->MDIActivate(this);
    ::SendMessageA(pFrameWnd->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
  }
}

void CMDIChildWnd::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd*)
{
  m_bPseudoInactive = FALSE;
  CView* pActiveView = GetActiveView();
  if (!bActivate && pActiveView != NULL)
    pActiveView->OnActivateView(FALSE, pActiveView, pActiveView);
  OnUpdateFrameTitle(bActivate || pActivateWnd != NULL);
  CMDIFrameWnd* pFrame = GetMDIFrame();
  if (bActivate && pActiveView != NULL && pFrame != NULL && ::GetActiveWindow() == pFrame->m_hWnd)
    pActiveView->OnActivateView(TRUE, pActiveView, pActiveView);
  OnUpdateFrameMenu(bActivate, pActivateWnd, NULL);
  if (pFrame != NULL)
    pFrame->DrawMenuBar();
}

void CMDIChildWnd::OnUpdateFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt)
{
  CMDIFrameWnd* pFrame = GetMDIFrame();
  if (pFrame == NULL)
    return;
  if (hMenuAlt == NULL && bActivate) {
    CDocument* pDoc = GetActiveDocument();
    if (pDoc != NULL)
      hMenuAlt = pDoc->GetDefaultMenu();
  }
  if (hMenuAlt == NULL)
    hMenuAlt = m_hMenuShared;
  if (hMenuAlt != NULL && bActivate) {
    ::SendMessageA(pFrame->m_hWndMDIClient, WM_MDISETMENU, (WPARAM)hMenuAlt,
                   (LPARAM)pFrame->GetWindowMenuPopup(hMenuAlt));
  } else if (hMenuAlt != NULL && !bActivate && pActivateWnd == NULL) {
    // The last child goes: the frame's own menu comes back.
    ::SendMessageA(pFrame->m_hWndMDIClient, WM_MDISETMENU, (WPARAM)pFrame->m_hMenuDefault,
                   (LPARAM)pFrame->GetWindowMenuPopup(pFrame->m_hMenuDefault));
  } else {
    ::SendMessageA(pFrame->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
  }
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
  CMDIFrameWnd* pFrame = GetMDIFrame();
  if (pFrame != NULL)
    pFrame->OnUpdateFrameTitle(bAddToTitle);
  if ((GetStyle() & FWS_ADDTOTITLE) == 0)
    return;
  CDocument* pDocument = GetActiveDocument();
  if (bAddToTitle && pDocument != NULL) {
    CString text = pDocument->GetTitle();
    if (m_nWindow > 0) {
      CString n;
      n.Format(":%d", m_nWindow);
      text += n;
    }
    CString old;
    GetWindowText(old);
    if (old != text)
      SetWindowText(text);
  }
}

CFrameWnd* CMDIChildWnd::GetActiveFrame() { return this; }
