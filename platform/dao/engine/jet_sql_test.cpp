// The dialect's text forms as SQLite sees them, and the text rules (Like, case folding, dates).
#include "gtest_wine.h"

#include "jet_schema.h"
#include "jet_sql.h"
#include "jet_text.h"

using namespace jet;

TEST(JetText, LikeWildcardsAndCase)
{
    struct { const char* value; const char* pattern; bool match; } cases[] = {
        {"CLP1A.avi", "clp1a.AVI", true},
        {"CLP1A.avi", "CLP*.avi", true},
        {"CLP1A.avi", "CLP?.avi", false},
        {"CLP1A.avi", "CLP??.avi", true},
        {"Room 12", "Room ##", true},
        {"Room 1x", "Room ##", false},
        {"b", "[a-c]", true},
        {"B", "[a-c]", true},
        {"d", "[!a-c]", true},
        {"a", "[!a-c]", false},
        {"O'Brien", "o'brien", true},
        {"Jo*", "Jo[*]", true},
        {"Joe", "Jo[*]", false},
        {"a[b", "a[b", true},        // an unclosed bracket is plain text
        {"", "*", true},
        {"", "?", false},
        {"abc", "a*c*", true},
        {"\xC9mile", "\xE9MILE", true},  // Windows-1252 letters fold too
        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*a*c", false},
    };
    for (auto& c : cases)
        EXPECT_EQ(c.match, LikeMatch(c.value, c.pattern)) << c.value << " Like " << c.pattern;
    EXPECT_EQ("O[*]Brien[?][#][[]", LikeEscape("O*Brien?#["));
    EXPECT_TRUE(LikeMatch("O*Brien", LikeEscape("O*Brien")));
    EXPECT_FALSE(LikeMatch("OXBrien", LikeEscape("O*Brien")));
}

TEST(JetText, DatesAsOleDates)
{
    EXPECT_DOUBLE_EQ(0.0, OleDateFromParts(1899, 12, 30, 0, 0, 0));
    EXPECT_DOUBLE_EQ(2.5, OleDateFromParts(1900, 1, 1, 12, 0, 0));
    EXPECT_DOUBLE_EQ(36526.0, OleDateFromParts(2000, 1, 1, 0, 0, 0));
    double d;
    ASSERT_TRUE(ParseDateText("03/04/2005 13:14:15", d));
    int y, mo, da, h, mi, s;
    ASSERT_TRUE(OleDateToParts(d, y, mo, da, h, mi, s));
    EXPECT_EQ(2005, y);
    EXPECT_EQ(3, mo);  // month first, as the US locale reads it
    EXPECT_EQ(4, da);
    EXPECT_EQ(13, h);
    EXPECT_EQ(14, mi);
    EXPECT_EQ(15, s);
    ASSERT_TRUE(ParseDateText("2005-03-04", d));
    EXPECT_DOUBLE_EQ(OleDateFromParts(2005, 3, 4, 0, 0, 0), d);
    ASSERT_TRUE(ParseDateText("1:30 PM", d));
    EXPECT_DOUBLE_EQ(13.5 / 24, d);
    for (const char* bad : {"", "13/01/2005", "02/30/2005", "tomorrow", "1/2/2005 25:00"})
        EXPECT_FALSE(ParseDateText(bad, d)) << bad;
}

TEST(JetSql, ExpressionsOfTheProgram)
{
    struct { const char* jet; const char* sqlite; } cases[] = {
        {"ID = 5", "\"ID\" = 5"},
        {"[L/RHand] = 'Right Hand'", "\"L/RHand\" = 'Right Hand'"},
        {"[Person].[Role] = 'Student' AND [Person].[InstructorID] = 7",
         "\"Person\".\"Role\" = 'Student' AND \"Person\".\"InstructorID\" = 7"},
        {"[FirstName] Like  'O''Brien' And [LastName] Like  'x'",
         "\"FirstName\" LIKE 'O''Brien' AND \"LastName\" LIKE 'x'"},
        {"[GlobalID] = {guid {0a1b2c3d-1111-2222-3333-444455556666}}",
         "\"GlobalID\" = '{0A1B2C3D-1111-2222-3333-444455556666}'"},
        {"[GlobalID]  = {0a1b2c3d-1111-2222-3333-444455556666}",
         "\"GlobalID\" = '{0A1B2C3D-1111-2222-3333-444455556666}'"},
        {"[VideoClip].[DateTimeStamp]>CDate('01/02/2000 00:00:00')",
         "\"VideoClip\".\"DateTimeStamp\" > 36527.0"},
        {"[DateTimeStamp] Is NULL", "\"DateTimeStamp\" IS NULL"},
        {"[Mirror] = True Or [Mirror] = False", "\"Mirror\" = -1 OR \"Mirror\" = 0"},
        {"(Not [ID] = 4)", "(NOT \"ID\" = 4)"},
        {"[Role] = 'Other'Or [Role] = NULL", "\"Role\" = 'Other' OR \"Role\" = NULL"},
        {"[RefClipID] = 4294967295", "\"RefClipID\" = 4294967295"},
        {"[ClipType]DESC, [VideoClipName]", "\"ClipType\" DESC, \"VideoClipName\""},
        {"[a] & \"b\"", "\"a\" || 'b'"},
        {"[d] = #1/2/2000#", "\"d\" = 36527.0"},
        {"[LastName] = ?", "\"LastName\" = ?"},
    };
    for (auto& c : cases) EXPECT_EQ(c.sqlite, TranslateExpression(c.jet)) << c.jet;

    for (const char* bad : {"[Name = 'x'", "[a] = 'open", "[g] = {guid {nope}}", "[d] = #32/1/2000#", "a \\ b"}) {
        try {
            TranslateExpression(bad);
            ADD_FAILURE() << bad;
        } catch (const Error& e) {
            EXPECT_EQ(3075, e.code) << bad;
        }
    }
}

