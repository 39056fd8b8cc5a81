// The base dialog, the bitmap button and the transparent bitmap: backgrounds, tooltips,
// held and latching buttons, the drawn images, on memory device contexts.
#include "dialog_answers.h"
#include "AppConfig.h"
#include "BaseBmpButton.h"
#include "BaseDialog.h"
#include "Globals.h"
#include <vector>

#define IDD_BASEUI_TEST 9000
#define IDC_BASEUI_EDIT 9001

namespace {

// A 32-bit memory DC of w x h filled with a colour.
struct Canvas
{
    CDC dc;
    CBitmapDIB bmp;
    CBitmap* old;
    Canvas(int w, int h, COLORREF fill)
    {
        dc.CreateCompatibleDC(NULL);
        bmp.Create(w, h, 32);
        old = dc.SelectObject(&bmp);
        dc.FillSolidRect(0, 0, w, h, fill);
    }
    ~Canvas() { dc.SelectObject(old); }
    COLORREF At(int x, int y) { GdiFlush(); return dc.GetPixel(x, y); }
};

class ParentWnd : public CWnd
{
public:
    std::vector<std::pair<UINT, WPARAM>> got;
    BOOL Make()
    {
        return CreateEx(0, AfxRegisterWndClass(0), "parent", WS_POPUP, CRect(0, 0, 200, 100),
                        NULL, 0);
    }
    virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override
    {
        if (msg == WM_BMPBUTTON_HELD || msg == WM_BMPBUTTON_RELEASED)
            got.push_back({msg, wp});
        return CWnd::WindowProc(msg, wp, lp);
    }
};

class BmpButtonTest : public ::testing::Test
{
protected:
    ParentWnd parent;
    CBaseBmpButton button;
    void SetUp() override
    {
        ASSERT_TRUE(parent.Make());
        ASSERT_TRUE(button.Create("b", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW,
                                  CRect(10, 10, 50, 50), &parent, 77));
    }
    void Press(CPoint at) { button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y)); }
    void Release(CPoint at) { button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y)); }
};

TEST_F(BmpButtonTest, HeldButtonNotifiesOnceAndOnRelease)
{
    Press(CPoint(5, 5));
    button.SendMessage(WM_TIMER, 1);  // the hold timer's second has passed
    Release(CPoint(5, 5));
    ASSERT_EQ(2u, parent.got.size());
    EXPECT_EQ(UINT(WM_USER + 100), parent.got[0].first);
    EXPECT_EQ(WPARAM(&button), parent.got[0].second);
    EXPECT_EQ(UINT(WM_USER + 101), parent.got[1].first);
    parent.got.clear();
    Press(CPoint(5, 5));
    Release(CPoint(5, 5));  // a short press
    EXPECT_TRUE(parent.got.empty());
}

TEST_F(BmpButtonTest, CheckModeTogglesOnlyOnReleaseOverTheButton)
{
    button.SetCheckMode(TRUE);
    Press(CPoint(5, 5));
    Release(CPoint(5, 5));
    EXPECT_TRUE(button.GetCheck());
    Press(CPoint(5, 5));
    Release(CPoint(100, 5));  // released outside
    EXPECT_TRUE(button.GetCheck());
    button.SetCheckLocked(TRUE);
    Press(CPoint(5, 5));
    Release(CPoint(5, 5));
    EXPECT_TRUE(button.GetCheck());
    button.SetCheckLocked(FALSE);
    button.SetCheckMode(FALSE);
    Press(CPoint(5, 5));
    Release(CPoint(5, 5));
    EXPECT_TRUE(button.GetCheck());
}

TEST_F(BmpButtonTest, EscapeIsSwallowed)
{
    MSG esc = {button.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0};
    EXPECT_TRUE(button.PreTranslateMessage(&esc));
    esc.message = WM_SYSKEYDOWN;
    EXPECT_TRUE(button.PreTranslateMessage(&esc));
    MSG other = {button.m_hWnd, WM_KEYDOWN, VK_RETURN, 0};
    EXPECT_FALSE(button.PreTranslateMessage(&other));
}

