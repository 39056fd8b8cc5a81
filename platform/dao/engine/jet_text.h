// Text and value rules of the database engine that do not depend on SQLite: case-insensitive
// comparison of Windows-1252 text, the Like pattern language, and date literals as OLE dates.
// Text is handled as bytes throughout: stored text is Windows-1252 and must come back as it
// went in.
#pragma once

#include <cstddef>
#include <string>

namespace jet {

// Upper-case form of a Windows-1252 byte (letters of the Latin-1 range and the few extra
// letters of 0x80..0x9F included); other bytes unchanged.
unsigned char FoldByte(unsigned char c);

// Three-way comparison that ignores letter case, as the database's text comparisons do.
int CompareNoCase(const char* a, size_t na, const char* b, size_t nb);
inline int CompareNoCase(const std::string& a, const std::string& b)
{
    return CompareNoCase(a.data(), a.size(), b.data(), b.size());
}

// Like matching: '*' any run of characters, '?' one character, '#' one digit, '[abc]' one of
// the listed characters, '[a-z]' a range, '[!...]' none of them; everything else matches
// itself, ignoring case. The whole value must match. An unclosed '[' is an ordinary character.
bool LikeMatch(const char* value, size_t nvalue, const char* pattern, size_t npattern);
inline bool LikeMatch(const std::string& value, const std::string& pattern)
{
    return LikeMatch(value.data(), value.size(), pattern.data(), pattern.size());
}

// A text with the Like wildcards bracketed, so that a pattern built from it matches the text
// itself only ("O*Brien" -> "O[*]Brien").
std::string LikeEscape(const std::string& text);

// OLE date: days since 30 December 1899, the fraction of a day as the time (for dates before
// 1899 the fraction still counts forwards from midnight).
double OleDateFromParts(int year, int month, int day, int hour, int minute, int second);
bool OleDateToParts(double date, int& year, int& month, int& day, int& hour, int& minute,
                    int& second);

// Reads a date/time text as the engine's date conversion does for the US locale:
// "m/d/yyyy", "m/d/yyyy h:mm:ss", "yyyy-mm-dd[ hh:mm:ss]", times alone ("h:mm[:ss] [AM|PM]").
// Two-digit years 00..29 are 20xx, 30..99 are 19xx. FALSE for anything else or an impossible
// date.
bool ParseDateText(const std::string& text, double& date);

// Reads a number text: optional spaces, sign, digits with at most one decimal point, an
// optional exponent. FALSE for anything else (letters, an empty text).
bool ParseNumberText(const std::string& text, double& value);

// Canonical stored form of a GUID text: "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" upper case.
// Accepts it with or without braces; FALSE when the text is not a GUID.
bool NormalizeGuid(const std::string& text, std::string& out);

}  // namespace jet
