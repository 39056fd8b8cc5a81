// The engine against a small clip database built through it: the program's queries and
// filters, dynaset behaviour, table changes, compaction and repair.
#include "gtest_wine.h"

#include "jet_db.h"
#include "jet_text.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

using namespace jet;

namespace {

FieldDef F(const char* name, int type, long size = 0, bool zls = false)
{
    FieldDef f;
    f.name = name;
    f.type = type;
    f.size = size ? size : TypeSize(type);
    f.allowZeroLength = zls;
    return f;
}

FieldDef Counter(const char* name)
{
    FieldDef f = F(name, kLong);
    f.attributes = kFixedField | kAutoIncrField;
    return f;
}

class Db : public ::testing::Test {
protected:
    std::string dir, path;

    void SetUp() override
    {
        char tmpl[] = "/tmp/daotestXXXXXX";
        dir = mkdtemp(tmpl);
        path = dir + "/Quorvel.mdb";
        auto db = Database::Create(path);
        db->CreateTable("Person", {Counter("ID"), F("LastName", kText, 50), F("FirstName", kText, 50),
                                   F("Role", kText, 50), F("InstructorID", kLong),
                                   F("Comment", kMemo, 0, true)});
        db->CreateTable("VideoClip", {Counter("ID"), F("PersonID", kLong), F("VideoClipName", kText, 250),
                                      F("ClipType", kText, 50), F("Comment", kMemo, 0, true),
                                      F("VideoClipFileName", kText, 250), F("DateTimeStamp", kDate),
                                      F("Overlay", kLongBinary), F("Mirror", kBoolean), F("GlobalID", kGuid)});
        db->CreateTable("ReferenceClipGroupDetail", {F("RefClipID", kLong), F("VideoID", kLong), F("Order", kInteger)});
        db->Execute("INSERT INTO Person (LastName, FirstName, Role, InstructorID) VALUES ('Smith', 'Ann', 'Instructor', -1)");
        db->Execute("INSERT INTO Person (LastName, FirstName, Role, InstructorID) VALUES ('Jones', 'Bob', 'Student', 1)");
        db->Execute("INSERT INTO Person (LastName, FirstName, Role, InstructorID) VALUES ('Brown', 'Cy', 'Pro', -1)");
        const char* clips[] = {
            "(2, 'Jones,Bob Swing', 'Swing', 'CLP0001.avi', #1/10/2024 10:00:00#, '{11111111-2222-3333-4444-555555555551}')",
            "(2, 'Jones,Bob Drill', 'Drill', 'CLP0002.avi', #1/20/2024 10:00:00#, '{11111111-2222-3333-4444-555555555552}')",
            "(3, 'Brown,Cy Swing', 'Swing', 'CLP0003.avi', #1/25/2024 10:00:00#, '{11111111-2222-3333-4444-555555555553}')",
            "(99, 'orphan', 'Swing', 'CLP0004.avi', #1/26/2024 10:00:00#, '{11111111-2222-3333-4444-555555555554}')",
        };
        for (const char* c : clips)
            db->Execute(std::string("INSERT INTO VideoClip (PersonID, VideoClipName, ClipType, VideoClipFileName, "
                                    "DateTimeStamp, GlobalID) VALUES ") + c);
        db->Execute("INSERT INTO ReferenceClipGroupDetail VALUES (1, 1, 0)");
        db->Execute("INSERT INTO ReferenceClipGroupDetail VALUES (1, 3, 1)");
    }

    void TearDown() override { system(("rm -rf " + dir).c_str()); }

    std::shared_ptr<Database> OpenDb(bool readOnly = false) { return Database::Open(path, readOnly); }

    // IDs (first column) of every row of a cursor, in order.
    static std::vector<int64_t> Ids(Cursor& c, int column = 0)
    {
        std::vector<int64_t> out;
        if (c.IsBOF() && c.IsEOF()) return out;
        c.MoveFirst();
        while (!c.IsEOF()) {
            out.push_back(c.Get(column).AsInt());
            c.MoveNext();
        }
        return out;
    }

    static const char* kClipJoin;
};

const char* Db::kClipJoin =
    "SELECT [VideoClip].* FROM [VideoClip] INNER JOIN [Person] ON [VideoClip].[PersonID] = [Person].[ID]";

typedef std::vector<int64_t> V;

template <class F>
long ErrorOf(F f)
{
    try {
        f();
    } catch (const Error& e) {
        return e.code;
    }
    return 0;
}

}  // namespace

