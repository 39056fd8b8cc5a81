// The Deinterlacer as a COM filter between hand-driven pins.
#include "filter_harness.h"
#include <initguid.h>
#include "ideinterlace.h"

using namespace harness;

namespace {

const int W = 720, H = 480;

struct VideoChain : Chain {
    IDeinterlace* di = nullptr;
    explicit VideoChain(long bytes = W * H * 4) : Chain(CLSID_Deinterlacer, VideoType(W, H), bytes)
    {
        if (filter)
            di = Query<IDeinterlace>(IID_IDeinterlace);
    }
    ~VideoChain()
    {
        if (di)
            di->Release();
    }
    // A frame whose pixel (x, y) holds y << 16 | x.
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
    uint32_t Out(size_t frame, int x, int y) const
    {
        uint32_t v;
        memcpy(&v, sink->received.at(frame).data() + (size_t(y) * W + x) * 4, 4);
        return v;
    }
};

TEST(DeinterlaceFilter, OneIdentityAndDefaults)
{
    ComScope com;
    VideoChain c;
    ASSERT_EQ(c.created, S_OK);
    ASSERT_NE(c.di, nullptr);
    IBaseFilter* back = nullptr;
    ASSERT_EQ(c.di->QueryInterface(IID_IBaseFilter, (void**)&back), S_OK);
    EXPECT_EQ(static_cast<IUnknown*>(back), static_cast<IUnknown*>(c.filter));
    back->Release();
    BOOL bypass = FALSE;
    c.di->GetBypass(&bypass);
    EXPECT_TRUE(bypass);
    float x = 9, y = 9, w = 9, h = 9;
    c.di->GetCropOrigin(&x, &y);
    c.di->GetCropSize(&w, &h);
    EXPECT_EQ(x, 0.f);
    EXPECT_EQ(y, 0.f);
    EXPECT_EQ(w, 1.f);
    EXPECT_EQ(h, 1.f);
    ISpecifyPropertyPages* pages = c.Query<ISpecifyPropertyPages>(IID_ISpecifyPropertyPages);
    CAUUID list = {};
    ASSERT_EQ(pages->GetPages(&list), S_OK);
    ASSERT_EQ(list.cElems, 1u);
    EXPECT_TRUE(IsEqualGUID(list.pElems[0], CLSID_DeinterlacerProperties));
    CoTaskMemFree(list.pElems);
    pages->Release();
}

TEST(DeinterlaceFilter, RefusesAllButBottomUpRgb32)
{
    ComScope com;
    CMediaType noVideoInfo = VideoType(W, H);
    noVideoInfo.SetFormatType(&FORMAT_VideoInfo2);
    const CMediaType types[] = {noVideoInfo, VideoType(W, -H), VideoType(W, H, MEDIASUBTYPE_RGB24, 24)};
    for (const CMediaType& type : types) {
        Chain c(CLSID_Deinterlacer, type, W * H * 4);
        ASSERT_EQ(c.created, S_OK);
        EXPECT_TRUE(FAILED(c.Connect()));
    }
}

TEST(DeinterlaceFilter, FreshFilterPassesFramesAndServesASnapshotRequest)
{
    ComScope com;
    VideoChain c;
    ASSERT_EQ(c.Connect(), S_OK);
    c.Run();
    HANDLE event = nullptr;
    ASSERT_EQ(c.di->RequestSnapshot(nullptr, &event), S_OK);
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    c.Push();
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    ASSERT_EQ(c.sink->received.size(), 1u);
    EXPECT_EQ(c.Out(0, 3, 1), 1u << 16 | 3);
    EXPECT_EQ(c.Out(0, 700, 479), 479u << 16 | 700);
}

TEST(DeinterlaceFilter, SetFieldEndsBypassAndKeepsOneField)
{
    ComScope com;
    VideoChain c;
    ASSERT_EQ(c.Connect(), S_OK);
    c.Run();
    ASSERT_EQ(c.di->SetField(0, 2), S_OK);   // out of range: field 0
    BOOL bypass = TRUE;
    c.di->GetBypass(&bypass);
    EXPECT_FALSE(bypass);
    c.Push();
    ASSERT_EQ(c.sink->received.size(), 1u);
    for (int y = 24; y < H; y += 37)
        EXPECT_EQ((c.Out(0, 100, y) >> 16) % 2, 0u) << y;
}

// A frame holding only the first field's rows (its decoder was told so) that meets the
// second field's settings, changed meanwhile, shows the first field: never a stale row.
TEST(DeinterlaceFilter, FrameOfOneFieldsRowsShowsNoStaleRow)
{
    ComScope com;
    VideoChain c;
    ASSERT_EQ(c.Connect(), S_OK);
    c.Run();
    c.di->SetField(0, 1);
    ASSERT_EQ(c.source->Push(
                  [](BYTE* p, long n) {
                      auto* px = reinterpret_cast<uint32_t*>(p);
                      for (long i = 0; i < n / 4; ++i)
                          px[i] = (i / W) % 2 ? 0xDEADBEEFu : uint32_t((i / W) << 16 | (i % W));
                  },
                  nullptr, nullptr, nullptr, -1, 0),
              S_OK);
    ASSERT_EQ(c.sink->received.size(), 1u);
    int stale = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            stale += c.Out(0, x, y) == 0xDEADBEEFu;
    EXPECT_EQ(stale, 0);
}

TEST(DeinterlaceFilter, ShortBufferIsLeftAlone)
{
    ComScope com;
    VideoChain c(W * 4 * 10);   // ten rows where the format promises 480
    ASSERT_EQ(c.Connect(), S_OK);
    c.Run();
    c.di->SetField(0, 1);
    HANDLE event = nullptr;
    c.di->RequestSnapshot(nullptr, &event);
    c.Push();
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    ASSERT_EQ(c.sink->received.size(), 1u);
    EXPECT_EQ(c.Out(0, 5, 2), 2u << 16 | 5);
}

} // namespace
