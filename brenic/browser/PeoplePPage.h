// The database sheet's "Register" page: one person at a time in a record form, the people
// walked with buttons and a slider, found by name, narrowed to a role or to the students
// of one instructor; people added, edited and deleted. Names, roles and IDs go to the
// database as parameters.
#pragma once
#include <afxwin.h>
#include <afxcmn.h>
#include <afxdao.h>
#include "EditEx.h"
#include "RecordPage.h"
#include "SECMaskEdit.h"
#include "StaticEx.h"

class CPeopleRecord;

class CPeoplePPage : public CRecordPage
{
    DECLARE_DYNCREATE(CPeoplePPage)

public:
    CPeoplePPage();
    virtual ~CPeoplePPage();

    void SetRecordset(CPeopleRecord* set) { m_pSet = set; }
    void SetSaveClipMode(BOOL on)
    {
        m_bSaveClipMode = on;
        m_bLessonStudentChosen = FALSE;
        m_nLessonPickMode = 0;
    }
    void SetLessonPickMode(int mode) { m_nLessonPickMode = mode; }
    void SetPersonToShow(int personId) { m_nPersonToShow = personId; }

    BOOL CommitEdit(BOOL store);
    void SetEditable(BOOL editable);
    void ApplyRoleFilter(int index);
    BOOL GoToPersonID(long id);
    CString GetPositionText() const { return m_strPosition; }
    CString GetTitleText() const;

    virtual BOOL DestroyWindow();

    afx_msg void OnFirstRecord();
    afx_msg void OnPrevRecord();
    afx_msg void OnNextRecord();
    afx_msg void OnLastRecord();
    afx_msg void OnFindName();
    afx_msg void OnShowAll();
    afx_msg void OnShowStudents();
    afx_msg void OnShowInstructors();
    afx_msg void OnShowPros();
    afx_msg void OnShowLeague();
    afx_msg void OnShowPlayers();
    afx_msg void OnFilterChoiceSelChange();
    // Role commands no control of the page sends: all people, or those of one role.
    afx_msg void OnFilterAllRoles();
    afx_msg void OnFilterStudents();
    afx_msg void OnFilterInstructors();
    afx_msg void OnFilterProsRole();
    afx_msg void OnNewPerson();
    afx_msg void OnEditPerson();
    afx_msg void OnDeletePerson();
    afx_msg void OnMore();
    afx_msg void OnFieldChange();
    afx_msg void OnRoleChange();
    // The hidden "Select for lesson" button: the shown person becomes the lesson's student.
    afx_msg void OnSelectForLesson();
    afx_msg void OnPaint();

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL OnInitDialog();
    virtual BOOL OnSetActive();
    virtual BOOL OnKillActive();
    virtual void OnOK();
    virtual void OnCancel();
    virtual BOOL OnApply();
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    DECLARE_MESSAGE_MAP()

    void LoadForm();
    void StoreForm();
    void ShowRecordPosition();
    void UpdateEditLabel();
    void UpdateInstructorState();
    void FillFindNameList();
    // The Instructor field's list: an empty entry, then every instructor.
    void FillInstructorField();
    void FilterByRole(LPCTSTR role);
    void FillRoleList();
    void FillFilterChoice();
    void ShowFilterButtons();
    void RequeryAndShow();
    void Navigate(Move move);
    BOOL ValidateName();
    void SetFilter(const CString& filter, const CDaoParams& params);
    void SelectFilterRadio(int kind, const CString& message, BOOL choice);

    CPeopleRecord* m_pSet;
    BOOL m_bSaveClipMode;
    int m_bLessonStudentChosen;
    int m_nLessonPickMode;
    int m_nPersonToShow;
    int m_bSuppress;
    int m_bMasksAttached;
    int m_nFilterIndex;
    int m_nFilterKind;
    BOOL m_bFirstPaint;
    CString m_strPosition;
    // The recordset's filter values, in marker order (kept for the counting and find lists).
    CDaoParams m_filterParams;

    CSliderCtrl m_recordSlider;
    CStaticEx m_titleStatic;
    CComboBox m_filterChoiceCombo;
    CEditEx m_emailEdit, m_firstNameEdit, m_commentEdit, m_cityEdit, m_address2Edit,
        m_addressEdit, m_lastNameEdit;
    CComboBox m_findCombo;
    CComboEx m_handCombo, m_instructorCombo, m_stateCombo, m_roleCombo;
    SECMaskEdit m_phoneEdit;
    SECMaskEdit m_zipEdit;
};
