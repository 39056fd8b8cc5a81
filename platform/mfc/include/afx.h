// Core of the class library: object model (CObject, CRuntimeClass), exceptions, CString,
// files, archives, dates and times, and the small geometry classes.
//
// Everything here works without a window. afxwin.h includes this header first.
#ifndef QUORVEL_AFX_H
#define QUORVEL_AFX_H

// The C++ standard headers need min and max as names, not macros: the program uses std::min
// and std::max.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <algorithm>
#include <memory>
#include <new>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#ifndef STRICT
#define STRICT
#endif
#include <windows.h>
#include <stdarg.h>
#include <stddef.h>
#include <stdio.h>
#include <string.h>
#include <time.h>

// ---------------------------------------------------------------------------------------------
// Calling conventions and decorations that the classic headers carry.
#ifndef AFXAPI
#define AFXAPI
#endif
#ifndef AFX_CDECL
#define AFX_CDECL
#endif
#define AFX_DATA
#define AFX_CORE_DATA
#define AFX_DATADEF
#define AFX_INLINE inline
#define AFX_STATIC static
#define AFX_STATIC_DATA static
#define AFX_NOVTABLE
#define AFX_EXT_CLASS
#define AFX_CLASS_EXPORT
#define AFX_CLASS_IMPORT
#define AFX_API_EXPORT
#define AFX_COMDAT
#ifndef PASCAL
#define PASCAL
#endif

#ifndef _T
#define _T(x) x
#endif
#ifndef _TEXT
#define _TEXT(x) x
#endif
#ifndef _countof
#define _countof(a) (sizeof(a) / sizeof((a)[0]))
#endif

// ---------------------------------------------------------------------------------------------
// Diagnostics. In a debug build (_DEBUG) ASSERT reports a failed condition through
// OutputDebugString and goes on; in a release build its condition is not evaluated at all, as
// the program's code expects (VERIFY always evaluates its expression).
void AFXAPI AfxAssertFailedLine(LPCSTR lpszFileName, int nLine);
void AFX_CDECL AfxTrace(LPCSTR lpszFormat, ...);

#ifndef ASSERT
#ifdef _DEBUG
#define ASSERT(f) \
  do { if (!(f)) AfxAssertFailedLine(__FILE__, __LINE__); } while (0)
#define VERIFY(f) ASSERT(f)
#else
#define ASSERT(f) ((void)0)
#define VERIFY(f) ((void)(f))
#endif
#endif
#define ASSERT_VALID(pOb) ((void)0)
#define ASSERT_POINTER(p, type) ASSERT((p) != NULL)
#define ASSERT_NULL_OR_POINTER(p, type) ((void)0)
#define DEBUG_ONLY(f) ((void)0)
#ifdef _DEBUG
#define TRACE AfxTrace
#else
#define TRACE 1 ? (void)0 : AfxTrace
#endif
#define TRACE0(sz) TRACE("%s", sz)
#define TRACE1(sz, p1) TRACE(sz, p1)
#define TRACE2(sz, p1, p2) TRACE(sz, p1, p2)
#define TRACE3(sz, p1, p2, p3) TRACE(sz, p1, p2, p3)
#define UNUSED(x)
#define UNUSED_ALWAYS(x) (void)(x)
#define DEBUG_NEW new

// Validity checks of caller-supplied pointers: non-null is all that can be checked honestly.
BOOL AFXAPI AfxIsValidAddress(const void* lp, UINT_PTR nBytes, BOOL bReadWrite = TRUE);
BOOL AFXAPI AfxIsValidString(LPCSTR lpsz, int nLength = -1);
BOOL AFXAPI AfxIsValidString(LPCWSTR lpsz, int nLength = -1);

// ---------------------------------------------------------------------------------------------
// Iteration position of the lists and maps.
struct __POSITION {};
typedef __POSITION* POSITION;
#define BEFORE_START_POSITION ((POSITION)-1L)

class CObject;
class CRuntimeClass;
class CArchive;
class CFile;
class CString;
class CException;
class CDumpContext;
struct CFileStatus;

// ---------------------------------------------------------------------------------------------
// Run-time class information.
struct CRuntimeClass {
  LPCSTR m_lpszClassName;
  int m_nObjectSize;
  UINT m_wSchema;                          // schema number of the stored form; 0xFFFF: not serial
  CObject*(PASCAL* m_pfnCreateObject)();  // NULL for a class that is not dynamically creatable
  CRuntimeClass* m_pBaseClass;

  CObject* CreateObject();
  BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;

  // Class registry: every class declared with DECLARE_DYNAMIC and its relatives.
  static CRuntimeClass* PASCAL FromName(LPCSTR lpszClassName);
  static CObject* PASCAL CreateObject(LPCSTR lpszClassName);

  // Stored form of the class tag (schema and name) used by CArchive.
  void Store(CArchive& ar) const;
  static CRuntimeClass* PASCAL Load(CArchive& ar, UINT* pwSchemaNum);

  CRuntimeClass* m_pNextClass;  // chain of registered classes
};

// Registers a class in the registry when the module starts.
struct AFX_CLASSINIT {
  explicit AFX_CLASSINIT(CRuntimeClass* pNewClass);
};
void AFXAPI AfxClassInit(CRuntimeClass* pNewClass);

// Calls pfn for every registered class.
void AFXAPI AfxDoForAllClasses(void(AFXAPI* pfn)(const CRuntimeClass* pClass, void* pContext),
                               void* pContext);

// Schema flag: objects of the class accept any stored schema and report it through
// CArchive::GetObjectSchema.
#define VERSIONABLE_SCHEMA (0x80000000)

#define RUNTIME_CLASS(class_name) ((CRuntimeClass*)(&class_name::class##class_name))
#define _RUNTIME_CLASS(class_name) RUNTIME_CLASS(class_name)
#define ASSERT_KINDOF(class_name, object) ASSERT((object)->IsKindOf(RUNTIME_CLASS(class_name)))
#define DYNAMIC_DOWNCAST(class_name, object) \
  ((class_name*)AfxDynamicDownCast(RUNTIME_CLASS(class_name), object))
#define STATIC_DOWNCAST(class_name, object) (static_cast<class_name*>(object))

#define DECLARE_DYNAMIC(class_name)                     \
 public:                                                \
  static CRuntimeClass class##class_name;         \
  virtual CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
  DECLARE_DYNAMIC(class_name)         \
  static CObject* PASCAL CreateObject();

