#include "ToolsSheet.h"
#include "AppConfig.h"
#include "Clavio.h"
#include "Globals.h"
#include "OptionFigures.h"
#include "VideoWindow.h"
#include "options_res.h"

namespace {

void SetNumber(CWnd* page, int id, int value)
{
    CString text;
    text.Format("%d", value);
    page->SetDlgItemText(id, text);
}

void EnableItems(CWnd* page, std::initializer_list<int> ids, BOOL enable)
{
    for (int id : ids)
        if (CWnd* item = page->GetDlgItem(id))
            item->EnableWindow(enable);
}

CVideoWindow* CaptureChannel()
{
    return g_pClavio ? g_pClavio->GetCaptureChannel() : NULL;
}

CVideoWindow* ActiveChannel()
{
    return g_pClavio ? g_pClavio->GetActiveVideoWindow() : NULL;
}

} // namespace

// ---------------------------------------------------------------------------------------
// General page

IMPLEMENT_DYNCREATE(CToolsGenPropPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CToolsGenPropPage, CPropertyPage)
    ON_BN_CLICKED(1059, OnCheckChanged)
    ON_BN_CLICKED(1151, OnCheckChanged)
    ON_BN_CLICKED(1163, OnCheckChanged)
    ON_BN_CLICKED(1164, OnCheckChanged)
    ON_BN_CLICKED(1257, OnCheckChanged)
    ON_WM_HSCROLL()
END_MESSAGE_MAP()

CToolsGenPropPage::CToolsGenPropPage()
    : CPropertyPage(IDD_TOOLS_GENERAL), m_bAutoRewind(0), m_bFrameCount(0),
      m_bImpactTabRelative(0), m_bNagEnable(0), m_bFileAssoc(0)
{
}

void CToolsGenPropPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, 1120, m_lessonTimer);
    DDX_Control(pDX, 1121, m_lessonExtend);
    DDX_Check(pDX, 1059, m_bAutoRewind);
    DDX_Check(pDX, 1151, m_bFrameCount);
    DDX_Check(pDX, 1163, m_bImpactTabRelative);
    DDX_Check(pDX, 1164, m_bNagEnable);
    DDX_Check(pDX, 1257, m_bFileAssoc);
}

BOOL CToolsGenPropPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    CAppConfig* config = g_pAppConfig;
    // Opening the options turns the newcomers' messages and the impact-tab rule off.
    config->SetNagEnable(0);
    config->SetImpactTabRelative(0);
    m_bAutoRewind = config->GetAutoRewind() ? 1 : 0;
    m_bFrameCount = config->GetVideoFrameCount() ? 1 : 0;
    m_bNagEnable = config->GetNagEnable() ? 1 : 0;
    m_bImpactTabRelative = config->GetImpactTabRelative() ? 1 : 0;
    m_bFileAssoc = (BYTE)config->IsFileAssociated() ? 1 : 0;

    m_lessonTimer.SetRange(1, 120);
    m_lessonExtend.SetRange(1, 30);
    m_lessonTimer.SetPos(config->GetLessonDuration());
    m_lessonExtend.SetPos(config->GetLessonExtend());
    SetNumber(this, 1155, config->GetLessonDuration());
    SetNumber(this, 1031, config->GetLessonExtend());
    // The lesson timers are not offered: greyed, without values.
    m_lessonTimer.SetPos(1);
    m_lessonExtend.SetPos(1);
    SetDlgItemText(1155, " ");
    SetDlgItemText(1031, " ");
    EnableItems(this, {1163, 1164, 1120, 1121, 1155, 1031, 1197, 1198, 1199, 1200}, FALSE);
    UpdateData(FALSE);
    return TRUE;
}

void CToolsGenPropPage::OnCheckChanged()
{
    SetModified(TRUE);
}

void CToolsGenPropPage::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    CWnd* slider = (CWnd*)pScrollBar;
    if (slider && slider->GetSafeHwnd() == m_lessonTimer.GetSafeHwnd()) {
        if (m_lessonTimer.GetPos() != g_pAppConfig->GetLessonDuration())
            SetModified(TRUE);
        SetNumber(this, 1155, m_lessonTimer.GetPos());
    } else if (slider && slider->GetSafeHwnd() == m_lessonExtend.GetSafeHwnd()) {
        if (m_lessonExtend.GetPos() != g_pAppConfig->GetLessonExtend())
            SetModified(TRUE);
        SetNumber(this, 1031, m_lessonExtend.GetPos());
    }
    CPropertyPage::OnHScroll(nSBCode, nPos, pScrollBar);
}

void CToolsGenPropPage::OnOK()
{
    UpdateData(TRUE);
    CAppConfig* config = g_pAppConfig;
    config->SetAutoRewind(m_bAutoRewind);
    config->SetVideoFrameCount(m_bFrameCount);
    config->SetNagEnable(m_bNagEnable);
    config->SetImpactTabRelative(m_bImpactTabRelative);
    config->SetFileAssociation(m_bFileAssoc);
    CPropertyPage::OnOK();
}

// ---------------------------------------------------------------------------------------
// Recording page