TEST_F(Db, QueriesAndFiltersOfTheProgram)
{
    auto db = OpenDb();
    struct { const char* source; const char* filter; const char* sort; V ids; } cases[] = {
        // the join hides the clip whose person does not exist
        {kClipJoin, "", "", V{1, 2, 3}},
        {kClipJoin, "[ClipType] = 'swing'", "", V{1, 3}},  // text equality ignores case
        {kClipJoin, "VideoClipFileName Like 'clp0002.AVI'", "", V{2}},
        {kClipJoin, "VideoClipFileName Like 'CLP000?.avi' And [ClipType] = 'Drill'", "", V{2}},
        {kClipJoin, "[VideoClip].[DateTimeStamp]>CDate('01/15/2024 00:00:00')", "", V{2, 3}},
        {kClipJoin, "[Person].[Role] = 'Student' AND [Person].[InstructorID] = 1", "", V{1, 2}},
        {kClipJoin, "[GlobalID] =  {11111111-2222-3333-4444-555555555553}", "", V{3}},
        {kClipJoin, "[GlobalID]  = {guid {11111111-2222-3333-4444-555555555552}}", "", V{2}},
        {kClipJoin, "[GlobalID] = '{11111111-2222-3333-4444-555555555552}'", "", V{2}},
        {kClipJoin, "", "[ClipType] DESC, [VideoClipName]", V{3, 1, 2}},
        {"[VideoClip]", "[VideoClip].[ID] = 4", "", V{4}},
        {"[Person]", "[LastName] Like 'j*' And [FirstName] Like '?ob'", "", V{2}},
        {"[Person]", "[LastName] Like 'Smith' And [FirstName] Like 'Ann' And (Not [ID] = 1)", "", V{}},
        {"SELECT * FROM Person WHERE Person.[Role] = 'Instructor' ORDER BY Person.[LastName],Person.[FirstName]", "", "", V{1}},
        {"Select * From [ReferenceClipGroupDetail] WHERE [RefClipID] = 1 AND [VideoID] = 3", "", "", V{1}},
    };
    for (auto& c : cases) {
        Cursor cur(db, c.source, kOpenDynaset, false, c.filter, c.sort, {});
        EXPECT_EQ(c.ids, Ids(cur)) << c.source << " / " << c.filter;
    }
}

TEST_F(Db, JoinsResolveColumnsByTable)
{
    auto db = OpenDb();
    Cursor j(db, "[Person],[VideoClip]", kOpenDynaset, false, "[VideoClip].[PersonID] = [Person].[ID]",
             "[LastName],[FirstName]", {});
    int pid = j.FindColumn("[Person].[ID]"), vid = j.FindColumn("[VideoClip].[ID]");
    int pc = j.FindColumn("[Person].[Comment]"), vc = j.FindColumn("[VideoClip].[Comment]");
    ASSERT_GE(pid, 0);
    ASSERT_GE(vid, 0);
    EXPECT_NE(pid, vid);
    EXPECT_NE(pc, vc);
    EXPECT_EQ(V({3, 2, 2}), Ids(j, pid));   // Brown, then Jones twice
    EXPECT_EQ(V({3, 1, 2}), Ids(j, vid));
    EXPECT_EQ(j.FindColumn("[LastName]"), j.FindColumn("Person.LastName"));

    // Unqualified names shared by two tables are the first table's.
    Cursor left(db, "SELECT * FROM Person LEFT JOIN VideoClip ON [VideoClip].[PersonID] = [Person].[ID] "
                    "WHERE [DateTimeStamp] Is NULL", kOpenDynaset, true, "", "", {});
    EXPECT_EQ(V({1}), Ids(left, left.FindColumn("[ID]")));

    Cursor g(db, "[ReferenceClipGroupDetail],[VideoClip]", kOpenDynaset, false,
             "[RefClipID] = 1 AND [VideoClip].[ID] = [ReferenceClipGroupDetail].[VideoID]", "", {});
    EXPECT_EQ(V({1, 3}), Ids(g, g.FindColumn("[ID]")));
    Cursor none(db, "[ReferenceClipGroupDetail],[VideoClip]", kOpenDynaset, false,
                "[RefClipID] = 4294967295 AND [VideoClip].[ID] = [ReferenceClipGroupDetail].[VideoID]", "", {});
    EXPECT_TRUE(none.IsBOF() && none.IsEOF());
}

