#include "streams.h"
#include <cstring>
#include <new>

// ---------------------------------------------------------------------------------------
// CTransInPlaceInputPin

CTransInPlaceInputPin::CTransInPlaceInputPin(LPCTSTR pObjectName, CTransInPlaceFilter* pFilter, HRESULT* phr,
                                             LPCWSTR pName)
    : CTransformInputPin(pObjectName, pFilter, phr, pName), m_pTIPFilter(pFilter)
{
}

// The types on offer are the downstream pin's: the output type is the input type.
STDMETHODIMP CTransInPlaceInputPin::EnumMediaTypes(IEnumMediaTypes** ppEnum)
{
    if (!ppEnum)
        return E_POINTER;
    *ppEnum = nullptr;
    if (!m_pTIPFilter->m_pOutput->IsConnected())
        return VFW_E_NOT_CONNECTED;
    return m_pTIPFilter->m_pOutput->GetConnected()->EnumMediaTypes(ppEnum);
}

HRESULT CTransInPlaceInputPin::CheckMediaType(const CMediaType* pmt)
{
    HRESULT hr = m_pTIPFilter->CheckInputType(pmt);
    if (hr != S_OK)
        return hr;
    if (m_pTIPFilter->m_pOutput->IsConnected())
        return m_pTIPFilter->m_pOutput->GetConnected()->QueryAccept(pmt);
    return S_OK;
}

// Upstream is offered the downstream allocator, so samples pass without a copy.
STDMETHODIMP CTransInPlaceInputPin::GetAllocator(IMemAllocator** ppAllocator)
{
    if (!ppAllocator)
        return E_POINTER;
    CAutoLock l(m_pLock);
    CTransInPlaceOutputPin* out = m_pTIPFilter->OutputPin();
    if (out->IsConnected() && out->ConnectedIMemInputPin()) {
        HRESULT hr = out->ConnectedIMemInputPin()->GetAllocator(ppAllocator);
        if (SUCCEEDED(hr)) {
            // Remember it, so that the filter sees both sides using it.
            (*ppAllocator)->AddRef();
            if (m_pAllocator)
                m_pAllocator->Release();
            m_pAllocator = *ppAllocator;
            return hr;
        }
    }
    return CBaseInputPin::GetAllocator(ppAllocator);
}

STDMETHODIMP CTransInPlaceInputPin::NotifyAllocator(IMemAllocator* pAllocator, BOOL bReadOnly)
{
    if (!pAllocator)
        return E_POINTER;
    CAutoLock l(m_pLock);
    HRESULT hr = CBaseInputPin::NotifyAllocator(pAllocator, bReadOnly);
    if (FAILED(hr))
        return hr;
    // A read-only upstream buffer cannot be changed in place: keep a separate output buffer.
    CTransInPlaceOutputPin* out = m_pTIPFilter->OutputPin();
    if (out->IsConnected() && !(bReadOnly && m_pTIPFilter->m_bModifiesData)) {
        IMemInputPin* down = out->ConnectedIMemInputPin();
        if (down && out->PeekAllocator() != pAllocator && SUCCEEDED(down->NotifyAllocator(pAllocator, bReadOnly)))
            out->SetAllocator(pAllocator);
    }
    return S_OK;
}

STDMETHODIMP CTransInPlaceInputPin::GetAllocatorRequirements(ALLOCATOR_PROPERTIES* pProps)
{
    CTransInPlaceOutputPin* out = m_pTIPFilter->OutputPin();
    if (out->IsConnected() && out->ConnectedIMemInputPin())
        return out->ConnectedIMemInputPin()->GetAllocatorRequirements(pProps);
    return E_NOTIMPL;
}

