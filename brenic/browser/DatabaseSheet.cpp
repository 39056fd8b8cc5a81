#include "DatabaseSheet.h"
#include <afxdao.h>
#include <afxpriv.h>
#include "ClipsPPage.h"
#include "PeoplePPage.h"
#include "Recordsets.h"

static const char kSaveClipTitle[] = "Save Clip to Database - Fill in missing or incorrect fields";

IMPLEMENT_DYNAMIC(CDatabaseSheet, CPropertySheet)

BEGIN_MESSAGE_MAP(CDatabaseSheet, CPropertySheet)
    ON_WM_CREATE()
END_MESSAGE_MAP()

CDatabaseSheet::CDatabaseSheet(LPCTSTR caption, CWnd* parent, UINT firstPage)
    : CPropertySheet(caption, parent, firstPage), m_bRemote(FALSE)
{
    Initialise();
}

CDatabaseSheet::CDatabaseSheet(UINT captionId, CWnd* parent, UINT firstPage)
    : CPropertySheet(captionId, parent, firstPage), m_bRemote(FALSE)
{
    Initialise();
}

CDatabaseSheet::CDatabaseSheet(LPCTSTR caption, BOOL, CWnd* parent, UINT firstPage)
    : CPropertySheet(caption, parent, firstPage), m_bRemote(TRUE)
{
    Initialise();
}

void CDatabaseSheet::Initialise()
{
    m_pPeopleSet = NULL;
    m_pClipSet = NULL;
    m_pGroupDetailSet = NULL;
    m_pGroupMasterSet = NULL;
    m_bResetPages = TRUE;
    m_bInModalLoop = FALSE;
    m_nAddedPersonID = -1;
    m_nSelectedClip = -1;
    m_nEndResult = 0;
    m_bSaveClipMode = FALSE;
    m_bCreated = FALSE;
    m_bConnected = FALSE;
    m_pPeoplePage = new CPeoplePPage;
    m_pClipsPage = new CClipsPPage;
    m_pPeopleSet = new CPeopleRecord;
    m_pClipSet = new CClipRecord;
    // A database that cannot be opened leaves the sheet unconnected: the settings store
    // then reports "Cannot connect to database" instead of the error escaping.
    try {
        if (!m_pPeopleSet->IsOpen())
            m_pPeopleSet->Open(dbOpenDynaset, NULL, 0);
        if (!m_pClipSet->IsOpen())
            m_pClipSet->Open(dbOpenDynaset, NULL, 0);
        m_bConnected = TRUE;
    } catch (CDaoException* e) {
        e->Delete();
    }
    if (CWnd* main = AfxGetMainWnd())
        if (main->GetSafeHwnd())
            main->SendMessage(WM_COMMAND, ID_STOP_PLAYBACK);
    m_pPeoplePage->SetRecordset(m_pPeopleSet);
    m_pPeoplePage->SetSheet(this);
    m_pClipsPage->SetRecordSet(m_pClipSet);
    m_pClipsPage->SetSheet(this);
    AddPage(m_pPeoplePage);
    AddPage(m_pClipsPage);
}

CDatabaseSheet::~CDatabaseSheet()
{
    // The pages' windows go before the pages.
    if (GetSafeHwnd())
        CWnd::DestroyWindow();
    m_bCreated = FALSE;
    m_bRemote = FALSE;
    for (CDaoRecordset* set : {(CDaoRecordset*)m_pPeopleSet, (CDaoRecordset*)m_pClipSet})
        if (set && set->IsOpen())
            set->Close();
    CloseGroupRecordsets();
    delete m_pPeopleSet;
    delete m_pClipSet;
    delete m_pGroupDetailSet;
    delete m_pGroupMasterSet;
    delete m_pPeoplePage;
    delete m_pClipsPage;
}

int CDatabaseSheet::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    return CPropertySheet::OnCreate(lpCreateStruct);
}

BOOL CDatabaseSheet::DestroyWindow()
{
    return CWnd::DestroyWindow();
}

