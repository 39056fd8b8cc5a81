// Dispatch maps: IDispatch::Invoke over the map tables, event-sink delivery, the dispatch
// exception and the calling side (InvokeHelper, GetProperty, SetProperty).
#include "afxdisp.h"
#include "ole_impl.h"
#include <vector>

namespace AfxDisp {

BSTR AnsiToBstr(LPCSTR psz)
{
    if (!psz)
        return SysAllocStringLen(nullptr, 0);
    int len = (int)strlen(psz);
    int n = MultiByteToWideChar(CP_ACP, 0, psz, len, nullptr, 0);
    BSTR b = SysAllocStringLen(nullptr, n);
    if (b && n)
        MultiByteToWideChar(CP_ACP, 0, psz, len, b, n);
    return b;
}

CString BstrToAnsi(BSTR bstr)
{
    CString s;
    int len = (int)SysStringLen(bstr);
    if (!len)
        return s;
    int n = WideCharToMultiByte(CP_ACP, 0, bstr, len, nullptr, 0, nullptr, nullptr);
    LPSTR p = s.GetBufferSetLength(n);
    WideCharToMultiByte(CP_ACP, 0, bstr, len, p, n, nullptr, nullptr);
    s.ReleaseBuffer(n);
    return s;
}

HRESULT Coerce(VARIANT* dst, const VARIANT* src, VARTYPE vt)
{
    VariantInit(dst);
    if (vt == VT_VARIANT || vt == 0)
        return VariantCopyInd(dst, const_cast<VARIANT*>(src));
    if (vt == VT_MFCWBSTR)
        vt = VT_BSTR;
    if (vt & VT_MFCBYREF)
        return DISP_E_TYPEMISMATCH; // by-reference parameters are not coerced
    // A missing optional argument cannot become a value.
    if (V_VT(src) == VT_ERROR && V_ERROR(src) == DISP_E_PARAMNOTFOUND)
        return DISP_E_PARAMNOTFOUND;
    return VariantChangeType(dst, const_cast<VARIANT*>(src), 0, vt);
}

HRESULT ResultFromVariant(VARIANT* natural, VARIANT* pResult, VARTYPE vt)
{
    if (!pResult) {
        VariantClear(natural);
        return S_OK;
    }
    VariantInit(pResult);
    if (vt == VT_EMPTY || vt == VT_VARIANT || vt == V_VT(natural)) {
        *pResult = *natural; // ownership moves
        return S_OK;
    }
    HRESULT hr = VariantChangeType(pResult, natural, 0, vt == VT_MFCWBSTR ? VT_BSTR : vt);
    VariantClear(natural);
    return hr;
}

} // namespace AfxDisp

DISPID AfxDispatchEntryId(const AFX_DISPMAP_ENTRY* pEntry, UINT nIndex, UINT nDepth)
{
    if (pEntry->lDispID != DISPID_UNKNOWN)
        return pEntry->lDispID;
    return (DISPID)MAKELONG(nIndex + 1, nDepth);
}

const AFX_DISPMAP_ENTRY* AfxDispatchFindEntry(const AFX_DISPMAP* pMap, DISPID dispid)
{
    for (UINT depth = 0; pMap; ++depth) {
        for (UINT i = 0; pMap->lpEntries && pMap->lpEntries[i].lpszName; ++i)
            if (AfxDispatchEntryId(&pMap->lpEntries[i], i, depth) == dispid)
                return &pMap->lpEntries[i];
        pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr;
    }
    return nullptr;
}

HRESULT AfxDispatchGetIDsOfNames(CCmdTarget* pThis, LPOLESTR* names, UINT cNames,
                                 DISPID* rgDispId)
{
    if (!names || !rgDispId || !cNames)
        return E_INVALIDARG;
    for (UINT k = 0; k < cNames; ++k)
        rgDispId[k] = DISPID_UNKNOWN;
    BSTR b = SysAllocString(names[0]);
    CString name = AfxDisp::BstrToAnsi(b);
    SysFreeString(b);
    const AFX_DISPMAP* pMap = AfxOleMapAccess::Dispatch(pThis);
    for (UINT depth = 0; pMap; ++depth) {
        for (UINT i = 0; pMap->lpEntries && pMap->lpEntries[i].lpszName; ++i)
            if (lstrcmpiA(pMap->lpEntries[i].lpszName, name) == 0) {
                rgDispId[0] = AfxDispatchEntryId(&pMap->lpEntries[i], i, depth);
                // Named arguments are not supported: the other names stay unknown.
                return cNames == 1 ? S_OK : DISP_E_UNKNOWNNAME;
            }
        pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr;
    }
    return DISP_E_UNKNOWNNAME;
}

