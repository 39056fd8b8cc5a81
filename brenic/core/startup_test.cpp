// Start-up: the component version check over modules built with product versions 1, 2 and
// none; the single-instance search and hand-over between two processes; the first-start
// database.
#include "gtest_wine.h"
#include <afxdao.h>
#include <afxwin.h>
#include <set>
#include <string>
#include "BrenicApp.h"
#include "DatabaseMgr.h"

CBrenicApp theApp;

namespace {

const char kAtom[] = "QuorvelVersionFixtureLoaded";

std::string TempFolder(const char* tag)
{
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    std::string folder = std::string(base) + tag + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder.c_str(), NULL);
    return folder;
}

void ClearFolder(const std::string& folder)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do
            DeleteFileA((folder + data.cFileName).c_str());
        while (FindNextFileA(find, &data));
        FindClose(find);
    }
}

// Puts a fixture module into the folder under a component's name.
void Install(const std::string& folder, const char* component, const char* fixture)
{
    const std::string source =
        WinePath(TestBinDir() + "/../tests/fixtures/version_fixture_" + fixture + ".dll.so");
    ASSERT_TRUE(CopyFileA(source.c_str(), (folder + component + ".so").c_str(), FALSE))
        << source;
}

void ClearAtom()
{
    while (ATOM atom = GlobalFindAtomA(kAtom))
        GlobalDeleteAtom(atom);
}

} // namespace

TEST(ComponentVersions, ModulesOfEachVersion)
{
    const std::string folder = TempFolder("qvver");
    struct Case {
        const char* what;
        std::vector<std::pair<const char*, const char*>> modules;
        BOOL expected;
    } cases[] = {
        {"none installed", {}, TRUE},
        {"all of version 1", {{"sonderic.dll", "1"}, {"deinterlacer.dll", "1"},
                              {"pondrel.dll", "1"}, {"clavio.ocx", "1"}, {"tabrel.ocx", "1"}},
         TRUE},
        {"slider of version 2", {{"tabrel.ocx", "2"}}, FALSE},
        {"a module without a version block", {{"clavio.ocx", "none"}}, FALSE},
    };
    for (const Case& c : cases) {
        ClearFolder(folder);
        for (const auto& m : c.modules)
            Install(folder, m.first, m.second);
        EXPECT_EQ(c.expected, theApp.CheckComponentVersions(folder.c_str())) << c.what;
        // The table is filled on every call, whatever the outcome.
        EXPECT_EQ(CString((folder + "tabrel.ocx").c_str()), theApp.m_components[4].path);
        EXPECT_EQ(27u, theApp.m_components[3].build);
        EXPECT_EQ(1u, theApp.m_components[0].expectedVersion);
    }
    ClearFolder(folder);
    RemoveDirectoryA(folder.c_str());
}

TEST(ComponentVersions, MismatchInTheFirstEntryStopsTheCheck)
{
    const std::string folder = TempFolder("qvstop");
    ClearFolder(folder);
    Install(folder, "sonderic.dll", "2");
    Install(folder, "tabrel.ocx", "1");
    ClearAtom();
    EXPECT_FALSE(theApp.CheckComponentVersions(folder.c_str()));
    // Only the first module was opened: one load left one mark.
    ATOM atom = GlobalFindAtomA(kAtom);
    ASSERT_NE(0, atom);
    GlobalDeleteAtom(atom);
    EXPECT_EQ(0, GlobalFindAtomA(kAtom));

    // With the first of the right version the check goes on and opens the slider too.
    ClearFolder(folder);
    Install(folder, "sonderic.dll", "1");
    Install(folder, "tabrel.ocx", "1");
    ClearAtom();
    EXPECT_TRUE(theApp.CheckComponentVersions(folder.c_str()));
    int marks = 0;
    while (ATOM a = GlobalFindAtomA(kAtom)) {
        GlobalDeleteAtom(a);
        ++marks;
    }
    EXPECT_EQ(2, marks);
    ClearFolder(folder);
    RemoveDirectoryA(folder.c_str());
}

