// Object model (CObject, CRuntimeClass and the class registry), exceptions and diagnostics.
#include "afx.h"

#include <new>

// ---------------------------------------------------------------------------------------------
// Diagnostics.
void AFXAPI AfxAssertFailedLine(LPCSTR lpszFileName, int nLine) {
  char sz[MAX_PATH + 64];
  snprintf(sz, sizeof(sz), "Assertion failed: %s(%d)\n", lpszFileName, nLine);
  sz[sizeof(sz) - 1] = 0;
  OutputDebugStringA(sz);
}

void AFX_CDECL AfxTrace(LPCSTR lpszFormat, ...) {
  char sz[1024];
  va_list args;
  va_start(args, lpszFormat);
  vsnprintf(sz, sizeof(sz), lpszFormat, args);
  va_end(args);
  OutputDebugStringA(sz);
}

BOOL AFXAPI AfxIsValidAddress(const void* lp, UINT_PTR nBytes, BOOL) {
  return lp != NULL || nBytes == 0;
}
BOOL AFXAPI AfxIsValidString(LPCSTR lpsz, int) { return lpsz != NULL; }
BOOL AFXAPI AfxIsValidString(LPCWSTR lpsz, int) { return lpsz != NULL; }

// ---------------------------------------------------------------------------------------------
// Class registry: a chain of every class whose IMPLEMENT_ macro ran. Static initialisation
// happens on one thread at module start, later lookups only read.
static CRuntimeClass* g_pFirstClass = NULL;

void AFXAPI AfxClassInit(CRuntimeClass* pNewClass) {
  for (CRuntimeClass* p = g_pFirstClass; p != NULL; p = p->m_pNextClass)
    if (p == pNewClass) return;
  pNewClass->m_pNextClass = g_pFirstClass;
  g_pFirstClass = pNewClass;
}

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass) { AfxClassInit(pNewClass); }

void AFXAPI AfxDoForAllClasses(void(AFXAPI* pfn)(const CRuntimeClass*, void*), void* pContext) {
  for (CRuntimeClass* p = g_pFirstClass; p != NULL; p = p->m_pNextClass) pfn(p, pContext);
}

CRuntimeClass* PASCAL CRuntimeClass::FromName(LPCSTR lpszClassName) {
  if (lpszClassName == NULL) return NULL;
  for (CRuntimeClass* p = g_pFirstClass; p != NULL; p = p->m_pNextClass)
    if (lstrcmpA(p->m_lpszClassName, lpszClassName) == 0) return p;
  return NULL;
}

CObject* CRuntimeClass::CreateObject() {
  if (m_pfnCreateObject == NULL) return NULL;
  try {
    return (*m_pfnCreateObject)();
  } catch (CException* e) {
    e->Delete();
    return NULL;
  }
}

CObject* PASCAL CRuntimeClass::CreateObject(LPCSTR lpszClassName) {
  CRuntimeClass* pClass = FromName(lpszClassName);
  return pClass ? pClass->CreateObject() : NULL;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
  for (const CRuntimeClass* p = this; p != NULL; p = p->m_pBaseClass)
    if (p == pBaseClass) return TRUE;
  return FALSE;
}

// ---------------------------------------------------------------------------------------------
// CObject.
CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), 0xFFFF, NULL, NULL, NULL};
static const AFX_CLASSINIT _init_CObject(&CObject::classCObject);

CRuntimeClass* CObject::GetRuntimeClass() const { return RUNTIME_CLASS(CObject); }

void* PASCAL CObject::operator new(size_t nSize) { return ::operator new(nSize); }
void PASCAL CObject::operator delete(void* p) { ::operator delete(p); }
void* PASCAL CObject::operator new(size_t nSize, LPCSTR, int) { return ::operator new(nSize); }
void PASCAL CObject::operator delete(void* p, LPCSTR, int) { ::operator delete(p); }

BOOL CObject::IsSerializable() const { return GetRuntimeClass()->m_wSchema != 0xFFFF; }

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const {
  return GetRuntimeClass()->IsDerivedFrom(pClass);
}

void CObject::Serialize(CArchive&) {}
void CObject::AssertValid() const {}
void CObject::Dump(CDumpContext& dc) const {
  dc << "a " << GetRuntimeClass()->m_lpszClassName << " at " << (const void*)this << "\n";
}

CObject* AFXAPI AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject) {
  return (pObject != NULL && pObject->IsKindOf(pClass)) ? pObject : NULL;
}

// ---------------------------------------------------------------------------------------------
// CDumpContext: text to the debug output.
CDumpContext afxDump;

CDumpContext::CDumpContext(CFile* pFile) : m_nDepth(0), m_pFile(pFile) {}

