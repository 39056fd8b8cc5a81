// The sound-level trigger: an in-place filter on PCM audio that raises graph event
// (24, 2, ms) at the first sample frame louder than the threshold, once until re-armed.
#pragma once
#include "streams.h"
#include "ileveltrigger.h"

class CLevelTriggerFilter : public CTransInPlaceFilter,
                            public ILevelTrigger,
                            public ISpecifyPropertyPages,
                            public CPersistStream {
public:
    static CUnknown* WINAPI CreateInstance(LPUNKNOWN pUnk, HRESULT* phr);

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    HRESULT CheckInputType(const CMediaType* mtIn) override;
    HRESULT Transform(IMediaSample* pSample) override;
    STDMETHODIMP Run(REFERENCE_TIME tStart) override;

    // ILevelTrigger
    STDMETHODIMP GetThresholdLevel(int* level) override;
    STDMETHODIMP SetThreshold(int percent) override;
    STDMETHODIMP SetPassThrough(BYTE on) override;
    STDMETHODIMP GetPassThrough(BYTE* on) override;
    STDMETHODIMP Rearm() override;
    STDMETHODIMP SetFrameRate(double fps) override;
    STDMETHODIMP GetFrameRate(double* fps) override;

    // ISpecifyPropertyPages
    STDMETHODIMP GetPages(CAUUID* pPages) override;
    // IPersist (for IBaseFilter and IPersistStream alike)
    STDMETHODIMP GetClassID(CLSID* pClsid) override;

private:
    CLevelTriggerFilter(LPUNKNOWN pUnk, HRESULT* phr);

    CCritSec m_Lock;   // the filter lock: settings and the scan
    int m_level;
    BYTE m_passThrough = 1;
    BYTE m_triggered = 0;
    BYTE m_firstSample = 1;
    REFERENCE_TIME m_firstStart = 0;
    double m_frameRate = 29.97;
};
