#include "PanelActions.h"
#include "AppConfig.h"
#include "../browser/DatabaseSheet.h"
#include "../browser/ToolsSheet.h"
#include "Clavio.h"
#include "Globals.h"
#include "MainFrm.h"
#include "TabrelEx.h"
#include "TransController.h"
#include "TrimDlg.h"
#include "Clip.h"
#include "ODCustomDefPropSheet.h"
#include "VideoWindow.h"
#include "ODCustomViewport.h"

namespace panel {

void SetClipRange(CTabrelEx& slider, CClip* clip)
{
    if (clip)
        slider.SetRange(clip->GetTrimIn() * 2, clip->GetTrimOut() * 2 + 1);
    else
        slider.SetRange(0, 1);
}

BOOL SaveClip(CClip* clip)
{
    return clip && clip->Save();
}

BOOL RunTrimDialog(CClip* clip, BOOL wholeClip)
{
    CVideoWindow* video = g_pClavio ? g_pClavio->GetActiveVideoWindow() : NULL;
    if (!clip || !video || !video->GetSafeHwnd())
        return FALSE;
    const int first = video->GetFirstValidFrame();
    const int last = clip->m_nFrames - 1;
    CTrimDlg dialog(AfxGetMainWnd());
    dialog.SetTrim(clip->GetTrimIn(), clip->GetTrimOut());
    dialog.SetRange(first, last);
    // While the dialog is open the window shows what the sliders may reach.
    video->SetTrimIn(wholeClip ? first : clip->GetTrimIn());
    video->SetTrimOut(wholeClip ? last : clip->GetTrimOut());
    const BOOL ok = dialog.DoModal() == IDOK;
    if (ok) {
        int in = 0, out = 0;
        dialog.GetTrim(in, out);
        clip->SetTrimIn(in);
        clip->SetTrimOut(out);
    }
    video->SetTrimIn(clip->GetTrimIn());
    video->SetTrimOut(clip->GetTrimOut());
    return ok;
}

BOOL TrimCurrentClip(BOOL wholeClip)
{
    if (!g_pClavio || !g_pClavio->CanTrim())
        return FALSE;
    if (g_pClavio->IsLocked()) {
        AfxMessageBox("Trim cannot be adjusted while video windows are locked.", MB_ICONSTOP);
        return FALSE;
    }
    CClip* clip = g_pClavio->GetCurrentClip();
    if (!clip) {
        AfxMessageBox("Clip not loaded.", MB_ICONSTOP);
        return FALSE;
    }
    g_pClavio->GetTransController()->EnterPlaybackMode(FALSE, FALSE);
    return RunTrimDialog(clip, wholeClip);
}

void ShowDatabaseClipsPage()
{
    CMainFrame::ShowDatabaseSheet();
}

void RunOptionsSheet()
{
    CToolsSheet sheet("Options");
    sheet.AddPages();
    sheet.DoModal();
}

void EditDefaultDrawingProperties(CODCustomViewport* current, CODCustomViewport* other)
{
    if (!current)
        return;
    CODCustomDefPropSheet sheet(current->GetDefaultProperties(), current,
                                "Default Drawing Properties", NULL, 0);
    sheet.SetPageFlags(CODCustomDefPropSheet::kLineAndFontPages);
    sheet.DoModal();
    // The other channel draws with copies of the same defaults.
    if (other && other != current)
        other->SetDefaultProperties(current->GetDefaultProperties());
    if (g_pAppConfig)
        g_pAppConfig->StoreDrawingDefaults(current);
}

} // namespace panel
