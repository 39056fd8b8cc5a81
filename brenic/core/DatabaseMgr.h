// File-level keeper of the clip database: opening with fall-back copies, schema upgrade,
// compact and repair, maintenance scans, transfer of clips between database files, and
// the unsaved capture and import files of the capture folder.
#pragma once
#include <afx.h>

class CDaoDatabase;
class CClipRecord;
class CPeopleRecord;

// The criterion that finds a person by last and first name (parameters in that order). An
// empty first name is stored as Null, which "= ?" never matches: an empty name given here
// also finds a Null one, so that the same person is not added again.
CString PersonNameCriterion(const CString& firstName);

class CDatabaseMgr
{
public:
    CDatabaseMgr();
    virtual ~CDatabaseMgr();

    // Opening and upgrading.
    BOOL OpenDatabase(CString path);
    BOOL OpenDaoDatabase(CDaoDatabase* db, CString path);
    int GetSchemaVersion(CString path);
    BOOL SetSchemaVersion(CString path, int version);
    BOOL UpgradeToVersion1(CString path);
    BOOL UpgradeToVersion2(CString path);
    BOOL UpgradeToVersion3(CString path);
    bool UpgradeToVersion4(CString path);

    // Maintenance.
    void Maintenance();
    BOOL CountInvalidClipRecords();
    BOOL CountInvalidClipFiles();
    void DeleteInvalidClipRecords();
    void DeleteInvalidClipFiles();
    void DeleteGroupReferences(long clipId);
    int GetInvalidRecordCount() const { return m_nInvalidRecords; }
    int GetInvalidFileCount() const { return m_nInvalidFiles; }

    // Transfer between databases.
    CString OpenExportDatabase(CString folder, CString fileName);
    BOOL CreateExportDatabase(CString path);
    BOOL CopyTableDef(CString sourcePath, CString destPath, CString table, BOOL create);
    long ExportClipRecord(long clipId, CString destPath, CString newFileName,
                          CString comparisonFileName, BOOL newGlobalId);
    long CopyClipRecord(long clipId, CString sourcePath, CString destPath, CString newFileName,
                        CString comparisonFileName, BOOL newGlobalId);
    CString FindImportDatabase(CString filePath);
    BOOL CheckImportClip(CString filePath, CString dbPath);
    BOOL IsClipInDatabase(CString filePath, CString sourcePath, CString destPath);
    long ImportClipRecord(CString filePath, CString importDbPath, CString newFileName,
                          CString comparisonFileName);
    CString GetExistingClipFile(CString filePath, CString sourcePath, CString destPath,
                                long* id);
    CString GetComparisonClipFile(CString filePath, CString sourcePath, CString destPath,
                                  long* id);
    BOOL GlobalIdExists(CString guid, CString dbPath);
    // Copies a Person row (with its instructor) between database files unless a person of
    // the same names is there; the row's ID in destPath, -1 when personId has no row or on
    // a database error (shown). An empty path is the main database.
    int CopyPersonRecord(int personId, CString sourcePath, CString destPath);
    // A database file other than the main one opens defensively (see dbOutsideFile); FALSE
    // (the error shown) when it is refused.
    BOOL IsSafeOutsideFile(const CString& path);
    CString GetClipFileByGlobalId(CString guid, CString dbPath);

    // Unsaved capture and import files.
    int CountFiles(CString pattern);
    // At start: a save that was stopped half-way by an older version can have left a row
    // naming an empty (or missing) video while the recording is still a CAP file; such rows
    // go, with their empty files, so that the recording is offered again. A CAP name that is
    // a second name of a saved clip's video (a save stopped after its row was written) goes;
    // a CLP name that no row took (stopped before) goes too. The rows removed.
    int RepairInterruptedSaves();
    void DeleteVideoFiles(DWORD limit);
    void DeleteCaptureFiles(DWORD limit);
    void DeleteUnsavedImportFiles();
    BOOL HandleUnsavedCaptureFiles();

    // Helpers shared with the clip object and the database pages.
    static BOOL IsBareFileName(const CString& name);

    enum { kSmallVideoLimit = 102400 };

    // The file copy under every copy that replaces a database file (copying over an
    // existing file); tests put one that fails in its place.
    typedef BOOL (*CopyFileFunction)(LPCSTR from, LPCSTR to);
    static CopyFileFunction s_pfnCopyFile;
    // Puts a copy of `from` in the place of `to` without ever leaving `to` incomplete. FALSE
    // (with the system error set) leaves `to` as it was.
    static BOOL ReplaceWithCopy(const CString& from, const CString& to);

protected:
    // One step of the upgrade chain (fromVersion to fromVersion + 1) on the working file.
    virtual BOOL RunUpgradeStep(int fromVersion, CString path);

private:
    BOOL UpgradeFile(CString path, int version, CString upgradeCopy);
    void RepairFile(const CString& path);
    BOOL RecreateNameColumns(CString path, BOOL strict);
    long CopyPersonRecord(long personId, CDaoDatabase& source, CDaoDatabase& dest);
    long CopyPersonRow(CPeopleRecord& source, CPeopleRecord& dest);
    long CopyVideoClipRow(CClipRecord& source, CDaoDatabase& dest, BOOL newGlobalId);
    BOOL FindClipByFile(CClipRecord& rs, const CString& filePath);
    BOOL FindClipByFileName(CClipRecord& rs, const CString& fileName);
    CString MainDatabasePath() const;
    BOOL IsOutsideFile(const CString& path) const;
    void OpenFile(CDaoDatabase& db, const CString& path, BOOL readOnly) const;
    CString ClipFileByGlobalId(const CString& dbFile, const CString& guid, long* id);
    CString ResolvePath(CString path) const;

    int m_nInvalidRecords;
    int m_nInvalidFiles;
    int m_nCurrentVersion;
    CString m_strUpgradeCopy;
};

CString NewGuidString();
// Text of a DAO error, as shown to the user.
CString DaoErrorText(class CDaoException* e);
