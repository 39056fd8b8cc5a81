#include "VideoCmdDlg.h"
#include "ClipsMarkDlg.h"
#include "AppConfig.h"
#include "Clavio.h"
#include "Clip.h"
#include "Globals.h"
#include "GraphicsCmdDlg.h"
#include "PanelActions.h"
#include "PanelLogic.h"
#include "PanelRes.h"
#include "TransController.h"
#include "VideoWindow.h"

const UINT CVideoCmdDlg::s_buttonIds[ButtonCount] = {
    1150, 1149, 1283, 1280, 1281, 1282, 1279, 1096, 1044, 1099, 1042, 1036, 1035, 1041,
    1040, 1023, 1022, 1039, 1137, 1136, 1097, 1098, 1095, 1091, 1077, 1015, 1016,
};

BEGIN_MESSAGE_MAP(CVideoCmdDlg, CBaseDialog)
    ON_WM_SHOWWINDOW()
    ON_WM_DESTROY()
    ON_BN_CLICKED(1021, OnRecordMode)
    ON_CONTROL_RANGE(BN_CLICKED, 1025, 1027, OnReplayMode)
    ON_BN_CLICKED(1015, OnSaveSwing)
    ON_BN_CLICKED(1016, OnLoadSwing)
    ON_BN_CLICKED(1041, OnLive)
    ON_BN_CLICKED(1040, OnMirror)
    ON_BN_CLICKED(1022, OnSingleView)
    ON_BN_CLICKED(1023, OnComparisonView)
    ON_BN_CLICKED(1039, OnSuccessiveFrames)
    ON_BN_CLICKED(1035, OnLockImpact)
    ON_BN_CLICKED(1036, OnLockScreens)
    ON_BN_CLICKED(1077, OnPan)
    ON_BN_CLICKED(1091, OnSelect)
    ON_BN_CLICKED(1136, OnRotateLeft)
    ON_BN_CLICKED(1093, OnClear)
    ON_BN_CLICKED(1094, OnUndo)
    ON_BN_CLICKED(1042, OnSnapshot)
    ON_BN_CLICKED(1044, OnSwitchCameras)
    ON_CONTROL_RANGE(BN_CLICKED, 1095, 1099, OnTool)
    ON_BN_CLICKED(1137, OnArrowTool)
    ON_CONTROL_RANGE(BN_CLICKED, 1149, 1150, OnTool)
    ON_CONTROL_RANGE(BN_CLICKED, 1279, 1283, OnLineColor)
    ON_COMMAND(1115, OnRecordMarks)
END_MESSAGE_MAP()

CVideoCmdDlg::CVideoCmdDlg(CWnd* pParent)
    : CBaseDialog(IDD_VIDEO_CMD, pParent), m_tools(this, TRUE)
{
}

CVideoCmdDlg::~CVideoCmdDlg()
{
    if (g_pClavio)
        g_pClavio->Unsubscribe(this);
}

void CVideoCmdDlg::OnDestroy()
{
    if (g_pClavio)
        g_pClavio->Unsubscribe(this);
    CBaseDialog::OnDestroy();
}

CBaseBmpButton& CVideoCmdDlg::Button(UINT id)
{
    for (int i = 0; i < ButtonCount; ++i)
        if (s_buttonIds[i] == id)
            return m_buttons[i];
    return m_unused;
}

void CVideoCmdDlg::DoDataExchange(CDataExchange* pDX)
{
    CBaseDialog::DoDataExchange(pDX);
    for (int i = 0; i < ButtonCount; ++i)
        DDX_Control(pDX, s_buttonIds[i], m_buttons[i]);
}

