// Control bars and docking on a plain frame, run headless: the rows of the four sides,
// dragging (posted mouse messages), floating frames, delayed showing, the dock state in
// the profile and in an archive, and the bars' command, idle and fly-by routing.
#include "afxext.h"
#include "gtest_wine.h"
#include "win_dock_test.h"
#include <string>
#include <vector>

namespace {

// The windows of these tests live on a desktop of the program's own.
const bool g_onOwnDesktop = RunOnOwnDesktop("QuorvelWinDockTests");

std::string g_log;

enum {
  ID_BAR_A = 0xE820, ID_BAR_B, ID_BAR_C, ID_BAR_L, ID_BAR_R, ID_BAR_BOTTOM, ID_BAR_F, ID_BAR_H
};

// A bar of fixed size: its length along its side and its thickness across it.
class CTestBar : public CControlBar {
 public:
  CTestBar(int nLength, int nThick, COLORREF clr = RGB(200, 200, 200))
      : m_nLength(nLength), m_nThick(nThick), m_clr(clr)
  {
    m_bAutoDelete = TRUE;
  }
  int m_nLength, m_nThick;
  COLORREF m_clr;

  CSize CalcFixedLayout(BOOL, BOOL bHorz) override
  {
    return bHorz ? CSize(m_nLength, m_nThick) : CSize(m_nThick, m_nLength);
  }
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override
  {
    UpdateDialogControls(pTarget, bDisableIfNoHndler);
  }
  void DoPaint(CDC* pDC) override
  {
    CRect rect;
    GetClientRect(&rect);
    ::SetBkColor(pDC->GetSafeHdc(), m_clr);
    ::ExtTextOutA(pDC->GetSafeHdc(), 0, 0, ETO_OPAQUE, &rect, NULL, 0, NULL);
    CControlBar::DoPaint(pDC);
    CString strTitle;
    GetWindowText(strTitle);
    ::SetBkMode(pDC->GetSafeHdc(), TRANSPARENT);
    ::DrawTextA(pDC->GetSafeHdc(), strTitle, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
};

class CDockFrame : public CFrameWnd {
 public:
  void OnClick() { g_log += "frame-click "; }
  void OnNotifyClick(NMHDR*, LRESULT* pResult)
  {
    g_log += "frame-notify ";
    *pResult = 5;
  }
  void OnUpdateEnabled(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CDockFrame, CFrameWnd)
  ON_COMMAND(ID_DOCK_CLICK, OnClick)
  ON_NOTIFY(NM_CLICK, ID_DOCK_CLICK, OnNotifyClick)
  ON_UPDATE_COMMAND_UI(ID_DOCK_ENABLED, OnUpdateEnabled)
END_MESSAGE_MAP()

class CDockApp : public CWinApp {
 public:
  CDockApp() : CWinApp("Dock Tester") {}
};
CDockApp theApp;

int CountFrames()
{
  int n = 0;
  for (CFrameWnd* p = CFrameWnd::GetFirstFrameWnd(); p != NULL; p = p->m_pNextFrameWnd)
    n++;
  return n;
}

class DockTest : public testing::Test {
 protected:
  CDockFrame* m_pFrame = nullptr;
  HWND m_hPane = NULL;

  void SetUp() override
  {
    g_log.clear();
    static char cmdLine[] = "";
    ASSERT_TRUE(AfxWinInit(::GetModuleHandleA(NULL), NULL, cmdLine, SW_SHOWNORMAL));
    if (theApp.m_pszRegistryKey == NULL)
      theApp.SetRegistryKey("Quorvel Tests");
    m_pFrame = new CDockFrame;
    if (!m_pFrame->Create(NULL, "Docking", WS_OVERLAPPEDWINDOW, CRect(0, 0, 640, 480))) {
      m_pFrame = nullptr;  // gone with its window
      FAIL() << "no frame";
    }
    theApp.m_pMainWnd = m_pFrame;
    m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
    m_hPane = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                m_pFrame->m_hWnd, (HMENU)AFX_IDW_PANE_FIRST, NULL, NULL);
    m_pFrame->ShowWindow(SW_SHOWNORMAL);
  }
  void TearDown() override
  {
    if (m_pFrame != nullptr)
      m_pFrame->DestroyWindow();  // the frame, its bars and its floating frames
    theApp.m_pMainWnd = NULL;
    EXPECT_EQ(CountFrames(), 0);
  }

  CTestBar* NewBar(UINT nID, int nLength, int nThick, LPCTSTR lpszTitle, DWORD dwAlign = CBRS_TOP)
  {
    CTestBar* pBar = new CTestBar(nLength, nThick);
    EXPECT_TRUE(pBar->CWnd::Create(NULL, lpszTitle, WS_CHILD | WS_VISIBLE | dwAlign,
                                   CRect(0, 0, 0, 0), m_pFrame, nID));
    pBar->EnableDocking(CBRS_ALIGN_ANY);
    return pBar;
  }
  CDockBar* Side(UINT nID) { return DYNAMIC_DOWNCAST(CDockBar, m_pFrame->GetControlBar(nID)); }
  // A window's rectangle in another window's client coordinates.
  static CRect RectIn(HWND hWnd, HWND hParent)
  {
    CRect rect;
    ::GetWindowRect(hWnd, &rect);
    ::MapWindowPoints(NULL, hParent, (LPPOINT)&rect, 2);
    return rect;
  }
  CRect PaneRect() { return RectIn(m_hPane, m_pFrame->m_hWnd); }
  CRect Client()
  {
    CRect rect;
    m_pFrame->GetClientRect(&rect);
    return rect;
  }
  // A drag of a bar as the mouse does it: the moves and the release wait in the queue for
  // the loop the press starts.
  static void Drag(CWnd* pBar, CPoint ptGrab, CPoint ptScreen, const std::vector<UINT>& keys = {})
  {
    CPoint pt = ptScreen;
    pBar->ScreenToClient(&pt);
    for (UINT vk : keys)
      pBar->PostMessage(WM_KEYDOWN, vk, 0);
    pBar->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    pBar->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    pBar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptGrab.x, ptGrab.y));
  }
  // The standard arrangement: A and C in the first top row, B in the second; L left, R right,
  // a bar at the bottom.
  struct Layout {
    CTestBar *a, *b, *c, *l, *r, *bottom;
  };
  Layout DockFourSides()
  {
    Layout lay;
    lay.a = NewBar(ID_BAR_A, 100, 30, "A");
    lay.b = NewBar(ID_BAR_B, 120, 25, "B");
    lay.c = NewBar(ID_BAR_C, 80, 30, "C");
    lay.l = NewBar(ID_BAR_L, 150, 40, "L", CBRS_LEFT);
    lay.r = NewBar(ID_BAR_R, 100, 50, "R", CBRS_RIGHT);
    lay.bottom = NewBar(ID_BAR_BOTTOM, 200, 20, "Bottom", CBRS_BOTTOM);
    m_pFrame->DockControlBar(lay.a, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->DockControlBar(lay.b, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->RecalcLayout();
    // C goes into A's row, 200 pixels along.
    CRect rectC(200, 5, 280, 35);
    Side(AFX_IDW_DOCKBAR_TOP)->ClientToScreen(&rectC);
    m_pFrame->DockControlBar(lay.c, AFX_IDW_DOCKBAR_TOP, &rectC);
    m_pFrame->DockControlBar(lay.l, AFX_IDW_DOCKBAR_LEFT);
    m_pFrame->DockControlBar(lay.r, AFX_IDW_DOCKBAR_RIGHT);
    m_pFrame->DockControlBar(lay.bottom, AFX_IDW_DOCKBAR_BOTTOM);
    m_pFrame->RecalcLayout();
    return lay;
  }
};

TEST_F(DockTest, BarsOnFourSidesTakeTheirRowsFromTheClientArea)
{
  Layout lay = DockFourSides();
  CDockBar* pTop = Side(AFX_IDW_DOCKBAR_TOP);
  CRect client = Client();
  // Each side is as thick as its rows, plus the dock bar's border line towards the pane.
  EXPECT_EQ(PaneRect(), CRect(40 + 2, 30 + 25 + 2, client.right - 50 - 2, client.bottom - 20 - 2));
  EXPECT_EQ(RectIn(lay.a->m_hWnd, pTop->m_hWnd), CRect(0, 0, 100, 30));
  EXPECT_EQ(RectIn(lay.c->m_hWnd, pTop->m_hWnd), CRect(200, 0, 280, 30));  // keeps its place
  EXPECT_EQ(RectIn(lay.b->m_hWnd, pTop->m_hWnd), CRect(0, 30, 120, 55));
  EXPECT_EQ(RectIn(lay.l->m_hWnd, Side(AFX_IDW_DOCKBAR_LEFT)->m_hWnd), CRect(0, 0, 40, 150));
  // The rows as stored: A and C, then B; bars know their side and style.
  ASSERT_EQ(pTop->m_arrBars.GetSize(), 6);
  EXPECT_EQ(pTop->m_arrBars[1], lay.a);
  EXPECT_EQ(pTop->m_arrBars[2], lay.c);
  EXPECT_EQ(pTop->m_arrBars[3], nullptr);
  EXPECT_EQ(pTop->m_arrBars[4], lay.b);
  EXPECT_EQ(lay.l->m_pDockBar, Side(AFX_IDW_DOCKBAR_LEFT));
  EXPECT_EQ(lay.l->GetBarStyle() & CBRS_ALIGN_ANY, (DWORD)CBRS_ALIGN_LEFT);
  EXPECT_FALSE(lay.l->IsFloating());
  EXPECT_EQ(lay.r->GetDockingFrame(), m_pFrame);

  // A bar at the end of a row that is too short is pulled back inside it.
  m_pFrame->SetWindowPos(NULL, 0, 0, 250, 480, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  CRect rectC = RectIn(lay.c->m_hWnd, pTop->m_hWnd);
  EXPECT_EQ(rectC.right, Client().Width());
  EXPECT_EQ(rectC.Width(), 80);

  // A frame that no side accepts does not take the bar.
  CTestBar* pLoose = NewBar(ID_BAR_F, 50, 20, "Loose");
  pLoose->EnableDocking(0);
  m_pFrame->DockControlBar(pLoose, (UINT)0);
  EXPECT_EQ(pLoose->m_pDockBar, nullptr);
}

TEST_F(DockTest, ADraggedBarFloatsAndADoubleClickDocksItBackInItsRow)
{
  Layout lay = DockFourSides();
  CDockBar* pTop = Side(AFX_IDW_DOCKBAR_TOP);
  int nPosA = pTop->FindBar(lay.a);
  ASSERT_EQ(nPosA, 1);
  int nFrames = CountFrames();

  // Dragged into the middle of the client area: no side is under it, it floats.
  CRect rectPane;
  ::GetWindowRect(m_hPane, &rectPane);
  CPoint ptDrop = rectPane.CenterPoint();
  Drag(lay.a, CPoint(10, 10), ptDrop);
  ASSERT_TRUE(lay.a->IsFloating());
  CMiniDockFrameWnd* pMini = DYNAMIC_DOWNCAST(CMiniDockFrameWnd, lay.a->GetParentFrame());
  ASSERT_NE(pMini, nullptr);
  EXPECT_EQ(CountFrames(), nFrames + 1);
  EXPECT_TRUE(pMini->IsWindowVisible());
  EXPECT_TRUE(lay.a->GetBarStyle() & CBRS_FLOATING);
  CRect rectA;
  lay.a->GetWindowRect(&rectA);
  EXPECT_EQ(rectA.Size(), CSize(100, 30));  // the frame fits the bar
  EXPECT_EQ(rectA.TopLeft(), CPoint(ptDrop.x - 10, ptDrop.y - 10));  // where the mouse let it go
  CRect rectMini;
  pMini->GetWindowRect(&rectMini);
  EXPECT_TRUE(rectMini.PtInRect(ptDrop));
  CString strCaption;
  pMini->GetWindowText(strCaption);
  EXPECT_STREQ(strCaption, "A");
  // Its place in the top row is kept by a place-holder; C stays where it was.
  EXPECT_EQ(pTop->m_arrBars[nPosA], (void*)(UINT_PTR)ID_BAR_A);
  EXPECT_EQ(pTop->FindBar(lay.c), nPosA + 1);
  EXPECT_EQ(lay.a->GetDockingFrame(), pMini);
  EXPECT_EQ(m_pFrame->GetControlBar(ID_BAR_A), lay.a);  // floating bars are found too

  // A double-click docks it back: it takes its place-holder, in front of C.
  lay.a->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(10, 10));
  EXPECT_FALSE(lay.a->IsFloating());
  EXPECT_EQ(pTop->FindBar(lay.a), nPosA);
  EXPECT_EQ(pTop->FindBar((CControlBar*)(UINT_PTR)ID_BAR_A), -1);
  EXPECT_EQ(CountFrames(), nFrames);  // the empty floating frame is gone
  m_pFrame->RecalcLayout();
  EXPECT_EQ(RectIn(lay.a->m_hWnd, pTop->m_hWnd), CRect(0, 0, 100, 30));

  // A second double-click floats it where it floated before.
  lay.a->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(10, 10));
  ASSERT_TRUE(lay.a->IsFloating());
  lay.a->GetParentFrame()->GetWindowRect(&rectMini);
  EXPECT_TRUE(rectMini.PtInRect(ptDrop));
}

TEST_F(DockTest, DraggingDocksOnASideUnlessCtrlIsHeldAndEscapeCancels)
{
  Layout lay = DockFourSides();
  CRect rectPane;
  ::GetWindowRect(m_hPane, &rectPane);
  m_pFrame->FloatControlBar(lay.b, rectPane.CenterPoint() + CPoint(-50, 0));
  ASSERT_TRUE(lay.b->IsFloating());
  m_pFrame->RecalcLayout();

  // Escape: the drag ends and the bar stays.
  CRect rectBefore;
  lay.b->GetWindowRect(&rectBefore);
  CRect rectLeft;
  Side(AFX_IDW_DOCKBAR_LEFT)->GetWindowRect(&rectLeft);
  CPoint ptLeftSide(rectLeft.left + 5, rectLeft.top + 120);
  Drag(lay.b, CPoint(5, 5), ptLeftSide, {VK_ESCAPE});
  MSG msg;
  while (::PeekMessageA(&msg, lay.b->m_hWnd, 0, 0, PM_REMOVE))
    ;  // the move and release the cancelled drag left behind
  CRect rectAfter;
  lay.b->GetWindowRect(&rectAfter);
  EXPECT_EQ(rectAfter, rectBefore);
  EXPECT_TRUE(lay.b->IsFloating());

  // Ctrl held: over the left side it still floats, only its frame moves.
  Drag(lay.b, CPoint(5, 5), ptLeftSide, {VK_CONTROL});
  EXPECT_TRUE(lay.b->IsFloating());
  lay.b->GetWindowRect(&rectAfter);
  EXPECT_NE(rectAfter, rectBefore);

  // Without it, the left side takes the bar, standing up.
  lay.b->GetWindowRect(&rectBefore);
  Drag(lay.b, CPoint(5, 5), ptLeftSide);
  ASSERT_FALSE(lay.b->IsFloating());
  EXPECT_EQ(lay.b->m_pDockBar, Side(AFX_IDW_DOCKBAR_LEFT));
  m_pFrame->RecalcLayout();
  CRect rectB = RectIn(lay.b->m_hWnd, Side(AFX_IDW_DOCKBAR_LEFT)->m_hWnd);
  EXPECT_EQ(rectB.Size(), CSize(25, 120));
  EXPECT_EQ(lay.b->m_pDockContext->m_uMRUDockID, (UINT)AFX_IDW_DOCKBAR_LEFT);
}

TEST_F(DockTest, DelayedShowingTakesEffectAtTheNextIdleTime)
{
  Layout lay = DockFourSides();
  CRect client = Client();
  m_pFrame->ShowControlBar(lay.b, FALSE, TRUE);
  EXPECT_TRUE(lay.b->GetStyle() & WS_VISIBLE);  // not yet
  EXPECT_FALSE(lay.b->IsVisible());             // but counted as hidden
  EXPECT_EQ(PaneRect().top, 30 + 25 + 2);
  theApp.OnIdle(0);
  EXPECT_FALSE(lay.b->GetStyle() & WS_VISIBLE);
  EXPECT_EQ(PaneRect().top, 30 + 2);  // the second row is gone

  m_pFrame->ShowControlBar(lay.b, TRUE, TRUE);
  EXPECT_TRUE(lay.b->IsVisible());
  theApp.OnIdle(0);
  EXPECT_TRUE(lay.b->GetStyle() & WS_VISIBLE);
  EXPECT_EQ(PaneRect().top, 30 + 25 + 2);

  // A floating bar's frame follows its only bar, hidden and shown without activation.
  m_pFrame->FloatControlBar(lay.r, CPoint(300, 200));
  CFrameWnd* pMini = lay.r->GetParentFrame();
  ASSERT_TRUE(pMini != NULL && pMini != m_pFrame);
  m_pFrame->RecalcLayout();
  EXPECT_EQ(PaneRect().right, client.right);  // the right side is empty now
  m_pFrame->ShowControlBar(lay.r, FALSE, TRUE);
  theApp.OnIdle(0);
  EXPECT_FALSE(pMini->IsWindowVisible());
  m_pFrame->ShowControlBar(lay.r, TRUE, FALSE);
  EXPECT_TRUE(pMini->IsWindowVisible());
  EXPECT_NE(::GetActiveWindow(), pMini->m_hWnd);

  // The View menu's bar commands reach a floating bar too.
  EXPECT_TRUE(m_pFrame->OnBarCheck(ID_BAR_R));
  EXPECT_FALSE(lay.r->IsWindowVisible());
  EXPECT_FALSE(pMini->IsWindowVisible());
  // Closing the floating frame hides its bars, and the frame with them.
  m_pFrame->ShowControlBar(lay.r, TRUE, FALSE);
  pMini->SendMessage(WM_CLOSE);
  EXPECT_FALSE(lay.r->IsWindowVisible());
  EXPECT_FALSE(pMini->IsWindowVisible());
  EXPECT_TRUE(::IsWindow(pMini->m_hWnd));
}

TEST_F(DockTest, FloatingFramesOfferMoveAndHideAndSizeByTheirStyle)
{
  CTestBar* pBar = NewBar(ID_BAR_F, 100, 30, "Float");
  m_pFrame->FloatControlBar(pBar, CPoint(200, 200));
  CMiniDockFrameWnd* pMini = DYNAMIC_DOWNCAST(CMiniDockFrameWnd, pBar->GetParentFrame());
  ASSERT_NE(pMini, nullptr);
  // The system menu: no size, minimise, maximise or restore; Close reads "&Hide".
  HMENU hSys = ::GetSystemMenu(pMini->m_hWnd, FALSE);
  ASSERT_NE(hSys, (HMENU)NULL);
  EXPECT_EQ(::GetMenuState(hSys, SC_SIZE, MF_BYCOMMAND), (UINT)-1);
  EXPECT_EQ(::GetMenuState(hSys, SC_MAXIMIZE, MF_BYCOMMAND), (UINT)-1);
  EXPECT_EQ(::GetMenuState(hSys, SC_MINIMIZE, MF_BYCOMMAND), (UINT)-1);
  EXPECT_EQ(::GetMenuState(hSys, SC_RESTORE, MF_BYCOMMAND), (UINT)-1);
  EXPECT_NE(::GetMenuState(hSys, SC_MOVE, MF_BYCOMMAND), (UINT)-1);
  char text[32] = "";
  ::GetMenuStringA(hSys, SC_CLOSE, text, sizeof(text), MF_BYCOMMAND);
  EXPECT_STREQ(text, "&Hide");
  // A fixed-size bar's frame moves by its borders.
  EXPECT_TRUE(pMini->GetStyle() & MFS_MOVEFRAME);

  // Its borders are those CalcBorders tells.
  CRect rectWindow, rectClient;
  pMini->GetWindowRect(&rectWindow);
  pMini->GetClientRect(&rectClient);
  pMini->ClientToScreen(&rectClient);
  CRect rectCalc = rectClient;
  CMiniFrameWnd::CalcBorders(&rectCalc, pMini->GetStyle(), 0);
  EXPECT_EQ(rectCalc, rectWindow);

  // A floating frame fits a bar narrower than a caption's usual minimum.
  CTestBar* pNarrow = NewBar(ID_BAR_H, 150, 20, "N");
  m_pFrame->FloatControlBar(pNarrow, CPoint(100, 100), CBRS_ALIGN_LEFT);
  CRect rectNarrow;
  pNarrow->GetParentFrame()->GetClientRect(&rectNarrow);
  EXPECT_EQ(rectNarrow.Size(), CSize(20, 150));

  // Sizing areas by style: corner and edge hits.
  struct Case {
    DWORD dwStyle;
    LRESULT corner, edge;
  } cases[] = {
      {MFS_MOVEFRAME | MFS_4THICKFRAME, HTCAPTION, HTCAPTION},
      {MFS_4THICKFRAME, HTBOTTOM, HTRIGHT},
      {MFS_THICKFRAME, HTBOTTOMRIGHT, HTRIGHT},
  };
  for (const Case& c : cases) {
    CMiniFrameWnd* pProbe = new CMiniFrameWnd;
    ASSERT_TRUE(pProbe->CreateEx(0, NULL, "probe", WS_POPUP | WS_CAPTION | WS_VISIBLE | c.dwStyle,
                                 CRect(50, 50, 250, 200), m_pFrame));
    CRect rect;
    pProbe->GetWindowRect(&rect);
    LRESULT corner = pProbe->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(rect.right - 1, rect.bottom - 1));
    LRESULT edge = pProbe->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(rect.right - 1, rect.CenterPoint().y));
    EXPECT_EQ(corner, c.corner) << std::hex << c.dwStyle;
    EXPECT_EQ(edge, c.edge) << std::hex << c.dwStyle;
    pProbe->DestroyWindow();
  }
}

