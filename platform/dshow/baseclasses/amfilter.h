// Filters, pins, media samples and allocators: the streaming frame every filter builds on.
#pragma once
#include "combase.h"
#include "mtype.h"
#include "wxutil.h"
#include <strmif.h>

class CBaseFilter;
class CBasePin;
class CBaseAllocator;

// 100-ns stream time with the classic conversions.
class CRefTime {
public:
    REFERENCE_TIME m_time;
    CRefTime() : m_time(0) {}
    CRefTime(LONG msecs) : m_time(REFERENCE_TIME(msecs) * 10000) {}
    CRefTime(REFERENCE_TIME rt) : m_time(rt) {}
    operator REFERENCE_TIME() const { return m_time; }
    CRefTime& operator=(const CRefTime& rt) = default;
    CRefTime& operator=(const LONGLONG ll) { m_time = ll; return *this; }
    CRefTime& operator+=(const CRefTime& rt) { m_time += rt.m_time; return *this; }
    CRefTime& operator-=(const CRefTime& rt) { m_time -= rt.m_time; return *this; }
    LONG Millisecs() const { return LONG(m_time / 10000); }
    LONGLONG GetUnits() const { return m_time; }
};
const LONGLONG MILLISECONDS = 1000;
const LONGLONG NANOSECONDS = 1000000000;
const LONGLONG UNITS = NANOSECONDS / 100;
#define MAX_TIME ((REFERENCE_TIME)0x7FFFFFFFFFFFFFFFLL)

class CBaseFilter : public CUnknown, public IBaseFilter {
    friend class CBasePin;

public:
    CBaseFilter(LPCTSTR pName, LPUNKNOWN pUnk, CCritSec* pLock, REFCLSID clsid, HRESULT* phr = nullptr);
    ~CBaseFilter() override;

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // IPersist
    STDMETHODIMP GetClassID(CLSID* pClsID) override;
    // IMediaFilter
    STDMETHODIMP GetState(DWORD dwMSecs, FILTER_STATE* State) override;
    STDMETHODIMP SetSyncSource(IReferenceClock* pClock) override;
    STDMETHODIMP GetSyncSource(IReferenceClock** pClock) override;
    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;
    STDMETHODIMP Run(REFERENCE_TIME tStart) override;
    // IBaseFilter
    STDMETHODIMP EnumPins(IEnumPins** ppEnum) override;
    STDMETHODIMP FindPin(LPCWSTR Id, IPin** ppPin) override;
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* pInfo) override;
    STDMETHODIMP JoinFilterGraph(IFilterGraph* pGraph, LPCWSTR pName) override;
    STDMETHODIMP QueryVendorInfo(LPWSTR* pVendorInfo) override;

    // Stream time now (clock time less the start time); VFW_E_NO_CLOCK without a clock.
    virtual HRESULT StreamTime(CRefTime& rtStream);
    BOOL IsActive() { CAutoLock l(m_pLock); return m_State != State_Stopped; }
    BOOL IsStopped() { return m_State == State_Stopped; }

    virtual int GetPinCount() = 0;
    virtual CBasePin* GetPin(int n) = 0;
    virtual LONG GetPinVersion() { return m_PinVersion; }
    void IncrementPinVersion() { InterlockedIncrement(&m_PinVersion); }

    // Sends an event to the graph's event sink (when the filter is in a graph).
    HRESULT NotifyEvent(LONG EventCode, LONG_PTR EventParam1, LONG_PTR EventParam2);
    IFilterGraph* GetFilterGraph() { return m_pGraph; }
    HRESULT ReconnectPin(IPin* pPin, const AM_MEDIA_TYPE* pmt);

protected:
    FILTER_STATE m_State;
    IReferenceClock* m_pClock;
    CRefTime m_tStart;
    CLSID m_clsid;
    CCritSec* m_pLock;
    WCHAR* m_pName;
    IFilterGraph* m_pGraph;
    IMediaEventSink* m_pSink;
    LONG m_PinVersion;
};