BOOL CVideoCmdDlg::OnInitDialog()
{
    CBaseDialog::OnInitDialog();
    SetBitmap("BACK5", tile);
    struct Face {
        UINT id, normal, pressed;
        BOOL latching, highlight;
    } faces[] = {
        {1015, 190, 0, FALSE, FALSE},   {1016, 212, 0, FALSE, FALSE},
        {1041, 213, 214, TRUE, TRUE},   {1040, 181, 0, TRUE, TRUE},
        {1022, 165, 0, TRUE, TRUE},     {1023, 186, 0, TRUE, TRUE},
        {1039, 188, 0, TRUE, TRUE},     {1035, 178, 0, TRUE, TRUE},
        {1036, 179, 0, TRUE, TRUE},     {1077, 182, 0, FALSE, FALSE},
        {1042, 279, 0, FALSE, FALSE},   {1044, 296, 295, FALSE, TRUE},
        {1091, 220, 0, FALSE, FALSE},   {1136, 262, 0, FALSE, FALSE},
        {1095, 227, 0, TRUE, FALSE},    {1096, 229, 0, TRUE, FALSE},
        {1150, 348, 0, TRUE, FALSE},    {1137, 263, 0, TRUE, FALSE},
        {1099, 281, 0, TRUE, FALSE},    {1149, 347, 0, TRUE, FALSE},
        {1097, 234, 0, TRUE, FALSE},    {1098, 232, 0, TRUE, FALSE},
        {1279, 341, 0, TRUE, FALSE},    {1280, 343, 0, TRUE, FALSE},
        {1281, 344, 0, TRUE, FALSE},    {1282, 342, 0, TRUE, FALSE},
        {1283, 345, 0, TRUE, FALSE},
    };
    for (const Face& f : faces) {
        CBaseBmpButton& b = Button(f.id);
        b.LoadBitmaps(f.normal, f.pressed);
        b.SetDraw3DFrame(TRUE);
        b.SetDrawFocus(TRUE);
        b.SetCheckMode(f.latching);
        b.SetHighlight(f.highlight);
    }
    // The camera button is always drawn pressed and a click does not toggle it.
    CBaseBmpButton& camera = Button(1044);
    camera.LoadStateBitmaps(294, 297);
    camera.SetCheckMode(TRUE);
    camera.SetCheck(TRUE);
    camera.SetCheckLocked(TRUE);

    if (g_pAppConfig) {
        if (UINT radio = panel::ReplayModeButton(g_pAppConfig->GetReplayMode()))
            CheckRadioButton(1025, 1027, radio);
        BOOL automatic = g_pAppConfig->IsRecordAuto();
        CheckDlgButton(1021, automatic ? BST_UNCHECKED : BST_CHECKED);
        SetRecordModeCaption(automatic);
    }
    if (g_pClavio)
        g_pClavio->Subscribe(this, CObserverSvr::CLIP_LOADED | CObserverSvr::VIDEO_STATE_CHANGED |
                                       CObserverSvr::UPDATE | CObserverSvr::POSITION_CHANGED);
    CVideoWindow* capture = g_pClavio ? g_pClavio->GetCaptureChannel() : NULL;
    Button(1041).SetCheck(capture && capture->GetLiveVideoMode());
    camera.SetStateImage(0);
    EnableLockButtons(FALSE);
    m_tools.m_bReleased = 1;
    RestoreDrawingTool(NULL);
    UpdateLineColorButtons(NULL);
    OnUpdate();
    return TRUE;
}

void CVideoCmdDlg::SetRecordModeCaption(BOOL automatic)
{
    SetDlgItemText(1021, automatic ? "Auto" : "Manual");
}

void CVideoCmdDlg::OnRecordMode()
{
    BOOL manual = IsDlgButtonChecked(1021) == BST_CHECKED;
    SetRecordModeCaption(!manual);
    if (g_pAppConfig)
        g_pAppConfig->SetRecordAuto(manual ? 0 : 1);
}

void CVideoCmdDlg::OnReplayMode(UINT id)
{
    if (g_pAppConfig)
        g_pAppConfig->SetReplayMode(id - 1025);
}

