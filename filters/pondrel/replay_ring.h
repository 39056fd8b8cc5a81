// Bookkeeping of the instant-replay ring: which entry the next frame goes to, where a
// trigger instant falls (frame and field), how many frames still have to follow it and in
// which order the entries are handed out. It holds the entries' time stamps but not their
// pictures, so the arithmetic can be driven without a filter graph; the filter keeps the
// sample buffers and copies a frame into the entry that Store names.
#pragma once
#include <windows.h>
#include <cstdint>
#include <vector>

typedef LONGLONG REFERENCE_TIME_T;   // stream time in 100 ns units

class CReplayRing {
public:
    // Times of one incoming sample as the sample reports them.
    struct SampleTimes {
        bool hasStart = false;   // a start time is set
        bool hasStop = false;    // and a stop time (both: the entry takes them)
        LONGLONG start = 0;
        LONGLONG stop = 0;
    };

    CReplayRing();

    int Count() const { return m_nCount; }
    // Stored now, applied by the next Reset: the running ring keeps its own.
    int PreTrigger() const { return m_nNextPre; }
    int PostTrigger() const { return m_nNextPost; }
    void SetPreTrigger(int frames) { m_nNextPre = Limit(frames); }
    void SetPostTrigger(int frames) { m_nNextPost = Limit(frames); }
    double FrameRate() const { return m_dFrameRate; }
    void SetFrameRate(double fps) { m_dFrameRate = fps; }
    void SetTriggerOffset(int fields) { m_nOffset = fields; }
    // The input connection's average time per frame (100 ns units; 0 or less: none), the
    // frame length of the clip handed out.
    void SetFrameSpan(LONGLONG span) { m_frameSpan = span > 0 ? span : 0; }
    LONGLONG FrameSpan() const { return m_frameSpan; }
    int TriggerOffset() const { return m_nOffset; }

    // Start of a run: empties the ring and sizes it to pre + post + 1 entries. Returns
    // true when the number of entries changed.
    bool Reset();

    bool CanTrigger() const { return m_bWrapped || m_nWrite > m_nPre; }
    // First entry in index order whose time span holds t (both ends inclusive); -1 if none.
    int FindEntry(LONGLONG t) const;
    // Places the trigger at stream time t, or at the newest stored frame without a time.
    // Returns the trigger field (0 first, 1 second) or -1 when no trigger field was found.
    int Trigger(bool hasTime, LONGLONG t);

    // One incoming sample outside save mode. Returns the entry the sample must be copied
    // into, or -1 when it is not stored (a repeated start time, or the trigger frame
    // already has all its followers).
    int Store(const SampleTimes& times);

    bool Triggered() const { return m_bTriggered; }
    bool SaveMode() const { return m_bSaveMode; }
    int PostCounter() const { return m_nPostCounter; }
    int TriggerParity() const { return m_nTriggerParity; }
    int WriteIndex() const { return m_nWrite; }
    bool Wrapped() const { return m_bWrapped; }
    int SavedCount() const { return m_nSaved; }

    // Save mode: the next entry to hand out (ring order from the oldest), or -1 when all
    // N have gone out. *times, when given, receives the times the entry goes out with:
    // the clip's frames follow one another from the oldest frame's start, each one frame
    // long (the connection's time per frame, else the oldest frame's span), so that a frame the camera dropped leaves no empty place in the recording and
    // the trigger frame stays at place pre. Without stored times none are given.
    int NextToSave(SampleTimes* times = nullptr);
    // True once, when all entries have gone out: the finish is to be reported now.
    bool TakeFinish();

private:
    // Start and frame length of the clip handed out, from the stored times.
    void PlaceClip();

    struct Span {
        bool valid = false;
        LONGLONG start = 0, stop = 0;
    };
    // Frame counts the ring can be sized to (some nine hours of video either side).
    static int Limit(int frames) { return frames < 0 ? 0 : frames > (1 << 20) ? (1 << 20) : frames; }
    static int FloorDiv2(int v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); }
    static int Mod2(int v) { return ((v % 2) + 2) % 2; }

    int m_nCount = 60;
    int m_nPre = 29;
    int m_nPost = 30;
    int m_nNextPre = 29;
    int m_nNextPost = 30;
    double m_dFrameRate = 29.97;
    int m_nOffset = 0;
    int m_nWrite = 0;
    bool m_bWrapped = false;
    bool m_bTriggered = false;
    int m_nPostCounter = 0;
    int m_nTriggerParity = 0;
    bool m_bSaveMode = false;
    int m_nSaved = 0;
    bool m_bFinishReported = false;
    LONGLONG m_lastStart = -1;
    bool m_bHaveLastStart = false;
    std::vector<Span> m_spans;
    bool m_bTriggerAhead = false;   // the trigger frame is still to come, at m_triggerStart
    LONGLONG m_triggerStart = 0;
    LONGLONG m_triggerSpan = 0;
    LONGLONG m_clipStart = 0;
    LONGLONG m_clipSpan = 0;   // 0: the entries go out with the times they were stored with
    LONGLONG m_frameSpan = 0;  // the connection's time per frame; 0: unknown
};
