// The older DirectDraw shapes over the system-memory layer: IDirectDraw2 with
// IDirectDrawSurface surfaces (a primary surface of the screen's size, RGB and packed-YUV
// "YUY2"/"UYVY" surfaces in memory) and clippers. There is no overlay hardware: overlay
// surfaces are refused with DDERR_NOOVERLAYHW and the capabilities carry no DDCAPS_OVERLAY.
#pragma once
#include <windows.h>
#include <ddraw.h>

// A new IDirectDraw2 face of a DirectDraw object (kept alive by it); its QueryInterface is
// the object's.
IDirectDraw2* NewDirectDraw2Face(IDirectDraw4* owner);

// The capabilities reported by every DirectDraw interface of the layer (GetCaps).
HRESULT SysMemGetCaps(DDCAPS* driver, DDCAPS* hel);
