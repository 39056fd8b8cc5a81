#include "filesys.h"
#include "afxdlgs.h"
#include <cstring>
#include <memory>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

// Winelib: the host path of a Windows path, allocated on the process heap.
extern "C" char* CDECL wine_get_unix_file_name(LPCWSTR dosW);

IMPLEMENT_DYNAMIC(SECFileSystem, CObject)

namespace {

// Keeps the system's critical-error boxes (an empty floppy or CD drive) off while a drive is
// touched.
class QuietErrors {
public:
    QuietErrors() : m_old(::SetErrorMode(SEM_FAILCRITICALERRORS)) {}
    ~QuietErrors() { ::SetErrorMode(m_old); }

private:
    UINT m_old;
};

// The entry attributes a filter passes. Filter 0 (or "normal") means plain files: no hidden,
// system, volume, folder or device bit.
BOOL PassesFilter(DWORD dwAttributes, DWORD dwFilter)
{
    if ((dwFilter == 0 || dwFilter == FILE_ATTRIBUTE_NORMAL) && (dwAttributes & 0x5E) == 0)
        return TRUE;
    return dwFilter == SECFS_ANY || (dwFilter & dwAttributes) != 0;
}

BOOL IsDotEntry(const CString& name)
{
    return name == "." || name == "..";
}

CString CurrentDirectory()
{
    DWORD n = ::GetCurrentDirectoryA(0, NULL);
    for (int tries = 0; n != 0 && tries < 4; tries++) {
        CString dir;
        DWORD got = ::GetCurrentDirectoryA(n, dir.GetBuffer((int)n));
        dir.ReleaseBuffer(got < n ? (int)got : 0);
        if (got != 0 && got < n)
            return dir;
        n = got;  // the folder changed meanwhile: the size it needs now
    }
    return CString();
}

// Removes a link itself, never what it points at. The system's delete calls follow a link to
// a folder (and then refuse it as a folder), so the link is unlinked by its host path.
BOOL RemoveLink(const CString& path)
{
    if (::DeleteFileA(path))
        return TRUE;
    WCHAR wide[MAX_PATH];
    if (::MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH) == 0)
        return FALSE;
    char* unixPath = wine_get_unix_file_name(wide);
    if (unixPath == NULL)
        return FALSE;
    struct stat st;
    BOOL bRemoved = lstat(unixPath, &st) == 0 && S_ISLNK(st.st_mode) && unlink(unixPath) == 0;
    ::HeapFree(::GetProcessHeap(), 0, unixPath);
    return bRemoved;
}

}  // namespace

SECFileSystem::SECFileSystem() : m_hFind(INVALID_HANDLE_VALUE)
{
    memset(&m_findData, 0, sizeof m_findData);
}

SECFileSystem::~SECFileSystem()
{
    CloseFind();
}

void SECFileSystem::CloseFind()
{
    if (m_hFind != INVALID_HANDLE_VALUE)
        ::FindClose(m_hFind);
    m_hFind = INVALID_HANDLE_VALUE;
}

// --- Path strings ---

CString SECFileSystem::JoinPath(const CString& path, const CString& name)
{
    if (path.IsEmpty() || path[path.GetLength() - 1] == '\\')
        return path + name;
    return path + "\\" + name;
}

CString SECFileSystem::FileNameOfPath(const CString& path)
{
    int n = path.ReverseFind('\\');
    return n < 0 ? path : path.Mid(n + 1);
}

CString SECFileSystem::FolderOfPath(const CString& path, BOOL bWithDrive)
{
    int n = path.ReverseFind('\\');
    CString folder = n < 0 ? CString() : path.Left(n + 1);
    if (!bWithDrive) {
        int colon = folder.Find(':');
        if (colon >= 0)
            folder = folder.Mid(colon + 1);
    }
    return folder;
}

// Taken from the file name, so that a full stop in a folder name is never an extension.
CString SECFileSystem::ExtensionOfPath(const CString& path)
{
    CString name = FileNameOfPath(path);
    int n = name.ReverseFind('.');
    if (n <= 0 || n == name.GetLength() - 1)
        return CString();
    return name.Mid(n + 1);
}

