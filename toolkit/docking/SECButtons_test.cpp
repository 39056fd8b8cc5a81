// Owner-drawn buttons drawn into DIB sections (frame, well box, arrow, separator, pressed
// offset, disabled look), bitmap-button layouts, the menu button, and the colour-well popup
// driven by keys and clicks: notifications, one popup at a time, Escape, clicks outside.
#include "gtest_wine.h"
#include "SECBitmapDialog.h"
#include "SECButtons.h"
#include "image_test_util.h"
#include "SECResource.h"
#include <vector>

namespace {

// A click outside a popup goes on to the window under the pointer: other test programs'
// windows must not lie there.
const bool g_onOwnDesktop = RunOnOwnDesktop("QuorvelSECButtonsTests");

const COLORREF kWellColour = RGB(20, 200, 90);

class Canvas {
public:
    Canvas(int cx, int cy) : cx(cx)
    {
        BITMAPINFO bi = {};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), cx, -cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        bitmap = CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, (void**)&bits, NULL, 0);
        dc = CreateCompatibleDC(NULL);
        old = SelectObject(dc, bitmap);
    }
    ~Canvas()
    {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    COLORREF At(int x, int y) const
    {
        DWORD v = bits[y * cx + x];
        return RGB((v >> 16) & 255, (v >> 8) & 255, v & 255);
    }
    int cx;
    HDC dc;
    DWORD* bits = nullptr;
    HBITMAP bitmap;
    HGDIOBJ old;
};

// A dialog that records what its children tell it.
class Host : public CDialog {
public:
    Host() : CDialog(200) {}
    struct Note { UINT message; WPARAM wParam; LPARAM lParam; };
    std::vector<Note> notes;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == SECCW_COLOR_CHOSEN || message == WM_COMMAND)
            notes.push_back({message, wParam, lParam});
        return CDialog::WindowProc(message, wParam, lParam);
    }
};

// A button that records the clicks that reach it.
class Target : public CButton {
public:
    std::vector<CPoint> downs;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_LBUTTONDOWN)
            downs.push_back(CPoint(LOWORD(lParam), HIWORD(lParam)));
        return CButton::WindowProc(message, wParam, lParam);
    }
};

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

class ButtonsTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.Create(200));
        ASSERT_TRUE(well.BindDialogItem(201, &host));
        well.SetColor(kWellColour);
        ASSERT_TRUE(target.SubclassDlgItem(203, &host));
    }
    void TearDown() override { host.DestroyWindow(); }
    SECPopupColorWell* OpenPopup()
    {
        well.DoClick();
        SECPopupColorWell* popup = well.GetPopup();
        EXPECT_NE(popup->m_hWnd, nullptr);
        EXPECT_TRUE(popup->IsActive());
        return popup;
    }
    Host host;
    SECWellButton well;
    Target target;
};

}  // namespace

