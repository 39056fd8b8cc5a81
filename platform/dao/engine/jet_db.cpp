#include "jet_db.h"

#include "jet_pages.h"
#include "jet_text.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>

namespace jet {

// ---------------------------------------------------------------------------------------
// Values

int64_t Value::AsInt() const
{
    switch (kind) {
    case Int: return i;
    case Real: return (int64_t)std::llround(r);
    case Text: return strtoll(s.c_str(), nullptr, 10);
    default: return 0;
    }
}

double Value::AsReal() const
{
    switch (kind) {
    case Int: return (double)i;
    case Real: return r;
    case Text: return strtod(s.c_str(), nullptr);
    default: return 0;
    }
}

std::string Value::AsText() const
{
    char buf[40];
    switch (kind) {
    case Int: return std::to_string(i);
    case Real:
        snprintf(buf, sizeof buf, "%.15g", r);
        return buf;
    case Text:
    case Blob: return s;
    default: return std::string();
    }
}

bool Value::operator==(const Value& o) const
{
    if (kind != o.kind) return false;
    switch (kind) {
    case Null: return true;
    case Int: return i == o.i;
    case Real: return r == o.r;
    default: return s == o.s;
    }
}

std::string UnixPath(const std::string& path)
{
    if (path.empty() || path[0] == '/') return path;
    int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    std::vector<WCHAR> wide(n > 0 ? n : 1);
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), n);
    char* unix = wine_get_unix_file_name(wide.data());
    if (!unix) return std::string();
    std::string out = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return out;
}

namespace {

bool FileExists(const std::string& unixPath)
{
    struct stat st;
    return !unixPath.empty() && stat(unixPath.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FolderOf(const std::string& unixPath, std::string& folder)
{
    size_t slash = unixPath.rfind('/');
    folder = slash == std::string::npos ? "." : slash == 0 ? "/" : unixPath.substr(0, slash);
    struct stat st;
    return stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// ---- SQL functions and collation of the dialect

void LikeFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const char* pattern = (const char*)sqlite3_value_text(argv[0]);
    int np = sqlite3_value_bytes(argv[0]);
    const char* value = (const char*)sqlite3_value_text(argv[1]);
    int nv = sqlite3_value_bytes(argv[1]);
    sqlite3_result_int(ctx, LikeMatch(value, nv, pattern, np) ? 1 : 0);
}

int CompareText(void*, int na, const void* a, int nb, const void* b)
{
    return CompareNoCase((const char*)a, na, (const char*)b, nb);
}

void CDateFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    int t = sqlite3_value_type(argv[0]);
    if (t == SQLITE_NULL) {
        sqlite3_result_null(ctx);
    } else if (t == SQLITE_INTEGER || t == SQLITE_FLOAT) {
        sqlite3_result_double(ctx, sqlite3_value_double(argv[0]));
    } else {
        double d;
        if (ParseDateText((const char*)sqlite3_value_text(argv[0]), d)) sqlite3_result_double(ctx, d);
        else sqlite3_result_error(ctx, "Data type mismatch in criteria expression.", -1);
    }
}

void CaseFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    bool upper = sqlite3_user_data(ctx) != nullptr;
    std::string s((const char*)sqlite3_value_text(argv[0]), sqlite3_value_bytes(argv[0]));
    for (auto& c : s) {
        unsigned char u = FoldByte((unsigned char)c);
        if (upper) c = (char)u;
        else if (u != (unsigned char)c) {}  // already lower
        else {
            // lower case: the inverse of the fold for letters
            unsigned char l = (unsigned char)c;
            if (l >= 'A' && l <= 'Z') c = (char)(l + 32);
            else if (l >= 0xC0 && l <= 0xDE && l != 0xD7) c = (char)(l + 32);
            else if (l == 0x8A || l == 0x8C || l == 0x8E) c = (char)(l + 16);
            else if (l == 0x9F) c = (char)0xFF;
        }
    }
    sqlite3_result_text(ctx, s.data(), (int)s.size(), SQLITE_TRANSIENT);
}

// Len and Mid count bytes: stored text is Windows-1252, one byte for each character, where
// SQLite's own functions would count UTF-8 sequences.
std::string TextArgument(sqlite3_value* v)
{
    return std::string((const char*)sqlite3_value_text(v), sqlite3_value_bytes(v));
}

void LenFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) sqlite3_result_null(ctx);
    else sqlite3_result_int64(ctx, (sqlite3_int64)TextArgument(argv[0]).size());
}

void MidFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            sqlite3_result_null(ctx);
            return;
        }
    std::string s = TextArgument(argv[0]);
    sqlite3_int64 start = sqlite3_value_int64(argv[1]);
    sqlite3_int64 length = argc > 2 ? sqlite3_value_int64(argv[2]) : (sqlite3_int64)s.size();
    if (start < 1 || length < 0) {
        sqlite3_result_error(ctx, "Invalid procedure call.", -1);
        return;
    }
    std::string part = (size_t)start > s.size() ? std::string() : s.substr((size_t)start - 1, (size_t)length);
    sqlite3_result_text(ctx, part.data(), (int)part.size(), SQLITE_TRANSIENT);
}

