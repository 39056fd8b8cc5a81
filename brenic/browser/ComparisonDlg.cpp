#include "ComparisonDlg.h"
#include "clip_res.h"

CComparisonDlg::CComparisonDlg(CWnd* parent)
    : CDialog(IDD_COMPARISON_SAVE, parent), m_bUseExisting(TRUE)
{
}

BOOL CComparisonDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CheckRadioButton(IDC_COMPARISON_COPY, IDC_COMPARISON_EXISTING,
                     m_bUseExisting ? IDC_COMPARISON_EXISTING : IDC_COMPARISON_COPY);
    return TRUE;
}

void CComparisonDlg::OnOK()
{
    m_bUseExisting = IsDlgButtonChecked(IDC_COMPARISON_EXISTING) == BST_CHECKED;
    CDialog::OnOK();
}

INT_PTR CComparisonDlg::DoModal()
{
    const INT_PTR result = CDialog::DoModal();
    if (result == IDOK)
        return m_bUseExisting ? 101 : 100;
    return result;
}