TEST_F(ButtonsTest, WellButtonDrawing)
{
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    struct Case { UINT state; bool box; int shift; } cases[] = {
        {0, true, 0}, {ODS_SELECTED, true, 1}, {ODS_DISABLED, false, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        Canvas canvas(60, 22);
        DRAWITEMSTRUCT dis = {ODT_BUTTON, 201, 0, ODA_DRAWENTIRE, c.state, well.m_hWnd, canvas.dc,
                              {0, 0, 60, 22}, 0};
        well.DrawItem(&dis);
        // content: (2, 2, 58, 20) less a pixel right and bottom when not pressed, the same
        // moved a pixel right and down when pressed
        const int left = 2 + c.shift, top = 2 + c.shift;
        const int right = c.shift ? 59 : 57, bottom = c.shift ? 21 : 19;
        if (c.box) {
            EXPECT_EQ(canvas.At(left + 3, top + 2), RGB(0, 0, 0));            // box frame
            EXPECT_EQ(canvas.At(right - 14, bottom - 3), RGB(0, 0, 0));
            EXPECT_EQ(canvas.At(left + 4, top + 3), kWellColour);             // inside
            EXPECT_EQ(canvas.At(right - 15, bottom - 4), kWellColour);
            EXPECT_EQ(canvas.At(right - 13, top + 5), face);                  // after the box
            EXPECT_EQ(canvas.At(right - 10, top + 5), GetSysColor(COLOR_BTNSHADOW));
            EXPECT_EQ(canvas.At(right - 9, top + 5), GetSysColor(COLOR_BTNHIGHLIGHT));
            int arrow = top + (bottom - top - 3) / 2;
            EXPECT_EQ(canvas.At(right - 7, arrow), RGB(0, 0, 0));
            EXPECT_EQ(canvas.At(right - 3, arrow), RGB(0, 0, 0));
            EXPECT_EQ(canvas.At(right - 5, arrow + 2), RGB(0, 0, 0));
            EXPECT_EQ(canvas.At(right - 7, arrow + 2), face);
        } else {
            for (int y = 0; y < 22; y++)
                for (int x = 0; x < 60; x++)
                    ASSERT_NE(canvas.At(x, y), kWellColour) << x << "," << y;
            // the arrow and separator are still there, embossed
            int arrow = top + (bottom - top - 3) / 2;
            EXPECT_NE(canvas.At(right - 5, arrow), face);
            EXPECT_NE(canvas.At(right - 10, top + 5), face);
        }
    }
    // the frame: new look highlight outside top-left, old look a border without corners
    Canvas canvas(60, 22);
    DRAWITEMSTRUCT dis = {ODT_BUTTON, 201, 0, ODA_DRAWENTIRE, 0, well.m_hWnd, canvas.dc, {0, 0, 60, 22}, 0};
    well.DrawItem(&dis);
    EXPECT_EQ(canvas.At(0, 5), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(canvas.At(59, 5), GetSysColor(COLOR_WINDOWFRAME));
    well.m_bNewLook = FALSE;
    Canvas old(60, 22);
    dis.hDC = old.dc;
    well.DrawItem(&dis);
    EXPECT_EQ(old.At(0, 0), face);
    EXPECT_EQ(old.At(0, 5), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(old.At(1, 5), GetSysColor(COLOR_BTNHIGHLIGHT));
}

TEST_F(ButtonsTest, PopupChoosesNotifiesAndCloses)
{
    SECPopupColorWell* popup = OpenPopup();
    HWND first = popup->m_hWnd;
    EXPECT_EQ(GetCapture(), first);
    well.DoClick();  // no second popup
    EXPECT_EQ(popup->m_hWnd, first);
    // the current colour is not in the grid: it sits in the custom cell
    EXPECT_TRUE(popup->IsCustomShown());
    EXPECT_EQ(popup->GetColor(), kWellColour);

    popup->SendMessage(WM_KEYDOWN, VK_RIGHT);  // custom cell -> first cell (black)
    EXPECT_TRUE(host.notes.empty());            // keys only move
    popup->SendMessage(WM_KEYDOWN, VK_RETURN);
    popup->SendMessage(WM_KEYUP, VK_RETURN);
    EXPECT_EQ(popup->m_hWnd, nullptr);
    ASSERT_EQ(host.notes.size(), 1u);
    EXPECT_EQ(host.notes[0].wParam, 201u);
    EXPECT_EQ((COLORREF)host.notes[0].lParam, RGB(0, 0, 0));
    EXPECT_EQ(well.GetColor(), RGB(0, 0, 0));
    EXPECT_NE(GetCapture(), first);

    // Escape closes without a word
    popup = OpenPopup();
    popup->SendMessage(WM_KEYDOWN, VK_DOWN);
    popup->SendMessage(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(popup->m_hWnd, nullptr);
    EXPECT_EQ(host.notes.size(), 1u);
    EXPECT_EQ(well.GetColor(), RGB(0, 0, 0));

    // a click on a cell chooses it
    popup = OpenPopup();
    CRect cell = popup->CellRect(0, 4);  // row 5: red, green, yellow, blue ... in the default grid
    popup->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(cell.left + 2, cell.top + 2));
    EXPECT_EQ(popup->m_hWnd, nullptr);
    ASSERT_EQ(host.notes.size(), 2u);
    EXPECT_EQ((COLORREF)host.notes[1].lParam, SECColorWell::s_defaultColors[16]);
}

TEST_F(ButtonsTest, ClicksOutsideThePopup)
{
    SECPopupColorWell* popup = OpenPopup();
    // over the opening button: the popup stays
    CRect button;
    well.GetWindowRect(&button);
    CPoint p(button.left + 3, button.top + 3);
    popup->ScreenToClient(&p);
    popup->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(p.x, p.y));
    EXPECT_NE(popup->m_hWnd, nullptr);
    // elsewhere: it closes and the click reaches the window there, in its own coordinates
    CRect other;
    target.GetWindowRect(&other);
    p = CPoint(other.left + 7, other.top + 4);
    popup->ScreenToClient(&p);
    popup->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    EXPECT_EQ(popup->m_hWnd, nullptr);
    Pump();
    ASSERT_EQ(target.downs.size(), 1u);
    EXPECT_EQ(target.downs[0], CPoint(7, 4));
    EXPECT_TRUE(host.notes.empty());
    if (GetCapture() == target.m_hWnd)
        ReleaseCapture();
}

namespace {

// Presses OK in the colour dialog once it is up (or Cancel after five seconds).
struct ColourDialogOk {
    static BOOL CALLBACK Find(HWND hWnd, LPARAM found)
    {
        char cls[16] = "";
        GetClassNameA(hWnd, cls, sizeof cls);
        if (lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(hWnd) && GetDlgItem(hWnd, 706) != NULL)
            *(HWND*)found = hWnd;
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD)
    {
        HWND dialog = NULL;
        EnumThreadWindows(GetCurrentThreadId(), Find, (LPARAM)&dialog);
        if (dialog == NULL)
            return;
        KillTimer(NULL, id);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    }
};

}  // namespace

TEST_F(ButtonsTest, OtherColourGoesThroughTheColourDialog)
{
    well.SetColor(RGB(12, 34, 56));
    UINT_PTR timer = SetTimer(NULL, 0, 50, ColourDialogOk::Tick);
    well.SendMessage(SECCW_OTHER_COLOR);
    KillTimer(NULL, timer);
    ASSERT_EQ(host.notes.size(), 1u);
    EXPECT_EQ(host.notes[0].wParam, 201u);
    EXPECT_EQ((COLORREF)host.notes[0].lParam, RGB(12, 34, 56));
}

TEST(SECPopupColorWell, OtherButtonAsksForTheColourDialog)
{
    Host host;
    ASSERT_TRUE(host.Create(200));
    struct Asker : public CWnd {
        int asked = 0;
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message == SECCW_OTHER_COLOR)
                asked++;
            return CWnd::WindowProc(message, wParam, lParam);
        }
    } asker;
    ASSERT_TRUE(asker.SubclassDlgItem(203, &host));
    CRect rc;
    asker.GetWindowRect(&rc);
    SECPopupColorWell popup;
    ASSERT_TRUE(popup.CreatePopup(WS_VISIBLE, rc, &asker, TRUE, RGB(255, 0, 0), FALSE));
    ASSERT_NE(popup.GetOtherButton(), nullptr);
    CRect other;
    popup.GetOtherButton()->GetWindowRect(&other);
    popup.ScreenToClient(&other);
    popup.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(other.left + 2, other.top + 2));
    EXPECT_EQ(popup.m_hWnd, nullptr);
    Pump();
    EXPECT_EQ(asker.asked, 1);
    asker.UnsubclassWindow();
    host.DestroyWindow();
}

