#include "PeoplePPage.h"
#include <afxdao.h>
#include "AppConfig.h"
#include "DatabaseMgr.h"
#include "BrowserLists.h"
#include "DatabaseSheet.h"
#include "Globals.h"
#include "Lesson.h"
#include "MoreDlg.h"
#include "Recordsets.h"
#include "browser_res.h"

namespace {

const char* const kStates[] = {
    "Alabama", "Alaska", "Arizona", "Arkansas", "California", "Colorado", "Connecticut",
    "Delaware", "District of Columbia", "Florida", "Georgia", "Hawaii", "Iowa", "Idaho",
    "Illinois", "Indiana", "Kansas", "Kentucky", "Louisiana", "Massachusets", "Maryland",
    "Maine", "Michigan", "Minnesota", "Missouri", "Mississipi", "Montana", "North Carolina",
    "North Dakota", "Nebraska", "New Hamshire", "New Jersey", "New Mexico", "Nevada",
    "New York", "Ohio", "Oklahoma", "Oregon", "Pennsylvania", "Rhode Island",
    "South Carolina", "South Dakota", "Tennesse", "Texas", "Utah", "Virginia", "Vermont",
    "Washington", "Wisconsin", "West Virginia", "Wyoming"};

const COLORREF kYellow = RGB(255, 255, 0);

CString Trimmed(CString text)
{
    text.TrimLeft();
    text.TrimRight();
    return text;
}

} // namespace

IMPLEMENT_DYNCREATE(CPeoplePPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CPeoplePPage, CPropertyPage)
    ON_BN_CLICKED(IDC_DB_FIRST, OnFirstRecord)
    ON_BN_CLICKED(IDC_PP_PREV, OnPrevRecord)
    ON_BN_CLICKED(IDC_PP_NEXT, OnNextRecord)
    ON_BN_CLICKED(IDC_DB_LAST, OnLastRecord)
    ON_WM_HSCROLL()
    ON_CBN_SELCHANGE(IDC_DB_FIND, OnFindName)
    ON_BN_CLICKED(IDC_DB_SHOW_ALL, OnShowAll)
    ON_BN_CLICKED(IDC_PP_SHOW_STUDENTS, OnShowStudents)
    ON_BN_CLICKED(IDC_PP_SHOW_INSTRUCTORS, OnShowInstructors)
    ON_BN_CLICKED(IDC_DB_SHOW_PROS, OnShowPros)
    ON_BN_CLICKED(IDC_DB_SHOW_LEAGUE, OnShowLeague)
    ON_BN_CLICKED(IDC_PP_SHOW_PLAYERS, OnShowPlayers)
    ON_BN_CLICKED(IDC_PP_FILTER_ALL_ROLES, OnFilterAllRoles)
    ON_BN_CLICKED(IDC_PP_FILTER_STUDENTS, OnFilterStudents)
    ON_BN_CLICKED(IDC_PP_FILTER_INSTRUCTORS, OnFilterInstructors)
    ON_BN_CLICKED(IDC_PP_FILTER_PROS, OnFilterProsRole)
    ON_CBN_SELCHANGE(IDC_DB_CHOICE, OnFilterChoiceSelChange)
    ON_EN_UPDATE(IDC_PP_FIRST_NAME, OnFieldChange)
    ON_EN_UPDATE(IDC_PP_LAST_NAME, OnFieldChange)
    ON_EN_UPDATE(IDC_PP_ADDRESS, OnFieldChange)
    ON_EN_UPDATE(IDC_PP_ADDRESS2, OnFieldChange)
    ON_EN_UPDATE(IDC_PP_CITY, OnFieldChange)
    ON_EN_UPDATE(IDC_PP_ZIP, OnFieldChange)
    ON_EN_UPDATE(IDC_PP_PHONE, OnFieldChange)
    ON_EN_UPDATE(IDC_PP_EMAIL, OnFieldChange)
    ON_EN_UPDATE(IDC_DB_COMMENT, OnFieldChange)
    ON_CBN_SELCHANGE(IDC_PP_ROLE, OnRoleChange)
    ON_CBN_SELCHANGE(IDC_PP_HAND, OnFieldChange)
    ON_CBN_SELCHANGE(IDC_PP_INSTRUCTOR, OnFieldChange)
    ON_CBN_SELCHANGE(IDC_PP_STATE, OnFieldChange)
    ON_BN_CLICKED(IDC_PP_NEW, OnNewPerson)
    ON_BN_CLICKED(IDC_PP_EDIT, OnEditPerson)
    ON_BN_CLICKED(IDC_PP_DELETE, OnDeletePerson)
    ON_BN_CLICKED(IDC_PP_MORE, OnMore)
    ON_BN_CLICKED(IDC_PP_LESSON, OnSelectForLesson)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CPeoplePPage::CPeoplePPage()
    : CRecordPage(IDD_PEOPLE_PAGE), m_pSet(NULL), m_bSaveClipMode(FALSE),
      m_bLessonStudentChosen(0), m_nLessonPickMode(0), m_nPersonToShow(-1), m_bSuppress(1),
      m_bMasksAttached(0), m_nFilterIndex(0), m_nFilterKind(0), m_bFirstPaint(TRUE)
{
}

