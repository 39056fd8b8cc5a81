// The toolkit's MDI frame and child frame in a small multiple-document program: the
// dock-side cycle, the float cascade, the gradient fill, the filter tables, activation by
// the mouse, menus following the active child, the docked active child and its commands.
#include "gtest_wine.h"
#include "SECCaptionFilters.h"
#include "SECControlBar.h"
#include "SECDockContext.h"
#include "SECMenuBar.h"
#include "SECDockableFrame.h"
#include "SECMDIFrameWnd.h"
#include "SECMiniDockFrameWnd.h"
#include "SECFrameWnd.h"
#include "SECResource.h"
#include "SECToolBarManager.h"

#include <stdlib.h>
#include <string>
#include <vector>

#define IDR_MAINFRAME 400
#define IDR_DOCA 401
#define IDR_DOCB 402
#define ID_TEST_DOCKED 410

namespace {

class CTestApp : public CWinApp {
 public:
  CTestApp() : CWinApp("SEC MDI Tester") {}
};
CTestApp theApp;

class CTestDoc : public CDocument {
  DECLARE_DYNCREATE(CTestDoc)
};
IMPLEMENT_DYNCREATE(CTestDoc, CDocument)

class CTestView : public CView {
  DECLARE_DYNCREATE(CTestView)
 public:
  int activations = 0;  // times the view was told it is the active one
  void OnDraw(CDC*) override {}
  void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override
  {
    if (bActivate)
      ++activations;
    CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
  }
};
IMPLEMENT_DYNCREATE(CTestView, CView)

// A frame docked inside the main frame that handles one command of its own.
class CDockedFrame : public CFrameWnd {
 public:
  int commands = 0;
  void OnDockedCommand() { ++commands; }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CDockedFrame, CFrameWnd)
  ON_COMMAND(ID_TEST_DOCKED, OnDockedCommand)
END_MESSAGE_MAP()

struct RecordingCmdUI : CCmdUI {
  int enabled = -1;
  void Enable(BOOL bOn) override { enabled = bOn ? 1 : 0; }
};

// Pictures for people: run under a display with QUORVEL_SCREENSHOT_DIR (a Unix folder); the
// screen is taken with xwd after the windows have painted. FALSE (the test skips) otherwise.
bool ScreenshotDir() { return getenv("QUORVEL_SCREENSHOT_DIR") != nullptr; }
void Snap(CWnd* pTop, const char* name)
{
  pTop->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  DWORD end = ::GetTickCount() + 800;
  while (::GetTickCount() < end) {
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
      ::DispatchMessageA(&msg);
    ::Sleep(20);
  }
  std::string command = std::string("xwd -root -silent -out '") +
                        getenv("QUORVEL_SCREENSHOT_DIR") + "/" + name + ".xwd'";
  EXPECT_EQ(0, system(command.c_str()));
}

// A toolkit bar docked at the top of a frame that docking is enabled for; NULL on failure.
template <class Frame>
SECControlBar* NewDockedBar(Frame* pFrame, UINT nID)
{
  pFrame->EnableDocking(CBRS_ALIGN_ANY);
  SECControlBar* pBar = new SECControlBar;
  pBar->m_bAutoDelete = TRUE;
  if (!pBar->Create(pFrame, "Tools", WS_CHILD | WS_VISIBLE | CBRS_TOP, 0, nID)) {
    delete pBar;
    return NULL;
  }
  pBar->EnableDocking(CBRS_ALIGN_ANY);
  pFrame->DockControlBar(pBar, AFX_IDW_DOCKBAR_TOP);
  return pBar;
}

class MDIFrame : public ::testing::Test {
 protected:
  void SetUp() override
  {
    pMain = new SECMDIFrameWnd;
    ASSERT_TRUE(pMain->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW));
    pMain->SetWindowPos(NULL, 0, 0, 640, 480, SWP_NOZORDER);
    pMain->ShowWindow(SW_SHOW);
    theApp.m_pMainWnd = pMain;
    pTemplateA = new CMultiDocTemplate(IDR_DOCA, RUNTIME_CLASS(CTestDoc),
                                       RUNTIME_CLASS(SECMDIChildWnd), RUNTIME_CLASS(CTestView));
    pTemplateB = new CMultiDocTemplate(IDR_DOCB, RUNTIME_CLASS(CTestDoc),
                                       RUNTIME_CLASS(SECMDIChildWnd), RUNTIME_CLASS(CTestView));
    theApp.AddDocTemplate(pTemplateA);
    theApp.AddDocTemplate(pTemplateB);
  }
  void TearDown() override
  {
    theApp.CloseAllDocuments(TRUE);
    theApp.m_pMainWnd = NULL;
    if (::IsWindow(pMain->m_hWnd))
      pMain->DestroyWindow();  // deletes itself
    // The templates go now: menus destroyed by the application's static destruction at exit
    // would make the program end with status 0 whatever the tests said.
    CPtrList& templates = theApp.m_pDocManager->m_templateList;
    while (!templates.IsEmpty())
      delete (CDocTemplate*)templates.RemoveHead();
  }
  SECMDIChildWnd* Open(CMultiDocTemplate* pTemplate)
  {
    CDocument* pDoc = pTemplate->OpenDocumentFile(NULL);
    if (pDoc == NULL)
      return nullptr;
    POSITION pos = pDoc->GetFirstViewPosition();
    return DYNAMIC_DOWNCAST(SECMDIChildWnd, pDoc->GetNextView(pos)->GetParentFrame());
  }
  CView* ViewOf(SECMDIChildWnd* pChild) { return (CView*)pChild->GetDescendantWindow(AFX_IDW_PANE_FIRST); }

  SECMDIFrameWnd* pMain = nullptr;
  CMultiDocTemplate* pTemplateA = nullptr;
  CMultiDocTemplate* pTemplateB = nullptr;
};

TEST(MDIFrameAlone, NineDefaultDockPositionsCycleBottomLeftRight)
{
  SECMDIFrameWnd frame;
  const UINT B = AFX_IDW_DOCKBAR_BOTTOM, L = AFX_IDW_DOCKBAR_LEFT, R = AFX_IDW_DOCKBAR_RIGHT;
  struct Case {
    UINT id;
    int pos[3];
  } cases[] = {{B, {0, 1, 6}}, {L, {1, 1, 7}}, {R, {0, 1, 6}}, {B, {0, 1, 2}}, {L, {0, 1, 3}},
               {R, {0, 1, 2}}, {B, {0, 1, 2}}, {L, {1, 1, 7}}, {R, {0, 1, 6}}};
  int n = 0;
  for (auto& c : cases) {
    UINT id = 0;
    SECDockPosition pos = {9, 9, 9};
    SECDockSize size = {0, 0};
    frame.GetNextDockPosition(id, pos, size);
    EXPECT_EQ(id, c.id) << "call " << n;
    EXPECT_EQ(pos.nRow, c.pos[0]) << "call " << n;
    EXPECT_EQ(pos.nCol, c.pos[1]) << "call " << n;
    EXPECT_EQ(pos.nFlags, c.pos[2]) << "call " << n;
    EXPECT_EQ(size.fPctWidth, 1.0f);
    EXPECT_EQ(size.nLength, 150);
    ++n;
  }
}

