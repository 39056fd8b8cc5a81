// Resource identifiers of the customisable toolbars, the menu bar and the customisation
// dialogs (script: res/SECToolBars.rc, included by the program's and the tests' scripts).
#ifndef QUORVEL_SECTOOLBARS_RES_H
#define QUORVEL_SECTOOLBARS_RES_H

#define IDD_SEC_CUSTOMIZE_CMDS 20509     // commands page
#define IDD_SEC_TOOLBARS 20510           // Toolbars dialog
#define IDD_SEC_NEWTOOLBAR 20511         // New Toolbar dialog
#define IDD_SEC_TOOLBARS_PAGE 20513      // Toolbars page
#define IDB_SEC_MENUCHECK 20525          // check mark of bitmap menus
#define IDS_SEC_RESET 20536              // "&Reset"
#define IDS_SEC_DELETE 20537             // "&Delete"
#define IDS_SEC_CUSTOMIZE 20538          // "Customize"
#define IDS_SEC_MENUBAR 20619            // "Menu bar"
#define IDS_SEC_TOOLBAR_FMT 20674        // "ToolBar%d"
#define IDC_SEC_COPYBUTTON 20691         // cursor while a copy is dragged

#define IDC_SEC_BUTTONS_FRAME 43093
#define IDC_SEC_TOOLBAR_LIST 43094
#define IDC_SEC_DESCRIPTION 43095
#define IDC_SEC_NEWNAME 43096
#define IDC_SEC_NAME_LABEL 43097
#define IDC_SEC_NEW 43098
#define IDC_SEC_CUSTOMIZE_BTN 43099
#define IDC_SEC_RESET 43100
#define IDC_SEC_TOOLTIPS 43101
#define IDC_SEC_NAME 43102
#define IDC_SEC_LARGEBTNS 43103
#define IDC_SEC_COOLLOOK 43104
#define IDC_SEC_HELP 57670

#endif  // QUORVEL_SECTOOLBARS_RES_H
