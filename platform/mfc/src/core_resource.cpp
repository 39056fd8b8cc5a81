// The resource module of the core classes (CString::LoadString and friends).
#include "afx.h"

// Weak: the window layer defines the application's resource handle and replaces this one.
// Alone, the core answers the module (EXE or DLL) that its code is linked into.
static const char s_anchor = 0;  // an address inside this module

extern "C++" __attribute__((weak)) HINSTANCE AFXAPI AfxGetResourceHandle() {
  HMODULE hModule = NULL;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                              GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          &s_anchor, &hModule))
    hModule = GetModuleHandleA(NULL);
  return hModule;
}
