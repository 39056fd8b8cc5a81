#include "streams.h"
#include <new>

// ---------------------------------------------------------------------------------------
// CTransformInputPin

CTransformInputPin::CTransformInputPin(LPCTSTR pObjectName, CTransformFilter* pFilter, HRESULT* phr, LPCWSTR pName)
    : CBaseInputPin(pObjectName, pFilter, &pFilter->m_csFilter, phr, pName), m_pTransformFilter(pFilter)
{
}

HRESULT CTransformInputPin::CheckConnect(IPin* pPin)
{
    HRESULT hr = m_pTransformFilter->CheckConnect(PINDIR_INPUT, pPin);
    if (FAILED(hr))
        return hr;
    return CBaseInputPin::CheckConnect(pPin);
}

HRESULT CTransformInputPin::BreakConnect()
{
    m_pTransformFilter->BreakConnect(PINDIR_INPUT);
    return CBaseInputPin::BreakConnect();
}

HRESULT CTransformInputPin::CompleteConnect(IPin* pReceivePin)
{
    HRESULT hr = m_pTransformFilter->CompleteConnect(PINDIR_INPUT, pReceivePin);
    if (FAILED(hr))
        return hr;
    return CBaseInputPin::CompleteConnect(pReceivePin);
}

HRESULT CTransformInputPin::CheckMediaType(const CMediaType* pmt)
{
    HRESULT hr = m_pTransformFilter->CheckInputType(pmt);
    if (hr != S_OK)
        return hr;
    if (m_pTransformFilter->m_pOutput && m_pTransformFilter->m_pOutput->IsConnected())
        return m_pTransformFilter->CheckTransform(pmt, &m_pTransformFilter->m_pOutput->CurrentMediaType());
    return S_OK;
}

HRESULT CTransformInputPin::SetMediaType(const CMediaType* mt)
{
    HRESULT hr = CBasePin::SetMediaType(mt);
    if (FAILED(hr))
        return hr;
    return m_pTransformFilter->SetMediaType(PINDIR_INPUT, mt);
}

HRESULT CTransformInputPin::CheckStreaming()
{
    if (!m_pTransformFilter->m_pOutput->IsConnected())
        return VFW_E_NOT_CONNECTED;
    return CBaseInputPin::CheckStreaming();
}

STDMETHODIMP CTransformInputPin::Receive(IMediaSample* pSample)
{
    CAutoLock l(&m_pTransformFilter->m_csReceive);
    HRESULT hr = CBaseInputPin::Receive(pSample);
    if (hr == S_OK)
        hr = m_pTransformFilter->Receive(pSample);
    return hr;
}

STDMETHODIMP CTransformInputPin::EndOfStream()
{
    CAutoLock l(&m_pTransformFilter->m_csReceive);
    HRESULT hr = CheckStreaming();
    if (hr == S_OK)
        hr = m_pTransformFilter->EndOfStream();
    return hr;
}

STDMETHODIMP CTransformInputPin::BeginFlush()
{
    CAutoLock l(&m_pTransformFilter->m_csFilter);
    if (!IsConnected() || !m_pTransformFilter->m_pOutput->IsConnected())
        return VFW_E_NOT_CONNECTED;
    HRESULT hr = CBaseInputPin::BeginFlush();
    if (FAILED(hr))
        return hr;
    return m_pTransformFilter->BeginFlush();
}

STDMETHODIMP CTransformInputPin::EndFlush()
{
    CAutoLock l(&m_pTransformFilter->m_csFilter);
    if (!IsConnected() || !m_pTransformFilter->m_pOutput->IsConnected())
        return VFW_E_NOT_CONNECTED;
    HRESULT hr = m_pTransformFilter->EndFlush();
    if (FAILED(hr))
        return hr;
    return CBaseInputPin::EndFlush();
}

STDMETHODIMP CTransformInputPin::NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate)
{
    CBasePin::NewSegment(tStart, tStop, dRate);
    return m_pTransformFilter->NewSegment(tStart, tStop, dRate);
}

// ---------------------------------------------------------------------------------------
// CTransformOutputPin

CTransformOutputPin::CTransformOutputPin(LPCTSTR pObjectName, CTransformFilter* pFilter, HRESULT* phr, LPCWSTR pName)
    : CBaseOutputPin(pObjectName, pFilter, &pFilter->m_csFilter, phr, pName), m_pTransformFilter(pFilter),
      m_pPosition(nullptr)
{
}

CTransformOutputPin::~CTransformOutputPin()
{
    if (m_pPosition)
        m_pPosition->Release();
}

