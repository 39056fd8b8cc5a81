// Recording from the live picture, in a program of its own (the first video manager of the
// process): a capture reported done without a single frame is no clip (handled as a failed
// recording: the capture file removed, nothing added); lines drawn over the live picture
// travel into the recorded clip's drawing.
#include "gtest_wine.h"
#include "video_test_support.h"
#include "ODCustomController.h"

CVideoTestApp theApp;

namespace {
const bool g_camera = SetEnvironmentVariableA("QUORVEL_SYNTHETIC_CAMERA", "1") != 0;
class LiveCapture : public VideoManagerFixture
{
};
} // namespace

TEST_F(LiveCapture, EmptyCaptureFailsAndLiveDrawingGoesIntoTheClip)
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

    // Reference lines drawn over the live picture, then an automatic capture.
    m_host.ShowWindow(SW_SHOW);
    m_clavio->ShowGraphics(TRUE, -1, FALSE);
    COverlayWnd* o = m_clavio->GetOverlay(0);
    ASSERT_EQ(m_clavio->GetLiveModel(), o->GetModel());
    m_clavio->SendDrawCommand(ID_DRAW_LINE, FALSE);
    auto send = [&](UINT msg, int x, int y, WPARAM keys) {
        o->SendMessage(msg, keys, MAKELPARAM(x, y));
    };
    send(WM_MOUSEMOVE, 300, 40, 0);
    send(WM_LBUTTONDOWN, 300, 40, MK_LBUTTON);
    send(WM_MOUSEMOVE, 300, 200, MK_LBUTTON);
    send(WM_MOUSEMOVE, 300, 400, MK_LBUTTON);
    send(WM_LBUTTONUP, 300, 400, 0);
    ASSERT_EQ(1, m_clavio->GetLiveModel()->GetChildCount());
    g_pAppConfig->SetRecordAuto(TRUE);
    g_pAppConfig->SetReplayMode(1);
    g_pAppConfig->SetCueHoldDelay(1000);
    g_pAppConfig->SetPreTrigFrames(5);
    g_pAppConfig->SetPostTrigFrames(3);
    c->StartRecording();
    ASSERT_TRUE(PumpUntil([&] { return m_clavio->GetVideoState() == 203; }, 10000));
    Pump(400);
    m_clavio->TriggerCapture();
    ASSERT_TRUE(PumpUntil([&] { return m_clipBar->GetStudentCount() == 1; }, 15000));
    CClip* clip = c->GetNewClip();
    ASSERT_NE(nullptr, clip);
    ASSERT_EQ(1, clip->GetDrawingModel()->GetChildCount());
    EXPECT_EQ(m_clavio->GetLiveModel()->GetChild(0)->GetBounds(),
              clip->GetDrawingModel()->GetChild(0)->GetBounds());
    // The held clip shows with its own drawing.
    EXPECT_EQ(clip, m_clavio->GetCurrentClip());
    EXPECT_EQ(clip->GetDrawingModel(), o->GetModel());
}
