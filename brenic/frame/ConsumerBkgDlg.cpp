#include "ConsumerBkgDlg.h"
#include "AppConfig.h"
#include "Clavio.h"
#include "ClipBar.h"
#include "Clip.h"
#include "CustomConfig.h"
#include "Globals.h"
#include "PanelActions.h"
#include "PanelLogic.h"
#include "PanelRes.h"
#include "SECDib.h"
#include "TransController.h"
#include "VideoWindow.h"

const char* const CConsumerBkgDlg::s_buttonNames[ButtonCount] = {
    "Logo", "Record", "ManualAuto", "CaptureTrigger", "Trim", "Replay", "Pan", "Email",
    "SingleView", "SplitView", "Mirror", "LockView", "SnapShot", "Live", "DrawClear",
    "DrawSelect", "DrawLine", "DrawMultiline", "DrawText", "DrawEllipse", "DrawRect",
    "DrawArrow", "Button01", "Button02", "Button03", "Button04", "Button05", "Button06",
    "Play", "SlowPlayRev", "SlowPlay", "StepRev", "StepFwd",
};

const UINT CConsumerBkgDlg::s_buttonIds[ButtonCount] = {
    1209, 1014, 1189, 1196, 1011, 1010, 1077, 1043, 1022, 1023, 1040, 1036, 1042, 1041, 1093,
    1091, 1095, 1096, 1094, 1098, 1097, 1137, 1190, 1191, 1192, 1193, 1194, 1195, 1169, 1013,
    1009, 1012, 1008,
};

namespace {

const COLORREF kPositionText = 0xFFFF66;
const COLORREF kPositionBack = 0;

} // namespace

BEGIN_MESSAGE_MAP(CConsumerBkgDlg, CBaseDialog)
    ON_WM_CTLCOLOR()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_USER + 100, OnButtonHeld)
    ON_MESSAGE(WM_USER + 101, OnButtonReleased)
    ON_BN_CLICKED(1014, OnRecord)
    ON_BN_CLICKED(1189, OnManualAuto)
    ON_BN_CLICKED(1196, OnCaptureTrigger)
    ON_BN_CLICKED(1011, OnTrim)
    ON_BN_CLICKED(1010, OnReplay)
    ON_BN_CLICKED(1077, OnPan)
    ON_BN_CLICKED(1043, OnEmail)
    ON_BN_CLICKED(1022, OnSingleView)
    ON_BN_CLICKED(1023, OnSplitView)
    ON_BN_CLICKED(1040, OnMirror)
    ON_BN_CLICKED(1036, OnLockView)
    ON_BN_CLICKED(1042, OnSnapShot)
    ON_BN_CLICKED(1041, OnLive)
    ON_BN_CLICKED(1093, OnDrawClear)
    ON_BN_CLICKED(1091, OnDrawSelect)
    ON_BN_CLICKED(1094, OnDrawText)
    ON_CONTROL_RANGE(BN_CLICKED, 1095, 1098, OnDrawTool)
    ON_BN_CLICKED(1137, OnDrawArrow)
    ON_BN_CLICKED(1190, OnFileButton)
    ON_BN_CLICKED(1191, OnToolsButton)
    ON_BN_CLICKED(1195, OnHelpButton)
    ON_BN_CLICKED(1192, OnSaveButton)
    ON_BN_CLICKED(1193, OnDatabaseButton)
    ON_BN_CLICKED(1194, OnOptionsButton)
    ON_BN_CLICKED(1169, OnPlay)
    ON_BN_CLICKED(1013, OnSlowPlayRev)
    ON_BN_CLICKED(1009, OnSlowPlay)
    ON_BN_CLICKED(1012, OnStepRev)
    ON_BN_CLICKED(1008, OnStepFwd)
    ON_COMMAND(1015, OnSaveClip)
    ON_COMMAND(32826, OnDrawProperties)
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(CConsumerBkgDlg, CBaseDialog)
    ON_EVENT(CConsumerBkgDlg, 1208, 3, OnThumbMoved, VTS_I4)
END_EVENTSINK_MAP()

CConsumerBkgDlg::CConsumerBkgDlg(CWnd* pParent)
    : CBaseDialog(IDD_CONSUMER_BKG, pParent), m_bToolsReleased(TRUE), m_pClipBar(NULL)
{
}

CConsumerBkgDlg::~CConsumerBkgDlg()
{
    if (g_pClavio)
        g_pClavio->Unsubscribe(this);
}

