// The video help: the "Launch Help" dialog opens the help file in the viewer (locating it
// when it is not where the settings say) and copies the help files to the local disk with
// the "Copy Video Help Files" dialog.
#pragma once
#include <afxwin.h>

// What the help dialogs do outside the program: start the viewer, ask for a file, copy a
// file. Tests put their own in place with SetHelpActions.
class CHelpActions
{
public:
    virtual ~CHelpActions() {}
    // Starts `application` with `commandLine` in `folder`; FALSE when no process started.
    virtual BOOL StartProcess(const CString& application, const CString& commandLine,
                              const CString& folder);
    // Runs a command line the way the shell would.
    virtual void Exec(const CString& commandLine);
    // The common file dialog; FALSE on cancel.
    virtual BOOL PromptForFile(BOOL save, const CString& title, const CString& initialFile,
                               CString& chosen);
    virtual BOOL CopyOneFile(const CString& from, const CString& to);
};
CHelpActions* GetHelpActions();
// NULL returns to the program's own actions.
void SetHelpActions(CHelpActions* actions);

class CLaunchHelpDlg : public CDialog
{
public:
    CLaunchHelpDlg(int mode, CWnd* pParent = NULL);

    // The viewer's command line (after the viewer's name) for a help file.
    static CString ViewerCommandLine(const CString& helpPath);
    // Copies the help files from `source` into "Video Help Files\Dovuriva\" under
    // `destination`; the help folder is stored only once the help file has been copied.
    static BOOL CopyHelpFiles(CString source, CString destination);

    CButton m_copyButton;
    CButton m_showAtStartup;
    BYTE m_nMode; // 0 start-up, 1 command

protected:
    virtual void DoDataExchange(CDataExchange* pDX) override;
    virtual BOOL OnInitDialog() override;
    virtual void OnOK() override;
    virtual void OnCancel() override;
    afx_msg void OnShowAtStartup();
    afx_msg void OnCopyHelpFiles();
    DECLARE_MESSAGE_MAP()
};

class CCopyHelpDlg : public CDialog
{
public:
    explicit CCopyHelpDlg(CWnd* pParent = NULL);

    CString m_strDestination;
    CString m_strSource;

protected:
    virtual void DoDataExchange(CDataExchange* pDX) override;
    virtual void OnOK() override;
    afx_msg void OnBrowseSource();
    afx_msg void OnBrowseDestination();
    DECLARE_MESSAGE_MAP()
};
