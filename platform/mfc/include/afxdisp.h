// OLE data types (COleDateTime, COleDateTimeSpan, COleCurrency, COleVariant) and, below the
// marked line, the automation classes.
#ifndef QUORVEL_AFXDISP_H
#define QUORVEL_AFXDISP_H

#include "afx.h"

#include <ole2.h>
#include <oleauto.h>

#ifndef LPCVARIANT
typedef const VARIANT* LPCVARIANT;
#endif

class COleDateTimeSpan;
class COleCurrency;
class CByteArray;

// A point in time as an OLE DATE: days since 1899-12-30, the fraction being the time of day.
// Before 1899-12-30 the integer part counts backwards while the fraction still runs forwards
// (-1.25 is 1899-12-29 06:00), so arithmetic goes through a linear scale.
class COleDateTime {
 public:
  static COleDateTime PASCAL GetCurrentTime();

  COleDateTime();
  COleDateTime(const VARIANT& varSrc);
  COleDateTime(DATE dtSrc);
  COleDateTime(time_t timeSrc);
  COleDateTime(const SYSTEMTIME& systimeSrc);
  COleDateTime(const FILETIME& filetimeSrc);
  COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
  COleDateTime(WORD wDosDate, WORD wDosTime);

  enum DateTimeStatus { valid = 0, invalid = 1, null = 2 };

  DATE m_dt;
  DateTimeStatus m_status;

  void SetStatus(DateTimeStatus status) { m_status = status; }
  DateTimeStatus GetStatus() const { return m_status; }

  BOOL GetAsSystemTime(SYSTEMTIME& sysTime) const;
  int GetYear() const;
  int GetMonth() const;      // 1..12
  int GetDay() const;        // 1..31
  int GetHour() const;
  int GetMinute() const;
  int GetSecond() const;
  int GetDayOfWeek() const;  // 1 = Sunday
  int GetDayOfYear() const;  // 1 = January 1st

  const COleDateTime& operator=(const VARIANT& varSrc);
  const COleDateTime& operator=(DATE dtSrc);
  const COleDateTime& operator=(const time_t& timeSrc);
  const COleDateTime& operator=(const SYSTEMTIME& systimeSrc);
  const COleDateTime& operator=(const FILETIME& filetimeSrc);

  BOOL operator==(const COleDateTime& date) const;
  BOOL operator!=(const COleDateTime& date) const;
  BOOL operator<(const COleDateTime& date) const;
  BOOL operator>(const COleDateTime& date) const;
  BOOL operator<=(const COleDateTime& date) const;
  BOOL operator>=(const COleDateTime& date) const;

  COleDateTime operator+(const COleDateTimeSpan& dateSpan) const;
  COleDateTime operator-(const COleDateTimeSpan& dateSpan) const;
  const COleDateTime& operator+=(const COleDateTimeSpan dateSpan);
  const COleDateTime& operator-=(const COleDateTimeSpan dateSpan);
  COleDateTimeSpan operator-(const COleDateTime& date) const;

  operator DATE() const { return m_dt; }

  // Return 0 on success; an out-of-range part makes the value invalid (and returns 1).
  int SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
  int SetDate(int nYear, int nMonth, int nDay);
  int SetTime(int nHour, int nMin, int nSec);

  // Reads a date and/or time as the user's locale writes it (VAR_TIMEVALUEONLY,
  // VAR_DATEVALUEONLY); FALSE and invalid if the text is not a date.
  BOOL ParseDateTime(LPCSTR lpszDate, DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT);

  // The locale's format (dwFlags as VarBstrFromDate), or strftime codes (plus %#... as
  // strftime without leading zeros is not portable: use the locale form when in doubt).
  CString Format(DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT) const;
  CString Format(LPCSTR lpszFormat) const;
  CString Format(UINT nFormatID) const;

 protected:
  void CheckRange();
};

class COleDateTimeSpan {
 public:
  COleDateTimeSpan();
  COleDateTimeSpan(double dblSpanSrc);
  COleDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs);

  enum DateTimeSpanStatus { valid = 0, invalid = 1, null = 2 };

  double m_span;  // days
  DateTimeSpanStatus m_status;

  void SetStatus(DateTimeSpanStatus status) { m_status = status; }
  DateTimeSpanStatus GetStatus() const { return m_status; }

  double GetTotalDays() const;
  double GetTotalHours() const;
  double GetTotalMinutes() const;
  double GetTotalSeconds() const;

  LONG GetDays() const;
  LONG GetHours() const;    // 0..23 (sign of the span)
  LONG GetMinutes() const;  // 0..59
  LONG GetSeconds() const;  // 0..59

  const COleDateTimeSpan& operator=(double dblSpanSrc);
  BOOL operator==(const COleDateTimeSpan& dateSpan) const;
  BOOL operator!=(const COleDateTimeSpan& dateSpan) const;
  BOOL operator<(const COleDateTimeSpan& dateSpan) const;
  BOOL operator>(const COleDateTimeSpan& dateSpan) const;
  BOOL operator<=(const COleDateTimeSpan& dateSpan) const;
  BOOL operator>=(const COleDateTimeSpan& dateSpan) const;

  COleDateTimeSpan operator+(const COleDateTimeSpan& dateSpan) const;
  COleDateTimeSpan operator-(const COleDateTimeSpan& dateSpan) const;
  const COleDateTimeSpan& operator+=(const COleDateTimeSpan dateSpan);
  const COleDateTimeSpan& operator-=(const COleDateTimeSpan dateSpan);
  COleDateTimeSpan operator-() const;

  operator double() const { return m_span; }

  void SetDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs);

  // %D days, %H hours, %M minutes, %S seconds, %% percent.
  CString Format(LPCSTR pFormat) const;
  CString Format(UINT nID) const;

 protected:
  void CheckRange();
  friend class COleDateTime;
};

// Money as a 64-bit count of 1/10000 units.
class COleCurrency {
 public:
  COleCurrency();
  COleCurrency(CURRENCY cySrc);
  COleCurrency(const COleCurrency& curSrc);
  COleCurrency(const VARIANT& varSrc);
  COleCurrency(LONG nUnits, LONG nFractionalUnits);

  enum CurrencyStatus { valid = 0, invalid = 1, null = 2 };

  CURRENCY m_cur;
  CurrencyStatus m_status;

  void SetStatus(CurrencyStatus status) { m_status = status; }
  CurrencyStatus GetStatus() const { return m_status; }

  const COleCurrency& operator=(CURRENCY cySrc);
  const COleCurrency& operator=(const COleCurrency& curSrc);
  const COleCurrency& operator=(const VARIANT& varSrc);

  BOOL operator==(const COleCurrency& cur) const;
  BOOL operator!=(const COleCurrency& cur) const;
  BOOL operator<(const COleCurrency& cur) const;
  BOOL operator>(const COleCurrency& cur) const;
  BOOL operator<=(const COleCurrency& cur) const;
  BOOL operator>=(const COleCurrency& cur) const;

