// The clip database manager over real database files in a folder of its own: fall-back
// copies, schema upgrades, maintenance, transfer between files and the capture folder.
#include "gtest_wine.h"
#include <afxwin.h>
#include <afxdao.h>
#include <map>
#include <set>
#include <string>
#include "AppConfig.h"
#include "DatabaseMgr.h"
#include "Globals.h"
#include "Recordsets.h"
#include "dialog_answers.h"
#include "resource.h"
#include "../video/Clip.h"
#include "ClipBar.h"
#include <sqlite3.h>
#include "jet_db.h"

namespace {

std::string S(const CString& s) { return std::string((LPCTSTR)s); }

// The braced 38-character form of a GUID.
bool IsGuidText(const CString& text)
{
    if (text.GetLength() != 38 || text[0] != '{' || text[37] != '}')
        return false;
    for (int i = 1; i < 37; ++i) {
        const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
        if (dash ? text[i] != '-' : !isxdigit((unsigned char)text[i]))
            return false;
    }
    return true;
}

// Every value of every row of a table, by ID and column name, as text.
typedef std::map<std::string, std::map<std::string, std::string> > TableDump;

std::string VariantText(const COleVariant& value)
{
    if (V_VT(&value) == VT_NULL || V_VT(&value) == VT_EMPTY)
        return "<null>";
    if (V_VT(&value) == (VT_ARRAY | VT_UI1)) {
        std::string bytes = "bytes:";
        SAFEARRAY* array = V_ARRAY(&value);
        BYTE* data = NULL;
        SafeArrayAccessData(array, (void**)&data);
        bytes.append((const char*)data, array->rgsabound[0].cElements);
        SafeArrayUnaccessData(array);
        return bytes;
    }
    VARIANT text;
    VariantInit(&text);
    VariantChangeType(&text, (VARIANT*)(const VARIANT*)&value, 0, VT_BSTR);
    std::string result = S(CString(V_BSTR(&text)));
    VariantClear(&text);
    return result;
}

TableDump Dump(const CString& path, const char* table)
{
    TableDump dump;
    CDaoDatabase db;
    db.Open(path, FALSE, TRUE);
    CDaoRecordset rs(&db);
    rs.Open(dbOpenSnapshot, CString("SELECT * FROM [") + table + "]");
    while (!rs.IsEOF()) {
        std::map<std::string, std::string> row;
        for (int i = 0; i < rs.GetFieldCount(); ++i) {
            CDaoFieldInfo info;
            rs.GetFieldInfo(i, info);
            row[S(info.m_strName)] = VariantText(rs.GetFieldValue(i));
        }
        dump[row["ID"]] = row;
        rs.MoveNext();
    }
    rs.Close();
    db.Close();
    return dump;
}

int RowCount(const CString& path, const char* table)
{
    CDaoDatabase db;
    db.Open(path, FALSE, TRUE);
    CDaoRecordset rs(&db);
    rs.Open(dbOpenSnapshot, CString("SELECT * FROM [") + table + "]");
    int count = 0;
    for (; !rs.IsEOF(); rs.MoveNext())
        ++count;
    rs.Close();
    db.Close();
    return count;
}

void Execute(const CString& path, const char* const* statements)
{
    CDaoDatabase db;
    db.Open(path, FALSE, FALSE);
    for (; *statements; ++statements)
        db.Execute(*statements);
    db.Close();
}

void CreateDatabase(const CString& path, const char* const* statements)
{
    DeleteFileA(path);
    CDaoDatabase db;
    db.Create(path, ";LANGID=0x0409;CP=1252;COUNTRY=0");
    db.Close();
    Execute(path, statements);
}

void MakeFile(const CString& path, size_t size)
{
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    std::string data(size, 'v');
    DWORD written = 0;
    WriteFile(file, data.data(), (DWORD)data.size(), &written, NULL);
    CloseHandle(file);
}

// Moves a file's last-write time by some seconds from now.
void ShiftWriteTime(const CString& path, int seconds)
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER t = {{now.dwLowDateTime, now.dwHighDateTime}};
    t.QuadPart += (LONGLONG)seconds * 10000000LL;
    FILETIME shifted = {t.LowPart, t.HighPart};
    HANDLE file = CreateFileA(path, FILE_WRITE_ATTRIBUTES, 0, NULL, OPEN_EXISTING, 0, NULL);
    SetFileTime(file, NULL, NULL, &shifted);
    CloseHandle(file);
}

bool Exists(const CString& path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// The contents of a file, summarised (size and a hash), for comparisons that print well.
std::string FileBytes(const CString& path);

std::string Contents(const CString& path)
{
    std::string bytes = FileBytes(path);
    if (bytes == "<missing>")
        return bytes;
    return std::to_string(bytes.size()) + " bytes, hash " +
           std::to_string(std::hash<std::string>()(bytes));
}

std::string FileBytes(const CString& path)
{
    std::string bytes;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, NULL) && got)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

const char* const kPeople[] = {
    "INSERT INTO [Person] ([LastName], [FirstName], [Role], [InstructorID], [Comment], "
    "[LastLessonNumber], [L/RHand]) VALUES ('Hale', 'Ida', 'Instructor', -1, 'Teaches', 3, "
    "'Right Hand')",
    "INSERT INTO [Person] ([LastName], [FirstName], [Role], [InstructorID], [Comment], "
    "[LastLessonNumber], [City]) VALUES ('O''Brien', 'Sam*', 'Student', 1, 'Slices; "
    "it''s bad', 7, 'Ayr')",
    NULL,
};

// Two clips of the student, partners of each other, and one clip whose person is missing.
const char* const kClipsV4[] = {
    "INSERT INTO [VideoClip] ([PersonID], [VideoClipName], [Club], [View], [Comment], "
    "[ClipType], [Person2ID], [ComparisonClipID], [VideoClipFileName], [Frames], [Mirror], "
    "[TabString], [TrimIn], [TrimOut], [GlobalID], [future3]) VALUES (2, 'First swing', "
    "'Driver', 'Face on', 'Early release', 'Comparison', 1, 2, 'CLP0001.avi', 120, -1, "
    "'10,20,', 3, 90, {guid {11111111-2222-3333-4444-555555555555}}, 'kept')",
    "INSERT INTO [VideoClip] ([PersonID], [VideoClipName], [Club], [View], [Comment], "
    "[ClipType], [Person2ID], [ComparisonClipID], [VideoClipFileName], [Frames], [GlobalID]) "
    "VALUES (2, 'Pro''s model', '7 Iron', 'Down the line', '', 'Comparison', 0, 1, "
    "'CLP0002.avi', 60, {guid {21111111-2222-3333-4444-555555555555}})",
    "INSERT INTO [VideoClip] ([PersonID], [VideoClipName], [Club], [View], [Comment], "
    "[ClipType], [ComparisonClipID], [VideoClipFileName], [GlobalID]) VALUES (99, 'Orphan', "
    "'Driver', 'Face on', 'no person', 'Swing', -1, 'CLP0003.avi', "
    "{guid {31111111-2222-3333-4444-555555555555}})",
    NULL,
};

