// Customisable toolbars on a headless frame: layout arithmetic, the bitmap manager, the
// toolbar manager's ids, options and customise mode, button removal, the stored button
// records and the menu bar's buttons.
#include "gtest_wine.h"
#include "SECBmpMenuPlugIn.h"
#include "SECBmpMgr.h"
#include "SECCustomToolBar.h"
#include "SECFrameWnd.h"
#include "SECMenuBar.h"
#include "SECPersistentTree.h"
#include "SECToolBarLayout.h"
#include "SECToolBarManager.h"
#include <commctrl.h>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

// Screenshots are taken of the display's own desktop.
const bool g_onOwnDesktop =
    getenv("QUORVEL_SCREENSHOT_DIR") == nullptr && RunOnOwnDesktop("QuorvelSECToolBarTests");

class CTestApp : public CWinApp {
 public:
  CTestApp() : CWinApp("SEC ToolBar Tester") {}
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

// ---------------------------------------------------------------------------------------------
// Layout arithmetic

struct Btns {
  std::vector<std::unique_ptr<SECStdBtn>> own;
  SECBtnVector v;
  // 'b' a 23-pixel button, 's' an 8-pixel separator
  explicit Btns(const char* pattern)
  {
    for (const char* p = pattern; *p; p++) {
      own.emplace_back(new SECStdBtn);
      SECStdBtn* b = own.back().get();
      b->m_cx = *p == 's' ? 8 : 23;
      b->m_cy = 22;
      b->m_nStyle = *p == 's' ? SEC_TBBS_SEPARATOR : 0;
      v.push_back(b);
    }
  }
  std::string Wrapped() const
  {
    std::string s;
    for (SECStdBtn* b : v)
      s += (b->m_nStyle & SEC_TBBS_WRAPPED) ? '|' : '.';
    return s;
  }
};

const auto kBalance = [](const SECBtnVector* v) {
  return [v](std::vector<SECTBRow>& rows) { SECBalanceRows(*v, rows); };
};

TEST(ToolBarLayout, WrapsForAWidth)
{
  struct Case {
    const char* btns;
    int width;
    CSize size;
    const char* wrapped;
  } cases[] = {
      {"bbsbbb", 100, CSize(69, 22 + 22 + 5), "..|..."},  // ends at the separator
      {"bbbbb", 1000, CSize(115, 22), "....."},
      {"bbbb", 44, CSize(46, 44), ".|.."},                 // 46 fits in 44 + 2
      {"bbbb", 43, CSize(23, 88), "|||."},                 // no separator: one a row
      {"b", 5, CSize(23, 22), "."},                         // wider than the row: stays
  };
  for (const Case& c : cases) {
    Btns b(c.btns);
    CSize size = SECWrapButtons(b.v, c.width, FALSE, CSize(23, 22), 8, nullptr);
    EXPECT_EQ(size, c.size) << c.btns << " in " << c.width;
    EXPECT_EQ(b.Wrapped(), c.wrapped) << c.btns << " in " << c.width;
  }
}

TEST(ToolBarLayout, WrapsForAHeightAndBalances)
{
  // six buttons in 44 pixels of height: two rows of three
  Btns b("bbbbbb");
  CSize size = SECWrapButtons(b.v, 44, TRUE, CSize(23, 22), 8, kBalance(&b.v));
  EXPECT_EQ(size, CSize(69, 44));
  EXPECT_EQ(b.Wrapped(), "..|...");
  // a height below one button: one row
  Btns one("bbb");
  EXPECT_EQ(SECWrapButtons(one.v, 10, TRUE, CSize(23, 22), 8, nullptr), CSize(69, 22));

  // balancing moves the last button of the widest row down while the next stays narrower
  Btns bal("bbbbb");
  std::vector<SECTBRow> rows;
  SECBuildRows(bal.v, 100, rows);  // 4 + 1
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].nLast, 3);
  SECBalanceRows(bal.v, rows);
  SECMeasureRows(bal.v, rows);
  EXPECT_EQ(rows[0].nLast, 2);  // 3 + 2
  EXPECT_EQ(rows[0].cx, 69);
  EXPECT_EQ(rows[1].cx, 46);
  // a group behind an inner separator moves as a whole
  Btns grp("bbsbbsb");
  SECBuildRows(grp.v, 120, rows);  // 100 (to the second separator) + 23
  SECBalanceRows(grp.v, rows);
  SECMeasureRows(grp.v, rows);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].nLast, 2);
  EXPECT_TRUE(rows[0].bSep);
  EXPECT_EQ(rows[0].cx, 46);
  EXPECT_EQ(rows[1].cx, 77);
}

TEST(ToolBarLayout, PlacesAndHitTests)
{
  Btns b("bbsbbb");
  SECWrapButtons(b.v, 100, FALSE, CSize(23, 22), 8, nullptr);
  SECPlaceButtons(b.v, CPoint(2, 3), 8);
  EXPECT_EQ(b.v[1]->GetRect(), CRect(25, 3, 48, 25));
  EXPECT_EQ(b.v[3]->GetRect(), CRect(2, 3 + 22 + 5, 25, 3 + 22 + 5 + 22));  // after 5 pixels
  struct Hit {
    int x, y, index;
  } hits[] = {{2, 3, 0}, {25, 10, 0}, {26, 10, 1}, {50, 10, -1}, {2, 2, -1},
              {30, 40, 4}, {72, 40, -1}, {70, 40, 5}};
  for (const Hit& h : hits)
    EXPECT_EQ(SECHitTestButtons(b.v, h.x, h.y, 22, NULL), h.index) << h.x << "," << h.y;
}

