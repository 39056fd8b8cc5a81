// The toolkit's bars on a headless docking frame: remembered sizes, shares and the row
// arithmetic, child scaling, docking by id and by side, floating and coming back, and ids.
#include "gtest_wine.h"
#include "SECControlBar.h"
#include "SECControlBarManager.h"
#include "SECDialogBar.h"
#include "SECDockBar.h"
#include "SECDockContext.h"
#include "SECSysData.h"
#include "SECDockableFrame.h"
#include "SECCaptionFilters.h"
#include "SECDockBars_res.h"
#include "SECDockLayout.h"
#include "SECDockState.h"
#include "SECFrameWnd.h"
#include "SECMiniDockFrameWnd.h"
#include "SECStatusBar.h"
#include <commctrl.h>
#include <cmath>
#include <cstdlib>
#include <string>
#include <functional>
#include <vector>

namespace {

// Screenshots are taken of the display's own desktop.
const bool g_onOwnDesktop =
    getenv("QUORVEL_SCREENSHOT_DIR") == nullptr && RunOnOwnDesktop("QuorvelSECDockTests");

class CTestApp : public CWinApp {
 public:
  CTestApp() : CWinApp("SEC Dock Tester") {}
};
CTestApp theApp;

// ---------------------------------------------------------------------------------------------
// Row arithmetic

TEST(DockLayout, MinShare)
{
  EXPECT_FLOAT_EQ(SECDockLayout::MinShare(400), 0.045f);
  EXPECT_FLOAT_EQ(SECDockLayout::MinShare(0), 0.05f);
  EXPECT_FLOAT_EQ(SECDockLayout::MinShare(-3), 0.05f);
  EXPECT_FLOAT_EQ(SECDockLayout::MinShare(10), 1.0f);
}

TEST(DockLayout, NormalizeShares)
{
  struct Case {
    std::vector<float> in;
    float fMin;
    std::vector<float> out;
  } cases[] = {
      {{0.0f, 0.7f}, 0.045f, {0.045f, 0.955f}},         // a zero share raised to the minimum
      {{0.0f, 0.0f, 0.0f}, 0.05f, {1 / 3.f, 1 / 3.f, 1 / 3.f}},  // stored without shares
      {{1.0f, 0.0f, 0.0f}, 0.05f, {0.9f, 0.05f, 0.05f}},         // expanded
      {{0.1f, 0.1f, 0.1f}, 0.05f, {1 / 3.f, 1 / 3.f, 1 / 3.f}},  // contracted
      {{0.6f, 0.2f, 0.2f}, 0.05f, {0.6f, 0.2f, 0.2f}},
      {{3.0f, 1.0f}, 0.05f, {0.75f, 0.25f}},
      {{-5.0f, 1.0f}, 0.05f, {0.05f, 0.95f}},             // a hostile negative share
      {{0.5f, 0.5f}, 0.6f, {0.5f, 0.5f}},                 // row too short for the minimum
      {{0.0f, 0.0f, 1.0f, 0.0f}, 0.2f, {0.2f, 0.2f, 0.4f, 0.2f}},
  };
  for (const Case& c : cases) {
    std::vector<float> v = c.in;
    SECDockLayout::NormalizeShares(v, c.fMin);
    float sum = 0;
    for (size_t i = 0; i < v.size(); i++) {
      EXPECT_NEAR(v[i], c.out[i], 1e-5) << "case " << &c - cases << " share " << i;
      EXPECT_GE(v[i] + 1e-6f, std::min(c.fMin, 1.0f / v.size()));
      sum += v[i];
    }
    EXPECT_NEAR(sum, 1.0f, 1e-5);
  }
}

TEST(DockLayout, NormalizeSharesKeepsTheChangedBar)
{
  std::vector<float> v = {0.7f, 1.0f};  // a bar back in a row the other had to itself
  SECDockLayout::NormalizeShares(v, 0.05f, 0);
  EXPECT_NEAR(v[0], 0.7f, 1e-6);
  EXPECT_NEAR(v[1], 0.3f, 1e-6);
  v = {0.99f, 0.5f, 0.5f};  // the others still keep the minimum
  SECDockLayout::NormalizeShares(v, 0.05f, 0);
  EXPECT_NEAR(v[1], 0.05f, 1e-6);
  EXPECT_NEAR(v[0] + v[1] + v[2], 1.0f, 1e-5);
}

TEST(DockLayout, RowLengths)
{
  struct Case {
    std::vector<float> shares;
    int nLength;
    bool bStretch;
    std::vector<int> lengths;
  } cases[] = {
      {{0.5f, 0.5f}, 406, true, {200, 200}},
      {{1 / 3.f, 1 / 3.f, 1 / 3.f}, 640, true, {209, 209, 210}},  // 628 / 3 each, last to end
      {{0.6f, 0.4f}, 500, false, {296, 197}},
      {{0.5f, 0.5f}, 4, true, {0, 0}},                            // shorter than a splitter
      {{1.0f}, 300, true, {300}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SECDockLayout::RowLengths(c.shares, c.nLength, c.bStretch), c.lengths)
        << "case " << &c - cases;
}

TEST(DockLayout, MoveInRowSplitter)
{
  struct Case {
    std::vector<int> in;
    int nBefore, nDelta;
    std::vector<int> out;
    int nMoved;
  } cases[] = {
      {{100, 100, 100}, 0, 30, {130, 70, 100}, 30},
      {{100, 100, 100}, 0, 500, {264, 18, 18}, 164},   // the others stop at the minimum
      {{100, 100, 100}, 1, -50, {100, 50, 150}, -50},
      {{100, 100, 100}, 1, -500, {18, 18, 264}, -164},
      {{100, 100}, 1, 20, {100, 100}, 0},               // no bar after the last
      {{10, 10}, 0, 5, {10, 10}, 0},                    // a bar below the minimum gives nothing
  };
  for (const Case& c : cases) {
    std::vector<int> v = c.in;
    EXPECT_EQ(SECDockLayout::MoveInRowSplitter(v, c.nBefore, c.nDelta, 18), c.nMoved);
    EXPECT_EQ(v, c.out) << "case " << &c - cases;
  }
}

// ---------------------------------------------------------------------------------------------
// Bars on a frame

enum { ID_BAR1 = 0xE840, ID_BAR2, ID_BAR3, ID_BAR4 };

class DockFrameTest : public testing::Test {
 protected:
  SECFrameWnd* m_pFrame = nullptr;

  void SetUp() override
  {
    static char cmdLine[] = "";
    ASSERT_TRUE(AfxWinInit(::GetModuleHandleA(NULL), NULL, cmdLine, SW_SHOWNORMAL));
    if (theApp.m_pszRegistryKey == NULL)
      theApp.SetRegistryKey("Quorvel Tests");
    m_pFrame = new SECFrameWnd;
    if (!m_pFrame->Create(NULL, "Docking", WS_OVERLAPPEDWINDOW, CRect(0, 0, 660, 520))) {
      m_pFrame = nullptr;
      FAIL() << "no frame";
    }
    theApp.m_pMainWnd = m_pFrame;
    m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
    ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, m_pFrame->m_hWnd,
                      (HMENU)AFX_IDW_PANE_FIRST, NULL, NULL);
    m_pFrame->ShowWindow(SW_SHOWNORMAL);
  }
  void TearDown() override
  {
    if (m_pFrame != nullptr)
      m_pFrame->DestroyWindow();
    theApp.m_pMainWnd = NULL;
  }
  SECControlBar* NewBar(UINT nID, DWORD dwAlign = CBRS_TOP, DWORD dwExStyle = 0)
  {
    SECControlBar* pBar = new SECControlBar;
    pBar->m_bAutoDelete = TRUE;
    EXPECT_TRUE(pBar->Create(m_pFrame, "Bar", WS_CHILD | WS_VISIBLE | dwAlign, dwExStyle, nID));
    pBar->EnableDocking(CBRS_ALIGN_ANY);
    return pBar;
  }
  SECDockBar* Side(UINT nID) { return DYNAMIC_DOWNCAST(SECDockBar, m_pFrame->GetControlBar(nID)); }
  static CRect RectIn(CWnd* pWnd, CWnd* pParent)
  {
    CRect rect;
    pWnd->GetWindowRect(&rect);
    ::MapWindowPoints(NULL, pParent->m_hWnd, (LPPOINT)&rect, 2);
    return rect;
  }
};

TEST_F(DockFrameTest, NewBarSizesAndCommittedShare)
{
  SECControlBar* pBar = NewBar(ID_BAR1);
  EXPECT_EQ(pBar->CalcFixedLayout(FALSE, TRUE), CSize(300, 180));   // 180 thick at the top
  EXPECT_EQ(pBar->CalcFixedLayout(FALSE, FALSE), CSize(300, 180));  // 300 thick at a side
  EXPECT_EQ(pBar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH), CSize(300, 180));
  pBar->m_fPctWidth = 0.5f;
  pBar->CalcDynamicLayout(500, LM_HORZDOCK | LM_COMMIT | LM_STRETCH);
  EXPECT_EQ(pBar->m_szHorzDock.cx, 250);
  pBar->CalcDynamicLayout(77, LM_VERTDOCK | LM_COMMIT | LM_LENGTHY);
  EXPECT_EQ(pBar->m_szVertDock.cy, 77);
  pBar->CalcDynamicLayout(123, LM_COMMIT);
  EXPECT_EQ(pBar->m_szFloat.cx, 123);
  EXPECT_EQ(pBar->m_nMRUWidth, 123u);
}

TEST_F(DockFrameTest, ProportionalChildLayout)
{
  SECControlBar* pBar = NewBar(ID_BAR1);
  CWnd* pChild = new CWnd;
  // Recorded while the bar has no size: nothing to scale by, the child stays.
  ASSERT_TRUE(pChild->Create("STATIC", "", WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 60), pBar, 1));
  pBar->SetExtendedStyle(CBRS_EX_SIZE_TO_FIT, FALSE);
  pBar->SetWindowPos(NULL, 0, 0, 150, 90, SWP_NOZORDER | SWP_NOMOVE);
  EXPECT_EQ(RectIn(pChild, pBar), CRect(10, 10, 110, 60));
  // Recorded in a 200 x 100 client, scaled to 400 x 200.
  pBar->SetWindowPos(NULL, 0, 0, 200, 100, SWP_NOZORDER | SWP_NOMOVE);
  pChild->MoveWindow(10, 10, 100, 50);
  pBar->SetExtendedStyle(0, FALSE);
  pBar->SetExtendedStyle(CBRS_EX_SIZE_TO_FIT, FALSE);
  pBar->SetWindowPos(NULL, 0, 0, 400, 200, SWP_NOZORDER | SWP_NOMOVE);
  EXPECT_EQ(RectIn(pChild, pBar), CRect(20, 20, 220, 120));
  pChild->DestroyWindow();
  delete pChild;
}

