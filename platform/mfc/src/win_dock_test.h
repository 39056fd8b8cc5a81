// Resource ids of the docking tests.
#define ID_DOCK_CLICK 33100
#define ID_DOCK_ENABLED 33101
#define ID_DOCK_NOHANDLER 33102
#define ID_DOCK_PROMPTED 33103
