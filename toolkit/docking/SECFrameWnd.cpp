// The toolkit's docking frame.
#include "SECFrameWnd.h"
#include "SECMDIFrameWnd.h"
#include "SECControlBar.h"
#include "SECControlBarManager.h"
#include "SECDockBar.h"
#include "SECDockState.h"
#include "SECResource.h"
#include "SECWorkspaceManager.h"
#include "SECBmpMenuPlugIn.h"
#include "SECBmpMgr.h"
#include "SECCustomToolBar.h"
#include "SECMenuBar.h"
#include "SECMiniDockFrameWnd.h"
#include "SECSysData.h"
#include "SECToolBarManager.h"
#include <afxpriv.h>
#include <set>

const UINT WM_SECGETMENU = ::RegisterWindowMessageA("WM_SECGETMENU");

IMPLEMENT_DYNCREATE(SECFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(SECFrameWnd, CFrameWnd)
  ON_REGISTERED_MESSAGE(WM_SECGETMENU, OnSecGetMenu)
  ON_COMMAND(ID_WORKSPACE_NEW, OnWorkspaceCommand)
  ON_UPDATE_COMMAND_UI(ID_WORKSPACE_NEW, OnUpdateWorkspaceCommand)
  ON_COMMAND(ID_WORKSPACE_OPEN, OnWorkspaceCommand)
  ON_UPDATE_COMMAND_UI(ID_WORKSPACE_OPEN, OnUpdateWorkspaceCommand)
  ON_COMMAND(ID_WORKSPACE_SAVE, OnWorkspaceCommand)
  ON_UPDATE_COMMAND_UI(ID_WORKSPACE_SAVE, OnUpdateWorkspaceCommand)
  ON_COMMAND(ID_WORKSPACE_CLOSE, OnWorkspaceCommand)
  ON_UPDATE_COMMAND_UI(ID_WORKSPACE_CLOSE, OnUpdateWorkspaceCommand)
  ON_COMMAND(ID_WORKSPACE_SAVEAS, OnWorkspaceCommand)
  ON_UPDATE_COMMAND_UI(ID_WORKSPACE_SAVEAS, OnUpdateWorkspaceCommand)
  ON_COMMAND(ID_WORKSPACE_DELETE, OnWorkspaceCommand)
  ON_UPDATE_COMMAND_UI(ID_WORKSPACE_DELETE, OnUpdateWorkspaceCommand)
  ON_COMMAND_EX_RANGE(ID_WORKSPACE_MRU1, ID_WORKSPACE_MRU9, OnWorkspaceRecent)
  ON_UPDATE_COMMAND_UI_RANGE(ID_WORKSPACE_MRU1, ID_WORKSPACE_MRU9, OnUpdateWorkspaceCommand)
  ON_WM_CREATE()
  ON_WM_CLOSE()
  ON_WM_NCHITTEST()
  ON_WM_ENABLE()
  ON_WM_NCACTIVATE()
  ON_WM_SYSCOLORCHANGE()
  ON_WM_ENTERIDLE()
END_MESSAGE_MAP()

namespace {
struct Side {
  UINT nID;
  DWORD dwStyle;
};
// Top, bottom, left, right: the order sides are tried in.
const Side kSides[4] = {{AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM},
                        {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP},
                        {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT},
                        {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT}};

SECControlBar* AsSEC(CControlBar* pBar)
{
  return pBar != NULL ? DYNAMIC_DOWNCAST(SECControlBar, (CObject*)pBar) : NULL;
}
}  // namespace

SECFrameWnd::SECFrameWnd()
    : m_bNewShell(LOBYTE(LOWORD(::GetVersion())) >= 4), m_bClosing(FALSE),
      m_rectLastClient(0, 0, 0, 0), m_pControlBarManager(NULL), m_hMenuCopy(NULL),
      m_nMenuResID(0), m_pWorkspaceMgr(NULL), m_pMenuBar(NULL), m_pMenuPlugIn(NULL),
      m_bBmpMenus(FALSE), m_nBmpMenuOption(0), m_nCaptionAlign(0), m_bCaptionPainting(FALSE),
      m_nLastNcActive(0)
{
}

SECFrameWnd::~SECFrameWnd()
{
  delete m_pMenuPlugIn;
  m_pMenuPlugIn = NULL;
  if (m_hMenuCopy != NULL)
    ::DestroyMenu(m_hMenuCopy);
  while (!m_listDynamicBars.IsEmpty()) {
    CControlBar* pBar = (CControlBar*)m_listDynamicBars.RemoveHead();
    pBar->m_bAutoDelete = FALSE;
    delete pBar;
  }
  delete m_pWorkspaceMgr;
}

SECDockBar* SECFrameWnd::CreateDockBar() { return new SECDockBar(FALSE, 0); }

void SECFrameWnd::EnableDocking(DWORD dwDockStyle)
{
  EnableDockingIn(this, dwDockStyle,
                  [](CFrameWnd* pFrame) { return ((SECFrameWnd*)pFrame)->CreateDockBar(); });
}

void SECFrameWnd::EnableDockingIn(CFrameWnd* pFrame, DWORD dwDockStyle,
                                  SECDockBar* (*pfnMakeDockBar)(CFrameWnd*))
{
  pFrame->m_pFloatingFrameClass = RUNTIME_CLASS(SECMiniDockFrameWnd);
  for (const Side& side : kSides) {
    if (!(side.dwStyle & dwDockStyle & CBRS_ALIGN_ANY) || pFrame->GetControlBar(side.nID) != NULL)
      continue;
    SECDockBar* pDock = pfnMakeDockBar(pFrame);
    if (!pDock->Create(pFrame, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
                                   side.dwStyle,
                       side.nID)) {
      delete pDock;
      AfxThrowResourceException();
    }
  }
}

CDockBar* SECFrameWnd::DockBarForStyle(DWORD dwStyle) { return DockBarForStyleIn(this, dwStyle); }

CDockBar* SECFrameWnd::DockBarForStyleIn(CFrameWnd* pFrame, DWORD dwStyle)
{
  for (const Side& side : kSides)
    if ((side.dwStyle & CBRS_ALIGN_ANY) == (dwStyle & CBRS_ALIGN_ANY))
      return DYNAMIC_DOWNCAST(CDockBar, pFrame->GetControlBar(side.nID));
  return NULL;
}

void SECFrameWnd::DockControlBarEx(CControlBar* pBar, UINT nDockBarID, int nCol, int nRow,
                                   float fPctWidth, int nThick)
{
  DockControlBarExIn(this, pBar, nDockBarID, nRow, nCol, 0, fPctWidth, nThick);
}

void SECFrameWnd::DockControlBarExIn(CFrameWnd* pFrame, CControlBar* pBar, UINT nDockBarID,
                                     int nRow, int nCol, int nFlags, float fPctWidth, int nThick)
{
  CDockBar* pDock = NULL;
  if (nDockBarID != 0)
    pDock = DYNAMIC_DOWNCAST(CDockBar, pFrame->GetControlBar(nDockBarID));
  if (pDock == NULL)
    pDock = DockBarForStyleIn(pFrame, pBar->m_dwStyle);
  if (pDock == NULL)
    return;  // no side named: nothing to dock into
  SECControlBar* pSEC = AsSEC(pBar);
  if (pSEC != NULL) {
    pSEC->NotifyPreDock();
    pSEC->m_fPctWidth = fPctWidth;
  }
  // The thickness goes to the size of the side the bar is docked on.
  DWORD dwMode = (pDock->m_dwStyle & CBRS_ORIENT_HORZ) ? LM_HORZ | LM_HORZDOCK | LM_LENGTHY
                                                       : LM_VERTDOCK;
  pBar->CalcDynamicLayout(nThick, dwMode | LM_COMMIT);
  SECDockBar* pSECDock = DYNAMIC_DOWNCAST(SECDockBar, pDock);
  if (pSECDock != NULL)
    pSECDock->DockControlBarAtPos(pBar, SECDockBar::Position{nRow, nCol, nFlags});
  else
    pDock->DockControlBar(pBar);
  if (pSEC != NULL)
    pSEC->OnPostDock();
}

void SECFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect)
{
  CDockBar* pDock = nDockBarID != 0 ? DYNAMIC_DOWNCAST(CDockBar, GetControlBar(nDockBarID)) : NULL;
  DockControlBar(pBar, pDock, lpRect);
}

