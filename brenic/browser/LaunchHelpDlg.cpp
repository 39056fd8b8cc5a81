#include "LaunchHelpDlg.h"
#include <afxdlgs.h>
#include <vector>
#include "AppConfig.h"
#include "Globals.h"
#include "ProgressDlg.h"
#include "options_res.h"

namespace {

const char kHelpFileName[] = "VideoHelpDovuriva.chm";
const char kHelpFilter[] =
    "Quorvel Video Help File (VideoHelpDovuriva.chm)|VideoHelpDovuriva.chm||";

CHelpActions g_programActions;
CHelpActions* g_actions = &g_programActions;

CString FolderOf(const CString& path)
{
    const int slash = path.ReverseFind('\\');
    return slash < 0 ? CString() : path.Left(slash);
}

BOOL FileExists(const CString& path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE)
        return FALSE;
    FindClose(search);
    return TRUE;
}

// The number of files a pattern finds (0 when none).
int CountMatches(const CString& pattern)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    int count = 0;
    do
        ++count;
    while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

} // namespace

CHelpActions* GetHelpActions()
{
    return g_actions;
}

void SetHelpActions(CHelpActions* actions)
{
    g_actions = actions ? actions : &g_programActions;
}

// The desktop's browser shows the compiled help: the system's help viewer needs a browser
// engine that is not installed here. The viewer's own command line is kept for it.
BOOL CHelpActions::StartProcess(const CString& application, const CString& commandLine,
                                const CString& folder)
{
    (void)application;
    CString line = commandLine;
    line.TrimLeft();
    const int store = line.Find("mk:@MSITStore:");
    CString file = store < 0 ? line : line.Mid(store + lstrlenA("mk:@MSITStore:"));
    file.Remove('"');
    CString browser = "winebrowser \"" + file + "\"";
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    ZeroMemory(&process, sizeof process);
    std::vector<char> buffer(browser.GetLength() + 1);
    lstrcpyA(buffer.data(), browser);
    if (!CreateProcessA(NULL, buffer.data(), NULL, NULL, FALSE, 0, NULL,
                        folder.IsEmpty() ? NULL : (LPCSTR)folder, &startup, &process))
        return FALSE;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return TRUE;
}

void CHelpActions::Exec(const CString& commandLine)
{
    WinExec(commandLine, SW_SHOW);
}

BOOL CHelpActions::PromptForFile(BOOL save, const CString& title, const CString& initialFile,
                                 CString& chosen)
{
    DWORD flags = save ? OFN_EXPLORER | OFN_HIDEREADONLY
                       : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    CFileDialog dialog(!save, "chm", initialFile, flags, kHelpFilter);
    dialog.m_ofn.lpstrTitle = title;
    if (dialog.DoModal() != IDOK)
        return FALSE;
    chosen = dialog.GetPathName();
    return TRUE;
}

BOOL CHelpActions::CopyOneFile(const CString& from, const CString& to)
{
    return CopyFileA(from, to, FALSE);
}

// ---------------------------------------------------------------------------------------
// Launch dialog

BEGIN_MESSAGE_MAP(CLaunchHelpDlg, CDialog)
    ON_BN_CLICKED(1256, OnShowAtStartup)
    ON_BN_CLICKED(1266, OnCopyHelpFiles)
END_MESSAGE_MAP()

CLaunchHelpDlg::CLaunchHelpDlg(int mode, CWnd* pParent)
    : CDialog(IDD_LAUNCH_HELP, pParent), m_nMode((BYTE)mode)
{
}

void CLaunchHelpDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, 1266, m_copyButton);
    DDX_Control(pDX, 1256, m_showAtStartup);
}

BOOL CLaunchHelpDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_showAtStartup.SetCheck(g_pAppConfig->GetLaunchHelp() ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CLaunchHelpDlg::OnShowAtStartup()
{
    g_pAppConfig->SetLaunchHelp(m_showAtStartup.GetCheck() == BST_CHECKED ? 1 : 0);
}

void CLaunchHelpDlg::OnCancel()
{
    CDialog::OnCancel();
}

CString CLaunchHelpDlg::ViewerCommandLine(const CString& helpPath)
{
    // One argument, whatever blanks the path holds.
    return " \"mk:@MSITStore:" + helpPath + "\"";
}

void CLaunchHelpDlg::OnOK()
{
    CDialog::OnOK();
    if (m_nMode == 0 && !g_pAppConfig->GetLaunchHelp())
        return;
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof windows);
    const CString viewer = CString(windows) + "\\hh.exe";
    CHelpActions* actions = GetHelpActions();

    BOOL started = FALSE;
    const CString helpPath = g_pAppConfig->GetVideoHelpPath();
    if (FileExists(helpPath)) {
        started = actions->StartProcess(viewer, ViewerCommandLine(helpPath), FolderOf(helpPath));
    } else {
        CString chosen;
        if (!actions->PromptForFile(FALSE, "Locate the Video help file",
                                    g_pAppConfig->GetDefaultHelpLoc() + kHelpFileName, chosen))
            return;
        const CString folder = FolderOf(chosen);
        started = actions->StartProcess(viewer, ViewerCommandLine(chosen), folder);
        g_pAppConfig->SetVideoHelp(folder + "\\");
    }
    if (!started) {
        // The fallback runs from the help folder; the program's own folder comes back
        // afterwards, since relative paths elsewhere depend on it.
        char current[MAX_PATH] = "";
        GetCurrentDirectoryA(sizeof current, current);
        const CString path = g_pAppConfig->GetVideoHelpPath();
        SetCurrentDirectoryA(FolderOf(path));
        actions->Exec("hh" + ViewerCommandLine(path));
        SetCurrentDirectoryA(current);
    }
}

