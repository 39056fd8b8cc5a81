// The program's progress window for long database and file operations: shown modeless,
// stepped once per item by its caller, keeping the program painting while it works.
#pragma once
#include <afxwin.h>
#include <afxcmn.h>

class CProgressDlg : public CDialog
{
public:
    explicit CProgressDlg(BOOL cancelAllowed = TRUE, CWnd* parent = NULL);
    virtual ~CProgressDlg();

    void Show(CWnd* parent);
    void SetRange(int steps) { m_nSteps = steps; }
    void SetMessage(CString message);
    int StepIt();
    void Complete();
    BOOL IsCancelled() const { return m_bCancelled; }
    virtual INT_PTR DoModal();

    CProgressCtrl m_progress;

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL OnInitDialog();
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual void OnOK();
    virtual void OnCancel();
    int PumpMessages();
    void PaintNow();

    CString m_strTitle;
    CString m_strMessage;
    int m_nSteps;
    BOOL m_bCancelAllowed;
    BOOL m_bCancelled;
};
