// Field types of the database and how a field's description is kept in a SQLite column
// declaration, so that a table read back gives the same types, sizes and flags.
#pragma once

#include <string>

namespace jet {

// Type codes of the classic engine.
enum FieldType {
    kBoolean = 1, kByte = 2, kInteger = 3, kLong = 4, kCurrency = 5, kSingle = 6, kDouble = 7,
    kDate = 8, kBinary = 9, kText = 10, kLongBinary = 11, kMemo = 12, kGuid = 15
};

// Field attribute bits.
enum FieldAttributes { kFixedField = 1, kVariableField = 2, kAutoIncrField = 16, kUpdatableField = 32 };

struct FieldDef {
    std::string name;
    int type = kText;
    long size = 0;          // text and binary: the maximum length; others the fixed size
    long attributes = 0;
    bool required = false;
    bool allowZeroLength = false;
    bool autoIncrement() const { return (attributes & kAutoIncrField) != 0; }
};

// Fixed storage size of a type (0 for variable ones).
long TypeSize(int type);
bool IsTextType(int type);
bool IsValidType(int type);

// A text given for a field of a number, date or Yes/No type, as that type reads it: a date
// text for a date, the words True/Yes/On and False/No/Off for Yes/No, a number text
// otherwise. FALSE for a text that is none of these.
bool NumberOfText(int type, const std::string& text, double& value);

// The column declaration "name type [constraints]" for CREATE TABLE.
std::string ColumnDeclaration(const FieldDef& f);

// Reads a declared type (as PRAGMA table_info reports it) back into type, size and flags;
// fields made by other tools get the nearest type.
void ParseDeclaredType(const std::string& decl, FieldDef& f);

// The declared type of a Jet DDL type name ("TEXT", "COUNTER", "LONG", ...), with its size
// argument when given (-1: none). FALSE for an unknown type name.
bool JetTypeByName(const std::string& name, long sizeArg, FieldDef& f);

}  // namespace jet