  COleCurrency operator+(const COleCurrency& cur) const;
  COleCurrency operator-(const COleCurrency& cur) const;
  const COleCurrency& operator+=(const COleCurrency& cur);
  const COleCurrency& operator-=(const COleCurrency& cur);
  COleCurrency operator-() const;
  COleCurrency operator*(LONG nOperand) const;
  COleCurrency operator/(LONG nOperand) const;
  const COleCurrency& operator*=(LONG nOperand);
  const COleCurrency& operator/=(LONG nOperand);

  operator CURRENCY() const { return m_cur; }

  void SetCurrency(LONG nUnits, LONG nFractionalUnits);
  BOOL ParseCurrency(LPCSTR lpszCurrency, DWORD dwFlags = 0, LCID = LANG_USER_DEFAULT);
  CString Format(DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT) const;
};

// A VARIANT that clears itself; strings are kept as BSTRs (VT_BSTR), or as ANSI bytes in a
// BSTR when made with VT_BSTRT.
#define VT_BSTRT 0xFFF
class COleVariant : public tagVARIANT {
 public:
  COleVariant();
  COleVariant(const VARIANT& varSrc);
  COleVariant(LPCVARIANT pSrc);
  COleVariant(const COleVariant& varSrc);
  COleVariant(LPCSTR lpszSrc);
  COleVariant(LPCSTR lpszSrc, VARTYPE vtSrc);  // VT_BSTR or VT_BSTRT
  COleVariant(const CString& strSrc);
  COleVariant(BYTE nSrc);
  COleVariant(short nSrc, VARTYPE vtSrc = VT_I2);  // VT_I2 or VT_BOOL
  COleVariant(LONG lSrc, VARTYPE vtSrc = VT_I4);   // VT_I4, VT_ERROR or VT_BOOL
  COleVariant(const COleCurrency& curSrc);
  COleVariant(float fltSrc);
  COleVariant(double dblSrc);
  COleVariant(const COleDateTime& timeSrc);
  COleVariant(const CByteArray& arrSrc);  // VT_ARRAY | VT_UI1
  ~COleVariant();

  void Clear();
  void ChangeType(VARTYPE vartype, LPVARIANT pSrc = NULL);  // throws on failure
  void Attach(VARIANT& varSrc);
  VARIANT Detach();

  BOOL operator==(const VARIANT& varSrc) const;
  BOOL operator==(LPCVARIANT pSrc) const;

  const COleVariant& operator=(const VARIANT& varSrc);
  const COleVariant& operator=(LPCVARIANT pSrc);
  const COleVariant& operator=(const COleVariant& varSrc);
  const COleVariant& operator=(LPCSTR lpszSrc);
  const COleVariant& operator=(const CString& strSrc);
  const COleVariant& operator=(BYTE nSrc);
  const COleVariant& operator=(short nSrc);
  const COleVariant& operator=(LONG lSrc);
  const COleVariant& operator=(const COleCurrency& curSrc);
  const COleVariant& operator=(float fltSrc);
  const COleVariant& operator=(double dblSrc);
  const COleVariant& operator=(const COleDateTime& dateSrc);
  const COleVariant& operator=(const CByteArray& arrSrc);

  void SetString(LPCSTR lpszSrc, VARTYPE vtSrc);  // VT_BSTR or VT_BSTRT

  operator LPVARIANT() { return this; }
  operator LPCVARIANT() const { return this; }
};

// An OLE call that failed, carrying its SCODE.
class COleException : public CException {
  DECLARE_DYNAMIC(COleException)
 public:
  COleException();
  virtual ~COleException();
  // The SCODE of an exception (an OLE exception's own, E_OUTOFMEMORY for a memory
  // exception, E_UNEXPECTED otherwise).
  static SCODE PASCAL Process(const CException* pAnyException);
  virtual BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError,
                               PUINT pnHelpContext = NULL) override;

  SCODE m_sc;
};

void AFXAPI AfxThrowOleException(SCODE sc);
// Throws for a failed SCODE (CMemoryException for E_OUTOFMEMORY, else COleException).
void AFXAPI AfxCheckError(SCODE sc);

// =============================================================================================
// Automation part (COleDispatchException, COleDispatchDriver, dispatch maps,
// ...) goes below this line.
// =============================================================================================

#include "afxwin.h"
#include <ole2.h>
#include <oleauto.h>
#include <olectl.h>
#include <ocidl.h>
#include <type_traits>
#include <utility>

class CCmdTarget;
class COleControl;
class COleDispatchDriver;

// Parameter type strings: one byte per parameter, the VARTYPE; 0x40 marks a parameter by
// reference (the VARIANT then carries VT_BYREF). Concatenated like the classic ones.
#define VTS_NONE ""
#define VTS_I2 "\x02"
#define VTS_I4 "\x03"
#define VTS_R4 "\x04"
#define VTS_R8 "\x05"
#define VTS_CY "\x06"
#define VTS_DATE "\x07"
#define VTS_BSTR "\x08" // passed to the member as LPCTSTR
#define VTS_WBSTR "\x0E" // passed as the BSTR itself
#define VTS_DISPATCH "\x09"
#define VTS_SCODE "\x0A"
#define VTS_BOOL "\x0B"
#define VTS_VARIANT "\x0C"
#define VTS_UNKNOWN "\x0D"
#define VTS_UI1 "\x11"
// Pointer-wide integers: addresses handed across inside the process travel as VT_I8.
#define VTS_I8 "\x14"
#define VTS_PI2 "\x42"
#define VTS_PI4 "\x43"
#define VTS_PR4 "\x44"
#define VTS_PR8 "\x45"
#define VTS_PBSTR "\x48"
#define VTS_PBOOL "\x4B"
#define VTS_PVARIANT "\x4C"
#define VTS_PUI1 "\x51"
#define VTS_PI8 "\x54"
#define VTS_COLOR VTS_I4
#define VTS_XPOS_PIXELS VTS_I4
#define VTS_YPOS_PIXELS VTS_I4
#define VTS_XSIZE_PIXELS VTS_I4
#define VTS_YSIZE_PIXELS VTS_I4
#define VTS_HANDLE VTS_I4
#define VTS_OPTEXCLUSIVE VTS_BOOL
#define VTS_TRISTATE VTS_I2

#define VT_MFCBYREF 0x40
#define VT_MFCWBSTR 0x0E // internal: a BSTR passed as is


struct AFX_DISPMAP_ENTRY;
struct AFX_EVENTSINKMAP_ENTRY;

// One call through a dispatch entry: converts the arguments, calls the member and fills
// the result. Throws what the member throws; the caller turns exceptions into HRESULTs.
typedef HRESULT (*AFX_DISPINVOKE)(CCmdTarget* pThis, const AFX_DISPMAP_ENTRY* pEntry,
                                  DISPPARAMS* pParams, VARIANT* pResult, UINT* puArgErr);

enum AFX_DISPMAP_FLAGS { afxDispCustom = 0, afxDispStock = 1 };

