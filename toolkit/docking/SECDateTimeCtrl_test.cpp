// The date/time control through its window: texts of the format's fields, typing, keys and
// spins that change the value under the field rules, the null state, the range, the
// parent's notifications and colours, and the program's placing of two fields in a dialog.
#include "gtest_wine.h"
#include "SECDateTimeCtrl.h"
#include "SECResource.h"
#include "SECSysData.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

const bool g_onOwnDesktop = RunOnOwnDesktop("QuorvelDateTimeTests");

// What the dialog received from its controls.
struct Note {
  UINT id, code;
};
std::vector<Note> g_notes;
bool g_ctlColors = false;
const COLORREF kParentText = RGB(0, 0, 255), kParentBk = RGB(255, 255, 0);

INT_PTR CALLBACK HostProc(HWND, UINT msg, WPARAM wParam, LPARAM lParam)
{
  switch (msg) {
    case WM_INITDIALOG: return FALSE;
    case WM_COMMAND:
      if (lParam != 0)
        g_notes.push_back({LOWORD(wParam), HIWORD(wParam)});
      return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
      if (!g_ctlColors)
        return FALSE;
      SetTextColor((HDC)wParam, kParentText);
      SetBkColor((HDC)wParam, kParentBk);
      return (INT_PTR)GetStockObject(WHITE_BRUSH);
    default: return FALSE;
  }
}

int Count(UINT code)
{
  int n = 0;
  for (const Note& note : g_notes)
    n += note.code == code;
  return n;
}

COleDateTime Date(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
  return COleDateTime(y, mo, d, h, mi, s);
}

std::string Stamp(const COleDateTime& v)
{
  if (v.GetStatus() != COleDateTime::valid)
    return v.GetStatus() == COleDateTime::null ? "null" : "invalid";
  char text[64];
  sprintf(text, "%04d-%02d-%02d %02d:%02d:%02d", v.GetYear(), v.GetMonth(), v.GetDay(),
          v.GetHour(), v.GetMinute(), v.GetSecond());
  return text;
}

CString Locale(LCTYPE type)
{
  char buffer[256] = {};
  GetLocaleInfoA(GetUserDefaultLCID(), type, buffer, sizeof buffer);
  return buffer;
}

class DateTime : public testing::Test {
 protected:
  HWND dlg = NULL;
  CWnd* parent = NULL;
  SECDateTimeCtrl ctrl;

  void SetUp() override
  {
    g_notes.clear();
    g_ctlColors = false;
    dlg = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(100), NULL, HostProc, 0);
    ASSERT_NE(dlg, (HWND)NULL);
    parent = CWnd::FromHandle(dlg);
  }
  void TearDown() override
  {
    if (ctrl.m_hWnd != NULL)
      ctrl.DestroyWindow();
    DestroyWindow(dlg);
  }
  // A control with the format, the value and the style, at the dialog's top.
  void Make(const char* format, const COleDateTime& value, DWORD style = SEC_DTS_UPDOWN)
  {
    if (format != NULL)
      ctrl.SetCustomFormat(format);
    ASSERT_TRUE(ctrl.SetDateTime(value));
    ASSERT_TRUE(ctrl.Create(WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style,
                            CRect(10, 100, 250, 124), parent, 2000));
  }
  std::string Text()
  {
    char buffer[4096] = "untouched";
    int n = (int)ctrl.SendMessage(WM_GETTEXT, sizeof buffer, (LPARAM)buffer);
    EXPECT_EQ(n, (int)strlen(buffer));
    return buffer;
  }
  void Chars(const char* text)
  {
    for (const char* p = text; *p; ++p)
      ctrl.SendMessage(WM_CHAR, (unsigned char)*p, 1);
  }
  void Key(UINT vk) { ctrl.SendMessage(WM_KEYDOWN, vk, 1); }
  // Makes the gadget at index current (by clicks on it).
  void Field(int index)
  {
    const CRect& r = ctrl.GetGadget(index)->GetRect();
    int x = r.left + r.Width() / 2 - ctrl.GetScrollOffset();
    ctrl.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, r.top + 2));
    ctrl.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, r.top + 2));
    ASSERT_EQ(ctrl.GetCurrentGadget(), index);
  }
  int IndexOf(int id)
  {
    for (INT_PTR i = 0; i < ctrl.GetGadgetCount(); ++i)
      if (ctrl.GetGadget(i)->GetID() == id)
        return (int)i;
    return -1;
  }
};

}  // namespace

