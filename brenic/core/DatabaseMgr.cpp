#include "DatabaseMgr.h"
#include <afxwin.h>
#include <afxdao.h>
#include <map>
#include <set>
#include <vector>
#include "AppConfig.h"
#include "FileTask.h"
#include "Globals.h"
#include "ProgressDlg.h"
#include "PromptDlgs.h"
#include "Recordsets.h"
#include "Utility.h"
#include "../browser/DatabaseSheet.h"
#include "../frame/Lesson.h"
#include "../video/Clip.h"

static const char* const kLocaleGeneral = ";LANGID=0x0409;CP=1252;COUNTRY=0";

namespace {

BOOL FileExists(const CString& path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// TRUE when `a` was written later than `b`.
BOOL IsNewer(const CString& a, const CString& b)
{
    WIN32_FILE_ATTRIBUTE_DATA da, db;
    if (!GetFileAttributesExA(a, GetFileExInfoStandard, &da) ||
        !GetFileAttributesExA(b, GetFileExInfoStandard, &db))
        return FALSE;
    return CompareFileTime(&da.ftLastWriteTime, &db.ftLastWriteTime) == 1;
}

// Byte-for-byte comparison: an upgrade may start only from a copy known to be complete.
BOOL SameContent(const CString& a, const CString& b)
{
    HANDLE fa = CreateFileA(a, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (fa == INVALID_HANDLE_VALUE)
        return FALSE;
    HANDLE fb = CreateFileA(b, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (fb == INVALID_HANDLE_VALUE) {
        CloseHandle(fa);
        return FALSE;
    }
    BOOL same = GetFileSize(fa, NULL) == GetFileSize(fb, NULL);
    static char ba[65536], bb[65536];
    while (same) {
        DWORD na = 0, nb = 0;
        if (!ReadFile(fa, ba, sizeof ba, &na, NULL) || !ReadFile(fb, bb, sizeof bb, &nb, NULL) ||
            na != nb || memcmp(ba, bb, na) != 0) {
            same = FALSE;
            break;
        }
        if (na == 0)
            break;
    }
    CloseHandle(fa);
    CloseHandle(fb);
    return same;
}

LONGLONG FileSize(const CString& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data))
        return -1;
    return (LONGLONG)data.nFileSizeHigh << 32 | data.nFileSizeLow;
}

BOOL SystemCopy(LPCSTR from, LPCSTR to)
{
    return CopyFileA(from, to, FALSE);
}

void ShowDaoError(CDaoException* e)
{
    AfxMessageBox(DaoErrorText(e), MB_ICONEXCLAMATION);
}

// A clip recordset reads its table joined with the people, so its key is named with its
// table.
const char* const kClipIdCriterion = "[VideoClip].[ID] = %d";

} // namespace

CString PersonNameCriterion(const CString& firstName)
{
    return firstName.IsEmpty() ? "[LastName] = ? And ([FirstName] = ? Or [FirstName] Is Null)"
                               : "[LastName] = ? And [FirstName] = ?";
}

namespace {

CString Criterion(const char* format, long value)
{
    CString text;
    text.Format(format, (int)value);
    return text;
}

// Clips are found by their identity with the identity given apart from the query text: it
// may come from a database file made elsewhere.
const char* const kGlobalIdCriterion = "[GlobalID] = ?";

void SetGlobalIdFilter(CDaoRecordset& rs, const CString& guid)
{
    rs.m_strFilter = kGlobalIdCriterion;
    rs.m_nParams = 1;
    rs.SetParamValue(0, (LPCSTR)guid);
}

int FindFieldIndex(CDaoTableDef& td, const char* name)
{
    for (int i = 0; i < td.GetFieldCount(); ++i) {
        CDaoFieldInfo info;
        td.GetFieldInfo(i, info, AFX_DAO_PRIMARY_INFO);
        if (info.m_strName.CompareNoCase(name) == 0)
            return i;
    }
    return -1;
}

long VariantToLong(const COleVariant& value)
{
    VARIANT v;
    VariantInit(&v);
    long result = 0;
    if (SUCCEEDED(VariantChangeType(&v, (VARIANT*)(const VARIANT*)&value, 0, VT_I4)))
        result = V_I4(&v);
    VariantClear(&v);
    return result;
}

// Copies the named columns of every row of `table` from the database file `sourcePath`
// into the row with the same ID in `dest`. Rows are paired by their key, never by their
// place in a query, so a row that one query skips cannot shift the others.
void CopyColumnsById(CDaoDatabase& dest, const CString& sourcePath, const char* table,
                     const char* const* columns, int count, BOOL emptyAsNull)
{
    CString sql = "SELECT [ID]";
    for (int i = 0; i < count; ++i)
        sql += CString(", [") + columns[i] + "]";
    sql += CString(" FROM [") + table + "]";

    std::map<long, std::vector<COleVariant> > values;
    {
        CDaoDatabase source;
        source.Open(sourcePath, FALSE, TRUE);
        CDaoRecordset in(&source);
        in.Open(dbOpenSnapshot, sql);
        while (!in.IsEOF()) {
            std::vector<COleVariant>& row = values[VariantToLong(in.GetFieldValue("ID"))];
            for (int i = 0; i < count; ++i)
                row.push_back(in.GetFieldValue(columns[i]));
            in.MoveNext();
        }
        in.Close();
        source.Close();
    }

    CDaoRecordset out(&dest);
    out.Open(dbOpenDynaset, sql);
    while (!out.IsEOF()) {
        std::map<long, std::vector<COleVariant> >::iterator it =
            values.find(VariantToLong(out.GetFieldValue("ID")));
        if (it != values.end()) {
            out.Edit();
            for (int i = 0; i < count; ++i) {
                COleVariant value = it->second[i];
                // A column that allows no zero-length text keeps an empty value as Null.
                if (emptyAsNull && V_VT(&value) == VT_BSTR && SysStringLen(V_BSTR(&value)) == 0)
                    value = COleVariant();
                if (V_VT(&value) == VT_NULL || V_VT(&value) == VT_EMPTY)
                    out.SetFieldValueNull(columns[i]);
                else
                    out.SetFieldValue(columns[i], value);
            }
            out.Update();
        }
        out.MoveNext();
    }
    out.Close();
}

} // namespace

CString DaoErrorText(CDaoException* e)
{
    if (e && e->m_pErrorInfo)
        return e->m_pErrorInfo->m_strDescription;
    return CString("Database error.");
}

CString NewGuidString()
{
    GUID guid;
    CoCreateGuid(&guid);
    WCHAR wide[1024];
    StringFromGUID2(guid, wide, 1024);
    return CString(wide);
}

CDatabaseMgr::CopyFileFunction CDatabaseMgr::s_pfnCopyFile = SystemCopy;

// The copy goes to a temporary name in the target's folder and is checked (its size, and,
// when the source is a sound database, a quick check of the copy) before a rename puts it
// in the target's place, so the target holds either its old file or the complete copy.
BOOL CDatabaseMgr::ReplaceWithCopy(const CString& from, const CString& to)
{
    const CString temp = to + ".tmp";
    DeleteFileA(temp);
    DeleteFileA(temp + "-journal");
    BOOL ok = s_pfnCopyFile(from, temp);
    DWORD error = ok ? ERROR_SUCCESS : GetLastError();
    if (ok && (FileSize(temp) != FileSize(from) ||
               (AfxDaoCheckDatabase(from) && !AfxDaoCheckDatabase(temp)))) {
        ok = FALSE;
        error = ERROR_FILE_INVALID;
    }
    // A journal left beside the file being replaced (a process stopped in the middle of a
    // write to it) belongs to that file: replayed into the copy it would damage it.
    if (ok && !DeleteFileA(to + "-journal") && GetLastError() != ERROR_FILE_NOT_FOUND &&
        GetLastError() != ERROR_PATH_NOT_FOUND) {
        ok = FALSE;
        error = GetLastError();
    }
    if (ok && !MoveFileExA(temp, to, MOVEFILE_REPLACE_EXISTING)) {
        ok = FALSE;
        error = GetLastError();
    }
    if (!ok) {
        DeleteFileA(temp);
        SetLastError(error == ERROR_SUCCESS ? ERROR_WRITE_FAULT : error);
    }
    return ok;
}

CDatabaseMgr::CDatabaseMgr() : m_nInvalidRecords(0), m_nInvalidFiles(0), m_nCurrentVersion(4)
{
}

CDatabaseMgr::~CDatabaseMgr()
{
}

CString CDatabaseMgr::MainDatabasePath() const
{
    return g_pAppConfig ? g_pAppConfig->GetDatabasePath() : CString("Quorvel.mdb");
}

CString CDatabaseMgr::ResolvePath(CString path) const
{
    return path.IsEmpty() ? MainDatabasePath() : path;
}

static CString InstallDir()
{
    return g_pAppConfig ? g_pAppConfig->GetInstallDir() : CString();
}

static CString CaptureDir()
{
    return g_pAppConfig ? g_pAppConfig->GetCaptureDirectory() : CString(".");
}

BOOL CDatabaseMgr::IsBareFileName(const CString& name)
{
    return !name.IsEmpty() && name.FindOneOf("\\/:") < 0 && name != "." && name != "..";
}

// ---------------------------------------------------------------------------------------
// Opening

BOOL CDatabaseMgr::OpenDaoDatabase(CDaoDatabase* db, CString path)
{
    try {
        OpenFile(*db, path, FALSE);
    } catch (CDaoException* e) {
        // A file refused as unsafe is not tried again read-only.
        if (e->m_pErrorInfo && e->m_pErrorInfo->m_lErrorCode == 3049)
            throw;
        e->Delete();
        OpenFile(*db, path, TRUE);
    }
    return TRUE;
}

BOOL CDatabaseMgr::IsOutsideFile(const CString& path) const
{
    return path.CompareNoCase(MainDatabasePath()) != 0;
}

void CDatabaseMgr::OpenFile(CDaoDatabase& db, const CString& path, BOOL readOnly) const
{
    db.Open(path, FALSE, readOnly, "", IsOutsideFile(path) ? dbOutsideFile : 0);
}

int CDatabaseMgr::GetSchemaVersion(CString path)
{
    CDaoDatabase db;
    db.Open(path, FALSE, FALSE);
    CSystemRecord rs(&db);
    rs.Open();
    int version = 0;
    if (rs.IsEOF()) {
        rs.AddNew();
        rs.m_Version = 0;
        rs.Update();
    } else {
        version = (int)rs.m_Version;
    }
    rs.Close();
    db.Close();
    return version;
}

BOOL CDatabaseMgr::SetSchemaVersion(CString path, int version)
{
    CDaoDatabase db;
    db.Open(path, FALSE, FALSE);
    CSystemRecord rs(&db);
    rs.Open();
    if (rs.IsEOF())
        rs.AddNew();
    else
        rs.Edit();
    rs.m_Version = version;
    rs.Update();
    rs.Close();
    db.Close();
    return TRUE;
}

BOOL CDatabaseMgr::OpenDatabase(CString path)
{
    const CString main = MainDatabasePath();
    if (path.IsEmpty())
        path = main;
    const CString dir = InstallDir();
    const CString first = dir + "quorvel.mdb.alt";
    const CString second = dir + "quorvel.mdb.alt2";
    const CString upgrade = dir + "quorvel.mdb.bak";
    const BOOL isMain = path == main;

    if (isMain) {
        if (FileExists(path) && FileExists(first) && IsNewer(first, path) &&
            AfxMessageBox("The backup database file is more recent than the current database "
                          "file.  Do you want to update the current database? (Recommended)",
                          MB_YESNO) == IDYES)
            ReplaceWithCopy(first, path);
        if (!FileExists(path)) {
            CString source;
            if (FileExists(first))
                source = first;
            else if (FileExists(second))
                source = second;
            else if (FileExists(upgrade))
                source = upgrade;
            if (source.IsEmpty()) {
                AfxMessageBox("Could not find database file.");
                return TRUE;
            }
            if (!ReplaceWithCopy(source, path)) {
                AfxMessageBox("Quorvel.mdb file not found.  Error when copying backup db to "
                              "Quorvel.mdb");
                return FALSE;
            }
            AfxMessageBox("Quorvel.mdb file not found, using backup database file");
        }
    }

    try {
        int version = 0;
        BOOL done = FALSE;
        int attempt = 0;
        while (!done && attempt < 4) {
            try {
                version = GetSchemaVersion(path);
                done = TRUE;
            } catch (CDaoException* e) {
                AfxMessageBox("Database file may be corrupt, attempting to repair file...");
                e->Delete();
                ++attempt;
                try {
                    RepairFile(path);
                    version = GetSchemaVersion(path);
                    done = TRUE;
                } catch (CDaoException* failed) {
                    if (!isMain)
                        throw;
                    const char* question = NULL;
                    const char* restoreError = NULL;
                    CString copy;
                    if (attempt == 1 && FileExists(first)) {
                        question = "Database repair failed.  Would you like to try to use the "
                                   "backup database file?";
                        restoreError = "Could not restore database file";
                        copy = first;
                    } else if (attempt <= 2 && FileExists(second)) {
                        attempt = 2;
                        question = "Database repair failed.  Would you like to use the backup "
                                   "database quorvel.mdb.alt2?";
                        restoreError = "Could not restore secondary backup file";
                        copy = second;
                    } else if (attempt <= 3 && FileExists(upgrade)) {
                        attempt = 3;
                        question = "Database repair failed.  Would you like to use the backup "
                                   "database quorvel.mdb.bak?";
                        restoreError = "Could not restore secondary backup file";
                        copy = upgrade;
                    }
                    if (!question || AfxMessageBox(question, MB_YESNO) != IDYES)
                        throw;
                    failed->Delete();
                    if (!ReplaceWithCopy(copy, path)) {
                        AfxMessageBox(restoreError);
                        return FALSE;
                    }
                }
            }
        }
        if (!done)
            return FALSE;

        // Rotation stops at the first failed copy, so that the older copies stay as they
        // were: a first copy that could not move on to the second place is not replaced.
        if (isMain) {
            if (FileExists(first) && !ReplaceWithCopy(first, second))
                AfxMessageBox("Could not create secondary backup database");
            else if (!ReplaceWithCopy(path, first))
                AfxMessageBox("Could not backup database");
        }

        if (version < m_nCurrentVersion)
            return UpgradeFile(path, version, isMain ? upgrade : dir + "export.mdb.bak");
        return TRUE;
    } catch (CDaoException* e) {
        ShowDaoError(e);
        e->Delete();
        AfxMessageBox("Database repair failed.");
        return FALSE;
    }
}

// Upgrades on a working copy and puts it in place only when every step has succeeded, so a
// failure at any point leaves the database file exactly as it was and the upgrade copy
// holding that same file.
BOOL CDatabaseMgr::UpgradeFile(CString path, int version, CString upgradeCopy)
{
    if (!ReplaceWithCopy(path, upgradeCopy)) {
        ShowLastError();
        AfxMessageBox("Database upgrade failed");
        return FALSE;
    }
    if (!SameContent(path, upgradeCopy)) {
        AfxMessageBox("Database upgrade failed");
        return FALSE;
    }
    m_strUpgradeCopy = upgradeCopy;

    const CString work = path + ".upgrade";
    BOOL ok = ReplaceWithCopy(upgradeCopy, work);
    if (!ok)
        ShowLastError();
    try {
        for (int v = version; ok && v < m_nCurrentVersion; ++v)
            ok = RunUpgradeStep(v, work) && SetSchemaVersion(work, v + 1);
    } catch (CDaoException* e) {
        ShowDaoError(e);
        e->Delete();
        ok = FALSE;
    }
    if (ok && !MoveFileExA(work, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
        ShowLastError();
        ok = FALSE;
    }
    if (!ok) {
        DeleteFileA(work);
        AfxMessageBox("Database upgrade failed");
    }
    return ok;
}

BOOL CDatabaseMgr::RunUpgradeStep(int fromVersion, CString path)
{
    switch (fromVersion) {
    case 0: return UpgradeToVersion1(path);
    case 1: return UpgradeToVersion2(path);
    case 2: return UpgradeToVersion3(path);
    case 3: return UpgradeToVersion4(path) ? TRUE : FALSE;
    }
    return FALSE;
}

BOOL CDatabaseMgr::UpgradeToVersion1(CString path)
{
    CDaoDatabase db;
    db.Open(path, FALSE, FALSE);
    {
        CDaoTableDef td(&db);
        td.Open("VideoClip");
        if (FindFieldIndex(td, "GlobalID") < 0) {
            CDaoFieldInfo info;
            info.m_strName = "GlobalID";
            info.m_nType = dbGUID;
            info.m_lSize = 16;
            info.m_lAttributes = dbFixedField;
            info.m_nOrdinalPosition = 30;
            info.m_bRequired = FALSE;
            info.m_bAllowZeroLength = FALSE;
            info.m_lCollatingOrder = 1033;
            info.m_strSourceField = "GlobalID";
            info.m_strSourceTable = "VideoClip";
            td.CreateField(info);
        }
        td.Close();
    }
    {
        // Every clip row gets its identity, also one whose person is missing. A row that
        // already has one keeps it (a repaired file whose version row was lost comes here
        // again): exported copies of the clip are known by it.
        CClipRecord rs(&db);
        rs.Open(dbOpenDynaset, "SELECT * FROM [VideoClip]");
        while (!rs.IsEOF()) {
            if (rs.m_GlobalID.IsEmpty()) {
                rs.Edit();
                rs.m_GlobalID = NewGuidString();
                rs.Update();
            }
            rs.MoveNext();
        }
        rs.Close();
    }
    db.Close();
    return TRUE;
}

BOOL CDatabaseMgr::UpgradeToVersion2(CString path)
{
    static const char* const comment[] = {"Comment"};
    static const char* const tables[] = {"VideoClip", "Person"};
    static const short positions[] = {10, 14};
    for (int t = 0; t < 2; ++t) {
        CDaoDatabase db;
        db.Open(path, FALSE, FALSE);
        BOOL recreated = FALSE;
        {
            CDaoTableDef td(&db);
            td.Open(tables[t]);
            int index = FindFieldIndex(td, "Comment");
            if (index >= 0) {
                CDaoFieldInfo info;
                td.GetFieldInfo(index, info, AFX_DAO_PRIMARY_INFO);
                if (info.m_nType != dbMemo) {
                    info.m_nType = dbMemo;
                    info.m_lSize = 0;
                    info.m_nOrdinalPosition = positions[t];
                    info.m_bRequired = FALSE;
                    info.m_bAllowZeroLength = TRUE;
                    td.DeleteField(index);
                    td.CreateField(info);
                    recreated = TRUE;
                }
            }
            td.Close();
        }
        if (recreated)
            CopyColumnsById(db, m_strUpgradeCopy, tables[t], comment, 1, FALSE);
        db.Close();
    }
    return TRUE;
}

// Widens the two name columns of a clip to 250 characters; `strict` also makes them
// optional but never zero-length.
BOOL CDatabaseMgr::RecreateNameColumns(CString path, BOOL strict)
{
    static const char* const names[] = {"VideoClipFileName", "VideoClipName"};
    static const short positions[] = {6, 7};
    CDaoDatabase db;
    db.Open(path, FALSE, FALSE);
    BOOL recreated = FALSE;
    {
        CDaoTableDef td(&db);
        td.Open("VideoClip");
        for (int n = 0; n < 2; ++n) {
            int index = FindFieldIndex(td, names[n]);
            if (index < 0)
                continue;
            CDaoFieldInfo info;
            td.GetFieldInfo(index, info, AFX_DAO_ALL_INFO);
            info.m_lSize = 250;
            info.m_nOrdinalPosition = positions[n];
            if (strict) {
                info.m_bRequired = FALSE;
                info.m_bAllowZeroLength = FALSE;
            }
            td.DeleteField(index);
            td.CreateField(info);
            recreated = TRUE;
        }
        td.Close();
    }
    if (recreated)
        CopyColumnsById(db, m_strUpgradeCopy, "VideoClip", names, 2, strict);
    db.Close();
    return TRUE;
}

BOOL CDatabaseMgr::UpgradeToVersion3(CString path)
{
    return RecreateNameColumns(path, FALSE);
}

bool CDatabaseMgr::UpgradeToVersion4(CString path)
{
    return RecreateNameColumns(path, TRUE) != FALSE;
}

// Repairs a database file in place; the damaged file stays beside it (".corrupt"), and rows
// the repair could not read are reported.
void CDatabaseMgr::RepairFile(const CString& path)
{
    CDaoWorkspace workspace;
    workspace.Open();
    long lost = 0;
    workspace.RepairDatabase(path, &lost);
    workspace.Close();
    if (lost > 0) {
        CString text;
        text.Format("The database repair could not recover %ld record(s). The damaged file was "
                    "kept beside the database as %s.corrupt.",
                    lost, (LPCSTR)CExtString(path).GetPathFileName());
        AfxMessageBox(text, MB_ICONEXCLAMATION);
    }
}

// ---------------------------------------------------------------------------------------
// Maintenance

void CDatabaseMgr::Maintenance()
{
    CFileTask task;
    if (g_pAppConfig)
        g_pAppConfig->SetNetworkDatabase(FALSE);
    // The sheet's recordsets hold the file open; a sheet whose loop runs (maintenance
    // asked for from inside it) cannot go, and the file cannot be compacted under it.
    if (g_pDatabaseSheet && g_pDatabaseSheet->IsInModalLoop()) {
        AfxMessageBox("Close the database browser before the database maintenance.");
        return;
    }
    if (g_pDatabaseSheet) {
        delete g_pDatabaseSheet;
        g_pDatabaseSheet = NULL;
    }

    CProgressDlg progress(FALSE);
    progress.SetMessage("Compacting and Repairing database...");
    progress.SetRange(5);
    progress.Show(AfxGetMainWnd());
    m_nInvalidRecords = 0;
    m_nInvalidFiles = 0;

    CDaoWorkspace workspace;
    try {
        workspace.Open();
    } catch (CDaoException* e) {
        ShowDaoError(e);
        e->Delete();
    }
    progress.StepIt();
    if (g_pLesson)
        g_pLesson->CloseRecordset();

    const CString dbPath = MainDatabasePath();
    const CString dir = InstallDir();
    const CString temp = dir + "temp.mdb";
    const CString backup = dir + "quorvel.mdb.bak";
    try {
        // The upgrade copy takes the file as it was, before repair and compaction touch it;
        // the file itself is replaced only by a complete, checked compacted copy.
        if (!ReplaceWithCopy(dbPath, backup)) {
            ShowLastError();
            if (g_pLesson)
                g_pLesson->ReopenRecordset();
            return;
        }
        RepairFile(dbPath);
        progress.StepIt();
        DeleteFileA(temp);
        workspace.CompactDatabase(dbPath, temp, kLocaleGeneral, 0);
        BOOL sound = AfxDaoCheckDatabase(temp);
        if (!sound)
            SetLastError(ERROR_FILE_INVALID);
        if (!sound || !MoveFileExA(temp, dbPath, MOVEFILE_REPLACE_EXISTING)) {
            ShowLastError();
            DeleteFileA(temp);
            if (g_pLesson)
                g_pLesson->ReopenRecordset();
            return;
        }
        progress.StepIt();
        progress.SetMessage("Searching for invalid clip records...");
        if (CountInvalidClipRecords()) {
            CString question;
            question.Format("WARNING: %d Clip Record(s) were found to be invalid (no "
                            "corresponding clip file). Do you wish to delete these records?",
                            m_nInvalidRecords);
            if (AfxMessageBox(question, MB_YESNO) == IDYES)
                DeleteInvalidClipRecords();
        }
        progress.StepIt();
        progress.SetMessage("Searching for invalid clip files...");
        if (CountInvalidClipFiles()) {
            CString question;
            question.Format("WARNING: %d Clip File(s) where found to be invalid (no "
                            "corresponding clip record). Do you wish to delete these files?",
                            m_nInvalidFiles);
            if (AfxMessageBox(question, MB_YESNO) == IDYES)
                DeleteInvalidClipFiles();
        }
        DeleteVideoFiles(kSmallVideoLimit);
        progress.StepIt();
        AfxMessageBox("Database maintenance successfully completed.", MB_ICONINFORMATION);
    } catch (CDaoException* e) {
        ShowDaoError(e);
        e->Delete();
        AfxMessageBox("Database maintenance failed. Please correct the problem and try again.",
                      MB_ICONERROR);
    }
    if (g_pLesson)
        g_pLesson->ReopenRecordset();
    if (workspace.IsOpen())
        workspace.Close();
}

BOOL CDatabaseMgr::CountInvalidClipRecords()
{
    const CString folder = CaptureDir();
    CClipRecord rs;
    rs.Open();
    while (!rs.IsEOF()) {
        if (!FileExists(folder + "\\" + rs.m_VideoClipFileName))
            ++m_nInvalidRecords;
        rs.MoveNext();
    }
    rs.Close();
    return m_nInvalidRecords != 0;
}

void CDatabaseMgr::DeleteInvalidClipRecords()
{
    const CString folder = CaptureDir();
    CClipRecord rs;
    rs.Open();
    while (!rs.IsEOF()) {
        if (!FileExists(folder + "\\" + rs.m_VideoClipFileName)) {
            long id = rs.m_ID;
            rs.Delete();
            DeleteGroupReferences(id);
        }
        rs.MoveNext();
    }
    rs.Close();
}

void CDatabaseMgr::DeleteGroupReferences(long clipId)
{
    CRefClipGroupDetail rs;
    rs.Open();
    const CString criterion = Criterion("VideoID = %d", clipId);
    while (rs.FindFirst(criterion))
        rs.Delete();
    rs.Close();
}

BOOL CDatabaseMgr::CountInvalidClipFiles()
{
    const CString folder = CaptureDir();
    if (CountFiles(folder + "\\CLP*.avi") == 0)
        return FALSE;
    CClipRecord rs;
    rs.Open();
    if (rs.IsEOF()) {
        rs.Close();
        return FALSE;
    }
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(folder + "\\CLP*.avi", &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!FindClipByFileName(rs, found.cFileName))
                ++m_nInvalidFiles;
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    rs.Close();
    return m_nInvalidFiles != 0;
}

void CDatabaseMgr::DeleteInvalidClipFiles()
{
    DeleteVideoFiles(kSmallVideoLimit);
    const CString folder = CaptureDir();
    if (CountFiles(folder + "\\CLP*.avi") == 0)
        return;
    CClipRecord rs;
    rs.Open();
    if (rs.IsEOF()) {
        rs.Close();
        return;
    }
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(folder + "\\CLP*.avi", &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!FindClipByFileName(rs, found.cFileName) &&
                !DeleteFileA(folder + "\\" + found.cFileName))
                ShowLastError();
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    rs.Close();
}

// ---------------------------------------------------------------------------------------
// Finding clips

// Finds the row that names the file exactly: the name is given apart from the query and
// compared for equality, so characters such as ' * ? [ # in a file name neither break nor
// widen the search.
BOOL CDatabaseMgr::FindClipByFileName(CClipRecord& rs, const CString& fileName)
{
    return rs.FindFirst("[VideoClipFileName] = ?", CDaoParams().Add(fileName));
}

BOOL CDatabaseMgr::FindClipByFile(CClipRecord& rs, const CString& filePath)
{
    return FindClipByFileName(rs, CExtString(filePath).GetPathFileName());
}

// ---------------------------------------------------------------------------------------
// Transfer

CString CDatabaseMgr::OpenExportDatabase(CString folder, CString fileName)
{
    if (!folder.IsEmpty() && folder[folder.GetLength() - 1] != '\\')
        folder += '\\';
    // The export writes its rows back as "Export.mdb": an existing one is the database of
    // the folder, whatever other database file a search would find first.
    CString pattern = fileName;
    if (pattern.IsEmpty())
        pattern = FileExists(folder + "Export.mdb") ? "Export.mdb" : "*.mdb";
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(folder + pattern, &found);
    if (find != INVALID_HANDLE_VALUE) {
        FindClose(find);
        CString path = folder + found.cFileName;
        if (!IsSafeOutsideFile(path))
            return CString();
        return OpenDatabase(path) ? path : CString();
    }
    CString path = folder + (fileName.IsEmpty() ? CString("Export.mdb") : fileName);
    return CreateExportDatabase(path) ? path : CString();
}

BOOL CDatabaseMgr::CreateExportDatabase(CString path)
{
    CDaoDatabase db;
    try {
        db.Create(path, kLocaleGeneral);
        db.Close();
        const CString main = MainDatabasePath();
        CopyTableDef(main, path, "VideoClip", TRUE);
        CopyTableDef(main, path, "Person", TRUE);
        CopyTableDef(main, path, "System", TRUE);
        db.Open(path, FALSE, FALSE);
        CSystemRecord rs(&db);
        rs.Open();
        rs.AddNew();
        rs.m_Version = m_nCurrentVersion;
        rs.Update();
        rs.Close();
        db.Close();
        return TRUE;
    } catch (CDaoException* e) {
        ShowDaoError(e);
        e->Delete();
        if (db.IsOpen())
            db.Close();
        DeleteFileA(path);
        return FALSE;
    }
}

BOOL CDatabaseMgr::CopyTableDef(CString sourcePath, CString destPath, CString table,
                                BOOL create)
{
    CDaoDatabase source;
    source.Open(sourcePath, FALSE, TRUE);
    CDaoDatabase dest;
    dest.Open(destPath, FALSE, FALSE);
    {
        CDaoTableDef from(&source);
        from.Open(table);
        CDaoTableDef to(&dest);
        if (create)
            to.Create(table);
        else
            to.Open(table);
        for (int i = 0; i < from.GetFieldCount(); ++i) {
            CDaoFieldInfo info;
            from.GetFieldInfo(i, info, AFX_DAO_ALL_INFO);
            to.CreateField(info);
        }
        for (int i = 0; i < from.GetIndexCount(); ++i) {
            CDaoIndexInfo info;
            from.GetIndexInfo(i, info, AFX_DAO_ALL_INFO);
            to.CreateIndex(info);
        }
        if (create)
            to.Append();
        to.Close();
        from.Close();
    }
    dest.Close();
    source.Close();
    return TRUE;
}

long CDatabaseMgr::ExportClipRecord(long clipId, CString destPath, CString newFileName,
                                    CString comparisonFileName, BOOL newGlobalId)
{
    return CopyClipRecord(clipId, MainDatabasePath(), destPath, newFileName,
                          comparisonFileName, newGlobalId);
}

long CDatabaseMgr::CopyClipRecord(long clipId, CString sourcePath, CString destPath,
                                  CString newFileName, CString comparisonFileName,
                                  BOOL newGlobalId)
{
    try {
        CDaoDatabase source;
        OpenDaoDatabase(&source, sourcePath);
        CDaoDatabase dest;
        OpenFile(dest, destPath, FALSE);
        CClipRecord rs(&source);
        rs.Open();
        const CString findClip = Criterion(kClipIdCriterion, clipId);
        if (!rs.FindFirst(findClip)) {
            AfxMessageBox("Database Error: Record not found");
            return -1;
        }
        // The second person named by a clip is copied like its subject, so that the copy
        // never names whoever happens to hold that ID in the other file.
        const long destPerson = CopyPersonRecord(rs.m_PersonID, source, dest);
        const long destPerson2 =
            rs.m_Person2ID > 0 ? CopyPersonRecord(rs.m_Person2ID, source, dest) : rs.m_Person2ID;

        long newPartner = -1;
        long partnerId = rs.m_ComparisonClipID;
        BOOL partnerDropped = FALSE;
        BOOL partnerPointsBack = FALSE;
        if (partnerId != -1 && !comparisonFileName.IsEmpty()) {
            if (!rs.FindFirst(Criterion(kClipIdCriterion, partnerId))) {
                AfxMessageBox("Database Error: Record not found");
                return -1;
            }
            partnerPointsBack = rs.m_ComparisonClipID == clipId;
            rs.m_PersonID = CopyPersonRecord(rs.m_PersonID, source, dest);
            if (rs.m_Person2ID > 0)
                rs.m_Person2ID = CopyPersonRecord(rs.m_Person2ID, source, dest);
            rs.m_VideoClipFileName = comparisonFileName;
            // Its link is set once the clip it points to has its row in the other file.
            rs.m_ComparisonClipID = -1;
            newPartner = CopyVideoClipRow(rs, dest, FALSE);
        } else if (partnerId != -1) {
            partnerDropped = TRUE;
        }

        if (!rs.FindFirst(findClip)) {
            AfxMessageBox("Database Error: Record not found");
            return -1;
        }
        rs.m_PersonID = destPerson;
        rs.m_Person2ID = destPerson2;
        rs.m_ComparisonClipID = newPartner;
        rs.m_VideoClipFileName = newFileName;
        if (partnerDropped)
            rs.m_ClipType = "Swing";
        long result = CopyVideoClipRow(rs, dest, newGlobalId);

        if (partnerPointsBack && newPartner != -1 && result != -1) {
            CClipRecord partner(&dest);
            partner.Open(dbOpenDynaset, "SELECT * FROM [VideoClip]");
            if (partner.FindFirst(Criterion(kClipIdCriterion, newPartner))) {
                partner.Edit();
                partner.m_ComparisonClipID = result;
                partner.Update();
            }
            partner.Close();
        }
        rs.Close();
        return result;
    } catch (CDaoException* e) {
        ShowDaoError(e);
        e->Delete();
        return -1;
    }
}

static void CopyClipFields(const CClipRecord& s, CClipRecord& d)
{
    d.m_Club = s.m_Club;
    d.m_View = s.m_View;
    d.m_Comment = s.m_Comment;
    d.m_LastDisplayPos = s.m_LastDisplayPos;
    d.m_SoundmarkFieldNbr = s.m_SoundmarkFieldNbr;
    d.m_BackOfStrokeFieldNbr = s.m_BackOfStrokeFieldNbr;
    d.m_ClipType = s.m_ClipType;
    d.m_TabFieldPos = s.m_TabFieldPos;
    d.m_LessonNbr = s.m_LessonNbr;
    d.m_future1 = s.m_future1;
    d.m_future2 = s.m_future2;
    d.m_future3 = s.m_future3;
    d.m_future4 = s.m_future4;
    d.m_future5 = s.m_future5;
    d.m_PersonID = s.m_PersonID;
    d.m_Person2ID = s.m_Person2ID;
    d.m_ComparisonClipID = s.m_ComparisonClipID;
    d.m_VideoClipFileName = s.m_VideoClipFileName;
    d.m_VideoClipName = s.m_VideoClipName;
    d.m_DateTimeStamp = s.m_DateTimeStamp;
    d.m_Frames = s.m_Frames;
    d.m_Overlay.Copy(s.m_Overlay);
    d.m_Mirror = s.m_Mirror;
    d.m_TabString = s.m_TabString;
    d.m_TrimIn = s.m_TrimIn;
    d.m_TrimOut = s.m_TrimOut;
    d.m_IsAutoCap = s.m_IsAutoCap;
    d.m_IsImported = s.m_IsImported;
    d.m_GlobalID = s.m_GlobalID;
}

long CDatabaseMgr::CopyVideoClipRow(CClipRecord& source, CDaoDatabase& dest, BOOL newGlobalId)
{
    // A copy that is to get an identity of its own never replaces the row of the original.
    CClipRecord rs(&dest);
    SetGlobalIdFilter(rs, newGlobalId ? CString() : source.m_GlobalID);
    rs.Open();
    long id;
    if (!newGlobalId && !rs.IsEOF()) {
        id = rs.m_ID;
        rs.Edit();
        CopyClipFields(source, rs);
        rs.SetFieldDirty(&rs.m_Overlay);
        rs.SetFieldNull(&rs.m_Overlay, FALSE);
        rs.Update();
    } else {
        rs.AddNew();
        CopyClipFields(source, rs);
        if (newGlobalId)
            rs.m_GlobalID = NewGuidString();
        rs.SetFieldDirty(&rs.m_Overlay);
        rs.SetFieldNull(&rs.m_Overlay, FALSE);
        rs.Update();
        rs.SetBookmark(rs.GetLastModifiedBookmark());
        id = rs.m_ID;
    }
    rs.Close();
    return id;
}

int CDatabaseMgr::CopyPersonRecord(int personId, CString sourcePath, CString destPath)
{
    try {
        CDaoDatabase source;
        OpenDaoDatabase(&source, ResolvePath(sourcePath));
        CDaoDatabase dest;
        OpenFile(dest, ResolvePath(destPath), FALSE);
        return (int)CopyPersonRecord((long)personId, source, dest);
    } catch (CDaoException* e) {
        ShowDaoError(e);
        e->Delete();
        return -1;
    }
}

BOOL CDatabaseMgr::IsSafeOutsideFile(const CString& path)
{
    try {
        CDaoDatabase db;
        OpenFile(db, path, TRUE);
        db.Close();
        return TRUE;
    } catch (CDaoException* e) {
        ShowDaoError(e);
        e->Delete();
        return FALSE;
    }
}

long CDatabaseMgr::CopyPersonRecord(long personId, CDaoDatabase& source, CDaoDatabase& dest)
{
    CPeopleRecord person(&source);
    person.Open();
    if (!person.FindFirst(Criterion("ID = %d", personId))) {
        person.Close();
        return -1;
    }
    CPeopleRecord instructor(&source);
    instructor.Open();
    BOOL hasInstructor = person.m_InstructorID != -1 &&
                         instructor.FindFirst(Criterion("ID = %d", person.m_InstructorID));
    CPeopleRecord target(&dest);
    target.Open();
    if (hasInstructor) {
        instructor.m_InstructorID = -1;
        person.m_InstructorID = CopyPersonRow(instructor, target);
    } else {
        person.m_InstructorID = -1;
    }
    long id = CopyPersonRow(person, target);
    target.Close();
    instructor.Close();
    person.Close();
    return id;
}

long CDatabaseMgr::CopyPersonRow(CPeopleRecord& s, CPeopleRecord& d)
{
    // People are matched by their exact names, given apart from the query text.
    if (d.FindFirst(PersonNameCriterion(s.m_FirstName),
                    CDaoParams().Add(s.m_LastName).Add(s.m_FirstName)))
        return d.m_ID;
    d.AddNew();
    d.m_Address = s.m_Address;
    d.m_Address2 = s.m_Address2;
    d.m_AltPhone = s.m_AltPhone;
    d.m_City = s.m_City;
    d.m_Comment = s.m_Comment;
    d.m_FirstName = s.m_FirstName;
    d.m_LastName = s.m_LastName;
    d.m_LRHand = s.m_LRHand;
    d.m_LastLessonNumber = s.m_LastLessonNumber;
    d.m_Phone = s.m_Phone;
    d.m_Role = s.m_Role;
    d.m_State = s.m_State;
    d.m_Zip = s.m_Zip;
    d.m_InstructorID = s.m_InstructorID;
    d.Update();
    d.SetBookmark(d.GetLastModifiedBookmark());
    return d.m_ID;
}

CString CDatabaseMgr::FindImportDatabase(CString filePath)
{
    try {
        const CString folder = CExtString(filePath).GetPathFolder();
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA(folder + "*.mdb", &found);
        if (find == INVALID_HANDLE_VALUE)
            return CString();
        FindClose(find);
        CString path = folder + found.cFileName;
        if (!CheckImportClip(filePath, path))
            return CString();
        DWORD attributes = GetFileAttributesA(path);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
            CString copy = InstallDir() + "Export.mdb";
            if (!ReplaceWithCopy(path, copy)) {
                ShowLastError();
                return CString();
            }
            SetFileAttributesA(copy, GetFileAttributesA(copy) & ~FILE_ATTRIBUTE_READONLY);
            path = copy;
        }
        return path;
    } catch (CDaoException* e) {
        ShowDaoError(e);
        e->Delete();
        return CString();
    }
}

BOOL CDatabaseMgr::CheckImportClip(CString filePath, CString dbPath)
{
    CDaoDatabase db;
    OpenDaoDatabase(&db, dbPath);
    CClipRecord rs(&db);
    rs.Open();
    if (rs.IsEOF() || !FindClipByFile(rs, filePath))
        return FALSE;
    if (rs.m_ComparisonClipID == -1)
        return TRUE;
    if (!rs.FindFirst(Criterion(kClipIdCriterion, rs.m_ComparisonClipID))) {
        AfxMessageBox("Clip's comparison record is not in the import database");
        return FALSE;
    }
    // The partner's name comes from a file made elsewhere: only a plain file name in the
    // import folder is accepted.
    const CString partner = rs.m_VideoClipFileName;
    if (!IsBareFileName(partner) ||
        !FileExists(CExtString(filePath).GetPathFolder() + partner)) {
        AfxMessageBox("Clip's comparison file is not in the import directory");
        return FALSE;
    }
    return TRUE;
}

BOOL CDatabaseMgr::IsClipInDatabase(CString filePath, CString sourcePath, CString destPath)
{
    try {
        CDaoDatabase source;
        OpenDaoDatabase(&source, ResolvePath(sourcePath));
        CClipRecord rs(&source);
        rs.Open();
        CDaoDatabase dest;
        OpenFile(dest, ResolvePath(destPath), FALSE);
        CClipRecord target(&dest);
        target.Open();
        if (rs.IsEOF() || !FindClipByFile(rs, filePath))
            return FALSE;
        SetGlobalIdFilter(target, rs.m_GlobalID);
        target.Requery();
        return !target.IsEOF();
    } catch (CDaoException* e) {
        ShowDaoError(e);
        e->Delete();
        return FALSE;
    }
}

long CDatabaseMgr::ImportClipRecord(CString filePath, CString importDbPath, CString newFileName,
                                    CString comparisonFileName)
{
    long clipId;
    try {
        CDaoDatabase source;
        OpenDaoDatabase(&source, importDbPath);
        CClipRecord rs(&source);
        rs.Open();
        if (rs.IsEOF() || !FindClipByFile(rs, filePath))
            return 0;
        clipId = rs.m_ID;
    } catch (CDaoException* e) {
        ShowDaoError(e);
        e->Delete();
        return 0;
    }
    long id = CopyClipRecord(clipId, importDbPath, MainDatabasePath(), newFileName,
                             comparisonFileName, FALSE);
    return id == -1 ? 0 : id;
}

// The file name of the clip with this GlobalID in the database file (and its ID), or an
// empty name when it has none or its name is not a bare file name.
CString CDatabaseMgr::ClipFileByGlobalId(const CString& dbFile, const CString& guid,
                                         long* id)
{
    CDaoDatabase db;
    OpenFile(db, dbFile, FALSE);
    CClipRecord rs(&db);
    SetGlobalIdFilter(rs, guid);
    rs.Open();
    if (rs.IsEOF() || !CDatabaseMgr::IsBareFileName(rs.m_VideoClipFileName))
        return CString();
    if (id)
        *id = rs.m_ID;
    return rs.m_VideoClipFileName;
}

CString CDatabaseMgr::GetExistingClipFile(CString filePath, CString sourcePath,
                                          CString destPath, long* id)
{
    try {
        CDaoDatabase source;
        OpenDaoDatabase(&source, ResolvePath(sourcePath));
        CClipRecord rs(&source);
        rs.Open();
        if (rs.IsEOF() || !FindClipByFile(rs, filePath))
            return CString();
        return ClipFileByGlobalId(ResolvePath(destPath), rs.m_GlobalID, id);
    } catch (CDaoException* e) {
        ShowDaoError(e);
        e->Delete();
        return CString();
    }
}

CString CDatabaseMgr::GetComparisonClipFile(CString filePath, CString sourcePath,
                                            CString destPath, long* id)
{
    try {
        CDaoDatabase source;
        OpenDaoDatabase(&source, ResolvePath(sourcePath));
        CClipRecord rs(&source);
        rs.Open();
        if (rs.IsEOF() || !FindClipByFile(rs, filePath) || rs.m_ComparisonClipID == -1)
            return CString();
        if (!rs.FindFirst(Criterion(kClipIdCriterion, rs.m_ComparisonClipID)))
            return CString();
        return ClipFileByGlobalId(ResolvePath(destPath), rs.m_GlobalID, id);
    } catch (CDaoException* e) {
        ShowDaoError(e);
        e->Delete();
        return CString();
    }
}

BOOL CDatabaseMgr::GlobalIdExists(CString guid, CString dbPath)
{
    CDaoDatabase db;
    OpenDaoDatabase(&db, dbPath);
    CClipRecord rs(&db);
    rs.Open();
    if (rs.IsEOF())
        return FALSE;
    return rs.FindFirst(kGlobalIdCriterion, CDaoParams().Add(guid));
}

CString CDatabaseMgr::GetClipFileByGlobalId(CString guid, CString dbPath)
{
    try {
        return ClipFileByGlobalId(ResolvePath(dbPath), guid, nullptr);
    } catch (CDaoException* e) {
        ShowDaoError(e);
        e->Delete();
        return CString();
    }
}

// ---------------------------------------------------------------------------------------
// Unsaved capture and import files

int CDatabaseMgr::CountFiles(CString pattern)
{
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(pattern, &found);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    int count = 0;
    do
        ++count;
    while (FindNextFileA(find, &found));
    FindClose(find);
    return count;
}

namespace {
// Deletes the files matching `pattern` in `folder` whose length is at most `limit`.
void DeleteFilesUpTo(const CString& folder, const char* pattern, ULONGLONG limit)
{
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(folder + "\\" + pattern, &found);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        ULONGLONG length = ((ULONGLONG)found.nFileSizeHigh << 32) | found.nFileSizeLow;
        if (length <= limit)
            DeleteFileA(folder + "\\" + found.cFileName);
    } while (FindNextFileA(find, &found));
    FindClose(find);
}
} // namespace

