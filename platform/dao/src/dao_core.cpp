// CDaoException, parameter lists, information records and value conversions.
#include "dao_internal.h"

#include "jet_text.h"

#include <oleauto.h>

#include <cstring>

IMPLEMENT_DYNAMIC(CDaoException, CException)
IMPLEMENT_DYNAMIC(CLongBinary, CObject)

CDaoException::CDaoException()
    : m_scode(S_OK), m_nAfxDaoError(NO_AFX_DAO_ERROR), m_pErrorInfo(NULL)
{
}

CDaoException::~CDaoException() { delete m_pErrorInfo; }

short CDaoException::GetErrorCount() { return m_pErrorInfo ? 1 : 0; }

void CDaoException::GetErrorInfo(int nIndex)
{
    // One error per exception: the information is already in m_pErrorInfo.
    (void)nIndex;
}

BOOL CDaoException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext) *pnHelpContext = m_pErrorInfo ? (UINT)m_pErrorInfo->m_lHelpContext : 0;
    if (!lpszError || nMaxError == 0) return FALSE;
    CString text = m_pErrorInfo ? m_pErrorInfo->m_strDescription : CString();
    lstrcpynA(lpszError, text, (int)nMaxError);
    return m_pErrorInfo != NULL;
}

static CDaoException* NewDaoException(int nAfxDaoError, long code, const CString& description)
{
    CDaoException* e = new CDaoException;
    e->m_nAfxDaoError = nAfxDaoError;
    e->m_scode = code ? MAKE_SCODE(SEVERITY_ERROR, FACILITY_CONTROL, code & 0xFFFF) : E_FAIL;
    e->m_pErrorInfo = new CDaoErrorInfo;
    e->m_pErrorInfo->m_lErrorCode = code;
    e->m_pErrorInfo->m_strSource = "DAO.Database";
    e->m_pErrorInfo->m_strDescription = description;
    e->m_pErrorInfo->m_lHelpContext = 0;
    return e;
}

void AFXAPI AfxThrowDaoException(int nAfxDaoError, SCODE scode)
{
    long code = 3000;
    std::string text = "Reserved error (3000); there is no message for this error.";
    if (nAfxDaoError == AFX_DAO_ERROR_OBJECT_NOT_OPEN) {
        code = 3420;
        text = jet::ErrorText(3420);
    } else if (nAfxDaoError == AFX_DAO_ERROR_DFX_BIND) {
        code = 3265;
        text = jet::ErrorText(3265);
    }
    CDaoException* e = NewDaoException(nAfxDaoError, code, DaoCString(text));
    if (scode != S_OK) e->m_scode = scode;
    throw e;
}

void AFXAPI AfxThrowDaoError(long lErrorCode, LPCSTR lpszDescription)
{
    throw NewDaoException(NO_AFX_DAO_ERROR, lErrorCode, CString(lpszDescription));
}

void DaoThrowNotOpen() { AfxThrowDaoException(AFX_DAO_ERROR_OBJECT_NOT_OPEN); }

CString AFXAPI AfxDaoLikeEscape(LPCSTR lpszText)
{
    return DaoCString(jet::LikeEscape(DaoStr(lpszText)));
}

// ---------------------------------------------------------------------------------------

CLongBinary::CLongBinary() : m_hData(NULL), m_dwDataLength(0) {}

CLongBinary::~CLongBinary()
{
    if (m_hData) GlobalFree(m_hData);
}

CDaoIndexInfo::CDaoIndexInfo()
    : m_pFieldInfos(NULL), m_nFields(0), m_bPrimary(FALSE), m_bUnique(FALSE), m_bClustered(FALSE),
      m_bIgnoreNulls(FALSE), m_bRequired(FALSE), m_bForeign(FALSE), m_lDistinctCount(0),
      m_bCleanupFieldInfo(FALSE)
{
}

CDaoIndexInfo::~CDaoIndexInfo()
{
    if (m_bCleanupFieldInfo) delete[] m_pFieldInfos;
}

// ---------------------------------------------------------------------------------------
// Parameters

CDaoParams& CDaoParams::Add(const COleVariant& var)
{
    jet::Value v = DaoValueFromVariant(var);
    Item it{0, 0, 0, CString()};
    switch (v.kind) {
    case jet::Value::Int: it.kind = 1; it.n = v.i; break;
    case jet::Value::Real: it.kind = 2; it.d = v.r; break;
    case jet::Value::Text: it.kind = 3; it.s = DaoCString(v.s); break;
    case jet::Value::Blob: it.kind = 4; it.s = DaoCString(v.s); break;
    default: break;
    }
    m_values.push_back(it);
    return *this;
}

