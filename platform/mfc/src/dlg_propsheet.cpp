// Property sheets and pages over the common controls' property sheet.
#include "afxdlgs.h"
#include "afxcmn.h"
#include "afxpriv.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

// ---------------------------------------------------------------------------------------------
// Pages

// The page's dialog procedure: the sheet creates the page window; on WM_INITDIALOG the page
// object takes it over (its address travels in the PROPSHEETPAGE record).
static INT_PTR CALLBACK PropPageDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    CPropertyPage* pPage = (CPropertyPage*)((LPPROPSHEETPAGEA)lParam)->lParam;
    if (CWnd::FromHandlePermanent(hWnd) != pPage) {
        if (pPage->m_hWnd != NULL)
            pPage->Detach();  // a window of an earlier showing that is gone
        if (!pPage->SubclassWindow(hWnd))
            return FALSE;
    }
    return pPage->OnInitDialog();
}

void CPropertyPage::CommonConstruct(LPCTSTR lpszTemplateName, UINT nIDCaption)
{
    memset(&m_psp, 0, sizeof(m_psp));
    m_psp.dwSize = sizeof(m_psp);
    m_psp.dwFlags = PSP_DEFAULT;
    m_lpszTemplateName = lpszTemplateName;
    if (lpszTemplateName != NULL) {
        HINSTANCE hInst = AfxFindResourceHandle(lpszTemplateName, RT_DIALOG);
        if (::FindResourceA(hInst, lpszTemplateName, (LPCSTR)RT_DIALOG) == NULL)
            hInst = ::GetModuleHandleA(NULL);
        m_psp.hInstance = hInst;
        m_psp.pszTemplate = lpszTemplateName;
    }
    m_psp.pfnDlgProc = PropPageDlgProc;
    m_psp.lParam = (LPARAM)this;
    if (nIDCaption != 0) {
        m_strCaption.LoadString(nIDCaption);
        m_psp.pszTitle = m_strCaption;
        m_psp.dwFlags |= PSP_USETITLE;
    }
    if (IS_INTRESOURCE(lpszTemplateName))
        m_nIDHelp = LOWORD((DWORD_PTR)lpszTemplateName);
    m_bFirstSetActive = TRUE;
}

CPropertyPage::CPropertyPage() { CommonConstruct(NULL, 0); }

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption)
{
    CommonConstruct(MAKEINTRESOURCE(nIDTemplate), nIDCaption);
}

CPropertyPage::CPropertyPage(LPCTSTR lpszTemplateName, UINT nIDCaption)
{
    CommonConstruct(lpszTemplateName, nIDCaption);
}

CPropertyPage::~CPropertyPage() {}

void CPropertyPage::Construct(UINT nIDTemplate, UINT nIDCaption)
{
    CommonConstruct(MAKEINTRESOURCE(nIDTemplate), nIDCaption);
}

void CPropertyPage::Construct(LPCTSTR lpszTemplateName, UINT nIDCaption)
{
    CommonConstruct(lpszTemplateName, nIDCaption);
}

CPropertySheet* CPropertyPage::GetParentSheet() const
{
    return DYNAMIC_DOWNCAST(CPropertySheet, CWnd::FromHandlePermanent(::GetParent(m_hWnd)));
}

void CPropertyPage::CancelToClose()
{
    if (m_hWnd != NULL)
        ::SendMessageA(::GetParent(m_hWnd), PSM_CANCELTOCLOSE, 0, 0);
}

void CPropertyPage::SetModified(BOOL bChanged)
{
    if (m_hWnd == NULL)
        return;  // not shown yet: nothing to enable
    ::SendMessageA(::GetParent(m_hWnd), bChanged ? PSM_CHANGED : PSM_UNCHANGED, (WPARAM)m_hWnd, 0);
}

LRESULT CPropertyPage::QuerySiblings(WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageA(::GetParent(m_hWnd), PSM_QUERYSIBLINGS, wParam, lParam);
}

BOOL CPropertyPage::OnSetActive()
{
    // The first activation follows OnInitDialog, which loaded the controls already.
    if (m_bFirstSetActive)
        m_bFirstSetActive = FALSE;
    else
        UpdateData(FALSE);
    return TRUE;
}

BOOL CPropertyPage::OnKillActive() { return UpdateData(TRUE); }

BOOL CPropertyPage::OnApply()
{
    OnOK();
    return TRUE;
}

