// "Mark During Record As": the club and view that the next recordings are marked with.
#pragma once
#include <afxwin.h>

class CClipsMarkDlg : public CDialog
{
public:
    explicit CClipsMarkDlg(CWnd* parent = NULL);

    CComboBox m_view;
    CComboBox m_club;
    CString m_strView;
    CString m_strClub;

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL OnInitDialog();
    virtual void OnOK();
};