void SECFrameWnd::DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect)
{
  DockControlBarIn(this, pBar, pDockBar, lpRect);
}

void SECFrameWnd::DockControlBarIn(CFrameWnd* pFrame, CControlBar* pBar, CDockBar* pDockBar,
                                   LPCRECT lpRect)
{
  if (pDockBar == NULL)
    pDockBar = DockBarForStyleIn(pFrame, pBar->m_dwStyle);
  if (pDockBar == NULL)
    return;
  SECControlBar* pSEC = AsSEC(pBar);
  if (pSEC != NULL)
    pSEC->NotifyPreDock();
  SECDockBar* pSECDock = DYNAMIC_DOWNCAST(SECDockBar, pDockBar);
  if (pSECDock != NULL)
    pSECDock->DockControlBar(pBar, lpRect);
  else
    pDockBar->DockControlBar(pBar, lpRect);
  if (pSEC != NULL)
    pSEC->OnPostDock();
}

void SECFrameWnd::ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect)
{
  ReDockControlBarIn(this, pBar, pDockBar, lpRect);
}

void SECFrameWnd::ReDockControlBarIn(CFrameWnd* pFrame, CControlBar* pBar, CDockBar* pDockBar,
                                     LPCRECT lpRect)
{
  if (pDockBar == NULL) {
    for (const Side& side : kSides) {
      CDockBar* p = DYNAMIC_DOWNCAST(CDockBar, pFrame->GetControlBar(side.nID));
      if (p != NULL && p->FindBar((CControlBar*)(UINT_PTR)(pBar->GetDlgCtrlID() & 0xFFFF)) > 0) {
        pDockBar = p;
        break;
      }
    }
  }
  if (pDockBar == NULL)
    pDockBar = DockBarForStyleIn(pFrame, pBar->m_dwStyle);
  if (pDockBar == NULL)
    return;
  SECControlBar* pSEC = AsSEC(pBar);
  if (pSEC != NULL)
    pSEC->NotifyPreDock();
  SECDockBar* pSECDock = DYNAMIC_DOWNCAST(SECDockBar, pDockBar);
  if (pSECDock != NULL)
    pSECDock->ReDockControlBar(pBar, lpRect);
  else
    pDockBar->DockControlBar(pBar, lpRect);
  if (pSEC != NULL)
    pSEC->OnPostDock();
}

