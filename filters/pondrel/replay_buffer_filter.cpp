#include "replay_buffer_filter.h"
#include <cstdio>
#include <cstdlib>
#include "filter_common.h"
#include <new>

namespace {

REFERENCE_TIME ProfileSeconds(const char* key, const char* fallback)
{
    char text[64] = {};
    GetProfileStringA("Quartz", key, fallback, text, sizeof text);
    return REFERENCE_TIME(atof(text) * 10000000.0);
}

} // namespace

CUnknown* WINAPI CReplayBufferFilter::CreateInstance(LPUNKNOWN pUnk, HRESULT* phr)
{
    return FactoryObject(new (std::nothrow) CReplayBufferFilter(pUnk, phr), phr);
}

CReplayBufferFilter::CReplayBufferFilter(LPUNKNOWN pUnk, HRESULT* phr)
    : CTransInPlaceFilter(TEXT("Pondrel"), pUnk, CLSID_ReplayBuffer, phr)
{
    m_effectStart = ProfileSeconds("EffectStart", "2.0");
    m_effectLength = ProfileSeconds("EffectLength", "5.0");
    HRESULT hr = S_OK;
    auto* allocator = new (std::nothrow) CMemAllocator(TEXT("CircBuffer"), nullptr, &hr);
    if (!allocator || FAILED(hr)) {
        delete allocator;
        if (phr)
            *phr = E_OUTOFMEMORY;
        return;
    }
    allocator->QueryInterface(IID_IMemAllocator, (void**)&m_pRingAllocator);
    hr = AllocateRing(m_ring.Count(), m_requestedSize);
    if (FAILED(hr) && phr)
        *phr = hr;
}

CReplayBufferFilter::~CReplayBufferFilter()
{
    ReleaseEntries();
    if (m_pRingAllocator) {
        m_pRingAllocator->Decommit();
        m_pRingAllocator->Release();
    }
}

STDMETHODIMP CReplayBufferFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IReplayBuffer))
        return GetInterface(static_cast<IReplayBuffer*>(this), ppv);
    if (IsEqualIID(riid, IID_ISpecifyPropertyPages))
        return GetInterface(static_cast<ISpecifyPropertyPages*>(this), ppv);
    return CTransInPlaceFilter::NonDelegatingQueryInterface(riid, ppv);
}

void CReplayBufferFilter::ReleaseEntries()
{
    for (IMediaSample* s : m_entries)
        if (s)
            s->Release();
    m_entries.clear();
}

HRESULT CReplayBufferFilter::AllocateRing(int count, long size)
{
    ReleaseEntries();
    m_bufferSize = 0;
    m_bRingFailed = true;
    if (!m_pRingAllocator || count < 1 || size < 1)
        return E_OUTOFMEMORY;
    m_pRingAllocator->Decommit();
    ALLOCATOR_PROPERTIES want = {count, size, 16, 0}, got = {};
    // The allocator takes one block: a ring beyond 2 GB is refused before it is asked.
    HRESULT hr = LONGLONG(count) * (size + 16) > 0x7FFFFFFFLL
                     ? E_OUTOFMEMORY
                     : m_pRingAllocator->SetProperties(&want, &got);
    if (SUCCEEDED(hr) && (got.cBuffers < count || got.cbBuffer < size))
        hr = E_OUTOFMEMORY;
    if (SUCCEEDED(hr))
        hr = m_pRingAllocator->Commit();
    for (int i = 0; SUCCEEDED(hr) && i < count; ++i) {
        IMediaSample* sample = nullptr;
        hr = m_pRingAllocator->GetBuffer(&sample, nullptr, nullptr, AM_GBF_NOWAIT);
        if (SUCCEEDED(hr) && sample)
            m_entries.push_back(sample);
        else if (SUCCEEDED(hr))
            hr = E_OUTOFMEMORY;
    }
    if (FAILED(hr)) {
        ReleaseEntries();
        char text[96];
        snprintf(text, sizeof text, "Pondrel: ring of %d x %ld bytes not allocated (0x%08x)\n",
                 count, size, (unsigned)hr);
        OutputDebugStringA(text);
        return hr;
    }
    m_bufferSize = m_entries[0]->GetSize();
    m_bRingFailed = false;
    return S_OK;
}

