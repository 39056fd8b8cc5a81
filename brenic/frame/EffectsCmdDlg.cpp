#include "EffectsCmdDlg.h"
#include "AppConfig.h"
#include "Clavio.h"
#include "Clip.h"
#include "GraphicsCmdDlg.h"
#include "Globals.h"
#include "ODCustomViewport.h"
#include "PanelActions.h"
#include "PaletteTools.h"
#include "PanelLogic.h"
#include "PanelRes.h"
#include "VideoWindow.h"

BEGIN_MESSAGE_MAP(CShadowEffDlg, CBaseDialog)
    ON_WM_SHOWWINDOW()
    ON_WM_DESTROY()
    ON_BN_CLICKED(1236, OnVistrel)
    ON_BN_CLICKED(1242, OnClubTracker)
    ON_BN_CLICKED(1237, OnClearTracker)
    ON_BN_CLICKED(1261, OnAdvancedSettings)
    ON_BN_CLICKED(1016, OnLoadSwing)
    ON_BN_CLICKED(1042, OnSnapshot)
    ON_CONTROL_RANGE(BN_CLICKED, 1095, 1099, OnTool)
    ON_BN_CLICKED(1137, OnArrowTool)
    ON_CONTROL_RANGE(BN_CLICKED, 1149, 1150, OnTool)
    ON_BN_CLICKED(1091, OnSelect)
    ON_BN_CLICKED(1077, OnPan)
    ON_BN_CLICKED(1136, OnRotateLeft)
    ON_BN_CLICKED(1093, OnClearGraphics)
    ON_BN_CLICKED(1094, OnUndo)
    ON_CONTROL_RANGE(BN_CLICKED, 1279, 1283, OnLineColor)
END_MESSAGE_MAP()

CShadowEffDlg::CShadowEffDlg(CWnd* pParent)
    : CBaseDialog(IDD_SHADOW_EFFECTS, pParent), m_nMix(10), m_nSkip(0), m_tools(this, FALSE)
{
}

CShadowEffDlg::~CShadowEffDlg()
{
    if (g_pClavio)
        g_pClavio->Unsubscribe(this);
}

void CShadowEffDlg::OnDestroy()
{
    if (g_pClavio)
        g_pClavio->Unsubscribe(this);
    CBaseDialog::OnDestroy();
}

void CShadowEffDlg::DoDataExchange(CDataExchange* pDX)
{
    CBaseDialog::DoDataExchange(pDX);
    DDX_Control(pDX, 1077, m_btnPan);
    DDX_Control(pDX, 1279, m_btnBlack);
    DDX_Control(pDX, 1282, m_btnBlue);
    DDX_Control(pDX, 1281, m_btnGreen);
    DDX_Control(pDX, 1280, m_btnRed);
    DDX_Control(pDX, 1283, m_btnYellow);
    DDX_Control(pDX, 1150, m_btnVLine);
    DDX_Control(pDX, 1149, m_btnFreehand);
    DDX_Control(pDX, 1096, m_btnMultiline);
    DDX_Control(pDX, 1261, m_btnAdvanced);
    DDX_Control(pDX, 1042, m_btnSnapshot);
    DDX_Control(pDX, 1136, m_btnRotateLeft);
    DDX_Control(pDX, 1099, m_btnProtractor);
    DDX_Control(pDX, 1137, m_btnArrow);
    DDX_Control(pDX, 1016, m_btnLoad);
    DDX_Control(pDX, 1093, m_btnClear);
    DDX_Control(pDX, 1091, m_btnSelect);
    DDX_Control(pDX, 1097, m_btnRect);
    DDX_Control(pDX, 1095, m_btnLine);
    DDX_Control(pDX, 1098, m_btnCircle);
    DDX_Control(pDX, 1242, m_btnClubTracker);
    DDX_Control(pDX, 1236, m_btnVistrel);
}