TEST(SECPopupColorWell, PlacementAtTheScreenEdges)
{
    const CRect screen(0, 0, 800, 600);
    const CSize size(100, 120);
    struct Case { CRect button; CPoint at; } cases[] = {
        {CRect(10, 10, 60, 30), CPoint(10, 30)},        // below, left-aligned
        {CRect(10, 500, 60, 520), CPoint(10, 380)},     // near the bottom: above
        {CRect(750, 10, 790, 30), CPoint(690, 30)},     // near the right: right-aligned
        {CRect(750, 500, 790, 520), CPoint(690, 380)},  // the corner: above, right-aligned
        {CRect(10, 460, 60, 480), CPoint(10, 480)},     // just fits
    };
    for (const Case& c : cases)
        EXPECT_EQ(SECPopupColorWell::PlacePopup(c.button, size, screen), c.at);
}

TEST(SECColorWell, KeysSelectionAndCustomCell)
{
    Host host;
    ASSERT_TRUE(host.Create(200));
    SECColorWell grid;
    ASSERT_TRUE(grid.Create(WS_VISIBLE, CRect(5, 50, 5, 50), &host, 210, TRUE));
    ASSERT_NE(grid.GetOtherButton(), nullptr);
    CSize size = grid.WindowSize();
    CRect rc;
    grid.GetClientRect(&rc);
    EXPECT_EQ(rc.Size(), size);
    EXPECT_EQ(size.cx, 2 * grid.m_nBorderX + 4 * (grid.m_nCellWidth + 2) - 2);
    EXPECT_EQ(grid.m_nBorderX, 3);  // 2, and 1 for the focus frame

    // the default colours, and a colour not in the grid
    grid.SelectColor(RGB(255, 0, 0));
    EXPECT_EQ(grid.GetSelectedColumn(), 1);
    EXPECT_EQ(grid.GetSelectedRow(), 3);
    SECColorWell plain;
    plain.Create(WS_VISIBLE, CRect(100, 50, 100, 50), &host, 211, FALSE);
    plain.SelectColor(RGB(1, 2, 3));  // without the other button: unchanged
    EXPECT_EQ(plain.GetSelectedColumn(), 1);
    EXPECT_EQ(plain.GetSelectedRow(), 1);
    EXPECT_FALSE(plain.IsCustomShown());
    CRect before;
    grid.GetOtherButton()->GetWindowRect(&before);
    grid.SelectColor(RGB(1, 2, 3));
    EXPECT_TRUE(grid.IsCustomShown());
    EXPECT_EQ(grid.GetSelectedRow(), 5);
    EXPECT_EQ(grid.GetColor(), RGB(1, 2, 3));
    CRect after;
    grid.GetOtherButton()->GetWindowRect(&after);
    EXPECT_EQ(after.Width(), before.Width() - grid.m_nCellWidth - 2);

    struct Case { int col, row; UINT key; int toCol, toRow; } moves[] = {
        {1, 1, VK_LEFT, 0, 1},  {0, 1, VK_LEFT, 3, 0},  {0, 0, VK_LEFT, 3, 5},
        {3, 5, VK_LEFT, 3, 4},  {2, 1, VK_RIGHT, 3, 1}, {3, 1, VK_RIGHT, 0, 2},
        {3, 4, VK_RIGHT, 3, 5}, {3, 5, VK_RIGHT, 0, 0}, {2, 2, VK_UP, 2, 1},
        {2, 0, VK_UP, 2, 4},    {3, 0, VK_UP, 3, 5},    {2, 4, VK_DOWN, 2, 0},
        {3, 4, VK_DOWN, 3, 5},  {3, 5, VK_DOWN, 3, 0},  {1, 1, VK_HOME, -1, -1},
    };
    for (const Case& m : moves) {
        grid.m_nSelCol = m.col;
        grid.m_nSelRow = m.row;
        int c = -1, r = -1;
        EXPECT_EQ(grid.MoveFrom(m.key, c, r), m.toCol >= 0) << m.col << m.row << m.key;
        EXPECT_EQ(CPoint(c, r), CPoint(m.toCol, m.toRow)) << m.col << m.row << m.key;
    }
    // without the custom cell the ends wrap around the grid
    plain.m_nSelCol = 0, plain.m_nSelRow = 0;
    int c, r;
    plain.MoveFrom(VK_LEFT, c, r);
    EXPECT_EQ(CPoint(c, r), CPoint(3, 4));
    plain.m_nSelCol = 3, plain.m_nSelRow = 4;
    plain.MoveFrom(VK_RIGHT, c, r);
    EXPECT_EQ(CPoint(c, r), CPoint(0, 0));
    plain.MoveFrom(VK_DOWN, c, r);
    EXPECT_EQ(CPoint(c, r), CPoint(3, 0));

    // a key moves and tells the parent
    host.notes.clear();
    grid.m_nSelCol = 0, grid.m_nSelRow = 0;
    grid.SendMessage(WM_KEYDOWN, VK_RIGHT);
    ASSERT_EQ(host.notes.size(), 1u);
    EXPECT_EQ(host.notes[0].wParam, 210u);
    EXPECT_EQ((COLORREF)host.notes[0].lParam, SECColorWell::s_defaultColors[1]);

    // data exchange on the well and on a well button
    COLORREF value = RGB(0, 0, 255);
    CDataExchange load(&host, FALSE);
    DDX_ColorWell(&load, 210, value);
    EXPECT_EQ(grid.GetColor(), RGB(0, 0, 255));
    SECWellButton button;
    button.BindDialogItem(201, &host);
    DDX_ColorWell(&load, 201, value);
    EXPECT_EQ(button.GetColor(), RGB(0, 0, 255));
    button.SetColor(RGB(9, 9, 9));
    CDataExchange save(&host, TRUE);
    DDX_ColorWell(&save, 201, value);
    EXPECT_EQ(value, RGB(9, 9, 9));
    host.DestroyWindow();
}

