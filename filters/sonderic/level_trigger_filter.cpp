#include "level_trigger_filter.h"
#include "level_scan.h"
#include "filter_common.h"
#include <new>

CUnknown* WINAPI CLevelTriggerFilter::CreateInstance(LPUNKNOWN pUnk, HRESULT* phr)
{
    return FactoryObject(new (std::nothrow) CLevelTriggerFilter(pUnk, phr), phr);
}

CLevelTriggerFilter::CLevelTriggerFilter(LPUNKNOWN pUnk, HRESULT* phr)
    : CTransInPlaceFilter(TEXT("Sonderic"), pUnk, CLSID_LevelTrigger, phr, false),
      CPersistStream(pUnk, phr), m_level(ThresholdLevel(50))
{
}

STDMETHODIMP CLevelTriggerFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_ILevelTrigger))
        return GetInterface(static_cast<ILevelTrigger*>(this), ppv);
    if (IsEqualIID(riid, IID_ISpecifyPropertyPages))
        return GetInterface(static_cast<ISpecifyPropertyPages*>(this), ppv);
    if (IsEqualIID(riid, IID_IPersistStream))
        return GetInterface(static_cast<IPersistStream*>(this), ppv);
    return CTransInPlaceFilter::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CLevelTriggerFilter::GetClassID(CLSID* pClsid)
{
    return CTransInPlaceFilter::GetClassID(pClsid);
}

HRESULT CLevelTriggerFilter::CheckInputType(const CMediaType* mt)
{
    if (!mt || *mt->Type() != MEDIATYPE_Audio)
        return E_INVALIDARG;
    if (*mt->Subtype() != MEDIASUBTYPE_PCM)
        return E_FAIL;
    // The scan reads the wave format: a type without one is refused.
    if (*mt->FormatType() != FORMAT_WaveFormatEx || !mt->Format() ||
        mt->FormatLength() < sizeof(WAVEFORMATEX))
        return E_FAIL;
    return S_OK;
}

HRESULT CLevelTriggerFilter::Transform(IMediaSample* pSample)
{
    CAutoLock lock(&m_Lock);
    if (!m_triggered && pSample) {
        const CMediaType& mt = m_pInput->CurrentMediaType();
        PcmLayout layout;
        if (*mt.FormatType() == FORMAT_WaveFormatEx && mt.Format() &&
            mt.FormatLength() >= sizeof(WAVEFORMATEX)) {
            const auto* wfx = reinterpret_cast<const WAVEFORMATEX*>(mt.Format());
            layout.channels = wfx->nChannels;
            layout.sampleRate = int(wfx->nSamplesPerSec);
            layout.bytesPerSample = wfx->wBitsPerSample / 8;
        }
        BYTE* data = nullptr;
        const long length = pSample->GetActualDataLength();
        REFERENCE_TIME start = 0, stop = 0;
        const HRESULT timeHr = pSample->GetTime(&start, &stop);
        LONGLONG mediaStart = 0, mediaStop = 0;
        if (pSample->GetMediaTime(&mediaStart, &mediaStop) != S_OK) {
            // Without a media time the position follows from the stream time.
            mediaStart = SUCCEEDED(timeHr) && layout.sampleRate > 0
                             ? start * layout.sampleRate / 10000000
                             : 0;
        }
        if (m_firstSample) {
            m_firstSample = 0;
            m_firstStart = SUCCEEDED(timeHr) ? start : 0;
        }
        if (SUCCEEDED(pSample->GetPointer(&data)) && length > 0) {
            const long i = FindLoudFrame(data, size_t(length), layout, m_level);
            if (i >= 0) {
                const int64_t ms = LoudFrameMilliseconds(mediaStart, i, layout.sampleRate);
                m_triggered = 1;
                NotifyEvent(EC_FILTER_NOTIFY, 2, LONG_PTR(LONG(ms)));
            }
        }
    }
    return m_passThrough ? S_OK : S_FALSE;
}

STDMETHODIMP CLevelTriggerFilter::Run(REFERENCE_TIME tStart)
{
    {
        CAutoLock lock(&m_Lock);
        m_triggered = 0;
        m_firstStart = 0;
        m_firstSample = 1;
    }
    return CTransInPlaceFilter::Run(tStart);
}

STDMETHODIMP CLevelTriggerFilter::GetThresholdLevel(int* level)
{
    if (!level)
        return E_POINTER;
    CAutoLock lock(&m_Lock);
    *level = m_level;
    return S_OK;
}

STDMETHODIMP CLevelTriggerFilter::SetThreshold(int percent)
{
    CAutoLock lock(&m_Lock);
    m_level = ThresholdLevel(percent);
    SetDirty(TRUE);
    return S_OK;
}

STDMETHODIMP CLevelTriggerFilter::SetPassThrough(BYTE on)
{
    CAutoLock lock(&m_Lock);
    m_passThrough = on;
    SetDirty(TRUE);
    return S_OK;
}

STDMETHODIMP CLevelTriggerFilter::GetPassThrough(BYTE* on)
{
    if (!on)
        return E_POINTER;
    CAutoLock lock(&m_Lock);
    *on = m_passThrough;
    return S_OK;
}

STDMETHODIMP CLevelTriggerFilter::Rearm()
{
    // The pause before listening again lets the sound that fired die away; the audio
    // stream keeps flowing meanwhile, so the lock is taken only afterwards.
    Sleep(100);
    CAutoLock lock(&m_Lock);
    m_triggered = 0;
    m_firstStart = 0;
    m_firstSample = 1;
    SetDirty(TRUE);
    return S_OK;
}

STDMETHODIMP CLevelTriggerFilter::SetFrameRate(double fps)
{
    CAutoLock lock(&m_Lock);
    m_frameRate = fps;
    SetDirty(TRUE);
    return S_OK;
}

STDMETHODIMP CLevelTriggerFilter::GetFrameRate(double* fps)
{
    if (!fps)
        return E_POINTER;
    CAutoLock lock(&m_Lock);
    *fps = m_frameRate;
    return S_OK;
}

STDMETHODIMP CLevelTriggerFilter::GetPages(CAUUID* pPages)
{
    return OnePropertyPage(pPages, CLSID_LevelTriggerProperties);
}
