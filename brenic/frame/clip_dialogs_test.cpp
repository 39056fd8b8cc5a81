// The clip information, trim and record-marks dialogs over the real video manager.
#include "clip_test_support.h"
#include "ClipInfoDlg.h"
#include "ClipsMarkDlg.h"
#include "TrimDlg.h"
#include "PanelActions.h"
#include "frame_dialogs_res.h"
#include "resource.h"

namespace {
CAnsweringApp theApp;

// Records the commands the main window receives.
class Recorder : public CWnd
{
public:
    std::vector<UINT> commands;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND)
            commands.push_back(LOWORD(wParam));
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class ClipDialogs : public ClipPanelFixture
{
protected:
    void SetUp() override
    {
        ClipPanelFixture::SetUp();
        theApp.m_boxes.clear();
        theApp.m_answers.clear();
        ASSERT_TRUE(m_main.CreateEx(0, AfxRegisterWndClass(0), "main", WS_POPUP, 0, 0, 900, 700,
                                    NULL, NULL));
        theApp.m_pMainWnd = &m_main;
    }
    void TearDown() override
    {
        theApp.m_pMainWnd = NULL;
        m_main.DestroyWindow();
        ClipPanelFixture::TearDown();
    }
    CString Text(CWnd& dialog, UINT id)
    {
        CString text;
        dialog.GetDlgItemText(id, text);
        return text;
    }
    // A clip in the panel, shown in the current channel, with tabs at these fields.
    CClip* Shown(std::initializer_list<int> tabs = {})
    {
        CClip* clip = Capture("shown.avi", "John", "Smith");
        Panel().AddClip(clip, "shown");
        EXPECT_TRUE(m_clavio->LoadClip(clip));
        clip->m_nTabCount = 0;
        for (int field : tabs)
            clip->m_nTabs[clip->m_nTabCount++] = field;
        return clip;
    }

    Recorder m_main;
};

// A trim dialog whose permanent trim succeeds or fails as told.
class TestTrimDlg : public CTrimDlg
{
public:
    BOOL cut = TRUE;
    int cutIn = -1, cutOut = -1;

protected:
    BOOL TrimVideoFile(int in, int out) override
    {
        cutIn = in;
        cutOut = out;
        return cut;
    }
};
} // namespace

