#include "TranscodeGraph.h"
#include "ProgressDlg.h"

// The class of the compressor transcoded clips are written with.
static const CLSID CLSID_ClipCompressor = {0x1f73e9b1, 0x8c3a, 0x11d0, {0xa3, 0xbe, 0x00, 0xa0, 0xc9, 0x24, 0x44, 0x36}};

namespace {

bool IsPalHeight(int height)
{
    return height == 576 || height == 288 || height == 144 || height == 72;
}

} // namespace

CTranscodeGraph::CTranscodeGraph()
    : m_nStartFrame(0), m_nEndFrame(0), m_pSource(NULL), m_pEncoder(NULL), m_pMux(NULL), m_pUpstream(NULL),
      m_pSeeking(NULL), m_bAborted(0), m_pProgress(new CProgressDlg(TRUE, NULL))
{
    m_pProgress->SetMessage("Transcoding clip...");
    CreateGraph(NULL);
}

CTranscodeGraph::~CTranscodeGraph()
{
    delete m_pProgress;
    m_pProgress = NULL;
    if (m_bBuilt)
        TearDown();
    ReleaseInterfaces();
}

BOOL CTranscodeGraph::OnGraphEvent(long code, LONG_PTR, LONG_PTR)
{
    if (code == EC_COMPLETE) {
        if (m_pMediaControl)
            m_pMediaControl->Stop();
        SetState(StateStopped);
    } else if (code == EC_ERRORABORT || code == EC_USERABORT) {
        // The writer failed (a full disk) or the graph was stopped from outside: the file
        // is not complete, and the end of the stream will not come.
        m_bAborted = 1;
        SetState(StateStopped);
    }
    return TRUE;
}

HRESULT CTranscodeGraph::BuildGraph()
{
    if (m_bBuilt)
        TearDown();
    // Nothing to transcode is no transcode: the caller would send a file never written.
    if (m_strSource.IsEmpty())
        return E_INVALIDARG;
    if (!m_pGraph || !m_pCaptureBuilder)
        return E_UNEXPECTED;
    HANDLE file = CreateFileA(m_strSource, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return Fail(E_FAIL, "Could not open file " + m_strSource);
    CloseHandle(file);
    m_bBuilt = TRUE;  // from here on TearDown takes out what was added

    WCHAR source[MAX_PATH + 1] = {0}, destination[MAX_PATH + 1] = {0};
    MultiByteToWideChar(CP_ACP, 0, m_strSource, -1, source, MAX_PATH);
    MultiByteToWideChar(CP_ACP, 0, m_strDestination, -1, destination, MAX_PATH);
    HRESULT hr = m_pCaptureBuilder->SetOutputFileName(&MEDIASUBTYPE_Avi, destination, &m_pMux, NULL);
    if (FAILED(hr))
        return Fail(hr, "Could not mux to file writer");
    hr = m_pGraph->AddSourceFilter(source, NULL, &m_pSource);
    if (FAILED(hr))
        return Fail(hr, "Could not add source filter");
    hr = AddFilterByCLSID(CLSID_ClipCompressor, &m_pEncoder, "indeo encoder (man)");
    if (FAILED(hr))
        return Fail(hr, "Could not add Indeo Encoder");

    // Pictures through the compressor into the multiplexer, the sound straight in.
    ConnectPins(m_pSource, NULL, m_pEncoder, NULL, NULL);
    m_pCaptureBuilder->RenderStream(NULL, m_pSource, m_pEncoder, m_pMux);
    m_pCaptureBuilder->RenderStream(NULL, m_pSource, NULL, m_pMux);

    GetUpstreamFilter(m_pEncoder, &m_pUpstream);
    if (m_pUpstream) {
        hr = AdjustEncoder();
        if (FAILED(hr))
            return hr;
    }
    hr = m_pCaptureBuilder->RenderStream(NULL, m_pEncoder, NULL, m_pMux);
    if (FAILED(hr))
        return Fail(hr, "Could not connect pins");

    IMediaFilter* filter = NULL;
    hr = m_pGraph->QueryInterface(IID_IMediaFilter, (void**)&filter);
    if (FAILED(hr))
        return Fail(hr, "No media filter");
    filter->SetSyncSource(NULL);  // no clock: as fast as the filters go
    filter->Release();
    hr = m_pGraph->QueryInterface(IID_IMediaSeeking, (void**)&m_pSeeking);
    if (FAILED(hr))
        return Fail(hr, "IMediaSeekingInterface not supported\n");
    hr = m_pSeeking->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME);
    if (FAILED(hr))
        return Fail(hr, "Could not set time format\n");
    return S_OK;
}

