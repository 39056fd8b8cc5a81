// The database sheet and its clips and people pages over databases made at test time,
// headless: the sheet's loop runs, the test acts from inside it.
#include "browser_test_support.h"
#include <vector>
#include "ClipBar.h"
#include "ClipsPPage.h"
#include "DatabaseSheet.h"
#include "Lesson.h"
#include "MainFrm.h"
#include "PeoplePPage.h"
#include "SECDateTimeCtrl.h"
#include "browser_res.h"

using namespace browser_test;

namespace {

CWinApp theApp("Quorvel Redovove");

class SheetTest : public BrowserTest
{
protected:
    void SetUp() override
    {
        BrowserTest::SetUp();
        CDaoDatabase db;
        db.Open(m_db, FALSE, FALSE);
        f.hale = Person(db, "Ida", "Hale", "Instructor", -1);
        f.obrien = Person(db, "Sam*", "O'Brien", "Student", f.hale);
        f.muller = Person(db, "J\xF6rg", "M\xFCller", "Student", -1);
        f.pro = Person(db, "Ben", "Hogg", "Pro", -1);
        f.lady = Person(db, "Lou", "Sutton", "Lady Pro", -1);
        AddClip(*this, db, f.obrien, "Swing", 1, -1, "CLP0001.avi", &f.swingNew);
        AddClip(*this, db, f.obrien, "Drill", 30, -1, "CLP0002.avi", &f.drillOld);
        AddClip(*this, db, f.pro, "Comparison", 5, -1, "CLP0003.avi", &f.compA);
        AddClip(*this, db, f.muller, "Comparison", 5, f.compA, "CLP0004.avi", &f.compB);
        AddClip(*this, db, f.lady, "Swing", 2, -1, "CLP0005.avi", &f.grouped);
        db.Execute("INSERT INTO [ReferenceClipMaster] ([GroupName], [Comment]) VALUES ('G', '')");
        db.Execute("INSERT INTO [ReferenceClipGroupDetail] ([RefClipID], [VideoID], [Order]) "
                   "VALUES (1, ?, 0)",
                   CDaoParams().Add(f.grouped));
        db.Close();
    }

    static long Person(CDaoDatabase& db, const char* first, const char* last, const char* role,
                       long instructor)
    {
        db.Execute("INSERT INTO [Person] ([FirstName], [LastName], [Role], [InstructorID], "
                   "[LastLessonNumber]) VALUES (?, ?, ?, ?, 0)",
                   CDaoParams().Add(first).Add(last).Add(role).Add(instructor));
        CDaoRecordset rs(&db);
        rs.Open(dbOpenSnapshot, "SELECT Max([ID]) FROM [Person]");
        COleVariant v = rs.GetFieldValue(0);
        VariantChangeType(&v, &v, 0, VT_I4);
        rs.Close();
        return V_I4(&v);
    }

    // Shows the sheet on `page` and runs `action` inside its loop; the sheet is closed
    // with `button` afterwards (0: the action closes it).
    int Show(CDatabaseSheet& sheet, int page, std::function<void(CDatabaseSheet&)> action,
             int button = PSBTN_OK)
    {
        answers.Queue(0); // the sheet itself is left to the action
        InsideLoop inside([&] {
            // The loop shows the sheet when it first goes idle, which may come after the
            // timer: act on a shown sheet, as a coach does.
            if (!sheet.IsWindowVisible())
                sheet.ShowWindow(SW_SHOW);
            action(sheet);
            if (button && sheet.IsInModalLoop())
                sheet.PressButton(button);
        });
        return sheet.ShowModal(page);
    }

    ClipFixture f;
    DialogAnswers answers;
};

CString Text(CWnd* wnd, UINT id)
{
    CString text;
    wnd->GetDlgItemText(id, text);
    return text;
}

void Click(CWnd* page, UINT id)
{
    page->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)page->GetDlgItem(id)->GetSafeHwnd());
}

void Choose(CWnd* page, UINT id, int item)
{
    CComboBox* list = (CComboBox*)page->GetDlgItem(id);
    list->SetCurSel(item);
    page->SendMessage(WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), (LPARAM)list->GetSafeHwnd());
}

int FindItem(CWnd* page, UINT id, const char* text)
{
    return ((CComboBox*)page->GetDlgItem(id))->FindStringExact(-1, text);
}

} // namespace

