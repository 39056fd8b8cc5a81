// Files: CFile over a Win32 handle, CStdioFile (text lines), CFileFind, CFileException.
// Paths are Windows paths (Wine maps Z:\ to /).
#include "core_internal.h"

#include <string>

// ---------------------------------------------------------------------------------------------
// CFileException.
IMPLEMENT_DYNAMIC(CFileException, CException)

CFileException::CFileException(int cause, LONG lOsError, LPCSTR lpszArchiveName)
    : m_cause(cause),
      m_lOsError(lOsError),
      m_strFileName(lpszArchiveName) {}

CFileException::~CFileException() {}

void CFileException::ThrowOsError(LONG lOsError, LPCSTR lpszFileName) {
  ThrowOsError(lOsError, lpszFileName, 0);
}

void PASCAL CFileException::ThrowOsError(LONG lOsError, LPCSTR lpszFileName, int) {
  if (lOsError != 0) AfxThrowFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

void PASCAL CFileException::ThrowErrno(int nErrno, LPCSTR lpszFileName) {
  if (nErrno != 0) AfxThrowFileException(ErrnoToException(nErrno), nErrno, lpszFileName);
}

int PASCAL CFileException::OsErrorToException(LONG lOsError) {
  switch ((DWORD)lOsError) {
    case NO_ERROR: return none;
    case ERROR_FILE_NOT_FOUND: return fileNotFound;
    case ERROR_PATH_NOT_FOUND: return badPath;
    case ERROR_TOO_MANY_OPEN_FILES: return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED: return accessDenied;
    case ERROR_INVALID_HANDLE: return fileNotFound;
    case ERROR_BAD_FORMAT: return invalidFile;
    case ERROR_INVALID_ACCESS: return accessDenied;
    case ERROR_INVALID_DRIVE: return badPath;
    case ERROR_CURRENT_DIRECTORY: return removeCurrentDir;
    case ERROR_NOT_SAME_DEVICE: return badPath;
    case ERROR_NO_MORE_FILES: return fileNotFound;
    case ERROR_WRITE_PROTECT: return accessDenied;
    case ERROR_BAD_UNIT: return hardIO;
    case ERROR_NOT_READY: return hardIO;
    case ERROR_BAD_COMMAND: return hardIO;
    case ERROR_CRC: return hardIO;
    case ERROR_BAD_LENGTH: return badSeek;
    case ERROR_SEEK: return badSeek;
    case ERROR_NOT_DOS_DISK: return invalidFile;
    case ERROR_SECTOR_NOT_FOUND: return badSeek;
    case ERROR_WRITE_FAULT: return accessDenied;
    case ERROR_READ_FAULT: return badSeek;
    case ERROR_SHARING_VIOLATION: return sharingViolation;
    case ERROR_LOCK_VIOLATION: return lockViolation;
    case ERROR_WRONG_DISK: return badPath;
    case ERROR_SHARING_BUFFER_EXCEEDED: return tooManyOpenFiles;
    case ERROR_HANDLE_EOF: return endOfFile;
    case ERROR_HANDLE_DISK_FULL: return diskFull;
    case ERROR_DUP_NAME: return badPath;
    case ERROR_BAD_NETPATH: return badPath;
    case ERROR_NETWORK_BUSY: return accessDenied;
    case ERROR_DEV_NOT_EXIST: return badPath;
    case ERROR_ADAP_HDW_ERR: return hardIO;
    case ERROR_BAD_NET_RESP: return accessDenied;
    case ERROR_UNEXP_NET_ERR: return hardIO;
    case ERROR_BAD_REM_ADAP: return invalidFile;
    case ERROR_NO_SPOOL_SPACE: return directoryFull;
    case ERROR_NETNAME_DELETED: return accessDenied;
    case ERROR_NETWORK_ACCESS_DENIED: return accessDenied;
    case ERROR_BAD_DEV_TYPE: return invalidFile;
    case ERROR_BAD_NET_NAME: return badPath;
    case ERROR_TOO_MANY_NAMES: return tooManyOpenFiles;
    case ERROR_SHARING_PAUSED: return badPath;
    case ERROR_REQ_NOT_ACCEP: return accessDenied;
    case ERROR_FILE_EXISTS: return accessDenied;
    case ERROR_CANNOT_MAKE: return accessDenied;
    case ERROR_ALREADY_ASSIGNED: return badPath;
    case ERROR_INVALID_PASSWORD: return accessDenied;
    case ERROR_NET_WRITE_FAULT: return hardIO;
    case ERROR_DISK_CHANGE: return fileNotFound;
    case ERROR_DRIVE_LOCKED: return lockViolation;
    case ERROR_BUFFER_OVERFLOW: return badPath;
    case ERROR_DISK_FULL: return diskFull;
    case ERROR_NO_MORE_SEARCH_HANDLES: return tooManyOpenFiles;
    case ERROR_INVALID_TARGET_HANDLE: return invalidFile;
    case ERROR_INVALID_CATEGORY: return hardIO;
    case ERROR_INVALID_NAME: return badPath;
    case ERROR_INVALID_LEVEL: return badPath;
    case ERROR_NO_VOLUME_LABEL: return badPath;
    case ERROR_NEGATIVE_SEEK: return badSeek;
    case ERROR_SEEK_ON_DEVICE: return badSeek;
    case ERROR_DIR_NOT_ROOT: return badPath;
    case ERROR_DIR_NOT_EMPTY: return removeCurrentDir;
    case ERROR_LABEL_TOO_LONG: return badPath;
    case ERROR_BAD_PATHNAME: return badPath;
    case ERROR_LOCK_FAILED: return lockViolation;
    case ERROR_BUSY: return accessDenied;
    case ERROR_INVALID_ORDINAL: return invalidFile;
    case ERROR_ALREADY_EXISTS: return accessDenied;
    case ERROR_INVALID_EXE_SIGNATURE: return invalidFile;
    case ERROR_BAD_EXE_FORMAT: return invalidFile;
    case ERROR_FILENAME_EXCED_RANGE: return badPath;
    case ERROR_META_EXPANSION_TOO_LONG: return badPath;
    case ERROR_DIRECTORY: return badPath;
    case ERROR_OPERATION_ABORTED: return hardIO;
    case ERROR_IO_INCOMPLETE: return hardIO;
    case ERROR_IO_PENDING: return hardIO;
    case ERROR_SWAPERROR: return accessDenied;
    default: return generic;
  }
}

int PASCAL CFileException::ErrnoToException(int nErrno) {
  switch (nErrno) {
    case 1: /* EPERM */ return accessDenied;
    case 2: /* ENOENT */ return fileNotFound;
    case 9: /* EBADF */ return invalidFile;
    case 13: /* EACCES */ return accessDenied;
    case 17: /* EEXIST */ return accessDenied;
    case 20: /* ENOTDIR */ return badPath;
    case 21: /* EISDIR */ return accessDenied;
    case 22: /* EINVAL */ return badSeek;
    case 24: /* EMFILE */ return tooManyOpenFiles;
    case 28: /* ENOSPC */ return diskFull;
    case 29: /* ESPIPE */ return badSeek;
    case 5: /* EIO */ return hardIO;
    default: return generic;
  }
}

BOOL CFileException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) {
  static const char* const messages[] = {
      "No error occurred.",
      "An unexpected error occurred while accessing %1.",
      "%1 was not found.",
      "%1 contains an incorrect path.",
      "%1 could not be opened because there are too many open files.",
      "Access to %1 was denied.",
      "An incorrect file handle was associated with %1.",
      "%1 could not be removed because it is the current directory.",
      "%1 could not be created because the directory is full.",
      "Seek failed on %1.",
      "A hardware I/O error was reported while accessing %1.",
      "A sharing violation occurred while accessing %1.",
      "A locking violation occurred while accessing %1.",
      "Disk full while accessing %1.",
      "An attempt was made to access %1 past its end.",
  };
  return AfxFileErrorMessage(lpszError, nMaxError, pnHelpContext, messages, _countof(messages),
                             m_cause, generic, m_strFileName);
}

