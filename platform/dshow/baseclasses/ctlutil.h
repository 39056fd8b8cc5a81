// Seeking pass-through: a filter that is not a source answers IMediaSeeking by asking the
// filter upstream of the given input pin.
#pragma once
#include "combase.h"
#include "wxutil.h"
#include <strmif.h>

class CPosPassThru : public IMediaSeeking, public CUnknown {
public:
    CPosPassThru(LPCTSTR pName, LPUNKNOWN pUnk, HRESULT* phr, IPin* pPin);
    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    STDMETHODIMP GetCapabilities(DWORD* pCapabilities) override;
    STDMETHODIMP CheckCapabilities(DWORD* pCapabilities) override;
    STDMETHODIMP IsFormatSupported(const GUID* pFormat) override;
    STDMETHODIMP QueryPreferredFormat(GUID* pFormat) override;
    STDMETHODIMP GetTimeFormat(GUID* pFormat) override;
    STDMETHODIMP IsUsingTimeFormat(const GUID* pFormat) override;
    STDMETHODIMP SetTimeFormat(const GUID* pFormat) override;
    STDMETHODIMP GetDuration(LONGLONG* pDuration) override;
    STDMETHODIMP GetStopPosition(LONGLONG* pStop) override;
    STDMETHODIMP GetCurrentPosition(LONGLONG* pCurrent) override;
    STDMETHODIMP ConvertTimeFormat(LONGLONG* pTarget, const GUID* pTargetFormat, LONGLONG Source,
                                   const GUID* pSourceFormat) override;
    STDMETHODIMP SetPositions(LONGLONG* pCurrent, DWORD dwCurrentFlags, LONGLONG* pStop, DWORD dwStopFlags) override;
    STDMETHODIMP GetPositions(LONGLONG* pCurrent, LONGLONG* pStop) override;
    STDMETHODIMP GetAvailable(LONGLONG* pEarliest, LONGLONG* pLatest) override;
    STDMETHODIMP SetRate(double dRate) override;
    STDMETHODIMP GetRate(double* pdRate) override;
    STDMETHODIMP GetPreroll(LONGLONG* pllPreroll) override;

    HRESULT ForceRefresh() { return S_OK; }

protected:
    // The IMediaSeeking of the pin connected to ours (referenced), or an error.
    HRESULT GetPeerSeeking(IMediaSeeking** ppMS);
    virtual HRESULT GetMediaTime(LONGLONG*, LONGLONG*) { return E_FAIL; }

private:
    IPin* m_pPin;
};

// Pass-through for renderers: while running, the current position is the media time of
// the last sample rendered (or the stop time after end of stream).
class CRendererPosPassThru : public CPosPassThru {
public:
    CRendererPosPassThru(LPCTSTR pName, LPUNKNOWN pUnk, HRESULT* phr, IPin* pPin);
    HRESULT RegisterMediaTime(IMediaSample* pMediaSample);
    HRESULT RegisterMediaTime(LONGLONG StartTime, LONGLONG EndTime);
    HRESULT GetMediaTime(LONGLONG* pStartTime, LONGLONG* pEndTime) override;
    HRESULT ResetMediaTime();
    HRESULT EOS();

private:
    CCritSec m_PositionLock;
    LONGLONG m_StartMedia;
    LONGLONG m_EndMedia;
    BOOL m_bReset;
};
