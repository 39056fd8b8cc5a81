#include "streams.h"
#include <new>

CSource::CSource(LPCTSTR pName, LPUNKNOWN lpunk, CLSID clsid, HRESULT*)
    : CBaseFilter(pName, lpunk, &m_cStateLock, clsid), m_iPins(0), m_paStreams(nullptr)
{
}

CSource::CSource(LPCTSTR pName, LPUNKNOWN lpunk, CLSID clsid) : CSource(pName, lpunk, clsid, nullptr) {}

CSource::~CSource()
{
    // Each pin's destructor takes it off the list.
    while (m_iPins > 0)
        delete m_paStreams[m_iPins - 1];
    delete[] m_paStreams;
}

int CSource::GetPinCount()
{
    CAutoLock l(&m_cStateLock);
    return m_iPins;
}

CBasePin* CSource::GetPin(int n)
{
    CAutoLock l(&m_cStateLock);
    return n >= 0 && n < m_iPins ? m_paStreams[n] : nullptr;
}

HRESULT CSource::AddPin(CSourceStream* pStream)
{
    CAutoLock l(&m_cStateLock);
    CSourceStream** grown = new (std::nothrow) CSourceStream*[m_iPins + 1];
    if (!grown)
        return E_OUTOFMEMORY;
    for (int i = 0; i < m_iPins; ++i)
        grown[i] = m_paStreams[i];
    grown[m_iPins++] = pStream;
    delete[] m_paStreams;
    m_paStreams = grown;
    IncrementPinVersion();
    return S_OK;
}

HRESULT CSource::RemovePin(CSourceStream* pStream)
{
    CAutoLock l(&m_cStateLock);
    for (int i = 0; i < m_iPins; ++i) {
        if (m_paStreams[i] != pStream)
            continue;
        for (int j = i + 1; j < m_iPins; ++j)
            m_paStreams[j - 1] = m_paStreams[j];
        --m_iPins;
        IncrementPinVersion();
        return S_OK;
    }
    return S_FALSE;
}

STDMETHODIMP CSource::FindPin(LPCWSTR Id, IPin** ppPin) { return CBaseFilter::FindPin(Id, ppPin); }

int CSource::FindPinNumber(IPin* iPin)
{
    CAutoLock l(&m_cStateLock);
    for (int i = 0; i < m_iPins; ++i)
        if (static_cast<IPin*>(m_paStreams[i]) == iPin)
            return i;
    return -1;
}

CSourceStream::CSourceStream(LPCTSTR pObjectName, HRESULT* phr, CSource* pms, LPCWSTR pName)
    : CBaseOutputPin(pObjectName, pms, pms->pStateLock(), phr, pName), m_pFilter(pms)
{
    HRESULT hr = m_pFilter->AddPin(this);
    if (FAILED(hr) && phr)
        *phr = hr;
}

CSourceStream::~CSourceStream() { m_pFilter->RemovePin(this); }

HRESULT CSourceStream::CheckMediaType(const CMediaType* pMediaType)
{
    CAutoLock l(m_pFilter->pStateLock());
    CMediaType mt;
    if (FAILED(GetMediaType(&mt)))
        return E_FAIL;
    return mt == *pMediaType ? S_OK : E_FAIL;
}

HRESULT CSourceStream::GetMediaType(int iPosition, CMediaType* pMediaType)
{
    if (iPosition < 0)
        return E_INVALIDARG;
    if (iPosition > 0)
        return VFW_S_NO_MORE_ITEMS;
    return GetMediaType(pMediaType);
}

HRESULT CSourceStream::Active()
{
    CAutoLock l(m_pFilter->pStateLock());
    if (m_pFilter->IsActive())
        return S_FALSE;
    if (!IsConnected())
        return S_OK;
    HRESULT hr = CBaseOutputPin::Active();
    if (FAILED(hr))
        return hr;
    if (!Create())
        return E_FAIL;
    hr = Init();
    if (FAILED(hr))
        return hr;
    return Pause();
}

HRESULT CSourceStream::Inactive()
{
    CAutoLock l(m_pFilter->pStateLock());
    if (!IsConnected())
        return S_OK;
    // Decommit first: a worker waiting for a buffer then returns and sees the stop.
    HRESULT hr = CBaseOutputPin::Inactive();
    if (ThreadExists()) {
        Stop();
        Exit();
        Close();
    }
    return hr;
}

DWORD CSourceStream::ThreadProc()
{
    Command com;
    do {
        com = GetRequest();
        if (com != CMD_INIT)
            Reply(DWORD(E_UNEXPECTED));
    } while (com != CMD_INIT);
    HRESULT hr = OnThreadCreate();
    if (FAILED(hr)) {
        OnThreadDestroy();
        Reply(DWORD(hr));
        return 1;
    }
    Reply(S_OK);
    do {
        com = GetRequest();
        switch (com) {
        case CMD_EXIT:
        case CMD_STOP:
            Reply(S_OK);
            break;
        case CMD_RUN:
        case CMD_PAUSE:
            Reply(S_OK);
            DoBufferProcessingLoop();
            break;
        default:
            Reply(DWORD(E_NOTIMPL));
            break;
        }
    } while (com != CMD_EXIT);
    OnThreadDestroy();
    return 0;
}

HRESULT CSourceStream::DoBufferProcessingLoop()
{
    OnThreadStartPlay();
    Command com;
    do {
        while (!CheckRequest(&com)) {
            IMediaSample* sample = nullptr;
            HRESULT hr = GetDeliveryBuffer(&sample, nullptr, nullptr, 0);
            if (FAILED(hr)) {
                // Decommitted: wait for the stop that follows.
                Sleep(1);
                continue;
            }
            hr = FillBuffer(sample);
            if (hr == S_OK) {
                hr = Deliver(sample);
                sample->Release();
                if (hr != S_OK)
                    return S_OK;
            } else if (hr == S_FALSE) {
                sample->Release();
                DeliverEndOfStream();
                return S_OK;
            } else {
                sample->Release();
                DeliverEndOfStream();
                m_pFilter->NotifyEvent(EC_ERRORABORT, hr, 0);
                return hr;
            }
        }
        // Run and pause change nothing for a push source: acknowledge and go on.
        if (com == CMD_RUN || com == CMD_PAUSE) {
            CAMThread::GetRequest();
            Reply(S_OK);
        } else if (com != CMD_STOP) {
            CAMThread::GetRequest();
            Reply(DWORD(E_UNEXPECTED));
        }
    } while (com != CMD_STOP);
    return S_FALSE;
}