CString SECFileSystem::BaseNameOfPath(const CString& path)
{
    CString name = FileNameOfPath(path);
    int n = name.ReverseFind('.');
    return n < 0 ? name : name.Left(n);
}

CString SECFileSystem::DriveOfPath(const CString& path)
{
    int n = path.Find(":\\");
    if (n >= 0)
        return path.Left(n + 2);
    n = path.Find(':');
    return n >= 0 ? path.Left(n + 1) : CString();
}

CString SECFileSystem::FullPath(const CString& path)
{
    DWORD n = MAX_PATH;
    for (int tries = 0; tries < 4; tries++) {
        CString full;
        DWORD got = ::GetFullPathNameA(path, n, full.GetBuffer((int)n), NULL);
        full.ReleaseBuffer(got < n ? (int)got : 0);
        if (got == 0)
            return CString();
        if (got < n)
            return full;
        n = got;
    }
    return CString();
}

// --- File status ---

BOOL SECFileSystem::FileStatus(const CString& path, CFileStatus& status)
{
    CFileStatus s;
    if (!CFile::GetStatus(path, s))
        return FALSE;
    status = s;
    return TRUE;
}

BOOL SECFileSystem::FileTime(const CString& path, CTime& time, CTime CFileStatus::*pWhich)
{
    CFileStatus s;
    if (!FileStatus(path, s))
        return FALSE;
    time = s.*pWhich;
    return TRUE;
}

BOOL SECFileSystem::FileCreated(const CString& path, CTime& time)
{
    return FileTime(path, time, &CFileStatus::m_ctime);
}

BOOL SECFileSystem::FileModified(const CString& path, CTime& time)
{
    return FileTime(path, time, &CFileStatus::m_mtime);
}

BOOL SECFileSystem::FileAccessed(const CString& path, CTime& time)
{
    return FileTime(path, time, &CFileStatus::m_atime);
}

BOOL SECFileSystem::FileLength(const CString& path, ULONGLONG& size)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path, GetFileExInfoStandard, &data))
        return FALSE;
    size = ((ULONGLONG)data.nFileSizeHigh << 32) | data.nFileSizeLow;
    return TRUE;
}

BOOL SECFileSystem::FileAttributes(const CString& path, BYTE& attributes)
{
    CFileStatus s;
    if (!FileStatus(path, s))
        return FALSE;
    attributes = s.m_attribute;
    return TRUE;
}

BOOL SECFileSystem::FileExists(const CString& path)
{
    CFileStatus s;
    return FileStatus(path, s);
}

BOOL SECFileSystem::IsFolder(const CString& path)
{
    BYTE attributes;
    return FileAttributes(path, attributes) && (attributes & CFile::directory) != 0;
}

// --- Enumeration ---

BOOL SECFileSystem::FindEntry(CString& name, const CString& pattern, DWORD dwFilter)
{
    BOOL bFound;
    if (!pattern.IsEmpty()) {
        CloseFind();
        m_hFind = ::FindFirstFileA(pattern, &m_findData);
        bFound = m_hFind != INVALID_HANDLE_VALUE;
    } else {
        bFound = m_hFind != INVALID_HANDLE_VALUE && ::FindNextFileA(m_hFind, &m_findData);
    }
    if (!bFound) {
        CloseFind();
        name.Empty();
        return FALSE;
    }
    if (PassesFilter(m_findData.dwFileAttributes, dwFilter))
        name = m_findData.cFileName;
    else
        name.Empty();
    return TRUE;
}

CString* SECFileSystem::FindFirstEntry(const CString& pattern, DWORD dwFilter)
{
    QuietErrors quiet;
    CString name;
    BOOL bMore = FindEntry(name, pattern, dwFilter);
    while (bMore && name.IsEmpty())
        bMore = FindEntry(name, CString(), dwFilter);
    return bMore ? new CString(name) : NULL;
}

