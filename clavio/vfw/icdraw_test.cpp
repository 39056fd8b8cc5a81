// The codec renderer over a test codec installed as a function: the ICM_DRAW_* sequence it
// receives for an uncompressed AVI written at test time whose frames carry their number,
// and a codec that cannot draw.
#include "IcDraw.h"
#include "AviFile.h"
#include "engine_test_support.h"
#include "avi_clip_writer.h"
#include "test_codecs.h"
#include <string>
#include <vector>

namespace {

CRecordingApp theApp;

const int kWidth = 16, kHeight = 8, kFrames = 12;

// An uncompressed 32-bit clip whose frame n starts with the number n.
std::string WriteNumberedClip(const char* name)
{
    return WriteAviClip(name, AviFormat(kWidth, kHeight, 32), kFrames,
                        [](int n, std::vector<BYTE>& bytes) { *reinterpret_cast<DWORD*>(bytes.data()) = n; });
}

class IcDrawTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(InstallTestCodecs());
    }
    static void TearDownTestSuite()
    {
        ICRemove(ICTYPE_VIDEO, kDrawing, 0);
        ICRemove(ICTYPE_VIDEO, kNotDrawing, 0);
    }
    void SetUp() override
    {
        g_calls.clear();
        theApp.ClearBoxes();
        ASSERT_TRUE(window.CreateEx(0, AfxRegisterWndClass(0), "draw", WS_POPUP, 0, 0, 608, 456,
                                    NULL, NULL));
    }
    void TearDown() override { window.DestroyWindow(); }
    CWnd window;
};

TEST_F(IcDrawTest, StreamsFramesAheadThroughTheCodecsDrawHandler)
{
    std::string path = WriteNumberedClip("icdraw.avi");
    ASSERT_FALSE(path.empty()) << theApp.AllBoxes();
    CAviFile file;
    ASSERT_TRUE(file.Open(path.c_str(), OF_SHARE_DENY_WRITE));
    PAVISTREAM stream = file.GetVideoStream();
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(file.GetAudioStream(), nullptr);
    {
        CIcDraw draw;
        ASSERT_TRUE(draw.Open(kDrawing, stream, window.m_hWnd));
        EXPECT_TRUE(draw.CanDraw());
        // Backwards from 9 in 8..11: three buffers ahead, staying at the range's start.
        ASSERT_TRUE(draw.Start(9, -1, 8, 11));
        EXPECT_TRUE(draw.DrawNext());
        EXPECT_TRUE(draw.DrawNext());
        draw.Stop();
        const std::vector<std::string> expected = {
            "begin 608x456 16", "draw 9 preroll t0", "draw 8 preroll t1", "draw 8 preroll t2",
            "window 608x456", "start", "draw 8 t3", "draw 8 t4", "flush", "stop", "end"};
        EXPECT_EQ(g_calls, expected);
        // Forwards again after a new start: not drawn once stopped.
        EXPECT_FALSE(draw.Start(0, 1, 0, 11));
    }
    AVIStreamRelease(stream);
    EXPECT_TRUE(theApp.Boxes().empty()) << theApp.AllBoxes();
}

TEST_F(IcDrawTest, ACodecThatCannotDrawAndFilesThatDoNotOpen)
{
    std::string path = WriteNumberedClip("icplain.avi");
    ASSERT_FALSE(path.empty());
    CAviFile file;
    ASSERT_TRUE(file.Open(path.c_str(), OF_SHARE_DENY_WRITE));
    PAVISTREAM stream = file.GetVideoStream();
    ASSERT_NE(stream, nullptr);
    CIcDraw draw;
    EXPECT_FALSE(draw.Open(kNotDrawing, stream, window.m_hWnd));
    EXPECT_FALSE(draw.CanDraw());
    EXPECT_FALSE(draw.Start(0, 1, 0, 11));
    EXPECT_FALSE(draw.Open(mmioFOURCC('n', 'o', 'n', 'e'), stream, window.m_hWnd));
    EXPECT_TRUE(g_calls.empty());
    AVIStreamRelease(stream);

    EXPECT_FALSE(file.Open("C:\\no\\such\\clip.avi", OF_SHARE_DENY_WRITE));
    EXPECT_EQ(theApp.AllBoxes(), "[Unable to open C:\\no\\such\\clip.avi]");
    EXPECT_FALSE(file.Open("", OF_SHARE_DENY_WRITE));
    EXPECT_EQ(file.GetVideoStream(), nullptr);
}

} // namespace
