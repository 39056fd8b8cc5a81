// Preparing clips for e-mail: the file dialog's proposal in the student's e-mail folder,
// the answers to an existing file, comparison partners that name each other, and a clip
// shown in a real video control transcoded, packed and handed to the desktop's composer.
#include "clip_fixture.h"
#include "video_test_support.h"
#include "Clavio.h"
#include "ClipBar.h"
#include "KpxFormat.h"
#include "resource.h"

namespace {

class ClipEmail : public ClipFolder
{
protected:
    void SetUp() override
    {
        ClipFolder::SetUp();
        g_pClavio = &m_clavio;
        GetCurrentDirectoryA(MAX_PATH, m_cwd);
        SetCurrentDirectoryA(m_dir);
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(m_cwd);
        g_pClavio = NULL;
        ClipFolder::TearDown();
    }

    CClip* Saved(const char* name, int hour)
    {
        CClip* clip = NewCapture(name);
        clip->m_nPersonID = 2;
        clip->m_captureTime = COleDateTime(2024, 3, 5, hour, 0, 0);
        AddRow(clip);
        return clip;
    }

    CClavio m_clavio;
    char m_cwd[MAX_PATH];
};

// The video manager window with its two video controls, for clips that are transcoded.
class ClipEmailTranscoded : public ClipEmail
{
protected:
    static void SetUpTestSuite()
    {
        AfxOleInit();
        AfxEnableControlContainer();
    }
    void SetUp() override
    {
        ClipEmail::SetUp();
        ASSERT_TRUE(m_host.CreateEx(0, AfxRegisterWndClass(0), "host",
                                    WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 800, 600, NULL,
                                    NULL));
        ASSERT_TRUE(m_clavio.Create(NULL, "Clavio", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                                    CRect(0, 0, 700, 500), &m_host, 100));
        m_clavio.SetView(&m_host);
    }
    void TearDown() override
    {
        if (m_clavio.GetSafeHwnd())
            m_clavio.DestroyWindow();
        m_host.DestroyWindow();
        ClipEmail::TearDown();
    }
    // The frames of a video file as the engine counts them.
    LONG Frames(const CString& path)
    {
        if (!m_clavio.LoadVideoFile(path))
            return -1;
        return m_clavio.GetActiveVideoWindow()->GetFrameCount();
    }

    CWnd m_host;
};

// Picks a file type in each file dialog as it comes up, before the answerer's button, as a
// user choosing from the type list.
class FileTypeChooser
{
public:
    explicit FileTypeChooser(int index)
        : m_hook(SetWindowsHookExA(WH_CBT, Hook, NULL, GetCurrentThreadId()))
    {
        s_index = index;
    }
    ~FileTypeChooser() { UnhookWindowsHookEx(m_hook); }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_ACTIVATE) {
            HWND types = GetDlgItem((HWND)wParam, cmb1);
            if (types) {
                // Posted: it comes once the dialog has finished starting, before the button.
                PostMessageA(types, CB_SETCURSEL, s_index, 0);
                PostMessageA((HWND)wParam, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK),
                             (LPARAM)types);
            }
        }
        return CallNextHookEx(NULL, code, wParam, lParam);
    }
    HHOOK m_hook;
    static inline int s_index = 0;
};

} // namespace