STDMETHODIMP CTransformOutputPin::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IMediaSeeking) || IsEqualIID(riid, IID_IMediaPosition)) {
        if (!m_pPosition) {
            HRESULT hr = S_OK;
            CPosPassThru* p = new (std::nothrow)
                CPosPassThru(NAME("Transform seeking"), static_cast<IPin*>(this), &hr, m_pTransformFilter->InputPin());
            if (!p)
                return E_OUTOFMEMORY;
            m_pPosition = reinterpret_cast<IUnknown*>(static_cast<PNDUNKNOWN>(p));
            m_pPosition->AddRef();
        }
        return m_pPosition->QueryInterface(riid, ppv);
    }
    return CBaseOutputPin::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CTransformOutputPin::CheckConnect(IPin* pPin)
{
    if (!m_pTransformFilter->m_pInput->IsConnected())
        return E_UNEXPECTED;
    HRESULT hr = m_pTransformFilter->CheckConnect(PINDIR_OUTPUT, pPin);
    if (FAILED(hr))
        return hr;
    return CBaseOutputPin::CheckConnect(pPin);
}

HRESULT CTransformOutputPin::BreakConnect()
{
    m_pTransformFilter->BreakConnect(PINDIR_OUTPUT);
    return CBaseOutputPin::BreakConnect();
}

HRESULT CTransformOutputPin::CompleteConnect(IPin* pReceivePin)
{
    HRESULT hr = m_pTransformFilter->CompleteConnect(PINDIR_OUTPUT, pReceivePin);
    if (FAILED(hr))
        return hr;
    return CBaseOutputPin::CompleteConnect(pReceivePin);
}

HRESULT CTransformOutputPin::DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProp)
{
    return m_pTransformFilter->DecideBufferSize(pAlloc, pProp);
}

HRESULT CTransformOutputPin::CheckMediaType(const CMediaType* pmtOut)
{
    if (!m_pTransformFilter->m_pInput->IsConnected())
        return E_INVALIDARG;
    return m_pTransformFilter->CheckTransform(&m_pTransformFilter->m_pInput->CurrentMediaType(), pmtOut);
}

HRESULT CTransformOutputPin::SetMediaType(const CMediaType* pmt)
{
    HRESULT hr = CBasePin::SetMediaType(pmt);
    if (FAILED(hr))
        return hr;
    return m_pTransformFilter->SetMediaType(PINDIR_OUTPUT, pmt);
}

HRESULT CTransformOutputPin::GetMediaType(int iPosition, CMediaType* pMediaType)
{
    if (!m_pTransformFilter->m_pInput->IsConnected())
        return VFW_S_NO_MORE_ITEMS;
    return m_pTransformFilter->GetMediaType(iPosition, pMediaType);
}

STDMETHODIMP CTransformOutputPin::Notify(IBaseFilter*, Quality q)
{
    HRESULT hr = m_pTransformFilter->AlterQuality(q);
    if (hr != S_FALSE)
        return hr;
    return m_pTransformFilter->m_pInput->PassNotify(q);
}

// ---------------------------------------------------------------------------------------
// CTransformFilter

CTransformFilter::CTransformFilter(LPCTSTR pName, LPUNKNOWN pUnk, REFCLSID clsid)
    : CBaseFilter(pName, pUnk, &m_csFilter, clsid), m_bEOSDelivered(false), m_bSampleSkipped(false),
      m_bQualityChanged(false), m_pInput(nullptr), m_pOutput(nullptr)
{
}

CTransformFilter::~CTransformFilter()
{
    delete m_pInput;
    delete m_pOutput;
}

CBasePin* CTransformFilter::GetPin(int n)
{
    if (!m_pInput) {
        HRESULT hr = S_OK;
        m_pInput = new (std::nothrow) CTransformInputPin(NAME("Transform input pin"), this, &hr, L"XForm In");
        if (!m_pInput)
            return nullptr;
        m_pOutput = new (std::nothrow) CTransformOutputPin(NAME("Transform output pin"), this, &hr, L"XForm Out");
        if (!m_pOutput) {
            delete m_pInput;
            m_pInput = nullptr;
            return nullptr;
        }
    }
    if (n == 0)
        return m_pInput;
    if (n == 1)
        return m_pOutput;
    return nullptr;
}

STDMETHODIMP CTransformFilter::FindPin(LPCWSTR Id, IPin** ppPin)
{
    if (!ppPin)
        return E_POINTER;
    GetPin(0);
    return CBaseFilter::FindPin(Id, ppPin);
}

STDMETHODIMP CTransformFilter::Stop()
{
    CAutoLock l(&m_csFilter);
    if (m_State == State_Stopped)
        return S_OK;
    if (!m_pInput || !m_pInput->IsConnected() || !m_pOutput->IsConnected()) {
        m_State = State_Stopped;
        m_bEOSDelivered = false;
        return S_OK;
    }
    // The input stops first, so the streaming thread is out of Receive before the
    // output's allocator goes.
    m_pInput->Inactive();
    CAutoLock r(&m_csReceive);
    m_pOutput->Inactive();
    HRESULT hr = StopStreaming();
    if (SUCCEEDED(hr)) {
        m_State = State_Stopped;
        m_bEOSDelivered = false;
    }
    return hr;
}

