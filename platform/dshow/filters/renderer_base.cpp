#include "renderer_base.h"
#include <new>

CRendererInputPin::CRendererInputPin(CRendererBase* filter, CCritSec* lock, HRESULT* phr, LPCWSTR name)
    : CBaseInputPin(NAME("Renderer input pin"), filter, lock, phr, name), m_renderer(filter)
{
}

HRESULT CRendererInputPin::CheckMediaType(const CMediaType* pmt) { return m_renderer->CheckMediaType(pmt); }

HRESULT CRendererInputPin::SetMediaType(const CMediaType* pmt)
{
    HRESULT hr = CBaseInputPin::SetMediaType(pmt);
    return FAILED(hr) ? hr : m_renderer->SetMediaType(pmt);
}

HRESULT CRendererInputPin::BreakConnect()
{
    m_renderer->BreakConnect();
    return CBaseInputPin::BreakConnect();
}

STDMETHODIMP CRendererInputPin::Receive(IMediaSample* pSample)
{
    HRESULT hr = CBaseInputPin::Receive(pSample);
    if (hr != S_OK)
        return hr;
    return m_renderer->Receive(pSample);
}

STDMETHODIMP CRendererInputPin::EndOfStream()
{
    HRESULT hr = CheckStreaming();
    if (hr != S_OK)
        return hr;
    return m_renderer->EndOfStream();
}

STDMETHODIMP CRendererInputPin::BeginFlush()
{
    m_renderer->BeginFlush();
    return CBaseInputPin::BeginFlush();
}

STDMETHODIMP CRendererInputPin::EndFlush()
{
    HRESULT hr = CBaseInputPin::EndFlush();
    m_renderer->EndFlush();
    return hr;
}

CRendererBase::CRendererBase(LPCTSTR name, LPUNKNOWN pUnk, REFCLSID clsid, LPCWSTR pinName, bool hold, HRESULT* phr)
    : CBaseFilter(name, pUnk, &m_lock, clsid), m_pin(this, &m_lock, phr, pinName), m_hold(hold),
      m_ready(true), m_release(true), m_timer(CreateEventA(nullptr, FALSE, FALSE, nullptr)), m_isReady(0),
      m_isAborting(0), m_isRunning(false), m_timedWait(false), m_eos(false), m_completeSent(false),
      m_seeking(nullptr)
{
    HRESULT hr = S_OK;
    m_seeking = new (std::nothrow) CRendererPosPassThru(NAME("Renderer seeking"), GetOwner(), &hr, &m_pin);
    if (m_seeking)
        m_seeking->NonDelegatingAddRef();
    if ((!m_seeking || !m_timer) && phr)
        *phr = E_OUTOFMEMORY;
}

CRendererBase::~CRendererBase()
{
    if (m_seeking)
        m_seeking->NonDelegatingRelease();
    CloseHandle(m_timer);
}

STDMETHODIMP CRendererBase::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IAMFilterMiscFlags))
        return GetInterface(static_cast<IAMFilterMiscFlags*>(this), ppv);
    if (IsEqualIID(riid, IID_IMediaSeeking) && m_seeking)
        return m_seeking->NonDelegatingQueryInterface(riid, ppv);
    return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

void CRendererBase::SetReady()
{
    m_ready.Set();
    InterlockedExchange(&m_isReady, 1);
}

void CRendererBase::ResetReady()
{
    InterlockedExchange(&m_isReady, 0);
    m_ready.Reset();
}

void CRendererBase::SetAbort()
{
    InterlockedExchange(&m_isAborting, 1);
    m_release.Set();
    // A sample waiting for its time waits on the clock's event alone.
    if (m_timedWait)
        SetEvent(m_timer);
}

void CRendererBase::ResetAbort()
{
    InterlockedExchange(&m_isAborting, 0);
    if (!m_isRunning)
        m_release.Reset();
}

void CRendererBase::SetRunning(bool running)
{
    m_isRunning = running;
    if (running)
        m_release.Set();
    else if (!m_isAborting)
        m_release.Reset();
}

STDMETHODIMP CRendererBase::Stop()
{
    // Release a sample waiting in Receive before taking the filter's lock.
    {
        CAutoLock s(&m_stateLock);
        SetAbort();
    }
    CAutoLock l(&m_lock);
    {
        CAutoLock s(&m_stateLock);
        SetRunning(false);
        ResetReady();
        m_eos = false;
        m_completeSent = false;
    }
    if (m_seeking)
        m_seeking->ResetMediaTime();
    HRESULT hr = CBaseFilter::Stop();
    OnStateChange(State_Stopped);
    return hr;
}