// jet_value(value, type): the value a statement gives to a number, date or Yes/No field;
// a text is read as the field's type reads it.
void ValueFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) != SQLITE_TEXT) {
        sqlite3_result_value(ctx, argv[0]);
        return;
    }
    int type = sqlite3_value_int(argv[1]);
    double d;
    if (!NumberOfText(type, TextArgument(argv[0]), d)) {
        sqlite3_result_error(ctx, "Data type conversion error.", -1);
        return;
    }
    double lo = type == kByte ? 0 : type == kInteger ? -32768 : INT32_MIN;
    double hi = type == kByte ? 255 : type == kInteger ? 32767 : INT32_MAX;
    if (type == kBoolean) {
        sqlite3_result_int64(ctx, d != 0 ? -1 : 0);
    } else if (type == kByte || type == kInteger || type == kLong) {
        if (d < lo - 0.5 || d > hi + 0.5) sqlite3_result_error(ctx, "Numeric field overflow.", -1);
        else sqlite3_result_int64(ctx, (sqlite3_int64)std::llround(d));
    } else if (type == kCurrency) {
        sqlite3_result_int64(ctx, (sqlite3_int64)std::llround(d));
    } else {
        sqlite3_result_double(ctx, d);
    }
}

void RegisterDialect(sqlite3* db)
{
    // The Like operator of SQLite calls the function "like": ours gives it the dialect's
    // wildcards and case rules.
    sqlite3_create_function(db, "like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, LikeFunction, nullptr, nullptr);
    sqlite3_create_collation(db, "JETTEXT", SQLITE_UTF8, nullptr, CompareText);
    sqlite3_create_function(db, "jet_cdate", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, CDateFunction, nullptr, nullptr);
    sqlite3_create_function(db, "jet_ucase", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, (void*)1, CaseFunction, nullptr, nullptr);
    sqlite3_create_function(db, "jet_lcase", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, CaseFunction, nullptr, nullptr);
    sqlite3_create_function(db, "jet_value", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, ValueFunction, nullptr, nullptr);
    sqlite3_create_function(db, "jet_len", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, LenFunction, nullptr, nullptr);
    sqlite3_create_function(db, "jet_mid", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, MidFunction, nullptr, nullptr);
    sqlite3_create_function(db, "jet_mid", 3, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, MidFunction, nullptr, nullptr);
    sqlite3_busy_timeout(db, 5000);
    // A name in double quotes is a name: an unknown one must be an error, not a string.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
}

std::string After(const std::string& msg, const char* prefix)
{
    size_t at = msg.find(prefix);
    return at == std::string::npos ? std::string() : msg.substr(at + strlen(prefix));
}

// Index names are per table in the engine's model and per database in SQLite's: SQLite
// names are "table/index" with "/P" added for a primary index.
std::string IndexSqlName(const std::string& table, const IndexDef& ix)
{
    return table + "/" + ix.name + (ix.primary ? "/P" : "");
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Database

std::shared_ptr<Database> Database::Open(const std::string& path, bool readOnly, bool outside)
{
    std::string unix = UnixPath(path);
    std::string folder;
    if (unix.empty() || !FolderOf(unix, folder)) Throw(3044, path);
    if (!FileExists(unix)) Throw(3024, path);
    if (!readOnly && (access(unix.c_str(), W_OK) != 0 || access(folder.c_str(), W_OK) != 0))
        Throw(3051, path);  // a read-only file opens only read-only
    std::shared_ptr<Database> db(new Database);
    db->m_name = path;
    db->m_readOnly = readOnly;
    int rc = sqlite3_open_v2(unix.c_str(), &db->m_db,
                             readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) db->Fail(rc);
    if (outside) db->Harden();
    db->Setup();
    if (outside) db->CheckOutsideSchema();
    return db;
}

void Database::Harden()
{
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    Exec("PRAGMA trusted_schema = OFF");
    Exec("PRAGMA cell_size_check = ON");
}

// The tables the program reads and writes in a file made elsewhere must be what they seem:
// a view, a virtual table or a trigger under those names would run the file's own SQL.
void Database::CheckOutsideSchema()
{
    std::string result;
    try {
        Statement st(*this, "PRAGMA quick_check");
        if (st.Step()) result = st.Column(0).AsText();
        while (st.Step()) {}
    } catch (const Error&) {
        result.clear();
    }
    if (result != "ok") Throw(3049, m_name);
    static const char* const kTables[] = {"VideoClip", "Person", "System"};
    for (const char* table : kTables) {
        Statement st(*this, "SELECT type, coalesce(sql, '') FROM sqlite_master "
                            "WHERE name = ?1 COLLATE NOCASE OR "
                            "(type = 'trigger' AND tbl_name = ?1 COLLATE NOCASE)");
        st.Bind(1, Value::MakeText(table));
        bool refused = false;
        while (st.Step()) {
            const std::string type = st.Column(0).AsText();
            const std::string sql = st.Column(1).AsText();
            if (type != "table" || sqlite3_strnicmp(sql.c_str(), "CREATE TABLE", 12) != 0)
                refused = true;
        }
        if (refused) Throw(3049, m_name);
    }
}

std::shared_ptr<Database> Database::Create(const std::string& path)
{
    std::string unix = UnixPath(path);
    std::string folder;
    if (unix.empty() || !FolderOf(unix, folder)) Throw(3044, path);
    struct stat st;
    if (stat(unix.c_str(), &st) == 0) Throw(3204);
    std::shared_ptr<Database> db(new Database);
    db->m_name = path;
    int rc = sqlite3_open_v2(unix.c_str(), &db->m_db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) db->Fail(rc);
    db->Setup();
    // Writes the header at once, so that the new file is a database even before it has a
    // table.
    db->Exec("PRAGMA application_id = 1364350540");
    return db;
}

void Database::Setup()
{
    RegisterDialect(m_db);
    // Reading the schema tells a database from any other file.
    Exec("SELECT count(*) FROM sqlite_master");
    m_schemaSeen = SchemaVersion();
}

int64_t Database::SchemaVersion()
{
    Statement st(*this, "PRAGMA schema_version");
    return st.Step() ? st.Column(0).AsInt() : -1;
}

// The copy is rewritten whole, with a generation number above any earlier one, so that
// the newest copy can be told from stale ones left on free pages.
void Database::KeepSchemaCopy(bool force)
{
    if (m_readOnly || m_trans > 0) return;
    bool has = false;
    {
        Statement st(*this, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?");
        st.Bind(1, Value::MakeText(kSchemaCopyTable));
        has = st.Step();
        if (has) while (st.Step()) {}
    }
    // A file without a copy gets one once it is known to take writes.
    if (!force && SchemaVersion() == m_schemaSeen && (has || sqlite3_total_changes(m_db) == 0)) return;
    const std::string table = QuoteName(kSchemaCopyTable);
    BeginTrans();
    try {
        Exec("CREATE TABLE IF NOT EXISTS " + table +
             " (Marker TEXT, Generation INTEGER, Type TEXT, Name TEXT, TableName TEXT, RootPage INTEGER, Sql TEXT)");
        Statement st(*this, "SELECT coalesce(max(Generation), 0) + 1 FROM " + table);
        int64_t generation = st.Step() ? st.Column(0).AsInt() : 1;
        while (st.Step()) {}
        Exec("DELETE FROM " + table);
        Statement put(*this, "INSERT INTO " + table +
                                 " SELECT ?, ?, type, name, tbl_name, rootpage, sql FROM sqlite_master");
        put.Bind(1, Value::MakeText(kSchemaCopyTable));
        put.Bind(2, Value::MakeInt(generation));
        put.Step();
        CommitTrans();
    } catch (...) {
        RollbackAfterError();
        throw;
    }
    m_schemaSeen = SchemaVersion();
}

Database::~Database()
{
    if (m_db) {
        if (m_trans > 0) {
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
            m_trans = 0;
        } else {
            try {
                KeepSchemaCopy();
            } catch (const Error&) {
                // the copy is a help for repair only; the database itself is complete
            }
        }
        sqlite3_close_v2(m_db);
    }
}

void Database::Fail(int rc, const std::string& context) const
{
    std::string msg = m_db ? sqlite3_errmsg(m_db) : "";
    int ext = m_db ? sqlite3_extended_errcode(m_db) : rc;
    switch (rc & 0xff) {
    case SQLITE_CONSTRAINT:
        if (ext == SQLITE_CONSTRAINT_NOTNULL) {
            std::string col = After(msg, "failed: ");
            size_t dot = col.find('.');
            Throw(3314, dot == std::string::npos ? col : col.substr(dot + 1));
        }
        Throw(3022);
    case SQLITE_BUSY:
    case SQLITE_LOCKED: Throw(3218);
    case SQLITE_READONLY: Throw(3027);
    case SQLITE_NOTADB: Throw(3343, m_name);
    case SQLITE_CORRUPT: Throw(3049, m_name);
    case SQLITE_FULL: Throw(3026);
    case SQLITE_IOERR: Throw(3043);
    case SQLITE_CANTOPEN: Throw(3024, m_name);
    case SQLITE_PERM:
    case SQLITE_AUTH: Throw(3051, m_name);
    default: break;
    }
    if (msg.compare(0, 14, "no such table:") == 0) Throw(3078, After(msg, "no such table: "));
    if (msg.compare(0, 15, "no such column:") == 0) Throw(3061, "1");
    if (msg.find("already exists") != std::string::npos) {
        if (msg.compare(0, 5, "index") == 0) Throw(3284);
        Throw(3010, After(msg, "table "));
    }
    if (msg.find("ambiguous column name") != std::string::npos) Throw(3079, After(msg, "name: "));
    if (msg.find("Data type mismatch") != std::string::npos) Throw(3464);
    if (msg.find("Data type conversion error") != std::string::npos) Throw(3421);
    if (msg.find("Numeric field overflow") != std::string::npos) Throw(3349);
    Throw(3075, context.empty() ? msg : context);
}

void Database::Exec(const std::string& sql)
{
    char* err = nullptr;
    int rc = sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &err);
    sqlite3_free(err);
    if (rc != SQLITE_OK) Fail(rc, sql);
}

long Database::Execute(const std::string& jetSql, const std::vector<Value>& params)
{
    if (IsSelectStatement(jetSql)) Throw(3065);  // rows are read through a recordset
    int markers = 0;
    std::map<std::string, std::vector<FieldDef>> tables;
    auto fieldType = [&](const std::string& table, const std::string& field) {
        auto it = tables.find(table);
        if (it == tables.end()) {
            std::vector<FieldDef> fields;
            try {
                fields = Fields(table);
            } catch (const Error&) {
                // an unknown table: the statement itself reports it
            }
            it = tables.emplace(table, fields).first;
        }
        for (const FieldDef& f : it->second)
            if (CompareNoCase(f.name, field) == 0) return f.type;
        return 0;
    };
    std::string sql = TranslateStatement(jetSql, &markers, fieldType);
    if ((int)params.size() < markers) Throw(3061, std::to_string(markers - (int)params.size()));
    Statement st(*this, sql);
    st.Bind(params);
    while (st.Step()) {}
    return (long)sqlite3_changes(m_db);
}

void Database::BeginTrans()
{
    Exec(m_trans == 0 ? "BEGIN" : "SAVEPOINT t" + std::to_string(m_trans));
    ++m_trans;
}

void Database::CommitTrans()
{
    if (m_trans == 0) Throw(3034);
    --m_trans;
    try {
        Exec(m_trans == 0 ? "COMMIT" : "RELEASE t" + std::to_string(m_trans));
    } catch (...) {
        // A commit that failed (a busy or full file) leaves the transaction open unless
        // SQLite rolled it back itself: the count follows what SQLite holds.
        if (sqlite3_get_autocommit(m_db)) m_trans = 0;
        else ++m_trans;
        throw;
    }
}

void Database::Rollback()
{
    if (m_trans == 0) Throw(3034);
    --m_trans;
    // After a full disk or an I/O error SQLite has already rolled the whole transaction
    // back: there is nothing left to undo.
    if (sqlite3_get_autocommit(m_db)) {
        m_trans = 0;
        return;
    }
    if (m_trans == 0) Exec("ROLLBACK");
    else Exec("ROLLBACK TO t" + std::to_string(m_trans) + "; RELEASE t" + std::to_string(m_trans));
}

void Database::RollbackAfterError() noexcept
{
    if (m_trans == 0) return;
    try {
        Rollback();
    } catch (...) {
        // The rollback's own failure would hide the cause; SQLite undoes what is left when
        // the connection closes.
        if (sqlite3_get_autocommit(m_db)) m_trans = 0;
    }
}

std::vector<std::string> Database::TableNames()
{
    std::vector<std::string> out;
    Statement st(*this, "SELECT name FROM sqlite_master WHERE type = 'table' AND substr(name, 1, 7) <> 'sqlite_' "
                        "AND name <> ? ORDER BY rowid");
    st.Bind(1, Value::MakeText(kSchemaCopyTable));
    while (st.Step()) out.push_back(st.Column(0).s);
    return out;
}

bool Database::TableExists(const std::string& table, std::string* realName)
{
    Statement st(*this, "SELECT name FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE");
    st.Bind(1, Value::MakeText(table));
    if (!st.Step()) return false;
    if (realName) *realName = st.Column(0).s;
    return true;
}

std::string Database::RealTable(const std::string& table)
{
    std::string real;
    if (!TableExists(table, &real)) Throw(3011, table);
    return real;
}

std::vector<FieldDef> Database::Fields(const std::string& table)
{
    std::string real = RealTable(table);
    std::vector<FieldDef> out;
    Statement st(*this, "SELECT name, type, \"notnull\", pk FROM pragma_table_info(?)");
    st.Bind(1, Value::MakeText(real));
    while (st.Step()) {
        FieldDef f;
        f.name = st.Column(0).s;
        ParseDeclaredType(st.Column(1).s, f);
        if (f.autoIncrement() && st.Column(3).AsInt() == 0) f.attributes &= ~kAutoIncrField;
        f.required = st.Column(2).AsInt() != 0 || f.autoIncrement();
        out.push_back(f);
    }
    return out;
}

std::vector<IndexDef> Database::Indexes(const std::string& table)
{
    std::string real = RealTable(table);
    std::vector<IndexDef> out;
    // The counter column is the table's primary key.
    for (const FieldDef& f : Fields(real)) {
        if (f.autoIncrement()) {
            IndexDef pk;
            pk.name = "PrimaryKey";
            pk.fields.push_back(IndexField{f.name, false});
            pk.primary = pk.unique = pk.required = true;
            out.push_back(pk);
        }
    }
    Statement st(*this, "SELECT name, \"unique\" FROM pragma_index_list(?) WHERE origin = 'c' ORDER BY seq DESC");
    st.Bind(1, Value::MakeText(real));
    std::vector<std::pair<std::string, bool>> names;
    while (st.Step()) names.emplace_back(st.Column(0).s, st.Column(1).AsInt() != 0);
    std::sort(names.begin(), names.end());
    for (auto& n : names) {
        IndexDef ix;
        std::string s = n.first;
        size_t slash = s.find('/');
        ix.name = slash == std::string::npos ? s : s.substr(slash + 1);
        if (ix.name.size() > 2 && ix.name.compare(ix.name.size() - 2, 2, "/P") == 0) {
            ix.primary = ix.required = true;
            ix.name.resize(ix.name.size() - 2);
        }
        ix.unique = n.second;
        Statement cols(*this, "SELECT name, \"desc\" FROM pragma_index_xinfo(?) WHERE key = 1 ORDER BY seqno");
        cols.Bind(1, Value::MakeText(s));
        while (cols.Step()) ix.fields.push_back(IndexField{cols.Column(0).s, cols.Column(1).AsInt() != 0});
        out.push_back(ix);
    }
    return out;
}

void Database::CreateTable(const std::string& table, const std::vector<FieldDef>& fields)
{
    if (m_readOnly) Throw(3027);
    if (table.empty()) Throw(3125, table);
    if (TableExists(table)) Throw(3010, table);
    if (fields.empty()) Throw(3264);
    std::string sql = "CREATE TABLE " + QuoteName(table) + " (";
    for (size_t i = 0; i < fields.size(); ++i) {
        for (size_t k = 0; k < i; ++k)
            if (CompareNoCase(fields[k].name, fields[i].name) == 0) Throw(3191);
        if (!IsValidType(fields[i].type)) Throw(3259);
        sql += (i ? ", " : "") + ColumnDeclaration(fields[i]);
    }
    Exec(sql + ")");
}

void Database::CreateField(const std::string& table, const FieldDef& field, int ordinal)
{
    if (m_readOnly) Throw(3027);
    std::string real = RealTable(table);
    std::vector<FieldDef> fields = Fields(real);
    for (auto& f : fields)
        if (CompareNoCase(f.name, field.name) == 0) Throw(3191);
    if (!IsValidType(field.type)) Throw(3259);
    if (field.autoIncrement())
        for (auto& f : fields)
            if (f.autoIncrement()) Throw(3259);
    std::vector<std::string> copy;
    for (auto& f : fields) copy.push_back(f.name);
    size_t at = ordinal < 0 || (size_t)ordinal > fields.size() ? fields.size() : (size_t)ordinal;
    fields.insert(fields.begin() + at, field);
    copy.insert(copy.begin() + at, std::string());
    RebuildTable(real, fields, copy);
}

void Database::DeleteField(const std::string& table, const std::string& field)
{
    if (m_readOnly) Throw(3027);
    std::string real = RealTable(table);
    std::vector<FieldDef> fields = Fields(real);
    size_t at = fields.size();
    for (size_t i = 0; i < fields.size(); ++i)
        if (CompareNoCase(fields[i].name, field) == 0) at = i;
    if (at == fields.size()) Throw(3265);
    for (const IndexDef& ix : Indexes(real))
        for (const IndexField& f : ix.fields)
            if (CompareNoCase(f.name, field) == 0) Throw(3280);
    if (fields.size() == 1) Throw(3280);
    std::vector<std::string> copy;
    for (auto& f : fields) copy.push_back(f.name);
    fields.erase(fields.begin() + at);
    copy.erase(copy.begin() + at);
    RebuildTable(real, fields, copy);
}

// SQLite cannot insert or drop a column in the middle of a table: the table is made anew
// with the new columns and the rows copied over in their order (rowids kept, so the counter
// values and the natural order stay), then the counter's sequence and the indexes are put
// back. copyFrom names, for each new field, the old column it takes its values from (empty:
// none, the field starts Null).
void Database::RebuildTable(const std::string& table, const std::vector<FieldDef>& fields,
                            const std::vector<std::string>& copyFrom)
{
    std::vector<IndexDef> indexes = Indexes(table);
    std::string temp = table + "__rebuild";
    std::vector<FieldDef> plain = fields;
    BeginTrans();
    try {
        int64_t seq = -1;
        {
            Statement st(*this, "SELECT seq FROM sqlite_sequence WHERE name = ?");
            try {
                st.Bind(1, Value::MakeText(table));
                if (st.Step()) seq = st.Column(0).AsInt();
            } catch (const Error&) {
            }
        }
        std::string create = "CREATE TABLE " + QuoteName(temp) + " (";
        for (size_t i = 0; i < fields.size(); ++i) create += (i ? ", " : "") + ColumnDeclaration(fields[i]);
        Exec(create + ")");
        std::string cols = "rowid", from = "rowid";
        for (size_t i = 0; i < fields.size(); ++i) {
            if (copyFrom[i].empty() || fields[i].autoIncrement()) continue;
            cols += ", " + QuoteName(fields[i].name);
            from += ", " + QuoteName(copyFrom[i]);
        }
        Exec("INSERT INTO " + QuoteName(temp) + " (" + cols + ") SELECT " + from + " FROM " +
             QuoteName(table) + " ORDER BY rowid");
        Exec("DROP TABLE " + QuoteName(table));
        Exec("ALTER TABLE " + QuoteName(temp) + " RENAME TO " + QuoteName(table));
        if (seq >= 0) {
            bool counter = false;
            for (auto& f : fields) counter |= f.autoIncrement();
            if (counter) {
                Statement up(*this, "UPDATE sqlite_sequence SET seq = max(seq, ?) WHERE name = ?");
                up.Bind(1, Value::MakeInt(seq));
                up.Bind(2, Value::MakeText(table));
                up.Step();
                if (sqlite3_changes(m_db) == 0) {
                    Statement ins(*this, "INSERT INTO sqlite_sequence (name, seq) VALUES (?, ?)");
                    ins.Bind(1, Value::MakeText(table));
                    ins.Bind(2, Value::MakeInt(seq));
                    ins.Step();
                }
            }
        }
        for (const IndexDef& ix : indexes) {
            if (ix.primary && ix.name == "PrimaryKey" && ix.fields.size() == 1) {
                bool isCounter = false;
                for (auto& f : fields)
                    if (f.autoIncrement() && CompareNoCase(f.name, ix.fields[0].name) == 0) isCounter = true;
                if (isCounter) continue;
            }
            CreateIndex(table, ix);
        }
        CommitTrans();
    } catch (...) {
        RollbackAfterError();
        throw;
    }
    (void)plain;
}

void Database::CreateIndex(const std::string& table, const IndexDef& index)
{
    if (m_readOnly) Throw(3027);
    std::string real = RealTable(table);
    if (index.fields.empty()) Throw(3264);
    std::vector<FieldDef> fields = Fields(real);
    // A primary index on the counter alone is the table's own key (a copied table
    // definition brings it along).
    if (index.primary && index.fields.size() == 1)
        for (auto& f : fields)
            if (f.autoIncrement() && CompareNoCase(f.name, index.fields[0].name) == 0) return;
    for (const IndexDef& ix : Indexes(real)) {
        if (CompareNoCase(ix.name, index.name) == 0) Throw(3284);
        if (ix.primary && index.primary) Throw(3283);
    }
    std::string sql = std::string("CREATE ") + (index.unique || index.primary ? "UNIQUE " : "") +
                      "INDEX " + QuoteName(IndexSqlName(real, index)) + " ON " + QuoteName(real) + " (";
    for (size_t i = 0; i < index.fields.size(); ++i) {
        bool found = false;
        for (auto& f : fields) found |= CompareNoCase(f.name, index.fields[i].name) == 0;
        if (!found) Throw(3265);
        sql += (i ? ", " : "") + QuoteName(index.fields[i].name) + (index.fields[i].descending ? " DESC" : "");
    }
    Exec(sql + ")");
}

// ---------------------------------------------------------------------------------------
// Statement

Statement::Statement(const Database& db, const std::string& sql) : m_db(db)
{
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v2(db.Handle(), sql.c_str(), (int)sql.size() + 1, &m_stmt, &tail);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        db.Fail(rc, sql);
    }
    // One statement is run: anything after it would be dropped unseen.
    while (tail && *tail && (isspace((unsigned char)*tail) || *tail == ';')) ++tail;
    if (tail && *tail) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        Throw(3142);
    }
}

