#include "CaptureGraph.h"
#include "step_timing.h"
#include "VideoEngine.h"
#include <initguid.h>
#include "../../filters/pondrel/ireplaybuffer.h"
#include "../../filters/sonderic/ileveltrigger.h"
#include <vector>

namespace {

template <typename T> void Drop(T*& p)
{
    if (p)
        p->Release();
    p = NULL;
}

// Messages of the hand-over window: work that the event thread passes to the UI thread.
const UINT WM_RING_DELIVERED = WM_APP + 1;
const UINT WM_CAMERA_LOST = WM_APP + 2;
const char kHandOverClass[] = "CaptureGraphHandOver";

const char kCameraMessage[] =
    "Your video camera is not on or not connected.  Click OK to continue without the "
    "camera.  To view the camera, connect the firewire and click live camera. ";

// Frame rate from a time per frame, 29.97 when the time is not usable.
double RateOf(REFERENCE_TIME perFrame)
{
    return perFrame > 0 ? 1.0 / (double(perFrame) * 1e-7) : 29.97;
}

} // namespace

CCaptureGraph::CCaptureGraph()
    : m_nRecordMode(0), m_bTriggered(0), m_clsidReplayBuffer(CLSID_ReplayBuffer),
      m_pCamera(NULL), m_pAudioDevice(NULL), m_pVideoFormat(NULL), m_pAudioFormat(NULL),
      m_pFeeder(NULL), m_bCameraPresent(1), m_bOverlayInUse(0), m_nPreFrames(30),
      m_nPostFrames(29), m_nTriggerOffset(0), m_bSoundTrigger(1), m_nTriggerParity(0),
      m_pMux(NULL), m_pFileSink(NULL), m_pSplitter(NULL), m_pCaptureTee(NULL),
      m_pSoundFilter(NULL), m_pLevelTrigger(NULL), m_pSoundRenderer(NULL),
      m_pReplayFilter(NULL), m_pReplayBuffer(NULL), m_bReplayOn(FALSE), m_pDroppedFrames(NULL),
      m_lDroppedAtStart(0), m_lDeliveredAtStart(0), m_lDropped(0), m_lDelivered(0),
      m_bRecordGraphBuilt(FALSE), m_hHandOver(NULL)
{
    memset(&m_bih, 0, sizeof m_bih);
    m_fMask[0] = m_fMask[1] = m_fCrop[0] = m_fCrop[1] = 0.0f;
    m_fMask[2] = m_fMask[3] = m_fCrop[2] = m_fCrop[3] = 1.0f;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = HandOverProc;
    wc.lpszClassName = kHandOverClass;
    wc.hInstance = GetModuleHandleA(NULL);
    RegisterClassA(&wc);   // fails harmlessly when already registered
    m_hHandOver = CreateWindowExA(0, kHandOverClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL,
                                  wc.hInstance, NULL);
    if (m_hHandOver)
        SetWindowLongPtrA(m_hHandOver, GWLP_USERDATA, (LONG_PTR)this);
}

CCaptureGraph::~CCaptureGraph()
{
    // No event may be handed over once the object starts going.
    StopEventThread();
    if (m_hHandOver) {
        SetWindowLongPtrA(m_hHandOver, GWLP_USERDATA, 0);
        DestroyWindow(m_hHandOver);
        m_hHandOver = NULL;
    }
    ShowVideoWindow(FALSE);
    TearDown();
    BuildRecordGraph(FALSE);
    ReleaseInterfaces();
}

