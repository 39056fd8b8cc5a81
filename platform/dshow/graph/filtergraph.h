// The filter graph manager: holds the filters, builds connections (directly, through
// filters already in the graph, or through registered filters by merit), drives the
// filters' states, routes seeking to the renderers and queues their events.
#pragma once
#include "streams.h"
#include <deque>
#include <string>
#include <vector>

class CFilterGraph : public CUnknown,
                     public IFilterGraph2,
                     public IMediaControl,
                     public IMediaEventEx,
                     public IMediaEventSink,
                     public IMediaSeeking,
                     public IMediaPosition,
                     public IMediaFilter {
public:
    CFilterGraph(LPUNKNOWN pUnk, HRESULT* phr);
    ~CFilterGraph() override;

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // IFilterGraph / IGraphBuilder / IFilterGraph2
    STDMETHODIMP AddFilter(IBaseFilter* pFilter, LPCWSTR pName) override;
    STDMETHODIMP RemoveFilter(IBaseFilter* pFilter) override;
    STDMETHODIMP EnumFilters(IEnumFilters** ppEnum) override;
    STDMETHODIMP FindFilterByName(LPCWSTR pName, IBaseFilter** ppFilter) override;
    STDMETHODIMP ConnectDirect(IPin* ppinOut, IPin* ppinIn, const AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP Reconnect(IPin* ppin) override;
    STDMETHODIMP Disconnect(IPin* ppin) override;
    STDMETHODIMP SetDefaultSyncSource() override;
    STDMETHODIMP Connect(IPin* ppinOut, IPin* ppinIn) override;
    STDMETHODIMP Render(IPin* ppinOut) override;
    STDMETHODIMP RenderFile(LPCWSTR lpcwstrFile, LPCWSTR lpcwstrPlayList) override;
    STDMETHODIMP AddSourceFilter(LPCWSTR lpcwstrFileName, LPCWSTR lpcwstrFilterName, IBaseFilter** ppFilter) override;
    STDMETHODIMP SetLogFile(DWORD_PTR) override { return S_OK; }
    STDMETHODIMP Abort() override { return S_OK; }
    STDMETHODIMP ShouldOperationContinue() override { return S_OK; }
    STDMETHODIMP AddSourceFilterForMoniker(IMoniker* pMoniker, IBindCtx* pCtx, LPCWSTR lpcwstrFilterName,
                                           IBaseFilter** ppFilter) override;
    STDMETHODIMP ReconnectEx(IPin* ppin, const AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP RenderEx(IPin* pPinOut, DWORD dwFlags, DWORD* pvContext) override;

    // IDispatch (of the automation interfaces): no type information.
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    // IMediaControl (Run, Pause and Stop also serve IMediaFilter)
    STDMETHODIMP Run() override;
    STDMETHODIMP Pause() override;
    STDMETHODIMP Stop() override;
    STDMETHODIMP GetState(LONG msTimeout, OAFilterState* pfs) override;
    STDMETHODIMP RenderFile(BSTR strFilename) override;
    STDMETHODIMP AddSourceFilter(BSTR strFilename, IDispatch** ppUnk) override;
    STDMETHODIMP get_FilterCollection(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP get_RegFilterCollection(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP StopWhenReady() override;

    // IMediaEvent / IMediaEventEx
    STDMETHODIMP GetEventHandle(OAEVENT* hEvent) override;
    STDMETHODIMP GetEvent(LONG* lEventCode, LONG_PTR* lParam1, LONG_PTR* lParam2, LONG msTimeout) override;
    STDMETHODIMP WaitForCompletion(LONG msTimeout, LONG* pEvCode) override;
    STDMETHODIMP CancelDefaultHandling(LONG lEvCode) override;
    STDMETHODIMP RestoreDefaultHandling(LONG lEvCode) override;
    STDMETHODIMP FreeEventParams(LONG lEvCode, LONG_PTR lParam1, LONG_PTR lParam2) override;
    STDMETHODIMP SetNotifyWindow(OAHWND hwnd, LONG lMsg, LONG_PTR lInstanceData) override;
    STDMETHODIMP SetNotifyFlags(LONG lNoNotifyFlags) override;
    STDMETHODIMP GetNotifyFlags(LONG* lplNoNotifyFlags) override;

    // IMediaEventSink
    STDMETHODIMP Notify(LONG EventCode, LONG_PTR EventParam1, LONG_PTR EventParam2) override;

    // IMediaSeeking
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

    // IMediaPosition (seconds)
    STDMETHODIMP get_Duration(REFTIME* plength) override;
    STDMETHODIMP put_CurrentPosition(REFTIME llTime) override;
    STDMETHODIMP get_CurrentPosition(REFTIME* pllTime) override;
    STDMETHODIMP get_StopTime(REFTIME* pllTime) override;
    STDMETHODIMP put_StopTime(REFTIME llTime) override;
    STDMETHODIMP get_PrerollTime(REFTIME* pllTime) override;
    STDMETHODIMP put_PrerollTime(REFTIME) override { return S_OK; }
    STDMETHODIMP put_Rate(double dRate) override { return SetRate(dRate); }
    STDMETHODIMP get_Rate(double* pdRate) override { return GetRate(pdRate); }
    STDMETHODIMP CanSeekForward(LONG* pCanSeekForward) override;
    STDMETHODIMP CanSeekBackward(LONG* pCanSeekBackward) override;

    // IMediaFilter
    STDMETHODIMP GetClassID(CLSID* pClassID) override;
    STDMETHODIMP Run(REFERENCE_TIME tStart) override;
    STDMETHODIMP GetState(DWORD dwMilliSecsTimeout, FILTER_STATE* State) override;
    STDMETHODIMP SetSyncSource(IReferenceClock* pClock) override;
    STDMETHODIMP GetSyncSource(IReferenceClock** pClock) override;

private:
    struct Entry {
        IBaseFilter* filter;
        std::u16string name;
    };
    struct Event {
        LONG code;
        LONG_PTR p1, p2;
    };

    bool Contains(IBaseFilter* f);
    // Filters ordered from the renderers upstream: states change in this order so that
    // nothing is delivered to a filter that is not yet ready for it.
    std::vector<IBaseFilter*> DownstreamFirst();
    HRESULT ChangeState(FILTER_STATE target, REFERENCE_TIME tStart);
    HRESULT RunLocked();
    HRESULT PauseLocked();
    HRESULT StopLocked();
    // The seeking interface of the first renderer that has one (referenced), or null.
    IMediaSeeking* SeekingTarget();
    HRESULT ViaAnotherFilter(IPin* out, IPin* in, int depth);
    HRESULT ConnectVia(IPin* out, IPin* in, int depth);
    HRESULT RenderVia(IPin* out, int depth);
    HRESULT TryIntermediate(IPin* out, IBaseFilter* f, IPin* in, int depth);
    HRESULT AddRegisteredFilter(const CLSID& clsid, const std::u16string& name, IBaseFilter** ppFilter);
    HRESULT ReadSeconds(HRESULT (STDMETHODCALLTYPE IMediaSeeking::*read)(LONGLONG*), REFTIME* out);
    HRESULT SeekSeconds(REFTIME seconds, bool stop);
    void QueueEvent(LONG code, LONG_PTR p1, LONG_PTR p2);
    // The completion event, set and reset under m_eventLock; a reset of an event known to
    // be reset costs no call to the Wine server (every seek makes one).
    void SetComplete();
    void ResetCompleteLocked();
    int CountRenderers();
    std::u16string UniqueName(LPCWSTR wanted, bool* renamed);

    CCritSec m_lock;       // filters, connections, state
    CCritSec m_eventLock;  // event queue
    std::vector<Entry> m_filters;
    LONG m_version;
    FILTER_STATE m_state;
    IReferenceClock* m_clock;
    bool m_clockChosen;    // set by SetSyncSource/SetDefaultSyncSource: keep it as it is
    REFERENCE_TIME m_tStart;      // clock time of stream time 0 while running
    REFERENCE_TIME m_pausedAt;    // stream time at which a run was paused
    GUID m_timeFormat;
    double m_rate;

    std::deque<Event> m_events;
    HANDLE m_hEvent;       // set while events are queued (the application may set it too)
    HWND m_notifyWindow;
    UINT m_notifyMessage;
    LONG_PTR m_notifyInstance;
    LONG m_notifyFlags;
    bool m_defaultComplete;  // EC_COMPLETE is counted over the renderers
    int m_renderersRunning;
    int m_completes;
    HANDLE m_completeEvent;  // set once the whole graph has completed
    bool m_completeSet;
};
