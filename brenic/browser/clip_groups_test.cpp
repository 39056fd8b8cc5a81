// The clip groups page over a database made at test time, headless: groups made with
// awkward names, members added and removed, a group deleted with its memberships.
#include "browser_test_support.h"
#include <set>
#include "ClipBar.h"
#include "ClipGroupsPPage.h"
#include "DatabaseSheet.h"
#include "browser_res.h"

using namespace browser_test;

namespace {

CWinApp theApp("Quorvel Redovove");

class ClipGroupsTest : public BrowserTest
{
protected:
    void SetUp() override
    {
        BrowserTest::SetUp();
        CDaoDatabase db;
        db.Open(m_db, FALSE, FALSE);
        db.Execute("INSERT INTO [Person] ([FirstName], [LastName], [Role], [InstructorID], "
                   "[LastLessonNumber]) VALUES ('Ben', 'Hogg', 'Pro', -1, 0)");
        const long person = LastIDOf(db, "Person");
        AddClip(*this, db, person, "Swing", 1, -1, "CLP0001.avi", &first);
        AddClip(*this, db, person, "Drill", 2, -1, "CLP0002.avi", &second);
        db.Execute("INSERT INTO [ReferenceClipMaster] ([GroupName], [Comment]) VALUES ('Keep', '')");
        keep = LastIDOf(db, "ReferenceClipMaster");
        db.Execute("INSERT INTO [ReferenceClipGroupDetail] ([RefClipID], [VideoID]) VALUES (?, ?)",
                   CDaoParams().Add(keep).Add(first));
        db.Close();

        AddRows();
        host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP, CRect(0, 0, 600, 500), NULL, 0);
        sheet.CreateGroupRecordsets();
        sheet.OpenGroupRecordsets();
        page.SetMembershipRecordset(sheet.GetGroupDetailRecordset());
        page.SetGroupRecordset(sheet.GetGroupMasterRecordset());
        ASSERT_TRUE(page.Create(IDD_CLIP_GROUPS_PAGE, &host));
    }

    void TearDown() override
    {
        page.DestroyWindow();
        sheet.CloseGroupRecordsets();
        host.DestroyWindow();
        BrowserTest::TearDown();
    }

    // What a fixture of its own adds before the page is made.
    virtual void AddRows() {}

    static long LastIDOf(CDaoDatabase& db, const char* table)
    {
        CDaoRecordset rs(&db);
        rs.Open(dbOpenSnapshot, CString("SELECT Max([ID]) FROM [") + table + "]");
        COleVariant v = rs.GetFieldValue(0);
        VariantChangeType(&v, &v, 0, VT_I4);
        rs.Close();
        return V_I4(&v);
    }

    void Click(UINT id)
    {
        page.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                         (LPARAM)page.GetDlgItem(id)->GetSafeHwnd());
    }

    void Choose(UINT id, int item)
    {
        CComboBox* list = (CComboBox*)page.GetDlgItem(id);
        list->SetCurSel(item);
        page.SendMessage(WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), (LPARAM)list->GetSafeHwnd());
    }

    CString Text(UINT id)
    {
        CString text;
        page.GetDlgItemText(id, text);
        return text;
    }

    void SelectGroup(const char* name)
    {
        page.GetGroupList().SetCurSel(page.GetGroupList().FindStringExact(-1, name));
        page.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_CG_GROUPS, CBN_SELCHANGE),
                         (LPARAM)page.GetGroupList().GetSafeHwnd());
    }

    CString MemberNames()
    {
        CString names;
        for (int i = 0; i < page.GetMemberList().GetItemCount(); ++i)
            names += page.GetMemberList().GetItemText(i, 0) + ";";
        return names;
    }

    long first = 0, second = 0, keep = 0;
    CWnd host;
    CDatabaseSheet sheet{"Vido Database"};
    CClipGroupsPPage page;
    DialogAnswers answers;
};

} // namespace

