// printf-style and FormatMessage-style formatting into a std::string, with the rules of the
// program's platform: 'l' on an integer is 32 bits (long was 32 bits there), I64 is 64 bits,
// %S and %ls take a WCHAR string, %C and %lc a WCHAR; %n writes nothing.
#pragma once
#include <stdarg.h>
#include <string>

void AfxFormatToString(std::string& out, const char* format, va_list args);
// %1 .. %99 with an optional !printf format! (default !s!); %n newline, %% %. %! literals.
void AfxFormatMessageToString(std::string& out, const char* format, va_list args);