class CBasePin : public CUnknown, public IPin, public IQualityControl {
public:
    CBasePin(LPCTSTR pObjectName, CBaseFilter* pFilter, CCritSec* pLock, HRESULT* phr, LPCWSTR pName,
             PIN_DIRECTION dir);
    ~CBasePin() override;

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    // A pin lives as long as its filter: its count is the filter's.
    STDMETHODIMP_(ULONG) NonDelegatingAddRef() override;
    STDMETHODIMP_(ULONG) NonDelegatingRelease() override;

    // IPin
    STDMETHODIMP Connect(IPin* pReceivePin, const AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP ReceiveConnection(IPin* pConnector, const AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin** pPin) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP QueryPinInfo(PIN_INFO* pInfo) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION* pPinDir) override;
    STDMETHODIMP QueryId(LPWSTR* Id) override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** ppEnum) override;
    STDMETHODIMP QueryInternalConnections(IPin** apPin, ULONG* nPin) override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) override;
    // IQualityControl
    STDMETHODIMP Notify(IBaseFilter* pSender, Quality q) override;
    STDMETHODIMP SetSink(IQualityControl* piqc) override;

    BOOL IsConnected() const { return m_Connected != nullptr; }
    IPin* GetConnected() { return m_Connected; }
    BOOL IsStopped() { return m_pFilter->m_State == State_Stopped; }
    LPWSTR Name() { return m_pName; }
    CMediaType& CurrentMediaType() { return m_mt; }
    REFERENCE_TIME CurrentStartTime() const { return m_tStart; }
    REFERENCE_TIME CurrentStopTime() const { return m_tStop; }
    double CurrentRate() const { return m_dRate; }
    BOOL CanReconnectWhenActive() const { return m_bCanReconnectWhenActive; }
    void SetReconnectWhenActive(BOOL b) { m_bCanReconnectWhenActive = b; }
    HRESULT DisconnectInternal();

    // Overridables of the connection protocol.
    virtual HRESULT CheckMediaType(const CMediaType*) = 0;
    virtual HRESULT SetMediaType(const CMediaType*);
    virtual HRESULT CheckConnect(IPin*);
    virtual HRESULT BreakConnect();
    virtual HRESULT CompleteConnect(IPin* pReceivePin);
    virtual HRESULT GetMediaType(int iPosition, CMediaType* pMediaType);
    virtual LONG GetMediaTypeVersion() { return m_TypeVersion; }
    void IncrementTypeVersion() { InterlockedIncrement(&m_TypeVersion); }
    virtual HRESULT Active() { return S_OK; }
    virtual HRESULT Inactive() { m_bRunTimeError = FALSE; return S_OK; }
    virtual HRESULT Run(REFERENCE_TIME) { return S_OK; }

protected:
    virtual HRESULT AgreeMediaType(IPin* pReceivePin, const CMediaType* pmt);
    virtual HRESULT AttemptConnection(IPin* pReceivePin, const CMediaType* pmt);
    HRESULT TryMediaTypes(IPin* pReceivePin, const CMediaType* pmt, IEnumMediaTypes* pEnum);

    WCHAR* m_pName;
    IPin* m_Connected;
    PIN_DIRECTION m_dir;
    CCritSec* m_pLock;
    bool m_bRunTimeError;
    bool m_bCanReconnectWhenActive;
    bool m_bTryMyTypesFirst;
    CBaseFilter* m_pFilter;
    IQualityControl* m_pQSink;
    LONG m_TypeVersion;
    CMediaType m_mt;
    CRefTime m_tStart;
    CRefTime m_tStop;
    double m_dRate;
};

class CEnumPins : public IEnumPins {
public:
    CEnumPins(CBaseFilter* pFilter, CEnumPins* pEnumPins = nullptr);
    virtual ~CEnumPins();
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP Next(ULONG cPins, IPin** ppPins, ULONG* pcFetched) override;
    STDMETHODIMP Skip(ULONG cPins) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumPins** ppEnum) override;

