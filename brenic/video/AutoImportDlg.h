// The start-up question "Would you like to auto-import video files from the CD?": Yes
// queues every clip file of the video-files folder for import on the main window; either
// answer switches the question off.
#pragma once
#include <afxwin.h>

class CAutoImportDlg : public CDialog
{
public:
    explicit CAutoImportDlg(CWnd* parent = NULL);
    virtual ~CAutoImportDlg();

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    DECLARE_MESSAGE_MAP()
};
