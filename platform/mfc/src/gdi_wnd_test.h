// Resource ids of the window-side GDI tests.
#define IDR_TEST_MENU 300
#define IDB_TEST_STRIP 301
#define ID_CLUB_DRIVER 32801
#define ID_CLUB_IRON 32802
#define ID_CLUB_PUTTER 32803
