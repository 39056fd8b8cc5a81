// Class factories, module lock count, OLE start-up, registration of controls, property
// pages and type libraries.
#include "afxctl.h"
#include "ole_impl.h"
#include "server_path.h"
#include "afxole.h"
#include "afxpriv.h"

//////////////////////////////////////////////////////////////////////////////////////////
// Module state: this copy of the class library belongs to one module.

static LONG g_nLockCount;
static COleObjectFactory* g_pFirstFactory;
static BOOL g_bOleInitialized;
static BOOL g_bContainerEnabled;

// An object of this copy of the library: its address lies inside the module.
static const char g_moduleMarker = 0;

HINSTANCE AFXAPI AfxOleModuleHandle()
{
    HMODULE h = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       &g_moduleMarker, &h);
    return h;
}

void AFXAPI AfxOleLockApp() { InterlockedIncrement(&g_nLockCount); }
void AFXAPI AfxOleUnlockApp() { InterlockedDecrement(&g_nLockCount); }
BOOL AFXAPI AfxOleCanExitApp() { return g_nLockCount == 0; }

BOOL AFXAPI AfxOleInit()
{
    HRESULT hr = OleInitialize(nullptr);
    if (FAILED(hr))
        return FALSE;
    g_bOleInitialized = TRUE;
    AfxGetThreadState()->m_bNeedTerm = TRUE;
    return TRUE;
}

void AFXAPI AfxOleTerm(BOOL bJustRevoke)
{
    if (bJustRevoke || !g_bOleInitialized)
        return;
    g_bOleInitialized = FALSE;
    AfxGetThreadState()->m_bNeedTerm = FALSE;
    OleUninitialize();
}

void AFXAPI AfxEnableControlContainer()
{
    g_bContainerEnabled = TRUE;
    AfxOleRegisterDialogControls(GetModuleHandleA(nullptr));
    if (AfxOleModuleHandle() != GetModuleHandleA(nullptr))
        AfxOleRegisterDialogControls(AfxOleModuleHandle());
}

BOOL AfxOleContainerEnabled() { return g_bContainerEnabled; }

//////////////////////////////////////////////////////////////////////////////////////////
// COleObjectFactory

IMPLEMENT_DYNAMIC(COleObjectFactory, CCmdTarget)

COleObjectFactory::COleObjectFactory(REFCLSID clsid, CRuntimeClass* pRuntimeClass,
                                     BOOL bMultiInstance, LPCTSTR lpszProgID)
    : m_clsid(clsid), m_pRuntimeClass(pRuntimeClass), m_bMultiInstance(bMultiInstance),
      m_lpszProgID(lpszProgID), m_bRegistered(FALSE), m_pNextFactory(g_pFirstFactory)
{
    m_xClassFactory.m_pThis = this;
    g_pFirstFactory = this;
}

COleObjectFactory::~COleObjectFactory()
{
    for (COleObjectFactory** pp = &g_pFirstFactory; *pp; pp = &(*pp)->m_pNextFactory)
        if (*pp == this) {
            *pp = m_pNextFactory;
            break;
        }
}

CCmdTarget* COleObjectFactory::OnCreateObject()
{
    if (!m_pRuntimeClass)
        return nullptr;
    CObject* obj = m_pRuntimeClass->CreateObject();
    CCmdTarget* target = dynamic_cast<CCmdTarget*>(obj);
    if (!target)
        delete obj;
    return target;
}

BOOL COleObjectFactory::UpdateRegistry(BOOL bRegister)
{
    if (!bRegister)
        return AfxOleUnregisterClass(m_clsid, m_lpszProgID);
    // A plain automation class: its name, ProgID and server.
    CString clsid = AfxStringFromCLSID(m_clsid);
    CString key = "CLSID\\" + clsid;
    std::string path = ServerModulePath(AfxOleModuleHandle());
    if (RegSetValueA(HKEY_CLASSES_ROOT, key, REG_SZ, m_lpszProgID ? m_lpszProgID : "", 0) ||
        RegSetValueA(HKEY_CLASSES_ROOT, key + "\\InprocServer32", REG_SZ, path.c_str(), 0))
        return FALSE;
    HKEY k;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key + "\\InprocServer32", 0, KEY_WRITE, &k))
        return FALSE;
    RegSetValueExA(k, "ThreadingModel", 0, REG_SZ, (const BYTE*)"Apartment", 10);
    RegCloseKey(k);
    if (m_lpszProgID && *m_lpszProgID) {
        RegSetValueA(HKEY_CLASSES_ROOT, key + "\\ProgID", REG_SZ, m_lpszProgID, 0);
        RegSetValueA(HKEY_CLASSES_ROOT, CString(m_lpszProgID) + "\\CLSID", REG_SZ, clsid, 0);
    }
    return TRUE;
}

