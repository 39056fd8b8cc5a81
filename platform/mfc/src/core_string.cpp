// CString: an ANSI string that owns its buffer (never shared, so copies are independent and a
// string can move between threads freely). The text is kept NUL-terminated after a small
// header that records its length and capacity.
#include "afx.h"
#include "core_format.h"

#include <limits.h>
#include <new>
#include <stdlib.h>
#include <string>

namespace {
// The shared empty string: never written (its capacity is 0, so every write reallocates).
struct EmptyString {
  CStringData header;
  char text[4];
};
EmptyString g_empty = {{0, 0}, {0, 0, 0, 0}};

inline BOOL IsSpace(char ch) {
  return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\v' || ch == '\f' || ch == '\r';
}
// One character folded to lower case with the ANSI code page's rules.
inline unsigned char FoldCase(unsigned char ch) {
  char c = (char)ch;
  CharLowerBuffA(&c, 1);
  return (unsigned char)c;
}
}  // namespace

int PASCAL CString::SafeStrlen(LPCSTR lpsz) { return lpsz == NULL ? 0 : (int)strlen(lpsz); }

void CString::Init() { m_pchData = g_empty.header.data(); }

void CString::AllocBuffer(int nLen) {
  if (nLen < 0) AfxThrowInvalidArgException();
  if (nLen == 0) {
    Init();
    return;
  }
  CStringData* pData = (CStringData*)malloc(sizeof(CStringData) + (size_t)nLen + 1);
  if (pData == NULL) AfxThrowMemoryException();
  pData->nAllocLength = nLen;
  pData->nDataLength = nLen;
  pData->data()[nLen] = 0;
  m_pchData = pData->data();
}

void PASCAL CString::Release(CStringData* pData) {
  if (pData != &g_empty.header) free(pData);
}

void CString::Release() {
  Release(GetData());
  Init();
}

// Makes room for nLen characters, keeping the current text.
void CString::Reserve(int nLen) {
  if (nLen < 0) AfxThrowInvalidArgException();
  CStringData* pOld = GetData();
  if (nLen <= pOld->nAllocLength) return;
  CStringData* pData;
  if (pOld == &g_empty.header) {
    pData = (CStringData*)malloc(sizeof(CStringData) + (size_t)nLen + 1);
    if (pData == NULL) AfxThrowMemoryException();
    pData->nDataLength = 0;
    pData->data()[0] = 0;
  } else {
    pData = (CStringData*)realloc(pOld, sizeof(CStringData) + (size_t)nLen + 1);
    if (pData == NULL) AfxThrowMemoryException();
  }
  pData->nAllocLength = nLen;
  m_pchData = pData->data();
}

void CString::AssignCopy(int nSrcLen, LPCSTR lpszSrcData) {
  if (nSrcLen == 0) {
    Empty();
    return;
  }
  if (lpszSrcData >= m_pchData && lpszSrcData <= m_pchData + GetData()->nDataLength) {
    // Assigning a part of itself: copy first.
    CString copy(lpszSrcData, nSrcLen);
    *this = std::move(copy);
    return;
  }
  if (nSrcLen > GetData()->nAllocLength) {
    Release();
    AllocBuffer(nSrcLen);
  }
  memcpy(m_pchData, lpszSrcData, nSrcLen);
  GetData()->nDataLength = nSrcLen;
  m_pchData[nSrcLen] = 0;
}

void CString::ConcatInPlace(int nSrcLen, LPCSTR lpszSrcData) {
  if (nSrcLen == 0) return;
  int nOldLen = GetData()->nDataLength;
  if (nSrcLen > INT_MAX - nOldLen) AfxThrowMemoryException();
  if (nOldLen + nSrcLen > GetData()->nAllocLength) {
    // The source may live in this string's buffer, which is about to move.
    CString copy(lpszSrcData, nSrcLen);
    int nNew = nOldLen + nSrcLen;
    int nGrow = nOldLen / 2;
    Reserve(nNew > INT_MAX - nGrow ? nNew : nNew + nGrow);
    memcpy(m_pchData + nOldLen, copy.m_pchData, nSrcLen);
  } else {
    memmove(m_pchData + nOldLen, lpszSrcData, nSrcLen);
  }
  GetData()->nDataLength = nOldLen + nSrcLen;
  m_pchData[nOldLen + nSrcLen] = 0;
}

