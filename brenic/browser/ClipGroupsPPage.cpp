#include "ClipGroupsPPage.h"
#include <afxdao.h>
#include "AppConfig.h"
#include "BrowserLists.h"
#include "Clavio.h"
#include "Clip.h"
#include "ClipBar.h"
#include "DatabaseSheet.h"
#include "GroupDialogs.h"
#include "Globals.h"
#include "MoreDlg.h"
#include "Recordsets.h"
#include "RemoteSend.h"
#include "browser_res.h"

IMPLEMENT_DYNCREATE(CClipGroupsPPage, CPropertyPage)

namespace {

enum { WM_SHOW_GROUP_PREVIEW = WM_APP + 0x39 };

const char kSort[] = "[ClipType] DESC, [VideoClipName], [DateTimeStamp]";

} // namespace

BEGIN_MESSAGE_MAP(CClipGroupsPPage, CPropertyPage)
    ON_BN_CLICKED(IDC_CG_PREV, OnPrevRecord)
    ON_BN_CLICKED(IDC_CG_NEXT, OnNextRecord)
    ON_BN_CLICKED(IDC_DB_FIRST, OnFirstRecord)
    ON_BN_CLICKED(IDC_DB_LAST, OnLastRecord)
    ON_BN_CLICKED(IDC_CG_ADD, OnAddClipToGroup)
    ON_BN_CLICKED(IDC_CG_REMOVE, OnRemoveClipFromGroup)
    ON_BN_CLICKED(IDC_CG_NEW_GROUP, OnNewGroup)
    ON_BN_CLICKED(IDC_CG_DELETE_GROUP, OnDeleteGroup)
    ON_BN_CLICKED(IDC_CG_SEND_GROUP, OnSendGroupToClipPanel)
    ON_BN_CLICKED(IDC_CG_MORE, OnMore)
    ON_CBN_SELCHANGE(IDC_CG_GROUPS, OnGroupSelChange)
    ON_CBN_SELCHANGE(IDC_DB_FIND, OnFindSubjectSelChange)
    ON_CBN_SELCHANGE(IDC_DB_CHOICE, OnFilterChoiceSelChange)
    ON_BN_CLICKED(IDC_DB_SHOW_ALL, OnShowAll)
    ON_BN_CLICKED(IDC_CP_SHOW_STUDENTS, OnShowStudents)
    ON_BN_CLICKED(IDC_CP_SHOW_CLIPS, OnShowClips)
    ON_BN_CLICKED(IDC_DB_SHOW_LEAGUE, OnShowLeague)
    ON_BN_CLICKED(IDC_DB_SHOW_PROS, OnShowPros)
    ON_BN_CLICKED(IDC_CP_SHOW_LADY_PROS, OnShowLadyPros)
    ON_BN_CLICKED(IDC_CP_SHOW_PLAYERS, OnShowPlayers)
    ON_COMMAND(ID_CG_FILTER_ALL_TYPES, OnFilterAllTypes)
    ON_COMMAND(ID_CG_FILTER_SWING, OnFilterSwing)
    ON_COMMAND(ID_CG_FILTER_DRILL, OnFilterDrill)
    ON_COMMAND(ID_CG_FILTER_COMPARISON, OnFilterComparison)
    ON_WM_HSCROLL()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_SHOW_GROUP_PREVIEW, OnShowPreview)
END_MESSAGE_MAP()

CClipGroupsPPage::CClipGroupsPPage()
    : CRecordPage(IDD_CLIP_GROUPS_PAGE), m_pClipSet(new CClipRecord),
      m_pJoin(new CRefGroupVideoJoin), m_pDetailSet(NULL), m_pGroupSet(NULL),
      m_nSelectedSubject(-1), m_bGroupsListed(FALSE), m_bPreviewPending(FALSE)
{
}

CClipGroupsPPage::~CClipGroupsPPage()
{
    m_preview.Destroy();
    for (CDaoRecordset* set : {(CDaoRecordset*)m_pClipSet, (CDaoRecordset*)m_pJoin})
        if (set->IsOpen())
            set->Close();
    delete m_pClipSet;
    delete m_pJoin;
}

void CClipGroupsPPage::OnDestroy()
{
    m_preview.Destroy();
    CPropertyPage::OnDestroy();
}

