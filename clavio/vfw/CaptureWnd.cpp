#include "CaptureWnd.h"
#include "AviFile.h"
#include "VideoEngine.h"
#include "level_scan.h"
#include <afxctl.h>
#include <algorithm>

namespace {

const int kWidth = 608, kHeight = 456;
const int kDrivers = 10;
// Milliseconds per sound sample at 11025 samples a second.
const double kSampleMs = 0.09070294784580499;

// The capture library's callbacks reach the one capture window through this pointer.
CCaptureWnd* g_capture = NULL;

LRESULT CALLBACK VideoCallback(HWND, LPVIDEOHDR header)
{
    return g_capture ? g_capture->OnVideoFrame(header) : TRUE;
}
LRESULT CALLBACK WaveCallback(HWND, LPWAVEHDR header)
{
    return g_capture ? g_capture->OnWaveBuffer(header) : TRUE;
}
LRESULT CALLBACK StatusCallback(HWND, int id, LPCSTR text)
{
    return g_capture ? g_capture->OnStatus(id, text) : TRUE;
}
LRESULT CALLBACK ErrorCallback(HWND, int id, LPCSTR text)
{
    return g_capture ? g_capture->OnError(id, text) : TRUE;
}
LRESULT CALLBACK YieldCallback(HWND)
{
    return g_capture ? g_capture->OnYield() : TRUE;
}

} // namespace

BEGIN_MESSAGE_MAP(CCaptureWnd, CWnd)
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CCaptureWnd::CCaptureWnd()
    : m_hWndCap(NULL), m_pOwner(NULL), m_hNotify(NULL), m_ring(60), m_dwBufferSize(0), m_nWrite(0),
      m_bWrapped(FALSE), m_nMode(0), m_fFrameRate(29.97f), m_nPre(29), m_nPost(30),
      m_bTriggered(FALSE), m_bTold(FALSE), m_bStop(FALSE), m_bSaved(FALSE), m_bHaveTimeBase(FALSE),
      m_bLockFailed(FALSE), m_nPostCount(0), m_nParity(0), m_dwTimeBase(0), m_nLevel(1000),
      m_dwKey(0xA8A8A8), m_bKeyTaken(FALSE), m_nDriver(0), m_bConnected(FALSE), m_bRecording(FALSE),
      m_lCaptured(0), m_lDropped(0)
{
    g_capture = this;
}

CCaptureWnd::~CCaptureWnd()
{
    if (m_hWndCap) {
        Send(WM_CAP_DRIVER_DISCONNECT);
        ::DestroyWindow(m_hWndCap);
    }
    if (GetSafeHwnd())
        DestroyWindow();
    for (Entry& e : m_ring)
        if (!e.data.empty())
            VirtualUnlock(e.data.data(), e.data.size());
    if (g_capture == this)
        g_capture = NULL;
}

LRESULT CCaptureWnd::Send(UINT message, WPARAM wParam, LPARAM lParam)
{
    return m_hWndCap ? ::SendMessageA(m_hWndCap, message, wParam, lParam) : 0;
}

void CCaptureWnd::Notify(WPARAM code)
{
    if (m_hNotify)
        ::PostMessageA(m_hNotify, WM_VIDEO_NOTIFY, code, 0);
}

BOOL CCaptureWnd::Create(CWnd* parent)
{
    if (!parent || !CreateEx(0, AfxRegisterWndClass(0), "Cap Wnd", WS_CHILD, 0, 0, kWidth, kHeight,
                             parent->GetSafeHwnd(), NULL))
        return FALSE;
    m_hWndCap = capCreateCaptureWindow("Cap Wnd", WS_CHILD, 0, 0, kWidth, kHeight, m_hWnd, 0);
    return FindDriver() && Connect();
}

BOOL CCaptureWnd::FindDriver()
{
    for (int i = 0; i < kDrivers; ++i) {
        if (Send(WM_CAP_DRIVER_CONNECT, i)) {
            m_nDriver = i;
            Send(WM_CAP_DRIVER_DISCONNECT);
            return TRUE;
        }
    }
    m_nDriver = 0;
    return FALSE;
}