// ---------------------------------------------------------------------------------------------
// Stored button records

TEST(ToolBarInfo, BlobRoundTripAndCorruptBlobs)
{
  SECBtnInfoArray arr;
  for (UINT id : {100u, 0u, 0x80000001u}) {
    SECBtnInfo* p = new SECBtnInfo;
    p->m_nID = id;
    if (id == 100) {
      p->m_nLen = 3;
      p->m_pData = new BYTE[3]{1, 2, 3};
    }
    arr.Add(p);
  }
  CByteArray blob;
  SECBtnInfoToBlob(arr, blob);
  ASSERT_EQ(blob.GetSize(), 5 + 3 + 5 + 5);
  SECBtnInfoArray back;
  ASSERT_TRUE(SECBtnInfoFromBlob(blob.GetData(), (UINT)blob.GetSize(), back));
  ASSERT_EQ(back.GetSize(), 3);
  EXPECT_EQ(back.GetInfo(2)->m_nID, 0x80000001u);
  EXPECT_EQ(back.GetInfo(0)->m_pData[2], 3);
  // cut inside a record, a length beyond the block: refused, whole records kept
  for (UINT n : {4u, 9u, 12u, 17u}) {
    SECBtnInfoArray cut;
    EXPECT_FALSE(SECBtnInfoFromBlob(blob.GetData(), n, cut)) << n;
    EXPECT_EQ(cut.GetSize(), n < 8 ? 0 : n < 13 ? 1 : 2) << n;
  }
  BYTE bad[5] = {1, 0, 0, 0, 200};
  SECBtnInfoArray none;
  EXPECT_FALSE(SECBtnInfoFromBlob(bad, 5, none));
  EXPECT_EQ(none.GetSize(), 0);
}

// ---------------------------------------------------------------------------------------------
// Bitmap manager

TEST(BmpMgr, ImagesOfAToolBarResource)
{
  SECBmpMgr* p = new SECBmpMgr;
  ASSERT_TRUE(p->AddToolBarResource(MAKEINTRESOURCE(128), NULL, TRUE));
  const UINT ids[] = {100, 101, 102, 103, 104, 105, 106, 107};
  for (int i = 0; i < 8; i++)
    EXPECT_EQ(p->GetImageIndex(ids[i]), i);
  EXPECT_EQ(p->GetImageIndex(0), -1);
  ASSERT_TRUE(p->AddToolBarResource(MAKEINTRESOURCE(129), NULL, TRUE));
  EXPECT_EQ(p->GetImageIndex(101), 1);  // the first registration wins
  EXPECT_EQ(p->GetImageIndex(108), 0);
  HBITMAP h = NULL;
  int n = -1;
  ASSERT_TRUE(p->GetBitmap(108, h, n));
  HBITMAP hFirst = NULL;
  ASSERT_TRUE(p->GetBitmap(100, hFirst, n));
  EXPECT_NE(h, hFirst);
  EXPECT_FALSE(p->AddToolBarResource(MAKEINTRESOURCE(999), NULL, TRUE));
  // large images without a large resource: stretched to 22 x 24
  p->SetSmallImages(FALSE);
  ASSERT_TRUE(p->GetBitmap(100, h, n));
  BITMAP bm;
  ASSERT_TRUE(::GetObjectA(h, sizeof(bm), &bm));
  EXPECT_EQ(bm.bmWidth, 22 * 8);
  EXPECT_EQ(bm.bmHeight, 24);
  EXPECT_EQ(p->GetImageSize(), CSize(22, 24));
  p->Release();
}

// ---------------------------------------------------------------------------------------------
// On a frame

class CMenuFrame : public SECFrameWnd {
 public:
  CMenuFrame() { m_pMenuBar = &m_menuBar; }
  SECMenuBar m_menuBar;
  std::vector<UINT> m_commands;
  std::vector<UINT> m_notifies;
  BOOL m_bRectValid = FALSE;
  CRect m_rectCmd;
  SECToolBarManager* m_pMgrSeen = nullptr;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
  {
    if (message == WM_COMMAND && lParam == 0 && LOWORD(wParam) >= 100 && LOWORD(wParam) < 200) {
      m_commands.push_back(LOWORD(wParam));
      m_bRectValid = m_pMgrSeen != nullptr && m_pMgrSeen->GetCommandBtnRect(m_rectCmd);
      return 0;
    }
    if (message == WM_NOTIFY && ((NMHDR*)lParam)->code == SEC_TBN_DROPDOWN) {
      m_notifies.push_back(((SECTBNotify*)lParam)->iItem);
      return 0;
    }
    return SECFrameWnd::WindowProc(message, wParam, lParam);
  }
};

class ToolBarTest : public testing::Test {
 protected:
  CMenuFrame* m_pFrame = nullptr;
  SECToolBarManager* m_pMgr = nullptr;

  void SetUp() override
  {
    static char cmdLine[] = "";
    ASSERT_TRUE(AfxWinInit(::GetModuleHandleA(NULL), NULL, cmdLine, SW_SHOWNORMAL));
    m_pFrame = new CMenuFrame;
    ASSERT_TRUE(m_pFrame->Create(NULL, "Toolbars", WS_OVERLAPPEDWINDOW, CRect(0, 0, 660, 520)));
    theApp.m_pMainWnd = m_pFrame;
    m_pMgr = new SECToolBarManager(m_pFrame);
    m_pFrame->m_pMgrSeen = m_pMgr;
    m_pFrame->SetControlBarManager(m_pMgr);
    m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
    ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, m_pFrame->m_hWnd,
                      (HMENU)AFX_IDW_PANE_FIRST, NULL, NULL);
    ASSERT_TRUE(m_pMgr->LoadToolBarResource(128));
    m_pFrame->ShowWindow(SW_SHOWNORMAL);
  }
  void TearDown() override
  {
    if (m_pFrame != nullptr)
      m_pFrame->DestroyWindow();
    Pump();
    delete m_pMgr;
    theApp.m_pMainWnd = NULL;
  }
  CString Title(CWnd* p)
  {
    CString s;
    p->GetWindowText(s);
    return s;
  }
};

