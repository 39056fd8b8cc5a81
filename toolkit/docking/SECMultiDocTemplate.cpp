// The multi-document template with docking views.
#include "SECMultiDocTemplate.h"

#include <vector>

#include "SECControlBar.h"
#include "SECDockableFrame.h"
#include "SECFrameWnd.h"
#include "SECMenuBar.h"

namespace {

DWORD DefaultFeatures(DWORD dwFeatures) { return dwFeatures == (DWORD)-1 ? 7 : dwFeatures; }

// The bar alignment that goes with a dock bar.
DWORD AlignmentOf(UINT nDockBarID)
{
  switch (nDockBarID) {
    case AFX_IDW_DOCKBAR_TOP:
      return CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
    case AFX_IDW_DOCKBAR_LEFT:
      return CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT;
    case AFX_IDW_DOCKBAR_RIGHT:
      return CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT;
    default:
      return CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;
  }
}

}  // namespace

IMPLEMENT_DYNAMIC(SECMultiDocTemplate, CMultiDocTemplate)

SECMultiDocTemplate::SECMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass,
                                         CRuntimeClass* pViewClass, DWORD dwFeatures)
    : SECMultiDocTemplate(nIDResource, pDocClass, NULL, pViewClass, 0, NULL, NULL, dwFeatures)
{
}

SECMultiDocTemplate::SECMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass,
                                         CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass,
                                         UINT nDockingResourceID,
                                         CRuntimeClass* pDockingFrameClass,
                                         CRuntimeClass* pBarClass, DWORD dwFeatures)
    : CMultiDocTemplate(nIDResource, pDocClass,
                        pFrameClass != NULL ? pFrameClass : RUNTIME_CLASS(SECMDIChildWnd),
                        pViewClass),
      m_pDockingFrameClass(pDockingFrameClass != NULL ? pDockingFrameClass
                                                      : RUNTIME_CLASS(SECDockableFrame)),
      m_pBarClass(pBarClass != NULL ? pBarClass : RUNTIME_CLASS(SECFrameBar)),
      m_bCreateDocking(FALSE),
      m_nDockingResourceID(nDockingResourceID != 0 ? nDockingResourceID : nIDResource),
      m_dwChildFeatures(DefaultFeatures(dwFeatures)),
      m_dwDockingFeatures(DefaultFeatures(dwFeatures)),
      m_nDockBarID(0),
      m_hDockingMenu(NULL),
      m_hDockingAccel(NULL)
{
}

SECMultiDocTemplate::~SECMultiDocTemplate()
{
  if (m_hDockingMenu != NULL)
    ::DestroyMenu(m_hDockingMenu);
}

void SECMultiDocTemplate::LoadTemplate()
{
  CMultiDocTemplate::LoadTemplate();
  if (m_hDockingMenu == NULL && m_nDockingResourceID != 0) {
    HINSTANCE hInst = AfxGetResourceHandle();
    m_hDockingMenu = ::LoadMenuA(hInst, MAKEINTRESOURCEA(m_nDockingResourceID));
    m_hDockingAccel = ::LoadAcceleratorsA(hInst, MAKEINTRESOURCEA(m_nDockingResourceID));
  }
}

SECMDIFrameWnd* SECMultiDocTemplate::GetMainFrame()
{
  return DYNAMIC_DOWNCAST(SECMDIFrameWnd, AfxGetMainWnd());
}

CFrameWnd* SECMultiDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther)
{
  return CreateNewFrameEx(pDoc, pOther, m_bCreateDocking, m_nDockBarID);
}

CFrameWnd* SECMultiDocTemplate::CreateNewFrameEx(CDocument* pDoc, CFrameWnd* pOther,
                                                 BOOL bDocking, int nBarID)
{
  m_bCreateDocking = bDocking;
  m_nDockBarID = bDocking ? nBarID : 0;
  CFrameWnd* pFrame = NULL;
  if (bDocking) {
    pFrame = CreateDockingFrame(pDoc, pOther, 0, NULL, NULL);
  } else {
    pFrame = CMultiDocTemplate::CreateNewFrame(pDoc, pOther);
    if (pFrame != NULL)
      SetFrameFeatures(pFrame, m_dwChildFeatures);
  }
  m_bCreateDocking = FALSE;
  m_nDockBarID = 0;
  return pFrame;
}

