#include "GraphicsCmdDlg.h"
#include "Clavio.h"
#include "Clip.h"
#include "Globals.h"

CGraphicsCmdDlg::CGraphicsCmdDlg(CWnd* pParent) : CBaseDialog(134, pParent)
{
}

CGraphicsCmdDlg::~CGraphicsCmdDlg()
{
}

void CGraphicsCmdDlg::EnableGraphics(BOOL enable)
{
    if (g_pClavio)
        g_pClavio->ShowGraphics(enable, g_pClavio->GetCurrentChannel(), 0);
}

void CGraphicsCmdDlg::OnToggleGraphics()
{
    CClip* clip = g_pClavio ? g_pClavio->GetCurrentClip() : NULL;
    EnableGraphics(clip ? !clip->GetShowGraphics() : TRUE);
}

void CGraphicsCmdDlg::OnSelectObject()
{
    if (g_pClavio)
        g_pClavio->SendDrawCommand(44525, FALSE);
}

void CGraphicsCmdDlg::OnPanVideo()
{
    EnableGraphics(TRUE);
    if (g_pClavio)
        g_pClavio->SendDrawCommand(44545, FALSE);
}

void CGraphicsCmdDlg::OnRotateLeft()
{
}

void CGraphicsCmdDlg::OnClearGraphics()
{
    EnableGraphics(TRUE);
    if (g_pClavio)
        g_pClavio->SendDrawCommand(32798, FALSE);
}
