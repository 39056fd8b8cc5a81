// Stepped play: the stepping thread, the one-shot field timer, speeds, lock-step of the
// pair, the blend tick and the frame grabs.
#include "PlaybackGraph.h"
#include "playback_pair.h"
#include "step_timing.h"
#include "ShadowView.h"
#include "frame_blender.h"
#include <mmsystem.h>
#include <cmath>
#include <cstring>
#include <vector>

PlaybackPair g_pair;

PartnerRef::PartnerRef(int index) : m_graph(NULL)
{
    PairLock lock;
    if (index == 0 || index == 1) {
        m_graph = g_pair.table[(index + 1) % 2];
        if (m_graph)
            InterlockedIncrement(&m_graph->m_nUsers);
    }
}

PartnerRef::~PartnerRef()
{
    if (m_graph)
        InterlockedDecrement(&m_graph->m_nUsers);
}

IMPLEMENT_DYNCREATE(CDsVRStreamThread, CWinThread)

int CDsVRStreamThread::Run()
{
    while (!m_bStop) {
        m_pGraph->WaitForPlay();
        if (m_bStop)
            break;
        // A pass that fails is reported and the next one runs.
        RunReportingExceptions("Unhandled exception in playback thread.", [this] {
            if (m_pGraph->m_bBlendView)
                m_pGraph->BlendPlayTick();
            else
                m_pGraph->AdvanceField();
        });
    }
    return 0;
}

void CPlaybackGraph::WaitForPlay()
{
    // A stepped play under way has its play event set: the next tick's wait is the one
    // that matters, and asking the Wine server about this event would only cost a round trip.
    if (m_bSteppedPlayActive && !m_bBlendView)
        return;
    HANDLE handles[2] = {m_hPlayEvent, m_hStopEvent};
    WaitForMultipleObjects(2, handles, FALSE, INFINITE);
}

// ---------------------------------------------------------------------------------------
// Speeds and the timer

HRESULT CPlaybackGraph::SetSpeed(float speed)
{
    if (std::isnan(speed) || speed == 0.0f)
        return E_INVALIDARG;
    m_fSpeed = speed;
    return S_OK;
}

unsigned CPlaybackGraph::CurrentStepDelay() const { return StepDelayMs(m_fFieldPeriod, m_fSpeed); }

namespace {
void CALLBACK KeepAliveTick(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) {}

double NowMs()
{
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return double(c.QuadPart) * 1000.0 / double(f.QuadPart);
}
}

void CPlaybackGraph::StartTimer()
{
    if (!m_nKeepAliveTimerId) {
        UINT id = timeSetEvent(60000, 1000, KeepAliveTick, 0, TIME_PERIODIC | TIME_CALLBACK_FUNCTION);
        if (id && InterlockedCompareExchange(&m_nKeepAliveTimerId, LONG(id), 0) != 0)
            timeKillEvent(id);   // another thread made it first
    }
    KillTimer();
    InterlockedIncrement(&m_nTimersStarted);
    const unsigned delay = m_Pacer.NextDelay(NowMs(), StepPeriodMs(m_fFieldPeriod, m_fSpeed));
    m_nTimerId = timeSetEvent(delay, 5, (LPTIMECALLBACK)m_hTickEvent, 0,
                              TIME_ONESHOT | TIME_CALLBACK_EVENT_SET);
    if (!m_nTimerId)
        SetEvent(m_hTickEvent);   // no timer: the next tick must not wait forever
}

void CPlaybackGraph::KillTimer()
{
    if (m_nTimerId) {
        timeKillEvent(m_nTimerId);
        m_nTimerId = 0;
    }
}

// ---------------------------------------------------------------------------------------
// Play, lock-step

HRESULT CPlaybackGraph::PlayForward()
{
    CSingleLock lock(&m_StepLock, TRUE);
    {
        bool init;
        {
            PairLock pair;
            init = g_pair.locked && m_nLockOffset == 0;
        }
        if (init)
            InitLockStep();
    }
    m_nDirection = 1;
    m_bPlaying = TRUE;
    SetRealPlayMode(FALSE);
    // A play that starts steps at once (one under way keeps its timer); the tick event
    // resets itself as the stepping thread takes it.
    if (!m_bSteppedPlayActive)
        SetEvent(m_hTickEvent);
    // Active before the thread is woken: a follower that found its graph not yet
    // playing would skip the wait for the master's step and move on a stale position.
    m_bSteppedPlayActive = 1;
    m_nTickCount = 0;
    m_Pacer.Restart(NowMs());
    SetEvent(m_hPlayEvent);
    return S_OK;
}

