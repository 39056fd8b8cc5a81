// Test helpers for dialogs run headless: answers the message boxes a test provokes and
// records their texts.
#pragma once

#include "gtest_wine.h"
#include <string>
#include <vector>

class MessageBoxCatcher
{
public:
    MessageBoxCatcher() : m_timer(::SetTimer(NULL, 0, 10, Tick)) { Texts().clear(); }
    ~MessageBoxCatcher() { ::KillTimer(NULL, m_timer); }

    // Texts of the message boxes closed so far, oldest first.
    static std::vector<std::string>& Texts()
    {
        static std::vector<std::string> texts;
        return texts;
    }

private:
    UINT_PTR m_timer;

    static BOOL CALLBACK Visit(HWND hWnd, LPARAM)
    {
        char cls[16] = "";
        ::GetClassNameA(hWnd, cls, sizeof(cls));
        // A message box is a dialog whose text is the static control 0xFFFF.
        HWND hText = ::GetDlgItem(hWnd, 0xFFFF);
        if (lstrcmpA(cls, "#32770") == 0 && hText != NULL && ::IsWindowVisible(hWnd) &&
            ::GetPropA(hWnd, "caught") == NULL) {
            char text[512] = "";
            ::GetWindowTextA(hText, text, sizeof(text));
            Texts().push_back(text);
            ::SetPropA(hWnd, "caught", (HANDLE)1);
            ::EndDialog(hWnd, IDOK);
        }
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        ::EnumThreadWindows(::GetCurrentThreadId(), Visit, 0);
    }
};

// Cancels every dialog of the thread after a while, so a test whose dialog does not react
// fails instead of hanging until the test's time-out.
class DialogWatchdog
{
public:
    explicit DialogWatchdog(UINT nMilliseconds = 10000)
        : m_timer(::SetTimer(NULL, 0, nMilliseconds, Fire))
    {
    }
    ~DialogWatchdog() { ::KillTimer(NULL, m_timer); }

private:
    UINT_PTR m_timer;
    static BOOL CALLBACK Cancel(HWND hWnd, LPARAM)
    {
        ::PostMessageA(hWnd, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    }
    static void CALLBACK Fire(HWND, UINT, UINT_PTR, DWORD)
    {
        ADD_FAILURE() << "a dialog did not end by itself";
        ::EnumThreadWindows(::GetCurrentThreadId(), Cancel, 0);
    }
};

// Records the last window of this thread that was given the focus. Test programs run side
// by side on one desktop, so another program may take the activation (and with it what
// GetFocus answers) at any moment; where the focus was sent is what a test can rely on.
class FocusRecorder
{
public:
    FocusRecorder() : m_hook(::SetWindowsHookExA(WH_CALLWNDPROC, Hook, NULL, ::GetCurrentThreadId()))
    {
        Last() = NULL;
    }
    ~FocusRecorder() { ::UnhookWindowsHookEx(m_hook); }
    static HWND& Last()
    {
        static HWND hWnd;
        return hWnd;
    }

private:
    HHOOK m_hook;
    static LRESULT CALLBACK Hook(int nCode, WPARAM wParam, LPARAM lParam)
    {
        const CWPSTRUCT* p = (const CWPSTRUCT*)lParam;
        if (nCode == HC_ACTION && p->message == WM_SETFOCUS)
            Last() = p->hwnd;
        return ::CallNextHookEx(NULL, nCode, wParam, lParam);
    }
};