TEST_F(SheetTest, CyclesNestedShowingSaveClipModeAndStop)
{
    // A main window that counts the Stop command.
    struct Main : CWnd
    {
        int stops = 0;
        BOOL OnCommand(WPARAM wp, LPARAM lp) override
        {
            if (LOWORD(wp) == ID_STOP_PLAYBACK)
                ++stops;
            return CWnd::OnCommand(wp, lp);
        }
    } main;
    main.CreateEx(0, AfxRegisterWndClass(0), "main", WS_OVERLAPPED, CRect(0, 0, 10, 10), NULL, 0);
    AfxGetApp()->m_pMainWnd = &main;
    {
        CDatabaseSheet sheet("Vido Database");
        EXPECT_EQ(1, main.stops);
        ASSERT_TRUE(sheet.IsConnected());
        EXPECT_FALSE(sheet.SelectClip(9999));
        int nested = 0;
        CString title;
        EXPECT_EQ(IDOK, Show(sheet, 1, [&](CDatabaseSheet& s) {
            nested = s.ShowModal(0);
            s.GetWindowText(title);
            EXPECT_EQ(1, s.GetActiveIndex());
        }));
        EXPECT_EQ(-1, nested);
        EXPECT_STREQ("Vido Database", title);
        EXPECT_FALSE(sheet.IsWindowVisible());
        EXPECT_EQ(-1, sheet.GetAddedPersonID());
        EXPECT_FALSE(sheet.IsInModalLoop());

        // Save-clip mode reads the clip's own table and titles the sheet so.
        sheet.SetSaveClipMode(TRUE);
        EXPECT_TRUE(sheet.SelectClip(f.compB));
        EXPECT_STREQ("[VideoClip]", sheet.GetClipRecordset()->GetSQL());
        EXPECT_EQ(IDCANCEL, Show(sheet, 1, [&](CDatabaseSheet& s) {
            s.GetWindowText(title);
            EXPECT_STREQ("1 of 1", s.GetClipsPage()->GetRecordCountText());
        }, PSBTN_CANCEL));
        EXPECT_STREQ("Save Clip to Database - Fill in missing or incorrect fields", title);
        sheet.SetSaveClipMode(FALSE);
        EXPECT_STRNE("[VideoClip]", sheet.GetClipRecordset()->GetSQL());
        EXPECT_EQ(IDOK, Show(sheet, 0, [&](CDatabaseSheet& s) {
            s.GetWindowText(title);
            EXPECT_EQ(0, s.GetActiveIndex());
        }));
        EXPECT_STREQ("Vido Database", title);
    }
    AfxGetApp()->m_pMainWnd = NULL;
    main.DestroyWindow();
}

TEST_F(SheetTest, ViewDatabaseFirstOnItsOwnPageLaterAndLoadClipPanelOnTheClipsPage)
{
    // Each showing notes the page it came up on and is closed with OK.
    struct Step
    {
        const char* what;
        int (*show)();
        int page;
    } steps[] = {
        {"View Database, first showing: the page the sheet opens with", &CMainFrame::ViewDatabaseSheet, 0},
        {"View Database again: the Clips page", &CMainFrame::ViewDatabaseSheet, 1},
        {"Load Clip Panel on a created sheet", &CMainFrame::ShowDatabaseSheet, 1},
    };
    ASSERT_EQ(nullptr, g_pDatabaseSheet);
    for (const Step& step : steps) {
        int page = -1;
        answers.Queue(0);
        InsideLoop inside([&] {
            page = g_pDatabaseSheet->GetActiveIndex();
            g_pDatabaseSheet->PressButton(PSBTN_OK);
        });
        EXPECT_EQ(IDOK, step.show()) << step.what;
        EXPECT_EQ(step.page, page) << step.what;
    }
    delete g_pDatabaseSheet;
    g_pDatabaseSheet = NULL;
    // Load Clip Panel with no sheet yet: run from the Clips page.
    int page = -1;
    answers.Queue(0);
    InsideLoop inside([&] {
        page = g_pDatabaseSheet->GetActiveIndex();
        g_pDatabaseSheet->PressButton(PSBTN_OK);
    });
    EXPECT_EQ(IDOK, CMainFrame::ShowDatabaseSheet());
    EXPECT_EQ(1, page);
    delete g_pDatabaseSheet;
    g_pDatabaseSheet = NULL;
    // No database to connect to: nothing shown, 0.
    g_pAppConfig = NULL;
    EXPECT_EQ(0, CMainFrame::ShowDatabaseSheet());
    EXPECT_EQ(0, CMainFrame::ViewDatabaseSheet());
    g_pAppConfig = &m_config;
}

