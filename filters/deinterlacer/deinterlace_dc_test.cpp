// Snapshots and the composite picture through the filter's interface, with the
// framework's DC objects as the program hands them over.
#include <afxwin.h>
#include "filter_harness.h"
#include <initguid.h>
#include "ideinterlace.h"

using namespace harness;

namespace {

const int W = 720, H = 480;

// A 32-bit top-down DIB selected into a memory DC wrapped in the framework's DC object.
struct DibDC {
    CDC dc;
    HBITMAP bmp = nullptr;
    HGDIOBJ old = nullptr;
    uint32_t* px = nullptr;
    int w, h;
    DibDC(int w_, int h_) : w(w_), h(h_)
    {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        dc.Attach(CreateCompatibleDC(nullptr));
        bmp = CreateDIBSection(dc.m_hDC, &bi, DIB_RGB_COLORS, (void**)&px, nullptr, 0);
        old = SelectObject(dc.m_hDC, bmp);
    }
    ~DibDC()
    {
        SelectObject(dc.m_hDC, old);
        DeleteObject(bmp);
        DeleteDC(dc.Detach());
    }
    uint32_t at(int x, int y)
    {
        GdiFlush();
        return px[size_t(y) * w + x] & 0xFFFFFF;
    }
};

struct VideoChain : Chain {
    IDeinterlace* di = nullptr;
    VideoChain() : Chain(CLSID_Deinterlacer, VideoType(W, H), W * H * 4)
    {
        if (filter)
            di = Query<IDeinterlace>(IID_IDeinterlace);
    }
    ~VideoChain()
    {
        if (di)
            di->Release();
    }
    void Push()
    {
        ASSERT_EQ(source->Push(
                      [](BYTE* p, long n) {
                          auto* px = reinterpret_cast<uint32_t*>(p);
                          for (long i = 0; i < n / 4; ++i)
                              px[i] = uint32_t((i / W) << 16 | (i % W));
                      },
                      nullptr, nullptr),
                  S_OK);
    }
    uint32_t Out(int x, int y) const
    {
        uint32_t v;
        memcpy(&v, sink->received.back().data() + (size_t(y) * W + x) * 4, 4);
        return v & 0xFFFFFF;
    }
};

TEST(DeinterlaceFilterDC, SnapshotCopiesTheNextFrameTopDownAndSetsTheEvent)
{
    ComScope com;
    VideoChain c;
    ASSERT_EQ(c.Connect(), S_OK);
    c.Run();
    c.di->SetField(0, 0);
    c.di->SetScaleToFrame(FALSE);   // the picture stays put: rows 24..479 are the reference
    DibDC snap(608, 456);
    HANDLE event = nullptr;
    ASSERT_EQ(c.di->RequestSnapshot(&snap.dc, &event), S_OK);
    c.Push();
    ASSERT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(snap.at(5, 0), c.Out(5, 479));
    EXPECT_EQ(snap.at(600, 455), c.Out(600, 24));
    // Served once: the next frame leaves the picture alone.
    memset(snap.px, 0, 608 * 456 * 4);
    c.Push();
    EXPECT_EQ(snap.at(5, 0), 0u);
}

TEST(DeinterlaceFilterDC, OutputDcReplacesTheVideoUntilTakenBack)
{
    ComScope com;
    VideoChain c;
    ASSERT_EQ(c.Connect(), S_OK);
    c.Run();
    DibDC out(608, 456);
    for (int i = 0; i < 608 * 456; ++i)
        out.px[i] = 0x00ABCDEF;
    c.di->SetField(0, 1);
    ASSERT_EQ(c.di->SetOutputDC(&out.dc), S_OK);
    c.Push();
    EXPECT_EQ(c.Out(0, 479), 0xABCDEFu);
    EXPECT_EQ(c.Out(607, 24), 0xABCDEFu);
    ASSERT_EQ(c.di->SetOutputDC(nullptr), S_OK);
    c.Push();
    EXPECT_NE(c.Out(0, 479), 0xABCDEFu);
}

} // namespace