CPeoplePPage::~CPeoplePPage()
{
}

BOOL CPeoplePPage::DestroyWindow()
{
    return CPropertyPage::DestroyWindow();
}

void CPeoplePPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PP_SLIDER, m_recordSlider);
    DDX_Control(pDX, IDC_DB_TITLE, m_titleStatic);
    DDX_Control(pDX, IDC_DB_CHOICE, m_filterChoiceCombo);
    DDX_Control(pDX, IDC_PP_EMAIL, m_emailEdit);
    DDX_Control(pDX, IDC_PP_FIRST_NAME, m_firstNameEdit);
    DDX_Control(pDX, IDC_DB_COMMENT, m_commentEdit);
    DDX_Control(pDX, IDC_PP_CITY, m_cityEdit);
    DDX_Control(pDX, IDC_PP_ADDRESS2, m_address2Edit);
    DDX_Control(pDX, IDC_PP_ADDRESS, m_addressEdit);
    DDX_Control(pDX, IDC_PP_LAST_NAME, m_lastNameEdit);
    DDX_Control(pDX, IDC_DB_FIND, m_findCombo);
    DDX_Control(pDX, IDC_PP_HAND, m_handCombo);
    DDX_Control(pDX, IDC_PP_INSTRUCTOR, m_instructorCombo);
    DDX_Control(pDX, IDC_PP_STATE, m_stateCombo);
    DDX_Control(pDX, IDC_PP_ROLE, m_roleCombo);
}

CString CPeoplePPage::GetTitleText() const
{
    CString text;
    if (m_titleStatic.GetSafeHwnd())
        m_titleStatic.GetWindowText(text);
    return text;
}

BOOL CPeoplePPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_handCombo.AddString("Right Hand");
    m_handCombo.AddString("Left Hand");
    for (const char* state : kStates)
        m_stateCombo.AddString(state);
    ShowFilterButtons();
    if (CWnd* lesson = GetDlgItem(IDC_PP_LESSON))
        lesson->ShowWindow(SW_HIDE);
    m_firstNameEdit.SetLimitText(kNameLength);
    m_lastNameEdit.SetLimitText(kNameLength);
    m_addressEdit.SetLimitText(kAddressLength);
    m_address2Edit.SetLimitText(kAddressLength);
    m_cityEdit.SetLimitText(kCityLength);
    m_emailEdit.SetLimitText(kAltPhoneLength);
    m_phoneEdit.AttachEdit(IDC_PP_PHONE, this);
    m_zipEdit.AttachEdit(IDC_PP_ZIP, this);
    m_bMasksAttached = TRUE;
    m_phoneEdit.SetMask("(###) ###-####");
    m_zipEdit.SetMask("#####");
    m_bSuppress = FALSE;
    if (m_pSet)
        m_pSet->m_strSort = "[LastName],[FirstName]";
    SetEditable(FALSE);
    FillRoleList();
    try {
        FillInstructorField();
        ApplyRoleFilter(0);
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
    SetDlgItemText(IDC_DB_CHOICE_LABEL, " ");
    m_filterChoiceCombo.ResetContent();
    m_filterChoiceCombo.EnableWindow(FALSE);
    CheckDlgButton(IDC_DB_SHOW_ALL, BST_CHECKED);
    UpdateEditLabel();
    return TRUE;
}

