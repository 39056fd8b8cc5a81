// The skinned main panel as the view makes it, over the real video manager: its buttons,
// slider, position text and start-up states.
#include "panel_test_host.h"
#include "ClipBar.h"
#include "ConsumerBkgDlg.h"
#include "CustomConfig.h"
#include "ODCustomViewport.h"

namespace {
CWinApp theApp("panel test");

class Panel : public PanelHost
{
protected:
    void SetUp() override
    {
        PanelHost::SetUp();
        m_panel = new CConsumerBkgDlg(NULL);
        ASSERT_TRUE(m_panel->Create(282, &m_host));
        Pump();
    }
    void DestroyPanels() override
    {
        if (m_panel) {
            m_panel->DestroyWindow();
            delete m_panel;
            m_panel = NULL;
        }
    }
    // A child's rectangle in the panel's client coordinates.
    CRect Placed(CWnd& child)
    {
        CRect r;
        child.GetWindowRect(&r);
        m_panel->ScreenToClient(&r);
        return r;
    }
    CConsumerBkgDlg* m_panel = NULL;
};

struct ButtonCase {
    int button;
    UINT id;
    CPoint place;
    bool latching;
};

} // namespace

TEST_F(Panel, ButtonsHaveTheirIdsPlacesAndLatching)
{
    const ButtonCase cases[] = {
        {CConsumerBkgDlg::Logo, 1209, {716, 13}, false},
        {CConsumerBkgDlg::Record, 1014, {663, 432}, true},
        {CConsumerBkgDlg::ManualAuto, 1189, {732, 447}, true},
        {CConsumerBkgDlg::CaptureTrigger, 1196, {676, 363}, true},
        {CConsumerBkgDlg::Trim, 1011, {382, 508}, false},
        {CConsumerBkgDlg::Replay, 1010, {295, 504}, true},
        {CConsumerBkgDlg::Pan, 1077, {433, 508}, false},
        {CConsumerBkgDlg::Email, 1043, {5, 2}, false},
        {CConsumerBkgDlg::SingleView, 1022, {673, 98}, true},
        {CConsumerBkgDlg::SplitView, 1023, {680, 136}, true},
        {CConsumerBkgDlg::Mirror, 1040, {687, 232}, true},
        {CConsumerBkgDlg::LockView, 1036, {682, 174}, true},
        {CConsumerBkgDlg::SnapShot, 1042, {685, 270}, false},
        {CConsumerBkgDlg::Live, 1041, {680, 308}, true},
        {CConsumerBkgDlg::DrawClear, 1093, {631, 56}, false},
        {CConsumerBkgDlg::DrawSelect, 1091, {631, 105}, false},
        {CConsumerBkgDlg::DrawLine, 1095, {631, 157}, true},
        {CConsumerBkgDlg::DrawMultiline, 1096, {631, 207}, true},
        {CConsumerBkgDlg::DrawText, 1094, {631, 255}, false},
        {CConsumerBkgDlg::DrawEllipse, 1098, {631, 305}, true},
        {CConsumerBkgDlg::DrawRect, 1097, {631, 354}, true},
        {CConsumerBkgDlg::DrawArrow, 1137, {631, 400}, true},
        {CConsumerBkgDlg::Button01, 1190, {97, 8}, false},
        {CConsumerBkgDlg::Button02, 1191, {171, 8}, false},
        {CConsumerBkgDlg::Button03, 1192, {239, 8}, false},
        {CConsumerBkgDlg::Button04, 1193, {313, 8}, false},
        {CConsumerBkgDlg::Button05, 1194, {386, 8}, false},
        {CConsumerBkgDlg::Button06, 1195, {460, 8}, false},
        {CConsumerBkgDlg::Play, 1169, {14, 516}, true},
        {CConsumerBkgDlg::SlowPlayRev, 1013, {74, 517}, true},
        {CConsumerBkgDlg::SlowPlay, 1009, {118, 517}, true},
        {CConsumerBkgDlg::StepRev, 1012, {180, 517}, false},
        {CConsumerBkgDlg::StepFwd, 1008, {224, 517}, false},
    };
    ASSERT_EQ((size_t)CConsumerBkgDlg::ButtonCount, sizeof cases / sizeof cases[0]);
    for (const ButtonCase& c : cases) {
        CBaseBmpButton& b = m_panel->GetButton(c.button);
        SCOPED_TRACE(c.id);
        ASSERT_TRUE(b.GetSafeHwnd());
        EXPECT_EQ(c.id, (UINT)b.GetDlgCtrlID());
        EXPECT_EQ(b.GetSafeHwnd(), m_panel->GetDlgItem(c.id)->GetSafeHwnd());
        EXPECT_EQ(c.place, Placed(b).TopLeft());
        EXPECT_TRUE(b.GetStyle() & WS_VISIBLE);
        EXPECT_EQ(c.latching, b.m_bCheckMode != FALSE);
    }
    // Exactly one button each: no second window under any id.
    int buttons = 0;
    for (CWnd* child = m_panel->GetWindow(GW_CHILD); child; child = child->GetNextWindow(GW_HWNDNEXT))
        if (child->GetDlgCtrlID() >= 1008 && child->GetDlgCtrlID() <= 1209 &&
            child->GetDlgCtrlID() != 1119 && child->GetDlgCtrlID() != 1208)
            ++buttons;
    EXPECT_EQ(33, buttons);
}