TEST_F(DateTime, FieldTextsFollowTheFormat)
{
  std::string am = (LPCTSTR)Locale(LOCALE_S1159), pm = (LPCTSTR)Locale(LOCALE_S2359);
  struct Case { const char* format; COleDateTime value; std::string text; } cases[] = {
      {"h tt", Date(2005, 4, 5, 0, 0, 0), "12 " + am},
      {"h tt", Date(2005, 4, 5, 12, 0, 0), "12 " + pm},
      {"h tt", Date(2005, 4, 5, 13, 0, 0), "1 " + pm},
      {"hh:mm:ss t", Date(2005, 4, 5, 9, 7, 3), "09:07:03 " + am.substr(0, 1)},
      {"HH:m:s", Date(2005, 4, 5, 9, 7, 3), "09:7:3"},
      {"y|yy|yyy|yyyy", Date(2005, 4, 5), "5|05|2005|2005"},
      {"d/M dd/MM", Date(2005, 4, 5), "5/4 05/04"},
      {"dd 'of' yyyy", Date(2005, 4, 5), "05 of 2005"},
      {"dd 'of yyyy", Date(2005, 4, 5), "05 of yyyy"},
      {"MMMM dddd", Date(2005, 4, 5),
       std::string((LPCTSTR)Locale(LOCALE_SMONTHNAME4)) + " " +
           std::string((LPCTSTR)Locale(LOCALE_SDAYNAME2))}};
  for (const Case& c : cases) {
    if (ctrl.m_hWnd != NULL)
      ctrl.DestroyWindow();
    Make(c.format, c.value);
    EXPECT_EQ(Text(), c.text) << c.format;
  }
  // the locale's own formats by type
  ctrl.SetFormat(SECDateTimeCtrl::Time);
  CString format;
  ctrl.GetFormat(format);
  EXPECT_STREQ(format, Locale(LOCALE_STIMEFORMAT));
  ctrl.SetFormat(SECDateTimeCtrl::LongDate);
  ctrl.GetFormat(format);
  EXPECT_STREQ(format, Locale(LOCALE_SLONGDATE));
}

TEST_F(DateTime, TextIsCutToTheBufferAndLongFormatsFit)
{
  Make("MM/dd/yyyy", Date(2005, 4, 5));
  char buffer[32];
  memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(ctrl.SendMessage(WM_GETTEXT, 10, (LPARAM)buffer), 9);
  EXPECT_STREQ(buffer, "04/05/200");
  EXPECT_EQ(buffer[10], 'x');
  EXPECT_EQ(ctrl.SendMessage(WM_GETTEXT, 0, (LPARAM)buffer), 0);
  EXPECT_EQ(ctrl.SendMessage(WM_GETTEXTLENGTH), 10);

  // 2,000 characters of format give a text longer than any fixed buffer
  std::string format;
  while (format.size() < 2000)
    format += "yyyy-";
  ctrl.SetCustomFormat(format.c_str());
  std::string text = Text();
  EXPECT_EQ(text.size(), 400u * 5);
  EXPECT_EQ(text.substr(0, 10), "2005-2005-");
  EXPECT_EQ(ctrl.SendMessage(WM_GETTEXTLENGTH), 2000);
  ctrl.EnsureVisible((int)ctrl.GetGadgetCount() - 1);
  EXPECT_GT(ctrl.GetScrollOffset(), 0);
}

