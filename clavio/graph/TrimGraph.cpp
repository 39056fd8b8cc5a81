#include "TrimGraph.h"
#include "ProgressDlg.h"
#include "editing.h"
#include "editing_stubs.h"

CTrimGraph::CTrimGraph(CWnd* parent)
    : m_nFirstFrame(0), m_nEndFrame(0), m_pTimeline(NULL), m_pRenderEngine(NULL), m_pBuilder(NULL),
      m_pMux(NULL), m_bBuildSucceeded(0), m_bDone(0), m_bAborted(0),
      m_pProgress(new CProgressDlg(TRUE, parent)), m_pParent(parent)
{
    for (int i = 0; i < kMaxStreams; ++i)
        m_pGroups[i] = m_pObjects[i] = NULL;
    m_pProgress->SetMessage("Trimming clip...");
    CreateGraph(NULL);
}

CTrimGraph::~CTrimGraph()
{
    delete m_pProgress;
    m_pProgress = NULL;
    if (m_bBuilt)
        TearDown();
    ReleaseInterfaces();
}

BOOL CTrimGraph::OnGraphEvent(long code, LONG_PTR, LONG_PTR)
{
    if (code == EC_COMPLETE)
        m_bDone = 1;
    // A writer that failed (a full disk) or a graph stopped from outside never completes:
    // the run ends as a failure instead of waiting for ever.
    else if (code == EC_ERRORABORT || code == EC_USERABORT)
        m_bAborted = 1;
    return TRUE;
}

