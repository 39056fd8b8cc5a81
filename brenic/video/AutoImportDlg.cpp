#include "AutoImportDlg.h"
#include "AppConfig.h"
#include "Globals.h"
#include "MainFrm.h"
#include "clip_res.h"

BEGIN_MESSAGE_MAP(CAutoImportDlg, CDialog)
END_MESSAGE_MAP()

CAutoImportDlg::CAutoImportDlg(CWnd* parent) : CDialog(IDD_AUTOIMPORT, parent)
{
}

CAutoImportDlg::~CAutoImportDlg()
{
}

void CAutoImportDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
}

BOOL CAutoImportDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    return TRUE;
}

void CAutoImportDlg::OnOK()
{
    // The folder is used as it is stored: nothing is checked or trimmed.
    const CString pattern = (g_pAppConfig ? g_pAppConfig->GetVideoFilesDir() : CString()) +
                            "\\*.kpx";
    CWnd* main = AfxGetMainWnd();
    CMainFrame* frame = DYNAMIC_DOWNCAST(CMainFrame, main);
    CFileFind finder;
    BOOL more = finder.FindFile(pattern);
    while (more) {
        more = finder.FindNextFile();
        if (frame)
            frame->QueueImport(finder.GetFilePath());
    }
    if (main && main->m_hWnd)
        ::SetTimer(main->m_hWnd, 2, 1000, NULL);
    if (g_pAppConfig)
        g_pAppConfig->SetImportVideoFiles(FALSE);
    CDialog::OnOK();
}

void CAutoImportDlg::OnCancel()
{
    if (g_pAppConfig)
        g_pAppConfig->SetImportVideoFiles(FALSE);
    EndDialog(IDCANCEL);
}
