// The application object: start-up, resources, message boxes, the profile in the registry
// (or an .INI file), printer defaults and the standard application commands.
#include "afxwin.h"
#include "afxpriv.h"
#include <commdlg.h>
#include <stdlib.h>

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
  ON_COMMAND(ID_APP_EXIT, OnAppExit)
  ON_COMMAND_EX_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, OnOpenRecentFile)
  ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
END_MESSAGE_MAP()

// Module-wide state: every module that links the library has its own copy.
namespace {
CWinApp* g_pApp = NULL;
HINSTANCE g_hInstance = NULL;
HINSTANCE g_hResource = NULL;

const char s_moduleAnchor = 0;  // any object of this module names the module

HINSTANCE ModuleOfCode()
{
  HMODULE h = NULL;
  if (!::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            &s_moduleAnchor, &h))
    h = ::GetModuleHandleA(NULL);
  return h;
}

char* Dup(LPCTSTR s) { return s != NULL ? strdup(s) : NULL; }
void Replace(LPCTSTR& field, LPCTSTR value)
{
  free((void*)field);
  field = Dup(value);
}
}  // namespace

CWinApp* AFXAPI AfxGetApp() { return g_pApp; }

CWnd* AFXAPI AfxGetMainWnd()
{
  CWinThread* pThread = AfxGetThread();
  if (pThread == NULL)
    pThread = g_pApp;
  return pThread != NULL ? pThread->GetMainWnd() : NULL;
}

HINSTANCE AFXAPI AfxGetInstanceHandle()
{
  if (g_hInstance == NULL)
    g_hInstance = ModuleOfCode();
  return g_hInstance;
}

HINSTANCE AFXAPI AfxGetResourceHandle()
{
  return g_hResource != NULL ? g_hResource : AfxGetInstanceHandle();
}

void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource) { g_hResource = hInstResource; }

HINSTANCE AFXAPI AfxFindResourceHandle(LPCTSTR, LPCTSTR) { return AfxGetResourceHandle(); }

LPCTSTR AFXAPI AfxGetAppName()
{
  return g_pApp != NULL && g_pApp->m_pszAppName != NULL ? g_pApp->m_pszAppName : "";
}

// ---------------------------------------------------------------------------------------------
// Framework strings: a module may carry its own text for an id; otherwise these are used.

