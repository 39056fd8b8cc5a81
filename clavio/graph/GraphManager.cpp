#include "GraphManager.h"
#include "../engine/VideoEngine.h"
#include <errors.h>
#include <olectl.h>
#include <vector>

namespace {

// A wide name from ANSI text (at most `limit` characters, the rest dropped).
std::vector<WCHAR> Wide(const char* text, int limit)
{
    std::vector<WCHAR> w(limit + 1, 0);
    if (text)
        MultiByteToWideChar(CP_ACP, 0, text, -1, w.data(), limit);
    w[limit] = 0;
    return w;
}

CString Ansi(const WCHAR* text)
{
    CString s;
    if (!text)
        return s;
    int n = WideCharToMultiByte(CP_ACP, 0, text, -1, NULL, 0, NULL, NULL);
    if (n > 0) {
        WideCharToMultiByte(CP_ACP, 0, text, -1, s.GetBuffer(n), n, NULL, NULL);
        s.ReleaseBuffer();
    }
    return s;
}

// The n-th pin of a direction (referenced), or null.
IPin* FirstPinOf(IBaseFilter* filter, PIN_DIRECTION direction)
{
    return CGraphManager::FindPin(filter, NULL, direction);
}

CString FriendlyName(IMoniker* moniker, bool* read)
{
    CString name;
    *read = false;
    IPropertyBag* bag = NULL;
    if (FAILED(moniker->BindToStorage(NULL, NULL, IID_IPropertyBag, (void**)&bag)) || !bag)
        return name;
    VARIANT v;
    VariantInit(&v);
    if (SUCCEEDED(bag->Read(L"FriendlyName", &v, NULL)) && V_VT(&v) == VT_BSTR) {
        name = Ansi(V_BSTR(&v));
        *read = true;
    }
    VariantClear(&v);
    bag->Release();
    return name;
}

IEnumMoniker* DeviceMonikers(REFCLSID category)
{
    ICreateDevEnum* devEnum = NULL;
    if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, NULL, CLSCTX_INPROC_SERVER,
                                IID_ICreateDevEnum, (void**)&devEnum)) || !devEnum)
        return NULL;
    IEnumMoniker* monikers = NULL;
    HRESULT hr = devEnum->CreateClassEnumerator(category, &monikers, 0);
    devEnum->Release();
    if (hr != S_OK)
        CGraphManager::ReleaseAndClear(monikers);
    return monikers;
}

// The pause worker: it holds its own reference on the graph's control interface, so it
// never reaches a graph object that has gone while it was blocked.
DWORD WINAPI PauseWorker(LPVOID param)
{
    IMediaControl* control = static_cast<IMediaControl*>(param);
    RunReportingExceptions("Unhandled exception in PauseThread.", [control] { control->Pause(); });
    OutputDebugStringA("Pause thread exited\n");
    control->Release();
    return 0;
}

} // namespace

CGraphManager::CGraphManager()
    : m_pGraph(NULL), m_pMediaControl(NULL), m_pMediaPosition(NULL), m_pMediaEvent(NULL),
      m_pCaptureBuilder(NULL), m_pMediaSeeking(NULL), m_pVideoRenderer(NULL),
      m_pNotifyWnd(NULL), m_bBuilt(FALSE), m_bPAL(FALSE), m_nFrameWidth(720),
      m_nFrameHeight(480), m_dFrameRate(29.97), m_nState(StateNone), m_bShared(FALSE),
      m_pPartner(NULL), m_pEventThread(NULL), m_bEventThreadRunning(FALSE), m_hEvent(NULL)
{
}

CGraphManager::~CGraphManager()
{
    // By now the object is a graph manager again: the base release runs whatever the
    // derived class put in that slot.
    CGraphManager::ReleaseInterfaces();
}

void CGraphManager::ReportError(HRESULT hr, const char* text)
{
    char error[160] = "";
    AMGetErrorTextA(hr, error, sizeof error);
    CString message;
    message.Format("%s %s", text ? text : "", error);
    AfxMessageBox(message, MB_OK);
}