void SECFrameWnd::FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle)
{
  // A bar already floating alone with the same alignment: only its frame moves.
  CDockBar* pOld = pBar->m_pDockBar;
  if (pBar->m_pDockSite != NULL && pOld != NULL && pOld->m_bFloating &&
      pOld->GetDockedCount() == 1 &&
      (pOld->m_dwStyle & CBRS_ALIGN_ANY) == (dwStyle & CBRS_ALIGN_ANY)) {
    SECMiniDockFrameWnd* pSECMini = DYNAMIC_DOWNCAST(SECMiniDockFrameWnd, pOld->GetParent());
    if (pSECMini != NULL) {
      pSECMini->RecalcLayoutAt(point.x, point.y);
      pSECMini->UpdateWindow();
      return;
    }
    CFrameWnd* pMini = DYNAMIC_DOWNCAST(CFrameWnd, pOld->GetParent());
    if (pMini != NULL) {
      pMini->SetWindowPos(NULL, point.x, point.y, 0, 0,
                          SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      pMini->RecalcLayout(TRUE);
      pMini->UpdateWindow();
      return;
    }
  }
  SECControlBar* pSEC = AsSEC(pBar);
  if (pSEC != NULL)
    pSEC->NotifyPreFloat();
  if ((pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) && (dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)))
    dwStyle = (dwStyle & ~CBRS_ALIGN_ANY) | CBRS_ALIGN_TOP;
  CFrameWnd::FloatControlBar(pBar, point, dwStyle);
  CWnd* pMini = pBar->GetParentFrame();
  if (pMini != this)
    SetFloatingFrameLook(pBar, pMini);
  if (pSEC != NULL)
    pSEC->OnPostFloat();
}

void SECFrameWnd::SetFloatingFrameLook(CControlBar* pBar, CWnd* pMiniFrame)
{
  SECControlBar* pSEC = AsSEC(pBar);
  if (pSEC != NULL && pMiniFrame != NULL && !(pSEC->m_dwExStyle & CBRS_EX_UNIDIRECTIONAL))
    pMiniFrame->ModifyStyle(MFS_4THICKFRAME, WS_THICKFRAME | MFS_THICKFRAME,
                            SWP_NOSIZE | SWP_NOMOVE);
}

void SECFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay)
{
  CFrameWnd::ShowControlBar(pBar, bShow, bDelay);
  SECDockBar* pDock =
      pBar->m_pDockBar != NULL ? DYNAMIC_DOWNCAST(SECDockBar, (CObject*)pBar->m_pDockBar) : NULL;
  if (pDock != NULL)
    pDock->OnBarVisibilityChanged(pBar);
}

SECControlBar* SECFrameWnd::GetSECControlBar(UINT nID)
{
  POSITION pos = m_listControlBars.GetHeadPosition();
  while (pos != NULL) {
    SECControlBar* p = AsSEC((CControlBar*)m_listControlBars.GetNext(pos));
    if (p != NULL && p->m_hWnd != NULL && (UINT)p->GetDlgCtrlID() == nID)
      return p;
  }
  return NULL;
}

UINT SECFrameWnd::GetUniqueBarID(CFrameWnd* pFrame, UINT nID)
{
  if (pFrame == NULL)
    return 0;
  std::set<UINT> used;
  POSITION pos = pFrame->m_listControlBars.GetHeadPosition();
  while (pos != NULL) {
    CControlBar* p = (CControlBar*)pFrame->m_listControlBars.GetNext(pos);
    if (p->m_hWnd != NULL)
      used.insert((UINT)p->GetDlgCtrlID());
  }
  for (UINT n = nID; n <= nID + 1000; n++)
    if (used.count(n) == 0)
      return n;
  return 0;
}