void CVideoCmdDlg::OnSaveSwing()
{
    CClip* clip = g_pClavio ? g_pClavio->GetCurrentClip() : NULL;
    if (clip)
        panel::SaveClip(clip);
    else
        AfxMessageBox("Clip not loaded", MB_OK);
    if (m_tools.m_pGraphicsDlg)
        m_tools.m_pGraphicsDlg->OnToggleGraphics();
    RestoreDrawingTool(NULL);
}

void CVideoCmdDlg::OnLoadSwing()
{
    panel::ShowDatabaseClipsPage();
    RestoreDrawingTool(NULL);
}

void CVideoCmdDlg::StopShadowView()
{
    if (g_pClavio && g_pClavio->IsShadowViewEnabled())
        g_pClavio->StopEffects();
}

void CVideoCmdDlg::OnLive()
{
    if (!g_pClavio)
        return;
    CWaitCursor wait;
    StopShadowView();
    BOOL live = Button(1041).GetCheck();
    if (live && !g_pClavio->IsSingleView()) {
        g_pClavio->SelectFirstChannel();
        g_pClavio->SetSingleView();
    }
    g_pClavio->SetLiveInput(live, TRUE);
    g_pClavio->RedrawVideo();
    RestoreDrawingTool(NULL);
}

void CVideoCmdDlg::OnMirror()
{
    if (!g_pClavio)
        return;
    g_pClavio->SetMirror(Button(1040).GetCheck());
    g_pClavio->RedrawVideo();
    RestoreDrawingTool(NULL);
}

void CVideoCmdDlg::OnSingleView()
{
    if (!g_pClavio)
        return;
    g_pClavio->SetSingleView();
    g_pClavio->RedrawVideo();
    EnableLockButtons(FALSE);
}

void CVideoCmdDlg::OnComparisonView()
{
    if (!g_pClavio)
        return;
    StopShadowView();
    if (!Button(1023).GetCheck()) {
        OnSingleView();
        return;
    }
    g_pClavio->SetComparisonView(TRUE);
    g_pClavio->RedrawVideo();
    EnableLockButtons(TRUE);
}

void CVideoCmdDlg::OnSuccessiveFrames()
{
    if (!g_pClavio)
        return;
    StopShadowView();
    Button(1022).SetCheck(FALSE);
    Button(1023).SetCheck(FALSE);
    Button(1039).SetCheck(TRUE);
    g_pClavio->SetSuccessiveFramesView();
    g_pClavio->RedrawVideo();
    EnableLockButtons(FALSE);
}

void CVideoCmdDlg::OnLockImpact()
{
    if (!g_pClavio)
        return;
    if (Button(1035).GetCheck()) {
        Button(1036).SetCheck(FALSE);
        g_pClavio->SetLockMode(1);
        g_pClavio->RedrawVideo();
    } else {
        g_pClavio->SetLockMode(0);
    }
}

void CVideoCmdDlg::OnLockScreens()
{
    if (!g_pClavio)
        return;
    if (Button(1036).GetCheck()) {
        Button(1035).SetCheck(FALSE);
        g_pClavio->SetLockMode(2);
        g_pClavio->RedrawVideo();
    } else {
        g_pClavio->SetLockMode(0);
    }
}

void CVideoCmdDlg::UpdateViewButtons()
{
    if (!g_pClavio)
        return;
    Button(1023).SetCheck(g_pClavio->IsSplitView());
    if (g_pClavio->IsSplitView())
        EnableLockButtons(TRUE);
    Button(1022).SetCheck(g_pClavio->IsSingleView());
    if (g_pClavio->IsSingleView())
        EnableLockButtons(FALSE);
    Button(1039).SetCheck(g_pClavio->IsSuccessiveFramesView());
    if (g_pClavio->IsSuccessiveFramesView())
        EnableLockButtons(FALSE);
}

