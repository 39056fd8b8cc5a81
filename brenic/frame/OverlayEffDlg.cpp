#include "OverlayEffDlg.h"
#include "AppConfig.h"
#include "Clavio.h"
#include "Globals.h"
#include "PanelRes.h"
#include "VideoWindow.h"

BEGIN_MESSAGE_MAP(COverlayEffDlg, CBaseDialog)
    ON_WM_HSCROLL()
    ON_BN_CLICKED(1247, OnBlend)
    ON_BN_CLICKED(1240, OnDefaultSettings)
END_MESSAGE_MAP()

COverlayEffDlg::COverlayEffDlg(CWnd* pParent)
    : CBaseDialog(IDD_BLEND_PAGE, pParent), m_nDefaultTrans(50)
{
}

COverlayEffDlg::~COverlayEffDlg()
{
}

void COverlayEffDlg::DoDataExchange(CDataExchange* pDX)
{
    CBaseDialog::DoDataExchange(pDX);
    DDX_Control(pDX, 1245, m_slider);
    DDX_Control(pDX, 1247, m_btnBlend);
}

BOOL COverlayEffDlg::OnInitDialog()
{
    CBaseDialog::OnInitDialog();
    SetBitmap("BACK5", tile);
    m_slider.SetRange(0, 100);
    m_nDefaultTrans = 50;
    m_slider.SetPos(m_nDefaultTrans);
    ShowTransparency();
    m_btnBlend.LoadBitmaps(319);
    m_btnBlend.SetDraw3DFrame(TRUE);
    m_btnBlend.SetDrawFocus(TRUE);
    m_btnBlend.SetCheckMode(TRUE);
    m_btnBlend.SetHighlight(TRUE);
    return TRUE;
}

void COverlayEffDlg::ShowTransparency()
{
    CString text;
    text.Format("%d", m_slider.GetPos());
    SetDlgItemText(1246, text);
    if (CWnd* label = GetDlgItem(1246)) {
        CRect rect;
        label->GetWindowRect(&rect);
        ScreenToClient(&rect);
        InvalidateRect(&rect, TRUE);
        UpdateWindow();
    }
}

void COverlayEffDlg::OnBlend()
{
    if (!g_pClavio)
        return;
    if (!m_btnBlend.GetCheck()) {
        g_pClavio->EnableBlendView(FALSE);
        g_pClavio->RedrawVideo();
        return;
    }
    if (!g_pClavio->IsSplitView()) {
        AfxMessageBox("Split View must be active to enable blending", MB_ICONINFORMATION);
        m_btnBlend.SetCheck(FALSE);
        return;
    }
    if (!g_pClavio->GetChannelClip(0) || !g_pClavio->GetChannelClip(1)) {
        AfxMessageBox("Must have clips loaded on both channels.", MB_ICONINFORMATION);
        m_btnBlend.SetCheck(FALSE);
        return;
    }
    // Locked at the positions they show, so the blended frame pairs what the coach sees.
    if (!g_pClavio->IsLocked())
        g_pClavio->SetLockMode(2);
    g_pClavio->SelectChannel(0);
    g_pClavio->SetSingleView();
    CWaitCursor wait;
    g_pClavio->EnableBlendView(TRUE);
    if (CVideoWindow* channel0 = g_pClavio->GetChannel0())
        channel0->SetBlendViewTrans(m_slider.GetPos());
    g_pClavio->BlendFrame();
    g_pClavio->RedrawVideo();
}

void COverlayEffDlg::ApplyTransparency()
{
    CVideoWindow* channel0 = g_pClavio ? g_pClavio->GetChannel0() : NULL;
    if (channel0)
        channel0->SetBlendViewTrans(m_slider.GetPos());
    ShowTransparency();
    if (channel0 && channel0->GetBlendViewEnable()) {
        g_pClavio->BlendFrame();
        g_pClavio->RedrawVideo();
    }
}

void COverlayEffDlg::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    ApplyTransparency();
    CBaseDialog::OnHScroll(nSBCode, nPos, pScrollBar);
}

void COverlayEffDlg::OnDefaultSettings()
{
    m_slider.SetPos(m_nDefaultTrans);
    ApplyTransparency();
}

// ---------------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CTVAdvSettDlg, CDialog)
    ON_WM_HSCROLL()
    ON_BN_CLICKED(1240, OnDefaultSettings)
END_MESSAGE_MAP()

CTVAdvSettDlg::CTVAdvSettDlg(CWnd* pParent)
    : CDialog(IDD_VISTREL_SETTINGS, pParent), m_nDefaultMix(10), m_nMix(10), m_nSkip(0),
      m_pParent(pParent), m_nStoredMix(10)
{
}

void CTVAdvSettDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, 1056, m_slider);
    DDX_Control(pDX, 1251, m_combo);
    DDX_Text(pDX, 1239, m_strMix);
}

BOOL CTVAdvSettDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow(m_pParent);
    if (g_pAppConfig) {
        m_nSkip = g_pAppConfig->GetSkipFields();
        m_nMix = g_pAppConfig->GetShadowMix();
    }
    m_nStoredMix = m_nMix;
    CString skip;
    skip.Format("%d", m_nSkip);
    m_combo.SetCurSel(m_combo.FindStringExact(-1, skip));
    m_slider.SetRange(0, 100);
    m_nDefaultMix = 10;
    m_slider.SetPos(m_nMix);
    m_strMix.Format("%d", m_slider.GetPos());
    UpdateData(FALSE);
    return TRUE;
}

void CTVAdvSettDlg::ApplyMix(int mix, BOOL onlyWhenEnabled)
{
    CVideoWindow* video = g_pClavio ? g_pClavio->GetActiveVideoWindow() : NULL;
    if (video && (!onlyWhenEnabled || video->GetShadowViewEnable()))
        video->SetShadowViewMix(mix);
}

void CTVAdvSettDlg::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    ApplyMix(m_slider.GetPos(), TRUE);
    m_strMix.Format("%d", m_slider.GetPos());
    UpdateData(FALSE);
    CDialog::OnHScroll(nSBCode, nPos, pScrollBar);
}

void CTVAdvSettDlg::OnDefaultSettings()
{
    m_nMix = m_nDefaultMix;
    m_slider.SetPos(m_nMix);
    ApplyMix(m_nMix, FALSE);
    m_combo.SetCurSel(0);
    m_nSkip = 0;
    m_strMix.Format("%d", m_slider.GetPos());
    UpdateData(FALSE);
}

void CTVAdvSettDlg::OnOK()
{
    m_nMix = m_slider.GetPos();
    // With no skip entry chosen the stored count stays.
    int entry = m_combo.GetCurSel();
    if (entry >= 0) {
        CString text;
        m_combo.GetLBText(entry, text);
        m_nSkip = atoi(text);
    }
    if (g_pAppConfig) {
        g_pAppConfig->SetShadowMix(m_nMix);
        g_pAppConfig->SetSkipFields(m_nSkip);
    }
    EndDialog(IDOK);
}

void CTVAdvSettDlg::OnCancel()
{
    // The control gets back the mix it had, whatever was dragged or defaulted meanwhile.
    ApplyMix(m_nStoredMix, FALSE);
    CDialog::OnCancel();
}
