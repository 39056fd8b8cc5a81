// GDI pieces that work with windows and resources: menus, bitmaps from resources, window
// DCs and the rectangle tracker, run headless.
#include "afxwin.h"
#include "gdi_wnd_test.h"
#include "gtest_wine.h"

namespace {

// A plain top-level window for the tests.
struct TestWindow : CWnd {
    TestWindow()
    {
        CreateEx(0, AfxRegisterWndClass(0), "Test", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, NULL,
                 NULL);
    }
    ~TestWindow()
    {
        if (m_hWnd != NULL)
            DestroyWindow();
    }
};

class CCountingMenu : public CMenu
{
public:
    int m_nDrawn = 0;
    UINT m_lastID = 0;
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override
    {
        m_nDrawn++;
        m_lastID = lpDIS->itemID;
    }
};

}  // namespace

TEST(Menu, LoadsEditsAndTracksAPopup)
{
    TestWindow wnd;
    ASSERT_NE((HWND)NULL, wnd.m_hWnd);
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    CMenu* pPopup = menu.GetSubMenu(0);
    ASSERT_NE(nullptr, pPopup);
    EXPECT_EQ(pPopup, menu.GetSubMenu(0));  // one temporary wrapper per handle
    EXPECT_EQ(4u, pPopup->GetMenuItemCount());
    EXPECT_EQ((UINT)ID_CLUB_IRON, pPopup->GetMenuItemID(1));
    CString text;
    pPopup->GetMenuString(ID_CLUB_PUTTER, text, MF_BYCOMMAND);
    EXPECT_STREQ("&Putter", text);

    // State changes answer the previous state.
    EXPECT_EQ((UINT)MF_UNCHECKED, pPopup->CheckMenuItem(ID_CLUB_IRON, MF_CHECKED));
    EXPECT_EQ((UINT)MF_CHECKED, pPopup->GetMenuState(ID_CLUB_IRON, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ((UINT)MF_ENABLED, pPopup->EnableMenuItem(ID_CLUB_DRIVER, MF_GRAYED));
    EXPECT_TRUE(pPopup->GetMenuState(ID_CLUB_DRIVER, MF_BYCOMMAND) & MF_GRAYED);
    pPopup->EnableMenuItem(ID_CLUB_DRIVER, MF_ENABLED);

    // Editing
    EXPECT_TRUE(pPopup->AppendMenu(MF_STRING, 40001, "&Wedge"));
    EXPECT_TRUE(pPopup->InsertMenu(0, MF_BYPOSITION | MF_STRING, 40002, "&Wood"));
    EXPECT_TRUE(pPopup->ModifyMenu(40001, MF_BYCOMMAND | MF_STRING, 40003, "&Sand wedge"));
    EXPECT_EQ(6u, pPopup->GetMenuItemCount());
    EXPECT_EQ(40002u, pPopup->GetMenuItemID(0));
    EXPECT_EQ(40003u, pPopup->GetMenuItemID(5));
    EXPECT_TRUE(pPopup->RemoveMenu(40002, MF_BYCOMMAND));
    EXPECT_EQ(5u, pPopup->GetMenuItemCount());

    // TPM_RETURNCMD: the chosen command comes back instead of being sent. The keys wait in
    // the queue for the menu's own loop: Down selects the first item, Down the next, Enter
    // chooses it.
    for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN})
        wnd.PostMessage(WM_KEYDOWN, key, 0);
    EXPECT_EQ(ID_CLUB_IRON,
              pPopup->TrackPopupMenu(TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN, 10, 10, &wnd));
    wnd.PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(0, pPopup->TrackPopupMenu(TPM_RETURNCMD | TPM_NONOTIFY, 10, 10, &wnd));
    CMenu::DeleteTempMap();

    // A permanent menu object receives the drawing of its owner-drawn items.
    CCountingMenu drawn;
    ASSERT_TRUE(drawn.CreatePopupMenu());
    drawn.AppendMenu(MF_OWNERDRAW, 40010, (LPCTSTR)nullptr);
    EXPECT_EQ(&drawn, CMenu::FromHandlePermanent(drawn.m_hMenu));
    DRAWITEMSTRUCT dis = {ODT_MENU, 0, 40010, ODA_DRAWENTIRE, 0, (HWND)drawn.m_hMenu, NULL,
                          {0, 0, 10, 10}, 0};
    wnd.SendMessage(WM_DRAWITEM, 0, (LPARAM)&dis);
    EXPECT_EQ(1, drawn.m_nDrawn);
    EXPECT_EQ(40010u, drawn.m_lastID);
    HMENU h = drawn.m_hMenu;
    EXPECT_TRUE(drawn.DestroyMenu());
    EXPECT_EQ(nullptr, CMenu::FromHandlePermanent(h));
}