CDocument* SECMultiDocTemplate::OpenDocumentFileEx(LPCTSTR lpszPathName, BOOL bMakeVisible,
                                                   BOOL bDocking, int nBarID)
{
  m_bCreateDocking = bDocking;
  m_nDockBarID = bDocking ? nBarID : 0;
  CDocument* pDoc = OpenDocumentFile(lpszPathName, bMakeVisible);
  if (pDoc != NULL && bDocking) {
    POSITION pos = pDoc->GetFirstViewPosition();
    CView* pView = pos != NULL ? pDoc->GetNextView(pos) : NULL;
    if (pView != NULL)
      ActivateDocFrame(pView->GetParentFrame());
  }
  m_bCreateDocking = FALSE;
  m_nDockBarID = 0;
  return pDoc;
}

CFrameWnd* SECMultiDocTemplate::CreateDockingFrame(CDocument* pDoc, CFrameWnd* pOther,
                                                   UINT nDockBarID, const SECDockPosition* pPos,
                                                   const SECDockSize* pSize)
{
  SECMDIFrameWnd* pMain = GetMainFrame();
  if (pMain == NULL || m_pDockingFrameClass == NULL) {
    m_nDockBarID = 0;
    return NULL;
  }
  const UINT nOldResource = m_nIDResource;
  m_nIDResource = m_nDockingResourceID;
  CCreateContext context;
  context.m_pNewViewClass = m_pViewClass;
  context.m_pCurrentDoc = pDoc;
  context.m_pNewDocTemplate = this;
  context.m_pCurrentFrame = pOther;

  CRuntimeClass* pBarClass = m_pBarClass != NULL ? m_pBarClass : RUNTIME_CLASS(SECControlBar);
  SECControlBar* pBar = DYNAMIC_DOWNCAST(SECControlBar, pBarClass->CreateObject());
  // The main window's next default place for what is not given.
  UINT nDefaultID = 0;
  SECDockPosition pos = {0, 0, 0};
  SECDockSize size = {1.0f, 150};
  if (nDockBarID == 0 || pPos == NULL || pSize == NULL)
    pMain->GetNextDockPosition(nDefaultID, pos, size);
  if (nDockBarID == 0)
    nDockBarID = nDefaultID;
  if (pPos != NULL)
    pos = *pPos;
  if (pSize != NULL)
    size = *pSize;
  UINT nBarID = m_nDockBarID > 0 ? (UINT)m_nDockBarID : SECFrameWnd::GetUniqueBarID(pMain, 256);
  m_nDockBarID = 0;

  CFrameWnd* pFrame = NULL;
  if (pBar != NULL) {
    pBar->m_bAutoDelete = TRUE;
    CString strTitle = pDoc != NULL ? pDoc->GetTitle() : CString();
    if (!pBar->Create(pMain, strTitle, WS_CHILD | WS_VISIBLE | CBRS_SIZE_DYNAMIC | AlignmentOf(nDockBarID),
                      0x40, nBarID)) {
      delete pBar;  // no window: nothing deletes it otherwise
      pBar = NULL;
    }
  }
  if (pBar != NULL) {
    pBar->EnableDocking(CBRS_ALIGN_ANY);
    pMain->DockControlBarEx(pBar, pos, nDockBarID, size);
    CObject* pObject = m_pDockingFrameClass->CreateObject();
    pFrame = DYNAMIC_DOWNCAST(CFrameWnd, pObject);
    if (pFrame == NULL) {
      delete pObject;
    } else if (!pFrame->LoadFrame(m_nDockingResourceID,
                                  WS_CHILD | WS_CAPTION | WS_SYSMENU | FWS_ADDTOTITLE, pBar,
                                  &context)) {
      pFrame = NULL;  // it deleted itself
    }
    if (pFrame == NULL)
      pBar->DestroyWindow();  // deletes itself
    else
      pMain->RecalcLayout();
  }
  m_nIDResource = nOldResource;
  if (pFrame != NULL)
    SetFrameFeatures(pFrame, m_dwDockingFeatures);
  return pFrame;
}

BOOL SECMultiDocTemplate::IsDockingFrame(CFrameWnd* pFrame) const
{
  return pFrame != NULL && pFrame->IsKindOf(RUNTIME_CLASS(SECDockableFrame));
}

int SECMultiDocTemplate::GetDockedSide(CFrameWnd* pFrame) const
{
  if (!IsDockingFrame(pFrame) || pFrame->m_hWnd == NULL)
    return -1;
  HWND hBar = ::GetParent(pFrame->m_hWnd);
  HWND hDock = hBar != NULL ? ::GetParent(hBar) : NULL;
  if (hDock == NULL)
    return -1;
  switch (::GetDlgCtrlID(hDock)) {
    case AFX_IDW_DOCKBAR_TOP:
      return sideTop;
    case AFX_IDW_DOCKBAR_LEFT:
      return sideLeft;
    case AFX_IDW_DOCKBAR_RIGHT:
      return sideRight;
    case AFX_IDW_DOCKBAR_BOTTOM:
      return sideBottom;
  }
  return ((SECDockableFrame*)pFrame)->IsFloating() ? sideFloating : -1;
}