void CVideoCmdDlg::EnableLockButtons(BOOL enable)
{
    CBaseBmpButton& impact = Button(1035);
    CBaseBmpButton& screens = Button(1036);
    if (!impact.GetSafeHwnd())
        return;
    if (!Button(1041).GetCheck() && g_pClavio && g_pClavio->GetCurrentClip() &&
        g_pClavio->GetOtherClip()) {
        impact.EnableWindow(enable);
        screens.EnableWindow(enable);
        if (!enable) {
            impact.SetCheck(FALSE);
            screens.SetCheck(FALSE);
            OnLockImpact();
            OnLockScreens();
        }
    } else {
        impact.EnableWindow(FALSE);
        screens.EnableWindow(FALSE);
    }
}

void CVideoCmdDlg::OnPan()
{
    ReleaseDrawingTools();
    if (m_tools.m_pGraphicsDlg)
        m_tools.m_pGraphicsDlg->OnPanVideo();
}

void CVideoCmdDlg::OnSelect()
{
    ReleaseDrawingTools();
    if (m_tools.m_pGraphicsDlg)
        m_tools.m_pGraphicsDlg->OnSelectObject();
}

void CVideoCmdDlg::OnRotateLeft()
{
    ReleaseDrawingTools();
    if (m_tools.m_pGraphicsDlg)
        m_tools.m_pGraphicsDlg->OnRotateLeft();
}

void CVideoCmdDlg::OnClear()
{
    if (m_tools.m_pGraphicsDlg)
        m_tools.m_pGraphicsDlg->OnClearGraphics();
    RestoreDrawingTool(NULL);
}

void CVideoCmdDlg::OnUndo()
{
    m_tools.EnableGraphics();
    if (g_pClavio)
        g_pClavio->SendDrawCommand(panel::kCmdUndo, FALSE);
    RestoreDrawingTool(NULL);
}

void CVideoCmdDlg::OnSnapshot()
{
    if (g_pClavio)
        g_pClavio->SaveSnapshot();
}

void CVideoCmdDlg::OnTool(UINT id)
{
    m_tools.OnToolButton(id);
}

void CVideoCmdDlg::OnLineColor(UINT id)
{
    m_tools.OnColourButton(id);
}

void CVideoCmdDlg::ShowCameraState()
{
    CVideoWindow* video = g_pClavio ? g_pClavio->GetActiveVideoWindow() : NULL;
    Button(1044).SetStateImage(
        panel::CameraStateImage(video ? video->GetCurCaptureDevice() : -1));
}

void CVideoCmdDlg::OnSwitchCameras()
{
    if (!g_pClavio)
        return;
    CWaitCursor wait;
    if (g_pClavio->IsCaptureArmed()) {
        g_pClavio->SetCaptureArmed(FALSE);
        g_pClavio->SetRestartRecording(TRUE);
    }
    CVideoWindow* video = g_pClavio->GetActiveVideoWindow();
    if (!video || !video->GetLiveVideoMode()) {
        AfxMessageBox("Must be in live mode to switch cameras", MB_OK);
        return;
    }
    int count = video->GetNumCaptureDevices();
    if (count > 0) {
        int next = panel::NextCamera(video->GetCurCaptureDevice(), count);
        Button(1044).SetCheck(TRUE);
        Button(1044).SetStateImage(panel::CameraStateImage(next));
        if (g_pAppConfig)
            video->SetCaptureDriverName(g_pAppConfig->GetCaptureDriverName());
        video->SetCaptureDevice((short)next);
    }
    CVideoWindow* capture = g_pClavio->GetCaptureChannel();
    if (capture && capture->GetLiveVideoMode())
        g_pClavio->SetLiveInput(TRUE, TRUE);
    ShowCameraState();
}