// A bar that sizes itself: it keeps the length it is given.
class CSizingBar : public CTestBar {
 public:
  CSizingBar() : CTestBar(100, 30) {}
  CSize CalcDynamicLayout(int nLength, DWORD nMode) override
  {
    if ((nMode & LM_COMMIT) && nLength > 0) {
      if (nMode & LM_LENGTHY)
        m_nThick = nLength;
      else
        m_nLength = nLength;
    }
    return CalcFixedLayout(FALSE, (nMode & (LM_HORZ | LM_HORZDOCK)) != 0);
  }
};

TEST_F(DockTest, AFloatingBarThatSizesItselfIsResizedFromItsFrameBorder)
{
  CSizingBar* pBar = new CSizingBar;
  ASSERT_TRUE(pBar->CWnd::Create(NULL, "Sizing", WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC,
                                 CRect(0, 0, 0, 0), m_pFrame, ID_BAR_F));
  pBar->EnableDocking(CBRS_ALIGN_ANY);
  m_pFrame->FloatControlBar(pBar, CPoint(150, 150));
  CMiniDockFrameWnd* pMini = DYNAMIC_DOWNCAST(CMiniDockFrameWnd, pBar->GetParentFrame());
  ASSERT_NE(pMini, nullptr);
  EXPECT_FALSE(pMini->GetStyle() & MFS_MOVEFRAME);  // its borders size it
  CRect rectBar;
  pBar->GetWindowRect(&rectBar);
  CRect rectMini;
  pMini->GetWindowRect(&rectMini);
  CPoint ptEdge(rectMini.right - 1, rectMini.CenterPoint().y);
  ASSERT_EQ(pMini->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ptEdge.x, ptEdge.y)), HTRIGHT);

  // The right edge dragged 40 pixels out: the bar takes the width.
  CPoint ptTo = ptEdge + CPoint(40, 0);
  pBar->ScreenToClient(&ptTo);
  pBar->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptTo.x, ptTo.y));
  pBar->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptTo.x, ptTo.y));
  pMini->SendMessage(WM_NCLBUTTONDOWN, HTRIGHT, MAKELPARAM(ptEdge.x, ptEdge.y));
  EXPECT_EQ(pBar->m_nLength, 140);
  CRect rectAfter;
  pBar->GetWindowRect(&rectAfter);
  EXPECT_EQ(rectAfter.Size(), CSize(140, 30));
  EXPECT_EQ(rectAfter.TopLeft(), rectBar.TopLeft());  // the left edge stays
  EXPECT_EQ(pBar->GetParentFrame(), pMini);           // the same frame, resized
}

