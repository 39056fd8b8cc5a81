#include "streams.h"
#include <cstring>
#include <new>

static WCHAR* CopyWide(LPCWSTR s)
{
    if (!s)
        return nullptr;
    size_t n = lstrlenW(s) + 1;
    WCHAR* p = new WCHAR[n];
    memcpy(p, s, n * sizeof(WCHAR));
    return p;
}

// ---------------------------------------------------------------------------------------
// CBaseFilter

CBaseFilter::CBaseFilter(LPCTSTR pName, LPUNKNOWN pUnk, CCritSec* pLock, REFCLSID clsid, HRESULT*)
    : CUnknown(pName, pUnk), m_State(State_Stopped), m_pClock(nullptr), m_clsid(clsid), m_pLock(pLock),
      m_pName(nullptr), m_pGraph(nullptr), m_pSink(nullptr), m_PinVersion(1)
{
}

CBaseFilter::~CBaseFilter()
{
    delete[] m_pName;
    if (m_pClock)
        m_pClock->Release();
}

STDMETHODIMP CBaseFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IBaseFilter) || IsEqualIID(riid, IID_IMediaFilter) || IsEqualIID(riid, IID_IPersist))
        return GetInterface(static_cast<IBaseFilter*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CBaseFilter::GetClassID(CLSID* pClsID)
{
    if (!pClsID)
        return E_POINTER;
    *pClsID = m_clsid;
    return S_OK;
}

STDMETHODIMP CBaseFilter::GetState(DWORD, FILTER_STATE* State)
{
    if (!State)
        return E_POINTER;
    *State = m_State;
    return S_OK;
}

STDMETHODIMP CBaseFilter::SetSyncSource(IReferenceClock* pClock)
{
    CAutoLock l(m_pLock);
    if (pClock)
        pClock->AddRef();
    if (m_pClock)
        m_pClock->Release();
    m_pClock = pClock;
    return S_OK;
}

STDMETHODIMP CBaseFilter::GetSyncSource(IReferenceClock** pClock)
{
    if (!pClock)
        return E_POINTER;
    CAutoLock l(m_pLock);
    *pClock = m_pClock;
    if (m_pClock)
        m_pClock->AddRef();
    return S_OK;
}

STDMETHODIMP CBaseFilter::Stop()
{
    CAutoLock l(m_pLock);
    HRESULT hr = S_OK;
    if (m_State != State_Stopped) {
        for (int i = 0; i < GetPinCount(); ++i) {
            CBasePin* pin = GetPin(i);
            if (pin && pin->IsConnected()) {
                HRESULT h = pin->Inactive();
                if (FAILED(h) && SUCCEEDED(hr))
                    hr = h;
            }
        }
    }
    m_State = State_Stopped;
    return hr;
}

STDMETHODIMP CBaseFilter::Pause()
{
    CAutoLock l(m_pLock);
    if (m_State == State_Stopped) {
        for (int i = 0; i < GetPinCount(); ++i) {
            CBasePin* pin = GetPin(i);
            if (pin && pin->IsConnected()) {
                HRESULT hr = pin->Active();
                if (FAILED(hr))
                    return hr;
            }
        }
    }
    m_State = State_Paused;
    return S_OK;
}

STDMETHODIMP CBaseFilter::Run(REFERENCE_TIME tStart)
{
    CAutoLock l(m_pLock);
    if (m_State == State_Stopped) {
        HRESULT hr = Pause();
        if (FAILED(hr))
            return hr;
    }
    m_tStart = tStart;
    if (m_State == State_Paused) {
        for (int i = 0; i < GetPinCount(); ++i) {
            CBasePin* pin = GetPin(i);
            if (pin && pin->IsConnected()) {
                HRESULT hr = pin->Run(tStart);
                if (FAILED(hr))
                    return hr;
            }
        }
    }
    m_State = State_Running;
    return S_OK;
}

HRESULT CBaseFilter::StreamTime(CRefTime& rtStream)
{
    if (!m_pClock)
        return VFW_E_NO_CLOCK;
    REFERENCE_TIME now;
    HRESULT hr = m_pClock->GetTime(&now);
    if (FAILED(hr))
        return hr;
    rtStream = now - m_tStart;
    return S_OK;
}

STDMETHODIMP CBaseFilter::EnumPins(IEnumPins** ppEnum)
{
    if (!ppEnum)
        return E_POINTER;
    *ppEnum = new (std::nothrow) CEnumPins(this);
    if (!*ppEnum)
        return E_OUTOFMEMORY;
    (*ppEnum)->AddRef();
    return S_OK;
}

STDMETHODIMP CBaseFilter::FindPin(LPCWSTR Id, IPin** ppPin)
{
    if (!ppPin)
        return E_POINTER;
    *ppPin = nullptr;
    if (!Id)
        return E_POINTER;
    CAutoLock l(m_pLock);
    for (int i = 0; i < GetPinCount(); ++i) {
        CBasePin* pin = GetPin(i);
        if (pin && pin->Name() && lstrcmpW(pin->Name(), Id) == 0) {
            *ppPin = pin;
            pin->AddRef();
            return S_OK;
        }
    }
    return VFW_E_NOT_FOUND;
}

STDMETHODIMP CBaseFilter::QueryFilterInfo(FILTER_INFO* pInfo)
{
    if (!pInfo)
        return E_POINTER;
    memset(pInfo->achName, 0, sizeof pInfo->achName);
    if (m_pName)
        lstrcpynW(pInfo->achName, m_pName, MAX_FILTER_NAME);
    pInfo->pGraph = m_pGraph;
    if (m_pGraph)
        m_pGraph->AddRef();
    return S_OK;
}

// The graph holds the filter, so the filter keeps no reference on the graph (or its sink).
STDMETHODIMP CBaseFilter::JoinFilterGraph(IFilterGraph* pGraph, LPCWSTR pName)
{
    CAutoLock l(m_pLock);
    m_pGraph = pGraph;
    m_pSink = nullptr;
    if (pGraph && SUCCEEDED(pGraph->QueryInterface(IID_IMediaEventSink, (void**)&m_pSink)))
        m_pSink->Release();
    delete[] m_pName;
    m_pName = pGraph ? CopyWide(pName) : nullptr;
    return S_OK;
}

STDMETHODIMP CBaseFilter::QueryVendorInfo(LPWSTR*) { return E_NOTIMPL; }

HRESULT CBaseFilter::NotifyEvent(LONG EventCode, LONG_PTR EventParam1, LONG_PTR EventParam2)
{
    IMediaEventSink* sink = m_pSink;
    if (!sink)
        return E_NOTIMPL;
    // Completion carries the sender so the graph can count renderers.
    if (EventCode == EC_COMPLETE && EventParam2 == 0)
        EventParam2 = (LONG_PTR) static_cast<IBaseFilter*>(this);
    return sink->Notify(EventCode, EventParam1, EventParam2);
}

HRESULT CBaseFilter::ReconnectPin(IPin* pPin, const AM_MEDIA_TYPE* pmt)
{
    if (!m_pGraph)
        return E_NOINTERFACE;
    IFilterGraph2* g2 = nullptr;
    if (SUCCEEDED(m_pGraph->QueryInterface(IID_IFilterGraph2, (void**)&g2))) {
        HRESULT hr = g2->ReconnectEx(pPin, pmt);
        g2->Release();
        return hr;
    }
    return m_pGraph->Reconnect(pPin);
}

// ---------------------------------------------------------------------------------------
// CEnumPins / CEnumMediaTypes

CEnumPins::CEnumPins(CBaseFilter* pFilter, CEnumPins* pEnum)
    : m_cRef(0), m_Position(pEnum ? pEnum->m_Position : 0),
      m_Version(pEnum ? pEnum->m_Version : pFilter->GetPinVersion()), m_pFilter(pFilter)
{
    m_pFilter->AddRef();
}

CEnumPins::~CEnumPins() { m_pFilter->Release(); }

STDMETHODIMP CEnumPins::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IEnumPins)) {
        *ppv = static_cast<IEnumPins*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CEnumPins::AddRef() { return InterlockedIncrement(&m_cRef); }
STDMETHODIMP_(ULONG) CEnumPins::Release()
{
    LONG n = InterlockedDecrement(&m_cRef);
    if (!n)
        delete this;
    return n;
}

STDMETHODIMP CEnumPins::Next(ULONG cPins, IPin** ppPins, ULONG* pcFetched)
{
    if (!ppPins || (cPins > 1 && !pcFetched))
        return E_POINTER;
    if (m_Version != m_pFilter->GetPinVersion())
        return VFW_E_ENUM_OUT_OF_SYNC;
    ULONG n = 0;
    while (n < cPins && m_Position < m_pFilter->GetPinCount()) {
        CBasePin* pin = m_pFilter->GetPin(m_Position++);
        if (!pin)
            break;
        ppPins[n] = pin;
        pin->AddRef();
        ++n;
    }
    if (pcFetched)
        *pcFetched = n;
    return n == cPins ? S_OK : S_FALSE;
}

STDMETHODIMP CEnumPins::Skip(ULONG cPins)
{
    if (m_Version != m_pFilter->GetPinVersion())
        return VFW_E_ENUM_OUT_OF_SYNC;
    int left = m_pFilter->GetPinCount() - m_Position;
    if ((LONG)cPins > left)
        return S_FALSE;
    m_Position += cPins;
    return S_OK;
}

STDMETHODIMP CEnumPins::Reset()
{
    m_Version = m_pFilter->GetPinVersion();
    m_Position = 0;
    return S_OK;
}

STDMETHODIMP CEnumPins::Clone(IEnumPins** ppEnum)
{
    if (!ppEnum)
        return E_POINTER;
    if (m_Version != m_pFilter->GetPinVersion())
        return VFW_E_ENUM_OUT_OF_SYNC;
    *ppEnum = new (std::nothrow) CEnumPins(m_pFilter, this);
    if (!*ppEnum)
        return E_OUTOFMEMORY;
    (*ppEnum)->AddRef();
    return S_OK;
}

CEnumMediaTypes::CEnumMediaTypes(CBasePin* pPin, CEnumMediaTypes* pEnum)
    : m_cRef(0), m_Position(pEnum ? pEnum->m_Position : 0),
      m_Version(pEnum ? pEnum->m_Version : pPin->GetMediaTypeVersion()), m_pPin(pPin)
{
    m_pPin->AddRef();
}

CEnumMediaTypes::~CEnumMediaTypes() { m_pPin->Release(); }

STDMETHODIMP CEnumMediaTypes::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IEnumMediaTypes)) {
        *ppv = static_cast<IEnumMediaTypes*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CEnumMediaTypes::AddRef() { return InterlockedIncrement(&m_cRef); }
STDMETHODIMP_(ULONG) CEnumMediaTypes::Release()
{
    LONG n = InterlockedDecrement(&m_cRef);
    if (!n)
        delete this;
    return n;
}

STDMETHODIMP CEnumMediaTypes::Next(ULONG cTypes, AM_MEDIA_TYPE** ppTypes, ULONG* pcFetched)
{
    if (!ppTypes || (cTypes > 1 && !pcFetched))
        return E_POINTER;
    if (m_Version != m_pPin->GetMediaTypeVersion())
        return VFW_E_ENUM_OUT_OF_SYNC;
    ULONG n = 0;
    while (n < cTypes) {
        CMediaType mt;
        HRESULT hr = m_pPin->GetMediaType(m_Position, &mt);
        if (hr != S_OK)
            break;
        ++m_Position;
        ppTypes[n] = CreateMediaType(&mt);
        if (!ppTypes[n])
            break;
        ++n;
    }
    if (pcFetched)
        *pcFetched = n;
    return n == cTypes ? S_OK : S_FALSE;
}

STDMETHODIMP CEnumMediaTypes::Skip(ULONG cTypes)
{
    if (m_Version != m_pPin->GetMediaTypeVersion())
        return VFW_E_ENUM_OUT_OF_SYNC;
    while (cTypes) {
        CMediaType mt;
        if (m_pPin->GetMediaType(m_Position, &mt) != S_OK)
            return S_FALSE;
        ++m_Position;
        --cTypes;
    }
    return S_OK;
}

STDMETHODIMP CEnumMediaTypes::Reset()
{
    m_Position = 0;
    m_Version = m_pPin->GetMediaTypeVersion();
    return S_OK;
}

STDMETHODIMP CEnumMediaTypes::Clone(IEnumMediaTypes** ppEnum)
{
    if (!ppEnum)
        return E_POINTER;
    *ppEnum = new (std::nothrow) CEnumMediaTypes(m_pPin, this);
    if (!*ppEnum)
        return E_OUTOFMEMORY;
    (*ppEnum)->AddRef();
    return S_OK;
}

// ---------------------------------------------------------------------------------------
// CBasePin

CBasePin::CBasePin(LPCTSTR pObjectName, CBaseFilter* pFilter, CCritSec* pLock, HRESULT*, LPCWSTR pName,
                   PIN_DIRECTION dir)
    : CUnknown(pObjectName, nullptr), m_pName(CopyWide(pName)), m_Connected(nullptr), m_dir(dir),
      m_pLock(pLock), m_bRunTimeError(false), m_bCanReconnectWhenActive(false), m_bTryMyTypesFirst(false),
      m_pFilter(pFilter), m_pQSink(nullptr), m_TypeVersion(1), m_tStart(), m_tStop(REFERENCE_TIME(MAX_TIME)), m_dRate(1.0)
{
}

CBasePin::~CBasePin()
{
    delete[] m_pName;
    if (m_Connected)
        m_Connected->Release();
}

STDMETHODIMP CBasePin::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IPin))
        return GetInterface(static_cast<IPin*>(this), ppv);
    if (IsEqualIID(riid, IID_IQualityControl))
        return GetInterface(static_cast<IQualityControl*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP_(ULONG) CBasePin::NonDelegatingAddRef() { return m_pFilter->AddRef(); }
STDMETHODIMP_(ULONG) CBasePin::NonDelegatingRelease() { return m_pFilter->Release(); }

HRESULT CBasePin::SetMediaType(const CMediaType* pmt)
{
    m_mt = *pmt;
    return S_OK;
}

HRESULT CBasePin::CheckConnect(IPin* pPin)
{
    PIN_DIRECTION dir;
    HRESULT hr = pPin->QueryDirection(&dir);
    if (FAILED(hr))
        return hr;
    return dir == m_dir ? VFW_E_INVALID_DIRECTION : S_OK;
}

HRESULT CBasePin::BreakConnect() { return S_OK; }
HRESULT CBasePin::CompleteConnect(IPin*) { return S_OK; }
HRESULT CBasePin::GetMediaType(int, CMediaType*) { return E_UNEXPECTED; }

HRESULT CBasePin::AttemptConnection(IPin* pReceivePin, const CMediaType* pmt)
{
    HRESULT hr = CheckConnect(pReceivePin);
    if (FAILED(hr)) {
        BreakConnect();
        return hr;
    }
    hr = CheckMediaType(pmt);
    if (hr != S_OK) {
        BreakConnect();
        return SUCCEEDED(hr) || hr == E_FAIL || hr == E_INVALIDARG ? VFW_E_TYPE_NOT_ACCEPTED : hr;
    }
    m_Connected = pReceivePin;
    m_Connected->AddRef();
    hr = SetMediaType(pmt);
    if (SUCCEEDED(hr)) {
        hr = pReceivePin->ReceiveConnection(static_cast<IPin*>(this), pmt);
        if (SUCCEEDED(hr)) {
            hr = CompleteConnect(pReceivePin);
            if (SUCCEEDED(hr))
                return hr;
            pReceivePin->Disconnect();
        }
    }
    BreakConnect();
    if (m_Connected) {
        m_Connected->Release();
        m_Connected = nullptr;
    }
    return FAILED(hr) ? hr : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CBasePin::TryMediaTypes(IPin* pReceivePin, const CMediaType* pmt, IEnumMediaTypes* pEnum)
{
    HRESULT result = VFW_E_NO_ACCEPTABLE_TYPES;
    pEnum->Reset();
    for (;;) {
        AM_MEDIA_TYPE* p = nullptr;
        ULONG got = 0;
        if (pEnum->Next(1, &p, &got) != S_OK || got != 1)
            break;
        CMediaType candidate(*p);
        DeleteMediaType(p);
        if (pmt && !candidate.MatchesPartial(pmt))
            continue;
        HRESULT hr = AttemptConnection(pReceivePin, &candidate);
        if (SUCCEEDED(hr))
            return hr;
        // Keep the most telling failure: a type refusal says less than anything else.
        if (hr != VFW_E_TYPE_NOT_ACCEPTED && hr != E_FAIL && hr != E_INVALIDARG)
            result = hr;
    }
    return result;
}

HRESULT CBasePin::AgreeMediaType(IPin* pReceivePin, const CMediaType* pmt)
{
    if (pmt && !pmt->IsPartiallySpecified())
        return AttemptConnection(pReceivePin, pmt);
    HRESULT result = VFW_E_NO_ACCEPTABLE_TYPES;
    for (int i = 0; i < 2; ++i) {
        IEnumMediaTypes* e = nullptr;
        HRESULT hr = (i == (m_bTryMyTypesFirst ? 1 : 0)) ? pReceivePin->EnumMediaTypes(&e) : EnumMediaTypes(&e);
        if (FAILED(hr) || !e)
            continue;
        hr = TryMediaTypes(pReceivePin, pmt, e);
        e->Release();
        if (SUCCEEDED(hr))
            return hr;
        if (hr != VFW_E_NO_ACCEPTABLE_TYPES)
            result = hr;
    }
    return result;
}

STDMETHODIMP CBasePin::Connect(IPin* pReceivePin, const AM_MEDIA_TYPE* pmt)
{
    if (!pReceivePin)
        return E_POINTER;
    CAutoLock l(m_pLock);
    if (m_Connected)
        return VFW_E_ALREADY_CONNECTED;
    if (!IsStopped() && !m_bCanReconnectWhenActive)
        return VFW_E_NOT_STOPPED;
    if (pmt) {
        CMediaType mt(*pmt);
        return AgreeMediaType(pReceivePin, &mt);
    }
    return AgreeMediaType(pReceivePin, nullptr);
}

STDMETHODIMP CBasePin::ReceiveConnection(IPin* pConnector, const AM_MEDIA_TYPE* pmt)
{
    if (!pConnector || !pmt)
        return E_POINTER;
    CAutoLock l(m_pLock);
    if (m_Connected)
        return VFW_E_ALREADY_CONNECTED;
    if (!IsStopped() && !m_bCanReconnectWhenActive)
        return VFW_E_NOT_STOPPED;
    HRESULT hr = CheckConnect(pConnector);
    if (FAILED(hr)) {
        BreakConnect();
        return hr;
    }
    CMediaType mt(*pmt);
    hr = CheckMediaType(&mt);
    if (hr != S_OK) {
        BreakConnect();
        return VFW_E_TYPE_NOT_ACCEPTED;
    }
    m_Connected = pConnector;
    m_Connected->AddRef();
    hr = SetMediaType(&mt);
    if (SUCCEEDED(hr))
        hr = CompleteConnect(pConnector);
    if (FAILED(hr)) {
        m_Connected->Release();
        m_Connected = nullptr;
        BreakConnect();
    }
    return hr;
}

HRESULT CBasePin::DisconnectInternal()
{
    if (!m_Connected)
        return S_FALSE;
    HRESULT hr = BreakConnect();
    if (FAILED(hr))
        return hr;
    m_Connected->Release();
    m_Connected = nullptr;
    return S_OK;
}

STDMETHODIMP CBasePin::Disconnect()
{
    CAutoLock l(m_pLock);
    if (!IsStopped())
        return VFW_E_NOT_STOPPED;
    return DisconnectInternal();
}

STDMETHODIMP CBasePin::ConnectedTo(IPin** pPin)
{
    if (!pPin)
        return E_POINTER;
    IPin* p = m_Connected;
    *pPin = p;
    if (!p)
        return VFW_E_NOT_CONNECTED;
    p->AddRef();
    return S_OK;
}

STDMETHODIMP CBasePin::ConnectionMediaType(AM_MEDIA_TYPE* pmt)
{
    if (!pmt)
        return E_POINTER;
    CAutoLock l(m_pLock);
    if (!m_Connected) {
        memset(pmt, 0, sizeof *pmt);
        return VFW_E_NOT_CONNECTED;
    }
    return CopyMediaType(pmt, &m_mt);
}

STDMETHODIMP CBasePin::QueryPinInfo(PIN_INFO* pInfo)
{
    if (!pInfo)
        return E_POINTER;
    pInfo->pFilter = m_pFilter;
    if (m_pFilter)
        m_pFilter->AddRef();
    memset(pInfo->achName, 0, sizeof pInfo->achName);
    if (m_pName)
        lstrcpynW(pInfo->achName, m_pName, MAX_PIN_NAME);
    pInfo->dir = m_dir;
    return S_OK;
}

STDMETHODIMP CBasePin::QueryDirection(PIN_DIRECTION* pPinDir)
{
    if (!pPinDir)
        return E_POINTER;
    *pPinDir = m_dir;
    return S_OK;
}

STDMETHODIMP CBasePin::QueryId(LPWSTR* Id)
{
    if (!Id)
        return E_POINTER;
    size_t n = (m_pName ? lstrlenW(m_pName) : 0) + 1;
    *Id = static_cast<LPWSTR>(CoTaskMemAlloc(n * sizeof(WCHAR)));
    if (!*Id)
        return E_OUTOFMEMORY;
    memcpy(*Id, m_pName ? m_pName : L"", n * sizeof(WCHAR));
    return S_OK;
}

STDMETHODIMP CBasePin::QueryAccept(const AM_MEDIA_TYPE* pmt)
{
    if (!pmt)
        return E_POINTER;
    CMediaType mt(*pmt);
    HRESULT hr = CheckMediaType(&mt);
    return hr == S_OK ? S_OK : S_FALSE;
}

STDMETHODIMP CBasePin::EnumMediaTypes(IEnumMediaTypes** ppEnum)
{
    if (!ppEnum)
        return E_POINTER;
    *ppEnum = new (std::nothrow) CEnumMediaTypes(this);
    if (!*ppEnum)
        return E_OUTOFMEMORY;
    (*ppEnum)->AddRef();
    return S_OK;
}

STDMETHODIMP CBasePin::QueryInternalConnections(IPin**, ULONG*) { return E_NOTIMPL; }
STDMETHODIMP CBasePin::EndOfStream() { return S_OK; }

STDMETHODIMP CBasePin::NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate)
{
    m_tStart = tStart;
    m_tStop = tStop;
    m_dRate = dRate;
    return S_OK;
}

STDMETHODIMP CBasePin::Notify(IBaseFilter*, Quality) { return E_NOTIMPL; }

STDMETHODIMP CBasePin::SetSink(IQualityControl* piqc)
{
    m_pQSink = piqc;
    return S_OK;
}

// ---------------------------------------------------------------------------------------
// CBaseOutputPin

CBaseOutputPin::CBaseOutputPin(LPCTSTR pObjectName, CBaseFilter* pFilter, CCritSec* pLock, HRESULT* phr,
                               LPCWSTR pName)
    : CBasePin(pObjectName, pFilter, pLock, phr, pName, PINDIR_OUTPUT), m_pAllocator(nullptr), m_pInputPin(nullptr)
{
}

HRESULT CBaseOutputPin::CompleteConnect(IPin*) { return DecideAllocator(m_pInputPin, &m_pAllocator); }

HRESULT CBaseOutputPin::CheckConnect(IPin* pPin)
{
    HRESULT hr = CBasePin::CheckConnect(pPin);
    if (FAILED(hr))
        return hr;
    if (m_pInputPin) {
        m_pInputPin->Release();
        m_pInputPin = nullptr;
    }
    hr = pPin->QueryInterface(IID_IMemInputPin, (void**)&m_pInputPin);
    return FAILED(hr) ? VFW_E_NO_TRANSPORT : S_OK;
}

HRESULT CBaseOutputPin::BreakConnect()
{
    if (m_pAllocator) {
        m_pAllocator->Decommit();
        m_pAllocator->Release();
        m_pAllocator = nullptr;
    }
    if (m_pInputPin) {
        m_pInputPin->Release();
        m_pInputPin = nullptr;
    }
    return S_OK;
}

HRESULT CBaseOutputPin::InitAllocator(IMemAllocator** ppAlloc) { return CreateMemoryAllocator(ppAlloc); }

HRESULT CBaseOutputPin::DecideAllocator(IMemInputPin* pPin, IMemAllocator** ppAlloc)
{
    *ppAlloc = nullptr;
    ALLOCATOR_PROPERTIES prop;
    memset(&prop, 0, sizeof prop);
    pPin->GetAllocatorRequirements(&prop);
    if (prop.cbAlign == 0)
        prop.cbAlign = 1;
    HRESULT hr = pPin->GetAllocator(ppAlloc);
    if (SUCCEEDED(hr)) {
        hr = DecideBufferSize(*ppAlloc, &prop);
        if (SUCCEEDED(hr)) {
            hr = pPin->NotifyAllocator(*ppAlloc, FALSE);
            if (SUCCEEDED(hr))
                return S_OK;
        }
    }
    if (*ppAlloc) {
        (*ppAlloc)->Release();
        *ppAlloc = nullptr;
    }
    hr = InitAllocator(ppAlloc);
    if (SUCCEEDED(hr)) {
        hr = DecideBufferSize(*ppAlloc, &prop);
        if (SUCCEEDED(hr)) {
            hr = pPin->NotifyAllocator(*ppAlloc, FALSE);
            if (SUCCEEDED(hr))
                return S_OK;
        }
    }
    if (*ppAlloc) {
        (*ppAlloc)->Release();
        *ppAlloc = nullptr;
    }
    return hr;
}

HRESULT CBaseOutputPin::Active()
{
    if (!m_pAllocator)
        return VFW_E_NO_ALLOCATOR;
    return m_pAllocator->Commit();
}

HRESULT CBaseOutputPin::Inactive()
{
    m_bRunTimeError = FALSE;
    if (!m_pAllocator)
        return VFW_E_NO_ALLOCATOR;
    return m_pAllocator->Decommit();
}

HRESULT CBaseOutputPin::GetDeliveryBuffer(IMediaSample** ppSample, REFERENCE_TIME* pStartTime,
                                          REFERENCE_TIME* pEndTime, DWORD dwFlags)
{
    if (!m_pAllocator)
        return VFW_E_NO_ALLOCATOR;
    return m_pAllocator->GetBuffer(ppSample, pStartTime, pEndTime, dwFlags);
}

HRESULT CBaseOutputPin::Deliver(IMediaSample* pSample)
{
    if (!m_pInputPin)
        return VFW_E_NOT_CONNECTED;
    return m_pInputPin->Receive(pSample);
}

HRESULT CBaseOutputPin::DeliverEndOfStream()
{
    if (!m_Connected)
        return VFW_E_NOT_CONNECTED;
    return m_Connected->EndOfStream();
}

HRESULT CBaseOutputPin::DeliverBeginFlush()
{
    if (!m_Connected)
        return VFW_E_NOT_CONNECTED;
    return m_Connected->BeginFlush();
}

HRESULT CBaseOutputPin::DeliverEndFlush()
{
    if (!m_Connected)
        return VFW_E_NOT_CONNECTED;
    return m_Connected->EndFlush();
}

HRESULT CBaseOutputPin::DeliverNewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate)
{
    if (!m_Connected)
        return VFW_E_NOT_CONNECTED;
    return m_Connected->NewSegment(tStart, tStop, dRate);
}

