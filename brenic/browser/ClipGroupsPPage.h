// The clip groups page: named groups of reference clips, the selected group's clips, and
// the clip records to add to them. The group and membership recordsets are the owner's.
#pragma once
#include <afxwin.h>
#include <afxdlgs.h>
#include <afxcmn.h>

class CClipRecord;
class CRefClipGroupDetail;
class CRefClipGroupMaster;
class CRefGroupVideoJoin;
class CDaoException;

class CClipGroupsPPage : public CPropertyPage
{
    DECLARE_DYNCREATE(CClipGroupsPPage)

public:
    CClipGroupsPPage();
    virtual ~CClipGroupsPPage();

    void SetMembershipRecordset(CRefClipGroupDetail* set) { m_pDetailSet = set; }
    void SetGroupRecordset(CRefClipGroupMaster* set) { m_pGroupSet = set; }
    CClipRecord* GetClipRecordset() const { return m_pClipSet; }
    CComboBox& GetGroupList() { return m_groupCombo; }
    CListCtrl& GetMemberList() { return m_memberList; }
    CComboBox& GetSubjectFinder() { return m_findCombo; }

    int LoadGroupList();
    int GetSelectedGroupID();
    void QueryGroupMembers();
    void ListGroupClips();
    BOOL IsClipInGroup();
    BOOL GroupHasClips();
    // A group of that name unless the database has one (the new-group command's work
    // after its dialog); FALSE when refused.
    BOOL CreateGroup(const CString& name);
    // Removes the selected group and all its memberships together.
    void DeleteGroup();

    // The subject finder: "Any Name" and one entry per person with clips (by ID).
    void FillSubjectFinder();
    void ResetSubjectFinder();
    int GetSelectedSubjectID();

    afx_msg void OnFindSubjectSelChange();
    afx_msg void OnGroupSelChange();
    afx_msg void OnNewGroup();
    afx_msg void OnDeleteGroup();
    afx_msg void OnAddClipToGroup();
    afx_msg void OnRemoveClipFromGroup();
    afx_msg void OnSendGroupToClipPanel();
    afx_msg void OnFirstRecord();
    afx_msg void OnPrevRecord();
    afx_msg void OnNextRecord();
    afx_msg void OnLastRecord();

protected:
    virtual BOOL OnInitDialog();
    DECLARE_MESSAGE_MAP()

    void ShowClip();
    void HandleDaoError(CDaoException* e);
    // A network member: imported into the local database, then handed to the panel.
    // FALSE ends the send.
    BOOL ImportNetworkMember(CClipRecord& row);

    CClipRecord* m_pClipSet;
    CRefGroupVideoJoin* m_pJoin;
    CRefClipGroupDetail* m_pDetailSet;
    CRefClipGroupMaster* m_pGroupSet;
    CComboBox m_groupCombo;
    CComboBox m_findCombo;
    CListCtrl m_memberList;
    BOOL m_bGroupsListed;
};