// Bars made from a dialog template, and a rebar, take their place like any bar.
class CDialogTestBar : public CTestBar {
 public:
  CDialogTestBar() : CTestBar(0, 0) { m_bAutoDelete = FALSE; }
};

TEST_F(DockTest, DialogTemplatesAndRebarsMakeBars)
{
  CDialogTestBar* pBar = new CDialogTestBar;
  pBar->m_dwStyle = CBRS_TOP;
  ASSERT_TRUE(pBar->CreateDlg(MAKEINTRESOURCE(IDD_DOCK_DIALOGBAR), m_pFrame));
  EXPECT_NE(::GetDlgItem(pBar->m_hWnd, IDC_DOCK_DIALOGBUTTON), (HWND)NULL);
  EXPECT_EQ(pBar->GetParent(), m_pFrame);
  EXPECT_FALSE(pBar->SetOccDialogInfo(NULL));  // nothing kept for a plain window
  pBar->DestroyWindow();
  EXPECT_FALSE(pBar->CreateDlg(MAKEINTRESOURCE(999), m_pFrame));  // no such template
  delete pBar;

  CReBar* pReBar = new CReBar;
  ASSERT_TRUE(pReBar->Create(m_pFrame));
  pReBar->m_bAutoDelete = TRUE;
  HWND hBand = ::CreateWindowExA(0, "STATIC", "band", WS_CHILD | WS_VISIBLE, 0, 0, 120, 24,
                                 pReBar->m_hWnd, NULL, NULL, NULL);
  ASSERT_TRUE(pReBar->AddBar(CWnd::FromHandle(hBand)));
  CSize size = pReBar->CalcFixedLayout(TRUE, TRUE);
  EXPECT_EQ(size.cx, 32767);
  EXPECT_GE(size.cy, 24);
  m_pFrame->RecalcLayout();
  EXPECT_EQ(PaneRect().top, size.cy);
  EXPECT_EQ(m_pFrame->GetControlBar(AFX_IDW_REBAR), pReBar);
}

