#include "VideoBar.h"
#include "AppConfig.h"
#include "Clavio.h"
#include "Clip.h"
#include "Globals.h"
#include "PanelActions.h"
#include "PanelLogic.h"
#include "PanelRes.h"
#include "TransController.h"
#include "VideoWindow.h"

CVideoBar* g_pVideoBar = NULL;

BEGIN_MESSAGE_MAP(CVideoBarDlg, CBaseDialog)
    ON_BN_CLICKED(1169, OnPlay)
    ON_BN_CLICKED(1168, OnPlayBackwards)
    ON_BN_CLICKED(1009, OnSlowPlay)
    ON_BN_CLICKED(1013, OnSlowPlayBackwards)
    ON_BN_CLICKED(1008, OnStepForward)
    ON_BN_CLICKED(1012, OnStepBack)
    ON_BN_CLICKED(1007, OnStop)
    ON_BN_CLICKED(1014, OnRecord)
    ON_BN_CLICKED(1010, OnContinuous)
    ON_BN_CLICKED(1011, OnTrim)
    ON_WM_CONTEXTMENU()
    ON_MESSAGE(WM_USER + 100, OnButtonHeld)
    ON_MESSAGE(WM_USER + 101, OnButtonReleased)
    ON_WM_CTLCOLOR()
    ON_WM_SIZE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(CVideoBarDlg, CBaseDialog)
    ON_EVENT(CVideoBarDlg, 1080, 3, OnThumbMoved, VTS_I4)
    ON_EVENT(CVideoBarDlg, 1080, 4, OnTabMoved, VTS_I4 VTS_I4)
END_EVENTSINK_MAP()

CVideoBarDlg::CVideoBarDlg(CWnd* pParent) : CBaseDialog(IDD_VIDEO_BAR, pParent), m_nJumpToggle(1)
{
}

CVideoBarDlg::~CVideoBarDlg()
{
    if (g_pClavio)
        g_pClavio->Unsubscribe(this);
}

void CVideoBarDlg::OnDestroy()
{
    if (g_pClavio)
        g_pClavio->Unsubscribe(this);
    CBaseDialog::OnDestroy();
}

void CVideoBarDlg::DoDataExchange(CDataExchange* pDX)
{
    CBaseDialog::DoDataExchange(pDX);
    DDX_Control(pDX, 1168, m_btnPlayBackwards);
    DDX_Control(pDX, 1169, m_btnPlay);
    DDX_Control(pDX, 1119, m_counter);
    DDX_Control(pDX, 1011, m_btnTrim);
    DDX_Control(pDX, 1010, m_btnContinuous);
    DDX_Control(pDX, 1014, m_btnRecord);
    DDX_Control(pDX, 1013, m_btnSlowPlayBackwards);
    DDX_Control(pDX, 1012, m_btnStepBack);
    DDX_Control(pDX, 1007, m_btnStop);
    DDX_Control(pDX, 1008, m_btnStepForward);
    DDX_Control(pDX, 1024, m_btnTrash);
    DDX_Control(pDX, 1009, m_btnSlowPlay);
    DDX_Control(pDX, 1080, m_slider);
}