TEST_F(SheetTest, DaoErrorsOnTheNetworkCloseTheSheetAndTheProgramAfterTheLoop)
{
    CDatabaseSheet sheet("Vido Database on coach", TRUE, NULL, 1);
    EXPECT_TRUE(sheet.IsRemote());
    EXPECT_EQ(IDCANCEL, Show(sheet, 1, [&](CDatabaseSheet& s) { s.OnDaoError(TRUE); }, 0));
    EXPECT_TRUE(answers.Saw("Could not complete action.  Check remote db connection"));
    EXPECT_FALSE(answers.Saw("Cannot recover"));
    EXPECT_FALSE(sheet.IsRemote());
    EXPECT_FALSE(sheet.IsInModalLoop());
    answers.Clear();
    EXPECT_EQ(IDCANCEL, Show(sheet, 1, [&](CDatabaseSheet& s) { s.OnDaoError(FALSE); }, 0));
    EXPECT_TRUE(answers.Saw("Cannot recover from error.  Exiting Application..."));
    EXPECT_EQ(3u, answers.Count()); // the sheet shown again and the two messages
}

TEST_F(SheetTest, AnUnopenableDatabaseIsReportedNotThrown)
{
    DeleteFileA(m_db);
    CreateDirectoryA(m_db, NULL); // a folder where the file should be
    EXPECT_FALSE(m_config.ConnectDatabase());
    EXPECT_TRUE(answers.Saw("Cannot connect to database")) << answers.Count();
    EXPECT_EQ(nullptr, g_pDatabaseSheet);
    RemoveDirectoryA(m_db);
}

TEST_F(SheetTest, ClipsPageFiltersDatesFindAndCounts)
{
    CDatabaseSheet sheet("Vido Database");
    Show(sheet, 1, [&](CDatabaseSheet& s) {
        CClipsPPage* page = s.GetClipsPage();
        EXPECT_STREQ("1 of 5", page->GetRecordCountText());
        EXPECT_STREQ("Database Clip Records", page->GetTitleText());
        struct Case
        {
            UINT radio;
            UINT dates;
            int choice; // -1: leave the choice list
            const char* title;
            int count;
        } cases[] = {
            {IDC_DB_SHOW_ALL, IDC_CP_DATES_ALL, -1, "Database Clip Records", 5},
            {IDC_DB_SHOW_ALL, IDC_CP_DATES_3, -1, "Database Clip Records", 2},
            {IDC_DB_SHOW_ALL, IDC_CP_DATES_7, -1, "Database Clip Records", 4},
            {IDC_DB_SHOW_PROS, IDC_CP_DATES_ALL, -1, "Database Records for Pros Only", 1},
            {IDC_CP_SHOW_LADY_PROS, IDC_CP_DATES_ALL, -1, "Database Records for Lady Pros Only", 1},
            {IDC_CP_SHOW_STUDENTS, IDC_CP_DATES_ALL, -1, "Database Records for Students Only", 3},
            {IDC_CP_SHOW_STUDENTS, IDC_CP_DATES_7, -1, "Database Records for Students Only", 2},
            {IDC_CP_SHOW_STUDENTS, IDC_CP_DATES_ALL, 1, "Database Records for Instructor - Ida Hale Only", 2},
            {IDC_CP_SHOW_CLIPS, IDC_CP_DATES_ALL, 0, "Database Records for Swings Only", 2},
            {IDC_CP_SHOW_CLIPS, IDC_CP_DATES_ALL, 2, "Database Records for Comparisons Only", 2},
            {IDC_CP_SHOW_CLIPS, IDC_CP_DATES_3, 0, "Database Records for Swings Only", 2},
            {IDC_CP_SHOW_CLIPS, IDC_CP_DATES_ALL, 1, "Database Records for Drills Only", 1},
        };
        for (const Case& c : cases) {
            page->CheckRadioButton(IDC_CP_DATES_3, IDC_CP_DATES_ALL, c.dates);
            Click(page, c.dates);
            Click(page, c.radio);
            if (c.choice >= 0)
                Choose(page, IDC_DB_CHOICE, c.choice);
            CString expected;
            expected.Format("1 of %d", c.count);
            EXPECT_STREQ(expected, page->GetRecordCountText()) << c.title << " " << c.dates;
            EXPECT_STREQ(c.title, page->GetTitleText()) << c.radio << " " << c.dates;
        }
        page->CheckRadioButton(IDC_CP_DATES_3, IDC_CP_DATES_ALL, IDC_CP_DATES_ALL);
        Click(page, IDC_CP_DATES_ALL);
        Click(page, IDC_DB_SHOW_ALL);
        // The find list: one entry per person with clips; choosing one shows only theirs.
        CComboBox* find = (CComboBox*)page->GetDlgItem(IDC_DB_FIND);
        EXPECT_EQ(5, find->GetCount()); // "Any Name" and four people with clips
        const int obrien = FindItem(page, IDC_DB_FIND, "O'Brien,Sam*");
        ASSERT_NE(CB_ERR, obrien);
        Choose(page, IDC_DB_FIND, obrien);
        EXPECT_STREQ("1 of 2", page->GetRecordCountText());
        EXPECT_STREQ("Database Records for O'Brien,Sam* Only", page->GetTitleText());
        EXPECT_STREQ("Hale, Ida", page->GetInstructorText());
        const int muller = FindItem(page, IDC_DB_FIND, "M\xFCller,J\xF6rg");
        ASSERT_NE(CB_ERR, muller);
        Choose(page, IDC_DB_FIND, muller);
        EXPECT_STREQ("1 of 1", page->GetRecordCountText());
        Choose(page, IDC_DB_FIND, FindItem(page, IDC_DB_FIND, "Any Name"));
        EXPECT_STREQ("1 of 5", page->GetRecordCountText());
        // Navigation and the slider.
        Click(page, IDC_DB_LAST);
        EXPECT_STREQ("5 of 5", page->GetRecordCountText());
        Click(page, IDC_CP_NEXT);
        EXPECT_STREQ("5 of 5", page->GetRecordCountText());
        Click(page, IDC_DB_FIRST);
        Click(page, IDC_CP_PREV);
        EXPECT_STREQ("1 of 5", page->GetRecordCountText());
        CSliderCtrl* slider = (CSliderCtrl*)page->GetDlgItem(IDC_CP_SLIDER);
        EXPECT_EQ(4, slider->GetRangeMax());
        slider->SetPos(3);
        page->SendMessage(WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 3), (LPARAM)slider->GetSafeHwnd());
        EXPECT_STREQ("4 of 5", page->GetRecordCountText());
        EXPECT_EQ(3, slider->GetPos());
    });
}


