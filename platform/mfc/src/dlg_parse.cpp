// Number parsing and formatting of dialog data exchange.
#include "dlg_parse.h"

#include <errno.h>
#include <stdlib.h>

static void Trim(LPCTSTR lpszText, const char** pBegin, const char** pEnd)
{
    const char* b = lpszText != NULL ? lpszText : "";
    const char* e = b + strlen(b);
    while (*b == ' ' || *b == '\t')
        b++;
    while (e > b && (e[-1] == ' ' || e[-1] == '\t'))
        e--;
    *pBegin = b;
    *pEnd = e;
}

BOOL DdxParseInteger(LPCTSTR lpszText, BOOL bSigned, long long lo, long long hi, long long* pValue)
{
    const char *p, *end;
    Trim(lpszText, &p, &end);
    BOOL bNegative = FALSE;
    if (p < end && (*p == '-' || *p == '+')) {
        bNegative = *p == '-';
        p++;
    }
    if (p == end || (bNegative && !bSigned))
        return FALSE;
    unsigned long long v = 0;
    for (; p < end; p++) {
        if (*p < '0' || *p > '9')
            return FALSE;
        v = v * 10 + (unsigned)(*p - '0');
        if (v > (1ULL << 40))  // far beyond any 32-bit range: stop before it can wrap
            return FALSE;
    }
    long long value = bNegative ? -(long long)v : (long long)v;
    if (value < lo || value > hi)
        return FALSE;
    *pValue = value;
    return TRUE;
}

BOOL DdxParseReal(LPCTSTR lpszText, double* pValue)
{
    const char *p, *end;
    Trim(lpszText, &p, &end);
    if (p == end)
        return FALSE;
    // Only the characters of a plain decimal number: strtod alone would also take "inf",
    // "nan" and hexadecimal forms.
    CString text(p, (int)(end - p));
    for (const char* q = text; *q; q++)
        if (!strchr("0123456789+-.eE", *q))
            return FALSE;
    char* stop = NULL;
    errno = 0;
    double d = strtod(text, &stop);
    if (stop == NULL || *stop != '\0' || stop == (LPCTSTR)text || errno == ERANGE)
        return FALSE;
    *pValue = d;
    return TRUE;
}

CString DdxFormatReal(double value, int nDigits)
{
    char buf[64];
    snprintf(buf, sizeof(buf), "%.*g", nDigits, value);
    return buf;
}