BOOL AFXAPI AfxFileErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext,
                                const char* const* messages, int nMessages, int cause,
                                int generic, const CString& strFileName) {
  if (pnHelpContext != NULL) *pnHelpContext = 0;
  if (lpszError == NULL || nMaxError == 0) return FALSE;
  if (cause < 0 || cause >= nMessages) cause = generic;
  CString strName = strFileName.IsEmpty() ? CString("an unnamed file") : strFileName;
  LPCSTR rglpsz[1] = {strName};
  CString strMessage;
  AfxFormatStrings(strMessage, messages[cause], rglpsz, 1);
  lstrcpynA(lpszError, strMessage, nMaxError);
  return TRUE;
}

void AFXAPI AfxThrowFileException(int cause, LONG lOsError, LPCSTR lpszFileName) {
  throw new CFileException(cause, lOsError, lpszFileName);
}

// ---------------------------------------------------------------------------------------------
// Path helpers.
BOOL AFXAPI AfxFullPath(LPSTR lpszPathOut, LPCSTR lpszFileIn) {
  LPSTR lpszFilePart;
  DWORD n = GetFullPathNameA(lpszFileIn, MAX_PATH, lpszPathOut, &lpszFilePart);
  if (n == 0 || n >= MAX_PATH) {
    lstrcpynA(lpszPathOut, lpszFileIn, MAX_PATH);
    return FALSE;
  }
  return TRUE;
}