void CPropertyPage::OnReset() { OnCancel(); }

// A page is not a dialog of its own: OK and Cancel belong to the sheet.
void CPropertyPage::OnOK() {}
void CPropertyPage::OnCancel() {}

BOOL CPropertyPage::OnQueryCancel() { return TRUE; }
LRESULT CPropertyPage::OnWizardBack() { return 0; }
LRESULT CPropertyPage::OnWizardNext() { return 0; }
BOOL CPropertyPage::OnWizardFinish() { return TRUE; }

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (CDialog::OnNotify(wParam, lParam, pResult))
        return TRUE;
    NMHDR* pNMHDR = (NMHDR*)lParam;
    // Only the sheet's notifications to this page
    if (pNMHDR->hwndFrom != m_hWnd && pNMHDR->hwndFrom != ::GetParent(m_hWnd))
        return FALSE;
    LRESULT lResult;
    switch (pNMHDR->code) {
    case PSN_SETACTIVE: {
        // A modal sheet whose loop has ended shows no more pages.
        CPropertySheet* pSheet = GetParentSheet();
        if (pSheet != NULL && !(pSheet->m_nFlags & WF_CONTINUEMODAL) && !pSheet->m_bModeless)
            lResult = -1;
        else
            lResult = OnSetActive() ? 0 : -1;
        break;
    }
    case PSN_KILLACTIVE:
        lResult = !OnKillActive();
        break;
    case PSN_APPLY:
        lResult = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        break;
    case PSN_RESET:
        OnReset();
        lResult = 0;
        break;
    case PSN_QUERYCANCEL:
        lResult = !OnQueryCancel();
        break;
    case PSN_WIZNEXT:
        lResult = OnWizardNext();
        break;
    case PSN_WIZBACK:
        lResult = OnWizardBack();
        break;
    case PSN_WIZFINISH:
        lResult = !OnWizardFinish();
        break;
    case PSN_HELP:
        SendMessage(WM_COMMAND, ID_HELP);
        lResult = 0;
        break;
    default:
        return FALSE;
    }
    // The sheet reads the answer from the dialog's result slot as well as from the call.
    ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, lResult);
    *pResult = lResult;
    return TRUE;
}

BOOL CPropertyPage::PreTranslateMessage(MSG* pMsg)
{
    // Keyboard navigation is the sheet's (it knows the tabs and the buttons).
    return CWnd::PreTranslateMessage(pMsg);
}

// ---------------------------------------------------------------------------------------------
// Sheets

BEGIN_MESSAGE_MAP(CPropertySheet, CWnd)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
    ON_WM_CLOSE()
    ON_MESSAGE(PSM_PRESSBUTTON, OnPressButton)
END_MESSAGE_MAP()

void CPropertySheet::CommonConstruct(CWnd* pParentWnd, UINT iSelectPage)
{
    memset(&m_psh, 0, sizeof(m_psh));
    m_psh.dwSize = sizeof(m_psh);
    m_psh.dwFlags = PSH_PROPSHEETPAGE;
    m_psh.pszCaption = m_strCaption;
    m_psh.nStartPage = iSelectPage;
    m_pParentWnd = pParentWnd;
    m_bModeless = FALSE;
    m_bStacked = TRUE;
    m_dwStyle = 0;
    m_dwExStyle = 0;
    m_pPageArray = NULL;
}

CPropertySheet::CPropertySheet() { CommonConstruct(NULL, 0); }

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
{
    Construct(nIDCaption, pParentWnd, iSelectPage);
}

CPropertySheet::CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
{
    Construct(pszCaption, pParentWnd, iSelectPage);
}

