// The hand-over between two processes of the program in one prefix: a second instance
// raises the first (restored when minimised) and hands its clip file over, also when the
// first shows its window only later; the first queues the file and imports it. Both
// processes stay on the default desktop, where the second one looks for the first.
#include "gtest_wine.h"
#include <afxwin.h>
#include <stdlib.h>
#include <string>
#include <vector>
#include "AppConfig.h"
#include "BrenicApp.h"
#include "Globals.h"
#include "MainFrm.h"
#include "resource.h"

namespace {
// The instance name of these tests (the program uses its own file name, lower case).
const char kName[] = "brenic_handover_test";
const char kModeVariable[] = "QUORVEL_HANDOVER_FILE";

class TestApp : public CBrenicApp
{
public:
    int DoMessageBox(LPCTSTR prompt, UINT, UINT) override
    {
        m_boxes.push_back(prompt);
        return IDOK;
    }
    bool Saw(const std::string& part) const
    {
        for (const std::string& b : m_boxes)
            if (b.find(part) != std::string::npos)
                return true;
        return false;
    }
    std::vector<std::string> m_boxes;
};
TestApp theApp;

void Pump(DWORD ms)
{
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    } while (GetTickCount() - start < ms);
}

// The second instance's process, and the file where its test program marks that its main
// function ran (as the test launcher's mark).
HANDLE g_second = NULL;
std::string g_secondMark;

// Starts this test program as the second instance; `file` empty for one without a clip.
bool StartSecond(const char* file)
{
    SetEnvironmentVariableA(kModeVariable, *file ? file : "-");
    const char* mark = getenv("QUORVEL_TEST_STARTED");
    const std::string ownMark = mark ? mark : "";
    if (mark) {
        g_secondMark = ownMark + ".second";
        remove(g_secondMark.c_str());
        SetEnvironmentVariableA("QUORVEL_TEST_STARTED", g_secondMark.c_str());
    }
    char self[MAX_PATH] = "";
    GetModuleFileNameA(NULL, self, sizeof self);
    std::string command = std::string("\"") + self + "\" --gtest_filter=SecondInstance.*";
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION info = {};
    const BOOL ok =
        CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info);
    SetEnvironmentVariableA(kModeVariable, NULL);
    if (mark)
        SetEnvironmentVariableA("QUORVEL_TEST_STARTED", ownMark.c_str());
    EXPECT_TRUE(ok) << command;
    if (ok) {
        if (g_second)
            CloseHandle(g_second);
        g_second = info.hProcess;
        CloseHandle(info.hThread);
    }
    return ok;
}

// The second instance ended without reaching its main function: Wine could not start it
// (it sometimes fails to map its shared data), which says nothing of the hand-over.
bool SecondNeverRan()
{
    if (!g_second || g_secondMark.empty() || WaitForSingleObject(g_second, 0) != WAIT_OBJECT_0)
        return false;
    FILE* f = fopen(g_secondMark.c_str(), "r");
    if (f)
        fclose(f);
    return f == NULL;
}

// Serves this process's windows until the condition holds (at most 20 s); its last answer.
template <class Condition>
bool ServeUntil(Condition done)
{
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < 20000)
        Pump(20);
    return done();
}

// As ServeUntil, for what the second instance brings about: a second instance that Wine
// could not start is started again (twice at most).
template <class Condition>
bool ServeSecondUntil(const char* file, Condition done)
{
    for (int restarts = 0;; ++restarts) {
        ServeUntil([&] { return done() || SecondNeverRan(); });
        if (done() || !SecondNeverRan() || restarts == 2)
            return done();
        DWORD code = 0;
        GetExitCodeProcess(g_second, &code);
        printf("the second instance ended with status %#lx before its main function ran: "
               "started again\n", (unsigned long)code);
        if (!StartSecond(file))
            return false;
    }
}
} // namespace

// The second instance's part: runs only in the process that StartSecond made.
TEST(SecondInstance, FindsAndHandsOver)
{
    const char* file = getenv(kModeVariable);
    if (!file)
        GTEST_SKIP() << "run by the first instance only";
    theApp.m_pszExeName = kName;
    theApp.m_nFindAttempts = 300;
    BOOL ok = theApp.FindPreviousInstance();
    if (strcmp(file, "-") != 0)
        ok = theApp.HandOverFile(file);
    fflush(stdout);
    ExitProcess(ok ? 0 : 3);
}

TEST(FirstInstance, IsRaisedAndTakesTheFile)
{
    if (getenv(kModeVariable))
        GTEST_SKIP();
    static char cmdLine[] = "";
    AfxWinInit(::GetModuleHandleA(NULL), NULL, cmdLine, SW_SHOWNORMAL);
    g_pAppConfig = new CAppConfig;
    CMainFrame* frame = new CMainFrame;
    ASSERT_TRUE(frame->LoadFrame(IDR_BRENICTYPE, WS_OVERLAPPEDWINDOW));
    theApp.m_pMainWnd = frame;
    HANDLE mutex = CreateMutexA(NULL, TRUE, kName);

    // Without a clip: the minimised first instance is restored.
    frame->ShowWindow(SW_SHOWMINIMIZED);
    ::SetPropA(frame->GetSafeHwnd(), kName, (HANDLE)1);
    ASSERT_TRUE(frame->IsIconic());
    ASSERT_TRUE(StartSecond(""));
    EXPECT_TRUE(ServeSecondUntil("", [&] { return !frame->IsIconic(); }));
    EXPECT_EQ(0, frame->GetImportQueueCount());

    // With a clip while the first one still starts: its window is marked only later.
    ::RemovePropA(frame->GetSafeHwnd(), kName);
    ASSERT_TRUE(StartSecond("C:\\clips\\CLIP.KPX"));
    Pump(500);
    EXPECT_EQ(0, frame->GetImportQueueCount());
    ::SetPropA(frame->GetSafeHwnd(), kName, (HANDLE)1);
    ASSERT_TRUE(
        ServeSecondUntil("C:\\clips\\CLIP.KPX", [&] { return frame->GetImportQueueCount() == 1; }));
    EXPECT_STREQ("C:\\clips\\CLIP.KPX", frame->GetQueuedImport(0));
    // The tick imports it (here the file is missing, which the importer reports).
    frame->SendMessage(WM_TIMER, 2);
    EXPECT_EQ(0, frame->GetImportQueueCount());
    EXPECT_TRUE(theApp.Saw("Could not open .kpx file"));

    frame->DestroyWindow();
    theApp.m_pMainWnd = NULL;
    CloseHandle(mutex);
    if (!g_secondMark.empty())
        remove(g_secondMark.c_str());
    delete g_pAppConfig;
    g_pAppConfig = NULL;
}