HRESULT CReplayBufferFilter::CopySample(IMediaSample* from, IMediaSample* to)
{
    BYTE *src = nullptr, *dst = nullptr;
    if (FAILED(from->GetPointer(&src)) || FAILED(to->GetPointer(&dst)))
        return E_UNEXPECTED;
    long length = from->GetActualDataLength();
    if (length < 0)
        length = 0;
    if (length > to->GetSize())
        length = to->GetSize();
    memcpy(dst, src, length);
    REFERENCE_TIME start, stop;
    if (from->GetTime(&start, &stop) == S_OK)
        to->SetTime(&start, &stop);
    LONGLONG mStart, mStop;
    if (from->GetMediaTime(&mStart, &mStop) == S_OK)
        to->SetMediaTime(&mStart, &mStop);
    HRESULT hr = from->IsSyncPoint();
    if (hr != S_OK && hr != S_FALSE)
        return E_UNEXPECTED;
    to->SetSyncPoint(hr == S_OK);
    hr = from->IsPreroll();
    if (hr != S_OK && hr != S_FALSE)
        return E_UNEXPECTED;
    to->SetPreroll(hr == S_OK);
    hr = from->IsDiscontinuity();
    if (hr != S_OK && hr != S_FALSE)
        return E_UNEXPECTED;
    to->SetDiscontinuity(hr == S_OK);
    AM_MEDIA_TYPE* type = nullptr;
    if (from->GetMediaType(&type) == S_OK && type) {
        to->SetMediaType(type);
        DeleteMediaType(type);
    }
    to->SetActualDataLength(length);
    return S_OK;
}

HRESULT CReplayBufferFilter::CheckInputType(const CMediaType* mt)
{
    if (!mt || *mt->FormatType() != FORMAT_VideoInfo || !mt->Format() ||
        mt->FormatLength() < sizeof(VIDEOINFOHEADER))
        return E_INVALIDARG;
    if (*mt->Type() == MEDIATYPE_Video && *mt->Subtype() == MEDIASUBTYPE_RGB24) {
        const auto* vih = reinterpret_cast<const VIDEOINFOHEADER*>(mt->Format());
        if (vih->bmiHeader.biBitCount != 24)
            return E_FAIL;
    }
    return S_OK;
}

HRESULT CReplayBufferFilter::DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProps)
{
    return OneBufferOfInputSize(m_pInput, pAlloc, pProps);
}

HRESULT CReplayBufferFilter::Receive(IMediaSample* pSample)
{
    CAutoLock lock(&m_Lock);
    if (!pSample)
        return E_POINTER;
    if (!m_ring.SaveMode()) {
        // Store: a larger frame than the ring's buffers takes a new ring first.
        // A ring that could not be had is asked for again only for larger frames (or at
        // the next run), not at every frame.
        const long size = pSample->GetSize() > m_requestedSize ? pSample->GetSize()
                                                                 : m_requestedSize;
        if (m_bRingFailed && size <= m_failedSize)
            return S_OK;
        if (pSample->GetSize() > m_bufferSize || m_bRingFailed) {
            if (FAILED(AllocateRing(m_ring.Count(), size))) {
                m_failedSize = size;
                return S_OK;   // nothing can be stored; reported on the debugger output
            }
        }
        CReplayRing::SampleTimes times;
        REFERENCE_TIME start = 0, stop = 0;
        const HRESULT hr = pSample->GetTime(&start, &stop);
        times.hasStart = hr == S_OK || hr == VFW_S_NO_STOP_TIME;
        times.hasStop = hr == S_OK;
        times.start = start;
        times.stop = stop;
        const int entry = m_ring.Store(times);
        if (entry >= 0 && entry < int(m_entries.size()))
            CopySample(pSample, m_entries[entry]);
        return S_OK;
    }
    if (IMediaSample* saved = NextSaved())
        return CTransInPlaceFilter::Receive(saved);
    if (m_ring.TakeFinish())
        NotifyEvent(EC_FILTER_NOTIFY, 1, 1);
    return S_OK;
}

IMediaSample* CReplayBufferFilter::NextSaved()
{
    CReplayRing::SampleTimes times;
    for (int entry; (entry = m_ring.NextToSave(&times)) >= 0;) {
        if (entry >= int(m_entries.size()))
            continue;
        if (times.hasStart)
            m_entries[entry]->SetTime(&times.start, &times.stop);
        return m_entries[entry];
    }
    return nullptr;
}

STDMETHODIMP CReplayBufferFilter::Run(REFERENCE_TIME tStart)
{
    {
        CAutoLock lock(&m_Lock);
        m_failedSize = 0;
        const bool countChanged = m_ring.Reset();
        // The clip handed out is stamped frame after frame with the connection's time per
        // frame (when the input type gives one).
        LONGLONG frameSpan = 0;
        if (m_pInput && m_pInput->IsConnected()) {
            const CMediaType& mt = m_pInput->CurrentMediaType();
            if (*mt.FormatType() == FORMAT_VideoInfo && mt.Format() &&
                mt.FormatLength() >= sizeof(VIDEOINFOHEADER))
                frameSpan = reinterpret_cast<const VIDEOINFOHEADER*>(mt.Format())->AvgTimePerFrame;
        }
        m_ring.SetFrameSpan(frameSpan);
        if (countChanged || m_bufferSize < m_requestedSize || m_bRingFailed)
            AllocateRing(m_ring.Count(),
                         m_bufferSize > m_requestedSize ? m_bufferSize : m_requestedSize);
    }
    return CTransInPlaceFilter::Run(tStart);
}