TEST(JetSql, RecordsetSources)
{
    Select s = TranslateSelect("[Person],[VideoClip]", "[VideoClip].[PersonID] = [Person].[ID]",
                               "[LastName],[FirstName]");
    EXPECT_EQ("SELECT * FROM \"Person\", \"VideoClip\" WHERE (\"VideoClip\".\"PersonID\" = "
              "\"Person\".\"ID\") ORDER BY \"LastName\", \"FirstName\"", s.Sql());
    ASSERT_EQ(2u, s.tables.size());
    EXPECT_EQ("Person", s.tables[0].name);
    EXPECT_TRUE(s.simple);

    s = TranslateSelect("SELECT [VideoClip].* FROM [VideoClip] INNER JOIN [Person] ON "
                        "[VideoClip].[PersonID] = [Person].[ID]", "[ClipType] = 'Swing'");
    EXPECT_EQ("SELECT \"VideoClip\".* FROM \"VideoClip\" INNER JOIN \"Person\" ON "
              "\"VideoClip\".\"PersonID\" = \"Person\".\"ID\" WHERE (\"ClipType\" = 'Swing')", s.Sql());
    ASSERT_EQ(2u, s.tables.size());
    EXPECT_EQ("Person", s.tables[1].name);

    s = TranslateSelect("SELECT * FROM Person WHERE Person.[Role] = 'Instructor' ORDER BY "
                        "Person.[LastName],Person.[FirstName]", "[ID] > 2");
    EXPECT_EQ("SELECT * FROM \"Person\" WHERE (\"Person\".\"Role\" = 'Instructor') AND (\"ID\" > 2) "
              "ORDER BY \"Person\".\"LastName\", \"Person\".\"FirstName\"", s.Sql());

    s = TranslateSelect("Select * From [ReferenceClipMaster] WHERE [ID] = 4 ");
    EXPECT_EQ("SELECT * FROM \"ReferenceClipMaster\" WHERE \"ID\" = 4", s.Sql());

    s = TranslateSelect("SELECT * FROM Person AS p LEFT JOIN VideoClip v ON v.PersonID = p.ID");
    ASSERT_EQ(2u, s.tables.size());
    EXPECT_EQ("p", s.tables[0].RefName());
    EXPECT_EQ("v", s.tables[1].RefName());

    EXPECT_FALSE(TranslateSelect("SELECT DISTINCT [Club] FROM [VideoClip]").simple);
}

// Criteria names that no table qualifies are handed to the recordset's resolver; the rest of
// the text stays as written.
TEST(JetSql, UnqualifiedNamesOfCriteria)
{
    auto own = [](const std::string& name) { return name == "Nope" ? std::string() : "[T].[" + name + "]"; };
    struct { const char* jet; const char* qualified; } cases[] = {
        {"ID = 3 And [Person].[ID] = 2 Or VideoClip!ID = 1 Or Nope = 4",
         "[T].[ID] = 3 And [Person].[ID] = 2 Or VideoClip!ID = 1 Or Nope = 4"},
        {"Len([Name])>2 And Mirror = True And x Mod 2 = 0 And UCase(y) = 'ID'",
         "Len([T].[Name])>2 And [T].[Mirror] = True And [T].[x] Mod 2 = 0 And UCase([T].[y]) = 'ID'"},
        {"[ClipType] Like 'ID*' And #1/2/2000# < DateTimeStamp And [GlobalID] = {guid {0a1b2c3d-1111-2222-3333-444455556666}}",
         "[T].[ClipType] Like 'ID*' And #1/2/2000# < [T].[DateTimeStamp] And [T].[GlobalID] = {guid {0a1b2c3d-1111-2222-3333-444455556666}}"},
        {"[ID] DESC,[L/RHand]", "[T].[ID] DESC,[T].[L/RHand]"},
        {"", ""},
    };
    for (auto& c : cases) EXPECT_EQ(c.qualified, QualifyNames(c.jet, own)) << c.jet;
}

TEST(JetSql, CreateTableWithJetTypes)
{
    EXPECT_EQ("CREATE TABLE \"T\" (\"ID\" INTEGER PRIMARY KEY AUTOINCREMENT, \"Name\" TEXT(50) "
              "NOT NULL COLLATE JETTEXT, \"Note\" MEMO TEXT COLLATE JETTEXT, \"N\" SHORT INTEGER, "
              "\"G\" GUID TEXT COLLATE JETTEXT, \"B\" LONGBINARY BLOB, \"Y\" YESNO INTEGER)",
              TranslateStatement("CREATE TABLE T (ID COUNTER, [Name] TEXT(50) NOT NULL, Note MEMO, "
                                 "N SHORT, G GUID, B LONGBINARY, Y YESNO);"));
    FieldDef f;
    ParseDeclaredType("TEXT ZLS(250)", f);
    EXPECT_EQ(kText, f.type);
    EXPECT_EQ(250, f.size);
    EXPECT_TRUE(f.allowZeroLength);
    ParseDeclaredType("INTEGER", f);
    EXPECT_TRUE(f.autoIncrement());
    ParseDeclaredType("GUID TEXT", f);
    EXPECT_EQ(kGuid, f.type);
    EXPECT_EQ(16, f.size);
}

// Stored text is Windows-1252 and the DAO classes convert field values to and from wide
// strings with the ANSI code page, which must therefore be 1252.
TEST(JetText, AnsiCodePageIs1252)
{
    EXPECT_EQ(1252u, GetACP());
}
