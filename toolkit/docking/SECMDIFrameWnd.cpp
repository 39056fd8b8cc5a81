// The toolkit's MDI frame and child frame.
#include "SECMDIFrameWnd.h"

#include <stdarg.h>

#include <algorithm>

#include "SECCaptionFilters.h"
#include "SECControlBar.h"
#include "SECDockState.h"
#include "SECDockableFrame.h"
#include "SECFrameWnd.h"
#include "SECMenuBar.h"
#include "SECMiniDockFrameWnd.h"
#include "SECBmpMenuPlugIn.h"
#include "SECMultiDocTemplate.h"
#include "SECResource.h"
#include "SECSysCommandEx.h"
#include "SECSysData.h"

using namespace nsSysCommandEx;

namespace {

// The platform's newer shell (major version 4 or more) draws captions that a gradient can
// replace.
BOOL IsNewerShell() { return LOBYTE(LOWORD(::GetVersion())) >= 4; }

// Dock-bar ids of the four sides.
const UINT kDockTop = AFX_IDW_DOCKBAR_TOP;
const UINT kDockLeft = AFX_IDW_DOCKBAR_LEFT;
const UINT kDockRight = AFX_IDW_DOCKBAR_RIGHT;
const UINT kDockBottom = AFX_IDW_DOCKBAR_BOTTOM;

}  // namespace

// ---------------------------------------------------------------------------------------------
// SECMDIFrameWnd

IMPLEMENT_DYNCREATE(SECMDIFrameWnd, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(SECMDIFrameWnd, CMDIFrameWnd)
  ON_COMMAND(ID_WORKSPACE_NEW, OnWorkspaceCommand)
  ON_COMMAND(ID_WORKSPACE_OPEN, OnWorkspaceCommand)
  ON_COMMAND(ID_WORKSPACE_SAVE, OnWorkspaceCommand)
  ON_COMMAND(ID_WORKSPACE_CLOSE, OnWorkspaceCommand)
  ON_COMMAND(ID_WORKSPACE_SAVEAS, OnWorkspaceCommand)
  ON_COMMAND(ID_WORKSPACE_DELETE, OnWorkspaceCommand)
  ON_COMMAND_RANGE(ID_WORKSPACE_MRU1, ID_WORKSPACE_MRU9, OnWorkspaceRange)
  ON_UPDATE_COMMAND_UI(ID_WORKSPACE_NEW, OnUpdateWorkspaceCommand)
  ON_UPDATE_COMMAND_UI(ID_WORKSPACE_OPEN, OnUpdateWorkspaceCommand)
  ON_UPDATE_COMMAND_UI(ID_WORKSPACE_SAVE, OnUpdateWorkspaceCommand)
  ON_UPDATE_COMMAND_UI(ID_WORKSPACE_CLOSE, OnUpdateWorkspaceCommand)
  ON_UPDATE_COMMAND_UI(ID_WORKSPACE_SAVEAS, OnUpdateWorkspaceCommand)
  ON_UPDATE_COMMAND_UI(ID_WORKSPACE_DELETE, OnUpdateWorkspaceCommand)
  ON_UPDATE_COMMAND_UI_RANGE(ID_WORKSPACE_MRU1, ID_WORKSPACE_MRU9, OnUpdateWorkspaceCommand)
  ON_REGISTERED_MESSAGE(WM_SECGETMENU, OnSecGetMenu)
  ON_WM_CREATE()
  ON_WM_CLOSE()
  ON_WM_ACTIVATE()
  ON_WM_SYSCOLORCHANGE()
  ON_WM_ENTERIDLE()
  ON_WM_ENABLE()
  ON_WM_NCHITTEST()
  ON_MESSAGE(0x38FF, OnBarContextMenu)
END_MESSAGE_MAP()

SECMDIFrameWnd::SECMDIFrameWnd()
    : m_nBusy(0),
      m_rectClient(0, 0, 0, 0),
      m_pDockBarClass(NULL),
      m_pMDIFloatFrameClass(NULL),
      m_ptCascade(CASCADE_START, CASCADE_START),
      m_hWndDockedChild(NULL),
      m_bAutoActivateView(FALSE),
      m_nCaptionAlign(0),
      m_bCaptionActive(FALSE),
      m_bGradientCaption(FALSE),
      m_pMsgFilter(NULL),
      m_nCaptionListDescriptor(-1),
      m_pMenuPlugIn(NULL),
      m_hMenuOwn(NULL),
      m_bBmpMenus(FALSE),
      m_nBmpMenuOption(0),
      m_pMenuBar(NULL),
      m_nCurrentMenuId(0),
      m_nDefaultMenuId(0),
      m_bNewShell(IsNewerShell()),
      m_nDockSeqIndex(0),
      m_pControlBarManager(NULL)
{
  m_menuMap.InitHashTable(17);
  m_pMsgFilter = new SECMsgFilter(this, -1);
  m_filterTable.Add(SEC_FILTER_SYSCOMMANDEX, -1, RUNTIME_CLASS(ScxMsgFilter), 0);
  m_nCaptionListDescriptor = m_filterTable.Add(
      SEC_FILTER_CAPTIONLIST, -1, RUNTIME_CLASS(SECCapConLstMDIMaxChildMsgFilter), 0);
  m_filterTable.Add(SEC_FILTER_MAXCHILDBUTTON, SEC_FILTER_CAPTIONLIST,
                    RUNTIME_CLASS(ScxButtonMDIMaxChildMsgFilter), 0);
  m_filterTable.Add(SEC_FILTER_MAXCHILDRDBLCLK, -1,
                    RUNTIME_CLASS(ScxNCRDBLClkMDIMaxChildMsgFilter), 0);
  ConfigureMsgFilters(FindMultiDocTemplate(0) != NULL);
  // Bottom, left, right, with row breaks (0) that thin out from pass to pass.
  for (int i = 0; i < 6; i++) {
    if (i % 3 == 0)
      m_dockSequence.push_back(0);
    m_dockSequence.push_back(kDockBottom);
    if (i % 2 == 0)
      m_dockSequence.push_back(0);
    m_dockSequence.push_back(kDockLeft);
    if (i % 2 == 0)
      m_dockSequence.push_back(0);
    m_dockSequence.push_back(kDockRight);
  }
}

SECMDIFrameWnd::~SECMDIFrameWnd()
{
  POSITION pos = m_menuMap.GetStartPosition();
  while (pos != NULL) {
    UINT nID;
    HMENU hMenu;
    m_menuMap.GetNextAssoc(pos, nID, hMenu);
    ::DestroyMenu(hMenu);
  }
  m_menuMap.RemoveAll();
  delete m_pMenuPlugIn;
  if (m_hMenuOwn != NULL)
    ::DestroyMenu(m_hMenuOwn);
  while (!m_listCreatedObjects.IsEmpty()) {
    CControlBar* pBar = (CControlBar*)m_listCreatedObjects.RemoveHead();
    pBar->m_bAutoDelete = FALSE;
    delete pBar;
  }
  delete m_pMsgFilter;
}

void SECMDIFrameWnd::LoadBarState(LPCTSTR lpszProfileName)
{
  SECDockState state(m_pControlBarManager);
  state.m_pDynamicBars = &m_listCreatedObjects;
  state.LoadState(lpszProfileName);
  // Floating frames take the main window as their owner.
  CWinApp* pApp = AfxGetApp();
  if (pApp != NULL && pApp->m_pMainWnd == NULL)
    pApp->m_pMainWnd = this;
  state.SetDockState(this);
}

void SECMDIFrameWnd::SaveBarState(LPCTSTR lpszProfileName)
{
  SECDockState state(m_pControlBarManager);
  if (!state.GetDockState(this))
    return;
  state.CleanupState();
  state.SaveState(lpszProfileName);
}

int SECMDIFrameWnd::OnCreate(LPCREATESTRUCT lpcs)
{
  if (CMDIFrameWnd::OnCreate(lpcs) == -1)
    return -1;
  m_pMenuPlugIn = SECFrameWnd::MakeMenuPlugIn(this, m_pMenuBar, m_bBmpMenus, m_pControlBarManager);
  // With a menu bar the bar draws the maximized child's buttons, not the frame.
  if (m_pMenuBar != NULL)
    m_pMsgFilter->ApplyDescriptor(*m_filterTable.GetAt(m_nCaptionListDescriptor), FALSE);
  return 0;
}

void SECMDIFrameWnd::OnClose()
{
  // The plug-in goes before the window does; the destroy messages then reach the frame alone.
  // A close that was refused (a document kept open) makes it again.
  SECWndPlugIn* p = m_pMenuPlugIn;
  m_pMenuPlugIn = NULL;
  delete p;
  HWND hWnd = m_hWnd;
  CMDIFrameWnd::OnClose();
  if (::IsWindow(hWnd) && CWnd::FromHandlePermanent(hWnd) == this && m_pMenuPlugIn == NULL)
    m_pMenuPlugIn = SECFrameWnd::MakeMenuPlugIn(this, m_pMenuBar, m_bBmpMenus, m_pControlBarManager);
}

BOOL SECMDIFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                               CCreateContext* pContext)
{
  m_nCurrentMenuId = m_nDefaultMenuId = nIDResource;
  if (!CMDIFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext))
    return FALSE;
  if (m_pMenuBar != NULL) {
    // The bar shows the menu: the window keeps none.
    ::SetMenu(m_hWnd, NULL);
    m_hMenuOwn = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
    SetMenuBarMenu((UINT)-1);
  }
  return TRUE;
}

