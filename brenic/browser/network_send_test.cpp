// Sending clips of a database on another machine to the clip panel, through the real
// sheet: the other machine's share is a folder of the test linked where Wine finds
// \\machine\Quorvel, holding its database and DV clips; the clip panel and the video
// manager are real.
#include "../video/video_test_support.h"
#include "browser_test_support.h"
#include "ClipsPPage.h"
#include "DatabaseSheet.h"
#include "browser_res.h"

using namespace browser_test;

namespace {

CWinApp theApp("Quorvel Redovove");

class NetworkSendTest : public BrowserTest
{
protected:
    static void SetUpTestSuite()
    {
        AfxOleInit();
        AfxEnableControlContainer();
    }

    void SetUp() override
    {
        BrowserTest::SetUp();
        // The share: a folder of the test behind $WINEPREFIX/dosdevices/unc/<machine>/Quorvel.
        m_share.reset(new TempFolder("share"));
        const char* prefix = getenv("WINEPREFIX");
        m_machine.Format("coach%lu", GetCurrentProcessId());
        m_unc = std::string(prefix && *prefix ? prefix : (std::string(getenv("HOME")) + "/.wine")) +
                "/dosdevices/unc/" + (LPCSTR)m_machine;
        ASSERT_EQ(0, system(("mkdir -p '" + m_unc + "' && ln -sfn '" + m_share->m_unix + "' '" +
                             m_unc + "/Quorvel' && mkdir -p '" + m_share->m_unix + "/Capture'")
                                .c_str()));
        m_remoteDb = "\\\\" + m_machine + "\\Quorvel\\Quorvel.mdb";
        CDaoDatabase db;
        db.Create(m_remoteDb, ";LANGID=0x0409;CP=1252;COUNTRY=0");
        db.Close();
        Execute(m_remoteDb, kClipDatabaseSchema);
        m_config.SetNetworkDatabasePath(m_remoteDb);
        m_config.SetNetworkCaptureDirectory("\\\\" + m_machine + "\\Quorvel\\Capture");
        m_config.SetRemoteMachineName(m_machine);

        g_pLesson = new CLesson;
        ASSERT_TRUE(m_host.CreateEx(0, AfxRegisterWndClass(0), "host",
                                    WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 800, 620, NULL,
                                    NULL));
        g_pClavio = m_clavio = new CClavio;
        ASSERT_TRUE(m_clavio->Create(NULL, "Clavio", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                                     CRect(0, 0, 700, 500), &m_host, 100));
        m_clavio->SetView(&m_host);
        ASSERT_TRUE(m_panel.CreatePanel(&m_host, CRect(0, 510, 306, 587), 152));

        m_hale = RemotePerson("Ida", "Hale", "Instructor", -1);
        m_obrien = RemotePerson("Sam", "O'Brien", "Student", m_hale);
        m_hogg = RemotePerson("Ben", "Hogg", "Pro", -1);
    }

    void TearDown() override
    {
        m_config.SetNetworkDatabase(FALSE);
        m_panel.DestroyWindow();
        if (m_clavio->GetSafeHwnd())
            m_clavio->DestroyWindow();
        delete m_clavio;
        g_pClavio = m_clavio = nullptr;
        m_host.DestroyWindow();
        delete g_pLesson;
        g_pLesson = nullptr;
        system(("rm -f '" + m_unc + "/Quorvel' && rmdir '" + m_unc + "'").c_str());
        m_share.reset();
        BrowserTest::TearDown();
    }

    long RemotePerson(const char* first, const char* last, const char* role, long instructor)
    {
        CDaoDatabase db;
        db.Open(m_remoteDb, FALSE, FALSE);
        db.Execute("INSERT INTO [Person] ([FirstName], [LastName], [Role], [L/RHand], "
                   "[InstructorID], [LastLessonNumber]) VALUES (?, ?, ?, 'Left Hand', ?, 0)",
                   CDaoParams().Add(first).Add(last).Add(role).Add(instructor));
        db.Close();
        return RemoteLastID("Person");
    }

