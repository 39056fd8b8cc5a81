#include "sysclock.h"
#include "classes.h"
#include <new>

DSHOW_SERVED_CLASS(L"System Clock", &CLSID_SystemClock, CreateServed<CSystemClock>);

CSystemClock::CSystemClock(LPUNKNOWN pUnk, HRESULT*)
    : CUnknown(NAME("System clock"), pUnk), m_queue(CreateTimerQueue()), m_nextCookie(1)
{
    QueryPerformanceFrequency(&m_frequency);
}

CSystemClock::~CSystemClock()
{
    // Waits for running callbacks, so no advise outlives the clock.
    if (m_queue)
        DeleteTimerQueueEx(m_queue, INVALID_HANDLE_VALUE);
    for (auto& a : m_advises)
        delete a.second;
}


STDMETHODIMP CSystemClock::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IReferenceClock))
        return GetInterface(static_cast<IReferenceClock*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CSystemClock::GetTime(REFERENCE_TIME* pTime)
{
    if (!pTime)
        return E_POINTER;
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    *pTime = llMulDiv(now.QuadPart, UNITS, m_frequency.QuadPart, 0);
    return S_OK;
}

void CALLBACK CSystemClock::Fire(PVOID param, BOOLEAN)
{
    Advise* a = static_cast<Advise*>(param);
    if (a->periodic)
        ReleaseSemaphore(a->handle, 1, nullptr);
    else
        SetEvent(a->handle);
}

static DWORD ToMilliseconds(REFERENCE_TIME t)
{
    if (t <= 0)
        return 0;
    REFERENCE_TIME ms = (t + 9999) / 10000;
    return ms > 0x7FFFFFFF ? 0x7FFFFFFF : DWORD(ms);
}

STDMETHODIMP CSystemClock::AdviseTime(REFERENCE_TIME baseTime, REFERENCE_TIME streamTime, HEVENT hEvent,
                                      DWORD_PTR* pdwAdviseCookie)
{
    if (!pdwAdviseCookie)
        return E_POINTER;
    if (!hEvent || baseTime + streamTime < 0)
        return E_INVALIDARG;
    REFERENCE_TIME now;
    GetTime(&now);
    CAutoLock l(&m_lock);
    Advise* a = new (std::nothrow) Advise{nullptr, (HANDLE)hEvent, false};
    if (!a)
        return E_OUTOFMEMORY;
    if (!CreateTimerQueueTimer(&a->timer, m_queue, Fire, a, ToMilliseconds(baseTime + streamTime - now), 0,
                               WT_EXECUTEINTIMERTHREAD | WT_EXECUTEONLYONCE)) {
        delete a;
        return E_OUTOFMEMORY;
    }
    *pdwAdviseCookie = m_nextCookie++;
    m_advises[*pdwAdviseCookie] = a;
    return S_OK;
}

STDMETHODIMP CSystemClock::AdvisePeriodic(REFERENCE_TIME startTime, REFERENCE_TIME periodTime, HSEMAPHORE hSemaphore,
                                          DWORD_PTR* pdwAdviseCookie)
{
    if (!pdwAdviseCookie)
        return E_POINTER;
    if (!hSemaphore || periodTime <= 0 || startTime < 0)
        return E_INVALIDARG;
    REFERENCE_TIME now;
    GetTime(&now);
    CAutoLock l(&m_lock);
    Advise* a = new (std::nothrow) Advise{nullptr, (HANDLE)hSemaphore, true};
    if (!a)
        return E_OUTOFMEMORY;
    DWORD period = ToMilliseconds(periodTime);
    if (!CreateTimerQueueTimer(&a->timer, m_queue, Fire, a, ToMilliseconds(startTime - now), period ? period : 1,
                               WT_EXECUTEINTIMERTHREAD)) {
        delete a;
        return E_OUTOFMEMORY;
    }
    *pdwAdviseCookie = m_nextCookie++;
    m_advises[*pdwAdviseCookie] = a;
    return S_OK;
}

STDMETHODIMP CSystemClock::Unadvise(DWORD_PTR cookie)
{
    Advise* a;
    {
        CAutoLock l(&m_lock);
        auto it = m_advises.find(cookie);
        if (it == m_advises.end())
            return S_FALSE;
        a = it->second;
        m_advises.erase(it);
    }
    DeleteTimerQueueTimer(m_queue, a->timer, INVALID_HANDLE_VALUE);
    delete a;
    return S_OK;
}