TEST_F(ClipGroupsTest, AwkwardNamesAreStoredAsTypedAndFoundAgainWithoutCase)
{
    struct Case
    {
        const char* name;
        bool added;
    } cases[] = {
        {"O'Brien's [*?#%_] \"best\", drives", true},
        {"o'brien's [*?#%_] \"BEST\", drives", false},
        {"M\xFCller", true},
        {"M\xDCLLER", false},
        {"K*", true},     // no pattern: "Keep" is not that name
        {"Keep", false},
        {"Keep,", true},
    };
    for (const Case& c : cases) {
        answers.Clear();
        EXPECT_EQ(c.added, (bool)page.CreateGroup(c.name)) << c.name;
        EXPECT_EQ(!c.added, answers.Saw("Group Name already exits.")) << c.name;
        if (c.added) {
            CComboBox& groups = page.GetGroupList();
            ASSERT_GE(groups.GetCurSel(), 0) << c.name;
            CString selected;
            groups.GetLBText(groups.GetCurSel(), selected);
            EXPECT_STREQ(c.name, selected);
        }
    }
    EXPECT_EQ(5, page.GetGroupList().GetCount());
    EXPECT_EQ(5, Count("SELECT * FROM [ReferenceClipMaster]"));
}

TEST_F(ClipGroupsTest, MembersAreAddedOnceListedNewestFirstAndRemoved)
{
    page.GetGroupList().SetCurSel(-1);
    Click(IDC_CG_ADD);
    EXPECT_TRUE(answers.Saw("No Group selected."));
    Click(IDC_CG_REMOVE);
    EXPECT_TRUE(answers.Saw("No clip was selected!"));

    SelectGroup("Keep");
    EXPECT_STREQ("Swing;", MemberNames());
    Click(IDC_DB_FIRST);
    answers.Clear();
    Click(IDC_CG_ADD); // the first clip is already there
    EXPECT_TRUE(answers.Saw("Clip is part of this group."));
    Click(IDC_CG_NEXT);
    Click(IDC_CG_ADD);
    EXPECT_STREQ("Drill;Swing;", MemberNames());

    // The same clip may go into a second group.
    ASSERT_TRUE(page.CreateGroup("Other"));
    Click(IDC_CG_ADD);
    EXPECT_STREQ("Drill;", MemberNames());

    SelectGroup("Keep");
    page.GetMemberList().SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    Click(IDC_CG_REMOVE);
    EXPECT_STREQ("Drill;", MemberNames());
    EXPECT_EQ(2, Count("SELECT * FROM [ReferenceClipGroupDetail]"));
}

TEST_F(ClipGroupsTest, DeletingAGroupTakesAllItsMembershipsOrNothing)
{
    // A membership whose clip has gone is not listed, but goes with its group.
    ASSERT_TRUE(page.CreateGroup("Doomed"));
    CString doomedId;
    {
        CDaoDatabase db;
        db.Open(m_db, FALSE, FALSE);
        const long doomed = LastIDOf(db, "ReferenceClipMaster");
        db.Execute("INSERT INTO [ReferenceClipGroupDetail] ([RefClipID], [VideoID]) VALUES (?, ?)",
                   CDaoParams().Add(doomed).Add(second));
        db.Execute("INSERT INTO [ReferenceClipGroupDetail] ([RefClipID], [VideoID]) VALUES (?, 99999)",
                   CDaoParams().Add(doomed));
        db.Close();
        doomedId.Format("%ld", doomed);
    }
    SelectGroup("Doomed");
    EXPECT_STREQ("Drill;", MemberNames());

    answers.Queue(IDCANCEL);
    Click(IDC_CG_DELETE_GROUP);
    EXPECT_TRUE(answers.Saw("You must delete the clips from this group."));
    EXPECT_EQ(3, Count("SELECT * FROM [ReferenceClipGroupDetail]"));
    EXPECT_EQ(2, Count("SELECT * FROM [ReferenceClipMaster]"));

    answers.Queue(IDOK);
    Click(IDC_CG_DELETE_GROUP);
    EXPECT_EQ(0, Count("SELECT * FROM [ReferenceClipGroupDetail] WHERE [RefClipID] = " + doomedId));
    EXPECT_EQ(1, Count("SELECT * FROM [ReferenceClipGroupDetail]")); // the other group's
    EXPECT_EQ(1, Count("SELECT * FROM [ReferenceClipMaster]"));
    EXPECT_EQ(1, page.GetGroupList().GetCount());
    EXPECT_STREQ("Swing;", MemberNames());

    // A group without members goes without a question.
    answers.Clear();
    ASSERT_TRUE(page.CreateGroup("Empty"));
    SelectGroup("Empty");
    Click(IDC_CG_DELETE_GROUP);
    EXPECT_EQ(0u, answers.Count());
    EXPECT_EQ(1, Count("SELECT * FROM [ReferenceClipMaster]"));
}

