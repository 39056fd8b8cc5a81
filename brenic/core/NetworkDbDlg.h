// "Select Remote Database": the machines of the network that share their data folder as
// "Quorvel", or a typed machine name; OK only once that machine's database opens.
#pragma once
#include <afxwin.h>

class CNetworkDbDlg : public CDialog
{
public:
    enum { IDD = 349 };
    explicit CNetworkDbDlg(CWnd* parent = NULL);

    // Network mode on, database and capture folder of the chosen machine.
    BOOL ApplyRemotePaths();
    static CString RemoteDatabasePath(const CString& machine);
    static CString RemoteCapturePath(const CString& machine);
    // The machine of a share's remote name ("\\machine\quorvel", any case); empty when the
    // name is no share of that name or too short to hold a machine.
    static CString MachineOfShare(LPCSTR remoteName);

    CListBox m_list;
    CString m_strMachineName;
    CString m_strSelected;

protected:
    virtual void DoDataExchange(CDataExchange* pDX) override;
    virtual BOOL OnInitDialog() override;
    virtual void OnOK() override;

    BOOL EnumerateNetwork(LPNETRESOURCEA container);
    BOOL TestConnection();

    afx_msg void OnSelChange();
    afx_msg void OnDblClk();
    afx_msg void OnConnect();
    DECLARE_MESSAGE_MAP()
};
