// The shortcut list, headless: geometry and hit tests, hot and pressed items, clicks, the
// wheel and the arrow buttons, the drop marker, refused drops, and item moves within a list
// and between two lists through a scripted drag.
#include "gtest_wine.h"
#include "shortcutlist.h"

#include <afxole.h>

#include <stdlib.h>
#include <string>
#include <utility>
#include <vector>

namespace {

// A top-level window that holds a list and records what it is told.
struct Host : CWnd {
  std::vector<std::pair<int, int>> notes;  // code, item
  explicit Host(int x = 0)
  {
    CreateEx(WS_EX_TOPMOST | WS_EX_NOACTIVATE, AfxRegisterWndClass(CS_DBLCLKS), "Lists",
             WS_POPUP | WS_VISIBLE, x, 300, 200, 300, NULL, NULL);
  }
  ~Host()
  {
    if (m_hWnd != NULL)
      DestroyWindow();
  }
  int Count(int code) const
  {
    int n = 0;
    for (auto& r : notes)
      n += r.first == code;
    return n;
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
  {
    if (message == WM_NOTIFY) {
      SECShortcutListNotify* nm = (SECShortcutListNotify*)lParam;
      notes.push_back({(int)nm->hdr.code, nm->hdr.code == SCLN_ITEMCLICKED ? nm->iItem : -1});
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

class ShortcutList : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { AfxOleInit(); }
  void SetUp() override
  {
    ASSERT_TRUE(images.Create(32, 32, ILC_COLOR32, 4, 1));
    CBitmap bmp;
    CClientDC dc(NULL);
    bmp.CreateCompatibleBitmap(&dc, 32, 32);
    for (int i = 0; i < 3; i++)
      images.Add(&bmp, (CBitmap*)NULL);
    MakeList(list, host, {"Anna", "Ben", "Carla", "Dario"});
  }
  void MakeList(SECShortcutListCtrl& l, Host& h, std::vector<const char*> names)
  {
    ASSERT_TRUE(l.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 300), &h, 60160));
    l.SetImageList(&images, LVSIL_NORMAL);
    for (size_t i = 0; i < names.size(); i++)
      l.InsertItem((int)i, names[i], (int)i % 3);
    l.RecalcLayout();
  }
  std::vector<CString> Names(SECShortcutListCtrl& l)
  {
    std::vector<CString> v;
    for (int i = 0; i < l.GetItemCount(); i++)
      v.push_back(l.GetItemText(i, 0));
    return v;
  }
  CPoint Centre(const RECT& r) { return CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2); }
  void Send(SECShortcutListCtrl& l, UINT msg, WPARAM wParam, CPoint pt)
  {
    l.SendMessage(msg, wParam, MAKELPARAM(pt.x, pt.y));
  }