TEST_F(Db, DynasetEditingAndDeletedRows)
{
    auto db = OpenDb();
    Cursor c(db, "[Person]", kOpenDynaset, false, "", "", {});
    int id = c.FindColumn("ID"), last = c.FindColumn("LastName"), first = c.FindColumn("FirstName");
    c.MoveNext();  // on Jones (2)
    long jones = c.Bookmark();
    c.AddNew();
    EXPECT_EQ(kEditAdd, c.GetEditMode());
    c.Set(last, Value::MakeText("Ng"));
    c.Set(first, Value::MakeText(""));
    c.Update();
    EXPECT_EQ(kEditNone, c.GetEditMode());
    EXPECT_EQ(2, c.Get(id).AsInt());  // the current row stays where it was
    c.SetBookmark(c.LastModified());
    EXPECT_EQ(4, c.Get(id).AsInt());
    EXPECT_TRUE(c.Get(first).IsNull());  // empty text where zero length is not allowed
    EXPECT_EQ(3, c.AbsolutePosition());
    EXPECT_EQ(4, c.RecordCount());

    c.SetBookmark(jones);
    c.Edit();
    c.Set(first, Value::MakeText("Robert"));
    c.CancelUpdate();
    EXPECT_EQ("Bob", c.Get(first).s);
    c.Edit();
    c.Set(first, Value::MakeText("Robert"));
    c.Update();
    EXPECT_EQ("Robert", c.Get(first).s);
    EXPECT_EQ(jones, c.LastModified());

    c.Delete();
    EXPECT_TRUE(c.IsDeleted());
    EXPECT_EQ(3167, ErrorOf([&] { c.Get(first); }));
    EXPECT_EQ(3167, ErrorOf([&] { c.Edit(); }));
    c.MoveNext();
    EXPECT_EQ(3, c.Get(id).AsInt());
    c.MovePrev();  // skips the deleted row
    EXPECT_EQ(1, c.Get(id).AsInt());
    c.MovePrev();
    EXPECT_TRUE(c.IsBOF());
    EXPECT_EQ(3021, ErrorOf([&] { c.MovePrev(); }));
    EXPECT_EQ(3021, ErrorOf([&] { c.Get(id); }));
    c.Requery("", "", {});
    EXPECT_EQ(V({1, 3, 4}), Ids(c));
    // A bookmark names its row across a requery; a row the requery left out has none.
    c.SetAbsolutePosition(1);
    long brown = c.Bookmark();
    c.Requery("", "[LastName] DESC", {});
    c.SetBookmark(brown);
    EXPECT_EQ(3, c.Get(id).AsInt());
    EXPECT_EQ(2, c.AbsolutePosition());
    EXPECT_EQ(3159, ErrorOf([&] { c.SetBookmark(jones); }));
    c.Requery("", "", {});
    EXPECT_EQ(V({1, 3, 4}), Ids(c));
    EXPECT_TRUE(c.IsEOF());
    EXPECT_EQ(3021, ErrorOf([&] { c.MoveNext(); }));
    EXPECT_EQ(3020, ErrorOf([&] { c.Update(); }));
    EXPECT_EQ(3159, ErrorOf([&] { c.SetBookmark(99); }));

    // A new counter value is never one that was used before.
    c.AddNew();
    c.Set(last, Value::MakeText("Lee"));
    c.Update();
    c.SetBookmark(c.LastModified());
    EXPECT_EQ(5, c.Get(id).AsInt());

    Cursor ro(db, "[Person]", kOpenSnapshot, false, "", "", {});
    EXPECT_EQ(3027, ErrorOf([&] { ro.Edit(); }));
    db->Execute("UPDATE Person SET Role = 'Pro' WHERE ID = 1");
    ASSERT_TRUE(ro.Find(kFindFirst, "[ID] = 1", {}));
    EXPECT_EQ("Instructor", ro.Get(ro.FindColumn("Role")).s);  // a snapshot keeps what it read
    Cursor empty(db, "[Person]", kOpenDynaset, false, "[ID] = 0", "", {});
    EXPECT_TRUE(empty.IsBOF() && empty.IsEOF());
    EXPECT_EQ(3021, ErrorOf([&] { empty.MoveFirst(); }));
    EXPECT_EQ(3021, ErrorOf([&] { empty.Edit(); }));
}