// ---------------------------------------------------------------------------------------------
CString::CString() { Init(); }

CString::CString(const CString& stringSrc) {
  Init();
  int n = stringSrc.GetLength();
  if (n > 0) {
    AllocBuffer(n);
    memcpy(m_pchData, stringSrc.m_pchData, n);
  }
}

CString::CString(CString&& stringSrc) noexcept {
  m_pchData = stringSrc.m_pchData;
  stringSrc.Init();
}

CString::CString(char ch, int nRepeat) {
  Init();
  if (nRepeat >= 1) {
    AllocBuffer(nRepeat);
    memset(m_pchData, ch, nRepeat);
  }
}

CString::CString(LPCSTR lpsz) {
  Init();
  if (lpsz != NULL && IS_INTRESOURCE(lpsz)) {
    LoadString(LOWORD((UINT_PTR)lpsz));
    return;
  }
  int n = SafeStrlen(lpsz);
  if (n > 0) {
    AllocBuffer(n);
    memcpy(m_pchData, lpsz, n);
  }
}

CString::CString(LPCSTR lpch, int nLength) {
  Init();
  if (lpch != NULL && nLength > 0) {
    AllocBuffer(nLength);
    memcpy(m_pchData, lpch, nLength);
  }
}

CString::CString(const unsigned char* psz) {
  Init();
  *this = (LPCSTR)psz;
}

static int WideLength(LPCWSTR lpsz) {
  int n = 0;
  if (lpsz != NULL)
    while (lpsz[n] != 0) n++;
  return n;
}

CString::CString(LPCWSTR lpsz) : CString(lpsz, WideLength(lpsz)) {}

CString::CString(LPCWSTR lpch, int nLength) {
  Init();
  if (lpch == NULL || nLength <= 0) return;
  int nBytes = WideCharToMultiByte(CP_ACP, 0, lpch, nLength, NULL, 0, NULL, NULL);
  if (nBytes <= 0) return;
  AllocBuffer(nBytes);
  WideCharToMultiByte(CP_ACP, 0, lpch, nLength, m_pchData, nBytes, NULL, NULL);
}

CString::~CString() { Release(GetData()); }

void CString::Empty() {
  if (GetData()->nAllocLength > 0) {
    // Keep the buffer: callers that empty and refill a string expect no reallocation.
    GetData()->nDataLength = 0;
    m_pchData[0] = 0;
  }
}

// The terminator may be read (callers test s[s.GetLength()] against 0); anything further
// is outside the string.
char CString::GetAt(int nIndex) const {
  if (nIndex < 0 || nIndex > GetLength()) AfxThrowInvalidArgException();
  return m_pchData[nIndex];
}

void CString::SetAt(int nIndex, char ch) {
  if (nIndex < 0 || nIndex >= GetLength()) AfxThrowInvalidArgException();
  m_pchData[nIndex] = ch;
}

const CString& CString::operator=(const CString& stringSrc) {
  if (this != &stringSrc) AssignCopy(stringSrc.GetLength(), stringSrc.m_pchData);
  return *this;
}

const CString& CString::operator=(CString&& stringSrc) noexcept {
  if (this != &stringSrc) {
    Release(GetData());
    m_pchData = stringSrc.m_pchData;
    stringSrc.Init();
  }
  return *this;
}

const CString& CString::operator=(char ch) {
  AssignCopy(1, &ch);
  return *this;
}

const CString& CString::operator=(LPCSTR lpsz) {
  AssignCopy(SafeStrlen(lpsz), lpsz);
  return *this;
}

const CString& CString::operator=(LPCWSTR lpsz) {
  *this = CString(lpsz);
  return *this;
}

const CString& CString::operator=(const unsigned char* psz) {
  *this = (LPCSTR)psz;
  return *this;
}