HRESULT CPlaybackGraph::PlayBackward()
{
    CSingleLock lock(&m_StepLock, TRUE);
    {
        bool init;
        {
            PairLock pair;
            init = g_pair.locked && m_nLockOffset == 0;
        }
        if (init)
            InitLockStep();
    }
    m_nDirection = -1;
    m_bPlaying = TRUE;
    SetRealPlayMode(FALSE);
    // A play that starts steps at once (one under way keeps its timer); the tick event
    // resets itself as the stepping thread takes it.
    if (!m_bSteppedPlayActive)
        SetEvent(m_hTickEvent);
    // Active before the thread is woken: a follower that found its graph not yet
    // playing would skip the wait for the master's step and move on a stale position.
    m_bSteppedPlayActive = 1;
    m_nTickCount = 0;
    m_Pacer.Restart(NowMs());
    SetEvent(m_hPlayEvent);
    return S_OK;
}

BOOL CPlaybackGraph::SetLockOffset(int fields)
{
    CSingleLock lock(&m_StepLock, TRUE);
    m_nLockOffset = fields;
    return TRUE;
}

BOOL CPlaybackGraph::SetPlayLocked(BYTE on)
{
    CSingleLock lock(&m_StepLock, TRUE);
    PairLock pair;
    g_pair.locked = on;
    g_pair.initialised = 0;
    return TRUE;
}

BYTE CPlaybackGraph::IsPlayLocked()
{
    PairLock pair;
    return g_pair.locked;
}

void CPlaybackGraph::InitLockStep()
{
    {
        PairLock pair;
        if (g_pair.initialised)
            return;
    }
    // Positions are read before the pair's lock is taken: reading one takes a graph lock.
    int p = GetFieldPosition();
    PartnerRef other(m_nIndex);
    int o = 0, otherEnd = 0, otherPosition = 0;
    if (other) {
        o = other->m_nLockOffset;
        otherEnd = other->m_nTrimOut * 2 - o;
        otherPosition = other->GetFieldPosition();
    }
    PairLock pair;
    g_pair.master = m_nIndex;
    m_bAtEnd = 0;
    // The one event of the process: a follower waits for the master's first step.
    ResetEvent(g_pair.sharedEvent);
    const int ownEnd = m_nTrimOut * 2;
    if (!other) {
        g_pair.sharedEnd = 1 + ownEnd;
        g_pair.sharedPosition = p;
    } else {
        g_pair.sharedEnd = 1 + (ownEnd > otherEnd ? ownEnd : otherEnd);
        g_pair.sharedPosition = (p <= -o || ownEnd >= otherEnd) ? p : otherPosition - o;
    }
    g_pair.initialised = 1;
}

BYTE CPlaybackGraph::IsLockStepAtEnd()
{
    int master;
    {
        PairLock pair;
        master = g_pair.master;
    }
    if (master == m_nIndex)
        return m_bAtEnd;
    PartnerRef other(m_nIndex);
    // A master that has gone ends the play.
    return other ? other->m_bAtEnd : 1;
}

