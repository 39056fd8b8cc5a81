// Recording through the video manager with the synthetic camera: automatic captures around
// a trigger become clips whose impact field shows the trigger frame, the after-record modes,
// and two captures compared locked at their impacts.
#include "gtest_wine.h"
#include "video_test_support.h"
#include "av_readback.h"
#include "synthetic_dv.h"

CVideoTestApp theApp;

namespace {

// The camera must be chosen before the first control starts its engine.
const bool g_camera = SetEnvironmentVariableA("QUORVEL_SYNTHETIC_CAMERA", "1") != 0;

// The camera's frame number: 16 black or white bars across the middle of the picture, bit 0
// leftmost; -1 when a bar is neither.
int BarsNumber(const DWORD* pixels)
{
    const DWORD* line = pixels + 228 * 608;
    int n = 0;
    for (int bit = 0; bit < 16; ++bit) {
        DWORD p = line[(2 * bit + 1) * 608 / 32];
        int level = ((p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF)) / 3;
        if (level > 200)
            n |= 1 << bit;
        else if (level > 60)
            return -1;
    }
    return n;
}

class ClavioCapture : public VideoManagerFixture
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(g_camera);
        VideoManagerFixture::SetUp();
        g_pAppConfig->SetRecordAuto(TRUE);
        g_pAppConfig->SetPreTrigFrames(20);
        g_pAppConfig->SetPostTrigFrames(10);
        g_pAppConfig->SetCueHoldDelay(1000);
        m_clavio->SendMessage(WM_PAINT); // the first paint starts the live picture
        ASSERT_TRUE(m_clavio->GetChannel0()->GetLiveVideoMode());
        ASSERT_TRUE(m_clavio->GetChannel0()->IsCaptureDeviceActive());
    }
    CTransController* Controller() { return m_clavio->GetTransController(); }
    bool WaitState(int code, DWORD ms)
    {
        return PumpUntil([&] { return m_clavio->GetVideoState() == code; }, ms);
    }
    // One automatic capture: arm, let the ring fill, trigger, wait for the clip.
    CClip* Capture(int pre)
    {
        g_pAppConfig->SetPreTrigFrames(pre);
        int before = m_clipBar->GetStudentCount();
        Controller()->StartRecording();
        EXPECT_TRUE(Controller()->IsRecording());
        EXPECT_TRUE(m_clavio->IsCaptureArmed());
        EXPECT_TRUE(WaitState(203, 10000)) << m_clavio->GetVideoState();
        Pump(DWORD(pre * 34 + 400)); // the ring holds the frames before the trigger
        m_clavio->TriggerCapture();
        EXPECT_FALSE(m_clavio->IsCaptureArmed());
        EXPECT_TRUE(
            PumpUntil([&] { return m_clipBar->GetStudentCount() > before; }, 15000));
        return Controller()->GetNewClip();
    }
    // The camera's number in each picture of the clip's file. A camera late on a loaded
    // machine skips the numbers of the frames it dropped, so a clip's pictures need not be
    // numbered one after another: what a position shows is looked up here.
    static std::vector<int> FileNumbers(const CClip* clip)
    {
        return ReadClipBack(UnixPath((LPCTSTR)clip->m_strVideoPath),
                            synthetic_dv::CounterFromLumaRow).numbers;
    }
    // The channel's picture comes to show the frame (pictures arrive a moment after a step).
    bool Shows(int channel, int frame)
    {
        return PumpUntil([&] { return ShownFrame(channel) == frame; }, 1500);
    }
    // The frame number the channel's picture shows now (read through Draw).
    int ShownFrame(int channel)
    {
        CDC dc;
        dc.CreateCompatibleDC(NULL);
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = 608;
        bi.bmiHeader.biHeight = -456;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits;
        HBITMAP dib = CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
        HGDIOBJ old = SelectObject(dc.m_hDC, dib);
        RECT r = {0, 0, 607, 455};
        m_clavio->GetChannel(channel)->Draw((LONG*)&dc, (LONG*)&r);
        GdiFlush();
        int n = BarsNumber((const DWORD*)bits);
        SelectObject(dc.m_hDC, old);
        DeleteObject(dib);
        return n;
    }
};

} // namespace

