#include "browseedit.h"
#include "browse_res.h"
#include "dirselect.h"
#include "filesys.h"

// ---------------------------------------------------------------------------------------------
// SECBrowseButton

IMPLEMENT_DYNAMIC(SECBrowseButton, CButton)

SECBrowseButton::SECBrowseButton(SECBrowseEditBase* pEdit) : m_pEdit(pEdit), m_nID(0) {}

BOOL SECBrowseButton::CreateButton()
{
    CWnd* pParent = m_pEdit->GetParent();
    if (pParent == NULL)
        return FALSE;
    CRect rc;
    m_pEdit->GetWindowRect(&rc);
    pParent->ScreenToClient(&rc);
    m_pEdit->MoveWindow(rc.left, rc.top, rc.Width() - 26, rc.Height());

    UINT nID = 0x7FFF;
    while (nID > 0 && ::GetDlgItem(pParent->m_hWnd, (int)nID) != NULL)
        nID--;
    m_nID = nID;
    CRect rectButton(rc.right - 25, rc.top, rc.right, rc.bottom);
    if (!Create("...", WS_CHILD | WS_VISIBLE | WS_TABSTOP, rectButton, pParent, nID))
        return FALSE;
    SetFont(m_pEdit->GetFont(), FALSE);
    ::SetWindowPos(m_hWnd, m_pEdit->m_hWnd, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EnableWindow(pParent->IsWindowEnabled());
    return TRUE;
}

BOOL SECBrowseButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam,
                                    LRESULT* pResult)
{
    if (message == WM_COMMAND && LOWORD(wParam) == m_nID && HIWORD(wParam) == BN_CLICKED &&
        m_pEdit != NULL) {
        m_pEdit->Browse();
        return TRUE;
    }
    return CButton::OnChildNotify(message, wParam, lParam, pResult);
}

void SECBrowseButton::PostNcDestroy()
{
    if (m_pEdit != NULL && m_pEdit->m_pButton == this)
        m_pEdit->m_pButton = NULL;
    delete this;
}

// ---------------------------------------------------------------------------------------------
// SECBrowseEditBase

IMPLEMENT_DYNAMIC(SECBrowseEditBase, CEdit)

BEGIN_MESSAGE_MAP(SECBrowseEditBase, CEdit)
    ON_WM_DESTROY()
    ON_WM_ENABLE()
    ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

SECBrowseEditBase::SECBrowseEditBase() : m_pButton(NULL) {}

SECBrowseEditBase::~SECBrowseEditBase()
{
    DropButton();
}

void SECBrowseEditBase::DropButton()
{
    SECBrowseButton* pButton = m_pButton;
    m_pButton = NULL;
    if (pButton == NULL)
        return;
    pButton->m_pEdit = NULL;
    if (pButton->m_hWnd != NULL)
        pButton->DestroyWindow();  // deletes itself
    else
        delete pButton;
}

BOOL SECBrowseEditBase::Initialize(UINT nID, CWnd* pDialog)
{
    HWND hItem = ::GetDlgItem(pDialog->GetSafeHwnd(), (int)nID);
    BOOL bEnabled = hItem != NULL && ::IsWindowEnabled(hItem);
    if (!SubclassDlgItem(nID, pDialog))
        return FALSE;
    SECBrowseButton* pButton = new SECBrowseButton(this);
    if (!pButton->CreateButton()) {
        delete pButton;
        return TRUE;  // the edit works on without its button
    }
    m_pButton = pButton;
    m_pButton->EnableWindow(bEnabled);
    return TRUE;
}

void SECBrowseEditBase::OnDestroy()
{
    DropButton();
    CEdit::OnDestroy();
}

void SECBrowseEditBase::OnEnable(BOOL bEnable)
{
    CEdit::OnEnable(bEnable);
    if (m_pButton != NULL)
        m_pButton->EnableWindow(bEnable);
}

void SECBrowseEditBase::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CEdit::OnShowWindow(bShow, nStatus);
    if (m_pButton != NULL)
        m_pButton->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

BOOL SECBrowseEditBase::IsExistingDirectory(CString& path)
{
    int n = path.GetLength();
    if (n > 0 && path[n - 1] == '\\')
        path = path.Left(n - 1);
    // A drive is tested by its root folder.
    n = path.GetLength();
    if (n > 0 && path[n - 1] == ':')
        path += '\\';
    DWORD attr = ::GetFileAttributesA(path);
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// ---------------------------------------------------------------------------------------------
// SECBrowseDirEdit

IMPLEMENT_DYNAMIC(SECBrowseDirEdit, SECBrowseEditBase)

SECBrowseDirEdit::SECBrowseDirEdit() : m_wStyle(SECDSD_FILEDIALOG)
{
    m_strTitle.LoadString(IDS_SEC_SELECTDIR);
}

void SECBrowseDirEdit::SetDialogStyle(WORD wStyle)
{
    m_wStyle &= ~(SECDSD_FILEDIALOG | SECDSD_RESERVED);
    if (!SECIsWindows4())
        m_wStyle |= SECDSD_FILEDIALOG;
    m_wStyle |= wStyle;
}

void SECBrowseDirEdit::Browse()
{
    CString start;
    GetWindowText(start);
    if (!start.IsEmpty() && !IsExistingDirectory(start))
        start.Empty();  // gone: the dialog opens at its default place
    SECDirSelectDlg dlg(m_wStyle, m_strTitle, start, GetParent());
    if (dlg.DoModal() == IDOK) {
        CString path;
        dlg.GetPath(path);
        SetWindowText(path);
    }
}

// ---------------------------------------------------------------------------------------------
// SECBrowseFileEdit

IMPLEMENT_DYNAMIC(SECBrowseFileEdit, SECBrowseEditBase)

SECBrowseFileEdit::SECBrowseFileEdit()
    : m_strFilter("All files (*.*)|*.*||"), m_dwFlags(OFN_HIDEREADONLY | OFN_NOCHANGEDIR)
{
    m_strTitle.LoadString(IDS_SEC_SELECTFILE);
}

DWORD SECBrowseFileEdit::ModifyFlags(DWORD dwRemove, DWORD dwAdd)
{
    m_dwFlags = (m_dwFlags & ~dwRemove) | dwAdd;
    return m_dwFlags;
}

void SECBrowseFileEdit::Browse()
{
    SECFileSystem fs;
    BOOL bKeepFolder = (m_dwFlags & OFN_NOCHANGEDIR) != 0;
    CString saved = bKeepFolder ? fs.CurrentFolderOf("") : CString();

    CString start = m_strInitialFile;
    if (start.IsEmpty())
        GetWindowText(start);
    CString startFolder;
    if (!start.IsEmpty()) {
        CString folder = start;
        if (IsExistingDirectory(folder)) {
            // A directory: the dialog opens in it with no name.
            if (fs.ChangeFolder(folder))
                startFolder = folder;
            start.Empty();
        } else if (!fs.FileExists(start)) {
            start.Empty();
        }
    }

    CFileDialog dlg(TRUE, m_strDefExt.IsEmpty() ? NULL : (LPCTSTR)m_strDefExt,
                    start.IsEmpty() ? NULL : (LPCTSTR)start, m_dwFlags, m_strFilter, this);
    dlg.m_ofn.lpstrTitle = m_strTitle;
    if (!startFolder.IsEmpty())
        dlg.m_ofn.lpstrInitialDir = startFolder;
    if (dlg.DoModal() == IDOK)
        SetWindowText(dlg.GetPathName());

    if (bKeepFolder && !saved.IsEmpty())
        fs.ChangeFolder(saved);
}
