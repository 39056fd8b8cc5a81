// Files, folders and drives: path splitting and joining, file status, enumeration with
// attribute filters, creating, copying, comparing and removing files and folder trees, drive
// selection, free space and a write-protection test. Paths are ANSI Windows paths.
//
// Folder links (reparse points) are listed but never entered: a tree walk neither loops
// through a link to an ancestor nor reaches outside the tree through one.
#pragma once
#include "afxwin.h"
#include "afxcoll.h"

class CListBox;
class CComboBox;

// Attribute filter that passes every entry.
#define SECFS_ANY ((DWORD)-1)

class SECFileSystem : public CObject {
    DECLARE_DYNAMIC(SECFileSystem)
public:
    SECFileSystem();
    virtual ~SECFileSystem();

    // Path strings
    static CString JoinPath(const CString& path, const CString& name);
    static CString FileNameOfPath(const CString& path);
    static CString FolderOfPath(const CString& path, BOOL bWithDrive = TRUE);
    static CString ExtensionOfPath(const CString& path);
    static CString BaseNameOfPath(const CString& path);
    static CString DriveOfPath(const CString& path);
    CString FullPath(const CString& path);

    // File status; FALSE (result untouched) when the file cannot be found.
    BOOL FileStatus(const CString& path, CFileStatus& status);
    BOOL FileCreated(const CString& path, CTime& time);
    BOOL FileModified(const CString& path, CTime& time);
    BOOL FileAccessed(const CString& path, CTime& time);
    BOOL FileLength(const CString& path, ULONGLONG& size);
    BOOL FileAttributes(const CString& path, BYTE& attributes);
    BOOL FileExists(const CString& path);
    BOOL IsFolder(const CString& path);

    // Enumeration. A non-empty pattern starts an enumeration, an empty one continues it;
    // lists and found names are new objects the caller deletes.
    BOOL FindEntry(CString& name, const CString& pattern, DWORD dwFilter);
    CString* FindFirstEntry(const CString& pattern, DWORD dwFilter);
    CStringList* ListFolderEntries(const CString& pattern, DWORD dwFilter);
    CStringList* ListSubfolders(const CString& folder, BOOL bFullPaths);
    CStringList* ListFiles(const CString& pattern, DWORD dwFilter = 0, BOOL bRecurse = FALSE,
                           CStringList* pList = NULL);
    CStringList* ListDrives();
    static void SortNames(CStringList* pList, BOOL bCaseSensitive = TRUE);
    static void FillListBox(CListBox* pListBox, const CStringList* pList);
    static void FillComboBox(CComboBox* pComboBox, const CStringList* pList);

    // Folders, drives and volumes
    CString CurrentFolderOf(const CString& path);
    BOOL ChangeFolder(const CString& path);
    BOOL MakeFolder(const CString& path);
    BOOL CreateFolderTree(const CString& path);
    BOOL RemoveFolder(const CString& path, BOOL bRecurse = FALSE);
    ULONGLONG FolderSize(const CString& folder, const CString& pattern = "*.*",
                         BOOL bRecurse = FALSE);
    CString CurrentDriveRoot();
    BOOL SelectDrive(char cLetter);
    BOOL DriveExists(const CString& drive);
    UINT DriveKind(const CString& root);
    CString VolumeLabel(const CString& root);
    LONGLONG FreeBytes(const CString& root);   // -1 when the query fails
    LONGLONG TotalBytes(const CString& root);  // -1 when the query fails
    BOOL IsWriteProtected(const CString& folder);

    // Files
    BOOL RenameFileIfFree(const CString& oldName, const CString& newName);
    BOOL RenameFolderIfFree(const CString& oldName, const CString& newName);
    BOOL DeleteOneFile(const CString& path);
    BOOL DeleteMatchingFiles(const CString& pattern, DWORD dwFilter = 0);
    // Never overwrites; a failed copy leaves no target behind.
    BOOL CopyOneFile(const CString& source, const CString& target, UINT nBufferSize = 10240);
    BOOL CopyMatchingFiles(const CString& pattern, const CString& targetFolder,
                           BOOL bContinueOnError = FALSE, DWORD dwFilter = 0);
    BOOL SameContents(const CString& first, const CString& second, UINT nBufferSize = 10240);
    BOOL SameFolders(const CString& firstPattern, const CString& secondPattern,
                     BOOL bRecurse = FALSE, BOOL bCompareContents = FALSE, DWORD dwFilter = 0);
    static BOOL CloseQuietly(CFile& file);

protected:
    BOOL RenameIfFree(const CString& oldName, const CString& newName,
                      BOOL (SECFileSystem::*pfnPresent)(const CString&));
    BOOL FileTime(const CString& path, CTime& time, CTime CFileStatus::*pWhich);
    void CloseFind();
    // Subfolders (full paths) that a tree walk enters: folder links are left out.
    CStringList* FoldersToEnter(const CString& folder);
    // The subfolders of a folder, full paths or names, with or without links.
    CStringList* Subfolders(const CString& folder, BOOL bFullPaths, BOOL bWithLinks);
    LONGLONG DiskSpace(const CString& root, BOOL bTotal);

    WIN32_FIND_DATAA m_findData;
    HANDLE m_hFind;
};
