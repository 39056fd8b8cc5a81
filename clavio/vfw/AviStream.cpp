#include "AviStream.h"
#include "IcDraw.h"
#include "VideoEngine.h"
#include <algorithm>
#include <cmath>
#include <mmsystem.h>

namespace {

const double kFieldPeriod = 0.01668335;
const int kRefWidth = 608, kRefHeight = 456;
// The stream format the player keeps (a bitmap header with a palette at most).
const LONG kMostFormatBytes = 1024;
const DWORD kBackground = 0xA8A8A8;
// How long a tick waits for the locked players and for its timer before going on.
const DWORD kWaitMs = 500;
const int kMostLocked = 4;

LONG g_instances = 0;

// Lock-step of the players: at most four, each removed when destroyed.
struct LockStep {
    CCriticalSection lock;
    CAviStream* players[kMostLocked] = {};
    HANDLE events[kMostLocked] = {};
    int count = 0;
    BOOL locked = FALSE;
    long field = 0;       // the shared position, moved by the first player that plays
    long first = 0, last = 0;
    BOOL ended = FALSE;
};
LockStep g_lockStep;

} // namespace

CAviStream::CAviStream()
    : m_pFile(NULL), m_pStream(NULL), m_info(), m_lStreamFirst(0), m_lStreamLast(-1), m_lFirst(0),
      m_lLast(-1), m_lFrame(0), m_nField(0), m_bFieldSteps(TRUE), m_hOwner(NULL),
      m_nIndex(InterlockedIncrement(&g_instances)), m_fRate(1.0f), m_nState(StateStopped),
      m_bRealPlay(FALSE), m_hThread(NULL), m_nLockOffset(0), m_bRegistered(FALSE)
{
    m_hPlayEvent = CreateEventA(NULL, TRUE, TRUE, NULL);
    m_hRunEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    m_hTickEvent = CreateEventA(NULL, FALSE, FALSE, NULL);
    m_hStopEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    TIMECAPS caps = {};
    if (timeGetDevCaps(&caps, sizeof caps) == TIMERR_NOERROR)
        timeBeginPeriod(caps.wPeriodMin);
    {
        CSingleLock lock(&g_lockStep.lock, TRUE);
        if (g_lockStep.count < kMostLocked) {
            g_lockStep.players[g_lockStep.count] = this;
            g_lockStep.events[g_lockStep.count++] = m_hPlayEvent;
            m_bRegistered = TRUE;
        }
    }
    m_hThread = CreateThread(NULL, 0, ThreadMain, this, 0, NULL);
}

void CAviStream::EndThread()
{
    SetEvent(m_hStopEvent);
    if (m_hThread) {
        WaitForSingleObject(m_hThread, INFINITE);
        CloseHandle(m_hThread);
        m_hThread = NULL;
    }
}

CAviStream::~CAviStream()
{
    EndThread();
    {
        CSingleLock lock(&g_lockStep.lock, TRUE);
        for (int i = 0; i < g_lockStep.count; ++i) {
            if (g_lockStep.players[i] != this)
                continue;
            for (int j = i + 1; j < g_lockStep.count; ++j) {
                g_lockStep.players[j - 1] = g_lockStep.players[j];
                g_lockStep.events[j - 1] = g_lockStep.events[j];
            }
            --g_lockStep.count;
            break;
        }
    }
    TIMECAPS caps = {};
    if (timeGetDevCaps(&caps, sizeof caps) == TIMERR_NOERROR)
        timeEndPeriod(caps.wPeriodMin);
    CloseHandle(m_hPlayEvent);
    CloseHandle(m_hRunEvent);
    CloseHandle(m_hTickEvent);
    CloseHandle(m_hStopEvent);
    CAviStream::Close();
}

