#include "ClipsPPage.h"
#include "AppConfig.h"
#include "BrowserLists.h"
#include "Clavio.h"
#include "Clip.h"
#include "ClipFilter.h"
#include "ClipBar.h"
#include "DatabaseMgr.h"
#include "DatabaseSheet.h"
#include "Globals.h"
#include "MoreDlg.h"
#include "ProgressDlg.h"
#include "QuickRegisterDlg.h"
#include "Recordsets.h"
#include "RemoteSend.h"
#include "Utility.h"
#include "browser_res.h"

// ---------------------------------------------------------------------------------------
// Conditions

namespace {

const char kSort[] = "[ClipType] DESC, [VideoClipName], [DateTimeStamp]";

} // namespace

// ---------------------------------------------------------------------------------------
// Construction

IMPLEMENT_DYNCREATE(CClipsPPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CClipsPPage, CPropertyPage)
    ON_BN_CLICKED(IDC_DB_FIRST, OnFirstRecord)
    ON_BN_CLICKED(IDC_CP_PREV, OnPrevRecord)
    ON_BN_CLICKED(IDC_CP_NEXT, OnNextRecord)
    ON_BN_CLICKED(IDC_DB_LAST, OnLastRecord)
    ON_WM_HSCROLL()
    ON_BN_CLICKED(IDC_DB_SHOW_ALL, OnShowAll)
    ON_BN_CLICKED(IDC_CP_SHOW_CLIPS, OnShowClips)
    ON_BN_CLICKED(IDC_CP_SHOW_LADY_PROS, OnShowLadyPros)
    ON_BN_CLICKED(IDC_DB_SHOW_PROS, OnShowPros)
    ON_BN_CLICKED(IDC_CP_SHOW_STUDENTS, OnShowStudents)
    ON_BN_CLICKED(IDC_CP_SHOW_PLAYERS, OnShowPlayers)
    ON_BN_CLICKED(IDC_DB_SHOW_LEAGUE, OnShowLeague)
    ON_CBN_SELCHANGE(IDC_DB_CHOICE, OnFilterChoiceSelChange)
    ON_BN_CLICKED(IDC_CP_DATES_3, OnLast3Days)
    ON_BN_CLICKED(IDC_CP_DATES_7, OnLast7Days)
    ON_BN_CLICKED(IDC_CP_DATES_ALL, OnAllDates)
    ON_CBN_SELCHANGE(IDC_DB_FIND, OnFindSubjectSelChange)
    ON_CBN_SELCHANGE(IDC_CP_TYPE, OnClipTypeSelChange)
    ON_CBN_SELCHANGE(IDC_CP_SUBJECT, OnSubjectSelChange)
    ON_CBN_SELCHANGE(IDC_CP_CLUB, OnClubSelChange)
    ON_CBN_SELCHANGE(IDC_CP_VIEW, OnViewSelChange)
    ON_EN_UPDATE(IDC_DB_COMMENT, OnCommentUpdate)
    ON_EN_CHANGE(IDC_CP_TIME, OnTimeChange)
    ON_EN_CHANGE(IDC_CP_DATE, OnDateChange)
    ON_EN_UPDATE(IDC_CP_INSTRUCTOR, OnInstructorUpdate)
    ON_CBN_SELCHANGE(IDC_CP_COMPARISON, OnComparisonSubjectSelChange)
    ON_BN_CLICKED(IDC_CP_EDIT, OnEditClip)
    ON_BN_CLICKED(IDC_CP_DELETE, OnDeleteClip)
    ON_BN_CLICKED(IDC_CP_QUICK_REGISTER, OnQuickRegister)
    ON_BN_CLICKED(IDC_CP_MORE, OnMore)
    ON_BN_CLICKED(IDC_CP_SEND, OnSendClipToClipPanel)
    ON_BN_CLICKED(IDC_CP_SEND_ALL, OnSendAllToClipPanel)
    ON_BN_CLICKED(IDC_CP_EXPORT, OnExportClip)
    ON_BN_CLICKED(IDC_CP_EXPORT_ALL, OnExportAll)
    ON_BN_CLICKED(IDC_CP_IMPORT, OnImportClip)
    ON_BN_CLICKED(IDC_CP_EMAIL, OnSendVideoEmail)
    ON_WM_DESTROY()
    ON_MESSAGE(WM_SHOW_PREVIEW, OnShowPreview)
END_MESSAGE_MAP()

CClipsPPage::CClipsPPage()
    : CRecordPage(IDD_CLIPS_PAGE), m_pSet(NULL), m_bSaveClipMode(FALSE), m_nSaveClipID(-1),
      m_nFindPersonID(-1), m_bUserEdit(FALSE), m_bComparison(FALSE), m_bClipTypeReplaced(FALSE),
      m_bLoading(FALSE), m_bTypeChosen(FALSE), m_bSubjectChosen(FALSE), m_bClubChosen(FALSE),
      m_bViewChosen(FALSE), m_bCommentChanged(FALSE), m_bStampChanged(FALSE),
      m_bPreviewPending(FALSE)
{
}

CClipsPPage::~CClipsPPage()
{
    m_preview.Destroy();
}

void CClipsPPage::OnDestroy()
{
    m_preview.Destroy();
    CPropertyPage::OnDestroy();
}

BOOL CClipsPPage::DestroyWindow()
{
    return CPropertyPage::DestroyWindow();
}

void CClipsPPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CP_SLIDER, m_recordSlider);
    DDX_Control(pDX, IDC_CP_INSTRUCTOR, m_instructorEdit);
    DDX_Control(pDX, IDC_DB_TITLE, m_titleStatic);
    DDX_Control(pDX, IDC_DB_CHOICE, m_filterChoiceCombo);
    DDX_Control(pDX, IDC_DB_FIND, m_findCombo);
    DDX_Control(pDX, IDC_DB_COMMENT, m_commentEdit);
    DDX_Control(pDX, IDC_CP_COMPARISON, m_comparisonCombo);
    DDX_Control(pDX, IDC_CP_TYPE, m_clipTypeCombo);
    DDX_Control(pDX, IDC_CP_VIEW, m_viewCombo);
    DDX_Control(pDX, IDC_CP_SUBJECT, m_subjectCombo);
    DDX_Control(pDX, IDC_CP_CLUB, m_clubCombo);
}

