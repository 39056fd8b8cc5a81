// The recordset cursor. A dynaset keeps, from its query, the key of every row (the rowid of
// each base table) and reads a row's values when the row becomes current, so that it sees
// the present values; rows it deletes stay in place, marked deleted, until the next requery;
// rows it adds are appended. A snapshot (and any query whose rows are not table rows) keeps
// the values read at open and cannot be changed. Statements never stay open between calls.
#include "jet_db.h"

#include "jet_text.h"

#include <sqlite3.h>

#include <algorithm>
#include <climits>
#include <map>
#include <set>

namespace jet {

const int64_t Cursor::kNoRow = INT64_MIN;

namespace {

// "[T].[C]", "T.C", "[C]" or "C" as table and column.
void SplitName(const std::string& name, std::string& table, std::string& column)
{
    std::vector<std::string> parts;
    std::string cur;
    bool inBracket = false;
    for (char c : name) {
        if (c == '[') inBracket = true;
        else if (c == ']') inBracket = false;
        else if (c == '.' && !inBracket) {
            parts.push_back(cur);
            cur.clear();
        } else if (c != ' ' || inBracket) {
            cur += c;
        }
    }
    parts.push_back(cur);
    column = parts.back();
    table = parts.size() > 1 ? parts[parts.size() - 2] : std::string();
}

// The columns of a prepared query (the trailing rowids of a keyed one left out), each with
// its base column's definition and the FROM table that gives it (-1 for none).
void Describe(Database& db, const Statement& st, const Select& sel, bool keyed,
              std::vector<ColumnInfo>& columns, std::vector<int>& owner)
{
    int data = keyed ? st.Columns() - (int)sel.tables.size() : st.Columns();
    columns.assign(data, ColumnInfo());
    owner.assign(data, -1);
    std::map<std::string, std::vector<FieldDef>> defs;
    for (int i = 0; i < data; ++i) {
        ColumnInfo& c = columns[i];
        const char* n = sqlite3_column_name(st.Handle(), i);
        const char* t = sqlite3_column_table_name(st.Handle(), i);
        const char* o = sqlite3_column_origin_name(st.Handle(), i);
        c.name = n ? n : "";
        c.table = t ? t : "";
        c.origin = o ? o : "";
        if (!c.table.empty()) {
            auto it = defs.find(c.table);
            if (it == defs.end()) it = defs.emplace(c.table, db.Fields(c.table)).first;
            for (const FieldDef& f : it->second)
                if (CompareNoCase(f.name, c.origin) == 0) {
                    c.field = f;
                    c.hasField = true;
                }
            for (size_t k = 0; k < sel.tables.size(); ++k)
                if (CompareNoCase(sel.tables[k].name, c.table) == 0) {
                    owner[i] = (int)k;
                    break;
                }
        }
    }
}

// Criteria and sorts name the recordset's own fields: an unqualified name that is the name
// of the recordset's column means that column's table and field, even where another joined
// table has a field of that name. Empty (the name left to the query) where no column, or
// two different ones, carry the name, or where the column is an expression.
std::string OwnColumn(const std::vector<ColumnInfo>& columns, const std::vector<int>& owner,
                      const std::vector<TableRef>& tables, const std::string& name)
{
    std::string found;
    for (size_t i = 0; i < columns.size(); ++i) {
        if (CompareNoCase(columns[i].name, name) != 0) continue;
        if (owner[i] < 0) return std::string();
        std::string q = "[" + tables[owner[i]].RefName() + "].[" + columns[i].origin + "]";
        if (!found.empty() && CompareNoCase(found, q) != 0) return std::string();
        found = q;
    }
    return found;
}

}  // namespace

Cursor::Cursor(std::shared_ptr<Database> db, const std::string& source, int type, bool readOnly,
               const std::string& filter, const std::string& sort, const std::vector<Value>& params)
    : m_db(std::move(db)), m_source(source), m_type(type), m_readOnly(readOnly || type == kOpenSnapshot)
{
    if (type == kOpenTable) {
        // A table-type recordset names one table and takes no filter or sort.
        if (IsSelectStatement(source) || source.find(',') != std::string::npos) Throw(3251);
        if (!filter.empty() || !sort.empty()) Throw(3251);
        std::string t, c;
        SplitName(source, t, c);
        if (!m_db->TableExists(c)) Throw(3011, c);
    }
    if (m_db->ReadOnly()) m_readOnly = true;
    Run(filter, sort, params);
}

void Cursor::Requery(const std::string& filter, const std::string& sort, const std::vector<Value>& params)
{
    Run(filter, sort, params);
}

void Cursor::Run(const std::string& filter, const std::string& sort, const std::vector<Value>& params)
{
    EndEdit();
    Select sel = TranslateSelect(m_source);
    // Rows of a simple query are known by their keys; a snapshot also keeps their values as
    // they were at open.
    bool keyed = sel.simple;
    bool cached = !keyed || m_type == kOpenSnapshot;
    auto query = [&](const Select& s) {
        std::string sql = s.head;
        if (keyed)
            for (const TableRef& t : s.tables) sql += ", " + QuoteName(t.RefName()) + ".rowid";
        sql += " FROM " + s.from;
        if (!s.where.empty()) sql += " WHERE " + s.where;
        if (!s.tail.empty()) sql += " " + s.tail;
        if (!s.orderBy.empty()) sql += " ORDER BY " + s.orderBy;
        else if (keyed && m_type == kOpenTable) sql += " ORDER BY " + QuoteName(s.tables[0].RefName()) + ".rowid";
        return sql;
    };
    std::vector<ColumnInfo> columns;
    std::vector<int> owner;
    if (!filter.empty() || !sort.empty()) {
        // The names of the filter and sort are resolved against the columns of the query
        // without them.
        Statement plain(*m_db, query(sel));
        Describe(*m_db, plain, sel, keyed, columns, owner);
        auto own = [&](const std::string& name) { return OwnColumn(columns, owner, sel.tables, name); };
        sel = TranslateSelect(m_source, QualifyNames(filter, own), QualifyNames(sort, own));
    }
    if ((int)params.size() < sel.params) Throw(3061, std::to_string(sel.params - (int)params.size()));

    Statement st(*m_db, query(sel));
    st.Bind(params);
    int total = st.Columns();
    Describe(*m_db, st, sel, keyed, columns, owner);
    int data = (int)columns.size();
    std::vector<Key> keys;
    std::vector<std::vector<Value>> rows;
    while (st.Step()) {
        if (keyed) {
            Key k;
            for (int i = data; i < total; ++i) {
                Value v = st.Column(i);
                k.push_back(v.IsNull() ? kNoRow : v.i);
            }
            keys.push_back(k);
        }
        if (cached) {
            std::vector<Value> row;
            for (int i = 0; i < data; ++i) row.push_back(st.Column(i));
            rows.push_back(row);
        }
    }
    m_select = sel;
    m_keyed = keyed;
    m_columns = columns;
    m_columnTable = owner;
    m_keys = keys;
    m_rows = rows;
    m_params = params;
    m_cached = cached;
    m_deleted.assign(keyed ? m_keys.size() : m_rows.size(), false);
    m_lastModified = -1;
    m_keyPos.clear();
    for (size_t i = 0; i < m_keys.size(); ++i) m_keyPos.emplace(m_keys[i], (long)i);
    m_openCount = (long)m_keys.size();
    m_pos = -1;
    m_bof = m_eof = true;
    m_current.assign(data, Value());
    long first = NextLive(0, 1);
    if (first >= 0) Goto(first);
}

int Cursor::FindColumn(const std::string& name) const
{
    std::string table, column;
    SplitName(name, table, column);
    if (!table.empty()) {
        // The table may be named by its alias.
        std::string real = table;
        for (const TableRef& t : m_select.tables)
            if (!t.alias.empty() && CompareNoCase(t.alias, table) == 0) real = t.name;
        for (int i = 0; i < ColumnCount(); ++i)
            if (CompareNoCase(m_columns[i].table, real) == 0 && CompareNoCase(m_columns[i].origin, column) == 0)
                return i;
        for (int i = 0; i < ColumnCount(); ++i)
            if (CompareNoCase(m_columns[i].name, table + "." + column) == 0) return i;
        return -1;
    }
    for (int i = 0; i < ColumnCount(); ++i)
        if (CompareNoCase(m_columns[i].name, column) == 0) return i;
    for (int i = 0; i < ColumnCount(); ++i)
        if (CompareNoCase(m_columns[i].origin, column) == 0) return i;
    return -1;
}

long Cursor::NextLive(long from, int step) const
{
    long n = (long)m_deleted.size();
    for (long p = from; p >= 0 && p < n; p += step)
        if (!m_deleted[p]) return p;
    return -1;
}

void Cursor::Goto(long pos)
{
    m_pos = pos;
    m_bof = m_eof = false;
    Fetch();
}

std::string Cursor::KeyCondition(int firstParam) const
{
    std::string s;
    for (size_t t = 0; t < m_select.tables.size(); ++t)
        s += (t ? " AND " : "") + QuoteName(m_select.tables[t].RefName()) + ".rowid IS ?" +
             std::to_string(firstParam + (int)t);
    return s;
}

void Cursor::Fetch()
{
    m_currentGone = false;
    if (m_cached) {
        m_current = m_rows[m_pos];
        return;
    }
    const Key& key = m_keys[m_pos];
    // Markers of the query sit in its WHERE clause, which this read leaves out.
    Statement st(*m_db, m_select.head + " FROM " + m_select.from + " WHERE " + KeyCondition(1));
    for (size_t t = 0; t < key.size(); ++t)
        st.Bind((int)t + 1, key[t] == kNoRow ? Value() : Value::MakeInt(key[t]));
    if (st.Step()) {
        for (int i = 0; i < ColumnCount(); ++i) m_current[i] = st.Column(i);
        while (st.Step()) {}
        return;
    }
    // The row no longer joins as it did (a row this cursor added, or a changed join column):
    // each table's columns are read from its own row.
    bool any = false;
    for (int i = 0; i < ColumnCount(); ++i) {
        m_current[i] = Value();
        int t = m_columnTable[i];
        if (t < 0 || key[t] == kNoRow) continue;
        Statement one(*m_db, "SELECT " + QuoteName(m_columns[i].origin) + " FROM " +
                                 QuoteName(m_columns[i].table) + " WHERE rowid = ?");
        one.Bind(1, Value::MakeInt(key[t]));
        if (one.Step()) {
            m_current[i] = one.Column(0);
            any = true;
            while (one.Step()) {}
        }
    }
    m_currentGone = !any;
}

bool Cursor::IsDeleted() const
{
    return HasCurrent() && (m_deleted[m_pos] || m_currentGone);
}

void Cursor::MoveFirst()
{
    EndEdit();
    long p = NextLive(0, 1);
    if (p < 0) Throw(3021);
    Goto(p);
}

void Cursor::MoveLast()
{
    EndEdit();
    long p = NextLive((long)m_deleted.size() - 1, -1);
    if (p < 0) Throw(3021);
    Goto(p);
}

void Cursor::MoveNext()
{
    EndEdit();
    if (m_eof) Throw(3021);
    long p = NextLive(m_bof ? 0 : m_pos + 1, 1);
    if (p < 0) {
        m_eof = true;
        m_bof = false;
        m_pos = (long)m_deleted.size();
        return;
    }
    Goto(p);
}

void Cursor::MovePrev()
{
    EndEdit();
    if (m_bof) Throw(3021);
    long p = NextLive(m_eof ? (long)m_deleted.size() - 1 : m_pos - 1, -1);
    if (p < 0) {
        m_bof = true;
        m_eof = false;
        m_pos = -1;
        return;
    }
    Goto(p);
}

void Cursor::Move(long rows)
{
    EndEdit();
    if (!HasCurrent()) Throw(3021);
    if (rows == 0) {
        Fetch();
        return;
    }
    int step = rows > 0 ? 1 : -1;
    long p = m_pos;
    for (long k = 0; k < (rows > 0 ? rows : -rows); ++k) {
        p = NextLive(p + step, step);
        if (p < 0) break;
    }
    if (p < 0) {
        if (step > 0) {
            m_eof = true;
            m_bof = false;
            m_pos = (long)m_deleted.size();
        } else {
            m_bof = true;
            m_eof = false;
            m_pos = -1;
        }
        return;
    }
    Goto(p);
}

long Cursor::AbsolutePosition() const
{
    if (!HasCurrent()) return -1;
    long n = 0;
    for (long p = 0; p < m_pos; ++p)
        if (!m_deleted[p]) ++n;
    return n;
}

void Cursor::SetAbsolutePosition(long pos)
{
    EndEdit();
    if (pos < 0) Throw(3001);
    long n = 0;
    for (long p = 0; p < (long)m_deleted.size(); ++p) {
        if (m_deleted[p]) continue;
        if (n++ == pos) {
            Goto(p);
            return;
        }
    }
    Throw(3001);
}

long Cursor::RecordCount() const
{
    long n = 0;
    for (bool d : m_deleted)
        if (!d) ++n;
    return n;
}

bool Cursor::Find(FindKind kind, const std::string& criteria, const std::vector<Value>& params)
{
    EndEdit();
    if (!m_keyed) Throw(3251);
    int markers = 0;
    std::string crit;
    try {
        auto own = [&](const std::string& name) { return OwnColumn(m_columns, m_columnTable, m_select.tables, name); };
        crit = TranslateExpression(QualifyNames(criteria, own), &markers);
    } catch (const Error&) {
        Throw(3077);
    }
    if ((int)params.size() < markers) Throw(3061, std::to_string(markers - (int)params.size()));
    std::string keys;
    for (size_t t = 0; t < m_select.tables.size(); ++t)
        keys += (t ? ", " : "") + QuoteName(m_select.tables[t].RefName()) + ".rowid";
    std::string sql = "SELECT " + keys + " FROM " + m_select.from + " WHERE ";
    if (!m_select.where.empty()) sql += "(" + m_select.where + ") AND ";
    sql += "(" + crit + ")";
    std::set<Key> match;
    try {
        Statement st(*m_db, sql);
        std::vector<Value> all = m_params;
        all.resize(m_select.params);
        all.insert(all.end(), params.begin(), params.end());
        st.Bind(all);
        while (st.Step()) {
            Key k;
            for (int i = 0; i < st.Columns(); ++i) {
                Value v = st.Column(i);
                k.push_back(v.IsNull() ? kNoRow : v.i);
            }
            match.insert(k);
        }
    } catch (const Error& e) {
        if (e.code == 3061) {
            // A name that is no field of the recordset.
            std::string msg = sqlite3_errmsg(m_db->Handle());
            size_t at = msg.find("no such column: ");
            Throw(3070, at == std::string::npos ? criteria : msg.substr(at + 16));
        }
        if (e.code == 3075) Throw(3077);
        throw;
    }
    // Rows added since the query ran are tested one by one: they need not meet its filter.
    auto matches = [&](long p) {
        if (match.count(m_keys[p])) return true;
        if (p < m_openCount) return false;
        const Key& k = m_keys[p];
        bool any = false;
        std::string cond;
        std::vector<Value> bind;
        for (size_t t = 0; t < k.size(); ++t) {
            if (k[t] == kNoRow) continue;
            cond += (any ? " AND " : "") + QuoteName(m_select.tables[t].RefName()) + ".rowid = ?";
            bind.push_back(Value::MakeInt(k[t]));
            any = true;
        }
        if (!any) return false;
        std::string one = "SELECT 1 FROM " + m_select.from + " WHERE (" + crit + ") AND " + cond;
        // Criteria markers come first in this statement.
        Statement st(*m_db, one);
        std::vector<Value> all = params;
        all.resize(markers);
        all.insert(all.end(), bind.begin(), bind.end());
        st.Bind(all);
        bool hit = st.Step();
        if (hit) while (st.Step()) {}
        return hit;
    };
    long n = (long)m_keys.size();
    long start, step;
    switch (kind) {
    case kFindFirst: start = 0; step = 1; break;
    case kFindLast: start = n - 1; step = -1; break;
    case kFindNext:
        if (m_eof) return false;
        start = m_bof ? 0 : m_pos + 1;
        step = 1;
        break;
    default:
        if (m_bof) return false;
        start = m_eof ? n - 1 : m_pos - 1;
        step = -1;
        break;
    }
    for (long p = start; p >= 0 && p < n; p += step) {
        if (m_deleted[p]) continue;
        if (matches(p)) {
            Goto(p);
            return true;
        }
    }
    return false;
}

const Value& Cursor::Get(int column) const
{
    if (column < 0 || column >= ColumnCount()) Throw(3265);
    if (m_edit != kEditNone) return m_buffer[column];
    if (!HasCurrent()) Throw(3021);
    if (IsDeleted()) Throw(3167);
    return m_current[column];
}

void Cursor::CheckWritable() const
{
    if (m_readOnly || !m_keyed) Throw(3027);
}

void Cursor::AddNew()
{
    CheckWritable();
    EndEdit();
    m_buffer.assign(ColumnCount(), Value());
    m_dirty.assign(ColumnCount(), false);
    m_edit = kEditAdd;
}

void Cursor::Edit()
{
    CheckWritable();
    EndEdit();
    if (!HasCurrent()) Throw(3021);
    if (IsDeleted()) Throw(3167);
    Fetch();
    m_buffer = m_current;
    m_dirty.assign(ColumnCount(), false);
    m_edit = kEditInProgress;
}

Value Cursor::Coerce(int column, const Value& v) const
{
    const ColumnInfo& c = m_columns[column];
    if (!c.hasField || v.IsNull()) return v;
    const FieldDef& f = c.field;
    // Text given for a number or a date is read as the engine reads such text: a date text
    // for a date, a number text otherwise; any other text is a conversion error, never 0.
    if (v.kind == Value::Text && !IsTextType(f.type) && f.type != kBinary && f.type != kLongBinary) {
        double d;
        if (!NumberOfText(f.type, v.s, d)) Throw(3421);
        return Coerce(column, Value::MakeReal(d));
    }
    auto ranged = [&](int64_t lo, int64_t hi) {
        int64_t x = v.AsInt();
        if (v.kind == Value::Real && (v.r < (double)lo - 0.5 || v.r > (double)hi + 0.5)) Throw(3349);
        if (x < lo || x > hi) Throw(3349);
        return Value::MakeInt(x);
    };
    switch (f.type) {
    case kBoolean: return Value::MakeInt(v.AsInt() != 0 || (v.kind == Value::Real && v.r != 0) ? -1 : 0);
    case kByte: return ranged(0, 255);
    case kInteger: return ranged(-32768, 32767);
    case kLong: return ranged(INT32_MIN, INT32_MAX);
    case kCurrency: return Value::MakeInt(v.AsInt());
    case kSingle:
    case kDouble:
    case kDate: return Value::MakeReal(v.AsReal());
    case kText:
    case kMemo: {
        std::string s = v.AsText();
        // An empty text is stored as Null where the field allows no zero-length string.
        if (s.empty()) return f.allowZeroLength ? Value::MakeText(s) : Value();
        if (f.type == kText && f.size > 0 && (long)s.size() > f.size) Throw(3163);
        return Value::MakeText(s);
    }
    case kGuid: {
        std::string s = v.AsText(), g;
        if (s.empty()) return Value();
        if (!NormalizeGuid(s, g)) Throw(3421);
        return Value::MakeText(g);
    }
    case kBinary:
        if (f.size > 0 && (long)v.s.size() > f.size) Throw(3163);
        return Value::MakeBlob(v.s);
    case kLongBinary: return Value::MakeBlob(v.kind == Value::Blob || v.kind == Value::Text ? v.s : v.AsText());
    default: return v;
    }
}

void Cursor::Set(int column, const Value& v)
{
    if (column < 0 || column >= ColumnCount()) Throw(3265);
    if (m_edit == kEditNone) Throw(3020);
    if (m_columnTable[column] < 0) Throw(3164);
    m_buffer[column] = Coerce(column, v);
    m_dirty[column] = true;
}

void Cursor::SetDirty(int column, bool dirty)
{
    if (m_edit == kEditNone || column < 0 || column >= ColumnCount()) return;
    m_dirty[column] = dirty && m_columnTable[column] >= 0;
}

bool Cursor::IsDirty(int column) const
{
    return m_edit != kEditNone && column >= 0 && column < ColumnCount() && m_dirty[column];
}

void Cursor::CancelUpdate() { EndEdit(); }

std::vector<int> Cursor::OwnedTables() const
{
    std::vector<int> out;
    for (int t : m_columnTable)
        if (t >= 0 && std::find(out.begin(), out.end(), t) == out.end()) out.push_back(t);
    return out;
}

void Cursor::Update()
{
    if (m_edit == kEditNone) Throw(3020);
    std::map<int, std::vector<int>> byTable;
    for (int i = 0; i < ColumnCount(); ++i)
        if (m_dirty[i]) {
            // A column shown twice (SELECT *, T.C) is written once.
            std::vector<int>& cols = byTable[m_columnTable[i]];
            bool dup = false;
            for (int k : cols) dup |= CompareNoCase(m_columns[k].origin, m_columns[i].origin) == 0;
            if (!dup) cols.push_back(i);
        }
    m_db->BeginTrans();
    try {
        if (m_edit == kEditAdd) {
            std::vector<int> owned = OwnedTables();
            if (owned.empty()) Throw(3027);
            if (byTable.empty()) byTable[owned.front()];
            Key key(m_select.tables.size(), kNoRow);
            for (auto& entry : byTable) {
                int t = entry.first;
                const std::string& table = m_columns[entry.second.empty() ? 0 : entry.second[0]].table;
                std::string real = entry.second.empty() ? m_select.tables[t].name : table;
                std::string sql = "INSERT INTO " + QuoteName(real);
                if (entry.second.empty()) {
                    sql += " DEFAULT VALUES";
                } else {
                    std::string cols, marks;
                    for (size_t k = 0; k < entry.second.size(); ++k) {
                        cols += (k ? ", " : "") + QuoteName(m_columns[entry.second[k]].origin);
                        marks += k ? ", ?" : "?";
                    }
                    sql += " (" + cols + ") VALUES (" + marks + ")";
                }
                Statement st(*m_db, sql);
                for (size_t k = 0; k < entry.second.size(); ++k) st.Bind((int)k + 1, m_buffer[entry.second[k]]);
                st.Step();
                key[t] = sqlite3_last_insert_rowid(m_db->Handle());
            }
            // The other tables' rows that the new row joins, when the join finds them.
            std::string cond;
            std::vector<Value> bind;
            for (size_t t = 0; t < key.size(); ++t)
                if (key[t] != kNoRow) {
                    cond += (bind.empty() ? "" : " AND ") + QuoteName(m_select.tables[t].RefName()) + ".rowid = ?";
                    bind.push_back(Value::MakeInt(key[t]));
                }
            if (bind.size() < key.size()) {
                std::string keys;
                for (size_t t = 0; t < key.size(); ++t)
                    keys += (t ? ", " : "") + QuoteName(m_select.tables[t].RefName()) + ".rowid";
                Statement st(*m_db, "SELECT " + keys + " FROM " + m_select.from + " WHERE " + cond);
                st.Bind(bind);
                if (st.Step()) {
                    for (size_t t = 0; t < key.size(); ++t) {
                        Value v = st.Column((int)t);
                        key[t] = v.IsNull() ? kNoRow : v.i;
                    }
                    while (st.Step()) {}
                }
            }
            m_keys.push_back(key);
            m_keyPos.emplace(key, (long)m_keys.size() - 1);
            m_deleted.push_back(false);
            m_lastModified = (long)m_keys.size() - 1;
            if (m_eof && m_pos >= 0) m_pos = (long)m_deleted.size();  // still past the end
        } else {
            const Key& key = m_keys[m_pos];
            for (auto& entry : byTable) {
                int t = entry.first;
                if (key[t] == kNoRow) Throw(3021);
                std::string sql = "UPDATE " + QuoteName(m_select.tables[t].name) + " SET ";
                for (size_t k = 0; k < entry.second.size(); ++k)
                    sql += (k ? ", " : "") + QuoteName(m_columns[entry.second[k]].origin) + " = ?";
                sql += " WHERE rowid = ?";
                Statement st(*m_db, sql);
                for (size_t k = 0; k < entry.second.size(); ++k) st.Bind((int)k + 1, m_buffer[entry.second[k]]);
                st.Bind((int)entry.second.size() + 1, Value::MakeInt(key[t]));
                st.Step();
            }
            m_lastModified = m_pos;
        }
        m_db->CommitTrans();
    } catch (...) {
        m_db->RollbackAfterError();
        throw;  // the edit stays pending, as after a refused update
    }
    EndEdit();
    if (HasCurrent()) Fetch();
}

void Cursor::Delete()
{
    CheckWritable();
    if (!HasCurrent()) Throw(3021);
    if (IsDeleted()) Throw(3167);
    EndEdit();
    // A row of a join is the row of its last table that the query shows columns of (the
    // "many" side: deleting a clip of a person-and-clip join deletes the clip).
    std::vector<int> owned = OwnedTables();
    if (owned.empty()) Throw(3027);
    int t = *std::max_element(owned.begin(), owned.end());
    const Key& key = m_keys[m_pos];
    if (key[t] == kNoRow) Throw(3021);
    Statement st(*m_db, "DELETE FROM " + QuoteName(m_select.tables[t].name) + " WHERE rowid = ?");
    st.Bind(1, Value::MakeInt(key[t]));
    st.Step();
    m_deleted[m_pos] = true;
}

long Cursor::MarkOf(const Key& key) const
{
    auto it = m_markIds.find(key);
    if (it != m_markIds.end()) return it->second;
    m_marks.push_back(key);
    long id = (long)m_marks.size();
    m_markIds.emplace(key, id);
    return id;
}

long Cursor::Bookmark() const
{
    if (!HasCurrent()) Throw(3021);
    return m_keyed ? MarkOf(m_keys[m_pos]) : m_pos + 1;
}

void Cursor::SetBookmark(long bookmark)
{
    EndEdit();
    if (!m_keyed) {
        if (bookmark < 1 || bookmark > (long)m_deleted.size()) Throw(3159);
        Goto(bookmark - 1);
        return;
    }
    if (bookmark < 1 || bookmark > (long)m_marks.size()) Throw(3159);
    auto it = m_keyPos.find(m_marks[bookmark - 1]);
    if (it == m_keyPos.end()) Throw(3159);
    Goto(it->second);
}

long Cursor::LastModified() const
{
    if (m_lastModified < 0) Throw(3021);
    return m_keyed ? MarkOf(m_keys[m_lastModified]) : m_lastModified + 1;
}

}  // namespace jet
