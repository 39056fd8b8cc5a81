// Common dialogs: file open and save, colour, print and page setup.
#include "afxdlgs.h"
#include "afxpriv.h"

#include <cderr.h>
#include <dlgs.h>

IMPLEMENT_DYNAMIC(CCommonDialog, CDialog)
IMPLEMENT_DYNAMIC(CFileDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CColorDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CPrintDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CPageSetupDialog, CCommonDialog)

CCommonDialog::CCommonDialog(CWnd* pParentWnd) : CDialog((UINT)0, pParentWnd) {}

// The dialog's own code ends it; the framework's OnOK/OnCancel must not end it a second time.
void CCommonDialog::OnOK() { Default(); }
void CCommonDialog::OnCancel() { Default(); }

// Every common dialog carries the address of its object in its record's custom data; the
// hook attaches the object to the window at WM_INITDIALOG and lets the message map see the
// rest (notifications, commands, timers).
static CCommonDialog* s_pInitDialog;  // the object whose dialog is being created (UI thread)

UINT_PTR CALLBACK AfxCommDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG)
        return 0;
    CCommonDialog* pDlg = s_pInitDialog;
    s_pInitDialog = NULL;
    if (pDlg != NULL && pDlg->m_hWnd == NULL)
        pDlg->SubclassWindow(hWnd);
    return pDlg != NULL ? pDlg->OnInitDialog() : TRUE;
}

// Runs one common dialog the modal way: owner disabled by the dialog itself, the object
// attached through the hook while it runs and detached afterwards.
template <class F>
static INT_PTR RunCommonDialog(CCommonDialog* pDlg, F run)
{
    s_pInitDialog = pDlg;
    BOOL bOK = run();
    s_pInitDialog = NULL;
    if (pDlg->m_hWnd != NULL)
        pDlg->Detach();
    return bOK ? IDOK : IDCANCEL;
}

// ---------------------------------------------------------------------------------------------
// File dialog

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName,
                         DWORD dwFlags, LPCTSTR lpszFilter, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd)
{
    memset(&m_ofn, 0, sizeof(m_ofn));
    m_szFileName[0] = '\0';
    m_szFileTitle[0] = '\0';
    m_bOpenFileDialog = bOpenFileDialog;
    m_pTemplateWin3 = m_pTemplateWin4 = NULL;
    m_nIDHelp = 0;

    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = sizeof(m_szFileName);
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = sizeof(m_szFileTitle);
    m_ofn.Flags = dwFlags | OFN_ENABLEHOOK | OFN_EXPLORER;
    m_ofn.lpfnHook = (LPOFNHOOKPROC)AfxCommDlgProc;
    m_ofn.hInstance = AfxGetResourceHandle();

    if (lpszDefExt != NULL) {
        m_strDefExt = lpszDefExt;
        m_ofn.lpstrDefExt = m_strDefExt;
    }
    if (lpszFileName != NULL)
        lstrcpynA(m_szFileName, lpszFileName, sizeof(m_szFileName));
    if (lpszFilter != NULL) {
        // "desc|pattern|...||" becomes the NUL-separated list the dialog reads.
        m_strFilter = lpszFilter;
        int n = m_strFilter.GetLength();
        LPTSTR p = m_strFilter.GetBuffer(n + 1);
        for (int i = 0; i < n; i++)
            if (p[i] == '|')
                p[i] = '\0';
        m_strFilter.ReleaseBuffer(n);
        m_ofn.lpstrFilter = m_strFilter;
    }
}

INT_PTR CFileDialog::DoModal()
{
    m_ofn.hwndOwner = CWnd::GetSafeOwner(m_pParentWnd, &m_hWndTop)->GetSafeHwnd();
    if (m_ofn.Flags & OFN_EXPLORER) {
        if (m_pTemplateWin4 != NULL) {
            m_ofn.Flags |= OFN_ENABLETEMPLATE;
            m_ofn.lpTemplateName = m_pTemplateWin4;
        }
    } else if (m_pTemplateWin3 != NULL) {
        m_ofn.Flags |= OFN_ENABLETEMPLATE;
        m_ofn.lpTemplateName = m_pTemplateWin3;
    }
    // Both delimiters of a multiple selection end in two NULs: clear what follows the
    // initial name so an old tail cannot be read as further files.
    int nLen = lstrlenA(m_ofn.lpstrFile);
    if ((DWORD)nLen + 1 < m_ofn.nMaxFile)
        m_ofn.lpstrFile[nLen + 1] = '\0';

    INT_PTR nResult = RunCommonDialog(this, [this] {
        return m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    });
    if (m_hWndTop != NULL)
        ::EnableWindow(m_hWndTop, TRUE);
    m_hWndTop = NULL;
    return nResult;
}