TEST_F(Db, AddingThroughTheClipJoinAndDeletingAClipKeepsThePerson)
{
    auto db = OpenDb();
    Cursor c(db, kClipJoin, kOpenDynaset, false, "[GlobalID] = {11111111-2222-3333-4444-000000000000}", "", {});
    EXPECT_TRUE(c.IsEOF());
    c.AddNew();
    c.Set(c.FindColumn("[PersonID]"), Value::MakeInt(3));
    c.Set(c.FindColumn("[GlobalID]"), Value::MakeText("{11111111-2222-3333-4444-000000000000}"));
    c.Set(c.FindColumn("[Overlay]"), Value::MakeBlob(std::string("\0\1\2", 3)));
    c.Update();
    c.SetBookmark(c.LastModified());
    EXPECT_EQ(5, c.Get(c.FindColumn("[ID]")).AsInt());
    EXPECT_EQ(std::string("\0\1\2", 3), c.Get(c.FindColumn("[Overlay]")).s);
    c.Delete();
    Cursor people(db, "[Person]", kOpenDynaset, false, "[ID] = 3", "", {});
    EXPECT_FALSE(people.IsEOF());
    Cursor clips(db, "[VideoClip]", kOpenDynaset, false, "", "", {});
    EXPECT_EQ(V({1, 2, 3, 4}), Ids(clips));
}

TEST_F(Db, FindsAndPeopleNamesWithQuotesAndWildcards)
{
    auto db = OpenDb();
    Cursor c(db, "[Person]", kOpenDynaset, false, "", "[LastName]", {});
    int id = c.FindColumn("ID");
    c.AddNew();
    c.Set(c.FindColumn("LastName"), Value::MakeText("O'Brien"));
    c.Set(c.FindColumn("FirstName"), Value::MakeText("J*"));
    c.Update();
    c.AddNew();
    c.Set(c.FindColumn("LastName"), Value::MakeText("O'Brien"));
    c.Set(c.FindColumn("FirstName"), Value::MakeText("Jim"));
    c.Update();

    // Values bound to the markers are values, never query text.
    std::vector<Value> names = {Value::MakeText("o'brien"), Value::MakeText(LikeEscape("J*"))};
    ASSERT_TRUE(c.Find(kFindFirst, "[LastName] Like ? And [FirstName] Like ?", names));
    EXPECT_EQ(4, c.Get(id).AsInt());
    EXPECT_FALSE(c.Find(kFindNext, "[LastName] Like ? And [FirstName] Like ?", names));
    EXPECT_EQ(4, c.Get(id).AsInt());  // a failed find leaves the current row
    Cursor f(db, "[Person]", kOpenDynaset, false, "[LastName] = ? And [FirstName] = ?", "",
             {Value::MakeText("O'BRIEN"), Value::MakeText("j*")});
    EXPECT_EQ(V({4}), Ids(f));

    // First, last, next and previous over the sorted rows: Brown 3, Jones 2, O'Brien 4 and 5,
    // Smith 1.
    ASSERT_TRUE(c.Find(kFindLast, "[ID] > 1", {}));
    EXPECT_EQ(5, c.Get(id).AsInt());
    ASSERT_TRUE(c.Find(kFindPrev, "[ID] > 1", {}));
    EXPECT_EQ(4, c.Get(id).AsInt());
    ASSERT_TRUE(c.Find(kFindFirst, "[ID] > 1", {}));
    EXPECT_EQ(3, c.Get(id).AsInt());
    // A row added to a filtered dynaset is part of it, met the filter or not.
    Cursor students(db, "[Person]", kOpenDynaset, false, "[Role] = 'Student'", "", {});
    students.AddNew();
    students.Set(students.FindColumn("LastName"), Value::MakeText("Pro, Added"));
    students.Set(students.FindColumn("Role"), Value::MakeText("Pro"));
    students.Update();
    ASSERT_TRUE(students.Find(kFindFirst, "[Role] = 'pro'", {}));
    EXPECT_EQ("Pro, Added", students.Get(students.FindColumn("LastName")).s);
    EXPECT_EQ(3070, ErrorOf([&] { c.Find(kFindFirst, "[Nope] = 1", {}); }));
    EXPECT_EQ(3077, ErrorOf([&] { c.Find(kFindFirst, "[LastName] = 'x", {}); }));
    EXPECT_EQ(3061, ErrorOf([&] { Cursor(db, "[Person]", kOpenDynaset, false, "[Nope] = 1", "", {}); }));
}

