#include "TrimDlg.h"
#include "../video/Clavio.h"
#include "../video/Clip.h"
#include "../video/VideoWindow.h"
#include "AppConfig.h"
#include "Globals.h"
#include "frame_dialogs_res.h"
#include "resource.h"

namespace
{
CClip* CurrentClip()
{
    return g_pClavio ? g_pClavio->GetCurrentClip() : NULL;
}

CVideoWindow* ActiveVideo()
{
    CVideoWindow* video = g_pClavio ? g_pClavio->GetActiveVideoWindow() : NULL;
    return video && video->GetSafeHwnd() ? video : NULL;
}

// The active window's frame rate; 29.97 without a window or with a rate of 0.
double FrameRate()
{
    CVideoWindow* video = ActiveVideo();
    const double rate = video ? video->GetFrameRate() : 0;
    return rate > 0 ? rate : 29.97;
}

// The impact tab as a frame number; 0 without tabs.
int ImpactFrame(CClip* clip)
{
    if (!clip || !clip->GetTabCount())
        return 0;
    const int field = clip->GetTabPosition(clip->m_nImpactTab);
    return field < 0 ? 0 : field / 2;
}
} // namespace

BEGIN_MESSAGE_MAP(CTrimDlg, CDialog)
    ON_WM_HSCROLL()
    ON_BN_CLICKED(IDC_TRIM_CAPTURE_SIZE, OnSetCaptureSize)
    ON_BN_CLICKED(IDC_TRIM_FILE, OnTrimFile)
END_MESSAGE_MAP()

CTrimDlg::CTrimDlg(CWnd* parent)
    : CDialog(IDD_TRIM, parent), m_nLastFrame(0), m_nFirstFrame(0), m_nTrimOut(0), m_nTrimIn(0)
{
}

void CTrimDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TRIM_FILE, m_trimFile);
    DDX_Control(pDX, IDC_TRIM_OUT_SLIDER, m_trimOutSlider);
    DDX_Control(pDX, IDC_TRIM_IN_SLIDER, m_trimInSlider);
}

BOOL CTrimDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_trimInSlider.SetRange(m_nFirstFrame, m_nLastFrame, TRUE);
    m_trimOutSlider.SetRange(m_nFirstFrame, m_nLastFrame, TRUE);
    m_trimInSlider.SetPos(m_nTrimIn);
    m_trimOutSlider.SetPos(m_nTrimOut);
    m_trimFile.EnableWindow(FALSE);
    UpdateTexts();
    if (CWnd* frame = AfxGetMainWnd()) {
        if (frame->GetSafeHwnd() && frame != this) {
            CRect main, own;
            frame->GetWindowRect(&main);
            GetWindowRect(&own);
            const int left = main.right - own.Width() - 3;
            const int top = main.bottom - own.Height() - 3;
            if (left > 0 && top > 0)
                SetWindowPos(NULL, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    CClip* clip = CurrentClip();
    if (!clip || !clip->GetTabCount())
        GetDlgItem(IDC_TRIM_CAPTURE_SIZE)->EnableWindow(FALSE);
    if (CWnd* frame = AfxGetMainWnd())
        if (frame != this)
            frame->SendMessage(WM_COMMAND, ID_STOP_BUTTON);
    return TRUE;
}

void CTrimDlg::UpdateTexts()
{
    CClip* clip = CurrentClip();
    const int impact = ImpactFrame(clip);
    const int pre = impact - m_nTrimIn;
    const int post = m_nTrimOut - impact;
    const double rate = FrameRate();
    CString text;
    if (clip && clip->GetTabCount()) {
        text.Format("%2.2f (sec) Pre Impact", pre / rate);
        SetDlgItemText(IDC_TRIM_IN_TEXT, text);
        text.Format("%2.2f (sec) Post Impact", post / rate);
        SetDlgItemText(IDC_TRIM_OUT_TEXT, text);
    } else {
        text.Format("%2.2f (sec)", m_nTrimIn / rate);
        SetDlgItemText(IDC_TRIM_IN_TEXT, text);
        text.Format("%2.2f (sec)", (m_nTrimOut + 1) / rate);
        SetDlgItemText(IDC_TRIM_OUT_TEXT, text);
    }
    const int frames = m_nTrimOut - m_nTrimIn + 1;
    text.Format("%d Frames", frames);
    SetDlgItemText(IDC_TRIM_FRAMES, text);
    text.Format("%2.2f Seconds", frames / rate);
    SetDlgItemText(IDC_TRIM_DURATION, text);
    m_trimFile.EnableWindow(m_nTrimIn > m_nFirstFrame || m_nTrimOut < m_nLastFrame);
}

// Every move of a thumb counts, by dragging, by the keyboard or by a click beside it: what
// OK stores is always the trim the sliders show.
void CTrimDlg::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (nSBCode != SB_ENDSCROLL) {
        CVideoWindow* video = ActiveVideo();
        if (pScrollBar && pScrollBar->m_hWnd == m_trimInSlider.m_hWnd) {
            m_nTrimIn = m_trimInSlider.GetPos();
            if (m_nTrimIn > m_nTrimOut) {
                m_nTrimIn = m_nTrimOut;
                m_trimInSlider.SetPos(m_nTrimIn);
            }
            if (video)
                video->SeekField(2 * m_nTrimIn);
        } else {
            m_nTrimOut = m_trimOutSlider.GetPos();
            if (m_nTrimOut < m_nTrimIn) {
                m_nTrimOut = m_nTrimIn;
                m_trimOutSlider.SetPos(m_nTrimOut);
            }
            if (video)
                video->SeekField(2 * m_nTrimOut + 1);
        }
        UpdateTexts();
    }
    (void)nPos;
    CDialog::OnHScroll(nSBCode, nPos, pScrollBar);
}

void CTrimDlg::OnSetCaptureSize()
{
    if (AfxMessageBox("Do you want to adjust the Capture Buffer by using the current trim "
                      "settings?",
                      MB_YESNO) != IDYES)
        return;
    const int impact = ImpactFrame(CurrentClip());
    const int pre = impact - m_nTrimIn;
    const int post = m_nTrimOut - impact;
    const int limit = g_pAppConfig ? g_pAppConfig->GetCaptureBufferLimit() : 120;
    if (pre > limit || post > limit)
        AfxMessageBox("Trim settings are larger than capture buffer, reduce trimmed size.");
    else if (pre == 0 && post == 0)
        AfxMessageBox("The capture buffer cannot be set to 0 length, please adjust the trim "
                      "settings.");
    else if (pre < 0 || post < 0)
        AfxMessageBox("Trim settings exclude the impact point, adjust impact tab to be within "
                      "the trimmed size.");
    else {
        if (g_pAppConfig) {
            g_pAppConfig->SetPreTrigFrames(pre);
            g_pAppConfig->SetPostTrigFrames(post);
        }
        AfxMessageBox("New capture buffer settings have been saved.", MB_ICONINFORMATION);
    }
}

BOOL CTrimDlg::TrimVideoFile(int in, int out)
{
    return g_pClavio && g_pClavio->TrimClip(in, out) == 1;
}

void CTrimDlg::OnTrimFile()
{
    if (AfxMessageBox("This process will permanently trim the clip and cannot be undone.  Do "
                      "you want to continue?",
                      MB_YESNO) != IDYES)
        return;
    if (TrimVideoFile(m_nTrimIn, m_nTrimOut)) {
        m_nTrimOut -= m_nTrimIn;
        m_nTrimIn = 0;
    }
    EndDialog(IDOK);
}
