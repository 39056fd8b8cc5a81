// Toolbar customisation on a headless frame: button drags posted to the tracker's loop
// (nudges, copies to empty space, deletes, drops on separators and above floating toolbars,
// Alt-drags, emptied toolbars) and the Customize sheet and Toolbars dialog run modally, driven
// from a thread timer that their loops dispatch.
#include "gtest_wine.h"
#include "SECFrameWnd.h"
#include "SECMenuBar.h"
#include "SECToolBarManager.h"
#include "SECToolBars_res.h"
#include "SECToolBarsDlg.h"
#include <functional>
#include <string>
#include <vector>

namespace {

// Screenshots are taken of the display's own desktop.
const bool g_onOwnDesktop =
    getenv("QUORVEL_SCREENSHOT_DIR") == nullptr && RunOnOwnDesktop("QuorvelSECCustomizeTests");

class CTestApp : public CWinApp {
 public:
  CTestApp() : CWinApp("SEC Customize Tester") {}
};
CTestApp theApp;

void Pump()
{
  MSG msg;
  while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

void SetKey(int vk, bool down)
{
  BYTE keys[256];
  ::GetKeyboardState(keys);
  keys[vk] = down ? 0x80 : 0;
  ::SetKeyboardState(keys);
}

class CMenuFrame : public SECFrameWnd {
 public:
  CMenuFrame() { m_pMenuBar = &m_menuBar; }
  SECMenuBar m_menuBar;
};

std::vector<std::function<void()>> g_steps;
size_t g_step = 0;
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
  if (g_step < g_steps.size())
    g_steps[g_step++]();
}

const UINT kStdIDs[] = {100, 101, 0, 102, 103, 104, 0, 105, 106, 107};

class CustomizeTest : public testing::Test {
 protected:
  CMenuFrame* m_pFrame = nullptr;
  SECToolBarManager* m_pMgr = nullptr;
  SECCustomToolBar* m_pStd = nullptr;  // the default toolbar
  UINT_PTR m_timer = 0;

  void SetUp() override
  {
    static char cmdLine[] = "";
    ASSERT_TRUE(AfxWinInit(::GetModuleHandleA(NULL), NULL, cmdLine, SW_SHOWNORMAL));
    m_pFrame = new CMenuFrame;
    ASSERT_TRUE(m_pFrame->Create(NULL, "Customize", WS_OVERLAPPEDWINDOW, CRect(0, 0, 660, 520)));
    theApp.m_pMainWnd = m_pFrame;
    m_pMgr = new SECToolBarManager(m_pFrame);
    m_pFrame->SetControlBarManager(m_pMgr);
    m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
    ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, m_pFrame->m_hWnd,
                      (HMENU)AFX_IDW_PANE_FIRST, NULL, NULL);
    ASSERT_TRUE(m_pMgr->LoadToolBarResource(128));
    ASSERT_TRUE(m_pMgr->SetMenuInfo(1, 200));
    static const UINT ids[] = {100, 101, 102};
    m_pMgr->DefineDefaultToolBar(0xE810, "Standard", 3, ids);
    m_pMgr->EnableCoolLook(TRUE);
    m_pMgr->CreateDefaultBars();
    m_pStd = m_pMgr->ToolBarFromID(0xE810);
    ASSERT_NE(m_pStd, nullptr);
    m_pFrame->ShowWindow(SW_SHOWNORMAL);
    m_pFrame->RecalcLayout();
    g_steps.clear();
    g_step = 0;
    SetKey(VK_CONTROL, false);
    SetKey(VK_MENU, false);
  }
  void TearDown() override
  {
    if (m_timer != 0)
      ::KillTimer(NULL, m_timer);
    SetKey(VK_CONTROL, false);
    SetKey(VK_MENU, false);
    if (m_pFrame != nullptr)
      m_pFrame->DestroyWindow();
    Pump();
    delete m_pMgr;
    theApp.m_pMainWnd = NULL;
  }
  void Run(std::vector<std::function<void()>> steps)
  {
    g_steps = std::move(steps);
    g_step = 0;
    m_timer = ::SetTimer(NULL, 0, 30, Tick);
  }
  static std::vector<UINT> Ids(SECCustomToolBar* p)
  {
    std::vector<UINT> v;
    for (int i = 0; i < p->GetBtnCount(); i++)
      v.push_back(p->GetItemID(i));
    return v;
  }
  // Drags button i of the bar so that its rectangle moves by (dx, dy): the tracker's loop
  // reads the posted move and release.
  BOOL DragBy(SECCustomToolBar* p, int i, int dx, int dy)
  {
    CRect r;
    p->GetButtonRect(i, &r);
    CPoint pt = r.CenterPoint();
    p->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(pt.x + dx, pt.y + dy));
    p->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x + dx, pt.y + dy));
    BOOL bResult = p->DragButton(i, pt.x, pt.y);
    Pump();
    return bResult;
  }
  // Drags button i of the bar so that its rectangle's top-left lands at a screen point.
  BOOL DragTo(SECCustomToolBar* p, int i, CPoint ptScreen)
  {
    CRect r;
    p->GetButtonRect(i, &r);
    p->ClientToScreen(&r);
    return DragBy(p, i, ptScreen.x - r.left, ptScreen.y - r.top);
  }
  SECCustomToolBar* UserBar(std::vector<UINT> ids)
  {
    SECCustomToolBar* p = m_pMgr->CreateNewToolBar();
    p->SetButtons(ids.data(), (int)ids.size());
    m_pFrame->DockControlBar(p, AFX_IDW_DOCKBAR_BOTTOM);
    m_pFrame->RecalcLayout();
    return p;
  }
};

