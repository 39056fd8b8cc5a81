// The DAO classes as the program's recordsets use them, over a database built through them.
#include "gtest_wine.h"

#include <afxwin.h>
#include <afxdao.h>

#include "dao_test_errors.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string g_dir;

CString DbPath(const char* name) { return CString(WinePath(g_dir + "/" + name).c_str()); }

class CPeopleRecord : public CDaoRecordset {
public:
    CPeopleRecord(CDaoDatabase* pdb = NULL) : CDaoRecordset(pdb)
    {
        m_ID = 0;
        m_LastLessonNumber = 0;
        m_InstructorID = 0;
        m_nFields = 6;
        m_nDefaultType = dbOpenDynaset;
    }
    LONG m_ID;
    CString m_LastName, m_FirstName, m_Role;
    short m_LastLessonNumber;
    LONG m_InstructorID;
    CString GetDefaultDBName() override { return DbPath("Quorvel.mdb"); }
    CString GetDefaultSQL() override { return "[Person]"; }
    void DoFieldExchange(CDaoFieldExchange* pFX) override
    {
        pFX->SetFieldType(CDaoFieldExchange::outputColumn);
        DFX_Long(pFX, "[ID]", m_ID);
        DFX_Text(pFX, "[LastName]", m_LastName);
        DFX_Text(pFX, "[FirstName]", m_FirstName);
        DFX_Text(pFX, "[Role]", m_Role);
        DFX_Short(pFX, "[LastLessonNumber]", m_LastLessonNumber);
        DFX_Long(pFX, "[InstructorID]", m_InstructorID);
    }
};

class CClipRecord : public CDaoRecordset {
public:
    CClipRecord(CDaoDatabase* pdb = NULL) : CDaoRecordset(pdb)
    {
        m_ID = m_PersonID = 0;
        m_Mirror = FALSE;
        m_nFields = 8;
        m_nDefaultType = dbOpenDynaset;
    }
    LONG m_ID, m_PersonID;
    CString m_VideoClipName, m_VideoClipFileName, m_GlobalID;
    COleDateTime m_DateTimeStamp;
    CByteArray m_Overlay;
    BOOL m_Mirror;
    CString GetDefaultDBName() override { return DbPath("Quorvel.mdb"); }
    CString GetDefaultSQL() override
    {
        return "SELECT [VideoClip].* FROM [VideoClip] INNER JOIN [Person] ON [VideoClip].[PersonID] = [Person].[ID]";
    }
    void DoFieldExchange(CDaoFieldExchange* pFX) override
    {
        pFX->SetFieldType(CDaoFieldExchange::outputColumn);
        DFX_Long(pFX, "[ID]", m_ID);
        DFX_Long(pFX, "[PersonID]", m_PersonID);
        DFX_Text(pFX, "[VideoClipName]", m_VideoClipName);
        DFX_Text(pFX, "[VideoClipFileName]", m_VideoClipFileName);
        DFX_DateTime(pFX, "[DateTimeStamp]", m_DateTimeStamp);
        DFX_Binary(pFX, "[Overlay]", m_Overlay, 2048, AFX_DAO_DISABLE_FIELD_CACHE);
        DFX_Bool(pFX, "[Mirror]", m_Mirror);
        DFX_Text(pFX, "[GlobalID]", m_GlobalID);
    }
};

class CSystemRecord : public CDaoRecordset {
public:
    CSystemRecord(CDaoDatabase* pdb = NULL) : CDaoRecordset(pdb)
    {
        m_ID = m_Version = 0;
        m_nFields = 2;
        m_nDefaultType = dbOpenTable;
    }
    LONG m_ID, m_Version;
    CString GetDefaultDBName() override { return DbPath("Quorvel.mdb"); }
    CString GetDefaultSQL() override { return "[System]"; }
    void DoFieldExchange(CDaoFieldExchange* pFX) override
    {
        pFX->SetFieldType(CDaoFieldExchange::outputColumn);
        DFX_Long(pFX, "[ID]", m_ID);
        DFX_Long(pFX, "[Version]", m_Version);
    }
};

void AddField(CDaoTableDef& td, const char* name, short type, long size, BOOL zls = FALSE)
{
    CDaoFieldInfo f;
    f.m_strName = name;
    f.m_nType = type;
    f.m_lSize = size;
    f.m_lAttributes = type == dbText || type == dbMemo ? dbVariableField : dbFixedField;
    f.m_nOrdinalPosition = td.GetFieldCount();
    f.m_bRequired = FALSE;
    f.m_bAllowZeroLength = zls;
    f.m_lCollatingOrder = 1033;
    td.CreateField(f);
}