void CLaunchHelpDlg::OnCopyHelpFiles()
{
    CCopyHelpDlg copy(this);
    copy.m_strDestination = g_pAppConfig->GetInstallDir();
    copy.m_strSource = g_pAppConfig->GetDefaultHelpLoc();
    if (copy.DoModal() != IDOK)
        return;
    CopyHelpFiles(copy.m_strSource, copy.m_strDestination);
}

BOOL CLaunchHelpDlg::CopyHelpFiles(CString source, CString destination)
{
    CreateDirectoryA(destination + "Video Help Files", NULL);
    CreateDirectoryA(destination + "Video Help Files\\Dovuriva", NULL);
    destination += "Video Help Files\\Dovuriva\\";

    CHelpActions* actions = GetHelpActions();
    int range = CountMatches(source + "*.exe");
    if (range == 0) {
        CString chosen;
        if (actions->PromptForFile(FALSE, "Locate the Video help file to copy",
                                   source + kHelpFileName, chosen)) {
            source = FolderOf(chosen) + "\\";
            range = CountMatches(source + "*.exe");
        }
    }

    CProgressDlg progress(TRUE);
    progress.SetMessage("Copying Video Help Files");
    progress.SetRange(range);
    progress.Show(NULL);
    progress.SetForegroundWindow();

    BOOL complete = TRUE;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(source + "*.*", &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const CString name = found.cFileName;
            // Folders are not part of the help: passed over, not copied.
            if (name == "." || name == ".." || (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                continue;
            progress.StepIt();
            if (progress.IsCancelled()) {
                AfxMessageBox("Copy process has been cancelled");
                complete = FALSE;
                break;
            }
            if (!actions->CopyOneFile(source + name, destination + name)) {
                AfxMessageBox("Error copying video help file");
                complete = FALSE;
                break;
            }
            SetFileAttributesA(destination + name, FILE_ATTRIBUTE_ARCHIVE);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    // The setting follows the copy whatever became of it (cancelled or failed included).
    const BOOL copied = complete && FileExists(destination + kHelpFileName);
    g_pAppConfig->SetVideoHelp(destination);
    progress.Complete();
    progress.DestroyWindow();
    return copied;
}

// ---------------------------------------------------------------------------------------
// Copy dialog

BEGIN_MESSAGE_MAP(CCopyHelpDlg, CDialog)
    ON_BN_CLICKED(1276, OnBrowseSource)
    ON_BN_CLICKED(1277, OnBrowseDestination)
END_MESSAGE_MAP()

CCopyHelpDlg::CCopyHelpDlg(CWnd* pParent) : CDialog(IDD_COPY_HELP, pParent) {}

void CCopyHelpDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, 1275, m_strDestination);
    DDX_Text(pDX, 1274, m_strSource);
}

void CCopyHelpDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    const DWORD attributes = GetFileAttributesA(m_strDestination);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        AfxMessageBox("Destination directory does not exist.  Please enter a valid destination "
                      "directory");
        return;
    }
    if (attributes & FILE_ATTRIBUTE_READONLY) {
        AfxMessageBox("Destination directory is read only.  Please select a different "
                      "destination directory");
        return;
    }
    EndDialog(IDOK);
}

void CCopyHelpDlg::OnBrowseSource()
{
    UpdateData(TRUE);
    CString chosen;
    if (GetHelpActions()->PromptForFile(FALSE, "Locate the Video help file to copy",
                                        m_strSource + kHelpFileName, chosen))
        m_strSource = FolderOf(chosen) + "\\";
    UpdateData(FALSE);
}

void CCopyHelpDlg::OnBrowseDestination()
{
    UpdateData(TRUE);
    CString chosen;
    if (GetHelpActions()->PromptForFile(
            TRUE, "Select location of video help file directory on local hard drive",
            m_strDestination + kHelpFileName, chosen))
        m_strDestination = FolderOf(chosen) + "\\";
    UpdateData(FALSE);
}