void CConsumerBkgDlg::DoDataExchange(CDataExchange* pDX)
{
    CBaseDialog::DoDataExchange(pDX);
    DDX_Control(pDX, 1119, m_positionText);
    DDX_Control(pDX, 1208, m_slider);
}

BOOL CConsumerBkgDlg::OnInitDialog()
{
    CBaseDialog::OnInitDialog();
    CCustomConfig* layout = g_pCustomConfig;
    CCustomConfig fallback;
    if (!layout)
        layout = &fallback;

    // The skin picture, tiled.
    SECDib skin;
    if (skin.LoadImage(layout->GetBackgroundBitmapPath()))
        SetBitmapImage(&skin, tile);

    for (int i = 0; i < ButtonCount; ++i)
        layout->SetupButton(s_buttonNames[i], &m_buttons[i], this);

    layout->PlaceSlider(&m_slider, this);
    m_slider.SetTabAdjustEnable(FALSE);
    m_slider.SetTabMode(2);
    layout->PlacePositionText(&m_positionText, this);

    m_pClipBar = new CClipBar;
    if (!layout->CreateClipPanel(m_pClipBar, this)) {
        delete m_pClipBar;
        m_pClipBar = NULL;
    }

    m_font.CreateFont(17, 0, 0, 0, FW_BOLD, FALSE, FALSE, 0, DEFAULT_CHARSET, 2,
                      CLIP_DEFAULT_PRECIS, 2, DEFAULT_PITCH, "Verdana");
    m_positionText.SetFont(&m_font);
    ShowPosition(0);
    m_positionText.SetTextColor(kPositionText);
    m_positionText.SetBkColor(kPositionBack);
    m_positionBrush.CreateSolidBrush(kPositionBack);

    if (g_pClavio)
        g_pClavio->SetSlider(&m_slider);
    if (g_pAppConfig)
        m_buttons[ManualAuto].SetCheck(g_pAppConfig->IsRecordAuto());
    if (g_pClavio)
        g_pClavio->Subscribe(this, CObserverSvr::CLIP_LOADED | CObserverSvr::POSITION_CHANGED |
                                       CObserverSvr::VIDEO_STATE_CHANGED |
                                       CObserverSvr::UPDATE);
    m_buttons[Live].SetCheck(TRUE);
    EnableLockScreens(FALSE);
    m_bToolsReleased = TRUE;
    return TRUE;
}

void CConsumerBkgDlg::OnDestroy()
{
    // No notification reaches a panel whose windows are gone.
    if (g_pClavio) {
        g_pClavio->Unsubscribe(this);
        if (g_pClavio->GetSlider() == &m_slider)
            g_pClavio->SetSlider(NULL);
    }
    CBaseDialog::OnDestroy();
}

// ---------------------------------------------------------------------------------------------
// Position

void CConsumerBkgDlg::ShowPosition(int position)
{
    CVideoWindow* video = g_pClavio ? g_pClavio->GetActiveVideoWindow() : NULL;
    double rate = video ? video->GetFrameRate() : 0;
    BOOL frames = g_pAppConfig && g_pAppConfig->GetVideoFrameCount();
    if (m_positionText.GetSafeHwnd())
        m_positionText.SetWindowText(panel::FormatPosition(position, rate, frames));
}

void CConsumerBkgDlg::ShowSliderPosition()
{
    ShowPosition(m_slider.GetThumbPosition());
}

HBRUSH CConsumerBkgDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH brush = CBaseDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    if (pWnd && pWnd->GetSafeHwnd() == m_positionText.GetSafeHwnd()) {
        pDC->SetTextColor(m_positionText.GetTextColor());
        pDC->SetBkColor(m_positionText.GetBkColor());
        pDC->SetBkMode(OPAQUE);
        if (m_positionBrush.GetSafeHandle())
            m_positionBrush.DeleteObject();
        m_positionBrush.CreateSolidBrush(m_positionText.GetBkColor());
        return (HBRUSH)m_positionBrush.GetSafeHandle();
    }
    return brush;
}

void CConsumerBkgDlg::OnThumbMoved(long position)
{
    if (!g_pClavio)
        return;
    g_pClavio->GetTransController()->EnterPlaybackMode(FALSE, FALSE);
    g_pClavio->SeekField(position);
    ShowPosition(position);
}

// ---------------------------------------------------------------------------------------------
// Transport

BOOL CConsumerBkgDlg::IsCurrentPlaying() const
{
    CVideoWindow* video = g_pClavio ? g_pClavio->GetActiveVideoWindow() : NULL;
    return video && video->IsPlaying();
}