void CPropertySheet::Construct(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
{
    m_strCaption.LoadString(nIDCaption);
    CommonConstruct(pParentWnd, iSelectPage);
}

void CPropertySheet::Construct(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
{
    m_strCaption = pszCaption;
    CommonConstruct(pParentWnd, iSelectPage);
}

CPropertySheet::~CPropertySheet()
{
    if (m_hWnd != NULL)
        DestroyWindow();
    delete[] m_pPageArray;
}

void CPropertySheet::BuildPropPageArray()
{
    delete[] m_pPageArray;
    int n = (int)m_pages.GetSize();
    m_pPageArray = new PROPSHEETPAGEA[n > 0 ? n : 1];
    for (int i = 0; i < n; i++) {
        CPropertyPage* pPage = GetPage(i);
        m_pPageArray[i] = pPage->m_psp;
        // A page shown again starts like a new one.
        pPage->m_bFirstSetActive = TRUE;
    }
    m_psh.ppsp = m_pPageArray;
    m_psh.nPages = n;
    m_psh.pszCaption = m_strCaption;
    m_psh.dwFlags |= PSH_PROPSHEETPAGE;
    if (m_psh.hInstance == NULL)
        m_psh.hInstance = AfxGetInstanceHandle();
}

int CALLBACK CPropertySheet::PropSheetCallback(HWND, UINT message, LPARAM lParam)
{
    if (message != PSCB_PRECREATE)
        return 0;
    // The sheet being created is the one waiting on the creation hook; give its template
    // the style asked for (a modal sheet is shown by the modal loop, not at creation).
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    CPropertySheet* pSheet = DYNAMIC_DOWNCAST(CPropertySheet, pState->m_pWndInit);
    if (pSheet == NULL || lParam == 0)
        return 0;
    DWORD* pStyle;
    DWORD* pExStyle;
    if (((const WORD*)lParam)[1] == 0xFFFF) {
        DWORD* p = (DWORD*)lParam;  // DLGTEMPLATEEX: version, signature, help id, exstyle, style
        pExStyle = p + 2;
        pStyle = p + 3;
    } else {
        DLGTEMPLATE* p = (DLGTEMPLATE*)lParam;
        pStyle = &p->style;
        pExStyle = &p->dwExtendedStyle;
    }
    if (pSheet->m_bModeless) {
        if (pSheet->m_dwStyle != 0)
            *pStyle = pSheet->m_dwStyle;
        *pExStyle |= pSheet->m_dwExStyle;
    } else {
        *pStyle &= ~WS_VISIBLE;
    }
    return 0;
}

BOOL CPropertySheet::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwExStyle)
{
    if (dwStyle == (DWORD)-1)
        dwStyle = DS_MODALFRAME | DS_3DLOOK | DS_SETFONT | WS_POPUP | WS_VISIBLE | WS_CAPTION |
                  WS_SYSMENU;
    m_dwStyle = dwStyle;
    m_dwExStyle = dwExStyle;
    if (pParentWnd != NULL)
        m_pParentWnd = pParentWnd;
    m_bModeless = TRUE;

    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    BuildPropPageArray();
    m_psh.hwndParent = m_pParentWnd->GetSafeHwnd();
    m_psh.dwFlags |= PSH_MODELESS | PSH_USECALLBACK;
    m_psh.pfnCallback = PropSheetCallback;
    AfxHookWindowCreate(this);
    HWND hWnd = (HWND)::PropertySheetA(&m_psh);
    AfxUnhookWindowCreate();
    m_psh.dwFlags &= ~PSH_MODELESS;
    if (hWnd == NULL || hWnd == (HWND)-1) {
        if (m_hWnd != NULL)
            Detach();
        return FALSE;
    }
    return TRUE;
}

INT_PTR CPropertySheet::DoModal()
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    BuildPropPageArray();
    m_bModeless = FALSE;

    HWND hWndTop = NULL;
    HWND hWndParent = CWnd::GetSafeOwner(m_pParentWnd, &hWndTop)->GetSafeHwnd();
    m_psh.hwndParent = hWndParent;
    BOOL bEnableParent = FALSE;
    if (hWndParent != NULL && ::IsWindowEnabled(hWndParent)) {
        ::EnableWindow(hWndParent, FALSE);
        bEnableParent = TRUE;
    }
    if (HWND hWndCapture = ::GetCapture())
        ::SendMessageA(hWndCapture, WM_CANCELMODE, 0, 0);

    // The sheet is created modeless and run in the framework's modal loop, which ends when
    // the sheet has no current page any more (after OK or Cancel) or on EndDialog.
    m_nModalResult = 0;
    m_nFlags |= WF_CONTINUEMODAL;
    m_psh.dwFlags |= PSH_MODELESS | PSH_USECALLBACK;
    m_psh.pfnCallback = PropSheetCallback;
    AfxHookWindowCreate(this);
    HWND hWnd = (HWND)::PropertySheetA(&m_psh);
    AfxUnhookWindowCreate();
    m_psh.dwFlags &= ~PSH_MODELESS;
    if (hWnd == NULL || hWnd == (HWND)-1) {
        m_nFlags &= ~WF_CONTINUEMODAL;
        m_nModalResult = -1;
    }
    INT_PTR nResult = m_nModalResult;
    if (ContinueModal()) {
        DWORD dwFlags = MLF_SHOWONIDLE;
        if (GetStyle() & DS_NOIDLEMSG)
            dwFlags |= MLF_NOIDLEMSG;
        nResult = RunModalLoop(dwFlags);
    }
    if (m_hWnd != NULL)
        SetWindowPos(NULL, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    if (bEnableParent)
        ::EnableWindow(hWndParent, TRUE);
    if (hWndParent != NULL && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hWndParent);
    DestroyWindow();
    if (hWndTop != NULL)
        ::EnableWindow(hWndTop, TRUE);
    return nResult;
}

BOOL CPropertySheet::ContinueModal()
{
    if (!CWnd::ContinueModal())
        return FALSE;
    // After OK or Cancel the sheet has no current page: the loop is over.
    return ::SendMessageA(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0) != 0;
}

LRESULT CPropertySheet::HandleInitDialog(WPARAM, LPARAM) { return OnInitDialog(); }

BOOL CPropertySheet::OnInitDialog()
{
    // The common control builds the tabs, buttons and first page here.
    return (BOOL)Default();
}

void CPropertySheet::OnClose()
{
    // Closing a sheet from its caption is pressing Cancel.
    m_nModalResult = IDCANCEL;
    if (m_bModeless)
        DestroyWindow();
    else
        Default();
}

LRESULT CPropertySheet::OnPressButton(WPARAM wParam, LPARAM)
{
    // A button pressed by message does not come back as a click: the modal result is the
    // button's.
    switch (wParam) {
    case PSBTN_OK: m_nModalResult = IDOK; break;
    case PSBTN_CANCEL: m_nModalResult = IDCANCEL; break;
    case PSBTN_FINISH: m_nModalResult = ID_WIZFINISH; break;
    }
    return Default();
}

BOOL CPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (CWnd::OnCommand(wParam, lParam))
        return TRUE;
    // A push button's id is the modal result: OK, Cancel, or one of the caller's.
    HWND hWndCtrl = (HWND)lParam;
    if (hWndCtrl != NULL && HIWORD(wParam) == BN_CLICKED &&
        (::SendMessageA(hWndCtrl, WM_GETDLGCODE, 0, 0) & (DLGC_BUTTON | DLGC_DEFPUSHBUTTON))) {
        LONG lStyle = ::GetWindowLongA(hWndCtrl, GWL_STYLE) & 0x0F;
        if (lStyle == BS_PUSHBUTTON || lStyle == BS_DEFPUSHBUTTON || lStyle == BS_USERBUTTON ||
            lStyle == BS_OWNERDRAW)
            m_nModalResult = LOWORD(wParam);
    }
    return FALSE;
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    // Tab, Ctrl+Tab, Enter and Escape for the sheet and its pages.
    if (m_hWnd != NULL && (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd)) &&
        pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
        // The sheet's handling takes the message as a Unicode one (it dispatches it so): a
        // character from this ANSI pump goes in as the letter it stands for, or a letter of
        // the code page that Latin-1 lacks (Š, Œ, €) would reach the page as "?".
        MSG msg = *pMsg;
        if ((msg.message == WM_CHAR || msg.message == WM_SYSCHAR || msg.message == WM_DEADCHAR ||
             msg.message == WM_SYSDEADCHAR) && msg.wParam >= 0x80 && msg.wParam <= 0xFF) {
            char ch = (char)msg.wParam;
            WCHAR wch = 0;
            if (::MultiByteToWideChar(CP_ACP, 0, &ch, 1, &wch, 1) == 1)
                msg.wParam = wch;
        }
        return (BOOL)::SendMessageA(m_hWnd, PSM_ISDIALOGMESSAGE, 0, (LPARAM)&msg);
    }
    return FALSE;
}

