// The export command: the file dialog's proposal, the three file types, batches that ask
// once, export folders that hold other databases, and comparisons as two clip files.
#include "clip_fixture.h"
#include "resource.h"
#include "DatabaseMgr.h"

namespace {

class ClipExport : public ClipFolder
{
protected:
    void SetUp() override
    {
        ClipFolder::SetUp();
        CClip::EndBatchExport();
        CClip::s_strLastExportFolder.Empty();
    }

    int Rows(const CString& db)
    {
        CDaoDatabase d;
        d.Open(db, FALSE, TRUE);
        CDaoRecordset rs(&d);
        rs.Open(dbOpenSnapshot, "SELECT * FROM [VideoClip]");
        int n = 0;
        for (; !rs.IsEOF(); rs.MoveNext())
            ++n;
        rs.Close();
        d.Close();
        return n;
    }

    CClip* Saved(const char* name, const char* video, int hour)
    {
        CClip* clip = NewCapture(name, video);
        clip->m_nPersonID = 2;
        clip->m_captureTime = COleDateTime(2024, 3, 5, hour, 7, 9);
        AddRow(clip);
        return clip;
    }
};

} // namespace

TEST_F(ClipExport, AviWithDatabaseGoesToTheProposedFolderAndItsExportMdb)
{
    CClip* clip = Saved("CLPe1.avi", "video-1", 14);
    m_config.SetExportFilterIndex(2);
    EXPECT_EQ(0, clip->ExportClips(NULL));
    const CString folder = m_dir + "ExportedClips\\";
    const CString file = folder + "Sam O'Brien Swing 03_05_2024 02_07_09PM.avi";
    EXPECT_EQ("video-1", ReadBytes(file));
    EXPECT_EQ(1, Rows(folder + "Export.mdb"));
    EXPECT_STREQ(m_dir + "ExportedClips", CClip::s_strLastExportFolder);
    EXPECT_TRUE(m_answers.Saw("Confirm filename and location of exported clip."));

    // A folder with another database besides "Export.mdb": the rows go to Export.mdb and
    // none of either file is lost.
    const CString other = m_dir + "Other\\";
    CreateDirectoryA(other, NULL);
    CDatabaseMgr mgr;
    const CString otherDb = mgr.OpenExportDatabase(other, "Aaa.mdb");
    ASSERT_GT(mgr.ExportClipRecord(clip->m_nID, otherDb, "old.avi", "", TRUE), 0);
    const CString exportDb = mgr.OpenExportDatabase(other, "Export.mdb");
    ASSERT_GT(mgr.ExportClipRecord(clip->m_nID, exportDb, "older.avi", "", TRUE), 0);
    CClip::s_strLastExportFolder = m_dir + "Other";
    CClip* second = Saved("CLPe2.avi", "video-2", 15);
    m_answers.Clear();
    EXPECT_EQ(0, second->ExportClips(NULL));
    EXPECT_EQ(2, Rows(exportDb));
    EXPECT_EQ(1, Rows(otherDb));
    EXPECT_EQ("video-2", ReadBytes(other + "Sam O'Brien Swing 03_05_2024 03_07_09PM.avi"));

    // The third file type: the video alone, and the type is kept for the next export.
    m_config.SetExportFilterIndex(3);
    CClip::s_strLastExportFolder = m_dir + "Plain";
    CreateDirectoryA(m_dir + "Plain", NULL);
    EXPECT_EQ(0, clip->ExportClips(NULL));
    EXPECT_EQ(3, m_config.GetExportFilterIndex());
    EXPECT_EQ("video-1", ReadBytes(m_dir + "Plain\\Sam O'Brien Swing 03_05_2024 02_07_09PM.avi"));
    EXPECT_FALSE(Exists(m_dir + "Plain\\Export.mdb"));

    // Cancelling the dialog.
    m_answers.Queue(IDCANCEL);
    EXPECT_EQ(2, clip->ExportClips(NULL));
    delete second;
    delete clip;
}

