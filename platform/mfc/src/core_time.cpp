// CTime (seconds since 1970-01-01 UTC, shown in local time) and CTimeSpan.
#include "core_internal.h"

#include <string>

CTime PASCAL CTime::GetCurrentTime() { return CTime((__int64)::time(NULL)); }

// Local calendar time to seconds; -1 when the C library cannot represent it.
static __int64 LocalToTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec,
                           int nDST) {
  struct tm atm = {};
  atm.tm_sec = nSec;
  atm.tm_min = nMin;
  atm.tm_hour = nHour;
  atm.tm_mday = nDay;
  atm.tm_mon = nMonth - 1;
  atm.tm_year = nYear - 1900;
  atm.tm_isdst = nDST < 0 ? -1 : (nDST > 0 ? 1 : 0);
  if (nYear < 1900 || nMonth < 1 || nMonth > 12 || nDay < 1 || nDay > 31 || nHour < 0 ||
      nHour > 23 || nMin < 0 || nMin > 59 || nSec < 0 || nSec > 59)
    return -1;
  return (__int64)mktime(&atm);
}

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST) {
  m_time = LocalToTime(nYear, nMonth, nDay, nHour, nMin, nSec, nDST);
}

CTime::CTime(WORD wDosDate, WORD wDosTime, int nDST) {
  m_time = LocalToTime((wDosDate >> 9) + 1980, (wDosDate >> 5) & 0xF, wDosDate & 0x1F,
                       wDosTime >> 11, (wDosTime >> 5) & 0x3F, (wDosTime & 0x1F) * 2, nDST);
}

CTime::CTime(const SYSTEMTIME& sysTime, int nDST) {
  if (sysTime.wYear < 1900)
    m_time = 0;
  else
    m_time = LocalToTime(sysTime.wYear, sysTime.wMonth, sysTime.wDay, sysTime.wHour,
                         sysTime.wMinute, sysTime.wSecond, nDST);
}

CTime::CTime(const FILETIME& fileTime, int) {
  // A FILETIME counts 100 ns units since 1601-01-01 UTC.
  ULONGLONG v = ((ULONGLONG)fileTime.dwHighDateTime << 32) | fileTime.dwLowDateTime;
  m_time = (__int64)(v / 10000000ULL) - 11644473600LL;
}

// Without a caller's buffer the result lives in a static, as the C library's gmtime does.
struct tm* CTime::GetGmtTm(struct tm* ptm) const {
  static struct tm s_tm;
  if (ptm == NULL) ptm = &s_tm;
  time_t t = (time_t)m_time;
  if (gmtime_r(&t, ptm) == NULL) memset(ptm, 0, sizeof(*ptm));
  return ptm;
}

struct tm* CTime::GetLocalTm(struct tm* ptm) const {
  static struct tm s_tm;
  if (ptm == NULL) ptm = &s_tm;
  time_t t = (time_t)m_time;
  if (localtime_r(&t, ptm) == NULL) memset(ptm, 0, sizeof(*ptm));
  return ptm;
}

BOOL CTime::GetAsSystemTime(SYSTEMTIME& timeDest) const {
  struct tm ttm;
  time_t t = (time_t)m_time;
  if (localtime_r(&t, &ttm) == NULL) return FALSE;
  timeDest.wYear = (WORD)(1900 + ttm.tm_year);
  timeDest.wMonth = (WORD)(1 + ttm.tm_mon);
  timeDest.wDayOfWeek = (WORD)ttm.tm_wday;
  timeDest.wDay = (WORD)ttm.tm_mday;
  timeDest.wHour = (WORD)ttm.tm_hour;
  timeDest.wMinute = (WORD)ttm.tm_min;
  timeDest.wSecond = (WORD)ttm.tm_sec;
  timeDest.wMilliseconds = 0;
  return TRUE;
}

#define TIME_PART(name, expr)   \
  int CTime::name() const {     \
    struct tm ttm;              \
    GetLocalTm(&ttm);           \
    return expr;                \
  }