BOOL SECFrameWnd::IsBarIDFree(CFrameWnd* pFrame, UINT nID)
{
  if (pFrame == NULL || nID == 0)
    return FALSE;
  POSITION pos = pFrame->m_listControlBars.GetHeadPosition();
  while (pos != NULL) {
    CControlBar* p = (CControlBar*)pFrame->m_listControlBars.GetNext(pos);
    if (p->m_hWnd != NULL && !p->IsDockBar() && (UINT)p->GetDlgCtrlID() == nID)
      return FALSE;
  }
  return TRUE;
}

BOOL SECFrameWnd::AreBarIDsUnique(CFrameWnd* pFrame)
{
  if (pFrame == NULL)
    return FALSE;
  std::set<UINT> seen;
  POSITION pos = pFrame->m_listControlBars.GetHeadPosition();
  while (pos != NULL) {
    CControlBar* p = (CControlBar*)pFrame->m_listControlBars.GetNext(pos);
    if (p->m_hWnd != NULL && !p->IsDockBar() && !seen.insert((UINT)p->GetDlgCtrlID()).second)
      return FALSE;
  }
  return TRUE;
}

void SECFrameWnd::RecalcLayout(BOOL bNotify)
{
  CFrameWnd::RecalcLayout(bNotify);
  if (m_hWnd == NULL)
    return;
  if (m_rectLastClient.Width() <= 0 || m_rectLastClient.Height() <= 0) {
    RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  } else {
    // Each dock bar among the direct children repaints the bars whose place changed.
    for (HWND h = ::GetWindow(m_hWnd, GW_CHILD); h != NULL; h = ::GetWindow(h, GW_HWNDNEXT)) {
      CWnd* pWnd = CWnd::FromHandlePermanent(h);
      SECDockBar* pDock = pWnd != NULL ? DYNAMIC_DOWNCAST(SECDockBar, pWnd) : NULL;
      if (pDock != NULL)
        pDock->RedrawChangedBars();
    }
  }
  GetClientRect(&m_rectLastClient);
  CRect rect(m_rectLastClient);
  RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposDefault, &rect);
}

LRESULT SECFrameWnd::OnSecGetMenu(WPARAM wParam, LPARAM lParam)
{
  HMENU hMenu = GetMenuCopy((UINT)wParam);
  return hMenu != NULL ? (LRESULT)::GetSubMenu(hMenu, (int)lParam) : 0;
}

void SECFrameWnd::LoadBarState(LPCTSTR lpszProfileName)
{
  SECDockState state(m_pControlBarManager);
  state.m_pDynamicBars = &m_listDynamicBars;
  state.LoadState(lpszProfileName);
  // Floating frames take the main window as their owner.
  CWinApp* pApp = AfxGetApp();
  if (pApp != NULL && pApp->m_pMainWnd == NULL)
    pApp->m_pMainWnd = this;
  state.SetDockState(this);
}

void SECFrameWnd::SaveBarState(LPCTSTR lpszProfileName)
{
  SECDockState state(m_pControlBarManager);
  if (!state.GetDockState(this))
    return;
  state.CleanupState();
  state.SaveState(lpszProfileName);
}

// ---------------------------------------------------------------------------------------------
// The workspace manager

SECWorkspaceManagerEx* SECFrameWnd::CreateWorkspaceManager(CRuntimeClass* pClass, LPCTSTR lpszKey,
                                                           int nMode, BOOL bListUnderAppKey)
{
  if (pClass == NULL)
    return NULL;
  CObject* pObject = pClass->CreateObject();
  SECWorkspaceManagerEx* pManager = DYNAMIC_DOWNCAST(SECWorkspaceManagerEx, pObject);
  if (pManager == NULL) {
    delete pObject;
    return NULL;
  }
  delete m_pWorkspaceMgr;
  m_pWorkspaceMgr = pManager;
  pManager->SetRegistryKey(lpszKey, nMode, HKEY_CURRENT_USER, bListUnderAppKey);
  if (!pManager->PlugInTo(this)) {
    delete pManager;
    m_pWorkspaceMgr = NULL;
    return NULL;
  }
  return pManager;
}

BOOL SECFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
  SECWorkspaceManagerEx* pManager = m_pWorkspaceMgr;
  if (pManager == NULL) {
    SECFrameWnd* pTop = DYNAMIC_DOWNCAST(SECFrameWnd, GetTopLevelFrame());
    if (pTop != NULL && pTop != this)
      pManager = pTop->m_pWorkspaceMgr;
  }
  if (pManager != NULL) {
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    CFrameWnd* pRouting = pState->m_pRoutingFrame;
    BOOL bResult = pManager->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    pState->m_pRoutingFrame = pRouting;
    if (pManager->TakeConsumed())
      return bResult;
  }
  return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void SECFrameWnd::OnWorkspaceCommand() {}

void SECFrameWnd::OnUpdateWorkspaceCommand(CCmdUI*) {}

BOOL SECFrameWnd::OnWorkspaceRecent(UINT) { return TRUE; }
// Menus, the menu plug-in and customise mode