// Draws the button's item into a 40 x 40 canvas.
COLORREF DrawnCentre(CBaseBmpButton& b, UINT state)
{
    Canvas c(40, 40, RGB(1, 2, 3));
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_BUTTON;
    dis.itemState = state;
    dis.hDC = c.dc.m_hDC;
    dis.rcItem = CRect(0, 0, 40, 40);
    b.DrawItem(&dis);
    return c.At(20, 20);
}

TEST_F(BmpButtonTest, ImagesByState)
{
    // 341 black, 342 blue, 343 red, 344 green, 345 yellow swatches on a grey key.
    ASSERT_TRUE(button.LoadBitmaps(341));
    EXPECT_EQ(RGB(0, 0, 0), DrawnCentre(button, ODS_SELECTED));  // no pressed image
    button.SetCheckMode(TRUE);
    button.SetCheck(TRUE);
    EXPECT_EQ(RGB(0, 0, 0), DrawnCentre(button, 0));
    ASSERT_TRUE(button.LoadBitmaps(341, 342, 343, 344));
    EXPECT_EQ(RGB(0, 0, 255), DrawnCentre(button, 0));           // checked: pressed
    button.SetCheck(FALSE);
    EXPECT_EQ(RGB(0, 0, 0), DrawnCentre(button, 0));
    EXPECT_EQ(RGB(255, 0, 0), DrawnCentre(button, ODS_FOCUS));
    EXPECT_EQ(RGB(0, 255, 0), DrawnCentre(button, ODS_DISABLED));
    EXPECT_TRUE(button.LoadStateBitmaps(345));
    button.SetStateImage(1);
    EXPECT_EQ(RGB(255, 255, 0), DrawnCentre(button, ODS_SELECTED));
    button.SetStateImage(3);  // only two state images: ignored
    EXPECT_EQ(1, button.m_nStateImage);
    button.SetPressed(TRUE);
    EXPECT_EQ(RGB(255, 255, 0), DrawnCentre(button, 0));
    EXPECT_FALSE(button.LoadBitmaps(341, 999));  // a missing pressed image
    EXPECT_FALSE(button.LoadBitmaps(999));
    button.LoadBitmaps(341);
    button.SizeToContent();
    CRect r;
    button.GetWindowRect(&r);
    EXPECT_EQ(24, r.Width());
}

TEST_F(BmpButtonTest, TransparentKeyAndFrames)
{
    ASSERT_TRUE(button.LoadBitmaps(250));  // a black frame on the grey key
    button.SetDraw3DFrame(TRUE);
    button.SetHighlight(TRUE);
    Canvas c(40, 40, RGB(1, 2, 3));
    DRAWITEMSTRUCT dis = {};
    dis.itemState = ODS_SELECTED;
    dis.hDC = c.dc.m_hDC;
    dis.rcItem = CRect(0, 0, 40, 40);
    button.DrawItem(&dis);
    EXPECT_EQ(COLORREF(0x26A2C6), c.At(20, 20));  // key pixel: the highlight shows
    // Opaque: the key colour drawn.
    button.SetTransparent(FALSE);
    button.DrawItem(&dis);
    EXPECT_EQ(RGB(192, 192, 192), c.At(20, 20));
    // Disabled without an image: embossed, nothing crashes on a small button.
    dis.itemState = ODS_DISABLED;
    dis.rcItem = CRect(0, 0, 3, 3);
    button.DrawItem(&dis);
}

class BaseDialogTest : public ::testing::Test
{
protected:
    CAppConfig config;
    void SetUp() override { g_pAppConfig = &config; }
    void TearDown() override
    {
        g_pAppConfig = NULL;
        CBaseDialog::SetSolidBackground();
    }
};

COLORREF Background(CBaseDialog& dlg)
{
    Canvas c(20, 20, RGB(1, 2, 3));
    dlg.SendMessage(WM_ERASEBKGND, WPARAM(c.dc.m_hDC));
    return c.At(10, 10);
}

