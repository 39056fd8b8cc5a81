// Importing clip files and videos into the main database and the clip panel: bare videos,
// a comparison that travels as two clip files, replacing, batches, and clip files whose
// database must not be trusted.
#include "clip_fixture.h"
#include "ClipBar.h"
#include "DatabaseMgr.h"
#include "KpxFormat.h"
#include "resource.h"
#include <sqlite3.h>
#include "jet_db.h"

namespace {

class ClipImport : public ClipFolder
{
protected:
    void SetUp() override
    {
        ClipFolder::SetUp();
        m_out = m_dir + "Out\\";
        CreateDirectoryA(m_out, NULL);
        ASSERT_TRUE(m_host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP, 0, 0, 400, 200,
                                    NULL, NULL));
        ASSERT_TRUE(m_panel.CreatePanel(&m_host, CRect(0, 0, 306, 77), 152));
    }
    void TearDown() override
    {
        m_panel.DestroyWindow();
        m_host.DestroyWindow();
        ClipFolder::TearDown();
    }

    // A saved comparison: the clip (video "A...") and its partner (video "B...").
    CClip* SavedComparison()
    {
        CClip* partner = NewCapture("CLPb1.avi", "partner-video");
        partner->m_captureTime = COleDateTime(2024, 3, 5, 9, 0, 0);
        AddRow(partner);
        CClip* clip = NewCapture("CLPa1.avi", "clip-video");
        clip->m_nPersonID = partner->m_nPersonID = 2;
        clip->m_strClipType = "Comparison";
        clip->m_nComparisonClipID = partner->m_nID;
        clip->m_nSoundMarkField = 70;
        clip->PlaceTabsAroundImpact();
        AddRow(clip);
        partner->UpdateDatabaseRecord(FALSE);
        delete partner;
        return clip;
    }

    // Writes the clip (and, for a comparison, its partner) as clip files into m_out, as
    // the export of a comparison does; the clip file's path.
    CString ExportAsClipFiles(CClip* clip)
    {
        const CString temp = CClip::GetTempFolder();
        const CString target = m_out + clip->GetExportFileName(".kpx");
        CopyFileA(clip->m_strVideoPath, temp + "a-tmp.avi", FALSE);
        EXPECT_TRUE(clip->PackClipFile(target, temp + "a-tmp.avi", NULL, FALSE, FALSE));
        if (clip->IsComparison()) {
            CClip* partner = clip->GetComparisonClip();
            CopyFileA(partner->m_strVideoPath, temp + "b-tmp.avi", FALSE);
            EXPECT_TRUE(clip->PackClipFile(m_out + partner->GetExportFileName(".kpx"),
                                           temp + "b-tmp.avi", NULL, TRUE, FALSE));
        }
        return target;
    }

    int Rows(const char* sql)
    {
        CDaoDatabase db;
        db.Open(m_main, FALSE, TRUE);
        CDaoRecordset rs(&db);
        rs.Open(dbOpenSnapshot, sql);
        int n = 0;
        for (; !rs.IsEOF(); rs.MoveNext())
            ++n;
        rs.Close();
        db.Close();
        return n;
    }

    int CountFiles(const CString& pattern)
    {
        return CDatabaseMgr().CountFiles(pattern);
    }

    CWnd m_host;
    CClipBar m_panel;
    CString m_out;
};

// Runs SQLite on a clip file's database part and writes the clip file again.
void EditClipFileDatabase(const CString& clipFile, const char* sql)
{
    ASSERT_TRUE(CClip::UnpackClipFile(clipFile, FALSE));
    const CString temp = CClip::GetTempFolder();
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(jet::UnixPath((LPCSTR)(temp + "kpx.mdb")).c_str(), &db));
    // Text columns name the engine's collation; byte order is enough here.
    sqlite3_create_collation(db, "JETTEXT", SQLITE_UTF8, nullptr,
                             [](void*, int n1, const void* a, int n2, const void* b) {
                                 int c = memcmp(a, b, n1 < n2 ? n1 : n2);
                                 return c ? c : n1 - n2;
                             });
    EXPECT_EQ(SQLITE_OK, sqlite3_exec(db, sql, nullptr, nullptr, nullptr)) << sqlite3_errmsg(db);
    sqlite3_close(db);
    ClipFolder::WriteBytes(clipFile, std::string());
    std::string part = ClipFolder::ReadBytes(temp + "kpx.mdb");
    std::string video = ClipFolder::ReadBytes(temp + "clip.avi");
    kpx::Header h;
    h.magic = kpx::kMagic;
    h.version = 2;
    h.dbOffset = 20;
    h.dbEnd = 20 + (uint32_t)part.size();
    uint8_t header[20];
    kpx::EncodeHeader(h, header);
    ClipFolder::WriteBytes(clipFile, std::string((char*)header, 20) + part + video);
}

} // namespace

