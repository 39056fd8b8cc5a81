#include "CustomConfig.h"
#include "ClipBar.h"
#include <cstring>
#include "AppConfig.h"
#include "Globals.h"
#include "BaseBmpButton.h"
#include "TabrelEx.h"

CCustomConfig* g_pCustomConfig = NULL;

namespace {

const SkinButton kButtons[] = {
    {"Logo", 1209, "Logo_up.bmp", "Logo_dwn.bmp", NULL, NULL, NULL, 716, 13, FALSE, FALSE},
    {"Record", 1014, "RecAuto_up.bmp", "RecAuto_dwn1.bmp", NULL, "Rec_dwn3.bmp", "Rec_dwn2.bmp",
     663, 432, TRUE, FALSE},
    {"ManualAuto", 1189, "Man_Auto_Up.bmp", "Man_Auto_Dwn2.bmp", NULL, NULL, NULL, 732, 447,
     TRUE, FALSE},
    {"CaptureTrigger", 1196, "AutoCap_Up.bmp", "AutoCap_Dwn.bmp", NULL, NULL, NULL, 676, 363,
     TRUE, FALSE},
    {"Trim", 1011, "P_Trim_Up.bmp", "P_Trim_Dwn.bmp", NULL, NULL, NULL, 382, 508, FALSE, FALSE},
    {"Replay", 1010, "P_Loop_Up.bmp", "P_Loop_Dwn.bmp", NULL, NULL, NULL, 295, 504, TRUE, FALSE},
    {"Pan", 1077, "P_Pan_Up.bmp", "P_Pan_Dwn.bmp", NULL, NULL, NULL, 433, 508, FALSE, FALSE},
    {"Email", 1043, "E-mail_Up.bmp", "E-mail_Dwn.bmp", NULL, NULL, NULL, 5, 2, FALSE, FALSE},
    {"SingleView", 1022, "B_Single_Up.bmp", "B_Single_Dwn.bmp", NULL, NULL, NULL, 673, 98, TRUE,
     TRUE},
    {"SplitView", 1023, "B_Split_Up.bmp", "B_Split_Dwn.bmp", NULL, NULL, NULL, 680, 136, TRUE,
     FALSE},
    {"Mirror", 1040, "B_Mirror_Up.bmp", "B_Mirror_Dwn.bmp", NULL, NULL, NULL, 687, 232, TRUE,
     FALSE},
    {"LockView", 1036, "B_lock_Up.bmp", "B_lock_Dwn.bmp", "B_lock_dis.bmp", NULL, NULL, 682, 174,
     TRUE, FALSE},
    {"SnapShot", 1042, "B_snap_Up.bmp", "B_snap_Dwn.bmp", "B_Snap_dis.bmp", NULL, NULL, 685, 270,
     FALSE, FALSE},
    {"Live", 1041, "B_Video_Up.bmp", "B_Video_Dwn.bmp", NULL, NULL, NULL, 680, 308, TRUE, FALSE},
    {"DrawClear", 1093, "D_Clear_Up.bmp", "D_Clear_Dwn.bmp", NULL, NULL, NULL, 631, 56, FALSE,
     FALSE},
    {"DrawSelect", 1091, "D_Select_Up.bmp", "D_Select_Dwn.bmp", NULL, NULL, NULL, 631, 105, FALSE,
     FALSE},
    {"DrawLine", 1095, "D_line1_Up.bmp", "D_line1_Dwn.bmp", NULL, NULL, NULL, 631, 157, TRUE,
     FALSE},
    {"DrawMultiline", 1096, "D_line2_Up.bmp", "D_line2_Dwn.bmp", NULL, NULL, NULL, 631, 207, TRUE,
     FALSE},
    {"DrawText", 1094, "D_text_Up.bmp", "D_text_Dwn.bmp", NULL, NULL, NULL, 631, 255, FALSE,
     FALSE},
    {"DrawEllipse", 1098, "D_circle_Up.bmp", "D_circle_Dwn.bmp", NULL, NULL, NULL, 631, 305, TRUE,
     FALSE},
    {"DrawRect", 1097, "D_square_Up.bmp", "D_square_Dwn.bmp", NULL, NULL, NULL, 631, 354, TRUE,
     FALSE},
    {"DrawArrow", 1137, "D_arrow_Up.bmp", "D_arrow_Dwn.bmp", NULL, NULL, NULL, 631, 400, TRUE,
     FALSE},
    {"Button01", 1190, "File_Up.bmp", "File_Dwn.bmp", NULL, NULL, NULL, 97, 8, FALSE, FALSE},
    {"Button02", 1191, "Tools_Up.bmp", "Tools_Dwn.bmp", NULL, NULL, NULL, 171, 8, FALSE, FALSE},
    {"Button03", 1192, "Save_Up.bmp", "Save_Dwn.bmp", NULL, NULL, NULL, 239, 8, FALSE, FALSE},
    {"Button04", 1193, "Database_Up.bmp", "Database_Dwn.bmp", NULL, NULL, NULL, 313, 8, FALSE,
     FALSE},
    {"Button05", 1194, "Options_Up.bmp", "Options_Dwn.bmp", NULL, NULL, NULL, 386, 8, FALSE,
     FALSE},
    {"Button06", 1195, "Help_Up.bmp", "Help_Dwn.bmp", NULL, NULL, NULL, 460, 8, FALSE, FALSE},
    {"Play", 1169, "P_Play_Up.bmp", "P_Play_Dwn.bmp", NULL, "P_Play_Up2.bmp", "P_Play_Dwn2.bmp",
     14, 516, TRUE, FALSE},
    {"SlowPlayRev", 1013, "P_Slow1_Up.bmp", "P_Slow1_Dwn.bmp", NULL, "P_Slow1_Up2.bmp",
     "P_Slow1_Dwn2.bmp", 74, 517, TRUE, FALSE},
    {"SlowPlay", 1009, "P_Slow2_Up.bmp", "P_Slow2_Dwn.bmp", NULL, "P_Slow2_Up2.bmp",
     "P_Slow2_Dwn2.bmp", 118, 517, TRUE, FALSE},
    {"StepRev", 1012, "P_Frme1_Up.bmp", "P_Frme1_Dwn.bmp", NULL, NULL, NULL, 180, 517, FALSE,
     FALSE},
    {"StepFwd", 1008, "P_Frme2_Up.bmp", "P_Frme2_Dwn.bmp", NULL, NULL, NULL, 224, 517, FALSE,
     FALSE},
};

} // namespace

