// The database sheet's "Clips" page: one stored clip at a time in a record form, its video
// in a preview, the rows walked with buttons and a slider under record filters, a date
// filter and a find list; the shown clip edited, deleted, sent to the clip panel,
// exported, e-mailed; clip files imported.
//
// Every value a filter or a lookup compares (names, types, roles, IDs, dates) is given to
// the database as a parameter, never spliced into the query text.
#pragma once
#include <afxwin.h>
#include <afxcmn.h>
#include <afxdao.h>
#include "ClipFilter.h"
#include "ClipPreview.h"
#include "EditEx.h"
#include "RecordPage.h"
#include "StaticEx.h"
#include "VideoWindow.h"
#include "SECDateTimeCtrl.h"

class CClipRecord;

enum { WM_SHOW_PREVIEW = WM_APP + 0x38 };

class CClipsPPage : public CRecordPage
{
    DECLARE_DYNCREATE(CClipsPPage)

public:
    CClipsPPage();
    virtual ~CClipsPPage();

    void SetRecordSet(CClipRecord* set) { m_pSet = set; }
    void SetSaveClipMode(BOOL on) { m_bSaveClipMode = on; }
    void SetSaveClipFile(CString path) { m_strSaveClipFile = path; }
    void SetSaveClipID(int id) { m_nSaveClipID = id; }

    // Filter modes (the radio buttons); T is the number of clip types.
    void ApplyRecordFilter(int index);
    int GetClipTypeCount();
    int GetFindPersonID();
    BOOL SaveRecord(BOOL validate);
    void BeginEdit();
    BOOL RequeryAndShow();
    void UpdateRecordCount();
    CString GetRecordCountText() const { return m_strRecordCount; }
    CString GetInstructorText() const { return m_strInstructor; }
    CString GetTitleText() const;
    BOOL IsUserEdit() const { return m_bUserEdit; }
    // The row's clip type as the page treats it: a type the clip-type list does not offer
    // (other than "Comparison") becomes "Swing" in the row's buffer.
    CString GetClipTypeText();
    // The recordset's condition (the filter the rows pass).
    const CClipCondition& GetCondition() const { return m_condition; }

    virtual BOOL DestroyWindow();

    // Radio and button handlers (public so that the sheet's tests can drive them).
    afx_msg void OnShowAll();
    afx_msg void OnShowClips();
    afx_msg void OnShowPros();
    afx_msg void OnShowLadyPros();
    afx_msg void OnShowStudents();
    afx_msg void OnShowPlayers();
    afx_msg void OnShowLeague();
    afx_msg void OnFilterChoiceSelChange();
    afx_msg void OnLast3Days();
    afx_msg void OnLast7Days();
    afx_msg void OnAllDates();
    afx_msg void OnFindSubjectSelChange();
    afx_msg void OnFirstRecord();
    afx_msg void OnPrevRecord();
    afx_msg void OnNextRecord();
    afx_msg void OnLastRecord();
    afx_msg void OnEditClip();
    afx_msg void OnDeleteClip();
    afx_msg void OnQuickRegister();
    afx_msg void OnMore();
    afx_msg void OnSendClipToClipPanel();
    afx_msg void OnSendAllToClipPanel();
    afx_msg void OnExportClip();
    afx_msg void OnExportAll();
    afx_msg void OnImportClip();
    afx_msg void OnSendVideoEmail();
    afx_msg void OnClipTypeSelChange();
    afx_msg void OnSubjectSelChange();
    afx_msg void OnClubSelChange();
    afx_msg void OnViewSelChange();
    afx_msg void OnCommentUpdate();
    afx_msg void OnTimeChange();
    afx_msg void OnDateChange();
    afx_msg void OnInstructorUpdate();
    afx_msg void OnComparisonSubjectSelChange();

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL OnInitDialog();
    virtual BOOL OnSetActive();
    virtual BOOL OnKillActive();
    virtual void OnOK();
    virtual void OnCancel();
    virtual BOOL OnApply();
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    // The form.
    void LoadForm();
    void StoreForm();
    void ShowPreview();
    void LoadPreview();
    afx_msg LRESULT OnShowPreview(WPARAM, LPARAM);
    void SetFormEditable(BOOL edit);
    void UpdateEditStatus();
    void EnableBrowseControls();
    void SetSaveClipLayout(BOOL save);
    void ShowFilterButtons();
    void ApplyClipTypeMode();
    void UpdateInstructorFromSubject();
    BOOL OpenSingleClip(int id);
    BOOL MakeClipName();

    // Lists.
    void FillSubjectList(BOOL withRoleCondition = TRUE);
    void FillComparisonList();
    void FillFindList();
    void FillFieldList(CComboBox& list, UINT labelId, LPCTSTR field, LPCTSTR fallback);
    void FillClipTypeList();
    void FillFilterChoices();

    // Filters.
    void SetCondition(const CClipCondition& condition);
    void SetDateFilter(int days);
    void Navigate(Move move);
    BOOL SendRowToClipPanel(CClipRecord* row);
    BOOL SendRemoteRow(CClipRecord* row);
    CString CapturePath(const CString& fileName) const;
    void ClearPreview();

    CClipRecord* m_pSet;
    BOOL m_bSaveClipMode;
    CString m_strSaveClipFile;
    int m_nSaveClipID;
    // The filter radios' mode, the applied index and the chosen instructor.
    CClipFilter m_filter;
    int m_nFindPersonID;
    BOOL m_bUserEdit;
    BOOL m_bComparison;
    // The shown row's clip type was replaced by "Swing": written with the next save.
    BOOL m_bClipTypeReplaced;
    BOOL m_bLoading;
    BOOL m_bPreviewPending;
    // Fields the user changed in the open edit: only they are stored.
    BOOL m_bTypeChosen, m_bSubjectChosen, m_bClubChosen, m_bViewChosen, m_bCommentChanged,
        m_bStampChanged;
    CClipCondition m_personCondition;
    CClipCondition m_dateCondition;
    CClipCondition m_condition;
    CString m_strRecordCount;
    CString m_strInstructor;

    CClipPreview m_preview;
    SECDateTimeCtrl m_dateCtrl;
    SECDateTimeCtrl m_timeCtrl;
    CSliderCtrl m_recordSlider;
    CEditEx m_instructorEdit;
    CStaticEx m_titleStatic;
    CComboBox m_filterChoiceCombo;
    CComboBox m_findCombo;
    CEditEx m_commentEdit;
    CComboEx m_comparisonCombo;
    CComboEx m_clipTypeCombo;
    CComboEx m_viewCombo;
    CComboEx m_subjectCombo;
    CComboEx m_clubCombo;
};
