// Shared by the DAO classes: engine errors as CDaoException, values between COleVariant and
// the engine.
#pragma once

#include <afxdao.h>

#include "jet_db.h"

#include <string>
#include <vector>

// Runs an engine call; an engine error leaves as a CDaoException.
template <class F>
auto DaoCall(F f) -> decltype(f())
{
    try {
        return f();
    } catch (const jet::Error& e) {
        AfxThrowDaoError(e.code, e.what());
    }
    throw;  // not reached
}

inline std::string DaoStr(LPCSTR psz) { return psz ? std::string(psz) : std::string(); }
inline std::string DaoStr(const CString& s) { return std::string((LPCSTR)s, s.GetLength()); }
inline CString DaoCString(const std::string& s) { return CString(s.data(), (int)s.size()); }

jet::Value DaoValueFromVariant(const VARIANT& var);
// A value of a field of the given type as a variant (type 0: by the value's own kind).
COleVariant DaoVariantFromValue(const jet::Value& v, int type);
std::vector<jet::Value> DaoEngineParams(const CDaoParams& params);
void DaoFillFieldInfo(const jet::FieldDef& f, int ordinal, const CString& table,
                      CDaoFieldInfo& info, DWORD dwInfoOptions);
jet::FieldDef DaoFieldFromInfo(const CDaoFieldInfo& info);
// Throws the class library's "object not open" error.
void DaoThrowNotOpen();
