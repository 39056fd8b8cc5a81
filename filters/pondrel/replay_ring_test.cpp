#include "gtest_wine.h"
#include "replay_ring.h"
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Drives the ring as the filter does: outside save mode a sample is stored, in save mode
// each incoming sample releases one entry; frames are numbered by their stream position.
struct Feeder {
    CReplayRing ring;
    double span;   // frame duration in 100 ns units (may be fractional, as NTSC's is)
    std::vector<int> entryFrame;
    std::vector<int> delivered;
    std::vector<int64_t> deliveredStart;   // the times the entries go out with
    int finishes = 0;

    explicit Feeder(double frameSpan = 400000.0) : span(frameSpan) {}

    LONGLONG StartOf(int frame) const { return std::llround(frame * span); }
    void Run(int pre, int post, double fps = 25.0)
    {
        ring.SetPreTrigger(pre);
        ring.SetPostTrigger(post);
        ring.SetFrameRate(fps);
        ring.Reset();
        entryFrame.assign(ring.Count(), -1);
        delivered.clear();
        deliveredStart.clear();
        finishes = 0;
    }
    void Feed(int frame, LONGLONG start, LONGLONG stop)
    {
        if (!ring.SaveMode()) {
            CReplayRing::SampleTimes t;
            t.hasStart = t.hasStop = true;
            t.start = start;
            t.stop = stop;
            int e = ring.Store(t);
            if (e >= 0)
                entryFrame[e] = frame;
            return;
        }
        CReplayRing::SampleTimes t;
        int e = ring.NextToSave(&t);
        if (e >= 0) {
            delivered.push_back(entryFrame[e]);
            deliveredStart.push_back(t.hasStart ? t.start : -1);
        } else if (ring.TakeFinish())
            ++finishes;
    }
    void Feed(int frame) { Feed(frame, StartOf(frame), StartOf(frame + 1)); }
    void FeedRange(int from, int to)
    {
        for (int f = from; f < to; ++f)
            Feed(f);
    }
    // Feeds until the whole ring has gone out and the finish was reported (or a limit).
    void FeedToEnd(int from)
    {
        for (int f = from; f < from + 1000 && finishes == 0; ++f)
            Feed(f);
    }
};

TEST(ReplayRing, CanTriggerOnceMoreThanPreFramesAreStored)
{
    Feeder f;
    f.Run(2, 3);
    ASSERT_EQ(f.ring.Count(), 6);
    std::vector<int> can;
    for (int i = 0; i < 8; ++i) {
        can.push_back(f.ring.CanTrigger());
        f.Feed(i);
    }
    can.push_back(f.ring.CanTrigger());
    EXPECT_EQ(can, (std::vector<int>{0, 0, 0, 1, 1, 1, 1, 1, 1}));
    EXPECT_TRUE(f.ring.Wrapped());
    // A trigger before that is refused and changes nothing.
    f.Run(2, 3);
    f.FeedRange(0, 2);
    EXPECT_EQ(f.ring.Trigger(false, 0), -1);
    EXPECT_FALSE(f.ring.Triggered());
}

