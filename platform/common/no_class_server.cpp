// The four server exports of a module that serves no class yet. It must not pretend:
// every class request fails with CLASS_E_CLASSNOTAVAILABLE, and registration has nothing
// to write. A module links this in place of its class factory until it has classes.
#include <windows.h>
#include <objbase.h>

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID, REFIID, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT WINAPI DllCanUnloadNow() { return S_OK; }
extern "C" HRESULT WINAPI DllRegisterServer() { return S_OK; }
extern "C" HRESULT WINAPI DllUnregisterServer() { return S_OK; }
