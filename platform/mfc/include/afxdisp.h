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

#endif  // QUORVEL_AFXDISP_H
