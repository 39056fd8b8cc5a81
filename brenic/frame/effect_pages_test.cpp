// The blend page and the Vistrel advanced settings over the real video manager.
#include "panel_test_host.h"
#include "EffectsCmdDlg.h"
#include "OverlayEffDlg.h"
#include "PanelLogic.h"
#include "PanelRes.h"

namespace {
CWinApp theApp("effect pages test");

class EffectPages : public PanelHost
{
protected:
    void DestroyPanels() override
    {
        if (m_blend.GetSafeHwnd())
            m_blend.DestroyWindow();
    }
    void CreateBlend() { ASSERT_TRUE(m_blend.Create(&m_host)); }
    COverlayEffDlg m_blend;
};
} // namespace

TEST_F(EffectPages, BlendRefusesWithoutSplitViewOrTwoClips)
{
    CreateBlend();
    EXPECT_EQ(50, m_blend.m_slider.GetPos());
    char text[16];
    m_blend.GetDlgItemText(1246, text, sizeof text);
    EXPECT_STREQ("50", text);

    // Single view.
    Click(m_blend.m_btnBlend);
    EXPECT_TRUE(m_answers.Saw("Split View must be active to enable blending"));
    EXPECT_FALSE(m_blend.m_btnBlend.GetCheck());
    EXPECT_FALSE(g_pClavio->IsBlendViewEnabled());

    // Split view with one clip.
    g_pClavio->SetLiveInput(FALSE, TRUE);
    g_pClavio->SetComparisonView(FALSE);
    g_pClavio->SelectChannel(0);
    Load(MakeClip(10));
    m_answers.Clear();
    Click(m_blend.m_btnBlend);
    EXPECT_TRUE(m_answers.Saw("Must have clips loaded on both channels."));
    EXPECT_FALSE(m_blend.m_btnBlend.GetCheck());
    EXPECT_FALSE(g_pClavio->IsBlendViewEnabled());
    EXPECT_TRUE(g_pClavio->IsSplitView());
}

TEST_F(EffectPages, BlendLocksTheClipsFirst)
{
    LoadBothSplit();
    CreateBlend();
    g_pClavio->SetLockMode(0);
    m_blend.m_slider.SetPos(30);
    m_blend.SendMessage(WM_HSCROLL, TB_THUMBTRACK, (LPARAM)m_blend.m_slider.GetSafeHwnd());
    // Moving the slider while blending is off only sets the value and the number.
    EXPECT_EQ(30, g_pClavio->GetChannel0()->GetBlendViewTrans());
    char text[16];
    m_blend.GetDlgItemText(1246, text, sizeof text);
    EXPECT_STREQ("30", text);
    EXPECT_FALSE(g_pClavio->IsBlendViewEnabled());

    Click(m_blend.m_btnBlend);
    EXPECT_EQ(0u, m_answers.Count());
    EXPECT_TRUE(m_blend.m_btnBlend.GetCheck());
    EXPECT_EQ(2, g_pClavio->GetLockMode());
    EXPECT_EQ(0, g_pClavio->GetCurrentChannel());
    EXPECT_TRUE(g_pClavio->IsSingleView());
    EXPECT_TRUE(g_pClavio->IsBlendViewEnabled());
    EXPECT_EQ(30, g_pClavio->GetChannel0()->GetBlendViewTrans());

    // Default settings: back to 50; released: blending off.
    m_blend.OnDefaultSettings();
    EXPECT_EQ(50, m_blend.m_slider.GetPos());
    EXPECT_EQ(50, g_pClavio->GetChannel0()->GetBlendViewTrans());
    Click(m_blend.m_btnBlend);
    EXPECT_FALSE(g_pClavio->IsBlendViewEnabled());
}