TEST_F(DockFrameTest, SharedRowLengthsAndDockPosition)
{
  SECControlBar* pA = NewBar(ID_BAR1);
  SECControlBar* pB = NewBar(ID_BAR2);
  SECControlBar* pC = NewBar(ID_BAR3);
  m_pFrame->DockControlBarEx(pA, AFX_IDW_DOCKBAR_TOP, 0, 0, 0.5f, 60);
  m_pFrame->DockControlBarEx(pB, AFX_IDW_DOCKBAR_TOP, 1, 0, 0.25f, 40);
  m_pFrame->DockControlBarEx(pC, AFX_IDW_DOCKBAR_TOP, 2, 0, 0.25f, 40);
  m_pFrame->RecalcLayout();
  SECDockBar* pTop = Side(AFX_IDW_DOCKBAR_TOP);
  ASSERT_NE(pTop, nullptr);
  CRect rectDock;
  pTop->GetClientRect(&rectDock);
  int nLength = rectDock.Width();
  int nBase = nLength - 12;
  CRect a = RectIn(pA, pTop), b = RectIn(pB, pTop), c = RectIn(pC, pTop);
  EXPECT_EQ(a.Width(), (int)(0.5f * nBase));
  EXPECT_EQ(b.Width(), (int)(0.25f * nBase));
  EXPECT_EQ(b.left, a.right + 6);
  EXPECT_EQ(c.left, b.right + 6);
  EXPECT_EQ(c.right, nLength);  // the last bar ends at the dock bar's end
  EXPECT_EQ(a.Height(), 60);    // all as thick as the thickest
  EXPECT_EQ(c.Height(), 60);
  EXPECT_EQ(pTop->m_arrSplitters.size(), 3u);  // two in the row, one beside it

  int nRow, nCol, nThick;
  UINT nID;
  float fShare;
  ASSERT_TRUE(pB->GetDockPosition(nRow, nCol, nID, fShare, nThick));
  EXPECT_EQ(nRow, 0);
  EXPECT_EQ(nCol, 1);
  EXPECT_EQ(nID, (UINT)AFX_IDW_DOCKBAR_TOP);
  EXPECT_NEAR(fShare, 0.25f, 1e-6);
  EXPECT_EQ(nThick, 60);

  // Expanding one leaves the others at the minimum; contracting shares the row equally.
  pTop->ExpandBar(pB, 1);
  EXPECT_TRUE(pTop->IsBarExpanded(pB));
  EXPECT_NEAR(pA->m_fPctWidth, pTop->m_fMinShare, 1e-6);
  EXPECT_NEAR(pC->m_fPctWidth, pTop->m_fMinShare, 1e-6);
  pTop->ExpandBar(pB, 2);
  EXPECT_FALSE(pTop->IsBarExpanded(pB));
  EXPECT_NEAR(pA->m_fPctWidth, 1 / 3.f, 1e-6);
  EXPECT_FALSE(pTop->IsAloneInRow(pB));
}

TEST_F(DockFrameTest, DockBySideFloatAndComeBack)
{
  SECControlBar* pA = NewBar(ID_BAR1, CBRS_BOTTOM);
  SECControlBar* pB = NewBar(ID_BAR2, CBRS_BOTTOM);
  m_pFrame->DockControlBarEx(pA, 0, 0, 0, 0.6f, 83);
  m_pFrame->DockControlBarEx(pB, 0, 1, 0, 0.4f, 83);
  m_pFrame->RecalcLayout();
  int nRow, nCol, nThick;
  UINT nID;
  float fShare;
  ASSERT_TRUE(pA->GetDockPosition(nRow, nCol, nID, fShare, nThick));
  EXPECT_EQ(nID, (UINT)AFX_IDW_DOCKBAR_BOTTOM);
  EXPECT_NEAR(fShare, 0.6f, 1e-6);
  EXPECT_EQ(nThick, 83);
  ASSERT_TRUE(pB->GetDockPosition(nRow, nCol, nID, fShare, nThick));
  EXPECT_EQ(nCol, 1);

  // Floating away leaves a place-holder; re-docking takes it.
  m_pFrame->FloatControlBar(pA, CPoint(100, 100));
  EXPECT_TRUE(pA->IsFloating());
  EXPECT_FALSE(pA->GetDockPosition(nRow, nCol, nID, fShare, nThick));
  m_pFrame->ReDockControlBar(pA, NULL, NULL);
  m_pFrame->RecalcLayout();
  ASSERT_TRUE(pA->GetDockPosition(nRow, nCol, nID, fShare, nThick));
  EXPECT_EQ(nID, (UINT)AFX_IDW_DOCKBAR_BOTTOM);
  EXPECT_EQ(nRow, 0);
  EXPECT_EQ(nCol, 0);

  // Floating a lone floating bar again only moves its frame.
  m_pFrame->FloatControlBar(pA, CPoint(120, 140));
  CWnd* pMini = pA->GetParentFrame();
  ASSERT_NE(pMini, m_pFrame);
  m_pFrame->FloatControlBar(pA, CPoint(160, 170));
  EXPECT_EQ(pA->GetParentFrame(), pMini);
  CRect rectMini;
  pMini->GetWindowRect(&rectMini);
  EXPECT_EQ(rectMini.TopLeft(), CPoint(160, 170));
  m_pFrame->ReDockControlBar(pA, NULL, NULL);
  m_pFrame->RecalcLayout();

  // Hidden bars have no position; a bar naming no single side is not docked.
  m_pFrame->ShowControlBar(pB, FALSE, FALSE);
  EXPECT_FALSE(pB->GetDockPosition(nRow, nCol, nID, fShare, nThick));
  SECControlBar* pC = NewBar(ID_BAR3, CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT);
  m_pFrame->DockControlBarEx(pC, 0, 0, 0, 1.0f, 50);
  EXPECT_EQ(pC->m_pDockBar, nullptr);
  m_pFrame->DockControlBar(pC);
  EXPECT_EQ(pC->m_pDockBar, nullptr);
  m_pFrame->ReDockControlBar(pC, NULL, NULL);
  EXPECT_EQ(pC->m_pDockBar, nullptr);
}