TEST(MDIFrameAlone, GradientFillBandsAndEdges)
{
  CClientDC screen(NULL);
  CDC dc;
  dc.CreateCompatibleDC(&screen);
  CBitmap bmp;
  bmp.CreateCompatibleBitmap(&screen, 130, 4);
  CBitmap* pOld = dc.SelectObject(&bmp);
  dc.FillSolidRect(0, 0, 130, 4, RGB(1, 2, 3));
  // An empty rectangle is not filled (no band width to divide by).
  SECMDIFrameWnd::GradientFill(&dc, CRect(5, 0, 5, 4), 60, RGB(0, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(dc.GetPixel(5, 1), RGB(1, 2, 3));
  // 120 pixels in 60 bands of 2: red rises to its target, blue falls at once.
  SECMDIFrameWnd::GradientFill(&dc, CRect(0, 0, 120, 4), 60, RGB(0, 0, 200), RGB(240, 0, 100));
  EXPECT_EQ(dc.GetPixel(0, 1), RGB(0, 0, 100));
  EXPECT_EQ(dc.GetPixel(1, 1), RGB(0, 0, 100));
  EXPECT_EQ(dc.GetPixel(2, 1), RGB(4, 0, 100));
  EXPECT_EQ(dc.GetPixel(119, 1), RGB(236, 0, 100));
  EXPECT_EQ(dc.GetPixel(120, 1), RGB(1, 2, 3));
  for (int x = 2; x < 120; x++)
    EXPECT_GE(GetRValue(dc.GetPixel(x, 1)), GetRValue(dc.GetPixel(x - 1, 1)));
  // More bands than pixels: one band per pixel, the last reaching the right edge.
  SECMDIFrameWnd::GradientFill(&dc, CRect(0, 0, 10, 4), 60, RGB(0, 0, 0), RGB(100, 0, 0));
  EXPECT_EQ(dc.GetPixel(9, 1), RGB(90, 0, 0));
  dc.SelectObject(pOld);
}

TEST_F(MDIFrame, FloatCascadeWrapsWithinTheClient)
{
  CRect client;
  ::GetClientRect(pMain->m_hWndMDIClient, &client);
  int x = 30, y = 30;
  for (int i = 0; i < 30; i++) {
    EXPECT_EQ(pMain->GetMDIFloatPosition(CPoint(-1, -1)), CPoint(x, std::min(y, client.Height() - 30)))
        << i;
    x += 20;
    y += 23;
    if (x > client.Width() - 30)
      x = 30;
    if (y > client.Height() - 30)
      y = 30;
  }
  // A given screen point is taken to client coordinates and clamped.
  CPoint origin(0, 0);
  ::ClientToScreen(pMain->m_hWndMDIClient, &origin);
  EXPECT_EQ(pMain->GetMDIFloatPosition(origin + CPoint(40, 50)), CPoint(40, 50));
  EXPECT_EQ(pMain->GetMDIFloatPosition(origin + CPoint(5000, 5000)),
            CPoint(client.Width(), client.Height() - 30));
}

TEST_F(MDIFrame, ABarFloatsInAnMDIChildAndClosingItHidesTheBar)
{
  SECControlBar* pBar = NewDockedBar(pMain, 0xE880);
  ASSERT_NE(pBar, nullptr);

  // Default place: the first cascade position, in a child of the main window's client.
  pMain->FloatControlBarInMDIChild(pBar, CPoint(-1, -1));
  SECControlBarMDIChildWnd* pChild =
      DYNAMIC_DOWNCAST(SECControlBarMDIChildWnd, pBar->GetParent()->GetParent());
  ASSERT_NE(pChild, nullptr);
  EXPECT_EQ(pChild->GetParent()->m_hWnd, pMain->m_hWndMDIClient);
  EXPECT_EQ(pBar->m_pDockSite, pMain);
  EXPECT_FALSE(pChild->GetExStyle() & WS_EX_CLIENTEDGE);
  EXPECT_TRUE(pChild->IsWindowVisible());
  CRect rc;
  pChild->GetWindowRect(&rc);
  CPoint origin(0, 0);
  ::ClientToScreen(pMain->m_hWndMDIClient, &origin);
  EXPECT_EQ(rc.TopLeft() - origin, CSize(30, 30));
  // Its window position is remembered as the bar's floating place.
  EXPECT_EQ(pBar->m_pDockContext->m_ptMRUFloatPos, rc.TopLeft());

  // Floated again with the same alignment: the same child only moves.
  pMain->FloatControlBarInMDIChild(pBar, origin + CPoint(100, 80));
  EXPECT_EQ(pBar->GetParent()->GetParent(), pChild);
  pChild->GetWindowRect(&rc);
  EXPECT_EQ(rc.TopLeft() - origin, CSize(100, 80));

  // Closing the child hides the bar and keeps the child.
  pChild->SendMessage(WM_CLOSE);
  ASSERT_TRUE(::IsWindow(pChild->m_hWnd));
  EXPECT_FALSE(pBar->IsWindowVisible());
  EXPECT_FALSE(pChild->IsWindowVisible());

  // Docked again, the bar leaves the child, which goes with its dock bar.
  HWND hChild = pChild->m_hWnd;
  CControlBar* pChildDock = pChild->GetDockBar();
  pMain->ShowControlBar(pBar, TRUE, FALSE);
  pMain->DockControlBar(pBar, AFX_IDW_DOCKBAR_LEFT);
  EXPECT_EQ(pBar->GetParent(), pMain->GetControlBar(AFX_IDW_DOCKBAR_LEFT));
  EXPECT_TRUE(pBar->IsWindowVisible());
  EXPECT_FALSE(::IsWindow(hChild));
  EXPECT_EQ(pMain->m_listControlBars.Find(pChildDock), (POSITION)NULL);
}

TEST_F(MDIFrame, TheBarContextMenuOffersFloatingInTheMainWindow)
{
  SECControlBar* pBar = NewDockedBar(pMain, 0xE885);
  ASSERT_NE(pBar, nullptr);
  auto menuFor = [&](DWORD dwExStyle, UINT* pAllow, UINT* pFloat, int* pCount) {
    pBar->m_dwExStyle = dwExStyle;
    HMENU hMenu = ::CreatePopupMenu();
    ::AppendMenuA(hMenu, MF_STRING, ID_SEC_ALLOWDOCKING, "Allow Docking");
    pMain->SendMessage(0x38FF, (WPARAM)pBar, (LPARAM)hMenu);
    *pCount = ::GetMenuItemCount(hMenu);
    *pAllow = ::GetMenuState(hMenu, ID_SEC_ALLOWDOCKING, MF_BYCOMMAND);
    *pFloat = ::GetMenuState(hMenu, ID_SEC_MDIFLOAT, MF_BYCOMMAND);
    char text[64] = "";
    ::GetMenuStringA(hMenu, ID_SEC_MDIFLOAT, text, sizeof text, MF_BYCOMMAND);
    ::DestroyMenu(hMenu);
    return std::string(text);
  };
  UINT allow = 0, floating = 0;
  int count = 0;
  // Docked, not allowed to float in the main window: nothing added.
  menuFor(0, &allow, &floating, &count);
  EXPECT_EQ(count, 1);
  EXPECT_FALSE(allow & MF_GRAYED);
  // Allowed: a separator and the item, unchecked.
  EXPECT_EQ(menuFor(CBRS_EX_ALLOW_MDI_FLOAT, &allow, &floating, &count), "Float In Main Window");
  EXPECT_EQ(count, 3);
  EXPECT_FALSE(floating & MF_CHECKED);
  // Floating in the main window: checked, and docking greyed.
  pMain->FloatControlBarInMDIChild(pBar, CPoint(-1, -1));
  menuFor(CBRS_EX_ALLOW_MDI_FLOAT, &allow, &floating, &count);
  EXPECT_TRUE(floating & MF_CHECKED);
  EXPECT_TRUE(allow & MF_GRAYED);
}

TEST_F(MDIFrame, AnEmbeddedFrameFloatsWithTheMainLookAndComesBack)
{
  CFrameWnd* pOuter = new CFrameWnd;
  ASSERT_TRUE(pOuter->Create(NULL, "Outer", WS_POPUP | WS_BORDER | WS_CAPTION | WS_SYSMENU,
                             CRect(50, 50, 350, 250)));
  CFrameWnd* pInner = new CFrameWnd;
  ASSERT_TRUE(pInner->Create(NULL, "Inner", WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 80), pOuter));
  const DWORD dwInner = pInner->GetStyle(), dwInnerEx = pInner->GetExStyle();

  pMain->SetEmbeddedFrameFloating(pInner, TRUE);
  pMain->SetEmbeddedFrameFloating(pInner, TRUE);  // floated again: the docked styles stay kept
  EXPECT_EQ((DWORD)(LONG_PTR)::GetPropA(pInner->m_hWnd, "SECDockableFrame PreFloat Docked Style"), dwInner);
  EXPECT_TRUE(pInner->GetStyle() & WS_CAPTION);
  EXPECT_TRUE(pInner->GetStyle() & WS_THICKFRAME);  // the main window's
  EXPECT_TRUE(pInner->GetStyle() & WS_CHILD);       // kept
  EXPECT_FALSE(pOuter->GetStyle() & WS_CAPTION);    // the main window's bits taken away
  EXPECT_TRUE(pOuter->GetStyle() & WS_CLIPCHILDREN);
  pMain->FitEmbeddedFrame(pInner);
  CRect outer, inner;
  pOuter->GetWindowRect(&outer);
  pInner->GetWindowRect(&inner);
  EXPECT_EQ(inner.Size(), outer.Size());

  pMain->SetEmbeddedFrameFloating(pInner, FALSE);
  EXPECT_EQ(pInner->GetStyle(), dwInner);
  EXPECT_EQ(pInner->GetExStyle(), dwInnerEx);
  EXPECT_EQ(::GetPropA(pInner->m_hWnd, "SECDockableFrame PreFloat Docked Style"), (HANDLE)NULL);
  pMain->SetEmbeddedFrameFloating(pInner, FALSE);  // nothing kept: unchanged
  EXPECT_EQ(pInner->GetStyle(), dwInner);
  pOuter->DestroyWindow();
}

// Leaving the main window, moving a lone floating bar's frame, and docking back.
TEST_F(MDIFrame, ABarLeavesTheMainWindowMovesAndDocksBack)
{
  SECControlBar* pBar = NewDockedBar(pMain, 0xE882);
  ASSERT_NE(pBar, nullptr);
  CPoint origin(0, 0);
  ::ClientToScreen(pMain->m_hWndMDIClient, &origin);
  pMain->FloatControlBarInMDIChild(pBar, origin + CPoint(40, 40));
  CWnd* pChild = pBar->GetParentFrame();
  ASSERT_TRUE(pChild != nullptr && pChild->IsKindOf(RUNTIME_CLASS(SECControlBarMDIChildWnd)));

  // Floated with a screen point while in the main window: only its child moves, to the
  // client place under that point.
  pMain->FloatControlBar(pBar, origin + CPoint(70, 60), CBRS_ALIGN_TOP);
  EXPECT_EQ(pBar->GetParentFrame(), pChild);
  CRect rc;
  pChild->GetWindowRect(&rc);
  EXPECT_EQ(rc.TopLeft(), origin + CPoint(70, 60));

  // Floated again: a mini frame of its own, shown at the point; the child goes.
  HWND hChild = pChild->m_hWnd;
  pMain->ReFloatControlBar(pBar, CPoint(300, 200), CBRS_ALIGN_TOP);
  CFrameWnd* pMini = pBar->GetParentFrame();
  ASSERT_TRUE(pMini != nullptr && pMini->IsKindOf(RUNTIME_CLASS(SECMiniDockFrameWnd)));
  EXPECT_FALSE(::IsWindow(hChild));
  EXPECT_TRUE(pMini->IsWindowVisible());
  pMini->GetWindowRect(&rc);
  EXPECT_EQ(rc.TopLeft(), CPoint(300, 200));
  EXPECT_TRUE(pMini->GetStyle() & WS_THICKFRAME);

  // Alone in it: floating once more only moves that frame; another alignment makes a new one.
  pMain->FloatControlBar(pBar, CPoint(320, 210), CBRS_ALIGN_TOP);
  EXPECT_EQ(pBar->GetParentFrame(), pMini);
  pMini->GetWindowRect(&rc);
  EXPECT_EQ(rc.TopLeft(), CPoint(320, 210));
  pMain->FloatControlBar(pBar, CPoint(330, 220), CBRS_ALIGN_LEFT);
  EXPECT_NE(pBar->GetParentFrame(), pMini);

  // Back without a dock bar named: to the top, where its place was kept.
  pMain->ReDockControlBar(pBar, NULL);
  EXPECT_EQ(pBar->GetParent(), pMain->GetControlBar(AFX_IDW_DOCKBAR_TOP));
}

// The bar's own gestures reach the MDI frame: a double-click floats and docks it again; a drag
// ending over no side moves a bar floating in the main window within it.
TEST_F(MDIFrame, TheDockContextGoesThroughTheMDIFrame)
{
  SECControlBar* pBar = NewDockedBar(pMain, 0xE883);
  ASSERT_NE(pBar, nullptr);
  CDockContext* pContext = pBar->m_pDockContext;
  ASSERT_NE(pContext, nullptr);
  pContext->ToggleDocking();
  EXPECT_TRUE(pBar->IsFloating());
  EXPECT_TRUE(pBar->GetParentFrame()->IsKindOf(RUNTIME_CLASS(SECMiniDockFrameWnd)));
  pContext->ToggleDocking();
  EXPECT_EQ(pBar->GetParent(), pMain->GetControlBar(AFX_IDW_DOCKBAR_TOP));

  CPoint origin(0, 0);
  ::ClientToScreen(pMain->m_hWndMDIClient, &origin);
  pMain->FloatControlBarInMDIChild(pBar, origin + CPoint(40, 40));
  CWnd* pChild = pBar->GetParentFrame();
  pContext->m_dwOverDockStyle = 0;
  pContext->m_dwStyle = CBRS_ALIGN_TOP | CBRS_ORIENT_HORZ;
  pContext->m_bFlip = FALSE;
  pContext->m_rectFrameDragHorz = CRect(origin + CPoint(90, 80), CSize(100, 40));
  pContext->m_bDragging = TRUE;
  pContext->EndDrag();
  EXPECT_EQ(pBar->GetParentFrame(), pChild);
  CRect rc;
  pChild->GetWindowRect(&rc);
  EXPECT_EQ(rc.TopLeft(), origin + CPoint(90, 80));
}

// "Float In Main Window" from the bar's menu: a docked bar goes into an MDI child and back to
// its dock place; a floating one goes into a child and back to a mini frame.
TEST_F(MDIFrame, FloatInMainWindowTogglesAndComesBackWhereItWas)
{
  SECControlBar* pBar = NewDockedBar(pMain, 0xE886);
  ASSERT_NE(pBar, nullptr);
  pBar->m_dwExStyle |= CBRS_EX_ALLOW_MDI_FLOAT;
  pBar->m_fPctWidth = 0.4f;
  SECDockContext* pContext = static_cast<SECDockContext*>(pBar->m_pDockContext);
  EXPECT_EQ(pBar->GetDockKind(), 0);

  pBar->SendMessage(WM_COMMAND, ID_SEC_MDIFLOAT, 0);
  ASSERT_TRUE(SECMDIFrameWnd::IsFloatingInMDIChild(pBar));
  EXPECT_NE(pBar->GetDockKind(), 0);
  EXPECT_FALSE(pContext->m_bPrevFloating);
  EXPECT_EQ(pMain->m_nBusy, 0);
  EXPECT_NEAR(pBar->m_fSavedPctWidth, 0.4f, 1e-5);
  pBar->SendMessage(WM_COMMAND, ID_SEC_MDIFLOAT, 0);
  EXPECT_EQ(pBar->GetParent(), pMain->GetControlBar(AFX_IDW_DOCKBAR_TOP));

  pMain->FloatControlBar(pBar, CPoint(200, 150));
  ASSERT_TRUE(pBar->IsFloating());
  pBar->SendMessage(WM_COMMAND, ID_SEC_MDIFLOAT, 0);
  ASSERT_TRUE(SECMDIFrameWnd::IsFloatingInMDIChild(pBar));
  EXPECT_TRUE(pContext->m_bPrevFloating);
  pBar->SendMessage(WM_COMMAND, ID_SEC_MDIFLOAT, 0);
  EXPECT_FALSE(SECMDIFrameWnd::IsFloatingInMDIChild(pBar));
  EXPECT_TRUE(pBar->GetParentFrame()->IsKindOf(RUNTIME_CLASS(SECMiniDockFrameWnd)));
}

TEST_F(MDIFrame, ABarFloatingInTheMainWindowIsSavedAndRestored)
{
  SECControlBar* pBar = NewDockedBar(pMain, 0xE881);
  ASSERT_NE(pBar, nullptr);
  CPoint origin(0, 0);
  ::ClientToScreen(pMain->m_hWndMDIClient, &origin);
  pMain->FloatControlBarInMDIChild(pBar, origin + CPoint(120, 90));
  CWnd* pChild = pBar->GetParent()->GetParent();
  pMain->RecalcLayout();  // the top dock bar emptied: the client grows upwards
  CRect saved;
  pChild->GetWindowRect(&saved);
  ::MapWindowPoints(NULL, pMain->m_hWndMDIClient, (LPPOINT)&saved, 2);
  EXPECT_EQ(saved.TopLeft(), CPoint(120, 90));
  pMain->SaveBarState("SECMDIBars");

  // Docked meanwhile (the child goes); loading floats it in a new child at the same place.
  pMain->DockControlBar(pBar, AFX_IDW_DOCKBAR_BOTTOM);
  ASSERT_EQ(pBar->GetParent(), pMain->GetControlBar(AFX_IDW_DOCKBAR_BOTTOM));
  pMain->LoadBarState("SECMDIBars");
  SECControlBarMDIChildWnd* pNew =
      DYNAMIC_DOWNCAST(SECControlBarMDIChildWnd, pBar->GetParent()->GetParent());
  ASSERT_NE(pNew, nullptr);
  EXPECT_EQ(pNew->GetParent()->m_hWnd, pMain->m_hWndMDIClient);
  CRect restored;
  pMain->RecalcLayout();
  pNew->GetWindowRect(&restored);
  ::MapWindowPoints(NULL, pMain->m_hWndMDIClient, (LPPOINT)&restored, 2);
  EXPECT_EQ(restored, saved);
  EXPECT_TRUE(pNew->IsWindowVisible());
  EXPECT_TRUE(pBar->IsWindowVisible());
  // No mini frame was made for it.
  EXPECT_EQ(pMain->m_listControlBars.GetCount(), 6);  // four sides, the child's dock bar, the bar
}

TEST(MDIFrameAlone, TheMenuPlugInIsMadeAtCreation)
{
  SECMenuBar menuBar;  // no window needed: the plug-in only keeps it
  struct Case {
    SECMenuBar* pMenuBar;
    BOOL bBmpMenus;
    CRuntimeClass* pExpected;  // NULL: no plug-in
    BOOL bCaptionList;
  } cases[] = {{NULL, FALSE, NULL, TRUE},
               {NULL, TRUE, RUNTIME_CLASS(SECBmpMenuPlugIn), TRUE},
               {&menuBar, FALSE, RUNTIME_CLASS(SECMenuBarFeature), FALSE},
               {&menuBar, TRUE, RUNTIME_CLASS(SECMenuBarFeature), FALSE}};
  int n = 0;
  for (const Case& c : cases) {
    SECMDIFrameWnd* pFrame = new SECMDIFrameWnd;
    pFrame->SetMenuBar(c.pMenuBar);
    pFrame->EnableBitmapMenus(c.bBmpMenus);
    ASSERT_TRUE(pFrame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW)) << n;
    SECWndPlugIn* pPlugIn = pFrame->GetMenuPlugIn();
    if (c.pExpected == NULL) {
      EXPECT_EQ(pPlugIn, nullptr) << n;
    } else {
      ASSERT_NE(pPlugIn, nullptr) << n;
      EXPECT_EQ(pPlugIn->GetRuntimeClass(), c.pExpected) << n;
      EXPECT_TRUE(pPlugIn->IsPlugged()) << n;
      EXPECT_EQ(pFrame->GetBmpMenuPlugIn(), pPlugIn) << n;  // the feature is a bitmap plug-in
    }
    // With a menu bar the caption list of maximized children is off.
    SECMsgFilter* pList = pFrame->GetMsgFilter()->FindFilter(SEC_FILTER_CAPTIONLIST, NULL, -1);
    EXPECT_EQ(pList != NULL && pList->m_bEnabled, c.bCaptionList) << n;
    // Closing takes the plug-in away before the window goes.
    HWND hWnd = pFrame->m_hWnd;
    pFrame->SendMessage(WM_CLOSE);
    EXPECT_FALSE(::IsWindow(hWnd)) << n;
    ++n;
  }
}

