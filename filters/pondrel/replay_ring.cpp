#include "replay_ring.h"
#include <cstdio>

CReplayRing::CReplayRing() : m_spans(m_nCount) {}

bool CReplayRing::Reset()
{
    m_lastStart = -1;
    m_bHaveLastStart = false;
    m_bSaveMode = m_bTriggered = m_bWrapped = m_bFinishReported = m_bTriggerAhead = false;
    m_nWrite = m_nPostCounter = m_nSaved = 0;
    m_nPre = m_nNextPre;
    m_nPost = m_nNextPost;
    const int n = m_nPre + m_nPost + 1;
    const bool changed = n != m_nCount;
    m_nCount = n;
    // Entries keep pictures of an earlier run but not their times: a trigger must never
    // find a frame that was not stored in this run.
    m_spans.assign(m_nCount, Span());
    return changed;
}

int CReplayRing::FindEntry(LONGLONG t) const
{
    for (int i = 0; i < m_nCount; ++i)
        if (m_spans[i].valid && m_spans[i].start <= t && t <= m_spans[i].stop)
            return i;
    return -1;
}

int CReplayRing::Trigger(bool hasTime, LONGLONG t)
{
    int reported = -1;
    if (!CanTrigger())
        return reported;
    if (hasTime && !m_bWrapped) {
        const int i = FindEntry(t);
        if (i < 0 || i < m_nPre)
            return reported;
    }
    const int newest = m_nWrite == 0 ? m_nCount - 1 : m_nWrite - 1;
    // Without a time, or with one in no frame's window, the post counter keeps its value,
    // and with it a trigger frame still to come stays known by its start time.
    if (hasTime) {
        const int i = FindEntry(t);
        bool counterSet = false;
        char text[80];
        if (i >= 0) {
            // The frame that holds t is in the ring: count the frames stored after it.
            const LONGLONG s = m_spans[i].start, e = m_spans[i].stop;
            const int p = t > s + (e - s) / 2 ? 1 : 0;
            // The frames stored after it, counted as entries rather than from the time
            // between it and the newest: a frame the camera dropped in between was never
            // stored, and counting it would end the capture one frame early, with the
            // trigger frame one place late in the clip.
            int back = (newest - i + m_nCount) % m_nCount;
            if (back > m_nPost)
                back = m_nPost;
            m_nPostCounter = back - FloorDiv2(p + m_nOffset);
            m_nTriggerParity = Mod2(p + m_nOffset);
            reported = m_nTriggerParity;
            counterSet = true;
            if (i < m_nPre)
                OutputDebugStringA("What is going on?");
            snprintf(text, sizeof text, "Now: Trigger buffer = %d\n", i);
            OutputDebugStringA(text);
        } else if (m_spans[newest].valid) {
            // A frame still to come: the windows of the frames after the newest one.
            const LONGLONG s = m_spans[newest].start, e = m_spans[newest].stop;
            const LONGLONG D = e - s;
            for (int j = 1; D > 0 && j < m_nPost / 2; ++j) {
                if (s + j * D <= t && t <= e + j * D) {
                    const int p = t > s + j * D + D / 2 ? 1 : 0;
                    m_nPostCounter = -(j + FloorDiv2(p + m_nOffset));
                    m_nTriggerParity = Mod2(p + m_nOffset);
                    reported = m_nTriggerParity;
                    counterSet = true;
                    snprintf(text, sizeof text, "Future: Trigger frame = %d\n", j);
                    OutputDebugStringA(text);
                }
            }
        }
        if (counterSet) {
            // A trigger frame after the newest one (a time still to come, or an offset
            // past the newest frame) is known by its start time, not by the number of
            // frames to come: a frame the camera drops before it must not make a later
            // one the trigger frame.
            const Span& last = m_spans[newest];
            const LONGLONG D = last.stop - last.start;
            m_bTriggerAhead = m_nPostCounter < 0 && last.valid && D > 0;
            if (m_bTriggerAhead) {
                m_triggerStart = last.start + LONGLONG(-m_nPostCounter) * D;
                m_triggerSpan = D;
            }
        }
    }
    m_bTriggered = true;
    return reported;
}

int CReplayRing::Store(const SampleTimes& times)
{
    if (times.hasStart) {
        if (m_bHaveLastStart && times.start == m_lastStart)
            return -1;
        m_lastStart = times.start;
        m_bHaveLastStart = true;
    }
    int entry = -1;
    if (!m_bTriggered || m_nPostCounter < m_nPost) {
        entry = m_nWrite;
        if (times.hasStart && times.hasStop) {
            m_spans[entry].valid = true;
            m_spans[entry].start = times.start;
            m_spans[entry].stop = times.stop;
        }
        m_nWrite = (m_nWrite + 1) % m_nCount;
        if (m_nWrite == 0)
            m_bWrapped = true;
    }
    if (m_bTriggered) {
        if (m_bTriggerAhead && times.hasStart) {
            // The frame at the trigger frame's start (or the first after it, when it was
            // dropped) is the trigger frame; the frames before it leave it still to come.
            if (times.start >= m_triggerStart - m_triggerSpan / 2) {
                m_nPostCounter = -1;
                m_bTriggerAhead = false;
            } else if (m_nPostCounter > -2) {
                m_nPostCounter = -2;
            }
        }
        ++m_nPostCounter;
        // Reaching or passing post: a trigger frame placed post or more frames back must
        // finish too.
        if (m_nPostCounter >= m_nPost) {
            m_nSaved = 0;
            m_bSaveMode = true;
        }
    }
    return entry;
}

int CReplayRing::NextToSave(SampleTimes* times)
{
    if (!m_bSaveMode || m_nSaved >= m_nCount)
        return -1;
    const int entry = m_nWrite;
    if (m_nSaved == 0)
        PlaceClip();
    if (times) {
        *times = SampleTimes();
        if (m_clipSpan > 0) {
            times->hasStart = times->hasStop = true;
            times->start = m_clipStart + LONGLONG(m_nSaved) * m_clipSpan;
            times->stop = times->start + m_clipSpan;
        }
    }
    char text[80];
    snprintf(text, sizeof text, "Save File %d, VBufferPtr %d\r\n", m_nSaved, entry);
    OutputDebugStringA(text);
    ++m_nSaved;
    m_nWrite = (m_nWrite + 1) % m_nCount;
    return entry;
}

void CReplayRing::PlaceClip()
{
    m_clipStart = m_clipSpan = 0;
    // The oldest entry with times sets the clip's start; entries before it (none but in a
    // ring that never filled) count back from it. The frame length is the connection's
    // time per frame: one stored frame's span may be far off, and every place of the clip
    // would be off with it. Without one, the oldest frame's span stands.
    for (int k = 0; k < m_nCount; ++k) {
        const Span& span = m_spans[(m_nWrite + k) % m_nCount];
        if (span.valid && span.stop > span.start) {
            m_clipSpan = m_frameSpan > 0 ? m_frameSpan : span.stop - span.start;
            m_clipStart = span.start - LONGLONG(k) * m_clipSpan;
            return;
        }
    }
}

bool CReplayRing::TakeFinish()
{
    if (!m_bSaveMode || m_nSaved < m_nCount || m_bFinishReported)
        return false;
    m_bFinishReported = true;
    return true;
}
