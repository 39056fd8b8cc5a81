#include "SECDTFormat.h"

#include <string.h>

namespace {

struct Letter {
  char ch;
  int maxRepeat;
};

SECDTFormatItem Field(SECDTFormatItem::Kind kind, int id, int minimum, int maximum,
                      BOOL leadingZeros, SECDTFormatItem::ListKind items, DWORD noEdit)
{
  SECDTFormatItem item;
  item.kind = kind;
  item.id = id;
  item.minimum = minimum;
  item.maximum = maximum;
  item.leadingZeros = leadingZeros;
  item.items = items;
  item.noEditBit = noEdit;
  return item;
}

SECDTFormatItem Numeric(int id, int minimum, int maximum, BOOL zeros, DWORD noEdit)
{
  return Field(SECDTFormatItem::numeric, id, minimum, maximum, zeros, SECDTFormatItem::none,
               noEdit);
}

SECDTFormatItem List(int id, SECDTFormatItem::ListKind items, DWORD noEdit)
{
  return Field(SECDTFormatItem::list, id, 0, 0, FALSE, items, noEdit);
}

// The field of letter ch repeated n times (n within the letter's limit); false for the era.
bool FieldOf(char ch, int n, SECDTFormatItem& item)
{
  switch (ch) {
    case 'h': item = Numeric(SECDT_HOUR12, 1, 12, n == 2, SECDT_NOEDIT_HOUR); return true;
    case 'H': item = Numeric(SECDT_HOUR24, 0, 23, n == 2, SECDT_NOEDIT_HOUR); return true;
    case 'm': item = Numeric(SECDT_MINUTE, 0, 59, n == 2, SECDT_NOEDIT_MINUTE); return true;
    case 's': item = Numeric(SECDT_SECOND, 0, 59, n == 2, SECDT_NOEDIT_SECOND); return true;
    case 't':
      item = List(SECDT_AMPM, n == 1 ? SECDTFormatItem::designatorFirst
                                     : SECDTFormatItem::designatorFull, SECDT_NOEDIT_HOUR);
      return true;
    case 'd':
      if (n <= 2)
        item = Numeric(SECDT_DAY, 1, 31, n == 2, SECDT_NOEDIT_DAY);
      else
        item = List(SECDT_DAYOFWEEK, n == 3 ? SECDTFormatItem::dayAbbrev
                                            : SECDTFormatItem::dayFull, SECDT_NOEDIT_DAY);
      return true;
    case 'M':
      if (n <= 2)
        item = Numeric(SECDT_MONTH, 1, 12, n == 2, SECDT_NOEDIT_MONTH);
      else
        item = List(SECDT_MONTHNAME, n == 3 ? SECDTFormatItem::monthAbbrev
                                            : SECDTFormatItem::monthFull, SECDT_NOEDIT_MONTH);
      return true;
    case 'y':
      if (n <= 2)
        item = Numeric(SECDT_YEAR2, 0, 99, n == 2, SECDT_NOEDIT_YEAR);
      else
        item = Numeric(SECDT_YEAR4, 0, 9999, FALSE, SECDT_NOEDIT_YEAR);
      return true;
    default:  // 'g': the era is not shown
      return false;
  }
}

int MaxRepeat(char ch)
{
  switch (ch) {
    case 'h': case 'H': case 'm': case 's': case 't': case 'g': return 2;
    case 'd': case 'M': case 'y': return 4;
    default: return 0;
  }
}

void Literal(CString& pending, std::vector<SECDTFormatItem>& items)
{
  if (pending.IsEmpty())
    return;
  SECDTFormatItem item;
  item.kind = SECDTFormatItem::literal;
  item.id = -1;
  item.minimum = item.maximum = 0;
  item.leadingZeros = FALSE;
  item.items = SECDTFormatItem::none;
  item.noEditBit = 0;
  item.text = pending;
  items.push_back(item);
  pending.Empty();
}

}  // namespace

void SECParseDateTimeFormat(const char* pszFormat, std::vector<SECDTFormatItem>& items)
{
  items.clear();
  if (pszFormat == NULL)
    return;
  CString pending;
  const char* p = pszFormat;
  while (*p) {
    char ch = *p;
    if (ch == '\'' || ch == '"') {
      Literal(pending, items);
      const char* end = strchr(p + 1, ch);
      if (end == NULL) {
        pending = p + 1;  // no partner: the rest is text and parsing ends
        break;
      }
      pending = CString(p + 1, (int)(end - p - 1));
      Literal(pending, items);
      p = end + 1;
      continue;
    }
    int limit = MaxRepeat(ch);
    if (limit == 0) {
      // a double-byte character goes to the text whole (a missing trail byte ends it)
      int n = (_ismbblead((unsigned char)ch) && p[1]) ? 2 : 1;
      pending += CString(p, n);
      p += n;
      continue;
    }
    Literal(pending, items);
    int n = 1;
    while (n < limit && p[n] == ch)
      ++n;
    SECDTFormatItem item;
    if (FieldOf(ch, n, item))
      items.push_back(item);
    p += n;
  }
  Literal(pending, items);
}