void SECMultiDocTemplate::AdoptPaneView(CFrameWnd* pFrame)
{
  if (pFrame->GetActiveView() != NULL)
    return;
  CView* pView = DYNAMIC_DOWNCAST(CView, pFrame->GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE));
  if (pView != NULL)
    pFrame->SetActiveView(pView, FALSE);
}

CFrameWnd* SECMultiDocTemplate::DockMDIChild(CFrameWnd* pFrame, UINT nDockBarID,
                                             const SECDockPosition* pPos, const SECDockSize* pSize)
{
  if (pFrame == NULL || IsDockingFrame(pFrame))
    return NULL;
  CDocument* pDoc = pFrame->GetActiveDocument();
  SECMDIFrameWnd* pMain = GetMainFrame();
  if (pDoc == NULL || pMain == NULL)
    return NULL;
  SECDockPosition pos = {0, 0, 0};
  SECDockSize size = {1.0f, 150};
  if (nDockBarID == 0) {
    pMain->GetNextDockPosition(nDockBarID, pos, size);
  } else {
    if (nDockBarID == AFX_IDW_DOCKBAR_TOP || nDockBarID == AFX_IDW_DOCKBAR_LEFT)
      pos = SECDockPosition{1, 0, 3};
    else
      pos = SECDockPosition{0, 0, 4};
    if (pPos != NULL)
      pos = *pPos;
    if (pSize != NULL)
      size = *pSize;
  }
  // The views move over: the new frame makes none of its own.
  CRuntimeClass* pViewClass = m_pViewClass;
  m_pViewClass = NULL;
  CFrameWnd* pNew = CreateDockingFrame(pDoc, NULL, nDockBarID, &pos, &size);
  m_pViewClass = pViewClass;
  if (pNew == NULL)
    return NULL;
  MoveChildWindows(pFrame, pNew);
  pFrame->DestroyWindow();
  AdoptPaneView(pNew);
  ActivateDocFrame(pNew);
  return pNew;
}

CFrameWnd* SECMultiDocTemplate::DockMDIChildDefault(CFrameWnd* pFrame)
{
  return DockMDIChild(pFrame, 0, NULL, NULL);
}

CFrameWnd* SECMultiDocTemplate::UndockToMDIChild(CFrameWnd* pFrame)
{
  if (!IsDockingFrame(pFrame))
    return NULL;
  CDocument* pDoc = pFrame->GetActiveDocument();
  if (pDoc == NULL)
    return NULL;
  CRuntimeClass* pViewClass = m_pViewClass;
  m_pViewClass = NULL;
  CFrameWnd* pNew = CreateNewFrameEx(pDoc, NULL, FALSE);
  m_pViewClass = pViewClass;
  if (pNew == NULL)
    return NULL;
  MoveChildWindows(pFrame, pNew);
  pFrame->DestroyWindow();  // the dockable frame goes with its bar
  AdoptPaneView(pNew);
  ActivateDocFrame(pNew);
  pNew->SendMessage(WM_SIZE, 0, 0);
  return pNew;
}

CFrameWnd* SECMultiDocTemplate::SwitchFrame(CFrameWnd* pFrame)
{
  return IsDockingFrame(pFrame) ? UndockToMDIChild(pFrame) : DockMDIChildDefault(pFrame);
}

void SECMultiDocTemplate::MoveChildWindows(CWnd* pFrom, CWnd* pTo)
{
  if (pFrom == NULL || pTo == NULL || pFrom->m_hWnd == NULL || pTo->m_hWnd == NULL)
    return;
  std::vector<HWND> children;
  for (HWND h = ::GetWindow(pFrom->m_hWnd, GW_CHILD); h != NULL; h = ::GetWindow(h, GW_HWNDNEXT))
    children.push_back(h);
  BOOL bNewShell = LOBYTE(LOWORD(::GetVersion())) >= 4;
  for (HWND h : children) {
    ::SetParent(h, pTo->m_hWnd);
    CWnd* pWnd = CWnd::FromHandlePermanent(h);
    if (bNewShell && pWnd != NULL && pWnd->IsKindOf(RUNTIME_CLASS(CView)) &&
        (::GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_CLIENTEDGE))
      pTo->ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
  }
}