BOOL PASCAL COleObjectFactory::UpdateRegistryAll(BOOL bRegister)
{
    for (COleObjectFactory* f = g_pFirstFactory; f; f = f->m_pNextFactory)
        if (!f->UpdateRegistry(bRegister))
            return FALSE;
    return TRUE;
}

HRESULT PASCAL COleObjectFactory::GetClassObjectAll(REFCLSID rclsid, REFIID riid, LPVOID* ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    for (COleObjectFactory* f = g_pFirstFactory; f; f = f->m_pNextFactory)
        if (IsEqualCLSID(f->m_clsid, rclsid))
            return f->m_xClassFactory.QueryInterface(riid, ppv);
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT COleObjectFactory::CreateInstance(IUnknown* pOuter, REFIID riid, LPVOID* ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (pOuter)
        return CLASS_E_NOAGGREGATION;
    CCmdTarget* obj = nullptr;
    try {
        obj = OnCreateObject();
    } catch (CException* e) {
        e->Delete();
        return E_OUTOFMEMORY;
    }
    if (!obj)
        return E_OUTOFMEMORY;
    // The new object holds one reference of its own; the caller's replaces it.
    HRESULT hr = (HRESULT)obj->InternalQueryInterface(&riid, ppv);
    obj->InternalRelease();
    return hr;
}

// The factories are static objects of the module: their references only lock the module.
STDMETHODIMP_(ULONG) COleObjectFactory::XClassFactory::AddRef()
{
    AfxOleLockApp();
    return 2;
}
STDMETHODIMP_(ULONG) COleObjectFactory::XClassFactory::Release()
{
    AfxOleUnlockApp();
    return 1;
}
STDMETHODIMP COleObjectFactory::XClassFactory::QueryInterface(REFIID iid, LPVOID* ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory) ||
        IsEqualIID(iid, IID_IClassFactory2)) {
        *ppv = static_cast<IClassFactory2*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}
STDMETHODIMP COleObjectFactory::XClassFactory::CreateInstance(IUnknown* pOuter, REFIID riid,
                                                              void** ppv)
{
    return m_pThis->CreateInstance(pOuter, riid, ppv);
}
STDMETHODIMP COleObjectFactory::XClassFactory::LockServer(BOOL fLock)
{
    if (fLock)
        AfxOleLockApp();
    else
        AfxOleUnlockApp();
    return S_OK;
}
STDMETHODIMP COleObjectFactory::XClassFactory::GetLicInfo(LICINFO* pInfo)
{
    if (!pInfo)
        return E_POINTER;
    pInfo->cbLicInfo = sizeof *pInfo;
    pInfo->fRuntimeKeyAvail = FALSE;
    pInfo->fLicVerified = TRUE;
    return S_OK;
}
STDMETHODIMP COleObjectFactory::XClassFactory::RequestLicKey(DWORD, BSTR*)
{
    return CLASS_E_NOTLICENSED;
}
STDMETHODIMP COleObjectFactory::XClassFactory::CreateInstanceLic(IUnknown* pOuter, IUnknown*,
                                                                 REFIID riid, BSTR, void** ppv)
{
    return m_pThis->CreateInstance(pOuter, riid, ppv);
}

HRESULT AFXAPI AfxDllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv)
{
    return COleObjectFactory::GetClassObjectAll(rclsid, riid, ppv);
}

HRESULT AFXAPI AfxDllCanUnloadNow() { return g_nLockCount == 0 ? S_OK : S_FALSE; }