struct AFX_DISPMAP_ENTRY {
    LPCTSTR lpszName; // external name
    DISPID lDispID; // DISPID_UNKNOWN: the entry's 1-based position in its map
    LPCSTR lpvtsParams; // parameter types
    VARTYPE vt; // property type or method result type
    AFX_DISPINVOKE pfnGet; // method, or property get
    AFX_DISPINVOKE pfnSet; // property put; NULL for methods
    AFX_DISPMAP_FLAGS flags;
};

struct AFX_DISPMAP {
    const AFX_DISPMAP* (PASCAL* pfnGetBaseMap)();
    const AFX_DISPMAP_ENTRY* lpEntries;
};

// Events a control can fire (names and parameter types; the control fires by DISPID).
struct AFX_EVENTMAP_ENTRY {
    LPCTSTR lpszName;
    DISPID dispid; // DISPID_UNKNOWN: the 1-based position
    LPCSTR lpvtsParams;
    DWORD dwStockEvent; // one STOCKEVENT_ bit for stock events, else 0
};
struct AFX_EVENTMAP {
    const AFX_EVENTMAP* (PASCAL* pfnGetBaseMap)();
    const AFX_EVENTMAP_ENTRY* lpEntries;
};

// Container side: a handler for an event of a contained control.
typedef HRESULT (*AFX_EVENTINVOKE)(CCmdTarget* pThis, const AFX_EVENTSINKMAP_ENTRY* pEntry,
                                   UINT nCtrlID, DISPPARAMS* pParams, BOOL* pbHandled);
struct AFX_EVENTSINKMAP_ENTRY {
    UINT nCtrlIDFirst;
    UINT nCtrlIDLast;
    DISPID dispid;
    LPCSTR lpvtsParams;
    AFX_EVENTINVOKE pfnInvoke;
    BOOL bRange; // the handler takes the control id first
};
struct AFX_EVENTSINKMAP {
    const AFX_EVENTSINKMAP* (PASCAL* pfnGetBaseMap)();
    const AFX_EVENTSINKMAP_ENTRY* lpEntries;
};

// Interface maps: COM interfaces implemented by nested classes of a CCmdTarget.
struct AFX_INTERFACEMAP_ENTRY {
    const IID* piid; // NULL ends the map
    size_t nOffset; // offset of the nested implementation from the CCmdTarget
};
struct AFX_INTERFACEMAP {
    const AFX_INTERFACEMAP* (PASCAL* pfnGetBaseMap)();
    const AFX_INTERFACEMAP_ENTRY* pEntry;
};

// Connection maps: the outgoing interfaces a CCmdTarget offers.
struct AFX_CONNECTIONMAP_ENTRY {
    const IID* piid;
};
struct AFX_CONNECTIONMAP {
    const AFX_CONNECTIONMAP* (PASCAL* pfnGetBaseMap)();
    const AFX_CONNECTIONMAP_ENTRY* pEntry;
};

//////////////////////////////////////////////////////////////////////////////////////////
// Argument and result conversion for the map thunks.

namespace AfxDisp {

// ANSI text <-> BSTR (the program's text is the ANSI code page).
BSTR AnsiToBstr(LPCSTR psz);
CString BstrToAnsi(BSTR bstr);

// The VARTYPE a parameter string gives for parameter i (0 when the string is shorter).
inline VARTYPE ParamType(LPCSTR vts, UINT i)
{
    if (!vts)
        return 0;
    for (UINT k = 0; k < i; ++k)
        if (!vts[k])
            return 0;
    return (BYTE)vts[i];
}
inline UINT ParamCount(LPCSTR vts) { return vts ? (UINT)strlen(vts) : 0; }

// Coerces src to vt into dst (VT_VARIANT: copies). Returns the HRESULT of the coercion.
HRESULT Coerce(VARIANT* dst, const VARIANT* src, VARTYPE vt);

// A C++ value as a VARIANT of its natural type.
template <class T> void ToVariant(VARIANT* v, const T& value)
{
    VariantInit(v);
    if constexpr (std::is_same_v<T, bool>) {
        V_VT(v) = VT_BOOL;
        V_BOOL(v) = value ? VARIANT_TRUE : VARIANT_FALSE;
    } else if constexpr (std::is_same_v<T, VARIANT>) {
        VariantCopy(v, const_cast<VARIANT*>(&value));
    } else if constexpr (std::is_floating_point_v<T>) {
        if constexpr (sizeof(T) == sizeof(float)) {
            V_VT(v) = VT_R4;
            V_R4(v) = value;
        } else {
            V_VT(v) = VT_R8;
            V_R8(v) = value;
        }
    } else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>) {
        if constexpr (sizeof(T) == 1) {
            V_VT(v) = VT_UI1;
            V_UI1(v) = (BYTE)value;
        } else if constexpr (sizeof(T) == 2) {
            V_VT(v) = std::is_signed_v<T> ? VT_I2 : VT_UI2;
            V_I2(v) = (SHORT)value;
        } else if constexpr (sizeof(T) == 4) {
            V_VT(v) = std::is_signed_v<T> ? VT_I4 : VT_UI4;
            V_I4(v) = (LONG)value;
        } else {
            V_VT(v) = std::is_signed_v<T> ? VT_I8 : VT_UI8;
            V_I8(v) = (LONGLONG)value;
        }
    } else if constexpr (std::is_same_v<T, BSTR>) {
        V_VT(v) = VT_BSTR;
        V_BSTR(v) = value; // ownership passes to the variant
    } else if constexpr (std::is_convertible_v<T, IDispatch*>) {
        V_VT(v) = VT_DISPATCH;
        V_DISPATCH(v) = value; // the reference passes to the variant
    } else if constexpr (std::is_convertible_v<T, IUnknown*>) {
        V_VT(v) = VT_UNKNOWN;
        V_UNKNOWN(v) = value;
    } else if constexpr (std::is_convertible_v<const T&, LPCSTR>) {
        V_VT(v) = VT_BSTR;
        V_BSTR(v) = AnsiToBstr((LPCSTR)value);
    } else {
        static_assert(sizeof(T) == 0, "type cannot travel in a VARIANT");
    }
}