class DaoClasses : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/daoclsXXXXXX";
        g_dir = mkdtemp(tmpl);
        CDaoDatabase db;
        db.Create(DbPath("Quorvel.mdb"), dbLangGeneral);
        CDaoTableDef person(&db);
        person.Create("Person");
        person.CreateField("ID", dbLong, 4, dbAutoIncrField);
        AddField(person, "LastName", dbText, 50);
        AddField(person, "FirstName", dbText, 50);
        AddField(person, "Role", dbText, 50);
        AddField(person, "LastLessonNumber", dbInteger, 2);
        AddField(person, "Comment", dbMemo, 0, TRUE);
        AddField(person, "InstructorID", dbLong, 4);
        person.Append();
        CDaoTableDef clip(&db);
        clip.Create("VideoClip");
        clip.CreateField("ID", dbLong, 4, dbAutoIncrField);
        AddField(clip, "PersonID", dbLong, 4);
        AddField(clip, "VideoClipName", dbText, 250);
        AddField(clip, "Comment", dbText, 255, TRUE);
        AddField(clip, "VideoClipFileName", dbText, 250);
        AddField(clip, "DateTimeStamp", dbDate, 8);
        AddField(clip, "Overlay", dbLongBinary, 0);
        AddField(clip, "Mirror", dbBoolean, 1);
        AddField(clip, "GlobalID", dbGUID, 16);
        CDaoIndexFieldInfo key = {"VideoClipFileName", FALSE};
        CDaoIndexInfo ix;
        ix.m_strName = "FileName";
        ix.m_pFieldInfos = &key;
        ix.m_nFields = 1;
        ix.m_bUnique = TRUE;
        clip.CreateIndex(ix);
        clip.Append();
        CDaoTableDef sys(&db);
        sys.Create("System");
        sys.CreateField("ID", dbLong, 4, dbAutoIncrField);
        sys.CreateField("Version", dbLong, 4);
        sys.Append();
        db.Execute("INSERT INTO Person (LastName, FirstName, Role, InstructorID) VALUES ('Smith', 'Ann', 'Instructor', -1)");
        db.Execute("INSERT INTO Person (LastName, FirstName, Role, InstructorID) VALUES ('Obrien', 'Jo', 'Student', 1)");
        db.Execute("INSERT INTO VideoClip (PersonID, VideoClipName, VideoClipFileName, DateTimeStamp, Mirror) "
                   "VALUES (2, 'a', 'CLP0001.avi', #3/1/2024 10:00:00#, True)");
        db.Execute("INSERT INTO VideoClip (PersonID, VideoClipName, VideoClipFileName) VALUES (77, 'orphan', 'CLP0002.avi')");
        db.Close();
    }

    void TearDown() override { system(("rm -rf " + g_dir).c_str()); }
};


}  // namespace

TEST_F(DaoClasses, RecordsetReadsFiltersAndSorts)
{
    CClipRecord clips;
    clips.Open();
    ASSERT_FALSE(clips.IsEOF());
    EXPECT_EQ(1, clips.m_ID);  // the clip of an unknown person is not shown
    EXPECT_EQ("CLP0001.avi", clips.m_VideoClipFileName);
    EXPECT_TRUE(clips.m_Mirror);
    EXPECT_EQ(2024, clips.m_DateTimeStamp.GetYear());
    EXPECT_EQ(10, clips.m_DateTimeStamp.GetHour());
    clips.MoveNext();
    EXPECT_TRUE(clips.IsEOF());
    clips.Close();

    CPeopleRecord people;
    people.Open();
    EXPECT_EQ(2, people.GetRecordCount());
    people.m_strFilter = "[Role] = 'student'";
    people.Requery();
    EXPECT_EQ("Obrien", people.m_LastName);
    people.m_strFilter = "";
    people.m_strSort = "[LastName] DESC";
    people.Requery();
    EXPECT_EQ("Smith", people.m_LastName);
    EXPECT_EQ(0, people.GetAbsolutePosition());
    people.MoveLast();
    EXPECT_EQ(1, people.GetAbsolutePosition());
    people.SetAbsolutePosition(0);
    EXPECT_EQ("Smith", people.m_LastName);

    COleVariant v = people.GetFieldValue("[LastName]");
    ASSERT_EQ(VT_BSTR, V_VT(&v));
    EXPECT_EQ(CString("Smith"), CString(V_BSTR(&v)));
    EXPECT_EQ(3265, DaoErrorOf([&] { people.GetFieldValue("[Nope]"); }));
}