// Layouts of earlier schema versions, as their files were laid out: the comments were
// short text before version 2, and clips had no identity before version 1.
std::vector<std::string> SchemaOfVersion(int version)
{
    const std::string comment = version >= 2 ? "MEMO" : "TEXT(255)";
    const std::string guid = version >= 1 ? ", [GlobalID] GUID" : "";
    return {
        "CREATE TABLE [Person] ([ID] COUNTER PRIMARY KEY, [LastName] TEXT(50), [FirstName] "
        "TEXT(50), [Address] TEXT(100), [Address2] TEXT(100), [City] TEXT(50), [State] "
        "TEXT(30), [Zip] TEXT(20), [Phone] TEXT(30), [AltPhone] TEXT(30), [LastLessonNumber] "
        "SHORT, [InstructorID] LONG, [Role] TEXT(50), [Comment] " + comment +
            ", [L/RHand] TEXT(20))",
        "CREATE TABLE [VideoClip] ([ID] COUNTER PRIMARY KEY, [PersonID] LONG, [Person2ID] "
        "LONG, [ComparisonClipID] LONG, [DateTimeStamp] DATETIME, [VideoClipFileName] "
        "TEXT(50), [VideoClipName] TEXT(50), [Club] TEXT(50), [View] TEXT(50), [Comment] " +
            comment +
            ", [LastDisplayPos] LONG, [SoundmarkFieldNbr] LONG, [BackOfStrokeFieldNbr] LONG, "
            "[ClipType] TEXT(50), [TabFieldPos] LONG, [LessonNbr] LONG, [future1] TEXT(255), "
            "[future2] TEXT(255), [future3] TEXT(255), [future4] TEXT(255), [future5] "
            "TEXT(255), [Frames] LONG, [Overlay] LONGBINARY, [Mirror] BIT, [TabString] "
            "TEXT(255), [TrimIn] LONG, [TrimOut] LONG, [IsAutoCap] BIT, [IsImported] BIT" +
            guid + ")",
        "CREATE TABLE [ReferenceClipMaster] ([ID] COUNTER PRIMARY KEY, [Comment] TEXT(255), "
        "[GroupName] TEXT(100))",
        "CREATE TABLE [ReferenceClipGroupDetail] ([RefClipID] LONG, [VideoID] LONG, [Order] "
        "SHORT)",
        "CREATE TABLE [System] ([ID] COUNTER PRIMARY KEY, [Version] LONG)",
    };
}

const char* const kClipsV0[] = {
    "INSERT INTO [VideoClip] ([PersonID], [VideoClipName], [Club], [View], [Comment], "
    "[ClipType], [Person2ID], [ComparisonClipID], [VideoClipFileName], [Frames], [Mirror], "
    "[TabString], [TrimIn], [TrimOut], [future3]) VALUES (2, 'First swing', 'Driver', "
    "'Face on', 'Early release', 'Comparison', 1, 2, 'CLP0001.avi', 120, -1, '10,20,', 3, "
    "90, 'kept')",
    "INSERT INTO [VideoClip] ([PersonID], [VideoClipName], [Club], [View], [Comment], "
    "[ClipType], [Person2ID], [ComparisonClipID], [VideoClipFileName], [Frames]) VALUES (2, "
    "'Pro''s model', '7 Iron', 'Down the line', '', 'Comparison', 0, 1, 'CLP0002.avi', 60)",
    "INSERT INTO [VideoClip] ([PersonID], [VideoClipName], [Club], [View], [Comment], "
    "[ClipType], [ComparisonClipID], [VideoClipFileName]) VALUES (99, 'Orphan', 'Driver', "
    "'Face on', 'no person', 'Swing', -1, 'CLP0003.avi')",
    NULL,
};

class DatabaseTest : public testing::Test
{
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        CString dir;
        dir.Format("%squorvel-db-%lu-%d\\", temp, GetCurrentProcessId(), s_serial++);
        CreateDirectoryA(dir, NULL);
        m_config.SetInstallDir(dir);
        m_capture = dir + "Capture";
        CreateDirectoryA(m_capture, NULL);
        m_config.SetCaptureDirectory(m_capture);
        g_pAppConfig = &m_config;
        m_dir = dir;
        m_main = m_config.GetDatabasePath();
    }

    void TearDown() override
    {
        g_pAppConfig = NULL;
        RemoveTree(m_dir);
    }

    static void RemoveTree(const CString& dir)
    {
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA(dir + "*", &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                CString name = found.cFileName;
                if (name == "." || name == "..")
                    continue;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(dir + name + "\\");
                else {
                    SetFileAttributesA(dir + name, FILE_ATTRIBUTE_NORMAL);
                    DeleteFileA(dir + name);
                }
            } while (FindNextFileA(find, &found));
            FindClose(find);
        }
        RemoveDirectoryA(dir);
    }

    // A current database with two people and three clips.
    void CreateCurrent(const CString& path)
    {
        CreateDatabase(path, kClipDatabaseSchema);
        Execute(path, kPeople);
        Execute(path, kClipsV4);
    }

    CString Copy(const char* name) const { return m_dir + name; }

    static inline int s_serial = 0;
    CAppConfig m_config;
    CString m_dir, m_capture, m_main;
};

} // namespace

TEST_F(DatabaseTest, MissingMainFileFallsBackToTheFirstExistingCopy)
{
    struct { const char* copies[3]; const char* used; } cases[] = {
        {{"quorvel.mdb.alt", "quorvel.mdb.alt2", "quorvel.mdb.bak"}, "quorvel.mdb.alt"},
        {{"quorvel.mdb.alt2", "quorvel.mdb.bak", NULL}, "quorvel.mdb.alt2"},
        {{"quorvel.mdb.bak", NULL, NULL}, "quorvel.mdb.bak"},
    };
    for (const auto& c : cases) {
        for (const char* name : {"quorvel.mdb.alt", "quorvel.mdb.alt2", "quorvel.mdb.bak"})
            DeleteFileA(Copy(name));
        DeleteFileA(m_main);
        for (const char* name : c.copies)
            if (name)
                CreateCurrent(Copy(name));
        // The copy in use is told apart by a person only it holds.
        const char* const marker[] = {
            "INSERT INTO [Person] ([LastName], [FirstName]) VALUES ('Marker', 'Used')", NULL};
        Execute(Copy(c.used), marker);
        const std::string usedBytes = Contents(Copy(c.used));

        DialogAnswers answers;
        CDatabaseMgr mgr;
        EXPECT_TRUE(mgr.OpenDatabase(""));
        EXPECT_TRUE(answers.Saw("Quorvel.mdb file not found, using backup database file"));
        EXPECT_EQ(3, RowCount(m_main, "Person")) << c.used;
        EXPECT_EQ(usedBytes, Contents(m_main)) << c.used;
        EXPECT_EQ(usedBytes, Contents(Copy("quorvel.mdb.alt"))) << c.used;
    }

    for (const char* name : {"quorvel.mdb.alt", "quorvel.mdb.alt2", "quorvel.mdb.bak"})
        DeleteFileA(Copy(name));
    DeleteFileA(m_main);
    DialogAnswers answers;
    CDatabaseMgr mgr;
    EXPECT_TRUE(mgr.OpenDatabase(""));
    EXPECT_TRUE(answers.Saw("Could not find database file."));
    EXPECT_FALSE(Exists(m_main));
}

