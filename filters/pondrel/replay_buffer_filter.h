// The replay buffer filter: an in-place filter that holds the latest frames in a ring and
// hands on only the frames around a trigger instant (one capture per run).
#pragma once
#include "streams.h"
#include "ireplaybuffer.h"
#include "replay_ring.h"
#include <vector>

class CReplayBufferFilter : public CTransInPlaceFilter,
                            public IReplayBuffer,
                            public ISpecifyPropertyPages {
public:
    static CUnknown* WINAPI CreateInstance(LPUNKNOWN pUnk, HRESULT* phr);
    ~CReplayBufferFilter() override;

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // Filter
    HRESULT CheckInputType(const CMediaType* mtIn) override;
    HRESULT DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProps) override;
    HRESULT Transform(IMediaSample*) override { return S_OK; }   // the data passes unchanged
    HRESULT Receive(IMediaSample* pSample) override;
    STDMETHODIMP Run(REFERENCE_TIME tStart) override;
    STDMETHODIMP Stop() override;

    // IReplayBuffer
    STDMETHODIMP GetEffect(int* effect, double* start, double* length) override;
    STDMETHODIMP SetEffect(int effect, double start, double length) override;
    STDMETHODIMP GetBufferInfo(int* count, int* bytes) override;
    STDMETHODIMP TriggerAt(REFERENCE_TIME t, int* parity) override;
    STDMETHODIMP TriggerNow() override;
    STDMETHODIMP GetPreTriggerFrames(int* frames) override;
    STDMETHODIMP SetPreTriggerFrames(int frames) override;
    STDMETHODIMP GetPostTriggerFrames(int* frames) override;
    STDMETHODIMP SetPostTriggerFrames(int frames) override;
    STDMETHODIMP CanTrigger(BYTE* can) override;
    STDMETHODIMP SetFrameRate(double fps) override;
    STDMETHODIMP GetFrameRate(double* fps) override;
    STDMETHODIMP SetTriggerOffset(int fields) override;

    // ISpecifyPropertyPages
    STDMETHODIMP GetPages(CAUUID* pPages) override;

private:
    CReplayBufferFilter(LPUNKNOWN pUnk, HRESULT* phr);

    // Takes all N buffers of `size` bytes from the ring's allocator (stored frames are lost).
    HRESULT AllocateRing(int count, long size);
    void ReleaseEntries();
    static HRESULT CopySample(IMediaSample* from, IMediaSample* to);
    // Save mode: the next ring entry to hand out, stamped with its time in the clip; null
    // when all have gone out.
    IMediaSample* NextSaved();

    CCritSec m_Lock;   // the filter lock: ring, settings and every interface call
    CReplayRing m_ring;
    IMemAllocator* m_pRingAllocator = nullptr;
    std::vector<IMediaSample*> m_entries;
    long m_requestedSize = 20000;
    long m_bufferSize = 0;
    bool m_bRingFailed = false;
    long m_failedSize = 0;   // buffer size of the last ring that could not be allocated

    int m_effect = 1010;
    REFERENCE_TIME m_effectStart = 0;
    REFERENCE_TIME m_effectLength = 0;
};
