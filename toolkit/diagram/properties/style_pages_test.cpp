// The Line and Fill pages and the owner-drawn lists of pen styles, widths and hatches: their
// items and values, the value of no selection, item heights, samples drawn on a memory DC, and
// the pages shown in a modeless component sheet driven by the notifications their controls send.
#include "od_page_fixture.h"
#include "../shapes/od_test_canvas.h"
#include "ODGeometry.h"
#include "ODFillProperties.h"
#include "ODLineProperties.h"
#include "ODPropSheet.h"
#include "SECColorWell.h"

namespace {

struct ListHost {
    CWnd wnd;
    ListHost()
    {
        wnd.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, CRect(0, 0, 400, 400), NULL, 0);
    }
    ~ListHost() { wnd.DestroyWindow(); }
    void Make(CListBox& list, DWORD ownerDraw)
    {
        list.Create(WS_CHILD | WS_VSCROLL | LBS_HASSTRINGS | LBS_NOTIFY | ownerDraw,
                    CRect(0, 0, 300, 300), &wnd, 100);
    }
};

CString Texts(CListBox& list)
{
    CString all, text;
    for (int i = 0; i < list.GetCount(); ++i) {
        list.GetText(i, text);
        CString item;
        item.Format("%s=%d;", (LPCTSTR)text, (int)list.GetItemData(i));
        all += item;
    }
    return all;
}

void Draw(CODSampleListBox& list, Canvas& canvas, int item, const CRect& rect)
{
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_LISTBOX;
    dis.itemID = item;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.hwndItem = list.GetSafeHwnd();
    dis.hDC = canvas.dc.GetSafeHdc();
    dis.rcItem = rect;
    list.DrawItem(&dis);
}

}  // namespace

TEST(StyleListBoxes, ItemsValuesAndTheValueOfNoSelection)
{
    ListHost host;
    CODHatchListBox hatch;
    CODLineWidthListBox width;
    CODLineStyleListBox style;
    host.Make(hatch, LBS_OWNERDRAWVARIABLE);
    host.Make(width, LBS_OWNERDRAWFIXED);
    host.Make(style, LBS_OWNERDRAWFIXED);
    struct Case {
        CODSampleListBox* list;
        const char* items;
        int none;
    } cases[] = {
        {&hatch,
         "No Hatch=255;Downward Diagonal=3;Crosshatch=4;Diagonal Crosshatch=5;Upward Diagonal=2;"
         "Horizontal=0;Vertical=1;",
         255},
        {&width,
         "0 Point (1 Pixel)=0;1 Point=1;2 Point=2;3 Point=3;4 Point=4;5 Point=5;6 Point=6;"
         "7 Point=7;8 Point=8;",
         1},
        {&style, "Solid=0;Dashed=1;Dotted=2;Dash-Dot=3;Dash-Dot-Dot=4;", 0},
    };
    for (const Case& c : cases) {
        c.list->Fill();
        EXPECT_STREQ(Texts(*c.list), c.items);
        EXPECT_EQ(c.list->GetSelectedValue(), c.none);
        c.list->SelectValue(3);
        EXPECT_EQ(c.list->GetSelectedValue(), 3) << c.items;
        c.list->SelectValue(9);  // no item has it
        EXPECT_EQ(c.list->GetCurSel(), LB_ERR);
        EXPECT_EQ(c.list->GetSelectedValue(), c.none);
    }
    EXPECT_EQ(hatch.GetForegroundColor(), (COLORREF)0xC00000);
    EXPECT_EQ(hatch.GetBackgroundColor(), (COLORREF)0xFFFFFF);
    EXPECT_FALSE(hatch.GetBackgroundTransparent());
    EXPECT_EQ(width.GetColor(), (COLORREF)0);
}

