// Resource ids of the base dialog, the bitmap buttons and the drawing layer.
#pragma once

#define IDB_BASE_OK             153
#define IDB_BASE_CANCEL         154
// The overlay surface's picture is bitmap 137, the clip image lists' icon (Panels.rc).
#define IDB_DDOVERLAY_PICTURE   137