BOOL AFXAPI AfxComparePath(LPCSTR lpszPath1, LPCSTR lpszPath2) {
  // Windows paths compare without regard to case.
  return lstrcmpiA(lpszPath1, lpszPath2) == 0;
}

static LPCSTR FileNamePart(LPCSTR lpszPathName) {
  LPCSTR p = lpszPathName;
  for (LPCSTR q = lpszPathName; *q; q++)
    if (*q == '\\' || *q == '/' || *q == ':') p = q + 1;
  return p;
}

UINT AFXAPI AfxGetFileName(LPCSTR lpszPathName, LPSTR lpszTitle, UINT nMax) {
  LPCSTR p = FileNamePart(lpszPathName);
  if (lpszTitle == NULL) return (UINT)strlen(p) + 1;
  lstrcpynA(lpszTitle, p, nMax);
  return 0;
}

UINT AFXAPI AfxGetFileTitle(LPCSTR lpszPathName, LPSTR lpszTitle, UINT nMax) {
  std::string name = FileNamePart(lpszPathName);
  size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot != 0) name.resize(dot);
  if (lpszTitle == NULL) return (UINT)name.size() + 1;
  lstrcpynA(lpszTitle, name.c_str(), nMax);
  return 0;
}

// ---------------------------------------------------------------------------------------------
// CFile.
IMPLEMENT_DYNAMIC(CFile, CObject)

CFile::CFile()
    : m_hFile((UINT_PTR)hFileNull), m_bCloseOnDelete(FALSE), m_bInited(TRUE) {}

CFile::CFile(int hFile)
    : m_hFile((UINT_PTR)(INT_PTR)hFile), m_bCloseOnDelete(FALSE), m_bInited(TRUE) {}

CFile::CFile(HANDLE hFile)
    : m_hFile((UINT_PTR)hFile), m_bCloseOnDelete(FALSE), m_bInited(TRUE) {}

CFile::CFile(LPCSTR lpszFileName, UINT nOpenFlags)
    : m_hFile((UINT_PTR)hFileNull), m_bCloseOnDelete(FALSE), m_bInited(TRUE) {
  CFileException e;
  if (!Open(lpszFileName, nOpenFlags, &e))
    AfxThrowFileException(e.m_cause, e.m_lOsError, lpszFileName);
}

CFile::~CFile() {
  if (m_hFile != (UINT_PTR)hFileNull && m_bCloseOnDelete) Abort();
}

static HANDLE H(UINT_PTR h) { return (HANDLE)h; }

CString CFile::GetFileName() const {
  return CString(FileNamePart(m_strFileName));
}

CString CFile::GetFileTitle() const {
  char sz[MAX_PATH];
  AfxGetFileTitle(m_strFileName, sz, MAX_PATH);
  return CString(sz);
}

CString CFile::GetFilePath() const { return m_strFileName; }

void CFile::SetFilePath(LPCSTR lpszNewName) { m_strFileName = lpszNewName; }

BOOL CFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pException) {
  if (m_hFile != (UINT_PTR)hFileNull) Abort();
  nOpenFlags &= ~(UINT)typeBinary;
  m_bCloseOnDelete = FALSE;
  m_hFile = (UINT_PTR)hFileNull;

  char szPath[MAX_PATH];
  AfxFullPath(szPath, lpszFileName ? lpszFileName : "");
  m_strFileName = szPath;

  DWORD dwAccess;
  switch (nOpenFlags & 3) {
    case modeRead: dwAccess = GENERIC_READ; break;
    case modeWrite: dwAccess = GENERIC_WRITE; break;
    case modeReadWrite: dwAccess = GENERIC_READ | GENERIC_WRITE; break;
    default: dwAccess = GENERIC_READ; break;
  }
  DWORD dwShareMode;
  switch (nOpenFlags & 0x70) {
    case shareDenyWrite: dwShareMode = FILE_SHARE_READ; break;
    case shareDenyRead: dwShareMode = FILE_SHARE_WRITE; break;
    case shareDenyNone: dwShareMode = FILE_SHARE_WRITE | FILE_SHARE_READ; break;
    case shareCompat:
    case shareExclusive:
    default: dwShareMode = 0; break;
  }
  SECURITY_ATTRIBUTES sa = {sizeof(sa), NULL, (nOpenFlags & modeNoInherit) ? FALSE : TRUE};
  DWORD dwCreateFlag;
  if (nOpenFlags & modeCreate)
    dwCreateFlag = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
  else
    dwCreateFlag = OPEN_EXISTING;

  HANDLE hFile = CreateFileA(lpszFileName ? lpszFileName : "", dwAccess, dwShareMode, &sa,
                             dwCreateFlag, FILE_ATTRIBUTE_NORMAL, NULL);
  if (hFile == INVALID_HANDLE_VALUE) {
    if (pException != NULL) {
      pException->m_lOsError = (LONG)GetLastError();
      pException->m_cause = CFileException::OsErrorToException(pException->m_lOsError);
      pException->m_strFileName = lpszFileName;
    }
    return FALSE;
  }
  m_hFile = (UINT_PTR)hFile;
  m_bCloseOnDelete = TRUE;
  return TRUE;
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
  if (nCount == 0) return 0;
  DWORD dwRead = 0;
  if (!::ReadFile(H(m_hFile), lpBuf, nCount, &dwRead, NULL))
    CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName, 0);
  return dwRead;
}