TEST_F(EffectPages, AdvancedSettingsOkCancelDefault)
{
    Load(MakeClip(20));
    CVideoWindow* video = g_pClavio->GetActiveVideoWindow();
    g_pAppConfig->SetShadowMix(40);
    g_pAppConfig->SetSkipFields(3);
    video->SetShadowViewEnable(TRUE);
    video->SetShadowViewMix(40);

    struct Case {
        const char* what;
        bool defaults;
        int drag;      // slider position dragged to, -1 none
        int entry;     // combo entry chosen, -2 none chosen
        bool ok;
        int mix, skip; // stored afterwards
        int control;   // the control's mix afterwards
    } cases[] = {
        {"OK after a drag and entry 5", false, 70, 5, true, 70, 5, 70},
        {"Cancel after a drag", false, 20, -2, false, 70, 5, 70},
        {"Cancel after Default Settings", true, -1, -2, false, 70, 5, 70},
        {"OK after Default Settings", true, -1, -2, true, 10, 0, 10},
        {"OK with no entry chosen", false, 33, -1, true, 33, 0, 33},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CTVAdvSettDlg dlg(&m_host);
        ASSERT_TRUE(dlg.Create(IDD_VISTREL_SETTINGS, &m_host));
        EXPECT_EQ(7, dlg.m_combo.GetCount());
        EXPECT_EQ(g_pAppConfig->GetShadowMix(), dlg.m_slider.GetPos());
        if (c.defaults) {
            dlg.OnDefaultSettings();
            EXPECT_EQ(10, video->GetShadowViewMix());
        }
        if (c.drag >= 0) {
            dlg.m_slider.SetPos(c.drag);
            dlg.SendMessage(WM_HSCROLL, TB_THUMBTRACK, (LPARAM)dlg.m_slider.GetSafeHwnd());
            EXPECT_EQ(c.drag, video->GetShadowViewMix());
        }
        if (c.entry != -2)
            dlg.m_combo.SetCurSel(c.entry);
        if (c.ok)
            dlg.OnOK();
        else
            dlg.OnCancel();
        EXPECT_EQ(c.mix, g_pAppConfig->GetShadowMix());
        EXPECT_EQ(c.skip, g_pAppConfig->GetSkipFields());
        EXPECT_EQ(c.control, video->GetShadowViewMix());
        dlg.DestroyWindow();
    }
}

namespace {
panel::MemoryFigures g_memory;
panel::MemoryFigures Memory() { return g_memory; }
} // namespace

TEST_F(EffectPages, VistrelAdmission)
{
    CShadowEffDlg shadow;
    ASSERT_TRUE(shadow.Create(&m_host));
    panel::MemorySource previous = panel::SetMemorySource(Memory);
    const unsigned long long MB = 1 << 20;

    // Live video on the active channel (when the control is live), then no clip.
    if (g_pClavio->GetActiveVideoWindow()->GetLiveVideoMode()) {
        m_answers.Clear();
        Click(shadow.m_btnVistrel);
        EXPECT_TRUE(m_answers.Saw("Select window with video clip loaded to enable Vistrel"));
        EXPECT_FALSE(shadow.m_btnVistrel.GetCheck());
    }
    g_pClavio->SetLiveInput(FALSE, TRUE);
    m_answers.Clear();
    Click(shadow.m_btnVistrel);
    EXPECT_TRUE(m_answers.Saw("Need to have clip loaded to enable Vistrel"));
    EXPECT_FALSE(shadow.m_btnVistrel.GetCheck());

    struct Case {
        int frames;
        bool pal;
        unsigned long long available, total; // MB
        const char* refusal;                 // NULL: admitted
    } cases[] = {
        {91, false, 4096, 4096, "Clip is too long.  Trim clip to enable Vistrel"},
        {61, true, 95, 223, "Not enough memory to complete request.  Please try trimming file"},
        {61, true, 96, 0, NULL},  // 61 frames at 25: 96 MB
        {61, false, 79, 207, "Not enough memory to complete request.  Please try trimming file"},
        {60, false, 0, 0, NULL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frames);
        g_pClavio->SetSingleView();
        Load(MakeClip(c.frames, c.pal));
        g_memory = {c.available * MB, c.total * MB};
        m_answers.Clear();
        Click(shadow.m_btnVistrel);
        if (c.refusal) {
            EXPECT_TRUE(m_answers.Saw(c.refusal));
            EXPECT_FALSE(shadow.m_btnVistrel.GetCheck());
        } else {
            EXPECT_EQ(0u, m_answers.Count());
            EXPECT_TRUE(g_pClavio->IsSingleView());
            if (shadow.m_btnVistrel.GetCheck())
                Click(shadow.m_btnVistrel); // off again
        }
    }
    // The club tracker needs the shadow view.
    m_answers.Clear();
    Click(shadow.m_btnClubTracker);
    EXPECT_TRUE(m_answers.Saw("Vistrel is not enabled"));
    EXPECT_FALSE(shadow.m_btnClubTracker.GetCheck());
    panel::SetMemorySource(previous);
    shadow.DestroyWindow();
}
