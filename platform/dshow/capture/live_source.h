// Live sources (cameras, sound inputs): a filter whose worker thread captures while the
// graph runs and stamps each buffer with stream times, and output pins that tell their
// category, offer their formats and count the frames they could not deliver.
#pragma once
#include "streams.h"
#include <vector>

class CLiveSource;

// Frame numbering of a live video stream. Frame n covers [n, n + 1) periods of stream time;
// numbers only grow, and a gap in them is what was dropped.
class FramePacer {
public:
    explicit FramePacer(REFERENCE_TIME period = 1) : m_period(period > 0 ? period : 1) {}
    void Reset() { m_last = -1; }
    REFERENCE_TIME Period() const { return m_period; }
    // The number of the frame that a source which makes its own frames (the synthetic
    // camera) delivers next; it is due once `now` reaches its stop time.
    LONGLONG NextDue(REFERENCE_TIME now) const
    {
        return m_last < 0 ? (now > 0 ? now / m_period : 0) : m_last + 1;
    }
    // The number of a frame completed at `now`, given the number the source meant to
    // deliver: frames whose whole period has passed since are counted as dropped, and so
    // are those of the run before the first one delivered (a recording that began with
    // the sound before the camera's first picture holds empty frames for them). A device
    // that delivers at its own pace may be up to one period late without a drop.
    LONGLONG Take(LONGLONG wanted, REFERENCE_TIME now, LONG* dropped, REFERENCE_TIME tolerance)
    {
        LONGLONG n = wanted <= m_last ? m_last + 1 : wanted;
        const LONGLONG latest = (now - tolerance) / m_period - 1; // last frame completed
        if (latest > n)
            n = latest;
        if (dropped)
            *dropped = LONG(n - m_last - 1 > 0 ? n - m_last - 1 : 0);
        m_last = n;
        return n;
    }
    REFERENCE_TIME Start(LONGLONG n) const { return n * m_period; }
    REFERENCE_TIME Stop(LONGLONG n) const { return (n + 1) * m_period; }

private:
    REFERENCE_TIME m_period;
    LONGLONG m_last = -1;
};

class CLivePin : public CBaseOutputPin,
                 public IKsPropertySet,
                 public IAMStreamConfig,
                 public IAMStreamControl,
                 public IAMDroppedFrames {
public:
    // `formats` are the capabilities, the first one is the initial format.
    CLivePin(CLiveSource* filter, HRESULT* phr, LPCWSTR name, const GUID& category,
             const std::vector<CMediaType>& formats, bool countsFrames);

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    HRESULT CheckMediaType(const CMediaType* pmt) override;
    HRESULT GetMediaType(int iPosition, CMediaType* pmt) override;
    HRESULT SetMediaType(const CMediaType* pmt) override;
    HRESULT DecideBufferSize(IMemAllocator* alloc, ALLOCATOR_PROPERTIES* props) override;

    // IKsPropertySet: the pin category.
    STDMETHODIMP Set(REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD) override { return E_PROP_ID_UNSUPPORTED; }
    STDMETHODIMP Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength, LPVOID data, DWORD dataLength,
                     DWORD* returned) override;
    STDMETHODIMP QuerySupported(REFGUID set, DWORD id, DWORD* support) override;

    // IAMStreamConfig
    STDMETHODIMP SetFormat(AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP GetFormat(AM_MEDIA_TYPE** ppmt) override;
    STDMETHODIMP GetNumberOfCapabilities(int* count, int* size) override;
    STDMETHODIMP GetStreamCaps(int index, AM_MEDIA_TYPE** ppmt, BYTE* caps) override;

    // IAMStreamControl: delivery between a start and a stop time (null: now, MAXLONGLONG: never).
    STDMETHODIMP StartAt(const REFERENCE_TIME* start, DWORD cookie) override;
    STDMETHODIMP StopAt(const REFERENCE_TIME* stop, BOOL sendExtra, DWORD cookie) override;
    STDMETHODIMP GetInfo(AM_STREAM_INFO* info) override;

    // IAMDroppedFrames: the source's counters.
    STDMETHODIMP GetNumDropped(LONG* dropped) override;
    STDMETHODIMP GetNumNotDropped(LONG* notDropped) override;
    STDMETHODIMP GetDroppedInfo(LONG size, LONG* frames, LONG* copied) override;
    STDMETHODIMP GetAverageFrameSize(LONG* averageSize) override;

    const CMediaType& Format() const { return m_format; }
    // Copies one buffer into a sample and delivers it, when the pin is connected and
    // stream control lets it through. S_FALSE when nothing was sent.
    HRESULT DeliverBuffer(const BYTE* data, LONG size, REFERENCE_TIME start, REFERENCE_TIME stop);

private:
    CLiveSource* m_source;
    GUID m_category;
    std::vector<CMediaType> m_formats;
    CMediaType m_format;
    bool m_countsFrames;
    CCritSec m_controlLock;
    REFERENCE_TIME m_startAt = 0;       // deliver from (0: from the beginning)
    REFERENCE_TIME m_stopAt = MAXLONGLONG;
    bool m_stopped = false;             // stopped by StopAt or StartAt(MAXLONGLONG)
};

