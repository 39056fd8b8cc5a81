// COleVariant, COleCurrency and COleException.
#include "afxdisp.h"
#include "afxcoll.h"
#include "core_internal.h"

#include <limits.h>

// ---------------------------------------------------------------------------------------------
IMPLEMENT_DYNAMIC(COleException, CException)

COleException::COleException() : m_sc(S_OK) {}
COleException::~COleException() {}

SCODE PASCAL COleException::Process(const CException* pAnyException) {
  if (pAnyException == NULL) return E_UNEXPECTED;
  if (pAnyException->IsKindOf(RUNTIME_CLASS(COleException)))
    return ((const COleException*)pAnyException)->m_sc;
  if (pAnyException->IsKindOf(RUNTIME_CLASS(CMemoryException))) return E_OUTOFMEMORY;
  if (pAnyException->IsKindOf(RUNTIME_CLASS(CNotSupportedException))) return E_NOTIMPL;
  return E_UNEXPECTED;
}

BOOL COleException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) {
  if (pnHelpContext != NULL) *pnHelpContext = 0;
  if (lpszError == NULL || nMaxError == 0) return FALSE;
  LPSTR lpBuffer = NULL;
  if (::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                           FORMAT_MESSAGE_IGNORE_INSERTS,
                       NULL, (DWORD)m_sc, 0, (LPSTR)&lpBuffer, 0, NULL) == 0 ||
      lpBuffer == NULL) {
    snprintf(lpszError, nMaxError, "OLE error 0x%08X.", (unsigned)m_sc);
    return TRUE;
  }
  lstrcpynA(lpszError, lpBuffer, nMaxError);
  LocalFree(lpBuffer);
  return TRUE;
}

void AFXAPI AfxThrowOleException(SCODE sc) {
  COleException* pException = new COleException;
  pException->m_sc = sc;
  throw pException;
}

void AFXAPI AfxCheckError(SCODE sc) {
  if (FAILED(sc)) {
    if (sc == E_OUTOFMEMORY) AfxThrowMemoryException();
    AfxThrowOleException(sc);
  }
}

// ---------------------------------------------------------------------------------------------
// COleCurrency: 1/10000 units in a 64-bit integer.
COleCurrency::COleCurrency() : m_status(valid) { m_cur.int64 = 0; }
COleCurrency::COleCurrency(CURRENCY cySrc) : m_cur(cySrc), m_status(valid) {}
COleCurrency::COleCurrency(const COleCurrency& curSrc)
    : m_cur(curSrc.m_cur), m_status(curSrc.m_status) {}
COleCurrency::COleCurrency(const VARIANT& varSrc) : m_status(valid) { *this = varSrc; }
COleCurrency::COleCurrency(LONG nUnits, LONG nFractionalUnits) {
  SetCurrency(nUnits, nFractionalUnits);
}

const COleCurrency& COleCurrency::operator=(CURRENCY cySrc) {
  m_cur = cySrc;
  m_status = valid;
  return *this;
}

const COleCurrency& COleCurrency::operator=(const COleCurrency& curSrc) {
  m_cur = curSrc.m_cur;
  m_status = curSrc.m_status;
  return *this;
}

BOOL AFXAPI AfxVariantAs(const VARIANT& var, VARTYPE vt, VARIANT* pResult) {
  VariantInit(pResult);
  return SUCCEEDED(VariantChangeType(pResult, const_cast<VARIANT*>(&var), 0, vt));
}

const COleCurrency& COleCurrency::operator=(const VARIANT& varSrc) {
  m_cur.int64 = 0;
  m_status = invalid;
  if (V_VT(&varSrc) == VT_NULL) {
    m_status = null;
    return *this;
  }
  VARIANT varTemp;
  if (AfxVariantAs(varSrc, VT_CY, &varTemp)) {
    m_cur = V_CY(&varTemp);
    m_status = valid;
  }
  VariantClear(&varTemp);
  return *this;
}

void COleCurrency::SetCurrency(LONG nUnits, LONG nFractionalUnits) {
  m_cur.int64 = (LONGLONG)nUnits * 10000 + nFractionalUnits;
  m_status = valid;
}

