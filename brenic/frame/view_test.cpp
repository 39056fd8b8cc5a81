// The view as the framework makes it in the main frame: the skinned panel over its client
// area, the video manager inside the panel at the skin's video rectangle, the frame sized and
// centred from the skin, and commands nobody handles offered to the current drawing layer.
#include "gtest_wine.h"
#include <afxwin.h>
#include <afxole.h>
#include <algorithm>
#include "AppConfig.h"
#include "BrenicDoc.h"
#include "BrenicView.h"
#include "Clavio.h"
#include "CustomConfig.h"
#include "Globals.h"
#include "MainFrm.h"
#include "resource.h"
#include "dialog_answers.h"
#include "dv_fixture.h"
#include "panel_test_host.h"
#include "Clip.h"
#include "Lesson.h"
#include "VideoWindow.h"

namespace {

class TestApp : public CWinApp
{
public:
    TestApp() : CWinApp("Quorvel Redovove") {}
    // Set, the next message box throws instead of showing (once).
    bool m_throwFromBox = false;
    int DoMessageBox(LPCTSTR prompt, UINT type, UINT help) override
    {
        if (m_throwFromBox) {
            m_throwFromBox = false;
            throw 2;
        }
        return CWinApp::DoMessageBox(prompt, type, help);
    }
};
TestApp theApp;

class ViewTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        static char cmdLine[] = "";
        AfxWinInit(::GetModuleHandleA(NULL), NULL, cmdLine, SW_SHOWNORMAL);
        AfxOleInit();
        AfxEnableControlContainer();
    }
    void SetUp() override
    {
        g_pAppConfig = new CAppConfig;
        // The skin of the program folder.
        g_pAppConfig->SetInstallDir(WinePath(TestBinDir()).c_str());
        g_pClavio = new CClavio;
        m_doc = (CBrenicDoc*)RUNTIME_CLASS(CBrenicDoc)->CreateObject();
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(CBrenicView);
        context.m_pCurrentDoc = m_doc;
        m_frame = new CMainFrame;
        ASSERT_TRUE(m_frame->LoadFrame(IDR_BRENICTYPE, WS_OVERLAPPEDWINDOW, NULL, &context));
        theApp.m_pMainWnd = m_frame;
        m_view = (CBrenicView*)m_frame->GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
    }
    void TearDown() override
    {
        // The document goes with its last view.
        if (m_frame && ::IsWindow(m_frame->m_hWnd))
            m_frame->DestroyWindow();
        theApp.m_pMainWnd = NULL;
        delete g_pClavio;
        for (const std::string& file : m_files)
            remove(file.c_str());
        g_pClavio = NULL;
        g_pLesson = NULL;
        delete g_pAppConfig;
        g_pAppConfig = NULL;
    }
    // A window's rectangle in its parent's client coordinates.
    static CRect InParent(CWnd* w)
    {
        CRect r;
        w->GetWindowRect(&r);
        w->GetParent()->ScreenToClient(&r);
        return r;
    }
    // Shows a clip of 20 frames written now in the current channel, or in the other one (the
    // file goes with the test).
    void LoadClip(CClip& clip, bool other = false)
    {
        const std::string file = PanelHost::TempClipName("view_clip");
        m_files.push_back(file);
        DvClipFormat format;
        format.frames = 20;
        format.withAudio = false;
        std::string error;
        ASSERT_TRUE(WriteDvClip(file, format, &error)) << error;
        clip.m_strVideoPath = CString("Z:") + file.c_str();
        clip.m_strVideoPath.Replace('/', '\\');
        clip.m_nFrames = 20;
        clip.m_nTrimIn = 0;
        clip.m_nTrimOut = 19;
        g_pClavio->SetLiveInput(FALSE, TRUE);
        if (other)
            ASSERT_TRUE(g_pClavio->LoadClipInOtherChannel(&clip));
        else
            ASSERT_TRUE(g_pClavio->LoadClip(&clip));
    }
    static void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    std::vector<std::string> m_files;
    CMainFrame* m_frame = nullptr;
    CBrenicDoc* m_doc = nullptr;
    CBrenicView* m_view = nullptr;
    DialogAnswers m_answers;
};

} // namespace