TEST_F(DockFrameTest, UniqueBarIdsAndMenuMessage)
{
  NewBar(256);
  NewBar(257);
  struct Case {
    CFrameWnd* pFrame;
    UINT nWanted;
    UINT nResult;
  } cases[] = {
      {m_pFrame, 300, 300}, {m_pFrame, 256, 258}, {m_pFrame, 257, 258}, {NULL, 300, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SECFrameWnd::GetUniqueBarID(c.pFrame, c.nWanted), c.nResult);
  EXPECT_FALSE(SECFrameWnd::IsBarIDFree(m_pFrame, 256));
  EXPECT_TRUE(SECFrameWnd::IsBarIDFree(m_pFrame, AFX_IDW_DOCKBAR_TOP));  // dock bars do not count
  EXPECT_FALSE(SECFrameWnd::IsBarIDFree(m_pFrame, 0));
  EXPECT_TRUE(SECFrameWnd::AreBarIDsUnique(m_pFrame));
  EXPECT_NE(m_pFrame->GetSECControlBar(257), nullptr);
  EXPECT_EQ(m_pFrame->GetSECControlBar(259), nullptr);

  // Every id of 300..1300 taken: none left.
  for (UINT n = 300; n <= 1300; n++)
    NewBar(n);
  EXPECT_EQ(SECFrameWnd::GetUniqueBarID(m_pFrame, 300), 0u);
  EXPECT_EQ(SECFrameWnd::GetUniqueBarID(m_pFrame, 299), 299u);

  ASSERT_NE(WM_SECGETMENU, 0u);
  struct MenuCase {
    WPARAM id;
    LPARAM pos;
    bool bFound;
  } menus[] = {{0, 0, false}, {7, 0, false}, {7, 9, false}};
  for (const MenuCase& m : menus)
    EXPECT_EQ(m_pFrame->SendMessage(WM_SECGETMENU, m.id, m.pos) != 0, m.bFound);
}

// ---------------------------------------------------------------------------------------------
// Dock state

// A bar of the classic kind, which the toolkit's dock state leaves alone.
class CPlainBar : public CControlBar {
 public:
  CPlainBar() { m_bAutoDelete = TRUE; }
  CSize CalcFixedLayout(BOOL, BOOL bHorz) override { return bHorz ? CSize(100, 20) : CSize(20, 100); }
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
};

TEST(DockStateText, Shares)
{
  EXPECT_STREQ(SECShareToText(0.6f), "600000");
  EXPECT_STREQ(SECShareToText(1 / 3.f), "333333");
  EXPECT_STREQ(SECShareToText(1.0f), "1000000");
  struct Case {
    const char* text;
    float f;
  } cases[] = {{"333333", 0.333333f}, {"-5", 0.0f}, {"", 0.0f}, {"junk", 0.0f},
               {"1000000", 1.0f}};
  for (const Case& c : cases)
    EXPECT_NEAR(SECShareFromText(c.text), c.f, 1e-6) << c.text;
  EXPECT_EQ(SECShareFromText(NULL), 0.0f);
}

TEST(DockStateClean, PlaceHoldersDuplicatesAndTrailingZeros)
{
  SECDockState state;
  auto add = [&](UINT nID, UINT nMRUDockID, std::vector<UINT> ids) {
    SECControlBarInfo* p = new SECControlBarInfo;
    p->m_nBarID = nID;
    p->m_uMRUDockID = nMRUDockID;
    for (UINT n : ids)
      p->m_arrBarID.Add((void*)(UINT_PTR)n);
    state.m_arrBarInfo.Add(p);
    return p;
  };
  SECControlBarInfo* pTop = add(AFX_IDW_DOCKBAR_TOP, 0, {0, 0x10000 + 5, 7, 7, 0, 0, 0});
  SECControlBarInfo* pLeft = add(AFX_IDW_DOCKBAR_LEFT, 0, {0, 0x10000 + 5, 8, 0});
  add(5, AFX_IDW_DOCKBAR_LEFT, {});  // bar 5 last docked on the left
  state.CleanupState();
  // Only the place-holder on bar 5's own dock bar stays; the second 7 goes; one trailing 0.
  std::vector<UINT_PTR> top, left;
  for (INT_PTR i = 0; i < pTop->m_arrBarID.GetSize(); i++)
    top.push_back((UINT_PTR)pTop->m_arrBarID[i]);
  for (INT_PTR i = 0; i < pLeft->m_arrBarID.GetSize(); i++)
    left.push_back((UINT_PTR)pLeft->m_arrBarID[i]);
  EXPECT_EQ(top, (std::vector<UINT_PTR>{0, 0, 7, 0}));
  EXPECT_EQ(left, (std::vector<UINT_PTR>{0, 0x10005, 8, 0}));
  EXPECT_EQ(((SECControlBarInfo*)state.m_arrBarInfo[2])->m_arrBarID.GetSize(), 0);
}

TEST_F(DockFrameTest, ProfileRoundTripRecreatesBars)
{
  SECControlBar* pA = NewBar(ID_BAR1, CBRS_TOP, CBRS_EX_COOL | CBRS_EX_GRIPPER);
  SECControlBar* pB = NewBar(ID_BAR2);
  SECControlBar* pC = NewBar(ID_BAR3, CBRS_LEFT);
  CPlainBar* pPlain = new CPlainBar;
  ASSERT_TRUE(pPlain->CWnd::Create(NULL, "Plain", WS_CHILD | WS_VISIBLE | CBRS_TOP,
                                   CRect(0, 0, 0, 0), m_pFrame, ID_BAR4));
  pB->SetWindowText("Second");
  m_pFrame->DockControlBarEx(pA, AFX_IDW_DOCKBAR_TOP, 0, 0, 0.6f, 70);
  m_pFrame->DockControlBarEx(pB, AFX_IDW_DOCKBAR_TOP, 1, 0, 0.4f, 70);
  m_pFrame->DockControlBarEx(pC, AFX_IDW_DOCKBAR_LEFT, 0, 0, 1.0f, 120);
  m_pFrame->RecalcLayout();
  m_pFrame->ShowControlBar(pC, FALSE, FALSE);

  SECDockState saved;
  ASSERT_TRUE(saved.GetDockState(m_pFrame));
  for (INT_PTR i = 0; i < saved.m_arrBarInfo.GetSize(); i++)
    EXPECT_NE(((CControlBarInfo*)saved.m_arrBarInfo[i])->m_nBarID, (UINT)ID_BAR4);
  saved.CleanupState();
  saved.SaveState("SECDock");

  // The keys as stored.
  int nBars = (int)theApp.GetProfileInt("SECDock-Summary", "Bars", 0);
  ASSERT_GT(nBars, 3);
  bool bSawA = false, bSawC = false;
  for (int i = 0; i < nBars; i++) {
    CString strSection;
    strSection.Format("SECDock-Bar%d", i);
    UINT nID = theApp.GetProfileInt(strSection, "BarID", 0);
    if (nID == ID_BAR1) {
      bSawA = true;
      EXPECT_STREQ(theApp.GetProfileString(strSection, "PctWidth", ""), "600000");
      EXPECT_STREQ(theApp.GetProfileString(strSection, "ClassName", ""), "SECControlBar");
      EXPECT_EQ(theApp.GetProfileInt(strSection, "ExStyle", 0),
                (UINT)(CBRS_EX_COOL | CBRS_EX_GRIPPER));
      EXPECT_EQ(theApp.GetProfileInt(strSection, "MRUHorzDockCY", 0), 70u);
    }
    if (nID == ID_BAR3) {
      bSawC = true;
      EXPECT_EQ(theApp.GetProfileInt(strSection, "Visible", 1), 0u);
    }
  }
  EXPECT_TRUE(bSawA);
  EXPECT_TRUE(bSawC);

  // B is gone and A changed; loading makes B again and puts A back.
  pB->DestroyWindow();
  pA->m_fPctWidth = 0.2f;
  pA->m_szHorzDock.cy = 20;
  m_pFrame->ShowControlBar(pC, TRUE, FALSE);
  SECDockState loaded;
  loaded.LoadState("SECDock");
  ASSERT_TRUE(loaded.SetDockState(m_pFrame));
  EXPECT_NEAR(pA->m_fPctWidth, 0.6f, 1e-5);
  EXPECT_EQ(pA->m_szHorzDock.cy, 70);
  EXPECT_FALSE(pC->IsWindowVisible());
  SECControlBar* pB2 = m_pFrame->GetSECControlBar(ID_BAR2);
  ASSERT_NE(pB2, nullptr);
  EXPECT_EQ(m_pFrame->m_listDynamicBars.GetCount(), 1);
  CString strTitle;
  pB2->GetWindowText(strTitle);
  EXPECT_STREQ(strTitle, "Second");
  int nRow, nCol, nThick;
  UINT nID;
  float fShare;
  ASSERT_TRUE(pB2->GetDockPosition(nRow, nCol, nID, fShare, nThick));
  EXPECT_EQ(nID, (UINT)AFX_IDW_DOCKBAR_TOP);
  EXPECT_EQ(nCol, 1);
  EXPECT_NEAR(fShare, 0.4f, 1e-5);
}

TEST_F(DockFrameTest, HostileStoredStates)
{
  // A record naming a creatable class that is no bar makes nothing and is dropped; a
  // placement of the wrong length is not taken.
  theApp.WriteProfileInt("SECHostile-Summary", "Bars", 50000);
  theApp.WriteProfileInt("SECHostile-Bar0", "BarID", 0x7777);
  theApp.WriteProfileString("SECHostile-Bar0", "ClassName", "SECFrameWnd");
  theApp.WriteProfileInt("SECHostile-Bar0", "MDIChild", 1);
  BYTE junk[60] = {1, 2, 3};
  theApp.WriteProfileBinary("SECHostile-Bar0", "MDIChildWindowPlacement", junk, sizeof junk);
  SECDockState state;
  state.LoadState("SECHostile");
  ASSERT_EQ(state.m_arrBarInfo.GetSize(), 1);  // the sections there, not the count
  SECControlBarInfo* pInfo = (SECControlBarInfo*)state.m_arrBarInfo[0];
  EXPECT_EQ(pInfo->m_wpMDIChild.length, sizeof(WINDOWPLACEMENT));
  EXPECT_EQ(pInfo->m_wpMDIChild.flags, 0u);
  ASSERT_TRUE(state.SetDockState(m_pFrame));
  EXPECT_EQ(state.m_arrBarInfo.GetSize(), 0);
  EXPECT_EQ(m_pFrame->GetControlBar(0x7777), nullptr);
  EXPECT_EQ(m_pFrame->m_listDynamicBars.GetCount(), 0);

  // Archives whose counts exceed their bytes are refused at once.
  const BYTE hostile[][14] = {
      {2, 0, 0, 0, 0, 4, 0, 0, 0, 3, 0, 0, 0xFF, 0xFF},  // 65535 records
      {1, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0},        // a record cut short
  };
  for (const auto& bytes : hostile) {
    CMemFile in(const_cast<BYTE*>(bytes), sizeof(bytes));
    CArchive ar(&in, CArchive::load);
    SECDockState s;
    bool bThrown = false;
    try {
      s.Serialize(ar);
    } catch (CArchiveException* e) {
      bThrown = true;
      e->Delete();
    }
    EXPECT_TRUE(bThrown);
  }
}

TEST_F(DockFrameTest, ArchiveRoundTrip)
{
  SECControlBar* pA = NewBar(ID_BAR1);
  m_pFrame->DockControlBarEx(pA, AFX_IDW_DOCKBAR_BOTTOM, 0, 0, 0.5f, 83);
  m_pFrame->RecalcLayout();
  pA->m_dwMRUDockingState = CBRS_ALIGN_LEFT;
  SECDockState saved;
  ASSERT_TRUE(saved.GetDockState(m_pFrame));
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    saved.Serialize(ar);
  }
  file.SeekToBegin();
  SECDockState loaded;
  {
    CArchive ar(&file, CArchive::load);
    loaded.Serialize(ar);
  }
  ASSERT_EQ(loaded.m_arrBarInfo.GetSize(), saved.m_arrBarInfo.GetSize());
  for (INT_PTR i = 0; i < saved.m_arrBarInfo.GetSize(); i++) {
    SECControlBarInfo* a = (SECControlBarInfo*)saved.m_arrBarInfo[i];
    SECControlBarInfo* b = (SECControlBarInfo*)loaded.m_arrBarInfo[i];
    EXPECT_EQ(a->m_nBarID, b->m_nBarID);
    EXPECT_EQ(a->m_pointPos, b->m_pointPos);
    EXPECT_EQ(a->m_dwStyle, b->m_dwStyle);
    EXPECT_EQ(a->m_dwExStyle, b->m_dwExStyle);
    EXPECT_NEAR(a->m_fPctWidth, b->m_fPctWidth, 1e-5);
    EXPECT_EQ(a->m_szMRUFloat, b->m_szMRUFloat);
    EXPECT_EQ(a->m_szMRUHorzDock, b->m_szMRUHorzDock);
    EXPECT_EQ(a->m_szMRUVertDock, b->m_szMRUVertDock);
    EXPECT_EQ(a->m_dwMRUDockingState, b->m_dwMRUDockingState);
    EXPECT_EQ(a->m_dwDockStyle, b->m_dwDockStyle);
    ASSERT_EQ(a->m_arrBarID.GetSize(), b->m_arrBarID.GetSize());
    for (INT_PTR j = 0; j < a->m_arrBarID.GetSize(); j++)
      EXPECT_EQ(a->m_arrBarID[j], b->m_arrBarID[j]);
  }
}

// ---------------------------------------------------------------------------------------------
// Status bar

// Counts what reaches the common control.
class CCountingStatusBar : public SECStatusBar {
 public:
  int m_nSetText = 0;
  LPARAM m_lLastText = 1;
  LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override
  {
    if (nMsg == SB_SETTEXTA) {
      m_nSetText++;
      m_lLastText = lParam;
    }
    return SECStatusBar::WindowProc(nMsg, wParam, lParam);
  }
};

TEST_F(DockFrameTest, StatusBarPanes)
{
  CCountingStatusBar bar;
  ASSERT_TRUE(bar.Create(m_pFrame));
  const UINT ids[] = {0, 0xBEEF, 0xBEF0};  // ids without strings
  ASSERT_TRUE(bar.SetIndicators(ids, 3));
  EXPECT_STREQ(bar.GetPaneText(1), "  ");
  EXPECT_EQ(bar.GetPaneStyle(0), (UINT)(SBPS_NOBORDERS | SBPS_STRETCH));
  EXPECT_EQ(bar.CommandToIndex(0xBEF0), 2);
  EXPECT_EQ(bar.CommandToIndex(0x1234), -1);

  // The window text is pane 0's.
  bar.SetWindowText("Ready");
  EXPECT_STREQ(bar.GetPaneText(0), "Ready");
  char buf[6];
  EXPECT_EQ(bar.SendMessage(WM_GETTEXT, sizeof buf, (LPARAM)buf), 6);
  EXPECT_STREQ(buf, "Ready");
  char shortBuf[5];
  EXPECT_EQ(bar.SendMessage(WM_GETTEXT, sizeof shortBuf, (LPARAM)shortBuf), 5);
  EXPECT_STREQ(shortBuf, "Read");
  EXPECT_EQ(bar.SendMessage(WM_GETTEXT, 0, (LPARAM)shortBuf), 0);
  EXPECT_EQ(bar.SendMessage(WM_GETTEXTLENGTH), 5);

  // The same text twice sends nothing the second time; a disabled pane is sent blank.
  int n = bar.m_nSetText;
  EXPECT_TRUE(bar.SetPaneText(1, "CAP"));
  EXPECT_EQ(bar.m_nSetText, n + 1);
  EXPECT_TRUE(bar.SetPaneText(1, "CAP"));
  EXPECT_EQ(bar.m_nSetText, n + 1);
  bar.SetPaneStyle(1, SBPS_DISABLED);
  EXPECT_EQ(bar.m_nSetText, n + 2);
  EXPECT_EQ(bar.m_lLastText, 0);
  EXPECT_STREQ(bar.GetPaneText(1), "CAP");

  // Out of range: nothing, and nothing sent.
  n = bar.m_nSetText;
  struct Case {
    int nIndex;
  } cases[] = {{-1}, {3}, {1000}};
  for (const Case& c : cases) {
    EXPECT_FALSE(bar.SetPaneText(c.nIndex, "x"));
    EXPECT_FALSE(bar.SetPaneWidth(c.nIndex, 10));
    EXPECT_EQ(bar.GetItemID(c.nIndex), 0u);
    EXPECT_EQ(bar.GetPaneStyle(c.nIndex), 0u);
    EXPECT_STREQ(bar.GetPaneText(c.nIndex), "");
    bar.SetPaneStyle(c.nIndex, SBPS_POPOUT);
    bar.SetPaneInfo(c.nIndex, 5, 0, 10);
    CRect rect(1, 2, 3, 4);
    bar.GetItemRect(c.nIndex, &rect);
    EXPECT_TRUE(rect.IsRectEmpty());
  }
  EXPECT_EQ(bar.m_nSetText, n);
  SECStatusBar empty;
  EXPECT_EQ(empty.CommandToIndex(0), -1);

  // Two stretch panes share the extra width, the second taking the larger half.
  bar.SetWindowPos(NULL, 0, 0, 407, 20, SWP_NOZORDER | SWP_NOMOVE);
  bar.ModifyStyle(SBARS_SIZEGRIP, 0);
  bar.SetPaneInfo(0, 0, SBPS_STRETCH, 10);
  bar.SetPaneInfo(1, 0xBEEF, SBPS_STRETCH, 10);
  bar.SetPaneInfo(2, 0xBEF0, 0, 10);
  CRect r0, r1, r2;
  bar.GetItemRect(0, &r0);
  bar.GetItemRect(1, &r1);
  bar.GetItemRect(2, &r2);
  int w0 = r0.Width(), w1 = r1.Width();
  EXPECT_TRUE(w1 == w0 || w1 == w0 + 1) << w0 << " " << w1;
  EXPECT_GT(w0, 100);

  // The minimum height holds.
  bar.SendMessage(SB_SETMINHEIGHT, 40);
  EXPECT_EQ(bar.CalcFixedLayout(FALSE, TRUE).cy, 40);
  EXPECT_EQ(bar.CalcFixedLayout(FALSE, FALSE), CSize(0, 0));
  bar.DestroyWindow();
}

