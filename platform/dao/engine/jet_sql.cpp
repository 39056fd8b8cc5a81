#include "jet_sql.h"

#include "jet_schema.h"
#include "jet_text.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace jet {

std::string ErrorText(long code, const std::string& arg)
{
    const char* t = nullptr;
    switch (code) {
    case 3001: t = "Invalid argument."; break;
    case 3005: t = "'%s' isn't a valid database name."; break;
    case 3010: t = "Table '%s' already exists."; break;
    case 3011: t = "The database engine could not find the object '%s'. Make sure the object exists and that you spell its name and the path name correctly."; break;
    case 3012: t = "Object '%s' already exists."; break;
    case 3020: t = "Update or CancelUpdate without AddNew or Edit."; break;
    case 3021: t = "No current record."; break;
    case 3022: t = "The changes you requested to the table were not successful because they would create duplicate values in the index, primary key, or relationship. Change the data in the field or fields that contain duplicate data, remove the index, or redefine the index to permit duplicate entries and try again."; break;
    case 3024: t = "Couldn't find file '%s'."; break;
    case 3026: t = "Not enough space on disk."; break;
    case 3027: t = "Can't update. Database or object is read-only."; break;
    case 3034: t = "You tried to commit or rollback a transaction without first beginning a transaction."; break;
    case 3043: t = "Disk or network error."; break;
    case 3044: t = "'%s' isn't a valid path. Make sure that the path name is spelled correctly and that you are connected to the server on which the file resides."; break;
    case 3045: t = "Couldn't use '%s'; file already in use."; break;
    case 3049: t = "Can't open database '%s'. It may not be a database that your application recognizes, or the file may be corrupt."; break;
    case 3051: t = "The database engine cannot open the file '%s'. It is already opened exclusively by another user, or you need permission to view its data."; break;
    case 3061: t = "Too few parameters. Expected %s."; break;
    case 3065: t = "Cannot execute a select query."; break;
    case 3070: t = "The database engine does not recognize '%s' as a valid field name or expression."; break;
    case 3075: t = "Syntax error (missing operator) in query expression '%s'."; break;
    case 3077: t = "Syntax error (missing operator) in expression."; break;
    case 3078: t = "The database engine cannot find the input table or query '%s'. Make sure it exists and that its name is spelled correctly."; break;
    case 3079: t = "The specified field '%s' could refer to more than one table listed in the FROM clause of your SQL statement."; break;
    case 3142: t = "Characters found after end of SQL statement."; break;
    case 3125: t = "'%s' isn't a valid name. Make sure that it doesn't include invalid characters or punctuation and that it isn't too long."; break;
    case 3159: t = "Not a valid bookmark."; break;
    case 3164: t = "Field can't be updated."; break;
    case 3264: t = "No field defined--cannot append TableDef or Index."; break;
    case 3349: t = "Numeric field overflow."; break;
    case 3421: t = "Data type conversion error."; break;
    case 3163: t = "The field is too small to accept the amount of data you attempted to add. Try inserting or pasting less data."; break;
    case 3167: t = "Record is deleted."; break;
    case 3191: t = "Can't define field more than once."; break;
    case 3204: t = "Database already exists."; break;
    case 3218: t = "Could not update; currently locked."; break;
    case 3219: t = "Invalid operation."; break;
    case 3251: t = "Operation is not supported for this type of object."; break;
    case 3259: t = "Invalid field data type."; break;
    case 3265: t = "Item not found in this collection."; break;
    case 3280: t = "Can't delete a field that is part of an index or is needed by the system."; break;
    case 3283: t = "Primary key already exists."; break;
    case 3284: t = "Index already exists."; break;
    case 3314: t = "The field '%s' can't contain a Null value because the Required property for this field is set to True. Enter a value in this field."; break;
    case 3315: t = "Field '%s' can't be a zero-length string."; break;
    case 3343: t = "Unrecognized database format '%s'."; break;
    case 3367: t = "Can't append. An object with that name already exists in the collection."; break;
    case 3420: t = "Object invalid or no longer set."; break;
    case 3464: t = "Data type mismatch in criteria expression."; break;
    default: t = "Reserved error (%s); there is no message for this error."; break;
    }
    std::string s = t;
    size_t at = s.find("%s");
    if (at != std::string::npos)
        s.replace(at, 2, t[0] == 'R' && arg.empty() ? std::to_string(code) : arg);
    return s;
}

