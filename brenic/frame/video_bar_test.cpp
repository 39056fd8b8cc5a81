// The video bar, the palette and test bars made in a docking frame, over the real video
// manager.
#include "panel_test_host.h"
#include "CmdBar.h"
#include "PanelBars.h"
#include "SECDockBar.h"
#include "SECFrameWnd.h"
#include "TestBar.h"
#include "VideoBar.h"

namespace {
CWinApp theApp("video bar test");

class Bars : public PanelHost
{
protected:
    void SetUp() override
    {
        PanelHost::SetUp();
        ASSERT_TRUE(m_frame.Create(NULL, "Bars frame", WS_OVERLAPPEDWINDOW,
                                   CRect(0, 0, 1000, 760)));
        m_frame.EnableDocking(CBRS_ALIGN_ANY);
        ASSERT_TRUE(CreatePanelBars(&m_frame));
        ASSERT_TRUE(g_pVideoBar);
        Pump();
    }
    void DestroyPanels() override
    {
        if (m_frame.GetSafeHwnd())
            m_frame.DestroyWindow();
    }
    CVideoBarDlg& Bar() { return g_pVideoBar->m_dlg; }
    CString Counter()
    {
        char text[32] = "";
        Bar().m_counter.GetWindowText(text, sizeof text);
        return text;
    }
    // A clip with its eight tabs at the given fields.
    CClip* ClipWithTabs(int frames)
    {
        CClip* clip = MakeClip(frames);
        clip->m_nTabCount = 8;
        for (int i = 0; i < 8; ++i)
            clip->m_nTabs[i] = 2 + i * 2;
        return clip;
    }

    SECFrameWnd& m_frame = *new SECFrameWnd; // deletes itself when destroyed
};
} // namespace

TEST_F(Bars, PaletteRightVideoBarBottomTestBarsFrom256)
{
    ASSERT_TRUE(g_pCmdBar);
    EXPECT_EQ(153, g_pCmdBar->GetDlgCtrlID());
    EXPECT_EQ(154, g_pVideoBar->GetDlgCtrlID());
    ASSERT_TRUE(g_pCmdBar->m_pDockBar);
    ASSERT_TRUE(g_pVideoBar->m_pDockBar);
    EXPECT_EQ(AFX_IDW_DOCKBAR_RIGHT, g_pCmdBar->m_pDockBar->GetDlgCtrlID());
    EXPECT_EQ(AFX_IDW_DOCKBAR_BOTTOM, g_pVideoBar->m_pDockBar->GetDlgCtrlID());
    char title[32];
    g_pVideoBar->GetWindowText(title, sizeof title);
    EXPECT_STREQ("Video Bar", title);
    // A second call makes no second bar.
    CCmdBar* palette = g_pCmdBar;
    CVideoBar* bar = g_pVideoBar;
    ASSERT_TRUE(CreatePanelBars(&m_frame));
    EXPECT_EQ(palette, g_pCmdBar);
    EXPECT_EQ(bar, g_pVideoBar);

    // Shown, the palette holds column 0 of the right side's first row.
    m_frame.ShowControlBar(g_pCmdBar, TRUE, FALSE);
    CTestBar* first = AddTestBar(&m_frame);
    CTestBar* second = AddTestBar(&m_frame);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(256, first->GetDlgCtrlID());
    EXPECT_EQ(257, second->GetDlgCtrlID());
    first->GetWindowText(title, sizeof title);
    EXPECT_STREQ("Static DialogBar", title);
    EXPECT_TRUE(first->GetDlgItem(1196));
    EXPECT_TRUE(first->GetDlgItem(1014)); // the video control
    EXPECT_EQ(AFX_IDW_DOCKBAR_RIGHT, first->m_pDockBar->GetDlgCtrlID());

    // Styles: the palette and the video bar keep a right border; the test bar is visible,
    // made with a left border, a child through its template, and sits in column 1.
    for (CControlBar* pBar : {(CControlBar*)g_pCmdBar, (CControlBar*)g_pVideoBar}) {
        EXPECT_TRUE(pBar->GetBarStyle() & CBRS_BORDER_RIGHT);
        EXPECT_TRUE(pBar->GetBarStyle() & CBRS_TOOLTIPS);
        EXPECT_TRUE(pBar->GetBarStyle() & CBRS_SIZE_DYNAMIC);
        EXPECT_TRUE(pBar->GetStyle() & WS_CHILD);
    }
    EXPECT_TRUE(first->GetBarStyle() & CBRS_BORDER_LEFT);
    EXPECT_TRUE(first->GetStyle() & WS_CHILD);
    EXPECT_TRUE(first->GetStyle() & WS_VISIBLE);
    SECDockBar* right = DYNAMIC_DOWNCAST(SECDockBar, first->m_pDockBar);
    ASSERT_TRUE(right);
    int row = -1, col = -1, thick = 0;
    // Each new test bar goes in at column 1, so the first moved on to column 2.
    ASSERT_TRUE(right->FindBarRow(second, row, col, thick));
    EXPECT_EQ(1, col);
    EXPECT_EQ(0, row);
    ASSERT_TRUE(right->FindBarRow(first, row, col, thick));
    EXPECT_EQ(2, col);
    EXPECT_EQ(0, row);
}

