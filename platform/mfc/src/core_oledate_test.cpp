// Dates and times: COleDateTime against DATE values both ways, its arithmetic around
// 1899-12-30, status rules and text forms; CTime and the spans; the OLE data types.
#include "afxdisp.h"
#include "afxcoll.h"
#include "gtest_wine.h"

#include <math.h>

namespace {

const LCID kEnglishUS = MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT);

struct DateCase {
  DATE dt;
  int y, m, d, h, mi, s;
};

// DATE values and their calendar parts; each converts both ways.
const DateCase kDates[] = {
    {0.0, 1899, 12, 30, 0, 0, 0},
    {1.0, 1899, 12, 31, 0, 0, 0},
    {2.5, 1900, 1, 1, 12, 0, 0},
    {61.0, 1900, 3, 1, 0, 0, 0},  // no February 29th in 1900
    {-1.0, 1899, 12, 29, 0, 0, 0},
    {-1.25, 1899, 12, 29, 6, 0, 0},  // before day 0 the fraction still runs forward
    {-2.75, 1899, 12, 28, 18, 0, 0},
    {-36522.5, 1800, 1, 1, 12, 0, 0},
    {36526.0, 2000, 1, 1, 0, 0, 0},
    {39448.75, 2008, 1, 1, 18, 0, 0},
    {39507.0, 2008, 2, 29, 0, 0, 0},
    {44197.0 + 1.0 / 86400, 2021, 1, 1, 0, 0, 1},
    {-657434.0, 100, 1, 1, 0, 0, 0},
    {2958465.0 + 86399.0 / 86400, 9999, 12, 31, 23, 59, 59},
};

TEST(OleDateTime, DateValuesConvertBothWays) {
  for (const DateCase& c : kDates) {
    COleDateTime fromDate(c.dt);
    ASSERT_EQ(COleDateTime::valid, fromDate.GetStatus()) << c.dt;
    EXPECT_EQ(c.y, fromDate.GetYear()) << c.dt;
    EXPECT_EQ(c.m, fromDate.GetMonth()) << c.dt;
    EXPECT_EQ(c.d, fromDate.GetDay()) << c.dt;
    EXPECT_EQ(c.h, fromDate.GetHour()) << c.dt;
    EXPECT_EQ(c.mi, fromDate.GetMinute()) << c.dt;
    EXPECT_EQ(c.s, fromDate.GetSecond()) << c.dt;

    COleDateTime fromParts(c.y, c.m, c.d, c.h, c.mi, c.s);
    ASSERT_EQ(COleDateTime::valid, fromParts.GetStatus()) << c.dt;
    EXPECT_NEAR(c.dt, fromParts.m_dt, 1e-9) << c.dt;

    SYSTEMTIME st;
    ASSERT_TRUE(fromDate.GetAsSystemTime(st));
    EXPECT_NEAR(c.dt, COleDateTime(st).m_dt, 1e-9) << c.dt;
  }
  // Rounding to the nearest second may roll over to the next day.
  COleDateTime almost(0.9999999);
  EXPECT_EQ(31, almost.GetDay());
  EXPECT_EQ(0, almost.GetHour());
  // A fraction alone between -1 and 0 is still day 0.
  EXPECT_EQ(12, COleDateTime(-0.5).GetHour());
  EXPECT_EQ(30, COleDateTime(-0.5).GetDay());

  EXPECT_EQ(7, COleDateTime(0.0).GetDayOfWeek());  // a Saturday
  EXPECT_EQ(3, COleDateTime(2008, 1, 1, 0, 0, 0).GetDayOfWeek());
  EXPECT_EQ(366, COleDateTime(2008, 12, 31, 0, 0, 0).GetDayOfYear());
  EXPECT_EQ(1, COleDateTime(1850, 1, 1, 0, 0, 0).GetDayOfYear());
}