HWND CFileDialog::DialogWindow() const
{
    return (m_ofn.Flags & OFN_EXPLORER) ? ::GetParent(m_hWnd) : m_hWnd;
}

CString CFileDialog::GetPathName() const
{
    if ((m_ofn.Flags & OFN_EXPLORER) && m_hWnd != NULL) {
        // While shown: what the dialog holds now.
        char buf[MAX_PATH] = "";
        if (::SendMessageA(DialogWindow(), CDM_GETFILEPATH, sizeof(buf), (LPARAM)buf) > 0)
            return buf;
        return "";
    }
    return m_ofn.lpstrFile;
}

CString CFileDialog::GetFileName() const
{
    if ((m_ofn.Flags & OFN_EXPLORER) && m_hWnd != NULL) {
        char buf[MAX_PATH] = "";
        if (::SendMessageA(DialogWindow(), CDM_GETSPEC, sizeof(buf), (LPARAM)buf) > 0)
            return buf;
        return "";
    }
    return m_ofn.lpstrFileTitle != NULL ? CString(m_ofn.lpstrFileTitle) : CString();
}

CString CFileDialog::GetFileExt() const
{
    CString name = GetFileName();
    int nDot = name.ReverseFind('.');
    return nDot >= 0 ? name.Mid(nDot + 1) : CString();
}

CString CFileDialog::GetFileTitle() const
{
    CString name = GetFileName();
    int nDot = name.ReverseFind('.');
    return nDot >= 0 ? name.Left(nDot) : name;
}

CString CFileDialog::GetFolderPath() const
{
    char buf[MAX_PATH] = "";
    if (m_hWnd != NULL)
        ::SendMessageA(DialogWindow(), CDM_GETFOLDERPATH, sizeof(buf), (LPARAM)buf);
    return buf;
}

void CFileDialog::SetControlText(int nID, LPCSTR lpsz)
{
    // Newer Explorer-style dialogs have a file-name combo box (cmb13) where older ones had
    // the edit edt1; callers written for either name reach the box that is there.
    HWND hDlg = DialogWindow();
    if (nID == edt1 && ::GetDlgItem(hDlg, edt1) == NULL && ::GetDlgItem(hDlg, cmb13) != NULL)
        nID = cmb13;
    else if (nID == cmb13 && ::GetDlgItem(hDlg, cmb13) == NULL && ::GetDlgItem(hDlg, edt1) != NULL)
        nID = edt1;
    ::SendMessageA(hDlg, CDM_SETCONTROLTEXT, nID, (LPARAM)lpsz);
}

void CFileDialog::HideControl(int nID) { ::SendMessageA(DialogWindow(), CDM_HIDECONTROL, nID, 0); }

void CFileDialog::SetDefExt(LPCSTR lpsz) { ::SendMessageA(DialogWindow(), CDM_SETDEFEXT, 0, (LPARAM)lpsz); }

void CFileDialog::SetTemplate(UINT nWin3ID, UINT nWin4ID)
{
    SetTemplate(nWin3ID ? MAKEINTRESOURCE(nWin3ID) : NULL, nWin4ID ? MAKEINTRESOURCE(nWin4ID) : NULL);
}

void CFileDialog::SetTemplate(LPCTSTR lpWin3ID, LPCTSTR lpWin4ID)
{
    m_pTemplateWin3 = lpWin3ID;
    m_pTemplateWin4 = lpWin4ID;
    LPCTSTR name = lpWin4ID != NULL ? lpWin4ID : lpWin3ID;
    if (name != NULL) {
        HINSTANCE hInst = AfxFindResourceHandle(name, RT_DIALOG);
        if (::FindResourceA(hInst, name, (LPCSTR)RT_DIALOG) == NULL)
            hInst = ::GetModuleHandleA(NULL);
        m_ofn.hInstance = hInst;
    }
}