//////////////////////////////////////////////////////////////////////////////////////////
// Registration

CString AfxStringFromCLSID(REFCLSID clsid)
{
    WCHAR wide[64] = {};
    StringFromGUID2(clsid, wide, 64);
    char text[64] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return CString(text);
}

namespace {

bool SetKey(const CString& key, LPCSTR value, LPCSTR name = nullptr)
{
    HKEY k;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr))
        return false;
    LONG rc = value ? RegSetValueExA(k, name, 0, REG_SZ, (const BYTE*)value,
                                     (DWORD)strlen(value) + 1)
                    : ERROR_SUCCESS;
    RegCloseKey(k);
    return rc == ERROR_SUCCESS;
}

CString ResourceString(HINSTANCE hInstance, UINT id)
{
    char text[512] = {};
    LoadStringA(hInstance, id, text, sizeof text);
    return CString(text);
}

// Registers the server of a class in this module.
bool RegisterServer(const CString& key, int nRegFlags)
{
    std::string path = ServerModulePath(AfxOleModuleHandle());
    if (path.empty() || !SetKey(key + "\\InprocServer32", path.c_str()))
        return false;
    // Every class here runs in the apartment of the thread that made it.
    const char* model = (nRegFlags & afxRegFreeThreading) ? "Both" : "Apartment";
    return SetKey(key + "\\InprocServer32", model, "ThreadingModel");
}

} // namespace

BOOL AFXAPI AfxOleRegisterControlClass(HINSTANCE hInstance, REFCLSID clsid, LPCTSTR pszProgID,
                                       UINT idTypeName, UINT idBitmap, int nRegFlags,
                                       DWORD dwMiscStatus, REFGUID tlid, WORD wVerMajor,
                                       WORD wVerMinor)
{
    if (!hInstance)
        hInstance = AfxOleModuleHandle();
    CString clsidText = AfxStringFromCLSID(clsid);
    CString key = "CLSID\\" + clsidText;
    CString typeName = ResourceString(hInstance, idTypeName);
    CString misc, version, bitmap;
    misc.Format("%lu", (unsigned long)dwMiscStatus);
    version.Format("%u.%u", wVerMajor, wVerMinor);
    std::string path = ServerModulePath(AfxOleModuleHandle());
    bitmap.Format("%s, %u", path.c_str(), idBitmap);
    bool ok = SetKey(key, typeName) && RegisterServer(key, nRegFlags) &&
              SetKey(key + "\\Control", nullptr) && SetKey(key + "\\MiscStatus", "0") &&
              SetKey(key + "\\MiscStatus\\1", misc) &&
              SetKey(key + "\\TypeLib", AfxStringFromCLSID(tlid)) &&
              SetKey(key + "\\Version", version) && SetKey(key + "\\ToolboxBitmap32", bitmap);
    if (ok && pszProgID && *pszProgID) {
        ok = SetKey(key + "\\ProgID", pszProgID) && SetKey(pszProgID, typeName) &&
             SetKey(CString(pszProgID) + "\\CLSID", clsidText);
        if (ok && (nRegFlags & afxRegInsertable))
            ok = SetKey(CString(pszProgID) + "\\Insertable", nullptr);
    }
    if (ok && (nRegFlags & afxRegInsertable))
        ok = SetKey(key + "\\Insertable", nullptr);
    return ok;
}

BOOL AFXAPI AfxOleRegisterPropertyPageClass(HINSTANCE hInstance, REFCLSID clsid,
                                            UINT idTypeName, int nRegFlags)
{
    if (!hInstance)
        hInstance = AfxOleModuleHandle();
    CString key = "CLSID\\" + AfxStringFromCLSID(clsid);
    return SetKey(key, ResourceString(hInstance, idTypeName)) && RegisterServer(key, nRegFlags);
}