TEST_F(DateTime, FieldRulesFromKeys)
{
  SYSTEMTIME st;
  GetSystemTime(&st);
  int clock = st.wYear;  // two-digit years land from 49 years before it to 50 after
  auto twoDigit = [&](int v) { return v + (clock - v + 50) / 100 * 100; };
  struct Case {
    const char* format;
    COleDateTime value;
    int fieldId;
    const char* chars;  // typed
    UINT key;           // then a key (0 none)
    DWORD style;
    std::string want;
  } cases[] = {
      {"HH:mm", Date(2005, 4, 5, 10, 30), 4, "45", 0, 0, "2005-04-05 10:45:00"},
      // 0 then 5 is a one-digit entry, committed when the field is left
      {"HH:mm", Date(2005, 4, 5, 10, 30), 4, "05", 0, 0, "2005-04-05 10:30:00"},
      {"HH:mm", Date(2005, 4, 5, 10, 30), 4, "05", VK_LEFT, 0, "2005-04-05 10:05:00"},
      {"MM/dd/yyyy", Date(2005, 4, 5), 1024, "1998", 0, 0, "1998-04-05 00:00:00"},
      {"MM/dd/yyyy", Date(2005, 4, 5), 1024, "199", 0, 0, "2005-04-05 00:00:00"},
      {"hh:mm tt", Date(2005, 4, 5, 10, 30), 1, "12", 0, 0, "2005-04-05 00:30:00"},
      {"hh:mm tt", Date(2005, 4, 5, 14, 30), 1, "12", 0, 0, "2005-04-05 12:30:00"},
      {"hh:mm tt", Date(2005, 4, 5, 14, 30), 1, "13", 0, 0, "2005-04-05 14:30:00"},
      {"MM/dd/yy", Date(1987, 4, 5), 512, "05", VK_LEFT, SEC_DTS_Y2K_NOFIX,
       "1905-04-05 00:00:00"},
      {"MM/dd/yy", Date(1987, 4, 5), 512, "75", 0, 0, ""},
      {"MM/dd/yy", Date(1987, 4, 5), 512, "74", 0, 0, ""},
      {"MM/dd/yyyy", Date(2005, 1, 31), 128, "", VK_UP, 0, "2005-02-28 00:00:00"},
      {"MM/dd/yyyy", Date(2004, 1, 31), 128, "", VK_UP, 0, "2004-02-29 00:00:00"},
      {"MM/dd/yyyy", Date(2004, 12, 5), 128, "", VK_UP, 0, "2004-01-05 00:00:00"},
      {"MM/dd/yyyy", Date(2004, 2, 1), 32, "", VK_DOWN, 0, "2004-02-29 00:00:00"},
      {"MM/dd/yyyy", Date(2005, 4, 30), 32, "", VK_UP, 0, "2005-04-01 00:00:00"},
      {"MM/dd/yyyy", Date(2005, 4, 5), 32, "31", 0, 0, "2005-04-05 00:00:00"},
      {"MM/dd/yyyy", Date(2005, 4, 5), 32, "", VK_END, 0, "2005-04-30 00:00:00"},
      {"MM/dd/yyyy", Date(2005, 4, 5), 128, "13", 0, 0, "2005-04-05 00:00:00"},
      {"HH:mm:ss", Date(2005, 4, 5, 23, 59, 59), 8, "", VK_UP, 0, "2005-04-05 23:59:00"},
      {"HH:mm:ss", Date(2005, 4, 5, 0, 0, 0), 2, "", VK_DOWN, 0, "2005-04-05 23:00:00"},
      {"hh:mm tt", Date(2005, 4, 5, 9, 0, 0), 16, "", VK_UP, 0, "2005-04-05 21:00:00"},
      {"ddd MM/dd/yyyy", Date(2005, 4, 6), 64, "", VK_HOME, 0, "2005-04-03 00:00:00"},
      {"ddd MM/dd/yyyy", Date(2005, 4, 6), 64, "", VK_END, 0, "2005-04-09 00:00:00"},
      {"ddd MM/dd/yyyy", Date(2005, 4, 6), 64, "", VK_UP, 0, "2005-04-07 00:00:00"},
  };
  char want75[32], want74[32];
  sprintf(want75, "%04d-04-05 00:00:00", twoDigit(75));
  sprintf(want74, "%04d-04-05 00:00:00", twoDigit(74));
  cases[9].want = want75;
  cases[10].want = want74;
  for (const Case& c : cases) {
    if (ctrl.m_hWnd != NULL)
      ctrl.DestroyWindow();
    ctrl.SetFastEntry(FALSE, FALSE);
    Make(c.format, c.value, SEC_DTS_UPDOWN | c.style);
    int index = IndexOf(c.fieldId);
    ASSERT_GE(index, 0) << c.format;
    Field(index);
    Chars(c.chars);
    if (c.key)
      Key(c.key);
    EXPECT_EQ(Stamp(ctrl.GetDateTime()), c.want) << c.format << " " << c.chars << " " << c.key;
  }
}