TEST_F(DatabaseTest, NewerBackupQuestionAndRotation)
{
    for (int answer : {IDYES, IDNO}) {
        CreateCurrent(m_main);
        CreateCurrent(Copy("quorvel.mdb.alt"));
        const char* const extra[] = {
            "INSERT INTO [Person] ([LastName], [FirstName]) VALUES ('Newer', 'Copy')", NULL};
        Execute(Copy("quorvel.mdb.alt"), extra);
        ShiftWriteTime(Copy("quorvel.mdb.alt"), 60);
        const std::string altBefore = Contents(Copy("quorvel.mdb.alt"));

        DialogAnswers answers;
        answers.Queue(answer);
        CDatabaseMgr mgr;
        EXPECT_TRUE(mgr.OpenDatabase(""));
        EXPECT_TRUE(answers.Saw("The backup database file is more recent"));
        EXPECT_EQ(answer == IDYES ? 3 : 2, RowCount(m_main, "Person"));
        // The copies rotate: the second takes the first, the first takes the main file.
        EXPECT_EQ(altBefore, Contents(Copy("quorvel.mdb.alt2")));
        EXPECT_EQ(Contents(m_main), Contents(Copy("quorvel.mdb.alt")));
        EXPECT_FALSE(Exists(Copy("quorvel.mdb.bak")));
    }
}

// A main file that repair cannot mend: each copy is offered in turn, and a refusal ends
// the open.
TEST_F(DatabaseTest, UnreadableMainFileOffersTheCopiesInTurn)
{
    for (int answer : {IDYES, IDNO}) {
        MakeFile(m_main, 5000);
        CreateCurrent(Copy("quorvel.mdb.alt"));
        ShiftWriteTime(Copy("quorvel.mdb.alt"), -60);
        DialogAnswers answers;
        answers.Queue(IDOK);  // the file may be corrupt
        answers.Queue(answer);
        CDatabaseMgr mgr;
        EXPECT_EQ(answer == IDYES, mgr.OpenDatabase("") != FALSE);
        EXPECT_TRUE(answers.Saw("Database file may be corrupt, attempting to repair file..."));
        EXPECT_TRUE(answers.Saw("Would you like to try to use the backup database file?"));
        if (answer == IDYES) {
            EXPECT_EQ(2, RowCount(m_main, "Person"));
        } else {
            EXPECT_TRUE(answers.Saw("Database repair failed."));
        }
        for (const char* name : {"quorvel.mdb.alt", "quorvel.mdb.alt2", "quorvel.mdb.bak"})
            DeleteFileA(Copy(name));
    }
}

namespace {

// Builds a database of an earlier version with the same people and clips.
void CreateOldVersion(const CString& path, int version)
{
    std::vector<std::string> schema = SchemaOfVersion(version);
    std::vector<const char*> statements;
    for (const std::string& s : schema)
        statements.push_back(s.c_str());
    statements.push_back(NULL);
    CreateDatabase(path, statements.data());
    Execute(path, kPeople);
    Execute(path, kClipsV0);
    if (version >= 1) {
        const char* const v1[] = {
            "UPDATE [VideoClip] SET [GlobalID] = {guid {11111111-2222-3333-4444-555555555555}} "
            "WHERE [ID] = 1",
            "UPDATE [VideoClip] SET [GlobalID] = {guid {21111111-2222-3333-4444-555555555555}} "
            "WHERE [ID] = 2",
            "UPDATE [VideoClip] SET [GlobalID] = {guid {31111111-2222-3333-4444-555555555555}} "
            "WHERE [ID] = 3",
            NULL};
        Execute(path, v1);
    }
    if (version > 0) {
        CString set;
        set.Format("INSERT INTO [System] ([Version]) VALUES (%d)", version);
        const char* const row[] = {set, NULL};
        Execute(path, row);
    }
}

int FieldType(const CString& path, const char* table, const char* field, long* size)
{
    CDaoDatabase db;
    db.Open(path, FALSE, TRUE);
    CDaoTableDef td(&db);
    td.Open(table);
    CDaoFieldInfo info;
    td.GetFieldInfo(field, info, AFX_DAO_ALL_INFO);
    td.Close();
    db.Close();
    if (size)
        *size = info.m_lSize;
    return info.m_nType;
}

class FailingUpgrade : public CDatabaseMgr
{
public:
    explicit FailingUpgrade(int failAt) : m_failAt(failAt) {}

protected:
    BOOL RunUpgradeStep(int fromVersion, CString path) override
    {
        if (fromVersion == m_failAt)
            AfxThrowDaoException();
        return CDatabaseMgr::RunUpgradeStep(fromVersion, path);
    }
    int m_failAt;
};

} // namespace

TEST_F(DatabaseTest, OlderVersionsUpgradeKeepingEveryValue)
{
    for (int version : {0, 1, 2}) {
        CreateOldVersion(m_main, version);
        const TableDump clipsBefore = Dump(m_main, "VideoClip");
        const TableDump peopleBefore = Dump(m_main, "Person");

        DialogAnswers answers;
        CDatabaseMgr mgr;
        ASSERT_TRUE(mgr.OpenDatabase("")) << version;
        EXPECT_EQ(0u, answers.Count()) << version;
        EXPECT_EQ(4, mgr.GetSchemaVersion(m_main));
        // The upgrade copy holds the file as it was.
        EXPECT_EQ(clipsBefore, Dump(Copy("quorvel.mdb.bak"), "VideoClip")) << version;
        EXPECT_EQ(version, mgr.GetSchemaVersion(Copy("quorvel.mdb.bak")));

        TableDump clips = Dump(m_main, "VideoClip");
        ASSERT_EQ(3u, clips.size());
        std::set<std::string> guids;
        for (auto& row : clips) {
            const std::string guid = row.second["GlobalID"];
            EXPECT_TRUE(IsGuidText(guid.c_str())) << guid;
            guids.insert(guid);
            if (version == 0)
                row.second.erase("GlobalID");
        }
        EXPECT_EQ(3u, guids.size());
        EXPECT_EQ(clipsBefore, clips) << version;
        EXPECT_EQ(peopleBefore, Dump(m_main, "Person")) << version;

        long size = 0;
        EXPECT_EQ(dbMemo, FieldType(m_main, "VideoClip", "Comment", NULL));
        EXPECT_EQ(dbMemo, FieldType(m_main, "Person", "Comment", NULL));
        FieldType(m_main, "VideoClip", "VideoClipName", &size);
        EXPECT_EQ(250, size);
        FieldType(m_main, "VideoClip", "VideoClipFileName", &size);
        EXPECT_EQ(250, size);
        for (const char* name : {"quorvel.mdb.alt", "quorvel.mdb.alt2", "quorvel.mdb.bak"})
            DeleteFileA(Copy(name));
    }
}