BOOL CConsumerBkgDlg::HasCurrentClip() const
{
    return g_pClavio && g_pClavio->GetCurrentClip() != NULL;
}

void CConsumerBkgDlg::SetPlayLook(BOOL playing)
{
    if (playing) {
        m_buttons[Play].SetCheck(TRUE);
        m_buttons[Play].SetStateImage(1);
        return;
    }
    m_buttons[Play].SetCheck(FALSE);
    m_buttons[SlowPlay].SetCheck(FALSE);
    m_buttons[SlowPlayRev].SetCheck(FALSE);
    m_buttons[Play].SetStateImage(0);
}

void CConsumerBkgDlg::StartPlayback(PlayKind kind)
{
    if (IsCurrentPlaying()) {
        StopPlayback();
        return;
    }
    if (!HasCurrentClip()) {
        m_buttons[Play].SetCheck(FALSE);
        return;
    }
    g_pClavio->GetTransController()->EnterPlaybackMode(FALSE, FALSE);
    switch (kind) {
    case PlayReal:
        g_pClavio->RealPlay();
        break;
    case PlaySlow:
        g_pClavio->SlowPlay();
        break;
    case PlaySlowBackwards:
        g_pClavio->SlowPlayBackwards();
        break;
    }
    SetPlayLook(TRUE);
}

void CConsumerBkgDlg::OnPlay()
{
    StartPlayback(PlayReal);
}

void CConsumerBkgDlg::OnSlowPlay()
{
    StartPlayback(PlaySlow);
}

void CConsumerBkgDlg::OnSlowPlayRev()
{
    StartPlayback(PlaySlowBackwards);
}

void CConsumerBkgDlg::Step(int fields)
{
    if (IsCurrentPlaying()) {
        StopPlayback();
        return;
    }
    if (!HasCurrentClip()) {
        m_buttons[fields < 0 ? StepRev : StepFwd].SetCheck(FALSE);
        return;
    }
    g_pClavio->GetTransController()->EnterPlaybackMode(FALSE, FALSE);
    g_pClavio->StepField(fields);
}

void CConsumerBkgDlg::OnStepRev()
{
    Step(-1);
}

void CConsumerBkgDlg::OnStepFwd()
{
    Step(1);
}

int CConsumerBkgDlg::ButtonIndex(CWnd* button) const
{
    for (int i = 0; i < ButtonCount; ++i)
        if (button == &m_buttons[i])
            return i;
    return -1;
}

LRESULT CConsumerBkgDlg::OnButtonHeld(WPARAM wParam, LPARAM)
{
    int button = ButtonIndex((CWnd*)wParam);
    if ((button == StepFwd || button == StepRev) && HasCurrentClip()) {
        g_pClavio->GetTransController()->EnterPlaybackMode(FALSE, FALSE);
        if (button == StepFwd)
            g_pClavio->SlowPlay();
        else
            g_pClavio->SlowPlayBackwards();
    }
    return 1;
}

LRESULT CConsumerBkgDlg::OnButtonReleased(WPARAM wParam, LPARAM)
{
    int button = ButtonIndex((CWnd*)wParam);
    if (button == StepFwd || button == StepRev)
        StopPlayback();
    return 1;
}

void CConsumerBkgDlg::StopPlayback()
{
    ::Sleep(100);
    if (!g_pClavio)
        return;
    if (IsCurrentPlaying() || g_pClavio->GetTransController()->IsRecording())
        g_pClavio->Stop();
    g_pClavio->GetTransController()->EnterPlaybackMode(FALSE, TRUE);
    SetPlayLook(FALSE);
    g_pClavio->NotifyPositionChanged();
}

void CConsumerBkgDlg::ClickRecord(int mode)
{
    if (g_pAppConfig)
        g_pAppConfig->SetRecordAuto(mode);
    m_buttons[Record].SendMessage(WM_LBUTTONDOWN, 0, 0);
    m_buttons[Record].SendMessage(WM_LBUTTONUP, 0, 0);
}

void CConsumerBkgDlg::ClickCaptureTrigger()
{
    m_buttons[CaptureTrigger].SendMessage(WM_LBUTTONDOWN, 0, 0);
    m_buttons[CaptureTrigger].SendMessage(WM_LBUTTONUP, 0, 0);
}

