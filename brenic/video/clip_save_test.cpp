// Saving clips into the main database: the first save of a capture (people found by their
// exact names, the video moved to a CLP name), duplicates by GlobalID, and the failures
// that must leave neither a row without video nor an emptied drawing.
#include "clip_fixture.h"
#include "ClipBar.h"
#include "DatabaseMgr.h"
#include "ODClosedShapes.h"
#include "resource.h"
#include "../browser/DatabaseSheet.h"
#include "jet_fault_vfs.h"

namespace {

// Every database of this program is opened through the layer that fails writes on demand.
const bool s_faultsInstalled = (jet_fault::Install(), true);

class ClipSave : public ClipFolder
{
protected:
    // The database sheet confirms each new row; its question about an untouched club and
    // view belongs to the browser's own tests.
    void SetUp() override
    {
        ClipFolder::SetUp();
        m_config.SetNagEnable(FALSE);
    }

    void TearDown() override
    {
        ForgetSheet();
        ClipFolder::TearDown();
    }

    // Each save meets a sheet of its own, so that the answers helper sees it come up.
    static void ForgetSheet()
    {
        delete g_pDatabaseSheet;
        g_pDatabaseSheet = NULL;
    }

    int Count(const char* table, const char* where = "")
    {
        CDaoDatabase db;
        db.Open(m_main, FALSE, TRUE);
        CDaoRecordset rs(&db);
        rs.Open(dbOpenSnapshot, CString("SELECT * FROM [") + table + "] " + where);
        int n = 0;
        for (; !rs.IsEOF(); rs.MoveNext())
            ++n;
        rs.Close();
        db.Close();
        return n;
    }

    void AddPerson(const char* last, const char* first)
    {
        CDaoDatabase db;
        db.Open(m_main);
        CString sql;
        CExtString l(last);
        l.EscapeQuotes();
        sql.Format("INSERT INTO [Person] ([LastName], [FirstName], [Role], [InstructorID]) "
                   "VALUES ('%s', '%s', 'Student', -1)",
                   (LPCSTR)l, first);
        db.Execute(sql);
        db.Close();
    }

    int PersonId(const char* last)
    {
        CPeopleRecord people;
        people.Open();
        int id = -1;
        if (people.FindFirst("[LastName] = ?", CDaoParams().Add(CString(last))))
            id = people.m_ID;
        people.Close();
        return id;
    }
};

} // namespace

TEST_F(ClipSave, FirstSaveMovesTheCaptureAndFindsPeopleByExactNames)
{
    AddPerson("Sm*th", "Bo");
    AddPerson("Smith", "Bo");
    struct Case {
        const char* last;
        const char* first;
    } cases[] = {{"O'Brien", "Sam"}, {"Sm*th", "Bo"}};
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.last);
        CString name;
        name.Format("CAP%d.avi", ++n);
        CClip* clip = NewCapture(name, "captured");
        clip->m_subject.m_LastName = c.last;
        clip->m_subject.m_FirstName = c.first;
        clip->m_instructor.m_LastName = "Hale";
        clip->m_instructor.m_FirstName = "Ida";
        ASSERT_TRUE(clip->Save());
        EXPECT_FALSE(clip->m_bNew);
        EXPECT_FALSE(Exists(m_capture + "\\" + name));
        EXPECT_EQ("captured", ReadBytes(clip->m_strVideoPath));
        const CString file = CClip::GetFileName(clip->m_strVideoPath);
        EXPECT_STREQ("CLP", file.Left(3));
        EXPECT_EQ(PersonId(c.last), clip->m_nPersonID);
        CClip* back = CClip::LoadFromDatabase(clip->m_nID);
        ASSERT_TRUE(back != NULL);
        EXPECT_STREQ(clip->m_strVideoPath, back->m_strVideoPath);
        EXPECT_STREQ(c.last, back->m_subject.m_LastName);
        delete back;
        delete clip;
        ForgetSheet();
    }
    // Nobody was added: the instructor and both students were found as they are.
    EXPECT_EQ(4, Count("Person"));
    EXPECT_EQ(2, Count("VideoClip"));
    // Only the database sheet, asking to complete each new row, was shown (it comes up with
    // the common control's caption, before it titles itself), and its preview's word about
    // these test files, which are no videos.
    for (const std::string& shown : m_answers.Shown())
        if (shown.find("Properties for ") != 0 &&
            shown.find("Save Clip to Database - Fill in missing or incorrect fields") != 0 &&
            shown.find("Could not add source filter") == std::string::npos)
            ADD_FAILURE() << shown;
}

