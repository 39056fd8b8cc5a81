// Caption button filters on a headless frame: where the buttons go for the frame's styles and
// states, the MDI menu row, and press, track, hold and release as non-client and mouse
// messages offered by the frame to its filter tree.
#include "gtest_wine.h"
#include "SECCaptionFilters.h"
#include <vector>

namespace {

class CTestApp : public CWinApp {
 public:
  CTestApp() : CWinApp("Caption Filter Tester") {}
};
CTestApp theApp;
// With QUORVEL_SCREENSHOT_DIR set the tests run on the display's own desktop.
const bool g_onOwnDesktop =
    getenv("QUORVEL_SCREENSHOT_DIR") == nullptr && RunOnOwnDesktop("QuorvelCaptionFilterTests");

void Pump(DWORD ms = 0)
{
  DWORD end = ::GetTickCount() + ms;
  do {
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    if (ms != 0)
      ::Sleep(5);
  } while (::GetTickCount() < end);
}

// A frame offering its messages to a filter tree as the toolkit's frames do; system commands
// are recorded, not run.
class CFilterFrame : public CFrameWnd {
 public:
  CFilterFrame() : m_root(this, -1) {}
  SECMsgFilter m_root;
  std::vector<std::pair<WPARAM, LPARAM>> commands;
  LRESULT WindowProc(UINT m, WPARAM w, LPARAM l) override
  {
    switch (m) {
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
      if (m_root.FilterMessage(m, w, l, NULL) & SECMsgFilter::fltHandled)
        return 0;
      break;
    case WM_SYSCOMMAND:
      commands.push_back({w, l});
      return 0;
    case WM_NCPAINT:
    case WM_NCACTIVATE:
    case WM_SETTEXT: {
      LRESULT r = CFrameWnd::WindowProc(m, w, l);
      m_root.FilterMessage(m, w, l, NULL);
      return r;
    }
    }
    return CFrameWnd::WindowProc(m, w, l);
  }
};

// Counts its hold actions.
class CHoldButton : public SECCaptionControlMsgFilter {
  DECLARE_DYNCREATE(CHoldButton)

 public:
  int m_nHeld = 0;
  void OnButtonHeld(int x, int y) override
  {
    m_nHeld++;
    SECCaptionControlMsgFilter::OnButtonHeld(x, y);
  }
};
IMPLEMENT_DYNCREATE(CHoldButton, SECCaptionControlMsgFilter)

CFilterFrame* NewFrame(DWORD dwStyle, DWORD dwExStyle = 0)
{
  CFilterFrame* p = new CFilterFrame;
  if (!p->CreateEx(dwExStyle, NULL, "Captions", dwStyle, CRect(50, 50, 450, 350), NULL, 0))
    return nullptr;  // a frame whose window went has deleted itself
  return p;
}

SECCaptionControlMsgFilter* Button(SECMsgFilter* pList, int nType)
{
  return DYNAMIC_DOWNCAST(SECCaptionControlMsgFilter, pList->FindFilter(nType, NULL, 0));
}

// The button's centre on the screen, and in the frame's client coordinates.
CPoint ScreenPoint(CWnd* pFrame, const CRect& rect)
{
  CRect rectWindow;
  pFrame->GetWindowRect(&rectWindow);
  return rect.CenterPoint() + rectWindow.TopLeft();
}
LPARAM ClientParam(CWnd* pFrame, CPoint ptScreen)
{
  pFrame->ScreenToClient(&ptScreen);
  return MAKELPARAM((WORD)(short)ptScreen.x, (WORD)(short)ptScreen.y);
}

}  // namespace