// With a menu bar the window has no menu; each child's template names the bar's menu while
// the child is active, and the frame's own menu comes back when none is.
TEST_F(MDIFrame, MenuBarMenusFollowTheActiveChild)
{
  SECMenuBar menuBar;
  SECMDIFrameWnd* pFrame = new SECMDIFrameWnd;
  pFrame->SetMenuBar(&menuBar);
  ASSERT_TRUE(pFrame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW));
  theApp.m_pMainWnd = pFrame;
  EXPECT_EQ(::GetMenu(pFrame->m_hWnd), (HMENU)NULL);
  ASSERT_NE(pFrame->GetOwnMenu(), (HMENU)NULL);
  EXPECT_EQ(pFrame->GetMenuForId(IDR_MAINFRAME), pFrame->GetOwnMenu());
  EXPECT_EQ(pFrame->GetCurrentMenuId(), (UINT)IDR_MAINFRAME);

  CMultiDocTemplate* pA = new CMultiDocTemplate(IDR_DOCA, RUNTIME_CLASS(CTestDoc),
                                                RUNTIME_CLASS(SECMDIChildWnd), RUNTIME_CLASS(CTestView));
  CMultiDocTemplate* pB = new CMultiDocTemplate(IDR_DOCB, RUNTIME_CLASS(CTestDoc),
                                                RUNTIME_CLASS(SECMDIChildWnd), RUNTIME_CLASS(CTestView));
  theApp.AddDocTemplate(pA);
  theApp.AddDocTemplate(pB);
  SECMDIChildWnd* pChildA = Open(pA);
  ASSERT_NE(pChildA, nullptr);
  EXPECT_EQ(pChildA->GetMenuBarMenuId(), (UINT)IDR_DOCA);
  EXPECT_EQ(pFrame->GetCurrentMenuId(), (UINT)IDR_DOCA);
  SECMDIChildWnd* pChildB = Open(pB);
  ASSERT_NE(pChildB, nullptr);
  EXPECT_EQ(pFrame->GetCurrentMenuId(), (UINT)IDR_DOCB);
  pFrame->MDIActivate(pChildA);
  EXPECT_EQ(pFrame->GetCurrentMenuId(), (UINT)IDR_DOCA);
  // The last child gone: the frame's own menu.
  theApp.CloseAllDocuments(TRUE);
  EXPECT_EQ(pFrame->MDIGetActive(), nullptr);
  EXPECT_EQ(pFrame->GetCurrentMenuId(), (UINT)IDR_MAINFRAME);
  theApp.m_pMainWnd = pMain;
  pFrame->DestroyWindow();
}

