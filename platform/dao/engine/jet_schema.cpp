#include "jet_schema.h"

#include "jet_sql.h"
#include "jet_text.h"

#include <cctype>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace jet {

long TypeSize(int type)
{
    switch (type) {
    case kBoolean: return 1;
    case kByte: return 1;
    case kInteger: return 2;
    case kLong: return 4;
    case kCurrency: return 8;
    case kSingle: return 4;
    case kDouble: return 8;
    case kDate: return 8;
    case kGuid: return 16;
    default: return 0;
    }
}

bool IsTextType(int type) { return type == kText || type == kMemo || type == kGuid; }

bool IsValidType(int type)
{
    return (type >= kBoolean && type <= kMemo) || type == kGuid;
}

bool NumberOfText(int type, const std::string& text, double& value)
{
    if (type == kDate && ParseDateText(text, value)) return true;
    if (type == kBoolean) {
        static const char* const yes[] = {"True", "Yes", "On"};
        static const char* const no[] = {"False", "No", "Off"};
        for (int i = 0; i < 3; ++i) {
            if (CompareNoCase(text, yes[i]) == 0) return value = -1, true;
            if (CompareNoCase(text, no[i]) == 0) return value = 0, true;
        }
    }
    return ParseNumberText(text, value);
}

std::string ColumnDeclaration(const FieldDef& f)
{
    std::string d = QuoteName(f.name) + " ";
    if (f.autoIncrement()) return d + "INTEGER PRIMARY KEY AUTOINCREMENT";
    switch (f.type) {
    case kBoolean: d += "YESNO INTEGER"; break;
    case kByte: d += "BYTE INTEGER"; break;
    case kInteger: d += "SHORT INTEGER"; break;
    case kLong: d += "LONG INTEGER"; break;
    case kCurrency: d += "CURRENCY INTEGER"; break;
    case kSingle: d += "SINGLE REAL"; break;
    case kDouble: d += "DOUBLE REAL"; break;
    case kDate: d += "DATETIME REAL"; break;
    case kBinary: d += "BINARY BLOB(" + std::to_string(f.size > 0 ? f.size : 255) + ")"; break;
    case kLongBinary: d += "LONGBINARY BLOB"; break;
    case kText:
        d += f.allowZeroLength ? "TEXT ZLS(" : "TEXT(";
        d += std::to_string(f.size > 0 && f.size <= 255 ? f.size : 255) + ")";
        break;
    case kMemo: d += f.allowZeroLength ? "MEMO TEXT ZLS" : "MEMO TEXT"; break;
    case kGuid: d += "GUID TEXT"; break;
    default: Throw(3259);
    }
    if (f.required) d += " NOT NULL";
    if (IsTextType(f.type)) d += " COLLATE JETTEXT";
    return d;
}

void ParseDeclaredType(const std::string& decl, FieldDef& f)
{
    std::vector<std::string> words;
    std::string w;
    long arg = -1;
    for (size_t i = 0; i < decl.size(); ++i) {
        char c = decl[i];
        if (c == '(') {
            arg = strtol(decl.c_str() + i + 1, nullptr, 10);
            break;
        }
        if (isalnum((unsigned char)c) || c == '_') {
            w += (char)toupper((unsigned char)c);
        } else if (!w.empty()) {
            words.push_back(w);
            w.clear();
        }
    }
    if (!w.empty()) words.push_back(w);
    auto has = [&](const char* s) {
        for (auto& x : words) if (x == s) return true;
        return false;
    };
    std::string first = words.empty() ? std::string() : words[0];
    f.allowZeroLength = has("ZLS");
    f.attributes = kFixedField;
    if (words.size() == 1 && first == "INTEGER") {
        f.type = kLong;
        f.attributes |= kAutoIncrField;
    } else if (!JetTypeByName(first, arg, f)) {
        // A column made elsewhere: by SQLite's affinity rules.
        std::string all;
        for (auto& x : words) all += x + " ";
        if (all.find("INT") != std::string::npos) f.type = kLong;
        else if (all.find("CHAR") != std::string::npos || all.find("TEXT") != std::string::npos ||
                 all.find("CLOB") != std::string::npos) f.type = kMemo;
        else if (all.find("BLOB") != std::string::npos || all.empty()) f.type = kLongBinary;
        else f.type = kDouble;
        f.size = TypeSize(f.type);
        f.attributes = IsTextType(f.type) || f.type == kLongBinary ? kVariableField : kFixedField;
        return;
    }
    if (f.type == kText || f.type == kMemo || f.type == kBinary || f.type == kLongBinary)
        f.attributes = (f.attributes & ~kFixedField) | kVariableField;
}

bool JetTypeByName(const std::string& nameIn, long sizeArg, FieldDef& f)
{
    std::string n;
    for (char c : nameIn) n += (char)toupper((unsigned char)c);
    long size = -1;
    if (n == "YESNO" || n == "BIT" || n == "LOGICAL" || n == "LOGICAL1" || n == "BOOLEAN") f.type = kBoolean;
    else if (n == "BYTE" || n == "TINYINT" || n == "INTEGER1") f.type = kByte;
    else if (n == "SHORT" || n == "SMALLINT" || n == "INTEGER2") f.type = kInteger;
    else if (n == "LONG" || n == "INT" || n == "INTEGER" || n == "INTEGER4") f.type = kLong;
    else if (n == "COUNTER" || n == "AUTOINCREMENT") {
        f.type = kLong;
        f.attributes = kFixedField | kAutoIncrField;
    }
    else if (n == "CURRENCY" || n == "MONEY") f.type = kCurrency;
    else if (n == "SINGLE" || n == "REAL" || n == "FLOAT4" || n == "IEEESINGLE") f.type = kSingle;
    else if (n == "DOUBLE" || n == "FLOAT" || n == "FLOAT8" || n == "IEEEDOUBLE" || n == "NUMBER" || n == "NUMERIC") f.type = kDouble;
    else if (n == "DATETIME" || n == "DATE" || n == "TIME" || n == "TIMESTAMP") f.type = kDate;
    else if (n == "BINARY" || n == "VARBINARY") {
        f.type = kBinary;
        size = sizeArg > 0 ? sizeArg : 255;
    }
    else if (n == "LONGBINARY" || n == "OLEOBJECT" || n == "GENERAL" || n == "IMAGE") f.type = kLongBinary;
    else if (n == "TEXT" || n == "CHAR" || n == "VARCHAR" || n == "STRING" || n == "ALPHANUMERIC" ||
             n == "CHARACTER" || n == "NCHAR" || n == "NVARCHAR") {
        // A Jet DDL TEXT without a size is a memo; with one, text of that size.
        if (sizeArg > 0 || n != "TEXT") {
            f.type = kText;
            size = sizeArg > 0 && sizeArg <= 255 ? sizeArg : 255;
        } else {
            f.type = kMemo;
        }
    }
    else if (n == "MEMO" || n == "LONGTEXT" || n == "LONGCHAR" || n == "NOTE" || n == "NTEXT") f.type = kMemo;
    else if (n == "GUID" || n == "UNIQUEIDENTIFIER") f.type = kGuid;
    else return false;
    f.size = size >= 0 ? size : TypeSize(f.type);
    return true;
}

}  // namespace jet
