// "More...": a long comment edited in a large multi-line edit. The caller sets m_strText,
// runs the dialog and on IDOK reads m_strText back.
#pragma once
#include <afxwin.h>

class CMoreDlg : public CDialog
{
public:
    explicit CMoreDlg(CWnd* parent = NULL);

    CEdit m_edit;
    CString m_strText;

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL OnInitDialog();
    virtual void OnOK();
};