TEST_F(BaseDialogTest, SolidColourWhenDefaultsAreOff)
{
    config.SetUseDefaultColors(FALSE);
    config.SetBkgColor(RGB(10, 200, 30));
    CBaseDialog dlg(IDD_BASEUI_TEST);
    EXPECT_FALSE(CBaseDialog::IsSolidBackground());
    ASSERT_TRUE(dlg.Create(CWnd::GetDesktopWindow()));
    EXPECT_TRUE(CBaseDialog::IsSolidBackground());
    EXPECT_EQ(RGB(10, 200, 30), Background(dlg));
    // A new dialog resets the shared state to the texture until it initialises.
    CBaseDialog second(IDD_BASEUI_TEST);
    EXPECT_FALSE(CBaseDialog::IsSolidBackground());
    EXPECT_EQ(COLORREF(0x99B1BF), CBaseDialog::GetBackgroundColor());
    EXPECT_NE(RGB(10, 200, 30), Background(dlg));
    // OK and Cancel became owner-drawn bitmap buttons.
    EXPECT_TRUE(dlg.GetDlgItem(IDOK)->GetStyle() & BS_OWNERDRAW);
    EXPECT_TRUE(dlg.GetDlgItem(IDCANCEL)->GetStyle() & BS_OWNERDRAW);
    dlg.DestroyWindow();
}

TEST_F(BaseDialogTest, TextureByDefaultAndTooltipsFromStrings)
{
    CBaseDialog dlg(IDD_BASEUI_TEST);
    ASSERT_TRUE(dlg.Create(CWnd::GetDesktopWindow()));
    EXPECT_FALSE(CBaseDialog::IsSolidBackground());
    const COLORREF tex = Background(dlg);
    EXPECT_EQ(GetRValue(tex), GetGValue(tex));  // the grey texture
    EXPECT_NEAR(176, GetRValue(tex), 12);

    TOOLTIPTEXTA ttt = {};
    ttt.hdr.hwndFrom = dlg.m_hWnd;
    ttt.hdr.code = TTN_NEEDTEXTA;
    ttt.uFlags = TTF_IDISHWND;
    ttt.hdr.idFrom = UINT_PTR(dlg.GetDlgItem(IDC_BASEUI_EDIT)->m_hWnd);
    dlg.SendMessage(WM_NOTIFY, ttt.hdr.idFrom, LPARAM(&ttt));
    EXPECT_EQ(MAKEINTRESOURCEA(IDC_BASEUI_EDIT), ttt.lpszText);
    EXPECT_EQ(AfxGetResourceHandle(), ttt.hinst);
    char text[64] = "";
    LoadStringA(ttt.hinst, IDC_BASEUI_EDIT, text, sizeof text);
    EXPECT_STREQ("Type here", text);
    // Not identified by its window: no text.
    TOOLTIPTEXTA byId = ttt;
    byId.uFlags = 0;
    byId.lpszText = NULL;
    dlg.SendMessage(WM_NOTIFY, byId.hdr.idFrom, LPARAM(&byId));
    EXPECT_EQ(nullptr, byId.lpszText);
    dlg.DestroyWindow();
}

}  // namespace

#include "Base3DTab.h"

namespace {

TEST(Base3DTab, InsideReachesFourPixelsFurther)
{
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "tabs", WS_POPUP, CRect(0, 0, 300, 200),
                              NULL, 0));
    CBase3DTab tabs;
    SEC3DTabWnd plain;
    ASSERT_TRUE(tabs.Create(&host, WS_CHILD | WS_VISIBLE | TWS_TABS_ON_BOTTOM, 100));
    ASSERT_TRUE(plain.Create(&host, WS_CHILD | WS_VISIBLE | TWS_TABS_ON_BOTTOM, 101));
    CRect a, b;
    tabs.GetInsideRect(&a);
    plain.GetInsideRect(&b);
    EXPECT_EQ(b.right + 4, a.right);
    EXPECT_EQ(b.left, a.left);
    host.DestroyWindow();
}

}  // namespace
