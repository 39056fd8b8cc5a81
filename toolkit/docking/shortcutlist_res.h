// Resource ids of the shortcut list (its context menu and commands).
#pragma once

#define IDR_SCL_CONTEXTMENU 20620
#define ID_SCL_LARGEICON 43054
#define ID_SCL_SMALLICON 43055