namespace {

void SetText(CWnd* page, UINT id, const char* text)
{
    page->GetDlgItem(id)->SetWindowText(text);
    page->SendMessage(WM_COMMAND, MAKEWPARAM(id, EN_UPDATE), (LPARAM)page->GetDlgItem(id)->GetSafeHwnd());
}

CString Column(BrowserTest&, CDaoDatabase& db, const char* sql, long id)
{
    CDaoRecordset rs(&db);
    rs.Open(dbOpenSnapshot, sql);
    CString value = "<none>";
    if (rs.FindFirst("[ID] = ?", CDaoParams().Add(id))) {
        COleVariant v = rs.GetFieldValue(1);
        value = V_VT(&v) == VT_BSTR ? CString(V_BSTR(&v)) : CString("<null>");
    }
    rs.Close();
    return value;
}

} // namespace

TEST_F(SheetTest, ClipsPageEditsKeepUnchangedFieldsAndDeletionsAreRefusedOrWhole)
{
    // A clip type the lists do not know: shown as a swing, and stored so with the next save.
    Run("UPDATE [VideoClip] SET [ClipType] = 'Putting' WHERE [ID] = ?", CDaoParams().Add(f.swingNew));
    // A row without a video file: nothing to e-mail.
    Run("UPDATE [VideoClip] SET [VideoClipFileName] = '' WHERE [ID] = ?", CDaoParams().Add(f.drillOld));
    // The clip panel the sheet sends to: a real one, which takes clips only into its lists.
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "Clip panel host", WS_POPUP,
                              CRect(0, 0, 400, 200), NULL, 0));
    CClipBar panel;
    ASSERT_TRUE(panel.CreatePanel(&host, CRect(0, 0, 306, 77), 152));
    CDatabaseSheet sheet("Vido Database");
    Show(sheet, 1, [&](CDatabaseSheet& s) {
        CClipsPPage* page = s.GetClipsPage();
        Choose(page, IDC_DB_FIND, FindItem(page, IDC_DB_FIND, "O'Brien,Sam*"));
        ASSERT_STREQ("1 of 2", page->GetRecordCountText());
        // The fields are read-only until "Edit Clip".
        EXPECT_FALSE(page->GetDlgItem(IDC_CP_CLUB)->IsWindowEnabled());
        // Find the unknown-typed row and change only its club.
        for (int i = 0; i < 2 && s.GetClipRecordset()->m_ID != f.swingNew; ++i)
            Click(page, IDC_CP_NEXT);
        ASSERT_EQ(f.swingNew, s.GetClipRecordset()->m_ID);
        EXPECT_STREQ("Swing", Text(page, IDC_CP_TYPE));
        Click(page, IDC_CP_EDIT);
        EXPECT_TRUE(page->IsUserEdit());
        EXPECT_STREQ("Cancel Edit", Text(page, IDC_CP_EDIT));
        EXPECT_STREQ("Editing", Text(page, IDC_DB_EDIT_STATE));
        Choose(page, IDC_CP_CLUB, FindItem(page, IDC_CP_CLUB, "Putter"));
        Click(page, IDC_DB_FIRST); // leaving the row stores it
        EXPECT_FALSE(page->IsUserEdit());

        // Deletion: a grouped clip and a comparison partner stay.
        Choose(page, IDC_DB_FIND, FindItem(page, IDC_DB_FIND, "Any Name"));
        for (long id : {f.grouped, f.compA}) {
            Click(page, IDC_DB_FIRST);
            for (int i = 0; i < 5 && s.GetClipRecordset()->m_ID != id; ++i)
                Click(page, IDC_CP_NEXT);
            ASSERT_EQ(id, s.GetClipRecordset()->m_ID);
            answers.Queue(IDYES);
            Click(page, IDC_CP_DELETE);
        }
        EXPECT_TRUE(answers.Saw("You must first delete this clip from Clips Group page."));
        EXPECT_TRUE(answers.Saw("This clip is included in a comparison. Please delete the comparison first."));
        // The only clip of Müller (its file is missing): the row and, on request, the
        // person go together.
        Click(page, IDC_DB_FIRST);
        for (int i = 0; i < 5 && s.GetClipRecordset()->m_ID != f.compB; ++i)
            Click(page, IDC_CP_NEXT);
        ASSERT_EQ(f.compB, s.GetClipRecordset()->m_ID);
        answers.Queue(IDYES); // delete the clip
        answers.Queue(IDYES); // and the person
        answers.Queue(IDOK);  // the missing file
        Click(page, IDC_CP_DELETE);
        EXPECT_TRUE(answers.Saw("This is the last clip for J\xF6rg M\xFC" "ller.  Would you like to delete the record?"));
        EXPECT_STREQ("of 4", page->GetRecordCountText().Right(4));
        // Sending the shown clip: a student's goes to the students pane.
        Click(page, IDC_DB_FIRST);
        for (int i = 0; i < 4 && s.GetClipRecordset()->m_ID != f.drillOld; ++i)
            Click(page, IDC_CP_NEXT);
        Click(page, IDC_CP_SEND);
        EXPECT_EQ(1, panel.GetStudentCount());
        ASSERT_EQ(f.drillOld, s.GetClipRecordset()->m_ID);
        answers.Queue(IDOK);
        Click(page, IDC_CP_EMAIL);
        EXPECT_TRUE(answers.Saw("Clip not available"));
    });
    CDaoDatabase db;
    db.Open(m_db, FALSE, TRUE);
    EXPECT_STREQ("Swing", Column(*this, db, "SELECT [ID], [ClipType] FROM [VideoClip]", f.swingNew));
    EXPECT_STREQ("Putter", Column(*this, db, "SELECT [ID], [Club] FROM [VideoClip]", f.swingNew));
    EXPECT_STREQ("O'Brien,Sam* Swing",
                 Column(*this, db, "SELECT [ID], [VideoClipName] FROM [VideoClip]", f.swingNew));
    EXPECT_STREQ("<none>", Column(*this, db, "SELECT [ID], [ClipType] FROM [VideoClip]", f.compB));
    EXPECT_STREQ("<none>", Column(*this, db, "SELECT [ID], [LastName] FROM [Person]", f.muller));
    EXPECT_STREQ("Swing", Column(*this, db, "SELECT [ID], [ClipType] FROM [VideoClip]", f.grouped));
    db.Close();
}