const CString& CString::operator+=(const CString& string) {
  ConcatInPlace(string.GetLength(), string.m_pchData);
  return *this;
}
const CString& CString::operator+=(char ch) {
  ConcatInPlace(1, &ch);
  return *this;
}
const CString& CString::operator+=(LPCSTR lpsz) {
  ConcatInPlace(SafeStrlen(lpsz), lpsz);
  return *this;
}

static CString Concat(LPCSTR p1, int n1, LPCSTR p2, int n2) {
  CString s;
  LPSTR p = s.GetBufferSetLength(n1 + n2);
  memcpy(p, p1, n1);
  memcpy(p + n1, p2, n2);
  return s;
}

CString AFXAPI operator+(const CString& s1, const CString& s2) {
  return Concat(s1, s1.GetLength(), s2, s2.GetLength());
}
CString AFXAPI operator+(const CString& s, char ch) { return Concat(s, s.GetLength(), &ch, 1); }
CString AFXAPI operator+(char ch, const CString& s) { return Concat(&ch, 1, s, s.GetLength()); }
CString AFXAPI operator+(const CString& s, LPCSTR lpsz) {
  return Concat(s, s.GetLength(), lpsz, CString::SafeStrlen(lpsz));
}
CString AFXAPI operator+(LPCSTR lpsz, const CString& s) {
  return Concat(lpsz, CString::SafeStrlen(lpsz), s, s.GetLength());
}

// ---------------------------------------------------------------------------------------------
// Comparison. Compare orders by byte value; the NoCase forms fold case with the ANSI code
// page (so accented Windows-1252 letters match their capitals); Collate uses the user's locale.
int CString::Compare(LPCSTR lpsz) const { return strcmp(m_pchData, lpsz ? lpsz : ""); }

int CString::CompareNoCase(LPCSTR lpsz) const {
  const unsigned char* p1 = (const unsigned char*)m_pchData;
  const unsigned char* p2 = (const unsigned char*)(lpsz ? lpsz : "");
  for (;; p1++, p2++) {
    unsigned char c1 = FoldCase(*p1), c2 = FoldCase(*p2);
    if (c1 != c2) return c1 < c2 ? -1 : 1;
    if (c1 == 0) return 0;
  }
}

int CString::Collate(LPCSTR lpsz) const { return lstrcmpA(m_pchData, lpsz ? lpsz : ""); }
int CString::CollateNoCase(LPCSTR lpsz) const { return lstrcmpiA(m_pchData, lpsz ? lpsz : ""); }

bool AFXAPI operator==(const CString& s1, const CString& s2) {
  return s1.GetLength() == s2.GetLength() && s1.Compare(s2) == 0;
}
bool AFXAPI operator==(const CString& s1, LPCSTR s2) { return s1.Compare(s2) == 0; }
bool AFXAPI operator==(LPCSTR s1, const CString& s2) { return s2.Compare(s1) == 0; }
bool AFXAPI operator!=(const CString& s1, const CString& s2) { return !(s1 == s2); }
bool AFXAPI operator!=(const CString& s1, LPCSTR s2) { return s1.Compare(s2) != 0; }
bool AFXAPI operator!=(LPCSTR s1, const CString& s2) { return s2.Compare(s1) != 0; }
bool AFXAPI operator<(const CString& s1, const CString& s2) { return s1.Compare(s2) < 0; }
bool AFXAPI operator<(const CString& s1, LPCSTR s2) { return s1.Compare(s2) < 0; }
bool AFXAPI operator<(LPCSTR s1, const CString& s2) { return s2.Compare(s1) > 0; }
bool AFXAPI operator>(const CString& s1, const CString& s2) { return s1.Compare(s2) > 0; }
bool AFXAPI operator>(const CString& s1, LPCSTR s2) { return s1.Compare(s2) > 0; }
bool AFXAPI operator>(LPCSTR s1, const CString& s2) { return s2.Compare(s1) < 0; }
bool AFXAPI operator<=(const CString& s1, const CString& s2) { return s1.Compare(s2) <= 0; }
bool AFXAPI operator<=(const CString& s1, LPCSTR s2) { return s1.Compare(s2) <= 0; }
bool AFXAPI operator<=(LPCSTR s1, const CString& s2) { return s2.Compare(s1) >= 0; }
bool AFXAPI operator>=(const CString& s1, const CString& s2) { return s1.Compare(s2) >= 0; }
bool AFXAPI operator>=(const CString& s1, LPCSTR s2) { return s1.Compare(s2) >= 0; }
bool AFXAPI operator>=(LPCSTR s1, const CString& s2) { return s2.Compare(s1) <= 0; }