// Criteria on the clip recordset (its clips joined with their people) name its own columns:
// "ID" is the clip's, as binding takes it, and a qualified name still names the other table.
TEST_F(DaoClasses, JoinedRecordsetCriteriaNameItsOwnColumns)
{
    CDaoDatabase db;
    db.Open(DbPath("Quorvel.mdb"));
    db.Execute("INSERT INTO VideoClip (PersonID, VideoClipName, VideoClipFileName) VALUES (2, 'b', 'CLP0003.avi')");
    db.Execute("INSERT INTO VideoClip (PersonID, VideoClipName, VideoClipFileName) VALUES (1, 'c', 'CLP0004.avi')");
    db.Execute("INSERT INTO VideoClip (PersonID, VideoClipName, VideoClipFileName) VALUES (1, 'b', 'CLP0005.avi')");
    db.Close();
    // Clips 1 and 3 are Obrien's (person 2), 4 and 5 Smith's (person 1); clip 2 has no person.
    typedef std::vector<LONG> Ids;
    CClipRecord clips;
    clips.Open();
    auto all = [&] {
        Ids out;
        for (; !clips.IsEOF(); clips.MoveNext()) out.push_back(clips.m_ID);
        return out;
    };
    ASSERT_EQ(Ids({1, 3, 4, 5}), all());

    struct { const char* criterion; Ids ids; } cases[] = {
        {"ID = 1", {1}},
        {"[ID] >= 3", {3, 4, 5}},
        {"[VideoClip].[ID] <= 3", {1, 3}},
        {"VideoClip!ID = 4", {4}},
        {"[Person].[ID] = 1", {4, 5}},
        {"ID = 1 Or [Person].[ID] = 1", {1, 4, 5}},
        {"VideoClipName = 'b'", {3, 5}},      // a name of the clip table only
        {"[LastName] = 'Obrien'", {1, 3}},    // a name of the person table only
        {"ID = 2", {}},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.criterion);
        const Ids& want = c.ids;
        clips.m_strFilter.Empty();
        clips.Requery();
        ASSERT_EQ(!want.empty(), clips.FindFirst(c.criterion));
        if (!want.empty()) {
            EXPECT_EQ(want.front(), clips.m_ID);
            EXPECT_EQ(want.size() > 1, clips.FindNext(c.criterion));
            if (want.size() > 1) EXPECT_EQ(want[1], clips.m_ID);
            ASSERT_TRUE(clips.FindLast(c.criterion));
            EXPECT_EQ(want.back(), clips.m_ID);
            EXPECT_EQ(want.size() > 1, clips.FindPrev(c.criterion));
            if (want.size() > 1) EXPECT_EQ(want[want.size() - 2], clips.m_ID);
        }
        clips.m_strFilter = c.criterion;
        clips.Requery();
        EXPECT_EQ(want, all());
    }

    clips.m_strFilter.Empty();
    struct { const char* sort; Ids ids; } sorts[] = {
        {"ID DESC", {5, 4, 3, 1}},
        {"[Person].[ID], [ID] DESC", {5, 4, 3, 1}},
        {"[Person].[ID] DESC, VideoClipName, ID DESC", {1, 3, 5, 4}},
        {"[LastName] DESC, [VideoClip].[ID]", {4, 5, 1, 3}},
    };
    for (auto& s : sorts) {
        clips.m_strSort = s.sort;
        clips.Requery();
        EXPECT_EQ(s.ids, all()) << s.sort;
    }

    // A name no table has: a criterion of a search names no field; a filter's unknown name is
    // taken for a parameter of the query.
    clips.m_strSort.Empty();
    clips.Requery();
    EXPECT_EQ(3070, DaoErrorOf([&] { clips.FindFirst("Nope = 1"); }));
    clips.m_strFilter = "Nope = 1";
    EXPECT_EQ(3061, DaoErrorOf([&] { clips.Requery(); }));
}

