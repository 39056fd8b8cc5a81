// Resource identifiers of the toolkit's bars (script: res/SECDockBars.rc, included by
// SECDocking.rc and by the tests' scripts).
#ifndef QUORVEL_SECDOCKBARS_RES_H
#define QUORVEL_SECDOCKBARS_RES_H

#define IDS_SEC_GRIPPER_HIDE 23200      // tip of the gripper's close button
#define IDS_SEC_GRIPPER_EXPAND 23201    // tip of the expand button
#define IDS_SEC_GRIPPER_CONTRACT 23202  // tip of the expand button of an expanded bar
#define IDS_SEC_DRAG_PROMPT 20535       // status text while a bar is dragged
#define IDC_SEC_SPLIT_SIDE 30980        // splitter between bars standing side by side
#define IDC_SEC_SPLIT_ROWS 30981        // splitter between rows

#endif  // QUORVEL_SECDOCKBARS_RES_H