TEST_F(CustomizeTest, NudgesOpenAndCloseGaps)
{
  m_pMgr->EnableConfigMode(TRUE);
  SECCustomToolBar* p = m_pStd;
  EXPECT_TRUE(DragBy(p, 1, 1, 0));
  EXPECT_EQ(Ids(p), (std::vector<UINT>{100, 101, 102}));  // one pixel: nothing
  EXPECT_TRUE(DragBy(p, 1, 2, 0));
  EXPECT_EQ(Ids(p), (std::vector<UINT>{100, 0, 101, 102}));  // a separator before it
  m_pFrame->RecalcLayout();
  EXPECT_TRUE(DragBy(p, 2, -2, 0));
  EXPECT_EQ(Ids(p), (std::vector<UINT>{100, 101, 102}));  // and gone again
  UINT withSeps[] = {100, 0, 101, 0, 102};
  p->SetButtons(withSeps, 5);
  m_pFrame->RecalcLayout();
  EXPECT_TRUE(DragBy(p, 2, 2, 0));  // a separator before it: the one after it goes
  EXPECT_EQ(Ids(p), (std::vector<UINT>{100, 0, 101, 102}));
  EXPECT_EQ(m_pMgr->m_pSelectedBar, p);
}

TEST_F(CustomizeTest, CopyToEmptySpaceMakesAToolBarMoveThereDeletes)
{
  m_pMgr->EnableConfigMode(TRUE);
  CRect rcFrame;
  m_pFrame->GetWindowRect(&rcFrame);
  CPoint ptEmpty(rcFrame.left + 200, rcFrame.top + 300);
  SetKey(VK_CONTROL, true);
  EXPECT_TRUE(DragTo(m_pStd, 0, ptEmpty));
  SetKey(VK_CONTROL, false);
  SECCustomToolBar* pNew = m_pMgr->ToolBarFromID(0xE820);
  ASSERT_NE(pNew, nullptr);
  CString str;
  pNew->GetWindowText(str);
  EXPECT_EQ(str, "ToolBar1");
  EXPECT_EQ(Ids(pNew), std::vector<UINT>{100});
  EXPECT_TRUE(pNew->IsFloating());
  EXPECT_EQ(Ids(m_pStd), (std::vector<UINT>{100, 101, 102}));  // a copy
  EXPECT_TRUE(DragTo(m_pStd, 1, ptEmpty));
  EXPECT_EQ(Ids(m_pStd), (std::vector<UINT>{100, 102}));  // a move to nowhere deletes
  // a drop on the customisation dialog is ignored (away from the new floating toolbar)
  ptEmpty.Offset(-150, 100);
  CWnd dlg;
  ASSERT_TRUE(dlg.CreateEx(0, "STATIC", "dlg", WS_POPUP | WS_VISIBLE, CRect(ptEmpty, CSize(80, 80)), NULL, 0));
  m_pFrame->RecalcLayout();
  m_pMgr->SetCustomizeDlg(&dlg);
  EXPECT_TRUE(DragTo(m_pStd, 1, ptEmpty + CPoint(5, 5)));
  EXPECT_EQ(Ids(m_pStd), (std::vector<UINT>{100, 102}));
  m_pMgr->SetCustomizeDlg(NULL);
  dlg.DestroyWindow();
}