TEST_F(ToolBarTest, NewToolBarIdsAndTitles)
{
  std::vector<SECCustomToolBar*> bars;
  for (int i = 0; i < 8; i++) {
    bars.push_back(m_pMgr->CreateNewToolBar());
    ASSERT_NE(bars.back(), nullptr);
    EXPECT_EQ((UINT)bars.back()->GetDlgCtrlID(), 0xE820u + i);
  }
  EXPECT_EQ(Title(bars[7]), "ToolBar8");
  bars[1]->DestroyWindow();  // the gap is taken again, titled from its id
  SECCustomToolBar* p = m_pMgr->CreateNewToolBar();
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->GetDlgCtrlID(), 0xE821);
  EXPECT_EQ(Title(p), "ToolBar2");
  // a name of 200 characters is kept whole
  CString strLong(' ', 200);
  strLong.SetAt(199, 'x');
  SECCustomToolBar* pLong = m_pMgr->CreateNewToolBar(strLong);
  ASSERT_NE(pLong, nullptr);
  EXPECT_EQ(Title(pLong).GetLength(), 200);
}

TEST_F(ToolBarTest, NoIdAtOrAboveTheMenuBar)
{
  SECCustomToolBar* p = nullptr;
  int n = 0;
  while ((p = m_pMgr->CreateNewToolBar()) != nullptr && n < 300)
    n++;
  EXPECT_EQ(n, 0xE8FF - 0xE820);  // 59424 .. 59646; 59647 is the menu bar's
}

TEST_F(ToolBarTest, BarTypeIds)
{
  m_pMgr->CreateDefaultBars();
  SECCustomToolBar* p = m_pMgr->CreateNewToolBar();
  EXPECT_EQ(m_pMgr->GetBarTypeID(&m_pFrame->m_menuBar), 14947u);
  EXPECT_EQ(m_pMgr->GetBarTypeID(p), 14946u);
  EXPECT_EQ(m_pMgr->GetBarTypeID(m_pFrame->GetControlBar(AFX_IDW_DOCKBAR_TOP)), 0u);
  std::unique_ptr<SECControlBarInfoEx> pEx(m_pMgr->CreateBarInfo(14946));
  EXPECT_TRUE(pEx->IsKindOf(RUNTIME_CLASS(SECCustomToolBarInfoEx)));
  EXPECT_EQ(m_pMgr->CreateBarInfo(5), nullptr);
}

TEST_F(ToolBarTest, OptionsFromATree)
{
  SECPTNFactory factory;
  SECPersistentTreeNode* pRoot = factory.CreateNode("Root");
  m_pMgr->LoadState(pRoot);  // no "ToolBarMgr"
  EXPECT_TRUE(m_pMgr->ToolTipsEnabled());
  EXPECT_TRUE(m_pMgr->CoolLookEnabled());
  EXPECT_FALSE(m_pMgr->LargeBtnsEnabled());
  SECPersistentTreeNode* pMgrNode = factory.CreateNode("ToolBarMgr", pRoot);
  pMgrNode->SetBoolValue("ToolTips", FALSE);
  m_pMgr->LoadState(pRoot);  // no "LargeButtons": on
  EXPECT_FALSE(m_pMgr->ToolTipsEnabled());
  EXPECT_TRUE(m_pMgr->LargeBtnsEnabled());
  EXPECT_FALSE(m_pMgr->SaveState(factory, pRoot));  // the child is there already
  SECPersistentTreeNode* pOther = factory.CreateNode("Other");
  ASSERT_TRUE(m_pMgr->SaveState(factory, pOther));
  CString str;
  pOther->FindChild("ToolBarMgr")->GetStringValue("LargeButtons", str);
  EXPECT_EQ(str, "True");
  EXPECT_FALSE(m_pMgr->LoadState((SECPersistentTreeNode*)NULL));
}

TEST_F(ToolBarTest, CustomizeModeNestsAndSkipsDestroyedWindows)
{
  HWND hChild = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5,
                                  m_pFrame->m_hWnd, NULL, NULL, NULL);
  HWND hGone = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5,
                                 m_pFrame->m_hWnd, NULL, NULL, NULL);
  m_pMgr->EnterCustomizeMode();
  m_pMgr->EnterCustomizeMode();
  EXPECT_TRUE(m_pMgr->IsCustomizeMode());
  EXPECT_FALSE(::IsWindowEnabled(hChild));
  EXPECT_TRUE(::IsWindowEnabled(m_pFrame->GetControlBar(AFX_IDW_DOCKBAR_TOP)->m_hWnd));
  EXPECT_EQ(m_pFrame->SendMessage(WM_NCHITTEST, 0, 0), HTERROR);
  ::DestroyWindow(hGone);
  m_pMgr->ExitCustomizeMode();
  EXPECT_FALSE(m_pMgr->IsCustomizeMode());
  EXPECT_TRUE(::IsWindowEnabled(hChild));
  m_pFrame->EnableWindow(TRUE);
}