SECBmpMenuPlugIn* SECMDIFrameWnd::GetBmpMenuPlugIn() const
{
  return m_pMenuPlugIn != NULL ? DYNAMIC_DOWNCAST(SECBmpMenuPlugIn, m_pMenuPlugIn) : NULL;
}

BOOL SECMDIFrameWnd::PreTranslateMessage(MSG* pMsg)
{
  if (m_pMenuPlugIn != NULL && m_pMenuPlugIn->PreTranslateMessage(pMsg))
    return TRUE;
  if (pMsg->message == WM_SYSCOMMAND && (pMsg->wParam & 0xFFF0) == SC_CLOSE && InCustomizeMode())
    return TRUE;
  return CMDIFrameWnd::PreTranslateMessage(pMsg);
}

BOOL SECMDIFrameWnd::InCustomizeMode() const
{
  return SECFrameWnd::IsCustomizing(m_pControlBarManager);
}

LRESULT SECMDIFrameWnd::OnNcHitTest(CPoint point)
{
  if (InCustomizeMode())
    return HTERROR;
  return CMDIFrameWnd::OnNcHitTest(point);
}

void SECMDIFrameWnd::OnEnable(BOOL bEnable)
{
  if (InCustomizeMode())
    m_nFlags &= ~WF_STAYACTIVE;
  CMDIFrameWnd::OnEnable(bEnable);
}

void SECMDIFrameWnd::OnSysColorChange()
{
  secData.UpdateSysColors();
  CMDIFrameWnd::OnSysColorChange();
  SECFrameWnd::ReloadToolBarBitmapsIn(this);
}

void SECMDIFrameWnd::OnEnterIdle(UINT nWhy, CWnd* pWho) { OnEnterIdleEx(nWhy, pWho); }

void SECMDIFrameWnd::OnEnterIdleEx(UINT nWhy, CWnd* pWho)
{
  SECFrameWnd::LayOutWhileCustomizing(this, InCustomizeMode(), nWhy);
  CMDIFrameWnd::OnEnterIdle(nWhy, pWho);
}

void SECMDIFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
  CWnd::OnActivate(nState, pWndOther, bMinimized);
  KeepTopLevelActive(nState, pWndOther);
  ActivateFrameView(nState, pWndOther, bMinimized);
}

void SECMDIFrameWnd::ActivateFrameView(UINT nState, CWnd*, BOOL bMinimized)
{
  CView* pView = GetActiveView();
  if (pView == NULL) {
    CFrameWnd* pActive = GetActiveFrame();
    if (pActive != NULL && pActive != this)
      pView = pActive->GetActiveView();
  }
  if (pView == NULL)
    return;
  if (nState != WA_INACTIVE && !bMinimized) {
    if (m_bAutoActivateView)
      pView->OnActivateView(TRUE, pView, pView);
    // The view really takes the focus: messages that only say so would leave the window
    // holding it believing it had lost it.
    HWND hFocus = ::GetFocus();
    if (pView->IsWindowVisible() && pView->IsWindowEnabled() && hFocus != pView->m_hWnd &&
        !::IsChild(pView->m_hWnd, hFocus))
      pView->SetFocus();
  }
  pView->OnActivateFrame(nState, this);
}

void SECMDIFrameWnd::ConfigureMsgFilters(BOOL bMultiDoc)
{
  const BOOL values[4] = {(bMultiDoc & 1) != 0, TRUE, TRUE, TRUE};
  SECApplyFilterTable(m_pMsgFilter, m_filterTable, values);
  // With a menu bar the bar draws the maximized child's buttons, not the frame.
  if (m_pMenuBar != NULL)
    m_pMsgFilter->ApplyDescriptor(*m_filterTable.GetAt(m_nCaptionListDescriptor), FALSE);
}

// ---------------------------------------------------------------------------------------------
// Docking

SECDockBar* SECMDIFrameWnd::CreateDockBar()
{
  CObject* pObject = m_pDockBarClass != NULL ? m_pDockBarClass->CreateObject() : NULL;
  SECDockBar* pDock = DYNAMIC_DOWNCAST(SECDockBar, pObject);
  if (pDock == NULL) {
    delete pObject;
    pDock = new SECDockBar(FALSE, 0);
  }
  return pDock;
}

void SECMDIFrameWnd::EnableDocking(DWORD dwDockStyle)
{
  if (m_pDockBarClass == NULL)
    m_pDockBarClass = RUNTIME_CLASS(SECDockBar);
  if (m_pMDIFloatFrameClass == NULL)
    m_pMDIFloatFrameClass = RUNTIME_CLASS(SECControlBarMDIChildWnd);
  SECFrameWnd::EnableDockingIn(
      this, dwDockStyle, [](CFrameWnd* pFrame) { return ((SECMDIFrameWnd*)pFrame)->CreateDockBar(); });
}

void SECMDIFrameWnd::DockControlBarEx(CControlBar* pBar, const SECDockPosition& pos,
                                      UINT nDockBarID, const SECDockSize& size)
{
  LeaveEmbeddedFloating(pBar);
  SECFrameWnd::DockControlBarExIn(this, pBar, nDockBarID, pos.nRow, pos.nCol, pos.nFlags,
                                  size.fPctWidth, size.nLength);
}

void SECMDIFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect)
{
  CDockBar* pDock = nDockBarID != 0 ? DYNAMIC_DOWNCAST(CDockBar, GetControlBar(nDockBarID)) : NULL;
  DockControlBar(pBar, pDock, lpRect);
}

void SECMDIFrameWnd::DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect)
{
  LeaveEmbeddedFloating(pBar);
  SECFrameWnd::DockControlBarIn(this, pBar, pDockBar, lpRect);
}

void SECMDIFrameWnd::ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect)
{
  if (pBar == NULL)
    return;
  LeaveEmbeddedFloating(pBar);
  SECFrameWnd::ReDockControlBarIn(this, pBar, pDockBar, lpRect);
}

void SECMDIFrameWnd::FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle)
{
  if (pBar == NULL)
    return;
  if (MoveLoneFloatingFrame(pBar, point, dwStyle, RUNTIME_CLASS(CFrameWnd), TRUE))
    return;
  FloatInMiniFrame(pBar, point, dwStyle, FALSE);
}

void SECMDIFrameWnd::ReFloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle)
{
  if (pBar != NULL)
    FloatInMiniFrame(pBar, point, dwStyle, TRUE);
}

