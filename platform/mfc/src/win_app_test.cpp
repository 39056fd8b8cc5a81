// A single-document application on the windows layer, run headless: creation from
// resources, command routing, command-UI updates, layout, closing and the profile.
#include "afxwin.h"
#include "afxpriv.h"
#include "gtest_wine.h"
#include "win_app_test.h"
#include <stdio.h>
#include <string>
#include <vector>

namespace {

// The windows of these tests live on a desktop of the program's own.
const bool g_onOwnDesktop = RunOnOwnDesktop("QuorvelWinAppTests");

std::string g_log;               // handlers append their target's name
std::vector<std::string> g_boxes;  // texts of message boxes the application showed
int g_boxAnswer = IDNO;          // what a message box answers
int g_liveDocs = 0, g_liveViews = 0, g_liveFrames = 0;
BOOL g_checkState = TRUE;
BOOL g_saveThrows = FALSE;

void Log(const char* who)
{
  if (!g_log.empty())
    g_log += ' ';
  g_log += who;
}

class CTestDoc : public CDocument {
  DECLARE_DYNCREATE(CTestDoc)
 public:
  CTestDoc() { ++g_liveDocs; }
  ~CTestDoc() override { --g_liveDocs; }
  CString m_text = "payload";
  void Serialize(CArchive& ar) override
  {
    if (ar.IsStoring()) {
      ar << m_text;
      if (g_saveThrows)
        AfxThrowArchiveException(CArchiveException::generic);
    } else {
      ar >> m_text;
    }
  }
  BOOL OnRoute(UINT) { Log("doc"); return FALSE; }
  void OnDocOnly() { Log("doc-only"); }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTestDoc, CDocument)
BEGIN_MESSAGE_MAP(CTestDoc, CDocument)
  ON_COMMAND_EX(ID_TEST_ROUTE, OnRoute)
  ON_COMMAND(ID_TEST_DOCONLY, OnDocOnly)
END_MESSAGE_MAP()

// A bar along the top of the frame: it takes its height in the layout protocol and updates
// its buttons from the command handlers at idle time.
class CTestBar : public CWnd {
 public:
  enum { kHeight = 20 };
  enum { kWidth = 150 };  // what the bar asks for when the frame fits itself to its bars
  LRESULT OnSizeParent(WPARAM, LPARAM lParam)
  {
    AFX_SIZEPARENTPARAMS* p = (AFX_SIZEPARENTPARAMS*)lParam;
    CRect rc(p->rect.left, p->rect.top, p->bStretch ? p->rect.right : p->rect.left + kWidth,
             p->rect.top + kHeight);
    AfxRepositionWindow(p, m_hWnd, &rc);
    p->rect.top += kHeight;
    p->sizeTotal.cy += kHeight;
    if (p->sizeTotal.cx < rc.Width())
      p->sizeTotal.cx = rc.Width();
    return 0;
  }
  LRESULT OnIdleUpdate(WPARAM wParam, LPARAM)
  {
    CFrameWnd* pFrame = GetParentFrame();
    UpdateDialogControls(pFrame, (BOOL)wParam);
    // As a menu bar does: the items of the frame's first menu.
    HMENU hPopup = ::GetSubMenu(::GetMenu(pFrame->m_hWnd), 0);
    CCmdUI state;
    state.m_pMenu = CMenu::FromHandle(hPopup);
    state.m_nIndexMax = (UINT)::GetMenuItemCount(hPopup);
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
      state.m_nID = ::GetMenuItemID(hPopup, (int)state.m_nIndex);
      state.DoUpdate(pFrame, (BOOL)wParam);
    }
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestBar, CWnd)
  ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
END_MESSAGE_MAP()

class CTestView : public CView {
  DECLARE_DYNCREATE(CTestView)
 public:
  CTestView() { ++g_liveViews; }
  ~CTestView() override { --g_liveViews; }
  int m_nInitialUpdates = 0;
  void OnDraw(CDC*) override {}
  void OnInitialUpdate() override
  {
    ++m_nInitialUpdates;
    CView::OnInitialUpdate();
  }
  BOOL OnRoute(UINT) { Log("view"); return FALSE; }
  void OnAccel() { Log("accel"); }
  void OnThrowUser() { Log("throw-user"); AfxThrowUserException(); }
  void OnThrowMemory() { Log("throw-memory"); AfxThrowMemoryException(); }
  void OnThrowOther() { Log("throw-other"); throw 42; }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTestView, CView)
BEGIN_MESSAGE_MAP(CTestView, CView)
  ON_COMMAND_EX(ID_TEST_ROUTE, OnRoute)
  ON_COMMAND(ID_TEST_ACCEL, OnAccel)
  ON_COMMAND(ID_TEST_THROW_USER, OnThrowUser)
  ON_COMMAND(ID_TEST_THROW_MEMORY, OnThrowMemory)
  ON_COMMAND(ID_TEST_THROW_OTHER, OnThrowOther)
END_MESSAGE_MAP()

class CTestFrame : public CFrameWnd {
  DECLARE_DYNCREATE(CTestFrame)
 public:
  CTestFrame() { ++g_liveFrames; }
  ~CTestFrame() override { --g_liveFrames; }
  CTestBar m_bar;
  int OnCreate(LPCREATESTRUCT lpcs)
  {
    if (CFrameWnd::OnCreate(lpcs) == -1)
      return -1;
    if (!m_bar.Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this,
                      AFX_IDW_CONTROLBAR_FIRST + 0x20))
      return -1;
    HWND hCheck = ::CreateWindowExA(0, "BUTTON", "check", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX,
                                    0, 0, 50, 20, m_bar.m_hWnd, (HMENU)ID_TEST_CHECK, NULL, NULL);
    HWND hPush = ::CreateWindowExA(0, "BUTTON", "off", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 60,
                                   0, 50, 20, m_bar.m_hWnd, (HMENU)ID_TEST_DISABLED, NULL, NULL);
    HWND hOrphan = ::CreateWindowExA(0, "BUTTON", "none", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                     120, 0, 50, 20, m_bar.m_hWnd, (HMENU)ID_TEST_NOHANDLER, NULL,
                                     NULL);
    if (!hCheck || !hPush || !hOrphan)
      return -1;
    RecalcLayout();
    return 0;
  }
  BOOL OnRoute(UINT) { Log("frame"); return FALSE; }
  void OnUpdateCheck(CCmdUI* pCmdUI)
  {
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(g_checkState);
  }
  void OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
  void OnDisabled() { Log("disabled-ran"); }
  void OnCheck() { Log("check"); }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTestFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
  ON_WM_CREATE()
  ON_COMMAND_EX(ID_TEST_ROUTE, OnRoute)
  ON_COMMAND(ID_TEST_CHECK, OnCheck)
  ON_COMMAND(ID_TEST_DISABLED, OnDisabled)
  ON_UPDATE_COMMAND_UI(ID_TEST_CHECK, OnUpdateCheck)
  ON_UPDATE_COMMAND_UI(ID_TEST_DISABLED, OnUpdateDisabled)
END_MESSAGE_MAP()

class CTestTemplate : public CSingleDocTemplate {
 public:
  CTestTemplate()
      : CSingleDocTemplate(IDR_TESTFRAME, RUNTIME_CLASS(CTestDoc), RUNTIME_CLASS(CTestFrame),
                           RUNTIME_CLASS(CTestView))
  {
  }
  BOOL OnRoute(UINT) { Log("template"); return FALSE; }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestTemplate, CSingleDocTemplate)
  ON_COMMAND_EX(ID_TEST_ROUTE, OnRoute)
END_MESSAGE_MAP()

class CTestApp : public CWinApp {
 public:
  CTestApp() : CWinApp("Tester App") {}
  BOOL InitInstance() override
  {
    if (GetFirstDocTemplatePosition() == NULL)
      AddDocTemplate(new CTestTemplate);
    return TRUE;
  }
  int DoMessageBox(LPCTSTR lpszPrompt, UINT, UINT) override
  {
    g_boxes.push_back(lpszPrompt);
    return g_boxAnswer;
  }
  void OnRoute() { Log("app"); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
  ON_COMMAND(ID_TEST_ROUTE, OnRoute)
  ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew)
END_MESSAGE_MAP()

CTestApp theApp;

// Starts the application with a new document, as a program's start-up does.
class AppTest : public testing::Test {
 protected:
  void SetUp() override
  {
    g_log.clear();
    g_boxes.clear();
    g_boxAnswer = IDNO;
    g_checkState = TRUE;
    g_saveThrows = FALSE;
    static char cmdLine[] = "";
    ASSERT_TRUE(AfxWinInit(::GetModuleHandleA(NULL), NULL, cmdLine, SW_SHOWNORMAL));
    ASSERT_TRUE(theApp.InitInstance());
  }
  void TearDown() override
  {
    // Whatever the test did, the application ends: close the main window and run the loop
    // until it quits.
    if (theApp.m_pMainWnd != NULL)
      theApp.m_pMainWnd->PostMessage(WM_CLOSE);
    else
      ::PostQuitMessage(0);
    theApp.Run();
    EXPECT_EQ(theApp.m_pMainWnd, (CWnd*)NULL);
    EXPECT_EQ(CFrameWnd::GetFirstFrameWnd(), (CFrameWnd*)NULL);
    EXPECT_EQ(g_liveFrames, 0);
    EXPECT_EQ(g_liveViews, 0);
    EXPECT_EQ(g_liveDocs, 0);
  }
  CTestFrame* StartNew()
  {
    CCommandLineInfo info;
    theApp.ParseCommandLine(info);
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileNew);
    EXPECT_TRUE(theApp.ProcessShellCommand(info));
    return (CTestFrame*)theApp.m_pMainWnd;
  }
  static void Pump()
  {
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT)
      theApp.PumpMessage();
  }
};