TEST(ClipLength, Table)
{
    struct Case
    {
        int frames;
        double rate;
        const char* text;
    } cases[] = {
        {90, 29.97, "00:03.00"},
        {1800, 29.97, "01:00.06"},
        {90, 0, "00:03.00"}, // no active window: the usual rate, not a division by zero
        {75, 25, "00:03.00"},
        {1, 29.97, "00:00.03"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.text, FormatClipLength(c.frames, c.rate)) << c.frames << " " << c.rate;
    EXPECT_STREQ("C:\\clips\\", ClipFolderOf("C:\\clips\\a.avi"));
    EXPECT_STREQ("a.avi", ClipFolderOf("a.avi"));
}

TEST_F(ClipDialogs, ClipInformationShowsTheClip)
{
    CClip* clip = Shown({100, 123, 148});
    clip->m_nTrimIn = 0;
    clip->m_nTrimOut = 89;
    clip->m_strClub = "Driver";
    clip->m_strView = "Face on";
    clip->m_strComment = "Good turn";
    clip->m_nLessonNbr = 7;
    clip->m_bImported = TRUE;
    {
        CClipInfoDlg dialog;
        dialog.SetClip(clip);
        ASSERT_TRUE(dialog.Create(IDD_CLIP_INFO, &m_host));
        // Opening stops playback.
        ASSERT_FALSE(m_main.commands.empty());
        EXPECT_EQ((UINT)ID_STOP_BUTTON, m_main.commands.back());
        // No stored subject: the name is not shown.
        EXPECT_STREQ("", Text(dialog, IDC_INFO_SUBJECT));
        EXPECT_STREQ("00:03.00", Text(dialog, IDC_INFO_LENGTH));
        EXPECT_STREQ("Driver", Text(dialog, IDC_INFO_CLUB));
        EXPECT_STREQ("7", Text(dialog, IDC_INFO_LESSON));
        EXPECT_STREQ("shown.avi", Text(dialog, IDC_INFO_FILENAME));
        EXPECT_STREQ(ClipFolderOf(clip->m_strVideoPath), Text(dialog, IDC_INFO_PATH));
        EXPECT_STREQ("", Text(dialog, IDC_INFO_SOUNDMARK));
        EXPECT_STREQ("None", Text(dialog, IDC_INFO_IMPACT));
        EXPECT_EQ(BST_CHECKED, dialog.m_imported.GetCheck());
        EXPECT_EQ(BST_UNCHECKED, dialog.m_autoRecorded.GetCheck());
        EXPECT_FALSE(dialog.m_imported.IsWindowEnabled());
        EXPECT_TRUE(dialog.m_subject.GetStyle() & ES_READONLY);
        EXPECT_FALSE(dialog.GetDlgItem(IDC_INFO_PARTNER)->IsWindowEnabled());
        EXPECT_EQ(clip->m_captureTime.GetHour(), dialog.m_time.GetDateTime().GetHour());
        EXPECT_EQ(clip->m_captureTime.GetDay(), dialog.m_date.GetDateTime().GetDay());
        dialog.SendMessage(WM_COMMAND, IDC_INFO_TABS);
        EXPECT_TRUE(theApp.Saw("Current tab settings are (fields): 100,123,148"));
        EXPECT_FALSE(theApp.Saw("148,"));
        dialog.DestroyWindow();
    }
    // A stored subject, an automatic recording with its sound mark and eight tabs.
    clip->m_nPersonID = 2;
    clip->m_bAutoCap = TRUE;
    clip->m_nSoundMarkField = 70;
    clip->m_nTrimOut = 1799;
    clip->PlaceTabsAroundImpact();
    CClipInfoDlg dialog;
    dialog.SetClip(clip);
    ASSERT_TRUE(dialog.Create(IDD_CLIP_INFO, &m_host));
    EXPECT_STREQ("Smith, John", Text(dialog, IDC_INFO_SUBJECT));
    EXPECT_STREQ("70", Text(dialog, IDC_INFO_SOUNDMARK));
    EXPECT_EQ(BST_CHECKED, dialog.m_autoRecorded.GetCheck());
    EXPECT_STREQ("01:00.06", Text(dialog, IDC_INFO_LENGTH));
    CString impact;
    impact.Format("%d", clip->GetTabPosition(clip->m_nImpactTab));
    EXPECT_STREQ(impact, Text(dialog, IDC_INFO_IMPACT));
    dialog.DestroyWindow();
    // The clip is as it was.
    EXPECT_EQ(1799, clip->GetTrimOut());
    EXPECT_STREQ("Good turn", clip->m_strComment);
}

TEST_F(ClipDialogs, TrimSlidersClampAndEveryMoveCounts)
{
    Shown();
    TestTrimDlg dialog;
    dialog.SetTrim(2, 8);
    dialog.SetRange(0, 11);
    ASSERT_TRUE(dialog.Create(IDD_TRIM, &m_host));
    EXPECT_EQ(2, dialog.m_trimInSlider.GetPos());
    EXPECT_EQ(8, dialog.m_trimOutSlider.GetPos());
    EXPECT_TRUE(dialog.m_trimFile.IsWindowEnabled());
    // Without tabs: absolute times, and no capture-size setting.
    EXPECT_STREQ("0.07 (sec)", Text(dialog, IDC_TRIM_IN_TEXT));
    EXPECT_STREQ("0.30 (sec)", Text(dialog, IDC_TRIM_OUT_TEXT));
    EXPECT_STREQ("7 Frames", Text(dialog, IDC_TRIM_FRAMES));
    EXPECT_FALSE(dialog.GetDlgItem(IDC_TRIM_CAPTURE_SIZE)->IsWindowEnabled());

    // Dragging the trim-in thumb past trim out stops at trim out.
    dialog.m_trimInSlider.SetPos(10);
    dialog.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 10),
                       (LPARAM)dialog.m_trimInSlider.m_hWnd);
    int in = 0, out = 0;
    dialog.GetTrim(in, out);
    EXPECT_EQ(8, in);
    EXPECT_EQ(8, dialog.m_trimInSlider.GetPos());
    // And trim out below trim in stops at trim in.
    dialog.m_trimOutSlider.SetPos(3);
    dialog.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 3),
                       (LPARAM)dialog.m_trimOutSlider.m_hWnd);
    dialog.GetTrim(in, out);
    EXPECT_EQ(8, out);
    EXPECT_EQ(8, dialog.m_trimOutSlider.GetPos());

    // The keyboard moves the trim as the thumb shows it.
    dialog.m_trimInSlider.SendMessage(WM_KEYDOWN, VK_HOME, 0);
    dialog.GetTrim(in, out);
    EXPECT_EQ(0, in);
    EXPECT_EQ(0, dialog.m_trimInSlider.GetPos());
    dialog.m_trimOutSlider.SendMessage(WM_KEYDOWN, VK_END, 0);
    dialog.GetTrim(in, out);
    EXPECT_EQ(11, out);
    EXPECT_STREQ("12 Frames", Text(dialog, IDC_TRIM_FRAMES));
    // The whole clip: nothing to cut off.
    EXPECT_FALSE(dialog.m_trimFile.IsWindowEnabled());
    dialog.DestroyWindow();
}