TEST_F(Panel, SliderTextAndStatesAtStart)
{
    // The slider is the tabbed slider control, shown under the video at its place.
    CTabrelEx& slider = m_panel->GetSlider();
    ASSERT_TRUE(slider.GetSafeHwnd());
    EXPECT_EQ(slider.GetSafeHwnd(), m_panel->GetDlgItem(1208)->GetSafeHwnd());
    EXPECT_TRUE(slider.GetStyle() & WS_VISIBLE);
    EXPECT_EQ(CRect(8, 495, 278, 515), Placed(slider));
    EXPECT_EQ(2, slider.GetTabMode());
    EXPECT_FALSE(slider.GetTabAdjustEnable());
    EXPECT_EQ(&slider, g_pClavio->GetSlider());

    CStaticEx& text = m_panel->GetPositionText();
    ASSERT_TRUE(text.GetSafeHwnd());
    EXPECT_EQ(CRect(287, 540, 361, 562), Placed(text));
    EXPECT_EQ((COLORREF)0xFFFF66, text.GetTextColor());
    EXPECT_EQ((COLORREF)0, text.GetBkColor());
    LOGFONTA font = {};
    m_panel->GetPositionFont().GetLogFont(&font);
    EXPECT_STREQ("Verdana", font.lfFaceName);
    EXPECT_EQ(17, font.lfHeight);
    EXPECT_EQ(FW_BOLD, font.lfWeight);
    char shown[32] = "";
    text.GetWindowText(shown, sizeof shown);
    EXPECT_STREQ("00:00:00", shown);

    // The clip panel, right of the position text.
    CClipBar* clips = CClipBar::GetClipBar();
    ASSERT_TRUE(clips && clips->GetSafeHwnd());
    EXPECT_EQ(m_panel, clips->GetParent());
    EXPECT_EQ(152, clips->GetDlgCtrlID());
    EXPECT_EQ(CRect(471, 499, 777, 576), Placed(*clips));
    EXPECT_TRUE(clips->GetStyle() & WS_VISIBLE);

    EXPECT_TRUE(m_panel->GetButton(CConsumerBkgDlg::Live).GetCheck());
    EXPECT_TRUE(m_panel->GetButton(CConsumerBkgDlg::SingleView).GetCheck());
    EXPECT_FALSE(m_panel->GetButton(CConsumerBkgDlg::LockView).IsWindowEnabled());
    EXPECT_EQ((BYTE)TRUE, m_panel->AreToolsReleased());
}

