// Tabbed windows and tab controls: activation and the notifications it sends, removing and
// deleting tabs around the active one, clicks on active and disabled tabs, the strip on the
// four edges, labels cut to fit with the full label as tooltip, and the frame and tab
// outlines drawn into DIB sections.
#include "gtest_wine.h"
#include "SECTabWnd.h"
#include <string>
#include <vector>

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);

class Canvas {
 public:
  Canvas(int cx, int cy) : cx(cx), cy(cy)
  {
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), cx, -cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    bitmap = CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, (void**)&bits, NULL, 0);
    dc.Attach(CreateCompatibleDC(NULL));
    old = SelectObject(dc.m_hDC, bitmap);
    dc.FillSolidRect(0, 0, cx, cy, RGB(1, 2, 3));
  }
  ~Canvas()
  {
    SelectObject(dc.m_hDC, old);
    DeleteDC(dc.Detach());
    DeleteObject(bitmap);
  }
  COLORREF At(int x, int y) const
  {
    DWORD v = bits[y * cx + x];
    return RGB((v >> 16) & 255, (v >> 8) & 255, v & 255);
  }
  int cx, cy;
  CDC dc;
  DWORD* bits = nullptr;
  HBITMAP bitmap;
  HGDIOBJ old;
};

// A top-level window that records the tab notifications it gets.
class Recorder : public CWnd {
 public:
  struct Note {
    UINT message;
    WPARAM index;
  };
  std::vector<Note> notes;
  BOOL Make()
  {
    return CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP | WS_VISIBLE, 0, 0, 600, 400,
                    NULL, NULL);
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
  {
    if (message >= TCM_TABSEL && message <= TCM_TABREACTIVATE)
      notes.push_back({message, wParam});
    return CWnd::WindowProc(message, wParam, lParam);
  }
  int Count(UINT message) const
  {
    int n = 0;
    for (const Note& note : notes)
      n += note.message == message;
    return n;
  }
};

// Exposes the painting steps to draw them into a DIB.
class TestTabWnd : public SEC3DTabWnd {
 public:
  using SEC3DTabWnd::DrawFrame;
  using SEC3DTabWnd::EraseBands;
  SEC3DTabControl* Ctrl() { return (SEC3DTabControl*)m_pTabCtrl; }
};

class TestTabCtrl : public SEC3DTabControl {
 public:
  using SEC3DTabControl::PaintStrip;
};

LPARAM Centre(SEC3DTabControl* ctrl, int index)
{
  CRect r;
  ctrl->GetTabRect(index, r);
  CPoint c = r.CenterPoint();
  return MAKELPARAM(c.x, c.y);
}

class TabWndTest : public testing::Test {
 protected:
  void SetUp() override
  {
    ASSERT_TRUE(host.Make());
    ASSERT_TRUE(tabs.Create(&host, WS_CHILD | WS_VISIBLE | TWS_TABS_ON_BOTTOM, 100));
    tabs.MoveWindow(0, 0, 400, 300);
    for (int i = 0; i < 4; i++) {
      pages[i].CreateEx(0, "STATIC", "page", WS_CHILD, CRect(0, 0, 10, 10), &tabs, 200 + i);
      const char* labels[] = {"Lesson", "Video", "Graphics", "Extra"};
      tabs.AddTab(&pages[i], labels[i]);
    }
    host.notes.clear();
  }
  void TearDown() override
  {
    tabs.DestroyWindow();
    host.DestroyWindow();
  }
  int Active()
  {
    int n = -1;
    return tabs.GetActiveTab(n) ? n : -1;
  }
  int Shown()
  {
    int n = -1, shown = 0;
    for (int i = 0; i < 4; i++)
      if (pages[i].m_hWnd && pages[i].IsWindowVisible()) {
        n = i;
        shown++;
      }
    return shown > 1 ? -2 : n;
  }
  Recorder host;
  TestTabWnd tabs;
  CWnd pages[4];
};

}  // namespace

