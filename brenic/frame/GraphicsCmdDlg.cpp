#include "GraphicsCmdDlg.h"
#include "PanelActions.h"
#include "AppConfig.h"
#include "Clavio.h"
#include "Clip.h"
#include "DatabaseSheet.h"
#include "Globals.h"
#include "ODCustomViewport.h"
#include "VideoWindow.h"

namespace {

struct ButtonSpec
{
    UINT id;
    UINT image;    // 0: a plain button
    UINT pressed;
    bool check;
};

// The page's buttons in the order of m_buttons.
const ButtonSpec kButtons[27] = {
    {1091, 220, 0, false}, {1092, 224, 225, true}, {1094, 221, 0, false}, {1095, 227, 0, true},
    {1096, 229, 0, true},  {1150, 348, 0, true},   {1137, 263, 0, true},  {1231, 281, 0, true},
    {1149, 347, 0, true},  {1097, 234, 0, true},   {1098, 232, 0, true},  {1100, 246, 0, false},
    {1102, 247, 0, false}, {1103, 261, 0, false},  {1136, 262, 0, false}, {1077, 182, 0, false},
    {1078, 177, 0, false}, {1079, 185, 0, false},  {1034, 265, 0, false}, {1148, 264, 0, false},
    {1015, 190, 0, false}, {1016, 212, 0, false},  {1279, 341, 0, true},  {1280, 343, 0, true},
    {1281, 344, 0, true},  {1282, 342, 0, true},   {1283, 345, 0, true},
};

// Tool buttons by drawing-tool index 0 to 7 and their commands.
const UINT kToolButtons[8] = {1095, 1096, 1150, 1137, 1231, 1149, 1097, 1098};
const UINT kToolCommands[8] = {32831, 32830, 32845, 32799, 32825, 32846, 44524, 44516};
const UINT kColorButtons[5] = {1279, 1280, 1281, 1282, 1283};
const COLORREF kColors[5] = {0x000000, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF};

CVideoWindow* ActiveVideo()
{
    return g_pClavio ? g_pClavio->GetActiveVideoWindow() : NULL;
}

BOOL IsLive(CVideoWindow* v) { return v && v->GetSafeHwnd(); }

}  // namespace

BEGIN_MESSAGE_MAP(CGraphicsCmdDlg, CBaseDialog)
    ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

CGraphicsCmdDlg::CGraphicsCmdDlg(CWnd* pParent) : CBaseDialog(IDD, pParent), m_bToolsReset(TRUE)
{
}

CGraphicsCmdDlg::~CGraphicsCmdDlg()
{
    if (g_pClavio)
        g_pClavio->Unsubscribe(this);
}

CBaseBmpButton* CGraphicsCmdDlg::GetButton(UINT id)
{
    for (int i = 0; i < 27; ++i)
        if (kButtons[i].id == id)
            return &m_buttons[i];
    return NULL;
}

void CGraphicsCmdDlg::DoDataExchange(CDataExchange* pDX)
{
    CBaseDialog::DoDataExchange(pDX);
    for (int i = 0; i < 27; ++i)
        if (GetDlgItem(kButtons[i].id) && !m_buttons[i].m_hWnd)
            DDX_Control(pDX, kButtons[i].id, m_buttons[i]);
}

BOOL CGraphicsCmdDlg::OnInitDialog()
{
    CBaseDialog::OnInitDialog();
    SetBitmap("BACK5", tile);
    for (int i = 0; i < 27; ++i) {
        CBaseBmpButton& b = m_buttons[i];
        b.LoadBitmaps(kButtons[i].image, kButtons[i].pressed);
        b.SetCheckMode(kButtons[i].check);
        b.SetDraw3DFrame(TRUE);
        b.SetDrawFocus(TRUE);
    }
    GetButton(1092)->SetHighlight(TRUE);
    m_spare.LoadBitmaps(250);
    ReselectTool(NULL);
    UpdateColorButtons(NULL);
    if (g_pClavio)
        g_pClavio->Subscribe(this, CObserverSvr::CLIP_LOADED | CObserverSvr::POSITION_CHANGED |
                                       CObserverSvr::UPDATE);
    m_bToolsReset = TRUE;
    return TRUE;
}