TEST_F(ViewTest, PanelAndVideoManagerFollowTheSkin)
{
    ASSERT_TRUE(m_view && m_view->IsKindOf(RUNTIME_CLASS(CBrenicView)));
    CWnd* panel = m_view->GetPanelWnd();
    ASSERT_TRUE(panel && panel->GetSafeHwnd());
    EXPECT_EQ(m_view, panel->GetParent());
    EXPECT_EQ(CRect(0, 0, 786, 574), InParent(panel));
    EXPECT_TRUE(panel->GetStyle() & WS_VISIBLE);

    ASSERT_TRUE(g_pClavio->GetSafeHwnd());
    EXPECT_EQ(g_pClavio, m_view->m_pClavio);
    EXPECT_EQ(panel->GetSafeHwnd(), g_pClavio->GetParent()->GetSafeHwnd());
    EXPECT_EQ(CRect(15, 33, 627, 493), InParent(g_pClavio));
    EXPECT_EQ(0, g_pClavio->GetDlgCtrlID());

    // The frame: centred by the view from the skin's size with a border and caption; its
    // real size is the one its fixed tracking size allows.
    CRect frame;
    m_frame->GetWindowRect(&frame);
    const int width = 786 + 2 * GetSystemMetrics(SM_CXBORDER);
    const int height = 574 + GetSystemMetrics(SM_CYBORDER) + GetSystemMetrics(SM_CYCAPTION);
    EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - width) / 2, frame.left);
    EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - height) / 2, frame.top);
    EXPECT_EQ(width + 10, frame.Width());
    EXPECT_EQ(574 + 2 * GetSystemMetrics(SM_CYBORDER) + GetSystemMetrics(SM_CYCAPTION) + 10,
              frame.Height());
}

namespace {

class Probe : public CCmdUI
{
public:
    int enabled = -1;
    void Enable(BOOL on) override { enabled = on ? 1 : 0; }
};

} // namespace

TEST_F(ViewTest, UnhandledCommandsReachTheCurrentDrawingLayer)
{
    // The drawing layer's Select tool; neither the view nor the frame knows it.
    for (int channel = 0; channel < 2; ++channel) {
        SCOPED_TRACE(channel);
        g_pClavio->SelectChannel(channel);
        Probe probe;
        probe.m_nID = 44525;
        EXPECT_TRUE(m_view->OnCmdMsg(44525, CN_UPDATE_COMMAND_UI, &probe, NULL));
    }
    // A command no one knows stays unhandled.
    Probe none;
    none.m_nID = 61000;
    EXPECT_FALSE(m_view->OnCmdMsg(61000, CN_UPDATE_COMMAND_UI, &none, NULL));
}

TEST_F(ViewTest, WheelStepsTheVideo)
{
    CClip clip;
    ASSERT_NO_FATAL_FAILURE(LoadClip(clip));
    g_pClavio->SeekField(10);
    CVideoWindow* video = g_pClavio->GetActiveVideoWindow();
    ASSERT_EQ(10, video->GetFieldPosition());
    // Towards the user (negative or zero) one field forward, away one field back.
    const struct {
        short delta;
        LONG position;
    } steps[] = {{-120, 11}, {0, 12}, {120, 11}, {240, 10}};
    for (const auto& s : steps) {
        m_frame->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)s.delta), 0);
        EXPECT_EQ(s.position, video->GetFieldPosition()) << s.delta;
    }
    g_pClavio->LoadClip(NULL);
}

