#include "live_source.h"
#include <cstring>

// ---------------------------------------------------------------- pin

CLivePin::CLivePin(CLiveSource* filter, HRESULT* phr, LPCWSTR name, const GUID& category,
                   const std::vector<CMediaType>& formats, bool countsFrames)
    : CBaseOutputPin(NAME("Live output pin"), filter, &filter->m_lock, phr, name), m_source(filter),
      m_category(category), m_formats(formats), m_countsFrames(countsFrames)
{
    if (!m_formats.empty())
        m_format = m_formats[0];
}

STDMETHODIMP CLivePin::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (IsEqualIID(riid, IID_IKsPropertySet))
        return GetInterface(static_cast<IKsPropertySet*>(this), ppv);
    if (IsEqualIID(riid, IID_IAMStreamConfig))
        return GetInterface(static_cast<IAMStreamConfig*>(this), ppv);
    if (IsEqualIID(riid, IID_IAMStreamControl))
        return GetInterface(static_cast<IAMStreamControl*>(this), ppv);
    if (m_countsFrames && IsEqualIID(riid, IID_IAMDroppedFrames))
        return GetInterface(static_cast<IAMDroppedFrames*>(this), ppv);
    return CBaseOutputPin::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CLivePin::CheckMediaType(const CMediaType* pmt)
{
    if (!pmt)
        return E_POINTER;
    if (*pmt == m_format)
        return S_OK;
    for (const CMediaType& f : m_formats)
        if (*pmt == f)
            return S_OK;
    return m_source->AcceptsFormat(this, pmt) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CLivePin::GetMediaType(int i, CMediaType* pmt)
{
    if (i < 0)
        return E_INVALIDARG;
    // The chosen format first, then the other capabilities.
    if (i == 0) {
        *pmt = m_format;
        return S_OK;
    }
    if (size_t(i - 1) >= m_formats.size())
        return VFW_S_NO_MORE_ITEMS;
    *pmt = m_formats[i - 1];
    return S_OK;
}

HRESULT CLivePin::SetMediaType(const CMediaType* pmt)
{
    HRESULT hr = CBaseOutputPin::SetMediaType(pmt);
    if (SUCCEEDED(hr))
        m_format = *pmt;
    return hr;
}

HRESULT CLivePin::DecideBufferSize(IMemAllocator* alloc, ALLOCATOR_PROPERTIES* props)
{
    ALLOCATOR_PROPERTIES want = *props, got = {};
    if (want.cBuffers < 4)
        want.cBuffers = 4;
    LONG size = m_source->BufferSize(this);
    if (want.cbBuffer < size)
        want.cbBuffer = size;
    if (want.cbAlign < 1)
        want.cbAlign = 1;
    HRESULT hr = alloc->SetProperties(&want, &got);
    if (FAILED(hr))
        return hr;
    return got.cbBuffer < size ? E_FAIL : S_OK;
}

STDMETHODIMP CLivePin::Get(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD dataLength, DWORD* returned)
{
    if (!IsEqualGUID(set, AMPROPSETID_Pin))
        return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY)
        return E_PROP_ID_UNSUPPORTED;
    if (!data && !returned)
        return E_POINTER;
    if (returned)
        *returned = sizeof(GUID);
    if (!data)
        return S_OK;
    if (dataLength < sizeof(GUID))
        return E_UNEXPECTED;
    memcpy(data, &m_category, sizeof(GUID));
    return S_OK;
}

STDMETHODIMP CLivePin::QuerySupported(REFGUID set, DWORD id, DWORD* support)
{
    if (!IsEqualGUID(set, AMPROPSETID_Pin))
        return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY)
        return E_PROP_ID_UNSUPPORTED;
    if (support)
        *support = KSPROPERTY_SUPPORT_GET;
    return S_OK;
}

