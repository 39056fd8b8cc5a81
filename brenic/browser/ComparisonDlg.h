// The "Comparison Save" question: store the clip itself as the comparison (101) or a copy
// of it (100).
#pragma once
#include <afxwin.h>

class CComparisonDlg : public CDialog
{
public:
    explicit CComparisonDlg(CWnd* parent = NULL);
    virtual INT_PTR DoModal();

protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();

    BOOL m_bUseExisting;
};
