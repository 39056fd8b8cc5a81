// The playback graph over DV clips whose fields carry their own numbers (frame n: fields
// 2n and 2n + 1): the shown field read back by a grab after seeks, steps and plays, the
// timer delays, stepped play to both ends, lock-step of the pair, real-time play and the
// renderer window's placement.
#include "PlaybackGraph.h"
#include "ShadowView.h"
#include "step_timing.h"
#include "engine_test_support.h"
#include "decode_count.h"
#include <cmath>
#include <algorithm>
#include <mutex>

namespace {

CRecordingApp theApp;

// A 608 x 456 picture that grabs are drawn into.
class GrabTarget
{
public:
    GrabTarget()
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = 608;
        info.bmiHeader.biHeight = -456;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        m_dib = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &m_bits, NULL, 0);
        dc.Attach(CreateCompatibleDC(NULL));
        m_old = SelectObject(dc.m_hDC, m_dib);
    }
    ~GrabTarget()
    {
        SelectObject(dc.m_hDC, m_old);
        DeleteDC(dc.Detach());
        DeleteObject(m_dib);
    }
    int Shown(CPlaybackGraph& graph)
    {
        memset(m_bits, 0x80, 608 * 456 * 4);   // grey: no number
        graph.GrabFrame(&dc, NULL);
        GdiFlush();
        return NumberOnLine(static_cast<const uint8_t*>(m_bits), 608, 456, 228, false);
    }
    CDC dc;

private:
    HBITMAP m_dib;
    void* m_bits = nullptr;
    HGDIOBJ m_old;
};

// Records the field each tick hands the shadow view.
class TickRecorder : public CShadowView
{
public:
    void SetPosition(int field) override
    {
        std::lock_guard<std::mutex> lock(mutex);
        fields.push_back(field);
    }
    std::vector<int> Fields()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return fields;
    }
    std::mutex mutex;
    std::vector<int> fields;
};

DvClipFormat Fields(int frames, bool pal)
{
    DvClipFormat f;
    f.frames = frames;
    f.pal = pal;
    f.withAudio = false;
    f.fieldNumbers = true;
    return f;
}

std::unique_ptr<CPlaybackGraph> Open(const TestClip& clip, CWnd* notify, int index = -1)
{
    std::unique_ptr<CPlaybackGraph> graph(new CPlaybackGraph(index));
    graph->SetNotifyWindow(notify);
    EXPECT_EQ(graph->CreateGraph(NULL), S_OK);
    EXPECT_EQ(graph->OpenFile(), S_OK);   // renderer only
    EXPECT_EQ(graph->LoadFile(clip.path), S_OK) << theApp.AllBoxes();
    return graph;
}

class PlaybackGraphTest : public testing::Test
{
protected:
    void SetUp() override { theApp.ClearBoxes(); }
};

TEST_F(PlaybackGraphTest, FieldsOfNtscAndPalClips)
{
    for (bool pal : {false, true}) {
        TestClip clip(Fields(6, pal), pal ? "pbpal" : "pbntsc");
        ASSERT_TRUE(clip.ok);
        auto graph = Open(clip, NULL);
        EXPECT_EQ(graph->IsPAL(), pal);
        EXPECT_EQ(graph->GetFrameHeight(), pal ? 576 : 480);
        EXPECT_NEAR(graph->GetFieldPeriod(), pal ? 0.02 : 0.01668335, 1e-6);
        graph->SetTrimOut(5);
        GrabTarget target;
        for (int field : {0, 1, 2, 3, 6, 7, 11, 10}) {
            graph->SetField(field % 2);
            graph->SeekFrame(field / 2, false, false);
            EXPECT_EQ(graph->GetFieldPosition(), field);
            EXPECT_EQ(target.Shown(*graph), field) << (pal ? "PAL" : "NTSC");
        }
    }
}

