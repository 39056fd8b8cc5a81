// The shortcut bar, headless: the clip panel's two lists, layout, opening, removing and
// disabling bars, mouse modes, context menus and the drawing of a button.
#include "gtest_wine.h"
#include "afxcmn.h"
#include "shortcutbar.h"
#include <functional>
#include <string>
#include <vector>

void PrintTo(const CRect& rc, std::ostream* os)
{
    *os << "(" << rc.left << ", " << rc.top << ", " << rc.right << ", " << rc.bottom << ")";
}

namespace {

// A visible top-level window to hold the bars.
struct HostWindow : CWnd {
    HostWindow()
    {
        CreateEx(0, AfxRegisterWndClass(0), "Host", WS_POPUP | WS_VISIBLE, 0, 0, 400, 200, NULL,
                 NULL);
    }
    ~HostWindow()
    {
        if (m_hWnd != NULL)
            DestroyWindow();
    }
};

// A client window that counts the commands it is sent.
struct CommandClient : CWnd {
    std::vector<UINT> commands;
    BOOL Make(CWnd* pParent)
    {
        return CreateEx(0, AfxRegisterWndClass(0), NULL, WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                        pParent->GetSafeHwnd(), NULL);
    }
    BOOL OnCommand(WPARAM wParam, LPARAM) override
    {
        commands.push_back(LOWORD(wParam));
        return TRUE;
    }
};

// Records every batch of client positions, with the extents the bars had.
struct RecordingBar : SECShortcutBar {
    std::vector<std::vector<int>> extents;
    BOOL refuseAdd = FALSE;
    void PositionClientWindows() override
    {
        std::vector<int> e;
        for (int i = 0; i < GetBarCount(); i++)
            e.push_back(GetBar(i)->GetExtent());
        extents.push_back(e);
        SECShortcutBar::PositionClientWindows();
    }
    BOOL CanAddBar(SECBar* pBar) override { return !refuseAdd && SECShortcutBar::CanAddBar(pBar); }
};

CRect ChildRect(CWnd* pParent, HWND hChild)
{
    CRect rc;
    ::GetWindowRect(hChild, &rc);
    ::MapWindowPoints(NULL, pParent->m_hWnd, (LPPOINT)&rc, 2);
    return rc;
}

class ShortcutBarTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // Screenshots are taken of the display's own desktop.
        if (getenv("QUORVEL_SCREENSHOT_DIR") == nullptr)
            RunOnOwnDesktop("shortcutbar");
    }
    HostWindow host;
};

// The clip panel's bar: side by side with turned labels and sliding, two list views.
class ClipPanelBar : public ShortcutBarTest {
protected:
    RecordingBar bar;
    CListCtrl students, pros;

    void SetUp() override
    {
        ASSERT_TRUE(bar.Create(&host, WS_CHILD | WS_VISIBLE | 0x12, 151));
        bar.SetWindowPos(NULL, 0, 0, 306, 77, SWP_NOZORDER);
        bar.ModifyStyleEx(0, WS_EX_CLIENTEDGE);
        for (CListCtrl* pList : {&students, &pros}) {
            ASSERT_TRUE(pList->Create(LVS_ICON | LVS_ALIGNLEFT | LVS_SHAREIMAGELISTS | WS_VISIBLE,
                                      CRect(0, 0, 800, 100), &bar, 1));
        }
        ASSERT_NE(nullptr, bar.AddBar(&students, "Students", TRUE));
        ASSERT_NE(nullptr, bar.AddBar(&pros, "Pros", TRUE));
        bar.ActivateBar(0);
    }
};