TEST_F(ClipImport, BareVideoBecomesAnUnsavedClipWithACopy)
{
    const CString source = m_out + "swing.avi";
    WriteBytes(source, "bare-video");
    ASSERT_TRUE(CClip::ImportClipFiles(source, FALSE));
    ASSERT_EQ(1, m_panel.GetStudentCount());
    CClip* clip = m_panel.GetStudentClip(0);
    EXPECT_TRUE(clip->m_bNew);
    EXPECT_TRUE(clip->m_bImported);
    EXPECT_TRUE(clip->m_bNeedVideoInfo);
    EXPECT_EQ(8, clip->GetTabCount());
    EXPECT_STREQ("IMP", CClip::GetFileName(clip->m_strVideoPath).Left(3));
    EXPECT_EQ("bare-video", ReadBytes(clip->m_strVideoPath));
    const CString copy = clip->m_strVideoPath;
    m_panel.RemoveClipByID(0);
    EXPECT_FALSE(Exists(copy));
    EXPECT_TRUE(Exists(source));

    EXPECT_TRUE(CClip::ImportClipFiles(m_out + "notes.txt", FALSE));
    EXPECT_TRUE(m_answers.Saw("Invalid file format, cannot import file "));
    EXPECT_FALSE(CClip::s_bImporting);
}