STDMETHODIMP CReplayBufferFilter::Stop()
{
    {
        CAutoLock lock(&m_Lock);
        // A capture cut short by Stop still reaches the file; no finish event for it.
        if (m_ring.SaveMode() && m_pOutput && m_pOutput->IsConnected()) {
            while (IMediaSample* saved = NextSaved())
                m_pOutput->Deliver(saved);
        }
    }
    // The base stop waits for the streaming thread, which may be waiting for the lock
    // above: it runs after the lock is released.
    return CTransInPlaceFilter::Stop();
}

STDMETHODIMP CReplayBufferFilter::GetEffect(int* effect, double* start, double* length)
{
    if (!effect || !start || !length)
        return E_POINTER;
    CAutoLock lock(&m_Lock);
    *effect = m_effect;
    *start = m_effectStart * 1e-7;
    *length = m_effectLength * 1e-7;
    return S_OK;
}

STDMETHODIMP CReplayBufferFilter::SetEffect(int effect, double start, double length)
{
    CAutoLock lock(&m_Lock);
    m_effect = effect;
    m_effectStart = REFERENCE_TIME(start * 1e7);
    m_effectLength = REFERENCE_TIME(length * 1e7);
    return S_OK;
}

STDMETHODIMP CReplayBufferFilter::GetBufferInfo(int* count, int* bytes)
{
    if (!count || !bytes)
        return E_POINTER;
    CAutoLock lock(&m_Lock);
    *count = m_ring.Count();
    *bytes = int(m_bufferSize);
    return S_OK;
}

STDMETHODIMP CReplayBufferFilter::TriggerAt(REFERENCE_TIME t, int* parity)
{
    CAutoLock lock(&m_Lock);
    const bool hasTime = t != REFERENCE_TIME(-1);
    const int p = m_ring.Trigger(hasTime, t);
    if (parity)
        *parity = p;
    return S_OK;
}

STDMETHODIMP CReplayBufferFilter::TriggerNow()
{
    CAutoLock lock(&m_Lock);
    m_ring.Trigger(false, 0);
    return S_OK;
}

STDMETHODIMP CReplayBufferFilter::GetPreTriggerFrames(int* frames)
{
    if (!frames)
        return E_POINTER;
    CAutoLock lock(&m_Lock);
    *frames = m_ring.PreTrigger();
    return S_OK;
}

STDMETHODIMP CReplayBufferFilter::SetPreTriggerFrames(int frames)
{
    CAutoLock lock(&m_Lock);
    m_ring.SetPreTrigger(frames);
    return S_OK;
}

STDMETHODIMP CReplayBufferFilter::GetPostTriggerFrames(int* frames)
{
    if (!frames)
        return E_POINTER;
    CAutoLock lock(&m_Lock);
    *frames = m_ring.PostTrigger();
    return S_OK;
}

STDMETHODIMP CReplayBufferFilter::SetPostTriggerFrames(int frames)
{
    CAutoLock lock(&m_Lock);
    m_ring.SetPostTrigger(frames);
    return S_OK;
}

STDMETHODIMP CReplayBufferFilter::CanTrigger(BYTE* can)
{
    if (!can)
        return E_POINTER;
    CAutoLock lock(&m_Lock);
    *can = m_ring.CanTrigger() ? 1 : 0;
    return S_OK;
}

STDMETHODIMP CReplayBufferFilter::SetFrameRate(double fps)
{
    CAutoLock lock(&m_Lock);
    m_ring.SetFrameRate(fps);
    return S_OK;
}

STDMETHODIMP CReplayBufferFilter::GetFrameRate(double* fps)
{
    if (!fps)
        return E_POINTER;
    CAutoLock lock(&m_Lock);
    *fps = m_ring.FrameRate();
    return S_OK;
}

STDMETHODIMP CReplayBufferFilter::SetTriggerOffset(int fields)
{
    CAutoLock lock(&m_Lock);
    m_ring.SetTriggerOffset(fields);
    return S_OK;
}

STDMETHODIMP CReplayBufferFilter::GetPages(CAUUID* pPages)
{
    return OnePropertyPage(pPages, CLSID_ReplayBufferProperties);
}