// A file that is not the main database (an export target) is upgraded with its own
// upgrade copy, and no copy of the main database is made or offered.
TEST_F(DatabaseTest, OtherFilesUpgradeWithTheirOwnCopy)
{
    const CString other = m_dir + "Lesson.mdb";
    CreateOldVersion(other, 1);
    DialogAnswers answers;
    CDatabaseMgr mgr;
    EXPECT_TRUE(mgr.OpenDatabase(other));
    EXPECT_EQ(0u, answers.Count());
    EXPECT_EQ(4, mgr.GetSchemaVersion(other));
    EXPECT_EQ(1, mgr.GetSchemaVersion(Copy("export.mdb.bak")));
    EXPECT_FALSE(Exists(Copy("quorvel.mdb.alt")));
    EXPECT_FALSE(Exists(Copy("quorvel.mdb.bak")));
}

TEST_F(DatabaseTest, EmptySystemTableCountsAsVersionZero)
{
    CreateDatabase(m_main, kClipDatabaseSchema);
    const char* const clear[] = {"DELETE FROM [System]", NULL};
    Execute(m_main, clear);
    CDatabaseMgr mgr;
    EXPECT_EQ(0, mgr.GetSchemaVersion(m_main));
    EXPECT_EQ(1, RowCount(m_main, "System"));
}

TEST_F(DatabaseTest, FailedUpgradeLosesNothing)
{
    for (int failAt : {0, 2}) {
        CreateOldVersion(m_main, 0);
        const TableDump clipsBefore = Dump(m_main, "VideoClip");
        const TableDump peopleBefore = Dump(m_main, "Person");
        {
            DialogAnswers answers;
            FailingUpgrade mgr(failAt);
            EXPECT_FALSE(mgr.OpenDatabase(""));
            EXPECT_TRUE(answers.Saw("Database upgrade failed"));
        }
        // The database file and its upgrade copy are both the file as it was.
        const std::string original = Contents(m_main);
        EXPECT_EQ(original, Contents(Copy("quorvel.mdb.bak")));
        EXPECT_EQ(clipsBefore, Dump(m_main, "VideoClip"));
        EXPECT_EQ(peopleBefore, Dump(m_main, "Person"));
        EXPECT_EQ(0, CDatabaseMgr().GetSchemaVersion(m_main));

        // The next start upgrades from there, and the upgrade copy stays the original.
        DialogAnswers answers;
        CDatabaseMgr mgr;
        EXPECT_TRUE(mgr.OpenDatabase(""));
        EXPECT_EQ(4, mgr.GetSchemaVersion(m_main));
        EXPECT_EQ("Early release", Dump(m_main, "VideoClip")["1"]["Comment"]);
        EXPECT_EQ(original, Contents(Copy("quorvel.mdb.bak")));
        for (const char* name : {"quorvel.mdb.alt", "quorvel.mdb.alt2", "quorvel.mdb.bak"})
            DeleteFileA(Copy(name));
    }
}

TEST_F(DatabaseTest, GuidTextsAreDistinctAndBraced)
{
    CString a = NewGuidString(), b = NewGuidString();
    EXPECT_EQ(38, a.GetLength());
    EXPECT_TRUE(IsGuidText(a));
    EXPECT_STRNE(a, b);
}

TEST_F(DatabaseTest, ClipRecordHidesClipsWithoutPerson)
{
    CreateCurrent(m_main);
    CClipRecord rs;
    rs.Open();
    int count = 0;
    for (; !rs.IsEOF(); rs.MoveNext())
        ++count;
    EXPECT_EQ(2, count);
}

namespace {

const char* const kGroups[] = {
    "INSERT INTO [ReferenceClipMaster] ([GroupName]) VALUES ('Drills')",
    "INSERT INTO [ReferenceClipGroupDetail] ([RefClipID], [VideoID], [Order]) VALUES (1, 2, 0)",
    "INSERT INTO [ReferenceClipGroupDetail] ([RefClipID], [VideoID], [Order]) VALUES (1, 1, 1)",
    "INSERT INTO [ReferenceClipMaster] ([GroupName]) VALUES ('Favourites')",
    "INSERT INTO [ReferenceClipGroupDetail] ([RefClipID], [VideoID], [Order]) VALUES (2, 2, 0)",
    NULL,
};

} // namespace

TEST_F(DatabaseTest, MaintenanceCompactsAndKeepsEveryRowWhenAnsweredNo)
{
    CreateCurrent(m_main);
    Execute(m_main, kGroups);
    MakeFile(m_capture + "\\CLP0001.avi", 200000);
    MakeFile(m_capture + "\\CLPstray.avi", 200000);
    const TableDump clips = Dump(m_main, "VideoClip");

    DialogAnswers answers;
    answers.Queue(IDNO);
    answers.Queue(IDNO);
    CDatabaseMgr mgr;
    mgr.Maintenance();
    EXPECT_TRUE(answers.Saw("WARNING: 1 Clip Record(s) were found to be invalid"));
    EXPECT_TRUE(answers.Saw("WARNING: 1 Clip File(s) where found to be invalid"));
    EXPECT_TRUE(answers.Saw("Database maintenance successfully completed."));
    EXPECT_EQ(clips, Dump(m_main, "VideoClip"));
    EXPECT_EQ(3, RowCount(m_main, "ReferenceClipGroupDetail"));
    EXPECT_EQ(clips, Dump(Copy("quorvel.mdb.bak"), "VideoClip"));
    EXPECT_TRUE(Exists(m_capture + "\\CLPstray.avi"));
    EXPECT_FALSE(Exists(Copy("temp.mdb")));
}

TEST_F(DatabaseTest, MaintenanceDeletesInvalidRowsWithTheirGroupsAndUnnamedClipFiles)
{
    CreateCurrent(m_main);
    Execute(m_main, kGroups);
    // Clip 1 has its file; clip 2's file is missing; clip 3 is invisible (no person).
    MakeFile(m_capture + "\\CLP0001.avi", 200000);
    MakeFile(m_capture + "\\CLPstray.avi", 200000);
    MakeFile(m_capture + "\\CAP0001.avi", 1000);
    MakeFile(m_capture + "\\notes.txt", 0);

    DialogAnswers answers;
    answers.Queue(IDYES);
    answers.Queue(IDYES);
    CDatabaseMgr mgr;
    mgr.Maintenance();
    EXPECT_TRUE(answers.Saw("Database maintenance successfully completed."));
    TableDump clips = Dump(m_main, "VideoClip");
    EXPECT_EQ(1u, clips.count("1"));
    EXPECT_EQ(0u, clips.count("2"));
    EXPECT_EQ(1u, clips.count("3"));
    TableDump groups = Dump(m_main, "ReferenceClipGroupDetail");
    ASSERT_EQ(1, RowCount(m_main, "ReferenceClipGroupDetail"));
    EXPECT_TRUE(Exists(m_capture + "\\CLP0001.avi"));
    EXPECT_FALSE(Exists(m_capture + "\\CLPstray.avi"));
    EXPECT_FALSE(Exists(m_capture + "\\CAP0001.avi"));
    EXPECT_TRUE(Exists(m_capture + "\\notes.txt"));
    EXPECT_FALSE(m_config.IsNetworkDatabase());
}

