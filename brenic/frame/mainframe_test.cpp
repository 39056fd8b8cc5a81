// The main frame (fixed size, keys, the hidden menu bar's Alt + letter, close, command
// enabling), the skin layout's buttons, the coloured static, the menu bar's status fields
// and the print placement.
#include "gtest_wine.h"
#include <afxwin.h>
#include <string>
#include <vector>
#include "AppConfig.h"
#include "BaseBmpButton.h"
#include "ClipBar.h"
#include "CustomConfig.h"
#include "DatabaseSheet.h"
#include "Globals.h"
#include "MainFrm.h"
#include "MenuBar.h"
#include "PrintPlacement.h"
#include "StaticEx.h"
#include "resource.h"

namespace {

class TestApp : public CWinApp
{
public:
    TestApp() : CWinApp("Quorvel Redovove") {}
};
TestApp theApp;

// A window that records the commands it receives and stands for the slider.
class Recorder : public CWnd
{
public:
    std::vector<UINT> commands;
    std::vector<UINT> keys;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND)
            commands.push_back(LOWORD(wParam));
        if (message == WM_KEYDOWN)
            keys.push_back((UINT)wParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

MSG Key(UINT message, UINT vk, BOOL alt = FALSE)
{
    MSG msg = {};
    msg.message = message;
    msg.wParam = vk;
    msg.lParam = alt ? (KF_ALTDOWN << 16) : 0;
    return msg;
}

class FrameTest : public testing::Test
{
protected:
    void SetUp() override
    {
        static char cmdLine[] = "";
        AfxWinInit(::GetModuleHandleA(NULL), NULL, cmdLine, SW_SHOWNORMAL);
        g_pAppConfig = new CAppConfig;
        m_frame = new CMainFrame;
        ASSERT_TRUE(m_frame->LoadFrame(IDR_BRENICTYPE, WS_OVERLAPPEDWINDOW));
        theApp.m_pMainWnd = m_frame;
    }
    void TearDown() override
    {
        if (::IsWindow(m_hFrame()))
            m_frame->DestroyWindow();
        theApp.m_pMainWnd = NULL;
        delete g_pAppConfig;
        g_pAppConfig = NULL;
    }
    HWND m_hFrame() const { return m_frame && m_frameAlive ? m_frame->m_hWnd : NULL; }
    CMainFrame* m_frame = nullptr;
    BOOL m_frameAlive = TRUE;
};

} // namespace

TEST_F(FrameTest, FixedSizeEvenMaximised)
{
    const CSize size = CMainFrame::GetFrameSize();
    EXPECT_EQ(786 + 2 * GetSystemMetrics(SM_CXBORDER) + 10, size.cx);
    MINMAXINFO info = {};
    m_frame->SendMessage(WM_GETMINMAXINFO, 0, (LPARAM)&info);
    EXPECT_EQ(size.cx, info.ptMinTrackSize.x);
    EXPECT_EQ(size.cy, info.ptMaxTrackSize.y);
    EXPECT_EQ(size.cx, info.ptMaxSize.x);
    EXPECT_EQ(0, info.ptMaxPosition.x);
    m_frame->ShowWindow(SW_MAXIMIZE);
    CRect r;
    m_frame->GetWindowRect(&r);
    EXPECT_EQ(CRect(0, 0, size.cx, size.cy), r);
}

TEST_F(FrameTest, KeysOfTheProgram)
{
    Recorder slider;
    ASSERT_TRUE(slider.CreateEx(0, "STATIC", "slider", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    Recorder* main = new Recorder;
    ASSERT_TRUE(main->CreateEx(0, "STATIC", "main", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, NULL,
                               NULL));
    theApp.m_pMainWnd = main;
    main->SetActiveWindow();

    struct Case {
        const char* what;
        MSG msg;
        BOOL swallowEscape;
        BOOL consumed;
        UINT command; // 0: none
        UINT slid;    // key that reached the slider, 0: none
    } cases[] = {
        {"F4 sends its command", Key(WM_KEYDOWN, VK_F4), TRUE, TRUE, 32820, 0},
        {"Alt+F4 is no hot key", Key(WM_SYSKEYDOWN, VK_F4, TRUE), TRUE, FALSE, 0, 0},
        {"F10 alone stays one", Key(WM_SYSKEYDOWN, VK_F10), TRUE, TRUE, 32812, 0},
        {"arrow to the slider", Key(WM_KEYDOWN, VK_LEFT), TRUE, TRUE, 0, VK_LEFT},
        {"Home to the slider", Key(WM_KEYDOWN, VK_HOME), FALSE, TRUE, 0, VK_HOME},
        {"Escape swallowed by the frame", Key(WM_KEYDOWN, VK_ESCAPE), TRUE, TRUE, 0, 0},
        {"Escape passed on by the application", Key(WM_KEYDOWN, VK_ESCAPE), FALSE, FALSE, 0, 0},
        {"other keys pass", Key(WM_KEYDOWN, 'A'), TRUE, FALSE, 0, 0},
        {"key up passes", Key(WM_KEYUP, VK_F4), TRUE, FALSE, 0, 0},
    };
    for (Case& c : cases) {
        main->commands.clear();
        slider.keys.clear();
        EXPECT_EQ(c.consumed,
                  CMainFrame::TranslateProgramKey(&c.msg, slider.GetSafeHwnd(), c.swallowEscape))
            << c.what;
        EXPECT_EQ(c.command ? std::vector<UINT>{c.command} : std::vector<UINT>{}, main->commands)
            << c.what;
        EXPECT_EQ(c.slid ? std::vector<UINT>{c.slid} : std::vector<UINT>{}, slider.keys)
            << c.what;
    }

    // With a dialog of the main window open: F-keys still act, navigation keys do not.
    CWnd dialog;
    ASSERT_TRUE(dialog.CreateEx(0, "STATIC", "dialog", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10,
                                main->GetSafeHwnd(), NULL));
    dialog.SetActiveWindow();
    ASSERT_EQ(dialog.GetSafeHwnd(), main->GetLastActivePopup()->GetSafeHwnd());
    main->commands.clear();
    slider.keys.clear();
    MSG f5 = Key(WM_KEYDOWN, VK_F5);
    EXPECT_TRUE(CMainFrame::TranslateProgramKey(&f5, slider.GetSafeHwnd(), TRUE));
    EXPECT_EQ(std::vector<UINT>{32821}, main->commands);
    MSG left = Key(WM_KEYDOWN, VK_LEFT);
    EXPECT_FALSE(CMainFrame::TranslateProgramKey(&left, slider.GetSafeHwnd(), TRUE));
    MSG escape = Key(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_FALSE(CMainFrame::TranslateProgramKey(&escape, slider.GetSafeHwnd(), TRUE));
    EXPECT_TRUE(slider.keys.empty());
    dialog.DestroyWindow();
    theApp.m_pMainWnd = m_frame;
    main->DestroyWindow();
    delete main;
    slider.DestroyWindow();
}

namespace {

std::vector<std::string> g_created;
LRESULT CALLBACK NoteMenus(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        char cls[32] = "";
        GetClassNameA((HWND)wParam, cls, sizeof cls);
        if (!strcmp(cls, "#32768")) {
            g_created.push_back(cls);
            // The popup has shown: end its loop.
            PostMessageA((HWND)wParam, WM_KEYDOWN, VK_ESCAPE, 0);
            ::EndMenu();
        }
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

void CALLBACK EndMenus(HWND, UINT, UINT_PTR, DWORD)
{
    ::EndMenu();
}

} // namespace

TEST_F(FrameTest, HiddenMenuBarAnswersAltLetters)
{
    ASSERT_NE(nullptr, g_pMenuBar);
    ASSERT_TRUE(::IsWindow(g_pMenuBar->GetSafeHwnd()));
    EXPECT_FALSE(g_pMenuBar->IsWindowVisible());
    EXPECT_EQ((UINT)IDR_MAINFRAME, g_pMenuBar->GetMenuID());
    m_frame->ShowWindow(SW_SHOW);
    m_frame->SetActiveWindow();
    // A child that has the focus, as a skin button of the panel would.
    CWnd child;
    ASSERT_TRUE(child.CreateEx(0, "BUTTON", "b", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                               m_frame->GetSafeHwnd(), (HMENU)1000));
    child.SetFocus();

    HHOOK hook = SetWindowsHookExA(WH_CBT, NoteMenus, NULL, GetCurrentThreadId());
    UINT_PTR timer = ::SetTimer(NULL, 0, 300, EndMenus);
    g_created.clear();
    MSG altF = {child.GetSafeHwnd(), WM_SYSCHAR, 'f', 0x20000000};
    EXPECT_TRUE(m_frame->OfferSysChar(&altF));
    EXPECT_EQ(1u, g_created.size());

    g_created.clear();
    MSG altQ = {child.GetSafeHwnd(), WM_SYSCHAR, 'q', 0x20000000};
    EXPECT_TRUE(m_frame->OfferSysChar(&altQ));
    EXPECT_TRUE(g_created.empty());
    ::KillTimer(NULL, timer);
    UnhookWindowsHookEx(hook);

    // Alt+F4 reaches the system: it closes the frame.
    child.DestroyWindow();
}

TEST_F(FrameTest, CloseDeletesTheDatabaseSheets)
{
    g_pDatabaseSheet = new CDatabaseSheet("local");
    g_pRemoteDatabaseSheet = new CDatabaseSheet("remote");
    m_frame->SendMessage(WM_CLOSE);
    m_frameAlive = FALSE;
    EXPECT_EQ(nullptr, g_pDatabaseSheet);
    EXPECT_EQ(nullptr, g_pRemoteDatabaseSheet);
}

// A document that refuses to let its frame close, with a view that draws nothing.
class RefusingDoc : public CDocument
{
    DECLARE_DYNCREATE(RefusingDoc)

public:
    int asked = 0;
    BOOL CanCloseFrame(CFrameWnd*) override
    {
        ++asked;
        return FALSE;
    }
};
IMPLEMENT_DYNCREATE(RefusingDoc, CDocument)

class PlainView : public CView
{
    DECLARE_DYNCREATE(PlainView)

protected:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(PlainView, CView)

TEST_F(FrameTest, RefusedCloseStillDeletesTheSheets)
{
    RefusingDoc* doc = new RefusingDoc;
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(PlainView);
    context.m_pCurrentDoc = doc;
    CMainFrame* frame = new CMainFrame;
    ASSERT_TRUE(frame->LoadFrame(IDR_BRENICTYPE, WS_OVERLAPPEDWINDOW, NULL, &context));
    frame->SetActiveView((CView*)frame->GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE));
    g_pDatabaseSheet = new CDatabaseSheet("local");
    g_pRemoteDatabaseSheet = new CDatabaseSheet("remote");
    frame->SendMessage(WM_CLOSE);
    EXPECT_EQ(1, doc->asked);
    EXPECT_TRUE(::IsWindow(frame->m_hWnd));
    EXPECT_EQ(nullptr, g_pDatabaseSheet);
    EXPECT_EQ(nullptr, g_pRemoteDatabaseSheet);
    // The frame goes with its view and document.
    frame->DestroyWindow();
}

TEST_F(FrameTest, AltF4ClosesTheFrame)
{
    // Not taken as F4's hot key, the key reaches the window's own handling, which closes it.
    MSG msg = Key(WM_SYSKEYDOWN, VK_F4, TRUE);
    msg.hwnd = m_frame->m_hWnd;
    ASSERT_FALSE(m_frame->PreTranslateMessage(&msg));
    const HWND hwnd = m_frame->m_hWnd;
    ::DispatchMessageA(&msg);
    // The window's own handling posts the close as a system command.
    MSG posted;
    while (::PeekMessageA(&posted, NULL, 0, 0, PM_REMOVE) && posted.message != WM_QUIT)
        ::DispatchMessageA(&posted);
    m_frameAlive = FALSE;
    EXPECT_FALSE(::IsWindow(hwnd));
}

namespace {

class EnableProbe : public CCmdUI
{
public:
    int enabled = -1;
    void Enable(BOOL on) override { enabled = on ? 1 : 0; }
};

} // namespace

TEST_F(FrameTest, CommandEnabling)
{
    struct { UINT id; int enabled; } cases[] = {
        {32847, 0},  // network database: always disabled
        {32816, 1},  // restore default view: no action, enabled
        {32777, 1},  // database maintenance
        {32779, 1},  // view database
        {32801, 1},  // import AVI
        {32800, -1}, // backup: no handler anywhere
        {32810, 0},  // save: no clip in the current channel
    };
    for (const auto& c : cases) {
        EnableProbe probe;
        probe.m_nID = c.id;
        m_frame->OnCmdMsg(c.id, CN_UPDATE_COMMAND_UI, &probe, NULL);
        EXPECT_EQ(c.enabled, probe.enabled) << c.id;
    }
}

TEST_F(FrameTest, ImportHandOverCopiesWithinTheBlock)
{
    char block[8] = {'C', ':', '\\', 'a', 'b', 'c', 'd', 'e'}; // no NUL inside
    COPYDATASTRUCT data = {1, sizeof block, block};
    EXPECT_TRUE(m_frame->SendMessage(WM_COPYDATA, 0, (LPARAM)&data));
    EXPECT_EQ(1, m_frame->GetImportQueueCount());
    COPYDATASTRUCT other = {2, sizeof block, block};
    EXPECT_FALSE(m_frame->SendMessage(WM_COPYDATA, 0, (LPARAM)&other));
    EXPECT_EQ(1, m_frame->GetImportQueueCount());
    m_frame->ClearImportQueue();
    EXPECT_EQ(0, m_frame->GetImportQueueCount());
}

// ---------------------------------------------------------------------------------------

namespace {

// Message boxes that come up, answered at once.
int g_boxes = 0;
LRESULT CALLBACK CountBoxes(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        char cls[16] = "";
        GetClassNameA((HWND)wParam, cls, sizeof cls);
        if (!strcmp(cls, "#32770")) {
            ++g_boxes;
            PostMessageA((HWND)wParam, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

} // namespace

TEST(SkinLayout, EveryButtonFromTheTable)
{
    HHOOK hook = SetWindowsHookExA(WH_CBT, CountBoxes, NULL, GetCurrentThreadId());
    g_boxes = 0;
    CAppConfig config;
    g_pAppConfig = &config;
    config.SetInstallDir(WinePath(TestBinDir() + "/").c_str());
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "panel", WS_POPUP, 0, 0, 786, 574,
                                NULL, NULL));
    CCustomConfig layout;
    int count = 0;
    const SkinButton* table = CCustomConfig::GetButtons(&count);
    ASSERT_EQ(33, count);
    std::vector<CBaseBmpButton> buttons(count);
    for (int i = 0; i < count; ++i) {
        const SkinButton& b = table[i];
        ASSERT_TRUE(layout.SetupButton(b.name, &buttons[i], &parent)) << b.name;
        EXPECT_EQ((int)b.id, buttons[i].GetDlgCtrlID()) << b.name;
        CRect r;
        buttons[i].GetWindowRect(&r);
        parent.ScreenToClient(&r);
        EXPECT_EQ(CPoint(b.x, b.y), r.TopLeft()) << b.name;
        // Sized to its up image, which the skin draws clear of the video and the others.
        EXPECT_FALSE(CRect().IntersectRect(&r, CCustomConfig::GetVideoRect())) << b.name;
        EXPECT_GT(r.Width(), 0) << b.name;
        EXPECT_EQ(b.checked, buttons[i].GetCheck()) << b.name;
    }
    auto children = [&] {
        int n = 0;
        for (CWnd* c = parent.GetWindow(GW_CHILD); c; c = c->GetWindow(GW_HWNDNEXT))
            ++n;
        return n;
    };
    EXPECT_EQ(count, children());
    // A second set-up of a created name re-skins the same window.
    const HWND record = buttons[1].GetSafeHwnd();
    EXPECT_TRUE(layout.SetupButton("Record", &buttons[1], &parent));
    EXPECT_EQ(record, buttons[1].GetSafeHwnd());
    EXPECT_EQ(count, children());
    // The record-mode names re-skin only: id and place stay.
    EXPECT_TRUE(layout.SetupButton("RecordManual", &buttons[1], &parent));
    EXPECT_TRUE(layout.SetupButton("RecordAuto", &buttons[1], &parent));
    EXPECT_EQ(1014, buttons[1].GetDlgCtrlID());
    CRect r;
    buttons[1].GetWindowRect(&r);
    parent.ScreenToClient(&r);
    EXPECT_EQ(CPoint(663, 432), r.TopLeft());
    // Unknown names and names differing in case make nothing.
    CBaseBmpButton stray;
    EXPECT_FALSE(layout.SetupButton("record", &stray, &parent));
    EXPECT_FALSE(layout.SetupButton("Nothing", &stray, &parent));
    EXPECT_EQ(nullptr, stray.GetSafeHwnd());
    EXPECT_EQ(count, children());
    EXPECT_EQ(CSize(612, 460), CCustomConfig::GetVideoRect().Size());
    // Every image the table names is there; none that it leaves out is looked for.
    EXPECT_EQ(0, g_boxes);
    UnhookWindowsHookEx(hook);
    parent.DestroyWindow();
    g_pAppConfig = NULL;
}

// ---------------------------------------------------------------------------------------

namespace {

// The client of a window drawn through WM_PRINT into a 32-bit DIB section.
std::vector<DWORD> Print(CWnd& wnd, int w, int h)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
    void* bits = NULL;
    HDC dc = CreateCompatibleDC(NULL);
    HBITMAP dib = CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ old = SelectObject(dc, dib);
    wnd.SendMessage(WM_PRINT, (WPARAM)dc, PRF_CLIENT | PRF_ERASEBKGND);
    std::vector<DWORD> pixels((DWORD*)bits, (DWORD*)bits + w * h);
    SelectObject(dc, old);
    DeleteObject(dib);
    DeleteDC(dc);
    return pixels;
}

DWORD Rgb(COLORREF c)
{
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

} // namespace

TEST(ColouredStatic, DrawsInItsColours)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "parent", WS_POPUP, 0, 0, 200, 60,
                                NULL, NULL));
    CStaticEx text;
    ASSERT_TRUE(text.Create("MMMMMMMM", WS_CHILD | WS_VISIBLE | SS_CENTER, CRect(0, 0, 120, 30),
                            &parent, 1119));
    std::vector<DWORD> fresh = Print(text, 120, 30);
    EXPECT_EQ(Rgb(GetSysColor(COLOR_BTNFACE)), fresh[0] & 0xFFFFFF);
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), text.GetTextColor());

    text.SetBkColor(0);
    text.SetTextColor(0xFFFF66);
    std::vector<DWORD> coloured = Print(text, 120, 30);
    EXPECT_EQ(0u, coloured[0] & 0xFFFFFF);
    bool textColour = false;
    for (DWORD p : coloured)
        textColour |= (p & 0xFFFFFF) == Rgb(0xFFFF66);
    EXPECT_TRUE(textColour);
    parent.DestroyWindow();
}

// ---------------------------------------------------------------------------------------

TEST(MenuBarFields, LayoutAndLessonTime)
{
    // 724 pixels: no fields; 725: fields.
    EXPECT_FALSE(ComputeMenuBarLayout(724, 22, 20, 4, FALSE).fieldsShown);
    const MenuBarLayout l = ComputeMenuBarLayout(725, 22, 20, 4, FALSE);
    EXPECT_TRUE(l.fieldsShown);
    EXPECT_EQ(4, l.y);
    EXPECT_EQ(725 - 168, l.clubLabelX); // "Club": 21 pixels wide, at cx - 168
    EXPECT_EQ(725 - 257, l.viewX);
    EXPECT_EQ(705, l.logoX);
    EXPECT_EQ(725 + 73 - 458, l.lessonLabelX);
    EXPECT_EQ(725 - 416, ComputeMenuBarLayout(725, 22, 20, 4, TRUE).lessonX);
    EXPECT_EQ(6, ComputeMenuBarLayout(725, 25, 20, 4, TRUE).y); // 12.5 - 7 rounds up

    EXPECT_EQ(CString("02:05"), FormatLessonTime(125));
    EXPECT_EQ(CString("00:00"), FormatLessonTime(-1));
    EXPECT_EQ(CString("00:00"), FormatLessonTime(0));
}

TEST(PrintPlacement, Table)
{
    struct {
        const char* what;
        int sx, sy, px, py, w, h;
        PrintPlacement expected;
    } cases[] = {
        {"600 dpi on 96: 3800 x 2850 centred", 96, 96, 600, 600, 4800, 6000,
         {500, 1575, 3800, 2850, 0, 0, 608, 456}},
        {"printer below screen: still enlarged", 96, 96, 72, 72, 1000, 1000,
         {95, 196, 810, 608, 0, 0, 608, 456}},
        {"wider than the page: cut evenly", 96, 96, 600, 600, 3000, 4000,
         {0, 575, 3400, 2850, 64, 0, 544, 456}},
    };
    for (const auto& c : cases) {
        const PrintPlacement p = ComputePrintPlacement(c.sx, c.sy, c.px, c.py, c.w, c.h);
        EXPECT_EQ(c.expected.x, p.x) << c.what;
        EXPECT_EQ(c.expected.y, p.y) << c.what;
        EXPECT_EQ(c.expected.width, p.width) << c.what;
        EXPECT_EQ(c.expected.height, p.height) << c.what;
        EXPECT_EQ(c.expected.sx, p.sx) << c.what;
        EXPECT_EQ(c.expected.swidth, p.swidth) << c.what;
    }
}

TEST_F(FrameTest, ViewMenuFollowsTheBars)
{
    // No command palette or video bar exists (nothing creates them): unchecked.
    HMENU view = ::GetSubMenu(m_frame->GetMenuCopy(IDR_MAINFRAME), 2);
    ASSERT_NE(nullptr, view);
    auto checked = [&](UINT id) { return (::GetMenuState(view, id, MF_BYCOMMAND) & MF_CHECKED) != 0; };
    ::CheckMenuItem(view, ID_VIEW_CMDPALETTE, MF_CHECKED);
    m_frame->UpdateViewMenu(FALSE);
    EXPECT_FALSE(checked(ID_VIEW_CMDPALETTE));
    EXPECT_FALSE(checked(ID_VIEW_VIDEOBAR));
    // The command inverts its item's check mark; the next update follows the (missing) bar.
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_VIDEOBAR);
    EXPECT_TRUE(checked(ID_VIEW_VIDEOBAR));
    m_frame->UpdateViewMenu(FALSE);
    EXPECT_FALSE(checked(ID_VIEW_VIDEOBAR));
}

