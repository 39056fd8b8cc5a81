// The month calendar: its grid, moves, selection, highlights, keys and mouse, the pop-up's
// placement, moves at both ends of the date range, its panels' frames by pixels, and the
// date/time control opening it.
#include "gtest_wine.h"
#include "SECCalendar.h"
#include "SECDateTimeCtrl.h"
#include "SECSysData.h"

#include <string>
#include <vector>

namespace {

const bool g_onOwnDesktop = RunOnOwnDesktop("QuorvelCalendarTests");

std::string Day(const COleDateTime& v)
{
  char text[32];
  sprintf(text, "%04d-%02d-%02d", v.GetYear(), v.GetMonth(), v.GetDay());
  return text;
}

// A window that records the calendar's posted messages.
class Notify : public CWnd {
 public:
  std::vector<UINT> got;
  Notify()
  {
    CreateEx(0, AfxRegisterWndClass(0), "notify", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, NULL,
             NULL);
  }
  ~Notify() { DestroyWindow(); }
  void Pump()
  {
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
      if (msg.hwnd == m_hWnd && msg.message >= 0x600 && msg.message <= 0x603)
        got.push_back(msg.message);
      else
        DispatchMessageA(&msg);
    }
  }
  int Count(UINT m) const
  {
    int n = 0;
    for (UINT g : got) n += g == m;
    return n;
  }
};

class Calendar : public testing::Test {
 protected:
  Notify host;
  SECCalendar cal;
  void Make(DWORD calStyle = 0)
  {
    if (calStyle)
      cal.SetCalendarStyle(calStyle);
    ASSERT_TRUE(cal.Create(WS_VISIBLE, CRect(0, 0, 280, 240), &host, 1));
  }
  CPoint Centre(int box)
  {
    CRect r = cal.GetDayBox(box).GetRect();
    return r.CenterPoint();
  }
  int BoxOf(const char* day)
  {
    for (int i = 0; i < 42; ++i)
      if (Day(cal.GetDayBox(i).GetDate()) == day)
        return i;
    return -1;
  }
  void Key(UINT vk) { cal.SendMessage(WM_KEYDOWN, vk, 1); }
};

}  // namespace

TEST_F(Calendar, GridOfAMonth)
{
  Make();
  ASSERT_TRUE(cal.SetDate(COleDateTime(2004, 2, 17, 8, 0, 0), FALSE));
  EXPECT_EQ(Day(cal.GetDisplayedDate()), "2004-02-17");
  EXPECT_EQ(cal.GetDisplayedDate().GetHour(), 12);
  // 2004-02-01 is a Sunday: the grid starts on it
  EXPECT_EQ(Day(cal.GetDayBox(0).GetDate()), "2004-02-01");
  EXPECT_FALSE(cal.GetDayBox(0).GetOtherMonth());
  EXPECT_FALSE(cal.GetDayBox(28).GetOtherMonth());
  EXPECT_EQ(Day(cal.GetDayBox(29).GetDate()), "2004-03-01");
  EXPECT_TRUE(cal.GetDayBox(29).GetOtherMonth());
  EXPECT_EQ(Day(cal.GetDayBox(41).GetDate()), "2004-03-13");
  // Monday first: the grid starts on the Monday before
  cal.SetFirstDayOfWeek(2, FALSE);
  EXPECT_EQ(Day(cal.GetDayBox(0).GetDate()), "2004-01-26");
  EXPECT_TRUE(cal.GetDayBox(0).GetOtherMonth());
  EXPECT_FALSE(cal.GetDayBox(6).GetOtherMonth());
}

