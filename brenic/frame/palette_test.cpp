// The command palette and its pages over the real video manager.
#include "panel_test_host.h"
#include "CmdBar.h"
#include "PanelLogic.h"
#include "SECFrameWnd.h"

namespace {
CWinApp theApp("palette test");

class Palette : public PanelHost
{
protected:
    void SetUp() override
    {
        PanelHost::SetUp();
        ASSERT_TRUE(m_frame.Create(NULL, "Palette frame", WS_OVERLAPPEDWINDOW,
                                   CRect(0, 0, 900, 700)));
        m_frame.EnableDocking(CBRS_ALIGN_ANY);
        m_bar = new CCmdBar;
        ASSERT_TRUE(m_bar->Create(&m_frame, "Command Bar",
                                  WS_CHILD | CBRS_ALIGN_LEFT | CBRS_TOOLTIPS | CBRS_SIZE_DYNAMIC,
                                  0xF10, 153));
        m_bar->m_bAutoDelete = TRUE;
        g_pCmdBar = m_bar;
        m_bar->EnableDocking(CBRS_ALIGN_ANY);
        m_frame.DockControlBarEx(m_bar, AFX_IDW_DOCKBAR_RIGHT, 0, 0, 1.0f, 176);
        Pump();
        TakeCommands();
    }
    void DestroyPanels() override
    {
        if (m_frame.GetSafeHwnd())
            m_frame.DestroyWindow();
    }
    CVideoCmdDlg& Video() { return m_bar->m_videoDlg; }

    // A frame window deletes itself when destroyed.
    SECFrameWnd& m_frame = *new SECFrameWnd;
    CCmdBar* m_bar = nullptr;
};
} // namespace

TEST_F(Palette, FourTabsWithTheVideoPageActive)
{
    SECTabWndBase& tabs = m_bar->m_tabWnd;
    ASSERT_EQ(4, tabs.GetTabCount());
    const char* labels[] = {"Lesson", "Video", "Graphics", "Vistrel"};
    CWnd* pages[] = {&m_bar->m_lessonDlg, &m_bar->m_videoDlg, &m_bar->m_graphicsDlg,
                     &m_bar->m_effectsDlg};
    for (int i = 0; i < 4; ++i) {
        LPCTSTR label = nullptr;
        BOOL selected = FALSE;
        CWnd* page = nullptr;
        void* extra = nullptr;
        HMENU menu = NULL;
        ASSERT_TRUE(tabs.GetTabInfo(i, label, selected, page, extra, menu));
        EXPECT_STREQ(labels[i], label);
        EXPECT_EQ(pages[i], page);
        EXPECT_EQ(i == 1, !!selected) << i;
        EXPECT_TRUE(page->GetSafeHwnd()) << i;
    }
    int active = -1;
    ASSERT_TRUE(tabs.GetActiveTab(active));
    EXPECT_EQ(1, active);
    EXPECT_EQ(153, m_bar->GetDlgCtrlID());
    EXPECT_FALSE(m_bar->m_studentDlg.GetSafeHwnd());
    // The lesson page's texts with no lesson running.
    char text[64];
    m_bar->m_lessonDlg.GetDlgItemText(1154, text, sizeof text);
    EXPECT_STREQ("Time remaining: 00:00", text);
}

TEST_F(Palette, ToolClicksOnTheVideoPage)
{
    Load(MakeClip(10));
    Pump();
    TakeCommands();
    struct Step {
        UINT button;
        int tool;                    // stored afterwards
        UINT checked;                // the one tool button checked, 0 none
        std::vector<UINT> commands;  // sent to channel 0's overlay, in order
    } steps[] = {
        {1097, 6, 1097, {32832, 44524}},          // rectangle chosen
        {1095, 0, 1095, {32832, 32831}},          // line replaces it
        {1095, -1, 0, {32832}},                   // pressed again: all released
        {1099, 4, 1099, {32832, 32825}},          // protractor
        {1093, 4, 1099, {32798, 32832, 32825}},   // clear restores the tool
        {1091, -1, 0, {32832, 44525}},            // select releases
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.button);
        CWnd* button = Video().GetDlgItem(s.button);
        ASSERT_TRUE(button);
        Click(*button);
        EXPECT_EQ(s.tool, g_pAppConfig->GetDrawingTool());
        for (const panel::DrawingTool& t : panel::kTools)
            EXPECT_EQ(t.button == s.checked, !!Video().Button(t.button).GetCheck()) << t.button;
        EXPECT_EQ(s.commands, TakeCommands());
    }
}

TEST_F(Palette, LineColoursPressTheirButton)
{
    Click(Video().Button(1280));
    EXPECT_EQ(RGB(255, 0, 0), g_pAppConfig->GetLineColor());
    EXPECT_EQ(RGB(255, 0, 0), g_pClavio->GetCurrentViewport()->GetLineColor());
    EXPECT_EQ(RGB(255, 0, 0), g_pClavio->GetOtherViewport()->GetLineColor());
    for (const panel::LineColour& c : panel::kLineColours)
        EXPECT_EQ(c.button == 1280, !!Video().Button(c.button).GetCheck()) << c.button;
    // A stored colour of none of the five presses none.
    g_pAppConfig->SetLineColor(RGB(1, 2, 3));
    Video().UpdateLineColorButtons(NULL);
    for (const panel::LineColour& c : panel::kLineColours)
        EXPECT_FALSE(Video().Button(c.button).GetCheck()) << c.button;
}

TEST_F(Palette, SwitchCamerasOutsideLiveIsRefused)
{
    g_pClavio->SetLiveInput(FALSE, TRUE);
    Load(MakeClip(8));
    m_answers.Clear();
    Click(Video().Button(1044));
    EXPECT_TRUE(m_answers.Saw("Must be in live mode to switch cameras"));
    EXPECT_TRUE(Video().Button(1044).GetCheck()); // always drawn pressed
}

TEST_F(Palette, LockButtonsFollowTheChannels)
{
    LoadBothSplit();
    Video().OnUpdate();
    EXPECT_TRUE(Video().Button(1035).IsWindowEnabled());
    EXPECT_TRUE(Video().Button(1036).IsWindowEnabled());
    Click(Video().Button(1036));
    EXPECT_EQ(2, g_pClavio->GetLockMode());
    Click(Video().Button(1035));
    EXPECT_EQ(1, g_pClavio->GetLockMode());
    EXPECT_FALSE(Video().Button(1036).GetCheck());
    Click(Video().Button(1035));
    EXPECT_EQ(0, g_pClavio->GetLockMode());
    // One channel emptied: both disabled.
    g_pClavio->SelectChannel(1);
    g_pClavio->LoadClip(NULL);
    Video().OnUpdate();
    EXPECT_FALSE(Video().Button(1035).IsWindowEnabled());
    EXPECT_FALSE(Video().Button(1036).IsWindowEnabled());
}