TEST_F(ToolBarTest, RemoveButtonTakesAtMostOneSeparator)
{
  struct Case {
    std::vector<UINT> ids;
    int remove;
    std::vector<UINT> left;
  } cases[] = {
      {{100, 0, 101, 0, 102}, 2, {100, 0, 102}},  // between two separators: one stays
      {{100, 0, 101}, 0, {101}},                  // first, a separator follows
      {{100, 101, 0}, 1, {100}},                  // the last before a trailing separator
      {{100, 101, 102}, 1, {100, 102}},
  };
  SECCustomToolBar* p = m_pMgr->CreateNewToolBar();
  ASSERT_NE(p, nullptr);
  for (const Case& c : cases) {
    p->SetButtons(c.ids.data(), (int)c.ids.size());
    EXPECT_TRUE(p->RemoveButton(c.remove, TRUE));
    std::vector<UINT> left;
    for (int i = 0; i < p->GetBtnCount(); i++)
      left.push_back(p->GetItemID(i));
    EXPECT_EQ(left, c.left) << "case " << &c - cases;
  }
  EXPECT_FALSE(p->RemoveButton(5, TRUE));
  EXPECT_FALSE(p->RemoveButton(-1, TRUE));
}

TEST_F(ToolBarTest, EmptiedUserToolBarGoesAfterTheHandlerDefaultStays)
{
  SECCustomToolBar* pUser = m_pMgr->CreateNewToolBar();
  ASSERT_NE(pUser, nullptr);
  UINT one = 100;
  pUser->SetButtons(&one, 1);
  HWND hUser = pUser->m_hWnd;
  // from its own TB_DELETEBUTTON handler: still there when the handler returns
  EXPECT_TRUE(::SendMessageA(hUser, TB_DELETEBUTTON, 0, 0));
  EXPECT_TRUE(::IsWindow(hUser));
  EXPECT_EQ(pUser->GetBtnCount(), 0);
  Pump();
  EXPECT_FALSE(::IsWindow(hUser));
  EXPECT_EQ(m_pMgr->ToolBarFromID(0xE820), nullptr);

  // a default toolbar (id below 59424) stays empty
  static const UINT ids[] = {100, 0, 101};
  m_pMgr->DefineDefaultToolBar(0xE810, "Standard", 3, ids);
  m_pMgr->CreateDefaultBars();
  SECCustomToolBar* pDef = m_pMgr->ToolBarFromID(0xE810);
  ASSERT_NE(pDef, nullptr);
  EXPECT_EQ(pDef->GetBtnCount(), 3);
  EXPECT_TRUE(pDef->RemoveButton(0));
  EXPECT_FALSE(pDef->RemoveButton(0));
  Pump();
  EXPECT_TRUE(::IsWindow(pDef->m_hWnd));
  int n = 0;
  const UINT* pIDs = NULL;
  EXPECT_TRUE(m_pMgr->GetDefaultButtons(0xE810, n, pIDs));
  EXPECT_FALSE(m_pMgr->GetDefaultButtons(0xE811, n, pIDs));
}

TEST_F(ToolBarTest, AddButtonsWithASeparator)
{
  SECCustomToolBar* p = m_pMgr->CreateNewToolBar();
  TBBUTTON tb[3];
  memset(tb, 0, sizeof(tb));
  tb[0].idCommand = 100;
  tb[1].idCommand = 0;
  tb[2].idCommand = 101;
  tb[2].fsState = TBSTATE_CHECKED >> 0;
  tb[2].fsStyle = TBSTYLE_CHECK;
  EXPECT_TRUE(p->SendMessage(TB_ADDBUTTONSA, 3, (LPARAM)tb));
  ASSERT_EQ(p->GetBtnCount(), 3);
  EXPECT_TRUE(p->GetButtonStyle(1) & SEC_TBBS_SEPARATOR);
  EXPECT_EQ(p->GetButtonStyle(2) & (SEC_TBBS_CHECKBOX | (TBSTATE_CHECKED << 16)),
            (UINT)(SEC_TBBS_CHECKBOX | (TBSTATE_CHECKED << 16)));
}

TEST_F(ToolBarTest, LargeButtonsResizeToolBars)
{
  SECCustomToolBar* p = m_pMgr->CreateNewToolBar();
  UINT ids[] = {100, 0, 101};
  p->SetButtons(ids, 3);
  EXPECT_EQ(p->GetButton(0)->m_cx, 23);
  EXPECT_EQ(p->GetButton(0)->m_cy, 22);
  EXPECT_EQ(p->GetButton(1)->m_cx, 8);
  m_pMgr->EnableLargeBtns(TRUE);
  EXPECT_EQ(p->GetButton(0)->m_cx, 29);
  EXPECT_EQ(p->GetButton(0)->m_cy, 31);
}