TEST_F(TabWndTest, ActivationShowsOneWindowAndNotifiesOnce)
{
  EXPECT_EQ(tabs.GetTabCount(), 4);
  tabs.ActivateTab(1);
  EXPECT_EQ(tabs.GetActiveWnd(), &pages[1]);
  EXPECT_EQ(Shown(), 1);
  ASSERT_EQ(host.notes.size(), 1u);
  EXPECT_EQ(host.notes[0].message, (UINT)TCM_TABSEL);
  EXPECT_EQ(host.notes[0].index, 1u);
  // The shown window fills the inside rectangle less its last column.
  CRect in, placed;
  tabs.GetInsideRect(&in);
  pages[1].GetWindowRect(&placed);
  tabs.ScreenToClient(&placed);
  EXPECT_EQ(placed, CRect(in.left, in.top, in.right - 1, in.bottom));

  // Again: nothing changes, nothing is sent.
  tabs.ActivateTab(&pages[1]);
  EXPECT_EQ(host.notes.size(), 1u);

  // A click on another tab goes through the control.
  tabs.Ctrl()->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Centre(tabs.Ctrl(), 3));
  EXPECT_EQ(tabs.GetActiveWnd(), &pages[3]);
  EXPECT_EQ(Shown(), 3);
  EXPECT_EQ(host.notes.back().index, 3u);

  // Indices out of range do nothing.
  tabs.ActivateTab(4);
  tabs.ActivateTab(-1);
  tabs.RemoveTab(9);
  tabs.RenameTab(-2, "x");
  tabs.EnableTab(7, FALSE);
  LPCTSTR label;
  BOOL sel;
  CWnd* wnd;
  void* extra;
  HMENU menu;
  EXPECT_FALSE(tabs.GetTabInfo(4, label, sel, wnd, extra, menu));
  EXPECT_FALSE(tabs.IsTabEnabled(7));
  EXPECT_EQ(tabs.GetTabCount(), 4);
  EXPECT_EQ(Active(), 3);
  ASSERT_TRUE(tabs.GetTabInfo(2, label, sel, wnd, extra, menu));
  EXPECT_STREQ(label, "Graphics");
  EXPECT_EQ(wnd, &pages[2]);
  EXPECT_EQ(GetParentTabWnd(&pages[2]), &tabs);
  EXPECT_EQ(GetParentTabWnd(&host), nullptr);
}

TEST_F(TabWndTest, RemovingAndDeletingAroundTheActiveTab)
{
  // Removing the shown tab leaves nothing shown; the control's active index now names the
  // next tab, and a click on it shows that tab's window.
  tabs.ActivateTab(1);
  tabs.RemoveTab(1);
  EXPECT_EQ(tabs.GetActiveWnd(), nullptr);
  EXPECT_EQ(Shown(), -1);
  EXPECT_EQ(tabs.GetTabCount(), 3);
  tabs.Ctrl()->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Centre(tabs.Ctrl(), 1));
  EXPECT_EQ(tabs.GetActiveWnd(), &pages[2]);
  EXPECT_EQ(Shown(), 2);

  // Deleting a tab before the active one keeps the same tab active.
  tabs.RemoveTab(0);  // pages 2, 3 remain
  EXPECT_EQ(Active(), 0);
  EXPECT_EQ(tabs.GetActiveWnd(), &pages[2]);
  CWnd* pActive = nullptr;
  ASSERT_TRUE(tabs.GetActiveTab(pActive));
  EXPECT_EQ(pActive, &pages[2]);
  int index = -1;
  ASSERT_TRUE(tabs.FindTab(&pages[2], index));
  EXPECT_EQ(index, 0);

  // Deleting the last tab while it is active activates the new last tab.
  tabs.ActivateTab(&pages[3]);
  host.notes.clear();
  tabs.RemoveTab(&pages[3]);
  EXPECT_EQ(Active(), 0);
  EXPECT_EQ(tabs.GetActiveWnd(), &pages[2]);
  EXPECT_EQ(host.Count(TCM_TABSEL), 1);

  tabs.RemoveTab(0);
  EXPECT_EQ(tabs.GetTabCount(), 0);
  EXPECT_EQ(Active(), -1);
}