TEST_F(Bars, ClipLoadedSetsRangeThumbAndTabs)
{
    g_pClavio->SetLiveInput(FALSE, TRUE);
    CClip* clip = ClipWithTabs(20);
    clip->m_nTrimIn = 2;
    Load(clip);
    Bar().OnClipLoaded();
    EXPECT_EQ(8, Bar().m_slider.GetTabCount());
    EXPECT_EQ(clip->GetTabPosition(5), Bar().m_slider.GetTabPosition(6));
    // The channel emptied: no range, position 0, no tabs.
    g_pClavio->LoadClip(NULL);
    Bar().OnClipLoaded();
    EXPECT_EQ(0, Bar().m_slider.GetTabCount());
    EXPECT_EQ(0, Bar().m_slider.GetThumbPosition());
    EXPECT_EQ("00:00:00", Counter());
}

TEST_F(Bars, CounterTexts)
{
    Bar().ShowPosition(125);
    // With a control: its rate (29.97 for a clip, counted as 29).
    Load(MakeClip(10));
    Bar().ShowPosition(125);
    EXPECT_EQ("00:02:15", Counter());
    g_pAppConfig->SetVideoFrameCount(TRUE);
    Bar().ShowPosition(125);
    EXPECT_EQ("02:02:1", Counter());
    Bar().ShowPosition(-1);
    EXPECT_EQ("00:00:-1", Counter());
    EXPECT_EQ(RGB(0x66, 0xFF, 0xFF), Bar().m_counter.GetTextColor());
    EXPECT_EQ(RGB(0, 0, 0), Bar().m_counter.GetBkColor());
}

TEST_F(Bars, TabMovesRefusedWhileLockedAndRelativeToImpact)
{
    g_pClavio->SetLiveInput(FALSE, TRUE);
    g_pClavio->SetComparisonView(FALSE);
    g_pClavio->SelectChannel(0);
    Load(ClipWithTabs(20));
    g_pClavio->SelectChannel(1);
    CClip* clip = ClipWithTabs(20);
    Load(clip);
    Bar().OnClipLoaded();

    g_pClavio->SetLockMode(2);
    ASSERT_TRUE(g_pClavio->IsLocked());
    m_answers.Clear();
    Bar().OnTabMoved(2, 20);
    EXPECT_TRUE(m_answers.Saw("Tabs cannot be adjusted while video windows are locked."));
    EXPECT_EQ(6, clip->GetTabPosition(2));

    g_pClavio->SetLockMode(0);
    g_pAppConfig->SetImpactTabRelative(FALSE);
    Bar().OnTabMoved(2, 7);
    EXPECT_EQ(7, clip->GetTabPosition(2));
    EXPECT_EQ(4, clip->GetTabPosition(1));

    // Moving the impact tab with the relative setting on moves every tab and the slider's.
    g_pAppConfig->SetImpactTabRelative(TRUE);
    Bar().OnTabMoved(5, 14);
    EXPECT_EQ(14, clip->GetTabPosition(5));
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(clip->GetTabPosition(i), Bar().m_slider.GetTabPosition(i + 1)) << i;
}

TEST_F(Bars, RecordLooksFollowTheVideoState)
{
    for (long code : {203L, 202L, 204L, 200L, 100L}) {
        g_pClavio->SetVideoState(code);
        Bar().OnVideoStateChanged();
        BOOL pressed = code >= 202 && code <= 204;
        if (code != 100)
            EXPECT_EQ(pressed, Bar().m_btnRecord.GetCheck()) << code;
        int image = code == 203 ? 1 : code == 202 || code == 204 ? 2 : 0;
        EXPECT_EQ(image, Bar().m_btnRecord.m_nStateImage) << code;
    }
}

// A picture of the bars for people: run under a display with QUORVEL_SCREENSHOT_DIR (a Unix
// folder), taken with xwd: the palette docked right, the video bar at the bottom, a clip
// loaded. Skipped otherwise.
TEST_F(Bars, Screenshot)
{
    const char* dir = getenv("QUORVEL_SCREENSHOT_DIR");
    if (!dir)
        GTEST_SKIP() << "no screenshot folder";
    m_frame.SetWindowPos(NULL, 20, 20, 1000, 760, SWP_NOZORDER);
    m_frame.ShowWindow(SW_SHOW);
    // Made hidden; shown as the View menu shows them.
    m_frame.ShowControlBar(g_pCmdBar, TRUE, FALSE);
    m_frame.ShowControlBar(g_pVideoBar, TRUE, FALSE);
    m_frame.RecalcLayout();
    g_pClavio->SetLiveInput(FALSE, TRUE);
    Load(ClipWithTabs(40));
    g_pClavio->NotifyClipLoaded();
    Pump();
    m_frame.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    for (int i = 0; i < 20; ++i) {
        Pump();
        Sleep(50);
    }
    std::string command = std::string("xwd -root -silent -out '") + dir + "/bars.xwd'";
    EXPECT_EQ(0, system(command.c_str()));
}