// ---------------------------------------------------------------------------------------------
// Dock state

void ClearProfile(const char* name)
{
  CString s;
  s.Format("%s-Summary", name);
  theApp.WriteProfileString(s, NULL, NULL);
  for (int i = 0; i < 16; i++) {
    s.Format("%s-Bar%d", name, i);
    theApp.WriteProfileString(s, NULL, NULL);
  }
}

// The section of the record with that bar id, or -1.
int SectionOf(const char* name, UINT nID)
{
  CString s;
  for (int i = 0; i < 16; i++) {
    s.Format("%s-Bar%d", name, i);
    if (theApp.GetProfileInt(s, "BarID", 0) == nID)
      return i;
  }
  return -1;
}

UINT ProfileInt(const char* name, int nSection, const char* key, int nDefault = -12345)
{
  CString s;
  s.Format("%s-Bar%d", name, nSection);
  return theApp.GetProfileInt(s, key, nDefault);
}

TEST_F(DockTest, BarStateRoundTripsThroughTheProfile)
{
  Layout lay = DockFourSides();
  CTestBar* pF = NewBar(ID_BAR_F, 90, 30, "F");
  m_pFrame->FloatControlBar(pF, CPoint(320, 260));
  m_pFrame->ShowControlBar(lay.r, FALSE, FALSE);
  m_pFrame->RecalcLayout();
  CRect rectFloat;
  pF->GetParent()->GetWindowRect(&rectFloat);  // the floating dock bar: the frame's client
  CRect rectPane = PaneRect();

  ClearProfile("DockTest");
  // What an earlier save left in a section is not read back as the new record's.
  theApp.WriteProfileInt("DockTest-Bar0", "Visible", 0);
  theApp.WriteProfileInt("DockTest-Bar0", "Floating", 1);
  m_pFrame->SaveBarState("DockTest");
  // Records: the four sides (the right one keeps the hidden R), the six bars, F and its
  // floating dock bar.
  EXPECT_EQ(theApp.GetProfileInt("DockTest-Summary", "Bars", 0), 12u);
  EXPECT_EQ(theApp.GetProfileInt("DockTest-Summary", "ScreenCX", 0),
            (UINT)::GetSystemMetrics(SM_CXSCREEN));
  int nTop = SectionOf("DockTest", AFX_IDW_DOCKBAR_TOP);
  ASSERT_EQ(nTop, 0);  // the first bar the frame made
  EXPECT_EQ(ProfileInt("DockTest", nTop, "Bars"), 6u);
  EXPECT_EQ(ProfileInt("DockTest", nTop, "Bar#1"), (UINT)ID_BAR_A);
  EXPECT_EQ(ProfileInt("DockTest", nTop, "Bar#3"), 0u);
  EXPECT_EQ(ProfileInt("DockTest", nTop, "XPos"), (UINT)-12345);  // (-1,-1) is not written
  EXPECT_EQ(ProfileInt("DockTest", nTop, "Visible"), (UINT)-12345);
  EXPECT_EQ(ProfileInt("DockTest", nTop, "Floating"), (UINT)-12345);
  int nR = SectionOf("DockTest", ID_BAR_R);
  ASSERT_GE(nR, 0);
  EXPECT_EQ(ProfileInt("DockTest", nR, "Visible"), 0u);
  EXPECT_EQ(ProfileInt("DockTest", nR, "Docking"), 1u);
  EXPECT_EQ(ProfileInt("DockTest", nR, "MRUDockID"), (UINT)AFX_IDW_DOCKBAR_RIGHT);
  int nFloat = SectionOf("DockTest", AFX_IDW_DOCKBAR_FLOAT);
  ASSERT_GE(nFloat, 0);
  EXPECT_EQ(ProfileInt("DockTest", nFloat, "Floating"), 1u);
  EXPECT_EQ(ProfileInt("DockTest", nFloat, "Horz"), 1u);
  EXPECT_EQ((int)ProfileInt("DockTest", nFloat, "XPos"), rectFloat.left);
  EXPECT_EQ((int)ProfileInt("DockTest", nFloat, "YPos"), rectFloat.top);
  EXPECT_EQ(ProfileInt("DockTest", nFloat, "Bar#1"), (UINT)ID_BAR_F);

  // Everything moved about, then the saved state back.
  m_pFrame->DockControlBar(pF, AFX_IDW_DOCKBAR_BOTTOM);
  m_pFrame->FloatControlBar(lay.a, CPoint(100, 300));
  m_pFrame->ShowControlBar(lay.r, TRUE, FALSE);
  m_pFrame->DockControlBar(lay.b, AFX_IDW_DOCKBAR_LEFT);
  m_pFrame->RecalcLayout();
  m_pFrame->LoadBarState("DockTest");
  EXPECT_EQ(PaneRect(), rectPane);
  CDockBar* pTop = Side(AFX_IDW_DOCKBAR_TOP);
  EXPECT_EQ(pTop->FindBar(lay.a), 1);
  EXPECT_EQ(pTop->FindBar(lay.c), 2);
  EXPECT_EQ(pTop->FindBar(lay.b), 4);
  EXPECT_EQ(RectIn(lay.c->m_hWnd, pTop->m_hWnd), CRect(200, 0, 280, 30));
  EXPECT_FALSE(lay.r->IsWindowVisible());
  ASSERT_TRUE(pF->IsFloating());
  CRect rectFloatAgain;
  pF->GetParent()->GetWindowRect(&rectFloatAgain);
  EXPECT_EQ(rectFloatAgain, rectFloat);
  EXPECT_TRUE(pF->GetParentFrame()->IsWindowVisible());
  EXPECT_EQ(CountFrames(), 2);  // the old floating frame of A is gone

  // An empty side in its usual state writes no section.
  m_pFrame->DockControlBar(lay.r, AFX_IDW_DOCKBAR_LEFT);
  m_pFrame->DockControlBar(pF, AFX_IDW_DOCKBAR_LEFT);  // the floating frame goes
  CDockBar* pRight = Side(AFX_IDW_DOCKBAR_RIGHT);
  pRight->RemovePlaceHolder(lay.r);
  ClearProfile("DockTest");
  m_pFrame->SaveBarState("DockTest");
  EXPECT_EQ(SectionOf("DockTest", AFX_IDW_DOCKBAR_RIGHT), -1);
  EXPECT_EQ(theApp.GetProfileInt("DockTest-Summary", "Bars", 0), 10u);
}