TEST_F(Panel, TransportButtons)
{
    CBaseBmpButton& play = m_panel->GetButton(CConsumerBkgDlg::Play);
    CBaseBmpButton& slow = m_panel->GetButton(CConsumerBkgDlg::SlowPlay);
    CBaseBmpButton& stepFwd = m_panel->GetButton(CConsumerBkgDlg::StepFwd);
    CBaseBmpButton& stepRev = m_panel->GetButton(CConsumerBkgDlg::StepRev);
    // No clip: the pressed button is released and nothing plays.
    Click(stepFwd);
    EXPECT_FALSE(stepFwd.GetCheck());
    Click(slow);
    EXPECT_FALSE(play.GetCheck());
    EXPECT_FALSE(g_pClavio->GetActiveVideoWindow()->IsPlaying());

    g_pClavio->SetLiveInput(FALSE, TRUE);
    Load(MakeClip(60));
    Pump();
    CVideoWindow* video = g_pClavio->GetActiveVideoWindow();
    Click(play);
    EXPECT_TRUE(video->IsPlaying());
    EXPECT_TRUE(play.GetCheck());
    EXPECT_EQ(1, play.m_nStateImage);
    // Slow play pressed while playing stops instead of switching.
    Click(slow);
    EXPECT_FALSE(video->IsPlaying());
    EXPECT_FALSE(play.GetCheck());
    EXPECT_FALSE(slow.GetCheck());
    EXPECT_EQ(0, play.m_nStateImage);
    // A second press starts slow play, shown on the Play button.
    Click(slow);
    EXPECT_TRUE(video->IsPlaying());
    EXPECT_GT(video->GetPlaySpeed(), 0.0f);
    EXPECT_TRUE(play.GetCheck());
    Click(play);
    EXPECT_FALSE(video->IsPlaying());

    // Step Back held for a second plays backwards slowly; its release stops.
    m_panel->SendMessage(WM_BMPBUTTON_HELD, (WPARAM)&stepRev, 0);
    EXPECT_TRUE(video->IsPlaying());
    EXPECT_LT(video->GetPlaySpeed(), 0.0f);
    m_panel->SendMessage(WM_BMPBUTTON_RELEASED, (WPARAM)&stepRev, 0);
    EXPECT_FALSE(video->IsPlaying());
    // A plain step moves one field.
    LONG before = video->GetFieldPosition();
    Click(stepFwd);
    EXPECT_EQ(before + 1, video->GetFieldPosition());
}

TEST_F(Panel, ClipLoadedFollowsTheCurrentClipEvenWhenItIsGone)
{
    CTabrelEx& slider = m_panel->GetSlider();
    g_pClavio->SetLiveInput(FALSE, TRUE);
    CClip* clip = MakeClip(30);
    clip->m_nTrimIn = 5;
    clip->m_nTrimOut = 24;
    Load(clip);
    g_pClavio->SeekField(20);
    m_panel->OnClipLoaded();
    // Fields 10 to 49 (the slider reports the top of its range); the thumb at the
    // control's position.
    EXPECT_EQ(49, slider.GetRange());
    EXPECT_EQ(20, slider.GetThumbPosition());
    // The channel emptied: the smallest range at 0 (the slider takes no empty one), no tabs,
    // the text at 0.
    g_pClavio->LoadClip(NULL);
    m_panel->OnClipLoaded();
    EXPECT_EQ(1, slider.GetRange());
    EXPECT_EQ(0, slider.GetThumbPosition());
    EXPECT_EQ(0, slider.GetTabCount());
    char shown[32] = "";
    m_panel->GetPositionText().GetWindowText(shown, sizeof shown);
    EXPECT_STREQ("00:00:00", shown);
}

// The slider holds the current clip's tabs as marks, as many as the clip has (close ones
// overlapping); Up and Down, routed to it as the main frame does, jump from mark to mark.
TEST_F(Panel, TabMarksAreTheCurrentClipsTabsAndUpDownJumpBetweenThem)
{
    CTabrelEx& slider = m_panel->GetSlider();
    g_pClavio->SetLiveInput(FALSE, TRUE);
    const int tabs[8] = {13, 36, 61, 72, 76, 78, 81, 97}; // around an impact at 78
    CClip* swing = MakeClip(70);
    swing->m_bNeedVideoInfo = FALSE;
    swing->m_nTabCount = 8;
    for (int i = 0; i < 8; ++i)
        swing->m_nTabs[i] = tabs[i];
    Load(swing);
    Pump();
    ASSERT_EQ(8, slider.GetTabCount());
    m_panel->GetSlider().RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    ASSERT_EQ(8, slider.GetTabCount()) << "a paint keeps overlapping marks";
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(tabs[i], slider.GetTabPosition(i + 1)) << i;

    CVideoWindow* video = g_pClavio->GetActiveVideoWindow();
    auto key = [&](UINT vk) {
        slider.SendMessage(WM_KEYDOWN, vk, 0);
        Pump();
        return std::make_pair((int)slider.GetThumbPosition(), (int)video->GetFieldPosition());
    };
    EXPECT_EQ(std::make_pair(13, 13), key(VK_UP));
    EXPECT_EQ(std::make_pair(36, 36), key(VK_UP));
    for (int i = 2; i < 5; ++i)
        key(VK_UP);
    EXPECT_EQ(std::make_pair(78, 78), key(VK_UP)) << "the impact mark is reached";
    EXPECT_EQ(std::make_pair(76, 76), key(VK_DOWN));
    for (int i = 4; i > 0; --i)
        key(VK_DOWN);
    EXPECT_EQ(std::make_pair(97, 97), key(VK_DOWN)) << "Down wraps to the last mark";

    // Another clip with three tabs: three marks; one without tabs, and no clip: none.
    CClip* few = MakeClip(40);
    few->m_bNeedVideoInfo = FALSE;
    few->m_nTabCount = 3;
    few->m_nTabs[0] = 10, few->m_nTabs[1] = 11, few->m_nTabs[2] = 50;
    Load(few);
    Pump();
    ASSERT_EQ(3, slider.GetTabCount());
    EXPECT_EQ(11, slider.GetTabPosition(2));
    CClip* bare = MakeClip(20);
    bare->m_bNeedVideoInfo = FALSE;
    bare->m_nTabCount = 0;
    Load(bare);
    Pump();
    EXPECT_EQ(0, slider.GetTabCount());
    Load(swing);
    Pump();
    EXPECT_EQ(8, slider.GetTabCount());
    g_pClavio->LoadClip(NULL);
    m_panel->OnClipLoaded();
    EXPECT_EQ(0, slider.GetTabCount());
}