TEST_F(ClipPanelBar, OpensStudentsOverItsOwnList)
{
    EXPECT_EQ(0x50000000u, bar.GetStyle());
    EXPECT_EQ(151, bar.GetDlgCtrlID());
    EXPECT_EQ((DWORD)SCBS_TURNEDLABELS, bar.GetLayoutStyle());
    EXPECT_EQ((DWORD)SCBS_ANIMATE, bar.GetBarStyle());
    ASSERT_EQ(2, bar.GetBarCount());
    EXPECT_STREQ("Students", bar.GetBar(0)->GetLabel());
    EXPECT_STREQ("Pros", bar.GetBar(1)->GetLabel());

    // The client edge is not in the frame until the next size change: 306 x 77 still.
    CRect rc;
    bar.GetClientRect(&rc);
    EXPECT_EQ(CRect(0, 0, 306, 77), rc);
    EXPECT_EQ(20, bar.GetBar(0)->GetThickness());
    EXPECT_EQ(CRect(0, 0, 20, 77), bar.GetBar(0)->GetButtonRect());
    EXPECT_EQ(CRect(20, 0, 286, 77), bar.GetBar(0)->GetClientRect());
    EXPECT_EQ(CRect(286, 0, 306, 77), bar.GetBar(1)->GetButtonRect());
    EXPECT_EQ(0, bar.GetBar(1)->GetClientRect().Width());
    EXPECT_EQ(CRect(20, 0, 286, 77), ChildRect(&bar, students.m_hWnd));
    EXPECT_EQ(40, bar.GetButtonTotal());

    ASSERT_TRUE(bar.HasActiveBar());
    EXPECT_EQ(0, bar.GetActiveIndex());
    EXPECT_EQ(&students, bar.GetActiveBar()->GetWnd());
    EXPECT_TRUE(students.IsWindowVisible());
    EXPECT_FALSE(pros.IsWindowVisible());
    EXPECT_EQ(students.m_hWnd, ::GetFocus());

    // The panel fits the bar to its client rectangle: now the edge takes two pixels a side.
    bar.SetWindowPos(NULL, 0, 0, 306, 77, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    bar.GetClientRect(&rc);
    EXPECT_EQ(CRect(0, 0, 302, 73), rc);
    EXPECT_EQ(CRect(20, 0, 282, 73), ChildRect(&bar, students.m_hWnd));
    EXPECT_EQ(CRect(282, 0, 302, 73), bar.GetBar(1)->GetButtonRect());
}

// A picture for people: run under a display with QUORVEL_SCREENSHOT_DIR (a Unix folder); the
// screen is taken with xwd. The clip panel's bar with Students open over a few names.
// Skipped otherwise.
TEST_F(ClipPanelBar, Screenshot)
{
    const char* dir = getenv("QUORVEL_SCREENSHOT_DIR");
    if (dir == nullptr)
        GTEST_SKIP() << "no screenshot folder";
    host.SetWindowPos(NULL, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    for (const char* name : {"Anna", "Ben", "Carla", "Dario"})
        students.InsertItem(students.GetItemCount(), name);
    pros.InsertItem(0, "Coach");
    host.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    DWORD end = ::GetTickCount() + 800;
    while (::GetTickCount() < end) {
        MSG msg;
        while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&msg);
        ::Sleep(20);
    }
    std::string command = std::string("xwd -root -silent -out '") + dir + "/clip_panel_bar.xwd'";
    EXPECT_EQ(0, system(command.c_str()));
}

TEST_F(ClipPanelBar, ProsSlidesOpenInEightSteps)
{
    bar.SetWindowPos(NULL, 0, 0, 306, 77, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    ASSERT_EQ(262, bar.GetBar(0)->GetExtent());
    bar.extents.clear();
    bar.ActivateBar(1);

    // 262 / 8 = 32 a step, eight steps; then the final layout, then the full one.
    std::vector<std::vector<int>> want;
    for (int e = 262 - 32; e >= 1; e -= 32)
        want.push_back({e, 262 - e});
    ASSERT_EQ(8u, want.size());
    want.push_back({0, 25});
    want.push_back({0, 262});
    EXPECT_EQ(want, bar.extents);

    EXPECT_EQ(1, bar.GetActiveIndex());
    EXPECT_EQ(&pros, bar.GetActiveBar()->GetWnd());
    EXPECT_TRUE(pros.IsWindowVisible());
    EXPECT_FALSE(students.IsWindowVisible());
    EXPECT_EQ(pros.m_hWnd, ::GetFocus());
    EXPECT_EQ(CRect(40, 0, 302, 73), ChildRect(&bar, pros.m_hWnd));
    EXPECT_EQ(CRect(0, 0, 20, 73), bar.GetBar(0)->GetButtonRect());
    EXPECT_EQ(CRect(20, 0, 40, 73), bar.GetBar(1)->GetButtonRect());

    // A click on the open bar's button opens nothing; one on Students slides back.
    bar.extents.clear();
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 10));
    EXPECT_TRUE(bar.extents.empty());
    bar.SetAnimationDelay(0);
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 10));
    EXPECT_EQ(0, bar.GetActiveIndex());
    EXPECT_EQ(10u, bar.extents.size());
}