// ---------------------------------------------------------------------------------------------
// Extraction. Out-of-range arguments are clamped to the string, as callers rely on.
CString CString::Mid(int nFirst) const { return Mid(nFirst, GetLength()); }

CString CString::Mid(int nFirst, int nCount) const {
  int nLen = GetLength();
  if (nFirst < 0) nFirst = 0;
  if (nCount < 0) nCount = 0;
  if (nFirst > nLen) nFirst = nLen;
  if (nCount > nLen - nFirst) nCount = nLen - nFirst;
  return CString(m_pchData + nFirst, nCount);
}

CString CString::Left(int nCount) const {
  if (nCount < 0) nCount = 0;
  if (nCount > GetLength()) nCount = GetLength();
  return CString(m_pchData, nCount);
}

CString CString::Right(int nCount) const {
  if (nCount < 0) nCount = 0;
  if (nCount > GetLength()) nCount = GetLength();
  return CString(m_pchData + GetLength() - nCount, nCount);
}

CString CString::SpanIncluding(LPCSTR lpszCharSet) const {
  return Left((int)strspn(m_pchData, lpszCharSet ? lpszCharSet : ""));
}

CString CString::SpanExcluding(LPCSTR lpszCharSet) const {
  return Left((int)strcspn(m_pchData, lpszCharSet ? lpszCharSet : ""));
}

// ---------------------------------------------------------------------------------------------
void CString::MakeUpper() {
  if (GetLength() > 0) CharUpperBuffA(m_pchData, GetLength());
}
void CString::MakeLower() {
  if (GetLength() > 0) CharLowerBuffA(m_pchData, GetLength());
}
void CString::MakeReverse() {
  for (int i = 0, j = GetLength() - 1; i < j; i++, j--) {
    char t = m_pchData[i];
    m_pchData[i] = m_pchData[j];
    m_pchData[j] = t;
  }
}

template <class Pred>
static void TrimRightIf(CString& s, LPSTR p, int nLen, Pred pred) {
  int n = nLen;
  while (n > 0 && pred(p[n - 1])) n--;
  if (n != nLen) s.GetBufferSetLength(n);
}

template <class Pred>
static void TrimLeftIf(CString& s, LPSTR p, int nLen, Pred pred) {
  int n = 0;
  while (n < nLen && pred(p[n])) n++;
  if (n > 0) s.Delete(0, n);
}

void CString::TrimRight() { TrimRightIf(*this, m_pchData, GetLength(), IsSpace); }
void CString::TrimLeft() { TrimLeftIf(*this, m_pchData, GetLength(), IsSpace); }
void CString::TrimRight(char chTarget) {
  TrimRightIf(*this, m_pchData, GetLength(), [=](char c) { return c == chTarget; });
}
void CString::TrimLeft(char chTarget) {
  TrimLeftIf(*this, m_pchData, GetLength(), [=](char c) { return c == chTarget; });
}
void CString::TrimRight(LPCSTR lpszTargets) {
  if (lpszTargets == NULL) return;
  TrimRightIf(*this, m_pchData, GetLength(),
              [=](char c) { return c != 0 && strchr(lpszTargets, c) != NULL; });
}
void CString::TrimLeft(LPCSTR lpszTargets) {
  if (lpszTargets == NULL) return;
  TrimLeftIf(*this, m_pchData, GetLength(),
             [=](char c) { return c != 0 && strchr(lpszTargets, c) != NULL; });
}