TEST_F(ClipExport, BatchAsksOnceAndComparisonsTravelAsTwoClipFiles)
{
    CClip* partner = Saved("CLPp1.avi", "partner", 9);
    CClip* clip = NewCapture("CLPc1.avi", "clip");
    clip->m_nPersonID = 2;
    clip->m_strClipType = "Comparison";
    clip->m_nComparisonClipID = partner->m_nID;
    AddRow(clip);
    CClip* other = Saved("CLPo1.avi", "other", 11);
    m_config.SetExportFilterIndex(1);

    CClip::BeginBatchExport();
    EXPECT_EQ(0, clip->ExportClips(NULL));
    EXPECT_EQ(0, other->ExportClips(NULL));
    CClip::EndBatchExport();
    EXPECT_EQ(1u, m_answers.Count());
    EXPECT_TRUE(m_answers.Saw("Confirm target directory and file type of exported clips."));
    const CString folder = m_dir + "ExportedClips\\";
    EXPECT_EQ(3, CDatabaseMgr().CountFiles(folder + "*.kpx"));
    EXPECT_TRUE(Exists(folder + clip->GetExportFileName(".kpx")));
    EXPECT_TRUE(Exists(folder + partner->GetExportFileName(".kpx")));
    EXPECT_TRUE(Exists(folder + other->GetExportFileName(".kpx")));

    // Again in a batch: "No To All" skips both without asking twice.
    m_answers.Clear();
    m_answers.Queue(IDOK);
    m_answers.Queue(IDC_REPLACE_NOTOALL);
    CClip::BeginBatchExport();
    EXPECT_EQ(1, clip->ExportClips(NULL));
    EXPECT_EQ(1, other->ExportClips(NULL));
    CClip::EndBatchExport();
    EXPECT_EQ(2u, m_answers.Count());
    delete clip;
    delete other;
    delete partner;
}

TEST_F(ClipExport, UnsavedCaptureTravelsWithItsOwnTabs)
{
    CClip* clip = NewCapture("CAPu1.avi", "unsaved-video");
    ASSERT_TRUE(clip->m_bNew);
    clip->m_nSoundMarkField = 60;
    clip->PlaceTabsAroundImpact();
    clip->BuildTabString();
    const CString tabs = clip->m_strTabString;
    const CString ownPath = clip->m_strVideoPath;
    m_config.SetExportFilterIndex(2);
    EXPECT_EQ(0, clip->ExportClips(NULL));
    const CString folder = m_dir + "ExportedClips\\";
    const CString file = folder + "Sam O'Brien Swing 03_05_2024 02_07_09PM.avi";
    EXPECT_EQ("unsaved-video", ReadBytes(file));
    CDaoDatabase db;
    db.Open(folder + "Export.mdb", FALSE, TRUE);
    CClipRecord rs(&db);
    rs.Open(dbOpenSnapshot, "SELECT * FROM [VideoClip]");
    ASSERT_FALSE(rs.IsEOF());
    EXPECT_STREQ(tabs, rs.m_TabString);  // the clip's own tabs, not placed again
    const long person = rs.m_PersonID;
    rs.MoveNext();
    EXPECT_TRUE(rs.IsEOF());
    rs.Close();
    // The student travels too (copied from the main database, with the instructor).
    CPeopleRecord people(&db);
    people.Open(dbOpenSnapshot, "SELECT * FROM [Person]");
    CString student;
    int rows = 0;
    for (; !people.IsEOF(); people.MoveNext(), ++rows)
        if (people.m_ID == person)
            student = people.m_LastName;
    EXPECT_STREQ("O'Brien", student);
    EXPECT_LE(rows, 2);
    people.Close();
    db.Close();
    // The clip itself stays an unsaved capture at its own file.
    EXPECT_TRUE(clip->m_bNew);
    EXPECT_STREQ(ownPath, clip->m_strVideoPath);
    delete clip;
}