void Throw(long code, const std::string& arg) { throw Error(code, ErrorText(code, arg)); }

std::string QuoteName(const std::string& name)
{
    std::string s = "\"";
    for (char c : name) {
        if (c == '"') s += '"';
        s += c;
    }
    return s + "\"";
}

std::string QuoteText(const std::string& text)
{
    std::string s = "'";
    for (char c : text) {
        if (c == '\'') s += '\'';
        s += c;
    }
    return s + "'";
}

namespace {

struct Tok {
    enum Kind { Word, Name, Str, Num, Param, Op, End } kind;
    std::string text;  // Word: as written; Name: inside the brackets; Str: the bytes; Op/Num: as is
    size_t pos = 0;
    bool Is(const char* w) const  // a bare word, case-insensitive
    {
        if (kind != Word) return false;
        size_t n = strlen(w);
        if (text.size() != n) return false;
        for (size_t i = 0; i < n; ++i)
            if (toupper((unsigned char)text[i]) != w[i]) return false;
        return true;
    }
    bool IsOp(const char* o) const { return kind == Op && text == o; }
};

bool WordStart(unsigned char c) { return isalpha(c) || c == '_' || c >= 0x80; }
bool WordChar(unsigned char c) { return isalnum(c) || c == '_' || c >= 0x80; }

[[noreturn]] void Syntax(const std::string& src) { Throw(3075, src); }

std::string NumberText(double d)
{
    char buf[40];
    snprintf(buf, sizeof buf, "%.17g", d);
    std::string s = buf;
    if (s.find_first_of(".eEn") == std::string::npos) s += ".0";
    return s;
}

// Splits the text into tokens; literals of the dialect become SQLite literals on the way
// (#dates# and GUID braces), so that later steps see plain strings and numbers.
std::vector<Tok> Tokenize(const std::string& s)
{
    std::vector<Tok> out;
    size_t i = 0, n = s.size();
    while (i < n) {
        unsigned char c = (unsigned char)s[i];
        if (isspace(c)) {
            ++i;
            continue;
        }
        Tok t{Tok::Op, std::string(), i};
        if (c == '[') {
            size_t e = s.find(']', i + 1);
            if (e == std::string::npos) Syntax(s);
            t.kind = Tok::Name;
            t.text = s.substr(i + 1, e - i - 1);
            i = e + 1;
        } else if (c == '\'' || c == '"') {
            t.kind = Tok::Str;
            size_t k = i + 1;
            for (;;) {
                if (k >= n) Syntax(s);
                if ((unsigned char)s[k] == c) {
                    if (k + 1 < n && (unsigned char)s[k + 1] == c) {
                        t.text += (char)c;
                        k += 2;
                        continue;
                    }
                    break;
                }
                t.text += s[k++];
            }
            i = k + 1;
        } else if (c == '#') {
            size_t e = s.find('#', i + 1);
            double d;
            if (e == std::string::npos || !ParseDateText(s.substr(i + 1, e - i - 1), d)) Syntax(s);
            t.kind = Tok::Num;
            t.text = NumberText(d);
            i = e + 1;
        } else if (c == '{') {
            // "{guid {...}}" or a bare "{...}"
            size_t e = s.find('}', i + 1);
            if (e == std::string::npos) Syntax(s);
            std::string inner = s.substr(i + 1, e - i - 1);
            size_t b = inner.find_first_not_of(" \t");
            if (b != std::string::npos && (inner.compare(b, 4, "guid") == 0 || inner.compare(b, 4, "GUID") == 0)) {
                size_t ob = s.find('{', i + 1);
                size_t cb = s.find('}', ob == std::string::npos ? n : ob + 1);
                size_t outer = cb == std::string::npos ? std::string::npos : s.find('}', cb + 1);
                if (ob == std::string::npos || outer == std::string::npos) Syntax(s);
                inner = s.substr(ob, cb - ob + 1);
                e = outer;
            }
            std::string g;
            if (!NormalizeGuid(inner, g)) Syntax(s);
            t.kind = Tok::Str;
            t.text = g;
            i = e + 1;
        } else if (isdigit(c) || (c == '.' && i + 1 < n && isdigit((unsigned char)s[i + 1]))) {
            size_t k = i;
            while (k < n && (isdigit((unsigned char)s[k]) || s[k] == '.')) ++k;
            if (k < n && (s[k] == 'e' || s[k] == 'E')) {
                size_t m = k + 1;
                if (m < n && (s[m] == '+' || s[m] == '-')) ++m;
                if (m < n && isdigit((unsigned char)s[m])) {
                    k = m;
                    while (k < n && isdigit((unsigned char)s[k])) ++k;
                }
            }
            t.kind = Tok::Num;
            t.text = s.substr(i, k - i);
            i = k;
        } else if (c == '&' && i + 1 < n && (s[i + 1] == 'H' || s[i + 1] == 'h')) {
            size_t k = i + 2;
            while (k < n && isxdigit((unsigned char)s[k])) ++k;
            if (k == i + 2) Syntax(s);
            t.kind = Tok::Num;
            t.text = std::to_string(strtoll(s.substr(i + 2, k - i - 2).c_str(), nullptr, 16));
            i = k;
        } else if (WordStart(c)) {
            size_t k = i;
            while (k < n && WordChar((unsigned char)s[k])) ++k;
            t.kind = Tok::Word;
            t.text = s.substr(i, k - i);
            i = k;
        } else if (c == '?') {
            t.kind = Tok::Param;
            t.text = "?";
            ++i;
        } else {
            static const char* two[] = {"<>", "<=", ">=", "!="};
            bool done = false;
            for (const char* o : two) {
                if (s.compare(i, 2, o) == 0) {
                    t.text = o;
                    i += 2;
                    done = true;
                    break;
                }
            }
            if (!done) {
                if (!strchr("=<>(),.*+-/&;!\\", c)) Syntax(s);
                t.text = std::string(1, (char)c);
                if (c == '!') t.text = ".";  // table!field
                ++i;
            }
        }
        out.push_back(t);
    }
    while (!out.empty() && out.back().IsOp(";")) out.pop_back();
    // One statement only: what follows a ';' would otherwise be dropped unseen.
    for (const Tok& t : out)
        if (t.IsOp(";")) Throw(3142);
    out.push_back(Tok{Tok::End, std::string(), n});
    return out;
}

// Output of a translated token run.
struct Writer {
    std::string out;
    void Put(const std::string& s)
    {
        if (!out.empty() && s != ")" && s != "," && s != "." && out.back() != '(' && out.back() != '.')
            out += ' ';
        out += s;
    }
};

const char* kKeywords[] = {"SELECT", "FROM", "WHERE", "GROUP", "HAVING", "ORDER", "BY", "AND",
                           "OR", "NOT", "LIKE", "IS", "NULL", "IN", "BETWEEN", "AS", "ON",
                           "INNER", "LEFT", "RIGHT", "OUTER", "JOIN", "CROSS", "ASC", "DESC",
                           "DISTINCT", "UNION", "ALL", "INSERT", "INTO", "VALUES", "UPDATE",
                           "SET", "DELETE", "CREATE", "TABLE", "INDEX", "UNIQUE", "DROP",
                           "ALTER", "ADD", "COLUMN", "PRIMARY", "KEY", "CONSTRAINT", "WITH",
                           "EXISTS", "CASE", "WHEN", "THEN", "ELSE", "END", "ESCAPE", nullptr};

bool IsKeyword(const Tok& t)
{
    if (t.kind != Tok::Word) return false;
    for (const char** k = kKeywords; *k; ++k)
        if (t.Is(*k)) return true;
    return false;
}

// Translates tokens [b, e) of an expression or statement body.
void Emit(const std::vector<Tok>& t, size_t b, size_t e, Writer& w, int& params, const std::string& src)
{
    for (size_t i = b; i < e; ++i) {
        const Tok& k = t[i];
        switch (k.kind) {
        case Tok::Name: w.Put(QuoteName(k.text)); break;
        case Tok::Str: w.Put(QuoteText(k.text)); break;
        case Tok::Num: w.Put(k.text); break;
        case Tok::Param:
            ++params;
            w.Put("?");
            break;
        case Tok::Op:
            if (k.text == "&") w.Put("||");
            else if (k.text == "\\") Syntax(src);
            else if (k.text == "!=") w.Put("<>");
            else w.Put(k.text);
            break;
        case Tok::Word:
            if (k.Is("TRUE")) {
                w.Put("-1");  // Yes/No values are -1 and 0
            } else if (k.Is("FALSE")) {
                w.Put("0");
            } else if (k.Is("MOD")) {
                w.Put("%");
            } else if (k.Is("DISTINCTROW")) {
                w.Put("DISTINCT");
            } else if (k.Is("CDATE") && i + 3 < e && t[i + 1].IsOp("(") && t[i + 2].kind == Tok::Str &&
                       t[i + 3].IsOp(")")) {
                double d;
                if (!ParseDateText(t[i + 2].text, d)) Throw(3464);
                w.Put(NumberText(d));
                i += 3;
            } else if (k.Is("CDATE")) {
                w.Put("jet_cdate");
            } else if (k.Is("UCASE")) {
                w.Put("jet_ucase");
            } else if (k.Is("LCASE")) {
                w.Put("jet_lcase");
            } else if (k.Is("LEN")) {
                w.Put("jet_len");  // bytes: stored text is Windows-1252, one byte a character
            } else if (k.Is("MID")) {
                w.Put("jet_mid");
            } else if (IsKeyword(k)) {
                std::string u;
                for (char c : k.text) u += (char)toupper((unsigned char)c);
                w.Put(u);
            } else if (i + 1 < e && t[i + 1].IsOp("(")) {
                w.Put(k.text);  // a function name
            } else {
                w.Put(QuoteName(k.text));
            }
            break;
        case Tok::End: break;
        }
    }
}

bool IsNameTok(const Tok& t) { return t.kind == Tok::Name || (t.kind == Tok::Word && !IsKeyword(t)); }

// The base tables of a FROM clause: a name after FROM, ',', JOIN or an opening parenthesis
// that follows one of them, with its alias.
std::vector<TableRef> FromTables(const std::vector<Tok>& t, size_t b, size_t e, bool& simple)
{
    std::vector<TableRef> out;
    bool expectTable = true;
    for (size_t i = b; i < e; ++i) {
        const Tok& k = t[i];
        if (k.IsOp(",") || k.Is("JOIN")) {
            expectTable = true;
            continue;
        }
        if (k.IsOp("(") && expectTable) continue;
        if (expectTable) {
            if (k.Is("SELECT")) {
                simple = false;
                return out;
            }
            if (!IsNameTok(k)) {
                expectTable = false;
                continue;
            }
            TableRef r;
            r.name = k.text;
            size_t j = i + 1;
            if (j < e && t[j].Is("AS")) ++j;
            if (j < e && IsNameTok(t[j])) {
                r.alias = t[j].text;
                i = j;
            }
            out.push_back(r);
            expectTable = false;
        }
    }
    return out;
}

bool StartsWithWord(const std::vector<Tok>& t, const char* w) { return !t.empty() && t[0].Is(w); }

}  // namespace

