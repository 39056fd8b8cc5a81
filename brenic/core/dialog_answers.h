// Test helper: answers the modal dialogs and message boxes that the code under test shows,
// in order, and records their texts. It hooks window activation on the calling thread and
// clicks the queued button of each dialog as it comes up.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include "gtest_wine.h"
#include <stdio.h>
#include <deque>
#include <set>
#include <string>
#include <vector>

// The windows of these tests live on a desktop of the program's own.
inline const bool g_testsOnOwnDesktop = RunOnOwnDesktop("QuorvelCoreTests");

class DialogAnswers
{
public:
    DialogAnswers()
        : m_hook(SetWindowsHookExA(WH_CBT, Hook, NULL, GetCurrentThreadId())),
          m_shows(SetWindowsHookExA(WH_CALLWNDPROC, ShowHook, NULL, GetCurrentThreadId()))
    {
        s_current = this;
    }
    ~DialogAnswers()
    {
        UnhookWindowsHookEx(m_hook);
        UnhookWindowsHookEx(m_shows);
        s_current = nullptr;
    }

    // The button each next dialog is answered with (WM_COMMAND id; IDCANCEL for Escape).
    // Without a queued answer a dialog gets IDOK.
    void Queue(int button) { m_answers.push_back(button); }
    // The texts (caption, then every static text) of the dialogs shown so far.
    const std::vector<std::string>& Shown() const { return m_shown; }
    bool Saw(const std::string& part) const
    {
        for (const std::string& s : m_shown)
            if (s.find(part) != std::string::npos)
                return true;
        return false;
    }
    size_t Count() const { return m_shown.size(); }
    void Clear() { m_shown.clear(); }

private:
    static BOOL CALLBACK CollectText(HWND child, LPARAM param)
    {
        char text[1024] = "";
        GetWindowTextA(child, text, sizeof text);
        char cls[64] = "";
        GetClassNameA(child, cls, sizeof cls);
        if (!lstrcmpiA(cls, "Static") && text[0]) {
            std::string* all = (std::string*)param;
            *all += "|";
            *all += text;
        }
        return TRUE;
    }

    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        // Test programs share one desktop: a window of another program being activated
        // reaches this hook too, and is not this test's to answer.
        if (code == HCBT_ACTIVATE && s_current &&
            GetWindowThreadProcessId((HWND)wParam, NULL) == GetCurrentThreadId())
            s_current->Answer((HWND)wParam);
        return CallNextHookEx(NULL, code, wParam, lParam);
    }

    void Answer(HWND wnd)
    {
        char cls[64] = "";
        GetClassNameA(wnd, cls, sizeof cls);
        if (lstrcmpA(cls, "#32770") || !(GetWindowLongA(wnd, GWL_STYLE) & WS_POPUP) ||
            IsProgressWindow(wnd) || Answered(wnd))
            return;
        m_answered.push_back(wnd);
        char caption[256] = "";
        GetWindowTextA(wnd, caption, sizeof caption);
        std::string all = caption;
        EnumChildWindows(wnd, CollectText, (LPARAM)&all);
        m_shown.push_back(all);
        int answer = IDOK;
        if (!m_answers.empty()) {
            answer = m_answers.front();
            m_answers.pop_front();
        }
        // A property sheet (it has tabs) is answered by pressing its button, as a click
        // would, so that it ends with that button's result.
        if (FindWindowExA(wnd, NULL, "SysTabControl32", NULL) && (answer == IDOK || answer == IDCANCEL))
            PostMessageA(wnd, PSM_PRESSBUTTON, answer == IDOK ? PSBTN_OK : PSBTN_CANCEL, 0);
        else
            PostMessageA(wnd, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
    }

    // A dialog that is hidden (and kept) is answered again when it is shown again, whether
    // or not it is activated anew. Only a hide forgets the answer: a dialog activated (and
    // answered) before it is first shown, as a sheet made hidden and shown by its loop on
    // idle, keeps it, else its next activation (after a message box over it closes) would
    // answer it a second time and end it with OK.
    static LRESULT CALLBACK ShowHook(int code, WPARAM wParam, LPARAM lParam)
    {
        const CWPSTRUCT* call = (const CWPSTRUCT*)lParam;
        if (code == HC_ACTION && s_current && call->message == WM_SHOWWINDOW) {
            std::vector<HWND>& answered = s_current->m_answered;
            if (call->wParam) {
                if (s_current->m_hidden.erase(call->hwnd))
                    s_current->Answer(call->hwnd);
            } else {
                for (size_t i = 0; i < answered.size(); ++i)
                    if (answered[i] == call->hwnd) {
                        answered.erase(answered.begin() + i--);
                        s_current->m_hidden.insert(call->hwnd);
                    }
            }
        }
        return CallNextHookEx(NULL, code, wParam, lParam);
    }

    // Modeless progress windows are left alone: they carry a progress bar.
    bool IsProgressWindow(HWND wnd) const
    {
        return FindWindowExA(wnd, NULL, "msctls_progress32", NULL) != NULL;
    }

    bool Answered(HWND wnd) const
    {
        for (HWND w : m_answered)
            if (w == wnd && IsWindow(w))
                return true;
        return false;
    }

    HHOOK m_hook;
    HHOOK m_shows;
    std::vector<HWND> m_answered;
    std::set<HWND> m_hidden;
    std::deque<int> m_answers;
    std::vector<std::string> m_shown;
    static inline DialogAnswers* s_current = nullptr;
};