private:
    LONG m_cRef;
    int m_Position;
    LONG m_Version;
    CBaseFilter* m_pFilter;
};

class CEnumMediaTypes : public IEnumMediaTypes {
public:
    CEnumMediaTypes(CBasePin* pPin, CEnumMediaTypes* pEnum = nullptr);
    virtual ~CEnumMediaTypes();
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP Next(ULONG cMediaTypes, AM_MEDIA_TYPE** ppMediaTypes, ULONG* pcFetched) override;
    STDMETHODIMP Skip(ULONG cMediaTypes) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumMediaTypes** ppEnum) override;

private:
    LONG m_cRef;
    int m_Position;
    LONG m_Version;
    CBasePin* m_pPin;
};

class CBaseOutputPin : public CBasePin {
public:
    CBaseOutputPin(LPCTSTR pObjectName, CBaseFilter* pFilter, CCritSec* pLock, HRESULT* phr, LPCWSTR pName);

    HRESULT CompleteConnect(IPin* pReceivePin) override;
    HRESULT CheckConnect(IPin* pPin) override;
    HRESULT BreakConnect() override;
    HRESULT Active() override;
    HRESULT Inactive() override;

    virtual HRESULT DecideAllocator(IMemInputPin* pPin, IMemAllocator** pAlloc);
    virtual HRESULT DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* ppropInputRequest) = 0;
    virtual HRESULT InitAllocator(IMemAllocator** ppAlloc);
    virtual HRESULT GetDeliveryBuffer(IMediaSample** ppSample, REFERENCE_TIME* pStartTime,
                                      REFERENCE_TIME* pEndTime, DWORD dwFlags);
    virtual HRESULT Deliver(IMediaSample*);
    virtual HRESULT DeliverEndOfStream();
    virtual HRESULT DeliverBeginFlush();
    virtual HRESULT DeliverEndFlush();
    virtual HRESULT DeliverNewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate);

    // An output pin receives none of these.
    STDMETHODIMP EndOfStream() override { return E_UNEXPECTED; }
    STDMETHODIMP BeginFlush() override { return E_UNEXPECTED; }
    STDMETHODIMP EndFlush() override { return E_UNEXPECTED; }

protected:
    IMemAllocator* m_pAllocator;
    IMemInputPin* m_pInputPin;
};

class CBaseInputPin : public CBasePin, public IMemInputPin {
public:
    CBaseInputPin(LPCTSTR pObjectName, CBaseFilter* pFilter, CCritSec* pLock, HRESULT* phr, LPCWSTR pName);
    ~CBaseInputPin() override;

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // IMemInputPin
    STDMETHODIMP GetAllocator(IMemAllocator** ppAllocator) override;
    STDMETHODIMP NotifyAllocator(IMemAllocator* pAllocator, BOOL bReadOnly) override;
    STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES* pProps) override;
    STDMETHODIMP Receive(IMediaSample* pSample) override;
    STDMETHODIMP ReceiveMultiple(IMediaSample** pSamples, LONG nSamples, LONG* nSamplesProcessed) override;
    STDMETHODIMP ReceiveCanBlock() override;

    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;

    HRESULT BreakConnect() override;
    HRESULT Inactive() override;
    BOOL IsReadOnly() const { return m_bReadOnly; }
    BOOL IsFlushing() const { return m_bFlushing; }
    // S_OK while samples may be received, S_FALSE while flushing, an error otherwise.
    virtual HRESULT CheckStreaming();
    AM_SAMPLE2_PROPERTIES* SampleProps() { return &m_SampleProps; }
    HRESULT PassNotify(Quality& q);

protected:
    IMemAllocator* m_pAllocator;
    BYTE m_bReadOnly;
    BYTE m_bFlushing;
    AM_SAMPLE2_PROPERTIES m_SampleProps;
};

