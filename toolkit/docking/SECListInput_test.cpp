// The list control's input, as messages to its window: hit testing, clicks and keys that
// move focus and selection, drags, label editing, divider drags, and the clipped-label tip.
#include "SECList_test_util.h"

#include <algorithm>

namespace {

const bool g_onOwnDesktop = RunOnOwnDesktop("QuorvelListInputTests");

LPARAM Pt(int x, int y) { return MAKELPARAM(x, y); }

void SetKeys(bool shift, bool ctrl)
{
  BYTE keys[256];
  ::GetKeyboardState(keys);
  keys[VK_SHIFT] = shift ? 0x80 : 0;
  keys[VK_CONTROL] = ctrl ? 0x80 : 0;
  ::SetKeyboardState(keys);
}

class ListInput : public testing::Test {
 protected:
  RecordingParent parent{400, 300};
  TestList list;

  void Report(DWORD style = 0, DWORD exStyle = 0, int cy = 200)
  {
    MakeList(list, parent, LVS_REPORT | style, exStyle, 300, cy);
    list.AppendColumn(CString("Name"), 0, 100, -1);
    list.AppendColumn(CString("Club"), 0, 80, -1);
  }
  void Fill(int n)
  {
    for (int i = 0; i < n; i++) {
      char text[16];
      sprintf(text, "item %d", i);
      list.InsertItem(i, text);
      list.SetItemText(i, 1, "iron");
      list.SetItemData(i, 1000 + i);
    }
    list.RecalcScrollBars();  // inserting does not, with auto-update off
  }
  RECT Label(int item)
  {
    RECT rc = {};
    EXPECT_TRUE(list.GetCellRect(item, 0, &rc, 2));
    return rc;
  }
  POINT OnLabel(int item)
  {
    RECT rc = Label(item);
    return {rc.left + 3, (rc.top + rc.bottom) / 2};
  }
  void Click(POINT p, UINT keys = 0)
  {
    list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | keys, Pt(p.x, p.y));
    list.SendMessage(WM_LBUTTONUP, keys, Pt(p.x, p.y));
  }
  std::vector<int> Selection() const
  {
    std::vector<int> v;
    for (INT_PTR i = 0; i < list.GetSelection().GetSize(); i++)
      v.push_back((int)list.GetSelection()[i]);
    return v;
  }
  bool Editing() const { return list.GetEditControl()->m_hWnd != NULL; }
  std::string Text(int item, int sub = 0)
  {
    char buf[128];
    list.GetItemText(item, sub, buf, sizeof buf);
    return buf;
  }
  void Key(HWND to, UINT vk)
  {
    ::SendMessageA(to, WM_KEYDOWN, vk, 1);
  }
  // Posted messages for the parent, drained from the queue.
  std::vector<MSG> Posted()
  {
    std::vector<MSG> v;
    MSG msg;
    while (::PeekMessageA(&msg, parent.m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE) ||
           ::PeekMessageA(&msg, parent.m_hWnd, WM_NEXTDLGCTL, WM_NEXTDLGCTL, PM_REMOVE))
      v.push_back(msg);
    return v;
  }
};