TEST_F(SheetTest, ClipStampIsMadeOnlyOfADateAndATimeBothSet)
{
    const COleDateTime newDate(2021, 6, 7, 0, 0, 0), newTime(1899, 12, 30, 8, 9, 10);
    struct { const char* what; BOOL dateSet, timeSet; BOOL changed; } cases[] = {
        {"both set: the new stamp", TRUE, TRUE, TRUE},
        {"date empty: the stamp as it was", FALSE, TRUE, FALSE},
        {"time empty: the stamp as it was", TRUE, FALSE, FALSE},
    };
    CDatabaseSheet sheet("Vido Database");
    for (const auto& c : cases) {
        Run("UPDATE [VideoClip] SET [DateTimeStamp] = ? WHERE [ID] = ?",
            CDaoParams().Add(COleVariant(COleDateTime(2020, 1, 2, 3, 4, 5))).Add(f.swingNew));
        COleDateTime stored;
        Show(sheet, 1, [&](CDatabaseSheet& s) {
            CClipsPPage* page = s.GetClipsPage();
            Choose(page, IDC_DB_FIND, FindItem(page, IDC_DB_FIND, "O'Brien,Sam*"));
            for (int i = 0; i < 2 && s.GetClipRecordset()->m_ID != f.swingNew; ++i)
                Click(page, IDC_CP_NEXT);
            ASSERT_EQ(f.swingNew, s.GetClipRecordset()->m_ID);
            Click(page, IDC_CP_EDIT);
            auto* date = (SECDateTimeCtrl*)page->GetDlgItem(IDC_CP_DATE);
            auto* time = (SECDateTimeCtrl*)page->GetDlgItem(IDC_CP_TIME);
            if (c.dateSet)
                date->SetDateTime(newDate);
            else
                date->SetNull(' ');
            if (c.timeSet)
                time->SetDateTime(newTime);
            else
                time->SetNull(' ');
            page->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_CP_DATE, EN_CHANGE), (LPARAM)date->GetSafeHwnd());
            page->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_CP_TIME, EN_CHANGE), (LPARAM)time->GetSafeHwnd());
            EXPECT_TRUE(page->IsUserEdit()) << c.what;
            Click(page, IDC_DB_FIRST); // leaving the row stores it
        });
        CDaoDatabase db;
        db.Open(m_db, FALSE, TRUE);
        CDaoRecordset rs(&db);
        rs.Open(dbOpenSnapshot, "SELECT [ID], [DateTimeStamp] FROM [VideoClip]");
        ASSERT_TRUE(rs.FindFirst("[ID] = ?", CDaoParams().Add(f.swingNew)));
        stored = COleDateTime(rs.GetFieldValue(1));
        rs.Close();
        db.Close();
        const COleDateTime want = c.changed ? COleDateTime(2021, 6, 7, 8, 9, 10)
                                            : COleDateTime(2020, 1, 2, 3, 4, 5);
        EXPECT_EQ(COleDateTime::valid, stored.GetStatus()) << c.what;
        EXPECT_STREQ(want.Format("%Y-%m-%d %H:%M:%S"), stored.Format("%Y-%m-%d %H:%M:%S")) << c.what;
    }
}