// Only the system's own unsaved recordings and imports are swept: saved clips and files
// the user keeps in the folder are never deleted, whatever their size.
void CDatabaseMgr::DeleteVideoFiles(DWORD limit)
{
    const CString folder = CaptureDir();
    DeleteFilesUpTo(folder, "CAP*.avi", limit);
    DeleteFilesUpTo(folder, "IMP*.avi", limit);
}

void CDatabaseMgr::DeleteCaptureFiles(DWORD limit)
{
    DeleteFilesUpTo(CaptureDir(), "CAP*.avi", limit == (DWORD)-1 ? ~0ULL : (ULONGLONG)limit);
}

void CDatabaseMgr::DeleteUnsavedImportFiles()
{
    const CString folder = CaptureDir();
    const int count = CountFiles(folder + "\\IMP*.avi");
    if (count == 0)
        return;
    CFileTask task;
    CProgressDlg progress(FALSE);
    progress.SetMessage("Deleting unsaved imported files...");
    progress.SetRange(count);
    progress.Show(AfxGetMainWnd());
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(folder + "\\IMP*.avi", &found);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!DeleteFileA(folder + "\\" + found.cFileName))
            ShowLastError();
        progress.StepIt();
    } while (FindNextFileA(find, &found));
    FindClose(find);
}