TEST_F(Calendar, MovesByMonthYearAndDay)
{
  Make();
  cal.SetDate(COleDateTime(2005, 1, 31, 0, 0, 0), FALSE);
  cal.SelectDate(COleDateTime(2005, 1, 31, 0, 0, 0), TRUE);
  EXPECT_TRUE(cal.NextMonth(TRUE));
  EXPECT_EQ(Day(cal.GetSelectedDate()), "2005-02-01");
  EXPECT_EQ(cal.GetDisplayedDate().GetMonth(), 2);
  EXPECT_TRUE(cal.PrevDay(TRUE));
  EXPECT_EQ(Day(cal.GetSelectedDate()), "2005-01-31");

  cal.SetDate(COleDateTime(2004, 2, 29, 0, 0, 0), FALSE);
  EXPECT_TRUE(cal.NextYear(FALSE));
  EXPECT_EQ(cal.GetDisplayedDate().GetYear(), 2005);
  EXPECT_EQ(cal.GetDisplayedDate().GetMonth(), 2);
  // the title's buttons send their commands
  cal.SendMessage(WM_COMMAND, SECCAL_CMD_NEXTMONTH);
  EXPECT_EQ(cal.GetDisplayedDate().GetMonth(), 3);
  cal.SendMessage(WM_COMMAND, SECCAL_CMD_PREVYEAR);
  EXPECT_EQ(cal.GetDisplayedDate().GetYear(), 2004);
}

TEST_F(Calendar, MovesAtTheEndsOfTheRangeAreRefused)
{
  Make();
  ASSERT_TRUE(cal.SetDate(COleDateTime(9999, 12, 15, 0, 0, 0), FALSE));
  cal.SelectDate(COleDateTime(9999, 12, 31, 0, 0, 0), TRUE);
  EXPECT_FALSE(cal.NextMonth(FALSE));
  EXPECT_FALSE(cal.NextYear(FALSE));
  EXPECT_FALSE(cal.NextDay(TRUE));
  EXPECT_FALSE(cal.Scroll(COleDateTimeSpan(40, 0, 0, 0)));
  EXPECT_EQ(Day(cal.GetDisplayedDate()), "9999-12-15");
  EXPECT_EQ(Day(cal.GetSelectedDate()), "9999-12-31");

  ASSERT_TRUE(cal.SetDate(COleDateTime(100, 1, 15, 0, 0, 0), FALSE));
  cal.SelectDate(COleDateTime(100, 1, 1, 0, 0, 0), TRUE);
  EXPECT_FALSE(cal.PrevMonth(FALSE));
  EXPECT_FALSE(cal.PrevYear(TRUE));
  EXPECT_FALSE(cal.PrevDay(TRUE));
  EXPECT_FALSE(cal.Scroll(COleDateTimeSpan(-20, 0, 0, 0)));
  EXPECT_EQ(Day(cal.GetDisplayedDate()), "0100-01-15");
  // an invalid date is never shown
  COleDateTime bad;
  bad.SetStatus(COleDateTime::invalid);
  EXPECT_FALSE(cal.SetDate(bad, TRUE));
  EXPECT_FALSE(cal.SetDate((DATE)3000000.0, TRUE));
  EXPECT_EQ(Day(cal.GetDisplayedDate()), "0100-01-15");
}

TEST_F(Calendar, EnterEscapeAndHighlights)
{
  Make();
  cal.SetDate(COleDateTime(2005, 4, 5, 0, 0, 0), FALSE);
  Key(VK_RETURN);  // nothing selected yet: cancel
  host.Pump();
  EXPECT_EQ(host.Count(SECCAL_CANCEL), 1);
  EXPECT_FALSE(cal.IsWindowVisible());
  cal.ShowWindow(SW_SHOW);
  host.got.clear();
  Key(VK_HOME);
  EXPECT_EQ(Day(cal.GetSelectedDate()), "2005-04-01");
  Key(VK_END);
  EXPECT_EQ(Day(cal.GetSelectedDate()), "2005-04-30");
  Key(VK_SPACE);  // deselects the focus date; the box stays recorded
  EXPECT_EQ(cal.GetSelection(), (const COleDateTime*)NULL);
  Key(VK_RETURN);
  host.Pump();
  EXPECT_EQ(host.Count(SECCAL_ACCEPT), 1);
  EXPECT_EQ(host.Count(SECCAL_SELECTED), 3);

  COleDateTime d(2005, 4, 12, 0, 0, 0);
  cal.HighlightDate(d, TRUE);
  cal.HighlightDate(d, TRUE);
  cal.HighlightDate(COleDateTime(2005, 3, 2, 0, 0, 0), TRUE);
  EXPECT_EQ(cal.GetHighlightCount(), 2u);
  COleDateTime out[4];
  ASSERT_EQ(cal.GetHighlightedDates(out, 4), 2u);
  EXPECT_EQ(Day(out[0]), "2005-03-02");
  EXPECT_TRUE(cal.GetDayBox(BoxOf("2005-04-12")).GetHighlighted());
  cal.ToggleHighlight(d);
  EXPECT_EQ(cal.GetHighlightCount(), 1u);
  EXPECT_FALSE(cal.GetDayBox(BoxOf("2005-04-12")).GetHighlighted());
  // a right press toggles too
  CPoint p = Centre(BoxOf("2005-04-20"));
  cal.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(p.x, p.y));
  EXPECT_EQ(cal.GetHighlightCount(), 2u);
}