BOOL SECFrameWnd::InCustomizeMode() const { return IsCustomizing(m_pControlBarManager); }

BOOL SECFrameWnd::IsCustomizing(SECControlBarManager* pManager)
{
  SECToolBarManager* pMgr = DYNAMIC_DOWNCAST(SECToolBarManager, pManager);
  return pMgr != NULL && pMgr->IsCustomizeMode();
}

void SECFrameWnd::EnableBitmapMenus(BOOL bEnable, int nOption)
{
  m_bBmpMenus = bEnable;
  m_nBmpMenuOption = nOption;
}

SECBmpMenuPlugIn* SECFrameWnd::GetBmpMenuPlugIn() const
{
  return m_pMenuPlugIn != NULL ? DYNAMIC_DOWNCAST(SECBmpMenuPlugIn, m_pMenuPlugIn) : NULL;
}

BOOL SECFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                            CCreateContext* pContext)
{
  m_nMenuResID = nIDResource;
  if (!CFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext))
    return FALSE;
  if (m_pMenuBar != NULL) {
    // the menu bar stands in for the window menu
    HMENU hWndMenu = ::GetMenu(m_hWnd);
    if (hWndMenu != NULL) {
      ::SetMenu(m_hWnd, NULL);
      if (hWndMenu != m_hMenuDefault)
        ::DestroyMenu(hWndMenu);
    }
    if (m_hMenuDefault != NULL) {
      ::DestroyMenu(m_hMenuDefault);
      m_hMenuDefault = NULL;
    }
    if (m_hMenuCopy != NULL)
      ::DestroyMenu(m_hMenuCopy);
    m_hMenuCopy = ::LoadMenuA(AfxFindResourceHandle(MAKEINTRESOURCE(nIDResource), RT_MENU),
                              MAKEINTRESOURCEA(nIDResource));
  }
  return TRUE;
}

HMENU SECFrameWnd::GetFrameMenu() const
{
  return m_pMenuBar != NULL ? m_hMenuCopy : m_hMenuDefault;
}

int SECFrameWnd::OnCreate(LPCREATESTRUCT lpcs)
{
  if (CFrameWnd::OnCreate(lpcs) == -1)
    return -1;
  m_pMenuPlugIn = MakeMenuPlugIn(this, m_pMenuBar, m_bBmpMenus, m_pControlBarManager);
  return 0;
}

SECWndPlugIn* SECFrameWnd::MakeMenuPlugIn(CFrameWnd* pFrame, SECMenuBar* pMenuBar, BOOL bBmpMenus,
                                          SECControlBarManager* pManager)
{
  SECWndPlugIn* pPlugIn = NULL;
  if (pMenuBar != NULL) {
    SECMenuBarFeature* p = new SECMenuBarFeature;
    p->SetMenuBar(pMenuBar);
    pPlugIn = p;
  } else if (bBmpMenus) {
    pPlugIn = new SECBmpMenuPlugIn(TRUE);
  }
  if (pPlugIn != NULL) {
    pPlugIn->PlugInTo(pFrame);
    SECToolBarManager* pMgr = DYNAMIC_DOWNCAST(SECToolBarManager, pManager);
    SECBmpMenuPlugIn* pBmp = DYNAMIC_DOWNCAST(SECBmpMenuPlugIn, pPlugIn);
    if (bBmpMenus && pMgr != NULL && pBmp != NULL)
      pBmp->SetBmpMgr(pMgr->GetBmpMgr());
  }
  return pPlugIn;
}

void SECFrameWnd::OnClose()
{
  m_bClosing = TRUE;
  // The plug-in goes before the window does; the destroy messages then reach the frame alone.
  SECWndPlugIn* p = m_pMenuPlugIn;
  m_pMenuPlugIn = NULL;
  delete p;
  CFrameWnd::OnClose();
}

LRESULT SECFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
  if (m_pMenuPlugIn != NULL) {
    LRESULT lResult = 0;
    if (m_pMenuPlugIn->OnWndMsg(message, wParam, lParam, &lResult))
      return lResult;
  }
  if (m_bCaptionPainting && m_hWnd != NULL) {
    switch (message) {
      case WM_NCPAINT:
        return OnCaptionNcPaint((HRGN)wParam);
      case WM_SETTEXT: {
        LRESULT lResult = DefaultInvisible(WM_SETTEXT, wParam, lParam);
        PaintCaption();
        return lResult;
      }
      case WM_NCACTIVATE: {
        if (InCustomizeMode())
          m_nFlags &= ~WF_STAYACTIVE;
        m_nLastNcActive = (int)wParam;
        DefaultInvisible(WM_NCACTIVATE, wParam, lParam);
        // Another frame that is the active one repaints its caption too.
        CFrameWnd* pActive = GetActiveFrame();
        if (pActive != NULL && pActive != this && pActive->m_hWnd != NULL) {
          pActive->SendMessage(WM_NCACTIVATE, wParam);
          pActive->SendMessage(WM_NCPAINT, 1);
        }
        PaintCaption();
        return TRUE;
      }
      default:
        break;
    }
  }
  LRESULT lResult = CFrameWnd::WindowProc(message, wParam, lParam);
  // Only then: after WM_NCDESTROY the frame has deleted itself and its members are gone.
  if (message == WM_INITMENUPOPUP)
    AfterInitMenuPopup(m_pMenuPlugIn, m_bBmpMenus, message, wParam, lParam);
  return lResult;
}