void CConsumerBkgDlg::ClickSlider()
{
    m_slider.SendMessage(WM_LBUTTONDOWN, 0, 0);
    m_slider.SendMessage(WM_LBUTTONUP, 0, 0);
}

// ---------------------------------------------------------------------------------------------
// Views, locks, live input and mirror

void CConsumerBkgDlg::OnSingleView()
{
    if (!g_pClavio)
        return;
    g_pClavio->SetSingleView();
    EnableLockScreens(FALSE);
    g_pClavio->RedrawVideo();
}

void CConsumerBkgDlg::OnSplitView()
{
    if (!g_pClavio)
        return;
    if (!m_buttons[SplitView].GetCheck()) {
        OnSingleView();
        return;
    }
    g_pClavio->SetComparisonView(TRUE);
    EnableLockScreens(TRUE);
    g_pClavio->RedrawVideo();
}

void CConsumerBkgDlg::OnLockView()
{
    if (!g_pClavio)
        return;
    if (m_buttons[LockView].GetCheck()) {
        g_pClavio->SetLockMode(2);
        g_pClavio->RedrawVideo();
    } else {
        g_pClavio->SetLockMode(0);
    }
}

void CConsumerBkgDlg::OnLive()
{
    StopPlayback();
    if (!g_pClavio)
        return;
    BOOL live = m_buttons[Live].GetCheck();
    if (live && !g_pClavio->IsSingleView()) {
        g_pClavio->SelectFirstChannel();
        g_pClavio->SetSingleView();
    }
    g_pClavio->SetLiveInput(live, TRUE);
}

void CConsumerBkgDlg::OnMirror()
{
    if (!g_pClavio)
        return;
    g_pClavio->SetMirror(m_buttons[Mirror].GetCheck());
    g_pClavio->RedrawVideo();
    RestoreDrawingTool(NULL);
}

void CConsumerBkgDlg::UpdateViewButtons()
{
    if (!g_pClavio)
        return;
    BOOL split = g_pClavio->IsSplitView();
    m_buttons[SplitView].SetCheck(split);
    if (split)
        EnableLockScreens(TRUE);
    BOOL single = g_pClavio->IsSingleView();
    m_buttons[SingleView].SetCheck(single);
    if (single)
        EnableLockScreens(FALSE);
}

void CConsumerBkgDlg::EnableLockScreens(BOOL enable)
{
    CBaseBmpButton& lock = m_buttons[LockView];
    if (!lock.GetSafeHwnd())
        return;
    if (!m_buttons[Live].GetCheck() && g_pClavio && g_pClavio->GetCurrentClip() &&
        g_pClavio->GetOtherClip()) {
        lock.EnableWindow(enable);
        if (!enable) {
            lock.SetCheck(FALSE);
            OnLockView();
        }
    } else {
        lock.EnableWindow(FALSE);
    }
}

// ---------------------------------------------------------------------------------------------
// Recording and the other video buttons

void CConsumerBkgDlg::OnRecord()
{
    if (!g_pClavio)
        return;
    if (m_buttons[Record].GetCheck()) {
        g_pClavio->GetTransController()->StartRecording();
    } else if (CVideoWindow* video = g_pClavio->GetActiveVideoWindow()) {
        video->Stop();
    }
}

void CConsumerBkgDlg::OnManualAuto()
{
    CCustomConfig fallback;
    CCustomConfig* layout = g_pCustomConfig ? g_pCustomConfig : &fallback;
    BOOL automatic = m_buttons[ManualAuto].GetCheck();
    layout->SetupButton(automatic ? "RecordAuto" : "RecordManual", &m_buttons[Record], this);
    if (g_pAppConfig)
        g_pAppConfig->SetRecordAuto(automatic ? 1 : 0);
}

void CConsumerBkgDlg::OnCaptureTrigger()
{
    // Only a recording started in automatic mode waits for a trigger.
    if (g_pClavio && g_pClavio->GetTransController()->IsRecording() &&
        g_pClavio->IsCaptureArmed())
        g_pClavio->TriggerCapture();
    m_buttons[CaptureTrigger].SetCheck(FALSE);
}

void CConsumerBkgDlg::OnReplay()
{
    BOOL on = m_buttons[Replay].GetCheck();
    if (g_pClavio)
        g_pClavio->SetAutoReplay(on);
    if (g_pAppConfig)
        g_pAppConfig->SetAutoReplay(on);
}

void CConsumerBkgDlg::OnSnapShot()
{
    if (g_pClavio)
        g_pClavio->SaveSnapshot();
}

