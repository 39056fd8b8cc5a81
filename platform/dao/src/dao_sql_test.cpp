// Statements, criteria and values of the dialect that a mistake (or a file made elsewhere)
// may bring, through the DAO classes: each gives its error and changes nothing, or gives the
// engine's own result.
#include "gtest_wine.h"

#include <afxwin.h>
#include <afxdao.h>

#include "dao_test_errors.h"

#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

std::string g_dir;

CString DbPath() { return CString(WinePath(g_dir + "/Sql.mdb").c_str()); }


std::string Text(const COleVariant& v)
{
    if (V_VT(&v) != VT_BSTR) return "<not text>";
    return std::string(CString(V_BSTR(&v)));
}

class DaoSql : public ::testing::Test {
protected:
    CDaoDatabase db;

    void SetUp() override
    {
        char tmpl[] = "/tmp/daosqlXXXXXX";
        g_dir = mkdtemp(tmpl);
        db.Create(DbPath(), dbLangGeneral);
        db.Execute("CREATE TABLE [T] ([ID] COUNTER PRIMARY KEY, [N] LONG, [D] DATETIME, [S] TEXT(50), [B] YESNO)");
        for (int i = 1; i <= 5; ++i) {
            CString sql;
            sql.Format("INSERT INTO [T] ([N], [S]) VALUES (%d, 'row %d')", i * 10, i);
            db.Execute(sql);
        }
    }

    void TearDown() override
    {
        db.Close();
        system(("rm -rf " + g_dir).c_str());
    }

    long Rows(const char* where = "")
    {
        CDaoRecordset rs(&db);
        rs.Open(dbOpenSnapshot, CString("SELECT * FROM [T] ") + where);
        long n = 0;
        for (; !rs.IsEOF(); rs.MoveNext()) ++n;
        return n;
    }
};

}  // namespace

TEST_F(DaoSql, MalformedStatementsAreErrorsAndChangeNothing)
{
    struct {
        const char* sql;
        long code;
    } cases[] = {
        {"CREATE TABLE x (CONSTRAINT", 3075},
        {"CREATE TABLE x (CONSTRAINT pk", 3075},
        {"CREATE TABLE x (CONSTRAINT pk PRIMARY KEY (", 3075},
        {"CREATE TABLE x (a TEXT(", 3075},
        {"CREATE TABLE x (a TEXT(5", 3075},
        {"CREATE TABLE x (a LONG NOT", 3075},
        {"CREATE TABLE x (a", 3075},
        {"CREATE TABLE x (", 3075},
        {"CREATE TABLE x", 3075},
        {"CREATE TABLE", 3075},
        {"CREATE TABLE x (a LONG) garbage", 3075},
        {"ALTER TABLE T ADD COLUMN c", 3075},
        {"ALTER TABLE T ADD COLUMN", 3075},
        {"ALTER TABLE T ADD c TEXT(", 3075},
        {"ALTER TABLE T ADD", 3075},
        {"ALTER TABLE T ADD COLUMN c LONG extra", 3075},
        {"DELETE FROM [T] WHERE [ID] = 1; DELETE FROM [T]", 3142},
        {"DELETE FROM [T] WHERE [ID] = 1;; DROP TABLE [T]", 3142},
        {"UPDATE [T] SET [S] = ';' WHERE [ID] = 9; DELETE FROM [T]", 3142},
    };
    for (auto& c : cases) EXPECT_EQ(c.code, DaoErrorOf([&] { db.Execute(c.sql); })) << c.sql;
    EXPECT_EQ(5, Rows());
    EXPECT_EQ(1, db.GetTableDefCount());

    // What stays allowed: one statement with its closing ';', a ';' inside a text.
    db.Execute("UPDATE [T] SET [S] = 'a;b' WHERE [ID] = 1;");
    db.Execute("ALTER TABLE [T] ADD COLUMN [C] TEXT(20)");
    db.Execute("CREATE TABLE [U] ([ID] COUNTER, [Name] TEXT(50) NOT NULL, CONSTRAINT [un] UNIQUE ([Name]));");
    EXPECT_EQ(1, Rows("WHERE [S] = 'a;b'"));
    EXPECT_EQ(2, db.GetTableDefCount());
}

TEST_F(DaoSql, AggregatesGiveOneRowOverAllRows)
{
    struct {
        const char* sql;
        double value;
    } cases[] = {
        {"SELECT Count(*) AS [V] FROM [T]", 5},
        {"SELECT Sum([N]) AS [V] FROM [T]", 150},
        {"SELECT Max([N]) AS [V] FROM [T] WHERE [ID] < 3", 20},
        {"SELECT Avg([N]) AS [V] FROM [T]", 30},
    };
    for (auto& c : cases)
        for (int type : {dbOpenDynaset, dbOpenSnapshot}) {
            CDaoRecordset rs(&db);
            rs.Open(type, c.sql);
            ASSERT_FALSE(rs.IsEOF()) << c.sql;
            COleVariant v = rs.GetFieldValue("V");
            VariantChangeType(&v, &v, 0, VT_R8);
            EXPECT_EQ(c.value, V_R8(&v)) << c.sql << " type " << type;
            rs.MoveNext();
            EXPECT_TRUE(rs.IsEOF()) << c.sql;
        }
}