class CLiveSource : public CBaseFilter, public IAMFilterMiscFlags {
public:
    // Hands a newly made source out as a filter (or releases it when making it failed).
    static HRESULT HandOut(CLiveSource* source, HRESULT made, IBaseFilter** ppFilter);

    friend class CLivePin;

    CLiveSource(LPCTSTR name, LPUNKNOWN pUnk, REFCLSID clsid);
    ~CLiveSource() override;

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    int GetPinCount() override { return int(m_pins.size()); }
    CBasePin* GetPin(int n) override { return n >= 0 && n < int(m_pins.size()) ? m_pins[n] : nullptr; }
    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;
    STDMETHODIMP Run(REFERENCE_TIME tStart) override;
    STDMETHODIMP GetState(DWORD ms, FILTER_STATE* state) override;
    STDMETHODIMP_(ULONG) GetMiscFlags() override { return AM_FILTER_MISC_FLAGS_IS_SOURCE; }

    LONG Dropped() const { return m_dropped; }
    LONG Delivered() const { return m_delivered; }

protected:
    // What a source supplies. Open and Close bracket one run of the worker (from the first
    // Run after a stop to the stop); Capture gets and delivers one unit, false when the
    // device is gone.
    virtual bool Open() = 0;
    virtual void Close() {}
    virtual bool Capture() = 0;
    // Formats a pin accepts besides its listed ones (the sound source takes any PCM layout).
    virtual bool AcceptsFormat(CLivePin*, const CMediaType*) { return false; }
    virtual LONG BufferSize(CLivePin* pin);
    // A format set through IAMStreamConfig while stopped.
    virtual void OnFormatChanged(CLivePin*) {}

    void AddPin(CLivePin* pin) { m_pins.push_back(pin); }
    // Stream time now; without a graph clock, time since the run began.
    REFERENCE_TIME Now();
    // Waits until stream time t; false when the source is asked to pause or stop first.
    bool WaitUntil(REFERENCE_TIME t);
    bool Running() const { return m_State == State_Running && !m_quit; }
    void CountDelivered(LONG frames, LONG dropped)
    {
        InterlockedExchangeAdd(&m_delivered, frames);
        InterlockedExchangeAdd(&m_dropped, dropped);
    }

    CCritSec m_lock;
    std::vector<CLivePin*> m_pins;

private:
    static DWORD WINAPI ThreadProc(LPVOID self);
    void Work();
    void StopThread();

    HANDLE m_thread = nullptr;
    HANDLE m_wake;            // state changes and stop
    volatile bool m_quit = false;
    LONG m_dropped = 0;
    LONG m_delivered = 0;
    LARGE_INTEGER m_runBegan{};   // for sources in a graph without a clock
};
