// CString: formatting against the C library, the editing members, buffers and resources.
#include "afx.h"
#include "gtest_wine.h"

#include <string>

namespace {

// Formats with CString::Format and with snprintf; both must agree.
#define EXPECT_FORMAT_LIKE_PRINTF(...)                  \
  do {                                                  \
    CString s;                                          \
    s.Format(__VA_ARGS__);                              \
    char expected[4096];                                \
    snprintf(expected, sizeof(expected), __VA_ARGS__);  \
    EXPECT_STREQ(expected, (LPCSTR)s) << #__VA_ARGS__;  \
  } while (0)

TEST(CStringFormat, MatchesPrintf) {
  EXPECT_FORMAT_LIKE_PRINTF("%d", -42);
  EXPECT_FORMAT_LIKE_PRINTF("ID = %d", 2147483647);
  EXPECT_FORMAT_LIKE_PRINTF("%d of %d", 3, 12);
  EXPECT_FORMAT_LIKE_PRINTF("[Person].[ID] = %u", 4000000000u);
  EXPECT_FORMAT_LIKE_PRINTF("%x %X %#x %08x", 255u, 48879u, 16u, 0xABCu);
  EXPECT_FORMAT_LIKE_PRINTF("%f %e %g %G", 3.14159, 12345.678, 0.0001, 1e20);
  EXPECT_FORMAT_LIKE_PRINTF("%2.2f (sec)", 7.456);
  EXPECT_FORMAT_LIKE_PRINTF("Compression level %5.1f:1", 12.25);
  EXPECT_FORMAT_LIKE_PRINTF("%4.1f fps", 29.97);
  EXPECT_FORMAT_LIKE_PRINTF("%d,%03d", 1, 7);
  EXPECT_FORMAT_LIKE_PRINTF("%02d:%02d:%02d", 1, 2, 3);
  EXPECT_FORMAT_LIKE_PRINTF("Current Level: %d%% Full", 80);
  EXPECT_FORMAT_LIKE_PRINTF("%c.%s", 'J', "Smith");
  EXPECT_FORMAT_LIKE_PRINTF("%d%c", 5, 'x');
  EXPECT_FORMAT_LIKE_PRINTF("%s_%d.jpg", "clip", 9);
  EXPECT_FORMAT_LIKE_PRINTF("[LastName] Like '%s' And [FirstName] Like '%s'", "Ren\xE9", "*");
  EXPECT_FORMAT_LIKE_PRINTF("%-10s|%10s|%.3s|%10.2s|", "ab", "cd", "efghij", "klm");
  EXPECT_FORMAT_LIKE_PRINTF("%+d % d %-5d| %05d %.3d", 5, 5, 5, -5, 5);
  EXPECT_FORMAT_LIKE_PRINTF("%*d|%-*d|%.*f", 6, 1, 6, 2, 2, 3.14159);
  EXPECT_FORMAT_LIKE_PRINTF("%5c|%-3c|", 'a', 'b');
  EXPECT_FORMAT_LIKE_PRINTF("%lld %llu", -9000000000LL, 18000000000ULL);
  EXPECT_FORMAT_LIKE_PRINTF("%hd %hu %hhd", (short)-3, (unsigned short)65535, (signed char)-1);
  EXPECT_FORMAT_LIKE_PRINTF("%p", (void*)0x1234);
  EXPECT_FORMAT_LIKE_PRINTF("no conversions at all");
  EXPECT_FORMAT_LIKE_PRINTF("%s", "");
  std::string big(3000, 'q');
  EXPECT_FORMAT_LIKE_PRINTF("<%s>", big.c_str());
}

TEST(CStringFormat, PlatformConventions) {
  struct Case {
    CString actual;
    const char* expected;
  };
  auto fmt = [](LPCSTR format, ...) {
    va_list args;
    va_start(args, format);
    CString s;
    s.FormatV(format, args);
    va_end(args);
    return s;
  };
  const WCHAR wide[] = {'W', 'i', 0xE9, 0};
  Case cases[] = {
      // 'l' meant 32 bits on the program's platform: a LONG prints as itself.
      {fmt("%ld|%lu|%lx", (LONG)-5, (DWORD)4000000000u, (DWORD)0xFFFFFFFF),
       "-5|4000000000|ffffffff"},
      {fmt("%I64d|%I64u", (LONGLONG)-9000000000LL, (ULONGLONG)9000000000ULL),
       "-9000000000|9000000000"},
      {fmt("%S|%ls|%-5S|%.2S", wide, wide, wide, wide), "Wi\xE9|Wi\xE9|Wi\xE9  |Wi"},
      {fmt("%C%lc%hc", (int)wide[2], (int)wide[0], 'z'), "\xE9Wz"},
      {fmt("%hs|%s", "narrow", (const char*)nullptr), "narrow|(null)"},
      {fmt("0x%h"), "0x%h"},           // unfinished conversion is kept as text
      {fmt("100% V%d", 1), "100% V1"},  // unknown conversion is kept as text
  };
  for (const Case& c : cases) EXPECT_STREQ(c.expected, (LPCSTR)c.actual);

  // %n never writes through the argument.
  int n = 1234;
  CString s;
  s.Format("ab%n%d", &n, 7);
  EXPECT_STREQ("ab7", s);
  EXPECT_EQ(1234, n);

  // Formatting into itself.
  s = "self";
  s.Format("%s-%s", (LPCSTR)s, (LPCSTR)s);
  EXPECT_STREQ("self-self", s);

  s.FormatMessage("%1 has %2!d! clips%n%3%%", "Anna", 12, "!");
  EXPECT_STREQ("Anna has 12 clips\r\n!%", s);
}

TEST(CString, Extraction) {
  CString s("Hello World");
  struct {
    CString actual;
    const char* expected;
  } cases[] = {
      {s.Mid(6), "World"},       {s.Mid(6, 3), "Wor"},      {s.Mid(-2, 3), "Hel"},
      {s.Mid(20), ""},           {s.Mid(3, -1), ""},        {s.Mid(8, 100), "rld"},
      {s.Left(5), "Hello"},      {s.Left(-1), ""},          {s.Left(99), "Hello World"},
      {s.Right(5), "World"},     {s.Right(0), ""},          {s.Right(99), "Hello World"},
      {s.SpanIncluding("Hel"), "Hell"}, {s.SpanExcluding(" "), "Hello"},
  };
  for (const auto& c : cases) EXPECT_STREQ(c.expected, (LPCSTR)c.actual);

  EXPECT_EQ(4, s.Find('o'));
  EXPECT_EQ(7, s.Find('o', 5));
  EXPECT_EQ(-1, s.Find('o', 11));
  EXPECT_EQ(7, s.ReverseFind('o'));
  EXPECT_EQ(-1, s.ReverseFind('z'));
  EXPECT_EQ(6, s.Find("World"));
  EXPECT_EQ(-1, s.Find("World", 7));
  EXPECT_EQ(-1, s.Find("x", 50));
  EXPECT_EQ(2, s.FindOneOf("lW"));
  EXPECT_EQ('W', s[6]);
  EXPECT_EQ(0, s.GetAt(11));  // the terminator
  EXPECT_THROW(s.GetAt(12), CInvalidArgException*);
  EXPECT_THROW(s.GetAt(-1), CInvalidArgException*);
}

TEST(CString, Editing) {
  CString s("  \t a b c \r\n");
  s.TrimLeft();
  EXPECT_STREQ("a b c \r\n", s);
  s.TrimRight();
  EXPECT_STREQ("a b c", s);
  s = "xxabcxx";
  s.TrimLeft('x');
  s.TrimRight("xc");
  EXPECT_STREQ("ab", s);

  s = "a.b.c";
  EXPECT_EQ(2, s.Replace('.', '/'));
  EXPECT_STREQ("a/b/c", s);
  EXPECT_EQ(2, s.Replace("/", "::"));
  EXPECT_STREQ("a::b::c", s);
  EXPECT_EQ(0, s.Replace("", "x"));
  EXPECT_EQ(2, s.Replace("::", ""));
  EXPECT_STREQ("abc", s);
  s = "aaa";
  EXPECT_EQ(1, s.Replace("aa", "b"));  // left to right, no overlaps
  EXPECT_STREQ("ba", s);

  s = "banana";
  EXPECT_EQ(3, s.Remove('a'));
  EXPECT_STREQ("bnn", s);
  EXPECT_EQ(4, s.Insert(1, 'X'));
  EXPECT_EQ(7, s.Insert(100, "end"));
  EXPECT_EQ(9, s.Insert(-5, "<<"));
  EXPECT_STREQ("<<bXnnend", s);
  EXPECT_EQ(7, s.Delete(0, 2));
  EXPECT_EQ(4, s.Delete(4, 100));
  EXPECT_EQ(4, s.Delete(10, 1));
  EXPECT_STREQ("bXnn", s);
  s.Insert(0, (LPCSTR)s);  // from itself
  EXPECT_STREQ("bXnnbXnn", s);

  s = "Ren\xE9 Smith";
  s.MakeUpper();
  EXPECT_STREQ("REN\xC9 SMITH", s);  // Windows-1252 letters too
  s.MakeLower();
  EXPECT_STREQ("ren\xE9 smith", s);
  s.MakeReverse();
  EXPECT_STREQ("htims \xE9ner", s);

  CString a("abc");
  a += 'd';
  a += "ef";
  a += a;
  EXPECT_STREQ("abcdefabcdef", a);
  EXPECT_STREQ("x-abc", (LPCSTR)("x-" + CString("abc")));
  EXPECT_STREQ("abc!", (LPCSTR)(CString("abc") + '!'));
  EXPECT_STREQ("rep", (LPCSTR)CString("rep", 3));
  EXPECT_STREQ("zzz", (LPCSTR)CString('z', 3));
  const WCHAR wide[] = {'w', 0xE9, 0};
  EXPECT_STREQ("w\xE9", (LPCSTR)CString(wide));
}

TEST(CString, Comparison) {
  CString s("Apple");
  EXPECT_EQ(0, s.Compare("Apple"));
  EXPECT_LT(s.Compare("apple"), 0);  // by byte value
  EXPECT_EQ(0, s.CompareNoCase("aPPLE"));
  EXPECT_EQ(0, CString("\xC9t\xE9").CompareNoCase("\xE9T\xC9"));
  EXPECT_LT(s.CompareNoCase("banana"), 0);
  EXPECT_GT(s.CompareNoCase("ab"), 0);
  EXPECT_EQ(0, s.Collate("Apple"));
  EXPECT_TRUE(s == "Apple");
  EXPECT_TRUE("Apple" == s);
  EXPECT_TRUE(s != CString("Apples"));
  EXPECT_TRUE(s < "Banana");
  EXPECT_TRUE(CString("b") > s);
  EXPECT_TRUE(s <= "Apple" && s >= "Apple");
}

// The multibyte byte-string helpers: prefix compares fold Windows-1252 letters, the exact
// compare does not.
TEST(MultibyteStrings, CompareByBytes) {
  auto u = [](const char* p) { return (const unsigned char*)p; };
  struct Case { const char* a; const char* b; size_t n; int sign; } cases[] = {
      {"\xE9t\xE9", "\xC9T\xC9", 3, 0},  // é = É
      {"Jun", "JULY", 2, 0},            // only the prefix counts
      {"Jun", "JULY", 3, 1},             // n after l, whatever the case
      {"abc", "ab", 10, 1},             // the longer string is greater
      {"", "", 5, 0},
      {"x", "y", 0, 0},                 // no bytes: equal
  };
  for (const Case& c : cases) {
    int r = _mbsnbicmp(u(c.a), u(c.b), c.n);
    EXPECT_EQ(c.sign, r < 0 ? -1 : r > 0 ? 1 : 0) << c.a << " / " << c.b << " / " << c.n;
  }
  EXPECT_EQ(0, _mbscmp(u("Title"), u("Title")));
  EXPECT_NE(0, _mbscmp(u("Title"), u("title")));
  EXPECT_EQ(0, _ismbblead(0xE9));  // Windows-1252 has no lead bytes
}

TEST(CString, Buffers) {
  CString s;
  LPSTR p = s.GetBuffer(10);
  strcpy(p, "hello");
  s.ReleaseBuffer();
  EXPECT_EQ(5, s.GetLength());
  EXPECT_STREQ("hello", s);

  p = s.GetBuffer(3);  // never shrinks the text it holds
  EXPECT_STREQ("hello", p);
  s.ReleaseBuffer(2);
  EXPECT_STREQ("he", s);

  p = s.GetBufferSetLength(4);
  memcpy(p, "abcd", 4);
  EXPECT_EQ(4, s.GetLength());
  EXPECT_STREQ("abcd", s);

  // A buffer the caller filled without a terminator: the length stops at the buffer's end.
  p = s.GetBuffer(8);
  int nAlloc = s.GetAllocLength();
  memset(p, 'x', nAlloc + 1);
  s.ReleaseBuffer();
  EXPECT_EQ(nAlloc, s.GetLength());

  CString copy = s;
  copy.SetAt(0, 'y');
  EXPECT_EQ('x', s[0]);  // copies never share a buffer
  s.Empty();
  EXPECT_TRUE(s.IsEmpty());
  s.FreeExtra();
  EXPECT_STREQ("", s);

  BSTR bstr = CString("B\xE9").AllocSysString();
  EXPECT_EQ(2u, SysStringLen(bstr));
  EXPECT_EQ(0xE9, bstr[1]);
  SysFreeString(bstr);
}

TEST(CString, Resources) {
  CString s;
  EXPECT_TRUE(s.LoadString(101));
  EXPECT_STREQ("Hello %1 and %2", s);
  EXPECT_FALSE(s.LoadString(999));
  EXPECT_TRUE(s.IsEmpty());
  EXPECT_TRUE(s.LoadString(103));
  EXPECT_EQ(300, s.GetLength());
  EXPECT_EQ('n', s[299]);

  EXPECT_STREQ("Hello %1 and %2", (LPCSTR)CString(MAKEINTRESOURCEA(101)));
  AfxFormatString2(s, 101, "Anna", "Ben");
  EXPECT_STREQ("Hello Anna and Ben", s);
  AfxFormatString1(s, 101, "Anna");
  EXPECT_STREQ("Hello Anna and ", s);
  s.Format(102, 3, 4);
  EXPECT_STREQ("3 of 4", s);

  CString piece;
  EXPECT_TRUE(AfxExtractSubString(piece, "a\nbb\n\nd", 1));
  EXPECT_STREQ("bb", piece);
  EXPECT_TRUE(AfxExtractSubString(piece, "a\nbb\n\nd", 2));
  EXPECT_STREQ("", piece);
  EXPECT_FALSE(AfxExtractSubString(piece, "a\nbb", 2));
}

}  // namespace