static void FillExcepInfo(EXCEPINFO* pInfo, COleDispatchException* e)
{
    if (!pInfo)
        return;
    memset(pInfo, 0, sizeof *pInfo);
    pInfo->wCode = e->m_wCode;
    pInfo->scode = e->m_wCode ? 0 : (e->m_scError ? e->m_scError : E_UNEXPECTED);
    if (!e->m_strSource.IsEmpty())
        pInfo->bstrSource = AfxDisp::AnsiToBstr(e->m_strSource);
    if (!e->m_strDescription.IsEmpty())
        pInfo->bstrDescription = AfxDisp::AnsiToBstr(e->m_strDescription);
    if (!e->m_strHelpFile.IsEmpty())
        pInfo->bstrHelpFile = AfxDisp::AnsiToBstr(e->m_strHelpFile);
    pInfo->dwHelpContext = e->m_dwHelpContext;
}

HRESULT AfxDispatchInvoke(CCmdTarget* pThis, DISPID dispid, WORD wFlags, DISPPARAMS* pParams,
                          VARIANT* pResult, EXCEPINFO* pExcepInfo, UINT* puArgErr)
{
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    if (!pParams)
        pParams = &none;
    if (pParams->cArgs && !pParams->rgvarg)
        return E_INVALIDARG;
    const AFX_DISPMAP_ENTRY* e = AfxDispatchFindEntry(AfxOleMapAccess::Dispatch(pThis), dispid);
    if (!e)
        return DISP_E_MEMBERNOTFOUND;
    bool isProperty = e->lpvtsParams == nullptr;
    AFX_DISPINVOKE pfn;
    if (wFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        if (!isProperty || !e->pfnSet)
            return DISP_E_MEMBERNOTFOUND;
        if (pParams->cArgs != 1)
            return DISP_E_BADPARAMCOUNT;
        if (pParams->cNamedArgs > 1 ||
            (pParams->cNamedArgs == 1 && pParams->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT))
            return DISP_E_PARAMNOTOPTIONAL;
        pfn = e->pfnSet;
        pResult = nullptr;
    } else if (wFlags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) {
        if (pParams->cNamedArgs)
            return DISP_E_NONAMEDARGS;
        if (isProperty && pParams->cArgs)
            return DISP_E_BADPARAMCOUNT;
        pfn = e->pfnGet;
    } else {
        return DISP_E_MEMBERNOTFOUND;
    }
    if (!pfn)
        return DISP_E_MEMBERNOTFOUND;
    VARIANT scratch;
    VariantInit(&scratch);
    HRESULT hr;
    try {
        hr = pfn(pThis, e, pParams, pResult ? pResult : &scratch, puArgErr);
    } catch (COleDispatchException* ex) {
        FillExcepInfo(pExcepInfo, ex);
        ex->Delete();
        hr = DISP_E_EXCEPTION;
    } catch (CException* ex) {
        if (pExcepInfo) {
            memset(pExcepInfo, 0, sizeof *pExcepInfo);
            pExcepInfo->scode = ex->IsKindOf(RUNTIME_CLASS(CMemoryException)) ? E_OUTOFMEMORY
                                                                               : E_UNEXPECTED;
            TCHAR text[256] = {};
            if (ex->GetErrorMessage(text, 256))
                pExcepInfo->bstrDescription = AfxDisp::AnsiToBstr(text);
        }
        ex->Delete();
        hr = DISP_E_EXCEPTION;
    }
    VariantClear(&scratch);
    return hr;
}

BOOL AfxDispatchEventToSink(CCmdTarget* pTarget, UINT nCtrlID, DISPID dispid,
                            DISPPARAMS* pParams)
{
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    if (!pParams)
        pParams = &none;
    for (const AFX_EVENTSINKMAP* pMap = AfxOleMapAccess::EventSink(pTarget); pMap;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_EVENTSINKMAP_ENTRY* e = pMap->lpEntries; e && e->pfnInvoke; ++e) {
            if (e->dispid != dispid || nCtrlID < e->nCtrlIDFirst || nCtrlID > e->nCtrlIDLast)
                continue;
            BOOL handled = FALSE;
            HRESULT hr = e->pfnInvoke(pTarget, e, nCtrlID, pParams, &handled);
            if (SUCCEEDED(hr) && handled)
                return TRUE;
        }
    }
    return FALSE;
}

