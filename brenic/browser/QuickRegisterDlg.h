// "Quick Register New Person": the names of a new person asked on the spot. The dialogs
// never write to the database: the caller reads the names and stores the person itself.
#pragma once
#include <afxwin.h>
#include "EditEx.h"

class CQuickRegisterDlg : public CDialog
{
public:
    // With `checkDuplicate`, a name the Person table holds already is refused.
    explicit CQuickRegisterDlg(BOOL checkDuplicate = TRUE, CWnd* parent = NULL);
    // Shown instead of the template's caption.
    void SetCaption(CString caption) { m_strCaption = caption; }
    BOOL IsNameUnique();

    CString m_strFirstName;
    CString m_strLastName;
    CString m_strCaption;
    BOOL m_bCheckDuplicate;

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL OnInitDialog();
    virtual void OnOK();
};

// The same with the person's role and instructor.
class CQuickRegisterDlg2 : public CDialog
{
public:
    explicit CQuickRegisterDlg2(CWnd* parent = NULL);
    BOOL IsNameUnique();

    long m_lInstructorID;
    CComboEx m_instructorList;
    CComboEx m_roleList;
    CString m_strFirstName;
    CString m_strLastName;
    CString m_strRole;

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    afx_msg void OnRoleChange();
    DECLARE_MESSAGE_MAP()

    void UpdateInstructorList();
};

// Trims both names, puts them back into the edits and shows the first complaint about
// them: TRUE when both are given.
BOOL CheckQuickRegisterNames(CDialog& dialog, CString& firstName, CString& lastName);