TEST_F(ClipEmailTranscoded, ClipFileAndVideoFileThroughTheTranscoder)
{
    // A stored clip of 12 DV frames trimmed to frames 2 to 8, shown in channel 0.
    TempFolder scratch("email");
    DvClip dv(scratch, "dv.avi", 12);
    CClip* clip = Saved("CLPt1.avi", 10);
    ASSERT_TRUE(CopyFileA(dv.path, clip->m_strVideoPath, FALSE));
    clip->m_nFrames = 12;
    clip->SetTrimOut(11);
    ASSERT_TRUE(m_clavio.LoadClip(clip));
    clip->SetTrimIn(2); // after loading, which takes the trim in from the control
    clip->SetTrimOut(8);
    RecordingComposer composer(scratch);
    auto recorded = [&](const CString& file) {
        const CString name = file.Mid(file.ReverseFind('\\') + 1);
        const std::string unix = UnixPath((LPCTSTR)file);
        return std::string("--subject\n") + (LPCTSTR)name + "\n--body\nAttached is clip '" +
               (LPCTSTR)name + "'\n--attach\n" + unix + "\n";
    };

    // A clip file: the trimmed range transcoded, packed with the clip's row, then sent.
    const CString folder = m_dir + "VideoEmail\\Sam O'Brien\\";
    const CString kpxFile = folder + clip->GetExportFileName(".kpx");
    m_answers.Queue(IDOK);
    m_answers.Queue(IDYES); // "Transcode complete.  Do you want to send e-mail now?"
    clip->SendVideoEmail(FALSE);
    EXPECT_TRUE(m_answers.Saw("Transcode complete."));
    EXPECT_EQ(recorded(kpxFile), composer.Recorded());
    EXPECT_FALSE(Exists(CClip::GetTempFolder() + "temp.avi"));
    const std::string packed = ReadBytes(kpxFile);
    ASSERT_GT(packed.size(), kpx::kHeaderSize);
    const kpx::Header header = kpx::DecodeHeader((const uint8_t*)packed.data());
    uint64_t dbSize = 0, videoSize = 0;
    ASSERT_EQ(kpx::kOk, kpx::CheckHeader(header, packed.size(), &dbSize, &videoSize));
    const std::string video = packed.substr(header.dbEnd);
    EXPECT_EQ(0u, video.find("RIFF"));
    EXPECT_NE(std::string::npos, video.find("XVID"));
    const CString unpacked = m_dir + "unpacked.avi";
    WriteBytes(unpacked, video);

    // The file exists: "Continue" sends it as it is; "Re-Transcode" makes it again.
    composer.Forget();
    m_answers.Clear();
    m_answers.Queue(IDOK);
    m_answers.Queue(IDC_TRANS_CONTINUE);
    m_answers.Queue(IDYES);
    clip->SendVideoEmail(FALSE);
    EXPECT_TRUE(m_answers.Saw("Would you like to send selected clip via email now?"));
    EXPECT_EQ(recorded(kpxFile), composer.Recorded());
    EXPECT_TRUE(ReadBytes(kpxFile) == packed);
    composer.Forget();
    m_answers.Clear();
    m_answers.Queue(IDOK);
    m_answers.Queue(IDC_TRANS_RETRANSCODE);
    m_answers.Queue(IDNO); // transcoded, not sent
    clip->SendVideoEmail(FALSE);
    EXPECT_TRUE(m_answers.Saw("Transcode complete."));
    EXPECT_EQ("", composer.Recorded());
    const std::string again = ReadBytes(kpxFile);
    EXPECT_GT(again.size(), kpx::kHeaderSize);
    EXPECT_FALSE(again == packed); // a new clip file: its row has a GlobalID of its own

    // A video file, the dialog's second type: the transcode goes straight to that file.
    const CString aviFile = folder + clip->GetExportFileName(".avi");
    {
        FileTypeChooser chooser(1);
        m_answers.Clear();
        m_answers.Queue(IDOK);
        m_answers.Queue(IDYES);
        clip->SendVideoEmail(FALSE);
    }
    EXPECT_EQ(recorded(aviFile), composer.Recorded());
    EXPECT_NE(std::string::npos, ReadBytes(aviFile).find("XVID"));

    // Both hold the seven frames of the trimmed range.
    EXPECT_EQ(7, Frames(unpacked));
    EXPECT_EQ(7, Frames(aviFile));

    // The clip file imported back into the same database is a clip of its own.
    CClipBar panel;
    ASSERT_TRUE(panel.CreatePanel(&m_host, CRect(0, 510, 306, 587), 152));
    m_answers.Clear();
    ASSERT_TRUE(CClip::ImportClipFiles(kpxFile, FALSE));
    ASSERT_EQ(1, panel.GetStudentCount());
    CClip* back = panel.GetStudentClip(0);
    EXPECT_STRNE(clip->m_strGlobalID, back->m_strGlobalID);
    EXPECT_NE(clip->m_nID, back->m_nID);
    EXPECT_EQ(7, Frames(back->m_strVideoPath));
    delete clip;
}

TEST_F(ClipEmail, ExistingFileAnswersAndMutualPartnersOnceEach)
{
    CClip* clip = Saved("CLPm1.avi", 10);
    CClip* partner = Saved("CLPm2.avi", 11);
    clip->m_strClipType = partner->m_strClipType = "Comparison";
    clip->m_nComparisonClipID = partner->m_nID;
    partner->m_nComparisonClipID = clip->m_nID;
    clip->UpdateDatabaseRecord(FALSE);
    partner->UpdateDatabaseRecord(FALSE);
    delete partner;

    const CString folder = m_dir + "VideoEmail\\Sam O'Brien\\";
    const CString own = folder + clip->GetExportFileName(".kpx");
    CClip* loaded = clip->GetComparisonClip();
    ASSERT_TRUE(loaded != NULL);
    const CString otherName = loaded->GetExportFileName(".kpx");
    clip->m_pComparisonClip = NULL;
    delete loaded;

    // Cancel at the existing-file question ends it.
    CreateDirectoryA(m_dir + "VideoEmail", NULL);
    CreateDirectoryA(folder, NULL);
    WriteBytes(own, "sent before");
    m_answers.Queue(IDOK);
    m_answers.Queue(IDC_TRANS_CANCEL);
    clip->SendVideoEmail(FALSE);
    EXPECT_EQ(2u, m_answers.Count());
    EXPECT_TRUE(m_answers.Saw("Confirm filename and location of video email clip"));
    EXPECT_TRUE(m_answers.Saw("File already exists."));
    EXPECT_TRUE(Exists(own));

    // Continue: the question to send now, then the partner's own round, and no more: the
    // partner names this clip back, but a partner's round does not come back.
    // The partner's dialog proposes its bare name: in the folder the dialog used last, or
    // the current one.
    WriteBytes(folder + otherName, "sent before");
    WriteBytes(m_dir + otherName, "sent before");
    m_answers.Clear();
    m_answers.Queue(IDOK);
    m_answers.Queue(IDC_TRANS_CONTINUE);
    m_answers.Queue(IDNO);
    m_answers.Queue(IDOK);
    m_answers.Queue(IDC_TRANS_CONTINUE);
    m_answers.Queue(IDNO);
    clip->SendVideoEmail(FALSE);
    EXPECT_EQ(6u, m_answers.Count());
    EXPECT_TRUE(m_answers.Saw("Would you like to send selected clip via email now?"));
    EXPECT_TRUE(m_answers.Saw("Confirm filename and location of comparison video email clip"));
    EXPECT_TRUE(m_answers.Saw("Would you like to send selected comparison clip via email now?"));

    // Re-Transcode deletes the old file before transcoding (which needs a video channel).
    m_answers.Clear();
    m_answers.Queue(IDOK);
    m_answers.Queue(IDC_TRANS_RETRANSCODE);
    m_answers.Queue(IDCANCEL);  // the partner's file dialog
    clip->SendVideoEmail(FALSE);
    EXPECT_FALSE(Exists(own));
    EXPECT_EQ(3u, m_answers.Count());
    delete clip;
}