TEST_F(DatabaseTest, ClipFileNamesAreComparedExactly)
{
    CreateCurrent(m_main);
    const char* const odd[] = {
        "UPDATE [VideoClip] SET [VideoClipFileName] = 'CLP''[a]#.avi' WHERE [ID] = 1", NULL};
    Execute(m_main, odd);
    MakeFile(m_capture + "\\CLP'[a]#.avi", 200000);
    MakeFile(m_capture + "\\CLP'x.avi", 200000);
    CDatabaseMgr mgr;
    EXPECT_TRUE(mgr.CountInvalidClipFiles());
    EXPECT_EQ(1, mgr.GetInvalidFileCount());
}

// ---------------------------------------------------------------------------------------
// Transfer

namespace {

// Writes a clip's drawing as the clip object does: the field marked dirty by hand.
void SetOverlay(const CString& path, long clipId, const char* bytes)
{
    CDaoDatabase db;
    db.Open(path, FALSE, FALSE);
    CClipRecord rs(&db);
    rs.Open();
    CString criterion;
    criterion.Format("[VideoClip].[ID] = %d", (int)clipId);
    ASSERT_TRUE(rs.FindFirst(criterion));
    rs.Edit();
    rs.m_Overlay.SetSize((INT_PTR)strlen(bytes));
    memcpy(rs.m_Overlay.GetData(), bytes, strlen(bytes));
    rs.SetFieldDirty(&rs.m_Overlay);
    rs.SetFieldNull(&rs.m_Overlay, FALSE);
    rs.Update();
    rs.Close();
    db.Close();
}

std::map<std::string, std::string> FindRow(const TableDump& dump, const char* column,
                                           const std::string& value)
{
    for (const auto& row : dump)
        if (row.second.count(column) && row.second.at(column) == value)
            return row.second;
    return {};
}

} // namespace

TEST_F(DatabaseTest, ExportCopiesPeopleOnceAndUpdatesClipsByGuid)
{
    CreateCurrent(m_main);
    SetOverlay(m_main, 1, "drawing one");
    CString folder = m_dir + "Export";
    CreateDirectoryA(folder, NULL);
    DialogAnswers answers;
    CDatabaseMgr mgr;
    const CString target = mgr.OpenExportDatabase(folder, "");
    ASSERT_STREQ(folder + "\\Export.mdb", target);
    EXPECT_EQ(4, mgr.GetSchemaVersion(target));

    const long first = mgr.ExportClipRecord(1, target, "CLPx1.avi", "CLPx2.avi", FALSE);
    for (const std::string& shown : answers.Shown())
        ADD_FAILURE() << shown;
    ASSERT_GT(first, 0);
    TableDump people = Dump(target, "Person");
    ASSERT_EQ(2u, people.size());
    auto instructor = FindRow(people, "LastName", "Hale");
    auto student = FindRow(people, "LastName", "O'Brien");
    EXPECT_EQ("-1", instructor["InstructorID"]);
    EXPECT_EQ(instructor["ID"], student["InstructorID"]);
    // The instructor is copied before the student who names it.
    EXPECT_LT(atoi(instructor["ID"].c_str()), atoi(student["ID"].c_str()));

    TableDump clips = Dump(target, "VideoClip");
    ASSERT_EQ(2u, clips.size());
    auto clip = FindRow(clips, "VideoClipFileName", "CLPx1.avi");
    auto partner = FindRow(clips, "VideoClipFileName", "CLPx2.avi");
    EXPECT_EQ("{11111111-2222-3333-4444-555555555555}", clip["GlobalID"]);
    EXPECT_EQ(student["ID"], clip["PersonID"]);
    EXPECT_EQ(instructor["ID"], clip["Person2ID"]);
    EXPECT_EQ(partner["ID"], clip["ComparisonClipID"]);
    EXPECT_EQ(clip["ID"], partner["ComparisonClipID"]);
    EXPECT_EQ("kept", clip["future3"]);
    EXPECT_EQ("Comparison", clip["ClipType"]);

    EXPECT_EQ("bytes:drawing one", clip["Overlay"]);

    // Again: the rows are updated, nothing is added; a changed drawing goes along although
    // the field cache cannot see it.
    SetOverlay(m_main, 1, "drawing two");
    EXPECT_EQ(first, mgr.ExportClipRecord(1, target, "CLPx1.avi", "CLPx2.avi", FALSE));
    EXPECT_EQ(2, RowCount(target, "Person"));
    EXPECT_EQ(2, RowCount(target, "VideoClip"));
    EXPECT_EQ("bytes:drawing two",
              FindRow(Dump(target, "VideoClip"), "VideoClipFileName", "CLPx1.avi")["Overlay"]);

    // Without the partner's file the clip goes as a single swing; a new identity adds a row.
    const long single = mgr.ExportClipRecord(1, target, "CLPx3.avi", "", TRUE);
    EXPECT_NE(first, single);
    clips = Dump(target, "VideoClip");
    EXPECT_EQ(3u, clips.size());
    auto alone = FindRow(clips, "VideoClipFileName", "CLPx3.avi");
    EXPECT_EQ("Swing", alone["ClipType"]);
    EXPECT_EQ("-1", alone["ComparisonClipID"]);
    EXPECT_NE("{11111111-2222-3333-4444-555555555555}", alone["GlobalID"]);
    EXPECT_EQ(0u, answers.Count());

    EXPECT_EQ(-1, mgr.ExportClipRecord(77, target, "CLPx4.avi", "", FALSE));
    EXPECT_TRUE(answers.Saw("Database Error: Record not found"));
}

