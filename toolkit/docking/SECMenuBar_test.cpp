// The menu bar's popups on a headless frame: Alt + letter, the arrow keys from popup to popup
// and on to the system menu, the mouse switching popups, a click on the open button, the
// caption icon, and a floating menu bar without a close box. Each menu loop is driven and
// ended from a thread timer that the loop dispatches.
#include "gtest_wine.h"
#include "SECFrameWnd.h"
#include "SECMenuBar.h"
#include "SECToolBarManager.h"
#include <functional>
#include <vector>

namespace {

const bool g_onOwnDesktop = RunOnOwnDesktop("QuorvelSECMenuBarTests");

class CTestApp : public CWinApp {
 public:
  CTestApp() : CWinApp("SEC MenuBar Tester") {}
};
CTestApp theApp;

class CMenuFrame : public SECFrameWnd {
 public:
  CMenuFrame() { m_pMenuBar = &m_menuBar; }
  SECMenuBar m_menuBar;
  std::vector<WPARAM> m_sysCommands;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
  {
    if (message == WM_SYSCOMMAND && wParam != 0xF093) {
      m_sysCommands.push_back(wParam);
      return 0;
    }
    return SECFrameWnd::WindowProc(message, wParam, lParam);
  }
};

// The steps run one per timer tick while menus are open; the last one ends the menu.
std::vector<std::function<void()>> g_steps;
size_t g_step = 0;
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
  if (g_step < g_steps.size())
    g_steps[g_step++]();
  else
    ::EndMenu();
}

class MenuBarTest : public testing::Test {
 protected:
  CMenuFrame* m_pFrame = nullptr;
  SECToolBarManager* m_pMgr = nullptr;
  UINT_PTR m_timer = 0;

  void SetUp() override
  {
    static char cmdLine[] = "";
    ASSERT_TRUE(AfxWinInit(::GetModuleHandleA(NULL), NULL, cmdLine, SW_SHOWNORMAL));
    m_pFrame = new CMenuFrame;
    m_pFrame->m_nMenuResID = 200;
    ASSERT_TRUE(m_pFrame->Create(NULL, "Menus", WS_OVERLAPPEDWINDOW, CRect(0, 0, 500, 300)));
    m_pFrame->m_hMenuCopy = ::LoadMenuA(::GetModuleHandleA(NULL), MAKEINTRESOURCEA(200));
    theApp.m_pMainWnd = m_pFrame;
    m_pMgr = new SECToolBarManager(m_pFrame);
    m_pFrame->SetControlBarManager(m_pMgr);
    m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
    ASSERT_TRUE(m_pMgr->SetMenuInfo(2, 200, 201));
    m_pMgr->CreateDefaultBars();
    ASSERT_TRUE(Bar().SwitchMenu(200));
    m_pFrame->ShowWindow(SW_SHOWNORMAL);
    m_pFrame->RecalcLayout();
    m_pFrame->SetActiveWindow();
    g_steps.clear();
    g_step = 0;
    m_timer = ::SetTimer(NULL, 0, 40, Tick);
  }
  void TearDown() override
  {
    ::KillTimer(NULL, m_timer);
    if (m_pFrame != nullptr)
      m_pFrame->DestroyWindow();
    delete m_pMgr;
    theApp.m_pMainWnd = NULL;
  }
  SECMenuBar& Bar() { return m_pFrame->m_menuBar; }
  void SysChar(char c)
  {
    MSG msg = {m_pFrame->m_hWnd, WM_SYSCHAR, (WPARAM)c, 0x20000000};
    EXPECT_TRUE(m_pFrame->PreTranslateMessage(&msg));
  }
  void Key(UINT vk) { ::PostMessageA(m_pFrame->m_hWnd, WM_KEYDOWN, vk, 0); }
  CPoint ButtonCentre(int i)
  {
    CRect r;
    Bar().GetButtonRect(i, &r);
    Bar().ClientToScreen(&r);
    return r.CenterPoint();
  }
  // A mouse message as the menu loop sees it through the message-filter hook.
  void MouseInLoop(UINT message, CPoint ptScreen)
  {
    MSG msg = {Bar().m_hWnd, message, 0, 0, 0, ptScreen};
    ::CallMsgFilterA(&msg, MSGF_MENU);
  }
};