// Layout for several sizes; the open bar always keeps at least one pixel.
TEST_F(ShortcutBarTest, LaysOutButtonsBeforeTheirClients)
{
    struct Case {
        DWORD style;
        int cx, cy;
        int open;
        CRect button0, client0, button1, button2;
    } cases[] = {
        // Side by side, the middle bar open.
        {SCBS_TURNEDLABELS, 200, 50, 1, {0, 0, 20, 50}, {20, 0, 20, 50}, {20, 0, 40, 50},
         {180, 0, 200, 50}},
        // Buttons take the whole width: extent 1, the first button pushed out by it.
        {SCBS_TURNEDLABELS, 60, 50, 0, {-1, 0, 19, 50}, {19, 0, 20, 50}, {20, 0, 40, 50},
         {40, 0, 60, 50}},
        // Top to bottom, the last bar open.
        {SCBS_VERTICAL, 100, 150, 2, {0, 0, 100, 20}, {0, 20, 100, 20}, {0, 20, 100, 40},
         {0, 40, 100, 60}},
        // Less room than the buttons: a negative extent, kept as it is.
        {SCBS_VERTICAL, 100, 50, 0, {0, 0, 100, 20}, {0, 20, 100, 10}, {0, 10, 100, 30},
         {0, 30, 100, 50}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.style << " " << c.cx << "x" << c.cy);
        SECShortcutBar bar;
        ASSERT_TRUE(bar.Create(&host, WS_CHILD | WS_VISIBLE | c.style, 7));
        bar.SetWindowPos(NULL, 0, 0, c.cx, c.cy, SWP_NOZORDER);
        CommandClient clients[3];
        for (int i = 0; i < 3; i++) {
            ASSERT_TRUE(clients[i].Make(&bar));
            bar.AddBar(&clients[i], i == 0 ? "One" : i == 1 ? "Two" : "Three");
        }
        bar.ActivateBar(c.open);
        EXPECT_EQ(c.button0, bar.GetBar(0)->GetButtonRect());
        EXPECT_EQ(c.client0, bar.GetBar(0)->GetClientRect());
        EXPECT_EQ(c.button1, bar.GetBar(1)->GetButtonRect());
        EXPECT_EQ(c.button2, bar.GetBar(2)->GetButtonRect());
        EXPECT_NE(0, bar.GetActiveBar()->GetExtent());
        for (int i = 0; i < 3; i++)
            EXPECT_EQ(i == c.open, clients[i].IsWindowVisible()) << i;
    }
}

// Bars of a plain (not sliding) bar with three clients, for the bookkeeping tests.
class ThreeBars : public ShortcutBarTest {
protected:
    RecordingBar bar;
    CommandClient clients[3];

    void Make(DWORD style)
    {
        ASSERT_TRUE(bar.Create(&host, WS_CHILD | WS_VISIBLE | style, 7));
        bar.SetWindowPos(NULL, 0, 0, 200, 60, SWP_NOZORDER);
        for (int i = 0; i < 3; i++) {
            ASSERT_TRUE(clients[i].Make(&bar));
            ASSERT_NE(nullptr, bar.AddBar(&clients[i], "Bar", TRUE));
        }
    }
    int Visible() const
    {
        int n = -1;
        for (int i = 0; i < 3; i++)
            if (clients[i].m_hWnd != NULL && clients[i].IsWindowVisible())
                n = n == -1 ? i : 99;
        return n;
    }
};