// A new default menu shows at once when no child is active, else once the last child goes.
TEST_F(MDIFrame, TheDefaultMenuIdSwitchesTheBarWhenNoChildIsActive)
{
  SECMenuBar menuBar;
  SECMDIFrameWnd* pFrame = new SECMDIFrameWnd;
  pFrame->SetMenuBar(&menuBar);
  ASSERT_TRUE(pFrame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW));
  theApp.m_pMainWnd = pFrame;
  pFrame->SetDefaultMenuId(IDR_DOCB);
  EXPECT_EQ(pFrame->GetCurrentMenuId(), (UINT)IDR_DOCB);
  SECMDIChildWnd* pChild = Open(pTemplateA);
  ASSERT_NE(pChild, nullptr);
  pFrame->SetDefaultMenuId(IDR_MAINFRAME);
  EXPECT_EQ(pFrame->GetCurrentMenuId(), (UINT)IDR_DOCA);  // the active child's
  theApp.CloseAllDocuments(TRUE);
  EXPECT_EQ(pFrame->GetCurrentMenuId(), (UINT)IDR_MAINFRAME);
  theApp.m_pMainWnd = pMain;
  pFrame->DestroyWindow();

  // Without a menu bar the id is not taken.
  pMain->SetDefaultMenuId(IDR_DOCB);
  EXPECT_EQ(pMain->GetDefaultMenuId(), (UINT)IDR_MAINFRAME);
}

// While its toolbars are customised the frame cannot be closed or hit, and a dialog's idle
// time lays it out at once.
TEST_F(MDIFrame, CustomisingKeepsTheFrameStill)
{
  SECToolBarManager manager(pMain);
  pMain->SetControlBarManager(&manager);
  MSG close = {pMain->m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0};
  EXPECT_NE(pMain->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(5, 5)), HTERROR);
  manager.EnterCustomizeMode();
  ASSERT_TRUE(pMain->InCustomizeMode());
  EXPECT_EQ(pMain->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(5, 5)), HTERROR);
  EXPECT_TRUE(pMain->PreTranslateMessage(&close));
  pMain->DelayRecalcLayout();
  pMain->SendMessage(WM_ENTERIDLE, MSGF_MENU, 0);
  EXPECT_TRUE(pMain->m_nIdleFlags & CFrameWnd::idleLayout);  // a menu's idle time: not yet
  pMain->SendMessage(WM_ENTERIDLE, MSGF_DIALOGBOX, 0);
  EXPECT_FALSE(pMain->m_nIdleFlags & CFrameWnd::idleLayout);
  manager.ExitCustomizeMode();
  EXPECT_FALSE(pMain->PreTranslateMessage(&close));
  pMain->DelayRecalcLayout();
  pMain->SendMessage(WM_ENTERIDLE, MSGF_DIALOGBOX, 0);
  EXPECT_TRUE(pMain->m_nIdleFlags & CFrameWnd::idleLayout);
  pMain->RecalcLayout();
  pMain->SetControlBarManager(NULL);
}