int CPropertySheet::GetPageCount() const
{
    if (m_hWnd == NULL)
        return (int)m_pages.GetSize();
    CTabCtrl* pTab = GetTabControl();
    return pTab != NULL ? pTab->GetItemCount() : (int)m_pages.GetSize();
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const
{
    if (nPage < 0 || nPage >= m_pages.GetSize())
        return NULL;
    return (CPropertyPage*)m_pages[nPage];
}

int CPropertySheet::GetPageIndex(CPropertyPage* pPage)
{
    for (int i = 0; i < m_pages.GetSize(); i++)
        if (m_pages[i] == pPage)
            return i;
    return -1;
}

int CPropertySheet::GetActiveIndex() const
{
    if (m_hWnd == NULL)
        return (int)m_psh.nStartPage;
    CTabCtrl* pTab = GetTabControl();
    return pTab != NULL ? pTab->GetCurSel() : -1;
}

CPropertyPage* CPropertySheet::GetActivePage() const
{
    if (m_hWnd == NULL)
        return GetPage(m_psh.nStartPage);
    HWND hPage = (HWND)::SendMessageA(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0);
    for (int i = 0; i < m_pages.GetSize(); i++) {
        CPropertyPage* pPage = (CPropertyPage*)m_pages[i];
        if (pPage->m_hWnd != NULL && pPage->m_hWnd == hPage)
            return pPage;
    }
    return GetPage(GetActiveIndex());
}

BOOL CPropertySheet::SetActivePage(int nPage)
{
    if (m_hWnd == NULL) {
        m_psh.nStartPage = nPage;
        return TRUE;
    }
    return (BOOL)::SendMessageA(m_hWnd, PSM_SETCURSEL, nPage, 0);
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* pPage)
{
    int nPage = GetPageIndex(pPage);
    return nPage >= 0 && SetActivePage(nPage);
}

void CPropertySheet::SetTitle(LPCTSTR lpszText, UINT nStyle)
{
    if (m_hWnd != NULL) {
        ::SendMessageA(m_hWnd, PSM_SETTITLEA, nStyle, (LPARAM)lpszText);
        return;
    }
    m_strCaption = lpszText;
    m_psh.pszCaption = m_strCaption;
    m_psh.dwFlags = (m_psh.dwFlags & ~PSH_PROPTITLE) | (nStyle & PSH_PROPTITLE);
}

CTabCtrl* CPropertySheet::GetTabControl() const
{
    return (CTabCtrl*)CWnd::FromHandle((HWND)::SendMessageA(m_hWnd, PSM_GETTABCONTROL, 0, 0));
}

void CPropertySheet::SetWizardMode() { m_psh.dwFlags |= PSH_WIZARD; }

void CPropertySheet::SetFinishText(LPCTSTR lpszText)
{
    ::SendMessageA(m_hWnd, PSM_SETFINISHTEXTA, 0, (LPARAM)lpszText);
}

void CPropertySheet::SetWizardButtons(DWORD dwFlags)
{
    ::PostMessageA(m_hWnd, PSM_SETWIZBUTTONS, 0, dwFlags);
}

void CPropertySheet::AddPage(CPropertyPage* pPage)
{
    m_pages.Add(pPage);
    if (m_hWnd == NULL)
        return;
    // The sheet exists: give it the page at once.
    HPROPSHEETPAGE hPage = ::CreatePropertySheetPageA(&pPage->m_psp);
    if (hPage == NULL || !::SendMessageA(m_hWnd, PSM_ADDPAGE, 0, (LPARAM)hPage)) {
        if (hPage != NULL)
            ::DestroyPropertySheetPage(hPage);
        m_pages.RemoveAt(m_pages.GetSize() - 1);
        AfxThrowMemoryException();
    }
}

void CPropertySheet::RemovePage(CPropertyPage* pPage)
{
    int nPage = GetPageIndex(pPage);
    if (nPage >= 0)
        RemovePage(nPage);
}

void CPropertySheet::RemovePage(int nPage)
{
    if (nPage < 0 || nPage >= m_pages.GetSize())
        return;
    if (m_hWnd != NULL)
        ::SendMessageA(m_hWnd, PSM_REMOVEPAGE, nPage, 0);
    m_pages.RemoveAt(nPage);
}

void CPropertySheet::EndDialog(int nEndID)
{
    EndModalLoop(nEndID);
    if (m_bModeless)
        DestroyWindow();
    else
        PostMessage(PSM_PRESSBUTTON, PSBTN_CANCEL);
}

BOOL CPropertySheet::PressButton(int nButton)
{
    return (BOOL)::PostMessageA(m_hWnd, PSM_PRESSBUTTON, nButton, 0);
}