#define DECLARE_SERIAL(class_name) \
  DECLARE_DYNCREATE(class_name)    \
  friend CArchive& AFXAPI operator>>(CArchive& ar, class_name*& pOb);

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)              \
  CRuntimeClass class_name::class##class_name = {                                    \
      #class_name, sizeof(class class_name), wSchema, pfnNew,                              \
      RUNTIME_CLASS(base_class_name), NULL};                                               \
  static const AFX_CLASSINIT _init_##class_name(                                           \
      (CRuntimeClass*)&class_name::class##class_name);                                     \
  CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
  IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, NULL)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                      \
  CObject* PASCAL class_name::CreateObject() { return new class_name; }       \
  IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                        \
  CObject* PASCAL class_name::CreateObject() { return new class_name; }               \
  IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject) \
  [[maybe_unused]] CArchive& AFXAPI operator>>(CArchive& ar, class_name*& pOb) {      \
    pOb = (class_name*)ar.ReadObject(RUNTIME_CLASS(class_name));                      \
    return ar;                                                                        \
  }

// ---------------------------------------------------------------------------------------------
// CObject: root of the classes with run-time type information and persistence.
class CObject {
 public:
  virtual CRuntimeClass* GetRuntimeClass() const;
  virtual ~CObject() = 0;

  void* PASCAL operator new(size_t nSize);
  void* PASCAL operator new(size_t, void* p) { return p; }
  void PASCAL operator delete(void* p);
  void PASCAL operator delete(void* p, void*) {}
  void* PASCAL operator new(size_t nSize, LPCSTR lpszFileName, int nLine);
  void PASCAL operator delete(void* p, LPCSTR lpszFileName, int nLine);

 protected:
  CObject();

 private:
  CObject(const CObject& objectSrc);
  void operator=(const CObject& objectSrc);

 public:
  BOOL IsSerializable() const;
  BOOL IsKindOf(const CRuntimeClass* pClass) const;

  virtual void Serialize(CArchive& ar);
  virtual void AssertValid() const;
  virtual void Dump(CDumpContext& dc) const;

  static CRuntimeClass classCObject;
};

inline CObject::CObject() {}
inline CObject::~CObject() {}

CObject* AFXAPI AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject);

// Debug output stream (written to OutputDebugString).
class CDumpContext {
 public:
  explicit CDumpContext(CFile* pFile = NULL);
  int GetDepth() const { return m_nDepth; }
  void SetDepth(int nNewDepth) { m_nDepth = nNewDepth; }
  CDumpContext& operator<<(LPCSTR lpsz);
  CDumpContext& operator<<(const void* lp);
  CDumpContext& operator<<(const CObject* pOb);
  CDumpContext& operator<<(const CObject& ob);
  CDumpContext& operator<<(BYTE by);
  CDumpContext& operator<<(WORD w);
  CDumpContext& operator<<(LONG l);
  CDumpContext& operator<<(DWORD dw);
  CDumpContext& operator<<(float f);
  CDumpContext& operator<<(double d);
  void HexDump(LPCSTR lpszLine, BYTE* pby, int nBytes, int nWidth);
  void Flush();

 private:
  int m_nDepth;
  CFile* m_pFile;
};
extern CDumpContext afxDump;

// ---------------------------------------------------------------------------------------------
// CString: an ANSI string (Windows-1252 bytes as they are), one pointer wide, so that it
// converts to LPCSTR wherever a C string is expected.
struct CStringData {
  int nDataLength;   // length of the text, without the terminating NUL
  int nAllocLength;  // room for text, without the NUL
  char* data() { return (char*)(this + 1); }
};

class CString {
 public:
  CString();
  CString(const CString& stringSrc);
  CString(CString&& stringSrc) noexcept;
  CString(char ch, int nRepeat = 1);
  CString(LPCSTR lpsz);          // also a resource id made with MAKEINTRESOURCE
  CString(LPCSTR lpch, int nLength);
  CString(LPCWSTR lpsz);         // converted with the ANSI code page
  CString(LPCWSTR lpch, int nLength);
  CString(const unsigned char* psz);
  ~CString();

  int GetLength() const { return GetData()->nDataLength; }
  BOOL IsEmpty() const { return GetData()->nDataLength == 0; }
  void Empty();

  char GetAt(int nIndex) const;
  char operator[](int nIndex) const { return GetAt(nIndex); }
  void SetAt(int nIndex, char ch);
  operator LPCSTR() const { return m_pchData; }

  const CString& operator=(const CString& stringSrc);
  const CString& operator=(CString&& stringSrc) noexcept;
  const CString& operator=(char ch);
  const CString& operator=(LPCSTR lpsz);
  const CString& operator=(LPCWSTR lpsz);
  const CString& operator=(const unsigned char* psz);

  const CString& operator+=(const CString& string);
  const CString& operator+=(char ch);
  const CString& operator+=(LPCSTR lpsz);

  friend CString AFXAPI operator+(const CString& string1, const CString& string2);
  friend CString AFXAPI operator+(const CString& string, char ch);
  friend CString AFXAPI operator+(char ch, const CString& string);
  friend CString AFXAPI operator+(const CString& string, LPCSTR lpsz);
  friend CString AFXAPI operator+(LPCSTR lpsz, const CString& string);

  int Compare(LPCSTR lpsz) const;
  int CompareNoCase(LPCSTR lpsz) const;
  int Collate(LPCSTR lpsz) const;
  int CollateNoCase(LPCSTR lpsz) const;

  CString Mid(int nFirst, int nCount) const;
  CString Mid(int nFirst) const;
  CString Left(int nCount) const;
  CString Right(int nCount) const;
  CString SpanIncluding(LPCSTR lpszCharSet) const;
  CString SpanExcluding(LPCSTR lpszCharSet) const;

  void MakeUpper();
  void MakeLower();
  void MakeReverse();

  void TrimRight();
  void TrimLeft();
  void TrimRight(char chTarget);
  void TrimRight(LPCSTR lpszTargets);
  void TrimLeft(char chTarget);
  void TrimLeft(LPCSTR lpszTargets);

  int Replace(char chOld, char chNew);
  int Replace(LPCSTR lpszOld, LPCSTR lpszNew);
  int Remove(char chRemove);
  int Insert(int nIndex, char ch);
  int Insert(int nIndex, LPCSTR pstr);
  int Delete(int nIndex, int nCount = 1);

  int Find(char ch) const;
  int ReverseFind(char ch) const;
  int Find(char ch, int nStart) const;
  int FindOneOf(LPCSTR lpszCharSet) const;
  int Find(LPCSTR lpszSub) const;
  int Find(LPCSTR lpszSub, int nStart) const;

  // printf-style formatting (the C library's rules; %s takes a char*, %S a WCHAR*).
  void AFX_CDECL Format(LPCSTR lpszFormat, ...);
  void AFX_CDECL Format(UINT nFormatID, ...);
  void FormatV(LPCSTR lpszFormat, va_list argList);
  // FormatMessage-style formatting (%1, %2!d!, ...).
  void AFX_CDECL FormatMessage(LPCSTR lpszFormat, ...);
  void AFX_CDECL FormatMessage(UINT nFormatID, ...);

  // Loads a string resource from AfxGetResourceHandle(); FALSE (and empty) if not found.
  BOOL LoadString(UINT nID);