// Reads a variant already coerced to vt into a C++ value.
template <class T> T FromVariant(const VARIANT* v)
{
    if constexpr (std::is_same_v<T, VARIANT>) {
        VARIANT r;
        VariantInit(&r);
        VariantCopy(&r, const_cast<VARIANT*>(v));
        return r;
    } else if constexpr (std::is_arithmetic_v<T> || std::is_enum_v<T>) {
        switch (V_VT(v)) {
        case VT_I2: return (T)V_I2(v);
        case VT_UI2: return (T)V_UI2(v);
        case VT_I4: return (T)V_I4(v);
        case VT_UI4: return (T)V_UI4(v);
        case VT_INT: return (T)V_INT(v);
        case VT_UINT: return (T)V_UINT(v);
        case VT_I8: return (T)V_I8(v);
        case VT_UI8: return (T)V_UI8(v);
        case VT_R4: return (T)V_R4(v);
        case VT_R8: return (T)V_R8(v);
        case VT_DATE: return (T)V_DATE(v);
        case VT_UI1: return (T)V_UI1(v);
        case VT_I1: return (T)V_I1(v);
        case VT_ERROR: return (T)V_ERROR(v);
        // A BOOL member receives the automation value itself (TRUE is -1), as in the
        // classic framework; members test it for zero.
        case VT_BOOL: return (T)V_BOOL(v);
        default: return T();
        }
    } else if constexpr (std::is_same_v<T, BSTR>) {
        return V_VT(v) == VT_BSTR ? SysAllocStringLen(V_BSTR(v), SysStringLen(V_BSTR(v)))
                                  : nullptr;
    } else if constexpr (std::is_constructible_v<T, LPCSTR>) {
        return V_VT(v) == VT_BSTR ? T((LPCSTR)BstrToAnsi(V_BSTR(v))) : T();
    } else {
        static_assert(sizeof(T) == 0, "type cannot travel in a VARIANT");
    }
}

// One argument on its way to a member: converted on construction, written back (for
// by-reference parameters that needed a temporary) after the call.
template <class T, class Enable = void> struct Arg {
    typedef std::remove_cv_t<std::remove_reference_t<T>> V;
    V value{};
    HRESULT Init(VARIANT* src, VARTYPE vt)
    {
        VARIANT tmp;
        VariantInit(&tmp);
        HRESULT hr = Coerce(&tmp, src, vt ? vt : VT_VARIANT);
        if (FAILED(hr))
            return hr;
        value = FromVariant<V>(&tmp);
        VariantClear(&tmp);
        return S_OK;
    }
    T Get() { return value; }
    void WriteBack() {}
};

// Strings are handed to the member as LPCTSTR; the text lives until the call returns.
template <> struct Arg<LPCSTR> {
    CString text;
    HRESULT Init(VARIANT* src, VARTYPE)
    {
        VARIANT tmp;
        VariantInit(&tmp);
        HRESULT hr = Coerce(&tmp, src, VT_BSTR);
        if (FAILED(hr))
            return hr;
        text = BstrToAnsi(V_BSTR(&tmp));
        VariantClear(&tmp);
        return S_OK;
    }
    LPCSTR Get() { return (LPCSTR)text; }
    void WriteBack() {}
};

// A BSTR parameter receives the caller's string itself (VTS_WBSTR) or a coerced copy.
template <> struct Arg<BSTR> {
    VARIANT tmp;
    HRESULT Init(VARIANT* src, VARTYPE)
    {
        VariantInit(&tmp);
        return Coerce(&tmp, src, VT_BSTR);
    }
    BSTR Get() { return V_BSTR(&tmp); }
    void WriteBack() {}
    ~Arg() { VariantClear(&tmp); }
};

// VARIANT parameters (by value or as a pointer) see the caller's variant.
template <class T>
struct Arg<T, std::enable_if_t<std::is_same_v<std::remove_cv_t<std::remove_pointer_t<
                                    std::remove_reference_t<T>>>, VARIANT>>> {
    VARIANT* p = nullptr;
    HRESULT Init(VARIANT* src, VARTYPE)
    {
        p = (V_VT(src) == (VT_VARIANT | VT_BYREF)) ? V_VARIANTREF(src) : src;
        return S_OK;
    }
    T Get()
    {
        if constexpr (std::is_pointer_v<T>)
            return p;
        else
            return *p;
    }
    void WriteBack() {}
};

// Interface pointers pass through (the member takes no reference of its own).
template <class T>
struct Arg<T, std::enable_if_t<std::is_pointer_v<T> &&
                               std::is_base_of_v<IUnknown, std::remove_pointer_t<T>>>> {
    VARIANT tmp;
    HRESULT Init(VARIANT* src, VARTYPE vt)
    {
        VariantInit(&tmp);
        return Coerce(&tmp, src, vt == VT_DISPATCH ? VT_DISPATCH : VT_UNKNOWN);
    }
    T Get() { return static_cast<T>(V_UNKNOWN(&tmp)); }
    void WriteBack() {}
    ~Arg() { VariantClear(&tmp); }
};

// Plain pointers are by-reference parameters: the member works on the caller's storage.
// A by-reference BOOL travels as VARIANT_BOOL and a by-reference string as BSTR*, so
// those go through a temporary that is written back after the call. Any other pointer is
// the caller's address as it stands (in-process callers pass addresses this way).
template <class T>
struct Arg<T, std::enable_if_t<std::is_pointer_v<T> &&
                               !std::is_base_of_v<IUnknown, std::remove_pointer_t<T>> &&
                               !std::is_same_v<std::remove_cv_t<std::remove_pointer_t<T>>,
                                               VARIANT> &&
                               !std::is_same_v<T, LPCSTR> && !std::is_same_v<T, BSTR>>> {
    typedef std::remove_cv_t<std::remove_pointer_t<T>> P;
    void* p = nullptr;
    VARTYPE vtRef = 0;
    P temp{};
    bool useTemp = false;
    HRESULT Init(VARIANT* src, VARTYPE vt)
    {
        VARTYPE base = (VARTYPE)(vt & ~VT_MFCBYREF);
        if (!(V_VT(src) & VT_BYREF)) {
            if (vt == 0 && V_VT(src) == VT_I8) { // an address passed by value
                p = (void*)(INT_PTR)V_I8(src);
                return S_OK;
            }
            return DISP_E_TYPEMISMATCH;
        }
        vtRef = V_VT(src) & ~VT_BYREF;
        p = V_BYREF(src);
        if (vt && base != vtRef && vtRef != VT_VARIANT)
            return DISP_E_TYPEMISMATCH;
        if constexpr (std::is_arithmetic_v<P>) {
            if (vtRef == VT_BOOL && sizeof(P) != sizeof(VARIANT_BOOL)) {
                temp = (P) * (VARIANT_BOOL*)p;
                useTemp = true;
            }
        }
        return S_OK;
    }
    T Get() { return useTemp ? &temp : (T)p; }
    void WriteBack()
    {
        if constexpr (std::is_arithmetic_v<P>) {
            if (useTemp)
                *(VARIANT_BOOL*)p = temp ? VARIANT_TRUE : VARIANT_FALSE;
        }
    }
};

template <class T> struct ArgFor {
    typedef std::conditional_t<std::is_same_v<std::decay_t<T>, char*>, LPCSTR, std::decay_t<T>>
        type;
};

// Member function traits.
template <class F> struct Fn;
template <class R, class C, class... A> struct Fn<R (C::*)(A...)> {
    typedef R Ret;
    typedef C Class;
    static constexpr size_t N = sizeof...(A);
};
template <class R, class C, class... A> struct Fn<R (C::*)(A...) const> : Fn<R (C::*)(A...)> {};

