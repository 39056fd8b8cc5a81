// The list control's data model: items, selection and focus through insertions and
// deletions, callback texts, columns, styles and hostile arguments.
#include "SECList_test_util.h"

#include <algorithm>
#include <random>
#include <set>

namespace {

const bool g_onOwnDesktop = RunOnOwnDesktop("QuorvelListModelTests");

class ListModel : public testing::Test {
 protected:
  RecordingParent parent;
  TestList list;

  void SetUp() override
  {
    MakeList(list, parent, LVS_REPORT, 0, 200, 150);
    list.AppendColumn(CString("Name"), 0, 100, -1);
    list.AppendColumn(CString("Club"), 0, 60, -1);
  }
  void Fill(int n)
  {
    for (int i = 0; i < n; i++) {
      char text[16];
      sprintf(text, "item %d", i);
      ASSERT_EQ(i, list.InsertItem(i, text));
    }
  }
  std::vector<int> Selection() const
  {
    std::vector<int> v;
    for (INT_PTR i = 0; i < list.GetSelection().GetSize(); i++)
      v.push_back((int)list.GetSelection()[i]);
    return v;
  }
  std::string Text(int item, int sub = 0)
  {
    char buf[64];
    list.GetItemText(item, sub, buf, sizeof buf);
    return buf;
  }
};

TEST_F(ListModel, FirstInsertionFocusesAndSelects)
{
  EXPECT_EQ(-1, list.GetFocusItem());
  list.InsertItem(0, "first");
  EXPECT_EQ(0, list.GetFocusItem());
  EXPECT_EQ(1u, list.GetSelectedCount());
  EXPECT_EQ((UINT)(LVIS_SELECTED | LVIS_FOCUSED),
            list.GetItemState(0, LVIS_SELECTED | LVIS_FOCUSED));
  // Every item carries a cell for each sub-item column.
  EXPECT_EQ(1, list.GetSubItemCount());
  EXPECT_EQ(1, list.GetItemAt(0)->GetSubItemCount());
}

TEST_F(ListModel, InsertionMovesFocusDropHighlightAndSelection)
{
  Fill(5);
  list.SelectItem(0, FALSE);
  list.SelectRange(2, 4);
  list.SetFocusItem(3, TRUE);
  list.SetDropHighlight(2);
  EXPECT_EQ(2, list.InsertItem(2, "new"));
  EXPECT_EQ(4, list.GetFocusItem());
  EXPECT_EQ(3, list.GetDropHighlight());
  EXPECT_EQ((std::vector<int>{3, 4, 5}), Selection());
  EXPECT_EQ("new", Text(2));
  EXPECT_EQ(0u, list.GetItemState(2, LVIS_SELECTED));
}

TEST_F(ListModel, DeletingARunMovesFocusBeforeItAndNotifiesOnce)
{
  Fill(5);
  list.SetFocusItem(2, TRUE);
  list.SelectItem(4);
  size_t before = parent.notes.size();
  ASSERT_TRUE(list.DeleteItems(1, 2));
  EXPECT_EQ(3, list.GetItemCount());
  EXPECT_EQ(0, list.GetFocusItem());
  EXPECT_EQ("item 3", Text(1));
  int deletes = 0;
  for (size_t i = before; i < parent.notes.size(); i++)
    if (parent.notes[i].code == LVN_DELETEITEM) {
      deletes++;
      EXPECT_EQ(1, parent.notes[i].iItem);
    }
  EXPECT_EQ(1, deletes);
  // Selected 0 (first insertion) and 4, which moved down to 2.
  EXPECT_EQ((std::vector<int>{0, 2}), Selection());

  // Deleting the only selected item selects the focused item that remains.
  list.DeselectAllExcept(2);
  list.SetFocusItem(0, FALSE);
  ASSERT_EQ((std::vector<int>{2}), Selection());
  ASSERT_TRUE(list.DeleteItems(2, 1));
  EXPECT_EQ((std::vector<int>{0}), Selection());
  EXPECT_EQ(0, list.GetFocusItem());
}

TEST_F(ListModel, SelectionStaysAscendingWithoutDuplicates)
{
  Fill(40);
  std::mt19937 rng(1234);
  std::set<int> expected = {0};
  for (int round = 0; round < 400; round++) {
    int item = (int)(rng() % 40);
    bool select = rng() % 3 != 0;
    list.SelectItem(item, select);
    if (select)
      expected.insert(item);
    else
      expected.erase(item);
  }
  EXPECT_EQ(std::vector<int>(expected.begin(), expected.end()), Selection());
  EXPECT_EQ(expected.size(), (size_t)list.GetSelectedCount());
}

TEST_F(ListModel, CallbackTextsComeFromTheParent)
{
  list.InsertItem(0, LPSTR_TEXTCALLBACKA);
  parent.dispTexts[{0, 0}] = "from parent";
  parent.dispTexts[{0, 1}] = "cell";
  EXPECT_TRUE(list.NeedsDispInfo(0));
  int asked = parent.Count(LVN_GETDISPINFOA);
  EXPECT_EQ("from parent", Text(0));
  EXPECT_EQ("cell", Text(0, 1));  // new sub-items start as callbacks
  EXPECT_EQ(asked + 2, parent.Count(LVN_GETDISPINFOA));
  EXPECT_EQ("from parent", Text(0));  // asked again: not kept
  EXPECT_EQ(asked + 3, parent.Count(LVN_GETDISPINFOA));
  const NotifyRecord* r = parent.Last(LVN_GETDISPINFOA);
  EXPECT_EQ(0, r->iItem);
  EXPECT_EQ((UINT)LVIF_TEXT, r->mask);

  // A text set over a callback without LVIF_DI_SETITEM is not stored but handed on.
  list.setDispInfo.clear();
  list.setDispTexts.clear();
  EXPECT_TRUE(list.SetItemText(0, 0, "typed"));
  ASSERT_EQ(1u, list.setDispInfo.size());
  EXPECT_EQ((UINT)LVIF_TEXT, list.setDispInfo[0].mask);
  EXPECT_EQ("typed", list.setDispTexts[0]);
  EXPECT_EQ("from parent", Text(0));

  // With LVIF_DI_SETITEM the parent's answer is kept and no longer asked for.
  parent.setItem = true;
  LVITEMA lvi = {};
  char buf[64];
  lvi.mask = LVIF_TEXT;
  lvi.iItem = 0;
  lvi.pszText = buf;
  lvi.cchTextMax = sizeof buf;
  ASSERT_TRUE(list.GetItem(&lvi, FALSE, TRUE));
  ASSERT_TRUE(lvi.mask & LVIF_DI_SETITEM);
  ASSERT_TRUE(list.SetItem(&lvi, FALSE));
  int now = parent.Count(LVN_GETDISPINFOA);
  EXPECT_EQ("from parent", Text(0));
  EXPECT_EQ(now, parent.Count(LVN_GETDISPINFOA));
  // A sub-item's own text replaces its callback.
  EXPECT_TRUE(list.SetItemText(0, 1, "stored"));
  EXPECT_EQ("stored", Text(0, 1));
  EXPECT_FALSE(list.NeedsDispInfo(0));

  // Without notify the callback marker is handed back.
  list.InsertItem(1, LPSTR_TEXTCALLBACKA);
  LVITEMA raw = {};
  raw.mask = LVIF_TEXT;
  raw.iItem = 1;
  raw.iSubItem = 1;
  ASSERT_TRUE(list.GetItem(&raw, FALSE, FALSE));
  EXPECT_EQ(LPSTR_TEXTCALLBACKA, raw.pszText);
}

TEST_F(ListModel, ColumnRules)
{
  // Index 0 is always a left-aligned label column; width -1 becomes 10.
  EXPECT_TRUE(list.InsertColumn(0, CString("Label"), 2, -1, 7));
  SECListColumn* first = list.GetColumnAt(0);
  EXPECT_EQ(0, first->fmt);
  EXPECT_EQ(0, first->iSubItem);
  EXPECT_EQ(10, first->cx);
  EXPECT_TRUE(list.AppendColumn(CString("Wide"), 1, -1, -1));
  EXPECT_EQ(10, list.GetColumnWidth(3));
  EXPECT_EQ(3, list.GetColumnCount() - 1);

  int col = -1, sub = -1;
  EXPECT_TRUE(list.FindColumn(CString("Club"), &col, &sub));
  EXPECT_EQ(2, col);
  EXPECT_FALSE(list.HasColumn(CString("club")));  // exact compare

  LVCOLUMNA lvc = {};
  char title[3];
  lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
  lvc.pszText = title;
  lvc.cchTextMax = sizeof title;
  ASSERT_TRUE(list.GetColumn(2, &lvc));
  EXPECT_STREQ("Cl", title);  // cut and terminated
  EXPECT_EQ(60, lvc.cx);
  lvc.pszText = NULL;
  EXPECT_TRUE(list.GetColumn(2, &lvc));  // no buffer: nothing copied
  EXPECT_FALSE(list.GetColumn(9, &lvc));
}

TEST_F(ListModel, ColumnsKeepTheirTextsAndDeletedWidthGoesToTheLabel)
{
  Fill(2);
  list.SetItemText(0, 1, "driver");
  // A column inserted in front of "Club" takes its place; "Club" keeps its texts.
  ASSERT_TRUE(list.InsertColumn(1, CString("Date"), 0, 50, -1));
  int col, sub;
  ASSERT_TRUE(list.FindColumn(CString("Club"), &col, &sub));
  EXPECT_EQ(2, col);
  EXPECT_EQ("driver", Text(0, sub));
  EXPECT_EQ(2, list.GetSubItemCount());
  EXPECT_EQ(2, list.GetItemAt(1)->GetSubItemCount());

  // Deleting a sub-item column gives its width to the label column...
  ASSERT_TRUE(list.DeleteColumnByTitle(CString("Date")));
  EXPECT_EQ(150, list.GetColumnWidth(0));
  ASSERT_TRUE(list.FindColumn(CString("Club"), &col, &sub));
  EXPECT_EQ(1, sub);
  EXPECT_EQ("driver", Text(0, 1));
  // ...unless the list keeps deleted widths.
  list.SetListStyleEx(SECLIST_EX_KEEPDELETEDWIDTH, FALSE);
  list.AppendColumn(CString("Extra"), 0, 40, -1);
  ASSERT_TRUE(list.DeleteColumn(2));
  EXPECT_EQ(150, list.GetColumnWidth(0));
  // The label column has no sub-item: deleting it removes none.
  ASSERT_TRUE(list.DeleteColumn(0));
  EXPECT_EQ(1, list.GetSubItemCount());
  EXPECT_EQ("driver", Text(0, 1));
  EXPECT_EQ("item 0", Text(0));
}

TEST_F(ListModel, NextItemAndMultipleSelection)
{
  Fill(5);
  list.SelectItem(0, FALSE);
  list.SelectItem(1);
  list.SelectItem(3);
  list.SelectItem(4);
  EXPECT_EQ(1, list.GetNextItem(-1, LVNI_SELECTED));
  EXPECT_EQ(3, list.GetNextItem(1, LVNI_SELECTED));
  EXPECT_EQ(1, list.GetNextItem(3, LVNI_SELECTED | LVNI_ABOVE));
  EXPECT_EQ(-1, list.GetNextItem(4, LVNI_SELECTED));
  EXPECT_EQ(-1, list.GetNextItem(4, LVNI_ALL));
  EXPECT_EQ(2, list.GetNextItem(1, LVNI_ALL));
  EXPECT_EQ(0, list.GetNextItem(1, LVNI_TOLEFT));
  EXPECT_EQ(0, list.GetNextItem(-1, LVNI_FOCUSED));

  EXPECT_TRUE(list.IsMultiSelect());
  list.EnableMultiSelect(FALSE);
  EXPECT_EQ(0u, list.GetSelectedCount());
  EXPECT_FALSE(list.IsMultiSelect());
  list.SelectItem(2);
  list.SelectItem(3);
  EXPECT_EQ((std::vector<int>{3}), Selection());
}

TEST_F(ListModel, InsertingBesideAnItemAndUserStates)
{
  Fill(3);
  LVITEMA lvi = {};
  lvi.mask = LVIF_TEXT;
  lvi.pszText = (LPSTR) "after 1";
  EXPECT_EQ(2, list.InsertItemAfter(list.GetItemAt(1), &lvi));
  lvi.pszText = (LPSTR) "before 0";
  EXPECT_EQ(0, list.InsertItemBefore(list.GetItemAt(0), &lvi));
  lvi.pszText = (LPSTR) "first";
  EXPECT_EQ(0, list.InsertItemAfter(NULL, &lvi));
  EXPECT_EQ("first", Text(0));
  EXPECT_EQ("before 0", Text(1));
  EXPECT_EQ("after 1", Text(4));

  SECListUserState us = {1, 0, 0x5, 0xF};
  lvi.iItem = 2;
  EXPECT_TRUE(list.SetItemUserState(&lvi, &us));
  SECListUserState read = {1, 0, 0, 0x4};
  EXPECT_TRUE(list.GetItemUserState(&lvi, &read));
  EXPECT_EQ(0x4u, read.state);
  lvi.iItem = 40;
  EXPECT_FALSE(list.SetItemUserState(&lvi, &us));
}

TEST_F(ListModel, HostileIndicesAndCountsAreRejected)
{
  Fill(4);
  EXPECT_EQ(-1, list.InsertItem(-1, "x"));
  EXPECT_EQ(-1, list.InsertItem(5, "x"));
  EXPECT_EQ(4, list.GetItemCount());
  EXPECT_EQ(4, list.InsertItem(4, "end"));  // the count itself appends

  LVITEMA lvi = {};
  lvi.mask = LVIF_TEXT;
  lvi.iItem = 0;
  lvi.iSubItem = 5;
  lvi.pszText = (LPSTR) "bad";
  EXPECT_FALSE(list.SetItem(&lvi, TRUE));
  lvi.iSubItem = -1;
  EXPECT_FALSE(list.SetItem(&lvi, TRUE));
  EXPECT_FALSE(list.GetItem(&lvi, TRUE, TRUE));
  lvi.iItem = 9;
  lvi.iSubItem = 0;
  EXPECT_FALSE(list.SetItem(&lvi, TRUE));
  EXPECT_EQ(0u, list.GetItemState(-3, LVIS_SELECTED));

  // Texts are cut to the buffer and always terminated; no buffer gets nothing.
  char tiny[5] = "zzzz";
  EXPECT_EQ(4, list.GetItemText(0, 0, tiny, sizeof tiny));
  EXPECT_STREQ("item", tiny);
  EXPECT_EQ(0, list.GetItemText(0, 0, tiny, 0));
  EXPECT_EQ(0, list.GetItemText(0, 0, NULL, 10));
  lvi.iItem = 0;
  lvi.pszText = NULL;
  lvi.cchTextMax = 10;
  EXPECT_TRUE(list.GetItem(&lvi, TRUE, TRUE));

  // A run past the end stops at the last item; a first index past the end fails.
  EXPECT_FALSE(list.DeleteItems(5, 1));
  EXPECT_FALSE(list.DeleteItems(-1, 2));
  EXPECT_TRUE(list.DeleteItems(3, 1000));
  EXPECT_EQ(3, list.GetItemCount());
  EXPECT_TRUE(list.DeleteItems(0, INT_MAX));
  EXPECT_EQ(0, list.GetItemCount());
  EXPECT_EQ(-1, list.GetFocusItem());

  EXPECT_EQ(nullptr, list.GetColumnAt(-1));
  EXPECT_EQ(nullptr, list.SetColumnWidth(7, 10));
  EXPECT_FALSE(list.DeleteColumn(7));
  EXPECT_FALSE(list.InsertColumn(9, CString("far"), 0, 10, -1));
  EXPECT_EQ(nullptr, list.SetImageList(NULL, 7));
}

TEST_F(ListModel, ImageListsAreCopiedUnlessShared)
{
  CImageList images;
  ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 2));
  HICON icon = ::LoadIconA(NULL, (LPCSTR)IDI_APPLICATION);
  images.Add(icon);
  EXPECT_EQ(nullptr, list.SetImageList(&images, LVSIL_SMALL));
  CImageList* copy = list.GetImageList(LVSIL_SMALL);
  ASSERT_NE(nullptr, copy);
  EXPECT_NE(&images, copy);
  EXPECT_EQ(1, copy->GetImageCount());

  // A list that cannot be written is refused; the list keeps its copy.
  CImageList empty;
  EXPECT_EQ(nullptr, list.SetImageList(&empty, LVSIL_SMALL));
  EXPECT_EQ(copy, list.GetImageList(LVSIL_SMALL));

  list.ModifyListStyle(0, SECLIST_SHAREIMAGELISTS, FALSE);
  EXPECT_EQ(nullptr, list.SetImageList(&images, LVSIL_NORMAL));
  EXPECT_EQ(&images, list.GetImageList(LVSIL_NORMAL));
  list.SetImageList(NULL, LVSIL_NORMAL);
  list.ModifyListStyle(SECLIST_SHAREIMAGELISTS, 0, FALSE);
}

