// Transcoding: a range of a DV clip with its sound re-encoded to MPEG-4 Part 2 ('XVID') AVI,
// both ends kept (NTSC and PAL); the program's playback engine opens the result and steps
// to its frames; a missing source and a cancel fail with their messages.
#include "TranscodeGraph.h"
#include "DsVideoEngine.h"
#include "BitmapDIB.h"
#include "ProgressDlg.h"
#include "engine_test_support.h"
#include "av_readback.h"
#include <vector>

namespace {

CRecordingApp theApp;

struct Output {
    explicit Output(const char* name)
        : unix(std::string("/tmp/") + name + std::to_string(GetCurrentProcessId()) + ".avi"),
          path(WinePath(unix).c_str())
    {
        remove(unix.c_str());
    }
    ~Output() { remove(unix.c_str()); }
    std::string unix;
    CString path;
};

DvClipFormat Clip(int frames, bool pal)
{
    DvClipFormat f;
    f.frames = frames;
    f.pal = pal;
    return f;
}

int Transcode(const CString& source, const CString& destination, int start, int end)
{
    CTranscodeGraph graph;
    graph.SetSource(source);
    graph.SetDestination(destination);
    graph.SetStartFrame(start);
    graph.SetEndFrame(end);
    if (FAILED(graph.BuildGraph()))
        return -1;
    return graph.Transcode();
}

class TranscodeTest : public testing::TestWithParam<bool> {};

TEST_P(TranscodeTest, WritesTheRangeAsMpeg4WithItsSound)
{
    const bool pal = GetParam();
    TestClip source(Clip(20, pal), "tc_src");
    ASSERT_TRUE(source.ok);
    Output out("tc_out");
    theApp.ClearBoxes();
    ASSERT_EQ(Transcode(source.path, out.path, 3, 12), 0) << theApp.AllBoxes();
    EXPECT_EQ(theApp.AllBoxes(), "");
    ReadBack c = ReadClipBack(out.unix);
    ASSERT_TRUE(c.opened);
    EXPECT_EQ(c.videoCodec, AV_CODEC_ID_MPEG4);
    EXPECT_EQ(c.tag, uint32_t(MAKEFOURCC('X', 'V', 'I', 'D')));
    EXPECT_EQ(c.width, 720);
    EXPECT_EQ(c.height, pal ? 576 : 480);
    std::vector<int> expected;
    for (int n = 3; n <= 12; ++n)
        expected.push_back(n);
    EXPECT_EQ(c.numbers, expected);
    // Ten frames of sound, within one frame's share.
    const double samples = pal ? 10 * 1920 : 10 * 48000 * 1001 / 30000.0;
    EXPECT_NEAR(double(c.left.size()), samples, pal ? 1920 : 1602);

    // The program's playback engine opens the file and steps through it.
    NotifyWindow owner;
    CDsVideoEngine engine;
    engine.SetOwner(owner.Wnd());
    engine.Init();
    ASSERT_TRUE(engine.LoadFile(out.path)) << theApp.AllBoxes();
    EXPECT_EQ(engine.GetFrameCount(), 10);
    engine.SetTrimOut(9);
    for (int frame : {0, 7, 2, 9}) {
        engine.SeekField(2 * frame, FALSE, FALSE);
        engine.SetBlendViewTrans(0);
        engine.BlendFrame();
        HBITMAP bitmap = (HBITMAP)::GetCurrentObject(engine.GetMemDC()->m_hDC, OBJ_BITMAP);
        DIBSECTION ds = {};
        ASSERT_TRUE(::GetObjectA(bitmap, sizeof ds, &ds) && ds.dsBm.bmBits);
        GdiFlush();
        const int w = ds.dsBm.bmWidth, h = ds.dsBm.bmHeight;
        ASSERT_EQ(w, 720);
        const uint32_t* line = static_cast<const uint32_t*>(ds.dsBm.bmBits) + size_t(h / 2) * w;
        std::vector<uint8_t> luma(w);
        for (int x = 0; x < w; ++x)
            luma[x] = uint8_t((((line[x] >> 16) & 0xFF) + ((line[x] >> 8) & 0xFF) + (line[x] & 0xFF)) / 3);
        // The engine's picture holds the frame at the width of its window (608 of 720).
        EXPECT_EQ(NumberOnRow(luma.data(), 76), frame + 3) << "frame " << frame;
    }
    engine.BlendViewOff();
}

INSTANTIATE_TEST_SUITE_P(Standards, TranscodeTest, testing::Values(false, true));

TEST(TranscodeGraph, MissingSourceFailsWithItsName)
{
    Output out("tc_missing");
    theApp.ClearBoxes();
    CTranscodeGraph graph;
    graph.SetSource("C:\\no such folder\\clip.avi");
    graph.SetDestination(out.path);
    EXPECT_EQ(graph.BuildGraph(), E_FAIL);
    EXPECT_TRUE(theApp.Saw("Could not open file C:\\no such folder\\clip.avi")) << theApp.AllBoxes();
    EXPECT_EQ(graph.Transcode(), 1);
}

TEST(TranscodeGraph, EmptySourceFails)
{
    Output out("tc_empty");
    CTranscodeGraph graph;
    graph.SetDestination(out.path);
    EXPECT_TRUE(FAILED(graph.BuildGraph()));
    EXPECT_EQ(graph.Transcode(), 1);
    EXPECT_FALSE(ReadClipBack(out.unix).opened);
}

TEST(TranscodeGraph, CancelFailsWithItsMessage)
{
    TestClip source(Clip(240, false), "tc_cancel_src");
    ASSERT_TRUE(source.ok);
    Output out("tc_cancel");
    theApp.ClearBoxes();
    CTranscodeGraph graph;
    graph.SetSource(source.path);
    graph.SetDestination(out.path);
    graph.SetStartFrame(0);
    graph.SetEndFrame(239);
    ASSERT_EQ(graph.BuildGraph(), S_OK) << theApp.AllBoxes();
    // Cancel is pressed as soon as the progress window shows (from a thread of Wine's own).
    struct Presser {
        static DWORD WINAPI Run(LPVOID p)
        {
            CProgressDlg* progress = static_cast<CProgressDlg*>(p);
            for (int i = 0; i < 5000 && !progress->GetSafeHwnd(); ++i)
                Sleep(1);
            PostMessageA(progress->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(217, BN_CLICKED), 0);
            return 0;
        }
    };
    HANDLE presser = CreateThread(NULL, 0, Presser::Run, graph.GetProgressDialog(), 0, NULL);
    EXPECT_EQ(graph.Transcode(), 1);
    WaitForSingleObject(presser, INFINITE);
    CloseHandle(presser);
    EXPECT_TRUE(theApp.Saw("Transcode has been cancelled.")) << theApp.AllBoxes();
}

} // namespace