TEST_F(DateTime, HomeClampsToTheMinimumByLevel)
{
  for (int minDay : {3, 1}) {
    if (ctrl.m_hWnd != NULL)
      ctrl.DestroyWindow();
    ASSERT_TRUE(ctrl.SetMinMax(Date(1990, 1, minDay), Date(2999, 12, 31, 23, 59, 59), 2));
    Make("MM/dd/yyyy", Date(1990, 1, 5, 10, 30));
    Field(IndexOf(32));
    Key(VK_HOME);
    EXPECT_EQ(Stamp(ctrl.GetDateTime()),
              minDay == 3 ? "1990-01-03 00:00:00" : "1990-01-01 10:30:00");
  }
  // the year's Home goes to the minimum's year; below it nothing is typed in
  Field(IndexOf(1024));
  Key(VK_END);
  EXPECT_EQ(ctrl.GetDateTime().GetYear(), 2999);
  Chars("1989");
  EXPECT_EQ(ctrl.GetDateTime().GetYear(), 2999);
}

TEST_F(DateTime, SpinRepeatsByTimerAndStepsAreCapped)
{
  Make("HH:mm/yyyy", Date(2005, 4, 5, 10, 30));
  SECDTSpinGadget* spin = (SECDTSpinGadget*)ctrl.GetGadget(0);
  ASSERT_EQ(spin->GetID(), SECDT_SPIN);
  const CRect& r = spin->GetRect();
  LPARAM upper = MAKELPARAM(r.left + 4, r.top + 2);

  auto hold = [&](int field, int ticks) {
    Field(IndexOf(field));
    ctrl.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, upper);
    UINT_PTR timer = spin->GetTimerID();
    EXPECT_NE(timer, 0u);
    for (int i = 0; i < ticks; ++i)
      SECDTGadget::TimerProc(NULL, WM_TIMER, timer = spin->GetTimerID(), 0);
    ctrl.SendMessage(WM_LBUTTONUP, 0, upper);
    EXPECT_EQ(spin->GetTimerID(), 0u);
  };
  // one step at the press, 20 of 1, 30 of 2, then 5s: the year is not capped
  hold(1024, 52);
  EXPECT_EQ(ctrl.GetDateTime().GetYear(), 2005 + 1 + 20 + 60 + 10);
  // the hour steps by at most 2 however long it is held: 1 + 20 + 2 * 30 + 2 * 2 = 85 hours
  hold(2, 52);
  // 10, 21 steps of 1 (23 then 0 after it) to 7, then 32 of 2 that go past 23 to 0 twice
  EXPECT_EQ(ctrl.GetDateTime().GetHour(), 22);
}

TEST_F(DateTime, ListSearchByTypedLetters)
{
  SECDateTimeCtrl owner;  // no window: the value still changes by the rules
  ASSERT_TRUE(owner.SetDateTime(Date(2005, 3, 10)));
  const char* names[] = {"January", "February", "March", "April", "May", "June", "July",
                         "August", "September", "October", "November", "December"};
  CStringArray items;
  for (const char* name : names)
    items.Add(name);
  SECDTListGadget list;
  list.Initialise(&owner, &items, 2, SECDT_MONTHNAME);
  list.OnChar('j');  // from March, the next J: June
  EXPECT_EQ(list.GetValue(), 5);
  EXPECT_EQ(owner.GetDateTime().GetMonth(), 6);
  list.OnChar('J');  // the same letter again steps on
  EXPECT_EQ(list.GetValue(), 6);
  EXPECT_NE(list.GetTimerID(), 0u);
  SECDTGadget::TimerProc(NULL, WM_TIMER, list.GetTimerID(), 0);  // two seconds pass
  EXPECT_EQ(list.GetTimerID(), 0u);
  EXPECT_TRUE(list.GetPrefix().IsEmpty());
  list.OnChar('J');  // a new search: from July the next J wraps to January
  list.OnChar('u');  // JU from January: June
  EXPECT_EQ(list.GetValue(), 5);
  EXPECT_STREQ(list.GetPrefix(), "Ju");
  list.OnChar('x');  // nothing begins with JUX: the search ends, the value stays
  EXPECT_EQ(list.GetValue(), 5);
  EXPECT_TRUE(list.GetPrefix().IsEmpty());
  EXPECT_EQ(list.GetTimerID(), 0u);
  list.OnChar('q');
  EXPECT_EQ(list.GetValue(), 5);
}