TEST_F(Panel, RecordTriggerAndPlayLooksFollowTheVideoState)
{
    CBaseBmpButton& record = m_panel->GetButton(CConsumerBkgDlg::Record);
    CBaseBmpButton& trigger = m_panel->GetButton(CConsumerBkgDlg::CaptureTrigger);
    CBaseBmpButton& play = m_panel->GetButton(CConsumerBkgDlg::Play);
    struct Case {
        int code;
        BOOL replay;
        BOOL record, trigger;
        int stateImage;
        BOOL play;
    } cases[] = {
        // Before each: Record checked with state image 1, trigger checked, Play lit.
        {200, FALSE, FALSE, FALSE, 0, TRUE}, {201, FALSE, FALSE, FALSE, 0, TRUE},
        {202, FALSE, TRUE, TRUE, 2, TRUE},   {203, FALSE, TRUE, FALSE, 1, TRUE},
        {204, FALSE, TRUE, TRUE, 2, TRUE},   {100, FALSE, TRUE, TRUE, 1, FALSE},
        {100, TRUE, TRUE, TRUE, 1, TRUE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.code << " replay " << c.replay);
        record.SetCheck(TRUE);
        record.SetStateImage(1);
        trigger.SetCheck(TRUE);
        play.SetCheck(TRUE);
        play.SetStateImage(1);
        g_pAppConfig->SetAutoReplay(c.replay);
        g_pClavio->SetVideoState(c.code);
        g_pClavio->NotifyVideoStateChanged();
        Pump();
        EXPECT_EQ(c.record, record.GetCheck());
        EXPECT_EQ(c.trigger, trigger.GetCheck());
        EXPECT_EQ(c.stateImage, record.m_nStateImage);
        EXPECT_EQ(c.play, play.GetCheck());
        EXPECT_EQ(c.play ? 1 : 0, play.m_nStateImage);
    }
}

TEST_F(Panel, LockScreensFollowTheChannels)
{
    CBaseBmpButton& lock = m_panel->GetButton(CConsumerBkgDlg::LockView);
    LoadBothSplit();
    g_pClavio->NotifyUpdate();
    Pump();
    EXPECT_FALSE(m_panel->GetButton(CConsumerBkgDlg::Live).GetCheck());
    EXPECT_TRUE(m_panel->GetButton(CConsumerBkgDlg::SplitView).GetCheck());
    EXPECT_TRUE(lock.IsWindowEnabled());
    Click(lock);
    EXPECT_EQ(2, g_pClavio->GetLockMode());
    Click(lock);
    EXPECT_EQ(0, g_pClavio->GetLockMode());
    Click(lock);
    ASSERT_EQ(2, g_pClavio->GetLockMode());
    // The other channel's clip goes: Lock Screens disabled, the lock undone.
    g_pClavio->SetLockMode(0);
    g_pClavio->SelectChannel(1);
    g_pClavio->LoadClip(NULL);
    g_pClavio->NotifyUpdate();
    Pump();
    EXPECT_FALSE(lock.IsWindowEnabled());
    EXPECT_FALSE(lock.GetCheck());
    EXPECT_EQ(0, g_pClavio->GetLockMode());
}