STDMETHODIMP CLivePin::SetFormat(AM_MEDIA_TYPE* pmt)
{
    if (!pmt)
        return E_POINTER;
    CAutoLock l(m_pLock);
    if (!IsStopped())
        return VFW_E_NOT_STOPPED;
    CMediaType mt(*pmt);
    HRESULT hr = CheckMediaType(&mt);
    if (FAILED(hr))
        return hr;
    if (IsConnected()) {
        if (mt == m_mt)
            return S_OK;
        if (m_Connected->QueryAccept(&mt) != S_OK)
            return VFW_E_INVALIDMEDIATYPE;
    }
    m_format = mt;
    m_source->OnFormatChanged(this);
    if (IsConnected())
        return m_source->ReconnectPin(this, &mt);
    return S_OK;
}

STDMETHODIMP CLivePin::GetFormat(AM_MEDIA_TYPE** ppmt)
{
    if (!ppmt)
        return E_POINTER;
    CAutoLock l(m_pLock);
    *ppmt = CreateMediaType(IsConnected() ? &m_mt : &m_format);
    return *ppmt ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CLivePin::GetNumberOfCapabilities(int* count, int* size)
{
    if (!count || !size)
        return E_POINTER;
    *count = int(m_formats.size());
    *size = IsEqualGUID(m_format.majortype, MEDIATYPE_Audio) ? sizeof(AUDIO_STREAM_CONFIG_CAPS)
                                                             : sizeof(VIDEO_STREAM_CONFIG_CAPS);
    return S_OK;
}

STDMETHODIMP CLivePin::GetStreamCaps(int index, AM_MEDIA_TYPE** ppmt, BYTE* caps)
{
    if (!ppmt || !caps)
        return E_POINTER;
    if (index < 0 || size_t(index) >= m_formats.size())
        return S_FALSE;
    const CMediaType& f = m_formats[index];
    if (IsEqualGUID(f.majortype, MEDIATYPE_Audio)) {
        AUDIO_STREAM_CONFIG_CAPS c = {};
        c.guid = MEDIATYPE_Audio;
        const WAVEFORMATEX* wf = reinterpret_cast<const WAVEFORMATEX*>(f.Format());
        c.MinimumChannels = 1;
        c.MaximumChannels = 2;
        c.ChannelsGranularity = 1;
        c.MinimumBitsPerSample = 8;
        c.MaximumBitsPerSample = 16;
        c.BitsPerSampleGranularity = 8;
        c.MinimumSampleFrequency = 8000;
        c.MaximumSampleFrequency = 48000;
        c.SampleFrequencyGranularity = wf ? 1 : 1;
        memcpy(caps, &c, sizeof c);
    } else {
        VIDEO_STREAM_CONFIG_CAPS c = {};
        c.guid = f.formattype;
        const VIDEOINFOHEADER* vih = f.FormatLength() >= sizeof(VIDEOINFOHEADER) &&
                                             !IsEqualGUID(f.formattype, FORMAT_DvInfo)
                                         ? reinterpret_cast<const VIDEOINFOHEADER*>(f.Format())
                                         : nullptr;
        SIZE sz = {720, 480};
        REFERENCE_TIME period = 333667;
        if (vih) {
            sz.cx = vih->bmiHeader.biWidth;
            sz.cy = vih->bmiHeader.biHeight < 0 ? -vih->bmiHeader.biHeight : vih->bmiHeader.biHeight;
            period = vih->AvgTimePerFrame;
        }
        c.InputSize = c.MinCroppingSize = c.MaxCroppingSize = c.MinOutputSize = c.MaxOutputSize = sz;
        c.CropGranularityX = c.CropGranularityY = c.OutputGranularityX = c.OutputGranularityY = 1;
        c.MinFrameInterval = c.MaxFrameInterval = period;
        memcpy(caps, &c, sizeof c);
    }
    *ppmt = CreateMediaType(&f);
    return *ppmt ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CLivePin::StartAt(const REFERENCE_TIME* start, DWORD)
{
    CAutoLock l(&m_controlLock);
    if (start && *start == MAXLONGLONG) {
        m_stopped = true;
        return S_OK;
    }
    m_stopped = false;
    m_startAt = start ? *start : 0;
    m_stopAt = MAXLONGLONG;
    return S_OK;
}

STDMETHODIMP CLivePin::StopAt(const REFERENCE_TIME* stop, BOOL, DWORD)
{
    CAutoLock l(&m_controlLock);
    if (stop && *stop == MAXLONGLONG) {
        m_stopAt = MAXLONGLONG;
        return S_OK;
    }
    if (!stop)
        m_stopped = true;
    else
        m_stopAt = *stop;
    return S_OK;
}

STDMETHODIMP CLivePin::GetInfo(AM_STREAM_INFO* info)
{
    if (!info)
        return E_POINTER;
    CAutoLock l(&m_controlLock);
    memset(info, 0, sizeof *info);
    info->tStart = m_startAt;
    info->tStop = m_stopAt;
    if (m_stopped)
        info->dwFlags |= AM_STREAM_INFO_DISCARDING;
    if (m_startAt)
        info->dwFlags |= AM_STREAM_INFO_START_DEFINED;
    if (m_stopAt != MAXLONGLONG)
        info->dwFlags |= AM_STREAM_INFO_STOP_DEFINED;
    return S_OK;
}

STDMETHODIMP CLivePin::GetNumDropped(LONG* dropped)
{
    if (!dropped)
        return E_POINTER;
    *dropped = m_source->Dropped();
    return S_OK;
}

STDMETHODIMP CLivePin::GetNumNotDropped(LONG* notDropped)
{
    if (!notDropped)
        return E_POINTER;
    *notDropped = m_source->Delivered();
    return S_OK;
}

STDMETHODIMP CLivePin::GetDroppedInfo(LONG, LONG*, LONG* copied)
{
    // The numbers of the dropped frames are not kept.
    if (copied)
        *copied = 0;
    return E_NOTIMPL;
}

STDMETHODIMP CLivePin::GetAverageFrameSize(LONG* averageSize)
{
    if (!averageSize)
        return E_POINTER;
    *averageSize = m_source->BufferSize(this);
    return S_OK;
}

HRESULT CLivePin::DeliverBuffer(const BYTE* data, LONG size, REFERENCE_TIME start, REFERENCE_TIME stop)
{
    if (!IsConnected())
        return S_FALSE;
    {
        CAutoLock l(&m_controlLock);
        if (m_stopped || start < m_startAt || start >= m_stopAt)
            return S_FALSE;
    }
    IMediaSample* sample = nullptr;
    HRESULT hr = GetDeliveryBuffer(&sample, nullptr, nullptr, 0);
    if (FAILED(hr))
        return hr;
    BYTE* p = nullptr;
    sample->GetPointer(&p);
    LONG n = size < sample->GetSize() ? size : sample->GetSize();
    memcpy(p, data, n);
    sample->SetActualDataLength(n);
    sample->SetTime(&start, &stop);
    sample->SetSyncPoint(TRUE);
    hr = Deliver(sample);
    sample->Release();
    return hr;
}

// ---------------------------------------------------------------- filter

CLiveSource::CLiveSource(LPCTSTR name, LPUNKNOWN pUnk, REFCLSID clsid)
    : CBaseFilter(name, pUnk, &m_lock, clsid), m_wake(CreateEventW(nullptr, FALSE, FALSE, nullptr))
{
}

HRESULT CLiveSource::HandOut(CLiveSource* source, HRESULT made, IBaseFilter** ppFilter)
{
    if (!source)
        return E_OUTOFMEMORY;
    source->NonDelegatingAddRef();
    if (SUCCEEDED(made))
        made = source->NonDelegatingQueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(ppFilter));
    source->NonDelegatingRelease();
    return made;
}

CLiveSource::~CLiveSource()
{
    StopThread();
    for (CLivePin* p : m_pins)
        delete p;
    CloseHandle(m_wake);
}

STDMETHODIMP CLiveSource::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (IsEqualIID(riid, IID_IAMFilterMiscFlags))
        return GetInterface(static_cast<IAMFilterMiscFlags*>(this), ppv);
    return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CLiveSource::Pause()
{
    HRESULT hr;
    {
        CAutoLock l(&m_lock);
        bool starting = m_State == State_Stopped;
        hr = CBaseFilter::Pause();
        if (FAILED(hr) || !starting)
            goto done;
        m_quit = false;
        m_thread = CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr);
        if (!m_thread)
            hr = E_OUTOFMEMORY;
    }
done:
    SetEvent(m_wake);
    // A live source has nothing to show until it runs.
    return SUCCEEDED(hr) ? VFW_S_CANT_CUE : hr;
}

