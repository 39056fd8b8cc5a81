// The database engine over SQLite: database files, statements of the program's dialect,
// table definitions (with the table rebuild that SQLite needs for a changed column),
// compaction and repair, and the recordset cursor with the classic dynaset behaviour.
//
// Every database is one SQLite file under its own name, kept in rollback-journal mode and
// never left inside a transaction between calls, so that a closed database is a single file
// that can be copied and renamed.
#pragma once

#include "jet_schema.h"
#include "jet_sql.h"

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace jet {

struct Value {
    enum Kind { Null, Int, Real, Text, Blob } kind = Null;
    int64_t i = 0;
    double r = 0;
    std::string s;  // text (Windows-1252 bytes) or blob bytes

    static Value MakeInt(int64_t v) { Value x; x.kind = Int; x.i = v; return x; }
    static Value MakeReal(double v) { Value x; x.kind = Real; x.r = v; return x; }
    static Value MakeText(const std::string& v) { Value x; x.kind = Text; x.s = v; return x; }
    static Value MakeBlob(const std::string& v) { Value x; x.kind = Blob; x.s = v; return x; }
    bool IsNull() const { return kind == Null; }
    int64_t AsInt() const;
    double AsReal() const;
    std::string AsText() const;
    bool operator==(const Value& o) const;
    bool operator!=(const Value& o) const { return !(*this == o); }
};

// A Windows path as the Unix path of the file; Unix paths pass unchanged.
std::string UnixPath(const std::string& path);

struct IndexField {
    std::string name;
    bool descending = false;
};

struct IndexDef {
    std::string name;
    std::vector<IndexField> fields;
    bool primary = false;
    bool unique = false;
    bool required = false;
    bool ignoreNulls = false;
};

class Database {
public:
    // path is the file as the program names it (used in messages); the file is found
    // through UnixPath. An outside file (one made elsewhere: an imported or exported clip's
    // database) is opened defensively: its schema may not run code, its pages are checked
    // first, and it is refused (3049) when a clip table is not a plain table or has a
    // trigger.
    static std::shared_ptr<Database> Open(const std::string& path, bool readOnly,
                                          bool outside = false);
    static std::shared_ptr<Database> Create(const std::string& path);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const std::string& Name() const { return m_name; }
    bool ReadOnly() const { return m_readOnly; }
    sqlite3* Handle() const { return m_db; }

    // Runs a statement of the dialect; returns the number of rows it changed.
    long Execute(const std::string& jetSql, const std::vector<Value>& params = {});

    // Runs SQLite SQL; throws the engine's error for a failure.
    void Exec(const std::string& sql);

    void BeginTrans();
    void CommitTrans();
    void Rollback();
    // Rolls back after a failure that is being reported: never throws, so that the first
    // error (a full disk, an I/O error) is the one the caller sees.
    void RollbackAfterError() noexcept;
    bool InTransaction() const { return m_trans > 0; }

    // Table definitions.
    std::vector<std::string> TableNames();
    bool TableExists(const std::string& table, std::string* realName = nullptr);
    std::vector<FieldDef> Fields(const std::string& table);
    std::vector<IndexDef> Indexes(const std::string& table);
    void CreateTable(const std::string& table, const std::vector<FieldDef>& fields);
    // Inserts a field at a position of the field order (past the end: appended); rows keep
    // their values, order and counters.
    void CreateField(const std::string& table, const FieldDef& field, int ordinal);
    void DeleteField(const std::string& table, const std::string& field);
    void CreateIndex(const std::string& table, const IndexDef& index);

    // An SQLite failure as the engine's error. context names the object for messages.
    [[noreturn]] void Fail(int rc, const std::string& context = std::string()) const;

    // Writes the schema copy that repair falls back on when the first page is damaged
    // (done when a database whose schema changed is closed; force: in any case).
    void KeepSchemaCopy(bool force = false);

private:
    Database() = default;
    void Setup();
    void Harden();
    void CheckOutsideSchema();
    int64_t SchemaVersion();
    void RebuildTable(const std::string& table, const std::vector<FieldDef>& fields,
                      const std::vector<std::string>& copyFrom);
    std::string RealTable(const std::string& table);

    sqlite3* m_db = nullptr;
    std::string m_name;
    bool m_readOnly = false;
    int m_trans = 0;
    int64_t m_schemaSeen = -1;  // schema version at open, or when the copy was last written
};

// A prepared statement that is always reset and finalized, so that no read lock outlives
// the call that made it.
class Statement {
public:
    Statement(const Database& db, const std::string& sql);
    ~Statement();
    void Bind(const std::vector<Value>& params);
    void Bind(int index, const Value& v);  // 1-based
    bool Step();                            // TRUE: a row
    int Columns() const;
    Value Column(int i) const;
    sqlite3_stmt* Handle() const { return m_stmt; }

private:
    const Database& m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

// Compacts src into a new file dst (which must not exist).
void CompactDatabase(const std::string& src, const std::string& dst);

struct RepairResult {
    bool repaired = false;  // the file was damaged and has been rebuilt
    long rowsLost = 0;      // at most this many rows could not be read
    long pagesLost = 0;     // pages that could not be read
    std::string keptAs;     // the damaged file, kept under this name
};
// Checks a database file; when the check fails, every row that can still be read (of every
// table, past any damaged page) is recovered into a sound file that takes the file's place,
// and the damaged file is kept beside it as "<name>.corrupt". Throws 3343 when the file is
// no database at all.
RepairResult RepairDatabase(const std::string& path);
// A quick check of a database file: it opens and its pages are sound.
bool CheckDatabase(const std::string& path);

enum OpenType { kOpenTable = 1, kOpenDynaset = 2, kOpenSnapshot = 4 };
enum EditMode { kEditNone = 0, kEditInProgress = 1, kEditAdd = 2 };
enum FindKind { kFindFirst, kFindNext, kFindPrev, kFindLast };

struct ColumnInfo {
    std::string name;         // result name
    std::string table;        // base table (real name), empty for an expression
    std::string origin;       // base column
    FieldDef field;           // the base column's definition (type, size, flags)
    bool hasField = false;
};

class Cursor {
public:
    Cursor(std::shared_ptr<Database> db, const std::string& source, int type, bool readOnly,
           const std::string& filter, const std::string& sort, const std::vector<Value>& params);

    void Requery(const std::string& filter, const std::string& sort, const std::vector<Value>& params);
    int Type() const { return m_type; }
    bool Updatable() const { return !m_readOnly; }

    int ColumnCount() const { return (int)m_columns.size(); }
    const ColumnInfo& Column(int i) const { return m_columns[i]; }
    // A column by name: "Name", "[Name]", "Table.Name" or "[Table].[Name]"; -1 when none.
    int FindColumn(const std::string& name) const;

    bool IsBOF() const { return m_bof; }
    bool IsEOF() const { return m_eof; }
    bool IsDeleted() const;
    bool HasCurrent() const { return !m_bof && !m_eof && m_pos >= 0; }

    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrev();
    void Move(long rows);
    long AbsolutePosition() const;
    void SetAbsolutePosition(long pos);
    long RecordCount() const;
    bool Find(FindKind kind, const std::string& criteria, const std::vector<Value>& params);

    // The current row's value of a column (the edit buffer's while editing).
    const Value& Get(int column) const;

    int GetEditMode() const { return m_edit; }
    void AddNew();
    void Edit();
    void Set(int column, const Value& v);
    void SetDirty(int column, bool dirty);
    bool IsDirty(int column) const;
    void CancelUpdate();
    void Update();
    void Delete();

    // A bookmark names a row, and goes on naming it after a requery (while the requeried
    // rows include it).
    long Bookmark() const;
    void SetBookmark(long bookmark);
    long LastModified() const;

private:
    typedef std::vector<int64_t> Key;  // one rowid per base table; kNoRow for none
    static const int64_t kNoRow;

    void Run(const std::string& filter, const std::string& sort, const std::vector<Value>& params);
    void Fetch();
    void Goto(long pos);  // pos in m_keys, skipping nothing
    long NextLive(long from, int step) const;
    void EndEdit() { m_edit = kEditNone; m_buffer.clear(); m_dirty.clear(); }
    void CheckWritable() const;
    Value Coerce(int column, const Value& v) const;
    std::string KeyCondition(int firstParam) const;
    std::vector<int> OwnedTables() const;

    std::shared_ptr<Database> m_db;
    std::string m_source;
    int m_type;
    bool m_readOnly;
    Select m_select;
    std::vector<ColumnInfo> m_columns;
    std::vector<int> m_columnTable;  // index into m_select.tables, -1 for none
    std::vector<Key> m_keys;                 // keyed cursors
    std::vector<std::vector<Value>> m_rows;  // values of snapshots and unkeyed cursors
    std::vector<bool> m_deleted;
    std::vector<Value> m_params;
    bool m_keyed = false;
    bool m_cached = false;
    long m_pos = -1;
    bool m_bof = true, m_eof = true;
    std::vector<Value> m_current;
    bool m_currentGone = false;
    int m_edit = kEditNone;
    std::vector<Value> m_buffer;
    std::vector<bool> m_dirty;
    long m_lastModified = -1;
    long m_openCount = 0;                    // rows the query gave; later ones were added
    std::map<Key, long> m_keyPos;           // position of each key in m_keys
    mutable std::vector<Key> m_marks;        // keys that bookmarks name, by bookmark - 1
    mutable std::map<Key, long> m_markIds;
    long MarkOf(const Key& key) const;
};

}  // namespace jet
