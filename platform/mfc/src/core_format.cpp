// Formatting engine of CString::Format and FormatMessage: every conversion is parsed here and
// its single argument fetched with the type the format names, then printed by the C library.
#include "core_format.h"

#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <vector>

#include <windows.h>

namespace {

enum class Size { Default, Char, Short, Long32, Long64, PtrSize, Wide, Narrow };

struct Conversion {
  std::string flags;
  int width = -1;      // -1: none
  int precision = -1;  // -1: none
  Size size = Size::Default;
  char conv = 0;
};

void AppendPrintf(std::string& out, const char* fmt, ...) {
  char buf[512];
  va_list args;
  va_start(args, fmt);
  va_list copy;
  va_copy(copy, args);
  int n = vsnprintf(buf, sizeof(buf), fmt, args);
  if (n >= 0 && (size_t)n < sizeof(buf)) {
    out.append(buf, n);
  } else if (n >= 0) {
    std::vector<char> big((size_t)n + 1);
    vsnprintf(big.data(), big.size(), fmt, copy);
    out.append(big.data(), n);
  }
  va_end(copy);
  va_end(args);
}

std::string WideToAnsi(const WCHAR* p, int nChars) {
  if (p == NULL) return "(null)";
  if (nChars < 0) {
    nChars = 0;
    while (p[nChars]) nChars++;
  }
  if (nChars == 0) return std::string();
  int n = WideCharToMultiByte(CP_ACP, 0, p, nChars, NULL, 0, NULL, NULL);
  std::string s(n > 0 ? n : 0, '\0');
  if (n > 0) WideCharToMultiByte(CP_ACP, 0, p, nChars, &s[0], n, NULL, NULL);
  return s;
}

// "%<flags><width>.<precision>" with the resolved numbers.
std::string Head(const Conversion& s) {
  std::string h = "%" + s.flags;
  if (s.width >= 0) h += std::to_string(s.width);
  if (s.precision >= 0) h += "." + std::to_string(s.precision);
  return h;
}

// Prints one text argument with the conversion's width, precision and '-' flag.
void AppendText(std::string& out, const Conversion& s, const std::string& text) {
  AppendPrintf(out, (Head(s) + "s").c_str(), text.c_str());
}

// Parses a conversion at p (just after '%'); returns the position after it, or NULL when the
// format ends inside the conversion.
const char* ParseConversion(const char* p, Conversion& s, va_list* args, bool takeStars) {
  while (*p && strchr("-+ #0", *p)) s.flags += *p++;
  if (*p == '*') {
    p++;
    int w = takeStars ? va_arg(*args, int) : 0;
    if (w < 0) {
      s.flags += '-';
      w = -w;
    }
    s.width = w;
  } else if (*p >= '0' && *p <= '9') {
    s.width = 0;
    while (*p >= '0' && *p <= '9') s.width = (s.width > 100000) ? s.width : s.width * 10 + (*p++ - '0');
  }
  if (*p == '.') {
    p++;
    s.precision = 0;
    if (*p == '*') {
      p++;
      int pr = takeStars ? va_arg(*args, int) : 0;
      s.precision = pr < 0 ? -1 : pr;
    } else {
      while (*p >= '0' && *p <= '9') s.precision = (s.precision > 100000) ? s.precision : s.precision * 10 + (*p++ - '0');
    }
  }
  for (;;) {
    if (p[0] == 'I' && p[1] == '6' && p[2] == '4') {
      s.size = Size::Long64;
      p += 3;
    } else if (p[0] == 'I' && p[1] == '3' && p[2] == '2') {
      s.size = Size::Long32;
      p += 3;
    } else if (p[0] == 'I') {
      s.size = Size::PtrSize;
      p++;
    } else if (p[0] == 'l' && p[1] == 'l') {
      s.size = Size::Long64;
      p += 2;
    } else if (p[0] == 'l') {
      s.size = Size::Long32;  // also "wide" for c and s
      p++;
    } else if (p[0] == 'h' && p[1] == 'h') {
      s.size = Size::Char;
      p += 2;
    } else if (p[0] == 'h') {
      s.size = Size::Short;  // also "narrow" for c and s
      p++;
    } else if (p[0] == 'w') {
      s.size = Size::Wide;
      p++;
    } else if (p[0] == 'L' || p[0] == 'q' || p[0] == 'j' || p[0] == 'z' || p[0] == 't') {
      s.size = (p[0] == 'L') ? s.size : Size::Long64;
      p++;
    } else {
      break;
    }
  }
  if (*p == 0) return NULL;
  s.conv = *p++;
  return p;
}

// Prints one conversion, fetching its argument from args; false for an unknown conversion
// (which takes no argument).
bool AppendConversion(std::string& out, const Conversion& s, va_list* args) {
  switch (s.conv) {
    case 'd':
    case 'i':
    case 'o':
    case 'u':
    case 'x':
    case 'X': {
      bool isSigned = (s.conv == 'd' || s.conv == 'i');
      std::string f = Head(s);
      if (s.size == Size::Long64 || (s.size == Size::PtrSize && sizeof(void*) == 8)) {
        long long v = va_arg(*args, long long);
        AppendPrintf(out, (f + "ll" + s.conv).c_str(), v);
      } else {
        int v = va_arg(*args, int);
        if (s.size == Size::Short) v = isSigned ? (int)(short)v : (int)(unsigned short)v;
        if (s.size == Size::Char) v = isSigned ? (int)(signed char)v : (int)(unsigned char)v;
        AppendPrintf(out, (f + s.conv).c_str(), v);
      }
      break;
    }
    case 'e':
    case 'E':
    case 'f':
    case 'F':
    case 'g':
    case 'G':
    case 'a':
    case 'A': {
      double v = va_arg(*args, double);
      AppendPrintf(out, (Head(s) + s.conv).c_str(), v);
      break;
    }
    case 'c':
    case 'C': {
      bool wide = (s.conv == 'c') ? (s.size == Size::Long32 || s.size == Size::Wide)
                                  : (s.size != Size::Short);
      int v = va_arg(*args, int);
      std::string text;
      if (wide) {
        WCHAR wc = (WCHAR)v;
        text = WideToAnsi(&wc, 1);
      } else {
        text.assign(1, (char)v);
      }
      Conversion t = s;
      t.precision = -1;
      // A NUL character still counts as one printed character.
      if (text.size() == 1 && text[0] == 0) {
        std::string pad(t.width > 1 ? t.width - 1 : 0, ' ');
        if (t.flags.find('-') != std::string::npos)
          out += std::string(1, '\0') + pad;
        else
          out += pad + std::string(1, '\0');
      } else {
        AppendText(out, t, text);
      }
      break;
    }
    case 's':
    case 'S': {
      bool wide = (s.conv == 's') ? (s.size == Size::Long32 || s.size == Size::Wide)
                                  : (s.size != Size::Short);
      if (wide) {
        const WCHAR* p = va_arg(*args, const WCHAR*);
        int nChars = -1;
        if (p != NULL && s.precision >= 0) {
          nChars = 0;
          while (nChars < s.precision && p[nChars]) nChars++;
        }
        AppendText(out, s, WideToAnsi(p, nChars));
      } else {
        const char* p = va_arg(*args, const char*);
        AppendPrintf(out, (Head(s) + "s").c_str(), p ? p : "(null)");
      }
      break;
    }
    case 'p': {
      void* v = va_arg(*args, void*);
      AppendPrintf(out, (Head(s) + "p").c_str(), v);
      break;
    }
    case 'n':
      // Writing through a pointer taken from the argument list is never wanted here.
      (void)va_arg(*args, void*);
      break;
    case '%':
      out += '%';
      break;
    default:
      return false;
  }
  return true;
}

}  // namespace