TEST_F(PlaybackGraphTest, SeeksAndStepsStayInTheTrimRange)
{
    TestClip clip(Fields(12, false), "pbtrim");
    ASSERT_TRUE(clip.ok);
    auto graph = Open(clip, NULL);
    graph->SetTrimIn(-3);
    EXPECT_EQ(graph->GetTrimIn(), 0);   // raised to the first valid frame
    graph->SetTrimIn(2);
    graph->SetTrimOut(8);
    GrabTarget target;
    struct Case {
        const char* what;
        int frame;        // SeekFrame, or
        int step;         // StepFields from the position before
        int expected;     // field shown
    } cases[] = {
        {"seek inside", 5, 0, 10},
        {"step +1", -100, 1, 11},
        {"step +1 into the next frame", -100, 1, 12},
        {"step -3", -100, -3, 9},
        {"seek below trim in", 1, 0, 4},
        {"seek to a negative frame", -5, 0, 4},
        {"seek past trim out", 500, 0, 16},
        {"step back from trim out's first field", -100, -1, 15},
        {"step 0 keeps the field", -100, 0, 15},
    };
    for (const Case& c : cases) {
        if (c.frame != -100) {
            graph->SetField(0);
            graph->SeekFrame(c.frame, false, false);
        } else {
            graph->StepFields(c.step);
        }
        EXPECT_EQ(graph->GetFieldPosition(), c.expected) << c.what;
        EXPECT_EQ(target.Shown(*graph), c.expected) << c.what;
    }
    // Moving past trim out does nothing; moving below trim in still moves.
    graph->SetField(1);
    graph->SeekFrame(8, false, false);
    EXPECT_EQ(graph->MoveFields(1), S_OK);
    EXPECT_EQ(graph->GetFieldPosition(), 17);
    graph->SetField(0);
    graph->SeekFrame(2, false, false);
    graph->MoveFields(-1);
    EXPECT_EQ(graph->GetFieldPosition(), 3);
}

// Pictures the graph's video decoder has decoded (-1 without one).
long Decodes(CPlaybackGraph& graph)
{
    long decodes = -1;
    IEnumFilters* filters = NULL;
    if (FAILED(graph.GetGraph()->EnumFilters(&filters)))
        return decodes;
    IBaseFilter* filter = NULL;
    while (filters->Next(1, &filter, NULL) == S_OK) {
        IDecodeCount* count = NULL;
        if (SUCCEEDED(filter->QueryInterface(IID_IDecodeCount, (void**)&count))) {
            LONG n = 0;
            count->GetDecodeCount(&n);
            decodes = n;
            count->Release();
        }
        filter->Release();
    }
    filters->Release();
    return decodes;
}

TEST_F(PlaybackGraphTest, StepToTheSecondFieldDecodesOnce)
{
    TestClip clip(Fields(8, false), "pbonce");
    ASSERT_TRUE(clip.ok);
    auto graph = Open(clip, NULL);
    graph->SetTrimOut(7);
    GrabTarget target;
    graph->SetField(0);
    graph->SeekFrame(3, false, false);
    EXPECT_EQ(target.Shown(*graph), 6);
    const long first = Decodes(*graph);
    ASSERT_GT(first, 0);
    graph->StepFields(1);   // 6 -> 7: the same frame's other field
    EXPECT_EQ(target.Shown(*graph), 7);
    EXPECT_EQ(Decodes(*graph), first);
    graph->StepFields(1);   // 7 -> 8: a new frame
    EXPECT_EQ(target.Shown(*graph), 8);
    EXPECT_EQ(Decodes(*graph), first + 1);
    graph->StepFields(-1);  // 8 -> 7: back to the frame before, decoded again
    EXPECT_EQ(target.Shown(*graph), 7);
    EXPECT_EQ(Decodes(*graph), first + 2);
}