  void AnsiToOem();
  void OemToAnsi();
  BSTR AllocSysString() const;
  BSTR SetSysString(BSTR* pbstr) const;

  LPSTR GetBuffer(int nMinBufLength);
  void ReleaseBuffer(int nNewLength = -1);
  LPSTR GetBufferSetLength(int nNewLength);
  void FreeExtra();
  LPSTR LockBuffer();
  void UnlockBuffer();
  int GetAllocLength() const { return GetData()->nAllocLength; }

 protected:
  LPSTR m_pchData;
  CStringData* GetData() const { return ((CStringData*)m_pchData) - 1; }
  void Init();
  void AllocBuffer(int nLen);
  void AssignCopy(int nSrcLen, LPCSTR lpszSrcData);
  void ConcatInPlace(int nSrcLen, LPCSTR lpszSrcData);
  void Reserve(int nLen);  // room for nLen characters, keeping the text
  void Release();
  static void PASCAL Release(CStringData* pData);
  static int PASCAL SafeStrlen(LPCSTR lpsz);
};

bool AFXAPI operator==(const CString& s1, const CString& s2);
bool AFXAPI operator==(const CString& s1, LPCSTR s2);
bool AFXAPI operator==(LPCSTR s1, const CString& s2);
bool AFXAPI operator!=(const CString& s1, const CString& s2);
bool AFXAPI operator!=(const CString& s1, LPCSTR s2);
bool AFXAPI operator!=(LPCSTR s1, const CString& s2);
bool AFXAPI operator<(const CString& s1, const CString& s2);
bool AFXAPI operator<(const CString& s1, LPCSTR s2);
bool AFXAPI operator<(LPCSTR s1, const CString& s2);
bool AFXAPI operator>(const CString& s1, const CString& s2);
bool AFXAPI operator>(const CString& s1, LPCSTR s2);
bool AFXAPI operator>(LPCSTR s1, const CString& s2);
bool AFXAPI operator<=(const CString& s1, const CString& s2);
bool AFXAPI operator<=(const CString& s1, LPCSTR s2);
bool AFXAPI operator<=(LPCSTR s1, const CString& s2);
bool AFXAPI operator>=(const CString& s1, const CString& s2);
bool AFXAPI operator>=(const CString& s1, LPCSTR s2);
bool AFXAPI operator>=(LPCSTR s1, const CString& s2);

// The resource module that LoadString (and the window layer's loaders) read from. The core's
// own definition answers the module that holds the code; the window layer replaces it with the
// application's resource handle.
HINSTANCE AFXAPI AfxGetResourceHandle();

// Replaces %1 (and %2) in the string resource nIDS with the given texts.
void AFXAPI AfxFormatString1(CString& rString, UINT nIDS, LPCSTR lpsz1);
void AFXAPI AfxFormatString2(CString& rString, UINT nIDS, LPCSTR lpsz1, LPCSTR lpsz2);
void AFXAPI AfxFormatStrings(CString& rString, LPCSTR lpszFormat, LPCSTR const* rglpsz,
                             int nString);
// The iSubString-th piece of lpszFullString cut at chSep; FALSE past the last piece.
BOOL AFXAPI AfxExtractSubString(CString& rString, LPCSTR lpszFullString, int iSubString,
                                char chSep = '\n');

// Byte-string helpers of the multibyte runtime family (the C library here has none): lead
// bytes are those of the ANSI code page, and case folds by its rules (so in Windows-1252
// 0xE9 matches 0xC9). _mbsnbicmp compares at most nBytes bytes, never splitting a
// double-byte character from its lead byte; both return <0, 0 or >0.
int AFXAPI _ismbblead(unsigned int ch);
int AFXAPI _mbscmp(const unsigned char* psz1, const unsigned char* psz2);
int AFXAPI _mbsnbicmp(const unsigned char* psz1, const unsigned char* psz2, size_t nBytes);

// ---------------------------------------------------------------------------------------------
// Exceptions. Thrown by pointer (throw new CxxException or AfxThrowXxx) and released by the
// catcher with Delete().
class CException : public CObject {
  DECLARE_DYNAMIC(CException)
 public:
  CException();
  explicit CException(BOOL bAutoDelete);
  virtual ~CException();

  // Deletes the exception unless it was made with bAutoDelete FALSE. Inside a CATCH block the
  // deletion waits for the end of the block, which deletes it anyway.
  void Delete();
  virtual BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL);
  virtual int ReportError(UINT nType = MB_OK, UINT nMessageID = 0);

 public:
  BOOL m_bAutoDelete;
  int m_nCatchDepth;  // CATCH blocks currently handling this exception
};

// Exceptions that carry nothing but their kind (out of memory, not supported, resource).
class CSimpleException : public CException {
  DECLARE_DYNAMIC(CSimpleException)
 public:
  CSimpleException();
  explicit CSimpleException(BOOL bAutoDelete);
  virtual ~CSimpleException();
  void InitString();
  virtual BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError,
                               PUINT pnHelpContext = NULL) override;

 protected:
  UINT m_nResourceID;
  BOOL m_bLoaded;
  BOOL m_bInitialized;
  char m_szMessage[128];
};

class CMemoryException : public CSimpleException {
  DECLARE_DYNAMIC(CMemoryException)
 public:
  CMemoryException();
  explicit CMemoryException(BOOL bAutoDelete);
  virtual ~CMemoryException();
};

class CNotSupportedException : public CSimpleException {
  DECLARE_DYNAMIC(CNotSupportedException)
 public:
  CNotSupportedException();
  explicit CNotSupportedException(BOOL bAutoDelete);
  virtual ~CNotSupportedException();
};

class CResourceException : public CSimpleException {
  DECLARE_DYNAMIC(CResourceException)
 public:
  CResourceException();
  explicit CResourceException(BOOL bAutoDelete);
  virtual ~CResourceException();
};

class CUserException : public CSimpleException {
  DECLARE_DYNAMIC(CUserException)
 public:
  CUserException();
  explicit CUserException(BOOL bAutoDelete);
  virtual ~CUserException();
};

class CInvalidArgException : public CSimpleException {
  DECLARE_DYNAMIC(CInvalidArgException)
 public:
  CInvalidArgException();
  explicit CInvalidArgException(BOOL bAutoDelete);
  virtual ~CInvalidArgException();
};

// COleException and COleDispatchException belong to the automation part (afxdisp.h).

class CArchiveException : public CException {
  DECLARE_DYNAMIC(CArchiveException)
 public:
  enum {
    none,
    generic,
    readOnly,
    endOfFile,
    writeOnly,
    badIndex,
    badClass,
    badSchema
  };
  explicit CArchiveException(int cause = CArchiveException::none, LPCSTR lpszArchiveName = NULL);
  virtual ~CArchiveException();
  virtual BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError,
                               PUINT pnHelpContext = NULL) override;

  int m_cause;
  CString m_strFileName;  // the name of the archive's file, if known
  CString GetFileName() const { return m_strFileName; }
};