HRESULT ResultFromVariant(VARIANT* natural, VARIANT* pResult, VARTYPE vt);

template <class R> HRESULT StoreResult(const R& r, VARIANT* pResult, VARTYPE vt)
{
    if (!pResult)
        return S_OK;
    VARIANT natural;
    ToVariant<R>(&natural, r);
    return ResultFromVariant(&natural, pResult, vt);
}

// Calls pmf on obj with the arguments of params (stored last first), coerced to the types
// of vts and then to the member's own parameter types.
template <class R, class C, class... A, size_t... I>
HRESULT CallWith(R (C::*pmf)(A...), C* obj, LPCSTR vts, DISPPARAMS* params, UINT firstArg,
                 VARTYPE vtResult, VARIANT* pResult, UINT* puArgErr, std::index_sequence<I...>)
{
    constexpr UINT n = sizeof...(A);
    if (params->cArgs - firstArg != n)
        return DISP_E_BADPARAMCOUNT;
    std::tuple<Arg<typename ArgFor<A>::type>...> args;
    HRESULT hr = S_OK;
    // rgvarg holds the last argument first; firstArg skips a property-put value.
    ((SUCCEEDED(hr) ? (hr = std::get<I>(args).Init(&params->rgvarg[params->cArgs - 1 - I],
                                                    ParamType(vts, I)),
                       (FAILED(hr) && puArgErr ? (*puArgErr = params->cArgs - 1 - I) : 0), 0)
                    : 0),
     ...);
    if (FAILED(hr))
        return hr;
    if constexpr (std::is_void_v<R>) {
        (obj->*pmf)(std::get<I>(args).Get()...);
        (std::get<I>(args).WriteBack(), ...);
        if (pResult)
            VariantInit(pResult);
        return S_OK;
    } else {
        R r = (obj->*pmf)(std::get<I>(args).Get()...);
        (std::get<I>(args).WriteBack(), ...);
        return StoreResult<std::decay_t<R>>(r, pResult, vtResult);
    }
}

template <class R, class C, class... A>
HRESULT Call(R (C::*pmf)(A...), C* obj, LPCSTR vts, DISPPARAMS* params, UINT firstArg,
             VARTYPE vtResult, VARIANT* pResult, UINT* puArgErr)
{
    return CallWith(pmf, obj, vts, params, firstArg, vtResult, pResult, puArgErr,
                    std::index_sequence_for<A...>());
}

// Thunks for the map macros.
template <auto pmf> struct Method {
    static HRESULT Invoke(CCmdTarget* pThis, const AFX_DISPMAP_ENTRY* e, DISPPARAMS* p,
                          VARIANT* pResult, UINT* puArgErr)
    {
        typedef typename Fn<decltype(pmf)>::Class C;
        return Call(pmf, static_cast<C*>(pThis), e->lpvtsParams, p, 0, e->vt, pResult,
                    puArgErr);
    }
};

// A property put passes its value as the only (named) argument.
template <auto pmf> struct PropSet {
    static HRESULT Invoke(CCmdTarget* pThis, const AFX_DISPMAP_ENTRY* e, DISPPARAMS* p,
                          VARIANT*, UINT* puArgErr)
    {
        typedef typename Fn<decltype(pmf)>::Class C;
        if constexpr (Fn<decltype(pmf)>::N == 0) { // SetNotSupported and the like
            (static_cast<C*>(pThis)->*pmf)();
            return S_OK;
        } else {
            char vts[2] = {(char)e->vt, 0};
            return Call(pmf, static_cast<C*>(pThis), vts, p, 0, VT_EMPTY, nullptr, puArgErr);
        }
    }
};

template <auto pm> struct MemberTraits;
template <class C, class T, T C::*pm> struct MemberTraits<pm> {
    typedef C Class;
    typedef T Type;
};

template <auto pm> struct MemberGet {
    static HRESULT Invoke(CCmdTarget* pThis, const AFX_DISPMAP_ENTRY* e, DISPPARAMS* p,
                          VARIANT* pResult, UINT*)
    {
        typedef MemberTraits<pm> M;
        if (p->cArgs != 0)
            return DISP_E_BADPARAMCOUNT;
        return StoreResult<typename M::Type>(static_cast<typename M::Class*>(pThis)->*pm,
                                             pResult, e->vt);
    }
};

// Member variable put, then the optional notification member.
template <auto pm, auto pfnNotify> struct MemberSet {
    static HRESULT Invoke(CCmdTarget* pThis, const AFX_DISPMAP_ENTRY* e, DISPPARAMS* p,
                          VARIANT*, UINT* puArgErr)
    {
        typedef MemberTraits<pm> M;
        if (p->cArgs != 1)
            return DISP_E_BADPARAMCOUNT;
        Arg<typename ArgFor<typename M::Type>::type> a;
        HRESULT hr = a.Init(&p->rgvarg[0], e->vt);
        if (FAILED(hr)) {
            if (puArgErr)
                *puArgErr = 0;
            return hr;
        }
        auto* obj = static_cast<typename M::Class*>(pThis);
        obj->*pm = a.Get();
        if constexpr (!std::is_same_v<decltype(pfnNotify), std::nullptr_t>) {
            typedef typename Fn<decltype(pfnNotify)>::Class N;
            (static_cast<N*>(pThis)->*pfnNotify)();
        }
        return S_OK;
    }
};

// Event-sink handler thunks: the handler gets the event's arguments (after the control id
// for range handlers); a handler that returns BOOL says whether it handled the event.
template <auto pmf, bool bRange> struct Sink {
    static HRESULT Invoke(CCmdTarget* pThis, const AFX_EVENTSINKMAP_ENTRY* e, UINT nCtrlID,
                          DISPPARAMS* p, BOOL* pbHandled)
    {
        typedef typename Fn<decltype(pmf)>::Class C;
        typedef typename Fn<decltype(pmf)>::Ret R;
        C* obj = static_cast<C*>(pThis);
        VARIANT result;
        VariantInit(&result);
        HRESULT hr;
        if constexpr (bRange) {
            // Put the id in front as an extra first argument.
            UINT n = p->cArgs + 1;
            VARIANT* args = (VARIANT*)alloca(sizeof(VARIANT) * n);
            memcpy(args, p->rgvarg, sizeof(VARIANT) * p->cArgs);
            VariantInit(&args[n - 1]);
            V_VT(&args[n - 1]) = VT_UI4;
            V_UI4(&args[n - 1]) = nCtrlID;
            DISPPARAMS dp = {args, nullptr, n, 0};
            size_t len = e->lpvtsParams ? strlen(e->lpvtsParams) : 0;
            char* vts = (char*)alloca(len + 2);
            vts[0] = VT_UI4;
            memcpy(vts + 1, e->lpvtsParams ? e->lpvtsParams : "", len + 1);
            hr = Call(pmf, obj, vts, &dp, 0, VT_BOOL, &result, nullptr);
        } else {
            hr = Call(pmf, obj, e->lpvtsParams, p, 0, VT_BOOL, &result, nullptr);
        }
        if (pbHandled)
            *pbHandled = std::is_void_v<R> || (V_VT(&result) == VT_BOOL && V_BOOL(&result));
        VariantClear(&result);
        return hr;
    }
};

} // namespace AfxDisp

