// Resource ids of the Pondrel module.
#define IDD_REPLAY_PROPERTIES 101
#define IDC_BUFFERS 1013
#define IDC_TRIGGER_NOW 1014
#define IDC_BUFFER_LEN 1015
#define IDC_TOTAL_MEM 1016
#define IDS_TITLE 1015
