// In-place transform: the sample is changed in its own buffer and passed on. Where the
// upstream and downstream allocators differ, it is first copied into a downstream buffer.
// The output type is the input type.
#pragma once
#include "transfrm.h"

class CTransInPlaceFilter;

class CTransInPlaceInputPin : public CTransformInputPin {
public:
    CTransInPlaceInputPin(LPCTSTR pObjectName, CTransInPlaceFilter* pFilter, HRESULT* phr, LPCWSTR pName);

    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** ppEnum) override;
    HRESULT CheckMediaType(const CMediaType* pmt) override;
    STDMETHODIMP GetAllocator(IMemAllocator** ppAllocator) override;
    STDMETHODIMP NotifyAllocator(IMemAllocator* pAllocator, BOOL bReadOnly) override;
    STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES* pProps) override;
    IMemAllocator* PeekAllocator() const { return m_pAllocator; }
    HRESULT CompleteConnect(IPin* pReceivePin) override;
    BOOL ReadOnly() const { return m_bReadOnly; }

protected:
    CTransInPlaceFilter* const m_pTIPFilter;
};

class CTransInPlaceOutputPin : public CTransformOutputPin {
public:
    CTransInPlaceOutputPin(LPCTSTR pObjectName, CTransInPlaceFilter* pFilter, HRESULT* phr, LPCWSTR pName);

    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** ppEnum) override;
    HRESULT CheckMediaType(const CMediaType* pmt) override;
    HRESULT DecideAllocator(IMemInputPin* pPin, IMemAllocator** ppAlloc) override;
    void SetAllocator(IMemAllocator* pAllocator);
    IMemAllocator* PeekAllocator() const { return m_pAllocator; }

protected:
    CTransInPlaceFilter* const m_pTIPFilter;
};

class CTransInPlaceFilter : public CTransformFilter {
    friend class CTransInPlaceInputPin;
    friend class CTransInPlaceOutputPin;

public:
    CTransInPlaceFilter(LPCTSTR pName, LPUNKNOWN pUnk, REFCLSID clsid, HRESULT* phr, bool bModifiesData = true);

    CBasePin* GetPin(int n) override;
    // The in-place transform; S_FALSE drops the sample.
    virtual HRESULT Transform(IMediaSample* pSample) = 0;

    // Position 0 is the input connection's type.
    HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override;
    HRESULT DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProperties) override;
    HRESULT CheckTransform(const CMediaType*, const CMediaType*) override { return S_OK; }
    HRESULT CompleteConnect(PIN_DIRECTION dir, IPin* pReceivePin) override;
    HRESULT Receive(IMediaSample* pSample) override;

    CTransInPlaceInputPin* InputPin() const { return static_cast<CTransInPlaceInputPin*>(m_pInput); }
    CTransInPlaceOutputPin* OutputPin() const { return static_cast<CTransInPlaceOutputPin*>(m_pOutput); }
    BOOL TypesMatch();
    BOOL UsingDifferentAllocators() const;

protected:
    // A copy of the source in a buffer from the output pin's allocator (null on failure).
    IMediaSample* Copy(IMediaSample* pSource);
    bool m_bModifiesData;

private:
    HRESULT Transform(IMediaSample*, IMediaSample*) override { return E_UNEXPECTED; }
};