TEST_F(Panel, ToolClicks)
{
    g_pClavio->SetLiveInput(FALSE, TRUE);
    Load(MakeClip(10));
    Pump();
    TakeCommands();
    const UINT latching[] = {1095, 1096, 1097, 1098, 1137};
    struct Step {
        UINT button;                 // 0: the update notification
        int tool;                    // stored afterwards
        UINT checked;                // the one tool button checked, 0 none
        std::vector<UINT> commands;  // sent to the current overlay, in order
    } steps[] = {
        {1097, 6, 1097, {32832, 44524}},          // rectangle
        {1095, 0, 1095, {32832, 44518}},          // line replaces it
        {0, 0, 1095, {32832, 32831}},             // restored as "Line"
        {1095, -1, 0, {32832}},                   // pressed again: all released
        {1094, 8, 0, {32832, 44526}},             // text never stays checked
        {0, 8, 0, {32832}},                       // nor is it restored
        {1098, 7, 1098, {32832, 44516}},          // ellipse
        {1093, 7, 1098, {32798, 32832, 44516}},   // clear restores the tool
        {1091, -1, 0, {32832, 44525}},            // select releases
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.button);
        if (s.button) {
            CWnd* button = m_panel->GetDlgItem(s.button);
            ASSERT_TRUE(button);
            Click(*button);
        } else {
            m_panel->OnUpdate();
        }
        EXPECT_EQ(s.tool, g_pAppConfig->GetDrawingTool());
        for (UINT id : latching)
            EXPECT_EQ(id == s.checked, !!((CBaseBmpButton*)m_panel->GetDlgItem(id))->GetCheck())
                << id;
        EXPECT_FALSE(((CBaseBmpButton*)m_panel->GetDlgItem(1094))->GetCheck());
        EXPECT_EQ(s.commands, TakeCommands());
    }
    // While a clip plays, notifications do not arm the tool again.
    Click(*m_panel->GetDlgItem(1097));
    Click(m_panel->GetButton(CConsumerBkgDlg::Play));
    ASSERT_TRUE(g_pClavio->GetActiveVideoWindow()->IsPlaying());
    TakeCommands();
    m_panel->OnUpdate();
    EXPECT_EQ(std::vector<UINT>(), TakeCommands());
    m_panel->StopPlayback();
}

TEST_F(Panel, MenuButtonPopups)
{
    struct Item {
        UINT id;
        const char* text;
    };
    const std::vector<Item> file = {{32779, "&Open..."}, {32810, "&Save..."}, {0, ""},
                                    {57607, "&Print..."}, {57609, "Print Pre&view..."},
                                    {57606, "Print &Setup..."}, {0, ""}, {57665, "E&xit"}};
    const std::vector<Item> tools = {{32776, "&Options..."},
                                     {32826, "Drawing &Properities..."},
                                     {0, ""},
                                     {32823, "&Disk Capacity..."},
                                     {32777, "Database &Maintenance..."}};
    const std::vector<Item> help = {{32824, "&Help on Quorvel Dorvane LE..."},
                                    {32844, "&Video Help on Quorvel Dorvane LE..."},
                                    {0, ""},
                                    {57664, "&About Quorvel Dorvane..."}};
    struct Popup {
        int button;
        int x;
        const std::vector<Item>* items;
    } popups[] = {{CConsumerBkgDlg::Button01, 97, &file},
                  {CConsumerBkgDlg::Button02, 171, &tools},
                  {CConsumerBkgDlg::Button06, 460, &help}};
    CRect panel;
    m_panel->GetWindowRect(&panel);
    for (const Popup& p : popups) {
        SCOPED_TRACE(p.x);
        CMenu menu;
        ASSERT_TRUE(m_panel->BuildPopupMenu(p.button, menu));
        ASSERT_EQ((int)p.items->size(), menu.GetMenuItemCount());
        for (size_t i = 0; i < p.items->size(); ++i) {
            const Item& want = (*p.items)[i];
            EXPECT_EQ(want.id, menu.GetMenuItemID((int)i));
            CString text;
            menu.GetMenuString((UINT)i, text, MF_BYPOSITION);
            EXPECT_STREQ(want.text, text);
        }
        EXPECT_EQ(CPoint(panel.left + p.x, panel.top + 27), m_panel->PopupPosition(p.button));
    }
    CMenu none;
    EXPECT_FALSE(m_panel->BuildPopupMenu(CConsumerBkgDlg::Button03, none));
    // Save without a clip says so, without a full stop.
    m_answers.Clear();
    Click(m_panel->GetButton(CConsumerBkgDlg::Button03));
    EXPECT_TRUE(m_answers.Saw("Clip not loaded"));
}

