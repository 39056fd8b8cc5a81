// The workspace manager: the tree a save writes to a profile file and what opening it
// restores (placement, title, bars), the recent list, a missing or unreadable workspace, a
// read-only target, a cut placement, the menu list, the commands that stop at the plug-in,
// documents and frames of a multiple-document template, and registry mode with list edits.
#include "../../brenic/core/dialog_answers.h"
#include "SECControlBar.h"
#include "SECControlBarManager.h"
#include "SECDocTemplateUtils.h"
#include "SECDockBar.h"
#include "SECFrameWnd.h"
#include "SECPersistentTree.h"
#include "SECResource.h"
#include "SECWorkspaceManager.h"
#include <afxpriv.h>
#include <string>
#include <vector>

#define IDR_WSDOC 300

namespace {

class CTestApp : public CWinApp {
 public:
  CTestApp() : CWinApp("SEC Workspace Tester") {}
};
CTestApp theApp;

const char kKey[] = "Software\\Quorvel Tests\\Workspaces\\";
std::vector<std::string> g_log;

// A document that records the save command it gets and, when asked to, takes a path then.
class CWsDoc : public CDocument {
  DECLARE_DYNCREATE(CWsDoc)
 public:
  CString m_strPathOnSave;  // the path the save command gives it (none: it stays unnamed)
  void OnFileSave()
  {
    g_log.push_back("save " + std::string((LPCTSTR)GetTitle()));
    if (!m_strPathOnSave.IsEmpty())
      SetPathName(m_strPathOnSave, FALSE);
    SetModifiedFlag(FALSE);
  }
  BOOL OnOpenDocument(LPCTSTR) override { return TRUE; }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CWsDoc, CDocument)
BEGIN_MESSAGE_MAP(CWsDoc, CDocument)
  ON_COMMAND(57603, OnFileSave)
END_MESSAGE_MAP()

class CWsView : public CView {
  DECLARE_DYNCREATE(CWsView)
 public:
  void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CWsView, CView)

// A host frame with handlers of its own for two workspace commands, to see which reach it.
class CHostFrame : public SECFrameWnd {
 public:
  void OnOpen() { g_log.push_back("frame open"); }
  void OnSave() { g_log.push_back("frame save"); }
  void OnClose2() { g_log.push_back("frame close"); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CHostFrame, SECFrameWnd)
  ON_COMMAND(ID_WORKSPACE_OPEN, OnOpen)
  ON_COMMAND(ID_WORKSPACE_SAVE, OnSave)
  ON_COMMAND(ID_WORKSPACE_CLOSE, OnClose2)
END_MESSAGE_MAP()

// The prompts answer from the test instead of showing file dialogs.
class CTestManager : public SECWorkspaceManagerEx {
  DECLARE_DYNCREATE(CTestManager)
 public:
  CString m_strAnswer;
  int m_nPrompts = 0;
  BOOL PromptForWorkspaceFile(CString& strName, BOOL) override
  {
    m_nPrompts++;
    strName = m_strAnswer;
    return !m_strAnswer.IsEmpty();
  }
};
IMPLEMENT_DYNCREATE(CTestManager, SECWorkspaceManagerEx)

// A bar manager that writes and reads a node of its own.
class CTestBarManager : public SECControlBarManager {
 public:
  int m_nLoaded = 0;
  BOOL SaveState(SECPTNFactory& factory, SECPersistentTreeNode* pNode) override
  {
    SECPersistentTreeNode* p = factory.CreateNode("ToolBarMgr", pNode);
    return p != NULL && p->SetIntValue("Tips", 1) == SECPTN_OK;
  }
  BOOL LoadState(SECPersistentTreeNode* pNode) override
  {
    m_nLoaded += pNode != NULL && pNode->FindChild("ToolBarMgr") != NULL;
    return TRUE;
  }
};

std::string Profile(const CString& file, const char* section, const char* key)
{
  char value[4096] = "";
  GetPrivateProfileStringA(section, key, "", value, sizeof value, file);
  return value;
}

bool HasSection(const CString& file, const char* section)
{
  char keys[4096] = "";
  return GetPrivateProfileStringA(section, NULL, "", keys, sizeof keys, file) > 0;
}

class WorkspaceTest : public testing::Test {
 protected:
  CHostFrame* m_pFrame = nullptr;
  CTestManager* m_pManager = nullptr;
  CTestBarManager m_barManager;
  CString m_strDir;