TEST_F(FrameTest, ClipPanelShownChecksItsItemAndTakesItsCommands)
{
    HMENU view = ::GetSubMenu(m_frame->GetMenuCopy(IDR_MAINFRAME), 2);
    ASSERT_NE(nullptr, view);
    auto checked = [&] { return (::GetMenuState(view, ID_VIEW_CLIPPANEL, MF_BYCOMMAND) & MF_CHECKED) != 0; };
    m_frame->ShowWindow(SW_SHOW);
    CClipBar* panel = new CClipBar;
    ASSERT_TRUE(panel->CreatePanel(m_frame, CRect(0, 0, 200, 100), 152));
    // "Delete All Clips" of the Students list: the frame answers it only through the panel.
    struct { const char* what; BOOL shown; BOOL checked; BOOL routed; } cases[] = {
        {"panel shown", TRUE, TRUE, TRUE},
        {"panel hidden", FALSE, TRUE, FALSE}, // a check mark set stays: only set, never cleared
    };
    for (const auto& c : cases) {
        panel->ShowWindow(c.shown ? SW_SHOW : SW_HIDE);
        m_frame->UpdateViewMenu(FALSE);
        EXPECT_EQ(c.checked, checked()) << c.what;
        EnableProbe probe;
        probe.m_nID = 32791;
        EXPECT_EQ(c.routed, m_frame->OnCmdMsg(32791, CN_UPDATE_COMMAND_UI, &probe, NULL)) << c.what;
    }
    delete panel;
}