Statement::~Statement() { sqlite3_finalize(m_stmt); }

void Statement::Bind(const std::vector<Value>& params)
{
    int n = sqlite3_bind_parameter_count(m_stmt);
    for (int i = 0; i < n && i < (int)params.size(); ++i) Bind(i + 1, params[i]);
}

void Statement::Bind(int index, const Value& v)
{
    switch (v.kind) {
    case Value::Null: sqlite3_bind_null(m_stmt, index); break;
    case Value::Int: sqlite3_bind_int64(m_stmt, index, v.i); break;
    case Value::Real: sqlite3_bind_double(m_stmt, index, v.r); break;
    case Value::Text: sqlite3_bind_text(m_stmt, index, v.s.data(), (int)v.s.size(), SQLITE_TRANSIENT); break;
    case Value::Blob: sqlite3_bind_blob(m_stmt, index, v.s.data(), (int)v.s.size(), SQLITE_TRANSIENT); break;
    }
}

bool Statement::Step()
{
    int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) {
        sqlite3_reset(m_stmt);
        return false;
    }
    sqlite3_reset(m_stmt);
    m_db.Fail(rc);
}

int Statement::Columns() const { return sqlite3_column_count(m_stmt); }

Value Statement::Column(int i) const
{
    switch (sqlite3_column_type(m_stmt, i)) {
    case SQLITE_INTEGER: return Value::MakeInt(sqlite3_column_int64(m_stmt, i));
    case SQLITE_FLOAT: return Value::MakeReal(sqlite3_column_double(m_stmt, i));
    case SQLITE_TEXT: {
        const char* p = (const char*)sqlite3_column_text(m_stmt, i);
        return Value::MakeText(std::string(p, sqlite3_column_bytes(m_stmt, i)));
    }
    case SQLITE_BLOB: {
        const char* p = (const char*)sqlite3_column_blob(m_stmt, i);
        return Value::MakeBlob(std::string(p ? p : "", sqlite3_column_bytes(m_stmt, i)));
    }
    default: return Value();
    }
}

