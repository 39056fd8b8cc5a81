// Default registration exports; a module that needs more defines its own, calling
// AMovieDllRegisterServer2, and this file is then not linked in.
#include "streams.h"

STDAPI DllRegisterServer() { return AMovieDllRegisterServer2(TRUE); }
STDAPI DllUnregisterServer() { return AMovieDllRegisterServer2(FALSE); }