// A stored clip saved again asks whether to save or to edit its row: "Save" writes the
// clip's changes into the row, "Cancel" leaves the row as it was.
TEST_F(ClipSave, StoredClipSavedAgainWritesItsChangesOnSave)
{
    CClip* clip = NewCapture("CAP1.avi", "captured");
    ASSERT_TRUE(clip->Save());
    ForgetSheet();
    const struct {
        int button;
        const char* comment;
        const char* stored;
    } cases[] = {{IDCANCEL, "cancelled", ""}, {IDC_SAVE_EXISTING_SAVE, "saved", "saved"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.comment);
        clip->m_strComment = c.comment;
        m_answers.Queue(c.button);
        EXPECT_EQ(c.button != IDCANCEL, clip->Save());
        EXPECT_TRUE(m_answers.Saw("Clip is already saved."));
        CClip* back = CClip::LoadFromDatabase(clip->m_nID);
        ASSERT_TRUE(back != NULL);
        EXPECT_STREQ(c.stored, back->m_strComment);
        delete back;
    }
    delete clip;
}

// The save sheet writes the subject, club and comment the user chose into the row: the clip
// takes them back, and its next save keeps them.
TEST_F(ClipSave, FieldsTheSheetWroteSurviveTheNextSave)
{
    AddPerson("Lowe", "Kim");
    CClip* clip = NewCapture("CAP1.avi", "captured");
    ASSERT_TRUE(clip->Save());
    ForgetSheet();
    CDaoDatabase db;
    db.Open(m_main);
    CString sql;
    sql.Format("UPDATE [VideoClip] SET [PersonID] = %d, [Club] = 'Wedge', [Comment] = 'hips' "
               "WHERE [ID] = %d",
               PersonId("Lowe"), clip->m_nID);
    db.Execute(sql);
    db.Close();
    clip->TakeSheetFields();
    EXPECT_STREQ("Lowe", clip->m_subject.m_LastName);
    m_answers.Queue(IDC_SAVE_EXISTING_SAVE);
    ASSERT_TRUE(clip->Save());
    CClip* back = CClip::LoadFromDatabase(clip->m_nID);
    ASSERT_TRUE(back != NULL);
    EXPECT_EQ(PersonId("Lowe"), back->m_nPersonID);
    EXPECT_STREQ("Wedge", back->m_strClub);
    EXPECT_STREQ("hips", back->m_strComment);
    delete back;
    delete clip;
}

TEST_F(ClipSave, UnconfirmedSaveWithoutNamesKeepsTheCaptureAndItsDrawing)
{
    CClip* clip = NewCapture("CAP7.avi");
    clip->m_subject.m_LastName = "";
    clip->m_subject.m_FirstName = "";
    CODRectComponent* rect = new CODRectComponent;
    rect->Create(1, 2, 30, 40);
    clip->GetDrawingModel()->AppendChild(rect);
    // The database sheet is not confirmed: the row goes and the clip stays unsaved.
    m_answers.Queue(IDCANCEL);
    EXPECT_FALSE(clip->Save());
    EXPECT_TRUE(clip->m_bNew);
    EXPECT_STREQ(m_capture + "\\CAP7.avi", clip->m_strVideoPath);
    EXPECT_TRUE(Exists(clip->m_strVideoPath));
    EXPECT_EQ(0, Count("VideoClip"));
    EXPECT_EQ(2, Count("Person"));
    EXPECT_EQ(1, clip->GetDrawingModel()->GetChildCount());
    EXPECT_EQ(0, CDatabaseMgr().CountFiles(m_capture + "\\CLP*.avi"));
    delete clip;
    EXPECT_FALSE(Exists(m_capture + "\\CAP7.avi"));
}

