// The Clavio module's self-registration: the type library, then every class.
#include "afxctl.h"
#include "clavio_ids.h"

extern "C" HRESULT WINAPI DllRegisterServer()
{
    if (!AfxOleRegisterTypeLib(AfxOleModuleHandle(), LIBID_ClavioLib))
        return SELFREG_E_TYPELIB;
    if (!COleObjectFactoryEx::UpdateRegistryAll(TRUE))
        return SELFREG_E_CLASS;
    return S_OK;
}

extern "C" HRESULT WINAPI DllUnregisterServer()
{
    if (!AfxOleUnregisterTypeLib(LIBID_ClavioLib))
        return SELFREG_E_TYPELIB;
    if (!COleObjectFactoryEx::UpdateRegistryAll(FALSE))
        return SELFREG_E_CLASS;
    return S_OK;
}