LRESULT CGraphicsCmdDlg::Send(UINT command)
{
    return g_pClavio ? g_pClavio->SendDrawCommand(command, FALSE) : 0;
}

void CGraphicsCmdDlg::ResetTools()
{
    Send(32832);
    if (m_bToolsReset)
        return;
    for (UINT id : kToolButtons)
        GetButton(id)->SetCheck(FALSE);
    GetButton(1094)->SetCheck(FALSE);
    m_bToolsReset = TRUE;
    if (g_pAppConfig)
        g_pAppConfig->SetDrawingTool(-1);
}

void CGraphicsCmdDlg::EnableGraphics(BOOL enable)
{
    if (g_pClavio)
        g_pClavio->ShowGraphics(enable, -1, FALSE);
    CVideoWindow* video = ActiveVideo();
    GetButton(1092)->SetCheck(IsLive(video) && video->GetOverlayEnable());
}

void CGraphicsCmdDlg::GraphicsOn()
{
    EnableGraphics(TRUE);
}

void CGraphicsCmdDlg::Refresh()
{
    CVideoWindow* video = ActiveVideo();
    if (IsLive(video) && !video->GetOverlayEnable()) {
        video->SetOverlayChanged(TRUE);
        video->Invalidate(FALSE);
    }
}

void CGraphicsCmdDlg::ReselectTool(CBaseBmpButton* pressed)
{
    CVideoWindow* video = ActiveVideo();
    if (!pressed && IsLive(video) && video->IsPlaying())
        return;
    Send(32832);
    for (UINT id : kToolButtons)
        if (GetButton(id) != pressed)
            GetButton(id)->SetCheck(FALSE);
    m_bToolsReset = FALSE;
    if (pressed) {
        if (g_pClavio)
            g_pClavio->FinishDrawing();
        return;
    }
    const int tool = g_pAppConfig ? g_pAppConfig->GetDrawingTool() : -1;
    if (tool < 0 || tool > 7)
        return;
    GraphicsOn();
    GetButton(kToolButtons[tool])->SetCheck(TRUE);
    Send(kToolCommands[tool]);
}

void CGraphicsCmdDlg::OnToolButton(UINT id)
{
    int tool = 0;
    while (tool < 8 && kToolButtons[tool] != id)
        ++tool;
    CBaseBmpButton* button = GetButton(id);
    if (tool == 8 || !button)
        return;
    if (button->GetCheck()) {
        ReselectTool(button);
        GraphicsOn();
        Send(kToolCommands[tool]);
        if (g_pAppConfig)
            g_pAppConfig->SetDrawingTool(tool);
    } else {
        ResetTools();
    }
}

void CGraphicsCmdDlg::UpdateColorButtons(CBaseBmpButton* pressed)
{
    for (UINT id : kColorButtons)
        if (GetButton(id) != pressed)
            GetButton(id)->SetCheck(FALSE);
    if (!pressed && g_pAppConfig && g_pAppConfig->GetLineColor() == 0)
        GetButton(1279)->SetCheck(TRUE);
}

void CGraphicsCmdDlg::OnColorButton(UINT id)
{
    for (int i = 0; i < 5; ++i) {
        if (kColorButtons[i] != id)
            continue;
        if (g_pClavio) {
            if (CODCustomViewport* v = g_pClavio->GetCurrentViewport())
                v->SetLineColor(kColors[i]);
            if (CODCustomViewport* v = g_pClavio->GetOtherViewport())
                v->SetLineColor(kColors[i]);
        }
        if (g_pAppConfig)
            g_pAppConfig->SetLineColor(kColors[i]);
        UpdateColorButtons(GetButton(id));
        ReselectTool(NULL);
    }
}

void CGraphicsCmdDlg::OnDrawingProperties()
{
    ResetTools();
    if (g_pClavio)
        panel::EditDefaultDrawingProperties(g_pClavio->GetCurrentViewport(),
                                            g_pClavio->GetOtherViewport());
    UpdateColorButtons(NULL);
}

void CGraphicsCmdDlg::OnToggleGraphics()
{
    ResetTools();
    CBaseBmpButton* button = GetButton(1092);
    if (g_pClavio)
        g_pClavio->ShowGraphics(button->GetCheck(), -1, TRUE);
    CVideoWindow* video = ActiveVideo();
    if (!(IsLive(video) && video->GetOverlayEnable()))
        button->SetCheck(FALSE);
}

