// The workspace manager: the workspace tree's save and restore, the recent-workspace list,
// the prompts and the workspace commands.
#include "SECWorkspaceManager.h"
#include "SECMDIFrameWnd.h"
#include "SECControlBarManager.h"
#include "SECDocTemplateUtils.h"
#include "SECDockState.h"
#include "SECFrameWnd.h"
#include "SECPersistentTree.h"
#include "SECResource.h"
#include "SECWsMgrDialog.h"
#include <afxdlgs.h>

IMPLEMENT_DYNCREATE(SECWorkspaceManagerEx, SECWndPlugIn)

namespace {

const char kRoot[] = "WorkState_v1_1";
const UINT kFileSave = 57603;  // the framework's File Save command

CString LoadText(UINT nID)
{
  CString str;
  str.LoadString(nID);
  return str;
}

// Applies a stored window placement: exactly one record's bytes, or nothing.
void ApplyPlacement(SECPersistentTreeNode* pNode, LPCTSTR lpszKey, CWnd* pWnd)
{
  BYTE* pData = NULL;
  UINT nLength = 0;
  pNode->GetBinaryValue(lpszKey, &pData, nLength);
  if (pData != NULL && nLength == sizeof(WINDOWPLACEMENT)) {
    WINDOWPLACEMENT wp;
    memcpy(&wp, pData, sizeof(wp));
    wp.length = sizeof(wp);
    pWnd->SetWindowPlacement(&wp);
  }
  delete[] pData;
}

void StorePlacement(SECPersistentTreeNode* pNode, LPCTSTR lpszKey, CWnd* pWnd)
{
  WINDOWPLACEMENT wp;
  memset(&wp, 0, sizeof(wp));
  pWnd->GetWindowPlacement(&wp);
  pNode->SetBinaryValue(lpszKey, (const BYTE*)&wp, sizeof(wp));
}

CString Numbered(LPCTSTR lpszFormat, int n)
{
  CString str;
  str.Format(lpszFormat, n);
  return str;
}

}  // namespace

BEGIN_MESSAGE_MAP(SECWorkspaceManagerEx, SECWndPlugIn)
  ON_COMMAND(ID_WORKSPACE_NEW, OnWorkspaceNew)
  ON_COMMAND(ID_WORKSPACE_OPEN, OnWorkspaceOpen)
  ON_COMMAND(ID_WORKSPACE_SAVE, OnWorkspaceSave)
  ON_COMMAND(ID_WORKSPACE_CLOSE, OnWorkspaceClose)
  ON_UPDATE_COMMAND_UI(ID_WORKSPACE_CLOSE, OnUpdateWorkspaceClose)
  ON_COMMAND(ID_WORKSPACE_SAVEAS, OnWorkspaceSaveAs)
  ON_COMMAND(ID_WORKSPACE_DELETE, OnWorkspaceDelete)
  ON_COMMAND_EX_RANGE(ID_WORKSPACE_MRU1, ID_WORKSPACE_MRU9, OnWorkspaceRecent)
  ON_UPDATE_COMMAND_UI(ID_WORKSPACE_MRU1, OnUpdateWorkspaceRecent)
END_MESSAGE_MAP()

SECWorkspaceManagerEx::SECWorkspaceManagerEx()
    : m_strFileFilter("*.wsp"), m_nMaxListCount(8), m_pHostFrame(NULL), m_bWorkspaceOpen(FALSE),
      m_strBaseKey("Software\\Ravelle\\DefWorkspace\\"), m_hRootKey(HKEY_CURRENT_USER),
      m_nStorageMode(SEC_WORKSPACE_PROFILE), m_bListUnderAppKey(FALSE), m_bConsumed(FALSE)
{
}

SECWorkspaceManagerEx::~SECWorkspaceManagerEx() {}

BOOL SECWorkspaceManagerEx::PlugInTo(CWnd* host)
{
  if (!SECWndPlugIn::PlugInTo(host))
    return FALSE;
  m_pHostFrame = DYNAMIC_DOWNCAST(CFrameWnd, host);
  return TRUE;
}

