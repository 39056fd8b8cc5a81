// The application: start-up (component check, single instance, global objects, settings
// and database), the keys every window of the program shares, and shutdown.
#pragma once
#include <afxwin.h>

struct ComponentEntry
{
    CString path;
    DWORD expectedVersion;
    DWORD build;
};

class CBrenicApp : public CWinApp
{
public:
    CBrenicApp();
    virtual ~CBrenicApp();

    virtual BOOL InitInstance() override;
    virtual int Run() override;
    virtual BOOL PreTranslateMessage(MSG* pMsg) override;
    virtual BOOL OnIdle(LONG lCount) override;
    virtual int ExitInstance() override;

    // TRUE when every component present in the folder (the program folder when empty)
    // carries the product version this build expects; FALSE at the first that does not.
    BOOL CheckComponentVersions(CString folder = CString());
    // TRUE when another instance runs; its main window, once found, in m_pPrevInstanceWnd.
    BOOL FindPreviousInstance();
    // Hands a clip file to the running instance; FALSE (after a message) when it cannot.
    BOOL HandOverFile(const CString& path);
    // An empty clip database in the program folder when neither it nor a fall-back copy
    // exists (a first start); never over an existing file.
    static BOOL CreateFirstDatabase(const CString& folder);
    static CString ProgramFolder();

    ComponentEntry m_components[5];
    CWnd* m_pPrevInstanceWnd;

    // How many times and how long the hand-over waits (tests shorten them).
    int m_nFindAttempts;
    int m_nSendAttempts;
    UINT m_nSendTimeout;

protected:
    afx_msg void OnAppAbout();
    DECLARE_MESSAGE_MAP()

private:
    CString InstanceName() const;
    HANDLE m_hMutex;
};

// The About box with the computer's memory lines, refreshed every second.
class CAboutDlg : public CDialog
{
public:
    enum { IDD = 100 };
    CAboutDlg();

    static CString MemoryLine(int line, const MEMORYSTATUS& status);

protected:
    virtual BOOL OnInitDialog() override;
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
    void ShowMemory();
};
