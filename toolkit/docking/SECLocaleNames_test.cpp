// Day and month names equal the user locale's own, whatever the language.
#include "gtest_wine.h"
#include "SECLocaleNames.h"

namespace {

CString Info(LCTYPE type)
{
    char buffer[256] = {};
    GetLocaleInfoA(GetUserDefaultLCID(), type, buffer, sizeof buffer);
    return buffer;
}

}  // namespace

TEST(SECLocaleNames, DaysAndMonthsFromTheUserLocale)
{
    struct Case { int number, full; LCTYPE type; bool month; } cases[] = {
        {1, 0, LOCALE_SABBREVDAYNAME7, false}, {7, 1, LOCALE_SDAYNAME6, false},
        {2, 1, LOCALE_SDAYNAME1, false},       {12, 1, LOCALE_SMONTHNAME12, true},
        {1, 0, LOCALE_SABBREVMONTHNAME1, true}};
    for (const Case& c : cases) {
        CString name;
        int result = c.month ? GetLocaleMonthName(name, c.number, c.full)
                             : GetLocaleDayName(name, c.number, c.full);
        EXPECT_EQ(result, 1);
        EXPECT_STREQ(name, Info(c.type));
        EXPECT_FALSE(name.IsEmpty());
    }
    // out of range: 0, the string kept
    for (int day : {0, 8, -1}) {
        CString name = "kept";
        EXPECT_EQ(GetLocaleDayName(name, day, 1), 0);
        EXPECT_STREQ(name, "kept");
    }
    for (int month : {0, 13}) {
        CString name = "kept";
        EXPECT_EQ(GetLocaleMonthName(name, month, 0), 0);
        EXPECT_STREQ(name, "kept");
    }
}