BOOL SECWorkspaceManagerEx::OnCmdMsg(UINT nID, int nCode, void* pExtra,
                                     AFX_CMDHANDLERINFO* pHandlerInfo)
{
  m_bConsumed = FALSE;
  return SECWndPlugIn::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL SECWorkspaceManagerEx::TakeConsumed()
{
  BOOL bConsumed = m_bConsumed;
  m_bConsumed = FALSE;
  return bConsumed;
}

// ---------------------------------------------------------------------------------------------
// Settings

void SECWorkspaceManagerEx::SetStorageMode(int nMode, BOOL bListUnderAppKey)
{
  if (nMode != m_nStorageMode) {
    m_strWorkspace.Empty();
    m_bWorkspaceOpen = FALSE;
  }
  m_nStorageMode = nMode;
  m_bListUnderAppKey = bListUnderAppKey;
}

void SECWorkspaceManagerEx::SetRegistryKey(LPCTSTR lpszBaseKey, int nMode, HKEY hRoot,
                                           BOOL bListUnderAppKey)
{
  m_strBaseKey = lpszBaseKey != NULL ? lpszBaseKey : "";
  m_hRootKey = hRoot;
  SetStorageMode(nMode, bListUnderAppKey);
  if (m_strBaseKey.IsEmpty() || m_strBaseKey.Right(1) != "\\")
    m_strBaseKey += "\\";
}

BOOL SECWorkspaceManagerEx::GetActiveWorkspace(CString& strName) const
{
  strName = m_strWorkspace;
  return m_bWorkspaceOpen;
}

SECPTNStrategy* SECWorkspaceManagerEx::CreateStrategy(LPCTSTR lpszName)
{
  if (m_nStorageMode != SEC_WORKSPACE_PROFILE)
    return new SECPTNStrategyRegistry(m_strBaseKey + lpszName, m_hRootKey);
  return new SECPTNStrategyProfile(lpszName);
}

SECControlBarManager* SECWorkspaceManagerEx::GetHostBarManager() const
{
  if (SECMDIFrameWnd* pMDIFrame = DYNAMIC_DOWNCAST(SECMDIFrameWnd, m_pHostFrame))
    return pMDIFrame->GetControlBarManager();
  SECFrameWnd* pFrame = DYNAMIC_DOWNCAST(SECFrameWnd, m_pHostFrame);
  return pFrame != NULL ? pFrame->GetControlBarManager() : NULL;
}

// ---------------------------------------------------------------------------------------------
// Saving

BOOL SECWorkspaceManagerEx::SaveWorkspace(LPCTSTR lpszName)
{
  CString strName = lpszName != NULL ? lpszName : "";
  if (strName.IsEmpty() && (!GetWorkspaceName(strName, TRUE) || strName.IsEmpty()))
    return FALSE;
  SECPTNFactory factory;
  SECPersistentTreeNode* pRoot = factory.CreateNode(kRoot);
  if (pRoot == NULL)
    return FALSE;
  SaveWorkspaceBars(factory, pRoot);
  SaveFrames(factory, pRoot);
  OnWorkspaceSaved(factory, pRoot, strName);
  SECPTNStrategy* pStrategy = CreateStrategy(strName);
  BOOL bWritten = pRoot->WriteTree(pStrategy);
  delete pStrategy;
  // A workspace that could not be written is neither current nor listed.
  if (!bWritten)
    return FALSE;
  if (strName != m_strWorkspace) {
    m_strWorkspace = strName;
    CStringList list;
    ReadWorkspaceList(list);
    AddToWorkspaceList(strName, list);
    WriteWorkspaceList(list);
  }
  m_bWorkspaceOpen = TRUE;
  return TRUE;
}

BOOL SECWorkspaceManagerEx::SaveActiveWorkspace() { return SaveWorkspace(m_strWorkspace); }

BOOL SECWorkspaceManagerEx::SaveWorkspaceBars(SECPTNFactory& factory, SECPersistentTreeNode* pRoot)
{
  if (m_pHostFrame == NULL || pRoot == NULL)
    return FALSE;
  SECControlBarManager* pManager = GetHostBarManager();
  SECDockState state(pManager);
  if (state.GetDockState(m_pHostFrame)) {
    state.CleanupState();
    state.SaveStateTree(factory, pRoot);
  }
  if (pManager != NULL)
    pManager->SaveState(factory, pRoot);
  return TRUE;
}

BOOL SECWorkspaceManagerEx::SaveFrames(SECPTNFactory& factory, SECPersistentTreeNode* pRoot)
{
  SECPersistentTreeNode* pFrames = factory.CreateNode("Frames", pRoot);
  if (pFrames == NULL || m_pHostFrame == NULL)
    return FALSE;
  SaveMainFrame(factory, pFrames);
  CFrameWnd* pActive = m_pHostFrame->GetActiveFrame();
  if (pActive == m_pHostFrame)
    pActive = NULL;
  BOOL bSaved = SaveChildFrames(factory, pFrames, pActive);
  // Saving a document may have activated its frame.
  if (pActive != NULL && m_pHostFrame->GetActiveFrame() != pActive && ::IsWindow(pActive->m_hWnd))
    pActive->ActivateFrame();
  return bSaved;
}

BOOL SECWorkspaceManagerEx::SaveMainFrame(SECPTNFactory& factory, SECPersistentTreeNode* pFrames)
{
  SECPersistentTreeNode* pNode = factory.CreateNode("MainFrame", pFrames);
  if (pNode == NULL)
    return FALSE;
  StorePlacement(pNode, "WindowPlacement", m_pHostFrame);
  CString strTitle;
  m_pHostFrame->GetWindowText(strTitle);
  pNode->SetStringValue("Title", strTitle);
  return TRUE;
}

BOOL SECWorkspaceManagerEx::SaveChildFrames(SECPTNFactory& factory,
                                            SECPersistentTreeNode* pFrames, CFrameWnd* pActive)
{
  SECPersistentTreeNode* pChildFrames = factory.CreateNode("ChildFrames", pFrames);
  CWinApp* pApp = AfxGetApp();
  if (pChildFrames == NULL || pApp == NULL)
    return FALSE;
  CMapPtrToPtr frames;
  frames.InitHashTable(17);
  int nDocument = 0, nAdditional = 0;
  POSITION posTemplate = pApp->GetFirstDocTemplatePosition();
  while (posTemplate != NULL) {
    CDocTemplate* pTemplate = pApp->GetNextDocTemplate(posTemplate);
    POSITION posDoc = pTemplate->GetFirstDocPosition();
    while (posDoc != NULL) {
      CDocument* pDoc = pTemplate->GetNextDoc(posDoc);
      SECPersistentTreeNode* pDocNode =
          factory.CreateNode(Numbered("Document-%d", nDocument++), pChildFrames);
      if (pDocNode == NULL)
        continue;
      int nViewFrame = 0;
      POSITION posView = pDoc->GetFirstViewPosition();
      while (posView != NULL) {
        CView* pView = pDoc->GetNextView(posView);
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame == NULL)
          continue;
        void* pFrameNode = NULL;
        if (frames.Lookup(pFrame, pFrameNode)) {
          if (SaveAdditionalView(pDoc, pView, pFrame, factory,
                                 (SECPersistentTreeNode*)pFrameNode, nAdditional) != NULL)
            nAdditional++;
          continue;
        }
        SECPersistentTreeNode* pNode =
            SaveViewFrame(pDoc, pView, pFrame, pActive, factory, pDocNode, nViewFrame);
        if (pNode != NULL) {
          frames.SetAt(pFrame, pNode);
          nViewFrame++;
        }
      }
    }
  }
  return TRUE;
}