class CFileException : public CException {
  DECLARE_DYNAMIC(CFileException)
 public:
  enum {
    none,
    generic,
    fileNotFound,
    badPath,
    tooManyOpenFiles,
    accessDenied,
    invalidFile,
    removeCurrentDir,
    directoryFull,
    badSeek,
    hardIO,
    sharingViolation,
    lockViolation,
    diskFull,
    endOfFile
  };
  explicit CFileException(int cause = CFileException::none, LONG lOsError = -1,
                          LPCSTR lpszArchiveName = NULL);
  virtual ~CFileException();

  void ThrowOsError(LONG lOsError, LPCSTR lpszFileName = NULL);  // throws a new exception
  static void PASCAL ThrowOsError(LONG lOsError, LPCSTR lpszFileName, int);
  static void PASCAL ThrowErrno(int nErrno, LPCSTR lpszFileName = NULL);
  static int PASCAL OsErrorToException(LONG lOsError);
  static int PASCAL ErrnoToException(int nErrno);
  virtual BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError,
                               PUINT pnHelpContext = NULL) override;

  int m_cause;
  LONG m_lOsError;
  CString m_strFileName;
  CString GetFileName() const { return m_strFileName; }
};

void AFXAPI AfxThrowMemoryException();
void AFXAPI AfxThrowNotSupportedException();
void AFXAPI AfxThrowInvalidArgException();
void AFXAPI AfxThrowResourceException();
void AFXAPI AfxThrowUserException();
void AFXAPI AfxThrowArchiveException(int cause, LPCSTR lpszArchiveName = NULL);
void AFXAPI AfxThrowFileException(int cause, LONG lOsError = -1, LPCSTR lpszFileName = NULL);
void AFXAPI AfxAbort();

// The classic exception macros, mapped onto C++ exceptions. An exception caught by CATCH is
// deleted at the end of its handler unless the handler rethrows it with THROW_LAST.
struct AFX_EXCEPTION_LINK {
  CException* m_pException;
  explicit AFX_EXCEPTION_LINK(CException* p) : m_pException(p) { p->m_nCatchDepth++; }
  ~AFX_EXCEPTION_LINK() {
    if (m_pException) {
      m_pException->m_nCatchDepth--;
      m_pException->Delete();
    }
  }
  void Rethrowing() {
    m_pException->m_nCatchDepth--;
    m_pException = NULL;
  }
};
#define TRY try
#define CATCH(class_name, e) \
  catch (class_name * e) {   \
    AFX_EXCEPTION_LINK _afxExceptionLink(e);
#define AND_CATCH(class_name, e) \
  }                              \
  catch (class_name * e) {       \
    AFX_EXCEPTION_LINK _afxExceptionLink(e);
#define END_CATCH }
#define CATCH_ALL(e) CATCH(CException, e)
#define AND_CATCH_ALL(e) AND_CATCH(CException, e)
#define END_CATCH_ALL }
#define THROW(e) throw e
#define THROW_LAST()              \
  do {                            \
    _afxExceptionLink.Rethrowing(); \
    throw;                        \
  } while (0)

// ---------------------------------------------------------------------------------------------
// Dates and times. CTime counts seconds since 1970-01-01 UTC in 64 bits.
class CTimeSpan {
 public:
  CTimeSpan() : m_timeSpan(0) {}
  CTimeSpan(__int64 time) : m_timeSpan(time) {}
  CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs);

  LONG GetDays() const;
  LONG GetTotalHours() const;
  int GetHours() const;
  LONG GetTotalMinutes() const;
  int GetMinutes() const;
  __int64 GetTotalSeconds() const { return m_timeSpan; }
  int GetSeconds() const;
  __int64 GetTimeSpan() const { return m_timeSpan; }

  CTimeSpan operator-(CTimeSpan timeSpan) const { return CTimeSpan(m_timeSpan - timeSpan.m_timeSpan); }
  CTimeSpan operator+(CTimeSpan timeSpan) const { return CTimeSpan(m_timeSpan + timeSpan.m_timeSpan); }
  const CTimeSpan& operator+=(CTimeSpan timeSpan) { m_timeSpan += timeSpan.m_timeSpan; return *this; }
  const CTimeSpan& operator-=(CTimeSpan timeSpan) { m_timeSpan -= timeSpan.m_timeSpan; return *this; }
  bool operator==(CTimeSpan t) const { return m_timeSpan == t.m_timeSpan; }
  bool operator!=(CTimeSpan t) const { return m_timeSpan != t.m_timeSpan; }
  bool operator<(CTimeSpan t) const { return m_timeSpan < t.m_timeSpan; }
  bool operator>(CTimeSpan t) const { return m_timeSpan > t.m_timeSpan; }
  bool operator<=(CTimeSpan t) const { return m_timeSpan <= t.m_timeSpan; }
  bool operator>=(CTimeSpan t) const { return m_timeSpan >= t.m_timeSpan; }

  // strftime-like: %D days, %H hours, %M minutes, %S seconds, %% percent.
  CString Format(LPCSTR pFormat) const;
  CString Format(UINT nID) const;

 private:
  __int64 m_timeSpan;
  friend class CTime;
};

class CTime {
 public:
  static CTime PASCAL GetCurrentTime();

  CTime() : m_time(0) {}
  CTime(__int64 time) : m_time(time) {}
  // Local time; nDST < 0 lets the C library decide daylight saving time.
  CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);
  CTime(WORD wDosDate, WORD wDosTime, int nDST = -1);
  CTime(const SYSTEMTIME& sysTime, int nDST = -1);
  CTime(const FILETIME& fileTime, int nDST = -1);

  struct tm* GetGmtTm(struct tm* ptm = NULL) const;
  struct tm* GetLocalTm(struct tm* ptm = NULL) const;
  BOOL GetAsSystemTime(SYSTEMTIME& timeDest) const;

  __int64 GetTime() const { return m_time; }
  int GetYear() const;
  int GetMonth() const;
  int GetDay() const;
  int GetHour() const;
  int GetMinute() const;
  int GetSecond() const;
  int GetDayOfWeek() const;  // 1 = Sunday

  CTimeSpan operator-(CTime time) const { return CTimeSpan(m_time - time.m_time); }
  CTime operator-(CTimeSpan timeSpan) const { return CTime(m_time - timeSpan.m_timeSpan); }
  CTime operator+(CTimeSpan timeSpan) const { return CTime(m_time + timeSpan.m_timeSpan); }
  const CTime& operator+=(CTimeSpan timeSpan) { m_time += timeSpan.m_timeSpan; return *this; }
  const CTime& operator-=(CTimeSpan timeSpan) { m_time -= timeSpan.m_timeSpan; return *this; }
  bool operator==(CTime time) const { return m_time == time.m_time; }
  bool operator!=(CTime time) const { return m_time != time.m_time; }
  bool operator<(CTime time) const { return m_time < time.m_time; }
  bool operator>(CTime time) const { return m_time > time.m_time; }
  bool operator<=(CTime time) const { return m_time <= time.m_time; }
  bool operator>=(CTime time) const { return m_time >= time.m_time; }

  // strftime formats, local time (Format) or UTC (FormatGmt).
  CString Format(LPCSTR pFormat) const;
  CString FormatGmt(LPCSTR pFormat) const;
  CString Format(UINT nFormatID) const;
  CString FormatGmt(UINT nFormatID) const;

 private:
  __int64 m_time;
};