TEST_F(DockTest, PositionsSavedOnAnotherScreenSizeAreScaled)
{
  CTestBar* pF = NewBar(ID_BAR_F, 90, 30, "F");
  CSize screen(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  struct Case {
    const char* name;
    int cx, cy;  // stored screen size (0: none)
    CPoint expected;
  } cases[] = {
      {"Scaled", screen.cx * 2, screen.cy * 2, CPoint(200, 150)},
      {"Unscaled", 0, 0, CPoint(400, 300)},
      {"SameScreen", screen.cx, screen.cy, CPoint(400, 300)},
  };
  for (const Case& c : cases) {
    ClearProfile(c.name);
    CString summary = CString(c.name) + "-Summary", bar0 = CString(c.name) + "-Bar0";
    theApp.WriteProfileInt(summary, "Bars", 4);  // only one section follows
    if (c.cx != 0) {
      theApp.WriteProfileInt(summary, "ScreenCX", c.cx);
      theApp.WriteProfileInt(summary, "ScreenCY", c.cy);
    }
    theApp.WriteProfileInt(bar0, "BarID", AFX_IDW_DOCKBAR_FLOAT);
    theApp.WriteProfileInt(bar0, "Floating", 1);
    theApp.WriteProfileInt(bar0, "Horz", 1);
    theApp.WriteProfileInt(bar0, "XPos", 400);
    theApp.WriteProfileInt(bar0, "YPos", 300);
    theApp.WriteProfileInt(bar0, "Bars", 3);
    theApp.WriteProfileInt(bar0, "Bar#0", 0);
    theApp.WriteProfileInt(bar0, "Bar#1", ID_BAR_F);
    theApp.WriteProfileInt(bar0, "Bar#2", 0);
    CDockState state;
    state.LoadState(c.name);
    EXPECT_EQ(state.m_arrBarInfo.GetSize(), 1) << c.name;
    m_pFrame->SetDockState(state);
    ASSERT_TRUE(pF->IsFloating()) << c.name;
    CRect rect;
    pF->GetParent()->GetWindowRect(&rect);
    EXPECT_EQ(rect.TopLeft(), c.expected) << c.name;
  }
}

TEST_F(DockTest, DockStateRoundTripsThroughAnArchiveAndRefusesFalseCounts)
{
  Layout lay = DockFourSides();
  m_pFrame->FloatControlBar(lay.r, CPoint(300, 250));
  m_pFrame->ShowControlBar(lay.b, FALSE, FALSE);
  CDockState saved;
  m_pFrame->GetDockState(saved);
  ASSERT_GT(saved.m_arrBarInfo.GetSize(), 0);

  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    saved.Serialize(ar);
  }
  file.SeekToBegin();
  CDockState loaded;
  {
    CArchive ar(&file, CArchive::load);
    loaded.Serialize(ar);
  }
  EXPECT_EQ(loaded.m_dwVersion, 2u);
  ASSERT_EQ(loaded.m_arrBarInfo.GetSize(), saved.m_arrBarInfo.GetSize());
  for (INT_PTR i = 0; i < saved.m_arrBarInfo.GetSize(); i++) {
    CControlBarInfo* a = (CControlBarInfo*)saved.m_arrBarInfo[i];
    CControlBarInfo* b = (CControlBarInfo*)loaded.m_arrBarInfo[i];
    EXPECT_EQ(a->m_nBarID, b->m_nBarID);
    EXPECT_EQ(a->m_bVisible, b->m_bVisible);
    EXPECT_EQ(a->m_bFloating, b->m_bFloating);
    EXPECT_EQ(a->m_bHorz, b->m_bHorz);
    EXPECT_EQ(a->m_pointPos, b->m_pointPos);
    EXPECT_EQ(a->m_nMRUWidth, b->m_nMRUWidth);
    EXPECT_EQ(a->m_bDocking, b->m_bDocking);
    EXPECT_EQ(a->m_uMRUDockID, b->m_uMRUDockID);
    EXPECT_EQ(a->m_rectMRUDockPos, b->m_rectMRUDockPos);
    EXPECT_EQ(a->m_dwMRUFloatStyle, b->m_dwMRUFloatStyle);
    EXPECT_EQ(a->m_ptMRUFloatPos, b->m_ptMRUFloatPos);
    ASSERT_EQ(a->m_arrBarID.GetSize(), b->m_arrBarID.GetSize());
    for (INT_PTR j = 0; j < a->m_arrBarID.GetSize(); j++)
      EXPECT_EQ(a->m_arrBarID[j], b->m_arrBarID[j]);
  }
  // The loaded state puts the bars back.
  m_pFrame->ShowControlBar(lay.b, TRUE, FALSE);
  m_pFrame->DockControlBar(lay.r, AFX_IDW_DOCKBAR_LEFT);
  m_pFrame->SetDockState(loaded);
  EXPECT_TRUE(lay.r->IsFloating());
  EXPECT_FALSE(lay.b->IsWindowVisible());

  // Counts larger than the bytes there are refused before anything is made of them.
  const BYTE hostile[][14] = {
      {2, 0, 0, 0, 0, 4, 0, 0, 0, 3, 0, 0, 0xFF, 0xFF},  // 65535 records
      {1, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0},        // a record cut short
  };
  for (const auto& bytes : hostile) {
    CMemFile in(const_cast<BYTE*>(bytes), sizeof(bytes));
    CArchive ar(&in, CArchive::load);
    CDockState state;
    bool bThrown = false;
    try {
      state.Serialize(ar);
    } catch (CArchiveException* e) {
      bThrown = true;
      e->Delete();
    }
    EXPECT_TRUE(bThrown);
  }
}