// Answered by the samples of this layer: how many buffers the allocator a sample belongs to
// holds, so that a filter keeps a sample past its Receive only when the sample's maker has
// another to go on with. Samples of other makers do not answer.
// {5E0A7D21-93C4-4F6B-8B1E-2C7A64D90F35}
static const IID IID_ISampleAllocatorSize = {0x5e0a7d21, 0x93c4, 0x4f6b,
                                             {0x8b, 0x1e, 0x2c, 0x7a, 0x64, 0xd9, 0x0f, 0x35}};
struct ISampleAllocatorSize : public IUnknown {
    virtual LONG STDMETHODCALLTYPE AllocatorBuffers() = 0;
};

// Answered by a filter of this layer that reads only the rows of one field of the
// uncompressed pictures it is given (rows counted as they lie in the buffer): 0 for the
// even rows, 1 for the odd ones and the first row (which the odd rows' field shows, having
// no row of its own there), -1 when it reads whole pictures. A decoder upstream may
// then convert only those rows, and says so in the sample's type-specific flags.
// {B3D6E1C4-57A2-4E0B-9F43-1A6C8D2E7B90}
static const IID IID_IFieldRowsRead = {0xb3d6e1c4, 0x57a2, 0x4e0b,
                                       {0x9f, 0x43, 0x1a, 0x6c, 0x8d, 0x2e, 0x7b, 0x90}};
struct IFieldRowsRead : public IUnknown {
    virtual int STDMETHODCALLTYPE FieldRowsRead(LONG width, LONG height) = 0;
};
// Type-specific flags of a sample holding only one field's rows (the other rows are stale).
const DWORD kSampleFieldRowsOnly = 0x10000;
const DWORD kSampleOddFieldRows = 0x20000;

// The field whose rows alone a sample holds, or -1 for a whole picture.
int SampleFieldRows(IMediaSample* sample);
// Marks a sample as holding only the rows of one field (0 or 1), or a whole picture (-1).
void SetSampleFieldRows(IMediaSample* sample, int field);
// What the filter of a connected pin answers (-1 when it does not answer).
int FieldRowsReadBy(IPin* peer, LONG width, LONG height);

class CMediaSample : public IMediaSample2, public ISampleAllocatorSize {
    friend class CBaseAllocator;
    friend class CMemAllocator;

public:
    CMediaSample(LPCTSTR pName, CBaseAllocator* pAllocator, HRESULT* phr, LPBYTE pBuffer = nullptr,
                 LONG length = 0);
    virtual ~CMediaSample();

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    HRESULT SetPointer(BYTE* ptr, LONG cBytes);
    STDMETHODIMP GetPointer(BYTE** ppBuffer) override;
    STDMETHODIMP_(LONG) GetSize() override;
    STDMETHODIMP GetTime(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd) override;
    STDMETHODIMP SetTime(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd) override;
    STDMETHODIMP IsSyncPoint() override;
    STDMETHODIMP SetSyncPoint(BOOL bIsSyncPoint) override;
    STDMETHODIMP IsPreroll() override;
    STDMETHODIMP SetPreroll(BOOL bIsPreroll) override;
    STDMETHODIMP_(LONG) GetActualDataLength() override;
    STDMETHODIMP SetActualDataLength(LONG lActual) override;
    STDMETHODIMP GetMediaType(AM_MEDIA_TYPE** ppMediaType) override;
    STDMETHODIMP SetMediaType(AM_MEDIA_TYPE* pMediaType) override;
    STDMETHODIMP IsDiscontinuity() override;
    STDMETHODIMP SetDiscontinuity(BOOL bDiscontinuity) override;
    STDMETHODIMP GetMediaTime(LONGLONG* pTimeStart, LONGLONG* pTimeEnd) override;
    STDMETHODIMP SetMediaTime(LONGLONG* pTimeStart, LONGLONG* pTimeEnd) override;
    STDMETHODIMP GetProperties(DWORD cbProperties, BYTE* pbProperties) override;
    STDMETHODIMP SetProperties(DWORD cbProperties, const BYTE* pbProperties) override;
    LONG STDMETHODCALLTYPE AllocatorBuffers() override;

protected:
    enum {
        Sample_SyncPoint = 0x01,
        Sample_Preroll = 0x02,
        Sample_Discontinuity = 0x04,
        Sample_TypeChanged = 0x08,
        Sample_TimeValid = 0x10,
        Sample_MediaTimeValid = 0x20,
        Sample_TimeDiscontinuity = 0x40,
        Sample_StopValid = 0x100,
        Sample_ValidFlags = 0x1FF
    };
    DWORD m_dwFlags;
    DWORD m_dwTypeSpecificFlags;
    LPBYTE m_pBuffer;
    LONG m_lActual;
    LONG m_cbBuffer;
    CBaseAllocator* m_pAllocator;
    CMediaSample* m_pNext;
    REFERENCE_TIME m_Start;
    REFERENCE_TIME m_End;
    LONGLONG m_MediaStart;
    LONG m_MediaEnd; // stored as the difference from the start
    AM_MEDIA_TYPE* m_pMediaType;
    DWORD m_dwStreamId;

public:
    LONG m_cRef;
};