TEST(GdiResources, BitmapFromResourcesAndWindowDCs)
{
    CBitmap strip;
    ASSERT_TRUE(strip.LoadBitmap(IDB_TEST_STRIP));
    BITMAP bm;
    strip.GetBitmap(&bm);
    EXPECT_EQ(4, bm.bmWidth);
    EXPECT_EQ(2, bm.bmHeight);
    CDC dc;
    dc.CreateCompatibleDC(NULL);
    CBitmap* pOld = dc.SelectObject(&strip);
    EXPECT_EQ(RGB(255, 0, 0), dc.GetPixel(0, 0));
    EXPECT_EQ(RGB(0, 0, 255), dc.GetPixel(2, 0));
    EXPECT_EQ(RGB(0, 0, 0), dc.GetPixel(1, 1));
    dc.SelectObject(pOld);

    TestWindow wnd;
    {
        CClientDC client(&wnd);
        EXPECT_NE((HDC)NULL, client.m_hDC);
        EXPECT_EQ(client.m_hDC, client.m_hAttribDC);
        EXPECT_EQ(wnd.m_hWnd, client.GetWindow()->GetSafeHwnd());
    }
    {
        CWindowDC window(&wnd);
        EXPECT_NE((HDC)NULL, window.m_hDC);
    }
    CWnd::DeleteTempMap();

    // The wait cursor nests and goes away with its objects.
    {
        CWaitCursor outer;
        {
            CWaitCursor inner;
            inner.Restore();
        }
    }
}

namespace {

struct RectCase {
    CPoint point;
    int hit;
};

}  // namespace

TEST(RectTracker, HitTestsDrawsAndTracks)
{
    CRectTracker tracker(CRect(20, 20, 80, 60), CRectTracker::solidLine | CRectTracker::resizeInside);
    CRect truth;
    tracker.GetTrueRect(&truth);
    EXPECT_EQ(CRect(19, 19, 81, 61), truth);
    for (RectCase t : std::initializer_list<RectCase>{
             {CPoint(21, 21), CRectTracker::hitTopLeft},
             {CPoint(78, 21), CRectTracker::hitTopRight},
             {CPoint(78, 58), CRectTracker::hitBottomRight},
             {CPoint(21, 58), CRectTracker::hitBottomLeft},
             {CPoint(50, 21), CRectTracker::hitTop},
             {CPoint(78, 40), CRectTracker::hitRight},
             {CPoint(50, 40), CRectTracker::hitMiddle},
             {CPoint(5, 5), CRectTracker::hitNothing},
         })
        EXPECT_EQ(t.hit, tracker.HitTest(t.point)) << t.point.x << "," << t.point.y;

    // An inverted rectangle: the handle under the mouse is named after the side it is on.
    CRectTracker inverted(CRect(80, 60, 20, 20), CRectTracker::resizeInside);
    EXPECT_EQ(CRectTracker::hitBottomRight, inverted.NormalizeHit(CRectTracker::hitTopLeft));

    // Drawn: the frame one pixel outside, the corner handles inside, black.
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 100, -100, 1, 32, BI_RGB};
    void* bits = nullptr;
    CBitmap dib;
    dib.Attach(CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, &bits, NULL, 0));
    CDC dc;
    dc.CreateCompatibleDC(NULL);
    CBitmap* pOld = dc.SelectObject(&dib);
    dc.FillSolidRect(0, 0, 100, 100, RGB(255, 255, 255));
    tracker.Draw(&dc);
    EXPECT_EQ(RGB(0, 0, 0), dc.GetPixel(19, 40));          // frame
    EXPECT_EQ(RGB(0, 0, 0), dc.GetPixel(22, 22));          // top-left handle
    EXPECT_EQ(RGB(255, 255, 255), dc.GetPixel(50, 40));    // inside
    EXPECT_EQ(RGB(255, 255, 255), dc.GetPixel(10, 10));    // outside
    dc.SelectObject(pOld);

    // Tracking the middle moves the rectangle with the mouse.
    TestWindow wnd;
    wnd.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, 50));
    wnd.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(70, 55));
    EXPECT_TRUE(tracker.Track(&wnd, CPoint(50, 40)));
    EXPECT_EQ(CRect(40, 35, 100, 75), tracker.m_rect);

    // Resizing stops at the minimum size; Escape restores the rectangle.
    tracker.m_sizeMin = CSize(10, 10);
    wnd.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(0, 0));
    wnd.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(0, 0));
    EXPECT_TRUE(tracker.Track(&wnd, CPoint(98, 73)));  // the bottom-right handle
    EXPECT_EQ(CRect(40, 35, 50, 45), tracker.m_rect);
    wnd.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 5));
    wnd.PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(tracker.Track(&wnd, CPoint(45, 40)));
    EXPECT_EQ(CRect(40, 35, 50, 45), tracker.m_rect);
    CWnd::DeleteTempMap();
    CDC::DeleteTempMap();
}