// ---------------------------------------------------------------------------------------
// CBaseInputPin

CBaseInputPin::CBaseInputPin(LPCTSTR pObjectName, CBaseFilter* pFilter, CCritSec* pLock, HRESULT* phr,
                             LPCWSTR pName)
    : CBasePin(pObjectName, pFilter, pLock, phr, pName, PINDIR_INPUT), m_pAllocator(nullptr), m_bReadOnly(FALSE),
      m_bFlushing(FALSE)
{
    memset(&m_SampleProps, 0, sizeof m_SampleProps);
}

CBaseInputPin::~CBaseInputPin()
{
    if (m_pAllocator)
        m_pAllocator->Release();
}

STDMETHODIMP CBaseInputPin::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IMemInputPin))
        return GetInterface(static_cast<IMemInputPin*>(this), ppv);
    return CBasePin::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CBaseInputPin::GetAllocator(IMemAllocator** ppAllocator)
{
    if (!ppAllocator)
        return E_POINTER;
    CAutoLock l(m_pLock);
    if (!m_pAllocator) {
        HRESULT hr = CreateMemoryAllocator(&m_pAllocator);
        if (FAILED(hr))
            return hr;
    }
    *ppAllocator = m_pAllocator;
    m_pAllocator->AddRef();
    return S_OK;
}