TEST_F(DaoClasses, AddEditDeleteLikeTheProgram)
{
    CPeopleRecord people;
    people.Open();
    ASSERT_EQ(1, people.m_ID);
    // A row added and saved at once, made current again and edited.
    people.AddNew();
    EXPECT_EQ(dbEditAdd, people.GetEditMode());
    EXPECT_TRUE(people.IsFieldNull(&people.m_LastName));
    people.Update();
    EXPECT_EQ(dbEditNone, people.GetEditMode());
    EXPECT_EQ(1, people.m_ID);  // the row that was current stays current
    people.SetBookmark(people.GetLastModifiedBookmark());
    EXPECT_EQ(3, people.m_ID);
    EXPECT_TRUE(people.IsFieldNull(&people.m_LastName));
    people.Edit();
    people.m_LastName = "O'Brien";
    people.m_FirstName = "J*";
    people.m_Role = "Student";
    people.m_InstructorID = -1;
    people.Update();
    EXPECT_EQ("O'Brien", people.m_LastName);
    EXPECT_FALSE(people.IsFieldNull(&people.m_LastName));

    people.Edit();
    people.m_Role = "Pro";
    people.CancelUpdate();
    EXPECT_EQ("Student", people.m_Role);
    people.Edit();
    people.SetFieldDirty(NULL);  // every field written again; the counter is left alone
    people.Update();
    EXPECT_EQ(3, people.m_ID);
    people.Edit();
    people.m_ID = 9;
    EXPECT_EQ(3164, DaoErrorOf([&] { people.Update(); }));
    people.CancelUpdate();
    EXPECT_EQ(3, people.m_ID);

    // The person named O'Brien with a '*' in the first name: found and filtered through
    // bound values, without the other O'brien-like rows.
    CPeopleRecord other;
    other.Open();
    other.AddNew();
    other.m_LastName = "O'Brien";
    other.m_FirstName = "Jim";
    other.Update();
    ASSERT_TRUE(other.FindFirst("[LastName] Like ? And [FirstName] Like ?",
                                CDaoParams().Add("o'brien").Add(AfxDaoLikeEscape("J*"))));
    EXPECT_EQ(3, other.m_ID);
    EXPECT_FALSE(other.FindNext("[LastName] Like ? And [FirstName] Like ?",
                                CDaoParams().Add("o'brien").Add(AfxDaoLikeEscape("J*"))));
    other.m_strFilter = "[LastName] = ? And [FirstName] = ?";
    other.SetParamValue(0, "O'Brien");
    other.SetParamValue(1, "J*");
    other.Requery();
    EXPECT_EQ(1, other.GetRecordCount());
    EXPECT_EQ(3, other.m_ID);

    // Deleted rows stay in place, marked, until the next requery.
    people.MoveFirst();
    people.MoveNext();
    ASSERT_EQ(2, people.m_ID);
    people.Delete();
    EXPECT_TRUE(people.IsDeleted());
    EXPECT_EQ(3167, DaoErrorOf([&] { people.Edit(); }));
    people.MoveNext();
    EXPECT_EQ(3, people.m_ID);
    people.Requery();
    EXPECT_EQ(3, people.GetRecordCount());
    people.MoveLast();
    people.MoveNext();
    EXPECT_TRUE(people.IsEOF());
    EXPECT_EQ(3021, DaoErrorOf([&] { people.MoveNext(); }));
    EXPECT_EQ(3021, DaoErrorOf([&] { people.Edit(); }));
    EXPECT_EQ(3020, DaoErrorOf([&] { people.Update(); }));
}

TEST_F(DaoClasses, BinaryWithoutCacheIsWrittenOnlyWhenMarked)
{
    CClipRecord clips;
    clips.Open();
    clips.Edit();
    clips.m_Overlay.SetSize(3);
    clips.m_Overlay[0] = 1;
    clips.m_Overlay[1] = 0;
    clips.m_Overlay[2] = 0xFF;
    clips.Update();
    EXPECT_EQ(0, clips.m_Overlay.GetSize());  // the cache cannot see the change
    clips.Edit();
    clips.m_Overlay.SetSize(3);
    clips.m_Overlay[0] = 1;
    clips.m_Overlay[1] = 0;
    clips.m_Overlay[2] = 0xFF;
    clips.SetFieldDirty(&clips.m_Overlay);
    clips.SetFieldNull(&clips.m_Overlay, FALSE);
    clips.m_VideoClipName = "";  // empty text where zero length is not allowed: Null
    clips.Update();
    ASSERT_EQ(3, clips.m_Overlay.GetSize());
    EXPECT_EQ(0xFF, clips.m_Overlay[2]);
    EXPECT_TRUE(clips.IsFieldNull(&clips.m_VideoClipName));

    // A new clip through the join: the null date stays null, the GUID is stored canonically.
    clips.m_strFilter = "[GlobalID] = {guid {aaaaaaaa-bbbb-cccc-dddd-eeeeeeeeeeee}}";
    clips.Requery();
    EXPECT_TRUE(clips.IsEOF());
    clips.AddNew();
    clips.m_PersonID = 1;
    clips.m_VideoClipFileName = "CLP0003.avi";
    clips.m_GlobalID = "{aaaaaaaa-bbbb-cccc-dddd-eeeeeeeeeeee}";
    clips.Update();
    clips.SetBookmark(clips.GetLastModifiedBookmark());
    EXPECT_EQ(3, clips.m_ID);
    EXPECT_EQ("{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}", clips.m_GlobalID);
    EXPECT_EQ(COleDateTime::null, clips.m_DateTimeStamp.GetStatus());
    EXPECT_FALSE(clips.m_Mirror);
    clips.Requery();
    EXPECT_EQ(3, clips.m_ID);

    // A duplicate in a unique index.
    clips.AddNew();
    clips.m_PersonID = 1;
    clips.m_VideoClipFileName = "CLP0001.avi";
    EXPECT_EQ(3022, DaoErrorOf([&] { clips.Update(); }));
}