void SECFrameWnd::AfterInitMenuPopup(SECWndPlugIn* pPlugIn, BOOL bBmpMenus, UINT message,
                                     WPARAM wParam, LPARAM lParam)
{
  SECBmpMenuPlugIn* pBmp = pPlugIn != NULL ? DYNAMIC_DOWNCAST(SECBmpMenuPlugIn, pPlugIn) : NULL;
  if (message == WM_INITMENUPOPUP && bBmpMenus && pBmp != NULL)
    pBmp->ForwardInitMenuPopup((HMENU)wParam, LOWORD(lParam), HIWORD(lParam));
}

BOOL SECFrameWnd::PreTranslateMessage(MSG* pMsg)
{
  if (m_pMenuPlugIn != NULL && m_pMenuPlugIn->PreTranslateMessage(pMsg))
    return TRUE;
  if (pMsg->message == WM_SYSCOMMAND && (pMsg->wParam & 0xFFF0) == SC_CLOSE && InCustomizeMode())
    return TRUE;
  return CFrameWnd::PreTranslateMessage(pMsg);
}

LRESULT SECFrameWnd::OnNcHitTest(CPoint point)
{
  if (InCustomizeMode())
    return HTERROR;
  return CFrameWnd::OnNcHitTest(point);
}

void SECFrameWnd::OnEnable(BOOL bEnable)
{
  if (InCustomizeMode())
    m_nFlags &= ~WF_STAYACTIVE;
  CFrameWnd::OnEnable(bEnable);
}

BOOL SECFrameWnd::OnNcActivate(BOOL bActive)
{
  if (InCustomizeMode())
    m_nFlags &= ~WF_STAYACTIVE;
  return CFrameWnd::OnNcActivate(bActive);
}

void SECFrameWnd::OnSysColorChange()
{
  secData.UpdateSysColors();
  CFrameWnd::OnSysColorChange();
  ReloadToolBarBitmapsIn(this);
}

void SECFrameWnd::ReloadToolBarBitmapsIn(CFrameWnd* pFrame)
{
  POSITION pos = pFrame->m_listControlBars.GetHeadPosition();
  while (pos != NULL) {
    CControlBar* p = (CControlBar*)pFrame->m_listControlBars.GetNext(pos);
    SECCustomToolBar* pBar = DYNAMIC_DOWNCAST(SECCustomToolBar, p);
    if (pBar != NULL && pBar->GetBmpMgr() != NULL)
      pBar->GetBmpMgr()->ReloadBitmaps();
  }
}

void SECFrameWnd::OnEnterIdle(UINT nWhy, CWnd* pWho) { OnEnterIdleEx(nWhy, pWho); }

void SECFrameWnd::OnEnterIdleEx(UINT nWhy, CWnd* pWho)
{
  LayOutWhileCustomizing(this, InCustomizeMode(), nWhy);
  CFrameWnd::OnEnterIdle(nWhy, pWho);
}

void SECFrameWnd::LayOutWhileCustomizing(CFrameWnd* pFrame, BOOL bCustomizing, UINT nWhy)
{
  if (bCustomizing && nWhy == MSGF_DIALOGBOX && (pFrame->m_nIdleFlags & idleLayout)) {
    pFrame->RecalcLayout((pFrame->m_nIdleFlags & idleNotify) != 0);
    pFrame->UpdateWindow();
  }
}

void SECFrameWnd::SetMenuResource(UINT nID)
{
  if (m_pMenuBar == NULL || nID == m_nMenuResID)
    return;
  m_nMenuResID = nID;
  m_pMenuBar->SwitchMenu(nID);
  if (m_hMenuCopy != NULL)
    ::DestroyMenu(m_hMenuCopy);
  m_hMenuCopy = ::LoadMenuA(AfxFindResourceHandle(MAKEINTRESOURCE(nID), RT_MENU), MAKEINTRESOURCEA(nID));
  if (m_hWnd != NULL)
    RecalcLayout();
  if (m_pMenuBar->m_hWnd != NULL)
    m_pMenuBar->Invalidate();
}

CMenu* SECFrameWnd::GetMenuObject()
{
  if (m_pMenuBar != NULL) {
    HMENU h = GetMenuCopy(m_pMenuBar->GetMenuID() != 0 ? m_pMenuBar->GetMenuID() : m_nMenuResID);
    return h != NULL ? CMenu::FromHandle(h) : NULL;
  }
  return m_hWnd != NULL ? GetMenu() : NULL;
}

