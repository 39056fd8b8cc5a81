// Helpers shared by the core's own sources.
#pragma once
#include "afx.h"

// strftime into a CString ("%#d" style flags as "%-d").
CString AFXAPI AfxFormatTm(LPCSTR pFormat, const struct tm* ptm);
// The %D %H %M %S format of the time spans.
CString AFXAPI AfxFormatSpan(LPCSTR pFormat, long long days, int hours, int mins, int secs);

// The message of a file or archive exception: messages[cause] (messages[generic] for a cause
// outside the table) with %1 replaced by the file name.
BOOL AFXAPI AfxFileErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext,
                                const char* const* messages, int nMessages, int cause,
                                int generic, const CString& strFileName);

// The value of a VARIANT as type vt in *pResult (cleared by the caller); FALSE when it does not
// convert.
BOOL AFXAPI AfxVariantAs(const VARIANT& var, VARTYPE vt, VARIANT* pResult);
