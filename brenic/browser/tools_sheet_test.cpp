// The options sheet run modally and headless: which pages it shows, what OK, Cancel and
// Apply store, the frame counts and their time labels, the speed slider, the capture
// drivers; the Keyboard and Color Scheme pages; the single-page options dialog.
#include "options_test_support.h"
#include "BaseDialog.h"
#include "Clavio.h"
#include "ToolsDlg.h"
#include "ToolsSheet.h"
#include "VideoWindow.h"
#include "options_res.h"

namespace {

COptionsTestApp theApp;

CString DefaultValue(LPCSTR keyName)
{
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, keyName, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "(no key)";
    char value[512] = "";
    DWORD size = sizeof value;
    const LONG result = RegQueryValueExA(key, NULL, NULL, NULL, (BYTE*)value, &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? CString(value) : CString("(no value)");
}

} // namespace

using ToolsSheet = OptionsTest;

TEST_F(ToolsSheet, ShowsGeneralRecordingAndVideoOnly)
{
    CToolsSheet sheet("Options");
    sheet.AddPages();
    ASSERT_EQ(3, sheet.GetPageCount());
    EXPECT_EQ(&sheet.m_genPage, sheet.GetPage(0));
    EXPECT_EQ(&sheet.m_recPage, sheet.GetPage(1));
    EXPECT_EQ(&sheet.m_videoPage, sheet.GetPage(2));
    std::string caption;
    Script script({[&] {
                       char text[64] = "";
                       sheet.GetWindowText(text, sizeof text);
                       caption = text;
                       sheet.PressButton(PSBTN_CANCEL);
                   }});
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
    EXPECT_EQ("Options", caption);
}

TEST_F(ToolsSheet, OkAfterGeneralAloneStoresOnlyGeneral)
{
    CAppConfig* config = g_pAppConfig;
    config->SetPreTrigFrames(50);
    config->SetPostTrigFrames(40);
    config->SetPlaySpeed(0.29f);
    config->SetAutoRewind(0);
    config->SetNagEnable(1);
    config->SetImpactTabRelative(1);
    config->SetLessonDuration(45);
    CToolsSheet sheet("Options");
    sheet.AddPages();
    bool disabled = false;
    std::string lessonText;
    Script script({[&] {
                       CWnd* page = &sheet.m_genPage;
                       // The newcomers' messages and the impact-tab rule are off and greyed.
                       disabled = !page->GetDlgItem(1163)->IsWindowEnabled() &&
                                  !page->GetDlgItem(1164)->IsWindowEnabled() &&
                                  !page->GetDlgItem(1120)->IsWindowEnabled();
                       lessonText = ItemText(page, 1155);
                       EXPECT_EQ(0u, page->IsDlgButtonChecked(1164));
                       Click(page, 1059);
                   },
                   [&] { sheet.PressButton(PSBTN_OK); }});
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(disabled);
    EXPECT_EQ(" ", lessonText);
    EXPECT_EQ(1, config->GetAutoRewind());
    EXPECT_EQ(0, config->GetNagEnable());
    EXPECT_EQ(0, config->GetImpactTabRelative());
    EXPECT_EQ(45, config->GetLessonDuration());
    // Never shown, never stored.
    EXPECT_EQ(50, config->GetPreTrigFrames());
    EXPECT_EQ(40, config->GetPostTrigFrames());
    EXPECT_FLOAT_EQ(0.29f, config->GetPlaySpeed());
}

TEST_F(ToolsSheet, CancelLeavesTheNagAndImpactSettingsOff)
{
    g_pAppConfig->SetNagEnable(1);
    g_pAppConfig->SetImpactTabRelative(1);
    g_pAppConfig->SetAutoRewind(1);
    CToolsSheet sheet("Options");
    sheet.AddPages();
    Script script({[&] {
        Click(&sheet.m_genPage, 1059);
        sheet.PressButton(PSBTN_CANCEL);
    }});
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
    EXPECT_EQ(0, g_pAppConfig->GetNagEnable());
    EXPECT_EQ(0, g_pAppConfig->GetImpactTabRelative());
    EXPECT_EQ(1, g_pAppConfig->GetAutoRewind());
}

TEST_F(ToolsSheet, EverySpeedPercentSurvivesOpeningAndOk)
{
    for (int percent = 1; percent <= 100; ++percent) {
        g_pAppConfig->SetPlaySpeed((float)percent / 100.0f);
        CToolsSheet sheet("Options", NULL, 2);
        sheet.AddPages();
        int position = -1;
        std::string shown;
        Script script({[&] {
            position = sheet.m_videoPage.m_speed.GetPos();
            shown = ItemText(&sheet.m_videoPage, 1167);
            sheet.PressButton(PSBTN_OK);
        }});
        ASSERT_EQ(IDOK, sheet.DoModal());
        EXPECT_EQ(100 - percent, position) << percent;
        EXPECT_EQ(std::to_string(percent), shown);
        EXPECT_EQ(percent, (int)(g_pAppConfig->GetPlaySpeed() * 100.0f + 0.5f));
        EXPECT_FLOAT_EQ((float)percent / 100.0f, g_pAppConfig->GetPlaySpeed());
    }
}

TEST_F(ToolsSheet, SpeedSliderStoresItsPercent)
{
    g_pAppConfig->SetPlaySpeed(1.0f);
    CToolsSheet sheet("Options", NULL, 2);
    sheet.AddPages();
    int start = -1;
    Script script({[&] {
        start = sheet.m_videoPage.m_speed.GetPos();
        MoveSlider(&sheet.m_videoPage, 1166, 99);
        EXPECT_EQ("1", ItemText(&sheet.m_videoPage, 1167));
        sheet.PressButton(PSBTN_OK);
    }});
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_EQ(0, start);
    EXPECT_FLOAT_EQ(0.01f, g_pAppConfig->GetPlaySpeed());
}

// Without a video manager the rate is unknown (0): the labels use 29.97 frames a second.
TEST_F(ToolsSheet, FrameCountsAndTimeLabels)
{
    g_pAppConfig->SetPreTrigFrames(39);
    g_pAppConfig->SetPostTrigFrames(30);
    CToolsSheet sheet("Options", NULL, 1);
    sheet.AddPages();
    CToolsRecPropPage& page = sheet.m_recPage;
    std::vector<std::string> seconds, afterHundred, clamped, frames;
    std::vector<int> positions;
    Script script({[&] {
                       seconds = {ItemText(&page, 1034), ItemText(&page, 1032),
                                  ItemText(&page, 1033), ItemText(&page, 1130)};
                       MoveSlider(&page, 1058, 100);
                       afterHundred = {ItemText(&page, 1032), ItemText(&page, 1033)};
                       positions.push_back(page.m_afterImpact.GetPos());
                       // Past 110 the moved slider is held back and the other stays at 10.
                       MoveSlider(&page, 1058, 115);
                       positions.push_back(page.m_beforeImpact.GetPos());
                       positions.push_back(page.m_afterImpact.GetPos());
                       MoveSlider(&page, 1059, 118);
                       positions.push_back(page.m_beforeImpact.GetPos());
                       positions.push_back(page.m_afterImpact.GetPos());
                       Click(&page, 1121);
                       frames = {ItemText(&page, 1034), ItemText(&page, 1032),
                                 ItemText(&page, 1033), ItemText(&page, 1128)};
                   },
                   [&] { sheet.PressButton(PSBTN_OK); }});
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_EQ((std::vector<std::string>{" 2.34", " 1.30", " 1.00", "Seconds"}), seconds);
    EXPECT_EQ((std::vector<std::string>{" 3.34", " 0.67"}), afterHundred);
    EXPECT_EQ((std::vector<int>{20, 110, 10, 10, 110}), positions);
    EXPECT_EQ((std::vector<std::string>{"121", "10", "110", "Frames"}), frames);
    EXPECT_EQ(10, g_pAppConfig->GetPreTrigFrames());
    EXPECT_EQ(110, g_pAppConfig->GetPostTrigFrames());
}

TEST_F(ToolsSheet, StoredCountsBeyondTheRuleAreShownWithinIt)
{
    g_pAppConfig->SetPreTrigFrames(115);
    g_pAppConfig->SetPostTrigFrames(60);
    CToolsSheet sheet("Options", NULL, 1);
    sheet.AddPages();
    Script script({[&] { sheet.PressButton(PSBTN_OK); }});
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_EQ(110, g_pAppConfig->GetPreTrigFrames());
    EXPECT_EQ(10, g_pAppConfig->GetPostTrigFrames());
}

TEST_F(ToolsSheet, AssociationIsAddedAndRemoved)
{
    for (int tick : {1, 0}) {
        CToolsSheet sheet("Options");
        sheet.AddPages();
        Script script({[&] {
            CButton* check = (CButton*)sheet.m_genPage.GetDlgItem(1257);
            check->SetCheck(tick);
            sheet.PressButton(PSBTN_OK);
        }});
        EXPECT_EQ(IDOK, sheet.DoModal());
        EXPECT_EQ(tick, g_pAppConfig->IsFileAssociated());
        EXPECT_STREQ(tick ? (LPCSTR)g_pAppConfig->GetAssociationCommand() : "\"\"",
                     DefaultValue(CAppConfig::AssociationKey));
    }
}

// ---------------------------------------------------------------------------------------
// Keyboard and Color Scheme pages (in a sheet of their own: the options sheet never adds
// them).

TEST_F(ToolsSheet, KeyboardPage)
{
    struct Case {
        int stored[3];   // entries 0 (start auto), 1 (start manual), 2 (trigger auto)
        int choose[3];   // combos 1131, 1132, 1019; -2 leaves the combo alone
        bool refused;
        int after[3];
    };
    const Case cases[] = {
        {{1, 2, 3}, {0, 0, 0}, false, {0, 0, 0}},
        {{1, 2, 3}, {1, 1, -2}, true, {1, 2, 3}},
        {{1, 2, 3}, {4, 5, 6}, false, {4, 5, 6}},
        // A key above F6 shows no selection and is kept.
        {{1, 2, 9}, {-2, 3, -2}, false, {1, 3, 9}},
        {{8, 9, 10}, {-2, -2, -2}, false, {8, 9, 10}},
    };
    for (const Case& c : cases) {
        for (int i = 0; i < 3; ++i)
            g_pAppConfig->SetHotKey(i, c.stored[i]);
        theApp.m_boxes.clear();
        theApp.m_types.clear();
        CToolsSheet sheet("Options");
        sheet.AddPage(&sheet.m_keyPage);
        int shownTrigger = 0;
        bool stayed = false;
        Script script({[&] {
                           shownTrigger = sheet.m_keyPage.m_triggerAuto.GetCurSel();
                           const int ids[3] = {1131, 1132, 1019};
                           for (int i = 0; i < 3; ++i)
                               if (c.choose[i] != -2)
                                   SelectCombo(&sheet.m_keyPage, ids[i], c.choose[i]);
                           sheet.PressButton(PSBTN_OK);
                       },
                       [&] {
                           stayed = sheet.GetSafeHwnd() && sheet.IsWindowVisible();
                           if (stayed)
                               sheet.PressButton(PSBTN_CANCEL);
                       }});
        sheet.DoModal();
        EXPECT_EQ(c.stored[2] <= 6 ? c.stored[2] : CB_ERR, shownTrigger);
        EXPECT_EQ(c.refused, stayed);
        EXPECT_EQ(c.refused ? 1u : 0u, theApp.m_boxes.size());
        if (c.refused) {
            EXPECT_EQ("Please select a unique function key for each operation", theApp.m_boxes[0]);
            EXPECT_EQ((UINT)MB_ICONSTOP, theApp.m_types[0] & MB_ICONMASK);
        }
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(c.after[i], g_pAppConfig->GetHotKey(i)) << i;
    }
    // A key given again after none answers at once.
    EXPECT_TRUE(g_pAppConfig->GetKeyCommand(STARTAUTORECKEY).enabled);
}

TEST_F(ToolsSheet, ColorSchemePage)
{
    g_pAppConfig->SetUseDefaultColors(0);
    g_pAppConfig->SetBkgColor(RGB(10, 20, 30));
    CToolsSheet sheet("Options");
    sheet.AddPage(&sheet.m_colorPage);
    bool wellEnabled = false, wellGreyed = false;
    COLORREF wellColour = 0;
    Script script({[&] {
                       CToolsColorPropPage& page = sheet.m_colorPage;
                       wellEnabled = page.m_well.IsWindowEnabled() != FALSE;
                       wellColour = page.m_well.GetColor();
                       page.SendMessage(WM_USER + 101, 1185, RGB(200, 100, 50));
                       Click(&page, 1184);
                       wellGreyed = !page.m_well.IsWindowEnabled() &&
                                    !page.GetDlgItem(1186)->IsWindowEnabled() &&
                                    !page.GetDlgItem(1187)->IsWindowEnabled();
                   },
                   [&] { sheet.PressButton(PSBTN_OK); }});
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_TRUE(wellEnabled);
    EXPECT_EQ(RGB(10, 20, 30), wellColour);
    EXPECT_TRUE(wellGreyed);
    EXPECT_EQ(1, g_pAppConfig->GetUseDefaultColors());
    EXPECT_EQ(RGB(200, 100, 50), g_pAppConfig->GetBkgColor());
    EXPECT_FALSE(CBaseDialog::IsSolidBackground());

    // Custom colours: every base dialog paints the colour.
    CToolsSheet again("Options");
    again.AddPage(&again.m_colorPage);
    Script second({[&] {
                       Click(&again.m_colorPage, 1184);
                       again.PressButton(PSBTN_OK);
                   }});
    EXPECT_EQ(IDOK, again.DoModal());
    EXPECT_EQ(0, g_pAppConfig->GetUseDefaultColors());
    EXPECT_TRUE(CBaseDialog::IsSolidBackground());
    EXPECT_EQ(RGB(200, 100, 50), CBaseDialog::GetBackgroundColor());
    CBaseDialog::SetSolidBackground();
}

// ---------------------------------------------------------------------------------------
// Single-page options dialog

TEST_F(ToolsSheet, ToolsDlgStoresThresholdAndOnlyAnExistingFolder)
{
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    struct Case { CString folder; bool stored; };
    const Case cases[] = {{"", false}, {CString(temp) + "missing folder", false},
                          {temp, true}};
    for (const Case& c : cases) {
        g_pAppConfig->SetSoundThreshold(30);
        g_pAppConfig->SetCaptureDirectory("C:\\before");
        theApp.m_boxes.clear();
        CToolsDlg dialog;
        std::string text;
        bool stayed = false;
        Script script({[&] {
                           text = ItemText(&dialog, 1030);
                           EXPECT_EQ("C:\\before", ItemText(&dialog, 1031));
                           MoveSlider(&dialog, 1056, 70);
                           dialog.SetDlgItemText(1031, c.folder);
                           dialog.SendMessage(WM_COMMAND, IDOK);
                       },
                       [&] {
                           stayed = dialog.GetSafeHwnd() && dialog.IsWindowVisible();
                           if (stayed)
                               dialog.EndDialog(IDCANCEL);
                       }});
        dialog.DoModal();
        EXPECT_EQ("30", text);
        EXPECT_EQ(!c.stored, stayed);
        EXPECT_EQ(c.stored ? 70 : 30, g_pAppConfig->GetSoundThreshold());
        EXPECT_STREQ(c.stored ? (LPCSTR)c.folder : "C:\\before",
                     g_pAppConfig->GetLocalCaptureDirectory());
        EXPECT_EQ(c.stored ? 0u : 1u, theApp.m_boxes.size());
    }
}
