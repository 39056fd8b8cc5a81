// Transform filter: one input pin, one output pin, a Transform from an input sample into a
// separate output sample. S_FALSE from Transform drops the sample.
#pragma once
#include "amfilter.h"

class CTransformFilter;
class CPosPassThru;

class CTransformInputPin : public CBaseInputPin {
    friend class CTransformFilter;

public:
    CTransformInputPin(LPCTSTR pObjectName, CTransformFilter* pTransformFilter, HRESULT* phr, LPCWSTR pName);

    STDMETHODIMP QueryId(LPWSTR* Id) override { return CBasePin::QueryId(Id); }
    HRESULT CheckConnect(IPin* pPin) override;
    HRESULT BreakConnect() override;
    HRESULT CompleteConnect(IPin* pReceivePin) override;
    HRESULT CheckMediaType(const CMediaType* mtIn) override;
    HRESULT SetMediaType(const CMediaType* mt) override;

    STDMETHODIMP Receive(IMediaSample* pSample) override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;
    STDMETHODIMP NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) override;
    HRESULT CheckStreaming() override;

    CMediaType& CurrentMediaType() { return m_mt; }

protected:
    CTransformFilter* m_pTransformFilter;
};

class CTransformOutputPin : public CBaseOutputPin {
    friend class CTransformFilter;

public:
    CTransformOutputPin(LPCTSTR pObjectName, CTransformFilter* pTransformFilter, HRESULT* phr, LPCWSTR pName);
    ~CTransformOutputPin() override;

    DECLARE_IUNKNOWN
    // Seeking requests from downstream go on upstream through the input pin.
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    STDMETHODIMP QueryId(LPWSTR* Id) override { return CBasePin::QueryId(Id); }
    HRESULT CheckConnect(IPin* pPin) override;
    HRESULT BreakConnect() override;
    HRESULT CompleteConnect(IPin* pReceivePin) override;
    HRESULT DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProp) override;
    HRESULT CheckMediaType(const CMediaType* mtOut) override;
    HRESULT SetMediaType(const CMediaType* pmt) override;
    HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override;
    STDMETHODIMP Notify(IBaseFilter* pSender, Quality q) override;

    CMediaType& CurrentMediaType() { return m_mt; }
    IMemAllocator* PeekAllocator() const { return m_pAllocator; }
    IMemInputPin* ConnectedIMemInputPin() const { return m_pInputPin; }

protected:
    CTransformFilter* m_pTransformFilter;
    IUnknown* m_pPosition;
};

class CTransformFilter : public CBaseFilter {
    friend class CTransformInputPin;
    friend class CTransformOutputPin;

public:
    CTransformFilter(LPCTSTR pName, LPUNKNOWN pUnk, REFCLSID clsid);
    ~CTransformFilter() override;

    int GetPinCount() override { return 2; }
    CBasePin* GetPin(int n) override;
    STDMETHODIMP FindPin(LPCWSTR Id, IPin** ppPin) override;
    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;

    // What a transform supplies.
    virtual HRESULT Transform(IMediaSample* pIn, IMediaSample* pOut);
    virtual HRESULT CheckInputType(const CMediaType* mtIn) = 0;
    virtual HRESULT CheckTransform(const CMediaType* mtIn, const CMediaType* mtOut) = 0;
    virtual HRESULT DecideBufferSize(IMemAllocator* pAllocator, ALLOCATOR_PROPERTIES* pprop) = 0;
    virtual HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) = 0;

    // What it may override.
    virtual HRESULT StartStreaming() { return S_OK; }
    virtual HRESULT StopStreaming() { return S_OK; }
    virtual HRESULT AlterQuality(Quality) { return S_FALSE; }
    virtual HRESULT SetMediaType(PIN_DIRECTION, const CMediaType*) { return S_OK; }
    virtual HRESULT CheckConnect(PIN_DIRECTION, IPin*) { return S_OK; }
    virtual HRESULT BreakConnect(PIN_DIRECTION) { return S_OK; }
    virtual HRESULT CompleteConnect(PIN_DIRECTION, IPin*) { return S_OK; }
    virtual HRESULT Receive(IMediaSample* pSample);
    virtual HRESULT EndOfStream();
    virtual HRESULT BeginFlush();
    virtual HRESULT EndFlush();
    virtual HRESULT NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate);

    CTransformInputPin* InputPin() { GetPin(0); return m_pInput; }
    CTransformOutputPin* OutputPin() { GetPin(1); return m_pOutput; }

protected:
    virtual HRESULT InitializeOutputSample(IMediaSample* pSample, IMediaSample** ppOutSample);

    bool m_bEOSDelivered;
    bool m_bSampleSkipped;
    bool m_bQualityChanged;
    CCritSec m_csFilter;
    CCritSec m_csReceive;
    CTransformInputPin* m_pInput;
    CTransformOutputPin* m_pOutput;
};