TEST_F(DatabaseTest, ImportFindsTheDatabaseAndMatchesClipsByGuid)
{
    CreateCurrent(m_main);
    CString folder = m_dir + "Import\\";
    CreateDirectoryA(folder, NULL);
    CDatabaseMgr mgr;
    const CString source = mgr.OpenExportDatabase(folder, "");
    ASSERT_FALSE(source.IsEmpty());
    ASSERT_GT(mgr.ExportClipRecord(1, source, "CLP0001.avi", "CLP0002.avi", FALSE), 0);
    const CString clipFile = folder + "CLP0001.avi";
    MakeFile(clipFile, 200000);
    MakeFile(folder + "CLP0002.avi", 200000);

    EXPECT_STREQ(source, mgr.FindImportDatabase(clipFile));
    EXPECT_TRUE(mgr.IsClipInDatabase(clipFile, source, ""));
    long id = 0;
    EXPECT_STREQ("CLP0001.avi", mgr.GetExistingClipFile(clipFile, source, "", &id));
    EXPECT_EQ(1, id);
    EXPECT_STREQ("CLP0002.avi", mgr.GetComparisonClipFile(clipFile, source, "", &id));
    EXPECT_EQ(2, id);
    EXPECT_TRUE(mgr.GlobalIdExists("{11111111-2222-3333-4444-555555555555}", source));
    EXPECT_FALSE(mgr.GlobalIdExists("{91111111-2222-3333-4444-555555555555}", source));
    EXPECT_STREQ("CLP0001.avi",
                 mgr.GetClipFileByGlobalId("{11111111-2222-3333-4444-555555555555}", ""));

    // Importing the clip the main database already has updates its rows by identity.
    const long imported = mgr.ImportClipRecord(clipFile, source, "CLP0101.avi", "CLP0102.avi");
    EXPECT_EQ(1, imported);
    EXPECT_EQ(3, RowCount(m_main, "VideoClip"));
    EXPECT_EQ(2, RowCount(m_main, "Person"));
    EXPECT_EQ("CLP0101.avi", Dump(m_main, "VideoClip")["1"]["VideoClipFileName"]);

    // A read-only import database is used through a writable copy in the program folder.
    SetFileAttributesA(source, FILE_ATTRIBUTE_READONLY);
    const CString copy = mgr.FindImportDatabase(clipFile);
    EXPECT_STREQ(m_dir + "Export.mdb", copy);
    EXPECT_FALSE(GetFileAttributesA(copy) & FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA(source, FILE_ATTRIBUTE_NORMAL);
}

// Names in an imported database come from elsewhere: a partner file named with a path is
// refused instead of being looked up outside the import folder.
TEST_F(DatabaseTest, ImportRefusesPartnerNamesWithPaths)
{
    CreateCurrent(m_main);
    CString folder = m_dir + "Import\\";
    CreateDirectoryA(folder, NULL);
    CDatabaseMgr mgr;
    const CString source = mgr.OpenExportDatabase(folder, "");
    ASSERT_GT(mgr.ExportClipRecord(1, source, "CLP0001.avi", "..\\CLP0002.avi", FALSE), 0);
    MakeFile(folder + "CLP0001.avi", 200000);
    MakeFile(m_dir + "CLP0002.avi", 200000);

    DialogAnswers answers;
    EXPECT_FALSE(mgr.CheckImportClip(folder + "CLP0001.avi", source));
    EXPECT_TRUE(answers.Saw("Clip's comparison file is not in the import directory"));
    EXPECT_STREQ("", mgr.FindImportDatabase(folder + "CLP0001.avi"));
}

// A database file made elsewhere is opened defensively: one whose clip table is a view or
// has a trigger is refused before any of its rows is read.
TEST_F(DatabaseTest, OutsideDatabasesWithCodeInTheirSchemaAreRefused)
{
    CreateCurrent(m_main);
    CString folder = m_dir + "Import\\";
    CreateDirectoryA(folder, NULL);
    CDatabaseMgr mgr;
    const CString source = mgr.OpenExportDatabase(folder, "");
    ASSERT_GT(mgr.ExportClipRecord(1, source, "CLP0001.avi", "", FALSE), 0);
    const CString clipFile = folder + "CLP0001.avi";
    MakeFile(clipFile, 200000);
    ASSERT_STREQ(source, mgr.FindImportDatabase(clipFile));

    const char* const tricks[] = {
        "CREATE TRIGGER Steal AFTER UPDATE ON Person BEGIN DELETE FROM VideoClip; END",
        "ALTER TABLE VideoClip RENAME TO Real; CREATE VIEW VideoClip AS SELECT * FROM Real",
    };
    const CString plain = m_dir + "plain.mdb";
    ASSERT_TRUE(CopyFileA(source, plain, FALSE));
    for (const char* trick : tricks) {
        SCOPED_TRACE(trick);
        ASSERT_TRUE(CopyFileA(plain, source, FALSE));
        sqlite3* db = nullptr;
        ASSERT_EQ(SQLITE_OK, sqlite3_open(jet::UnixPath((LPCSTR)source).c_str(), &db));
        EXPECT_EQ(SQLITE_OK, sqlite3_exec(db, trick, nullptr, nullptr, nullptr));
        sqlite3_close(db);
        DialogAnswers answers;
        EXPECT_STREQ("", mgr.FindImportDatabase(clipFile));
        EXPECT_FALSE(mgr.IsClipInDatabase(clipFile, source, ""));
        EXPECT_EQ(-1, mgr.CopyPersonRecord(1, "", source));
        EXPECT_STREQ("", mgr.OpenExportDatabase(folder, ""));
        EXPECT_TRUE(answers.Saw("Can't open database"));
    }
}

// An export folder's "Export.mdb" is its database even when another database file would
// be found first; people are copied once, matched by their names.
TEST_F(DatabaseTest, ExportFolderPrefersExportMdbAndPeopleAreCopiedOnce)
{
    CreateCurrent(m_main);
    CString folder = m_dir + "Out";
    CreateDirectoryA(folder, NULL);
    CDatabaseMgr mgr;
    const CString other = mgr.OpenExportDatabase(folder, "Aaa.mdb");
    ASSERT_STREQ(folder + "\\Aaa.mdb", other);
    const CString exportDb = mgr.OpenExportDatabase(folder, "Export.mdb");
    ASSERT_GT(mgr.ExportClipRecord(1, exportDb, "CLPx1.avi", "", FALSE), 0);
    EXPECT_STREQ(exportDb, mgr.OpenExportDatabase(folder, ""));

    DialogAnswers answers;
    const int student = mgr.CopyPersonRecord(2, "", other);
    ASSERT_GT(student, 0);
    EXPECT_EQ(student, mgr.CopyPersonRecord(2, "", other));
    TableDump people = Dump(other, "Person");
    EXPECT_EQ(2u, people.size());  // the student and the instructor named by the student
    EXPECT_EQ("O'Brien", people[std::to_string(student)]["LastName"]);
    EXPECT_EQ(-1, mgr.CopyPersonRecord(99, "", other));
    EXPECT_EQ(0u, answers.Count());
}

// ---------------------------------------------------------------------------------------
// Capture folder

namespace {

struct CaptureFolder
{
    explicit CaptureFolder(const CString& dir) : m_dir(dir + "\\")
    {
        MakeFile(m_dir + "CAPbig.avi", 150000);
        MakeFile(m_dir + "CAPsmall.avi", 50000);
        MakeFile(m_dir + "IMP0001.avi", 150000);
        MakeFile(m_dir + "CLP0001.avi", 1000);
        MakeFile(m_dir + "CLPempty.avi", 0);
        MakeFile(m_dir + "notes.txt", 0);
        MakeFile(m_dir + "mine.avi", 10);
    }
    bool Has(const char* name) const { return Exists(m_dir + name); }
    // Files that are not the system's unsaved recordings or imports are never touched.
    bool OthersKept() const
    {
        return Has("CLP0001.avi") && Has("CLPempty.avi") && Has("notes.txt") &&
               Has("mine.avi");
    }
    CString m_dir;
};

} // namespace

TEST_F(DatabaseTest, UnsavedImportsAreDeletedAndCapturesOffered)
{
    CaptureFolder folder(m_capture);
    CDatabaseMgr mgr;
    mgr.DeleteUnsavedImportFiles();
    EXPECT_FALSE(folder.Has("IMP0001.avi"));
    EXPECT_TRUE(folder.Has("CAPbig.avi"));

    // Closing the question keeps the recordings for the next start.
    {
        DialogAnswers answers;
        answers.Queue(IDCANCEL);
        EXPECT_FALSE(mgr.HandleUnsavedCaptureFiles());
        EXPECT_TRUE(answers.Saw("Restore Temporary Files"));
        EXPECT_TRUE(folder.Has("CAPbig.avi"));
        EXPECT_FALSE(folder.Has("CAPsmall.avi"));
        EXPECT_TRUE(folder.OthersKept());
    }
    {
        // Restored recordings come back as unsaved clips of the clip panel, each with a
        // copy of its own.
        CWnd host;
        ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP, 0, 0, 400, 200,
                                  NULL, NULL));
        CClipBar panel;
        ASSERT_TRUE(panel.CreatePanel(&host, CRect(0, 0, 306, 77), 152));
        DialogAnswers answers;
        answers.Queue(IDC_RESTORE_RESTORE);
        EXPECT_FALSE(mgr.HandleUnsavedCaptureFiles());
        ASSERT_EQ(1, panel.GetStudentCount());
        CClip* clip = panel.GetStudentClip(0);
        EXPECT_TRUE(clip->m_bNew);
        EXPECT_TRUE(clip->m_bImported);
        EXPECT_STREQ(m_capture + "\\", clip->m_strVideoPath.Left(m_capture.GetLength() + 1));
        EXPECT_STREQ("IMP", CClip::GetFileName(clip->m_strVideoPath).Left(3));
        EXPECT_TRUE(Exists(clip->m_strVideoPath));
        EXPECT_TRUE(folder.Has("CAPbig.avi"));
    }
    {
        DialogAnswers answers;
        answers.Queue(IDC_RESTORE_DELETE);
        EXPECT_TRUE(mgr.HandleUnsavedCaptureFiles());
        EXPECT_FALSE(folder.Has("CAPbig.avi"));
        EXPECT_TRUE(folder.OthersKept());
    }
    // Nothing left: no question.
    DialogAnswers answers;
    EXPECT_FALSE(mgr.HandleUnsavedCaptureFiles());
    EXPECT_EQ(0u, answers.Count());
}