BOOL COleCurrency::operator==(const COleCurrency& cur) const {
  return m_status == cur.m_status && m_cur.int64 == cur.m_cur.int64;
}
BOOL COleCurrency::operator!=(const COleCurrency& cur) const { return !(*this == cur); }
BOOL COleCurrency::operator<(const COleCurrency& cur) const { return m_cur.int64 < cur.m_cur.int64; }
BOOL COleCurrency::operator>(const COleCurrency& cur) const { return m_cur.int64 > cur.m_cur.int64; }
BOOL COleCurrency::operator<=(const COleCurrency& cur) const {
  return m_cur.int64 <= cur.m_cur.int64;
}
BOOL COleCurrency::operator>=(const COleCurrency& cur) const {
  return m_cur.int64 >= cur.m_cur.int64;
}

// Arithmetic that overflows 64 bits makes the result invalid instead of wrapping.
static COleCurrency CurrencyResult(const COleCurrency& a, const COleCurrency* b, bool bOk,
                                   LONGLONG value) {
  COleCurrency result;
  if (a.m_status == COleCurrency::null || (b && b->m_status == COleCurrency::null))
    result.m_status = COleCurrency::null;
  else if (a.m_status == COleCurrency::invalid || (b && b->m_status == COleCurrency::invalid) ||
           !bOk)
    result.m_status = COleCurrency::invalid;
  else
    result.m_cur.int64 = value;
  return result;
}

COleCurrency COleCurrency::operator+(const COleCurrency& cur) const {
  LONGLONG v;
  bool bOk = !__builtin_add_overflow(m_cur.int64, cur.m_cur.int64, &v);
  return CurrencyResult(*this, &cur, bOk, v);
}
COleCurrency COleCurrency::operator-(const COleCurrency& cur) const {
  LONGLONG v;
  bool bOk = !__builtin_sub_overflow(m_cur.int64, cur.m_cur.int64, &v);
  return CurrencyResult(*this, &cur, bOk, v);
}
const COleCurrency& COleCurrency::operator+=(const COleCurrency& cur) {
  return *this = *this + cur;
}
const COleCurrency& COleCurrency::operator-=(const COleCurrency& cur) {
  return *this = *this - cur;
}
COleCurrency COleCurrency::operator-() const {
  LONGLONG v;
  bool bOk = !__builtin_sub_overflow((LONGLONG)0, m_cur.int64, &v);
  return CurrencyResult(*this, NULL, bOk, v);
}
COleCurrency COleCurrency::operator*(LONG nOperand) const {
  LONGLONG v;
  bool bOk = !__builtin_mul_overflow(m_cur.int64, (LONGLONG)nOperand, &v);
  return CurrencyResult(*this, NULL, bOk, v);
}
COleCurrency COleCurrency::operator/(LONG nOperand) const {
  bool bOk = nOperand != 0 && !(nOperand == -1 && m_cur.int64 == LLONG_MIN);
  return CurrencyResult(*this, NULL, bOk, bOk ? m_cur.int64 / nOperand : 0);
}
const COleCurrency& COleCurrency::operator*=(LONG nOperand) { return *this = *this * nOperand; }
const COleCurrency& COleCurrency::operator/=(LONG nOperand) { return *this = *this / nOperand; }

BOOL COleCurrency::ParseCurrency(LPCSTR lpszCurrency, DWORD dwFlags, LCID lcid) {
  CString str(lpszCurrency);
  BSTR bstr = str.AllocSysString();
  HRESULT hr = VarCyFromStr(bstr, lcid, dwFlags, &m_cur);
  SysFreeString(bstr);
  if (FAILED(hr)) {
    m_cur.int64 = 0;
    m_status = invalid;
    return FALSE;
  }
  m_status = valid;
  return TRUE;
}

CString COleCurrency::Format(DWORD dwFlags, LCID lcid) const {
  if (m_status == null) return CString();
  if (m_status == invalid) return CString("Invalid Currency");
  BSTR bstr = NULL;
  if (FAILED(VarBstrFromCy(m_cur, lcid, dwFlags, &bstr))) return CString("Invalid Currency");
  CString str(bstr, (int)SysStringLen(bstr));
  SysFreeString(bstr);
  return str;
}