STDMETHODIMP CLiveSource::Run(REFERENCE_TIME tStart)
{
    HRESULT hr = CBaseFilter::Run(tStart);
    QueryPerformanceCounter(&m_runBegan);
    SetEvent(m_wake);
    return hr;
}

STDMETHODIMP CLiveSource::Stop()
{
    m_quit = true;
    SetEvent(m_wake);
    // Decommitting the allocators first releases a worker waiting for a buffer.
    HRESULT hr = CBaseFilter::Stop();
    StopThread();
    return hr;
}

STDMETHODIMP CLiveSource::GetState(DWORD, FILTER_STATE* state)
{
    if (!state)
        return E_POINTER;
    *state = m_State;
    return m_State == State_Paused ? VFW_S_CANT_CUE : S_OK;
}

void CLiveSource::StopThread()
{
    m_quit = true;
    SetEvent(m_wake);
    if (m_thread) {
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
        m_thread = nullptr;
    }
}

LONG CLiveSource::BufferSize(CLivePin* pin)
{
    const CMediaType& mt = pin->IsConnected() ? pin->CurrentMediaType() : pin->Format();
    if (mt.GetSampleSize())
        return LONG(mt.GetSampleSize());
    if (IsEqualGUID(mt.formattype, FORMAT_VideoInfo) && mt.FormatLength() >= sizeof(VIDEOINFOHEADER))
        return LONG(reinterpret_cast<const VIDEOINFOHEADER*>(mt.Format())->bmiHeader.biSizeImage);
    if (IsEqualGUID(mt.formattype, FORMAT_WaveFormatEx) && mt.FormatLength() >= sizeof(WAVEFORMATEX))
        return LONG(reinterpret_cast<const WAVEFORMATEX*>(mt.Format())->nAvgBytesPerSec / 10 + 16);
    return 144000;
}