TEST(StepTiming, DelaysForRatesAndSpeeds)
{
    double rate;
    const float ntsc = FieldPeriodOf(333667, &rate);
    const float pal = FieldPeriodOf(400000, &rate);
    EXPECT_NEAR(rate, 25.0, 1e-9);
    FieldPeriodOf(0, &rate);   // a format without a frame time keeps 29.97
    EXPECT_NEAR(rate, 29.97, 1e-9);
    struct Case {
        float speed;
        unsigned ntscMs, palMs;
    } cases[] = {
        {1.0f, 16, 20}, {0.25f, 66, 80}, {2.0f, 8, 10}, {-0.5f, 33, 40},
        {20.0f, 1, 1},   // faster than 1 ms per field: at least 1 ms
        {0.0f, 0, 0}, {std::nanf(""), 0, 0},   // no delay: refused before
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StepDelayMs(ntsc, c.speed), c.ntscMs) << c.speed;
        EXPECT_EQ(StepDelayMs(pal, c.speed), c.palMs) << c.speed;
    }
    EXPECT_EQ(BlendLevel(0), 255);
    EXPECT_EQ(BlendLevel(50), 128);
    EXPECT_EQ(BlendLevel(100), 0);
}

// Ticks follow the clock, not the time each step took: the timer's whole milliseconds
// and the step's own time average out to the exact field period.
TEST(StepTiming, PacerKeepsTheFieldRate)
{
    double rate;
    const double period = StepPeriodMs(FieldPeriodOf(333667, &rate), 1.0f);
    struct Case {
        const char* what;
        double stepMs;    // time from a tick to the timer's start
        double lateMs;    // how late the timer fires after its delay
    } cases[] = {{"instant steps", 0, 0}, {"2 ms steps", 2, 0}, {"2 ms steps, late timer", 2, 0.9}};
    for (const Case& c : cases) {
        StepPacer pacer;
        double now = 1000;
        pacer.Restart(now);
        for (int i = 0; i < 600; ++i) {
            now += c.stepMs;
            now += pacer.NextDelay(now, period) + c.lateMs;
        }
        EXPECT_NEAR((now - 1000) / 600, period, 0.01) << c.what;
    }
    // A tick far too late starts afresh: the next ones are not hurried.
    StepPacer pacer;
    pacer.Restart(0);
    EXPECT_EQ(pacer.NextDelay(0, period), 17u);
    EXPECT_EQ(pacer.NextDelay(500, period), 1u);
    EXPECT_EQ(pacer.NextDelay(501, period), 16u);
}

TEST_F(PlaybackGraphTest, SpeedsThatCannotPaceAreRefused)
{
    CPlaybackGraph graph;
    EXPECT_EQ(graph.SetSpeed(-0.5f), S_OK);
    EXPECT_EQ(graph.CurrentStepDelay(), 33u);
    EXPECT_DOUBLE_EQ(graph.GetPlaySpeed(), -0.5);
    EXPECT_EQ(graph.SetSpeed(0.0f), E_INVALIDARG);
    EXPECT_EQ(graph.SetSpeed(std::nanf("")), E_INVALIDARG);
    EXPECT_DOUBLE_EQ(graph.GetPlaySpeed(), -0.5);
    EXPECT_EQ(graph.SetSpeed(20.0f), S_OK);
    EXPECT_EQ(graph.CurrentStepDelay(), 1u);
}

TEST_F(PlaybackGraphTest, SteppedPlayToBothEnds)
{
    TestClip clip(Fields(8, false), "pbends");
    ASSERT_TRUE(clip.ok);
    NotifyWindow window;
    auto graph = Open(clip, window.Wnd());
    graph->SetTrimIn(1);
    graph->SetTrimOut(6);
    GrabTarget target;
    graph->SetSpeed(4.0f);
    struct Case {
        const char* what;
        int from;          // field
        bool forward;
        int end;           // field shown at the end
        LONG timers;       // timers started by the play
    } cases[] = {
        {"forward from the last field", 13, true, 13, 0},
        {"backward from the first field", 2, false, 2, 0},
        {"forward to the end", 9, true, 13, 4},
        {"backward to the start", 6, false, 2, 4},
    };
    for (const Case& c : cases) {
        graph->SetField(c.from % 2);
        graph->SeekFrame(c.from / 2, false, false);
        const LONG before = graph->GetTimersStarted();
        if (c.forward)
            graph->PlayForward();
        else
            graph->PlayBackward();
        ASSERT_TRUE(window.WaitFor(100, 5000)) << c.what;
        std::vector<WPARAM> later = window.Codes(150);
        EXPECT_TRUE(later.empty()) << c.what << ": one code 100 only";
        EXPECT_EQ(graph->GetTimersStarted() - before, c.timers) << c.what;
        EXPECT_FALSE(graph->IsPlaying()) << c.what;
        EXPECT_EQ(graph->GetFieldPosition(), c.end) << c.what;
        EXPECT_EQ(target.Shown(*graph), c.end) << c.what;
    }
}