BOOL CShadowEffDlg::OnInitDialog()
{
    CBaseDialog::OnInitDialog();
    SetBitmap("BACK5", tile);
    if (g_pAppConfig) {
        m_nMix = g_pAppConfig->GetShadowMix();
        m_nSkip = g_pAppConfig->GetSkipFields();
    }
    struct Face {
        CBaseBmpButton* button;
        UINT bitmap;
        BOOL latching;
    } faces[] = {
        {&m_btnPan, 182, FALSE},       {&m_btnBlack, 341, TRUE},      {&m_btnBlue, 342, TRUE},
        {&m_btnGreen, 344, TRUE},      {&m_btnRed, 343, TRUE},        {&m_btnYellow, 345, TRUE},
        {&m_btnVLine, 348, TRUE},      {&m_btnFreehand, 347, TRUE},   {&m_btnMultiline, 229, TRUE},
        {&m_btnSnapshot, 279, FALSE},  {&m_btnRotateLeft, 262, FALSE}, {&m_btnProtractor, 281, TRUE},
        {&m_btnArrow, 263, TRUE},      {&m_btnLoad, 212, FALSE},      {&m_btnSelect, 220, FALSE},
        {&m_btnRect, 234, TRUE},       {&m_btnLine, 227, TRUE},       {&m_btnCircle, 232, TRUE},
        {&m_btnClubTracker, 320, TRUE}, {&m_btnVistrel, 318, TRUE},
    };
    for (const Face& f : faces) {
        f.button->LoadBitmaps(f.bitmap);
        f.button->SetDraw3DFrame(TRUE);
        f.button->SetDrawFocus(TRUE);
        f.button->SetCheckMode(f.latching);
    }
    m_btnClubTracker.SetHighlight(TRUE);
    m_btnVistrel.SetHighlight(TRUE);
    if (g_pClavio)
        g_pClavio->Subscribe(this, CObserverSvr::CLIP_LOADED | CObserverSvr::VIDEO_STATE_CHANGED);
    RestoreDrawingTool(NULL);
    m_tools.m_bReleased = 1;
    UpdateData(FALSE);
    return TRUE;
}

BOOL CShadowEffDlg::CanEnableVistrel()
{
    CVideoWindow* video = g_pClavio ? g_pClavio->GetActiveVideoWindow() : NULL;
    CClip* clip = g_pClavio ? g_pClavio->GetCurrentClip() : NULL;
    panel::VistrelRefusal refusal = panel::CanEnableVistrel(
        video && video->GetLiveVideoMode(), clip != NULL, clip ? clip->m_nFrames : 0,
        video ? video->GetFrameRate() : 0);
    if (refusal == panel::kVistrelAllowed)
        return TRUE;
    AfxMessageBox(panel::VistrelRefusalText(refusal), MB_ICONINFORMATION);
    return FALSE;
}

void CShadowEffDlg::OnVistrel()
{
    if (!g_pClavio)
        return;
    CVideoWindow* video = g_pClavio->GetActiveVideoWindow();
    if (m_btnVistrel.GetCheck()) {
        if (!CanEnableVistrel()) {
            m_btnVistrel.SetCheck(FALSE);
            return;
        }
        if (!g_pClavio->IsSingleView())
            g_pClavio->SetSingleView();
        CWaitCursor wait;
        g_pClavio->EnableShadowView();
        if ((video = g_pClavio->GetActiveVideoWindow()) != NULL)
            video->SetShadowViewMix(m_nMix);
        g_pClavio->RedrawVideo();
        g_pClavio->NotifyVideoStateChanged();
    } else {
        if (m_btnClubTracker.GetCheck()) {
            g_pClavio->SetContinuousBlend(FALSE);
            m_btnClubTracker.SetCheck(FALSE);
        }
        if (video)
            video->SetShadowViewEnable(FALSE);
        g_pClavio->SetSingleView();
    }
    RestoreDrawingTool(NULL);
}

void CShadowEffDlg::OnClubTracker()
{
    if (!g_pClavio)
        return;
    if (!g_pClavio->IsShadowViewEnabled()) {
        AfxMessageBox("Vistrel is not enabled", MB_ICONINFORMATION);
        m_btnClubTracker.SetCheck(FALSE);
    } else if (m_btnClubTracker.GetCheck()) {
        g_pClavio->SetContinuousBlend(TRUE);
        g_pClavio->SetSkipFields((short)m_nSkip);
    } else {
        g_pClavio->SetContinuousBlend(FALSE);
    }
    RestoreDrawingTool(NULL);
}

void CShadowEffDlg::OnClearTracker()
{
    if (CVideoWindow* video = g_pClavio ? g_pClavio->GetActiveVideoWindow() : NULL)
        video->ClearShadowView();
    RestoreDrawingTool(NULL);
}

void CShadowEffDlg::OnAdvancedSettings()
{
    CTVAdvSettDlg dlg(this);
    if (dlg.DoModal() == IDOK) {
        m_nSkip = dlg.m_nSkip;
        m_nMix = dlg.m_nMix;
        if (CVideoWindow* video = g_pClavio ? g_pClavio->GetActiveVideoWindow() : NULL)
            video->SetShadowViewMix(m_nMix);
        if (g_pClavio)
            g_pClavio->SetSkipFields((short)m_nSkip);
    }
    RestoreDrawingTool(NULL);
}

void CShadowEffDlg::OnLoadSwing()
{
    panel::ShowDatabaseClipsPage();
    RestoreDrawingTool(NULL);
}