SECPersistentTreeNode* SECWorkspaceManagerEx::SaveViewFrame(CDocument* pDoc, CView* pView,
                                                            CFrameWnd* pFrame, CFrameWnd* pActive,
                                                            SECPTNFactory& factory,
                                                            SECPersistentTreeNode* pDocNode,
                                                            int nIndex)
{
  SECDocTemplateUtils utils;
  CDocTemplate* pTemplate = utils.FindTemplateForView(pDoc, pView, pFrame);
  if (pTemplate == NULL)
    return NULL;
  SaveDocumentIfNeeded(pFrame, pDoc);
  if (pDoc->GetPathName().IsEmpty())
    return NULL;
  SECPersistentTreeNode* pNode = factory.CreateNode(Numbered("ViewFrame-%d", nIndex), pDocNode);
  if (pNode == NULL)
    return NULL;
  CString strType = SECDocTemplateUtils::GetTypeString(pTemplate);
  pNode->SetStringValue("DocPathName", pDoc->GetPathName());
  pNode->SetStringValue("DocumentString", strType);
  int nTemplate = utils.GetTemplateIndex(pTemplate, strType);
  if (nTemplate != -1)
    pNode->SetIntValue("DocTemplateIndex", nTemplate);
  SaveDockedView(pFrame, pNode);
  pNode->SetBoolValue("IsActiveChildFrame", pFrame == pActive);
  return pNode;
}

SECPersistentTreeNode* SECWorkspaceManagerEx::SaveAdditionalView(CDocument* pDoc, CView* pView,
                                                                 CFrameWnd* pFrame,
                                                                 SECPTNFactory& factory,
                                                                 SECPersistentTreeNode* pFrameNode,
                                                                 int nIndex)
{
  SECDocTemplateUtils utils;
  CDocTemplate* pTemplate = utils.FindTemplateForView(pDoc, pView, pFrame);
  if (pTemplate == NULL)
    return NULL;
  SECPersistentTreeNode* pNode =
      factory.CreateNode(Numbered("AdditionalViewPerFrame-%d", nIndex), pFrameNode);
  if (pNode == NULL)
    return NULL;
  CString strType = SECDocTemplateUtils::GetTypeString(pTemplate);
  pNode->SetStringValue("DocumentString", strType);
  int nTemplate = utils.GetTemplateIndex(pTemplate, strType);
  if (nTemplate != -1)
    pNode->SetIntValue("DocTemplateIndex", nTemplate);
  return pNode;
}

void SECWorkspaceManagerEx::SaveDockedView(CFrameWnd* pFrame, SECPersistentTreeNode* pNode)
{
  // Views docked in bars ("DockedViewBarID", "DockedViewFloating", "DockedViewFloatingWP")
  // come with the toolkit's dockable view frames and MDI frames; every frame here is a
  // frame window of its own.
  StorePlacement(pNode, "WindowPlacement", pFrame);
}