BOOL AFXAPI AfxOleUnregisterClass(REFCLSID clsid, LPCTSTR pszProgID)
{
    CString key = "CLSID\\" + AfxStringFromCLSID(clsid);
    LONG rc = RegDeleteTreeA(HKEY_CLASSES_ROOT, key);
    BOOL ok = rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
    if (pszProgID && *pszProgID) {
        rc = RegDeleteTreeA(HKEY_CLASSES_ROOT, pszProgID);
        ok = ok && (rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND);
    }
    return ok;
}

// The type library in this module's resources (TYPELIB 1). The loader reads it from the
// module by its module name; the .so file itself is not a PE file it can read.
static HRESULT LoadModuleTypeLib(LPTYPELIB* ppTypeLib, std::string* pPath)
{
    char name[MAX_PATH + 8] = {};
    DWORD n = GetModuleFileNameA(AfxOleModuleHandle(), name, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return TYPE_E_CANTLOADLIBRARY;
    if (pPath)
        *pPath = name;
    WCHAR wide[MAX_PATH + 8];
    MultiByteToWideChar(CP_ACP, 0, name, -1, wide, MAX_PATH + 8);
    return LoadTypeLibEx(wide, REGKIND_NONE, ppTypeLib);
}

HRESULT AFXAPI AfxOleLoadTypeLib(REFGUID tlid, WORD wVerMajor, WORD wVerMinor, LCID lcid,
                                 LPTYPELIB* ppTypeLib)
{
    if (!ppTypeLib)
        return E_POINTER;
    *ppTypeLib = nullptr;
    if (SUCCEEDED(LoadRegTypeLib(tlid, wVerMajor, wVerMinor, lcid, ppTypeLib)))
        return S_OK;
    return LoadModuleTypeLib(ppTypeLib, nullptr);
}

BOOL AFXAPI AfxOleRegisterTypeLib(HINSTANCE, REFGUID tlid, LPCTSTR, LPCTSTR pszHelpDir)
{
    LPTYPELIB lib = nullptr;
    std::string path;
    if (FAILED(LoadModuleTypeLib(&lib, &path)))
        return FALSE;
    TLIBATTR* attr = nullptr;
    BOOL ok = SUCCEEDED(lib->GetLibAttr(&attr)) && IsEqualGUID(attr->guid, tlid);
    if (attr)
        lib->ReleaseTLibAttr(attr);
    if (ok) {
        WCHAR widePath[MAX_PATH + 8], wideHelp[MAX_PATH + 8];
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH + 8);
        if (pszHelpDir)
            MultiByteToWideChar(CP_ACP, 0, pszHelpDir, -1, wideHelp, MAX_PATH + 8);
        ok = SUCCEEDED(RegisterTypeLib(lib, widePath, pszHelpDir ? wideHelp : nullptr));
    }
    lib->Release();
    return ok;
}

BOOL AFXAPI AfxOleUnregisterTypeLib(REFGUID tlid, WORD wVerMajor, WORD wVerMinor, LCID lcid)
{
    if (wVerMajor == 0 && wVerMinor == 0) {
        // The version in this module's own type library.
        LPTYPELIB lib = nullptr;
        if (SUCCEEDED(LoadModuleTypeLib(&lib, nullptr))) {
            TLIBATTR* attr = nullptr;
            if (SUCCEEDED(lib->GetLibAttr(&attr))) {
                wVerMajor = attr->wMajorVerNum;
                wVerMinor = attr->wMinorVerNum;
                lib->ReleaseTLibAttr(attr);
            }
            lib->Release();
        }
    }
    HRESULT hr = UnRegisterTypeLib(tlid, wVerMajor, wVerMinor, lcid, SYS_WIN32);
    if (hr == TYPE_E_REGISTRYACCESS || hr == TYPE_E_LIBNOTREGISTERED)
        return TRUE; // nothing registered
    return SUCCEEDED(hr) || SUCCEEDED(UnRegisterTypeLib(tlid, wVerMajor, wVerMinor, lcid, SYS_WIN64));
}

//////////////////////////////////////////////////////////////////////////////////////////
// COleControlModule

IMPLEMENT_DYNAMIC(COleControlModule, CWinApp)

BOOL COleControlModule::InitInstance() { return CWinApp::InitInstance(); }
int COleControlModule::ExitInstance() { return CWinApp::ExitInstance(); }