void CVideoCmdDlg::OnRecordMarks()
{
    CClipsMarkDlg dialog(this);
    if (g_pAppConfig) {
        dialog.m_strView = g_pAppConfig->GetRecordView();
        dialog.m_strClub = g_pAppConfig->GetRecordClub();
    }
    if (dialog.DoModal() == IDOK && g_pAppConfig) {
        g_pAppConfig->SetRecordView(dialog.m_strView);
        g_pAppConfig->SetRecordClub(dialog.m_strClub);
    }
    RestoreDrawingTool(NULL);
}

void CVideoCmdDlg::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CBaseDialog::OnShowWindow(bShow, nStatus);
    if (!bShow)
        return;
    m_tools.m_bReleased = 0;
    RestoreDrawingTool(NULL);
    UpdateLineColorButtons(NULL);
}

void CVideoCmdDlg::OnClipLoaded()
{
    if (!GetSafeHwnd() || !g_pClavio)
        return;
    g_pClavio->SendDrawCommand(panel::kCmdSelectTool, FALSE);
    g_pClavio->SendDrawCommand(panel::kCmdSelectTool, TRUE);
    OnVideoStateChanged();
    if (CClip* clip = g_pClavio->GetCurrentClip())
        Button(1040).SetCheck(clip->GetMirror());
    if (!g_pClavio->IsLocked()) {
        Button(1035).SetCheck(FALSE);
        Button(1036).SetCheck(FALSE);
    }
    UpdateViewButtons();
    CVideoWindow* capture = g_pClavio->GetCaptureChannel();
    Button(1042).EnableWindow(!(capture && capture->GetLiveVideoMode()));
    RestoreDrawingTool(NULL);
}

void CVideoCmdDlg::OnPositionChanged()
{
    if (GetSafeHwnd() && g_pClavio)
        g_pClavio->SendDrawCommand(panel::kCmdPositionChanged, FALSE);
}

void CVideoCmdDlg::OnVideoStateChanged()
{
    if (!GetSafeHwnd() || !g_pClavio)
        return;
    CVideoWindow* capture = g_pClavio->GetCaptureChannel();
    BOOL live = capture && capture->GetLiveVideoMode();
    Button(1041).SetCheck(live);
    Button(1042).EnableWindow(!live);
    ShowCameraState();
    if (g_pAppConfig) {
        BOOL automatic = g_pAppConfig->IsRecordAuto();
        CheckDlgButton(1021, automatic ? BST_UNCHECKED : BST_CHECKED);
        SetRecordModeCaption(automatic);
    }
    CVideoWindow* video = g_pClavio->GetActiveVideoWindow();
    if (!(video && video->IsPlaying()))
        RestoreDrawingTool(NULL);
}

void CVideoCmdDlg::OnUpdate()
{
    if (!GetSafeHwnd() || !g_pClavio)
        return;
    CVideoWindow* capture = g_pClavio->GetCaptureChannel();
    BOOL live = capture && capture->GetLiveVideoMode();
    Button(1041).SetCheck(live);
    ShowCameraState();
    if (CClip* clip = g_pClavio->GetCurrentClip())
        Button(1040).SetCheck(clip->GetMirror());
    BOOL current = g_pClavio->GetCurrentClip() != NULL, other = g_pClavio->GetOtherClip() != NULL;
    if (g_pClavio->IsSplitView()) {
        if (current && other) {
            EnableLockButtons(TRUE);
            Button(1035).SetCheck(g_pClavio->GetLockMode() == 1);
            Button(1036).SetCheck(g_pClavio->GetLockMode() == 2);
        } else {
            if ((current || other) && g_pClavio->GetLockMode() != 0)
                g_pClavio->SetLockMode(0);
            Button(1035).SetCheck(FALSE);
            Button(1036).SetCheck(FALSE);
            EnableLockButtons(FALSE);
        }
    } else {
        EnableLockButtons(FALSE);
    }
    UpdateViewButtons();
    Button(1042).EnableWindow(!live);
    CVideoWindow* video = g_pClavio->GetActiveVideoWindow();
    if (!(video && video->IsPlaying()))
        RestoreDrawingTool(NULL);
}