  void SetUp() override
  {
    static char cmdLine[] = "";
    ASSERT_TRUE(AfxWinInit(::GetModuleHandleA(NULL), NULL, cmdLine, SW_SHOWNORMAL));
    if (theApp.m_pszRegistryKey == NULL)
      theApp.SetRegistryKey("Quorvel Tests");
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quorvel Tests\\Workspaces");
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    m_strDir.Format("%sqws%lu\\", temp, GetCurrentProcessId());
    CreateDirectoryA(m_strDir, NULL);
    m_pFrame = new CHostFrame;
    ASSERT_TRUE(m_pFrame->Create(NULL, "Workspace host", WS_OVERLAPPEDWINDOW, CRect(10, 20, 610, 460)));
    theApp.m_pMainWnd = m_pFrame;
    m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
    m_pFrame->SetControlBarManager(&m_barManager);
    m_pFrame->ShowWindow(SW_SHOWNORMAL);
    m_pManager = (CTestManager*)m_pFrame->CreateWorkspaceManager(RUNTIME_CLASS(CTestManager), kKey);
    ASSERT_NE(m_pManager, nullptr);
    g_log.clear();
  }
  void TearDown() override
  {
    CloseDocuments();
    if (m_pFrame != nullptr)
      m_pFrame->DestroyWindow();
    theApp.m_pMainWnd = NULL;
    while (theApp.m_pDocManager != NULL && !theApp.m_pDocManager->m_templateList.IsEmpty())
      delete (CDocTemplate*)theApp.m_pDocManager->m_templateList.RemoveHead();
    // The folder goes with everything in it.
    WIN32_FIND_DATAA found;
    HANDLE hFind = FindFirstFileA(m_strDir + "*", &found);
    while (hFind != INVALID_HANDLE_VALUE) {
      CString path = m_strDir + found.cFileName;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveDirectoryA(path);
      else
        DeleteFileA(path);
      if (!FindNextFileA(hFind, &found))
        break;
    }
    if (hFind != INVALID_HANDLE_VALUE)
      FindClose(hFind);
    RemoveDirectoryA(m_strDir);
  }
  void CloseDocuments()
  {
    if (theApp.m_pDocManager != NULL)
      theApp.m_pDocManager->CloseAllDocuments(FALSE);
  }
  CString File(const char* name) { return m_strDir + name; }
  std::vector<std::string> List()
  {
    CStringList list;
    m_pManager->ReadWorkspaceList(list);
    std::vector<std::string> v;
    for (POSITION pos = list.GetHeadPosition(); pos != NULL;)
      v.push_back((LPCTSTR)list.GetNext(pos));
    return v;
  }
  SECControlBar* NewBar(UINT nID)
  {
    SECControlBar* pBar = new SECControlBar;
    pBar->m_bAutoDelete = TRUE;
    EXPECT_TRUE(pBar->Create(m_pFrame, "Bar", WS_CHILD | WS_VISIBLE | CBRS_TOP, 0, nID));
    pBar->EnableDocking(CBRS_ALIGN_ANY);
    return pBar;
  }
};

}  // namespace

TEST_F(WorkspaceTest, ProfileSaveWritesTheTreeAndOpenRestoresFrameAndBars)
{
  SECControlBar* pDocked = NewBar(0xE840);
  SECControlBar* pFloating = NewBar(0xE841);
  SECControlBar* pHidden = NewBar(0xE842);
  m_pFrame->DockControlBarEx(pDocked, AFX_IDW_DOCKBAR_TOP, 0, 0, 1.0f, 60);
  m_pFrame->DockControlBarEx(pHidden, AFX_IDW_DOCKBAR_LEFT, 0, 0, 1.0f, 80);
  m_pFrame->FloatControlBar(pFloating, CPoint(200, 200));
  m_pFrame->ShowControlBar(pHidden, FALSE, FALSE);
  m_pFrame->RecalcLayout();
  WINDOWPLACEMENT saved;
  m_pFrame->GetWindowPlacement(&saved);

  CString file = File("one.wsp");
  ASSERT_TRUE(m_pManager->SaveWorkspace(file));
  EXPECT_EQ(Profile(file, "WorkState_v1_1.Frames.MainFrame", "WindowPlacement").size(), 88u);
  EXPECT_EQ(Profile(file, "WorkState_v1_1.Frames.MainFrame", "Title"), "Workspace host");
  EXPECT_EQ(Profile(file, "WorkState_v1_1", "ptn_Child1"), "DockState");
  EXPECT_EQ(Profile(file, "WorkState_v1_1", "ptn_Child2"), "ToolBarMgr");
  EXPECT_EQ(Profile(file, "WorkState_v1_1", "ptn_Child3"), "Frames");
  EXPECT_NE(Profile(file, "WorkState_v1_1.DockState", "Bars"), "0");
  EXPECT_TRUE(HasSection(file, "WorkState_v1_1.DockState.Bar-0"));
  EXPECT_EQ(Profile(file, "WorkState_v1_1.ToolBarMgr", "Tips"), "1");
  CString name;
  EXPECT_TRUE(m_pManager->GetActiveWorkspace(name));
  EXPECT_EQ(name, file);

  // Change everything, then open it again.
  m_pFrame->MoveWindow(50, 60, 500, 300);
  m_pFrame->SetWindowText("Changed");
  m_pFrame->DockControlBarEx(pFloating, AFX_IDW_DOCKBAR_BOTTOM, 0, 0, 1.0f, 50);
  m_pFrame->ShowControlBar(pHidden, TRUE, FALSE);
  m_pFrame->DockControlBarEx(pDocked, AFX_IDW_DOCKBAR_RIGHT, 0, 0, 1.0f, 70);
  m_pFrame->RecalcLayout();
  ASSERT_TRUE(m_pManager->OpenWorkspace(file, TRUE));
  CString title;
  m_pFrame->GetWindowText(title);
  EXPECT_EQ(title, "Workspace host");
  WINDOWPLACEMENT now;
  m_pFrame->GetWindowPlacement(&now);
  EXPECT_EQ(CRect(now.rcNormalPosition), CRect(saved.rcNormalPosition));
  EXPECT_TRUE(pFloating->IsFloating());
  EXPECT_FALSE(pHidden->IsWindowVisible());
  EXPECT_EQ(pDocked->GetParent()->GetDlgCtrlID(), AFX_IDW_DOCKBAR_TOP);
  EXPECT_EQ(m_barManager.m_nLoaded, 1);
  EXPECT_EQ(List(), std::vector<std::string>{(LPCTSTR)file});
}

TEST_F(WorkspaceTest, AStoredBarCountBeyondTheRecordsReadsOnlyTheRecordsThere)
{
  // A damaged or hand-edited file may claim any number of bars: opening it must read the
  // records it holds and finish, not walk a billion names that are not there.
  SECControlBar* pDocked = NewBar(0xE840);
  m_pFrame->DockControlBarEx(pDocked, AFX_IDW_DOCKBAR_TOP, 0, 0, 1.0f, 60);
  m_pFrame->RecalcLayout();
  CString file = File("count.wsp");
  ASSERT_TRUE(m_pManager->SaveWorkspace(file));
  for (const char* count : {"999999999", "2147483647", "-5"}) {
    SCOPED_TRACE(count);
    WritePrivateProfileStringA("WorkState_v1_1.DockState", "Bars", count, file);
    m_pFrame->DockControlBarEx(pDocked, AFX_IDW_DOCKBAR_LEFT, 0, 0, 1.0f, 70);
    m_pFrame->RecalcLayout();
    ASSERT_TRUE(m_pManager->OpenWorkspace(file, TRUE));
    // A negative count holds no records; a large one holds those the file has.
    int nExpected = count[0] == '-' ? AFX_IDW_DOCKBAR_LEFT : AFX_IDW_DOCKBAR_TOP;
    EXPECT_EQ(pDocked->GetParent()->GetDlgCtrlID(), nExpected);
  }
}

TEST_F(WorkspaceTest, RecentListMissingAndReadOnlyWorkspacesAndCutPlacements)
{
  // Nine saves: the newest first, the first one dropped.
  for (int i = 1; i <= 9; i++) {
    CString name;
    name.Format("w%d.wsp", i);
    ASSERT_TRUE(m_pManager->SaveWorkspace(File(name)));
  }
  std::vector<std::string> list = List();
  ASSERT_EQ(list.size(), 8u);
  EXPECT_EQ(list.front(), (LPCTSTR)File("w9.wsp"));
  EXPECT_EQ(list.back(), (LPCTSTR)File("w2.wsp"));
  // Saving under the current name leaves the list alone.
  CStringList reordered;
  for (auto it = list.rbegin(); it != list.rend(); ++it)
    reordered.AddTail(it->c_str());
  ASSERT_TRUE(m_pManager->WriteWorkspaceList(reordered));
  ASSERT_TRUE(m_pManager->SaveActiveWorkspace());
  EXPECT_EQ(List().front(), (LPCTSTR)File("w2.wsp"));

  // A missing file: the message (unless quiet), and it leaves the list.
  ASSERT_TRUE(DeleteFileA(File("w5.wsp")));
  {
    DialogAnswers answers;
    EXPECT_FALSE(m_pManager->OpenWorkspace(File("w5.wsp"), FALSE));
    ASSERT_EQ(answers.Count(), 1u);
    EXPECT_TRUE(answers.Saw("Invalid workspace. Operation has been cancelled."));
    ASSERT_TRUE(DeleteFileA(File("w6.wsp")));
    EXPECT_FALSE(m_pManager->OpenWorkspace(File("w6.wsp"), TRUE));
    EXPECT_EQ(answers.Count(), 1u);
  }
  list = List();
  EXPECT_EQ(list.size(), 6u);
  for (const std::string& s : list)
    EXPECT_TRUE(s.find("w5") == std::string::npos && s.find("w6") == std::string::npos) << s;

  // A target that cannot be written (a folder; the tests run as a user that may write
  // read-only files): the save fails and nothing is listed or made current.
  CString locked = File("locked.wsp");
  ASSERT_TRUE(CreateDirectoryA(locked, NULL));
  EXPECT_FALSE(m_pManager->SaveWorkspace(locked));
  EXPECT_FALSE(m_pManager->SaveWorkspace(File("no such folder\\x.wsp")));
  CString current;
  m_pManager->GetActiveWorkspace(current);
  EXPECT_NE(current, locked);
  for (const std::string& s : List())
    EXPECT_EQ(s.find("locked"), std::string::npos);
  RemoveDirectoryA(locked);

  // A placement of another length is not applied; the title is.
  CString cut = File("cut.wsp");
  ASSERT_TRUE(m_pManager->SaveWorkspace(cut));
  std::string wp = Profile(cut, "WorkState_v1_1.Frames.MainFrame", "WindowPlacement");
  WritePrivateProfileStringA("WorkState_v1_1.Frames.MainFrame", "WindowPlacement",
                             wp.substr(0, 80).c_str(), cut);
  m_pFrame->MoveWindow(70, 80, 400, 250);
  m_pFrame->SetWindowText("Before");
  ASSERT_TRUE(m_pManager->OpenWorkspace(cut, TRUE));
  CRect rect;
  m_pFrame->GetWindowRect(&rect);
  EXPECT_EQ(rect, CRect(70, 80, 470, 330));
  CString title;
  m_pFrame->GetWindowText(title);
  EXPECT_EQ(title, "Workspace host");
}

TEST_F(WorkspaceTest, MenuListAndCommandsThatStopAtThePlugIn)
{
  CMenu menu;
  menu.CreatePopupMenu();
  menu.AppendMenu(MF_STRING, ID_WORKSPACE_SAVE, "Save");
  menu.AppendMenu(MF_STRING, ID_WORKSPACE_MRU1, "Recent");
  menu.AppendMenu(MF_STRING, ID_APP_EXIT, "Exit");
  auto update = [&]() {
    CCmdUI state;
    state.m_pMenu = &menu;
    state.m_nIndex = 1;
    state.m_nID = ID_WORKSPACE_MRU1;
    state.m_nIndexMax = menu.GetMenuItemCount();
    m_pFrame->OnCmdMsg(ID_WORKSPACE_MRU1, CN_UPDATE_COMMAND_UI, &state, NULL);
  };
  update();
  ASSERT_EQ(menu.GetMenuItemCount(), 3u);
  CString text;
  menu.GetMenuString(1, text, MF_BYPOSITION);
  EXPECT_EQ(text, "(none)");
  EXPECT_TRUE(menu.GetMenuState(1, MF_BYPOSITION) & MF_GRAYED);

  const char* names[] = {"c.wsp", "b.wsp", "a.wsp"};
  for (const char* n : names)
    ASSERT_TRUE(m_pManager->SaveWorkspace(File(n)));  // a.wsp is current and first
  update();
  ASSERT_EQ(menu.GetMenuItemCount(), 5u);
  for (int i = 0; i < 3; i++) {
    menu.GetMenuString(1 + i, text, MF_BYPOSITION);
    CString want;
    want.Format("&%d %s", i + 1, (LPCTSTR)File(names[2 - i]));
    EXPECT_EQ(text, want);
    EXPECT_EQ(menu.GetMenuItemID(1 + i), (UINT)(ID_WORKSPACE_MRU1 + i));
    EXPECT_EQ((menu.GetMenuState(1 + i, MF_BYPOSITION) & MF_CHECKED) != 0, i == 0) << i;
  }
  EXPECT_EQ(menu.GetMenuItemID(4), (UINT)ID_APP_EXIT);

  // Open and Close stop at the plug-in; Save goes on to the frame.
  m_pManager->m_strAnswer.Empty();
  m_pFrame->SendMessage(WM_COMMAND, ID_WORKSPACE_OPEN, 0);
  EXPECT_EQ(m_pManager->m_nPrompts, 1);
  m_pFrame->SendMessage(WM_COMMAND, ID_WORKSPACE_CLOSE, 0);
  CString name;
  EXPECT_FALSE(m_pManager->GetActiveWorkspace(name));
  m_pFrame->SendMessage(WM_COMMAND, ID_WORKSPACE_SAVE, 0);
  EXPECT_EQ(g_log, std::vector<std::string>{"frame save"});
  EXPECT_EQ(m_pManager->m_nPrompts, 2);  // no current name: asked

  // The recent command opens the entry.
  m_pFrame->SendMessage(WM_COMMAND, ID_WORKSPACE_MRU1 + 2, 0);
  EXPECT_TRUE(m_pManager->GetActiveWorkspace(name));
  EXPECT_EQ(name, File("c.wsp"));
}

TEST_F(WorkspaceTest, DocumentsAndFramesOfAMultipleDocumentTemplate)
{
  // Child frames have an active one only in a multiple-document frame: this host is one.
  CMDIFrameWnd* pMain = new CMDIFrameWnd;
  ASSERT_TRUE(pMain->LoadFrame(IDR_WSDOC));
  pMain->ShowWindow(SW_SHOW);
  theApp.m_pMainWnd = pMain;
  CTestManager manager;
  manager.SetRegistryKey(kKey);
  ASSERT_TRUE(manager.PlugInTo(pMain));
  m_pManager = &manager;
  CMultiDocTemplate* pTemplate = new CMultiDocTemplate(IDR_WSDOC, RUNTIME_CLASS(CWsDoc),
                                                       RUNTIME_CLASS(CMDIChildWnd),
                                                       RUNTIME_CLASS(CWsView));
  theApp.AddDocTemplate(pTemplate);
  CString pathA = File("a.doc"), pathC = File("c.doc");
  for (const CString& p : {pathA, pathC})
    CloseHandle(CreateFileA(p, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));

  // Document A in two frames, the first with a second view.
  CWsDoc* pA = (CWsDoc*)pTemplate->OpenDocumentFile(pathA);
  ASSERT_NE(pA, nullptr);
  POSITION pos = pA->GetFirstViewPosition();
  CFrameWnd* pFrame1 = pA->GetNextView(pos)->GetParentFrame();
  CFrameWnd* pFrame2 = pTemplate->CreateNewFrame(pA, pFrame1);
  ASSERT_NE(pFrame2, nullptr);
  pTemplate->InitialUpdateFrame(pFrame2, pA);
  CCreateContext context;
  context.m_pCurrentDoc = pA;
  CWsView* pExtra = new CWsView;
  ASSERT_TRUE(pExtra->Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), pFrame1,
                             AFX_IDW_PANE_FIRST + 1, &context));
  // Document B stays unnamed; document C is modified and named.
  CWsDoc* pB = (CWsDoc*)pTemplate->OpenDocumentFile(NULL);
  CWsDoc* pC = (CWsDoc*)pTemplate->OpenDocumentFile(pathC);
  ASSERT_TRUE(pB != nullptr && pC != nullptr);
  pC->SetModifiedFlag(TRUE);
  pFrame2->ActivateFrame();
  g_log.clear();

  CString file = File("docs.wsp");
  ASSERT_TRUE(m_pManager->SaveWorkspace(file));
  EXPECT_EQ(g_log, (std::vector<std::string>{"save " + std::string((LPCTSTR)pB->GetTitle()),
                                             "save " + std::string((LPCTSTR)pC->GetTitle())}));
  const char* doc0 = "WorkState_v1_1.Frames.ChildFrames.Document-0";
  EXPECT_EQ(Profile(file, "WorkState_v1_1.Frames.ChildFrames", "ptn_Child1"), "Document-0");
  EXPECT_EQ(Profile(file, "WorkState_v1_1.Frames.ChildFrames", "ptn_Child2"), "Document-1");
  EXPECT_EQ(Profile(file, "WorkState_v1_1.Frames.ChildFrames", "ptn_Child3"), "Document-2");
  EXPECT_EQ(Profile(file, doc0, "ptn_Child1"), "ViewFrame-0");
  EXPECT_EQ(Profile(file, doc0, "ptn_Child2"), "ViewFrame-1");
  std::string frame0 = std::string(doc0) + ".ViewFrame-0";
  std::string frame1 = std::string(doc0) + ".ViewFrame-1";
  EXPECT_EQ(Profile(file, frame0.c_str(), "DocPathName"), (LPCTSTR)pathA);
  EXPECT_EQ(Profile(file, frame0.c_str(), "DocumentString"), "Ws Document");
  EXPECT_EQ(Profile(file, frame0.c_str(), "DocTemplateIndex"), "0");
  EXPECT_EQ(Profile(file, frame0.c_str(), "WindowPlacement").size(), 88u);
  EXPECT_EQ(Profile(file, frame0.c_str(), "IsActiveChildFrame"), "False");
  EXPECT_EQ(Profile(file, frame1.c_str(), "IsActiveChildFrame"), "True");
  EXPECT_EQ(Profile(file, frame0.c_str(), "ptn_Child1"), "AdditionalViewPerFrame-0");
  EXPECT_EQ(Profile(file, (frame0 + ".AdditionalViewPerFrame-0").c_str(), "DocumentString"),
            "Ws Document");
  // The unnamed document keeps its node and has no frame node.
  EXPECT_TRUE(HasSection(file, "WorkState_v1_1.Frames.ChildFrames.Document-1") ||
              Profile(file, "WorkState_v1_1.Frames.ChildFrames", "ptn_Child2") == "Document-1");
  EXPECT_EQ(Profile(file, "WorkState_v1_1.Frames.ChildFrames.Document-1", "ptn_Child1"), "");
  EXPECT_EQ(Profile(file, "WorkState_v1_1.Frames.ChildFrames.Document-2.ViewFrame-0",
                    "DocPathName"),
            (LPCTSTR)pathC);

  // Opening closes the frames and brings documents and the active frame back.
  ASSERT_TRUE(m_pManager->OpenWorkspace(file, TRUE));
  std::vector<std::string> paths;
  int nFramesA = 0;
  CFrameWnd* pActiveA = nullptr;
  CFrameWnd* pActive = pMain->GetActiveFrame();
  POSITION posDoc = pTemplate->GetFirstDocPosition();
  while (posDoc != NULL) {
    CDocument* pDoc = pTemplate->GetNextDoc(posDoc);
    paths.push_back((LPCTSTR)pDoc->GetPathName());
    if (pDoc->GetPathName() == pathA) {
      POSITION v = pDoc->GetFirstViewPosition();
      while (v != NULL) {
        CFrameWnd* f = pDoc->GetNextView(v)->GetParentFrame();
        nFramesA++;
        if (f == pActive)
          pActiveA = f;
      }
    }
  }
  EXPECT_EQ(paths, (std::vector<std::string>{(LPCTSTR)pathA, (LPCTSTR)pathC}));
  EXPECT_EQ(nFramesA, 2);
  EXPECT_NE(pActiveA, nullptr);
  CloseDocuments();
  manager.UnPlug();
  m_pManager = nullptr;
  pMain->DestroyWindow();
  theApp.m_pMainWnd = m_pFrame;
}

