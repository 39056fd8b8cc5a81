// Repair of damaged database files through the DAO classes: a page of each kind is
// overwritten in a file made here, and every row outside that page must come back with its
// values, the damaged file must be kept, and the rows lost must be counted.
#include "gtest_wine.h"

#include <afxwin.h>
#include <afxdao.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>

namespace {

std::string g_dir;
std::string g_fixture;  // the sound file's bytes

CString DbPath(const char* name) { return CString(WinePath(g_dir + "/" + name).c_str()); }

struct TableSpec {
    const char* name;
    int rows;
    int memo;  // bytes of the memo of each row (large ones spill onto overflow pages)
};
// Filled in this order, so that the file ends with the big table's pages.
const TableSpec kTables[] = {{"Mid", 60, 5000}, {"Small", 3, 10}, {"Big", 5000, 0}};

std::string NameOf(int id) { return "Caf\xE9 row " + std::to_string(id); }
std::string MemoOf(int id, int size) { return std::string(size, (char)('a' + id % 26)); }

std::string ReadFile(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), bytes.size());
}

uint32_t Be16(const std::string& b, size_t at) { return (uint8_t)b[at] << 8 | (uint8_t)b[at + 1]; }

// The file's pages by their kind (the first byte of a page's tree header).
struct Pages {
    uint32_t size = 0;
    std::map<uint32_t, uint8_t> kind;
    explicit Pages(const std::string& bytes)
    {
        size = Be16(bytes, 16);
        for (uint32_t n = 1; n * size <= bytes.size(); ++n) kind[n] = (uint8_t)bytes[(n - 1) * size + (n == 1 ? 100 : 0)];
    }
    std::vector<uint32_t> Of(uint8_t k) const
    {
        std::vector<uint32_t> out;
        for (auto& p : kind)
            if (p.second == k && p.first > 1) out.push_back(p.first);
        return out;
    }
};

// The row keys held by a table leaf page.
std::set<long> KeysOnLeaf(const std::string& bytes, uint32_t size, uint32_t page)
{
    std::set<long> keys;
    size_t base = (size_t)(page - 1) * size;
    if ((uint8_t)bytes[base] != 13) return keys;
    uint32_t cells = Be16(bytes, base + 3);
    for (uint32_t i = 0; i < cells; ++i) {
        size_t at = base + Be16(bytes, base + 8 + 2 * i);
        auto varint = [&](long long& v) {
            v = 0;
            for (int k = 0; k < 9; ++k) {
                uint8_t c = (uint8_t)bytes[at++];
                if (k == 8) {
                    v = (v << 8) | c;
                    return;
                }
                v = (v << 7) | (c & 0x7f);
                if (!(c & 0x80)) return;
            }
        };
        long long payload, rowid;
        varint(payload);
        varint(rowid);
        keys.insert((long)rowid);
    }
    return keys;
}

class DaoRepair : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        char tmpl[] = "/tmp/daorepairXXXXXX";
        g_dir = mkdtemp(tmpl);
        CDaoWorkspace ws;
        ws.Open();
        CDaoDatabase db(&ws);
        db.Create(DbPath("fixture.mdb"), dbLangGeneral);
        for (const TableSpec& t : kTables)
            db.Execute(CString("CREATE TABLE [") + t.name +
                       "] ([ID] COUNTER PRIMARY KEY, [Name] TEXT(50), [N] LONG, [D] DOUBLE, [Memo] MEMO)");
        db.Execute("CREATE INDEX [ByName] ON [Big] ([Name])");
        db.Close();
        db.Open(DbPath("fixture.mdb"));
        for (const TableSpec& t : kTables) {
            ws.BeginTrans();
            for (int id = 1; id <= t.rows; ++id) {
                CString sql;
                sql.Format("INSERT INTO [%s] ([Name], [N], [D], [Memo]) VALUES ('%s', %d, %d.25, '%s')", t.name,
                           NameOf(id).c_str(), id * 7, id, MemoOf(id, t.memo).c_str());
                db.Execute(sql);
            }
            ws.CommitTrans();
        }
        db.Close();
        ws.Close();
        g_fixture = ReadFile(g_dir + "/fixture.mdb");
    }

    static void TearDownTestSuite() { system(("rm -rf " + g_dir).c_str()); }

    // The rows of a table by ID; values are checked against what was written.
    static std::set<long> GoodRows(const CString& path, const TableSpec& t)
    {
        std::set<long> ids;
        CDaoDatabase db;
        db.Open(path, FALSE, TRUE);
        CDaoRecordset rs(&db);
        rs.Open(dbOpenSnapshot, CString("SELECT * FROM [") + t.name + "]");
        while (!rs.IsEOF()) {
            COleVariant key = rs.GetFieldValue("ID");
            long id = V_I4(&key);
            COleVariant name = rs.GetFieldValue("Name"), n = rs.GetFieldValue("N"), d = rs.GetFieldValue("D"),
                        memo = rs.GetFieldValue("Memo");
            EXPECT_EQ(NameOf(id), std::string(CString(V_BSTR(&name)))) << t.name << " " << id;
            EXPECT_EQ(id * 7, V_I4(&n)) << t.name << " " << id;
            EXPECT_EQ(id + 0.25, V_R8(&d)) << t.name << " " << id;
            if (t.memo) EXPECT_EQ(MemoOf(id, t.memo), std::string(CString(V_BSTR(&memo)))) << t.name << " " << id;
            ids.insert(id);
            rs.MoveNext();
        }
        return ids;
    }
};

}  // namespace

