#include "BrenicApp.h"
#include <afxdao.h>
#include <afxdisp.h>
#include <afxext.h>
#include <memory>
#include <vector>
#include "AppConfig.h"
#include "AutoImportDlg.h"
#include "BrenicDoc.h"
#include "BrenicView.h"
#include "Clavio.h"
#include "CustomConfig.h"
#include "Globals.h"
#include "ImgList.h"
#include "LaunchHelpDlg.h"
#include "Lesson.h"
#include "MainFrm.h"
#include "Recordsets.h"
#include "Utility.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CBrenicApp, CWinApp)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
    ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew)
    ON_COMMAND(ID_FILE_OPEN, CWinApp::OnFileOpen)
    ON_COMMAND(ID_FILE_PRINT_SETUP, CWinApp::OnFilePrintSetup)
END_MESSAGE_MAP()

CBrenicApp::CBrenicApp()
    : CWinApp("Quorvel Redovove"), m_pPrevInstanceWnd(NULL), m_nFindAttempts(1500),
      m_nSendAttempts(1000), m_nSendTimeout(1000), m_hMutex(NULL)
{
}

CBrenicApp::~CBrenicApp()
{
    if (m_hMutex)
        CloseHandle(m_hMutex);
}

CString CBrenicApp::ProgramFolder()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(NULL, path, MAX_PATH);
    return CExtString(path).GetPathFolder();
}

// ---------------------------------------------------------------------------------------
// Component versions