// ---------------------------------------------------------------------------------------------
// Geometry.
class CSize;
class CPoint;
class CRect;

class CSize : public tagSIZE {
 public:
  CSize() { cx = cy = 0; }
  CSize(int initCX, int initCY) { cx = initCX; cy = initCY; }
  CSize(SIZE initSize) { cx = initSize.cx; cy = initSize.cy; }
  CSize(POINT initPt) { cx = initPt.x; cy = initPt.y; }
  CSize(DWORD dwSize) { cx = (short)LOWORD(dwSize); cy = (short)HIWORD(dwSize); }

  BOOL operator==(SIZE size) const { return cx == size.cx && cy == size.cy; }
  BOOL operator!=(SIZE size) const { return cx != size.cx || cy != size.cy; }
  void operator+=(SIZE size) { cx += size.cx; cy += size.cy; }
  void operator-=(SIZE size) { cx -= size.cx; cy -= size.cy; }

  CSize operator+(SIZE size) const { return CSize(cx + size.cx, cy + size.cy); }
  CSize operator-(SIZE size) const { return CSize(cx - size.cx, cy - size.cy); }
  CSize operator-() const { return CSize(-cx, -cy); }
  CPoint operator+(POINT point) const;
  CPoint operator-(POINT point) const;
  CRect operator+(const RECT* lpRect) const;
  CRect operator-(const RECT* lpRect) const;
};

class CPoint : public tagPOINT {
 public:
  CPoint() { x = y = 0; }
  CPoint(int initX, int initY) { x = initX; y = initY; }
  CPoint(POINT initPt) { x = initPt.x; y = initPt.y; }
  CPoint(SIZE initSize) { x = initSize.cx; y = initSize.cy; }
  CPoint(DWORD dwPoint) { x = (short)LOWORD(dwPoint); y = (short)HIWORD(dwPoint); }

  void Offset(int xOffset, int yOffset) { x += xOffset; y += yOffset; }
  void Offset(POINT point) { x += point.x; y += point.y; }
  void Offset(SIZE size) { x += size.cx; y += size.cy; }

  BOOL operator==(POINT point) const { return x == point.x && y == point.y; }
  BOOL operator!=(POINT point) const { return x != point.x || y != point.y; }
  void operator+=(SIZE size) { x += size.cx; y += size.cy; }
  void operator-=(SIZE size) { x -= size.cx; y -= size.cy; }
  void operator+=(POINT point) { x += point.x; y += point.y; }
  void operator-=(POINT point) { x -= point.x; y -= point.y; }

  CPoint operator+(SIZE size) const { return CPoint(x + size.cx, y + size.cy); }
  CPoint operator-(SIZE size) const { return CPoint(x - size.cx, y - size.cy); }
  CPoint operator-() const { return CPoint(-x, -y); }
  CPoint operator+(POINT point) const { return CPoint(x + point.x, y + point.y); }
  CSize operator-(POINT point) const { return CSize(x - point.x, y - point.y); }
  CRect operator+(const RECT* lpRect) const;
  CRect operator-(const RECT* lpRect) const;
};

class CRect : public tagRECT {
 public:
  CRect() { left = top = right = bottom = 0; }
  CRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
  CRect(const RECT& srcRect) { ::CopyRect(this, &srcRect); }
  CRect(LPCRECT lpSrcRect) { ::CopyRect(this, lpSrcRect); }
  CRect(POINT point, SIZE size) {
    right = (left = point.x) + size.cx;
    bottom = (top = point.y) + size.cy;
  }
  CRect(POINT topLeft, POINT bottomRight) {
    left = topLeft.x; top = topLeft.y; right = bottomRight.x; bottom = bottomRight.y;
  }

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  CSize Size() const { return CSize(right - left, bottom - top); }
  CPoint& TopLeft() { return *((CPoint*)this); }
  CPoint& BottomRight() { return *((CPoint*)this + 1); }
  const CPoint& TopLeft() const { return *((const CPoint*)this); }
  const CPoint& BottomRight() const { return *((const CPoint*)this + 1); }
  CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
  void SwapLeftRight() { SwapLeftRight(LPRECT(this)); }
  static void PASCAL SwapLeftRight(LPRECT lpRect) {
    LONG temp = lpRect->left; lpRect->left = lpRect->right; lpRect->right = temp;
  }

  operator LPRECT() { return this; }
  operator LPCRECT() const { return this; }

  BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
  BOOL IsRectNull() const { return left == 0 && right == 0 && top == 0 && bottom == 0; }
  BOOL PtInRect(POINT point) const { return ::PtInRect(this, point); }

