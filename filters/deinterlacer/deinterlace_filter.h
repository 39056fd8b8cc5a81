// The Deinterlacer filter: works every 32-bit RGB frame in its own buffer into the
// 608 x 456 reference picture (see CDeinterlaceEngine) under the filter lock.
#pragma once
#include "streams.h"
#include "ideinterlace.h"
#include "deinterlace_engine.h"

// The HDC of the framework's DC object (null for none).
HDC DeviceContextHandle(CDC* dc);

class CDeinterlaceFilter : public CTransInPlaceFilter,
                           public IDeinterlace,
                           public ISpecifyPropertyPages,
                           public IFieldRowsRead {
public:
    static CUnknown* WINAPI CreateInstance(LPUNKNOWN pUnk, HRESULT* phr);
    ~CDeinterlaceFilter() override;

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    HRESULT CheckInputType(const CMediaType* mtIn) override;
    HRESULT DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProps) override;
    HRESULT Transform(IMediaSample* pSample) override;

    // IDeinterlace
    STDMETHODIMP GetBypass(BOOL* bypass) override;
    STDMETHODIMP SetBypass(BOOL bypass) override;
    STDMETHODIMP SetField(LONG reserved, LONG field) override;
    STDMETHODIMP EnableOverlay(BOOL enable) override;
    STDMETHODIMP SetOverlayBitmap(void* bits, LONG width, LONG height, DWORD key) override;
    STDMETHODIMP SetCrop(float x, float y, float w, float h) override;
    STDMETHODIMP GetCropOrigin(float* x, float* y) override;
    STDMETHODIMP GetCropSize(float* w, float* h) override;
    STDMETHODIMP SetMask(float x, float y, float w, float h) override;
    STDMETHODIMP SetMirror(BOOL mirror) override;
    STDMETHODIMP RequestSnapshot(CDC* dc, HANDLE* event) override;
    STDMETHODIMP SetOutputDC(CDC* dc) override;
    STDMETHODIMP SetScaleOutput(BOOL scale) override;
    STDMETHODIMP SetScaleToFrame(BOOL scale) override;

    // ISpecifyPropertyPages
    STDMETHODIMP GetPages(CAUUID* pPages) override;

    // IFieldRowsRead
    int STDMETHODCALLTYPE FieldRowsRead(LONG width, LONG height) override;

private:
    CDeinterlaceFilter(LPUNKNOWN pUnk, HRESULT* phr);

    // The filter lock. Every interface call takes it, so a DC handed over for a snapshot
    // or the composite picture is never used after the caller took it back.
    CCritSec m_Lock;
    DeinterlaceSettings m_settings;
    LONG m_reserved = 0;
    CDeinterlaceEngine m_engine;
    bool m_snapshotPending = false;
    HDC m_snapshotDC = nullptr;
    HANDLE m_snapshotEvent = nullptr;
    HDC m_outputDC = nullptr;
};