TEST_F(SheetTest, HostileNamesAreAddedFoundFilteredAndDeletedAsThemselves)
{
    const char* const names[][2] = {
        {"Ann'", "O'Hara \"Jr\""}, {"[x]", "100%_"}, {"*", "?#"}, {"Smith, John", "Doe Jr"},
        {"  M\xFC" "ller  ", "\xC9" "mile"},
    };
    CDatabaseSheet sheet("Vido Database");
    Show(sheet, 0, [&](CDatabaseSheet& s) {
        CPeoplePPage* page = s.GetPeoplePage();
        EXPECT_STREQ("1 of 5", page->GetPositionText());
        for (const auto& n : names) {
            Click(page, IDC_PP_NEW);
            EXPECT_STREQ("Adding", Text(page, IDC_DB_EDIT_STATE));
            SetText(page, IDC_PP_FIRST_NAME, n[0]);
            SetText(page, IDC_PP_LAST_NAME, n[1]);
            EXPECT_TRUE(page->CommitEdit(TRUE)) << n[0];
        }
        EXPECT_STREQ("", Text(page, IDC_DB_EDIT_STATE));
        // The same name again, in other case, is refused and stays in "Adding".
        Click(page, IDC_PP_NEW);
        SetText(page, IDC_PP_FIRST_NAME, "m\xDC" "LLER");
        SetText(page, IDC_PP_LAST_NAME, "\xE9" "MILE");
        EXPECT_FALSE(page->CommitEdit(TRUE));
        EXPECT_TRUE(answers.Saw("This name already exisits in the database. Please enter a unique name."));
        EXPECT_STREQ("Adding", Text(page, IDC_DB_EDIT_STATE));
        EXPECT_TRUE(page->CommitEdit(FALSE));
        EXPECT_STREQ("of 10", page->GetPositionText().Right(5));
        // Each is found by the find list as itself, one entry each.
        CComboBox* find = (CComboBox*)page->GetDlgItem(IDC_DB_FIND);
        EXPECT_EQ(11, find->GetCount());
        for (const auto& n : names) {
            CString first = n[0], last = n[1];
            first.TrimLeft();
            first.TrimRight();
            const int item = find->FindStringExact(-1, last + "," + first);
            ASSERT_NE(CB_ERR, item) << n[0];
            Choose(page, IDC_DB_FIND, item);
            EXPECT_STREQ(first, Text(page, IDC_PP_FIRST_NAME));
            EXPECT_STREQ(last, Text(page, IDC_PP_LAST_NAME));
        }
        // Filtered by role: the new people are students; the pros filter finds pro and lady pro.
        page->CheckRadioButton(IDC_DB_SHOW_ALL, IDC_DB_SHOW_PROS, IDC_PP_SHOW_STUDENTS);
        Click(page, IDC_PP_SHOW_STUDENTS);
        EXPECT_STREQ("1 of 7", page->GetPositionText());
        EXPECT_STREQ("Database Records for Students Only", page->GetTitleText());
        Choose(page, IDC_DB_CHOICE, 1); // Ida Hale's students
        EXPECT_STREQ("1 of 1", page->GetPositionText());
        EXPECT_STREQ("Database Records for Students with Instructor - Ida Hale Only", page->GetTitleText());
        Click(page, IDC_DB_SHOW_PROS);
        EXPECT_STREQ("1 of 2", page->GetPositionText());
        Click(page, IDC_PP_SHOW_INSTRUCTORS);
        EXPECT_STREQ("1 of 1", page->GetPositionText());
        Click(page, IDC_DB_SHOW_ALL);
        EXPECT_STREQ("1 of 10", page->GetPositionText());
        // Deleted one by one, by the find list; a person with clips stays.
        for (const auto& n : names) {
            CString first = n[0], last = n[1];
            first.TrimLeft();
            first.TrimRight();
            Choose(page, IDC_DB_FIND, find->FindStringExact(-1, last + "," + first));
            answers.Queue(IDYES);
            Click(page, IDC_PP_DELETE);
        }
        EXPECT_STREQ("of 5", page->GetPositionText().Right(4));
        Choose(page, IDC_DB_FIND, find->FindStringExact(-1, "O'Brien,Sam*"));
        answers.Queue(IDYES);
        Click(page, IDC_PP_DELETE);
        EXPECT_TRUE(answers.Saw("You must first delete the video clip records that belong to this person."));
    });
    EXPECT_EQ(5, Count("SELECT * FROM [Person]"));
    EXPECT_EQ(0, Count("SELECT * FROM [Person] WHERE [LastName] = 'Doe Jr'"));
}