TEST_F(ClipGroupsTest, TheDeletionStepsAndTheGroupRowEdit)
{
    ASSERT_TRUE(page.CreateGroup("Steps"));
    CDaoDatabase db;
    db.Open(m_db, FALSE, FALSE);
    const long steps = LastIDOf(db, "ReferenceClipMaster");
    db.Execute("INSERT INTO [ReferenceClipGroupDetail] ([RefClipID], [VideoID]) VALUES (?, ?)",
               CDaoParams().Add(steps).Add(second));
    db.Execute("INSERT INTO [ReferenceClipGroupDetail] ([RefClipID], [VideoID]) VALUES (?, 99999)",
               CDaoParams().Add(steps));
    db.Close();
    CString of;
    of.Format("SELECT * FROM [ReferenceClipGroupDetail] WHERE [RefClipID] = %ld", steps);
    SelectGroup("Steps");
    // The listed membership goes; the one of a clip without its row is not listed and stays.
    page.DeleteListedMemberships();
    EXPECT_EQ(1, Count(of));
    EXPECT_EQ(2, Count("SELECT * FROM [ReferenceClipMaster]"));
    // The row goes, and the membership left with it.
    page.DeleteGroupRow();
    EXPECT_EQ(0, Count(of));
    EXPECT_EQ(1, Count("SELECT * FROM [ReferenceClipMaster]"));
    EXPECT_EQ(1, Count("SELECT * FROM [ReferenceClipGroupDetail]")); // the other group's

    // The group row's edit: only on a current row, once.
    CRefClipGroupMaster* groups = sheet.GetGroupMasterRecordset();
    groups->Requery();
    ASSERT_FALSE(page.HasNoCurrentGroup());
    EXPECT_EQ(dbEditNone, page.GetGroupEditMode());
    page.BeginGroupEdit();
    EXPECT_EQ(dbEditInProgress, page.GetGroupEditMode());
    page.BeginGroupEdit();
    EXPECT_EQ(dbEditInProgress, page.GetGroupEditMode());
    groups->CancelUpdate();
    groups->MoveLast();
    groups->MoveNext();
    EXPECT_TRUE(page.HasNoCurrentGroup());
    page.BeginGroupEdit();
    EXPECT_EQ(dbEditNone, page.GetGroupEditMode());
}

TEST_F(ClipGroupsTest, ALocalSendPutsStudentsAndOthersInTheirPanesAndSkipsLostClips)
{
    const long student = AddPerson("Sam", "O'Brien");
    long studentClip = 0;
    {
        CDaoDatabase db;
        db.Open(m_db, FALSE, FALSE);
        AddClip(*this, db, student, "Swing", 3, -1, "CLP0003.avi", &studentClip);
        for (long clip : {studentClip, 99999L})
            db.Execute("INSERT INTO [ReferenceClipGroupDetail] ([RefClipID], [VideoID]) VALUES (?, ?)",
                       CDaoParams().Add(keep).Add(clip));
        db.Close();
    }
    CWnd panelHost;
    ASSERT_TRUE(panelHost.CreateEx(0, AfxRegisterWndClass(0), "Clip panel host", WS_POPUP,
                                   CRect(0, 0, 400, 200), NULL, 0));
    CClipBar panel;
    ASSERT_TRUE(panel.CreatePanel(&panelHost, CRect(0, 0, 306, 77), 152));
    SelectGroup("Keep");
    Click(IDC_CG_SEND_GROUP);
    EXPECT_EQ(1, panel.GetStudentCount());
    EXPECT_EQ(1, panel.GetProCount());
    Click(IDC_CG_SEND_GROUP); // the panel keeps one of each
    EXPECT_EQ(2, panel.GetClipCount());
    panel.DestroyWindow();
    panelHost.DestroyWindow();
}