//////////////////////////////////////////////////////////////////////////////////////////
// COleDispatchException

IMPLEMENT_DYNAMIC(COleDispatchException, CException)

COleDispatchException::COleDispatchException(LPCTSTR lpszDescription, UINT nHelpID, WORD wCode)
    : m_wCode(wCode), m_scError(0), m_strDescription(lpszDescription ? lpszDescription : ""),
      m_dwHelpContext(nHelpID)
{
}

BOOL COleDispatchException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError,
                                            PUINT pnHelpContext)
{
    if (pnHelpContext)
        *pnHelpContext = m_dwHelpContext;
    if (!lpszError || !nMaxError)
        return FALSE;
    lstrcpynA(lpszError, m_strDescription, (int)nMaxError);
    return TRUE;
}

void AFXAPI AfxThrowOleDispatchException(WORD wCode, LPCTSTR lpszDescription, UINT nHelpID)
{
    throw new COleDispatchException(lpszDescription, nHelpID, wCode);
}

void AFXAPI AfxThrowOleDispatchException(WORD wCode, UINT nDescriptionID, UINT nHelpID)
{
    CString text;
    text.LoadString(nDescriptionID);
    throw new COleDispatchException(text, nHelpID == (UINT)-1 ? nDescriptionID : nHelpID, wCode);
}

void AFXAPI AfxThrowOleDispatchFromResult(HRESULT hr, EXCEPINFO* pInfo)
{
    COleDispatchException* e;
    if (hr == DISP_E_EXCEPTION && pInfo) {
        if (pInfo->pfnDeferredFillIn)
            pInfo->pfnDeferredFillIn(pInfo);
        e = new COleDispatchException(nullptr, pInfo->dwHelpContext, pInfo->wCode);
        e->m_scError = pInfo->wCode ? 0 : pInfo->scode;
        if (pInfo->bstrSource)
            e->m_strSource = AfxDisp::BstrToAnsi(pInfo->bstrSource);
        if (pInfo->bstrDescription)
            e->m_strDescription = AfxDisp::BstrToAnsi(pInfo->bstrDescription);
        if (pInfo->bstrHelpFile)
            e->m_strHelpFile = AfxDisp::BstrToAnsi(pInfo->bstrHelpFile);
        SysFreeString(pInfo->bstrSource);
        SysFreeString(pInfo->bstrDescription);
        SysFreeString(pInfo->bstrHelpFile);
    } else {
        e = new COleDispatchException(nullptr, 0, 0);
        e->m_scError = hr;
        char text[256];
        if (FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           (DWORD)hr, 0, text, sizeof text, nullptr))
            e->m_strDescription = text;
    }
    throw e;
}


namespace AfxDisp {

HRESULT BuildArgs(const BYTE* pbParamInfo, va_list argList, std::vector<VARIANT>& args,
                  std::vector<bool>& owned)
{
    UINT n = pbParamInfo ? (UINT)strlen((LPCSTR)pbParamInfo) : 0;
    args.assign(n, VARIANT());
    owned.assign(n, false);
    // rgvarg holds the last argument first.
    for (UINT i = 0; i < n; ++i) {
        VARIANT* v = &args[n - 1 - i];
        VariantInit(v);
        VARTYPE vt = pbParamInfo[i];
        if (vt & VT_MFCBYREF) {
            V_VT(v) = (VARTYPE)((vt & ~VT_MFCBYREF) | VT_BYREF);
            V_BYREF(v) = va_arg(argList, void*);
            continue;
        }
        V_VT(v) = vt;
        switch (vt) {
        case VT_UI1: V_UI1(v) = (BYTE)va_arg(argList, int); break;
        case VT_I2: V_I2(v) = (SHORT)va_arg(argList, int); break;
        case VT_I4: V_I4(v) = (LONG)va_arg(argList, int); break;
        case VT_I8: V_I8(v) = va_arg(argList, LONGLONG); break;
        case VT_R4: V_R4(v) = (float)va_arg(argList, double); break;
        case VT_R8: V_R8(v) = va_arg(argList, double); break;
        case VT_DATE: V_DATE(v) = va_arg(argList, DATE); break;
        case VT_CY: V_CY(v) = *va_arg(argList, CY*); break;
        case VT_ERROR: V_ERROR(v) = va_arg(argList, SCODE); break;
        case VT_BOOL: V_BOOL(v) = va_arg(argList, int) ? VARIANT_TRUE : VARIANT_FALSE; break;
        case VT_BSTR:
            V_BSTR(v) = AnsiToBstr(va_arg(argList, LPCSTR));
            owned[n - 1 - i] = true;
            break;
        case VT_MFCWBSTR:
            V_VT(v) = VT_BSTR;
            V_BSTR(v) = SysAllocString(va_arg(argList, LPCOLESTR));
            owned[n - 1 - i] = true;
            break;
        case VT_DISPATCH: V_DISPATCH(v) = va_arg(argList, LPDISPATCH); break;
        case VT_UNKNOWN: V_UNKNOWN(v) = va_arg(argList, LPUNKNOWN); break;
        case VT_VARIANT: *v = *va_arg(argList, const VARIANT*); break;
        default:
            FreeArgs(args, owned);
            return DISP_E_BADVARTYPE;
        }
    }
    return S_OK;
}

void FreeArgs(std::vector<VARIANT>& args, std::vector<bool>& owned)
{
    for (size_t k = 0; k < args.size(); ++k)
        if (owned[k])
            VariantClear(&args[k]);
    args.clear();
    owned.clear();
}

} // namespace AfxDisp

