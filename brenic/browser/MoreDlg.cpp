#include "MoreDlg.h"
#include "browser_res.h"

CMoreDlg::CMoreDlg(CWnd* parent) : CDialog(IDD_MORE, parent)
{
}

void CMoreDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_MORE_TEXT, m_edit);
}

BOOL CMoreDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_edit.SetWindowText(m_strText);
    return TRUE;
}

void CMoreDlg::OnOK()
{
    m_edit.GetWindowText(m_strText);
    CDialog::OnOK();
}