BOOL CVideoBarDlg::OnInitDialog()
{
    CBaseDialog::OnInitDialog();
    SetBitmapId(IDB_VIDEO_BAR_BACK, tile);
    if (g_pClavio)
        g_pClavio->Subscribe(this, CObserverSvr::CLIP_LOADED | CObserverSvr::POSITION_CHANGED);
    struct Face {
        CBaseBmpButton* button;
        UINT normal, pressed;
    } faces[] = {
        {&m_btnPlay, 160, 206},         {&m_btnPlayBackwards, 166, 209},
        {&m_btnSlowPlay, 274, 272},     {&m_btnSlowPlayBackwards, 273, 271},
        {&m_btnStepForward, 162, 210},  {&m_btnStepBack, 161, 211},
        {&m_btnStop, 163, 200},         {&m_btnRecord, 174, 207},
        {&m_btnContinuous, 199, 208},   {&m_btnTrim, 243, 245},
        {&m_btnTrash, 134, 0},
    };
    for (const Face& f : faces) {
        f.button->LoadBitmaps(f.normal, f.pressed);
        f.button->SizeToContent();
    }
    m_btnTrash.SetDrawFocus(TRUE);
    m_btnRecord.SetCheckMode(TRUE);
    m_btnContinuous.SetCheckMode(TRUE);
    m_btnRecord.LoadStateBitmaps(216, 215);
    CVideoWindow* video = g_pClavio ? g_pClavio->GetActiveVideoWindow() : NULL;
    m_btnContinuous.SetCheck(video && video->GetAutoReplay());

    m_font.CreateFont(17, 0, 0, 0, FW_BOLD, FALSE, FALSE, 0, DEFAULT_CHARSET, 2,
                      CLIP_DEFAULT_PRECIS, 2, DEFAULT_PITCH, "Verdana");
    m_counter.SetFont(&m_font);
    ShowPosition(0);
    m_counter.SetTextColor(0xFFFF66);
    m_counter.SetBkColor(0);
    if (g_pClavio)
        g_pClavio->Subscribe(this, CObserverSvr::VIDEO_STATE_CHANGED);
    return TRUE;
}

void CVideoBarDlg::ShowPosition(int position)
{
    CVideoWindow* video = g_pClavio ? g_pClavio->GetActiveVideoWindow() : NULL;
    BOOL frames = g_pAppConfig && g_pAppConfig->GetVideoFrameCount();
    if (m_counter.GetSafeHwnd())
        m_counter.SetWindowText(
            panel::FormatPosition(position, video ? video->GetFrameRate() : 0, frames));
}

void CVideoBarDlg::ShowSliderPosition()
{
    ShowPosition(m_slider.GetThumbPosition());
}

HBRUSH CVideoBarDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH brush = CBaseDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    if (pWnd && pWnd->GetSafeHwnd() == m_counter.GetSafeHwnd()) {
        pDC->SetTextColor(m_counter.GetTextColor());
        pDC->SetBkColor(m_counter.GetBkColor());
        pDC->SetBkMode(OPAQUE);
        m_counterBrush.DeleteObject();
        m_counterBrush.CreateSolidBrush(m_counter.GetBkColor());
        return (HBRUSH)m_counterBrush.GetSafeHandle();
    }
    return brush;
}

void CVideoBarDlg::OnContextMenu(CWnd*, CPoint)
{
}

void CVideoBarDlg::Transport(int what)
{
    if (!g_pClavio)
        return;
    CVideoWindow* video = g_pClavio->GetActiveVideoWindow();
    if (video && video->IsPlaying()) {
        OnStop();
        return;
    }
    g_pClavio->GetTransController()->EnterPlaybackMode(FALSE, FALSE);
    switch (what) {
    case PlayForward:
        g_pClavio->RealPlay();
        break;
    case PlayBack:
        g_pClavio->RealPlayBackwards();
        break;
    case SlowForward:
        g_pClavio->SlowPlay();
        break;
    case SlowBack:
        g_pClavio->SlowPlayBackwards();
        break;
    case StepForward:
        g_pClavio->StepField(1);
        break;
    case StepBack:
        g_pClavio->StepField(-1);
        break;
    }
}

void CVideoBarDlg::OnPlay() { Transport(PlayForward); }
void CVideoBarDlg::OnPlayBackwards() { Transport(PlayBack); }
void CVideoBarDlg::OnSlowPlay() { Transport(SlowForward); }
void CVideoBarDlg::OnSlowPlayBackwards() { Transport(SlowBack); }
void CVideoBarDlg::OnStepForward() { Transport(StepForward); }
void CVideoBarDlg::OnStepBack() { Transport(StepBack); }
void CVideoBarDlg::StartSlowPlay() { Transport(SlowForward); }
void CVideoBarDlg::StartPlay() { Transport(PlayForward); }

