// The Font page: the families Wine finds (each once, TrueType ones marked), the styles and sizes
// of the chosen family, mixed selections, sizes that are not listed, faces that are not
// installed, and the changes it reports and the sheet applies.
#include "od_page_fixture.h"
#include "../shapes/od_test_canvas.h"
#include "ODFontProperties.h"
#include "ODTextComponent.h"

namespace {

typedef PageSheet<CODFontCompPP> FontSheet;

int CALLBACK FirstTrueType(const LOGFONTA* font, const TEXTMETRICA*, DWORD type, LPARAM found)
{
    if (!(type & TRUETYPE_FONTTYPE) || font->lfFaceName[0] == '@')
        return 1;
    *(CString*)found = font->lfFaceName;
    return 0;
}

// A TrueType family of this machine.
CString TrueTypeFace()
{
    CString face;
    HDC dc = ::GetDC(NULL);
    ::EnumFontFamiliesA(dc, NULL, (FONTENUMPROCA)FirstTrueType, (LPARAM)&face);
    ::ReleaseDC(NULL, dc);
    return face;
}

struct TextFont {
    CString face;
    int points = 10;
    int weight = 400;
    BOOL italic = FALSE;
    BOOL underline = FALSE;
};

CODTextComponent* AddText(EditFixture& f, const TextFont& look, int y = 100)
{
    MvcClientDC dc(&f.view, 1);
    CODTextComponent* text = new CODTextComponent;
    f.view.ApplyDefaultProperties(text);
    text->Create(100, y, &dc);
    CODFontProperties font;
    text->GetProperty(30, font);
    font.SetFaceName(look.face);
    font.SetPointSize(look.points, &dc);
    font.SetWeight(look.weight);
    font.SetItalic(look.italic);
    font.SetUnderline(look.underline);
    text->SetOrAddProperty(font);
    f.controller->InsertComponent(text);
    return text;
}

CODFontProperties FontOf(CODComponent* c)
{
    CODFontProperties font;
    c->GetProperty(30, font);
    return font;
}

CString Selected(CListBox& list)
{
    CString text;
    if (list.GetCurSel() >= 0)
        list.GetText(list.GetCurSel(), text);
    return text;
}

int ScreenDpi()
{
    CClientDC dc(NULL);
    return dc.GetDeviceCaps(LOGPIXELSY);
}

}  // namespace

TEST(FontPage, FamiliesListedOnceEachWithTheTrueTypeMark)
{
    const CString face = TrueTypeFace();
    ASSERT_FALSE(face.IsEmpty());
    EditFixture f;
    TextFont look;
    look.face = face;
    CODComponentSet set;
    set.Add(AddText(f, look));
    FontSheet s(f, set, CODCompPropSheet::pageFont);
    CODFontNameListBox& names = s.page->GetNameList();
    ASSERT_GT(names.GetCount(), 0);
    for (int i = 0; i < names.GetCount(); ++i) {
        CString text;
        names.GetText(i, text);
        ASSERT_NE(names.GetLogFont(i), nullptr);
        EXPECT_STREQ(names.GetLogFont(i)->lfFaceName, text);
        EXPECT_EQ(names.FindStringExact(i, text), i) << text;  // no second item of the name
    }
    const int index = names.FindStringExact(-1, face);
    ASSERT_GE(index, 0);
    EXPECT_TRUE(names.GetFontType(index) & TRUETYPE_FONTTYPE);

    // Names compared whole: a family that begins another's name is listed as well.
    LOGFONTA added = {};
    lstrcpyA(added.lfFaceName, "Zq Test Face Wide");
    EXPECT_GE(names.AddFamily(&added, TRUETYPE_FONTTYPE), 0);
    lstrcpyA(added.lfFaceName, "Zq Test Face");
    const int shorter = names.AddFamily(&added, RASTER_FONTTYPE);
    EXPECT_GE(shorter, 0);
    lstrcpyA(added.lfFaceName, "zq test face");
    EXPECT_EQ(names.AddFamily(&added, RASTER_FONTTYPE), -1);

    // The mark: drawn through its mask (no key colour), beside a TrueType name only.
    const int unit = LOWORD(::GetDialogBaseUnits()) / 4;
    for (int item : {index, names.FindStringExact(-1, "Zq Test Face")}) {
        Canvas canvas(200, 20, 0x00FF00);
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_LISTBOX;
        dis.itemID = item;
        dis.hwndItem = names.GetSafeHwnd();
        dis.hDC = canvas.dc.GetSafeHdc();
        dis.rcItem = CRect(0, 0, 200, 20);
        names.DrawItem(&dis);
        int key = 0, black = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = unit; x < unit + 20; ++x)
                key += canvas.At(x, y) == RGB(255, 0, 255), black += canvas.At(x, y) == 0;
        EXPECT_EQ(key, 0);
        EXPECT_EQ(black > 0, item == index) << item;
    }
}

