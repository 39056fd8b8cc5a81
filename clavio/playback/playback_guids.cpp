// The Deinterlacer's class and interface identifiers, defined once for the engine.
#include <windows.h>
#include <initguid.h>
#include "ideinterlace.h"