TEST_F(DateTime, SeparatorsTabsAndNoEditFields)
{
  Make("MM/dd/yyyy", Date(2005, 4, 5));
  Field(IndexOf(128));
  Chars("1/");  // the slash moves on, committing the month
  EXPECT_EQ(ctrl.GetCurrentGadget(), IndexOf(32));
  EXPECT_EQ(ctrl.GetDateTime().GetMonth(), 1);
  Chars("2/2006");
  EXPECT_EQ(Stamp(ctrl.GetDateTime()), "2006-01-02 00:00:00");
  Chars("/");  // the last field: nothing after it to move to
  EXPECT_EQ(ctrl.GetCurrentGadget(), IndexOf(1024));

  ctrl.DestroyWindow();
  Make("HH mm", Date(2005, 4, 5, 10, 30));
  Field(IndexOf(2));
  Chars(" ");
  EXPECT_EQ(ctrl.GetCurrentGadget(), IndexOf(4));

  // Tab moves between the fields with the option on, and answers DLGC_WANTTAB
  EXPECT_EQ(ctrl.SendMessage(WM_GETDLGCODE), DLGC_WANTARROWS | DLGC_WANTCHARS);
  ctrl.SetFastEntry(TRUE);
  EXPECT_EQ(ctrl.SendMessage(WM_GETDLGCODE), DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB);
  Field(IndexOf(2));
  Key(VK_TAB);
  EXPECT_EQ(ctrl.GetCurrentGadget(), IndexOf(4));
  // auto-advance: a field typed to its width passes the focus on
  Field(IndexOf(2));
  Chars("12");
  EXPECT_EQ(ctrl.GetCurrentGadget(), IndexOf(4));
  EXPECT_EQ(ctrl.GetDateTime().GetHour(), 12);
  ctrl.SetFastEntry(FALSE);
  Field(IndexOf(2));
  Chars("11");
  EXPECT_EQ(ctrl.GetCurrentGadget(), IndexOf(2));

  // a no-edit field is skipped
  ctrl.DestroyWindow();
  ctrl.SetNoEditFields(SECDT_NOEDIT_DAY);
  Make("MM/dd/yyyy", Date(2005, 4, 5));
  EXPECT_EQ(ctrl.GetGadget(IndexOf(32))->GetStyle() & SECDTGadget::WantFocus, 0);
  Field(IndexOf(128));
  Key(VK_RIGHT);
  EXPECT_EQ(ctrl.GetCurrentGadget(), IndexOf(1024));
  ctrl.SetNoEditFields(0);
}

TEST_F(DateTime, NullStateRangeAndNotifications)
{
  COleDateTime lo = Date(1990, 1, 1), hi = Date(2999, 12, 31, 23, 59, 59);
  ASSERT_TRUE(ctrl.SetMinMax(lo, hi, 2));
  Make("MM/dd/yyyy", Date(2005, 4, 5));
  ctrl.SetNull(' ');
  EXPECT_EQ(ctrl.GetDateTime().GetStatus(), COleDateTime::null);
  char buffer[32] = "untouched";
  EXPECT_EQ(ctrl.SendMessage(WM_GETTEXT, sizeof buffer, (LPARAM)buffer), 0);
  EXPECT_STREQ(buffer, "untouched");
  for (INT_PTR i = 1; i < ctrl.GetGadgetCount(); ++i)
    if (ctrl.GetGadget(i)->GetID() > 0)
      EXPECT_TRUE(ctrl.GetGadget(i)->GetStyle() & SECDTGadget::IsNull) << i;

  g_notes.clear();
  Field(IndexOf(128));
  Chars("12/24/");
  EXPECT_EQ(ctrl.GetDateTime().GetStatus(), COleDateTime::null);
  EXPECT_EQ(Count(EN_CHANGE), 0);
  Chars("1989");  // outside the range's years: refused
  EXPECT_EQ(ctrl.GetDateTime().GetStatus(), COleDateTime::null);
  Chars("2010");
  EXPECT_EQ(Stamp(ctrl.GetDateTime()), "2010-12-24 00:00:00");
  EXPECT_GE(Count(EN_CHANGE), 1);
  EXPECT_TRUE(ctrl.IsModified());

  // reversed bounds: FALSE, the old range kept
  EXPECT_FALSE(ctrl.SetMinMax(hi, lo, 3));
  COleDateTime a, b;
  EXPECT_EQ(ctrl.GetMinMax(a, b), 2);
  EXPECT_EQ(Stamp(a), "1990-01-01 00:00:00");
  // a value outside a new range is clamped into it
  EXPECT_TRUE(ctrl.SetMinMax(Date(2011, 1, 1), Date(2012, 1, 1), 3));
  EXPECT_EQ(Stamp(ctrl.GetDateTime()), "2011-01-01 00:00:00");

  // focus notifications reach the parent, unless the control says not to
  SetFocus(GetDlgItem(dlg, IDOK));
  g_notes.clear();
  ctrl.SetFocus();
  SetFocus(GetDlgItem(dlg, IDOK));
  EXPECT_EQ(Count(EN_SETFOCUS), 1);
  EXPECT_EQ(Count(EN_KILLFOCUS), 1);
  ctrl.ModifyStyleEx(0, WS_EX_NOPARENTNOTIFY);
  g_notes.clear();
  ctrl.SetFocus();
  SetFocus(GetDlgItem(dlg, IDOK));
  EXPECT_TRUE(g_notes.empty());
}

