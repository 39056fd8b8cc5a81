// Day and month names from the user locale's information.
#include "SECLocaleNames.h"

namespace {

const LCID g_userLocale = GetUserDefaultLCID();

// Abbreviated and full name types; the platform numbers its days from Monday, the table
// from Sunday.
const LCTYPE kDays[7][2] = {
    {LOCALE_SABBREVDAYNAME7, LOCALE_SDAYNAME7}, {LOCALE_SABBREVDAYNAME1, LOCALE_SDAYNAME1},
    {LOCALE_SABBREVDAYNAME2, LOCALE_SDAYNAME2}, {LOCALE_SABBREVDAYNAME3, LOCALE_SDAYNAME3},
    {LOCALE_SABBREVDAYNAME4, LOCALE_SDAYNAME4}, {LOCALE_SABBREVDAYNAME5, LOCALE_SDAYNAME5},
    {LOCALE_SABBREVDAYNAME6, LOCALE_SDAYNAME6}};
const LCTYPE kMonths[12][2] = {
    {LOCALE_SABBREVMONTHNAME1, LOCALE_SMONTHNAME1},   {LOCALE_SABBREVMONTHNAME2, LOCALE_SMONTHNAME2},
    {LOCALE_SABBREVMONTHNAME3, LOCALE_SMONTHNAME3},   {LOCALE_SABBREVMONTHNAME4, LOCALE_SMONTHNAME4},
    {LOCALE_SABBREVMONTHNAME5, LOCALE_SMONTHNAME5},   {LOCALE_SABBREVMONTHNAME6, LOCALE_SMONTHNAME6},
    {LOCALE_SABBREVMONTHNAME7, LOCALE_SMONTHNAME7},   {LOCALE_SABBREVMONTHNAME8, LOCALE_SMONTHNAME8},
    {LOCALE_SABBREVMONTHNAME9, LOCALE_SMONTHNAME9},   {LOCALE_SABBREVMONTHNAME10, LOCALE_SMONTHNAME10},
    {LOCALE_SABBREVMONTHNAME11, LOCALE_SMONTHNAME11}, {LOCALE_SABBREVMONTHNAME12, LOCALE_SMONTHNAME12}};

int LocaleName(CString& strName, LCTYPE type)
{
    char buffer[256];
    if (GetLocaleInfoA(g_userLocale, type, buffer, sizeof buffer) == 0)
        return 0;
    strName = buffer;
    return 1;
}

}  // namespace

int GetLocaleDayName(CString& strName, int nDay, int bFull)
{
    if (nDay < 1 || nDay > 7)
        return 0;
    return LocaleName(strName, kDays[nDay - 1][bFull ? 1 : 0]);
}

int GetLocaleMonthName(CString& strName, int nMonth, int bFull)
{
    if (nMonth < 1 || nMonth > 12)
        return 0;
    return LocaleName(strName, kMonths[nMonth - 1][bFull ? 1 : 0]);
}