//////////////////////////////////////////////////////////////////////////////////////////
// Dispatch maps

#define DECLARE_DISPATCH_MAP()                                                              \
protected:                                                                                  \
    static const AFX_DISPMAP* PASCAL GetThisDispatchMap();                                  \
    virtual const AFX_DISPMAP* GetDispatchMap() const;

#define BEGIN_DISPATCH_MAP(theClass, baseClass)                                             \
    const AFX_DISPMAP* theClass::GetDispatchMap() const { return GetThisDispatchMap(); }    \
    const AFX_DISPMAP* PASCAL theClass::GetThisDispatchMap()                                \
    {                                                                                       \
        typedef baseClass TheBaseClass;                                                     \
        static const AFX_DISPMAP_ENTRY _dispatchEntries[] = {
#define END_DISPATCH_MAP()                                                                  \
    {NULL, DISPID_UNKNOWN, NULL, VT_EMPTY, NULL, NULL, afxDispCustom}                       \
    }                                                                                       \
    ;                                                                                       \
    static const AFX_DISPMAP dispatchMap = {&TheBaseClass::GetThisDispatchMap,              \
                                            &_dispatchEntries[0]};                          \
    return &dispatchMap;                                                                    \
    }

#define DISP_FUNCTION(theClass, szExternalName, pfnMember, vtRetVal, vtsParams)             \
    {_T(szExternalName), DISPID_UNKNOWN, vtsParams, vtRetVal,                               \
     &AfxDisp::Method<&theClass::pfnMember>::Invoke, NULL, afxDispCustom},
#define DISP_FUNCTION_ID(theClass, szExternalName, dispid, pfnMember, vtRetVal, vtsParams) \
    {_T(szExternalName), dispid, vtsParams, vtRetVal,                                       \
     &AfxDisp::Method<&theClass::pfnMember>::Invoke, NULL, afxDispCustom},
#define DISP_PROPERTY(theClass, szExternalName, memberName, vtPropType)                     \
    {_T(szExternalName), DISPID_UNKNOWN, NULL, vtPropType,                                  \
     &AfxDisp::MemberGet<&theClass::memberName>::Invoke,                                    \
     &AfxDisp::MemberSet<&theClass::memberName, nullptr>::Invoke, afxDispCustom},
#define DISP_PROPERTY_ID(theClass, szExternalName, dispid, memberName, vtPropType)          \
    {_T(szExternalName), dispid, NULL, vtPropType,                                          \
     &AfxDisp::MemberGet<&theClass::memberName>::Invoke,                                    \
     &AfxDisp::MemberSet<&theClass::memberName, nullptr>::Invoke, afxDispCustom},
#define DISP_PROPERTY_NOTIFY(theClass, szExternalName, memberName, pfnAfterSet, vtPropType) \
    {_T(szExternalName), DISPID_UNKNOWN, NULL, vtPropType,                                  \
     &AfxDisp::MemberGet<&theClass::memberName>::Invoke,                                    \
     &AfxDisp::MemberSet<&theClass::memberName, &theClass::pfnAfterSet>::Invoke,            \
     afxDispCustom},
#define DISP_PROPERTY_EX(theClass, szExternalName, pfnGet, pfnSet, vtPropType)              \
    {_T(szExternalName), DISPID_UNKNOWN, NULL, vtPropType,                                  \
     &AfxDisp::Method<&theClass::pfnGet>::Invoke, &AfxDisp::PropSet<&theClass::pfnSet>::Invoke, \
     afxDispCustom},
#define DISP_PROPERTY_EX_ID(theClass, szExternalName, dispid, pfnGet, pfnSet, vtPropType)   \
    {_T(szExternalName), dispid, NULL, vtPropType,                                          \
     &AfxDisp::Method<&theClass::pfnGet>::Invoke, &AfxDisp::PropSet<&theClass::pfnSet>::Invoke, \
     afxDispCustom},
#define DISP_DEFVALUE(theClass, szExternalName)

// The DISPID an entry answers to: its own, or its position in the map (low word) with
// the depth of the map below the most derived one (high word, 0 for the object's class).
DISPID AfxDispatchEntryId(const AFX_DISPMAP_ENTRY* pEntry, UINT nIndex, UINT nDepth);

//////////////////////////////////////////////////////////////////////////////////////////
// Event-sink maps (container side)

#define DECLARE_EVENTSINK_MAP()                                                             \
protected:                                                                                  \
    static const AFX_EVENTSINKMAP* PASCAL GetThisEventSinkMap();                            \
    virtual const AFX_EVENTSINKMAP* GetEventSinkMap() const;

#define BEGIN_EVENTSINK_MAP(theClass, baseClass)                                            \
    const AFX_EVENTSINKMAP* theClass::GetEventSinkMap() const { return GetThisEventSinkMap(); } \
    const AFX_EVENTSINKMAP* PASCAL theClass::GetThisEventSinkMap()                          \
    {                                                                                       \
        typedef baseClass TheBaseClass;                                                     \
        static const AFX_EVENTSINKMAP_ENTRY _eventsinkEntries[] = {
#define END_EVENTSINK_MAP()                                                                 \
    {0, 0, DISPID_UNKNOWN, NULL, NULL, FALSE}                                               \
    }                                                                                       \
    ;                                                                                       \
    static const AFX_EVENTSINKMAP eventsinkMap = {&TheBaseClass::GetThisEventSinkMap,       \
                                                  &_eventsinkEntries[0]};                   \
    return &eventsinkMap;                                                                   \
    }

#define ON_EVENT(theClass, id, dispid, pfnHandler, vtsParams)                               \
    {(UINT)(id), (UINT)(id), dispid, vtsParams,                                             \
     &AfxDisp::Sink<&theClass::pfnHandler, false>::Invoke, FALSE},
#define ON_EVENT_RANGE(theClass, idFirst, idLast, dispid, pfnHandler, vtsParams)            \
    {(UINT)(idFirst), (UINT)(idLast), dispid, vtsParams,                                    \
     &AfxDisp::Sink<&theClass::pfnHandler, true>::Invoke, TRUE},

// An event of a contained control on its way to the container's event-sink maps
// (CCmdTarget::OnEvent).
struct AFX_EVENT {
    enum { event, propRequestEdit, propChanged, propDSCNotify };
    AFX_EVENT(int eventKind, DISPID dispid = DISPID_UNKNOWN, DISPPARAMS* pDispParams = NULL,
              EXCEPINFO* pExcepInfo = NULL, UINT* puArgError = NULL)
        : m_eventKind(eventKind), m_dispid(dispid), m_pDispParams(pDispParams),
          m_pExcepInfo(pExcepInfo), m_puArgError(puArgError), m_bPropChanged(FALSE),
          m_hResult(S_OK)
    {
    }
    int m_eventKind;
    DISPID m_dispid;
    DISPPARAMS* m_pDispParams;
    EXCEPINFO* m_pExcepInfo;
    UINT* m_puArgError;
    BOOL m_bPropChanged;
    HRESULT m_hResult;
};