// The frame's activation gives the active child's view the focus; the view is told it is
// active again only with auto-activation.
TEST_F(MDIFrame, ActivationFocusesTheActiveView)
{
  SECMDIChildWnd* pChild = Open(pTemplateA);
  ASSERT_NE(pChild, nullptr);
  CTestView* pView = (CTestView*)ViewOf(pChild);
  // The focus elsewhere in the frame (the MDI client would hand it on to the child).
  HWND hEdit = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20,
                                 pMain->m_hWnd, NULL, NULL, NULL);
  ASSERT_NE(hEdit, (HWND)NULL);
  for (BOOL bAuto : {FALSE, TRUE}) {
    pMain->SetAutoActivateView(bAuto);
    ::SetFocus(hEdit);
    pView->activations = 0;
    pMain->SendMessage(WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(::GetFocus(), pView->m_hWnd) << bAuto;
    EXPECT_EQ(pView->activations, bAuto ? 1 : 0) << bAuto;
  }
  ::DestroyWindow(hEdit);
}

TEST_F(MDIFrame, FilterTablesOfFrameAndChildren)
{
  // The frame: the caption list of maximized children is on from construction.
  SECMsgFilter* pFrameList = pMain->GetMsgFilter()->FindFilter(SEC_FILTER_CAPTIONLIST, NULL, -1);
  ASSERT_NE(pFrameList, nullptr);
  EXPECT_TRUE(pFrameList->IsKindOf(RUNTIME_CLASS(SECCapConLstMDIMaxChildMsgFilter)));

  SECMDIChildWnd* pChild = Open(pTemplateA);
  ASSERT_NE(pChild, nullptr);
  SECMsgFilter* pRoot = pChild->GetMsgFilter();
  // Never configured: no filter; the extended system command answers 0.
  EXPECT_EQ(pRoot->GetChildCount(), 0);
  EXPECT_EQ(pChild->SendMessage(SECGetSysCommandExMessage(), 1, 0), 0);
  pChild->ConfigureMsgFilters(0);
  EXPECT_EQ(pRoot->GetChildCount(), 0);
  // Bit 2 keeps the caption controls away.
  pChild->ConfigureMsgFilters(1 | 2);
  EXPECT_EQ(pRoot->FindFilter(SEC_FILTER_CAPTIONLIST, NULL, -1), nullptr);
  // On, then asked off again: the caption list stays (it is never switched off by a table).
  pChild->ConfigureMsgFilters(1);
  SECMsgFilter* pList = pRoot->FindFilter(SEC_FILTER_CAPTIONLIST, NULL, -1);
  ASSERT_NE(pList, nullptr);
  EXPECT_TRUE(pList->IsKindOf(RUNTIME_CLASS(SECCaptionControlListMsgFilter)));
  pChild->ConfigureMsgFilters(1 | 2);
  EXPECT_TRUE(pList->m_bEnabled);
}

TEST_F(MDIFrame, AClickActivatesTheChildAndFocusesItsView)
{
  SECMDIChildWnd* pA = Open(pTemplateA);
  SECMDIChildWnd* pB = Open(pTemplateB);
  ASSERT_TRUE(pA != nullptr && pB != nullptr);
  EXPECT_EQ(pMain->MDIGetActive(), pB);
  // The menu follows the active child's template.
  EXPECT_EQ(::GetMenu(pMain->m_hWnd), pTemplateB->m_hMenuShared);

  pA->SendMessage(WM_MOUSEACTIVATE, (WPARAM)pMain->m_hWnd, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
  EXPECT_EQ(pMain->MDIGetActive(), pA);
  EXPECT_EQ(::GetFocus(), ViewOf(pA)->m_hWnd);
  EXPECT_EQ(::GetMenu(pMain->m_hWnd), pTemplateA->m_hMenuShared);

  // A button pressed in B's view, reported to B: B becomes active with the focus in its view.
  pB->SendMessage(WM_PARENTNOTIFY, WM_LBUTTONDOWN, MAKELPARAM(5, 5));
  EXPECT_EQ(pMain->MDIGetActive(), pB);
  EXPECT_EQ(::GetFocus(), ViewOf(pB)->m_hWnd);
}

TEST_F(MDIFrame, DockedActiveChildTakesCommandsFirstAndGoesAway)
{
  SECMDIChildWnd* pA = Open(pTemplateA);
  ASSERT_NE(pA, nullptr);
  CDockedFrame* pDocked = new CDockedFrame;
  ASSERT_TRUE(pDocked->Create(NULL, "Docked", WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 100), pMain));
  pMain->ActivateDockedChild(pDocked);
  EXPECT_EQ(pMain->GetActiveFrame(), pDocked);
  pMain->SendMessage(WM_COMMAND, ID_TEST_DOCKED, 0);
  EXPECT_EQ(pDocked->commands, 1);

  // A click on an MDI child takes the docked child away.
  pA->SendMessage(WM_MOUSEACTIVATE, (WPARAM)pMain->m_hWnd, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
  EXPECT_EQ(pMain->GetDockedActiveChild(), nullptr);
  EXPECT_EQ(pMain->GetActiveFrame(), pA);

  // A docked child destroyed while active leaves nothing behind.
  pMain->ActivateDockedChild(pDocked);
  pDocked->DestroyWindow();  // deletes itself
  EXPECT_EQ(pMain->GetDockedActiveChild(), nullptr);
  EXPECT_EQ(pMain->GetActiveFrame(), pA);
}

TEST_F(MDIFrame, WorkspaceCommandsStayEnabledAndMenusById)
{
  for (UINT id : {ID_WORKSPACE_NEW, ID_WORKSPACE_SAVE, ID_WORKSPACE_DELETE, ID_WORKSPACE_MRU1 + 4}) {
    RecordingCmdUI ui;
    ui.m_nID = id;
    EXPECT_TRUE(pMain->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui, NULL)) << id;
    EXPECT_EQ(ui.enabled, 1) << id;
  }
  EXPECT_TRUE(pMain->LoadMenus(0));
  EXPECT_TRUE(pMain->LoadMenus(2, IDR_DOCA, IDR_DOCB));
  EXPECT_NE(pMain->GetMenuForId(IDR_DOCA), (HMENU)NULL);
  EXPECT_EQ(pMain->GetMenuForId(999), (HMENU)NULL);
  EXPECT_FALSE(pMain->LoadMenus(2, IDR_DOCA, 999));
  HMENU hEdit = (HMENU)pMain->SendMessage(WM_SECGETMENU, IDR_DOCA, 1);
  ASSERT_NE(hEdit, (HMENU)NULL);
  EXPECT_EQ(::GetMenuItemID(hEdit, 0), 57643u);
}

TEST_F(MDIFrame, GradientCaptionFollowsActivation)
{
  pMain->EnableGradientCaption(TRUE, TRUE);
  ASSERT_TRUE(pMain->HasGradientCaption());
  pMain->SendMessage(WM_NCACTIVATE, TRUE);
  EXPECT_TRUE(pMain->IsCaptionActive());
  pMain->SendMessage(WM_NCACTIVATE, FALSE);
  EXPECT_FALSE(pMain->IsCaptionActive());
  // Never active while disabled.
  pMain->EnableWindow(FALSE);
  pMain->SendMessage(WM_NCACTIVATE, TRUE);
  EXPECT_FALSE(pMain->IsCaptionActive());
  pMain->EnableWindow(TRUE);
  // The title is kept, though the system does not draw it.
  EXPECT_TRUE(pMain->SendMessage(WM_SETTEXT, 0, (LPARAM) "Swing - Lesson"));
  CString title;
  pMain->GetWindowText(title);
  EXPECT_EQ(title, CString("Swing - Lesson"));
  CRect cap;
  pMain->GetCaptionRect(cap);
  EXPECT_FALSE(cap.IsRectEmpty());
  pMain->SendMessage(WM_NCPAINT, 1, 0);
}

}  // namespace