HRESULT CTransInPlaceInputPin::CompleteConnect(IPin* pReceivePin)
{
    HRESULT hr = CTransformInputPin::CompleteConnect(pReceivePin);
    if (FAILED(hr))
        return hr;
    // A changed input type is carried downstream by reconnecting the output.
    CTransInPlaceOutputPin* out = m_pTIPFilter->OutputPin();
    if (out->IsConnected() && out->CurrentMediaType() != m_mt)
        return m_pTIPFilter->ReconnectPin(out, &m_mt);
    return S_OK;
}

// ---------------------------------------------------------------------------------------
// CTransInPlaceOutputPin

CTransInPlaceOutputPin::CTransInPlaceOutputPin(LPCTSTR pObjectName, CTransInPlaceFilter* pFilter, HRESULT* phr,
                                               LPCWSTR pName)
    : CTransformOutputPin(pObjectName, pFilter, phr, pName), m_pTIPFilter(pFilter)
{
}

STDMETHODIMP CTransInPlaceOutputPin::EnumMediaTypes(IEnumMediaTypes** ppEnum)
{
    if (!ppEnum)
        return E_POINTER;
    *ppEnum = nullptr;
    if (!m_pTIPFilter->m_pInput->IsConnected())
        return VFW_E_NOT_CONNECTED;
    return CBasePin::EnumMediaTypes(ppEnum);
}

HRESULT CTransInPlaceOutputPin::CheckMediaType(const CMediaType* pmt)
{
    CTransformInputPin* in = m_pTIPFilter->m_pInput;
    if (!in->IsConnected())
        return E_INVALIDARG;
    HRESULT hr = m_pTIPFilter->CheckTransform(&in->CurrentMediaType(), pmt);
    if (hr != S_OK)
        return hr;
    if (*pmt == in->CurrentMediaType())
        return S_OK;
    // Another type is possible only when the filter and its upstream take it too.
    hr = m_pTIPFilter->CheckInputType(pmt);
    if (hr != S_OK)
        return hr;
    return in->GetConnected()->QueryAccept(pmt);
}

// The output media type list: the input connection's own type.
HRESULT CTransInPlaceOutputPin::DecideAllocator(IMemInputPin* pPin, IMemAllocator** ppAlloc)
{
    *ppAlloc = nullptr;
    CTransInPlaceInputPin* in = m_pTIPFilter->InputPin();
    IMemAllocator* upstream = in->PeekAllocator();
    if (upstream && !(in->ReadOnly() && m_pTIPFilter->m_bModifiesData)) {
        if (SUCCEEDED(pPin->NotifyAllocator(upstream, in->ReadOnly()))) {
            upstream->AddRef();
            *ppAlloc = upstream;
            return S_OK;
        }
    }
    return CBaseOutputPin::DecideAllocator(pPin, ppAlloc);
}

void CTransInPlaceOutputPin::SetAllocator(IMemAllocator* pAllocator)
{
    pAllocator->AddRef();
    if (m_pAllocator)
        m_pAllocator->Release();
    m_pAllocator = pAllocator;
}

// ---------------------------------------------------------------------------------------
// CTransInPlaceFilter

CTransInPlaceFilter::CTransInPlaceFilter(LPCTSTR pName, LPUNKNOWN pUnk, REFCLSID clsid, HRESULT*, bool bModifiesData)
    : CTransformFilter(pName, pUnk, clsid), m_bModifiesData(bModifiesData)
{
}