TIME_PART(GetYear, ttm.tm_year + 1900)
TIME_PART(GetMonth, ttm.tm_mon + 1)
TIME_PART(GetDay, ttm.tm_mday)
TIME_PART(GetHour, ttm.tm_hour)
TIME_PART(GetMinute, ttm.tm_min)
TIME_PART(GetSecond, ttm.tm_sec)
TIME_PART(GetDayOfWeek, ttm.tm_wday + 1)

// strftime, with "%#x" (no leading zeros on the platform's library) read as "%-x".
CString AFXAPI AfxFormatTm(LPCSTR pFormat, const struct tm* ptm) {
  if (pFormat == NULL) return CString();
  std::string fmt;
  for (const char* p = pFormat; *p; p++) {
    fmt += *p;
    if (p[0] == '%' && p[1] == '#') {
      fmt += '-';
      p++;
    } else if (p[0] == '%' && p[1] == '%') {
      fmt += '%';
      p++;
    }
  }
  if (fmt.empty()) return CString();
  std::string out(256, '\0');
  for (;;) {
    size_t n = strftime(&out[0], out.size(), fmt.c_str(), ptm);
    if (n > 0 || out.size() > 65536) return CString(out.data(), (int)n);
    out.resize(out.size() * 4);
  }
}

CString CTime::Format(LPCSTR pFormat) const {
  struct tm ttm;
  return AfxFormatTm(pFormat, GetLocalTm(&ttm));
}

CString CTime::FormatGmt(LPCSTR pFormat) const {
  struct tm ttm;
  return AfxFormatTm(pFormat, GetGmtTm(&ttm));
}

CString CTime::Format(UINT nFormatID) const {
  CString strFormat;
  strFormat.LoadString(nFormatID);
  return Format(strFormat);
}

CString CTime::FormatGmt(UINT nFormatID) const {
  CString strFormat;
  strFormat.LoadString(nFormatID);
  return FormatGmt(strFormat);
}

// ---------------------------------------------------------------------------------------------
CTimeSpan::CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs) {
  m_timeSpan = nSecs + 60 * (nMins + 60 * (nHours + (__int64)24 * lDays));
}

LONG CTimeSpan::GetDays() const { return (LONG)(m_timeSpan / (24 * 3600)); }
LONG CTimeSpan::GetTotalHours() const { return (LONG)(m_timeSpan / 3600); }
int CTimeSpan::GetHours() const { return (int)(GetTotalHours() - GetDays() * 24); }
LONG CTimeSpan::GetTotalMinutes() const { return (LONG)(m_timeSpan / 60); }
int CTimeSpan::GetMinutes() const { return (int)(GetTotalMinutes() - GetTotalHours() * 60); }
int CTimeSpan::GetSeconds() const { return (int)(m_timeSpan - GetTotalMinutes() * 60); }

// %D days, %H hours, %M minutes, %S seconds (two digits each), %% percent.
CString AFXAPI AfxFormatSpan(LPCSTR pFormat, long long days, int hours, int mins, int secs) {
  CString strBuffer;
  char sz[32];
  for (const char* p = pFormat ? pFormat : ""; *p; p++) {
    if (*p != '%' || p[1] == 0) {
      strBuffer += *p;
      continue;
    }
    switch (*++p) {
      case '%': strBuffer += '%'; break;
      case 'D': snprintf(sz, sizeof(sz), "%lld", days); strBuffer += sz; break;
      case 'H': snprintf(sz, sizeof(sz), "%02d", hours); strBuffer += sz; break;
      case 'M': snprintf(sz, sizeof(sz), "%02d", mins); strBuffer += sz; break;
      case 'S': snprintf(sz, sizeof(sz), "%02d", secs); strBuffer += sz; break;
      default: strBuffer += '%'; strBuffer += *p; break;
    }
  }
  return strBuffer;
}

CString CTimeSpan::Format(LPCSTR pFormat) const {
  return AfxFormatSpan(pFormat, GetDays(), GetHours(), GetMinutes(), GetSeconds());
}

CString CTimeSpan::Format(UINT nID) const {
  CString strFormat;
  strFormat.LoadString(nID);
  return Format(strFormat);
}