BOOL CDatabaseSheet::OnInitDialog()
{
    const BOOL result = CPropertySheet::OnInitDialog();
    UpdateTitle();
    m_bCreated = TRUE;
    return result;
}

void CDatabaseSheet::UpdateTitle()
{
    if (GetSafeHwnd())
        SetWindowText(m_bSaveClipMode ? CString(kSaveClipTitle) : m_strCaption);
}

INT_PTR CDatabaseSheet::DoModal()
{
    if (m_bInModalLoop)
        return -1;
    if (GetSafeHwnd())
        return ShowModal(GetActiveIndex());
    return RunLoop(TRUE);
}

int CDatabaseSheet::ShowModal(int page)
{
    if (m_bInModalLoop || GetPageCount() == 0)
        return -1;
    if (page < 0 || page >= GetPageCount())
        page = 0;
    if (!GetSafeHwnd()) {
        SetActivePage(page);
        return RunLoop(TRUE);
    }
    UpdateTitle();
    SetActivePage(page);
    m_nModalResult = 0;
    m_nFlags |= WF_CONTINUEMODAL;
    // After OK or Cancel the sheet has no current page until one is selected.
    SetActivePage(page);
    int result = m_nModalResult;
    if (ContinueModal()) {
        m_bInModalLoop = TRUE;
        ShowWindow(SW_SHOW);
        result = RunModalLoop(MLF_SHOWONIDLE | (GetStyle() & DS_NOIDLEMSG ? MLF_NOIDLEMSG : 0));
    }
    AfterLoop(result);
    return result;
}

int CDatabaseSheet::RunLoop(BOOL)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    BuildPropPageArray();
    HWND top = NULL;
    HWND owner = CWnd::GetSafeOwner(m_pParentWnd, &top)->GetSafeHwnd();
    m_psh.hwndParent = owner;
    BOOL enableOwner = FALSE;
    if (owner && ::IsWindowEnabled(owner)) {
        ::EnableWindow(owner, FALSE);
        enableOwner = TRUE;
    }
    if (HWND capture = ::GetCapture())
        ::SendMessageA(capture, WM_CANCELMODE, 0, 0);
    m_nModalResult = 0;
    m_nFlags |= WF_CONTINUEMODAL;
    // Made as a modeless sheet of the common control (only its header says so: the class
    // library's modeless sheet would destroy itself at OK and Cancel) and run in the
    // framework's loop, so that it can be hidden and shown again.
    m_psh.dwFlags |= PSH_MODELESS | PSH_USECALLBACK;
    m_psh.dwFlags &= ~PSH_PROPTITLE;
    m_psh.pszCaption = m_bSaveClipMode ? kSaveClipTitle : (LPCSTR)m_strCaption;
    m_psh.pfnCallback = PropSheetCallback;
    m_bModeless = FALSE;
    AfxHookWindowCreate(this);
    HWND wnd = (HWND)::PropertySheetA(&m_psh);
    AfxUnhookWindowCreate();
    m_psh.dwFlags &= ~PSH_MODELESS;
    if (wnd == NULL || wnd == (HWND)-1) {
        m_nFlags &= ~WF_CONTINUEMODAL;
        m_nModalResult = -1;
    }
    int result = m_nModalResult;
    if (ContinueModal()) {
        m_bInModalLoop = TRUE;
        result = RunModalLoop(MLF_SHOWONIDLE | (GetStyle() & DS_NOIDLEMSG ? MLF_NOIDLEMSG : 0));
    }
    if (enableOwner)
        ::EnableWindow(owner, TRUE);
    if (owner && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(owner);
    if (top)
        ::EnableWindow(top, TRUE);
    AfterLoop(result);
    return result;
}