CBasePin* CTransInPlaceFilter::GetPin(int n)
{
    if (!m_pInput) {
        HRESULT hr = S_OK;
        m_pInput = new (std::nothrow) CTransInPlaceInputPin(NAME("TransInPlace input pin"), this, &hr, L"Input");
        if (!m_pInput)
            return nullptr;
        m_pOutput = new (std::nothrow) CTransInPlaceOutputPin(NAME("TransInPlace output pin"), this, &hr, L"Output");
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

// Used when this filter has to supply the output allocator: buffers like the upstream ones.
HRESULT CTransInPlaceFilter::DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProperties)
{
    ALLOCATOR_PROPERTIES request, actual;
    HRESULT hr = E_FAIL;
    IMemAllocator* upstream = InputPin()->PeekAllocator();
    if (upstream)
        hr = upstream->GetProperties(&request);
    if (FAILED(hr) || request.cbBuffer <= 0) {
        request = *pProperties;
        if (request.cbBuffer <= 0)
            request.cbBuffer = LONG(m_pInput->CurrentMediaType().GetSampleSize());
    }
    if (request.cBuffers < 1)
        request.cBuffers = 1;
    if (request.cbBuffer < 1)
        request.cbBuffer = 1;
    if (pProperties->cBuffers > request.cBuffers)
        request.cBuffers = pProperties->cBuffers;
    if (pProperties->cbBuffer > request.cbBuffer)
        request.cbBuffer = pProperties->cbBuffer;
    if (pProperties->cbAlign > request.cbAlign)
        request.cbAlign = pProperties->cbAlign;
    if (request.cbAlign < 1)
        request.cbAlign = 1;
    hr = pAlloc->SetProperties(&request, &actual);
    if (FAILED(hr))
        return hr;
    if (actual.cBuffers < request.cBuffers || actual.cbBuffer < request.cbBuffer)
        return E_FAIL;
    return S_OK;
}

HRESULT CTransInPlaceFilter::GetMediaType(int iPosition, CMediaType* pMediaType)
{
    if (iPosition < 0)
        return E_INVALIDARG;
    if (!m_pInput || !m_pInput->IsConnected())
        return E_UNEXPECTED;
    if (iPosition > 0)
        return VFW_S_NO_MORE_ITEMS;
    *pMediaType = m_pInput->CurrentMediaType();
    return S_OK;
}

HRESULT CTransInPlaceFilter::CompleteConnect(PIN_DIRECTION, IPin*) { return S_OK; }

BOOL CTransInPlaceFilter::TypesMatch()
{
    return InputPin()->CurrentMediaType() == OutputPin()->CurrentMediaType();
}

BOOL CTransInPlaceFilter::UsingDifferentAllocators() const
{
    return InputPin()->PeekAllocator() != OutputPin()->PeekAllocator();
}

IMediaSample* CTransInPlaceFilter::Copy(IMediaSample* pSource)
{
    IMediaSample* dest = nullptr;
    if (FAILED(InitializeOutputSample(pSource, &dest)) || !dest)
        return nullptr;
    LONG length = pSource->GetActualDataLength();
    BYTE *src = nullptr, *dst = nullptr;
    if (length > dest->GetSize() || FAILED(pSource->GetPointer(&src)) || FAILED(dest->GetPointer(&dst))) {
        dest->Release();
        return nullptr;
    }
    memcpy(dst, src, length);
    dest->SetActualDataLength(length);
    AM_SAMPLE2_PROPERTIES* const props = m_pInput->SampleProps();
    if (props->dwSampleFlags & AM_SAMPLE_TYPECHANGED)
        dest->SetMediaType(props->pMediaType);
    return dest;
}

HRESULT CTransInPlaceFilter::Receive(IMediaSample* pSample)
{
    AM_SAMPLE2_PROPERTIES* const props = m_pInput->SampleProps();
    if (props->dwStreamId != AM_STREAM_MEDIA)
        return m_pOutput->Deliver(pSample);
    const bool copy = UsingDifferentAllocators();
    if (copy) {
        pSample = Copy(pSample);
        if (!pSample)
            return E_UNEXPECTED;
    }
    HRESULT hr = Transform(pSample);
    if (SUCCEEDED(hr)) {
        if (hr == S_OK) {
            hr = m_pOutput->Deliver(pSample);
            m_bSampleSkipped = false;
        } else {
            // S_FALSE: dropped by the transform.
            hr = S_OK;
            m_bSampleSkipped = true;
            if (!m_bQualityChanged) {
                NotifyEvent(EC_QUALITY_CHANGE, 0, 0);
                m_bQualityChanged = true;
            }
        }
    }
    if (copy)
        pSample->Release();
    return hr;
}