LRESULT CALLBACK CCaptureGraph::HandOverProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CCaptureGraph* self = (CCaptureGraph*)GetWindowLongPtrA(hwnd, GWLP_USERDATA);
    if (self && msg == WM_RING_DELIVERED) {
        self->DeliveredOnUiThread();
        return 0;
    }
    if (self && msg == WM_CAMERA_LOST) {
        self->CameraLostOnUiThread();
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HRESULT CCaptureGraph::ReleaseInterfaces()
{
    Drop(m_pDroppedFrames);
    return CGraphManager::ReleaseInterfaces();
}

// ---------------------------------------------------------------------------------------
// Preview

HRESULT CCaptureGraph::BuildPreviewGraph(int cameraIndex)
{
    if (!m_pGraph || !m_pCaptureBuilder)
        return E_UNEXPECTED;
    if (!m_pVideoRenderer)
        AddFilterByCLSID(CLSID_VideoRenderer, &m_pVideoRenderer, "Video Renderer (Man)");
    // The installed DirectX is newer than 8: no overlay mixer is put in.

    m_pCamera = CreateVideoDevice(cameraIndex, m_strVideoDevice);
    if (!m_pCamera) {
        AfxMessageBox("Could not initialize capture", MB_OK);
        return E_FAIL;
    }
    HRESULT hr = AddFilter(m_pCamera, "Capture Filter (Man)");
    if (FAILED(hr)) {
        ReportError(hr, "Could not add filter to filter graph");
        Drop(m_pCamera);
        return hr;
    }
    m_pCaptureBuilder->FindInterface(&PIN_CATEGORY_CAPTURE, m_pCamera, IID_IAMStreamConfig,
                                     (void**)&m_pVideoFormat);

    m_pAudioDevice = CreateAudioDevice(0, m_strAudioDevice);
    if (m_pAudioDevice) {
        m_pGraph->AddFilter(m_pAudioDevice, NULL);
        if (SUCCEEDED(m_pCaptureBuilder->FindInterface(&PIN_CATEGORY_CAPTURE, m_pAudioDevice,
                                                       IID_IAMStreamConfig,
                                                       (void**)&m_pAudioFormat)) &&
            m_pAudioFormat) {
            AM_MEDIA_TYPE* mt = NULL;
            if (SUCCEEDED(m_pAudioFormat->GetFormat(&mt)) && mt) {
                if (mt->pbFormat && mt->cbFormat >= sizeof(WAVEFORMATEX)) {
                    WAVEFORMATEX* wf = reinterpret_cast<WAVEFORMATEX*>(mt->pbFormat);
                    wf->wFormatTag = WAVE_FORMAT_PCM;
                    wf->nChannels = 1;
                    wf->nSamplesPerSec = 44100;
                    wf->nAvgBytesPerSec = 88200;
                    wf->nBlockAlign = 2;
                    wf->wBitsPerSample = 16;
                    wf->cbSize = 0;
                    m_pAudioFormat->SetFormat(mt);
                }
                DeleteMediaType(mt);
            }
        }
    }

    hr = m_pCaptureBuilder->RenderStream(&PIN_CATEGORY_PREVIEW, m_pCamera, NULL, m_pVideoRenderer);
    if (FAILED(hr)) {
        m_bOverlayInUse = 0;
        DisconnectPins(m_pVideoRenderer, NULL, PINDIR_INPUT);
        DisconnectPins(m_pCamera, NULL, PINDIR_OUTPUT);
        hr = m_pCaptureBuilder->RenderStream(&PIN_CATEGORY_PREVIEW, m_pCamera, NULL,
                                             m_pVideoRenderer);
        if (FAILED(hr)) {
            DisconnectPins(m_pVideoRenderer, NULL, PINDIR_INPUT);
            DisconnectPins(m_pCamera, NULL, PINDIR_OUTPUT);
            return E_FAIL;
        }
    }
    ReadCameraFormat();
    GetUpstreamFilter(m_pVideoRenderer, &m_pFeeder);
    FixPreviewSize();
    m_bBuilt = TRUE;
    return S_OK;
}

// The camera's current format sets the frame size, rate and standard. Format blocks are
// read only when their type and size say what they hold.
void CCaptureGraph::ReadCameraFormat()
{
    AM_MEDIA_TYPE* mt = NULL;
    if (!m_pVideoFormat || FAILED(m_pVideoFormat->GetFormat(&mt)) || !mt)
        return;
    const BITMAPINFOHEADER* bih = NULL;
    REFERENCE_TIME perFrame = 0;
    if (mt->formattype == FORMAT_VideoInfo && mt->pbFormat &&
        mt->cbFormat >= sizeof(VIDEOINFOHEADER)) {
        const VIDEOINFOHEADER* v = reinterpret_cast<const VIDEOINFOHEADER*>(mt->pbFormat);
        bih = &v->bmiHeader, perFrame = v->AvgTimePerFrame;
    } else if (mt->formattype == FORMAT_VideoInfo2 && mt->pbFormat &&
               mt->cbFormat >= sizeof(VIDEOINFOHEADER2)) {
        const VIDEOINFOHEADER2* v = reinterpret_cast<const VIDEOINFOHEADER2*>(mt->pbFormat);
        bih = &v->bmiHeader, perFrame = v->AvgTimePerFrame;
    } else if (mt->formattype == FORMAT_DvInfo) {
        DeleteMediaType(mt);
        ReadConnectionFormat();
        return;
    }
    if (bih) {
        m_nFrameWidth = bih->biWidth;
        m_nFrameHeight = abs(bih->biHeight);
        m_dFrameRate = RateOf(perFrame);
        m_bPAL = m_nFrameHeight == 576 || m_nFrameHeight == 288;
        memset(&m_bih, 0, sizeof m_bih);
        m_bih = *bih;
        m_bih.biSizeImage *= 2;
    }
    DeleteMediaType(mt);
}

HRESULT CCaptureGraph::ReadConnectionFormat()
{
    if (!m_pVideoRenderer)
        return S_OK;
    IBaseFilter* decoder = NULL;
    GetUpstreamFilter(m_pVideoRenderer, &decoder);
    IPin* in = FindPin(decoder, NULL, PINDIR_INPUT);
    if (!in)
        return E_FAIL;
    AM_MEDIA_TYPE mt = {};
    HRESULT hr = in->ConnectionMediaType(&mt);
    in->Release();
    if (FAILED(hr))
        return hr;
    const BITMAPINFOHEADER* bih = NULL;
    REFERENCE_TIME perFrame = 0;
    if (mt.formattype == FORMAT_VideoInfo2 && mt.pbFormat &&
        mt.cbFormat >= sizeof(VIDEOINFOHEADER2)) {
        const VIDEOINFOHEADER2* v = reinterpret_cast<const VIDEOINFOHEADER2*>(mt.pbFormat);
        bih = &v->bmiHeader, perFrame = v->AvgTimePerFrame;
    } else if (mt.formattype == FORMAT_VideoInfo && mt.pbFormat &&
               mt.cbFormat >= sizeof(VIDEOINFOHEADER)) {
        const VIDEOINFOHEADER* v = reinterpret_cast<const VIDEOINFOHEADER*>(mt.pbFormat);
        bih = &v->bmiHeader, perFrame = v->AvgTimePerFrame;
    }
    if (bih) {
        m_nFrameWidth = bih->biWidth;
        m_nFrameHeight = abs(bih->biHeight);
        m_dFrameRate = RateOf(perFrame);
        m_bPAL = m_nFrameHeight == 576 || m_nFrameHeight == 288 || m_nFrameHeight == 144 ||
                 m_nFrameHeight == 72;
        m_bih = *bih;
    }
    FreeMediaType(mt);
    return bih ? S_OK : E_FAIL;
}

void CCaptureGraph::FixPreviewSize()
{
    if (!m_pVideoRenderer)
        return;
    IBaseFilter* feeder = NULL;
    GetUpstreamFilter(m_pVideoRenderer, &feeder);
    if (feeder)
        ConnectFilters(feeder, m_pVideoRenderer, 720, m_bPAL ? 576 : 480);
}

HRESULT CCaptureGraph::ShowVideoWindow(BOOL show)
{
    Stop(show != FALSE);
    WaitForStateChange();
    if (!show)
        return CGraphManager::ShowVideoWindow(FALSE);
    SetMask(m_fMask[0], m_fMask[1], m_fMask[2], m_fMask[3]);
    SetCrop(m_fCrop[0], m_fCrop[1], m_fCrop[2], m_fCrop[3]);
    return CGraphManager::ShowVideoWindow(TRUE);
}

// The window is placed as the playback graph places its real-time window: offsets from the
// window's own size, so the crop's origin lands at the control's corner.
bool CCaptureGraph::SetCrop(float x, float y, float w, float h)
{
    if (!m_pVideoRenderer)
        return false;
    m_fCrop[0] = x, m_fCrop[1] = y, m_fCrop[2] = w, m_fCrop[3] = h;
    WindowPlacement p = RealTimeWindow(608, 456, m_fCrop, m_fMask);
    SetVideoWindowPosition(p.left, p.top, p.width, p.height);
    return true;
}

BOOL CCaptureGraph::SetMask(float x, float y, float w, float h)
{
    m_fMask[0] = x, m_fMask[1] = y, m_fMask[2] = w, m_fMask[3] = h;
    return TRUE;
}

COLORREF CCaptureGraph::GetKeyColor() { return 0x100010; }

HRESULT CCaptureGraph::TearDown()
{
    if (!m_bBuilt)
        return S_OK;
    if (m_bCameraPresent) {
        Stop(true);
        WaitForStateChange();
    }
    m_pFeeder = NULL;
    Drop(m_pAudioFormat);
    Drop(m_pVideoFormat);
    Drop(m_pDroppedFrames);
    Drop(m_pReplayBuffer);
    EnableReplayBuffer(FALSE);
    if (m_pReplayFilter)
        RemoveFilter(&m_pReplayFilter);
    if (m_pCaptureTee) {
        DisconnectPins(m_pCaptureTee, NULL, PINDIR_INPUT);
        Drop(m_pCaptureTee);
    }
    RemoveFilter(&m_pSplitter);
    RemoveFilter(&m_pAudioDevice);
    RemoveFilter(&m_pCamera);
    RemoveFilter(&m_pVideoRenderer);
    m_bBuilt = FALSE;
    return S_OK;
}

// ---------------------------------------------------------------------------------------
// Camera lost

void CCaptureGraph::OnCameraLost()
{
    if (!m_bCameraPresent)
        return;
    AfxMessageBox(kCameraMessage, MB_OK);
    m_bCameraPresent = 0;
    m_bOverlayInUse = 0;
    if (m_bRecordGraphBuilt) {
        Notify(201);
        StopRecording();
    }
    ShowVideoWindow(FALSE);
}

void CCaptureGraph::CameraLostOnUiThread() { OnCameraLost(); }

// ---------------------------------------------------------------------------------------
// Recording

HRESULT CCaptureGraph::Stop(bool report)
{
    return CGraphManager::Stop(report && m_bCameraPresent);
}

HRESULT CCaptureGraph::StartRecord(CString fileName)
{
    if (m_bCameraPresent) {
        Stop(true);
        WaitForStateChange();
    }
    m_strFileName = fileName;
    HRESULT hr = BuildRecordGraph(TRUE);
    // A triggered recording without the replay buffer would never end.
    if (SUCCEEDED(hr) && m_nRecordMode == 1 && !m_pReplayBuffer) {
        BuildRecordGraph(FALSE);
        hr = E_FAIL;
    }
    return hr;
}

HRESULT CCaptureGraph::BuildRecordGraph(BOOL withFile)
{
    m_bTriggered = 0;
    if (m_pFileSink) {
        EnableReplayBuffer(FALSE);
        if (m_pMux)
            DisconnectPins(m_pMux, NULL, PINDIR_INPUT);
        Drop(m_pFileSink);
        RemoveDownstream(m_pMux);
        // Whatever else fed the multiplexer (the camera's sound) is let go with it.
        if (m_pSplitter && m_pGraph) {
            IPin* sound = FindPin(m_pSplitter, "AudOut00", PINDIR_OUTPUT);
            if (sound) {
                IPin* peer = NULL;
                if (sound->ConnectedTo(&peer) == S_OK && peer) {
                    m_pGraph->Disconnect(peer);
                    m_pGraph->Disconnect(sound);
                    peer->Release();
                }
                sound->Release();
            }
        }
        RemoveFilter(&m_pMux);
    }
    if (!withFile) {
        Drop(m_pLevelTrigger);
        if (m_pSoundFilter) {
            DisconnectPins(m_pSoundFilter, NULL, PINDIR_INPUT);
            DisconnectPins(m_pSoundFilter, NULL, PINDIR_OUTPUT);
            RemoveFilter(&m_pSoundFilter);
        }
        RemoveFilter(&m_pSoundRenderer);
        return S_OK;
    }
    if (!m_pGraph || !m_pCaptureBuilder || !m_pCamera)
        return E_UNEXPECTED;
    if (m_pAudioDevice && !m_pSoundRenderer)
        AddFilterByCLSID(CLSID_DSoundRender, &m_pSoundRenderer, "DirectSound Audio Renderer (Man)");

    std::vector<WCHAR> name(261, 0);
    MultiByteToWideChar(CP_ACP, 0, m_strFileName, -1, name.data(), 260);
    HRESULT hr = m_pCaptureBuilder->SetOutputFileName(&MEDIASUBTYPE_Avi, name.data(), &m_pMux,
                                                      &m_pFileSink);
    if (FAILED(hr)) {
        ReportError(hr, "Could not set output file name");
        return hr;
    }
    hr = m_pCaptureBuilder->RenderStream(&PIN_CATEGORY_CAPTURE, m_pCamera, NULL, m_pMux);
    if (SUCCEEDED(hr)) {
        // The builder takes only the camera's video to the file: a plain recording carries
        // the camera's sound too, split from its interleaved stream.
        if (m_nRecordMode == 0) {
            IPin* av = FindPin(m_pCamera, "DV A/V Out", PINDIR_OUTPUT);
            if (av) {
                av->Release();
                if (!m_pSplitter &&
                    SUCCEEDED(AddFilterByCLSID(CLSID_DVSplitter, &m_pSplitter, "DV Splitter (Man)")) &&
                    FAILED(ConnectPins(m_pCamera, "DV A/V Out", m_pSplitter, NULL, NULL)))
                    RemoveFilter(&m_pSplitter);
                if (m_pSplitter)
                    ConnectPins(m_pSplitter, "AudOut00", m_pMux, "Input 02", NULL);
            }
        }
        if (!m_pDroppedFrames)
            m_pCaptureBuilder->FindInterface(&PIN_CATEGORY_CAPTURE, m_pCamera,
                                             IID_IAMDroppedFrames, (void**)&m_pDroppedFrames);
    } else {
        ReportError(hr, "Could not render capture stream");
    }
    if (m_nRecordMode != 0 && m_bSoundTrigger && m_pAudioDevice) {
        if (SUCCEEDED(AddFilterByCLSID(CLSID_LevelTrigger, &m_pSoundFilter, "Sonderic Filter (Man)"))) {
            ConnectPins(m_pAudioDevice, NULL, m_pSoundFilter, NULL, NULL);
            m_pSoundFilter->QueryInterface(IID_ILevelTrigger, (void**)&m_pLevelTrigger);
            if (m_pSoundRenderer)
                ConnectPins(m_pSoundFilter, NULL, m_pSoundRenderer, NULL, NULL);
            if (m_pLevelTrigger) {
                m_pLevelTrigger->SetPassThrough(FALSE);
                m_pLevelTrigger->SetFrameRate(m_dFrameRate);
            }
        }
    }
    m_bRecordGraphBuilt = TRUE;
    if (m_nRecordMode == 1)
        EnableReplayBuffer(TRUE);
    SetGraphClock(TRUE);
    IConfigAviMux* config = NULL;
    hr = m_pMux->QueryInterface(IID_IConfigAviMux, (void**)&config);
    if (FAILED(hr) || !config) {
        AfxMessageBox("Could not get config mux interface", MB_OK);
        return FAILED(hr) ? hr : E_NOINTERFACE;
    }
    config->SetOutputCompatibilityIndex(FALSE);
    config->Release();
    return hr;
}

HRESULT CCaptureGraph::EnableReplayBuffer(BOOL on)
{
    if (on) {
        if (!m_pReplayFilter) {
            if (FAILED(AddFilterByCLSID(m_clsidReplayBuffer, &m_pReplayFilter, "Pondrel (Man)")))
                return E_FAIL;
            m_pReplayFilter->QueryInterface(IID_IReplayBuffer, (void**)&m_pReplayBuffer);
        }
        if (m_pReplayBuffer) {
            m_pReplayBuffer->SetPreTriggerFrames(m_nPreFrames);
            m_pReplayBuffer->SetPostTriggerFrames(m_nPostFrames);
            m_pReplayBuffer->SetFrameRate(m_dFrameRate);
            m_pReplayBuffer->SetTriggerOffset(m_nTriggerOffset);
        }
        IPin* input = FindPin(m_pMux, "Input 01", PINDIR_INPUT);
        if (!input)
            return E_FAIL;
        HRESULT hr = InsertFilterBefore(m_pReplayFilter, input);
        input->Release();
        m_bReplayOn = TRUE;
        return hr;
    }
    HRESULT hr = S_OK;
    if (m_pReplayFilter) {
        hr = RemoveFromChain(m_pReplayFilter);
        RemoveFilter(&m_pReplayFilter);
    }
    Drop(m_pReplayBuffer);
    m_bReplayOn = FALSE;
    return hr;
}

HRESULT CCaptureGraph::BeginRecording()
{
    if (m_bCameraPresent) {
        Run(true);
        WaitForStateChange();
    }
    if (m_pDroppedFrames) {
        m_pDroppedFrames->GetNumDropped(&m_lDroppedAtStart);
        m_pDroppedFrames->GetNumNotDropped(&m_lDeliveredAtStart);
    }
    return S_OK;
}

HRESULT CCaptureGraph::StopRecording()
{
    if (m_pDroppedFrames) {
        m_pDroppedFrames->GetNumDropped(&m_lDropped);
        m_pDroppedFrames->GetNumNotDropped(&m_lDelivered);
    }
    HRESULT hr = Stop(true);
    m_lDropped -= m_lDroppedAtStart;
    m_lDelivered -= m_lDeliveredAtStart;
    BuildRecordGraph(FALSE);
    return hr;
}

BOOL CCaptureGraph::IsCapturing() { return m_pFileSink && GetState() == StateRunning; }

bool CCaptureGraph::TriggerNow()
{
    if (!m_pReplayBuffer)
        return true;
    BYTE can = 0;
    m_pReplayBuffer->CanTrigger(&can);
    if (!can)
        return false;
    m_pReplayBuffer->TriggerNow();
    return true;
}

bool CCaptureGraph::TriggerAt(REFERENCE_TIME t, int* parity)
{
    if (!m_pReplayBuffer)
        return true;
    BYTE can = 0;
    m_pReplayBuffer->CanTrigger(&can);
    if (!can)
        return false;
    m_pReplayBuffer->TriggerAt(t, parity);
    return *parity != -1;
}

// ---------------------------------------------------------------------------------------
// Graph events (on the event thread)

BOOL CCaptureGraph::OnGraphEvent(long code, LONG_PTR param1, LONG_PTR param2)
{
    if (code == EC_FILTER_NOTIFY && param1 == 1 && param2 == 1) {
        if (m_hHandOver)
            PostMessageA(m_hHandOver, WM_RING_DELIVERED, 0, 0);
    } else if (code == EC_FILTER_NOTIFY && param1 == 2) {
        if (m_bTriggered || !m_bSoundTrigger)
            return TRUE;
        const REFERENCE_TIME t = REFERENCE_TIME(param2) * 10000;
        if (!TriggerAt(t, &m_nTriggerParity)) {
            if (m_pLevelTrigger)
                m_pLevelTrigger->Rearm();
            return TRUE;
        }
        m_bTriggered = 1;
        if (GetState() == StateRunning)
            Notify(204);
    } else if (code == EC_ERRORABORT) {
        if (m_bCameraPresent && m_hHandOver)
            PostMessageA(m_hHandOver, WM_CAMERA_LOST, 0, 0);
    }
    return TRUE;
}

void CCaptureGraph::DeliveredOnUiThread()
{
    // A ring that arrives after the recording was stopped by other means is not reported.
    if (!m_pFileSink)
        return;
    StopRecording();
    Notify(200);
}
