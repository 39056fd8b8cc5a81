// The clip groups page: named groups of reference clips, the selected group's clips, and
// a read-only browser of the clip records (record form, preview, navigation, record filter
// and subject finder) from which clips are added to them. The group and membership
// recordsets are the owner's; the page never writes a clip row.
#pragma once
#include <afxwin.h>
#include <afxdlgs.h>
#include <afxcmn.h>
#include "ClipFilter.h"
#include "ClipPreview.h"
#include "EditEx.h"
#include "RecordPage.h"
#include "SECDateTimeCtrl.h"
#include "StaticEx.h"

class CClipRecord;
class CRefClipGroupDetail;
class CRefClipGroupMaster;
class CRefGroupVideoJoin;
class CDaoException;

class CClipGroupsPPage : public CRecordPage
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
    CComboBox& GetFilterChoices() { return m_filterChoiceCombo; }
    CStaticEx& GetBanner() { return m_titleStatic; }
    CString GetPositionText() const { return m_strPosition; }

    int LoadGroupList();
    int GetSelectedGroupID();
    void QueryGroupMembers();
    void ListGroupClips();
    BOOL IsClipInGroup();
    BOOL GroupHasClips();
    // A group of that name unless the database has one (the new-group command's work
    // after its dialog); FALSE when refused.
    BOOL CreateGroup(const CString& name);
    // Removes the selected group and all its memberships together: the listed memberships,
    // then the group row (with any membership left).
    void DeleteGroup();
    void DeleteListedMemberships();
    void DeleteGroupRow();
    // Editing the current group row (no control of the page asks for it): its recordset put
    // into edit mode and the page marked modified; the recordset's edit mode; whether no
    // group row is current.
    void BeginGroupEdit();
    short GetGroupEditMode();
    BOOL HasNoCurrentGroup();

    // The record filter (the radios' modes and the choice list are shared with the clips
    // page) and the subject finder: "Any Name" and one entry per person with clips under
    // the filter (by ID).
    void ApplyRecordFilter(int index);
    void FillFilterChoices();
    void ShowRoleRadios();
    void FillSubjectFinder();
    void ResetSubjectFinder();
    int GetSelectedSubjectID();
    // The clip type as shown: one the field definitions do not know reads as "Swing" (the
    // row itself is never changed).
    CString NormalizeClipType() const;
    // The shown record's fields, its preview, position text and slider.
    void ShowRecord();
    void RequeryClips();
    void CompletePendingEdit(BOOL save);
    void EnableDetailControls(BOOL enable);

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
    afx_msg void OnMore();
    afx_msg void OnShowAll();
    afx_msg void OnShowClips();
    afx_msg void OnShowPros();
    afx_msg void OnShowLadyPros();
    afx_msg void OnShowStudents();
    afx_msg void OnShowLeague();
    afx_msg void OnShowPlayers();
    afx_msg void OnFilterChoiceSelChange();
    afx_msg void OnFilterAllTypes();
    afx_msg void OnFilterSwing();
    afx_msg void OnFilterDrill();
    afx_msg void OnFilterComparison();

protected:
    virtual BOOL OnInitDialog();
    virtual BOOL OnSetActive();
    virtual BOOL OnKillActive();
    virtual void OnOK();
    virtual void OnCancel();
    virtual BOOL OnApply();
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnShowPreview(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

    void Navigate(Move move);
    void SetTypeFilter(LPCTSTR type);
    void SetCondition(const CClipCondition& condition);
    // A network member: imported into the local database, then handed to the panel.
    // FALSE ends the send.
    BOOL ImportNetworkMember(CClipRecord& row);

    CClipRecord* m_pClipSet;
    CRefGroupVideoJoin* m_pJoin;
    CRefClipGroupDetail* m_pDetailSet;
    CRefClipGroupMaster* m_pGroupSet;
    CSliderCtrl m_recordSlider;
    CEditEx m_instructorEdit, m_commentEdit, m_viewEdit, m_clipTypeEdit, m_subjectEdit,
        m_clubEdit;
    CStaticEx m_titleStatic;
    CComboBox m_filterChoiceCombo;
    CComboBox m_groupCombo;
    CComboBox m_findCombo;
    CListCtrl m_memberList;
    SECDateTimeCtrl m_dateCtrl, m_timeCtrl;
    CClipPreview m_preview;
    CClipFilter m_filter;
    // The filter's condition (the subject finder lists the people it shows).
    CClipCondition m_condition;
    CString m_strPosition;
    int m_nSelectedSubject;
    BOOL m_bGroupsListed;
    BOOL m_bPreviewPending;
};