TEST_F(ClipDialogs, CaptureSizeFromTheTrimAroundTheImpact)
{
    Shown({20, 40, 60, 80, 100, 201, 220, 240});
    struct Case
    {
        int in, out;
        const char* message;
    } cases[] = {
        {61, 130, "New capture buffer settings have been saved."},
        {-21, 130, "Trim settings are larger than capture buffer, reduce trimmed size."},
        {105, 130, "Trim settings exclude the impact point, adjust impact tab to be within "
                   "the trimmed size."},
        {100, 100, "The capture buffer cannot be set to 0 length, please adjust the trim "
                   "settings."},
    };
    for (const Case& c : cases) {
        g_pAppConfig->SetPreTrigFrames(1);
        g_pAppConfig->SetPostTrigFrames(1);
        TestTrimDlg dialog;
        dialog.SetTrim(c.in, c.out);
        dialog.SetRange(-100, 300);
        ASSERT_TRUE(dialog.Create(IDD_TRIM, &m_host));
        EXPECT_TRUE(dialog.GetDlgItem(IDC_TRIM_CAPTURE_SIZE)->IsWindowEnabled());
        theApp.m_boxes.clear();
        theApp.m_answers = {IDYES};
        dialog.OnSetCaptureSize();
        ASSERT_EQ(2u, theApp.m_boxes.size()) << c.in;
        EXPECT_EQ(c.message, theApp.m_boxes[1]) << c.in;
        const bool saved = c.in == 61;
        EXPECT_EQ(saved ? 39 : 1, g_pAppConfig->GetPreTrigFrames()) << c.in;
        EXPECT_EQ(saved ? 30 : 1, g_pAppConfig->GetPostTrigFrames()) << c.in;
        if (saved) {
            EXPECT_STREQ("1.30 (sec) Pre Impact", Text(dialog, IDC_TRIM_IN_TEXT));
            EXPECT_STREQ("1.00 (sec) Post Impact", Text(dialog, IDC_TRIM_OUT_TEXT));
        }
        dialog.DestroyWindow();
    }
}

TEST_F(ClipDialogs, TrimFileCutsAndFailedStillCloses)
{
    Shown();
    for (BOOL cut : {TRUE, FALSE}) {
        TestTrimDlg dialog;
        dialog.cut = cut;
        dialog.SetTrim(40, 150);
        dialog.SetRange(0, 200);
        ASSERT_TRUE(dialog.Create(IDD_TRIM, &m_host));
        // No keeps the dialog as it was.
        theApp.m_answers = {IDNO};
        dialog.OnTrimFile();
        EXPECT_EQ(-1, dialog.cutIn);
        theApp.m_answers = {IDYES};
        dialog.OnTrimFile();
        EXPECT_EQ(40, dialog.cutIn);
        EXPECT_EQ(150, dialog.cutOut);
        int in = 0, out = 0;
        dialog.GetTrim(in, out);
        EXPECT_EQ(cut ? 0 : 40, in);
        EXPECT_EQ(cut ? 110 : 150, out);
        if (dialog.GetSafeHwnd())
            dialog.DestroyWindow();
    }
}