TEST_F(DatabaseTest, SweepsTouchOnlyUnsavedRecordingsAndImports)
{
    CaptureFolder folder(m_capture);
    CDatabaseMgr mgr;
    EXPECT_EQ(2, mgr.CountFiles(m_capture + "\\CAP*.avi"));
    mgr.DeleteVideoFiles(CDatabaseMgr::kSmallVideoLimit);
    EXPECT_FALSE(folder.Has("CAPsmall.avi"));
    EXPECT_TRUE(folder.Has("CAPbig.avi"));
    EXPECT_TRUE(folder.Has("IMP0001.avi"));
    EXPECT_TRUE(folder.OthersKept());
    mgr.DeleteCaptureFiles((DWORD)-1);
    EXPECT_FALSE(folder.Has("CAPbig.avi"));
    EXPECT_TRUE(folder.OthersKept());

    // A capture folder with one small recording: swept at start, and no question.
    CaptureFolder again(m_capture);
    DeleteFileA(m_capture + "\\CAPbig.avi");
    DialogAnswers answers;
    EXPECT_FALSE(mgr.HandleUnsavedCaptureFiles());
    EXPECT_EQ(0u, answers.Count());
    EXPECT_FALSE(again.Has("CAPsmall.avi"));
}

namespace {

// A copy that fails once, for the copy made to a given target: it writes half the file, as
// a full disk does, and reports the failure (or, `silent`, reports success).
struct CopyFault
{
    static inline std::string target;
    static inline bool silent = false;
    static inline int hits = 0;