namespace {
struct FrameworkString {
  UINT nID;
  const char* text;
};
const FrameworkString kFrameworkStrings[] = {
    {AFX_IDS_UNTITLED, "Untitled"},
    {AFX_IDS_IDLEMESSAGE, "Ready"},
    {AFX_IDS_HIDE, "&Hide"},
    {AFX_IDS_SAVEFILE, "Save As"},
    {AFX_IDS_SAVEFILECOPY, "Save As"},
    {AFX_IDS_ALLFILTER, "All Files (*.*)"},
    {AFX_IDS_UNNAMED_FILE, "an unnamed file"},
    {AFX_IDP_INVALID_FILENAME, "Invalid filename."},
    {AFX_IDP_FAILED_TO_OPEN_DOC, "Failed to open document."},
    {AFX_IDP_FAILED_TO_SAVE_DOC, "Failed to save document."},
    {AFX_IDP_ASK_TO_SAVE, "Save changes to %1?"},
    {AFX_IDP_FAILED_TO_CREATE_DOC, "Failed to create empty document."},
    {AFX_IDP_FILE_TOO_LARGE, "The file is too large to open."},
    {AFX_IDP_FAILED_TO_START_PRINT, "Could not start print job."},
    {AFX_IDP_FAILED_TO_LAUNCH_HELP, "Failed to launch help."},
    {AFX_IDP_INTERNAL_FAILURE, "Internal application error."},
    {AFX_IDP_COMMAND_FAILURE, "Command failed."},
    {AFX_IDP_FAILED_MEMORY_ALLOC, "Insufficient memory to perform operation."},
    {AFX_IDP_PARSE_INT, "Please enter an integer."},
    {AFX_IDP_PARSE_REAL, "Please enter a number."},
    {AFX_IDP_PARSE_INT_RANGE, "Please enter an integer between %1 and %2."},
    {AFX_IDP_PARSE_REAL_RANGE, "Please enter a number between %1 and %2."},
    {AFX_IDP_PARSE_STRING_SIZE, "Please enter no more than %1 characters."},
    {AFX_IDP_PARSE_RADIO_BUTTON, "Please select a button."},
    {AFX_IDP_PARSE_BYTE, "Please enter an integer between 0 and 255."},
    {AFX_IDP_PARSE_UINT, "Please enter a positive integer."},
    {AFX_IDP_PARSE_DATETIME, "Please enter a date and/or time."},
    {AFX_IDP_PARSE_CURRENCY, "Please enter a currency."},
    {AFX_IDP_FAILED_INVALID_FORMAT, "Unexpected file format."},
    {AFX_IDP_FAILED_INVALID_PATH, "%1\nCannot find this file.\nPlease verify that the correct path and file name are given."},
    {AFX_IDP_FAILED_DISK_FULL, "Destination disk drive is full."},
    {AFX_IDP_FAILED_ACCESS_READ, "Unable to read from %1, it is opened by someone else."},
    {AFX_IDP_FAILED_ACCESS_WRITE, "Unable to write to %1, it is read-only or opened by someone else."},
    {AFX_IDP_FAILED_IO_ERROR_READ, "An unexpected error occurred while reading %1."},
    {AFX_IDP_FAILED_IO_ERROR_WRITE, "An unexpected error occurred while writing %1."},
    {AFX_IDP_FILE_NONE, "No error occurred while accessing %1."},
    {AFX_IDP_FILE_GENERIC, "An unknown error occurred while accessing %1."},
    {AFX_IDP_FILE_NOT_FOUND, "%1 was not found."},
    {AFX_IDP_FILE_BAD_PATH, "%1 contains an invalid path."},
    {AFX_IDP_FILE_TOO_MANY_OPEN, "%1 could not be opened because there are too many open files."},
    {AFX_IDP_FILE_ACCESS_DENIED, "Access to %1 was denied."},
    {AFX_IDP_FILE_INVALID_FILE, "An invalid file handle was associated with %1."},
    {AFX_IDP_FILE_REMOVE_CURRENT, "%1 could not be removed because it is the current directory."},
    {AFX_IDP_FILE_DIR_FULL, "%1 could not be created because the directory is full."},
    {AFX_IDP_FILE_BAD_SEEK, "Seek failed on %1."},
    {AFX_IDP_FILE_HARD_IO, "A hardware I/O error was reported while accessing %1."},
    {AFX_IDP_FILE_SHARING, "A sharing violation occurred while accessing %1."},
    {AFX_IDP_FILE_LOCKING, "A locking violation occurred while accessing %1."},
    {AFX_IDP_FILE_DISKFULL, "Disk full while accessing %1."},
    {AFX_IDP_FILE_EOF, "An attempt was made to access %1 past its end."},
    {AFX_IDP_ARCH_NONE, "No error occurred while reading or writing %1."},
    {AFX_IDP_ARCH_GENERIC, "An unknown error occurred while reading or writing %1."},
    {AFX_IDP_ARCH_READONLY, "An attempt was made to write to %1 while it was being read."},
    {AFX_IDP_ARCH_ENDOFFILE, "An attempt was made to access %1 past its end."},
    {AFX_IDP_ARCH_WRITEONLY, "An attempt was made to read from %1 while it was being written."},
    {AFX_IDP_ARCH_BADINDEX, "%1 has a bad format."},
    {AFX_IDP_ARCH_BADCLASS, "%1 contained an unexpected object."},
    {AFX_IDP_ARCH_BADSCHEMA, "%1 contains an incorrect schema."},
};
}  // namespace

CString AFXAPI AfxLoadFrameworkString(UINT nID)
{
  CString s;
  if (s.LoadString(nID) && !s.IsEmpty())
    return s;
  for (const FrameworkString& fs : kFrameworkStrings)
    if (fs.nID == nID)
      return CString(fs.text);
  return CString();
}