REFERENCE_TIME CLiveSource::Now()
{
    CRefTime t;
    if (m_pClock && SUCCEEDED(StreamTime(t)))
        return t;
    LARGE_INTEGER now, freq;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&freq);
    return REFERENCE_TIME(double(now.QuadPart - m_runBegan.QuadPart) * 1e7 / double(freq.QuadPart));
}

bool CLiveSource::WaitUntil(REFERENCE_TIME t)
{
    for (;;) {
        if (!Running())
            return false;
        REFERENCE_TIME now = Now();
        if (now >= t)
            return true;
        DWORD ms = DWORD((t - now + 9999) / 10000);
        WaitForSingleObject(m_wake, ms > 1000 ? 1000 : ms);
    }
}

DWORD WINAPI CLiveSource::ThreadProc(LPVOID self)
{
    static_cast<CLiveSource*>(self)->Work();
    return 0;
}

void CLiveSource::Work()
{
    bool open = false, lost = false;
    while (!m_quit) {
        bool connected = false;
        for (CLivePin* pin : m_pins)
            connected = connected || pin->IsConnected();
        // An input nobody listens to is left closed (the sound input of a preview graph).
        if (m_State != State_Running || lost || !connected) {
            WaitForSingleObject(m_wake, INFINITE);
            continue;
        }
        if (!open) {
            open = Open();
            if (!open) {
                lost = true;
                NotifyEvent(EC_ERRORABORT, VFW_E_NO_CAPTURE_HARDWARE, 0);
                continue;
            }
        }
        if (!Capture() && !m_quit && m_State == State_Running) {
            // The device is gone (the camera was switched off or unplugged).
            lost = true;
            NotifyEvent(EC_ERRORABORT, VFW_E_NO_CAPTURE_HARDWARE, 0);
        }
    }
    if (open)
        Close();
}