BOOL CClipGroupsPPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_groupCombo.SubclassDlgItem(IDC_CG_GROUPS, this);
    m_memberList.SubclassDlgItem(IDC_CG_MEMBERS, this);
    m_findCombo.SubclassDlgItem(IDC_DB_FIND, this);
    m_filterChoiceCombo.SubclassDlgItem(IDC_DB_CHOICE, this);
    m_titleStatic.SubclassDlgItem(IDC_DB_TITLE, this);
    m_recordSlider.SubclassDlgItem(IDC_CG_SLIDER, this);
    m_clipTypeEdit.SubclassDlgItem(IDC_CP_TYPE, this);
    m_subjectEdit.SubclassDlgItem(IDC_CP_SUBJECT, this);
    m_instructorEdit.SubclassDlgItem(IDC_CP_INSTRUCTOR, this);
    m_clubEdit.SubclassDlgItem(IDC_CP_CLUB, this);
    m_viewEdit.SubclassDlgItem(IDC_CP_VIEW, this);
    m_commentEdit.SubclassDlgItem(IDC_DB_COMMENT, this);
    for (CEditEx* edit : {&m_clipTypeEdit, &m_subjectEdit, &m_instructorEdit, &m_clubEdit,
                          &m_viewEdit, &m_commentEdit})
        edit->SetReadOnly(TRUE);
    const COleDateTime low(1990, 1, 1, 0, 0, 0), high(2999, 12, 31, 23, 59, 59);
    m_timeCtrl.SetFormat(SECDateTimeCtrl::Time);
    m_timeCtrl.SetMinMax(low, high, SECDateTimeCtrl::TimeRange);
    m_timeCtrl.AttachDateTime(IDC_CP_TIME, this, 2, WS_CHILD | WS_TABSTOP | WS_VISIBLE,
                              WS_EX_CLIENTEDGE);
    m_dateCtrl.SetCustomFormat("MM/dd/yyyy");
    m_dateCtrl.SetMinMax(low, high, SECDateTimeCtrl::DateRange);
    m_dateCtrl.AttachDateTime(IDC_CP_DATE, this, 2, WS_CHILD | WS_TABSTOP | WS_VISIBLE,
                              WS_EX_CLIENTEDGE);
    EnableDetailControls(FALSE);
    SetDlgItemText(IDC_CP_TYPE_LABEL, FieldDisplayName("ClipType", "Clip type"));
    SetDlgItemText(IDC_CP_CLUB_LABEL, FieldDisplayName("Club", "Club"));
    ShowRoleRadios();
    m_nSelectedSubject = -1;
    try {
        m_pClipSet->m_strSort = kSort;
        m_pClipSet->Open(dbOpenDynaset);
        m_pJoin->m_strFilter = "[RefClipID] = -1";
        m_pJoin->Open(dbOpenDynaset);
        LoadGroupList();
        m_groupCombo.SetCurSel(0);
        ListGroupClips();
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
    m_filter.SetMode(0);
    FillFilterChoices();
    CheckRadioButton(IDC_DB_SHOW_ALL, IDC_CP_SHOW_PLAYERS, IDC_DB_SHOW_ALL);
    ApplyRecordFilter(0);
    return TRUE;
}

// Nothing makes the capture time or the comment dialog available: the page only browses.
void CClipGroupsPPage::EnableDetailControls(BOOL enable)
{
    for (CWnd* wnd : {(CWnd*)&m_timeCtrl, (CWnd*)&m_dateCtrl, GetDlgItem(IDC_CG_MORE)})
        if (wnd && wnd->GetSafeHwnd())
            wnd->EnableWindow(enable);
}

void CClipGroupsPPage::ShowRoleRadios()
{
    for (UINT id : {IDC_CP_SHOW_STUDENTS, IDC_DB_SHOW_PROS, IDC_CP_SHOW_LADY_PROS})
        if (CWnd* w = GetDlgItem(id))
            w->ShowWindow(SW_SHOW);
    for (UINT id : {IDC_DB_SHOW_LEAGUE, IDC_CP_SHOW_PLAYERS})
        if (CWnd* w = GetDlgItem(id))
            w->ShowWindow(SW_HIDE);
}

CString CClipGroupsPPage::NormalizeClipType() const
{
    if (!IsOnRow(m_pClipSet))
        return CString();
    return CClipFilter::IsKnownClipType(m_pClipSet->m_ClipType) ? m_pClipSet->m_ClipType
                                                                  : CString("Swing");
}