BOOL CAviStream::Open(LPCTSTR path)
{
    Close();
    CSingleLock lock(&m_lock, TRUE);
    if (!m_pFile)
        m_pFile = new CAviFile;
    if (!m_pFile->Open(path, OF_SHARE_DENY_WRITE))
        return FALSE;
    PAVISTREAM stream = m_pFile->GetVideoStream();
    LONG format = 0;
    AVISTREAMINFOA info = {};
    if (!stream || AVIStreamInfoA(stream, &info, sizeof info) != AVIERR_OK ||
        AVIStreamReadFormat(stream, 0, NULL, &format) != AVIERR_OK || format > kMostFormatBytes ||
        AVIStreamLength(stream) <= 0) {
        if (stream)
            AVIStreamRelease(stream);
        m_pFile->Close();
        return FALSE;
    }
    m_pStream = stream;
    m_info = info;
    m_lStreamFirst = m_lFirst = AVIStreamStart(stream);
    m_lStreamLast = m_lLast = AVIStreamEnd(stream) - 1;
    m_lFrame = m_lFirst;
    m_nField = 0;
    return TRUE;
}

void CAviStream::Close()
{
    Stop();
    CSingleLock lock(&m_lock, TRUE);
    if (m_pStream)
        AVIStreamRelease(m_pStream);
    m_pStream = NULL;
    delete m_pFile;
    m_pFile = NULL;
    m_lStreamLast = m_lLast = -1;
}

void CAviStream::StartPlay(int direction, BOOL real)
{
    CSingleLock lock(&m_lock, TRUE);
    if (!m_pStream)
        return;
    m_fRate = direction * std::fabs(m_fRate);
    m_bRealPlay = real;
    m_bFieldSteps = !real;
    m_nState = StatePlaying;
    {
        CSingleLock shared(&g_lockStep.lock, TRUE);
        g_lockStep.ended = FALSE;
    }
    SetEvent(m_hRunEvent);
}

void CAviStream::Pause()
{
    CSingleLock lock(&m_lock, TRUE);
    m_nState = StatePaused;
    ResetEvent(m_hRunEvent);
}

void CAviStream::Stop()
{
    CSingleLock lock(&m_lock, TRUE);
    m_nState = StateStopped;
    ResetEvent(m_hRunEvent);
}

void CAviStream::SeekFrame(long frame)
{
    CSingleLock lock(&m_lock, TRUE);
    m_lFrame = std::max(m_lFirst, std::min(frame, m_lLast));
    m_nField = 0;
    m_bFieldSteps = FALSE;
}

void CAviStream::SeekField(long field)
{
    CSingleLock lock(&m_lock, TRUE);
    field = std::max(2 * m_lFirst, std::min(field, 2 * m_lLast + 1));
    m_lFrame = field / 2;
    m_nField = int(field % 2);
    m_bFieldSteps = TRUE;
}

void CAviStream::StepFrames(long frames)
{
    CSingleLock lock(&m_lock, TRUE);
    m_lFrame = std::max(m_lFirst, std::min(m_lFrame + frames, m_lLast));
    m_bFieldSteps = FALSE;
}

void CAviStream::StepFields(long fields)
{
    SeekField(GetFieldPosition() + fields);
}

long CAviStream::GetFieldPosition()
{
    CSingleLock lock(&m_lock, TRUE);
    return 2 * m_lFrame + m_nField;
}

void CAviStream::SetRange(long first, long last)
{
    CSingleLock lock(&m_lock, TRUE);
    m_lFirst = std::max(first, m_lStreamFirst);
    m_lLast = std::min(last, m_lStreamLast);
    if (m_lLast < m_lFirst)
        m_lLast = m_lFirst;
    m_lFrame = std::max(m_lFirst, std::min(m_lFrame, m_lLast));
}

BOOL CAviStream::SetRate(float rate)
{
    if (std::isnan(rate) || rate == 0.0f)
        return FALSE;
    CSingleLock lock(&m_lock, TRUE);
    m_fRate = rate;
    return TRUE;
}

void CAviStream::SetLocked(BOOL locked)
{
    // A player's lock is always taken before the shared one, never after it.
    CAviStream* leader = NULL;
    {
        CSingleLock lock(&g_lockStep.lock, TRUE);
        leader = g_lockStep.count > 0 ? g_lockStep.players[0] : NULL;
    }
    long field = 0, first = 0, last = 0;
    if (leader) {
        CSingleLock own(&leader->m_lock, TRUE);
        field = 2 * leader->m_lFrame + leader->m_nField - leader->m_nLockOffset;
        first = 2 * leader->m_lFirst;
        last = 2 * leader->m_lLast + 1;
    }
    CSingleLock lock(&g_lockStep.lock, TRUE);
    g_lockStep.locked = locked;
    g_lockStep.ended = FALSE;
    if (locked && leader) {
        g_lockStep.field = field;
        g_lockStep.first = first;
        g_lockStep.last = last;
    }
}

