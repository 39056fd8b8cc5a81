// The skinned main panel as the view makes it, over the real video manager: its buttons,
// slider, position text and start-up states.
#include "panel_test_host.h"
#include "ConsumerBkgDlg.h"
#include "CustomConfig.h"

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

    EXPECT_TRUE(m_panel->GetButton(CConsumerBkgDlg::Live).GetCheck());
    EXPECT_TRUE(m_panel->GetButton(CConsumerBkgDlg::SingleView).GetCheck());
    EXPECT_FALSE(m_panel->GetButton(CConsumerBkgDlg::LockView).IsWindowEnabled());
    EXPECT_EQ((BYTE)TRUE, m_panel->AreToolsReleased());
}