// ---------------------------------------------------------------------------------------------
int CString::Replace(char chOld, char chNew) {
  int nCount = 0;
  if (chOld == chNew) return 0;
  for (int i = 0; i < GetLength(); i++)
    if (m_pchData[i] == chOld) {
      m_pchData[i] = chNew;
      nCount++;
    }
  return nCount;
}

int CString::Replace(LPCSTR lpszOld, LPCSTR lpszNew) {
  int nOldLen = SafeStrlen(lpszOld);
  if (nOldLen == 0) return 0;
  int nNewLen = SafeStrlen(lpszNew);
  int nCount = 0;
  std::string out;
  const char* p = m_pchData;
  const char* pEnd = m_pchData + GetLength();
  while (p < pEnd) {
    const char* pFound = strstr(p, lpszOld);
    if (pFound == NULL) break;
    out.append(p, pFound - p);
    out.append(lpszNew ? lpszNew : "", nNewLen);
    p = pFound + nOldLen;
    nCount++;
  }
  if (nCount == 0) return 0;
  out.append(p, pEnd - p);
  AssignCopy((int)out.size(), out.data());
  return nCount;
}

int CString::Remove(char chRemove) {
  int nLen = GetLength(), j = 0;
  for (int i = 0; i < nLen; i++)
    if (m_pchData[i] != chRemove) m_pchData[j++] = m_pchData[i];
  if (j != nLen) {
    m_pchData[j] = 0;
    GetData()->nDataLength = j;
  }
  return nLen - j;
}

int CString::Insert(int nIndex, char ch) {
  char sz[2] = {ch, 0};
  if (ch == 0) return GetLength();
  return Insert(nIndex, sz);
}

int CString::Insert(int nIndex, LPCSTR pstr) {
  int nInsert = SafeStrlen(pstr);
  int nLen = GetLength();
  if (nIndex < 0) nIndex = 0;
  if (nIndex > nLen) nIndex = nLen;
  if (nInsert > 0) {
    CString copy(pstr, nInsert);  // pstr may point into this string
    if (nInsert > INT_MAX - nLen) AfxThrowMemoryException();
    Reserve(nLen + nInsert);
    memmove(m_pchData + nIndex + nInsert, m_pchData + nIndex, nLen - nIndex + 1);
    memcpy(m_pchData + nIndex, copy.m_pchData, nInsert);
    GetData()->nDataLength = nLen + nInsert;
  }
  return GetLength();
}

int CString::Delete(int nIndex, int nCount) {
  int nLen = GetLength();
  if (nIndex < 0) nIndex = 0;
  if (nCount > 0 && nIndex < nLen) {
    if (nCount > nLen - nIndex) nCount = nLen - nIndex;
    memmove(m_pchData + nIndex, m_pchData + nIndex + nCount, nLen - nIndex - nCount + 1);
    GetData()->nDataLength = nLen - nCount;
  }
  return GetLength();
}

// ---------------------------------------------------------------------------------------------
int CString::Find(char ch) const { return Find(ch, 0); }

int CString::Find(char ch, int nStart) const {
  int nLen = GetLength();
  if (nStart < 0) nStart = 0;
  if (nStart >= nLen) return -1;
  const char* p = (const char*)memchr(m_pchData + nStart, ch, nLen - nStart);
  return p ? (int)(p - m_pchData) : -1;
}

int CString::ReverseFind(char ch) const {
  const char* p = strrchr(m_pchData, ch);
  return (p == NULL || ch == 0) ? -1 : (int)(p - m_pchData);
}

int CString::FindOneOf(LPCSTR lpszCharSet) const {
  if (lpszCharSet == NULL) return -1;
  const char* p = strpbrk(m_pchData, lpszCharSet);
  return p ? (int)(p - m_pchData) : -1;
}

int CString::Find(LPCSTR lpszSub) const { return Find(lpszSub, 0); }

