// Preparing clips for e-mail: the file dialog's proposal in the student's e-mail folder,
// the answers to an existing file, and comparison partners that name each other.
#include "clip_fixture.h"
#include "Clavio.h"
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

} // namespace

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