TEST(OleDateTime, InvalidAndNull) {
  struct {
    int y, m, d, h, mi, s;
  } bad[] = {{99, 1, 1, 0, 0, 0},    {10000, 1, 1, 0, 0, 0}, {2001, 2, 29, 0, 0, 0},
             {2000, 13, 1, 0, 0, 0}, {2000, 1, 0, 0, 0, 0},  {2000, 1, 1, 24, 0, 0},
             {2000, 1, 1, 0, 60, 0}, {2000, 1, 1, 0, 0, 60}};
  for (const auto& b : bad) {
    COleDateTime dt;
    EXPECT_EQ(1, dt.SetDateTime(b.y, b.m, b.d, b.h, b.mi, b.s));
    EXPECT_EQ(COleDateTime::invalid, dt.GetStatus());
    EXPECT_EQ(-1, dt.GetYear());
    EXPECT_STREQ("Invalid DateTime", dt.Format("%Y"));
  }
  EXPECT_EQ(COleDateTime::invalid, COleDateTime(3000000.0).GetStatus());
  EXPECT_EQ(COleDateTime::invalid, COleDateTime(-700000.0).GetStatus());
  EXPECT_EQ(COleDateTime::invalid, COleDateTime(NAN).GetStatus());

  COleDateTime nullDate;
  nullDate.SetStatus(COleDateTime::null);
  EXPECT_STREQ("", nullDate.Format("%Y"));
  EXPECT_EQ(COleDateTimeSpan::null, (nullDate - COleDateTime(1.0)).GetStatus());
  EXPECT_EQ(COleDateTime::null, (nullDate + COleDateTimeSpan(1.0)).GetStatus());
  VARIANT var;
  VariantInit(&var);
  V_VT(&var) = VT_NULL;
  EXPECT_EQ(COleDateTime::null, COleDateTime(var).GetStatus());
}

TEST(OleDateTime, ArithmeticAcrossDayZero) {
  COleDateTime early(1899, 12, 29, 6, 0, 0);  // -1.25
  COleDateTime midnight(1899, 12, 29, 0, 0, 0);  // -1.0
  EXPECT_TRUE(early > midnight);  // later in the day, though its DATE is smaller
  EXPECT_TRUE(midnight < early);
  EXPECT_NEAR(0.25, (early - midnight).GetTotalDays(), 1e-9);

  COleDateTime next = early + COleDateTimeSpan(1, 0, 0, 0);
  EXPECT_NEAR(0.25, next.m_dt, 1e-9);  // 1899-12-30 06:00
  COleDateTime back = next - COleDateTimeSpan(0, 12, 0, 0);
  EXPECT_NEAR(-1.75, back.m_dt, 1e-9);  // 1899-12-29 18:00
  EXPECT_EQ(18, back.GetHour());

  COleDateTimeSpan span = COleDateTime(2008, 1, 2, 3, 4, 5) - COleDateTime(2008, 1, 1, 0, 0, 0);
  EXPECT_EQ(1, span.GetDays());
  EXPECT_EQ(3, span.GetHours());
  EXPECT_EQ(4, span.GetMinutes());
  EXPECT_EQ(5, span.GetSeconds());
  EXPECT_EQ(97445.0, span.GetTotalSeconds());
  EXPECT_EQ(27.0, span.GetTotalHours());
  EXPECT_STREQ("1 03:04:05", span.Format("%D %H:%M:%S"));
  COleDateTimeSpan hour(0, 1, 0, 0);
  EXPECT_EQ(1, hour.GetHours());  // not 0 from a double a hair below 1/24
  EXPECT_EQ(-1, (-span).GetDays());
  COleDateTime d(2008, 2, 28, 12, 0, 0);
  d += COleDateTimeSpan(1, 0, 0, 0);
  EXPECT_EQ(29, d.GetDay());
}

TEST(OleDateTime, TextForms) {
  COleDateTime dt(1850, 7, 4, 9, 5, 3);
  EXPECT_STREQ("1850-07-04 09:05:03", dt.Format("%Y-%m-%d %H:%M:%S"));
  EXPECT_STREQ("4/7", COleDateTime(2008, 7, 4, 0, 0, 0).Format("%#d/%#m"));

  COleDateTime parsed;
  EXPECT_TRUE(parsed.ParseDateTime("1/2/2008 18:30:00", 0, kEnglishUS));
  EXPECT_EQ(COleDateTime::valid, parsed.GetStatus());
  EXPECT_EQ(1, parsed.GetMonth());
  EXPECT_EQ(2, parsed.GetDay());
  EXPECT_EQ(30, parsed.GetMinute());
  EXPECT_FALSE(parsed.ParseDateTime("not a date", 0, kEnglishUS));
  EXPECT_EQ(COleDateTime::invalid, parsed.GetStatus());

  CString text = COleDateTime(2008, 1, 2, 0, 0, 0).Format(VAR_DATEVALUEONLY, kEnglishUS);
  EXPECT_STREQ("1/2/2008", text);

  COleDateTime now = COleDateTime::GetCurrentTime();
  EXPECT_EQ(COleDateTime::valid, now.GetStatus());
  EXPECT_GE(now.GetYear(), 2020);
}