TEST_F(Db, FieldRulesOnWrite)
{
    auto db = OpenDb();
    Cursor c(db, "[ReferenceClipGroupDetail]", kOpenDynaset, false, "", "", {});
    c.AddNew();
    EXPECT_EQ(3349, ErrorOf([&] { c.Set(c.FindColumn("[Order]"), Value::MakeInt(40000)); }));
    Cursor v(db, "[VideoClip]", kOpenDynaset, false, "", "", {});
    v.Edit();
    EXPECT_EQ(3163, ErrorOf([&] { v.Set(v.FindColumn("ClipType"), Value::MakeText(std::string(51, 'x'))); }));
    EXPECT_EQ(3421, ErrorOf([&] { v.Set(v.FindColumn("GlobalID"), Value::MakeText("{nope}")); }));
    v.Set(v.FindColumn("Mirror"), Value::MakeInt(1));
    v.Set(v.FindColumn("Comment"), Value::MakeText(""));
    v.Set(v.FindColumn("VideoClipName"), Value::MakeText("Caf\xE9"));
    v.Update();
    EXPECT_EQ(-1, v.Get(v.FindColumn("Mirror")).AsInt());        // Yes is -1
    EXPECT_EQ(Value::Text, v.Get(v.FindColumn("Comment")).kind);  // zero length allowed
    EXPECT_EQ("Caf\xE9", v.Get(v.FindColumn("VideoClipName")).s);  // bytes as they were
    Cursor e(db, "[VideoClip]", kOpenDynaset, false, "[VideoClipName] = 'CAF\xC9'", "", {});
    EXPECT_EQ(V({1}), Ids(e));
}

TEST_F(Db, FieldCreatedAtAnOrdinalKeepsRowsOrderAndCounter)
{
    {
        auto db = OpenDb();
        db->Execute("DELETE FROM VideoClip WHERE ID = 4");  // the counter stays at 4
        db->CreateIndex("VideoClip", IndexDef{"FileName", {IndexField{"VideoClipFileName", false}}, false, true});
        db->DeleteField("VideoClip", "Comment");
        FieldDef memo = F("Comment", kMemo, 0, true);
        db->CreateField("VideoClip", memo, 2);
        std::vector<FieldDef> fields = db->Fields("VideoClip");
        ASSERT_EQ(10u, fields.size());
        EXPECT_EQ("Comment", fields[2].name);
        EXPECT_EQ(kMemo, fields[2].type);
        EXPECT_TRUE(fields[2].allowZeroLength);
        EXPECT_EQ("VideoClipName", fields[3].name);
        EXPECT_TRUE(fields[0].autoIncrement());
        EXPECT_EQ(3280, ErrorOf([&] { db->DeleteField("VideoClip", "VideoClipFileName"); }));
        EXPECT_EQ(3191, ErrorOf([&] { db->CreateField("VideoClip", memo, 1); }));
        std::vector<IndexDef> ix = db->Indexes("VideoClip");
        ASSERT_EQ(2u, ix.size());
        EXPECT_EQ("PrimaryKey", ix[0].name);
        EXPECT_EQ("FileName", ix[1].name);
        EXPECT_TRUE(ix[1].unique);
        EXPECT_EQ(3022, ErrorOf([&] { db->Execute("UPDATE VideoClip SET VideoClipFileName = 'CLP0001.avi' WHERE ID = 2"); }));
    }
    auto db = OpenDb();
    Cursor c(db, "[VideoClip]", kOpenDynaset, false, "", "", {});
    EXPECT_EQ(V({1, 2, 3}), Ids(c));
    c.MoveFirst();
    EXPECT_EQ("CLP0001.avi", c.Get(c.FindColumn("VideoClipFileName")).s);
    EXPECT_TRUE(c.Get(c.FindColumn("Comment")).IsNull());
    c.AddNew();
    c.Set(c.FindColumn("VideoClipFileName"), Value::MakeText("CLP0009.avi"));
    c.Update();
    c.SetBookmark(c.LastModified());
    EXPECT_EQ(5, c.Get(0).AsInt());
}