// ---------------------------------------------------------------------------------------------
// Print preview, forwarders, bitmap-menu images

void SECFrameWnd::OnSetPreviewMode(BOOL bPreview, void* pState)
{
  CFrameWnd::OnSetPreviewMode(bPreview, pState);
  if (!bPreview && m_hWnd != NULL)
    RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

BOOL SECFrameWnd::ForwardToObjectA(SECWndPlugIn* pObject)
{
  return pObject != NULL ? pObject->PlugInTo(this) : FALSE;
}

BOOL SECFrameWnd::ForwardToObjectB(SECWndPlugIn* pObject)
{
  if (pObject == NULL || !pObject->IsPlugged() || pObject->m_hWnd != m_hWnd)
    return FALSE;
  pObject->UnPlug();
  return TRUE;
}

BOOL SECFrameWnd::AddToolBarResource(LPCTSTR lpszResource)
{
  SECBmpMenuPlugIn* p = GetBmpMenuPlugIn();
  return p != NULL && p->AddToolBarResource(lpszResource);
}

BOOL SECFrameWnd::AddToolBarResourceId(UINT nID)
{
  SECBmpMenuPlugIn* p = GetBmpMenuPlugIn();
  return p != NULL && p->AddToolBarResourceId(nID);
}

BOOL SECFrameWnd::AddBitmapResource(LPCTSTR lpszBitmap, const UINT* pIDs, int nCount)
{
  SECBmpMenuPlugIn* p = GetBmpMenuPlugIn();
  return p != NULL && p->AddBitmapResource(lpszBitmap, pIDs, nCount);
}

BOOL SECFrameWnd::AddBitmapResourceId(UINT nID, const UINT* pIDs, int nCount)
{
  SECBmpMenuPlugIn* p = GetBmpMenuPlugIn();
  return p != NULL && p->AddBitmapResourceId(nID, pIDs, nCount);
}

BOOL SECFrameWnd::AddBitmap(HBITMAP hBitmap, const UINT* pIDs, int nCount)
{
  SECBmpMenuPlugIn* p = GetBmpMenuPlugIn();
  return p != NULL && p->AddBitmap(hBitmap, pIDs, nCount);
}

// ---------------------------------------------------------------------------------------------
// The frame's own caption

BOOL SECFrameWnd::SetCaptionPainting(BOOL bEnable, BOOL bRedraw)
{
  if (!m_bNewShell)
    return FALSE;
  BOOL bOld = m_bCaptionPainting;
  m_bCaptionPainting = bEnable;
  if (m_hWnd != NULL) {
    if (bRedraw)
      PostMessage(WM_NCPAINT);
    PostMessage(WM_NCACTIVATE, 0, 0);
  }
  return bOld;
}

void SECFrameWnd::SetCaptionAlignment(int nAlign, BOOL bRedraw)
{
  m_nCaptionAlign = nAlign;
  if (bRedraw && m_hWnd != NULL)
    PostMessage(WM_NCPAINT);
}

namespace {
void CaptionFont(CFont& font, BOOL bItalic)
{
  NONCLIENTMETRICSA ncm;
  memset(&ncm, 0, sizeof ncm);
  ncm.cbSize = sizeof ncm;
  ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
  if (bItalic)
    ncm.lfCaptionFont.lfItalic = TRUE;
  font.DeleteObject();
  font.CreateFontIndirect(&ncm.lfCaptionFont);
}
}  // namespace

void SECFrameWnd::CreateItalicCaptionFont(CFont& font) { CaptionFont(font, TRUE); }

void SECFrameWnd::CreateCaptionFont(CFont& font) { CaptionFont(font, FALSE); }

void SECFrameWnd::GetCaptionRect(CRect& rc)
{
  CRect win;
  GetWindowRect(&win);
  DWORD style = GetStyle();
  BOOL bThick = (style & WS_THICKFRAME) != 0;
  int cxBorder = ::GetSystemMetrics(bThick ? SM_CXSIZEFRAME : SM_CXFIXEDFRAME);
  int cyBorder = ::GetSystemMetrics(bThick ? SM_CYSIZEFRAME : SM_CYFIXEDFRAME);
  int cxButton = ::GetSystemMetrics(SM_CXSIZE), cyButton = ::GetSystemMetrics(SM_CYSIZE);
  rc.SetRect(cxBorder, cyBorder, win.Width() - cxBorder, cyBorder + cyButton);
  if (m_bNewShell) {
    // One button width less for each system button present.
    if (style & WS_SYSMENU)
      rc.right -= cxButton;
    if (style & WS_MINIMIZEBOX)
      rc.right -= cxButton;
    if (style & WS_MAXIMIZEBOX)
      rc.right -= cxButton;
  }
  if (rc.right < rc.left)
    rc.right = rc.left;
}

LRESULT SECFrameWnd::DefaultInvisible(UINT message, WPARAM wParam, LPARAM lParam)
{
  DWORD style = (DWORD)::GetWindowLongA(m_hWnd, GWL_STYLE);
  if (style & WS_VISIBLE)
    ::SetWindowLongA(m_hWnd, GWL_STYLE, (LONG)(style & ~WS_VISIBLE));
  LRESULT lResult = DefWindowProc(message, wParam, lParam);
  if (style & WS_VISIBLE)
    ::SetWindowLongA(m_hWnd, GWL_STYLE,
                     (LONG)((DWORD)::GetWindowLongA(m_hWnd, GWL_STYLE) | WS_VISIBLE));
  return lResult;
}

LRESULT SECFrameWnd::OnCaptionNcPaint(HRGN hRgn)
{
  // The system paints everything but the caption bar; the frame paints that.
  CRect cap, win;
  GetCaptionRect(cap);
  GetWindowRect(&win);
  cap.OffsetRect(win.TopLeft());
  HRGN hRest = ::CreateRectRgnIndirect(&win);
  if ((UINT_PTR)hRgn > 1)
    ::CombineRgn(hRest, hRgn, NULL, RGN_COPY);
  HRGN hCap = ::CreateRectRgnIndirect(&cap);
  ::CombineRgn(hRest, hRest, hCap, RGN_DIFF);
  ::DeleteObject(hCap);
  LRESULT lResult = DefWindowProc(WM_NCPAINT, (WPARAM)hRest, 0);
  ::DeleteObject(hRest);
  PaintCaption();
  return lResult;
}

void SECFrameWnd::PaintCaption()
{
  if (!m_bCaptionPainting || m_hWnd == NULL)
    return;
  CRect rc;
  GetCaptionRect(rc);
  if (rc.IsRectEmpty())
    return;
  HDC hdcWin = ::GetWindowDC(m_hWnd);
  if (hdcWin == NULL)
    return;
  HDC hdcMem = ::CreateCompatibleDC(hdcWin);
  HBITMAP hbm = hdcMem != NULL ? ::CreateCompatibleBitmap(hdcWin, rc.Width(), rc.Height()) : NULL;
  if (hbm == NULL) {
    // No memory to draw in: the system draws the caption from now on.
    if (hdcMem != NULL)
      ::DeleteDC(hdcMem);
    ::ReleaseDC(m_hWnd, hdcWin);
    m_bCaptionPainting = FALSE;
    return;
  }
  HGDIOBJ hOldBmp = ::SelectObject(hdcMem, hbm);
  CDC dcMem;
  dcMem.Attach(hdcMem);
  CRect area(0, 0, rc.Width(), rc.Height());
  const BOOL bActive = m_nLastNcActive != 0;
  if (GetStyle() & WS_SYSMENU) {
    int cxIcon = ::GetSystemMetrics(SM_CXSMICON), cyIcon = ::GetSystemMetrics(SM_CYSMICON);
    CRect square(0, 0, cxIcon + 4, area.bottom);
    dcMem.FillSolidRect(&square, bActive ? RGB(0, 0, 0) : ::GetSysColor(COLOR_INACTIVECAPTION));
    HICON hIcon = (HICON)::GetClassLongPtrA(m_hWnd, GCLP_HICONSM);
    if (hIcon == NULL)
      hIcon = (HICON)::GetClassLongPtrA(m_hWnd, GCLP_HICON);
    if (hIcon != NULL)
      ::DrawIconEx(hdcMem, 2, (area.Height() - cyIcon) / 2, hIcon, cxIcon, cyIcon, 0, NULL,
                   DI_NORMAL);
    area.left = square.right;
  }
  if (bActive)
    SECMDIFrameWnd::GradientFill(&dcMem, area, SECMDIFrameWnd::GRADIENT_BANDS, RGB(0, 0, 0),
                                 ::GetSysColor(COLOR_ACTIVECAPTION));
  else
    dcMem.FillSolidRect(&area, ::GetSysColor(COLOR_INACTIVECAPTION));
  CFont fontItalic, fontPlain;
  CreateItalicCaptionFont(fontItalic);
  CreateCaptionFont(fontPlain);
  CString strTitle;
  GetWindowText(strTitle);
  COLORREF clrText = bActive ? RGB(255, 255, 255) : ::GetSysColor(COLOR_INACTIVECAPTIONTEXT);
  SECMDIFrameWnd::DrawSplitTitle(&dcMem, strTitle, area, m_nCaptionAlign, &fontItalic,
                                 &fontPlain, clrText, clrText);
  ::BitBlt(hdcWin, rc.left, rc.top, rc.Width(), rc.Height(), hdcMem, 0, 0, SRCCOPY);
  dcMem.Detach();
  ::SelectObject(hdcMem, hOldBmp);
  ::DeleteObject(hbm);
  ::DeleteDC(hdcMem);
  ::ReleaseDC(m_hWnd, hdcWin);
}
