// Server entry points of a filter module over its template table g_Templates.
#include "streams.h"
#include "server_path.h"
#include <new>

STDAPI DllGetClassObject(REFCLSID rClsID, REFIID riid, void** pv)
{
    if (!pv)
        return E_POINTER;
    *pv = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory))
        return E_NOINTERFACE;
    for (int i = 0; i < g_cTemplates; ++i) {
        if (g_Templates[i].IsClassID(rClsID)) {
            CClassFactory* factory = new (std::nothrow) CClassFactory(&g_Templates[i]);
            if (!factory)
                return E_OUTOFMEMORY;
            factory->AddRef();
            HRESULT hr = factory->QueryInterface(riid, pv);
            factory->Release();
            return hr;
        }
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow()
{
    return (CClassFactory::IsLocked() || CBaseObject::ObjectsActive() > 0) ? S_FALSE : S_OK;
}

STDAPI AMovieDllRegisterServer2(BOOL bRegister)
{
    const std::string path = ServerModulePath(BaseClassesModule());
    HRESULT result = S_OK;
    for (int i = 0; i < g_cTemplates; ++i) {
        const CFactoryTemplate& t = g_Templates[i];
        HRESULT hr;
        if (bRegister) {
            hr = RegisterClassKey(*t.m_ClsID, t.m_Name, path);
            if (SUCCEEDED(hr) && t.m_pAMovieSetup_Filter)
                hr = RegisterFilterEntry(*t.m_ClsID, t.m_Name, FilterDataFromSetup(*t.m_pAMovieSetup_Filter));
        } else {
            hr = t.m_pAMovieSetup_Filter ? UnregisterFilterEntry(*t.m_ClsID) : S_OK;
            HRESULT hr2 = UnregisterClassKey(*t.m_ClsID);
            if (SUCCEEDED(hr))
                hr = hr2;
        }
        if (FAILED(hr) && SUCCEEDED(result))
            result = hr;
    }
    return result;
}

STDAPI AMovieDllRegisterServer() { return AMovieDllRegisterServer2(TRUE); }
STDAPI AMovieDllUnregisterServer() { return AMovieDllRegisterServer2(FALSE); }