TEST_F(WorkspaceTest, RegistryModeSaveOpenAndListEdits)
{
  m_pManager->SetStorageMode(SEC_WORKSPACE_REGISTRY);
  EXPECT_EQ(m_pManager->GetWorkspaceListKey(), "__MRURegList");
  ASSERT_TRUE(m_pManager->SaveWorkspace("First"));
  ASSERT_TRUE(m_pManager->SaveWorkspace("Second"));
  ASSERT_TRUE(m_pManager->SaveWorkspace("Third"));
  HKEY hKey;
  std::string base = std::string(kKey);
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, (base + "First\\WorkState_v1_1\\Frames\\MainFrame").c_str(),
                          0, KEY_READ, &hKey),
            ERROR_SUCCESS);
  RegCloseKey(hKey);
  m_pFrame->SetWindowText("Changed");
  ASSERT_TRUE(m_pManager->OpenWorkspace("First", TRUE));
  CString title;
  m_pFrame->GetWindowText(title);
  EXPECT_EQ(title, "Workspace host");
  EXPECT_EQ(List(), (std::vector<std::string>{"First", "Third", "Second"}));

  // Edits: "Third" renamed (its tree copied), "Second" removed, and a rename whose write
  // fails (a name too long for a key) keeps the old key.
  CStringList asRead, edited, removed;
  const char* read[] = {"First", "Third", "Second"};
  for (const char* n : read)
    asRead.AddTail(n);
  std::string tooLong(300, 'x');
  edited.AddTail(tooLong.c_str());
  edited.AddTail("Renamed");
  removed.AddTail("Second");
  removed.AddTail("");  // never the base key itself
  m_pManager->ApplyWorkspaceListEdits(asRead, edited, removed);
  auto exists = [&](const std::string& name) {
    HKEY h;
    bool ok = RegOpenKeyExA(HKEY_CURRENT_USER, (base + name + "\\WorkState_v1_1").c_str(), 0,
                            KEY_READ, &h) == ERROR_SUCCESS;
    if (ok)
      RegCloseKey(h);
    return ok;
  };
  EXPECT_TRUE(exists("Renamed"));
  EXPECT_FALSE(exists("Third"));
  EXPECT_FALSE(exists("Second"));
  EXPECT_TRUE(exists("First"));
  EXPECT_EQ(edited.GetCount(), 2);
  ASSERT_TRUE(RegOpenKeyExA(HKEY_CURRENT_USER, (base + "Renamed\\WorkState_v1_1\\Frames\\MainFrame").c_str(),
                            0, KEY_READ, &hKey) == ERROR_SUCCESS);
  char value[64] = "";
  DWORD size = sizeof value;
  RegQueryValueExA(hKey, "Title", NULL, NULL, (LPBYTE)value, &size);
  RegCloseKey(hKey);
  EXPECT_STREQ(value, "Workspace host");
  // The list key is still there too.
  EXPECT_FALSE(List().empty());
}

