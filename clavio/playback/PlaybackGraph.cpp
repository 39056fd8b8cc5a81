#include "PlaybackGraph.h"
#include "playback_pair.h"
#include "step_timing.h"
#include "ShadowView.h"
#include "../engine/VideoEngine.h"
#include <vector>

namespace {

const char kRendererName[] = "Video Renderer (Man)";
const char kDecoderName[] = "DV Decoder(man)";
const char kDeinterlacerName[] = "DeInterlacer (Man)";
const char kConverterName[] = "Color Space Conv (Man)";

template <typename T>
void ReleaseAndClear(T*& p)
{
    if (p) {
        p->Release();
        p = NULL;
    }
}

} // namespace

CPlaybackGraph::CPlaybackGraph(int index)
    : m_nIndex(0), m_bFileOpened(FALSE), m_pSource(NULL), m_pFeeder(NULL), m_pDVDecoder(NULL),
      m_pDeinterlacer(NULL), m_pColourConverter(NULL), m_pDeinterlace(NULL),
      m_bDeinterlacerOn(FALSE), m_bRealMode(FALSE), m_nParity(0), m_pOwnerWnd(NULL),
      m_bPlaying(FALSE), m_nTrimIn(0), m_nTrimOut(0), m_fFieldPeriod(0.01668335f),
      m_fSpeed(1.0f), m_nDirection(1), m_bSteppedPlayActive(0), m_bOverlayEnabled(0),
      m_pOverlayBits(NULL), m_nOverlayWidth(0), m_nOverlayHeight(0), m_crOverlayKey(0),
      m_pStreamThread(NULL), m_nTimerId(0), m_nKeepAliveTimerId(0), m_nTimersStarted(0), m_nLockOffset(0),
      m_bAtEnd(0), m_nTickCount(0), m_bShadowViewActive(0), m_pShadowView(NULL),
      m_nSkipFields(0), m_bMergeContinuous(0), m_bBlendView(0), m_nBlendPosition(0),
      m_pBlendOutputDC(NULL), m_hBlendOutput(NULL), m_hBlendOld(NULL), m_nUsers(0),
      m_nPositionedFrame(-1), m_bDestroying(false)
{
    m_fMask[0] = m_fMask[1] = 0.0f;
    m_fMask[2] = m_fMask[3] = 1.0f;
    m_fCrop[0] = m_fCrop[1] = 0.0f;
    m_fCrop[2] = m_fCrop[3] = 1.0f;
    {
        PairLock lock;
        int live = g_pair.live++;
        m_nIndex = index >= 0 ? index : live;
        if (m_nIndex == 0 || m_nIndex == 1)
            g_pair.table[m_nIndex] = this;
        g_pair.ClearLockStep();
    }
    m_hPlayEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    m_hTickEvent = CreateEventA(NULL, FALSE, TRUE, NULL);
    m_hModeEvent = CreateEventA(NULL, TRUE, TRUE, NULL);
    m_hStopEvent = CreateEventA(NULL, TRUE, FALSE, NULL);
    m_MemDC.CreateCompatibleDC(NULL);
    m_pStreamThread = static_cast<CDsVRStreamThread*>(
        AfxBeginThread(RUNTIME_CLASS(CDsVRStreamThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED));
    if (m_pStreamThread) {
        m_pStreamThread->m_pGraph = this;
        m_pStreamThread->m_bAutoDelete = FALSE;
        m_pStreamThread->ResumeThread();
    }
}

CPlaybackGraph::~CPlaybackGraph()
{
    // Going away stops this graph only: the pair's lock-step state stays the partner's.
    m_bDestroying = true;
    // The stepping thread ends in order: it is woken from any wait and finishes its tick.
    if (m_pStreamThread) {
        InterlockedExchange(&m_pStreamThread->m_bStop, 1);
        SetEvent(m_hStopEvent);
        WaitForSingleObject(m_pStreamThread->m_hThread, INFINITE);
        delete m_pStreamThread;
        m_pStreamThread = NULL;
    }
    KillTimer();
    if (m_nKeepAliveTimerId)
        timeKillEvent(UINT(m_nKeepAliveTimerId));
    // No event handler may run on a half-destroyed graph.
    StopEventThread();
    {
        PairLock lock;
        --g_pair.live;
        if ((m_nIndex == 0 || m_nIndex == 1) && g_pair.table[m_nIndex] == this)
            g_pair.table[m_nIndex] = NULL;
        if (g_pair.master == m_nIndex)
            g_pair.initialised = 0;
    }
    // The other graph of the pair may be working on this one: let it finish.
    while (m_nUsers > 0)
        Sleep(1);
    CSingleLock lock(&m_StepLock, TRUE);
    ShowVideoWindow(FALSE);
    if (m_hBlendOutput) {
        if (m_pBlendOutputDC && m_hBlendOld)
            ::SelectObject(m_pBlendOutputDC->m_hDC, m_hBlendOld);
        ::DeleteObject(m_hBlendOutput);
        m_hBlendOutput = NULL;
    }
    TearDown();
    ReleaseRenderer();
    CloseHandle(m_hPlayEvent);
    CloseHandle(m_hTickEvent);
    CloseHandle(m_hModeEvent);
    CloseHandle(m_hStopEvent);
}

CPlaybackGraph* CPlaybackGraph::TableEntry(int index)
{
    PairLock lock;
    return index == 0 || index == 1 ? g_pair.table[index] : NULL;
}

// ---------------------------------------------------------------------------------------
// Opening and the chain

HRESULT CPlaybackGraph::LoadFile(CString fileName)
{
    m_strFileName = fileName;
    return OpenFile();
}

IBaseFilter* CPlaybackGraph::RendererFeeder()
{
    IBaseFilter* upstream = NULL;
    GetUpstreamFilter(m_pVideoRenderer, &upstream);
    return upstream;
}

HRESULT CPlaybackGraph::OpenFile()
{
    if (!m_pGraph)
        return E_UNEXPECTED;
    if (m_bBuilt)
        TearDown();
    if (!m_pVideoRenderer && !m_bShared) {
        HRESULT hr = AddFilterByCLSID(CLSID_VideoRenderer, &m_pVideoRenderer, kRendererName);
        if (FAILED(hr))
            return hr;
        // The renderer of a channel without a file is shown too: inside its owner.
        if (m_pOwnerWnd)
            SetupVideoWindow(m_pOwnerWnd);
    }
    if (m_strFileName.IsEmpty())
        return S_OK;
    if (m_pVideoRenderer)
        m_pVideoRenderer->Stop();

    HANDLE file = CreateFileA(m_strFileName, GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        m_bFileOpened = FALSE;
        ReportError(E_FAIL, (LPCSTR)(CString("Could not open file ") + m_strFileName));
        return E_FAIL;
    }
    CloseHandle(file);
    m_bFileOpened = TRUE;

    int n = MultiByteToWideChar(CP_ACP, 0, m_strFileName, -1, NULL, 0);
    std::vector<WCHAR> wide(n > 0 ? n : 1, 0);
    MultiByteToWideChar(CP_ACP, 0, m_strFileName, -1, wide.data(), n);
    HRESULT hr = m_pGraph->AddSourceFilter(wide.data(), NULL, &m_pSource);
    if (FAILED(hr)) {
        m_bFileOpened = FALSE;
        ReportError(hr, "Could not add source filter");
        return hr;
    }
    AddFilterByCLSID(CLSID_DVVideoCodec, &m_pDVDecoder, kDecoderName);

    IPin* out = FindPin(m_pSource, NULL, PINDIR_OUTPUT);
    hr = out ? m_pGraph->Render(out) : VFW_E_NOT_FOUND;
    if (out)
        out->Release();

    m_pFeeder = RendererFeeder();
    if (m_pFeeder) {
        IPin* in = FindPin(m_pFeeder, NULL, PINDIR_INPUT);
        AM_MEDIA_TYPE mt = {};
        if (in && SUCCEEDED(in->ConnectionMediaType(&mt))) {
            // Only a video format block of its full size is read.
            if (mt.formattype == FORMAT_VideoInfo && mt.pbFormat &&
                mt.cbFormat >= sizeof(VIDEOINFOHEADER)) {
                const VIDEOINFOHEADER* v = reinterpret_cast<const VIDEOINFOHEADER*>(mt.pbFormat);
                m_nFrameWidth = v->bmiHeader.biWidth;
                m_nFrameHeight = abs(v->bmiHeader.biHeight);
                m_fFieldPeriod = FieldPeriodOf(v->AvgTimePerFrame, &m_dFrameRate);
                m_bPAL = m_nFrameHeight == 576 || m_nFrameHeight == 288 ||
                         m_nFrameHeight == 144 || m_nFrameHeight == 72;
                m_nParity = 0;
            }
            FreeMediaType(mt);
        }
        if (in)
            in->Release();
    }
    if (FAILED(hr)) {
        RemoveFilter(&m_pSource);
        m_bFileOpened = FALSE;
        ReportError(hr, "Could not render file");
        return hr;
    }
    m_bBuilt = TRUE;
    if (hr == VFW_S_VIDEO_NOT_RENDERED || !m_pFeeder) {
        // A file without a picture is not a clip that can be shown.
        AfxMessageBox("Could not render video stream", MB_OK);
        m_bFileOpened = FALSE;
        return VFW_E_CANNOT_RENDER;
    }
    CGraphManager::Stop(true);
    HideVideoWindow();
    SetGraphClock(FALSE);
    EnableDeinterlacer(TRUE);
    if (!m_pMediaSeeking && SUCCEEDED(m_pGraph->QueryInterface(IID_IMediaSeeking, (void**)&m_pMediaSeeking)))
        m_pMediaSeeking->SetTimeFormat(&TIME_FORMAT_FRAME);
    if (!m_bShared)
        SetDecoderSize(TRUE);
    SetVideoOwner(NULL);
    MoveFields(0);
    SetVideoWindowPosition(0, 0, m_nFrameWidth, m_nFrameHeight);
    m_bFileOpened = TRUE;
    return S_OK;
}

HRESULT CPlaybackGraph::SetVideoOwner(CWnd* owner)
{
    if (!m_bBuilt) {
        m_pOwnerWnd = owner;
        return S_OK;
    }
    SetupVideoWindow(owner ? owner : m_pOwnerWnd);
    return S_OK;
}

HRESULT CPlaybackGraph::SetDecoderSize(BOOL fullSize)
{
    if (!m_pVideoRenderer)
        return S_OK;
    IBaseFilter* target = m_pColourConverter ? m_pColourConverter : m_pVideoRenderer;
    int width = fullSize ? 720 : 360;
    int height = m_bPAL ? (fullSize ? 576 : 288) : (fullSize ? 480 : 240);
    HRESULT hr = ConnectFilters(m_pFeeder, target, width, height);
    if (FAILED(hr)) {
        ReportError(hr, "Error connecting decoder with new media type");
        ConnectPins(m_pFeeder, NULL, target, NULL, NULL);
        return hr;
    }
    m_nFrameWidth = width;
    m_nFrameHeight = height;
    return hr;
}

void CPlaybackGraph::RemoveStepFilters()
{
    ReleaseAndClear(m_pDeinterlace);
    RemoveFilter(&m_pDeinterlacer);
    RemoveFilter(&m_pColourConverter);
}

HRESULT CPlaybackGraph::EnableDeinterlacer(BOOL on)
{
    if (m_bDeinterlacerOn == on)
        return S_OK;
    CGraphManager::Stop(true);
    if (on) {
        m_bDeinterlacerOn = TRUE;
        RemoveStepFilters();
        AddFilterByCLSID(CLSID_Deinterlacer, &m_pDeinterlacer, kDeinterlacerName);
        AddFilterByCLSID(CLSID_Colour, &m_pColourConverter, kConverterName);
        HRESULT hr = m_pDeinterlacer ? m_pDeinterlacer->QueryInterface(IID_IDeinterlace, (void**)&m_pDeinterlace)
                                     : E_FAIL;
        IPin* rendererIn = FindPin(m_pVideoRenderer, NULL, PINDIR_INPUT);
        if (!rendererIn)
            return hr;
        HRESULT a = m_pColourConverter ? InsertFilterBefore(m_pColourConverter, rendererIn) : E_FAIL;
        HRESULT b = SUCCEEDED(a) && m_pDeinterlacer ? InsertFilterBefore(m_pDeinterlacer, rendererIn) : E_FAIL;
        if (SUCCEEDED(a) && SUCCEEDED(b) && m_pDeinterlace) {
            rendererIn->Release();
            return S_OK;
        }
        // Back to the direct chain: stepped mode then works without field choice.
        m_bDeinterlacerOn = FALSE;
        CGraphManager::Stop(true);
        if (m_pDeinterlacer)
            m_pDeinterlacer->Stop();
        if (m_pColourConverter)
            m_pColourConverter->Stop();
        if (RendererFeeder() != m_pFeeder) {
            DisconnectPins(m_pVideoRenderer, NULL, PINDIR_INPUT);
            DisconnectPins(m_pFeeder, NULL, PINDIR_OUTPUT);
            ConnectPins(m_pFeeder, NULL, m_pVideoRenderer, NULL, NULL);
        } else {
            if (m_pDeinterlacer)
                RemoveFromChain(m_pDeinterlacer);
            if (m_pColourConverter)
                RemoveFromChain(m_pColourConverter);
        }
        rendererIn->Release();
        RemoveStepFilters();
        return -1;
    }
    m_bDeinterlacerOn = FALSE;
    HRESULT hr = S_OK;
    if (RendererFeeder() != m_pDeinterlacer) {
        DisconnectPins(m_pVideoRenderer, NULL, PINDIR_INPUT);
        DisconnectPins(m_pFeeder, NULL, PINDIR_OUTPUT);
        hr = ConnectPins(m_pFeeder, NULL, m_pVideoRenderer, NULL, NULL);
    } else {
        hr = RemoveFromChain(m_pDeinterlacer);
        if (SUCCEEDED(hr) && m_pColourConverter)
            hr = RemoveFromChain(m_pColourConverter);
    }
    RemoveStepFilters();
    return hr;
}

void CPlaybackGraph::PlaceRealTimeWindow()
{
    WindowPlacement p = RealTimeWindow(608, 456, m_fCrop, m_fMask);
    SetVideoWindowPosition(p.left, p.top, p.width, p.height);
}

void CPlaybackGraph::SetRealPlayMode(BOOL real)
{
    WaitForSingleObject(m_hModeEvent, 1000);
    ResetEvent(m_hModeEvent);
    if (real != m_bRealMode) {
        ShowVideoWindow(FALSE);
        CGraphManager::Stop(true);
        if (real) {
            EnableDeinterlacer(FALSE);
            PlaceRealTimeWindow();
            SetGraphClock(TRUE);
        } else {
            if (EnableDeinterlacer(TRUE) != -1 && !m_bShared)
                SetDecoderSize(TRUE);
            SetVideoWindowPosition(0, 0, m_nFrameWidth, m_nFrameHeight);
            m_nParity = 0;
            SetGraphClock(FALSE);
            if (m_pDeinterlace) {
                m_pDeinterlace->SetMask(m_fMask[0], m_fMask[1], m_fMask[2], m_fMask[3]);
                m_pDeinterlace->SetCrop(m_fCrop[0], m_fCrop[1], m_fCrop[2], m_fCrop[3]);
                m_pDeinterlace->EnableOverlay(m_bOverlayEnabled);
                m_pDeinterlace->SetOverlayBitmap(m_pOverlayBits, m_nOverlayWidth,
                                                 m_nOverlayHeight, m_crOverlayKey);
            }
            m_bRealMode = FALSE;
            MoveFields(0);
        }
        ShowVideoWindow(TRUE);
        m_bRealMode = real;
    } else if (real) {
        PlaceRealTimeWindow();
    }
    // Set again whatever the wait gave: a switch that timed out must not block the next.
    SetEvent(m_hModeEvent);
}

// ---------------------------------------------------------------------------------------
// Positions

HRESULT CPlaybackGraph::PositionOn(int frame)
{
    HRESULT hr = CGraphManager::SeekToFrame(frame);
    m_nPositionedFrame = frame;
    return hr;
}

HRESULT CPlaybackGraph::GetFieldPosition(int* field)
{
    long frame = m_nPositionedFrame;
    if (frame < 0 || m_nState == StateRunning)
        GetCurrentFrame(&frame);
    *field = int(frame) * 2 + m_nParity;
    return S_OK;
}

int CPlaybackGraph::GetFieldPosition()
{
    int field = 0;
    GetFieldPosition(&field);
    return field;
}

HRESULT CPlaybackGraph::SetField(int parity)
{
    m_nParity = parity % 2;
    return m_pDeinterlace ? m_pDeinterlace->SetField(0, m_nParity) : S_OK;
}

HRESULT CPlaybackGraph::StepFields(int fields)
{
    int p = GetFieldPosition() + fields;
    SetField(p & 1);
    return SeekFrame(p / 2, false, false);
}

HRESULT CPlaybackGraph::StepFrames(int frames)
{
    long frame = 0;
    GetCurrentFrame(&frame);
    return SeekFrame(int(frame) + frames, false, false);
}

HRESULT CPlaybackGraph::MoveFields(int fields)
{
    int p = GetFieldPosition() + fields;
    if (p / 2 > m_nTrimOut)
        return S_OK;
    SetField(p & 1);
    return PositionOn(p / 2);
}

HRESULT CPlaybackGraph::SeekFrame(int frame, bool keepMode, bool overlayCheck)
{
    m_bPlaying = FALSE;
    if (!keepMode || (m_bOverlayEnabled && overlayCheck))
        SetRealPlayMode(FALSE);
    CSingleLock lock(&m_StepLock, TRUE);
    StopSteppingLocked(true);
    if (frame < m_nTrimIn)
        frame = m_nTrimIn;
    if (frame > m_nTrimOut)
        frame = m_nTrimOut;
    return PositionOn(frame);
}

HRESULT CPlaybackGraph::SeekNotBeforeTrimIn(int frame)
{
    return PositionOn(frame > m_nTrimIn ? frame : m_nTrimIn);
}

HRESULT CPlaybackGraph::SetTrimIn(int frame)
{
    CSingleLock lock(&m_StepLock, TRUE);
    m_nTrimIn = frame < GetFirstValidFrame() ? GetFirstValidFrame() : frame;
    return S_OK;
}

HRESULT CPlaybackGraph::SetTrimOut(int frame)
{
    CSingleLock lock(&m_StepLock, TRUE);
    m_nTrimOut = frame;
    return S_OK;
}

// ---------------------------------------------------------------------------------------
// Real-time play, stop, pause and the end of the stream

void CPlaybackGraph::StopSteppingLocked(bool clearInitialised)
{
    ResetEvent(m_hPlayEvent);
    m_bSteppedPlayActive = 0;
    if (clearInitialised && !m_bDestroying) {
        PairLock pair;
        g_pair.initialised = 0;
    }
}

HRESULT CPlaybackGraph::RealPlay()
{
    SetRealPlayMode(TRUE);
    m_bPlaying = TRUE;
    m_nDirection = 1;
    m_nPositionedFrame = -1;
    return CGraphManager::Run(true);
}

HRESULT CPlaybackGraph::RealPlayTo(int stopFrame)
{
    m_bPlaying = TRUE;
    m_nDirection = 1;
    CSingleLock lock(&m_StepLock, TRUE);
    StopSteppingLocked(true);
    m_nPositionedFrame = -1;
    return CGraphManager::RunFrom(stopFrame);
}

HRESULT CPlaybackGraph::RunFrom(long stopFrame)
{
    m_bPlaying = TRUE;
    SetRealPlayMode(FALSE);
    m_nDirection = 1;
    return RealPlayTo(int(stopFrame));
}

HRESULT CPlaybackGraph::Stop(bool)
{
    m_bPlaying = FALSE;
    CSingleLock lock(&m_StepLock, TRUE);
    StopSteppingLocked(true);
    return CGraphManager::Stop(true);
}

HRESULT CPlaybackGraph::PausePlay()
{
    m_bPlaying = FALSE;
    CSingleLock lock(&m_StepLock, TRUE);
    StopSteppingLocked(false);
    return CGraphManager::Pause(true);
}

BOOL CPlaybackGraph::OnGraphEvent(long code, LONG_PTR, LONG_PTR)
{
    if (code == EC_COMPLETE && m_bPlaying && IsPlaying()) {
        m_bPlaying = FALSE;
        Sleep(100);
        CGraphManager::Stop(true);
        Notify(100);
    }
    return TRUE;
}

HRESULT CPlaybackGraph::TearDown()
{
    Stop(true);
    WaitForStateChange();
    if (m_pDeinterlacer)
        m_pDeinterlacer->Stop();
    EnableDeinterlacer(FALSE);
    if (m_pVideoRenderer) {
        DisconnectPins(m_pVideoRenderer, NULL, PINDIR_INPUT);
        RemoveFilter(&m_pVideoRenderer);
    }
    ReleaseAndClear(m_pMediaSeeking);
    RemoveDownstream(m_pSource);
    m_pFeeder = NULL;
    if (m_pMediaControl) {
        OAFilterState fs;
        m_pMediaControl->GetState(5000, &fs);
    }
    // The decoder went with the filters downstream of the source: only our hold on it is left.
    ReleaseIfRemoved(&m_pDVDecoder);
    RemoveFilter(&m_pDVDecoder);
    RemoveFilter(&m_pSource);
    m_bBuilt = FALSE;
    m_bFileOpened = FALSE;
    return S_OK;
}

void CPlaybackGraph::ReleaseIfRemoved(IBaseFilter** filter)
{
    if (!*filter)
        return;
    FILTER_INFO info = {};
    if (SUCCEEDED((*filter)->QueryFilterInfo(&info)) && !info.pGraph)
        ReleaseAndClear(*filter);
    if (info.pGraph)
        info.pGraph->Release();
}

HRESULT CPlaybackGraph::ReleaseRenderer()
{
    RemoveStepFilters();
    if (m_pVideoRenderer) {
        IVideoWindow* window = NULL;
        if (SUCCEEDED(m_pVideoRenderer->QueryInterface(IID_IVideoWindow, (void**)&window))) {
            window->put_Visible(OAFALSE);
            window->put_Owner(0);
            window->Release();
        }
        RemoveFilter(&m_pVideoRenderer);
    }
    return S_OK;
}

// ---------------------------------------------------------------------------------------
// Deinterlacer pass-through

HRESULT CPlaybackGraph::EnableDeinterlace(BOOL on)
{
    return m_pDeinterlace ? m_pDeinterlace->SetBypass(!on) : S_OK;
}

HRESULT CPlaybackGraph::SetOverlayEnable(BOOL on)
{
    m_bOverlayEnabled = BYTE(on != 0);
    return m_pDeinterlace ? m_pDeinterlace->EnableOverlay(on) : S_OK;
}

HRESULT CPlaybackGraph::SetOverlayBitmap(void* bits, int width, int height, COLORREF key)
{
    if (!m_pDeinterlace)
        return S_OK;
    m_pOverlayBits = bits;
    m_nOverlayWidth = width;
    m_nOverlayHeight = height;
    m_crOverlayKey = key;
    return m_pDeinterlace->SetOverlayBitmap(bits, width, height, key);
}

HRESULT CPlaybackGraph::SetCrop(float x, float y, float w, float h)
{
    m_fCrop[0] = x, m_fCrop[1] = y, m_fCrop[2] = w, m_fCrop[3] = h;
    return m_pDeinterlace ? m_pDeinterlace->SetCrop(x, y, w, h) : S_OK;
}

HRESULT CPlaybackGraph::GetCropOrigin(float* x, float* y)
{
    if (m_pDeinterlace)
        return m_pDeinterlace->GetCropOrigin(x, y);
    *x = m_fCrop[0];
    *y = m_fCrop[1];
    return S_OK;
}

HRESULT CPlaybackGraph::GetCropSize(float* w, float* h)
{
    if (m_pDeinterlace)
        return m_pDeinterlace->GetCropSize(w, h);
    *w = m_fCrop[2];
    *h = m_fCrop[3];
    return S_OK;
}

HRESULT CPlaybackGraph::SetMask(float x, float y, float w, float h)
{
    m_fMask[0] = x, m_fMask[1] = y, m_fMask[2] = w, m_fMask[3] = h;
    return m_pDeinterlace ? m_pDeinterlace->SetMask(x, y, w, h) : S_OK;
}

HRESULT CPlaybackGraph::SetMirror(BOOL on)
{
    return m_pDeinterlace ? m_pDeinterlace->SetMirror(on) : S_OK;
}

HRESULT CPlaybackGraph::SetOutputDC(CDC* dc, BOOL scale)
{
    if (!m_pDeinterlace)
        return S_OK;
    HRESULT hr = m_pDeinterlace->SetOutputDC(dc);
    m_pDeinterlace->SetScaleOutput(scale);
    return hr;
}