// ---------------------------------------------------------------------------------------------
// Commands, idle updates and fly-by prompts

TEST_F(DockTest, BarChildrenReachTheFrameAndAreUpdatedAtIdleTime)
{
  CTestBar* pBar = NewBar(ID_BAR_A, 300, 30, "Commands", CBRS_TOP | CBRS_FLYBY);
  m_pFrame->DockControlBar(pBar, AFX_IDW_DOCKBAR_TOP);
  m_pFrame->RecalcLayout();
  HWND hClick = ::CreateWindowExA(0, "BUTTON", "click", WS_CHILD | WS_VISIBLE, 0, 0, 60, 20,
                                  pBar->m_hWnd, (HMENU)ID_DOCK_CLICK, NULL, NULL);
  HWND hEnabled = ::CreateWindowExA(0, "BUTTON", "on", WS_CHILD | WS_VISIBLE | WS_DISABLED, 70,
                                    0, 60, 20, pBar->m_hWnd, (HMENU)ID_DOCK_ENABLED, NULL, NULL);
  HWND hNoHandler = ::CreateWindowExA(0, "BUTTON", "off", WS_CHILD | WS_VISIBLE, 140, 0, 60, 20,
                                      pBar->m_hWnd, (HMENU)ID_DOCK_NOHANDLER, NULL, NULL);
  HWND hPrompted = ::CreateWindowExA(0, "BUTTON", "?", WS_CHILD | WS_VISIBLE, 210, 0, 30, 20,
                                     pBar->m_hWnd, (HMENU)ID_DOCK_PROMPTED, NULL, NULL);

  // A child's command and notification go on to the frame.
  ::SendMessageA(pBar->m_hWnd, WM_COMMAND, MAKEWPARAM(ID_DOCK_CLICK, BN_CLICKED), (LPARAM)hClick);
  NMHDR nm = {hClick, ID_DOCK_CLICK, (UINT)NM_CLICK};
  LRESULT lr = ::SendMessageA(pBar->m_hWnd, WM_NOTIFY, ID_DOCK_CLICK, (LPARAM)&nm);
  EXPECT_EQ(g_log, "frame-click frame-notify ");
  EXPECT_EQ(lr, 5);
  // A tool tip asking a bar for its text gets the tip of the control's command.
  TOOLTIPTEXTA ttt;
  memset(&ttt, 0, sizeof(ttt));
  ttt.hdr.hwndFrom = hClick;
  ttt.hdr.idFrom = (UINT_PTR)hPrompted;
  ttt.hdr.code = TTN_NEEDTEXTA;
  ttt.uFlags = TTF_IDISHWND;
  ::SendMessageA(pBar->m_hWnd, WM_NOTIFY, 0, (LPARAM)&ttt);
  EXPECT_STREQ(ttt.szText, "Prompt");

  // Idle time: the frame's handler enables its child; a command nobody handles is disabled.
  theApp.OnIdle(0);
  EXPECT_TRUE(::IsWindowEnabled(hEnabled));
  EXPECT_FALSE(::IsWindowEnabled(hNoHandler));

  // Fly-by: the prompt of the control under the mouse, after a short wait; "Ready" when
  // the mouse leaves the controls.
  CWnd status;
  ASSERT_TRUE(status.Create("STATIC", "", WS_CHILD, CRect(0, 0, 10, 10), m_pFrame,
                            AFX_IDW_STATUS_BAR));
  MSG msg = {hPrompted, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)};
  EXPECT_FALSE(pBar->PreTranslateMessage(&msg));
  pBar->SendMessage(WM_TIMER, AFX_IDT_FLYBY_WAIT);
  CString strText;
  status.GetWindowText(strText);
  EXPECT_STREQ(strText, "Shows the prompt");
  MSG off = {pBar->m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(280, 25)};
  pBar->PreTranslateMessage(&off);
  status.GetWindowText(strText);
  EXPECT_STREQ(strText, "Ready");
  status.DestroyWindow();
}

}  // namespace