  CImageList images;
  Host host;
  SECShortcutListCtrl list;
};

// A picture for people: run under a display with QUORVEL_SCREENSHOT_DIR (a Unix folder); the
// screen is taken with xwd. Item 1 hot under the mouse, the drop marker between items 2 and 3.
TEST_F(ShortcutList, Screenshot)
{
  const char* dir = getenv("QUORVEL_SCREENSHOT_DIR");
  if (dir == nullptr)
    GTEST_SKIP() << "no screenshot folder";
  RECT icon1, row2;
  ASSERT_TRUE(list.GetItemBoxes(1, NULL, &icon1, NULL));
  ASSERT_TRUE(list.GetItemBoxes(2, &row2, NULL, NULL));
  CPoint hot = Centre(icon1);
  CPoint screen = hot;
  ::ClientToScreen(list.m_hWnd, &screen);
  ::SetCursorPos(screen.x, screen.y);  // the tracking timer keeps the item lit while it is there
  Send(list, WM_MOUSEMOVE, 0, hot);
  host.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  DWORD end = ::GetTickCount() + 800;
  while (::GetTickCount() < end) {
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
      ::DispatchMessageA(&msg);
    ::Sleep(20);
  }
  EXPECT_EQ(list.GetHotItem(), 1);
  RECT marker;
  int code = 0, above = 0;
  ASSERT_TRUE(list.FindDropGap(CPoint(50, row2.bottom + 6), &marker, &code, &above));
  {
    CClientDC dc(&list);
    list.DrawDropMarker(&dc, marker, code);
  }
  // The window surface reaches the display on the next pass of the message loop.
  for (int i = 0; i < 15; i++) {
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
      ::DispatchMessageA(&msg);
    ::Sleep(20);
  }
  std::string command = std::string("xwd -root -silent -out '") + dir + "/shortcut_list.xwd'";
  EXPECT_EQ(0, system(command.c_str()));
}

TEST_F(ShortcutList, CreationSetsStylesColoursAndTheProcessIdentifier)
{
  EXPECT_EQ(list.GetListStyle() & 0x2040, 0x2040u);
  EXPECT_TRUE(list.HasListStyleEx(SECLIST_EX_FILLLABELCOLUMN));
  EXPECT_EQ(list.GetBkColor(), ::GetSysColor(COLOR_INACTIVECAPTION));
  EXPECT_EQ(list.GetTextColor(), RGB(255, 255, 255));
  EXPECT_NE(SECShortcutListCtrl::GetClipboardFormat(), 0);
  EXPECT_NE(SECShortcutListCtrl::GetProcessId(), nullptr);
  EXPECT_EQ(list.GetHotItem(), -1);
}

TEST_F(ShortcutList, GeometryAndHitTests)
{
  CRect client;
  list.GetClientRect(&client);
  int w = GetSystemMetrics(SM_CXVSCROLL), h = GetSystemMetrics(SM_CYVSCROLL);
  EXPECT_EQ(list.GetScrollUpButton()->GetRect(),
            CRect(client.right - w - 5, 5, client.right - 5, 5 + h));
  EXPECT_EQ(list.GetScrollDownButton()->GetRect(),
            CRect(client.right - w - 5, client.bottom - h - 5, client.right - 5, client.bottom - 5));

  RECT row0, icon0, label0, row1;
  ASSERT_TRUE(list.GetItemBoxes(0, &row0, &icon0, &label0));
  ASSERT_TRUE(list.GetItemBoxes(1, &row1, NULL, NULL));
  EXPECT_EQ(row0.top, 12);                 // a 12-pixel gap above every row
  EXPECT_EQ(row1.top, row0.bottom + 12);
  EXPECT_EQ(icon0.left, (row0.left + row0.right) / 2 - 16);
  EXPECT_EQ(icon0.right - icon0.left, 32);
  EXPECT_GT(label0.top, icon0.top);

  struct Case {
    CPoint pt;
    int item;
    UINT flags;
  } cases[] = {
      {Centre(list.GetScrollUpButton()->GetRect()), SCL_HT_SCROLLUP, 0},
      {Centre(list.GetScrollDownButton()->GetRect()), SCL_HT_SCROLLDOWN, 0},
      {Centre(icon0), 0, SECLIST_HT_ONICON},
      {Centre(label0), 0, SECLIST_HT_ONLABEL},
      {CPoint(row0.left + 1, label0.top + 1), 0, SECLIST_HT_LEFTOFLABEL},
      {CPoint(label0.right + 2, label0.top + 1), 0, SECLIST_HT_RIGHTOFLABEL},
      {CPoint(50, row1.top - 6), -1, SECLIST_HT_NOWHERE},  // the gap between two rows
      {CPoint(250, 50), -1, SECLIST_HT_TORIGHT},
      {CPoint(-3, 50), -1, SECLIST_HT_TOLEFT},
      {CPoint(50, 400), -1, SECLIST_HT_BELOW},
  };
  for (auto& c : cases) {
    UINT flags = 0xFFFF;
    EXPECT_EQ(list.HitTest(c.pt.x, c.pt.y, &flags, NULL), c.item) << c.pt.x << "," << c.pt.y;
    EXPECT_EQ(flags, c.flags) << c.pt.x << "," << c.pt.y;
  }
}

TEST_F(ShortcutList, HotPressedAndClicks)
{
  RECT row, icon, label;
  ASSERT_TRUE(list.GetItemBoxes(1, &row, &icon, &label));
  // Lit under the mouse, with the tracking timer running.
  Send(list, WM_MOUSEMOVE, 0, Centre(icon));
  EXPECT_EQ(list.GetItemHotState(1), (UINT)SCLIS_HOT);
  EXPECT_EQ(list.GetHotItem(), 1);
  EXPECT_NE(list.GetHotTimer(), 0u);
  // Empty space clears it.
  Send(list, WM_MOUSEMOVE, 0, CPoint(50, row.top - 6));
  EXPECT_EQ(list.GetItemHotState(1), 0u);
  EXPECT_EQ(list.GetHotItem(), -1);

  // Pressed and released on the label: sunk, then lit; a click and an item click.
  Send(list, WM_LBUTTONDOWN, MK_LBUTTON, Centre(label));
  EXPECT_EQ(list.GetItemHotState(1), (UINT)SCLIS_PRESSED);
  Send(list, WM_LBUTTONUP, 0, Centre(label));
  EXPECT_EQ(list.GetItemHotState(1), (UINT)SCLIS_HOT);
  EXPECT_EQ(list.GetPressPoint(), CPoint(-1, -1));
  ASSERT_EQ(host.notes.size(), 2u);
  EXPECT_EQ(host.notes[0].first, NM_CLICK);
  EXPECT_EQ(host.notes[1], std::make_pair(SCLN_ITEMCLICKED, 1));

  // On the row outside icon and label: neither lit nor pressed; a click but no item click.
  host.notes.clear();
  CPoint aside(row.left + 1, label.top + 1);
  Send(list, WM_LBUTTONDOWN, MK_LBUTTON, aside);
  EXPECT_EQ(list.GetItemHotState(1), 0u);
  Send(list, WM_LBUTTONUP, 0, aside);
  EXPECT_EQ(list.GetItemHotState(1), 0u);
  EXPECT_EQ(host.Count(NM_CLICK), 1);
  EXPECT_EQ(host.Count(SCLN_ITEMCLICKED), 0);

  // Deleting resets the hot item.
  Send(list, WM_MOUSEMOVE, 0, Centre(icon));
  EXPECT_EQ(list.GetHotItem(), 1);
  list.DeleteItems(3, 1);
  EXPECT_EQ(list.GetHotItem(), -1);
}

TEST_F(ShortcutList, WheelAndArrowsScrollOneLine)
{
  for (int i = 4; i < 12; i++)
    list.InsertItem(i, "More", 0);
  list.RecalcLayout();
  CRect win;
  list.GetWindowRect(&win);
  struct Case {
    short delta;
    int top;
  } cases[] = {{-120, 3}, {+120, 2}, {+1, 1}, {-1, 2}};
  list.SetTopIndex(2);
  int before = list.GetTopIndex();
  ASSERT_EQ(before, 2);
  for (auto& c : cases) {
    list.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)c.delta),
                     MAKELPARAM(win.left + 20, win.top + 20));
    EXPECT_EQ(list.GetTopIndex(), c.top) << c.delta;
    EXPECT_EQ(list.GetLastWheelDelta(), c.delta);
  }
  // Outside the window the wheel does nothing.
  list.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), MAKELPARAM(win.right + 50, win.top));
  EXPECT_EQ(list.GetTopIndex(), 2);

  // The up arrow is not drawn at the top, but a press on its place still scrolls up.
  list.SetTopIndex(1);
  Send(list, WM_LBUTTONDOWN, MK_LBUTTON, Centre(list.GetScrollUpButton()->GetRect()));
  EXPECT_EQ(list.GetTopIndex(), 0);
  EXPECT_TRUE(list.GetScrollUpButton()->GetState() & 1);
  Send(list, WM_LBUTTONUP, 0, Centre(list.GetScrollUpButton()->GetRect()));
  EXPECT_FALSE(list.GetScrollUpButton()->GetState() & 1);
  Send(list, WM_LBUTTONDOWN, MK_LBUTTON, Centre(list.GetScrollUpButton()->GetRect()));
  EXPECT_EQ(list.GetTopIndex(), 0);
  Send(list, WM_LBUTTONDOWN, MK_LBUTTON, Centre(list.GetScrollDownButton()->GetRect()));
  EXPECT_EQ(list.GetTopIndex(), 1);
}