// ---------------------------------------------------------------------------------------------
// Message boxes

int AFXAPI AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp)
{
  CWinApp* pApp = AfxGetApp();
  if (pApp != NULL)
    return pApp->DoMessageBox(lpszText, nType, nIDHelp);
  CWnd* pOwner = CWnd::GetSafeOwner(NULL, NULL);
  return ::MessageBoxA(pOwner->GetSafeHwnd(), lpszText, NULL, nType);
}

int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
  CString string = AfxLoadFrameworkString(nIDPrompt);
  if (nIDHelp == (UINT)-1)
    nIDHelp = nIDPrompt;
  return AfxMessageBox(string, nType, nIDHelp);
}

int CWinApp::DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt)
{
  // A box without an icon gets the exclamation mark, as the framework's boxes always have.
  if ((nType & MB_ICONMASK) == 0) {
    switch (nType & MB_TYPEMASK) {
    case MB_OK:
    case MB_OKCANCEL:
    case MB_YESNO:
    case MB_YESNOCANCEL:
      nType |= MB_ICONEXCLAMATION;
      break;
    }
  }
  DWORD* pdwContext = &m_dwPromptContext;
  DWORD dwOldPromptContext = *pdwContext;
  if (nIDPrompt != 0)
    *pdwContext = 0x30000 + nIDPrompt;
  HWND hWndTop;
  CWnd* pOwner = CWnd::GetSafeOwner(NULL, &hWndTop);
  int nResult = ::MessageBoxA(pOwner->GetSafeHwnd(), lpszPrompt, m_pszAppName, nType);
  if (hWndTop != NULL)
    ::EnableWindow(hWndTop, TRUE);
  *pdwContext = dwOldPromptContext;
  return nResult;
}

// ---------------------------------------------------------------------------------------------
// Construction and start-up

CWinApp::CWinApp(LPCTSTR lpszAppName)
    : m_pszAppName(Dup(lpszAppName)), m_hInstance(NULL), m_hPrevInstance(NULL),
      m_lpCmdLine(NULL), m_nCmdShow(SW_SHOWNORMAL), m_pszExeName(NULL), m_pszHelpFilePath(NULL),
      m_pszProfileName(NULL), m_pszRegistryKey(NULL), m_bHelpMode(FALSE), m_pDocManager(NULL),
      m_pRecentFileList(NULL), m_hDevMode(NULL), m_hDevNames(NULL), m_dwPromptContext(0),
      m_nWaitCursorCount(0), m_hcurWaitCursorRestore(NULL), m_nNumPreviewPages(0)
{
  g_pApp = this;
  AFX_THREAD_STATE* ts = AfxGetThreadState();
  ts->m_pCurrentWinThread = this;
  m_hThread = ::GetCurrentThread();
  m_nThreadID = ::GetCurrentThreadId();
}

CWinApp::~CWinApp()
{
  delete m_pDocManager;
  m_pDocManager = NULL;
  delete m_pRecentFileList;
  m_pRecentFileList = NULL;
  if (m_hDevMode != NULL)
    ::GlobalFree(m_hDevMode);
  if (m_hDevNames != NULL)
    ::GlobalFree(m_hDevNames);
  free((void*)m_pszAppName);
  free((void*)m_pszExeName);
  free((void*)m_pszHelpFilePath);
  free((void*)m_pszProfileName);
  free((void*)m_pszRegistryKey);
  if (g_pApp == this)
    g_pApp = NULL;
  m_hThread = NULL;  // the pseudo handle of the main thread is not ours to close
  AFX_THREAD_STATE* ts = AfxGetThreadState();
  if (ts->m_pCurrentWinThread == this)
    ts->m_pCurrentWinThread = NULL;
}

