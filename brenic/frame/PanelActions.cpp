#include "PanelActions.h"
#include "AppConfig.h"
#include "../browser/DatabaseSheet.h"
#include "Clavio.h"
#include "Globals.h"
#include "TransController.h"
#include "ODCustomViewport.h"

namespace panel {

BOOL SaveClip(CClip*)
{
    return FALSE;
}

BOOL RunTrimDialog(CClip*)
{
    return FALSE;
}

BOOL TrimCurrentClip()
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
    return RunTrimDialog(clip);
}

void ShowDatabaseClipsPage()
{
    if (!g_pAppConfig || !g_pAppConfig->ConnectDatabase() || !g_pDatabaseSheet)
        return;
    g_pDatabaseSheet->ShowModal(1);
}

void RunOptionsSheet()
{
}

void EditDefaultDrawingProperties(CODCustomViewport* current, CODCustomViewport* other)
{
    if (!current)
        return;
    if (other && other != current) {
        other->SetLineColor(current->GetLineColor());
        other->SetLineWidth(current->GetLineWidth());
        other->SetLineStyle(current->GetLineStyle());
        *other->FindFontProperties() = *current->FindFontProperties();
    }
    if (g_pAppConfig)
        g_pAppConfig->StoreDrawingDefaults(current);
}

} // namespace panel