HRESULT CTrimGraph::BuildTimeline()
{
    m_bBuilt = TRUE;
    // Nothing to cut: an empty graph would wait for an end that never comes.
    if (m_strSource.IsEmpty())
        return E_INVALIDARG;
    HANDLE file = CreateFileA(m_strSource, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return Fail(E_FAIL, "Could not open file " + m_strSource);
    CloseHandle(file);
    WCHAR source[MAX_PATH + 1] = {0}, destination[MAX_PATH + 1] = {0};
    MultiByteToWideChar(CP_ACP, 0, m_strSource, -1, source, MAX_PATH);
    MultiByteToWideChar(CP_ACP, 0, m_strDestination, -1, destination, MAX_PATH);

    if (FAILED(CoCreateInstance(CLSID_AMTimeline, NULL, CLSCTX_INPROC_SERVER, IID_IAMTimeline,
                                (void**)&m_pTimeline)))
        return Fail(E_FAIL, "Could not create timeline");
    IMediaDet* detector = NULL;
    if (FAILED(CoCreateInstance(CLSID_MediaDet, NULL, CLSCTX_INPROC_SERVER, IID_IMediaDet, (void**)&detector)))
        return Fail(E_FAIL, "Could not create MediaDet");

    BSTR name = SysAllocString(source);
    LONG streams = 0;
    HRESULT hr = detector->put_Filename(name);
    if (SUCCEEDED(hr))
        hr = detector->get_OutputStreams(&streams);
    if (SUCCEEDED(hr) && streams <= 0)
        hr = VFW_E_UNSUPPORTED_STREAM;
    if (FAILED(hr)) {
        Fail(hr, "Could not open file " + m_strSource);
    } else if (streams > kMaxStreams) {
        // One group per stream, and room for a picture and its sound only.
        hr = Fail(VFW_E_UNSUPPORTED_STREAM, "Could not create complete trim process");
    }
    // Every stream is cut at the video's rate, whichever stream comes first in the file.
    for (LONG i = 0; SUCCEEDED(hr) && i < streams; ++i) {
        GUID major = GUID_NULL;
        if (SUCCEEDED(detector->put_CurrentStream(i)) && SUCCEEDED(detector->get_StreamType(&major)) &&
            IsEqualGUID(major, MEDIATYPE_Video)) {
            double rate = 0;
            detector->get_FrameRate(&rate);
            m_dFrameRate = rate;
            if (!(rate > 0))
                hr = Fail(VFW_E_INVALIDMEDIATYPE, "Could not create complete trim process");
            break;
        }
    }
    const REFERENCE_TIME t0 = REFERENCE_TIME((2.0 * m_nFirstFrame) / (2.0 * m_dFrameRate) * 1e7);
    const REFERENCE_TIME t1 = REFERENCE_TIME((2.0 * m_nEndFrame) / (2.0 * m_dFrameRate) * 1e7);
    if (SUCCEEDED(hr) && (m_nFirstFrame < 0 || t1 <= t0))
        hr = Fail(E_INVALIDARG, "Could not create complete trim process");

    for (LONG i = 0; SUCCEEDED(hr) && i < streams; ++i) {
        IAMTimelineObj* groupObj = NULL;
        IAMTimelineGroup* group = NULL;
        IAMTimelineComp* comp = NULL;
        IAMTimelineObj* trackObj = NULL;
        IAMTimelineTrack* track = NULL;
        IAMTimelineObj* srcObj = NULL;
        IAMTimelineSrc* src = NULL;
        if (FAILED(m_pTimeline->CreateEmptyNode(&groupObj, TIMELINE_MAJOR_TYPE_GROUP)) ||
            FAILED(groupObj->QueryInterface(IID_IAMTimelineGroup, (void**)&group))) {
            hr = Fail(E_FAIL, "Could not create timeline group");
        } else {
            AM_MEDIA_TYPE streamType = {};
            AM_MEDIA_TYPE groupType = {};
            detector->put_CurrentStream(i);
            detector->get_StreamType(&groupType.majortype);
            hr = group->SetMediaType(&groupType);
            if (SUCCEEDED(hr))
                hr = m_pTimeline->AddGroup(groupObj);
            if (SUCCEEDED(hr))
                hr = m_pTimeline->CreateEmptyNode(&trackObj, TIMELINE_MAJOR_TYPE_TRACK);
            if (SUCCEEDED(hr))
                hr = groupObj->QueryInterface(IID_IAMTimelineComp, (void**)&comp);
            if (SUCCEEDED(hr))
                hr = comp->VTrackInsBefore(trackObj, 0);
            if (SUCCEEDED(hr))
                hr = trackObj->QueryInterface(IID_IAMTimelineTrack, (void**)&track);
            if (SUCCEEDED(hr))
                hr = m_pTimeline->CreateEmptyNode(&srcObj, TIMELINE_MAJOR_TYPE_SOURCE);
            if (SUCCEEDED(hr))
                hr = srcObj->QueryInterface(IID_IAMTimelineSrc, (void**)&src);
            // The pictures are copied in the file's own format, not re-encoded.
            if (SUCCEEDED(hr) && IsEqualGUID(groupType.majortype, MEDIATYPE_Video) &&
                SUCCEEDED(detector->get_StreamMediaType(&streamType))) {
                SCompFmt0 format;
                format.nFormatId = 0;
                format.MediaType = streamType;
                hr = group->SetSmartRecompressFormat((LONG*)&format);
                FreeMediaType(streamType);
            }
            if (SUCCEEDED(hr))
                hr = srcObj->SetStartStop(0, t1 - t0);
            if (SUCCEEDED(hr))
                hr = src->SetMediaName(name);
            if (SUCCEEDED(hr))
                hr = src->SetMediaTimes(t0, t1);
            if (SUCCEEDED(hr))
                hr = track->SrcAdd(srcObj);
            if (FAILED(hr))
                Fail(E_FAIL, "Could not create timeline group");
            else {
                m_pGroups[i] = groupObj;
                m_pObjects[i] = srcObj;
                groupObj->AddRef();
                srcObj->AddRef();
            }
        }
        for (IUnknown* u : {(IUnknown*)src, (IUnknown*)srcObj, (IUnknown*)track, (IUnknown*)trackObj,
                            (IUnknown*)comp, (IUnknown*)group, (IUnknown*)groupObj})
            if (u)
                u->Release();
    }
    SysFreeString(name);
    detector->Release();
    if (FAILED(hr))
        return hr;

    if (FAILED(CoCreateInstance(CLSID_SmartRenderEngine, NULL, CLSCTX_INPROC_SERVER, IID_IRenderEngine,
                                (void**)&m_pRenderEngine)))
        return Fail(E_FAIL, "Could not create render engine");
    if (FAILED(m_pRenderEngine->SetFilterGraph(m_pGraph)))
        AfxMessageBox("Problem setting render engine filter graph");
    m_pRenderEngine->SetTimelineObject(m_pTimeline);
    if (FAILED(m_pRenderEngine->ConnectFrontEnd()))
        return Fail(E_FAIL, "Could not create complete trim process");

    if (FAILED(CoCreateInstance(CLSID_CaptureGraphBuilder2, NULL, CLSCTX_INPROC_SERVER, IID_ICaptureGraphBuilder2,
                                (void**)&m_pBuilder)) ||
        FAILED(m_pBuilder->SetFiltergraph(m_pGraph)))
        return Fail(E_FAIL, "Could not create complete trim process");
    hr = m_pBuilder->SetOutputFileName(&MEDIASUBTYPE_Avi, destination, &m_pMux, NULL);
    if (FAILED(hr))
        return Fail(hr, "Could not mux to file writer");
    IConfigAviMux* config = NULL;
    if (SUCCEEDED(m_pMux->QueryInterface(IID_IConfigAviMux, (void**)&config)) && config) {
        config->SetOutputCompatibilityIndex(FALSE);
        config->Release();
    } else {
        AfxMessageBox("Could not get config mux interface");
    }
    LONG groups = 0;
    m_pTimeline->GetGroupCount(&groups);
    for (LONG g = 0; g < groups; ++g) {
        IPin* pin = NULL;
        if (FAILED(m_pRenderEngine->GetGroupOutputPin(g, &pin)) || !pin)
            continue;
        hr = m_pBuilder->RenderStream(NULL, NULL, pin, NULL, m_pMux);
        pin->Release();
        // A stream that does not reach the file would be lost from the trimmed clip.
        if (FAILED(hr))
            return Fail(hr, "Could not create complete trim process");
    }
    m_bBuilt = TRUE;
    return S_OK;
}

UINT CTrimGraph::BuildThreadProc(LPVOID param)
{
    CTrimGraph* self = static_cast<CTrimGraph*>(param);
    HRESULT init = CoInitializeEx(NULL, COINIT_MULTITHREADED);
    if (self->BuildTimeline() == S_OK)
        self->m_bBuildSucceeded = 1;
    if (SUCCEEDED(init))
        CoUninitialize();
    return 0;
}


int CTrimGraph::Run()
{
    if (m_bBuilt)
        TearDown();
    if (!m_pGraph || !m_pMediaControl)
        return 1;
    m_bBuildSucceeded = 0;
    m_bDone = 0;
    m_bAborted = 0;
    CWinThread* worker = AfxBeginThread(BuildThreadProc, this, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    if (!worker)
        return 1;
    worker->m_bAutoDelete = FALSE;
    worker->ResumeThread();
    while (WaitForSingleObject(worker->m_hThread, 0) == WAIT_TIMEOUT)
        PumpMessages(worker->m_hThread, INFINITE);
    delete worker;
    if (!m_bBuildSucceeded)
        return 1;

    m_pProgress->SetRange(m_nEndFrame - m_nFirstFrame);
    m_pProgress->Show(m_pParent);
    HRESULT hr = m_pMediaControl->Run();
    if (FAILED(hr)) {
        ReportError(hr, "Could not Play");
        return 1;
    }
    SetState(StateRunning);
    long highest = 0;
    while (!m_bDone) {
        PumpMessages(NULL, 20);
        if (m_pProgress->IsCancelled() || m_bAborted) {
            m_pMediaControl->Stop();
            SetState(StateStopped);
            return 1;
        }
        for (long frame = FramesWritten(m_pMux); highest < frame; ++highest)
            m_pProgress->StepIt();
    }
    Stop(false);
    WaitForStateChange();
    return 0;
}

HRESULT CTrimGraph::TearDown()
{
    if (!m_bBuilt)
        return S_OK;
    if (m_pMediaControl) {
        m_pMediaControl->Stop();
        WaitForStateChange();
        SetState(StateStopped);
    }
    if (m_pRenderEngine)
        m_pRenderEngine->ScrapIt();
    if (m_pTimeline)
        m_pTimeline->ClearAllGroups();
    for (int i = 0; i < kMaxStreams; ++i) {
        ReleaseAndClear(m_pGroups[i]);
        ReleaseAndClear(m_pObjects[i]);
    }
    ReleaseAndClear(m_pRenderEngine);
    ReleaseAndClear(m_pTimeline);
    // The writer goes with the multiplexer, so the new file is closed once torn down.
    RemoveDownstream(m_pMux);
    RemoveFilter(&m_pMux);
    ReleaseAndClear(m_pBuilder);
    m_bBuilt = FALSE;
    return S_OK;
}