TEST(StyleListBoxes, HatchItemsAsHighAsTheTextButAtLeast25)
{
    for (int fontHeight : {30, 16}) {
        ListHost host;
        CODHatchListBox hatch;
        host.Make(hatch, LBS_OWNERDRAWVARIABLE);
        CFont font;
        font.CreateFont(fontHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
        hatch.SetFont(&font, FALSE);
        hatch.Fill();
        ASSERT_GT(hatch.GetTextHeight(), 0);
        const int expected = hatch.GetTextHeight() > 25 ? hatch.GetTextHeight() : 25;
        EXPECT_EQ(hatch.GetItemHeight(0), expected) << fontHeight;
        EXPECT_EQ(hatch.GetItemHeight(6), expected);
        if (fontHeight == 16)
            EXPECT_EQ(expected, 25);
        else
            EXPECT_GE(expected, 30);
    }
}

TEST(StyleListBoxes, SamplesDrawnInTheListsColours)
{
    ListHost host;
    const COLORREF red = RGB(255, 0, 0), green = RGB(0, 255, 0);
    const CRect item(0, 0, 200, 24);  // h 24: width and style samples run at y 12

    // Width samples: 8 points as thick as eight points on the screen, 0 points one pixel.
    CODLineWidthListBox width;
    host.Make(width, LBS_OWNERDRAWFIXED);
    width.Fill();
    width.SetColor(red);
    struct Case {
        int item;
        int rows;
    } widths[] = {{8, PointsToLogical(8, NULL, TRUE)}, {0, 1}, {3, PointsToLogical(3, NULL, TRUE)}};
    CClientDC screen(NULL);
    if (screen.GetDeviceCaps(LOGPIXELSY) == 96)
        EXPECT_EQ(widths[0].rows, 10);
    for (const Case& c : widths) {
        Canvas canvas(200, 24);
        Draw(width, canvas, c.item, item);
        int rows = 0;
        for (int y = 0; y < 24; ++y)
            rows += canvas.At(30, y) == red;
        EXPECT_EQ(rows, c.rows) << c.item;
        if (c.item == 0) {  // from left + 8 to left + 3h - 8
            EXPECT_NE(canvas.At(7, 12), red);
            EXPECT_EQ(canvas.At(8, 12), red);
            EXPECT_EQ(canvas.At(63, 12), red);
            EXPECT_NE(canvas.At(64, 12), red);
        }
    }

    // Style sample "Dashed": the row has gaps between x 2 and 3h - 3.
    CODLineStyleListBox style;
    host.Make(style, LBS_OWNERDRAWFIXED);
    style.Fill();
    style.SetColor(red);
    Canvas dashed(200, 24);
    Draw(style, dashed, 1, item);
    int on = 0, off = 0;
    for (int x = 2; x < 69; ++x)
        (dashed.At(x, 12) == red ? on : off)++;
    EXPECT_GT(on, 10);
    EXPECT_GT(off, 5);

    // Hatch sample "Horizontal": the background colour shows between the hatch lines only when
    // the background is opaque.
    CODHatchListBox hatch;
    host.Make(hatch, LBS_OWNERDRAWVARIABLE);
    hatch.Fill();
    hatch.SetForegroundColor(red);
    hatch.SetBackgroundColor(green);
    for (BOOL transparent : {FALSE, TRUE}) {
        hatch.SetBackgroundTransparent(transparent);
        Canvas canvas(200, 24);
        Draw(hatch, canvas, 5, item);
        int greens = 0, reds = 0;
        for (int y = 4; y < 20; ++y)
            for (int x = 4; x < 20; ++x)
                greens += canvas.At(x, y) == green, reds += canvas.At(x, y) == red;
        EXPECT_GT(reds, 0) << transparent;
        EXPECT_EQ(greens > 0, !transparent);
    }
}

namespace {

typedef PageSheet<CODLineCompPP> LineSheet;

void SetLine(CODComponent* c, int style, int points, BOOL transparent = FALSE)
{
    CODLineProperties line;
    c->GetProperty(10, line);
    line.SetStyle(style);
    line.SetWidth(points);
    line.SetTransparent(transparent);
    c->SetOrAddProperty(line);
}

CODLineProperties LineOf(CODComponent* c)
{
    CODLineProperties line;
    c->GetProperty(10, line);
    return line;
}

}  // namespace

TEST(LinePage, ChoosingAStyleOrAWidthDisablesTheOtherList)
{
    struct Case {
        const char* what;
        int style, points;  // the line before
        bool chooseStyle;
        int index;  // chosen item
        int styleOut, widthOut;
        bool styleFlag, widthFlag;
    } cases[] = {
        {"Dashed on a thin line", 0, 0, true, 1, 1, 1, true, false},
        {"3 Point on a thin line", 0, 0, false, 3, 0, 3, false, true},
        {"3 Point on a dotted line", 2, 0, false, 3, 0, 3, true, true},
    };
    for (const Case& c : cases) {
        EditFixture f;
        CODLineComponent* line = f.AddLine(CPoint(10, 100), CPoint(90, 100));
        SetLine(line, c.style, c.points);
        CODComponentSet set;
        set.Add(line);
        LineSheet s(f, set, CODCompPropSheet::pageLine);
        ASSERT_TRUE(s.page->GetSafeHwnd()) << c.what;
        CODLineStyleListBox& styles = s.page->GetStyleList();
        CODLineWidthListBox& widths = s.page->GetWidthList();
        EXPECT_EQ(styles.GetSelectedValue(), c.style) << c.what;
        EXPECT_EQ(widths.GetSelectedValue(), c.points) << c.what;
        if (c.chooseStyle) {
            s.Choose(styles, c.index);
            EXPECT_FALSE(widths.IsWindowEnabled()) << c.what;
        } else {
            // A dotted line's width list starts disabled: a thick line is always solid.
            if (c.style != 0) {
                EXPECT_FALSE(widths.IsWindowEnabled());
                s.Choose(styles, 0);
            }
            s.Choose(widths, c.index);
            EXPECT_FALSE(styles.IsWindowEnabled()) << c.what;
        }
        ODPageRecord r;
    s.Report(r);
        EXPECT_TRUE(r.word0) << c.what;
        EXPECT_EQ(r.Number(1), c.styleOut) << c.what;
        EXPECT_EQ(r.Number(2), c.widthOut) << c.what;
        EXPECT_EQ(!!r.flags[1], c.styleFlag) << c.what;
        EXPECT_EQ(!!r.flags[2], c.widthFlag) << c.what;
        EXPECT_FALSE(r.flags[0]);
        EXPECT_FALSE(r.flags[3]);
        s.sheet.OnOK();
        EXPECT_EQ(LineOf(line).GetStyle(), c.styleFlag ? c.styleOut : c.style) << c.what;
        EXPECT_EQ(LineOf(line).GetWidth(), c.widthFlag ? c.widthOut : c.points) << c.what;
    }
}

TEST(LinePage, AThickLineShowsItsWidthWithTheStyleListDisabled)
{
    EditFixture f;
    CODLineComponent* line = f.AddLine(CPoint(10, 100), CPoint(90, 100));
    SetLine(line, 0, 4);
    CODComponentSet set;
    set.Add(line);
    LineSheet s(f, set, CODCompPropSheet::pageLine);
    EXPECT_FALSE(s.page->GetStyleList().IsWindowEnabled());
    EXPECT_TRUE(s.page->GetWidthList().IsWindowEnabled());
    EXPECT_EQ(s.page->GetWidthList().GetSelectedValue(), 4);
    EXPECT_FALSE(s.AnyChange());  // nothing changed
}

TEST(LinePage, DifferingMembersShowNoSelectionAndAnIndeterminateBox)
{
    EditFixture f;
    CODLineComponent* a = f.AddLine(CPoint(10, 100), CPoint(90, 100));
    CODLineComponent* b = f.AddLine(CPoint(10, 120), CPoint(90, 120));
    SetLine(a, 1, 0, TRUE);
    SetLine(b, 2, 0, FALSE);
    CODComponentSet set;
    set.Add(a);
    set.Add(b);
    LineSheet s(f, set, CODCompPropSheet::pageLine);
    EXPECT_EQ(s.page->GetStyleList().GetCurSel(), LB_ERR);
    CButton* box = s.Box(CODLineCompPP::idTransparent);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->GetCheck(), BST_INDETERMINATE);
    EXPECT_FALSE(s.AnyChange());
    // The first click leaves a two-state box and marks the member changed.
    box->SendMessage(BM_CLICK);
    EXPECT_NE(box->GetCheck(), BST_INDETERMINATE);
    EXPECT_EQ(box->GetButtonStyle() & 0x0F, (UINT)BS_AUTOCHECKBOX);
    ODPageRecord r;
    s.Report(r);
    EXPECT_TRUE(r.word0);
    EXPECT_TRUE(r.flags[3]);
    EXPECT_FALSE(r.flags[1]);
    // Checked: nothing else can be chosen for a line that is not drawn.
    if (box->GetCheck() != BST_CHECKED)
        box->SendMessage(BM_CLICK);
    EXPECT_EQ(box->GetCheck(), BST_CHECKED);
    EXPECT_FALSE(s.page->GetStyleList().IsWindowEnabled());
    EXPECT_FALSE(s.page->GetWidthList().IsWindowEnabled());
    EXPECT_FALSE(s.page->GetColorWell().IsWindowEnabled());
    s.sheet.OnOK();
    EXPECT_TRUE(LineOf(a).GetTransparent());
    EXPECT_TRUE(LineOf(b).GetTransparent());
    EXPECT_EQ(LineOf(a).GetStyle(), 1);  // unchanged members stay as they were
    EXPECT_EQ(LineOf(b).GetStyle(), 2);
}