BOOL CAviStream::IsLocked()
{
    CSingleLock lock(&g_lockStep.lock, TRUE);
    return g_lockStep.locked;
}

DWORD WINAPI CAviStream::ThreadMain(void* self)
{
    static_cast<CAviStream*>(self)->PlayLoop();
    return 0;
}

void CAviStream::PlayLoop()
{
    HANDLE wake[2] = {m_hStopEvent, m_hRunEvent};
    while (WaitForMultipleObjects(2, wake, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
        const int codec = m_bRealPlay ? PlayThroughCodec() : 0;
        if (codec == 2)
            continue;
        if (codec == 1 || !Tick()) {
            // Told once the last field is drawn; posted, so that a window waiting on this
            // player never blocks the thread.
            if (m_hOwner)
                PostMessageA(m_hOwner, WM_VIDEO_NOTIFY, 100, 0);
        }
    }
}

BOOL CAviStream::Tick()
{
    float rate;
    BOOL locked;
    {
        CSingleLock lock(&m_lock, TRUE);
        if (m_nState != StatePlaying)
            return TRUE;
        rate = m_fRate;
    }
    {
        // Locked play waits for every locked player to have drawn its last field.
        HANDLE events[kMostLocked];
        int count = 0;
        {
            CSingleLock shared(&g_lockStep.lock, TRUE);
            locked = g_lockStep.locked;
            if (locked)
                for (int i = 0; i < g_lockStep.count; ++i)
                    events[count++] = g_lockStep.events[i];
        }
        if (count > 0)
            WaitForMultipleObjects(count, events, TRUE, kWaitMs);
        else
            WaitForSingleObject(m_hPlayEvent, kWaitMs);
    }
    // Never below 1 ms, which the timer would refuse.
    UINT delay = UINT(kFieldPeriod * 1000.0 / std::fabs(rate));
    if (m_bRealPlay)
        delay = UINT(kFieldPeriod * 2000.0);
    if (delay < 1)
        delay = 1;
    ResetEvent(m_hPlayEvent);
    if (!WaitTick(delay)) {
        SetEvent(m_hPlayEvent);
        return TRUE;
    }
    const BOOL more = Advance();
    DrawCurrent();
    SetEvent(m_hPlayEvent);
    if (!more) {
        CSingleLock lock(&m_lock, TRUE);
        m_nState = StateStopped;
        ResetEvent(m_hRunEvent);
    }
    return more;
}

BOOL CAviStream::WaitTick(UINT delay)
{
    MMRESULT timer = timeSetEvent(delay, 5, (LPTIMECALLBACK)m_hTickEvent, 0,
                                  TIME_ONESHOT | TIME_CALLBACK_EVENT_SET);
    HANDLE wake[2] = {m_hStopEvent, m_hTickEvent};
    DWORD woke = WaitForMultipleObjects(2, wake, FALSE, delay + kWaitMs);
    if (timer)
        timeKillEvent(timer);   // before its event can be set after this tick
    return woke != WAIT_OBJECT_0;
}

BOOL CAviStream::Advance()
{
    CSingleLock lock(&m_lock, TRUE);
    const int step = m_fRate < 0 ? -1 : 1;
    {
        CSingleLock shared(&g_lockStep.lock, TRUE);
        if (g_lockStep.locked && m_bRegistered) {
            CAviStream* leader = NULL;
            for (int i = 0; i < g_lockStep.count && !leader; ++i)
                if (g_lockStep.players[i]->m_nState == StatePlaying)
                    leader = g_lockStep.players[i];
            if (leader == this && !g_lockStep.ended) {
                long next = g_lockStep.field + step * (m_bFieldSteps ? 1 : 2);
                if (next < g_lockStep.first || next > g_lockStep.last)
                    g_lockStep.ended = TRUE;
                else
                    g_lockStep.field = next;
            }
            long field = g_lockStep.field + m_nLockOffset;
            field = std::max(2 * m_lFirst, std::min(field, 2 * m_lLast + 1));
            m_lFrame = field / 2;
            m_nField = int(field % 2);
            return !g_lockStep.ended;
        }
    }
    long field = 2 * m_lFrame + m_nField + step * (m_bFieldSteps ? 1 : 2);
    if (field < 2 * m_lFirst || field > 2 * m_lLast + 1)
        return FALSE;   // stays on the first or last field
    m_lFrame = field / 2;
    m_nField = int(field % 2);
    return TRUE;
}

//////////////////////////////////////////////////////////////////////////////////////////
// Video

CAviVideoStream::CAviVideoStream()
    : m_pGetFrame(NULL), m_nWidth(0), m_nHeight(0), m_lFetched(-1), m_hFrameDC(NULL),
      m_hFieldDC(NULL), m_hResultDC(NULL), m_oldFrame(NULL), m_oldField(NULL), m_oldResult(NULL),
      m_fCrop{0, 0, 1, 1}, m_fMask{0, 0, 1, 1}, m_bMirror(FALSE), m_pOverlay(NULL),
      m_bOverlay(FALSE), m_dwKey(kBackground), m_bSuccFrames(FALSE)
{
    m_hFrameDC = CreateCompatibleDC(NULL);
    m_hFieldDC = CreateCompatibleDC(NULL);
    m_hResultDC = CreateCompatibleDC(NULL);
}

CAviVideoStream::~CAviVideoStream()
{
    // The drawing thread is ended first: the bitmaps it draws with go below.
    EndThread();
    Close();
    DeleteDC(m_hFrameDC);
    DeleteDC(m_hFieldDC);
    DeleteDC(m_hResultDC);
}

BOOL CAviVideoStream::Open(LPCTSTR path)
{
    if (!CAviStream::Open(path))
        return FALSE;
    CSingleLock lock(&m_lock, TRUE);
    m_nWidth = m_info.rcFrame.right - m_info.rcFrame.left;
    m_nHeight = m_info.rcFrame.bottom - m_info.rcFrame.top;
    m_pGetFrame = AVIStreamGetFrameOpen(m_pStream, NULL);
    auto select = [](HDC dc, CBitmapDIB& bitmap, HGDIOBJ& old) {
        if (old)
            SelectObject(dc, old);
        old = SelectObject(dc, bitmap.GetSafeHandle());
    };
    if (m_nWidth <= 0 || m_nHeight <= 0 || !m_frame.Create(m_nWidth, m_nHeight, 32) ||
        !m_field.Create(kRefWidth, kRefHeight, 32) || !m_result.Create(kRefWidth, kRefHeight, 32)) {
        lock.Unlock();
        Close();
        return FALSE;
    }
    select(m_hFrameDC, m_frame, m_oldFrame);
    select(m_hFieldDC, m_field, m_oldField);
    select(m_hResultDC, m_result, m_oldResult);
    m_field.Fill(0);
    m_result.Fill(0);
    m_lFetched = -1;
    return TRUE;
}

void CAviVideoStream::Close()
{
    CAviStream::Stop();
    CSingleLock lock(&m_lock, TRUE);
    if (m_pGetFrame)
        AVIStreamGetFrameClose(m_pGetFrame);
    m_pGetFrame = NULL;
    m_lFetched = -1;
    lock.Unlock();
    CAviStream::Close();
}

void CAviVideoStream::SetCrop(float x, float y, float width, float height)
{
    CSingleLock lock(&m_lock, TRUE);
    CVideoEngine::ClampRect(&x, &y, &width, &height);
    m_fCrop[0] = x, m_fCrop[1] = y, m_fCrop[2] = width, m_fCrop[3] = height;
}

void CAviVideoStream::SetMask(float x, float y, float width, float height)
{
    CSingleLock lock(&m_lock, TRUE);
    CVideoEngine::ClampRect(&x, &y, &width, &height);
    m_fMask[0] = x, m_fMask[1] = y, m_fMask[2] = width, m_fMask[3] = height;
}

void CAviVideoStream::SetOverlay(const CBitmapDIB* overlay, BOOL enable)
{
    CSingleLock lock(&m_lock, TRUE);
    m_pOverlay = overlay;
    m_bOverlay = enable;
}

void CAviVideoStream::SetSuccFramesSource(const long* frames, int count)
{
    CSingleLock lock(&m_lock, TRUE);
    m_succFrames.clear();
    if (!frames || count <= 0)
        return;   // a null list with a count is refused
    m_succFrames.assign(frames, frames + std::min(count, 8));
}

// The frame's picture, top line first, into the frame bitmap (only when the frame changed).
BOOL CAviVideoStream::Fetch(long frame)
{
    if (frame == m_lFetched)
        return TRUE;
    m_lFetched = -1;
    const auto* header = m_pGetFrame
        ? static_cast<const BITMAPINFOHEADER*>(AVIStreamGetFrame(m_pGetFrame, frame)) : NULL;
    if (!header || header->biWidth != m_nWidth || std::abs(header->biHeight) != m_nHeight ||
        (header->biBitCount != 32 && header->biBitCount != 24) || header->biCompression != BI_RGB)
        return FALSE;
    const BYTE* bits = reinterpret_cast<const BYTE*>(header) + header->biSize +
                       header->biClrUsed * sizeof(RGBQUAD);
    const int bpp = header->biBitCount / 8;
    const size_t stride = (size_t(m_nWidth) * bpp + 3) & ~size_t(3);
    for (int y = 0; y < m_nHeight; ++y) {
        const BYTE* row = bits + stride * (header->biHeight > 0 ? m_nHeight - 1 - y : y);
        DWORD* to = m_frame.m_pBits + size_t(y) * m_nWidth;
        for (int x = 0; x < m_nWidth; ++x, row += bpp)
            to[x] = row[0] | (row[1] << 8) | (row[2] << 16);
    }
    GdiFlush();
    m_lFetched = frame;
    return TRUE;
}

// The current field, cropped, into width x height at (x, y) of the target.
void CAviVideoStream::DrawFieldInto(HDC target, int x, int y, int width, int height, BOOL mirror)
{
    SetStretchBltMode(target, COLORONCOLOR);
    const int cropX = int(kRefWidth * m_fCrop[0] + 0.001), cropY = int(kRefHeight * m_fCrop[1] + 0.001);
    const int cropW = int(kRefWidth * m_fCrop[2] + 0.001), cropH = int(kRefHeight * m_fCrop[3] + 0.001);
    if (!m_bFieldSteps) {
        // A whole frame: the crop's share of it.
        const double sx = double(m_nWidth) / kRefWidth, sy = double(m_nHeight) / kRefHeight;
        StretchBlt(target, mirror ? x + width - 1 : x, y, mirror ? -width : width, height, m_hFrameDC,
                   int(cropX * sx), int(cropY * sy), int(cropW * sx), int(cropH * sy), SRCCOPY);
        return;
    }
    // The field's lines, each doubled, clipped to the reference picture.
    m_field.CopyField(m_frame.m_pBits, 0, 0, std::min(m_nWidth, kRefWidth), m_nHeight, m_nWidth,
                      0, 0, m_nField);
    GdiFlush();
    StretchBlt(target, mirror ? x + width - 1 : x, y, mirror ? -width : width, height, m_hFieldDC,
               cropX, cropY, cropW, cropH, SRCCOPY);
}

BOOL CAviVideoStream::Draw(HDC dc, int x, int y)
{
    CSingleLock lock(&m_lock, TRUE);
    if (!dc || !m_pStream)
        return FALSE;
    const int maskX = int(kRefWidth * m_fMask[0] + 0.001), maskY = int(kRefHeight * m_fMask[1] + 0.001);
    const int maskW = int(kRefWidth * m_fMask[2] + 0.001), maskH = int(kRefHeight * m_fMask[3] + 0.001);
    if (m_bSuccFrames && !m_succFrames.empty()) {
        DrawGrid(dc, x, y);
        return TRUE;
    }
    if (!Fetch(m_lFrame)) {
        RECT area = {x + maskX, y + maskY, x + maskX + maskW, y + maskY + maskH};
        FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
        return FALSE;
    }
    if (m_bFieldSteps && !m_bMirror && !m_bOverlay) {
        // Line doubling straight into the target: each field line as a strip two lines high.
        SetStretchBltMode(dc, COLORONCOLOR);
        for (int line = m_nField; line < m_nHeight; line += 2)
            StretchBlt(dc, x, y + line - m_nField, m_nWidth, 2, m_hFrameDC, 0, line, m_nWidth, 1, SRCCOPY);
        return TRUE;
    }
    m_result.Fill(0);
    DrawFieldInto(m_hResultDC, 0, 0, maskW, maskH, m_bMirror);
    GdiFlush();
    if (m_bOverlay && m_pOverlay)
        m_result.CopyKeyed(m_pOverlay, m_dwKey, 0xFFFFFF, 0, 0, kRefWidth - 1, kRefHeight - 1);
    GdiFlush();
    BitBlt(dc, x + maskX, y + maskY, maskW, maskH, m_hResultDC, 0, 0, SRCCOPY);
    return TRUE;
}

// Up to eight frames in a 4 x 2 grid of 152 x 228 cells, each the frame's field at half
// size; mirrored cells are drawn from the cell's right edge.
void CAviVideoStream::DrawGrid(HDC dc, int x, int y)
{
    const long frame = m_lFrame;
    const BOOL fieldSteps = m_bFieldSteps;
    m_bFieldSteps = TRUE;
    m_result.Fill(0);
    for (size_t i = 0; i < m_succFrames.size(); ++i) {
        const int cellX = int(i % 4) * (kRefWidth / 4), cellY = int(i / 4) * (kRefHeight / 2);
        long f = std::max(m_lStreamFirst, std::min(m_succFrames[i], m_lStreamLast));
        if (!Fetch(f))
            continue;
        DrawFieldInto(m_hResultDC, cellX, cellY, kRefWidth / 4, kRefHeight / 2, m_bMirror);
    }
    GdiFlush();
    m_field.CopyFromBuffer(m_result.m_pBits, 0, 0, kRefWidth, kRefHeight, kRefWidth, 0, 0);
    BitBlt(dc, x, y, kRefWidth, kRefHeight, m_hResultDC, 0, 0, SRCCOPY);
    m_bFieldSteps = fieldSteps;
    m_lFrame = frame;
}

int CAviVideoStream::PlayThroughCodec()
{
    const HWND owner = m_hOwner;
    PAVISTREAM stream = NULL;
    DWORD handler = 0;
    long frame = 0, first = 0, last = 0;
    int direction = 1;
    {
        CSingleLock lock(&m_lock, TRUE);
        if (!m_pStream || !owner)
            return 0;
        stream = m_pStream;
        AVIStreamAddRef(stream);
        handler = m_info.fccHandler;
        frame = m_lFrame, first = m_lFirst, last = m_lLast;
        direction = GetRate() < 0 ? -1 : 1;
    }
    CIcDraw draw;
    const BOOL draws = draw.Open(handler, stream, owner);
    AVIStreamRelease(stream);
    if (!draws)
        return 0;
    // One whole frame per tick of two field periods, the codec fed ahead of what it shows.
    draw.Start(frame, direction, first, last);
    int result = 2;
    while (IsPlaying() && WaitTick(UINT(kFieldPeriod * 2000.0))) {
        if (!IsPlaying())
            break;
        const long shown = draw.GetFrame();
        draw.DrawNext();
        {
            CSingleLock lock(&m_lock, TRUE);
            m_lFrame = shown;
            m_nField = 0;
        }
        if (direction > 0 ? shown >= last : shown <= first) {
            result = 1;
            break;
        }
    }
    draw.Stop();
    if (result == 1)
        Stop();
    return result;
}

void CAviVideoStream::DrawCurrent()
{
    HWND owner = m_hOwner;
    if (!owner)
        return;
    HDC dc = GetDC(owner);
    Draw(dc, 0, 0);
    ReleaseDC(owner, dc);
}
