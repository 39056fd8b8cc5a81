#include "ControlPanelDlg.h"
#include "VideoWindowCtrl.h"
#include "resource.h"
#include <afxdlgs.h>

BEGIN_MESSAGE_MAP(CControlPanelDlg, CDialog)
    ON_BN_CLICKED(IDC_LOAD, OnLoad)
    ON_BN_CLICKED(IDC_STEP_FORWARD, OnStepForward)
    ON_BN_CLICKED(IDC_STEP_BACK, OnStepBack)
    ON_WM_HSCROLL()
    ON_BN_CLICKED(IDC_PLAY, OnPlay)
    ON_BN_CLICKED(IDC_STOP, OnStop)
    ON_BN_CLICKED(IDC_PAUSE, OnPause)
    ON_BN_CLICKED(IDC_LIVE, OnLive)
    ON_BN_CLICKED(IDC_RECORD, OnRecord)
    ON_BN_CLICKED(IDC_TRIGGER, OnTrigger)
END_MESSAGE_MAP()

CControlPanelDlg::CControlPanelDlg() : CDialog(IDD_CONTROL_PANEL), m_bFramesMode(FALSE), m_pCtrl(NULL) {}

void CControlPanelDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_POSITION, m_Slider);
}

BOOL CControlPanelDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // Inverted here and back in UpdateFramesFields: the panel opens in fields mode.
    m_bFramesMode = !m_bFramesMode;
    UpdateFramesFields();
    return TRUE;
}

void CControlPanelDlg::SetSliderRange()
{
    long count = m_pCtrl->GetFrameCount();
    m_Slider.SetRange(0, m_bFramesMode ? count - 1 : count * 2 - 1, TRUE);
}

void CControlPanelDlg::UpdateFramesFields()
{
    m_bFramesMode = !m_bFramesMode;
    SetSliderRange();
    SetDlgItemText(IDC_UNITS, m_bFramesMode ? "Frames" : "Fields");
    if (m_bFramesMode)
        m_pCtrl->Seek(m_pCtrl->GetFieldPosition() / 2);
    else
        m_pCtrl->SeekField(m_pCtrl->GetFieldPosition());
    UpdateDisplay(true);
}

void CControlPanelDlg::UpdateDisplay(bool moveSlider)
{
    long pos = m_pCtrl->GetFieldPosition();
    long count = m_pCtrl->GetFrameCount();
    long shown = m_bFramesMode ? pos / 2 : pos;
    CString text;
    text.Format("%d", (int)shown);
    SetDlgItemText(IDC_CURRENT, text);
    text.Format("%d", (int)(m_bFramesMode ? count - 1 : count * 2 - 1));
    SetDlgItemText(IDC_RANGE_END, text);
    if (moveSlider)
        m_Slider.SendMessage(TBM_SETPOS, TRUE, shown);
}

void CControlPanelDlg::OnLoad()
{
    CFileDialog dlg(TRUE, "avi", NULL, OFN_FILEMUSTEXIST,
                    "Video files (*.avi)|*.avi|All Files (*.*)|*.*||", this);
    dlg.m_ofn.lpstrTitle = "Select a video file to load";
    dlg.DoModal();
    CString path = dlg.GetPathName();
    if (path.IsEmpty())
        return;
    m_pCtrl->LoadAVIFile(path, 0);
    SetSliderRange();
    SetDlgItemText(IDC_RANGE_START, "0");
    UpdateDisplay(true);
}

void CControlPanelDlg::OnStepForward()
{
    if (m_bFramesMode)
        m_pCtrl->Step(1);
    else
        m_pCtrl->StepField(1);
    UpdateDisplay(true);
}

void CControlPanelDlg::OnStepBack()
{
    if (m_bFramesMode)
        m_pCtrl->Step(-1);
    else
        m_pCtrl->StepField(-1);
    UpdateDisplay(true);
}

void CControlPanelDlg::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (nSBCode == SB_THUMBTRACK || nSBCode == SB_THUMBPOSITION) {
        if (m_bFramesMode)
            m_pCtrl->Seek(m_Slider.GetPos());
        else
            m_pCtrl->SeekField(m_Slider.GetPos());
        UpdateDisplay(false);
    }
    CDialog::OnHScroll(nSBCode, nPos, pScrollBar);
}

void CControlPanelDlg::OnPlay() { m_pCtrl->Play(); }
void CControlPanelDlg::OnStop() { m_pCtrl->Stop(); }
void CControlPanelDlg::OnPause() { m_pCtrl->Pause(); }

void CControlPanelDlg::OnLive()
{
    m_pCtrl->SetLiveVideoMode(IsDlgButtonChecked(IDC_LIVE) ? TRUE : FALSE, TRUE);
}

void CControlPanelDlg::OnRecord()
{
    m_pCtrl->SetCaptureFilename("d:\\rec_test.avi");
    m_pCtrl->Record();
}

void CControlPanelDlg::OnTrigger() { m_pCtrl->TriggerCapture(); }