TEST_F(ShortcutBarTest, RemovingBarsKeepsOneOpen)
{
    struct Case {
        std::vector<int> removals;
        int open;
        int openAfter;    // index after the removals
        int clientShown;  // which of the original three clients is open, -1 none
    } cases[] = {
        {{2}, 2, 1, 1},        // the open last bar: the new last opens
        {{1}, 1, 1, 2},        // the open middle bar: its successor opens
        {{0}, 1, 0, 1},        // a bar before the open one: it stays open
        {{2}, 0, 0, 0},        // a bar after the open one
        {{0, 0, 0}, 0, -1, -1} // every bar: none open
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "open " << c.open << " remove " << c.removals[0]);
        SECShortcutBar b;
        ASSERT_TRUE(b.Create(&host, WS_CHILD | WS_VISIBLE | SCBS_VERTICAL, 7));
        b.SetWindowPos(NULL, 0, 0, 100, 120, SWP_NOZORDER);
        CommandClient cl[3];
        for (int i = 0; i < 3; i++) {
            ASSERT_TRUE(cl[i].Make(&b));
            b.AddBar(&cl[i], "Bar");
        }
        b.ActivateBar(c.open);
        for (int r : c.removals)
            ASSERT_TRUE(b.RemoveBar(r));
        EXPECT_EQ(c.openAfter, b.GetActiveIndex());
        EXPECT_EQ(c.openAfter != -1, b.HasActiveBar());
        if (c.clientShown != -1)
            EXPECT_EQ(&cl[c.clientShown], b.GetActiveBar()->GetWnd());
        else
            EXPECT_THROW(b.GetActiveBar(), CResourceException*);
    }
}

TEST_F(ThreeBars, RemovedClientIsNeitherHiddenNorDestroyed)
{
    Make(SCBS_VERTICAL);
    bar.ActivateBar(1);
    ASSERT_TRUE(bar.RemoveBar(1));
    EXPECT_TRUE(::IsWindow(clients[1].m_hWnd));
    EXPECT_TRUE(clients[1].IsWindowVisible());
    EXPECT_TRUE(clients[2].IsWindowVisible());  // the successor opened
    EXPECT_EQ(&clients[2], bar.GetActiveBar()->GetWnd());
    EXPECT_FALSE(bar.RemoveBar(2));
    EXPECT_FALSE(bar.RemoveBar(-1));
    ASSERT_TRUE(bar.RemoveBar(0));
    ASSERT_TRUE(bar.RemoveBar(0));
    EXPECT_FALSE(bar.RemoveBar(0));  // no bars left
}

TEST_F(ThreeBars, DisablingMovesToTheNextEnabledBar)
{
    Make(SCBS_VERTICAL);
    bar.ActivateBar(1);
    bar.DisableBar(1);  // the open bar: the next one opens
    EXPECT_EQ(2, bar.GetActiveIndex());
    bar.DisableBar(2);  // none after: the previous enabled one
    EXPECT_EQ(0, bar.GetActiveIndex());
    EXPECT_FALSE(bar.IsBarEnabled(2));
    bar.DisableBar(0);  // the last enabled bar: nothing is open
    EXPECT_FALSE(bar.HasActiveBar());
    EXPECT_EQ(-1, Visible());

    // A disabled bar ignores clicks.
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_FALSE(bar.HasActiveBar());
    bar.EnableBar(0);
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(0, bar.GetActiveIndex());
    EXPECT_EQ(0, Visible());

    bar.DisableBar(7);  // refused quietly
    bar.EnableBar(-3);
    int i = 3;
    EXPECT_FALSE(bar.FindNextEnabledBar(&i));
    EXPECT_EQ(3, i);
    i = 2;
    EXPECT_FALSE(bar.FindPrevEnabledBar(&i) && i != 0);
}

