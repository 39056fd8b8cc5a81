// CArchive: buffered binary reading and writing over a CFile, with the object record scheme
// that lets object graphs (shared objects, cycles) be stored and read back.
//
// Archives come from files made elsewhere, so reading trusts nothing: every index is checked
// against what was read so far, every length against the bytes really left, and bad data ends
// in a CArchiveException, never in a read out of bounds or a huge allocation.
#include "core_internal.h"

#include <unordered_map>
#include <vector>

namespace {
const WORD wNullTag = 0;
const WORD wNewClassTag = 0xFFFF;
const WORD wClassTag = 0x8000;
const DWORD dwBigClassTag = 0x80000000;
const WORD wBigObjectTag = 0x7FFF;
const DWORD nMaxMapCount = 0x3FFFFFFE;
const UINT nMaxClassNameLength = 255;
}  // namespace

struct CArchive::LoadArray {
  struct Entry {
    void* p;     // CRuntimeClass* or CObject*
    bool bClass;
    UINT nSchema;  // schema stored with a class
  };
  std::vector<Entry> entries;
};

struct CArchive::StoreMap {
  std::unordered_map<const void*, DWORD> indexes;
};

// ---------------------------------------------------------------------------------------------
CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void* lpBuf)
    : m_pDocument(NULL),
      m_nMode(nMode),
      m_bUserBuf(lpBuf != NULL),
      m_nBufSize(nBufSize < 128 ? 128 : nBufSize),
      m_pFile(pFile),
      m_nMapCount(1),
      m_pLoadArray(NULL),
      m_pStoreMap(NULL),
      m_bForceFlat(FALSE),
      m_bDirectBuffer(FALSE),
      m_nObjectSchema((UINT)-1),
      m_nGrowSize(1024),
      m_nHashSize(2053) {
  if (pFile == NULL) AfxThrowInvalidArgException();
  if (lpBuf != NULL && nBufSize < 128) AfxThrowInvalidArgException();
  m_lpBufStart = m_bUserBuf ? (BYTE*)lpBuf : new BYTE[m_nBufSize];
  if (IsLoading()) {
    m_lpBufCur = m_lpBufMax = m_lpBufStart;
  } else {
    m_lpBufCur = m_lpBufStart;
    m_lpBufMax = m_lpBufStart + m_nBufSize;
  }
  m_strFileName = pFile->GetFilePath();
}

CArchive::~CArchive() {
  if (m_pFile != NULL && !(m_nMode & bNoFlushOnDelete)) {
    // A destructor must not throw: a failed final flush is lost here, as callers who care
    // call Close() themselves.
    try {
      Close();
    } catch (CException* e) {
      e->Delete();
    }
  }
  Abort();
  delete m_pLoadArray;
  delete m_pStoreMap;
}

void CArchive::Abort() {
  if (!m_bUserBuf) delete[] m_lpBufStart;
  m_lpBufStart = m_lpBufCur = m_lpBufMax = NULL;
  m_bUserBuf = TRUE;
  m_pFile = NULL;
}

void CArchive::Close() {
  if (m_pFile == NULL) return;
  Flush();
  m_pFile = NULL;
}

void CArchive::Flush() {
  if (m_pFile == NULL) return;
  if (IsStoring()) {
    if (m_lpBufCur != m_lpBufStart) m_pFile->Write(m_lpBufStart, (UINT)(m_lpBufCur - m_lpBufStart));
    m_lpBufCur = m_lpBufStart;
    m_pFile->Flush();
  } else if (m_lpBufMax != m_lpBufCur) {
    // Give the unread bytes back to the file, so that its position is where reading stopped.
    m_pFile->Seek(-(LONG)(m_lpBufMax - m_lpBufCur), CFile::current);
    m_lpBufCur = m_lpBufMax = m_lpBufStart;
  }
}

static void ThrowArchive(int cause, const CString& strFileName) {
  AfxThrowArchiveException(cause, strFileName.IsEmpty() ? NULL : (LPCSTR)strFileName);
}

DWORD CArchive::GetBytesLeft() {
  if (m_pFile == NULL) return 0;
  ULONGLONG nLeft = (ULONGLONG)(m_lpBufMax - m_lpBufCur);
  if (IsLoading()) {
    DWORD nLength = m_pFile->GetLength();
    DWORD nPos = m_pFile->GetPosition();
    if (nLength > nPos) nLeft += nLength - nPos;
  }
  return nLeft > 0xFFFFFFFF ? 0xFFFFFFFF : (DWORD)nLeft;
}