//////////////////////////////////////////////////////////////////////////////////////////
// Calling side

void AFXAPI AfxDispatchInvokeHelperV(LPDISPATCH lpDispatch, DISPID dwDispID, WORD wFlags,
                                     VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo,
                                     va_list argList)
{
    if (!lpDispatch)
        AfxThrowOleDispatchFromResult(E_POINTER, nullptr);
    std::vector<VARIANT> args;
    std::vector<bool> owned;
    HRESULT hrArgs = AfxDisp::BuildArgs(pbParamInfo, argList, args, owned);
    if (FAILED(hrArgs))
        AfxThrowOleDispatchFromResult(hrArgs, nullptr);
    UINT n = (UINT)args.size();
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS dp = {n ? args.data() : nullptr, nullptr, n, 0};
    if (wFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        dp.rgdispidNamedArgs = &named;
        dp.cNamedArgs = 1;
    }
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO info;
    memset(&info, 0, sizeof info);
    UINT argErr = 0;
    HRESULT hr = lpDispatch->Invoke(dwDispID, IID_NULL, 0, wFlags, &dp,
                                    vtRet == VT_EMPTY ? nullptr : &result, &info, &argErr);
    AfxDisp::FreeArgs(args, owned);
    if (FAILED(hr)) {
        VariantClear(&result);
        AfxThrowOleDispatchFromResult(hr, &info);
    }
    if (vtRet == VT_EMPTY || !pvRet) {
        VariantClear(&result);
        return;
    }
    if (vtRet == VT_VARIANT) {
        *(VARIANT*)pvRet = result;
        return;
    }
    VARIANT conv;
    VariantInit(&conv);
    hr = VariantChangeType(&conv, &result, 0, vtRet == VT_MFCWBSTR ? VT_BSTR : vtRet);
    VariantClear(&result);
    if (FAILED(hr))
        AfxThrowOleDispatchFromResult(hr, nullptr);
    switch (vtRet) {
    case VT_UI1: *(BYTE*)pvRet = V_UI1(&conv); break;
    case VT_I2: *(SHORT*)pvRet = V_I2(&conv); break;
    case VT_I4: *(LONG*)pvRet = V_I4(&conv); break;
    case VT_I8: *(LONGLONG*)pvRet = V_I8(&conv); break;
    case VT_R4: *(float*)pvRet = V_R4(&conv); break;
    case VT_R8: *(double*)pvRet = V_R8(&conv); break;
    case VT_DATE: *(DATE*)pvRet = V_DATE(&conv); break;
    case VT_CY: *(CY*)pvRet = V_CY(&conv); break;
    case VT_ERROR: *(SCODE*)pvRet = V_ERROR(&conv); break;
    case VT_BOOL: *(BOOL*)pvRet = V_BOOL(&conv) != 0; break;
    // A string result lands in a CString, as the wrappers expect.
    case VT_BSTR: *(CString*)pvRet = AfxDisp::BstrToAnsi(V_BSTR(&conv)); break;
    case VT_MFCWBSTR: *(BSTR*)pvRet = V_BSTR(&conv); V_VT(&conv) = VT_EMPTY; break;
    case VT_DISPATCH: *(LPDISPATCH*)pvRet = V_DISPATCH(&conv); V_VT(&conv) = VT_EMPTY; break;
    case VT_UNKNOWN: *(LPUNKNOWN*)pvRet = V_UNKNOWN(&conv); V_VT(&conv) = VT_EMPTY; break;
    default: VariantClear(&conv); AfxThrowOleDispatchFromResult(DISP_E_BADVARTYPE, nullptr);
    }
    VariantClear(&conv);
}

