/* Templates of the options windows, the help dialogs and the disk-capacity dialog. */
#pragma once
#define IDD_TOOLS_DLG           152
#define IDD_TOOLS_GENERAL       257
#define IDD_TOOLS_VIDEO         258
#define IDD_TOOLS_RECORDING     259
#define IDD_TOOLS_SOUND         260
#define IDD_TOOLS_KEYBOARD      261
#define IDD_DISK_CAPACITY       276
#define IDD_TOOLS_COLOR         277
#define IDD_LAUNCH_HELP         322
#define IDD_COPY_HELP           340