// Makes nBytesNeeded bytes available in the buffer or throws endOfFile.
void CArchive::FillBuffer(UINT nBytesNeeded) {
  if (!IsLoading()) ThrowArchive(CArchiveException::writeOnly, m_strFileName);
  if (m_pFile == NULL) ThrowArchive(CArchiveException::generic, m_strFileName);
  UINT nUnused = (UINT)(m_lpBufMax - m_lpBufCur);
  if (nUnused >= nBytesNeeded) return;
  if (nBytesNeeded > (UINT)m_nBufSize) ThrowArchive(CArchiveException::generic, m_strFileName);
  memmove(m_lpBufStart, m_lpBufCur, nUnused);
  m_lpBufCur = m_lpBufStart;
  m_lpBufMax = m_lpBufStart + nUnused;
  while ((UINT)(m_lpBufMax - m_lpBufCur) < nBytesNeeded) {
    UINT nRead = m_pFile->Read(m_lpBufMax, (UINT)(m_lpBufStart + m_nBufSize - m_lpBufMax));
    if (nRead == 0) ThrowArchive(CArchiveException::endOfFile, m_strFileName);
    m_lpBufMax += nRead;
  }
}

void CArchive::EnsureRoom(UINT nBytes) {
  if (IsLoading()) ThrowArchive(CArchiveException::readOnly, m_strFileName);
  if (m_pFile == NULL) ThrowArchive(CArchiveException::generic, m_strFileName);
  if ((UINT)(m_lpBufMax - m_lpBufCur) < nBytes) {
    m_pFile->Write(m_lpBufStart, (UINT)(m_lpBufCur - m_lpBufStart));
    m_lpBufCur = m_lpBufStart;
  }
}

UINT CArchive::Read(void* lpBuf, UINT nMax) {
  if (!IsLoading()) ThrowArchive(CArchiveException::writeOnly, m_strFileName);
  if (m_pFile == NULL) ThrowArchive(CArchiveException::generic, m_strFileName);
  if (nMax == 0) return 0;
  BYTE* pDest = (BYTE*)lpBuf;
  UINT nTotal = 0;
  UINT nBuffered = (UINT)(m_lpBufMax - m_lpBufCur);
  UINT nTake = nBuffered < nMax ? nBuffered : nMax;
  memcpy(pDest, m_lpBufCur, nTake);
  m_lpBufCur += nTake;
  nTotal += nTake;
  while (nTotal < nMax) {
    UINT nLeft = nMax - nTotal;
    if (nLeft >= (UINT)m_nBufSize) {
      UINT nRead = m_pFile->Read(pDest + nTotal, nLeft);
      if (nRead == 0) break;
      nTotal += nRead;
    } else {
      m_lpBufCur = m_lpBufMax = m_lpBufStart;
      UINT nRead = m_pFile->Read(m_lpBufStart, (UINT)m_nBufSize);
      if (nRead == 0) break;
      m_lpBufMax = m_lpBufStart + nRead;
      nTake = nRead < nLeft ? nRead : nLeft;
      memcpy(pDest + nTotal, m_lpBufCur, nTake);
      m_lpBufCur += nTake;
      nTotal += nTake;
    }
  }
  return nTotal;
}

void CArchive::Write(const void* lpBuf, UINT nMax) {
  if (IsLoading()) ThrowArchive(CArchiveException::readOnly, m_strFileName);
  if (m_pFile == NULL) ThrowArchive(CArchiveException::generic, m_strFileName);
  const BYTE* pSrc = (const BYTE*)lpBuf;
  while (nMax > 0) {
    UINT nRoom = (UINT)(m_lpBufMax - m_lpBufCur);
    if (nRoom == 0) {
      m_pFile->Write(m_lpBufStart, (UINT)(m_lpBufCur - m_lpBufStart));
      m_lpBufCur = m_lpBufStart;
      if (nMax >= (UINT)m_nBufSize) {
        m_pFile->Write(pSrc, nMax);
        return;
      }
      continue;
    }
    UINT nTake = nRoom < nMax ? nRoom : nMax;
    memcpy(m_lpBufCur, pSrc, nTake);
    m_lpBufCur += nTake;
    pSrc += nTake;
    nMax -= nTake;
  }
}

// ---------------------------------------------------------------------------------------------
// Typed values, little-endian.
#define ARCHIVE_STORE(type)                            \
  CArchive& CArchive::operator<<(type v) {             \
    EnsureRoom(sizeof(v));                             \
    memcpy(m_lpBufCur, &v, sizeof(v));                 \
    m_lpBufCur += sizeof(v);                           \
    return *this;                                      \
  }
