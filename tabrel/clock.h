// Where the slider's buttons and the control start and stop their window timers. Tests put
// a clock of their own in its place to fire the timers without waiting for them.
#pragma once
#include <windows.h>

class CTabrelClock {
public:
    virtual ~CTabrelClock() {}
    virtual void SetTimer(HWND hWnd, UINT_PTR nId, UINT nElapse) { ::SetTimer(hWnd, nId, nElapse, NULL); }
    virtual void KillTimer(HWND hWnd, UINT_PTR nId) { ::KillTimer(hWnd, nId); }

    // The clock in use (the system's timers unless one was installed); Install(NULL) puts
    // the system's back.
    static CTabrelClock* Get();
    static void Install(CTabrelClock* pClock);
};