TEST_F(Calendar, DragOutAndReleaseRestores)
{
  Make(0x0039C000 | 0x01000000 | 0x100);
  cal.SetDate(COleDateTime(2005, 4, 5, 0, 0, 0), FALSE);
  cal.SelectDate(COleDateTime(2005, 4, 5, 0, 0, 0), TRUE);
  host.Pump();
  host.got.clear();
  CPoint p = Centre(BoxOf("2005-04-12"));
  cal.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  EXPECT_EQ(Day(cal.GetSelectedDate()), "2005-04-12");
  CPoint q = Centre(BoxOf("2005-04-13"));
  cal.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(q.x, q.y));
  EXPECT_EQ(Day(cal.GetSelectedDate()), "2005-04-13");
  cal.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-20, -20));
  EXPECT_EQ(cal.GetSelection(), (const COleDateTime*)NULL);
  cal.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(-20, -20));
  EXPECT_EQ(Day(cal.GetSelectedDate()), "2005-04-05");
  host.Pump();
  EXPECT_EQ(host.Count(SECCAL_ACCEPT), 0);
  // released over a day, it accepts
  cal.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  cal.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
  host.Pump();
  EXPECT_EQ(host.Count(SECCAL_ACCEPT), 1);
}

TEST(PopupCalendar, PlacedAgainstTheWorkArea)
{
  Notify host;
  CRect work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  struct Case { CRect owner; bool above, rightAligned; } cases[] = {
      {CRect(work.left + 10, work.top + 10, work.left + 110, work.top + 30), false, false},
      {CRect(work.left + 10, work.bottom - 30, work.left + 110, work.bottom - 10), true, false},
      {CRect(work.right - 110, work.top + 10, work.right - 10, work.top + 30), false, true}};
  for (const Case& c : cases) {
    SECPopupCalendar pop;
    ASSERT_TRUE(pop.Create(WS_POPUP | WS_VISIBLE | WS_THICKFRAME | 0x0001, c.owner, &host, 0));
    CRect r;
    pop.GetWindowRect(&r);
    EXPECT_GT(r.Width(), 50);
    if (c.above)
      EXPECT_EQ(r.bottom, c.owner.top);
    else
      EXPECT_EQ(r.top, c.owner.bottom);
    if (c.rightAligned)
      EXPECT_EQ(r.right, c.owner.right);
    else
      EXPECT_EQ(r.left, c.owner.left);
  }
}