BOOL AFXAPI AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine,
                       int nCmdShow)
{
  if (hInstance == NULL)
    hInstance = ::GetModuleHandleA(NULL);
  g_hInstance = hInstance;
  if (g_hResource == NULL)
    g_hResource = hInstance;
  CWinApp* pApp = AfxGetApp();
  if (pApp != NULL) {
    pApp->m_hInstance = hInstance;
    pApp->m_hPrevInstance = hPrevInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->m_nCmdShow = nCmdShow;

    // Names from the module: the executable's base name, its help file and .INI file.
    char szPath[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(hInstance, szPath, MAX_PATH);
    szPath[n < MAX_PATH ? n : MAX_PATH - 1] = 0;
    char* pszName = szPath;
    for (char* p = szPath; *p; ++p)
      if (*p == '\\' || *p == '/' || *p == ':')
        pszName = p + 1;
    CString exeName(pszName);
    int nDot = exeName.ReverseFind('.');
    if (nDot > 0)
      exeName = exeName.Left(nDot);
    // A Winelib program's module name may carry the ".exe" of its launcher twice over.
    nDot = exeName.ReverseFind('.');
    if (nDot > 0 && exeName.Mid(nDot).CompareNoCase(".exe") == 0)
      exeName = exeName.Left(nDot);
    if (pApp->m_pszExeName == NULL)
      pApp->m_pszExeName = Dup(exeName);
    if (pApp->m_pszHelpFilePath == NULL) {
      CString help(szPath, (int)(pszName - szPath));
      help += exeName + ".HLP";
      pApp->m_pszHelpFilePath = Dup(help);
    }
    if (pApp->m_pszAppName == NULL) {
      CString title;
      if (title.LoadString(AFX_IDS_APP_TITLE) && !title.IsEmpty())
        pApp->m_pszAppName = Dup(title);
      else
        pApp->m_pszAppName = Dup(exeName);
    }
    if (pApp->m_pszProfileName == NULL)
      pApp->m_pszProfileName = Dup(exeName + ".INI");
  }
  return TRUE;
}

void AFXAPI AfxWinTerm()
{
  AfxLockTempMaps();
  AfxUnlockTempMaps(TRUE);
}

int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine,
                      int nCmdShow)
{
  int nReturnCode = -1;
  CWinThread* pThread = AfxGetThread();
  CWinApp* pApp = AfxGetApp();
  if (pThread == NULL)
    pThread = pApp;
  if (pThread == NULL || !AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow))
    goto InitFailure;
  if (pApp != NULL && !pApp->InitApplication())
    goto InitFailure;
  if (!pThread->InitInstance()) {
    if (pThread->m_pMainWnd != NULL && pThread->m_pMainWnd->m_hWnd != NULL)
      pThread->m_pMainWnd->DestroyWindow();
    nReturnCode = pThread->ExitInstance();
    goto InitFailure;
  }
  nReturnCode = pThread->Run();
InitFailure:
  AfxWinTerm();
  return nReturnCode;
}

BOOL CWinApp::InitApplication()
{
  if (m_pDocManager == NULL)
    m_pDocManager = new CDocManager;
  LoadStdProfileSettings(0);
  return TRUE;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::Run()
{
  if (m_pMainWnd == NULL && AfxGetApp() == this)
    ::PostQuitMessage(0);  // nothing to run for
  return CWinThread::Run();
}

int CWinApp::ExitInstance()
{
  SaveStdProfileSettings();
  return (int)m_msgCur.wParam;
}

BOOL CWinApp::OnIdle(LONG lCount)
{
  if (lCount <= 0) {
    CWinThread::OnIdle(lCount);
    if (m_pDocManager != NULL) {
      POSITION pos = m_pDocManager->GetFirstDocTemplatePosition();
      while (pos != NULL)
        m_pDocManager->GetNextDocTemplate(pos)->OnIdle();
    }
  } else if (lCount == 1) {
    CWinThread::OnIdle(lCount);
  }
  return lCount < 1;
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg) { return CWinThread::PreTranslateMessage(pMsg); }

LRESULT CWinApp::ProcessWndProcException(CException* e, const MSG* pMsg)
{
  return CWinThread::ProcessWndProcException(e, pMsg);
}

void CWinApp::DoWaitCursor(int nCode)
{
  m_nWaitCursorCount += nCode;
  if (m_nWaitCursorCount > 0) {
    HCURSOR hcurPrev = ::SetCursor(::LoadCursorA(NULL, (LPCSTR)IDC_WAIT));
    if (nCode > 0 && m_nWaitCursorCount == 1)
      m_hcurWaitCursorRestore = hcurPrev;
  } else {
    m_nWaitCursorCount = 0;
    ::SetCursor(m_hcurWaitCursorRestore != NULL ? m_hcurWaitCursorRestore
                                                : ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW));
  }
}

