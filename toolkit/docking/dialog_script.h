// Test helper: answers the dialogs a test opens. A thread timer looks for the thread's
// visible dialogs and runs the script once on each new one; any dialog still open after the
// watchdog's time is cancelled, so a dialog that does not react fails a test instead of
// hanging it.
#pragma once
#include "gtest_wine.h"
#include <functional>

class DialogScript {
public:
    explicit DialogScript(std::function<void(HWND)> script, UINT nWatchdogMs = 10000)
        : m_script(std::move(script)), m_nRuns(0), m_nTicks(0), m_nLimit(nWatchdogMs / 20)
    {
        Current() = this;
        m_timer = ::SetTimer(NULL, 0, 20, Tick);
    }
    ~DialogScript()
    {
        ::KillTimer(NULL, m_timer);
        Current() = nullptr;
    }
    int Runs() const { return m_nRuns; }

private:
    std::function<void(HWND)> m_script;
    int m_nRuns;
    UINT m_nTicks, m_nLimit;
    UINT_PTR m_timer;

    static DialogScript*& Current()
    {
        static DialogScript* current = nullptr;
        return current;
    }
    static BOOL CALLBACK Visit(HWND hWnd, LPARAM)
    {
        DialogScript* self = Current();
        char cls[16] = "";
        ::GetClassNameA(hWnd, cls, sizeof cls);
        if (self == nullptr || lstrcmpA(cls, "#32770") != 0 || !::IsWindowVisible(hWnd))
            return TRUE;
        if (self->m_nTicks > self->m_nLimit) {
            ::PostMessageA(hWnd, WM_COMMAND, IDCANCEL, 0);
        } else if (::GetPropA(hWnd, "scripted") == NULL) {
            ::SetPropA(hWnd, "scripted", (HANDLE)1);
            self->m_nRuns++;
            self->m_script(hWnd);
        }
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        if (Current() != nullptr)
            Current()->m_nTicks++;
        ::EnumThreadWindows(::GetCurrentThreadId(), Visit, 0);
    }
};