void SECWorkspaceManagerEx::SaveDockedViewFloating(CWnd* pBar, SECPersistentTreeNode* pNode)
{
  CFrameWnd* pFrame = pBar != NULL ? pBar->GetParentFrame() : NULL;
  if (pFrame != NULL && pFrame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))) {
    pNode->SetBoolValue("DockedViewFloating", TRUE);
    StorePlacement(pNode, "DockedViewFloatingWP", pFrame);
  } else {
    pNode->SetIntValue("DockedViewFloating", 0);
  }
}

void SECWorkspaceManagerEx::SaveDocumentIfNeeded(CFrameWnd* pFrame, CDocument* pDoc)
{
  if (!pDoc->IsModified() && !pDoc->GetPathName().IsEmpty())
    return;
  pFrame->ActivateFrame();
  pFrame->SendMessage(WM_COMMAND, kFileSave, 0);
}

void SECWorkspaceManagerEx::OnWorkspaceSaved(SECPTNFactory&, SECPersistentTreeNode*, LPCTSTR) {}

// ---------------------------------------------------------------------------------------------
// Opening

BOOL SECWorkspaceManagerEx::OpenWorkspace(LPCTSTR lpszName, BOOL bQuiet)
{
  CString strName = lpszName != NULL ? lpszName : "";
  if (strName.IsEmpty() && (!GetWorkspaceName(strName, FALSE) || strName.IsEmpty()))
    return FALSE;
  SECPersistentTreeNode root;
  root.InitNode(kRoot);
  SECPTNStrategy* pStrategy = CreateStrategy(strName);
  BOOL bRead = root.ReadTree(pStrategy);
  delete pStrategy;
  if (!bRead) {
    if (!bQuiet)
      AfxMessageBox(LoadText(IDS_SEC_WS_INVALID), MB_OK | MB_ICONEXCLAMATION);
    RemoveFromWorkspaceList(strName);
    return FALSE;
  }
  CloseWorkspace();
  CFrameWnd* pActive = NULL;
  RestoreFrames(&root, pActive);
  RestoreWorkspaceBars(&root);
  ActivateRestoredFrame(pActive);
  OnWorkspaceOpened(&root, strName);
  m_bWorkspaceOpen = TRUE;
  m_strWorkspace = strName;
  CStringList list;
  ReadWorkspaceList(list);
  AddToWorkspaceList(strName, list);
  WriteWorkspaceList(list);
  return TRUE;
}

BOOL SECWorkspaceManagerEx::OpenWorkspacePrompt(BOOL bFromList, BOOL bQuiet)
{
  CString strName;
  if (bFromList) {
    CStringList list;
    ReadWorkspaceList(list);
    if (list.IsEmpty())
      return FALSE;
    strName = list.GetHead();
  } else if (!GetWorkspaceName(strName, FALSE) || strName.IsEmpty()) {
    return FALSE;
  }
  return OpenWorkspace(strName, bQuiet);
}

BOOL SECWorkspaceManagerEx::RestoreFrames(SECPersistentTreeNode* pRoot, CFrameWnd*& pActive)
{
  SECPersistentTreeNode* pFrames = pRoot != NULL ? pRoot->FindChild("Frames") : NULL;
  if (pFrames == NULL)
    return FALSE;
  RestoreMainFrame(pFrames);
  return RestoreChildFrames(pFrames, pActive);
}

BOOL SECWorkspaceManagerEx::RestoreMainFrame(SECPersistentTreeNode* pFrames)
{
  SECPersistentTreeNode* pNode = pFrames->FindChild("MainFrame");
  if (pNode == NULL || m_pHostFrame == NULL)
    return FALSE;
  ApplyPlacement(pNode, "WindowPlacement", m_pHostFrame);
  CString strTitle;
  pNode->GetStringValue("Title", strTitle, "");
  m_pHostFrame->SetWindowText(strTitle);
  return TRUE;
}

BOOL SECWorkspaceManagerEx::RestoreChildFrames(SECPersistentTreeNode* pFrames,
                                               CFrameWnd*& pActive)
{
  SECPersistentTreeNode* pChildFrames = pFrames->FindChild("ChildFrames");
  if (pChildFrames == NULL)
    return FALSE;
  CStringList docNames;
  pChildFrames->GetChildNames(docNames);
  for (POSITION pos = docNames.GetHeadPosition(); pos != NULL;) {
    SECPersistentTreeNode* pDocNode = pChildFrames->FindChild(docNames.GetNext(pos));
    if (pDocNode == NULL)
      continue;
    CDocument* pDoc = NULL;
    CFrameWnd* pLastFrame = NULL;
    CStringList frameNames;
    pDocNode->GetChildNames(frameNames);
    for (POSITION f = frameNames.GetHeadPosition(); f != NULL;) {
      SECPersistentTreeNode* pNode = pDocNode->FindChild(frameNames.GetNext(f));
      if (pNode != NULL)
        RestoreViewFrame(pNode, pDoc, pLastFrame, pActive);
    }
  }
  return TRUE;
}