TEST(SECBitmapButton, LayoutsAndFitting)
{
    const CRect client(0, 0, 100, 40);
    const CSize image(16, 10);
    struct Case { int layout; CRect image, text; } cases[] = {
        {0, CRect(5, 13, 21, 23), CRect(22, 0, 97, 37)},
        {1, CRect(76, 13, 92, 23), CRect(0, 0, 75, 37)},
        {2, CRect(40, 5, 56, 15), CRect(0, 16, 97, 37)},
        {3, CRect(40, 22, 56, 32), CRect(0, 0, 97, 21)},
        {4, CRect(40, 13, 56, 23), CRect(0, 0, 0, 0)},
    };
    for (const Case& c : cases) {
        CRect img, text;
        SECBitmapButton::ComputeLayout(client, image, 5, 5, c.layout, img, text);
        EXPECT_EQ(img, c.image) << c.layout;
        EXPECT_EQ(text.IsRectEmpty() ? CRect() : text, c.text) << c.layout;
    }
    // an image larger than the client is clipped to it
    CRect img, text;
    SECBitmapButton::ComputeLayout(CRect(0, 0, 10, 10), CSize(30, 30), 5, 5, 4, img, text);
    EXPECT_EQ(img, CRect(0, 0, 10, 10));

    const CSize words(30, 12);
    struct Fit { int layout; CSize size; } fits[] = {
        {0, CSize(16 + 30 + 5 + 13, 12 + 13)}, {1, CSize(16 + 30 + 5 + 13, 12 + 13)},
        {2, CSize(30 + 13, 10 + 12 + 5 + 13)}, {3, CSize(30 + 13, 10 + 12 + 5 + 13)},
        {4, CSize(16 + 13, 10 + 5 + 13)},
    };
    for (const Fit& f : fits)
        EXPECT_EQ(SECBitmapButton::FitSize(image, f.layout == 4 ? CSize(0, 0) : words, f.layout, 5, 5),
                  f.size) << f.layout;

    Host host;
    ASSERT_TRUE(host.Create(200));
    SECBitmapButton button;
    ASSERT_TRUE(button.BindDialogItem(204, SECBitmapButton::imageOnly,
                                      MAKEINTRESOURCE(IDB_SEC_MENUARROW_DOWN), &host));
    EXPECT_EQ(button.GetImageSize(), CSize(9, 6));
    button.FitToContent();
    CRect rc;
    button.GetWindowRect(&rc);
    EXPECT_EQ(rc.Size(), CSize(9 + 13, 6 + 5 + 13));
    // a failed change keeps the image
    EXPECT_FALSE(button.ChangeBitmap(MAKEINTRESOURCE(1)));
    EXPECT_EQ(button.GetImageSize(), CSize(9, 6));
    EXPECT_TRUE(button.ChangeBitmap(MAKEINTRESOURCE(IDB_SEC_MENUARROW_RIGHT)));
    EXPECT_EQ(button.GetImageSize(), CSize(6, 9));
    SECBitmapButton missing;
    EXPECT_FALSE(missing.BindDialogItem(202, 0, MAKEINTRESOURCE(1), &host));
    EXPECT_EQ(missing.m_hWnd, nullptr);

    // drawn: the image at its place, pressed one pixel further
    button.SetLayout(SECBitmapButton::imageOnly);
    CRect client2;
    button.GetClientRect(&client2);
    for (UINT state : {0u, (UINT)ODS_SELECTED}) {
        Canvas canvas(client2.Width(), client2.Height());
        DRAWITEMSTRUCT dis = {ODT_BUTTON, 204, 0, ODA_DRAWENTIRE, state, button.m_hWnd, canvas.dc, client2, 0};
        button.DrawItem(&dis);
        CPoint arrow = button.GetImageRect().TopLeft() + CPoint(2, 3);  // inside the right arrow
        if (state)
            arrow += CPoint(1, 1);
        EXPECT_EQ(canvas.At(arrow.x, arrow.y), GetSysColor(COLOR_BTNTEXT)) << state;
    }
    host.DestroyWindow();
}

