#include "GroupDialogs.h"
#include "BrowserLists.h"
#include "browser_res.h"

CGroupName::CGroupName(CWnd* parent) : CDialog(IDD_GROUP_NAME, parent)
{
}

void CGroupName::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_GROUP_NAME, m_strGroupName);
    DDV_MaxChars(pDX, m_strGroupName, kGroupNameLength);
}

// A name of blanks only names nothing; the name is otherwise kept as typed.
void CGroupName::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    CString trimmed = m_strGroupName;
    trimmed.TrimLeft();
    trimmed.TrimRight();
    if (trimmed.IsEmpty()) {
        AfxMessageBox("You must enter a valid group name.", MB_OK);
        return;
    }
    CDialog::OnOK();
}

CDeleteGroupDlg::CDeleteGroupDlg(CWnd* parent) : CDialog(IDD_DELETE_GROUP, parent)
{
}