TEST_F(ShortcutList, DropGapsAndMarkers)
{
  RECT row0, row3;
  ASSERT_TRUE(list.GetItemBoxes(0, &row0, NULL, NULL));
  ASSERT_TRUE(list.GetItemBoxes(3, &row3, NULL, NULL));
  struct Case {
    CPoint pt;
    int code, above, markerTop;
  } cases[] = {
      {CPoint(50, 5), -1, -1, 0},                          // above the first row
      {CPoint(50, row0.bottom + 6), 1, 0, row0.bottom},    // between items 0 and 1
      {CPoint(50, row3.bottom + 20), -2, 3, row3.bottom},  // below every row
  };
  for (auto& c : cases) {
    RECT marker;
    int code = 0, above = 0;
    ASSERT_TRUE(list.FindDropGap(c.pt, &marker, &code, &above));
    EXPECT_EQ(code, c.code) << c.pt.y;
    EXPECT_EQ(above, c.above) << c.pt.y;
    EXPECT_EQ(marker.top, c.markerTop) << c.pt.y;
    EXPECT_EQ(marker.bottom - marker.top, 12);
  }
  // With no items the marker lies in the top gap, its triangles pointing down into the list;
  // after the last item they point up; elsewhere they point along the line.
  RECT marker = {0, 0, 100, 12};
  struct Tri {
    int code;
    POINT third;
  } tris[] = {{-1, {0, 14}}, {-2, {0, -2}}, {2, {0, 2}}};
  for (auto& t : tris) {
    POINT* p = list.GetLeftMarkerPoints(marker, t.code);
    EXPECT_EQ(p[1].x, 8);
    EXPECT_EQ(p[2].y, t.third.y) << t.code;
    delete[] p;
    p = list.GetRightMarkerPoints(marker, t.code);
    EXPECT_EQ(p[0].x, 100);
    EXPECT_EQ(p[1].x, 92);
    delete[] p;
  }
  list.DeleteAllItems();
  int code = 0, above = 0;
  ASSERT_TRUE(list.FindDropGap(CPoint(50, 100), &marker, &code, &above));
  EXPECT_EQ(code, -1);
  EXPECT_EQ(marker.top, 0);
}