namespace {

BOOL FileExists(const CString& path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// The low half of a module's product version; FALSE when it has no readable version block.
// Wine reads a module built for it only while the module is loaded, under the name the
// loader gives it, so the module is loaded for the read and freed again at once.
BOOL ReadProductVersionLS(const CString& path, DWORD& version)
{
    HMODULE module = LoadLibraryExA(path, NULL, 0);
    if (!module && FileExists(path + ".so"))
        module = LoadLibraryExA(path + ".so", NULL, 0);
    if (!module)
        return FALSE;
    char loaded[MAX_PATH] = "";
    GetModuleFileNameA(module, loaded, MAX_PATH);
    BOOL ok = FALSE;
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(loaded, &handle);
    if (size) {
        std::vector<BYTE> block(size);
        VS_FIXEDFILEINFO* info = NULL;
        UINT length = 0;
        if (GetFileVersionInfoA(loaded, 0, size, block.data()) &&
            VerQueryValueA(block.data(), "\\", (void**)&info, &length) && info &&
            length >= sizeof(VS_FIXEDFILEINFO)) {
            version = info->dwProductVersionLS;
            ok = TRUE;
        }
    }
    FreeLibrary(module);
    return ok;
}

} // namespace

// The components are checked where they are registered: in the program folder.
BOOL CBrenicApp::CheckComponentVersions(CString folder)
{
    if (folder.IsEmpty())
        folder = ProgramFolder();
    if (!folder.IsEmpty() && folder[folder.GetLength() - 1] != '\\')
        folder += '\\';
    static const struct { const char* name; DWORD version; DWORD build; } table[5] = {
        {"sonderic.dll", 1, 10}, {"deinterlacer.dll", 1, 8}, {"pondrel.dll", 1, 10},
        {"clavio.ocx", 1, 27},   {"tabrel.ocx", 1, 7},
    };
    for (int i = 0; i < 5; ++i) {
        m_components[i].path = folder + table[i].name;
        m_components[i].expectedVersion = table[i].version;
        m_components[i].build = table[i].build;
    }
    for (const ComponentEntry& entry : m_components) {
        if (!FileExists(entry.path) && !FileExists(entry.path + ".so"))
            continue;
        // A file without a readable version block counts as another version.
        DWORD version = 0;
        if (!ReadProductVersionLS(entry.path, version) || version != entry.expectedVersion)
            return FALSE;
    }
    return TRUE;
}

// ---------------------------------------------------------------------------------------
// Single instance

CString CBrenicApp::InstanceName() const
{
    CString name(m_pszExeName ? m_pszExeName : "");
    name.MakeLower();
    return name;
}

BOOL CBrenicApp::FindPreviousInstance()
{
    const CString name = InstanceName();
    if (!m_hMutex) {
        m_hMutex = CreateMutexA(NULL, TRUE, name);
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return FALSE;
    }
    for (HWND wnd = ::GetWindow(::GetDesktopWindow(), GW_CHILD); wnd;
         wnd = ::GetWindow(wnd, GW_HWNDNEXT)) {

        if (!::GetPropA(wnd, name))
            continue;

        if (::IsIconic(wnd))
            ::ShowWindow(wnd, SW_RESTORE);
        ::SetForegroundWindow(wnd);
        ::SetForegroundWindow(::GetLastActivePopup(wnd));
        m_pPrevInstanceWnd = CWnd::FromHandle(wnd);
        return TRUE;
    }
    return TRUE;
}

BOOL CBrenicApp::HandOverFile(const CString& path)
{
    // The block holds 256 bytes with its NUL: a longer path would arrive as another name.
    if (path.GetLength() >= 256) {
        CString text;
        text.Format("Could not import clip %s.", (LPCTSTR)path);
        AfxMessageBox(text);
        return FALSE;
    }
    char block[256] = {};
    memcpy(block, (LPCTSTR)path, path.GetLength());
    COPYDATASTRUCT data = {1, sizeof block, block};

    for (int attempt = 0; !m_pPrevInstanceWnd && attempt < m_nFindAttempts; ++attempt) {
        Sleep(30);
        FindPreviousInstance();
    }
    if (!m_pPrevInstanceWnd) {
        CString text;
        text.Format("Could not import clip %s.", (LPCTSTR)path);
        AfxMessageBox(text);
        return FALSE;
    }
    // A busy or hung instance must not hold this one for ever: each send is bounded.
    for (int attempt = 0; attempt < m_nSendAttempts; ++attempt) {
        DWORD_PTR answer = 0;
        HWND target = m_pPrevInstanceWnd ? m_pPrevInstanceWnd->GetSafeHwnd() : NULL;
        if (target && SendMessageTimeoutA(target, WM_COPYDATA, (WPARAM)(m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : NULL),
                                          (LPARAM)&data, SMTO_ABORTIFHUNG, m_nSendTimeout,
                                          &answer) &&
            answer)
            return TRUE;
        Sleep(30);
        FindPreviousInstance();
    }
    AfxMessageBox("Send not successful");
    return FALSE;
}

// ---------------------------------------------------------------------------------------
// First start

BOOL CBrenicApp::CreateFirstDatabase(const CString& folder)
{
    const char* const names[] = {"Quorvel.mdb", "quorvel.mdb.alt", "quorvel.mdb.alt2",
                                 "quorvel.mdb.bak"};
    for (const char* name : names)
        if (FileExists(folder + name))
            return FALSE;
    const CString path = folder + "Quorvel.mdb";
    try {
        CDaoDatabase db;
        db.Create(path, ";LANGID=0x0409;CP=1252;COUNTRY=0");
        for (const char* const* sql = kClipDatabaseSchema; *sql; ++sql)
            db.Execute(*sql);
        db.Close();
        return TRUE;
    } catch (CDaoException* e) {
        e->Delete();
        DeleteFileA(path);
        return FALSE;
    }
}

// ---------------------------------------------------------------------------------------
// Start-up and shutdown

BOOL CBrenicApp::InitInstance()
{
    if (!AfxOleInit()) {
        AfxMessageBox("OLE initialization failed.  Make sure that the OLE libraries are the "
                      "correct version.");
        return FALSE;
    }
    AfxEnableControlContainer();
    Enable3dControlsStatic();
    SetRegistryKey("Quorvel Redovove LE");
    LoadStdProfileSettings(4);

    if (!CheckComponentVersions() &&
        AfxMessageBox("This application is incompatible with the activeX controls installed.  "
                      "The application may not function properly and may need to be "
                      "upgraded. Do you want to continue?",
                      MB_YESNO) == IDNO)
        return FALSE;

    CSingleDocTemplate* docTemplate =
        new CSingleDocTemplate(IDR_BRENICTYPE, RUNTIME_CLASS(CBrenicDoc),
                               RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CBrenicView));
    docTemplate->SetContainerInfo(6);
    AddDocTemplate(docTemplate);

    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    BOOL importAtStart = FALSE;
    if (!cmdInfo.m_strFileName.IsEmpty()) {
        CString extension = CExtString(cmdInfo.m_strFileName).GetPathExtension();
        extension.MakeLower();
        importAtStart = extension == ".kpx";
    }

    if (FindPreviousInstance()) {
        Sleep(100);
        if (!cmdInfo.m_strFileName.IsEmpty())
            HandOverFile(cmdInfo.m_strFileName);
        return FALSE;
    }

    g_pLesson = NULL;
    g_pClavio = new CClavio;
    g_pAppConfig = new CAppConfig;
    g_pCustomConfig = new CCustomConfig;
    g_pLesson = new CLesson;
    g_pImgList = new CImgList;
    g_pImgList->Create();