TEST_F(ClipGroupsTest, TheSubjectFinderListsEachPersonOnceByIDAndShowsTheirClips)
{
    // Two people of one name, each with a clip: each can be chosen.
    long ids[2] = {}, clips[2] = {};
    for (int i = 0; i < 2; ++i) {
        ids[i] = AddPerson("Sam", "O'Brien");
        CDaoDatabase db;
        db.Open(m_db, FALSE, FALSE);
        AddClip(*this, db, ids[i], i ? "Drill" : "Swing", 4, -1, "CLP001.avi", &clips[i]);
        db.Close();
    }
    page.FillSubjectFinder();
    CComboBox& finder = page.GetSubjectFinder();
    ASSERT_EQ(4, finder.GetCount()); // "Any Name", Hogg and the two O'Briens
    for (int i = 0; i < 2; ++i) {
        int item = -1;
        for (int j = 0; j < finder.GetCount(); ++j)
            if ((long)(LONG_PTR)finder.GetItemData(j) == ids[i])
                item = j;
        ASSERT_GE(item, 0) << i;
        finder.SetCurSel(item);
        page.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_DB_FIND, CBN_SELCHANGE), (LPARAM)finder.GetSafeHwnd());
        CClipRecord* clipsShown = page.GetClipRecordset();
        EXPECT_EQ(1, clipsShown->GetRecordCount()) << i;
        EXPECT_EQ(clips[i], clipsShown->m_ID) << i;
        CString title;
        page.GetDlgItemText(IDC_DB_TITLE, title);
        EXPECT_STREQ("Database Records for O'Brien,Sam Only", title);
    }
    // "Any Name" only requeries: the subject chosen last stays in force.
    finder.SetCurSel(finder.FindStringExact(-1, "Any Name"));
    page.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_DB_FIND, CBN_SELCHANGE), (LPARAM)finder.GetSafeHwnd());
    page.GetClipRecordset()->MoveLast();
    EXPECT_EQ(1, page.GetClipRecordset()->GetRecordCount());
}

TEST_F(ClipGroupsTest, AFailedNetworkImportSendsNothingAndRestoresTheNetworkFlag)
{
    SelectGroup("Keep");
    m_config.SetNetworkDatabase(TRUE);
    Click(IDC_CG_SEND_GROUP); // the member's video file is not in the capture folder
    EXPECT_TRUE(m_config.IsNetworkDatabase());
    EXPECT_TRUE(answers.Saw("Process failed.  Check remote database connection"));
    m_config.SetNetworkDatabase(FALSE);
}