std::string Select::Sql() const
{
    std::string s = head + " FROM " + from;
    if (!where.empty()) s += " WHERE " + where;
    if (!tail.empty()) s += " " + tail;
    if (!orderBy.empty()) s += " ORDER BY " + orderBy;
    return s;
}

namespace {

// A criterion is spliced into a query's WHERE clause between parentheses: one whose own
// parentheses do not balance could close them and widen the query.
void CheckParentheses(const std::vector<Tok>& t, const std::string& src)
{
    int depth = 0;
    for (const Tok& k : t) {
        if (k.IsOp("(")) ++depth;
        else if (k.IsOp(")") && --depth < 0) Syntax(src);
    }
    if (depth != 0) Syntax(src);
}

}  // namespace

std::string TranslateExpression(const std::string& jet, int* params)
{
    std::vector<Tok> t = Tokenize(jet);
    CheckParentheses(t, jet);
    Writer w;
    int p = 0;
    Emit(t, 0, t.size() - 1, w, p, jet);
    if (params) *params = p;
    return w.out;
}

std::string QualifyNames(const std::string& jet, const std::function<std::string(const std::string&)>& own)
{
    // Words the translation turns into values, operators or functions are no names.
    static const char* const notNames[] = {"TRUE", "FALSE", "MOD", "DISTINCTROW", "CDATE", "UCASE", "LCASE", "LEN"};
    std::vector<Tok> t = Tokenize(jet);
    std::string out;
    size_t copied = 0;
    for (size_t i = 0; i + 1 < t.size(); ++i) {
        const Tok& k = t[i];
        if (!IsNameTok(k) || t[i + 1].IsOp("(") || t[i + 1].IsOp(".") || (i > 0 && t[i - 1].IsOp(".")))
            continue;
        bool word = false;
        for (const char* w : notNames) word |= k.Is(w);
        if (word) continue;
        std::string q = own(k.text);
        if (q.empty()) continue;
        out += jet.substr(copied, k.pos - copied) + q;
        copied = k.pos + k.text.size() + (k.kind == Tok::Name ? 2 : 0);  // with its brackets
    }
    return out + jet.substr(copied);
}