TEST_F(ToolBarTest, MenuBarButtonsFromTwoMenus)
{
  ASSERT_TRUE(m_pMgr->SetMenuInfo(2, 200, 201));
  m_pMgr->CreateDefaultBars();
  SECMenuBar& bar = m_pFrame->m_menuBar;
  ASSERT_EQ(bar.GetBtnCount(), 8);
  for (int i = 0; i < 8; i++) {
    SECTBMenuBtn* b = (SECTBMenuBtn*)bar.GetButton(i);
    EXPECT_EQ(b->m_nID, 0x80000001u + i);
    EXPECT_EQ(b->m_dwMask, i < 3 ? 1u : 2u);
    EXPECT_EQ(b->m_nType, (UINT)SEC_BTNTYPE_MENU);
  }
  EXPECT_EQ(((SECTBMenuBtn*)bar.GetButton(3))->m_strText, "&Clip");
  EXPECT_EQ(bar.FindMnemonic('e'), 1);
  EXPECT_TRUE(bar.SwitchMenu(201));
  for (int i = 0; i < 8; i++)
    EXPECT_EQ((bar.GetButtonStyle(i) & SEC_TBBS_HIDDEN) != 0, i < 3) << i;
  EXPECT_EQ(bar.FindMnemonic('e'), -1);
  EXPECT_EQ(bar.FindMnemonic('c'), 3);
  EXPECT_FALSE(bar.SwitchMenu(999));
  EXPECT_EQ((UINT)bar.GetDlgCtrlID(), 0xE8FFu);
  EXPECT_EQ(Title(&bar), "Menu bar");
  // the frame's popups come from the menu copy of its current menu
  EXPECT_EQ(m_pFrame->SendMessage(WM_SECGETMENU, 999, 0), 0);
}

TEST_F(ToolBarTest, MenuBarRunsTheFullLengthOfItsSide)
{
  ASSERT_TRUE(m_pMgr->SetMenuInfo(2, 200, 201));
  m_pMgr->CreateDefaultBars();
  m_pFrame->RecalcLayout();
  SECMenuBar& bar = m_pFrame->m_menuBar;
  ASSERT_NE(bar.GetParent(), nullptr);
  CRect rectSide;
  bar.GetParent()->GetClientRect(&rectSide);
  EXPECT_EQ(bar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK).cx, rectSide.Width());
  CRect rectBar;
  bar.GetWindowRect(&rectBar);
  EXPECT_EQ(rectBar.Width(), rectSide.Width());
  // A wider frame: the bar follows.
  m_pFrame->SetWindowPos(NULL, 0, 0, 800, 520, SWP_NOMOVE | SWP_NOZORDER);
  m_pFrame->RecalcLayout();
  bar.GetParent()->GetClientRect(&rectSide);
  bar.GetWindowRect(&rectBar);
  EXPECT_EQ(rectBar.Width(), rectSide.Width());

  // In a rebar: 12 less than the rebar's width.
  SECReBar rebar;
  ASSERT_TRUE(rebar.Create(m_pFrame));
  ASSERT_TRUE(rebar.AddBar(&bar));
  CRect rectRebar;
  rebar.GetClientRect(&rectRebar);
  EXPECT_EQ(bar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK).cx, rectRebar.Width() - 12);
  rebar.DestroyWindow();
}

TEST_F(ToolBarTest, FloatingToolBarReportsTwoLessThanItsLayout)
{
  SECCustomToolBar* p = m_pMgr->CreateNewToolBar("Floating");
  UINT ids[] = {100, 101, 102};
  p->SetButtons(ids, 3);
  m_pFrame->FloatControlBar(p, CPoint(100, 100));
  // One row: three buttons of (16 + 7) x (15 + 7) and the floating borders.
  CRect rectIn(0, 0, 0, 0);
  p->CalcInsideRectEx(rectIn, TRUE, FALSE);
  CSize borders(rectIn.left - rectIn.right, rectIn.top - rectIn.bottom);
  CSize laid = p->CalcDynamicLayout(1000, LM_HORZ | LM_COMMIT);
  EXPECT_EQ(laid, CSize(3 * 23 + borders.cx - 2, 22 + borders.cy - 2));
  EXPECT_EQ(p->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH), laid);  // the cached size, as reported
}

TEST_F(ToolBarTest, HotTrackingFollowsTheCursorInTheCoolLook)
{
  m_pMgr->EnableCoolLook(TRUE);
  SECCustomToolBar* p = m_pMgr->CreateNewToolBar("Hot");
  UINT ids[] = {100, ID_SEPARATOR, 101, 102};
  p->SetButtons(ids, 4);
  p->SetButtonStyle(3, p->GetButtonStyle(3) | SEC_TBBS_DISABLED | SEC_TBBS_NOAUTODISABLE);
  m_pFrame->DockControlBar(p, AFX_IDW_DOCKBAR_TOP);
  m_pFrame->RecalcLayout();
  m_pFrame->SetActiveWindow();
  p->UpdateWindow();
  auto hover = [&](int nIndex) {
    CRect r;
    p->GetButtonRect(nIndex, &r);
    CPoint pt = r.CenterPoint();
    p->ClientToScreen(&pt);
    ::SetCursorPos(pt.x, pt.y);
    p->ScreenToClient(&pt);
    p->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    return p->GetHotIndex();
  };
  struct Case {
    int nOver, nHot;
    const char* why;
  };
  const Case cases[] = {{0, 0, "a button"},
                        {2, 2, "the next one: the first is no longer hot"},
                        {1, -1, "a separator"},
                        {3, -1, "a disabled button"},
                        {2, 2, "back"}};
  for (const Case& c : cases) {
    EXPECT_EQ(hover(c.nOver), c.nHot) << c.why;
    for (int i = 0; i < 4; i++)
      EXPECT_EQ((p->GetButtonStyle(i) & SEC_TBBS_HOT) != 0, i == c.nHot) << c.why << " " << i;
  }
  // Off the toolbar: nothing is hot.
  CRect rectBar;
  p->GetWindowRect(&rectBar);
  ::SetCursorPos(rectBar.left + 5, rectBar.bottom + 120);
  p->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, rectBar.Height() + 120));
  EXPECT_EQ(p->GetHotIndex(), -1);
  // The classic look tracks nothing.
  m_pMgr->EnableCoolLook(FALSE);
  EXPECT_EQ(hover(0), -1);
}

