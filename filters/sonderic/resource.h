// Resource ids of the Sonderic module.
#define IDD_LEVEL_PROPERTIES 101
#define IDC_THRESHOLD 1015
#define IDS_TITLE 1015