TEST_F(ThreeBars, ReopeningTheOpenBarKeepsItsFrame)
{
    Make(SCBS_VERTICAL | SCBS_FRAMEACTIVE);
    bar.ActivateBar(0);
    bar.ActivateBar(2);
    EXPECT_EQ(0u, bar.GetBar(0)->GetState() & SECBar::stFramed);
    EXPECT_EQ((UINT)SECBar::stFramed, bar.GetBar(2)->GetState());
    ::SetFocus(host.m_hWnd);
    bar.extents.clear();
    bar.ActivateBar(2);
    EXPECT_EQ((UINT)SECBar::stFramed, bar.GetBar(2)->GetState());
    EXPECT_EQ(clients[2].m_hWnd, ::GetFocus());  // activated again
    EXPECT_EQ(1u, bar.extents.size());           // laid out again

    bar.ModifyBarStyle(SCBS_FRAMEACTIVE, 0);
    EXPECT_EQ(0u, bar.GetBar(2)->GetState());
    bar.ModifyBarStyle(0, SCBS_FRAMEACTIVE | WS_BORDER);
    EXPECT_EQ((UINT)SECBar::stFramed, bar.GetBar(2)->GetState());
    EXPECT_TRUE(bar.GetStyle() & WS_BORDER);

    bar.ActivateBar(-1);
    EXPECT_FALSE(bar.HasActiveBar());
    EXPECT_EQ(-1, Visible());
    bar.extents.clear();
    bar.ActivateBar(-1);  // nothing open: only laid out again
    EXPECT_EQ(1u, bar.extents.size());
    bar.ActivateBar(5);   // no such bar: nothing opens
    EXPECT_FALSE(bar.HasActiveBar());
}

TEST_F(ThreeBars, PressAndReleaseMode)
{
    Make(SCBS_VERTICAL | SCBS_PRESSACTIVATE);
    bar.ActivateBar(0);
    const CRect b1 = bar.GetBar(1)->GetButtonRect();
    const LPARAM in1 = MAKELPARAM(b1.left + 5, b1.top + 5);
    const LPARAM outside = MAKELPARAM(150, 59);

    struct Step {
        const char* what;
        std::function<void()> act;
        int open;
        BOOL pressed;
    } steps[] = {
        {"press", [&] { bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, in1); }, 0, TRUE},
        {"leave", [&] { bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, outside); }, 0, TRUE},
        {"release outside", [&] { bar.SendMessage(WM_LBUTTONUP, 0, outside); }, 0, FALSE},
        {"press again", [&] { bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, in1); }, 0, TRUE},
        {"escape",
         [&] {
             MSG msg = {bar.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0};
             EXPECT_TRUE(bar.PreTranslateMessage(&msg));
         },
         0, FALSE},
        {"release inside", [&] { bar.SendMessage(WM_LBUTTONUP, 0, in1); }, 0, FALSE},
        {"press", [&] { bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, in1); }, 0, TRUE},
        {"release inside", [&] { bar.SendMessage(WM_LBUTTONUP, 0, in1); }, 1, FALSE},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        EXPECT_EQ(s.open, bar.GetActiveIndex());
        EXPECT_EQ(s.pressed, (bar.GetBar(1)->GetState() & SECBar::stPressed) != 0);
    }
    EXPECT_EQ(NULL, ::GetCapture());
    MSG other = {bar.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0};
    EXPECT_FALSE(bar.PreTranslateMessage(&other));  // not tracking: not consumed
}

TEST_F(ThreeBars, RightClickShowsTheBarsMenuToItsClient)
{
    Make(SCBS_VERTICAL | SCBS_BARMENUS);
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, 501, "First");
    menu.AppendMenu(MF_STRING, 502, "Second");
    bar.SetBarMenu(menu.GetSafeHmenu(), 1);
    EXPECT_EQ(NULL, bar.GetBar(0)->GetMenu());

    CPoint pt = bar.GetBar(1)->GetButtonRect().CenterPoint();
    bar.ClientToScreen(&pt);
    for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN})
        bar.PostMessage(WM_KEYDOWN, key, 0);
    bar.SendMessage(WM_CONTEXTMENU, (WPARAM)bar.m_hWnd, MAKELPARAM(pt.x, pt.y));
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
        ::DispatchMessageA(&msg);
    EXPECT_EQ(std::vector<UINT>{502}, clients[1].commands);

    // Without the style nothing is shown.
    bar.ModifyBarStyle(SCBS_BARMENUS, 0, FALSE);
    bar.SendMessage(WM_CONTEXTMENU, (WPARAM)bar.m_hWnd, MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(1u, clients[1].commands.size());
}