TEST_F(ClipDialogs, RecordMarksFromTheFieldLists)
{
    const char xml[] = "<FieldDefs>"
                       "<Field Name=\"Club\" DisplayName=\"Club\" DisplayType=\"List\">"
                       "<Entry>Driver</Entry><Entry>3 Wood</Entry><Entry>7 Iron</Entry></Field>"
                       "<Field Name=\"View\" DisplayName=\"View\" DisplayType=\"List\">"
                       "<Entry>Face on</Entry><Entry>Down the line</Entry></Field>"
                       "</FieldDefs>";
    g_pAppConfig->m_xmlParser.ParseText(xml, (int)strlen(xml));
    struct Case
    {
        const char* club;
        const char* view;
        int clubSel;
        int viewSel;
    } cases[] = {
        {"Driver", "Face on", 0, 0},
        {"7", "down", 2, 1},        // entries that begin with the text, any case
        {"Chipper", "Behind", -1, -1}, // shown as typed
    };
    for (const Case& c : cases) {
        CClipsMarkDlg dialog;
        dialog.m_strClub = c.club;
        dialog.m_strView = c.view;
        ASSERT_TRUE(dialog.Create(IDD_CLIPS_MARK, &m_host));
        EXPECT_EQ(3, dialog.m_club.GetCount());
        EXPECT_EQ(c.clubSel, dialog.m_club.GetCurSel()) << c.club;
        EXPECT_EQ(c.viewSel, dialog.m_view.GetCurSel()) << c.view;
        CString shown;
        dialog.m_club.GetWindowText(shown);
        if (c.clubSel < 0)
            EXPECT_STREQ(c.club, shown);
        dialog.DestroyWindow();
    }
    EXPECT_STREQ("Club", CString(g_pAppConfig->m_xmlParser.GetDisplayName("Club")));

    // OK takes the typed text; Cancel leaves the strings as they came.
    {
        CClipsMarkDlg dialog;
        dialog.m_strClub = "Driver";
        dialog.m_strView = "Face on";
        ASSERT_TRUE(dialog.Create(IDD_CLIPS_MARK, &m_host));
        dialog.m_club.SetWindowText("Chipper");
        dialog.SendMessage(WM_COMMAND, IDOK);
        EXPECT_STREQ("Chipper", dialog.m_strClub);
        EXPECT_STREQ("Face on", dialog.m_strView);
        if (dialog.GetSafeHwnd())
            dialog.DestroyWindow();
    }
    CClipsMarkDlg dialog;
    dialog.m_strClub = "Driver";
    dialog.m_strView = "Face on";
    ASSERT_TRUE(dialog.Create(IDD_CLIPS_MARK, &m_host));
    dialog.m_club.SetWindowText("Chipper");
    dialog.SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_STREQ("Driver", dialog.m_strClub);
    if (dialog.GetSafeHwnd())
        dialog.DestroyWindow();
}

TEST_F(ClipDialogs, TrimButtonRunsTheDialogForTheCurrentClip)
{
    m_clavio->LoadClip(NULL);
    EXPECT_FALSE(panel::TrimCurrentClip());
    EXPECT_TRUE(theApp.Saw("Clip not loaded."));
    CClip* clip = Shown();
    clip->SetTrimIn(2);
    clip->SetTrimOut(9);
    CVideoWindow* video = m_clavio->GetActiveVideoWindow();
    // The panel's button opens the dialog over the whole clip, the video bar's over the
    // current trim; OK stores the dialog's trim and the window takes the clip's again.
    for (BOOL whole : {TRUE, FALSE}) {
        m_answers.Clear();
        m_answers.Queue(IDOK);
        EXPECT_TRUE(panel::TrimCurrentClip(whole));
        EXPECT_TRUE(m_answers.Saw("Clip Trim"));
        EXPECT_EQ(2, clip->GetTrimIn());
        EXPECT_EQ(9, clip->GetTrimOut());
        EXPECT_EQ(2, video->GetTrimIn());
        EXPECT_EQ(9, video->GetTrimOut());
    }
    m_answers.Queue(IDCANCEL);
    EXPECT_FALSE(panel::TrimCurrentClip());
    EXPECT_EQ(9, clip->GetTrimOut());
}
