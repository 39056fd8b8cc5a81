// COleDateTime and COleDateTimeSpan.
//
// A DATE counts days from 1899-12-30 00:00. Before that day the integer part counts backwards
// but the fraction still runs forwards from midnight: -1.25 is 1899-12-29 06:00, not 1899-12-28
// 18:00. All arithmetic and comparison goes through a linear day count, where -1.25 is -0.75.
#include "afxdisp.h"
#include "core_internal.h"

#include <math.h>

namespace {
const double kMinDate = -657434.0;  // 0100-01-01
const double kMaxDate = 2958465.0;  // 9999-12-31 (its whole day is valid)

double LinearFromDate(DATE dt) {
  if (dt >= 0) return dt;
  double whole = ceil(dt);  // toward zero for negatives
  return whole - (dt - whole);
}

DATE DateFromLinear(double linear) {
  if (linear >= 0) return linear;
  double day = floor(linear);
  double frac = linear - day;
  if (frac == 0) return day;
  return day - frac;
}

// Days from 1899-12-30 to the given proleptic Gregorian date.
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = (unsigned)(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + (long long)doe - 719468 + 25569;  // 25569: 1899-12-30 .. 1970-01-01
}

void CivilFromDays(long long z, int& y, int& m, int& d) {
  z += 719468 - 25569;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = (unsigned)(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long yy = (long long)yoe + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = (int)(doy - (153 * mp + 2) / 5 + 1);
  m = (int)(mp < 10 ? mp + 3 : mp - 9);
  y = (int)(yy + (m <= 2));
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return (m == 2 && IsLeap(y)) ? 29 : days[m - 1];
}

struct DateParts {
  int year, month, day, hour, minute, second, dayOfWeek, dayOfYear;
};

// The calendar parts of a DATE, rounded to the nearest second.
bool InRange(DATE dt) {
  double linear = LinearFromDate(dt);
  return linear >= kMinDate && linear < kMaxDate + 1;  // false for NaN too
}

bool PartsFromDate(DATE dt, DateParts& p) {
  if (!InRange(dt)) return false;
  double linear = LinearFromDate(dt);
  long long nSeconds = llround(linear * 86400.0);
  long long nDays = nSeconds >= 0 ? nSeconds / 86400 : -((-nSeconds + 86399) / 86400);
  long long nSecOfDay = nSeconds - nDays * 86400;
  CivilFromDays(nDays, p.year, p.month, p.day);
  p.hour = (int)(nSecOfDay / 3600);
  p.minute = (int)((nSecOfDay / 60) % 60);
  p.second = (int)(nSecOfDay % 60);
  p.dayOfWeek = (int)((((nDays % 7) + 7) % 7 + 6) % 7) + 1;  // 1899-12-30 was a Saturday
  p.dayOfYear = (int)(nDays - DaysFromCivil(p.year, 1, 1)) + 1;
  return true;
}

bool DateFromParts(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, DATE& dt) {
  if (nYear < 100 || nYear > 9999 || nMonth < 1 || nMonth > 12 || nDay < 1 ||
      nDay > DaysInMonth(nYear, nMonth) || nHour < 0 || nHour > 23 || nMin < 0 || nMin > 59 ||
      nSec < 0 || nSec > 59)
    return false;
  long long nDays = DaysFromCivil(nYear, (unsigned)nMonth, (unsigned)nDay);
  double frac = (nHour * 3600 + nMin * 60 + nSec) / 86400.0;
  dt = DateFromLinear((double)nDays + frac);
  return true;
}

CString InvalidText() { return CString("Invalid DateTime"); }
}  // namespace

// ---------------------------------------------------------------------------------------------
COleDateTime PASCAL COleDateTime::GetCurrentTime() {
  SYSTEMTIME st;
  ::GetLocalTime(&st);
  st.wMilliseconds = 0;
  return COleDateTime(st);
}

COleDateTime::COleDateTime() : m_dt(0), m_status(valid) {}

COleDateTime::COleDateTime(const VARIANT& varSrc) : m_dt(0), m_status(valid) { *this = varSrc; }

COleDateTime::COleDateTime(DATE dtSrc) : m_dt(dtSrc), m_status(valid) { CheckRange(); }

COleDateTime::COleDateTime(time_t timeSrc) : m_dt(0), m_status(valid) { *this = timeSrc; }

COleDateTime::COleDateTime(const SYSTEMTIME& systimeSrc) : m_dt(0), m_status(valid) {
  *this = systimeSrc;
}

COleDateTime::COleDateTime(const FILETIME& filetimeSrc) : m_dt(0), m_status(valid) {
  *this = filetimeSrc;
}

COleDateTime::COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec)
    : m_dt(0), m_status(valid) {
  SetDateTime(nYear, nMonth, nDay, nHour, nMin, nSec);
}

