// The codec renderer over a test codec installed as a function: the ICM_DRAW_* sequence it
// receives for an uncompressed AVI written at test time whose frames carry their number,
// and a codec that cannot draw.
#include "IcDraw.h"
#include "AviFile.h"
#include "engine_test_support.h"
#include "avi_clip_writer.h"
#include <string>
#include <vector>

namespace {

CRecordingApp theApp;

const DWORD kDrawing = mmioFOURCC('t', 's', 'd', 'w');
const DWORD kNotDrawing = mmioFOURCC('t', 's', 'n', 'd');
const int kWidth = 16, kHeight = 8, kFrames = 12;

// What the test codecs received, one entry per message: "begin", "draw 5 preroll", ...
std::vector<std::string> g_calls;

LRESULT CALLBACK TestCodec(DWORD_PTR, HDRVR, UINT msg, LPARAM lParam1, LPARAM lParam2, bool draws)
{
    switch (msg) {
    case DRV_LOAD:
    case DRV_ENABLE:
    case DRV_OPEN:
    case DRV_CLOSE:
    case DRV_DISABLE:
    case DRV_FREE:
        return 1;
    case ICM_GETINFO: {
        auto* info = reinterpret_cast<ICINFO*>(lParam1);
        if (!info || DWORD(lParam2) < sizeof(ICINFO))
            return 0;
        info->dwSize = sizeof(ICINFO);
        info->fccType = ICTYPE_VIDEO;
        info->dwFlags = draws ? VIDCF_DRAW : 0;
        return sizeof(ICINFO);
    }
    case ICM_GETBUFFERSWANTED:
        *reinterpret_cast<DWORD*>(lParam1) = 3;
        return ICERR_OK;
    case ICM_DRAW_QUERY:
        return ICERR_OK;
    case ICM_DRAW_BEGIN: {
        auto* begin = reinterpret_cast<ICDRAWBEGIN*>(lParam1);
        g_calls.push_back("begin " + std::to_string(begin->dxDst) + "x" +
                          std::to_string(begin->dyDst) + " " + std::to_string(begin->lpbi->biWidth));
        return ICERR_OK;
    }
    case ICM_DRAW: {
        auto* draw = reinterpret_cast<ICDRAW*>(lParam1);
        const DWORD frame = draw->lpData ? *static_cast<const DWORD*>(draw->lpData) : ~0u;
        g_calls.push_back("draw " + std::to_string(frame) +
                          ((draw->dwFlags & ICDRAW_PREROLL) ? " preroll" : "") + " t" +
                          std::to_string(draw->lTime));
        return ICERR_OK;
    }
    case ICM_DRAW_WINDOW: {
        const RECT* r = reinterpret_cast<const RECT*>(lParam1);
        g_calls.push_back("window " + std::to_string(r->right - r->left) + "x" +
                          std::to_string(r->bottom - r->top));
        return ICERR_OK;
    }
    case ICM_DRAW_START: g_calls.push_back("start"); return ICERR_OK;
    case ICM_DRAW_FLUSH: g_calls.push_back("flush"); return ICERR_OK;
    case ICM_DRAW_STOP: g_calls.push_back("stop"); return ICERR_OK;
    case ICM_DRAW_END: g_calls.push_back("end"); return ICERR_OK;
    default:
        return msg < DRV_USER ? 0 : ICERR_UNSUPPORTED;
    }
}

LRESULT CALLBACK DrawingCodec(DWORD_PTR id, HDRVR drv, UINT msg, LPARAM a, LPARAM b)
{
    return TestCodec(id, drv, msg, a, b, true);
}

LRESULT CALLBACK PlainCodec(DWORD_PTR id, HDRVR drv, UINT msg, LPARAM a, LPARAM b)
{
    return TestCodec(id, drv, msg, a, b, false);
}

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
        ASSERT_TRUE(ICInstall(ICTYPE_VIDEO, kDrawing, (LPARAM)DrawingCodec, NULL, ICINSTALL_FUNCTION));
        ASSERT_TRUE(ICInstall(ICTYPE_VIDEO, kNotDrawing, (LPARAM)PlainCodec, NULL, ICINSTALL_FUNCTION));
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