    CreateFirstDatabase(ProgramFolder());
    if (!g_pAppConfig->LoadSettings())
        return FALSE;
    if (!ProcessShellCommand(cmdInfo))
        return FALSE;
    if (GetFileAttributesA(g_pAppConfig->GetDatabasePath()) == INVALID_FILE_ATTRIBUTES) {
        AfxMessageBox("A valid database connection could not be established.  Exiting "
                      "application.");
        return FALSE;
    }
    if (g_pAppConfig->DetectMixer())
        g_pAppConfig->LoadSoundVolume();

    CFrameWnd* frame = (CFrameWnd*)m_pMainWnd;
    if (CDocument* doc = frame ? frame->GetActiveDocument() : NULL)
        if (doc->IsKindOf(RUNTIME_CLASS(CBrenicDoc)))
            ((CBrenicDoc*)doc)->SetDefaultTitle();

    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    ::SetPropA(m_pMainWnd->GetSafeHwnd(), InstanceName(), (HANDLE)1);
    m_pMainWnd->SetActiveWindow();

    if (g_pAppConfig->GetImportVideoFiles()) {
        // Asked once: either answer switches the setting off (Yes queues the clip files).
        CAutoImportDlg autoImport(NULL);
        autoImport.DoModal();
    }
    if (g_pAppConfig->GetLaunchHelp()) {
        CLaunchHelpDlg launchHelp(0);
        launchHelp.DoModal();
    }
    const BOOL videoWindow = g_pClavio && g_pClavio->GetSafeHwnd();
    if (videoWindow)
        g_pClavio->CheckDiskSpace();
    if (importAtStart && frame && frame->IsKindOf(RUNTIME_CLASS(CMainFrame))) {
        ((CMainFrame*)frame)->QueueImport(cmdInfo.m_strFileName);
        m_pMainWnd->SetTimer(2, 1000, NULL);
    }
    if (videoWindow) {
        g_pClavio->RedrawCurrentWindow(CCustomConfig::GetVideoRect());
        g_pClavio->RedrawVideo();
    }
    return TRUE;
}

int CBrenicApp::Run()
{
    return CWinApp::Run();
}

BOOL CBrenicApp::OnIdle(LONG lCount)
{
    return CWinApp::OnIdle(lCount);
}

BOOL CBrenicApp::PreTranslateMessage(MSG* pMsg)
{
    CWnd* main = m_pMainWnd;
    if (main && main->IsKindOf(RUNTIME_CLASS(CMainFrame)) &&
        ((CMainFrame*)main)->OfferSysChar(pMsg))
        return TRUE;
    if (CMainFrame::TranslateProgramKey(pMsg, CMainFrame::SliderWindow(), FALSE))
        return TRUE;
    return CWinApp::PreTranslateMessage(pMsg);
}

int CBrenicApp::ExitInstance()
{
    if (g_pLesson) {
        g_pAppConfig->SaveSettings();
        delete g_pLesson;
        g_pLesson = NULL;
        delete g_pImgList;
        g_pImgList = NULL;
        delete g_pAppConfig;
        g_pAppConfig = NULL;
        delete g_pCustomConfig;
        g_pCustomConfig = NULL;
        delete g_pClavio;
        g_pClavio = NULL;
    }
    return CWinApp::ExitInstance();
}

void CBrenicApp::OnAppAbout()
{
    CAboutDlg dialog;
    dialog.DoModal();
}

// ---------------------------------------------------------------------------------------
// About box

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg() : CDialog(IDD)
{
}

CString CAboutDlg::MemoryLine(int line, const MEMORYSTATUS& status)
{
    CString text;
    switch (line) {
    case 0:
        text.Format("Total physical memory: %d MBytes", (int)(status.dwTotalPhys >> 20));
        break;
    case 1:
        text.Format("Percent memory in use: %d%%", (int)status.dwMemoryLoad);
        break;
    default:
        text.Format("Available physical memory: %d MBytes", (int)(status.dwAvailPhys >> 20));
        break;
    }
    return text;
}

void CAboutDlg::ShowMemory()
{
    MEMORYSTATUS status = {sizeof status};
    GlobalMemoryStatus(&status);
    for (int line = 0; line < 3; ++line)
        SetDlgItemText(1188 + line, MemoryLine(line, status));
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ShowMemory();
    SetTimer(1, 1000, NULL);
    return TRUE;
}

void CAboutDlg::OnTimer(UINT_PTR nIDEvent)
{
    try {
        ShowMemory();
    } catch (...) {
        AfxMessageBox("Unhandled exception in CAboutDlg timer.");
    }
    CDialog::OnTimer(nIDEvent);
}

void CAboutDlg::OnDestroy()
{
    KillTimer(1);
    CDialog::OnDestroy();
}
