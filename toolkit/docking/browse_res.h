// Resource ids of the directory dialog and the browse edits (script res/browse.rc, which a
// module that uses them includes in its own resources).
#pragma once

#define IDD_SEC_DIRSELECT 2000
#define IDS_SEC_NOCLOSE 20624
#define IDS_SEC_SELECTDIR 20625
#define IDS_SEC_SELECTFILE 20626
#define IDS_SEC_LBEDIT_SELECTDIR 20634  // title of a directory list's browse dialog
