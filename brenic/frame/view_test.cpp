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
#include "VideoWindow.h"

namespace {

class TestApp : public CWinApp
{
public:
    TestApp() : CWinApp("Quorvel Redovove") {}
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
        if (!m_file.empty())
            remove(m_file.c_str());
        g_pClavio = NULL;
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
    // Shows a clip of 20 frames written now in the current channel (the file goes with the
    // test).
    void LoadClip(CClip& clip)
    {
        m_file = PanelHost::TempClipName("view_clip");
        DvClipFormat format;
        format.frames = 20;
        format.withAudio = false;
        std::string error;
        ASSERT_TRUE(WriteDvClip(m_file, format, &error)) << error;
        clip.m_strVideoPath = CString("Z:") + m_file.c_str();
        clip.m_strVideoPath.Replace('/', '\\');
        clip.m_nFrames = 20;
        clip.m_nTrimIn = 0;
        clip.m_nTrimOut = 19;
        g_pClavio->SetLiveInput(FALSE, TRUE);
        ASSERT_TRUE(g_pClavio->LoadClip(&clip));
    }
    std::string m_file;
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
