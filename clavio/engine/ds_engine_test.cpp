// The DirectShow engine over DV clips whose fields carry their numbers: capture calls as
// without a camera, loading, seeks and steps clamped to the trim range, the pair kept over
// a reload, and the views (blend levels, mirrored successive frames, shadow tabs).
#define NOMINMAX
#include <algorithm>
#include <vector>
#include "DsVideoEngine.h"
#include "PlaybackGraph.h"
#include "ShadowView.h"
#include "BitmapDIB.h"
#include "engine_test_support.h"

namespace {

CRecordingApp theApp;

DvClipFormat Fields(int frames)
{
    DvClipFormat f;
    f.frames = frames;
    f.withAudio = false;
    f.fieldNumbers = true;
    return f;
}

std::unique_ptr<CDsVideoEngine> MakeEngine(CWnd* owner)
{
    std::unique_ptr<CDsVideoEngine> engine(new CDsVideoEngine);
    engine->SetOwner(owner);
    engine->Init();
    return engine;
}

// The pixels of the picture selected into a DC (32-bit, top-down), as a copy.
std::vector<uint32_t> PictureOf(CDC* dc, int* width, int* height)
{
    HBITMAP bitmap = (HBITMAP)::GetCurrentObject(dc->m_hDC, OBJ_BITMAP);
    DIBSECTION ds = {};
    std::vector<uint32_t> pixels;
    if (!::GetObjectA(bitmap, sizeof ds, &ds) || !ds.dsBm.bmBits)
        return pixels;
    GdiFlush();
    *width = ds.dsBm.bmWidth;
    *height = ds.dsBm.bmHeight;
    const uint32_t* bits = static_cast<const uint32_t*>(ds.dsBm.bmBits);
    pixels.assign(bits, bits + size_t(*width) * *height);
    return pixels;
}

// The number shown in a cell of the comparison view: the cell holds the middle half of
// the frame, so its four bars are bits 2 to 5 of the number.
int CellBits(const std::vector<uint32_t>& pixels, int width, int x, int y, bool mirrored)
{
    int n = 0;
    const size_t line = size_t(y + 114) * width;
    for (int bar = 0; bar < 4; ++bar) {
        const int c = bar * 38 + 19;
        const uint32_t p = pixels[line + (mirrored ? x + 151 - c : x + c)];
        const int level = (((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF)) / 3;
        if (level > 170)
            n |= 1 << bar;
        else if (level > 85)
            return -1;
    }
    return n;
}

class EngineTest : public testing::Test
{
protected:
    void SetUp() override { theApp.ClearBoxes(); }
};

TEST_F(EngineTest, CaptureCallsFailAsWithoutACamera)
{
    NotifyWindow owner;
    auto engine = MakeEngine(owner.Wnd());
    EXPECT_EQ(engine->GetDriverType(), 1);
    EXPECT_FALSE(engine->CreateCaptureGraph());
    EXPECT_FALSE(engine->IsCaptureDeviceActive());
    EXPECT_FALSE(engine->SetPreTrigFrames(30));
    EXPECT_EQ(engine->GetPreTrigFrames(), 0);
    engine->DisableCapture();   // no camera graph: nothing happens
    EXPECT_STREQ(engine->GetDriverName(), "<NONE>");
    EXPECT_FALSE(engine->SetCaptureFilename("Z:\\tmp\\x.avi"));
    EXPECT_TRUE(theApp.Saw("Cannot record. \n"));
    EXPECT_FALSE(engine->SetLive(TRUE, TRUE));
    EXPECT_TRUE(theApp.Saw("Your video camera is not on or not connected."));
    EXPECT_TRUE(engine->SetCaptureEnable(1));
    EXPECT_EQ(engine->GetCapturedFrames(), 1);
}

TEST_F(EngineTest, SeeksAndStepsWithinTheTrimRange)
{
    TestClip clip(Fields(10), "engseek");
    ASSERT_TRUE(clip.ok);
    NotifyWindow owner;
    auto engine = MakeEngine(owner.Wnd());
    EXPECT_FALSE(engine->LoadFile(""));
    ASSERT_TRUE(engine->LoadFile(clip.path)) << theApp.AllBoxes();
    EXPECT_TRUE(engine->IsValid());
    EXPECT_EQ(engine->GetFrameCount(), 10);
    engine->SetTrimIn(2);
    engine->SetTrimOut(7);
    struct Case {
        const char* what;
        bool seek;
        long value;
        long expected;
    } cases[] = {
        {"seek -5", true, -5, 4},
        {"seek far past the end", true, 1000, 15},
        {"seek inside", true, 9, 9},
        {"step +2", false, 2, 11},
        {"step past the end", false, 100, 15},
        {"step back past the start", false, -100, 4},
        {"step +1", false, 1, 5},
    };
    for (const Case& c : cases) {
        if (c.seek)
            EXPECT_EQ(engine->SeekField(c.value, FALSE, FALSE), c.expected) << c.what;
        else
            engine->StepField(c.value);
        EXPECT_EQ(engine->GetFieldPosition(), c.expected) << c.what;
    }
    // Speeds that cannot pace a play are refused.
    EXPECT_TRUE(engine->SetPlaySpeed(-0.5f));
    EXPECT_FALSE(engine->SetPlaySpeed(0.0f));
    EXPECT_FLOAT_EQ(engine->GetPlaySpeed(), -0.5f);
    EXPECT_TRUE(engine->RealPlayBackwards());
    EXPECT_FALSE(engine->IsRealPlay());
    engine->Stop();
}

TEST_F(EngineTest, ReloadOfChannelZeroKeepsThePair)
{
    TestClip clip(Fields(4), "engpair");
    ASSERT_TRUE(clip.ok);
    NotifyWindow owner0, owner1;
    auto channel0 = MakeEngine(owner0.Wnd());
    auto channel1 = MakeEngine(owner1.Wnd());
    ASSERT_TRUE(channel0->LoadFile(clip.path));
    ASSERT_TRUE(channel1->LoadFile(clip.path));
    ASSERT_TRUE(channel0->LoadFile(clip.path));   // channel 0 loads again
    EXPECT_EQ(CPlaybackGraph::TableEntry(0), channel0->GetPlaybackGraph());
    EXPECT_EQ(CPlaybackGraph::TableEntry(1), channel1->GetPlaybackGraph());
    EXPECT_FALSE(channel1->CreateCaptureGraph());   // never for a later engine
    EXPECT_TRUE(theApp.Boxes().empty()) << theApp.AllBoxes();   // a reload reports nothing
}

TEST_F(EngineTest, BlendLevels)
{
    TestClip clip(Fields(4), "engblend");
    ASSERT_TRUE(clip.ok);
    NotifyWindow owner0, owner1;
    auto a = MakeEngine(owner0.Wnd());
    auto b = MakeEngine(owner1.Wnd());
    ASSERT_TRUE(a->LoadFile(clip.path));
    ASSERT_TRUE(b->LoadFile(clip.path));
    a->SetTrimOut(3);
    b->SetTrimOut(3);
    a->SeekField(1, FALSE, FALSE);   // field 1: bit 0 white
    b->SeekField(6, FALSE, FALSE);   // field 6: bit 0 black
    struct Case {
        long position;
        int low, high;   // red of the first bar's middle
    } cases[] = {{0, 200, 255}, {50, 100, 150}, {100, 0, 40}};
    for (const Case& c : cases) {
        a->SetBlendViewTrans(c.position);
        a->BlendFrame();
        int w = 0, h = 0;
        std::vector<uint32_t> picture = PictureOf(a->GetMemDC(), &w, &h);
        ASSERT_EQ(w, 720);
        const int red = (picture[size_t(h / 2) * w + 38] >> 16) & 0xFF;
        EXPECT_GE(red, c.low) << c.position;
        EXPECT_LE(red, c.high) << c.position;
    }
    a->BlendViewOff();
}

TEST_F(EngineTest, SuccessiveFramesInMirroredCells)
{
    TestClip clip(Fields(16), "engsucc");
    ASSERT_TRUE(clip.ok);
    NotifyWindow owner;
    auto engine = MakeEngine(owner.Wnd());
    ASSERT_TRUE(engine->LoadFile(clip.path));
    engine->SetTrimOut(15);
    // The comparison view: the middle half of the frame in half the width, cells of
    // 152 x 228 filling the picture.
    engine->SetCrop(0.25f, 0, 0.5f, 1.0f);
    engine->SetMask(0.25f, 0, 0.5f, 1.0f);
    long sources[10] = {0, 5, 8, 13, 16, 21, 24, 29, 1, 2};
    EXPECT_FALSE(engine->SetSuccFramesSource(3, NULL));
    EXPECT_TRUE(engine->SetSuccFramesSource(10, sources));   // eight are kept
    engine->SeekField(5, FALSE, FALSE);
    for (BOOL mirror : {FALSE, TRUE}) {
        engine->SetMirror(mirror);
        ASSERT_TRUE(engine->SetSuccFramesEnable(TRUE));
        int w = 0, h = 0;
        std::vector<uint32_t> picture = PictureOf(engine->GetMemDC(), &w, &h);
        ASSERT_EQ(w, 608);
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(CellBits(picture, w, 152 * (i % 4), 228 * (i / 4), mirror != FALSE),
                      (sources[i] >> 2) & 15)
                << "cell " << i << (mirror ? " mirrored" : "");
        EXPECT_EQ(engine->GetFieldPosition(), 5);   // the position is kept
        engine->SetSuccFramesEnable(FALSE);
    }
}

TEST_F(EngineTest, ShadowTabsPositionAndStamp)
{
    TestClip clip(Fields(8), "engshadow");
    ASSERT_TRUE(clip.ok);
    NotifyWindow owner;
    auto engine = MakeEngine(owner.Wnd());
    ASSERT_TRUE(engine->LoadFile(clip.path));
    engine->SetTrimOut(7);
    ASSERT_TRUE(engine->SetShadowViewEnable(TRUE));
    ASSERT_TRUE(engine->GetShadowView());
    EXPECT_EQ(engine->GetShadowView()->m_Frames.size(), 8u);
    long tabs[8] = {0, 1, 2, 4, 6, 8, 10, 12};
    ASSERT_TRUE(engine->SetShadowViewTabs(8, tabs));
    // The third tab is shown and cleared, the fourth to the seventh stamped.
    EXPECT_EQ(engine->GetFieldPosition(), 10);
    ASSERT_TRUE(engine->SetShadowViewTabs(4, tabs));
    EXPECT_EQ(engine->GetFieldPosition(), 2);
    engine->SetSkipFields(-1);   // taken as 0: no division by zero on the next steps
    engine->SetMergeContinousActive(true);
    engine->StepField(1);
    engine->StepField(1);
    EXPECT_EQ(engine->GetFieldPosition(), 4);
    EXPECT_TRUE(engine->SetShadowViewEnable(FALSE));
    EXPECT_TRUE(engine->GetShadowView()->m_Frames.empty());
}

// Loading another clip replaces the graph the shadow view was made from: the view ends
// and keeps nothing of the old graph, so the steps after the load never reach it.
TEST_F(EngineTest, ShadowViewEndsWhenAnotherClipIsLoaded)
{
    TestClip first(Fields(8), "engshadowa"), second(Fields(5), "engshadowb");
    ASSERT_TRUE(first.ok && second.ok);
    NotifyWindow owner;
    auto engine = MakeEngine(owner.Wnd());
    ASSERT_TRUE(engine->LoadFile(first.path));
    engine->SetTrimOut(7);
    ASSERT_TRUE(engine->SetShadowViewEnable(TRUE));
    ASSERT_EQ(engine->GetShadowView()->m_Frames.size(), 8u);

    ASSERT_TRUE(engine->LoadFile(second.path));
    EXPECT_FALSE(engine->GetShadowViewEnable());
    EXPECT_TRUE(engine->GetShadowView()->m_Frames.empty());
    EXPECT_EQ(engine->GetShadowView()->m_pGraph, nullptr);
    EXPECT_TRUE(engine->Stop());
    EXPECT_TRUE(engine->StepField(1));

    // Turned on again, it is made from the new clip.
    engine->SetTrimOut(4);
    ASSERT_TRUE(engine->SetShadowViewEnable(TRUE));
    EXPECT_EQ(engine->GetShadowView()->m_Frames.size(), 5u);
    EXPECT_TRUE(engine->SetShadowViewEnable(FALSE));
}

} // namespace