#define ARCHIVE_LOAD(type)                             \
  CArchive& CArchive::operator>>(type& v) {            \
    if (!IsLoading())                                  \
      ThrowArchive(CArchiveException::writeOnly,       \
                   m_strFileName);                    \
    if ((size_t)(m_lpBufMax - m_lpBufCur) < sizeof(v)) \
      FillBuffer(sizeof(v));                           \
    memcpy(&v, m_lpBufCur, sizeof(v));                 \
    m_lpBufCur += sizeof(v);                           \
    return *this;                                      \
  }
ARCHIVE_STORE(BYTE)
ARCHIVE_STORE(WORD)
ARCHIVE_STORE(LONG)
ARCHIVE_STORE(DWORD)
ARCHIVE_STORE(float)
ARCHIVE_STORE(double)
ARCHIVE_STORE(short)
ARCHIVE_STORE(char)
ARCHIVE_LOAD(BYTE)
ARCHIVE_LOAD(WORD)
ARCHIVE_LOAD(LONG)
ARCHIVE_LOAD(DWORD)
ARCHIVE_LOAD(float)
ARCHIVE_LOAD(double)
ARCHIVE_LOAD(short)
ARCHIVE_LOAD(char)

CArchive& CArchive::operator<<(bool b) { return *this << (BYTE)(b ? 1 : 0); }
CArchive& CArchive::operator>>(bool& b) {
  BYTE by;
  *this >> by;
  b = by != 0;
  return *this;
}

DWORD CArchive::ReadCount() {
  WORD wCount;
  *this >> wCount;
  if (wCount != 0xFFFF) return wCount;
  DWORD dwCount;
  *this >> dwCount;
  return dwCount;
}

void CArchive::WriteCount(DWORD dwCount) {
  if (dwCount < 0xFFFF) {
    *this << (WORD)dwCount;
  } else {
    *this << (WORD)0xFFFF;
    *this << dwCount;
  }
}

void AFXAPI AfxCheckStoredCount(CArchive& ar, DWORD nCount, DWORD nMinElementSize) {
  if ((ULONGLONG)nCount * (nMinElementSize ? nMinElementSize : 1) > ar.GetBytesLeft())
    ThrowArchive(CArchiveException::endOfFile, ar.m_strFileName);
}

void CArchive::SetStoreParams(UINT nHashSize, UINT) { m_nHashSize = nHashSize; }
void CArchive::SetLoadParams(UINT nGrowBy) { m_nGrowSize = nGrowBy; }

UINT CArchive::GetObjectSchema() {
  UINT nResult = m_nObjectSchema;
  m_nObjectSchema = (UINT)-1;  // reported once
  return nResult;
}

void CArchive::SetObjectSchema(UINT nSchema) { m_nObjectSchema = nSchema; }

// ---------------------------------------------------------------------------------------------
// Text lines.
void CArchive::WriteString(LPCSTR lpsz) {
  if (lpsz != NULL) Write(lpsz, (UINT)strlen(lpsz));
}

LPSTR CArchive::ReadString(LPSTR lpsz, UINT nMax) {
  if (lpsz == NULL || nMax == 0) return NULL;
  UINT n = 0;
  BOOL bAny = FALSE;
  while (n + 1 < nMax) {
    char ch;
    if (Read(&ch, 1) != 1) break;
    bAny = TRUE;
    if (ch == '\r') continue;  // "\r\n" ends a line as "\n" does
    lpsz[n++] = ch;
    if (ch == '\n') break;
  }
  lpsz[n] = 0;
  return bAny ? lpsz : NULL;
}

BOOL CArchive::ReadString(CString& rString) {
  rString.Empty();
  char ch;
  BOOL bAny = FALSE;
  std::string line;
  while (Read(&ch, 1) == 1) {
    bAny = TRUE;
    if (ch == '\n') break;
    if (ch != '\r') line += ch;
  }
  rString = CString(line.data(), (int)line.size());
  return bAny;
}

// ---------------------------------------------------------------------------------------------
// Class and object records.
void CRuntimeClass::Store(CArchive& ar) const {
  size_t nLen = strlen(m_lpszClassName);
  if (nLen > nMaxClassNameLength) AfxThrowNotSupportedException();
  ar << (WORD)m_wSchema << (WORD)nLen;
  ar.Write(m_lpszClassName, (UINT)nLen);
}

