// The DirectDraw identifiers, instantiated here: the system's identifier library also
// defines the media identifiers that the DirectShow layer instantiates itself, so the
// two cannot be linked into one module.
#include <windows.h>
#include <objbase.h>
#include <initguid.h>
#include <ddraw.h>