COleDateTime::COleDateTime(WORD wDosDate, WORD wDosTime) : m_dt(0), m_status(valid) {
  SetDateTime((wDosDate >> 9) + 1980, (wDosDate >> 5) & 0xF, wDosDate & 0x1F, wDosTime >> 11,
              (wDosTime >> 5) & 0x3F, (wDosTime & 0x1F) * 2);
}

void COleDateTime::CheckRange() {
  if (!InRange(m_dt)) m_status = invalid;
}

const COleDateTime& COleDateTime::operator=(const VARIANT& varSrc) {
  m_dt = 0;
  m_status = invalid;
  if (V_VT(&varSrc) == VT_NULL) {
    m_status = null;
    return *this;
  }
  VARIANT varTemp;
  if (AfxVariantAs(varSrc, VT_DATE, &varTemp)) {
    m_dt = V_DATE(&varTemp);
    m_status = valid;
    CheckRange();
  }
  VariantClear(&varTemp);
  return *this;
}

const COleDateTime& COleDateTime::operator=(DATE dtSrc) {
  m_dt = dtSrc;
  m_status = valid;
  CheckRange();
  return *this;
}

const COleDateTime& COleDateTime::operator=(const time_t& timeSrc) {
  struct tm ttm;
  time_t t = timeSrc;
  if (localtime_r(&t, &ttm) == NULL) {
    m_dt = 0;
    m_status = invalid;
    return *this;
  }
  SetDateTime(ttm.tm_year + 1900, ttm.tm_mon + 1, ttm.tm_mday, ttm.tm_hour, ttm.tm_min,
              ttm.tm_sec);
  return *this;
}

const COleDateTime& COleDateTime::operator=(const SYSTEMTIME& st) {
  SetDateTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
  return *this;
}

// A FILETIME is UTC; the date shows it in local time.
const COleDateTime& COleDateTime::operator=(const FILETIME& filetimeSrc) {
  FILETIME ftLocal;
  SYSTEMTIME st;
  if (!FileTimeToLocalFileTime(&filetimeSrc, &ftLocal) || !FileTimeToSystemTime(&ftLocal, &st)) {
    m_dt = 0;
    m_status = invalid;
    return *this;
  }
  return *this = st;
}

int COleDateTime::SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec) {
  DATE dt;
  if (DateFromParts(nYear, nMonth, nDay, nHour, nMin, nSec, dt)) {
    m_dt = dt;
    m_status = valid;
  } else {
    m_dt = 0;
    m_status = invalid;
  }
  return m_status == valid ? 0 : 1;
}

int COleDateTime::SetDate(int nYear, int nMonth, int nDay) {
  return SetDateTime(nYear, nMonth, nDay, 0, 0, 0);
}

int COleDateTime::SetTime(int nHour, int nMin, int nSec) {
  // A time alone is a time of 1899-12-30.
  return SetDateTime(1899, 12, 30, nHour, nMin, nSec);
}

BOOL COleDateTime::GetAsSystemTime(SYSTEMTIME& sysTime) const {
  DateParts p;
  if (m_status != valid || !PartsFromDate(m_dt, p)) return FALSE;
  sysTime.wYear = (WORD)p.year;
  sysTime.wMonth = (WORD)p.month;
  sysTime.wDay = (WORD)p.day;
  sysTime.wHour = (WORD)p.hour;
  sysTime.wMinute = (WORD)p.minute;
  sysTime.wSecond = (WORD)p.second;
  sysTime.wDayOfWeek = (WORD)(p.dayOfWeek - 1);
  sysTime.wMilliseconds = 0;
  return TRUE;
}

#define DATE_PART(name, field)                                 \
  int COleDateTime::name() const {                             \
    DateParts p;                                               \
    if (m_status != valid || !PartsFromDate(m_dt, p)) return -1; \
    return p.field;                                            \
  }
DATE_PART(GetYear, year)
DATE_PART(GetMonth, month)
DATE_PART(GetDay, day)
DATE_PART(GetHour, hour)
DATE_PART(GetMinute, minute)
DATE_PART(GetSecond, second)
DATE_PART(GetDayOfWeek, dayOfWeek)
DATE_PART(GetDayOfYear, dayOfYear)