BOOL SECMDIFrameWnd::MoveLoneFloatingFrame(CControlBar* pBar, CPoint point, DWORD dwStyle,
                                           CRuntimeClass* pFrameClass, BOOL bScreen)
{
  CDockBar* pOld = pBar->m_pDockBar;
  if (pOld == NULL || !pOld->m_bFloating || pOld->GetDockedVisibleCount() != 1 ||
      !(pBar->GetStyle() & WS_VISIBLE) || (pOld->m_dwStyle & dwStyle & CBRS_ALIGN_ANY) == 0)
    return FALSE;
  CFrameWnd* pFloat = DYNAMIC_DOWNCAST(CFrameWnd, pOld->GetParent());
  if (pFloat == NULL || !pFloat->IsKindOf(pFrameClass))
    return FALSE;
  // A frame floating in the main window is placed in its parent's client coordinates.
  if (bScreen && (pFloat->GetStyle() & WS_CHILD) && pFloat->GetParent() != NULL)
    pFloat->GetParent()->ScreenToClient(&point);
  pFloat->SetWindowPos(NULL, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  pFloat->RecalcLayout(TRUE);
  pFloat->UpdateWindow();
  return TRUE;
}

// A bar that sizes itself floats lying down, whatever side it came from.
static DWORD FloatingStyleFor(CControlBar* pBar, DWORD dwStyle)
{
  if (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) {
    dwStyle |= CBRS_SIZE_DYNAMIC;
    if (dwStyle & CBRS_ORIENT_VERT)
      dwStyle = (dwStyle & ~CBRS_ALIGN_ANY) | CBRS_ALIGN_TOP;
  }
  return dwStyle;
}

void SECMDIFrameWnd::FloatInMiniFrame(CControlBar* pBar, CPoint point, DWORD dwStyle,
                                      BOOL bAlwaysShow)
{
  SECControlBar* pSEC = DYNAMIC_DOWNCAST(SECControlBar, pBar);
  if (pSEC != NULL)
    pSEC->NotifyPreFloat();
  dwStyle = FloatingStyleFor(pBar, dwStyle);
  CMiniDockFrameWnd* pMini = CreateFloatingFrame(dwStyle);
  if (pMini->m_hWndOwner == NULL)
    pMini->m_hWndOwner = pBar->m_hWnd;
  CDockBar* pDock = pMini->GetDockBar();
  SECDockBar* pSECDock = DYNAMIC_DOWNCAST(SECDockBar, pDock);
  if (pSECDock != NULL)
    pSECDock->DockControlBar(pBar);
  else
    pDock->DockControlBar(pBar);
  SECFrameWnd::SetFloatingFrameLook(pBar, pMini);
  CFrameWnd* pEmbedded = GetEmbeddedFrame(pBar);
  SetEmbeddedFrameFloating(pEmbedded, TRUE);
  pMini->RecalcLayout(TRUE);
  pMini->SetWindowPos(NULL, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (bAlwaysShow || (pBar->GetStyle() & WS_VISIBLE))
    pMini->ShowWindow(SW_SHOWNA);
  pMini->UpdateWindow();
  FitEmbeddedFrame(pEmbedded);
  if (pSEC != NULL)
    pSEC->OnPostFloat();
  DelayRecalcLayout();
}

void SECMDIFrameWnd::LeaveEmbeddedFloating(CControlBar* pBar)
{
  if (pBar != NULL && pBar->m_pDockBar != NULL && pBar->m_pDockBar->m_bFloating)
    SetEmbeddedFrameFloating(GetEmbeddedFrame(pBar), FALSE);
}

void SECMDIFrameWnd::GetNextDockPosition(UINT& nDockBarID, SECDockPosition& pos, SECDockSize& size)
{
  size.fPctWidth = 1.0f;
  size.nLength = 150;
  nDockBarID = 0;
  const int n = (int)m_dockSequence.size();
  if (n == 0) {
    nDockBarID = kDockBottom;
    pos = SECDockPosition{0, 0, 4};
    return;
  }
  for (int k = 0; k < n; k++) {
    int i = (m_nDockSeqIndex + k) % n;
    if (m_dockSequence[(size_t)i] == 0)
      continue;
    nDockBarID = m_dockSequence[(size_t)i];
    pos = SECDockPosition{0, 1, nDockBarID == kDockTop || nDockBarID == kDockLeft ? 3 : 2};
    if (n > 1 && m_dockSequence[(size_t)((i + n - 1) % n)] == 0) {
      // The first bar after a row break starts a new row.
      pos.nFlags += 4;
      if (pos.nFlags & 1)
        pos.nRow = 1;
    }
    m_nDockSeqIndex = (i + 1) % n;
    return;
  }
}

CPoint SECMDIFrameWnd::GetMDIFloatPosition(CPoint point)
{
  CRect client(0, 0, 0, 0);
  if (m_hWndMDIClient != NULL)
    ::GetClientRect(m_hWndMDIClient, &client);
  if (point.x < 0 || point.y < 0) {
    point = m_ptCascade;
    m_ptCascade.Offset(CASCADE_DX, CASCADE_DY);
    // Wrapped within the client's own size (its coordinates are client coordinates).
    if (m_ptCascade.x > client.Width() - CASCADE_START)
      m_ptCascade.x = CASCADE_START;
    if (m_ptCascade.y > client.Height() - CASCADE_START)
      m_ptCascade.y = CASCADE_START;
  } else if (m_hWndMDIClient != NULL) {
    ::ScreenToClient(m_hWndMDIClient, &point);
  }
  point.x = std::min<LONG>(std::max<LONG>(point.x, 0), client.Width());
  point.y = std::min<LONG>(point.y, client.Height() - 30);
  if (point.x < 1)
    point.x = 0;
  if (point.y < 1)
    point.y = 0;
  return point;
}

CFrameWnd* SECMDIFrameWnd::CreateMDIFloatFrame()
{
  if (m_pMDIFloatFrameClass == NULL)
    return NULL;
  CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, m_pMDIFloatFrameClass->CreateObject());
  if (pFrame == NULL)
    return NULL;
  const DWORD dwStyle = WS_CHILD | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                        WS_MINIMIZEBOX | WS_MAXIMIZEBOX | FWS_ADDTOTITLE | FWS_SNAPTOBARS;
  if (!pFrame->LoadFrame(20514, dwStyle, this, NULL))
    return NULL;  // a frame whose creation failed deletes itself
  return pFrame;
}

void SECMDIFrameWnd::FloatControlBarInMDIChild(CControlBar* pBar, CPoint point, DWORD dwStyle)
{
  if (pBar == NULL)
    return;
  SECControlBar* pSEC = DYNAMIC_DOWNCAST(SECControlBar, pBar);
  if (pSEC != NULL)
    pSEC->NotifyPreMDIFloat();
  point = GetMDIFloatPosition(point);
  // Already alone in a floating child of that alignment: only the child moves.
  if (MoveLoneFloatingFrame(pBar, point, dwStyle, RUNTIME_CLASS(SECControlBarMDIChildWnd), FALSE))
    return;
  dwStyle = FloatingStyleFor(pBar, dwStyle);
  CFrameWnd* pFrame = CreateMDIFloatFrame();
  if (pFrame == NULL)
    return;
  if (pFrame->m_hWndOwner == NULL)
    pFrame->m_hWndOwner = pBar->m_hWndOwner;
  CDockBar* pDock = DYNAMIC_DOWNCAST(CDockBar, pFrame->GetDlgItem(AFX_IDW_DOCKBAR_FLOAT));
  if (pDock == NULL)
    return;
  pDock->m_dwStyle = (pDock->m_dwStyle & ~CBRS_ALIGN_ANY) | (dwStyle & CBRS_ALIGN_ANY);
  pDock->DockControlBar(pBar);
  pFrame->RecalcLayout(TRUE);
  pFrame->SetWindowPos(NULL, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  pFrame->ShowWindow(SW_SHOWNA);
  pFrame->UpdateWindow();
  if (pSEC != NULL)
    pSEC->OnPostMDIFloat();
}

CFrameWnd* SECMDIFrameWnd::GetEmbeddedFrame(CControlBar* pBar)
{
  if (pBar == NULL || pBar->m_hWnd == NULL)
    return NULL;
  CWnd* pChild = CWnd::FromHandlePermanent(::GetWindow(pBar->m_hWnd, GW_CHILD));
  return pChild != NULL ? DYNAMIC_DOWNCAST(SECDockableFrame, pChild) : NULL;
}

static const char kPreFloatStyle[] = "SECDockableFrame PreFloat Docked Style";
static const char kPreFloatExStyle[] = "SECDockableFrame PreFloat Docked ExStyle";

void SECMDIFrameWnd::SetEmbeddedFrameFloating(CFrameWnd* pFrame, BOOL bFloating)
{
  if (pFrame == NULL || pFrame->m_hWnd == NULL)
    return;
  HWND hFrame = pFrame->m_hWnd;
  if (!bFloating) {
    if (::GetPropA(hFrame, kPreFloatStyle) == NULL)
      return;  // never floated: nothing kept
    ::SetWindowLongA(hFrame, GWL_STYLE, (LONG)(LONG_PTR)::RemovePropA(hFrame, kPreFloatStyle));
    ::SetWindowLongA(hFrame, GWL_EXSTYLE, (LONG)(LONG_PTR)::RemovePropA(hFrame, kPreFloatExStyle));
    ::SetWindowPos(hFrame, NULL, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return;
  }
  const DWORD dwStyle = pFrame->GetStyle(), dwExStyle = pFrame->GetExStyle();
  // Floated again before docking: the styles kept are still the docked ones.
  if (::GetPropA(hFrame, kPreFloatStyle) == NULL) {
    ::SetPropA(hFrame, kPreFloatStyle, (HANDLE)(LONG_PTR)dwStyle);
    ::SetPropA(hFrame, kPreFloatExStyle, (HANDLE)(LONG_PTR)dwExStyle);
  }
  const DWORD dwMine = GetStyle(), dwMineEx = GetExStyle();
  CFrameWnd* pParent = pFrame->GetParentFrame();
  if (pParent != NULL) {
    pParent->ModifyStyle(dwMine, WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    pParent->ModifyStyleEx(dwMineEx, 0);
  }
  const DWORD dwTaken = dwMine & (WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                                  WS_MINIMIZEBOX | WS_MAXIMIZEBOX | 0xFFFF);
  ::SetWindowLongA(hFrame, GWL_STYLE, (LONG)(dwStyle | dwTaken | WS_CAPTION));
  ::SetWindowLongA(hFrame, GWL_EXSTYLE, (LONG)(dwExStyle | (dwMineEx & 0x203A9)));
  ::SetWindowPos(hFrame, NULL, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void SECMDIFrameWnd::FitEmbeddedFrame(CFrameWnd* pFrame)
{
  CWnd* pParent = pFrame != NULL && pFrame->m_hWnd != NULL ? pFrame->GetParentFrame() : NULL;
  if (pParent == NULL)
    return;
  CRect rc;
  pParent->GetWindowRect(&rc);
  pParent->ScreenToClient(&rc);
  pFrame->SetWindowPos(NULL, rc.left, rc.top, rc.Width(), rc.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL SECMDIFrameWnd::IsFloatingInMDIChild(CControlBar* pBar)
{
  SECDockBar* pDock =
      pBar != NULL && pBar->m_pDockBar != NULL ? DYNAMIC_DOWNCAST(SECDockBar, (CObject*)pBar->m_pDockBar) : NULL;
  return pDock != NULL && pDock->m_bFloating && pDock->m_nKind != 0;
}

LRESULT SECMDIFrameWnd::OnBarContextMenu(WPARAM wParam, LPARAM lParam)
{
  SECControlBar* pBar = DYNAMIC_DOWNCAST(SECControlBar, (CObject*)wParam);
  HMENU hMenu = (HMENU)lParam;
  if (pBar == NULL || !::IsMenu(hMenu))
    return 0;
  const BOOL bInChild = IsFloatingInMDIChild(pBar);
  if (bInChild)
    ::EnableMenuItem(hMenu, ID_SEC_ALLOWDOCKING, MF_BYCOMMAND | MF_GRAYED);
  if (pBar->m_dwExStyle & CBRS_EX_ALLOW_MDI_FLOAT) {
    CString strFloat;
    strFloat.LoadString(ID_SEC_MDIFLOAT);
    ::AppendMenuA(hMenu, MF_SEPARATOR, 0, NULL);
    ::AppendMenuA(hMenu, MF_STRING | (bInChild ? MF_CHECKED : 0), ID_SEC_MDIFLOAT, strFloat);
  }
  return 0;
}

// ---------------------------------------------------------------------------------------------
// The docked active child

CFrameWnd* SECMDIFrameWnd::GetDockedActiveChild() const
{
  // Kept by handle: a docked frame destroyed while active leaves nothing dangling.
  if (m_hWndDockedChild == NULL || !::IsWindow(m_hWndDockedChild))
    return NULL;
  return DYNAMIC_DOWNCAST(CFrameWnd, CWnd::FromHandlePermanent(m_hWndDockedChild));
}

void SECMDIFrameWnd::ActivateDockedChild(CFrameWnd* pChild)
{
  if (pChild == GetDockedActiveChild() && pChild != NULL)
    return;
  DeactivateDockedChild(pChild == NULL);
  if (pChild != NULL) {
    pChild->SendMessage(WM_NCACTIVATE, TRUE);
    m_hWndDockedChild = pChild->m_hWnd;
    if (m_hWndMDIClient != NULL) {
      ::SendMessage(m_hWndMDIClient, WM_MDIACTIVATE, 0, 0);
      ::SendMessage(m_hWndMDIClient, WM_NCACTIVATE, FALSE, 0);
    }
    CView* pView = pChild->GetActiveView();
    if (pView != NULL)
      pView->SetFocus();
  }
  OnUpdateFrameTitle(TRUE);
  if (m_pMenuBar == NULL) {
    OnUpdateFrameMenu(NULL);
    DrawMenuBar();
  } else {
    SetMenuBarMenu((UINT)-1);
  }
}

void SECMDIFrameWnd::DeactivateDockedChild(BOOL bActivateClient)
{
  CFrameWnd* pChild = GetDockedActiveChild();
  m_hWndDockedChild = NULL;
  if (pChild != NULL) {
    pChild->SendMessage(WM_NCACTIVATE, FALSE);
    ::SetFocus(NULL);
  }
  if (bActivateClient && m_hWndMDIClient != NULL)
    ::SendMessage(m_hWndMDIClient, WM_NCACTIVATE, TRUE, 0);
}

CFrameWnd* SECMDIFrameWnd::GetActiveFrame()
{
  CFrameWnd* pChild = GetDockedActiveChild();
  return pChild != NULL ? pChild : CMDIFrameWnd::GetActiveFrame();
}

void SECMDIFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
  CFrameWnd* pDocked = GetDockedActiveChild();
  if (pDocked == NULL) {
    CMDIFrameWnd::OnUpdateFrameTitle(bAddToTitle);
    return;
  }
  if ((GetStyle() & FWS_ADDTOTITLE) == 0)
    return;
  CDocument* pDoc = pDocked->GetActiveDocument();
  UpdateFrameTitleForDocument(bAddToTitle && pDoc != NULL ? (LPCTSTR)pDoc->GetTitle() : NULL);
}

void SECMDIFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt)
{
  SECDockableFrame* pDocked = DYNAMIC_DOWNCAST(SECDockableFrame, GetDockedActiveChild());
  if (pDocked != NULL)
    pDocked->OnUpdateMDIMenu(TRUE, pDocked, hMenuAlt);
  else
    CMDIFrameWnd::OnUpdateFrameMenu(hMenuAlt);
}

BOOL SECMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
  CFrameWnd* pChild = GetDockedActiveChild();
  if (pChild != NULL && pChild->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
    return TRUE;
  return CMDIFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL SECMDIFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
  if (CMDIFrameWnd::OnCommand(wParam, lParam))
    return TRUE;
  if (lParam == 0 && LOWORD(wParam) >= 0xF000) {
    DefWindowProc(WM_COMMAND, wParam, lParam);
    return TRUE;
  }
  return FALSE;
}

void SECMDIFrameWnd::OnWorkspaceCommand() {}
void SECMDIFrameWnd::OnWorkspaceRange(UINT) {}
void SECMDIFrameWnd::OnUpdateWorkspaceCommand(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }

// ---------------------------------------------------------------------------------------------
// Menus

BOOL SECMDIFrameWnd::LoadMenus(int nCount, ...)
{
  va_list args;
  va_start(args, nCount);
  BOOL bOk = TRUE;
  for (int i = 0; i < nCount && bOk; i++) {
    UINT nID = va_arg(args, UINT);
    HMENU hMenu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nID));
    if (hMenu == NULL) {
      bOk = FALSE;
      break;
    }
    HMENU hOld = NULL;
    if (m_menuMap.Lookup(nID, hOld))
      ::DestroyMenu(hOld);
    m_menuMap.SetAt(nID, hMenu);
  }
  va_end(args);
  return bOk;
}

SECMultiDocTemplate* SECMDIFrameWnd::FindMultiDocTemplate(UINT nID)
{
  CWinApp* pApp = AfxGetApp();
  POSITION pos = pApp != NULL ? pApp->GetFirstDocTemplatePosition() : NULL;
  while (pos != NULL) {
    CDocTemplate* pTemplate = pApp->GetNextDocTemplate(pos);
    if (pTemplate != NULL && pTemplate->IsKindOf(RUNTIME_CLASS(SECMultiDocTemplate)) &&
        (nID == 0 || pTemplate->m_nIDResource == nID))
      return (SECMultiDocTemplate*)pTemplate;
  }
  return NULL;
}

HMENU SECMDIFrameWnd::GetMenuForId(UINT nID)
{
  if (m_hMenuOwn != NULL && nID == m_nDefaultMenuId)
    return m_hMenuOwn;
  SECMultiDocTemplate* pTemplate = FindMultiDocTemplate(nID);
  if (nID != 0 && pTemplate != NULL && pTemplate->m_hMenuShared != NULL)
    return pTemplate->m_hMenuShared;
  HMENU hMenu = NULL;
  return m_menuMap.Lookup(nID, hMenu) ? hMenu : NULL;
}

LRESULT SECMDIFrameWnd::OnSecGetMenu(WPARAM wParam, LPARAM lParam)
{
  HMENU hMenu = GetMenuForId((UINT)wParam);
  return hMenu != NULL ? (LRESULT)::GetSubMenu(hMenu, (int)lParam) : 0;
}

void SECMDIFrameWnd::SetMenuBarMenu(UINT nID)
{
  if (m_pMenuBar == NULL)
    return;
  if (nID == 0)
    nID = (UINT)-1;
  m_nCurrentMenuId = nID == (UINT)-1 ? m_nDefaultMenuId : nID;
  m_pMenuBar->SwitchMenu(m_nCurrentMenuId);
  UpdateWindowMenu();
}

void SECMDIFrameWnd::SetDefaultMenuId(UINT nID)
{
  if (m_pMenuBar == NULL || nID == m_nDefaultMenuId)
    return;
  m_nDefaultMenuId = nID;
  if (m_hWnd == NULL || MDIGetActive() != NULL)
    return;
  m_nCurrentMenuId = nID;
  m_pMenuBar->SwitchMenu(nID);
  RecalcLayout();
  if (m_pMenuBar->m_hWnd != NULL)
    m_pMenuBar->Invalidate();
}

void SECMDIFrameWnd::UpdateWindowMenu()
{
  if (m_pMenuBar == NULL || m_hWndMDIClient == NULL)
    return;
  HMENU hMenu = GetMenuForId(m_nCurrentMenuId);
  HMENU hWindow = hMenu != NULL ? GetWindowMenuPopup(hMenu) : NULL;
  if (hWindow != NULL)
    ::SendMessage(m_hWndMDIClient, WM_MDISETMENU, 0, (LPARAM)hWindow);
}

void SECMDIFrameWnd::RefreshMDIButtons() {}

// ---------------------------------------------------------------------------------------------
// Gradient caption

BOOL SECMDIFrameWnd::EnableGradientCaption(BOOL bEnable, BOOL bRepaint)
{
  BOOL bOld = m_bGradientCaption;
  if (!m_bNewShell)
    return bOld;
  m_bGradientCaption = bEnable;
  if (m_hWnd != NULL) {
    if (bRepaint)
      SetWindowPos(NULL, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_DRAWFRAME);
    PostMessage(WM_NCACTIVATE, 0);
  }
  return bOld;
}

void SECMDIFrameWnd::SetCaptionAlignment(int nAlign, BOOL bRepaint)
{
  m_nCaptionAlign = nAlign;
  if (bRepaint && m_hWnd != NULL)
    SetWindowPos(NULL, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_DRAWFRAME);
}

void SECMDIFrameWnd::GetCaptionFont(CFont& font)
{
  NONCLIENTMETRICSA ncm;
  memset(&ncm, 0, sizeof ncm);
  ncm.cbSize = sizeof ncm;
  ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
  font.CreateFontIndirect(&ncm.lfCaptionFont);
}

void SECMDIFrameWnd::GetCaptionFontItalic(CFont& font)
{
  NONCLIENTMETRICSA ncm;
  memset(&ncm, 0, sizeof ncm);
  ncm.cbSize = sizeof ncm;
  ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
  ncm.lfCaptionFont.lfItalic = TRUE;
  font.CreateFontIndirect(&ncm.lfCaptionFont);
}

void SECMDIFrameWnd::GetCaptionRect(CRect& rc)
{
  CRect win;
  GetWindowRect(&win);
  DWORD style = GetStyle();
  BOOL bThick = (style & WS_THICKFRAME) != 0;
  int cxBorder = ::GetSystemMetrics(bThick ? SM_CXSIZEFRAME : SM_CXFIXEDFRAME);
  int cyBorder = ::GetSystemMetrics(bThick ? SM_CYSIZEFRAME : SM_CYFIXEDFRAME) - (bThick ? 0 : 1);
  int cxButton = ::GetSystemMetrics(SM_CXSIZE), cyButton = ::GetSystemMetrics(SM_CYSIZE);
  rc.SetRect(cxBorder, cyBorder, win.Width() - cxButton - 1, cyBorder + cyButton);
  if (m_bNewShell) {
    CMenu* pSys = GetSystemMenu(FALSE);
    UINT nClose = pSys != NULL ? pSys->GetMenuState(SC_CLOSE, MF_BYCOMMAND) : (UINT)-1;
    if (nClose != (UINT)-1 && !(nClose & (MF_GRAYED | MF_DISABLED)))
      rc.right -= cxButton;
    if (style & WS_MINIMIZEBOX)
      rc.right -= cxButton;
    if (style & WS_MAXIMIZEBOX)
      rc.right -= cxButton;
    if (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX))
      rc.right -= cxBorder;
  }
  if (rc.right < rc.left)
    rc.right = rc.left;
}

void SECMDIFrameWnd::GradientFill(CDC* pDC, const RECT& rc, int nBands, COLORREF clrFrom,
                                  COLORREF clrTo)
{
  int cx = rc.right - rc.left;
  if (cx <= 0 || rc.bottom <= rc.top || nBands <= 0)
    return;  // nothing to fill (and no band width to divide by)
  nBands = std::min(nBands, cx);
  const int from[3] = {GetRValue(clrFrom), GetGValue(clrFrom), GetBValue(clrFrom)};
  const int to[3] = {GetRValue(clrTo), GetGValue(clrTo), GetBValue(clrTo)};
  int step[3];
  for (int c = 0; c < 3; c++)
    step[c] = ((to[c] - from[c]) << 8) / nBands;
  int cxBand = cx / nBands;
  for (int i = 0; i < nBands; i++) {
    int v[3];
    for (int c = 0; c < 3; c++) {
      if (to[c] < from[c])
        v[c] = to[c];
      else
        v[c] = std::min(((from[c] << 8) + i * step[c]) >> 8, to[c]);
    }
    CRect band(rc.left + i * cxBand, rc.top, rc.left + (i + 1) * cxBand, rc.bottom);
    if (i == nBands - 1)
      band.right = rc.right;
    pDC->FillSolidRect(&band, RGB(v[0], v[1], v[2]));
  }
}

void SECMDIFrameWnd::DrawSplitTitle(CDC* pDC, const CString& strTitle, CRect rcText, int nAlign,
                                    CFont* pItalic, CFont* pPlain, COLORREF clrFirst,
                                    COLORREF clrRest)
{
  int nDash = strTitle.Find('-');
  CString strFirst = nDash >= 0 ? strTitle.Left(nDash) : strTitle;
  CString strRest = nDash >= 0 ? strTitle.Mid(nDash) : CString();
  rcText.left += 3;
  CFont* pOld = pDC->SelectObject(pItalic);
  int cxFirst = pDC->GetTextExtent(strFirst).cx;
  pDC->SelectObject(pPlain);
  int cxRest = strRest.IsEmpty() ? 0 : pDC->GetTextExtent(strRest).cx;
  int cxAll = cxFirst + cxRest;
  int x = rcText.left;
  if (nAlign == 1)
    x = rcText.left + (rcText.Width() - cxAll) / 2;
  else if (nAlign != 0)
    x = rcText.right - cxAll;
  if (x < rcText.left)
    x = rcText.left;
  const UINT fmt = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX | DT_LEFT;
  pDC->SetBkMode(TRANSPARENT);
  CRect rcFirst(x, rcText.top, rcText.right, rcText.bottom);
  pDC->SelectObject(pItalic);
  pDC->SetTextColor(clrFirst);
  pDC->DrawText(strFirst, &rcFirst, fmt);
  if (!strRest.IsEmpty() && x + cxFirst < rcText.right) {
    CRect rcRest(x + cxFirst, rcText.top, rcText.right, rcText.bottom);
    pDC->SelectObject(pPlain);
    pDC->SetTextColor(clrRest);
    pDC->DrawText(strRest, &rcRest, fmt);
  }
  pDC->SelectObject(pOld);
}

void SECMDIFrameWnd::DrawCaption()
{
  if (!m_bGradientCaption || m_hWnd == NULL)
    return;
  CRect rc;
  GetCaptionRect(rc);
  if (rc.IsRectEmpty())
    return;
  CWindowDC dcWin(this);
  CDC dcMem;
  CBitmap bmp;
  if (!dcMem.CreateCompatibleDC(&dcWin) ||
      !bmp.CreateCompatibleBitmap(&dcWin, rc.Width(), rc.Height())) {
    EnableGradientCaption(FALSE, TRUE);
    return;
  }
  CBitmap* pOldBmp = dcMem.SelectObject(&bmp);
  CRect area(0, 0, rc.Width(), rc.Height());
  BOOL bActive = m_bCaptionActive;
  int cxButton = ::GetSystemMetrics(SM_CXSIZE);
  if (GetStyle() & WS_SYSMENU) {
    CRect square(0, 0, cxButton, area.bottom);
    dcMem.FillSolidRect(&square, bActive ? RGB(0, 0, 0) : ::GetSysColor(COLOR_INACTIVECAPTION));
    HICON hIcon = (HICON)::GetClassLongPtrA(m_hWnd, cxButton < 30 ? GCLP_HICONSM : GCLP_HICON);
    if (hIcon == NULL)
      hIcon = (HICON)::GetClassLongPtrA(m_hWnd, GCLP_HICON);
    if (hIcon != NULL)
      ::DrawIconEx(dcMem.m_hDC, 2, 1, hIcon, cxButton - 2, area.Height() - 2, 0, NULL, DI_NORMAL);
    area.left = square.right;
  }
  if (bActive) {
    CRect fill(area.left, area.top, area.right, area.bottom + 1);
    GradientFill(&dcMem, fill, GRADIENT_BANDS, RGB(0, 0, 0), ::GetSysColor(COLOR_ACTIVECAPTION));
  } else {
    dcMem.FillSolidRect(&area, ::GetSysColor(COLOR_INACTIVECAPTION));
  }
  CFont fontItalic, fontPlain;
  GetCaptionFontItalic(fontItalic);
  GetCaptionFont(fontPlain);
  CString strTitle;
  GetWindowText(strTitle);
  DrawSplitTitle(&dcMem, strTitle, area, m_nCaptionAlign, &fontItalic, &fontPlain,
                 RGB(255, 255, 255),
                 bActive ? RGB(255, 255, 255) : ::GetSysColor(COLOR_INACTIVECAPTIONTEXT));
  dcWin.BitBlt(rc.left, rc.top, rc.Width(), rc.Height(), &dcMem, 0, 0, SRCCOPY);
  dcMem.SelectObject(pOldBmp);
}

LRESULT SECMDIFrameWnd::DefaultInvisible(UINT message, WPARAM wParam, LPARAM lParam)
{
  DWORD style = (DWORD)::GetWindowLongA(m_hWnd, GWL_STYLE);
  if (style & WS_VISIBLE)
    ::SetWindowLongA(m_hWnd, GWL_STYLE, (LONG)(style & ~WS_VISIBLE));
  LRESULT lResult = DefWindowProc(message, wParam, lParam);
  if (style & WS_VISIBLE)
    ::SetWindowLongA(m_hWnd, GWL_STYLE, (LONG)((DWORD)::GetWindowLongA(m_hWnd, GWL_STYLE) | WS_VISIBLE));
  return lResult;
}

LRESULT SECMDIFrameWnd::OnGradientNcActivate(BOOL bActive)
{
  if (InCustomizeMode())
    m_nFlags &= ~WF_STAYACTIVE;
  BOOL bStay = FALSE;
  if (GetDockedActiveChild() != NULL) {
    CWnd* pFore = CWnd::GetForegroundWindow();
    bStay = pFore == this || (pFore != NULL && pFore->GetTopLevelFrame() == this);
  }
  BOOL bCaption = bStay ? TRUE : bActive;
  if (!IsWindowEnabled())
    bCaption = FALSE;
  m_bCaptionActive = bCaption;
  // Another frame that is the active one (a docked active child) repaints its caption too.
  CFrameWnd* pActive = GetActiveFrame();
  if (pActive != NULL && pActive != this && pActive->m_hWnd != NULL) {
    pActive->SendMessage(WM_NCACTIVATE, bCaption);
    pActive->SendMessage(WM_NCPAINT, 1);
  }
  DefaultInvisible(WM_NCACTIVATE, bCaption, 0);
  SendMessage(WM_NCPAINT, 1, 0);
  return TRUE;
}

LRESULT SECMDIFrameWnd::OnGradientNcPaint(HRGN hRgn)
{
  CRect cap;
  GetCaptionRect(cap);
  CRect win;
  GetWindowRect(&win);
  cap.OffsetRect(win.TopLeft());
  if ((UINT_PTR)hRgn > 1 && !::RectInRegion(hRgn, &cap))
    return DefWindowProc(WM_NCPAINT, (WPARAM)hRgn, 0);
  HRGN hRest = ::CreateRectRgnIndirect(&win);
  if ((UINT_PTR)hRgn > 1)
    ::CombineRgn(hRest, hRgn, NULL, RGN_COPY);
  HRGN hCap = ::CreateRectRgnIndirect(&cap);
  ::CombineRgn(hRest, hRest, hCap, RGN_DIFF);
  ::DeleteObject(hCap);
  LRESULT lResult = DefWindowProc(WM_NCPAINT, (WPARAM)hRest, 0);
  ::DeleteObject(hRest);
  DrawCaption();
  return lResult;
}

LRESULT SECMDIFrameWnd::OnGradientSetText(LPARAM lParam)
{
  DefaultInvisible(WM_SETTEXT, 0, lParam);
  DrawCaption();
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Messages

LRESULT SECMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
  LRESULT lResult = 0;
  if (SECFilterSysCommandEx(m_pMsgFilter, message, wParam, lParam, &lResult))
    return lResult;
  return CMDIFrameWnd::DefWindowProc(message, wParam, lParam);
}

LRESULT SECMDIFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
  if (m_pMenuPlugIn != NULL) {
    LRESULT lResult = 0;
    if (m_pMenuPlugIn->OnWndMsg(message, wParam, lParam, &lResult))
      return lResult;
  }
  if (message == WM_INITMENUPOPUP) {
    LRESULT lResult = CMDIFrameWnd::WindowProc(message, wParam, lParam);
    SECFrameWnd::AfterInitMenuPopup(m_pMenuPlugIn, m_bBmpMenus, message, wParam, lParam);
    return lResult;
  }
  switch (message) {
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE: {
      LRESULT lFilter = 0;
      if (m_pMsgFilter->FilterMessage(message, wParam, lParam, &lFilter) & SECMsgFilter::fltHandled)
        return 0;
      break;
    }
    case WM_NCACTIVATE:
    case WM_NCPAINT:
    case WM_SETTEXT: {
      if (m_bGradientCaption) {
        if (message == WM_NCACTIVATE)
          return OnGradientNcActivate((BOOL)wParam);
        if (message == WM_NCPAINT)
          return OnGradientNcPaint((HRGN)wParam);
        return OnGradientSetText(lParam);
      }
      LRESULT lResult = CMDIFrameWnd::WindowProc(message, wParam, lParam);
      LRESULT lFilter = 0;
      if (m_hWnd != NULL)
        m_pMsgFilter->FilterMessage(message, wParam, lParam, &lFilter);
      return lResult;
    }
  }
  return CMDIFrameWnd::WindowProc(message, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------
// SECMDIChildWnd

IMPLEMENT_DYNCREATE(SECMDIChildWnd, CMDIChildWnd)

BEGIN_MESSAGE_MAP(SECMDIChildWnd, CMDIChildWnd)
  ON_WM_MOUSEACTIVATE()
  ON_WM_PARENTNOTIFY()
  ON_WM_CHILDACTIVATE()
  ON_WM_MDIACTIVATE()
  ON_WM_SIZE()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

SECMDIChildWnd::SECMDIChildWnd()
    : m_nMenuBarMenuId(0), m_bUseMenuBarMenu(FALSE), m_hMenuAlt(NULL), m_pMsgFilter(NULL)
{
  m_pMsgFilter = new SECMsgFilter(this, -1);
  m_filterTable.Add(SEC_FILTER_SYSCOMMANDEX, -1, RUNTIME_CLASS(ScxMsgFilter), 0);
  m_filterTable.Add(SEC_FILTER_CAPTIONLIST, -1, RUNTIME_CLASS(SECCaptionControlListMsgFilter),
                    SECMsgFilter::fltNeverDisable);
  m_filterTable.Add(SEC_FILTER_STATEBUTTON, SEC_FILTER_CAPTIONLIST,
                    RUNTIME_CLASS(ScxButtonMDIChildMsgFilter), 0);
  m_filterTable.Add(SEC_FILTER_CAPTIONRDBLCLK, -1,
                    RUNTIME_CLASS(ScxCaptionNCRDBLClkFilter), 0);
  m_filterTable.Add(SEC_FILTER_CONTEXTMENU, -1, RUNTIME_CLASS(ScxContextMenuFilter), 0);
}

SECMDIChildWnd::~SECMDIChildWnd() { delete m_pMsgFilter; }

SECMDIFrameWnd* SECMDIChildWnd::GetSECMDIFrame()
{
  if (m_hWnd == NULL)
    return NULL;
  CMDIFrameWnd* pFrame = GetMDIFrame();
  return pFrame != NULL ? DYNAMIC_DOWNCAST(SECMDIFrameWnd, pFrame) : NULL;
}

void SECMDIChildWnd::ConfigureMsgFilters(DWORD dwFlags)
{
  BOOL values[5];
  SECCaptionFilterValues(dwFlags, values);
  SECApplyFilterTable(m_pMsgFilter, m_filterTable, values);
}

BOOL SECMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                               CCreateContext* pContext)
{
  dwDefaultStyle |= WS_CHILD;
  SECMDIFrameWnd* pMain = DYNAMIC_DOWNCAST(SECMDIFrameWnd, AfxGetMainWnd());
  SECMultiDocTemplate* pTemplate =
      pContext != NULL && pContext->m_pNewDocTemplate != NULL
          ? DYNAMIC_DOWNCAST(SECMultiDocTemplate, pContext->m_pNewDocTemplate)
          : NULL;
  if (pTemplate != NULL) {
    m_hAccelTable = pTemplate->m_hAccelTable;
    if (pMain != NULL && pMain->HasMenuBar()) {
      m_nMenuBarMenuId = pTemplate->m_nIDResource;
      m_bUseMenuBarMenu = TRUE;
    } else {
      m_hMenuShared = pTemplate->m_hMenuShared;
      m_bUseMenuBarMenu = FALSE;
    }
  } else if (nIDResource != 0 && pMain != NULL && pMain->HasMenuBar()) {
    m_nMenuBarMenuId = nIDResource;
    m_bUseMenuBarMenu = TRUE;
  }
  return CMDIChildWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext);
}

void SECMDIChildWnd::SetMenuBarMenuId(UINT nID)
{
  SECMDIFrameWnd* pMain = DYNAMIC_DOWNCAST(SECMDIFrameWnd, AfxGetMainWnd());
  if (pMain == NULL || !pMain->HasMenuBar() || nID == m_nMenuBarMenuId)
    return;
  m_nMenuBarMenuId = nID;
  if (pMain->MDIGetActive() == this) {
    pMain->GetMenuBar()->SwitchMenu(nID);
    pMain->RecalcLayout(TRUE);
    pMain->GetMenuBar()->Invalidate();
  }
}

void SECMDIChildWnd::OnUpdateFrameMenu(BOOL bActive, CWnd* pActivateWnd, HMENU hMenuAlt)
{
  m_hMenuAlt = hMenuAlt;
  CMDIChildWnd::OnUpdateFrameMenu(bActive, pActivateWnd, hMenuAlt);
  SECMDIFrameWnd* pFrame = GetSECMDIFrame();
  if (pFrame != NULL && pFrame->HasMenuBar())
    pFrame->UpdateWindowMenu();
}

void SECMDIChildWnd::RefreshFrameMenu(CWnd* pWnd) { OnUpdateFrameMenu(TRUE, pWnd, m_hMenuAlt); }

LRESULT SECMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
  LRESULT lResult = 0;
  if (SECFilterSysCommandEx(m_pMsgFilter, message, wParam, lParam, &lResult))
    return lResult;
  return CMDIChildWnd::DefWindowProc(message, wParam, lParam);
}

LRESULT SECMDIChildWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
  LRESULT lFilter = 0;
  switch (message) {
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCRBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
      if (m_pMsgFilter->FilterMessage(message, wParam, lParam, &lFilter) & SECMsgFilter::fltHandled)
        return 0;
      break;
    case WM_NCACTIVATE: {
      if (wParam) {
        // The active caption belongs to the frame's docked child while there is one.
        CMDIFrameWnd* pMDI = GetMDIFrame();
        CFrameWnd* pActive = pMDI != NULL ? pMDI->GetActiveFrame() : NULL;
        if (pActive != NULL && pActive != pMDI && !pActive->IsKindOf(RUNTIME_CLASS(SECMDIChildWnd)))
          wParam = FALSE;
      }
      LRESULT lResult = CMDIChildWnd::WindowProc(message, wParam, lParam);
      if (m_hWnd != NULL)
        m_pMsgFilter->FilterMessage(message, wParam, lParam, &lFilter);
      return lResult;
    }
    case WM_SETTEXT:
    case WM_NCPAINT: {
      LRESULT lResult = CMDIChildWnd::WindowProc(message, wParam, lParam);
      if (m_hWnd != NULL)
        m_pMsgFilter->FilterMessage(message, wParam, lParam, &lFilter);
      return lResult;
    }
    case WM_SETCURSOR: {
      LRESULT lResult = CMDIChildWnd::WindowProc(message, wParam, lParam);
      UINT nHit = LOWORD(lParam);
      if (nHit >= HTLEFT && nHit <= HTBOTTOMRIGHT && m_hWnd != NULL)
        m_pMsgFilter->FilterMessage(message, wParam, lParam, &lFilter);
      return lResult;
    }
  }
  return CMDIChildWnd::WindowProc(message, wParam, lParam);
}

