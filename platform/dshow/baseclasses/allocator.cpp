#include <sys/mman.h>
#include "streams.h"
#include <cstring>
#include <cstdlib>
#include <new>

// ---------------------------------------------------------------------------------------
// CMediaSample

CMediaSample::CMediaSample(LPCTSTR, CBaseAllocator* pAllocator, HRESULT*, LPBYTE pBuffer, LONG length)
    : m_dwFlags(0), m_dwTypeSpecificFlags(0), m_pBuffer(pBuffer), m_lActual(length), m_cbBuffer(length),
      m_pAllocator(pAllocator), m_pNext(nullptr), m_Start(0), m_End(0), m_MediaStart(0), m_MediaEnd(0),
      m_pMediaType(nullptr), m_dwStreamId(AM_STREAM_MEDIA), m_cRef(0)
{
}

CMediaSample::~CMediaSample()
{
    if (m_pMediaType)
        DeleteMediaType(m_pMediaType);
}

STDMETHODIMP CMediaSample::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMediaSample) ||
        IsEqualIID(riid, IID_IMediaSample2)) {
        *ppv = static_cast<IMediaSample2*>(this);
        AddRef();
        return S_OK;
    }
    if (IsEqualIID(riid, IID_ISampleAllocatorSize)) {
        *ppv = static_cast<ISampleAllocatorSize*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

LONG STDMETHODCALLTYPE CMediaSample::AllocatorBuffers()
{
    ALLOCATOR_PROPERTIES got = {};
    return m_pAllocator && SUCCEEDED(m_pAllocator->GetProperties(&got)) ? got.cBuffers : 0;
}

STDMETHODIMP_(ULONG) CMediaSample::AddRef() { return InterlockedIncrement(&m_cRef); }

// At zero the sample goes back to its allocator's free list with its per-use state cleared.
STDMETHODIMP_(ULONG) CMediaSample::Release()
{
    LONG n = InterlockedDecrement(&m_cRef);
    if (n == 0) {
        m_dwFlags = 0;
        m_dwTypeSpecificFlags = 0;
        m_dwStreamId = AM_STREAM_MEDIA;
        if (m_pMediaType) {
            DeleteMediaType(m_pMediaType);
            m_pMediaType = nullptr;
        }
        if (m_pAllocator)
            m_pAllocator->ReleaseBuffer(this);
        else
            delete this;
    }
    return n;
}

HRESULT CMediaSample::SetPointer(BYTE* ptr, LONG cBytes)
{
    if (cBytes < 0)
        return VFW_E_BUFFER_OVERFLOW;
    m_pBuffer = ptr;
    m_cbBuffer = cBytes;
    m_lActual = cBytes;
    return S_OK;
}

STDMETHODIMP CMediaSample::GetPointer(BYTE** ppBuffer)
{
    if (!ppBuffer)
        return E_POINTER;
    *ppBuffer = m_pBuffer;
    return S_OK;
}

STDMETHODIMP_(LONG) CMediaSample::GetSize() { return m_cbBuffer; }

STDMETHODIMP CMediaSample::GetTime(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd)
{
    if (!(m_dwFlags & Sample_TimeValid))
        return (m_dwFlags & Sample_StopValid) ? VFW_E_SAMPLE_TIME_NOT_SET : VFW_E_SAMPLE_TIME_NOT_SET;
    if (!pTimeStart || !pTimeEnd)
        return E_POINTER;
    *pTimeStart = m_Start;
    if (m_dwFlags & Sample_StopValid) {
        *pTimeEnd = m_End;
        return S_OK;
    }
    *pTimeEnd = m_Start + 1;
    return VFW_S_NO_STOP_TIME;
}

STDMETHODIMP CMediaSample::SetTime(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd)
{
    if (!pTimeStart) {
        m_dwFlags &= ~(Sample_TimeValid | Sample_StopValid);
        return S_OK;
    }
    m_Start = *pTimeStart;
    m_dwFlags |= Sample_TimeValid;
    if (pTimeEnd) {
        m_End = *pTimeEnd;
        m_dwFlags |= Sample_StopValid;
    } else {
        m_dwFlags &= ~Sample_StopValid;
    }
    return S_OK;
}

STDMETHODIMP CMediaSample::IsSyncPoint() { return (m_dwFlags & Sample_SyncPoint) ? S_OK : S_FALSE; }
STDMETHODIMP CMediaSample::SetSyncPoint(BOOL b)
{
    m_dwFlags = b ? (m_dwFlags | Sample_SyncPoint) : (m_dwFlags & ~Sample_SyncPoint);
    return S_OK;
}
STDMETHODIMP CMediaSample::IsPreroll() { return (m_dwFlags & Sample_Preroll) ? S_OK : S_FALSE; }
STDMETHODIMP CMediaSample::SetPreroll(BOOL b)
{
    m_dwFlags = b ? (m_dwFlags | Sample_Preroll) : (m_dwFlags & ~Sample_Preroll);
    return S_OK;
}
STDMETHODIMP CMediaSample::IsDiscontinuity() { return (m_dwFlags & Sample_Discontinuity) ? S_OK : S_FALSE; }
STDMETHODIMP CMediaSample::SetDiscontinuity(BOOL b)
{
    m_dwFlags = b ? (m_dwFlags | Sample_Discontinuity) : (m_dwFlags & ~Sample_Discontinuity);
    return S_OK;
}

STDMETHODIMP_(LONG) CMediaSample::GetActualDataLength() { return m_lActual; }

STDMETHODIMP CMediaSample::SetActualDataLength(LONG lActual)
{
    if (lActual < 0 || lActual > m_cbBuffer)
        return VFW_E_BUFFER_OVERFLOW;
    m_lActual = lActual;
    return S_OK;
}

STDMETHODIMP CMediaSample::GetMediaType(AM_MEDIA_TYPE** ppMediaType)
{
    if (!ppMediaType)
        return E_POINTER;
    if (!(m_dwFlags & Sample_TypeChanged) || !m_pMediaType) {
        *ppMediaType = nullptr;
        return S_FALSE;
    }
    *ppMediaType = CreateMediaType(m_pMediaType);
    return *ppMediaType ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CMediaSample::SetMediaType(AM_MEDIA_TYPE* pMediaType)
{
    if (m_pMediaType) {
        DeleteMediaType(m_pMediaType);
        m_pMediaType = nullptr;
    }
    if (!pMediaType) {
        m_dwFlags &= ~Sample_TypeChanged;
        return S_OK;
    }
    m_pMediaType = CreateMediaType(pMediaType);
    if (!m_pMediaType) {
        m_dwFlags &= ~Sample_TypeChanged;
        return E_OUTOFMEMORY;
    }
    m_dwFlags |= Sample_TypeChanged;
    return S_OK;
}

STDMETHODIMP CMediaSample::GetMediaTime(LONGLONG* pTimeStart, LONGLONG* pTimeEnd)
{
    if (!pTimeStart || !pTimeEnd)
        return E_POINTER;
    if (!(m_dwFlags & Sample_MediaTimeValid))
        return VFW_E_MEDIA_TIME_NOT_SET;
    *pTimeStart = m_MediaStart;
    *pTimeEnd = m_MediaStart + m_MediaEnd;
    return S_OK;
}

STDMETHODIMP CMediaSample::SetMediaTime(LONGLONG* pTimeStart, LONGLONG* pTimeEnd)
{
    if (!pTimeStart) {
        m_dwFlags &= ~Sample_MediaTimeValid;
        return S_OK;
    }
    if (!pTimeEnd)
        return E_POINTER;
    m_MediaStart = *pTimeStart;
    m_MediaEnd = LONG(*pTimeEnd - *pTimeStart);
    m_dwFlags |= Sample_MediaTimeValid;
    return S_OK;
}

STDMETHODIMP CMediaSample::GetProperties(DWORD cbProperties, BYTE* pbProperties)
{
    if (cbProperties == 0)
        return S_OK;
    if (!pbProperties)
        return E_POINTER;
    AM_SAMPLE2_PROPERTIES p;
    memset(&p, 0, sizeof p);
    p.cbData = cbProperties < sizeof p ? cbProperties : sizeof p;
    p.dwTypeSpecificFlags = m_dwTypeSpecificFlags;
    p.dwSampleFlags = (m_dwFlags & Sample_SyncPoint ? AM_SAMPLE_SPLICEPOINT : 0) |
                      (m_dwFlags & Sample_Preroll ? AM_SAMPLE_PREROLL : 0) |
                      (m_dwFlags & Sample_Discontinuity ? AM_SAMPLE_DATADISCONTINUITY : 0) |
                      (m_dwFlags & Sample_TypeChanged ? AM_SAMPLE_TYPECHANGED : 0) |
                      (m_dwFlags & Sample_TimeValid ? AM_SAMPLE_TIMEVALID : 0) |
                      (m_dwFlags & Sample_StopValid ? AM_SAMPLE_STOPVALID : 0);
    p.lActual = m_lActual;
    p.tStart = m_Start;
    p.tStop = (m_dwFlags & Sample_StopValid) ? m_End : m_Start + 1;
    p.dwStreamId = m_dwStreamId;
    p.pMediaType = (m_dwFlags & Sample_TypeChanged) ? m_pMediaType : nullptr;
    p.pbBuffer = m_pBuffer;
    p.cbBuffer = m_cbBuffer;
    memcpy(pbProperties, &p, p.cbData);
    return S_OK;
}

STDMETHODIMP CMediaSample::SetProperties(DWORD cbProperties, const BYTE* pbProperties)
{
    if (cbProperties == 0)
        return S_OK;
    if (!pbProperties)
        return E_POINTER;
    AM_SAMPLE2_PROPERTIES p;
    memset(&p, 0, sizeof p);
    memcpy(&p, pbProperties, cbProperties < sizeof p ? cbProperties : sizeof p);
    if (cbProperties >= offsetof(AM_SAMPLE2_PROPERTIES, dwSampleFlags) + sizeof(DWORD)) {
        m_dwTypeSpecificFlags = p.dwTypeSpecificFlags;
        DWORD f = m_dwFlags & Sample_MediaTimeValid;
        if (p.dwSampleFlags & AM_SAMPLE_SPLICEPOINT) f |= Sample_SyncPoint;
        if (p.dwSampleFlags & AM_SAMPLE_PREROLL) f |= Sample_Preroll;
        if (p.dwSampleFlags & AM_SAMPLE_DATADISCONTINUITY) f |= Sample_Discontinuity;
        if (p.dwSampleFlags & AM_SAMPLE_TIMEVALID) f |= Sample_TimeValid;
        if (p.dwSampleFlags & AM_SAMPLE_STOPVALID) f |= Sample_StopValid;
        m_dwFlags = f | (m_dwFlags & Sample_TypeChanged);
    }
    if (cbProperties >= offsetof(AM_SAMPLE2_PROPERTIES, lActual) + sizeof(LONG)) {
        if (p.lActual < 0 || p.lActual > m_cbBuffer)
            return VFW_E_BUFFER_OVERFLOW;
        m_lActual = p.lActual;
    }
    if (cbProperties >= offsetof(AM_SAMPLE2_PROPERTIES, tStop) + sizeof(REFERENCE_TIME)) {
        m_Start = p.tStart;
        m_End = p.tStop;
    }
    if (cbProperties >= offsetof(AM_SAMPLE2_PROPERTIES, dwStreamId) + sizeof(DWORD))
        m_dwStreamId = p.dwStreamId;
    if (cbProperties >= offsetof(AM_SAMPLE2_PROPERTIES, pMediaType) + sizeof(void*)) {
        if (p.dwSampleFlags & AM_SAMPLE_TYPECHANGED)
            SetMediaType(p.pMediaType);
    }
    return S_OK;
}

// ---------------------------------------------------------------------------------------
// CBaseAllocator

CBaseAllocator::CBaseAllocator(LPCTSTR pName, LPUNKNOWN pUnk, HRESULT* phr, BOOL, BOOL)
    : CUnknown(pName, pUnk), m_hSem(CreateSemaphoreA(nullptr, 0, 0x7FFFFFFF, nullptr)), m_lWaiting(0), m_lCount(0),
      m_lAllocated(0), m_lSize(0), m_lAlignment(0), m_lPrefix(0), m_bChanged(FALSE), m_bCommitted(FALSE),
      m_bDecommitInProgress(FALSE)
{
    if (!m_hSem && phr)
        *phr = E_OUTOFMEMORY;
}

CBaseAllocator::~CBaseAllocator()
{
    if (m_hSem)
        CloseHandle(m_hSem);
}

STDMETHODIMP CBaseAllocator::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IMemAllocator))
        return GetInterface(static_cast<IMemAllocator*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CBaseAllocator::SetProperties(ALLOCATOR_PROPERTIES* pRequest, ALLOCATOR_PROPERTIES* pActual)
{
    if (!pRequest || !pActual)
        return E_POINTER;
    CAutoLock l(this);
    if (m_bCommitted)
        return VFW_E_ALREADY_COMMITTED;
    if (m_lAllocated != m_lFree.GetCount())
        return VFW_E_BUFFERS_OUTSTANDING;
    if (pRequest->cBuffers < 0 || pRequest->cbBuffer < 0 || pRequest->cbPrefix < 0)
        return E_INVALIDARG;
    *pActual = *pRequest;
    m_lSize = pRequest->cbBuffer;
    m_lCount = pRequest->cBuffers;
    m_lAlignment = pRequest->cbAlign > 0 ? pRequest->cbAlign : 1;
    m_lPrefix = pRequest->cbPrefix;
    pActual->cbAlign = m_lAlignment;
    m_bChanged = TRUE;
    return S_OK;
}

STDMETHODIMP CBaseAllocator::GetProperties(ALLOCATOR_PROPERTIES* pActual)
{
    if (!pActual)
        return E_POINTER;
    CAutoLock l(this);
    pActual->cbBuffer = m_lSize;
    pActual->cBuffers = m_lCount;
    pActual->cbAlign = m_lAlignment;
    pActual->cbPrefix = m_lPrefix;
    return S_OK;
}

HRESULT CBaseAllocator::Alloc()
{
    if (m_lCount <= 0 || m_lSize <= 0 || m_lAlignment <= 0)
        return VFW_E_SIZENOTSET;
    if (m_lFree.GetCount() != m_lAllocated)
        return VFW_E_BUFFERS_OUTSTANDING;
    return m_bChanged ? S_OK : S_FALSE;
}

STDMETHODIMP CBaseAllocator::Commit()
{
    CAutoLock l(this);
    if (m_bCommitted)
        return S_OK;
    // A decommit still waiting for its buffers is simply called off.
    if (m_bDecommitInProgress) {
        m_bDecommitInProgress = FALSE;
        m_bCommitted = TRUE;
        return S_OK;
    }
    HRESULT hr = Alloc();
    if (FAILED(hr))
        return hr;
    m_bCommitted = TRUE;
    return S_OK;
}

STDMETHODIMP CBaseAllocator::Decommit()
{
    CAutoLock l(this);
    if (!m_bCommitted)
        return S_OK;
    m_bCommitted = FALSE;
    if (m_lFree.GetCount() < m_lAllocated)
        m_bDecommitInProgress = TRUE;
    else
        Free();
    // Waiters in GetBuffer wake up and find the allocator decommitted.
    if (m_lWaiting) {
        ReleaseSemaphore(m_hSem, m_lWaiting, nullptr);
        m_lWaiting = 0;
    }
    return S_OK;
}

STDMETHODIMP CBaseAllocator::GetBuffer(IMediaSample** ppBuffer, REFERENCE_TIME* pStartTime,
                                       REFERENCE_TIME* pEndTime, DWORD dwFlags)
{
    if (!ppBuffer)
        return E_POINTER;
    *ppBuffer = nullptr;
    CMediaSample* sample;
    for (;;) {
        {
            CAutoLock l(this);
            if (!m_bCommitted)
                return VFW_E_NOT_COMMITTED;
            sample = m_lFree.RemoveHead();
            if (sample)
                break;
            if (dwFlags & AM_GBF_NOWAIT)
                return VFW_E_TIMEOUT;
            ++m_lWaiting;
        }
        WaitForSingleObject(m_hSem, INFINITE);
    }
    // Outstanding samples keep their allocator alive.
    NonDelegatingAddRef();
    sample->m_cRef = 1;
    sample->m_lActual = sample->m_cbBuffer;
    if (pStartTime || pEndTime)
        sample->SetTime(pStartTime, pEndTime);
    *ppBuffer = sample;
    return S_OK;
}

STDMETHODIMP CBaseAllocator::ReleaseBuffer(IMediaSample* pSample)
{
    if (!pSample)
        return E_POINTER;
    {
        CAutoLock l(this);
        m_lFree.Add(static_cast<CMediaSample*>(pSample));
        if (m_lWaiting) {
            --m_lWaiting;
            ReleaseSemaphore(m_hSem, 1, nullptr);
        }
        if (m_bDecommitInProgress && m_lFree.GetCount() == m_lAllocated) {
            Free();
            m_bDecommitInProgress = FALSE;
        }
    }
    NonDelegatingRelease();
    return S_OK;
}

// ---------------------------------------------------------------------------------------
// CMemAllocator

CMemAllocator::CMemAllocator(LPCTSTR pName, LPUNKNOWN pUnk, HRESULT* phr)
    : CBaseAllocator(pName, pUnk, phr), m_pBuffer(nullptr)
{
}

CMemAllocator::~CMemAllocator()
{
    Decommit();
    ReallyFree();
}

CUnknown* CALLBACK CMemAllocator::CreateInstance(LPUNKNOWN pUnk, HRESULT* phr)
{
    CUnknown* p = new (std::nothrow) CMemAllocator(NAME("Memory allocator"), pUnk, phr);
    if (!p && phr)
        *phr = E_OUTOFMEMORY;
    return p;
}

STDMETHODIMP CMemAllocator::SetProperties(ALLOCATOR_PROPERTIES* pRequest, ALLOCATOR_PROPERTIES* pActual)
{
    if (!pRequest || !pActual)
        return E_POINTER;
    // Alignment must be a power of two.
    if (pRequest->cbAlign > 0 && (pRequest->cbAlign & (pRequest->cbAlign - 1)))
        return VFW_E_BADALIGN;
    ALLOCATOR_PROPERTIES req = *pRequest;
    if (req.cbAlign <= 0)
        req.cbAlign = 1;
    // Each buffer (prefix included) starts on an aligned address.
    LONG whole = req.cbBuffer + req.cbPrefix;
    LONG rem = whole % req.cbAlign;
    if (rem)
        req.cbBuffer += req.cbAlign - rem;
    return CBaseAllocator::SetProperties(&req, pActual);
}

HRESULT CMemAllocator::Alloc()
{
    CAutoLock l(this);
    HRESULT hr = CBaseAllocator::Alloc();
    if (FAILED(hr))
        return hr;
    if (hr == S_FALSE && m_pBuffer)
        return S_OK; // unchanged: the buffers kept from before serve again
    ReallyFree();
    const size_t each = size_t(m_lSize) + size_t(m_lPrefix);
    const size_t total = each * size_t(m_lCount) + size_t(m_lAlignment);
    // Picture buffers are rewritten for every picture: on large pages their walk through
    // memory costs fewer address translations.
    const size_t large = size_t(2) << 20;
    m_pBuffer = nullptr;
    if (total >= large / 2) {
        void* q = nullptr;
        const size_t rounded = (total + large - 1) / large * large;
        if (posix_memalign(&q, large, rounded) == 0) {
            madvise(q, rounded, MADV_HUGEPAGE);
            m_pBuffer = static_cast<LPBYTE>(q);
        }
    }
    if (!m_pBuffer)
        m_pBuffer = static_cast<LPBYTE>(malloc(total));
    if (!m_pBuffer)
        return E_OUTOFMEMORY;
    uintptr_t base = reinterpret_cast<uintptr_t>(m_pBuffer);
    uintptr_t aligned = (base + m_lAlignment - 1) / m_lAlignment * m_lAlignment;
    LPBYTE p = reinterpret_cast<LPBYTE>(aligned);
    for (LONG i = 0; i < m_lCount; ++i, p += each) {
        CMediaSample* s = new (std::nothrow) CMediaSample(NAME("Memory sample"), this, &hr, p + m_lPrefix, m_lSize);
        if (!s)
            return E_OUTOFMEMORY;
        m_lFree.Add(s);
        ++m_lAllocated;
    }
    m_bChanged = FALSE;
    return S_OK;
}

// Decommitted buffers are kept for the next commit.
void CMemAllocator::Free() {}

void CMemAllocator::ReallyFree()
{
    while (CMediaSample* s = m_lFree.RemoveHead())
        delete s;
    m_lAllocated = 0;
    free(m_pBuffer);
    m_pBuffer = nullptr;
}

HRESULT CreateMemoryAllocator(IMemAllocator** ppAllocator)
{
    if (!ppAllocator)
        return E_POINTER;
    HRESULT hr = S_OK;
    CMemAllocator* a = new (std::nothrow) CMemAllocator(NAME("Memory allocator"), nullptr, &hr);
    if (!a)
        return E_OUTOFMEMORY;
    if (FAILED(hr)) {
        delete a;
        return hr;
    }
    return a->NonDelegatingQueryInterface(IID_IMemAllocator, (void**)ppAllocator);
}

int SampleFieldRows(IMediaSample* sample)
{
    IMediaSample2* s2 = nullptr;
    if (!sample || FAILED(sample->QueryInterface(IID_IMediaSample2, (void**)&s2)))
        return -1;
    AM_SAMPLE2_PROPERTIES p = {};
    const DWORD size = offsetof(AM_SAMPLE2_PROPERTIES, dwSampleFlags) + sizeof(DWORD);
    const HRESULT hr = s2->GetProperties(size, reinterpret_cast<BYTE*>(&p));
    s2->Release();
    if (FAILED(hr) || !(p.dwTypeSpecificFlags & kSampleFieldRowsOnly))
        return -1;
    return (p.dwTypeSpecificFlags & kSampleOddFieldRows) ? 1 : 0;
}

void SetSampleFieldRows(IMediaSample* sample, int field)
{
    IMediaSample2* s2 = nullptr;
    if (!sample || FAILED(sample->QueryInterface(IID_IMediaSample2, (void**)&s2)))
        return;
    AM_SAMPLE2_PROPERTIES p = {};
    const DWORD size = offsetof(AM_SAMPLE2_PROPERTIES, dwSampleFlags) + sizeof(DWORD);
    if (SUCCEEDED(s2->GetProperties(size, reinterpret_cast<BYTE*>(&p)))) {
        p.dwTypeSpecificFlags &= ~(kSampleFieldRowsOnly | kSampleOddFieldRows);
        if (field >= 0)
            p.dwTypeSpecificFlags |= kSampleFieldRowsOnly | (field ? kSampleOddFieldRows : 0);
        s2->SetProperties(size, reinterpret_cast<const BYTE*>(&p));
    }
    s2->Release();
}

int FieldRowsReadBy(IPin* peer, LONG width, LONG height)
{
    PIN_INFO info = {};
    if (!peer || FAILED(peer->QueryPinInfo(&info)) || !info.pFilter)
        return -1;
    int field = -1;
    IFieldRowsRead* reader = nullptr;
    if (SUCCEEDED(info.pFilter->QueryInterface(IID_IFieldRowsRead, (void**)&reader))) {
        field = reader->FieldRowsRead(width, height);
        reader->Release();
    }
    info.pFilter->Release();
    return field;
}
