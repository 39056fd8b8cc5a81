// The skinned panel's drawing tools, menu buttons and default drawing properties.
#include "ConsumerBkgDlg.h"
#include "AppConfig.h"
#include "Clavio.h"
#include "Globals.h"
#include "PanelActions.h"
#include "VideoWindow.h"

namespace {

// The latching tool buttons: the command a click sends and the tool it stores.
struct ToolButton {
    int button;
    UINT command;
    int tool;
};
const ToolButton kClickTools[] = {
    {CConsumerBkgDlg::DrawLine, 44518, 0},    {CConsumerBkgDlg::DrawMultiline, 32830, 1},
    {CConsumerBkgDlg::DrawEllipse, 44516, 7}, {CConsumerBkgDlg::DrawRect, 44524, 6},
    {CConsumerBkgDlg::DrawArrow, 32799, 3},
};
// What a restore arms again for a stored tool.
const ToolButton kRestoreTools[] = {
    {CConsumerBkgDlg::DrawLine, 32831, 0},    {CConsumerBkgDlg::DrawMultiline, 32830, 1},
    {CConsumerBkgDlg::DrawArrow, 32799, 3},   {CConsumerBkgDlg::DrawRect, 44524, 6},
    {CConsumerBkgDlg::DrawEllipse, 44516, 7},
};

struct MenuItem {
    const char* text; // NULL: separator
    UINT command;
};
const MenuItem kFileMenu[] = {
    {"&Open...", 32779},         {"&Save...", 32810},          {NULL, 0},
    {"&Print...", 57607},        {"Print Pre&view...", 57609}, {"Print &Setup...", 57606},
    {NULL, 0},                   {"E&xit", 57665},
};
const MenuItem kToolsMenu[] = {
    {"&Options...", 32776},
    {"Drawing &Properities...", 32826},
    {NULL, 0},
    {"&Disk Capacity...", 32823},
    {"Database &Maintenance...", 32777},
};
const MenuItem kHelpMenu[] = {
    {"&Help on Quorvel Dorvane LE...", 32824},
    {"&Video Help on Quorvel Dorvane LE...", 32844},
    {NULL, 0},
    {"&About Quorvel Dorvane...", 57664},
};

} // namespace

void CConsumerBkgDlg::SendDrawCommand(UINT command)
{
    if (g_pClavio)
        g_pClavio->SendDrawCommand(command, FALSE);
}

void CConsumerBkgDlg::SetGraphicsMode(BOOL show)
{
    if (g_pClavio)
        g_pClavio->ShowGraphics(show, g_pClavio->GetCurrentChannel(), 0);
}

void CConsumerBkgDlg::ReleaseDrawingTools()
{
    SendDrawCommand(32832);
    if (m_bToolsReleased)
        return;
    for (int b : {DrawArrow, DrawEllipse, DrawLine, DrawMultiline, DrawRect, DrawText})
        m_buttons[b].SetCheck(FALSE);
    m_bToolsReleased = TRUE;
    if (g_pAppConfig)
        g_pAppConfig->SetDrawingTool(-1);
}

void CConsumerBkgDlg::RestoreDrawingTool(CBaseBmpButton* keep)
{
    if (!keep && IsCurrentPlaying())
        return;
    SendDrawCommand(32832);
    for (int b : {DrawEllipse, DrawArrow, DrawLine, DrawMultiline, DrawRect})
        if (&m_buttons[b] != keep)
            m_buttons[b].SetCheck(FALSE);
    m_bToolsReleased = FALSE;
    if (keep) {
        if (keep != &m_buttons[DrawText] && g_pClavio)
            g_pClavio->FinishDrawing();
        return;
    }
    int tool = g_pAppConfig ? g_pAppConfig->GetDrawingTool() : -1;
    if (tool == -1)
        return;
    SetGraphicsMode(TRUE);
    for (const ToolButton& t : kRestoreTools)
        if (t.tool == tool) {
            m_buttons[t.button].SetCheck(TRUE);
            SendDrawCommand(t.command);
        }
}

