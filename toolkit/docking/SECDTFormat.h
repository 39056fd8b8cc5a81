// The date/time control's format language: a format string read into a row of fields and
// literal texts, without a window.
#ifndef QUORVEL_SECDTFORMAT_H
#define QUORVEL_SECDTFORMAT_H

#include <afxwin.h>

#include <vector>

// Field ids of the date/time control's gadgets (literal text carries -1).
enum {
  SECDT_HOUR12 = 1, SECDT_HOUR24 = 2, SECDT_MINUTE = 4, SECDT_SECOND = 8, SECDT_AMPM = 16,
  SECDT_DAY = 32, SECDT_DAYOFWEEK = 64, SECDT_MONTH = 128, SECDT_MONTHNAME = 256,
  SECDT_YEAR2 = 512, SECDT_YEAR4 = 1024, SECDT_DROPDOWN = 0x4000, SECDT_SPIN = 0x8000
};

// No-edit bits of the fields.
enum {
  SECDT_NOEDIT_YEAR = 0x01, SECDT_NOEDIT_MONTH = 0x02, SECDT_NOEDIT_DAY = 0x04,
  SECDT_NOEDIT_HOUR = 0x08, SECDT_NOEDIT_MINUTE = 0x10, SECDT_NOEDIT_SECOND = 0x20
};

// One piece of a parsed format.
struct SECDTFormatItem {
  enum Kind { literal, numeric, list };
  enum ListKind { none, designatorFirst, designatorFull, dayAbbrev, dayFull, monthAbbrev,
                  monthFull };
  Kind kind;
  int id;             // field id, -1 for literal text
  int minimum;        // numeric fields
  int maximum;
  BOOL leadingZeros;
  ListKind items;     // list fields: which names
  DWORD noEditBit;    // the field's bit of the no-edit mask, 0 for literal text
  CString text;       // literal text
};

// Reads a format string ('h', 'H', 'm', 's', 't', 'd', 'M', 'y', 'g' and quoted text;
// everything else is literal; a double-byte character stays whole). An unterminated quote
// takes the rest of the string as literal text.
void SECParseDateTimeFormat(const char* pszFormat, std::vector<SECDTFormatItem>& items);

#endif  // QUORVEL_SECDTFORMAT_H