// A filter or a Find criterion is one condition: parentheses that do not balance could close
// the query's own and widen it.
TEST_F(DaoSql, CriteriaWithUnbalancedParenthesesAreSyntaxErrors)
{
    const char* const unbalanced[] = {"0) OR (1=1", "[ID] = 1) OR ([ID] > 0", "([ID] = 1", "[ID] = 1)", ")(", "[S] = ')' OR (1=1"};
    for (const char* filter : unbalanced) {
        CDaoRecordset rs(&db);
        rs.m_strFilter = filter;
        EXPECT_EQ(3075, DaoErrorOf([&] { rs.Open(dbOpenDynaset, "SELECT * FROM [T] WHERE [ID] = 1"); })) << filter;
    }
    CDaoRecordset rs(&db);
    rs.Open(dbOpenDynaset, "SELECT * FROM [T] WHERE [ID] = 1");
    for (const char* criterion : unbalanced) {
        long code = DaoErrorOf([&] { rs.FindFirst(criterion); });
        EXPECT_TRUE(code == 3075 || code == 3077) << criterion << ": " << code;
    }
    // Parentheses inside texts and names do not count.
    EXPECT_FALSE(rs.FindFirst("[S] = '(' OR [S] = ')'"));
    EXPECT_TRUE(rs.FindFirst("(([ID] = 1)) AND [S] <> ')('"));
    rs.Close();
    rs.m_strFilter = "([N] > 0) AND ([S] <> '(')";
    rs.Open(dbOpenDynaset, "SELECT * FROM [T] WHERE [ID] = 1");
    EXPECT_EQ(1, rs.GetRecordCount());
}

TEST_F(DaoSql, TextForNumbersAndDatesIsConvertedOrRefused)
{
    struct {
        const char* field;
        const char* text;
        long code;          // 0: accepted
        double value;       // as a number (dates: the date's day number)
    } cases[] = {
        {"D", "1/2/2003", 0, 37623},
        {"D", "2003-01-02 12:00:00", 0, 37623.5},
        {"D", "37623", 0, 37623},
        {"D", "tomorrow", 3421, 0},
        {"D", "1/2/2003x", 3421, 0},
        {"N", "12", 0, 12},
        {"N", " 42 ", 0, 42},
        {"N", "-7", 0, -7},
        {"N", "12abc", 3421, 0},
        {"N", "zz", 3421, 0},
        {"N", "0x10", 3421, 0},
        {"N", "inf", 3421, 0},
        {"N", "", 3421, 0},
        {"N", "99999999999", 3349, 0},
        {"B", "Yes", 0, -1},
        {"B", "false", 0, 0},
        {"B", "maybe", 3421, 0},
    };
    for (auto& c : cases) {
        CDaoRecordset rs(&db);
        rs.Open(dbOpenDynaset, "SELECT * FROM [T] WHERE [ID] = 1");
        rs.Edit();
        long code = DaoErrorOf([&] { rs.SetFieldValue(c.field, c.text); });
        EXPECT_EQ(c.code, code) << c.field << " = '" << c.text << "'";
        if (code) {
            rs.CancelUpdate();
            continue;
        }
        rs.Update();
        rs.Requery();
        COleVariant v = rs.GetFieldValue(c.field);
        VariantChangeType(&v, &v, 0, VT_R8);
        EXPECT_EQ(c.value, V_R8(&v)) << c.field << " = '" << c.text << "'";
    }
    // The same texts in statements: an UPDATE and an INSERT give each to the field.
    for (auto& c : cases) {
        CString update, insert;
        update.Format("UPDATE [T] SET [S] = 'changed', [%s] = '%s' WHERE [ID] = 2", c.field, c.text);
        insert.Format("INSERT INTO [T] ([S], [%s]) VALUES ('added', '%s')", c.field, c.text);
        for (const CString& sql : {update, insert}) {
            EXPECT_EQ(c.code, DaoErrorOf([&] { db.Execute(sql); })) << (LPCSTR)sql;
            CDaoRecordset rs(&db);
            rs.Open(dbOpenSnapshot, "SELECT * FROM [T] WHERE [S] IN ('changed', 'added')");
            EXPECT_EQ(c.code ? 0 : 1, rs.GetRecordCount()) << (LPCSTR)sql;  // a refused statement changes nothing
            if (!c.code) {
                COleVariant v = rs.GetFieldValue(c.field);
                VariantChangeType(&v, &v, 0, VT_R8);
                EXPECT_EQ(c.value, V_R8(&v)) << (LPCSTR)sql;
            }
            rs.Close();
            db.Execute("DELETE FROM [T] WHERE [S] = 'added'");
            db.Execute("UPDATE [T] SET [S] = 'row 2' WHERE [ID] = 2");
        }
    }
}

// Text functions count bytes: stored text is Windows-1252, where SQLite would count UTF-8.
TEST_F(DaoSql, TextFunctionsCountBytes)
{
    db.Execute("UPDATE [T] SET [S] = 'Caf\xE9\x96" "Bar' WHERE [ID] = 1");
    struct {
        const char* expression;
        const char* text;  // expected text, or the number as text
    } cases[] = {
        {"Len([S])", "8"},
        {"Len('Caf\xE9\x96" "Bar')", "8"},
        {"Mid([S], 4, 2)", "\xE9\x96"},
        {"Mid([S], 5)", "\x96" "Bar"},
        {"Mid([S], 20)", ""},
        {"UCase(Mid([S], 4, 1))", "\xC9"},
    };
    for (auto& c : cases) {
        CDaoRecordset rs(&db);
        rs.Open(dbOpenSnapshot, CString("SELECT ") + c.expression + " AS [V] FROM [T] WHERE [ID] = 1");
        COleVariant v = rs.GetFieldValue("V");
        VariantChangeType(&v, &v, 0, VT_BSTR);
        EXPECT_EQ(c.text, Text(v)) << c.expression;
    }
    EXPECT_EQ(1, Rows("WHERE Len([S]) = 8"));
}
