// Resource ids of the main program.
#pragma once

#define IDR_MAINFRAME       128
#define IDR_BRENICTYPE      127
#define AFX_IDS_APP_TITLE   0xE000

// Dialogs
#define IDD_PROGRESS            139
#define IDD_SAVE_EXISTING       266
#define IDD_REPLACE_OPTIONS     338
#define IDD_TRANS_OPT           339
#define IDD_UNSAVED_CLIPS       350
#define IDD_RESTORE_TEMP        351

// Progress dialog
#define IDC_PROGRESS_CANCEL     217
#define IDC_PROGRESS_BAR        1015
#define IDC_PROGRESS_MESSAGE    1145

// Prompt dialogs
#define IDC_SAVE_EXISTING_SAVE  1156
#define IDC_SAVE_EXISTING_ICON  1157
#define IDC_REPLACE_NOTOALL     1269
#define IDC_REPLACE_YES         1270
#define IDC_REPLACE_NO          1268
#define IDC_REPLACE_YESTOALL    1267
#define IDC_REPLACE_TEXT        1278
#define IDC_TRANS_CONTINUE      1271
#define IDC_TRANS_RETRANSCODE   1272
#define IDC_TRANS_CANCEL        1273
#define IDC_UNSAVED_DELETE_EXIT 1297
#define IDC_UNSAVED_EXIT        1298
#define IDC_RESTORE_RESTORE     1300
#define IDC_RESTORE_DELETE      1301
#include "baseui_res.h"

// Main frame, menus and start-up dialogs
#define IDD_ABOUTBOX            100
#define IDB_MENUBAR_LOGO        191
#define IDD_NETWORK_DB          349
#define IDR_HIDDEN_COMMANDS     6
#define IDC_NETDB_MACHINES      1003
#define IDC_ABOUT_TOTALMEM      1188
#define IDC_ABOUT_MEMLOAD       1189
#define IDC_ABOUT_AVAILMEM      1190
#define IDC_NETDB_CONNECT       1291
#define IDC_NETDB_MACHINE       1292

#define ID_CUSTOMIZE            32771
#define ID_ADD_NEW_BAR          32772
#define ID_VIEW_CLIPPANEL       32773
#define ID_VIEW_CMDPALETTE      32774
#define ID_VIEW_VIDEOBAR        32775
#define ID_TOOLS_OPTIONS        32776
#define ID_DATABASE_MAINTENANCE 32777
#define ID_VIEW_DATABASE        32779
#define ID_BACKUP_CLIPS         32800
#define ID_IMPORT_AVI           32801
#define ID_STARTAUTORECKEY      32802
#define ID_TRIGGERAUTORECKEY    32803
#define ID_STARTMANRECKEY       32804
#define ID_ATTENSLIDER          32805
#define ID_UPDATEFRAMECOUNT     32806
#define ID_TOGGLEWINDOW         32807
#define ID_CLIP_SAVE            32810
#define ID_STOP_BUTTON          32811
#define ID_SPLITWINDOWKEY       32812
#define ID_LOCKIMPACTKEY        32813
#define ID_LOCKVIEWKEY          32814
#define ID_TAB16TOGGLEKEY       32815
#define ID_VIEW_RESTORE_DEFAULT 32816
#define ID_TOGGLEMIRRORKEY      32820
#define ID_PLAYKEY              32821
#define ID_REALPLAYKEY          32822
#define ID_TOOLS_DISKCAPACITY   32823
#define ID_HELP_CONTENTS_QV     32824
#define ID_DRAW_PROPERTIES      32826
#define ID_HELP_VIDEOHELP       32844
#define ID_DATABASE_NETWORK     32847