TEST_F(DaoClasses, SystemTableAndSchemaChanges)
{
    CDaoDatabase db;
    db.Open(DbPath("Quorvel.mdb"));
    CSystemRecord sys(&db);
    sys.Open();
    EXPECT_TRUE(sys.IsBOF() && sys.IsEOF());
    sys.AddNew();
    sys.m_Version = 0;
    sys.Update();
    sys.Requery();
    ASSERT_FALSE(sys.IsEOF());
    EXPECT_EQ(0, sys.m_Version);
    EXPECT_FALSE(sys.IsFieldNull(&sys.m_Version));  // a number left at 0 is stored as 0
    sys.Close();

    // The upgrade's re-creation of a field at an ordinal position keeps every row.
    CDaoTableDef td(&db);
    td.Open("VideoClip");
    CDaoFieldInfo info;
    td.GetFieldInfo(3, info, AFX_DAO_ALL_INFO);
    ASSERT_EQ("Comment", info.m_strName);
    EXPECT_EQ(dbText, info.m_nType);
    info.m_nType = dbMemo;
    info.m_lSize = 0;
    info.m_nOrdinalPosition = 4;
    info.m_bRequired = FALSE;
    info.m_bAllowZeroLength = TRUE;
    td.DeleteField(3);
    td.CreateField(info);
    td.GetFieldInfo(4, info, AFX_DAO_ALL_INFO);
    EXPECT_EQ("Comment", info.m_strName);
    EXPECT_EQ(dbMemo, info.m_nType);
    EXPECT_TRUE(info.m_bAllowZeroLength);
    td.GetFieldInfo(3, info);
    EXPECT_EQ("VideoClipFileName", info.m_strName);
    EXPECT_EQ(9, td.GetFieldCount());
    ASSERT_EQ(2, td.GetIndexCount());
    CDaoIndexInfo ix;
    td.GetIndexInfo(1, ix, AFX_DAO_ALL_INFO);
    EXPECT_EQ("FileName", ix.m_strName);
    ASSERT_EQ(1, ix.m_nFields);
    EXPECT_EQ("VideoClipFileName", ix.m_pFieldInfos[0].m_strName);
    EXPECT_EQ(2, td.GetRecordCount());
    EXPECT_EQ(3280, DaoErrorOf([&] { td.DeleteField("VideoClipFileName"); }));
    td.Close();

    // Copying a table definition into a new database, as the export does.
    CDaoDatabase exp;
    exp.Create(DbPath("Export.mdb"));
    CDaoTableDef src(&db), dst(&exp);
    src.Open("VideoClip");
    dst.Create("VideoClip");
    for (int i = 0; i < src.GetFieldCount(); ++i) {
        src.GetFieldInfo(i, info, AFX_DAO_ALL_INFO);
        dst.CreateField(info);
    }
    for (int i = 0; i < src.GetIndexCount(); ++i) {
        src.GetIndexInfo(i, ix, AFX_DAO_ALL_INFO);
        dst.CreateIndex(ix);
    }
    dst.Append();
    EXPECT_EQ(9, dst.GetFieldCount());
    EXPECT_EQ(2, dst.GetIndexCount());
    CClipRecord copied(&exp);
    copied.Open(dbOpenDynaset, "[VideoClip]");
    EXPECT_TRUE(copied.IsEOF());
    copied.AddNew();
    copied.m_VideoClipFileName = "x.avi";
    copied.Update();
    copied.Requery();
    EXPECT_EQ(1, copied.m_ID);
}

