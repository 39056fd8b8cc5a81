// Number parsing and formatting of dialog data exchange, kept apart from the windows so
// that tests can drive it directly.
#pragma once

#include "afx.h"

// A whole decimal integer, blanks allowed around it; FALSE for anything else (empty text,
// other characters, a sign where none is allowed, a value outside lo..hi).
BOOL DdxParseInteger(LPCTSTR lpszText, BOOL bSigned, long long lo, long long hi, long long* pValue);
// A whole decimal number (digits, sign, point, exponent), blanks allowed around it.
BOOL DdxParseReal(LPCTSTR lpszText, double* pValue);
// A number with nDigits significant digits, as data exchange shows it.
CString DdxFormatReal(double value, int nDigits);