// Delivers an event of control nCtrlID to the first matching entry of pTarget's event-sink
// maps (most derived first). FALSE when no entry took it.
BOOL AfxDispatchEventToSink(CCmdTarget* pTarget, UINT nCtrlID, DISPID dispid,
                            DISPPARAMS* pParams);

// Invokes pThis's dispatch maps as IDispatch::Invoke does.
HRESULT AfxDispatchInvoke(CCmdTarget* pThis, DISPID dispid, WORD wFlags, DISPPARAMS* pParams,
                          VARIANT* pResult, EXCEPINFO* pExcepInfo, UINT* puArgErr);
HRESULT AfxDispatchGetIDsOfNames(CCmdTarget* pThis, LPOLESTR* names, UINT cNames,
                                 DISPID* rgDispId);
// The entry behind a DISPID (NULL when none).
const AFX_DISPMAP_ENTRY* AfxDispatchFindEntry(const AFX_DISPMAP* pMap, DISPID dispid);

//////////////////////////////////////////////////////////////////////////////////////////
// Interface maps

#define DECLARE_INTERFACE_MAP()                                                             \
protected:                                                                                  \
    static const AFX_INTERFACEMAP* PASCAL GetThisInterfaceMap();                            \
    virtual const AFX_INTERFACEMAP* GetInterfaceMap() const;

#define BEGIN_INTERFACE_MAP(theClass, theBase)                                              \
    const AFX_INTERFACEMAP* theClass::GetInterfaceMap() const { return GetThisInterfaceMap(); } \
    const AFX_INTERFACEMAP* PASCAL theClass::GetThisInterfaceMap()                          \
    {                                                                                       \
        typedef theClass ThisClass;                                                         \
        typedef theBase TheBaseClass;                                                       \
        static const AFX_INTERFACEMAP_ENTRY _interfaceEntries[] = {
#define INTERFACE_PART(theClass, iid, localClass)                                           \
    {&iid, offsetof(ThisClass, m_x##localClass)},
#define INTERFACE_AGGREGATE(theClass, theAggr) {NULL, offsetof(ThisClass, theAggr)},
#define END_INTERFACE_MAP()                                                                 \
    {NULL, (size_t)-1}                                                                      \
    }                                                                                       \
    ;                                                                                       \
    static const AFX_INTERFACEMAP interfaceMap = {&TheBaseClass::GetThisInterfaceMap,      \
                                                  &_interfaceEntries[0]};                   \
    return &interfaceMap;                                                                   \
    }

// A nested class implementing one interface; its IUnknown goes to the outer object.
#define BEGIN_INTERFACE_PART(localClass, baseClass)                                         \
    class X##localClass : public baseClass {                                                \
    public:                                                                                 \
        STDMETHOD_(ULONG, AddRef)() override;                                               \
        STDMETHOD_(ULONG, Release)() override;                                              \
        STDMETHOD(QueryInterface)(REFIID iid, LPVOID * ppvObj) override;
#define INIT_INTERFACE_PART(theClass, localClass)
#define END_INTERFACE_PART(localClass)                                                      \
    }                                                                                       \
    m_x##localClass;                                                                        \
    friend class X##localClass;

#define METHOD_PROLOGUE(theClass, localClass)                                               \
    theClass* pThis = ((theClass*)((BYTE*)this - offsetof(theClass, m_x##localClass)));     \
    (void)pThis;
#define METHOD_PROLOGUE_EX METHOD_PROLOGUE
#define METHOD_PROLOGUE_EX_ METHOD_PROLOGUE

// IUnknown of a nested part, delegating to the outer CCmdTarget.
#define IMPLEMENT_INTERFACE_UNKNOWN(theClass, localClass)                                   \
    STDMETHODIMP_(ULONG) theClass::X##localClass::AddRef()                                  \
    {                                                                                       \
        METHOD_PROLOGUE(theClass, localClass)                                               \
        return pThis->ExternalAddRef();                                                     \
    }                                                                                       \
    STDMETHODIMP_(ULONG) theClass::X##localClass::Release()                                 \
    {                                                                                       \
        METHOD_PROLOGUE(theClass, localClass)                                               \
        return pThis->ExternalRelease();                                                    \
    }                                                                                       \
    STDMETHODIMP theClass::X##localClass::QueryInterface(REFIID iid, LPVOID* ppv)           \
    {                                                                                       \
        METHOD_PROLOGUE(theClass, localClass)                                               \
        return (HRESULT)pThis->ExternalQueryInterface(&iid, ppv);                           \
    }

//////////////////////////////////////////////////////////////////////////////////////////
// Connection maps

#define DECLARE_CONNECTION_MAP()                                                            \
protected:                                                                                  \
    static const AFX_CONNECTIONMAP* PASCAL GetThisConnectionMap();                          \
    virtual const AFX_CONNECTIONMAP* GetConnectionMap() const;
#define BEGIN_CONNECTION_MAP(theClass, theBase)                                             \
    const AFX_CONNECTIONMAP* theClass::GetConnectionMap() const { return GetThisConnectionMap(); } \
    const AFX_CONNECTIONMAP* PASCAL theClass::GetThisConnectionMap()                        \
    {                                                                                       \
        typedef theBase TheBaseClass;                                                       \
        static const AFX_CONNECTIONMAP_ENTRY _connectionEntries[] = {
#define CONNECTION_PART(theClass, iid, localClass) {&iid},
#define END_CONNECTION_MAP()                                                                \
    {NULL}                                                                                  \
    }                                                                                       \
    ;                                                                                       \
    static const AFX_CONNECTIONMAP connectionMap = {&TheBaseClass::GetThisConnectionMap,   \
                                                    &_connectionEntries[0]};                \
    return &connectionMap;                                                                  \
    }

//////////////////////////////////////////////////////////////////////////////////////////
// COleDispatchException: an automation error, raised by the dispatch driver and the
// control container, and thrown by controls (ThrowError) to answer DISP_E_EXCEPTION.

class COleDispatchException : public CException {
    DECLARE_DYNAMIC(COleDispatchException)
public:
    COleDispatchException(LPCTSTR lpszDescription, UINT nHelpID, WORD wCode);
    virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError,
                                 PUINT pnHelpContext = NULL) override;
    static void Process(EXCEPINFO* pInfo, const CException* pAnyException);

    WORD m_wCode;
    SCODE m_scError;
    CString m_strSource;
    CString m_strDescription;
    CString m_strHelpFile;
    DWORD m_dwHelpContext;
};

void AFXAPI AfxThrowOleDispatchException(WORD wCode, LPCTSTR lpszDescription, UINT nHelpID = 0);
void AFXAPI AfxThrowOleDispatchException(WORD wCode, UINT nDescriptionID, UINT nHelpID = (UINT)-1);
// Raises the exception an automation call answered (DISP_E_EXCEPTION with its EXCEPINFO, or
// a plain failure code).
void AFXAPI AfxThrowOleDispatchFromResult(HRESULT hr, EXCEPINFO* pInfo);

//////////////////////////////////////////////////////////////////////////////////////////
// COleDispatchDriver: calls an IDispatch by DISPID.

class COleDispatchDriver {
public:
    COleDispatchDriver();
    COleDispatchDriver(LPDISPATCH lpDispatch, BOOL bAutoRelease = TRUE);
    COleDispatchDriver(const COleDispatchDriver& dispatchSrc);
    virtual ~COleDispatchDriver();

    void AttachDispatch(LPDISPATCH lpDispatch, BOOL bAutoRelease = TRUE);
    LPDISPATCH DetachDispatch();
    void ReleaseDispatch();
    BOOL CreateDispatch(REFCLSID clsid, COleException* pError = NULL);
    BOOL CreateDispatch(LPCTSTR lpszProgID, COleException* pError = NULL);

    void InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                      const BYTE* pbParamInfo, ...);
    void InvokeHelperV(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                       const BYTE* pbParamInfo, va_list argList);
    void SetProperty(DISPID dwDispID, VARTYPE vtProp, ...);
    void GetProperty(DISPID dwDispID, VARTYPE vtProp, void* pvProp) const;

    const COleDispatchDriver& operator=(const COleDispatchDriver& dispatchSrc);
    operator LPDISPATCH() { return m_lpDispatch; }

    LPDISPATCH m_lpDispatch;
    BOOL m_bAutoRelease;
};

// The one calling scheme shared by the dispatch driver and the control container: builds
// the arguments from a parameter string and a va_list, invokes, converts the result into
// *pvRet (the C++ type of vtRet; VT_BSTR gives a BSTR the caller frees) and raises
// COleDispatchException on failure.
void AFXAPI AfxDispatchInvokeHelperV(LPDISPATCH lpDispatch, DISPID dwDispID, WORD wFlags,
                                     VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo,
                                     va_list argList);

//////////////////////////////////////////////////////////////////////////////////////////
// Class factories

class COleObjectFactory : public CCmdTarget {
    DECLARE_DYNAMIC(COleObjectFactory)
public:
    COleObjectFactory(REFCLSID clsid, CRuntimeClass* pRuntimeClass, BOOL bMultiInstance,
                      LPCTSTR lpszProgID);
    virtual ~COleObjectFactory();

    REFCLSID GetClassID() const { return m_clsid; }
    BOOL IsRegistered() const { return m_bRegistered; }
    virtual CCmdTarget* OnCreateObject();
    virtual BOOL UpdateRegistry(BOOL bRegister);
    virtual BOOL VerifyUserLicense() { return TRUE; }

    static BOOL PASCAL UpdateRegistryAll(BOOL bRegister = TRUE);
    static BOOL PASCAL RegisterAll() { return TRUE; }
    static void PASCAL RevokeAll() {}
    // The module's factories answer DllGetClassObject.
    static HRESULT PASCAL GetClassObjectAll(REFCLSID rclsid, REFIID riid, LPVOID* ppv);

    // IClassFactory on the factory object itself.
    HRESULT CreateInstance(IUnknown* pOuter, REFIID riid, LPVOID* ppv);

    CLSID m_clsid;
    CRuntimeClass* m_pRuntimeClass;
    BOOL m_bMultiInstance;
    LPCTSTR m_lpszProgID;
    BOOL m_bRegistered;
    COleObjectFactory* m_pNextFactory;

    class XClassFactory : public IClassFactory2 {
    public:
        STDMETHOD_(ULONG, AddRef)() override;
        STDMETHOD_(ULONG, Release)() override;
        STDMETHOD(QueryInterface)(REFIID iid, LPVOID* ppvObj) override;
        STDMETHOD(CreateInstance)(IUnknown* pOuter, REFIID riid, void** ppv) override;
        STDMETHOD(LockServer)(BOOL fLock) override;
        STDMETHOD(GetLicInfo)(LICINFO* pInfo) override;
        STDMETHOD(RequestLicKey)(DWORD, BSTR*) override;
        STDMETHOD(CreateInstanceLic)(IUnknown*, IUnknown*, REFIID, BSTR, void**) override;
        COleObjectFactory* m_pThis = nullptr;
    } m_xClassFactory;
};

// A factory per creatable class.
#define DECLARE_OLECREATE(class_name)                                                       \
public:                                                                                     \
    static COleObjectFactory factory;                                                       \
    static const GUID guid;
#define IMPLEMENT_OLECREATE(class_name, external_name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
    COleObjectFactory class_name::factory(class_name::guid, RUNTIME_CLASS(class_name), FALSE, \
                                          _T(external_name));                                \
    const GUID class_name::guid = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}};

