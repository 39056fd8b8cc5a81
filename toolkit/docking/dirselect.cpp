#include "dirselect.h"
#include "browse_res.h"
#include <shlobj.h>
#include <vector>

BOOL SECIsWindows4()
{
    return LOBYTE(LOWORD(::GetVersion())) >= 4;
}

IMPLEMENT_DYNAMIC(SECDirSelectDlg, CFileDialog)

BEGIN_MESSAGE_MAP(SECDirSelectDlg, CFileDialog)
    ON_WM_PAINT()
END_MESSAGE_MAP()

SECDirSelectDlg::SECDirSelectDlg(LPCTSTR lpszTitle, CWnd* pParent, LPCTSTR lpszInitialDir)
    : CFileDialog(FALSE, NULL, NULL,
                  OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_SHOWHELP | OFN_ENABLETEMPLATE,
                  "(nofiles)|NOFILES.$$$||", pParent),
      m_pParent(pParent), m_wStyle(SECDSD_FILEDIALOG)
{
    Init(lpszTitle, lpszInitialDir);
}

SECDirSelectDlg::SECDirSelectDlg(WORD wStyle, LPCTSTR lpszTitle, LPCTSTR lpszInitialDir,
                                 CWnd* pParent)
    : CFileDialog(FALSE, NULL, NULL,
                  OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_SHOWHELP | OFN_ENABLETEMPLATE,
                  "(nofiles)|NOFILES.$$$||", pParent),
      m_pParent(pParent), m_wStyle(0)
{
    SetStyle(wStyle);
    Init(lpszTitle, lpszInitialDir);
}

void SECDirSelectDlg::Init(LPCTSTR lpszTitle, LPCTSTR lpszInitialDir)
{
    memset(m_szDirName, 0, sizeof m_szDirName);
    SetTitle(lpszTitle);
    SetInitialDir(lpszInitialDir);
    m_ofn.lpstrFile = m_szDirName;
    m_ofn.nMaxFile = sizeof m_szDirName;
    m_ofn.Flags &= ~OFN_EXPLORER;
    m_ofn.hInstance = AfxGetResourceHandle();
    m_ofn.lpTemplateName = MAKEINTRESOURCEA(IDD_SEC_DIRSELECT);
}

WORD SECDirSelectDlg::SetStyle(const WORD& wStyle)
{
    WORD wOld = m_wStyle;
    m_wStyle &= ~(SECDSD_FILEDIALOG | SECDSD_RESERVED);
    if (SECIsWindows4())
        m_wStyle |= wStyle;
    else
        m_wStyle |= SECDSD_FILEDIALOG;
    return wOld;
}

void SECDirSelectDlg::SetTitle(LPCTSTR lpszTitle)
{
    m_strTitle = lpszTitle;
    m_ofn.lpstrTitle = lpszTitle != NULL ? (LPCTSTR)m_strTitle : NULL;
}

void SECDirSelectDlg::SetInitialDir(LPCTSTR lpszDir)
{
    m_strInitialDir = lpszDir;
    m_ofn.lpstrInitialDir = lpszDir != NULL ? (LPCTSTR)m_strInitialDir : NULL;
}

INT_PTR SECDirSelectDlg::DoModal()
{
    if (m_wStyle & SECDSD_FILEDIALOG)
        return CFileDialog::DoModal();
    CString path;
    if (!BrowseForFolder(path))
        return IDCANCEL;
    lstrcpynA(m_szDirName, path, sizeof m_szDirName);
    m_ofn.nFileOffset = 0xFFFF;
    return IDOK;
}

BOOL SECDirSelectDlg::OnInitDialog()
{
    CFileDialog::OnInitDialog();
    for (int nID : {1090, 1152, 1120, 1089, 1136})
        ::ShowWindow(::GetDlgItem(m_hWnd, nID), SW_HIDE);
    // A file name in the chosen folder, so that OK closes the dialog there.
    CString noClose;
    noClose.LoadString(IDS_SEC_NOCLOSE);
    ::SetDlgItemTextA(m_hWnd, 1152, noClose);
    ::SetFocus(::GetDlgItem(m_hWnd, 1121));
    return FALSE;
}

void SECDirSelectDlg::OnPaint()
{
    Default();
}

void SECDirSelectDlg::GetPath(CString& path) const
{
    if (m_ofn.nFileOffset == 0xFFFF)
        path = m_szDirName;
    else
        path = CString(m_szDirName).Left(m_ofn.nFileOffset);
}

namespace {

int CALLBACK SelectInitialFolder(HWND hWnd, UINT uMsg, LPARAM, LPARAM lpData)
{
    if (uMsg == BFFM_INITIALIZED)
        ::SendMessageA(hWnd, BFFM_SETSELECTIONA, FALSE, lpData);
    return 0;
}

}  // namespace

BOOL SECDirSelectDlg::BrowseForFolder(CString& path)
{
    path = m_strInitialDir;
    IMalloc* pMalloc = NULL;
    if (FAILED(::SHGetMalloc(&pMalloc)))
        return FALSE;
    IShellFolder* pDesktop = NULL;
    if (FAILED(::SHGetDesktopFolder(&pDesktop))) {
        pMalloc->Release();
        return FALSE;
    }
    if (path.IsEmpty()) {
        char dir[MAX_PATH] = "";
        ::GetCurrentDirectoryA(sizeof dir, dir);
        path = dir;
    }

    BOOL bChosen = FALSE;
    int n = ::MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, path, -1, NULL, 0);
    std::vector<WCHAR> wide(n > 0 ? n : 1, 0);
    LPITEMIDLIST pidlStart = NULL;
    if (n > 0 && ::MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, path, -1, wide.data(), n) > 0 &&
        SUCCEEDED(pDesktop->ParseDisplayName(NULL, NULL, wide.data(), NULL, &pidlStart, NULL))) {
        char display[MAX_PATH] = "";
        BROWSEINFOA bi;
        memset(&bi, 0, sizeof bi);
        bi.hwndOwner = m_pParent->GetSafeHwnd();
        bi.pszDisplayName = display;
        bi.lpszTitle = m_strTitle;
        bi.lpfn = SelectInitialFolder;
        bi.lParam = (LPARAM)pidlStart;
        LPITEMIDLIST pidlChosen = ::SHBrowseForFolderA(&bi);
        if (pidlChosen != NULL) {
            char chosen[MAX_PATH] = "";
            if (::SHGetPathFromIDListA(pidlChosen, chosen)) {
                path = chosen;
                if (path.IsEmpty() || path[path.GetLength() - 1] != '\\')
                    path += '\\';
                bChosen = TRUE;
            }
            pMalloc->Free(pidlChosen);
        }
        pMalloc->Free(pidlStart);
    }
    pDesktop->Release();
    pMalloc->Release();
    return bChosen;
}