void CFile::Write(const void* lpBuf, UINT nCount) {
  if (nCount == 0) return;
  DWORD nWritten = 0;
  if (!::WriteFile(H(m_hFile), lpBuf, nCount, &nWritten, NULL))
    CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName, 0);
  if (nWritten != nCount) AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

LONG CFile::Seek(LONG lOff, UINT nFrom) {
  DWORD dwNew = ::SetFilePointer(H(m_hFile), lOff, NULL, (DWORD)nFrom);
  if (dwNew == (DWORD)-1 && GetLastError() != NO_ERROR)
    CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName, 0);
  return (LONG)dwNew;
}

DWORD CFile::GetPosition() const {
  DWORD dwPos = ::SetFilePointer(H(m_hFile), 0, NULL, FILE_CURRENT);
  if (dwPos == (DWORD)-1 && GetLastError() != NO_ERROR)
    CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName, 0);
  return dwPos;
}

DWORD CFile::SeekToEnd() { return (DWORD)Seek(0, CFile::end); }
void CFile::SeekToBegin() { Seek(0, CFile::begin); }
DWORD CFile::ReadHuge(void* lpBuffer, DWORD dwCount) { return Read(lpBuffer, dwCount); }
void CFile::WriteHuge(const void* lpBuffer, DWORD dwCount) { Write(lpBuffer, dwCount); }

void CFile::Flush() {
  if (m_hFile == (UINT_PTR)hFileNull) return;
  if (!::FlushFileBuffers(H(m_hFile)))
    CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName, 0);
}

void CFile::Close() {
  BOOL bError = FALSE;
  if (m_hFile != (UINT_PTR)hFileNull) bError = !::CloseHandle(H(m_hFile));
  m_hFile = (UINT_PTR)hFileNull;
  m_bCloseOnDelete = FALSE;
  if (bError) CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName, 0);
}

void CFile::Abort() {
  if (m_hFile != (UINT_PTR)hFileNull) ::CloseHandle(H(m_hFile));
  m_hFile = (UINT_PTR)hFileNull;
  m_bCloseOnDelete = FALSE;
}

void CFile::LockRange(DWORD dwPos, DWORD dwCount) {
  if (!::LockFile(H(m_hFile), dwPos, 0, dwCount, 0))
    CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName, 0);
}

void CFile::UnlockRange(DWORD dwPos, DWORD dwCount) {
  if (!::UnlockFile(H(m_hFile), dwPos, 0, dwCount, 0))
    CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName, 0);
}

void CFile::SetLength(DWORD dwNewLen) {
  Seek((LONG)dwNewLen, CFile::begin);
  if (!::SetEndOfFile(H(m_hFile)))
    CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName, 0);
}

DWORD CFile::GetLength() const {
  DWORD dwHigh = 0;
  DWORD dwLen = ::GetFileSize(H(m_hFile), &dwHigh);
  if (dwLen == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
    CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName, 0);
  return dwHigh ? 0xFFFFFFFF : dwLen;  // files of this system stay far below 4 GB
}

CFile* CFile::Duplicate() const {
  if (m_hFile == (UINT_PTR)hFileNull) AfxThrowInvalidArgException();
  HANDLE hDup;
  if (!::DuplicateHandle(GetCurrentProcess(), H(m_hFile), GetCurrentProcess(), &hDup, 0, FALSE,
                         DUPLICATE_SAME_ACCESS))
    CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName, 0);
  CFile* pFile = new CFile(hDup);
  pFile->m_bCloseOnDelete = m_bCloseOnDelete;
  pFile->m_strFileName = m_strFileName;
  return pFile;
}