TEST_F(ClavioCapture, AutomaticCapturesAroundTheTrigger)
{
    g_pAppConfig->SetReplayMode(1); // Cue/Hold: the clip is shown and held
    CClip* first = Capture(20);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(CTransController::CUE_HOLD, Controller()->GetState());
    EXPECT_EQ(first, m_clavio->GetCurrentClip());
    EXPECT_EQ(1, m_clipBar->GetStudentCount());
    EXPECT_EQ(31, first->m_nFrames); // pre + 1 + post
    EXPECT_EQ(30, first->GetTrimOut());
    EXPECT_TRUE(first->m_bAutoCap);
    EXPECT_EQ(8, first->GetTabCount());
    int impact = first->GetImpactField();
    EXPECT_EQ(40, impact & ~1);
    // Field by field: each frame twice, in order; the impact field shows the trigger frame.
    const std::vector<int> frames1 = FileNumbers(first);
    ASSERT_EQ(31u, frames1.size());
    m_clavio->SeekField(0);
    Pump(200);
    ASSERT_TRUE(Shows(0, frames1[0])) << ShownFrame(0);
    for (int field = 1; field < 62; ++field) {
        m_clavio->StepField(1);
        ASSERT_EQ(field, m_clavio->GetChannel0()->GetFieldPosition());
        ASSERT_TRUE(Shows(0, frames1[field / 2])) << field << " shows " << ShownFrame(0);
    }
    m_clavio->SeekField(impact);
    EXPECT_TRUE(Shows(0, frames1[20])) << ShownFrame(0);

    // A second capture with 30 frames before the trigger.
    CClip* second = Capture(30);
    ASSERT_NE(nullptr, second);
    ASSERT_NE(first, second);
    EXPECT_EQ(41, second->m_nFrames);
    EXPECT_EQ(60, second->GetImpactField() & ~1);

    // Compared and locked at the impact: both show their trigger frames together.
    Controller()->EnterPlaybackMode(FALSE, FALSE);
    EXPECT_EQ(CTransController::PLAYBACK, Controller()->GetState());
    m_clavio->SetComparisonView(FALSE);
    ASSERT_TRUE(m_clavio->LoadClip(first));
    ASSERT_TRUE(m_clavio->LoadClipInOtherChannel(second));
    m_clavio->OnLockImpactKey();
    ASSERT_TRUE(m_clavio->IsLocked());
    // The comparison view shows the middle half of each picture, where the low bits of the
    // frame number are not: the whole picture is drawn for reading.
    for (int n = 0; n < 2; ++n) {
        m_clavio->GetChannel(n)->SetMask(0.0f, 0.0f, 1.0f, 1.0f);
        m_clavio->GetChannel(n)->SetCrop(0.0f, 0.0f, 1.0f, 1.0f);
    }
    const std::vector<int> frames2 = FileNumbers(second);
    ASSERT_EQ(41u, frames2.size());
    m_clavio->GetChannel1()->SeekField(0);
    ASSERT_TRUE(Shows(1, frames2[0])) << ShownFrame(1);
    // One slider position shows both trigger frames, and stepping both ways keeps them
    // together.
    CClip* leader = first->m_nLockOffset == 0 ? first : second;
    int p = leader->GetImpactField();
    m_clavio->SeekField(p);
    EXPECT_TRUE(Shows(0, frames1[20])) << ShownFrame(0);
    EXPECT_TRUE(Shows(1, frames2[30])) << ShownFrame(1);
    for (int step : {1, 1, -1, -1, -1, -1}) {
        m_clavio->StepField(step);
        int p0 = m_clavio->GetChannel0()->GetFieldPosition();
        int p1 = m_clavio->GetChannel1()->GetFieldPosition();
        EXPECT_EQ(p0 - first->GetImpactField(), p1 - second->GetImpactField()) << step;
        ASSERT_TRUE(p0 >= 0 && p0 / 2 < 31 && p1 >= 0 && p1 / 2 < 41) << p0 << " " << p1;
        EXPECT_TRUE(Shows(0, frames1[p0 / 2])) << step << " " << ShownFrame(0);
        EXPECT_TRUE(Shows(1, frames2[p1 / 2])) << step << " " << ShownFrame(1);
    }
    m_clavio->SetLockMode(0);

    // Clipboard mode: code 200 makes the clip and re-arms inside the event, without
    // showing the clip.
    g_pAppConfig->SetReplayMode(0);
    m_clavio->LoadClip(NULL);
    CClip* third = Capture(20);
    ASSERT_NE(nullptr, third);
    EXPECT_NE(second, third);
    EXPECT_TRUE(Controller()->IsRecording());
    EXPECT_EQ(3, m_clipBar->GetStudentCount());
    EXPECT_NE(third, m_clavio->GetCurrentClip());
    EXPECT_TRUE(WaitState(203, 10000));
    // A triggered recording stopped without a capture: code 201, the file is removed.
    CString pending = Controller()->GetCaptureFile();
    m_clavio->GetChannel0()->Stop();
    EXPECT_TRUE(WaitState(201, 10000));
    EXPECT_FALSE(Controller()->IsRecording());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(pending));
    EXPECT_EQ(3, m_clipBar->GetStudentCount());
}