// Comparisons go through the linear scale, so that dates before 1899-12-30 order correctly.
BOOL COleDateTime::operator==(const COleDateTime& date) const {
  return m_status == date.m_status && LinearFromDate(m_dt) == LinearFromDate(date.m_dt);
}
BOOL COleDateTime::operator!=(const COleDateTime& date) const { return !(*this == date); }
BOOL COleDateTime::operator<(const COleDateTime& date) const {
  return LinearFromDate(m_dt) < LinearFromDate(date.m_dt);
}
BOOL COleDateTime::operator>(const COleDateTime& date) const {
  return LinearFromDate(m_dt) > LinearFromDate(date.m_dt);
}
BOOL COleDateTime::operator<=(const COleDateTime& date) const {
  return LinearFromDate(m_dt) <= LinearFromDate(date.m_dt);
}
BOOL COleDateTime::operator>=(const COleDateTime& date) const {
  return LinearFromDate(m_dt) >= LinearFromDate(date.m_dt);
}

COleDateTime COleDateTime::operator+(const COleDateTimeSpan& dateSpan) const {
  COleDateTime dateResult;
  if (m_status == null || dateSpan.m_status == COleDateTimeSpan::null) {
    dateResult.m_status = null;
    return dateResult;
  }
  if (m_status == invalid || dateSpan.m_status == COleDateTimeSpan::invalid) {
    dateResult.m_status = invalid;
    return dateResult;
  }
  dateResult.m_dt = DateFromLinear(LinearFromDate(m_dt) + dateSpan.m_span);
  dateResult.CheckRange();
  return dateResult;
}

COleDateTime COleDateTime::operator-(const COleDateTimeSpan& dateSpan) const {
  return *this + (-dateSpan);
}

const COleDateTime& COleDateTime::operator+=(const COleDateTimeSpan dateSpan) {
  *this = *this + dateSpan;
  return *this;
}

const COleDateTime& COleDateTime::operator-=(const COleDateTimeSpan dateSpan) {
  *this = *this - dateSpan;
  return *this;
}

COleDateTimeSpan COleDateTime::operator-(const COleDateTime& date) const {
  COleDateTimeSpan spanResult;
  if (m_status == null || date.m_status == null) {
    spanResult.m_status = COleDateTimeSpan::null;
    return spanResult;
  }
  if (m_status == invalid || date.m_status == invalid) {
    spanResult.m_status = COleDateTimeSpan::invalid;
    return spanResult;
  }
  spanResult.m_span = LinearFromDate(m_dt) - LinearFromDate(date.m_dt);
  spanResult.CheckRange();
  return spanResult;
}

BOOL COleDateTime::ParseDateTime(LPCSTR lpszDate, DWORD dwFlags, LCID lcid) {
  m_dt = 0;
  if (lpszDate == NULL) {
    m_status = invalid;
    return FALSE;
  }
  CString str(lpszDate);
  BSTR bstr = str.AllocSysString();
  DATE dt;
  HRESULT hr = VarDateFromStr(bstr, lcid, dwFlags, &dt);
  SysFreeString(bstr);
  if (FAILED(hr)) {
    m_status = invalid;
    return FALSE;
  }
  m_dt = dt;
  m_status = valid;
  CheckRange();
  return m_status == valid;
}

CString COleDateTime::Format(DWORD dwFlags, LCID lcid) const {
  if (m_status == null) return CString();
  if (m_status == invalid) return InvalidText();
  BSTR bstr = NULL;
  if (FAILED(VarBstrFromDate(m_dt, lcid, dwFlags, &bstr))) return InvalidText();
  CString str(bstr, (int)SysStringLen(bstr));
  SysFreeString(bstr);
  return str;
}

CString COleDateTime::Format(LPCSTR pFormat) const {
  if (m_status == null) return CString();
  DateParts p;
  if (m_status == invalid || !PartsFromDate(m_dt, p)) return InvalidText();
  struct tm ttm = {};
  ttm.tm_year = p.year - 1900;
  ttm.tm_mon = p.month - 1;
  ttm.tm_mday = p.day;
  ttm.tm_hour = p.hour;
  ttm.tm_min = p.minute;
  ttm.tm_sec = p.second;
  ttm.tm_wday = p.dayOfWeek - 1;
  ttm.tm_yday = p.dayOfYear - 1;
  ttm.tm_isdst = -1;
  return AfxFormatTm(pFormat, &ttm);
}

CString COleDateTime::Format(UINT nFormatID) const {
  CString strFormat;
  strFormat.LoadString(nFormatID);
  return Format((LPCSTR)strFormat);
}

// ---------------------------------------------------------------------------------------------
COleDateTimeSpan::COleDateTimeSpan() : m_span(0), m_status(valid) {}