// ---------------------------------------------------------------------------------------------
// Splitters, dragged with posted mouse messages

TEST_F(DockFrameTest, SplittersKeepTheirMinimums)
{
  SECControlBar* pA = NewBar(ID_BAR1);
  SECControlBar* pB = NewBar(ID_BAR2);
  m_pFrame->DockControlBarEx(pA, AFX_IDW_DOCKBAR_TOP, 0, 0, 0.5f, 60);
  m_pFrame->DockControlBarEx(pB, AFX_IDW_DOCKBAR_TOP, 1, 0, 0.5f, 60);
  m_pFrame->RecalcLayout();
  SECDockBar* pTop = Side(AFX_IDW_DOCKBAR_TOP);
  auto find = [&](BOOL bInRow) {
    for (const SECDockBar::Splitter& sp : pTop->m_arrSplitters)
      if (sp.bInRow == bInRow)
        return sp;
    ADD_FAILURE() << "no splitter";
    return SECDockBar::Splitter{};
  };
  auto drag = [&](const SECDockBar::Splitter& sp, CPoint ptTo) {
    CPoint ptFrom = sp.rect.CenterPoint();
    pTop->PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(ptTo.x, ptTo.y));
    pTop->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptTo.x, ptTo.y));
    pTop->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptFrom.x, ptFrom.y));
    m_pFrame->RecalcLayout();
  };
  CWnd* pPane = m_pFrame->GetDlgItem(AFX_IDW_PANE_FIRST);

  // Over a splitter the mouse shows the toolkit's cursor for its direction.
  for (BOOL bInRow : {TRUE, FALSE}) {
    HCURSOR hWant = ::LoadCursorA(AfxGetResourceHandle(),
                                  MAKEINTRESOURCEA(bInRow ? IDC_SEC_SPLIT_SIDE : IDC_SEC_SPLIT_ROWS));
    ASSERT_NE(hWant, (HCURSOR)NULL);
    CPoint pt = find(bInRow).rect.CenterPoint();
    pTop->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(::GetCursor(), hWant) << bInRow;
  }

  // Dragged far into the view: the view keeps 19 pixels.
  SECDockBar::Splitter row = find(FALSE);
  drag(row, CPoint(row.rect.CenterPoint().x, 3000));
  EXPECT_EQ(RectIn(pPane, m_pFrame).Height(), 19);
  // Dragged far up: the row keeps 19.
  row = find(FALSE);
  drag(row, CPoint(row.rect.CenterPoint().x, -3000));
  EXPECT_EQ(RectIn(pA, pTop).Height(), 19);

  // In the row: each bar keeps 24 pixels (18 from the share arithmetic), the row still ends
  // at the dock bar's end.
  SECDockBar::Splitter inRow = find(TRUE);
  drag(inRow, CPoint(-3000, inRow.rect.CenterPoint().y));
  CRect rectDock;
  pTop->GetClientRect(&rectDock);
  EXPECT_EQ(RectIn(pA, pTop).Width(), 24);
  EXPECT_EQ(RectIn(pB, pTop).right, rectDock.right);
  inRow = find(TRUE);
  drag(inRow, CPoint(30, inRow.rect.CenterPoint().y));  // a small move right
  EXPECT_EQ(RectIn(pA, pTop).Width(), 24 + (30 - inRow.rect.CenterPoint().x));

  // Escape leaves everything as it was.
  int nWidth = RectIn(pA, pTop).Width();
  inRow = find(TRUE);
  pTop->PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(200, 10));
  pTop->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
  pTop->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON,
                    MAKELPARAM(inRow.rect.CenterPoint().x, inRow.rect.CenterPoint().y));
  m_pFrame->RecalcLayout();
  EXPECT_EQ(RectIn(pA, pTop).Width(), nWidth);

  // A row too short for its splitters is not resized.
  SECDockBar::Splitter sp = find(TRUE);
  m_pFrame->SetWindowPos(NULL, 0, 0, 1, 300, SWP_NOZORDER | SWP_NOMOVE);
  pTop->SetWindowPos(NULL, 0, 0, 4, 60, SWP_NOZORDER | SWP_NOMOVE);
  float fA = pA->m_fPctWidth;
  pTop->ApplySplitterDelta(sp, 40);
  EXPECT_EQ(pA->m_fPctWidth, fA);
}

// ---------------------------------------------------------------------------------------------
// Dialog bar

TEST_F(DockFrameTest, DialogBarFromTemplateAndBackFromTheDockState)
{
  SECDialogBar* pBar = new SECDialogBar;
  pBar->m_bAutoDelete = TRUE;
  UINT nID = SECFrameWnd::GetUniqueBarID(m_pFrame, 256);
  ASSERT_TRUE(pBar->Create(m_pFrame, 130, WS_VISIBLE | CBRS_RIGHT, 0x0F23, nID));
  pBar->SetWindowText("Static DialogBar");
  pBar->EnableDocking(CBRS_ALIGN_ANY);
  EXPECT_GT(pBar->m_sizeDefault.cx, 0);
  EXPECT_EQ(pBar->m_szFloat, pBar->m_sizeDefault);
  EXPECT_EQ(pBar->m_szVertDock, pBar->m_sizeDefault);
  EXPECT_FALSE(pBar->GetStyle() & WS_CAPTION);
  ASSERT_NE(pBar->GetDlgItem(1002), nullptr);
  m_pFrame->DockControlBarEx(pBar, AFX_IDW_DOCKBAR_RIGHT, 1, 0, 0.3f, 130);
  m_pFrame->RecalcLayout();
  EXPECT_EQ(RectIn(pBar, Side(AFX_IDW_DOCKBAR_RIGHT)).Width(), 130);

  SECControlBarInfo info;
  pBar->GetBarInfoEx(&info);
  EXPECT_EQ(info.m_nResourceID, 130u);
  EXPECT_STREQ(info.m_strClassName, "SECDialogBar");
  // A template given by name stores no number.
  SECDialogBar named;
  ASSERT_TRUE(named.Create(m_pFrame, "NAMEDBAR", CBRS_TOP, 0, 0xE870));
  SECControlBarInfo infoNamed;
  named.GetBarInfoEx(&infoNamed);
  EXPECT_EQ(infoNamed.m_nResourceID, 0u);
  named.DestroyWindow();

  SECDockState saved;
  ASSERT_TRUE(saved.GetDockState(m_pFrame));
  saved.CleanupState();
  saved.SaveState("SECDialog");
  pBar->DestroyWindow();
  SECDockState loaded;
  loaded.LoadState("SECDialog");
  ASSERT_TRUE(loaded.SetDockState(m_pFrame));
  SECDialogBar* pAgain = DYNAMIC_DOWNCAST(SECDialogBar, m_pFrame->GetSECControlBar(nID));
  ASSERT_NE(pAgain, nullptr);
  EXPECT_NE(pAgain->GetDlgItem(1002), nullptr);  // made from the stored template
  EXPECT_EQ(pAgain->m_dwExStyle, 0x0F23u);
  int nRow, nCol, nThick;
  UINT nDock;
  float fShare;
  ASSERT_TRUE(pAgain->GetDockPosition(nRow, nCol, nDock, fShare, nThick));
  EXPECT_EQ(nDock, (UINT)AFX_IDW_DOCKBAR_RIGHT);
  EXPECT_EQ(nThick, 130);
  EXPECT_NEAR(fShare, 1.0f, 1e-5);  // alone in its row
}

// ---------------------------------------------------------------------------------------------
// Double-click toggling

TEST_F(DockFrameTest, DoubleClickFloatsAndDocksBackWithItsShare)
{
  SECControlBar* pA = NewBar(ID_BAR1);
  SECControlBar* pB = NewBar(ID_BAR2);
  m_pFrame->DockControlBarEx(pA, AFX_IDW_DOCKBAR_TOP, 0, 0, 0.7f, 60);
  m_pFrame->DockControlBarEx(pB, AFX_IDW_DOCKBAR_TOP, 1, 0, 0.3f, 60);
  m_pFrame->RecalcLayout();
  pA->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(40, 30));
  EXPECT_TRUE(pA->IsFloating());
  m_pFrame->RecalcLayout();  // B has the row to itself meanwhile
  pA->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(40, 30));
  EXPECT_FALSE(pA->IsFloating());
  m_pFrame->RecalcLayout();
  int nRow, nCol, nThick;
  UINT nID;
  float fShare;
  ASSERT_TRUE(pA->GetDockPosition(nRow, nCol, nID, fShare, nThick));
  EXPECT_EQ(nID, (UINT)AFX_IDW_DOCKBAR_TOP);
  EXPECT_EQ(nCol, 0);
  EXPECT_NEAR(fShare, 0.7f, 1e-5);

  // With docking switched off a floating bar stays afloat.
  pA->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(40, 30));
  ASSERT_TRUE(pA->IsFloating());
  pA->EnableDocking(0);
  pA->m_pDockContext->ToggleDocking();
  EXPECT_TRUE(pA->IsFloating());
}

// ---------------------------------------------------------------------------------------------
// Redraw switch and docking at a rectangle

