#include "PanelBars.h"
#include "CmdBar.h"
#include "PanelRes.h"
#include "SECFrameWnd.h"
#include "TestBar.h"
#include "VideoBar.h"

namespace {
// Child, left-aligned, a right border, tool tips and dynamic size (0x40001414).
const DWORD kBarStyle =
    WS_CHILD | CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT | CBRS_TOOLTIPS | CBRS_SIZE_DYNAMIC;
// Visible, right-aligned, a left border, tool tips and dynamic size (0x10004114); the
// dialog template makes it a child.
const DWORD kTestBarStyle =
    WS_VISIBLE | CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT | CBRS_TOOLTIPS | CBRS_SIZE_DYNAMIC;
}

BOOL CreatePanelBars(SECFrameWnd* frame)
{
    if (!g_pCmdBar) {
        CCmdBar* bar = new CCmdBar;
        if (!bar->Create(frame, "Command Bar", kBarStyle, 0xF10, 153)) {
            delete bar;
            return FALSE;
        }
        bar->m_bAutoDelete = TRUE; // deleted when the frame destroys its bars
        g_pCmdBar = bar;
        bar->EnableDocking(CBRS_ALIGN_ANY);
        frame->DockControlBarEx(bar, AFX_IDW_DOCKBAR_RIGHT, 0, 0, 1.0f, 176);
    }
    if (!g_pVideoBar) {
        CVideoBar* bar = new CVideoBar;
        if (!bar->Create(frame, "Video Bar", kBarStyle, 0xF10, 154)) {
            OutputDebugStringA("Failed to create List Bar\n");
            delete bar;
            return FALSE;
        }
        bar->m_bAutoDelete = TRUE;
        g_pVideoBar = bar;
        bar->EnableDocking(CBRS_ALIGN_ANY);
        frame->DockControlBarEx(bar, AFX_IDW_DOCKBAR_BOTTOM, 1, 0, 0.6f, 83);
    }
    return TRUE;
}

CTestBar* AddTestBar(SECFrameWnd* frame)
{
    CTestBar* bar = new CTestBar;
    UINT id = SECFrameWnd::GetUniqueBarID(frame, 256);
    if (!bar->Create(frame, IDD_TEST_BAR, kTestBarStyle, 0xF23, id)) {
        delete bar;
        return NULL;
    }
    bar->m_bAutoDelete = TRUE;
    bar->SetWindowText("Static DialogBar");
    bar->EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBarEx(bar, AFX_IDW_DOCKBAR_RIGHT, 1, 0, 0.3f, 130);
    return bar;
}
