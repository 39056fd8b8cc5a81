// Resource identifiers of the docking toolkit (its resource script is res/SECDocking.rc,
// included by the program's and the tests' scripts).
#ifndef QUORVEL_SECRESOURCE_H
#define QUORVEL_SECRESOURCE_H

#define IDB_SEC_MENUARROW_DOWN 23000   // menu-button arrow, menu below the button
#define IDB_SEC_MENUARROW_RIGHT 23001  // menu-button arrow, menu to the right
#define IDB_SEC_DTDROPDOWN 23002       // the date/time control's drop-down button
#define IDS_SEC_OTHER_COLOR 23100      // the colour well's "&Other..." button
#define IDS_SEC_ROTATE_ERROR 23101     // image rotation of an unsupported format

#endif  // QUORVEL_SECRESOURCE_H