// The compressor takes the decoded pictures at their full size and rate, with a key frame
// every ten pictures at half quality.
HRESULT CTranscodeGraph::AdjustEncoder()
{
    IPin* in = FindPin(m_pUpstream, NULL, PINDIR_INPUT);
    AM_MEDIA_TYPE mt = {};
    double rate = 0;
    if (in && SUCCEEDED(in->ConnectionMediaType(&mt))) {
        // Only a video format block of its full size is read.
        if (mt.formattype == FORMAT_VideoInfo && mt.pbFormat && mt.cbFormat >= sizeof(VIDEOINFOHEADER)) {
            const VIDEOINFOHEADER* v = reinterpret_cast<const VIDEOINFOHEADER*>(mt.pbFormat);
            m_nFrameWidth = v->bmiHeader.biWidth;
            m_nFrameHeight = abs(v->bmiHeader.biHeight);
            if (v->AvgTimePerFrame > 0)
                rate = 1.0 / (v->AvgTimePerFrame * 1e-7);
            m_bPAL = IsPalHeight(m_nFrameHeight);
        }
        FreeMediaType(mt);
    }
    if (in)
        in->Release();
    // Without a rate no frame can be placed: nothing would be written.
    if (!(rate > 0))
        return Fail(VFW_E_INVALIDMEDIATYPE, "Could not adjust media type");
    m_dFrameRate = rate;

    IAMStreamConfig* config = NULL;
    if (SUCCEEDED(m_pCaptureBuilder->FindInterface(NULL, m_pEncoder, IID_IAMStreamConfig, (void**)&config)) &&
        config) {
        AM_MEDIA_TYPE* format = NULL;
        if (SUCCEEDED(config->GetFormat(&format)) && format) {
            if (format->formattype == FORMAT_VideoInfo && format->pbFormat &&
                format->cbFormat >= sizeof(VIDEOINFOHEADER)) {
                VIDEOINFOHEADER* v = reinterpret_cast<VIDEOINFOHEADER*>(format->pbFormat);
                v->dwBitRate = DWORD(double(v->bmiHeader.biBitCount) * m_nFrameHeight * m_nFrameWidth * m_dFrameRate);
                config->SetFormat(format);
            }
            DeleteMediaType(format);
        }
        IAMVideoCompression* compression = NULL;
        if (SUCCEEDED(config->QueryInterface(IID_IAMVideoCompression, (void**)&compression)) && compression) {
            compression->put_KeyFrameRate(10);
            compression->put_Quality(0.5);
            compression->Release();
        }
        config->Release();
    }
    DisconnectPins(m_pEncoder, NULL, PINDIR_INPUT);
    DisconnectPins(m_pEncoder, NULL, PINDIR_OUTPUT);
    // Connected first, then given the full picture size: a type is read from a connection.
    HRESULT hr = ConnectPins(m_pUpstream, NULL, m_pEncoder, NULL, NULL);
    if (SUCCEEDED(hr) && FAILED(ConnectFilters(m_pUpstream, m_pEncoder, 720, m_bPAL ? 576 : 480))) {
        AfxMessageBox("Could not adjust media type");
        if (!IsPinConnected(m_pEncoder, NULL, PINDIR_INPUT))
            hr = ConnectPins(m_pUpstream, NULL, m_pEncoder, NULL, NULL);
    }
    return hr;
}

HRESULT CTranscodeGraph::PlayRange()
{
    if (!m_pSeeking)
        return E_UNEXPECTED;
    // The end frame is written too: the stop falls between its two fields.
    LONGLONG start = LONGLONG((2.0 * m_nStartFrame) / (2.0 * m_dFrameRate) * 1e7);
    LONGLONG stop = LONGLONG((2.0 * m_nEndFrame + 1) / (2.0 * m_dFrameRate) * 1e7);
    m_pMediaControl->Stop();
    HRESULT hr = m_pSeeking->SetPositions(&start, AM_SEEKING_AbsolutePositioning, &stop,
                                          AM_SEEKING_AbsolutePositioning);
    if (SUCCEEDED(hr))
        hr = m_pMediaControl->Run();
    if (FAILED(hr)) {
        ReportError(hr, "Could not Play");
        return hr;
    }
    SetState(StateRunning);
    return S_OK;
}

int CTranscodeGraph::Transcode()
{
    if (!m_bBuilt || !m_pSeeking || m_nEndFrame < m_nStartFrame || m_nStartFrame < 0)
        return 1;
    m_bAborted = 0;
    m_pProgress->SetRange(m_nEndFrame - m_nStartFrame + 1);
    m_pProgress->Show(NULL);
    if (FAILED(PlayRange()))
        return 1;
    long highest = 0;
    for (;;) {
        PumpMessages(NULL, 20);
        if (m_pProgress->IsCancelled())
            break;
        for (long frame = FramesWritten(m_pMux); highest < frame; ++highest)
            m_pProgress->StepIt();
        if (m_bAborted) {
            m_pMediaControl->Stop();
            return 1;
        }
        if (GetState() != StateRunning)
            return 0;
    }
    m_pMediaControl->Stop();
    SetState(StateStopped);
    AfxMessageBox("Transcode has been cancelled.", MB_ICONINFORMATION);
    return 1;
}

HRESULT CTranscodeGraph::TearDown()
{
    if (!m_bBuilt)
        return S_OK;
    if (m_pMediaControl) {
        m_pMediaControl->Stop();
        WaitForStateChange();
        SetState(StateStopped);
    }
    SetGraphClock(TRUE);
    ReleaseAndClear(m_pSeeking);
    if (m_pEncoder) {
        DisconnectPins(m_pEncoder, NULL, PINDIR_INPUT);
        DisconnectPins(m_pEncoder, NULL, PINDIR_OUTPUT);
    }
    // The writer goes with the multiplexer, so the new file is closed once torn down.
    RemoveDownstream(m_pMux);
    RemoveFilter(&m_pMux);
    RemoveFilter(&m_pEncoder);
    RemoveDownstream(m_pSource);
    m_pUpstream = NULL;
    RemoveFilter(&m_pSource);
    m_bBuilt = FALSE;
    return S_OK;
}