TEST_F(DaoClasses, FilesErrorsCompactAndRepair)
{
    CDaoDatabase db;
    EXPECT_EQ(3024, DaoErrorOf([&] { db.Open(DbPath("missing.mdb")); }));
    EXPECT_FALSE(db.IsOpen());
    EXPECT_EQ(3204, DaoErrorOf([&] { db.Create(DbPath("Quorvel.mdb")); }));
    CPeopleRecord rs;
    EXPECT_EQ(3420, DaoErrorOf([&] { rs.MoveNext(); }));

    {
        CDaoWorkspace ws;
        ws.Open();
        CDaoDatabase a(&ws);
        a.Open(DbPath("Quorvel.mdb"));
        ws.BeginTrans();
        a.Execute("DELETE FROM Person");
        ws.Rollback();
        CPeopleRecord p(&a);
        p.Open();
        EXPECT_EQ(2, p.GetRecordCount());
        EXPECT_EQ(3034, DaoErrorOf([&] { ws.CommitTrans(); }));
    }
    struct stat st;
    std::string main = g_dir + "/Quorvel.mdb";
    EXPECT_NE(0, stat((main + "-journal").c_str(), &st));

    CDaoWorkspace::RepairDatabase(DbPath("Quorvel.mdb"));
    CDaoWorkspace::CompactDatabase(DbPath("Quorvel.mdb"), DbPath("temp.mdb"), dbLangGeneral, 0);
    EXPECT_EQ(3204, DaoErrorOf([&] { CDaoWorkspace::CompactDatabase(DbPath("Quorvel.mdb"), DbPath("temp.mdb")); }));
    ASSERT_EQ(0, rename((g_dir + "/temp.mdb").c_str(), main.c_str()));
    CPeopleRecord p;
    p.Open();
    EXPECT_EQ(2, p.GetRecordCount());
    p.Close();

    std::string junk = g_dir + "/junk.mdb";
    FILE* f = fopen(junk.c_str(), "wb");
    for (int i = 0; i < 4096; ++i) fputc(i * 7, f);
    fclose(f);
    try {
        CDaoWorkspace::RepairDatabase(DbPath("junk.mdb"));
        ADD_FAILURE();
    } catch (CDaoException* e) {
        EXPECT_EQ(3343, e->m_pErrorInfo->m_lErrorCode);
        char text[300];
        e->GetErrorMessage(text, sizeof text);
        EXPECT_NE(nullptr, strstr(text, "junk.mdb"));
        e->Delete();
    }
}

// The record form's exchange: controls show the field, an empty control makes the field Null,
// and a form without a current row shows nothing.
TEST_F(DaoClasses, RecordFormExchange)
{
    HWND parent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 100, NULL, NULL, NULL, NULL);
    ASSERT_TRUE(parent != NULL);
    HWND name = ::CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 100, 20, parent, (HMENU)100, NULL, NULL);
    HWND number = ::CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 30, 100, 20, parent, (HMENU)101, NULL, NULL);
    ASSERT_TRUE(name != NULL && number != NULL);
    CWnd form;
    form.Attach(parent);
    auto exchange = [&](CPeopleRecord& rs, BOOL save) {
        CDataExchange dx(&form, save);
        DDX_FieldText(&dx, 100, rs.m_LastName, &rs);
        DDX_FieldText(&dx, 101, rs.m_InstructorID, &rs);
    };
    auto text = [](HWND h) {
        char buf[64] = "";
        ::GetWindowTextA(h, buf, sizeof buf);
        return std::string(buf);
    };

    CPeopleRecord people;
    people.Open();
    exchange(people, FALSE);
    EXPECT_EQ("Smith", text(name));
    EXPECT_EQ("-1", text(number));

    people.Edit();
    ::SetWindowTextA(name, "");
    ::SetWindowTextA(number, "42");
    exchange(people, TRUE);
    EXPECT_TRUE(people.IsFieldNull(&people.m_LastName));
    EXPECT_EQ(42, people.m_InstructorID);
    people.Update();
    EXPECT_TRUE(people.IsFieldNull(&people.m_LastName));
    EXPECT_EQ(42, people.m_InstructorID);

    people.MoveLast();
    people.MoveNext();
    ASSERT_TRUE(people.IsEOF());
    exchange(people, FALSE);
    EXPECT_EQ("", text(name));
    EXPECT_EQ("", text(number));

    form.Detach();
    ::DestroyWindow(parent);
}
