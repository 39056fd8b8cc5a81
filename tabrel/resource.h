// Resource numbers of the slider module.
#pragma once
#define IDS_TABREL 1
#define IDS_TABREL_PPG 2
#define IDS_TABREL_PPG_CAPTION 200
#define IDB_TABREL 1
#define IDB_TAB_HELD 2
#define IDD_ABOUTBOX_TABREL 1
#define IDD_PROPPAGE_TABREL 200
#define IDI_TAB 220
#define IDI_THUMB 221
#define IDI_ALT_THUMB 224