BOOL SECWorkspaceManagerEx::RestoreViewFrame(SECPersistentTreeNode* pNode, CDocument*& pDoc,
                                             CFrameWnd*& pLastFrame, CFrameWnd*& pActive)
{
  CString strType, strPath;
  int nTemplate = 0, nBarID = 0;
  pNode->GetStringValue("DocumentString", strType, "");
  pNode->GetIntValue("DocTemplateIndex", nTemplate, 0);
  SECDocTemplateUtils utils;
  CDocTemplate* pTemplate = utils.FindTemplate(strType, nTemplate);
  if (pTemplate == NULL)
    return FALSE;
  pNode->GetStringValue("DocPathName", strPath, "");
  pNode->GetIntValue("DockedViewBarID", nBarID, 0);
  CFrameWnd* pFrame = NULL;
  if (pDoc != NULL) {
    pFrame = nBarID != 0 ? CreateDockedViewFrame(pNode, pTemplate, pDoc, pLastFrame)
                         : CreateAdditionalFrame(pTemplate, pDoc, pLastFrame);
    if (pFrame == NULL)
      return FALSE;
  } else {
    CDocument* pDocked = OpenDockedViewDocument(pNode, pTemplate, strPath);
    if (pDocked != NULL) {
      pDoc = pDocked;
      POSITION pos = pDoc->GetFirstViewPosition();
      CView* pView = pos != NULL ? pDoc->GetNextView(pos) : NULL;
      pLastFrame = pView != NULL ? pView->GetParentFrame() : NULL;
      return TRUE;
    }
    pFrame = OpenDocumentFrame(pTemplate, strPath);
    if (pFrame == NULL)
      return FALSE;
    pDoc = pFrame->GetActiveDocument();
    if (pDoc == NULL) {
      CView* pView = pFrame->GetActiveView();
      pDoc = pView != NULL ? pView->GetDocument() : NULL;
    }
  }
  pTemplate->InitialUpdateFrame(pFrame, pDoc, TRUE);
  ApplyPlacement(pNode, "WindowPlacement", pFrame);
  BOOL bActive = FALSE;
  pNode->GetBoolValue("IsActiveChildFrame", bActive, FALSE);
  if (bActive)
    pActive = pFrame;
  pLastFrame = pFrame;
  CStringList names;
  pNode->GetChildNames(names);
  for (POSITION pos = names.GetHeadPosition(); pos != NULL;)
    RestoreAdditionalView(pDoc, pFrame, pNode->FindChild(names.GetNext(pos)));
  return TRUE;
}

CFrameWnd* SECWorkspaceManagerEx::OpenDocumentFrame(CDocTemplate* pTemplate, LPCTSTR lpszPath)
{
  CString strPath = lpszPath != NULL ? lpszPath : "";
  CDocument* pDoc = pTemplate->OpenDocumentFile(strPath.IsEmpty() ? NULL : (LPCTSTR)strPath, FALSE);
  if (pDoc == NULL)
    return NULL;
  POSITION pos = pDoc->GetFirstViewPosition();
  CView* pView = pos != NULL ? pDoc->GetNextView(pos) : NULL;
  return pView != NULL ? pView->GetParentFrame() : NULL;
}

CDocument* SECWorkspaceManagerEx::OpenDockedViewDocument(SECPersistentTreeNode* pNode,
                                                         CDocTemplate*, LPCTSTR)
{
  // A view docked in a bar needs the toolkit's docking template, which comes with its MDI
  // frames; such nodes open as ordinary frames.
  (void)pNode;
  return NULL;
}

void SECWorkspaceManagerEx::RestoreDockedViewFloating(CWnd* pBar, SECPersistentTreeNode* pNode)
{
  CControlBar* pControlBar = DYNAMIC_DOWNCAST(CControlBar, pBar);
  if (pControlBar == NULL || pNode == NULL || m_pHostFrame == NULL)
    return;
  BYTE* pData = NULL;
  UINT nLength = 0;
  pNode->GetBinaryValue("DockedViewFloatingWP", &pData, nLength);
  if (pData != NULL && nLength == sizeof(WINDOWPLACEMENT)) {
    WINDOWPLACEMENT wp;
    memcpy(&wp, pData, sizeof(wp));
    m_pHostFrame->FloatControlBar(pControlBar, CPoint(wp.rcNormalPosition.left,
                                                      wp.rcNormalPosition.top));
  }
  delete[] pData;
}

CFrameWnd* SECWorkspaceManagerEx::CreateAdditionalFrame(CDocTemplate* pTemplate, CDocument* pDoc,
                                                        CFrameWnd* pLastFrame)
{
  return pTemplate->CreateNewFrame(pDoc, pLastFrame);
}

CFrameWnd* SECWorkspaceManagerEx::CreateDockedViewFrame(SECPersistentTreeNode*,
                                                        CDocTemplate* pTemplate, CDocument* pDoc,
                                                        CFrameWnd* pLastFrame)
{
  // Without the docking template a docked view gets a frame of its own.
  return CreateAdditionalFrame(pTemplate, pDoc, pLastFrame);
}