TEST_F(ToolBarTest, MenuInfoWithoutMenuBarFails)
{
  SECFrameWnd* pPlain = new SECFrameWnd;
  ASSERT_TRUE(pPlain->Create(NULL, "Plain", WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 200)));
  SECToolBarManager mgr(pPlain);
  EXPECT_FALSE(mgr.SetMenuInfo(1, 200));
  pPlain->DestroyWindow();
}

TEST_F(ToolBarTest, PressingSendsCommandsAndToggles)
{
  SECCustomToolBar* p = m_pMgr->CreateNewToolBar();
  SECCustomToolBar* q = m_pMgr->CreateNewToolBar();
  UINT ids[] = {100, 101, 102};
  p->SetButtons(ids, 3);
  q->SetButtons(ids, 3);
  p->SetButtonStyle(1, SEC_TBBS_CHECKBOX | SEC_TBBS_NOAUTODISABLE);
  q->SetButtonStyle(1, SEC_TBBS_CHECKBOX | SEC_TBBS_NOAUTODISABLE);
  p->SetButtonStyle(2, SEC_TBBS_DROPDOWN | SEC_TBBS_NOAUTODISABLE);
  p->SetButtonStyle(0, SEC_TBBS_NOAUTODISABLE);
  p->CalcDynamicLayout(1000, LM_HORZ | LM_COMMIT);
  CRect r;
  auto click = [&](int nIndex, CPoint ptUp) {
    p->GetButtonRect(nIndex, &r);
    CPoint pt = r.CenterPoint();
    p->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    p->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptUp.x, ptUp.y));
  };
  p->GetButtonRect(0, &r);
  click(0, r.CenterPoint());
  ASSERT_EQ(m_pFrame->m_commands, std::vector<UINT>{100});
  EXPECT_TRUE(m_pFrame->m_bRectValid);
  CRect rScreen = r;
  p->ClientToScreen(&rScreen);
  EXPECT_EQ(m_pFrame->m_rectCmd, rScreen);
  CRect after;
  EXPECT_FALSE(m_pMgr->GetCommandBtnRect(after));
  click(0, CPoint(r.right + 30, r.bottom + 30));  // released outside: nothing
  EXPECT_EQ(m_pFrame->m_commands.size(), 1u);
  // a check button toggles on every toolbar
  p->GetButtonRect(1, &r);
  click(1, r.CenterPoint());
  EXPECT_TRUE(p->GetButtonStyle(1) & SEC_TBBS_CHECKED);
  EXPECT_TRUE(q->GetButtonStyle(1) & SEC_TBBS_CHECKED);
  click(1, r.CenterPoint());
  EXPECT_FALSE(q->GetButtonStyle(1) & SEC_TBBS_CHECKED);
  EXPECT_EQ(m_pFrame->m_commands, (std::vector<UINT>{100, 101, 101}));
  // drop-down: the notification only
  p->GetButtonRect(2, &r);
  click(2, r.CenterPoint());
  EXPECT_EQ(m_pFrame->m_notifies, std::vector<UINT>{102});
  EXPECT_EQ(m_pFrame->m_commands.size(), 3u);
  EXPECT_FALSE(p->GetButtonStyle(2) & SEC_TBBS_PRESSED);
}

TEST_F(ToolBarTest, ButtonStatesDrawIntoADib)
{
  SECCustomToolBar* p = m_pMgr->CreateNewToolBar();
  UINT ids[] = {100, 101, 102, 103, 104, 105, 0, 109};
  p->SetButtons(ids, 8);
  p->SetButtonStyle(1, SEC_TBBS_DISABLED);
  p->SetButtonStyle(2, SEC_TBBS_CHECKED);
  p->SetButtonStyle(3, SEC_TBBS_CHECKED | SEC_TBBS_DISABLED);
  p->SetButtonStyle(4, SEC_TBBS_PRESSED);
  p->SetButtonStyle(5, SEC_TBBS_SELECTED);
  p->CalcDynamicLayout(1000, LM_HORZ | LM_COMMIT);
  BITMAPINFO bi;
  memset(&bi, 0, sizeof(bi));
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = 260;
  bi.bmiHeader.biHeight = -40;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* pBits = NULL;
  HBITMAP hDib = ::CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, &pBits, NULL, 0);
  CDC dc;
  dc.CreateCompatibleDC(NULL);
  HGDIOBJ hOld = ::SelectObject(dc.GetSafeHdc(), hDib);
  dc.FillSolidRect(0, 0, 260, 40, RGB(1, 2, 3));
  p->DoPaint(&dc);
  ::SelectObject(dc.GetSafeHdc(), hOld);
  const DWORD* px = (const DWORD*)pBits;
  auto distinct = [&](int i) {
    CRect r;
    p->GetButtonRect(i, &r);
    std::set<DWORD> colours;
    for (int y = r.top; y < r.bottom; y++)
      for (int x = r.left; x < r.right; x++)
        colours.insert(px[y * 260 + x] & 0xFFFFFF);
    return colours;
  };
  // every state composes its own face; a button without an image draws the face alone
  std::vector<std::set<DWORD>> faces;
  for (int i : {0, 1, 2, 3, 4, 5})
    faces.push_back(distinct(i));
  for (size_t i = 0; i < faces.size(); i++)
    EXPECT_GE(faces[i].size(), 2u) << i;
  EXPECT_NE(faces[0], faces[1]);  // disabled: embossed
  EXPECT_NE(faces[0], faces[2]);  // checked: dithered
  EXPECT_NE(faces[2], faces[3]);
  EXPECT_EQ(distinct(7).count(RGB(1, 2, 3) & 0xFFFFFF), 0u);  // drawn over, without an image
  ::DeleteObject(hDib);
}