BOOL SECMultiDocTemplate::ActivateDocFrame(CFrameWnd* pFrame)
{
  if (pFrame == NULL)
    return FALSE;
  pFrame->SendMessage(WM_ACTIVATE, WA_ACTIVE);
  int nCmdShow = -1;
  CWinApp* pApp = AfxGetApp();
  if (pApp != NULL && pFrame == pApp->m_pMainWnd) {
    nCmdShow = pApp->m_nCmdShow;
    pApp->m_nCmdShow = -1;
  }
  pFrame->ActivateFrame(nCmdShow);
  pFrame->OnUpdateFrameTitle(TRUE);
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Features

void SECMultiDocTemplate::SetFrameFeatures(CFrameWnd* pFrame, DWORD dwFeatures)
{
  if (pFrame == NULL)
    return;
  if (pFrame->IsKindOf(RUNTIME_CLASS(SECDockableFrame)))
    ((SECDockableFrame*)pFrame)->SetCaptionControls(dwFeatures);
  else if (pFrame->IsKindOf(RUNTIME_CLASS(SECMDIChildWnd)))
    ((SECMDIChildWnd*)pFrame)->ConfigureMsgFilters(dwFeatures);
}

void SECMultiDocTemplate::EnableStateButton(BOOL bEnable, BOOL bApply)
{
  if (bEnable) {
    if (m_dwChildFeatures & featNoStateButton)
      ModifyFeatures(featNoStateButton, featOn, bApply);
  } else if (!(m_dwChildFeatures & featNoStateButton)) {
    ModifyFeatures(0, featNoStateButton, bApply);
  }
}

void SECMultiDocTemplate::EnableDoubleClickToggle(BOOL bEnable, BOOL bApply)
{
  if (!bEnable)
    ModifyFeatures(0, featNoDoubleClick, bApply);
  else if (m_dwChildFeatures & featNoDoubleClick)
    ModifyFeatures(featNoDoubleClick, featOn | featNoContextMenu, bApply);
}

void SECMultiDocTemplate::EnableContextMenu(BOOL bEnable, BOOL bApply)
{
  if (!bEnable)
    ModifyFeatures(0, featNoContextMenu, bApply);
  else if (m_dwChildFeatures & featNoContextMenu)
    ModifyFeatures(featNoContextMenu, featOn | featNoDoubleClick, bApply);
}

BOOL SECMultiDocTemplate::IsStateButtonEnabled() const { return !(m_dwChildFeatures & featNoStateButton); }
BOOL SECMultiDocTemplate::IsDoubleClickToggleEnabled() const { return !(m_dwChildFeatures & featNoDoubleClick); }
BOOL SECMultiDocTemplate::IsContextMenuEnabled() const { return !(m_dwChildFeatures & featNoContextMenu); }

void SECMultiDocTemplate::ModifyFeatures(DWORD dwRemove, DWORD dwAdd, BOOL bApply)
{
  m_dwChildFeatures = (m_dwChildFeatures & ~dwRemove) | dwAdd;
  m_dwDockingFeatures = (m_dwDockingFeatures & ~dwRemove) | dwAdd;
  if (bApply && (dwRemove != 0 || dwAdd != 0))
    ApplyFeatures();
}

void SECMultiDocTemplate::ApplyFeatures()
{
  CFrameWnd* pLast = NULL;
  BOOL bZoomed = FALSE;
  POSITION posDoc = GetFirstDocPosition();
  while (posDoc != NULL) {
    CDocument* pDoc = GetNextDoc(posDoc);
    POSITION posView = pDoc->GetFirstViewPosition();
    while (posView != NULL) {
      CView* pView = pDoc->GetNextView(posView);
      CFrameWnd* pFrame = pView->GetParentFrame();
      if (pFrame == NULL || pFrame == pLast)
        continue;
      pLast = pFrame;
      if (pFrame->IsKindOf(RUNTIME_CLASS(SECDockableFrame)))
        SetFrameFeatures(pFrame, m_dwDockingFeatures);
      else if (pFrame->IsKindOf(RUNTIME_CLASS(SECMDIChildWnd)))
        SetFrameFeatures(pFrame, m_dwChildFeatures);
      if (::IsWindow(pFrame->m_hWnd)) {
        pFrame->SetWindowPos(NULL, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
        bZoomed |= pFrame->IsZoomed();
      }
    }
  }
  SECMDIFrameWnd* pMain = GetMainFrame();
  if (bZoomed && pMain != NULL) {
    if (pMain->GetMenuBar() != NULL)
      pMain->GetMenuBar()->Invalidate();
    else
      pMain->DrawMenuBar();
  }
}