namespace {

// A dockable view frame inside the MDI frame, showing template A's menu.
struct CTestDockable : SECDockableFrame {
  void UseMenu(HMENU hMenu) { m_hMenuShared = hMenu; }
  int ncActivates = 0, ncPaints = 0;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
  {
    ncActivates += message == WM_NCACTIVATE;
    ncPaints += message == WM_NCPAINT;
    return SECDockableFrame::WindowProc(message, wParam, lParam);
  }
};

TEST_F(MDIFrame, ADockableFrameBecomesTheDockedActiveChildWithItsMenu)
{
  SECMDIChildWnd* pB = Open(pTemplateB);
  ASSERT_NE(pB, nullptr);
  CTestDockable* pDockable = new CTestDockable;
  ASSERT_TRUE(pDockable->Create(NULL, "Docked view", WS_CHILD | WS_VISIBLE, CRect(0, 0, 120, 90),
                                pMain));
  pDockable->UseMenu(pTemplateA->m_hMenuShared);

  pDockable->SendMessage(WM_MOUSEACTIVATE, (WPARAM)pMain->m_hWnd, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
  EXPECT_EQ(pMain->GetDockedActiveChild(), pDockable);
  EXPECT_EQ(::GetMenu(pMain->m_hWnd), pTemplateA->m_hMenuShared);
  // With the gradient caption the docked child's caption follows the frame's.
  pMain->EnableGradientCaption(TRUE, FALSE);
  pDockable->ncActivates = pDockable->ncPaints = 0;
  pMain->SendMessage(WM_NCACTIVATE, FALSE);
  EXPECT_GE(pDockable->ncActivates, 1);
  EXPECT_GE(pDockable->ncPaints, 1);
  pMain->EnableGradientCaption(FALSE, FALSE);

  // Back to the MDI child: its menu returns.
  pB->SendMessage(WM_MOUSEACTIVATE, (WPARAM)pMain->m_hWnd, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
  EXPECT_EQ(pMain->GetDockedActiveChild(), nullptr);
  EXPECT_EQ(::GetMenu(pMain->m_hWnd), pTemplateB->m_hMenuShared);

  // Destroying the active docked frame clears it first.
  pDockable->SendMessage(WM_MOUSEACTIVATE, (WPARAM)pMain->m_hWnd, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
  EXPECT_EQ(pMain->GetDockedActiveChild(), pDockable);
  pDockable->DestroyWindow();
  EXPECT_EQ(pMain->GetDockedActiveChild(), nullptr);
}

}  // namespace

#include "SECMultiDocTemplate.h"

#define IDR_DOCC 403

namespace {

class MultiDocTemplate : public MDIFrame {
 protected:
  void SetUp() override
  {
    MDIFrame::SetUp();
    pMain->EnableDocking(CBRS_ALIGN_ANY);
    pTemplate = new SECMultiDocTemplate(IDR_DOCC, RUNTIME_CLASS(CTestDoc), RUNTIME_CLASS(CTestView));
    theApp.AddDocTemplate(pTemplate);
  }
  CView* FirstView(CDocument* pDoc)
  {
    POSITION pos = pDoc->GetFirstViewPosition();
    return pDoc->GetNextView(pos);
  }
  SECMultiDocTemplate* pTemplate = nullptr;
};

TEST_F(MultiDocTemplate, SwitchingTwiceKeepsViewAndDocument)
{
  CDocument* pDoc = pTemplate->OpenDocumentFile(NULL);
  ASSERT_NE(pDoc, nullptr);
  CView* pView = FirstView(pDoc);
  CFrameWnd* pChild = pView->GetParentFrame();
  ASSERT_TRUE(pChild->IsKindOf(RUNTIME_CLASS(SECMDIChildWnd)));
  EXPECT_FALSE(pTemplate->IsDockingFrame(pChild));
  EXPECT_EQ(pTemplate->GetDockedSide(pChild), -1);

  CFrameWnd* pDocked = pTemplate->SwitchFrame(pChild);
  ASSERT_NE(pDocked, nullptr);
  EXPECT_TRUE(pTemplate->IsDockingFrame(pDocked));
  EXPECT_EQ(pView->GetParentFrame(), pDocked);
  EXPECT_EQ(pDocked->GetActiveView(), pView);
  EXPECT_EQ(pTemplate->GetDockedSide(pDocked), SECMultiDocTemplate::sideBottom);  // first default
  EXPECT_EQ(pMain->GetDockedActiveChild(), pDocked);
  // Docking a docking frame does nothing.
  EXPECT_EQ(pTemplate->DockMDIChild(pDocked, AFX_IDW_DOCKBAR_RIGHT), nullptr);

  CFrameWnd* pBack = pTemplate->SwitchFrame(pDocked);
  ASSERT_NE(pBack, nullptr);
  EXPECT_TRUE(pBack->IsKindOf(RUNTIME_CLASS(SECMDIChildWnd)));
  EXPECT_EQ(FirstView(pDoc), pView);
  EXPECT_EQ(pView->GetParentFrame(), pBack);
  EXPECT_EQ(pView->GetDocument(), pDoc);
  EXPECT_EQ(pMain->MDIGetActive(), pBack);
  EXPECT_EQ(pMain->GetDockedActiveChild(), nullptr);
}

TEST_F(MultiDocTemplate, DockedOnAGivenSide)
{
  struct Case {
    UINT id;
    int side;
  } cases[] = {{AFX_IDW_DOCKBAR_RIGHT, SECMultiDocTemplate::sideRight},
               {AFX_IDW_DOCKBAR_BOTTOM, SECMultiDocTemplate::sideBottom},
               {AFX_IDW_DOCKBAR_LEFT, SECMultiDocTemplate::sideLeft},
               {AFX_IDW_DOCKBAR_TOP, SECMultiDocTemplate::sideTop}};
  for (auto& c : cases) {
    CDocument* pDoc = pTemplate->OpenDocumentFile(NULL);
    ASSERT_NE(pDoc, nullptr);
    CFrameWnd* pDocked = pTemplate->DockMDIChild(FirstView(pDoc)->GetParentFrame(), c.id);
    ASSERT_NE(pDocked, nullptr) << c.id;
    EXPECT_EQ(pTemplate->GetDockedSide(pDocked), c.side) << c.id;
  }
  // Opened straight into a dock.
  CDocument* pDoc = pTemplate->OpenDocumentFileEx(NULL, TRUE, TRUE);
  ASSERT_NE(pDoc, nullptr);
  EXPECT_TRUE(pTemplate->IsDockingFrame(FirstView(pDoc)->GetParentFrame()));
  EXPECT_FALSE(pTemplate->m_bCreateDocking);
}

TEST_F(MultiDocTemplate, FeatureWords)
{
  EXPECT_EQ(pTemplate->m_dwChildFeatures, 7u);
  EXPECT_EQ(pTemplate->m_dwDockingFeatures, 7u);
  EXPECT_FALSE(pTemplate->IsStateButtonEnabled());
  EXPECT_FALSE(pTemplate->IsDoubleClickToggleEnabled());
  EXPECT_TRUE(pTemplate->IsContextMenuEnabled());
  // With 7 the caption controls stay off in a new child.
  CDocument* pDoc = pTemplate->OpenDocumentFile(NULL);
  SECMDIChildWnd* pChild = (SECMDIChildWnd*)FirstView(pDoc)->GetParentFrame();
  EXPECT_EQ(pChild->GetMsgFilter()->FindFilter(SEC_FILTER_CAPTIONLIST, NULL, -1), nullptr);

  // The double-click toggle and the menu exclude each other.
  pTemplate->EnableDoubleClickToggle(TRUE);
  EXPECT_TRUE(pTemplate->IsDoubleClickToggleEnabled());
  EXPECT_FALSE(pTemplate->IsContextMenuEnabled());
  pTemplate->EnableContextMenu(TRUE);
  EXPECT_TRUE(pTemplate->IsContextMenuEnabled());
  EXPECT_FALSE(pTemplate->IsDoubleClickToggleEnabled());
  EXPECT_EQ(pTemplate->m_dwDockingFeatures, pTemplate->m_dwChildFeatures);

  // The state button on: applied to the open child, its caption list appears.
  pTemplate->EnableStateButton(TRUE);
  EXPECT_TRUE(pTemplate->IsStateButtonEnabled());
  EXPECT_NE(pChild->GetMsgFilter()->FindFilter(SEC_FILTER_CAPTIONLIST, NULL, -1), nullptr);
}

}  // namespace

#include "SECSysCommandEx.h"

namespace {

using namespace nsSysCommandEx;

class SysCommandEx : public MultiDocTemplate {
 protected:
  void SetUp() override
  {
    MultiDocTemplate::SetUp();
    pTemplate->ModifyFeatures(0xE, featOnAll, FALSE);  // everything on
    pMain->ConfigureMsgFilters(TRUE);
  }
  enum { featOnAll = 1 };
  using MDIFrame::Open;
  CView* Open()
  {
    CDocument* pDoc = pTemplate->OpenDocumentFile(NULL);
    return pDoc != NULL ? FirstView(pDoc) : nullptr;
  }
  LRESULT Execute(CFrameWnd* pFrame, int nTarget)
  {
    ScxCommandInfo info;
    memset(&info, 0, sizeof info);
    info.hWnd = pFrame->m_hWnd;
    info.nTargetState = nTarget;
    return SendCommand(info.hWnd, cmdExecute, info);
  }
  int StateOf(CView* pView)
  {
    ScxMsgFilter probe;
    return probe.GetCurrentState(pView->GetParentFrame(), pTemplate);
  }
  void Pump()
  {
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
      ::DispatchMessageA(&msg);
  }
};

// The gradient caption of the main window, a document child with its state button beside the
// standard ones, and a bar floating in the main window.
TEST_F(SysCommandEx, Screenshot)
{
  if (!ScreenshotDir())
    GTEST_SKIP() << "no screenshot folder";
  pMain->SetWindowText("Swing Studio - Lesson 3");
  pMain->SetWindowPos(NULL, 20, 20, 720, 520, SWP_NOZORDER);
  pMain->EnableGradientCaption(TRUE, TRUE);
  CView* pView = Open();
  ASSERT_NE(pView, nullptr);
  pView->GetParentFrame()->SetWindowPos(NULL, 10, 10, 360, 240, SWP_NOZORDER);
  SECControlBar* pBar = NewDockedBar(pMain, 0xE882);
  ASSERT_NE(pBar, nullptr);
  pMain->FloatControlBarInMDIChild(pBar, CPoint(-1, -1));
  pMain->RecalcLayout();
  CPoint origin(0, 0);
  ::ClientToScreen(pMain->m_hWndMDIClient, &origin);
  pMain->FloatControlBarInMDIChild(pBar, origin + CPoint(400, 120));
  pView->GetParentFrame()->BringWindowToTop();
  pMain->SetForegroundWindow();
  // Switching the gradient on posts an inactive WM_NCACTIVATE to the frame, which was active
  // already: once that has run, the frame is told it is active again, as a click would.
  Pump();
  pMain->SendMessage(WM_NCACTIVATE, TRUE);
  EXPECT_TRUE(pMain->IsCaptionActive());
  Snap(pMain, "mdi_frame");
  // The bar's child stays open: the frame goes with it (and it is the active child once the
  // documents have closed).
}

TEST_F(SysCommandEx, TheStateMenuFollowsTheFrame)
{
  CView* pView = Open();
  ASSERT_NE(pView, nullptr);
  ScxCommandInfo info;
  memset(&info, 0, sizeof info);
  info.hWnd = pView->GetParentFrame()->m_hWnd;
  ASSERT_EQ(SendCommand(info.hWnd, cmdQueryMenu, info), 1);
  ASSERT_NE(info.hMenu, (HMENU)NULL);
  CMenu* pMenu = CMenu::FromHandle(info.hMenu);
  EXPECT_EQ(pMenu->GetMenuItemCount(), 6);
  EXPECT_EQ(pMenu->GetMenuState(stateMDIChild, MF_BYCOMMAND) & MF_CHECKED, (UINT)MF_CHECKED);
  EXPECT_EQ(pMenu->GetMenuState(stateDocked, MF_BYCOMMAND) & MF_CHECKED, 0u);
  EXPECT_EQ(pMenu->GetMenuState(stateRestored, MF_BYCOMMAND) & MF_CHECKED, (UINT)MF_CHECKED);
  CString text;
  pMenu->GetMenuString(4, text, MF_BYPOSITION);
  EXPECT_EQ(text, CString("D&ocked to"));
  ::DestroyMenu(info.hMenu);

  // A frame of a plain template gets no menu, and nothing runs for it.
  SECMDIChildWnd* pPlain = Open(pTemplateA);
  ASSERT_NE(pPlain, nullptr);
  pPlain->ConfigureMsgFilters(1);
  memset(&info, 0, sizeof info);
  info.hWnd = pPlain->m_hWnd;
  EXPECT_EQ(SendCommand(info.hWnd, cmdQueryMenu, info), 0);
  EXPECT_EQ(info.hMenu, (HMENU)NULL);
  EXPECT_EQ(Execute(pPlain, stateDocked), 0);
  EXPECT_EQ(pMain->MDIGetActive(), pPlain);
}

TEST_F(SysCommandEx, ExecuteMovesTheViewBetweenStates)
{
  CView* pView = Open();
  ASSERT_NE(pView, nullptr);
  CDocument* pDoc = pView->GetDocument();
  struct Case {
    int target;
    int state;  // afterwards
  } cases[] = {
      {stateDockedRight, stateDockedRight}, {stateDockedTop, stateDockedTop},
      {stateDockedTop, stateDockedTop},  // the checked state again: docked there again
      {stateFloating, stateFloating},     {stateMaximized, stateMaximized},
      {stateMinimized, stateMinimized},   {stateRestored, stateRestored},
      {-1, stateDockedBottom},            // the default target of a child: docked
      {-1, stateRestored},                // and of a docked frame: a child
  };
  for (auto& c : cases) {
    Execute(pView->GetParentFrame(), c.target);
    EXPECT_EQ(StateOf(pView), c.state) << c.target;
    EXPECT_EQ(pView->GetDocument(), pDoc);
  }
}

TEST_F(SysCommandEx, AMinimizedChildFloatsWhereItWas)
{
  CView* pView = Open();
  ASSERT_NE(pView, nullptr);
  CMDIChildWnd* pChild = (CMDIChildWnd*)pView->GetParentFrame();
  pChild->SetWindowPos(NULL, 40, 30, 260, 180, SWP_NOZORDER);
  CRect before;
  pChild->GetWindowRect(&before);
  pChild->ShowWindow(SW_MINIMIZE);
  ASSERT_EQ(StateOf(pView), stateMinimized);
  Execute(pChild, stateFloating);
  ASSERT_EQ(StateOf(pView), stateFloating);
  CRect mini;
  pView->GetParentFrame()->GetParent()->GetParentFrame()->GetWindowRect(&mini);
  EXPECT_EQ(mini.TopLeft(), before.TopLeft());
}

TEST_F(SysCommandEx, CaptionGesturesAndTheStateButton)
{
  CView* pView = Open();
  ASSERT_NE(pView, nullptr);
  // A right double-click on a child's caption docks it (the child and its filters go).
  pView->GetParentFrame()->SendMessage(WM_NCRBUTTONDBLCLK, HTCAPTION, 0);
  EXPECT_EQ(pTemplate->GetDockedSide(pView->GetParentFrame()), SECMultiDocTemplate::sideBottom);
  // On the docked frame's caption it makes a child again.
  pView->GetParentFrame()->SendMessage(WM_NCRBUTTONDBLCLK, HTCAPTION, 0);
  EXPECT_EQ(StateOf(pView), stateRestored);

  // The state button's click toggles; its frame is destroyed under it.
  SECMDIChildWnd* pChild = (SECMDIChildWnd*)pView->GetParentFrame();
  ScxButtonMsgFilter* pButton = DYNAMIC_DOWNCAST(
      ScxButtonMsgFilter, pChild->GetMsgFilter()->FindFilter(SEC_FILTER_STATEBUTTON, NULL, -1));
  ASSERT_NE(pButton, nullptr);
  EXPECT_EQ(pButton->m_nHoldDelay, 400);
  pButton->PostCommand(SECCaptionControlMsgFilter::modeClick, 0, 0);
  EXPECT_TRUE(pTemplate->IsDockingFrame(pView->GetParentFrame()));

  // The caption menu (right button up), answered with keys: the second item, "Floating".
  CFrameWnd* pDocked = pView->GetParentFrame();
  for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN})
    pDocked->PostMessage(WM_KEYDOWN, key, 0);
  CRect rc;
  pDocked->GetWindowRect(&rc);
  pDocked->SendMessage(WM_NCRBUTTONUP, HTCAPTION, MAKELPARAM(rc.left + 10, rc.top + 5));
  Pump();
  EXPECT_EQ(StateOf(pView), stateFloating);
}

}  // namespace

#include "SECWorkbook.h"

namespace {

class Workbook : public ::testing::Test {
 protected:
  void SetUp() override
  {
    pBook = new SECWorkbook;
    ASSERT_TRUE(pBook->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW));
    pBook->SetWindowPos(NULL, 0, 0, 700, 500, SWP_NOZORDER);
    pBook->ShowWindow(SW_SHOW);
    theApp.m_pMainWnd = pBook;
    pTemplate = new CMultiDocTemplate(IDR_DOCA, RUNTIME_CLASS(CTestDoc), RUNTIME_CLASS(SECWorksheet),
                                      RUNTIME_CLASS(CTestView));
    theApp.AddDocTemplate(pTemplate);
  }
  void TearDown() override
  {
    theApp.CloseAllDocuments(TRUE);
    theApp.m_pMainWnd = NULL;
    if (::IsWindow(pBook->m_hWnd))
      pBook->DestroyWindow();
    CPtrList& templates = theApp.m_pDocManager->m_templateList;
    while (!templates.IsEmpty())
      delete (CDocTemplate*)templates.RemoveHead();
  }
  SECWorksheet* Open(const char* title = NULL)
  {
    CDocument* pDoc = pTemplate->OpenDocumentFile(NULL);
    if (pDoc == NULL)
      return nullptr;
    if (title != NULL)
      pDoc->SetTitle(title);
    POSITION pos = pDoc->GetFirstViewPosition();
    return DYNAMIC_DOWNCAST(SECWorksheet, pDoc->GetNextView(pos)->GetParentFrame());
  }
  // Sizes the frame so that its MDI client is cx wide.
  void ClientWidth(int cx)
  {
    CRect client, frame;
    ::GetWindowRect(pBook->m_hWndMDIClient, &client);
    pBook->GetWindowRect(&frame);
    pBook->SetWindowPos(NULL, 0, 0, frame.Width() + cx - client.Width(), frame.Height(),
                        SWP_NOZORDER | SWP_NOMOVE);
  }
  SECWorkbook* pBook = nullptr;
  CMultiDocTemplate* pTemplate = nullptr;
};

TEST_F(Workbook, Screenshot)
{
  if (!ScreenshotDir())
    GTEST_SKIP() << "no screenshot folder";
  pBook->SetWindowPos(NULL, 20, 20, 640, 420, SWP_NOZORDER);
  pBook->ShowTabs(TRUE);
  for (const char* title : {"Driver", "Seven iron", "A rather long title for a putting lesson", "Wedge"})
    ASSERT_NE(Open(title), nullptr);
  Snap(pBook, "workbook_tabs");
}

TEST_F(Workbook, ABarFloatsInASheetWithItsOwnTab)
{
  SECControlBar* pBar = NewDockedBar(pBook, 0xE884);
  ASSERT_NE(pBar, nullptr);
  ASSERT_NE(Open("Driver"), nullptr);
  pBook->FloatControlBarInMDIChild(pBar, CPoint(-1, -1));
  SECControlBarWorksheet* pSheet =
      DYNAMIC_DOWNCAST(SECControlBarWorksheet, pBar->GetParent()->GetParent());
  ASSERT_NE(pSheet, nullptr);
  EXPECT_EQ(pBook->GetSheetCount(), 2);
  EXPECT_EQ(pBook->GetSheet(1), pSheet);
  EXPECT_FALSE(pSheet->GetExStyle() & WS_EX_CLIENTEDGE);
  // Closing the sheet hides the bar and keeps the sheet.
  pSheet->SendMessage(WM_CLOSE);
  ASSERT_TRUE(::IsWindow(pSheet->m_hWnd));
  EXPECT_FALSE(pBar->IsWindowVisible());
  // Docked again, the sheet and its tab go.
  pBook->ShowControlBar(pBar, TRUE, FALSE);
  pBook->DockControlBar(pBar, AFX_IDW_DOCKBAR_LEFT);
  EXPECT_EQ(pBook->GetSheetCount(), 1);
  EXPECT_TRUE(pBar->IsWindowVisible());
}

TEST_F(Workbook, TabWidthsAndTheStrip)
{
  // Hidden at first: the client fills the frame.
  CRect frame, client;
  pBook->GetClientRect(&frame);
  ::GetWindowRect(pBook->m_hWndMDIClient, &client);
  EXPECT_FALSE(pBook->AreTabsShown());
  EXPECT_EQ(client.Size(), frame.Size());
  pBook->ShowTabs(TRUE);
  ::GetWindowRect(pBook->m_hWndMDIClient, &client);
  EXPECT_EQ(client.Width(), frame.Width() - 26);
  EXPECT_EQ(client.Height(), frame.Height() - 46);

  ClientWidth(595);  // the client window, its edge included
  std::vector<SECWorksheet*> sheets;
  for (int i = 0; i < 10; i++)
    sheets.push_back(Open());
  ASSERT_EQ(pBook->GetSheetCount(), 10);
  EXPECT_EQ(pBook->GetTabWidth(), 60);  // (595 + 5) / 10
  for (int i = 0; i < 10; i++)
    EXPECT_EQ(sheets[(size_t)i]->m_nTabIndex, i);
  // Closing eight leaves two, each capped at 90, renumbered.
  for (int i = 0; i < 8; i++)
    sheets[(size_t)i]->MDIDestroy();
  ASSERT_EQ(pBook->GetSheetCount(), 2);
  EXPECT_EQ(pBook->GetTabWidth(), 90);
  EXPECT_EQ(sheets[9]->m_nTabIndex, 1);
}

TEST_F(Workbook, TabPlacesActiveTabAndClicks)
{
  pBook->ShowTabs(TRUE);
  SECWorksheet* a = Open("Alpha");
  SECWorksheet* b = Open("Bravo");
  SECWorksheet* c = Open("Charlie");
  ASSERT_TRUE(a && b && c);
  const int W = pBook->GetTabWidth();
  CRect mdi;
  ::GetWindowRect(pBook->m_hWndMDIClient, &mdi);
  pBook->ScreenToClient(&mdi);
  POINT pa[7], pc[7];
  ASSERT_TRUE(pBook->GetTabPolygon(a, pa));
  ASSERT_TRUE(pBook->GetTabPolygon(c, pc));  // c is active: raised
  EXPECT_EQ(pa[0].x, mdi.left);
  EXPECT_EQ(pa[0].y, mdi.bottom + 4);
  EXPECT_EQ(pc[0].x, mdi.left + 2 * W - 2);
  EXPECT_EQ(pc[3].x - pc[2].x, W - 4 + 4);
  EXPECT_EQ(pc[2].y - pa[2].y, 2);

  // A hidden sheet takes no place: the next moves left.
  b->ShowWindow(SW_HIDE);
  ASSERT_TRUE(pBook->GetTabPolygon(c, pc));
  EXPECT_EQ(pc[0].x, mdi.left + W - 2);

  // A click on a tab activates its sheet; on the active tab nothing changes.
  CPoint onA(pa[0].x + W / 2, pa[0].y + 8);
  pBook->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(onA.x, onA.y));
  pBook->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(onA.x, onA.y));
  EXPECT_EQ(pBook->MDIGetActive(), a);
  EXPECT_FALSE(a->m_bPressed);
  pBook->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(onA.x, onA.y));
  EXPECT_EQ(pBook->MDIGetActive(), a);
  EXPECT_FALSE(a->m_bPressed);
  // Where b was, c now answers.
  CPoint onB(mdi.left + W + W / 2, pa[0].y + 8);
  pBook->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(onB.x, onB.y));
  pBook->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(onB.x, onB.y));
  EXPECT_EQ(pBook->MDIGetActive(), c);
}

