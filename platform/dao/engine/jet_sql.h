// The program's SQL dialect (bracketed names, Like with '*' and '?', #dates#, CDate('...'),
// {guid {...}} literals, True/False, '&' joins of text, Jet type names in CREATE TABLE) turned
// into SQLite SQL. Pure text work: tests drive it without a database.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace jet {

// An error of the database engine: its classic error number and description.
struct Error : std::runtime_error {
    long code;
    Error(long c, const std::string& description) : std::runtime_error(description), code(c) {}
};

// The engine's description of an error number, with %s replaced by arg.
std::string ErrorText(long code, const std::string& arg = std::string());
[[noreturn]] void Throw(long code, const std::string& arg = std::string());

struct TableRef {
    std::string name;   // as written, without brackets
    std::string alias;  // empty when none
    const std::string& RefName() const { return alias.empty() ? name : alias; }
};

// A SELECT statement split into its clauses, each already in SQLite's dialect.
struct Select {
    std::string head;     // "SELECT [DISTINCT] <list>"
    std::string from;     // the FROM clause without the keyword
    std::string where;    // condition without the keyword, may be empty
    std::string tail;     // GROUP BY / HAVING, may be empty
    std::string orderBy;  // without the keywords, may be empty
    std::vector<TableRef> tables;  // base tables named in FROM, in order
    bool simple = true;   // no DISTINCT, grouping or set operation: rows map to table rows
    int params = 0;       // number of '?' markers

    std::string Sql() const;
};

// Translates an expression (a filter or find criterion, or a sort list).
std::string TranslateExpression(const std::string& jet, int* params = nullptr);

// An expression of the dialect with each name that no table qualifies (not before or after a
// '.' or '!', no function or keyword) replaced by what own(name) gives, in the dialect
// (e.g. "[VideoClip].[ID]"); a name it gives nothing for stays as written, and so does the
// rest of the text.
std::string QualifyNames(const std::string& jet, const std::function<std::string(const std::string&)>& own);

// A recordset source: a full SELECT statement, or a table name or comma-separated table list
// (read as "SELECT * FROM <list>"). The filter is added to the WHERE clause and the sort
// replaces the ORDER BY clause. Throws Error for what cannot be read.
Select TranslateSelect(const std::string& source, const std::string& filter = std::string(),
                       const std::string& sort = std::string());

// The type of a table's field (as FieldType), 0 when unknown.
typedef std::function<int(const std::string& table, const std::string& field)> FieldTypeOf;

// Any statement of the dialect (SELECT, INSERT, UPDATE, DELETE, CREATE TABLE/INDEX, DROP,
// ALTER TABLE ... ADD). With fieldType, the values that INSERT ... VALUES and UPDATE ... SET
// give to number, date and Yes/No fields pass through jet_value(value, type), which reads a
// text as the field's type does or fails with "Data type conversion error.".
std::string TranslateStatement(const std::string& jet, int* params = nullptr,
                               const FieldTypeOf& fieldType = FieldTypeOf());

// True when a recordset source is a full statement rather than table names.
bool IsSelectStatement(const std::string& source);

// Quoting for SQLite.
std::string QuoteName(const std::string& name);
std::string QuoteText(const std::string& text);

}  // namespace jet