TEST_F(CustomizeTest, DropsOnSeparatorsAndAboveAFloatingToolBar)
{
  m_pMgr->EnableConfigMode(TRUE);
  SECCustomToolBar* pB = UserBar({103, 0, 104});
  CRect rSep;
  pB->GetButtonRect(1, &rSep);
  pB->ClientToScreen(&rSep);
  EXPECT_TRUE(DragTo(m_pStd, 0, CPoint(rSep.left - 10, rSep.top)));
  EXPECT_EQ(Ids(pB), (std::vector<UINT>{103, 100, 104}));  // the separator replaced
  EXPECT_EQ(Ids(m_pStd), (std::vector<UINT>{101, 102}));
  // above a floating toolbar's buttons: its first button, then a separator
  SECCustomToolBar* pC = m_pMgr->CreateNewToolBar();
  UINT ids[] = {105, 106};
  pC->SetButtons(ids, 2);
  m_pFrame->FloatControlBar(pC, CPoint(300, 200), CBRS_ALIGN_TOP);
  m_pFrame->RecalcLayout();
  pC->GetParentFrame()->RecalcLayout();
  CRect rcC;
  pC->GetWindowRect(&rcC);
  EXPECT_TRUE(DragTo(m_pStd, 0, CPoint(rcC.left + 4, rcC.top - 26)));
  EXPECT_EQ(Ids(pC), (std::vector<UINT>{101, 0, 105, 106}));
  EXPECT_EQ(Ids(m_pStd), std::vector<UINT>{102});
}

TEST_F(CustomizeTest, AltDragLeavesNoSelectionAndAnEmptiedToolBarGoes)
{
  SECCustomToolBar* pU = UserBar({105});
  HWND hU = pU->m_hWnd;
  CRect rStd;
  m_pStd->GetButtonRect(2, &rStd);
  m_pStd->ClientToScreen(&rStd);
  // outside config mode with Alt down: a click drags
  SetKey(VK_MENU, true);
  CRect r;
  pU->GetButtonRect(0, &r);
  CPoint pt = r.CenterPoint();
  CRect rScreen = r;
  pU->ClientToScreen(&rScreen);
  CPoint ptEnd = pt + (rStd.TopLeft() + CPoint(12, 0) - rScreen.TopLeft());
  pU->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptEnd.x, ptEnd.y));
  pU->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptEnd.x, ptEnd.y));
  pU->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
  SetKey(VK_MENU, false);
  EXPECT_EQ(Ids(m_pStd), (std::vector<UINT>{100, 101, 102, 105}));
  EXPECT_EQ(m_pMgr->m_pSelectedBar, nullptr);
  Pump();
  EXPECT_FALSE(::IsWindow(hU));  // the emptied user toolbar is gone
}

TEST_F(CustomizeTest, CustomizeSheet)
{
  SECCustomToolBar* pUser = UserBar({105});
  SECToolBarSheet sheet(IDS_SEC_CUSTOMIZE, m_pFrame);
  SECToolBarsPage page;
  page.SetManager(m_pMgr);
  SECToolBarCmdPage cmds;
  cmds.SetManager(m_pMgr);
  cmds.DefineBtnGroup("File", 10, kStdIDs);
  cmds.DefineMenuGroup("Menu");
  sheet.AddPage(&page);
  sheet.AddPage(&cmds);
  std::vector<CString> items;
  BOOL bCustomizing = FALSE, bConfig = FALSE;
  auto item = [&](UINT nID) {
    for (int i = 0; i < page.m_list.GetCount(); i++)
      if ((UINT)page.m_list.GetItemData(i) == nID)
        return i;
    return -1;
  };
  auto toggle = [&](UINT nID) {
    int n = item(nID);
    page.m_list.SetCurSel(n);
    page.m_list.SetCheck(n, !page.m_list.GetCheck(n));
    page.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SEC_TOOLBAR_LIST, CLBN_CHKCHANGE),
                     (LPARAM)page.m_list.m_hWnd);
  };
  CString strLong;
  Run({[&] {
         bCustomizing = m_pMgr->IsCustomizeMode();
         bConfig = m_pMgr->IsConfigMode();
         for (int i = 0; i < page.m_list.GetCount(); i++) {
           CString s;
           page.m_list.GetText(i, s);
           items.push_back(s);
         }
       },
       [&] {
         toggle(0xE8FF);  // the menu bar stays checked
         toggle(0xE810);  // the default toolbar hides
         page.CheckDlgButton(IDC_SEC_COOLLOOK, BST_UNCHECKED);
         page.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SEC_COOLLOOK, BN_CLICKED), 0);
       },
       [&] {
         // renaming the user toolbar to 200 characters keeps 128
         int n = item(0xE820);
         page.m_list.SetCurSel(n);
         page.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SEC_TOOLBAR_LIST, LBN_SELCHANGE),
                          (LPARAM)page.m_list.m_hWnd);
         CString s(' ', 200);
         for (int i = 0; i < 200; i++)
           s.SetAt(i, (char)('a' + i % 26));
         page.SetDlgItemText(IDC_SEC_NAME, s);
         page.SendDlgItemMessage(IDC_SEC_NAME, EM_SETMODIFY, TRUE);
         page.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SEC_NAME, EN_KILLFOCUS),
                          (LPARAM)page.GetDlgItem(IDC_SEC_NAME)->m_hWnd);
         pUser->GetWindowText(strLong);
       },
       [&] {
         // Delete on the user toolbar destroys it and takes it from the list
         page.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SEC_RESET, BN_CLICKED), 0);
       },
       [&] { sheet.PressButton(PSBTN_CANCEL); }});
  sheet.DoModal();
  EXPECT_TRUE(bCustomizing);
  EXPECT_TRUE(bConfig);
  EXPECT_EQ(items.size(), 3u);  // menu bar, default toolbar, user toolbar
  EXPECT_EQ(item(0xE820), -1);
  EXPECT_EQ(m_pMgr->ToolBarFromID(0xE820), nullptr);
  EXPECT_TRUE(m_pFrame->m_menuBar.IsVisible());
  EXPECT_FALSE(m_pStd->IsVisible());
  EXPECT_EQ(strLong.GetLength(), 128);
  EXPECT_TRUE(m_pMgr->CoolLookEnabled());  // cancelling the page restored it
  EXPECT_FALSE(m_pMgr->IsCustomizeMode());
  EXPECT_FALSE(m_pMgr->IsConfigMode());
  EXPECT_EQ(cmds.GetGroupCount(), 2);
}