TEST(CalendarPanels, FramesAndColumnsByPixel)
{
  // a panel drawn into a DIB: outer line, raised bevel, then a red highlight frame
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = 40;
  bi.bmiHeader.biHeight = -40;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  DWORD* bits = NULL;
  HDC dc = CreateCompatibleDC(NULL);
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, (void**)&bits, NULL, 0);
  HGDIOBJ old = SelectObject(dc, bmp);
  auto at = [&](int x, int y) {
    GdiFlush();
    DWORD p = bits[y * 40 + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  };
  SECPanel panel;
  panel.Create(CRect(0, 0, 30, 30), NULL, 0, 0, FALSE, FALSE, 0x17F, 0xC000, 3);
  panel.Paint(CDC::FromHandle(dc));
  EXPECT_EQ(at(0, 10), RGB(0, 0, 0));
  EXPECT_EQ(at(1, 10), secData.m_clrBtnHilite);
  EXPECT_EQ(at(3, 10), secData.m_clrBtnHilite);
  EXPECT_EQ(at(29, 10), secData.m_clrBtnShadow);
  EXPECT_EQ(at(4, 10), secData.m_clrBtnFace);  // the last bevel ring lies under the fill
  EXPECT_EQ(panel.GetInnerRect(), CRect(4, 4, 26, 26));
  EXPECT_TRUE(panel.SetHighlighted(TRUE, FALSE));
  panel.Paint(CDC::FromHandle(dc));
  for (int x : {4, 7})
    EXPECT_EQ(at(x, 15), RGB(255, 0, 0)) << x;
  EXPECT_EQ(at(8, 15), secData.m_clrBtnFace);
  EXPECT_TRUE(panel.SetSelected(TRUE, FALSE));
  panel.Paint(CDC::FromHandle(dc));
  EXPECT_EQ(at(1, 10), secData.m_clrBtnShadow);  // sunken
  // without the behaviour flags the states do not take
  SECPanel plain;
  plain.Create(CRect(0, 0, 5, 5), NULL, 0, 0, FALSE, TRUE, 0x17F, 0, 3);
  EXPECT_FALSE(plain.SetSelected(TRUE, FALSE));
  EXPECT_FALSE(plain.GetSelected());
  EXPECT_FALSE(plain.SetHighlighted(TRUE, FALSE));
  EXPECT_FALSE(plain.GetHighlighted());
  EXPECT_EQ(plain.GetInnerRect(), CRect(0, 0, 0, 0));  // smaller than its frame
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);

  // fitting ends for a font that cannot grow (height and width 0) and for an empty rectangle
  {
    HDC screen = CreateCompatibleDC(NULL);
    LOGFONT lf = {};
    strcpy(lf.lfFaceName, "Arial");
    SECCalTitle title;
    SECDayBar bar;
    SECDayBox box;
    CRect huge(0, 0, 100000, 100000);
    LOGFONT a = title.FitFont(CDC::FromHandle(screen), &lf, &huge);
    LOGFONT b = bar.FitFont(CDC::FromHandle(screen), &lf, &huge);
    LOGFONT c = box.FitFont(CDC::FromHandle(screen), &lf, &huge);
    EXPECT_LE(abs(a.lfHeight) + abs(b.lfHeight) + abs(c.lfHeight), 3 * 100000);
    lf.lfHeight = 16;
    CRect none(0, 0, 0, 0);
    EXPECT_EQ(title.FitFont(CDC::FromHandle(screen), &lf, &none).lfHeight, 0);
    // a real font grows to the rectangle and no further
    CRect strip(0, 0, 700, 40);
    LOGFONT d = bar.FitFont(CDC::FromHandle(screen), &lf, &strip);
    EXPECT_GT(abs(d.lfHeight), 0);
    EXPECT_LE(abs(d.lfHeight), 40);
    DeleteDC(screen);
  }

  // the day bar's columns for an inner rectangle of 701 pixels
  int lefts[7], rights[7];
  for (int i = 1; i <= 7; ++i)
    SECDayBar::Column(CRect(0, 0, 700, 10), i, lefts[i - 1], rights[i - 1]);
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(lefts[i], i * 100);
    EXPECT_EQ(rights[i], (i + 1) * 100);
  }
}