TEST_F(ListInput, HitTestFlags)
{
  Report();
  Fill(3);
  CImageList images;
  ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32, 1, 1));
  images.Add(::LoadIconA(NULL, (LPCSTR)IDI_APPLICATION));
  list.SetImageList(&images, LVSIL_SMALL);
  list.RecalcLayout();
  SECListItem* item = list.GetItemAt(1);
  RECT cell;
  ASSERT_TRUE(list.GetCellRect(1, 0, &cell, 0));
  RECT label = Label(1);
  int yRow = (cell.top + cell.bottom) / 2;
  struct Case {
    int x, y;
    UINT flags;
    int item, col;
  } cases[] = {
      {-5, -5, SECLIST_HT_ABOVE | SECLIST_HT_TOLEFT, -1, -1},
      {320, 50, SECLIST_HT_TORIGHT, -1, -1},
      {50, 250, SECLIST_HT_BELOW, -1, -1},
      {104, 5, SECLIST_HT_ONDIVIDER, -1, 0},
      {96, 5, SECLIST_HT_ONDIVIDER, -1, 0},
      {95, 5, SECLIST_HT_ONHEADER, -1, 0},
      {150, 5, SECLIST_HT_ONHEADER, -1, 1},
      {label.left + 2, yRow, SECLIST_HT_ONROW | SECLIST_HT_ONLABEL, 1, 0},
      {cell.left + item->m_rcIcon.left + 4, cell.top + item->m_rcIcon.top + 4,
       SECLIST_HT_ONROW | SECLIST_HT_ONICON, 1, 0},
      {cell.left + 1, cell.top + 1, SECLIST_HT_ONROW | SECLIST_HT_LEFTOFLABEL, 1, 0},
      {label.right + 2, yRow, SECLIST_HT_ONROW | SECLIST_HT_RIGHTOFLABEL, 1, 0},
      {150, yRow, SECLIST_HT_ONROW, 1, 1},
      {50, 180, SECLIST_HT_NOWHERE, -1, 0},
  };
  for (const Case& c : cases) {
    UINT flags = 0;
    int col = -2;
    EXPECT_EQ(c.item, list.HitTest(c.x, c.y, &flags, &col)) << c.x << "," << c.y;
    EXPECT_EQ(c.flags, flags) << c.x << "," << c.y;
    EXPECT_EQ(c.col, col) << c.x << "," << c.y;
  }
}

TEST_F(ListInput, ClicksSelectWithShiftAndControlAndAVeto)
{
  Report();
  Fill(6);
  Click(OnLabel(1));
  EXPECT_EQ((std::vector<int>{1}), Selection());
  EXPECT_EQ(1, list.GetFocusItem());
  const NotifyRecord* click = parent.Last(NM_CLICK);
  ASSERT_NE(nullptr, click);
  EXPECT_EQ(list.m_hWnd, click->hwndFrom);
  EXPECT_EQ((UINT_PTR)101, click->idFrom);

  Click(OnLabel(3), MK_SHIFT);
  EXPECT_EQ((std::vector<int>{1, 2, 3}), Selection());
  EXPECT_EQ(1, list.GetAnchorItem());
  Click(OnLabel(2), MK_CONTROL);
  EXPECT_EQ((std::vector<int>{1, 3}), Selection());
  EXPECT_EQ(2, list.GetFocusItem());
  Click(OnLabel(5), MK_CONTROL);
  EXPECT_EQ((std::vector<int>{1, 3, 5}), Selection());

  // A veto keeps everything, and Shift and Control clicks do nothing until a plain one asks.
  list.vetoItem = 4;
  list.changed.clear();
  Click(OnLabel(4));
  EXPECT_EQ((std::vector<int>{1, 3, 5}), Selection());
  EXPECT_EQ(5, list.GetFocusItem());
  EXPECT_TRUE(list.changed.empty());
  Click(OnLabel(0), MK_CONTROL);
  EXPECT_EQ((std::vector<int>{1, 3, 5}), Selection());
  Click(OnLabel(0));
  EXPECT_EQ((std::vector<int>{0}), Selection());
  EXPECT_EQ((std::vector<int>{0}), list.changed);

  // A press beside the label of a row (no full-row selection) selects nothing.
  RECT cell;
  list.GetCellRect(2, 0, &cell, 0);
  Click({Label(2).right + 5, cell.top + 2});
  EXPECT_EQ((std::vector<int>{0}), Selection());
  // With full-row selection a press anywhere on the row does.
  list.ModifyListStyleEx(0, SECLIST_EX_FULLROWSELECT, FALSE);
  Click({150, cell.top + 2});
  EXPECT_EQ((std::vector<int>{2}), Selection());
}