CDaoParams& CDaoParams::Add(LPCSTR lpszText)
{
    m_values.push_back(Item{3, 0, 0, CString(lpszText)});
    return *this;
}

CDaoParams& CDaoParams::Add(LONG lValue)
{
    m_values.push_back(Item{1, lValue, 0, CString()});
    return *this;
}

CDaoParams& CDaoParams::AddNull()
{
    m_values.push_back(Item{0, 0, 0, CString()});
    return *this;
}

std::vector<jet::Value> DaoEngineParams(const CDaoParams& params)
{
    std::vector<jet::Value> out;
    for (const auto& it : params.m_values) {
        switch (it.kind) {
        case 1: out.push_back(jet::Value::MakeInt(it.n)); break;
        case 2: out.push_back(jet::Value::MakeReal(it.d)); break;
        case 3: out.push_back(jet::Value::MakeText(DaoStr(it.s))); break;
        case 4: out.push_back(jet::Value::MakeBlob(DaoStr(it.s))); break;
        default: out.push_back(jet::Value()); break;
        }
    }
    return out;
}

// ---------------------------------------------------------------------------------------
// Values

jet::Value DaoValueFromVariant(const VARIANT& var)
{
    switch (V_VT(&var)) {
    case VT_EMPTY:
    case VT_NULL: return jet::Value();
    case VT_I1: return jet::Value::MakeInt(V_I1(&var));
    case VT_UI1: return jet::Value::MakeInt(V_UI1(&var));
    case VT_I2: return jet::Value::MakeInt(V_I2(&var));
    case VT_UI2: return jet::Value::MakeInt(V_UI2(&var));
    case VT_I4: return jet::Value::MakeInt(V_I4(&var));
    case VT_UI4: return jet::Value::MakeInt(V_UI4(&var));
    case VT_INT: return jet::Value::MakeInt(V_INT(&var));
    case VT_UINT: return jet::Value::MakeInt(V_UINT(&var));
    case VT_I8: return jet::Value::MakeInt(V_I8(&var));
    case VT_UI8: return jet::Value::MakeInt((int64_t)V_UI8(&var));
    case VT_BOOL: return jet::Value::MakeInt(V_BOOL(&var) ? -1 : 0);
    case VT_ERROR: return jet::Value::MakeInt(V_ERROR(&var));
    case VT_R4: return jet::Value::MakeReal(V_R4(&var));
    case VT_R8: return jet::Value::MakeReal(V_R8(&var));
    case VT_DATE: return jet::Value::MakeReal(V_DATE(&var));
    case VT_CY: return jet::Value::MakeInt(V_CY(&var).int64);
    case VT_BSTR: {
        BSTR b = V_BSTR(&var);
        int n = b ? (int)SysStringLen(b) : 0;
        if (n == 0) return jet::Value::MakeText(std::string());
        int bytes = WideCharToMultiByte(CP_ACP, 0, b, n, NULL, 0, NULL, NULL);
        std::string s(bytes, '\0');
        WideCharToMultiByte(CP_ACP, 0, b, n, &s[0], bytes, NULL, NULL);
        return jet::Value::MakeText(s);
    }
    case VT_ARRAY | VT_UI1: {
        SAFEARRAY* sa = V_ARRAY(&var);
        if (!sa) return jet::Value::MakeBlob(std::string());
        LONG lo = 0, hi = -1;
        SafeArrayGetLBound(sa, 1, &lo);
        SafeArrayGetUBound(sa, 1, &hi);
        void* data = NULL;
        std::string s;
        if (hi >= lo && SUCCEEDED(SafeArrayAccessData(sa, &data))) {
            s.assign((const char*)data, (size_t)(hi - lo + 1));
            SafeArrayUnaccessData(sa);
        }
        return jet::Value::MakeBlob(s);
    }
    default: {
        VARIANT tmp;
        VariantInit(&tmp);
        if (FAILED(VariantChangeType(&tmp, &var, 0, VT_BSTR))) AfxThrowDaoError(3421, jet::ErrorText(3421).c_str());
        jet::Value v = DaoValueFromVariant(tmp);
        VariantClear(&tmp);
        return v;
    }
    }
}

