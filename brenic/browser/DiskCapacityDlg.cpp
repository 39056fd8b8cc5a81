#include "DiskCapacityDlg.h"
#include "AppConfig.h"
#include "Clavio.h"
#include "Globals.h"
#include "Utility.h"
#include "VideoWindow.h"
#include "options_res.h"

BEGIN_MESSAGE_MAP(CDiskCapacityDlg, CDialog)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CDiskCapacityDlg::CDiskCapacityDlg(CWnd* pParent)
    : CDialog(IDD_DISK_CAPACITY, pParent), m_fUsedFraction(1.0f)
{
}

double CDiskCapacityDlg::GetClipFilesSize()
{
    double total = 0.0;
    WIN32_FIND_DATAA found;
    HANDLE search =
        FindFirstFileA(g_pAppConfig->GetCaptureDirectory() + "\\" + "CLP*.avi", &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0.0;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            total += found.nFileSizeHigh * 4294967296.0 + found.nFileSizeLow;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return total;
}

BOOL CDiskCapacityDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const CString folder = g_pAppConfig->GetCaptureDirectory();
    ULARGE_INTEGER available, total, totalFree;
    if (!GetDiskFreeSpaceExA(folder, &available, &total, &totalFree)) {
        ShowLastError();
        return FALSE;
    }
    options::DiskInput in;
    in.freeBytes = (double)available.QuadPart;
    in.totalBytes = (double)total.QuadPart;
    in.clipBytes = GetClipFilesSize();
    in.bytesPerField = g_pClavio ? g_pClavio->GetBytesPerField() : -1;
    CVideoWindow* active = g_pClavio ? g_pClavio->GetActiveVideoWindow() : NULL;
    in.frameRate = active ? active->GetFrameRate() : 0.0;
    in.framesPerSwing = g_pAppConfig->GetPostTrigFrames() + g_pAppConfig->GetPreTrigFrames() + 1;
    m_figures = options::ComputeDiskFigures(in);
    m_fUsedFraction = (float)m_figures.usedFraction;

    SetDlgItemText(1172, "Capture Drive   " + CExtString(folder).GetPathDrive());
    CString text;
    text.Format("Current Level: %d%% Full", m_figures.percentFull);
    SetDlgItemText(1171, text);
    text.Format("Compression level %5.1f:1", g_pClavio ? g_pClavio->GetCompressionRatio() : -1.0);
    SetDlgItemText(1177, text);

    const struct { int id; const CString& text; } fields[] = {
        {1184, m_figures.nonClipBytes},   {1175, m_figures.freeBytes},
        {1176, m_figures.totalBytes},     {1174, m_figures.clipBytes},
        {1179, m_figures.freeMinutes},    {1178, m_figures.clipMinutes},
        {1180, m_figures.capacityMinutes}, {1182, m_figures.freeSwings},
        {1181, m_figures.clipSwings},     {1183, m_figures.capacitySwings},
    };
    for (const auto& field : fields)
        SetDlgItemText(field.id, field.text);
    return TRUE;
}

void CDiskCapacityDlg::OnPaint()
{
    CPaintDC dc(this);
    CRect frame(0, 0, 0, 0);
    if (CWnd* gauge = GetDlgItem(1122)) {
        gauge->GetWindowRect(&frame);
        ScreenToClient(&frame);
    }
    options::DrawGauge(&dc, frame, m_fUsedFraction);
}
