// The class-object exports of a module whose classes come from the class library's
// factories. Kept alone so that only modules that export them link them.
#include "afxdisp.h"

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv)
{
    return AfxDllGetClassObject(rclsid, riid, ppv);
}

extern "C" HRESULT WINAPI DllCanUnloadNow() { return AfxDllCanUnloadNow(); }