TEST_F(DaoRepair, EveryRowOutsideTheDamagedPageComesBack)
{
    Pages pages(g_fixture);
    ASSERT_EQ(4096u, pages.size);
    // The pages to damage: one of each kind the issue of a damaged file may hit.
    std::vector<uint32_t> leaves = pages.Of(13), interiors = pages.Of(5), indexes = pages.Of(10);
    ASSERT_GT(leaves.size(), 20u);
    ASSERT_FALSE(interiors.empty());
    ASSERT_FALSE(indexes.empty());
    uint32_t biggestInterior = interiors[0];
    for (uint32_t p : interiors)
        if (Be16(g_fixture, (p - 1) * 4096 + 3) > Be16(g_fixture, (biggestInterior - 1) * 4096 + 3)) biggestInterior = p;
    // A leaf page of the given number of rows holding a text (and not the schema's).
    auto leafWith = [&](const std::string& text, uint32_t cells) {
        for (uint32_t p : leaves) {
            std::string page = g_fixture.substr((size_t)(p - 1) * pages.size, pages.size);
            if (Be16(page, 3) == cells && page.find(text) != std::string::npos && page.find("CREATE") == std::string::npos)
                return p;
        }
        return 0u;
    };
    const uint32_t smallTable = leafWith(NameOf(3), 3), counters = leafWith("Big", 3);
    ASSERT_NE(0u, smallTable);
    ASSERT_NE(0u, counters);
    struct Case {
        const char* what;
        uint32_t page;
        bool rows;  // the page holds rows of the tables
    } cases[] = {
        {"a leaf page in the middle", leaves[leaves.size() / 2], true},
        {"an interior page", biggestInterior, true},
        {"an index page", indexes[indexes.size() / 2], true},
        {"the schema page", 1, true},
        {"the last page", (uint32_t)pages.kind.size(), true},
        {"the only page of a small table", smallTable, true},
        {"the counters' page", counters, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string damaged = g_fixture;
        std::set<long> lostKeys = c.rows ? KeysOnLeaf(g_fixture, pages.size, c.page) : std::set<long>();
        damaged.replace((size_t)(c.page - 1) * pages.size, pages.size, std::string(pages.size, '\xFF'));
        const std::string path = g_dir + "/Quorvel.mdb";
        unlink((path + ".corrupt").c_str());
        WriteFile(path, damaged);

        long lost = -1;
        CDaoWorkspace::RepairDatabase(DbPath("Quorvel.mdb"), &lost);
        EXPECT_EQ(damaged, ReadFile(path + ".corrupt"));  // the damaged file is kept
        EXPECT_TRUE(AfxDaoCheckDatabase(DbPath("Quorvel.mdb")));

        long missing = 0;
        for (const TableSpec& t : kTables) {
            std::set<long> ids = GoodRows(DbPath("Quorvel.mdb"), t);
            for (long id = 1; id <= t.rows; ++id)
                if (!ids.count(id)) {
                    ++missing;
                    // A row may be missing only when it lay on the damaged page.
                    EXPECT_TRUE(lostKeys.count(id)) << t.name << " row " << id;
                }
        }
        EXPECT_EQ((long)lostKeys.size(), missing);
        EXPECT_EQ(missing, lost);

        // The repaired file takes new rows and keeps its counters going.
        CDaoDatabase db;
        db.Open(DbPath("Quorvel.mdb"));
        db.Execute("INSERT INTO [Small] ([Name]) VALUES ('new')");
        CDaoRecordset rs(&db);
        rs.Open(dbOpenSnapshot, "SELECT [ID] FROM [Small] WHERE [Name] = 'new'");
        COleVariant top = rs.GetFieldValue("ID");
        EXPECT_EQ(4, V_I4(&top));
    }
}

TEST_F(DaoRepair, SoundFilesStayAndOtherFilesAreNoDatabase)
{
    const std::string path = g_dir + "/Sound.mdb";
    WriteFile(path, g_fixture);
    long lost = -1;
    CDaoWorkspace::RepairDatabase(DbPath("Sound.mdb"), &lost);
    EXPECT_EQ(0, lost);
    EXPECT_EQ(g_fixture, ReadFile(path));
    struct stat st;
    EXPECT_NE(0, stat((path + ".corrupt").c_str(), &st));

    struct {
        const char* what;
        std::string bytes;
    } junk[] = {
        {"text", std::string(9000, 'v')},
        {"zeros", std::string(8192, '\0')},
        {"a pattern", [] { std::string s; for (int i = 0; i < 16384; ++i) s += (char)(i * 7); return s; }()},
    };
    for (auto& j : junk) {
        WriteFile(g_dir + "/junk.mdb", j.bytes);
        long code = 0;
        try {
            CDaoWorkspace::RepairDatabase(DbPath("junk.mdb"));
        } catch (CDaoException* e) {
            code = e->m_pErrorInfo->m_lErrorCode;
            e->Delete();
        }
        EXPECT_EQ(3343, code) << j.what;
        EXPECT_EQ(j.bytes, ReadFile(g_dir + "/junk.mdb")) << j.what;
        EXPECT_FALSE(AfxDaoCheckDatabase(DbPath("junk.mdb"))) << j.what;
    }
}