void CClipGroupsPPage::ShowRecord()
{
    if (!GetSafeHwnd())
        return;
    const BOOL onRow = IsOnRow(m_pClipSet);
    CString subject, instructor;
    if (onRow) {
        try {
            CPeopleRecord people(m_pClipSet->m_pDatabase);
            if (OpenPerson(people, m_pClipSet->m_PersonID))
                subject = PersonText(people.m_LastName, people.m_FirstName);
            people.Close();
            instructor = InstructorNameOf(m_pClipSet->m_pDatabase, m_pClipSet->m_PersonID);
        } catch (CDaoException* e) {
            PassOnOrShow(e);
        }
    }
    m_clipTypeEdit.SetWindowText(NormalizeClipType());
    m_subjectEdit.SetWindowText(subject);
    m_instructorEdit.SetWindowText(instructor);
    m_clubEdit.SetWindowText(onRow ? m_pClipSet->m_Club : CString());
    m_viewEdit.SetWindowText(onRow ? m_pClipSet->m_View : CString());
    m_commentEdit.SetWindowText(onRow ? m_pClipSet->m_Comment : CString());
    if (!onRow || m_pClipSet->IsFieldNull(&m_pClipSet->m_DateTimeStamp) ||
        m_pClipSet->m_DateTimeStamp.GetStatus() != COleDateTime::valid) {
        m_timeCtrl.SetNull(' ');
        m_dateCtrl.SetNull(' ');
    } else {
        m_timeCtrl.SetDateTime(m_pClipSet->m_DateTimeStamp);
        m_dateCtrl.SetDateTime(m_pClipSet->m_DateTimeStamp);
    }
    ShowPosition(m_pClipSet, m_recordSlider, IDC_DB_COUNT, m_strPosition);
    for (UINT id : {IDC_CG_PREV, IDC_CG_NEXT})
        if (CWnd* button = GetDlgItem(id))
            button->EnableWindow(onRow);
    // The video is loaded once the page's message loop runs again, as on the clips page.
    if (!m_bPreviewPending) {
        m_bPreviewPending = TRUE;
        PostMessage(WM_SHOW_GROUP_PREVIEW);
    }
}

LRESULT CClipGroupsPPage::OnShowPreview(WPARAM, LPARAM)
{
    m_bPreviewPending = FALSE;
    if (!IsWindowVisible())
        return 0;
    CString path;
    if (IsOnRow(m_pClipSet) && CClip::IsSafeVideoName(m_pClipSet->m_VideoClipFileName) &&
        g_pAppConfig)
        path = g_pAppConfig->GetCaptureDirectory() + "\\" + m_pClipSet->m_VideoClipFileName;
    m_preview.Load(this, IDC_CG_PREVIEW, path, IsOnRow(m_pClipSet) ? m_pClipSet->m_TrimIn * 2 : 0);
    return 0;
}

void CClipGroupsPPage::RequeryClips()
{
    try {
        m_pClipSet->Requery();
    } catch (CDaoException* e) {
        PassOnOrShow(e);
    }
    ShowRecord();
}