void CVideoBarDlg::OnStop()
{
    ::Sleep(100);
    if (!g_pClavio)
        return;
    CVideoWindow* video = g_pClavio->GetActiveVideoWindow();
    if ((video && video->IsPlaying()) || g_pClavio->GetTransController()->IsRecording() ||
        g_pClavio->IsBlendViewEnabled())
        g_pClavio->Stop();
    g_pClavio->GetTransController()->EnterPlaybackMode(FALSE, TRUE);
    g_pClavio->NotifyPositionChanged();
}

LRESULT CVideoBarDlg::OnButtonHeld(WPARAM wParam, LPARAM)
{
    if ((CWnd*)wParam == &m_btnStepForward)
        Transport(SlowForward);
    else if ((CWnd*)wParam == &m_btnStepBack)
        Transport(SlowBack);
    return 1;
}

LRESULT CVideoBarDlg::OnButtonReleased(WPARAM wParam, LPARAM)
{
    if ((CWnd*)wParam == &m_btnStepForward || (CWnd*)wParam == &m_btnStepBack)
        OnStop();
    return 1;
}

void CVideoBarDlg::OnRecord()
{
    if (!g_pClavio)
        return;
    if (m_btnRecord.GetCheck()) {
        if (g_pClavio->IsShadowViewEnabled())
            g_pClavio->StopEffects();
        g_pClavio->GetTransController()->StartRecording();
    } else if (CVideoWindow* video = g_pClavio->GetActiveVideoWindow()) {
        video->Stop();
    }
}

void CVideoBarDlg::OnContinuous()
{
    BOOL on = m_btnContinuous.GetCheck();
    if (g_pClavio)
        g_pClavio->SetAutoReplay(on);
    if (g_pAppConfig)
        g_pAppConfig->SetAutoReplay(on);
}

void CVideoBarDlg::OnTrim()
{
    if (panel::TrimCurrentClip(FALSE))
        OnClipLoaded();
}

void CVideoBarDlg::OnThumbMoved(long position)
{
    if (!g_pClavio)
        return;
    g_pClavio->GetTransController()->EnterPlaybackMode(FALSE, FALSE);
    g_pClavio->SeekField(position);
    ShowPosition(position);
}

void CVideoBarDlg::OnTabMoved(long tab, long position)
{
    if (!g_pClavio)
        return;
    if (g_pClavio->IsLocked()) {
        AfxMessageBox("Tabs cannot be adjusted while video windows are locked.", MB_ICONSTOP);
        return;
    }
    CClip* clip = g_pClavio->GetCurrentClip();
    if (!clip)
        return;
    clip->MoveTab(tab, position);
    if (g_pAppConfig && g_pAppConfig->GetImpactTabRelative())
        UpdateTabPositions();
}

void CVideoBarDlg::UpdateTabPositions()
{
    CClip* clip = g_pClavio ? g_pClavio->GetCurrentClip() : NULL;
    if (!clip)
        return;
    for (int i = 0; i < clip->GetTabCount(); ++i)
        m_slider.SetTabPosition(i + 1, clip->GetTabPosition(i));
}

void CVideoBarDlg::DeleteAllTabs()
{
    for (long i = m_slider.GetTabCount(); i >= 1; --i)
        m_slider.DeleteTab(i);
}

void CVideoBarDlg::AddClipTabs()
{
    CClip* clip = g_pClavio ? g_pClavio->GetCurrentClip() : NULL;
    if (!clip)
        return;
    for (int i = 0; i < clip->GetTabCount(); ++i)
        m_slider.AddTab(clip->GetTabPosition(i));
}

void CVideoBarDlg::RebuildTabs()
{
    DeleteAllTabs();
    AddClipTabs();
}

