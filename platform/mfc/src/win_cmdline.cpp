// The command line: splitting it into arguments, reading them into a CCommandLineInfo and
// carrying out the shell command it names.
#include "afxwin.h"

CCommandLineInfo::CCommandLineInfo()
    : m_bShowSplash(TRUE), m_bRunEmbedded(FALSE), m_bRunAutomated(FALSE), m_nShellCommand(FileNew)
{
}

CCommandLineInfo::~CCommandLineInfo() {}

void CCommandLineInfo::ParseParam(const char* pszParam, BOOL bFlag, BOOL bLast)
{
  if (bFlag)
    ParseParamFlag(pszParam);
  else
    ParseParamNotFlag(pszParam);
  ParseLast(bLast);
}

void CCommandLineInfo::ParseParamFlag(const char* pszParam)
{
  if (lstrcmpiA(pszParam, "pt") == 0) {
    m_nShellCommand = FilePrintTo;
  } else if (lstrcmpiA(pszParam, "p") == 0) {
    m_nShellCommand = FilePrint;
  } else if (lstrcmpiA(pszParam, "Unregister") == 0 || lstrcmpiA(pszParam, "Unregserver") == 0) {
    m_nShellCommand = AppUnregister;
  } else if (lstrcmpiA(pszParam, "dde") == 0) {
    m_nShellCommand = FileDDE;
  } else if (lstrcmpiA(pszParam, "Embedding") == 0) {
    m_bRunEmbedded = TRUE;
    m_bShowSplash = FALSE;
  } else if (lstrcmpiA(pszParam, "Automation") == 0) {
    m_bRunAutomated = TRUE;
    m_bShowSplash = FALSE;
  }
}

void CCommandLineInfo::ParseParamNotFlag(const char* pszParam)
{
  if (m_strFileName.IsEmpty())
    m_strFileName = pszParam;
  else if (m_nShellCommand == FilePrintTo && m_strPrinterName.IsEmpty())
    m_strPrinterName = pszParam;
  else if (m_nShellCommand == FilePrintTo && m_strDriverName.IsEmpty())
    m_strDriverName = pszParam;
  else if (m_nShellCommand == FilePrintTo && m_strPortName.IsEmpty())
    m_strPortName = pszParam;
}

void CCommandLineInfo::ParseLast(BOOL bLast)
{
  if (bLast) {
    if (m_nShellCommand == FileNew && !m_strFileName.IsEmpty())
      m_nShellCommand = FileOpen;
    m_bShowSplash = !m_bRunEmbedded && !m_bRunAutomated;
  }
}

// The C runtime's rules: blanks separate arguments; double quotes group and are removed;
// 2n backslashes before a quote give n backslashes and the quote groups, 2n+1 give n and a
// literal quote; other backslashes are kept; "" inside quotes is a literal quote.
void AFXAPI AfxSplitCommandLine(LPCTSTR lpszCmdLine, CStringArray& args)
{
  args.RemoveAll();
  if (lpszCmdLine == NULL)
    return;
  const char* p = lpszCmdLine;
  for (;;) {
    while (*p == ' ' || *p == '\t')
      p++;
    if (*p == 0)
      break;
    CString arg;
    BOOL bInQuotes = FALSE;
    while (*p != 0 && (bInQuotes || (*p != ' ' && *p != '\t'))) {
      if (*p == '\\') {
        int nSlashes = 0;
        while (*p == '\\') {
          nSlashes++;
          p++;
        }
        if (*p == '"') {
          for (int i = 0; i < nSlashes / 2; i++)
            arg += '\\';
          if (nSlashes % 2) {
            arg += '"';
            p++;
          }
        } else {
          for (int i = 0; i < nSlashes; i++)
            arg += '\\';
        }
      } else if (*p == '"') {
        if (bInQuotes && p[1] == '"') {
          arg += '"';
          p += 2;
        } else {
          bInQuotes = !bInQuotes;
          p++;
        }
      } else {
        arg += *p++;
      }
    }
    args.Add(arg);
  }
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo)
{
  CStringArray args;
  AfxSplitCommandLine(m_lpCmdLine, args);
  INT_PTR n = args.GetSize();
  for (INT_PTR i = 0; i < n; i++) {
    const CString& arg = args[i];
    BOOL bFlag = FALSE;
    const char* pszParam = arg;
    if (arg.GetLength() > 1 && (pszParam[0] == '-' || pszParam[0] == '/')) {
      bFlag = TRUE;
      ++pszParam;
    }
    rCmdInfo.ParseParam(pszParam, bFlag, i == n - 1);
  }
  if (n == 0)
    rCmdInfo.ParseLast(TRUE);
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo)
{
  BOOL bResult = TRUE;
  switch (rCmdInfo.m_nShellCommand) {
  case CCommandLineInfo::FileNew:
    if (!OnCmdMsg(ID_FILE_NEW, 0, NULL, NULL))
      OnFileNew();
    if (m_pMainWnd == NULL)
      bResult = FALSE;
    break;
  case CCommandLineInfo::FileOpen:
    if (!OpenDocumentFile(rCmdInfo.m_strFileName))
      bResult = FALSE;
    break;
  case CCommandLineInfo::FilePrintTo:
  case CCommandLineInfo::FilePrint:
    m_nCmdShow = SW_HIDE;
    if (!OpenDocumentFile(rCmdInfo.m_strFileName)) {
      bResult = FALSE;
      break;
    }
    if (m_pMainWnd != NULL)
      m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT);
    bResult = FALSE;  // the program ends once printed
    break;
  case CCommandLineInfo::FileDDE:
    m_nCmdShow = SW_HIDE;
    break;
  case CCommandLineInfo::AppUnregister:
    bResult = FALSE;
    break;
  case CCommandLineInfo::FileNothing:
  default:
    break;
  }
  return bResult;
}
