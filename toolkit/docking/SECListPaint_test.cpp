// The list control's layout and painting, read back from 32-bit DIBs: rows of differing
// heights, labels, the header band, lines, the focus rectangle, scroll bars and the
// off-screen surface.
#include "SECList_test_util.h"

namespace {

const bool g_onOwnDesktop = RunOnOwnDesktop("QuorvelListPaintTests");

const COLORREF kBk = RGB(255, 255, 255);
const COLORREF kText = RGB(0, 0, 0);

int FontHeight()
{
  HDC hdc = ::GetDC(NULL);
  HGDIOBJ old = ::SelectObject(hdc, ::GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICA tm;
  ::GetTextMetricsA(hdc, &tm);
  ::SelectObject(hdc, old);
  ::ReleaseDC(NULL, hdc);
  return tm.tmHeight;
}

class ListPaint : public testing::Test {
 protected:
  RecordingParent parent{400, 300};
  TestList list;

  void Report(int cx, int cy, DWORD style = 0, DWORD exStyle = 0)
  {
    MakeList(list, parent, LVS_REPORT | style, exStyle, cx, cy);
    list.SetBkColor(kBk);
    list.SetTextColor(kText);
  }
  RECT Cell(int item, int col = 0, int code = 0)
  {
    RECT rc = {0, 0, 0, 0};
    EXPECT_TRUE(list.GetCellRect(item, col, &rc, code));
    return rc;
  }
  // Rows of the DIB (in the rectangle's columns) that carry any pixel not of the colour.
  int InkRows(const Dib& dib, COLORREF c, const RECT& r)
  {
    int n = 0;
    for (int y = r.top; y < r.bottom; y++)
      n += dib.CountNot(c, r.left, y, r.right, y + 1) > 0;
    return n;
  }
};

TEST_F(ListPaint, RowsTakeTheHeightOfTheirWrappedLabels)
{
  Report(200, 200);
  list.AppendColumn(CString("Name"), 0, 120, -1);
  list.AppendColumn(CString("Club"), 0, 60, -1);
  list.InsertItem(0, "short");
  list.InsertItem(1, "a much longer label that has to wrap onto several lines");
  list.InsertItem(2, "x");
  list.SelectItem(0, FALSE);
  int h = FontHeight();
  // No image list: the label sits at (5, 2) in its cell and the row is as tall as its text.
  SECListItem* first = list.GetItemAt(0);
  EXPECT_EQ(5, first->m_rcText.left);
  EXPECT_EQ(2, first->m_rcText.top);
  EXPECT_EQ(h + 2, first->m_cy);
  RECT r0 = Cell(0), r1 = Cell(1), r2 = Cell(2);
  EXPECT_EQ(18, r0.top);  // below the header
  EXPECT_EQ(r0.bottom, r1.top);
  EXPECT_GE(r1.bottom - r1.top, 3 * h);
  EXPECT_EQ(r1.bottom, r2.top);
  EXPECT_EQ(120, r0.right - r0.left);

  Dib dib(200, 200);
  dib.Fill(RGB(1, 2, 3));
  list.Paint(&dib.dc);
  // Background everywhere the rows leave, ink in every row's label, none left of x 5.
  EXPECT_EQ(0, dib.Count(RGB(1, 2, 3), 0, 0, 200, 200));
  EXPECT_GT(InkRows(dib, kBk, {5, r0.top, 120, r0.bottom}), 0);
  EXPECT_GT(InkRows(dib, kBk, {5, r1.top, 120, r1.bottom}), 2 * h);
  EXPECT_EQ(0, dib.CountNot(kBk, 0, r0.top, 5, r2.bottom));
  EXPECT_EQ(0, dib.CountNot(kBk, 0, r0.top, 200, r0.top + 2));
}

TEST_F(ListPaint, OneLineLabelsShowTheirFirstLineCut)
{
  Report(200, 200, SECLIST_NOLABELWRAP);
  list.AppendColumn(CString("Name"), 0, 80, -1);
  list.AppendColumn(CString("Club"), 0, 60, -1);
  list.InsertItem(0, "first line that is far too wide for the column\nsecond line");
  list.SelectItem(0, FALSE);
  int h = FontHeight();
  EXPECT_EQ(h + 2, list.GetItemAt(0)->m_cy);
  RECT cell = Cell(0);
  EXPECT_GT(list.GetItemAt(0)->m_rcText.right, 80);  // measured whole: the tip needs it
  Dib dib(200, 200);
  list.Paint(&dib.dc);
  // Drawn inside the cell less 5 pixels, on one line.
  EXPECT_GT(dib.CountNot(kBk, 5, cell.top, 75, cell.bottom), 0);
  EXPECT_EQ(0, dib.CountNot(kBk, 75, cell.top, 200, cell.bottom));
  EXPECT_EQ(0, dib.CountNot(kBk, 0, cell.bottom, 200, 200));
}

TEST_F(ListPaint, HeaderBandLinesAndFocusRectangle)
{
  Report(300, 200, 0, SECLIST_EX_ROWLINES | SECLIST_EX_COLUMNLINES | SECLIST_EX_FULLROWSELECT);
  list.AppendColumn(CString("Name"), 0, 100, -1);
  list.AppendColumn(CString("Club"), 2, 80, -1);
  list.InsertItem(0, "one");
  list.InsertItem(1, "two");
  list.SetItemText(0, 1, "iron");
  list.SelectItem(0, FALSE);
  Dib dib(300, 200);
  list.Paint(&dib.dc);
  COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
  // The header is 18 pixels of push-button frames; rows start below it.
  EXPECT_GT(dib.Count(face, 0, 0, 300, 18), 300 * 18 / 2);
  EXPECT_EQ(0, dib.Count(face, 0, 18, 300, 19));
  // Frames: each column's and one more right of the last column (its left edge at 180).
  EXPECT_NE(face, dib.At(99, 9));
  EXPECT_NE(face, dib.At(179, 9));
  EXPECT_NE(face, dib.At(180, 9));
  EXPECT_EQ(face, dib.At(240, 9));
  // Row and column lines in the shadow colour.
  RECT r0 = Cell(0);
  EXPECT_EQ(shadow, dib.At(150, r0.bottom - 1));
  EXPECT_EQ(shadow, dib.At(99, r0.top + 3));
  EXPECT_EQ(shadow, dib.At(179, r0.top + 3));

  // The focused row gets a focus rectangle only while the list has the focus.
  Dib before(300, 200);
  list.SetFocusItem(1, FALSE);
  list.Paint(&before.dc);
  list.SetFocus();
  ASSERT_EQ(list.m_hWnd, ::GetFocus());
  Dib after(300, 200);
  list.Paint(&after.dc);
  RECT r1 = Cell(1);
  RECT label = Cell(1, 0, 2);
  int changed = 0;
  for (int x = label.left - 3; x < 300; x++)
    changed += before.At(x, r1.top) != after.At(x, r1.top);
  EXPECT_GT(changed, 50);
  EXPECT_EQ(before.At(label.left - 6, r1.top), after.At(label.left - 6, r1.top));
}

TEST_F(ListPaint, ViewsTwoAndThreeMeasureNothing)
{
  for (DWORD view : {2u, 3u}) {
    TestList other;
    MakeList(other, parent, view, 0, 100, 100);
    other.InsertItem(0, "a label");
    EXPECT_EQ(0, other.GetItemAt(0)->m_cy) << view;
    other.DestroyWindow();
  }
}

TEST_F(ListPaint, ScrollRangesPagesLinesAndLimits)
{
  Report(200, 18 + 100);
  list.AppendColumn(CString("Name"), 0, 250, -1);
  list.AppendColumn(CString("Club"), 0, 250, -1);
  for (int i = 0; i < 30; i++)
    list.InsertItem(i, "row");
  list.RecalcScrollBars();
  DWORD bars = list.GetScrollBarWord();
  ASSERT_TRUE(bars & WS_HSCROLL);
  ASSERT_TRUE(bars & WS_VSCROLL);
  RECT area;
  list.GetListRect(&area);
  int cxList = area.right - area.left;
  SCROLLINFO si = {sizeof si, SIF_ALL};
  ASSERT_TRUE(list.GetScrollBarCtrl(SB_HORZ)->GetScrollInfo(&si));
  EXPECT_EQ(0, si.nMin);
  EXPECT_EQ(500, si.nMax);
  EXPECT_EQ((UINT)cxList, si.nPage);

  list.SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
  EXPECT_EQ(15, list.GetScrollOffsetX());
  list.SendMessage(WM_HSCROLL, SB_LINELEFT, 0);
  EXPECT_EQ(0, list.GetScrollOffsetX());
  list.SendMessage(WM_HSCROLL, SB_RIGHT, 0);
  EXPECT_EQ(500 - cxList, list.GetScrollOffsetX());
  list.SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
  EXPECT_EQ(500 - cxList, list.GetScrollOffsetX());
  EXPECT_EQ(-(500 - cxList), list.GetColumnLeft(0));

  int perPage = list.GetCountPerPage();
  int rowHeight = list.GetItemAt(0)->m_cy;
  EXPECT_EQ((area.bottom - area.top) / rowHeight, perPage);
  SCROLLINFO sv = {sizeof sv, SIF_ALL};
  ASSERT_TRUE(list.GetScrollBarCtrl(SB_VERT)->GetScrollInfo(&sv));
  EXPECT_EQ(29, sv.nMax);
  EXPECT_EQ((UINT)perPage, sv.nPage);
  list.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(1, list.GetTopIndex());
  list.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(1 + perPage, list.GetTopIndex());
  list.SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(30 - perPage, list.GetTopIndex());
  EXPECT_EQ(29, list.GetLastFullyVisible());
  list.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(30 - perPage, list.GetTopIndex());

  // Deleting rows pulls the top back so that no empty page shows, and hides the bar.
  ASSERT_TRUE(list.DeleteItems(3, 27));
  EXPECT_EQ(0, list.GetTopIndex());
  EXPECT_FALSE(list.GetScrollBarWord() & WS_VSCROLL);

  // Ranges that name no item are refused.
  EXPECT_FALSE(list.EnsureRangeVisible(0, 3));
  EXPECT_FALSE(list.EnsureRangeVisible(2, 1));
  EXPECT_TRUE(list.EnsureRangeVisible(0, 2));
}

TEST_F(ListPaint, WheelNotchesAndEnsureVisible)
{
  Report(200, 18 + 100);
  list.AppendColumn(CString("Name"), 0, 150, -1);
  for (int i = 0; i < 30; i++)
    list.InsertItem(i, "row");
  list.RecalcScrollBars();
  list.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)-60), 0);
  EXPECT_EQ(0, list.GetTopIndex());
  list.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)-60), 0);
  EXPECT_EQ(1, list.GetTopIndex());
  list.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)240), 0);
  EXPECT_EQ(0, list.GetTopIndex());

  EXPECT_TRUE(list.EnsureVisible(20));
  EXPECT_EQ(20, list.GetLastFullyVisible());
  EXPECT_TRUE(list.EnsureVisible(2));
  EXPECT_EQ(2, list.GetTopIndex());
  EXPECT_FALSE(list.EnsureVisible(30));
}