// During a size request the switch follows the dock bar's pending layout; afterwards it is
// on again.
TEST_F(DockFrameTest, RedrawSwitchFollowsThePendingLayoutDuringSizing)
{
  struct CWatchingBar : SECControlBar {
    std::vector<BOOL> seen;
    CSize CalcDynamicLayout(int nLength, DWORD nMode) override
    {
      seen.push_back(SECDockBar::s_bRedrawSwitch);
      return SECControlBar::CalcDynamicLayout(nLength, nMode);
    }
  };
  CWatchingBar* pBar = new CWatchingBar;
  pBar->m_bAutoDelete = TRUE;
  ASSERT_TRUE(pBar->Create(m_pFrame, "Watch", WS_CHILD | WS_VISIBLE | CBRS_TOP, 0, ID_BAR1));
  pBar->EnableDocking(CBRS_ALIGN_ANY);
  m_pFrame->DockControlBar(pBar, AFX_IDW_DOCKBAR_TOP);
  SECDockBar* pTop = Side(AFX_IDW_DOCKBAR_TOP);
  for (BOOL bPending : {FALSE, TRUE}) {
    pTop->m_bLayoutPending = bPending;
    pBar->seen.clear();
    m_pFrame->RecalcLayout();
    ASSERT_FALSE(pBar->seen.empty());
    for (BOOL b : pBar->seen)
      EXPECT_EQ(b, bPending);
    EXPECT_TRUE(SECDockBar::s_bRedrawSwitch);
  }
  // Painting empties the redraw list and clears the pending flag.
  pTop->m_bLayoutPending = TRUE;
  pTop->m_arrRedraw.Add(pBar);
  pTop->RedrawChangedBars();
  EXPECT_EQ(pTop->m_arrRedraw.GetSize(), 0);
  EXPECT_FALSE(pTop->m_bLayoutPending);
}

// A bar dropped at a rectangle: before a bar whose start lies after the rectangle's leading
// edge, after the last of a row, a new first row above every row, a new last row below.
TEST_F(DockFrameTest, DockingAtARectangleChoosesRowAndColumn)
{
  SECControlBar* pA = NewBar(ID_BAR1);
  SECControlBar* pB = NewBar(ID_BAR2);
  m_pFrame->DockControlBarEx(pA, AFX_IDW_DOCKBAR_TOP, 0, 0, 0.5f, 40);
  m_pFrame->DockControlBarEx(pB, AFX_IDW_DOCKBAR_TOP, 1, 0, 0.5f, 40);
  m_pFrame->RecalcLayout();
  SECDockBar* pTop = Side(AFX_IDW_DOCKBAR_TOP);
  CRect rectB = RectIn(pB, pTop);
  struct Case {
    const char* what;
    CRect rect;  // dock bar client coordinates
    int nRow, nCol;
  } cases[] = {
      {"before B", CRect(rectB.left - 10, rectB.top + 5, rectB.left + 30, rectB.top + 25), 0, 1},
      {"after B", CRect(rectB.left + 40, rectB.top + 5, rectB.left + 80, rectB.top + 25), 0, 2},
      {"above all", CRect(10, rectB.top - 60, 50, rectB.top - 20), 0, 0},
      {"below all", CRect(10, rectB.bottom + 100, 50, rectB.bottom + 140), 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SECControlBar* pC = NewBar(ID_BAR3);
    m_pFrame->FloatControlBar(pC, CPoint(300, 300));
    CRect screen(c.rect);
    pTop->ClientToScreen(&screen);
    pTop->DockControlBar(pC, &screen);
    int nRow = -1, nCol = -1, nThick = 0;
    ASSERT_TRUE(pTop->FindBarRow(pC, nRow, nCol, nThick));
    EXPECT_EQ(nRow, c.nRow);
    EXPECT_EQ(nCol, c.nCol);
    pC->DestroyWindow();
    m_pFrame->RecalcLayout();
  }
}

// The status bar keeps its borders outside its client area; a change of the border bits
// recalculates that area.
TEST_F(DockFrameTest, StatusBarBordersAreNonClient)
{
  SECStatusBar bar;
  ASSERT_TRUE(bar.Create(m_pFrame));
  bar.SetWindowPos(NULL, 0, 0, 300, 30, SWP_NOZORDER | SWP_NOMOVE);
  auto lost = [&bar]() {
    CRect rectWindow, rectClient;
    bar.GetWindowRect(&rectWindow);
    bar.GetClientRect(&rectClient);
    return CSize(rectWindow.Width() - rectClient.Width(), rectWindow.Height() - rectClient.Height());
  };
  bar.SetBarStyle((bar.GetBarStyle() & ~CBRS_BORDER_ANY));
  CSize without = lost();
  bar.SetBarStyle(bar.GetBarStyle() | CBRS_BORDER_ANY);
  CSize with = lost();
  CRect rectIn(0, 0, 0, 0);
  bar.CalcInsideRectEx(rectIn, TRUE, FALSE);
  EXPECT_EQ(with.cx - without.cx, rectIn.left - rectIn.right);
  EXPECT_GT(with.cx, without.cx);
  bar.SendMessage(WM_NCPAINT, 1, 0);  // paints its borders without failing
  bar.DestroyWindow();
}

// The frame's own caption painting: turned on and off with the previous setting returned;
// a title change and an activation go through it.
TEST_F(DockFrameTest, CaptionPaintingSwitchesAndKeepsTheTitle)
{
  EXPECT_FALSE(m_pFrame->IsCaptionPainting());
  if (!m_pFrame->m_bNewShell) {
    EXPECT_FALSE(m_pFrame->SetCaptionPainting(TRUE));
    EXPECT_FALSE(m_pFrame->IsCaptionPainting());
    return;
  }
  EXPECT_FALSE(m_pFrame->SetCaptionPainting(TRUE, TRUE));
  EXPECT_TRUE(m_pFrame->IsCaptionPainting());
  m_pFrame->SetCaptionAlignment(1, FALSE);
  EXPECT_EQ(m_pFrame->GetCaptionAlignment(), 1);
  m_pFrame->SetWindowText("Quorvel - swing.qvc");
  char title[64] = "";
  m_pFrame->GetWindowText(title, sizeof title);
  EXPECT_STREQ(title, "Quorvel - swing.qvc");
  EXPECT_TRUE(m_pFrame->IsWindowVisible());  // painted with the system's caption held back only
  m_pFrame->SendMessage(WM_NCACTIVATE, TRUE, 0);
  m_pFrame->SendMessage(WM_NCPAINT, 1, 0);
  EXPECT_TRUE(m_pFrame->IsWindowVisible());
  CRect cap;
  m_pFrame->GetCaptionRect(cap);
  EXPECT_GT(cap.Width(), 0);
  EXPECT_TRUE(m_pFrame->SetCaptionPainting(FALSE, FALSE));
  // Fonts: the caption's, one of them italic.
  CFont plain, italic;
  m_pFrame->CreateCaptionFont(plain);
  m_pFrame->CreateItalicCaptionFont(italic);
  LOGFONTA lfPlain = {}, lfItalic = {};
  ::GetObjectA((HFONT)plain.GetSafeHandle(), sizeof lfPlain, &lfPlain);
  ::GetObjectA((HFONT)italic.GetSafeHandle(), sizeof lfItalic, &lfItalic);
  EXPECT_FALSE(lfPlain.lfItalic);
  EXPECT_TRUE(lfItalic.lfItalic);
  // Without bitmap menus the image forwarders have nobody to hand to.
  EXPECT_FALSE(m_pFrame->AddToolBarResourceId(100));
}

// ---------------------------------------------------------------------------------------------
// Classic borders

TEST(ClassicBorders, LinesColoursAndShrinking)
{
  const COLORREF face = secData.m_clrBtnFace, dark = secData.m_clrBtnShadow,
                 hi = secData.m_clrBtnHilite;
  const int b = secData.m_cxBorder;
  struct Case {
    DWORD dwStyle, dwExStyle;
    size_t nLines;
    CRect first;  // the first line
    COLORREF clrFirst, clrSecond;
    CRect after;  // the rectangle left inside
  } cases[] = {
      // No border: nothing drawn, nothing taken.
      {CBRS_ALIGN_TOP, CBRS_EX_DRAWBORDERS, 0, CRect(), 0, 0, CRect(0, 0, 100, 40)},
      // Without visible borders every line is in the button face colour.
      {CBRS_ALIGN_TOP | CBRS_BORDER_ANY | CBRS_BORDER_3D, 0, 8, CRect(0, 0, 1, 40), face, face,
       CRect(b, b, 100 - b, 40 - b)},
      // Visible: dark then highlight.
      {CBRS_ALIGN_TOP | CBRS_BORDER_ANY | CBRS_BORDER_3D, CBRS_EX_DRAWBORDERS, 8,
       CRect(0, 0, 1, 40), dark, hi, CRect(b, b, 100 - b, 40 - b)},
      // A top border alone, no 3-D: one dark line the whole width.
      {CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP, CBRS_EX_DRAWBORDERS, 1, CRect(0, 0, 100, 1), dark,
       0, CRect(0, b, 100, 40)},
      // A vertical bar: the left line starts 2 above and is 6 longer.
      {CBRS_ALIGN_LEFT | CBRS_BORDER_LEFT | CBRS_BORDER_3D, CBRS_EX_DRAWBORDERS, 2,
       CRect(0, -2, 1, 44), dark, hi, CRect(b, 0, 100, 40)},
      // ... and its top line starts at x = 2, 3 pixels short.
      {CBRS_ALIGN_RIGHT | CBRS_BORDER_TOP, CBRS_EX_DRAWBORDERS, 1, CRect(2, 0, 99, 1), dark, 0,
       CRect(0, b, 100, 40)},
  };
  for (const Case& c : cases) {
    CRect rect(0, 0, 100, 40);
    std::vector<SECControlBar::BorderLine> lines;
    SECControlBar::CalcClassicBorders(c.dwStyle, c.dwExStyle, rect, lines);
    SCOPED_TRACE(testing::Message() << std::hex << c.dwStyle << " " << c.dwExStyle);
    ASSERT_EQ(lines.size(), c.nLines);
    EXPECT_EQ(rect, c.after);
    if (c.nLines == 0)
      continue;
    EXPECT_EQ(lines[0].rect, c.first);
    EXPECT_EQ(lines[0].clr, c.clrFirst);
    if (c.nLines > 1)
      EXPECT_EQ(lines[1].clr, c.clrSecond);
  }
}

// A bar without the cool look paints its classic borders in the toolkit's colours.
TEST_F(DockFrameTest, ClassicBordersArePaintedInTheButtonFaceUnlessVisible)
{
  SECControlBar* pBar = NewBar(ID_BAR1, CBRS_TOP | CBRS_BORDER_ANY | CBRS_BORDER_3D);
  m_pFrame->DockControlBar(pBar, AFX_IDW_DOCKBAR_TOP);
  m_pFrame->RecalcLayout();
  pBar->SetBarStyle(CBRS_ALIGN_TOP | CBRS_BORDER_ANY | CBRS_BORDER_3D);
  HDC hScreen = ::GetDC(NULL);
  HDC hdc = ::CreateCompatibleDC(hScreen);
  HBITMAP hbm = ::CreateCompatibleBitmap(hScreen, 400, 200);
  ::ReleaseDC(NULL, hScreen);
  HGDIOBJ hOld = ::SelectObject(hdc, hbm);
  CDC dc;
  dc.Attach(hdc);
  for (DWORD dwEx : {0ul, (unsigned long)CBRS_EX_DRAWBORDERS}) {
    RECT all = {0, 0, 400, 200};
    ::SetBkColor(hdc, RGB(1, 2, 3));
    ::ExtTextOutA(hdc, 0, 0, ETO_OPAQUE, &all, NULL, 0, NULL);
    pBar->m_dwExStyle = dwEx;
    pBar->DoPaint(&dc);
    COLORREF left = ::GetPixel(hdc, 0, 10), inner = ::GetPixel(hdc, 1, 10);
    EXPECT_EQ(left, dwEx ? secData.m_clrBtnShadow : secData.m_clrBtnFace);
    EXPECT_EQ(inner, dwEx ? secData.m_clrBtnHilite : secData.m_clrBtnFace);
  }
  dc.Detach();
  ::SelectObject(hdc, hOld);
  ::DeleteObject(hbm);
  ::DeleteDC(hdc);
  // Non-client painting has nothing to draw on a bar without a frame and must not fail.
  pBar->SendMessage(WM_NCPAINT, 1, 0);
}

// A floating bar that shared its frame floats sharing again after a double-click; the
// previously-floating flag belongs to floating in the main window and stays as it was.
TEST_F(DockFrameTest, DoubleClickKeepsTheFloatMultiStyle)
{
  SECControlBar* pA = NewBar(ID_BAR1);
  m_pFrame->DockControlBar(pA, AFX_IDW_DOCKBAR_TOP);
  m_pFrame->RecalcLayout();
  SECDockContext* pContext = static_cast<SECDockContext*>(pA->m_pDockContext);
  pContext->m_dwMRUFloatStyle = CBRS_ALIGN_TOP | CBRS_FLOAT_MULTI;
  pContext->m_ptMRUFloatPos = CPoint(120, 110);
  pContext->m_bPrevFloating = TRUE;
  pContext->ToggleDocking();
  ASSERT_TRUE(pA->IsFloating());
  EXPECT_TRUE(pA->m_pDockBar->m_dwStyle & CBRS_FLOAT_MULTI);
  EXPECT_TRUE(pContext->m_bPrevFloating);
  pContext->ToggleDocking();
  EXPECT_FALSE(pA->IsFloating());
  EXPECT_TRUE(pContext->m_bPrevFloating);
  // Outside a toolkit MDI frame "Float In Main Window" does nothing.
  pA->SendMessage(WM_COMMAND, ID_SEC_MDIFLOAT, 0);
  EXPECT_FALSE(pA->IsFloating());
  EXPECT_EQ(pA->GetDockKind(), 0);
}

// A rebar asks its toolkit bars for their layout at the band's width.
TEST_F(DockFrameTest, ReBarLaysItsToolkitBarsOutAtTheBandWidth)
{
  struct CRecordingBar : SECControlBar {
    std::vector<int> calls;
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override
    {
      calls.push_back((int)bStretch);
      return SECControlBar::CalcFixedLayout(bStretch, bHorz);
    }
  };
  SECReBar rebar;
  ASSERT_TRUE(rebar.Create(m_pFrame));
  CRecordingBar bar;
  ASSERT_TRUE(bar.Create(&rebar, "In band", WS_CHILD | WS_VISIBLE | CBRS_TOP, 0, ID_BAR3));
  ASSERT_TRUE(rebar.AddBar(&bar));
  bar.calls.clear();
  rebar.CalcFixedLayout(FALSE, TRUE);
  REBARBANDINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = RBBIM_SIZE;
  ASSERT_TRUE(rebar.SendMessage(RB_GETBANDINFOA, 0, (LPARAM)&info));
  ASSERT_EQ(bar.calls.size(), 1u);
  EXPECT_EQ(bar.calls[0], (int)info.cx);
  bar.DestroyWindow();
  rebar.DestroyWindow();
}

// ---------------------------------------------------------------------------------------------
// Gripper buttons

TEST_F(DockFrameTest, GripperButtonsTipsAndClicks)
{
  const DWORD dwEx = CBRS_EX_COOL | CBRS_EX_GRIPPER | CBRS_EX_GRIPPER_CLOSE | CBRS_EX_GRIPPER_EXPAND;
  SECControlBar* pA = NewBar(ID_BAR1, CBRS_TOP | CBRS_TOOLTIPS, dwEx);
  SECControlBar* pB = NewBar(ID_BAR2, CBRS_TOP | CBRS_TOOLTIPS, dwEx);
  m_pFrame->DockControlBarEx(pA, AFX_IDW_DOCKBAR_TOP, 0, 0, 0.5f, 60);
  m_pFrame->DockControlBarEx(pB, AFX_IDW_DOCKBAR_TOP, 1, 0, 0.5f, 60);
  m_pFrame->RecalcLayout();
  pA->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
  ASSERT_FALSE(pA->m_rcCloseBtn.IsRectEmpty());
  ASSERT_FALSE(pA->m_rcExpandBtn.IsRectEmpty());
  EXPECT_LT(pA->m_rcCloseBtn.bottom, pA->m_rcExpandBtn.top + 1);  // close first, then expand

  struct Case {
    CPoint pt;
    INT_PTR nHit;
    const char* tip;
  } cases[] = {{pA->m_rcCloseBtn.CenterPoint(), 1024, "Hide docked window"},
               {pA->m_rcExpandBtn.CenterPoint(), 2048, "Expand docked window"},
               {CPoint(150, 40), -1, nullptr}};
  for (const Case& c : cases) {
    TOOLINFOA ti = {};
    EXPECT_EQ(pA->OnToolHitTest(c.pt, &ti), c.nHit);
    if (c.tip != nullptr)
      EXPECT_STREQ(ti.lpszText, c.tip);
  }

  // The expand button expands, then contracts.
  CPoint ptExpand = pA->m_rcExpandBtn.CenterPoint();
  pA->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptExpand.x, ptExpand.y));
  pA->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptExpand.x, ptExpand.y));
  SECDockBar* pTop = Side(AFX_IDW_DOCKBAR_TOP);
  EXPECT_TRUE(pTop->IsBarExpanded(pA));
  pA->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
  TOOLINFOA ti = {};
  EXPECT_EQ(pA->OnToolHitTest(ptExpand, &ti), 2048);
  EXPECT_STREQ(ti.lpszText, "Contract docked window");
  pA->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptExpand.x, ptExpand.y));
  pA->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptExpand.x, ptExpand.y));
  EXPECT_FALSE(pTop->IsBarExpanded(pA));

  // The close button hides the bar; floating, the buttons are not tools.
  CPoint ptClose = pA->m_rcCloseBtn.CenterPoint();
  pA->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptClose.x, ptClose.y));
  pA->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptClose.x, ptClose.y));
  EXPECT_FALSE(pA->IsWindowVisible());
  m_pFrame->FloatControlBar(pB, CPoint(100, 100));
  EXPECT_EQ(pB->OnToolHitTest(pB->m_rcCloseBtn.CenterPoint(), NULL), -1);
}