namespace {

// The file's identity and its count of names; FALSE when it cannot be read.
BOOL FileIdentity(const CString& path, ULONGLONG* id, DWORD* links)
{
    HANDLE file = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    BY_HANDLE_FILE_INFORMATION info;
    const BOOL ok = GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    if (!ok)
        return FALSE;
    *id = (ULONGLONG)info.nFileIndexHigh << 32 | info.nFileIndexLow;
    *links = info.nNumberOfLinks;
    return TRUE;
}

} // namespace

int CDatabaseMgr::RepairInterruptedSaves()
{
    const CString folder = CaptureDir();
    const DWORD attributes = GetFileAttributesA(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return 0;
    // Names a save gave twice: CAP and CLP names of one file.
    std::map<ULONGLONG, CString> capNames;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(folder + "\\CAP*.avi", &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            ULONGLONG id = 0;
            DWORD links = 0;
            const CString path = folder + "\\" + found.cFileName;
            if (FileIdentity(path, &id, &links) && links > 1)
                capNames[id] = path;
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }

    int removed = 0;
    std::set<ULONGLONG> saved;
    // Every row, also one whose person is gone.
    CClipRecord rs;
    rs.Open(dbOpenDynaset, "[VideoClip]");
    // A row naming a missing video is taken for a stopped save only while other rows' videos
    // are there: a capture folder that was moved or emptied leaves every row as it is.
    std::vector<long> missing;
    BOOL anyPresent = FALSE;
    while (!rs.IsEOF()) {
        const CString name = rs.m_VideoClipFileName;
        const CString path = folder + "\\" + name;
        const LONGLONG size = IsBareFileName(name) ? FileSize(path) : -1;
        ULONGLONG id = 0;
        DWORD links = 0;
        if (size > 0) {
            anyPresent = TRUE;
            if (!capNames.empty() && FileIdentity(path, &id, &links) && links > 1)
                saved.insert(id);
        } else if (size == 0) {
            const long row = rs.m_ID;
            rs.Delete();
            DeleteGroupReferences(row);
            DeleteFileA(path);
            ++removed;
        } else if (!name.IsEmpty() && !IsBareFileName(name)) {
            // a name the program never writes: not its own to judge
        } else {
            missing.push_back(rs.m_ID);
        }
        rs.MoveNext();
    }
    rs.Close();
    if (anyPresent || removed) {
        for (long row : missing) {
            CClipRecord one;
            one.Open(dbOpenDynaset, "[VideoClip]");
            if (one.FindFirst(Criterion("[ID] = %d", row))) {
                one.Delete();
                DeleteGroupReferences(row);
                ++removed;
            }
            one.Close();
        }
    }
    for (const auto& cap : capNames) {
        if (saved.count(cap.first)) {
            DeleteFileA(cap.second);
            continue;
        }
        // The CLP name of a save stopped before its row: the recording keeps its own name.
        find = FindFirstFileA(folder + "\\CLP*.avi", &found);
        if (find == INVALID_HANDLE_VALUE)
            continue;
        do {
            ULONGLONG id = 0;
            DWORD links = 0;
            const CString path = folder + "\\" + found.cFileName;
            if (FileIdentity(path, &id, &links) && id == cap.first) {
                CClipRecord named;
                named.Open(dbOpenDynaset, "[VideoClip]");
                if (!FindClipByFileName(named, found.cFileName))
                    DeleteFileA(path);
                named.Close();
            }
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    return removed;
}

BOOL CDatabaseMgr::HandleUnsavedCaptureFiles()
{
    DeleteVideoFiles(kSmallVideoLimit);
    const CString folder = CaptureDir();
    const CString pattern = folder + "\\CAP*.avi";
    const int count = CountFiles(pattern);
    if (count == 0)
        return FALSE;

    CRestoreTempDlg question(AfxGetMainWnd());
    const INT_PTR answer = question.DoModal();
    if (answer == IDC_RESTORE_RESTORE) {
        CStringArray files;
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA(pattern, &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                ULONGLONG length = ((ULONGLONG)found.nFileSizeHigh << 32) | found.nFileSizeLow;
                CString path = folder + "\\" + found.cFileName;
                if (length <= kSmallVideoLimit)
                    DeleteFileA(path);
                else
                    files.Add(path);
            } while (FindNextFileA(find, &found));
            FindClose(find);
        }
        for (int i = 0; i < files.GetSize(); ++i)
            CClip::ImportClipFiles(files[i], 0);
        return FALSE;
    }
    // Only an explicit Delete removes the recordings; closing the question keeps them for
    // the next start.
    if (answer != IDC_RESTORE_DELETE)
        return FALSE;

    CFileTask task;
    CProgressDlg progress(FALSE);
    progress.SetMessage("Deleting unsaved capture files...");
    progress.SetRange(count);
    progress.Show(AfxGetMainWnd());
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(pattern, &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!DeleteFileA(folder + "\\" + found.cFileName))
                ShowLastError();
            progress.StepIt();
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    return TRUE;
}
