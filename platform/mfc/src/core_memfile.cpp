// Files in memory: CMemFile (heap) and CSharedFile (global memory, for the clipboard and
// drag and drop).
#include "afx.h"

#include <stdlib.h>

IMPLEMENT_DYNAMIC(CMemFile, CFile)

CMemFile::CMemFile(UINT nGrowBytes)
    : m_nGrowBytes(nGrowBytes), m_nPosition(0), m_nBufferSize(0), m_nFileSize(0),
      m_lpBuffer(NULL), m_bAutoDelete(TRUE) {}

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes)
    : m_nGrowBytes(0), m_nPosition(0), m_nBufferSize(0), m_nFileSize(0), m_lpBuffer(NULL),
      m_bAutoDelete(TRUE) {
  Attach(lpBuffer, nBufferSize, nGrowBytes);
}

CMemFile::~CMemFile() {
  // Close is virtual: call our own so that a derived class's memory is freed by its Free.
  if (m_lpBuffer != NULL) CMemFile::Close();
}

void CMemFile::Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) {
  if (m_lpBuffer != NULL) AfxThrowInvalidArgException();
  m_nGrowBytes = nGrowBytes;
  m_nPosition = 0;
  m_nBufferSize = nBufferSize;
  // A buffer that cannot grow is the content; one that can starts empty.
  m_nFileSize = nGrowBytes == 0 ? nBufferSize : 0;
  m_lpBuffer = lpBuffer;
  m_bAutoDelete = FALSE;
}

BYTE* CMemFile::Detach() {
  BYTE* lpBuffer = m_lpBuffer;
  m_lpBuffer = NULL;
  m_nFileSize = 0;
  m_nBufferSize = 0;
  m_nPosition = 0;
  return lpBuffer;
}

BYTE* CMemFile::Alloc(DWORD nBytes) { return (BYTE*)malloc(nBytes); }
BYTE* CMemFile::Realloc(BYTE* lpMem, DWORD nBytes) { return (BYTE*)realloc(lpMem, nBytes); }
BYTE* CMemFile::Memcpy(BYTE* lpMemTarget, const BYTE* lpMemSource, UINT nBytes) {
  return (BYTE*)memcpy(lpMemTarget, lpMemSource, nBytes);
}
void CMemFile::Free(BYTE* lpMem) { free(lpMem); }

DWORD CMemFile::GetPosition() const { return m_nPosition; }
DWORD CMemFile::GetLength() const { return m_nFileSize; }

void CMemFile::GrowFile(DWORD dwNewLen) {
  if (dwNewLen <= m_nBufferSize) return;
  // A caller's buffer attached without a grow step has a fixed size.
  if (m_nGrowBytes == 0) AfxThrowMemoryException();
  ULONGLONG dwNewBufferSize = m_nBufferSize;
  while (dwNewBufferSize < dwNewLen) dwNewBufferSize += m_nGrowBytes;
  if (dwNewBufferSize > 0xFFFFFFFF) AfxThrowMemoryException();
  BYTE* lpNew = (m_lpBuffer == NULL) ? Alloc((DWORD)dwNewBufferSize)
                                     : Realloc(m_lpBuffer, (DWORD)dwNewBufferSize);
  if (lpNew == NULL) AfxThrowMemoryException();
  m_lpBuffer = lpNew;
  m_nBufferSize = (DWORD)dwNewBufferSize;
}

void CMemFile::SetLength(DWORD dwNewLen) {
  if (dwNewLen > m_nBufferSize) GrowFile(dwNewLen);
  // Bytes that a longer length brings in read as zeros.
  if (dwNewLen > m_nFileSize) memset(m_lpBuffer + m_nFileSize, 0, dwNewLen - m_nFileSize);
  if (dwNewLen < m_nPosition) m_nPosition = dwNewLen;
  m_nFileSize = dwNewLen;
}

UINT CMemFile::Read(void* lpBuf, UINT nCount) {
  if (nCount == 0 || m_nPosition >= m_nFileSize) return 0;
  UINT nRead = (m_nFileSize - m_nPosition < nCount) ? m_nFileSize - m_nPosition : nCount;
  Memcpy((BYTE*)lpBuf, m_lpBuffer + m_nPosition, nRead);
  m_nPosition += nRead;
  return nRead;
}

void CMemFile::Write(const void* lpBuf, UINT nCount) {
  if (nCount == 0) return;
  if ((ULONGLONG)m_nPosition + nCount > 0xFFFFFFFF)
    AfxThrowFileException(CFileException::diskFull);
  DWORD dwEnd = m_nPosition + nCount;
  if (dwEnd > m_nBufferSize) GrowFile(dwEnd);
  // Writing after a seek past the end: the gap reads as zeros.
  if (m_nPosition > m_nFileSize) memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
  Memcpy(m_lpBuffer + m_nPosition, (const BYTE*)lpBuf, nCount);
  m_nPosition = dwEnd;
  if (m_nPosition > m_nFileSize) m_nFileSize = m_nPosition;
}

LONG CMemFile::Seek(LONG lOff, UINT nFrom) {
  LONGLONG lNewPos;
  switch (nFrom) {
    case begin: lNewPos = lOff; break;
    case current: lNewPos = (LONGLONG)m_nPosition + lOff; break;
    case end: lNewPos = (LONGLONG)m_nFileSize + lOff; break;
    default: AfxThrowInvalidArgException(); return -1;
  }
  if (lNewPos < 0 || lNewPos > 0x7FFFFFFF) AfxThrowFileException(CFileException::badSeek);
  m_nPosition = (DWORD)lNewPos;
  return (LONG)lNewPos;
}