CRuntimeClass* PASCAL CRuntimeClass::Load(CArchive& ar, UINT* pwSchemaNum) {
  WORD wSchema, nLen;
  ar >> wSchema >> nLen;
  if (pwSchemaNum != NULL) *pwSchemaNum = wSchema;
  if (nLen > nMaxClassNameLength) return NULL;
  char szClassName[nMaxClassNameLength + 1];
  if (ar.Read(szClassName, nLen) != nLen)
    ThrowArchive(CArchiveException::endOfFile, ar.m_strFileName);
  szClassName[nLen] = 0;
  if (strlen(szClassName) != nLen) return NULL;  // a NUL inside the name
  return FromName(szClassName);
}

void CArchive::CheckCount() {
  if (m_nMapCount >= nMaxMapCount) ThrowArchive(CArchiveException::badIndex, m_strFileName);
}

void CArchive::WriteClass(const CRuntimeClass* pClassRef) {
  if (pClassRef == NULL) AfxThrowInvalidArgException();
  if (!IsStoring()) ThrowArchive(CArchiveException::readOnly, m_strFileName);
  if (pClassRef->m_wSchema == 0xFFFF) AfxThrowNotSupportedException();  // not serializable
  if (m_pStoreMap == NULL) m_pStoreMap = new StoreMap;
  auto it = m_pStoreMap->indexes.find(pClassRef);
  if (it != m_pStoreMap->indexes.end()) {
    DWORD nClassIndex = it->second;
    if (nClassIndex < wBigObjectTag) {
      *this << (WORD)(wClassTag | nClassIndex);
    } else {
      *this << wBigObjectTag;
      *this << (DWORD)(dwBigClassTag | nClassIndex);
    }
    return;
  }
  *this << wNewClassTag;
  pClassRef->Store(*this);
  CheckCount();
  m_pStoreMap->indexes[pClassRef] = m_nMapCount++;
}

void CArchive::WriteObject(const CObject* pOb) {
  if (!IsStoring()) ThrowArchive(CArchiveException::readOnly, m_strFileName);
  if (pOb == NULL) {
    *this << wNullTag;
    return;
  }
  if (m_pStoreMap == NULL) m_pStoreMap = new StoreMap;
  auto it = m_pStoreMap->indexes.find(pOb);
  if (it != m_pStoreMap->indexes.end()) {
    DWORD nObIndex = it->second;
    if (nObIndex < wBigObjectTag) {
      *this << (WORD)nObIndex;
    } else {
      *this << wBigObjectTag;
      *this << nObIndex;
    }
    return;
  }
  WriteClass(pOb->GetRuntimeClass());
  CheckCount();
  m_pStoreMap->indexes[pOb] = m_nMapCount++;
  const_cast<CObject*>(pOb)->Serialize(*this);
}

void CArchive::MapObject(const CObject* pOb) {
  if (IsStoring()) {
    if (m_pStoreMap == NULL) m_pStoreMap = new StoreMap;
    if (pOb != NULL && m_pStoreMap->indexes.count(pOb) == 0) {
      CheckCount();
      m_pStoreMap->indexes[pOb] = m_nMapCount++;
    }
  } else {
    if (m_pLoadArray == NULL) {
      m_pLoadArray = new LoadArray;
      m_pLoadArray->entries.push_back({NULL, false, 0});
    }
    CheckCount();
    m_pLoadArray->entries.push_back({(void*)pOb, false, 0});
    m_nMapCount++;
  }
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema,
                                   DWORD* pObTag) {
  if (!IsLoading()) ThrowArchive(CArchiveException::writeOnly, m_strFileName);
  if (pClassRefRequested != NULL && pClassRefRequested->m_wSchema == 0xFFFF)
    AfxThrowNotSupportedException();
  if (m_pLoadArray == NULL) {
    m_pLoadArray = new LoadArray;
    m_pLoadArray->entries.push_back({NULL, false, 0});  // index 0: the NULL object
  }

  WORD wTag;
  *this >> wTag;
  DWORD obTag;
  if (wTag == wBigObjectTag) {
    *this >> obTag;
  } else {
    obTag = ((DWORD)(wTag & wClassTag) << 16) | (wTag & ~wClassTag);
  }

  if (!(obTag & dwBigClassTag)) {
    // An object reference (or NULL), not a class.
    if (pObTag == NULL) ThrowArchive(CArchiveException::badIndex, m_strFileName);
    *pObTag = obTag;
    return NULL;
  }

  CRuntimeClass* pClassRef;
  UINT nSchema;
  if (wTag == wNewClassTag) {
    pClassRef = CRuntimeClass::Load(*this, &nSchema);
    if (pClassRef == NULL) ThrowArchive(CArchiveException::badClass, m_strFileName);
    if ((pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA) != nSchema &&
        !(pClassRef->m_wSchema & VERSIONABLE_SCHEMA))
      ThrowArchive(CArchiveException::badSchema, m_strFileName);
    CheckCount();
    m_pLoadArray->entries.push_back({pClassRef, true, nSchema});
    m_nMapCount++;
  } else {
    DWORD nClassIndex = obTag & ~dwBigClassTag;
    if (nClassIndex == 0 || nClassIndex >= m_pLoadArray->entries.size() ||
        !m_pLoadArray->entries[nClassIndex].bClass)
      ThrowArchive(CArchiveException::badIndex, m_strFileName);
    pClassRef = (CRuntimeClass*)m_pLoadArray->entries[nClassIndex].p;
    nSchema = m_pLoadArray->entries[nClassIndex].nSchema;
  }

  if (pClassRefRequested != NULL && !pClassRef->IsDerivedFrom(pClassRefRequested))
    ThrowArchive(CArchiveException::badClass, m_strFileName);

  if (pSchema != NULL)
    *pSchema = nSchema;
  else
    m_nObjectSchema = nSchema;
  return pClassRef;
}