STDMETHODIMP CBaseInputPin::NotifyAllocator(IMemAllocator* pAllocator, BOOL bReadOnly)
{
    if (!pAllocator)
        return E_POINTER;
    CAutoLock l(m_pLock);
    pAllocator->AddRef();
    if (m_pAllocator)
        m_pAllocator->Release();
    m_pAllocator = pAllocator;
    m_bReadOnly = (BYTE)bReadOnly;
    return S_OK;
}

STDMETHODIMP CBaseInputPin::GetAllocatorRequirements(ALLOCATOR_PROPERTIES*) { return E_NOTIMPL; }

HRESULT CBaseInputPin::BreakConnect()
{
    if (m_pAllocator) {
        m_pAllocator->Decommit();
        m_pAllocator->Release();
        m_pAllocator = nullptr;
    }
    return S_OK;
}

HRESULT CBaseInputPin::Inactive()
{
    m_bRunTimeError = FALSE;
    if (m_pAllocator)
        return m_pAllocator->Decommit();
    return S_OK;
}

HRESULT CBaseInputPin::CheckStreaming()
{
    if (!IsConnected())
        return VFW_E_NOT_CONNECTED;
    if (IsStopped())
        return VFW_E_WRONG_STATE;
    if (m_bFlushing)
        return S_FALSE;
    if (m_bRunTimeError)
        return VFW_E_RUNTIME_ERROR;
    return S_OK;
}