bool IsSelectStatement(const std::string& source)
{
    size_t b = source.find_first_not_of(" \t\r\n(");
    if (b == std::string::npos) return false;
    static const char* words[] = {"SELECT", "TRANSFORM", "PARAMETERS"};
    for (const char* w : words) {
        size_t n = strlen(w);
        if (source.size() - b >= n && strncasecmp(source.c_str() + b, w, n) == 0 &&
            (source.size() - b == n || !WordChar((unsigned char)source[b + n])))
            return true;
    }
    return false;
}

Select TranslateSelect(const std::string& source, const std::string& filter, const std::string& sort)
{
    std::string src = IsSelectStatement(source) ? source : "SELECT * FROM " + source;
    std::vector<Tok> t = Tokenize(src);
    if (!StartsWithWord(t, "SELECT")) Syntax(src);
    size_t end = t.size() - 1;
    // Clause boundaries at parenthesis depth 0.
    size_t from = 0, where = 0, group = 0, order = 0;
    Select s;
    int depth = 0;
    for (size_t i = 0; i < end; ++i) {
        if (t[i].IsOp("(")) ++depth;
        else if (t[i].IsOp(")")) --depth;
        if (depth != 0) continue;
        if (t[i].Is("FROM") && !from) from = i;
        else if (t[i].Is("WHERE") && from && !where) where = i;
        else if ((t[i].Is("GROUP") || t[i].Is("HAVING")) && from && !group) group = i;
        else if (t[i].Is("ORDER") && i + 1 < end && t[i + 1].Is("BY") && from) order = i;
        else if (t[i].Is("UNION")) s.simple = false;
    }
    if (!from) Syntax(src);
    if (t[1].Is("DISTINCT") || t[1].Is("DISTINCTROW") || group) s.simple = false;
    // A select list with an aggregate gives one row for all the rows: no row of a table.
    static const char* const aggregates[] = {"COUNT", "SUM", "AVG", "MIN", "MAX", "FIRST", "LAST",
                                             "STDEV", "STDEVP", "VAR", "VARP", nullptr};
    for (size_t i = 1; i + 1 < from; ++i)
        for (const char* const* a = aggregates; *a; ++a)
            if (t[i].Is(*a) && t[i + 1].IsOp("(")) s.simple = false;
    int params = 0;
    Writer head;
    Emit(t, 0, from, head, params, src);
    s.head = head.out;
    size_t fromEnd = where ? where : group ? group : order ? order : end;
    Writer fw;
    Emit(t, from + 1, fromEnd, fw, params, src);
    s.from = fw.out;
    if (s.from.empty()) Syntax(src);
    s.tables = FromTables(t, from + 1, fromEnd, s.simple);
    if (s.tables.empty()) s.simple = false;
    if (where) {
        Writer ww;
        Emit(t, where + 1, group ? group : order ? order : end, ww, params, src);
        s.where = ww.out;
    }
    if (group) {
        Writer gw;
        Emit(t, group, order ? order : end, gw, params, src);
        s.tail = gw.out;
    }
    if (order) {
        Writer ow;
        Emit(t, order + 2, end, ow, params, src);
        s.orderBy = ow.out;
    }
    if (!filter.empty()) {
        int fp = 0;
        std::string f = TranslateExpression(filter, &fp);
        params += fp;
        s.where = s.where.empty() ? "(" + f + ")" : "(" + s.where + ") AND (" + f + ")";
    }
    if (!sort.empty()) s.orderBy = TranslateExpression(sort);
    s.params = params;
    return s;
}