//////////////////////////////////////////////////////////////////////////////////////////
// COleDispatchDriver

COleDispatchDriver::COleDispatchDriver() : m_lpDispatch(nullptr), m_bAutoRelease(TRUE) {}

COleDispatchDriver::COleDispatchDriver(LPDISPATCH lpDispatch, BOOL bAutoRelease)
    : m_lpDispatch(lpDispatch), m_bAutoRelease(bAutoRelease)
{
}

COleDispatchDriver::COleDispatchDriver(const COleDispatchDriver& src)
    : m_lpDispatch(src.m_lpDispatch), m_bAutoRelease(TRUE)
{
    if (m_lpDispatch)
        m_lpDispatch->AddRef();
}

COleDispatchDriver::~COleDispatchDriver() { ReleaseDispatch(); }

const COleDispatchDriver& COleDispatchDriver::operator=(const COleDispatchDriver& src)
{
    if (this != &src) {
        if (src.m_lpDispatch)
            src.m_lpDispatch->AddRef();
        ReleaseDispatch();
        m_lpDispatch = src.m_lpDispatch;
        m_bAutoRelease = TRUE;
    }
    return *this;
}

void COleDispatchDriver::AttachDispatch(LPDISPATCH lpDispatch, BOOL bAutoRelease)
{
    ReleaseDispatch();
    m_lpDispatch = lpDispatch;
    m_bAutoRelease = bAutoRelease;
}

LPDISPATCH COleDispatchDriver::DetachDispatch()
{
    LPDISPATCH p = m_lpDispatch;
    m_lpDispatch = nullptr;
    return p;
}

void COleDispatchDriver::ReleaseDispatch()
{
    if (m_lpDispatch && m_bAutoRelease)
        m_lpDispatch->Release();
    m_lpDispatch = nullptr;
}

BOOL COleDispatchDriver::CreateDispatch(REFCLSID clsid, COleException* pError)
{
    ReleaseDispatch();
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IDispatch,
                                  (void**)&m_lpDispatch);
    if (FAILED(hr)) {
        m_lpDispatch = nullptr;
        if (pError)
            pError->m_sc = hr;
        return FALSE;
    }
    m_bAutoRelease = TRUE;
    return TRUE;
}

BOOL COleDispatchDriver::CreateDispatch(LPCTSTR lpszProgID, COleException* pError)
{
    CLSID clsid;
    BSTR name = AfxDisp::AnsiToBstr(lpszProgID);
    HRESULT hr = CLSIDFromProgID(name, &clsid);
    SysFreeString(name);
    if (FAILED(hr)) {
        if (pError)
            pError->m_sc = hr;
        return FALSE;
    }
    return CreateDispatch(clsid, pError);
}

void COleDispatchDriver::InvokeHelperV(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                                       const BYTE* pbParamInfo, va_list argList)
{
    AfxDispatchInvokeHelperV(m_lpDispatch, dwDispID, wFlags, vtRet, pvRet, pbParamInfo, argList);
}

void COleDispatchDriver::InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                                      const BYTE* pbParamInfo, ...)
{
    va_list args;
    va_start(args, pbParamInfo);
    try {
        InvokeHelperV(dwDispID, wFlags, vtRet, pvRet, pbParamInfo, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
}

void COleDispatchDriver::SetProperty(DISPID dwDispID, VARTYPE vtProp, ...)
{
    va_list args;
    va_start(args, vtProp);
    BYTE info[2] = {(BYTE)vtProp, 0};
    WORD flags = (vtProp == VT_DISPATCH) ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
    try {
        InvokeHelperV(dwDispID, flags, VT_EMPTY, nullptr, info, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
}

void COleDispatchDriver::GetProperty(DISPID dwDispID, VARTYPE vtProp, void* pvProp) const
{
    const_cast<COleDispatchDriver*>(this)->InvokeHelper(dwDispID, DISPATCH_PROPERTYGET, vtProp,
                                                        pvProp, nullptr);
}
