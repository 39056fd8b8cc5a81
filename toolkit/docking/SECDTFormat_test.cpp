// The date/time format language read into fields and literal texts, and the toolkit's
// cached system data.
#include "gtest_wine.h"
#include "SECDTFormat.h"
#include "SECSysData.h"

#include <string>

namespace {

// A parsed format written compactly: fields as "<id>" (with "0" after it for leading zeros,
// "L<n>" for list kind n), literal texts as "[text]".
std::string Shape(const char* format)
{
  std::vector<SECDTFormatItem> items;
  SECParseDateTimeFormat(format, items);
  std::string out;
  for (const SECDTFormatItem& item : items) {
    if (item.kind == SECDTFormatItem::literal) {
      out += "[" + std::string((LPCTSTR)item.text) + "]";
      continue;
    }
    out += "<" + std::to_string(item.id);
    if (item.kind == SECDTFormatItem::numeric && item.leadingZeros)
      out += "0";
    if (item.kind == SECDTFormatItem::list)
      out += "L" + std::to_string((int)item.items);
    out += ">";
  }
  return out;
}

}  // namespace

TEST(SECDTFormat, PatternsBecomeFieldsAndTexts)
{
  struct Case { const char* format; const char* shape; } cases[] = {
      {"h", "<1>"}, {"hh", "<10>"}, {"hhh", "<10><1>"}, {"H:mm:ss", "<2>[:]<40>[:]<80>"},
      {"h:m:s tt", "<1>[:]<4>[:]<8>[ ]<16L2>"}, {"t", "<16L1>"},
      {"d dd ddd dddd", "<32>[ ]<320>[ ]<64L3>[ ]<64L4>"},
      {"M MM MMM MMMM MMMMM", "<128>[ ]<1280>[ ]<256L5>[ ]<256L6>[ ]<256L6><128>"},
      {"y yy yyy yyyy yyyyy", "<512>[ ]<5120>[ ]<1024>[ ]<1024>[ ]<1024><512>"},
      {"MM/dd/yyyy", "<1280>[/]<320>[/]<1024>"},
      {"gg yyyy", "[ ]<1024>"},  // the era is ignored
      {"dd 'of' MMMM", "<320>[ ][of][ ]<256L6>"},
      {"dd \"h'm\"MM", "<320>[ ][h'm]<1280>"},  // the other quote is plain text inside
      {"dd''MM", "<320><1280>"},               // a pair of quotes gives nothing
      {"dd 'of MMMM", "<320>[ ][of MMMM]"},    // unterminated: the rest is text
      {"'", ""}, {"", ""}, {"xyz", "[x]<512>[z]"}};
  for (const Case& c : cases)
    EXPECT_EQ(Shape(c.format), c.shape) << c.format;
  // 0x82 0x68 ('h') is one character where 0x82 is a lead byte, else a byte and a field
  EXPECT_EQ(Shape("\x82hh"), _ismbblead(0x82) ? "[\x82h]<1>" : "[\x82]<10>");
  std::vector<SECDTFormatItem> items;
  SECParseDateTimeFormat(NULL, items);
  EXPECT_TRUE(items.empty());
}

TEST(SECDTFormat, RangesAndNoEditBits)
{
  std::vector<SECDTFormatItem> items;
  SECParseDateTimeFormat("hHmstdddMMMyyyy", items);
  struct Want { int id, minimum, maximum; DWORD noEdit; } want[] = {
      {1, 1, 12, 0x08}, {2, 0, 23, 0x08}, {4, 0, 59, 0x10}, {8, 0, 59, 0x20}, {16, 0, 0, 0x08},
      {64, 0, 0, 0x04}, {256, 0, 0, 0x02}, {1024, 0, 9999, 0x01}};
  ASSERT_EQ(items.size(), sizeof want / sizeof want[0]);
  for (size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(items[i].id, want[i].id);
    EXPECT_EQ(items[i].minimum, want[i].minimum) << i;
    EXPECT_EQ(items[i].maximum, want[i].maximum) << i;
    EXPECT_EQ(items[i].noEditBit, want[i].noEdit) << i;
  }
}

TEST(SECSysData, CachesTheSystemColoursAndRefreshesThem)
{
  EXPECT_EQ(secData.m_bWin4, LOBYTE(LOWORD(GetVersion())) >= 4);
  EXPECT_EQ(secData.m_cxBorder, secData.m_bWin4 ? 2 : 1);
  EXPECT_EQ(secData.m_cyBorder, secData.m_cxBorder);
  EXPECT_EQ(secData.m_hcurArrow, LoadCursor(NULL, IDC_ARROW));
  EXPECT_EQ(secData.m_hcurHSplit, (HCURSOR)NULL);
  EXPECT_EQ(secData.m_hSpare, (HANDLE)NULL);

  int indices[] = {COLOR_BTNFACE, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_WINDOWFRAME,
                   COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_WINDOWTEXT, COLOR_WINDOW,
                   COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT};
  COLORREF* cached[] = {&secData.m_clrBtnFace, &secData.m_clrBtnShadow,
                        &secData.m_clrBtnHilite, &secData.m_clrWindowFrame,
                        &secData.m_clr3DLight, &secData.m_clr3DDkShadow,
                        &secData.m_clrWindowText, &secData.m_clrWindow,
                        &secData.m_clrHighlight, &secData.m_clrHighlightText};
  for (int i = 0; i < 10; ++i)
    EXPECT_EQ(*cached[i], GetSysColor(indices[i])) << i;

  // a changed scheme reaches the cache only on refresh
  COLORREF old[10];
  for (int i = 0; i < 10; ++i)
    old[i] = GetSysColor(indices[i]);
  COLORREF fresh[10];
  for (int i = 0; i < 10; ++i)
    fresh[i] = RGB(10 + i, 20 + i, 30 + i);
  ASSERT_TRUE(SetSysColors(10, indices, fresh));
  EXPECT_EQ(secData.m_clrWindow, old[7]);
  secData.UpdateSysColors();
  for (int i = 0; i < 10; ++i)
    EXPECT_EQ(*cached[i], fresh[i]) << i;
  SetSysColors(10, indices, old);
  secData.UpdateSysColors();
  EXPECT_EQ(secData.m_clrWindow, old[7]);
}