// Bars made and refused: no null bar and no bar without a client is ever added.
struct CountingClient : CWnd {
    DECLARE_DYNCREATE(CountingClient)
};
IMPLEMENT_DYNCREATE(CountingClient, CWnd)

struct NotAWindow : CObject {
    DECLARE_DYNCREATE(NotAWindow)
};
IMPLEMENT_DYNCREATE(NotAWindow, CObject)

TEST_F(ShortcutBarTest, AddsOnlyBarsWithClients)
{
    RecordingBar bar;
    ASSERT_TRUE(bar.Create(&host, WS_CHILD | WS_VISIBLE | SCBS_VERTICAL, 7));
    ASSERT_TRUE(bar.Create(&host, WS_CHILD | SCBS_VERTICAL, 8));  // a second time: nothing
    EXPECT_EQ(7, bar.GetDlgCtrlID());
    bar.SetWindowPos(NULL, 0, 0, 100, 100, SWP_NOZORDER);

    EXPECT_EQ(nullptr, bar.AddBar((CWnd*)NULL, "None"));
    EXPECT_EQ(nullptr, bar.InsertBar(0, (CWnd*)NULL, "None"));
    EXPECT_EQ(nullptr, bar.AddBar(RUNTIME_CLASS(NotAWindow), "Object"));
    EXPECT_EQ(nullptr, bar.AddBar((CRuntimeClass*)NULL, "Nothing"));
    EXPECT_EQ(0, bar.GetBarCount());

    // A client made from a runtime class gets the next id from 60160 and belongs to its bar.
    SECBar* pBar = bar.AddBar(RUNTIME_CLASS(CountingClient), "Made");
    ASSERT_NE(nullptr, pBar);
    CWnd* pMade = pBar->GetOwnedWnd();
    ASSERT_NE(nullptr, pMade);
    EXPECT_EQ(60160, pMade->GetDlgCtrlID());
    EXPECT_EQ(pMade, pBar->GetWnd());
    EXPECT_EQ(pMade, bar.GetBarWnd(0));
    HWND hMade = pMade->m_hWnd;

    CommandClient other;
    ASSERT_TRUE(other.Make(&bar));
    EXPECT_EQ(nullptr, bar.InsertBar(2, &other, "Too far"));
    EXPECT_EQ(nullptr, bar.InsertBar(-1, &other, "Too far"));
    SECBar* pFirst = bar.InsertBar(0, &other, "First");
    ASSERT_NE(nullptr, pFirst);
    EXPECT_EQ(pFirst, bar.GetBar(0));
    SECBar* pSecond = bar.InsertBar(1, RUNTIME_CLASS(CountingClient), "Made", NULL, TRUE);
    ASSERT_NE(nullptr, pSecond);
    EXPECT_EQ(60162, ::GetDlgCtrlID(pSecond->GetWndHandle()));
    ASSERT_EQ(3, bar.GetBarCount());

    bar.refuseAdd = TRUE;
    EXPECT_EQ(nullptr, bar.AddBar(&other, "Refused"));
    EXPECT_EQ(3, bar.GetBarCount());

    // Removing the made bar deletes its client object with its window.
    ASSERT_TRUE(bar.RemoveBar(2));
    EXPECT_FALSE(::IsWindow(hMade));
    EXPECT_EQ(nullptr, bar.GetBar(2));
    EXPECT_EQ(nullptr, bar.GetBarWnd(2));

    // Inserting before the open bar keeps that bar open.
    bar.ActivateBar(0);
    CommandClient third;
    ASSERT_TRUE(third.Make(&bar));
    bar.InsertBar(0, &third, "Third", TRUE);
    EXPECT_EQ(1, bar.GetActiveIndex());
    EXPECT_EQ(&other, bar.GetActiveBar()->GetWnd());
    ::DestroyWindow(pSecond->GetWndHandle());  // not owned by its bar
}

