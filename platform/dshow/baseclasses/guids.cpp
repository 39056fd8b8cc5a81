// Definitions of the layer's interface, class and media type identifiers. Wine's uuid
// library lacks most of them, and its own identifier library cannot be linked into a
// Winelib module here, so they are instantiated from the installed headers once.
#include <windows.h>
#include <objbase.h>
#include <olectl.h>
#include <ocidl.h>
#include <mmreg.h>
#include <ddraw.h>
#include <dsound.h>
#include <initguid.h>
#include <strmif.h>
#include <control.h>
#include <uuids.h>
#include <amvideo.h>
#include <dvdmedia.h>