// Module lock count (objects and locks alive keep the module loaded).
void AFXAPI AfxOleLockApp();
void AFXAPI AfxOleUnlockApp();
BOOL AFXAPI AfxOleCanExitApp();

// Hooks of the control container for the window classes: moving a hosted control goes
// through its site (the control may answer with a size of its own), and keys for a control
// are offered to it before they are dispatched (TRUE: the control kept the key).
BOOL AFXAPI AfxOleSiteMoveWindow(CWnd* pWnd, int x, int y, int cx, int cy, BOOL bRepaint);
BOOL AFXAPI AfxOleSiteSetWindowPos(CWnd* pWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy,
                                   UINT nFlags);
BOOL AFXAPI AfxOleTranslateControlMessage(HWND hWnd, MSG* pMsg);
void AFXAPI AfxOleAttachControlSite(CWnd* pWnd);

// The module this copy of the class library is linked into (a control module's own handle).
HINSTANCE AFXAPI AfxOleModuleHandle();

BOOL AFXAPI AfxOleInit();
void AFXAPI AfxOleTerm(BOOL bJustRevoke = FALSE);
void AFXAPI AfxEnableControlContainer();

// The standard server exports built on the module's factories.
HRESULT AFXAPI AfxDllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv);
HRESULT AFXAPI AfxDllCanUnloadNow();

// Registry helpers
BOOL AFXAPI AfxOleRegisterTypeLib(HINSTANCE hInstance, REFGUID tlid, LPCTSTR pszFileName = NULL,
                                  LPCTSTR pszHelpDir = NULL);
BOOL AFXAPI AfxOleUnregisterTypeLib(REFGUID tlid, WORD wVerMajor = 0, WORD wVerMinor = 0,
                                    LCID lcid = 0);

// The registered name of a class (HKEY_CLASSES_ROOT\CLSID\{...}) as text.
CString AfxStringFromCLSID(REFCLSID clsid);

#endif  // QUORVEL_AFXDISP_H