COleDateTimeSpan::COleDateTimeSpan(double dblSpanSrc) : m_span(dblSpanSrc), m_status(valid) {
  CheckRange();
}

COleDateTimeSpan::COleDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs) {
  SetDateTimeSpan(lDays, nHours, nMins, nSecs);
}

void COleDateTimeSpan::SetDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs) {
  m_span = lDays + ((double)nHours) / 24 + ((double)nMins) / (24 * 60) +
           ((double)nSecs) / (24 * 60 * 60);
  m_status = valid;
  CheckRange();
}

void COleDateTimeSpan::CheckRange() {
  if (!(m_span >= -3615897.0 && m_span <= 3615897.0)) m_status = invalid;
}

// Whole units of the span, rounded to the nearest second first (so that 1/24 day is one
// hour even where the double is a hair below it).
static long long SpanSeconds(double span) { return llround(span * 86400.0); }

double COleDateTimeSpan::GetTotalDays() const { return m_span; }
double COleDateTimeSpan::GetTotalHours() const { return (double)(SpanSeconds(m_span) / 3600); }
double COleDateTimeSpan::GetTotalMinutes() const { return (double)(SpanSeconds(m_span) / 60); }
double COleDateTimeSpan::GetTotalSeconds() const { return (double)SpanSeconds(m_span); }
LONG COleDateTimeSpan::GetDays() const { return (LONG)(SpanSeconds(m_span) / 86400); }
LONG COleDateTimeSpan::GetHours() const { return (LONG)((SpanSeconds(m_span) / 3600) % 24); }
LONG COleDateTimeSpan::GetMinutes() const { return (LONG)((SpanSeconds(m_span) / 60) % 60); }
LONG COleDateTimeSpan::GetSeconds() const { return (LONG)(SpanSeconds(m_span) % 60); }

const COleDateTimeSpan& COleDateTimeSpan::operator=(double dblSpanSrc) {
  m_span = dblSpanSrc;
  m_status = valid;
  CheckRange();
  return *this;
}

BOOL COleDateTimeSpan::operator==(const COleDateTimeSpan& s) const {
  return m_status == s.m_status && m_span == s.m_span;
}
BOOL COleDateTimeSpan::operator!=(const COleDateTimeSpan& s) const { return !(*this == s); }
BOOL COleDateTimeSpan::operator<(const COleDateTimeSpan& s) const { return m_span < s.m_span; }
BOOL COleDateTimeSpan::operator>(const COleDateTimeSpan& s) const { return m_span > s.m_span; }
BOOL COleDateTimeSpan::operator<=(const COleDateTimeSpan& s) const { return m_span <= s.m_span; }
BOOL COleDateTimeSpan::operator>=(const COleDateTimeSpan& s) const { return m_span >= s.m_span; }

static COleDateTimeSpan CombineSpans(const COleDateTimeSpan& a, const COleDateTimeSpan& b,
                                     double value) {
  COleDateTimeSpan result;
  if (a.m_status == COleDateTimeSpan::null || b.m_status == COleDateTimeSpan::null) {
    result.m_status = COleDateTimeSpan::null;
  } else if (a.m_status == COleDateTimeSpan::invalid ||
             b.m_status == COleDateTimeSpan::invalid) {
    result.m_status = COleDateTimeSpan::invalid;
  } else {
    result = value;
  }
  return result;
}

COleDateTimeSpan COleDateTimeSpan::operator+(const COleDateTimeSpan& s) const {
  return CombineSpans(*this, s, m_span + s.m_span);
}
COleDateTimeSpan COleDateTimeSpan::operator-(const COleDateTimeSpan& s) const {
  return CombineSpans(*this, s, m_span - s.m_span);
}
const COleDateTimeSpan& COleDateTimeSpan::operator+=(const COleDateTimeSpan s) {
  *this = *this + s;
  return *this;
}
const COleDateTimeSpan& COleDateTimeSpan::operator-=(const COleDateTimeSpan s) {
  *this = *this - s;
  return *this;
}
COleDateTimeSpan COleDateTimeSpan::operator-() const {
  COleDateTimeSpan result(*this);
  result.m_span = -m_span;
  return result;
}

CString COleDateTimeSpan::Format(LPCSTR pFormat) const {
  if (m_status == null) return CString();
  if (m_status == invalid) return CString("Invalid DateTimeSpan");
  return AfxFormatSpan(pFormat, GetDays(), (int)GetHours(), (int)GetMinutes(),
                       (int)GetSeconds());
}

CString COleDateTimeSpan::Format(UINT nID) const {
  CString strFormat;
  strFormat.LoadString(nID);
  return Format((LPCSTR)strFormat);
}