TEST(CalendarFromTheControl, OpensAcceptsAndCancels)
{
  Notify host;
  SECDateTimeCtrl ctrl;
  ctrl.SetCustomFormat("MM/dd/yyyy HH:mm");
  ctrl.SetDateTime(COleDateTime(2005, 4, 5, 10, 30, 0));
  ASSERT_TRUE(ctrl.Create(WS_CHILD | WS_VISIBLE | 0x0001, CRect(10, 10, 250, 34), &host, 7));
  ctrl.SetFocus();
  ctrl.SendMessage(WM_KEYDOWN, VK_F4, 1);
  SECPopupCalendar* pop = ctrl.GetPopupCalendar();
  ASSERT_NE(pop, (SECPopupCalendar*)NULL);
  EXPECT_EQ(Day(pop->GetSelectedDate()), "2005-04-05");
  EXPECT_EQ(pop->GetMode(), 2);
  // a click on a day accepts it with the time kept
  int box = -1;
  for (int i = 0; i < 42; ++i)
    if (Day(pop->GetDayBox(i).GetDate()) == "2005-04-20")
      box = i;
  ASSERT_GE(box, 0);
  CPoint p = pop->GetDayBox(box).GetRect().CenterPoint();
  pop->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  pop->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
  host.Pump();
  EXPECT_EQ(ctrl.GetPopupCalendar(), (SECPopupCalendar*)NULL);
  const COleDateTime& v = ctrl.GetDateTime();
  EXPECT_EQ(Day(v), "2005-04-20");
  EXPECT_EQ(v.GetHour() * 60 + v.GetMinute(), 10 * 60 + 30);

  // Alt+Down opens it, Esc cancels
  ctrl.SetFocus();
  ctrl.SendMessage(WM_SYSKEYDOWN, VK_DOWN, 1 << 29);
  pop = ctrl.GetPopupCalendar();
  ASSERT_NE(pop, (SECPopupCalendar*)NULL);
  pop->SendMessage(WM_KEYDOWN, VK_NEXT, 1);
  pop->SendMessage(WM_KEYDOWN, VK_ESCAPE, 1);
  host.Pump();
  EXPECT_EQ(ctrl.GetPopupCalendar(), (SECPopupCalendar*)NULL);
  EXPECT_EQ(Day(ctrl.GetDateTime()), "2005-04-20");

  // no-edit fields keep theirs: only the day comes from the calendar
  ctrl.SetNoEditFields(SECDT_NOEDIT_YEAR | SECDT_NOEDIT_MONTH);
  ctrl.SetFocus();
  ctrl.SendMessage(WM_KEYDOWN, VK_F4, 1);
  pop = ctrl.GetPopupCalendar();
  ASSERT_NE(pop, (SECPopupCalendar*)NULL);
  pop->SendMessage(WM_KEYDOWN, VK_NEXT, 1);  // to the 1st of the next month, 2005-05-01
  pop->SendMessage(WM_KEYDOWN, VK_RIGHT, 1);
  pop->SendMessage(WM_KEYDOWN, VK_RETURN, 1);
  host.Pump();
  EXPECT_EQ(Day(ctrl.GetDateTime()), "2005-04-02");

  // after a colour change the calendar's days take the new text colour
  ctrl.SendMessage(WM_KEYDOWN, VK_F4, 1);
  pop = ctrl.GetPopupCalendar();
  ASSERT_NE(pop, (SECPopupCalendar*)NULL);
  int index = COLOR_WINDOWTEXT;
  COLORREF before = GetSysColor(index), fresh = RGB(1, 99, 200);
  SetSysColors(1, &index, &fresh);
  pop->SendMessage(WM_SYSCOLORCHANGE);
  EXPECT_EQ(pop->GetDayBox(10).GetTextColor(), fresh);
  {
    // and paints its days in it: some pixel of an in-month box carries the new colour
    CRect box = pop->GetDayBox(10).GetRect();
    CRect client;
    pop->GetClientRect(&client);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = client.Width();
    bi.bmiHeader.biHeight = -client.Height();
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    DWORD* bits = NULL;
    HDC dc = CreateCompatibleDC(NULL);
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, (void**)&bits, NULL, 0);
    HGDIOBJ old = SelectObject(dc, bmp);
    pop->SendMessage(WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT);
    GdiFlush();
    bool found = false;
    for (int y = box.top; y <= box.bottom && !found; ++y)
      for (int x = box.left; x <= box.right && !found; ++x) {
        DWORD p = bits[y * client.Width() + x];
        found = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF) == fresh;
      }
    EXPECT_TRUE(found);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
  }
  SetSysColors(1, &index, &before);
  pop->SendMessage(WM_SYSCOLORCHANGE);
  ctrl.DestroyWindow();
}
