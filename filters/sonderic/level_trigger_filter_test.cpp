// The sound-level trigger as a COM filter between hand-driven pins.
#include "filter_harness.h"
#include <initguid.h>
#include "ileveltrigger.h"

using namespace harness;

namespace {

struct SoundChain : Chain {
    ILevelTrigger* lt = nullptr;
    explicit SoundChain(int channels = 1)
        : Chain(CLSID_LevelTrigger, AudioType(channels, 16, 44100), 2000 * channels)
    {
        if (filter)
            lt = Query<ILevelTrigger>(IID_ILevelTrigger);
    }
    ~SoundChain()
    {
        if (lt)
            lt->Release();
    }
    // 1000 frames of silence with `value` in the first channel of frame `loudAt` (or none).
    void Push(LONGLONG mediaStart, int loudAt, short value = 20000, int channel = 0)
    {
        const int channels = source->m_bytes / 2000;
        ASSERT_EQ(source->Push(
                      [=](BYTE* p, long n) {
                          memset(p, 0, n);
                          if (loudAt >= 0)
                              memcpy(p + (loudAt * channels + channel) * 2, &value, 2);
                      },
                      nullptr, nullptr, &mediaStart),
                  S_OK);
    }
    std::vector<LONG_PTR> SoundEvents() const
    {
        std::vector<LONG_PTR> ms;
        for (const auto& e : graph.events)
            if (e.code == EC_FILTER_NOTIFY && e.p1 == 2)
                ms.push_back(e.p2);
        return ms;
    }
};

TEST(LevelTriggerFilter, OneIdentityDefaultsAndThresholds)
{
    ComScope com;
    SoundChain c;
    ASSERT_EQ(c.created, S_OK);
    ASSERT_NE(c.lt, nullptr);
    IBaseFilter* back = nullptr;
    ASSERT_EQ(c.lt->QueryInterface(IID_IBaseFilter, (void**)&back), S_OK);
    EXPECT_EQ(static_cast<IUnknown*>(back), static_cast<IUnknown*>(c.filter));
    back->Release();

    int level = 0;
    BYTE pass = 0;
    double fps = 0;
    c.lt->GetThresholdLevel(&level);
    c.lt->GetPassThrough(&pass);
    c.lt->GetFrameRate(&fps);
    EXPECT_EQ(level, 11);
    EXPECT_EQ(pass, 1);
    EXPECT_DOUBLE_EQ(fps, 29.97);
    const int table[][2] = {{0, 1}, {100, 126}, {1000, 127}, {-20, 0}};
    for (const auto& t : table) {
        c.lt->SetThreshold(t[0]);
        c.lt->GetThresholdLevel(&level);
        EXPECT_EQ(level, t[1]) << t[0];
    }
    EXPECT_EQ(c.lt->GetThresholdLevel(nullptr), E_POINTER);

    // Persistence keeps nothing of its own but knows when a setter ran.
    IPersistStream* ps = c.Query<IPersistStream>(IID_IPersistStream);
    ASSERT_NE(ps, nullptr);
    ULARGE_INTEGER size = {};
    EXPECT_EQ(ps->GetSizeMax(&size), S_OK);
    EXPECT_EQ(size.QuadPart, 24u);
    EXPECT_EQ(ps->IsDirty(), S_OK);
    IStream* stream = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
    EXPECT_EQ(ps->Save(stream, TRUE), S_OK);
    EXPECT_EQ(ps->IsDirty(), S_FALSE);
    stream->Release();
    ps->Release();
}

TEST(LevelTriggerFilter, RefusesOtherThanPcmAudio)
{
    ComScope com;
    CMediaType notPcm = AudioType(1, 16, 44100);
    notPcm.SetSubtype(&MEDIASUBTYPE_MPEG1AudioPayload);
    CMediaType noFormat;
    noFormat.SetType(&MEDIATYPE_Audio);
    noFormat.SetSubtype(&MEDIASUBTYPE_PCM);
    for (const CMediaType* type : std::vector<const CMediaType*>{&notPcm, &noFormat}) {
        Chain c(CLSID_LevelTrigger, *type, 64);
        ASSERT_EQ(c.created, S_OK);
        EXPECT_TRUE(FAILED(c.Connect()));
    }
    Chain video(CLSID_LevelTrigger, VideoType(8, 2), 64);
    EXPECT_TRUE(FAILED(video.Connect()));
}

TEST(LevelTriggerFilter, FiresOnceWithTheTimeInMillisecondsUntilRearmed)
{
    ComScope com;
    SoundChain c;
    ASSERT_EQ(c.Connect(), S_OK);
    c.Run();
    c.Push(0, -1);
    c.Push(1000, 5, 3071);           // 3071 >> 8 = 11: not above the level
    EXPECT_TRUE(c.SoundEvents().empty());
    c.Push(44100, 441);              // (44100 + 441) x 1000 / 44100
    EXPECT_EQ(c.SoundEvents(), (std::vector<LONG_PTR>{1010}));
    c.Push(45100, 0, 32000);
    EXPECT_EQ(c.SoundEvents().size(), 1u);
    EXPECT_EQ(c.sink->received.size(), 4u);   // pass-through delivers everything

    EXPECT_EQ(c.lt->Rearm(), S_OK);
    c.Push(88200, 0);
    EXPECT_EQ(c.SoundEvents(), (std::vector<LONG_PTR>{1010, 2000}));

    // A new run arms it again.
    c.filter->Stop();
    c.filter->Run(0);
    c.Push(441, 0);
    EXPECT_EQ(c.SoundEvents(), (std::vector<LONG_PTR>{1010, 2000, 10}));
}

TEST(LevelTriggerFilter, WithoutPassThroughNothingReachesDownstreamButTheEventComes)
{
    ComScope com;
    SoundChain c;
    ASSERT_EQ(c.Connect(), S_OK);
    c.lt->SetPassThrough(0);
    c.Run();
    c.Push(0, 10);
    EXPECT_TRUE(c.sink->received.empty());
    EXPECT_EQ(c.SoundEvents(), (std::vector<LONG_PTR>{0}));
}

TEST(LevelTriggerFilter, OnlyTheFirstChannelIsHeard)
{
    ComScope com;
    SoundChain c(2);
    ASSERT_EQ(c.Connect(), S_OK);
    c.Run();
    c.Push(0, 100, 30000, 1);
    EXPECT_TRUE(c.SoundEvents().empty());
    c.Push(1000, 100, 30000, 0);
    EXPECT_EQ(c.SoundEvents(), (std::vector<LONG_PTR>{(1000 + 100) * 1000 / 44100}));
}

TEST(LevelTriggerFilter, PropertyPageAppliesTheThreshold)
{
    ComScope com;
    SoundChain c;
    ShownPage p(CLSID_LevelTriggerProperties, c.filter);
    ASSERT_EQ(p.hr, S_OK);
    EXPECT_EQ(p.Text(1015), "50");
    SetDlgItemTextA(p.Dialog(), 1015, "100");
    p.Command(1015);
    EXPECT_EQ(p.page->IsPageDirty(), S_OK);
    ASSERT_EQ(p.page->Apply(), S_OK);
    int level = 0;
    c.lt->GetThresholdLevel(&level);
    EXPECT_EQ(level, 126);
}

} // namespace