void CClipGroupsPPage::Navigate(Move move)
{
    try {
        CompletePendingEdit(TRUE);
        MoveRecord(m_pClipSet, move);
        ShowRecord();
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

void CClipGroupsPPage::OnFirstRecord() { Navigate(MoveFirst); }
void CClipGroupsPPage::OnPrevRecord() { Navigate(MovePrev); }
void CClipGroupsPPage::OnNextRecord() { Navigate(MoveNext); }
void CClipGroupsPPage::OnLastRecord() { Navigate(MoveLast); }

void CClipGroupsPPage::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (pScrollBar && pScrollBar->GetDlgCtrlID() == IDC_CG_SLIDER) {
        try {
            CompletePendingEdit(TRUE);
            MoveToSlider(m_pClipSet, m_recordSlider);
            ShowRecord();
        } catch (CDaoException* e) {
            HandleDaoError(e);
        }
    }
    CPropertyPage::OnHScroll(nSBCode, nPos, pScrollBar);
}

void CClipGroupsPPage::CompletePendingEdit(BOOL save)
{
    if (m_bDaoFailed || !m_pDetailSet || !m_pDetailSet->IsOpen())
        return;
    if (m_pDetailSet->GetEditMode() == dbEditNone)
        return;
    if (save)
        m_pDetailSet->Update();
    else
        m_pDetailSet->CancelUpdate();
}

void CClipGroupsPPage::OnMore()
{
    CMoreDlg more(this);
    m_commentEdit.GetWindowText(more.m_strText);
    if (more.DoModal() == IDOK)
        m_commentEdit.SetWindowText(more.m_strText);
}

// ---------------------------------------------------------------------------------------
// Activation and the sheet's buttons

BOOL CClipGroupsPPage::OnSetActive()
{
    ShowRoleRadios();
    if (m_pSheet && m_pSheet->GetResetPages())
        m_bDaoFailed = FALSE;
    try {
        ListGroupClips();
        m_pClipSet->Requery();
        ShowRecord();
        FillSubjectFinder();
        ResetSubjectFinder();
    } catch (CDaoException* e) {
        HandleDaoError(e);
        return FALSE;
    }
    return CPropertyPage::OnSetActive();
}

BOOL CClipGroupsPPage::OnKillActive()
{
    return CPropertyPage::OnKillActive();
}

void CClipGroupsPPage::OnOK()
{
    try {
        CompletePendingEdit(TRUE);
    } catch (CDaoException* e) {
        HandleDaoError(e, FALSE);
    }
    m_preview.Clear();
}

BOOL CClipGroupsPPage::OnApply()
{
    try {
        CompletePendingEdit(TRUE);
    } catch (CDaoException* e) {
        HandleDaoError(e, FALSE);
        return FALSE;
    }
    return TRUE;
}

void CClipGroupsPPage::OnCancel()
{
    try {
        CompletePendingEdit(FALSE);
    } catch (CDaoException* e) {
        e->Delete();
    }
    m_preview.Clear();
    if (m_pSheet)
        m_pSheet->SetResetPages(TRUE);
    CPropertyPage::OnCancel();
}

// ---------------------------------------------------------------------------------------
// Record filter

void CClipGroupsPPage::SetCondition(const CClipCondition& condition)
{
    ApplyCondition(m_pClipSet, condition);
}

void CClipGroupsPPage::FillFilterChoices()
{
    m_filter.FillChoices(m_filterChoiceCombo, GetDlgItem(IDC_DB_CHOICE_LABEL),
                         m_pClipSet->m_pDatabase);
}

void CClipGroupsPPage::ApplyRecordFilter(int index)
{
    try {
        CompletePendingEdit(TRUE);
        CString title;
        m_condition = m_filter.Apply(index, m_filterChoiceCombo, m_pClipSet->m_pDatabase, title);
        if (m_filter.m_nIndex == 0) {
            m_titleStatic.SetDefaultColors();
            m_nSelectedSubject = -1;
        } else {
            m_titleStatic.SetBkColor(kBannerYellow);
        }
        m_titleStatic.SetWindowText(title);
        m_titleStatic.Invalidate();
        SetCondition(m_condition);
        RequeryClips();
        FillSubjectFinder();
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

void CClipGroupsPPage::OnShowAll()
{
    m_filter.SetMode(0);
    FillFilterChoices();
    ApplyRecordFilter(0);
}

void CClipGroupsPPage::OnShowClips()
{
    if (!m_filter.SetMode(1))
        return;
    FillFilterChoices();
    ApplyRecordFilter(1);
}

// The role radios: the mode they record and the filter index they apply.
#define ROLE_RADIO(handler, mode, index)                                                   \
    void CClipGroupsPPage::handler()                                                       \
    {                                                                                      \
        const int types = CClipFilter::ClipTypeCount();                                    \
        m_filter.SetMode(mode);                                                            \
        FillFilterChoices();                                                               \
        ApplyRecordFilter(index);                                                          \
    }
ROLE_RADIO(OnShowPlayers, types + 2, types + 1)
ROLE_RADIO(OnShowPros, types + 2, types + 2)
ROLE_RADIO(OnShowLadyPros, types + 3, types + 3)
ROLE_RADIO(OnShowStudents, types + 4, types + 4)
ROLE_RADIO(OnShowLeague, types + 5, 0)
#undef ROLE_RADIO

void CClipGroupsPPage::OnFilterChoiceSelChange()
{
    const int index = m_filter.IndexOfChoice(m_filterChoiceCombo.GetCurSel());
    if (index >= 0)
        ApplyRecordFilter(index);
}

// The type commands narrow the clips without touching the mode or the banner.
void CClipGroupsPPage::SetTypeFilter(LPCTSTR type)
{
    SetCondition(type ? Condition("[ClipType] = ?", CDaoParams().Add(CString(type)))
                      : CClipCondition());
    RequeryClips();
}

void CClipGroupsPPage::OnFilterAllTypes() { SetTypeFilter(NULL); }
void CClipGroupsPPage::OnFilterSwing() { SetTypeFilter("Swing"); }
void CClipGroupsPPage::OnFilterDrill() { SetTypeFilter("Drill"); }
void CClipGroupsPPage::OnFilterComparison() { SetTypeFilter("Comparison"); }

// ---------------------------------------------------------------------------------------
// Subject finder

void CClipGroupsPPage::FillSubjectFinder()
{
    const CClipCondition condition = m_condition.And(m_filter.InstructorCondition());
    try {
        FillPeopleWithClips(m_findCombo, m_pClipSet->m_pDatabase, condition.text,
                            condition.params);
    } catch (CDaoException* e) {
        PassOnOrShow(e);
    }
    if (SelectItemData(m_findCombo, (DWORD_PTR)(LONG_PTR)m_nSelectedSubject) == CB_ERR)
        SelectItemData(m_findCombo, (DWORD_PTR)-1);
}

void CClipGroupsPPage::ResetSubjectFinder()
{
    m_findCombo.SetCurSel(0);
}

int CClipGroupsPPage::GetSelectedSubjectID()
{
    const int sel = m_findCombo.GetCurSel();
    return sel == CB_ERR ? -1 : (int)(LONG_PTR)m_findCombo.GetItemData(sel);
}

// A subject shows only that person's clips, found by ID; "Any Name" only sorts and
// requeries: the filter and the banner stay, a subject chosen before with them.
void CClipGroupsPPage::OnFindSubjectSelChange()
{
    m_nSelectedSubject = GetSelectedSubjectID();
    try {
        if (m_nSelectedSubject != -1) {
            CString name;
            m_findCombo.GetLBText(m_findCombo.GetCurSel(), name);
            m_titleStatic.SetBkColor(kBannerYellow);
            m_titleStatic.SetWindowText(m_filter.SubjectTitle(name));
            SetCondition(Condition("[VideoClip].[PersonID] = ?",
                                   CDaoParams().Add((LONG)m_nSelectedSubject)));
        }
        m_titleStatic.Invalidate();
        m_pClipSet->m_strSort = kSort;
        m_pClipSet->Requery();
        ShowRecord();
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

// ---------------------------------------------------------------------------------------
// Groups and members

int CClipGroupsPPage::LoadGroupList()
{
    int last = -1;
    try {
        CRefClipGroupMaster groups(m_pGroupSet ? m_pGroupSet->m_pDatabase : NULL);
        groups.Open(dbOpenDynaset, "SELECT * FROM ReferenceClipMaster", dbReadOnly);
        m_groupCombo.ResetContent();
        for (; !groups.IsEOF(); groups.MoveNext()) {
            last = m_groupCombo.AddString(groups.m_GroupName);
            m_groupCombo.SetItemData(last, (DWORD_PTR)(LONG_PTR)groups.m_ID);
        }
        m_bGroupsListed = TRUE;
        groups.Close();
    } catch (CDaoException* e) {
        HandleDaoError(e);
        return -1;
    }
    return last;
}

int CClipGroupsPPage::GetSelectedGroupID()
{
    const int sel = m_groupCombo.GetCurSel();
    return sel == CB_ERR ? -1 : (int)(LONG_PTR)m_groupCombo.GetItemData(sel);
}

void CClipGroupsPPage::QueryGroupMembers()
{
    m_pJoin->m_strFilter.Format(
        "[RefClipID] = %d AND [VideoClip].[ID] = [ReferenceClipGroupDetail].[VideoID]",
        GetSelectedGroupID());
    m_pJoin->Requery();
}

void CClipGroupsPPage::ListGroupClips()
{
    QueryGroupMembers();
    m_memberList.DeleteAllItems();
    for (; !m_pJoin->IsBOF() && !m_pJoin->IsEOF(); m_pJoin->MoveNext()) {
        const int item = m_memberList.InsertItem(0, m_pJoin->m_VideoClipName);
        m_memberList.SetItemData(item, (DWORD_PTR)(LONG_PTR)m_pJoin->m_VideoID);
    }
}

BOOL CClipGroupsPPage::IsClipInGroup()
{
    m_pDetailSet->m_strFilter.Format("[RefClipID] = %d AND [VideoID] = %d", GetSelectedGroupID(),
                                     (int)m_pClipSet->m_ID);
    m_pDetailSet->Requery();
    return !(m_pDetailSet->IsBOF() && m_pDetailSet->IsEOF());
}

BOOL CClipGroupsPPage::GroupHasClips()
{
    CRefClipGroupDetail members(m_pDetailSet->m_pDatabase);
    OpenWith(members, "SELECT * FROM [ReferenceClipGroupDetail] WHERE [RefClipID] = ?",
             CDaoParams().Add((LONG)GetSelectedGroupID()));
    const BOOL any = !members.IsEOF() && !members.IsBOF();
    members.Close();
    return any;
}

// The group's memberships and its row go in one transaction: a failure leaves the group
// whole.
void CClipGroupsPPage::DeleteGroup()
{
    CDaoDatabase* db = m_pGroupSet->m_pDatabase;
    db->m_pWorkspace->BeginTrans();
    try {
        DeleteListedMemberships();
        DeleteGroupRow();
    } catch (CDaoException*) {
        db->m_pWorkspace->Rollback();
        throw;
    }
    db->m_pWorkspace->CommitTrans();
    m_pGroupSet->Requery();
}

void CClipGroupsPPage::DeleteListedMemberships()
{
    CDaoDatabase* db = m_pGroupSet->m_pDatabase;
    const LONG group = (LONG)GetSelectedGroupID();
    for (int i = 0; i < m_memberList.GetItemCount(); ++i) {
        const LONG video = (LONG)(LONG_PTR)m_memberList.GetItemData(i);
        CRefClipGroupDetail member(db);
        OpenWith(member,
                 "SELECT * FROM [ReferenceClipGroupDetail] WHERE [RefClipID] = ? AND [VideoID] = ?",
                 CDaoParams().Add(group).Add(video), dbOpenDynaset);
        if (!member.IsBOF() && !member.IsEOF())
            member.Delete();
        member.Close();
    }
}

// The group row, and with it the memberships no list shows (of clips whose row is gone),
// which would otherwise be left without their group.
void CClipGroupsPPage::DeleteGroupRow()
{
    CDaoDatabase* db = m_pGroupSet->m_pDatabase;
    const CDaoParams id = CDaoParams().Add((LONG)GetSelectedGroupID());
    db->Execute("DELETE FROM [ReferenceClipGroupDetail] WHERE [RefClipID] = ?", id);
    CRefClipGroupMaster group(db);
    OpenWith(group, "SELECT * FROM [ReferenceClipMaster] WHERE [ID] = ?", id, dbOpenDynaset);
    if (!group.IsBOF() && !group.IsEOF())
        group.Delete();
    group.Close();
}

void CClipGroupsPPage::BeginGroupEdit()
{
    if (m_pGroupSet && m_pGroupSet->IsOpen() && m_pGroupSet->GetEditMode() == dbEditNone &&
        !HasNoCurrentGroup()) {
        m_pGroupSet->Edit();
        SetModified(TRUE);
    }
}

short CClipGroupsPPage::GetGroupEditMode()
{
    return m_pGroupSet && m_pGroupSet->IsOpen() ? m_pGroupSet->GetEditMode() : (short)dbEditNone;
}

BOOL CClipGroupsPPage::HasNoCurrentGroup()
{
    return !m_pGroupSet || !m_pGroupSet->IsOpen() || m_pGroupSet->IsBOF() || m_pGroupSet->IsEOF();
}

void CClipGroupsPPage::OnGroupSelChange()
{
    try {
        ListGroupClips();
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

void CClipGroupsPPage::OnNewGroup()
{
    CGroupName dialog(this);
    if (dialog.DoModal() != IDOK)
        return;
    try {
        CreateGroup(dialog.m_strGroupName);
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

BOOL CClipGroupsPPage::CreateGroup(const CString& name)
{
    // The name goes in as a parameter: quotes and pattern characters are plain text.
    CRefClipGroupMaster same(m_pGroupSet->m_pDatabase);
    OpenWith(same, "SELECT * FROM [ReferenceClipMaster] WHERE [GroupName] = ?",
             CDaoParams().Add(name));
    const BOOL added = same.IsBOF() && same.IsEOF();
    same.Close();
    if (added) {
        m_pGroupSet->AddNew();
        m_pGroupSet->m_GroupName = name;
        m_pGroupSet->Update();
        m_groupCombo.SetCurSel(LoadGroupList());
    } else {
        AfxMessageBox("Group Name already exits.", MB_OK);
    }
    ListGroupClips();
    return added;
}

void CClipGroupsPPage::OnDeleteGroup()
{
    try {
        if (GetSelectedGroupID() < 0) {
            AfxMessageBox("You must select a group first.", MB_OK);
            return;
        }
        if (GroupHasClips()) {
            CDeleteGroupDlg dialog(this);
            if (dialog.DoModal() != IDOK) {
                AfxMessageBox("You must delete the clips from this group.", MB_OK);
                return;
            }
        }
        DeleteGroup();
        LoadGroupList();
        m_groupCombo.SetCurSel(0);
        UpdateData(FALSE);
        ListGroupClips();
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

void CClipGroupsPPage::OnAddClipToGroup()
{
    try {
        if (!IsOnRow(m_pClipSet)) {
            AfxMessageBox("No Clip selected.", MB_OK);
            return;
        }
        const int group = GetSelectedGroupID();
        if (group < 0) {
            AfxMessageBox("No Group selected.", MB_OK);
            return;
        }
        if (IsClipInGroup()) {
            AfxMessageBox("Clip is part of this group.", MB_OK);
            return;
        }
        m_pDetailSet->AddNew();
        m_pDetailSet->m_RefClipID = group;
        m_pDetailSet->m_VideoID = m_pClipSet->m_ID;
        m_pDetailSet->Update();
        ListGroupClips();
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

void CClipGroupsPPage::OnRemoveClipFromGroup()
{
    try {
        const int item = m_memberList.GetNextItem(-1, LVNI_SELECTED);
        if (item < 0) {
            AfxMessageBox("No clip was selected!", MB_OK);
            return;
        }
        m_pDetailSet->m_pDatabase->Execute(
            "DELETE FROM [ReferenceClipGroupDetail] WHERE [RefClipID] = ? AND [VideoID] = ?",
            CDaoParams()
                .Add((LONG)GetSelectedGroupID())
                .Add((LONG)(LONG_PTR)m_memberList.GetItemData(item)));
        ListGroupClips();
        UpdateData(FALSE);
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}

// A listed member is skipped with a message; a failed import ends the send.
BOOL CClipGroupsPPage::ImportNetworkMember(CClipRecord& row)
{
    switch (SendRemoteClip(row)) {
    case RemoteAlreadyListed:
        AfxMessageBox("Clip has already been added to the Clip Panel", MB_OK);
        return TRUE;
    case RemoteImportFailed:
    case RemoteNoClip:
        AfxMessageBox("Process failed.  Check remote database connection", MB_OK);
        return FALSE;
    default:
        return TRUE;
    }
}

void CClipGroupsPPage::OnSendGroupToClipPanel()
{
    try {
        QueryGroupMembers();
        CClipRecord rows(m_pClipSet->m_pDatabase);
        rows.Open(dbOpenDynaset);
        const BOOL network = g_pAppConfig->IsNetworkDatabase();
        for (; !m_pJoin->IsBOF() && !m_pJoin->IsEOF(); m_pJoin->MoveNext()) {
            CString criteria;
            criteria.Format("ID = %d", (int)m_pJoin->m_VideoID);
            if (!rows.FindFirst(criteria))
                continue;
            if (network) {
                if (!ImportNetworkMember(rows))
                    break;
                continue;
            }
            CPeopleRecord people(rows.m_pDatabase);
            const BOOL student = OpenPerson(people, rows.m_PersonID) &&
                                 people.m_Role == "Student";
            people.Close();
            CClipBar* panel = CClipBar::GetClipBar();
            CClip* clip = panel ? CClip::CreateFromRecord(&rows) : NULL;
            if (clip)
                student ? panel->AddClip(clip, CString()) : panel->AddReferenceClip(clip);
        }
        rows.Close();
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
}
