// Locks and events of the base classes.
#pragma once
#include <windows.h>
#include <condition_variable>
#include <mutex>

class CCritSec {
public:
    CCritSec() { InitializeCriticalSection(&m_cs); }
    ~CCritSec() { DeleteCriticalSection(&m_cs); }
    void Lock() { EnterCriticalSection(&m_cs); }
    void Unlock() { LeaveCriticalSection(&m_cs); }
    CCritSec(const CCritSec&) = delete;
    CCritSec& operator=(const CCritSec&) = delete;

private:
    CRITICAL_SECTION m_cs;
};

// Holds a lock for the life of a scope.
class CAutoLock {
public:
    explicit CAutoLock(CCritSec* lock) : m_pLock(lock) { m_pLock->Lock(); }
    ~CAutoLock() { m_pLock->Unlock(); }
    CAutoLock(const CAutoLock&) = delete;
    CAutoLock& operator=(const CAutoLock&) = delete;

protected:
    CCritSec* m_pLock;
};

// Win32 event owned by the object (auto-reset unless asked otherwise).
class CAMEvent {
public:
    explicit CAMEvent(BOOL fManualReset = FALSE, HRESULT* phr = nullptr);
    ~CAMEvent();
    operator HANDLE() const { return m_hEvent; }
    void Set() { SetEvent(m_hEvent); }
    BOOL Wait(DWORD dwTimeout = INFINITE) { return WaitForSingleObject(m_hEvent, dwTimeout) == WAIT_OBJECT_0; }
    void Reset() { ResetEvent(m_hEvent); }
    BOOL Check() { return Wait(0); }
    CAMEvent(const CAMEvent&) = delete;
    CAMEvent& operator=(const CAMEvent&) = delete;

protected:
    HANDLE m_hEvent;
};

// An event that only threads of this process wait on, for hand-offs between a filter's
// own threads. It has no handle: setting, resetting and waiting cost no call to the Wine
// server (each of which is a round trip to another process), so it cannot be given to a
// Win32 wait, a timer or a caller; use CAMEvent there. Same rules as a Win32 event: a
// manual-reset one releases every thread waiting when it is set, even if it is reset at
// once; an auto-reset one releases one waiting thread, or stays set until a wait takes it.
class CLocalEvent {
public:
    explicit CLocalEvent(bool manualReset = false, bool signalled = false);
    void Set();
    void Reset();
    // True when the event was set before the timeout (milliseconds, or INFINITE).
    bool Wait(DWORD dwTimeout = INFINITE);
    bool Check() { return Wait(0); }
    CLocalEvent(const CLocalEvent&) = delete;
    CLocalEvent& operator=(const CLocalEvent&) = delete;

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    const bool m_manual;
    bool m_set;
    unsigned m_sets;    // manual-reset: sets so far, so that a set reaches every thread then waiting
    unsigned m_waiters; // auto-reset: threads waiting
    unsigned m_granted; // auto-reset: sets handed to waiting threads and not yet taken
};

// A worker thread that takes requests one at a time (CallWorker/GetRequest/Reply).
class CAMThread {
public:
    CAMThread();
    virtual ~CAMThread();
    BOOL Create();
    DWORD CallWorker(DWORD dwParam);
    void Close();
    BOOL ThreadExists() const { return m_hThread != nullptr; }
    BOOL CheckRequest(DWORD* pParam);
    DWORD GetRequest();
    void Reply(DWORD dw);
    HANDLE GetRequestHandle() const { return m_EventSend; }
    DWORD GetRequestParam() const { return m_dwParam; }
    virtual DWORD ThreadProc() = 0;
    CCritSec m_AccessLock;
    CCritSec m_WorkerLock;

protected:
    static DWORD WINAPI InitialThreadProc(LPVOID pv);
    HANDLE m_hThread;
    CAMEvent m_EventSend;
    CAMEvent m_EventComplete;
    DWORD m_dwParam;
    DWORD m_dwReturnVal;
};

// Integer scaling without overflow: a * b / c rounded to nearest, and a * b / c truncated.
LONGLONG WINAPI llMulDiv(LONGLONG a, LONGLONG b, LONGLONG c, LONGLONG d);
LONG WINAPI MulDivTrunc(LONG a, LONG b, LONG c);