IMPLEMENT_DYNCREATE(CToolsRecPropPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CToolsRecPropPage, CPropertyPage)
    ON_WM_HSCROLL()
    ON_BN_CLICKED(1121, OnShowFrames)
END_MESSAGE_MAP()

CToolsRecPropPage::CToolsRecPropPage()
    : CPropertyPage(IDD_TOOLS_RECORDING), m_nPostFrames(0), m_nPreFrames(0), m_bShowFrames(0)
{
}

void CToolsRecPropPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, 1058, m_beforeImpact);
    DDX_Control(pDX, 1059, m_afterImpact);
    DDX_Control(pDX, 1057, m_replays);
    DDX_Control(pDX, 1125, m_cueHold);
    DDX_Check(pDX, 1121, m_bShowFrames);
}

BOOL CToolsRecPropPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    CAppConfig* config = g_pAppConfig;
    m_cueHold.SetRange(0, 60);
    m_cueHold.SetPos(config->GetCueHoldDelay());
    SetNumber(this, 1126, config->GetCueHoldDelay());
    m_replays.SetRange(1, 10);
    m_replays.SetPos(config->GetAutoRepeatReplay());
    SetNumber(this, 1127, config->GetAutoRepeatReplay());

    m_beforeImpact.SetRange(10, 120);
    m_afterImpact.SetRange(10, 120);
    // Stored counts outside the sliders' rule are shown as the rule allows.
    m_nPreFrames = config->GetPreTrigFrames();
    m_nPostFrames = config->GetPostTrigFrames();
    options::BalanceTrigFrames(m_nPreFrames, m_nPostFrames);
    m_beforeImpact.SetPos(m_nPreFrames);
    m_afterImpact.SetPos(m_nPostFrames);
    m_bShowFrames = 0;

    // Cue/hold and auto-repeat are not offered.
    m_cueHold.SetPos(0);
    SetDlgItemText(1126, " ");
    m_replays.SetPos(0);
    SetDlgItemText(1127, " ");
    EnableItems(this, {1125, 1126, 1201, 1202, 1057, 1127, 1203, 1204}, FALSE);
    UpdateData(FALSE);
    UpdateTimeLabels();
    return TRUE;
}

void CToolsRecPropPage::UpdateTimeLabels()
{
    const int total = m_nPreFrames + m_nPostFrames + 1; // the trigger frame counts once
    CString text;
    if (m_bShowFrames) {
        SetNumber(this, 1034, total);
        SetNumber(this, 1032, m_nPreFrames);
        SetNumber(this, 1033, m_nPostFrames);
        for (int id : {1130, 1128, 1129})
            SetDlgItemText(id, "Frames");
        return;
    }
    CVideoWindow* active = ActiveChannel();
    const double rate = options::LabelFrameRate(active ? active->GetFrameRate() : 0.0);
    const struct { int id; int frames; } labels[] = {
        {1034, total}, {1032, m_nPreFrames}, {1033, m_nPostFrames}};
    for (const auto& label : labels) {
        text.Format("%5.2f", label.frames / rate);
        SetDlgItemText(label.id, text);
    }
    for (int id : {1130, 1128, 1129})
        SetDlgItemText(id, "Seconds");
}

void CToolsRecPropPage::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    CAppConfig* config = g_pAppConfig;
    const HWND slider = pScrollBar ? pScrollBar->GetSafeHwnd() : NULL;
    if (slider == m_cueHold.GetSafeHwnd()) {
        if (m_cueHold.GetPos() != config->GetCueHoldDelay())
            SetModified(TRUE);
        SetNumber(this, 1126, m_cueHold.GetPos());
    } else if (slider == m_replays.GetSafeHwnd()) {
        if (m_replays.GetPos() != config->GetAutoRepeatReplay())
            SetModified(TRUE);
        SetNumber(this, 1127, m_replays.GetPos());
    } else if (slider == m_beforeImpact.GetSafeHwnd() ||
               slider == m_afterImpact.GetSafeHwnd()) {
        // Each count stays within 10 to 110 and both together within 120: the slider just
        // moved is held back first, the other gives way.
        const BOOL before = slider == m_beforeImpact.GetSafeHwnd();
        CSliderCtrl& moved = before ? m_beforeImpact : m_afterImpact;
        CSliderCtrl& other = before ? m_afterImpact : m_beforeImpact;
        int& movedCount = before ? m_nPreFrames : m_nPostFrames;
        int& otherCount = before ? m_nPostFrames : m_nPreFrames;
        movedCount = moved.GetPos();
        options::BalanceTrigFrames(movedCount, otherCount);
        if (moved.GetPos() != movedCount)
            moved.SetPos(movedCount);
        if (other.GetPos() != otherCount)
            other.SetPos(otherCount);
        if (m_nPreFrames != config->GetPreTrigFrames() ||
            m_nPostFrames != config->GetPostTrigFrames())
            SetModified(TRUE);
        UpdateTimeLabels();
    }
    CPropertyPage::OnHScroll(nSBCode, nPos, pScrollBar);
}

void CToolsRecPropPage::OnShowFrames()
{
    UpdateData(TRUE);
    UpdateTimeLabels();
}