// ---------------------------------------------------------------------------------------
// Compaction and repair

void CompactDatabase(const std::string& src, const std::string& dst)
{
    std::string unixDst = UnixPath(dst), folder;
    if (unixDst.empty() || !FolderOf(unixDst, folder)) Throw(3044, dst);
    struct stat st;
    if (stat(unixDst.c_str(), &st) == 0) Throw(3204);
    std::shared_ptr<Database> db = Database::Open(src, true);
    try {
        db->Exec("VACUUM INTO " + QuoteText(unixDst));
        // The pages moved: the schema copy must name the new ones.
        std::shared_ptr<Database> out = Database::Open(unixDst, false);
        out->KeepSchemaCopy(true);
    } catch (...) {
        unlink(unixDst.c_str());
        throw;
    }
}

namespace {

std::string IntegrityCheck(Database& db)
{
    try {
        Statement st(db, "PRAGMA integrity_check");
        std::string first;
        if (st.Step()) first = st.Column(0).AsText();
        while (st.Step()) {}
        return first;
    } catch (const Error& e) {
        return e.what();
    }
}

bool StartsWith(const std::string& s, const char* prefix) { return s.compare(0, strlen(prefix), prefix) == 0; }

bool ReadWholeFile(const std::string& unixPath, std::string& bytes)
{
    FILE* f = fopen(unixPath.c_str(), "rb");
    if (!f) return false;
    char buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
    bool ok = !ferror(f);
    fclose(f);
    return ok;
}

bool WriteWholeFile(const std::string& unixPath, const std::string& bytes)
{
    FILE* f = fopen(unixPath.c_str(), "wbx");
    if (!f) return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = fflush(f) == 0 && fsync(fileno(f)) == 0 && ok;
    ok = fclose(f) == 0 && ok;
    if (!ok) unlink(unixPath.c_str());
    return ok;
}

struct RecoveredTable {
    std::string name;
    std::vector<std::string> columns;  // in stored order
    int alias = -1;                    // the column that is the row's key, if any
    PageFile::TableRows rows;
};

// Rebuilds a damaged database from its pages into a new file: the tables as the schema
// names them, every row that can be decoded (rows of a part of a tree that a damaged
// interior page cut off included), the counters' sequence and the indexes.
RepairResult Recover(PageFile& file, const std::vector<SchemaEntry>& schema, const std::string& unixTarget)
{
    RepairResult result;
    std::shared_ptr<Database> to = Database::Create(unixTarget);
    std::vector<RecoveredTable> tables;
    std::map<std::string, int64_t> sequence;
    to->BeginTrans();
    for (const SchemaEntry& e : schema) {
        if (e.type != "table") continue;
        // Every tree is read, also of the tables left out, so that none of its pages is
        // taken for a cut-off part of another table.
        PageFile::TableRows rows;
        if (e.rootPage > 0 && e.rootPage <= (int64_t)file.PageCount()) {
            rows = file.ReadTable((uint32_t)e.rootPage);
        } else {
            rows.damaged = true;
            rows.lost.push_back(PageFile::TableRows::Range{false, false, 0, 0});
        }
        if (e.name == "sqlite_sequence") {
            for (const RecoveredRow& r : rows.rows)
                if (r.values.size() == 2 && r.values[0].kind == Value::Text) sequence[r.values[0].s] = r.values[1].AsInt();
            continue;
        }
        if (e.sql.empty() || StartsWith(e.name, "sqlite_") || e.name == kSchemaCopyTable) continue;
        to->Exec(e.sql);
        RecoveredTable t;
        t.name = e.name;
        t.rows = std::move(rows);
        Statement cols(*to, "SELECT name, type, pk FROM pragma_table_info(?) ORDER BY cid");
        cols.Bind(1, Value::MakeText(e.name));
        int keys = 0, key = -1;
        while (cols.Step()) {
            if (cols.Column(2).AsInt() > 0) {
                ++keys;
                if (CompareNoCase(cols.Column(1).s, "INTEGER") == 0) key = (int)t.columns.size();
            }
            t.columns.push_back(cols.Column(0).s);
        }
        if (keys == 1) t.alias = key;
        tables.push_back(std::move(t));
    }
    // Parts of a table cut off from it by a damaged interior page are found on their own;
    // such a part goes to the damaged table whose rows it fits.
    bool damaged = false;
    for (const RecoveredTable& t : tables) damaged |= t.rows.damaged;
    if (damaged) {
        for (PageFile::TableRows& orphan : file.OrphanTrees()) {
            size_t width = 0;
            for (const RecoveredRow& r : orphan.rows) width = std::max(width, r.values.size());
            if (orphan.rows.empty()) continue;
            RecoveredTable* owner = nullptr;
            int fits = 0;
            for (RecoveredTable& t : tables)
                if (t.rows.damaged && width <= t.columns.size()) {
                    owner = &t;
                    ++fits;
                }
            if (fits != 1) continue;
            for (RecoveredRow& r : orphan.rows) owner->rows.rows.push_back(std::move(r));
        }
    }
    for (RecoveredTable& t : tables) {
        std::map<size_t, std::unique_ptr<Statement>> puts;  // by the number of stored columns
        std::set<int64_t> keys;
        for (const RecoveredRow& r : t.rows.rows) {
            size_t width = r.values.size();
            if (width > t.columns.size()) {
                ++t.rows.badRows;
                continue;
            }
            std::unique_ptr<Statement>& put = puts[width];
            if (!put) {
                // Columns the row does not store (added after it was written) keep their
                // defaults.
                std::string sql = "INSERT OR IGNORE INTO " + QuoteName(t.name) + " (rowid";
                std::string marks = "?";
                for (size_t c = 0; c < width; ++c) {
                    if ((int)c == t.alias) continue;
                    sql += ", " + QuoteName(t.columns[c]);
                    marks += ", ?";
                }
                put.reset(new Statement(*to, sql + ") VALUES (" + marks + ")"));
            }
            int at = 1;
            put->Bind(at++, Value::MakeInt(r.rowid));
            for (size_t c = 0; c < width; ++c)
                if ((int)c != t.alias) put->Bind(at++, r.values[c]);
            while (put->Step()) {}
            if (sqlite3_changes(to->Handle()) > 0) keys.insert(r.rowid);
        }
        // Rows lost: the keys a damaged page covered that no row was found for. Where the
        // tree gives no bound, the keys start at 1 and end at the counter's last value.
        auto seq = sequence.find(t.name);
        for (const auto& range : t.rows.lost) {
            int64_t lo = range.loKnown ? range.lo : 0;
            if (!range.hiKnown && seq == sequence.end()) continue;
            int64_t hi = range.hiKnown ? range.hi : seq->second;
            if (hi <= lo) continue;
            long found = (long)std::distance(keys.upper_bound(lo), keys.upper_bound(hi));
            // Keys read from a damaged file may be anything: the span is counted without
            // overflow and the total saturates.
            uint64_t span = (uint64_t)hi - (uint64_t)lo;
            long missing = span > (uint64_t)(LONG_MAX / 4) ? LONG_MAX / 4 : (long)span;
            result.rowsLost = std::min<long>(LONG_MAX / 2, result.rowsLost + std::max<long>(0, missing - found));
        }
        result.rowsLost += t.rows.badRows;
        result.pagesLost += (long)t.rows.lost.size();
    }
    for (const auto& s : sequence) {
        if (!to->TableExists(s.first)) continue;
        Statement up(*to, "UPDATE sqlite_sequence SET seq = max(seq, ?) WHERE name = ?");
        up.Bind(1, Value::MakeInt(s.second));
        up.Bind(2, Value::MakeText(s.first));
        up.Step();
        if (sqlite3_changes(to->Handle()) == 0) {
            Statement ins(*to, "INSERT INTO sqlite_sequence (name, seq) VALUES (?, ?)");
            ins.Bind(1, Value::MakeText(s.first));
            ins.Bind(2, Value::MakeInt(s.second));
            ins.Step();
        }
    }
    for (const SchemaEntry& e : schema) {
        if (e.type != "index" || e.sql.empty() || e.table == kSchemaCopyTable) continue;
        try {
            to->Exec(e.sql);
        } catch (const Error&) {
            // a unique index that the recovered rows break is left out
        }
    }
    to->CommitTrans();
    result.repaired = true;
    return result;
}

}  // namespace