TEST_F(ListInput, DragStartsAtFourPixels)
{
  Report();
  Fill(3);
  POINT p = OnLabel(1);
  list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(p.x, p.y));
  list.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, Pt(p.x + 3, p.y));
  list.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, Pt(p.x, p.y - 3));
  EXPECT_FALSE(list.IsDragging());
  list.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, Pt(p.x + 4, p.y));
  EXPECT_TRUE(list.IsDragging());
  EXPECT_EQ(1, list.beginDrags);
  // While dragging, painting goes straight to the target.
  Dib dib(10, 10);
  RECT rc = {0, 0, 10, 10};
  EXPECT_EQ(&dib.dc, list.CreateMemoryDC(&dib.dc, &rc));
  list.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, Pt(p.x + 40, p.y));
  EXPECT_EQ(1, list.beginDrags);
  size_t clicks = parent.Count(NM_CLICK);
  list.SendMessage(WM_LBUTTONUP, 0, Pt(p.x + 40, p.y));
  EXPECT_FALSE(list.IsDragging());
  EXPECT_EQ(clicks, (size_t)parent.Count(NM_CLICK));  // ending a drag is no click
  CDC* pMem = list.CreateMemoryDC(&dib.dc, &rc);
  EXPECT_NE(&dib.dc, pMem);
  delete pMem;

  list.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, Pt(p.x, p.y));
  list.SendMessage(WM_MOUSEMOVE, MK_RBUTTON, Pt(p.x, p.y + 4));
  EXPECT_EQ(1, list.beginRightDrags);
  list.SendMessage(WM_RBUTTONUP, 0, Pt(p.x, p.y + 4));
  EXPECT_EQ(0, parent.Count(NM_RCLICK));
}

TEST_F(ListInput, SecondClickEditsAfterTheTimerButADoubleClickNever)
{
  Report(SECLIST_EDITLABELS);
  Fill(3);
  POINT p = OnLabel(1);
  Click(p);  // selects
  list.SendMessage(WM_TIMER, 1, 0);
  EXPECT_FALSE(Editing());
  Click(p);  // second click: editing after the timer
  EXPECT_FALSE(Editing());
  list.SendMessage(WM_TIMER, 1, 0);
  ASSERT_TRUE(Editing());
  EXPECT_EQ(1, list.GetEditItem());
  const NotifyRecord* begin = parent.Last(LVN_BEGINLABELEDITA);
  ASSERT_NE(nullptr, begin);
  EXPECT_EQ(1, begin->iItem);
  EXPECT_EQ(0, begin->iSubItem);
  EXPECT_EQ((UINT)LVIF_TEXT, begin->mask);
  EXPECT_EQ(1001, begin->lParam);
  EXPECT_EQ(2047u, (UINT)list.GetEditControl()->GetLimitText());
  list.EndLabelEdit(TRUE);

  // A double click clears the pending edit.
  Click(p);
  list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(p.x, p.y));
  list.SendMessage(WM_LBUTTONUP, 0, Pt(p.x, p.y));
  list.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, Pt(p.x, p.y));
  list.SendMessage(WM_LBUTTONUP, 0, Pt(p.x, p.y));
  list.SendMessage(WM_TIMER, 1, 0);
  EXPECT_FALSE(Editing());
  EXPECT_EQ(1, parent.Count(NM_DBLCLK));

  // The edit starts only if the item is still focused when the timer fires.
  Click(p);
  Key(list.m_hWnd, VK_DOWN);
  list.SendMessage(WM_TIMER, 1, 0);
  EXPECT_FALSE(Editing());
}