namespace {

std::vector<std::string> g_sheets;
LRESULT CALLBACK CloseSheets(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE || code == HCBT_DESTROYWND) {
        char cls[16] = "", caption[64] = "";
        GetClassNameA((HWND)wParam, cls, sizeof cls);
        GetWindowTextA((HWND)wParam, caption, sizeof caption);
        if (!strcmp(cls, "#32770") && !(GetWindowLongA((HWND)wParam, GWL_STYLE) & WS_CHILD)) {
            // Cancelled once shown; its caption noted as it goes (then it is complete).
            if (code == HCBT_ACTIVATE)
                PostMessageA((HWND)wParam, WM_COMMAND, IDCANCEL, 0);
            else
                g_sheets.push_back(caption);
        }
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

} // namespace

TEST_F(FrameTest, CustomizeSheet)
{
    m_frame->ShowWindow(SW_SHOW);
    HHOOK hook = SetWindowsHookExA(WH_CBT, CloseSheets, NULL, GetCurrentThreadId());
    g_sheets.clear();
    m_frame->SendMessage(WM_COMMAND, ID_CUSTOMIZE);
    UnhookWindowsHookEx(hook);
    ASSERT_EQ(1u, g_sheets.size());
    EXPECT_EQ("Customize", g_sheets[0]);
}