void CDatabaseSheet::AfterLoop(int& result)
{
    if (m_nEndResult && result == IDCANCEL)
        result = m_nEndResult;
    m_nEndResult = 0;
    if ((result == IDOK || result == IDCANCEL) && GetSafeHwnd()) {
        m_bResetPages = TRUE;
        ShowWindow(SW_HIDE);
        m_nAddedPersonID = -1;
    }
    // Whatever ended the loop, it is not running any more.
    m_bInModalLoop = FALSE;
}

void CDatabaseSheet::SetSaveClipMode(BOOL on)
{
    m_bSaveClipMode = on;
    if (on) {
        UpdateTitle();
        SetActivePage(m_pClipsPage);
    } else {
        UpdateTitle();
    }
    try {
        if (m_pClipSet->IsOpen())
            m_pClipSet->Close();
        if (on) {
            m_pClipSet->m_strFilter.Empty();
            m_pClipSet->Open(dbOpenDynaset, "[VideoClip]");
        } else {
            m_pClipSet->Open(dbOpenDynaset);
        }
    } catch (CDaoException* e) {
        e->Delete();
    }
    m_pClipsPage->SetSaveClipMode(on);
    m_pPeoplePage->SetSaveClipMode(on);
}

void CDatabaseSheet::SetPreviewFile(CString path)
{
    m_strPreviewFile = path;
    m_pClipsPage->SetSaveClipFile(path);
}

BOOL CDatabaseSheet::SelectClip(int id)
{
    m_nSelectedClip = id;
    if (!m_pClipSet->IsOpen())
        return FALSE;
    if (m_pClipSet->IsEOF() && m_pClipSet->IsBOF())
        return FALSE;
    if (!m_pClipSet->FindFirst("[VideoClip].[ID] = ?", CDaoParams().Add((LONG)id)))
        return FALSE;
    m_pClipsPage->SetSaveClipID(id);
    return TRUE;
}

void CDatabaseSheet::OnDaoError(BOOL recoverable)
{
    AfxMessageBox("Could not complete action.  Check remote db connection", MB_OK);
    if (!recoverable)
        AfxMessageBox("Cannot recover from error.  Exiting Application...");
    m_bRemote = FALSE;
    // The posted Cancel ends the loop (with IDCANCEL) once the page's handler has
    // returned; ending the loop here as well would leave the press queued for the next
    // showing, which it would end at once.
    EndSheet(IDCANCEL);
    // Posted: the main window's close deletes the sheets, which must not happen while this
    // sheet's loop and the page handler that called here are still on the stack.
    if (!recoverable)
        if (CWnd* main = AfxGetMainWnd())
            if (main->GetSafeHwnd())
                main->PostMessage(WM_CLOSE);
}

void CDatabaseSheet::EndSheet(int result)
{
    if (!GetSafeHwnd() || !m_bInModalLoop || m_nEndResult)
        return;
    m_nEndResult = result;
    PressButton(PSBTN_CANCEL);
}

void CDatabaseSheet::CreateGroupRecordsets()
{
    CloseGroupRecordsets();
    delete m_pGroupDetailSet;
    delete m_pGroupMasterSet;
    m_pGroupDetailSet = new CRefClipGroupDetail;
    m_pGroupMasterSet = new CRefClipGroupMaster;
}

void CDatabaseSheet::OpenGroupRecordsets()
{
    for (CDaoRecordset* set :
         {(CDaoRecordset*)m_pGroupDetailSet, (CDaoRecordset*)m_pGroupMasterSet}) {
        if (!set || set->IsOpen())
            continue;
        try {
            set->Open(dbOpenDynaset);
        } catch (CDaoException* e) {
            AfxMessageBox(e->m_pErrorInfo ? e->m_pErrorInfo->m_strDescription : CString(),
                          MB_ICONEXCLAMATION);
            e->Delete();
        }
    }
}

void CDatabaseSheet::CloseGroupRecordsets()
{
    for (CDaoRecordset* set :
         {(CDaoRecordset*)m_pGroupDetailSet, (CDaoRecordset*)m_pGroupMasterSet})
        if (set && set->IsOpen())
            set->Close();
}