CDumpContext& CDumpContext::operator<<(LPCSTR lpsz) {
  if (lpsz != NULL) OutputDebugStringA(lpsz);
  return *this;
}
static CDumpContext& DumpFormatted(CDumpContext& dc, const char* fmt, ...) {
  char sz[64];
  va_list args;
  va_start(args, fmt);
  vsnprintf(sz, sizeof(sz), fmt, args);
  va_end(args);
  return dc << (LPCSTR)sz;
}
CDumpContext& CDumpContext::operator<<(const void* lp) { return DumpFormatted(*this, "$%p", lp); }
CDumpContext& CDumpContext::operator<<(const CObject* pOb) {
  if (pOb == NULL) return *this << "NULL";
  pOb->Dump(*this);
  return *this;
}
CDumpContext& CDumpContext::operator<<(const CObject& ob) { return *this << &ob; }
CDumpContext& CDumpContext::operator<<(BYTE by) { return DumpFormatted(*this, "%u", by); }
CDumpContext& CDumpContext::operator<<(WORD w) { return DumpFormatted(*this, "%u", w); }
CDumpContext& CDumpContext::operator<<(LONG l) { return DumpFormatted(*this, "%d", l); }
CDumpContext& CDumpContext::operator<<(DWORD dw) { return DumpFormatted(*this, "%u", dw); }
CDumpContext& CDumpContext::operator<<(float f) { return DumpFormatted(*this, "%f", f); }
CDumpContext& CDumpContext::operator<<(double d) { return DumpFormatted(*this, "%f", d); }
void CDumpContext::HexDump(LPCSTR lpszLine, BYTE* pby, int nBytes, int nWidth) {
  if (nWidth <= 0) nWidth = 16;
  for (int i = 0; i < nBytes; i++) {
    if (i % nWidth == 0) *this << (i ? "\n" : "") << lpszLine;
    DumpFormatted(*this, " %02X", pby[i]);
  }
  *this << "\n";
}
void CDumpContext::Flush() {}

// ---------------------------------------------------------------------------------------------
// Exceptions.
IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CSimpleException, CException)
IMPLEMENT_DYNAMIC(CMemoryException, CSimpleException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CSimpleException)
IMPLEMENT_DYNAMIC(CResourceException, CSimpleException)
IMPLEMENT_DYNAMIC(CUserException, CSimpleException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CSimpleException)

CException::CException() : m_bAutoDelete(TRUE), m_nCatchDepth(0) {}
CException::CException(BOOL bAutoDelete) : m_bAutoDelete(bAutoDelete), m_nCatchDepth(0) {}
CException::~CException() {}

// Exceptions thrown by AfxThrow* are allocated and deleted here; one that was made on the
// stack or as a static (m_bAutoDelete FALSE) is left alone.
void CException::Delete() {
  if (m_bAutoDelete && m_nCatchDepth == 0) delete this;
}

BOOL CException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) {
  if (pnHelpContext != NULL) *pnHelpContext = 0;
  if (lpszError != NULL && nMaxError > 0) *lpszError = 0;
  return FALSE;
}

int CException::ReportError(UINT nType, UINT) {
  char sz[512];
  if (!GetErrorMessage(sz, sizeof(sz), NULL) || sz[0] == 0)
    lstrcpynA(sz, "An unsupported operation was attempted.", sizeof(sz));
  return MessageBoxA(NULL, sz, NULL, nType);
}

CSimpleException::CSimpleException()
    : m_nResourceID(0), m_bLoaded(FALSE), m_bInitialized(FALSE) {
  m_szMessage[0] = 0;
}
CSimpleException::CSimpleException(BOOL bAutoDelete)
    : CException(bAutoDelete), m_nResourceID(0), m_bLoaded(FALSE), m_bInitialized(FALSE) {
  m_szMessage[0] = 0;
}
CSimpleException::~CSimpleException() {}

void CSimpleException::InitString() {
  m_bInitialized = TRUE;
  const char* psz = "An unsupported operation was attempted.";
  if (IsKindOf(RUNTIME_CLASS(CMemoryException)))
    psz = "Out of memory.";
  else if (IsKindOf(RUNTIME_CLASS(CResourceException)))
    psz = "A required resource was unavailable.";
  else if (IsKindOf(RUNTIME_CLASS(CUserException)))
    psz = "";
  else if (IsKindOf(RUNTIME_CLASS(CInvalidArgException)))
    psz = "Invalid argument.";
  lstrcpynA(m_szMessage, psz, sizeof(m_szMessage));
  m_bLoaded = TRUE;
}

BOOL CSimpleException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) {
  if (pnHelpContext != NULL) *pnHelpContext = 0;
  if (!m_bInitialized) InitString();
  if (lpszError == NULL || nMaxError == 0) return FALSE;
  lstrcpynA(lpszError, m_szMessage, nMaxError);
  return m_bLoaded;
}

#define SIMPLE_EXCEPTION_CTORS(name)                              \
  name::name() {}                                                 \
  name::name(BOOL bAutoDelete) : CSimpleException(bAutoDelete) {} \
  name::~name() {}
SIMPLE_EXCEPTION_CTORS(CMemoryException)
SIMPLE_EXCEPTION_CTORS(CNotSupportedException)
SIMPLE_EXCEPTION_CTORS(CResourceException)
SIMPLE_EXCEPTION_CTORS(CUserException)
SIMPLE_EXCEPTION_CTORS(CInvalidArgException)

// Out of memory is thrown from a preallocated object: allocating a new one could fail too.
void AFXAPI AfxThrowMemoryException() {
  static CMemoryException s_memoryException(FALSE);
  throw &s_memoryException;
}
void AFXAPI AfxThrowNotSupportedException() { throw new CNotSupportedException; }
void AFXAPI AfxThrowInvalidArgException() { throw new CInvalidArgException; }
void AFXAPI AfxThrowResourceException() { throw new CResourceException; }
void AFXAPI AfxThrowUserException() { throw new CUserException; }

void AFXAPI AfxAbort() {
  OutputDebugStringA("AfxAbort called\n");
  abort();
}