UINT CFile::GetBufferPtr(UINT, UINT, void**, void**) { return 0; }

static CTime TimeFromFileTime(const FILETIME& ft) {
  if (ft.dwLowDateTime == 0 && ft.dwHighDateTime == 0) return CTime();
  return CTime(ft);
}

BOOL CFile::GetStatus(CFileStatus& rStatus) const {
  rStatus = CFileStatus();
  lstrcpynA(rStatus.m_szFullName, m_strFileName, MAX_PATH);
  if (m_hFile == (UINT_PTR)hFileNull) return FALSE;
  FILETIME ftCreate, ftAccess, ftModify;
  if (!::GetFileTime(H(m_hFile), &ftCreate, &ftAccess, &ftModify)) return FALSE;
  DWORD dwHigh = 0;
  DWORD dwSize = ::GetFileSize(H(m_hFile), &dwHigh);
  if (dwSize == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return FALSE;
  rStatus.m_size = (LONG)dwSize;
  DWORD dwAttr = m_strFileName.IsEmpty() ? INVALID_FILE_ATTRIBUTES
                                         : ::GetFileAttributesA(m_strFileName);
  rStatus.m_attribute = (dwAttr == INVALID_FILE_ATTRIBUTES) ? 0 : (BYTE)dwAttr;
  rStatus.m_ctime = TimeFromFileTime(ftCreate);
  rStatus.m_atime = TimeFromFileTime(ftAccess);
  rStatus.m_mtime = TimeFromFileTime(ftModify);
  if (rStatus.m_ctime.GetTime() == 0) rStatus.m_ctime = rStatus.m_mtime;
  if (rStatus.m_atime.GetTime() == 0) rStatus.m_atime = rStatus.m_mtime;
  return TRUE;
}

BOOL PASCAL CFile::GetStatus(LPCSTR lpszFileName, CFileStatus& rStatus) {
  rStatus = CFileStatus();
  if (lpszFileName == NULL) return FALSE;
  if (!AfxFullPath(rStatus.m_szFullName, lpszFileName)) {
    rStatus.m_szFullName[0] = 0;
    return FALSE;
  }
  WIN32_FIND_DATAA findFileData;
  HANDLE hFind = FindFirstFileA(lpszFileName, &findFileData);
  if (hFind == INVALID_HANDLE_VALUE) return FALSE;
  FindClose(hFind);
  rStatus.m_attribute = (BYTE)(findFileData.dwFileAttributes & ~FILE_ATTRIBUTE_NORMAL);
  rStatus.m_size = (LONG)findFileData.nFileSizeLow;
  rStatus.m_mtime = TimeFromFileTime(findFileData.ftLastWriteTime);
  rStatus.m_atime = TimeFromFileTime(findFileData.ftLastAccessTime);
  rStatus.m_ctime = TimeFromFileTime(findFileData.ftCreationTime);
  if (rStatus.m_ctime.GetTime() == 0) rStatus.m_ctime = rStatus.m_mtime;
  if (rStatus.m_atime.GetTime() == 0) rStatus.m_atime = rStatus.m_mtime;
  return TRUE;
}

static void FileTimeFromTime(const CTime& t, FILETIME* pft) {
  // Seconds since 1970 to 100 ns units since 1601.
  ULONGLONG v = (ULONGLONG)(t.GetTime() + 11644473600LL) * 10000000ULL;
  pft->dwLowDateTime = (DWORD)v;
  pft->dwHighDateTime = (DWORD)(v >> 32);
}

void PASCAL CFile::SetStatus(LPCSTR lpszFileName, const CFileStatus& status) {
  DWORD wAttr = GetFileAttributesA(lpszFileName);
  if (wAttr == INVALID_FILE_ATTRIBUTES)
    CFileException::ThrowOsError((LONG)GetLastError(), lpszFileName, 0);
  if ((DWORD)status.m_attribute != wAttr && (wAttr & readOnly)) {
    // A read-only file must lose that attribute before its times can change.
    if (!SetFileAttributesA(lpszFileName, (DWORD)status.m_attribute))
      CFileException::ThrowOsError((LONG)GetLastError(), lpszFileName, 0);
  }
  if (status.m_mtime.GetTime() != 0) {
    HANDLE hFile = CreateFileA(lpszFileName, GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
      CFileException::ThrowOsError((LONG)GetLastError(), lpszFileName, 0);
    FILETIME ftCreate, ftAccess, ftModify;
    FileTimeFromTime(status.m_mtime, &ftModify);
    FileTimeFromTime(status.m_atime.GetTime() ? status.m_atime : status.m_mtime, &ftAccess);
    FileTimeFromTime(status.m_ctime.GetTime() ? status.m_ctime : status.m_mtime, &ftCreate);
    BOOL bOk = SetFileTime(hFile, &ftCreate, &ftAccess, &ftModify);
    DWORD dwError = GetLastError();
    CloseHandle(hFile);
    if (!bOk) CFileException::ThrowOsError((LONG)dwError, lpszFileName, 0);
  }
  if ((DWORD)status.m_attribute != wAttr && !(wAttr & readOnly)) {
    if (!SetFileAttributesA(lpszFileName, (DWORD)status.m_attribute))
      CFileException::ThrowOsError((LONG)GetLastError(), lpszFileName, 0);
  }
}

void PASCAL CFile::Rename(LPCSTR lpszOldName, LPCSTR lpszNewName) {
  if (!::MoveFileA(lpszOldName, lpszNewName))
    CFileException::ThrowOsError((LONG)GetLastError(), lpszOldName, 0);
}

void PASCAL CFile::Remove(LPCSTR lpszFileName) {
  if (!::DeleteFileA(lpszFileName))
    CFileException::ThrowOsError((LONG)GetLastError(), lpszFileName, 0);
}

// ---------------------------------------------------------------------------------------------
// CStdioFile: text lines over the file handle. In text mode (the default) "\r\n" reads as
// "\n" and "\n" is written as "\r\n". m_pStream stays NULL unless a stream was given.
IMPLEMENT_DYNAMIC(CStdioFile, CFile)

CStdioFile::CStdioFile() : m_pStream(NULL), m_bTextMode(TRUE) {}

CStdioFile::CStdioFile(FILE* pOpenStream) : m_pStream(pOpenStream), m_bTextMode(FALSE) {}

CStdioFile::CStdioFile(LPCSTR lpszFileName, UINT nOpenFlags)
    : m_pStream(NULL), m_bTextMode(TRUE) {
  CFileException e;
  if (!Open(lpszFileName, nOpenFlags, &e))
    AfxThrowFileException(e.m_cause, e.m_lOsError, lpszFileName);
}

CStdioFile::~CStdioFile() {
  if (m_pStream != NULL && m_bCloseOnDelete) fclose(m_pStream);
  m_pStream = NULL;
}

BOOL CStdioFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
  m_bTextMode = (nOpenFlags & typeBinary) ? FALSE : TRUE;  // text unless typeBinary
  return CFile::Open(lpszFileName, nOpenFlags & ~(UINT)(typeText | typeBinary), pError);
}

UINT CStdioFile::Read(void* lpBuf, UINT nCount) {
  if (m_pStream != NULL) return (UINT)fread(lpBuf, 1, nCount, m_pStream);
  if (!m_bTextMode) return CFile::Read(lpBuf, nCount);
  // Text mode: drop the '\r' of every "\r\n".
  char* pOut = (char*)lpBuf;
  UINT nOut = 0;
  while (nOut < nCount) {
    char buf[512];
    UINT nWant = nCount - nOut < sizeof(buf) ? nCount - nOut : (UINT)sizeof(buf);
    UINT nRead = CFile::Read(buf, nWant);
    if (nRead == 0) break;
    for (UINT i = 0; i < nRead; i++) {
      if (buf[i] == '\r') {
        char next;
        if (i + 1 < nRead) {
          if (buf[i + 1] == '\n') continue;
        } else if (CFile::Read(&next, 1) == 1) {
          CFile::Seek(-1, CFile::current);
          if (next == '\n') continue;
        }
      }
      pOut[nOut++] = buf[i];
    }
  }
  return nOut;
}

void CStdioFile::Write(const void* lpBuf, UINT nCount) {
  if (m_pStream != NULL) {
    if (fwrite(lpBuf, 1, nCount, m_pStream) != nCount)
      AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
    return;
  }
  if (!m_bTextMode) {
    CFile::Write(lpBuf, nCount);
    return;
  }
  std::string out;
  out.reserve(nCount + nCount / 16);
  for (UINT i = 0; i < nCount; i++) {
    char ch = ((const char*)lpBuf)[i];
    if (ch == '\n') out += '\r';
    out += ch;
  }
  CFile::Write(out.data(), (UINT)out.size());
}

void CStdioFile::WriteString(LPCSTR lpsz) {
  if (lpsz != NULL) Write(lpsz, (UINT)strlen(lpsz));
}

LPSTR CStdioFile::ReadString(LPSTR lpsz, UINT nMax) {
  if (lpsz == NULL || nMax == 0) return NULL;
  UINT n = 0;
  while (n + 1 < nMax) {
    char ch;
    if (Read(&ch, 1) != 1) break;
    lpsz[n++] = ch;
    if (ch == '\n') break;
  }
  lpsz[n] = 0;
  return n > 0 ? lpsz : NULL;
}

BOOL CStdioFile::ReadString(CString& rString) {
  std::string line;
  BOOL bAny = FALSE;
  char buf[256];
  if (m_pStream != NULL) {
    while (fgets(buf, sizeof(buf), m_pStream) != NULL) {
      bAny = TRUE;
      line += buf;
      if (!line.empty() && line.back() == '\n') break;
    }
  } else {
    // Raw bytes up to the newline; what was read past it is given back to the file.
    for (;;) {
      UINT nRead = CFile::Read(buf, sizeof(buf));
      if (nRead == 0) break;
      bAny = TRUE;
      char* pNewline = (char*)memchr(buf, '\n', nRead);
      if (pNewline == NULL) {
        line.append(buf, nRead);
        continue;
      }
      line.append(buf, pNewline - buf);
      UINT nRest = (UINT)(buf + nRead - (pNewline + 1));
      if (nRest > 0) CFile::Seek(-(LONG)nRest, CFile::current);
      break;
    }
  }
  if (!line.empty() && line.back() == '\n') line.pop_back();
  if (!line.empty() && line.back() == '\r') line.pop_back();
  rString = CString(line.data(), (int)line.size());
  return bAny;
}

DWORD CStdioFile::GetPosition() const {
  if (m_pStream != NULL) return (DWORD)ftell(m_pStream);
  return CFile::GetPosition();
}

LONG CStdioFile::Seek(LONG lOff, UINT nFrom) {
  if (m_pStream != NULL) {
    if (fseek(m_pStream, lOff, (int)nFrom) != 0)
      AfxThrowFileException(CFileException::badSeek, -1, m_strFileName);
    return (LONG)ftell(m_pStream);
  }
  return CFile::Seek(lOff, nFrom);
}

void CStdioFile::Abort() {
  if (m_pStream != NULL && m_bCloseOnDelete) fclose(m_pStream);
  m_pStream = NULL;
  CFile::Abort();
}

void CStdioFile::Flush() {
  if (m_pStream != NULL) {
    fflush(m_pStream);
    return;
  }
  CFile::Flush();
}

void CStdioFile::Close() {
  if (m_pStream != NULL) {
    int nErr = fclose(m_pStream);
    m_pStream = NULL;
    m_bCloseOnDelete = FALSE;
    if (nErr != 0) AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
    return;
  }
  CFile::Close();
}

DWORD CStdioFile::GetLength() const {
  if (m_pStream != NULL) {
    long pos = ftell(m_pStream);
    fseek(m_pStream, 0, SEEK_END);
    long len = ftell(m_pStream);
    fseek(m_pStream, pos, SEEK_SET);
    return (DWORD)len;
  }
  return CFile::GetLength();
}

CFile* CStdioFile::Duplicate() const {
  AfxThrowNotSupportedException();
  return NULL;
}
void CStdioFile::LockRange(DWORD, DWORD) { AfxThrowNotSupportedException(); }
void CStdioFile::UnlockRange(DWORD, DWORD) { AfxThrowNotSupportedException(); }

// ---------------------------------------------------------------------------------------------
// CFileFind: FindFile finds the first match; each FindNextFile makes the next match current
// and answers FALSE when the one it made current is the last.
IMPLEMENT_DYNAMIC(CFileFind, CObject)

CFileFind::CFileFind()
    : m_pFoundInfo(NULL), m_pNextInfo(NULL), m_hContext(NULL), m_bGotLast(FALSE),
      m_chDirSeparator('\\') {}

CFileFind::~CFileFind() {
  Close();
}

void CFileFind::Close() {
  delete (WIN32_FIND_DATAA*)m_pFoundInfo;
  m_pFoundInfo = NULL;
  delete (WIN32_FIND_DATAA*)m_pNextInfo;
  m_pNextInfo = NULL;
  if (m_hContext != NULL) {
    if (m_hContext != INVALID_HANDLE_VALUE) CloseContext();
    m_hContext = NULL;
  }
}

void CFileFind::CloseContext() { ::FindClose(m_hContext); }

BOOL CFileFind::FindFile(LPCSTR pstrName, DWORD) {
  Close();
  m_bGotLast = FALSE;
  if (pstrName == NULL) pstrName = "*.*";
  if (strlen(pstrName) >= MAX_PATH) {
    SetLastError(ERROR_BAD_ARGUMENTS);
    return FALSE;
  }
  WIN32_FIND_DATAA* pNext = new WIN32_FIND_DATAA;
  m_pNextInfo = pNext;
  lstrcpynA(pNext->cFileName, pstrName, MAX_PATH);
  m_hContext = ::FindFirstFileA(pstrName, pNext);
  if (m_hContext == INVALID_HANDLE_VALUE) {
    DWORD dwTemp = ::GetLastError();
    Close();
    ::SetLastError(dwTemp);
    return FALSE;
  }
  // The root is the folder part of the full pattern, with its separator.
  char szFull[MAX_PATH];
  AfxFullPath(szFull, pstrName);
  LPCSTR pName = FileNamePart(szFull);
  m_strRoot = CString(szFull, (int)(pName - szFull));
  return TRUE;
}

BOOL CFileFind::FindNextFile() {
  if (m_hContext == NULL || m_hContext == INVALID_HANDLE_VALUE) return FALSE;
  if (m_pFoundInfo == NULL) m_pFoundInfo = new WIN32_FIND_DATAA;
  void* pTemp = m_pFoundInfo;
  m_pFoundInfo = m_pNextInfo;
  m_pNextInfo = pTemp;
  if (m_bGotLast) return FALSE;
  if (!::FindNextFileA(m_hContext, (WIN32_FIND_DATAA*)m_pNextInfo)) m_bGotLast = TRUE;
  return !m_bGotLast;
}

static const WIN32_FIND_DATAA* Found(const void* p) {
  if (p == NULL) AfxThrowInvalidArgException();  // FindNextFile was not called
  return (const WIN32_FIND_DATAA*)p;
}

DWORD CFileFind::GetLength() const { return Found(m_pFoundInfo)->nFileSizeLow; }
CString CFileFind::GetFileName() const { return CString(Found(m_pFoundInfo)->cFileName); }
CString CFileFind::GetFilePath() const { return m_strRoot + GetFileName(); }
CString CFileFind::GetFileTitle() const {
  char sz[MAX_PATH];
  AfxGetFileTitle(GetFileName(), sz, MAX_PATH);
  return CString(sz);
}
CString CFileFind::GetFileURL() const { return CString("file://") + GetFilePath(); }
CString CFileFind::GetRoot() const { return m_strRoot; }

BOOL CFileFind::GetLastWriteTime(FILETIME* pTimeStamp) const {
  if (pTimeStamp == NULL || m_pFoundInfo == NULL) return FALSE;
  *pTimeStamp = Found(m_pFoundInfo)->ftLastWriteTime;
  return TRUE;
}
BOOL CFileFind::GetLastAccessTime(FILETIME* pTimeStamp) const {
  if (pTimeStamp == NULL || m_pFoundInfo == NULL) return FALSE;
  *pTimeStamp = Found(m_pFoundInfo)->ftLastAccessTime;
  return TRUE;
}
BOOL CFileFind::GetCreationTime(FILETIME* pTimeStamp) const {
  if (pTimeStamp == NULL || m_pFoundInfo == NULL) return FALSE;
  *pTimeStamp = Found(m_pFoundInfo)->ftCreationTime;
  return TRUE;
}
BOOL CFileFind::GetLastWriteTime(CTime& refTime) const {
  if (m_pFoundInfo == NULL) return FALSE;
  refTime = CTime(Found(m_pFoundInfo)->ftLastWriteTime);
  return TRUE;
}
BOOL CFileFind::GetLastAccessTime(CTime& refTime) const {
  if (m_pFoundInfo == NULL) return FALSE;
  refTime = CTime(Found(m_pFoundInfo)->ftLastAccessTime);
  return TRUE;
}
BOOL CFileFind::GetCreationTime(CTime& refTime) const {
  if (m_pFoundInfo == NULL) return FALSE;
  refTime = CTime(Found(m_pFoundInfo)->ftCreationTime);
  return TRUE;
}

BOOL CFileFind::MatchesMask(DWORD dwMask) const {
  return m_pFoundInfo != NULL && (Found(m_pFoundInfo)->dwFileAttributes & dwMask) != 0;
}

BOOL CFileFind::IsDots() const {
  if (m_pFoundInfo == NULL || !IsDirectory()) return FALSE;
  LPCSTR p = Found(m_pFoundInfo)->cFileName;
  return (p[0] == '.' && (p[1] == 0 || (p[1] == '.' && p[2] == 0)));
}
