// Instantiates the module's own identifiers (the platform's come from the base classes).
#include <windows.h>
#include <objbase.h>
#include <strmif.h>
#include <initguid.h>
#include "ideinterlace.h"