void SECMDIChildWnd::ActivateByMouse()
{
  CMDIFrameWnd* pMDI = GetMDIFrame();
  if (pMDI != NULL && pMDI->MDIGetActive() != this)
    ::SendMessage(pMDI->m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)m_hWnd, 0);
  CView* pView = GetActiveView();
  if (pView != NULL) {
    HWND hFocus = ::GetFocus();
    if (hFocus != pView->m_hWnd && !::IsChild(pView->m_hWnd, hFocus))
      pView->SetFocus();
  }
  SendMessage(WM_NCACTIVATE, TRUE);
  OnUpdateFrameTitle(TRUE);
  RefreshFrameMenu(this);
  if (pMDI != NULL)
    pMDI->DrawMenuBar();
}

int SECMDIChildWnd::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
  SECMDIFrameWnd* pFrame = GetSECMDIFrame();
  if (pFrame != NULL)
    pFrame->DeactivateDockedChild(FALSE);
  int nResult = CMDIChildWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
  ActivateByMouse();
  if (pFrame != NULL)
    pFrame->SetMenuBarMenu(m_nMenuBarMenuId);
  return nResult;
}

void SECMDIChildWnd::OnParentNotify(UINT message, LPARAM lParam)
{
  CMDIChildWnd::OnParentNotify(message, lParam);
  if (LOWORD(message) != WM_LBUTTONDOWN && LOWORD(message) != WM_RBUTTONDOWN)
    return;
  CView* pView = GetActiveView();
  if (pView == NULL || ::GetFocus() == pView->m_hWnd)
    return;
  SECMDIFrameWnd* pFrame = GetSECMDIFrame();
  if (pFrame != NULL)
    pFrame->DeactivateDockedChild(FALSE);
  ActivateByMouse();
}

