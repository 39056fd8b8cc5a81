// COM object frame: objects with a non-delegating unknown (so they can be aggregated), the
// class-factory template table every filter module supplies, and the live-object count that
// DllCanUnloadNow reads.
#pragma once
#include <windows.h>
#include <objbase.h>

#ifndef INONDELEGATINGUNKNOWN_DEFINED
#define INONDELEGATINGUNKNOWN_DEFINED
struct INonDelegatingUnknown {
    virtual HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID, LPVOID*) = 0;
    virtual ULONG STDMETHODCALLTYPE NonDelegatingAddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE NonDelegatingRelease() = 0;
};
#endif
typedef INonDelegatingUnknown* PNDUNKNOWN;

// Every object of the layer counts itself, so a module knows when it may be unloaded.
class CBaseObject {
public:
    explicit CBaseObject(LPCTSTR pName);
    CBaseObject(const CBaseObject&) = delete;
    CBaseObject& operator=(const CBaseObject&) = delete;
    virtual ~CBaseObject();
    static LONG ObjectsActive() { return m_cObjects; }

private:
    static LONG m_cObjects;
};

class CUnknown : public INonDelegatingUnknown, public CBaseObject {
public:
    CUnknown(LPCTSTR pName, LPUNKNOWN pUnk);
    CUnknown(LPCTSTR pName, LPUNKNOWN pUnk, HRESULT* phr);
    virtual ~CUnknown() {}

    // The outer unknown when aggregated, else this object's own.
    LPUNKNOWN GetOwner() const { return m_pUnknown; }

    STDMETHODIMP NonDelegatingQueryInterface(REFIID, void**) override;
    STDMETHODIMP_(ULONG) NonDelegatingAddRef() override;
    STDMETHODIMP_(ULONG) NonDelegatingRelease() override;

protected:
    volatile LONG m_cRef;

private:
    const LPUNKNOWN m_pUnknown;
};

// Hands out an interface pointer with a reference added.
STDAPI GetInterface(LPUNKNOWN pUnk, void** ppv);

// The IUnknown of a class derived from CUnknown: everything goes to the owner.
#define DECLARE_IUNKNOWN                                                                   \
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override                          \
    {                                                                                      \
        return GetOwner()->QueryInterface(riid, ppv);                                      \
    }                                                                                      \
    STDMETHODIMP_(ULONG) AddRef() override { return GetOwner()->AddRef(); }                \
    STDMETHODIMP_(ULONG) Release() override { return GetOwner()->Release(); }

typedef CUnknown*(CALLBACK* LPFNNewCOMObject)(LPUNKNOWN pUnkOuter, HRESULT* phr);
typedef void(CALLBACK* LPFNInitRoutine)(BOOL bLoading, const CLSID* rclsid);

struct AMOVIESETUP_FILTER;

class CFactoryTemplate {
public:
    const WCHAR* m_Name;
    const CLSID* m_ClsID;
    LPFNNewCOMObject m_lpfnNew;
    LPFNInitRoutine m_lpfnInit;
    const AMOVIESETUP_FILTER* m_pAMovieSetup_Filter;

    BOOL IsClassID(REFCLSID rclsid) const { return IsEqualCLSID(*m_ClsID, rclsid); }
    CUnknown* CreateInstance(LPUNKNOWN pUnk, HRESULT* phr) const { return m_lpfnNew(pUnk, phr); }
};

// Supplied by each module that links the server exports of this library.
extern CFactoryTemplate g_Templates[];
extern int g_cTemplates;

// The module (DLL or program) this library is linked into.
extern HINSTANCE g_hInst;
HINSTANCE BaseClassesModule();

// Class factory over one template entry.
class CClassFactory : public IClassFactory, public CBaseObject {
public:
    explicit CClassFactory(const CFactoryTemplate* pTemplate);
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP CreateInstance(LPUNKNOWN pUnkOuter, REFIID riid, void** pv) override;
    STDMETHODIMP LockServer(BOOL fLock) override;
    static BOOL IsLocked() { return m_cLocked > 0; }

private:
    const CFactoryTemplate* const m_pTemplate;
    LONG m_cRef;
    static LONG m_cLocked;
};

STDAPI DllGetClassObject(REFCLSID rClsID, REFIID riid, void** pv);
STDAPI DllCanUnloadNow();