  void SetRect(int x1, int y1, int x2, int y2) { ::SetRect(this, x1, y1, x2, y2); }
  void SetRect(POINT topLeft, POINT bottomRight) {
    ::SetRect(this, topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
  }
  void SetRectEmpty() { ::SetRectEmpty(this); }
  void CopyRect(LPCRECT lpSrcRect) { ::CopyRect(this, lpSrcRect); }
  BOOL EqualRect(LPCRECT lpRect) const { return ::EqualRect(this, lpRect); }

  void InflateRect(int x, int y) { ::InflateRect(this, x, y); }
  void InflateRect(SIZE size) { ::InflateRect(this, size.cx, size.cy); }
  void InflateRect(LPCRECT lpRect) {
    left -= lpRect->left; top -= lpRect->top; right += lpRect->right; bottom += lpRect->bottom;
  }
  void InflateRect(int l, int t, int r, int b) { left -= l; top -= t; right += r; bottom += b; }
  void DeflateRect(int x, int y) { ::InflateRect(this, -x, -y); }
  void DeflateRect(SIZE size) { ::InflateRect(this, -size.cx, -size.cy); }
  void DeflateRect(LPCRECT lpRect) {
    left += lpRect->left; top += lpRect->top; right -= lpRect->right; bottom -= lpRect->bottom;
  }
  void DeflateRect(int l, int t, int r, int b) { left += l; top += t; right -= r; bottom -= b; }

  void OffsetRect(int x, int y) { ::OffsetRect(this, x, y); }
  void OffsetRect(SIZE size) { ::OffsetRect(this, size.cx, size.cy); }
  void OffsetRect(POINT point) { ::OffsetRect(this, point.x, point.y); }
  void NormalizeRect();

  BOOL IntersectRect(LPCRECT lpRect1, LPCRECT lpRect2) {
    return ::IntersectRect(this, lpRect1, lpRect2);
  }
  BOOL UnionRect(LPCRECT lpRect1, LPCRECT lpRect2) { return ::UnionRect(this, lpRect1, lpRect2); }
  BOOL SubtractRect(LPCRECT lpRectSrc1, LPCRECT lpRectSrc2) {
    return ::SubtractRect(this, lpRectSrc1, lpRectSrc2);
  }

  void operator=(const RECT& srcRect) { ::CopyRect(this, &srcRect); }
  BOOL operator==(const RECT& rect) const { return ::EqualRect(this, &rect); }
  BOOL operator!=(const RECT& rect) const { return !::EqualRect(this, &rect); }
  void operator+=(POINT point) { ::OffsetRect(this, point.x, point.y); }
  void operator+=(SIZE size) { ::OffsetRect(this, size.cx, size.cy); }
  void operator+=(LPCRECT lpRect) { InflateRect(lpRect); }
  void operator-=(POINT point) { ::OffsetRect(this, -point.x, -point.y); }
  void operator-=(SIZE size) { ::OffsetRect(this, -size.cx, -size.cy); }
  void operator-=(LPCRECT lpRect) { DeflateRect(lpRect); }
  void operator&=(const RECT& rect) { ::IntersectRect(this, this, &rect); }
  void operator|=(const RECT& rect) { ::UnionRect(this, this, &rect); }

  CRect operator+(POINT point) const { CRect r(*this); r += point; return r; }
  CRect operator-(POINT point) const { CRect r(*this); r -= point; return r; }
  CRect operator+(LPCRECT lpRect) const { CRect r(this); r.InflateRect(lpRect); return r; }
  CRect operator+(SIZE size) const { CRect r(*this); r += size; return r; }
  CRect operator-(SIZE size) const { CRect r(*this); r -= size; return r; }
  CRect operator-(LPCRECT lpRect) const { CRect r(this); r.DeflateRect(lpRect); return r; }
  CRect operator&(const RECT& rect2) const { CRect r; ::IntersectRect(&r, this, &rect2); return r; }
  CRect operator|(const RECT& rect2) const { CRect r; ::UnionRect(&r, this, &rect2); return r; }
  CRect MulDiv(int nMultiplier, int nDivisor) const {
    return CRect(::MulDiv(left, nMultiplier, nDivisor), ::MulDiv(top, nMultiplier, nDivisor),
                 ::MulDiv(right, nMultiplier, nDivisor), ::MulDiv(bottom, nMultiplier, nDivisor));
  }
};

inline CPoint CSize::operator+(POINT point) const { return CPoint(cx + point.x, cy + point.y); }
inline CPoint CSize::operator-(POINT point) const { return CPoint(cx - point.x, cy - point.y); }
inline CRect CSize::operator+(const RECT* lpRect) const { return CRect(lpRect) + *this; }
inline CRect CSize::operator-(const RECT* lpRect) const { return CRect(lpRect) - *this; }
inline CRect CPoint::operator+(const RECT* lpRect) const { return CRect(lpRect) + *this; }
inline CRect CPoint::operator-(const RECT* lpRect) const { return CRect(lpRect) - *this; }
inline void CRect::NormalizeRect() {
  LONG t;
  if (left > right) { t = left; left = right; right = t; }
  if (top > bottom) { t = top; top = bottom; bottom = t; }
}

// ---------------------------------------------------------------------------------------------
// Files.
struct CFileStatus {
  CTime m_ctime;          // creation time
  CTime m_mtime;          // last modification time
  CTime m_atime;          // last access time
  LONG m_size;            // size in bytes (32 bits, as stored by callers)
  BYTE m_attribute;       // CFile::Attribute bits
  BYTE _m_padding;
  char m_szFullName[MAX_PATH];
};

class CFile : public CObject {
  DECLARE_DYNAMIC(CFile)
 public:
  enum OpenFlags {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    typeText = 0x4000,
    typeBinary = (int)0x8000
  };
  enum Attribute {
    normal = 0x00,
    readOnly = 0x01,
    hidden = 0x02,
    system = 0x04,
    volume = 0x08,
    directory = 0x10,
    archive = 0x20
  };
  enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };
  enum { hFileNull = -1 };

  CFile();
  CFile(int hFile);  // a handle value as returned by _open-style code is not supported
  CFile(HANDLE hFile);
  CFile(LPCSTR lpszFileName, UINT nOpenFlags);  // throws CFileException
  virtual ~CFile();

  // The Win32 file handle; (HANDLE)hFileNull when closed.
  UINT_PTR m_hFile;
  operator HFILE() const { return (HFILE)m_hFile; }
  BOOL m_bCloseOnDelete;
  CString m_strFileName;  // full path of the open file

  virtual DWORD GetPosition() const;
  BOOL GetStatus(CFileStatus& rStatus) const;
  virtual CString GetFileName() const;
  virtual CString GetFileTitle() const;
  virtual CString GetFilePath() const;
  virtual void SetFilePath(LPCSTR lpszNewName);

  virtual BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = NULL);
  static void PASCAL Rename(LPCSTR lpszOldName, LPCSTR lpszNewName);
  static void PASCAL Remove(LPCSTR lpszFileName);
  static BOOL PASCAL GetStatus(LPCSTR lpszFileName, CFileStatus& rStatus);
  static void PASCAL SetStatus(LPCSTR lpszFileName, const CFileStatus& status);

  DWORD SeekToEnd();
  void SeekToBegin();
  DWORD ReadHuge(void* lpBuffer, DWORD dwCount);
  void WriteHuge(const void* lpBuffer, DWORD dwCount);

  virtual CFile* Duplicate() const;
  virtual LONG Seek(LONG lOff, UINT nFrom);
  virtual void SetLength(DWORD dwNewLen);
  virtual DWORD GetLength() const;
  virtual UINT Read(void* lpBuf, UINT nCount);
  virtual void Write(const void* lpBuf, UINT nCount);
  virtual void LockRange(DWORD dwPos, DWORD dwCount);
  virtual void UnlockRange(DWORD dwPos, DWORD dwCount);
  virtual void Abort();   // closes without throwing
  virtual void Flush();
  virtual void Close();

  // Buffer access for files that live in memory (CMemFile); others answer 0.
  enum BufferCommand { bufferRead, bufferWrite, bufferCommit, bufferCheck };
  virtual UINT GetBufferPtr(UINT nCommand, UINT nCount = 0, void** ppBufStart = NULL,
                            void** ppBufMax = NULL);

 protected:
  BOOL m_bInited;
};

