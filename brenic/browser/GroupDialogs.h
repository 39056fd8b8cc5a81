// The clip groups' two questions: the name of a new group, and whether a group that still
// has clips is to be deleted.
#pragma once
#include <afxwin.h>

class CGroupName : public CDialog
{
public:
    explicit CGroupName(CWnd* parent = NULL);

    CString m_strGroupName;

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual void OnOK();
};

class CDeleteGroupDlg : public CDialog
{
public:
    explicit CDeleteGroupDlg(CWnd* parent = NULL);
};