BOOL CCaptureWnd::Connect()
{
    m_bConnected = Send(WM_CAP_DRIVER_CONNECT, m_nDriver) != 0;
    if (m_bConnected) {
        const LRESULT bytes = Send(WM_CAP_GET_VIDEOFORMAT, 0, 0);
        if (bytes >= LRESULT(sizeof(BITMAPINFOHEADER))) {
            std::vector<BYTE> format(bytes);
            Send(WM_CAP_GET_VIDEOFORMAT, format.size(), (LPARAM)format.data());
            SetVideoFormat(reinterpret_cast<const BITMAPINFO*>(format.data()), format.size());
        }
    }
    return m_bConnected;
}

void CCaptureWnd::Disconnect()
{
    Send(WM_CAP_DRIVER_DISCONNECT);
    m_bConnected = FALSE;
}

BOOL CCaptureWnd::SetLive(BOOL live)
{
    if (m_bRecording || !m_hWndCap)
        return FALSE;
    Send(WM_CAP_SET_PREVIEW, live);
    const int show = live ? SW_SHOW : SW_HIDE;
    ::ShowWindow(m_hWndCap, show);
    ShowWindow(show);
    if (live && !m_bKeyTaken && GetParent()) {
        CDC* dc = GetParent()->GetDC();
        const COLORREF pixel = dc ? ::GetPixel(dc->m_hDC, 100, 100) : CLR_INVALID;
        if (dc)
            GetParent()->ReleaseDC(dc);
        m_dwKey = pixel == CLR_INVALID ? 0xA8A8A8 : pixel;
        m_bKeyTaken = TRUE;
    }
    return TRUE;
}

void CCaptureWnd::ShowDisplayDlg() { Send(WM_CAP_DLG_VIDEODISPLAY); }
void CCaptureWnd::ShowFormatDlg() { Send(WM_CAP_DLG_VIDEOFORMAT); }
void CCaptureWnd::ShowSourceDlg() { Send(WM_CAP_DLG_VIDEOSOURCE); }

void CCaptureWnd::SetupSequence()
{
    CAPTUREPARMS parms = {};
    Send(WM_CAP_GET_SEQUENCE_SETUP, sizeof parms, (LPARAM)&parms);
    parms.dwRequestMicroSecPerFrame = DWORD(1000000.0 / m_fFrameRate);
    parms.fYield = TRUE;
    parms.vKeyAbort = 0;
    parms.fAbortLeftMouse = FALSE;
    parms.fAbortRightMouse = FALSE;
    parms.dwAudioBufferSize = 720;
    Send(WM_CAP_SET_SEQUENCE_SETUP, sizeof parms, (LPARAM)&parms);
    WAVEFORMATEX sound = {WAVE_FORMAT_PCM, 1, 11025, 22050, 2, 16, 0};
    Send(WM_CAP_SET_AUDIOFORMAT, sizeof sound, (LPARAM)&sound);
    Send(WM_CAP_SET_CALLBACK_YIELD, 0, (LPARAM)YieldCallback);
    Send(WM_CAP_SET_CALLBACK_STATUSA, 0, (LPARAM)StatusCallback);
    Send(WM_CAP_SET_CALLBACK_ERRORA, 0, (LPARAM)ErrorCallback);
    Send(WM_CAP_SET_CALLBACK_VIDEOSTREAM, 0, (LPARAM)VideoCallback);
    Send(WM_CAP_SET_CALLBACK_WAVESTREAM, 0, (LPARAM)WaveCallback);
}

BOOL CCaptureWnd::SetCaptureFile(const CString& path)
{
    m_strFile = path;
    SetupSequence();
    return Send(WM_CAP_FILE_SET_CAPTURE_FILEA, 0, (LPARAM)(LPCSTR)m_strFile) != 0;
}