// A drop of data that is not this process's drag in progress is refused.
TEST_F(ShortcutList, ForeignOrShortBlocksAreRefused)
{
  RECT row0;
  ASSERT_TRUE(list.GetItemBoxes(0, &row0, NULL, NULL));
  CPoint gap(50, row0.bottom + 6);
  SECShortcutDragBlock forged;
  memset(&forged, 0, sizeof forged);
  memcpy(forged.id, SECShortcutListCtrl::GetProcessId(), 16);  // a copied identifier
  forged.item.mask = LVIF_TEXT;
  forged.item.pszText = (LPSTR) "Forged";
  struct Case {
    const char* what;
    size_t size;
    bool ownId;
  } cases[] = {{"copied id, no drag running", sizeof forged, true},
               {"foreign id", sizeof forged, false},
               {"20-byte block", 20, true}};
  for (auto& c : cases) {
    SECShortcutDragBlock block = forged;
    if (!c.ownId)
      block.id[0] ^= 0xFF;
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, c.size);
    memcpy(GlobalLock(h), &block, c.size);
    GlobalUnlock(h);
    COleDataSource source;
    source.CacheGlobalData(SECShortcutListCtrl::GetClipboardFormat(), h);
    COleDataObject data;
    data.Attach(source.GetDataObject(), FALSE);
    auto* target = list.GetDropTarget();
    EXPECT_EQ(target->OnDragEnter(&list, &data, 0, gap), DROPEFFECT_NONE) << c.what;
    EXPECT_EQ(target->OnDragOver(&list, &data, 0, gap), DROPEFFECT_NONE) << c.what;
    EXPECT_FALSE(target->OnDrop(&list, &data, DROPEFFECT_MOVE, gap)) << c.what;
    EXPECT_EQ(list.GetItemCount(), 4) << c.what;
  }
  EXPECT_EQ(host.Count(SCLN_ITEMDROPPED), 0);
}