void CToolsRecPropPage::OnOK()
{
    g_pAppConfig->SetPreTrigFrames(m_beforeImpact.GetPos());
    g_pAppConfig->SetPostTrigFrames(m_afterImpact.GetPos());
    CPropertyPage::OnOK();
}

// ---------------------------------------------------------------------------------------
// Video page

IMPLEMENT_DYNCREATE(CToolsVideoPropPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CToolsVideoPropPage, CPropertyPage)
    ON_WM_HSCROLL()
    ON_BN_CLICKED(1004, OnVideoSource)
    ON_BN_CLICKED(1005, OnVideoFormat)
    ON_BN_CLICKED(1006, OnVideoDisplay)
    ON_CBN_SELCHANGE(1235, OnDriverChanged)
END_MESSAGE_MAP()

CToolsVideoPropPage::CToolsVideoPropPage() : CPropertyPage(IDD_TOOLS_VIDEO) {}

void CToolsVideoPropPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, 1235, m_drivers);
    DDX_Control(pDX, 1166, m_speed);
}

BOOL CToolsVideoPropPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    const float speed = g_pAppConfig->GetPlaySpeed();
    m_speed.SetRange(0, 99);
    m_speed.SetPos(options::SpeedSliderPosition(speed));
    SetNumber(this, 1167, options::SpeedPercent(speed));

    m_drivers.ResetContent();
    CVideoWindow* capture = CaptureChannel();
    if (capture) {
        SetDlgItemText(1188, capture->GetDriverName());
        SetDlgItemText(1189, capture->GetDriverDescription());
        CString dropped;
        dropped.Format("Last capture dropped %d out of %d frames", (int)capture->GetDroppedFrames(),
                       (int)capture->GetCapturedFrames());
        SetDlgItemText(1190, dropped);

        const CString stored = g_pAppConfig->GetCaptureDriverName();
        const short count = capture->GetCaptureDriverCount();
        int selection = CB_ERR;
        for (short i = 0; i < count; ++i) {
            const CString name = capture->GetCaptureDriverName(i);
            const int index = m_drivers.AddString(name);
            if (selection == CB_ERR && name == stored)
                selection = index;
        }
        // A stored driver that is no longer there gives way to the first one.
        if (selection == CB_ERR && count > 0) {
            selection = 0;
            g_pAppConfig->SetCaptureDriverName(capture->GetCaptureDriverName(0));
        }
        m_drivers.SetCurSel(selection);
    }
    return TRUE;
}

void CToolsVideoPropPage::ShowCaptureDialog(BOOL (CVideoWindow::*show)())
{
    CVideoWindow* capture = CaptureChannel();
    if (!capture)
        return;
    CWnd* sheet = GetParent();
    if (sheet)
        sheet->EnableWindow(FALSE);
    (capture->*show)();
    if (sheet)
        sheet->EnableWindow(TRUE);
}

void CToolsVideoPropPage::OnVideoSource()
{
    ShowCaptureDialog(&CVideoWindow::ShowSourceDlg);
}

void CToolsVideoPropPage::OnVideoFormat()
{
    ShowCaptureDialog(&CVideoWindow::ShowFormatDlg);
}

void CToolsVideoPropPage::OnVideoDisplay()
{
    ShowCaptureDialog(&CVideoWindow::ShowDisplayDlg);
}

void CToolsVideoPropPage::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (pScrollBar && pScrollBar->GetSafeHwnd() == m_speed.GetSafeHwnd()) {
        const int percent = 100 - m_speed.GetPos();
        if (percent != options::SpeedPercent(g_pAppConfig->GetPlaySpeed()))
            SetModified(TRUE);
        SetNumber(this, 1167, percent);
    }
    CPropertyPage::OnHScroll(nSBCode, nPos, pScrollBar);
}

void CToolsVideoPropPage::OnDriverChanged()
{
    const int selection = m_drivers.GetCurSel();
    if (selection == CB_ERR)
        return;
    CString name;
    m_drivers.GetLBText(selection, name);
    // The choice counts at once, OK or not.
    g_pAppConfig->SetCaptureDriverName(name);
    if (CVideoWindow* active = ActiveChannel())
        active->SetCaptureDriverName(name);
}

void CToolsVideoPropPage::OnOK()
{
    g_pAppConfig->SetPlaySpeed((float)(100 - m_speed.GetPos()) / 100.0f);
    CPropertyPage::OnOK();
}

// ---------------------------------------------------------------------------------------
// Sheet

IMPLEMENT_DYNAMIC(CToolsSheet, CPropertySheet)

BEGIN_MESSAGE_MAP(CToolsSheet, CPropertySheet)
END_MESSAGE_MAP()

CToolsSheet::CToolsSheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(nIDCaption, pParentWnd, iSelectPage)
{
}

CToolsSheet::CToolsSheet(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(pszCaption, pParentWnd, iSelectPage)
{
}

CToolsSheet::~CToolsSheet() {}

void CToolsSheet::AddPages()
{
    AddPage(&m_genPage);
    AddPage(&m_recPage);
    AddPage(&m_videoPage);
}
