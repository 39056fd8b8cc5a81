// The replay buffer as a COM filter between hand-driven pins.
#include "filter_harness.h"
#include <initguid.h>
#include "ireplaybuffer.h"

using namespace harness;

namespace {

const LONGLONG kSpan = 400000;   // 25 frames per second

// The test picture, with a time per frame when one is given.
CMediaType TestVideoType(REFERENCE_TIME frameTime = 0)
{
    CMediaType mt = VideoType(8, 2);
    reinterpret_cast<VIDEOINFOHEADER*>(mt.Format())->AvgTimePerFrame = frameTime;
    return mt;
}

struct ReplayChain : Chain {
    IReplayBuffer* rb = nullptr;
    explicit ReplayChain(REFERENCE_TIME frameTime = 0)
        : Chain(CLSID_ReplayBuffer, TestVideoType(frameTime), 64)
    {
        if (filter)
            rb = Query<IReplayBuffer>(IID_IReplayBuffer);
    }
    ~ReplayChain()
    {
        if (rb)
            rb->Release();
    }
    void Frame(int n, REFERENCE_TIME length = kSpan)
    {
        const REFERENCE_TIME start = n * kSpan, stop = start + length;
        ASSERT_EQ(source->Push([n](BYTE* p, long) { memcpy(p, &n, sizeof n); }, &start, &stop),
                  S_OK);
    }
    void Frames(int from, int to)
    {
        for (int n = from; n < to; ++n)
            Frame(n);
    }
    std::vector<int> Delivered() const
    {
        std::vector<int> out;
        for (const auto& bytes : sink->received) {
            int n = -1;
            if (bytes.size() >= sizeof n)
                memcpy(&n, bytes.data(), sizeof n);
            out.push_back(n);
        }
        return out;
    }
    int FinishEvents() const
    {
        int n = 0;
        for (const auto& e : graph.events)
            n += e.code == EC_FILTER_NOTIFY && e.p1 == 1 && e.p2 == 1;
        return n;
    }
};

TEST(ReplayBufferFilter, OneIdentityAndDefaults)
{
    ComScope com;
    ReplayChain c;
    ASSERT_EQ(c.created, S_OK);
    ASSERT_NE(c.rb, nullptr);
    IBaseFilter* back = nullptr;
    ASSERT_EQ(c.rb->QueryInterface(IID_IBaseFilter, (void**)&back), S_OK);
    IUnknown *a = nullptr, *b = nullptr;
    c.rb->QueryInterface(IID_IUnknown, (void**)&a);
    back->QueryInterface(IID_IUnknown, (void**)&b);
    EXPECT_EQ(a, b);
    a->Release();
    b->Release();
    back->Release();

    int count = 0, bytes = 0, effect = 0, pre = 0, post = 0;
    double start = 0, length = 0, fps = 0;
    EXPECT_EQ(c.rb->GetBufferInfo(&count, &bytes), S_OK);
    EXPECT_EQ(count, 60);
    EXPECT_EQ(bytes, 20000);
    EXPECT_EQ(c.rb->GetEffect(&effect, &start, &length), S_OK);
    EXPECT_EQ(effect, 1010);
    EXPECT_DOUBLE_EQ(start, 2.0);
    EXPECT_DOUBLE_EQ(length, 5.0);
    c.rb->GetFrameRate(&fps);
    EXPECT_DOUBLE_EQ(fps, 29.97);
    c.rb->GetPreTriggerFrames(&pre);
    c.rb->GetPostTriggerFrames(&post);
    EXPECT_EQ(pre, 29);
    EXPECT_EQ(post, 30);
    EXPECT_EQ(c.rb->GetEffect(nullptr, &start, &length), E_POINTER);

    ISpecifyPropertyPages* pages = c.Query<ISpecifyPropertyPages>(IID_ISpecifyPropertyPages);
    ASSERT_NE(pages, nullptr);
    CAUUID list = {};
    ASSERT_EQ(pages->GetPages(&list), S_OK);
    ASSERT_EQ(list.cElems, 1u);
    EXPECT_TRUE(IsEqualGUID(list.pElems[0], CLSID_ReplayBufferProperties));
    CoTaskMemFree(list.pElems);
    pages->Release();
}

TEST(ReplayBufferFilter, RefusesTypesItCannotHold)
{
    ComScope com;
    CMediaType audio;
    audio.SetType(&MEDIATYPE_Audio);
    audio.SetFormatType(&FORMAT_WaveFormatEx);
    audio.AllocFormatBuffer(sizeof(WAVEFORMATEX));
    const CMediaType wrongRgb24 = VideoType(8, 2, MEDIASUBTYPE_RGB24, 32);
    for (const CMediaType* type : std::vector<const CMediaType*>{&audio, &wrongRgb24}) {
        Chain c(CLSID_ReplayBuffer, *type, 64);
        ASSERT_EQ(c.created, S_OK);
        EXPECT_TRUE(FAILED(c.Connect()));
    }
}

TEST(ReplayBufferFilter, TimedTriggerDeliversTheRingAroundItAndReportsOnce)
{
    ComScope com;
    ReplayChain c;
    ASSERT_EQ(c.Connect(), S_OK);
    c.rb->SetPreTriggerFrames(2);
    c.rb->SetPostTriggerFrames(3);
    c.rb->SetFrameRate(25.0);
    c.rb->SetTriggerOffset(1);
    c.Run();
    BYTE can = 9;
    c.rb->CanTrigger(&can);
    EXPECT_EQ(can, 0);
    c.Frames(0, 10);   // ring of 6 holds frames 4..9
    c.rb->CanTrigger(&can);
    EXPECT_EQ(can, 1);
    int parity = 9;
    // Second half of frame 7, one field later: the first field of frame 8.
    ASSERT_EQ(c.rb->TriggerAt(7 * kSpan + 3 * kSpan / 4, &parity), S_OK);
    EXPECT_EQ(parity, 0);
    c.Frames(10, 12);
    EXPECT_TRUE(c.sink->received.empty());   // nothing passes while the ring fills
    c.Frames(12, 18);
    EXPECT_EQ(c.Delivered(), (std::vector<int>{6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(c.FinishEvents(), 0);
    c.Frames(18, 22);
    EXPECT_EQ(c.FinishEvents(), 1);
    EXPECT_EQ(c.sink->received.size(), 6u);
    ASSERT_EQ(c.graph.events.size(), 1u);
}

TEST(ReplayBufferFilter, StopInSaveModeFlushesWithoutEventAndTheNextRunStartsEmpty)
{
    ComScope com;
    ReplayChain c;
    ASSERT_EQ(c.Connect(), S_OK);
    c.rb->SetPreTriggerFrames(2);
    c.rb->SetPostTriggerFrames(3);
    c.Run();
    c.Frames(0, 10);
    ASSERT_EQ(c.rb->TriggerNow(), S_OK);
    c.Frames(10, 15);   // three followers, then two entries out
    EXPECT_EQ(c.Delivered(), (std::vector<int>{7, 8}));
    c.filter->Stop();
    EXPECT_EQ(c.Delivered(), (std::vector<int>{7, 8, 9, 10, 11, 12}));
    EXPECT_TRUE(c.graph.events.empty());

    // A new run: pre/post set now apply, the ring is empty again.
    c.rb->SetPreTriggerFrames(4);
    c.filter->Run(0);
    BYTE can = 9;
    c.rb->CanTrigger(&can);
    EXPECT_EQ(can, 0);
    int count = 0, bytes = 0;
    c.rb->GetBufferInfo(&count, &bytes);
    EXPECT_EQ(count, 8);
    int parity = 9;
    c.rb->TriggerAt(REFERENCE_TIME(-1), &parity);   // no time and nothing stored: refused
    EXPECT_EQ(parity, -1);
}

// A frame the camera dropped leaves no gap in the times the ring goes out with, whether
// the entries follow incoming samples or are flushed by Stop: the file gets one place per
// picture.
TEST(ReplayBufferFilter, DeliveredTimesCloseTheGapOfADroppedFrame)
{
    ComScope com;
    ReplayChain c;
    ASSERT_EQ(c.Connect(), S_OK);
    c.rb->SetPreTriggerFrames(2);
    c.rb->SetPostTriggerFrames(3);
    c.Run();
    c.Frames(0, 8);
    c.Frames(9, 10);   // frame 8 dropped
    ASSERT_EQ(c.rb->TriggerNow(), S_OK);
    c.Frames(10, 15);   // three followers, then two entries out
    c.filter->Stop();
    EXPECT_EQ(c.Delivered(), (std::vector<int>{6, 7, 9, 10, 11, 12}));
    std::vector<int64_t> expected;
    for (int k = 0; k < 6; ++k)
        expected.push_back((6 + k) * kSpan);
    EXPECT_EQ(c.sink->starts, expected);
}

// The clip goes out one connection frame time per frame, whatever span its oldest frame
// happened to carry.
TEST(ReplayBufferFilter, DeliveredTimesStepByTheConnectionsTimePerFrame)
{
    ComScope com;
    ReplayChain c(kSpan);
    ASSERT_EQ(c.Connect(), S_OK);
    c.rb->SetPreTriggerFrames(2);
    c.rb->SetPostTriggerFrames(3);
    c.Run();
    c.Frames(0, 7);
    c.Frame(7, kSpan / 10);   // the clip's oldest frame, with a short span
    c.Frames(8, 10);
    ASSERT_EQ(c.rb->TriggerNow(), S_OK);
    c.Frames(10, 19);
    EXPECT_EQ(c.Delivered(), (std::vector<int>{7, 8, 9, 10, 11, 12}));
    std::vector<int64_t> expected;
    for (int k = 0; k < 6; ++k)
        expected.push_back((7 + k) * kSpan);
    EXPECT_EQ(c.sink->starts, expected);
}

TEST(ReplayBufferFilter, ARingThatCannotBeAllocatedStoresNothingAndRecovers)
{
    ComScope com;
    ReplayChain c;
    ASSERT_EQ(c.Connect(), S_OK);
    c.rb->SetPreTriggerFrames(0x7FFFFFFF);   // limited, but still far beyond memory
    c.rb->SetPostTriggerFrames(0x7FFFFFFF);
    c.Run();
    int count = 0, bytes = -1;
    c.rb->GetBufferInfo(&count, &bytes);
    EXPECT_EQ(count, 2 * (1 << 20) + 1);
    EXPECT_EQ(bytes, 0);
    c.Frames(0, 5);
    BYTE can = 9;
    c.rb->CanTrigger(&can);
    EXPECT_EQ(can, 0);
    EXPECT_TRUE(c.sink->received.empty());

    // Sensible sizes at the next run work again.
    c.filter->Stop();
    c.rb->SetPreTriggerFrames(1);
    c.rb->SetPostTriggerFrames(1);
    c.filter->Run(0);
    c.Frames(5, 8);
    c.rb->TriggerNow();
    c.Frames(8, 12);
    EXPECT_EQ(c.Delivered(), (std::vector<int>{6, 7, 8}));
}

TEST(ReplayBufferFilter, PropertyPageShowsTheRingAndTriggersOnApply)
{
    ComScope com;
    ReplayChain c;
    ASSERT_EQ(c.Connect(), S_OK);
    c.rb->SetPreTriggerFrames(2);
    c.rb->SetPostTriggerFrames(3);
    c.Run();
    c.Frames(0, 10);   // 6 entries of 20000 bytes

    ShownPage p(CLSID_ReplayBufferProperties, c.filter);
    ASSERT_EQ(p.hr, S_OK);
    EXPECT_EQ(p.Text(1013), "6");
    EXPECT_EQ(p.Text(1015), "20000");
    EXPECT_EQ(p.Text(1016), "0 MB");
    EXPECT_EQ(p.page->IsPageDirty(), S_FALSE);
    CheckDlgButton(p.Dialog(), 1014, BST_CHECKED);
    p.Command(1014);
    EXPECT_EQ(p.page->IsPageDirty(), S_OK);
    EXPECT_GE(p.site.dirtyReports, 1);
    ASSERT_EQ(p.page->Apply(), S_OK);
    c.Frames(10, 14);   // the newest frame became the trigger frame: three followers
    EXPECT_EQ(c.Delivered(), (std::vector<int>{7}));
}

TEST(ReplayBufferFilter, PropertyPageNeedsTheReplayInterface)
{
    ComScope com;
    IUnknown* other = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, (IStream**)&other), S_OK);
    ShownPage p(CLSID_ReplayBufferProperties, other);
    EXPECT_EQ(p.hr, E_NOINTERFACE);
    other->Release();
}

} // namespace
