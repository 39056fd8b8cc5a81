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