void CCaptureWnd::SetCaptureMode(int mode)
{
    m_nMode = mode == 1 ? 1 : 0;
    if (m_nMode == 1)
        ResizeRing();
    WAVEFORMATEX sound = {WAVE_FORMAT_PCM, 1, 11025, 22050, 2, 16, 0};
    Send(WM_CAP_SET_AUDIOFORMAT, sizeof sound, (LPARAM)&sound);
}

void CCaptureWnd::ResizeRing()
{
    CSingleLock lock(&m_lock, TRUE);
    for (Entry& e : m_ring)
        if (!e.data.empty())
            VirtualUnlock(e.data.data(), e.data.size());
    m_ring.assign(size_t(m_nPre + m_nPost + 1), Entry());
    if (const BITMAPINFOHEADER* f = GetVideoFormat())
        m_dwBufferSize = std::max(m_dwBufferSize, f->biSizeImage);
    m_bLockFailed = FALSE;
    for (Entry& e : m_ring) {
        e.data.assign(m_dwBufferSize, 0);
        if (!e.data.empty() && !VirtualLock(e.data.data(), e.data.size()) && !m_bLockFailed) {
            m_bLockFailed = TRUE;
            ErrorBox("Error: Could not lock down memory");
        }
    }
    m_nWrite = 0;
    m_bWrapped = FALSE;
}

BOOL CCaptureWnd::StartRecord()
{
    {
        CSingleLock lock(&m_lock, TRUE);
        m_bTriggered = m_bTold = m_bStop = m_bSaved = m_bHaveTimeBase = FALSE;
        m_nPostCount = m_nParity = 0;
        m_lCaptured = m_lDropped = 0;
        m_nWrite = 0;
        m_bWrapped = FALSE;
    }
    if (m_nMode == 1) {
        ResizeRing();
        m_bRecording = Send(WM_CAP_SEQUENCE_NOFILE) != 0;
    } else {
        m_bRecording = Send(WM_CAP_SEQUENCE) != 0;
    }
    return m_bRecording;
}

void CCaptureWnd::StopRecord()
{
    CSingleLock lock(&m_lock, TRUE);
    if (m_nMode == 1)
        m_bSaved = TRUE;
    m_bStop = TRUE;
}

BOOL CCaptureWnd::CanTrigger()
{
    CSingleLock lock(&m_lock, TRUE);
    return m_bWrapped || m_nWrite > m_nPre;
}

void CCaptureWnd::Trigger(long d)
{
    if (d < -16)
        m_nParity = 0;
    else if (d < 0)
        m_nParity = 1;
    else if (d <= 16) {
        m_nParity = 0;
        m_nPostCount = -1;
    } else {
        m_nParity = 1;
        m_nPostCount = -1;
    }
    m_bTriggered = TRUE;
}

BOOL CCaptureWnd::TriggerNow()
{
    CSingleLock lock(&m_lock, TRUE);
    if (m_bTriggered || !(m_bWrapped || m_nWrite > m_nPre))
        return FALSE;
    const Entry& newest = m_ring[(m_nWrite + m_ring.size() - 1) % m_ring.size()];
    Trigger(long(Now() - m_dwTimeBase) - long(newest.time));
    return TRUE;
}

int CCaptureWnd::GetTriggerParity()
{
    CSingleLock lock(&m_lock, TRUE);
    return m_nParity;
}

void CCaptureWnd::SetSoundThreshold(int percent) { m_nLevel = ThresholdLevel(percent); }

void CCaptureWnd::SetPreTrigFrames(int frames) { m_nPre = std::max(0, frames); }

void CCaptureWnd::SetPostTrigFrames(int frames) { m_nPost = std::max(0, frames); }

