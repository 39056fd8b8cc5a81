// CDialog: modal and modeless dialogs from resource templates.
#include "afxwin.h"
#include "afxpriv.h"

#ifndef IS_COMMAND_ID
#define IS_COMMAND_ID(nID) ((nID)&0x8000)
#endif

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
    ON_MESSAGE(WM_SETFONT, HandleSetFont)
END_MESSAGE_MAP()

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    // WM_INITDIALOG comes here from the dialog manager's default processing, which the
    // dialog object's HandleInitDialog reaches through Default().
    if (message == WM_INITDIALOG) {
        CDialog* pDlg = DYNAMIC_DOWNCAST(CDialog, CWnd::FromHandlePermanent(hWnd));
        if (pDlg != NULL)
            return pDlg->OnInitDialog();
        return TRUE;
    }
    return FALSE;
}

void CDialog::Construct()
{
    m_nIDHelp = 0;
    m_lpszTemplateName = NULL;
    m_hDialogTemplate = NULL;
    m_lpDialogTemplate = NULL;
    m_lpDialogInit = NULL;
    m_pParentWnd = NULL;
    m_hWndTop = NULL;
}

CDialog::CDialog() { Construct(); }

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
{
    Construct();
    m_lpszTemplateName = lpszTemplateName;
    if (IS_INTRESOURCE(lpszTemplateName))
        m_nIDHelp = LOWORD((DWORD_PTR)lpszTemplateName);
    m_pParentWnd = pParentWnd;
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
{
    Construct();
    m_lpszTemplateName = MAKEINTRESOURCE(nIDTemplate);
    m_nIDHelp = nIDTemplate;
    m_pParentWnd = pParentWnd;
}

CDialog::~CDialog()
{
    if (m_hWnd != NULL)
        DestroyWindow();
}

// ---------------------------------------------------------------------------------------------
// Creation

static LPCDLGTEMPLATE FindDialogTemplate(LPCTSTR lpszTemplateName, HINSTANCE* phInst)
{
    HINSTANCE hInst = AfxFindResourceHandle(lpszTemplateName, RT_DIALOG);
    HRSRC hRsrc = ::FindResourceA(hInst, lpszTemplateName, (LPCSTR)RT_DIALOG);
    if (hRsrc == NULL) {
        // A module without its own copy of the template (a test program, a control) may
        // find it in the program.
        hInst = ::GetModuleHandleA(NULL);
        hRsrc = ::FindResourceA(hInst, lpszTemplateName, (LPCSTR)RT_DIALOG);
    }
    if (hRsrc == NULL)
        return NULL;
    HGLOBAL hTemplate = ::LoadResource(hInst, hRsrc);
    *phInst = hInst;
    return hTemplate != NULL ? (LPCDLGTEMPLATE)::LockResource(hTemplate) : NULL;
}

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
{
    m_lpszTemplateName = lpszTemplateName;
    if (IS_INTRESOURCE(lpszTemplateName) && m_nIDHelp == 0)
        m_nIDHelp = LOWORD((DWORD_PTR)lpszTemplateName);
    HINSTANCE hInst = NULL;
    LPCDLGTEMPLATE lpTemplate = FindDialogTemplate(lpszTemplateName, &hInst);
    if (lpTemplate == NULL)
        return FALSE;
    return CreateDlgIndirect(lpTemplate, pParentWnd, hInst);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    return Create(MAKEINTRESOURCE(nIDTemplate), pParentWnd);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd,
                             void* lpDialogInit)
{
    m_lpDialogInit = lpDialogInit;
    return CreateDlgIndirect(lpDialogTemplate, pParentWnd, NULL);
}

BOOL CDialog::CreateIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd)
{
    LPCDLGTEMPLATE lpTemplate = (LPCDLGTEMPLATE)::GlobalLock(hDialogTemplate);
    BOOL bResult = CreateIndirect(lpTemplate, pParentWnd);
    ::GlobalUnlock(hDialogTemplate);
    return bResult;
}

BOOL CDialog::CreateDlgIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd,
                                HINSTANCE hInst)
{
    return CWnd::CreateDlgIndirect(lpDialogTemplate,
                                   pParentWnd != NULL ? pParentWnd : m_pParentWnd, hInst);
}

BOOL CWnd::CreateDlgIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd,
                             HINSTANCE hInst)
{
    if (lpDialogTemplate == NULL)
        return FALSE;
    if (hInst == NULL)
        hInst = AfxGetInstanceHandle();
    // Common controls in a template need their classes registered.
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);

    // The creation hook attaches the new window to this object before WM_INITDIALOG.
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateDialogIndirectParamA(hInst, lpDialogTemplate, pParentWnd->GetSafeHwnd(),
                                             AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    if (hWnd == NULL) {
        if (m_hWnd != NULL)
            Detach();
        return FALSE;
    }
    ASSERT(hWnd == m_hWnd);
    return TRUE;
}

BOOL CWnd::CreateDlg(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
{
    HINSTANCE hInst = NULL;
    LPCDLGTEMPLATE lpTemplate = FindDialogTemplate(lpszTemplateName, &hInst);
    if (lpTemplate == NULL)
        return FALSE;
    return CreateDlgIndirect(lpTemplate, pParentWnd, hInst);
}

BOOL CWnd::SetOccDialogInfo(_AFX_OCC_DIALOG_INFO*) { return FALSE; }

// ---------------------------------------------------------------------------------------------
// Modal

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd,
                                void* lpDialogInit)
{
    m_lpDialogTemplate = lpDialogTemplate;
    m_pParentWnd = pParentWnd;
    m_lpDialogInit = lpDialogInit;
    return TRUE;
}

