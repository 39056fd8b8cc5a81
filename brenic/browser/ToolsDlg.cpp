#include "ToolsDlg.h"
#include "AppConfig.h"
#include "Globals.h"
#include "options_res.h"

BEGIN_MESSAGE_MAP(CToolsDlg, CBaseDialog)
    ON_WM_HSCROLL()
END_MESSAGE_MAP()

CToolsDlg::CToolsDlg(CWnd* pParent) : CBaseDialog(IDD_TOOLS_DLG, pParent) {}

void CToolsDlg::DoDataExchange(CDataExchange* pDX)
{
    CBaseDialog::DoDataExchange(pDX);
    DDX_Control(pDX, 1056, m_threshold);
}

BOOL CToolsDlg::OnInitDialog()
{
    CBaseDialog::OnInitDialog();
    m_threshold.SetRange(0, 100);
    m_threshold.SetPos(g_pAppConfig->GetSoundThreshold());
    CString text;
    text.Format("%d", m_threshold.GetPos());
    SetDlgItemText(1030, text);
    SetDlgItemText(1031, g_pAppConfig->GetCaptureDirectory());
    return TRUE;
}

void CToolsDlg::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (nSBCode == TB_THUMBTRACK || nSBCode == TB_THUMBPOSITION) {
        CString text;
        text.Format("%d", (int)nPos);
        SetDlgItemText(1030, text);
    }
    CBaseDialog::OnHScroll(nSBCode, nPos, pScrollBar);
}

BOOL CToolsDlg::IsUsableCaptureFolder(const CString& folder)
{
    CString trimmed = folder;
    trimmed.TrimLeft();
    trimmed.TrimRight();
    if (trimmed.IsEmpty())
        return FALSE;
    const DWORD attributes = GetFileAttributesA(folder);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void CToolsDlg::OnOK()
{
    CString folder;
    GetDlgItemText(1031, folder);
    // Captures would fail later in a folder that is not there.
    if (!IsUsableCaptureFolder(folder)) {
        AfxMessageBox("Capture directory does not exist.  Please enter a valid capture "
                      "directory");
        if (CWnd* edit = GetDlgItem(1031))
            GotoDlgCtrl(edit);
        return;
    }
    g_pAppConfig->SetSoundThreshold(m_threshold.GetPos());
    g_pAppConfig->SetCaptureDirectory(folder);
    CBaseDialog::OnOK();
}
