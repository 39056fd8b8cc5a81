// A camera that goes off during an automatic recording: code 201, the capture file is
// removed and no clip is made.
#include "gtest_wine.h"
#include "video_test_support.h"

CVideoTestApp theApp;

namespace {
const bool g_camera = SetEnvironmentVariableA("QUORVEL_SYNTHETIC_CAMERA", "1,lose=45") != 0;
class CameraLost : public VideoManagerFixture
{
};
} // namespace

TEST_F(CameraLost, RecordingFailsWithoutAClip)
{
    ASSERT_TRUE(g_camera);
    g_pAppConfig->SetRecordAuto(TRUE);
    g_pAppConfig->SetReplayMode(1);
    m_clavio->SendMessage(WM_PAINT);
    ASSERT_TRUE(m_clavio->GetChannel0()->GetLiveVideoMode());
    CTransController* c = m_clavio->GetTransController();
    c->StartRecording();
    ASSERT_TRUE(c->IsRecording());
    CString file = c->GetCaptureFile();
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(file));
    ASSERT_TRUE(PumpUntil([&] { return m_clavio->GetVideoState() == 201; }, 20000))
        << m_clavio->GetVideoState();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(file));
    EXPECT_EQ(0, m_clipBar->GetStudentCount());
    EXPECT_EQ(nullptr, c->GetNewClip());
    // The next panel command leaves the recording state.
    c->EnterPlaybackMode(FALSE, FALSE);
    EXPECT_EQ(CTransController::PLAYBACK, c->GetState());
}