void AfxSplitMultiSelect(LPCSTR lpszBuffer, BOOL bExplorer, CStringArray& paths)
{
    paths.RemoveAll();
    if (lpszBuffer == NULL || *lpszBuffer == '\0')
        return;
    CString dir;
    LPCSTR p;
    if (bExplorer) {
        // "dir\0name\0name\0\0", or "path\0\0" for one file
        dir = lpszBuffer;
        p = lpszBuffer + dir.GetLength() + 1;
        if (*p == '\0') {
            paths.Add(dir);
            return;
        }
    } else {
        // "dir name name\0", or "path\0" for one file
        LPCSTR space = strchr(lpszBuffer, ' ');
        if (space == NULL) {
            paths.Add(lpszBuffer);
            return;
        }
        dir = CString(lpszBuffer, (int)(space - lpszBuffer));
        p = space + 1;
    }
    if (!dir.IsEmpty() && dir[dir.GetLength() - 1] != '\\' && dir[dir.GetLength() - 1] != '/')
        dir += '\\';
    while (*p != '\0') {
        LPCSTR end = bExplorer ? p + strlen(p) : strchr(p, ' ');
        if (end == NULL)
            end = p + strlen(p);
        if (end > p)
            paths.Add(dir + CString(p, (int)(end - p)));
        if (*end == '\0' && !bExplorer)
            break;
        p = end + 1;
    }
}

POSITION CFileDialog::GetStartPosition() const
{
    return m_ofn.lpstrFile != NULL && *m_ofn.lpstrFile != '\0' ? (POSITION)1 : NULL;
}

CString CFileDialog::GetNextPathName(POSITION& pos) const
{
    // pos counts the files from 1.
    CStringArray paths;
    if (m_ofn.Flags & OFN_ALLOWMULTISELECT)
        AfxSplitMultiSelect(m_ofn.lpstrFile, (m_ofn.Flags & OFN_EXPLORER) != 0, paths);
    else
        paths.Add(m_ofn.lpstrFile);
    INT_PTR i = (INT_PTR)pos - 1;
    if (i < 0 || i >= paths.GetSize()) {
        pos = NULL;
        return CString();
    }
    pos = i + 1 < paths.GetSize() ? (POSITION)(i + 2) : NULL;
    return paths[i];
}

UINT CFileDialog::OnShareViolation(LPCTSTR) { return OFN_SHAREWARN; }
BOOL CFileDialog::OnFileNameOK() { return FALSE; }
void CFileDialog::OnLBSelChangedNotify(UINT, UINT, UINT) {}
void CFileDialog::OnInitDone() {}
void CFileDialog::OnFileNameChange() {}
void CFileDialog::OnFolderChange() {}
void CFileDialog::OnTypeChange() {}

BOOL CFileDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (CCommonDialog::OnNotify(wParam, lParam, pResult))
        return TRUE;
    OFNOTIFYA* pNotify = (OFNOTIFYA*)lParam;
    LRESULT lResult = 0;
    switch (pNotify->hdr.code) {
    case CDN_INITDONE:
        OnInitDone();
        break;
    case CDN_SELCHANGE:
        OnFileNameChange();
        break;
    case CDN_FOLDERCHANGE:
        OnFolderChange();
        break;
    case CDN_SHAREVIOLATION:
        lResult = OnShareViolation(pNotify->pszFile);
        break;
    case CDN_HELP:
        SendMessage(WM_COMMAND, ID_HELP);
        break;
    case CDN_FILEOK:
        // TRUE refuses the name and keeps the dialog open.
        lResult = OnFileNameOK();
        break;
    case CDN_TYPECHANGE:
        OnTypeChange();
        break;
    default:
        return FALSE;
    }
    ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, lResult);
    *pResult = lResult;
    return TRUE;
}

void CFileDialog::OnOK() { Default(); }
void CFileDialog::OnCancel() { Default(); }

// ---------------------------------------------------------------------------------------------
// Colour dialog

static COLORREF s_clrSavedCustom[16] = {
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)};

COLORREF* PASCAL CColorDialog::GetSavedCustomColors() { return s_clrSavedCustom; }

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd)
{
    memset(&m_cc, 0, sizeof(m_cc));
    m_cc.lStructSize = sizeof(m_cc);
    m_cc.lpCustColors = s_clrSavedCustom;  // shared by every colour dialog of the program
    m_cc.Flags = dwFlags | CC_ENABLEHOOK;
    m_cc.lpfnHook = (LPCCHOOKPROC)AfxCommDlgProc;
    if ((m_cc.rgbResult = clrInit) != 0)
        m_cc.Flags |= CC_RGBINIT;
}

