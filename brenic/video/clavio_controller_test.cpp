// The record and replay controller with the synthetic camera: capture file names, manual
// recordings in each after-record mode, the cue/hold countdown and automatic repeats.
#include "gtest_wine.h"
#include "video_test_support.h"

CVideoTestApp theApp;

namespace {

const bool g_camera = SetEnvironmentVariableA("QUORVEL_SYNTHETIC_CAMERA", "1") != 0;

bool Exists(const CString& path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

int CountFiles(const CString& pattern)
{
    int n = 0;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(pattern, &found);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do
        ++n;
    while (FindNextFileA(find, &found));
    FindClose(find);
    return n;
}

class Controller : public VideoManagerFixture
{
protected:
    CTransController* C() { return m_clavio->GetTransController(); }
    bool WaitState(int code, DWORD ms)
    {
        return PumpUntil([&] { return m_clavio->GetVideoState() == code; }, ms);
    }
    // A manual recording of about half a second, stopped by the coach.
    void ManualCapture()
    {
        int before = m_clipBar->GetStudentCount();
        C()->StartRecording();
        ASSERT_TRUE(C()->IsRecording());
        EXPECT_FALSE(m_clavio->IsCaptureArmed());
        ASSERT_TRUE(WaitState(202, 10000)) << m_clavio->GetVideoState();
        Pump(500);
        m_clavio->GetChannel0()->Stop();
        ASSERT_TRUE(
            PumpUntil([&] { return m_clipBar->GetStudentCount() > before; }, 15000));
    }
    void AutoCapture()
    {
        int before = m_clipBar->GetStudentCount();
        C()->StartRecording();
        ASSERT_TRUE(m_clavio->IsCaptureArmed());
        ASSERT_TRUE(WaitState(203, 10000));
        Pump(600);
        m_clavio->TriggerCapture();
        ASSERT_TRUE(
            PumpUntil([&] { return m_clipBar->GetStudentCount() > before; }, 15000));
    }
};

} // namespace

TEST(CaptureFileName, BothRulesAndNoTemporaryFilesLeft)
{
    TempFolder folder("names");
    CString path;
    // Systems answering 1 or 5: "CAP" and a lower-case hexadecimal number.
    ASSERT_TRUE(CTransController::MakeCaptureFileName(folder.path, 5, &path));
    CString name = path.Mid(path.ReverseFind('\\') + 1);
    EXPECT_EQ("CAP", name.Left(3));
    EXPECT_EQ(".avi", name.Right(4));
    CString digits = name.Mid(3, name.GetLength() - 7);
    EXPECT_FALSE(digits.IsEmpty());
    EXPECT_EQ(digits, digits.SpanIncluding("0123456789abcdef"));
    EXPECT_TRUE(Exists(path));
    // Others: the temporary name's stem.
    CString other;
    ASSERT_TRUE(CTransController::MakeCaptureFileName(folder.path, 4, &other));
    CString stem = other.Mid(other.ReverseFind('\\') + 1);
    // CAP, the temporary name's hexadecimal number (1 to 4 digits: it is not padded), .avi.
    EXPECT_EQ("CAP", stem.Left(3));
    EXPECT_EQ(".avi", stem.Right(4));
    CString number = stem.Mid(3, stem.GetLength() - 7);
    EXPECT_TRUE(number.GetLength() >= 1 && number.GetLength() <= 4) << (LPCTSTR)stem;
    EXPECT_EQ(number, number.SpanIncluding("0123456789abcdefABCDEF")) << (LPCTSTR)stem;
    EXPECT_EQ(0, CountFiles(folder.path + "\\*.TMP"));
    EXPECT_EQ(2, CountFiles(folder.path + "\\*.avi"));
    // A folder that is not there: no name, nothing made.
    EXPECT_FALSE(CTransController::MakeCaptureFileName(folder.path + "\\none", 5, &other));
}

TEST_F(Controller, AfterRecordModes)
{
    ASSERT_TRUE(g_camera);
    g_pAppConfig->SetPreTrigFrames(10);
    g_pAppConfig->SetPostTrigFrames(5);
    g_pAppConfig->SetPlaySpeed(4.0f);
    m_clavio->SendMessage(WM_PAINT);
    ASSERT_TRUE(m_clavio->GetChannel0()->GetLiveVideoMode());

    // Manual, modes 0 and 2: the clip is added, the camera is live again.
    g_pAppConfig->SetRecordAuto(FALSE);
    for (int mode : {0, 2}) {
        g_pAppConfig->SetReplayMode(mode);
        ManualCapture();
        CClip* clip = C()->GetNewClip();
        ASSERT_NE(nullptr, clip);
        EXPECT_EQ(CTransController::LIVE, C()->GetState()) << mode;
        EXPECT_TRUE(m_clavio->GetChannel0()->GetLiveVideoMode()) << mode;
        EXPECT_EQ(nullptr, m_clavio->GetCurrentClip()) << mode;
        EXPECT_FALSE(clip->m_bAutoCap);
        EXPECT_EQ(0, clip->GetTabCount());
        EXPECT_TRUE(clip->m_bNeedVideoInfo);
        EXPECT_GT(clip->m_nFrames, 5);
        EXPECT_TRUE(Exists(clip->m_strVideoPath));
    }
    // Manual, mode 1: the clip stays on screen in playback; no countdown runs.
    g_pAppConfig->SetReplayMode(1);
    g_pAppConfig->SetCueHoldDelay(0);
    ManualCapture();
    CClip* held = C()->GetNewClip();
    EXPECT_EQ(held, m_clavio->GetCurrentClip());
    EXPECT_EQ(CTransController::PLAYBACK, C()->GetState());
    EXPECT_EQ(8, held->GetTabCount()); // spread over the clip at its first display
    for (int tick = 0; tick < 3; ++tick)
        C()->OnTimer();
    EXPECT_EQ(CTransController::PLAYBACK, C()->GetState());
    EXPECT_EQ(3, m_clipBar->GetStudentCount());

    // Automatic, Cue/Hold with a delay of 3: the fourth tick records again.
    g_pAppConfig->SetRecordAuto(TRUE);
    g_pAppConfig->SetCueHoldDelay(3);
    // The ticks are the test's own from here on.
    m_clavio->KillTimer(1);
    struct Ends : CObserverClient {
        CClavio* c = nullptr;
        int count = 0;
        void OnVideoStateChanged() override { count += c->GetVideoState() == 100; }
    } ends;
    ends.c = m_clavio;
    m_clavio->SubscribeVideoStateChanged(&ends);
    AutoCapture();
    EXPECT_EQ(CTransController::CUE_HOLD, C()->GetState());
    EXPECT_EQ(C()->GetNewClip(), m_clavio->GetCurrentClip());
    for (int tick = 1; tick <= 3; ++tick) {
        C()->OnTimer();
        EXPECT_EQ(CTransController::CUE_HOLD, C()->GetState()) << tick;
    }
    C()->OnTimer();
    EXPECT_TRUE(C()->IsRecording());
    ASSERT_TRUE(WaitState(203, 10000));
    m_clavio->GetChannel0()->Stop();
    ASSERT_TRUE(WaitState(201, 10000));

    // Automatic, AutoRepeat with a target of 3: three plays, then recording again.
    g_pAppConfig->SetReplayMode(2);
    g_pAppConfig->SetAutoRepeatReplay(3);
    ends.count = 0;
    AutoCapture();
    ASSERT_TRUE(PumpUntil([&] { return C()->IsRecording(); }, 20000));
    EXPECT_EQ(3, C()->GetRepeatCount());
    // The third end re-arms inside its own event: the last code subscribers read then is
    // the new recording's.
    EXPECT_EQ(2, ends.count);
    EXPECT_EQ(1, m_clavio->GetVideoState() == 1 || m_clavio->GetVideoState() == 203);
    ASSERT_TRUE(WaitState(203, 10000));
    m_clavio->GetChannel0()->Stop();
    ASSERT_TRUE(WaitState(201, 10000));
    EXPECT_EQ(5, m_clipBar->GetStudentCount());
    // A panel command leaves any of these for playback.
    C()->EnterPlaybackMode(FALSE, FALSE);
    EXPECT_EQ(CTransController::PLAYBACK, C()->GetState());
    EXPECT_FALSE(m_clavio->GetChannel0()->GetLiveVideoMode());
}