LRESULT CCaptureWnd::OnVideoFrame(const VIDEOHDR* header)
{
    if (m_nMode != 1 || !header)
        return TRUE;
    CSingleLock lock(&m_lock, TRUE);
    if (m_ring.empty())
        return TRUE;
    if (header->dwBytesUsed > m_dwBufferSize) {
        // A larger frame than the format said: every buffer grows to it.
        m_dwBufferSize = header->dwBytesUsed;
        m_bLockFailed = FALSE;
        for (Entry& e : m_ring) {
            if (!e.data.empty())
                VirtualUnlock(e.data.data(), e.data.size());
            e.data.assign(m_dwBufferSize, 0);
            if (!VirtualLock(e.data.data(), e.data.size()) && !m_bLockFailed) {
                m_bLockFailed = TRUE;
                ErrorBox("Error: Could not lock down memory");
            }
        }
    }
    if (m_nPostCount >= m_nPost) {
        m_bStop = TRUE;
        return TRUE;
    }
    if (!m_bHaveTimeBase) {
        m_dwTimeBase = Now() - header->dwTimeCaptured;
        m_bHaveTimeBase = TRUE;
    }
    Entry& e = m_ring[m_nWrite];
    e.used = header->dwBytesUsed;
    if (header->lpData && e.used)
        memcpy(e.data.data(), header->lpData, e.used);
    e.key = (header->dwFlags & VHDR_KEYFRAME) != 0;
    e.time = Now() - m_dwTimeBase;
    m_nWrite = int((m_nWrite + 1) % m_ring.size());
    if (m_nWrite == 0)
        m_bWrapped = TRUE;
    ++m_lCaptured;
    if (m_bTriggered) {
        if (!m_bTold) {
            m_bTold = TRUE;
            Notify(204);
        }
        if (++m_nPostCount >= m_nPost)
            m_bStop = TRUE;
    }
    return TRUE;
}

LRESULT CCaptureWnd::OnWaveBuffer(const WAVEHDR* header)
{
    if (m_nMode != 1 || !header || !header->lpData)
        return TRUE;
    CSingleLock lock(&m_lock, TRUE);
    if (m_bTriggered || !(m_bWrapped || m_nWrite > m_nPre))
        return TRUE;
    PcmLayout layout;
    layout.channels = 1;
    layout.bytesPerSample = 2;
    layout.sampleRate = 11025;
    const long n = long(header->dwBytesRecorded / 2);
    const long i = FindLoudFrame(reinterpret_cast<const uint8_t*>(header->lpData), size_t(n) * 2,
                                 layout, m_nLevel);
    if (i < 0)
        return TRUE;
    const Entry& newest = m_ring[(m_nWrite + m_ring.size() - 1) % m_ring.size()];
    Trigger(long(Now() - m_dwTimeBase) - long(newest.time) - long((n - i - 1) * kSampleMs));
    return TRUE;
}

LRESULT CCaptureWnd::OnStatus(int id, LPCSTR text)
{
    CString line;
    line.Format("%s\r\n", text ? text : "");
    OutputDebugStringA(line);
    if (id == IDS_CAP_BEGIN) {
        Notify(m_nMode == 1 ? 203 : 202);
    } else if (id == IDS_CAP_END) {
        BOOL saved;
        {
            CSingleLock lock(&m_lock, TRUE);
            saved = m_bSaved;
        }
        if (m_nMode == 1 && !saved)
            SaveRing(m_strFile, int(m_ring.size()));
        CAPSTATUS status = {};
        if (Send(WM_CAP_GET_STATUS, sizeof status, (LPARAM)&status)) {
            m_lCaptured = long(status.dwCurrentVideoFrame);
            m_lDropped = long(status.dwCurrentVideoFramesDropped);
        }
        m_bRecording = FALSE;
        Notify(saved ? 201 : 200);
    }
    return TRUE;
}

LRESULT CCaptureWnd::OnError(int, LPCSTR text)
{
    CString line;
    line.Format("%s\r\n", text ? text : "");
    OutputDebugStringA(line);
    return TRUE;
}

// FALSE ends the capture.
LRESULT CCaptureWnd::OnYield()
{
    CSingleLock lock(&m_lock, TRUE);
    return !m_bStop;
}