STDMETHODIMP CBaseInputPin::Receive(IMediaSample* pSample)
{
    if (!pSample)
        return E_POINTER;
    HRESULT hr = CheckStreaming();
    if (hr != S_OK)
        return hr;
    IMediaSample2* s2 = nullptr;
    if (SUCCEEDED(pSample->QueryInterface(IID_IMediaSample2, (void**)&s2))) {
        hr = s2->GetProperties(sizeof m_SampleProps, (BYTE*)&m_SampleProps);
        s2->Release();
        if (FAILED(hr))
            return hr;
    } else {
        memset(&m_SampleProps, 0, sizeof m_SampleProps);
        m_SampleProps.cbData = sizeof m_SampleProps;
        hr = pSample->GetTime(&m_SampleProps.tStart, &m_SampleProps.tStop);
        if (SUCCEEDED(hr)) {
            m_SampleProps.dwSampleFlags |= AM_SAMPLE_TIMEVALID;
            if (hr == S_OK)
                m_SampleProps.dwSampleFlags |= AM_SAMPLE_STOPVALID;
        }
        if (pSample->GetMediaType(&m_SampleProps.pMediaType) == S_OK)
            m_SampleProps.dwSampleFlags |= AM_SAMPLE_TYPECHANGED;
        if (pSample->IsSyncPoint() == S_OK)
            m_SampleProps.dwSampleFlags |= AM_SAMPLE_SPLICEPOINT;
        if (pSample->IsPreroll() == S_OK)
            m_SampleProps.dwSampleFlags |= AM_SAMPLE_PREROLL;
        if (pSample->IsDiscontinuity() == S_OK)
            m_SampleProps.dwSampleFlags |= AM_SAMPLE_DATADISCONTINUITY;
        pSample->GetPointer(&m_SampleProps.pbBuffer);
        m_SampleProps.lActual = pSample->GetActualDataLength();
        m_SampleProps.cbBuffer = pSample->GetSize();
        // The sample keeps its own type; this copy is only looked at below.
        if (m_SampleProps.pMediaType) {
            CMediaType mt(*m_SampleProps.pMediaType);
            DeleteMediaType(m_SampleProps.pMediaType);
            m_SampleProps.pMediaType = nullptr;
            if (CheckMediaType(&mt) != S_OK) {
                m_bRunTimeError = TRUE;
                EndOfStream();
                m_pFilter->NotifyEvent(EC_ERRORABORT, VFW_E_TYPE_NOT_ACCEPTED, 0);
                return VFW_E_INVALIDMEDIATYPE;
            }
        }
        return S_OK;
    }
    if (m_SampleProps.dwSampleFlags & AM_SAMPLE_TYPECHANGED) {
        CMediaType mt(*m_SampleProps.pMediaType);
        if (CheckMediaType(&mt) != S_OK) {
            m_bRunTimeError = TRUE;
            EndOfStream();
            m_pFilter->NotifyEvent(EC_ERRORABORT, VFW_E_TYPE_NOT_ACCEPTED, 0);
            return VFW_E_INVALIDMEDIATYPE;
        }
    }
    return S_OK;
}