TEST_F(DockFrameTest, BarStateThroughTheFrame)
{
  SECControlBar* pA = NewBar(ID_BAR1);
  SECControlBar* pB = NewBar(ID_BAR2);
  m_pFrame->DockControlBarEx(pA, AFX_IDW_DOCKBAR_LEFT, 0, 0, 0.25f, 90);
  m_pFrame->DockControlBarEx(pB, AFX_IDW_DOCKBAR_LEFT, 1, 0, 0.75f, 90);
  m_pFrame->RecalcLayout();
  m_pFrame->SaveBarState("SECFrameState");
  m_pFrame->DockControlBarEx(pA, AFX_IDW_DOCKBAR_BOTTOM, 0, 0, 1.0f, 40);
  m_pFrame->RecalcLayout();
  m_pFrame->LoadBarState("SECFrameState");
  int nRow, nCol, nThick;
  UINT nID;
  float fShare;
  ASSERT_TRUE(pA->GetDockPosition(nRow, nCol, nID, fShare, nThick));
  EXPECT_EQ(nID, (UINT)AFX_IDW_DOCKBAR_LEFT);
  EXPECT_EQ(nThick, 90);
  EXPECT_NEAR(fShare, 0.25f, 1e-5);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Dragging and resizing through the dock context's loop, with the mouse and keys posted

namespace {
// Posts what the loop reads: key presses first, then a move by (dx, dy) from the start point
// (in the bar's client coordinates), then the ending message.
void PostDrag(CWnd* pBar, CPoint ptStart, int dx, int dy, UINT nEnd, const std::vector<UINT>& keys)
{
  for (UINT vk : keys)
    pBar->PostMessage(WM_KEYDOWN, vk, 0);
  CPoint pt(ptStart.x + dx, ptStart.y + dy);
  pBar->ScreenToClient(&pt);
  pBar->PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
  if (nEnd == WM_KEYDOWN)
    pBar->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
  else
    pBar->PostMessage(nEnd, 0, MAKELPARAM(pt.x, pt.y));
}
}  // namespace

TEST_F(DockFrameTest, PostedDragsDockFloatAndCancel)
{
  SECStatusBar status;
  ASSERT_TRUE(status.Create(m_pFrame));
  const UINT ids[] = {0};
  ASSERT_TRUE(status.SetIndicators(ids, 1));
  SECControlBar* pA = NewBar(ID_BAR1, CBRS_BOTTOM);
  SECControlBar* pB = NewBar(ID_BAR2);
  m_pFrame->DockControlBarEx(pA, AFX_IDW_DOCKBAR_BOTTOM, 0, 0, 1.0f, 60);
  m_pFrame->DockControlBarEx(pB, AFX_IDW_DOCKBAR_BOTTOM, 0, 1, 1.0f, 60);
  m_pFrame->RecalcLayout();
  CRect rectTop;
  Side(AFX_IDW_DOCKBAR_TOP)->GetWindowRect(&rectTop);

  // B floats so that its docking outline already lies over the empty top side.
  auto floatB = [&]() -> CPoint {
    m_pFrame->FloatControlBar(pB, CPoint(rectTop.left + 80, rectTop.top - 40));
    CRect rect;
    pB->GetWindowRect(&rect);
    EXPECT_LT(rect.top, rectTop.top);
    EXPECT_GT(rect.bottom, rectTop.top);
    return rect.CenterPoint();
  };
  struct Case {
    const char* what;
    int dx, dy;
    std::vector<UINT> keys;
    UINT nEnd;
    bool bDocked;
  };
  const Case cases[] = {
      {"3 pixels", 3, 0, {}, WM_LBUTTONUP, false},
      {"5 pixels", 5, 0, {}, WM_LBUTTONUP, true},
      {"4 pixels, 2 and 2", 2, 2, {}, WM_LBUTTONUP, false},
      {"Ctrl held", 5, 0, {VK_CONTROL}, WM_LBUTTONUP, false},
      {"Shift: upright, over no side bar", 5, 0, {VK_SHIFT}, WM_LBUTTONUP, false},
      {"Escape", 5, 0, {}, WM_KEYDOWN, false},
      {"right button", 5, 0, {}, WM_RBUTTONDOWN, false},
  };
  for (const Case& c : cases) {
    CPoint pt = floatB();
    CWnd* pMini = pB->GetParentFrame();
    CRect rectBefore;
    pMini->GetWindowRect(&rectBefore);
    status.SetPaneText(0, "busy");
    PostDrag(pB, pt, c.dx, c.dy, c.nEnd, c.keys);
    pB->m_pDockContext->StartDrag(pt);
    EXPECT_EQ(::GetCapture(), (HWND)NULL) << c.what;
    EXPECT_STREQ(status.GetPaneText(0), "Ready") << c.what;
    if (c.bDocked) {
      ASSERT_NE(pB->m_pDockBar, nullptr) << c.what;
      EXPECT_EQ(pB->m_pDockBar->GetDlgCtrlID(), AFX_IDW_DOCKBAR_TOP) << c.what;
      EXPECT_EQ(pB->m_pDockContext->m_uMRUDockID, (UINT)AFX_IDW_DOCKBAR_TOP) << c.what;
      continue;
    }
    EXPECT_TRUE(pB->IsFloating()) << c.what;
    if (c.nEnd != WM_LBUTTONUP) {
      // cancelled: the frame has not moved
      CRect rectAfter;
      pB->GetParentFrame()->GetWindowRect(&rectAfter);
      EXPECT_EQ(rectAfter, rectBefore) << c.what;
    }
  }

  // While the drag runs the status line says how to keep the bar from docking.
  CPoint pt = floatB();
  struct Probe : CWnd {
    SECStatusBar* pStatus;
    CString text;
    LRESULT WindowProc(UINT m, WPARAM w, LPARAM l) override
    {
      if (m == WM_USER + 7)
        text = pStatus->GetPaneText(0);
      return CWnd::WindowProc(m, w, l);
    }
  } probe;
  probe.pStatus = &status;
  ASSERT_TRUE(probe.CreateEx(0, "STATIC", "", WS_POPUP, CRect(0, 0, 1, 1), NULL, 0));
  probe.PostMessage(WM_USER + 7);
  PostDrag(pB, pt, 1, 0, WM_KEYDOWN, {});
  pB->m_pDockContext->StartDrag(pt);
  EXPECT_STREQ(probe.text, "Press the Ctrl key to prevent docking.");
  probe.DestroyWindow();

  // A drag that cannot take the mouse does not start.
  probe.CreateEx(0, "STATIC", "", WS_POPUP, CRect(0, 0, 1, 1), NULL, 0);
  probe.SetCapture();
  PostDrag(pB, pt, 5, 0, WM_LBUTTONUP, {});
  pB->m_pDockContext->StartDrag(pt);
  EXPECT_TRUE(pB->IsFloating());
  ::ReleaseCapture();
  probe.DestroyWindow();
  MSG msg;
  while (::PeekMessageA(&msg, pB->m_hWnd, 0, 0, PM_REMOVE)) {
  }
}

TEST_F(DockFrameTest, PostedResizeKeepsTheFloatingLimits)
{
  SECControlBar* pB = NewBar(ID_BAR2, CBRS_TOP | CBRS_SIZE_DYNAMIC);
  m_pFrame->FloatControlBar(pB, CPoint(150, 150));
  auto* pMini = DYNAMIC_DOWNCAST(SECMiniDockFrameWnd, pB->GetParentFrame());
  ASSERT_NE(pMini, nullptr);
  const CSize sizeStart = pB->m_szFloat;
  struct Case {
    int nHit, dx, dy;
    CSize grow;  // against the size before the drag
  };
  const Case cases[] = {
      {HTRIGHT, 40, 0, CSize(40, 0)},
      {HTLEFT, 10, 0, CSize(-10, 0)},
      {HTBOTTOMRIGHT, 20, 15, CSize(20, 15)},
      {HTTOP, 0, -12, CSize(0, 12)},
      {HTRIGHT, -5000, 0, CSize(0, 0)},   // below the smallest floating width: refused
      {HTBOTTOM, 0, 5000, CSize(0, 0)},   // beyond the full screen: refused
      {HTTOPLEFT, -6000, 8, CSize(0, -8)},  // one axis refused, the other follows
  };
  for (const Case& c : cases) {
    CSize before = pB->m_szFloat;
    CRect rect;
    pB->GetWindowRect(&rect);
    CPoint pt = rect.CenterPoint();
    PostDrag(pB, pt, c.dx, c.dy, WM_LBUTTONUP, {});
    pB->m_pDockContext->StartResize(c.nHit, pt);
    EXPECT_EQ(pB->m_szFloat, before + c.grow) << "hit " << c.nHit << " by " << c.dx << "," << c.dy;
    EXPECT_TRUE(pB->IsFloating());
  }
  EXPECT_NE(pB->m_szFloat, sizeStart);
  // The frame fits the bar's new size.
  CRect rectBar;
  pB->GetWindowRect(&rectBar);
  EXPECT_EQ(rectBar.Size(), pB->m_szFloat);
}

TEST_F(DockFrameTest, MiniFrameMenuHidingBordersAndDoubleClick)
{
  SECControlBar* pA = NewBar(ID_BAR1, CBRS_TOP | CBRS_SIZE_DYNAMIC);
  m_pFrame->DockControlBarEx(pA, AFX_IDW_DOCKBAR_TOP, 0, 0, 1.0f, 60);
  m_pFrame->RecalcLayout();
  m_pFrame->FloatControlBar(pA, CPoint(200, 160));
  auto* pMini = DYNAMIC_DOWNCAST(SECMiniDockFrameWnd, pA->GetParentFrame());
  ASSERT_NE(pMini, nullptr);
  EXPECT_EQ(pA->m_pDockBar, pMini->GetDockBar());
  EXPECT_TRUE(pA->m_pDockBar->IsKindOf(RUNTIME_CLASS(SECDockBar)));

  // The system menu moves and hides, nothing else of the window kind.
  HMENU hSys = ::GetSystemMenu(pMini->m_hWnd, FALSE);
  ASSERT_NE(hSys, (HMENU)NULL);
  for (UINT nGone : {SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE})
    EXPECT_EQ(::GetMenuState(hSys, nGone, MF_BYCOMMAND), (UINT)-1) << nGone;
  EXPECT_NE(::GetMenuState(hSys, SC_MOVE, MF_BYCOMMAND), (UINT)-1);
  char text[32] = "";
  ::GetMenuStringA(hSys, SC_CLOSE, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "&Hide");

  // A dynamic bar's frame sizes from all eight borders and corners, and has no move frame.
  EXPECT_FALSE(pMini->GetStyle() & (MFS_MOVEFRAME | MFS_4THICKFRAME));
  EXPECT_TRUE(pMini->GetStyle() & MFS_THICKFRAME);
  CRect rect;
  pMini->GetWindowRect(&rect);
  struct Hit {
    CPoint pt;
    LRESULT nHit;
  };
  const Hit hits[] = {{CPoint(rect.left + 1, rect.top + 1), HTTOPLEFT},
                      {CPoint(rect.right - 2, rect.bottom - 2), HTBOTTOMRIGHT},
                      {CPoint(rect.left + 1, rect.CenterPoint().y), HTLEFT},
                      {CPoint(rect.CenterPoint().x, rect.bottom - 2), HTBOTTOM}};
  for (const Hit& h : hits)
    EXPECT_EQ(pMini->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(h.pt.x, h.pt.y)), h.nHit)
        << h.pt.x << "," << h.pt.y;

  // Hiding its last bar hides the frame; showing it shows the frame without activating it.
  m_pFrame->SetActiveWindow();
  m_pFrame->ShowControlBar(pA, FALSE, FALSE);
  EXPECT_FALSE(pMini->IsWindowVisible());
  m_pFrame->ShowControlBar(pA, TRUE, FALSE);
  EXPECT_TRUE(pMini->IsWindowVisible());
  EXPECT_NE(::GetActiveWindow(), pMini->m_hWnd);
  // Closing the frame (its "&Hide") hides the bar and keeps the frame's object.
  pMini->SendMessage(WM_CLOSE);
  EXPECT_FALSE(pA->IsWindowVisible());
  EXPECT_TRUE(::IsWindow(pMini->m_hWnd));
  m_pFrame->ShowControlBar(pA, TRUE, FALSE);

  // A double click on the caption docks the bar back where it was.
  CPoint ptCaption(rect.CenterPoint().x, rect.top + ::GetSystemMetrics(SM_CYFRAME) + 2);
  pMini->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(ptCaption.x, ptCaption.y));
  EXPECT_FALSE(pA->IsFloating());
  ASSERT_NE(pA->m_pDockBar, nullptr);
  EXPECT_EQ(pA->m_pDockBar->GetDlgCtrlID(), AFX_IDW_DOCKBAR_TOP);
}