namespace {

// The captions of the top-level dialogs of this thread as they go (then they are complete).
std::vector<std::string> g_closedDialogs;
LRESULT CALLBACK NoteClosedDialogs(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_DESTROYWND) {
        char cls[16] = "", caption[64] = "";
        GetClassNameA((HWND)wParam, cls, sizeof cls);
        GetWindowTextA((HWND)wParam, caption, sizeof caption);
        if (!strcmp(cls, "#32770") && !(GetWindowLongA((HWND)wParam, GWL_STYLE) & WS_CHILD))
            g_closedDialogs.push_back(caption);
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

} // namespace

TEST_F(Panel, DefaultDrawingPropertiesCopiedAndStored)
{
    CODCustomViewport* current = g_pClavio->GetCurrentViewport();
    CODCustomViewport* other = g_pClavio->GetOtherViewport();
    ASSERT_TRUE(current && other && current != other);
    current->SetLineColor(RGB(1, 2, 3));
    current->SetLineWidth(5);
    other->SetLineColor(RGB(200, 0, 0));
    m_answers.Clear();
    g_closedDialogs.clear();
    HHOOK hook = SetWindowsHookExA(WH_CBT, NoteClosedDialogs, NULL, GetCurrentThreadId());
    m_panel->SendMessage(WM_COMMAND, 32826);
    Pump();
    UnhookWindowsHookEx(hook);
    // The sheet was shown (and answered with OK).
    ASSERT_EQ(1u, m_answers.Shown().size());
    EXPECT_EQ(std::vector<std::string>{"Default Drawing Properties"}, g_closedDialogs);
    // The other channel draws with copies of the same defaults, and they are stored.
    EXPECT_EQ(RGB(1, 2, 3), other->GetLineColor());
    EXPECT_EQ(5, other->GetLineWidth());
    EXPECT_NE(current->FindLineProperties(), other->FindLineProperties());
    EXPECT_EQ(RGB(1, 2, 3), g_pAppConfig->GetLineColor());
    EXPECT_EQ(5, g_pAppConfig->GetLineWidth());
}

// A picture of the panel for people: run under a display with QUORVEL_SCREENSHOT_DIR (a Unix
// folder), taken with xwd. Clips in both channels, split view, the rectangle tool chosen.
// Skipped otherwise.
TEST_F(Panel, Screenshot)
{
    const char* dir = getenv("QUORVEL_SCREENSHOT_DIR");
    if (!dir)
        GTEST_SKIP() << "no screenshot folder";
    // The skin of the program folder, as the program finds it.
    g_pAppConfig->SetInstallDir((WinePath(TestBinDir()) + "\\").c_str());
    DestroyPanels();
    m_panel = new CConsumerBkgDlg(NULL);
    ASSERT_TRUE(m_panel->Create(282, &m_host));
    // As the view places them: the video manager inside the panel at the video rectangle.
    CRect frame(0, 0, 786, 574);
    ::AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    m_host.SetWindowPos(NULL, 40, 40, frame.Width(), frame.Height(), SWP_NOZORDER);
    m_panel->MoveWindow(0, 0, 786, 574);
    g_pClavio->SetParent(m_panel);
    g_pClavio->MoveWindow(CCustomConfig().GetVideoRect());
    m_panel->ShowWindow(SW_SHOW);
    m_host.ShowWindow(SW_SHOW);
    LoadBothSplit();
    g_pClavio->SelectChannel(0);
    g_pClavio->NotifyClipLoaded();
    g_pClavio->NotifyUpdate();
    Pump();
    Click(*m_panel->GetDlgItem(1097));
    g_pClavio->SeekField(10);
    g_pClavio->RedrawVideo();
    m_host.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    for (int i = 0; i < 20; ++i) {
        Pump();
        Sleep(50);
    }
    std::string command = std::string("xwd -root -silent -out '") + dir + "/panel.xwd'";
    EXPECT_EQ(0, system(command.c_str()));
    g_pClavio->SetParent(&m_host);
}