TEST(ComponentVersions, TheBuiltComponentsPass)
{
    EXPECT_TRUE(theApp.CheckComponentVersions(WinePath(TestBinDir()).c_str()));
}

// ---------------------------------------------------------------------------------------
// Single instance: the name is already taken (as by an instance that runs) and a window of
// this thread carries the property a running instance sets.

namespace {

const char kName[] = "brenic_startup_test";

// Answers every message box of this thread with OK, counting them (each box once, however
// often it is activated again) and keeping their texts for a failure's message.
int g_boxes = 0;
std::string g_boxTexts;
LRESULT CALLBACK AnswerBoxes(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        char cls[16] = "";
        GetClassNameA((HWND)wParam, cls, sizeof cls);
        char caption[64] = "";
        GetWindowTextA((HWND)wParam, caption, sizeof caption);
        // Message boxes only: the dialogs under test are left alone.
        static std::set<HWND> seen;
        // Each box is answered once; only message boxes (their text is in the control 0xFFFF)
        // are counted, not other dialogs Wine may show in this thread.
        if (!strcmp(cls, "#32770") && strcmp(caption, "Select Remote Database") &&
            seen.insert((HWND)wParam).second) {
            char text[256] = "";
            GetDlgItemTextA((HWND)wParam, 0xFFFF, text, sizeof text);
            if (*text) {
                ++g_boxes;
                g_boxTexts += std::string("[") + caption + ": " + text + "] ";
            }
            PostMessageA((HWND)wParam, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

class FirstInstanceWindow : public CWnd
{
public:
    std::string received;
    int copies = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COPYDATA) {
            const COPYDATASTRUCT* data = (const COPYDATASTRUCT*)lParam;
            ++copies;
            if (data->dwData == 1 && data->cbData == 256)
                received.assign((const char*)data->lpData,
                                strnlen((const char*)data->lpData, data->cbData));
            return TRUE;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

} // namespace

TEST(SingleInstance, FindsRestoresAndHandsOver)
{
    HHOOK hook = SetWindowsHookExA(WH_CBT, AnswerBoxes, NULL, GetCurrentThreadId());
    theApp.m_pszExeName = kName;
    theApp.m_nFindAttempts = 3;
    theApp.m_nSendAttempts = 3;
    theApp.m_nSendTimeout = 200;
    HANDLE running = CreateMutexA(NULL, TRUE, kName);

    // The other instance has not shown its window yet: found, without a window; a clip file
    // cannot be handed over then.
    EXPECT_TRUE(theApp.FindPreviousInstance());
    EXPECT_EQ(nullptr, theApp.m_pPrevInstanceWnd);
    g_boxes = 0;
    g_boxTexts.clear();
    EXPECT_FALSE(theApp.HandOverFile("C:\\clips\\swing.kpx"));
    EXPECT_EQ(1, g_boxes);

    FirstInstanceWindow window;
    ASSERT_TRUE(window.CreateEx(0, AfxRegisterWndClass(0), "first", WS_OVERLAPPEDWINDOW, 0, 0,
                                200, 100, NULL, NULL));
    // A window of another name is not it.
    ::SetPropA(window.GetSafeHwnd(), "brenic_other", (HANDLE)1);
    EXPECT_TRUE(theApp.FindPreviousInstance());
    EXPECT_EQ(nullptr, theApp.m_pPrevInstanceWnd);

    ::SetPropA(window.GetSafeHwnd(), kName, (HANDLE)1);
    window.ShowWindow(SW_SHOWMINIMIZED);
    ASSERT_TRUE(window.IsIconic());
    EXPECT_TRUE(theApp.FindPreviousInstance());
    EXPECT_EQ(window.GetSafeHwnd(), theApp.m_pPrevInstanceWnd->GetSafeHwnd());
    EXPECT_FALSE(window.IsIconic());

    EXPECT_TRUE(theApp.HandOverFile("C:\\clips\\swing.KPX"));
    EXPECT_EQ("C:\\clips\\swing.KPX", window.received);

    // A path that does not fit the 256-byte block is refused with the message, never cut
    // into another name; one character less fits, NUL included.
    g_boxes = 0;
    g_boxTexts.clear();
    window.copies = 0;
    EXPECT_FALSE(theApp.HandOverFile(("C:\\" + std::string(249, 'a') + ".kpx").c_str()));
    EXPECT_EQ(1, g_boxes);
    EXPECT_EQ(0, window.copies);
    EXPECT_TRUE(theApp.HandOverFile(("C:\\" + std::string(248, 'a') + ".kpx").c_str()));
    EXPECT_EQ(1, window.copies);
    EXPECT_EQ(255u, window.received.size());

    // An instance that never answers: bounded attempts, then "Send not successful".
    CWnd silent;
    ASSERT_TRUE(silent.CreateEx(0, "STATIC", "silent", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    theApp.m_pPrevInstanceWnd = &silent;
    window.DestroyWindow();
    g_boxes = 0;
    g_boxTexts.clear();
    EXPECT_FALSE(theApp.HandOverFile("C:\\clips\\swing.kpx"));
    EXPECT_EQ(1, g_boxes);
    silent.DestroyWindow();
    theApp.m_pPrevInstanceWnd = NULL;
    UnhookWindowsHookEx(hook);
    CloseHandle(running);
}

TEST(SingleInstance, ASecondProgramRestoresTheFirstAndHandsItsClipOver)
{
    // This test stands for the running program: the program's instance mutex and its
    // minimised main window carrying the property.
    HANDLE running = CreateMutexA(NULL, TRUE, "brenic");
    FirstInstanceWindow window;
    ASSERT_TRUE(window.CreateEx(0, AfxRegisterWndClass(0), "first", WS_OVERLAPPEDWINDOW, 0, 0,
                                200, 100, NULL, NULL));
    ::SetPropA(window.GetSafeHwnd(), "brenic", (HANDLE)1);
    window.ShowWindow(SW_SHOWMINIMIZED);
    ASSERT_TRUE(window.IsIconic());

    // The real program started with a clip file, as a double click on one does.
    std::string command =
        "\"" + WinePath(TestBinDir() + "/brenic.exe") + "\" C:\\clips\\swing.kpx";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                               &process));
    // Wine starts the program's Unix module without giving a process handle: wait for what
    // the program does to this window, answering its hand-over meanwhile.
    for (const DWORD end = GetTickCount() + 45000;
         (window.IsIconic() || !window.copies) && GetTickCount() < end;) {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(50);
    }
    EXPECT_FALSE(window.IsIconic());
    EXPECT_EQ(1, window.copies);
    EXPECT_EQ("C:\\clips\\swing.kpx", window.received);
    if (process.hThread)
        CloseHandle(process.hThread);
    if (process.hProcess)
        CloseHandle(process.hProcess);
    window.DestroyWindow();
    CloseHandle(running);
}

// ---------------------------------------------------------------------------------------

TEST(FirstStart, EmptyDatabaseOnlyWhereNoneExists)
{
    const std::string folder = TempFolder("qvdb");
    ClearFolder(folder);
    const CString path = (folder + "Quorvel.mdb").c_str();
    ASSERT_TRUE(CBrenicApp::CreateFirstDatabase(folder.c_str()));
    CDatabaseMgr manager;
    EXPECT_EQ(4, manager.GetSchemaVersion(path));
    // Never over a file: the existing one stays as it is.
    EXPECT_FALSE(CBrenicApp::CreateFirstDatabase(folder.c_str()));
    // A fall-back copy alone also stops it (the database manager restores from it).
    DeleteFileA(path);
    HANDLE file = CreateFileA((folder + "quorvel.mdb.alt").c_str(), GENERIC_WRITE, 0, NULL,
                              CREATE_ALWAYS, 0, NULL);
    CloseHandle(file);
    EXPECT_FALSE(CBrenicApp::CreateFirstDatabase(folder.c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path));
    ClearFolder(folder);
    RemoveDirectoryA(folder.c_str());
}

// ---------------------------------------------------------------------------------------
// Remote database dialog: a machine's share is a folder of the prefix's UNC mapping.

#include "AppConfig.h"
#include "Globals.h"
#include "NetworkDbDlg.h"

TEST(RemoteDatabase, MachineOfAShareName)
{
    struct { const char* remote; const char* machine; } cases[] = {
        {"\\\\coach\\Quorvel", "coach"},
        {"\\\\COACH\\QUORVEL", "COACH"},
        {"\\\\coach\\Other", ""},
        {NULL, ""},
        {"quorvel", ""},
        {"\\\\", ""},
        {"\\\\\\quorvel", ""},
        {"\\\\a\\b\\quorvel", "a\\b"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CString(c.machine), CNetworkDbDlg::MachineOfShare(c.remote))
            << (c.remote ? c.remote : "(null)");
    EXPECT_EQ(CString("\\\\coach\\Quorvel\\Quorvel.mdb"),
              CNetworkDbDlg::RemoteDatabasePath("coach"));
    EXPECT_EQ(CString("\\\\coach\\Quorvel\\Capture"), CNetworkDbDlg::RemoteCapturePath("coach"));
}

namespace {

// The dialog driven by posted steps: a machine name typed, then a button.
class ScriptedNetworkDlg : public CNetworkDbDlg
{
public:
    std::vector<std::pair<CString, UINT>> steps;
    size_t next = 0;

protected:
    BOOL OnInitDialog() override
    {
        CNetworkDbDlg::OnInitDialog();
        PostMessage(WM_APP);
        return TRUE;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_APP) {
            if (next < steps.size()) {
                SetDlgItemText(1292, steps[next].first);
                PostMessage(WM_COMMAND, MAKEWPARAM(steps[next].second, BN_CLICKED), 0);
                ++next;
                PostMessage(WM_APP);
            } else {
                PostMessage(WM_COMMAND, IDCANCEL);
            }
            return 0;
        }
        return CNetworkDbDlg::WindowProc(message, wParam, lParam);
    }
};

} // namespace

TEST(RemoteDatabase, TypedMachineOverTheUncMapping)
{
    const char* prefix = getenv("WINEPREFIX");
    ASSERT_NE(nullptr, prefix);
    const std::string unc = WinePath(std::string(prefix) + "/dosdevices/unc");
    const std::string machine = unc + "\\qvtestbox";
    const std::string share = machine + "\\Quorvel\\";
    CreateDirectoryA(unc.c_str(), NULL);
    CreateDirectoryA(machine.c_str(), NULL);
    CreateDirectoryA(share.c_str(), NULL);
    DeleteFileA((share + "Quorvel.mdb").c_str());
    ASSERT_TRUE(CBrenicApp::CreateFirstDatabase(share.c_str()));

    CAppConfig config;
    g_pAppConfig = &config;
    HHOOK hook = SetWindowsHookExA(WH_CBT, AnswerBoxes, NULL, GetCurrentThreadId());
    g_boxes = 0;
    g_boxTexts.clear();
    ScriptedNetworkDlg dialog;
    // OK without a name, Connect to a machine without the database: each a message, the
    // dialog stays; then the share found under any case of the machine's name.
    dialog.steps = {{"", IDOK}, {"qvnobox", 1291}, {"QVTestBox", IDOK}};
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(3u, dialog.next);
    EXPECT_EQ(2, g_boxes) << g_boxTexts;
    EXPECT_EQ(CString("QVTestBox"), dialog.m_strMachineName);
    // No network to enumerate: the list stays empty.
    dialog.ApplyRemotePaths();
    EXPECT_TRUE(config.IsNetworkDatabase());
    EXPECT_EQ(CString("\\\\QVTestBox\\Quorvel\\Quorvel.mdb"), config.GetNetworkDatabasePath());
    UnhookWindowsHookEx(hook);
    g_pAppConfig = NULL;
    DeleteFileA((share + "Quorvel.mdb").c_str());
    RemoveDirectoryA(share.c_str());
    RemoveDirectoryA(machine.c_str());
}