// ---------------------------------------------------------------------------------------------
// COleVariant.
COleVariant::COleVariant() { VariantInit(this); }
COleVariant::COleVariant(const VARIANT& varSrc) {
  VariantInit(this);
  AfxCheckError(VariantCopy(this, const_cast<VARIANT*>(&varSrc)));
}
COleVariant::COleVariant(LPCVARIANT pSrc) {
  VariantInit(this);
  if (pSrc != NULL) AfxCheckError(VariantCopy(this, const_cast<VARIANT*>(pSrc)));
}
COleVariant::COleVariant(const COleVariant& varSrc) {
  VariantInit(this);
  AfxCheckError(VariantCopy(this, const_cast<COleVariant*>(&varSrc)));
}
COleVariant::COleVariant(LPCSTR lpszSrc) {
  VariantInit(this);
  *this = lpszSrc;
}
COleVariant::COleVariant(LPCSTR lpszSrc, VARTYPE vtSrc) {
  VariantInit(this);
  SetString(lpszSrc, vtSrc);
}
COleVariant::COleVariant(const CString& strSrc) {
  VariantInit(this);
  *this = strSrc;
}
COleVariant::COleVariant(BYTE nSrc) {
  V_VT(this) = VT_UI1;
  V_UI1(this) = nSrc;
}
COleVariant::COleVariant(short nSrc, VARTYPE vtSrc) {
  if (vtSrc == VT_BOOL) {
    V_VT(this) = VT_BOOL;
    V_BOOL(this) = nSrc ? VARIANT_TRUE : VARIANT_FALSE;
  } else {
    V_VT(this) = VT_I2;
    V_I2(this) = nSrc;
  }
}
COleVariant::COleVariant(LONG lSrc, VARTYPE vtSrc) {
  if (vtSrc == VT_ERROR) {
    V_VT(this) = VT_ERROR;
    V_ERROR(this) = lSrc;
  } else if (vtSrc == VT_BOOL) {
    V_VT(this) = VT_BOOL;
    V_BOOL(this) = lSrc ? VARIANT_TRUE : VARIANT_FALSE;
  } else {
    V_VT(this) = VT_I4;
    V_I4(this) = lSrc;
  }
}
COleVariant::COleVariant(const COleCurrency& curSrc) {
  V_VT(this) = VT_CY;
  V_CY(this) = curSrc.m_cur;
}
COleVariant::COleVariant(float fltSrc) {
  V_VT(this) = VT_R4;
  V_R4(this) = fltSrc;
}
COleVariant::COleVariant(double dblSrc) {
  V_VT(this) = VT_R8;
  V_R8(this) = dblSrc;
}
COleVariant::COleVariant(const COleDateTime& timeSrc) {
  V_VT(this) = VT_DATE;
  V_DATE(this) = timeSrc.m_dt;
}
COleVariant::COleVariant(const CByteArray& arrSrc) {
  VariantInit(this);
  *this = arrSrc;
}

COleVariant::~COleVariant() { VariantClear(this); }

void COleVariant::Clear() { VariantClear(this); }

void COleVariant::ChangeType(VARTYPE vartype, LPVARIANT pSrc) {
  if (pSrc == NULL) pSrc = this;
  if (pSrc != this || vartype != V_VT(this)) AfxCheckError(VariantChangeType(this, pSrc, 0, vartype));
}

void COleVariant::Attach(VARIANT& varSrc) {
  Clear();
  memcpy((VARIANT*)this, &varSrc, sizeof(VARIANT));
  V_VT(&varSrc) = VT_EMPTY;
}

VARIANT COleVariant::Detach() {
  VARIANT varResult = *this;
  V_VT(this) = VT_EMPTY;
  return varResult;
}

BOOL COleVariant::operator==(const VARIANT& var) const {
  if (&var == (const VARIANT*)this) return TRUE;
  if (V_VT(&var) != V_VT(this)) return FALSE;
  switch (V_VT(this)) {
    case VT_EMPTY:
    case VT_NULL: return TRUE;
    case VT_BOOL: return V_BOOL(&var) == V_BOOL(this);
    case VT_UI1: return V_UI1(&var) == V_UI1(this);
    case VT_I2: return V_I2(&var) == V_I2(this);
    case VT_I4: return V_I4(&var) == V_I4(this);
    case VT_CY: return V_CY(&var).int64 == V_CY(this).int64;
    case VT_R4: return V_R4(&var) == V_R4(this);
    case VT_R8: return V_R8(&var) == V_R8(this);
    case VT_DATE: return V_DATE(&var) == V_DATE(this);
    case VT_ERROR: return V_ERROR(&var) == V_ERROR(this);
    case VT_BSTR: {
      UINT n1 = SysStringByteLen(V_BSTR(&var)), n2 = SysStringByteLen(V_BSTR(this));
      return n1 == n2 && (n1 == 0 || memcmp(V_BSTR(&var), V_BSTR(this), n1) == 0);
    }
    case VT_DISPATCH:
    case VT_UNKNOWN: return V_UNKNOWN(&var) == V_UNKNOWN(this);
    default:
      return VarCmp(const_cast<VARIANT*>(&var), const_cast<COleVariant*>(this),
                    LOCALE_USER_DEFAULT, 0) == (HRESULT)VARCMP_EQ;
  }
}

