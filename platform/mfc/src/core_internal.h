// Helpers shared by the core's own sources.
#pragma once
#include "afx.h"

// strftime into a CString ("%#d" style flags as "%-d").
CString AFXAPI AfxFormatTm(LPCSTR pFormat, const struct tm* ptm);
// The %D %H %M %S format of the time spans.
CString AFXAPI AfxFormatSpan(LPCSTR pFormat, long long days, int hours, int mins, int secs);
