#include "ErrorBox.h"
#include <cstdarg>
#include <cstdio>

void ErrorBox(LPCTSTR format, ...)
{
    // At most 1024 characters, as the system's own formatter writes.
    char text[1025] = {};
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    AfxMessageBox(text, MB_ICONEXCLAMATION | MB_TASKMODAL);
}