BOOL COleVariant::operator==(LPCVARIANT pSrc) const { return pSrc != NULL && *this == *pSrc; }

const COleVariant& COleVariant::operator=(const VARIANT& varSrc) {
  if (&varSrc != (const VARIANT*)this)
    AfxCheckError(VariantCopy(this, const_cast<VARIANT*>(&varSrc)));
  return *this;
}
const COleVariant& COleVariant::operator=(LPCVARIANT pSrc) {
  if (pSrc == NULL) {
    Clear();
    return *this;
  }
  return *this = *pSrc;
}
const COleVariant& COleVariant::operator=(const COleVariant& varSrc) {
  return *this = (const VARIANT&)varSrc;
}
const COleVariant& COleVariant::operator=(LPCSTR lpszSrc) {
  SetString(lpszSrc, VT_BSTR);
  return *this;
}
const COleVariant& COleVariant::operator=(const CString& strSrc) {
  Clear();
  V_VT(this) = VT_BSTR;
  V_BSTR(this) = strSrc.AllocSysString();
  return *this;
}
const COleVariant& COleVariant::operator=(BYTE nSrc) {
  Clear();
  V_VT(this) = VT_UI1;
  V_UI1(this) = nSrc;
  return *this;
}
const COleVariant& COleVariant::operator=(short nSrc) {
  Clear();
  V_VT(this) = VT_I2;
  V_I2(this) = nSrc;
  return *this;
}
const COleVariant& COleVariant::operator=(LONG lSrc) {
  Clear();
  V_VT(this) = VT_I4;
  V_I4(this) = lSrc;
  return *this;
}
const COleVariant& COleVariant::operator=(const COleCurrency& curSrc) {
  Clear();
  V_VT(this) = VT_CY;
  V_CY(this) = curSrc.m_cur;
  return *this;
}
const COleVariant& COleVariant::operator=(float fltSrc) {
  Clear();
  V_VT(this) = VT_R4;
  V_R4(this) = fltSrc;
  return *this;
}
const COleVariant& COleVariant::operator=(double dblSrc) {
  Clear();
  V_VT(this) = VT_R8;
  V_R8(this) = dblSrc;
  return *this;
}
const COleVariant& COleVariant::operator=(const COleDateTime& dateSrc) {
  Clear();
  V_VT(this) = VT_DATE;
  V_DATE(this) = dateSrc.m_dt;
  return *this;
}
const COleVariant& COleVariant::operator=(const CByteArray& arrSrc) {
  Clear();
  INT_PTR nSize = arrSrc.GetSize();
  SAFEARRAYBOUND bound = {(ULONG)nSize, 0};
  SAFEARRAY* psa = SafeArrayCreate(VT_UI1, 1, &bound);
  if (psa == NULL) AfxThrowMemoryException();
  if (nSize > 0) {
    void* pData;
    AfxCheckError(SafeArrayAccessData(psa, &pData));
    memcpy(pData, arrSrc.GetData(), nSize);
    SafeArrayUnaccessData(psa);
  }
  V_VT(this) = VT_ARRAY | VT_UI1;
  V_ARRAY(this) = psa;
  return *this;
}

// VT_BSTRT keeps the ANSI bytes as they are in a BSTR (the form byte-oriented callers such as
// the database layer expect); VT_BSTR converts to WCHARs.
void COleVariant::SetString(LPCSTR lpszSrc, VARTYPE vtSrc) {
  Clear();
  if (lpszSrc == NULL) lpszSrc = "";
  V_VT(this) = VT_BSTR;
  if (vtSrc == VT_BSTRT) {
    V_BSTR(this) = SysAllocStringByteLen(lpszSrc, (UINT)strlen(lpszSrc));
  } else {
    V_BSTR(this) = CString(lpszSrc).AllocSysString();
  }
  if (V_BSTR(this) == NULL) {
    V_VT(this) = VT_EMPTY;
    AfxThrowMemoryException();
  }
}
