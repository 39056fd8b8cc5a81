// Common frame of the layer's renderers: one input pin, samples shown at their time on
// the graph's clock (at once without one), the first sample held while paused so the
// pause completes on a picture, end of stream reported as EC_COMPLETE while running, and
// seeking passed upstream.
#pragma once
#include "streams.h"

class CRendererBase;

class CRendererInputPin : public CBaseInputPin {
public:
    CRendererInputPin(CRendererBase* filter, CCritSec* lock, HRESULT* phr, LPCWSTR name);
    HRESULT CheckMediaType(const CMediaType* pmt) override;
    HRESULT SetMediaType(const CMediaType* pmt) override;
    HRESULT BreakConnect() override;
    STDMETHODIMP Receive(IMediaSample* pSample) override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;

private:
    CRendererBase* m_renderer;
};

class CRendererBase : public CBaseFilter, public IAMFilterMiscFlags {
    friend class CRendererInputPin;

public:
    CRendererBase(LPCTSTR name, LPUNKNOWN pUnk, REFCLSID clsid, LPCWSTR pinName, bool holdWhilePaused, HRESULT* phr);
    ~CRendererBase() override;

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override { return n == 0 ? &m_pin : nullptr; }
    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;
    STDMETHODIMP Run(REFERENCE_TIME tStart) override;
    STDMETHODIMP GetState(DWORD dwMSecs, FILTER_STATE* State) override;
    STDMETHODIMP_(ULONG) GetMiscFlags() override { return AM_FILTER_MISC_FLAGS_IS_RENDERER; }

protected:
    // What a renderer supplies.
    virtual HRESULT CheckMediaType(const CMediaType* pmt) = 0;
    virtual HRESULT SetMediaType(const CMediaType*) { return S_OK; }
    virtual void BreakConnect() {}
    // Called when the sample is due (and, for a held sample, also when it arrives).
    virtual HRESULT DoRenderSample(IMediaSample* pSample) = 0;
    virtual void OnStateChange(FILTER_STATE) {}

    CCritSec m_lock;
    CRendererInputPin m_pin;

private:
    HRESULT Receive(IMediaSample* pSample);
    HRESULT EndOfStream();
    void BeginFlush();
    void EndFlush();
    // Waits until stream time t, or until a flush or stop; false when interrupted.
    bool WaitUntil(REFERENCE_TIME t);
    // The states below change only under m_stateLock, each flag with its event, so that a
    // flag and its event never part. A paused graph is positioned once per field step, and
    // each positioning passes through all of them: they are events of this process, which
    // cost no round trip to the Wine server.
    void SetReady();
    void ResetReady();
    void SetAbort();
    void ResetAbort();
    void SetRunning(bool running);

    const bool m_hold;
    CCritSec m_stateLock;
    CLocalEvent m_ready;   // a sample or the end has arrived since the last stop or flush
    CLocalEvent m_release; // set while aborting or running: releases a sample held while paused
    HANDLE m_timer;        // clock advises; a flush or stop sets it too while a sample waits on it
    volatile LONG m_isReady;
    volatile LONG m_isAborting; // set by a flush or a stop
    bool m_isRunning;
    bool m_timedWait;      // a sample waits on m_timer
    bool m_eos;
    bool m_completeSent;
    CRendererPosPassThru* m_seeking;
};
