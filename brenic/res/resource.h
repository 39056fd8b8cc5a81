// Resource ids of the main program.
#pragma once

#define IDR_MAINFRAME       128
#define IDR_BRENICTYPE      127
#define AFX_IDS_APP_TITLE   0xE000
