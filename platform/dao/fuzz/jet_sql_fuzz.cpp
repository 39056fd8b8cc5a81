// Fuzz run of the SQL dialect's translation and of the page reader that repair uses, built
// natively with AddressSanitizer and UndefinedBehaviorSanitizer (a fault stops the run with
// the sanitizer's report). Text inputs are random token sequences and mutations of the
// program's own statements, criteria and sorts; every entry point that reads such text is
// given each input. Errors of the engine are the expected result for most of them; a
// criterion that translates must not be able to leave the parentheses it is spliced into.
// File inputs are database files made here, damaged at random (bytes, whole pages, header
// fields, cut short), read as repair reads them.
//
//   jet_sql_fuzz [count [seed]]
#include "jet_pages.h"
#include "jet_schema.h"
#include "jet_sql.h"
#include "jet_text.h"

#include <sqlite3.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace jet;

namespace {

struct Random {
    uint64_t state;
    explicit Random(uint64_t seed) : state(seed * 0x9E3779B97F4A7C15ull + 1) {}
    uint64_t Next()
    {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    }
    size_t Below(size_t n) { return n ? (size_t)(Next() % n) : 0; }
};

// Statements, sources, criteria and sorts as the program and its tests write them.
const char* const kCorpus[] = {
    "SELECT [VideoClip].* FROM [VideoClip] INNER JOIN [Person] ON [VideoClip].[PersonID] = [Person].[ID]",
    "[Person],[VideoClip]",
    "[ReferenceClipGroupDetail],[VideoClip]",
    "SELECT * FROM Person WHERE Person.[Role] = 'Instructor' ORDER BY Person.[LastName],Person.[FirstName]",
    "SELECT * FROM Person AS p LEFT JOIN VideoClip v ON v.PersonID = p.ID",
    "SELECT DISTINCT [Club] FROM [VideoClip]",
    "SELECT Count(*) AS [V] FROM [T] GROUP BY [N] HAVING Count(*) > 1",
    "SELECT [ID], [Comment] FROM [VideoClip]",
    "INSERT INTO [Person] ([LastName], [FirstName], [Role], [InstructorID], [Comment], [LastLessonNumber], "
    "[L/RHand]) VALUES ('Hale', 'Ida', 'Instructor', -1, 'Teaches', 3, 'Right Hand')",
    "INSERT INTO [System] ([Version]) VALUES (4)",
    "UPDATE [VideoClip] SET [GlobalID] = {guid {11111111-2222-3333-4444-555555555555}} WHERE [ID] = 1",
    "UPDATE [VideoClip] SET [VideoClipFileName] = 'CLP''[a]#.avi', [Mirror] = True WHERE [ID] = 1",
    "UPDATE [T] SET [D] = '1/2/2003', [N] = (1 + 2) * 3 WHERE [ID] IN (1, 2)",
    "DELETE FROM [System]",
    "DELETE FROM [ReferenceClipGroupDetail] WHERE [VideoID] = 4;",
    "CREATE TABLE [Person] ([ID] COUNTER PRIMARY KEY, [LastName] TEXT(50), [Comment] MEMO, [L/RHand] TEXT(20))",
    "CREATE TABLE x ([a] LONG NOT NULL, [b] TEXT(5), CONSTRAINT pk PRIMARY KEY ([a]), UNIQUE ([b]))",
    "CREATE INDEX [ByName] ON [Big] ([Name] DESC)",
    "ALTER TABLE [T] ADD COLUMN [C] TEXT(20)",
    "DROP TABLE [T]",
    "[VideoClip].[ID] = 17",
    "[GlobalID] = ?",
    "[FirstName] = ? And [LastName] = ?",
    "VideoClipFileName Like 'CLP*.avi'",
    "[VideoClip].[DateTimeStamp]>CDate('01/02/2000 00:00:00')",
    "[d] = #1/2/2000# Or [d] Is Null",
    "(Not [ID] = 4) AND [Role] <> 'Student' & 'x'",
    "[RefClipID] = &HFF Mod 7",
    "Len([S]) > 3 AND Mid([S], 2, 1) = 'a' AND UCase([S]) = LCase([S])",
    "[ClipType] DESC, [VideoClipName]",
};

const char* const kTokens[] = {
    "SELECT", "FROM", "WHERE", "GROUP", "BY", "HAVING", "ORDER", "INSERT", "INTO", "VALUES", "UPDATE",
    "SET", "DELETE", "CREATE", "TABLE", "INDEX", "ALTER", "ADD", "COLUMN", "DROP", "CONSTRAINT",
    "PRIMARY", "KEY", "UNIQUE", "NOT", "NULL", "AND", "OR", "LIKE", "IS", "IN", "AS", "ON", "INNER",
    "LEFT", "JOIN", "DISTINCT", "DISTINCTROW", "UNION", "Count", "Sum", "CDate", "Len", "Mid", "True",
    "False", "Mod", "TEXT", "LONG", "COUNTER", "MEMO", "DATETIME", "GUID", "T", "[ID]", "[L/RHand]",
    "[T].[N]", "x", "'text'", "'it''s'", "''", "\"dq\"", "1", "0", "-1", "3.5", "1e9", ".5", "4294967295",
    "#1/2/2003#", "#2003-01-02 10:00:00#", "{guid {11111111-2222-3333-4444-555555555555}}",
    "{11111111-2222-3333-4444-555555555555}", "&H1F", "?", "(", ")", ",", ".", "*", "=", "<>", "<=", ">=",
    "!=", "<", ">", "+", "-", "/", "&", ";", "!", "\\", "[", "]", "'", "#", "{", "}", "\xE9", "\x96",
};

std::string RandomTokens(Random& r)
{
    std::string s;
    size_t n = 1 + r.Below(24);
    for (size_t i = 0; i < n; ++i) {
        if (i && r.Below(4)) s += ' ';
        s += kTokens[r.Below(sizeof kTokens / sizeof *kTokens)];
    }
    return s;
}

std::string Mutate(Random& r, std::string s)
{
    size_t edits = 1 + r.Below(4);
    for (size_t e = 0; e < edits; ++e) {
        size_t at = r.Below(s.size() + 1);
        switch (r.Below(7)) {
        case 0:  // a random byte
            if (!s.empty() && at < s.size()) s[at] = (char)r.Below(256);
            break;
        case 1:  // insert a byte of the dialect's syntax
            s.insert(at, 1, "[]'\"#{}();,?&!.*=<> \t\0"[r.Below(22)]);
            break;
        case 2:  // delete a run
            if (at < s.size()) s.erase(at, 1 + r.Below(8));
            break;
        case 3:  // cut off the end
            s.resize(at);
            break;
        case 4: {  // repeat a run
            size_t len = r.Below(12);
            if (at + len <= s.size()) s.insert(at, s.substr(at, len));
            break;
        }
        case 5:  // insert a token
            s.insert(at, std::string(" ") + kTokens[r.Below(sizeof kTokens / sizeof *kTokens)] + " ");
            break;
        default: {  // splice in a piece of another corpus entry
            std::string other = kCorpus[r.Below(sizeof kCorpus / sizeof *kCorpus)];
            size_t from = r.Below(other.size());
            s.insert(at, other.substr(from, r.Below(other.size() - from + 1)));
            break;
        }
        }
    }
    return s;
}

// Parentheses outside quoted text and names balance, and never close below depth 0.
bool Balanced(const std::string& sql)
{
    int depth = 0;
    char quote = 0;
    for (char c : sql) {
        if (quote) {
            if (c == quote) quote = 0;  // a doubled quote closes and opens again
            continue;
        }
        if (c == '\'' || c == '"') quote = c;
        else if (c == '(') ++depth;
        else if (c == ')' && --depth < 0) return false;
    }
    return depth == 0 && !quote;
}

int FieldType(const std::string&, const std::string& field)
{
    if (field.empty()) return 0;
    switch (field[0] % 4) {
    case 0: return kLong;
    case 1: return kDate;
    case 2: return kBoolean;
    default: return kText;
    }
}

long g_translated = 0, g_refused = 0;

template <class F>
void Try(F f)
{
    try {
        f();
        ++g_translated;
    } catch (const Error& e) {
        if (e.code <= 0 || ErrorText(e.code).empty()) abort();
        ++g_refused;
    }
}

void RunOne(const std::string& input)
{
    Try([&] { TranslateExpression(input); });
    Try([&] { TranslateStatement(input); });
    Try([&] { TranslateStatement(input, nullptr, FieldType); });
    Try([&] { TranslateSelect(input); });
    // As the filter and the sort of a recordset over a query with its own WHERE clause.
    Try([&] {
        Select s = TranslateSelect("SELECT * FROM [T] WHERE [ID] = 1", input, input);
        if (!Balanced(s.where)) {
            fprintf(stderr, "criterion escapes its parentheses: %s\n  -> %s\n", input.c_str(), s.where.c_str());
            abort();
        }
    });
    double d;
    ParseDateText(input, d);
    ParseNumberText(input, d);
    for (int type : {kLong, kDate, kBoolean}) NumberOfText(type, input, d);
    std::string g;
    NormalizeGuid(input, g);
    std::string half = input.substr(0, input.size() / 2);
    LikeMatch(half, input.substr(input.size() / 2));
    LikeMatch(input, LikeEscape(half));
    FieldDef f;
    JetTypeByName(input, -1, f);
    ParseDeclaredType(input, f);
}

// A small database file: tables with rows that fit a page and rows that overflow, an index,
// a counter, and a schema copy as the engine keeps one.
std::string DatabaseImage(int pageSize)
{
    sqlite3* db = nullptr;
    sqlite3_open(":memory:", &db);
    std::string setup = "PRAGMA page_size = " + std::to_string(pageSize) + ";"
        "CREATE TABLE A (ID INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT, N INTEGER, D REAL, B BLOB);"
        "CREATE TABLE C (X TEXT, Y INTEGER);"
        "CREATE INDEX AN ON A (Name);"
        "WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM k WHERE i < 400) "
        "INSERT INTO A (Name, N, D, B) SELECT 'name ' || i, i * 7, i / 3.0, "
        "CASE WHEN i % 37 = 0 THEN zeroblob(3000 + i) ELSE x'00ff' END FROM k;"
        "INSERT INTO C VALUES ('a', 1), (NULL, -9223372036854775807), ('c', 3);"
        "DELETE FROM A WHERE ID % 50 = 0;"
        "CREATE TABLE MSysSchema (Marker TEXT, Generation INTEGER, Type TEXT, Name TEXT, TableName TEXT, "
        "RootPage INTEGER, Sql TEXT);"
        "INSERT INTO MSysSchema SELECT 'MSysSchema', 1, type, name, tbl_name, rootpage, sql FROM sqlite_master;";
    if (sqlite3_exec(db, setup.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) abort();
    sqlite3_int64 size = 0;
    unsigned char* bytes = sqlite3_serialize(db, "main", &size, 0);
    std::string image((const char*)bytes, (size_t)size);
    sqlite3_free(bytes);
    sqlite3_close(db);
    return image;
}

void RunOneFile(Random& r, const std::string& image, int pageSize)
{
    std::string bytes = image;
    size_t edits = 1 + r.Below(6);
    for (size_t e = 0; e < edits && !bytes.empty(); ++e) {
        size_t at = r.Below(bytes.size());
        switch (r.Below(6)) {
        case 0: bytes[at] = (char)r.Below(256); break;
        case 1: {  // a whole page of one byte
            size_t page = at / pageSize * pageSize;
            bytes.replace(page, std::min<size_t>(pageSize, bytes.size() - page),
                          std::min<size_t>(pageSize, bytes.size() - page), r.Below(2) ? '\xFF' : (char)r.Below(256));
            break;
        }
        case 2: bytes.resize(at); break;  // cut short
        case 3: {  // a header field of a page: its kind, cell count, content start, right child
            size_t page = at / pageSize * pageSize + (at < (size_t)pageSize ? 100 : 0);
            size_t field = page + r.Below(12);
            if (field < bytes.size()) bytes[field] = (char)r.Below(256);
            break;
        }
        case 4: {  // a cell pointer or a 4-byte page number anywhere
            for (int k = 0; k < 4 && at + k < bytes.size(); ++k) bytes[at + k] = (char)r.Below(256);
            break;
        }
        default:  // a field of the file header (page size, free list)
            if (bytes.size() > 40) bytes[16 + r.Below(24)] = (char)r.Below(256);
            break;
        }
    }
    PageFile file(bytes);
    file.MasterSchema();
    for (const SchemaEntry& s : file.SchemaCopy()) (void)s;
    for (uint32_t root = 1; root <= file.PageCount() && root <= 64; ++root) file.ReadTable(root);
    file.OrphanTrees();
}

}  // namespace

int main(int argc, char** argv)
{
    long count = argc > 1 ? atol(argv[1]) : 10000;
    uint64_t seed = argc > 2 ? strtoull(argv[2], nullptr, 10) : 1;
    Random r(seed);
    for (const char* c : kCorpus) RunOne(c);
    for (long i = 0; i < count; ++i) {
        std::string input;
        switch (r.Below(3)) {
        case 0: input = RandomTokens(r); break;
        case 1: input = Mutate(r, kCorpus[r.Below(sizeof kCorpus / sizeof *kCorpus)]); break;
        default: input = Mutate(r, RandomTokens(r)); break;
        }
        RunOne(input);
    }
    const int pageSizes[] = {512, 4096};
    std::string images[2] = {DatabaseImage(pageSizes[0]), DatabaseImage(pageSizes[1])};
    long files = count / 30;
    for (long i = 0; i < files; ++i) {
        int which = (int)r.Below(2);
        RunOneFile(r, images[which], pageSizes[which]);
    }
    printf("%ld inputs (seed %llu): %ld calls translated, %ld refused with an engine error; %ld damaged "
           "files read\n", count, (unsigned long long)seed, g_translated, g_refused, files);
    return 0;
}