HRESULT CPlaybackGraph::AdvanceField()
{
    HANDLE tick[2] = {m_hTickEvent, m_hStopEvent};
    if (WaitForMultipleObjects(2, tick, FALSE, INFINITE) != WAIT_OBJECT_0)
        return S_OK;

    bool locked, initialised, master;
    {
        PairLock pair;
        locked = g_pair.locked, initialised = g_pair.initialised;
    }
    for (int look = 0; !initialised && locked && look < 30; ++look) {
        Sleep(30);
        PairLock pair;
        locked = g_pair.locked, initialised = g_pair.initialised;
    }
    {
        PairLock pair;
        master = g_pair.master == m_nIndex;
    }
    if (locked && !master && IsPlaying()) {
        HANDLE shared[2] = {g_pair.sharedEvent, m_hStopEvent};
        for (;;) {
            DWORD w = WaitForMultipleObjects(2, shared, FALSE, 5000);
            if (w != WAIT_TIMEOUT)
                break;
            Sleep(40);
            OutputDebugStringA("frame advance timed out\n");
            PairLock pair;
            if (!g_pair.locked || g_pair.master == m_nIndex || !IsPlaying() ||
                !g_pair.table[(m_nIndex + 1) % 2])
                break;
        }
        if (m_pStreamThread->m_bStop)
            return S_OK;
        ResetEvent(g_pair.sharedEvent);
    }

    bool done = false;
    {
        CSingleLock lock(&m_StepLock, TRUE);
        if (!m_bSteppedPlayActive)
            return S_OK;
        const int p = GetFieldPosition();
        if (m_bMergeContinuous && m_bShadowViewActive && m_pShadowView &&
            m_nTickCount % (m_nSkipFields + 1) == 0)
            m_pShadowView->Merge();
        ++m_nTickCount;
        const int first = m_nTrimIn * 2, last = m_nTrimOut * 2 + 1;
        {
            PairLock pair;
            locked = g_pair.locked;
            master = g_pair.master == m_nIndex;
        }
        if (!locked) {
            const int next = p + m_nDirection;
            done = m_nDirection > 0 ? p >= last : p <= first;
            if (!done) {
                if (m_bShadowViewActive && m_pShadowView)
                    m_pShadowView->SetPosition(next);
                MoveFields(m_nDirection);
                StartTimer();
            }
        } else {
            int shared;
            {
                PairLock pair;
                if (master) {
                    if (m_nDirection > 0) {
                        if (g_pair.sharedPosition >= g_pair.sharedEnd)
                            m_bAtEnd = 1;
                        else
                            ++g_pair.sharedPosition, m_bAtEnd = 0;
                    } else {
                        if (g_pair.sharedPosition > first)
                            --g_pair.sharedPosition, m_bAtEnd = 0;
                        else
                            m_bAtEnd = 1;
                    }
                }
                shared = g_pair.sharedPosition;
            }
            if ((master || shared >= -m_nLockOffset) && p >= first && p <= last) {
                int target = m_nLockOffset + shared;
                target = target < first ? first : target > last ? last : target;
                if (m_bShadowViewActive && m_pShadowView)
                    m_pShadowView->SetPosition(target);
                MoveFields(target - p);
            }
            done = IsLockStepAtEnd() != 0;
            if (!done)
                StartTimer();
            if (master)
                SetEvent(g_pair.sharedEvent);
        }
    }
    if (done) {
        Stop(true);
        Notify(100);
    }
    return S_OK;
}

// ---------------------------------------------------------------------------------------
// Shadow view hooks

void CPlaybackGraph::SetShadowViewActive(BYTE on)
{
    CSingleLock lock(&m_StepLock, TRUE);
    m_bShadowViewActive = on;
}

void CPlaybackGraph::SetShadowView(CShadowView* view)
{
    CSingleLock lock(&m_StepLock, TRUE);
    m_pShadowView = view;
}

void CPlaybackGraph::SetSkipFields(int fields)
{
    CSingleLock lock(&m_StepLock, TRUE);
    m_nSkipFields = fields < 0 ? 0 : fields;
}

void CPlaybackGraph::SetMergeContinuous(BYTE on)
{
    CSingleLock lock(&m_StepLock, TRUE);
    m_bMergeContinuous = on;
    m_nSkipFields = 0;
}

// ---------------------------------------------------------------------------------------
// Grabs

namespace {

HBITMAP TopDownDib(int width, int height, void** bits)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(NULL, &info, DIB_RGB_COLORS, bits, NULL, 0);
}

const DWORD kGrabWaitMs = 5000;

} // namespace

int CPlaybackGraph::GrabFrame(CDC* target, const RECT*)
{
    if (!m_pDeinterlace || !IsPinConnected(m_pDeinterlacer, NULL, PINDIR_INPUT))
        return 1;
    HANDLE done = NULL;
    m_pDeinterlace->RequestSnapshot(target, &done);
    if (m_bBlendView)
        MoveFields(0);
    else
        StepFields(0);
    if (!done || WaitForSingleObject(done, kGrabWaitMs) != WAIT_OBJECT_0)
        m_pDeinterlace->RequestSnapshot(NULL, NULL);   // the target is not written later
    return 1;
}

int CPlaybackGraph::GrabFrameToDC(CDC* target, const RECT*)
{
    if (!m_pDeinterlace || !IsPinConnected(m_pDeinterlacer, NULL, PINDIR_INPUT))
        return 1;
    HANDLE done = NULL;
    m_pDeinterlace->RequestSnapshot(target, &done);
    if (m_bBlendView)
        MoveFields(0);
    else
        StepFrames(0);
    if (!done || WaitForSingleObject(done, kGrabWaitMs) != WAIT_OBJECT_0)
        m_pDeinterlace->RequestSnapshot(NULL, NULL);
    return 1;
}