TEST_F(TabWndTest, ReclickAndDisabledTabs)
{
  // The control's notifications, seen by a recording parent of a control of its own.
  Recorder parent;
  ASSERT_TRUE(parent.Make());
  SEC3DTabControl ctrl;
  ASSERT_TRUE(ctrl.Create(WS_VISIBLE | TWS_TABS_ON_BOTTOM, CRect(0, 0, 400, 30), &parent, 5));
  ctrl.AddTab("One");
  ctrl.AddTab("Two");
  ctrl.AddTab("Three");
  ctrl.ActivateTab(0);
  parent.notes.clear();

  ctrl.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Centre(&ctrl, 0));
  ASSERT_EQ(parent.notes.size(), 1u);
  EXPECT_EQ(parent.notes[0].message, (UINT)TCM_TABREACTIVATE);
  EXPECT_EQ(parent.notes[0].index, 0u);

  ctrl.EnableTab(2, FALSE);
  EXPECT_FALSE(ctrl.IsTabEnabled(2));
  parent.notes.clear();
  ctrl.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Centre(&ctrl, 2));
  ctrl.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, Centre(&ctrl, 2));
  EXPECT_TRUE(parent.notes.empty());
  int active = -1;
  EXPECT_TRUE(ctrl.GetActiveTab(active));
  EXPECT_EQ(active, 0);

  ctrl.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, Centre(&ctrl, 1));
  ASSERT_EQ(parent.notes.size(), 1u);
  EXPECT_EQ(parent.notes[0].message, (UINT)TCM_TABDBLCLK);
  EXPECT_EQ(parent.notes[0].index, 1u);

  parent.notes.clear();
  ctrl.ClearSelection();
  ASSERT_EQ(parent.notes.size(), 1u);
  EXPECT_EQ(parent.notes[0].message, (UINT)TCM_TABSELCLR);
  EXPECT_FALSE(ctrl.GetActiveTab(active));
  ctrl.DestroyWindow();
  parent.DestroyWindow();
}