namespace {

// Chooses the first item of the menu that opens; gives up (closing the menu) after five
// seconds.
struct Chooser {
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD)
    {
        HWND menu = FindWindowA("#32768", NULL);
        if (menu == NULL)
            return;
        KillTimer(NULL, id);
        PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    }
    static void CALLBACK Give(HWND, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(NULL, id);
        EndMenu();  // a menu that did not react: the test fails instead of hanging
    }
};

}  // namespace

TEST(SECMenuButton, CaptionsArrowsAndMissingPopups)
{
    Host host;
    ASSERT_TRUE(host.Create(200));
    SECMenuButton withText, withoutText;
    ASSERT_TRUE(withText.BindDialogItem(202, 300, &host));
    EXPECT_EQ(withText.GetLayout(), SECBitmapButton::imageRight);
    SetDlgItemTextA(host.m_hWnd, 201, "");
    ASSERT_TRUE(withoutText.BindDialogItem(201, 301, &host));
    EXPECT_EQ(withoutText.GetLayout(), SECBitmapButton::imageOnly);
    EXPECT_EQ(withoutText.GetImageSize(), CSize(9, 6));
    withoutText.SetMenuToRight(TRUE);
    EXPECT_TRUE(withoutText.IsMenuToRight());
    EXPECT_EQ(withoutText.GetImageSize(), CSize(6, 9));
    withoutText.DoClick();  // its menu has no popup: nothing happens

    // with a popup: the menu opens (modal) and the item chosen reaches the parent
    UINT_PTR timer = SetTimer(NULL, 0, 50, Chooser::Tick);
    UINT_PTR guard = SetTimer(NULL, 0, 5000, Chooser::Give);
    withText.DoClick();
    KillTimer(NULL, timer);
    KillTimer(NULL, guard);
    Pump();
    bool chosen = false;
    for (const auto& n : host.notes)
        chosen |= n.message == WM_COMMAND && LOWORD(n.wParam) == 301;
    EXPECT_TRUE(chosen);
    SECMenuButton none;
    none.DoClick();
    EXPECT_EQ(SECMenuButton::MenuPosition(CRect(10, 20, 50, 40), FALSE), CPoint(10, 40));
    EXPECT_EQ(SECMenuButton::MenuPosition(CRect(10, 20, 50, 40), TRUE), CPoint(50, 20));
    host.DestroyWindow();
}