TEST_F(DockFrameTest, DragOutlineTakesTheBarsShareOfTheRow)
{
  SECControlBar* pA = NewBar(ID_BAR1);
  SECControlBar* pB = NewBar(ID_BAR2);
  SECControlBar* pC = NewBar(ID_BAR3);
  m_pFrame->DockControlBarEx(pA, AFX_IDW_DOCKBAR_TOP, 0, 0, 0.5f, 60);
  m_pFrame->DockControlBarEx(pB, AFX_IDW_DOCKBAR_TOP, 1, 0, 0.5f, 60);
  m_pFrame->FloatControlBar(pC, CPoint(300, 300));
  pC->m_fPctWidth = 0.5f;
  m_pFrame->RecalcLayout();
  SECDockBar* pTop = Side(AFX_IDW_DOCKBAR_TOP);
  CRect rectTop, rectA;
  pTop->GetWindowRect(&rectTop);
  pA->GetWindowRect(&rectA);

  // Over the shared row: a third of the length (0.5 of 1.5), the row's thickness, the mouse
  // at the same place in the outline (a quarter across, half down).
  int nRow = -1;
  CRect rectLast(0, 0, 0, 0);
  CPoint ptLast(0, 0);
  CRect rect(rectA.left + 10, rectA.top + 5, rectA.left + 410, rectA.top + 105);
  CPoint pt(rect.left + 100, rect.top + 50);
  pTop->CalcDragRect(pC, rect, pt, nRow, rectLast, ptLast);
  EXPECT_EQ(nRow, 0);
  EXPECT_EQ(rect.Width(), rectTop.Width() / 3);
  EXPECT_EQ(rect.Height(), rectA.Height());
  EXPECT_EQ(pt.x - rect.left, rect.Width() / 4);
  EXPECT_EQ(pt.y - rect.top, rect.Height() / 2);
  // The next move over the same row only moves the outline.
  CRect rectMoved(rectA.left + 17, rectA.top + 5, rectA.left + 417, rectA.top + 105);
  CRect rectExpected = rect + CPoint(7, 0);
  pTop->CalcDragRect(pC, rectMoved, pt + CPoint(7, 0), nRow, rectLast, ptLast);
  EXPECT_EQ(rectMoved, rectExpected);

  // Past the rows (no bar there): the whole length of the side.
  nRow = -1;
  CRect rectBelow(rectA.left, rectA.bottom + 300, rectA.left + 100, rectA.bottom + 340);
  pTop->CalcDragRect(pC, rectBelow, rectBelow.CenterPoint(), nRow, rectLast, ptLast);
  EXPECT_EQ(nRow, -1);
  EXPECT_EQ(rectBelow.left, rectTop.left);
  EXPECT_EQ(rectBelow.right, rectTop.right);
}