void CPeoplePPage::ShowFilterButtons()
{
    for (UINT id : {IDC_PP_SHOW_STUDENTS, IDC_PP_SHOW_INSTRUCTORS, IDC_DB_SHOW_PROS})
        if (CWnd* w = GetDlgItem(id))
            w->ShowWindow(SW_SHOW);
    for (UINT id : {IDC_DB_SHOW_LEAGUE, IDC_PP_SHOW_PLAYERS})
        if (CWnd* w = GetDlgItem(id))
            w->ShowWindow(SW_HIDE);
}

void CPeoplePPage::FillRoleList()
{
    SetDlgItemText(IDC_PP_ROLE_LABEL, FieldDisplayName("Role", "Role"));
    m_roleCombo.ResetContent();
    AddFieldEntries(m_roleCombo, "Role");
    m_roleCombo.SetCurSel(0);
    const int student = m_roleCombo.FindString(-1, "Student");
    if (student != CB_ERR)
        m_roleCombo.SetCurSel(student);
}

// ---------------------------------------------------------------------------------------
// The form

static void ShowComboText(CComboBox& list, const CString& text)
{
    const int item = list.FindStringExact(-1, text);
    list.SetCurSel(item);
}

void CPeoplePPage::LoadForm()
{
    if (!GetSafeHwnd())
        return;
    const int suppress = m_bSuppress;
    m_bSuppress = TRUE;
    const BOOL onRow = IsOnRow(m_pSet) || (m_pSet && m_pSet->IsOpen() &&
                                             m_pSet->GetEditMode() == dbEditAdd);
    static CString empty;
    CPeopleRecord* p = m_pSet;
    m_firstNameEdit.SetWindowText(onRow ? p->m_FirstName : empty);
    m_lastNameEdit.SetWindowText(onRow ? p->m_LastName : empty);
    m_addressEdit.SetWindowText(onRow ? p->m_Address : empty);
    m_address2Edit.SetWindowText(onRow ? p->m_Address2 : empty);
    m_cityEdit.SetWindowText(onRow ? p->m_City : empty);
    m_commentEdit.SetWindowText(onRow ? p->m_Comment : empty);
    m_emailEdit.SetWindowText(onRow ? p->m_AltPhone : empty);
    // A role the role list does not offer is shown as "Other" (the row keeps its value
    // unless the user changes the role).
    CString role = onRow ? p->m_Role : empty;
    if (onRow && m_roleCombo.FindStringExact(-1, role) == CB_ERR)
        role = "Other";
    ShowComboText(m_roleCombo, role);
    ShowComboText(m_handCombo, onRow ? p->m_LRHand : empty);
    ShowComboText(m_stateCombo, onRow ? p->m_State : empty);
    const CString phone = onRow ? p->m_Phone : empty, zip = onRow ? p->m_Zip : empty;
    m_phoneEdit.SetData(&phone);
    m_zipEdit.SetData(&zip);
    UpdateInstructorState();
    if (m_roleCombo.GetCurSel() != 0)
        SelectItemData(m_instructorCombo, onRow ? (DWORD_PTR)(LONG_PTR)p->m_InstructorID
                                                : (DWORD_PTR)-1);
    m_bSuppress = suppress;
}

void CPeoplePPage::StoreForm()
{
    CPeopleRecord* p = m_pSet;
    m_firstNameEdit.GetWindowText(p->m_FirstName);
    m_lastNameEdit.GetWindowText(p->m_LastName);
    m_addressEdit.GetWindowText(p->m_Address);
    m_address2Edit.GetWindowText(p->m_Address2);
    m_cityEdit.GetWindowText(p->m_City);
    m_commentEdit.GetWindowText(p->m_Comment);
    m_emailEdit.GetWindowText(p->m_AltPhone);
    CString role;
    m_roleCombo.GetWindowText(role);
    // The row keeps a role the list does not offer unless the user chose another.
    if (!(role == "Other" && m_roleCombo.FindStringExact(-1, p->m_Role) == CB_ERR &&
          p->GetEditMode() == dbEditInProgress))
        p->m_Role = role;
    m_handCombo.GetWindowText(p->m_LRHand);
    m_stateCombo.GetWindowText(p->m_State);
    m_phoneEdit.GetData(p->m_Phone);
    m_zipEdit.GetData(p->m_Zip);
    const int instructor = m_instructorCombo.GetCurSel();
    p->m_InstructorID =
        instructor == CB_ERR ? -1 : (LONG)(LONG_PTR)m_instructorCombo.GetItemData(instructor);
    p->m_FirstName = Trimmed(p->m_FirstName);
    p->m_LastName = Trimmed(p->m_LastName);
}