TEST_F(ListInput, EditingCommitsCancelsAndHonoursAVeto)
{
  Report(SECLIST_EDITLABELS);
  Fill(3);
  parent.beginEditAnswer = 1;
  EXPECT_EQ(nullptr, list.EditLabel(0, 0));
  EXPECT_FALSE(Editing());
  EXPECT_EQ(-1, list.GetEditItem());
  parent.beginEditAnswer = 2;  // any other answer edits
  ASSERT_NE(nullptr, list.EditLabel(0, 0));
  HWND edit = list.GetEditControl()->m_hWnd;
  EXPECT_EQ(edit, ::GetFocus());
  // Typing writes through at once; Escape puts the old text back.
  ::SendMessageA(edit, WM_CHAR, 'Z', 1);
  EXPECT_EQ("Z", Text(0));
  Key(edit, VK_ESCAPE);
  EXPECT_FALSE(Editing());
  EXPECT_EQ("item 0", Text(0));
  const NotifyRecord* end = parent.Last(LVN_ENDLABELEDITA);
  ASSERT_NE(nullptr, end);
  EXPECT_TRUE(end->textNull);

  // Labels wrap: Enter breaks the line; losing the focus commits.
  list.EditLabel(1, 0);
  edit = list.GetEditControl()->m_hWnd;
  ::SendMessageA(edit, WM_SETTEXT, 0, (LPARAM) "two");
  ::SendMessageA(edit, EM_SETSEL, 3, 3);
  Key(edit, VK_RETURN);
  ::SendMessageA(edit, WM_CHAR, '\r', 1);
  ::SendMessageA(edit, WM_CHAR, 'L', 1);
  ASSERT_TRUE(Editing());
  parent.endEditReplace = "changed by parent";
  parent.SetFocus();
  EXPECT_FALSE(Editing());
  end = parent.Last(LVN_ENDLABELEDITA);
  EXPECT_EQ("two\r\nL", end->text);
  EXPECT_EQ("changed by parent", Text(1));
  parent.endEditReplace.clear();

  // One-line labels: Enter commits. A parent answering 0 keeps the old text.
  list.ModifyListStyle(0, SECLIST_NOLABELWRAP, FALSE);
  list.EditLabel(2, 0);
  edit = list.GetEditControl()->m_hWnd;
  ::SendMessageA(edit, WM_CHAR, 'Q', 1);
  parent.endEditAnswer = 0;
  Key(edit, VK_RETURN);
  EXPECT_FALSE(Editing());
  EXPECT_EQ("Q", parent.Last(LVN_ENDLABELEDITA)->text);
  EXPECT_EQ("item 2", Text(2));
  parent.endEditAnswer = 1;

  // Inserting a row during an edit ends it on the item that was edited.
  list.EditLabel(1, 0);
  edit = list.GetEditControl()->m_hWnd;
  ::SendMessageA(edit, WM_CHAR, 'W', 1);
  list.InsertItem(0, "inserted");
  EXPECT_FALSE(Editing());
  EXPECT_EQ("W", Text(2));
  EXPECT_EQ("inserted", Text(0));
  EXPECT_EQ("item 0", Text(1));
}