TEST_F(ToolBarTest, BitmapMenus)
{
  SECFrameWnd* pFrame = new SECFrameWnd;
  pFrame->EnableBitmapMenus(TRUE);
  ASSERT_TRUE(pFrame->Create(NULL, "Bitmap menus", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
  SECBmpMenuPlugIn* pPlug = pFrame->GetBmpMenuPlugIn();
  ASSERT_NE(pPlug, nullptr);
  ASSERT_TRUE(pPlug->AddToolBarResource(MAKEINTRESOURCE(128)));
  HMENU hMenu = ::CreatePopupMenu();
  ::AppendMenuA(hMenu, MF_STRING, 100, "&Open\tCtrl+O");
  ::AppendMenuA(hMenu, MF_STRING, 101, "&Save");
  ::AppendMenuA(hMenu, MF_STRING, 109, "&Stop");
  ::AppendMenuA(hMenu, MF_STRING, SC_CLOSE, "&Close");
  ::AppendMenuA(hMenu, MF_OWNERDRAW, 150, (LPCSTR)1234);
  pFrame->SendMessage(WM_INITMENUPOPUP, (WPARAM)hMenu, 0);
  auto type = [&](int i) {
    MENUITEMINFOA mii;
    memset(&mii, 0, sizeof(mii));
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE | MIIM_DATA;
    ::GetMenuItemInfoA(hMenu, i, TRUE, &mii);
    return mii;
  };
  EXPECT_TRUE(type(0).fType & MFT_OWNERDRAW);
  EXPECT_TRUE(type(2).fType & MFT_OWNERDRAW);
  EXPECT_FALSE(type(3).fType & MFT_OWNERDRAW);  // system ids stay strings
  EXPECT_TRUE(pPlug->IsExcluded(150));           // someone else's item
  EXPECT_EQ(type(4).dwItemData, 1234u);

  MEASUREITEMSTRUCT mis = {ODT_MENU, 0, 100, 0, 0, type(0).dwItemData};
  EXPECT_EQ(pFrame->SendMessage(WM_MEASUREITEM, 0, (LPARAM)&mis), TRUE);
  EXPECT_GT((int)mis.itemWidth, 16 + 30);
  EXPECT_GE((int)mis.itemHeight, 15 + 4);
  MEASUREITEMSTRUCT foreign = {ODT_MENU, 0, 150, 0, 0, 1234};
  pFrame->SendMessage(WM_MEASUREITEM, 0, (LPARAM)&foreign);
  EXPECT_EQ(foreign.itemWidth, 0u);  // not taken as one of the plug-in's records

  // mnemonics: none, one, two cycling
  struct Char {
    char c;
    int hilite;
    LRESULT result;
  } chars[] = {{'x', -1, 0},
               {'o', -1, MAKELRESULT(0, MNC_EXECUTE)},
               {'S', -1, MAKELRESULT(1, MNC_SELECT)},
               {'s', 1, MAKELRESULT(2, MNC_SELECT)},
               {'s', 2, MAKELRESULT(1, MNC_SELECT)}};
  for (const Char& c : chars) {
    for (int i = 0; i < 5; i++) {
      MENUITEMINFOA mii;
      memset(&mii, 0, sizeof(mii));
      mii.cbSize = sizeof(mii);
      mii.fMask = MIIM_STATE;
      mii.fState = i == c.hilite ? MFS_HILITE : 0;
      ::SetMenuItemInfoA(hMenu, i, TRUE, &mii);
    }
    EXPECT_EQ(pFrame->SendMessage(WM_MENUCHAR, MAKEWPARAM(c.c, MF_POPUP), (LPARAM)hMenu), c.result)
        << c.c << " " << c.hilite;
  }

  // drawn into a DIB: image box, label left, accelerator right
  BITMAPINFO bi;
  memset(&bi, 0, sizeof(bi));
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = 200;
  bi.bmiHeader.biHeight = -24;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* pBits = NULL;
  HBITMAP hDib = ::CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, &pBits, NULL, 0);
  HDC hdc = ::CreateCompatibleDC(NULL);
  HGDIOBJ hOld = ::SelectObject(hdc, hDib);
  DRAWITEMSTRUCT dis;
  memset(&dis, 0, sizeof(dis));
  dis.CtlType = ODT_MENU;
  dis.itemID = 100;
  dis.itemAction = ODA_DRAWENTIRE;
  dis.hwndItem = (HWND)hMenu;
  dis.hDC = hdc;
  dis.rcItem = CRect(0, 0, 200, 24);
  dis.itemData = type(0).dwItemData;
  EXPECT_EQ(pFrame->SendMessage(WM_DRAWITEM, 0, (LPARAM)&dis), TRUE);
  ::GdiFlush();
  const DWORD* px = (const DWORD*)pBits;
  DWORD menu = ::GetSysColor(COLOR_MENU);
  DWORD menuBgr = ((menu & 0xFF) << 16) | (menu & 0xFF00) | ((menu >> 16) & 0xFF);
  auto inked = [&](int x0, int x1) {
    int n = 0;
    for (int y = 0; y < 24; y++)
      for (int x = x0; x < x1; x++)
        n += (px[y * 200 + x] & 0xFFFFFF) != menuBgr;
    return n;
  };
  EXPECT_GT(inked(2, 20), 0);     // the image
  EXPECT_GT(inked(25, 60), 0);    // "Open"
  EXPECT_EQ(inked(100, 130), 0);  // the gap
  EXPECT_GT(inked(130, 177), 0);  // "Ctrl+O", right-aligned 23 pixels in
  EXPECT_EQ(inked(178, 200), 0);
  ::SelectObject(hdc, hOld);
  ::DeleteDC(hdc);
  ::DeleteObject(hDib);

  // the frame closes: the plug-in goes first, the menus are plain strings again
  pFrame->SendMessage(WM_CLOSE);
  Pump();
  char sz[64] = "";
  ::GetMenuStringA(hMenu, 0, sz, sizeof(sz), MF_BYPOSITION);
  EXPECT_STREQ(sz, "&Open\tCtrl+O");
  EXPECT_FALSE(type(0).fType & MFT_OWNERDRAW);
  ::DestroyMenu(hMenu);
}

TEST(MenuTemplate, BoundedWalk)
{
  HRSRC h = ::FindResourceA(NULL, MAKEINTRESOURCEA(200), (LPCSTR)RT_MENU);
  ASSERT_NE(h, nullptr);
  DWORD n = ::SizeofResource(NULL, h);
  const BYTE* p = (const BYTE*)::LockResource(::LoadResource(NULL, h));
  CStringArray texts;
  ASSERT_TRUE(SECMenuTemplateTopItems(p, n, texts));
  ASSERT_EQ(texts.GetSize(), 3);
  EXPECT_EQ(texts[2], "&Help");
  for (DWORD cut = 0; cut < n; cut++)
    EXPECT_FALSE(SECMenuTemplateTopItems(p, cut, texts)) << cut;
}

}  // namespace