void CWinApp::WinHelp(DWORD_PTR dwData, UINT nCmd)
{
  CWnd* pWnd = AfxGetMainWnd();
  if (pWnd != NULL && m_pszHelpFilePath != NULL)
    ::WinHelpA(pWnd->m_hWnd, m_pszHelpFilePath, nCmd, dwData);
}

BOOL CWinApp::OnDDECommand(LPTSTR lpszCommand)
{
  return m_pDocManager != NULL && m_pDocManager->OnDDECommand(lpszCommand);
}

void CWinApp::HideApplication()
{
  CWnd* pMainWnd = AfxGetMainWnd();
  if (pMainWnd == NULL || pMainWnd->m_hWnd == NULL)
    return;
  pMainWnd->ShowOwnedPopups(FALSE);
  pMainWnd->ShowWindow(SW_HIDE);
}

// ---------------------------------------------------------------------------------------------
// Resources

HCURSOR CWinApp::LoadCursor(LPCTSTR lpszResourceName) const
{
  return ::LoadCursorA(AfxGetResourceHandle(), lpszResourceName);
}
HCURSOR CWinApp::LoadCursor(UINT nIDResource) const
{
  return ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
}
HCURSOR CWinApp::LoadStandardCursor(LPCTSTR lpszCursorName) const
{
  return ::LoadCursorA(NULL, lpszCursorName);
}
HCURSOR CWinApp::LoadOEMCursor(UINT nIDCursor) const
{
  return ::LoadCursorA(NULL, MAKEINTRESOURCEA(nIDCursor));
}
HICON CWinApp::LoadIcon(LPCTSTR lpszResourceName) const
{
  return ::LoadIconA(AfxGetResourceHandle(), lpszResourceName);
}
HICON CWinApp::LoadIcon(UINT nIDResource) const
{
  return ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
}
HICON CWinApp::LoadStandardIcon(LPCTSTR lpszIconName) const
{
  return ::LoadIconA(NULL, lpszIconName);
}
HICON CWinApp::LoadOEMIcon(UINT nIDIcon) const
{
  return ::LoadIconA(NULL, MAKEINTRESOURCEA(nIDIcon));
}

// ---------------------------------------------------------------------------------------------
// Profile

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey)
{
  Replace(m_pszRegistryKey, lpszRegistryKey);
  Replace(m_pszProfileName, m_pszAppName);
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey)
{
  CString key;
  key.LoadString(nIDRegistryKey);
  SetRegistryKey(key);
}

HKEY CWinApp::GetAppRegistryKey()
{
  if (m_pszRegistryKey == NULL || m_pszProfileName == NULL)
    return NULL;
  HKEY hSoftKey = NULL, hCompanyKey = NULL, hAppKey = NULL;
  DWORD dw;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_WRITE | KEY_READ, &hSoftKey) ==
      ERROR_SUCCESS) {
    if (::RegCreateKeyExA(hSoftKey, m_pszRegistryKey, 0, NULL, REG_OPTION_NON_VOLATILE,
                          KEY_WRITE | KEY_READ, NULL, &hCompanyKey, &dw) == ERROR_SUCCESS) {
      ::RegCreateKeyExA(hCompanyKey, m_pszProfileName, 0, NULL, REG_OPTION_NON_VOLATILE,
                        KEY_WRITE | KEY_READ, NULL, &hAppKey, &dw);
    }
  }
  if (hSoftKey != NULL)
    ::RegCloseKey(hSoftKey);
  if (hCompanyKey != NULL)
    ::RegCloseKey(hCompanyKey);
  return hAppKey;
}