TEST(FontPage, ARecordsStyleAndSizeAreSelectedAndDrawnInTheSample)
{
    struct Case {
        int weight;
        BOOL italic;
        int points;
        const char* style;
        bool sizeListed;
    } cases[] = {{700, TRUE, 12, "Bold Italic", true}, {400, FALSE, 13, "Regular", false},
                 {700, FALSE, 48, "Bold", true}};
    const CString face = TrueTypeFace();
    for (const Case& c : cases) {
        EditFixture f;
        TextFont look;
        look.face = face;
        look.weight = c.weight;
        look.italic = c.italic;
        look.points = c.points;
        CODComponentSet set;
        set.Add(AddText(f, look));
        FontSheet s(f, set, CODCompPropSheet::pageFont);
        EXPECT_STREQ(Selected(s.page->GetNameList()), face);
        // A TrueType family with a regular face offers all four styles.
        EXPECT_EQ(s.page->GetStyleList().GetCount(), 4);
        EXPECT_STREQ(Selected(s.page->GetStyleList()), c.style);
        EXPECT_EQ(s.page->GetSizeList().GetCurSel() >= 0, c.sizeListed) << c.points;
        LOGFONTA sample;
        ASSERT_TRUE(s.page->GetSampleFont().GetLogFont(&sample));
        EXPECT_EQ(sample.lfWeight, c.weight >= 700 ? 700 : 400);
        EXPECT_EQ(!!sample.lfItalic, !!c.italic);
        // A size that is not listed is drawn at its own points, not at the first size.
        EXPECT_EQ(sample.lfHeight, ::MulDiv(-ScreenDpi(), c.points, 72)) << c.points;
        EXPECT_FALSE(s.AnyChange());

        // Another change reports the size as it was.
        s.Box(CODFontCompPP::idUnderline)->SendMessage(BM_CLICK);
        ODPageRecord r;
        s.Report(r);
        EXPECT_TRUE(r.word0);
        EXPECT_TRUE(r.flags[4]);
        EXPECT_FALSE(r.flags[1]);
        EXPECT_EQ(r.Number(1), c.points);
        s.sheet.OnOK();
        EXPECT_TRUE(FontOf(set[0]).GetUnderline());
        EXPECT_EQ(FontOf(set[0]).GetPointSize(), c.points);
    }
}