BOOL CPlaybackGraph::GrabToBuffer(int, void* pixels)
{
    void* bits = NULL;
    HBITMAP dib = TopDownDib(m_nFrameWidth, m_nFrameHeight, &bits);
    if (!dib)
        return FALSE;
    HGDIOBJ old = ::SelectObject(m_MemDC.m_hDC, dib);
    GrabFrameToDC(&m_MemDC, NULL);
    GdiFlush();
    memcpy(pixels, bits, size_t(m_nFrameWidth) * m_nFrameHeight * 4);
    ::SelectObject(m_MemDC.m_hDC, old);
    ::DeleteObject(dib);
    return TRUE;
}

// ---------------------------------------------------------------------------------------
// Blend view

void CPlaybackGraph::BlendWithOtherClip(CDC* output)
{
    m_pBlendOutputDC = output;
    if (!output)
        return;
    if (m_hBlendOutput) {
        SetOutputDC(NULL, 0);
        ::SelectObject(output->m_hDC, m_hBlendOld);
        ::DeleteObject(m_hBlendOutput);
        m_hBlendOutput = NULL;
    }
    const int w = m_nFrameWidth, h = m_nFrameHeight;
    void* outBits = NULL;
    m_hBlendOutput = TopDownDib(w, h, &outBits);
    if (!m_hBlendOutput)
        return;
    m_hBlendOld = ::SelectObject(output->m_hDC, m_hBlendOutput);
    ShowVideoWindow(FALSE);

    PartnerRef other(m_nIndex);
    const int ow = other ? other->m_nFrameWidth : w, oh = other ? other->m_nFrameHeight : h;
    std::vector<uint32_t> a(size_t(w) * h), b(size_t(ow) * oh);
    GrabToBuffer(GetFieldPosition(), a.data());
    if (other)
        other->GrabToBuffer(other->GetFieldPosition(), b.data());
    else
        b = a;
    CFrameBlender blender;
    blender.m_pDest = static_cast<uint32_t*>(outBits);
    blender.m_nDestStride = w;
    blender.m_pSource = a.data();
    blender.m_nSourceStride = w;
    blender.m_nSourceWidth = w, blender.m_nSourceHeight = h;
    blender.m_pSourceB = b.data();
    // The other clip is read with its own extent, never with this clip's.
    blender.m_nSourceBStride = ow;
    blender.m_nSourceBWidth = ow, blender.m_nSourceBHeight = oh;
    blender.m_nFrameX = 0, blender.m_nFrameY = 0, blender.m_nFrameWidth = w, blender.m_nFrameHeight = h;
    blender.SetAlphaMode(false);
    blender.SetUseConstantAlpha(true);
    blender.SetConstantAlpha(BlendLevel(m_nBlendPosition));
    blender.Blend2(0, 0, w, h, 0, 0);
    GdiFlush();

    SetOutputDC(output, 0);
    SeekNotBeforeTrimIn(GetFieldPosition() / 2);
    ShowVideoWindow(TRUE);
}

void CPlaybackGraph::BlendPlayTick()
{
    ShowVideoWindow(FALSE);
    const int frame = GetFieldPosition() / 2;
    if ((frame == m_nTrimOut && m_nDirection > 0) || (frame == m_nTrimIn && m_nDirection < 0)) {
        Stop(true);
        Notify(100);
        PartnerRef other(m_nIndex);
        if (other)
            other->Notify(100);
        return;
    }
    {
        PartnerRef other(m_nIndex);
        if (other)
            other->MoveFields(m_nDirection);
    }
    MoveFields(m_nDirection);
    BlendWithOtherClip(m_pBlendOutputDC);
    ShowVideoWindow(TRUE);
}

HRESULT CPlaybackGraph::EndBlend()
{
    SetOutputDC(NULL, 0);
    if (m_hBlendOutput) {
        if (m_pBlendOutputDC)
            ::SelectObject(m_pBlendOutputDC->m_hDC, m_hBlendOld);
        ::DeleteObject(m_hBlendOutput);
        m_hBlendOutput = NULL;
    }
    HRESULT hr = SeekFrame(GetFieldPosition() / 2, false, false);
    m_bBlendView = 0;
    return hr;
}