void CMemFile::Flush() {}

void CMemFile::Close() {
  m_nGrowBytes = 0;
  m_nPosition = 0;
  m_nBufferSize = 0;
  m_nFileSize = 0;
  if (m_lpBuffer != NULL && m_bAutoDelete) Free(m_lpBuffer);
  m_lpBuffer = NULL;
}

void CMemFile::Abort() { Close(); }

void CMemFile::LockRange(DWORD, DWORD) { AfxThrowNotSupportedException(); }
void CMemFile::UnlockRange(DWORD, DWORD) { AfxThrowNotSupportedException(); }
CFile* CMemFile::Duplicate() const {
  AfxThrowNotSupportedException();
  return NULL;
}

BOOL CMemFile::GetStatus(CFileStatus& rStatus) const {
  rStatus = CFileStatus();
  rStatus.m_size = (LONG)m_nFileSize;
  return TRUE;
}

// Direct access to the memory (bufferCheck answers that it is supported with 1).
UINT CMemFile::GetBufferPtr(UINT nCommand, UINT nCount, void** ppBufStart, void** ppBufMax) {
  if (nCommand == bufferCheck) return 1;
  if (nCommand == bufferCommit) {
    m_nPosition += nCount;
    if (m_nPosition > m_nFileSize) m_nFileSize = m_nPosition;
    return 0;
  }
  if (ppBufStart == NULL || ppBufMax == NULL) AfxThrowInvalidArgException();
  if (nCommand == bufferWrite && (ULONGLONG)m_nPosition + nCount > m_nBufferSize)
    GrowFile(m_nPosition + nCount);
  DWORD dwLimit = (nCommand == bufferWrite) ? m_nBufferSize : m_nFileSize;
  if (m_nPosition > dwLimit) {
    *ppBufStart = *ppBufMax = m_lpBuffer + dwLimit;
    return 0;
  }
  UINT nAvail = dwLimit - m_nPosition;
  if (nCount > nAvail) nCount = nAvail;
  *ppBufStart = m_lpBuffer + m_nPosition;
  *ppBufMax = m_lpBuffer + m_nPosition + nCount;
  if (nCommand == bufferRead) m_nPosition += nCount;
  return nCount;
}

// ---------------------------------------------------------------------------------------------
IMPLEMENT_DYNAMIC(CSharedFile, CMemFile)

CSharedFile::CSharedFile(UINT nAllocFlags, UINT nGrowBytes)
    : CMemFile(nGrowBytes), m_nAllocFlags(nAllocFlags), m_hGlobalMemory(NULL),
      m_bAllowGrow(TRUE) {}

CSharedFile::~CSharedFile() {
  if (m_lpBuffer != NULL) {
    Free(m_lpBuffer);
    m_lpBuffer = NULL;
  }
}

void CSharedFile::SetHandle(HGLOBAL hGlobalMemory, BOOL bAllowGrow) {
  if (m_hGlobalMemory != NULL || m_lpBuffer != NULL || hGlobalMemory == NULL)
    AfxThrowInvalidArgException();
  m_hGlobalMemory = hGlobalMemory;
  m_lpBuffer = (BYTE*)::GlobalLock(m_hGlobalMemory);
  if (m_lpBuffer == NULL) {
    m_hGlobalMemory = NULL;
    AfxThrowMemoryException();
  }
  m_nBufferSize = m_nFileSize = (DWORD)::GlobalSize(m_hGlobalMemory);
  m_nPosition = 0;
  m_bAllowGrow = bAllowGrow;
  if (!bAllowGrow) m_nGrowBytes = 0;
  m_bAutoDelete = TRUE;
}

HGLOBAL CSharedFile::Detach() {
  HGLOBAL hMem = m_hGlobalMemory;
  if (hMem != NULL) ::GlobalUnlock(hMem);
  m_hGlobalMemory = NULL;
  m_lpBuffer = NULL;
  m_nFileSize = m_nBufferSize = m_nPosition = 0;
  return hMem;
}

BYTE* CSharedFile::Alloc(DWORD nBytes) {
  m_hGlobalMemory = ::GlobalAlloc(m_nAllocFlags, nBytes);
  if (m_hGlobalMemory == NULL) return NULL;
  return (BYTE*)::GlobalLock(m_hGlobalMemory);
}

BYTE* CSharedFile::Realloc(BYTE*, DWORD nBytes) {
  if (!m_bAllowGrow) return NULL;
  ::GlobalUnlock(m_hGlobalMemory);
  HGLOBAL hNew = ::GlobalReAlloc(m_hGlobalMemory, nBytes, m_nAllocFlags);
  if (hNew == NULL) {
    ::GlobalLock(m_hGlobalMemory);  // the old block stays, as does the caller's data
    return NULL;
  }
  m_hGlobalMemory = hNew;
  return (BYTE*)::GlobalLock(m_hGlobalMemory);
}

void CSharedFile::Free(BYTE*) {
  if (m_hGlobalMemory != NULL) {
    ::GlobalUnlock(m_hGlobalMemory);
    ::GlobalFree(m_hGlobalMemory);
    m_hGlobalMemory = NULL;
  }
}
