// The main window's Options, Disk Capacity and Video Help commands and the panel's Options
// button open their windows.
#include "../browser/options_test_support.h"
#include "MainFrm.h"
#include "PanelActions.h"
#include "resource.h"

namespace {

COptionsTestApp theApp;

struct Shown
{
    std::string caption;
    int tabs = -1;
};

BOOL CALLBACK FindShown(HWND wnd, LPARAM param)
{
    char cls[64] = "";
    GetClassNameA(wnd, cls, sizeof cls);
    if (IsWindowVisible(wnd) && !lstrcmpA(cls, "#32770")) {
        Shown* shown = (Shown*)param;
        char caption[128] = "";
        GetWindowTextA(wnd, caption, sizeof caption);
        shown->caption = caption;
        if (HWND tabs = FindWindowExA(wnd, NULL, "SysTabControl32", NULL))
            shown->tabs = (int)SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0);
        PostMessageA(wnd, WM_COMMAND, IDCANCEL, 0);
        return FALSE;
    }
    return TRUE;
}

class OptionsCommands : public OptionsTest
{
protected:
    void SetUp() override
    {
        OptionsTest::SetUp();
        static char cmdLine[] = "";
        AfxWinInit(::GetModuleHandleA(NULL), NULL, cmdLine, SW_SHOWNORMAL);
        m_frame = new CMainFrame;
        ASSERT_TRUE(m_frame->LoadFrame(IDR_BRENICTYPE, WS_OVERLAPPEDWINDOW));
        theApp.m_pMainWnd = m_frame;
    }
    void TearDown() override
    {
        if (m_frame && ::IsWindow(m_frame->m_hWnd))
            m_frame->DestroyWindow();
        theApp.m_pMainWnd = NULL;
        OptionsTest::TearDown();
    }
    // What the action shows first, closed again with Cancel.
    Shown Run(const std::function<void()>& action)
    {
        Shown shown;
        Script script({[&] { EnumThreadWindows(GetCurrentThreadId(), FindShown, (LPARAM)&shown); }});
        action();
        return shown;
    }
    CMainFrame* m_frame = nullptr;
};

} // namespace

TEST_F(OptionsCommands, EachCommandOpensItsWindow)
{
    struct Case { UINT command; const char* caption; int tabs; };
    const Case cases[] = {
        {ID_TOOLS_OPTIONS, "Options", 3},
        {ID_TOOLS_DISKCAPACITY, "Disk Capacity", -1},
        {ID_HELP_VIDEOHELP, "Launch Help", -1},
    };
    for (const Case& c : cases) {
        const Shown shown = Run([&] { m_frame->SendMessage(WM_COMMAND, c.command); });
        EXPECT_EQ(c.caption, shown.caption) << c.command;
        EXPECT_EQ(c.tabs, shown.tabs) << c.command;
    }
    const Shown panel = Run([] { panel::RunOptionsSheet(); });
    EXPECT_EQ("Options", panel.caption);
    EXPECT_EQ(3, panel.tabs);
}