TEST_F(ListPaint, IconViewStacksCellsAndLinesBelowTheTallest)
{
  MakeList(list, parent, LVS_ICON, 0, 200, 200);
  ASSERT_EQ(1, list.GetColumnCount());
  list.SetColumnWidth(0, 60);
  list.InsertItem(0, "one");
  list.InsertItem(1, "a label that wraps in the cell");
  list.InsertItem(2, "two");
  list.InsertItem(3, "next line");
  RECT c0 = Cell(0), c1 = Cell(1), c2 = Cell(2), c3 = Cell(3);
  EXPECT_EQ(c0.top, c1.top);
  EXPECT_EQ(c0.right, c1.left);
  EXPECT_EQ(c1.right, c2.left);
  // A fourth cell of 60 would pass 200: a new line below the tallest cell.
  EXPECT_EQ(0, c3.left);
  EXPECT_EQ(c1.bottom, c3.top);
  EXPECT_GT(c1.bottom, c0.bottom);
}

TEST(OffscreenDC, ReproducesTheDrawingAndRefusesANullTarget)
{
  auto draw = [](CDC* pDC) {
    pDC->FillSolidRect(0, 0, 64, 48, RGB(10, 20, 30));
    pDC->FillSolidRect(5, 7, 20, 9, RGB(200, 100, 50));
    pDC->MoveTo(0, 47);
    pDC->LineTo(63, 0);
  };
  Dib direct(64, 48), buffered(64, 48), shifted(64, 48);
  draw(&direct.dc);
  {
    SECOffscreenDC off(&buffered.dc, CRect(0, 0, 64, 48));
    draw(&off);
    EXPECT_EQ(0, buffered.CountNot(0, 0, 0, 64, 48));  // nothing until the copy
  }
  EXPECT_EQ(0, memcmp(direct.bits, buffered.bits, 64 * 48 * 4));
  // A rectangle away from the origin keeps the logical coordinates.
  shifted.Fill(RGB(1, 1, 1));
  {
    SECOffscreenDC off(&shifted.dc, CRect(16, 8, 48, 40));
    draw(&off);
  }
  for (int y = 0; y < 48; y++)
    for (int x = 0; x < 64; x++) {
      bool inside = x >= 16 && x < 48 && y >= 8 && y < 40;
      ASSERT_EQ(inside ? direct.At(x, y) : RGB(1, 1, 1), shifted.At(x, y)) << x << "," << y;
    }

  bool thrown = false;
  try {
    SECOffscreenDC off(NULL, CRect(0, 0, 10, 10));
  } catch (CResourceException* e) {
    e->Delete();
    thrown = true;
  }
  EXPECT_TRUE(thrown);
}

}  // namespace
