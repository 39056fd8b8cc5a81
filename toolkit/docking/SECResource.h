// Resource identifiers of the docking toolkit (its resource script is res/SECDocking.rc,
// included by the program's and the tests' scripts).
#ifndef QUORVEL_SECRESOURCE_H
#define QUORVEL_SECRESOURCE_H

#define IDB_SEC_MENUARROW_DOWN 23000   // menu-button arrow, menu below the button
#define IDB_SEC_MENUARROW_RIGHT 23001  // menu-button arrow, menu to the right
#define IDB_SEC_DTDROPDOWN 23002       // the date/time control's drop-down button
#define IDS_SEC_OTHER_COLOR 23100      // the colour well's "&Other..." button
#define IDS_SEC_ROTATE_ERROR 23101     // image rotation of an unsupported format

// Workspace manager: its dialog, the list box editor's caption buttons and their tips, the
// manager's texts and the command prompts (string ids of the commands' own ids).
#define IDD_SEC_WORKSPACEMGR 20502
#define IDB_SEC_LBEDIT_NEW 20516
#define IDB_SEC_LBEDIT_DELETE 20517
#define IDB_SEC_LBEDIT_UP 20518
#define IDB_SEC_LBEDIT_DOWN 20519
#define IDS_SEC_LBEDIT_NEW 20531
#define IDS_SEC_LBEDIT_DELETE 20532
#define IDS_SEC_LBEDIT_UP 20533
#define IDS_SEC_LBEDIT_DOWN 20534
#define IDS_SEC_WS_MANAGER 20665
#define IDS_SEC_WS_INVALID_NAME 20666
#define IDS_SEC_WS_NAME_EXISTS 20667
#define IDS_SEC_WS_INVALID_NEW_NAME 20668
#define IDS_SEC_WS_NEW_NAME_EXISTS 20669
#define IDS_SEC_WS_SAVE_NEW 20670
#define IDS_SEC_WS_WORKSPACES 20671
#define IDS_SEC_WS_NONE_ACTIVE 20672
#define IDS_SEC_WS_SELECT_ITEM 20673
#define IDS_SEC_WS_NONE 20685
#define IDS_SEC_WS_OPEN_TITLE 20686
#define IDS_SEC_WS_FILTER_NAME 20687
#define IDS_SEC_WS_ALL_FILES 20688
#define IDS_SEC_WS_SAVE_TITLE 20689
#define IDS_SEC_WS_INVALID 20690
#define ID_WORKSPACE_NEW 43007
#define ID_WORKSPACE_OPEN 43008
#define ID_WORKSPACE_SAVE 43009
#define ID_WORKSPACE_CLOSE 43012
#define ID_WORKSPACE_SAVEAS 43013
#define ID_WORKSPACE_DELETE 43014
#define ID_WORKSPACE_MRU1 43031
#define ID_WORKSPACE_MRU9 43039
// Controls of the workspace manager dialog.
#define IDC_SEC_WS_SAVE 43000
#define IDC_SEC_WS_OPEN 43001
#define IDC_SEC_WS_DONE 43053
#define IDC_SEC_WS_LIST 43072
#define IDC_SEC_WS_ACTIVE 43105

#endif  // QUORVEL_SECRESOURCE_H