void CPeoplePPage::SetEditable(BOOL editable)
{
    if (m_bMasksAttached) {
        m_phoneEdit.SetReadOnly(!editable);
        m_zipEdit.SetReadOnly(!editable);
    }
    for (CEditEx* edit : {&m_emailEdit, &m_firstNameEdit, &m_commentEdit, &m_cityEdit,
                          &m_address2Edit, &m_addressEdit, &m_lastNameEdit})
        edit->SetReadOnly(!editable);
    for (CComboEx* list : {&m_handCombo, &m_instructorCombo, &m_stateCombo, &m_roleCombo})
        list->SetReadOnly(!editable);
    if (CWnd* more = GetDlgItem(IDC_PP_MORE))
        more->EnableWindow(editable);
    UpdateInstructorState();
}

void CPeoplePPage::UpdateInstructorState()
{
    const BOOL instructorRole = m_roleCombo.GetCurSel() == 0;
    if (instructorRole) {
        m_instructorCombo.SetReadOnly(TRUE);
        m_instructorCombo.SetCurSel(-1);
    } else if (m_pSet && m_pSet->IsOpen() && m_pSet->GetEditMode() != dbEditNone) {
        m_instructorCombo.SetReadOnly(FALSE);
    }
}

void CPeoplePPage::UpdateEditLabel()
{
    const short mode = m_pSet && m_pSet->IsOpen() ? m_pSet->GetEditMode() : dbEditNone;
    SetDlgItemText(IDC_DB_EDIT_STATE,
                   mode == dbEditInProgress ? "Editing" : mode == dbEditAdd ? "Adding" : "");
}

void CPeoplePPage::ShowRecordPosition()
{
    ShowPosition(m_pSet, m_recordSlider, IDC_DB_COUNT, m_strPosition);
    LoadForm();
}

// ---------------------------------------------------------------------------------------
// Lists and filters

void CPeoplePPage::SetFilter(const CString& filter, const CDaoParams& params)
{
    m_pSet->m_strFilter = filter;
    m_filterParams = params;
    SetRecordsetParams(m_pSet, params);
}

void CPeoplePPage::FillFindNameList()
{
    m_findCombo.ResetContent();
    m_findCombo.SetItemData(m_findCombo.AddString("Any Name"), (DWORD_PTR)-1);
    CPeopleRecord people(m_pSet->m_pDatabase);
    try {
        people.m_strFilter = m_pSet->m_strFilter;
        people.m_strSort = "[LastName], [FirstName]";
        SetRecordsetParams(&people, m_filterParams);
        people.Open(dbOpenSnapshot, "SELECT * FROM Person", dbReadOnly);
        for (; !people.IsEOF(); people.MoveNext())
            m_findCombo.SetItemData(m_findCombo.InsertString(-1, people.m_LastName + "," + people.m_FirstName),
                                    (DWORD_PTR)(LONG_PTR)people.m_ID);
    } catch (CDaoException* e) {
        PassOnOrShow(e);
    }
    m_findCombo.SetCurSel(m_findCombo.FindStringExact(-1, "Any Name"));
}

void CPeoplePPage::RequeryAndShow()
{
    try {
        m_pSet->Requery();
    } catch (CDaoException* e) {
        PassOnOrShow(e);
    }
    ShowRecordPosition();
}

BOOL CPeoplePPage::GoToPersonID(long id)
{
    m_pSet->Requery();
    if (m_pSet->IsEOF() && m_pSet->IsBOF())
        return FALSE;
    if (m_pSet->FindFirst("[ID] = ?", CDaoParams().Add((LONG)id)))
        return TRUE;
    m_pSet->MoveFirst();
    return FALSE;
}