TEST_F(PlaybackGraphTest, LockStepFollowsAtItsOffset)
{
    TestClip clipA(Fields(12, false), "pblocka");
    TestClip clipB(Fields(12, false), "pblockb");
    ASSERT_TRUE(clipA.ok && clipB.ok);
    NotifyWindow windowA, windowB;
    auto a = Open(clipA, windowA.Wnd(), 0);
    auto b = Open(clipB, windowB.Wnd(), 1);
    ASSERT_EQ(CPlaybackGraph::TableEntry(0), a.get());
    ASSERT_EQ(CPlaybackGraph::TableEntry(1), b.get());
    a->SetTrimOut(11);
    b->SetTrimOut(7);   // the follower's range ends before the master's
    TickRecorder ticksA, ticksB;
    a->SetShadowView(&ticksA);
    a->SetShadowViewActive(1);
    b->SetShadowView(&ticksB);
    b->SetShadowViewActive(1);
    a->SetField(0);
    a->SeekFrame(0, false, false);
    b->SetField(0);
    b->SeekFrame(5, false, false);
    a->SetLockOffset(0);
    b->SetLockOffset(10);
    // The follower's own timer runs faster: the master's signal paces both.
    a->SetSpeed(0.5f);
    b->SetSpeed(4.0f);
    a->SetPlayLocked(1);
    a->PlayForward();
    b->PlayForward();
    ASSERT_TRUE(windowA.WaitFor(100, 10000));
    ASSERT_TRUE(windowB.WaitFor(100, 10000));
    EXPECT_TRUE(windowA.Codes(100).empty());
    EXPECT_TRUE(windowB.Codes(0).empty());

    std::vector<int> master = ticksA.Fields(), follower = ticksB.Fields();
    // The master walks the shared range up to its end (1 + the larger of its own last
    // frame x 2 and the follower's minus the offset); the follower shows the shared
    // position + 10, clamped to its own range.
    std::string all;
    for (int f : master)
        all += std::to_string(f) + " ";
    all += "| ";
    for (int f : follower)
        all += std::to_string(f) + " ";
    SCOPED_TRACE(all);
    ASSERT_EQ(master.size(), 24u);   // the last tick finds the end and stays
    for (size_t i = 0; i < master.size(); ++i)
        EXPECT_EQ(master[i], std::min(int(i) + 1, 23));
    // The follower steps on each master signal; a signal given while it is still busy
    // with the last one is taken with the next, so a tick may be taken up by the next.
    ASSERT_GE(follower.size() + 2, master.size());
    ASSERT_FALSE(follower.empty());
    EXPECT_EQ(follower.front(), 11);
    EXPECT_EQ(follower.back(), 15);
    for (size_t i = 0; i < follower.size(); ++i) {
        const int shared = follower[i] - 10;
        EXPECT_TRUE(follower[i] == 15 ||
                    std::find(master.begin(), master.end(), shared) != master.end())
            << "tick " << i;
        if (i > 0)
            EXPECT_GE(follower[i], follower[i - 1]) << "tick " << i;
    }
    GrabTarget target;
    EXPECT_EQ(target.Shown(*a), 23);
    EXPECT_EQ(target.Shown(*b), 15);
    a->SetPlayLocked(0);
}