void SECMDIChildWnd::OnChildActivate()
{
  SECMDIFrameWnd* pFrame = GetSECMDIFrame();
  if (pFrame != NULL)
    pFrame->DeactivateDockedChild(FALSE);
  Default();
  SendMessage(WM_NCACTIVATE, TRUE);
}

void SECMDIChildWnd::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd)
{
  CMDIChildWnd::OnMDIActivate(bActivate, pActivateWnd, pDeactivateWnd);
  SECMDIFrameWnd* pFrame = GetSECMDIFrame();
  if (pFrame == NULL || !pFrame->HasMenuBar() || m_nMenuBarMenuId == 0)
    return;
  if (bActivate)
    pFrame->SetMenuBarMenu(m_nMenuBarMenuId);
  else if (pActivateWnd == NULL)
    pFrame->SetMenuBarMenu((UINT)-1);
}

void SECMDIChildWnd::OnSize(UINT nType, int cx, int cy)
{
  if (nType == SIZE_RESTORED || nType == SIZE_MINIMIZED || nType == SIZE_MAXIMIZED) {
    SECMDIFrameWnd* pFrame = GetSECMDIFrame();
    if (pFrame != NULL && pFrame->HasMenuBar())
      pFrame->RefreshMDIButtons();
  }
  CMDIChildWnd::OnSize(nType, cx, cy);
}

