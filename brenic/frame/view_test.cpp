// The view as the framework makes it in the main frame: the skinned panel over its client
// area, the video manager inside the panel at the skin's video rectangle, the frame sized and
// centred from the skin, and commands nobody handles offered to the current drawing layer.
#include "gtest_wine.h"
#include <afxwin.h>
#include <afxole.h>
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
    const std::string file = PanelHost::TempClipName("view_wheel");
    const char* name = file.c_str();
    DvClipFormat format;
    format.frames = 20;
    format.withAudio = false;
    std::string error;
    ASSERT_TRUE(WriteDvClip(name, format, &error)) << error;
    CClip clip;
    clip.m_strVideoPath = CString("Z:") + name;
    clip.m_strVideoPath.Replace('/', '\\');
    clip.m_nFrames = 20;
    clip.m_nTrimIn = 0;
    clip.m_nTrimOut = 19;
    g_pClavio->SetLiveInput(FALSE, TRUE);
    ASSERT_TRUE(g_pClavio->LoadClip(&clip));
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
    remove(name);
}