TEST_F(Workbook, LongTitlesEndInDotsAndGetATooltip)
{
  pBook->ShowTabs(TRUE);
  SECWorksheet* s = Open("Short");
  SECWorksheet* l = Open("A very long title for a sheet tab");
  ASSERT_TRUE(s && l);
  EXPECT_TRUE(pBook->TabTextFits(s));
  EXPECT_FALSE(pBook->TabTextFits(l));
  CClientDC dc(pBook);
  dc.SelectObject(pBook->GetTabFont());
  CString fitted = SECWorkbook::FitTitle(&dc, "A very long title for a sheet tab", 50);
  EXPECT_EQ(fitted.Right(3), CString("..."));
  EXPECT_LE(dc.GetTextExtent(fitted).cx, 50);
  EXPECT_EQ(SECWorkbook::FitTitle(&dc, "Abc", 1), CString("Abc"));  // under four: left whole

  POINT p[7];
  ASSERT_TRUE(pBook->GetTabPolygon(l, p));
  TOOLINFOA ti;
  memset(&ti, 0, sizeof ti);
  INT_PTR hit = pBook->OnToolHitTest(CPoint(p[0].x + 20, p[0].y + 8), &ti);
  EXPECT_EQ(hit, 2);
  ASSERT_NE(ti.lpszText, nullptr);
  EXPECT_STREQ(ti.lpszText, "A very long title for a sheet tab");
  free(ti.lpszText);
  ASSERT_TRUE(pBook->GetTabPolygon(s, p));
  EXPECT_EQ(pBook->OnToolHitTest(CPoint(p[0].x + 20, p[0].y + 8), NULL), -1);
}

}  // namespace