TEST_F(DateTime, FormatWithoutFieldsLeavesOnlyTheButtons)
{
  for (int type : {7, 3}) {
    if (ctrl.m_hWnd != NULL)
      ctrl.DestroyWindow();
    if (type == 3)
      ctrl.SetCustomFormat("");
    else
      ctrl.SetFormat(type);
    Make(NULL, Date(2005, 4, 5), SEC_DTS_UPDOWN | SEC_DTS_CALENDAR);
    EXPECT_EQ(ctrl.GetGadgetCount(), 2);
    // keys, characters, clicks, spins and scrolling with no field to act on
    Key(VK_UP);
    Key(VK_RIGHT);
    Chars("5/");
    ctrl.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ctrl.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    const CRect& spin = ctrl.GetGadget(1)->GetRect();
    ctrl.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(spin.left + 3, spin.top + 2));
    ctrl.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(spin.left + 3, spin.top + 2));
    ctrl.EnsureVisible(5);
    EXPECT_EQ(Stamp(ctrl.GetDateTime()), "2005-04-05 00:00:00");
    EXPECT_EQ(Text(), "");
  }
  // no item of that id: FALSE and no window
  SECDateTimeCtrl other;
  EXPECT_FALSE(other.AttachDateTime(4242, parent, SEC_DTS_UPDOWN, WS_CHILD));
  EXPECT_EQ(other.m_hWnd, (HWND)NULL);
}