TEST(LinePage, TheWellsColourReachesTheListsAndIsApplied)
{
    EditFixture f;
    CODLineComponent* line = f.AddLine(CPoint(10, 100), CPoint(90, 100));
    SetLine(line, 0, 0);
    CODComponentSet set;
    set.Add(line);
    LineSheet s(f, set, CODCompPropSheet::pageLine);
    const COLORREF blue = RGB(0, 0, 200);
    s.page->SendMessage(SECCW_COLOR_CHOSEN, CODLineCompPP::idColor, (LPARAM)blue);
    EXPECT_EQ(s.page->GetStyleList().GetColor(), blue);
    EXPECT_EQ(s.page->GetWidthList().GetColor(), blue);
    ODPageRecord r;
    s.Report(r);
    EXPECT_TRUE(r.flags[0]);
    EXPECT_EQ((COLORREF)r.Number(0), blue);
    s.sheet.OnOK();
    EXPECT_EQ(LineOf(line).GetColor(), blue);
    f.Command(ID_EDIT_UNDO);
    EXPECT_NE(LineOf(line).GetColor(), blue);
}

TEST(LinePage, ANotEditableRecordDisablesThePage)
{
    EditFixture f;
    CODLineComponent* line = f.AddLine(CPoint(10, 100), CPoint(90, 100));
    f.model.SetCanEditProperties(FALSE);
    CODComponentSet set;
    set.Add(line);
    LineSheet s(f, set, CODCompPropSheet::pageLine);
    ASSERT_TRUE(s.page->GetSafeHwnd());
    EXPECT_FALSE(s.page->IsWindowEnabled());
}