BOOL CCaptureWnd::SaveRing(const CString& path, int count)
{
    const BITMAPINFOHEADER* format = GetVideoFormat();
    if (!format || path.IsEmpty())
        return FALSE;
    CAviFile file;
    if (!file.Open(path, OF_CREATE | OF_WRITE))
        return FALSE;
    AVISTREAMINFOA info = {};
    info.fccType = streamtypeVIDEO;
    info.fccHandler = mmioFOURCC('M', 'J', 'P', 'G');
    info.dwScale = 33367;
    info.dwRate = 1000000;
    info.dwLength = 10;
    info.dwQuality = DWORD(-1);
    SetRect(&info.rcFrame, 0, 0, format->biWidth, std::abs(format->biHeight));
    PAVISTREAM stream = file.CreateStream(&info);
    if (!stream)
        return FALSE;
    BOOL ok = AVIStreamSetFormat(stream, 0, m_format.data(), LONG(m_format.size())) == AVIERR_OK;
    CSingleLock lock(&m_lock, TRUE);
    const size_t n = m_ring.size();
    LONG sample = 0;
    // Oldest first: from the write index on, in ring order; entries never written are skipped.
    for (int k = 0; ok && k < count && n > 0; ++k) {
        const Entry& e = m_ring[(m_nWrite + (count == 1 ? 0 : k)) % n];
        if (!e.used)
            continue;
        ok = AVIStreamWrite(stream, sample++, 1, const_cast<BYTE*>(e.data.data()), LONG(e.used),
                            e.key ? AVIIF_KEYFRAME : 0, NULL, NULL) == AVIERR_OK;
    }
    AVIStreamRelease(stream);
    return ok;
}

BOOL CCaptureWnd::SaveEntry(const CString& path)
{
    m_strFile = path;
    {
        CSingleLock lock(&m_lock, TRUE);
        if (m_ring.empty())
            return FALSE;
        Entry& e = m_ring[m_nWrite];
        e.used = std::min<DWORD>(100, DWORD(e.data.size()));
    }
    return SaveRing(path, 1);
}

CString CCaptureWnd::GetDriverName() { return Description(FALSE); }

CString CCaptureWnd::GetDriverVersion() { return Description(TRUE); }

CString CCaptureWnd::Description(BOOL version)
{
    if (!m_bConnected)
        return version ? "" : "No capture driver is active";
    char name[256] = {}, number[256] = {};
    capGetDriverDescription(WORD(m_nDriver), name, sizeof name, number, sizeof number);
    return version ? number : name;
}

void CCaptureWnd::SetVideoFormat(const BITMAPINFO* format, size_t bytes)
{
    m_format.clear();
    if (format && bytes >= sizeof(BITMAPINFOHEADER))
        m_format.assign(reinterpret_cast<const BYTE*>(format), reinterpret_cast<const BYTE*>(format) + bytes);
}

const BITMAPINFOHEADER* CCaptureWnd::GetVideoFormat() const
{
    return m_format.empty() ? NULL : reinterpret_cast<const BITMAPINFOHEADER*>(m_format.data());
}

void CCaptureWnd::PositionForCrop(float x, float y, float width, float height)
{
    if (!m_hWndCap || width <= 0 || height <= 0)
        return;
    // The live picture scaled so that the crop fills the view, moved so that it starts there.
    const int w = int(kWidth / width), h = int(kHeight / height);
    ::MoveWindow(m_hWndCap, -int(w * x), -int(h * y), w, h, TRUE);
    POINT scroll = {0, 0};
    Send(WM_CAP_SET_SCROLL, 0, (LPARAM)&scroll);
}

void CCaptureWnd::OnLButtonDown(UINT flags, CPoint point)
{
    if (m_pOwner)
        m_pOwner->FireMouseDown(1, _AfxShiftState(), point.x, point.y);
    CWnd::OnLButtonDown(flags, point);
}
