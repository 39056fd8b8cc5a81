#include "streams.h"

CPosPassThru::CPosPassThru(LPCTSTR pName, LPUNKNOWN pUnk, HRESULT* phr, IPin* pPin)
    : CUnknown(pName, pUnk), m_pPin(pPin)
{
    if (!pPin && phr)
        *phr = E_POINTER;
}

STDMETHODIMP CPosPassThru::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IMediaSeeking))
        return GetInterface(static_cast<IMediaSeeking*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CPosPassThru::GetPeerSeeking(IMediaSeeking** ppMS)
{
    *ppMS = nullptr;
    IPin* peer = nullptr;
    if (FAILED(m_pPin->ConnectedTo(&peer)) || !peer)
        return VFW_E_NOT_CONNECTED;
    HRESULT hr = peer->QueryInterface(IID_IMediaSeeking, (void**)ppMS);
    peer->Release();
    return FAILED(hr) ? E_NOTIMPL : S_OK;
}

#define PASS_THROUGH(call)                                                                 \
    IMediaSeeking* ms = nullptr;                                                           \
    HRESULT hr = GetPeerSeeking(&ms);                                                      \
    if (FAILED(hr))                                                                        \
        return hr;                                                                         \
    hr = ms->call;                                                                         \
    ms->Release();                                                                         \
    return hr;

STDMETHODIMP CPosPassThru::GetCapabilities(DWORD* p) { PASS_THROUGH(GetCapabilities(p)) }
STDMETHODIMP CPosPassThru::CheckCapabilities(DWORD* p) { PASS_THROUGH(CheckCapabilities(p)) }
STDMETHODIMP CPosPassThru::IsFormatSupported(const GUID* p) { PASS_THROUGH(IsFormatSupported(p)) }
STDMETHODIMP CPosPassThru::QueryPreferredFormat(GUID* p) { PASS_THROUGH(QueryPreferredFormat(p)) }
STDMETHODIMP CPosPassThru::GetTimeFormat(GUID* p) { PASS_THROUGH(GetTimeFormat(p)) }
STDMETHODIMP CPosPassThru::IsUsingTimeFormat(const GUID* p) { PASS_THROUGH(IsUsingTimeFormat(p)) }
STDMETHODIMP CPosPassThru::SetTimeFormat(const GUID* p) { PASS_THROUGH(SetTimeFormat(p)) }
STDMETHODIMP CPosPassThru::GetDuration(LONGLONG* p) { PASS_THROUGH(GetDuration(p)) }
STDMETHODIMP CPosPassThru::GetStopPosition(LONGLONG* p) { PASS_THROUGH(GetStopPosition(p)) }
STDMETHODIMP CPosPassThru::ConvertTimeFormat(LONGLONG* t, const GUID* tf, LONGLONG s, const GUID* sf)
{
    PASS_THROUGH(ConvertTimeFormat(t, tf, s, sf))
}
STDMETHODIMP CPosPassThru::SetPositions(LONGLONG* c, DWORD cf, LONGLONG* s, DWORD sf)
{
    PASS_THROUGH(SetPositions(c, cf, s, sf))
}
STDMETHODIMP CPosPassThru::GetPositions(LONGLONG* c, LONGLONG* s) { PASS_THROUGH(GetPositions(c, s)) }
STDMETHODIMP CPosPassThru::GetAvailable(LONGLONG* e, LONGLONG* l) { PASS_THROUGH(GetAvailable(e, l)) }
STDMETHODIMP CPosPassThru::SetRate(double r) { PASS_THROUGH(SetRate(r)) }
STDMETHODIMP CPosPassThru::GetRate(double* r) { PASS_THROUGH(GetRate(r)) }
STDMETHODIMP CPosPassThru::GetPreroll(LONGLONG* p) { PASS_THROUGH(GetPreroll(p)) }

// Where the renderer has recorded the media time of what it shows (frame numbers for
// video), that is the current position; otherwise the upstream filter's answer.
STDMETHODIMP CPosPassThru::GetCurrentPosition(LONGLONG* pCurrent)
{
    if (!pCurrent)
        return E_POINTER;
    LONGLONG start, end;
    if (SUCCEEDED(GetMediaTime(&start, &end))) {
        IMediaSeeking* ms = nullptr;
        if (SUCCEEDED(GetPeerSeeking(&ms))) {
            HRESULT hr = E_FAIL;
            if (ms->IsUsingTimeFormat(&TIME_FORMAT_FRAME) == S_OK) {
                *pCurrent = start;
                hr = S_OK;
            } else if (ms->IsFormatSupported(&TIME_FORMAT_FRAME) == S_OK) {
                hr = ms->ConvertTimeFormat(pCurrent, nullptr, start, &TIME_FORMAT_FRAME);
            }
            ms->Release();
            if (SUCCEEDED(hr))
                return hr;
        }
    }
    PASS_THROUGH(GetCurrentPosition(pCurrent))
}

CRendererPosPassThru::CRendererPosPassThru(LPCTSTR pName, LPUNKNOWN pUnk, HRESULT* phr, IPin* pPin)
    : CPosPassThru(pName, pUnk, phr, pPin), m_StartMedia(0), m_EndMedia(0), m_bReset(TRUE)
{
}

HRESULT CRendererPosPassThru::RegisterMediaTime(IMediaSample* pMediaSample)
{
    LONGLONG start, end;
    if (FAILED(pMediaSample->GetMediaTime(&start, &end)))
        return E_FAIL;
    return RegisterMediaTime(start, end);
}

HRESULT CRendererPosPassThru::RegisterMediaTime(LONGLONG StartTime, LONGLONG EndTime)
{
    CAutoLock l(&m_PositionLock);
    m_StartMedia = StartTime;
    m_EndMedia = EndTime;
    m_bReset = FALSE;
    return S_OK;
}

HRESULT CRendererPosPassThru::GetMediaTime(LONGLONG* pStartTime, LONGLONG* pEndTime)
{
    CAutoLock l(&m_PositionLock);
    if (m_bReset)
        return E_FAIL;
    *pStartTime = m_StartMedia;
    if (pEndTime)
        *pEndTime = m_EndMedia;
    return S_OK;
}

HRESULT CRendererPosPassThru::ResetMediaTime()
{
    CAutoLock l(&m_PositionLock);
    m_bReset = TRUE;
    return S_OK;
}

HRESULT CRendererPosPassThru::EOS()
{
    LONGLONG stop = 0;
    IMediaSeeking* ms = nullptr;
    if (SUCCEEDED(GetPeerSeeking(&ms))) {
        ms->GetStopPosition(&stop);
        ms->Release();
    }
    CAutoLock l(&m_PositionLock);
    m_StartMedia = m_EndMedia = stop;
    m_bReset = FALSE;
    return S_OK;
}