struct TestView : CView {
    DECLARE_DYNCREATE(TestView)
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(TestView, CView)

TEST_F(ShortcutBarTest, AnOpenedViewBecomesTheFramesActiveView)
{
    CFrameWnd* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(NULL, "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE));
    SECShortcutBar bar;
    ASSERT_TRUE(bar.Create(pFrame, WS_CHILD | WS_VISIBLE | SCBS_VERTICAL, 7));
    bar.SetWindowPos(NULL, 0, 0, 100, 100, SWP_NOZORDER);
    SECBar* pFirst = bar.AddBar(RUNTIME_CLASS(TestView), "One");
    SECBar* pSecond = bar.AddBar(RUNTIME_CLASS(TestView), "Two", NULL, TRUE);
    ASSERT_TRUE(pFirst != NULL && pSecond != NULL);
    bar.ActivateBar(1);
    EXPECT_EQ(pSecond->GetOwnedWnd(), pFrame->GetActiveView());
    EXPECT_EQ(pSecond->GetWndHandle(), ::GetFocus());
    bar.ActivateBar(0);
    EXPECT_EQ(pFirst->GetOwnedWnd(), pFrame->GetActiveView());
    // The frame goes first: the bar deletes the views it made as its window is destroyed.
    pFrame->DestroyWindow();
    EXPECT_EQ(NULL, bar.m_hWnd);
    EXPECT_EQ(0, bar.GetBarCount());
}

TEST_F(ShortcutBarTest, BadIndicesThrowWhereABarIsNeeded)
{
    SECShortcutBar bar;
    ASSERT_TRUE(bar.Create(&host, WS_CHILD | SCBS_VERTICAL, 7));
    CommandClient client;
    ASSERT_TRUE(client.Make(&bar));
    bar.AddBar(&client, "Only");
    CFont font;
    font.CreateStockObject(ANSI_VAR_FONT);
    std::vector<std::pair<const char*, std::function<void()>>> calls = {
        {"GetBarChecked", [&] { bar.GetBarChecked(1); }},
        {"GetActiveBar", [&] { bar.GetActiveBar(); }},
        {"IsBarEnabled", [&] { bar.IsBarEnabled(-1); }},
        {"InvalidateBarAt", [&] { bar.InvalidateBarAt(3); }},
        {"SetBarMenu", [&] { bar.SetBarMenu((HMENU)NULL, 2); }},
        {"SetBarFont", [&] { bar.SetBarFont(&font, 2); }},
        {"SetBarTextColor", [&] { bar.SetBarTextColor(0, 2); }},
        {"SetBarBkColor", [&] { bar.SetBarBkColor(0, 2); }},
        {"SetActiveFrameColor", [&] { bar.SetActiveFrameColor(0, 2); }},
    };
    for (auto& c : calls) {
        SCOPED_TRACE(c.first);
        EXPECT_THROW(c.second(), CResourceException*);
    }
    EXPECT_FALSE(bar.SetBarLabel(1, "x"));
    EXPECT_TRUE(bar.SetBarLabel(0, "Renamed"));
    EXPECT_STREQ("Renamed", bar.GetBar(0)->GetLabel());
    EXPECT_EQ(RGB(255, 0, 0), bar.GetActiveFrameColor());
}

TEST_F(ShortcutBarTest, FontFaceIsCutToThirtyOneCharacters)
{
    SECShortcutBar bar;
    ASSERT_TRUE(bar.Create(&host, WS_CHILD | SCBS_VERTICAL, 7));
    LOGFONTA lf;
    ASSERT_TRUE(bar.GetLabelFont()->GetLogFont(&lf));
    EXPECT_STREQ("Arial", lf.lfFaceName);
    EXPECT_EQ(15, lf.lfHeight);
    EXPECT_EQ(FF_SWISS | DEFAULT_PITCH, lf.lfPitchAndFamily);
    ASSERT_TRUE(bar.GetTurnedLabelFont()->GetLogFont(&lf));
    EXPECT_EQ(900, lf.lfEscapement);

    const std::string longFace(40, 'F');
    bar.SetFontFace(longFace.c_str());
    ASSERT_TRUE(bar.GetLabelFont()->GetLogFont(&lf));
    EXPECT_EQ(longFace.substr(0, 31), lf.lfFaceName);

    // A taller font measures every button again.
    CommandClient client;
    ASSERT_TRUE(client.Make(&bar));
    bar.AddBar(&client, "Label");
    bar.SetFontFace("Arial");
    bar.SetFontHeight(25);
    EXPECT_EQ(30, bar.GetBar(0)->GetThickness());
    EXPECT_EQ(30, bar.GetButtonTotal());
    bar.SetLayoutStyle(SCBS_TURNEDLABELS);
    EXPECT_EQ(30, bar.GetBar(0)->GetThickness());
    EXPECT_EQ(bar.GetBar(0)->GetButtonRect().Width(), 30);
    EXPECT_GT(bar.GetBar(0)->GetButtonRect().Height(), 30);
}

// The button drawn on a memory bitmap.
struct Canvas {
    CDC dc;
    CBitmap bmp;
    Canvas()
    {
        CClientDC screen(NULL);
        dc.CreateCompatibleDC(&screen);
        bmp.CreateCompatibleBitmap(&screen, 100, 40);
        dc.SelectObject(&bmp);
        CRect all(0, 0, 100, 40);
        dc.FillSolidRect(&all, RGB(1, 2, 3));
    }
};

TEST(ShortcutBarDrawing, ButtonColourAndFrame)
{
    struct Case {
        COLORREF colour;
        UINT state;
        COLORREF inside, frame;
    } cases[] = {
        {::GetSysColor(COLOR_BTNFACE), 0, ::GetSysColor(COLOR_BTNFACE),
         ::GetSysColor(COLOR_BTNFACE)},
        {RGB(0, 0, 200), 0, RGB(0, 0, 200), RGB(0, 0, 200)},
        {RGB(0, 0, 200), SECBar::stFramed, RGB(0, 0, 200), RGB(255, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        Canvas canvas;
        SECBar bar;
        bar.SetButtonRect(CRect(0, 0, 100, 20));
        bar.SetBkColor(c.colour);
        EXPECT_EQ(c.colour != ::GetSysColor(COLOR_BTNFACE), bar.HasButtonBrush());
        bar.SetState(c.state);
        bar.Draw(&canvas.dc, FALSE);
        EXPECT_EQ(c.inside, canvas.dc.GetPixel(50, 10) & 0xFFFFFF);
        EXPECT_EQ(c.frame, canvas.dc.GetPixel(2, 10) & 0xFFFFFF);  // the frame's left edge
        EXPECT_EQ(RGB(1, 2, 3), canvas.dc.GetPixel(50, 30) & 0xFFFFFF);
    }
}

TEST(ShortcutBarDrawing, CopiesTakeLabelClientAndColoursButNoBrushes)
{
    SECBar bar;
    bar.SetLabel("Pros");
    bar.SetExtent(40);
    bar.SetBkColor(RGB(9, 9, 9));
    bar.SetState(SECBar::stFramed);
    SECBar copy(bar);
    EXPECT_STREQ("Pros", copy.GetLabel());
    EXPECT_EQ(RGB(9, 9, 9), copy.GetBkColor());
    EXPECT_EQ((UINT)SECBar::stFramed, copy.GetState());
    EXPECT_EQ(0, copy.GetExtent());
    EXPECT_FALSE(copy.HasButtonBrush());
    copy = copy;
    EXPECT_STREQ("Pros", copy.GetLabel());
}

}  // namespace