TEST_F(PlaybackGraphTest, ReloadOfChannelZeroKeepsThePair)
{
    TestClip clip(Fields(4, false), "pbreload");
    ASSERT_TRUE(clip.ok);
    auto b = Open(clip, NULL, 1);
    {
        auto a = Open(clip, NULL, 0);
        EXPECT_EQ(CPlaybackGraph::TableEntry(0), a.get());
    }
    EXPECT_EQ(CPlaybackGraph::TableEntry(0), nullptr);   // no entry reaches a destroyed graph
    // Given the old index, the new graph takes channel 0's entry, not the live count's.
    auto a2 = Open(clip, NULL, 0);
    EXPECT_EQ(CPlaybackGraph::TableEntry(0), a2.get());
    EXPECT_EQ(CPlaybackGraph::TableEntry(1), b.get());
}

TEST_F(PlaybackGraphTest, PartnerDestroyedInMidPlay)
{
    TestClip clip(Fields(40, false), "pbgone");
    ASSERT_TRUE(clip.ok);
    NotifyWindow window;
    auto a = Open(clip, window.Wnd(), 0);
    auto b = Open(clip, NULL, 1);
    a->SetTrimOut(39);
    b->SetTrimOut(39);
    a->SetLockOffset(0);
    b->SetLockOffset(4);
    a->SetSpeed(4.0f);
    b->SetSpeed(4.0f);
    a->SetPlayLocked(1);
    a->PlayForward();
    b->PlayForward();
    Sleep(60);
    b.reset();   // the master goes on alone
    ASSERT_TRUE(window.WaitFor(100, 10000));
    EXPECT_EQ(a->GetFieldPosition(), 79);
    a->SetPlayLocked(0);
}

TEST_F(PlaybackGraphTest, RealTimePlayToTrimOut)
{
    TestClip clip(Fields(20, false), "pbreal");
    ASSERT_TRUE(clip.ok);
    NotifyWindow window;
    auto graph = Open(clip, window.Wnd());
    graph->SetTrimOut(12);
    graph->SeekFrame(3, false, false);
    graph->ClearPlaying();
    graph->SetRealPlayMode(TRUE);
    EXPECT_TRUE(graph->IsRealPlayMode());
    EXPECT_FALSE(graph->GetDeinterlace());   // real-time chain: no Deinterlacer
    graph->RealPlayTo(graph->GetTrimOut());
    ASSERT_TRUE(window.WaitFor(100, 10000));
    EXPECT_TRUE(window.Codes(200).empty());
    // A step returns to stepped mode, on the frame the play ended on.
    graph->StepFields(0);
    EXPECT_FALSE(graph->IsRealPlayMode());
    GrabTarget target;
    EXPECT_EQ(target.Shown(*graph) / 2, 12);
}

TEST(RealTimeWindow, CropAndMaskPlacements)
{
    struct Case {
        float crop[4], mask[4];
        WindowPlacement expected;
    } cases[] = {
        {{0.25f, 0, 0.5f, 1}, {0, 0, 0.5f, 1}, {-152, 0, 608, 456}},
        {{0, 0, 1, 1}, {0, 0, 1, 1}, {0, 0, 608, 456}},
        {{0.5f, 0.5f, 0.5f, 0.5f}, {0, 0, 1, 1}, {-608, -456, 1216, 912}},
        {{0.1f, 0.2f, 0, 1}, {0, 0, 1, 1}, {-60, -91, 608, 456}},   // no crop width
    };
    for (const Case& c : cases) {
        WindowPlacement p = RealTimeWindow(608, 456, c.crop, c.mask);
        EXPECT_EQ(p.left, c.expected.left);
        EXPECT_EQ(p.top, c.expected.top);
        EXPECT_EQ(p.width, c.expected.width);
        EXPECT_EQ(p.height, c.expected.height);
    }
}

TEST_F(PlaybackGraphTest, OpenFailures)
{
    auto graph = std::unique_ptr<CPlaybackGraph>(new CPlaybackGraph);
    ASSERT_EQ(graph->CreateGraph(NULL), S_OK);
    EXPECT_EQ(graph->LoadFile("Z:\\no\\such\\clip.avi"), E_FAIL);
    EXPECT_TRUE(theApp.Saw("Could not open file Z:\\no\\such\\clip.avi"));
    EXPECT_FALSE(graph->IsFileOpened());
    EXPECT_TRUE(graph->GetVideoRenderer());   // the renderer stays
}

} // namespace