namespace {

// CREATE TABLE name (column type [(n)] [NOT NULL] [PRIMARY KEY] [CONSTRAINT ...], ...)
std::string TranslateCreateTable(const std::vector<Tok>& tokens, const std::string& src)
{
    // Every look-ahead goes through At: past the end it sees the end token.
    auto At = [&](size_t i) -> const Tok& { return i < tokens.size() ? tokens[i] : tokens.back(); };
    size_t i = 2;
    if (!IsNameTok(At(i))) Syntax(src);
    std::string out = "CREATE TABLE " + QuoteName(At(i).text) + " (";
    ++i;
    if (!At(i).IsOp("(")) Syntax(src);
    ++i;
    bool first = true;
    while (!At(i).IsOp(")")) {
        if (At(i).kind == Tok::End) Syntax(src);
        if (!first) {
            if (!At(i).IsOp(",")) Syntax(src);
            ++i;
        }
        first = false;
        if (At(i).Is("CONSTRAINT") || At(i).Is("PRIMARY") || At(i).Is("UNIQUE")) {
            // A table constraint: PRIMARY KEY / UNIQUE over columns.
            if (At(i).Is("CONSTRAINT")) i += 2;
            bool primary = At(i).Is("PRIMARY");
            while (!At(i).IsOp("(") && At(i).kind != Tok::End) ++i;
            size_t cb = i;
            while (!At(i).IsOp(")") && At(i).kind != Tok::End) ++i;
            if (At(i).kind == Tok::End) Syntax(src);
            ++i;
            Writer w;
            int p = 0;
            Emit(tokens, cb, i, w, p, src);
            out += std::string(", ") + (primary ? "PRIMARY KEY " : "UNIQUE ") + w.out;
            continue;
        }
        if (At(i).kind != Tok::Name && At(i).kind != Tok::Word) Syntax(src);
        FieldDef f;
        f.name = At(i++).text;
        if (At(i).kind != Tok::Word) Syntax(src);
        std::string typeName = At(i++).text;
        long arg = -1;
        if (At(i).IsOp("(")) {
            if (At(i + 1).kind != Tok::Num || !At(i + 2).IsOp(")")) Syntax(src);
            arg = atol(At(i + 1).text.c_str());
            i += 3;
        }
        if (!JetTypeByName(typeName, arg, f)) Throw(3259);
        bool primaryKey = false;
        while (!At(i).IsOp(",") && !At(i).IsOp(")")) {
            if (At(i).Is("NOT") && At(i + 1).Is("NULL")) {
                f.required = true;
                i += 2;
            } else if (At(i).Is("NULL")) {
                ++i;
            } else if (At(i).Is("PRIMARY") && At(i + 1).Is("KEY")) {
                primaryKey = true;
                i += 2;
            } else if (At(i).Is("CONSTRAINT") && IsNameTok(At(i + 1))) {
                i += 2;
            } else if (At(i).Is("UNIQUE")) {
                ++i;
            } else {
                Syntax(src);
            }
        }
        out += (out.back() == '(' ? "" : ", ") + ColumnDeclaration(f);
        if (primaryKey && !f.autoIncrement()) out += " PRIMARY KEY";
    }
    if (At(i + 1).kind != Tok::End) Syntax(src);
    return out + ")";
}

// ALTER TABLE t ADD [COLUMN] c type [(n)]: the type as a declared type of ours.
std::string TranslateAddColumn(const std::vector<Tok>& tokens, const std::string& src)
{
    auto At = [&](size_t i) -> const Tok& { return i < tokens.size() ? tokens[i] : tokens.back(); };
    size_t i = At(4).Is("COLUMN") ? 5 : 4;
    if (!IsNameTok(At(2)) || (At(i).kind != Tok::Name && At(i).kind != Tok::Word) || At(i + 1).kind != Tok::Word)
        Syntax(src);
    FieldDef f;
    f.name = At(i).text;
    long arg = -1;
    size_t end = i + 2;
    if (At(i + 2).IsOp("(")) {
        if (At(i + 3).kind != Tok::Num || !At(i + 4).IsOp(")")) Syntax(src);
        arg = atol(At(i + 3).text.c_str());
        end = i + 5;
    }
    if (At(end).kind != Tok::End) Syntax(src);
    if (!JetTypeByName(At(i + 1).text, arg, f) || f.autoIncrement()) Throw(3259);
    return "ALTER TABLE " + QuoteName(At(2).text) + " ADD COLUMN " + ColumnDeclaration(f);
}

}  // namespace