CString CClipsPPage::CapturePath(const CString& fileName) const
{
    const CString folder = g_pAppConfig ? g_pAppConfig->GetCaptureDirectory() : CString();
    return folder + "\\" + fileName;
}

int CClipsPPage::GetClipTypeCount()
{
    return CClipFilter::ClipTypeCount();
}

// ---------------------------------------------------------------------------------------
// Initialisation and activation

BOOL CClipsPPage::OnInitDialog()
{
    m_bLoading = TRUE;
    CPropertyPage::OnInitDialog();
    const COleDateTime low(1990, 1, 1, 0, 0, 0), high(2999, 12, 31, 23, 59, 59);
    m_timeCtrl.SetFormat(SECDateTimeCtrl::Time);
    m_timeCtrl.SetMinMax(low, high, SECDateTimeCtrl::TimeRange);
    m_timeCtrl.AttachDateTime(IDC_CP_TIME, this, 2, WS_CHILD | WS_TABSTOP | WS_VISIBLE,
                              WS_EX_CLIENTEDGE);
    m_dateCtrl.SetCustomFormat("MM/dd/yyyy");
    m_dateCtrl.SetMinMax(low, high, SECDateTimeCtrl::DateRange);
    m_dateCtrl.AttachDateTime(IDC_CP_DATE, this, 2, WS_CHILD | WS_TABSTOP | WS_VISIBLE,
                              WS_EX_CLIENTEDGE);
    m_instructorEdit.SetReadOnly(TRUE);
    m_nFindPersonID = -1;
    ShowFilterButtons();
    FillClipTypeList();
    FillFieldList(m_clubCombo, IDC_CP_CLUB_LABEL, "Club", "Club");
    FillFieldList(m_viewCombo, IDC_CP_VIEW_LABEL, "View", "View");
    CheckRadioButton(IDC_CP_DATES_3, IDC_CP_DATES_ALL, IDC_CP_DATES_ALL);
    if (m_pSet)
        m_pSet->m_strSort = kSort;
    m_bLoading = FALSE;
    try {
        if (m_bSaveClipMode) {
            CheckDlgButton(IDC_CP_SHOW_STUDENTS, BST_CHECKED);
        } else {
            CheckDlgButton(IDC_DB_SHOW_ALL, BST_CHECKED);
        }
        FillFilterChoices();
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
    return TRUE;
}

void CClipsPPage::ShowFilterButtons()
{
    for (UINT id : {IDC_CP_SHOW_STUDENTS, IDC_DB_SHOW_PROS, IDC_CP_SHOW_LADY_PROS})
        if (CWnd* w = GetDlgItem(id))
            w->ShowWindow(SW_SHOW);
    for (UINT id : {IDC_DB_SHOW_LEAGUE, IDC_CP_SHOW_PLAYERS})
        if (CWnd* w = GetDlgItem(id))
            w->ShowWindow(SW_HIDE);
}

BOOL CClipsPPage::OnSetActive()
{
    ShowFilterButtons();
    try {
        if (m_pSheet && m_pSheet->GetResetPages()) {
            m_pSheet->SetResetPages(FALSE);
            m_bDaoFailed = FALSE;
            m_bComparison = FALSE;
            m_bUserEdit = FALSE;
            if (m_bSaveClipMode) {
                m_personCondition = CClipCondition();
                OpenSingleClip(m_nSaveClipID);
                SetSaveClipLayout(TRUE);
                SetFormEditable(TRUE);
                if (m_pSheet->GetAddedPersonID() >= 0) {
                    SelectItemData(m_subjectCombo, m_pSheet->GetAddedPersonID());
                    m_bSubjectChosen = TRUE;
                    m_pSheet->SetAddedPersonID(-1);
                }
            } else {
                m_bClubChosen = m_bViewChosen = FALSE;
                SetSaveClipLayout(FALSE);
                SetFormEditable(FALSE);
                ApplyRecordFilter(m_filter.m_nIndex);
            }
        }
        FillSubjectList(!m_bSaveClipMode);
        if (!m_bSaveClipMode)
            FillFindList();
        LoadForm();
        UpdateRecordCount();
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
    return CPropertyPage::OnSetActive();
}

BOOL CClipsPPage::OnKillActive()
{
    BOOL ok = TRUE;
    if (!m_bSaveClipMode && !m_bUserEdit) {
        try {
            ok = SaveRecord(TRUE);
        } catch (CDaoException* e) {
            HandleDaoError(e, FALSE);
            ok = FALSE;
        }
    }
    return ok && CPropertyPage::OnKillActive();
}

// ---------------------------------------------------------------------------------------
// The form

void CClipsPPage::FillFieldList(CComboBox& list, UINT labelId, LPCTSTR field, LPCTSTR fallback)
{
    SetDlgItemText(labelId, FieldDisplayName(field, fallback));
    CComboBox scratch;
    CString* entries[CXMLParser::MaxEntries] = {};
    const int count = g_pAppConfig ? g_pAppConfig->m_xmlParser.GetEntries(field, entries) : 0;
    if (count > 0)
        list.ResetContent();
    for (int i = 0; i < count; ++i) {
        if (*entries[i] != "Comparison" || m_bComparison)
            list.AddString(*entries[i]);
        delete entries[i];
    }
    if (count > 0)
        list.SetCurSel(0);
}

void CClipsPPage::FillClipTypeList()
{
    FillFieldList(m_clipTypeCombo, IDC_CP_TYPE_LABEL, "ClipType", "Clip type");
}

// Shows a stored text in a list: the exact entry when there is one, else the text as it
// stands (a value the lists do not offer is shown, and kept, not replaced).
static void ShowListText(CComboBox& list, const CString& text)
{
    const int item = list.FindStringExact(-1, text);
    list.SetCurSel(item);
    if (item == CB_ERR)
        list.SetWindowText(text);
}

static CString ListText(CComboBox& list)
{
    CString text;
    list.GetWindowText(text);
    return text;
}

CString CClipsPPage::GetClipTypeText()
{
    // A type the definitions do not offer is taken as a swing, and saved so.
    if (m_pSet && m_clipTypeCombo.GetSafeHwnd() && m_pSet->m_ClipType != "Comparison" &&
        m_clipTypeCombo.FindStringExact(-1, m_pSet->m_ClipType) == CB_ERR) {
        m_pSet->m_ClipType = "Swing";
        m_bClipTypeReplaced = TRUE;
    }
    return m_pSet ? m_pSet->m_ClipType : CString();
}

void CClipsPPage::LoadForm()
{
    if (!GetSafeHwnd())
        return;
    m_bLoading = TRUE;
    const BOOL onRow = IsOnRow(m_pSet);
    if (onRow) {
        const BOOL comparison = m_pSet->m_ClipType == "Comparison";
        if (comparison != m_bComparison) {
            m_bComparison = comparison;
            FillClipTypeList();
        }
        m_bClipTypeReplaced = FALSE;
        ShowListText(m_clipTypeCombo, GetClipTypeText());
        ShowListText(m_clubCombo, m_pSet->m_Club);
        ShowListText(m_viewCombo, m_pSet->m_View);
        m_commentEdit.SetWindowText(m_pSet->m_Comment);
        SelectItemData(m_subjectCombo, (DWORD_PTR)(LONG_PTR)m_pSet->m_PersonID);
        if (m_pSet->IsFieldNull(&m_pSet->m_DateTimeStamp) ||
            m_pSet->m_DateTimeStamp.GetStatus() != COleDateTime::valid) {
            m_timeCtrl.SetNull(' ');
            m_dateCtrl.SetNull(' ');
        } else {
            m_timeCtrl.SetDateTime(m_pSet->m_DateTimeStamp);
            m_dateCtrl.SetDateTime(m_pSet->m_DateTimeStamp);
        }
    } else {
        m_clipTypeCombo.SetCurSel(-1);
        m_clubCombo.SetCurSel(-1);
        m_viewCombo.SetCurSel(-1);
        m_commentEdit.SetWindowText("");
        m_subjectCombo.SetCurSel(-1);
        m_timeCtrl.SetNull(' ');
        m_dateCtrl.SetNull(' ');
    }
    FillComparisonList();
    UpdateInstructorFromSubject();
    ShowPreview();
    m_bLoading = FALSE;
}

void CClipsPPage::ClearPreview()
{
    m_preview.Clear();
}

// The video is loaded once the page's message loop runs again: the control may report a
// file it cannot play, which must not happen while the sheet is being made or moved.
void CClipsPPage::ShowPreview()
{
    if (GetSafeHwnd() && !m_bPreviewPending) {
        m_bPreviewPending = TRUE;
        PostMessage(WM_SHOW_PREVIEW);
    }
}

LRESULT CClipsPPage::OnShowPreview(WPARAM, LPARAM)
{
    m_bPreviewPending = FALSE;
    // Only for a sheet on the screen: a press of OK or Cancel may have come first.
    if (IsWindowVisible() && m_pSheet && m_pSheet->IsInModalLoop())
        LoadPreview();
    return 0;
}

void CClipsPPage::LoadPreview()
{
    CString path;
    if (m_bSaveClipMode && !m_strSaveClipFile.IsEmpty())
        path = m_strSaveClipFile;
    else if (IsOnRow(m_pSet) && CClip::IsSafeVideoName(m_pSet->m_VideoClipFileName))
        path = CapturePath(m_pSet->m_VideoClipFileName);
    m_preview.Load(this, IDC_CP_PREVIEW, path, IsOnRow(m_pSet) ? m_pSet->m_TrimIn * 2 : 0);
}

// The user's changes go into the row; fields the user left alone keep their stored value.
void CClipsPPage::StoreForm()
{
    if (m_bTypeChosen)
        m_pSet->m_ClipType = ListText(m_clipTypeCombo);
    else if (m_bClipTypeReplaced)
        m_pSet->SetFieldDirty(&m_pSet->m_ClipType);
    if (m_bClubChosen)
        m_pSet->m_Club = ListText(m_clubCombo);
    if (m_bViewChosen)
        m_pSet->m_View = ListText(m_viewCombo);
    if (m_bCommentChanged)
        m_commentEdit.GetWindowText(m_pSet->m_Comment);
    const int subject = m_subjectCombo.GetCurSel();
    if (m_bSubjectChosen || m_pSet->GetEditMode() == dbEditAdd)
        m_pSet->m_PersonID =
            subject == CB_ERR ? -1 : (LONG)(LONG_PTR)m_subjectCombo.GetItemData(subject);
    // A stamp is made only of a date and a time that are both set.
    if (m_bStampChanged && m_dateCtrl.GetDateTime().GetStatus() == COleDateTime::valid &&
        m_timeCtrl.GetDateTime().GetStatus() == COleDateTime::valid) {
        const COleDateTime date = m_dateCtrl.GetDateTime(), time = m_timeCtrl.GetDateTime();
        m_pSet->m_DateTimeStamp.SetDateTime(date.GetYear(), date.GetMonth(), date.GetDay(),
                                            time.GetHour(), time.GetMinute(), time.GetSecond());
        m_pSet->SetFieldNull(&m_pSet->m_DateTimeStamp, FALSE);
    }
}

// The partner of a comparison clip, shown (never chosen): the one entry the list holds.
void CClipsPPage::FillComparisonList()
{
    m_comparisonCombo.ResetContent();
    if (!IsOnRow(m_pSet) || m_pSet->m_ClipType != "Comparison" || m_pSet->m_ComparisonClipID < 0)
        return;
    CDaoRecordset partner(m_pSet->m_pDatabase);
    try {
        OpenWith(partner,
                 "SELECT [VideoClip].[ID], [Person].[LastName], [Person].[FirstName] FROM "
                 "[VideoClip] INNER JOIN [Person] ON [VideoClip].[PersonID] = [Person].[ID] "
                 "WHERE [VideoClip].[ID] = ?",
                 CDaoParams().Add((LONG)m_pSet->m_ComparisonClipID));
        if (!partner.IsEOF()) {
            COleVariant last = partner.GetFieldValue(1), first = partner.GetFieldValue(2);
            const CString text = PersonText(V_VT(&last) == VT_BSTR ? CString(V_BSTR(&last)) : CString(),
                                            V_VT(&first) == VT_BSTR ? CString(V_BSTR(&first)) : CString());
            const int item = m_comparisonCombo.AddString(text);
            m_comparisonCombo.SetItemData(item, (DWORD_PTR)(LONG_PTR)m_pSet->m_ComparisonClipID);
            m_comparisonCombo.SetCurSel(item);
        }
    } catch (CDaoException* e) {
        PassOnOrShow(e);
    }
}

// The instructor of the shown row's subject, found by IDs.
void CClipsPPage::UpdateInstructorFromSubject()
{
    m_strInstructor.Empty();
    const int item = m_subjectCombo.GetCurSel();
    if (item != CB_ERR && m_pSet && m_pSet->m_pDatabase) {
        const LONG person = (LONG)(LONG_PTR)m_subjectCombo.GetItemData(item);
        try {
            m_strInstructor = InstructorNameOf(m_pSet->m_pDatabase, person);
        } catch (CDaoException* e) {
            PassOnOrShow(e);
        }
    }
    if (m_instructorEdit.GetSafeHwnd()) {
        // The page's own writing starts no edit.
        const BOOL loading = m_bLoading;
        m_bLoading = TRUE;
        m_instructorEdit.SetWindowText(m_strInstructor);
        m_bLoading = loading;
    }
}

void CClipsPPage::ApplyClipTypeMode()
{
    LoadForm();
}

// ---------------------------------------------------------------------------------------
// Lists from the database

void CClipsPPage::FillSubjectList(BOOL withRoleCondition)
{
    if (!m_pSet || !m_pSet->m_pDatabase)
        return;
    // Every person once (by ID), in the role modes only the people of the role; the row's
    // own subject is always offered.
    CClipCondition role;
    if (withRoleCondition && m_filter.m_nMode > GetClipTypeCount() && !m_personCondition.IsEmpty())
        role = m_personCondition;
    CPeopleRecord people(m_pSet->m_pDatabase);
    const int keep = m_subjectCombo.GetCurSel() == CB_ERR
                         ? -1
                         : (int)m_subjectCombo.GetItemData(m_subjectCombo.GetCurSel());
    m_subjectCombo.ResetContent();
    try {
        ApplyCondition(&people, role);
        // In the list's order already: appended, not sorted in one by one.
        people.m_strSort = "[LastName], [FirstName]";
        people.Open(dbOpenSnapshot, "SELECT * FROM [Person]", dbReadOnly);
        for (; !people.IsEOF(); people.MoveNext()) {
            const int item =
                m_subjectCombo.InsertString(-1, PersonText(people.m_LastName, people.m_FirstName));
            m_subjectCombo.SetItemData(item, (DWORD_PTR)(LONG_PTR)people.m_ID);
        }
    } catch (CDaoException* e) {
        PassOnOrShow(e);
    }
    if (IsOnRow(m_pSet))
        SelectItemData(m_subjectCombo, (DWORD_PTR)(LONG_PTR)m_pSet->m_PersonID);
    else if (keep >= 0)
        SelectItemData(m_subjectCombo, keep);
}

// The people that have clips under the current conditions, each once (by ID).
void CClipsPPage::FillFindList()
{
    if (!m_pSet || !m_pSet->m_pDatabase)
        return;
    CClipCondition condition = m_personCondition.And(m_dateCondition);
    condition = condition.And(m_filter.InstructorCondition());
    try {
        FillPeopleWithClips(m_findCombo, m_pSet->m_pDatabase, condition.text, condition.params);
    } catch (CDaoException* e) {
        PassOnOrShow(e);
    }
    if (SelectItemData(m_findCombo, (DWORD_PTR)(LONG_PTR)m_nFindPersonID) == CB_ERR) {
        m_nFindPersonID = -1;
        SelectItemData(m_findCombo, (DWORD_PTR)-1);
    }
}

int CClipsPPage::GetFindPersonID()
{
    const int item = m_findCombo.GetCurSel();
    return item == CB_ERR ? CB_ERR : (int)(LONG_PTR)m_findCombo.GetItemData(item);
}

// ---------------------------------------------------------------------------------------
// Filters

CString CClipsPPage::GetTitleText() const
{
    CString text;
    if (m_titleStatic.GetSafeHwnd())
        m_titleStatic.GetWindowText(text);
    return text;
}

void CClipsPPage::SetCondition(const CClipCondition& condition)
{
    m_condition = condition;
    ApplyCondition(m_pSet, condition);
}

void CClipsPPage::FillFilterChoices()
{
    m_filter.FillChoices(m_filterChoiceCombo, GetDlgItem(IDC_DB_CHOICE_LABEL),
                         m_pSet ? m_pSet->m_pDatabase : NULL);
}

void CClipsPPage::ApplyRecordFilter(int index)
{
    if (!m_pSet || !m_pSet->IsOpen())
        return;
    if (!m_bSaveClipMode && !m_bUserEdit && !SaveRecord(TRUE))
        return;
    CString title;
    m_personCondition = m_filter.Apply(index, m_filterChoiceCombo, m_pSet->m_pDatabase, title);
    if (m_filter.m_nIndex == 0) {
        m_titleStatic.SetDefaultColors();
        m_nFindPersonID = -1;
    } else {
        m_titleStatic.SetBkColor(kBannerYellow);
    }
    SetCondition(m_personCondition.And(m_dateCondition));
    m_titleStatic.SetWindowText(title);
    m_titleStatic.Invalidate();
    if (!m_bSaveClipMode && !m_bUserEdit) {
        RequeryAndShow();
        FillFindList();
        if (GetFindPersonID() > 0 && m_nFindPersonID >= 0)
            OnFindSubjectSelChange();
    }
    FillSubjectList();
    UpdateRecordCount();
    LoadForm();
}

void CClipsPPage::OnShowAll()
{
    try {
        m_filter.SetMode(0);
        FillFilterChoices();
        ApplyRecordFilter(0);
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

void CClipsPPage::OnShowClips()
{
    if (!m_filter.SetMode(1))
        return;
    try {
        FillFilterChoices();
        ApplyRecordFilter(1);
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

// The role radios: the mode they record and the filter index they apply.
#define ROLE_RADIO(handler, mode, index)                                                   \
    void CClipsPPage::handler()                                                            \
    {                                                                                      \
        try {                                                                              \
            const int types = GetClipTypeCount();                                          \
            m_filter.SetMode(mode);                                                        \
            FillFilterChoices();                                                           \
            ApplyRecordFilter(index);                                                      \
        } catch (CDaoException* e) {                                                       \
            HandleDaoError(e);                                                             \
        }                                                                                  \
    }
ROLE_RADIO(OnShowPlayers, types + 2, types + 1)
ROLE_RADIO(OnShowPros, types + 2, types + 2)
ROLE_RADIO(OnShowLadyPros, types + 3, types + 3)
ROLE_RADIO(OnShowStudents, types + 4, types + 4)
ROLE_RADIO(OnShowLeague, types + 5, 0)
#undef ROLE_RADIO

void CClipsPPage::OnFilterChoiceSelChange()
{
    const int index = m_filter.IndexOfChoice(m_filterChoiceCombo.GetCurSel());
    try {
        if (index >= 0)
            ApplyRecordFilter(index);
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

void CClipsPPage::SetDateFilter(int days)
{
    m_dateCondition = CClipCondition();
    if (days > 0) {
        const COleDateTime limit = COleDateTime::GetCurrentTime() - COleDateTimeSpan(days, 0, 0, 0);
        COleVariant value;
        V_VT(&value) = VT_DATE;
        V_DATE(&value) = limit.m_dt;
        m_dateCondition = Condition("[VideoClip].[DateTimeStamp] > ?", CDaoParams().Add(value));
    }
    try {
        ApplyRecordFilter(m_filter.m_nIndex);
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

void CClipsPPage::OnLast3Days() { SetDateFilter(3); }
void CClipsPPage::OnLast7Days() { SetDateFilter(7); }
void CClipsPPage::OnAllDates() { SetDateFilter(0); }

void CClipsPPage::OnFindSubjectSelChange()
{
    try {
        if (m_bUserEdit ? !SaveRecord(FALSE) : !SaveRecord(TRUE))
            return;
        m_nFindPersonID = GetFindPersonID();
        if (m_nFindPersonID < 0) {
            m_nFindPersonID = -1;
            SetCondition(m_personCondition.And(m_dateCondition));
            m_titleStatic.SetDefaultColors();
            if (m_filter.m_nIndex > 0)
                m_titleStatic.SetBkColor(kBannerYellow);
            m_titleStatic.SetWindowText(m_filter.m_strTitle);
        } else {
            CString name;
            m_findCombo.GetLBText(m_findCombo.GetCurSel(), name);
            m_titleStatic.SetBkColor(kBannerYellow);
            m_titleStatic.SetWindowText(m_filter.SubjectTitle(name));
            SetCondition(Condition("[VideoClip].[PersonID] = ?",
                                   CDaoParams().Add((LONG)m_nFindPersonID))
                             .And(m_dateCondition));
        }
        RequeryAndShow();
        UpdateRecordCount();
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

// ---------------------------------------------------------------------------------------
// Position

BOOL CClipsPPage::RequeryAndShow()
{
    try {
        m_pSet->Requery();
    } catch (CDaoException* e) {
        PassOnOrShow(e);
        return FALSE;
    }
    LoadForm();
    return TRUE;
}

void CClipsPPage::UpdateRecordCount()
{
    if (GetSafeHwnd())
        ShowPosition(m_pSet, m_recordSlider, IDC_DB_COUNT, m_strRecordCount);
    else
        m_strRecordCount = PositionText(m_pSet);
}

void CClipsPPage::Navigate(Move move)
{
    try {
        if (!SaveRecord(TRUE))
            return;
        MoveRecord(m_pSet, move);
        UpdateRecordCount();
        LoadForm();
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

void CClipsPPage::OnFirstRecord() { Navigate(MoveFirst); }
void CClipsPPage::OnPrevRecord() { Navigate(MovePrev); }
void CClipsPPage::OnNextRecord() { Navigate(MoveNext); }
void CClipsPPage::OnLastRecord() { Navigate(MoveLast); }

void CClipsPPage::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (pScrollBar && pScrollBar->GetDlgCtrlID() == IDC_CP_SLIDER && m_pSet) {
        try {
            if (SaveRecord(TRUE)) {
                MoveToSlider(m_pSet, m_recordSlider);
                LoadForm();
                UpdateRecordCount();
            }
        } catch (CDaoException* e) {
            HandleDaoError(e);
        }
    }
    CPropertyPage::OnHScroll(nSBCode, nPos, pScrollBar);
}

// ---------------------------------------------------------------------------------------
// Editing

void CClipsPPage::UpdateEditStatus()
{
    const short mode = m_pSet && m_pSet->IsOpen() ? m_pSet->GetEditMode() : dbEditNone;
    SetDlgItemText(IDC_DB_EDIT_STATE,
                   mode == dbEditInProgress ? "Editing" : mode == dbEditAdd ? "Adding" : "");
}

static const UINT kBrowseButtons[] = {IDC_CP_SEND, IDC_CP_SEND_ALL, IDC_CP_DELETE,
                                      IDC_CP_IMPORT, IDC_CP_EXPORT, IDC_CP_EXPORT_ALL,
                                      IDC_CP_SLIDER, IDC_CP_NEXT, IDC_CP_PREV, IDC_DB_FIRST,
                                      IDC_DB_LAST, IDC_CP_EMAIL};

void CClipsPPage::SetFormEditable(BOOL edit)
{
    m_commentEdit.SetReadOnly(!edit);
    for (CComboEx* list : {&m_clipTypeCombo, &m_subjectCombo, &m_clubCombo, &m_viewCombo})
        list->SetReadOnly(!edit);
    m_dateCtrl.EnableWindow(edit);
    m_timeCtrl.EnableWindow(edit);
    m_comparisonCombo.SetReadOnly(TRUE);
    m_instructorEdit.SetReadOnly(TRUE);
    const BOOL browse = !edit && !m_bUserEdit;
    for (UINT id : kBrowseButtons)
        if (CWnd* w = GetDlgItem(id))
            w->EnableWindow(browse);
    SetDlgItemText(IDC_CP_EDIT, m_bUserEdit ? "Cancel Edit" : "Edit Clip");
    if (!m_bSaveClipMode)
        EnableBrowseControls();
}

void CClipsPPage::EnableBrowseControls()
{
    if (m_bSaveClipMode || m_bUserEdit || !m_pSet || !m_pSet->IsOpen())
        return;
    const BOOL rows = m_pSet->GetRecordCount() > 0;
    for (UINT id : kBrowseButtons)
        if (CWnd* w = GetDlgItem(id))
            w->EnableWindow(rows && id != IDC_CP_IMPORT ? TRUE : id == IDC_CP_IMPORT);
    for (UINT id : {IDC_CP_EDIT, IDC_DB_FIND, IDC_CP_MORE})
        if (CWnd* w = GetDlgItem(id))
            w->EnableWindow(rows);
}

void CClipsPPage::SetSaveClipLayout(BOOL save)
{
    if (save)
        SetDlgItemText(IDC_DB_CHOICE_LABEL, "With Instructor...");
    for (UINT id : kBrowseButtons)
        if (CWnd* w = GetDlgItem(id))
            w->EnableWindow(!save);
    for (UINT id : {IDC_DB_FIND, IDC_CP_FIND_GROUP, IDC_CP_EDIT, IDC_CP_SHOW_CLIPS})
        if (CWnd* w = GetDlgItem(id))
            w->EnableWindow(!save);
}

void CClipsPPage::BeginEdit()
{
    if (m_bLoading || !m_pSet || !m_pSet->IsOpen())
        return;
    if (m_pSet->GetEditMode() != dbEditNone)
        return;
    if (!IsOnRow(m_pSet))
        return; // an empty list of clips offers nothing to edit
    m_bUserEdit = TRUE;
    m_pSet->Edit();
    SetModified(TRUE);
    UpdateEditStatus();
}

#define FIELD_HANDLER(handler, flag)                                                       \
    void CClipsPPage::handler()                                                            \
    {                                                                                      \
        if (m_bLoading)                                                                    \
            return;                                                                        \
        try {                                                                              \
            BeginEdit();                                                                   \
            flag = TRUE;                                                                   \
        } catch (CDaoException* e) {                                                       \
            HandleDaoError(e);                                                             \
        }                                                                                  \
    }
FIELD_HANDLER(OnClubSelChange, m_bClubChosen)
FIELD_HANDLER(OnViewSelChange, m_bViewChosen)
FIELD_HANDLER(OnCommentUpdate, m_bCommentChanged)
FIELD_HANDLER(OnTimeChange, m_bStampChanged)
FIELD_HANDLER(OnDateChange, m_bStampChanged)

void CClipsPPage::OnInstructorUpdate()
{
    if (m_bLoading)
        return;
    try {
        BeginEdit();
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

void CClipsPPage::OnComparisonSubjectSelChange()
{
    if (m_bLoading)
        return;
    m_bComparison = TRUE;
    try {
        BeginEdit();
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}
#undef FIELD_HANDLER

void CClipsPPage::OnClipTypeSelChange()
{
    if (m_bLoading)
        return;
    try {
        BeginEdit();
        m_bTypeChosen = TRUE;
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

void CClipsPPage::OnSubjectSelChange()
{
    if (m_bLoading)
        return;
    try {
        BeginEdit();
        m_bSubjectChosen = TRUE;
        UpdateInstructorFromSubject();
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

// The row's name from its subject, read by ID, and its clip type.
BOOL CClipsPPage::MakeClipName()
{
    const CString type = m_pSet->m_ClipType;
    CPeopleRecord people(m_pSet->m_pDatabase);
    if (!OpenPerson(people, m_pSet->m_PersonID)) {
        m_pSet->m_VideoClipName = type;
        return FALSE;
    }
    CString last = people.m_LastName, first = people.m_FirstName;
    last.TrimLeft();
    last.TrimRight();
    first.TrimLeft();
    first.TrimRight();
    m_pSet->m_VideoClipName = PersonText(last, first) + " " + type;
    return TRUE;
}

BOOL CClipsPPage::SaveRecord(BOOL validate)
{
    if (m_bDaoFailed)
        return FALSE;
    if (!m_pSet || !m_pSet->IsOpen())
        return TRUE;
    m_bUserEdit = FALSE;
    const short mode = m_pSet->GetEditMode();
    BOOL result = TRUE;
    if (mode == dbEditNone) {
        result = TRUE;
    } else if (!validate) {
        m_pSet->CancelUpdate();
    } else {
        const int subject = m_subjectCombo.GetCurSel();
        const BOOL valid = subject != CB_ERR && (LONG_PTR)m_subjectCombo.GetItemData(subject) >= 0;
        if (valid) {
            if ((!m_bClubChosen || !m_bViewChosen) && !m_strSaveClipFile.IsEmpty() &&
                g_pAppConfig && g_pAppConfig->GetNagEnable()) {
                CString question;
                question.Format("Are you sure the selected %s and view fields are valid?",
                                (LPCTSTR)FieldDisplayName("Club", "Club"));
                if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES) {
                    m_bUserEdit = TRUE;
                    return FALSE;
                }
            }
            StoreForm();
            m_bClubChosen = m_bViewChosen = TRUE;
            MakeClipName();
            m_pSet->Update();
            m_bTypeChosen = m_bSubjectChosen = m_bCommentChanged = m_bStampChanged = FALSE;
            SetModified(FALSE);
            FillFindList();
        } else {
            if (m_pSheet && m_pSheet->GetActivePage() != this) {
                m_pSheet->SetActivePage(this);
                AfxMessageBox("Please verify clip subject name.");
            } else {
                AfxMessageBox(mode == dbEditAdd ? "Invalid subject name. Clip not added."
                                                : "Invalid subject name. Subject clip not changed");
            }
            m_bUserEdit = TRUE;
            result = FALSE;
        }
    }
    if (result)
        m_bTypeChosen = m_bSubjectChosen = m_bCommentChanged = m_bStampChanged = FALSE;
    UpdateEditStatus();
    if (result && !m_bSaveClipMode && GetSafeHwnd())
        SetFormEditable(FALSE);
    return result;
}

void CClipsPPage::OnEditClip()
{
    try {
        if (m_bUserEdit) {
            SaveRecord(FALSE);
            SetModified(FALSE);
            LoadForm();
            return;
        }
        if (!SaveRecord(TRUE) || !IsOnRow(m_pSet))
            return;
        BeginEdit();
        FillSubjectList(FALSE);
        SetFormEditable(TRUE);
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

BOOL CClipsPPage::OpenSingleClip(int id)
{
    try {
        if (m_pSet->IsOpen())
            m_pSet->Close();
        SetCondition(Condition("[VideoClip].[ID] = ?", CDaoParams().Add((LONG)id)));
        m_pSet->Open(dbOpenDynaset, "[VideoClip]");
        if (IsOnRow(m_pSet)) {
            m_pSet->Edit();
            SetModified(TRUE);
        }
        UpdateEditStatus();
        return TRUE;
    } catch (CDaoException* e) {
        HandleDaoError(e);
        return FALSE;
    }
}

BOOL CClipsPPage::OnApply()
{
    try {
        if (m_pSet && m_pSet->IsOpen() && m_pSet->GetEditMode() != dbEditNone && m_pSheet &&
            m_pSheet->GetActivePage() != this) {
            AfxMessageBox("Please verify clip subject name");
            m_pSheet->SetActivePage(this);
            return FALSE;
        }
        if (!SaveRecord(TRUE))
            return FALSE;
        UpdateRecordCount();
        if (m_bSaveClipMode) {
            SetSaveClipLayout(FALSE);
            SetFormEditable(FALSE);
        }
        return CPropertyPage::OnApply();
    } catch (CDaoException* e) {
        HandleDaoError(e, FALSE);
        return FALSE;
    }
}

void CClipsPPage::OnOK()
{
    ClearPreview();
    try {
        if (SaveRecord(TRUE))
            CPropertyPage::OnOK();
    } catch (CDaoException* e) {
        HandleDaoError(e, FALSE);
    }
}

void CClipsPPage::OnCancel()
{
    try {
        SaveRecord(FALSE);
    } catch (CDaoException* e) {
        e->Delete();
    }
    ClearPreview();
    if (m_pSheet)
        m_pSheet->SetResetPages(TRUE);
    CPropertyPage::OnCancel();
}

void CClipsPPage::OnMore()
{
    CMoreDlg more(this);
    m_commentEdit.GetWindowText(more.m_strText);
    const CString old = more.m_strText;
    if (more.DoModal() != IDOK || more.m_strText == old)
        return;
    try {
        BeginEdit();
        m_bLoading = TRUE;
        m_commentEdit.SetWindowText(more.m_strText);
        m_bLoading = FALSE;
        m_bCommentChanged = TRUE;
    } catch (CDaoException* e) {
        m_bLoading = FALSE;
        HandleDaoError(e);
    }
}

void CClipsPPage::OnQuickRegister()
{
    CQuickRegisterDlg dialog(TRUE, this);
    try {
        if (dialog.DoModal() == IDOK) {
            CPeopleRecord people(m_pSet->m_pDatabase);
            people.Open(dbOpenDynaset, "[Person]");
            people.AddNew();
            people.m_FirstName = dialog.m_strFirstName;
            people.m_LastName = dialog.m_strLastName;
            people.m_InstructorID = -1;
            people.m_LastLessonNumber = 0;
            people.Update();
            people.SetBookmark(people.GetLastModifiedBookmark());
            const LONG id = people.m_ID;
            people.Close();
            const int keep = m_subjectCombo.GetCurSel();
            FillSubjectList(FALSE);
            if (m_pSet->GetEditMode() != dbEditNone && (keep == CB_ERR || !m_bSubjectChosen)) {
                SelectItemData(m_subjectCombo, id);
                m_bSubjectChosen = TRUE;
            }
        }
        UpdateInstructorFromSubject();
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

void CClipsPPage::OnDeleteClip()
{
    if (AfxMessageBox("Are you sure you want to delete this Clip (there is no undo for this "
                      "operation)?",
                      MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    try {
        if (!SaveRecord(TRUE))
            return;
        if (!IsOnRow(m_pSet)) {
            AfxMessageBox("No Clip selected.");
            return;
        }
        CDaoDatabase* db = m_pSet->m_pDatabase;
        const LONG id = m_pSet->m_ID, person = m_pSet->m_PersonID;
        {
            CRefClipGroupDetail members(db);
            OpenWith(members, "SELECT * FROM [ReferenceClipGroupDetail] WHERE [VideoID] = ?",
                     CDaoParams().Add(id));
            if (!members.IsEOF()) {
                AfxMessageBox("You must first delete this clip from Clips Group page.");
                return;
            }
            CDaoRecordset partners(db);
            OpenWith(partners,
                     "SELECT [ID] FROM [VideoClip] WHERE ([ComparisonClipID] = ?) AND ([ID] <> ?)",
                     CDaoParams().Add(id).Add(id));
            if (!partners.IsEOF()) {
                AfxMessageBox("This clip is included in a comparison. Please delete the "
                              "comparison first.");
                return;
            }
        }
        const CString fileName = m_pSet->m_VideoClipFileName;
        // A stored name that reaches out of the capture folder names no file of this clip.
        const BOOL ownFile = !fileName.IsEmpty() && CClip::IsSafeVideoName(fileName);
        BOOL deletePerson = FALSE;
        {
            CDaoRecordset clips(db);
            OpenWith(clips, "SELECT [ID] FROM [VideoClip] WHERE [PersonID] = ?",
                     CDaoParams().Add(person));
            const long count = clips.GetRecordCount();
            CPeopleRecord people(db);
            if (count == 1 && OpenPerson(people, person))
                deletePerson =
                    AfxMessageBox("This is the last clip for " + people.m_FirstName + " " +
                                      people.m_LastName + ".  Would you like to delete the record?",
                                  MB_YESNO) == IDYES;
        }
        if (CClipBar* panel = CClipBar::GetClipBar())
            panel->RemoveClipByID(id);
        ClearPreview();
        // The row and the person go together, and only when the video file could go too.
        db->m_pWorkspace->BeginTrans();
        try {
            if (deletePerson)
                db->Execute("DELETE FROM [Person] WHERE [ID] = ?", CDaoParams().Add(person));
            m_pSet->Delete();
        } catch (CDaoException*) {
            db->m_pWorkspace->Rollback();
            throw;
        }
        if (ownFile && !::DeleteFileA(CapturePath(fileName))) {
            const DWORD error = ::GetLastError();
            ShowLastError();
            if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
                db->m_pWorkspace->Rollback();
                RequeryAndShow();
                UpdateRecordCount();
                return;
            }
        }
        db->m_pWorkspace->CommitTrans();
        if (deletePerson) {
            m_personCondition = CClipCondition();
            m_nFindPersonID = -1;
        }
        m_pSet->MoveNext();
        if (m_pSet->IsEOF() && !m_pSet->IsBOF())
            m_pSet->MovePrev();
        if (deletePerson)
            ApplyRecordFilter(m_filter.m_nIndex);
        else
            FillFindList();
        LoadForm();
        UpdateRecordCount();
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

// ---------------------------------------------------------------------------------------
// Sending, exporting, importing

// The row's clip to the students pane (subject role "Student") or the pros pane.
BOOL CClipsPPage::SendRowToClipPanel(CClipRecord* row)
{
    CClipBar* panel = CClipBar::GetClipBar();
    if (!panel)
        return FALSE;
    CPeopleRecord people(row->m_pDatabase);
    const BOOL student = OpenPerson(people, row->m_PersonID) && people.m_Role == "Student";
    people.Close();
    CClip* clip = CClip::CreateFromRecord(row);
    if (!clip)
        return FALSE;
    return student ? panel->AddClip(clip, CString()) : panel->AddReferenceClip(clip);
}

// A row of the database on another machine: imported, then sent. A failure is told and
// closes the sheet (FALSE).
BOOL CClipsPPage::SendRemoteRow(CClipRecord* row)
{
    switch (SendRemoteClip(*row)) {
    case RemoteSent:
    case RemoteAlreadyListed:
        return TRUE;
    case RemoteImportFailed:
        AfxMessageBox("Cannot complete action.  Please check remote db connection");
        break;
    case RemoteNoClip:
        if (g_pClavio)
            g_pClavio->LoadVideoFile("");
        AfxMessageBox("Process failed.  Check remote connection");
        break;
    }
    if (m_pSheet)
        m_pSheet->EndSheet(IDCANCEL);
    return FALSE;
}

void CClipsPPage::OnSendClipToClipPanel()
{
    if (!IsOnRow(m_pSet))
        return;
    try {
        if (!g_pAppConfig || !g_pAppConfig->IsNetworkDatabase())
            SendRowToClipPanel(m_pSet);
        else if (IsClipInClipPanel(m_pSet->m_GlobalID))
            AfxMessageBox("Clip has already been added to the Clip Panel");
        else
            SendRemoteRow(m_pSet);
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

void CClipsPPage::OnSendAllToClipPanel()
{
    const BOOL network = g_pAppConfig && g_pAppConfig->IsNetworkDatabase();
    CClipRecord rows(m_pSet->m_pDatabase);
    try {
        ApplyCondition(&rows, m_condition);
        rows.Open(dbOpenDynaset, m_pSet->GetSQL());
        CProgressDlg progress(TRUE);
        progress.SetMessage("Sending clips to clip panel");
        progress.SetRange((int)rows.GetRecordCount());
        progress.Show(this);
        for (; !rows.IsEOF(); rows.MoveNext()) {
            // Rows already in the clip panel are skipped here; a network send stops there.
            if (IsClipInClipPanel(rows.m_GlobalID)) {
                if (network)
                    break;
            } else if (network) {
                if (!SendRemoteRow(&rows))
                    break;
            } else {
                SendRowToClipPanel(&rows);
            }
            progress.StepIt();
            if (progress.IsCancelled()) {
                AfxMessageBox("Action has been cancelled.");
                break;
            }
        }
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

void CClipsPPage::OnExportClip()
{
    try {
        if (!SaveRecord(TRUE) || !IsOnRow(m_pSet))
            return;
        if (!CClip::IsSafeVideoName(m_pSet->m_VideoClipFileName) ||
            GetFileAttributesA(CapturePath(m_pSet->m_VideoClipFileName)) == INVALID_FILE_ATTRIBUTES) {
            AfxMessageBox("This clip is invalid, it cannot be exported.", MB_ICONHAND);
            return;
        }
        CClip* clip = CClip::CreateFromRecord(m_pSet);
        if (clip) {
            clip->ExportClips(NULL);
            delete clip;
        }
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

void CClipsPPage::OnExportAll()
{
    try {
        if (!SaveRecord(TRUE))
            return;
        CClipRecord rows(m_pSet->m_pDatabase);
        ApplyCondition(&rows, m_condition);
        rows.Open(dbOpenDynaset, m_pSet->GetSQL());
        const int count = (int)rows.GetRecordCount();
        if (count == 0)
            return;
        CProgressDlg progress(TRUE);
        progress.SetMessage("Exporting Clips");
        progress.SetRange(count * 4);
        progress.Show(this);
        CClip::BeginBatchExport();
        for (; !rows.IsEOF(); rows.MoveNext()) {
            progress.SetMessage("Exporting clip");
            // Each row's own file decides, not the preview of the shown row.
            if (!CClip::IsSafeVideoName(rows.m_VideoClipFileName) ||
                GetFileAttributesA(CapturePath(rows.m_VideoClipFileName)) == INVALID_FILE_ATTRIBUTES) {
                AfxMessageBox("This clip is invalid, it cannot be exported.", MB_ICONHAND);
                break;
            }
            CClip* clip = CClip::CreateFromRecord(&rows);
            const int result = clip ? clip->ExportClips(&progress) : 0;
            delete clip;
            if (result == 2 && AfxMessageBox("You are exporting multiple clips, would you like "
                                             "to cancel all?",
                                             MB_YESNO) == IDYES)
                break;
            progress.StepIt();
            if (progress.IsCancelled()) {
                AfxMessageBox("Action has been cancelled.");
                break;
            }
        }
        CClip::EndBatchExport();
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

void CClipsPPage::OnImportClip()
{
    try {
        if (!SaveRecord(TRUE))
            return;
        // Imported as any file the user picks: the clips go to the clip panel.
        if (CClip::ImportClipFiles(CString(), FALSE)) {
            RequeryAndShow();
            FillSubjectList();
            FillFindList();
            UpdateRecordCount();
        }
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

void CClipsPPage::OnSendVideoEmail()
{
    try {
        if (!SaveRecord(TRUE) || !IsOnRow(m_pSet))
            return;
        if (m_pSet->m_VideoClipFileName.IsEmpty()) {
            AfxMessageBox("Clip not available");
            return;
        }
        CClip* clip = CClip::CreateFromRecord(m_pSet);
        if (clip) {
            clip->SendVideoEmail(FALSE);
            delete clip;
        }
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}