void SECMDIChildWnd::OnDestroy()
{
  CWnd* pMain = AfxGetMainWnd();
  if (IsZoomed() && pMain != NULL && pMain->m_hWnd != NULL)
    pMain->SetWindowPos(NULL, 0, 0, 0, 0,
                        SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED |
                            SWP_NOOWNERZORDER);
  CMDIChildWnd::OnDestroy();
}

// ---------------------------------------------------------------------------------------------
// SECControlBarMDIChildWnd

IMPLEMENT_DYNCREATE(SECControlBarMDIChildWnd, SECMDIChildWnd)

BEGIN_MESSAGE_MAP(SECControlBarMDIChildWnd, SECMDIChildWnd)
  ON_WM_SIZE()
  ON_WM_CLOSE()
  ON_WM_WINDOWPOSCHANGED()
  ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

SECControlBarMDIChildWnd::SECControlBarMDIChildWnd() : m_wndDockBar(TRUE, 1)
{
  // The dock bar is a member: its window going must not delete it.
  m_wndDockBar.m_bAutoDelete = FALSE;
}

SECControlBarMDIChildWnd::~SECControlBarMDIChildWnd() {}

BOOL SECControlBarMDIChildWnd::PreCreateWindow(CREATESTRUCT& cs)
{
  BOOL bResult = SECMDIChildWnd::PreCreateWindow(cs);
  cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
  return bResult;
}