void CGraphManager::PumpMessages(HANDLE handle, DWORD ms)
{
    MsgWaitForMultipleObjects(handle ? 1 : 0, handle ? &handle : NULL, FALSE, ms, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(int(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void CGraphManager::Notify(WPARAM code)
{
    HWND window = m_pNotifyWnd ? m_pNotifyWnd->GetSafeHwnd() : NULL;
    if (window)
        ::PostMessageA(window, WM_VIDEO_NOTIFY, code, 0);
}

HRESULT CGraphManager::CreateGraph(CGraphManager* partner)
{
    HRESULT hr;
    if (!partner) {
        hr = CoCreateInstance(CLSID_FilterGraph, NULL, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                              (void**)&m_pGraph);
        if (FAILED(hr)) {
            ReportError(hr, "Could not instantiate Filter Graph Builder");
            return hr;
        }
        hr = m_pGraph->QueryInterface(IID_IMediaControl, (void**)&m_pMediaControl);
        if (FAILED(hr)) {
            ReportError(hr, "Could not get Filter Graph media control interface");
            return hr;
        }
    } else {
        if (!partner->m_pGraph || !partner->m_pMediaControl) {
            ReportError(E_POINTER, "Could not get Filter Graph media control interface");
            return E_POINTER;
        }
        m_pGraph = partner->m_pGraph;
        m_pGraph->AddRef();
        m_pPartner = partner;
        m_bShared = TRUE;
        m_pMediaControl = partner->m_pMediaControl;
        m_pMediaControl->AddRef();
    }
    hr = m_pGraph->QueryInterface(IID_IMediaPosition, (void**)&m_pMediaPosition);
    if (FAILED(hr)) {
        ReportError(hr, "Could not get Filter Graph media position interface");
        return hr;
    }
    hr = CoCreateInstance(CLSID_CaptureGraphBuilder, NULL, CLSCTX_INPROC_SERVER,
                          IID_ICaptureGraphBuilder, (void**)&m_pCaptureBuilder);
    if (FAILED(hr)) {
        ReportError(hr, "Could not instantiate Capture Graph Builder");
        return hr;
    }
    hr = m_pCaptureBuilder->SetFiltergraph(m_pGraph);
    if (FAILED(hr)) {
        ReportError(hr, "Could not SetFiltergraph on Capture Graph Builder");
        return hr;
    }
    m_pGraph->QueryInterface(IID_IMediaEvent, (void**)&m_pMediaEvent);
    StartEventThread();
    return S_OK;
}

// ---------------------------------------------------------------------------------------
// Graph events

void CGraphManager::StartEventThread()
{
    // A graph created again after a release gets a thread of its own again.
    if (m_pEventThread || !m_pMediaEvent)
        return;
    OAEVENT handle = 0;
    if (FAILED(m_pMediaEvent->GetEventHandle(&handle)) || !handle)
        return;
    m_hEvent = (HANDLE)handle;
    InterlockedExchange(&m_bEventThreadRunning, TRUE);
    m_pEventThread = AfxBeginThread(EventThreadProc, this, THREAD_PRIORITY_NORMAL, 0,
                                    CREATE_SUSPENDED);
    if (!m_pEventThread) {
        InterlockedExchange(&m_bEventThreadRunning, FALSE);
        return;
    }
    m_pEventThread->m_bAutoDelete = FALSE;
    m_pEventThread->ResumeThread();
}

UINT CGraphManager::EventThreadProc(LPVOID param)
{
    if (param)
        static_cast<CGraphManager*>(param)->EventLoop();
    return 0;
}

void CGraphManager::EventLoop()
{
    while (m_bEventThreadRunning) {
        WaitForSingleObject(m_hEvent, INFINITE);
        if (!m_bEventThreadRunning)
            break;
        LONG code = 0;
        LONG_PTR p1 = 0, p2 = 0;
        if (m_pMediaEvent->GetEvent(&code, &p1, &p2, 0) != S_OK)
            continue;
        OnGraphEvent(code, p1, p2);
        // The filters' own event carries two integers: neither may be freed as a string.
        if (code == EC_FILTER_NOTIFY)
            p1 = p2 = 0;
        m_pMediaEvent->FreeEventParams(code, p1, p2);
    }
}

void CGraphManager::StopEventThread()
{
    if (!m_pEventThread)
        return;
    InterlockedExchange(&m_bEventThreadRunning, FALSE);
    SetEvent(m_hEvent);
    WaitForSingleObject(m_pEventThread->m_hThread, INFINITE);
    delete m_pEventThread;
    m_pEventThread = NULL;
    m_hEvent = NULL;
}

BOOL CGraphManager::OnGraphEvent(long, LONG_PTR, LONG_PTR) { return TRUE; }

HRESULT CGraphManager::ReleaseInterfaces()
{
    StopEventThread();
    ReleaseAndClear(m_pMediaEvent);
    ReleaseAndClear(m_pCaptureBuilder);
    ReleaseAndClear(m_pMediaPosition);
    ReleaseAndClear(m_pMediaControl);
    ReleaseAndClear(m_pGraph);
    return S_OK;
}

// ---------------------------------------------------------------------------------------
// Devices

IBaseFilter* CGraphManager::CreateVideoDevice(int index, CString& name)
{
    CString wanted = name;
    wanted.MakeUpper();
    name = "";
    IEnumMoniker* monikers = DeviceMonikers(CLSID_VideoInputDeviceCategory);
    if (!monikers)
        return NULL;
    IBaseFilter* device = NULL;
    IMoniker* moniker = NULL;
    int counter = 0;
    while (!device && monikers->Next(1, &moniker, NULL) == S_OK) {
        if (counter < index) {
            ++counter;
            moniker->Release();
            continue;
        }
        bool read = false;
        CString friendly = FriendlyName(moniker, &read);
        bool accept = true;
        if (read) {
            name = friendly;
            CString upper = friendly;
            upper.MakeUpper();
            accept = wanted.IsEmpty() || upper.Find(wanted) >= 0;
        }
        if (accept && FAILED(moniker->BindToObject(NULL, NULL, IID_IBaseFilter, (void**)&device)))
            device = NULL;
        moniker->Release();
    }
    monikers->Release();
    return device;
}

IBaseFilter* CGraphManager::CreateAudioDevice(int index, CString& name)
{
    IEnumMoniker* monikers = DeviceMonikers(CLSID_AudioInputDeviceCategory);
    if (!monikers)
        return NULL;
    IBaseFilter* device = NULL;
    IMoniker* moniker = NULL;
    for (int counter = 0; !device && monikers->Next(1, &moniker, NULL) == S_OK; ++counter) {
        if (counter == index) {
            bool read = false;
            CString friendly = FriendlyName(moniker, &read);
            if (read)
                name = friendly;
            if (FAILED(moniker->BindToObject(NULL, NULL, IID_IBaseFilter, (void**)&device)))
                device = NULL;
        }
        moniker->Release();
        if (counter >= index)
            break;
    }
    monikers->Release();
    return device;
}

// ---------------------------------------------------------------------------------------
// Filters and pins

HRESULT CGraphManager::AddFilterByCLSID(CLSID clsid, IBaseFilter** filter, const char* name)
{
    if (!filter)
        return E_POINTER;
    *filter = NULL;
    if (!m_pGraph)
        return E_UNEXPECTED;
    HRESULT hr = CoCreateInstance(clsid, NULL, CLSCTX_INPROC, IID_IBaseFilter, (void**)filter);
    if (FAILED(hr)) {
        *filter = NULL;
        ReportError(hr, "Could not instantiate filter");
        return hr;
    }
    std::vector<WCHAR> wide = Wide(name, 256);
    hr = m_pGraph->AddFilter(*filter, name ? wide.data() : NULL);
    if (FAILED(hr)) {
        ReleaseAndClear(*filter);
        ReportError(hr, "Could not add filter to filter graph");
    }
    return hr;
}

HRESULT CGraphManager::AddFilter(IBaseFilter* filter, CString name)
{
    if (!m_pGraph || !filter)
        return E_POINTER;
    std::vector<WCHAR> wide = Wide(name, 260);
    return m_pGraph->AddFilter(filter, wide.data());
}

HRESULT CGraphManager::RemoveFilter(IBaseFilter** filter)
{
    if (!filter || !*filter)
        return S_OK;
    if (m_pGraph) {
        HRESULT hr = m_pGraph->RemoveFilter(*filter);
        if (FAILED(hr)) {
            ReportError(hr, "Could not Remove Filter");
            return hr;
        }
    }
    ReleaseAndClear(*filter);
    return S_OK;
}

HRESULT CGraphManager::RemoveDownstream(IBaseFilter* filter)
{
    if (!filter || !m_pGraph)
        return S_OK;
    IEnumPins* pins = NULL;
    if (FAILED(filter->EnumPins(&pins)) || !pins)
        return S_OK;
    IPin* pin = NULL;
    while (pins->Next(1, &pin, NULL) == S_OK) {
        IPin* peer = NULL;
        if (pin->ConnectedTo(&peer) == S_OK && peer) {
            PIN_INFO info = {};
            if (SUCCEEDED(peer->QueryPinInfo(&info)) && info.dir == PINDIR_INPUT && info.pFilter) {
                RemoveDownstream(info.pFilter);
                m_pGraph->Disconnect(peer);
                m_pGraph->Disconnect(pin);
                m_pGraph->RemoveFilter(info.pFilter);
            }
            if (info.pFilter)
                info.pFilter->Release();
            peer->Release();
        }
        pin->Release();
    }
    pins->Release();
    return S_OK;
}

IPin* CGraphManager::FindPin(IBaseFilter* filter, const char* pinName, PIN_DIRECTION direction)
{
    if (!filter)
        return NULL;
    IEnumPins* pins = NULL;
    if (FAILED(filter->EnumPins(&pins)) || !pins)
        return NULL;
    IPin* pin = NULL;
    IPin* found = NULL;
    while (!found && pins->Next(1, &pin, NULL) == S_OK) {
        PIN_DIRECTION d;
        if (SUCCEEDED(pin->QueryDirection(&d)) && d == direction) {
            if (!pinName) {
                found = pin;
                continue;
            }
            PIN_INFO info = {};
            if (SUCCEEDED(pin->QueryPinInfo(&info))) {
                if (info.pFilter)
                    info.pFilter->Release();
                if (Ansi(info.achName) == pinName) {
                    found = pin;
                    continue;
                }
            }
        }
        pin->Release();
    }
    pins->Release();
    return found;
}

BOOL CGraphManager::IsPinConnected(IBaseFilter* filter, const char* pinName, PIN_DIRECTION direction)
{
    IPin* pin = FindPin(filter, pinName, direction);
    if (!pin)
        return FALSE;
    IPin* peer = NULL;
    BOOL connected = pin->ConnectedTo(&peer) == S_OK && peer;
    if (peer)
        peer->Release();
    pin->Release();
    return connected;
}

HRESULT CGraphManager::GetUpstreamFilter(IBaseFilter* filter, IBaseFilter** upstream)
{
    if (!upstream)
        return E_POINTER;
    *upstream = NULL;
    if (!filter)
        return S_OK;
    IEnumPins* pins = NULL;
    if (FAILED(filter->EnumPins(&pins)) || !pins)
        return S_OK;
    IPin* pin = NULL;
    while (!*upstream && pins->Next(1, &pin, NULL) == S_OK) {
        IPin* peer = NULL;
        if (pin->ConnectedTo(&peer) == S_OK && peer) {
            PIN_INFO info = {};
            if (SUCCEEDED(peer->QueryPinInfo(&info)) && info.pFilter) {
                if (info.dir == PINDIR_OUTPUT)
                    *upstream = info.pFilter;   // valid while it is in the graph
                info.pFilter->Release();
            }
            peer->Release();
        }
        pin->Release();
    }
    pins->Release();
    return S_OK;
}

HRESULT CGraphManager::GetFilterName(IBaseFilter* filter, CString& name)
{
    name = "";
    FILTER_INFO info = {};
    if (filter && SUCCEEDED(filter->QueryFilterInfo(&info))) {
        name = Ansi(info.achName);
        if (info.pGraph)
            info.pGraph->Release();
    }
    return S_OK;
}

HRESULT CGraphManager::ConnectPins(IBaseFilter* from, const char* outputPin, IBaseFilter* to,
                                   const char* inputPin, AM_MEDIA_TYPE* type)
{
    if (!from || !to)
        return E_INVALIDARG;
    if (!m_pGraph)
        return E_UNEXPECTED;
    IPin* out = FindPin(from, outputPin, PINDIR_OUTPUT);
    IPin* in = FindPin(to, inputPin, PINDIR_INPUT);
    HRESULT hr = E_FAIL;
    if (out && in) {
        hr = type ? m_pGraph->ConnectDirect(out, in, type) : m_pGraph->Connect(out, in);
        if (FAILED(hr))
            ReportError(hr, "Could not connect pins");
    }
    if (out)
        out->Release();
    if (in)
        in->Release();
    return hr;
}

HRESULT CGraphManager::ConnectFilters(IBaseFilter* upstream, IBaseFilter* downstream, int width,
                                      int height)
{
    if (!m_pGraph)
        return E_UNEXPECTED;
    IPin* out = FirstPinOf(upstream, PINDIR_OUTPUT);
    IPin* in = FirstPinOf(downstream, PINDIR_INPUT);
    if (!out || !in) {
        if (out)
            out->Release();
        if (in)
            in->Release();
        ReportError(E_FAIL, "Could not connect, no Pins");
        return E_FAIL;
    }
    AM_MEDIA_TYPE mt = {};
    HRESULT hr = out->ConnectionMediaType(&mt);
    if (SUCCEEDED(hr)) {
        // Only a video format block of the size its type needs is rewritten.
        BITMAPINFOHEADER* bmi = NULL;
        RECT* source = NULL;
        RECT* target = NULL;
        DWORD* bitRate = NULL;
        REFERENCE_TIME avgTime = 0;
        if (mt.formattype == FORMAT_VideoInfo2 && mt.pbFormat &&
            mt.cbFormat >= sizeof(VIDEOINFOHEADER2)) {
            VIDEOINFOHEADER2* v = reinterpret_cast<VIDEOINFOHEADER2*>(mt.pbFormat);
            bmi = &v->bmiHeader, source = &v->rcSource, target = &v->rcTarget;
            bitRate = &v->dwBitRate, avgTime = v->AvgTimePerFrame;
        } else if (mt.formattype == FORMAT_VideoInfo && mt.pbFormat &&
                   mt.cbFormat >= sizeof(VIDEOINFOHEADER)) {
            VIDEOINFOHEADER* v = reinterpret_cast<VIDEOINFOHEADER*>(mt.pbFormat);
            bmi = &v->bmiHeader, source = &v->rcSource, target = &v->rcTarget;
            bitRate = &v->dwBitRate, avgTime = v->AvgTimePerFrame;
        }
        if (!bmi) {
            hr = E_FAIL;
        } else {
            SetRectEmpty(source);
            SetRectEmpty(target);
            DWORD image = DWORD(bmi->biBitCount / 8) * DWORD(width) * DWORD(height);
            if (avgTime != 0)
                *bitRate = DWORD(1.0 / (avgTime * 1e-7) * image * 8);
            bmi->biWidth = width;
            bmi->biHeight = height;
            bmi->biSizeImage = image;
            mt.lSampleSize = image;
            hr = S_OK;
            if (out->QueryAccept(&mt) == S_OK) {
                m_pGraph->Disconnect(out);
                m_pGraph->Disconnect(in);
                hr = m_pGraph->ConnectDirect(out, in, &mt);
            }
        }
        FreeMediaType(mt);
    }
    out->Release();
    in->Release();
    return hr;
}

HRESULT CGraphManager::DisconnectPins(IBaseFilter* filter, const char* pinName, PIN_DIRECTION direction)
{
    if (!filter)
        return S_OK;
    if (!m_pGraph)
        return E_UNEXPECTED;
    IPin* pin = FindPin(filter, pinName, direction);
    if (!pin) {
        ReportError(E_FAIL, "Could not find specified filter pin");
        return E_FAIL;
    }
    HRESULT hr = S_OK;
    IPin* peer = NULL;
    if (pin->ConnectedTo(&peer) == S_OK && peer) {
        hr = m_pGraph->Disconnect(pin);
        if (FAILED(hr))
            ReportError(hr, "Disconnect failed on pin");
        HRESULT hrPeer = m_pGraph->Disconnect(peer);
        if (FAILED(hrPeer)) {
            ReportError(hrPeer, "Disconnect failed on pin");
            hr = hrPeer;
        }
        peer->Release();
    }
    pin->Release();
    return hr;
}

HRESULT CGraphManager::InsertFilterBefore(IBaseFilter* filter, IPin* inputPin)
{
    if (!filter || !inputPin || !m_pGraph)
        return E_POINTER;
    IPin* peer = NULL;
    if (inputPin->ConnectedTo(&peer) != S_OK || !peer)
        return S_OK;
    PIN_INFO downInfo = {}, upInfo = {};
    inputPin->QueryPinInfo(&downInfo);
    peer->QueryPinInfo(&upInfo);
    m_pGraph->Disconnect(inputPin);
    m_pGraph->Disconnect(peer);
    HRESULT hr = ConnectPins(upInfo.pFilter, NULL, filter, NULL, NULL);
    if (SUCCEEDED(hr))
        hr = ConnectPins(filter, NULL, downInfo.pFilter, NULL, NULL);
    if (downInfo.pFilter)
        downInfo.pFilter->Release();
    if (upInfo.pFilter)
        upInfo.pFilter->Release();
    peer->Release();
    return hr;
}

HRESULT CGraphManager::RemoveFromChain(IBaseFilter* filter)
{
    if (!m_pGraph)
        return E_UNEXPECTED;
    IPin* in = FirstPinOf(filter, PINDIR_INPUT);
    IPin* out = FirstPinOf(filter, PINDIR_OUTPUT);
    HRESULT hr = E_FAIL;
    if (in && out) {
        IPin* upstream = NULL;
        IPin* downstream = NULL;
        in->ConnectedTo(&upstream);
        out->ConnectedTo(&downstream);
        if (upstream) {
            m_pGraph->Disconnect(upstream);
            m_pGraph->Disconnect(in);
        }
        if (downstream) {
            m_pGraph->Disconnect(out);
            m_pGraph->Disconnect(downstream);
        }
        hr = upstream && downstream ? m_pGraph->Connect(upstream, downstream) : S_OK;
        if (upstream)
            upstream->Release();
        if (downstream)
            downstream->Release();
    }
    if (in)
        in->Release();
    if (out)
        out->Release();
    return hr;
}

// ---------------------------------------------------------------------------------------
// Positions, run, pause, stop

HRESULT CGraphManager::GetDuration(long* frames)
{
    CSingleLock lock(&m_Lock, TRUE);
    *frames = 0;
    if (m_pMediaSeeking) {
        LONGLONG d = 0;
        HRESULT hr = m_pMediaSeeking->GetDuration(&d);
        *frames = long(d);
        return hr;
    }
    if (m_pMediaPosition) {
        REFTIME d = 0;
        HRESULT hr = m_pMediaPosition->get_Duration(&d);
        *frames = long(long(d * m_dFrameRate * 2 + 0.1) / 2);
        return hr;
    }
    return S_OK;
}

HRESULT CGraphManager::GetCurrentFrame(long* frame)
{
    CSingleLock lock(&m_Lock, TRUE);
    *frame = 0;
    if (m_pMediaSeeking) {
        LONGLONG c = 0;
        HRESULT hr = m_pMediaSeeking->GetCurrentPosition(&c);
        *frame = long(c);
        return hr;
    }
    if (m_pMediaPosition) {
        REFTIME c = 0;
        HRESULT hr = m_pMediaPosition->get_CurrentPosition(&c);
        *frame = long(long(c * m_dFrameRate * 2 + 0.1) / 2);
        return hr;
    }
    return S_OK;
}

long CGraphManager::FramesWritten(IBaseFilter* mux)
{
    IMediaSeeking* seeking = NULL;
    if (!mux || FAILED(mux->QueryInterface(IID_IMediaSeeking, (void**)&seeking)) || !seeking) {
        ReportError(E_NOINTERFACE, "IMediaSeekingInterface not supported\n");
        return 0;
    }
    LONGLONG p = 0;
    seeking->GetCurrentPosition(&p);
    seeking->Release();
    return long(2 * double(p) * 1e-7 * m_dFrameRate + 0.1) / 2;
}

void CGraphManager::WaitForStateChange()
{
    if (!m_pMediaControl)
        return;
    OAFilterState fs;
    if (m_pMediaControl->GetState(5000, &fs) == VFW_S_STATE_INTERMEDIATE) {
        Sleep(40);
        m_pMediaControl->GetState(5000, &fs);
    }
}

HRESULT CGraphManager::SetStopToEnd()
{
    if (!m_pMediaSeeking)
        return S_OK;
    LONGLONG d = 0;
    HRESULT hr = m_pMediaSeeking->GetDuration(&d);
    if (FAILED(hr))
        return hr;
    LONGLONG stop = d - 1;
    return m_pMediaSeeking->SetPositions(NULL, AM_SEEKING_NoPositioning, &stop,
                                         AM_SEEKING_AbsolutePositioning);
}

HRESULT CGraphManager::SeekToFrame(long frame)
{
    CSingleLock lock(&m_Lock, TRUE);
    if (!m_pMediaControl)
        return E_UNEXPECTED;
    double t = (2.0 * frame) / (2.0 * m_dFrameRate);
    if (m_nState != StatePositioned) {
        WaitForStateChange();
        m_pMediaControl->Pause();
    }
    if (m_pMediaSeeking) {
        LONGLONG pos = frame;
        m_pMediaSeeking->SetPositions(&pos, AM_SEEKING_AbsolutePositioning, NULL,
                                      AM_SEEKING_NoPositioning);
        SetState(StatePositioned);
        WaitForStateChange();
        return S_OK;
    }
    if (!m_pMediaPosition)
        return E_UNEXPECTED;
    if (t < 0)
        t = 0;
    HRESULT hr = m_pMediaPosition->put_CurrentPosition(t);
    m_pMediaControl->Pause();
    WaitForStateChange();
    SetState(StatePositioned);
    REFTIME back = 0;
    m_pMediaPosition->get_CurrentPosition(&back);
    return hr;
}

HRESULT CGraphManager::Stop(bool report)
{
    CSingleLock lock(&m_Lock, TRUE);
    if (!m_pMediaControl)
        return E_UNEXPECTED;
    HRESULT hr = m_pMediaControl->Stop();
    if (report && FAILED(hr)) {
        ReportError(hr, "Could not Stop: ");
        return hr;
    }
    SetState(StateStopped);
    return hr;
}

HRESULT CGraphManager::Run(bool report)
{
    CGraphManager::Stop(true);
    CSingleLock lock(&m_Lock, TRUE);
    if (!m_pMediaControl)
        return E_UNEXPECTED;
    SetStopToEnd();
    HRESULT hr = m_pMediaControl->Run();
    if (FAILED(hr)) {
        // A run that failed leaves the state as it was, reported or not.
        if (report)
            ReportError(hr, "Could not Play");
        return hr;
    }
    SetState(StateRunning);
    return hr;
}

HRESULT CGraphManager::Pause(bool report)
{
    CSingleLock lock(&m_Lock, TRUE);
    if (!m_pMediaControl)
        return E_UNEXPECTED;
    m_pMediaControl->AddRef();   // the worker's own reference
    HANDLE worker = CreateThread(NULL, 0, PauseWorker, m_pMediaControl, 0, NULL);
    if (!worker) {
        m_pMediaControl->Release();
        return HRESULT_FROM_WIN32(GetLastError());
    }
    DWORD wait = WaitForSingleObject(worker, 5000);
    CloseHandle(worker);
    if (wait != WAIT_OBJECT_0) {
        m_pMediaControl->Stop();
        SetState(StateStopped);
        if (report)
            AfxMessageBox("Could not pause...check camera\n", MB_OK);
        return -1;
    }
    SetState(StatePaused);
    return S_OK;
}

HRESULT CGraphManager::RunFrom(long stopFrame)
{
    if (!m_pMediaSeeking || !m_pMediaControl)
        return S_OK;
    long current = 0;
    GetCurrentFrame(&current);
    LONGLONG start = current, stop = stopFrame;
    m_pMediaSeeking->SetPositions(&start, AM_SEEKING_AbsolutePositioning, &stop,
                                  AM_SEEKING_AbsolutePositioning);
    CGraphManager::Stop(true);
    HRESULT hr = m_pMediaControl->Run();
    if (FAILED(hr)) {
        ReportError(hr, "Could not Play");
        return hr;
    }
    SetState(StateRunning);
    return hr;
}

HRESULT CGraphManager::SetGraphClock(BOOL useDefault)
{
    if (!m_pGraph)
        return E_UNEXPECTED;
    if (useDefault)
        return m_pGraph->SetDefaultSyncSource();
    IMediaFilter* filter = NULL;
    HRESULT hr = m_pGraph->QueryInterface(IID_IMediaFilter, (void**)&filter);
    if (FAILED(hr) || !filter) {
        ReportError(hr, "No media filter");
        return hr;
    }
    hr = filter->SetSyncSource(NULL);
    filter->Release();
    return hr;
}

// ---------------------------------------------------------------------------------------
// Renderer window

namespace {

IVideoWindow* VideoWindowOf(IBaseFilter* renderer)
{
    IVideoWindow* window = NULL;
    if (!renderer || FAILED(renderer->QueryInterface(IID_IVideoWindow, (void**)&window)))
        return NULL;
    return window;
}

} // namespace

HRESULT CGraphManager::SetupVideoWindow(CWnd* owner)
{
    IVideoWindow* window = VideoWindowOf(m_pVideoRenderer);
    if (!window)
        return E_NOINTERFACE;
    OAHWND hwnd = (OAHWND)(owner ? owner->GetSafeHwnd() : NULL);
    window->put_WindowState(SW_HIDE);
    window->put_Visible(OAFALSE);
    window->put_AutoShow(OAFALSE);
    window->put_Owner(hwnd);
    window->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    window->SetWindowPosition(0, 0, 608, 456);
    HRESULT hr = window->put_MessageDrain(hwnd);
    window->Release();
    return hr;
}

HRESULT CGraphManager::ShowVideoWindow(BOOL show)
{
    IVideoWindow* window = VideoWindowOf(m_pVideoRenderer);
    if (!window)
        return S_OK;
    HRESULT hr;
    // A renderer that no window owns would appear as a window of its own on the desktop:
    // it stays hidden until it is given its owner.
    OAHWND owner = 0;
    window->get_Owner(&owner);
    if (show && owner) {
        hr = window->put_Visible(OATRUE);
        window->put_WindowState(SW_SHOW);
    } else {
        hr = window->put_Visible(OAFALSE);
        window->put_WindowState(SW_HIDE);
    }
    window->Release();
    return hr;
}

HRESULT CGraphManager::HideVideoWindow()
{
    IVideoWindow* window = VideoWindowOf(m_pVideoRenderer);
    if (!window)
        return S_OK;
    window->put_WindowState(SW_HIDE);
    window->put_Visible(OAFALSE);
    window->put_AutoShow(OAFALSE);
    HRESULT hr = window->SetWindowPosition(0, 0, 608, 456);
    window->Release();
    return hr;
}

HRESULT CGraphManager::SetVideoWindowPosition(long left, long top, long width, long height)
{
    IVideoWindow* window = VideoWindowOf(m_pVideoRenderer);
    if (!window)
        return S_OK;
    HRESULT hr = window->SetWindowPosition(left, top, width, height);
    window->Release();
    return hr;
}

HRESULT CGraphManager::ShowPropertyPages(IBaseFilter* filter)
{
    if (!filter)
        return E_POINTER;
    ISpecifyPropertyPages* pages = NULL;
    HRESULT hr = filter->QueryInterface(IID_ISpecifyPropertyPages, (void**)&pages);
    if (FAILED(hr) || !pages)
        return hr;
    CAUUID uuids = {};
    hr = pages->GetPages(&uuids);
    pages->Release();
    if (FAILED(hr))
        return hr;
    CWnd* main = AfxGetMainWnd();
    IUnknown* object = filter;
    hr = OleCreatePropertyFrame(main ? main->GetSafeHwnd() : NULL, 30, 30, NULL, 1, &object,
                                uuids.cElems, uuids.pElems, 0, 0, NULL);
    CoTaskMemFree(uuids.pElems);
    return hr;
}

// ---------------------------------------------------------------------------------------
// Platform

int CGraphManager::GetOSVersionCode()
{
    OSVERSIONINFOEXA ex = {};
    ex.dwOSVersionInfoSize = sizeof ex;
    OSVERSIONINFOA& info = reinterpret_cast<OSVERSIONINFOA&>(ex);
    if (!GetVersionExA(&info)) {
        OSVERSIONINFOA basic = {};
        basic.dwOSVersionInfoSize = sizeof basic;
        if (!GetVersionExA(&basic))
            return 0;
        info = basic;
    }
    switch (info.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        return 6;
    case VER_PLATFORM_WIN32_WINDOWS:
        return info.dwMajorVersion < 4 || (info.dwMajorVersion == 4 && info.dwMinorVersion == 0) ? 3 : 4;
    case VER_PLATFORM_WIN32_NT:
        if (info.dwMajorVersion <= 4)
            return 0;
        if (info.dwMajorVersion == 5 && info.dwMinorVersion == 0)
            return 1;
        // 5.1 and every later version take the code of the newest paths the program has.
        return 5;
    }
    return 0;
}