TEST_F(Db, ClosedDatabaseIsOneFileAndCompactsAndRepairs)
{
    {
        auto db = OpenDb();
        db->BeginTrans();
        db->Execute("UPDATE Person SET Role = 'Pro' WHERE ID = 2");
        db->Rollback();
        Cursor c(db, "[Person]", kOpenDynaset, false, "[ID] = 2", "", {});
        EXPECT_EQ("Student", c.Get(c.FindColumn("Role")).s);
        c.Edit();
        c.Set(c.FindColumn("Role"), Value::MakeText("Pro"));
        c.Update();
    }
    struct stat st;
    EXPECT_NE(0, stat((path + "-journal").c_str(), &st));
    EXPECT_NE(0, stat((path + "-wal").c_str(), &st));
    std::string copy = dir + "/copy.mdb";
    ASSERT_EQ(0, system(("cp " + path + " " + copy).c_str()));
    {
        auto db = Database::Open(copy, false);
        Cursor c(db, "[Person]", kOpenDynaset, false, "[ID] = 2", "", {});
        EXPECT_EQ("Pro", c.Get(c.FindColumn("Role")).s);
    }

    std::string temp = dir + "/temp.mdb";
    CompactDatabase(path, temp);
    EXPECT_EQ(3204, ErrorOf([&] { CompactDatabase(path, temp); }));
    EXPECT_EQ(3024, ErrorOf([&] { CompactDatabase(dir + "/none.mdb", dir + "/x.mdb"); }));
    {
        auto db = Database::Open(temp, false);
        Cursor c(db, "[VideoClip]", kOpenDynaset, false, "", "", {});
        c.AddNew();
        c.Update();
        c.SetBookmark(c.LastModified());
        EXPECT_EQ(5, c.Get(0).AsInt());  // the counter goes on where it was
    }

    RepairDatabase(path);  // a sound file stays as it is
    // Damage a table page behind the schema: the repaired file keeps what can be read.
    {
        auto db = OpenDb();
        std::string big(3000, 'x');
        for (int i = 0; i < 40; ++i) db->Execute("INSERT INTO Person (LastName, Comment) VALUES ('P', ?)", {Value::MakeText(big)});
    }
    {
        std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(4096 * 6 + 100);
        std::string junk(2000, '\xA5');
        f.write(junk.data(), junk.size());
    }
    {
        auto damaged = OpenDb(true);
        Statement check(*damaged, "PRAGMA integrity_check");
        ASSERT_TRUE(check.Step());
        ASSERT_NE("ok", check.Column(0).s);
    }
    RepairDatabase(path);
    auto db = OpenDb();
    Statement check(*db, "PRAGMA integrity_check");
    ASSERT_TRUE(check.Step());
    EXPECT_EQ("ok", check.Column(0).s);
    Cursor clips(db, "[VideoClip]", kOpenDynaset, false, "", "", {});
    EXPECT_EQ(V({1, 2, 3, 4}), Ids(clips));

    std::string garbage = dir + "/garbage.mdb";
    std::ofstream(garbage) << std::string(5000, 'g');
    EXPECT_EQ(3343, ErrorOf([&] { RepairDatabase(garbage); }));
    EXPECT_EQ(3343, ErrorOf([&] { Database::Open(garbage, false); }));
}

TEST_F(Db, OpeningFiles)
{
    EXPECT_EQ(3024, ErrorOf([&] { Database::Open(dir + "/missing.mdb", false); }));
    EXPECT_EQ(3044, ErrorOf([&] { Database::Open(dir + "/no/such.mdb", false); }));
    EXPECT_EQ(3204, ErrorOf([&] { Database::Create(path); }));
    chmod(path.c_str(), 0444);
    if (geteuid() != 0) {
        EXPECT_EQ(3051, ErrorOf([&] { Database::Open(path, false); }));
    }
    auto ro = Database::Open(path, true);
    EXPECT_EQ(3027, ErrorOf([&] { ro->Execute("DELETE FROM Person"); }));
    EXPECT_EQ(3065, ErrorOf([&] { ro->Execute("SELECT * FROM Person"); }));
    // Windows paths name the same files.
    auto db = Database::Open("Z:" + [&] { std::string p = path; for (auto& c : p) if (c == '/') c = '\\'; return p; }(), true);
    EXPECT_EQ(3u, db->TableNames().size());
}