TEST_F(ClipImport, ComparisonTravelsAsTwoClipFilesAndComesBackLinked)
{
    CClip* clip = SavedComparison();
    const CString guid = clip->m_strGlobalID;
    const CString clipFile = ExportAsClipFiles(clip);
    delete clip;
    EXPECT_EQ(2, CountFiles(m_out + "*.kpx"));
    for (const std::string& shown : m_answers.Shown())
        ADD_FAILURE() << shown;

    // A fresh database: the rows and videos are gone.
    {
        CDaoDatabase db;
        db.Open(m_main, FALSE, FALSE);
        db.Execute("DELETE FROM [VideoClip]");
        db.Close();
    }
    DeleteFileA(m_capture + "\\CLPa1.avi");
    DeleteFileA(m_capture + "\\CLPb1.avi");

    ASSERT_TRUE(CClip::ImportClipFiles(clipFile, FALSE));
    for (const std::string& shown : m_answers.Shown())
        ADD_FAILURE() << shown;
    ASSERT_EQ(1, m_panel.GetStudentCount());
    CClip* back = m_panel.GetStudentClip(0);
    EXPECT_STREQ(guid, back->m_strGlobalID);
    EXPECT_TRUE(back->IsComparison());
    EXPECT_FALSE(back->m_bNew);
    EXPECT_EQ("clip-video", ReadBytes(back->m_strVideoPath));
    CClip* partner = back->GetComparisonClip();
    ASSERT_TRUE(partner != NULL);
    EXPECT_EQ("partner-video", ReadBytes(partner->m_strVideoPath));
    EXPECT_STRNE(back->m_strVideoPath, partner->m_strVideoPath);
    EXPECT_EQ(2, Rows("SELECT * FROM [VideoClip]"));
    EXPECT_EQ(2, Rows("SELECT * FROM [Person]"));  // matched by name, not added again
    EXPECT_EQ(2, CountFiles(m_capture + "\\CLP*.avi"));
    // Nothing is left in the temporary folder or beside the clip files.
    WIN32_FIND_DATAA left;
    HANDLE any = FindFirstFileA(CClip::GetTempFolder() + "*.*", &left);
    if (any != INVALID_HANDLE_VALUE) {
        do {
            if (!(left.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                ADD_FAILURE() << "left in the temporary folder: " << left.cFileName;
        } while (FindNextFileA(any, &left));
        FindClose(any);
    }
    EXPECT_EQ(0, CountFiles(m_out + "*.avi"));

    // Without its sibling the clip comes as a swing.
    m_panel.RemoveClipByID(back->m_nID);
    {
        CDaoDatabase db;
        db.Open(m_main, FALSE, FALSE);
        db.Execute("DELETE FROM [VideoClip]");
        db.Close();
    }
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(m_out + "*.kpx", &found);
    do {
        if (m_out + found.cFileName != clipFile)
            DeleteFileA(m_out + found.cFileName);
    } while (FindNextFileA(find, &found));
    FindClose(find);
    m_answers.Clear();
    ASSERT_TRUE(CClip::ImportClipFiles(clipFile, FALSE));
    EXPECT_TRUE(m_answers.Saw("Could not find comp kpx file.  Importing file as a swing clip."));
    ASSERT_EQ(1, m_panel.GetStudentCount());
    EXPECT_FALSE(m_panel.GetStudentClip(0)->IsComparison());
    EXPECT_STREQ("Swing", m_panel.GetStudentClip(0)->m_strClipType);
}

TEST_F(ClipImport, ImportingAgainAsksToReplaceAlsoInBatches)
{
    CClip* clip = NewCapture("CLPc1.avi", "v1");
    clip->m_nPersonID = 2;
    AddRow(clip);
    const CString file = ExportAsClipFiles(clip);
    delete clip;

    // Outside a batch: No imports nothing; Yes replaces the row and its video.
    m_answers.Queue(IDNO);
    EXPECT_FALSE(CClip::ImportClipFiles(file, FALSE));
    EXPECT_TRUE(m_answers.Saw("Clip has already been imported to the database."));
    EXPECT_EQ(0, m_panel.GetStudentCount());
    EXPECT_TRUE(Exists(m_capture + "\\CLPc1.avi"));
    m_answers.Queue(IDYES);
    EXPECT_TRUE(CClip::ImportClipFiles(file, FALSE));
    ASSERT_EQ(1, m_panel.GetStudentCount());
    EXPECT_FALSE(Exists(m_capture + "\\CLPc1.avi"));
    EXPECT_EQ(1, Rows("SELECT * FROM [VideoClip]"));
    const CString replaced = m_panel.GetStudentClip(0)->m_strVideoPath;

    // A queued batch: "No To All" skips every later duplicate without asking.
    const CString second = m_out + "copy.kpx";
    CopyFileA(file, second, FALSE);
    m_answers.Clear();
    m_answers.Queue(IDC_REPLACE_NOTOALL);
    CClip::SetQueuedImport();
    CClip::ImportClipFiles(file, FALSE);
    CClip::ImportClipFiles(second, FALSE);
    CClip::EndBatchImport();
    EXPECT_EQ(1u, m_answers.Count());
    EXPECT_TRUE(Exists(replaced));
    EXPECT_EQ(1, m_panel.GetStudentCount());

    // "Yes To All" replaces them without asking again; the replaced clip leaves the panel.
    m_answers.Clear();
    m_answers.Queue(IDC_REPLACE_YESTOALL);
    CClip::SetQueuedImport();
    CClip::ImportClipFiles(file, FALSE);
    CClip::ImportClipFiles(second, FALSE);
    CClip::EndBatchImport();
    EXPECT_EQ(1u, m_answers.Count());
    EXPECT_FALSE(Exists(replaced));
    EXPECT_EQ(1, m_panel.GetStudentCount());
    EXPECT_EQ(1, Rows("SELECT * FROM [VideoClip]"));
    EXPECT_EQ(1, CountFiles(m_capture + "\\CLP*.avi"));
}

TEST_F(ClipImport, ClipFilesWithUntrustedDatabasesAreRefused)
{
    CClip* clip = SavedComparison();
    const CString file = ExportAsClipFiles(clip);
    delete clip;
    {
        CDaoDatabase db;
        db.Open(m_main, FALSE, FALSE);
        db.Execute("DELETE FROM [VideoClip]");
        db.Close();
    }
    const char* const tricks[] = {
        "CREATE TRIGGER t AFTER INSERT ON Person BEGIN DELETE FROM VideoClip; END",
        "ALTER TABLE VideoClip RENAME TO Clips; CREATE VIEW VideoClip AS SELECT * FROM Clips",
    };
    const CString plain = m_dir + "plain.kpx";
    CopyFileA(file, plain, FALSE);
    const int videos = CountFiles(m_capture + "\\CLP*.avi");
    for (const char* trick : tricks) {
        SCOPED_TRACE(trick);
        CopyFileA(plain, file, FALSE);
        EditClipFileDatabase(file, trick);
        m_answers.Clear();
        EXPECT_FALSE(CClip::ImportClipFiles(file, FALSE));
        EXPECT_TRUE(m_answers.Saw("Can't open database"));
        EXPECT_EQ(0, m_panel.GetStudentCount());
        EXPECT_EQ(0, Rows("SELECT * FROM [VideoClip]"));
        EXPECT_EQ(videos, CountFiles(m_capture + "\\CLP*.avi"));
    }

    // A partner named with a path is not looked for outside the clip file's folder: the
    // clip comes as a swing and nothing outside is read or written.
    CopyFileA(plain, file, FALSE);
    EditClipFileDatabase(file, "UPDATE VideoClip SET VideoClipFileName = '..\\x.avi' "
                               "WHERE VideoClipFileName <> 'clip.avi'");
    WriteBytes(m_dir + "x.kpx", "not a clip file");
    m_answers.Clear();
    EXPECT_TRUE(CClip::ImportClipFiles(file, FALSE));
    ASSERT_EQ(1, m_panel.GetStudentCount());
    EXPECT_FALSE(m_panel.GetStudentClip(0)->IsComparison());
    EXPECT_FALSE(Exists(m_dir + "x.avi"));
    EXPECT_EQ("not a clip file", ReadBytes(m_dir + "x.kpx"));
}