// Not a check: shows the buttons on a tiled background with the colour popup open, for a
// screenshot under a real display (run with --gtest_also_run_disabled_tests; the seconds
// to stay open come from QUORVEL_SHOWCASE_SECONDS, 5 unless set).
TEST(SECButtonsShowcase, DISABLED_Show)
{
    SECBitmapDialog dlg(200);
    auto tile = MakePatternImage(24, 16, 16, [](int i, int y) {
        return BYTE(((i / 3 + y) & 8) ? 230 : 200 - (i % 3) * 20);
    });
    dlg.SetBitmapImage(tile.get(), SECBitmapDialog::tile);
    ASSERT_TRUE(dlg.Create(200));
    dlg.SetWindowPos(NULL, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SECWellButton well;
    well.BindDialogItem(201, &dlg);
    well.SetColor(RGB(200, 40, 40));
    SECMenuButton menu;
    menu.BindDialogItem(202, 300, &dlg);
    SECBitmapButton bitmap;
    bitmap.BindDialogItem(204, SECBitmapButton::imageLeft, MAKEINTRESOURCE(IDB_SEC_MENUARROW_RIGHT), &dlg);
    dlg.ShowWindow(SW_SHOW);
    dlg.UpdateWindow();
    well.DoClick();
    const char* env = getenv("QUORVEL_SHOWCASE_SECONDS");
    DWORD end = GetTickCount() + 1000 * (env != NULL ? atoi(env) : 5);
    while (GetTickCount() < end) {
        Pump();
        Sleep(20);
    }
    // With QUORVEL_SHOWCASE_FILE set, the screen as a bitmap file.
    if (const char* file = getenv("QUORVEL_SHOWCASE_FILE")) {
        HDC screen = ::GetDC(NULL);
        int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
        CBitmap shot;
        shot.Attach(CreateCompatibleBitmap(screen, cx, cy));
        HDC mem = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(mem, shot.GetSafeHandle());
        BitBlt(mem, 0, 0, cx, cy, screen, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
        ::ReleaseDC(NULL, screen);
        SECDib image;
        EXPECT_TRUE(image.CreateFromBitmap(NULL, &shot));
        EXPECT_TRUE(image.SaveImage(file));
    }
    dlg.DestroyWindow();
}