COleVariant DaoVariantFromValue(const jet::Value& v, int type)
{
    COleVariant out;
    if (v.IsNull()) {
        V_VT(&out) = VT_NULL;
        return out;
    }
    switch (type) {
    case dbBoolean:
        V_VT(&out) = VT_BOOL;
        V_BOOL(&out) = v.AsInt() ? VARIANT_TRUE : VARIANT_FALSE;
        return out;
    case dbByte:
        V_VT(&out) = VT_UI1;
        V_UI1(&out) = (BYTE)v.AsInt();
        return out;
    case dbInteger:
        V_VT(&out) = VT_I2;
        V_I2(&out) = (SHORT)v.AsInt();
        return out;
    case dbLong:
        V_VT(&out) = VT_I4;
        V_I4(&out) = (LONG)v.AsInt();
        return out;
    case dbCurrency:
        V_VT(&out) = VT_CY;
        V_CY(&out).int64 = v.AsInt();
        return out;
    case dbSingle:
        V_VT(&out) = VT_R4;
        V_R4(&out) = (float)v.AsReal();
        return out;
    case dbDouble:
        V_VT(&out) = VT_R8;
        V_R8(&out) = v.AsReal();
        return out;
    case dbDate:
        V_VT(&out) = VT_DATE;
        V_DATE(&out) = v.AsReal();
        return out;
    case dbText:
    case dbMemo:
    case dbGUID: break;
    case dbBinary:
    case dbLongBinary: {
        SAFEARRAY* sa = SafeArrayCreateVector(VT_UI1, 0, (ULONG)v.s.size());
        if (!sa) AfxThrowMemoryException();
        void* data = NULL;
        if (SUCCEEDED(SafeArrayAccessData(sa, &data))) {
            if (!v.s.empty()) memcpy(data, v.s.data(), v.s.size());
            SafeArrayUnaccessData(sa);
        }
        V_VT(&out) = VT_ARRAY | VT_UI1;
        V_ARRAY(&out) = sa;
        return out;
    }
    default:
        if (v.kind == jet::Value::Int) return DaoVariantFromValue(v, v.i >= INT32_MIN && v.i <= INT32_MAX ? dbLong : dbDouble);
        if (v.kind == jet::Value::Real) return DaoVariantFromValue(v, dbDouble);
        if (v.kind == jet::Value::Blob) return DaoVariantFromValue(v, dbLongBinary);
        break;
    }
    std::string s = v.AsText();
    int n = MultiByteToWideChar(CP_ACP, 0, s.data(), (int)s.size(), NULL, 0);
    BSTR b = SysAllocStringLen(NULL, n);
    if (n) MultiByteToWideChar(CP_ACP, 0, s.data(), (int)s.size(), b, n);
    V_VT(&out) = VT_BSTR;
    V_BSTR(&out) = b;
    return out;
}

void DaoFillFieldInfo(const jet::FieldDef& f, int ordinal, const CString& table, CDaoFieldInfo& info,
                      DWORD dwInfoOptions)
{
    (void)dwInfoOptions;  // every level is filled: nothing is left undefined
    info.m_strName = DaoCString(f.name);
    info.m_nType = (short)f.type;
    info.m_lSize = f.type == jet::kMemo || f.type == jet::kLongBinary ? 0 : f.size;
    info.m_lAttributes = (f.attributes & (dbFixedField | dbVariableField | dbAutoIncrField)) | dbUpdatableField;
    info.m_nOrdinalPosition = (short)ordinal;
    info.m_bRequired = f.required;
    info.m_bAllowZeroLength = f.allowZeroLength;
    info.m_lCollatingOrder = 1033;
    info.m_strForeignName.Empty();
    info.m_strSourceField = info.m_strName;
    info.m_strSourceTable = table;
    info.m_strValidationRule.Empty();
    info.m_strValidationText.Empty();
    info.m_strDefaultValue.Empty();
}

jet::FieldDef DaoFieldFromInfo(const CDaoFieldInfo& info)
{
    jet::FieldDef f;
    f.name = DaoStr(info.m_strName);
    f.type = info.m_nType;
    f.size = info.m_lSize;
    f.attributes = info.m_lAttributes & (dbFixedField | dbVariableField | dbAutoIncrField);
    f.required = info.m_bRequired;
    f.allowZeroLength = info.m_bAllowZeroLength;
    if (f.name.empty()) AfxThrowDaoError(3125, jet::ErrorText(3125).c_str());
    if (!jet::IsValidType(f.type)) AfxThrowDaoError(3259, jet::ErrorText(3259).c_str());
    if (f.type != jet::kText && f.type != jet::kBinary) f.size = jet::TypeSize(f.type);
    return f;
}