STDMETHODIMP CTransformFilter::Pause()
{
    CAutoLock l(&m_csFilter);
    HRESULT hr = S_OK;
    GetPin(0);
    if (m_State == State_Paused) {
        // nothing to change
    } else if (!m_pInput->IsConnected()) {
        if (m_pOutput->IsConnected() && !m_bEOSDelivered) {
            m_pOutput->DeliverEndOfStream();
            m_bEOSDelivered = true;
        }
    } else if (!m_pOutput->IsConnected()) {
        // nothing downstream to feed
    } else if (m_State == State_Stopped) {
        CAutoLock r(&m_csReceive);
        hr = StartStreaming();
    }
    if (SUCCEEDED(hr))
        hr = CBaseFilter::Pause();
    m_bSampleSkipped = false;
    m_bQualityChanged = false;
    return hr;
}

HRESULT CTransformFilter::Transform(IMediaSample*, IMediaSample*) { return E_UNEXPECTED; }

HRESULT CTransformFilter::InitializeOutputSample(IMediaSample* pSample, IMediaSample** ppOutSample)
{
    AM_SAMPLE2_PROPERTIES* const props = m_pInput->SampleProps();
    DWORD flags = m_bSampleSkipped ? AM_GBF_PREVFRAMESKIPPED : 0;
    if (!(props->dwSampleFlags & AM_SAMPLE_SPLICEPOINT))
        flags |= AM_GBF_NOTASYNCPOINT;
    IMediaSample* out = nullptr;
    HRESULT hr = m_pOutput->GetDeliveryBuffer(&out, (props->dwSampleFlags & AM_SAMPLE_TIMEVALID) ? &props->tStart : nullptr,
                                              (props->dwSampleFlags & AM_SAMPLE_STOPVALID) ? &props->tStop : nullptr, flags);
    if (FAILED(hr))
        return hr;
    if (props->dwSampleFlags & AM_SAMPLE_TIMEVALID)
        out->SetTime(&props->tStart, (props->dwSampleFlags & AM_SAMPLE_STOPVALID) ? &props->tStop : nullptr);
    else
        out->SetTime(nullptr, nullptr);
    out->SetSyncPoint((props->dwSampleFlags & AM_SAMPLE_SPLICEPOINT) != 0);
    out->SetDiscontinuity(m_bSampleSkipped || (props->dwSampleFlags & AM_SAMPLE_DATADISCONTINUITY));
    out->SetPreroll((props->dwSampleFlags & AM_SAMPLE_PREROLL) != 0);
    LONGLONG ms, me;
    if (pSample->GetMediaTime(&ms, &me) == S_OK)
        out->SetMediaTime(&ms, &me);
    *ppOutSample = out;
    return S_OK;
}

HRESULT CTransformFilter::Receive(IMediaSample* pSample)
{
    AM_SAMPLE2_PROPERTIES* const props = m_pInput->SampleProps();
    if (props->dwStreamId != AM_STREAM_MEDIA)
        return m_pOutput->Deliver(pSample);
    IMediaSample* out = nullptr;
    HRESULT hr = InitializeOutputSample(pSample, &out);
    if (FAILED(hr))
        return hr;
    hr = Transform(pSample, out);
    if (FAILED(hr)) {
        out->Release();
        return hr;
    }
    if (hr == S_OK) {
        hr = m_pOutput->Deliver(out);
        m_bSampleSkipped = false;
    } else {
        // S_FALSE: the transform chose to drop this sample.
        hr = S_OK;
        m_bSampleSkipped = true;
        if (!m_bQualityChanged) {
            NotifyEvent(EC_QUALITY_CHANGE, 0, 0);
            m_bQualityChanged = true;
        }
    }
    out->Release();
    return hr;
}

HRESULT CTransformFilter::EndOfStream()
{
    if (!m_pOutput)
        return VFW_E_NOT_CONNECTED;
    return m_pOutput->DeliverEndOfStream();
}

HRESULT CTransformFilter::BeginFlush() { return m_pOutput ? m_pOutput->DeliverBeginFlush() : VFW_E_NOT_CONNECTED; }
HRESULT CTransformFilter::EndFlush() { return m_pOutput ? m_pOutput->DeliverEndFlush() : VFW_E_NOT_CONNECTED; }

HRESULT CTransformFilter::NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate)
{
    return m_pOutput && m_pOutput->IsConnected() ? m_pOutput->DeliverNewSegment(tStart, tStop, dRate) : S_OK;
}