// A file held in memory, growing by nGrowBytes (1024 unless given).
class CMemFile : public CFile {
  DECLARE_DYNAMIC(CMemFile)
 public:
  CMemFile(UINT nGrowBytes = 1024);
  CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
  virtual ~CMemFile();

  // Uses the caller's buffer; with nGrowBytes 0 the file cannot grow past it.
  void Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
  // Gives the buffer to the caller (who frees it with free()) and empties the file.
  BYTE* Detach();

  virtual DWORD GetPosition() const override;
  BOOL GetStatus(CFileStatus& rStatus) const;
  virtual LONG Seek(LONG lOff, UINT nFrom) override;
  virtual void SetLength(DWORD dwNewLen) override;
  virtual UINT Read(void* lpBuf, UINT nCount) override;
  virtual void Write(const void* lpBuf, UINT nCount) override;
  virtual void Abort() override;
  virtual void Flush() override;
  virtual void Close() override;
  virtual UINT GetBufferPtr(UINT nCommand, UINT nCount = 0, void** ppBufStart = NULL,
                            void** ppBufMax = NULL) override;
  virtual CFile* Duplicate() const override;
  virtual void LockRange(DWORD dwPos, DWORD dwCount) override;
  virtual void UnlockRange(DWORD dwPos, DWORD dwCount) override;
  virtual DWORD GetLength() const override;

 protected:
  virtual BYTE* Alloc(DWORD nBytes);
  virtual BYTE* Realloc(BYTE* lpMem, DWORD nBytes);
  virtual BYTE* Memcpy(BYTE* lpMemTarget, const BYTE* lpMemSource, UINT nBytes);
  virtual void Free(BYTE* lpMem);
  virtual void GrowFile(DWORD dwNewLen);

  UINT m_nGrowBytes;
  DWORD m_nPosition;
  DWORD m_nBufferSize;
  DWORD m_nFileSize;
  BYTE* m_lpBuffer;
  BOOL m_bAutoDelete;
};

// A memory file over a global memory block (GlobalAlloc), as the clipboard and drag and drop
// exchange data.
class CSharedFile : public CMemFile {
  DECLARE_DYNAMIC(CSharedFile)
 public:
  CSharedFile(UINT nAllocFlags = GMEM_DDESHARE | GMEM_MOVEABLE, UINT nGrowBytes = 4096);
  virtual ~CSharedFile();

  // Takes the memory block out of the file; the caller owns it.
  HGLOBAL Detach();
  // Reads from (and grows) the given block; the file owns it until Detach.
  void SetHandle(HGLOBAL hGlobalMemory, BOOL bAllowGrow = TRUE);

 protected:
  virtual BYTE* Alloc(DWORD nBytes) override;
  virtual BYTE* Realloc(BYTE* lpMem, DWORD nBytes) override;
  virtual void Free(BYTE* lpMem) override;

  UINT m_nAllocFlags;
  HGLOBAL m_hGlobalMemory;
  BOOL m_bAllowGrow;
};

// A file read and written as text, line by line (typeText turns "\r\n" into "\n" and back).
class CStdioFile : public CFile {
  DECLARE_DYNAMIC(CStdioFile)
 public:
  CStdioFile();
  CStdioFile(FILE* pOpenStream);
  CStdioFile(LPCSTR lpszFileName, UINT nOpenFlags);
  virtual ~CStdioFile();

  FILE* m_pStream;

  virtual void WriteString(LPCSTR lpsz);
  virtual LPSTR ReadString(LPSTR lpsz, UINT nMax);
  virtual BOOL ReadString(CString& rString);

  virtual DWORD GetPosition() const override;
  virtual BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = NULL) override;
  virtual UINT Read(void* lpBuf, UINT nCount) override;
  virtual void Write(const void* lpBuf, UINT nCount) override;
  virtual LONG Seek(LONG lOff, UINT nFrom) override;
  virtual void Abort() override;
  virtual void Flush() override;
  virtual void Close() override;
  virtual DWORD GetLength() const override;
  virtual CFile* Duplicate() const override;
  virtual void LockRange(DWORD dwPos, DWORD dwCount) override;
  virtual void UnlockRange(DWORD dwPos, DWORD dwCount) override;

 protected:
  BOOL m_bTextMode;  // "\r\n" read as "\n" and "\n" written as "\r\n"
};

// Enumerates the files that match a path with wildcards.
class CFileFind : public CObject {
  DECLARE_DYNAMIC(CFileFind)
 public:
  CFileFind();
  virtual ~CFileFind();

  DWORD GetLength() const;
  virtual CString GetFileName() const;
  virtual CString GetFilePath() const;
  virtual CString GetFileTitle() const;
  virtual CString GetFileURL() const;
  virtual CString GetRoot() const;

  virtual BOOL GetLastWriteTime(FILETIME* pTimeStamp) const;
  virtual BOOL GetLastAccessTime(FILETIME* pTimeStamp) const;
  virtual BOOL GetCreationTime(FILETIME* pTimeStamp) const;
  virtual BOOL GetLastWriteTime(CTime& refTime) const;
  virtual BOOL GetLastAccessTime(CTime& refTime) const;
  virtual BOOL GetCreationTime(CTime& refTime) const;

  virtual BOOL MatchesMask(DWORD dwMask) const;
  virtual BOOL IsDots() const;
  BOOL IsReadOnly() const { return MatchesMask(FILE_ATTRIBUTE_READONLY); }
  BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
  BOOL IsCompressed() const { return MatchesMask(FILE_ATTRIBUTE_COMPRESSED); }
  BOOL IsSystem() const { return MatchesMask(FILE_ATTRIBUTE_SYSTEM); }
  BOOL IsHidden() const { return MatchesMask(FILE_ATTRIBUTE_HIDDEN); }
  BOOL IsTemporary() const { return MatchesMask(FILE_ATTRIBUTE_TEMPORARY); }
  BOOL IsNormal() const { return MatchesMask(FILE_ATTRIBUTE_NORMAL); }
  BOOL IsArchived() const { return MatchesMask(FILE_ATTRIBUTE_ARCHIVE); }

  void Close();
  virtual BOOL FindFile(LPCSTR pstrName = NULL, DWORD dwUnused = 0);
  virtual BOOL FindNextFile();

 protected:
  virtual void CloseContext();

  void* m_pFoundInfo;
  void* m_pNextInfo;
  HANDLE m_hContext;
  BOOL m_bGotLast;
  CString m_strRoot;
  char m_chDirSeparator;
};

// ---------------------------------------------------------------------------------------------
// CArchive: the binary stored form of objects, buffered over a CFile.
//
// Object records: a class seen for the first time is written as 0xFFFF, its schema (WORD),
// the length of its name (WORD) and the name; a class seen before as 0x8000 | its index; an
// object written before as its index; NULL as 0. One counter numbers classes and objects
// from 1; indexes past 0x7FFE are written as the escape 0x7FFF and a DWORD (with 0x80000000
// set for a class). Integers are little-endian.
class CArchive {
 public:
  enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

  CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = NULL);
  ~CArchive();

  BOOL IsLoading() const { return (m_nMode & CArchive::load) != 0; }
  BOOL IsStoring() const { return (m_nMode & CArchive::load) == 0; }
  BOOL IsByteSwapping() const { return FALSE; }
  BOOL IsBufferEmpty() const { return m_lpBufCur == m_lpBufMax; }
  CFile* GetFile() const { return m_pFile; }
  UINT GetObjectSchema();             // the schema of the object being read, once
  void SetObjectSchema(UINT nSchema);

  class CDocument* m_pDocument;  // set by the document layer while it serializes
  CString m_strFileName;         // the file's path (named by the archive's exceptions)

  UINT Read(void* lpBuf, UINT nMax);   // may read fewer bytes at the end of the file
  void Write(const void* lpBuf, UINT nMax);
  void Flush();
  void Close();
  void Abort();  // closes without flushing or throwing

  // Text lines ("\r\n" ends a line when writing; "\n" or "\r\n" when reading).
  void WriteString(LPCSTR lpsz);
  LPSTR ReadString(LPSTR lpsz, UINT nMax);
  BOOL ReadString(CString& rString);

  friend CArchive& AFXAPI operator<<(CArchive& ar, const CObject* pOb);
  friend CArchive& AFXAPI operator>>(CArchive& ar, CObject*& pOb);
  friend CArchive& AFXAPI operator>>(CArchive& ar, const CObject*& pOb);

  CArchive& operator<<(BYTE by);
  CArchive& operator<<(WORD w);
  // LONG is int and DWORD is UINT here: both are 32 bits, as stored. A 64-bit long has no
  // operator on purpose; convert it to LONG (or LONGLONG written as two DWORDs) explicitly.
  CArchive& operator<<(LONG l);
  CArchive& operator<<(DWORD dw);
  CArchive& operator<<(float f);
  CArchive& operator<<(double d);
  CArchive& operator<<(short w);
  CArchive& operator<<(char ch);
  CArchive& operator<<(bool b);      // one byte

  CArchive& operator>>(BYTE& by);
  CArchive& operator>>(WORD& w);
  CArchive& operator>>(DWORD& dw);
  CArchive& operator>>(LONG& l);
  CArchive& operator>>(float& f);
  CArchive& operator>>(double& d);
  CArchive& operator>>(short& w);
  CArchive& operator>>(char& ch);
  CArchive& operator>>(bool& b);

  // Reads an object record; with pClassRefRequested the object must be of that class (or
  // derived), otherwise CArchiveException::badClass.
  CObject* ReadObject(const CRuntimeClass* pClass);
  void WriteObject(const CObject* pOb);
  // Makes pOb known to the archive without writing it (so later records refer to it).
  void MapObject(const CObject* pOb);

  void WriteClass(const CRuntimeClass* pClassRef);
  CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = NULL,
                           UINT* pSchema = NULL, DWORD* pObTag = NULL);
  void SerializeClass(const CRuntimeClass* pClassRef);

  // Element counts of the collections: a WORD, or 0xFFFF and a DWORD.
  DWORD ReadCount();
  void WriteCount(DWORD dwCount);

  // Number of map entries to reserve when loading (tuning only).
  void SetStoreParams(UINT nHashSize = 2053, UINT nBlockSize = 128);
  void SetLoadParams(UINT nGrowBy = 1024);

  // Bytes still readable from the buffer and the file (bounds every count and length read).
  DWORD GetBytesLeft();

 protected:
  CArchive(const CArchive& arSrc);
  void operator=(const CArchive& arSrc);

  void FillBuffer(UINT nBytesNeeded);
  void CheckCount();
  CObject* ReadObjectBody(CRuntimeClass* pClassRef, UINT nSchema);
  void EnsureRoom(UINT nBytes);

  BOOL m_nMode;
  BOOL m_bUserBuf;
  int m_nBufSize;
  CFile* m_pFile;
  BYTE* m_lpBufCur;
  BYTE* m_lpBufMax;
  BYTE* m_lpBufStart;

  UINT m_nMapCount;  // number of classes and objects numbered so far
  // Loading: index -> class or object. Storing: object or class -> index.
  struct LoadArray;
  struct StoreMap;
  LoadArray* m_pLoadArray;
  StoreMap* m_pStoreMap;
  BOOL m_bForceFlat;
  BOOL m_bDirectBuffer;
  UINT m_nObjectSchema;
  UINT m_nGrowSize;
  UINT m_nHashSize;

  friend struct CRuntimeClass;
};

// Throws CArchiveException::endOfFile when nCount stored elements of at least nMinElementSize
// bytes each cannot be in what is left of a loading archive. Every count read from stored data
// that comes from elsewhere goes through it before anything is allocated for it.
void AFXAPI AfxCheckStoredCount(CArchive& ar, DWORD nCount, DWORD nMinElementSize);

// Strings: one length byte below 0xFF; else 0xFF and a WORD below 0xFFFF; else 0xFF, 0xFFFF
// and a DWORD; then the bytes (no NUL).
CArchive& AFXAPI operator<<(CArchive& ar, const CString& string);
CArchive& AFXAPI operator>>(CArchive& ar, CString& string);
CArchive& AFXAPI operator<<(CArchive& ar, CTime time);       // 32-bit seconds
CArchive& AFXAPI operator>>(CArchive& ar, CTime& rtime);
CArchive& AFXAPI operator<<(CArchive& ar, CTimeSpan timeSpan);
CArchive& AFXAPI operator>>(CArchive& ar, CTimeSpan& rtimeSpan);
CArchive& AFXAPI operator<<(CArchive& ar, SIZE size);        // two LONGs
CArchive& AFXAPI operator<<(CArchive& ar, POINT point);
CArchive& AFXAPI operator<<(CArchive& ar, const RECT& rect);  // four LONGs
CArchive& AFXAPI operator>>(CArchive& ar, SIZE& size);
CArchive& AFXAPI operator>>(CArchive& ar, POINT& point);
CArchive& AFXAPI operator>>(CArchive& ar, RECT& rect);

// ---------------------------------------------------------------------------------------------
// Misc helpers.
BOOL AFXAPI AfxComparePath(LPCSTR lpszPath1, LPCSTR lpszPath2);
UINT AFXAPI AfxGetFileTitle(LPCSTR lpszPathName, LPSTR lpszTitle, UINT nMax);
UINT AFXAPI AfxGetFileName(LPCSTR lpszPathName, LPSTR lpszTitle, UINT nMax);
BOOL AFXAPI AfxFullPath(LPSTR lpszPathOut, LPCSTR lpszFileIn);

#endif  // QUORVEL_AFX_H
