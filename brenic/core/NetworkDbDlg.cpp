#include "NetworkDbDlg.h"
#include <afxdao.h>
#include <winnetwk.h>
#include <cstdio>
#include <vector>
#include "AppConfig.h"
#include "DatabaseMgr.h"
#include "Globals.h"

namespace {
const UINT kMachineList = 1003;
const UINT kConnect = 1291;
const UINT kMachineEdit = 1292;
}

BEGIN_MESSAGE_MAP(CNetworkDbDlg, CDialog)
    ON_LBN_SELCHANGE(kMachineList, OnSelChange)
    ON_LBN_DBLCLK(kMachineList, OnDblClk)
    ON_BN_CLICKED(kConnect, OnConnect)
END_MESSAGE_MAP()

CNetworkDbDlg::CNetworkDbDlg(CWnd* parent) : CDialog(IDD, parent)
{
}

void CNetworkDbDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, kMachineList, m_list);
    DDX_Text(pDX, kMachineEdit, m_strMachineName);
    DDX_LBString(pDX, kMachineList, m_strSelected);
}

CString CNetworkDbDlg::RemoteDatabasePath(const CString& machine)
{
    return "\\\\" + machine + "\\Quorvel\\Quorvel.mdb";
}

CString CNetworkDbDlg::RemoteCapturePath(const CString& machine)
{
    return "\\\\" + machine + "\\Quorvel\\Capture";
}

BOOL CNetworkDbDlg::ApplyRemotePaths()
{
    g_pAppConfig->SetNetworkDatabase(TRUE);
    g_pAppConfig->SetNetworkDatabasePath(RemoteDatabasePath(m_strMachineName));
    g_pAppConfig->SetNetworkCaptureDirectory(RemoteCapturePath(m_strMachineName));
    return TRUE;
}

CString CNetworkDbDlg::MachineOfShare(LPCSTR remoteName)
{
    if (!remoteName)
        return CString();
    CString name(remoteName);
    const int slash = name.ReverseFind('\\');
    // The machine lies between the leading "\\" and the last backslash.
    if (slash < 3)
        return CString();
    CString share = name.Mid(slash + 1);
    share.MakeLower();
    if (share != "quorvel")
        return CString();
    return name.Mid(2, slash - 2);
}

BOOL CNetworkDbDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.ResetContent();
    EnumerateNetwork(NULL);
    return TRUE;
}

BOOL CNetworkDbDlg::EnumerateNetwork(LPNETRESOURCEA container)
{
    HANDLE handle = NULL;
    if (WNetOpenEnumA(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, container, &handle) != NO_ERROR)
        return FALSE;
    std::vector<BYTE> buffer(16384);
    DWORD count = (DWORD)-1;
    for (;;) {
        DWORD size = (DWORD)buffer.size();
        std::fill(buffer.begin(), buffer.end(), 0);
        const DWORD result = WNetEnumResourceA(handle, &count, buffer.data(), &size);
        if (result != NO_ERROR)
            break;
        LPNETRESOURCEA entries = (LPNETRESOURCEA)buffer.data();
        for (DWORD i = 0; i < count; ++i) {
            if (entries[i].dwUsage & RESOURCEUSAGE_CONTAINER) {
                if (!EnumerateNetwork(&entries[i]))
                    printf("function returned FALSE\n");
            }
            const CString machine = MachineOfShare(entries[i].lpRemoteName);
            if (!machine.IsEmpty())
                m_list.AddString(machine);
        }
    }
    return WNetCloseEnum(handle) == NO_ERROR;
}

// Whether the machine's database opens; a failure is shown and keeps the dialog open.
BOOL CNetworkDbDlg::TestConnection()
{
    if (m_strMachineName.IsEmpty()) {
        AfxMessageBox("Please select a remote machine to connect to");
        return FALSE;
    }
    CDaoDatabase db;
    CDatabaseMgr manager;
    try {
        manager.OpenDaoDatabase(&db, RemoteDatabasePath(m_strMachineName));
        db.Close();
        return TRUE;
    } catch (CDaoException* e) {
        AfxMessageBox(DaoErrorText(e), MB_ICONEXCLAMATION);
        e->Delete();
        return FALSE;
    }
}

void CNetworkDbDlg::OnSelChange()
{
    const int index = m_list.GetCurSel();
    if (index < 0)
        return;
    m_list.GetText(index, m_strMachineName);
    UpdateData(FALSE);
}

void CNetworkDbDlg::OnDblClk()
{
    OnSelChange();
    if (TestConnection())
        OnOK();
}

void CNetworkDbDlg::OnConnect()
{
    UpdateData(TRUE);
    if (TestConnection())
        OnOK();
}

void CNetworkDbDlg::OnOK()
{
    UpdateData(TRUE);
    if (TestConnection())
        CDialog::OnOK();
}