HKEY CWinApp::GetSectionKey(LPCTSTR lpszSection)
{
  HKEY hAppKey = GetAppRegistryKey();
  if (hAppKey == NULL)
    return NULL;
  HKEY hSectionKey = NULL;
  DWORD dw;
  ::RegCreateKeyExA(hAppKey, lpszSection, 0, NULL, REG_OPTION_NON_VOLATILE,
                    KEY_WRITE | KEY_READ, NULL, &hSectionKey, &dw);
  ::RegCloseKey(hAppKey);
  return hSectionKey;
}

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault)
{
  if (m_pszRegistryKey != NULL) {
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL)
      return nDefault;
    DWORD dwValue = 0, dwType = 0, dwCount = sizeof(DWORD);
    LONG lResult = ::RegQueryValueExA(hSecKey, lpszEntry, NULL, &dwType, (LPBYTE)&dwValue, &dwCount);
    ::RegCloseKey(hSecKey);
    if (lResult == ERROR_SUCCESS && dwType == REG_DWORD && dwCount == sizeof(DWORD))
      return (UINT)dwValue;
    return nDefault;
  }
  return ::GetPrivateProfileIntA(lpszSection, lpszEntry, nDefault, m_pszProfileName);
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault)
{
  if (lpszDefault == NULL)
    lpszDefault = "";
  if (m_pszRegistryKey != NULL) {
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL)
      return lpszDefault;
    CString strValue;
    DWORD dwType = 0, dwCount = 0;
    LONG lResult = ::RegQueryValueExA(hSecKey, lpszEntry, NULL, &dwType, NULL, &dwCount);
    if (lResult == ERROR_SUCCESS && (dwType == REG_SZ || dwType == REG_EXPAND_SZ)) {
      // The stored text need not end in a NUL: read into a buffer one byte longer.
      char* buf = strValue.GetBufferSetLength((int)dwCount + 1);
      memset(buf, 0, dwCount + 1);
      lResult = ::RegQueryValueExA(hSecKey, lpszEntry, NULL, &dwType, (LPBYTE)buf, &dwCount);
      buf[dwCount] = 0;
      strValue.ReleaseBuffer();
    } else {
      lResult = ERROR_FILE_NOT_FOUND;
    }
    ::RegCloseKey(hSecKey);
    if (lResult == ERROR_SUCCESS)
      return strValue;
    return lpszDefault;
  }
  char szT[4096];
  ::GetPrivateProfileStringA(lpszSection, lpszEntry, lpszDefault, szT, sizeof(szT),
                             m_pszProfileName);
  return szT;
}

BOOL CWinApp::GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE* ppData,
                               UINT* pBytes)
{
  *ppData = NULL;
  *pBytes = 0;
  if (m_pszRegistryKey != NULL) {
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL)
      return FALSE;
    DWORD dwType = 0, dwCount = 0;
    LONG lResult = ::RegQueryValueExA(hSecKey, lpszEntry, NULL, &dwType, NULL, &dwCount);
    if (lResult == ERROR_SUCCESS && dwType == REG_BINARY) {
      *ppData = new BYTE[dwCount ? dwCount : 1];
      lResult = ::RegQueryValueExA(hSecKey, lpszEntry, NULL, &dwType, *ppData, &dwCount);
      *pBytes = dwCount;
    } else if (lResult == ERROR_SUCCESS) {
      lResult = ERROR_INVALID_DATA;
    }
    ::RegCloseKey(hSecKey);
    if (lResult == ERROR_SUCCESS)
      return TRUE;
    delete[] *ppData;
    *ppData = NULL;
    *pBytes = 0;
    return FALSE;
  }
  // .INI file: two letters 'A'..'P' per byte, low nibble first.
  CString str = GetProfileString(lpszSection, lpszEntry, NULL);
  int nLen = str.GetLength();
  if (nLen == 0 || (nLen % 2) != 0)
    return FALSE;
  *pBytes = (UINT)nLen / 2;
  *ppData = new BYTE[*pBytes];
  for (int i = 0; i < nLen; i += 2)
    (*ppData)[i / 2] = (BYTE)(((str[i + 1] - 'A') << 4) + (str[i] - 'A'));
  return TRUE;
}

BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue)
{
  if (m_pszRegistryKey != NULL) {
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL)
      return FALSE;
    DWORD dw = (DWORD)nValue;
    LONG lResult = ::RegSetValueExA(hSecKey, lpszEntry, 0, REG_DWORD, (const BYTE*)&dw, sizeof(dw));
    ::RegCloseKey(hSecKey);
    return lResult == ERROR_SUCCESS;
  }
  char szT[16];
  snprintf(szT, sizeof(szT), "%d", nValue);
  return ::WritePrivateProfileStringA(lpszSection, lpszEntry, szT, m_pszProfileName);
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue)
{
  if (m_pszRegistryKey != NULL) {
    LONG lResult;
    if (lpszEntry == NULL) {
      // Removes the whole section.
      HKEY hAppKey = GetAppRegistryKey();
      if (hAppKey == NULL)
        return FALSE;
      lResult = ::RegDeleteKeyA(hAppKey, lpszSection);
      ::RegCloseKey(hAppKey);
      return lResult == ERROR_SUCCESS || lResult == ERROR_FILE_NOT_FOUND;
    }
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL)
      return FALSE;
    if (lpszValue == NULL)
      lResult = ::RegDeleteValueA(hSecKey, lpszEntry);
    else
      lResult = ::RegSetValueExA(hSecKey, lpszEntry, 0, REG_SZ, (const BYTE*)lpszValue,
                                 (DWORD)strlen(lpszValue) + 1);
    ::RegCloseKey(hSecKey);
    return lResult == ERROR_SUCCESS;
  }
  return ::WritePrivateProfileStringA(lpszSection, lpszEntry, lpszValue, m_pszProfileName);
}

BOOL CWinApp::WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData,
                                 UINT nBytes)
{
  if (m_pszRegistryKey != NULL) {
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL)
      return FALSE;
    LONG lResult = ::RegSetValueExA(hSecKey, lpszEntry, 0, REG_BINARY, pData, nBytes);
    ::RegCloseKey(hSecKey);
    return lResult == ERROR_SUCCESS;
  }
  CString str;
  char* p = str.GetBufferSetLength((int)nBytes * 2);
  for (UINT i = 0; i < nBytes; i++) {
    p[i * 2] = (char)((pData[i] & 0x0F) + 'A');
    p[i * 2 + 1] = (char)(((pData[i] >> 4) & 0x0F) + 'A');
  }
  str.ReleaseBuffer((int)nBytes * 2);
  return WriteProfileString(lpszSection, lpszEntry, str);
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU)
{
  if (nMaxMRU != 0) {
    delete m_pRecentFileList;
    m_pRecentFileList = new CRecentFileList(0, "Recent File List", "File%d", (int)nMaxMRU);
    m_pRecentFileList->ReadList();
  }
  m_nNumPreviewPages = GetProfileInt("Settings", "PreviewPages", 0);
}

void CWinApp::SaveStdProfileSettings()
{
  if (m_pRecentFileList != NULL)
    m_pRecentFileList->WriteList();
  if (m_nNumPreviewPages != 0)
    WriteProfileInt("Settings", "PreviewPages", (int)m_nNumPreviewPages);
}

void CWinApp::AddToRecentFileList(LPCTSTR lpszPathName)
{
  if (m_pRecentFileList != NULL)
    m_pRecentFileList->Add(lpszPathName);
}

BOOL CWinApp::OnOpenRecentFile(UINT nID)
{
  if (m_pRecentFileList == NULL)
    return FALSE;
  int nIndex = (int)(nID - ID_FILE_MRU_FILE1);
  if (nIndex < 0 || nIndex >= m_pRecentFileList->GetSize())
    return FALSE;
  CString path = (*m_pRecentFileList)[nIndex];
  if (path.IsEmpty())
    return FALSE;
  if (OpenDocumentFile(path) == NULL)
    m_pRecentFileList->Remove(nIndex);
  return TRUE;
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI)
{
  if (m_pRecentFileList == NULL)
    pCmdUI->Enable(FALSE);
  else
    m_pRecentFileList->UpdateMenu(pCmdUI);
}