TEST_F(ListInput, DividerDrags)
{
  Report();
  Fill(2);
  // Dragged far left: stops 10 pixels right of the column's left edge.
  list.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, Pt(50, 5));
  list.PostMessage(WM_LBUTTONUP, 0, Pt(2, 5));
  list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(102, 5));
  EXPECT_EQ(10, list.GetColumnWidth(0));
  EXPECT_EQ(NULL, ::GetCapture());
  // Widened by the distance moved.
  list.PostMessage(WM_LBUTTONUP, 0, Pt(70, 5));
  list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(8, 5));
  EXPECT_EQ(70, list.GetColumnWidth(0));
  // Escape and the right button restore.
  list.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, Pt(120, 5));
  list.PostMessage(WM_KEYDOWN, VK_ESCAPE, 1);
  list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(70, 5));
  EXPECT_EQ(70, list.GetColumnWidth(0));
  list.PostMessage(WM_RBUTTONDOWN, MK_RBUTTON, Pt(120, 5));
  list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(70, 5));
  EXPECT_EQ(70, list.GetColumnWidth(0));
  // The last column's divider does not move.
  list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(150, 5));
  EXPECT_EQ(80, list.GetColumnWidth(1));
  // A quit met inside the drag ends it and stays in the queue.
  ::PostQuitMessage(3);
  list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(70, 5));
  EXPECT_EQ(70, list.GetColumnWidth(0));
  MSG msg;
  ASSERT_TRUE(::PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(3, (int)msg.wParam);
  // A divider press selects nothing.
  EXPECT_EQ((std::vector<int>{0}), Selection());
  // Over a divider the list shows its own cursor.
  HCURSOR divider = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_SECLIST_DIVIDER));
  ASSERT_NE((HCURSOR)NULL, divider);
  POINT on = {70, 5};
  list.CWnd::ClientToScreen(&on);
  ::SetCursorPos(on.x, on.y);
  EXPECT_TRUE(list.SendMessage(WM_SETCURSOR, (WPARAM)list.m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
  EXPECT_EQ(divider, ::GetCursor());
}

TEST_F(ListInput, KeyTable)
{
  Report(SECLIST_EDITLABELS, 0, 18 + 60);
  Fill(12);
  list.SetFocus();
  HWND h = list.m_hWnd;
  ASSERT_TRUE(list.GetScrollBarWord() & WS_VSCROLL);
  SetKeys(false, false);
  Key(h, VK_DOWN);
  EXPECT_EQ(1, list.GetFocusItem());
  EXPECT_EQ((std::vector<int>{1}), Selection());
  EXPECT_EQ(VK_DOWN, parent.Last(LVN_KEYDOWN)->vkey);
  SetKeys(true, false);
  Key(h, VK_DOWN);
  Key(h, VK_DOWN);
  EXPECT_EQ((std::vector<int>{1, 2, 3}), Selection());
  SetKeys(false, true);
  Key(h, VK_UP);  // Control moves only the focus
  EXPECT_EQ(2, list.GetFocusItem());
  EXPECT_EQ((std::vector<int>{1, 2, 3}), Selection());
  SetKeys(false, false);
  Key(h, VK_SPACE);
  EXPECT_EQ((std::vector<int>{1, 3}), Selection());
  EXPECT_EQ(2, list.GetFocusItem());
  Key(h, VK_END);
  EXPECT_EQ(11, list.GetFocusItem());
  EXPECT_EQ(11, list.GetLastFullyVisible());
  Key(h, VK_HOME);
  EXPECT_EQ(0, list.GetFocusItem());
  EXPECT_EQ(0, list.GetTopIndex());
  int last = list.GetLastFullyVisible();
  Key(h, VK_NEXT);  // to the last fully visible row first
  EXPECT_EQ(last, list.GetFocusItem());
  EXPECT_EQ(0, list.GetTopIndex());
  Key(h, VK_NEXT);  // then a page on
  EXPECT_GT(list.GetTopIndex(), 0);
  EXPECT_EQ(list.GetLastFullyVisible(), list.GetFocusItem());
  Key(h, VK_PRIOR);
  EXPECT_EQ(list.GetTopIndex(), list.GetFocusItem());

  Key(h, VK_RETURN);
  EXPECT_EQ(1, parent.Count(NM_RETURN));
  Key(h, VK_TAB);
  Key(h, VK_ESCAPE);
  std::vector<MSG> posted = Posted();
  ASSERT_EQ(2u, posted.size());
  std::sort(posted.begin(), posted.end(),
            [](const MSG& a, const MSG& b) { return a.message > b.message; });
  EXPECT_EQ((UINT)WM_COMMAND, posted[0].message);  // Escape
  EXPECT_EQ((WPARAM)IDCANCEL, posted[0].wParam);
  EXPECT_EQ((UINT)WM_NEXTDLGCTL, posted[1].message);  // Tab, without Shift
  EXPECT_EQ((WPARAM)0, posted[1].wParam);
  Key(h, VK_F2);
  EXPECT_TRUE(Editing());
  EXPECT_EQ(list.GetFocusItem(), list.GetEditItem());
  list.EndLabelEdit(FALSE);
  EXPECT_EQ((LRESULT)0x87, list.SendMessage(WM_GETDLGCODE));
}

TEST_F(ListInput, HomeAndEndWithoutAVerticalBar)
{
  Report();
  Fill(4);
  list.SetFocus();
  ASSERT_FALSE(list.GetScrollBarWord() & WS_VSCROLL);
  Key(list.m_hWnd, VK_END);
  EXPECT_EQ(3, list.GetFocusItem());
  Key(list.m_hWnd, VK_HOME);
  EXPECT_EQ(0, list.GetFocusItem());
  Key(list.m_hWnd, VK_NEXT);
  EXPECT_EQ(3, list.GetFocusItem());
  Key(list.m_hWnd, VK_PRIOR);
  EXPECT_EQ(0, list.GetFocusItem());
  EXPECT_EQ((std::vector<int>{0}), Selection());
}

class ListTip : public ListInput {
 protected:
  void SetUp() override
  {
    MakeList(list, parent, LVS_REPORT | SECLIST_NOLABELWRAP, SECLIST_EX_CLIPPEDTIPS, 300, 200);
    list.AppendColumn(CString("Name"), 0, 80, -1);
    list.AppendColumn(CString("Club"), 0, 80, -1);
    list.InsertItem(0, "short");
    list.InsertItem(1, "a label far too long for its column");
    list.InsertItem(2, "fits");
    list.SelectItem(0, FALSE);
    parent.SetForegroundWindow();
    parent.SetActiveWindow();
  }
  void Move(POINT p) { list.SendMessage(WM_MOUSEMOVE, 0, Pt(p.x, p.y)); }
  SECListTip* Tip() { return list.GetTip(); }
  bool TipShown() { return Tip()->m_hWnd != NULL && Tip()->IsWindowVisible(); }
};

TEST_F(ListTip, ShowsOnlyForCutLabels)
{
  ASSERT_NE((HWND)NULL, ::GetActiveWindow());
  Move(OnLabel(0));
  EXPECT_FALSE(TipShown());
  Move(OnLabel(1));
  ASSERT_TRUE(TipShown());
  EXPECT_EQ(1, Tip()->GetShownItem());
  EXPECT_EQ("a label far too long for its column", std::string(Tip()->GetShownText()));
  EXPECT_EQ(list.m_hWnd, ::GetCapture());
  HWND tipWnd = Tip()->m_hWnd;
  RECT tip;
  Tip()->GetWindowRect(&tip);
  RECT label = Label(1);
  list.CWnd::ClientToScreen(&label);
  EXPECT_EQ(label.left - 3, tip.left);
  EXPECT_GT(tip.right - tip.left, 80);
  // Moving along the label keeps the one tip.
  POINT p = OnLabel(1);
  Move({p.x + 20, p.y});
  EXPECT_TRUE(TipShown());
  EXPECT_EQ(tipWnd, Tip()->m_hWnd);

  // Unselected: the tip colours; selected: the selection colours.
  list.SetTipBkColor(RGB(255, 255, 200));
  list.SetSelTextBkColor(RGB(0, 0, 128));
  RECT client;
  Tip()->GetClientRect(&client);
  Dib plain(client.right, client.bottom), selected(client.right, client.bottom);
  Tip()->PaintTip(&plain.dc);
  EXPECT_EQ(RGB(255, 255, 200), plain.At(1, 1));
  list.SelectItem(1);
  Tip()->PaintTip(&selected.dc);
  EXPECT_EQ(RGB(0, 0, 128), selected.At(1, 1));

  // Onto a fitting label: the tip goes, the cell under it is repainted, the capture freed.
  int paints = list.paints;
  Move(OnLabel(2));
  EXPECT_FALSE(TipShown());
  EXPECT_EQ(-1, Tip()->GetShownItem());
  EXPECT_GT(list.paints, paints);
  EXPECT_EQ(NULL, ::GetCapture());
}

TEST_F(ListTip, StaysOnTheScreen)
{
  int cxScreen = ::GetSystemMetrics(SM_CXSCREEN);
  parent.SetWindowPos(NULL, cxScreen - 120, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  Move(OnLabel(1));
  ASSERT_TRUE(TipShown());
  RECT tip;
  Tip()->GetWindowRect(&tip);
  EXPECT_LE(tip.right, cxScreen + 2);
  EXPECT_GE(tip.left, 0);
  Tip()->HideTip();
}

}  // namespace