namespace {

CString Position(int current, int count)
{
    CString text;
    text.Format("%d of %d", current, count);
    return text;
}

// A clip type with quotes, brackets and pattern characters among the field definitions'.
const char kOddType[] = "Chip 'n' Run [50%_*?#]";

const char kOddFieldDefs[] =
    "<FieldDefs>\n"
    "<Field Name=\"ClipType\" DisplayName=\"Kind\" DisplayType=\"List\">"
    "<Entry>Swing</Entry><Entry>Drill</Entry><Entry>Comparison</Entry>"
    "<Entry>Chip 'n' Run [50%_*?#]</Entry></Field>\n"
    "<Field Name=\"ClipFilter\" DisplayName=\"Clip Filter\" DisplayType=\"List\">"
    "<Entry>Show All</Entry><Entry>Show Swings</Entry><Entry>Show Drills</Entry>"
    "<Entry>Show Comparisons</Entry><Entry>Show Chips</Entry><Entry>Show Players</Entry>"
    "<Entry>Show O'Hara's 100% Pros</Entry><Entry>Show Lady Pros</Entry>"
    "<Entry>Show Students</Entry></Field>\n"
    "<Field Name=\"Club\" DisplayName=\"Stick\" DisplayType=\"List\"><Entry>Driver</Entry></Field>\n"
    "</FieldDefs>\n";

// Hogg (a pro of a role with a quote and a pattern character) has a swing and a drill; O'Brien, Ida Hale's student, the odd type; Müller,
// a student of nobody, a drill; Sutton, a lady pro, a clip type the definitions do not know.
class ClipGroupsFilterTest : public ClipGroupsTest
{
protected:
    void AddRows() override
    {
        m_config.m_xmlParser.ParseText(kOddFieldDefs, (int)sizeof kOddFieldDefs - 1);
        Run("UPDATE [Person] SET [Role] = ? WHERE [LastName] = 'Hogg'",
            CDaoParams().Add("O'Hara's 100% Pro"));
        hale = AddPerson("Ida", "Hale", "Instructor");
        obrien = AddPerson("Sam", "O'Brien", "Student", hale);
        muller = AddPerson("J\xF6rg", "M\xFCller", "Student");
        sutton = AddPerson("Lou", "Sutton", "Lady Pro");
        CDaoDatabase db;
        db.Open(m_db, FALSE, FALSE);
        AddClip(*this, db, obrien, kOddType, 3, -1, "CLP0003.avi", &odd);
        AddClip(*this, db, muller, "Drill", 4, -1, "CLP0004.avi", &drill);
        AddClip(*this, db, sutton, "Putt", 5, -1, "CLP0005.avi", &putt);
        db.Close();
    }

    long hale = 0, obrien = 0, muller = 0, sutton = 0, odd = 0, drill = 0, putt = 0;
};

} // namespace

TEST_F(ClipGroupsFilterTest, FilterRadiosChoicesAndSubjectsNarrowTheClipsUnderTheirBanner)
{
    EXPECT_STREQ("1 of 5", page.GetPositionText());
    const COLORREF plain = page.GetBanner().GetBkColor();
    struct Step
    {
        UINT radio;        // 0: a choice of the list instead
        int choice;        // the list entry chosen after the radio (-1: none)
        const char* title;
        int count;
    } steps[] = {
        {IDC_CP_SHOW_CLIPS, -1, "Database Records for Swings Only", 1},
        {0, 1, "Database Records for Drills Only", 2},
        {0, 3, "Database Records for Chip 'n' Run [50%_*?#]s Only", 1},
        {IDC_CP_SHOW_CLIPS, -1, "Database Records for Chip 'n' Run [50%_*?#]s Only", 1},
        {IDC_DB_SHOW_PROS, -1, "Database Records for O'Hara's 100% Pros Only", 2},
        {IDC_CP_SHOW_LADY_PROS, -1, "Database Records for Lady Pros Only", 1},
        {IDC_CP_SHOW_STUDENTS, -1, "Database Records for Students Only", 2},
        {0, 1, "Database Records for Instructor - Ida Hale Only", 1},
        {IDC_DB_SHOW_ALL, -1, "Database Clip Records", 5},
    };
    for (const Step& step : steps) {
        if (step.radio)
            Click(step.radio);
        if (step.choice >= 0)
            Choose(IDC_DB_CHOICE, step.choice);
        EXPECT_STREQ(step.title, Text(IDC_DB_TITLE)) << step.title;
        EXPECT_EQ(Position(1, step.count), page.GetPositionText()) << step.title;
        EXPECT_EQ(step.radio == IDC_DB_SHOW_ALL, page.GetBanner().GetBkColor() == plain)
            << step.title;
    }
    EXPECT_FALSE(page.GetFilterChoices().IsWindowEnabled());

    // An instructor's students, then one of them by the finder: the banner names both;
    // "Any Name" keeps the subject and its banner in force.
    Click(IDC_CP_SHOW_STUDENTS);
    ASSERT_EQ(2, page.GetFilterChoices().GetCount()); // "Show All" and Ida Hale
    Choose(IDC_DB_CHOICE, 1);
    CComboBox& finder = page.GetSubjectFinder();
    ASSERT_EQ(2, finder.GetCount()); // "Any Name" and O'Brien
    Choose(IDC_DB_FIND, finder.FindStringExact(-1, "O'Brien,Sam"));
    EXPECT_STREQ("Database Records for O'Brien,Sam and Instructor - Hale, Ida Only",
                 Text(IDC_DB_TITLE));
    EXPECT_EQ(odd, page.GetClipRecordset()->m_ID);
    Choose(IDC_DB_FIND, finder.FindStringExact(-1, "Any Name"));
    EXPECT_STREQ("Database Records for O'Brien,Sam and Instructor - Hale, Ida Only",
                 Text(IDC_DB_TITLE));
    EXPECT_EQ(odd, page.GetClipRecordset()->m_ID);
    EXPECT_STREQ("1 of 1", page.GetPositionText());
}