INT_PTR CColorDialog::DoModal()
{
    m_cc.hwndOwner = CWnd::GetSafeOwner(m_pParentWnd, &m_hWndTop)->GetSafeHwnd();
    INT_PTR nResult = RunCommonDialog(this, [this] { return ::ChooseColorA(&m_cc); });
    if (m_hWndTop != NULL)
        ::EnableWindow(m_hWndTop, TRUE);
    m_hWndTop = NULL;
    return nResult;
}

void CColorDialog::SetCurrentColor(COLORREF clr)
{
    // While shown: the dialog's RGB edits take the colour.
    if (m_hWnd != NULL) {
        ::SetDlgItemInt(m_hWnd, 706, GetRValue(clr), FALSE);
        ::SetDlgItemInt(m_hWnd, 707, GetGValue(clr), FALSE);
        ::SetDlgItemInt(m_hWnd, 708, GetBValue(clr), FALSE);
    }
    m_cc.rgbResult = clr;
}

BOOL CColorDialog::OnColorOK() { return FALSE; }

// ---------------------------------------------------------------------------------------------
// Print and page setup

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd), m_bPrintSetupOnly(bPrintSetupOnly)
{
    memset(&m_pd, 0, sizeof(m_pd));
    m_pd.lStructSize = sizeof(m_pd);
    m_pd.Flags = dwFlags | PD_ENABLEPRINTHOOK | PD_ENABLESETUPHOOK;
    m_pd.lpfnPrintHook = (LPPRINTHOOKPROC)AfxCommDlgProc;
    m_pd.lpfnSetupHook = (LPSETUPHOOKPROC)AfxCommDlgProc;
    if (bPrintSetupOnly)
        m_pd.Flags |= PD_PRINTSETUP;
    else
        m_pd.Flags |= PD_RETURNDC;
    m_pd.nCopies = 1;
}

CPrintDialog::~CPrintDialog()
{
    if (m_pd.hDC != NULL)
        ::DeleteDC(m_pd.hDC);
}

INT_PTR CPrintDialog::DoModal()
{
    m_pd.hwndOwner = CWnd::GetSafeOwner(m_pParentWnd, &m_hWndTop)->GetSafeHwnd();
    INT_PTR nResult = RunCommonDialog(this, [this] { return ::PrintDlgA(&m_pd); });
    if (m_hWndTop != NULL)
        ::EnableWindow(m_hWndTop, TRUE);
    m_hWndTop = NULL;
    return nResult;
}

BOOL CPrintDialog::GetDefaults()
{
    // PD_RETURNDEFAULT needs empty device handles; the hooks are not called.
    DWORD dwFlags = m_pd.Flags;
    m_pd.Flags |= PD_RETURNDEFAULT;
    m_pd.Flags &= ~(PD_ENABLEPRINTHOOK | PD_ENABLESETUPHOOK);
    BOOL bOK = ::PrintDlgA(&m_pd);
    m_pd.Flags = dwFlags;
    return bOK;
}

int CPrintDialog::GetCopies() const
{
    if (m_pd.Flags & PD_USEDEVMODECOPIES) {
        LPDEVMODEA pDevMode = GetDevMode();
        int n = pDevMode != NULL ? pDevMode->dmCopies : m_pd.nCopies;
        if (pDevMode != NULL)
            ::GlobalUnlock(m_pd.hDevMode);
        return n;
    }
    return m_pd.nCopies;
}

// The device handles are global memory blocks that the dialog fills; the callers read them
// locked for the moment of the call.
static LPDEVMODEA LockDevMode(HGLOBAL hDevMode)
{
    return hDevMode != NULL ? (LPDEVMODEA)::GlobalLock(hDevMode) : NULL;
}

static CString DevNamesField(HGLOBAL hDevNames, int nField)
{
    if (hDevNames == NULL)
        return CString();
    LPDEVNAMES p = (LPDEVNAMES)::GlobalLock(hDevNames);
    if (p == NULL)
        return CString();
    WORD offsets[3] = {p->wDriverOffset, p->wDeviceOffset, p->wOutputOffset};
    CString s = (LPCSTR)p + offsets[nField];
    ::GlobalUnlock(hDevNames);
    return s;
}

static HDC CreateDCFromHandles(HGLOBAL hDevNames, HGLOBAL hDevMode)
{
    if (hDevNames == NULL)
        return NULL;
    LPDEVMODEA pDevMode = LockDevMode(hDevMode);
    HDC hDC = ::CreateDCA(DevNamesField(hDevNames, 0), DevNamesField(hDevNames, 1),
                          DevNamesField(hDevNames, 2), pDevMode);
    if (pDevMode != NULL)
        ::GlobalUnlock(hDevMode);
    return hDC;
}