namespace {

typedef PageSheet<CODFillCompPP> FillSheet;

CODFillProperties FillOf(CODComponent* c)
{
    CODFillProperties fill;
    c->GetProperty(20, fill);
    return fill;
}

void SetFill(CODComponent* c, COLORREF colour, BOOL transparent)
{
    CODFillProperties fill;
    c->GetProperty(20, fill);
    fill.SetColor(colour);
    fill.SetTransparent(transparent);
    c->SetOrAddProperty(fill);
}

}  // namespace

TEST(FillPage, HatchAndColoursChosenAreAppliedAndUndone)
{
    EditFixture f;
    CODRectComponent* r = f.AddRect(10, 10, 90, 90);
    SetFill(r, RGB(0, 0, 0), FALSE);
    CODComponentSet set;
    set.Add(r);
    const int bkMode = FillOf(r).GetBkMode();  // 1: transparent
    FillSheet s(f, set, CODCompPropSheet::pageFill);
    ASSERT_TRUE(s.page->GetSafeHwnd());
    CODHatchListBox& hatch = s.page->GetHatchList();
    EXPECT_EQ(hatch.GetBackgroundTransparent(), bkMode == 1);
    EXPECT_EQ(hatch.GetSelectedValue(), 255);  // a solid fill
    EXPECT_FALSE(s.AnyChange());
    s.Choose(hatch, 2);  // "Crosshatch"
    const COLORREF orange = RGB(250, 120, 0);
    s.page->SendMessage(SECCW_COLOR_CHOSEN, CODFillCompPP::idForeground, (LPARAM)orange);
    EXPECT_EQ(hatch.GetForegroundColor(), orange);
    s.Box(CODFillCompPP::idTransparentBackground)->SendMessage(BM_CLICK);
    EXPECT_EQ(hatch.GetBackgroundTransparent(), bkMode != 1);
    ODPageRecord rec;
    s.Report(rec);
    EXPECT_TRUE(rec.flags[0] && rec.flags[2] && rec.flags[4]);
    EXPECT_FALSE(rec.flags[1] || rec.flags[3]);
    EXPECT_EQ(rec.Number(2), HS_CROSS);
    s.sheet.OnOK();
    EXPECT_EQ(FillOf(r).GetColor(), orange);
    EXPECT_EQ(FillOf(r).GetHatchStyle(), HS_CROSS);
    EXPECT_EQ(FillOf(r).GetBkMode(), bkMode == 1 ? 2 : 1);
    f.Command(ID_EDIT_UNDO);
    EXPECT_EQ(FillOf(r).GetColor(), RGB(0, 0, 0));
    EXPECT_EQ(FillOf(r).GetBkMode(), bkMode);
}