TEST(Time, CTimeAndSpan) {
  CTime t(2008, 1, 2, 18, 30, 15);
  EXPECT_EQ(2008, t.GetYear());
  EXPECT_EQ(1, t.GetMonth());
  EXPECT_EQ(2, t.GetDay());
  EXPECT_EQ(18, t.GetHour());
  EXPECT_EQ(30, t.GetMinute());
  EXPECT_EQ(15, t.GetSecond());
  EXPECT_EQ(4, t.GetDayOfWeek());  // a Wednesday
  EXPECT_STREQ("2008-01-02 18:30", t.Format("%Y-%m-%d %H:%M"));
  SYSTEMTIME st;
  ASSERT_TRUE(t.GetAsSystemTime(st));
  EXPECT_EQ(t, CTime(st));

  CTime later = t + CTimeSpan(1, 2, 3, 4);
  CTimeSpan span = later - t;
  EXPECT_EQ(1, span.GetDays());
  EXPECT_EQ(26, span.GetTotalHours());
  EXPECT_EQ(2, span.GetHours());
  EXPECT_EQ(3, span.GetMinutes());
  EXPECT_EQ(4, span.GetSeconds());
  EXPECT_STREQ("1:02:03:04 %", span.Format("%D:%H:%M:%S %%"));

  // A FILETIME is UTC: 2000-01-01 00:00:00 UTC.
  FILETIME ft;
  ULONGLONG v = (946684800ULL + 11644473600ULL) * 10000000ULL;
  ft.dwLowDateTime = (DWORD)v;
  ft.dwHighDateTime = (DWORD)(v >> 32);
  EXPECT_EQ(946684800, CTime(ft).GetTime());
  EXPECT_STREQ("2000-01-01 00:00:00", CTime(ft).FormatGmt("%Y-%m-%d %H:%M:%S"));
  EXPECT_GT(CTime::GetCurrentTime().GetTime(), 946684800);
}

TEST(OleData, VariantAndCurrency) {
  COleVariant s("Ren\xE9");
  EXPECT_EQ(VT_BSTR, V_VT(&s));
  EXPECT_EQ(4u, SysStringLen(V_BSTR(&s)));
  EXPECT_EQ(0xE9, V_BSTR(&s)[3]);
  COleVariant bytes("Ren\xE9", VT_BSTRT);
  EXPECT_EQ(VT_BSTR, V_VT(&bytes));
  EXPECT_EQ(4u, SysStringByteLen(V_BSTR(&bytes)));
  EXPECT_FALSE(s == bytes);
  EXPECT_TRUE(s == COleVariant(CString("Ren\xE9")));

  COleVariant n("42");
  n.ChangeType(VT_I4);
  EXPECT_EQ(VT_I4, V_VT(&n));
  EXPECT_EQ(42, V_I4(&n));
  EXPECT_TRUE(n == COleVariant((LONG)42));
  COleVariant word("forty-two");
  EXPECT_THROW(word.ChangeType(VT_I4), COleException*);

  COleVariant date(COleDateTime(2008, 1, 1, 18, 0, 0));
  EXPECT_EQ(VT_DATE, V_VT(&date));
  EXPECT_NEAR(39448.75, V_DATE(&date), 1e-9);
  COleDateTime fromText(COleVariant("1/2/2008"));
  EXPECT_EQ(COleDateTime::valid, fromText.GetStatus());

  COleVariant b((short)1, VT_BOOL);
  EXPECT_EQ(VARIANT_TRUE, V_BOOL(&b));
  CByteArray arr;
  arr.Add(1);
  arr.Add(2);
  COleVariant blob(arr);
  EXPECT_EQ(VT_ARRAY | VT_UI1, V_VT(&blob));
  COleVariant copy(blob);
  EXPECT_EQ(VT_ARRAY | VT_UI1, V_VT(&copy));
  VARIANT detached = copy.Detach();
  EXPECT_EQ(VT_EMPTY, V_VT(&copy));
  VariantClear(&detached);

  COleCurrency cur(12, 3400);
  EXPECT_EQ(123400, cur.m_cur.int64);
  EXPECT_EQ(246800, (cur * 2).m_cur.int64);
  COleCurrency huge;
  huge.m_cur.int64 = 0x7FFFFFFFFFFFFFFFLL;
  EXPECT_EQ(COleCurrency::invalid, (huge * 2).GetStatus());
  EXPECT_EQ(COleCurrency::invalid, (cur / 0).GetStatus());
  EXPECT_TRUE(cur.ParseCurrency("1.5", 0, kEnglishUS));
  EXPECT_EQ(15000, cur.m_cur.int64);
}

}  // namespace