TEST_F(ClipGroupsFilterTest, TheRecordFormShowsTheClipReadOnlyAndWalksWithButtonsAndSlider)
{
    EXPECT_STREQ("Kind", Text(IDC_CP_TYPE_LABEL));
    EXPECT_STREQ("Stick", Text(IDC_CP_CLUB_LABEL));
    EXPECT_FALSE(page.GetDlgItem(IDC_CG_MORE)->IsWindowEnabled());
    // The clips in the page's order: types descending, then name and time.
    struct Row
    {
        const char* type;
        const char* subject;
        const char* instructor;
    } rows[] = {
        {"Swing", "Hogg,Ben", ""},
        {"Swing", "Sutton,Lou", ""}, // "Putt" is no type of the definitions
        {"Drill", "Hogg,Ben", ""},
        {"Drill", "M\xFCller,J\xF6rg", ""},
        {kOddType, "O'Brien,Sam", "Hale, Ida"},
    };
    Click(IDC_DB_FIRST);
    std::multiset<std::string> seen, expected;
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Position(i + 1, 5), page.GetPositionText());
        seen.insert(S(Text(IDC_CP_TYPE) + "|" + Text(IDC_CP_SUBJECT) + "|" + Text(IDC_CP_INSTRUCTOR)));
        expected.insert(std::string(rows[i].type) + "|" + rows[i].subject + "|" + rows[i].instructor);
        EXPECT_STREQ("Driver", Text(IDC_CP_CLUB));
        Click(IDC_CG_NEXT);
    }
    EXPECT_EQ(expected, seen);
    EXPECT_STREQ("5 of 5", page.GetPositionText()); // past the last: stays
    // The row is never written: the unknown type is only shown as a swing.
    EXPECT_EQ(1, Count("SELECT * FROM [VideoClip] WHERE [ClipType] = 'Putt'"));

    // The slider jumps to a position and stays where it was dropped.
    CSliderCtrl* slider = (CSliderCtrl*)page.GetDlgItem(IDC_CG_SLIDER);
    EXPECT_EQ(4, slider->GetRangeMax());
    slider->SetPos(2);
    page.SendMessage(WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 2), (LPARAM)slider->GetSafeHwnd());
    EXPECT_STREQ("3 of 5", page.GetPositionText());
    EXPECT_EQ(2, slider->GetPos());

    // Without clips: zero of zero, nothing to walk.
    Run("DELETE FROM [ReferenceClipGroupDetail]");
    Run("DELETE FROM [VideoClip]");
    Click(IDC_DB_SHOW_ALL);
    EXPECT_STREQ("0 of 0", page.GetPositionText());
    for (UINT id : {IDC_DB_FIRST, IDC_CG_PREV, IDC_CG_NEXT, IDC_DB_LAST})
        Click(id);
    EXPECT_STREQ("0 of 0", page.GetPositionText());
    EXPECT_STREQ("", Text(IDC_CP_SUBJECT));
}