TEST(CaptionFilters, LayoutByStylesAndStates)
{
  static char cmdLine[] = "";
  ASSERT_TRUE(AfxWinInit(::GetModuleHandleA(NULL), NULL, cmdLine, SW_SHOWNORMAL));
  const DWORD kBoth = WS_OVERLAPPEDWINDOW;
  struct Case {
    const char* why;
    DWORD dwStyle, dwExStyle;
    int nShow;     // SW_SHOWNORMAL, SW_MINIMIZE, SW_MAXIMIZE
    bool bGreyClose;
    // slot of each type from the right (close, minimize, maximize, restore, help); -1 hidden.
    // A slot is a button width; a gap of 2 follows close, minimize and (minimized) restore.
    int slot[5];
    int gaps[5];   // gaps to the right of each button
    bool inactive[5];
  };
  const Case cases[] = {
      {"normal, both boxes", kBoth, 0, SW_SHOWNORMAL, false, {0, 2, 1, -1, -1}, {0, 1, 1, 0, 0}, {}},
      {"tool window: close only", kBoth, WS_EX_TOOLWINDOW, SW_SHOWNORMAL, false,
       {0, -1, -1, -1, -1}, {}, {}},
      {"minimized: restore and maximize, no minimize", kBoth, 0, SW_MINIMIZE, false,
       {0, -1, 1, 2, -1}, {0, 0, 1, 1, 0}, {}},
      {"maximized: restore, no maximize", kBoth, 0, SW_MAXIMIZE, false, {0, 2, -1, 1, -1},
       {0, 1, 0, 1, 0}, {}},
      {"no boxes, context help", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, WS_EX_CONTEXTHELP,
       SW_SHOWNORMAL, false, {0, -1, -1, -1, 1}, {0, 0, 0, 0, 1}, {}},
      {"no system menu", WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME | WS_MINIMIZEBOX, 0,
       SW_SHOWNORMAL, false, {-1, -1, -1, -1, -1}, {}, {}},
      {"minimize box only: maximize greyed", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
       0, SW_SHOWNORMAL, false, {0, 2, 1, -1, -1}, {0, 1, 1, 0, 0}, {false, false, true, false, false}},
      {"close greyed in the system menu", kBoth, 0, SW_SHOWNORMAL, true, {0, 2, 1, -1, -1},
       {0, 1, 1, 0, 0}, {true, false, false, false, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    CFilterFrame* pFrame = NewFrame(c.dwStyle, c.dwExStyle);
    ASSERT_NE(pFrame, nullptr);
    pFrame->ShowWindow(c.nShow);
    if (c.bGreyClose)
      ::EnableMenuItem(::GetSystemMenu(pFrame->m_hWnd, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    auto* pList = (SECCaptionControlListMsgFilter*)pFrame->m_root.FindFilter(
        256, RUNTIME_CLASS(SECCaptionControlListMsgFilter), 0);
    ASSERT_NE(pList, nullptr);
    pList->LayoutButtons();
    const CSize size = pList->GetButtonSize();
    const CPoint first = pList->GetFirstButtonPos(pList->GetCaptionRect(), size);
    if (c.dwExStyle & WS_EX_TOOLWINDOW)
      EXPECT_EQ(size, CSize(::GetSystemMetrics(SM_CXSMSIZE) - 2, ::GetSystemMetrics(SM_CYSMSIZE) - 4));
    else
      EXPECT_EQ(size, CSize(::GetSystemMetrics(SM_CXSIZE) - 2, ::GetSystemMetrics(SM_CYSIZE) - 4));
    for (int nType = 0; nType < 5; nType++) {
      SECCaptionControlMsgFilter* p = Button(pList, nType);
      ASSERT_NE(p, nullptr);
      if (c.slot[nType] < 0) {
        EXPECT_TRUE(p->m_rect.IsRectEmpty()) << "type " << nType;
        continue;
      }
      int x = first.x - c.slot[nType] * size.cx - 2 * c.gaps[nType];
      EXPECT_EQ(p->m_rect, CRect(x, first.y, x + size.cx, first.y + size.cy)) << "type " << nType;
      EXPECT_EQ((p->m_nState & DFCS_INACTIVE) != 0, c.inactive[nType]) << "type " << nType;
      EXPECT_EQ(p->m_nState & 0xFF, (UINT)nType);
    }
    pFrame->DestroyWindow();
  }

  // The MDI frame's menu row: menu-button metrics, one caption lower.
  CFilterFrame* pFrame = NewFrame(kBoth);
  ASSERT_NE(pFrame, nullptr);
  auto* pMDI = (SECCaptionControlListMsgFilter*)pFrame->m_root.FindFilter(
      260, RUNTIME_CLASS(SECCapConLstMDIMaxChildMsgFilter), 0);
  SECCaptionControlListMsgFilter plain(pFrame);
  pMDI->LayoutButtons();
  plain.LayoutButtons();
  const CSize sizeMenu(::GetSystemMetrics(SM_CXMENUSIZE) - 2, ::GetSystemMetrics(SM_CYMENUSIZE) - 4);
  EXPECT_EQ(pMDI->GetButtonSize(), sizeMenu);
  CRect rectClose = Button(pMDI, 0)->m_rect;
  EXPECT_EQ(rectClose.Size(), sizeMenu);
  EXPECT_EQ(rectClose.top, Button(&plain, 0)->m_rect.top + ::GetSystemMetrics(SM_CYCAPTION));
  EXPECT_EQ(rectClose.right, Button(&plain, 0)->m_rect.right);
  // A copy of the list is laid out alike and independent.
  std::unique_ptr<SECMsgFilter> copy(pMDI->Clone());
  EXPECT_TRUE(copy->IsKindOf(RUNTIME_CLASS(SECCapConLstMDIMaxChildMsgFilter)));
  EXPECT_EQ(copy->GetChildCount(), 5);
  EXPECT_EQ(Button(copy.get(), 0)->m_rect, rectClose);
  pFrame->DestroyWindow();
}

TEST(CaptionFilters, PressTrackHoldAndRelease)
{
  CFilterFrame* pFrame = NewFrame(WS_OVERLAPPEDWINDOW);
  ASSERT_NE(pFrame, nullptr);
  pFrame->ShowWindow(SW_SHOWNORMAL);
  auto* pList = (SECCaptionControlListMsgFilter*)pFrame->m_root.FindFilter(
      256, RUNTIME_CLASS(SECCaptionControlListMsgFilter), 0);
  pList->LayoutButtons();
  SECCaptionControlMsgFilter* pClose = Button(pList, 0);
  const CPoint ptOn = ScreenPoint(pFrame, pClose->m_rect);
  const CPoint ptOff = ptOn + CPoint(-200, 80);
  struct Case {
    const char* why;
    std::vector<CPoint> moves;  // screen points while pressed
    CPoint ptUp;
    bool bCommand;
  };
  const Case cases[] = {
      {"press and release on it", {}, ptOn, true},
      {"released outside", {ptOff}, ptOff, false},
      {"out and back before the release", {ptOff, ptOn}, ptOn, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    pFrame->commands.clear();
    pFrame->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(ptOn.x, ptOn.y));
    EXPECT_TRUE(pClose->m_bTracking);
    EXPECT_TRUE(pClose->m_nState & DFCS_PUSHED);
    EXPECT_EQ(::GetCapture(), pFrame->m_hWnd);
    for (CPoint pt : c.moves) {
      pFrame->SendMessage(WM_MOUSEMOVE, 0, ClientParam(pFrame, pt));
      EXPECT_EQ((pClose->m_nState & DFCS_PUSHED) != 0, pt == ptOn);
    }
    pFrame->SendMessage(WM_LBUTTONUP, 0, ClientParam(pFrame, c.ptUp));
    EXPECT_FALSE(pClose->m_bTracking);
    EXPECT_FALSE(pClose->m_nState & DFCS_PUSHED);
    EXPECT_EQ(::GetCapture(), (HWND)NULL);
    Pump();
    ASSERT_EQ(pFrame->commands.size(), c.bCommand ? 1u : 0u);
    if (c.bCommand) {
      EXPECT_EQ(pFrame->commands[0].first, (WPARAM)SC_CLOSE);
      EXPECT_EQ(pFrame->commands[0].second, MAKELONG((WORD)ptOn.x, (WORD)ptOn.y));
    }
  }
  // A press off the buttons or away from the caption is not theirs.
  pFrame->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(ptOff.x, ptOff.y));
  pFrame->SendMessage(WM_NCLBUTTONDOWN, HTSYSMENU, MAKELPARAM(ptOn.x, ptOn.y));
  EXPECT_FALSE(pClose->m_bTracking);
  // A greyed button swallows the press.
  ::EnableMenuItem(::GetSystemMenu(pFrame->m_hWnd, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  pFrame->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(ptOn.x, ptOn.y));
  EXPECT_FALSE(pClose->m_bTracking);
  ::EnableMenuItem(::GetSystemMenu(pFrame->m_hWnd, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);

  Pump();
  pFrame->commands.clear();  // the default handling of the presses that were not theirs

  // Hold actions, on a button of its own at the caption's left.
  auto* pHold = (CHoldButton*)pFrame->m_root.FindFilter(1, RUNTIME_CLASS(CHoldButton), 0);
  pHold->m_rect = CRect(40, 6, 56, 20);
  const CPoint ptHold = ScreenPoint(pFrame, pHold->m_rect);
  auto press = [&]() { pFrame->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(ptHold.x, ptHold.y)); };
  // Held past the delay: the hold action once, the tracking over.
  pHold->m_nHoldDelay = 30;
  press();
  ASSERT_NE(pHold->m_pHoldTimer, nullptr);
  Pump(700);
  EXPECT_EQ(pHold->m_nHeld, 1);
  EXPECT_FALSE(pHold->m_bTracking);
  EXPECT_EQ(pHold->m_pHoldTimer, nullptr);
  EXPECT_EQ(::GetCapture(), (HWND)NULL);
  // Released first: no hold action, even later.
  pHold->m_nHoldDelay = 150;
  press();
  pFrame->SendMessage(WM_LBUTTONUP, 0, ClientParam(pFrame, ptHold));
  Pump(300);
  EXPECT_EQ(pHold->m_nHeld, 1);
  ASSERT_EQ(pFrame->commands.size(), 1u);  // a click after all
  EXPECT_EQ(pFrame->commands[0].first, (WPARAM)SC_MINIMIZE);
  pFrame->commands.clear();
  // Delay 0: the action on the press, no tracking.
  pHold->m_nHoldDelay = 0;
  press();
  EXPECT_EQ(pHold->m_nHeld, 2);
  EXPECT_FALSE(pHold->m_bTracking);
  // Moving off stops the timer; back on starts it again.
  pHold->m_nHoldDelay = 60;
  press();
  pFrame->SendMessage(WM_MOUSEMOVE, 0, ClientParam(pFrame, ptOff));
  EXPECT_EQ(pHold->m_pHoldTimer, nullptr);
  Pump(150);
  EXPECT_EQ(pHold->m_nHeld, 2);
  pFrame->SendMessage(WM_MOUSEMOVE, 0, ClientParam(pFrame, ptHold));
  EXPECT_NE(pHold->m_pHoldTimer, nullptr);
  Pump(700);
  EXPECT_EQ(pHold->m_nHeld, 3);
  Pump();
  EXPECT_TRUE(pFrame->commands.empty());  // holding a standard type posts nothing

  // A frame destroyed while a button holds its timer: the timer window goes with the frame's
  // children and clears the button's pointer, so the button, deleted with the frame, finds no
  // window to destroy again (clean under AddressSanitizer).
  pHold->m_nHoldDelay = 5000;
  press();
  ASSERT_NE(pHold->m_pHoldTimer, nullptr);
  HWND hTimer = pHold->m_pHoldTimer->m_hWnd;
  pFrame->DestroyWindow();  // deletes the frame, its filters and the timer window's object
  EXPECT_FALSE(::IsWindow(hTimer));
}