TEST(FillPage, AMixedTransparentFillTurnsTwoStateAndDisablesTheFillChoices)
{
    EditFixture f;
    CODRectComponent* a = f.AddRect(10, 10, 50, 50);
    CODRectComponent* b = f.AddRect(60, 10, 90, 50);
    SetFill(a, RGB(255, 0, 0), TRUE);
    SetFill(b, RGB(255, 0, 0), FALSE);
    CODComponentSet set;
    set.Add(a);
    set.Add(b);
    FillSheet s(f, set, CODCompPropSheet::pageFill);
    CButton* box = s.Box(CODFillCompPP::idTransparentFill);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->GetCheck(), BST_INDETERMINATE);
    box->SendMessage(BM_CLICK);
    EXPECT_EQ(box->GetButtonStyle() & 0x0F, (UINT)BS_AUTOCHECKBOX);
    if (box->GetCheck() != BST_CHECKED)
        box->SendMessage(BM_CLICK);
    EXPECT_FALSE(s.page->GetHatchList().IsWindowEnabled());
    EXPECT_FALSE(s.page->GetDlgItem(CODFillCompPP::idForeground)->IsWindowEnabled());
    EXPECT_FALSE(s.page->GetDlgItem(CODFillCompPP::idTransparentBackground)->IsWindowEnabled());
    ODPageRecord rec;
    s.Report(rec);
    EXPECT_TRUE(rec.flags[3]);
    EXPECT_FALSE(rec.flags[0]);
    s.sheet.OnOK();
    EXPECT_TRUE(FillOf(a).GetTransparent());
    EXPECT_TRUE(FillOf(b).GetTransparent());
}
