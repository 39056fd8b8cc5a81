// Start-up: the component version check over modules built with product versions 1, 2 and
// none; the single-instance search and hand-over between two processes; the first-start
// database.
#include "gtest_wine.h"
#include <afxdao.h>
#include <afxwin.h>
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

// Answers every message box of this thread with OK, counting them.
int g_boxes = 0;
LRESULT CALLBACK AnswerBoxes(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        char cls[16] = "";
        GetClassNameA((HWND)wParam, cls, sizeof cls);
        if (!strcmp(cls, "#32770")) {
            ++g_boxes;
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
    window.copies = 0;
    EXPECT_FALSE(theApp.HandOverFile(("C:\\" + std::string(252, 'a') + ".kpx").c_str()));
    EXPECT_EQ(1, g_boxes);
    EXPECT_EQ(0, window.copies);
    EXPECT_TRUE(theApp.HandOverFile(("C:\\" + std::string(251, 'a') + ".kpx").c_str()));
    EXPECT_EQ(1, window.copies);
    EXPECT_EQ(255u, window.received.size());

    // An instance that never answers: bounded attempts, then "Send not successful".
    CWnd silent;
    ASSERT_TRUE(silent.CreateEx(0, "STATIC", "silent", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    theApp.m_pPrevInstanceWnd = &silent;
    window.DestroyWindow();
    g_boxes = 0;
    EXPECT_FALSE(theApp.HandOverFile("C:\\clips\\swing.kpx"));
    EXPECT_EQ(1, g_boxes);
    silent.DestroyWindow();
    theApp.m_pPrevInstanceWnd = NULL;
    UnhookWindowsHookEx(hook);
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
