// Message maps and window objects without an application: dispatch of window messages,
// registered messages, commands and notifications, reflection to the sending control,
// handle maps, subclassing, the command line and worker threads.
#include "afxwin.h"
#include "afxpriv.h"
#include "gtest_wine.h"
#include <stdio.h>
#include <string>

namespace {

// The windows of these tests live on a desktop of the program's own.
const bool g_onOwnDesktop = RunOnOwnDesktop("QuorvelWinMsgMapTests");

std::string g_log;

void Log(const std::string& s)
{
  if (!g_log.empty())
    g_log += ' ';
  g_log += s;
}

const UINT WM_TEST_REGISTERED = ::RegisterWindowMessageA("Quorvel.Test.Registered");

enum { IDC_BUTTON = 101, IDC_PLAIN = 102, IDC_NOTIFIER = 103, IDC_RANGE_FIRST = 110, IDC_RANGE_LAST = 119 };

// A button that handles its own click and its own notifications and colours itself.
class CSelfButton : public CWnd {
 public:
  HBRUSH m_brush = (HBRUSH)::GetStockObject(GRAY_BRUSH);
  void OnClicked() { Log("child-clicked"); }
  void OnNotifyClick(NMHDR* pNMHDR, LRESULT* pResult)
  {
    Log("child-notify " + std::to_string(pNMHDR->idFrom));
    *pResult = 7;
  }
  HBRUSH CtlColor(CDC* pDC, UINT nCtlColor)
  {
    Log("child-ctlcolor " + std::to_string(nCtlColor) + (pDC != NULL ? " dc" : ""));
    return m_brush;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CSelfButton, CWnd)
  ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
  ON_NOTIFY_REFLECT(NM_CLICK, OnNotifyClick)
  ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

// A control that decides its own command-UI state.
class CSelfUpdating : public CWnd {
 public:
  void OnUpdateSelf(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
  void OnPing() { Log("ping"); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CSelfUpdating, CWnd)
  ON_UPDATE_COMMAND_UI_REFLECT(OnUpdateSelf)
  ON_MESSAGE_VOID(WM_USER + 9, OnPing)
END_MESSAGE_MAP()

class CBaseWnd : public CWnd {
 public:
  int m_nCreates = 0;
  int OnCreate(LPCREATESTRUCT lpcs)
  {
    ++m_nCreates;
    return CWnd::OnCreate(lpcs);
  }
  void OnTimer(UINT nIDEvent)  // the 32-bit era's signature
  {
    Log("timer " + std::to_string(nIDEvent));
    KillTimer(nIDEvent);
  }
  LRESULT OnRegistered(WPARAM wParam, LPARAM lParam) { return (LRESULT)(wParam * 100 + lParam); }
  void OnSize(UINT nType, int cx, int cy)
  {
    Log("size " + std::to_string(nType) + " " + std::to_string(cx) + "x" + std::to_string(cy));
    CWnd::OnSize(nType, cx, cy);
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_TIMER()
  ON_WM_SIZE()
  ON_REGISTERED_MESSAGE(WM_TEST_REGISTERED, OnRegistered)
END_MESSAGE_MAP()

// Adds its own entries and inherits the base class's through the map chain.
class CParentWnd : public CBaseWnd {
 public:
  CSelfButton m_button;
  void OnPlainClicked() { Log("parent-plain"); }
  void OnButtonClicked() { Log("parent-button"); }
  void OnRange(UINT nID) { Log("range " + std::to_string(nID)); }
  void OnNotifyDblClk(NMHDR* pNMHDR, LRESULT* pResult)
  {
    Log("parent-notify " + std::to_string(pNMHDR->idFrom));
    *pResult = 9;
  }
  void OnMouseMove(UINT nFlags, CPoint point)
  {
    Log("move " + std::to_string(nFlags) + " " + std::to_string(point.x) + "," +
        std::to_string(point.y));
  }
  LRESULT OnUser(WPARAM wParam, LPARAM) { return (LRESULT)wParam + 1; }
  HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
  {
    if (pWnd->GetDlgCtrlID() == IDC_PLAIN)
      return (HBRUSH)::GetStockObject(BLACK_BRUSH);
    return CBaseWnd::OnCtlColor(pDC, pWnd, nCtlColor);
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CParentWnd, CBaseWnd)
  ON_BN_CLICKED(IDC_PLAIN, OnPlainClicked)
  ON_BN_CLICKED(IDC_BUTTON, OnButtonClicked)
  ON_CONTROL_RANGE(BN_CLICKED, IDC_RANGE_FIRST, IDC_RANGE_LAST, OnRange)
  ON_NOTIFY(NM_DBLCLK, IDC_NOTIFIER, OnNotifyDblClk)
  ON_WM_MOUSEMOVE()
  ON_MESSAGE(WM_USER + 5, OnUser)
  ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

class MessageMapTest : public testing::Test {
 protected:
  CParentWnd* m_pParent = NULL;
  HWND m_hPlain = NULL;
  void SetUp() override
  {
    g_log.clear();
    m_pParent = new CParentWnd;
    ASSERT_TRUE(m_pParent->CreateEx(0, AfxRegisterWndClass(0), "parent", WS_POPUP, 0, 0, 200, 100,
                                    NULL, NULL));
    ASSERT_TRUE(m_pParent->m_button.Create("BUTTON", "self", WS_CHILD | BS_PUSHBUTTON,
                                           CRect(0, 0, 50, 20), m_pParent, IDC_BUTTON));
    m_hPlain = ::CreateWindowExA(0, "STATIC", "plain", WS_CHILD, 0, 30, 50, 20, m_pParent->m_hWnd,
                                 (HMENU)IDC_PLAIN, NULL, NULL);
    ASSERT_NE(m_hPlain, (HWND)NULL);
    g_log.clear();
  }
  void TearDown() override
  {
    if (m_pParent->m_hWnd != NULL)
      m_pParent->DestroyWindow();
    delete m_pParent;
  }
  LRESULT Notify(HWND hFrom, UINT_PTR id, int code)
  {
    NMHDR nm = {hFrom, id, (UINT)code};
    return m_pParent->SendMessage(WM_NOTIFY, id, (LPARAM)&nm);
  }
};

TEST_F(MessageMapTest, WindowMessagesReachTheirHandlersWithCrackedArguments)
{
  EXPECT_EQ(m_pParent->m_nCreates, 1);  // WM_CREATE came through the map of the base class
  m_pParent->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-5, 17));
  m_pParent->SetWindowPos(NULL, 0, 0, 120, 80, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  EXPECT_EQ(g_log, "move 1 -5,17 size 0 120x80");
  EXPECT_EQ(m_pParent->SendMessage(WM_USER + 5, 41), 42);
  EXPECT_EQ(m_pParent->SendMessage(WM_USER + 6, 41), 0);  // no entry: default processing

  // A registered message reaches the entry made for it.
  EXPECT_EQ(m_pParent->SendMessage(WM_TEST_REGISTERED, 3, 4), 304);

  // The timer handler written with a 32-bit id gets the id.
  g_log.clear();
  m_pParent->SetTimer(77, 1);
  MSG msg;
  while (g_log.empty() && ::GetMessageA(&msg, NULL, 0, 0)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  EXPECT_EQ(g_log, "timer 77");
}

TEST_F(MessageMapTest, ControlNotificationsAreReflectedToTheControlThatSentThem)
{
  struct Case {
    const char* what;
    int id;
    HWND hWnd;
    const char* log;
  } cases[] = {
      {"reflected", IDC_BUTTON, m_pParent->m_button.m_hWnd, "child-clicked"},
      {"parent's own", IDC_PLAIN, m_hPlain, "parent-plain"},
      {"range", IDC_RANGE_FIRST + 3, m_hPlain, "range 113"},
  };
  for (const Case& c : cases) {
    g_log.clear();
    EXPECT_EQ(m_pParent->SendMessage(WM_COMMAND, MAKEWPARAM(c.id, BN_CLICKED), (LPARAM)c.hWnd), 1)
        << c.what;
    EXPECT_EQ(g_log, c.log) << c.what;
  }

  // WM_NOTIFY: reflected with the control's answer, or handled by the parent.
  g_log.clear();
  EXPECT_EQ(Notify(m_pParent->m_button.m_hWnd, IDC_BUTTON, NM_CLICK), 7);
  EXPECT_EQ(g_log, "child-notify 101");
  g_log.clear();
  HWND hNotifier = ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 1, 1, m_pParent->m_hWnd,
                                     (HMENU)IDC_NOTIFIER, NULL, NULL);
  EXPECT_EQ(Notify(hNotifier, IDC_NOTIFIER, NM_DBLCLK), 9);
  EXPECT_EQ(g_log, "parent-notify 103");
  g_log.clear();
  EXPECT_EQ(Notify(hNotifier, IDC_NOTIFIER, NM_RCLICK), 0);  // no entry anywhere
  EXPECT_EQ(g_log, "");

  // Colours: the control's reflected handler, else the parent's.
  HDC hDC = ::GetDC(m_pParent->m_hWnd);
  g_log.clear();
  EXPECT_EQ(m_pParent->SendMessage(WM_CTLCOLORBTN, (WPARAM)hDC, (LPARAM)m_pParent->m_button.m_hWnd),
            (LRESULT)m_pParent->m_button.m_brush);
  EXPECT_EQ(g_log, "child-ctlcolor 3 dc");
  EXPECT_EQ(m_pParent->SendMessage(WM_CTLCOLORSTATIC, (WPARAM)hDC, (LPARAM)m_hPlain),
            (LRESULT)::GetStockObject(BLACK_BRUSH));
  ::ReleaseDC(m_pParent->m_hWnd, hDC);
}

TEST_F(MessageMapTest, HandleMapsKeepOnePermanentObjectPerWindow)
{
  HWND hParent = m_pParent->m_hWnd;
  EXPECT_EQ(CWnd::FromHandlePermanent(hParent), m_pParent);
  EXPECT_EQ(CWnd::FromHandle(hParent), m_pParent);

  // A window nobody attached gets a temporary object, the same one until idle time.
  EXPECT_EQ(CWnd::FromHandlePermanent(m_hPlain), (CWnd*)NULL);
  CWnd* pTemp = CWnd::FromHandle(m_hPlain);
  ASSERT_NE(pTemp, (CWnd*)NULL);
  EXPECT_EQ(pTemp->m_hWnd, m_hPlain);
  EXPECT_EQ(CWnd::FromHandle(m_hPlain), pTemp);
  EXPECT_EQ(m_pParent->GetDlgItem(IDC_PLAIN), pTemp);
  AfxLockTempMaps();
  EXPECT_TRUE(AfxUnlockTempMaps(TRUE));
  EXPECT_TRUE(::IsWindow(m_hPlain));  // deleting the temporary object leaves the window alone

  // Subclassing: the object sees the control's messages; unsubclassing gives the control back.
  WNDPROC pfnStatic = (WNDPROC)::GetWindowLongPtrA(m_hPlain, GWLP_WNDPROC);
  CSelfButton wrapper;
  ASSERT_TRUE(wrapper.SubclassDlgItem(IDC_PLAIN, m_pParent));
  EXPECT_FALSE(CWnd().Attach(m_hPlain));  // one permanent object per window
  EXPECT_EQ(CWnd::FromHandlePermanent(m_hPlain), &wrapper);
  g_log.clear();
  m_pParent->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_PLAIN, BN_CLICKED), (LPARAM)m_hPlain);
  EXPECT_EQ(g_log, "child-clicked");
  char text[16];
  EXPECT_EQ(wrapper.GetWindowText(text, sizeof(text)), 5);  // the static still answers itself
  EXPECT_STREQ(text, "plain");
  EXPECT_EQ(wrapper.UnsubclassWindow(), m_hPlain);
  EXPECT_EQ((WNDPROC)::GetWindowLongPtrA(m_hPlain, GWLP_WNDPROC), pfnStatic);
  EXPECT_EQ(CWnd::FromHandlePermanent(m_hPlain), (CWnd*)NULL);

  // A window destroyed behind the object's back leaves the map.
  CBaseWnd* pLoose = new CBaseWnd;
  ASSERT_TRUE(pLoose->CreateEx(0, NULL, "loose", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
  HWND hLoose = pLoose->m_hWnd;
  ::DestroyWindow(hLoose);
  EXPECT_EQ(CWnd::FromHandlePermanent(hLoose), (CWnd*)NULL);
  EXPECT_EQ(pLoose->m_hWnd, (HWND)NULL);
  delete pLoose;
}

TEST_F(MessageMapTest, WindowTreeWalksAndDescendantMessages)
{
  CWnd* pFound = m_pParent->GetDescendantWindow(IDC_BUTTON);
  EXPECT_EQ(pFound, &m_pParent->m_button);
  EXPECT_EQ(m_pParent->m_button.GetTopLevelParent(), m_pParent);
  EXPECT_EQ(m_pParent->m_button.GetParentFrame(), (CFrameWnd*)NULL);
  EXPECT_EQ(m_pParent->GetDescendantWindow(999), (CWnd*)NULL);

  // Messages to descendants: children and grandchildren, or children only.
  CBaseWnd child, grandchild;
  ASSERT_TRUE(child.Create(NULL, NULL, WS_CHILD, CRect(0, 0, 5, 5), m_pParent, 120));
  ASSERT_TRUE(grandchild.Create(NULL, NULL, WS_CHILD, CRect(0, 0, 5, 5), &child, 121));
  EXPECT_EQ(m_pParent->GetDescendantWindow(121), &grandchild);
  g_log.clear();
  m_pParent->SendMessageToDescendants(WM_SIZE, 0, MAKELPARAM(1, 2), TRUE, TRUE);
  EXPECT_EQ(g_log, "size 0 1x2 size 0 1x2");
  g_log.clear();
  m_pParent->SendMessageToDescendants(WM_SIZE, 0, MAKELPARAM(3, 4), FALSE, FALSE);
  EXPECT_EQ(g_log, "size 0 3x4");
  grandchild.DestroyWindow();
  child.DestroyWindow();
}

TEST_F(MessageMapTest, CommandUIChangesMenuItemsAndControls)
{
  HMENU hMenu = ::CreatePopupMenu();
  ::AppendMenuA(hMenu, MF_STRING, 500, "first");
  ::AppendMenuA(hMenu, MF_STRING, 501, "second");
  HWND hCheck = ::CreateWindowExA(0, "BUTTON", "box", WS_CHILD | BS_AUTOCHECKBOX, 0, 0, 40, 20,
                                  m_pParent->m_hWnd, (HMENU)502, NULL, NULL);
  CWnd check;
  check.m_hWnd = hCheck;

  CCmdUI item;
  item.m_pMenu = CMenu::FromHandle(hMenu);
  item.m_nIndex = 1;
  item.m_nID = 501;
  item.Enable(FALSE);
  item.SetRadio(TRUE);
  item.SetText("renamed");
  UINT state = ::GetMenuState(hMenu, 1, MF_BYPOSITION);
  EXPECT_TRUE(state & MF_GRAYED);
  EXPECT_TRUE(state & MF_CHECKED);
  char text[32];
  ::GetMenuStringA(hMenu, 1, text, sizeof(text), MF_BYPOSITION);
  EXPECT_STREQ(text, "renamed");
  EXPECT_EQ(::GetMenuItemID(hMenu, 1), 501u);  // the new text keeps the item's state and id
  EXPECT_TRUE(::GetMenuState(hMenu, 1, MF_BYPOSITION) & MF_GRAYED);
  EXPECT_FALSE(::GetMenuState(hMenu, 0, MF_BYPOSITION) & (MF_GRAYED | MF_CHECKED));

  CCmdUI control;
  control.m_pOther = &check;
  control.m_nID = 502;
  control.SetCheck(1);
  control.Enable(FALSE);
  control.SetText("set");
  EXPECT_EQ(::SendMessageA(hCheck, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_FALSE(::IsWindowEnabled(hCheck));
  ::GetWindowTextA(hCheck, text, sizeof(text));
  EXPECT_STREQ(text, "set");
  check.m_hWnd = NULL;
  ::DestroyMenu(hMenu);

  // A control with its own update handler answers for itself in UpdateDialogControls.
  CSelfUpdating self;
  ASSERT_TRUE(self.Create("BUTTON", "self", WS_CHILD | BS_PUSHBUTTON, CRect(0, 0, 5, 5),
                          m_pParent, 503));
  ::EnableWindow(hCheck, TRUE);
  m_pParent->UpdateDialogControls(m_pParent, FALSE);
  EXPECT_FALSE(self.IsWindowEnabled());
  EXPECT_TRUE(::IsWindowEnabled(hCheck));  // no handler and not disabled for it: unchanged
  g_log.clear();
  self.SendMessage(WM_USER + 9);
  EXPECT_EQ(g_log, "ping");
}

TEST_F(MessageMapTest, CenteringAndMiniFrames)
{
  CBaseWnd child;
  ASSERT_TRUE(child.Create(NULL, NULL, WS_CHILD, CRect(0, 0, 50, 20), m_pParent, 130));
  m_pParent->SetWindowPos(NULL, 0, 0, 200, 100, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  CRect client;
  m_pParent->GetClientRect(&client);
  child.CenterWindow();
  CRect rc;
  child.GetWindowRect(&rc);
  m_pParent->ScreenToClient(&rc);
  EXPECT_EQ(rc.left, (client.Width() - 50) / 2);
  EXPECT_EQ(rc.top, (client.Height() - 20) / 2);
  child.DestroyWindow();

  // The z-order stand-ins name the system's positions.
  const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  m_pParent->SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0, flags);
  EXPECT_TRUE(m_pParent->GetExStyle() & WS_EX_TOPMOST);
  m_pParent->SetWindowPos(&CWnd::wndNoTopMost, 0, 0, 0, 0, flags);
  EXPECT_FALSE(m_pParent->GetExStyle() & WS_EX_TOPMOST);

  CMiniFrameWnd* pMini = new CMiniFrameWnd;
  ASSERT_TRUE(pMini->CreateEx(0, NULL, "mini", WS_POPUP | WS_CAPTION | WS_SYSMENU | MFS_THICKFRAME,
                              CRect(10, 10, 110, 60), m_pParent));
  EXPECT_TRUE(pMini->GetExStyle() & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(pMini->GetStyle() & WS_THICKFRAME);
  EXPECT_TRUE(pMini->IsFrameWnd());
  // Told by its frame: shown, hidden, disabled; only a synchronised one answers FS_SYNCACTIVE.
  EXPECT_EQ(pMini->SendMessage(WM_FLOATSTATUS, FS_SYNCACTIVE), 0);
  pMini->SendMessage(WM_FLOATSTATUS, FS_SHOW);
  EXPECT_TRUE(pMini->IsWindowVisible());
  pMini->SendMessage(WM_FLOATSTATUS, FS_HIDE | FS_DISABLE);
  EXPECT_FALSE(pMini->IsWindowVisible());
  EXPECT_FALSE(pMini->IsWindowEnabled());
  pMini->ModifyStyle(0, MFS_SYNCACTIVE);
  EXPECT_EQ(pMini->SendMessage(WM_FLOATSTATUS, FS_SYNCACTIVE), 1);
  pMini->SendMessage(WM_FLOATSTATUS, FS_ACTIVATE);
  EXPECT_TRUE(pMini->m_bActive);
  pMini->DestroyWindow();  // deletes the object
}

// ---------------------------------------------------------------------------------------------

TEST(CommandLineTest, ArgumentsAreSplitAndReadAsTheShellPassesThem)
{
  struct Case {
    const char* line;
    int command;
    const char* file;
    BOOL embedded;
  } cases[] = {
      {"", CCommandLineInfo::FileNew, "", FALSE},
      {"clip.kpx", CCommandLineInfo::FileOpen, "clip.kpx", FALSE},
      {"  \"C:\\My Clips\\a b.KPX\"  ", CCommandLineInfo::FileOpen, "C:\\My Clips\\a b.KPX", FALSE},
      {"/p C:\\x.kpx", CCommandLineInfo::FilePrint, "C:\\x.kpx", FALSE},
      {"-Embedding", CCommandLineInfo::FileNew, "", TRUE},
      {"/dde", CCommandLineInfo::FileDDE, "", FALSE},
      {"/unregserver", CCommandLineInfo::AppUnregister, "", FALSE},
  };
  CWinApp* pApp = AfxGetApp();
  CWinApp app("cmdline");  // the application object of this test program
  for (const Case& c : cases) {
    CCommandLineInfo info;
    app.m_lpCmdLine = (LPTSTR)c.line;
    app.ParseCommandLine(info);
    EXPECT_EQ((int)info.m_nShellCommand, c.command) << c.line;
    EXPECT_STREQ(info.m_strFileName, c.file) << c.line;
    EXPECT_EQ(info.m_bRunEmbedded, c.embedded) << c.line;
  }
  (void)pApp;

  CStringArray args;
  AfxSplitCommandLine("a\\\\\"b c\" d\\e \"f\"\"g\" \\\"h", args);
  ASSERT_EQ(args.GetSize(), 4);
  EXPECT_STREQ(args[0], "a\\b c");
  EXPECT_STREQ(args[1], "d\\e");
  EXPECT_STREQ(args[2], "f\"g");
  EXPECT_STREQ(args[3], "\"h");
}

UINT AFX_CDECL Worker(LPVOID pParam)
{
  *(LONG*)pParam = (LONG)::GetCurrentThreadId();
  return 5;
}

TEST(ThreadTest, WorkerThreadRunsItsFunctionAndEnds)
{
  LONG threadId = 0;
  CWinThread* pThread = AfxBeginThread(Worker, &threadId, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
  ASSERT_NE(pThread, (CWinThread*)NULL);
  pThread->m_bAutoDelete = FALSE;
  pThread->ResumeThread();
  ASSERT_EQ(::WaitForSingleObject(pThread->m_hThread, 10000), WAIT_OBJECT_0);
  DWORD code = 0;
  ::GetExitCodeThread(pThread->m_hThread, &code);
  EXPECT_EQ(code, 5u);
  EXPECT_EQ((DWORD)threadId, pThread->m_nThreadID);
  delete pThread;
}

// A user-interface thread whose start-up declines: its exit code is ExitInstance's.
class CDecliningThread : public CWinThread {
  DECLARE_DYNCREATE(CDecliningThread)
 public:
  BOOL InitInstance() override { return FALSE; }
  int ExitInstance() override { return 9; }
};
IMPLEMENT_DYNCREATE(CDecliningThread, CWinThread)

TEST(ThreadTest, UserInterfaceThreadEndsWithItsExitInstanceResult)
{
  CWinThread* pThread = AfxBeginThread(RUNTIME_CLASS(CDecliningThread), THREAD_PRIORITY_NORMAL, 0,
                                       CREATE_SUSPENDED);
  ASSERT_NE(pThread, (CWinThread*)NULL);
  EXPECT_TRUE(pThread->IsKindOf(RUNTIME_CLASS(CDecliningThread)));
  pThread->m_bAutoDelete = FALSE;
  pThread->ResumeThread();
  ASSERT_EQ(::WaitForSingleObject(pThread->m_hThread, 10000), WAIT_OBJECT_0);
  DWORD code = 0;
  ::GetExitCodeThread(pThread->m_hThread, &code);
  EXPECT_EQ(code, 9u);
  delete pThread;
}

}  // namespace