int CString::Find(LPCSTR lpszSub, int nStart) const {
  if (lpszSub == NULL) return -1;
  if (nStart < 0) nStart = 0;
  if (nStart > GetLength()) return -1;
  const char* p = strstr(m_pchData + nStart, lpszSub);
  return p ? (int)(p - m_pchData) : -1;
}

// ---------------------------------------------------------------------------------------------
// Formatting.
void CString::FormatV(LPCSTR lpszFormat, va_list argList) {
  std::string out;
  AfxFormatToString(out, lpszFormat, argList);
  AssignCopy((int)out.size(), out.data());
}

void AFX_CDECL CString::Format(LPCSTR lpszFormat, ...) {
  va_list args;
  va_start(args, lpszFormat);
  FormatV(lpszFormat, args);
  va_end(args);
}

void AFX_CDECL CString::Format(UINT nFormatID, ...) {
  CString strFormat;
  strFormat.LoadString(nFormatID);
  va_list args;
  va_start(args, nFormatID);
  FormatV(strFormat, args);
  va_end(args);
}

void AFX_CDECL CString::FormatMessage(LPCSTR lpszFormat, ...) {
  va_list args;
  va_start(args, lpszFormat);
  std::string out;
  AfxFormatMessageToString(out, lpszFormat, args);
  va_end(args);
  AssignCopy((int)out.size(), out.data());
}

void AFX_CDECL CString::FormatMessage(UINT nFormatID, ...) {
  CString strFormat;
  strFormat.LoadString(nFormatID);
  va_list args;
  va_start(args, nFormatID);
  std::string out;
  AfxFormatMessageToString(out, strFormat, args);
  va_end(args);
  AssignCopy((int)out.size(), out.data());
}

// ---------------------------------------------------------------------------------------------
BOOL CString::LoadString(UINT nID) {
  HINSTANCE hInst = AfxGetResourceHandle();
  // A string resource holds at most 65535 characters; grow until the text fits.
  for (int nSize = 256; nSize <= 65536; nSize *= 4) {
    LPSTR p = GetBuffer(nSize);
    int nLen = ::LoadStringA(hInst, nID, p, nSize + 1);
    if (nLen < nSize || nSize == 65536) {
      ReleaseBuffer(nLen > 0 ? nLen : 0);
      return nLen > 0;
    }
  }
  return FALSE;
}

void CString::AnsiToOem() {
  if (GetLength() > 0) CharToOemBuffA(m_pchData, m_pchData, GetLength());
}
void CString::OemToAnsi() {
  if (GetLength() > 0) OemToCharBuffA(m_pchData, m_pchData, GetLength());
}

BSTR CString::AllocSysString() const {
  int nWide = MultiByteToWideChar(CP_ACP, 0, m_pchData, GetLength(), NULL, 0);
  BSTR bstr = SysAllocStringLen(NULL, nWide);
  if (bstr == NULL) AfxThrowMemoryException();
  if (nWide > 0) MultiByteToWideChar(CP_ACP, 0, m_pchData, GetLength(), bstr, nWide);
  return bstr;
}

BSTR CString::SetSysString(BSTR* pbstr) const {
  BSTR bstr = AllocSysString();
  SysFreeString(*pbstr);
  *pbstr = bstr;
  return bstr;
}

// ---------------------------------------------------------------------------------------------
LPSTR CString::GetBuffer(int nMinBufLength) {
  if (nMinBufLength < 0) AfxThrowInvalidArgException();
  if (nMinBufLength == 0 && GetData() == &g_empty.header) nMinBufLength = 1;
  Reserve(nMinBufLength);
  return m_pchData;
}

void CString::ReleaseBuffer(int nNewLength) {
  CStringData* pData = GetData();
  if (pData == &g_empty.header) return;
  if (nNewLength < 0) {
    // The caller wrote a C string; never look past the buffer for its end.
    const char* p = (const char*)memchr(m_pchData, 0, pData->nAllocLength + 1);
    nNewLength = p ? (int)(p - m_pchData) : pData->nAllocLength;
  }
  if (nNewLength > pData->nAllocLength) nNewLength = pData->nAllocLength;
  pData->nDataLength = nNewLength;
  m_pchData[nNewLength] = 0;
}