TEST(ReplayRing, TriggerNowOnAWrappedRingDeliversOldestFirstThenFinishesOnce)
{
    Feeder f;
    f.Run(2, 3);
    f.FeedRange(0, 10);   // newest stored frame: 9
    EXPECT_EQ(f.ring.Trigger(false, 0), -1);
    EXPECT_TRUE(f.ring.Triggered());
    f.FeedRange(10, 13);   // post frames after the trigger frame
    EXPECT_TRUE(f.ring.SaveMode());
    f.FeedRange(13, 19);   // one entry released per incoming sample
    EXPECT_EQ(f.delivered, (std::vector<int>{7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(f.finishes, 0);
    f.FeedRange(19, 25);
    EXPECT_EQ(f.finishes, 1);
    EXPECT_EQ(f.delivered.size(), 6u);
}

TEST(ReplayRing, RepeatedStartTimeIsIgnoredAndNotCounted)
{
    Feeder f;
    f.Run(2, 3);
    f.FeedRange(0, 10);
    f.ring.Trigger(false, 0);
    f.Feed(10);
    f.Feed(100, f.StartOf(10), f.StartOf(11));   // same start time again
    EXPECT_EQ(f.ring.PostCounter(), 1);
    f.FeedToEnd(11);
    EXPECT_EQ(f.delivered, (std::vector<int>{7, 8, 9, 10, 11, 12}));
}

// TriggerAt on a wrapped ring: the frame holding t (or the one the offset moves to) is
// delivered at position pre and its field is reported, for PAL and NTSC time stamps.
TEST(ReplayRing, TriggerAtPlacesTheTriggerFrameAtPre)
{
    struct Case {
        const char* name;
        double span, fps;
        int offset;
        double at;   // t as frame number plus fraction of the span
        int frame, parity;
    } cases[] = {
        {"first half", 400000, 25, 0, 7.25, 7, 0},
        {"second half", 400000, 25, 0, 7.75, 7, 1},
        {"second half, offset +1", 400000, 25, 1, 7.75, 8, 0},
        {"first half, offset +1", 400000, 25, 1, 7.25, 7, 1},
        {"first half, offset -1", 400000, 25, -1, 7.25, 6, 1},
        {"second half, offset -1", 400000, 25, -1, 7.75, 7, 0},
        {"offset +3", 400000, 25, 3, 7.25, 8, 1},
        {"NTSC first half", 10010000.0 / 30, 29.97, 0, 5.25, 5, 0},
        {"NTSC second half", 10010000.0 / 30, 29.97, 0, 6.75, 6, 1},
        {"NTSC offset -1", 10010000.0 / 30, 29.97, -1, 8.25, 7, 1},
        {"NTSC newest frame", 10010000.0 / 30, 29.97, 0, 9.5, 9, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Feeder f(c.span);
        f.Run(4, 4, c.fps);
        f.ring.SetTriggerOffset(c.offset);
        f.FeedRange(0, 10);   // newest frame 9
        const LONGLONG t = std::llround(c.at * c.span);
        ASSERT_EQ(f.ring.Trigger(true, t), c.parity);
        EXPECT_EQ(f.ring.TriggerParity(), c.parity);
        f.FeedToEnd(10);
        ASSERT_EQ(f.delivered.size(), 9u);
        EXPECT_EQ(f.delivered[4], c.frame);
        EXPECT_EQ(f.finishes, 1);
    }
}

// Frames the camera dropped were never stored: they count neither among the trigger
// frame's followers nor as places in the clip. The trigger frame goes out at place pre
// and the clip's times follow one another from the oldest frame's start.
TEST(ReplayRing, DroppedFramesLeaveNoPlaceInTheClip)
{
    const int kPre = 4, kPost = 6;   // future windows j = 1, 2
    struct Case {
        const char* name;
        std::vector<int> dropped;
        double at;   // t as frame number plus fraction; negative: trigger now (frame 11)
        int frame;
        int offset = 0;
        // Triggers that follow the first before the next frame: a time (frame number plus
        // fraction) or, when negative, a trigger now.
        std::vector<double> then = {};
    } cases[] = {
        {"between the trigger frame and the newest", {10}, 8.25, 8},
        {"before the trigger frame", {3}, 8.25, 8},
        {"on both sides and among the followers", {3, 10, 14}, 8.75, 8},
        {"trigger now, before it", {5}, -1, 11},
        {"trigger now, among the followers", {13}, -1, 11},
        {"a frame still to come, one dropped before it", {12}, 13.25, 13},
        {"a frame still to come and dropped: the next one", {12, 13}, 13.25, 14},
        // A later trigger now, or a time in no frame's window, keeps the post counter and
        // so the trigger frame still to come.
        {"still to come, then trigger now, one dropped before it", {12}, 13.25, 13, 0, {-1}},
        {"still to come, then now and a time in no window", {12}, 13.25, 13, 0, {-1, 30.0}},
        {"still to come, then a time older than the ring", {12}, 13.75, 13, 0, {0.5}},
        // The offset moves the trigger frame past the newest stored frame (11).
        {"offset past the newest, one dropped before it", {12}, 11.25, 13, 4},
        {"offset past the newest, second half", {12, 13}, 11.75, 14, 5},
        {"offset past the newest and dropped: the next one", {12}, 11.25, 13, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Feeder f;
        f.Run(kPre, kPost);
        std::vector<int> stored;
        auto feedTo = [&](int end) {
            for (int n = stored.empty() ? 0 : stored.back() + 1; n < end; ++n)
                if (std::find(c.dropped.begin(), c.dropped.end(), n) == c.dropped.end()) {
                    f.Feed(n);
                    stored.push_back(n);
                }
        };
        f.ring.SetTriggerOffset(c.offset);
        feedTo(12);
        if (c.at < 0)
            f.ring.Trigger(false, 0);
        else
            ASSERT_GE(f.ring.Trigger(true, std::llround(c.at * f.span)), 0);
        const int counter = f.ring.PostCounter();
        for (double at : c.then)
            EXPECT_EQ(at < 0 ? f.ring.Trigger(false, 0) : f.ring.Trigger(true, std::llround(at * f.span)), -1);
        EXPECT_EQ(f.ring.PostCounter(), counter);
        feedTo(40);
        ASSERT_EQ(f.finishes, 1);
        const size_t k = std::find(stored.begin(), stored.end(), c.frame) - stored.begin();
        ASSERT_GE(k, size_t(kPre));
        EXPECT_EQ(f.delivered, std::vector<int>(stored.begin() + (k - kPre), stored.begin() + (k + kPost + 1)));
        ASSERT_EQ(f.deliveredStart.size(), size_t(kPre + 1 + kPost));
        for (size_t j = 0; j < f.deliveredStart.size(); ++j)
            EXPECT_EQ(f.deliveredStart[j], f.StartOf(stored[k - kPre]) + LONGLONG(j) * 400000) << j;
    }
}

// The clip's frames are one connection frame time apart: one stored frame whose span is
// far off (the oldest here) does not shift every place of the clip.
TEST(ReplayRing, ClipFrameLengthIsTheConnectionsTimePerFrame)
{
    for (LONGLONG connection : {LONGLONG(400000), LONGLONG(0)}) {
        SCOPED_TRACE(connection);
        Feeder f;
        f.Run(2, 3);
        f.ring.SetFrameSpan(connection);
        f.FeedRange(0, 7);
        f.Feed(7, f.StartOf(7), f.StartOf(7) + 5000);   // the clip's oldest frame
        f.FeedRange(8, 10);
        f.ring.Trigger(false, 0);
        f.FeedToEnd(10);
        ASSERT_EQ(f.delivered, (std::vector<int>{7, 8, 9, 10, 11, 12}));
        // Without a connection time the oldest frame's span is all there is.
        const LONGLONG step = connection > 0 ? connection : 5000;
        for (size_t j = 0; j < f.deliveredStart.size(); ++j)
            EXPECT_EQ(f.deliveredStart[j], f.StartOf(7) + LONGLONG(j) * step) << j;
    }
}

TEST(ReplayRing, TriggerAtAFrameStillToCome)
{
    struct Case {
        const char* name;
        int offset;
        double at;
        int parity, counter, frame;
    } cases[] = {
        // The newest stored frame is 9; frame 11 lies two frame spans after it.
        {"first half", 0, 11.25, 0, -2, 11},
        {"second half", 0, 11.75, 1, -2, 11},
        {"second half, offset +1", 1, 11.75, 0, -3, 12},
        {"first half, offset -1", -1, 11.25, 1, -1, 10},
        {"next frame", 0, 10.4, 0, -1, 10},
        // On the boundary of two frames the later frame, which starts there, holds it.
        {"boundary", 0, 12.0, 0, -3, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Feeder f;
        f.Run(3, 8);   // windows j = 1, 2, 3 (j < post / 2)
        f.ring.SetTriggerOffset(c.offset);
        f.FeedRange(0, 15);
        const LONGLONG t = std::llround((c.at + 5) * f.span);   // frames 0..14: newest 14
        ASSERT_EQ(f.ring.Trigger(true, t), c.parity);
        EXPECT_EQ(f.ring.PostCounter(), c.counter);
        f.FeedToEnd(15);
        ASSERT_EQ(f.delivered.size(), 12u);
        EXPECT_EQ(f.delivered[3], c.frame + 5);
    }
}

TEST(ReplayRing, TriggerTooFarAheadPlacesNoFieldButStillTriggers)
{
    Feeder f;
    f.Run(3, 8);
    f.FeedRange(0, 12);   // newest 11; windows j = 1..3 reach frame 14
    EXPECT_EQ(f.ring.Trigger(true, f.StartOf(15) + 1000), -1);
    EXPECT_TRUE(f.ring.Triggered());
    EXPECT_EQ(f.ring.PostCounter(), 0);
    f.FeedToEnd(12);
    EXPECT_EQ(f.delivered[3], 11);
}

TEST(ReplayRing, TriggerAtRefusedBeforeTheRingWraps)
{
    Feeder f;
    f.Run(3, 4);   // 8 entries
    f.FeedRange(0, 6);
    ASSERT_TRUE(f.ring.CanTrigger());
    EXPECT_EQ(f.ring.Trigger(true, f.StartOf(1) + 10), -1);   // entry 1 < pre
    EXPECT_EQ(f.ring.Trigger(true, f.StartOf(9)), -1);        // not in the ring
    EXPECT_FALSE(f.ring.Triggered());
    EXPECT_EQ(f.ring.Trigger(true, f.StartOf(4) + 10), 0);    // entry 4 >= pre
    EXPECT_TRUE(f.ring.Triggered());
}

TEST(ReplayRing, TriggerFramePostOrMoreBackStillFinishes)
{
    Feeder f;
    f.Run(2, 3);
    f.FeedRange(0, 10);
    // Frame 4 is five frames older than the newest: counted as post, the capture ends
    // with the next sample instead of waiting for ever.
    ASSERT_EQ(f.ring.Trigger(true, f.StartOf(4) + 10), 0);
    EXPECT_EQ(f.ring.PostCounter(), 3);
    f.FeedToEnd(10);
    EXPECT_EQ(f.delivered, (std::vector<int>{4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(f.finishes, 1);

    // The same with a large negative offset.
    f.Run(2, 3);
    f.ring.SetTriggerOffset(-20);
    f.FeedRange(0, 10);
    f.ring.Trigger(true, f.StartOf(9) + 10);
    f.FeedToEnd(10);
    EXPECT_EQ(f.finishes, 1);
}

TEST(ReplayRing, NoPostFramesKeepsTheNewestAsTriggerFrame)
{
    Feeder f;
    f.Run(2, 0);
    f.FeedRange(0, 5);
    f.ring.Trigger(false, 0);
    f.FeedToEnd(5);
    EXPECT_EQ(f.delivered, (std::vector<int>{2, 3, 4}));
}

TEST(ReplayRing, PreAndPostTakeEffectAtTheNextRun)
{
    Feeder f;
    f.Run(2, 3);
    f.ring.SetPreTrigger(5);
    f.ring.SetPostTrigger(1);
    EXPECT_EQ(f.ring.Count(), 6);
    EXPECT_EQ(f.ring.PreTrigger(), 5);
    f.FeedRange(0, 3);
    EXPECT_TRUE(f.ring.CanTrigger());   // the running ring keeps pre = 2
    EXPECT_TRUE(f.ring.Reset());
    EXPECT_EQ(f.ring.Count(), 7);
    EXPECT_FALSE(f.ring.CanTrigger());
}

} // namespace