TEST_F(SheetTest, ADatabaseFailureIsShownLocallyAndClosesANetworkSheet)
{
    CDatabaseSheet sheet("Vido Database");
    bool stillShown = false;
    EXPECT_EQ(IDCANCEL, Show(sheet, 1, [&](CDatabaseSheet& s) {
        // Another connection takes the clips table away under the page.
        try {
            Run("DROP TABLE [VideoClip]");
        } catch (CDaoException* e) {
            ADD_FAILURE() << (LPCSTR)e->m_pErrorInfo->m_strDescription;
            e->Delete();
        }
        CClipsPPage* page = s.GetClipsPage();
        Click(page, IDC_DB_SHOW_PROS);
        stillShown = s.IsInModalLoop();
        EXPECT_TRUE(answers.Saw("could not find the object 'VideoClip'"));
        EXPECT_FALSE(answers.Saw("Could not complete action"));
        // The same on a network database closes the sheet.
        m_config.SetNetworkDatabase(TRUE);
        Click(page, IDC_CP_SHOW_STUDENTS);
        m_config.SetNetworkDatabase(FALSE);
    }, 0));
    EXPECT_TRUE(stillShown);
    EXPECT_TRUE(answers.Saw("Could not complete action.  Check remote db connection"));
    EXPECT_FALSE(sheet.IsInModalLoop());
    EXPECT_FALSE(sheet.IsWindowVisible());
}

TEST_F(SheetTest, EmptyTablesShowZeroOfZeroAndOfferNothingToEdit)
{
    Run("DELETE FROM [ReferenceClipGroupDetail]");
    Run("DELETE FROM [VideoClip]");
    Run("DELETE FROM [Person]");
    CDatabaseSheet sheet("Vido Database");
    Show(sheet, 1, [&](CDatabaseSheet& s) {
        CClipsPPage* clips = s.GetClipsPage();
        EXPECT_STREQ("0 of 0", clips->GetRecordCountText());
        CSliderCtrl* slider = (CSliderCtrl*)clips->GetDlgItem(IDC_CP_SLIDER);
        EXPECT_EQ(-1, slider->GetRangeMax());
        for (UINT id : {IDC_DB_FIRST, IDC_CP_PREV, IDC_CP_NEXT, IDC_DB_LAST})
            Click(clips, id);
        Click(clips, IDC_CP_EDIT);
        EXPECT_FALSE(clips->IsUserEdit());
        EXPECT_STREQ("0 of 0", clips->GetRecordCountText());
        EXPECT_EQ(CB_ERR, ((CComboBox*)clips->GetDlgItem(IDC_CP_SUBJECT))->GetCurSel());
        s.SetActivePage(0);
        CPeoplePPage* people = s.GetPeoplePage();
        EXPECT_STREQ("0 of 0", people->GetPositionText());
        for (UINT id : {IDC_DB_FIRST, IDC_PP_PREV, IDC_PP_NEXT, IDC_DB_LAST})
            Click(people, id);
        EXPECT_STREQ("0 of 0", people->GetPositionText());
    });
    EXPECT_EQ(0, Count("SELECT * FROM [VideoClip]"));
    EXPECT_EQ(0, Count("SELECT * FROM [Person]"));
}