void CVideoBarDlg::OnClipLoaded()
{
    if (!GetSafeHwnd() || !g_pClavio)
        return;
    if (g_pClavio->IsLocked()) {
        if (g_pClavio->TakeChannelSwitchedFlag())
            RebuildTabs();
        return;
    }
    DeleteAllTabs();
    // The channel may have been emptied: no clip, an empty range at 0, no tabs.
    CClip* clip = g_pClavio->GetCurrentClip();
    panel::SetClipRange(m_slider, clip);
    CVideoWindow* video = g_pClavio->GetActiveVideoWindow();
    int position = clip && video ? video->GetFieldPosition() : 0;
    m_slider.SetPos(position);
    ShowPosition(position);
    AddClipTabs();
}

void CVideoBarDlg::OnPositionChanged()
{
    if (!GetSafeHwnd() || !g_pClavio)
        return;
    int position = 0;
    if (g_pClavio->IsLocked())
        position = g_pClavio->GetLockedPosition();
    else if (CVideoWindow* video = g_pClavio->GetActiveVideoWindow())
        position = video->GetFieldPosition();
    m_slider.SetPos(position);
    ShowPosition(position);
}

void CVideoBarDlg::OnVideoStateChanged()
{
    if (!GetSafeHwnd() || !g_pClavio)
        return;
    panel::RecordLook look = panel::RecordLookForCode(g_pClavio->GetVideoState());
    if (!look.change)
        return;
    m_btnRecord.SetCheck(look.checked);
    m_btnRecord.SetStateImage(look.stateImage);
}

void CVideoBarDlg::OnSize(UINT nType, int cx, int cy)
{
    CBaseDialog::OnSize(nType, cx, cy);
    if (m_slider.GetSafeHwnd())
        RebuildTabs();
}

void CVideoBarDlg::ClickRecord(int mode)
{
    if (g_pAppConfig)
        g_pAppConfig->SetRecordAuto(mode);
    m_btnRecord.SendMessage(WM_LBUTTONDOWN, 0, 0);
    m_btnRecord.SendMessage(WM_LBUTTONUP, 0, 0);
}

void CVideoBarDlg::ClickSlider()
{
    m_slider.SendMessage(WM_LBUTTONDOWN, 0, 0);
    m_slider.SendMessage(WM_LBUTTONUP, 0, 0);
}

void CVideoBarDlg::EnableTabAdjust(BOOL enable)
{
    m_slider.SetTabAdjustEnable(enable);
}

void CVideoBarDlg::GoTo(int position)
{
    if (g_pClavio)
        g_pClavio->SeekField(position);
    m_slider.SetPos(position);
    ShowPosition(position);
}

void CVideoBarDlg::JumpTab()
{
    int a = m_slider.GetTabPosition(1), b = m_slider.GetTabPosition(6);
    int thumb = m_slider.GetThumbPosition();
    if (thumb == a) {
        GoTo(b);
        m_nJumpToggle = 0;
    } else if (thumb == b) {
        GoTo(a);
        m_nJumpToggle = 1;
    } else {
        GoTo(m_nJumpToggle ? b : a);
        m_nJumpToggle = !m_nJumpToggle;
    }
}

// ---------------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CVideoBar, SECControlBar)
    ON_WM_CREATE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CVideoBar::CVideoBar()
{
}

CVideoBar::~CVideoBar()
{
    if (g_pVideoBar == this)
        g_pVideoBar = NULL;
}

int CVideoBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (SECControlBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_dlg.Create(this))
        return -1;
    m_dlg.ShowWindow(SW_SHOW);
    return 0;
}

void CVideoBar::OnSize(UINT nType, int cx, int cy)
{
    SECControlBar::OnSize(nType, cx, cy);
    if (!m_dlg.GetSafeHwnd())
        return;
    CRect inside;
    GetInsideRect(inside);
    m_dlg.SetWindowPos(NULL, inside.left, inside.top, inside.Width(), inside.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE);
}