    // A clip row of the other machine; `video` is written into its capture folder as a DV
    // clip ("dv"), as bytes that are no video ("junk"), or not at all ("").
    long RemoteClip(long person, const char* type, const char* file, const char* video,
                    const char* globalId)
    {
        const std::string path = m_share->m_unix + "/Capture/" + file;
        if (std::string(video) == "dv") {
            TempFolder* share = m_share.get();
            DvClip clip(*share, (std::string("Capture/") + file).c_str(), 12);
            EXPECT_TRUE(clip.ok);
        } else if (std::string(video) == "junk") {
            std::ofstream(path) << "not a video";
        }
        CDaoDatabase db;
        db.Open(m_remoteDb, FALSE, FALSE);
        db.Execute("INSERT INTO [VideoClip] ([PersonID], [VideoClipName], [ClipType], [Club], "
                   "[View], [Comment], [ComparisonClipID], [VideoClipFileName], [GlobalID], "
                   "[DateTimeStamp], [TrimIn], [Person2ID]) "
                   "VALUES (?, 'remote', ?, '7 Iron', 'Down the line', 'from the range', -1, ?, "
                   "?, ?, 0, -1)",
                   CDaoParams().Add(person).Add(CString(type)).Add(CString(file))
                       .Add(CString(globalId)).Add(Today()));
        db.Close();
        return RemoteLastID("VideoClip");
    }

    static COleVariant Today()
    {
        COleVariant when;
        V_VT(&when) = VT_DATE;
        V_DATE(&when) = COleDateTime::GetCurrentTime().m_dt;
        return when;
    }

    long RemoteLastID(const char* table)
    {
        CDaoDatabase db;
        db.Open(m_remoteDb, FALSE, TRUE);
        CDaoRecordset rs(&db);
        rs.Open(dbOpenSnapshot, CString("SELECT Max([ID]) FROM [") + table + "]");
        COleVariant v = rs.GetFieldValue(0);
        VariantChangeType(&v, &v, 0, VT_I4);
        rs.Close();
        db.Close();
        return V_I4(&v);
    }

    // Shows the sheet on the clips page and runs `action` inside its loop; OK afterwards
    // unless the action closes the sheet (a press of OK would stay queued for the next
    // showing then).
    int Show(CDatabaseSheet& sheet, std::function<void(CClipsPPage&)> action,
             bool actionCloses = false)
    {
        answers.Queue(0);
        InsideLoop inside([&] {
            if (!sheet.IsWindowVisible())
                sheet.ShowWindow(SW_SHOW);
            action(*sheet.GetClipsPage());
            if (!actionCloses && sheet.IsInModalLoop())
                sheet.PressButton(PSBTN_OK);
        });
        return sheet.ShowModal(1);
    }

    static void Click(CWnd* page, UINT id)
    {
        page->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                          (LPARAM)page->GetDlgItem(id)->GetSafeHwnd());
    }

    // The video files the imports have copied into this machine's capture folder.
    int LocalCopies()
    {
        int n = 0;
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA(m_capture + "\\IMP*.avi", &found);
        if (find != INVALID_HANDLE_VALUE) {
            do
                ++n;
            while (FindNextFileA(find, &found));
            FindClose(find);
        }
        return n;
    }

    std::unique_ptr<TempFolder> m_share;
    CString m_machine, m_remoteDb;
    std::string m_unc;
    CWnd m_host;
    CClavio* m_clavio = nullptr;
    CClipBar m_panel;
    long m_hale = 0, m_obrien = 0, m_hogg = 0;
    DialogAnswers answers;
};

} // namespace

