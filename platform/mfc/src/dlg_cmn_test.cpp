// Common-control wrappers and image lists, run headless.
#include "afxcmn.h"
#include "afxpriv.h"
#include "gtest_wine.h"

namespace {

struct Parent : CWnd {
    Parent()
    {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
        CreateEx(0, AfxRegisterWndClass(0), "Parent", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300,
                 NULL, NULL);
    }
    ~Parent() { DestroyWindow(); }
};

// A 16 x 16 bitmap filled with one colour.
void MakeSolid(CBitmap& bmp, COLORREF c)
{
    CDC dc;
    dc.CreateCompatibleDC(NULL);
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 16, -16, 1, 24, BI_RGB};
    void* bits;
    bmp.Attach(CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, &bits, NULL, 0));
    CBitmap* pOld = dc.SelectObject(&bmp);
    dc.FillSolidRect(0, 0, 16, 16, c);
    dc.SelectObject(pOld);
}

COLORREF DrawnPixel(CImageList& list, int nImage)
{
    CDC dc;
    dc.CreateCompatibleDC(NULL);
    CBitmap target;
    MakeSolid(target, RGB(0, 0, 0));
    CBitmap* pOld = dc.SelectObject(&target);
    list.Draw(&dc, nImage, CPoint(0, 0), ILD_NORMAL);
    COLORREF c = dc.GetPixel(8, 8);
    dc.SelectObject(pOld);
    return c;
}

}  // namespace

TEST(ImageList, WritesAndReadsThroughAnArchive)
{
    CImageList list;
    ASSERT_TRUE(list.Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 2));
    CBitmap red, blue;
    MakeSolid(red, RGB(255, 0, 0));
    MakeSolid(blue, RGB(0, 0, 255));
    EXPECT_EQ(0, list.Add(&red, RGB(255, 0, 255)));
    EXPECT_EQ(1, list.Add(&blue, RGB(255, 0, 255)));

    // Copied the way the list control copies an image list: written into a memory file
    // through an archive with a 4096-byte buffer and read back.
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store, 4096);
        ASSERT_TRUE(list.Write(&ar));
        ar.Close();
    }
    ASSERT_GT(file.GetLength(), 0u);
    file.SeekToBegin();
    CImageList copy;
    {
        CArchive ar(&file, CArchive::load, 4096);
        ASSERT_TRUE(copy.Read(&ar));
        ar.Close();
    }
    EXPECT_EQ(2, copy.GetImageCount());
    EXPECT_EQ(RGB(255, 0, 0), DrawnPixel(copy, 0));
    EXPECT_EQ(RGB(0, 0, 255), DrawnPixel(copy, 1));
    EXPECT_EQ(&copy, CImageList::FromHandlePermanent(copy.m_hImageList));
    // A wrapper for an image list nobody attached: one per handle until the idle-time
    // clean-up, which frees the wrapper and leaves the list alone.
    HIMAGELIST hLoose = ImageList_Create(16, 16, ILC_COLOR24, 1, 1);
    ImageList_Add(hLoose, (HBITMAP)red.m_hObject, NULL);
    CImageList* pTemp = CImageList::FromHandle(hLoose);
    EXPECT_EQ(pTemp, CImageList::FromHandle(hLoose));
    AfxUnlockTempMaps(TRUE);
    EXPECT_EQ(1, ImageList_GetImageCount(hLoose));
    ImageList_Destroy(hLoose);

    // A truncated stream is refused, not half read.
    CMemFile cut;
    {
        CArchive ar(&cut, CArchive::store);
        list.Write(&ar);
        ar.Close();
    }
    cut.SetLength(cut.GetLength() / 2);
    cut.SeekToBegin();
    CImageList broken;
    {
        CArchive ar(&cut, CArchive::load);
        EXPECT_FALSE(broken.Read(&ar));
    }
    EXPECT_EQ(NULL, broken.m_hImageList);
}

