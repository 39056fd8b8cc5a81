// The system reference clock: 100-ns time from the performance counter, with one-shot and
// periodic advises on timer-queue timers.
#pragma once
#include "streams.h"
#include <map>

class CSystemClock : public CUnknown, public IReferenceClock {
public:
    CSystemClock(LPUNKNOWN pUnk, HRESULT* phr);
    ~CSystemClock() override;

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    STDMETHODIMP GetTime(REFERENCE_TIME* pTime) override;
    STDMETHODIMP AdviseTime(REFERENCE_TIME baseTime, REFERENCE_TIME streamTime, HEVENT hEvent,
                            DWORD_PTR* pdwAdviseCookie) override;
    STDMETHODIMP AdvisePeriodic(REFERENCE_TIME startTime, REFERENCE_TIME periodTime, HSEMAPHORE hSemaphore,
                                DWORD_PTR* pdwAdviseCookie) override;
    STDMETHODIMP Unadvise(DWORD_PTR dwAdviseCookie) override;

private:
    struct Advise {
        HANDLE timer;
        HANDLE handle;
        bool periodic;
    };
    static void CALLBACK Fire(PVOID param, BOOLEAN);
    CCritSec m_lock;
    HANDLE m_queue;
    std::map<DWORD_PTR, Advise*> m_advises;
    DWORD_PTR m_nextCookie;
    LARGE_INTEGER m_frequency;
};