TEST_F(CustomizeTest, ToolbarsDialogNewToolBarClosesWithCustomize)
{
  Run({[&] {
         HWND h = ::GetActiveWindow();
         ::PostMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_SEC_NEW, BN_CLICKED), 0);
       },
       [&] {
         HWND h = ::GetActiveWindow();
         ::SetDlgItemTextA(h, IDC_SEC_NEWNAME, "Mine");
         ::PostMessageA(h, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
       }});
  EXPECT_EQ(m_pMgr->ExecuteToolBarsDlg(), SEC_IDC_CUSTOMIZE);
  SECCustomToolBar* p = m_pMgr->ToolBarFromID(0xE820);
  ASSERT_NE(p, nullptr);
  CString s;
  p->GetWindowText(s);
  EXPECT_EQ(s, "Mine");
  EXPECT_TRUE(p->IsFloating());
  EXPECT_FALSE(m_pMgr->IsCustomizeMode());
}

}  // namespace

// The command page's first palette shows above the "Buttons" frame it sits in (a control bar
// clips its siblings: under the frame it would not show at all). Under a display with
// QUORVEL_SCREENSHOT_DIR (a Unix folder) the screen is also taken with xwd, the sheet beside
// the frame.
TEST_F(CustomizeTest, CommandPagePaletteShowsAboveItsFrame)
{
  const char* dir = getenv("QUORVEL_SCREENSHOT_DIR");
  UserBar({105});
  SECToolBarSheet sheet(IDS_SEC_CUSTOMIZE, m_pFrame);
  SECToolBarsPage page;
  page.SetManager(m_pMgr);
  SECToolBarCmdPage cmds;
  cmds.SetManager(m_pMgr);
  cmds.DefineBtnGroup("File", 10, kStdIDs);
  cmds.DefineMenuGroup("Menu");
  sheet.AddPage(&page);
  sheet.AddPage(&cmds);
  CRect rectFrame;
  m_pFrame->GetWindowRect(&rectFrame);
  std::vector<std::function<void()>> steps;
  steps.push_back([&] {
    sheet.SetWindowPos(NULL, rectFrame.right + 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    sheet.SetActivePage(1);
  });
  for (int i = 0; i < 10; i++)
    steps.push_back([] {});  // the modal loop shows the sheet when it first idles
  steps.push_back([&] {
    CWnd* pPalette = cmds.GetDlgItem(59567);
    CWnd* pBox = cmds.GetDlgItem(IDC_SEC_BUTTONS_FRAME);
    ASSERT_NE(pPalette, nullptr);
    ASSERT_NE(pBox, nullptr);
    EXPECT_TRUE(pPalette->IsWindowVisible());
    int nPalette = -1, nBox = -1, n = 0;
    for (HWND h = ::GetWindow(cmds.m_hWnd, GW_CHILD); h != NULL; h = ::GetWindow(h, GW_HWNDNEXT), n++) {
      if (h == pPalette->m_hWnd)
        nPalette = n;
      if (h == pBox->m_hWnd)
        nBox = n;
    }
    EXPECT_LT(nPalette, nBox);  // nearer the top
    if (dir != nullptr) {
      std::string command = std::string("xwd -root -silent -out '") + dir + "/customize_sheet.xwd'";
      EXPECT_EQ(0, system(command.c_str()));
    }
  });
  steps.push_back([&] { sheet.PressButton(PSBTN_CANCEL); });
  Run(steps);
  sheet.DoModal();
}