TEST_F(ViewTest, PrintsTheVideoCentredOnThePage)
{
    CClip clip;
    ASSERT_NO_FATAL_FAILURE(LoadClip(clip));
    g_pClavio->SeekField(10);
    // A "page" of the screen's resolution: the picture keeps its 608 x 456 and is centred.
    CClientDC screen(NULL);
    const int width = screen.GetDeviceCaps(HORZRES), height = screen.GetDeviceCaps(VERTRES);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    DWORD* pixels = nullptr;
    HBITMAP page = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, (void**)&pixels, NULL, 0);
    ASSERT_TRUE(page && pixels);
    const DWORD paper = 0x00FF00; // green: no DV picture of the fixture has it
    std::fill(pixels, pixels + width * height, paper);
    CDC dc;
    dc.CreateCompatibleDC(&screen);
    HGDIOBJ old = ::SelectObject(dc.m_hDC, page);
    dc.m_bPrinting = TRUE;
    m_view->OnDraw(&dc);
    GdiFlush();
    const CRect picture(width / 2 - 304, height / 2 - 228, width / 2 - 304 + 608,
                        height / 2 - 228 + 456);
    int inside = 0, outside = 0, light = 0, dark = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const DWORD p = pixels[y * width + x] & 0xFFFFFF;
            const bool covered = p != paper;
            if (picture.PtInRect(CPoint(x, y))) {
                inside += covered;
                light += (p & 0xFF) > 0xC0 && ((p >> 8) & 0xFF) > 0xC0;
                dark += (p & 0xFF) < 0x40 && ((p >> 8) & 0xFF) < 0x40;
            } else {
                outside += covered;
            }
        }
    EXPECT_EQ(608 * 456, inside);
    EXPECT_EQ(0, outside);
    // Frame 5's picture: white bars on black.
    EXPECT_GT(light, 0);
    EXPECT_GT(dark, 0);
    ::SelectObject(dc.m_hDC, old);
    DeleteObject(page);
    g_pClavio->LoadClip(NULL);
}

namespace {

// A lesson that counts its ticks, and throws from one when asked.
class CountingLesson : public CLesson
{
public:
    int ticks = 0;
    bool throwing = false;

protected:
    void Tick() override
    {
        if (throwing)
            throw 1;
        ++ticks;
    }
};

// Counts the WM_PAINT messages the video manager's windows receive.
HWND g_videoManager = NULL;
int g_videoPaints = 0;
LRESULT CALLBACK CountVideoPaints(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* call = (const CWPSTRUCT*)lParam;
    if (code == HC_ACTION && call->message == WM_PAINT && g_videoManager &&
        (call->hwnd == g_videoManager || ::IsChild(g_videoManager, call->hwnd)))
        ++g_videoPaints;
    return CallNextHookEx(NULL, code, wParam, lParam);
}

} // namespace

TEST_F(ViewTest, TimerOneIsTheLessonTick)
{
    CountingLesson lesson;
    g_pLesson = &lesson;
    // Started with the frame, once a second.
    for (const DWORD end = GetTickCount() + 3000; !lesson.ticks && GetTickCount() < end;) {
        Pump();
        Sleep(20);
    }
    EXPECT_GE(lesson.ticks, 1);

    const int ticks = lesson.ticks;
    m_frame->SendMessage(WM_TIMER, 1);
    EXPECT_EQ(ticks + 1, lesson.ticks);
    // Other timers, the import queue's (empty) among them, are no lesson tick.
    m_frame->SendMessage(WM_TIMER, 7);
    m_frame->SendMessage(WM_TIMER, 2);
    EXPECT_EQ(ticks + 1, lesson.ticks);
    // A tick that throws is reported, and the next one counts again.
    lesson.throwing = true;
    m_frame->SendMessage(WM_TIMER, 1);
    EXPECT_TRUE(m_answers.Saw("Unhandled exception in timer for CLesson."));
    lesson.throwing = false;
    m_frame->SendMessage(WM_TIMER, 1);
    EXPECT_EQ(ticks + 2, lesson.ticks);
    // What escapes the lesson (here its own report) is caught by the frame and reported.
    lesson.throwing = true;
    theApp.m_throwFromBox = true;
    m_frame->SendMessage(WM_TIMER, 1);
    EXPECT_TRUE(m_answers.Saw("Unhandled exception in CMainFrame timer."));
    EXPECT_TRUE(::IsWindow(m_frame->m_hWnd));
    g_pLesson = NULL;
}