TEST_F(ClipSave, DuplicateGlobalIdAsksAndAFailedMoveLeavesNoRow)
{
    CClip* first = NewCapture("CAP8.avi");
    ASSERT_TRUE(first->Save());
    ForgetSheet();
    CClip* second = NewCapture("CAP9.avi");
    second->m_strGlobalID = first->m_strGlobalID;
    m_answers.Queue(IDNO);
    EXPECT_FALSE(second->Save());
    ForgetSheet();
    EXPECT_TRUE(m_answers.Saw("Clip already exists in the database."));
    EXPECT_EQ(1, Count("VideoClip"));
    EXPECT_TRUE(Exists(first->m_strVideoPath));
    EXPECT_TRUE(Exists(second->m_strVideoPath));

    // The video has gone before the save can move it: no row is left naming a missing file.
    delete second;
    second = NewCapture("CAP10.avi");
    DeleteFileA(second->m_strVideoPath);
    m_answers.Clear();
    EXPECT_FALSE(second->Save());
    EXPECT_TRUE(m_answers.Saw("An Error occured"));
    EXPECT_TRUE(second->m_bNew);
    EXPECT_EQ(1, Count("VideoClip"));
    EXPECT_EQ(1, CDatabaseMgr().CountFiles(m_capture + "\\CLP*.avi"));

    // A saved clip whose row was deleted becomes new again; its CLP file stays.
    {
        CDaoDatabase db;
        db.Open(m_main);
        db.Execute("DELETE FROM [VideoClip]");
        db.Close();
    }
    m_answers.Clear();
    EXPECT_FALSE(first->UpdateDatabaseRecord(FALSE));
    EXPECT_TRUE(m_answers.Saw("Database Error: Record not found"));
    EXPECT_TRUE(first->m_bNew);
    const CString kept = first->m_strVideoPath;
    delete first;
    delete second;
    EXPECT_TRUE(Exists(kept));
}

// A full disk or a failing disk during the first save: the user is told the real cause (not
// the rollback's own complaint), the clip is back as it was, and saving again stores the
// video.
TEST_F(ClipSave, DiskFullOrFailingDiskShowsTheCauseAndASecondSaveStoresTheVideo)
{
    const struct {
        int fault;
        long error;
        const char* text;
    } cases[] = {{SQLITE_FULL, 3026, "Not enough space on disk."},
                 {SQLITE_IOERR_WRITE, 3043, "Disk or network error."}};
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        CString name;
        name.Format("CAP2%d.avi", n++);
        CClip* clip = NewCapture(name, "captured whole");
        const int rows = Count("VideoClip");
        const int files = CDatabaseMgr().CountFiles(m_capture + "\\CLP*.avi");
        long error = 0;
        CString shown;
        jet_fault::Arm(c.fault);
        try {
            clip->Save();
            ADD_FAILURE() << "the save reported no error";
        } catch (CDaoException* e) {
            error = e->m_pErrorInfo->m_lErrorCode;
            char text[512] = "";
            e->GetErrorMessage(text, sizeof text);
            shown = text;
            e->Delete();
        }
        const int failures = jet_fault::Faults().failures;
        jet_fault::Disarm();
        ForgetSheet();
        EXPECT_GT(failures, 0);
        EXPECT_EQ(c.error, error);
        EXPECT_STREQ(c.text, shown);
        EXPECT_TRUE(clip->m_bNew);
        EXPECT_EQ(0, clip->m_nID);
        EXPECT_STREQ(m_capture + "\\" + name, clip->m_strVideoPath);
        EXPECT_EQ("captured whole", ReadBytes(clip->m_strVideoPath));
        EXPECT_EQ(rows, Count("VideoClip"));
        EXPECT_EQ(files, CDatabaseMgr().CountFiles(m_capture + "\\CLP*.avi"));

        ASSERT_TRUE(clip->Save());
        ForgetSheet();
        EXPECT_FALSE(clip->m_bNew);
        EXPECT_FALSE(Exists(m_capture + "\\" + name));
        EXPECT_EQ("captured whole", ReadBytes(clip->m_strVideoPath));
        CClip* back = CClip::LoadFromDatabase(clip->m_nID);
        ASSERT_TRUE(back != NULL);
        EXPECT_STREQ(clip->m_strVideoPath, back->m_strVideoPath);
        EXPECT_EQ("captured whole", ReadBytes(back->m_strVideoPath));
        delete back;
        delete clip;
    }
    EXPECT_EQ(2, Count("VideoClip"));
}

