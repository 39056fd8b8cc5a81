#include "streams.h"

LONG CBaseObject::m_cObjects = 0;
LONG CClassFactory::m_cLocked = 0;

CBaseObject::CBaseObject(LPCTSTR) { InterlockedIncrement(&m_cObjects); }
CBaseObject::~CBaseObject() { InterlockedDecrement(&m_cObjects); }

CUnknown::CUnknown(LPCTSTR pName, LPUNKNOWN pUnk)
    : CBaseObject(pName), m_cRef(0),
      m_pUnknown(pUnk ? pUnk : reinterpret_cast<LPUNKNOWN>(static_cast<PNDUNKNOWN>(this)))
{
}

CUnknown::CUnknown(LPCTSTR pName, LPUNKNOWN pUnk, HRESULT*) : CUnknown(pName, pUnk) {}

STDMETHODIMP CUnknown::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown))
        return GetInterface(reinterpret_cast<LPUNKNOWN>(static_cast<PNDUNKNOWN>(this)), ppv);
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CUnknown::NonDelegatingAddRef() { return InterlockedIncrement(&m_cRef); }

STDMETHODIMP_(ULONG) CUnknown::NonDelegatingRelease()
{
    LONG n = InterlockedDecrement(&m_cRef);
    if (n == 0) {
        // Guard against a release during destruction bouncing back into delete.
        m_cRef = 1;
        delete this;
        return 0;
    }
    return n;
}

STDAPI GetInterface(LPUNKNOWN pUnk, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = pUnk;
    pUnk->AddRef();
    return S_OK;
}

HINSTANCE g_hInst = nullptr;
static const char s_moduleAnchor = 0; // any object of the library names its module

HINSTANCE BaseClassesModule()
{
    if (!g_hInst) {
        HMODULE module = nullptr;
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                               GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           &s_moduleAnchor, &module);
        g_hInst = module;
    }
    return g_hInst;
}

CClassFactory::CClassFactory(const CFactoryTemplate* pTemplate)
    : CBaseObject(NAME("Class factory")), m_pTemplate(pTemplate), m_cRef(0)
{
}

STDMETHODIMP CClassFactory::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
        *ppv = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CClassFactory::AddRef() { return InterlockedIncrement(&m_cRef); }

STDMETHODIMP_(ULONG) CClassFactory::Release()
{
    LONG n = InterlockedDecrement(&m_cRef);
    if (n == 0)
        delete this;
    return n;
}

STDMETHODIMP CClassFactory::CreateInstance(LPUNKNOWN pUnkOuter, REFIID riid, void** pv)
{
    if (!pv)
        return E_POINTER;
    *pv = nullptr;
    // An aggregating caller may only ask for the inner unknown.
    if (pUnkOuter && !IsEqualIID(riid, IID_IUnknown))
        return E_NOINTERFACE;
    HRESULT hr = S_OK;
    CUnknown* obj = m_pTemplate->CreateInstance(pUnkOuter, &hr);
    if (!obj)
        return FAILED(hr) ? hr : E_OUTOFMEMORY;
    if (FAILED(hr)) {
        delete obj;
        return hr;
    }
    obj->NonDelegatingAddRef();
    hr = obj->NonDelegatingQueryInterface(riid, pv);
    obj->NonDelegatingRelease();
    return hr;
}

STDMETHODIMP CClassFactory::LockServer(BOOL fLock)
{
    if (fLock)
        InterlockedIncrement(&m_cLocked);
    else
        InterlockedDecrement(&m_cLocked);
    return S_OK;
}