void CPeoplePPage::ApplyRoleFilter(int index)
{
    if (!m_pSet || !m_pSet->IsOpen() || !CommitEdit(TRUE))
        return;
    m_nFilterIndex = index;
    if (index < 1) {
        m_titleStatic.SetDefaultColors();
        m_titleStatic.SetWindowText("Database Records for Registered People");
        SetFilter(CString(), CDaoParams());
        m_nFilterIndex = 0;
    } else {
        m_titleStatic.SetBkColor(kYellow);
        const int choice = m_filterChoiceCombo.GetCurSel();
        if (m_nFilterKind == 1 && choice > 0) {
            CString name;
            m_filterChoiceCombo.GetLBText(choice, name);
            m_titleStatic.SetWindowText("Database Records for Students with Instructor - " +
                                        name + " Only");
            SetFilter("([Role] = 'Student') AND ([InstructorID] = ?)",
                      CDaoParams().Add((LONG)(LONG_PTR)m_filterChoiceCombo.GetItemData(choice)));
        } else {
            CString* entries[CXMLParser::MaxEntries] = {};
            const int count =
                g_pAppConfig ? g_pAppConfig->m_xmlParser.GetEntries("RoleFilter", entries) : 0;
            const CString entry = index < count ? *entries[index] : CString();
            for (int i = 0; i < count; ++i)
                delete entries[i];
            // "Show " and a plural role name; any other entry filters nothing.
            if (entry.GetLength() > 6 && entry.Left(5) == "Show ") {
                const CString plural = entry.Mid(5);
                const CString role = plural.Left(plural.GetLength() - 1);
                m_titleStatic.SetWindowText("Database Records for " + plural + " Only");
                if (role == "Pro")
                    SetFilter("([Role] = 'Pro') Or ([Role] = 'Lady Pro')", CDaoParams());
                else if (role == "Other")
                    SetFilter("([Role] = 'Other') Or ([Role] Is Null) Or ([Role] Not In "
                              "('Student', 'Instructor', 'Pro', 'Lady Pro'))",
                              CDaoParams());
                else
                    SetFilter("[Role] = ?", CDaoParams().Add(role));
            } else {
                m_titleStatic.SetDefaultColors();
                m_titleStatic.SetWindowText("Database Records for Registered People");
                SetFilter(CString(), CDaoParams());
            }
        }
    }
    m_titleStatic.Invalidate();
    RequeryAndShow();
    FillFindNameList();
}

void CPeoplePPage::FillFilterChoice()
{
    m_filterChoiceCombo.ResetContent();
    if (m_nFilterKind != 1)
        return;
    SetDlgItemText(IDC_DB_CHOICE_LABEL, "With Instructor...");
    m_filterChoiceCombo.SetItemData(m_filterChoiceCombo.AddString("Show All"), (DWORD_PTR)-1);
    CPeopleRecord people(m_pSet->m_pDatabase);
    try {
        people.SetParamValue(0, "Instructor");
        people.Open(dbOpenSnapshot,
                    "SELECT * FROM Person WHERE Person.[Role] = ? ORDER BY [FirstName],[LastName]",
                    dbReadOnly);
        for (; !people.IsEOF(); people.MoveNext())
            m_filterChoiceCombo.SetItemData(
                m_filterChoiceCombo.AddString(people.m_FirstName + " " + people.m_LastName),
                (DWORD_PTR)(LONG_PTR)people.m_ID);
    } catch (CDaoException* e) {
        PassOnOrShow(e);
    }
    m_filterChoiceCombo.SetCurSel(0);
}

void CPeoplePPage::SelectFilterRadio(int kind, const CString& message, BOOL choice)
{
    m_nFilterKind = kind;
    SetDlgItemText(IDC_DB_CHOICE_LABEL, message);
    m_filterChoiceCombo.ResetContent();
    m_filterChoiceCombo.EnableWindow(choice);
    if (choice)
        FillFilterChoice();
}

void CPeoplePPage::FillInstructorField()
{
    FillInstructorList(m_instructorCombo, m_pSet ? m_pSet->m_pDatabase : NULL);
}