BOOL SECControlBarMDIChildWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext*)
{
  return SECBarChildSupport::CreateDockBar(this, m_wndDockBar);
}

void SECControlBarMDIChildWnd::RecalcLayout(BOOL bNotify)
{
  if (m_bInRecalcLayout)
    return;
  SECMDIChildWnd::RecalcLayout(bNotify);
  SECBarChildSupport::TakeCaption(this, m_wndDockBar);
}

void SECControlBarMDIChildWnd::MDIRestore()
{
  CWnd* pClient = GetParent();
  if (pClient != NULL)
    pClient->SendMessage(WM_MDIRESTORE, (WPARAM)m_hWnd, 0);
}

CControlBar* SECControlBarMDIChildWnd::GetSingleBar()
{
  return SECBarChildSupport::SingleBar(m_wndDockBar);
}

void SECControlBarMDIChildWnd::OnSize(UINT nType, int cx, int cy)
{
  SECBarChildSupport::CommitSize(m_wndDockBar, nType, cx, cy);
  SECMDIChildWnd::OnSize(nType, cx, cy);
}

void SECControlBarMDIChildWnd::OnClose()
{
  if (!SECBarChildSupport::CloseHidesBar(this, m_wndDockBar))
    SECMDIChildWnd::OnClose();
}