BOOL CDialog::InitModalIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd)
{
    m_hDialogTemplate = hDialogTemplate;
    m_pParentWnd = pParentWnd;
    return TRUE;
}

HWND CDialog::PreModal()
{
    AfxUnhookWindowCreate();
    CWnd* pWnd = CWnd::GetSafeOwner(m_pParentWnd, &m_hWndTop);
    return pWnd->GetSafeHwnd();
}

void CDialog::PostModal()
{
    AfxUnhookWindowCreate();
    Detach();
    if (::IsWindow(m_hWndTop))
        ::EnableWindow(m_hWndTop, TRUE);
    m_hWndTop = NULL;
}

INT_PTR CDialog::DoModal()
{
    HINSTANCE hInst = AfxGetResourceHandle();
    LPCDLGTEMPLATE lpTemplate = m_lpDialogTemplate;
    if (m_lpszTemplateName != NULL)
        lpTemplate = FindDialogTemplate(m_lpszTemplateName, &hInst);
    else if (m_hDialogTemplate != NULL)
        lpTemplate = (LPCDLGTEMPLATE)::GlobalLock(m_hDialogTemplate);
    if (lpTemplate == NULL)
        return -1;

    HWND hWndParent = PreModal();
    BOOL bEnableParent = FALSE;
    if (hWndParent != NULL && ::IsWindowEnabled(hWndParent)) {
        ::EnableWindow(hWndParent, FALSE);
        bEnableParent = TRUE;
    }

    // The dialog is made as a modeless one and run in the framework's modal loop, so that
    // messages pass through PreTranslateMessage and idle processing goes on.
    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;
    if (CreateDlgIndirect(lpTemplate, CWnd::FromHandle(hWndParent), hInst)) {
        if (m_nFlags & WF_CONTINUEMODAL) {
            DWORD dwFlags = MLF_SHOWONIDLE;
            if (GetStyle() & DS_NOIDLEMSG)
                dwFlags |= MLF_NOIDLEMSG;
            RunModalLoop(dwFlags);
        }
        if (m_hWnd != NULL)
            SetWindowPos(NULL, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    m_nFlags &= ~WF_CONTINUEMODAL;

    if (bEnableParent)
        ::EnableWindow(hWndParent, TRUE);
    if (hWndParent != NULL && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hWndParent);

    DestroyWindow();
    PostModal();
    if (m_hDialogTemplate != NULL)
        ::GlobalUnlock(m_hDialogTemplate);
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult)
{
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL))
        EndModalLoop(nResult);
    ::EndDialog(m_hWnd, nResult);
}

// ---------------------------------------------------------------------------------------------
// Initialisation and default buttons

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    PreInitDialog();
    // Default() runs the dialog manager, which calls OnInitDialog through AfxDlgProc.
    return Default();
}

LRESULT CDialog::HandleSetFont(WPARAM wParam, LPARAM)
{
    OnSetFont(CFont::FromHandle((HFONT)wParam));
    return Default();
}

void CDialog::PreInitDialog() {}
void CDialog::OnSetFont(CFont*) {}

BOOL CDialog::OnInitDialog()
{
    // The template's initial list contents and its ActiveX controls, before data exchange
    // binds members to them.
    BOOL bDlgInit = m_lpDialogInit != NULL ? ExecuteDlgInit((LPVOID)m_lpDialogInit)
                                           : ExecuteDlgInit((LPCTSTR)m_lpszTemplateName);
    if (!bDlgInit) {
        EndDialog(-1);
        return FALSE;
    }
    if (!UpdateData(FALSE)) {
        EndDialog(-1);
        return FALSE;
    }
    // A Help button only works when there is help to give.
    if (CWnd* pHelp = GetDlgItem(ID_HELP))
        pHelp->EnableWindow(m_nIDHelp != 0 && AfxGetApp() != NULL);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;  // the failed check has told the user and kept the focus on the field
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::CheckAutoCenter()
{
    // Templates that place themselves are not centred.
    return (GetStyle() & (DS_CENTER | DS_CENTERMOUSE | DS_ABSALIGN)) == 0;
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    // Keyboard navigation (Tab, arrows, Enter, Escape, mnemonics) for this dialog and its
    // controls.
    if ((pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) ||
        (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST)) {
        if (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))
            return ::IsDialogMessageA(m_hWnd, pMsg);
    }
    return FALSE;
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    // Commands the dialog does not handle get a last chance at the thread (the application).
    if ((nCode != (int)CN_COMMAND && nCode != (int)CN_UPDATE_COMMAND_UI) || !IS_COMMAND_ID(nID) ||
        nID >= 0xf000)
        return FALSE;
    CWinThread* pThread = AfxGetThread();
    return pThread != NULL && pThread->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CDialog::MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }

DWORD CDialog::GetDefID() const { return (DWORD)::SendMessageA(m_hWnd, DM_GETDEFID, 0, 0); }
void CDialog::SetDefID(UINT nID) { ::SendMessageA(m_hWnd, DM_SETDEFID, nID, 0); }
void CDialog::NextDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
void CDialog::PrevDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 1, 0); }

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl)
{
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, (WPARAM)pWndCtrl->GetSafeHwnd(), 1L);
}