const SkinButton* CCustomConfig::GetButtons(int* count)
{
    if (count)
        *count = (int)(sizeof kButtons / sizeof kButtons[0]);
    return kButtons;
}

const SkinButton* CCustomConfig::FindButton(const char* name)
{
    for (const SkinButton& b : kButtons)
        if (name && strcmp(b.name, name) == 0)
            return &b;
    return NULL;
}

CString CCustomConfig::GetSkinDir() const
{
    return (g_pAppConfig ? g_pAppConfig->GetInstallDir() : CString()) + "Skin\\";
}

CString CCustomConfig::GetButtonsDir() const
{
    return GetSkinDir() + "Buttons\\";
}

CString CCustomConfig::GetBackgroundBitmapPath() const
{
    return GetSkinDir() + "Golf_screen_blnk.bmp";
}

BOOL CCustomConfig::PlacePositionText(CWnd* text, CWnd*)
{
    const CRect r = GetPositionTextRect();
    return text->SetWindowPos(NULL, r.left, r.top, r.Width(), r.Height(),
                              SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

CString ImagePath(const CString& folder, const char* name)
{
    return name ? folder + name : CString();
}

} // namespace

BOOL CCustomConfig::SetupButton(CString name, CBaseBmpButton* button, CWnd* parent)
{
    const CString folder = GetButtonsDir();
    if (name == "RecordManual" || name == "RecordAuto") {
        const BOOL manual = name == "RecordManual";
        button->LoadBitmapFiles(folder + (manual ? "Rec_up.bmp" : "RecAuto_up.bmp"),
                                folder + (manual ? "Rec_dwn1.bmp" : "RecAuto_dwn1.bmp"));
        if (button->GetSafeHwnd())
            button->Invalidate(TRUE);
    } else {
        const SkinButton* b = FindButton(name);
        if (!b)
            return FALSE;
        // A button set up a second time keeps its window: it is only skinned again.
        if (!button->GetSafeHwnd() &&
            !button->Create(NULL, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 100, 100),
                            parent, b->id))
            return FALSE;
        const CString up = ImagePath(folder, b->up), down = ImagePath(folder, b->down);
        const CString disabled = ImagePath(folder, b->disabled);
        button->LoadBitmapFiles(up, down, NULL, b->disabled ? (LPCTSTR)disabled : NULL);
        if (b->state1) {
            const CString state1 = ImagePath(folder, b->state1);
            const CString state2 = ImagePath(folder, b->state2);
            button->LoadStateBitmapFiles(state1, b->state2 ? (LPCTSTR)state2 : NULL);
        }
        button->SetWindowPos(NULL, b->x, b->y, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (b->latching)
            button->SetCheckMode(TRUE);
        if (b->checked)
            button->SetCheck(TRUE);
    }
    if (button->GetSafeHwnd())
        button->SizeToContent();
    button->SetTransparent(FALSE);
    return TRUE;
}

BOOL CCustomConfig::PlaceSlider(CTabrelEx* slider, CWnd*)
{
    const CRect r = GetSliderRect();
    slider->SetWindowPos(NULL, r.left, r.top, r.Width(), r.Height(),
                         SWP_NOZORDER | SWP_NOACTIVATE);
    slider->SetTransparent(TRUE);
    slider->SetAltThumb(TRUE);
    return TRUE;
}

BOOL CCustomConfig::CreateClipPanel(CClipBar* panel, CWnd* parent)
{
    return panel && panel->CreatePanel(parent, CRect(CPoint(471, 499), CSize(306, 77)), 152);
}