TEST_F(ViewTest, MovesRedrawTheVideo)
{
    CClip clip;
    ASSERT_NO_FATAL_FAILURE(LoadClip(clip));
    m_frame->ShowWindow(SW_SHOWNA);
    m_frame->UpdateWindow();
    Pump();
    // The creation's move was the first; every later one redraws the video windows when
    // channel 0 reports the operating-system code of the newest drawing paths (5).
    ASSERT_EQ(5, g_pClavio->GetChannel0()->GetOS());
    g_videoManager = g_pClavio->m_hWnd;
    g_videoPaints = 0;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, CountVideoPaints, NULL, GetCurrentThreadId());
    m_frame->SendMessage(WM_MOVE, 0, MAKELPARAM(40, 30));
    UnhookWindowsHookEx(hook);
    g_videoManager = NULL;
    EXPECT_GT(g_videoPaints, 0);
    g_pClavio->LoadClip(NULL);
}

namespace {

struct ManagerState
{
    int channel;
    BOOL split;
    int lock;
    BOOL mirrored;
    BOOL playing;
    bool operator==(const ManagerState& o) const
    {
        return channel == o.channel && !split == !o.split && lock == o.lock &&
               !mirrored == !o.mirrored && !playing == !o.playing;
    }
};

std::ostream& operator<<(std::ostream& out, const ManagerState& s)
{
    return out << "channel " << s.channel << " split " << s.split << " lock " << s.lock
               << " mirrored " << s.mirrored << " playing " << s.playing;
}

ManagerState StateOf(CClavio& clavio)
{
    CVideoWindow* current = clavio.GetActiveVideoWindow();
    return {clavio.GetCurrentChannel(), clavio.IsSplitView(), clavio.GetLockMode(),
            current->GetMirror(), current->IsPlaying()};
}

} // namespace

TEST_F(ViewTest, FrameCommandsAndTheirEffects)
{
    m_frame->SetActiveView(m_view);
    CClip first, second;
    g_pClavio->SetComparisonView(FALSE);
    g_pClavio->SelectChannel(0);
    ASSERT_NO_FATAL_FAILURE(LoadClip(first));
    ASSERT_NO_FATAL_FAILURE(LoadClip(second, true));
    ASSERT_EQ((ManagerState{0, TRUE, 0, FALSE, FALSE}), StateOf(*g_pClavio));

    // Each command in turn, against the state it leaves.
    const struct {
        UINT id;
        ManagerState after;
    } steps[] = {
        {32807, {1, TRUE, 0, FALSE, FALSE}}, // TOGGLEWINDOW
        {32807, {0, TRUE, 0, FALSE, FALSE}},
        {32815, {0, TRUE, 0, FALSE, FALSE}}, // TAB16TOGGLEKEY: nothing
        {32816, {0, TRUE, 0, FALSE, FALSE}}, // Restore Default View: nothing
        {32813, {0, TRUE, 1, FALSE, FALSE}}, // LOCKIMPACTKEY
        {32813, {0, TRUE, 0, FALSE, FALSE}},
        {32814, {0, TRUE, 2, FALSE, FALSE}}, // LOCKVIEWKEY
        {32814, {0, TRUE, 0, FALSE, FALSE}},
        {32820, {0, TRUE, 0, TRUE, FALSE}},  // TOGGLEMIRRORKEY
        {32820, {0, TRUE, 0, FALSE, FALSE}},
        {32812, {0, FALSE, 0, FALSE, FALSE}}, // SPLITWINDOWKEY
        {32812, {1, TRUE, 0, FALSE, FALSE}}, // back to comparison, the second channel current
        {32822, {1, TRUE, 0, FALSE, TRUE}},  // REALPLAYKEY: Play
        {32811, {1, TRUE, 0, FALSE, FALSE}}, // Stop Button
        {32821, {1, TRUE, 0, FALSE, TRUE}},  // PLAYKEY: Slow Play
        {32811, {1, TRUE, 0, FALSE, FALSE}},
    };
    for (const auto& s : steps) {
        m_frame->SendMessage(WM_COMMAND, s.id);
        EXPECT_EQ(s.after, StateOf(*g_pClavio)) << s.id;
    }
    // Save is enabled while the current channel shows a clip.
    Probe save;
    save.m_nID = 32810;
    m_frame->OnCmdMsg(32810, CN_UPDATE_COMMAND_UI, &save, NULL);
    EXPECT_EQ(1, save.enabled);
    g_pClavio->LoadClip(NULL);
    g_pClavio->SelectChannel(1);
    g_pClavio->LoadClip(NULL);
}