namespace {

// The control drawn into a 32-bit DIB, read back pixel by pixel.
class Snapshot {
 public:
  explicit Snapshot(SECDateTimeCtrl& ctrl)
  {
    CRect client;
    ctrl.GetClientRect(&client);
    w = client.Width();
    h = client.Height();
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    HDC screen = GetDC(NULL);
    dc = CreateCompatibleDC(screen);
    ReleaseDC(NULL, screen);
    bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, (void**)&bits, NULL, 0);
    old = SelectObject(dc, bmp);
    ctrl.SendMessage(WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT);
    GdiFlush();
  }
  ~Snapshot()
  {
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
  }
  COLORREF At(int x, int y) const
  {
    DWORD p = bits[y * w + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  bool Has(COLORREF c, const CRect& area) const
  {
    for (int y = std::max((LONG)0, area.top); y < std::min((LONG)h, area.bottom); ++y)
      for (int x = std::max((LONG)0, area.left); x < std::min((LONG)w, area.right); ++x)
        if (At(x, y) == c)
          return true;
    return false;
  }
  int w, h;

 private:
  HDC dc;
  HBITMAP bmp;
  HGDIOBJ old;
  DWORD* bits = NULL;
};

CRect WindowRectIn(HWND wnd, HWND parent)
{
  CRect r;
  GetWindowRect(wnd, &r);
  MapWindowPoints(NULL, parent, (POINT*)&r, 2);
  return r;
}

}  // namespace

TEST_F(DateTime, TheProgramsClipFields)
{
  COleDateTime lo = Date(1990, 1, 1), hi = Date(2999, 12, 31, 23, 59, 59);
  COleDateTime stored = Date(2005, 4, 5, 14, 25, 36);
  SECDateTimeCtrl timeField, dateField;
  // the clip dialog's order: everything set before the windows exist
  timeField.SetFormat(SECDateTimeCtrl::Time);
  ASSERT_TRUE(timeField.SetMinMax(lo, hi, 1));
  timeField.SetNull(' ');
  ASSERT_TRUE(timeField.SetTime(stored));
  dateField.SetCustomFormat("MM/dd/yyyy");
  ASSERT_TRUE(dateField.SetMinMax(lo, hi, 2));
  dateField.SetNull(' ');
  ASSERT_TRUE(dateField.SetDate(stored));

  HWND edit1 = GetDlgItem(dlg, 1069), edit2 = GetDlgItem(dlg, 1070);
  CRect r1 = WindowRectIn(edit1, dlg), r2 = WindowRectIn(edit2, dlg);
  ASSERT_TRUE(timeField.AttachDateTime(1069, parent, 0x0002, WS_CHILD | WS_TABSTOP,
                                       WS_EX_CLIENTEDGE));
  ASSERT_TRUE(dateField.AttachDateTime(1070, parent, 0x0002, WS_CHILD | WS_TABSTOP,
                                       WS_EX_CLIENTEDGE));
  EXPECT_FALSE(IsWindow(edit1));
  EXPECT_FALSE(IsWindow(edit2));
  EXPECT_EQ(GetDlgItem(dlg, 1069), timeField.m_hWnd);
  EXPECT_EQ(WindowRectIn(timeField.m_hWnd, dlg), r1);
  EXPECT_EQ(WindowRectIn(dateField.m_hWnd, dlg), r2);
  EXPECT_TRUE(timeField.IsWindowVisible());
  // tab order: 1068, the time field, the date field, OK
  HWND first = GetDlgItem(dlg, 1068);
  EXPECT_EQ(GetNextDlgTabItem(dlg, first, FALSE), timeField.m_hWnd);
  EXPECT_EQ(GetNextDlgTabItem(dlg, timeField.m_hWnd, FALSE), dateField.m_hWnd);
  EXPECT_EQ(GetNextDlgTabItem(dlg, dateField.m_hWnd, FALSE), GetDlgItem(dlg, IDOK));

  // the earlier values show, and read back as the locale writes them
  char text[64];
  timeField.GetWindowText(text, sizeof text);
  COleDateTime parsed;
  ASSERT_TRUE(parsed.ParseDateTime(text, VAR_TIMEVALUEONLY)) << text;
  EXPECT_EQ(parsed.GetHour() * 3600 + parsed.GetMinute() * 60 + parsed.GetSecond(),
            14 * 3600 + 25 * 60 + 36) << text;
  dateField.GetWindowText(text, sizeof text);
  EXPECT_STREQ(text, "04/05/2005");
  EXPECT_TRUE(parsed.ParseDateTime(text, VAR_DATEVALUEONLY)) << text;

  // typing into the date field changes its date alone
  const CRect& day = dateField.GetGadget(3)->GetRect();
  ASSERT_EQ(dateField.GetGadget(3)->GetID(), SECDT_DAY);
  dateField.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(day.left + 2, day.top + 2));
  dateField.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(day.left + 2, day.top + 2));
  for (char c : std::string("20"))
    dateField.SendMessage(WM_CHAR, c, 1);
  const COleDateTime& d = dateField.GetDateTime();
  const COleDateTime& t = timeField.GetDateTime();
  EXPECT_EQ(Stamp(d), "2005-04-20 00:00:00");
  EXPECT_EQ(Stamp(COleDateTime(d.GetYear(), d.GetMonth(), d.GetDay(), t.GetHour(),
                               t.GetMinute(), t.GetSecond())), "2005-04-20 14:25:36");
  EXPECT_TRUE(dateField.IsModified());
  EXPECT_FALSE(timeField.IsModified());

  // disabled: grey text on the button face, or the parent's colours when it is asked
  dateField.EnableWindow(FALSE);
  dateField.SetParentColors(FALSE);
  CRect fields(1, 0, 60, 20);
  {
    Snapshot shot(dateField);
    EXPECT_EQ(shot.At(0, shot.h - 1), GetSysColor(COLOR_BTNFACE));
    EXPECT_TRUE(shot.Has(GetSysColor(COLOR_GRAYTEXT), fields));
  }
  dateField.SetParentColors(TRUE);
  g_ctlColors = true;
  {
    Snapshot shot(dateField);
    EXPECT_EQ(shot.At(0, shot.h - 1), kParentBk);
    EXPECT_TRUE(shot.Has(kParentText, fields));
    EXPECT_FALSE(shot.Has(GetSysColor(COLOR_GRAYTEXT), fields));
  }
  timeField.DestroyWindow();
  dateField.DestroyWindow();
}