TEST_F(MenuBarTest, AltLetterAndArrowsThroughPopupsAndSystemMenu)
{
  std::vector<int> open;
  std::vector<BOOL> popup;
  auto note = [&] {
    open.push_back(Bar().GetOpenMenuIndex());
    popup.push_back(SECMenuBarFeature::IsPopupOpen());
  };
  g_steps = {note, [&] { Key(VK_RIGHT); }, note, [&] { Key(VK_RIGHT); }, note,
             [&] { Key(VK_RIGHT); }, note, [&] { Key(VK_RIGHT); }, note};
  SysChar('e');  // "&Edit"
  EXPECT_EQ(open, (std::vector<int>{1, 2, -1, 0, 1}));  // Edit, Help, system menu, File, Edit
  EXPECT_EQ(popup, (std::vector<BOOL>(5, TRUE)));
  EXPECT_FALSE(SECMenuBarFeature::IsPopupOpen());
  EXPECT_EQ(Bar().GetOpenMenuIndex(), -1);
  for (int i = 0; i < 3; i++)
    EXPECT_FALSE(Bar().GetButtonStyle(i) & SEC_TBBS_PRESSED) << i;
}

TEST_F(MenuBarTest, UnmatchedAltLetterSwallowedAltSpaceOpensSystemMenu)
{
  SysChar('q');
  EXPECT_EQ(g_step, 0u);  // no popup ran
  std::vector<int> open;
  g_steps = {[&] { open.push_back(Bar().GetOpenMenuIndex() + 100 * SECMenuBarFeature::IsPopupOpen()); }};
  SysChar(' ');
  EXPECT_EQ(open, std::vector<int>{99});  // a popup, no button: the system menu
}

TEST_F(MenuBarTest, MouseSwitchesPopupsAndClosesOnTheOpenButton)
{
  std::vector<int> open;
  auto note = [&] { open.push_back(Bar().GetOpenMenuIndex()); };
  g_steps = {note, [&] { MouseInLoop(WM_MOUSEMOVE, ButtonCentre(2)); }, note,
             [&] { MouseInLoop(WM_MOUSEMOVE, ButtonCentre(2)); }, note,
             [&] { MouseInLoop(WM_LBUTTONDOWN, ButtonCentre(2)); }, note};
  CPoint pt = ButtonCentre(0);
  Bar().ScreenToClient(&pt);
  Bar().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
  // opened on 0, moved to 2, same point again ignored, a click on it closed the popup
  ASSERT_GE(open.size(), 3u);
  EXPECT_EQ(open[0], 0);
  EXPECT_EQ(open[1], 2);
  EXPECT_EQ(open[2], 2);
  EXPECT_LE(g_step, 7u);
  EXPECT_FALSE(SECMenuBarFeature::IsPopupOpen());
}

TEST_F(MenuBarTest, CaptionIconDoubleClickSendsTheDefaultCommand)
{
  CRect rc;
  m_pFrame->GetWindowRect(&rc);
  CPoint ptIcon(rc.left + ::GetSystemMetrics(SM_CXFRAME) + 3, rc.top + ::GetSystemMetrics(SM_CYFRAME) + 3);
  g_steps = {[&] { MouseInLoop(WM_LBUTTONDBLCLK, ptIcon); }};
  m_pFrame->SendMessage(WM_SYSCOMMAND, 0xF093, 0);  // a click on the icon
  MSG msg;
  while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
    ::DispatchMessageA(&msg);
  ASSERT_FALSE(m_pFrame->m_sysCommands.empty());
  EXPECT_EQ(m_pFrame->m_sysCommands.back(), (WPARAM)SC_CLOSE);
}

TEST_F(MenuBarTest, FloatingMenuBarHasNoCloseBox)
{
  m_pFrame->FloatControlBar(&Bar(), CPoint(50, 50), CBRS_ALIGN_TOP);
  m_pFrame->RecalcLayout();
  CFrameWnd* pMini = Bar().GetParentFrame();
  ASSERT_NE(pMini, m_pFrame);
  pMini->RecalcLayout();
  EXPECT_FALSE(pMini->GetStyle() & WS_SYSMENU);
}

}  // namespace