TEST_F(NetworkSendTest, RemoteClipsArriveImportedLabelledAndOnlyOnce)
{
    RemoteClip(m_obrien, "Comparison", "CLP0009.avi", "dv", "G-REMOTE-1");
    RemoteClip(m_hogg, "Drill", "CLP0010.avi", "dv", "G-REMOTE-2");
    m_config.SetNetworkDatabase(TRUE);
    CDatabaseSheet sheet("Vido Database", TRUE, NULL, 1);
    ASSERT_TRUE(sheet.IsConnected());
    EXPECT_EQ(IDOK, Show(sheet, [&](CClipsPPage& page) {
        answers.Clear();
        Click(&page, IDC_CP_SEND_ALL);
        EXPECT_TRUE(m_config.IsNetworkDatabase());
        // Every remote clip goes to the Students pane, a pro's too, under its label.
        ASSERT_EQ(2, m_panel.GetStudentCount()) << answers.Shown().size();
        EXPECT_EQ(0, m_panel.GetProCount());
        EXPECT_EQ(2, LocalCopies());
        std::set<std::string> labels;
        for (int i = 0; i < 2; ++i) {
            labels.insert(S(m_panel.GetStudentList().GetItemText(i, 0)));
            CClip* clip = m_panel.GetStudentClip(i);
            if (clip->m_strGlobalID == "G-REMOTE-1") {
                EXPECT_STREQ("Swing", clip->m_strClipType); // a comparison arrives as a swing
                EXPECT_STREQ("7 Iron", clip->m_strClub);
                EXPECT_STREQ("Down the line", clip->m_strView);
                EXPECT_STREQ("from the range", clip->m_strComment);
                EXPECT_STREQ("O'Brien", clip->m_subject.m_LastName);
                EXPECT_STREQ("Student", clip->m_subject.m_Role);
                EXPECT_STREQ("Left Hand", clip->m_subject.m_LRHand);
                EXPECT_STREQ("Hale", clip->m_instructor.m_LastName);
                EXPECT_STREQ("Ida", clip->m_instructor.m_FirstName);
                EXPECT_STREQ("Instructor", clip->m_instructor.m_Role);
                // The copy is this machine's, in its own capture folder.
                EXPECT_EQ(0, clip->m_strVideoPath.Find(m_capture)) << S(clip->m_strVideoPath);
            } else {
                EXPECT_STREQ("G-REMOTE-2", clip->m_strGlobalID);
                EXPECT_STREQ("Drill", clip->m_strClipType);
                EXPECT_TRUE(clip->m_instructor.m_LastName.IsEmpty());
            }
        }
        EXPECT_EQ((std::set<std::string>{"S.O'Brien (Imported)", "B.Hogg (Imported)"}), labels);
        EXPECT_EQ(m_panel.GetStudentClip(1), m_clavio->GetCurrentClip());
        EXPECT_FALSE(answers.Saw("Clip has already been added"));

        // The shown row again: refused before anything is imported.
        Click(&page, IDC_CP_SEND);
        EXPECT_TRUE(answers.Saw("Clip has already been added to the Clip Panel"));
        // All again: the first listed row ends it quietly.
        answers.Clear();
        Click(&page, IDC_CP_SEND_ALL);
        EXPECT_EQ(0u, answers.Count());
        EXPECT_EQ(2, m_panel.GetStudentCount());
        EXPECT_EQ(2, LocalCopies());
        EXPECT_TRUE(m_config.IsNetworkDatabase());
    }));
    // Nothing was written to either database: the clips are new, unsaved ones.
    EXPECT_EQ(0, Count("SELECT * FROM [VideoClip]"));
}

TEST_F(NetworkSendTest, AFailedImportOrAClipThatDoesNotLoadClosesTheSheet)
{
    const long junk = RemoteClip(m_obrien, "Swing", "CLP0011.avi", "junk", "G-JUNK");
    m_config.SetNetworkDatabase(TRUE);
    CDatabaseSheet sheet("Vido Database", TRUE, NULL, 1);
    ASSERT_TRUE(sheet.IsConnected());
    // A file that is no video is copied but cannot be shown: no current clip.
    EXPECT_EQ(IDCANCEL, Show(sheet, [&](CClipsPPage& page) {
        Click(&page, IDC_CP_SEND);
        EXPECT_TRUE(answers.Saw("Process failed.  Check remote connection"));
        EXPECT_TRUE(m_config.IsNetworkDatabase());
    }, true));
    EXPECT_EQ(0, m_panel.GetClipCount());
    EXPECT_EQ(nullptr, m_clavio->GetCurrentClip());

    // A row whose file is not on the other machine: the import itself fails.
    {
        CDaoDatabase db;
        db.Open(m_remoteDb, FALSE, FALSE);
        db.Execute("DELETE FROM [VideoClip] WHERE [ID] = ?", CDaoParams().Add(junk));
        db.Close();
    }
    RemoteClip(m_hogg, "Swing", "CLP0012.avi", "", "G-MISSING");
    answers.Clear();
    EXPECT_EQ(IDCANCEL, Show(sheet, [&](CClipsPPage& page) {
        Click(&page, IDC_CP_SEND_ALL);
        EXPECT_TRUE(answers.Saw("Cannot complete action.  Please check remote db connection"));
        EXPECT_TRUE(m_config.IsNetworkDatabase());
    }, true));
    EXPECT_EQ(0, m_panel.GetClipCount());
}