LPDEVMODEA CPrintDialog::GetDevMode() const { return LockDevMode(m_pd.hDevMode); }
CString CPrintDialog::GetDriverName() const { return DevNamesField(m_pd.hDevNames, 0); }
CString CPrintDialog::GetDeviceName() const { return DevNamesField(m_pd.hDevNames, 1); }
CString CPrintDialog::GetPortName() const { return DevNamesField(m_pd.hDevNames, 2); }
HDC CPrintDialog::GetPrinterDC() const { return m_pd.hDC; }

HDC CPrintDialog::CreatePrinterDC()
{
    if (m_pd.hDC != NULL)
        ::DeleteDC(m_pd.hDC);
    m_pd.hDC = CreateDCFromHandles(m_pd.hDevNames, m_pd.hDevMode);
    return m_pd.hDC;
}

namespace {
// The page-setup dialog running on this thread: the paint hook reaches its virtuals.
thread_local CPageSetupDialog* t_pageSetupDialog = NULL;

UINT_PTR CALLBACK PagePaintHook(HWND, UINT message, WPARAM wParam, LPARAM lParam)
{
    CPageSetupDialog* dialog = t_pageSetupDialog;
    if (dialog == NULL)
        return 0;
    if (message == WM_PSD_PAGESETUPDLG)
        return dialog->PreDrawPage(LOWORD(wParam), HIWORD(wParam), (LPPAGESETUPDLGA)lParam);
    if (message >= WM_PSD_FULLPAGERECT && message <= WM_PSD_YAFULLPAGERECT)
        return dialog->OnDrawPage(CDC::FromHandle((HDC)wParam), message, (LPRECT)lParam);
    return 0;
}
}  // namespace

CPageSetupDialog::CPageSetupDialog(DWORD dwFlags, CWnd* pParentWnd) : CCommonDialog(pParentWnd)
{
    memset(&m_psd, 0, sizeof(m_psd));
    m_psd.lStructSize = sizeof(m_psd);
    m_psd.Flags = dwFlags | PSD_ENABLEPAGESETUPHOOK | PSD_ENABLEPAGEPAINTHOOK;
    m_psd.lpfnPageSetupHook = (LPPAGESETUPHOOK)AfxCommDlgProc;
    m_psd.lpfnPagePaintHook = (LPPAGEPAINTHOOK)PagePaintHook;
}

UINT CPageSetupDialog::PreDrawPage(WORD, WORD, LPPAGESETUPDLGA)
{
    return 0;
}

UINT CPageSetupDialog::OnDrawPage(CDC*, UINT, LPRECT)
{
    return 0;
}

CPageSetupDialog::~CPageSetupDialog()
{
    if (m_psd.hDevMode != NULL)
        ::GlobalFree(m_psd.hDevMode);
    if (m_psd.hDevNames != NULL)
        ::GlobalFree(m_psd.hDevNames);
}

INT_PTR CPageSetupDialog::DoModal()
{
    m_psd.hwndOwner = CWnd::GetSafeOwner(m_pParentWnd, &m_hWndTop)->GetSafeHwnd();
    CPageSetupDialog* outer = t_pageSetupDialog;
    t_pageSetupDialog = this;
    INT_PTR nResult = RunCommonDialog(this, [this] { return ::PageSetupDlgA(&m_psd); });
    t_pageSetupDialog = outer;
    if (m_hWndTop != NULL)
        ::EnableWindow(m_hWndTop, TRUE);
    m_hWndTop = NULL;
    return nResult;
}

LPDEVMODEA CPageSetupDialog::GetDevMode() const { return LockDevMode(m_psd.hDevMode); }
CString CPageSetupDialog::GetDriverName() const { return DevNamesField(m_psd.hDevNames, 0); }
CString CPageSetupDialog::GetDeviceName() const { return DevNamesField(m_psd.hDevNames, 1); }
CString CPageSetupDialog::GetPortName() const { return DevNamesField(m_psd.hDevNames, 2); }
HDC CPageSetupDialog::CreatePrinterDC() { return CreateDCFromHandles(m_psd.hDevNames, m_psd.hDevMode); }

void CPageSetupDialog::GetMargins(LPRECT lpRectMargins, LPRECT lpRectMinMargins) const
{
    if (lpRectMargins != NULL)
        *lpRectMargins = m_psd.rtMargin;
    if (lpRectMinMargins != NULL)
        *lpRectMinMargins = m_psd.rtMinMargin;
}