void CShadowEffDlg::OnSnapshot()
{
    if (g_pClavio)
        g_pClavio->SaveSnapshot();
    RestoreDrawingTool(NULL);
}

void CShadowEffDlg::OnSelect()
{
    ReleaseDrawingTools();
    if (m_tools.m_pGraphicsDlg)
        m_tools.m_pGraphicsDlg->OnSelectObject();
}

void CShadowEffDlg::OnPan()
{
    ReleaseDrawingTools();
    if (m_tools.m_pGraphicsDlg)
        m_tools.m_pGraphicsDlg->OnPanVideo();
}

void CShadowEffDlg::OnRotateLeft()
{
    if (m_tools.m_pGraphicsDlg)
        m_tools.m_pGraphicsDlg->OnRotateLeft();
    RestoreDrawingTool(NULL);
}

void CShadowEffDlg::OnClearGraphics()
{
    if (m_tools.m_pGraphicsDlg)
        m_tools.m_pGraphicsDlg->OnClearGraphics();
    RestoreDrawingTool(NULL);
}

void CShadowEffDlg::OnUndo()
{
    m_tools.EnableGraphics();
    if (g_pClavio)
        g_pClavio->SendDrawCommand(panel::kCmdUndo, FALSE);
    RestoreDrawingTool(NULL);
}

void CShadowEffDlg::OnTool(UINT id)
{
    m_tools.OnToolButton(id);
}

void CShadowEffDlg::OnLineColor(UINT id)
{
    m_tools.OnColourButton(id);
}

void CShadowEffDlg::RefreshModeButtons(BOOL liveOfActive)
{
    m_btnClubTracker.SetCheck(g_pClavio->IsContinuousBlend());
    m_btnVistrel.SetCheck(g_pClavio->IsShadowViewEnabled());
    m_btnSnapshot.EnableWindow(!liveOfActive);
}

void CShadowEffDlg::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CBaseDialog::OnShowWindow(bShow, nStatus);
    if (!bShow || !g_pClavio)
        return;
    m_btnVistrel.SetCheck(g_pClavio->IsShadowViewEnabled());
    m_btnClubTracker.SetCheck(g_pClavio->IsShadowViewEnabled() && g_pClavio->IsContinuousBlend());
    CVideoWindow* capture = g_pClavio->GetCaptureChannel();
    m_btnSnapshot.EnableWindow(!(capture && capture->GetLiveVideoMode()));
    m_tools.m_bReleased = 0;
    RestoreDrawingTool(NULL);
}

void CShadowEffDlg::OnClipLoaded()
{
    if (!GetSafeHwnd() || !g_pClavio)
        return;
    if (g_pClavio->IsShadowViewEnabled()) {
        if (m_btnClubTracker.GetCheck())
            g_pClavio->SetContinuousBlend(FALSE);
        g_pClavio->StopEffects();
    }
    CVideoWindow* video = g_pClavio->GetActiveVideoWindow();
    RefreshModeButtons(video && video->GetLiveVideoMode());
    RestoreDrawingTool(NULL);
}

void CShadowEffDlg::OnVideoStateChanged()
{
    if (!GetSafeHwnd() || !g_pClavio)
        return;
    CVideoWindow* video = g_pClavio->GetActiveVideoWindow();
    RefreshModeButtons(video && video->GetLiveVideoMode());
    if (!(video && video->IsPlaying()))
        RestoreDrawingTool(NULL);
}

// ---------------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CEffectsCmdDlg, CBaseDialog)
    ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

CEffectsCmdDlg::CEffectsCmdDlg(CWnd* pParent) : CBaseDialog(IDD_EFFECTS_PAGE, pParent)
{
}

CEffectsCmdDlg::~CEffectsCmdDlg()
{
}

BOOL CEffectsCmdDlg::OnInitDialog()
{
    CBaseDialog::OnInitDialog();
    SetBitmap("BACK5", tile);
    m_shadow.Create(this);
    m_blend.Create(this);
    m_shadow.SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_blend.SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_shadow.ShowWindow(SW_SHOW);
    m_blend.ShowWindow(SW_HIDE);
    return TRUE;
}

void CEffectsCmdDlg::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CBaseDialog::OnShowWindow(bShow, nStatus);
    if (bShow) {
        if (m_blend.GetSafeHwnd())
            m_blend.ShowWindow(SW_HIDE);
        if (m_shadow.GetSafeHwnd())
            m_shadow.ShowWindow(SW_SHOW);
    } else if (m_shadow.GetSafeHwnd()) {
        m_shadow.ShowWindow(SW_HIDE);
    }
}
