// What the options windows' tests share: an application that records message boxes, the
// settings store, and steps played from a timer while a modal window runs.
#pragma once
#include "gtest_wine.h"
#include <afxwin.h>
#include <afxdlgs.h>
#include <deque>
#include <functional>
#include <string>
#include <vector>
#include "AppConfig.h"
#include "Globals.h"

class COptionsTestApp : public CWinApp
{
public:
    COptionsTestApp() : CWinApp("Quorvel Redovove") {}
    int DoMessageBox(LPCTSTR prompt, UINT type, UINT) override
    {
        m_boxes.push_back(prompt);
        m_types.push_back(type);
        return IDOK;
    }
    std::vector<std::string> m_boxes;
    std::vector<UINT> m_types;
};

// Steps played one by one from a thread timer while a modal loop runs. A step waits until
// a dialog of this thread is on screen (a loaded machine may tick before it is shown).
class Script
{
public:
    explicit Script(std::initializer_list<std::function<void()>> steps) : m_steps(steps)
    {
        s_current = this;
        m_timer = ::SetTimer(NULL, 0, 15, Tick);
    }
    ~Script()
    {
        ::KillTimer(NULL, m_timer);
        s_current = nullptr;
    }
    bool Done() const { return m_steps.empty(); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        Script* s = s_current;
        if (!s || s->m_steps.empty() || s->m_busy)
            return;
        bool shown = false;
        EnumThreadWindows(GetCurrentThreadId(), FindShownDialog, (LPARAM)&shown);
        if (!shown)
            return;
        auto step = s->m_steps.front();
        s->m_steps.pop_front();
        s->m_busy = true; // a step that runs a modal loop of its own is not re-entered
        step();
        s->m_busy = false;
    }
    static BOOL CALLBACK FindShownDialog(HWND wnd, LPARAM shown)
    {
        char cls[16] = "";
        GetClassNameA(wnd, cls, sizeof cls);
        if (IsWindowVisible(wnd) && !lstrcmpA(cls, "#32770"))
            *(bool*)shown = true;
        return !*(bool*)shown;
    }
    std::deque<std::function<void()>> m_steps;
    UINT_PTR m_timer;
    bool m_busy = false;
    static inline Script* s_current = nullptr;
};

// A trackbar moved by the user: its new position, then the scroll message to its parent.
inline void MoveSlider(CWnd* page, int id, int position)
{
    HWND slider = ::GetDlgItem(page->GetSafeHwnd(), id);
    ::SendMessageA(slider, TBM_SETPOS, TRUE, position);
    page->SendMessage(WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), (LPARAM)slider);
}

inline void Click(CWnd* page, int id)
{
    HWND button = ::GetDlgItem(page->GetSafeHwnd(), id);
    ::SendMessageA(button, BM_CLICK, 0, 0);
}

inline std::string ItemText(CWnd* page, int id)
{
    char text[256] = "";
    ::GetDlgItemTextA(page->GetSafeHwnd(), id, text, sizeof text);
    return text;
}

inline void SelectCombo(CWnd* page, int id, int index)
{
    HWND combo = ::GetDlgItem(page->GetSafeHwnd(), id);
    ::SendMessageA(combo, CB_SETCURSEL, index, 0);
    page->SendMessage(WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), (LPARAM)combo);
}

// A settings store of the test's own for each test.
class OptionsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        g_pAppConfig = new CAppConfig;
        char temp[MAX_PATH] = "";
        GetTempPathA(sizeof temp, temp);
        g_pAppConfig->SetInstallDir(temp);
        g_pAppConfig->SetCaptureDirectory(temp);
    }
    void TearDown() override
    {
        delete g_pAppConfig;
        g_pAppConfig = nullptr;
    }
};