void CArchive::SerializeClass(const CRuntimeClass* pClassRef) {
  if (IsStoring())
    WriteClass(pClassRef);
  else
    ReadClass(pClassRef, &m_nObjectSchema);
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested) {
  UINT nSchema;
  DWORD obTag;
  CRuntimeClass* pClassRef = ReadClass(pClassRefRequested, &nSchema, &obTag);

  if (pClassRef == NULL) {
    // A reference to an object read before (or NULL).
    if (obTag >= m_pLoadArray->entries.size() || m_pLoadArray->entries[obTag].bClass)
      ThrowArchive(CArchiveException::badIndex, m_strFileName);
    CObject* pOb = (CObject*)m_pLoadArray->entries[obTag].p;
    if (pOb == NULL && obTag != 0) ThrowArchive(CArchiveException::badIndex, m_strFileName);
    if (pOb != NULL && pClassRefRequested != NULL && !pOb->IsKindOf(pClassRefRequested))
      ThrowArchive(CArchiveException::badClass, m_strFileName);
    return pOb;
  }

  if (pClassRef->m_pfnCreateObject == NULL)
    ThrowArchive(CArchiveException::badClass, m_strFileName);
  CObject* pOb = pClassRef->CreateObject();
  if (pOb == NULL) AfxThrowMemoryException();

  CheckCount();
  size_t nIndex = m_pLoadArray->entries.size();
  m_pLoadArray->entries.push_back({pOb, false, 0});
  m_nMapCount++;

  UINT nSchemaSave = m_nObjectSchema;
  m_nObjectSchema = nSchema;
  try {
    pOb->Serialize(*this);
  } catch (...) {
    // A half-read object is of no use to anyone and nothing outside refers to it yet.
    m_pLoadArray->entries[nIndex].p = NULL;
    delete pOb;
    m_nObjectSchema = nSchemaSave;
    throw;
  }
  m_nObjectSchema = nSchemaSave;
  return pOb;
}

CArchive& AFXAPI operator<<(CArchive& ar, const CObject* pOb) {
  ar.WriteObject(pOb);
  return ar;
}

CArchive& AFXAPI operator>>(CArchive& ar, CObject*& pOb) {
  pOb = ar.ReadObject(NULL);
  return ar;
}

CArchive& AFXAPI operator>>(CArchive& ar, const CObject*& pOb) {
  pOb = ar.ReadObject(NULL);
  return ar;
}

// ---------------------------------------------------------------------------------------------
// Strings.
CArchive& AFXAPI operator<<(CArchive& ar, const CString& string) {
  DWORD nLen = (DWORD)string.GetLength();
  if (nLen < 255) {
    ar << (BYTE)nLen;
  } else if (nLen < 0xFFFE) {
    ar << (BYTE)0xFF << (WORD)nLen;
  } else {
    ar << (BYTE)0xFF << (WORD)0xFFFF << nLen;
  }
  ar.Write((LPCSTR)string, nLen);
  return ar;
}