TEST(ListCreation, StylesDialogItemsAndTheNotifyWindow)
{
  RecordingParent parent, other;
  // List-view bits of the window style become list styles; a non-report list gets its
  // label column and no header.
  TestList icons;
  RECT rc = {0, 0, 100, 100};
  ASSERT_TRUE(icons.CreateList(WS_CHILD | LVS_SINGLESEL | LVS_NOLABELWRAP,
                               LVS_EX_FULLROWSELECT, rc, &parent, 7));
  EXPECT_EQ((DWORD)(SECLIST_SINGLESEL | SECLIST_NOLABELWRAP | SECLIST_NOCOLUMNHEADER),
            icons.GetListStyle());
  EXPECT_EQ((DWORD)0, icons.GetStyle() & 0xFFFF);
  EXPECT_EQ(1, icons.GetColumnCount());
  EXPECT_EQ(100, icons.GetColumnWidth(0));  // a single column is fitted to the list

  // Replacing a dialog item that is not there fails without touching a null window.
  TestList missing;
  EXPECT_FALSE(missing.ReplaceDialogItem(55, &parent));
  CDataExchange dx(&parent, FALSE);
  EXPECT_THROW(
      {
        try {
          DDX_SECListCtrl(&dx, 55, missing);
        } catch (CUserException* e) {
          e->Delete();
          throw 1;
        }
      },
      int);

  CWnd item;
  RECT itemRect = {10, 20, 110, 80};
  ASSERT_TRUE(item.CreateEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE, itemRect, &parent, 55));
  item.Detach();
  TestList replaced;
  CDataExchange dx2(&parent, FALSE);
  DDX_SECListCtrl(&dx2, 55, replaced);
  ASSERT_NE((HWND)NULL, replaced.m_hWnd);
  EXPECT_EQ(55, replaced.GetDlgCtrlID());
  EXPECT_TRUE(replaced.GetStyle() & WS_BORDER);
  RECT placed;
  replaced.GetWindowRect(&placed);
  parent.ScreenToClient(&placed);
  EXPECT_EQ(10, placed.left);
  EXPECT_EQ(20, placed.top);

  // Notifications go to the notify window when one is set.
  replaced.SetNotifyWnd(&other);
  replaced.InsertItem(0, "x");
  replaced.DeleteItems(0, 1);
  EXPECT_EQ(1, other.Count(LVN_DELETEITEM));
  EXPECT_EQ(0, parent.Count(LVN_DELETEITEM));
  const NotifyRecord* r = other.Last(LVN_DELETEITEM);
  EXPECT_EQ(replaced.m_hWnd, r->hwndFrom);
  EXPECT_EQ((UINT_PTR)55, r->idFrom);
}

}  // namespace
