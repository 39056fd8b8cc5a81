// Base of every filter graph of the video control (capture, playback, transcoding,
// trimming): owns the graph manager and its control interfaces, adds filters by class or
// finds capture devices by name, finds and connects pins by name, runs, pauses, stops and
// positions the graph under one lock, reads the graph's events on a thread of its own and
// hands each to OnGraphEvent, and makes the renderer's window a child of the control.
// Failures are shown in a message box: the caller's text and the platform's error text.
#pragma once
#include <afxwin.h>
#include <afxmt.h>
#include "streams.h"

// The filters' own graph event: two plain integers.
#ifndef EC_FILTER_NOTIFY
#define EC_FILTER_NOTIFY 24
#endif

// Runs one piece of a worker or stream thread's work. A C++ exception escaping it ends
// that piece there: it is reported in a box with `message` and false is returned, so the
// thread goes on with its next piece or ends cleanly instead of taking the process down.
template <class Work> bool RunReportingExceptions(const char* message, Work&& work)
{
    try {
        work();
        return true;
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
    }
    AfxMessageBox(message, MB_OK);
    return false;
}

class CGraphManager
{
public:
    CGraphManager();

    // Virtual slots, in the order the derived graphs rely on.
    virtual BOOL OnGraphEvent(long code, LONG_PTR param1, LONG_PTR param2);
    virtual HRESULT ShowVideoWindow(BOOL show);
    virtual HRESULT Stop(bool report);
    virtual HRESULT Pause(bool report);
    virtual HRESULT Run(bool report);
    virtual HRESULT SeekToFrame(long frame);
    virtual HRESULT RunFrom(long stopFrame);
    virtual HRESULT BuildGraph() { return S_OK; }
    virtual HRESULT TearDown() { return S_OK; }
    virtual HRESULT ReleaseInterfaces();
    virtual ~CGraphManager();

    HRESULT CreateGraph(CGraphManager* partner);

    // Video input device at position `index` whose friendly name contains `name` (any
    // case; empty: any). `name` receives the friendly name read last.
    static IBaseFilter* CreateVideoDevice(int index, CString& name);
    static IBaseFilter* CreateAudioDevice(int index, CString& name);

    HRESULT AddFilterByCLSID(CLSID clsid, IBaseFilter** filter, const char* name);
    HRESULT AddFilter(IBaseFilter* filter, CString name);
    HRESULT RemoveFilter(IBaseFilter** filter);
    HRESULT RemoveDownstream(IBaseFilter* filter);
    static IPin* FindPin(IBaseFilter* filter, const char* pinName, PIN_DIRECTION direction);
    BOOL IsPinConnected(IBaseFilter* filter, const char* pinName, PIN_DIRECTION direction);
    HRESULT GetUpstreamFilter(IBaseFilter* filter, IBaseFilter** upstream);
    HRESULT GetFilterName(IBaseFilter* filter, CString& name);
    HRESULT ConnectPins(IBaseFilter* from, const char* outputPin, IBaseFilter* to,
                        const char* inputPin, AM_MEDIA_TYPE* type);
    HRESULT ConnectFilters(IBaseFilter* upstream, IBaseFilter* downstream, int width, int height);
    HRESULT DisconnectPins(IBaseFilter* filter, const char* pinName, PIN_DIRECTION direction);
    HRESULT InsertFilterBefore(IBaseFilter* filter, IPin* inputPin);
    HRESULT RemoveFromChain(IBaseFilter* filter);

    HRESULT GetDuration(long* frames);
    // Frames a multiplexer has written so far, from its position, at the graph's rate.
    long FramesWritten(IBaseFilter* mux);
    HRESULT GetCurrentFrame(long* frame);
    void SetState(int state) { m_nState = state; }
    int GetState() const { return m_nState; }
    void WaitForStateChange();
    HRESULT SetStopToEnd();

    HRESULT SetupVideoWindow(CWnd* owner);
    HRESULT HideVideoWindow();
    HRESULT SetVideoWindowPosition(long left, long top, long width, long height);
    HRESULT ShowPropertyPages(IBaseFilter* filter);
    HRESULT ShowRendererPages() { return ShowPropertyPages(m_pVideoRenderer); }
    HRESULT SetGraphClock(BOOL useDefault);

    static int GetOSVersionCode();
    bool IsDirectXAbove8() { return true; }

    // Hands the calling thread's messages on (a progress window's, and the message boxes a
    // worker shows over the caller's windows), after waiting at most `ms` for one to arrive
    // or for `handle` (may be null) to be signalled.
    static void PumpMessages(HANDLE handle, DWORD ms);

    // The caller's text and the error's text as "%s %s" in a message box.
    static void ReportError(HRESULT hr, const char* text);
    // ReportError, giving the HRESULT back, for the failure paths of the graphs' builders.
    static HRESULT Fail(HRESULT hr, const char* text)
    {
        ReportError(hr, text);
        return hr;
    }

    // Releases an interface the graph holds and clears the pointer.
    template <typename T>
    static void ReleaseAndClear(T*& p)
    {
        if (p) {
            p->Release();
            p = NULL;
        }
    }

    void SetNotifyWindow(CWnd* window) { m_pNotifyWnd = window; }
    IGraphBuilder* GetGraph() const { return m_pGraph; }
    IBaseFilter* GetVideoRenderer() const { return m_pVideoRenderer; }

    enum { StateNone = 0, StateStopped = 1, StatePaused = 2, StateRunning = 3, StatePositioned = 4 };

protected:
    void StartEventThread();
    void StopEventThread();
    static UINT EventThreadProc(LPVOID param);
    void EventLoop();
    // Posts WM_VIDEO_NOTIFY with the code to the notify window. Never sent: the window's
    // thread may be waiting for the thread that would send it.
    void Notify(WPARAM code);

    IGraphBuilder* m_pGraph;
    IMediaControl* m_pMediaControl;
    IMediaPosition* m_pMediaPosition;
    IMediaEvent* m_pMediaEvent;
    ICaptureGraphBuilder* m_pCaptureBuilder;
    IMediaSeeking* m_pMediaSeeking;
    IBaseFilter* m_pVideoRenderer;
    CWnd* m_pNotifyWnd;
    BOOL m_bBuilt;
    BOOL m_bPAL;
    int m_nFrameWidth, m_nFrameHeight;
    double m_dFrameRate;
    volatile int m_nState;
    BOOL m_bShared;
    CGraphManager* m_pPartner;
    CWinThread* m_pEventThread;
    volatile LONG m_bEventThreadRunning;
    HANDLE m_hEvent;
    CCriticalSection m_Lock;
};