void SECControlBarMDIChildWnd::OnWindowPosChanged(WINDOWPOS* lpwndpos)
{
  SECBarChildSupport::RememberPlace(this, m_wndDockBar);
  SECMDIChildWnd::OnWindowPosChanged(lpwndpos);
}

void SECControlBarMDIChildWnd::OnShowWindow(BOOL bShow, UINT nStatus)
{
  SECMDIChildWnd::OnShowWindow(bShow, nStatus);
  SECBarChildSupport::RefreshWindowMenu();
}

// ---------------------------------------------------------------------------------------------
// SECBarChildSupport

BOOL SECBarChildSupport::CreateDockBar(CFrameWnd* pChild, SECDockBar& dock)
{
  CWnd* pParentFrame = pChild->GetParentFrame();
  if (pParentFrame == NULL ||
      !dock.Create(pParentFrame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_LEFT, AFX_IDW_DOCKBAR_FLOAT))
    return FALSE;
  dock.SetParent(pChild);
  return TRUE;
}

CControlBar* SECBarChildSupport::SingleBar(SECDockBar& dock)
{
  if (dock.m_hWnd == NULL || (dock.m_dwStyle & CBRS_FLOAT_MULTI))
    return NULL;
  for (int i = 0; i < dock.m_arrBars.GetSize(); i++) {
    CControlBar* pBar = dock.GetDockedControlBar(i);
    if (pBar != NULL)
      return pBar;
  }
  return NULL;
}

void SECBarChildSupport::TakeCaption(CFrameWnd* pChild, SECDockBar& dock)
{
  if (dock.m_hWnd == NULL)
    return;
  CString strText;
  dock.GetWindowText(strText);
  pChild->SetWindowText(strText);
}

void SECBarChildSupport::CommitSize(SECDockBar& dock, UINT nType, int cx, int cy)
{
  CControlBar* pBar = SingleBar(dock);
  if (pBar == NULL || !(pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) || nType == SIZE_MINIMIZED)
    return;
  pBar->CalcDynamicLayout(cx + 2 * secData.m_cxBorder, LM_MRUWIDTH | LM_COMMIT);
  pBar->CalcDynamicLayout(cy + 2 * secData.m_cyBorder, LM_LENGTHY | LM_MRUWIDTH | LM_COMMIT);
}

BOOL SECBarChildSupport::CloseHidesBar(CFrameWnd* pChild, SECDockBar& dock)
{
  CControlBar* pBar = SingleBar(dock);
  if (pBar == NULL)
    return FALSE;
  // Closing only hides the bar; the child goes when the bar docks elsewhere.
  CWnd* pClient = pChild->GetParent();
  if (pClient != NULL)
    pClient->SendMessage(WM_MDIRESTORE, (WPARAM)pChild->m_hWnd, 0);
  if (pBar->m_pDockSite != NULL)
    pBar->m_pDockSite->ShowControlBar(pBar, FALSE, FALSE);
  return TRUE;
}

void SECBarChildSupport::RememberPlace(CFrameWnd* pChild, SECDockBar& dock)
{
  CControlBar* pBar = SingleBar(dock);
  if (pBar == NULL || pBar->m_pDockContext == NULL)
    return;
  CRect rc;
  pChild->GetWindowRect(&rc);
  pBar->m_pDockContext->m_ptMRUFloatPos = rc.TopLeft();
}

void SECBarChildSupport::RefreshWindowMenu()
{
  CMDIFrameWnd* pMain = DYNAMIC_DOWNCAST(CMDIFrameWnd, AfxGetMainWnd());
  if (pMain != NULL && pMain->m_hWndMDIClient != NULL)
    ::PostMessage(pMain->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
}
