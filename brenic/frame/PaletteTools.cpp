#include "PaletteTools.h"
#include "AppConfig.h"
#include "Clavio.h"
#include "Globals.h"
#include "GraphicsCmdDlg.h"
#include "ODCustomViewport.h"
#include "PanelLogic.h"
#include "VideoWindow.h"

CPaletteTools::CPaletteTools(CWnd* page, BOOL forgetOnRelease)
    : m_pGraphicsDlg(NULL), m_bReleased(1), m_pPage(page), m_bForgetOnRelease(forgetOnRelease)
{
}

CBaseBmpButton* CPaletteTools::Button(UINT id) const
{
    if (!id || !m_pPage->GetSafeHwnd())
        return NULL;
    HWND item = ::GetDlgItem(m_pPage->GetSafeHwnd(), id);
    CWnd* w = item ? CWnd::FromHandlePermanent(item) : NULL;
    return w && w->IsKindOf(RUNTIME_CLASS(CBaseBmpButton)) ? (CBaseBmpButton*)w : NULL;
}

void CPaletteTools::EnableGraphics()
{
    if (m_pGraphicsDlg)
        m_pGraphicsDlg->EnableGraphics(TRUE);
}

void CPaletteTools::Release()
{
    if (g_pClavio)
        g_pClavio->SendDrawCommand(panel::kCmdResetTools, FALSE);
    if (m_bReleased)
        return;
    for (const panel::DrawingTool& t : panel::kTools)
        if (CBaseBmpButton* b = Button(t.button))
            b->SetCheck(FALSE);
    m_bReleased = 1;
    if (m_bForgetOnRelease && g_pAppConfig)
        g_pAppConfig->SetDrawingTool(-1);
}

void CPaletteTools::Restore(CBaseBmpButton* keep)
{
    CVideoWindow* video = g_pClavio ? g_pClavio->GetActiveVideoWindow() : NULL;
    if (!keep && video && video->IsPlaying())
        return;
    if (g_pClavio)
        g_pClavio->SendDrawCommand(panel::kCmdResetTools, FALSE);
    for (const panel::DrawingTool& t : panel::kTools)
        if (CBaseBmpButton* b = Button(t.button))
            if (b != keep)
                b->SetCheck(FALSE);
    m_bReleased = 0;
    if (keep) {
        if (g_pClavio)
            g_pClavio->FinishDrawing();
        return;
    }
    int stored = g_pAppConfig ? g_pAppConfig->GetDrawingTool() : -1;
    if (stored == -1) {
        if (m_bForgetOnRelease)
            Release();
        return;
    }
    const panel::DrawingTool* tool = panel::FindTool(stored);
    if (!tool)
        return;
    EnableGraphics();
    if (CBaseBmpButton* b = Button(tool->button))
        b->SetCheck(TRUE);
    if (g_pClavio)
        g_pClavio->SendDrawCommand(tool->command, FALSE);
}

void CPaletteTools::UpdateColours(CBaseBmpButton* keep)
{
    for (const panel::LineColour& c : panel::kLineColours)
        if (CBaseBmpButton* b = Button(c.button))
            if (b != keep)
                b->SetCheck(FALSE);
    if (!keep && g_pAppConfig)
        if (CBaseBmpButton* b = Button(panel::LineColourButton(g_pAppConfig->GetLineColor())))
            b->SetCheck(TRUE);
}

void CPaletteTools::OnToolButton(UINT id)
{
    const panel::DrawingTool* tool = panel::FindToolButton(id);
    CBaseBmpButton* button = Button(id);
    if (!tool || !button)
        return;
    if (!button->GetCheck()) {
        Release();
        return;
    }
    Restore(button);
    EnableGraphics();
    if (g_pAppConfig)
        g_pAppConfig->SetDrawingTool(tool->index);
    if (g_pClavio)
        g_pClavio->SendDrawCommand(tool->command, FALSE);
}

void CPaletteTools::OnColourButton(UINT id)
{
    COLORREF colour = 0;
    for (const panel::LineColour& c : panel::kLineColours)
        if (c.button == id)
            colour = c.colour;
    if (g_pClavio) {
        if (CODCustomViewport* v = g_pClavio->GetCurrentViewport())
            v->SetLineColor(colour);
        if (CODCustomViewport* v = g_pClavio->GetOtherViewport())
            v->SetLineColor(colour);
    }
    if (g_pAppConfig)
        g_pAppConfig->SetLineColor(colour);
    UpdateColours(Button(id));
    Restore(NULL);
}