TEST_F(DateTime, SystemColourChangeRepaintsAndReloadsTheArrow)
{
  Make("MM/dd/yyyy", Date(2005, 4, 5), SEC_DTS_UPDOWN | SEC_DTS_CALENDAR);
  ctrl.SetParentColors(FALSE);
  SECDTButtonGadget* button = (SECDTButtonGadget*)ctrl.GetGadget(0);
  ASSERT_EQ(button->GetID(), SECDT_DROPDOWN);
  ASSERT_NE(button->GetBitmap(), (HBITMAP)NULL);
  BITMAP bm;
  GetObject(button->GetBitmap(), sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 7);
  EXPECT_EQ(bm.bmHeight, 4);

  int indices[] = {COLOR_WINDOW, COLOR_BTNFACE, COLOR_WINDOWTEXT};
  COLORREF old[3], fresh[3] = {RGB(250, 240, 200), RGB(20, 160, 90), RGB(120, 0, 40)};
  for (int i = 0; i < 3; ++i)
    old[i] = GetSysColor(indices[i]);
  ASSERT_TRUE(SetSysColors(3, indices, fresh));
  ctrl.SendMessage(WM_SYSCOLORCHANGE);
  {
    Snapshot shot(ctrl);
    EXPECT_EQ(shot.At(0, shot.h - 1), fresh[0]);
    EXPECT_TRUE(shot.Has(fresh[2], CRect(1, 0, 60, 20)));
    const CRect& b = button->GetRect();
    // the arrow's face, reloaded in the new button face, around the centred triangle
    EXPECT_EQ(shot.At(b.left + b.Width() / 2, b.top + 3), fresh[1]);
    CDC mem;
    mem.CreateCompatibleDC(NULL);
    HGDIOBJ o = SelectObject(mem.m_hDC, button->GetBitmap());
    EXPECT_EQ(GetPixel(mem.m_hDC, 0, 3), fresh[1]);
    EXPECT_EQ(GetPixel(mem.m_hDC, 3, 0), GetSysColor(COLOR_BTNTEXT));
    SelectObject(mem.m_hDC, o);
  }
  SetSysColors(3, indices, old);
  ctrl.SendMessage(WM_SYSCOLORCHANGE);
  EXPECT_EQ(secData.m_clrWindow, old[0]);
}

TEST_F(DateTime, BeforeVersionFourTheControlDrawsItsOwnEdge)
{
  BOOL win4 = secData.m_bWin4;
  secData.m_bWin4 = FALSE;
  Make("MM/dd/yyyy", Date(2005, 4, 5));
  CRect window, client;
  ctrl.GetWindowRect(&window);
  ctrl.GetClientRect(&client);
  EXPECT_EQ(client.Width(), window.Width() - 4);
  EXPECT_EQ(client.Height(), window.Height() - 4);
  ctrl.SizeToContent();
  ctrl.GetWindowRect(&window);
  int fields = 0;
  for (INT_PTR i = 1; i < ctrl.GetGadgetCount(); ++i)
    fields += ctrl.GetGadget(i)->GetRect().Width();
  EXPECT_EQ(window.Width(), 4 + 16 + fields + 3);
  secData.m_bWin4 = win4;
}

TEST_F(DateTime, TabIntoTheControlPicksTheFirstOrLastField)
{
  Make("MM/dd/yyyy", Date(2005, 4, 5));
  ctrl.SetFastEntry(FALSE, TRUE);
  BYTE keys[256];
  for (bool shift : {false, true}) {
    SetFocus(GetDlgItem(dlg, IDOK));
    GetKeyboardState(keys);
    keys[VK_TAB] = 0x80;
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    ctrl.SetFocus();
    keys[VK_TAB] = keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    int want = shift ? IndexOf(1024) : IndexOf(128);
    EXPECT_EQ(ctrl.GetCurrentGadget(), want) << shift;
    EXPECT_TRUE(ctrl.GetGadget(want)->IsSelected());
  }
  // Tab past the last field leaves the control for the dialog's next item
  HWND next = GetNextDlgTabItem(dlg, ctrl.m_hWnd, FALSE);
  ASSERT_NE(next, ctrl.m_hWnd);
  Key(VK_TAB);
  EXPECT_EQ(GetFocus(), next);
}