RepairResult RepairDatabase(const std::string& path)
{
    std::string unix = UnixPath(path), folder;
    if (unix.empty() || !FolderOf(unix, folder)) Throw(3044, path);
    if (!FileExists(unix)) Throw(3024, path);
    std::vector<SchemaEntry> schema;
    long openError = 0;
    try {
        // Opened for writing so that a journal left by a crash is rolled back first; a
        // connection that only reads writes nothing when it closes.
        std::shared_ptr<Database> db = Database::Open(path, false);
        if (IntegrityCheck(*db) == "ok") return RepairResult();
        try {
            Statement st(*db, "SELECT type, name, tbl_name, rootpage, sql FROM sqlite_master");
            while (st.Step()) {
                SchemaEntry e;
                e.type = st.Column(0).AsText();
                e.name = st.Column(1).AsText();
                e.table = st.Column(2).AsText();
                e.rootPage = st.Column(3).AsInt();
                e.sql = st.Column(4).AsText();
                schema.push_back(e);
            }
        } catch (const Error&) {
            schema.clear();
        }
    } catch (const Error& e) {
        if (e.code != 3343 && e.code != 3049) throw;
        openError = e.code;
    }
    std::string bytes;
    if (!ReadWholeFile(unix, bytes)) Throw(3043);
    PageFile file(bytes);
    // The first page's tree is read in any case, so that its pages are not taken for parts
    // of a damaged table.
    std::vector<SchemaEntry> master = file.MasterSchema();
    if (schema.empty()) schema = master;
    if (schema.empty()) schema = file.SchemaCopy();
    bool anyTable = false;
    for (const SchemaEntry& e : schema) anyTable |= e.type == "table";
    if (!anyTable) Throw(openError == 3343 || !file.HeaderValid() ? 3343 : 3049, path);

    std::string temp = unix + ".repair";
    // A journal of an earlier repair that was stopped belongs to its half-written file, not
    // to the new one.
    unlink((temp + "-journal").c_str());
    unlink(temp.c_str());
    RepairResult result;
    try {
        result = Recover(file, schema, temp);
    } catch (...) {
        unlink(temp.c_str());
        Throw(3049, path);
    }
    // The damaged file stays beside the result under a name of its own; an earlier one is
    // not replaced.
    std::string suffix = ".corrupt";
    for (int n = 2; FileExists(unix + suffix) && n < 1000; ++n) suffix = ".corrupt" + std::to_string(n);
    std::string kept = unix + suffix;
    if (FileExists(kept) || (link(unix.c_str(), kept.c_str()) != 0 && !WriteWholeFile(kept, bytes))) {
        unlink(temp.c_str());
        Throw(3043);
    }
    // A journal still beside the damaged file is its own (opening it for writing could not
    // roll it back): replayed into the recovered file it would damage that.
    unlink((unix + "-journal").c_str());
    if (rename(temp.c_str(), unix.c_str()) != 0) {
        unlink(temp.c_str());
        unlink(kept.c_str());
        Throw(3043);
    }
    result.keptAs = path + suffix;
    return result;
}

bool CheckDatabase(const std::string& path)
{
    try {
        std::shared_ptr<Database> db = Database::Open(path, true);
        Statement st(*db, "PRAGMA quick_check");
        bool ok = st.Step() && st.Column(0).AsText() == "ok";
        while (st.Step()) ok = false;
        return ok;
    } catch (const Error&) {
        return false;
    }
}

}  // namespace jet
