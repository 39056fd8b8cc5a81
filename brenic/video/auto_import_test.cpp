// The start-up auto-import question: Yes queues the video-files folder's clip files on the
// main window and starts its timer 2; any answer switches the question off.
#include "clip_fixture.h"
#include "AutoImportDlg.h"
#include "MainFrm.h"

namespace {

class TestApp : public CWinApp
{
public:
    TestApp() : CWinApp("Quorvel Redovove") {}
};
TestApp theApp;

class AutoImport : public ClipFolder
{
protected:
    void SetUp() override
    {
        ClipFolder::SetUp();
        m_frame = new CMainFrame;
        ASSERT_TRUE(m_frame->Create(NULL, "Quorvel"));
        AfxGetApp()->m_pMainWnd = m_frame;
        m_videos = m_dir + "Videos";
        CreateDirectoryA(m_videos, NULL);
    }
    void TearDown() override
    {
        AfxGetApp()->m_pMainWnd = NULL;
        m_frame->DestroyWindow();
        ClipFolder::TearDown();
    }

    // TRUE when the main window's timer 2 fires within two seconds (the message is taken
    // from the queue, not handled).
    bool TimerTwoStarted()
    {
        const DWORD start = GetTickCount();
        MSG msg;
        while (GetTickCount() - start < 2000) {
            if (PeekMessageA(&msg, m_frame->m_hWnd, WM_TIMER, WM_TIMER, PM_REMOVE) &&
                msg.wParam == 2) {
                m_frame->KillTimer(2);
                return true;
            }
            Sleep(20);
        }
        return false;
    }

    CMainFrame* m_frame;
    CString m_videos;
};

} // namespace

TEST_F(AutoImport, AnswersAndWhatTheyQueue)
{
    for (const char* name : {"a.kpx", "b.kpx", "c.kpx", "d.avi", "notes.txt"})
        WriteBytes(m_videos + "\\" + name, "x");
    struct Case {
        const char* name;
        int answer;
        CString folder;
        int queued;
        bool timer;
    } cases[] = {
        {"No", IDCANCEL, m_videos, 0, false},
        {"close box", IDCANCEL, m_videos, 0, false},
        {"Yes", IDOK, m_videos, 3, true},
        {"Yes, folder ending in a backslash", IDOK, m_videos + "\\", 3, true},
        {"Yes, missing folder", IDOK, m_dir + "Nowhere", 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_frame->ClearImportQueue();
        m_config.SetImportVideoFiles(TRUE);
        m_config.SetVideoFilesDir(c.folder);
        m_answers.Queue(c.answer);
        CAutoImportDlg dialog;
        EXPECT_EQ(c.answer, dialog.DoModal());
        EXPECT_FALSE(m_config.GetImportVideoFiles());
        // Only the clip files of the folder.
        EXPECT_EQ(c.queued, m_frame->GetImportQueueCount());
        EXPECT_EQ(c.timer, TimerTwoStarted());
    }
    EXPECT_TRUE(m_answers.Saw("Would you like to auto-import video files from the CD?"));
    m_frame->ClearImportQueue();
}
