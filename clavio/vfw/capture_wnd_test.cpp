// The capture window without a capture driver (the system's capture library connects none
// here): its callbacks fed with synthetic frames and sound on a clock of the test's own: the
// ring, the trigger parity and the frames kept after it, the saved clip oldest first with
// its key flags, the codes told, and the driver name.
#include "CaptureWnd.h"
#include "AviFile.h"
#include "engine_test_support.h"
#include <string>
#include <vector>

namespace {

CRecordingApp theApp;

class TestCapture : public CCaptureWnd
{
public:
    DWORD clock = 1000;
    int frames = 0;
    // A frame of 64 bytes starting with its number, a key frame when the number is odd,
    // captured `step` ms after the one before.
    void Frame(DWORD step = 33)
    {
        clock += step;
        BYTE data[64] = {BYTE(frames)};
        VIDEOHDR header = {};
        header.lpData = data;
        header.dwBufferLength = header.dwBytesUsed = sizeof data;
        header.dwTimeCaptured = clock - 1000;
        header.dwFlags = frames % 2 == 1 ? VHDR_KEYFRAME : 0;
        ++frames;
        OnVideoFrame(&header);
    }
    // A buffer of sound, loud at sample `loud` of `count` (or quiet).
    void Sound(int count, int loud)
    {
        std::vector<short> samples(count, 100);
        if (loud >= 0)
            samples[loud] = 20000;
        WAVEHDR header = {};
        header.lpData = reinterpret_cast<LPSTR>(samples.data());
        header.dwBufferLength = header.dwBytesRecorded = DWORD(count * 2);
        OnWaveBuffer(&header);
    }
    // Frames until the capture asks to stop (at most 10).
    int FramesUntilStop()
    {
        int n = 0;
        while (OnYield() && n < 10) {
            Frame();
            ++n;
        }
        return n;
    }

protected:
    DWORD Now() override { return clock; }
};

std::vector<BYTE> Format()
{
    std::vector<BYTE> format(sizeof(BITMAPINFOHEADER));
    auto* bih = reinterpret_cast<BITMAPINFOHEADER*>(format.data());
    *bih = {sizeof *bih, 16, 8, 1, 24, mmioFOURCC('M', 'J', 'P', 'G'), 64};
    return format;
}

void Prepare(TestCapture& cap, int pre, int post, int percent = 50)
{
    std::vector<BYTE> format = Format();
    cap.SetVideoFormat(reinterpret_cast<const BITMAPINFO*>(format.data()), format.size());
    cap.SetPreTrigFrames(pre);
    cap.SetPostTrigFrames(post);
    cap.SetSoundThreshold(percent);
    cap.SetCaptureMode(1);
    cap.StartRecord();   // no driver: the sequence does not start, the ring is made ready
}

TEST(CaptureWnd, SoundTriggerParityAndTheFramesKeptAfterIt)
{
    struct Case {
        long d;         // ms from the newest frame to the loud sample
        int parity;
        int after;      // frames captured after the trigger before the capture stops
    } cases[] = {{-20, 0, 2}, {-16, 1, 2}, {-1, 1, 2}, {0, 0, 3}, {16, 0, 3}, {17, 1, 3}};
    for (const Case& c : cases) {
        TestCapture cap;
        Prepare(cap, 2, 2);
        cap.Frame();
        cap.Frame();
        cap.Sound(50, 10);            // loud, but too few frames before it yet
        EXPECT_FALSE(cap.CanTrigger());
        cap.Frame();
        EXPECT_TRUE(cap.CanTrigger());
        cap.Sound(50, -1);            // quiet
        EXPECT_EQ(cap.FramesUntilStop(), 10) << "not triggered";
        // The loud sample is the first of 24, 23 samples (2 ms at 11025 a second) before
        // the buffer's end.
        cap.clock += DWORD(c.d + 2);
        cap.Sound(24, 0);
        cap.clock -= DWORD(c.d + 2);
        EXPECT_EQ(cap.GetTriggerParity(), c.parity) << c.d;
        EXPECT_EQ(cap.FramesUntilStop(), c.after) << c.d;
    }
}

TEST(CaptureWnd, ThePressTriggersAtItsTime)
{
    TestCapture cap;
    Prepare(cap, 1, 1);
    cap.Frame();
    cap.Frame();
    cap.clock += 20;
    EXPECT_TRUE(cap.TriggerNow());
    EXPECT_EQ(cap.GetTriggerParity(), 1);
    EXPECT_FALSE(cap.TriggerNow());   // once
    EXPECT_EQ(cap.FramesUntilStop(), 2);
}

TEST(CaptureWnd, SavesTheRingOldestFirstWithItsKeyFlagsAndTellsTheCodes)
{
    NotifyWindow notify;
    TestCapture cap;
    cap.SetOwner(NULL, notify.Wnd()->m_hWnd);
    char dir[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, dir);
    const CString path = CString(dir) + "ring.avi";
    DeleteFileA(path);
    cap.SetCaptureFile(path);
    Prepare(cap, 2, 2);   // five entries
    for (int i = 0; i < 6; ++i)
        cap.Frame();
    cap.clock -= 10;
    ASSERT_TRUE(cap.TriggerNow());    // d = -10: parity 1, two more frames
    EXPECT_EQ(cap.FramesUntilStop(), 2);
    cap.OnStatus(IDS_CAP_END, "end");
    EXPECT_EQ(notify.Codes(100), (std::vector<WPARAM>{204, 200}));

    CAviFile file;
    ASSERT_TRUE(file.Open(path, OF_SHARE_DENY_WRITE));
    PAVISTREAM stream = file.GetVideoStream();
    ASSERT_NE(stream, nullptr);
    AVISTREAMINFOA info = {};
    AVIStreamInfoA(stream, &info, sizeof info);
    EXPECT_EQ(info.fccHandler, mmioFOURCC('M', 'J', 'P', 'G'));
    EXPECT_EQ(info.dwRate, 1000000u);
    EXPECT_EQ(info.dwScale, 33367u);
    std::vector<int> numbers, keys;
    for (LONG s = AVIStreamStart(stream); s < AVIStreamEnd(stream); ++s) {
        BYTE data[64] = {};
        LONG bytes = 0;
        ASSERT_EQ(AVIStreamRead(stream, s, 1, data, sizeof data, &bytes, NULL), AVIERR_OK);
        EXPECT_EQ(bytes, 64);
        numbers.push_back(data[0]);
        keys.push_back(AVIStreamIsKeyFrame(stream, s) ? 1 : 0);
    }
    EXPECT_EQ(numbers, (std::vector<int>{3, 4, 5, 6, 7}));
    EXPECT_EQ(keys, (std::vector<int>{1, 0, 1, 0, 1}));
    AVIStreamRelease(stream);
    file.Close();
    DeleteFileA(path);

    // Stopped by the user: nothing saved, code 201.
    cap.StopRecord();
    cap.OnStatus(IDS_CAP_END, "end");
    EXPECT_EQ(notify.Codes(100), (std::vector<WPARAM>{201}));
    EXPECT_EQ(GetFileAttributesA(path), INVALID_FILE_ATTRIBUTES);
}

TEST(CaptureWnd, WithoutADriverNoneIsActive)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "parent", WS_POPUP, 0, 0, 640, 480, NULL, NULL));
    {
        TestCapture cap;
        EXPECT_FALSE(cap.Create(&parent));
        EXPECT_FALSE(cap.IsConnected());
        EXPECT_EQ(cap.GetDriverName(), CString("No capture driver is active"));
        EXPECT_EQ(cap.GetDriverVersion(), CString(""));
        EXPECT_EQ(cap.GetVideoFormat(), nullptr);
        EXPECT_FALSE(cap.StartRecord());
    }
    parent.DestroyWindow();
}

} // namespace