// The length prefix of a string; *pbWide is set when the prefix announced WCHARs.
static DWORD ReadStringLength(CArchive& ar, BOOL* pbWide) {
  BYTE bLen;
  ar >> bLen;
  if (bLen < 0xFF) return bLen;
  WORD wLen;
  ar >> wLen;
  if (wLen == 0xFFFE) {
    // Marker of a string of WCHARs; its own length prefix follows.
    if (pbWide == NULL || *pbWide) ThrowArchive(CArchiveException::generic, ar.m_strFileName);
    *pbWide = TRUE;
    return ReadStringLength(ar, pbWide);
  }
  if (wLen < 0xFFFF) return wLen;
  DWORD dwLen;
  ar >> dwLen;
  return dwLen;
}

CArchive& AFXAPI operator>>(CArchive& ar, CString& string) {
  BOOL bWide = FALSE;
  DWORD nLen = ReadStringLength(ar, &bWide);
  ULONGLONG nBytes = (ULONGLONG)nLen * (bWide ? 2 : 1);
  if (nBytes > ar.GetBytesLeft() || nLen > 0x7FFFFFFE)
    ThrowArchive(CArchiveException::endOfFile, ar.m_strFileName);
  if (!bWide) {
    LPSTR p = string.GetBufferSetLength((int)nLen);
    if (ar.Read(p, nLen) != nLen) {
      string.Empty();
      ThrowArchive(CArchiveException::endOfFile, ar.m_strFileName);
    }
    return ar;
  }
  std::vector<WCHAR> wide(nLen);
  if (nLen > 0 && ar.Read(wide.data(), (UINT)nBytes) != nBytes)
    ThrowArchive(CArchiveException::endOfFile, ar.m_strFileName);
  string = CString(wide.data(), (int)nLen);
  return ar;
}

// ---------------------------------------------------------------------------------------------
// Times (32-bit seconds) and geometry (32-bit LONGs).
CArchive& AFXAPI operator<<(CArchive& ar, CTime time) { return ar << (DWORD)time.GetTime(); }
CArchive& AFXAPI operator>>(CArchive& ar, CTime& rtime) {
  DWORD dw;
  ar >> dw;
  rtime = CTime((__int64)dw);
  return ar;
}
CArchive& AFXAPI operator<<(CArchive& ar, CTimeSpan timeSpan) {
  return ar << (LONG)timeSpan.GetTimeSpan();
}
CArchive& AFXAPI operator>>(CArchive& ar, CTimeSpan& rtimeSpan) {
  LONG l;
  ar >> l;
  rtimeSpan = CTimeSpan((__int64)l);
  return ar;
}
CArchive& AFXAPI operator<<(CArchive& ar, SIZE size) { return ar << size.cx << size.cy; }
CArchive& AFXAPI operator<<(CArchive& ar, POINT point) { return ar << point.x << point.y; }
CArchive& AFXAPI operator<<(CArchive& ar, const RECT& rect) {
  return ar << rect.left << rect.top << rect.right << rect.bottom;
}
CArchive& AFXAPI operator>>(CArchive& ar, SIZE& size) { return ar >> size.cx >> size.cy; }
CArchive& AFXAPI operator>>(CArchive& ar, POINT& point) { return ar >> point.x >> point.y; }
CArchive& AFXAPI operator>>(CArchive& ar, RECT& rect) {
  return ar >> rect.left >> rect.top >> rect.right >> rect.bottom;
}

// ---------------------------------------------------------------------------------------------
// CArchiveException.
IMPLEMENT_DYNAMIC(CArchiveException, CException)

CArchiveException::CArchiveException(int cause, LPCSTR lpszArchiveName)
    : m_cause(cause), m_strFileName(lpszArchiveName) {}

CArchiveException::~CArchiveException() {}

BOOL CArchiveException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) {
  static const char* const messages[] = {
      "No error occurred.",
      "An unexpected error occurred while reading %1.",
      "Tried to write to %1, which was opened for reading.",
      "Unexpected end of file while reading %1.",
      "Tried to read from %1, which was opened for writing.",
      "%1 has an invalid format.",
      "%1 contains an unexpected object.",
      "%1 contains an incorrect schema.",
  };
  return AfxFileErrorMessage(lpszError, nMaxError, pnHelpContext, messages, _countof(messages),
                             m_cause, generic, m_strFileName);
}

void AFXAPI AfxThrowArchiveException(int cause, LPCSTR lpszArchiveName) {
  throw new CArchiveException(cause, lpszArchiveName);
}