STDMETHODIMP CRendererBase::Pause()
{
    CAutoLock l(&m_lock);
    {
        CAutoLock s(&m_stateLock);
        if (m_State == State_Stopped) {
            ResetAbort();
            ResetReady();
            m_eos = false;
            m_completeSent = false;
        }
        SetRunning(false);
        // Nothing will arrive at an unconnected pin: the pause is complete at once.
        if (!m_pin.IsConnected())
            SetReady();
    }
    HRESULT hr = CBaseFilter::Pause();
    OnStateChange(State_Paused);
    return hr;
}

STDMETHODIMP CRendererBase::Run(REFERENCE_TIME tStart)
{
    CAutoLock l(&m_lock);
    if (m_State == State_Stopped) {
        HRESULT hr = Pause();
        if (FAILED(hr))
            return hr;
    }
    HRESULT hr = CBaseFilter::Run(tStart);
    bool complete;
    {
        CAutoLock s(&m_stateLock);
        SetRunning(true);
        complete = m_eos && !m_completeSent;
        if (complete)
            m_completeSent = true;
    }
    if (complete)
        NotifyEvent(EC_COMPLETE, S_OK, 0);
    OnStateChange(State_Running);
    return hr;
}

STDMETHODIMP CRendererBase::GetState(DWORD dwMSecs, FILTER_STATE* State)
{
    if (!State)
        return E_POINTER;
    FILTER_STATE s = m_State;
    *State = s;
    if (s != State_Paused || !m_hold || m_isReady)
        return S_OK;
    if (dwMSecs == 0 || !m_ready.Wait(dwMSecs))
        return VFW_S_STATE_INTERMEDIATE;
    return S_OK;
}

bool CRendererBase::WaitUntil(REFERENCE_TIME t)
{
    IReferenceClock* clock = nullptr;
    REFERENCE_TIME base;
    {
        CAutoLock l(&m_stateLock);
        clock = m_pClock;
        if (clock)
            clock->AddRef();
        base = m_tStart;
    }
    if (!clock)
        return !m_isAborting;
    DWORD_PTR cookie = 0;
    ResetEvent(m_timer);
    HRESULT hr = clock->AdviseTime(base, t, (HEVENT)m_timer, &cookie);
    bool ok = true;
    if (SUCCEEDED(hr)) {
        // A flush or stop from here on sets the clock's event as well; one before it is
        // seen in the flag.
        {
            CAutoLock s(&m_stateLock);
            m_timedWait = true;
            ok = !m_isAborting;
        }
        if (ok)
            WaitForSingleObject(m_timer, INFINITE);
        {
            CAutoLock s(&m_stateLock);
            m_timedWait = false;
            ok = !m_isAborting;
            // The flush or stop may have set the event after the clock had already: that
            // set must not let the next sample go before its time.
            if (!ok)
                ResetEvent(m_timer);
        }
        clock->Unadvise(cookie);
    }
    clock->Release();
    return ok;
}

HRESULT CRendererBase::Receive(IMediaSample* pSample)
{
    if (m_seeking)
        m_seeking->RegisterMediaTime(pSample);
    bool shown = false;
    if (m_State == State_Paused && m_hold) {
        // Shown at once, then held until the run, a flush or a stop. A sample that was
        // already on its way when a flush (a seek) began is from before it: it must not
        // complete the pause, or the pause would be taken as done on the old picture
        // before the new position's arrives.
        if (m_isAborting)
            return S_FALSE;
        DoRenderSample(pSample);
        shown = true;
        {
            CAutoLock s(&m_stateLock);
            if (m_isAborting)
                return S_FALSE;
            SetReady();
        }
        m_release.Wait();
        if (m_isAborting)
            return S_FALSE;
    }
    {
        CAutoLock s(&m_stateLock);
        SetReady();
    }
    if (m_State == State_Stopped)
        return VFW_E_WRONG_STATE;
    REFERENCE_TIME start, stop;
    if (m_State == State_Running && SUCCEEDED(pSample->GetTime(&start, &stop))) {
        if (!WaitUntil(start))
            return S_FALSE;
    }
    if (!shown)
        DoRenderSample(pSample);
    return S_OK;
}

HRESULT CRendererBase::EndOfStream()
{
    bool complete = false;
    {
        CAutoLock s(&m_stateLock);
        m_eos = true;
        SetReady();
        if (m_State == State_Running && !m_completeSent) {
            m_completeSent = true;
            complete = true;
        }
    }
    if (m_seeking)
        m_seeking->EOS();
    if (complete)
        NotifyEvent(EC_COMPLETE, S_OK, 0);
    return S_OK;
}

void CRendererBase::BeginFlush()
{
    CAutoLock s(&m_stateLock);
    SetAbort();
    ResetReady();
    m_eos = false;
    m_completeSent = false;
    if (m_seeking)
        m_seeking->ResetMediaTime();
}

void CRendererBase::EndFlush()
{
    CAutoLock s(&m_stateLock);
    ResetAbort();
}