LPSTR CString::GetBufferSetLength(int nNewLength) {
  GetBuffer(nNewLength);
  if (GetData() != &g_empty.header) {
    GetData()->nDataLength = nNewLength;
    m_pchData[nNewLength] = 0;
  }
  return m_pchData;
}

void CString::FreeExtra() {
  CStringData* pData = GetData();
  if (pData->nDataLength == pData->nAllocLength) return;
  CString copy(m_pchData, pData->nDataLength);
  *this = std::move(copy);
}

LPSTR CString::LockBuffer() { return GetBuffer(0); }
void CString::UnlockBuffer() {}

// ---------------------------------------------------------------------------------------------
void AFXAPI AfxFormatStrings(CString& rString, LPCSTR lpszFormat, LPCSTR const* rglpsz,
                             int nString) {
  std::string out;
  for (const char* p = lpszFormat ? lpszFormat : ""; *p; p++) {
    if (p[0] == '%' && p[1] >= '1' && p[1] <= '9') {
      int i = p[1] - '1';
      if (i < nString && rglpsz[i] != NULL) out += rglpsz[i];
      p++;
    } else {
      out += *p;
    }
  }
  rString = out.c_str();
}

void AFXAPI AfxFormatString1(CString& rString, UINT nIDS, LPCSTR lpsz1) {
  CString strFormat;
  strFormat.LoadString(nIDS);
  AfxFormatStrings(rString, strFormat, &lpsz1, 1);
}

void AFXAPI AfxFormatString2(CString& rString, UINT nIDS, LPCSTR lpsz1, LPCSTR lpsz2) {
  CString strFormat;
  strFormat.LoadString(nIDS);
  LPCSTR rglpsz[2] = {lpsz1, lpsz2};
  AfxFormatStrings(rString, strFormat, rglpsz, 2);
}

BOOL AFXAPI AfxExtractSubString(CString& rString, LPCSTR lpszFullString, int iSubString,
                                char chSep) {
  rString.Empty();
  if (lpszFullString == NULL) return FALSE;
  while (iSubString--) {
    lpszFullString = strchr(lpszFullString, chSep);
    if (lpszFullString == NULL) return FALSE;
    lpszFullString++;
  }
  const char* pEnd = strchr(lpszFullString, chSep);
  int nLen = pEnd ? (int)(pEnd - lpszFullString) : (int)strlen(lpszFullString);
  rString = CString(lpszFullString, nLen);
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Multibyte byte-string helpers

int AFXAPI _ismbblead(unsigned int ch) { return IsDBCSLeadByteEx(CP_ACP, (BYTE)ch) ? 1 : 0; }

int AFXAPI _mbscmp(const unsigned char* psz1, const unsigned char* psz2)
{
  int n = strcmp((const char*)psz1, (const char*)psz2);
  return n < 0 ? -1 : n > 0 ? 1 : 0;
}

int AFXAPI _mbsnbicmp(const unsigned char* psz1, const unsigned char* psz2, size_t nBytes)
{
  // Each side is cut at nBytes, at its terminator, and before a lead byte whose trail byte
  // would fall past the cut.
  auto span = [nBytes](const unsigned char* p) {
    size_t n = 0;
    while (n < nBytes && p[n] != 0) {
      size_t step = (_ismbblead(p[n]) && p[n + 1] != 0) ? 2 : 1;
      if (n + step > nBytes)
        break;
      n += step;
    }
    return n;
  };
  size_t n1 = span(psz1), n2 = span(psz2);
  if (n1 > INT_MAX || n2 > INT_MAX)
    return strncmp((const char*)psz1, (const char*)psz2, nBytes);
  if (n1 == 0 || n2 == 0)
    return n1 == n2 ? 0 : n1 == 0 ? -1 : 1;
  int r = CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, (LPCSTR)psz1, (int)n1,
                         (LPCSTR)psz2, (int)n2);
  return r == CSTR_LESS_THAN ? -1 : r == CSTR_GREATER_THAN ? 1 : 0;
}
