#include "ProgressDlg.h"
#include "FileTask.h"
#include "resource.h"

CProgressDlg::CProgressDlg(BOOL cancelAllowed, CWnd* parent)
    : CDialog(IDD_PROGRESS, parent), m_strTitle("Quorvel Redovove"),
      m_strMessage("Working, Please wait..."), m_nSteps(0), m_bCancelAllowed(cancelAllowed),
      m_bCancelled(FALSE)
{
}

CProgressDlg::~CProgressDlg()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

void CProgressDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROGRESS_BAR, m_progress);
}

BOOL CProgressDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(m_strTitle);
    SetWindowPos(&wndTop, 0, 0, 280, 120, 0);
    SetDlgItemText(IDC_PROGRESS_MESSAGE, m_strMessage);
    CWnd* cancel = GetDlgItem(IDC_PROGRESS_CANCEL);
    if (cancel)
        cancel->EnableWindow(m_bCancelAllowed);
    // Ranges above 65,535 steps (one per clip of a large database) need the 32-bit message.
    m_progress.SendMessage(PBM_SETRANGE32, 0, m_nSteps);
    m_progress.SendMessage(PBM_SETPOS, 0, 0);
    return TRUE;
}

void CProgressDlg::Show(CWnd* parent)
{
    Create(IDD_PROGRESS, parent);
    CenterWindow();
    ShowWindow(SW_SHOW);
    PaintNow();
}

void CProgressDlg::SetMessage(CString message)
{
    m_strMessage = message;
    if (GetSafeHwnd()) {
        SetDlgItemText(IDC_PROGRESS_MESSAGE, m_strMessage);
        PaintNow();
    }
}

// The caller goes on working right after showing the window or changing its message, with
// no message loop running until its next step: the window and every other window of the
// program that waits for a repaint are painted now, and the queue is then found without
// paint requests, which lets the display driver put the painted pixels on the screen. Only
// paint messages are taken: no input or command runs here.
void CProgressDlg::PaintNow()
{
    if (GetSafeHwnd())
        ::RedrawWindow(m_hWnd, NULL, NULL, RDW_UPDATENOW | RDW_ALLCHILDREN);
    MSG msg;
    for (int i = 0; i < 100 && ::PeekMessage(&msg, NULL, WM_PAINT, WM_PAINT, PM_REMOVE); ++i)
        ::DispatchMessage(&msg);
}

int CProgressDlg::StepIt()
{
    if (GetSafeHwnd())
        m_progress.SendMessage(PBM_DELTAPOS, 1, 0);
    return PumpMessages();
}

void CProgressDlg::Complete()
{
    if (GetSafeHwnd())
        m_progress.SendMessage(PBM_SETPOS, m_nSteps, 0);
}

INT_PTR CProgressDlg::DoModal()
{
    return CDialog::DoModal();
}

BOOL CProgressDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_PROGRESS_CANCEL && HIWORD(wParam) == BN_CLICKED) {
        if (m_bCancelAllowed)
            m_bCancelled = TRUE;
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

// The window stays until its owner ends the task; Enter and Escape do not close it, and
// Escape counts as the Cancel button.
void CProgressDlg::OnOK()
{
}

void CProgressDlg::OnCancel()
{
    if (m_bCancelAllowed)
        m_bCancelled = TRUE;
}

namespace {
bool IsUserInput(UINT message)
{
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK) ||
           message == WM_COMMAND || message == WM_SYSCOMMAND;
}
} // namespace

// Keeps the program painting while the caller works. While a database or file task runs,
// user input aimed at other windows is dropped: a command started from here would run in
// the middle of the task, over files that are being moved.
int CProgressDlg::PumpMessages()
{
    if (GetSafeHwnd())
        UpdateWindow();
    MSG msg;
    while (::PeekMessage(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(1);
            return 1;
        }
        if (CFileTask::IsRunning() && IsUserInput(msg.message) &&
            !(GetSafeHwnd() && (msg.hwnd == m_hWnd || ::IsChild(m_hWnd, msg.hwnd))))
            continue;
        CWinThread* thread = AfxGetThread();
        if (thread && thread->PreTranslateMessage(&msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }
    return 0;
}