TEST_F(AppTest, NewDocumentBuildsFrameViewAndDocumentFromResources)
{
  CTestFrame* pFrame = StartNew();
  ASSERT_NE(pFrame, nullptr);
  ASSERT_TRUE(pFrame->IsKindOf(RUNTIME_CLASS(CTestFrame)));
  CTestView* pView = (CTestView*)pFrame->GetActiveView();
  ASSERT_NE(pView, nullptr);
  EXPECT_TRUE(pView->IsKindOf(RUNTIME_CLASS(CTestView)));
  EXPECT_EQ(pView->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
  EXPECT_EQ(pView->m_nInitialUpdates, 1);
  CDocument* pDoc = pFrame->GetActiveDocument();
  ASSERT_NE(pDoc, nullptr);
  EXPECT_EQ(pView->GetDocument(), pDoc);
  EXPECT_TRUE(pDoc->GetDocTemplate()->IsKindOf(RUNTIME_CLASS(CSingleDocTemplate)));
  // Title: the template's document name, " - " and the frame title, both from its string.
  EXPECT_STREQ(pDoc->GetTitle(), "Sheet");
  CString caption;
  pFrame->GetWindowText(caption);
  EXPECT_STREQ(caption, "Sheet - Tester");
  EXPECT_TRUE(pFrame->IsWindowVisible());
  EXPECT_NE(::GetMenu(pFrame->m_hWnd), (HMENU)NULL);
  CString docString;
  EXPECT_TRUE(pDoc->GetDocTemplate()->GetDocString(docString, CDocTemplate::regFileTypeId));
  EXPECT_STREQ(docString, "Tester.Document");

  // New again reuses the single document and frame.
  theApp.OnFileNew();
  EXPECT_EQ(theApp.m_pMainWnd, pFrame);
  EXPECT_EQ(pFrame->GetActiveDocument(), pDoc);
  EXPECT_EQ(g_liveDocs, 1);
}

TEST_F(AppTest, MenuCommandVisitsViewDocumentTemplateFrameAndApplication)
{
  CTestFrame* pFrame = StartNew();
  ASSERT_NE(pFrame, nullptr);
  pFrame->SendMessage(WM_COMMAND, ID_TEST_ROUTE, 0);
  EXPECT_EQ(g_log, "view doc template frame app");

  // A handler ends the walk: the document's command never reaches the frame.
  g_log.clear();
  pFrame->SendMessage(WM_COMMAND, ID_TEST_DOCONLY, 0);
  EXPECT_EQ(g_log, "doc-only");

  // A tool tip asks the frame for the text after the newline of the command's string.
  TOOLTIPTEXTA ttt;
  memset(&ttt, 0, sizeof(ttt));
  HWND hTip = ::CreateWindowExA(0, TOOLTIPS_CLASSA, NULL, WS_POPUP, 0, 0, 0, 0, pFrame->m_hWnd,
                                NULL, NULL, NULL);
  ASSERT_NE(hTip, (HWND)NULL);
  ttt.hdr.hwndFrom = hTip;
  ttt.hdr.idFrom = ID_TEST_ROUTE;
  ttt.hdr.code = TTN_NEEDTEXTA;
  pFrame->SendMessage(WM_NOTIFY, ID_TEST_ROUTE, (LPARAM)&ttt);
  EXPECT_STREQ(ttt.szText, "Route");
  ::DestroyWindow(hTip);

  // An update handler that disables its command keeps the command from running.
  g_log.clear();
  pFrame->SendMessage(WM_COMMAND, ID_TEST_DISABLED, 0);
  EXPECT_EQ(g_log, "");

  // The accelerator table of the frame's resource turns F5 into a command for the view.
  g_log.clear();
  pFrame->GetActiveView()->PostMessage(WM_KEYDOWN, VK_F5, 0x003F0001);
  Pump();
  EXPECT_EQ(g_log, "accel");
}

TEST_F(AppTest, CommandUIUpdatesMenuItemsAndControlsAtIdleTime)
{
  CTestFrame* pFrame = StartNew();
  ASSERT_NE(pFrame, nullptr);
  HWND hBar = pFrame->m_bar.m_hWnd;
  HWND hCheck = ::GetDlgItem(hBar, ID_TEST_CHECK);
  HWND hPush = ::GetDlgItem(hBar, ID_TEST_DISABLED);
  HWND hOrphan = ::GetDlgItem(hBar, ID_TEST_NOHANDLER);

  // Idle time: the bar asks the handlers through the frame.
  g_checkState = TRUE;
  theApp.OnIdle(0);
  EXPECT_EQ(::SendMessageA(hCheck, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_TRUE(::IsWindowEnabled(hCheck));
  EXPECT_FALSE(::IsWindowEnabled(hPush));
  EXPECT_FALSE(::IsWindowEnabled(hOrphan));  // a push button without handler
  HMENU hPopup = ::GetSubMenu(::GetMenu(pFrame->m_hWnd), 0);
  EXPECT_TRUE(::GetMenuState(hPopup, ID_TEST_CHECK, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_TRUE(::GetMenuState(hPopup, ID_TEST_DISABLED, MF_BYCOMMAND) & MF_GRAYED);
  g_checkState = FALSE;
  theApp.OnIdle(0);
  EXPECT_EQ(::SendMessageA(hCheck, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_FALSE(::GetMenuState(hPopup, ID_TEST_CHECK, MF_BYCOMMAND) & MF_CHECKED);

  // A menu that opens: checked, disabled, and greyed for want of a handler.
  ::CheckMenuItem(hPopup, ID_TEST_CHECK, MF_BYCOMMAND | MF_UNCHECKED);
  ::EnableMenuItem(hPopup, ID_TEST_NOHANDLER, MF_BYCOMMAND | MF_ENABLED);
  g_checkState = TRUE;
  pFrame->SendMessage(WM_INITMENUPOPUP, (WPARAM)hPopup, 0);
  UINT check = ::GetMenuState(hPopup, ID_TEST_CHECK, MF_BYCOMMAND);
  EXPECT_TRUE(check & MF_CHECKED);
  EXPECT_FALSE(check & MF_GRAYED);
  EXPECT_TRUE(::GetMenuState(hPopup, ID_TEST_DISABLED, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_TRUE(::GetMenuState(hPopup, ID_TEST_NOHANDLER, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_FALSE(::GetMenuState(hPopup, ID_TEST_ROUTE, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_FALSE(::GetMenuState(hPopup, ID_APP_EXIT, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(AppTest, LayoutGivesBarsTheirPlaceAndTheViewTheRest)
{
  CTestFrame* pFrame = StartNew();
  ASSERT_NE(pFrame, nullptr);
  pFrame->SetWindowPos(NULL, 0, 0, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);
  CRect client, bar, view;
  pFrame->GetClientRect(&client);
  pFrame->m_bar.GetWindowRect(&bar);
  pFrame->ScreenToClient(&bar);
  pFrame->GetActiveView()->GetWindowRect(&view);
  pFrame->ScreenToClient(&view);
  EXPECT_EQ(bar, CRect(0, 0, client.right, CTestBar::kHeight));
  EXPECT_EQ(view, CRect(0, CTestBar::kHeight, client.right, client.bottom));

  // A layout asked for at idle time happens at idle time.
  pFrame->GetActiveView()->MoveWindow(5, 5, 10, 10);
  pFrame->DelayRecalcLayout();
  EXPECT_TRUE(pFrame->m_nIdleFlags & CFrameWnd::idleLayout);
  theApp.OnIdle(0);
  EXPECT_EQ(pFrame->m_nIdleFlags, 0u);
  pFrame->GetActiveView()->GetWindowRect(&view);
  pFrame->ScreenToClient(&view);
  EXPECT_EQ(view, CRect(0, CTestBar::kHeight, client.right, client.bottom));

  // A query only reports: nothing moves.
  CRect query;
  pFrame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &query);
  EXPECT_EQ(query, CRect(0, CTestBar::kHeight, client.right, client.bottom));

  // A frame that fits itself to its bars takes the size they ask for.
  CMiniFrameWnd* pFit = new CMiniFrameWnd;
  ASSERT_TRUE(pFit->CreateEx(0, NULL, "fit", WS_POPUP | WS_CAPTION | MFS_THICKFRAME | FWS_SNAPTOBARS,
                             CRect(0, 0, 400, 300), pFrame));
  EXPECT_TRUE(pFit->GetStyle() & MFS_THICKFRAME);  // kept for the docking code
  CTestBar fitBar;
  ASSERT_TRUE(fitBar.Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), pFit, 0xE830));
  pFit->RecalcLayout();
  pFit->GetClientRect(&client);
  EXPECT_EQ(client.Width(), (int)CTestBar::kWidth);
  EXPECT_EQ(client.Height(), (int)CTestBar::kHeight);
  pFit->DestroyWindow();  // deletes the frame
}

TEST_F(AppTest, StatusLineShowsCommandPromptsAndMenuHelp)
{
  CTestFrame* pFrame = StartNew();
  ASSERT_NE(pFrame, nullptr);
  HWND hStatus = ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 100, 20, pFrame->m_hWnd,
                                   (HMENU)AFX_IDW_STATUS_BAR, NULL, NULL);
  ASSERT_NE(hStatus, (HWND)NULL);
  CWnd status;  // the message bar is the frame's window object with the status bar's id
  ASSERT_TRUE(status.SubclassWindow(hStatus));
  ASSERT_EQ(pFrame->GetMessageBar(), &status);
  ASSERT_EQ(::GetDlgItem(pFrame->m_hWnd, AFX_IDW_STATUS_BAR), hStatus);
  char text[64];
  pFrame->SendMessage(WM_SETMESSAGESTRING, ID_TEST_ROUTE);
  ::GetWindowTextA(hStatus, text, sizeof(text));
  EXPECT_STREQ(text, "Routes a command");  // the prompt is the text before the newline
  pFrame->SetMessageText("free text");
  ::GetWindowTextA(hStatus, text, sizeof(text));
  EXPECT_STREQ(text, "free text");
  // Menu help follows the selected item; closing the menu brings back the idle prompt.
  pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_TEST_ROUTE, MF_STRING), 0);
  ::GetWindowTextA(hStatus, text, sizeof(text));
  EXPECT_STREQ(text, "Routes a command");
  pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  ::GetWindowTextA(hStatus, text, sizeof(text));
  EXPECT_STREQ(text, "Ready");
}

// A floating window of the frame: it records what the frame tells it and, like a floating
// bar, asks the frame to keep its active look while it is active itself.
class CFloatProbe : public CWnd {
 public:
  std::vector<DWORD> m_flags;
  LRESULT OnFloatStatus(WPARAM wParam, LPARAM)
  {
    if (wParam == FS_SYNCACTIVE)
      return TRUE;
    m_flags.push_back((DWORD)wParam);
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CFloatProbe, CWnd)
  ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
END_MESSAGE_MAP()

TEST_F(AppTest, FloatingWindowsFollowTheFramesActivationAndEnabling)
{
  CTestFrame* pFrame = StartNew();
  ASSERT_NE(pFrame, nullptr);
  CFloatProbe probe;
  ASSERT_TRUE(probe.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "float", WS_POPUP, 0, 0,
                             20, 20, pFrame->m_hWnd, NULL));

  // A modal dialog disables the frame: the floating window is disabled with it.
  pFrame->EnableWindow(FALSE);
  EXPECT_FALSE(probe.IsWindowEnabled());
  pFrame->EnableWindow(TRUE);
  EXPECT_TRUE(probe.IsWindowEnabled());
  // In between, the frame (active again) may report its activation as well.
  ASSERT_GE(probe.m_flags.size(), 2u);
  EXPECT_EQ(probe.m_flags.front(), (DWORD)FS_DISABLE);
  EXPECT_EQ(probe.m_flags.back(), (DWORD)FS_ENABLE);

  // Activation moving to the floating window keeps the frame looking active.
  probe.m_flags.clear();
  pFrame->SendMessage(WM_ACTIVATE, WA_INACTIVE, (LPARAM)probe.m_hWnd);
  EXPECT_TRUE(pFrame->m_nFlags & WF_STAYACTIVE);
  pFrame->SendMessage(WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_FALSE(pFrame->m_nFlags & WF_STAYACTIVE);
  ASSERT_EQ(probe.m_flags.size(), 2u);
  EXPECT_EQ(probe.m_flags[0], (DWORD)FS_ACTIVATE);
  EXPECT_EQ(probe.m_flags[1], (DWORD)FS_DEACTIVATE);
  probe.DestroyWindow();
}

TEST_F(AppTest, AClickOnTheDisabledFrameBringsItsPopupForward)
{
  CTestFrame* pFrame = StartNew();
  ASSERT_NE(pFrame, nullptr);
  pFrame->EnableWindow(FALSE);  // as a modal dialog does before it appears
  HWND hPopup = ::CreateWindowExA(0, "STATIC", "dialog", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                  pFrame->m_hWnd, NULL, NULL, NULL);
  ASSERT_NE(hPopup, (HWND)NULL);
  HWND hOther = ::CreateWindowExA(0, "STATIC", "elsewhere", WS_POPUP | WS_VISIBLE, 60, 0, 50, 50,
                                  NULL, NULL, NULL, NULL);
  ::SetForegroundWindow(hPopup);   // the dialog was active last ...
  ::SetForegroundWindow(hOther);   // ... before another program took the foreground
  ASSERT_EQ(::GetLastActivePopup(pFrame->m_hWnd), hPopup);
  EXPECT_EQ(pFrame->SendMessage(WM_SETCURSOR, (WPARAM)pFrame->m_hWnd,
                                MAKELPARAM((WORD)(short)HTERROR, WM_LBUTTONDOWN)), TRUE);
  EXPECT_EQ(::GetForegroundWindow(), hPopup);
  pFrame->EnableWindow(TRUE);
  ::DestroyWindow(hPopup);
  ::DestroyWindow(hOther);
}

TEST_F(AppTest, ClosingAsksAboutChangesAndCancelKeepsTheWindow)
{
  CTestFrame* pFrame = StartNew();
  ASSERT_NE(pFrame, nullptr);
  HWND hFrame = pFrame->m_hWnd;
  pFrame->GetActiveDocument()->SetModifiedFlag(TRUE);
  g_boxAnswer = IDCANCEL;
  pFrame->SendMessage(WM_CLOSE);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0], "Save changes to Sheet?");
  EXPECT_TRUE(::IsWindow(hFrame));
  EXPECT_EQ(theApp.m_pMainWnd, pFrame);
  g_boxAnswer = IDNO;  // TearDown closes without saving
}

TEST_F(AppTest, OpeningAMissingFileFailsWithTheFrameworkMessage)
{
  CCommandLineInfo info;
  static char cmdLine[] = "\"Z:\\no such folder\\clip.tst\"";
  theApp.m_lpCmdLine = cmdLine;
  theApp.ParseCommandLine(info);
  EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileOpen);
  EXPECT_STREQ(info.m_strFileName, "Z:\\no such folder\\clip.tst");
  EXPECT_FALSE(theApp.ProcessShellCommand(info));
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_NE(g_boxes[0].find("clip.tst"), std::string::npos) << g_boxes[0];
  EXPECT_NE(g_boxes[0].find("Cannot find this file"), std::string::npos) << g_boxes[0];
  EXPECT_EQ(theApp.m_pMainWnd, (CWnd*)NULL);
  EXPECT_EQ(g_liveDocs, 0);
  EXPECT_EQ(g_liveFrames, 0);
}

TEST_F(AppTest, SavingReplacesTheFileOnlyWhenTheWholeDocumentWasWritten)
{
  CTestFrame* pFrame = StartNew();
  ASSERT_NE(pFrame, nullptr);
  CTestDoc* pDoc = (CTestDoc*)pFrame->GetActiveDocument();
  char szTemp[MAX_PATH], szFile[MAX_PATH];
  ::GetTempPathA(MAX_PATH, szTemp);
  ::GetTempFileNameA(szTemp, "tst", 0, szFile);

  pDoc->m_text = "first";
  ASSERT_TRUE(pDoc->OnSaveDocument(szFile));
  pDoc->m_text = "second";
  g_saveThrows = TRUE;
  EXPECT_FALSE(pDoc->OnSaveDocument(szFile));
  EXPECT_EQ(g_boxes.size(), 1u);
  g_saveThrows = FALSE;

  pDoc->m_text = "";
  ASSERT_TRUE(pDoc->OnOpenDocument(szFile));
  EXPECT_STREQ(pDoc->m_text, "first");
  EXPECT_FALSE(pDoc->IsModified());
  ::DeleteFileA(szFile);
}

TEST_F(AppTest, ProfileValuesRoundTripThroughTheRegistry)
{
  theApp.SetRegistryKey("Quorvel Tests");
  EXPECT_STREQ(theApp.m_pszProfileName, "Tester App");
  theApp.WriteProfileString("Probe", NULL, NULL);  // a clean section

  EXPECT_EQ(theApp.GetProfileInt("Probe", "Count", 7), 7u);
  EXPECT_STREQ(theApp.GetProfileString("Probe", "Name", "none"), "none");
  EXPECT_TRUE(theApp.WriteProfileInt("Probe", "Count", -3));
  EXPECT_TRUE(theApp.WriteProfileString("Probe", "Name", "C:\\clips\\a.kpx"));
  BYTE blob[5] = {0, 1, 0xFE, 0x80, 7};
  EXPECT_TRUE(theApp.WriteProfileBinary("Probe", "Blob", blob, sizeof(blob)));
  EXPECT_EQ((int)theApp.GetProfileInt("Probe", "Count", 0), -3);
  EXPECT_STREQ(theApp.GetProfileString("Probe", "Name"), "C:\\clips\\a.kpx");
  LPBYTE pData = NULL;
  UINT nBytes = 0;
  ASSERT_TRUE(theApp.GetProfileBinary("Probe", "Blob", &pData, &nBytes));
  ASSERT_EQ(nBytes, sizeof(blob));
  EXPECT_EQ(memcmp(pData, blob, sizeof(blob)), 0);
  delete[] pData;
  // A value of another type is not taken for the one asked.
  EXPECT_FALSE(theApp.GetProfileBinary("Probe", "Name", &pData, &nBytes));
  EXPECT_EQ(pData, (LPBYTE)NULL);
  EXPECT_EQ(theApp.GetProfileInt("Probe", "Name", 11), 11u);

  // The values live under HKEY_CURRENT_USER\Software\<key>\<application>\<section>.
  HKEY hKey;
  ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Quorvel Tests\\Tester App\\Probe", 0,
                            KEY_READ, &hKey), ERROR_SUCCESS);
  DWORD dwType = 0;
  EXPECT_EQ(::RegQueryValueExA(hKey, "Name", NULL, &dwType, NULL, NULL), ERROR_SUCCESS);
  EXPECT_EQ(dwType, (DWORD)REG_SZ);
  ::RegCloseKey(hKey);

  EXPECT_TRUE(theApp.WriteProfileString("Probe", "Name", NULL));
  EXPECT_STREQ(theApp.GetProfileString("Probe", "Name", "gone"), "gone");

  // The recent-file list: newest first, a file opened again moves up, four at most.
  theApp.WriteProfileString("Recent File List", NULL, NULL);
  theApp.LoadStdProfileSettings(4);
  const char* files[] = {"Z:\\a.tst", "Z:\\b.tst", "Z:\\c.tst", "Z:\\d.tst", "Z:\\e.tst", "Z:\\C.TST"};
  for (const char* f : files)
    theApp.AddToRecentFileList(f);
  theApp.SaveStdProfileSettings();
  EXPECT_STREQ(theApp.GetProfileString("Recent File List", "File1"), "Z:\\C.TST");
  EXPECT_STREQ(theApp.GetProfileString("Recent File List", "File2"), "Z:\\e.tst");
  EXPECT_STREQ(theApp.GetProfileString("Recent File List", "File3"), "Z:\\d.tst");
  EXPECT_STREQ(theApp.GetProfileString("Recent File List", "File4"), "Z:\\b.tst");
  EXPECT_STREQ(theApp.GetProfileString("Recent File List", "File5", "-"), "-");
  theApp.LoadStdProfileSettings(4);  // read back from the registry
  EXPECT_STREQ((*theApp.m_pRecentFileList)[0], "Z:\\C.TST");

  // Only this program's own key: other test programs keep theirs under the same company
  // key while they run beside it.
  ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quorvel Tests\\Tester App");
  free((void*)theApp.m_pszRegistryKey);
  theApp.m_pszRegistryKey = NULL;
  delete theApp.m_pRecentFileList;
  theApp.m_pRecentFileList = NULL;
}

TEST_F(AppTest, ExceptionsFromHandlersStopAtTheWindowAndTheProgramGoesOn)
{
  CTestFrame* pFrame = StartNew();
  ASSERT_NE(pFrame, nullptr);
  pFrame->SendMessage(WM_COMMAND, ID_TEST_THROW_USER, 0);
  EXPECT_TRUE(g_boxes.empty());  // already reported by whoever threw it
  pFrame->SendMessage(WM_COMMAND, ID_TEST_THROW_MEMORY, 0);
  EXPECT_EQ(g_boxes.size(), 1u);
  pFrame->SendMessage(WM_COMMAND, ID_TEST_THROW_OTHER, 0);
  ASSERT_EQ(g_boxes.size(), 2u);
  EXPECT_EQ(g_boxes[1], "Internal application error.");
  g_log.clear();
  pFrame->SendMessage(WM_COMMAND, ID_TEST_ROUTE, 0);
  EXPECT_EQ(g_log, "view doc template frame app");
}

TEST_F(AppTest, MessageBoxesUseResourceStringsAndFrameworkTexts)
{
  EXPECT_STREQ(theApp.m_pszExeName, "mfc_win_app_test");
  EXPECT_STREQ(theApp.m_pszAppName, "Tester App");
  AfxMessageBox(IDS_TESTPROMPT);
  AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
  ASSERT_EQ(g_boxes.size(), 2u);
  EXPECT_EQ(g_boxes[0], "Prompt from the resources");
  EXPECT_EQ(g_boxes[1], "Failed to create empty document.");
}

// MDI children that note their destruction and any activation; the MDI client's own
// WM_DESTROY is noted by a subclass of it.
class CLoggingChild : public CMDIChildWnd {
 public:
  std::string m_name;
  void OnDestroy()
  {
    Log(m_name.c_str());
    CMDIChildWnd::OnDestroy();
  }
  void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd)
  {
    if (bActivate)
      Log(("activate-" + m_name).c_str());
    CMDIChildWnd::OnMDIActivate(bActivate, pActivateWnd, pDeactivateWnd);
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CLoggingChild, CMDIChildWnd)
  ON_WM_DESTROY()
  ON_WM_MDIACTIVATE()
END_MESSAGE_MAP()

WNDPROC g_clientProc = NULL;
LRESULT CALLBACK LoggingClientProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
  if (nMsg == WM_DESTROY)
    Log("client");
  return ::CallWindowProcA(g_clientProc, hWnd, nMsg, wParam, lParam);
}

TEST_F(AppTest, DestroyingTheMdiFrameTakesItsChildrenBeforeTheClient)
{
  // The system's MDI client frees its records at its WM_DESTROY, which a window gets before
  // its children; children destroyed after it made the default child procedure read freed
  // memory (an access violation, depending on what the heap had reused).
  CMDIFrameWnd* pMain = new CMDIFrameWnd;
  ASSERT_TRUE(pMain->LoadFrame(IDR_TESTFRAME));
  pMain->ShowWindow(SW_SHOW);
  const char* names[] = {"A", "B", "C"};
  CLoggingChild* children[3];
  for (int i = 0; i < 3; i++) {
    children[i] = new CLoggingChild;
    children[i]->m_name = names[i];
    ASSERT_TRUE(children[i]->Create(NULL, names[i], WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                    CFrameWnd::rectDefault, pMain));
  }
  pMain->MDIActivate(children[1]);
  ASSERT_EQ(pMain->MDIGetActive(), children[1]);
  g_clientProc = (WNDPROC)::SetWindowLongPtrA(pMain->m_hWndMDIClient, GWLP_WNDPROC,
                                              (LONG_PTR)LoggingClientProc);
  g_log.clear();
  pMain->DestroyWindow();
  // Every child before the client, the active one last (no other child is activated).
  EXPECT_EQ(g_log, "C A B client");
}

TEST_F(AppTest, MultipleDocumentsOpenInChildFramesOfTheMdiFrame)
{
  CMultiDocTemplate* pTemplate = new CMultiDocTemplate(
      IDR_TESTFRAME, RUNTIME_CLASS(CTestDoc), RUNTIME_CLASS(CMDIChildWnd), RUNTIME_CLASS(CTestView));
  theApp.AddDocTemplate(pTemplate);
  CMDIFrameWnd* pMain = new CMDIFrameWnd;
  ASSERT_TRUE(pMain->LoadFrame(IDR_TESTFRAME));
  theApp.m_pMainWnd = pMain;
  pMain->ShowWindow(SW_SHOW);
  ASSERT_NE(pMain->m_hWndMDIClient, (HWND)NULL);

  CDocument* pDoc1 = pTemplate->OpenDocumentFile(NULL);
  CDocument* pDoc2 = pTemplate->OpenDocumentFile(NULL);
  ASSERT_NE(pDoc1, nullptr);
  ASSERT_NE(pDoc2, nullptr);
  EXPECT_STREQ(pDoc1->GetTitle(), "Sheet1");
  EXPECT_STREQ(pDoc2->GetTitle(), "Sheet2");
  CMDIChildWnd* pActive = pMain->MDIGetActive();
  ASSERT_NE(pActive, nullptr);
  EXPECT_EQ(pActive->GetActiveDocument(), pDoc2);
  EXPECT_EQ(pMain->GetActiveFrame(), pActive);
  CString caption;
  pMain->GetWindowText(caption);
  EXPECT_STREQ(caption, "Sheet2 - Tester");

  // Commands to the MDI frame go through the active child's view and document first.
  g_log.clear();
  pMain->SendMessage(WM_COMMAND, ID_TEST_ROUTE, 0);
  EXPECT_EQ(g_log, "view doc app");

  // Closing a child closes its document; the other child becomes active.
  pActive->SendMessage(WM_CLOSE);
  EXPECT_EQ(g_liveDocs, 1);
  pActive = pMain->MDIGetActive();
  ASSERT_NE(pActive, nullptr);
  EXPECT_EQ(pActive->GetActiveDocument(), pDoc1);

  // The template leaves with this test; the frame and the last document with the tear-down.
  POSITION pos = theApp.m_pDocManager->m_templateList.Find(pTemplate);
  theApp.m_pDocManager->m_templateList.RemoveAt(pos);
  theApp.m_pMainWnd->PostMessage(WM_CLOSE);
  theApp.Run();
  delete pTemplate;
  ::PostQuitMessage(0);
}

}  // namespace