TEST_F(Db, TwoConnectionsSeeEachOthersWrites)
{
    auto a = OpenDb(), b = OpenDb();
    Cursor browse(a, "[Person]", kOpenDynaset, false, "", "[ID]", {});
    Cursor writer(b, "[Person]", kOpenDynaset, false, "[ID] = 2", "", {});
    writer.Edit();
    writer.Set(writer.FindColumn("FirstName"), Value::MakeText("Bobby"));
    writer.Update();
    writer.AddNew();
    writer.Set(writer.FindColumn("LastName"), Value::MakeText("New"));
    writer.Update();
    browse.MoveNext();  // a dynaset reads a row when it becomes current
    EXPECT_EQ("Bobby", browse.Get(browse.FindColumn("FirstName")).s);
    EXPECT_EQ(3, browse.RecordCount());
    browse.Requery("", "[ID]", {});
    EXPECT_EQ(4, browse.RecordCount());
    // A row deleted elsewhere reads as deleted.
    b->Execute("DELETE FROM Person WHERE ID = 1");
    browse.MoveFirst();
    EXPECT_TRUE(browse.IsDeleted());
    EXPECT_EQ(3167, ErrorOf([&] { browse.Get(0); }));
}

// A file made elsewhere opens defensively: it reads and takes writes like any other, but a
// clip table that is a view or has a trigger, or damaged pages, refuse it.
TEST_F(Db, OutsideFilesAreOpenedDefensively)
{
    {
        auto db = Database::Open(path, false, true);
        db->Execute("INSERT INTO Person (LastName, FirstName, Role, InstructorID) VALUES ('O''Brien', 'Dee', 'Student', -1)");
        Cursor people(db, "[Person]", kOpenDynaset, false, "", "", {});
        EXPECT_EQ(V({1, 2, 3, 4}), Ids(people));
        // Its schema may not be changed behind the engine's back.
        EXPECT_NE(0, ErrorOf([&] { db->Exec("PRAGMA writable_schema = ON; UPDATE sqlite_master SET sql = '' WHERE 0"); }));
    }
    struct Case {
        const char* name;
        const char* sql;
    } cases[] = {
        {"trigger", "CREATE TRIGGER t AFTER INSERT ON Person BEGIN DELETE FROM VideoClip; END"},
        {"trigger on a lower-case name", "CREATE TRIGGER t BEFORE UPDATE ON videoclip BEGIN SELECT 1; END"},
        {"view", "ALTER TABLE VideoClip RENAME TO Clips; CREATE VIEW VideoClip AS SELECT * FROM Clips"},
        {"view of System", "CREATE VIEW [System] AS SELECT 4 AS Version"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string copy = dir + "/outside.mdb";
        ASSERT_EQ(0, system(("cp " + path + " " + copy).c_str()));
        {
            auto db = Database::Open(copy, false);
            db->Exec(c.sql);
        }
        EXPECT_EQ(3049, ErrorOf([&] { Database::Open(copy, false, true); }));
        EXPECT_EQ(3049, ErrorOf([&] { Database::Open(copy, true, true); }));
        // The program's own files are not held to this.
        EXPECT_EQ(0, ErrorOf([&] { Database::Open(copy, false); }));
        unlink(copy.c_str());
    }

    // A page of the file damaged past the header.
    std::string copy = dir + "/damaged.mdb";
    ASSERT_EQ(0, system(("cp " + path + " " + copy).c_str()));
    struct stat st;
    ASSERT_EQ(0, stat(copy.c_str(), &st));
    ASSERT_GT(st.st_size, 4096 * 2);
    {
        std::fstream f(copy, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(4096 + 8);
        const std::string junk(600, '\xA5');
        f.write(junk.data(), junk.size());
    }
    EXPECT_NE(0, ErrorOf([&] { Database::Open(copy, false, true); }));
}