void CConsumerBkgDlg::OnDrawTool(UINT id)
{
    for (const ToolButton& t : kClickTools) {
        if (s_buttonIds[t.button] != id)
            continue;
        CBaseBmpButton& button = m_buttons[t.button];
        if (!button.GetCheck()) {
            ReleaseDrawingTools();
            return;
        }
        RestoreDrawingTool(&button);
        SetGraphicsMode(TRUE);
        SendDrawCommand(t.command);
        if (g_pAppConfig)
            g_pAppConfig->SetDrawingTool(t.tool);
        return;
    }
}

void CConsumerBkgDlg::OnDrawArrow()
{
    OnDrawTool(1137);
}

void CConsumerBkgDlg::OnDrawText()
{
    ReleaseDrawingTools();
    SetGraphicsMode(TRUE);
    SendDrawCommand(44526);
    if (g_pAppConfig)
        g_pAppConfig->SetDrawingTool(8);
}

void CConsumerBkgDlg::OnDrawSelect()
{
    ReleaseDrawingTools();
    SendDrawCommand(44525);
}

void CConsumerBkgDlg::OnDrawClear()
{
    SetGraphicsMode(TRUE);
    SendDrawCommand(32798);
    RestoreDrawingTool(NULL);
}

void CConsumerBkgDlg::OnPan()
{
    ReleaseDrawingTools();
    SetGraphicsMode(TRUE);
    SendDrawCommand(44545);
}

// ---------------------------------------------------------------------------------------------
// Menu buttons

BOOL CConsumerBkgDlg::BuildPopupMenu(int button, CMenu& menu)
{
    const MenuItem* items;
    int count;
    switch (button) {
    case Button01:
        items = kFileMenu, count = sizeof kFileMenu / sizeof *kFileMenu;
        break;
    case Button02:
        items = kToolsMenu, count = sizeof kToolsMenu / sizeof *kToolsMenu;
        break;
    case Button06:
        items = kHelpMenu, count = sizeof kHelpMenu / sizeof *kHelpMenu;
        break;
    default:
        return FALSE;
    }
    if (!menu.CreatePopupMenu())
        return FALSE;
    for (int i = 0; i < count; ++i) {
        if (items[i].text)
            menu.AppendMenu(MF_STRING, items[i].command, items[i].text);
        else
            menu.AppendMenu(MF_SEPARATOR);
    }
    return TRUE;
}

CPoint CConsumerBkgDlg::PopupPosition(int button)
{
    CRect rect;
    GetWindowRect(&rect);
    int x = button == Button01 ? 97 : button == Button02 ? 171 : 460;
    return CPoint(rect.left + x, rect.top + 27);
}

void CConsumerBkgDlg::ShowPopup(int button)
{
    CMenu menu;
    if (BuildPopupMenu(button, menu)) {
        CPoint at = PopupPosition(button);
        // The main window owns the menu: its command goes through the frame's routing.
        menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_LEFTBUTTON, at.x, at.y, AfxGetMainWnd());
    }
    RestoreDrawingTool(NULL);
}

void CConsumerBkgDlg::OnFileButton()
{
    ShowPopup(Button01);
}

void CConsumerBkgDlg::OnToolsButton()
{
    ShowPopup(Button02);
}

void CConsumerBkgDlg::OnHelpButton()
{
    ShowPopup(Button06);
}

void CConsumerBkgDlg::OnSaveButton()
{
    CClip* clip = g_pClavio ? g_pClavio->GetCurrentClip() : NULL;
    if (clip)
        panel::SaveClip(clip);
    else
        AfxMessageBox("Clip not loaded", MB_OK);
    RestoreDrawingTool(NULL);
}

void CConsumerBkgDlg::OnDatabaseButton()
{
    panel::ShowDatabaseClipsPage();
    RestoreDrawingTool(NULL);
}

void CConsumerBkgDlg::OnOptionsButton()
{
    StopPlayback();
    panel::RunOptionsSheet();
    RestoreDrawingTool(NULL);
}

void CConsumerBkgDlg::OnDrawProperties()
{
    if (g_pClavio)
        panel::EditDefaultDrawingProperties(g_pClavio->GetCurrentViewport(),
                                            g_pClavio->GetOtherViewport());
    RestoreDrawingTool(NULL);
}