STDMETHODIMP CBaseInputPin::ReceiveMultiple(IMediaSample** pSamples, LONG nSamples, LONG* nSamplesProcessed)
{
    if (!pSamples || !nSamplesProcessed)
        return E_POINTER;
    HRESULT hr = S_OK;
    *nSamplesProcessed = 0;
    while (nSamples-- > 0) {
        hr = Receive(pSamples[*nSamplesProcessed]);
        if (hr != S_OK)
            break;
        ++*nSamplesProcessed;
    }
    return hr;
}

STDMETHODIMP CBaseInputPin::ReceiveCanBlock() { return S_OK; }

STDMETHODIMP CBaseInputPin::BeginFlush()
{
    CAutoLock l(m_pLock);
    m_bFlushing = TRUE;
    return S_OK;
}

STDMETHODIMP CBaseInputPin::EndFlush()
{
    CAutoLock l(m_pLock);
    m_bFlushing = FALSE;
    m_bRunTimeError = FALSE;
    return S_OK;
}

HRESULT CBaseInputPin::PassNotify(Quality& q)
{
    if (m_pQSink)
        return m_pQSink->Notify(m_pFilter, q);
    IQualityControl* qc = nullptr;
    if (!m_Connected || FAILED(m_Connected->QueryInterface(IID_IQualityControl, (void**)&qc)))
        return VFW_E_NOT_FOUND;
    HRESULT hr = qc->Notify(m_pFilter, q);
    qc->Release();
    return hr;
}