void AfxFormatToString(std::string& out, const char* format, va_list args) {
  out.clear();
  if (format == NULL) return;
  va_list ap;
  va_copy(ap, args);
  const char* p = format;
  while (*p) {
    if (*p != '%') {
      const char* q = strchr(p, '%');
      size_t n = q ? (size_t)(q - p) : strlen(p);
      out.append(p, n);
      p += n;
      continue;
    }
    Conversion s;
    const char* next = ParseConversion(p + 1, s, &ap, true);
    if (next == NULL) {
      out.append(p);  // the format ends inside a conversion: keep it as text
      break;
    }
    if (!AppendConversion(out, s, &ap)) out.append(p, next - p);  // unknown: as written
    p = next;
  }
  va_end(ap);
}

void AfxFormatMessageToString(std::string& out, const char* format, va_list args) {
  out.clear();
  if (format == NULL) return;
  // First pass: the printf format of every argument number, so that arguments can be fetched
  // in order with their types.
  struct Insert {
    std::string format = "s";
  };
  std::vector<Insert> inserts;
  for (const char* p = format; *p; p++) {
    if (*p != '%') continue;
    p++;
    if (*p >= '1' && *p <= '9') {
      int n = *p - '0';
      if (p[1] >= '0' && p[1] <= '9') n = n * 10 + (*++p - '0');
      std::string conv = "s";
      if (p[1] == '!') {
        const char* e = strchr(p + 2, '!');
        if (e != NULL) {
          conv.assign(p + 2, e - (p + 2));
          p = e;
        }
      }
      if ((int)inserts.size() < n) inserts.resize(n);
      inserts[n - 1].format = conv;
    } else if (*p == 0) {
      break;
    }
  }
  // Fetch every argument once, formatted as its insert says.
  std::vector<std::string> values(inserts.size());
  va_list ap;
  va_copy(ap, args);
  for (size_t i = 0; i < inserts.size(); i++) {
    Conversion s;
    const char* end = ParseConversion(inserts[i].format.c_str(), s, &ap, true);
    if (end == NULL) s.conv = 's';
    AppendConversion(values[i], s, &ap);
  }
  va_end(ap);
  // Second pass: assemble.
  for (const char* p = format; *p; p++) {
    if (*p != '%') {
      out += *p;
      continue;
    }
    p++;
    if (*p >= '1' && *p <= '9') {
      int n = *p - '0';
      if (p[1] >= '0' && p[1] <= '9') n = n * 10 + (*++p - '0');
      if (p[1] == '!') {
        const char* e = strchr(p + 2, '!');
        if (e != NULL) p = e;
      }
      out += values[n - 1];
    } else if (*p == 'n') {
      out += "\r\n";
    } else if (*p == '0') {
      break;
    } else if (*p == 0) {
      break;
    } else {
      out += *p;  // %% %. %! and the like
    }
  }
}