void CConsumerBkgDlg::OnEmail()
{
    if (g_pClavio)
        g_pClavio->EmailClip("");
}

void CConsumerBkgDlg::OnTrim()
{
    if (panel::TrimCurrentClip())
        OnClipLoaded();
}

void CConsumerBkgDlg::OnSaveClip()
{
    if (g_pClavio && g_pClavio->GetCurrentClip())
        panel::SaveClip(g_pClavio->GetCurrentClip());
    RestoreDrawingTool(NULL);
}

// ---------------------------------------------------------------------------------------------
// Notifications

void CConsumerBkgDlg::OnClipLoaded()
{
    if (!GetSafeHwnd() || !g_pClavio || g_pClavio->IsLocked())
        return;
    g_pClavio->ShowGraphics(TRUE, g_pClavio->GetCurrentChannel(), 0);
    // The channel may have been emptied: no clip, an empty range at 0.
    CClip* clip = g_pClavio->GetCurrentClip();
    panel::SetClipRange(m_slider, clip);
    g_pClavio->ShowClipTabs(clip);
    CVideoWindow* video = g_pClavio->GetActiveVideoWindow();
    int position = clip && video ? video->GetFieldPosition() : 0;
    m_slider.SetPos(position);
    ShowPosition(position);
    OnVideoStateChanged();
    if (clip)
        m_buttons[Mirror].SetCheck(clip->GetMirror());
    m_buttons[LockView].SetCheck(FALSE);
    UpdateViewButtons();
    CVideoWindow* capture = g_pClavio->GetCaptureChannel();
    m_buttons[SnapShot].EnableWindow(capture && !capture->GetLiveVideoMode());
    RestoreDrawingTool(NULL);
}

void CConsumerBkgDlg::OnPositionChanged()
{
    if (!GetSafeHwnd() || !g_pClavio)
        return;
    int position = 0;
    if (g_pClavio->IsLocked())
        position = g_pClavio->GetLockedPosition();
    else if (CVideoWindow* video = g_pClavio->GetActiveVideoWindow())
        position = video->GetFieldPosition();
    if (m_slider.GetSafeHwnd())
        m_slider.SetPos(position);
    ShowPosition(position);
}

void CConsumerBkgDlg::OnVideoStateChanged()
{
    if (!GetSafeHwnd() || !g_pClavio)
        return;
    CVideoWindow* capture = g_pClavio->GetCaptureChannel();
    m_buttons[Live].SetCheck(capture && capture->GetLiveVideoMode());
    if (g_pAppConfig)
        m_buttons[ManualAuto].SetCheck(g_pAppConfig->IsRecordAuto());
    long code = g_pClavio->GetVideoState();
    panel::RecordLook look = panel::RecordLookForCode(code);
    if (look.change) {
        m_buttons[Record].SetCheck(look.checked);
        if (look.trigger >= 0)
            m_buttons[CaptureTrigger].SetCheck(look.trigger);
        m_buttons[Record].SetStateImage(look.stateImage);
    } else if (code == 100 && !(g_pAppConfig && g_pAppConfig->GetAutoReplay())) {
        SetPlayLook(FALSE);
    }
    if (!IsCurrentPlaying())
        RestoreDrawingTool(NULL);
}

void CConsumerBkgDlg::OnUpdate()
{
    if (!GetSafeHwnd() || !g_pClavio)
        return;
    CVideoWindow* capture = g_pClavio->GetCaptureChannel();
    BOOL live = capture && capture->GetLiveVideoMode();
    m_buttons[Live].SetCheck(live);
    if (CClip* clip = g_pClavio->GetCurrentClip())
        m_buttons[Mirror].SetCheck(clip->GetMirror());
    BOOL both = g_pClavio->GetCurrentClip() && g_pClavio->GetOtherClip();
    if (g_pClavio->IsSplitView() && !m_buttons[Live].GetCheck() && both) {
        EnableLockScreens(TRUE);
        m_buttons[LockView].SetCheck(g_pClavio->GetLockMode() == 2);
    } else {
        if ((g_pClavio->GetCurrentClip() || g_pClavio->GetOtherClip()) &&
            g_pClavio->GetLockMode() != 0)
            g_pClavio->SetLockMode(0);
        EnableLockScreens(FALSE);
    }
    UpdateViewButtons();
    m_buttons[SnapShot].EnableWindow(!live);
    g_pClavio->RedrawVideo();
    if (!IsCurrentPlaying())
        RestoreDrawingTool(NULL);
}
