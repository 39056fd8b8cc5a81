#include "streams.h"

CAMEvent::CAMEvent(BOOL fManualReset, HRESULT* phr)
{
    m_hEvent = CreateEventA(nullptr, fManualReset, FALSE, nullptr);
    if (!m_hEvent && phr)
        *phr = E_OUTOFMEMORY;
}

CAMEvent::~CAMEvent()
{
    if (m_hEvent)
        CloseHandle(m_hEvent);
}

CLocalEvent::CLocalEvent(bool manualReset, bool signalled)
    : m_manual(manualReset), m_set(signalled), m_sets(0), m_waiters(0), m_granted(0)
{
}

void CLocalEvent::Set()
{
    std::lock_guard<std::mutex> l(m_mutex);
    if (m_manual) {
        m_set = true;
        ++m_sets;
        m_changed.notify_all();
    } else if (m_waiters > m_granted) {
        ++m_granted;
        m_changed.notify_one();
    } else {
        m_set = true;
    }
}

void CLocalEvent::Reset()
{
    std::lock_guard<std::mutex> l(m_mutex);
    m_set = false;
}

bool CLocalEvent::Wait(DWORD dwTimeout)
{
    std::unique_lock<std::mutex> l(m_mutex);
    if (m_set) {
        if (!m_manual)
            m_set = false;
        return true;
    }
    if (dwTimeout == 0)
        return false;
    auto waitFor = [&](auto released) {
        if (dwTimeout == INFINITE) {
            m_changed.wait(l, released);
            return true;
        }
        return m_changed.wait_for(l, std::chrono::milliseconds(dwTimeout), released);
    };
    if (m_manual) {
        const unsigned sets = m_sets;
        return waitFor([&] { return m_set || m_sets != sets; });
    }
    ++m_waiters;
    const bool released = waitFor([&] { return m_granted != 0; });
    --m_waiters;
    if (released)
        --m_granted;
    return released;
}

CAMThread::CAMThread() : m_hThread(nullptr), m_EventSend(TRUE), m_dwParam(0), m_dwReturnVal(0) {}

CAMThread::~CAMThread() { Close(); }

DWORD WINAPI CAMThread::InitialThreadProc(LPVOID pv)
{
    return static_cast<CAMThread*>(pv)->ThreadProc();
}

BOOL CAMThread::Create()
{
    CAutoLock lock(&m_AccessLock);
    if (m_hThread)
        return FALSE;
    DWORD id;
    m_hThread = CreateThread(nullptr, 0, InitialThreadProc, this, 0, &id);
    return m_hThread != nullptr;
}

DWORD CAMThread::CallWorker(DWORD dwParam)
{
    CAutoLock lock(&m_AccessLock);
    if (!m_hThread)
        return (DWORD)E_FAIL;
    m_dwParam = dwParam;
    m_EventSend.Set();
    m_EventComplete.Wait();
    return m_dwReturnVal;
}

void CAMThread::Close()
{
    HANDLE h = (HANDLE)InterlockedExchangePointer((PVOID*)&m_hThread, nullptr);
    if (h) {
        WaitForSingleObject(h, INFINITE);
        CloseHandle(h);
    }
}

BOOL CAMThread::CheckRequest(DWORD* pParam)
{
    if (!m_EventSend.Check())
        return FALSE;
    if (pParam)
        *pParam = m_dwParam;
    return TRUE;
}

DWORD CAMThread::GetRequest()
{
    m_EventSend.Wait();
    return m_dwParam;
}

void CAMThread::Reply(DWORD dw)
{
    m_dwReturnVal = dw;
    m_EventSend.Reset();
    m_EventComplete.Set();
}

LONGLONG WINAPI llMulDiv(LONGLONG a, LONGLONG b, LONGLONG c, LONGLONG d)
{
    if (c == 0)
        return a * b >= 0 ? INT64_MAX : INT64_MIN;
    __int128 p = (__int128)a * b + d;
    __int128 q = p / c;
    if (q > INT64_MAX)
        return INT64_MAX;
    if (q < INT64_MIN)
        return INT64_MIN;
    return (LONGLONG)q;
}

LONG WINAPI MulDivTrunc(LONG a, LONG b, LONG c)
{
    if (c == 0)
        return 0x7FFFFFFF;
    return (LONG)((LONGLONG)a * b / c);
}
