#include "PanelActions.h"
#include "AppConfig.h"
#include "../browser/DatabaseSheet.h"
#include "Globals.h"
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

void ShowDatabaseClipsPage()
{
    if (!g_pAppConfig || !g_pAppConfig->ConnectDatabase() || !g_pDatabaseSheet)
        return;
    if (g_pDatabaseSheet->GetSafeHwnd()) {
        g_pDatabaseSheet->SetActivePage(1);
        g_pDatabaseSheet->ShowWindow(SW_SHOW);
        return;
    }
    g_pDatabaseSheet->SetActivePage(1);
    g_pDatabaseSheet->DoModal();
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