TEST(FontPage, ChoosingFamilySizeAndStyleIsAppliedAndUndone)
{
    const CString face = TrueTypeFace();
    EditFixture f;
    TextFont look;
    look.face = "No Such Face Here";
    CODComponentSet set;
    CODTextComponent* text = AddText(f, look);
    set.Add(text);
    FontSheet s(f, set, CODCompPropSheet::pageFont);
    // The face is not installed: the first family is shown and no face is reported yet.
    EXPECT_EQ(s.page->GetNameList().GetCurSel(), 0);
    s.Choose(s.page->GetStyleList(), 1);  // "Bold"
    ODPageRecord r;
    s.Report(r);
    EXPECT_TRUE(r.flags[2]);
    EXPECT_EQ(r.Number(2), 32);
    EXPECT_FALSE(r.flags[0]);
    EXPECT_STREQ(r.Text(0), "");

    CODFontNameListBox& names = s.page->GetNameList();
    s.Choose(names, names.FindStringExact(-1, face));
    CODFontSizeListBox& sizes = s.page->GetSizeList();
    s.Choose(sizes, sizes.FindStringExact(-1, "24"));
    ODPageRecord after;
    s.Report(after);
    EXPECT_TRUE(after.flags[0]);
    EXPECT_STREQ(after.Text(0), face);
    EXPECT_TRUE(after.flags[1]);
    EXPECT_EQ(after.Number(1), 24);
    LOGFONTA sample;
    s.page->GetSampleFont().GetLogFont(&sample);
    EXPECT_EQ(sample.lfHeight, ::MulDiv(-ScreenDpi(), 24, 72));

    const int before = f.model.GetHistory()->GetUndoCount();
    s.sheet.OnOK();
    EXPECT_EQ(f.model.GetHistory()->GetUndoCount(), before + 1);
    EXPECT_STREQ(FontOf(text).GetFaceName(), face);
    EXPECT_EQ(FontOf(text).GetPointSize(), 24);
    EXPECT_EQ(FontOf(text).GetWeight(), 700);
    f.Command(ID_EDIT_UNDO);
    EXPECT_STREQ(FontOf(text).GetFaceName(), "No Such Face Here");
    EXPECT_EQ(FontOf(text).GetPointSize(), 10);
    EXPECT_EQ(FontOf(text).GetWeight(), 400);
}

TEST(FontPage, AMixedSelectionShowsIndeterminateMembers)
{
    const CString face = TrueTypeFace();
    EditFixture f;
    TextFont plain, underlined;
    plain.face = face;
    underlined.face = face;
    underlined.underline = TRUE;
    underlined.points = 14;
    underlined.weight = 700;
    CODComponentSet set;
    CODTextComponent* a = AddText(f, plain, 100);
    CODTextComponent* b = AddText(f, underlined, 200);
    set.Add(a);
    set.Add(b);
    FontSheet s(f, set, CODCompPropSheet::pageFont);
    EXPECT_EQ(s.page->GetSizeList().GetCurSel(), LB_ERR);
    EXPECT_EQ(s.page->GetStyleList().GetCurSel(), LB_ERR);
    CButton* box = s.Box(CODFontCompPP::idUnderline);
    EXPECT_EQ(box->GetCheck(), BST_INDETERMINATE);
    box->SendMessage(BM_CLICK);
    EXPECT_NE(box->GetCheck(), BST_INDETERMINATE);
    EXPECT_EQ(box->GetButtonStyle() & 0x0F, (UINT)BS_AUTOCHECKBOX);
    ODPageRecord r;
    s.Report(r);
    EXPECT_TRUE(r.flags[4]);
    EXPECT_FALSE(r.flags[1] || r.flags[2] || r.flags[0]);
    const BOOL underline = box->GetCheck() == BST_CHECKED;
    s.sheet.OnOK();
    EXPECT_EQ(FontOf(a).GetUnderline(), underline);
    EXPECT_EQ(FontOf(b).GetUnderline(), underline);
    EXPECT_EQ(FontOf(a).GetPointSize(), 10);  // the sizes and weights stay each their own
    EXPECT_EQ(FontOf(b).GetPointSize(), 14);
    EXPECT_EQ(FontOf(b).GetWeight(), 700);
}

TEST(FontPage, ANotEditableRecordDisablesThePage)
{
    EditFixture f;
    TextFont look;
    look.face = TrueTypeFace();
    CODComponentSet set;
    set.Add(AddText(f, look));
    f.model.SetCanEditProperties(FALSE);
    FontSheet s(f, set, CODCompPropSheet::pageFont);
    ASSERT_TRUE(s.page->GetSafeHwnd());
    EXPECT_FALSE(s.page->IsWindowEnabled());
}