namespace {

// The ranges of [b, e) between the commas at parenthesis depth 0.
std::vector<std::pair<size_t, size_t>> SplitList(const std::vector<Tok>& t, size_t b, size_t e)
{
    std::vector<std::pair<size_t, size_t>> out;
    int depth = 0;
    size_t start = b;
    for (size_t i = b; i < e; ++i) {
        if (t[i].IsOp("(")) ++depth;
        else if (t[i].IsOp(")")) --depth;
        else if (t[i].IsOp(",") && depth == 0) {
            out.emplace_back(start, i);
            start = i + 1;
        }
    }
    out.emplace_back(start, e);
    return out;
}

// The closing parenthesis of the one at open; the end token's index when there is none.
size_t Closing(const std::vector<Tok>& t, size_t open)
{
    int depth = 0;
    for (size_t i = open; i + 1 < t.size(); ++i) {
        if (t[i].IsOp("(")) ++depth;
        else if (t[i].IsOp(")") && --depth == 0) return i;
    }
    return t.size() - 1;
}

// A value given to a field: numbers, dates and Yes/No values go through the conversion.
std::string FieldValue(const std::vector<Tok>& t, size_t b, size_t e, int type, int& params, const std::string& src)
{
    Writer w;
    Emit(t, b, e, w, params, src);
    if (w.out.empty()) Syntax(src);
    if (IsTextType(type) || type == 0 || type == kBinary || type == kLongBinary) return w.out;
    return "jet_value(" + w.out + ", " + std::to_string(type) + ")";
}

// UPDATE table SET field = value, ... [WHERE ...] with converted values; empty when the
// statement has another form (it is then translated as it stands).
std::string TranslateUpdate(const std::vector<Tok>& t, int& params, const std::string& src, const FieldTypeOf& fieldType)
{
    size_t end = t.size() - 1;
    if (end < 3 || !IsNameTok(t[1]) || !t[2].Is("SET")) return std::string();
    size_t where = end;
    int depth = 0;
    for (size_t i = 3; i < end; ++i) {
        if (t[i].IsOp("(")) ++depth;
        else if (t[i].IsOp(")")) --depth;
        else if (depth == 0 && t[i].Is("WHERE")) {
            where = i;
            break;
        }
    }
    std::string out = "UPDATE " + QuoteName(t[1].text) + " SET ";
    bool first = true;
    for (auto& a : SplitList(t, 3, where)) {
        size_t eq = a.first;
        while (eq < a.second && !t[eq].IsOp("=")) ++eq;
        if (eq == a.first || eq >= a.second) Syntax(src);
        Writer name;
        Emit(t, a.first, eq, name, params, src);
        out += (first ? "" : ", ") + name.out + " = " +
               FieldValue(t, eq + 1, a.second, fieldType(t[1].text, t[eq - 1].text), params, src);
        first = false;
    }
    if (where < end) {
        Writer w;
        Emit(t, where, end, w, params, src);
        out += " " + w.out;
    }
    return out;
}

// INSERT INTO table (field, ...) VALUES (value, ...) with converted values; empty for any
// other form.
std::string TranslateInsert(const std::vector<Tok>& t, int& params, const std::string& src, const FieldTypeOf& fieldType)
{
    size_t end = t.size() - 1;
    if (end < 4 || !t[1].Is("INTO") || !IsNameTok(t[2]) || !t[3].IsOp("(")) return std::string();
    size_t close = Closing(t, 3);
    if (close >= end || !t[close + 1].Is("VALUES") || close + 2 >= end || !t[close + 2].IsOp("(")) return std::string();
    size_t valuesClose = Closing(t, close + 2);
    if (valuesClose + 1 != end) return std::string();
    std::vector<std::pair<size_t, size_t>> fields = SplitList(t, 4, close), values = SplitList(t, close + 3, valuesClose);
    if (fields.size() != values.size()) return std::string();
    for (auto& f : fields)
        if (f.second != f.first + 1 || !IsNameTok(t[f.first])) return std::string();
    std::string names, list;
    for (size_t k = 0; k < fields.size(); ++k) {
        names += (k ? ", " : "") + QuoteName(t[fields[k].first].text);
        list += (k ? ", " : "") +
                FieldValue(t, values[k].first, values[k].second, fieldType(t[2].text, t[fields[k].first].text), params, src);
    }
    return "INSERT INTO " + QuoteName(t[2].text) + " (" + names + ") VALUES (" + list + ")";
}

}  // namespace

std::string TranslateStatement(const std::string& jet, int* params, const FieldTypeOf& fieldType)
{
    std::vector<Tok> t = Tokenize(jet);
    if (fieldType && (StartsWithWord(t, "UPDATE") || StartsWithWord(t, "INSERT"))) {
        int p = 0;
        std::string out = t[0].Is("UPDATE") ? TranslateUpdate(t, p, jet, fieldType) : TranslateInsert(t, p, jet, fieldType);
        if (!out.empty()) {
            if (params) *params = p;
            return out;
        }
    }
    if (t.size() > 2 && t[0].Is("CREATE") && t[1].Is("TABLE")) return TranslateCreateTable(t, jet);
    if (t.size() > 3 && t[0].Is("ALTER") && t[1].Is("TABLE") && t[3].Is("ADD")) return TranslateAddColumn(t, jet);
    if (StartsWithWord(t, "SELECT")) {
        Select s = TranslateSelect(jet);
        if (params) *params = s.params;
        return s.Sql();
    }
    Writer w;
    int p = 0;
    Emit(t, 0, t.size() - 1, w, p, jet);
    if (params) *params = p;
    return w.out;
}

}  // namespace jet