// The operations the other palette pages call: each page releases and restores its own
// tool buttons around them; this page's buttons do so in OnCommand.
void CGraphicsCmdDlg::OnSelectObject()
{
    Send(44525);
}

void CGraphicsCmdDlg::OnPanVideo()
{
    GraphicsOn();
    Send(44545);
}

void CGraphicsCmdDlg::OnRotateLeft()
{
    GraphicsOn();
    Send(44547);
}

void CGraphicsCmdDlg::OnClearGraphics()
{
    GraphicsOn();
    Send(32798);
}

BOOL CGraphicsCmdDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    if (HIWORD(wParam) != BN_CLICKED)
        return CBaseDialog::OnCommand(wParam, lParam);
    switch (id) {
    case 1091: ResetTools(); OnSelectObject(); break;
    case 1092: OnToggleGraphics(); break;
    case 1094: ResetTools(); GraphicsOn(); Send(44526); break;
    case 1095: case 1096: case 1150: case 1137: case 1231: case 1149: case 1097: case 1098:
        OnToolButton(id);
        break;
    case 1100:
        if (g_pClavio)
            g_pClavio->FinishDrawing();
        ResetTools();
        GraphicsOn();
        Send(44517);
        break;
    case 1102: GraphicsOn(); Send(44532); ReselectTool(NULL); break;
    case 1103: GraphicsOn(); Send(44548); ReselectTool(NULL); break;
    case 1136: OnRotateLeft(); ReselectTool(NULL); break;
    case 32794: GraphicsOn(); Send(57643); ReselectTool(NULL); break;
    case 32795: GraphicsOn(); Send(57644); ReselectTool(NULL); break;
    case 1077: ResetTools(); OnPanVideo(); break;
    case 1078: ResetTools(); Send(32796); Refresh(); break;
    case 1079: ResetTools(); Send(32797); Refresh(); break;
    case 1034:
        ResetTools();
        Send(44554);
        if (g_pClavio)
            if (CODCustomViewport* v = g_pClavio->GetCurrentViewport()) {
                v->ScrollBy(-608, -456);
                v->ScrollBy(152, 0);
            }
        Refresh();
        break;
    case 1148: ResetTools(); GraphicsOn(); Send(44553); break;
    case 1015:
        if (g_pClavio)
            if (CClip* clip = g_pClavio->GetCurrentClip())
                clip->Save();
        ReselectTool(NULL);
        break;
    case 1016:
        if (g_pAppConfig && g_pAppConfig->ConnectDatabase() && g_pDatabaseSheet)
            g_pDatabaseSheet->ShowModal(1);
        ReselectTool(NULL);
        break;
    case 1093: OnClearGraphics(); ReselectTool(NULL); break;
    case 1139: OnDrawingProperties(); break;
    case 1279: case 1280: case 1281: case 1282: case 1283: OnColorButton(id); break;
    case 1101: Send(44529); break;
    case 1104: ResetTools(); Send(44550); break;
    case 1081: break;
    default: return CBaseDialog::OnCommand(wParam, lParam);
    }
    return TRUE;
}

void CGraphicsCmdDlg::OnClipLoaded()
{
    if (!g_pClavio)
        return;
    g_pClavio->SendDrawCommand(44525, FALSE);
    g_pClavio->SendDrawCommand(44525, TRUE);
    g_pClavio->ShowGraphics(TRUE, -1, FALSE);
    CClip* clip = g_pClavio->GetCurrentClip();
    GetButton(1092)->SetCheck(clip && clip->GetShowGraphics());
    ReselectTool(NULL);
}

void CGraphicsCmdDlg::OnUpdate()
{
    CVideoWindow* video = ActiveVideo();
    if (IsLive(video) && video->IsPlaying())
        return;
    GetButton(1092)->SetCheck(IsLive(video) && video->GetOverlayEnable());
    ReselectTool(NULL);
}

void CGraphicsCmdDlg::OnShowWindow(BOOL show, UINT status)
{
    CBaseDialog::OnShowWindow(show, status);
    if (show) {
        m_bToolsReset = FALSE;
        ReselectTool(NULL);
        UpdateColorButtons(NULL);
    }
}