TEST_F(SheetTest, ALessonPicksItsStudentOnThePeoplePageAndShowsThemLater)
{
    m_config.SetNagEnable(TRUE);
    g_pLesson = new CLesson;
    bool paintedMessage = false, startedInside = true, shownLater = false;
    answers.Queue(0); // the sheet itself is left to the steps
    {
        InsideLoop inside([&] {
            CDatabaseSheet* sheet = g_pDatabaseSheet;
            if (!sheet->IsWindowVisible())
                sheet->ShowWindow(SW_SHOW);
            CPeoplePPage* people = sheet->GetPeoplePage();
            people->UpdateWindow();
            paintedMessage = answers.Saw("Find a student for this lesson");
            // An instructor is refused.
            ASSERT_TRUE(people->GoToPersonID(f.hale));
            Click(people, IDC_PP_LESSON);
            EXPECT_TRUE(answers.Saw("You cannot select an instructor for a lesson"));
            ASSERT_TRUE(people->GoToPersonID(f.obrien));
            answers.Queue(IDYES);
            Click(people, IDC_PP_LESSON);
            EXPECT_TRUE(answers.Saw("Do you wish to start the lesson now?"));
            // Picking for a lesson being started: it starts once the sheet has closed.
            startedInside = g_pLesson->IsActive();
            EXPECT_TRUE(sheet->IsInModalLoop());
        });
        EXPECT_TRUE(g_pLesson->Start(TRUE));
    }
    EXPECT_TRUE(paintedMessage);
    EXPECT_FALSE(startedInside);
    EXPECT_TRUE(g_pLesson->IsActive());
    EXPECT_STREQ("Sam* O'Brien", g_pLesson->GetStudentName());
    ASSERT_TRUE(g_pDatabaseSheet);
    EXPECT_FALSE(g_pDatabaseSheet->IsWindowVisible());

    // Editing the student shows the sheet on them; the first-paint message is not repeated.
    answers.Clear();
    answers.Queue(0);
    g_pDatabaseSheet->GetPeopleRecordset()->MoveFirst();
    {
        InsideLoop inside([&] {
            CDatabaseSheet* sheet = g_pDatabaseSheet;
            if (!sheet->IsWindowVisible())
                sheet->ShowWindow(SW_SHOW);
            shownLater = sheet->GetPeopleRecordset()->m_ID == f.obrien;
            sheet->PressButton(PSBTN_OK);
        });
        EXPECT_TRUE(g_pLesson->EditStudent());
    }
    EXPECT_TRUE(shownLater);
    EXPECT_FALSE(answers.Saw("Find a student"));
    EXPECT_FALSE(answers.Saw("Do you wish to start")); // still the lesson's pick
    g_pLesson->End();
    delete g_pDatabaseSheet;
    g_pDatabaseSheet = NULL;
    delete g_pLesson;
    g_pLesson = NULL;
}

TEST_F(SheetTest, PeopleRoleCommandsShowOneRoleOrAll)
{
    CDatabaseSheet sheet("Vido Database");
    Show(sheet, 0, [&](CDatabaseSheet& s) {
        CPeoplePPage* page = s.GetPeoplePage();
        struct { UINT id; const char* count; } cases[] = {
            {IDC_PP_FILTER_STUDENTS, "of 2"},
            {IDC_PP_FILTER_INSTRUCTORS, "of 1"},
            {IDC_PP_FILTER_PROS, "of 1"}, // "Lady Pro" is a role of its own
            {IDC_PP_FILTER_ALL_ROLES, "of 5"},
        };
        for (const auto& c : cases) {
            page->SendMessage(WM_COMMAND, MAKEWPARAM(c.id, BN_CLICKED), 0);
            EXPECT_STREQ(c.count, page->GetPositionText().Right(4)) << c.id;
        }
    });
}

TEST_F(SheetTest, PeopleFieldsTakeNoMoreThanTheirColumnsHold)
{
    CDatabaseSheet sheet("Vido Database");
    std::vector<int> took;
    Show(sheet, 0, [&](CDatabaseSheet& s) {
        CPeoplePPage* people = s.GetPeoplePage();
        Click(people, IDC_PP_NEW);
        for (UINT id : {IDC_PP_FIRST_NAME, IDC_PP_LAST_NAME, IDC_PP_ADDRESS, IDC_PP_ADDRESS2,
                        IDC_PP_CITY, IDC_PP_EMAIL}) {
            HWND edit = people->GetDlgItem(id)->GetSafeHwnd();
            for (int i = 0; i < 120; ++i)
                ::SendMessageA(edit, WM_CHAR, 'a' + i % 26, 0);
            took.push_back(::GetWindowTextLengthA(edit));
        }
    }, PSBTN_CANCEL);
    EXPECT_EQ((std::vector<int>{50, 50, 100, 100, 50, 30}), took);
    EXPECT_EQ(5, Count("SELECT * FROM [Person]")); // Cancel stored nothing
}