TEST(CommonControls, ListSliderSpinTabAndTips)
{
    Parent parent;
    CRect r(0, 0, 200, 100);

    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, r, &parent, 1));
    EXPECT_EQ(0, list.InsertColumn(0, "Name", LVCFMT_LEFT, 100));
    EXPECT_EQ(1, list.InsertColumn(1, "Club", LVCFMT_LEFT, 80));
    EXPECT_EQ(0, list.InsertItem(0, "Smith"));
    EXPECT_EQ(1, list.InsertItem(1, "Jones"));
    CString longText('x', 300);  // longer than the first guess of the text buffer
    EXPECT_TRUE(list.SetItemText(1, 1, longText));
    EXPECT_STREQ(longText, list.GetItemText(1, 1));
    EXPECT_STREQ("Smith", list.GetItemText(0, 0));
    EXPECT_TRUE(list.SetItemData(1, 0xBEEF));
    EXPECT_EQ((DWORD_PTR)0xBEEF, list.GetItemData(1));
    list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    std::vector<int> selected;
    POSITION pos = list.GetFirstSelectedItemPosition();
    while (pos != NULL)
        selected.push_back(list.GetNextSelectedItem(pos));
    EXPECT_EQ((std::vector<int>{0, 1}), selected);
    EXPECT_EQ(2u, list.GetSelectedCount());

    CSliderCtrl slider;
    ASSERT_TRUE(slider.Create(WS_CHILD | TBS_HORZ, r, &parent, 2));
    slider.SetRange(-10, 10);
    slider.SetPos(25);  // clamped by the control
    EXPECT_EQ(10, slider.GetPos());
    int lo, hi;
    slider.GetRange(lo, hi);
    EXPECT_EQ(-10, lo);
    EXPECT_EQ(10, hi);

    CEdit buddy;
    ASSERT_TRUE(buddy.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), &parent, 3));
    CSpinButtonCtrl spin;
    ASSERT_TRUE(spin.Create(WS_CHILD | UDS_SETBUDDYINT | UDS_ALIGNRIGHT, CRect(0, 0, 10, 20),
                            &parent, 4));
    spin.SetBuddy(&buddy);
    spin.SetRange(-9, 9);
    spin.GetRange(lo, hi);
    EXPECT_EQ(-9, lo);
    EXPECT_EQ(9, hi);
    spin.SetPos(-3);
    EXPECT_EQ(-3, (short)LOWORD(spin.GetPos()));
    CString shown;
    buddy.GetWindowText(shown);
    EXPECT_STREQ("-3", shown);

    CProgressCtrl progress;
    ASSERT_TRUE(progress.Create(WS_CHILD, r, &parent, 5));
    progress.SetRange32(0, 50);
    progress.SetStep(5);
    progress.StepIt();
    progress.StepIt();
    EXPECT_EQ(10, progress.GetPos());

    CTabCtrl tabs;
    ASSERT_TRUE(tabs.Create(WS_CHILD, r, &parent, 6));
    EXPECT_TRUE(tabs.InsertItem(0, "Register"));
    EXPECT_TRUE(tabs.InsertItem(1, "Clips"));
    EXPECT_EQ(2, tabs.GetItemCount());
    tabs.SetCurSel(1);
    EXPECT_EQ(1, tabs.GetCurSel());

    CToolTipCtrl tips;
    ASSERT_TRUE(tips.Create(&parent));
    EXPECT_TRUE(tips.AddTool(&list, "Students"));
    CString tip;
    tips.GetText(tip, &list);
    EXPECT_STREQ("Students", tip);
    tips.UpdateTipText("Clips", &list);
    tips.GetText(tip, &list);
    EXPECT_STREQ("Clips", tip);
    EXPECT_EQ(1, tips.GetToolCount());
    tips.DelTool(&list);
    EXPECT_EQ(0, tips.GetToolCount());
    tips.DestroyWindow();
}