// Pictures for people: run under a display with QUORVEL_SCREENSHOT_DIR (a Unix folder); the
// screen is taken with xwd. The menu bar over flat, classic and large toolbars, then an open
// bitmap menu (put beside the frame). Skipped otherwise.
TEST_F(ToolBarTest, Screenshots)
{
  const char* dir = getenv("QUORVEL_SCREENSHOT_DIR");
  if (dir == nullptr)
    GTEST_SKIP() << "no screenshot folder";
  static std::string s_dir;
  s_dir = dir;
  struct Shot {
    static void Take(const char* name)
    {
      std::string command = "xwd -root -silent -out '" + s_dir + "/" + name + ".xwd'";
      EXPECT_EQ(0, system(command.c_str()));
    }
    static void Settle(CWnd* pFrame)
    {
      pFrame->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
      DWORD end = ::GetTickCount() + 800;
      while (::GetTickCount() < end) {
        Pump();
        ::Sleep(20);
      }
    }
    static void CALLBACK InMenu(HWND, UINT, UINT_PTR id, DWORD)
    {
      ::KillTimer(NULL, id);
      ::Sleep(300);
      Take("bitmap_menu");
      ::EndMenu();
    }
  };
  m_pFrame->SetWindowPos(NULL, 10, 10, 660, 300, SWP_NOZORDER);
  ASSERT_TRUE(m_pMgr->SetMenuInfo(2, 200, 201));
  m_pMgr->CreateDefaultBars();
  for (int i = 0; i < 2; i++) {
    SECCustomToolBar* p = m_pMgr->CreateNewToolBar(i == 0 ? "Files" : "Edits");
    UINT ids[] = {100, 101, ID_SEPARATOR, 102, 103, 104, ID_SEPARATOR, 105, 106, 107};
    p->SetButtons(ids, 10);
    m_pFrame->DockControlBar(p, AFX_IDW_DOCKBAR_TOP);
  }
  m_pMgr->EnableCoolLook(TRUE);
  m_pFrame->RecalcLayout();
  Shot::Settle(m_pFrame);
  Shot::Take("toolbars_flat");
  m_pMgr->EnableCoolLook(FALSE);
  m_pFrame->RecalcLayout();
  Shot::Settle(m_pFrame);
  Shot::Take("toolbars_classic");
  m_pMgr->EnableLargeBtns(TRUE);
  m_pFrame->RecalcLayout();
  Shot::Settle(m_pFrame);
  Shot::Take("toolbars_large");

  SECFrameWnd* pMenuFrame = new SECFrameWnd;
  pMenuFrame->EnableBitmapMenus(TRUE);
  ASSERT_TRUE(pMenuFrame->Create(NULL, "Bitmap menus", WS_OVERLAPPEDWINDOW, CRect(10, 330, 310, 430)));
  pMenuFrame->ShowWindow(SW_SHOWNORMAL);
  SECBmpMenuPlugIn* pPlug = pMenuFrame->GetBmpMenuPlugIn();
  ASSERT_TRUE(pPlug->AddToolBarResource(MAKEINTRESOURCE(128)));
  HMENU hMenu = ::CreatePopupMenu();
  ::AppendMenuA(hMenu, MF_STRING, 100, "&Open\tCtrl+O");
  ::AppendMenuA(hMenu, MF_STRING | MF_CHECKED, 101, "&Save");
  ::AppendMenuA(hMenu, MF_STRING | MF_GRAYED, 102, "&Copy");
  ::AppendMenuA(hMenu, MF_SEPARATOR, 0, NULL);
  ::AppendMenuA(hMenu, MF_STRING, 109, "Sto&p\tEsc");
  ::SetTimer(NULL, 0, 100, Shot::InMenu);
  ::TrackPopupMenu(hMenu, TPM_LEFTALIGN, 700, 60, 0, pMenuFrame->m_hWnd, NULL);
  ::DestroyMenu(hMenu);
  pMenuFrame->DestroyWindow();
}
