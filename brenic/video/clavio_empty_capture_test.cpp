// A capture reported done without a single frame is no clip: handled as a failed recording
// (the capture file removed, nothing added). A program of its own: the first video manager
// of a process, before any recording.
#include "gtest_wine.h"
#include "video_test_support.h"

CVideoTestApp theApp;

namespace {
const bool g_camera = SetEnvironmentVariableA("QUORVEL_SYNTHETIC_CAMERA", "1") != 0;
class EmptyCapture : public VideoManagerFixture
{
};
} // namespace

TEST_F(EmptyCapture, DoneWithoutFramesIsAFailedRecording)
{
    ASSERT_TRUE(g_camera);
    CTransController* c = m_clavio->GetTransController();
    m_clavio->SendMessage(WM_PAINT);  // the camera live, nothing recorded
    ASSERT_TRUE(m_clavio->GetChannel0()->GetLiveVideoMode());
    ASSERT_EQ(0, m_clavio->GetChannel0()->GetCapturedFrames());
    ASSERT_TRUE(c->MakeCaptureFileName());
    const CString file = c->GetCaptureFile();
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(file));
    c->OnVideoStateChanged(200);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(file));
    EXPECT_EQ(nullptr, c->GetNewClip());
    EXPECT_EQ(0, m_clipBar->GetStudentCount());
}