class CBaseAllocator : public CUnknown, public IMemAllocator, public CCritSec {
public:
    CBaseAllocator(LPCTSTR pName, LPUNKNOWN pUnk, HRESULT* phr, BOOL bEvent = TRUE,
                   BOOL fEnableReleaseCallback = FALSE);
    ~CBaseAllocator() override;

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    STDMETHODIMP SetProperties(ALLOCATOR_PROPERTIES* pRequest, ALLOCATOR_PROPERTIES* pActual) override;
    STDMETHODIMP GetProperties(ALLOCATOR_PROPERTIES* pProps) override;
    STDMETHODIMP Commit() override;
    STDMETHODIMP Decommit() override;
    STDMETHODIMP GetBuffer(IMediaSample** ppBuffer, REFERENCE_TIME* pStartTime, REFERENCE_TIME* pEndTime,
                           DWORD dwFlags) override;
    STDMETHODIMP ReleaseBuffer(IMediaSample* pBuffer) override;

    // Number of samples neither handed out nor freed.
    LONG FreeCount() { CAutoLock l(this); return m_lFree.GetCount(); }

protected:
    class CSampleList {
    public:
        CSampleList() : m_List(nullptr), m_nOnList(0) {}
        CMediaSample* Head() const { return m_List; }
        static CMediaSample* Next(CMediaSample* p) { return p->m_pNext; }
        int GetCount() const { return m_nOnList; }
        void Add(CMediaSample* p) { p->m_pNext = m_List; m_List = p; ++m_nOnList; }
        CMediaSample* RemoveHead()
        {
            CMediaSample* p = m_List;
            if (p) {
                m_List = p->m_pNext;
                --m_nOnList;
            }
            return p;
        }

    private:
        CMediaSample* m_List;
        int m_nOnList;
    };

    virtual void Free() = 0;
    virtual HRESULT Alloc();
    BOOL IsCommitted() const { return m_bCommitted; }

    CSampleList m_lFree;
    HANDLE m_hSem;
    LONG m_lWaiting;
    LONG m_lCount;
    LONG m_lAllocated;
    LONG m_lSize;
    LONG m_lAlignment;
    LONG m_lPrefix;
    BOOL m_bChanged;
    BOOL m_bCommitted;
    BOOL m_bDecommitInProgress;
};

// Allocator whose buffers are one block of process memory, kept across decommit and
// reallocated only when the properties change.
class CMemAllocator : public CBaseAllocator {
public:
    CMemAllocator(LPCTSTR pName, LPUNKNOWN pUnk, HRESULT* phr);
    ~CMemAllocator() override;
    static CUnknown* CALLBACK CreateInstance(LPUNKNOWN pUnk, HRESULT* phr);
    STDMETHODIMP SetProperties(ALLOCATOR_PROPERTIES* pRequest, ALLOCATOR_PROPERTIES* pActual) override;

protected:
    void Free() override;
    void ReallyFree();
    HRESULT Alloc() override;
    LPBYTE m_pBuffer;
};

HRESULT CreateMemoryAllocator(IMemAllocator** ppAllocator);