    static BOOL Copy(LPCSTR from, LPCSTR to)
    {
        if (target.empty() || std::string(to).compare(0, target.size(), target) != 0)
            return CopyFileA(from, to, FALSE);
        ++hits;
        target.clear();
        const std::string bytes = FileBytes(from);
        HANDLE file = CreateFileA(to, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        DWORD written = 0;
        WriteFile(file, bytes.data(), (DWORD)bytes.size() / 2, &written, NULL);
        CloseHandle(file);
        if (silent)
            return TRUE;
        SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
};

} // namespace

// A copy that fails at any step that replaces a database file leaves a complete copy holding
// every row, and the next start uses it.
TEST_F(DatabaseTest, FailedCopiesLeaveACompleteDatabaseForTheNextStart)
{
    const char* const marker[] = {
        "INSERT INTO [Person] ([LastName], [FirstName]) VALUES ('Only', 'Main')", NULL};
    struct Case
    {
        const char* step;
        const char* failTarget;  // file name the failing copy writes to
        bool silent;
        const char* message;     // shown for the failure
        int version;             // of the main file (below 4: it is upgraded)
        char main;               // 'c' current, 'j' no database (a copy is restored), 'm' missing
        char first, second;      // what the copies hold after: 'm' main, 'f' first, 's' second
    } cases[] = {
        {"rotation, first to second copy", "quorvel.mdb.alt2", false,
         "Could not create secondary backup database", 4, 'c', 'f', 's'},
        {"rotation, short copy", "quorvel.mdb.alt2", true,
         "Could not create secondary backup database", 4, 'c', 'f', 's'},
        {"rotation, main to first copy", "quorvel.mdb.alt.", false, "Could not backup database", 4,
         'c', 'f', 'f'},
        {"restore of the first copy", "Quorvel.mdb", false, "Could not restore database file", 4,
         'j', 'f', 's'},
        {"copy of a missing main file", "Quorvel.mdb", false,
         "Error when copying backup db to Quorvel.mdb", 4, 'm', 'f', 's'},
        {"upgrade copy", "quorvel.mdb.bak", false, "Database upgrade failed", 2, 'c', 'm', 'f'},
        {"upgrade working copy", "Quorvel.mdb.upgrade", false, "Database upgrade failed", 2, 'c',
         'm', 'f'},
    };
    const CDatabaseMgr::CopyFileFunction systemCopy = CDatabaseMgr::s_pfnCopyFile;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        for (const char* name : {"quorvel.mdb.alt", "quorvel.mdb.alt2", "quorvel.mdb.bak"})
            DeleteFileA(Copy(name));
        // Two older copies, each told apart by what it holds.
        CreateCurrent(Copy("quorvel.mdb.alt"));
        CreateCurrent(Copy("quorvel.mdb.alt2"));
        Execute(Copy("quorvel.mdb.alt2"), kGroups);
        ShiftWriteTime(Copy("quorvel.mdb.alt"), -60);
        ShiftWriteTime(Copy("quorvel.mdb.alt2"), -120);
        DeleteFileA(m_main);
        if (c.main == 'j') {
            MakeFile(m_main, 5000);
        } else if (c.main == 'c') {
            if (c.version < 4)
                CreateOldVersion(m_main, c.version);
            else
                CreateCurrent(m_main);
            Execute(m_main, marker);
        }
        const std::string mainBefore = Contents(m_main);
        const std::string firstBefore = Contents(Copy("quorvel.mdb.alt"));
        const std::string secondBefore = Contents(Copy("quorvel.mdb.alt2"));

        CopyFault::target = S(m_dir) + c.failTarget;
        CopyFault::silent = c.silent;
        CopyFault::hits = 0;
        CDatabaseMgr::s_pfnCopyFile = CopyFault::Copy;
        {
            DialogAnswers answers;
            if (c.main == 'j') {
                answers.Queue(IDOK);   // the file may be corrupt
                answers.Queue(IDYES);  // use the backup
            }
            CDatabaseMgr mgr;
            mgr.OpenDatabase("");
            EXPECT_EQ(1, CopyFault::hits);
            EXPECT_TRUE(answers.Saw(c.message));
        }
        CDatabaseMgr::s_pfnCopyFile = systemCopy;
        CopyFault::target.clear();
        EXPECT_EQ("<missing>", Contents(m_dir + c.failTarget + "tmp"));
        EXPECT_EQ("<missing>", Contents(m_dir + c.failTarget + ".tmp"));
        // The main file is as it was, and each copy holds a complete file.
        EXPECT_EQ(mainBefore, Contents(m_main));
        if (c.main == 'c')
            EXPECT_EQ(3, RowCount(m_main, "Person"));
        auto held = [&](char which) {
            return which == 'm' ? mainBefore : which == 'f' ? firstBefore : secondBefore;
        };
        EXPECT_EQ(held(c.first), Contents(Copy("quorvel.mdb.alt")));
        EXPECT_EQ(held(c.second), Contents(Copy("quorvel.mdb.alt2")));

        // The next start opens a complete database holding every row.
        DialogAnswers answers;
        if (c.main == 'j') {
            answers.Queue(IDOK);
            answers.Queue(IDYES);
        }
        CDatabaseMgr mgr;
        EXPECT_TRUE(mgr.OpenDatabase(""));
        EXPECT_EQ(4, mgr.GetSchemaVersion(m_main));
        EXPECT_EQ(c.main == 'c' ? 3 : 2, RowCount(m_main, "Person"));
        EXPECT_EQ(3, RowCount(m_main, "VideoClip"));
        EXPECT_TRUE(AfxDaoCheckDatabase(m_main));
    }
}

// Maintenance keeps the file as it was in the upgrade copy before anything else; a copy or a
// compaction that fails leaves the database as it was.
TEST_F(DatabaseTest, FailedMaintenanceLeavesTheDatabaseAsItWas)
{
    const CDatabaseMgr::CopyFileFunction systemCopy = CDatabaseMgr::s_pfnCopyFile;
    for (int step = 0; step < 2; ++step) {
        CreateCurrent(m_main);
        Execute(m_main, kGroups);
        const std::string before = Contents(m_main);
        const TableDump clips = Dump(m_main, "VideoClip");
        CreateCurrent(Copy("quorvel.mdb.bak"));
        const std::string oldUpgradeCopy = Contents(Copy("quorvel.mdb.bak"));
        CopyFault::silent = false;
        CopyFault::target.clear();
        if (step == 0)
            CopyFault::target = S(m_dir) + "quorvel.mdb.bak";
        else
            CreateDirectoryA(Copy("temp.mdb"), NULL);  // the compacted file cannot be made
        CDatabaseMgr::s_pfnCopyFile = CopyFault::Copy;
        {
            DialogAnswers answers;
            CDatabaseMgr mgr;
            mgr.Maintenance();
            EXPECT_FALSE(answers.Saw("Database maintenance successfully completed."));
            EXPECT_TRUE(answers.Saw(step == 0 ? "An Error occured" : "Database maintenance failed."));
        }
        CopyFault::target.clear();
        CDatabaseMgr::s_pfnCopyFile = systemCopy;
        EXPECT_EQ(before, Contents(m_main)) << step;
        EXPECT_EQ(clips, Dump(m_main, "VideoClip")) << step;
        EXPECT_EQ(step == 0 ? oldUpgradeCopy : before, Contents(Copy("quorvel.mdb.bak"))) << step;
        RemoveDirectoryA(Copy("temp.mdb"));

        DialogAnswers answers;
        CDatabaseMgr mgr;
        EXPECT_TRUE(mgr.OpenDatabase(""));
        EXPECT_EQ(clips, Dump(m_main, "VideoClip"));
    }
}

// A damaged page of the main file: the repair at start keeps every other row, keeps the
// damaged file, and tells how many rows it could not read. Here the page of the version row
// is lost, so the file is taken through the upgrade again, which keeps every clip's values
// and identity.
TEST_F(DatabaseTest, RepairAtStartKeepsTheDamagedFileAndTellsTheRowsLost)
{
    CreateCurrent(m_main);
    const TableDump clips = Dump(m_main, "VideoClip");
    const TableDump people = Dump(m_main, "Person");
    std::string bytes = FileBytes(m_main);
    ASSERT_EQ(0, (int)(bytes.size() % 4096));
    // The version table's page: the only table page holding one row.
    int damaged = 0;
    for (size_t page = 4096; page < bytes.size(); page += 4096)
        if (bytes[page] == 13 && bytes[page + 3] == 0 && bytes[page + 4] == 1) {
            ASSERT_EQ(0, damaged);
            damaged = (int)(page / 4096) + 1;
            bytes.replace(page, 4096, std::string(4096, '\xFF'));
        }
    ASSERT_NE(0, damaged);
    {
        HANDLE file = CreateFileA(m_main, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        DWORD written = 0;
        WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL);
        CloseHandle(file);
    }

    DialogAnswers answers;
    CDatabaseMgr mgr;
    EXPECT_TRUE(mgr.OpenDatabase(""));
    EXPECT_TRUE(answers.Saw("Database file may be corrupt, attempting to repair file..."));
    EXPECT_TRUE(answers.Saw("could not recover 1 record(s)"));
    EXPECT_EQ(bytes, FileBytes(m_main + ".corrupt"));
    EXPECT_EQ(4, mgr.GetSchemaVersion(m_main));
    EXPECT_EQ(clips, Dump(m_main, "VideoClip"));
    EXPECT_EQ(people, Dump(m_main, "Person"));
}