BOOL SECWorkspaceManagerEx::RestoreAdditionalView(CDocument* pDoc, CFrameWnd* pFrame,
                                                  SECPersistentTreeNode* pNode)
{
  return pDoc != NULL && pFrame != NULL && pNode != NULL;
}

BOOL SECWorkspaceManagerEx::RestoreWorkspaceBars(SECPersistentTreeNode* pRoot)
{
  if (pRoot == NULL || m_pHostFrame == NULL)
    return FALSE;
  SECControlBarManager* pManager = GetHostBarManager();
  if (pManager != NULL)
    pManager->LoadState(pRoot);
  SECDockState state(pManager);
  SECFrameWnd* pFrame = DYNAMIC_DOWNCAST(SECFrameWnd, m_pHostFrame);
  if (pFrame != NULL)
    state.m_pDynamicBars = &pFrame->m_listDynamicBars;
  if (!state.LoadStateTree(pRoot))
    return FALSE;
  return state.SetDockState(m_pHostFrame);
}

void SECWorkspaceManagerEx::ActivateRestoredFrame(CFrameWnd* pFrame)
{
  // The toolkit's MDI frame is also told its active child; it comes with the MDI frames.
  if (pFrame != NULL && ::IsWindow(pFrame->m_hWnd))
    pFrame->ActivateFrame();
}

void SECWorkspaceManagerEx::OnWorkspaceOpened(SECPersistentTreeNode*, LPCTSTR) {}

// ---------------------------------------------------------------------------------------------
// Closing

BOOL SECWorkspaceManagerEx::CloseWorkspace()
{
  m_bWorkspaceOpen = FALSE;
  m_strWorkspace.Empty();
  BOOL bClosed = CloseDocumentFrames();
  return CloseFrameExtras(NULL, m_pHostFrame) && bClosed;
}

BOOL SECWorkspaceManagerEx::CloseDocumentFrames()
{
  CWinApp* pApp = AfxGetApp();
  if (pApp == NULL)
    return FALSE;
  CPtrList frames;
  POSITION posTemplate = pApp->GetFirstDocTemplatePosition();
  while (posTemplate != NULL) {
    CDocTemplate* pTemplate = pApp->GetNextDocTemplate(posTemplate);
    POSITION posDoc = pTemplate->GetFirstDocPosition();
    while (posDoc != NULL) {
      CDocument* pDoc = pTemplate->GetNextDoc(posDoc);
      POSITION posView = pDoc->GetFirstViewPosition();
      while (posView != NULL) {
        CFrameWnd* pFrame = pDoc->GetNextView(posView)->GetParentFrame();
        if (pFrame != NULL && pFrame != m_pHostFrame && frames.Find(pFrame) == NULL)
          frames.AddTail(pFrame);
      }
    }
  }
  // Closing a frame may close its document and others: close by handle.
  CList<HWND, HWND> handles;
  for (POSITION pos = frames.GetHeadPosition(); pos != NULL;)
    handles.AddTail(((CFrameWnd*)frames.GetNext(pos))->m_hWnd);
  for (POSITION pos = handles.GetHeadPosition(); pos != NULL;) {
    HWND hWnd = handles.GetNext(pos);
    if (::IsWindow(hWnd))
      ::SendMessageA(hWnd, WM_CLOSE, 0, 0);
  }
  return TRUE;
}

BOOL SECWorkspaceManagerEx::CloseFrameExtras(void*, CWnd*) { return TRUE; }

// ---------------------------------------------------------------------------------------------
// The recent-workspace list

CString SECWorkspaceManagerEx::GetWorkspaceListKey() const
{
  return m_nStorageMode != SEC_WORKSPACE_PROFILE ? "__MRURegList" : "__MRUFileList";
}

HKEY SECWorkspaceManagerEx::OpenListKey(BOOL bCreate) const
{
  HKEY hParent = HKEY_CURRENT_USER;
  CString strKey = m_strBaseKey + GetWorkspaceListKey();
  HKEY hSection = NULL;
  if (m_bListUnderAppKey) {
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL)
      return NULL;
    CString strSection = m_strBaseKey;
    strSection.TrimRight('\\');
    hSection = pApp->GetSectionKey(strSection);
    if (hSection == NULL)
      return NULL;
    hParent = hSection;
    strKey = GetWorkspaceListKey();
  }
  HKEY hKey = NULL;
  LONG rc = bCreate ? ::RegCreateKeyExA(hParent, strKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &hKey,
                                        NULL)
                    : ::RegOpenKeyExA(hParent, strKey, 0, KEY_ALL_ACCESS, &hKey);
  if (hSection != NULL)
    ::RegCloseKey(hSection);
  return rc == ERROR_SUCCESS ? hKey : NULL;
}