// ---------------------------------------------------------------------------------------------
// Document template helpers

namespace {
class CDocA : public CDocument {
  DECLARE_DYNCREATE(CDocA)
};
IMPLEMENT_DYNCREATE(CDocA, CDocument)
class CDocB : public CDocument {
  DECLARE_DYNCREATE(CDocB)
};
IMPLEMENT_DYNCREATE(CDocB, CDocument)
class CViewB : public CWsView {
  DECLARE_DYNCREATE(CViewB)
};
IMPLEMENT_DYNCREATE(CViewB, CWsView)
}  // namespace

TEST_F(WorkspaceTest, DocumentTemplateHelpers)
{
  SECDocTemplateUtils utils;
  auto make = [](UINT id, CRuntimeClass* doc, CRuntimeClass* view) {
    return new CMultiDocTemplate(id, doc, RUNTIME_CLASS(CMDIChildWnd), view);
  };
  // One template: every view gets it, whatever its classes.
  CMultiDocTemplate* t1 = make(IDR_WSDOC, RUNTIME_CLASS(CDocA), RUNTIME_CLASS(CWsView));
  theApp.AddDocTemplate(t1);
  CDocB docB;
  CViewB viewB;
  CFrameWnd frame;
  frame.m_nIDHelp = 999;
  EXPECT_EQ(utils.FindTemplateForView(&docB, &viewB, &frame), t1);
  EXPECT_EQ(utils.FindTemplateForView(&docB, &viewB, nullptr), nullptr);

  // More: by view and frame class, then by frame resource, then by document class, then the
  // document's own template or the first left.
  CMultiDocTemplate* t2 = make(IDR_WSDOC, RUNTIME_CLASS(CDocA), RUNTIME_CLASS(CViewB));
  CMultiDocTemplate* t3 = make(310, RUNTIME_CLASS(CDocA), RUNTIME_CLASS(CWsView));
  CMultiDocTemplate* t4 = make(IDR_WSDOC, RUNTIME_CLASS(CDocB), RUNTIME_CLASS(CWsView));
  CMultiDocTemplate* t5 = make(311, RUNTIME_CLASS(CDocA), RUNTIME_CLASS(CWsView));
  for (CDocTemplate* t : {(CDocTemplate*)t2, (CDocTemplate*)t3, (CDocTemplate*)t4, (CDocTemplate*)t5})
    theApp.AddDocTemplate(t);
  CDocA docA;
  CWsView viewA;
  CMDIChildWnd child;
  struct Case {
    CDocument* doc;
    CView* view;
    UINT resource;
    CDocTemplate* own;
    CDocTemplate* want;
  } cases[] = {
      {&docA, &viewB, IDR_WSDOC, nullptr, t2},  // the only one with that view
      {&docA, &viewA, 310, nullptr, t3},        // the only one of that resource
      {&docB, &viewA, IDR_WSDOC, nullptr, t4},  // the only one of that document class
      {&docA, &viewA, IDR_WSDOC, nullptr, t1},  // t1 and t5 left: the first
      {&docA, &viewA, 311, nullptr, t5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    child.m_nIDHelp = c.resource;
    EXPECT_EQ(utils.FindTemplateForView(c.doc, c.view, &child), c.want);
  }
  // The document's own template wins among those left.
  t5->AddDocument(&docA);
  child.m_nIDHelp = IDR_WSDOC;
  CPtrList list;
  ASSERT_TRUE(utils.GetTemplates(list));
  utils.FilterByViewAndFrame(list, &viewA, &child);
  utils.FilterByDocument(list, &docA);
  EXPECT_EQ(list.GetCount(), 3);  // t1, t3 and t5 (t5's resource 311 is not IDR_WSDOC)
  t5->RemoveDocument(&docA);

  // Type strings: t1, t2, t4 and t5 share "Ws Document", in template order.
  EXPECT_EQ(utils.GetTemplateIndex(t1, "Ws Document"), 0);
  EXPECT_EQ(utils.GetTemplateIndex(t2, "Ws Document"), 1);
  EXPECT_EQ(utils.GetTemplateIndex(t5, "Ws Document"), 3);
  EXPECT_EQ(utils.GetTemplateIndex(t3, "Other Type"), 0);
  EXPECT_EQ(utils.GetTemplateIndex(t3, "Ws Document"), -1);
  EXPECT_EQ(utils.FindTemplate("Ws Document", 1), t2);
  EXPECT_EQ(utils.FindTemplate("Ws Document", 5), t5);  // fewer matches: the last
  EXPECT_EQ(utils.FindTemplate("Nothing", 0), nullptr);
  CMultiDocTemplate loose(IDR_WSDOC, RUNTIME_CLASS(CDocA), RUNTIME_CLASS(CMDIChildWnd),
                          RUNTIME_CLASS(CWsView));
  EXPECT_EQ(utils.GetTemplateIndex(&loose, "Ws Document"), -1);
  EXPECT_EQ(utils.GetTemplateIndex(nullptr, "Ws Document"), -1);

  CDocTemplate* single = nullptr;
  CPtrList empty, two;
  EXPECT_TRUE(utils.GetSingleTemplate(empty, single));
  EXPECT_EQ(single, nullptr);
  two.AddTail(t1);
  two.AddTail(t2);
  EXPECT_FALSE(utils.GetSingleTemplate(two, single));
  EXPECT_FALSE(utils.IsDockableFrameClass(nullptr));
  EXPECT_EQ(utils.GetTemplateFrameClass(t1, FALSE), RUNTIME_CLASS(CMDIChildWnd));
  EXPECT_EQ(utils.GetTemplateFrameClass(nullptr, FALSE), nullptr);
}