// The role commands: the people of one role (or all), with no pending edit committed.
void CPeoplePPage::FilterByRole(LPCTSTR role)
{
    if (!m_pSet || !m_pSet->IsOpen())
        return;
    try {
        if (role)
            SetFilter("[Role] = ?", CDaoParams().Add(CString(role)));
        else
            SetFilter(CString(), CDaoParams());
        RequeryAndShow();
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

void CPeoplePPage::OnFilterAllRoles()
{
    FilterByRole(NULL);
}

void CPeoplePPage::OnFilterStudents()
{
    FilterByRole("Student");
}

void CPeoplePPage::OnFilterInstructors()
{
    FilterByRole("Instructor");
}

void CPeoplePPage::OnFilterProsRole()
{
    FilterByRole("Pro");
}

#define FILTER_RADIO(handler, kind, message, choice, index)                                \
    void CPeoplePPage::handler()                                                           \
    {                                                                                      \
        try {                                                                              \
            SelectFilterRadio(kind, message, choice);                                      \
            ApplyRoleFilter(index);                                                        \
        } catch (CDaoException* e) {                                                       \
            HandleDaoError(e);                                                             \
        }                                                                                  \
    }
FILTER_RADIO(OnShowAll, 0, " ", FALSE, 0)
FILTER_RADIO(OnShowStudents, 1, "With Instructor...", TRUE, 1)
FILTER_RADIO(OnShowInstructors, 2, " ", FALSE, 2)
FILTER_RADIO(OnShowPros, 3, " ", FALSE, 3)
FILTER_RADIO(OnShowLeague, 2, " ", TRUE, 0)
FILTER_RADIO(OnShowPlayers, 2, " ", FALSE, 1)
#undef FILTER_RADIO

void CPeoplePPage::OnFilterChoiceSelChange()
{
    if (m_nFilterKind != 1)
        return;
    try {
        ApplyRoleFilter(1);
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

void CPeoplePPage::OnFindName()
{
    try {
        if (!CommitEdit(TRUE))
            return;
        const int item = m_findCombo.GetCurSel();
        if (item == CB_ERR) {
            AfxMessageBox("Name not in Database");
            return;
        }
        const long id = (long)(LONG_PTR)m_findCombo.GetItemData(item);
        if (id < 0)
            return;
        if (!GoToPersonID(id))
            AfxMessageBox("Name not in Database");
        ShowRecordPosition();
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

// ---------------------------------------------------------------------------------------
// Moving

void CPeoplePPage::Navigate(Move move)
{
    try {
        if (!CommitEdit(TRUE))
            return;
        UpdateEditLabel();
        if (MoveRecord(m_pSet, move))
            ShowRecordPosition();
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

void CPeoplePPage::OnFirstRecord() { Navigate(MoveFirst); }
void CPeoplePPage::OnPrevRecord() { Navigate(MovePrev); }
void CPeoplePPage::OnNextRecord() { Navigate(MoveNext); }
void CPeoplePPage::OnLastRecord() { Navigate(MoveLast); }

void CPeoplePPage::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (pScrollBar && pScrollBar->GetDlgCtrlID() == IDC_PP_SLIDER && m_pSet) {
        try {
            if (CommitEdit(TRUE)) {
                MoveToSlider(m_pSet, m_recordSlider);
                ShowRecordPosition();
            }
        } catch (CDaoException* e) {
            HandleDaoError(e);
        }
    }
    CPropertyPage::OnHScroll(nSBCode, nPos, pScrollBar);
}

// ---------------------------------------------------------------------------------------
// Editing

void CPeoplePPage::OnFieldChange()
{
    if (m_bSuppress || !m_pSet || !m_pSet->IsOpen())
        return;
    try {
        if (m_pSet->GetEditMode() == dbEditNone) {
            if (IsOnRow(m_pSet))
                m_pSet->Edit();
            else
                m_pSet->AddNew();
            SetModified(TRUE);
            UpdateEditLabel();
        }
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

void CPeoplePPage::OnRoleChange()
{
    OnFieldChange();
    UpdateInstructorState();
}

BOOL CPeoplePPage::ValidateName()
{
    CString last, first;
    m_lastNameEdit.GetWindowText(last);
    m_firstNameEdit.GetWindowText(first);
    last = Trimmed(last);
    first = Trimmed(first);
    if (last.IsEmpty() || first.IsEmpty()) {
        if (m_pSheet)
            m_pSheet->SetActivePage(this);
        AfxMessageBox("Missing subject name. Record not updated.");
        return FALSE;
    }
    CPeopleRecord people(m_pSet->m_pDatabase);
    const BOOL adding = m_pSet->GetEditMode() == dbEditAdd;
    OpenWith(people,
             adding ? "SELECT * FROM [Person] WHERE " + PersonNameCriterion(first)
                    : "SELECT * FROM [Person] WHERE (" + PersonNameCriterion(first) +
                          ") And (Not [ID] = ?)",
             adding ? CDaoParams().Add(last).Add(first)
                    : CDaoParams().Add(last).Add(first).Add(m_pSet->m_ID));
    const BOOL found = !people.IsEOF();
    people.Close();
    if (found) {
        if (m_pSheet)
            m_pSheet->SetActivePage(this);
        AfxMessageBox("This name already exisits in the database. Please enter a unique name.");
        return FALSE;
    }
    return TRUE;
}

BOOL CPeoplePPage::CommitEdit(BOOL store)
{
    if (m_bDaoFailed)
        return FALSE;
    if (!m_pSet || !m_pSet->IsOpen())
        return TRUE;
    const short mode = m_pSet->GetEditMode();
    BOOL result = TRUE;
    if (mode != dbEditNone) {
        if (store) {
            StoreForm();
            m_bSuppress = TRUE;
            m_firstNameEdit.SetWindowText(m_pSet->m_FirstName);
            m_lastNameEdit.SetWindowText(m_pSet->m_LastName);
            m_bSuppress = FALSE;
            if (ValidateName()) {
                m_pSet->Update();
                m_pSet->SetBookmark(m_pSet->GetLastModifiedBookmark());
                const long id = m_pSet->m_ID;
                FillFindNameList();
                FillInstructorField();
                GoToPersonID(id);
                SetModified(FALSE);
                if (mode == dbEditAdd && m_pSheet)
                    m_pSheet->SetAddedPersonID(id);
            } else {
                result = FALSE;
            }
        } else {
            m_pSet->CancelUpdate();
        }
    }
    if (GetSafeHwnd()) {
        ShowRecordPosition();
        UpdateEditLabel();
        if (result)
            SetEditable(FALSE);
    }
    return result;
}

void CPeoplePPage::OnNewPerson()
{
    try {
        if (!CommitEdit(TRUE))
            return;
        ApplyRoleFilter(m_nFilterKind);
        m_pSet->AddNew();
        m_pSet->m_InstructorID = -1;
        m_pSet->m_LastLessonNumber = 0;
        LoadForm();
        SetEditable(TRUE);
        UpdateEditLabel();
        SetModified(TRUE);
        m_bSuppress = TRUE;
        const int student = m_roleCombo.FindString(-1, "Student");
        m_roleCombo.SetCurSel(student == CB_ERR ? 0 : student);
        UpdateInstructorState();
        m_instructorCombo.SetCurSel(0);
        m_handCombo.SetCurSel(0);
        m_bSuppress = FALSE;
        m_firstNameEdit.SetFocus();
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

void CPeoplePPage::OnEditPerson()
{
    try {
        if (CommitEdit(TRUE) && m_pSet->GetRecordCount() > 0)
            SetEditable(TRUE);
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

void CPeoplePPage::OnDeletePerson()
{
    if (AfxMessageBox("Are you sure you want to delete this Person (there is no undo for "
                      "this operation)?",
                      MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    try {
        if (!CommitEdit(TRUE))
            return;
        if (IsOnRow(m_pSet)) {
            CDaoRecordset clips(m_pSet->m_pDatabase);
            OpenWith(clips, "SELECT [ID] FROM [VideoClip] WHERE [PersonID] = ?",
                     CDaoParams().Add(m_pSet->m_ID));
            if (!clips.IsEOF()) {
                AfxMessageBox("You must first delete the video clip records that belong to "
                              "this person.");
                return;
            }
            m_pSet->Delete();
            FillFindNameList();
            FillInstructorField();
        }
        m_pSet->MovePrev();
        if (m_pSet->IsEOF())
            m_pSet->MovePrev();
        if (m_pSet->IsBOF())
            m_pSet->MoveNext();
        ShowRecordPosition();
        UpdateEditLabel();
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

void CPeoplePPage::OnMore()
{
    CMoreDlg more(this);
    m_commentEdit.GetWindowText(more.m_strText);
    const CString old = more.m_strText;
    if (more.DoModal() != IDOK)
        return;
    m_commentEdit.SetWindowText(more.m_strText);
    if (more.m_strText != old)
        OnFieldChange();
}

// ---------------------------------------------------------------------------------------
// Sheet buttons and activation

void CPeoplePPage::OnOK()
{
    try {
        if (!CommitEdit(TRUE))
            return;
        // A student chosen for a lesson while browsing: the lesson may start now.
        if (m_bLessonStudentChosen && !m_nLessonPickMode &&
            AfxMessageBox("Do you wish to start the lesson now?", MB_YESNO | MB_ICONQUESTION) ==
                IDYES &&
            !m_nLessonPickMode && g_pLesson)
            g_pLesson->Start(FALSE);
        m_bLessonStudentChosen = FALSE;
    } catch (CDaoException* e) {
        HandleDaoError(e, FALSE);
    }
}

void CPeoplePPage::OnSelectForLesson()
{
    try {
        if (!CommitEdit(TRUE) || !IsOnRow(m_pSet))
            return;
        if (m_pSet->m_Role == "Instructor") {
            AfxMessageBox("You cannot select an instructor for a lesson");
            return;
        }
        m_bLessonStudentChosen = FALSE;
        // A person the lesson cannot read (it says so) is not chosen.
        if (!g_pLesson || !g_pLesson->LoadStudent(m_pSet->m_ID))
            return;
        if (AfxMessageBox("Do you wish to start the lesson now?", MB_YESNO | MB_ICONQUESTION) ==
            IDYES) {
            if (m_pSheet)
                m_pSheet->EndSheet(IDOK);
            // Picking for a lesson being started: that start goes on once the sheet is closed.
            if (!m_nLessonPickMode)
                g_pLesson->Start(FALSE);
        }
        m_bLessonStudentChosen = TRUE;
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

void CPeoplePPage::OnPaint()
{
    CRecordPage::OnPaint();
    if (!m_bFirstPaint)
        return;
    m_bFirstPaint = FALSE;
    if (m_nLessonPickMode && g_pAppConfig && g_pAppConfig->GetNagEnable())
        AfxMessageBox("Find a student for this lesson, or enter a new student into the "
                      "Database. Press 'Select for Lesson' to select a student for the lesson.",
                      MB_ICONINFORMATION);
}

BOOL CPeoplePPage::OnApply()
{
    try {
        if (!CommitEdit(TRUE))
            return FALSE;
    } catch (CDaoException* e) {
        HandleDaoError(e, FALSE);
        return FALSE;
    }
    return CPropertyPage::OnApply();
}

void CPeoplePPage::OnCancel()
{
    try {
        CommitEdit(FALSE);
    } catch (CDaoException* e) {
        e->Delete();
    }
    if (m_pSheet)
        m_pSheet->SetResetPages(TRUE);
}

BOOL CPeoplePPage::OnKillActive()
{
    try {
        if (!CommitEdit(TRUE))
            return FALSE;
    } catch (CDaoException* e) {
        HandleDaoError(e, FALSE);
        return FALSE;
    }
    return CPropertyPage::OnKillActive();
}

BOOL CPeoplePPage::OnSetActive()
{
    ShowFilterButtons();
    if (CWnd* lesson = GetDlgItem(IDC_PP_LESSON))
        lesson->EnableWindow(!m_bSaveClipMode);
    if (m_pSheet && m_pSheet->GetResetPages()) {
        m_bLessonStudentChosen = FALSE;
        m_bDaoFailed = FALSE;
    }
    try {
        FillFindNameList();
        COleVariant mark;
        const BOOL had = IsOnRow(m_pSet);
        if (had)
            mark = m_pSet->GetBookmark();
        RequeryAndShow();
        if (had) {
            try {
                m_pSet->SetBookmark(mark);
            } catch (CDaoException* e) {
                e->Delete();
            }
        }
        if (m_nPersonToShow != -1) {
            if (!GoToPersonID(m_nPersonToShow))
                AfxMessageBox("Name not in Database");
            m_nPersonToShow = -1;
        }
        ShowRecordPosition();
    } catch (CDaoException* e) {
        HandleDaoError(e);
        return FALSE;
    }
    return CPropertyPage::OnSetActive();
}
