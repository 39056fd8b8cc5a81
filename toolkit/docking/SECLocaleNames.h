// Names of the days of the week and of the months in the user's language, abbreviated or in
// full, for the user locale read once at start-up.
#ifndef QUORVEL_SECLOCALENAMES_H
#define QUORVEL_SECLOCALENAMES_H

#include <afxwin.h>

// Day 1 (Sunday) to 7 (Saturday); full 0 for the abbreviation. 1 on success; 0, the string
// unchanged, when the platform call fails or the day is out of range.
int GetLocaleDayName(CString& strName, int nDay, int bFull);
// Month 1 (January) to 12 (December), as above.
int GetLocaleMonthName(CString& strName, int nMonth, int bFull);

#endif  // QUORVEL_SECLOCALENAMES_H