BOOL SECWorkspaceManagerEx::ReadWorkspaceList(CStringList& list)
{
  HKEY hKey = OpenListKey(FALSE);
  if (hKey == NULL)
    return FALSE;
  for (int i = 0; i < m_nMaxListCount; i++) {
    char value[1024];
    DWORD type = 0, size = sizeof(value) - 1;
    if (::RegQueryValueExA(hKey, Numbered("Workspace%d", i), NULL, &type, (LPBYTE)value,
                           &size) != ERROR_SUCCESS ||
        type != REG_SZ)
      continue;
    value[size < sizeof(value) ? size : sizeof(value) - 1] = 0;
    list.AddTail(value);
  }
  ::RegCloseKey(hKey);
  return TRUE;
}

BOOL SECWorkspaceManagerEx::WriteWorkspaceList(const CStringList& list)
{
  HKEY hKey = OpenListKey(FALSE);
  if (hKey != NULL) {
    // The old entries go: a shorter list leaves none behind.
    char name[256];
    DWORD size = sizeof name;
    while (::RegEnumValueA(hKey, 0, name, &size, NULL, NULL, NULL, NULL) == ERROR_SUCCESS &&
           ::RegDeleteValueA(hKey, name) == ERROR_SUCCESS)
      size = sizeof name;
    ::RegCloseKey(hKey);
  }
  hKey = OpenListKey(TRUE);
  if (hKey == NULL)
    return FALSE;
  int i = 0;
  BOOL bWritten = TRUE;
  for (POSITION pos = list.GetHeadPosition(); pos != NULL && i < m_nMaxListCount; i++) {
    const CString& name = list.GetNext(pos);
    if (::RegSetValueExA(hKey, Numbered("Workspace%d", i), 0, REG_SZ, (const BYTE*)(LPCTSTR)name,
                         name.GetLength() + 1) != ERROR_SUCCESS)
      bWritten = FALSE;
  }
  ::RegCloseKey(hKey);
  return bWritten;
}

void SECWorkspaceManagerEx::AddToWorkspaceList(LPCTSTR lpszName, CStringList& list)
{
  for (POSITION pos = list.GetHeadPosition(); pos != NULL;) {
    POSITION here = pos;
    if (list.GetNext(pos) == lpszName)
      list.RemoveAt(here);
  }
  list.AddHead(lpszName);
  while (list.GetCount() > m_nMaxListCount)
    list.RemoveTail();
}

BOOL SECWorkspaceManagerEx::RemoveFromWorkspaceList(LPCTSTR lpszName)
{
  CStringList list;
  if (!ReadWorkspaceList(list))
    return FALSE;
  POSITION pos = list.Find(lpszName);
  if (pos == NULL)
    return FALSE;
  list.RemoveAt(pos);
  return WriteWorkspaceList(list);
}

// ---------------------------------------------------------------------------------------------
// Prompts

BOOL SECWorkspaceManagerEx::GetWorkspaceName(CString& strName, BOOL bSaving)
{
  strName.Empty();
  if (m_nStorageMode != SEC_WORKSPACE_PROFILE)
    return ManageWorkspaces(strName, !bSaving, bSaving);
  return PromptForWorkspaceFile(strName, bSaving);
}

BOOL SECWorkspaceManagerEx::PromptForWorkspaceFile(CString& strName, BOOL bSaving)
{
  CString strTitle = LoadText(bSaving ? IDS_SEC_WS_SAVE_TITLE : IDS_SEC_WS_OPEN_TITLE);
  DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
  if (!bSaving)
    dwFlags |= OFN_FILEMUSTEXIST;
  CString strExt = m_strFileFilter.GetLength() > 2 ? m_strFileFilter.Mid(2) : CString();
  CString strFilter;
  strFilter.Format("%s (%s)|%s|%s (%s)|%s||", (LPCTSTR)LoadText(IDS_SEC_WS_FILTER_NAME),
                   (LPCTSTR)m_strFileFilter, (LPCTSTR)m_strFileFilter,
                   (LPCTSTR)LoadText(IDS_SEC_WS_ALL_FILES), "*.*", "*.*");
  CFileDialog dlg(!bSaving, strExt.IsEmpty() ? NULL : (LPCTSTR)strExt, NULL, dwFlags, strFilter,
                  m_pHostFrame);
  dlg.m_ofn.lpstrTitle = strTitle;
  if (dlg.DoModal() != IDOK)
    return FALSE;
  strName = dlg.GetPathName();
  return TRUE;
}

BOOL SECWorkspaceManagerEx::ManageWorkspaces(CString& strName, BOOL bOpenAllowed,
                                             BOOL bSaveAllowed)
{
  CStringList asRead, edited, removed;
  ReadWorkspaceList(asRead);
  edited.AddTail(&asRead);
  SECWsMgrDialogEx dlg(asRead, edited, removed, m_strWorkspace, bOpenAllowed, bSaveAllowed,
                       m_pHostFrame);
  if (dlg.DoModal() != IDOK)
    return FALSE;
  ApplyWorkspaceListEdits(asRead, edited, removed);
  WriteWorkspaceList(edited);
  strName = dlg.m_strName;
  return TRUE;
}