// Pictures for people: run under a display with QUORVEL_SCREENSHOT_DIR (a Unix folder); the
// screen is taken with xwd. Bars on four sides with grippers and splitters, a floating frame,
// then a drag in progress (taken from inside the drag loop). Skipped otherwise.
TEST_F(DockFrameTest, Screenshots)
{
  const char* dir = getenv("QUORVEL_SCREENSHOT_DIR");
  if (dir == nullptr)
    GTEST_SKIP() << "no screenshot folder";
  m_pFrame->SetWindowPos(NULL, 20, 20, 900, 640, SWP_NOZORDER);
  SECStatusBar status;
  ASSERT_TRUE(status.Create(m_pFrame));
  const UINT ids[] = {0};
  status.SetIndicators(ids, 1);
  const DWORD dwEx = CBRS_EX_COOL | CBRS_EX_GRIPPER | CBRS_EX_GRIPPER_CLOSE |
                     CBRS_EX_GRIPPER_EXPAND | CBRS_EX_DRAWBORDERS;
  struct Place {
    UINT nID, nSide;
    int nCol;
    float fShare;
    const char* title;
  };
  const Place places[] = {{ID_BAR1, AFX_IDW_DOCKBAR_TOP, 0, 0.6f, "Top one"},
                          {ID_BAR2, AFX_IDW_DOCKBAR_TOP, 1, 0.4f, "Top two"},
                          {ID_BAR3, AFX_IDW_DOCKBAR_LEFT, 0, 1.0f, "Left"},
                          {ID_BAR4, AFX_IDW_DOCKBAR_RIGHT, 0, 1.0f, "Right"},
                          {ID_BAR4 + 1, AFX_IDW_DOCKBAR_BOTTOM, 0, 1.0f, "Bottom"}};
  std::vector<SECControlBar*> bars;
  for (const Place& p : places) {
    SECControlBar* pBar = NewBar(p.nID, CBRS_TOP | CBRS_SIZE_DYNAMIC, dwEx);
    pBar->SetWindowText(p.title);
    m_pFrame->DockControlBarEx(pBar, p.nSide, p.nCol, 0, p.fShare, 90);
    bars.push_back(pBar);
  }
  SECControlBar* pFloat = NewBar(ID_BAR4 + 2, CBRS_TOP | CBRS_SIZE_DYNAMIC, dwEx);
  pFloat->SetWindowText("Floating");
  // Beside the frame: without a window manager a popup over the frame does not show.
  m_pFrame->FloatControlBar(pFloat, CPoint(960, 120));
  m_pFrame->RecalcLayout();
  auto shoot = [&](const char* name) {
    std::string command = std::string("xwd -root -silent -out '") + dir + "/" + name + ".xwd'";
    EXPECT_EQ(0, system(command.c_str()));
  };
  auto settle = [&]() {
    m_pFrame->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    DWORD end = GetTickCount() + 800;
    MSG msg;
    while (GetTickCount() < end) {
      while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
      }
      Sleep(20);
    }
  };
  settle();
  shoot("dock_bars");

  // Drags of the floating bar, taken while the loop runs: beside the frame (the floating
  // outline), then over the top row (the docking outline).
  struct Probe : CWnd {
    std::function<void()> shoot;
    LRESULT WindowProc(UINT m, WPARAM w, LPARAM l) override
    {
      if (m == WM_USER + 7) {
        Sleep(300);
        shoot();
      }
      return CWnd::WindowProc(m, w, l);
    }
  } probe;
  ASSERT_TRUE(probe.CreateEx(0, "STATIC", "", WS_POPUP, CRect(0, 0, 1, 1), NULL, 0));
  CRect rectFloat, rectTop;
  pFloat->GetWindowRect(&rectFloat);
  bars[0]->GetWindowRect(&rectTop);
  const CPoint pt = rectFloat.CenterPoint();
  auto dragTo = [&](CPoint ptTo, const char* name) {
    probe.shoot = [&, name]() { shoot(name); };
    CPoint ptClient = ptTo;
    pFloat->ScreenToClient(&ptClient);
    pFloat->PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(ptClient.x, ptClient.y));
    probe.PostMessage(WM_USER + 7);
    pFloat->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    pFloat->m_pDockContext->StartDrag(pt);
  };
  dragTo(pt + CPoint(-60, 200), "dock_drag_float");
  dragTo(CPoint(rectTop.left + 60, rectTop.CenterPoint().y), "dock_drag");
  probe.DestroyWindow();
}

// ---------------------------------------------------------------------------------------------
// Frame bar and dockable frame

TEST_F(DockFrameTest, DialogTemplateCheck)
{
  struct Case {
    LPCTSTR name;
    BOOL bCheckStyle;
    int result;
  };
  const Case cases[] = {
      {MAKEINTRESOURCE(130), TRUE, 1},   // extended, child
      {MAKEINTRESOURCE(131), TRUE, 0},   // visible
      {MAKEINTRESOURCE(132), TRUE, 1},   // plain, child
      {MAKEINTRESOURCE(133), TRUE, 0},   // extended, not a child
      {MAKEINTRESOURCE(133), FALSE, 1},  // found, style not asked
      {MAKEINTRESOURCE(999), FALSE, 0},  // not there
      {"NAMEDBAR", TRUE, 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SECDialogBar::CheckDialogTemplate(c.name, c.bCheckStyle), c.result)
        << (IS_INTRESOURCE(c.name) ? (int)(UINT_PTR)c.name : -1);
}

TEST_F(DockFrameTest, DockableFrameInAFrameBar)
{
  SECFrameBar* pBar = new SECFrameBar;
  pBar->m_bAutoDelete = TRUE;
  ASSERT_TRUE(pBar->Create(m_pFrame, "Frame bar", WS_CHILD | WS_VISIBLE | CBRS_TOP, 0, ID_BAR1));
  pBar->EnableDocking(CBRS_ALIGN_ANY);
  ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, pBar->m_hWnd, NULL, NULL, NULL);
  EXPECT_EQ(pBar->GetChildFrame(), nullptr);  // children, but no frame among them

  SECDockableFrame* pView = new SECDockableFrame;
  ASSERT_TRUE(pView->Create(NULL, "View", WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_SYSMENU |
                                              FWS_PREFIXTITLE,
                            CRect(0, 0, 200, 100), pBar));
  EXPECT_EQ(pBar->GetChildFrame(), pView);
  EXPECT_TRUE(pView->GetExStyle() & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(pView->GetStyle() & FWS_PREFIXTITLE);
  m_pFrame->DockControlBarEx(pBar, AFX_IDW_DOCKBAR_TOP, 0, 0, 1.0f, 120);
  m_pFrame->RecalcLayout();
  EXPECT_FALSE(pView->IsFloating());

  // Caption controls: nothing before they are switched on; the caption list then stays.
  const UINT nSysCommandEx = ::RegisterWindowMessageA("Ravelle::WM_SYSCOMMANDEX");
  pView->SetCaptionControls(0);
  EXPECT_EQ(pView->GetMsgFilter()->GetChildCount(), 0);
  EXPECT_EQ(pView->SendMessage(nSysCommandEx, 0xC000, 0), 0);
  pView->SetCaptionControls(1);
  SECMsgFilter* pList = pView->GetMsgFilter()->FindFilter(SEC_FILTER_CAPTIONLIST, NULL, 0);
  ASSERT_NE(pList, nullptr);
  EXPECT_TRUE(pList->m_bEnabled);
  for (int i = 0; i < pList->GetChildCount(); i++)  // the system draws its own buttons;
    EXPECT_EQ(pList->GetChild(i)->m_bEnabled,        // only the window-state button is extra
              pList->GetChild(i)->m_nID == SEC_FILTER_STATEBUTTON);
  pView->SetCaptionControls(1 | 2);
  EXPECT_TRUE(pList->m_bEnabled);

  // A double click on the caption floats the bar, a second one docks it back.
  CRect rect;
  pView->GetWindowRect(&rect);
  CPoint ptCaption(rect.CenterPoint().x, rect.top + 4);
  pView->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(ptCaption.x, ptCaption.y));
  EXPECT_TRUE(pView->IsFloating());
  EXPECT_TRUE(pBar->GetParentFrame()->IsKindOf(RUNTIME_CLASS(SECMiniDockFrameWnd)));
  pView->GetWindowRect(&rect);
  ptCaption = CPoint(rect.CenterPoint().x, rect.top + 4);
  pView->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(ptCaption.x, ptCaption.y));
  EXPECT_FALSE(pView->IsFloating());
  m_pFrame->RecalcLayout();

  // Dragging the docked frame by its caption drags its bar.
  pView->GetWindowRect(&rect);
  ptCaption = CPoint(rect.CenterPoint().x, rect.top + 4);
  CRect rectFrame;
  m_pFrame->GetClientRect(&rectFrame);
  m_pFrame->ClientToScreen(&rectFrame);
  CPoint ptTo = rectFrame.CenterPoint();
  pBar->ScreenToClient(&ptTo);
  pBar->PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(ptTo.x, ptTo.y));
  pBar->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptTo.x, ptTo.y));
  pView->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(ptCaption.x, ptCaption.y));
  EXPECT_TRUE(pView->IsFloating());

  // Destroying the frame destroys its bar.
  HWND hBar = pBar->m_hWnd;
  pView->DestroyWindow();
  EXPECT_FALSE(::IsWindow(hBar));
}

TEST_F(DockFrameTest, ContextMenuFromTheKeyboardAndAllowDocking)
{
  SECControlBar* pA = NewBar(ID_BAR1, CBRS_TOP, CBRS_EX_STDCONTEXTMENU);
  m_pFrame->DockControlBarEx(pA, AFX_IDW_DOCKBAR_TOP, 0, 0, 1.0f, 60);
  m_pFrame->RecalcLayout();
  // The menu is ended from a timer; its texts are read while it is open.
  static CString s_items;
  s_items.Empty();
  struct Hook {
    static void CALLBACK End(HWND, UINT, UINT_PTR id, DWORD)
    {
      ::KillTimer(NULL, id);
      ::EndMenu();
    }
    static LRESULT CALLBACK Proc(int code, WPARAM w, LPARAM l)
    {
      const CWPSTRUCT* p = (const CWPSTRUCT*)l;
      if (code >= 0 && p->message == WM_INITMENUPOPUP) {
        HMENU h = (HMENU)p->wParam;
        for (int i = 0; i < ::GetMenuItemCount(h); i++) {
          char text[64] = "";
          ::GetMenuStringA(h, i, text, sizeof text, MF_BYPOSITION);
          s_items += CString(text) + "|";
        }
      }
      return ::CallNextHookEx(NULL, code, w, l);
    }
  };
  ::SetTimer(NULL, 0, 50, Hook::End);
  HHOOK hHook = ::SetWindowsHookExA(WH_CALLWNDPROC, Hook::Proc, NULL, ::GetCurrentThreadId());
  pA->SendMessage(WM_CONTEXTMENU, (WPARAM)pA->m_hWnd, MAKELPARAM(-1, -1));
  ::UnhookWindowsHookEx(hHook);
  CRect rect;
  pA->GetClientRect(&rect);
  CPoint ptWant(rect.Width() / 4, 10);
  pA->ClientToScreen(&ptWant);
  EXPECT_EQ(pA->m_ptLastMenu, ptWant);
  EXPECT_STREQ(s_items, "Allow Docking|Hide|");

  // "Allow Docking" off floats the docked bar and allows no side; on again restores them.
  pA->SendMessage(WM_COMMAND, ID_SEC_ALLOWDOCKING);
  EXPECT_TRUE(pA->IsFloating());
  EXPECT_EQ(pA->m_dwDockStyle & CBRS_ALIGN_ANY, 0u);
  pA->SendMessage(WM_COMMAND, ID_SEC_ALLOWDOCKING);
  EXPECT_EQ(pA->m_dwDockStyle & CBRS_ALIGN_ANY, (DWORD)CBRS_ALIGN_ANY);
  pA->m_pDockContext->ToggleDocking();
  EXPECT_FALSE(pA->IsFloating());
}