TEST_F(TabWndTest, StripOnTheFourEdges)
{
  struct Case {
    DWORD style;
    CRect inside;  // of a 400 x 300 client area
    CRect strip;   // the tab control
  } cases[] = {
      {TWS_TABS_ON_BOTTOM, CRect(6, 4, 393, 269), CRect(6, 270, 393, 301)},
      {TWS_TABS_ON_TOP, CRect(6, 31, 393, 296), CRect(6, 0, 393, 31)},
      {TWS_TABS_ON_LEFT, CRect(31, 4, 393, 294), CRect(0, 4, 31, 294)},
      {TWS_TABS_ON_RIGHT, CRect(6, 4, 369, 294), CRect(369, 0, 400, 290)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    TestTabWnd wnd;
    ASSERT_TRUE(wnd.Create(&host, WS_CHILD | WS_VISIBLE | c.style, 101));
    wnd.MoveWindow(0, 0, 400, 300);
    EXPECT_EQ(wnd.GetTabStyle(), c.style);
    bool vertical = c.style & (TWS_TABS_ON_LEFT | TWS_TABS_ON_RIGHT);
    EXPECT_EQ(wnd.m_nTabStripWidth, vertical ? 30 : 0);
    EXPECT_EQ(wnd.m_nTabStripHeight, vertical ? 0 : 30);
    CRect in, strip;
    wnd.GetInsideRect(&in);
    EXPECT_EQ(in, c.inside);
    wnd.GetTabControl()->GetWindowRect(&strip);
    wnd.ScreenToClient(&strip);
    EXPECT_EQ(strip, c.strip);
    EXPECT_EQ(wnd.GetTabControl()->GetStyle() & TWS_TAB_ORIENTATIONS, c.style);
    wnd.DestroyWindow();
  }

  // Moving the strip: the former flags come back and the control follows.
  EXPECT_EQ(tabs.SetTabStyle(TWS_TABS_ON_LEFT), (DWORD)TWS_TABS_ON_BOTTOM);
  CRect in;
  tabs.GetInsideRect(&in);
  EXPECT_EQ(in.left, 31);
  EXPECT_EQ(tabs.GetTabControl()->GetStyle() & TWS_TAB_ORIENTATIONS, (DWORD)TWS_TABS_ON_LEFT);
}

TEST(TabControl, LongLabelsAreCutWidestFirstWithTheFullLabelAsTip)
{
  Recorder parent;
  ASSERT_TRUE(parent.Make());
  const char* labels[] = {"Lesson planning", "Video comparison of swings", "Graphics",
                          "Vistrel shadow"};
  // What the four labels need in full, in the control's own (active-tab) font.
  SEC3DTabControl probe;
  ASSERT_TRUE(probe.Create(WS_VISIBLE | TWS_TABS_ON_BOTTOM, CRect(0, 0, 2000, 30), &parent, 6));
  int full = 0, widths[4];
  {
    CClientDC dc(&probe);
    CFont* old = dc.SelectObject(probe.GetTabFont(1));
    for (int i = 0; i < 4; i++) {
      widths[i] = dc.GetTextExtent(labels[i]).cx;
      full += 12 + widths[i];
    }
    dc.SelectObject(old);
  }
  probe.DestroyWindow();
  ASSERT_GT(widths[1], widths[0]);

  SEC3DTabControl ctrl;
  // A few pixels short: only the widest label is cut.
  ASSERT_TRUE(ctrl.Create(WS_VISIBLE | TWS_TABS_ON_BOTTOM, CRect(0, 0, full + 12 - 3, 30),
                          &parent, 7));
  for (const char* label : labels)
    ctrl.AddTab(label);
  EXPECT_TRUE(ctrl.LabelsShown());
  SEC3DTab* cut = (SEC3DTab*)ctrl.GetTabPtr(1);
  EXPECT_TRUE(cut->m_bShortened);
  EXPECT_EQ(cut->m_csLabel.Right(3), CString("..."));
  EXPECT_LT(cut->m_csLabel.GetLength(), (int)strlen(labels[1]));
  for (int i : {0, 2, 3}) {
    SEC3DTab* tab = (SEC3DTab*)ctrl.GetTabPtr(i);
    EXPECT_FALSE(tab->m_bShortened) << i;
    EXPECT_EQ(tab->m_csLabel, CString(labels[i])) << i;
  }

  // Much narrower: every long label is cut, and they still fit.
  ctrl.MoveWindow(0, 0, full / 2, 30);
  CRect last;
  ctrl.GetTabRect(3, last);
  EXPECT_LE(last.right + 12, full / 2 + 7);
  for (int i = 0; i < 4; i++) {
    SEC3DTab* tab = (SEC3DTab*)ctrl.GetTabPtr(i);
    EXPECT_TRUE(tab->m_bShortened) << i;
    EXPECT_EQ(tab->m_csLabel.Right(3), CString("...")) << i;
    LPCTSTR label;
    BOOL sel;
    CWnd* wnd;
    void* extra;
    HMENU menu;
    ASSERT_TRUE(ctrl.GetTabInfo(i, label, sel, wnd, extra, menu));
    EXPECT_STREQ(label, labels[i]);
  }

  // Hovering a cut tab gives its full label as the tip.
  CRect r;
  ctrl.GetTabRect(1, r);
  TOOLINFOA ti = {};
  ti.cbSize = sizeof(ti);
  EXPECT_EQ(ctrl.OnToolHitTest(r.CenterPoint(), &ti), 2);
  EXPECT_STREQ(ti.lpszText, labels[1]);
  EXPECT_EQ(CRect(ti.rect), r);
  EXPECT_EQ(ctrl.OnToolHitTest(CPoint(1, 1), &ti), -1);

  // Room again: full labels, no tips.
  ctrl.MoveWindow(0, 0, full + 200, 30);
  EXPECT_EQ(((SEC3DTab*)ctrl.GetTabPtr(1))->m_csLabel, CString(labels[1]));
  ctrl.GetTabRect(1, r);
  EXPECT_EQ(ctrl.OnToolHitTest(r.CenterPoint(), &ti), -1);
  ctrl.DestroyWindow();
  parent.DestroyWindow();
}

TEST(TabControl, FontsAndTabSizes)
{
  Recorder parent;
  ASSERT_TRUE(parent.Make());
  struct Case {
    DWORD style;
    int escapement;
  } cases[] = {{TWS_TABS_ON_BOTTOM, 0}, {TWS_TABS_ON_TOP, 0}, {TWS_TABS_ON_LEFT, 900},
               {TWS_TABS_ON_RIGHT, -900}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    SEC3DTabControl ctrl;
    ASSERT_TRUE(ctrl.Create(WS_VISIBLE | c.style, CRect(0, 0, 400, 400), &parent, 8));
    LOGFONT lf;
    ASSERT_TRUE(ctrl.GetTabFont(0)->GetLogFont(&lf));
    EXPECT_STREQ(lf.lfFaceName, "Arial Narrow");
    EXPECT_EQ(lf.lfHeight, 15);
    EXPECT_EQ(lf.lfWeight, 400);
    EXPECT_EQ(lf.lfEscapement, c.escapement);
    ASSERT_TRUE(ctrl.GetTabFont(1)->GetLogFont(&lf));
    EXPECT_EQ(lf.lfWeight, 600);
    ctrl.AddTab("Video");
    ctrl.AddTab("Lesson");
    ctrl.ActivateTab(1);
    int text;
    {
      CClientDC dc(&ctrl);
      CFont* old = dc.SelectObject(ctrl.GetTabFont(1));
      text = dc.GetTextExtent("Video").cx;
      dc.SelectObject(old);
    }
    CRect r0, r1;
    ctrl.GetTabRect(0, r0);
    ctrl.GetTabRect(1, r1);
    bool vertical = c.style & (TWS_TABS_ON_LEFT | TWS_TABS_ON_RIGHT);
    EXPECT_EQ(vertical ? r0.Height() : r0.Width(), 12 + text);
    EXPECT_EQ(vertical ? r0.Width() : r0.Height(), 22);
    EXPECT_EQ(vertical ? r0.top : r0.left, 7);
    // the active tab is 3 pixels larger on both sides along the strip and away from the inside
    EXPECT_EQ(vertical ? r1.top : r1.left, 7 + 12 + text - 3);
    EXPECT_EQ(vertical ? r1.Width() : r1.Height(), 25);
    // a font the caller gives is made with the strip's escapement
    CFont other;
    other.CreatePointFont(100, "Arial");
    EXPECT_TRUE(ctrl.SetTabFont(&other, 0));
    ASSERT_TRUE(ctrl.GetTabFont(0)->GetLogFont(&lf));
    EXPECT_STREQ(lf.lfFaceName, "Arial");
    EXPECT_EQ(lf.lfEscapement, c.escapement);
    EXPECT_FALSE(ctrl.SetTabFont(&other, 2));
    ctrl.DestroyWindow();
  }
  parent.DestroyWindow();
}

TEST(TabControl, FrameAndTabOutlinesDrawn)
{
  Recorder parent;
  ASSERT_TRUE(parent.Make());
  const COLORREF face = GetSysColor(COLOR_BTNFACE), shadow = GetSysColor(COLOR_BTNSHADOW);

  // The tabbed window's frame: columns white, face, shadow, black on the left of the inside.
  TestTabWnd wnd;
  ASSERT_TRUE(wnd.Create(&parent, WS_CHILD | WS_VISIBLE | TWS_TABS_ON_BOTTOM, 102));
  wnd.MoveWindow(0, 0, 300, 200);
  CRect in;
  wnd.GetInsideRect(&in);
  Canvas frame(300, 200);
  wnd.EraseBands(&frame.dc);
  wnd.DrawFrame(&frame.dc);
  int y = in.top + 20;
  EXPECT_EQ(frame.At(in.left - 4, y), kWhite);
  EXPECT_EQ(frame.At(in.left - 3, y), face);
  EXPECT_EQ(frame.At(in.left - 2, y), shadow);
  EXPECT_EQ(frame.At(in.left - 1, y), kBlack);
  EXPECT_EQ(frame.At(in.left + 20, in.top - 4), kWhite);
  EXPECT_EQ(frame.At(in.left + 20, in.top - 1), kBlack);
  EXPECT_EQ(frame.At(in.left + 20, in.bottom + 4), kBlack);
  EXPECT_EQ(frame.At(in.left + 20, in.top + 20), RGB(1, 2, 3));  // the inside is not erased
  EXPECT_EQ(frame.At(1, 1), face);
  wnd.DestroyWindow();

  // The strip: its edge lines and the outlines of a bottom tab; a disabled tab's label
  // is embossed; rotated labels draw.
  struct Case {
    DWORD style;
  } cases[] = {{TWS_TABS_ON_BOTTOM}, {TWS_TABS_ON_LEFT}, {TWS_TABS_ON_RIGHT}, {TWS_TABS_ON_TOP}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    bool vertical = c.style & (TWS_TABS_ON_LEFT | TWS_TABS_ON_RIGHT);
    int cx = vertical ? 31 : 300, cy = vertical ? 300 : 31;
    TestTabCtrl ctrl;
    ASSERT_TRUE(ctrl.Create(WS_VISIBLE | c.style, CRect(0, 0, cx, cy), &parent, 9));
    ctrl.AddTab("Video");
    ctrl.AddTab("Lesson");
    ctrl.AddTab("Gone");
    ctrl.ActivateTab(0);
    ctrl.EnableTab(2, FALSE);
    Canvas canvas(cx, cy);
    ctrl.PaintStrip(&canvas.dc, CRect(0, 0, cx, cy));
    // edge lines towards the inside: white, face, shadow, black in increasing position
    for (int i = 0; i < 4; i++) {
      const COLORREF want[] = {kWhite, face, shadow, kBlack};
      int at = c.style == TWS_TABS_ON_BOTTOM || c.style == TWS_TABS_ON_RIGHT
                   ? i
                   : (vertical ? cx : cy) - 4 + i;
      COLORREF got = vertical ? canvas.At(at, cy - 2) : canvas.At(cx - 2, at);
      EXPECT_EQ(got, want[i]) << i;
    }
    CRect r;
    ctrl.GetTabRect(2, r);  // (the active tab overlaps the one beside it)
    if (c.style == TWS_TABS_ON_BOTTOM) {
      EXPECT_EQ(canvas.At(r.left, r.top + 5), kWhite);
      EXPECT_EQ(canvas.At(r.right - 1, r.top + 5), kBlack);
      EXPECT_EQ(canvas.At(r.left + 5, r.bottom - 1), kBlack);
      EXPECT_EQ(canvas.At(r.left + 5, r.bottom - 2), shadow);
    }
    // every label leaves ink in its tab; the disabled one none that is black
    for (int t = 0; t < 3; t++) {
      ctrl.GetTabRect(t, r);
      int ink = 0, black = 0;
      for (int yy = r.top + 3; yy < r.bottom - 3; yy++)
        for (int xx = r.left + 3; xx < r.right - 3; xx++) {
          COLORREF p = canvas.At(xx, yy);
          ink += p != face;
          black += p == kBlack;
        }
      EXPECT_GT(ink, 10) << t;
      if (t == 2) {
        EXPECT_EQ(black, 0);
      }
    }
    ctrl.DestroyWindow();
  }
  parent.DestroyWindow();
}

// Pictures for people: run under a display with QUORVEL_SCREENSHOT_DIR (a Unix folder); the
// screen is taken with xwd. Tab windows with their strips on the four edges, each with a
// disabled tab and a label cut short. Skipped otherwise.
TEST(TabWndScreenshot, FourEdges)
{
  const char* dir = getenv("QUORVEL_SCREENSHOT_DIR");
  if (dir == nullptr)
    GTEST_SKIP() << "no screenshot folder";
  static char cmdLine[] = "";
  ASSERT_TRUE(AfxWinInit(::GetModuleHandleA(NULL), NULL, cmdLine, SW_SHOWNORMAL));
  CWnd host;
  ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW),
                                                   (HBRUSH)(COLOR_BTNFACE + 1)),
                            "Tabs", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(10, 10, 810, 530), NULL, 0));
  const DWORD styles[4] = {TWS_TABS_ON_BOTTOM, TWS_TABS_ON_TOP, TWS_TABS_ON_LEFT, TWS_TABS_ON_RIGHT};
  SEC3DTabWnd tabs[4];
  CWnd pages[4][4];
  for (int w = 0; w < 4; w++) {
    ASSERT_TRUE(tabs[w].Create(&host, WS_CHILD | WS_VISIBLE | styles[w], 100 + w));
    tabs[w].MoveWindow((w % 2) * 392 + 4, (w / 2) * 246 + 4, 384, 238);
    const char* labels[4] = {"Lesson", "Video", "Graphics", "A label much too long for its tab"};
    for (int i = 0; i < 4; i++) {
      pages[w][i].CreateEx(0, "STATIC", labels[i], WS_CHILD | SS_CENTER, CRect(0, 0, 10, 10),
                           &tabs[w], 200 + i);
      tabs[w].AddTab(&pages[w][i], labels[i]);
    }
    tabs[w].EnableTab(2, FALSE);
    tabs[w].ActivateTab(1);
  }
  host.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  DWORD end = ::GetTickCount() + 800;
  while (::GetTickCount() < end) {
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
      ::DispatchMessageA(&msg);
    ::Sleep(20);
  }
  std::string command = std::string("xwd -root -silent -out '") + dir + "/tabs_four_edges.xwd'";
  EXPECT_EQ(0, system(command.c_str()));
  for (int w = 0; w < 4; w++)
    tabs[w].DestroyWindow();
  host.DestroyWindow();
}