// Moves the cursor to one point after another as the drag loop asks whether to go on, then
// drops there.
class ScriptedDrag : public COleDropSource {
 public:
  std::vector<CPoint> stops;  // screen points
  size_t calls = 0;
  SCODE QueryContinueDrag(BOOL, DWORD) override
  {
    size_t stop = calls++ / 8;
    if (stop >= stops.size())
      return calls > 400 ? DRAGDROP_S_CANCEL : DRAGDROP_S_DROP;
    SetCursorPos(stops[stop].x, stops[stop].y);
    return S_OK;
  }
  SCODE GiveFeedback(DROPEFFECT) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

TEST_F(ShortcutList, MovesWithinAListAndIntoAnother)
{
  // Anna dragged into the gap after Carla.
  RECT row2;
  ASSERT_TRUE(list.GetItemBoxes(2, &row2, NULL, NULL));
  CPoint gap(60, row2.bottom + 6);
  ::ClientToScreen(list.m_hWnd, &gap);
  ScriptedDrag drag;
  drag.stops = {gap};
  EXPECT_EQ(list.DragItem(0, &drag), DROPEFFECT_MOVE);
  EXPECT_EQ(Names(list), (std::vector<CString>{"Ben", "Carla", "Anna", "Dario"}));
  EXPECT_EQ(host.Count(SCLN_ITEMDROPPED), 1);

  // Back into the gap it came from: the order stays.
  RECT row1;
  ASSERT_TRUE(list.GetItemBoxes(1, &row1, NULL, NULL));
  CPoint same(60, row1.bottom + 6);
  ::ClientToScreen(list.m_hWnd, &same);
  ScriptedDrag back;
  back.stops = {same};
  EXPECT_EQ(list.DragItem(2, &back), DROPEFFECT_MOVE);
  EXPECT_EQ(Names(list), (std::vector<CString>{"Ben", "Carla", "Anna", "Dario"}));

  // Into a second list, before its first item.
  Host other(220);
  SECShortcutListCtrl second;
  MakeList(second, other, {"Pro One"});
  CPoint top(60, 5);
  ::ClientToScreen(second.m_hWnd, &top);
  ScriptedDrag across;
  across.stops = {top};
  EXPECT_EQ(list.DragItem(3, &across), DROPEFFECT_MOVE);
  EXPECT_EQ(Names(list), (std::vector<CString>{"Ben", "Carla", "Anna"}));
  EXPECT_EQ(Names(second), (std::vector<CString>{"Dario", "Pro One"}));
  EXPECT_EQ(other.Count(SCLN_ITEMDROPPED), 1);
  EXPECT_EQ(SECShortcutListCtrl::GetCurrentDrag(), nullptr);

  // Dropped on an item: refused, nothing moves.
  RECT icon0;
  ASSERT_TRUE(second.GetItemBoxes(0, NULL, &icon0, NULL));
  CPoint onItem = Centre(icon0);
  ::ClientToScreen(second.m_hWnd, &onItem);
  ScriptedDrag refused;
  refused.stops = {onItem};
  EXPECT_EQ(list.DragItem(0, &refused), DROPEFFECT_NONE);
  EXPECT_EQ(list.GetItemCount(), 3);
  EXPECT_EQ(second.GetItemCount(), 2);
}

TEST_F(ShortcutList, ListBarsOfTheShortcutBar)
{
  SECShortcutBar bar;
  ASSERT_TRUE(bar.Create(&host, WS_CHILD | WS_VISIBLE | 0x12, 151));
  SECBar* pStudents = bar.AddListBar("Students", TRUE);
  ASSERT_NE(pStudents, nullptr);
  ASSERT_TRUE(pStudents->IsKindOf(RUNTIME_CLASS(SECListBar)));
  SECListBar* pList = (SECListBar*)pStudents;
  ASSERT_NE(pList->GetListCtrl(), nullptr);
  EXPECT_EQ(pList->GetListCtrl()->GetDlgCtrlID(), 60160);
  EXPECT_EQ(pList->AddItem("Anna", 0), 0);
  EXPECT_EQ(pList->AddItem("Ben", 0), 1);
  EXPECT_EQ(pList->GetItemCount(), 2);
  EXPECT_EQ(pList->GetItemText(1), CString("Ben"));
  EXPECT_TRUE(pList->SetItemData(1, 77));
  EXPECT_EQ(pList->GetItemData(1), 77u);
  EXPECT_TRUE(pList->DeleteItem(0));
  EXPECT_EQ(pList->GetItemText(0), CString("Ben"));

  SECBar* pPros = bar.InsertListBar(0, "Pros", TRUE);
  ASSERT_NE(pPros, nullptr);
  EXPECT_EQ(bar.GetBar(0), pPros);
  EXPECT_EQ(((SECListBar*)pPros)->GetListCtrl()->GetDlgCtrlID(), 60161);
  HWND hList = pPros->GetWndHandle();
  // Removing the bar destroys its list window.
  EXPECT_TRUE(bar.RemoveBar(0));
  EXPECT_FALSE(::IsWindow(hList));
  EXPECT_EQ(bar.GetBarCount(), 1);
}

}  // namespace