// A person without a first name is stored with a Null one; the name that is empty again at
// the next save or export finds that row instead of adding the person once more.
TEST_F(ClipSave, AnEmptyFirstNameFindsThePersonStoredWithoutOne)
{
    {
        CDaoDatabase db;
        db.Open(m_main);
        db.Execute("INSERT INTO [Person] ([LastName], [Role], [InstructorID]) "
                   "VALUES ('Nofirst', 'Student', -1)");
        db.Execute("INSERT INTO [Person] ([LastName], [FirstName], [Role], [InstructorID]) "
                   "VALUES ('Nofirst', 'Ann', 'Student', -1)");
        db.Close();
    }
    const struct {
        const char* first;
        const char* found;  // the first name of the row found; NULL: none
    } cases[] = {{"", ""}, {"Ann", "Ann"}, {"Bo", NULL}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        CPeopleRecord people;
        people.Open();
        const BOOL found = people.FindFirst(PersonNameCriterion(c.first),
                                            CDaoParams().Add(CString("Nofirst")).Add(CString(c.first)));
        EXPECT_EQ(c.found != NULL, !!found);
        if (found && c.found)
            EXPECT_STREQ(c.found, people.m_FirstName);
        people.Close();
    }
    // Copied into another database twice (as an export does), the person is added once.
    const CString other = m_dir + "other.mdb";
    {
        CDaoDatabase db;
        db.Create(other, dbLangGeneral);
        for (const char* const* s = kClipDatabaseSchema; *s; ++s)
            db.Execute(*s);
        db.Close();
    }
    CPeopleRecord people;
    people.Open();
    ASSERT_TRUE(people.FindFirst("[FirstName] Is Null"));
    const int id = people.m_ID;
    people.Close();
    CDatabaseMgr mgr;
    const int first = mgr.CopyPersonRecord(id, "", other);
    EXPECT_GT(first, 0);
    EXPECT_EQ(first, mgr.CopyPersonRecord(id, "", other));
}

// The start after a save that was stopped: a row naming an empty or missing video goes (its
// recording is still a CAP file, offered again); a CAP name shared with a saved clip's video
// goes, and so does a CLP name that no row took; everything else stays.
TEST_F(ClipSave, StartRepairsWhatAStoppedSaveLeft)
{
    const struct {
        const char* video;  // the row's file; NULL: no row
        const char* content;  // NULL: missing
        const char* cap;      // a CAP name of the same file; NULL: none
        bool rowStays, videoStays;
    } cases[] = {
        {"CLPa.avi", "whole", NULL, true, true},
        {"CLPb.avi", "", NULL, false, false},
        {"CLPc.avi", NULL, NULL, false, false},
        {"CLPd.avi", "whole", "CAPd.avi", true, true},
        {NULL, NULL, "CAPe.avi", false, false},
    };
    std::vector<int> ids;
    for (const auto& c : cases) {
        int id = 0;
        if (c.video) {
            CClip* clip = NewCapture(c.video, c.content ? c.content : "");
            id = AddRow(clip);
            if (!c.content)
                DeleteFileA(clip->m_strVideoPath);
            if (c.cap)
                ASSERT_TRUE(CreateHardLinkA(m_capture + "\\" + c.cap, clip->m_strVideoPath, NULL));
            delete clip;
        } else {
            // A save stopped before its row: the recording and the CLP name given to it.
            WriteBytes(m_capture + "\\" + c.cap, "recording");
            ASSERT_TRUE(CreateHardLinkA(m_capture + "\\CLPe.avi", m_capture + "\\" + c.cap, NULL));
        }
        ids.push_back(id);
    }
    WriteBytes(m_capture + "\\CAPb.avi", "recording of b");
    EXPECT_EQ(2, CDatabaseMgr().RepairInterruptedSaves());
    for (size_t i = 0; i < ids.size(); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.video ? c.video : c.cap);
        if (ids[i]) {
            CString where;
            where.Format("WHERE [ID] = %d", ids[i]);
            EXPECT_EQ(c.rowStays ? 1 : 0, Count("VideoClip", where));
            EXPECT_EQ(c.videoStays, !!Exists(m_capture + "\\" + c.video));
        }
        if (c.cap)
            EXPECT_EQ(!c.video, !!Exists(m_capture + "\\" + c.cap));
    }
    EXPECT_FALSE(Exists(m_capture + "\\CLPe.avi"));
    EXPECT_EQ("recording", ReadBytes(m_capture + "\\CAPe.avi"));
    EXPECT_EQ("recording of b", ReadBytes(m_capture + "\\CAPb.avi"));
    EXPECT_EQ("whole", ReadBytes(m_capture + "\\CLPd.avi"));
    // Nothing more to do at the next start.
    EXPECT_EQ(0, CDatabaseMgr().RepairInterruptedSaves());
    EXPECT_EQ(2, Count("VideoClip"));
}