void SECWorkspaceManagerEx::ApplyWorkspaceListEdits(const CStringList& asRead, CStringList& edited,
                                                    const CStringList& removed)
{
  CString strBase = m_strBaseKey;
  for (POSITION pos = removed.GetHeadPosition(); pos != NULL;) {
    const CString& name = removed.GetNext(pos);
    // An empty name would name the base key itself, with every workspace and the list.
    if (name.IsEmpty())
      continue;
    ::RegDeleteTreeA(m_hRootKey, strBase + name);
    ::RegDeleteKeyA(m_hRootKey, strBase + name);
  }
  POSITION posOld = asRead.GetHeadPosition(), posNew = edited.GetHeadPosition();
  while (posOld != NULL && posNew != NULL) {
    const CString& oldName = asRead.GetNext(posOld);
    const CString& newName = edited.GetNext(posNew);
    if (oldName == newName || oldName.IsEmpty() || newName.IsEmpty())
      continue;
    // The old key goes only once the tree is safely under the new name.
    SECPersistentTreeNode root;
    root.InitNode(kRoot);
    SECPTNStrategyRegistry from(strBase + oldName, HKEY_CURRENT_USER);
    if (!root.ReadTree(&from))
      continue;
    SECPTNStrategyRegistry to(strBase + newName, HKEY_CURRENT_USER);
    if (!root.WriteTree(&to))
      continue;
    ::RegDeleteTreeA(HKEY_CURRENT_USER, strBase + oldName);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, strBase + oldName);
  }
  for (POSITION pos = removed.GetHeadPosition(); pos != NULL;) {
    POSITION found = edited.Find(removed.GetNext(pos));
    if (found != NULL)
      edited.RemoveAt(found);
  }
}

// ---------------------------------------------------------------------------------------------
// Commands

void SECWorkspaceManagerEx::OnWorkspaceNew() {}

void SECWorkspaceManagerEx::OnWorkspaceOpen()
{
  OpenWorkspacePrompt(FALSE, FALSE);
  m_bConsumed = TRUE;
}

void SECWorkspaceManagerEx::OnWorkspaceSave() { SaveWorkspace(m_strWorkspace); }

void SECWorkspaceManagerEx::OnWorkspaceClose()
{
  CloseWorkspace();
  m_bConsumed = TRUE;
}

void SECWorkspaceManagerEx::OnUpdateWorkspaceClose(CCmdUI* pCmdUI)
{
  pCmdUI->Enable(m_bWorkspaceOpen);
}

void SECWorkspaceManagerEx::OnWorkspaceSaveAs() { SaveWorkspace(""); }

void SECWorkspaceManagerEx::OnWorkspaceDelete() {}

BOOL SECWorkspaceManagerEx::OnWorkspaceRecent(UINT nID)
{
  CStringList list;
  ReadWorkspaceList(list);
  POSITION pos = list.FindIndex((INT_PTR)(nID - ID_WORKSPACE_MRU1));
  if (pos != NULL)
    OpenWorkspace(list.GetAt(pos), FALSE);
  return TRUE;
}

void SECWorkspaceManagerEx::OnUpdateWorkspaceRecent(CCmdUI* pCmdUI)
{
  CMenu* pMenu = pCmdUI->m_pMenu;
  if (pMenu == NULL || pMenu->GetMenuItemID(pCmdUI->m_nIndex) != ID_WORKSPACE_MRU1)
    return;
  for (int i = (int)pMenu->GetMenuItemCount() - 1; i >= 0; i--) {
    UINT nID = pMenu->GetMenuItemID(i);
    if (nID >= ID_WORKSPACE_MRU1 && nID <= ID_WORKSPACE_MRU9)
      pMenu->DeleteMenu(i, MF_BYPOSITION);
  }
  CStringList list;
  if (ReadWorkspaceList(list) && !list.IsEmpty()) {
    int i = 0;
    for (POSITION pos = list.GetHeadPosition(); pos != NULL && i < m_nMaxListCount; i++) {
      const CString& name = list.GetNext(pos);
      CString strText;
      strText.Format("&%d %s", i + 1, (LPCTSTR)name);
      UINT nFlags = MF_STRING | MF_BYPOSITION;
      if (name == m_strWorkspace)
        nFlags |= MF_CHECKED;
      pMenu->InsertMenu(pCmdUI->m_nIndex + i, nFlags, ID_WORKSPACE_MRU1 + i, strText);
    }
    pCmdUI->m_nIndexMax = pMenu->GetMenuItemCount();
    pCmdUI->m_bEnableChanged = TRUE;
  } else {
    pMenu->InsertMenu(pCmdUI->m_nIndex, MF_STRING | MF_BYPOSITION | MF_GRAYED, ID_WORKSPACE_MRU1,
                      LoadText(IDS_SEC_WS_NONE));
  }
}
