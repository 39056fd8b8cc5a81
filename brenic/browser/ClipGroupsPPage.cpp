#include "ClipGroupsPPage.h"
#include <afxdao.h>
#include "AppConfig.h"
#include "BrowserLists.h"
#include "Clavio.h"
#include "Clip.h"
#include "ClipBar.h"
#include "GroupDialogs.h"
#include "Globals.h"
#include "Recordsets.h"
#include "RemoteSend.h"
#include "browser_res.h"

IMPLEMENT_DYNCREATE(CClipGroupsPPage, CPropertyPage)

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
    ON_CBN_SELCHANGE(IDC_CG_GROUPS, OnGroupSelChange)
    ON_CBN_SELCHANGE(IDC_DB_FIND, OnFindSubjectSelChange)
END_MESSAGE_MAP()

namespace {

BOOL IsOnRow(CDaoRecordset* set)
{
    return set && set->IsOpen() && !set->IsBOF() && !set->IsEOF();
}

const char kSort[] = "[ClipType] DESC, [VideoClipName], [DateTimeStamp]";

} // namespace

CClipGroupsPPage::CClipGroupsPPage()
    : CPropertyPage(IDD_CLIP_GROUPS_PAGE), m_pClipSet(new CClipRecord),
      m_pJoin(new CRefGroupVideoJoin), m_pDetailSet(NULL), m_pGroupSet(NULL),
      m_bGroupsListed(FALSE)
{
}

CClipGroupsPPage::~CClipGroupsPPage()
{
    for (CDaoRecordset* set : {(CDaoRecordset*)m_pClipSet, (CDaoRecordset*)m_pJoin})
        if (set->IsOpen())
            set->Close();
    delete m_pClipSet;
    delete m_pJoin;
}

void CClipGroupsPPage::HandleDaoError(CDaoException* e)
{
    e->ReportError();
    e->Delete();
}

BOOL CClipGroupsPPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_groupCombo.SubclassDlgItem(IDC_CG_GROUPS, this);
    m_memberList.SubclassDlgItem(IDC_CG_MEMBERS, this);
    m_findCombo.SubclassDlgItem(IDC_DB_FIND, this);
    try {
        m_pClipSet->m_strSort = kSort;
        m_pClipSet->Open(dbOpenDynaset);
        FillSubjectFinder();
        ResetSubjectFinder();
        m_pJoin->m_strFilter = "[RefClipID] = -1";
        m_pJoin->Open(dbOpenDynaset);
        LoadGroupList();
        m_groupCombo.SetCurSel(0);
        ListGroupClips();
        ShowClip();
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
    return TRUE;
}

void CClipGroupsPPage::ShowClip()
{
    SetDlgItemText(IDC_CG_CLIP_NAME, IsOnRow(m_pClipSet) ? m_pClipSet->m_VideoClipName : CString());
}

#define NAVIGATE(handler, move)                                                            \
    void CClipGroupsPPage::handler()                                                       \
    {                                                                                      \
        try {                                                                              \
            if (IsOnRow(m_pClipSet)) {                                                     \
                m_pClipSet->move();                                                        \
                if (m_pClipSet->IsEOF())                                                   \
                    m_pClipSet->MoveLast();                                                \
                else if (m_pClipSet->IsBOF())                                              \
                    m_pClipSet->MoveFirst();                                               \
            }                                                                              \
            ShowClip();                                                                    \
        } catch (CDaoException* e) {                                                       \
            HandleDaoError(e);                                                             \
        }                                                                                  \
    }
NAVIGATE(OnFirstRecord, MoveFirst)
NAVIGATE(OnPrevRecord, MovePrev)
NAVIGATE(OnNextRecord, MoveNext)
NAVIGATE(OnLastRecord, MoveLast)
#undef NAVIGATE

// ---------------------------------------------------------------------------------------
// Subject finder

void CClipGroupsPPage::FillSubjectFinder()
{
    try {
        FillPeopleWithClips(m_findCombo, m_pClipSet->m_pDatabase, CString(), CDaoParams());
    } catch (CDaoException* e) {
        HandleDaoError(e);
    }
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

// A subject shows only that person's clips, found by ID; "Any Name" shows all clips again
// (this page has no other filter to fall back on).
void CClipGroupsPPage::OnFindSubjectSelChange()
{
    const int subject = GetSelectedSubjectID();
    try {
        if (subject == -1) {
            m_pClipSet->m_strFilter.Empty();
            SetRecordsetParams(m_pClipSet, CDaoParams());
            SetDlgItemText(IDC_DB_TITLE, "Database Clip Records");
        } else {
            CString name;
            m_findCombo.GetLBText(m_findCombo.GetCurSel(), name);
            m_pClipSet->m_strFilter = "[VideoClip].[PersonID] = ?";
            SetRecordsetParams(m_pClipSet, CDaoParams().Add((LONG)subject));
            SetDlgItemText(IDC_DB_TITLE, "Database Records for " + name + " Only");
        }
        m_pClipSet->Requery();
        ShowClip();
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

// All memberships of the group, listed or not, and the group row go in one transaction:
// a failure leaves the group whole.
void CClipGroupsPPage::DeleteGroup()
{
    CDaoDatabase* db = m_pGroupSet->m_pDatabase;
    const CDaoParams id = CDaoParams().Add((LONG)GetSelectedGroupID());
    db->m_pWorkspace->BeginTrans();
    try {
        db->Execute("DELETE FROM [ReferenceClipGroupDetail] WHERE [RefClipID] = ?", id);
        db->Execute("DELETE FROM [ReferenceClipMaster] WHERE [ID] = ?", id);
    } catch (CDaoException*) {
        db->m_pWorkspace->Rollback();
        throw;
    }
    db->m_pWorkspace->CommitTrans();
    m_pGroupSet->Requery();
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