// ---------------------------------------------------------------------------------------------
// Printer defaults

void CWinApp::UpdatePrinterSelection(BOOL bForceDefaults)
{
  if (m_hDevNames != NULL && !bForceDefaults)
    return;
  PRINTDLGA pd;
  memset(&pd, 0, sizeof(pd));
  pd.lStructSize = sizeof(pd);
  pd.Flags = PD_RETURNDEFAULT;
  if (::PrintDlgA(&pd))
    SelectPrinter(pd.hDevNames, pd.hDevMode, TRUE);
}

BOOL CWinApp::GetPrinterDeviceDefaults(PRINTDLGA* pPrintDlg)
{
  UpdatePrinterSelection(m_hDevNames == NULL);
  if (m_hDevNames == NULL)
    return FALSE;
  pPrintDlg->hDevNames = m_hDevNames;
  pPrintDlg->hDevMode = m_hDevMode;
  return TRUE;
}

void CWinApp::SelectPrinter(HANDLE hDevNames, HANDLE hDevMode, BOOL bFreeOld)
{
  if (bFreeOld) {
    if (m_hDevNames != NULL && m_hDevNames != hDevNames)
      ::GlobalFree(m_hDevNames);
    if (m_hDevMode != NULL && m_hDevMode != hDevMode)
      ::GlobalFree(m_hDevMode);
  }
  m_hDevNames = hDevNames;
  m_hDevMode = hDevMode;
}

BOOL CWinApp::CreatePrinterDC(CDC& dc)
{
  UpdatePrinterSelection(FALSE);
  if (m_hDevNames == NULL)
    return FALSE;
  LPDEVNAMES lpDevNames = (LPDEVNAMES)::GlobalLock(m_hDevNames);
  if (lpDevNames == NULL)
    return FALSE;
  LPDEVMODEA lpDevMode = m_hDevMode != NULL ? (LPDEVMODEA)::GlobalLock(m_hDevMode) : NULL;
  HDC hDC = ::CreateDCA((LPCSTR)lpDevNames + lpDevNames->wDriverOffset,
                        (LPCSTR)lpDevNames + lpDevNames->wDeviceOffset,
                        (LPCSTR)lpDevNames + lpDevNames->wOutputOffset, lpDevMode);
  ::GlobalUnlock(m_hDevNames);
  if (m_hDevMode != NULL)
    ::GlobalUnlock(m_hDevMode);
  if (hDC == NULL)
    return FALSE;
  dc.Attach(hDC);
  return TRUE;
}

void CWinApp::OnFilePrintSetup()
{
  UpdatePrinterSelection(FALSE);
  PRINTDLGA pd;
  memset(&pd, 0, sizeof(pd));
  pd.lStructSize = sizeof(pd);
  pd.hwndOwner = AfxGetMainWnd()->GetSafeHwnd();
  pd.hDevMode = m_hDevMode;
  pd.hDevNames = m_hDevNames;
  pd.Flags = PD_PRINTSETUP;
  if (::PrintDlgA(&pd))
    SelectPrinter(pd.hDevNames, pd.hDevMode, TRUE);
}

// ---------------------------------------------------------------------------------------------
// Standard commands

void CWinApp::OnAppExit()
{
  CWnd* pMainWnd = AfxGetMainWnd();
  if (pMainWnd != NULL && pMainWnd->m_hWnd != NULL)
    pMainWnd->SendMessage(WM_CLOSE);
}

void CWinApp::OnHelp()
{
  if (m_dwPromptContext != 0) {
    WinHelp(m_dwPromptContext, HELP_CONTEXT);
    return;
  }
  WinHelp(0, HELP_INDEX);
}
void CWinApp::OnHelpIndex() { WinHelp(0, HELP_INDEX); }
void CWinApp::OnHelpFinder() { WinHelp(0, HELP_FINDER); }
void CWinApp::OnHelpUsing() { WinHelp(0, HELP_HELPONHELP); }