CStringList* SECFileSystem::ListFolderEntries(const CString& pattern, DWORD dwFilter)
{
    CStringList* pList = new CStringList(10);
    CString folder = FolderOfPath(pattern);
    CString name;
    for (BOOL bMore = FindEntry(name, pattern, dwFilter); bMore;
         bMore = FindEntry(name, CString(), dwFilter)) {
        if (!name.IsEmpty() && !IsDotEntry(name))
            pList->AddTail(folder + name);
    }
    CloseFind();
    return pList;
}

CStringList* SECFileSystem::Subfolders(const CString& folder, BOOL bFullPaths, BOOL bWithLinks)
{
    CStringList* pList = new CStringList(10);
    CString prefix = FolderOfPath(JoinPath(folder, "*.*"));
    CString name;
    for (BOOL bMore = FindEntry(name, JoinPath(folder, "*.*"), FILE_ATTRIBUTE_DIRECTORY); bMore;
         bMore = FindEntry(name, CString(), FILE_ATTRIBUTE_DIRECTORY)) {
        if (name.IsEmpty() || IsDotEntry(name))
            continue;
        DWORD attr = m_findData.dwFileAttributes;
        if (!(attr & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        if (!bWithLinks && (attr & FILE_ATTRIBUTE_REPARSE_POINT))
            continue;
        pList->AddTail(bFullPaths ? prefix + name : name);
    }
    CloseFind();
    return pList;
}

CStringList* SECFileSystem::ListSubfolders(const CString& folder, BOOL bFullPaths)
{
    return Subfolders(folder, bFullPaths, TRUE);
}

CStringList* SECFileSystem::FoldersToEnter(const CString& folder)
{
    return Subfolders(folder, TRUE, FALSE);
}

CStringList* SECFileSystem::ListFiles(const CString& pattern, DWORD dwFilter, BOOL bRecurse,
                                      CStringList* pList)
{
    if (pList == NULL)
        pList = new CStringList(10);
    std::unique_ptr<CStringList> entries(ListFolderEntries(pattern, dwFilter));
    pList->AddTail(entries.get());
    if (bRecurse) {
        CString name = FileNameOfPath(pattern);
        std::unique_ptr<CStringList> folders(FoldersToEnter(FolderOfPath(pattern)));
        for (POSITION pos = folders->GetHeadPosition(); pos != NULL;)
            ListFiles(JoinPath(folders->GetNext(pos), name), dwFilter, TRUE, pList);
    }
    return pList;
}

CStringList* SECFileSystem::ListDrives()
{
    QuietErrors quiet;
    CStringList* pList = new CStringList(10);
    char root[] = "a:\\";
    for (char c = 'a'; c <= 'z'; c++) {
        root[0] = c;
        if (::GetDriveTypeA(root) > DRIVE_NO_ROOT_DIR)
            pList->AddTail(root);
    }
    return pList;
}

void SECFileSystem::SortNames(CStringList* pList, BOOL bCaseSensitive)
{
    if (pList == NULL || pList->GetCount() < 2)
        return;
    for (POSITION pos = pList->GetHeadPosition(); pos != NULL; pList->GetNext(pos)) {
        POSITION later = pos;
        pList->GetNext(later);
        while (later != NULL) {
            POSITION here = later;
            CString& candidate = pList->GetNext(later);
            CString& current = pList->GetAt(pos);
            // Byte order, as the names are stored; not the locale's word order.
            BOOL bBefore = bCaseSensitive ? strcmp(candidate, current) < 0
                                          : strcasecmp(candidate, current) < 0;
            if (bBefore) {
                CString t = current;
                pList->SetAt(pos, candidate);
                pList->SetAt(here, t);
            }
        }
    }
}

void SECFileSystem::FillListBox(CListBox* pListBox, const CStringList* pList)
{
    for (POSITION pos = pList->GetHeadPosition(); pos != NULL;)
        pListBox->AddString(pList->GetNext(pos));
}

void SECFileSystem::FillComboBox(CComboBox* pComboBox, const CStringList* pList)
{
    for (POSITION pos = pList->GetHeadPosition(); pos != NULL;)
        pComboBox->AddString(pList->GetNext(pos));
}

// --- Folders, drives and volumes ---

CString SECFileSystem::CurrentFolderOf(const CString& path)
{
    if (path.IsEmpty())
        return CurrentDirectory();
    CString old = CurrentDirectory();
    if (!::SetCurrentDirectoryA(path))
        return CString();
    CString folder = CurrentDirectory();
    if (!old.IsEmpty())
        ::SetCurrentDirectoryA(old);
    return folder;
}

BOOL SECFileSystem::ChangeFolder(const CString& path)
{
    return ::SetCurrentDirectoryA(path);
}

BOOL SECFileSystem::MakeFolder(const CString& path)
{
    SECURITY_ATTRIBUTES sa = {sizeof sa, NULL, TRUE};
    return ::CreateDirectoryA(path, &sa);
}

BOOL SECFileSystem::CreateFolderTree(const CString& path)
{
    if (path.IsEmpty())
        return FALSE;
    CString rest = path;
    if (rest[rest.GetLength() - 1] != '\\')
        rest += '\\';
    CString built;
    BOOL bResult = FALSE;
    for (int n = rest.Find('\\'); n >= 0; n = rest.Find('\\')) {
        built += rest.Left(n);
        rest = rest.Mid(n + 1);
        if (!built.IsEmpty() && built[built.GetLength() - 1] != ':')
            bResult = MakeFolder(built);
        built += '\\';
    }
    return bResult;
}

BOOL SECFileSystem::RemoveFolder(const CString& path, BOOL bRecurse)
{
    if (bRecurse) {
        std::unique_ptr<CStringList> all(Subfolders(path, TRUE, TRUE));
        for (POSITION pos = all->GetHeadPosition(); pos != NULL;) {
            CString sub = all->GetNext(pos);
            DWORD attr = ::GetFileAttributesA(sub);
            if (attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_REPARSE_POINT)) {
                // A link goes, never what it points at.
                RemoveLink(sub);
            } else {
                RemoveFolder(sub, TRUE);
            }
        }
        DeleteMatchingFiles(JoinPath(path, "*.*"), SECFS_ANY);
    }
    return ::RemoveDirectoryA(path);
}

ULONGLONG SECFileSystem::FolderSize(const CString& folder, const CString& pattern,
                                    BOOL bRecurse)
{
    ULONGLONG total = 0;
    CString name;
    for (BOOL bMore = FindEntry(name, JoinPath(folder, pattern), SECFS_ANY); bMore;
         bMore = FindEntry(name, CString(), SECFS_ANY)) {
        if (!name.IsEmpty() && !IsDotEntry(name))
            total += ((ULONGLONG)m_findData.nFileSizeHigh << 32) | m_findData.nFileSizeLow;
    }
    CloseFind();
    if (bRecurse) {
        std::unique_ptr<CStringList> folders(FoldersToEnter(folder));
        for (POSITION pos = folders->GetHeadPosition(); pos != NULL;)
            total += FolderSize(folders->GetNext(pos), pattern, TRUE);
    }
    return total;
}

CString SECFileSystem::CurrentDriveRoot()
{
    CString dir = CurrentDirectory();
    if (dir.GetLength() < 2 || dir[1] != ':')
        return CString();
    CString root = dir.Left(1);
    root.MakeLower();
    return root + ":\\";
}

BOOL SECFileSystem::SelectDrive(char cLetter)
{
    unsigned n = (unsigned)(unsigned char)(cLetter & ~0x20) - 64;
    if (n < 1 || n > 26)
        return FALSE;
    QuietErrors quiet;
    // The drive's own current folder, as the system remembers it (its root otherwise).
    char drive[] = {(char)('A' + n - 1), ':', 0};
    CString folder = FullPath(drive);
    return !folder.IsEmpty() && ::SetCurrentDirectoryA(folder);
}

BOOL SECFileSystem::DriveExists(const CString& drive)
{
    CString wanted = drive;
    wanted.MakeLower();
    std::unique_ptr<CStringList> drives(ListDrives());
    for (POSITION pos = drives->GetHeadPosition(); pos != NULL;)
        if (drives->GetNext(pos) == wanted)
            return TRUE;
    return FALSE;
}

UINT SECFileSystem::DriveKind(const CString& root)
{
    QuietErrors quiet;
    return ::GetDriveTypeA(root);
}

CString SECFileSystem::VolumeLabel(const CString& root)
{
    QuietErrors quiet;
    char label[256] = "";
    if (!::GetVolumeInformationA(root, label, sizeof label, NULL, NULL, NULL, NULL, 0))
        return CString();
    return label;
}

LONGLONG SECFileSystem::DiskSpace(const CString& root, BOOL bTotal)
{
    QuietErrors quiet;
    ULARGE_INTEGER avail, total, free;
    if (!::GetDiskFreeSpaceExA(root, &avail, &total, &free))
        return -1;
    return (LONGLONG)(bTotal ? total.QuadPart : free.QuadPart);
}

LONGLONG SECFileSystem::FreeBytes(const CString& root)
{
    return DiskSpace(root, FALSE);
}

LONGLONG SECFileSystem::TotalBytes(const CString& root)
{
    return DiskSpace(root, TRUE);
}

BOOL SECFileSystem::IsWriteProtected(const CString& folder)
{
    QuietErrors quiet;
    // A file of a new, unique name, so that no file of the user's is touched.
    char test[MAX_PATH];
    if (folder.GetLength() >= MAX_PATH - 14 || ::GetTempFileNameA(folder, "sec", 0, test) == 0)
        return TRUE;
    return !::DeleteFileA(test);
}

// --- Files ---

BOOL SECFileSystem::RenameIfFree(const CString& oldName, const CString& newName,
                                 BOOL (SECFileSystem::*pfnPresent)(const CString&))
{
    if (oldName == newName)
        return TRUE;
    if (!(this->*pfnPresent)(oldName) || (this->*pfnPresent)(newName))
        return FALSE;
    TRY {
        CFile::Rename(oldName, newName);
    }
    CATCH(CFileException, e) {
        return FALSE;
    }
    END_CATCH
    return TRUE;
}

BOOL SECFileSystem::RenameFileIfFree(const CString& oldName, const CString& newName)
{
    return RenameIfFree(oldName, newName, &SECFileSystem::FileExists);
}

BOOL SECFileSystem::RenameFolderIfFree(const CString& oldName, const CString& newName)
{
    return RenameIfFree(oldName, newName, &SECFileSystem::IsFolder);
}

BOOL SECFileSystem::DeleteOneFile(const CString& path)
{
    TRY {
        CFile::Remove(path);
    }
    CATCH(CFileException, e) {
        return FALSE;
    }
    END_CATCH
    return TRUE;
}

BOOL SECFileSystem::DeleteMatchingFiles(const CString& pattern, DWORD dwFilter)
{
    std::unique_ptr<CStringList> files(ListFiles(pattern, dwFilter));
    BOOL bAll = TRUE;
    for (POSITION pos = files->GetHeadPosition(); pos != NULL;)
        if (!DeleteOneFile(files->GetNext(pos)))
            bAll = FALSE;
    return bAll;
}

BOOL SECFileSystem::CopyOneFile(const CString& source, const CString& target, UINT nBufferSize)
{
    if (nBufferSize == 0)
        return FALSE;
    std::vector<BYTE> buffer;
    TRY {
        buffer.resize(nBufferSize);
    }
    CATCH_ALL(e) {
        return FALSE;
    }
    END_CATCH_ALL
    if (FileExists(target))
        return FALSE;
    CFile in;
    if (!in.Open(source, CFile::modeRead | CFile::shareDenyWrite))
        return FALSE;
    // Made new, so that a file appearing meanwhile is not overwritten either.
    HANDLE hOut = ::CreateFileA(target, GENERIC_WRITE, 0, NULL, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, NULL);
    if (hOut == INVALID_HANDLE_VALUE) {
        CloseQuietly(in);
        return FALSE;
    }
    CFile out(hOut);
    BOOL bOK = TRUE;
    TRY {
        for (;;) {
            UINT n = in.Read(buffer.data(), nBufferSize);
            if (n == 0)
                break;
            out.Write(buffer.data(), n);
        }
    }
    CATCH(CFileException, e) {
        bOK = FALSE;
    }
    END_CATCH
    CloseQuietly(in);
    if (!CloseQuietly(out))
        bOK = FALSE;
    if (!bOK)
        ::DeleteFileA(target);
    return bOK;
}

BOOL SECFileSystem::CopyMatchingFiles(const CString& pattern, const CString& targetFolder,
                                      BOOL bContinueOnError, DWORD dwFilter)
{
    std::unique_ptr<CStringList> files(ListFiles(pattern, dwFilter));
    BOOL bAll = TRUE;
    for (POSITION pos = files->GetHeadPosition(); pos != NULL;) {
        CString file = files->GetNext(pos);
        if (!CopyOneFile(file, JoinPath(targetFolder, FileNameOfPath(file)), 10240)) {
            bAll = FALSE;
            if (!bContinueOnError)
                break;
        }
    }
    return bAll;
}

BOOL SECFileSystem::SameContents(const CString& first, const CString& second, UINT nBufferSize)
{
    if (nBufferSize == 0)
        return FALSE;
    std::vector<BYTE> a, b;
    TRY {
        a.resize(nBufferSize);
        b.resize(nBufferSize);
    }
    CATCH_ALL(e) {
        return FALSE;
    }
    END_CATCH_ALL
    CFile f1, f2;
    if (!f1.Open(first, CFile::modeRead | CFile::shareDenyWrite))
        return FALSE;
    if (!f2.Open(second, CFile::modeRead | CFile::shareDenyWrite)) {
        CloseQuietly(f1);
        return FALSE;
    }
    BOOL bSame = FALSE;
    TRY {
        ULARGE_INTEGER l1, l2;
        l1.LowPart = ::GetFileSize((HANDLE)f1.m_hFile, &l1.HighPart);
        l2.LowPart = ::GetFileSize((HANDLE)f2.m_hFile, &l2.HighPart);
        if (l1.QuadPart == l2.QuadPart) {
            bSame = TRUE;
            for (;;) {
                UINT n1 = f1.Read(a.data(), nBufferSize);
                UINT n2 = f2.Read(b.data(), nBufferSize);
                if (n1 != n2 || memcmp(a.data(), b.data(), n1) != 0) {
                    bSame = FALSE;
                    break;
                }
                if (n1 == 0)
                    break;
            }
        }
    }
    CATCH(CFileException, e) {
        bSame = FALSE;
    }
    END_CATCH
    CloseQuietly(f1);
    CloseQuietly(f2);
    return bSame;
}

BOOL SECFileSystem::SameFolders(const CString& firstPattern, const CString& secondPattern,
                                BOOL bRecurse, BOOL bCompareContents, DWORD dwFilter)
{
    if (firstPattern == secondPattern)
        return TRUE;
    CString home = CurrentDirectory();
    std::unique_ptr<CStringList> lists[2];
    const CString* patterns[2] = {&firstPattern, &secondPattern};
    for (int i = 0; i < 2; i++) {
        CString folder = FolderOfPath(*patterns[i]);
        if (!folder.IsEmpty() && !::SetCurrentDirectoryA(folder))
            return FALSE;
        lists[i].reset(ListFiles(FileNameOfPath(*patterns[i]), dwFilter, bRecurse));
        if (!::SetCurrentDirectoryA(home))
            return FALSE;
    }
    if (lists[0]->GetCount() != lists[1]->GetCount())
        return FALSE;
    SortNames(lists[0].get(), TRUE);
    SortNames(lists[1].get(), TRUE);
    CString folder1 = FolderOfPath(firstPattern), folder2 = FolderOfPath(secondPattern);
    POSITION p1 = lists[0]->GetHeadPosition(), p2 = lists[1]->GetHeadPosition();
    while (p1 != NULL && p2 != NULL) {
        CString n1 = lists[0]->GetNext(p1), n2 = lists[1]->GetNext(p2);
        if (n1 != n2)
            return FALSE;
        if (bCompareContents && !SameContents(JoinPath(folder1, n1), JoinPath(folder2, n2)))
            return FALSE;
    }
    return TRUE;
}

BOOL SECFileSystem::CloseQuietly(CFile& file)
{
    TRY {
        file.Close();
    }
    CATCH(CFileException, e) {
        return FALSE;
    }
    END_CATCH
    return TRUE;
}
