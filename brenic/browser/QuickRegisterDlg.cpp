#include "QuickRegisterDlg.h"
#include "BrowserLists.h"
#include "browser_res.h"

BOOL CheckQuickRegisterNames(CDialog& dialog, CString& firstName, CString& lastName)
{
    lastName.TrimLeft();
    lastName.TrimRight();
    firstName.TrimLeft();
    firstName.TrimRight();
    dialog.SetDlgItemText(IDC_QR_FIRST_NAME, firstName);
    dialog.SetDlgItemText(IDC_QR_LAST_NAME, lastName);
    if (firstName.IsEmpty()) {
        AfxMessageBox("You must enter a First Name.");
        return FALSE;
    }
    if (lastName.IsEmpty()) {
        AfxMessageBox("You must enter a Last Name.");
        return FALSE;
    }
    return TRUE;
}

// ---------------------------------------------------------------------------------------
// CQuickRegisterDlg

CQuickRegisterDlg::CQuickRegisterDlg(BOOL checkDuplicate, CWnd* parent)
    : CDialog(IDD_QUICK_REGISTER, parent), m_bCheckDuplicate(checkDuplicate)
{
}

void CQuickRegisterDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_QR_FIRST_NAME, m_strFirstName);
    DDV_MaxChars(pDX, m_strFirstName, kNameLength);
    DDX_Text(pDX, IDC_QR_LAST_NAME, m_strLastName);
    DDV_MaxChars(pDX, m_strLastName, kNameLength);
}

BOOL CQuickRegisterDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!m_strCaption.IsEmpty())
        SetWindowText(m_strCaption);
    return TRUE;
}

BOOL CQuickRegisterDlg::IsNameUnique()
{
    return IsPersonNameUnique(m_strFirstName, m_strLastName);
}

void CQuickRegisterDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    if (!CheckQuickRegisterNames(*this, m_strFirstName, m_strLastName))
        return;
    if (IsNameUnique() || !m_bCheckDuplicate)
        EndDialog(IDOK);
    else
        AfxMessageBox("The name you entered already exists in the database.");
}

// ---------------------------------------------------------------------------------------
// CQuickRegisterDlg2

BEGIN_MESSAGE_MAP(CQuickRegisterDlg2, CDialog)
    ON_CBN_SELCHANGE(IDC_QR_ROLE, OnRoleChange)
END_MESSAGE_MAP()

CQuickRegisterDlg2::CQuickRegisterDlg2(CWnd* parent)
    : CDialog(IDD_QUICK_REGISTER2, parent), m_lInstructorID(-1)
{
}

void CQuickRegisterDlg2::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_QR_INSTRUCTOR, m_instructorList);
    DDX_Control(pDX, IDC_QR_ROLE, m_roleList);
    DDX_Text(pDX, IDC_QR_FIRST_NAME, m_strFirstName);
    DDV_MaxChars(pDX, m_strFirstName, kNameLength);
    DDX_Text(pDX, IDC_QR_LAST_NAME, m_strLastName);
    DDV_MaxChars(pDX, m_strLastName, kNameLength);
    DDX_CBString(pDX, IDC_QR_ROLE, m_strRole);
}

BOOL CQuickRegisterDlg2::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_roleList.SetReadOnly(FALSE);
    SetDlgItemText(IDC_QR_ROLE_LABEL, FieldDisplayName("Role", "Role") + ":");
    if (AddFieldEntries(m_roleList, "Role") > 0)
        m_roleList.SetCurSel(0);
    const int student = m_roleList.FindString(-1, "Student");
    if (student != CB_ERR)
        m_roleList.SetCurSel(student);
    FillInstructorList(m_instructorList);
    UpdateInstructorList();
    return TRUE;
}

BOOL CQuickRegisterDlg2::IsNameUnique()
{
    return IsPersonNameUnique(m_strFirstName, m_strLastName);
}

// The instructor role (first in the sorted list) has no instructor.
void CQuickRegisterDlg2::UpdateInstructorList()
{
    if (m_roleList.GetCurSel() != 0) {
        m_instructorList.SetReadOnly(FALSE);
        FillInstructorList(m_instructorList);
    } else {
        m_instructorList.SetReadOnly(TRUE);
        m_instructorList.ResetContent();
    }
}

void CQuickRegisterDlg2::OnRoleChange()
{
    UpdateInstructorList();
}

void CQuickRegisterDlg2::OnOK()
{
    const int item = m_instructorList.GetCurSel();
    m_lInstructorID = item == CB_ERR ? -1 : (long)m_instructorList.GetItemData(item);
    if (!UpdateData(TRUE))
        return;
    if (!CheckQuickRegisterNames(*this, m_strFirstName, m_strLastName))
        return;
    if (IsNameUnique())
        EndDialog(IDOK);
    else
        AfxMessageBox("The name you entered already exists in the database.");
}
